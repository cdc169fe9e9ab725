// TMyMonitor, TMyScreen and the monitor under a point.
#include "platform/myMonitor.h"

#include <gtest/gtest.h>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

/// A task bar at the top of a primary monitor, a second monitor to its left.
class MyMonitorTest : public test::FakeServicesTest {
 protected:
  void SetUp() override {
    FakeServicesTest::SetUp();
    screens->List = {{5, {0, 0, 1920, 1080}, {0, 40, 1920, 1080}},
                     {9, {-1280, 56, 0, 1080}, {-1280, 56, 0, 1080}}};
  }
};

TEST_F(MyMonitorTest, MonitorCopiesBoundsAndWorkArea) {
  TMyMonitor primary(5);
  EXPECT_EQ(primary.Handle, 5);
  EXPECT_EQ(primary.BoundsRect, (TRect{0, 0, 1920, 1080}));
  EXPECT_EQ(primary.WorkareaRect, (TRect{0, 40, 1920, 1080}));

  for (HMONITOR unknown : {HMONITOR(0), HMONITOR(77)}) {
    SCOPED_TRACE(unknown);
    TMyMonitor none(unknown);
    EXPECT_EQ(none.BoundsRect, TRect{});
    EXPECT_EQ(none.WorkareaRect, TRect{});
  }
}

TEST_F(MyMonitorTest, ScreenListsEveryMonitorInThePlatformsOrder) {
  TMyScreen screen;
  ASSERT_EQ(screen.Count(), 2);
  EXPECT_EQ(screen.Monitors(0).Handle, 5);
  EXPECT_EQ(screen.Monitors(1).Handle, 9);
  EXPECT_EQ(screen.Monitors(1).BoundsRect, (TRect{-1280, 56, 0, 1080}));
  EXPECT_THROW(screen.Monitors(2), std::out_of_range);
}

TEST_F(MyMonitorTest, IndexFromPointWithEdgesOutside) {
  struct Row {
    const char* name;
    TPoint p;
    int32_t index;
  } rows[] = {
      {"primary origin", {0, 0}, 0},
      {"last pixel of the left monitor", {-1, 1079}, 1},
      {"left monitor's right edge is the primary", {0, 500}, 0},
      {"above the left monitor", {-100, 55}, -1},
      {"primary's right edge", {1920, 10}, -1},
      {"bottom edge", {10, 1080}, -1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(MonitorIndexFromPoint(r.p), r.index);
  }
}

TEST_F(MyMonitorTest, IndexFollowsAMonitorRemovedOrAdded) {
  EXPECT_EQ(MonitorIndexFromPoint({-10, 500}), 1);
  screens->List.pop_back();
  EXPECT_EQ(MonitorIndexFromPoint({-10, 500}), -1);
  EXPECT_EQ(ScreenMonitors().size(), 1u);
  screens->List.push_back({3, {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}});
  EXPECT_EQ(MonitorIndexFromPoint({1920, 0}), 1);
}

}  // namespace
}  // namespace magna
