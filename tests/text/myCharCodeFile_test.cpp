// WriteTextFile's safe replacement keeps what the old file had: its owner and permission
// bits, its symbolic link, its other hard links; where replacing can't, a writable file is
// written in place; no temporary file is ever left behind.
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/testSupport.h"
#include "text/myCharCode.h"

namespace magna {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

struct stat StatOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

/// While alive, file-system access is checked as another user's, without the rights that
/// let root write anything (for tests run as root; others skip what needs it).
class AsOtherUser {
 public:
  explicit AsOtherUser(uid_t uid) { ::setfsuid(uid); }
  ~AsOtherUser() { ::setfsuid(0); }
  AsOtherUser(const AsOtherUser&) = delete;
  AsOtherUser& operator=(const AsOtherUser&) = delete;
};

class SafeWrite : public test::FakeServicesTest {
 protected:
  test::TempDir dir;
  bool Write(const std::string& name, const char16_t* text = u"new") {
    return WriteTextFile(dir.Wide(name), text, cdSJis);
  }
  /// Every entry of the folder (temporary files would show here).
  std::vector<std::string> Entries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(SafeWrite, KeepsPermissionBitsOfEveryKind) {
  for (mode_t mode : {0600, 0640, 0604, 0755, 02775}) {
    SCOPED_TRACE(mode);
    WriteBytes(dir / "t.txt", "old");
    ::chmod((dir / "t.txt").c_str(), mode);
    EXPECT_TRUE(Write("t.txt"));
    EXPECT_EQ(StatOf(dir / "t.txt").st_mode & 07777, mode);
    EXPECT_EQ(ReadBytes(dir / "t.txt"), "new");
  }
  ::umask(022);
  ASSERT_TRUE(Write("fresh.txt"));
  EXPECT_EQ(StatOf(dir / "fresh.txt").st_mode & 07777, 0644u);
}

TEST_F(SafeWrite, KeepsTheOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
  WriteBytes(dir / "t.txt", "old");
  ASSERT_EQ(::chown((dir / "t.txt").c_str(), 65534, 65534), 0);
  ASSERT_TRUE(Write("t.txt"));
  EXPECT_EQ(StatOf(dir / "t.txt").st_uid, 65534u);
  EXPECT_EQ(StatOf(dir / "t.txt").st_gid, 65534u);
}

TEST_F(SafeWrite, WritesInPlaceWhereReplacingCanNotKeepTheOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a file of another user that we may write";
  ::chmod(dir.Path().c_str(), 0777);
  WriteBytes(dir / "t.txt", "old content");
  ::chown((dir / "t.txt").c_str(), 65534, 65534);
  ::chmod((dir / "t.txt").c_str(), 0666);
  {
    AsOtherUser other(65533);
    ASSERT_TRUE(Write("t.txt"));
  }
  EXPECT_EQ(StatOf(dir / "t.txt").st_uid, 65534u);
  EXPECT_EQ(ReadBytes(dir / "t.txt"), "new");
  EXPECT_EQ(Entries(), std::vector<std::string>{"t.txt"});
}

TEST_F(SafeWrite, WritesInPlaceWhenOnlyTheFileIsWritable) {
  WriteBytes(dir / "t.txt", "old content");
  ::chmod((dir / "t.txt").c_str(), 0666);
  ::chmod(dir.Path().c_str(), 0555);
  {
    AsOtherUser other(::geteuid() == 0 ? 65534 : ::geteuid());
    EXPECT_TRUE(Write("t.txt"));
    EXPECT_FALSE(Write("new.txt")) << "a new file needs the folder";
  }
  ExpectWarning(platform::kLogText, "new.txt' failed: ");
  ::chmod(dir.Path().c_str(), 0755);
  EXPECT_EQ(ReadBytes(dir / "t.txt"), "new");
  EXPECT_EQ(Entries(), std::vector<std::string>{"t.txt"});
}

TEST_F(SafeWrite, SymbolicLinksStayLinks) {
  fs::create_directory(dir / "sub");
  WriteBytes(dir / "sub/real.txt", "old");
  fs::create_symlink("sub/real.txt", dir / "relative");  // relative to the link's folder
  fs::create_symlink(dir / "relative", dir / "chain");
  fs::create_symlink("sub/missing.txt", dir / "dangling");
  ASSERT_TRUE(Write("chain", u"through two links"));
  EXPECT_EQ(ReadBytes(dir / "sub/real.txt"), "through two links");
  ASSERT_TRUE(Write("dangling", u"made"));
  EXPECT_EQ(ReadBytes(dir / "sub/missing.txt"), "made");
  for (const char* link : {"relative", "chain", "dangling"})
    EXPECT_TRUE(fs::is_symlink(dir / link));
}

TEST_F(SafeWrite, HardLinksKeepSharingTheContent) {
  WriteBytes(dir / "a.txt", "old");
  fs::create_hard_link(dir / "a.txt", dir / "b.txt");
  ASSERT_TRUE(Write("a.txt"));
  EXPECT_EQ(ReadBytes(dir / "b.txt"), "new");
  EXPECT_EQ(StatOf(dir / "a.txt").st_ino, StatOf(dir / "b.txt").st_ino);
}

TEST_F(SafeWrite, FailuresLeaveTheOldContentAndNoTemporaryFile) {
  WriteBytes(dir / "t.txt", "old");
  fs::create_directory(dir / "d");
  EXPECT_FALSE(Write("d"));
  ExpectWarning(platform::kLogText, "d' failed: ");
  EXPECT_FALSE(Write("no/such/folder.txt"));
  ExpectWarning(platform::kLogText, "folder.txt' failed: ");
  if (::geteuid() == 0) {
    ::chmod((dir / "t.txt").c_str(), 0444);
    AsOtherUser other(65534);
    EXPECT_FALSE(Write("t.txt")) << "a read-only file is not ours to write";
    ExpectWarning(platform::kLogText, "t.txt' failed: ");
  }
  EXPECT_EQ(ReadBytes(dir / "t.txt"), "old");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"d", "t.txt"}));
}

TEST_F(SafeWrite, ZerosInTheTextAreWrittenAndReadBackWhole) {
  const WideString text(u"a\0\x3042\0b", 5);
  for (TMyCharCode code : {cdAuto, cdSJis, cdUTF_8, cdUTF_8N, cdUTF_7, cdJIS, cdEUC, cdUTF_16LE}) {
    SCOPED_TRACE(int(code));
    EXPECT_TRUE(WriteTextFile(dir.Wide("z.txt"), text, code));
    TMyCharCode read = code == cdUTF_8 ? cdAuto : code;
    EXPECT_EQ(ReadWholeTextFile(dir.Wide("z.txt"), read), text);
    read = code == cdUTF_8 ? cdAuto : code;
    EXPECT_EQ(ReadTextFile(dir.Wide("z.txt"), read), u"a") << "the plain reader stops at a zero";
  }
}

}  // namespace
}  // namespace magna
