// Qt keys as virtual-key codes, both ways.
#include "platform/qt/virtualKeys.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace magna::platform::qt {
namespace {

TEST(VirtualKeys, CodesTheKeyHandlersTestFor) {
  struct Row {
    const char* name;
    int qtKey;
    bool keypad;
    int vk;
  } rows[] = {
      {"Tab", Qt::Key_Tab, false, 9},
      {"Shift+Tab", Qt::Key_Backtab, false, 9},
      {"Shift", Qt::Key_Shift, false, 16},
      {"Ctrl", Qt::Key_Control, false, 17},
      {"Alt", Qt::Key_Alt, false, 18},
      {"Up", Qt::Key_Up, false, 38},
      {"Down", Qt::Key_Down, false, 40},
      {"Left", Qt::Key_Left, false, 37},
      {"Return", Qt::Key_Return, false, 13},
      {"Enter", Qt::Key_Enter, true, 13},
      {"Escape", Qt::Key_Escape, false, 27},
      {"Space", Qt::Key_Space, false, 32},
      {"Delete", Qt::Key_Delete, false, 46},
      {"1", Qt::Key_1, false, 49},
      {"2", Qt::Key_2, false, 50},
      {"5", Qt::Key_5, false, 53},
      {"Shift+5 is the key 5", Qt::Key_Percent, false, 53},
      {"E", Qt::Key_E, false, 69},
      {"Z", Qt::Key_Z, false, 90},
      {"F1", Qt::Key_F1, false, 112},
      {"F24", Qt::Key_F24, false, 135},
      {"keypad 0", Qt::Key_0, true, 0x60},
      {"keypad 9", Qt::Key_9, true, 0x69},
      {"keypad +", Qt::Key_Plus, true, 0x6B},
      {"plus on the main keys", Qt::Key_Plus, false, 0xBB},
      {"minus", Qt::Key_Minus, false, 0xBD},
      {"keypad minus", Qt::Key_Minus, true, 0x6D},
      {"unknown", Qt::Key_unknown, false, 0},
      {"letter a with accent", Qt::Key_Agrave, false, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(VirtualKeyFromQtKey(r.qtKey, r.keypad), r.vk);
  }
}

TEST(VirtualKeys, KeyEventHonoursTheKeypadModifier) {
  QKeyEvent keypad(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier);
  QKeyEvent main(QEvent::KeyPress, Qt::Key_7, Qt::ControlModifier);
  EXPECT_EQ(VirtualKeyOf(keypad), 0x67);
  EXPECT_EQ(VirtualKeyOf(main), '7');
}

TEST(VirtualKeys, EveryCodeWithAKeyMapsBackToACodeOfItsOwn) {
  for (int vk = 1; vk < 256; ++vk) {
    const int qtKey = QtKeyFromVirtualKey(vk);
    if (qtKey == 0) continue;
    SCOPED_TRACE(vk);
    const bool keypad = vk >= 0x60 && vk <= 0x6F;
    EXPECT_EQ(VirtualKeyFromQtKey(qtKey, keypad), vk);
  }
}

}  // namespace
}  // namespace magna::platform::qt
