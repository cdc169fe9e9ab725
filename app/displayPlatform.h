#pragma once
// Which Qt platform the program asks for. Clipboard watching needs X11: under a
// Wayland session a program sees clipboard changes only while it has the focus,
// so xcb (XWayland) is preferred whenever DISPLAY is set and the user has not
// chosen a platform. Without any display the program says so and stops, instead
// of letting Qt abort.

#include <functional>
#include <optional>
#include <string>

namespace magna {

struct TPlatformChoice {
  std::optional<std::string> Platform;  // the value for QT_QPA_PLATFORM, none to leave it
  bool DisplayAvailable = true;
};

/// Decides from the environment (`get` returns the variable's value, nullopt when unset).
TPlatformChoice ChooseQtPlatform(const std::function<std::optional<std::string>(const char*)>& get);

/// Applies the choice to this process's environment; false when there is no display.
bool PrepareQtPlatform();

}  // namespace magna
