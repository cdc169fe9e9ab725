// Keys, wheel and buttons of the main window: size steps and their bounds, the
// Ctrl-key filter, Tab, redo, and the enabling of the actions.
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "app/clipboard/clipboardChain.h"
#include "app/desktop/helpPage.h"
#include "app/window/myHelpVersionInfo.h"
#include "tests/app/window/mainFixture.h"

namespace magna::test {
namespace {

class MainInputTest : public MainWindowTest {
 protected:
  int Size() { return Memo().Font()->Size(); }
  void SetSize(int points) { Memo().Font()->SetSize(points); }
  void Wheel(int delta, Qt::KeyboardModifiers mods) { Turn(QPoint(0, delta), mods, true); }
  /// A wheel event with the given angles (x horizontal, y vertical).
  void Turn(QPoint angle, Qt::KeyboardModifiers mods, bool holdModifiers,
            QPoint pixels = QPoint()) {
    if (holdModifiers) HoldModifiers(mods);
    QWidget* view = View()->viewport();
    QPointF at(10, 10);
    QWheelEvent event(at, view->mapToGlobal(at), pixels, angle, Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
    keys->Held.clear();
  }
};

TEST_F(MainInputTest, StartsAt72PointsWithTheLayoutsFaceAndAutoFont) {
  EXPECT_EQ(Size(), 72);
  EXPECT_EQ(Memo().Font()->Height(), -96);
  EXPECT_EQ(U8(Memo().Font()->Name()), "ＭＳ Ｐ明朝");
  EXPECT_TRUE(Memo().AutoFont());
  EXPECT_TRUE(Memo().WordWrap()) << "wrap is on at start";
  EXPECT_EQ(window->width(), 512);
  EXPECT_EQ(window->height(), 250);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Magna"));
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint) << "raised once, not kept on top";
}

TEST_F(MainInputTest, CtrlUpDownStepWithinTheBounds) {
  struct Case {
    const char* name;
    int start;
    int key;
    Qt::KeyboardModifiers mods;
    int expected;
  } cases[] = {
      {"up", 72, Qt::Key_Up, Qt::ControlModifier, 73},
      {"down", 72, Qt::Key_Down, Qt::ControlModifier, 71},
      {"up at the top", 144, Qt::Key_Up, Qt::ControlModifier, 144},
      {"down at the bottom", 8, Qt::Key_Down, Qt::ControlModifier, 8},
      {"shift up near the top", 142, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier, 144},
      {"shift down near the bottom", 10, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier, 8},
      {"shift up", 20, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetSize(c.start);
    Memo().SetText(u"ab\rcd");
    Memo().SetSelStart(3);
    Press(c.key, c.mods);
    EXPECT_EQ(Size(), c.expected);
    EXPECT_EQ(Memo().SelStart(), 3) << "the arrow never reaches the text";
  }
}

TEST_F(MainInputTest, ButtonsStepAndShiftMakesFive) {
  window->Action_FontSizeUp->trigger();
  EXPECT_EQ(Size(), 73);
  keys->Held.insert(VK_SHIFT);
  window->Action_FontSizeDown->trigger();
  EXPECT_EQ(Size(), 68);
  window->Action_FontSizeUpExecute(window->Action_TextClear);
  EXPECT_EQ(Size(), 68) << "another sender changes nothing";
}

TEST_F(MainInputTest, CtrlWheelStepsOncePerEventWhateverTheDelta) {
  for (int delta : {1, 120, 960}) {
    SCOPED_TRACE(delta);
    SetSize(72);
    Wheel(delta, Qt::ControlModifier);
    EXPECT_EQ(Size(), 73);
  }
  for (int delta : {-1, -120, -960}) {
    SCOPED_TRACE(delta);
    SetSize(72);
    Wheel(delta, Qt::ControlModifier);
    EXPECT_EQ(Size(), 71);
  }
  SetSize(72);
  Wheel(240, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Size(), 77);
  Wheel(120, Qt::NoModifier);
  EXPECT_EQ(Size(), 77) << "without Ctrl the wheel only scrolls";
}

// Regression: the handlers read the live key state, so a Ctrl+Up whose Ctrl was
// released before the event was handled was lost, and a plain Up while Ctrl was
// still held for something else became a size step.
TEST_F(MainInputTest, KeysAndWheelFollowTheModifiersTheirEventCarries) {
  Memo().SetText(u"ab\rcd");
  Memo().SetSelStart(3);
  Press(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier, {}, false);
  EXPECT_EQ(Size(), 77);
  EXPECT_EQ(Memo().SelStart(), 3);
  Turn(QPoint(0, 120), Qt::ControlModifier, false);
  EXPECT_EQ(Size(), 78);
  keys->Held = {VK_CONTROL, VK_SHIFT};
  Press(Qt::Key_Up, Qt::NoModifier, {}, false);
  EXPECT_EQ(Size(), 78);
  EXPECT_EQ(Memo().SelStart(), 0) << "a plain Up moves the caret";
}

// Regression: a horizontal turn, or a touchpad event without a wheel angle, with
// Ctrl held changed the font size.
TEST_F(MainInputTest, OnlyAVerticalTurnWithCtrlStepsTheSize) {
  Turn(QPoint(120, 0), Qt::ControlModifier, true);
  Turn(QPoint(-120, 0), Qt::ControlModifier, true);
  Turn(QPoint(0, 0), Qt::ControlModifier, true, QPoint(0, 3));
  Turn(QPoint(0, 0), Qt::ControlModifier, true);
  EXPECT_EQ(Size(), 72);
  bool handled = false;
  window->Memo_TextMouseWheel(&Memo(), ssCtrl, 0, TPoint{}, handled);
  EXPECT_EQ(Size(), 72) << "a zero delta is no turn";
  EXPECT_FALSE(handled);
  Turn(QPoint(30, -120), Qt::ControlModifier, true);
  EXPECT_EQ(Size(), 71) << "a diagonal turn counts by its vertical part";
}

TEST_F(MainInputTest, CtrlWheelDoesNotScroll) {
  WideString lines;
  for (int i = 0; i < 50; ++i) lines += u"line\r";
  Memo().SetText(lines);
  Memo().SetSelStart(0);
  SetSize(8);
  QPlainTextEdit* view = View();
  int before = view->verticalScrollBar()->value();
  Wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(view->verticalScrollBar()->value(), before);
}

TEST_F(MainInputTest, CtrlParagraphKeysLeaveTheTextAlone) {
  const int filtered[] = {Qt::Key_E, Qt::Key_J, Qt::Key_L, Qt::Key_R,
                          Qt::Key_1, Qt::Key_2, Qt::Key_5};
  for (int key : filtered) {
    SCOPED_TRACE(key);
    Memo().SetText(u"text");
    Memo().SetSelStart(2);
    uint16_t vk = uint16_t(key);  // letters and digits share their codes
    window->Memo_TextKeyDown(&Memo(), vk, ssCtrl);
    EXPECT_EQ(vk, 0);
    Press(key, Qt::ControlModifier, QString(QChar(key & 0x1F)));
    EXPECT_EQ(U8(Memo().Text()), "text");
    EXPECT_EQ(Memo().SelStart(), 2);
  }
}

TEST_F(MainInputTest, KeyFilterTable) {
  struct Case {
    uint16_t key;
    TShiftState shift;
    uint16_t after;
  } cases[] = {
      {38, ssCtrl, 0}, {40, ssCtrl, 0},  {43, ssCtrl, 0}, {61, ssCtrl, 0},
      {69, ssCtrl, 0}, {65, ssCtrl, 65}, {69, 0, 69},     {38, 0, 38},
      {9, 0, 0},       {9, ssShift, 0},  {9, ssCtrl, 9},  {82, ssCtrl | ssShift, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << " shift " << c.shift);
    uint16_t key = c.key;
    window->Memo_TextKeyDown(&Memo(), key, c.shift);
    EXPECT_EQ(key, c.after);
  }
}

TEST_F(MainInputTest, TabInsertsOneTabAndShiftTabNothing) {
  Memo().SetText(u"ab");
  Memo().SetSelStart(1);
  Press(Qt::Key_Tab);
  EXPECT_EQ(U8(Memo().Text()), "a\tb");
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(U8(Memo().Text()), "a\tb");
  EXPECT_TRUE(Memo().Focused()) << "Shift+Tab does not move the focus away";
  Memo().SetSelStart(0);
  Memo().SetSelLength(2);
  window->mniPEdit_Tab->trigger();
  EXPECT_EQ(U8(Memo().Text()), "\tb") << "the entry replaces the selection";
}

TEST_F(MainInputTest, RedoByShiftCtrlZAndByButton) {
  Memo().SetText(u"");
  Press(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  ASSERT_EQ(U8(Memo().Text()), "x");
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(U8(Memo().Text()), "");
  Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(U8(Memo().Text()), "x");
  window->Action_EditUndo->trigger();
  EXPECT_EQ(U8(Memo().Text()), "");
  window->PopupMenu_MainPopup(nullptr);
  ASSERT_TRUE(window->Action_EditRedo->isEnabled());
  window->Action_EditRedo->trigger();
  EXPECT_EQ(U8(Memo().Text()), "x");
}

TEST_F(MainInputTest, RedoAnswersToBothShortcutsAndVersionToF1) {
  QList<QKeySequence> redo = window->Action_EditRedo->shortcuts();
  EXPECT_EQ(redo, QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z)});
  EXPECT_EQ(window->Action_EditRedo->property("SecondaryShortCuts").value<QList<QKeySequence>>(),
            redo);
  EXPECT_EQ(window->Action_HelpVersionInfo->shortcuts(),
            QList<QKeySequence>{QKeySequence(Qt::Key_F1)});
}

TEST_F(MainInputTest, F1ShowsTheVersionDialogWithTheHelpLinkAndFreesItAfterwards) {
  bool shown = false;
  QString link;
  QPointer<THelp_VersionInfo> seen;
  QTimer::singleShot(0, [&] {  // runs inside the dialog's modal loop
    seen = Help_VersionInfo;
    if (!seen) return;
    shown = seen->isVisible() && seen->isModal();
    link = QString::fromStdU16String(seen->lblURL->Caption());
    seen->reject();
  });
  Press(Qt::Key_F1);
  EXPECT_TRUE(shown);
  EXPECT_EQ(link, HelpPageAddress());
  EXPECT_TRUE(Help_VersionInfo.isNull()) << "released after closing";
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(seen.isNull()) << "the closed dialog is destroyed";
}

TEST_F(MainInputTest, EnablingFollowsTextSelectionUndoAndClipboard) {
  Memo().SetText(u"");
  window->PopupMenu_MainPopup(nullptr);
  EXPECT_FALSE(window->Action_EditPaste->isEnabled()) << "empty clipboard";
  EXPECT_FALSE(window->Action_TextReplace->isEnabled());
  EXPECT_FALSE(window->Action_EditSelectAll->isEnabled()) << "empty text";
  EXPECT_FALSE(window->Action_EditCut->isEnabled());
  EXPECT_FALSE(window->Action_EditCopy->isEnabled());
  EXPECT_FALSE(window->Action_EditDelete->isEnabled());
  EXPECT_TRUE(window->Action_FontSizeUp->isEnabled());

  CopyElsewhere(u"clip");  // the notice recomputes the enabling
  EXPECT_TRUE(window->Action_EditPaste->isEnabled());
  EXPECT_TRUE(window->Action_TextReplace->isEnabled());

  Press(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  Press(Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
  EXPECT_TRUE(window->Action_EditSelectAll->isEnabled()) << "key release refreshes";
  EXPECT_TRUE(window->Action_EditUndo->isEnabled());
  EXPECT_FALSE(window->Action_EditRedo->isEnabled());
  EXPECT_FALSE(window->Action_EditCopy->isEnabled());
  Press(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_TRUE(window->Action_EditCopy->isEnabled());
  EXPECT_TRUE(window->Action_EditCut->isEnabled());
  EXPECT_TRUE(window->Action_EditDelete->isEnabled());

  window->Action_TextClear->trigger();
  EXPECT_FALSE(window->Action_EditSelectAll->isEnabled());
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "");
}

TEST_F(MainInputTest, StatusLineFollowsTheCaretAndMarksControlCharacters) {
  Memo().SetText(u"A\tあ");
  Memo().SetSelStart(1);
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "Tab");
  EXPECT_EQ(window->Label_StatusChar->Color(), clAqua);
  EXPECT_FALSE(window->Label_StatusChar->ParentColor());
  EXPECT_EQ(U8(window->Label_StatusUtf8->Caption()), "UTF8 U+09 00001001");
  Memo().SetSelStart(2);
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "あ");
  EXPECT_TRUE(window->Label_StatusChar->ParentColor()) << "back to the panel's colour";
  Memo().SetSelStart(3);
  for (TMyLabel* label : {window->Label_StatusChar, window->Label_StatusAnsi,
                          window->Label_StatusUnicode, window->Label_StatusUtf8})
    EXPECT_EQ(U8(label->Caption()), "") << label->objectName().toStdString();
}

TEST_F(MainInputTest, NotReadyWindowLeavesTheStatusLineAlone) {
  Memo().SetText(u"A");
  Memo().SetSelStart(0);
  window->FormDestroy();
  EXPECT_EQ(window->Ready(), 0);
  EXPECT_TRUE(window->isHidden());
  window->Label_StatusAnsi->SetCaption(u"before");
  window->Memo_TextSelectionChange(nullptr);
  EXPECT_EQ(U8(window->Label_StatusAnsi->Caption()), "before");
}

TEST_F(MainInputTest, TerminatingApplicationLeavesTheStatusLineAlone) {
  ui->IsTerminated = true;
  window->Label_StatusAnsi->SetCaption(u"before");
  Memo().SetText(u"A");
  window->Memo_TextSelectionChange(nullptr);
  EXPECT_EQ(U8(window->Label_StatusAnsi->Caption()), "before");
}

TEST_F(MainInputTest, WrapButtonSwitchesWordWrap) {
  window->Action_TextWrap->trigger();
  EXPECT_FALSE(Memo().WordWrap());
  window->Action_TextWrap->trigger();
  EXPECT_TRUE(Memo().WordWrap());
}

}  // namespace
}  // namespace magna::test
