// The captions' language: Japanese unless the locale names another language,
// English then for every entry, hint, panel and dialog the program draws, taken
// from the translation built into it; the status line keeps its captions.
#include "app/desktop/captionLanguage.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <map>

#include "app/details/charDetailsPanel.h"
#include "app/fonts/fontDialog.h"
#include "app/window/mainExtras.h"
#include "tests/app/window/mainFixture.h"

namespace magna::test {
namespace {

bool HasJapanese(const QString& text) {
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
        (u >= 0xFF00 && u <= 0xFFEF))
      return true;
  }
  return false;
}

TEST(CaptionLanguage, OnlyALocaleOfAnotherLanguageAsksForEnglish) {
  struct Case {
    std::map<std::string, std::string> env;
    bool english;
  } cases[] = {
      {{}, false},
      {{{"LANG", "ja_JP.UTF-8"}}, false},
      {{{"LANG", "C.UTF-8"}}, false},
      {{{"LANG", "POSIX"}}, false},
      {{{"LANG", "en_US.UTF-8"}}, true},
      {{{"LANG", "de_DE@euro"}}, true},
      {{{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, true},
      {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.eucJP"}}, false},
      {{{"LC_ALL", "ja_JP.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, false},
      {{{"LC_ALL", "fr_FR.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, true},
  };
  for (const Case& c : cases) {
    std::string trace;
    for (const auto& [name, value] : c.env) trace += name + "=" + value + " ";
    SCOPED_TRACE(trace);
    EXPECT_EQ(WantsEnglishCaptions([&](const char* name) -> std::optional<std::string> {
                const auto it = c.env.find(name);
                if (it == c.env.end()) return std::nullopt;
                return it->second;
              }),
              c.english);
  }
}

class EnglishCaptionsTest : public MainWindowTest {
 protected:
  std::unique_ptr<TApp_TOOLMagna> MakeWindow() override {
    EXPECT_TRUE(InstallCaptionLanguage(*qApp, true));
    return MainWindowTest::MakeWindow();
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    RemoveCaptionLanguage(*qApp);
  }
  /// Every text a widget of this tree shows that is still Japanese, with its widget.
  static std::vector<std::string> JapaneseLeft(QWidget* root, const QString& except = {}) {
    std::vector<std::string> left;
    auto check = [&](const QObject* where, const QString& text) {
      if (text != except && HasJapanese(text))
        left.push_back(where->objectName().toStdString() + ": " + text.toStdString());
    };
    check(root, root->windowTitle());
    for (const QAction* a : root->findChildren<QAction*>()) {
      check(a, a->text());
      check(a, a->toolTip());
      check(a, a->statusTip());
    }
    for (const QLabel* l : root->findChildren<QLabel*>()) check(l, l->text());
    for (const QAbstractButton* b : root->findChildren<QAbstractButton*>()) check(b, b->text());
    for (const QGroupBox* g : root->findChildren<QGroupBox*>()) check(g, g->title());
    for (const QListWidget* list : root->findChildren<QListWidget*>())
      for (int i = 0; i < list->count(); ++i) check(list, list->item(i)->text());
    for (const QTreeWidget* tree : root->findChildren<QTreeWidget*>()) {
      for (int column = 0; column < tree->columnCount(); ++column)
        check(tree, tree->headerItem()->text(column));
      for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        check(tree, (*it)->text(0));
    }
    return left;
  }
};

TEST_F(EnglishCaptionsTest, EveryEntryAndHintOfTheWindowIsEnglish) {
  EXPECT_EQ(window->Action_EditCopy->text(), QStringLiteral("&Copy"));
  EXPECT_EQ(window->Action_TextCheckClipboard->toolTip(),
            QStringLiteral("Show text as soon as it is copied to the clipboard"));
  EXPECT_EQ(window->Extras().Actions.Action_TextCheckSelection->text(),
            QStringLiteral("Watch the Selection Too"));
  // The status line is left out: it shows the character and its codes as they are.
  Memo().SetText(u"ｱ\u3000");
  Memo().SetSelStart(1);
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "全角スペース");
  std::vector<std::string> left;
  for (QAction* a : window->findChildren<QAction*>())
    for (const QString& text : {a->text(), a->toolTip(), a->statusTip()})
      if (HasJapanese(text))
        left.push_back(a->objectName().toStdString() + ": " + text.toStdString());
  EXPECT_TRUE(left.empty()) << ::testing::PrintToString(left);
}

TEST_F(EnglishCaptionsTest, TheDetailsPanelAndTheFontDialogAreEnglish) {
  // A half-width kana: its other form's row; a long cluster: the note.
  WideString text = u"ｱx";
  text += WideString(300, u'\u0301');
  Memo().SetText(text);
  Memo().SetSelStart(0);
  window->Extras().OpenCharDetails();
  TCharDetailsPanel& panel = *window->Extras().CharDetails;
  EXPECT_EQ(panel.windowTitle(), QStringLiteral("Character Details"));
  EXPECT_TRUE(JapaneseLeft(&panel, QStringLiteral("ｱ")).empty())
      << ::testing::PrintToString(JapaneseLeft(&panel, QStringLiteral("ｱ")));
  Memo().SetSelStart(150);
  EXPECT_TRUE(JapaneseLeft(&panel).empty()) << ::testing::PrintToString(JapaneseLeft(&panel));
  Memo().SetSelStart(int(text.size()));
  EXPECT_EQ(panel.Title()->text(), QStringLiteral("(no character after the caret)"));

  TFontDialog dialog;
  const QString sample = QStringLiteral("Aaあぁアァ亜宇");  // what the chosen font draws
  EXPECT_TRUE(JapaneseLeft(&dialog, sample).empty())
      << ::testing::PrintToString(JapaneseLeft(&dialog, sample));
}

TEST_F(MainWindowTest, WithoutTheTranslationTheCaptionsStayJapanese) {
  EXPECT_FALSE(InstallCaptionLanguage(*qApp, false));
  EXPECT_EQ(window->Action_EditCopy->text(), QStringLiteral("コピー(&C)"));
  EXPECT_EQ(Caption(u"文字の詳細"), QStringLiteral("文字の詳細"));
}

}  // namespace
}  // namespace magna::test
