#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/fileSystem.h"
#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

namespace fs = std::filesystem;
using test::U8;
using test::W;

TEST(MatchesWildcard, FollowsWindowsRules) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"a.txt", "*.txt", true},
      {"A.TXT", "*.txt", true},
      {"a.b.txt", "*.txt", true},
      {"a.txt.bak", "*.txt", false},
      {"a.txt", "a.txt", true},
      {"A.txt", "a.TXT", true},
      {"ab.txt", "a.txt", false},
      {"noext", "*.*", true},
      {".hidden", "*.*", true},
      {"a.b.c", "*.*", true},
      {"noext", "*.", true},  // "*." asks for names without extension
      {"a.b", "*.", false},
      {"a", "a?", true},  // "?" takes nothing at the end of the name
      {"ab", "a?", true},
      {"abc", "a?", false},
      {"a.txt", "a?.txt", true},  // and nothing before a full stop
      {"ab.txt", "a?.txt", true},
      {"abc.txt", "a?.txt", false},
      {"file12.dat", "file??.dat", true},
      {"file1.dat", "file??.dat", true},
      {"x", "?", true},
      {"abc", "*c", true},
      {"abc", "*b", false},
      {"abc", "a*b*c", true},
      {"a.tar.gz", "*.t*", true},
      {"readme", "*.t*", false},
      {"<x>", "<x>", true},  // DOS wildcard characters are ordinary here
      {"a\"b", "a.b", false},
      {"日本語.txt", "日本*.TXT", true},
      {"ａｂ.txt", "ＡＢ.txt", true},  // full-width letters ignore case too
      {"日本語.txt", "日本?.txt", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
    EXPECT_EQ(MatchesWildcard(W(c.name), W(c.pattern)), c.matches);
  }
}

TEST(FileTimeOfUnixTime, CountsFrom1601) {
  EXPECT_EQ(FileTimeOfUnixTime(0, 0), kUnixEpochAsFileTime);
  EXPECT_EQ(FileTimeOfUnixTime(1, 999), kUnixEpochAsFileTime + 10000009);
  EXPECT_EQ(FileTimeOfUnixTime(-11644473600, 0), 0u);
  EXPECT_EQ(FileTimeOfUnixTime(-11644473601, 0), 0u);  // before 1601: not available
}

std::set<std::string> FindAll(const std::string& pattern) {
  std::set<std::string> names;
  FileFinder finder;
  FindData data;
  for (bool found = finder.FindFirst(pattern, data); found; found = finder.FindNext(data)) {
    EXPECT_EQ(U8(data.Name), data.NativeName);
    names.insert(data.NativeName + (data.IsDirectory ? "/" : ""));
  }
  return names;
}

TEST(FileFinder, FindsMatchingEntriesLikeFindFirstFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "one.txt", "1");
  test::WriteBytes(dir / "two.TXT", "22");
  test::WriteBytes(dir / "three.md", "333");
  fs::create_directory(dir / "sub.txt");
  const std::string root = dir.Path().string();

  EXPECT_EQ(FindAll(root + "/*.txt"), (std::set<std::string>{"one.txt", "two.TXT", "sub.txt/"}));
  EXPECT_EQ(FindAll(root + "/*"),
            (std::set<std::string>{"./", "../", "one.txt", "two.TXT", "three.md", "sub.txt/"}));
  EXPECT_EQ(FindAll(root + "/THREE.MD"), std::set<std::string>{"three.md"});
  EXPECT_TRUE(FindAll(root + "/").empty());
  EXPECT_TRUE(FindAll(root + "/missing/*").empty());
  EXPECT_TRUE(FindAll(root + "/*.none").empty());
}

TEST(FileFinder, ReportsSizesOfFilesAndNoneForFolders) {
  test::TempDir dir;
  test::WriteBytes(dir / "f", "12345");
  fs::create_directory(dir / "d");
  FileFinder finder;
  FindData data;
  ASSERT_TRUE(finder.FindFirst(dir.Path().string() + "/F", data));
  EXPECT_FALSE(data.IsDirectory);
  EXPECT_EQ(data.Size, 5u);
  EXPECT_NE(data.WriteTime, 0u);
  EXPECT_FALSE(finder.FindNext(data));
  ASSERT_TRUE(finder.FindFirst(dir.Path().string() + "/d", data));
  EXPECT_TRUE(data.IsDirectory);
  EXPECT_EQ(data.Size, 0u);
  finder.Close();
  EXPECT_FALSE(finder.FindNext(data));
}

TEST(FileStatus, OpenFileStatusRefusesFolders) {
  test::TempDir dir;
  test::WriteBytes(dir / "f", "12");
  const auto folder = GetFileStatus(dir.Path().string());
  ASSERT_TRUE(folder.has_value());
  EXPECT_TRUE(folder->IsDirectory);
  EXPECT_FALSE(GetOpenFileStatus(dir.Path().string()).has_value());
  const auto file = GetOpenFileStatus((dir / "f").string());
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->Size, 2u);
  EXPECT_FALSE(GetFileStatus("").has_value());
  EXPECT_FALSE(GetOpenFileStatus((dir / "missing").string()).has_value());
}

TEST(FileFinder, NamesOutsideUtf8AndTheDirectoryBehindALink) {
  test::TempDir dir;
  test::WriteBytes(dir / "\x93\xFA.txt", "sjis");  // 日.txt in Shift_JIS
  fs::create_directory_symlink(dir.Path(), dir / "self");
  FileFinder finder;
  FindData data;
  ASSERT_TRUE(finder.FindFirst(dir.Path().string() + "/*.TXT", data));
  EXPECT_EQ(data.Name, u"\xDC93\xDCFA.txt");
  EXPECT_EQ(data.NativeName, "\x93\xFA.txt");
  const FileId direct = finder.DirectoryId();
  ASSERT_TRUE(finder.FindFirst(dir.Path().string() + "/self/*", data));
  EXPECT_EQ(finder.DirectoryId(), direct);
  EXPECT_NE(direct, FileId{});
}

TEST(ProcessNames, NameThisTestProgram) {
  const fs::path image = ProcessImagePath();
  EXPECT_TRUE(image.is_absolute());
  EXPECT_EQ(image.filename(), "test_platform_fileSystem_test");
  EXPECT_EQ(fs::path(ProcessFirstArgument()).filename(), "test_platform_fileSystem_test");
  ASSERT_FALSE(ProcessArguments().empty());
  EXPECT_EQ(ProcessArguments().front(), ProcessFirstArgument());
}

}  // namespace
}  // namespace magna::platform
