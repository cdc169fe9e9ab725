// The way back through a wrong reader: every character code page 932 and EUC-JP read
// gives its bytes back (or a code read alike), the gaps a reader left, and the reading
// across them in the real code, one mark per gap with the bytes of the character it cut.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/codepage/codePageCodecs.h"
#include "platform/codepage/codePageTables.h"
#include "tests/support/testSupport.h"
#include "text/repair/myRepairBytes.h"
#include "text/repair/myRepairSteps.h"
#include "text/repair/myRepairUnread.h"

namespace magna::repair {
namespace {

using test::Hex;
using test::U8;

uint16_t CodeOf(std::string_view bytes) {
  return bytes.size() == 1 ? static_cast<unsigned char>(bytes[0])
                           : static_cast<uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                   static_cast<unsigned char>(bytes[1]));
}

/// Every code page 932 code that reads as a character: the single bytes, the pairs.
std::vector<std::string> Cp932Codes() {
  const platform::detail::SjisTable& t = platform::detail::Sjis();
  std::vector<std::string> codes;
  for (unsigned b = 0; b < 256; ++b) {
    if (t.single[b] != platform::detail::kLeadByte) codes.emplace_back(1, static_cast<char>(b));
    if (t.leadIndex[b] == 0xFF) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (trail != 0x7F && t.pairs[t.leadIndex[b]][trail] != 0)
        codes.push_back({static_cast<char>(b), static_cast<char>(trail)});
  }
  return codes;
}

TEST(RepairUnread, EveryCharacterCodePage932ReadsGivesItsBytesBack) {
  size_t alike = 0;
  Unread unread;
  const std::vector<std::string> codes = Cp932Codes();
  for (const std::string& bytes : codes) {
    SCOPED_TRACE(Hex(bytes));
    const WideString read = platform::detail::DecodeSjis(bytes);
    ASSERT_TRUE(UnreadAs(TRepairCode::ShiftJIS, read, unread));
    EXPECT_TRUE(unread.lost.empty());
    if (unread.bytes == bytes) continue;
    // Another code of a repeated character (NEC row 13, the IBM extensions).
    ++alike;
    const std::vector<uint16_t>& codesAlike = SjisCodesAlike(CodeOf(unread.bytes));
    EXPECT_NE(std::find(codesAlike.begin(), codesAlike.end(), CodeOf(bytes)), codesAlike.end());
    EXPECT_EQ(U8(platform::detail::DecodeSjis(unread.bytes)), U8(read));
  }
  EXPECT_GT(codes.size(), 7000u);
  EXPECT_LT(alike, 400u);
}

TEST(RepairUnread, EveryCharacterEucJpReadsGivesBytesThatReadAlike) {
  Unread unread;
  size_t codes = 0, same = 0;
  auto check = [&](const std::string& bytes) {
    size_t errors = 0;
    const WideString read = DecodeIn(TRepairCode::EUCJP, bytes, errors);
    if (errors != 0 || read.size() != 1) return;
    ++codes;
    SCOPED_TRACE(Hex(bytes));
    ASSERT_TRUE(UnreadAs(TRepairCode::EUCJP, read, unread));
    same += unread.bytes == bytes;
    EXPECT_EQ(U8(DecodeIn(TRepairCode::EUCJP, unread.bytes, errors)), U8(read));
  };
  for (unsigned a = 0xA1; a <= 0xFE; ++a)
    for (unsigned b = 0xA1; b <= 0xFE; ++b) {
      const std::string pair{static_cast<char>(a), static_cast<char>(b)};
      check(pair);
      check("\x8F" + pair);
    }
  for (unsigned b = 0xA1; b <= 0xDF; ++b) check(std::string{'\x8E', static_cast<char>(b)});
  EXPECT_GT(codes, 12000u);
  EXPECT_GT(same, codes - 20);  // a few characters are in both JIS X 0208 and 0212
}

TEST(RepairUnread, UnicodeAndWesternReadersGiveTheirBytesBack) {
  Unread unread;
  ASSERT_TRUE(UnreadAs(TRepairCode::UTF8, u"aé日😀", unread));
  EXPECT_EQ(Hex(unread.bytes), "61 C3 A9 E6 97 A5 F0 9F 98 80");
  EXPECT_EQ(unread.offsets, (std::vector<uint32_t>{0, 1, 3, 6, 10, 10}));
  EXPECT_FALSE(UnreadAs(TRepairCode::UTF8, u"a\xD800", unread));  // a lone surrogate
  ASSERT_TRUE(UnreadAs(TRepairCode::Windows1252, u"ã\u0081“€", unread));
  EXPECT_EQ(Hex(unread.bytes), "E3 81 93 80");
  EXPECT_TRUE(unread.sawC1);
  EXPECT_TRUE(unread.sawWindows1252);
  EXPECT_FALSE(UnreadAs(TRepairCode::Latin1, u"日", unread));
}

struct GapRow {
  const char* name;
  TRepairCode reader;
  const char16_t* text;
  std::vector<LostPlace> lost;  // what the reader's U+FFFD stand for
};

TEST(RepairUnread, TheGapsEachReaderLeaves) {
  using K = LostKind;
  const GapRow rows[] = {
      {"Windows-1252 loses one byte of five",
       TRepairCode::Windows1252,
       u"a\uFFFDb",
       {{1, K::Windows1252Undefined, 1}}},
      // 932 writes U+FFFD for an unmapped pair: a trail byte after it shows the pair.
      {"932 before a byte that was a trail",
       TRepairCode::ShiftJIS,
       u"\uFFFD｡",
       {{0, K::Unknown, 2}}},
      {"932 before ASCII", TRepairCode::ShiftJIS, u"\uFFFDA", {{0, K::Unknown, 0}}},
      {"UTF-8", TRepairCode::UTF8, u"\uFFFDa", {{0, K::Unknown, 0}}},
      {"replacements side by side", TRepairCode::ShiftJIS, u"\uFFFD\uFFFD｡", {{0, K::Unsized, 0}}},
      {"an earlier step's loss", TRepairCode::Windows1252, u"a\uFDD0", {{1, K::Unsized, 0}}},
  };
  Unread unread;
  for (const GapRow& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(UnreadAs(row.reader, row.text, unread));
    EXPECT_EQ(unread.lost, row.lost);
  }
}

struct LossRow {
  const char* name;
  TRepairCode source;
  std::string bytes;
  std::vector<LostPlace> lost;
  const char16_t* want;
  std::vector<ByteRange> absorbed;
};

TEST(RepairUnread, ReadingAcrossGapsMarksOnePlaceEach) {
  using K = LostKind;
  const LossRow rows[] = {
      // こ (E3 81 93) without its last byte, then こ.
      {"UTF-8 takes the cut character's bytes",
       TRepairCode::UTF8,
       "\xE3\x81\xE3\x81\x93",
       {{2, K::Unknown, 1}},
       u"\uFFFDこ",
       {{0, 2}}},
      {"UTF-8 continuation bytes after a gap",
       TRepairCode::UTF8,
       "\x81\x93\x41",
       {{0, K::Unknown, 0}},
       u"\uFFFDA",
       {{0, 2}}},
      // 、 is 81 41: 1252 lost the lead 81; the A after the gap is its trail.
      {"Shift_JIS lead lost to 1252",
       TRepairCode::ShiftJIS,
       "\x41\x82\xA0",
       {{0, K::Windows1252Undefined, 1}},
       u"\uFFFDあ",
       {{0, 1}}},
      // 83 is a lead byte; the byte 1252 lost (one of 81..9D) was its trail.
      {"Shift_JIS trail lost to 1252",
       TRepairCode::ShiftJIS,
       "\x83\x82\xA0",
       {{1, K::Windows1252Undefined, 1}},
       u"\uFFFDあ",
       {{0, 1}}},
      // After a gap of unknown length, 82 A0 41 reads 82A0 41 or A0 41: they meet at 41.
      {"Shift_JIS gap of unknown length",
       TRepairCode::ShiftJIS,
       "\x82\xA0\x41",
       {{0, K::Unknown, 0}},
       u"\uFFFDA",
       {{0, 2}}},
      {"a byte below 0x40 starts a character",
       TRepairCode::ShiftJIS,
       " \x82\xA0",
       {{0, K::Unknown, 0}},
       u"\uFFFD あ",
       {{0, 0}}},
      // ー (A1 BC) after ト (A5 C8) cut: A5 EF A1 lost as a pair EF A1; BC is a trail.
      {"EUC-JP, a two-byte gap after a cut lead",
       TRepairCode::EUCJP,
       "\xA5\xC8\xA5\xBC\xA5\xAF",
       {{3, K::Unknown, 2}},
       u"ト\uFFFDク",
       {{2, 4}}},
      {"EUC-JP gap of unknown length meets at ASCII",
       TRepairCode::EUCJP,
       "\xA4\xB3\xA4 a",
       {{2, K::Unknown, 0}},
       u"こ\uFFFD a",
       {{2, 3}}},
  };
  for (const LossRow& row : rows) {
    SCOPED_TRACE(row.name);
    size_t errors = 0;
    std::vector<size_t> marks;
    std::vector<ByteRange> absorbed;
    const WideString read =
        ReadWithLosses(row.source, row.bytes, row.lost, errors, marks, absorbed);
    EXPECT_EQ(U8(read), U8(row.want));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(absorbed, row.absorbed);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(read[marks[0]], u'\xFFFD');
  }
}

TEST(RepairUnread, UnitsWhoseBytesAllWentIntoALostPlace) {
  // Units of 1, 2 and 2 bytes at 0, 1, 3; the lost place took bytes 1..4.
  const uint32_t offsets[] = {0, 1, 3};
  std::vector<size_t> gone;
  AbsorbedUnits(offsets, 3, 5, {{1, 4}}, gone);
  EXPECT_EQ(gone, (std::vector<size_t>{1}));
  AbsorbedUnits(offsets, 3, 5, {{1, 5}}, gone);
  EXPECT_EQ(gone, (std::vector<size_t>{1, 2}));
  AbsorbedUnits(offsets, 3, 5, {}, gone);
  EXPECT_TRUE(gone.empty());
}

}  // namespace
}  // namespace magna::repair
