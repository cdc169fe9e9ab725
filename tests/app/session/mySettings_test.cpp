// The main window's settings: what is loaded and saved, Shift+Ctrl skipping
// either, bad stored values costing only their own entry, and a real window
// coming back as it was closed.
#include "app/session/mySettings.h"

#include <gmock/gmock.h>

#include <QWindow>

#include "settings/myIniFile.h"
#include "tests/app/session/fakeSettingsTarget.h"
#include "tests/app/window/mainFixture.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::Hex;
using test::W;

using test::FakeTarget;

/// The layout's switches, font and bounds, and the wrap applied once.
void ExpectLayout(const FakeTarget& target) {
  const FakeTarget layout;
  EXPECT_FALSE(target.Check);
  EXPECT_TRUE(target.Wrap);
  EXPECT_TRUE(target.Font == layout.Font);
  EXPECT_EQ(target.Win.Bounds, layout.Win.Bounds);
  EXPECT_THAT(target.AppliedWrap, ::testing::ElementsAre(true));
}

class MySettingsTest : public test::FakeServicesTest {
 protected:
  test::TempDir dir;
  WideString File() const { return dir.Wide("magna.ini"); }
  bool Exists() const { return std::filesystem::exists(dir / "magna.ini"); }
  void Put(const std::string& text) { test::WriteBytes(dir / "magna.ini", text); }
  std::string Bytes() const { return test::ReadBytes(dir / "magna.ini"); }
  void HoldShiftCtrl() { keys->Held = {16, 17}; }
};

// The file a changed window writes ("ＭＳ ゴシック" in Shift_JIS).
const std::string kSaved =
    "[Bounds]\r\nApp_TOOLMagna_Left=30\r\nApp_TOOLMagna_Top=60\r\nApp_TOOLMagna_Right=830\r\n"
    "App_TOOLMagna_Bottom=460\r\n\r\n"
    "[Text]\r\nCheckClipboard=1\r\nWordWarp=0\r\n"
    "Font_FontName=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
    "Font_FontSize=20\r\nFont_FontColor=255\r\nFont_FontStyleBold=1\r\n"
    "Font_FontStyleItalic=0\r\nFont_FontStyleUnderLine=0\r\nFont_FontStyleStrikeOut=0\r\n"
    "Font_FontCharset=128\r\n\r\n";

void Change(FakeTarget& t) {
  t.Win.Bounds = {30, 60, 830, 460};
  t.Check = true;
  t.Wrap = false;
  t.Font.SetName(W("ＭＳ ゴシック"));
  t.Font.SetSize(20);
  t.Font.SetColor(clRed);
  t.Font.SetStyle(fsBold);
}

TEST_F(MySettingsTest, FirstStartWithoutAFileKeepsTheLayoutAndWritesNothing) {
  FakeTarget target;
  LoadSettings(target, File());
  ExpectLayout(target);
  EXPECT_FALSE(Exists());
}

TEST_F(MySettingsTest, SavedEntriesAreWrittenAsTheFileFormatSaysAndComeBack) {
  FakeTarget before;
  Change(before);
  SaveSettings(before, File());
  EXPECT_EQ(Hex(Bytes()), Hex(kSaved));

  FakeTarget after;
  LoadSettings(after, File());
  EXPECT_EQ(after.Win.Bounds, before.Win.Bounds);
  EXPECT_TRUE(after.Check);
  EXPECT_FALSE(after.Wrap);
  EXPECT_TRUE(after.Font == before.Font);
  EXPECT_THAT(after.AppliedWrap, ::testing::ElementsAre(false));
}

TEST_F(MySettingsTest, ShiftAndCtrlHeldSkipTheLoadButTheWrapIsStillApplied) {
  Put(kSaved);
  HoldShiftCtrl();
  FakeTarget target;
  LoadSettings(target, File());
  ExpectLayout(target);
  EXPECT_EQ(Bytes(), kSaved);
}

TEST_F(MySettingsTest, ShiftAndCtrlHeldSkipTheSaveAndLeaveTheFileAsItWas) {
  const std::string old = "[Text]\r\nWordWarp=1\r\n";
  Put(old);
  HoldShiftCtrl();
  FakeTarget target;
  Change(target);
  SaveSettings(target, File());
  EXPECT_EQ(Bytes(), old);
  // One of the two keys alone is no request to skip.
  keys->Held = {17};
  SaveSettings(target, File());
  EXPECT_THAT(Bytes(), ::testing::HasSubstr("[Text]\r\nWordWarp=0\r\nCheckClipboard=1\r\n"));
}

TEST_F(MySettingsTest, WordWarpWithoutAFontGroupKeepsTheLayoutsFont) {
  // Only the key spelled "WordWarp" is read; "WordWrap" is someone else's.
  Put("[Text]\r\nWordWarp=0\r\nWordWrap=1\r\n");
  FakeTarget target;
  LoadSettings(target, File());
  EXPECT_FALSE(target.Wrap);
  EXPECT_TRUE(target.Font == FakeTarget().Font);
  EXPECT_THAT(target.AppliedWrap, ::testing::ElementsAre(false));
}

TEST_F(MySettingsTest, BadValuesTakeTheirDefaultsWhileTheRestLoads) {
  Put("[Bounds]\r\nApp_TOOLMagna_Left=99999999999\r\nApp_TOOLMagna_Top=70\r\n"
      "App_TOOLMagna_Right=-5\r\n"
      "[Text]\r\nCheckClipboard=99999999999\r\nWordWarp=0\r\n"
      "Font_FontName=Other\r\nFont_FontSize=0\r\nFont_FontColor=12345678901\r\n"
      "Font_FontStyleItalic=1\r\nFont_FontCharset=300\r\n");
  FakeTarget target;
  LoadSettings(target, File());
  for (const char* entry : {"'Bounds/App_TOOLMagna_Left' failed", "'Text/CheckClipboard' failed",
                            "'Text/Font_FontColor' failed"})
    ExpectWarning(platform::kLogSettings, entry);
  // A right edge left of the left one leaves no window: the current bounds stay.
  EXPECT_EQ(target.Win.Bounds, FakeTarget().Win.Bounds);
  EXPECT_FALSE(target.Check);
  EXPECT_FALSE(target.Wrap);
  EXPECT_EQ(test::U8(target.Font.Name()), "Other");
  EXPECT_EQ(target.Font.Size(), 72);
  EXPECT_EQ(target.Font.Color(), clWindowText);
  EXPECT_EQ(target.Font.Style(), fsItalic);
  EXPECT_EQ(target.Font.Charset(), 255);
}

TEST_F(MySettingsTest, AnUnwritableFileIsNoFailureOfTheSave) {
  FakeTarget target;
  SaveSettings(target, dir.Wide("missing/folder/magna.ini"));
  ExpectWarning(platform::kLogText, "magna.ini' failed: ");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

// The real window: closed with a changed font and wrap, opened again from the same file.
using MainWindowSettingsTest = test::MainWindowTest;

TEST_F(MainWindowSettingsTest, AClosedWindowsFontAndSwitchesComeBackAtTheNextStart) {
  EXPECT_EQ(Memo().Font()->Size(), 72);
  EXPECT_TRUE(Memo().WordWrap());
  window->Action_FontSizeUp->trigger();
  window->Action_TextWrap->trigger();
  window->Action_TextCheckClipboard->trigger();
  const WideString file = window->SettingsFileName;
  window.reset();
  ASSERT_TRUE(std::filesystem::exists(settingsDir / "magna.ini"));

  window = std::make_unique<TApp_TOOLMagna>();
  window->SettingsFileName = file;
  window->AfterConstruction();
  EXPECT_EQ(Memo().Font()->Size(), 73);
  EXPECT_EQ(test::U8(Memo().Font()->Name()), "ＭＳ Ｐ明朝");
  EXPECT_FALSE(window->Action_TextWrap->isChecked());
  EXPECT_FALSE(Memo().WordWrap());
  EXPECT_TRUE(window->Action_TextCheckClipboard->isChecked());
}

TEST_F(MainWindowSettingsTest, ShiftAndCtrlAtTheNextStartGiveTheLayoutBack) {
  window->Action_FontSizeUp->trigger();
  window->Action_TextWrap->trigger();
  const WideString file = window->SettingsFileName;
  window.reset();
  const std::string saved = test::ReadBytes(settingsDir / "magna.ini");

  keys->Held = {16, 17};
  window = std::make_unique<TApp_TOOLMagna>();
  window->SettingsFileName = file;
  window->AfterConstruction();
  EXPECT_EQ(Memo().Font()->Size(), 72);
  EXPECT_TRUE(Memo().WordWrap());
  window.reset();
  EXPECT_EQ(test::ReadBytes(settingsDir / "magna.ini"), saved);
}

// Regression: the first start moved the window to the work area's corner before
// it was shown, so the window system never chose its place.
TEST_F(MainWindowSettingsTest, FirstStartLeavesThePlaceToTheWindowSystemAndSavesWhereItIs) {
  EXPECT_FALSE(window->testAttribute(Qt::WA_Moved));
  EXPECT_EQ(window->size(), QSize(512, 250));
  window->windowHandle()->setPosition(300, 200);  // where the window system put it
  QApplication::processEvents();
  const QRect placed(window->pos(), window->size());  // the frame's corner
  ASSERT_GT(placed.left(), 250);
  window.reset();
  TMyIniFile ini(settingsDir.Wide("magna.ini"), cdAuto);
  TRect saved;
  ini.ReadRect(u"Bounds", u"App_TOOLMagna", saved, TRect{});
  EXPECT_EQ(saved, (TRect{placed.left(), placed.top(), placed.right() + 1, placed.bottom() + 1}));
}

// Regression: edges at the ends of the 32-bit range overflowed the distance to a
// monitor on the far side (undefined behaviour; the sanitizer build stopped).
TEST_F(MainWindowSettingsTest, BoundsAtTheEndsOfTheIntegerRangeOpenOnTheNearestMonitor) {
  screens->List.push_back({2, {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}});
  const WideString file = window->SettingsFileName;
  window.reset();
  test::WriteBytes(settingsDir / "magna.ini",
                   "[Bounds]\r\nApp_TOOLMagna_Left=-2147483648\r\nApp_TOOLMagna_Top=-2147483648\r\n"
                   "App_TOOLMagna_Right=-2147483000\r\nApp_TOOLMagna_Bottom=-2147483000\r\n");
  window = std::make_unique<TApp_TOOLMagna>();
  window->SettingsFileName = file;
  window->AfterConstruction();
  EXPECT_EQ(window->pos(), QPoint(0, 0));
  EXPECT_EQ(window->size(), QSize(648, 648));
}

}  // namespace
}  // namespace magna
