// The main window's additions: the character details panel (F2, its entry, a
// double click on the status line) following the caret; full screen (F11, Esc)
// and back with text, caret and size kept; watching the X11 selection by the
// clipboard's rules; the option kept in [Options] beside unchanged sections.
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTreeWidget>

#include "app/details/charDetailsPanel.h"
#include "app/session/qtBoundsWindow.h"
#include "app/window/mainExtras.h"
#include "tests/app/window/mainFixture.h"

namespace magna::test {
namespace {

class MainExtrasTest : public MainWindowTest {
 protected:
  TMainExtras& Extras() { return window->Extras(); }
  TCharDetailsPanel& Panel() { return *Extras().CharDetails; }
  std::string ShownCluster() { return U8(Panel().Shown().Cluster); }
  /// The value of the panel's row with this caption, as the panel shows it.
  std::string PanelValue(const QString& caption) {
    for (QTreeWidgetItemIterator it(Panel().Rows()); *it; ++it)
      if ((*it)->text(0) == caption) return (*it)->text(1).toStdString();
    return "(no row)";
  }
  void DoubleClick(QWidget* widget) {
    const QPointF at(3, 3);
    QMouseEvent event(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
  QAction* Option() { return Extras().Actions.Action_TextCheckSelection; }
  /// Text selected in another program (one change notice of the selection).
  void SelectElsewhere(std::optional<WideString> text, bool secret = false) {
    selection->SimulateCopy(text, std::nullopt, secret);
  }
  /// This program's own selection of text, as Qt's text view makes it.
  void SelectHere(const WideString& text) {
    ASSERT_TRUE(selection->Open());
    selection->SetUnicodeText(text);
    selection->Close();
  }
  std::string IniBytes() { return ReadBytes(settingsDir / "magna.ini"); }
};

TEST_F(MainExtrasTest, PanelOpensByF2ByItsEntryAndByADoubleClickOnTheStatusLine) {
  Memo().SetText(u"亜ｱ");
  Memo().SetSelStart(0);
  EXPECT_FALSE(Panel().isVisible());
  Press(Qt::Key_F2);
  ASSERT_TRUE(Panel().isVisible());
  EXPECT_EQ(ShownCluster(), "亜");
  EXPECT_EQ(PanelValue(QStringLiteral("区点")), "1601（16区1点）");
  EXPECT_EQ(Panel().Title()->text(), QStringLiteral("亜"));

  Panel().close();
  DoubleClick(window->Label_StatusUnicode);
  EXPECT_TRUE(Panel().isVisible()) << "a double click on a label";
  Panel().close();
  DoubleClick(window->Panel_Status);
  EXPECT_TRUE(Panel().isVisible()) << "a double click between the labels";
  Panel().close();
  ASSERT_TRUE(window->PopupMenu_Main->actions().contains(Extras().Actions.Action_ViewCharDetails));
  Extras().Actions.Action_ViewCharDetails->trigger();
  EXPECT_TRUE(Panel().isVisible()) << "the popup entry";
}

TEST_F(MainExtrasTest, PanelFollowsTheCaretAndTheTextAndCostsNothingWhileClosed) {
  Memo().SetText(u"亜ｱ");
  Memo().SetSelStart(0);
  Press(Qt::Key_F2);
  Press(Qt::Key_Right);
  EXPECT_EQ(ShownCluster(), "ｱ");
  EXPECT_EQ(PanelValue(QStringLiteral("Shift_JIS")), "0xB1");
  EXPECT_EQ(PanelValue(QStringLiteral("全角")), "ア (U+30A2)");
  Press(Qt::Key_End);
  EXPECT_EQ(ShownCluster(), "") << "nothing after the caret, as the status line";
  EXPECT_EQ(Panel().Rows()->topLevelItemCount(), 0);

  SetMonitoring(true);
  CopyElsewhere(u"①②");
  EXPECT_EQ(ShownCluster(), "①") << "a replaced text puts the caret at the start";

  Panel().close();
  int fetched = 0;
  TCharDetailsPanel closed(window.get(), [&] {
    ++fetched;
    return TTextAroundCaret{};
  });
  closed.Follow();
  EXPECT_EQ(fetched, 0) << "a closed panel asks the text area nothing";
}

TEST_F(MainExtrasTest, PanelKeepsItsWidthWhateverTheCaretStandsBefore) {
  // The caret at the text's end, then inside a cluster of hundreds of marks: the
  // title may not widen the panel, which would never shrink back.
  WideString zalgo = u"亜x";
  zalgo += WideString(300, u'\u0301');
  Memo().SetText(zalgo);
  Memo().SetSelStart(0);
  Press(Qt::Key_F2);
  QApplication::processEvents();
  const int width = Panel().width();
  for (int caret : {int(zalgo.size()), 100, 0}) {
    SCOPED_TRACE(caret);
    Memo().SetSelStart(caret);
    QApplication::processEvents();
    EXPECT_LE(Panel().minimumSizeHint().width(), width);
    EXPECT_EQ(Panel().width(), width);
  }
  Memo().SetSelStart(int(zalgo.size()));
  EXPECT_EQ(Panel().Title()->font().pointSize(), Panel().font().pointSize())
      << "the note is no character";
  Memo().SetSelStart(0);
  EXPECT_GT(Panel().Title()->font().pointSize(), 2 * Panel().font().pointSize());
}

TEST_F(MainExtrasTest, PanelReadsAStretchAroundTheCaretNeverTheWholeText) {
  WideString line(200'000, u'あ');
  line[100'000] = u'亜';
  Memo().SetText(line + u"\r\nnext");
  Memo().SetSelStart(100'000);
  const TTextAroundCaret around = TextAroundCaret(Memo());
  EXPECT_EQ(around.Before.size(), size_t(kDetailsUnitsBefore));
  EXPECT_EQ(around.After.size(), size_t(kDetailsUnitsAfter));
  EXPECT_FALSE(around.BeforeIsWhole || around.AfterIsWhole);
  EXPECT_EQ(around.After[0], u'亜');

  // At the end of a line the break follows, as the status line reads it.
  Memo().SetSelStart(200'000);
  EXPECT_EQ(TextAroundCaret(Memo()).After, u"\r\n");
  EXPECT_TRUE(TextAroundCaret(Memo()).AfterIsWhole);
  Memo().SetSelStart(2);
  EXPECT_TRUE(TextAroundCaret(Memo()).BeforeIsWhole);
}

class FullScreenTest : public MainExtrasTest {
 protected:
  struct State {
    std::string text;
    int caret;
    int size;
    friend bool operator==(const State&, const State&) = default;
  };
  State Now() { return {U8(Memo().Text()), Memo().SelStart(), Memo().Font()->Size()}; }
  void Prepare() {
    Memo().SetText(u"会議は\r\n3時から");
    Memo().SetSelStart(5);
    Memo().Font()->SetSize(100);
    window->setGeometry(120, 90, 640, 300);
    QApplication::processEvents();
  }
};

TEST_F(FullScreenTest, F11AndBackKeepTextCaretSizeAndTheWindowsPlace) {
  Prepare();
  const State before = Now();
  const QRect geometry = window->geometry();
  Press(Qt::Key_F11);
  QApplication::processEvents();  // the window system's answer
  EXPECT_TRUE(window->isFullScreen());
  EXPECT_EQ(window->geometry(), window->screen()->geometry()) << "the whole monitor";
  EXPECT_TRUE(window->ToolBar1->isHidden());
  EXPECT_TRUE(window->Panel_Status->isHidden());
  EXPECT_TRUE(Extras().Actions.Action_ViewFullScreen->isChecked());
  EXPECT_TRUE(Now() == before);

  Press(Qt::Key_F11);
  QApplication::processEvents();
  EXPECT_FALSE(window->isFullScreen());
  EXPECT_EQ(window->geometry(), geometry);
  EXPECT_FALSE(window->ToolBar1->isHidden());
  EXPECT_FALSE(window->Panel_Status->isHidden());
  EXPECT_TRUE(Now() == before);
  EXPECT_TRUE(Memo().Focused()) << "typing goes on where it was";
}

TEST_F(FullScreenTest, EscLeavesFullScreenAndOtherwiseMeansNothing) {
  Prepare();
  const State before = Now();
  Press(Qt::Key_Escape);
  EXPECT_TRUE(Now() == before);
  EXPECT_FALSE(window->isFullScreen());

  Extras().Actions.Action_ViewFullScreen->trigger();  // the popup entry
  EXPECT_TRUE(window->isFullScreen());
  Press(Qt::Key_Escape);
  EXPECT_FALSE(window->isFullScreen());
  EXPECT_FALSE(Extras().Actions.Action_ViewFullScreen->isChecked());
  EXPECT_FALSE(window->Panel_Status->isHidden());
  EXPECT_TRUE(Now() == before);
}

TEST_F(FullScreenTest, TheDetailsPanelStepsAsideAndComesBackUpToDate) {
  Prepare();
  Press(Qt::Key_F2);
  ASSERT_TRUE(Panel().isVisible());
  EXPECT_EQ(ShownCluster(), "時");
  Press(Qt::Key_F11);
  EXPECT_FALSE(Panel().isVisible()) << "nothing stands over the text shown";
  Press(Qt::Key_Right);
  Press(Qt::Key_Escape);
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_EQ(ShownCluster(), "か") << "the move made meanwhile";

  Panel().close();
  Press(Qt::Key_F11);
  Press(Qt::Key_F11);
  EXPECT_FALSE(Panel().isVisible()) << "a closed panel stays closed";
}

TEST_F(FullScreenTest, ClosedWhileFullScreenTheWindowKeepsItsOwnBounds) {
  Prepare();
  const TRect bounds = TQtBoundsWindow(*window).BoundsRect();
  Press(Qt::Key_F11);
  window.reset();
  const std::string ini = IniBytes();
  EXPECT_NE(ini.find("App_TOOLMagna_Left=" + std::to_string(bounds.Left) + "\r\n"),
            std::string::npos)
      << ini;
  EXPECT_NE(ini.find("App_TOOLMagna_Right=" + std::to_string(bounds.Right) + "\r\n"),
            std::string::npos)
      << ini;
}

TEST_F(MainExtrasTest, SelectionIsTakenOnlyWithWatchingAndTheOptionOn) {
  Memo().SetText(u"shown");
  SelectElsewhere(u"not watched");
  SetMonitoring(true);
  SelectElsewhere(u"option off");
  EXPECT_EQ(U8(Memo().Text()), "shown");
  EXPECT_FALSE(Option()->isChecked()) << "off by default";

  Option()->trigger();
  SelectElsewhere(u"選択した文字");
  EXPECT_EQ(U8(Memo().Text()), "選択した文字");
  EXPECT_EQ(Memo().SelStart(), 0);
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "選");

  SetMonitoring(false);
  SelectElsewhere(u"watching off");
  EXPECT_EQ(U8(Memo().Text()), "選択した文字");
}

TEST_F(MainExtrasTest, SelectionFollowsTheClipboardsRules) {
  SetMonitoring(true);
  Option()->trigger();
  SelectElsewhere(u"first");
  Memo().SetSelStart(3);

  SelectHere(u"irs");
  EXPECT_EQ(U8(Memo().Text()), "first") << "the program's own selection";
  SelectElsewhere(u"hunter2", true);
  EXPECT_EQ(U8(Memo().Text()), "first") << "a password manager's secret";
  SelectElsewhere(u"");
  SelectElsewhere(std::nullopt);
  EXPECT_EQ(U8(Memo().Text()), "first") << "nothing selected";
  SelectElsewhere(u"first");
  EXPECT_EQ(Memo().SelStart(), 3) << "the text shown already is not put again";

  // Only a change asks the selection's owner: the caret, keys and the menu never do.
  selection->Questions = 0;
  Memo().SetSelStart(1);
  Press(Qt::Key_Right);
  window->PopupMenu_MainPopup(nullptr);
  Press(Qt::Key_F2);
  EXPECT_EQ(selection->Questions, 0);
}

TEST_F(MainExtrasTest, TheOptionIsKeptInItsOwnSectionAndTheOthersStayAsTheyWere) {
  const WideString file = window->SettingsFileName;
  window.reset();
  const std::string off = IniBytes();
  const std::string options = "[Options]\r\nCheckSelection=0\r\n\r\n";
  ASSERT_GE(off.size(), options.size());
  EXPECT_EQ(off.substr(off.size() - options.size()), options) << "written last, after [Text]";

  window = MakeWindow();
  window->SettingsFileName = file;
  window->AfterConstruction();
  EXPECT_FALSE(Option()->isChecked());
  Option()->trigger();
  window.reset();
  std::string on = off;
  on.replace(on.size() - options.size(), options.size(), "[Options]\r\nCheckSelection=1\r\n\r\n");
  EXPECT_EQ(Hex(IniBytes()), Hex(on)) << "every other byte as it was";

  window = MakeWindow();
  window->SettingsFileName = file;
  window->AfterConstruction();
  EXPECT_TRUE(Option()->isChecked());
}

}  // namespace
}  // namespace magna::test
