#include "app/desktop/helpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "platform/log.h"

// The page is built into the static library; its resource must be registered by name.
static void InitHelpResource() {
  Q_INIT_RESOURCE(help);
}

namespace magna {

namespace {

const QString kBuiltIn = QStringLiteral(":/magna/help/index.html");
// MAGNA_HELP_FROM_BIN: the installed page's folder relative to the program's
// (cmake/MagnaInstall.cmake).

QByteArray ReadAll(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The built-in page as a file, rewritten only when its content differs.
QString WrittenOutPage() {
  InitHelpResource();
  QByteArray page = ReadAll(kBuiltIn);
  QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (page.isEmpty() || folder.isEmpty() || !QDir().mkpath(folder + QStringLiteral("/help")))
    return {};
  QString name = folder + QStringLiteral("/help/index.html");
  if (ReadAll(name) == page) return name;
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
  if (file.write(page) != page.size()) return {};
  return name;
}

}  // namespace

QString InstalledHelpPage(const QString& programDir) {
  for (const QString& folder : {QStringLiteral("help"), QStringLiteral(MAGNA_HELP_FROM_BIN)}) {
    const QString page =
        QDir::cleanPath(programDir + QLatin1Char('/') + folder) + QStringLiteral("/index.html");
    if (QFileInfo(page).isFile()) return page;
  }
  return {};
}

QString HelpPageAddress() {
  QString page = InstalledHelpPage(QCoreApplication::applicationDirPath());
  if (page.isEmpty()) page = WrittenOutPage();
  if (page.isEmpty()) {
    // The version dialog then shows no link at all.
    platform::LogWarning(platform::kLogApp, "finding the help page",
                         "none beside the program or installed, and the built-in one could "
                         "not be written to the cache folder");
    return {};
  }
  return QUrl::fromLocalFile(page).toString();
}

}  // namespace magna
