#include "platform/myMonitor.h"

#include "platform/services.h"

namespace magna {

TMyMonitor::TMyMonitor(HMONITOR handle) : Handle(handle) {
  TMonitorInfo info;
  ReadMonitorInfo(handle, info);
  BoundsRect = info.rcMonitor;
  WorkareaRect = info.rcWork;
}

TMyMonitor::~TMyMonitor() {
  Handle = 0;
}

TMyScreen::TMyScreen() {
  for (const platform::MonitorInfo& m : platform::Screens().Monitors())
    monitors_.push_back(std::make_unique<TMyMonitor>(m.Handle));
}

TMyScreen::~TMyScreen() {
  for (auto& monitor : monitors_) monitor.reset();
  monitors_.clear();
}

TMyScreen* MyScreen = nullptr;

void InitializeMyScreen() {
  if (!MyScreen) MyScreen = new TMyScreen();
}

void FinalizeMyScreen() {
  delete MyScreen;
  MyScreen = nullptr;
}

namespace {

std::vector<platform::MonitorInfo>& MonitorList() {
  static std::vector<platform::MonitorInfo> list;
  return list;
}

bool Holds(const TRect& r, TPoint p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

}  // namespace

const std::vector<platform::MonitorInfo>& ScreenMonitors() {
  return MonitorList();
}

void RefreshMonitors() {
  MonitorList() = platform::Screens().Monitors();
}

int32_t MonitorIndexFromPoint(TPoint point) {
  RefreshMonitors();
  const auto& monitors = ScreenMonitors();
  for (size_t i = 0; i < monitors.size(); ++i)
    if (Holds(monitors[i].Bounds, point)) return int32_t(i);
  return -1;
}

}  // namespace magna
