#include "platform/monitorHandles.h"

#include <algorithm>
#include <vector>

#include "platform/services.h"

namespace magna {

namespace platform {

namespace {

/// Width times height of the common part; 0 when they don't overlap. Each side is
/// below 2^32, so the product fits unsigned 64 bits.
uint64_t CommonArea(const TRect& a, const TRect& b) {
  const int64_t w = int64_t(std::min(a.Right, b.Right)) - std::max(a.Left, b.Left);
  const int64_t h = int64_t(std::min(a.Bottom, b.Bottom)) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? uint64_t(w) * uint64_t(h) : 0;
}

/// Squared distance between the closest edges; 0 when they touch or overlap. The
/// gaps reach 2^33 between edges anywhere in the 32-bit range, and their squares
/// would overflow any integer type: a double orders them all the same.
double DistanceSquared(const TRect& a, const TRect& b) {
  const double dx =
      double(std::max<int64_t>({0, int64_t(b.Left) - a.Right, int64_t(a.Left) - b.Right}));
  const double dy =
      double(std::max<int64_t>({0, int64_t(b.Top) - a.Bottom, int64_t(a.Top) - b.Bottom}));
  return dx * dx + dy * dy;
}

/// The monitor a rectangle falls back to when it shares no area with any.
HMONITOR Fallback(const std::vector<MonitorInfo>& monitors, const TRect& rect, uint32_t flags) {
  if (monitors.empty()) return 0;
  if (flags == MONITOR_DEFAULTTOPRIMARY) return monitors.front().Handle;
  if (flags != MONITOR_DEFAULTTONEAREST) return 0;
  auto nearest = std::min_element(monitors.begin(), monitors.end(), [&](auto& a, auto& b) {
    return DistanceSquared(rect, a.Bounds) < DistanceSquared(rect, b.Bounds);
  });
  return nearest->Handle;
}

}  // namespace

HMONITOR MonitorFromRect(const TRect& rect, uint32_t flags) {
  const std::vector<MonitorInfo> monitors = Screens().Monitors();
  HMONITOR best = 0;
  uint64_t bestArea = 0;
  for (const MonitorInfo& m : monitors) {
    const uint64_t area = CommonArea(rect, m.Bounds);
    if (area > bestArea) {
      bestArea = area;
      best = m.Handle;
    }
  }
  return best ? best : Fallback(monitors, rect, flags);
}

HMONITOR MonitorFromPoint(TPoint point, uint32_t flags) {
  // The point as its one pixel: inside a monitor exactly when the pixel is.
  const TRect pixel{point.X, point.Y, point.X + 1, point.Y + 1};
  return MonitorFromRect(pixel, flags);
}

bool GetMonitorInfo(HMONITOR monitor, TMonitorInfo& info) {
  if (info.cbSize != sizeof(TMonitorInfo) || monitor == 0) return false;
  const std::vector<MonitorInfo> monitors = Screens().Monitors();
  for (size_t i = 0; i < monitors.size(); ++i) {
    if (monitors[i].Handle != monitor) continue;
    info.rcMonitor = monitors[i].Bounds;
    info.rcWork = monitors[i].WorkArea;
    info.dwFlags = i == 0 ? MONITORINFOF_PRIMARY : 0;
    return true;
  }
  return false;
}

}  // namespace platform

bool ReadMonitorInfo(HMONITOR monitor, TMonitorInfo& info) {
  info = TMonitorInfo{};
  if (monitor == 0) return false;
  info.cbSize = sizeof(TMonitorInfo);
  return platform::GetMonitorInfo(monitor, info);
}

TRect MonitorWorkArea(HMONITOR monitor) {
  TMonitorInfo info;
  ReadMonitorInfo(monitor, info);
  return info.rcWork;
}

HMONITOR NearestMonitor(const TRect& rect) {
  return platform::MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST);
}

TRect NearestMonitorWorkArea(const TRect& rect) {
  return MonitorWorkArea(NearestMonitor(rect));
}

}  // namespace magna
