#include "app/desktop/captionLanguage.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>
#include <cstdlib>

// The translations are built into the static library; their resource is registered by name.
static void InitCaptionResource() {
  Q_INIT_RESOURCE(captions);
}

namespace magna {

namespace {

/// The context of every caption in the translation file.
constexpr char kContext[] = "Magna";

QPointer<QTranslator>& Installed() {
  static QPointer<QTranslator> translator;
  return translator;
}

bool NamesNoLanguage(const std::string& locale) {
  return locale == "C" || locale.starts_with("C.") || locale == "POSIX";
}

}  // namespace

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> MessagesLocale(const TVariable& variable) {
  std::optional<std::string> locale = variable("LC_ALL");
  if (!locale) locale = variable("LC_MESSAGES");
  if (!locale) locale = variable("LANG");
  return locale;
}

bool WantsEnglishCaptions(const TVariable& variable) {
  const std::optional<std::string> locale = MessagesLocale(variable);
  return locale && !NamesNoLanguage(*locale) && !locale->starts_with("ja");
}

bool InstallCaptionLanguage(QCoreApplication& app, bool english) {
  RemoveCaptionLanguage(app);
  if (!english) return false;
  InitCaptionResource();
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral(":/magna/i18n/magna_en.qm")) ||
      !app.installTranslator(translator)) {
    delete translator;
    return false;
  }
  Installed() = translator;
  return true;
}

void RemoveCaptionLanguage(QCoreApplication& app) {
  if (QTranslator* translator = Installed()) {
    app.removeTranslator(translator);
    delete translator;
  }
}

bool EnglishCaptionsInstalled() {
  return !Installed().isNull();
}

QString Caption(const char16_t* japanese) {
  return Caption(QString::fromUtf16(japanese));
}

QString Caption(const QString& japanese) {
  const QByteArray source = japanese.toUtf8();
  return QCoreApplication::translate(kContext, source.constData());
}

}  // namespace magna
