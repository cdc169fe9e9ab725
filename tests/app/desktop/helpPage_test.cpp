// Where the help page is found: beside the program (build folder, portable copy)
// before the installed share/magna/help of a program in bin/.
#include "app/desktop/helpPage.h"

#include <gtest/gtest.h>

#include <QDir>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

QString Q(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

TEST(HelpPage, BesideTheProgramFirstThenTheInstalledShareFolder) {
  test::TempDir prefix;
  std::filesystem::create_directories(prefix / "bin");
  EXPECT_TRUE(InstalledHelpPage(Q(prefix / "bin")).isEmpty()) << "no page anywhere";

  std::filesystem::create_directories(prefix / "share/magna/help");
  test::WriteBytes(prefix / "share/magna/help/index.html", "<html>installed</html>");
  EXPECT_EQ(InstalledHelpPage(Q(prefix / "bin")), Q(prefix / "share/magna/help/index.html"));

  std::filesystem::create_directories(prefix / "bin/help");
  test::WriteBytes(prefix / "bin/help/index.html", "<html>beside</html>");
  EXPECT_EQ(InstalledHelpPage(Q(prefix / "bin")), Q(prefix / "bin/help/index.html"));
}

TEST(HelpPage, AFolderNamedLikeThePageIsNoPage) {
  test::TempDir prefix;
  std::filesystem::create_directories(prefix / "bin/help/index.html");
  EXPECT_TRUE(InstalledHelpPage(Q(prefix / "bin")).isEmpty());
}

}  // namespace
}  // namespace magna
