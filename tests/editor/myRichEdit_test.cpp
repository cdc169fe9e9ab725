// The rich-edit window's own editing on long lines: its display splits them at
// soft breaks, which the user's keys must never notice.
#include "editor/myRichEdit.h"

#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <chrono>

#include "editor/myRichEditText.h"
#include "platform/qt/qtText.h"
#include "tests/editor/editorFixture.h"

namespace magna {
namespace {

using namespace platform;

class LongLineTest : public test::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    for (int i = 0; i < 10000; ++i) original.push_back(char16_t(u'0' + i % 10));
    memo->SetNewLine(nlCR);
    memo->SetText(original);
    store = dynamic_cast<TRichEditWindow*>(GetWindowObject(Wrapper()->Handle))->Text();
    soft = View()->document()->firstBlock().length() - 1;  // text index of the first soft break
    ASSERT_GT(store->SoftBreakCount(), 0);
  }
  /// Puts the widget's own cursor at a document position (either side of a soft break).
  void PlaceAtDocument(int position) {
    QTextCursor cursor = View()->textCursor();
    cursor.setPosition(position);
    View()->setTextCursor(cursor);
  }
  WideString Without(int index) const {
    return original.substr(0, size_t(index)) + original.substr(size_t(index) + 1);
  }

  WideString original;
  TRichEditText* store = nullptr;
  int soft = 0;
};

TEST_F(LongLineTest, ArrowKeysCrossASoftBreakInOneStep) {
  memo->SetSelStart(soft - 1);
  Type(Qt::Key_Right, QString());
  EXPECT_EQ(memo->SelStart(), soft);
  Type(Qt::Key_Right, QString());
  EXPECT_EQ(memo->SelStart(), soft + 1);
  Type(Qt::Key_Left, QString());
  Type(Qt::Key_Left, QString());
  EXPECT_EQ(memo->SelStart(), soft - 1);
}

// Regression: without word wrap a line longer than the display split was navigated
// as several rows: Home from 5000 went to 4096, End from 10 to 2048, Down from 10
// stayed on the same line.
TEST_F(LongLineTest, WithoutWrapHomeEndUpAndDownActOnTheWholeLine) {
  ASSERT_FALSE(memo->WordWrap());
  memo->SetText(original + u"\r12345\r" + original);  // digits: one width, x is the column
  const int second = 10001, third = 10007, total = 20007;
  const auto shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
  struct Case {
    const char* name;
    int from;
    int key;
    Qt::KeyboardModifiers mods;
    int selStart, selLength;
  } cases[] = {
      {"Home", 5000, Qt::Key_Home, {}, 0, 0},
      {"End", 10, Qt::Key_End, {}, 10000, 0},
      {"Shift+Home", 5000, Qt::Key_Home, shift, 0, 5000},
      {"Shift+End", 10, Qt::Key_End, shift, 10, 9990},
      {"Home on the third line", third + 7000, Qt::Key_Home, {}, third, 0},
      {"Down", 3, Qt::Key_Down, {}, second + 3, 0},
      {"Down from deep in the line", 5000, Qt::Key_Down, {}, second + 5, 0},
      {"Down into a long line", second + 2, Qt::Key_Down, {}, third + 2, 0},
      {"Up into a long line", second + 2, Qt::Key_Up, {}, 2, 0},
      {"Up from a long line", third + 4, Qt::Key_Up, {}, second + 4, 0},
      {"Shift+Down", 3, Qt::Key_Down, shift, 3, second},
      {"Shift+Up", second + 1, Qt::Key_Up, shift, 1, second},
      {"Up on the first line", 3, Qt::Key_Up, {}, 3, 0},
      {"Down on the last line", third + 3, Qt::Key_Down, {}, third + 3, 0},
      {"Ctrl+End", 3, Qt::Key_End, ctrl, total, 0},
      {"Ctrl+Home", 9000, Qt::Key_Home, ctrl, 0, 0},
      {"Shift+Ctrl+End", third + 9000, Qt::Key_End, shift | ctrl, third + 9000, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo->SetSelStart(c.from);
    Type(c.key, QString(), c.mods);
    EXPECT_EQ(memo->SelStart(), c.selStart);
    EXPECT_EQ(memo->SelLength(), c.selLength);
  }
  memo->SetSelStart(3);
  Type(Qt::Key_Down, QString());
  Type(Qt::Key_Down, QString());
  EXPECT_EQ(memo->SelStart(), third + 3) << "the goal column outlives a row";
}

TEST_F(LongLineTest, BackspaceAndDeleteAtASoftBreakRemoveRealCharacters) {
  PlaceAtDocument(store->ToDocument(soft));  // start of the continuation block
  Type(Qt::Key_Backspace, QStringLiteral("\b"));
  EXPECT_EQ(memo->Text(), Without(soft - 1));
  EXPECT_EQ(memo->SelStart(), soft - 1);

  memo->SetText(original);
  PlaceAtDocument(store->ToDocument(soft) - 1);  // end of the block before the break
  Type(Qt::Key_Delete, QString());
  EXPECT_EQ(memo->Text(), Without(soft));
  EXPECT_TRUE(store->IndexConsistent());
}

TEST_F(LongLineTest, ReturnInsideAContinuationMakesAHardBreak) {
  memo->SetSelStart(soft + 10);
  Type(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(memo->Text(),
            original.substr(0, size_t(soft) + 10) + u"\r" + original.substr(size_t(soft) + 10));
  EXPECT_EQ(memo->LineCount(), 2);
  EXPECT_EQ(memo->CaretLine(), 1);
  EXPECT_EQ(memo->CaretColumn(), 0);
  memo->Undo();
  EXPECT_EQ(memo->Text(), original);
  EXPECT_EQ(memo->LineCount(), 1);
  EXPECT_TRUE(store->IndexConsistent());
}

TEST_F(LongLineTest, TypingOnEitherSideOfASoftBreakInsertsAtTheSameIndex) {
  for (int position : {store->ToDocument(soft) - 1, store->ToDocument(soft)}) {
    memo->SetText(original);
    PlaceAtDocument(position);
    Type(Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(memo->Text(),
              original.substr(0, size_t(soft)) + u"a" + original.substr(size_t(soft)));
    EXPECT_EQ(memo->SelStart(), soft + 1);
  }
}

TEST_F(LongLineTest, SelectionAndCopyIgnoreSoftBreaks) {
  memo->SetSelStart(soft - 2);
  memo->SetSelLength(4);
  EXPECT_EQ(memo->GetSelText(), original.substr(size_t(soft) - 2, 4));
  Type(Qt::Key_C, QString(), Qt::ControlModifier);
  EXPECT_EQ(clipboard->Unicode, original.substr(size_t(soft) - 2, 4));
  clipboard->SimulateCopy(WideString(u"x\r\ny"), std::nullopt);
  Type(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(memo->Text(),
            original.substr(0, size_t(soft) - 2) + u"x\ry" + original.substr(size_t(soft) + 2));
  EXPECT_EQ(memo->LineCount(), 2);
}

TEST_F(LongLineTest, ReadOnlyTextKeepsKeyboardSelectionButRefusesEdits) {
  memo->SetReadOnly(true);
  memo->SetSelStart(3);
  Type(Qt::Key_Right, QString(), Qt::ShiftModifier);
  EXPECT_EQ(memo->SelLength(), 1);
  Type(Qt::Key_A, QStringLiteral("a"));
  Type(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(memo->Text(), original);
}

// Many short lines share display blocks, separated inside a block by U+2028:
// keys, copies and line queries see one "\r" per break all the same.
class PackedLinesTest : public test::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    for (int i = 0; i < 3000; ++i) original += u"ab\r";
    original += u"end";
    memo->SetNewLine(nlCR);
    memo->SetText(original);
    ASSERT_LT(View()->document()->blockCount(), 100) << "packed";
  }
  WideString original;
};

TEST_F(PackedLinesTest, KeysCopiesAndLinesSeeOneBreak) {
  memo->SetSelStart(2);  // at the end of line 0
  EXPECT_EQ(memo->GetTextAtCaret(2), u"\r") << "the break that ends the line";
  Type(Qt::Key_Right, QString());
  EXPECT_EQ(memo->SelStart(), 3);
  EXPECT_EQ(memo->CaretLine(), 1);
  EXPECT_EQ(memo->CaretColumn(), 0);
  Type(Qt::Key_Backspace, QStringLiteral("\b"));  // removes the break
  EXPECT_EQ(memo->Text(), original.substr(0, 2) + original.substr(3));
  EXPECT_EQ(memo->LineCount(), 3000);
  Type(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(memo->Text(), original);
  EXPECT_EQ(memo->LineCount(), 3001);
  memo->SetSelStart(1);
  memo->SetSelLength(4);
  Type(Qt::Key_C, QString(), Qt::ControlModifier);
  EXPECT_EQ(clipboard->Unicode, u"b\r\nab");
  EXPECT_EQ(memo->GetLine(2999), u"ab");
  EXPECT_EQ(memo->GetLine(3000), u"end");
}

TEST_F(PackedLinesTest, ATypedLineSeparatorStaysACharacter) {
  memo->SetSelStart(1);
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf16(u"x\u2028"));
  QApplication::sendEvent(View(), &commit);
  Type(Qt::Key_unknown, QString::fromUtf16(u"\u2028"));
  EXPECT_EQ(memo->Text(), original.substr(0, 1) + u"x\u2028\u2028" + original.substr(1));
  EXPECT_EQ(memo->LineCount(), 3001);
  EXPECT_EQ(memo->SelStart(), 4);
}

TEST_F(PackedLinesTest, ClipboardReplaceOverALongLineKeepsEveryBreak) {
  memo->SetText(WideString(20000, u'x'));  // ends in a continuation block
  clipboard->SimulateCopy(original, std::nullopt);
  memo->SelectAll();
  memo->ClearSelection();
  memo->PasteFromClipboard();
  EXPECT_EQ(memo->Text(), original);
  EXPECT_EQ(memo->LineCount(), 3001);
  memo->Undo();
  memo->Undo();
  EXPECT_EQ(memo->Text(), WideString(20000, u'x'));
  EXPECT_EQ(memo->LineCount(), 1);
}

// Regression: Qt's insertion took U+2029, U+FDD0 and U+FDD1 for block separators,
// so each came back as a line break ("a\u2029b" read "a\rb", and was saved so).
using CharacterTest = test::EditorTest;

TEST_F(CharacterTest, SeparatorsAndNoncharactersComeBackOnEveryWayIn) {
  const WideString units[] = {u"\u2029", u"\uFDD0", u"\uFDD1", u"\u2028", u"\uFFFD"};
  WideString big;  // large enough for the packed path
  for (int i = 0; i < 1500; ++i) big += WideString(u"ab\r") + units[size_t(i) % std::size(units)];
  memo->SetNewLine(nlCR);
  for (const WideString& unit : units) {
    SCOPED_TRACE(test::U8(unit));
    const WideString text = u"a" + unit + u"b\r" + unit;
    memo->SetText(text);
    EXPECT_EQ(memo->Text(), text) << "set whole";
    EXPECT_EQ(memo->LineCount(), 2);
    memo->SelectAll();
    memo->SetSelText(text + text);
    EXPECT_EQ(memo->Text(), text + text) << "SetSelText";
    memo->SetSelStart(1);
    memo->SetSelLength(1);
    EXPECT_EQ(memo->GetSelText(), unit);
    EXPECT_EQ(memo->GetTextAtCaret(1), unit);
    memo->Clear();
    Type(Qt::Key_A, QStringLiteral("a"));
    Type(Qt::Key_unknown, platform::qt::ToQString(unit));
    Type(Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(memo->Text(), u"a" + unit + u"b") << "typed";
    QInputMethodEvent commit;
    commit.setCommitString(platform::qt::ToQString(unit + u"c"));
    QApplication::sendEvent(View(), &commit);
    Type(Qt::Key_D, QStringLiteral("d"));  // typed next to a stand-in
    EXPECT_EQ(memo->Text(), u"a" + unit + u"b" + unit + u"cd") << "input method";
    memo->Undo();
    memo->Redo();
    EXPECT_EQ(memo->Text(), u"a" + unit + u"b" + unit + u"cd") << "undone and redone";
    memo->SelectAll();
    memo->SetSelText(big);
    EXPECT_EQ(memo->Text(), big) << "packed";
    memo->SetText(big);
    EXPECT_EQ(memo->Text(), big) << "packed, set whole";
    EXPECT_EQ(memo->LineCount(), 1501);
  }
  memo->SetWordWrap(!memo->WordWrap());
  EXPECT_EQ(memo->Text(), big) << "re-created";
}

TEST_F(CharacterTest, AFileHoldingAParagraphSeparatorIsSavedAsItWasRead) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.txt",
                   "a\xE2\x80\xA9"
                   "b\r\nc");  // UTF-8 without a mark
  TMyCharCode code = cdUTF_8N;
  memo->LoadFromFile(dir.Wide("in.txt"), code);
  ASSERT_TRUE(memo->SaveToFile(dir.Wide("out.txt"), cdUTF_8N));
  EXPECT_EQ(test::Hex(test::ReadBytes(dir / "out.txt")), test::Hex("a\xE2\x80\xA9"
                                                                   "b\r\nc"));
}

// Regression: a whole new text with one long line went through a path that laid
// out the entire line at once (seconds for a few megabytes).
using LayoutTest = test::EditorTest;

TEST_F(LayoutTest, ANewLongTextIsLaidOutOnlyWhereItIsShown) {
  memo->Font()->SetSize(72);  // two or three lines show
  for (bool wrap : {true, false}) {
    memo->SetWordWrap(wrap);
    auto start = std::chrono::steady_clock::now();
    memo->SetText(WideString(400000, u'x'));  // no break opportunity: quadratic to wrap whole
    QApplication::processEvents();
    // Generous even for a sanitizer build; laying the line out whole takes far longer.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    int blocks = 0, laidOut = 0;
    for (QTextBlock b = View()->document()->begin(); b.isValid(); b = b.next(), ++blocks)
      if (b.layout() && b.layout()->lineCount() > 0) ++laidOut;
    EXPECT_GT(blocks, 90);
    EXPECT_LT(laidOut, 10) << "wrap " << wrap;
  }
}

TEST_F(LayoutTest, ARunOfCombiningMarksFillsBlocksNearTheirTargetSize) {
  const WideString marks = u"e" + WideString(12000, u'\u0301');
  memo->SetText(marks);
  EXPECT_LE(View()->document()->blockCount(), 7);
  EXPECT_EQ(memo->Text(), marks);
}

// A view that narrows when a long text arrives makes Qt give every block a
// layout object at once (half a second for 400 000 short lines).
TEST_F(LayoutTest, ALongTextKeepsTheViewWidth) {
  for (bool wrap : {true, false}) {
    memo->SetWordWrap(wrap);
    QApplication::processEvents();
    int width = View()->viewport()->width();
    WideString lines;
    for (int i = 0; i < 2000; ++i) lines += u"line\r";
    memo->SelectAll();
    memo->SetSelText(lines);
    QApplication::processEvents();
    EXPECT_EQ(View()->viewport()->width(), width) << "wrap " << wrap;
  }
}

}  // namespace
}  // namespace magna
