// The version dialog: placement on the cursor's monitor, the link and extra-text
// rows, the name line, first-show minimum size, closing and releasing.
#include "app/window/myHelpVersionInfo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "editor/myEdit.h"
#include "tests/support/testSupport.h"
#include "widgets/myLabel.h"

namespace magna {
namespace {

using test::W;

void RunDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void PressEscape(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

class VersionInfoTest : public test::FakeServicesTest {
 protected:
  void TearDown() override {
    delete Help_VersionInfo.data();
    RunDeferredDeletes();
    FakeServicesTest::TearDown();
  }
  /// A fresh dialog whose link clicks are recorded, not opened.
  THelp_VersionInfo& Dialog() {
    CreateVersionInfo();
    Help_VersionInfo->OnOpenDocument = [this](const WideString& document, const WideString&) {
      opened.push_back(document);
      return opens;
    };
    return *Help_VersionInfo;
  }
  void ClickLink() {
    TMyLabel* link = Help_VersionInfo->lblURL;
    const QPointF inside(2, 2);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, link->mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(link, &release);
  }
  std::vector<WideString> opened;
  bool opens = true;  // what the recorded opener answers
};

TEST_F(VersionInfoTest, OpensCentredOnTheWorkAreaOfTheCursorMonitor) {
  using M = platform::MonitorInfo;
  const M primary{1, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
  const M right{2, {1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}};
  struct Case {
    const char* name;
    std::vector<M> monitors;
    TPoint cursor;
    QPoint expected;  // for the dialog's 400 x 180 at creation
  } cases[] = {
      {"task bar at the bottom", {primary}, {100, 100}, {760, 430}},
      {"task bar at the top", {{1, {0, 0, 1920, 1080}, {0, 40, 1920, 1080}}}, {5, 5}, {760, 470}},
      {"task bar at the left", {{1, {0, 0, 1920, 1080}, {60, 0, 1920, 1080}}}, {5, 5}, {790, 450}},
      {"secondary monitor left of the primary",
       {primary, {2, {-1280, 0, 0, 1024}, {-1280, 0, 0, 984}}},
       {-5, 500},
       {-840, 402}},
      {"right edge belongs to the next monitor", {primary, right}, {1920, 500}, {2360, 422}},
      // (301 - 400) div 2 is -49: rounded towards zero, not down.
      {"work area narrower than the dialog",
       {{1, {0, 0, 301, 200}, {0, 0, 301, 200}}},
       {9, 9},
       {-49, 10}},
      {"cursor off every monitor: the nearest one", {primary, right}, {3500, 500}, {2360, 422}},
      {"cursor above the primary", {primary, right}, {100, -300}, {760, 430}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    screens->List = c.monitors;
    screens->Cursor = c.cursor;
    THelp_VersionInfo dialog;
    EXPECT_EQ(dialog.pos(), c.expected);
  }
}

TEST_F(VersionInfoTest, FormCreateSetsCaptionNameLineAndEmptyRows) {
  THelp_VersionInfo& dialog = Dialog();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報"));
  // The test program carries no version record: its file name stands in and the
  // line ends right after "Ver".
  EXPECT_EQ(test::U8(dialog.lblHelp_Ver->Caption()), "test_app_window_myHelpVersionInfo_test:Ver ");
  EXPECT_TRUE(dialog.lblHelp_Description->Caption().empty());
  EXPECT_TRUE(dialog.lblURL->Caption().empty());
  EXPECT_TRUE(dialog.pnlMemo->isHidden());
  EXPECT_EQ(dialog.width(), 400);
  EXPECT_EQ(dialog.height(), 40 + 50);  // the empty extra text took its panel's share
  EXPECT_EQ(dialog.btnClose->geometry(), QRect(156, 24, 88, 21));
}

TEST_F(VersionInfoTest, NameLineFallsBackFromProductToTitleToFileName) {
  struct Case {
    const char* product;
    const char* title;
    const char* file;
    const char* version;
    const char* expected;
  } cases[] = {
      {"Magna", "other", "/opt/magna", "2.0.1.0", "Magna:Ver 2.0.1.0"},
      {"", "タイトル", "/opt/magna", "2.0.1.0", "タイトル:Ver 2.0.1.0"},
      {"", "", "/opt/bin/magna", "1.2.3.4", "magna:Ver 1.2.3.4"},
      {"Magna:", "", "", "", "Magna:Ver "},
      {"", "", "", "0.1", "Ver 0.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(test::U8(VersionNameLine(W(c.product), W(c.title), W(c.file), W(c.version))),
              c.expected);
  }
}

TEST_F(VersionInfoTest, LinkWidensTheDialogAndAnEmptyOneHidesItsRow) {
  THelp_VersionInfo& dialog = Dialog();
  const int height = dialog.height();
  const int row = dialog.lblURL->height();
  ASSERT_GT(row, 0);

  SetVersionInfoURL(u"https://example.org/");
  EXPECT_EQ(dialog.width(), 400);  // short enough
  EXPECT_EQ(dialog.height(), height);

  const WideString wide = u"https://example.org/" + WideString(120, u'w');
  SetVersionInfoURL(wide);
  EXPECT_EQ(dialog.width(), dialog.lblURL->width() + 2 * 8);
  EXPECT_GT(dialog.width(), 400);
  const int widened = dialog.width();

  SetVersionInfoURL(u"");
  EXPECT_TRUE(dialog.lblURL->isHidden());
  EXPECT_EQ(dialog.height(), height - row);
  EXPECT_EQ(dialog.pnlCmd->height(), 50 - row);
  EXPECT_EQ(dialog.width(), widened);  // never narrowed again
  SetVersionInfoURL(u"");              // a second empty link changes nothing
  EXPECT_EQ(dialog.height(), height - row);

  SetVersionInfoURL(u"https://example.org/");
  EXPECT_FALSE(dialog.lblURL->isHidden());
  EXPECT_EQ(dialog.height(), height);
  EXPECT_EQ(dialog.pnlCmd->height(), 50);
  // The button keeps its distance from the bottom and stays centred.
  EXPECT_EQ(dialog.btnClose->y(), 24);
  EXPECT_EQ(dialog.btnClose->x(), (widened - 88) / 2);
}

TEST_F(VersionInfoTest, ExtraTextShowsItsPanelAndAnEmptyOneHidesIt) {
  THelp_VersionInfo& dialog = Dialog();
  SetVersionInfoMemo(W("\t 追加の説明 \r\n"));
  EXPECT_FALSE(dialog.pnlMemo->isHidden());
  EXPECT_EQ(test::U8(dialog.edtMemo->Text()), "追加の説明");
  EXPECT_EQ(dialog.height(), 40 + 50 + 80);
  EXPECT_EQ(dialog.pnlMemo->geometry(), QRect(0, 40, 400, 80));

  SetVersionInfoMemo(u"");
  EXPECT_TRUE(dialog.pnlMemo->isHidden());
  EXPECT_EQ(dialog.height(), 40 + 50);
  // Showing applies the empty text again: the dialog must not shrink twice.
  SetVersionInfoMemo(dialog.edtMemo->Text());
  EXPECT_EQ(dialog.height(), 40 + 50);
}

TEST_F(VersionInfoTest, MinimumSizeIsTheSizeOfTheFirstShow) {
  THelp_VersionInfo& dialog = Dialog();
  SetVersionInfoURL(u"https://example.org/");
  dialog.show();
  const QSize first = dialog.size();
  EXPECT_EQ(dialog.minimumSize(), first);
  dialog.resize(first.width() - 50, first.height() - 20);
  EXPECT_EQ(dialog.size(), first);
  dialog.resize(first.width() + 50, first.height() + 20);
  EXPECT_EQ(dialog.size(), first + QSize(50, 20));

  dialog.hide();
  SetVersionInfoMemo(u"more");
  dialog.show();
  EXPECT_EQ(dialog.minimumSize(), first);
}

TEST_F(VersionInfoTest, EscClosesAndClosingFreesTheDialog) {
  THelp_VersionInfo& dialog = Dialog();
  QPointer<THelp_VersionInfo> guard = &dialog;
  dialog.show();
  PressEscape(&dialog);
  EXPECT_FALSE(dialog.isVisible());
  RunDeferredDeletes();
  EXPECT_TRUE(guard.isNull());
  EXPECT_TRUE(Help_VersionInfo.isNull());
  CreateVersionInfo();  // opening again makes a new one
  EXPECT_FALSE(Help_VersionInfo.isNull());
}

TEST_F(VersionInfoTest, MainWindowSequenceShowsModallyAndReleases) {
  QWidget mainWindow;
  CreateVersionInfo(&mainWindow);
  SetVersionInfoURL(u"https://example.org/help");
  QPointer<THelp_VersionInfo> guard = Help_VersionInfo;
  bool wasModal = false;
  WideString shownLink;
  QTimer::singleShot(0, [&] {
    if (!guard) return;
    wasModal = guard->isModal() && guard->isVisible();
    shownLink = guard->lblURL->Caption();
    PressEscape(guard);
  });
  ShowVersionInfo();
  EXPECT_TRUE(wasModal);
  EXPECT_EQ(test::U8(shownLink), "https://example.org/help");
  ReleaseVersionInfo();
  EXPECT_TRUE(Help_VersionInfo.isNull());
  RunDeferredDeletes();
  EXPECT_TRUE(guard.isNull());
}

TEST_F(VersionInfoTest, ReleaseWithoutCloseStillFreesTheDialog) {
  Dialog();
  QPointer<THelp_VersionInfo> guard = Help_VersionInfo;
  ReleaseVersionInfo();
  EXPECT_TRUE(Help_VersionInfo.isNull());
  EXPECT_FALSE(guard.isNull());  // queued, not yet gone
  RunDeferredDeletes();
  EXPECT_TRUE(guard.isNull());
}

TEST_F(VersionInfoTest, TopmostFollowsTheMainWindow) {
  for (bool topmost : {false, true}) {
    SCOPED_TRACE(topmost);
    QWidget mainWindow;
    mainWindow.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    THelp_VersionInfo dialog(&mainWindow);
    EXPECT_EQ(bool(dialog.windowFlags() & Qt::WindowStaysOnTopHint), topmost);
  }
}

TEST_F(VersionInfoTest, LinkUnderlinesOnHoverAndOpensOnClick) {
  THelp_VersionInfo& dialog = Dialog();
  SetVersionInfoURL(u"https://example.org/help");
  dialog.show();
  TMyLabel* link = dialog.lblURL;
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(link, &enter);
  EXPECT_TRUE(link->Font().Style() & fsUnderline);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);

  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(link, &leave);
  EXPECT_FALSE(link->Font().Style() & fsUnderline);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  ClickLink();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(test::U8(opened[0]), "https://example.org/help");
  EXPECT_TRUE(messageBoxes->Shown.empty());
}

TEST_F(VersionInfoTest, ALinkNoProgramCanOpenIsReportedWithItsAddress) {
  THelp_VersionInfo& dialog = Dialog();
  opens = false;
  SetVersionInfoURL(u"file:///usr/share/magna/help/index.html");
  dialog.show();
  ClickLink();
  ASSERT_EQ(opened.size(), 1u);
  ASSERT_EQ(messageBoxes->Shown.size(), 1u);
  const std::string text = test::U8(messageBoxes->Shown[0].Text);
  EXPECT_NE(text.find("開くプログラムが見つかりません"), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with("\n\nfile:///usr/share/magna/help/index.html")) << text;
}

}  // namespace
}  // namespace magna
