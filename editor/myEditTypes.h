#pragma once
// The small types that the editor control and its users share:
// scroll bars, shift state, mouse buttons, event shapes (alignment and border
// style come from platform/myControlTypes.h).

#include <cstdint>
#include <functional>

#include "platform/myBase.h"
#include "platform/myControlTypes.h"

namespace magna {

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

/// Members of a shift state (a set): modifier keys and mouse buttons held.
enum TShiftStateFlag : uint16_t {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
  ssDouble = 0x40,
};
using TShiftState = uint16_t;
inline bool InShift(TShiftState state, TShiftStateFlag flag) {
  return (state & flag) != 0;
}

using TNotifyEvent = std::function<void(TObject* Sender)>;
/// Key is in/out: 0 discards the key.
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
/// Key is in/out: one UTF-16 code unit; 0 discards the character.
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
/// Handled is out: true stops the text area's own scrolling.
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
/// Scroll events of the editor: ScrollPos is the thumb position.
using TMyVScrollEvent = std::function<void(TObject* Sender, int32_t ScrollPos)>;

}  // namespace magna
