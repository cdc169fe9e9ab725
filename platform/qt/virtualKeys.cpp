#include "platform/qt/virtualKeys.h"

#include <QKeyEvent>

#include <algorithm>
#include <iterator>

namespace magna::platform::qt {

namespace {

struct KeyPair {
  int qtKey;
  int vk;
};

// Keys with a code of their own; the first row of a code is the one QtKeyFromVirtualKey gives.
constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Kana_Shift, 0x15},
    {Qt::Key_Kanji, 0x19},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Henkan, 0x1C},
    {Qt::Key_Muhenkan, 0x1D},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},
    {Qt::Key_Printer, 0x2A},
    {Qt::Key_Execute, 0x2B},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Zenkaku_Hankaku, 0xF3},
    // US layout punctuation, unshifted then shifted.
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_yen, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Shifted digits of the US layout.
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
};

// The numeric keypad: digits 0x60..0x69, then these.
constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

int Lookup(const KeyPair* begin, const KeyPair* end, int qtKey) {
  const KeyPair* hit = std::find_if(begin, end, [&](const KeyPair& p) { return p.qtKey == qtKey; });
  return hit == end ? 0 : hit->vk;
}

}  // namespace

int VirtualKeyFromQtKey(int qtKey, bool keypad) {
  const bool digit = qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9;
  if (keypad) {
    if (digit) return 0x60 + (qtKey - Qt::Key_0);
    if (int vk = Lookup(std::begin(kKeypadKeys), std::end(kKeypadKeys), qtKey)) return vk;
  }
  if (digit || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) return qtKey;  // same codes
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  return Lookup(std::begin(kNamedKeys), std::end(kNamedKeys), qtKey);
}

int VirtualKeyOf(const QKeyEvent& event) {
  return VirtualKeyFromQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

int QtKeyFromVirtualKey(int vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
  if (vk >= 0x60 && vk <= 0x69) return Qt::Key_0 + (vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return Qt::Key_F1 + (vk - 0x70);
  for (const KeyPair& p : kKeypadKeys)
    if (p.vk == vk) return p.qtKey;
  for (const KeyPair& p : kNamedKeys)
    if (p.vk == vk) return p.qtKey;
  return 0;
}

int VirtualKeyFromMouseButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return VK_LBUTTON;
    case Qt::RightButton: return VK_RBUTTON;
    case Qt::MiddleButton: return VK_MBUTTON;
    case Qt::XButton1: return VK_XBUTTON1;
    case Qt::XButton2: return VK_XBUTTON2;
    default: return 0;
  }
}

}  // namespace magna::platform::qt
