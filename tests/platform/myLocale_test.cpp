#include "platform/myLocale.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <random>

#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

using test::U8;
using test::W;

struct CompareCase {
  const char* a;
  const char* b;
  unsigned flags;
  int expected;
};

TEST(CompareLocaleTest, OrdersAndFoldsAsFlagsSay) {
  constexpr unsigned kText = NORM_IGNORECASE | NORM_IGNORENONSPACE | SORT_STRINGSORT;
  const CompareCase cases[] = {
      {"abc", "abd", NORM_DEFAULT, -1},
      {"abc", "abc", NORM_DEFAULT, 0},
      {"", "a", NORM_DEFAULT, -1},
      {"abc", "ABC", NORM_DEFAULT, -1},  // lower case first
      {"abc", "ABC", NORM_IGNORECASE, 0},
      {"ａｂｃ", "ＡＢＣ", NORM_IGNORECASE, 0},  // full-width letters have case too
      {"ABC", "ＡＢＣ", NORM_IGNORECASE, -1},
      {"ABC", "ＡＢＣ", kText, -1},               // width still counts
      {"Straße", "STRASSE", NORM_IGNORECASE, 1},  // simple folding: ß is not ss
      {"résumé", "resume", NORM_IGNORECASE, 1},
      {"résumé", "RESUME", NORM_IGNORENONSPACE, -1},  // case still counts
      {"résumé", "resume", NORM_IGNORENONSPACE, 0},
      {"résumé", "RESUME", kText, 0},
      {"a-c", "ab", NORM_DEFAULT, 1},      // word sort: the hyphen weighs lightly
      {"a-c", "ab", SORT_STRINGSORT, -1},  // string sort: the hyphen is a character
      {"a-b", "ab", NORM_IGNORECASE, -1},  // lightly, but not nothing
      {"あ", "い", NORM_DEFAULT, -1},
      {"か", "が", NORM_IGNORECASE, -1},
      {"か", "が", kText, 0},  // the voiced mark is a non-spacing mark
      {"漢字", "漢字", kText, 0},
      {"あ", "ア", NORM_IGNORECASE, -1},  // kana type counts
      {"あ", "ア", kText, -1},            // and so does kana type: only case and marks are ignored
      {"ｶﾞ", "ガ", kText, 1},             // ﾞ is a letter of its own, no non-spacing mark
  };
  for (const CompareCase& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b + " flags " + std::to_string(c.flags));
    EXPECT_EQ(CompareLocale(W(c.a), W(c.b), c.flags), c.expected);
    EXPECT_EQ(CompareLocale(W(c.b), W(c.a), c.flags), -c.expected);
  }
}

TEST(CompareLocaleTest, SameTextAgreesWithTheComparison) {
  const std::pair<const char*, const char*> pairs[] = {
      {"ABC", "abc"},
      {"e\xCC\x81", "\xC3\xA9"},  // canonically equivalent
      {"a\x01", "a"},
      {"ｶﾞ", "ガ"},
      {"Ω", "ω"},
      {"\xE2\x84\xA6", "ω"},  // the ohm sign folds to omega
      {"\xE2\x84\xAA", "k"},
      {"file1", "file2"},
      {"漢字", "漢字"},
  };
  for (const auto& [a, b] : pairs) {
    SCOPED_TRACE(std::string(a) + " / " + b);
    EXPECT_EQ(SameTextLocale(W(a), W(b)), CompareLocale(W(a), W(b), NORM_IGNORECASE) == 0);
  }
  EXPECT_TRUE(SameTextLocale(W("e\xCC\x81X"), W("\xC3\xA9x")));
  EXPECT_FALSE(SameTextLocale(u"a\u0001", u"a"));
}

// Texts built from characters that fold, compose, decompose or are ignorable: the
// shortcuts of SameTextLocale must agree with the collator.
TEST(CompareLocaleTest, SameTextAgreesOnRandomTrickyTexts) {
  const WideString pieces[] = {u"a",          u"A",      u"e",      u"\u00E9", u"\u0301",
                               u"\u0323",     u"\u212A", u"k",      u"K",      u"\uFF76",
                               u"\uFF9E",     u"\u30AC", u"\u30AB", u"\u3099", u"\u2126",
                               u"\u03C9",     u"\u0001", u"\u00DF", u"\u1E9E", u"\U00010400",
                               u"\U00010428", u"1",      u"\u4E00"};
  std::mt19937 random(7);
  const auto piece = [&] { return pieces[random() % std::size(pieces)]; };
  int equal = 0;
  for (int round = 0; round < 4000; ++round) {
    WideString a, b;
    for (int n = static_cast<int>(random() % 4); n > 0; --n) a += piece();
    b = a;
    a += piece();
    b += piece();
    if (random() % 2) a += piece();
    const bool same = CompareLocale(a, b, NORM_IGNORECASE) == 0;
    equal += same;
    ASSERT_EQ(SameTextLocale(a, b), same) << U8(a) << " / " << U8(b);
  }
  EXPECT_GT(equal, 50);
}

TEST(CompareLocaleTest, IgnoringCaseFoldsEveryCasedCharacter) {
  int cased = 0;
  for (UChar32 c = 0x41; c <= 0xFFFF; ++c) {
    const UChar32 folded = u_foldCase(c, U_FOLD_CASE_DEFAULT);
    if (folded == c || folded > 0xFFFF || U16_IS_SURROGATE(c)) continue;
    ++cased;
    const WideString text(1, static_cast<char16_t>(c)), other(1, static_cast<char16_t>(folded));
    ASSERT_EQ(CompareLocale(text, other, NORM_IGNORECASE), 0) << std::hex << c;
    ASSERT_TRUE(SameTextLocale(u"x" + text, u"x" + other)) << std::hex << c;
  }
  EXPECT_GT(cased, 1000);
}

TEST(CompareLocaleTest, EmbeddedNulIsPartOfTheText) {
  const WideString withNul(u"a\0b", 3);
  EXPECT_NE(CompareLocale(withNul, u"a", SORT_STRINGSORT), 0);
  EXPECT_TRUE(SameTextLocale(withNul, WideString(u"A\0B", 3)));
}

struct MappingCase {
  const char* text;
  const char* mapped;
};

template <typename Mapping, size_t N>
void ExpectMappings(Mapping map, const MappingCase (&cases)[N]) {
  for (const MappingCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(U8(map(W(c.text))), c.mapped);
  }
}

TEST(UpperCaseTest, KeepsTheLengthCodeUnitByCodeUnit) {
  const MappingCase cases[] = {
      {"abc xyz", "ABC XYZ"},
      {"straße", "STRAßE"},  // never the full mapping to SS
      {"ａｚ", "ＡＺ"},
      {"ⅰⅹ", "ⅠⅩ"},
      {"éü", "ÉÜ"},
      {"ｶﾞ漢字あ", "ｶﾞ漢字あ"},
      {"\xF0\x90\x90\xA8", "\xF0\x90\x90\xA8"},  // U+10428: a surrogate pair is left alone
  };
  ExpectMappings(UpperCase, cases);
  for (const MappingCase& c : cases) EXPECT_EQ(UpperCase(W(c.text)).size(), W(c.text).size());
}

TEST(ToHalfWidthMapTest, MapsFullWidthFormsAndSplitsVoicedKana) {
  const MappingCase cases[] = {
      {"ＡＢＣｘｙｚ０１２３４５６７８９", "ABCxyz0123456789"},
      {"！＂＃＄％＆＇（）＊＋，－．／：；＜＝＞？＠［＼］＾＿｀｛｜｝～",
       "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"},
      {"　", " "},
      {"カタカナ", "ｶﾀｶﾅ"},
      {"ガギグゲゴ", "ｶﾞｷﾞｸﾞｹﾞｺﾞ"},
      {"パピプペポ", "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
      {"ヴ", "ｳﾞ"},
      {"ァィゥェォッャュョヲン", "ｧｨｩｪｫｯｬｭｮｦﾝ"},
      {"。「」、・ー゛゜", "｡｢｣､･ｰﾞﾟ"},
      {"￥￠", "¥¢"},
      {"ひらがな漢字abc", "ひらがな漢字abc"},  // no half-width forms: unchanged
      {"ヶヵ", "ヶヵ"},
  };
  ExpectMappings(ToHalfWidthMap, cases);
}

}  // namespace
}  // namespace magna::platform
