// The user's configuration folder by the XDG rules, and the private folder the
// settings go into.
#include "platform/userFolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

EnvironmentLookup Env(std::map<std::string, std::string> vars) {
  return [vars](const char* name) -> std::optional<std::string> {
    auto it = vars.find(name);
    return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
}

TEST(UserConfigHome, FollowsTheBaseDirectoryRules) {
  struct Row {
    const char* name;
    std::map<std::string, std::string> env;
    const char* expected;
  } rows[] = {
      {"XDG_CONFIG_HOME wins", {{"XDG_CONFIG_HOME", "/x/conf"}, {"HOME", "/home/u"}}, "/x/conf"},
      {"a relative XDG_CONFIG_HOME is ignored",
       {{"XDG_CONFIG_HOME", "conf"}, {"HOME", "/home/u"}},
       "/home/u/.config"},
      {"an empty XDG_CONFIG_HOME is ignored",
       {{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u"}},
       "/home/u/.config"},
      {"HOME with a trailing slash", {{"HOME", "/home/u/"}}, "/home/u/.config"},
      {"HOME is the root", {{"HOME", "/"}}, "/.config"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(UserConfigHome(Env(r.env)), r.expected);
  }
}

TEST(UserConfigHome, WithoutHomeTheAccountsHomeFolder) {
  const std::string home = UserConfigHome(Env({{"HOME", "relative"}}));
  ASSERT_FALSE(home.empty()) << "every account here has a home folder";
  EXPECT_EQ(home.front(), '/');
  EXPECT_TRUE(home.ends_with("/.config")) << home;
}

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat st {};
  EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

TEST(MakePrivateFolder, MakesMissingParentsPrivateAndLeavesExistingFoldersAlone) {
  test::TempDir dir;
  const mode_t oldMask = umask(0);  // the mode must not depend on the umask being kind
  const auto shared = dir / "shared";
  ASSERT_EQ(mkdir(shared.c_str(), 0755), 0);
  const bool made = MakePrivateFolder((dir / "shared/config/magna").string());
  umask(oldMask);
  ASSERT_TRUE(made);
  EXPECT_EQ(ModeOf(dir / "shared/config"), 0700u);
  EXPECT_EQ(ModeOf(dir / "shared/config/magna"), 0700u);
  EXPECT_EQ(ModeOf(shared), 0755u);
  EXPECT_TRUE(MakePrivateFolder((dir / "shared/config/magna").string())) << "already there";
}

TEST(MakePrivateFolder, FailsWhereAFileStands) {
  test::TempDir dir;
  test::WriteBytes(dir / "file", "x");
  EXPECT_FALSE(MakePrivateFolder((dir / "file").string()));
  EXPECT_FALSE(MakePrivateFolder((dir / "file/below").string()));
  EXPECT_FALSE(MakePrivateFolder(""));
}

TEST(IsWritableFolder, AnswersForFoldersOnly) {
  test::TempDir dir;
  test::WriteBytes(dir / "file", "x");
  EXPECT_TRUE(IsWritableFolder(dir.Path().string()));
  EXPECT_FALSE(IsWritableFolder((dir / "file").string()));
  EXPECT_FALSE(IsWritableFolder((dir / "missing").string()));
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  const bool readOnly = IsWritableFolder(dir.Path().string());
  chmod(dir.Path().c_str(), 0755);
  if (geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  EXPECT_FALSE(readOnly);
}

}  // namespace
}  // namespace magna::platform
