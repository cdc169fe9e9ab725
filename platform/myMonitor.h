#pragma once
// The monitors as objects: TMyMonitor (handle, bounds, work area) and TMyScreen,
// the list of every monitor in the platform's order, plus the monitor index under
// a point. The list is a snapshot taken when the TMyScreen is made; the index
// lookup always enumerates again, so it follows monitors added or removed.

#include <memory>
#include <vector>

#include "platform/monitorHandles.h"
#include "platform/services.h"

namespace magna {

class TMyMonitor : public TObject {
 public:
  /// Copies bounds and work area of the monitor; both all zero when it is unknown or 0.
  explicit TMyMonitor(HMONITOR handle);
  ~TMyMonitor() override;

  HMONITOR Handle = 0;  // 0 after destruction
  TRect BoundsRect;
  TRect WorkareaRect;
};

class TMyScreen : public TObject {
 public:
  /// Enumerates the monitors, one TMyMonitor each, in the platform's order.
  TMyScreen();
  /// Frees the monitors in list order.
  ~TMyScreen() override;

  int Count() const { return int(monitors_.size()); }
  /// The monitor at 0..Count-1; std::out_of_range for any other index.
  TMyMonitor& Monitors(int index) const { return *monitors_.at(size_t(index)); }

 private:
  std::vector<std::unique_ptr<TMyMonitor>> monitors_;
};

/// The process-wide monitor list; nullptr before InitializeMyScreen and after
/// FinalizeMyScreen. Nothing in the program reads it.
extern TMyScreen* MyScreen;
/// Makes MyScreen, enumerating the monitors, unless it exists already. Monitors are
/// known once the application object and its services exist: call it after them.
void InitializeMyScreen();
/// Frees MyScreen and sets it to nullptr; harmless when there is none.
void FinalizeMyScreen();

/// The process-wide list of monitors, as its last enumeration left it.
const std::vector<platform::MonitorInfo>& ScreenMonitors();
/// Enumerates the monitors again, so the list follows a changed configuration.
void RefreshMonitors();
/// The index in ScreenMonitors() of the monitor whose bounds hold the point
/// (right and bottom edges outside); -1 when none does.
int32_t MonitorIndexFromPoint(TPoint point);

}  // namespace magna
