// TMyIniFile's entry groups: a window's bounds fitted into a monitor's work area,
// and a font, each through a real file where the bytes matter.
#include <gmock/gmock.h>

#include "settings/myIniFile.h"
#include "tests/settings/fakeBoundsWindow.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::Hex;
using test::W;

/// The window "Win" of these tests.
struct FakeWindow : test::FakeBoundsWindow {
  explicit FakeWindow(TRect bounds) : FakeBoundsWindow(u"Win", bounds) {}
};

std::string Str(const TRect& r) {
  return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
         std::to_string(r.Right) + "," + std::to_string(r.Bottom) + ")";
}

class IniEntriesTest : public test::FakeServicesTest {
 protected:
  test::TempDir dir;
  WideString Name() const { return dir.Wide("settings.ini"); }
  void Put(const std::string& text) { test::WriteBytes(dir / "settings.ini", text); }
  std::string Bytes() const { return test::ReadBytes(dir / "settings.ini"); }
  /// Two 1920 x 1080 monitors side by side; the left one has its task bar at the
  /// top (40 pixels), the right one at its left edge (60 pixels).
  void TwoMonitors() {
    screens->List = {{1, {0, 0, 1920, 1080}, {0, 40, 1920, 1080}},
                     {2, {1920, 0, 3840, 1080}, {1980, 0, 3840, 1080}}};
  }
  TRect Restored(const std::string& stored, TRect current = {100, 100, 600, 400}) {
    Put(stored);
    FakeWindow window(current);
    TMyIniFile ini(Name(), cdAuto);
    ini.RestoreBounds(window);
    return window.BoundsRect();
  }
};

std::string BoundsFile(int l, int t, int r, int b) {
  return "[Bounds]\r\nWin_Left=" + std::to_string(l) + "\r\nWin_Top=" + std::to_string(t) +
         "\r\nWin_Right=" + std::to_string(r) + "\r\nWin_Bottom=" + std::to_string(b) + "\r\n";
}

TEST_F(IniEntriesTest, BoundsAreMovedIntoTheNearestWorkAreaNeverResized) {
  TwoMonitors();
  struct Case {
    const char* name;
    TRect stored;
    TRect expected;
  } cases[] = {
      {"inside the left work area", {100, 100, 600, 400}, {100, 100, 600, 400}},
      {"under the top task bar", {100, 0, 600, 300}, {100, 40, 600, 340}},
      {"behind the right monitor's left task bar", {1930, 10, 2430, 310}, {1980, 10, 2480, 310}},
      {"mostly on the right monitor", {1800, 10, 2300, 310}, {1980, 10, 2480, 310}},
      {"mostly on the left monitor", {1500, 10, 2000, 310}, {1420, 40, 1920, 340}},
      {"on a third monitor that is gone", {4000, 200, 4500, 500}, {3340, 200, 3840, 500}},
      {"far above everything", {500, -5000, 900, -4700}, {500, 40, 900, 340}},
      {"wider than the work area", {300, 100, 2300, 400}, {0, 100, 2000, 400}},
      {"exactly as wide as the work area", {10, 100, 1930, 400}, {0, 100, 1920, 400}},
      {"higher than the work area", {100, 500, 600, 2000}, {100, 40, 600, 1540}},
      {"edges at the 32-bit limits", {INT32_MAX - 500, 0, INT32_MAX, 300}, {3340, 0, 3840, 300}},
      {"the largest window there can be", {5, 6, 5 + 32767, 306}, {1980, 6, 1980 + 32767, 306}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TRect& s = c.stored;
    EXPECT_EQ(Str(Restored(BoundsFile(s.Left, s.Top, s.Right, s.Bottom))), Str(c.expected));
  }
}

TEST_F(IniEntriesTest, MissingBoundsKeepTheCurrentOnesMovedOntoAMonitor) {
  TwoMonitors();
  EXPECT_EQ(Str(Restored("", {100, 100, 600, 400})), Str({100, 100, 600, 400}));
  EXPECT_EQ(Str(Restored("", {-300, 0, 200, 300})), Str({0, 40, 500, 340}));
  // Each edge defaults on its own: only the left edge is stored.
  EXPECT_EQ(Str(Restored("[Bounds]\r\nWin_Left=50\r\n", {100, 100, 600, 400})),
            Str({50, 100, 600, 400}));
}

TEST_F(IniEntriesTest, BadStoredBoundsGiveWayToTheCurrentOnes) {
  TwoMonitors();
  const TRect current{100, 100, 600, 400};
  struct Case {
    const char* name;
    std::string file;
    TRect expected;
    const char* warning = nullptr;  // the entry the log names
  } cases[] = {
      {"right edge left of the left edge", BoundsFile(500, 100, 100, 400), current},
      {"no height", BoundsFile(100, 100, 600, 100), current},
      {"wider than any window", BoundsFile(0, 100, 32768, 400), current},
      {"the whole 32-bit range", BoundsFile(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), current},
      {"a number beyond 32 bits takes that edge's default",
       "[Bounds]\r\nWin_Left=99999999999\r\nWin_Top=200\r\n",
       {100, 200, 600, 400},
       "'Bounds/Win_Left' failed"},
      {"text that is no number reads as 0", "[Bounds]\r\nWin_Left=none\r\n", {0, 100, 600, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Str(Restored(c.file, current)), Str(c.expected));
    if (c.warning) ExpectWarning(platform::kLogSettings, c.warning);
  }
}

TEST_F(IniEntriesTest, WithoutAnyMonitorTheStoredBoundsStay) {
  screens->List.clear();
  EXPECT_EQ(Str(Restored(BoundsFile(-50, -60, 450, 240))), Str({-50, -60, 450, 240}));
}

TEST_F(IniEntriesTest, WrittenGroupsHaveTheirKeysInOrder) {
  {
    TMyIniFile ini(Name(), cdAuto);
    ini.WriteBounds(FakeWindow({-10, 20, 500, 270}));
    TFont font;
    font.SetName(W("ＭＳ Ｐ明朝"));
    font.SetSize(72);
    font.SetColor(clWindowText);
    font.SetStyle(fsItalic | fsStrikeOut);
    font.SetCharset(SHIFTJIS_CHARSET);
    ini.WriteFont(u"Text", u"Font", font);
  }
  // "ＭＳ Ｐ明朝" in Shift_JIS: 82 6C 82 72 20 82 6F 96 BE 92 A9
  const std::string expected =
      "[Bounds]\r\nWin_Left=-10\r\nWin_Top=20\r\nWin_Right=500\r\nWin_Bottom=270\r\n\r\n"
      "[Text]\r\nFont_FontName=\x82\x6C\x82\x72 \x82\x6F\x96\xBE\x92\xA9\r\n"
      "Font_FontSize=72\r\nFont_FontColor=-2147483640\r\nFont_FontStyleBold=0\r\n"
      "Font_FontStyleItalic=1\r\nFont_FontStyleUnderLine=0\r\nFont_FontStyleStrikeOut=1\r\n"
      "Font_FontCharset=128\r\n\r\n";
  EXPECT_EQ(Hex(Bytes()), Hex(expected));
}

TEST_F(IniEntriesTest, AFontComesBackAsItWasWritten) {
  TFont written;
  written.SetName(W("游明朝 Demibold"));
  written.SetSize(100);
  written.SetColor(0x123456);
  written.SetStyle(fsBold | fsUnderline);
  written.SetCharset(0);
  { TMyIniFile(Name(), cdAuto).WriteFont(u"Text", u"Font", written); }
  TFont read;
  TMyIniFile(Name(), cdAuto).ReadFont(u"Text", u"Font", read);
  EXPECT_TRUE(read == written);
}

TEST_F(IniEntriesTest, MissingOrBadFontEntriesKeepTheFontsAttribute) {
  TFont base;
  base.SetName(u"Base");
  base.SetSize(72);
  base.SetColor(clRed);
  base.SetCharset(SHIFTJIS_CHARSET);
  struct Case {
    const char* name;
    std::string entries;
    TFontStyles styleBefore;
    WideString face;
    int size;
    TColor color;
    TFontStyles style;
    int charset;
    const char* warning = nullptr;  // the entry the log names
  } cases[] = {
      {"no entries", "", fsItalic, u"Base", 72, clRed, fsItalic, 128},
      {"italic missing keeps italic on",
       "Font_FontStyleBold=1\r\nFont_FontStyleUnderLine=1\r\nFont_FontStyleStrikeOut=0\r\n",
       fsItalic | fsStrikeOut, u"Base", 72, clRed, fsBold | fsItalic | fsUnderline, 128},
      {"italic missing keeps italic off", "Font_FontStyleBold=0\r\n", fsBold, u"Base", 72, clRed, 0,
       128},
      {"empty name", "Font_FontName=\r\n", 0, u"Base", 72, clRed, 0, 128},
      {"name of 31 characters", "Font_FontName=" + std::string(31, 'n') + "\r\n", 0,
       WideString(31, u'n'), 72, clRed, 0, 128},
      // Regression: a name of this length made the first font lookup take seconds.
      {"name of 200,000 characters cut as the platform does",
       "Font_FontName=" + std::string(200000, 'n') + "\r\n", 0, WideString(31, u'n'), 72, clRed, 0,
       128},
      {"charset 300", "Font_FontCharset=300\r\n", 0, u"Base", 72, clRed, 0, 255},
      {"charset -1", "Font_FontCharset=-1\r\n", 0, u"Base", 72, clRed, 0, 0},
      {"charset beyond 32 bits", "Font_FontCharset=4294967296\r\n", 0, u"Base", 72, clRed, 0, 128,
       "'Text/Font_FontCharset' failed"},
      {"size 0", "Font_FontSize=0\r\nFont_FontName=Other\r\n", 0, u"Other", 72, clRed, 0, 128},
      {"size -12", "Font_FontSize=-12\r\n", 0, u"Base", 72, clRed, 0, 128},
      {"size beyond any font", "Font_FontSize=100000\r\n", 0, u"Base", 72, clRed, 0, 128},
      {"largest size", "Font_FontSize=1638\r\n", 0, u"Base", 1638, clRed, 0, 128},
      {"system colour", "Font_FontColor=-2147483640\r\n", 0, u"Base", 72, clWindowText, 0, 128},
      {"colour beyond 32 bits", "Font_FontColor=2147483648\r\nFont_FontStyleBold=1\r\n", 0, u"Base",
       72, clRed, fsBold, 128, "'Text/Font_FontColor' failed"},
      {"bold beyond 32 bits", "Font_FontStyleBold=99999999999\r\n", fsBold, u"Base", 72, clRed,
       fsBold, 128, "'Text/Font_FontStyleBold' failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put("[Text]\r\n" + c.entries);
    TFont font(base);
    font.SetStyle(c.styleBefore);
    TMyIniFile(Name(), cdAuto).ReadFont(u"Text", u"Font", font);
    EXPECT_EQ(test::U8(font.Name()), test::U8(c.face));
    EXPECT_EQ(font.Size(), c.size);
    EXPECT_EQ(font.Color(), c.color);
    EXPECT_EQ(font.Style(), c.style);
    EXPECT_EQ(font.Charset(), c.charset);
    if (c.warning) ExpectWarning(platform::kLogSettings, c.warning);
  }
}

TEST_F(IniEntriesTest, ACutFaceNameKeepsItsLastCharacterWhole) {
  // UTF-8 with a signature: 30 letters, then U+20BB7 (a surrogate pair) across the cut.
  Put("\xEF\xBB\xBF[Text]\r\nFont_FontName=" + std::string(30, 'n') + "\xF0\xA0\xAE\xB7x\r\n");
  TFont font;
  TMyIniFile(Name(), cdAuto).ReadFont(u"Text", u"Font", font);
  EXPECT_EQ(test::U8(font.Name()), std::string(30, 'n'));
}

}  // namespace
}  // namespace magna
