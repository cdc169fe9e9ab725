#pragma once
// Qt keys and mouse buttons as the platform's virtual-key codes (VK_SHIFT 16,
// VK_CONTROL 17, VK_UP 38, 'A' 65, VK_F1 112, ...), the codes the program's key
// handlers and the key state speak. Punctuation follows the US layout, whose
// shifted characters map to the key that types them ('!' is the key '1').

#include <Qt>

class QKeyEvent;

namespace magna::platform::qt {

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_XBUTTON1 = 0x05;
constexpr int VK_XBUTTON2 = 0x06;
constexpr int VK_TAB = 0x09;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;  // Alt
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;

/// The virtual-key code of a Qt key; `keypad` picks the numeric keypad codes. 0 when none.
int VirtualKeyFromQtKey(int qtKey, bool keypad = false);
/// The virtual-key code of a key event (its key, the keypad modifier honoured). 0 when none.
int VirtualKeyOf(const QKeyEvent& event);
/// The Qt key that produces a virtual-key code (keypad codes give the plain key). 0 when none.
int QtKeyFromVirtualKey(int virtualKey);
/// The virtual-key code of one mouse button, 0 when it has none.
int VirtualKeyFromMouseButton(Qt::MouseButton button);

}  // namespace magna::platform::qt
