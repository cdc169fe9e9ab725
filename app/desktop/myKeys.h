#pragma once
// Key-down tests on the asynchronous key state: whether keys are held at this
// moment, not in the event being handled. Key codes are virtual-key codes
// (1 left button, 2 right button, 16 Shift, 17 Ctrl, 18 Alt, ...).

#include <initializer_list>
#include <span>

namespace magna {

/// Whether the key is held now; the left and right buttons follow a swap of the mouse buttons.
bool IsKeyDown(int key);
/// Whether every key is held, asked in list order up to the first key that is up.
bool AreKeysDown(std::span<const int> keys);
inline bool AreKeysDown(std::initializer_list<int> keys) {
  return AreKeysDown(std::span<const int>(keys.begin(), keys.size()));
}

}  // namespace magna
