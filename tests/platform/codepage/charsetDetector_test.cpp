// The code page detector on the samples where detectors go wrong.
#include <gtest/gtest.h>

#include "platform/codepage/charsetDetector.h"
#include "platform/codepage/codePage.h"
#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

using test::W;

std::string Utf16(const WideString& text, bool bigEndian) {
  std::string bytes;
  for (char16_t u : text) {
    char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

TEST(CodePageDetector, JapaneseCodesAndUnicodeForms) {
  const WideString text = W("日本語のテキスト、かな漢字交じり。\nabc ＡＢＣ 123\n");
  const WideString kanaOnly = W("ひらがなとカタカナ　全角空白つき");  // U+3000 has a zero byte
  struct Case {
    const char* name;
    std::string bytes;
    std::optional<unsigned> codePage;
  };
  const Case cases[] = {
      {"Shift_JIS", WideToMultiByte(CP_ANSI, text), 932},
      {"EUC-JP", WideToMultiByte(CP_EUCJP, text), 20932},
      {"ISO-2022-JP", WideToMultiByte(CP_ISO2022JP, text), 50220},
      {"UTF-8", WideToMultiByte(CP_UTF8, text), 65001},
      {"UTF-7", WideToMultiByte(CP_UTF7, text), 65000},
      {"UTF-16LE", Utf16(text, false), 1200},
      {"UTF-16BE", Utf16(text, true), 1201},
      {"UTF-16LE without ASCII, zero low bytes", Utf16(kanaOnly, false), 1200},
      {"UTF-16BE without ASCII, zero low bytes", Utf16(kanaOnly, true), 1201},
      {"UTF-16LE of seven-bit bytes only", Utf16(W("あいうえおかきくけこ"), false), 1200},
      {"ASCII", "plain text, C++ and a+b\n", 20127},
      {"ISO-2022-JP cut inside its first escape", "see also \x1B$", 50220},
      {"UTF-8 cut inside its first kana", "see also \xE3\x81", 65001},
      {"EUC-JP kanji that is also UTF-8 (a combining mark)", ".SH \xCC\xBE", 20932},
      {"UTF-8 Latin-1 signs", "24 \xC2\xB1 1 \xC3\x97 2", 65001},
      {"Shift_JIS half-width katakana with kana", "\xB6\xC0\xB6\xC5\x82\xC5\x82\xB7", 932},
      {"Shift_JIS half-width katakana alone: ﾒｲﾘｵ, rare kanji in EUC-JP", "\xD2\xB2\xD8\xB5", 932},
      {"EUC-JP name with one rare kanji: 倉澤 望", "\xC1\xD2\xDF\xB7 \xCB\xBE\n", 20932},
      // Known limit: half-width katakana that are common kanji in EUC-JP (ｶﾀｶﾅ is two
      // kanji of the first level) read as EUC-JP; automatic writing then picks UTF-8.
      {"Shift_JIS half-width katakana alone: ｶﾀｶﾅ", "\xB6\xC0\xB6\xC5", 20932},
      {"Latin-1 goes to uchardet",
       "Le caf\xE9 cr\xE8me est tr\xE8s bon, \xE0 la fran\xE7"
       "aise, d\xE9j\xE0 vu.",
       28591},
      {"empty", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectInputCodepage(c.bytes), c.codePage) << test::Hex(c.bytes);
  }
}

TEST(CodePageDetector, Utf7NeedsRealEvidence) {
  const std::pair<const char*, std::optional<unsigned>> cases[] = {
      {"mail=foo+bar@example.com\n", 20127},  // "+bar" decodes to one implausible unit
      {"a+bcd\n", 20127},                     // leftover bits that are not zero
      {"x+bcA\n", 20127},                     // well-formed, one kanji: no evidence
      {"value=+Inf\n", 20127},                //
      {"FontName=Hack+Mono\n", 20127},        //
      {"1 + 1, C++\n", 20127},                // '+' before a character that is not base64
      {"+AFwAIg-x\n", 20127},                 // ASCII-range units alone: no evidence
      {"+ZeVnLIqe-\n", 65000},                // 日本語: three common kanji
      {"see +MEIwRA-\n", 65000},              // あい
      {"see +MEIwRA- and 1+1\n", 20127},      // one ill-formed shift spoils the rest
      {"+2D3eAA-\n", 20127},                  // a surrogate pair alone: no Japanese
      {"+ZeVnLIqe", 65000},                   // cut by the end of the sample
  };
  for (const auto& [bytes, codePage] : cases) {
    SCOPED_TRACE(bytes);
    EXPECT_EQ(DetectInputCodepage(bytes), codePage);
  }
  // The end of a whole text may cut its last shift (head -c): what it shifted before the
  // cut is the evidence.
  EXPECT_EQ(DetectInputCodepage("see +MEIwRA", true), 65000u);
  EXPECT_EQ(DetectInputCodepage("see +MEIwRB", true), 65000u);
  EXPECT_EQ(DetectInputCodepage("a+bcd", true), 20127u);
}

TEST(CodePageDetector, ZeroBytesAreCountedNotFlagged) {
  struct Case {
    const char* name;
    std::string bytes;
    std::optional<unsigned> codePage;
  };
  const WideString kanjiBesideAscii = W("一a"), emoji = W("x😀y\r\n");
  const std::string sjis = WideToMultiByte(CP_ANSI, W("[Text]\r\nFontName=ＭＳ ゴシック\r\n"));
  const Case cases[] = {
      {"一 beside ASCII, LE: zeros at both offsets", Utf16(kanjiBesideAscii, false), 1200},
      {"一 beside ASCII, BE", Utf16(kanjiBesideAscii, true), 1201},
      {"emoji whose low surrogate ends in 00, LE", Utf16(emoji, false), 1200},
      {"emoji whose low surrogate ends in 00, BE", Utf16(emoji, true), 1201},
      {"Shift_JIS with one zero appended", sjis + std::string(1, '\0'), 932},
      {"Shift_JIS with a block of zeros appended", sjis + std::string(100, '\0'), 932},
      {"UTF-8 with one zero appended", WideToMultiByte(CP_UTF8, W("名前=値\n")) + '\0', 65001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectInputCodepage(c.bytes), c.codePage) << test::Hex(c.bytes);
  }
}

TEST(CodePageDetector, WindowsCutAnywhereKeepTheirCode) {
  const WideString text = W("設定ファイルは「~/.config」に置かれます。詳しくは man 5 を参照。\n");
  for (auto [codePage, expected] : {std::pair{CP_ANSI, 932u}, std::pair{CP_EUCJP, 20932u},
                                    std::pair{CP_ISO2022JP, 50220u}, std::pair{CP_UTF8, 65001u}}) {
    std::string bytes = WideToMultiByte(codePage, text);
    for (size_t size = 8; size <= bytes.size(); ++size) {
      std::string_view window(bytes.data(), size);
      bool ascii =
          window.find_first_of(std::string("\x1B\x80\x81\x82\x83\x8E\x8F\x90\x91\x92\x93\x94\x95"
                                           "\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F",
                                           23)) == std::string_view::npos &&
          std::all_of(window.begin(), window.end(), [](char c) { return c >= 0; });
      if (ascii) continue;
      EXPECT_EQ(DetectInputCodepage(window), expected) << codePage << " " << test::Hex(window);
    }
  }
}

// A whole text cut inside its last character: the rest decides. Common kanji before the
// cut are Japanese text; a rare ideograph is what Shift_JIS bytes read as in UTF-8.
TEST(CodePageDetector, WholeTextCutInsideItsLastCharacter) {
  EXPECT_EQ(DetectInputCodepage("O_NONBLOCK \xE7\x84\xA1\xE5\x8A\xB9\xE3\x81", true), 65001u);
  EXPECT_EQ(DetectInputCodepage("\xE4\x8D\x81\xDA", true), 932u);
}

TEST(CodePageDetector, NamesOfOtherDetectors) {
  EXPECT_EQ(CodePageOfCharsetName("Shift_JIS"), 932u);
  EXPECT_EQ(CodePageOfCharsetName("euc-jp"), 20932u);
  EXPECT_EQ(CodePageOfCharsetName("ISO-8859-1"), 28591u);
  EXPECT_EQ(CodePageOfCharsetName("UTF-16BE"), 1201u);
  EXPECT_EQ(CodePageOfCharsetName("no such charset"), std::nullopt);
}

}  // namespace
}  // namespace magna::platform
