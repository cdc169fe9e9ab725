// Numeral-aware comparison: the splits, both comparison families, the path forms,
// and the orders a sort with them gives.
#include "text/myNumeral.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/myLocale.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::U8;
using test::W;

struct SplitCase {
  const char* text;
  const char* prefix;
  int64_t value;
  const char* rest;
};

TEST(SplitNumeralTest, ReadsKanjiUnitsDigitTextsAndWhereTheNumberEnds) {
  const SplitCase cases[] = {
      {"第三章", "第", 3, "章"},
      {"千九百八十四年", "", 1984, "年"},
      {"一万二千", "", 12000, ""},
      {"二〇二四", "", 2024, ""},  // digit texts are concatenated
      {"千〇十", "", 1010, ""},    // the zero lets 十 count once
      {"〇十", "", 10, ""},        // pending "0" + implied "1"
      {"②十", "", 210, ""},        // the implied one joins the circled digits
      {"⑫", "", 12, ""},
      {"①②", "", 12, ""},
      {"Ⅸ章", "", 9, "章"},
      {"十五", "", 15, ""},
      {"三十", "", 30, ""},
      {"3十", "", 30, ""},
      {"千百", "", 1100, ""},
      {"百十", "", 110, ""},
      {"十十", "", 10, "十"},
      {"十百", "", 10, "百"},  // a larger unit after a smaller one ends the number
      {"百千", "", 100, "千"},
      {"千千", "", 1000, "千"},
      {"一億", "", 1, "億"},
      {"二万三千", "", 23000, ""},
      {"二万三万", "", 20003, "万"},  // the pending 3 counts where the number ends
      {"一万十万", "", 10010, "万"},
      {"十万", "", 100000, ""},  // 万 after a unit multiplies what is counted
      {"二十万", "", 200000, ""},
      {"三千万", "", 30000000, ""},
      {"千二百万円", "", 12000000, "円"},
      {"十〇万", "", 110000, ""},  // after a zero the implied one is back
      {"万", "", 10000, ""},
      {"①万", "", 110000, ""},  // the implied one joins the circled digit
      {"壱萬弐阡参佰肆拾伍", "", 12345, ""},
      {"玖陌", "", 900, ""},
      {"漆仟", "", 7000, ""},
      {"ab12cd34", "ab", 12, "cd34"},
      {"ｖｅｒ１０．２", "ｖｅｒ", 10, "．２"},
      {"text", "text", 0, ""},
      {"", "", 0, ""},
      {"99999999999999999999x", "", 0, "x"},  // beyond 64 bits counts as 0
      {"99999999999999999999十", "", 0, ""},  // ... and stays too large with the implied 1
      {"9223372036854775807", "", INT64_MAX, ""},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.text);
    WideString prefix = u"old", rest = u"old";
    int64_t value = -1;
    SplitNumeral(W(c.text), prefix, value, rest);
    EXPECT_EQ(U8(prefix), c.prefix);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(U8(rest), c.rest);
  }
}

TEST(SplitNumeralTest, EveryDigitCharacterGivesItsDigitText) {
  const struct {
    const char* characters;
    int64_t value;
  } rows[] = {
      {"0〇０零", 0},   {"1一１壱壹①Ⅰ", 1}, {"2二２弐貮貳②Ⅱ", 2}, {"3三３参參③Ⅲ", 3},
      {"4四４肆④Ⅳ", 4}, {"5五５伍⑤Ⅴ", 5},   {"6六６陸⑥Ⅵ", 6},     {"7七７柒漆質⑦Ⅶ", 7},
      {"8八８捌⑧Ⅷ", 8}, {"9九９玖⑨Ⅸ", 9},   {"⑩Ⅹ", 10},           {"⑪", 11},
      {"⑮", 15},        {"⑳", 20},
  };
  for (const auto& row : rows) {
    for (const char16_t c : W(row.characters)) {
      SCOPED_TRACE(U8(WideString(1, c)));
      WideString prefix, rest;
      int64_t value = -1;
      // the leading 5 shows the digit text's length: "5" + "10" is 510
      SplitNumeral(u"x5" + WideString(1, c) + u"y", prefix, value, rest);
      EXPECT_EQ(value, row.value >= 10 ? 500 + row.value : 50 + row.value);
      EXPECT_EQ(prefix, u"x");
      EXPECT_EQ(rest, u"y");
    }
  }
}

TEST(SplitNumeralTest, OverflowingArithmeticRaises) {
  const char* const cases[] = {
      "9223372036854775807十",  // p × 10
      "922337203685477581万",   // (accumulated + p) × 10000
      "十9223372036854775807",  // the final accumulated + p
      "九千万万",               // stays in range: the second 万 ends the number
  };
  WideString prefix, rest;
  int64_t value = 0;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(cases[i]);
    EXPECT_THROW(SplitNumeral(W(cases[i]), prefix, value, rest), EIntOverflow);
  }
  SplitNumeral(W(cases[3]), prefix, value, rest);
  EXPECT_EQ(value, 90000000);
}

TEST(SplitNumeralTest, TheTextMayBeOneOfTheOutputs) {
  WideString text = W("第十二話");
  WideString rest;
  int64_t value = 0;
  SplitNumeral(text, text, value, rest);
  EXPECT_EQ(U8(text), "第");
  EXPECT_EQ(value, 12);
  EXPECT_EQ(U8(rest), "話");

  WideString plain = u"ab123cd", digits;
  SplitDigits(plain, digits, digits, plain);
  EXPECT_EQ(digits, u"123");
  EXPECT_EQ(plain, u"cd");
}

TEST(SplitDigitsTest, TakesTheFirstRunOfAsciiDigits) {
  const struct {
    const char* text;
    const char* prefix;
    const char* digits;
    const char* rest;
  } cases[] = {
      {"file10.txt", "file", "10", ".txt"},
      {"007", "", "007", ""},
      {"a1b2", "a", "1", "b2"},
      {"第十章", "第十章", "", ""},
      {"ファイル１２", "ファイル１２", "", ""},  // full-width digits are letters here
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    WideString prefix, digits, rest;
    SplitDigits(W(c.text), prefix, digits, rest);
    EXPECT_EQ(U8(prefix), c.prefix);
    EXPECT_EQ(U8(digits), c.digits);
    EXPECT_EQ(U8(rest), c.rest);
  }
}

struct CompareCase {
  const char* a;
  const char* b;
  int expected;
  bool antisymmetric = true;  // b against a gives the opposite
};

using Comparison = int (*)(const WideString&, const WideString&);

void ExpectComparisons(Comparison compare, std::initializer_list<CompareCase> cases) {
  for (const CompareCase& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(compare(W(c.a), W(c.b)), c.expected);
    if (c.antisymmetric) {
      EXPECT_EQ(compare(W(c.b), W(c.a)), -c.expected);
    }
  }
}

TEST(CompareNumeralTextTest, ComparesNumbersByValue) {
  ExpectComparisons(CompareNumeralText,
                    {
                        {"file2", "file10", -1},
                        {"第二章", "第十章", -1},
                        {"第十章", "第十一章", -1},
                        {"第十一章", "第二十章", -1},
                        {"壱", "弐", -1},
                        {"弐", "参", -1},
                        {"②", "⑫", -1},
                        {"Ⅸ", "Ⅹ", -1},
                        {"一万", "九千九百九十九", 1},
                        {"千九百八十四", "二〇二四", -1},
                        {"十万", "九万九千", 1},
                        {"第1話", "第２話", -1},  // the forms mix: ASCII, full-width, kanji
                        {"第２話", "第三話", -1},
                        {"v1.2.9", "v1.2.10", -1},
                        {"a", "a0", 0},  // no number counts as 0
                        {"", "", 0},
                        {"", "a", -1},
                        {"第十章", "第十章", 0},
                        {"Abc", "abc", 0},
                    });
}

TEST(CompareNumeralTextTest, TiesOfTheWholeTextOrOfThePrefixesGoByLengthThenUpperCase) {
  ExpectComparisons(CompareNumeralText,
                    {
                        // canonically equal, upper cases differ: the longer text first
                        {"e\xCC\x81", "\xC3\xA9", -1},
                        // equal ignoring case, same length: by the upper-case forms
                        {"\xC3\x9F", "\xE1\xBA\x9E",
                         -1},  // ß against capital sharp s
                               // prefixes equal but for marks: the longer, then by upper case
                        {"re\xCC\x81sume2", "r\xC3\xA9sume1", -1},
                        {"r\xC3\xA9sum\xC3\xA9"
                         "2",
                         "resume10", 1},
                        // width and kana type are no case: the prefixes differ
                        {"ｶﾞ1", "ガ2", 1},
                        {"file1", "ｆｉｌｅ2", -1},
                        {"か1", "カ2", -1},
                    });
}

TEST(CompareNumeralTextTest, ANumberAtTheStartGoesWhereZeroGoes) {
  ExpectComparisons(CompareNumeralText, {
                                            {"10abc", "abc10", -1},
                                            {"2x", "x1", -1},
                                            {"-x", "1", -1},     // punctuation sorts before 0
                                            {"一", "ａ壱", -1},  // as 1 does, not as kanji do
                                            {"⑫", "ａ壱", -1},
                                        });
}

TEST(CompareNumeralTextTest, OverflowLeavesTheComparisonUnlessInTheRests) {
  EXPECT_THROW(CompareNumeralText(W("9223372036854775807十"), u"x"), EIntOverflow);
  EXPECT_THROW(CompareNumeralText(u"x", W("a9223372036854775807十")), EIntOverflow);
  // the split comes before the prefixes, so differing prefixes do not save it
  EXPECT_THROW(CompareNumeralText(u"b1", W("a9223372036854775807十")), EIntOverflow);
  EXPECT_EQ(CompareDigitText(u"b1", W("a9223372036854775807十")), 1);
  // Both numbers tie at 2; splitting the rests overflows, so the result is the
  // whole-text comparison of the texts themselves, not that of their rests.
  const WideString a = W("x二y9223372036854775807十"), b = W("x2y99999999999999999999");
  const int whole = platform::CompareLocale(a, b, platform::NORM_IGNORECASE);
  ASSERT_NE(whole, platform::CompareLocale(W("y9223372036854775807十"), W("y99999999999999999999"),
                                           platform::NORM_IGNORECASE));
  EXPECT_EQ(CompareNumeralText(a, b), whole);
}

TEST(CompareNumeralTextTest, ThousandsOfTiedNumbersCompareToTheLastOne) {
  WideString a;
  for (int i = 0; i < 3000; ++i) a += u"1.";
  WideString b = a + u"3";
  a += u"2";
  EXPECT_EQ(CompareNumeralText(a, b), -1);
  EXPECT_EQ(CompareDigitText(b, a), 1);
}

TEST(CompareDigitTextTest, ReadsAsciiRunsOnly) {
  ExpectComparisons(CompareDigitText, {
                                          {"file2", "file10", -1},
                                          {"file", "file0", -1},  // a missing run sorts first
                                          {"file010", "file9", 1},
                                          {"a1b2", "a1b10", -1},
                                          {"Abc", "abc", 0},
                                          {"", "x", -1},
                                      });
}

TEST(CompareDigitTextTest, FallsBackToTheWholeTextResult) {
  const WideString pairs[][2] = {
      {u"x1234567890123456789012345", u"x99"},  // 25 digits do not fit
      {W("第十章"), W("第二章")},               // kanji are not digits here
      {W("２"), W("１０")},                     // nor are full-width digits
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(U8(pair[0]));
    EXPECT_EQ(CompareDigitText(pair[0], pair[1]),
              platform::CompareLocale(pair[0], pair[1], platform::NORM_IGNORECASE));
  }
  // by value it would be 1; the texts put '1' before '9'
  EXPECT_EQ(CompareDigitText(u"x1234567890123456789012345", u"x99"), -1);
}

TEST(ComparePathTest, DirectoryFirstThenName) {
  ExpectComparisons(CompareNumeralPath, {
                                            {"C:\\B2\\x", "C:\\B10\\a", -1},
                                            {"C:\\a\\file2", "C:\\a\\FILE10", -1},
                                            {"C:\\A\\File2", "c:\\a\\fILE2", 0},
                                            {"C:第二章", "C:第十章", -1},
                                            {"dir\\第二章\\z", "dir\\第十章\\a", -1},
                                        });
  ExpectComparisons(CompareDigitPath, {
                                          {"C:\\B2\\x", "C:\\B10\\a", -1},
                                          {"d2/z", "d10/a", -1},
                                          {"C:\\a\\file2", "C:\\a\\FILE10", -1},
                                          {"C:\\a\\x", "C:\\a\\x", 0},
                                      });
}

TEST(CompareLocaleTextTest, IgnoresCaseAndMarksAndSortsPunctuationAsCharacters) {
  ExpectComparisons(CompareLocaleText, {
                                           {"résumé", "RESUME", 0},
                                           {"かな", "がな", 0},
                                           {"a-c", "ab", -1},
                                           {"a", "b", -1},
                                       });
}

/// A plain stable merge sort over indexes: these comparisons are not strict weak orders.
void MergeSort(std::vector<size_t>& order, size_t lo, size_t hi,
               const std::vector<WideString>& items, Comparison compare,
               std::vector<size_t>& scratch) {
  if (hi - lo < 2) return;
  const size_t mid = lo + (hi - lo) / 2;
  MergeSort(order, lo, mid, items, compare, scratch);
  MergeSort(order, mid, hi, items, compare, scratch);
  size_t i = lo, j = mid, out = lo;
  while (i < mid && j < hi)
    scratch[out++] = compare(items[order[i]], items[order[j]]) <= 0 ? order[i++] : order[j++];
  while (i < mid) scratch[out++] = order[i++];
  while (j < hi) scratch[out++] = order[j++];
  std::copy(scratch.begin() + lo, scratch.begin() + hi, order.begin() + lo);
}

/// Sorts several shuffles of the expected order and checks each comes back.
void ExpectSortedOrder(Comparison compare, const std::vector<const char*>& expected) {
  std::vector<WideString> items;
  for (const char* text : expected) items.push_back(W(text));
  std::mt19937 random(20240101);
  for (int round = 0; round < 5; ++round) {
    std::vector<WideString> shuffled = items;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    std::vector<size_t> order(shuffled.size()), scratch(shuffled.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    MergeSort(order, 0, order.size(), shuffled, compare, scratch);
    std::vector<std::string> sorted;
    for (const size_t i : order) sorted.push_back(U8(shuffled[i]));
    EXPECT_EQ(sorted, std::vector<std::string>(expected.begin(), expected.end()))
        << "round " << round;
  }
}

TEST(NumeralSortTest, ChaptersAndFilesComeInReadingOrder) {
  ExpectSortedOrder(CompareNumeralText,
                    {"第一章", "第二章", "第三章", "第九章", "第十章", "第十一章", "第十九章",
                     "第二十章", "第二十一章", "第九十九章", "第百章", "第百一章", "第千章"});
  ExpectSortedOrder(CompareNumeralText,
                    {"第1話", "第２話", "第三話", "第④話", "第Ⅴ話", "第六話", "第10話", "第十一話",
                     "第⑫話", "第１３話", "第二十話", "第100話"});
  ExpectSortedOrder(CompareNumeralText, {"2023年2月14日", "2023年12月1日", "二〇二三年十二月二日",
                                         "2024年1月1日", "令和六年三月"});
  ExpectSortedOrder(CompareNumeralText, {"file1.txt", "file2.txt", "file10.txt", "file10a.txt",
                                         "file11.txt", "v1.2.9", "v1.2.10", "v1.10.0", "v2.0",
                                         "写真1.jpg", "写真2.jpg", "写真10.jpg", "写真(1).jpg"});
}

TEST(NumeralSortTest, PlainFormSortsAsciiRunsAndLeavesOtherNumeralsAsText) {
  ExpectSortedOrder(CompareDigitText, {"file", "file0", "file1", "file2", "file10", "file10b",
                                       "file11", "file100", "img2.png", "img12.png"});
}

}  // namespace
}  // namespace magna
