// The main window's components: the action list, the toolbar, the popup menu, the
// status panel, the font dialog, the action pictures, the help page and the choice
// of the Qt platform the window runs on.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <filesystem>
#include <map>

#include "app/desktop/displayPlatform.h"
#include "app/desktop/helpPage.h"
#include "app/window/actionImages.h"
#include "tests/app/window/mainFixture.h"

namespace magna::test {
namespace {

QString Q(const char16_t* text) {
  return QString::fromUtf16(text);
}

TEST_F(MainWindowTest, ActionTableRows) {
  struct Row {
    QAction* action;
    const char16_t* category;
    const char16_t* caption;
    const char16_t* hint;
    int image;
  } rows[] = {
      {window->Action_FileExit, u"ファイル", u"終了", u"終了", 9},
      {window->Action_EditUndo, u"編集", u"元に戻す(&U)", u"元に戻す", 12},
      {window->Action_EditRedo, u"編集", u"やり直し(&R)", u"やり直し", 13},
      {window->Action_EditCut, u"編集", u"切り取り(&T)", u"選択範囲を切り取り", 14},
      {window->Action_EditCopy, u"編集", u"コピー(&C)", u"選択範囲をコピー", 15},
      {window->Action_EditPaste, u"編集", u"貼り付け(&P)", u"貼り付け", 16},
      {window->Action_EditDelete, u"編集", u"削除(&D)", u"選択範囲を削除", 17},
      {window->Action_EditSelectAll, u"編集", u"全て選択(&A)", u"すべて選択", 18},
      {window->Action_TextReplace, u"テキスト", u"置き換え", u"テキストを置き換え", 0},
      {window->Action_TextClear, u"テキスト", u"クリア", u"テキストをクリア", 1},
      {window->Action_TextCheckClipboard, u"テキスト", u"クリップボード監視",
       u"クリップボードに文字がコピーされたらすぐに貼り付け", 2},
      {window->Action_TextWrap, u"テキスト", u"右端で折り返す", u"右端で折り返す", 7},
      {window->Action_FontSel, u"フォント", u"フォント選択...", u"フォント選択", 4},
      {window->Action_FontSizeUp, u"フォント", u"↑", u"フォントを大きくする", 5},
      {window->Action_FontSizeDown, u"フォント", u"↓", u"フォントを小さくする", 6},
      {window->Action_HelpVersionInfo, u"ヘルプ", u"バージョン情報(&V)", u"バージョン情報表示", 10},
  };
  ASSERT_EQ(window->All.size(), std::size(rows));
  for (const Row& r : rows) {
    SCOPED_TRACE(r.action->objectName().toStdString());
    EXPECT_EQ(r.action->property("Category").toString(), Q(r.category));
    EXPECT_EQ(r.action->text(), Q(r.caption));
    EXPECT_EQ(r.action->toolTip(), Q(r.hint));
    EXPECT_EQ(r.action->property("ImageIndex").toInt(), r.image);
    EXPECT_FALSE(r.action->icon().isNull());
  }
  EXPECT_TRUE(window->Action_TextCheckClipboard->isCheckable());
  EXPECT_FALSE(window->Action_TextCheckClipboard->isChecked());
  EXPECT_TRUE(window->Action_TextWrap->isChecked());
}

TEST_F(MainWindowTest, ToolbarButtonsInTheirOrder) {
  QStringList names;
  for (QAction* action : window->ToolBar1->actions()) {
    QWidget* w = window->ToolBar1->widgetForAction(action);
    names << (action->isSeparator() ? QStringLiteral("|") : w->objectName());
  }
  EXPECT_EQ(names.join(QLatin1Char(' ')).toStdString(),
            "ToolButton_TextReplace ToolButton_TextClear ToolButton_TextCheckClipboard | "
            "ToolButton_EditUndo ToolButton_EditRedo ToolButton_EditCut ToolButton_EditCopy "
            "ToolButton_EditPaste ToolButton_EditDelete ToolButton_EditSelectAll | "
            "ToolButton_TextWrap ToolButton_FontSel ToolButton_FontSizeUp "
            "ToolButton_FontSizeDown | ToolButton_HelpVersionInfo");
  auto* check =
      window->ToolBar1->findChild<QToolButton*>(QStringLiteral("ToolButton_TextCheckClipboard"));
  ASSERT_NE(check, nullptr);
  EXPECT_TRUE(check->isCheckable());
}

TEST_F(MainWindowTest, PopupMenuEntriesWithTheHiddenOnes) {
  QStringList entries;
  for (QAction* a : window->PopupMenu_Main->actions())
    entries << (a->isSeparator() ? QStringLiteral("-") : a->text()) +
                   (a->isVisible() ? QString() : QStringLiteral("(hidden)"));
  EXPECT_EQ(entries.join(QLatin1Char(' ')),
            Q(u"元に戻す(&U) やり直し(&R) - 切り取り(&T) コピー(&C) 貼り付け(&P) 削除(&D) - "
              u"全て選択(&A) -(hidden) Tab(hidden) - 文字の詳細... 全画面表示 選択範囲も監視 - "
              u"文字化けを直す(&M)"));
  EXPECT_EQ(window->mniPEdit_Tab->objectName(), QStringLiteral("__mniPEdit_Tab"));
  EXPECT_EQ(window->mniPEdit_Tab->shortcut(), QKeySequence(Qt::Key_Tab));
}

TEST_F(MainWindowTest, StatusPanelLayout) {
  EXPECT_EQ(window->Panel_Status->height(), 20);
  EXPECT_EQ(window->Shape_Bottom->height(), 1);
  struct Label {
    TMyLabel* label;
    const char16_t* face;
  } labels[] = {{window->Label_StatusChar, u"MS UI Gothic"},
                {window->Label_StatusAnsi, u"ＭＳ ゴシック"},
                {window->Label_StatusUnicode, u"ＭＳ ゴシック"},
                {window->Label_StatusUtf8, u"ＭＳ ゴシック"}};
  Memo().SetText(u"\U0001F600");
  Memo().SetSelStart(0);
  QApplication::processEvents();
  int right = -2;
  for (const Label& l : labels) {
    SCOPED_TRACE(l.label->objectName().toStdString());
    EXPECT_GE(l.label->x(), right + 2) << "left to right, 2-pixel spacers between";
    EXPECT_GE(l.label->width(), l.label->sizeHint().width()) << "the whole caption shows";
    right = l.label->x() + l.label->width();
    EXPECT_EQ(l.label->Font().Name(), WideString(l.face));
    EXPECT_EQ(l.label->Font().Height(), -12);
    EXPECT_TRUE(l.label->SingleLine());
    EXPECT_EQ(l.label->Layout(), tlCenter);
    EXPECT_FALSE(l.label->ShowAccelChar());
    EXPECT_EQ(l.label->LeftMargin(), 4);
    EXPECT_EQ(l.label->RightMargin(), 4);
    EXPECT_FALSE(l.label->DisabledStyle());
  }
}

TEST_F(MainWindowTest, FontDialogRoundTripKeepsTheChosenFaceAndGoesBeyond72) {
  TFontDialog& dialog = *window->FontDialog1;
  TFont font;
  font.SetName(u"ＭＳ Ｐ明朝");
  font.SetSize(72);
  font.SetStyle(fsBold | fsUnderline);
  font.SetColor(clRed);
  dialog.ShowFont(font);
  EXPECT_EQ(dialog.FaceBox()->currentText(), Q(u"ＭＳ Ｐ明朝"));
  EXPECT_EQ(dialog.StyleList()->currentRow(), 2);
  EXPECT_TRUE(dialog.UnderlineBox()->isChecked());
  dialog.SizeBox()->setValue(500);
  dialog.StrikeOutBox()->setChecked(true);
  TFont chosen = dialog.ChosenFont();
  EXPECT_EQ(U8(chosen.Name()), "ＭＳ Ｐ明朝");
  EXPECT_EQ(chosen.Size(), 500);
  EXPECT_EQ(chosen.Style(), fsBold | fsUnderline | fsStrikeOut);
  EXPECT_EQ(chosen.Color(), clRed);
  EXPECT_EQ(dialog.SizeBox()->maximum(), TFontDialog::MaxSize);
}

TEST_F(MainWindowTest, FontSelectionOpensOnTheShownFontAndAppliesOnlyOnOk) {
  TFontDialog* dialog = window->FontDialog1;
  Memo().Font()->SetSize(40);
  int shownSize = 0;
  QTimer::singleShot(0, dialog, [&] {
    shownSize = dialog->SizeBox()->value();
    dialog->SizeBox()->setValue(300);
    dialog->reject();
  });
  window->Action_FontSel->trigger();
  EXPECT_EQ(shownSize, 40);
  EXPECT_EQ(Memo().Font()->Size(), 40) << "cancel changes nothing";

  QTimer::singleShot(0, dialog, [&] {
    dialog->SizeBox()->setValue(300);
    dialog->FaceBox()->setEditText(Q(u"ＭＳ ゴシック"));
    dialog->accept();
  });
  window->Action_FontSel->trigger();
  EXPECT_EQ(Memo().Font()->Size(), 300);
  EXPECT_EQ(U8(Memo().Font()->Name()), "ＭＳ ゴシック");
}

TEST_F(MainWindowTest, FontDialogCaptionMnemonicsAreNotShownLiterally) {
  int captions = 0;
  for (QLabel* label : window->FontDialog1->findChildren<QLabel*>()) {
    if (!label->text().contains(u'&')) continue;
    ++captions;
    EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
  }
  EXPECT_EQ(captions, 4) << "face, style, size and colour";
}

TEST(ActionImages, TwentyCrispImagesAndAnIcon) {
  for (int i = 0; i < ImageListCount; ++i) {
    SCOPED_TRACE(i);
    QIcon icon = ActionImage(i);
    EXPECT_FALSE(icon.isNull());
    if (icon.isNull()) continue;
    QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
    QImage large = icon.pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(small.size(), QSize(16, 16));
    EXPECT_EQ(large.size(), QSize(32, 32)) << "drawn anew at the device pixel ratio";
    bool painted = false;
    for (int y = 0; y < 16 && !painted; ++y)
      for (int x = 0; x < 16 && !painted; ++x) painted = qAlpha(small.pixel(x, y)) > 0;
    EXPECT_TRUE(painted);
  }
  EXPECT_TRUE(ActionImage(20).isNull());
  EXPECT_TRUE(ActionImage(-1).isNull());
  EXPECT_FALSE(ApplicationIcon().isNull());
}

TEST(HelpPage, AddressIsAFileWithTheJapanesePage) {
  QUrl address(HelpPageAddress());
  ASSERT_TRUE(address.isLocalFile()) << address.toString().toStdString();
  QFile page(address.toLocalFile());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  QString html = QString::fromUtf8(page.readAll());
  EXPECT_TRUE(html.contains(Q(u"Magna の使い方")));
  EXPECT_EQ(HelpPageAddress(), address.toString()) << "the same address every time";
}

TEST(DisplayPlatform, Choice) {
  using Env = std::map<std::string, std::string>;
  struct Case {
    const char* name;
    Env env;
    std::optional<std::string> platform;
    bool display;
  } cases[] = {
      {"X11 session", {{"DISPLAY", ":0"}}, "xcb", true},
      {"Wayland with XWayland", {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}}, "xcb", true},
      {"Wayland only", {{"WAYLAND_DISPLAY", "wayland-0"}}, std::nullopt, true},
      {"user's choice", {{"QT_QPA_PLATFORM", "wayland"}, {"DISPLAY", ":0"}}, std::nullopt, true},
      {"offscreen without display", {{"QT_QPA_PLATFORM", "offscreen"}}, std::nullopt, true},
      {"nothing", {}, std::nullopt, false},
      {"empty DISPLAY", {{"DISPLAY", ""}}, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPlatformChoice choice = ChooseQtPlatform([&](const char* name) -> std::optional<std::string> {
      auto it = c.env.find(name);
      return it == c.env.end() ? std::nullopt : std::optional<std::string>(it->second);
    });
    EXPECT_EQ(choice.Platform, c.platform);
    EXPECT_EQ(choice.DisplayAvailable, c.display);
  }
}

// Regression: Qt aborted (status 134) on a DISPLAY whose server can't be reached.
TEST(DisplayPlatformTest, AnUnreachableX11DisplayIsFoundBeforeQtTriesIt) {
  if (std::filesystem::exists("/tmp/.X11-unix/X55")) GTEST_SKIP() << "a server runs on :55";
  auto env = [](std::string platform) {
    return [platform](const char* name) -> std::optional<std::string> {
      if (std::string_view(name) == "DISPLAY") return std::string(":55");
      if (std::string_view(name) == "QT_QPA_PLATFORM") return platform;
      return std::nullopt;
    };
  };
  EXPECT_FALSE(DisplayReachable(env("xcb")));
  EXPECT_TRUE(DisplayReachable(env("offscreen"))) << "other platforms are Qt's to open";
  EXPECT_FALSE(XDisplayAccepts("not a display name"));
}

}  // namespace
}  // namespace magna::test
