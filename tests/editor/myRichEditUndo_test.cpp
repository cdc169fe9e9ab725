// The rich-edit stand-in's undo store: on its own over a plain string (its two
// limits, 100 steps and a memory budget; typing merged into one step; undo and
// redo agreeing with the history of random edits), and in the editor, where Qt's
// own editing reaches it through the window's capture.
#include "editor/myRichEditUndo.h"

#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QTextCursor>
#include <random>
#include <vector>

#include "tests/editor/editorFixture.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

/// A text edited the way the window edits it, remembered by the store.
class UndoneText {
 public:
  void Edit(int start, int length, const WideString& insert, bool typing = false) {
    WideString removed = text.substr(size_t(start), size_t(length));
    text.replace(size_t(start), size_t(length), insert);
    store.Record(start, std::move(removed), int(insert.size()), typing, text.size());
  }
  bool Undo() { return store.Undo(Replacer(), text.size()); }
  bool Redo() { return store.Redo(Replacer(), text.size()); }

  WideString text;
  TRichEditUndo store;

 private:
  TRichEditUndo::Replacer Replacer() {
    return [this](int start, int length, WideView with) {
      WideString replaced = text.substr(size_t(start), size_t(length));
      text.replace(size_t(start), size_t(length), with);
      return replaced;
    };
  }
};

TEST(RichEditUndoTest, KeepsTheNewestHundredSteps) {
  UndoneText t;
  for (int i = 0; i < 150; ++i) t.Edit(int(t.text.size()), 0, u"x");
  EXPECT_EQ(t.store.UndoSteps(), TRichEditUndo::MaxSteps);
  int undone = 0;
  while (t.Undo()) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(t.text, WideString(50, u'x')) << "the first 50 edits can no longer be undone";
  while (t.Redo()) {
  }
  EXPECT_EQ(t.text, WideString(150, u'x'));
}

TEST(RichEditUndoTest, TheMemoryBudgetDropsTheOldestStepsFirst) {
  const size_t big = 8u << 20;  // 16 MB as UTF-16
  EXPECT_EQ(TRichEditUndo::Budget(0), TRichEditUndo::MinBudgetBytes);
  EXPECT_EQ(TRichEditUndo::Budget(100u << 20), 400u << 20) << "twice the text as UTF-16";

  UndoneText t;
  t.text = WideString(big, u'a');
  for (char16_t c : WideString(u"bcde")) {  // four whole-text replacements: 16 MB removed each
    t.Edit(0, int(t.text.size()), WideString(big, c));
    EXPECT_LE(t.store.HeldBytes(), TRichEditUndo::Budget(t.text.size()));
  }
  // A 16 MB text may hold 64 MB: three removed texts and their bookkeeping fit, four don't.
  EXPECT_EQ(t.store.UndoSteps(), 3u);
  while (t.Undo()) EXPECT_LE(t.store.HeldBytes(), TRichEditUndo::Budget(t.text.size()));
  EXPECT_TRUE(t.text == WideString(big, u'b')) << "the first edit can't be undone";

  t.Edit(0, int(t.text.size()), u"small");  // removes 16 MB: still within 64 MB
  EXPECT_TRUE(t.store.CanUndo());
  EXPECT_FALSE(t.store.CanRedo()) << "a new edit forgets what could be redone";
}

TEST(RichEditUndoTest, AStepLargerThanTheBudgetIsNotKept) {
  UndoneText t;
  t.text = WideString(40u << 20, u'a');  // 80 MB as UTF-16
  t.Edit(0, int(t.text.size()), u"");
  EXPECT_FALSE(t.store.CanUndo());
  EXPECT_EQ(t.store.HeldBytes(), 0u);
}

TEST(RichEditUndoTest, TypingOneCharacterAfterAnotherIsOneStep) {
  UndoneText t;
  t.Edit(0, 0, u"start ");
  for (char16_t c : WideString(u"typed")) t.Edit(int(t.text.size()), 0, WideString(1, c), true);
  t.Edit(int(t.text.size()) - 1, 1, u"", true);  // backspaced twice
  t.Edit(int(t.text.size()) - 1, 1, u"", true);
  t.Edit(6, 1, u"", true);  // deleted forwards at a distance: a step of its own
  EXPECT_EQ(t.text, WideString(u"start yp"));
  ASSERT_TRUE(t.Undo());
  EXPECT_EQ(t.text, WideString(u"start typ"));
  ASSERT_TRUE(t.Undo());
  EXPECT_EQ(t.text, WideString(u"start typed"));
  ASSERT_TRUE(t.Undo());
  EXPECT_EQ(t.text, WideString(u"start "));
  t.Edit(0, 0, u"a", true);  // after an undo, typing starts anew
  t.Edit(1, 0, u"b", true);
  ASSERT_TRUE(t.Undo());
  EXPECT_EQ(t.text, WideString(u"start "));
}

TEST(RichEditUndoTest, RandomEditsUndoAndRedoThroughTheirHistory) {
  std::mt19937 random(14);  // deterministic
  auto pick = [&](size_t n) { return size_t(random() % (n + 1)); };
  const WideString pieces[] = {u"a", u"日本", u"\r", u"𠮷", u"xyz\rw"};
  UndoneText t;
  std::vector<WideString> history{t.text};
  for (int i = 0; i < 2000; ++i) {
    size_t start = pick(t.text.size());
    size_t length = pick(std::min<size_t>(t.text.size() - start, 5));
    WideString insert = random() % 3 ? pieces[random() % 5] : WideString();
    t.Edit(int(start), int(length), insert, random() % 2);
    if (t.text != history.back()) history.push_back(t.text);
    if (random() % 50 == 0) {  // go back a little and on again, or start a new branch
      size_t back = pick(5);
      for (size_t k = 0; k < back && t.Undo(); ++k) {
      }
      for (size_t k = 0; k < back / 2 && t.Redo(); ++k) {
      }
      history.push_back(t.text);
    }
  }
  // Whatever merged, every undo gives a text of the history, newest first.
  size_t at = history.size() - 1;
  while (t.Undo()) {
    size_t found = at;
    while (found > 0 && history[found] != t.text) --found;
    ASSERT_EQ(history[found], t.text) << "an undo gave a text that never was";
    ASSERT_LE(found, at);
    at = found;
  }
}

// Through the editor: the messages, the typed keys and the input method.

using UndoEditorTest = test::EditorTest;

TEST_F(UndoEditorTest, TheEditorKeepsAHundredUndoSteps) {
  for (int i = 0; i < 101; ++i) memo->SetSelText(u"x");
  int undone = 0;
  while (memo->CanUndo() && undone < 200) {
    memo->Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(test::U8(memo->Text()), "x");
  memo->Redo();
  EXPECT_EQ(test::U8(memo->Text()), "xx");
}

TEST_F(UndoEditorTest, TypedKeysUndoAsTheUserTypedThem) {
  memo->SetText(u"one two");
  memo->SetSelStart(3);
  memo->SetSelLength(4);  // " two"
  for (QString c : {QStringLiteral("!"), QStringLiteral("?"), QStringLiteral("!")})
    Type(Qt::Key_Exclam, c);
  EXPECT_EQ(test::U8(memo->Text()), "one!?!");
  Type(Qt::Key_Backspace, QString());
  Type(Qt::Key_Backspace, QString());
  EXPECT_EQ(test::U8(memo->Text()), "one!");
  memo->Undo();
  EXPECT_EQ(test::U8(memo->Text()), "one!?!") << "both backspaces at once";
  memo->Undo();
  EXPECT_EQ(test::U8(memo->Text()), "one two") << "the typing over the selection at once";
  EXPECT_FALSE(memo->CanUndo()) << "setting the text forgets the steps before";
  memo->Redo();
  EXPECT_EQ(test::U8(memo->Text()), "one!?!");
  Type(Qt::Key_Z, QStringLiteral("\x1a"), Qt::ControlModifier);  // the view's own undo key
  EXPECT_EQ(test::U8(memo->Text()), "one two");
}

TEST_F(UndoEditorTest, AnInputMethodsCommitIsOneStep) {
  memo->SetText(u"日本");
  memo->SetSelStart(2);
  QInputMethodEvent composing(QStringLiteral("ご"), {});
  QApplication::sendEvent(View(), &composing);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("語"));
  QApplication::sendEvent(View(), &commit);
  EXPECT_EQ(test::U8(memo->Text()), "日本語");
  ASSERT_TRUE(memo->CanUndo());
  memo->Undo();
  EXPECT_EQ(test::U8(memo->Text()), "日本");
}

// A change the window did not see could not be undone correctly: no step survives it.
TEST_F(UndoEditorTest, AChangeBehindTheWindowsBackEmptiesTheStore) {
  memo->SetSelText(u"abc");
  ASSERT_TRUE(memo->CanUndo());
  QTextCursor elsewhere(View()->document());
  elsewhere.insertText(QStringLiteral("z"));
  EXPECT_FALSE(memo->CanUndo());
  memo->Undo();
  EXPECT_EQ(test::U8(memo->Text()), "zabc");
}

}  // namespace
}  // namespace magna
