#include "app/session/settingsAutosave.h"

#include <utility>

namespace magna {

TSettingsAutosave::TSettingsAutosave(TMainSettingsTarget& target, const WideString& fileName,
                                     std::unique_ptr<TDelayTimer> timer)
    : target_(target), fileName_(fileName), timer_(std::move(timer)) {
  timer_->OnTimeout = [this] { WriteIfChanged(); };
}

void TSettingsAutosave::Start() {
  Written();
  started_ = true;
}

void TSettingsAutosave::Stop() {
  started_ = false;
  timer_->Stop();
}

void TSettingsAutosave::Changed() {
  if (started_) timer_->Start(kDelay);
}

void TSettingsAutosave::Written() {
  written_ = SettingsRecord(target_);
}

void TSettingsAutosave::SetHeld(bool held) {
  if (held == held_) return;
  held_ = held;
  if (!held_) Changed();
}

void TSettingsAutosave::WriteIfChanged() {
  if (!started_ || held_) return;
  WideString entries = SettingsRecord(target_);
  if (entries == written_) return;
  // A failed write keeps the old record: the next change tries again.
  if (WriteSettings(target_, fileName_)) written_ = std::move(entries);
}

}  // namespace magna
