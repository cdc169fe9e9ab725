// Whole-table checks: every mapped character round-trips, and the tables agree with
// glibc iconv everywhere except the documented Windows differences.
#include <gtest/gtest.h>

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <random>

#include "platform/codepage/codePage.h"
#include "platform/codepage/codePageIconv.h"
#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

using test::Hex;

WideString IconvDecode(const char* from, std::string_view bytes, bool& ok) {
  IconvHandle cd("UTF-16LE", from);
  std::string out;
  ok = cd.valid() && cd.Convert(bytes, out);
  WideString text;
  for (size_t i = 0; i + 1 < out.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(out[i]) |
                                  static_cast<unsigned char>(out[i + 1]) << 8);
  return text;
}

std::vector<std::string> AllSjisPairs() {
  std::vector<std::string> pairs;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      if (trail != 0x7F) pairs.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  }
  return pairs;
}

TEST(CodePageTables, Cp932AgreesWithGlibcOnEveryPair) {
  int mapped = 0;
  for (const std::string& pair : AllSjisPairs()) {
    bool ok = false;
    WideString theirs = IconvDecode("CP932", pair, ok);
    WideString ours = MultiByteToWide(CP_ANSI, pair);
    if (!ok) {
      EXPECT_EQ(ours.front(), u'\xFFFD') << Hex(pair);
      continue;
    }
    ++mapped;
    EXPECT_EQ(ours, theirs) << Hex(pair);
  }
  EXPECT_GT(mapped, 9000);
}

TEST(CodePageTables, Cp932DiffersFromGlibcOnlyWhereWindowsDoes) {
  for (int b = 1; b < 0x100; ++b) {
    std::string byte(1, static_cast<char>(b));
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) continue;
    bool ok = false;
    WideString theirs = IconvDecode("CP932", byte, ok);
    WideString ours = MultiByteToWide(CP_ANSI, byte);
    bool windowsOnly = b == 0x80 || b == 0xA0 || b >= 0xFD;
    EXPECT_EQ(ok, !windowsOnly) << Hex(byte);
    if (ok) {
      EXPECT_EQ(ours, theirs) << Hex(byte);
    }
  }
}

TEST(CodePageTables, EveryCp932CharacterRoundTrips) {
  int checked = 0;
  for (char16_t u = 1; u != 0; ++u) {
    if (AnsiCodeOf(u) == 0) continue;
    bool used = true;
    WideString text(1, u);
    std::string bytes = WideToMultiByte(CP_ANSI, text, WC_NO_BEST_FIT_CHARS, &used);
    ASSERT_FALSE(used) << std::hex << int(u);
    ASSERT_EQ(MultiByteToWide(CP_ANSI, bytes), text) << std::hex << int(u);
    ++checked;
  }
  EXPECT_GT(checked, 7000);
}

TEST(CodePageTables, EveryDecodedCp932CharacterEncodesToAnEquivalent) {
  // Duplicates (NEC row 13 / NEC-selected / IBM) decode to one unit, which has one code.
  for (const std::string& pair : AllSjisPairs()) {
    WideString text = MultiByteToWide(CP_ANSI, pair);
    if (text.size() != 1 || text[0] == 0xFFFD) continue;
    bool used = true;
    std::string back = WideToMultiByte(CP_ANSI, text, WC_NO_BEST_FIT_CHARS, &used);
    EXPECT_FALSE(used) << Hex(pair);
    EXPECT_EQ(MultiByteToWide(CP_ANSI, back), text) << Hex(pair);
  }
}

TEST(CodePageTables, EucJpAgreesWithGlibcExceptRow13) {
  int mapped = 0, windowsSymbols = 0;
  for (int j1 = 0xA1; j1 <= 0xFE; ++j1)
    for (int j2 = 0xA1; j2 <= 0xFE; ++j2)
      for (bool x0212 : {false, true}) {
        std::string bytes = x0212 ? "\x8F" : "";
        bytes += {static_cast<char>(j1), static_cast<char>(j2)};
        bool ok = false;
        WideString theirs = IconvDecode("EUC-JP", bytes, ok);
        WideString ours = MultiByteToWide(CP_EUCJP, bytes);
        if (ok) {
          ++mapped;
          EXPECT_EQ(ours, theirs) << Hex(bytes);
        } else if (!(j1 == 0xAD && !x0212)) {
          EXPECT_EQ(ours, u"\xFFFD") << Hex(bytes);
        }
        if (ours != u"\xFFFD") {
          bool used = true;
          std::string back = WideToMultiByte(CP_EUCJP, ours, WC_NONE, &used);
          if (x0212 && back.size() == 2) {  // a Windows symbol: written at its JIS X 0208 place
            EXPECT_LT(++windowsSymbols, 8) << Hex(bytes);
            continue;
          }
          EXPECT_FALSE(used) << Hex(bytes);
          EXPECT_EQ(MultiByteToWide(CP_EUCJP, back), ours) << Hex(bytes);
        }
      }
  EXPECT_GT(mapped, 12000);
}

TEST(CodePageTables, Iso2022JpCarriesEveryJisX0208CharacterOfCp932) {
  for (const std::string& pair : AllSjisPairs()) {
    if (static_cast<unsigned char>(pair[0]) >= 0xF0) continue;  // beyond JIS row 94
    WideString text = MultiByteToWide(CP_ANSI, pair);
    if (text.size() != 1 || text[0] == 0xFFFD) continue;
    EXPECT_EQ(MultiByteToWide(CP_ISO2022JP, WideToMultiByte(CP_ISO2022JP, text)), text)
        << Hex(pair);
  }
}

TEST(CodePageTables, UnicodeFormsRoundTripEveryCodePoint) {
  WideString all;
  for (char32_t c = 1; c <= 0x10FFFF; c += (c < 0x10000 ? 1 : 37)) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c < 0x10000) {
      all += static_cast<char16_t>(c);
    } else {
      all += static_cast<char16_t>(0xD7C0 + (c >> 10));
      all += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
  }
  EXPECT_EQ(MultiByteToWide(CP_UTF8, WideToMultiByte(CP_UTF8, all)), all);
  EXPECT_EQ(MultiByteToWide(CP_UTF7, WideToMultiByte(CP_UTF7, all)), all);
  bool ok = false;
  EXPECT_EQ(IconvDecode("UTF-8", WideToMultiByte(CP_UTF8, all), ok), all);
  EXPECT_TRUE(ok);
  EXPECT_EQ(IconvDecode("UTF-7", WideToMultiByte(CP_UTF7, all), ok), all);
  EXPECT_TRUE(ok);
}

}  // namespace
}  // namespace magna::platform

namespace magna::platform {
namespace {

std::string IconvEncode(const char* to, const WideString& text) {
  IconvHandle cd(to, "UTF-16LE");
  std::string in(reinterpret_cast<const char*>(text.data()), text.size() * 2), out;
  EXPECT_TRUE(cd.Convert(in, out)) << to;
  return out;
}

/// ASCII runs of every length around the 16-byte blocks of the fast paths, between kana,
/// kanji and half-width katakana.
WideString MixedText(std::mt19937& random, bool halfWidth) {
  const WideString japanese =
      test::W("あいうアイウ漢字日本語、。「」") + (halfWidth ? test::W("ｱｲｳ") : u"");
  WideString text;
  while (text.size() < 3000) {
    for (size_t n = random() % 40; n > 0; --n) text += static_cast<char16_t>(u' ' + random() % 90);
    for (size_t n = random() % 6; n > 0; --n) text += japanese[random() % japanese.size()];
  }
  return text;
}

TEST(CodePageFastPaths, AgreeWithIconvAroundEveryBlockBoundary) {
  struct Case {
    unsigned codePage;
    const char* iconvName;
    bool halfWidth;
  };
  std::mt19937 random(7);
  for (Case c :
       {Case{CP_ANSI, "CP932", true}, Case{CP_EUCJP, "EUC-JP", true}, Case{CP_UTF8, "UTF-8", true},
        Case{CP_UTF7, "UTF-7", true}, Case{CP_ISO2022JP, "ISO-2022-JP", false}}) {
    SCOPED_TRACE(c.iconvName);
    for (int round = 0; round < 20; ++round) {
      WideString text = MixedText(random, c.halfWidth);
      bool ok = false;
      EXPECT_EQ(IconvDecode(c.iconvName, WideToMultiByte(c.codePage, text), ok), text);
      EXPECT_TRUE(ok);
      EXPECT_EQ(MultiByteToWide(c.codePage, IconvEncode(c.iconvName, text)), text);
    }
  }
}

/// UTF-8 as ICU writes it, a lone surrogate as U+FFFD.
std::string IcuUtf8(const WideString& text) {
  std::string out(text.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  EXPECT_TRUE(U_SUCCESS(status));
  out.resize(static_cast<size_t>(length));
  return out;
}

// Runs of every length of every kind of unit, so that eight-unit blocks of kana and
// kanji and sixteen-unit blocks of ASCII start and stop at every offset beside ASCII,
// two-byte characters, the edges of the three-byte range, pairs and lone surrogates.
TEST(CodePageFastPaths, Utf8AgreesWithIcuAroundEveryBlockBoundary) {
  const std::vector<WideString> kinds = {
      u"a~\x7F\t",     u"\x80\xE9\x7FF", u"\x800\x3042\x6F22\xD7FF\xE000\xFF5E\xFFFF",
      u"\xD83D\xDE00", u"\xD800",        u"\xDFFF"};
  std::mt19937 random(65001);
  for (int round = 0; round < 300; ++round) {
    WideString text;
    while (text.size() < 400) {
      const WideString& kind = kinds[random() % kinds.size()];
      for (size_t n = random() % 20; n > 0; --n) {
        size_t pick = random() % kind.size();
        text += kind.size() == 2 && kind[0] == 0xD83D ? kind : kind.substr(pick, 1);
      }
    }
    ASSERT_EQ(Hex(WideToMultiByte(CP_UTF8, text)), Hex(IcuUtf8(text))) << round;
  }
}

TEST(CodePageFastPaths, Utf16StopsAtTheFirstZeroUnitWherever) {
  for (size_t length = 0; length < 40; ++length)
    for (size_t zero = 0; zero <= length / 2; ++zero) {
      std::string bytes(length, 'a');
      if (2 * zero + 1 < length) bytes[2 * zero] = bytes[2 * zero + 1] = '\0';
      size_t units = 2 * zero + 1 < length ? zero : (length + 1) / 2;
      WideString le = Utf16BytesToWide(bytes, false), be = Utf16BytesToWide(bytes, true);
      ASSERT_EQ(le.size(), units) << length << " " << zero;
      ASSERT_EQ(be.size(), units);
      if (units > 0 && length % 2 == 1 && units == (length + 1) / 2) {
        EXPECT_EQ(le.back(), u'a');  // odd last byte: low byte of a last unit
        EXPECT_EQ(be.back(), 0x6100);
      }
    }
}

// The composite check searches a text for combining marks only when encoding it needed
// the default character: that holds because no combining mark has a mapping, exact or
// best fit, in code page 932 or 20932.
TEST(CodePageTables, NoCombiningMarkHasAMapping) {
  int marks = 0;
  for (char16_t c = 0x300; c != 0; ++c) {
    if (u_getCombiningClass(c) == 0 || (c >= 0xD800 && c <= 0xDFFF)) continue;
    ++marks;
    for (unsigned codePage : {CP_ANSI, CP_EUCJP}) {
      bool used = false;
      WideToMultiByte(codePage, WideString(1, c), WC_NONE, &used);
      EXPECT_TRUE(used) << std::hex << int(c) << " in " << std::dec << codePage;
    }
  }
  EXPECT_GT(marks, 500);
}

}  // namespace
}  // namespace magna::platform
