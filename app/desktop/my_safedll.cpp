#include "app/desktop/my_safedll.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStringList>

#include <unistd.h>

#include <cstdlib>

namespace magna {

namespace {

constexpr char kRestarted[] = "MAGNA_SAFEDLL_RESTARTED";

/// Rewrites a search-path variable to its absolute entries; true when that changed it.
bool RestrictVariable(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return false;
  const std::string kept = AbsoluteSearchPath(value);
  if (kept == value) return false;
  if (kept.empty())
    unsetenv(name);
  else
    setenv(name, kept.c_str(), 1);
  return true;
}

/// A single folder: kept only when absolute.
void RestrictSingleFolder(const char* name) {
  const char* value = std::getenv(name);
  if (value && value[0] != '/') unsetenv(name);
}

/// Starts the program again so the loader takes the cleaned library path; returns
/// only when that is impossible.
void RestartWithCleanLoaderPath(char** argv) {
  if (!argv || !argv[0] || std::getenv(kRestarted)) return;
  setenv(kRestarted, "1", 1);
  execv("/proc/self/exe", argv);
  unsetenv(kRestarted);  // exec failed: carry on with what the loader already has
}

bool IsAbsolute(const QString& path) {
  return path.startsWith(QLatin1Char('/'));
}

}  // namespace

std::string AbsoluteSearchPath(std::string_view list) {
  std::string kept;
  while (true) {
    const size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    if (!entry.empty() && entry.front() == '/') {
      if (!kept.empty()) kept += ':';
      kept += entry;
    }
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return kept;
}

void RestrictLibrarySearchPath(char** argv) {
  RestrictVariable("QT_PLUGIN_PATH");
  RestrictSingleFolder("QT_QPA_PLATFORM_PLUGIN_PATH");
  if (RestrictVariable("LD_LIBRARY_PATH")) RestartWithCleanLoaderPath(argv);
  unsetenv(kRestarted);  // not for child processes
}

void RestrictQtLibraryPaths() {
  if (!QCoreApplication::instance()) return;
  const QString current = QDir::current().canonicalPath();
  const QStringList trusted = {QCoreApplication::applicationDirPath(),
                               QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath)).canonicalPath()};
  QStringList kept;
  for (const QString& path : QCoreApplication::libraryPaths()) {
    const bool isCurrent = QDir(path).canonicalPath() == current && !trusted.contains(current);
    if (IsAbsolute(path) && !isCurrent) kept << path;
  }
  if (kept != QCoreApplication::libraryPaths()) QCoreApplication::setLibraryPaths(kept);
}

}  // namespace magna

static void magnaRestrictQtLibraryPaths() {
  magna::RestrictQtLibraryPaths();
}
Q_COREAPP_STARTUP_FUNCTION(magnaRestrictQtLibraryPaths)
