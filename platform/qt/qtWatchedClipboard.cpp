#include "platform/qt/qtWatchedClipboard.h"

#include "platform/qt/qtClipboardReader.h"

namespace magna::platform::qt {

namespace {

QClipboard::Mode ModeOf(WatchedSelection which) {
  return which == WatchedSelection::Primary ? QClipboard::Selection : QClipboard::Clipboard;
}

}  // namespace

QtWatchedClipboard::QtWatchedClipboard(std::shared_ptr<QtClipboardReader> reader,
                                       WatchedSelection which, std::chrono::milliseconds firstWait)
    : QtClipboardBase(ModeOf(which)), reader_(std::move(reader)), which_(which) {
  if (auto first = reader_->WaitTake(which_, firstWait)) {
    current_ = std::move(*first);
    taken_ = true;
  }
  reader_->SetReceiver(which_, [this] { Receive(); });
}

QtWatchedClipboard::~QtWatchedClipboard() {
  reader_->SetReceiver(which_, nullptr);
}

void QtWatchedClipboard::Receive() {
  std::optional<TClipboardChange> change = reader_->Take(which_);
  if (!change) return;
  const bool first = !taken_;
  taken_ = true;
  written_.reset();
  writtenEmpty_ = false;
  // The program's own copy always notifies: its notice is the one that Copy expects.
  const bool own = change->Own.value_or(QtOwnsIt());
  const bool repeated = !own && IsRepeatedOffer(current_, *change);
  current_ = std::move(*change);
  if (repeated || (first && which_ == WatchedSelection::Primary)) return;
  Notify();
}

bool QtWatchedClipboard::IsFormatAvailable(Format) {
  if (written_ || writtenEmpty_) return written_.has_value();
  return current_.Text;
}

bool QtWatchedClipboard::IsMarkedSecret() {
  return !written_ && !writtenEmpty_ && current_.Secret;
}

bool QtWatchedClipboard::IsOwnContent() {
  if (written_ || writtenEmpty_) return true;
  return current_.Own.value_or(QtOwnsIt());
}

std::optional<WideString> QtWatchedClipboard::CurrentText() {
  if (written_ || writtenEmpty_) return written_;
  if (!current_.Text) return std::nullopt;
  return current_.Value;
}

void QtWatchedClipboard::Committed(const std::optional<WideString>& text) {
  written_ = text;
  writtenEmpty_ = !text;
}

}  // namespace magna::platform::qt
