#include "platform/qt/qtClipboard.h"

#include <QGuiApplication>
#include <QMimeData>

#include "platform/clipboardOffer.h"
#include "platform/qt/qtText.h"

namespace magna::platform::qt {

namespace {

std::vector<std::string> FormatNames(const QStringList& formats) {
  std::vector<std::string> names;
  names.reserve(size_t(formats.size()));
  for (const QString& format : formats) names.push_back(format.toStdString());
  return names;
}

}  // namespace

QtClipboard::QtClipboard(QClipboard::Mode mode) : QtClipboardBase(mode) {
  if (!clipboard_) return;
  connection_ = std::make_unique<QObject>();
  const auto changed =
      mode == QClipboard::Selection ? &QClipboard::selectionChanged : &QClipboard::dataChanged;
  QObject::connect(clipboard_, changed, connection_.get(), [this] {
    offer_.reset();
    if (!committing_ && !RepeatsLastOffer()) Notify();
  });
}

QtClipboard::~QtClipboard() = default;

const QtClipboard::Offer& QtClipboard::Offered() {
  if (offer_) return *offer_;
  offer_ = Offer{};  // clang refuses emplace() of a nested aggregate with member initializers
  const QMimeData* data = clipboard_ ? clipboard_->mimeData(mode_) : nullptr;
  if (!data) return *offer_;
  // One list, not hasText() and hasFormat(): each may ask the owner again.
  const std::vector<std::string> formats = FormatNames(data->formats());
  for (const std::string& format : formats) offer_->formats += format + '\n';
  offer_->text = ChooseTextFormat(formats).has_value();
  if (OffersPasswordHint(formats)) {
    const QByteArray value = data->data(QString::fromUtf8(kPasswordManagerHint));
    offer_->secret = IsSecretHint(value.toStdString());
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

bool QtClipboard::RepeatsLastOffer() {
  TClipboardChange offer;
  offer.Selection =
      mode_ == QClipboard::Selection ? WatchedSelection::Primary : WatchedSelection::Clipboard;
  offer.Text = Offered().text;
  offer.Secret = Offered().secret;
  offer.Owner = Offered().formats;
  if (offer.Text) offer.Value = CurrentText().value_or(WideString());
  const bool repeated = IsRepeatedOffer(last_, offer);
  last_ = std::move(offer);
  return repeated;
}

void QtClipboard::Committed(const std::optional<WideString>&) {
  offer_.reset();
  RepeatsLastOffer();  // the program's own offer is the one taken last now
  Notify();
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
  return QtOwnsIt();
}

bool QtClipboard::SeesChangesInBackground() {
  return QGuiApplication::platformName() != QStringLiteral("wayland");
}

}  // namespace magna::platform::qt
