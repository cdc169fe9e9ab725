#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/fileSystem.h"
#include "tests/support/testSupport.h"
#include "text/myUtils.h"

namespace magna {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::W;
using test::WriteBytes;

// 2020-01-02 03:04:05.5 UTC as a file time.
constexpr int64_t kSomeUnixSeconds = 1577934245;
constexpr uint64_t kSomeFileTime = (1577934245ULL + 11644473600ULL) * 10000000ULL + 5000000ULL;

void SetWriteTime(const fs::path& file) {
  const timespec times[2] = {{kSomeUnixSeconds, 500000000}, {kSomeUnixSeconds, 500000000}};
  ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

// root: a.txt (3 bytes), B.TXT (5), noext (1), 日本語.txt (2), back\slash.txt (4),
// sub/ with inner.txt (6), sub.txt/ (a folder named like a file), only/ with folders only.
class FileQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir / "a.txt", "abc");
    WriteBytes(dir / "B.TXT", "12345");
    WriteBytes(dir / "noext", "x");
    WriteBytes(dir / "日本語.txt", "ja");
    WriteBytes(dir / "back\\slash.txt", "back");
    fs::create_directory(dir / "sub");
    WriteBytes(dir / "sub" / "inner.txt", "inner!");
    fs::create_directory(dir / "sub.txt");
    fs::create_directories(dir / "only" / "d1.txt");
  }
  WideString In(const std::string& name) const { return dir.Wide(name); }
  TempDir dir;
};

TEST_F(FileQueries, FileExistsByNameIsTrueForFilesOnly) {
  EXPECT_TRUE(FileExists(In("a.txt")));
  EXPECT_TRUE(FileExists(In("日本語.txt")));
  EXPECT_TRUE(FileExists(In("back\\slash.txt")));  // a backslash is part of the name here
  EXPECT_FALSE(FileExists(In("sub")));
  EXPECT_FALSE(FileExists(In("sub.txt")));
  EXPECT_FALSE(FileExists(In("missing.txt")));
  EXPECT_FALSE(FileExists(W(dir.Path().string())));
  EXPECT_FALSE(FileExists(u""));
}

TEST_F(FileQueries, FileExistsByPatternNeedsADirectoryAndAFile) {
  EXPECT_TRUE(FileExists(In("*.txt")));
  EXPECT_TRUE(FileExists(In("*.TxT")));  // case ignored
  EXPECT_TRUE(FileExists(In("日本?.txt")));
  EXPECT_TRUE(FileExists(In("sub/*.*")));
  EXPECT_TRUE(FileExists(In("*.")));         // noext
  EXPECT_FALSE(FileExists(In("sub*")));      // folders only
  EXPECT_FALSE(FileExists(In("only/*.*")));  // folders only (and "." and "..")
  EXPECT_FALSE(FileExists(In("*.doc")));
  EXPECT_FALSE(FileExists(In("missing/*.txt")));
  EXPECT_FALSE(FileExists(In("s?b/*.txt")));  // wildcards name no folder to search in
  EXPECT_FALSE(FileExists(u"*.txt"));         // no directory part
}

TEST_F(FileQueries, FileSizeOfAnOpenedFileOrTheFirstMatch) {
  EXPECT_EQ(FileSizeOf(In("a.txt")), 3u);
  EXPECT_EQ(FileSizeOf(In("日本語.txt")), 2u);
  EXPECT_EQ(FileSizeOf(In("b.*")), 5u);    // B.TXT, case ignored
  EXPECT_EQ(FileSizeOf(In("sub/*")), 6u);  // skips "." and ".."
  EXPECT_EQ(FileSizeOf(In("sub*")), 0u);   // folders are not sized
  EXPECT_EQ(FileSizeOf(In("sub")), 0u);    // a folder can't be opened as a file
  EXPECT_EQ(FileSizeOf(In("missing")), 0u);
  EXPECT_EQ(FileSizeOf(u""), 0u);
}

TEST_F(FileQueries, FileSizeOfAPipeDoesNotBlock) {
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_TRUE(FileExists(In("pipe")));
  EXPECT_EQ(FileSizeOf(In("pipe")), 0u);
}

TEST_F(FileQueries, FileSizeOfAnUnreadableFileIsZero) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  fs::permissions(dir / "a.txt", fs::perms::none);
  EXPECT_EQ(FileSizeOf(In("a.txt")), 0u);
  EXPECT_EQ(FileSizeOf(In("a.*")), 3u);  // the directory entry still tells its size
}

TEST_F(FileQueries, WriteTimeIsAFileTimeByNameAndByPattern) {
  SetWriteTime(dir / "a.txt");
  EXPECT_EQ(FileWriteTime(In("a.txt")), kSomeFileTime);
  EXPECT_EQ(FileWriteTime(In("A.*")), kSomeFileTime);
  EXPECT_EQ(FileWriteTime(In("sub")), 0u);
  EXPECT_EQ(FileWriteTime(In("missing.*")), 0u);
}

TEST_F(FileQueries, CreationTimeIsTheBirthTimeOrZero) {
  SetWriteTime(dir / "a.txt");
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const uint64_t nowFileTime = platform::FileTimeOfUnixTime(
      std::chrono::duration_cast<std::chrono::seconds>(now).count(), 0);
  const uint64_t tenMinutes = 600ULL * 10000000ULL;
  for (const WideString& name : {In("a.txt"), In("a.tx?")}) {
    const uint64_t created = FileCreationTime(name);
    if (created == 0) continue;         // the file system keeps no birth time
    EXPECT_GT(created, kSomeFileTime);  // setting the write time does not move it
    EXPECT_LT(created > nowFileTime ? created - nowFileTime : nowFileTime - created, tenMinutes);
  }
  EXPECT_EQ(FileCreationTime(In("missing")), 0u);
}

}  // namespace
}  // namespace magna
