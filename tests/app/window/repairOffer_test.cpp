// The offer of a repair in the main window: the bar for each kind of text shown
// (watching, start, typing), "直す" as one undo step, "閉じる", the popup entry,
// and the details panel naming the chain at the caret.
#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeWidget>

#include "app/desktop/captionLanguage.h"
#include "app/details/charDetailsPanel.h"
#include "app/window/mainExtras.h"
#include "app/window/repairBar.h"
#include "app/window/repairOffer.h"
#include "tests/app/window/mainFixture.h"

namespace magna::test {
namespace {

// こんにちは written in UTF-8 and read as Shift_JIS; 今日は percent-encoded.
const WideString kMisread = u"縺薙ｓ縺ｫ縺｡縺ｯ";
const WideString kPercent = u"%E4%BB%8A%E6%97%A5%E3%81%AF";

class RepairOfferTest : public MainWindowTest {
 protected:
  TRepairBar& Bar() { return *window->Extras().RepairBar; }
  QAction& Entry() { return *window->Extras().Action_TextRepair; }
  bool Offered() { return Bar().isVisible(); }
  /// Lets the pause after typing pass.
  void WaitForCheck() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < TRepairOffer::kTypingPauseMs + 150) QApplication::processEvents();
  }
};

TEST_F(RepairOfferTest, WatchingShowsTheCopyUnchangedAndOffersWhatCanBeRepaired) {
  SetMonitoring(true);
  struct Row {
    const char* name;
    WideString copied;
    bool offered;
    const char* said;  // part of the bar's words
  } rows[] = {
      {"UTF-8 read as Shift_JIS", kMisread, true, "UTF-8 を Shift_JIS として読んだ文字化け"},
      {"clean Japanese after it hides the bar", u"会議は3時からです。", false, ""},
      {"percent-encoding", kPercent, true, "URL エンコード（UTF-8）"},
      {"English", u"Meeting at 3 o'clock, room 2.", false, ""},
      {"program code", u"if (a[i] != '\\u00e9') return &x;", false, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    CopyElsewhere(r.copied);
    EXPECT_EQ(Memo().Text(), r.copied) << "watching shows what was copied";
    EXPECT_EQ(Offered(), r.offered);
    EXPECT_EQ(Entry().isEnabled(), r.offered);
    if (r.offered) {
      EXPECT_TRUE(Bar().Said().contains(QString::fromUtf8(r.said))) << Bar().Said().toStdString();
    }
  }
}

TEST_F(RepairOfferTest, RepairIsOneUndoStepAndCloseHidesTheBarForThisText) {
  SetMonitoring(true);
  CopyElsewhere(kMisread);
  ASSERT_TRUE(Offered());
  Bar().RepairButton()->click();
  EXPECT_EQ(U8(Memo().Text()), "こんにちは");
  EXPECT_FALSE(Offered());
  EXPECT_FALSE(Entry().isEnabled());
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "こ");

  Memo().Undo();
  EXPECT_EQ(Memo().Text(), kMisread) << "one undo brings the text as it was";
  WaitForCheck();
  EXPECT_TRUE(Offered()) << "the text shown has a repair again";

  Bar().CloseButton()->click();
  EXPECT_FALSE(Offered());
  EXPECT_EQ(Memo().Text(), kMisread);
  EXPECT_TRUE(Entry().isEnabled()) << "the popup entry still offers it";
  Entry().trigger();
  EXPECT_EQ(U8(Memo().Text()), "こんにちは");
}

TEST_F(RepairOfferTest, TypedTextIsCheckedAfterAPauseAndStartTextAtOnce) {
  Memo().SetSelText(kPercent);
  EXPECT_FALSE(Offered()) << "not while typing";
  WaitForCheck();
  EXPECT_TRUE(Offered());
  Memo().SelectAll();
  Memo().SetSelText(u"abc");
  WaitForCheck();
  EXPECT_FALSE(Offered());

  ShowStartText(*window, kMisread);
  EXPECT_TRUE(Offered());
}

TEST_F(RepairOfferTest, TheDetailsPanelNamesTheChainAtTheCaret) {
  Memo().SetSelText(u"abc " + kMisread);
  WaitForCheck();
  window->Extras().OpenCharDetails();
  auto value = [&](const char* caption) -> std::string {
    for (QTreeWidgetItemIterator it(window->Extras().CharDetails->Rows()); *it; ++it)
      if ((*it)->text(0) == QString::fromUtf8(caption)) return (*it)->text(1).toStdString();
    return "(no row)";
  };
  Memo().SetSelStart(0);
  EXPECT_EQ(value("文字化けの修復"), "(no row)") << "nothing was replaced at the caret";
  Memo().SetSelStart(5);
  EXPECT_EQ(value("文字化けの修復"), "UTF-8 を Shift_JIS として読んだ文字化け");
  EXPECT_EQ(value("修復後の文字"), "こんにちは");
}

TEST_F(RepairOfferTest, EnglishCaptions) {
  ASSERT_TRUE(InstallCaptionLanguage(*qApp, true));
  ShowStartText(*window, kMisread);
  EXPECT_EQ(Bar().Said().toStdString(), "This text can be made readable: UTF-8 read as Shift_JIS");
  RemoveCaptionLanguage(*qApp);
}

}  // namespace
}  // namespace magna::test
