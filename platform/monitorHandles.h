#pragma once
// Monitors over the platform's screens (platform::Screens()): which monitor holds
// a point or is nearest to a rectangle, and a monitor's bounds and work area.
// The choice follows the platform's rule: the monitor with the largest common
// area, else (when asked for the nearest) the one at the smallest distance, so a
// rectangle wholly off-screen still has a monitor. Plain C++.

#include <cstdint>

#include "platform/myBase.h"

namespace magna {

/// A monitor's handle; 0 is no monitor.
using HMONITOR = intptr_t;

/// The monitor information record as the platform lays it out (40 bytes).
struct TMonitorInfo {
  uint32_t cbSize = 0;  // must be 40 when asked
  TRect rcMonitor;
  TRect rcWork;
  uint32_t dwFlags = 0;
};
static_assert(sizeof(TMonitorInfo) == 40);

constexpr uint32_t MONITORINFOF_PRIMARY = 1;
constexpr uint32_t MONITOR_DEFAULTTONULL = 0;
constexpr uint32_t MONITOR_DEFAULTTOPRIMARY = 1;
constexpr uint32_t MONITOR_DEFAULTTONEAREST = 2;

namespace platform {

/// The monitor whose bounds hold the point (right and bottom edges outside), else by `flags`.
HMONITOR MonitorFromPoint(TPoint point, uint32_t flags);
/// The monitor sharing the largest area with the rectangle, else by `flags`.
HMONITOR MonitorFromRect(const TRect& rect, uint32_t flags);
/// Fills bounds, work area and the primary flag; false for an unknown handle or cbSize other
/// than 40.
bool GetMonitorInfo(HMONITOR monitor, TMonitorInfo& info);

}  // namespace platform

/// Clears the record; false for the handle 0, else the platform's answer for it.
bool ReadMonitorInfo(HMONITOR monitor, TMonitorInfo& info);
/// The monitor's work area; all zero when the handle is unknown.
TRect MonitorWorkArea(HMONITOR monitor);
/// The monitor nearest to the rectangle; 0 only when there is no monitor at all.
HMONITOR NearestMonitor(const TRect& rect);
/// The work area of the monitor nearest to the rectangle.
TRect NearestMonitorWorkArea(const TRect& rect);

}  // namespace magna
