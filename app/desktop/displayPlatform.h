#pragma once
// Which Qt platform the program asks for. Clipboard watching needs X11: under a
// Wayland session a program sees clipboard changes only while it has the focus,
// so xcb (XWayland) is preferred whenever DISPLAY is set and the user has not
// chosen a platform. Without any display, or with one that can't be reached, the
// program says so and stops, instead of letting Qt abort.

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

/// Whether the X server named by `display` (as in DISPLAY) takes a connection. An
/// accepted connection stays open until ReleaseDisplayTest.
bool XDisplayAccepts(const std::string& display);
/// Closes the connection of the last accepted test; call once Qt has its own.
void ReleaseDisplayTest();

/// With the X11 platform chosen (QT_QPA_PLATFORM "xcb"), whether DISPLAY's server
/// takes a connection: Qt would abort the program otherwise. Other platforms are
/// Qt's to open and answer true.
bool DisplayReachable(const std::function<std::optional<std::string>(const char*)>& get);
bool DisplayReachable();

/// What the program says, before it ends, when DISPLAY's server can't be reached.
std::string UnreachableDisplayMessage();

}  // namespace magna
