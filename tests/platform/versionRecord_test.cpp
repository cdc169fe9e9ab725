// The version record: built at compile time, found in an ELF section, read back.
// This test program carries the program's own record (see tests/CMakeLists.txt).

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "platform/versionRecord.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using platform::VersionRecordEntry;
using test::U8;

TEST(ReadVersionRecord, ThisProgramsRecordHoldsTranslationAndFixedPart) {
  const auto record = platform::ReadVersionRecord("/proc/self/exe");
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->Query(u"\\VarFileInfo\\Translation"), (WideString{0x0411, 0x03A4}));
  EXPECT_EQ(record->Query(u"\\"), (WideString{0, 0, 4, 6, 0, 0, 4, 6}));
  EXPECT_EQ(record->Query(u"\\stringfileinfo\\041103a4\\productname"), u"Magna");  // case ignored
  EXPECT_FALSE(record->Query(u"\\StringFileInfo\\040904B0\\ProductName").has_value());
}

// A minimal ELF image of either class and byte order: a null section, the record's
// section and the section name table; `escaped` keeps count and name-table index in
// section 0, as images with very many sections do.
std::string TinyElf(bool is64, bool bigEndian, bool escaped, std::u16string_view record) {
  const size_t headerSize = is64 ? 64 : 52, entrySize = is64 ? 64 : 40;
  const std::string names =
      std::string("\0", 1) + std::string(platform::kVersionSectionName) + '\0' + ".shstrtab" + '\0';
  std::string image(headerSize, '\0');
  auto put = [&](size_t at, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
      image[at + (bigEndian ? width - 1 - i : i)] = static_cast<char>(value >> (8 * i));
  };
  const size_t namesAt = image.size();
  image += names;
  const size_t recordAt = image.size();
  for (char16_t u : record) {
    image += '\0';
    image += '\0';
    put(image.size() - 2, u, 2);
  }
  const size_t tableAt = image.size();
  image.append(3 * entrySize, '\0');
  auto section = [&](size_t index, uint32_t name, uint32_t type, uint64_t offset, uint64_t size,
                     uint32_t link) {
    const size_t at = tableAt + index * entrySize;
    put(at, name, 4);
    put(at + 4, type, 4);
    put(at + (is64 ? 24 : 16), offset, is64 ? 8 : 4);
    put(at + (is64 ? 32 : 20), size, is64 ? 8 : 4);
    put(at + (is64 ? 40 : 24), link, 4);
  };
  section(0, 0, 0, 0, escaped ? 3 : 0, escaped ? 2 : 0);
  section(1, 1, 1, recordAt, record.size() * 2, 0);
  section(2, 1 + static_cast<uint32_t>(platform::kVersionSectionName.size()) + 1, 3, namesAt,
          names.size(), 0);
  image.replace(0, 4,
                "\x7F"
                "ELF");
  image[4] = is64 ? 2 : 1;
  image[5] = bigEndian ? 2 : 1;
  put(is64 ? 40 : 32, tableAt, is64 ? 8 : 4);
  const size_t at = is64 ? 58 : 46;
  put(at, entrySize, 2);
  put(at + 2, escaped ? 0 : 3, 2);
  put(at + 4, escaped ? 0xFFFF : 2, 2);
  return image;
}

TEST(ReadElfSection, ReadsBothClassesAndByteOrders) {
  static constexpr VersionRecordEntry kEntries[] = {{u"\\", u"\x0001\x0200"}};
  constexpr size_t kLength = platform::VersionRecordLength(kEntries);
  constexpr auto kUnits = platform::BuildVersionRecord<kLength>(kEntries);
  for (const bool is64 : {false, true})
    for (const bool bigEndian : {false, true})
      for (const bool escaped : {false, true}) {
        SCOPED_TRACE(testing::Message() << "64-bit " << is64 << ", big-endian " << bigEndian
                                        << ", escaped " << escaped);
        const std::string image =
            TinyElf(is64, bigEndian, escaped, std::u16string_view(kUnits.data(), kLength));
        const auto record = platform::ReadVersionRecord(test::BufferReader(image, image.size()));
        EXPECT_TRUE(record.has_value());
        if (record) EXPECT_EQ(record->Query(u"\\"), u"\x0001\x0200");
      }
}

TEST(VersionRecordParse, RejectsEveryTruncation) {
  static constexpr VersionRecordEntry kEntries[] = {{u"\\k", u"value"}, {u"\\e", u""}};
  constexpr size_t kLength = platform::VersionRecordLength(kEntries);
  constexpr auto kUnits = platform::BuildVersionRecord<kLength>(kEntries);
  const std::u16string_view whole(kUnits.data(), kUnits.size());
  const auto record = platform::VersionRecord::Parse(whole);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->Query(u"\\K"), u"value");
  EXPECT_EQ(record->Query(u"\\e"), u"");
  for (size_t n = 0; n < whole.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_FALSE(platform::VersionRecord::Parse(whole.substr(0, n)).has_value());
  }
  std::u16string damaged(whole);
  damaged[4] = 0xFFFF;  // a key length beyond the end
  EXPECT_FALSE(platform::VersionRecord::Parse(damaged).has_value());
}

// Truncated images give the whole record or none, never a read outside the buffer.
TEST(ReadElfSection, SurvivesTruncatedImages) {
  const std::string image = test::ThisProgramImage();
  const auto whole = platform::ReadVersionRecord(test::BufferReader(image, image.size()));
  ASSERT_TRUE(whole.has_value());
  const auto section = platform::ReadElfSection(test::BufferReader(image, image.size()),
                                                platform::kVersionSectionName);
  ASSERT_TRUE(section.has_value());
  const size_t recordAt = image.find(section->first);
  std::vector<size_t> sizes;
  for (size_t n = 0; n <= 128; ++n) sizes.push_back(n);
  for (size_t n = 0; n <= section->first.size(); n += 7) sizes.push_back(recordAt + n);
  for (size_t n = 1; n <= 8192; n *= 2) sizes.push_back(image.size() - n);
  for (size_t size : sizes) {
    SCOPED_TRACE(size);
    const auto record = platform::ReadVersionRecord(test::BufferReader(image, size));
    if (record) {
      EXPECT_EQ(record->Query(u"\\"), whole->Query(u"\\"));
    }
  }
}

// Damaged headers, name tables and records: any answer, but no crash and no stray read
// (this test runs under AddressSanitizer in the test build).
TEST(ReadElfSection, SurvivesDamagedImages) {
  std::string image = test::ThisProgramImage();
  const auto section = platform::ReadElfSection(test::BufferReader(image, image.size()),
                                                platform::kVersionSectionName);
  ASSERT_TRUE(section.has_value());
  const size_t recordAt = image.find(section->first);
  const size_t namesAt = image.rfind(std::string(platform::kVersionSectionName) + '\0');
  uint64_t tableAt = 0;  // e_shoff of a little-endian 64-bit image
  std::memcpy(&tableAt, image.data() + 40, sizeof tableAt);
  ASSERT_LT(tableAt, image.size());
  const size_t regions[][2] = {{0, 64},
                               {static_cast<size_t>(tableAt), image.size() - tableAt},
                               {namesAt > 256 ? namesAt - 256 : 0, 512},
                               {recordAt, section->first.size()}};
  std::mt19937 random(20260101);
  int found = 0;
  for (int round = 0; round < 4000; ++round) {
    const auto& region = regions[round % 4];
    std::vector<std::pair<size_t, char>> saved;
    for (int k = 0; k < 1 + round % 4; ++k) {
      const size_t at = region[0] + random() % region[1];
      saved.emplace_back(at, image[at]);
      image[at] = static_cast<char>(round % 3 == 0 ? 0xFF : random());
    }
    found += platform::ReadVersionRecord(test::BufferReader(image, image.size())).has_value();
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) image[it->first] = it->second;
  }
  EXPECT_GT(found, 0);  // most damage misses what the reader needs
  for (int round = 0; round < 200; ++round) {
    std::string garbage =
        "\x7F"
        "ELF";
    for (int i = 0; i < 1 + round * 4; ++i) garbage += static_cast<char>(random());
    EXPECT_FALSE(
        platform::ReadVersionRecord(test::BufferReader(garbage, garbage.size())).has_value());
  }
}

}  // namespace
}  // namespace magna
