#pragma once
// A settings target without a window: the layout's bounds, switches and font as
// plain fields, for the tests of the main window's settings.

#include <vector>

#include "app/session/mySettings.h"
#include "tests/settings/fakeBoundsWindow.h"
#include "tests/support/testSupport.h"

namespace magna::test {

struct FakeWindow : FakeBoundsWindow {
  FakeWindow() : FakeBoundsWindow(u"App_TOOLMagna", {100, 100, 612, 350}) {}
};

/// The layout's state: watching off, wrap on, "ＭＳ Ｐ明朝" at 72 points.
class FakeTarget : public TMainSettingsTarget {
 public:
  FakeTarget() {
    Font.SetName(W("ＭＳ Ｐ明朝"));
    Font.SetHeight(-96);
    Font.SetCharset(SHIFTJIS_CHARSET);
  }
  TBoundsWindow& Window() override { return Win; }
  bool CheckClipboard() const override { return Check; }
  void SetCheckClipboard(bool value) override { Check = value; }
  bool WordWrap() const override { return Wrap; }
  void SetWordWrap(bool value) override { Wrap = value; }
  const TFont& TextFont() const override { return Font; }
  void SetTextFont(const TFont& font) override { Font.Assign(font); }
  void ApplyWordWrap() override { AppliedWrap.push_back(Wrap); }

  FakeWindow Win;
  bool Check = false;
  bool Wrap = true;
  TFont Font;
  std::vector<bool> AppliedWrap;
};

}  // namespace magna::test
