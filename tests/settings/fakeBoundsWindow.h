#pragma once
// A window that is only a name and bounds, for the settings tests.

#include <utility>

#include "settings/myBoundsWindow.h"

namespace magna::test {

class FakeBoundsWindow : public TBoundsWindow {
 public:
  FakeBoundsWindow(WideString name, TRect bounds) : name_(std::move(name)), Bounds(bounds) {}
  WideString ComponentName() const override { return name_; }
  TRect BoundsRect() const override { return Bounds; }
  void SetBounds(int left, int top, int width, int height) override {
    Bounds = TRect{left, top, left + width, top + height};
  }

 private:
  WideString name_;

 public:
  TRect Bounds;
};

}  // namespace magna::test
