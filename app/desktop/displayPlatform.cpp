#include "app/desktop/displayPlatform.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace magna {

namespace {

bool IsSet(const std::optional<std::string>& value) {
  return value && !value->empty();
}

/// The connection of the last test that the server accepted, until released.
xcb_connection_t* heldConnection = nullptr;

std::optional<std::string> FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

TPlatformChoice ChooseQtPlatform(
    const std::function<std::optional<std::string>(const char*)>& get) {
  TPlatformChoice choice;
  if (IsSet(get("QT_QPA_PLATFORM"))) return choice;  // the user's choice stands
  if (IsSet(get("DISPLAY"))) {
    choice.Platform = "xcb";
    return choice;
  }
  choice.DisplayAvailable = IsSet(get("WAYLAND_DISPLAY"));
  return choice;
}

bool PrepareQtPlatform() {
  TPlatformChoice choice = ChooseQtPlatform(FromEnvironment);
  if (choice.Platform) setenv("QT_QPA_PLATFORM", choice.Platform->c_str(), 1);
  return choice.DisplayAvailable;
}

bool XDisplayAccepts(const std::string& display) {
  // The same connection Qt's xcb platform makes first.
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const bool accepted = xcb_connection_has_error(connection) == 0;
  if (!accepted) {
    xcb_disconnect(connection);
    return false;
  }
  // Kept until Qt has connected: a server with no other client (Xvfb) resets when
  // this one leaves and refuses the next connection while it does.
  ReleaseDisplayTest();
  heldConnection = connection;
  return true;
}

void ReleaseDisplayTest() {
  if (heldConnection) xcb_disconnect(heldConnection);
  heldConnection = nullptr;
}

bool DisplayReachable(const std::function<std::optional<std::string>(const char*)>& get) {
  if (get("QT_QPA_PLATFORM").value_or(std::string()) != "xcb") return true;
  return XDisplayAccepts(get("DISPLAY").value_or(std::string()));
}

bool DisplayReachable() {
  return DisplayReachable(FromEnvironment);
}

std::string UnreachableDisplayMessage() {
  return "Magna: the display \"" + FromEnvironment("DISPLAY").value_or(std::string()) +
         "\" could not be opened (no X server answers there, or it refused the "
         "connection).\n";
}

}  // namespace magna
