#pragma once
// TBoundsWindow: what the settings file needs of a window to keep its bounds: a
// component name (the key prefix) and its bounds in screen pixels. The GUI layer
// adapts its windows to it, so the settings stay free of any toolkit.

#include "platform/myBase.h"

namespace magna {

class TBoundsWindow {
 public:
  virtual ~TBoundsWindow() = default;
  /// The name the window's entries are stored under.
  virtual WideString ComponentName() const = 0;
  /// The window's outer bounds in screen pixels (right and bottom outside).
  virtual TRect BoundsRect() const = 0;
  /// Moves and sizes the window's outer bounds.
  virtual void SetBounds(int left, int top, int width, int height) = 0;
};

}  // namespace magna
