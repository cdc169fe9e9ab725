#include "platform/qt/qtClipboardBase.h"

#include <QGuiApplication>

#include "platform/codepage/codePage.h"
#include "platform/log.h"
#include "platform/qt/qtText.h"

namespace magna::platform::qt {

QtClipboardBase::QtClipboardBase(QClipboard::Mode mode)
    : mode_(mode), clipboard_(QGuiApplication::clipboard()) {}

bool QtClipboardBase::Open() {
  if (open_ || !clipboard_) return false;
  open_ = true;
  return true;
}

void QtClipboardBase::Close() {
  if (!open_) return;
  open_ = false;
  Commit();
}

void QtClipboardBase::Commit() {
  std::optional<WideString> text = std::move(pendingUnicode_);
  if (!text && pendingAnsi_) text = MultiByteToWide(CP_ANSI, *pendingAnsi_);
  const bool emptied = emptied_;
  pendingUnicode_.reset();
  pendingAnsi_.reset();
  emptied_ = false;
  if (!clipboard_ || (!text && !emptied)) return;
  committing_ = true;
  if (text)
    clipboard_->setText(ToQString(*text), mode_);
  else
    clipboard_->clear(mode_);
  committing_ = false;
  Committed(text);
}

void QtClipboardBase::Notify() {
  // A copy: the handler may replace itself while it runs.
  const std::function<void()> handler = handler_;
  if (!handler) return;
  // A notice whose handler fails is lost, and logged.
  Guard(kLogClipboard, "handling a clipboard change", handler);
}

bool QtClipboardBase::QtOwnsIt() const {
  if (!clipboard_) return false;
  return mode_ == QClipboard::Selection ? clipboard_->ownsSelection() : clipboard_->ownsClipboard();
}

std::optional<WideString> QtClipboardBase::GetUnicodeText() {
  return open_ ? CurrentText() : std::nullopt;
}

std::optional<AnsiString> QtClipboardBase::GetAnsiText() {
  if (!open_) return std::nullopt;
  std::optional<WideString> text = CurrentText();
  if (!text) return std::nullopt;
  return WideToMultiByte(CP_ANSI, *text);
}

void QtClipboardBase::Empty() {
  if (!open_) return;
  emptied_ = true;
  pendingUnicode_.reset();
  pendingAnsi_.reset();
}

void QtClipboardBase::SetUnicodeText(const WideString& text) {
  if (open_) pendingUnicode_ = text;
}

void QtClipboardBase::SetAnsiText(const AnsiString& bytes) {
  if (open_) pendingAnsi_ = bytes;
}

void QtClipboardBase::SetChangeHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
}

}  // namespace magna::platform::qt
