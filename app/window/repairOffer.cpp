#include "app/window/repairOffer.h"

#include <QAction>

#include "app/desktop/captionLanguage.h"
#include "app/window/repairBar.h"
#include "editor/myEdit.h"
#include "platform/log.h"
#include "platform/qt/qtText.h"

namespace magna {

namespace {

/// The repaired characters shown for a stretch: a long stretch is cut.
constexpr size_t kShownRepairedUnits = 32;

TRepairLanguage CaptionLanguage() {
  return EnglishCaptionsInstalled() ? TRepairLanguage::English : TRepairLanguage::Japanese;
}

QString FoundCaption(const TRepairFinding& finding) {
  const QString words = platform::qt::ToQString(ChainWords(finding.chain, CaptionLanguage()));
  return (finding.lostBytes
              ? Caption(u"一部を読めるテキストに直せます（失われたバイトは � になります）: %1")
              : Caption(u"読めるテキストに直せます: %1"))
      .arg(words);
}

}  // namespace

TRepairOffer::TRepairOffer(QObject* owner, TMyCustomEdit& memo, TRepairBar& bar, QAction& action,
                           std::function<void()> replaced, std::function<void()> checked)
    : QObject(owner),
      memo_(memo),
      bar_(bar),
      action_(action),
      replaced_(std::move(replaced)),
      checked_(std::move(checked)) {
  pause_.setSingleShot(true);
  pause_.setInterval(kTypingPauseMs);
  connect(&pause_, &QTimer::timeout, this,
          [this] { Guarded(&TRepairOffer::CheckPending, "checking the text for a repair"); });
  connect(&action_, &QAction::triggered, this,
          [this] { Guarded(&TRepairOffer::Take, "repairing the text"); });
  action_.setEnabled(false);
  bar_.OnRepair = [this] { Guarded(&TRepairOffer::Take, "repairing the text"); };
  bar_.OnClose = [this] { Guarded(&TRepairOffer::Close, "closing the repair bar"); };
}

void TRepairOffer::Guarded(void (TRepairOffer::*command)(), const char* doing) {
  platform::Guard(
      platform::kLogApp, doing, [&] { (this->*command)(); }, platform::OnFailure::Beep);
}

void TRepairOffer::TextShown(WideView text) {
  pause_.stop();
  Check(text);
}

void TRepairOffer::TextEdited() {
  pause_.start();
}

void TRepairOffer::CheckPending() {
  pause_.stop();
  Check(memo_.HeldText());
}

void TRepairOffer::Check(WideView text) {
  finding_ = CheckRepair(text);
  repair_.reset();
  closed_ = false;
  ShowFinding();
  if (checked_) checked_();
}

void TRepairOffer::ShowFinding() {
  action_.setEnabled(finding_.Found());
  if (finding_.Found() && !closed_)
    bar_.Offer(FoundCaption(finding_));
  else
    bar_.hide();
}

const TRepair& TRepairOffer::Repaired() {
  // The positions of the details and of the stretches are the text area's.
  if (!repair_) repair_ = ApplyRepair(memo_.HeldText(), finding_);
  return *repair_;
}

void TRepairOffer::Take() {
  if (pause_.isActive()) CheckPending();  // the text typed last counts
  if (!finding_.Found()) return;
  const WideString repaired = Repaired().text;
  if (repaired.empty()) {
    finding_ = {};
    ShowFinding();
    return;
  }
  // The whole text selected and replaced in one edit: one undo brings it back.
  memo_.SetFocus();
  memo_.SelectAll();
  memo_.SetSelText(repaired);
  memo_.SetSelStart(0);
  TextShown(repaired);
  if (replaced_) replaced_();
}

void TRepairOffer::Close() {
  closed_ = true;
  ShowFinding();
  memo_.SetFocus();
}

std::vector<TDetailRow> TRepairOffer::DetailRows(int32_t caret) {
  if (!finding_.Found() || caret < 0) return {};
  const TRepair& repair = Repaired();
  const TRepairSpan* span = repair.SpanAt(size_t(caret));
  if (!span) return {};
  WideString repaired =
      repair.text.substr(span->repairedFrom, std::min(span->repairedLength, kShownRepairedUnits));
  if (span->repairedLength > kShownRepairedUnits) repaired += u"…";
  return {{u"文字化けの修復", ChainWords(repair.chain, CaptionLanguage())},
          {u"修復後の文字", repaired}};
}

}  // namespace magna
