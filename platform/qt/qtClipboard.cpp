#include "platform/qt/qtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/codepage/codePage.h"
#include "platform/qt/qtText.h"

namespace magna::platform::qt {

QtClipboard::QtClipboard() : clipboard_(QGuiApplication::clipboard()) {}

QtClipboard::~QtClipboard() = default;

const QMimeData* QtClipboard::TextData() const {
  if (!clipboard_) return nullptr;
  const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
  return data && data->hasText() ? data : nullptr;
}

std::optional<WideString> QtClipboard::CurrentText() const {
  const QMimeData* data = TextData();
  if (!data) return std::nullopt;
  return ToWide(data->text());
}

bool QtClipboard::IsFormatAvailable(Format) {
  // Both formats stand for the same text: ANSI is synthesised from Unicode.
  // Asked on every caret move, so only the offered formats are looked at: the
  // text itself may be megabytes held by another program.
  return TextData() != nullptr;
}

bool QtClipboard::Open() {
  if (open_ || !clipboard_) return false;
  open_ = true;
  return true;
}

void QtClipboard::Close() {
  if (!open_) return;
  open_ = false;
  Commit();
}

void QtClipboard::Commit() {
  std::optional<WideString> text = std::move(pendingUnicode_);
  if (!text && pendingAnsi_) text = MultiByteToWide(CP_ANSI, *pendingAnsi_);
  const bool emptied = emptied_;
  pendingUnicode_.reset();
  pendingAnsi_.reset();
  emptied_ = false;
  if (!clipboard_ || (!text && !emptied)) return;
  committing_ = true;
  if (text)
    clipboard_->setText(ToQString(*text), QClipboard::Clipboard);
  else
    clipboard_->clear(QClipboard::Clipboard);
  committing_ = false;
  Notify();
}

void QtClipboard::Notify() {
  // A copy: the handler may replace itself while it runs.
  const std::function<void()> handler = handler_;
  if (!handler) return;
  // Qt's event loop can't carry an exception; the notice is simply lost.
  try {
    handler();
  } catch (...) {
  }
}

std::optional<WideString> QtClipboard::GetUnicodeText() {
  return open_ ? CurrentText() : std::nullopt;
}

std::optional<AnsiString> QtClipboard::GetAnsiText() {
  if (!open_) return std::nullopt;
  std::optional<WideString> text = CurrentText();
  if (!text) return std::nullopt;
  return WideToMultiByte(CP_ANSI, *text);
}

void QtClipboard::Empty() {
  if (!open_) return;
  emptied_ = true;
  pendingUnicode_.reset();
  pendingAnsi_.reset();
}

void QtClipboard::SetUnicodeText(const WideString& text) {
  if (open_) pendingUnicode_ = text;
}

void QtClipboard::SetAnsiText(const AnsiString& bytes) {
  if (open_) pendingAnsi_ = bytes;
}

void QtClipboard::SetChangeHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
  if (connection_ || !clipboard_) return;
  connection_ = std::make_unique<QObject>();
  QObject::connect(clipboard_, &QClipboard::dataChanged, connection_.get(), [this] {
    if (!committing_) Notify();
  });
}

}  // namespace magna::platform::qt
