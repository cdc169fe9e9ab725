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
      // Known limit: half-width katakana alone are EUC-JP kanji as well, and likelier.
      {"Shift_JIS half-width katakana alone", "\xB6\xC0\xB6\xC5", 20932},
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

TEST(CodePageDetector, NamesOfOtherDetectors) {
  EXPECT_EQ(CodePageOfCharsetName("Shift_JIS"), 932u);
  EXPECT_EQ(CodePageOfCharsetName("euc-jp"), 20932u);
  EXPECT_EQ(CodePageOfCharsetName("ISO-8859-1"), 28591u);
  EXPECT_EQ(CodePageOfCharsetName("UTF-16BE"), 1201u);
  EXPECT_EQ(CodePageOfCharsetName("no such charset"), std::nullopt);
}

}  // namespace
}  // namespace magna::platform
