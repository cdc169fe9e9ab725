// Monitors from points and rectangles, and their information records.
#include "platform/monitorHandles.h"

#include <gtest/gtest.h>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

using platform::MonitorFromPoint;
using platform::MonitorFromRect;

/// Two monitors side by side: 1920x1080 primary with the task bar at the bottom,
/// and 1280x1024 to its right with the task bar on its left.
class MonitorsTest : public test::FakeServicesTest {
 protected:
  void SetUp() override {
    FakeServicesTest::SetUp();
    screens->List = {{11, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                     {22, {1920, 0, 3200, 1024}, {1980, 0, 3200, 1024}}};
  }
};

TEST_F(MonitorsTest, PointBelongsToTheMonitorWhoseBoundsHoldIt) {
  struct Row {
    const char* name;
    TPoint p;
    HMONITOR null, nearest;
  } rows[] = {
      {"origin", {0, 0}, 11, 11},
      {"last pixel of the primary", {1919, 1079}, 11, 11},
      {"right edge of the primary is the second's", {1920, 500}, 22, 22},
      {"bottom edge of the primary", {100, 1080}, 0, 11},
      {"bottom edge of the second", {2000, 1024}, 0, 22},
      {"below the second, beside the primary", {2000, 1050}, 0, 22},
      {"far left", {-5000, 10}, 0, 11},
      {"far right", {9000, 10}, 0, 22},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(MonitorFromPoint(r.p, MONITOR_DEFAULTTONULL), r.null);
    EXPECT_EQ(MonitorFromPoint(r.p, MONITOR_DEFAULTTONEAREST), r.nearest);
    EXPECT_EQ(MonitorFromPoint(r.p, MONITOR_DEFAULTTOPRIMARY), r.null ? r.null : 11);
  }
}

TEST_F(MonitorsTest, RectangleGoesToTheLargestCommonAreaElseTheNearest) {
  struct Row {
    const char* name;
    TRect r;
    HMONITOR null, nearest;
  } rows[] = {
      {"mostly on the primary", {1000, 100, 2100, 500}, 11, 11},
      {"mostly on the second", {1800, 100, 2900, 500}, 22, 22},
      {"equal shares: the first in order", {1820, 0, 2020, 100}, 11, 11},
      {"wholly above the second", {2500, -900, 2700, -100}, 0, 22},
      {"wholly left of the primary", {-900, 300, -100, 400}, 0, 11},
      {"below both, closer to the primary", {100, 1500, 300, 1600}, 0, 11},
      {"below the second, nearer to its bottom than to the primary's",
       {2000, 1060, 2100, 1100},
       0,
       22},
      {"touching the primary's right edge from outside", {-100, 0, 0, 100}, 0, 11},
      {"empty rectangle inside the second", {2000, 10, 2000, 10}, 0, 22},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(MonitorFromRect(r.r, MONITOR_DEFAULTTONULL), r.null);
    EXPECT_EQ(MonitorFromRect(r.r, MONITOR_DEFAULTTONEAREST), r.nearest);
    EXPECT_EQ(NearestMonitor(r.r), r.nearest);
  }
}

TEST_F(MonitorsTest, NearestWorkAreaOfAnOffScreenRectangle) {
  EXPECT_EQ(NearestMonitorWorkArea({5000, 5000, 5100, 5100}), (TRect{1980, 0, 3200, 1024}));
  EXPECT_EQ(NearestMonitorWorkArea({-300, -300, -200, -200}), (TRect{0, 0, 1920, 1040}));
}

TEST_F(MonitorsTest, ReadMonitorInfo) {
  TMonitorInfo info;
  info.cbSize = 7;
  info.rcWork = {1, 2, 3, 4};
  EXPECT_FALSE(ReadMonitorInfo(0, info));
  EXPECT_EQ(info.cbSize, 0u);
  EXPECT_EQ(info.rcWork, TRect{});

  ASSERT_TRUE(ReadMonitorInfo(22, info));
  EXPECT_EQ(info.cbSize, 40u);
  EXPECT_EQ(info.rcMonitor, (TRect{1920, 0, 3200, 1024}));
  EXPECT_EQ(info.rcWork, (TRect{1980, 0, 3200, 1024}));
  EXPECT_EQ(info.dwFlags, 0u);
  ASSERT_TRUE(ReadMonitorInfo(11, info));
  EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);

  EXPECT_FALSE(ReadMonitorInfo(33, info)) << "unknown handle";
  EXPECT_EQ(info.rcMonitor, TRect{});
}

TEST_F(MonitorsTest, PlatformQueryInsistsOnTheRecordSize) {
  TMonitorInfo info;
  EXPECT_FALSE(platform::GetMonitorInfo(11, info));
  info.cbSize = 40;
  EXPECT_TRUE(platform::GetMonitorInfo(11, info));
}

TEST_F(MonitorsTest, RemovedMonitorLeavesItsRectanglesToTheNearestOne) {
  const TRect onSecond{2000, 100, 2600, 600};
  EXPECT_EQ(MonitorWorkArea(22), (TRect{1980, 0, 3200, 1024}));
  screens->List.pop_back();
  EXPECT_EQ(MonitorWorkArea(22), TRect{});
  EXPECT_EQ(NearestMonitorWorkArea(onSecond), (TRect{0, 0, 1920, 1040}));
}

TEST_F(MonitorsTest, NoMonitorAtAll) {
  screens->List.clear();
  EXPECT_EQ(NearestMonitor({0, 0, 10, 10}), 0);
  EXPECT_EQ(NearestMonitorWorkArea({0, 0, 10, 10}), TRect{});
  EXPECT_EQ(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), 0);
}

TEST_F(MonitorsTest, FarCoordinatesDoNotOverflow) {
  const TRect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  EXPECT_EQ(NearestMonitor(huge), 11);
  EXPECT_EQ(NearestMonitor({INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX}), 22);
  // Gaps of more than 2^31 on both axes: their squares overflowed 64 bits.
  EXPECT_EQ(NearestMonitor({INT32_MIN, INT32_MIN, INT32_MIN + 648, INT32_MIN + 648}), 11);
  EXPECT_EQ(NearestMonitor({INT32_MIN, INT32_MAX - 1, INT32_MIN + 1, INT32_MAX}), 11);
}

}  // namespace
}  // namespace magna
