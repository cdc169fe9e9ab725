// The status line's captions for the code units at the caret.
#include "text/character/myStatusLine.h"

#include <gmock/gmock.h>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::U8;
using test::W;

/// A caret in `text` at `pos`: hands out up to n code units and records every request.
struct Caret {
  explicit Caret(WideString t, size_t p = 0) : text(std::move(t)), pos(p) {}
  WideString text;
  size_t pos = 0;
  std::vector<int> asked;
  TTextAtCaret Fetcher() {
    return [this](int n) {
      asked.push_back(n);
      return pos < text.size() ? text.substr(pos, size_t(n)) : WideString();
    };
  }
};

TStatusCaptions At(const WideString& text, size_t pos = 0) {
  Caret caret(text, pos);
  return FormatStatusLine(caret.Fetcher());
}

struct Row {
  const char* name;
  WideString text;
  const char* character;  // UTF-8
  bool marked;
  const char* ansi;
  const char* unicode;
  const char* utf8;
};

TEST(FormatStatusLine, CaptionsOfCharacters) {
  const Row rows[] = {
      {"letter A", u"A", "A", false, "SJIS 0x41", "UTF16 U+0041", "UTF8 U+41 01000001"},
      {"hiragana a", u"\u3042", "あ", false, "SJIS 0x82A0", "UTF16 U+3042",
       "UTF8 U+E38182 11100011 10000001 10000010"},
      {"half-width ka", u"\uFF71", "ｱ", false, "SJIS 0xB1", "UTF16 U+FF71",
       "UTF8 U+EFBDB1 11101111 10111101 10110001"},
      {"ideographic space", u"\u3000", "全角スペース", false, "SJIS 0x8140", "UTF16 U+3000",
       "UTF8 U+E38080 11100011 10000000 10000000"},
      {"space", u" ", "半角スペース", false, "SJIS 0x20", "UTF16 U+0020", "UTF8 U+20 00100000"},
      {"tab", u"\t", "Tab", true, "SJIS 0x09", "UTF16 U+0009", "UTF8 U+09 00001001"},
      {"carriage return", u"\r\n", "CR", true, "SJIS 0x0D", "UTF16 U+000D", "UTF8 U+0D 00001101"},
      {"unit separator", u"\x1F", "US", true, "SJIS 0x1F", "UTF16 U+001F", "UTF8 U+1F 00011111"},
      {"NUL", WideString(1, u'\0'), "NUL", true, "SJIS 0x00", "UTF16 U+0000", "UTF8 U+00 00000000"},
      {"delete", u"\x7F", "DEL", true, "SJIS 0x7F", "UTF16 U+007F", "UTF8 U+7F 01111111"},
      {"e acute", u"\u00E9", "é", false, "SJIS -", "UTF16 U+00E9", "UTF8 U+C3A9 11000011 10101001"},
      {"grinning face", u"\U0001F600", "😀", false, "SJIS -", "UTF16 U+1F600(D83D+DE00)",
       "UTF8 U+F09F9880 11110000 10011111 10011000 10000000"},
      {"last plane", u"\U0010FFFF", "\U0010FFFF", false, "SJIS -", "UTF16 U+10FFFF(DBFF+DFFF)",
       "UTF8 U+F48FBFBF 11110100 10001111 10111111 10111111"},
      {"first of a selection", u"\u6F22\u5B57", "漢", false, "SJIS 0x8ABF", "UTF16 U+6F22",
       "UTF8 U+E6BCA2 11100110 10111100 10100010"},
      {"upper-case hex", u"\uFFEF", "\uFFEF", false, "SJIS -", "UTF16 U+FFEF",
       "UTF8 U+EFBFAF 11101111 10111111 10101111"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const TStatusCaptions c = At(r.text);
    EXPECT_EQ(U8(c.Char), r.character);
    EXPECT_EQ(c.CharMarked, r.marked);
    EXPECT_EQ(U8(c.Ansi), r.ansi);
    EXPECT_EQ(U8(c.Unicode), r.unicode);
    EXPECT_EQ(U8(c.Utf8), r.utf8);
  }
}

TEST(FormatStatusLine, NothingAfterTheCaretClearsEverything) {
  const TStatusCaptions c = At(u"AB", 2);
  EXPECT_EQ(c, TStatusCaptions{});
}

TEST(FormatStatusLine, AsksOneUnitThenTwoOnlyForAHighSurrogate) {
  Caret plain(u"AB");
  FormatStatusLine(plain.Fetcher());
  EXPECT_THAT(plain.asked, ::testing::ElementsAre(1));

  Caret pair(u"\U0001F600X");
  FormatStatusLine(pair.Fetcher());
  EXPECT_THAT(pair.asked, ::testing::ElementsAre(1, 2));
}

TEST(FormatStatusLine, UnpairedSurrogatesShowTheirUnitWithoutBytes) {
  struct Case {
    const char* name;
    WideString text;
    const char* unicode;
  } cases[] = {
      {"high at the end", u"\xD83D", "UTF16 U+D83D"},
      {"high before a line break", u"\xD83D\r\n", "UTF16 U+D83D"},
      {"high before another high", u"\xD800\xDBFF", "UTF16 U+D800"},
      {"low alone", u"\xDE00", "UTF16 U+DE00"},
      {"low before a high", u"\xDFFF\xD800", "UTF16 U+DFFF"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const TStatusCaptions c = At(k.text);
    EXPECT_EQ(c.Char, WideString(1, k.text[0]));
    EXPECT_FALSE(c.CharMarked);
    EXPECT_EQ(U8(c.Ansi), "SJIS -");
    EXPECT_EQ(U8(c.Unicode), k.unicode);
    EXPECT_EQ(U8(c.Utf8), "UTF8 -");
  }
}

TEST(FormatStatusLine, NeverTrustsTheFetcherForMoreThanItAsked) {
  // A fetcher that ignores n, and one whose second answer is shorter than the first.
  const TStatusCaptions greedy = FormatStatusLine([](int) { return WideString(u"AB\U0001F600"); });
  EXPECT_EQ(U8(greedy.Char), "A");
  EXPECT_EQ(U8(greedy.Utf8), "UTF8 U+41 01000001");

  int calls = 0;
  const TStatusCaptions shrinking =
      FormatStatusLine([&](int) { return ++calls == 1 ? WideString(u"\xD83D") : WideString(); });
  EXPECT_EQ(U8(shrinking.Unicode), "UTF16 U+D83D");
  EXPECT_EQ(U8(shrinking.Ansi), "SJIS -");
}

TEST(UTF8Caption, BytesInHexThenBinary) {
  EXPECT_EQ(UTF8Caption(u""), u"");
  EXPECT_EQ(U8(UTF8Caption(W("Aあ"))), "UTF8 U+41E38182 01000001 11100011 10000001 10000010");
}

}  // namespace
}  // namespace magna
