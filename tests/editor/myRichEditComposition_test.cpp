// An input method's composition in the text area, driven with the events an
// input method sends: the program's own edits end it where the user sees it,
// a click ends it once, a commit over a selection undoes at once, and the end
// of a composition that wraps stays in view.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>
#include <string>

#include "editor/myRichEdit.h"
#include "platform/qt/qtText.h"
#include "tests/editor/editorFixture.h"

namespace magna {
namespace {

using namespace platform;

class CompositionTest : public test::EditorTest {
 protected:
  /// What the input method shows at the caret, its caret at its end.
  void Compose(const WideString& text) {
    const QString shown = qt::ToQString(text);
    QInputMethodEvent event(shown, {{QInputMethodEvent::Cursor, int(shown.size()), 1, {}}});
    QApplication::sendEvent(View(), &event);
  }
  void Commit(const WideString& text) {
    QInputMethodEvent event;
    event.setCommitString(qt::ToQString(text));
    QApplication::sendEvent(View(), &event);
  }
  WideString Shown() const {
    return qt::ToWide(View()->textCursor().block().layout()->preeditAreaText());
  }
  /// Types at the end of "テスト" through the input method, left composing.
  void ComposeAfterTest() {
    memo->SetText(u"テスト");
    memo->SetSelStart(3);
    Compose(u"にほんご");
    ASSERT_EQ(Shown(), u"にほんご");
  }
};

// Watching replaced the text under a composition, which stayed drawn at its old
// offset while its commit landed at the new caret ("日本語クリップ").
TEST_F(CompositionTest, TheProgramsEditsEndTheCompositionWhereItIsShown) {
  struct Case {
    const char* name;
    std::function<void(TMyMemo*)> edit;
    WideString text;           // right after the edit
    WideString beforeTheEdit;  // one undo step back, where the edit leaves one
  };
  const Case cases[] = {
      {"text replaced from elsewhere",
       [](TMyMemo* m) {
         m->SelectAll();
         m->ClearSelection();
         m->SetSelText(u"クリップ");
         m->SetSelStart(0);
       },
       u"クリップ", u""},
      {"whole text set", [](TMyMemo* m) { m->SetText(u"クリップ"); }, u"クリップ", u""},
      {"selection replaced", [](TMyMemo* m) { m->SetSelText(u"!"); }, u"テストにほんご!",
       u"テストにほんご"},
      {"caret moved", [](TMyMemo* m) { m->SetSelStart(0); }, u"テストにほんご", u"テスト"},
      {"undone", [](TMyMemo* m) { m->Undo(); }, u"テスト", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ComposeAfterTest();
    c.edit(memo);
    EXPECT_EQ(Shown(), u"") << "no composition left behind, drawn where it no longer is";
    EXPECT_EQ(memo->Text(), c.text);
    // An input method that commits what it showed once told to forget it sends
    // it again: the composition already stands in the text.
    Commit(u"にほんご");
    EXPECT_EQ(memo->Text(), c.text) << "the input method's copy of the composition";
    if (!c.beforeTheEdit.empty()) {
      memo->Undo();
      EXPECT_EQ(memo->Text(), c.beforeTheEdit);
    }
  }
}

TEST_F(CompositionTest, AClickCommitsTheCompositionOnce) {
  ComposeAfterTest();
  QWidget* viewport = View()->viewport();
  QPoint start = View()->cursorRect(QTextCursor(View()->document())).center();
  QMouseEvent press(QEvent::MouseButtonPress, start, viewport->mapToGlobal(start), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, start, viewport->mapToGlobal(start),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &release);
  EXPECT_EQ(memo->Text(), u"テストにほんご") << "committed where it was shown";
  EXPECT_EQ(memo->SelStart(), 0) << "the caret where the click put it";
  Commit(u"にほんご");  // what an input method that commits on being reset sends
  EXPECT_EQ(memo->Text(), u"テストにほんご");
  // The next composition, even of the same text, is the user's.
  Compose(u"にほんご");
  Commit(u"にほんご");
  EXPECT_EQ(memo->Text(), u"にほんごテストにほんご");
}

// Only a copy that follows at once is dropped: a commit after any other
// composition, or without a composition ended first, stands.
TEST_F(CompositionTest, ACommitIsDroppedOnlyAsTheCopyOfAnEndedComposition) {
  memo->SetText(u"a");
  memo->SetSelStart(1);
  Commit(u"にほんご");
  EXPECT_EQ(memo->Text(), u"aにほんご") << "nothing was ended";
  Compose(u"x");
  memo->SetSelStart(0);  // ends "x" here
  Compose(u"y");
  Commit(u"x");
  EXPECT_EQ(memo->Text(), u"xaにほんごx") << "another composition came between";
  Compose(u"z");
  Commit(u"z");
  Commit(u"z");  // an input method that commits again on losing the focus
  EXPECT_EQ(memo->Text(), u"xzaにほんごx");
}

// The composition removes the selection when it starts; its commit then used to
// be a step of its own when it went in through the text store (U+2029).
TEST_F(CompositionTest, ACommitOverASelectionIsOneUndoStep) {
  for (const WideString& committed : {WideString(u"日本語"), WideString(u"\u2029")}) {
    SCOPED_TRACE(test::U8(committed));
    memo->SetText(u"テスト");
    memo->SetSelStart(1);
    memo->SetSelLength(2);
    Compose(u"u");
    Compose(u"u2029");
    EXPECT_EQ(memo->Text(), u"テ") << "the selection goes when the composition starts";
    Commit(committed);
    EXPECT_EQ(memo->Text(), u"テ" + committed);
    memo->Undo();
    EXPECT_EQ(memo->Text(), u"テスト");
    memo->Redo();
    EXPECT_EQ(memo->Text(), u"テ" + committed);
  }
}

TEST_F(CompositionTest, EachCommitIsAStepOfItsOwn) {
  memo->SetText(u"");
  Type(Qt::Key_A, QStringLiteral("a"));
  Compose(u"にほん");
  Commit(u"日本");
  Compose(u"ご");
  Commit(u"語");
  Type(Qt::Key_B, QStringLiteral("b"));
  const WideString steps[] = {u"a日本語", u"a日本", u"a", u""};
  for (const WideString& text : steps) {
    memo->Undo();
    EXPECT_EQ(memo->Text(), text);
  }
}

// At the window's first size and 72 points one row fills the view: a composition
// that wrapped to the next row, its caret and the input method's candidate list
// (placed by the caret's rectangle) were below the window. At 144 points a row is
// taller than the view: the caret's row starts at its top.
TEST_F(CompositionTest, TheEndOfAWrappedCompositionStaysInView) {
  parent->resize(512, 250);
  memo->setGeometry(0, 0, 512, 206);
  memo->SetWordWrap(true);
  for (int points : {72, 144}) {
    memo->Font()->SetSize(points);
    for (const WideString& before : {WideString(u"テスト"), WideString(u"テスト\rテスト")}) {
      SCOPED_TRACE(std::to_string(points) + " points after " + test::U8(before));
      memo->SetText(before);
      memo->SetSelStart(int32_t(before.size()));
      Compose(u"にほんごにゅうりょく");
      const QRect caret = View()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
      const QRect visible = View()->viewport()->geometry();
      const bool rowFits = caret.height() <= visible.height();
      EXPECT_TRUE(rowFits ? visible.contains(caret)
                          : caret.top() >= visible.top() && caret.top() < visible.bottom())
          << "caret at " << caret.y() << ".." << caret.bottom() << ", view " << visible.y() << ".."
          << visible.bottom();
      Commit(u"日本語入力");
    }
  }
}

}  // namespace
}  // namespace magna
