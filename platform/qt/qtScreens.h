#pragma once
// The monitors as Qt sees them: a screen's geometry is the monitor's bounds, its
// available geometry the work area, both in Qt's device-independent pixels, the
// same coordinates the program's windows are placed in.

#include <QRect>

#include "platform/services.h"

class QScreen;

namespace magna::platform::qt {

/// Qt's inclusive rectangle as the platform's, whose right and bottom edges are outside.
TRect ToTRect(const QRect& r);
/// The platform's rectangle as Qt's inclusive one (an empty one stays empty).
QRect ToQRect(const TRect& r);
/// One screen as a monitor; the handle is the screen's identity while it is attached.
MonitorInfo MonitorOfScreen(const QScreen& screen);

class QtScreens : public ScreenService {
 public:
  /// The primary screen first, then the others in Qt's order.
  std::vector<MonitorInfo> Monitors() override;
  /// QCursor::pos(): the cursor in device-independent pixels.
  TPoint CursorPos() override;
};

}  // namespace magna::platform::qt
