// The code page mappings measured against Windows, one row per fact.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "platform/codepage/codePage.h"
#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

using test::Hex;
using test::U8;
using test::W;

struct DecodeCase {
  const char* name;
  std::string bytes;
  WideString text;
};

void ExpectDecodes(unsigned codePage, const std::vector<DecodeCase>& cases) {
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    WideString got = MultiByteToWide(codePage, c.bytes);
    EXPECT_EQ(got, c.text) << Hex(c.bytes) << " -> " << U8(got);
  }
}

struct EncodeCase {
  const char* name;
  WideString text;
  std::string bytes;
  bool usedDefault;
};

void ExpectEncodes(unsigned codePage, unsigned flags, const std::vector<EncodeCase>& cases) {
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    bool used = !c.usedDefault;
    std::string got = WideToMultiByte(codePage, c.text, flags, &used);
    EXPECT_EQ(Hex(got), Hex(c.bytes)) << U8(c.text);
    EXPECT_EQ(used, c.usedDefault);
  }
}

TEST(CodePage932, DecodesAsWindows) {
  ExpectDecodes(CP_ANSI,
                {
                    {"controls ICU swaps", "\x1A\x1C\x7F", u"\x001A\x001C\x007F"},
                    {"backslash and tilde stay ASCII", "\x5C\x7E", u"\\~"},
                    {"0x80", "\x80", u"\x0080"},
                    {"0xA0", "\xA0", u"\xF8F0"},
                    {"0xFD..0xFF", "\xFD\xFE\xFF", u"\xF8F1\xF8F2\xF8F3"},
                    {"half-width katakana", "\xB1\xDF", u"\xFF71\xFF9F"},
                    {"wave dash row", "\x81\x60", u"\xFF5E"},
                    {"reverse solidus", "\x81\x5F", u"\xFF3C"},
                    {"minus", "\x81\x7C", u"\xFF0D"},
                    {"cent, pound", "\x81\x91\x81\x92", u"\xFFE0\xFFE1"},
                    {"not sign", "\x81\xCA", u"\xFFE2"},
                    {"NEC row 13: ① Ⅰ №", "\x87\x40\x87\x54\x87\x82", u"\x2460\x2160\x2116"},
                    {"IBM extensions: ⅰ ￤", "\xFA\x40\xFA\x55", u"\x2170\xFFE4"},
                    {"user-defined area ends", "\xF0\x40\xF9\xFC", u"\xE000\xE757"},
                    {"kanji 漢字", "\x8A\xBF\x8E\x9A", W("漢字")},
                });
}

TEST(CodePage932, InvalidSequencesNeverVanish) {
  ExpectDecodes(CP_ANSI,
                {
                    {"lead byte at the end", "a\x82", u"a\xFFFD"},
                    {"lead byte + control keeps the control", "\x82\x0A", u"\xFFFD\n"},
                    {"lead byte + digit keeps the digit", "\x82\x31",
                     u"\xFFFD"
                     u"1"},
                    {"unmapped pair with ASCII second byte keeps it", "\x85\x40", u"\xFFFD@"},
                    {"unmapped pair with high second byte is one character", "\x85\x9F", u"\xFFFD"},
                    {"lead byte + 0x7F", "\x88\x7F", u"\xFFFD\x007F"},
                    {"stops at the first zero byte", std::string("ab\0cd", 5), u"ab"},
                });
}

TEST(CodePage932, EncodesExactlyWithoutBestFit) {
  ExpectEncodes(
      CP_ANSI, WC_NO_BEST_FIT_CHARS,
      {
          {"yen sign", u"\x00A5", "?", true},
          {"overline", u"\x203E", "?", true},
          {"JIS wave dash", u"\x301C", "?", true},
          {"minus sign", u"\x2212", "?", true},
          {"double vertical line", u"\x2016", "?", true},
          {"em dash", u"\x2014", "?", true},
          {"cent, pound, not", u"\x00A2\x00A3\x00AC", "???", true},
          {"e acute", u"\x00E9", "?", true},
          {"emoji is one character", W("😀"), "?", true},
          {"lone surrogates",
           u"\xD800"
           u"a\xDC00",
           "?a?", true},
          {"fullwidth tilde", u"\xFF5E", "\x81\x60", false},
          {"parallel to", u"\x2225", "\x81\x61", false},
          {"fullwidth hyphen-minus", u"\xFF0D", "\x81\x7C", false},
          {"horizontal bar", u"\x2015", "\x81\x5C", false},
          {"the five bytes Windows maps to itself", u"\x0080\xF8F0\xF8F1\xF8F2\xF8F3",
           "\x80\xA0\xFD\xFE\xFF", false},
          {"controls", u"\x001A\x001C\x007F", "\x1A\x1C\x7F", false},
          {"NEC row 13 wins over IBM for Ⅰ", u"\x2160", "\x87\x54", false},
          {"IBM extension wins over NEC-selected for ⅰ", u"\x2170", "\xFA\x40", false},
          {"JIS X 0208 wins for ≒ ∵ ￢", u"\x2252\x2235\xFFE2", "\x81\xE0\x81\xE6\x81\xCA", false},
          {"user-defined area", u"\xE000\xE757", "\xF0\x40\xF9\xFC", false},
          {"stops at the first zero unit", WideString(u"a\0b", 3), "a", false},
      });
}

TEST(CodePage932, DefaultIgnorableCodePointsAreUnmappable) {
  for (char16_t c : {0x200B, 0x200C, 0x200D, 0xFEFF, 0x00AD, 0x2060, 0xFE0F, 0x034F, 0x180E}) {
    SCOPED_TRACE(static_cast<int>(c));
    for (unsigned flags : {unsigned{WC_NONE}, unsigned{WC_NO_BEST_FIT_CHARS}}) {
      bool used = false;
      std::string bytes = WideToMultiByte(CP_ANSI, WideString{u'a', c, u'b'}, flags, &used);
      EXPECT_TRUE(used);
      EXPECT_EQ(bytes, "a?b");
    }
  }
}

TEST(CodePage932, BestFitSubstitutes) {
  ExpectEncodes(
      CP_ANSI, WC_NONE,
      {
          {"yen sign", u"\x00A5", "\x5C", false},
          {"overline", u"\x203E", "\x7E", false},
          {"JIS symbols", u"\x301C\x2016\x2212\x2014", "\x81\x60\x81\x61\x81\x7C\x81\x5C", false},
          {"cent, pound, not", u"\x00A2\x00A3\x00AC", "\x81\x91\x81\x92\x81\xCA", false},
          {"emoji has none", W("😀"), "?", true},
      });
}

TEST(CodePage932, CompositeCheckJoinsMarks) {
  ExpectEncodes(CP_ANSI, WC_COMPOSITECHECK | WC_NO_BEST_FIT_CHARS,
                {
                    {"か + voiced mark", u"\x304B\x3099", "\x82\xAA", false},
                    {"ハ + semi-voiced mark", u"\x30CF\x309A", "\x83\x70", false},
                    {"mark without base",
                     u"\x3099"
                     u"a",
                     "?a", true},
                    {"mark that joins nothing", u"a\x3099", "a?", true},
                });
  bool used = false;
  EXPECT_EQ(WideToMultiByte(CP_ANSI, u"\x304B\x3099", WC_NO_BEST_FIT_CHARS, &used), "\x82\xA9?");
  EXPECT_TRUE(used);
}

TEST(CodePage932, DefaultCharacterIsQuestionMark) {
  EXPECT_EQ(AnsiDefaultChar(), '?');
  EXPECT_EQ(WideToMultiByte(CP_ANSI, u"\x0100", WC_NONE, nullptr, '\x01'), "\x01");
}

TEST(CodePage20932, JisFlavouredSymbols) {
  std::vector<DecodeCase> decodes = {
      {"wave dash", "\xA1\xC1", u"\x301C"},
      {"double vertical line", "\xA1\xC2", u"\x2016"},
      {"minus sign", "\xA1\xDD", u"\x2212"},
      {"cent, pound", "\xA1\xF1\xA1\xF2", u"\x00A2\x00A3"},
      {"not sign", "\xA2\xCC", u"\x00AC"},
      {"ASCII backslash and tilde", "\x5C\x7E", u"\\~"},
      {"half-width katakana", "\x8E\xB1\x8E\xDF", u"\xFF71\xFF9F"},
      {"NEC row 13 ①", "\xAD\xA1", u"\x2460"},
      {"JIS X 0212 three bytes", "\x8F\xB0\xA1", u"\x4E02"},
      {"kanji 漢字", "\xB4\xC1\xBB\xFA", W("漢字")},
  };
  ExpectDecodes(CP_EUCJP, decodes);
  for (const DecodeCase& c : decodes) {
    SCOPED_TRACE(c.name);
    bool used = true;
    EXPECT_EQ(Hex(WideToMultiByte(CP_EUCJP, c.text, WC_NO_BEST_FIT_CHARS, &used)), Hex(c.bytes));
    EXPECT_FALSE(used);
  }
}

TEST(CodePage20932, WindowsSymbolsAreBestFitOnly) {
  ExpectEncodes(
      CP_EUCJP, WC_NONE,
      {
          {"fullwidth tilde", u"\xFF5E", "\xA1\xC1", false},
          {"parallel to", u"\x2225", "\xA1\xC2", false},
          {"fullwidth cent, pound, not", u"\xFFE0\xFFE1\xFFE2", "\xA1\xF1\xA1\xF2\xA2\xCC", false},
          {"IBM extension ⅰ has no place", u"\x2170", "?", true},
          {"emoji", W("😀"), "?", true},
      });
  ExpectEncodes(CP_EUCJP, WC_NO_BEST_FIT_CHARS, {{"fullwidth tilde", u"\xFF5E", "?", true}});
}

TEST(CodePage20932, InvalidSequencesNeverVanish) {
  ExpectDecodes(CP_EUCJP, {
                              {"lone lead at end", "a\xB4", u"a\xFFFD"},
                              {"lead + ASCII keeps it",
                               "\xB4"
                               "a",
                               u"\xFFFD"
                               u"a"},
                              {"kana prefix + bad byte", "\x8E\xE0", u"\xFFFD\xFFFD"},
                              {"0212 prefix cut", "\x8F\xB0", u"\xFFFD\xFFFD"},
                              {"stray C1 byte", "\x85", u"\xFFFD"},
                              {"unassigned JIS position", "\xA9\xA1", u"\xFFFD"},
                          });
}

TEST(CodePage50220, HalfWidthKanaBecomeFullWidthWithMarksJoined) {
  ExpectEncodes(CP_ISO2022JP, WC_NONE,
                {
                    {"ｶﾞ -> ガ", W("ｶﾞ"), "\x1B$B%\x2C\x1B(B", false},
                    {"ﾊﾟ -> パ", W("ﾊﾟ"), "\x1B$B%\x51\x1B(B", false},
                    {"ｳﾞ -> ヴ", W("ｳﾞ"), "\x1B$B%\x74\x1B(B", false},
                    {"ｱﾞ keeps the mark", W("ｱﾞ"), "\x1B$B%\x22!\x2B\x1B(B", false},
                    {"ｰ｡", W("ｰ｡"), "\x1B$B!\x3C!\x23\x1B(B", false},
                    {"ASCII between", W("aあb"),
                     "a\x1B$B$\x22\x1B(B"
                     "b",
                     false},
                    {"NEC row 13 ①", u"\x2460", "\x1B$B-!\x1B(B", false},
                    {"IBM ⅰ via NEC-selected", u"\x2170", "\x1B$B|q\x1B(B", false},
                    {"no place for emoji", W("😀"), "?", false},
                });
}

TEST(CodePage50220, ReadsEveryKanaForm) {
  ExpectDecodes(CP_ISO2022JP,
                {
                    {"JIS X 0208", "\x1B$B$\x22\x1B(B", u"\x3042"},
                    {"1978 designation", "\x1B$@$\x22\x1B(B", u"\x3042"},
                    {"ESC ( I kana", "\x1B(I\x31\x5F\x1B(B", u"\xFF71\xFF9F"},
                    {"SO/SI kana",
                     "a\x0E\x31\x0F"
                     "b",
                     u"a\xFF71"
                     u"b"},
                    {"JIS Roman", "\x1B(J\x5C", u"\\"},
                    {"JIS X 0212", "\x1B$(D\x30\x21\x1B(B", u"\x4E02"},
                    {"row 13 through code page 932", "\x1B$B-!\x1B(B", u"\x2460"},
                    {"wave dash as code page 932 reads it", "\x1B$B!A\x1B(B", u"\xFF5E"},
                    {"unknown escape",
                     "\x1B"
                     "Zx",
                     u"\xFFFD"
                     u"Zx"},
                    {"cut pair", "\x1B$B$", u"\xFFFD"},
                    {"eight-bit byte", "\xFF", u"\xFFFD"},
                });
}

TEST(CodePage65001, MaximalSubpartsAndSurrogates) {
  ExpectDecodes(CP_UTF8, {
                             {"three-byte", "\xE3\x81\x82", u"\x3042"},
                             {"four-byte", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
                             {"encoded surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
                             {"overlong", "\xC0\xAF", u"\xFFFD\xFFFD"},
                             {"cut sequence then ASCII",
                              "\xE3\x81"
                              "a",
                              u"\xFFFD"
                              u"a"},
                             {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
                         });
  ExpectEncodes(CP_UTF8, WC_NONE,
                {
                    {"lone high surrogate",
                     u"\xD800"
                     u"a",
                     "\xEF\xBF\xBD"
                     "a",
                     false},
                    {"lone low surrogate", u"\xDC00", "\xEF\xBF\xBD", false},
                    {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80", false},
                });
}

TEST(CodePage65000, Rfc2152) {
  ExpectEncodes(CP_UTF7, WC_NONE,
                {
                    {"plus sign", u"1+1", "1+-1", false},
                    {"RFC example", u"Hi Mom -\x263A-!", "Hi Mom -+Jjo--!", false},
                    {"RFC example 日本語", u"\x65E5\x672C\x8A9E", "+ZeVnLIqe-", false},
                    {"lone surrogate carried", u"\xD800", "+2AA-", false},
                    {"plus signs inside a run are shifted too", u"+\x3042+\x3042+",
                     "+ACswQgArMEIAKw-", false},
                });
  ExpectDecodes(CP_UTF7, {
                             {"RFC example", "Hi Mom -+Jjo--!", u"Hi Mom -\x263A-!"},
                             {"without closing dash", "+ZeVnLIqe", u"\x65E5\x672C\x8A9E"},
                             {"plus sign", "+-", u"+"},
                             {"shift with nothing", "+ a", u"+ a"},
                             {"zero unit", "+AAA-", WideString(1, u'\0')},
                             {"garbled tail", "+AAAA-", WideString(u"\0\xFFFD", 2)},
                             {"eight-bit byte", "\xE3", u"\xFFFD"},
                         });
}

TEST(CodePage65000, EveryMixOfPlusSignsDirectAndShiftedFitsAndRoundTrips) {
  // Runs broken by plus signs once wrote past the buffer's bound.
  const char16_t pieces[] = {u'+', u'a', u'-', u'\x3042', u'~', u'\xD800'};
  for (unsigned mask = 0; mask < 6 * 6 * 6 * 6 * 6 * 6; ++mask) {
    WideString text;
    for (unsigned m = mask; text.size() < 6; m /= 6) text += pieces[m % 6];
    std::string bytes = WideToMultiByte(CP_UTF7, text);
    ASSERT_LE(bytes.size(), text.size() * 3 + 2) << test::U8(text);
    ASSERT_EQ(MultiByteToWide(CP_UTF7, bytes), text) << bytes;
  }
}

TEST(CodePage65000, SixteenUnitBlocksTellDirectFromShiftedEverywhere) {
  // Every kind of unit the block test sorts: direct, the four ASCII exceptions, controls,
  // Latin-1, and units at and above 0x8000 (negative as signed 16-bit).
  const char16_t kinds[] = {u'a', u' ', u'\t', u'+',   u'\\',  u'~',  0x7F,
                            0x01, 0xE9, 0x100, 0x3042, 0x9000, 0xFF5E};
  std::mt19937 random(65000);
  for (int round = 0; round < 2000; ++round) {
    WideString text(random() % 70, u'a');
    for (char16_t& unit : text)
      if (random() % 3 == 0) unit = kinds[random() % std::size(kinds)];
    std::string bytes = WideToMultiByte(CP_UTF7, text);
    ASSERT_EQ(MultiByteToWide(CP_UTF7, bytes), text) << bytes;
    for (char c : bytes) ASSERT_TRUE(c > 0 && c < 0x7F && c != '\\' && c != '~') << bytes;
  }
}

/// UTF-7 read one character at a time: a plain model of the reading rules.
WideString Utf7Model(std::string_view bytes) {
  const std::string_view base64 =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  WideString out;
  for (size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i++]);
    if (c != '+') {
      out += c < 0x80 ? c : u'\xFFFD';
    } else if (i < bytes.size() && bytes[i] == '-') {
      out += u'+';
      ++i;
    } else {
      uint32_t bits = 0;
      int count = 0;
      const size_t start = i;
      for (size_t v; i < bytes.size() && (v = base64.find(bytes[i])) != base64.npos; ++i) {
        bits = bits << 6 | static_cast<uint32_t>(v);
        if ((count += 6) >= 16) out += static_cast<char16_t>(bits >> (count -= 16));
      }
      if (i == start) out += u'+';
      if (i > start && (count >= 6 || (bits & ((1u << count) - 1)) != 0)) out += u'\xFFFD';
      if (i > start && i < bytes.size() && bytes[i] == '-') ++i;
    }
  }
  return out;
}

/// UTF-7 written one unit at a time: a plain model of the writing rules.
std::string Utf7WriteModel(const WideString& text) {
  const std::string_view base64 =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::string_view others = "'(),-./:? \t\r\n!\"#$%&*;<=>@[]^_`{|}";
  const auto direct = [&](char16_t c) {
    return c < 0x80 && (std::isalnum(c) || others.find(static_cast<char>(c)) != others.npos);
  };
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (direct(text[i])) {
      out += static_cast<char>(text[i++]);
    } else if (text[i] == u'+' && (i + 1 == text.size() || direct(text[i + 1]))) {
      out += "+-";
      ++i;
    } else {
      out += '+';
      uint32_t bits = 0;
      int count = 0;
      for (; i < text.size() && !direct(text[i]); ++i)
        for (bits = bits << 16 | text[i], count += 16; count >= 6; count -= 6)
          out += base64[(bits >> (count - 6)) & 63];
      if (count > 0) out += base64[(bits << (6 - count)) & 63];
      out += '-';
    }
  }
  return out;
}

TEST(CodePage65000, WritesExactlyAsOneUnitAtATime) {
  // Shifted runs of every length end at every offset of the three-unit blocks, before
  // every kind of direct character and at the end of the text; in half the texts a zero
  // unit, anywhere, ends the text.
  const std::vector<WideString> kinds = {u"aZ9 -\r\n", u"+~\\\x7F\x01", u"\x3042\xE9\x80\xFFFF",
                                         u"\xD83D\xDE00"};
  std::mt19937 random(65000);
  for (int round = 0; round < 4000; ++round) {
    WideString text;
    while (text.size() < 60) {
      const WideString& kind = kinds[random() % kinds.size()];
      for (size_t n = random() % 12; n > 0; --n) text += kind[random() % kind.size()];
    }
    if (round % 2 == 1) text[random() % text.size()] = u'\0';
    ASSERT_EQ(WideToMultiByte(CP_UTF7, text), Utf7WriteModel(text.substr(0, text.find(u'\0'))))
        << U8(text);
  }
}

TEST(CodePage65000, WhatFollowsTheZeroUnitTakesNoRoom) {
  // Heads long enough that their bytes do not fit in the string object itself.
  for (const WideString& head :
       {WideString(40, u'a'), WideString(40, u'\x3042'), WideString(30, u'a') + u'+'}) {
    const WideString text = head + u'\0' + WideString(300000, u'\x6F22');
    const std::string bytes = WideToMultiByte(CP_UTF7, text);
    EXPECT_EQ(bytes, WideToMultiByte(CP_UTF7, head));
    EXPECT_LT(bytes.capacity(), 20000u) << U8(head);
  }
}

TEST(CodePage65000, ShiftedRunsOfEveryLengthReadAsOneCharacterAtATime) {
  // Runs of base64 of every length, cut by every kind of byte at every offset of the
  // eight-character blocks that are read whole.
  const std::string_view alphabet = "AQgw/+9z+-- !\x80~";
  std::mt19937 random(2152);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    while (bytes.size() < 60) {
      bytes += '+';
      for (size_t n = random() % 30; n > 0; --n) bytes += alphabet[random() % 6];
      if (random() % 2) bytes += alphabet[6 + random() % (alphabet.size() - 6)];
    }
    ASSERT_EQ(MultiByteToWide(CP_UTF7, bytes), Utf7Model(bytes)) << bytes;
  }
}

// The conversions write through small chunks: a shifted run of UTF-7, a JIS X 0208 run of
// ISO-2022-JP or a run of kanji in any code goes on across chunk boundaries, and the
// result is sized by what it holds.
TEST(CodePage, LongTextsGoAcrossChunksAndAreSizedByWhatTheyHold) {
  std::mt19937 random(8192);
  const WideString pieces[] = {u"\x65E5\x672C\x8A9E",
                               u"\x3042\x3044\x3046",
                               u"abc def\r\n",
                               u"\xFF76\xFF9E",
                               u"+",
                               u"\x2460"};
  for (size_t runs : {1u, 7u, 3000u}) {
    WideString text;
    while (text.size() < 100000) {
      const WideString& piece = pieces[random() % std::size(pieces)];
      for (size_t k = 1 + random() % runs; k > 0; --k) text += piece;
    }
    for (unsigned codePage : {CP_ANSI, CP_EUCJP, CP_ISO2022JP, CP_UTF7, CP_UTF8}) {
      SCOPED_TRACE(testing::Message() << "code page " << codePage << ", runs up to " << runs);
      const std::string bytes = WideToMultiByte(codePage, text);
      const WideString back = MultiByteToWide(codePage, bytes);
      // ISO-2022-JP writes half-width katakana full-width; the others carry them.
      if (codePage != CP_ISO2022JP) {
        EXPECT_TRUE(back == text);
      }
      EXPECT_TRUE(WideToMultiByte(codePage, back) == bytes);
      // Room to spare is estimated from the text so far, with a margin of up to a quarter
      // while little has been seen: a third at most for mixed text, three quarters where
      // long runs of one kind make the start unlike the rest (a worst-case bound was 2-8x).
      const auto room = [runs](size_t size) {
        return size + (runs < 10 ? size / 3 : size * 3 / 4) + 16384;
      };
      EXPECT_LE(bytes.capacity(), room(bytes.size()));
      EXPECT_LE(back.capacity(), room(back.size()));
    }
  }
}

TEST(CodePage, ShiftedRunsEndingTheTextAcrossAChunkEndAtEveryBit) {
  // A run read eight characters at a time ends the text with a few read one by one; when
  // the chunk fills among them, the bits of a unit begun are carried into the next chunk.
  for (size_t prefix = 0; prefix < 3; ++prefix)
    for (size_t units = 8170; units < 8210; ++units) {
      const WideString text = WideString(prefix, u'a') + WideString(units, u'\x6F22');
      std::string bytes = WideToMultiByte(CP_UTF7, text);
      ASSERT_EQ(bytes.back(), '-');
      bytes.pop_back();  // the run ends with the text
      ASSERT_TRUE(MultiByteToWide(CP_UTF7, bytes) == text) << prefix << " " << units;
    }
}

TEST(CodePage, UnknownCodePageGivesNothing) {
  EXPECT_EQ(MultiByteToWide(1252, "abc"), u"");
  EXPECT_EQ(WideToMultiByte(1252, u"abc"), "");
}

}  // namespace
}  // namespace magna::platform
