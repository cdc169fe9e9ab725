#pragma once
// A top-level QWidget as the settings file's window: its object name is the
// component name; its bounds are the frame's top-left corner and the client
// area's size. The window system adds its frame only after the window is first
// shown, so bounds with the frame's size would make the window grow by the frame
// at every start; this form comes back unchanged through a save and a restore.

#include <QWidget>

#include "settings/myBoundsWindow.h"

namespace magna {

class TQtBoundsWindow : public TBoundsWindow {
 public:
  explicit TQtBoundsWindow(QWidget& window) : window_(window) {}

  WideString ComponentName() const override;
  TRect BoundsRect() const override;
  /// Moves the frame to (left, top) and sizes the client area (at least 1 x 1).
  void SetBounds(int left, int top, int width, int height) override;

 private:
  QWidget& window_;
};

}  // namespace magna
