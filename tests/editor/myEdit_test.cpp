// The editor control and its wrappers against the rich-edit window: message
// order, key and wheel filtering, line breaks in and out, files, undo, caret text,
// focus and indentation.
#include "editor/myEdit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <functional>
#include <optional>
#include <set>

#include "platform/qt/virtualKeys.h"
#include "tests/editor/editorFixture.h"
#include "text/myCharCode.h"

namespace magna {
namespace {

using namespace platform;
using test::EditorTest;
using test::MessageSpy;
using test::W;
using Entry = MessageSpy::Entry;

// Re-creation

TEST_F(EditorTest, RecreationSendsTheMessagesInOrderAndKeepsTheState) {
  MessageSpy spy;
  auto spied = std::make_unique<TMyMemo>(parent.get());  // gone before the spy
  spied->SetText(u"one\rtwo\rthree");
  spied->SetSelStart(2);
  spied->SetSelLength(3);
  spy.Log.clear();

  spied->SetWordWrap(true);

  std::vector<Entry> expected = {
      // SaveState on the old window
      {1, EM_GETTEXTLENGTHEX},
      {1, EM_GETTEXTEX},
      {1, EM_GETSEL},
      {1, EM_GETSEL},
      {1, EM_GETLANGOPTIONS},
      {1, WM_DESTROY},
      // the creation routine
      {2, WM_CREATE},
      {2, EM_EXLIMITTEXT},
      {2, EM_SETEVENTMASK},
      // SetFont: the copy onto itself notifies once, then FontChanged runs itself
      {2, EM_GETMODIFY},
      {2, EM_GETMODIFY},
      {2, WM_SETFONT},
      {2, EM_SETCHARFORMAT},
      {2, EM_SETMODIFY},
      {2, EM_GETMODIFY},
      {2, WM_SETFONT},
      {2, EM_SETCHARFORMAT},
      {2, EM_SETMODIFY},
      {2, EM_SETMODIFY},
      // RestoreState: WideLine first, then the saved state
      {2, EM_GETLANGOPTIONS},
      {2, EM_SETLANGOPTIONS},
      {2, WM_WINDOWPOSCHANGED},
      {2, EM_SETTABSTOPS},
      {2, EM_GETLANGOPTIONS},
      {2, EM_SETLANGOPTIONS},
      {2, WM_SETTEXT},
      {2, EM_SETREADONLY},
      {2, WM_SETFOCUS}};
  ASSERT_GE(spy.Log.size(), expected.size());
  std::vector<Entry> head(spy.Log.begin(), spy.Log.begin() + long(expected.size()));
  EXPECT_EQ(head, expected);
  // The selection last, after the focus notice has placed the caret.
  std::vector<Entry> tail = {{2, EM_SETSEL}, {2, EM_GETSEL}, {2, EM_SETSEL}, {2, EM_SCROLLCARET}};
  ASSERT_GE(spy.Log.size(), expected.size() + tail.size());
  EXPECT_EQ(std::vector<Entry>(spy.Log.end() - long(tail.size()), spy.Log.end()), tail);

  EXPECT_EQ(spied->Text(), u"one\r\ntwo\r\nthree");
  EXPECT_EQ(spied->SelStart(), 2);
  EXPECT_EQ(spied->SelLength(), 3);
  EXPECT_TRUE(spied->Focused());
  LONG style = GetWindowLongW(spied->Wrapper()->Handle, GWL_STYLE);
  EXPECT_EQ(style & (ES_AUTOHSCROLL | WS_HSCROLL), 0);
  EXPECT_EQ(style & (ES_MULTILINE | ES_WANTRETURN | ES_SAVESEL | WS_VSCROLL | ES_AUTOVSCROLL),
            ES_MULTILINE | ES_WANTRETURN | ES_SAVESEL | WS_VSCROLL | ES_AUTOVSCROLL);
}

TEST_F(EditorTest, StylesFollowWordWrapScrollBarsAlignmentAndBorder) {
  auto style = [&] { return GetWindowLongW(Wrapper()->Handle, GWL_STYLE); };
  memo->SetWordWrap(true);
  EXPECT_FALSE(style() & WS_HSCROLL);
  memo->SetScrollBars(ssHorizontal);
  EXPECT_FALSE(style() & WS_HSCROLL) << "wrapping leaves no horizontal bar";
  EXPECT_FALSE(style() & WS_VSCROLL);
  EXPECT_EQ(View()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(View()->document()->defaultTextOption().wrapMode(),
            QTextOption::WrapAtWordBoundaryOrAnywhere);
  memo->SetWordWrap(false);
  EXPECT_TRUE(style() & WS_HSCROLL);
  EXPECT_TRUE(style() & ES_AUTOHSCROLL);
  EXPECT_EQ(View()->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(View()->document()->defaultTextOption().wrapMode(), QTextOption::NoWrap);
  memo->SetAlignment(taCenter);
  EXPECT_EQ(style() & (ES_CENTER | ES_RIGHT), ES_CENTER);
  EXPECT_EQ(View()->document()->defaultTextOption().alignment(), Qt::AlignHCenter);
  memo->SetWordWrap(true);  // re-created: the alignment stays and can still be undone
  memo->SetAlignment(taLeftJustify);
  EXPECT_EQ(style() & (ES_CENTER | ES_RIGHT), 0);
  auto inactiveHighlight = [&] {
    return View()->palette().color(QPalette::Inactive, QPalette::Highlight);
  };
  EXPECT_EQ(inactiveHighlight(), View()->palette().color(QPalette::Inactive, QPalette::Base))
      << "the selection hides while the text has no focus";
  memo->SetHideSelection(false);
  EXPECT_TRUE(style() & ES_NOHIDESEL);
  EXPECT_EQ(inactiveHighlight(), View()->palette().color(QPalette::Active, QPalette::Highlight));
  memo->SetBorderStyle(bsNone);
  EXPECT_FALSE(style() & WS_BORDER);
  EXPECT_EQ(memo->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(View()->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(View()->geometry(), memo->contentsRect()) << "the text covers the whole client area";
}

TEST_F(EditorTest, HostRecreationMovesTheTextIntoTheNewHost) {
  memo->SetText(u"kept");
  memo->SetSelStart(2);
  HWND oldHost = memo->HostHandle();
  memo->RecreateWnd();
  EXPECT_NE(memo->HostHandle(), oldHost);
  EXPECT_FALSE(IsWindow(oldHost));
  EXPECT_EQ(GetParent(Wrapper()->Handle), memo->HostHandle());
  EXPECT_EQ(memo->Text(), u"kept");
  EXPECT_EQ(memo->SelStart(), 2);
  EXPECT_EQ(memo->WindowCreations(), 2);
}

// Keys, characters and the wheel

TEST_F(EditorTest, KeyDownHandlerSeesVirtualKeysAndZeroKeepsTheKeyOut) {
  std::vector<uint16_t> seen;
  memo->OnKeyDown = [&](TObject* sender, uint16_t& key, TShiftState) {
    EXPECT_EQ(sender, memo);
    seen.push_back(key);
    if (key == 'A') key = 0;
  };
  Type(Qt::Key_A, QStringLiteral("a"));
  Type(Qt::Key_B, QStringLiteral("b"));
  Type(Qt::Key_1, QStringLiteral("1"));
  Type(Qt::Key_Left, QString());
  Type(Qt::Key_Tab, QStringLiteral("\t"));
  Type(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_THAT(seen, ::testing::ElementsAre(65, 66, 49, 37, 9, 13));
  EXPECT_EQ(memo->Text(), u"b\t\r\n1");
}

TEST_F(EditorTest, KeyPressHandlerCanChangeOrDropTheCharacter) {
  memo->OnKeyPress = [](TObject*, char16_t& key) {
    if (key == u'x') key = u'あ';
    if (key == u'z') key = 0;
  };
  Type(Qt::Key_X, QStringLiteral("x"));
  Type(Qt::Key_Z, QStringLiteral("z"));
  EXPECT_EQ(memo->Text(), u"あ");
}

TEST_F(EditorTest, ShiftStateIsTheOneTheEventCarries) {
  TShiftState shift = 0;
  uint16_t released = 0;
  memo->OnKeyDown = [&](TObject*, uint16_t&, TShiftState s) { shift = s; };
  memo->OnKeyUp = [&](TObject*, uint16_t& key, TShiftState) { released = key; };
  Type(Qt::Key_Down, QString(), Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(shift, ssShift | ssCtrl) << "released by the time the event is handled";
  EXPECT_EQ(released, 40);
  keys->Held = {qt::VK_SHIFT, qt::VK_CONTROL, qt::VK_MENU};
  Type(Qt::Key_Down, QString());
  EXPECT_EQ(shift, 0) << "held for something else, not in this event";
  // A message without an input event behind it asks the asynchronous state.
  MSGFILTER filter;
  filter.nmhdr = {Wrapper()->Handle, 0x2000, EN_MSGFILTER};
  filter.msg = WM_KEYDOWN;
  filter.wParam = 'A';
  SendMessageW(memo->HostHandle(), WM_NOTIFY, 0x2000, &filter);
  EXPECT_EQ(shift, ssShift | ssCtrl | ssAlt);
}

TEST_F(EditorTest, HandledWheelNeitherScrollsNorZooms) {
  WideString lines;
  for (int i = 0; i < 300; ++i) lines += u"line\r";
  memo->SetText(lines);
  memo->SetReadOnly(true);  // a read-only QPlainTextEdit would zoom on Ctrl+wheel
  int fontSize = View()->font().pixelSize();
  bool handle = true;
  int calls = 0;
  int delta = 0;
  memo->OnMouseWheel = [&](TObject*, TShiftState, int wheelDelta, TPoint, bool& handled) {
    ++calls;
    delta = wheelDelta;
    handled = handle;
  };
  Wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(delta, -120);
  EXPECT_EQ(View()->verticalScrollBar()->value(), 0);
  EXPECT_EQ(View()->font().pixelSize(), fontSize);
  handle = false;
  Wheel(-120, Qt::ControlModifier);
  EXPECT_GT(View()->verticalScrollBar()->value(), 0) << "unhandled: the text scrolls";
  EXPECT_EQ(View()->font().pixelSize(), fontSize) << "and never zooms";
}

TEST_F(EditorTest, UnhandledWheelGoesToTheParentWindow) {
  struct Recorder : TWindowObject {
    std::vector<std::pair<WPARAM, LPARAM>> wheels;
    LRESULT WindowProc(HWND, UINT msg, WPARAM w, LPARAM l) override {
      if (msg == WM_MOUSEWHEEL) wheels.emplace_back(w, l);
      return 0;
    }
  } recorder;
  HWND form = AttachWindow(&recorder, nullptr);
  QWidget formWidget;
  SetWidgetWindow(&formWidget, form);
  auto* child = new TMyMemo(&formWidget);
  formWidget.show();
  bool handle = false;
  child->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) {
    handled = handle;
  };
  HWND edit = child->Wrapper()->Handle;
  MSGFILTER filter;
  filter.nmhdr = {edit, 0x2000, EN_MSGFILTER};
  filter.msg = WM_MOUSEWHEEL;
  filter.wParam = MAKELONG(0, uint16_t(-120));
  filter.lParam = LPARAM(MAKELONG(uint16_t(-5), 300));
  EXPECT_EQ(SendMessageW(child->HostHandle(), WM_NOTIFY, 0x2000, &filter), 0);
  ASSERT_EQ(recorder.wheels.size(), 1u);
  EXPECT_EQ(recorder.wheels[0].first, filter.wParam);
  EXPECT_EQ(recorder.wheels[0].second, filter.lParam);
  handle = true;
  EXPECT_NE(SendMessageW(child->HostHandle(), WM_NOTIFY, 0x2000, &filter), 0);
  EXPECT_EQ(recorder.wheels.size(), 1u);
  DestroyWindow(form);
}

TEST_F(EditorTest, InputMethodTextIsReportedOnceTheWidgetIsDone) {
  int changes = 0, selections = 0;
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->OnSelectionChange = [&](TObject*) { ++selections; };
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("日本"));
  QApplication::sendEvent(View(), &commit);
  EXPECT_EQ(memo->Text(), u"日本");
  QApplication::processEvents();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(selections, 1);
  EXPECT_TRUE(memo->GetModified());
}

TEST_F(EditorTest, ContextMenuRequestsReachTheHost) {
  memo->setContextMenuPolicy(Qt::CustomContextMenu);
  int requests = 0;
  QObject::connect(memo, &QWidget::customContextMenuRequested, [&](const QPoint&) { ++requests; });
  QWidget* viewport = View()->viewport();
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                         viewport->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(viewport, &menu);
  EXPECT_EQ(requests, 1);
}

TEST_F(EditorTest, NotificationsFromOtherWindowsAreIgnored) {
  int changes = 0;
  memo->OnSelectionChange = [&](TObject*) { ++changes; };
  SELCHANGE change;
  change.nmhdr = {reinterpret_cast<HWND>(uintptr_t(0x1234)), 0x2000, EN_SELCHANGE};
  SendMessageW(memo->HostHandle(), WM_NOTIFY, 0x2000, &change);
  EXPECT_EQ(changes, 0);
  change.nmhdr.hwndFrom = Wrapper()->Handle;
  SendMessageW(memo->HostHandle(), WM_NOTIFY, 0x2000, &change);
  EXPECT_EQ(changes, 1);
}

TEST_F(EditorTest, EventsReachTheirHandlers) {
  int changes = 0, selections = 0, updates = 0;
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->OnUpdate = [&](TObject*) { ++updates; };
  memo->OnSelectionChange = [&](TObject*) { ++selections; };
  Type(Qt::Key_A, QStringLiteral("a"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(selections, 1);
  memo->SetSelStart(0);
  EXPECT_EQ(selections, 2);
  memo->SetSelStart(0);
  EXPECT_EQ(selections, 2) << "no change, no notice";
}

TEST_F(EditorTest, MouseMessagesRaiseTheMouseEventsBeforeTheTextActs) {
  std::vector<std::string> seen;
  memo->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int x, int y) {
    seen.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," +
                   std::to_string(y));
  };
  memo->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
    seen.push_back("up " + std::to_string(button));
  };
  memo->OnMouseMove = [&](TObject*, TShiftState, int x, int) {
    seen.push_back("move " + std::to_string(x));
  };
  memo->OnDblClick = [&](TObject*) { seen.push_back("double"); };
  QWidget* viewport = View()->viewport();
  QPoint at(20, 12);
  QPoint client = viewport->mapTo(View(), at);
  auto send = [&](QEvent::Type type, Qt::MouseButton button) {
    QMouseEvent event(type, at, viewport->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
  };
  send(QEvent::MouseMove, Qt::NoButton);
  send(QEvent::MouseButtonPress, Qt::RightButton);
  send(QEvent::MouseButtonRelease, Qt::RightButton);
  send(QEvent::MouseButtonDblClick, Qt::LeftButton);
  std::string down = "down 1 " + std::to_string(client.x()) + "," + std::to_string(client.y());
  EXPECT_THAT(seen,
              ::testing::ElementsAre("move " + std::to_string(client.x()), down, "up 1", "double"));
}

TEST_F(EditorTest, ScrollingRaisesTheScrollEventWithTheThumbPosition) {
  WideString lines;
  for (int i = 0; i < 200; ++i) lines += u"line\r";
  memo->SetText(lines);
  int position = -1;
  memo->OnVScroll = [&](TObject*, int32_t pos) { position = pos; };
  View()->verticalScrollBar()->setValue(7);
  EXPECT_EQ(position, 7);
}

// Text, breaks and selection

TEST_F(EditorTest, GetTextAndGetSelTextUseTheirOwnBreaks) {
  struct Case {
    TMyNewLine newLine;
    const char16_t* text;
    const char16_t* selected;
  } cases[] = {
      {nlCRLF, u"a\r\nb\r\nc", u"a\r\nb\r\nc"},
      {nlCR, u"a\rb\rc", u"a\rb\rc"},
      {nlLF, u"a\rb\rc", u"a\nb\nc"},
  };
  memo->SetText(u"a\rb\nc");
  memo->SelectAll();
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.newLine));
    memo->SetNewLine(c.newLine);
    EXPECT_EQ(memo->Text(), c.text);
    EXPECT_EQ(memo->GetSelText(), c.selected);
  }
}

TEST_F(EditorTest, SelectionLengthIgnoresNegativeAndCollapsesAtZero) {
  memo->SetText(u"abcdef");
  memo->SetSelStart(2);
  memo->SetSelLength(3);
  EXPECT_EQ(memo->GetSelText(), u"cde");
  memo->SetSelLength(-1);
  EXPECT_EQ(memo->SelLength(), 3);
  memo->SetSelLength(0);
  EXPECT_EQ(memo->SelStart(), 2);
  EXPECT_EQ(memo->SelLength(), 0);
  EXPECT_FALSE(memo->HasSelection());
}

TEST_F(EditorTest, ReplaceSelectionUndoesAndRedoes) {
  memo->SetText(u"hello world");
  EXPECT_FALSE(memo->CanUndo());
  memo->SetSelStart(6);
  memo->SetSelLength(5);
  memo->SetSelText(u"there");
  EXPECT_EQ(memo->Text(), u"hello there");
  ASSERT_TRUE(memo->CanUndo());
  memo->Undo();
  EXPECT_EQ(memo->Text(), u"hello world");
  ASSERT_TRUE(memo->CanRedo());
  memo->Redo();
  EXPECT_EQ(memo->Text(), u"hello there");
  EXPECT_TRUE(memo->Focused()) << "editing leaves the focus in the text";
}

TEST_F(EditorTest, ClipboardReplaceIsThreeUndoableEdits) {
  memo->SetText(u"old");
  clipboard->SimulateCopy(WideString(u"new\r\ntext"), std::nullopt);
  memo->SelectAll();
  memo->ClearSelection();
  memo->PasteFromClipboard();
  EXPECT_EQ(memo->Text(), u"new\r\ntext");
  memo->Undo();
  EXPECT_EQ(memo->Text(), u"");
  memo->Undo();
  EXPECT_EQ(memo->Text(), u"old");
}

TEST_F(EditorTest, CopyAndCutUseTheNewLineConvention) {
  memo->SetText(u"a\rb");
  memo->SelectAll();
  memo->CopyToClipboard();
  EXPECT_EQ(clipboard->Unicode, WideString(u"a\r\nb"));
  memo->CutToClipboard();
  EXPECT_EQ(memo->Text(), u"");
}

// Regression: a paste with nothing to paste deleted the selection, and so did a
// cut whose copy never reached a busy clipboard.
TEST_F(EditorTest, PasteWithNothingToPasteAndCutThatCouldNotCopyChangeNothing) {
  struct Case {
    const char* name;
    bool busy;
    std::optional<WideString> clipboardText;
  } cases[] = {
      {"busy clipboard", true, WideString(u"new")},
      {"no text on the clipboard", false, std::nullopt},
      {"empty text on the clipboard", false, WideString()},
  };
  auto select = [&] {
    memo->SetText(u"hello");
    memo->SetSelStart(1);
    memo->SetSelLength(3);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clipboard->RefuseOpen = false;
    clipboard->SimulateCopy(c.clipboardText, std::nullopt);
    clipboard->RefuseOpen = c.busy;
    select();
    memo->PasteFromClipboard();
    EXPECT_EQ(memo->Text(), u"hello");
    EXPECT_EQ(memo->SelLength(), 3);
    if (c.busy) ExpectWarning(platform::kLogClipboard, "reading the clipboard failed");
    select();
    Type(Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(memo->Text(), u"hello") << "Ctrl+V";
    EXPECT_EQ(memo->SelLength(), 3);
    if (c.busy) ExpectWarning(platform::kLogClipboard, "reading the clipboard failed");
  }
  clipboard->RefuseOpen = false;
  clipboard->SimulateCopy(WideString(u"kept"), std::nullopt);
  clipboard->RefuseOpen = true;
  select();
  memo->CutToClipboard();
  EXPECT_EQ(memo->Text(), u"hello");
  ExpectWarning(platform::kLogClipboard, "writing the clipboard failed");
  select();
  Type(Qt::Key_X, QString(), Qt::ControlModifier);
  EXPECT_EQ(memo->Text(), u"hello") << "Ctrl+X";
  ExpectWarning(platform::kLogClipboard, "writing the clipboard failed");
  EXPECT_EQ(clipboard->Unicode, WideString(u"kept"));
}

TEST_F(EditorTest, ZeroCodeUnitEndsAnInsertedText) {
  memo->SetSelText(WideString(u"ab\0cd", 5));
  EXPECT_EQ(memo->Text(), u"ab");
}

TEST_F(EditorTest, FontChangesReachTheTextWithoutMarkingItModified) {
  memo->SetText(u"abc");
  memo->Font()->SetSize(72);
  EXPECT_EQ(View()->font().pixelSize(), 96);
  EXPECT_FALSE(memo->GetModified());
  memo->Font()->SetColor(clRed);
  EXPECT_EQ(View()->palette().color(QPalette::Text), QColor(255, 0, 0));
  Type(Qt::Key_X, QStringLiteral("x"));
  EXPECT_TRUE(memo->GetModified());
  TFont other;
  other.SetSize(20);
  memo->SetFont(other);
  EXPECT_TRUE(memo->GetModified()) << "a modified text stays modified";
  EXPECT_EQ(memo->Font()->Size(), 20);
  EXPECT_EQ(View()->font().pixelSize(), 27);
}

TEST_F(EditorTest, LookChangesAreNoTextChanges) {
  memo->SetText(u"abc");
  int changes = 0;
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->Font()->SetSize(40);
  memo->Font()->SetColor(clBlue);
  memo->SetColor(clAqua);
  memo->SetTab(8);
  memo->SetReadOnly(true);
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(memo->GetModified());
}

// Regression: tab stops were measured with the text's own font, so at 72 points
// one tab was about 768 pixels wide and "ab<Tab>cd" wrapped onto two lines.
TEST_F(EditorTest, TabStopsAreMeasuredInTheInterfaceFontWhateverTheTextsSize) {
  memo->Font()->SetSize(72);
  const qreal defaultStop = View()->tabStopDistance();
  const qreal letter = QFontMetricsF(QApplication::font()).horizontalAdvance(u'x');
  EXPECT_GT(defaultStop, 4 * letter);
  EXPECT_LT(defaultStop, 16 * letter) << "about eight characters of the interface font";
  memo->Font()->SetSize(8);
  EXPECT_DOUBLE_EQ(View()->tabStopDistance(), defaultStop);
  memo->SetTab(4);  // four average characters: half the default
  EXPECT_DOUBLE_EQ(View()->tabStopDistance(), defaultStop / 2);
  memo->SetTab(0);
  EXPECT_DOUBLE_EQ(View()->tabStopDistance(), defaultStop);
}

TEST_F(EditorTest, EmptyMeansNoTextAndOneLine) {
  EXPECT_TRUE(memo->IsEmpty());
  memo->SetText(u"\r");
  EXPECT_FALSE(memo->IsEmpty());
  memo->Clear();
  EXPECT_TRUE(memo->IsEmpty());
}

TEST_F(EditorTest, PropertiesRoundTripThroughTheWrapper) {
  memo->SetTab(4);
  EXPECT_EQ(memo->Tab(), 4);
  memo->SetColor(clAqua);
  EXPECT_EQ(memo->Color(), clAqua);
  EXPECT_EQ(View()->palette().color(QPalette::Base), QColor(0, 255, 255));
  memo->SetAutoFont(false);
  EXPECT_FALSE(memo->AutoFont());
  memo->SetAutoFont(true);
  EXPECT_TRUE(memo->AutoFont());
  memo->SetWordWrap(true);  // every setting survives a re-creation
  EXPECT_EQ(memo->Tab(), 4);
  EXPECT_EQ(memo->Color(), clAqua);
  EXPECT_EQ(View()->palette().color(QPalette::Base), QColor(0, 255, 255));
  EXPECT_TRUE(memo->AutoFont());
  EXPECT_EQ(SendMessageW(Wrapper()->Handle, EM_GETLANGOPTIONS, 0, 0) & IMF_UIFONTS, IMF_UIFONTS);
  memo->SetWideLine(true);
  EXPECT_EQ(SendMessageW(Wrapper()->Handle, EM_GETLANGOPTIONS, 0, 0) & IMF_UIFONTS, 0);
}

// Lines and the text at the caret

TEST_F(EditorTest, TextAtCaretAppendsTheBreakExceptOnTheLastLine) {
  memo->SetText(u"ab\rcd\r");
  struct Case {
    TMyNewLine newLine;
    int caret;
    int count;
    const char16_t* expected;
  } cases[] = {
      {nlCRLF, 0, 2, u"ab"},   {nlCRLF, 2, 1, u"\r"},     {nlCRLF, 2, 2, u"\r\n"},
      {nlCRLF, 5, 2, u"\r\n"}, {nlCRLF, 6, 1, u""},       {nlLF, 2, 2, u"\n"},
      {nlCR, 1, 3, u"b\r"},    {nlCRLF, 3, 9, u"cd\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << int(c.newLine) << " caret " << c.caret << " count " << c.count);
    memo->SetNewLine(c.newLine);
    memo->SetSelStart(c.caret);
    EXPECT_EQ(memo->GetTextAtCaret(c.count), c.expected);
  }
}

TEST_F(EditorTest, TextAtCaretEqualsGetLineTextEverywhere) {
  memo->SetText(u"𠮷x\r\r  tab\there\rlast");
  for (TMyNewLine newLine : {nlCRLF, nlCR, nlLF}) {
    memo->SetNewLine(newLine);
    for (int caret = 0; caret <= 20; ++caret) {
      memo->SetSelStart(caret);
      for (int count = 1; count <= 3; ++count) {
        SCOPED_TRACE(testing::Message() << int(newLine) << " " << caret << " " << count);
        EXPECT_EQ(memo->GetTextAtCaret(count),
                  Wrapper()->GetLineText(memo->CaretLine(), memo->CaretColumn(), count));
      }
    }
  }
  memo->SetSelStart(0);
  EXPECT_EQ(memo->GetTextAtCaret(2), u"𠮷");
}

TEST_F(EditorTest, TextAtCaretNeverAsksForAWholeLineOrText) {
  MessageSpy spy;
  auto spied = std::make_unique<TMyMemo>(parent.get());  // gone before the spy
  spied->SetText(WideString(200000, u'x') + u"\r" + WideString(10, u'y'));
  spied->SetSelStart(100000);
  spy.Log.clear();
  EXPECT_EQ(spied->GetTextAtCaret(2), u"xx");
  std::set<UINT> asked;
  for (const Entry& e : spy.Log) asked.insert(e.msg);
  for (UINT whole : {UINT(WM_GETTEXT), EM_GETTEXTEX, EM_GETLINE, EM_GETSELTEXT})
    EXPECT_FALSE(asked.count(whole)) << whole;
  EXPECT_TRUE(asked.count(EM_GETTEXTRANGE));
}

TEST_F(EditorTest, LineQueriesClampTheirIndex) {
  memo->SetText(u"zero\rone\rtwo");
  memo->SetSelStart(6);
  EXPECT_EQ(memo->LineCount(), 3);
  EXPECT_EQ(memo->CaretLine(), 1);
  EXPECT_EQ(memo->CaretColumn(), 1);
  EXPECT_EQ(memo->GetLine(-1), u"one");
  EXPECT_EQ(memo->GetLine(-5), u"one");
  EXPECT_EQ(memo->GetLine(9), u"two");
  EXPECT_EQ(memo->GetLine(0), u"zero");
}

TEST_F(EditorTest, LinesLongerThanTheLineRequestWordAreReadWhole) {
  WideString longLine(70000, u'x');
  memo->SetText(longLine + u"\rb");
  EXPECT_EQ(memo->GetLine(0), longLine);
  EXPECT_EQ(memo->GetLine(1), u"b");
}

// Files

class EditorFileTest : public EditorTest {
 protected:
  test::TempDir dir;
};

TEST_F(EditorFileTest, LoadUnifiesBreaksAndSaveWritesThemBackByteForByte) {
  struct Case {
    const char* name;
    std::string bytes;
    TMyNewLine newLine;
  } cases[] = {
      {"crlf", "one\r\ntwo\r\n", nlCRLF},
      {"cr", "one\rtwo\r", nlCR},
      {"lf", "one\ntwo\n", nlLF},
      {"none", "\xE6\x97\xA5\xE6\x9C\xAC", nlCRLF},  // 日本
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteBytes(dir / "in.txt", c.bytes);
    TMyCharCode code = cdUTF_8N;
    memo->LoadFromFile(dir.Wide("in.txt"), code);
    EXPECT_EQ(memo->NewLine(), c.newLine);
    EXPECT_EQ(memo->LineCount(),
              1 + int(std::count(c.bytes.begin(), c.bytes.end(), '\n') +
                      (c.newLine == nlCR ? std::count(c.bytes.begin(), c.bytes.end(), '\r') : 0)));
    EXPECT_TRUE(memo->SaveToFile(dir.Wide("out.txt"), cdUTF_8N));
    EXPECT_EQ(test::Hex(test::ReadBytes(dir / "out.txt")), test::Hex(c.bytes));
  }
}

TEST_F(EditorFileTest, MixedBreaksLoadAsCrLf) {
  test::WriteBytes(dir / "mixed.txt", "a\rb\nc\r\nd");
  TMyCharCode code = cdUTF_8N;
  memo->LoadFromFile(dir.Wide("mixed.txt"), code);
  EXPECT_EQ(memo->NewLine(), nlCRLF);
  memo->SetNewLine(nlCR);
  EXPECT_EQ(memo->Text(), u"a\rb\rc\rd");
  ASSERT_TRUE(memo->SaveToFile(dir.Wide("lf.txt"), cdUTF_8N, nlLF));
  EXPECT_EQ(test::ReadBytes(dir / "lf.txt"), "a\nb\nc\nd");
  EXPECT_EQ(memo->NewLine(), nlCR) << "saving with a given convention changes no field";
}

TEST_F(EditorFileTest, ZeroInTheDecodedTextCutsIt) {
  test::WriteBytes(dir / "nul.txt", std::string("ab\0cd", 5));
  TMyCharCode code = cdUTF_8N;
  memo->LoadFromFile(dir.Wide("nul.txt"), code);
  EXPECT_EQ(memo->Text(), u"ab");
}

TEST_F(EditorFileTest, LoadWithOnlyANameDetectsTheCode) {
  test::WriteBytes(dir / "utf8.txt", "\xEF\xBB\xBF\xE3\x81\x82");  // BOM, あ
  memo->SetCharCode(cdSJis);
  memo->LoadFromFile(dir.Wide("utf8.txt"));
  EXPECT_EQ(memo->Text(), u"あ");
  EXPECT_EQ(memo->CharCode(), cdUTF_8);
}

// Focus and indentation

class EditorFocusTest : public EditorTest {
 protected:
  /// Puts the fake mouse pointer over the middle of a character of the text.
  void PointAt(int index) {
    QTextCursor cursor(View()->document());
    cursor.setPosition(index);
    QRect before = View()->cursorRect(cursor);
    cursor.setPosition(index + 1);
    QRect after = View()->cursorRect(cursor);
    QPoint middle((before.left() + after.left()) / 2, before.center().y());
    QPoint global = View()->viewport()->mapToGlobal(middle);
    screens->Cursor = {global.x(), global.y()};
  }
};

TEST_F(EditorFocusTest, FocusGainedUnderTheMousePlacesTheCaret) {
  memo->SetText(u"abcdef");
  memo->SetSelStart(5);
  SetFocus(nullptr);
  PointAt(3);
  SetFocus(Wrapper()->Handle);  // what a click on the text does
  EXPECT_EQ(memo->SelStart(), 3);
  EXPECT_EQ(memo->SelLength(), 0);

  SetFocus(nullptr);
  memo->SetSelStart(5);
  PointAt(0);
  SetFocus(Wrapper()->Handle);
  EXPECT_EQ(memo->SelStart(), 5) << "over the first character nothing moves";

  SetFocus(nullptr);
  screens->Cursor = {5000, 5000};
  SetFocus(Wrapper()->Handle);
  EXPECT_EQ(memo->SelStart(), 5) << "outside nothing moves";
}

// Regression: re-creation restored the selection, then gave the focus, and the
// focus notice put the caret under the mouse pointer.
TEST_F(EditorFocusTest, RecreationGivesBackTheSelectionWhereverThePointerIs) {
  struct Case {
    const char* name;
    std::function<void()> recreate;
  } cases[] = {
      {"word wrap", [&] { memo->SetWordWrap(!memo->WordWrap()); }},
      {"wide line", [&] { memo->SetWideLine(!memo->WideLine()); }},
      {"auto font", [&] { memo->SetAutoFont(!memo->AutoFont()); }},
  };
  memo->SetText(u"abcdefgh");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo->SetSelStart(1);
    memo->SetSelLength(3);
    PointAt(6);
    c.recreate();
    EXPECT_EQ(memo->SelStart(), 1);
    EXPECT_EQ(memo->SelLength(), 3);
    memo->SetSelStart(2);
    PointAt(6);
    c.recreate();
    EXPECT_EQ(memo->SelStart(), 2) << "an empty selection too";
    EXPECT_EQ(memo->SelLength(), 0);
  }
}

TEST_F(EditorFocusTest, SetFocusKeepsTheCaretAndRaisesEnterAndExit) {
  int enters = 0, exits = 0;
  memo->OnEnter = [&](TObject*) { ++enters; };
  memo->OnExit = [&](TObject*) { ++exits; };
  memo->SetText(u"abcdef");
  memo->SetSelStart(2);
  SetFocus(nullptr);
  PointAt(4);
  memo->SetFocus();
  EXPECT_TRUE(memo->Focused());
  EXPECT_EQ(memo->SelStart(), 2);
  EXPECT_EQ(enters, 1);
  SetFocus(nullptr);
  EXPECT_EQ(exits, 1);
}

TEST_F(EditorTest, AutoIndentRepeatsTheIndentBeforeTheCaretOnce) {
  memo->SetAutoIndent(true);
  int changes = 0;
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->SetText(u"  \tfoo");
  memo->SetSelStart(6);
  changes = 0;
  Type(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(memo->Text(), u"  \tfoo\r\n  \t");
  EXPECT_EQ(memo->SelStart(), 10);
  EXPECT_EQ(changes, 2) << "the break and the indent, each reported once";

  memo->SetText(u"  \tfoo");
  memo->SetSelStart(1);
  Type(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(memo->Text(), u" \r\n  \tfoo");
}

// Regression: the indent of a Return that inserted nothing waited for the next
// change and landed in unrelated text.
TEST_F(EditorTest, AutoIndentBelongsToTheOneReturnThatMadeTheBreak) {
  memo->SetAutoIndent(true);
  auto returnAtEnd = [&] {
    memo->SetText(u"  foo");
    memo->SetSelStart(5);
    Type(Qt::Key_Return, QStringLiteral("\r"));
  };
  memo->SetReadOnly(true);
  returnAtEnd();
  memo->SetReadOnly(false);
  EXPECT_EQ(memo->Text(), u"  foo") << "read-only";
  memo->SetText(u"new");
  EXPECT_EQ(memo->Text(), u"new");

  memo->OnKeyDown = [](TObject*, uint16_t& key, TShiftState) {
    if (key == VK_RETURN) key = 0;
  };
  returnAtEnd();
  EXPECT_EQ(memo->Text(), u"  foo") << "a key handler kept the Return out";
  memo->OnKeyDown = nullptr;
  memo->SetSelText(u"x");
  EXPECT_EQ(memo->Text(), u"  foox");

  memo->OnKeyPress = [](TObject*, char16_t& key) {
    if (key == u'\r') key = 0;
  };
  returnAtEnd();
  memo->OnKeyPress = nullptr;
  memo->SetSelText(u"x");
  EXPECT_EQ(memo->Text(), u"  foox") << "a key-press handler dropped the Return";
}

// The replace-all routine

TEST(WideReplaceAllTest, Cases) {
  struct Case {
    const char16_t *text, *find, *replacement;
    bool caseSensitive;
    const char16_t* expected;
  } cases[] = {
      {u"a\rb\r", u"\r", u"\r\n", true, u"a\r\nb\r\n"},
      {u"abc", u"", u"x", true, u"abc"},
      {u"", u"a", u"x", true, u""},
      {u"a\"\"b\"\"c", u"\"\"", u"\"", true, u"a\"b\"c"},
      {u"aaa", u"aa", u"b", true, u"ba"},
      {u"AbAB", u"ab", u"x", false, u"xx"},
      {u"AbAB", u"ab", u"x", true, u"AbAB"},
      {u"abab", u"ab", u"", true, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::U8(c.text));
    EXPECT_EQ(WideReplaceAll(c.text, c.find, c.replacement, c.caseSensitive), c.expected);
  }
}

}  // namespace
}  // namespace magna
