#include "app/window/mainExtras.h"

#include <QEvent>
#include <QVBoxLayout>

#include "app/clipboard/selectionWatch.h"
#include "app/desktop/captionLanguage.h"
#include "app/details/charDetailsPanel.h"
#include "app/window/fullScreen.h"
#include "app/window/main.h"
#include "app/window/repairBar.h"
#include "app/window/repairOffer.h"
#include "platform/log.h"
#include "platform/services.h"

namespace magna {

TMainExtras::TMainExtras(TApp_TOOLMagna& window) : QObject(&window), window_(window) {
  Actions = CreateExtraActions(&window);
  window.addActions(QList<QAction*>(Actions.All.begin(), Actions.All.end()));
  AddExtraMenuEntries(window.PopupMenu_Main, Actions);

  CharDetails =
      new TCharDetailsPanel(&window, [&window] { return TextAroundCaret(*window.Memo_Text); });
  // The status line and each of its labels open the details on a double click.
  window.Panel_Status->installEventFilter(this);
  for (QWidget* part : window.Panel_Status->findChildren<QWidget*>())
    part->installEventFilter(this);

  // The details panel would stand over the text shown across the room.
  fullScreen_ = std::make_unique<TFullScreen>(
      window, std::vector<QWidget*>{window.ToolBar1, window.Panel_Status, CharDetails});
  AddRepairOffer();
  selection_ = std::make_unique<TSelectionWatch>(
      [this] { return WatchesSelection(); },
      [&window](const WideString& text) { window.ShowTextFromElsewhere(text); });
}

TMainExtras::~TMainExtras() = default;

void TMainExtras::AddRepairOffer() {
  // Above the status line: the text area goes in front of both when the window is made.
  auto* column = static_cast<QVBoxLayout*>(window_.centralWidget()->layout());
  RepairBar = new TRepairBar(window_.centralWidget());
  column->insertWidget(column->indexOf(window_.Panel_Status), RepairBar);
  Action_TextRepair = new QAction(Caption(u"文字化けを直す(&M)"), &window_);
  Action_TextRepair->setObjectName(QStringLiteral("Action_TextRepair"));
  window_.PopupMenu_Main->addSeparator();
  window_.PopupMenu_Main->addAction(Action_TextRepair);
  Repair = new TRepairOffer(
      this, *window_.Memo_Text, *RepairBar, *Action_TextRepair,
      [this] { window_.Memo_TextSelectionChange(nullptr); }, [this] { CaretMoved(); });
  window_.Memo_Text->OnChange = [this](TObject*) { Repair->TextEdited(); };
  CharDetails->SetExtraRows([this] { return Repair->DetailRows(window_.Memo_Text->SelStart()); });
}

void TMainExtras::TextShown(WideView text) {
  Repair->TextShown(text);
}

bool TMainExtras::WatchesSelection() const {
  return window_.Ready() && window_.Action_TextCheckClipboard->isChecked() &&
         Actions.Action_TextCheckSelection->isChecked();
}

void TMainExtras::OpenCharDetails() {
  CharDetails->Open();
}

void TMainExtras::ApplyFullScreen() {
  if (Actions.Action_ViewFullScreen->isChecked())
    fullScreen_->Enter();
  else
    fullScreen_->Leave();
  Actions.FullScreenEscape->setEnabled(fullScreen_->Active());
  window_.Memo_Text->SetFocus();
  CaretMoved();  // a panel shown again catches up with moves made while it was hidden
}

void TMainExtras::LeaveFullScreen() {
  Actions.Action_ViewFullScreen->setChecked(false);
  fullScreen_->Leave();
  Actions.FullScreenEscape->setEnabled(false);
  CaretMoved();
}

bool TMainExtras::FullScreen() const {
  return fullScreen_->Active();
}

void TMainExtras::CaretMoved() {
  CharDetails->Follow();
}

void TMainExtras::WatchingOn() {
  watchLimit_.WatchingOn(window_);
}

bool TMainExtras::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::MouseButtonDblClick) return false;
  platform::Guard(
      platform::kLogApp, "opening the character details", [this] { OpenCharDetails(); },
      platform::OnFailure::Beep);
  return true;
}

}  // namespace magna
