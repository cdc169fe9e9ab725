#include "app/desktop/myKeys.h"

#include "platform/services.h"

namespace magna {

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

/// The physical button the user means by the logical one.
int PhysicalKey(int key) {
  if (key != kLeftButton && key != kRightButton) return key;
  if (!platform::KeyState().MouseButtonsSwapped()) return key;
  return key == kLeftButton ? kRightButton : kLeftButton;
}

}  // namespace

bool IsKeyDown(int key) {
  return (platform::KeyState().GetAsyncKeyState(PhysicalKey(key)) & 0xFF00) != 0;
}

bool AreKeysDown(std::span<const int> keys) {
  for (int key : keys)
    if (!IsKeyDown(key)) return false;
  return true;
}

}  // namespace magna
