#pragma once
// The asynchronous key state under Qt. Shift, Ctrl and Alt are asked of the
// window system at the moment of the call (QGuiApplication::queryKeyboardModifiers),
// mouse buttons come from Qt's current button state, and every other key from a
// tracker that watches all key events of the application. Keys pressed while
// another application had the focus are not seen; all tracked keys count as
// released when the application loses the focus.

#include <memory>
#include <set>

#include "platform/services.h"

class QObject;

namespace magna::platform::qt {

/// Virtual-key codes held now, as seen in this application's key events.
class KeyTracker {
 public:
  KeyTracker();  // installs an application-wide event filter; needs the QCoreApplication
  ~KeyTracker();
  bool IsHeld(int virtualKey) const { return held_.count(virtualKey) != 0; }

 private:
  class Filter;
  std::set<int> held_;
  std::unique_ptr<Filter> filter_;
};

class QtKeyState : public KeyStateService {
 public:
  uint16_t GetAsyncKeyState(int virtualKey) override;
  /// Qt mirrors swapped buttons itself: its left button is always the primary one.
  bool MouseButtonsSwapped() override { return false; }

 private:
  KeyTracker tracker_;
};

}  // namespace magna::platform::qt
