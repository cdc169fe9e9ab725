#include "app/displayPlatform.h"

#include <cstdlib>

namespace magna {

namespace {

bool IsSet(const std::optional<std::string>& value) {
  return value && !value->empty();
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
  TPlatformChoice choice = ChooseQtPlatform([](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  });
  if (choice.Platform) setenv("QT_QPA_PLATFORM", choice.Platform->c_str(), 1);
  return choice.DisplayAvailable;
}

}  // namespace magna
