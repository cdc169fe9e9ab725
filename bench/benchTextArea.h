#pragma once
// The text area as the main window has it, for the editor benchmarks: 1000 x 700 pixels,
// no border, 72-point Noto Sans CJK JP.

#include <QWidget>

#include "editor/myEdit.h"

namespace magna::bench {

/// A text area filling `window` (resized to 1000 x 700); the window owns it.
inline TMyMemo* PlaceTextArea(QWidget& window) {
  window.resize(1000, 700);
  auto* memo = new TMyMemo(&window);
  memo->setGeometry(0, 0, 1000, 700);
  memo->SetBorderStyle(bsNone);
  memo->Font()->SetName(u"Noto Sans CJK JP");
  memo->Font()->SetSize(72);
  return memo;
}

}  // namespace magna::bench
