// The comparisons are orders: over random pairs and triples of texts mixing ASCII,
// full-width and half-width forms, hiragana and katakana, kanji numerals, circled
// numbers and combining marks, each is antisymmetric and transitive.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "tests/support/testSupport.h"
#include "text/myNumeral.h"

namespace magna {
namespace {

using test::U8;

using Comparison = int (*)(const WideString&, const WideString&);

/// Pieces that look alike under some folding: a few letters in every width and case,
/// kana of both kinds and widths, numerals of every class, marks after a base.
const std::vector<WideString>& Pieces() {
  static const std::vector<WideString> pieces = {
      u"a",
      u"A",
      u"b",
      u"\xFF41",
      u"\xFF21",  // ａ Ａ
      u"1",
      u"2",
      u"9",
      u"0",
      u"10",
      u"\xFF11",
      u"\xFF12",  // １ ２
      u"\x304B",
      u"\x30AB",
      u"\xFF76",
      u"\x304C",
      u"\x30AC",        // か カ ｶ が ガ
      u"\xFF76\xFF9E",  // ｶﾞ
      u"\x4E00",
      u"\x4E8C",
      u"\x5341",
      u"\x767E",
      u"\x4E07",  // 一 二 十 百 万
      u"\x58F1",
      u"\x3007",  // 壱 〇
      u"\x2460",
      u"\x2461",
      u"\x246B",  // ① ② ⑫
      u"\x2160",
      u"\x2169",  // Ⅰ Ⅹ
      u"e\x0301",
      u"\x00E9",
      u"\x304B\x3099",  // e+acute é か+voiced
      u"-",
      u".",
      u" ",
  };
  return pieces;
}

/// A text of one to five pieces.
WideString RandomText(std::mt19937& random) {
  WideString text;
  for (int n = 1 + static_cast<int>(random() % 5); n > 0; --n)
    text += Pieces()[random() % Pieces().size()];
  return text;
}

/// A path of a directory and a name drawn like texts.
WideString RandomPath(std::mt19937& random) {
  return RandomText(random) + (random() % 2 ? u"\\" : u"/") + RandomText(random);
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

void ExpectOrder(const char* name, Comparison compare, WideString (*make)(std::mt19937&)) {
  SCOPED_TRACE(name);
  std::mt19937 random(2024);
  for (int round = 0; round < 3000; ++round) {
    std::array<WideString, 3> t = {make(random), make(random), make(random)};
    if (random() % 4 == 0) t[1] = t[0] + t[1];  // shared starts reach the later steps
    if (random() % 4 == 0) t[2] = t[0] + t[2];
    int c[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) c[i][j] = Sign(compare(t[i], t[j]));
    for (int i = 0; i < 3; ++i) {
      ASSERT_EQ(c[i][i], 0) << U8(t[i]);
      for (int j = 0; j < 3; ++j) {
        ASSERT_EQ(c[i][j], -c[j][i]) << "antisymmetry: " << U8(t[i]) << " / " << U8(t[j]);
        for (int k = 0; k < 3; ++k) {
          if (c[i][j] <= 0 && c[j][k] <= 0) {
            ASSERT_LE(c[i][k], 0) << "transitivity: " << U8(t[i]) << " <= " << U8(t[j])
                                  << " <= " << U8(t[k]);
          }
        }
      }
    }
  }
}

TEST(ComparisonOrder, LocaleTextIsAnOrder) {
  ExpectOrder("CompareLocaleText", CompareLocaleText, RandomText);
}

TEST(ComparisonOrder, NumeralTextIsAnOrder) {
  ExpectOrder("CompareNumeralText", CompareNumeralText, RandomText);
  ExpectOrder("CompareNumeralPath", CompareNumeralPath, RandomPath);
}

TEST(ComparisonOrder, DigitTextIsAnOrder) {
  ExpectOrder("CompareDigitText", CompareDigitText, RandomText);
  ExpectOrder("CompareDigitPath", CompareDigitPath, RandomPath);
}

// Pairs whose order once depended on which came first: kana type, width and marks
// were ignored like case, and equal lengths gave 1 either way.
TEST(ComparisonOrder, PairsOnceOrderedBothWays) {
  const std::pair<const char16_t*, const char16_t*> pairs[] = {
      {u"\x304B"
       u"1",
       u"\x30AB"
       u"2"},  // か1 / カ2
      {u"file1",
       u"\xFF46\xFF49\xFF4C\xFF45"
       u"2"},  // file1 / ｆｉｌｅ2
      {u"ABC10",
       u"\xFF21\xFF22\xFF23"
       u"9"},  // ABC10 / ＡＢＣ9
      {u"r\x00E9sum\x00E9"
       u"2",
       u"resume10"},           // résumé2 / resume10
      {u"\x00DF", u"\x1E9E"},  // ß / ẞ
  };
  for (Comparison compare : {CompareNumeralText, CompareDigitText}) {
    for (const auto& [a, b] : pairs) {
      SCOPED_TRACE(U8(a) + " / " + U8(b));
      EXPECT_NE(compare(a, b), 0);
      EXPECT_EQ(compare(a, b), -compare(b, a));
    }
  }
}

}  // namespace
}  // namespace magna
