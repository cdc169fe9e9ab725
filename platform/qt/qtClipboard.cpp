#include "platform/qt/qtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/codepage/codePage.h"
#include "platform/log.h"
#include "platform/qt/qtText.h"

namespace magna::platform::qt {

namespace {

/// Set by KeePassXC, QtPass, Plasma Pass and others on what they copy.
const QString kPasswordManagerHint = QStringLiteral("x-kde-passwordManagerHint");

}  // namespace

QtClipboard::QtClipboard(QClipboard::Mode mode)
    : mode_(mode), clipboard_(QGuiApplication::clipboard()) {
  if (!clipboard_) return;
  connection_ = std::make_unique<QObject>();
  const auto changed =
      mode == QClipboard::Selection ? &QClipboard::selectionChanged : &QClipboard::dataChanged;
  QObject::connect(clipboard_, changed, connection_.get(), [this] {
    offer_.reset();
    if (!committing_) Notify();
  });
}

QtClipboard::~QtClipboard() = default;

const QtClipboard::Offer& QtClipboard::Offered() {
  if (offer_) return *offer_;
  offer_ = Offer{};  // clang refuses emplace() of a nested aggregate with member initializers
  const QMimeData* data = clipboard_ ? clipboard_->mimeData(mode_) : nullptr;
  if (!data) return *offer_;
  // One list, not hasText() and hasFormat(): each may ask the owner again.
  const QStringList formats = data->formats();
  // What QMimeData::text() can give: plain text, or else the URLs as text.
  offer_->text = formats.contains(QStringLiteral("text/plain")) ||
                 formats.contains(QStringLiteral("text/uri-list"));
  if (formats.contains(kPasswordManagerHint)) {
    // A hint whose value can't be read is taken for a secret: better not shown.
    const QByteArray value = data->data(kPasswordManagerHint).trimmed();
    offer_->secret = value.isEmpty() || value == "secret";
  }
  return *offer_;
}

const QMimeData* QtClipboard::TextData() {
  if (!clipboard_ || !Offered().text) return nullptr;
  return clipboard_->mimeData(mode_);
}

std::optional<WideString> QtClipboard::CurrentText() {
  const QMimeData* data = TextData();
  if (!data) return std::nullopt;
  return ToWide(data->text());
}

bool QtClipboard::IsFormatAvailable(Format) {
  // Both formats stand for the same text: ANSI is synthesised from Unicode.
  // Only the offered formats are looked at: the text itself may be megabytes
  // held by another program.
  return Offered().text;
}

bool QtClipboard::IsMarkedSecret() {
  return Offered().secret;
}

bool QtClipboard::IsOwnContent() {
  if (!clipboard_) return false;
  return mode_ == QClipboard::Selection ? clipboard_->ownsSelection() : clipboard_->ownsClipboard();
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
    clipboard_->setText(ToQString(*text), mode_);
  else
    clipboard_->clear(mode_);
  committing_ = false;
  offer_.reset();
  Notify();
}

void QtClipboard::Notify() {
  // A copy: the handler may replace itself while it runs.
  const std::function<void()> handler = handler_;
  if (!handler) return;
  // Qt's event loop can't carry an exception: the notice is lost, and logged.
  try {
    handler();
  } catch (...) {
    LogCaughtException(kLogClipboard, "handling a clipboard change");
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
}

}  // namespace magna::platform::qt
