#include "app/window/testHook.h"

#include <QFile>
#include <QSaveFile>

#include "platform/log.h"
#include "platform/qt/qtText.h"
#include "text/character/myStatusLine.h"

namespace magna {

namespace {

QByteArray Line(const char* key, const WideString& value) {
  QString text = platform::qt::ToQString(value);
  text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  return QByteArray(key) + '=' + text.toUtf8() + '\n';
}

}  // namespace

QString TestHookFile() {
  return qEnvironmentVariable("MAGNA_TEST_HOOK");
}

void WriteTestHook(const WideString& text, const TStatusCaptions& captions) {
  static const QString file = TestHookFile();
  if (file.isEmpty()) return;
  QSaveFile out(file);  // readers never see half a record
  if (out.open(QIODevice::WriteOnly)) {
    out.write(Line("text", text) + Line("char", captions.Char) + Line("ansi", captions.Ansi) +
              Line("unicode", captions.Unicode) + Line("utf8", captions.Utf8));
    if (out.commit()) return;
  }
  // A test waiting for the record would only time out: say why.
  platform::LogNamedWarning(platform::kLogApp, "writing the test hook file",
                            platform::qt::ToWide(file), out.errorString().toStdString());
}

}  // namespace magna
