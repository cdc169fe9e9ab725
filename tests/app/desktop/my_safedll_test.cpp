// The current directory kept out of the library and plugin search paths.
#include "app/desktop/my_safedll.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

/// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::optional<std::string> Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::optional<std::string>(v) : std::nullopt;
}

TEST(AbsoluteSearchPath, KeepsAbsoluteEntriesInOrder) {
  struct Row {
    const char* in;
    const char* out;
  } rows[] = {
      {"", ""},
      {"/usr/lib", "/usr/lib"},
      {":/usr/lib", "/usr/lib"},
      {"/usr/lib:", "/usr/lib"},
      {"/a::/b", "/a:/b"},
      {".:/a:lib:./b:../c:/d/e", "/a:/d/e"},
      {"relative", ""},
      {":::", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in);
    EXPECT_EQ(AbsoluteSearchPath(r.in), r.out);
  }
}

TEST(RestrictLibrarySearchPath, CleansTheEnvironmentOfRelativeEntries) {
  // The loader path is already clean here, so the program is not started again.
  ScopedEnv loader("LD_LIBRARY_PATH", "/opt/lib:/usr/lib");
  ScopedEnv plugins("QT_PLUGIN_PATH", ".:/opt/plugins::plugins");
  ScopedEnv platform("QT_QPA_PLATFORM_PLUGIN_PATH", "platforms");
  RestrictLibrarySearchPath(nullptr);
  EXPECT_EQ(Env("LD_LIBRARY_PATH"), "/opt/lib:/usr/lib");
  EXPECT_EQ(Env("QT_PLUGIN_PATH"), "/opt/plugins");
  EXPECT_EQ(Env("QT_QPA_PLATFORM_PLUGIN_PATH"), std::nullopt);
}

TEST(RestrictLibrarySearchPath, UnsetsVariablesWithNothingAbsoluteAndKeepsAbsentOnesAbsent) {
  ScopedEnv loader("LD_LIBRARY_PATH", ":.");
  ScopedEnv plugins("QT_PLUGIN_PATH", nullptr);
  ScopedEnv platform("QT_QPA_PLATFORM_PLUGIN_PATH", "/usr/lib/qt6/plugins/platforms");
  RestrictLibrarySearchPath(nullptr);  // no argv: cleaned, never started again
  EXPECT_EQ(Env("LD_LIBRARY_PATH"), std::nullopt);
  EXPECT_EQ(Env("QT_PLUGIN_PATH"), std::nullopt);
  EXPECT_EQ(Env("QT_QPA_PLATFORM_PLUGIN_PATH"), "/usr/lib/qt6/plugins/platforms");
  EXPECT_EQ(Env("MAGNA_SAFEDLL_RESTARTED"), std::nullopt);
}

// Runs only in the process the next test starts: reports the loader path it began with.
TEST(SafeDllProbe, ReportsTheLoaderPath) {
  const auto out = Env("MAGNA_PROBE_OUT");
  if (!out) GTEST_SKIP() << "started by the restart test only";
  std::ofstream(*out) << Env("LD_LIBRARY_PATH").value_or("(unset)");
}

TEST(RestrictLibrarySearchPath, StartsTheProgramAgainWithTheCleanLoaderPath) {
  test::TempDir dir;
  const std::string report = (dir / "report").string();
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    setenv("LD_LIBRARY_PATH", ".:/usr/lib:", 1);
    setenv("MAGNA_PROBE_OUT", report.c_str(), 1);
    char self[] = "test_app_my_safedll_test";
    char filter[] = "--gtest_filter=SafeDllProbe.*";
    char* argv[] = {self, filter, nullptr};
    RestrictLibrarySearchPath(argv);
    _exit(99);  // not started again
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::ReadBytes(dir / "report"), "/usr/lib");
}

TEST(RestrictQtLibraryPaths, DropsTheCurrentDirectory) {
  const QStringList saved = QCoreApplication::libraryPaths();
  const QString savedDir = QDir::currentPath();
  test::TempDir dir;
  const QString cwd = QDir(QString::fromStdString(dir.Path().string())).canonicalPath();
  ASSERT_TRUE(QDir::setCurrent(cwd));
  // What Qt makes of "." in its plugin path: the absolute current directory.
  QCoreApplication::setLibraryPaths({QStringLiteral("/usr/lib"), cwd, QStringLiteral("/opt/qt")});
  RestrictQtLibraryPaths();
  EXPECT_EQ(QCoreApplication::libraryPaths(),
            QStringList({QStringLiteral("/usr/lib"), QStringLiteral("/opt/qt")}));
  QDir::setCurrent(savedDir);
  QCoreApplication::setLibraryPaths(saved);
}

TEST(RestrictQtLibraryPaths, KeepsTheProgramsOwnFolderWhenItIsTheCurrentOne) {
  const QStringList saved = QCoreApplication::libraryPaths();
  const QString savedDir = QDir::currentPath();
  const QString own = QCoreApplication::applicationDirPath();
  ASSERT_TRUE(QDir::setCurrent(own));
  QCoreApplication::setLibraryPaths({own});
  RestrictQtLibraryPaths();
  EXPECT_EQ(QCoreApplication::libraryPaths(), QStringList({own}));
  QDir::setCurrent(savedDir);
  QCoreApplication::setLibraryPaths(saved);
}

}  // namespace
}  // namespace magna
