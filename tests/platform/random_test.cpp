// The process's pseudo-random generator.
#include "platform/random.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace magna::platform {
namespace {

std::vector<int32_t> Draw(int count, int32_t range) {
  std::vector<int32_t> values;
  for (int i = 0; i < count; ++i) values.push_back(Random(range));
  return values;
}

TEST(Random, StaysInRangeAndReachesEveryValue) {
  RandomStart(1);
  std::set<int32_t> seen;
  for (int32_t value : Draw(2000, 7)) {
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 7);
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 7u);
  EXPECT_EQ(Random(1), 0);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
}

TEST(Random, SameSeedSameSequenceAndTheClockMovesIt) {
  RandomStart(42);
  const std::vector<int32_t> first = Draw(50, 1000000);
  RandomStart(42);
  EXPECT_EQ(Draw(50, 1000000), first);
  Randomize();
  EXPECT_NE(Draw(50, 1000000), first);
}

}  // namespace
}  // namespace magna::platform
