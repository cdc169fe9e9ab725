// The process-wide monitor list and command line: made for one scope, made once,
// freed in the reverse order.
#include "app/desktop/myProcessObjects.h"

#include <gtest/gtest.h>

#include "platform/myMonitor.h"
#include "text/myParam.h"

namespace magna {
namespace {

TEST(TMyProcessObjects, MakeAndFreeTheMonitorListAndTheCommandLine) {
  TMyParam own;
  ASSERT_EQ(MyParam, nullptr);
  ASSERT_EQ(MyScreen, nullptr);
  {
    TMyProcessObjects objects;
    ASSERT_NE(MyParam, nullptr);
    ASSERT_NE(MyScreen, nullptr);
    EXPECT_EQ(MyParam->CommandLine, own.CommandLine);
    EXPECT_EQ(MyScreen->Count(), 1);
    TMyParam* made = MyParam;
    InitializeMyParam();  // made only when it does not exist yet
    EXPECT_EQ(MyParam, made);
  }
  EXPECT_EQ(MyParam, nullptr);
  EXPECT_EQ(MyScreen, nullptr);
}

}  // namespace
}  // namespace magna
