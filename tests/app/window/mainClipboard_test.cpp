// Clipboard watching: replace from the clipboard, the own-copy suppression, the
// viewer chain with its notices and a second viewer window.
#include <gmock/gmock.h>

#include "app/clipboard/clipboardChain.h"
#include "app/clipboard/watchLimitNotice.h"
#include "platform/qt/qtText.h"
#include "tests/app/window/mainFixture.h"
#include "text/myUtils.h"

namespace magna::test {
namespace {

using platform::HWND;

TEST_F(MainWindowTest, MonitoringOffByDefaultLeavesTheTextAlone) {
  Memo().SetText(u"kept");
  CopyElsewhere(u"other");
  EXPECT_EQ(U8(Memo().Text()), "kept");
  EXPECT_TRUE(window->Action_TextReplace->isEnabled()) << "paste and replace follow the clipboard";
}

TEST_F(MainWindowTest, SwitchingMonitoringOnTakesTheClipboardAtOnceAndOffKeepsIt) {
  clipboard->Unicode = u"あいう";
  Memo().SetText(u"old");
  SetMonitoring(true);
  EXPECT_EQ(U8(Memo().Text()), "あいう");
  EXPECT_EQ(Memo().SelStart(), 0);
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "あ");
  EXPECT_EQ(U8(window->Label_StatusAnsi->Caption()), "SJIS 0x82A0");

  SetMonitoring(false);
  EXPECT_EQ(U8(Memo().Text()), "あいう");
  CopyElsewhere(u"later");
  EXPECT_EQ(U8(Memo().Text()), "あいう");
}

TEST_F(MainWindowTest, ACopyElsewhereReplacesEverythingAsThreeUndoableEdits) {
  SetMonitoring(true);
  Memo().SetText(u"first");
  Memo().SetSelStart(3);
  CopyElsewhere(u"second\r\nline");
  EXPECT_EQ(U8(Memo().Text()), "second\r\nline");
  EXPECT_EQ(Memo().SelStart(), 0);
  EXPECT_EQ(U8(window->Label_StatusUnicode->Caption()), "UTF16 U+0073");
  Memo().Undo();  // paste
  Memo().Undo();  // delete
  EXPECT_EQ(U8(Memo().Text()), "first");
}

TEST_F(MainWindowTest, IdenticalTextAndEmptyTextChangeNothing) {
  SetMonitoring(true);
  CopyElsewhere(u"same");
  Memo().SetSelStart(2);
  CopyElsewhere(u"same");
  EXPECT_EQ(Memo().SelStart(), 2) << "the identical text is not pasted again";
  CopyElsewhere(u"");
  EXPECT_EQ(U8(Memo().Text()), "same");
  clipboard->RefuseOpen = true;
  CopyElsewhere(u"unreadable");
  EXPECT_EQ(U8(Memo().Text()), "same");
  ExpectWarning(platform::kLogClipboard, "reading the clipboard failed");
}

// Regression: a copy seen while the window was in the background went in at the
// mouse pointer, into the text shown ("kx-A", then "xclip-E" shown as
// "kx-Axclip-E"): the replace's select-all gained the focus, and gaining it
// placed the caret under the pointer.
TEST_F(MainWindowTest, ACopySeenInTheBackgroundReplacesTheWholeText) {
  SetMonitoring(true);
  CopyElsewhere(u"kx-A");
  QWidget& area = Memo();
  const QPoint overText = area.mapToGlobal(QPoint(area.width() - 2, area.height() / 2));
  for (const QPoint pointer : {overText, QPoint(-500, -500)}) {
    SCOPED_TRACE(pointer.x());
    screens->Cursor = {pointer.x(), pointer.y()};
    platform::SetFocus(nullptr);  // the window went to the background
    CopyElsewhere(u"xclip-E");
    EXPECT_EQ(U8(Memo().Text()), "xclip-E");
    EXPECT_EQ(Memo().SelStart(), 0);
    CopyElsewhere(u"kx-A");
    EXPECT_EQ(U8(Memo().Text()), "kx-A");
  }
}

TEST_F(MainWindowTest, LineFeedTextFromAnotherProgramIsTheSameText) {
  SetMonitoring(true);
  CopyElsewhere(u"a\nb");
  Memo().SetSelStart(2);
  CopyElsewhere(u"a\nb");
  EXPECT_EQ(Memo().SelStart(), 2);
}

TEST_F(MainWindowTest, OwnCopySuppressesExactlyOneNotice) {
  SetMonitoring(true);
  CopyElsewhere(u"hello world");
  Memo().SetSelStart(6);
  Memo().SetSelLength(5);
  window->Action_EditCopy->trigger();
  EXPECT_EQ(U8(GetClipboardText()), "world");
  EXPECT_EQ(U8(Memo().Text()), "hello world") << "our own copy does not replace";
  EXPECT_TRUE(window->CopiedText().empty()) << "the notice consumed the remembered copy";
  CopyElsewhere(u"world");
  EXPECT_EQ(U8(Memo().Text()), "world") << "the same text copied elsewhere replaces";
}

TEST_F(MainWindowTest, OwnCutSuppressesItsNoticeToo) {
  SetMonitoring(true);
  CopyElsewhere(u"abcdef");
  Memo().SetSelStart(0);
  Memo().SetSelLength(3);
  window->Action_EditCut->trigger();
  EXPECT_EQ(U8(Memo().Text()), "def");
  EXPECT_EQ(U8(GetClipboardText()), "abc");
}

// Regression: Ctrl+V with a busy clipboard deleted the selection, and Cut with a
// busy clipboard deleted it without copying it anywhere.
TEST_F(MainWindowTest, PasteAndCutWithABusyClipboardLeaveTheTextAsItIs) {
  CopyElsewhere(u"other");
  Memo().SetText(u"hello");
  Memo().SetSelStart(1);
  Memo().SetSelLength(3);
  clipboard->RefuseOpen = true;
  Press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(U8(Memo().Text()), "hello");
  ExpectWarning(platform::kLogClipboard, "reading the clipboard failed");
  window->Action_EditPaste->trigger();
  EXPECT_EQ(U8(Memo().Text()), "hello");
  ExpectWarning(platform::kLogClipboard, "reading the clipboard failed");
  Press(Qt::Key_X, Qt::ControlModifier);
  ExpectWarning(platform::kLogClipboard, "writing the clipboard failed");
  window->Action_EditCut->trigger();
  ExpectWarning(platform::kLogClipboard, "writing the clipboard failed");
  EXPECT_EQ(U8(Memo().Text()), "hello");
  EXPECT_EQ(Memo().SelLength(), 3);
  clipboard->RefuseOpen = false;
  EXPECT_EQ(U8(GetClipboardText()), "other");
}

TEST_F(MainWindowTest, ReplaceButtonWorksWithMonitoringOff) {
  CopyElsewhere(u"button");  // the notice enables replace
  window->Action_TextReplace->trigger();
  EXPECT_EQ(U8(Memo().Text()), "button");
}

// Regression: the enabling rules asked the clipboard on every caret move and
// menu opening, and an owner that never answers froze each for seconds.
TEST_F(MainWindowTest, OnlyAChangeNoticeAsksWhatTheClipboardOffers) {
  CopyElsewhere(u"abc");
  Memo().SetText(u"some text");
  const int asked = clipboard->Questions;
  clipboard->Unicode.reset();  // gone without a notice: the remembered answer stands
  Memo().SetSelStart(3);
  Press(Qt::Key_Right);
  Press(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  Q_EMIT window->PopupMenu_Main->aboutToShow();
  window->Action_TextClear->trigger();
  EXPECT_EQ(clipboard->Questions, asked);
  EXPECT_TRUE(window->Action_EditPaste->isEnabled());
  clipboard->SimulateCopy(std::nullopt, std::nullopt);
  EXPECT_FALSE(window->Action_EditPaste->isEnabled()) << "the next notice asks again";
  EXPECT_FALSE(window->Action_TextReplace->isEnabled());
}

TEST_F(MainWindowTest, AWatchedNoticeReadsTheClipboardOnce) {
  SetMonitoring(true);
  const int opened = clipboard->OpenCount;
  CopyElsewhere(u"read once");
  EXPECT_EQ(U8(Memo().Text()), "read once");
  EXPECT_EQ(clipboard->OpenCount, opened + 1) << "the text read is the text pasted";
}

TEST_F(MainWindowTest, APasswordManagersSecretIsNeverShownByWatching) {
  Memo().SetText(u"shown");
  SetMonitoring(true);
  clipboard->SimulateCopy(u"hunter2", std::nullopt, /*secret=*/true);
  EXPECT_EQ(U8(Memo().Text()), "shown");
  SetMonitoring(false);
  SetMonitoring(true);  // switching watching on takes the clipboard, but not a secret
  EXPECT_EQ(U8(Memo().Text()), "shown");
  EXPECT_TRUE(window->Action_EditPaste->isEnabled());
  Memo().SetSelStart(5);
  window->Action_EditPaste->trigger();  // the user's own paste still pastes
  EXPECT_EQ(U8(Memo().Text()), "shownhunter2");
  CopyElsewhere(u"public");
  EXPECT_EQ(U8(Memo().Text()), "public") << "the next plain text is watched again";
}

// Regression: after a copy was seen while another window was active, the keys
// typed once the window was active again went nowhere: the replace's edits had
// given Qt's focus to the text area's frame, not to the view that takes the keys.
TEST_F(MainWindowTest, KeysReachTheTextAgainAfterACopySeenInTheBackground) {
  SetMonitoring(true);
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  platform::SetFocus(nullptr);  // the text area lost the focus with the window
  CopyElsewhere(u"first");
  CopyElsewhere(u"second");
  QApplication::setActiveWindow(window.get());
  auto* view = static_cast<QWidget*>(platform::GetNativeView(Memo().Wrapper()->Handle));
  EXPECT_EQ(QApplication::focusWidget(), view);
  EXPECT_EQ(U8(Memo().Text()), "second");
}

// Where the platform tells of another program's copy only while the window has
// the focus, watching can't do what it says: the user is told once, not again.
TEST_F(MainWindowTest, WatchingThatSeesOnlyWhileFocusedIsToldOnceWhenSwitchedOn) {
  clipboard->InBackground = false;
  SetMonitoring(false);
  QApplication::processEvents();
  EXPECT_TRUE(messageBoxes->Shown.empty()) << "nothing to say while watching is off";
  SetMonitoring(true);
  QApplication::processEvents();
  ASSERT_EQ(messageBoxes->Shown.size(), 1u);
  EXPECT_EQ(messageBoxes->Shown[0].Text, platform::qt::ToWide(WatchLimitText()));
  EXPECT_EQ(U8(messageBoxes->Shown[0].Caption), "Magna");
  SetMonitoring(false);
  SetMonitoring(true);
  QApplication::processEvents();
  EXPECT_EQ(messageBoxes->Shown.size(), 1u);
  CopyElsewhere(u"seen while focused");
  EXPECT_EQ(U8(Memo().Text()), "seen while focused") << "it watches as far as it can see";
}

TEST_F(MainWindowTest, WatchingThatSeesInTheBackgroundSaysNothing) {
  SetMonitoring(true);
  QApplication::processEvents();
  EXPECT_TRUE(messageBoxes->Shown.empty());
}

class MonitoringAtStartTest : public MainWindowTest {
  class Window : public TApp_TOOLMagna {
   protected:
    void LoadSettings() override {
      Action_TextCheckClipboard->setChecked(true);
      TApp_TOOLMagna::LoadSettings();
    }
  };
  std::unique_ptr<TApp_TOOLMagna> MakeWindow() override {
    clipboard->Unicode = u"起動時";
    return std::make_unique<Window>();
  }
};

TEST_F(MonitoringAtStartTest, ShowsTheClipboardTextAtOnceWithItsStatus) {
  EXPECT_EQ(U8(Memo().Text()), "起動時");
  EXPECT_EQ(window->Ready(), 1);
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "起");
  EXPECT_EQ(U8(window->Label_StatusUnicode->Caption()), "UTF16 U+8D77");
}

/// A second viewer: records what reaches it and passes notices on like the window.
class Viewer : public platform::TWindowObject {
 public:
  Viewer() { handle = platform::AttachWindow(this, nullptr); }
  ~Viewer() override {
    if (joined) Leave();
    platform::DestroyWindow(handle);
  }
  platform::LRESULT WindowProc(HWND, platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override {
    if (msg == WM_DRAWCLIPBOARD) {
      ++draws;
      if (next) platform::SendMessageW(next, msg, 0, 0);
    }
    if (msg == WM_CHANGECBCHAIN) {
      ++chainNotices;
      auto removed = reinterpret_cast<HWND>(wParam);
      if (removed == next)
        next = reinterpret_cast<HWND>(lParam);
      else if (next)
        platform::SendMessageW(next, msg, wParam, lParam);
    }
    return 0;
  }
  void Join() {
    next = SetClipboardViewer(handle);
    joined = true;
  }
  bool Leave() {
    joined = false;
    return ChangeClipboardChain(handle, next);
  }
  bool joined = false;
  HWND handle = nullptr;
  HWND next = nullptr;
  int draws = 0;
  int chainNotices = 0;
};

TEST_F(MainWindowTest, JoiningSendsOneNoticeAndTheWindowIsFirst) {
  EXPECT_EQ(ClipboardViewerHead(), window->Handle());
  EXPECT_EQ(clipboard->OpenCount, 0) << "monitoring off: the joining notice reads nothing";
  EXPECT_EQ(window->NextViewer(), nullptr);
}

TEST_F(MainWindowTest, NoticesGoOnToTheNextViewerWhateverTheSwitch) {
  window->LeaveClipboardChain();
  Viewer other;
  other.Join();
  EXPECT_EQ(other.draws, 1) << "one notice on joining";
  window->JoinClipboardChain();
  EXPECT_EQ(window->NextViewer(), other.handle);
  EXPECT_EQ(other.draws, 1) << "the window's joining notice does not reach the viewer yet";
  CopyElsewhere(u"x");
  EXPECT_EQ(other.draws, 2);
  SetMonitoring(true);  // leave and join again: one notice, passed on
  EXPECT_EQ(other.draws, 3);
  EXPECT_EQ(U8(Memo().Text()), "x");
  other.Leave();
  EXPECT_EQ(window->NextViewer(), nullptr) << "the leaving viewer's successor takes its place";
  CopyElsewhere(u"y");
  EXPECT_EQ(other.draws, 3);
  EXPECT_EQ(U8(Memo().Text()), "y");
}

TEST_F(MainWindowTest, ChainChangeNoticePassesAlongToTheRightLink) {
  window->LeaveClipboardChain();
  Viewer last, middle;
  last.Join();
  middle.Join();
  window->JoinClipboardChain();  // chain: window -> middle -> last
  ASSERT_EQ(window->NextViewer(), middle.handle);
  last.Leave();  // announced from the head: the window passes it to middle
  EXPECT_EQ(window->NextViewer(), middle.handle);
  EXPECT_EQ(middle.next, nullptr);
  CopyElsewhere(u"z");
  EXPECT_EQ(middle.draws, 2) << "its join, then the copy";
  EXPECT_EQ(last.draws, 1) << "out of the chain since it left";
}

TEST_F(MainWindowTest, LeavingAnswersWhetherTheWindowWasAMember) {
  window->LeaveClipboardChain();
  Viewer last, first, stranger;
  last.Join();
  first.Join();  // chain: first -> last
  EXPECT_FALSE(stranger.Leave()) << "never joined";
  EXPECT_FALSE(ChangeClipboardChain(nullptr, nullptr));
  EXPECT_EQ(first.chainNotices, 0) << "a stranger's leaving goes round no chain";
  EXPECT_EQ(first.next, last.handle);

  EXPECT_TRUE(last.Leave()) << "a member behind the first";
  EXPECT_EQ(first.next, nullptr);
  EXPECT_FALSE(last.Leave()) << "the second time it is no longer a member";
  EXPECT_EQ(first.chainNotices, 1);

  EXPECT_TRUE(first.Leave()) << "the first member";
  EXPECT_EQ(ClipboardViewerHead(), nullptr);
  EXPECT_FALSE(first.Leave());
}

TEST_F(MainWindowTest, SecondMainWindowReceivesNoticesThroughTheFirst) {
  TApp_TOOLMagna second;
  second.SettingsFileName = settingsDir.Wide("second.ini");
  second.AfterConstruction();  // chain: second -> window
  ASSERT_EQ(second.NextViewer(), window->Handle());
  SetMonitoring(true);  // window leaves (announced through second) and joins in front
  EXPECT_EQ(ClipboardViewerHead(), window->Handle());
  EXPECT_EQ(window->NextViewer(), second.Handle());
  EXPECT_EQ(second.NextViewer(), nullptr);
  second.Action_TextCheckClipboard->setChecked(true);
  CopyElsewhere(u"both");
  EXPECT_EQ(U8(window->Memo_Text->Text()), "both");
  EXPECT_EQ(U8(second.Memo_Text->Text()), "both");
}

TEST_F(MainWindowTest, ClosingLeavesTheChain) {
  auto handle = window->Handle();
  window.reset();
  EXPECT_NE(ClipboardViewerHead(), handle);
}

}  // namespace
}  // namespace magna::test
