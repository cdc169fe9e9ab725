#include <gtest/gtest.h>

#include "tests/support/testSupport.h"
#include "text/myUtils.h"

namespace magna {
namespace {

using test::W;

TEST(ParseInteger, ReadsLiteralsAndSloppyNumbers) {
  struct Case {
    const char* text;  // UTF-8 source of the wide text
    int64_t expected;
  };
  const Case cases[] = {
      {"123", 123},
      {"$1F", 31},
      {"0x1f", 31},
      {"x1F", 31},
      {" ４２ ", 42},          // full-width digits between blanks
      {"\t\r\n42\x01", 42},    // control characters trimmed too
      {"１，２３４円", 1234},  // full-width comma, then a kanji ends the number
      {"－５", -5},            // full-width minus
      {"1,000", 1000},
      {"+7", 7},
      {"- 5", 0},  // the sign is collected, the space ends the scan
      {"abc", 0xABC},
      {"12 34", 12},
      {"10KB", 10},
      {"12abc", 0x12ABC},
      {"-12abc", 0},  // "$-12ABC" is no literal
      {"-$FF", -255},
      {"$FFFFFFFFFFFFFFFF", -1},  // sixteen digits use all 64 bits
      {"$10000000000000000", 0},  // seventeen do not
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"9223372036854775808", 0},  // out of range as literal and as cleaned number
      {"1 000", 1},
      {"$", 0},
      {"0x", 0},
      {"10x20", 10},  // "X" after digits ends the scan
      {"", 0},
      {"   ", 0},
      {"円", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseInteger(W(c.text)), c.expected);
  }
}

TEST(EnsureRange, ClampsWithMinFirst) {
  EXPECT_EQ(EnsureRange(5, 8, 144), 8);
  EXPECT_EQ(EnsureRange(200, 8, 144), 144);
  EXPECT_EQ(EnsureRange(72, 8, 144), 72);
  EXPECT_EQ(EnsureRange(200, 7, 7), 7);
  EXPECT_EQ(EnsureRange(-200, 7, 7), 7);
  EXPECT_EQ(EnsureRange(5, 10, 0), 10);  // crossed bounds: below min gives min
  EXPECT_EQ(EnsureRange(12, 10, 0), 0);  // else above max gives max
  EXPECT_EQ(EnsureRange(int64_t{1} << 40, int64_t{0}, int64_t{1} << 33), int64_t{1} << 33);
  EXPECT_EQ(EnsureRange(INT64_MIN, int64_t{-1}, int64_t{1}), -1);
}

TEST(SplitLongToWords, SplitsWithSign) {
  int16_t high = 0, low = 0;
  SplitLongToWords(0x00040006, high, low);
  EXPECT_EQ(high, 4);
  EXPECT_EQ(low, 6);
  SplitLongToWords(-1, high, low);
  EXPECT_EQ(high, -1);
  EXPECT_EQ(low, -1);
  SplitLongToWords(static_cast<int32_t>(0x8000FFFEu), high, low);
  EXPECT_EQ(high, INT16_MIN);
  EXPECT_EQ(low, -2);
}

TEST(RectSize, RaisesOnOverflow) {
  EXPECT_EQ(RectWidth({10, 20, 410, 200}), 400);
  EXPECT_EQ(RectHeight({10, 20, 410, 200}), 180);
  EXPECT_EQ(RectWidth({10, 0, 0, 0}), -10);
  EXPECT_EQ(RectWidth({INT32_MIN + 1, 0, 0, 0}), INT32_MAX);
  EXPECT_THROW(RectWidth({INT32_MIN, 0, 0, 0}), EIntOverflow);
  EXPECT_THROW(RectHeight({0, -2, 0, INT32_MAX}), EIntOverflow);
  EXPECT_THROW(RectWidth({INT32_MAX, 0, INT32_MIN, 0}), EIntOverflow);
}

}  // namespace
}  // namespace magna
