// The program's file, its version record read as the version fields, its title.
// This test program carries the program's own record (see tests/CMakeLists.txt).

#include "text/myUtils.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/versionRecord.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

namespace fs = std::filesystem;
using platform::VersionRecordEntry;
using test::TempDir;
using test::U8;
using test::W;

std::vector<WideString> Fields(const TMyFileVersionInfo& v) {
  return {v.Comments,     v.CompanyName,    v.FileDescription, v.FileVersion,
          v.InternalName, v.LegalCopyright, v.LegalTrademarks, v.OriginalFilename,
          v.PrivateBuild, v.ProductName,    v.ProductVersion,  v.SpecialBuild};
}

void ExpectAllEmpty(const TMyFileVersionInfo& info) {
  for (const WideString& field : Fields(info)) EXPECT_EQ(U8(field), "");
}

TEST(ApplicationFileName, IsThisTestProgram) {
  const fs::path file = U8(ApplicationFileName());
  EXPECT_TRUE(file.is_absolute());
  EXPECT_EQ(file.filename(), "test_text_myUtilsProgram_test");
}

TEST(ReadVersionInfo, ReadsTheEmbeddedRecord) {
  const TMyFileVersionInfo info = ReadVersionInfo(ApplicationFileName());
  EXPECT_EQ(U8(info.Comments), "大きなフォントで表示するツール");
  EXPECT_EQ(U8(info.CompanyName), "");
  EXPECT_EQ(U8(info.FileDescription), "Magna");
  EXPECT_EQ(U8(info.FileVersion), MAGNA_FILE_VERSION);
  EXPECT_EQ(U8(info.InternalName), "Magna");
  EXPECT_EQ(U8(info.LegalCopyright), "");
  EXPECT_EQ(U8(info.LegalTrademarks), "");
  EXPECT_EQ(U8(info.OriginalFilename), "magna.exe");
  EXPECT_EQ(U8(info.PrivateBuild), "");
  EXPECT_EQ(U8(info.ProductName), "Magna");
  EXPECT_EQ(U8(info.ProductVersion), "1.0.0.0");
  EXPECT_EQ(U8(info.SpecialBuild), "");
}

class VersionTitle : public test::FakeServicesTest {};

TEST_F(VersionTitle, TitleIsTheProductNameAndCaptionsMessageBoxes) {
  EXPECT_EQ(ApplicationTitle(), u"Magna");
  ShowMessageBox(W("項目を追加できません"));
  ASSERT_EQ(messageBoxes->Shown.size(), 1u);
  EXPECT_EQ(messageBoxes->Shown[0].Text, W("項目を追加できません"));
  EXPECT_EQ(messageBoxes->Shown[0].Caption, u"Magna");
}

TEST(ReadVersionInfo, FilesWithoutARecordGiveEmptyFields) {
  TempDir dir;
  test::WriteBytes(dir / "empty", "");
  test::WriteBytes(dir / "text.txt", "Translation=0411 03A4\nProductName=Magna\n");
  test::WriteBytes(dir / "elf-head", test::ThisProgramImage().substr(0, 4096));
  std::string renamed = test::ThisProgramImage();
  // The section names sit near the end of the file, after the program's own constants.
  const size_t name = renamed.rfind(std::string(platform::kVersionSectionName) + '\0');
  ASSERT_NE(name, std::string::npos);
  renamed[name + 1] = 'X';
  test::WriteBytes(dir / "renamed", renamed);
  for (const char* file : {"empty", "text.txt", "elf-head", "renamed", "missing", "."}) {
    SCOPED_TRACE(file);
    ExpectAllEmpty(ReadVersionInfo(dir.Wide(file)));
  }
  ExpectAllEmpty(ReadVersionInfo(u""));
}

TEST(ReadVersionInfo, TakesTheFirstTranslationAndItsBlock) {
  // Built at run time: the record of an English/Unicode build with two translations.
  static constexpr char16_t kPairs[] = {0x0409, 0x04B0, 0x0411, 0x03A4};
  static constexpr VersionRecordEntry kEntries[] = {
      {u"\\VarFileInfo\\Translation", {kPairs, 4}},
      {u"\\StringFileInfo\\041103A4\\ProductName", u"Japanese"},
      {u"\\StringFileInfo\\040904B0\\ProductName", u"English"},
      {u"\\StringFileInfo\\040904B0\\Comments", {u"one\0two", 7}},
  };
  constexpr size_t kLength = platform::VersionRecordLength(kEntries);
  const auto units = platform::BuildVersionRecord<kLength>(kEntries);
  std::string bytes;
  for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};

  std::string image = test::ThisProgramImage();
  const auto section = platform::ReadElfSection(test::BufferReader(image, image.size()),
                                                platform::kVersionSectionName);
  ASSERT_TRUE(section.has_value());
  ASSERT_LE(bytes.size(), section->first.size());
  image.replace(image.find(section->first), bytes.size(), bytes);
  TempDir dir;
  test::WriteBytes(dir / "english", image);

  const TMyFileVersionInfo info = ReadVersionInfo(dir.Wide("english"));
  EXPECT_EQ(info.ProductName, u"English");
  EXPECT_EQ(info.Comments, u"one");  // a text ends at its terminator
  EXPECT_EQ(info.FileVersion, u"");  // missing key
}

}  // namespace
}  // namespace magna
