// The plausibility model: the class of units at the edges of each range, what the survey
// flags, and the orderings the repair depends on (writing cheaper than its misreading,
// and a clean text of an unusual kind cheaper than what a wrong chain makes of it).
#include <gtest/gtest.h>

#include "tests/support/testSupport.h"
#include "text/repair/myRepairForms.h"
#include "text/repair/myRepairModel.h"

namespace magna::repair {
namespace {

using test::U8;

TEST(RepairModel, ClassesOfUnits) {
  struct Row {
    char16_t unit;
    CharClass cls;
  };
  const Row rows[] = {
      {u'a', kLower},          {u'Z', kUpper},
      {u'0', kDigit},          {u' ', kSpace},
      {u'\t', kSpace},         {u'\n', kBreak},
      {u'\x1B', kControl},     {u'あ', kHiragana},
      {u'ゟ', kHiragana},      {u'ア', kKatakana},
      {u'ー', kKatakana},      {u'日', kKanji},
      {u'々', kKanji},         {u'纉', kRareKanji},
      {u'。', kJaPunct},       {u'Ａ', kFullWidth},
      {u'￥', kFullWidth},     {u'ｱ', kHalfKana},
      {u'ﾟ', kHalfKana},       {u'é', kLatinLetter},
      {u'Ž', kLatinLetter},    {u'±', kLatinSymbol},
      {u'×', kLatinSymbol},    {u'\x81', kC1},
      {u'—', kGeneralPunct},   {u'ˆ', kGeneralPunct},
      {u'α', kGreekCyrillic},  {u'Я', kGreekCyrillic},
      {u'①', kSymbol},         {u'┌', kSymbol},
      {u'㐀', kRareIdeograph}, {u'\xF900', kRareIdeograph},
      {u'가', kHangul},        {u'ﾡ', kHangul},
      {u'\xE000', kPrivate},   {u'\xFFFD', kLost},
      {u'\xFDD0', kLost},      {u'\xFFFF', kJunk},
      {u'\xDC00', kJunk},      {u'ب', kOtherScript},
  };
  for (const Row& row : rows) EXPECT_EQ(ClassOf(row.unit), row.cls) << U8({&row.unit, 1});
}

TEST(RepairModel, TheSurveyFlagsWhatWrongDecodingsMake) {
  const uint8_t* flags = UnitFlags();
  for (char16_t u : WideView(u"ãｱ纉\xFFFD\x81±‚ƒ\x1Bα┌"))
    EXPECT_TRUE(flags[u] & kSuspect) << int(u);
  for (char16_t u : WideView(u"あア日。Ａa“”…—€™\t")) EXPECT_FALSE(flags[u] & kSuspect) << int(u);
  for (char16_t u : WideView(u"%&\\=$xX")) EXPECT_TRUE(flags[u] & kTrigger) << int(u);
  EXPECT_EQ(flags[u'あ'] & kNonAscii, kNonAscii);
  EXPECT_EQ(flags[u'a'], 0);
}

int64_t Misread(WideView text, TRepairCode source, TRepairCode reader) {
  WideString out;
  EXPECT_TRUE(repair::Misread(text, source, reader, false, out));
  return Cost(out);
}

TEST(RepairModel, WritingCostsLessThanItsMisreading) {
  using C = TRepairCode;
  const char16_t* const texts[] = {u"こんにちは", u"2021年5月", u"ファイルを開く", u"café",
                                   u"データ（ﾃﾞｰﾀ）"};
  for (const char16_t* text : texts) {
    SCOPED_TRACE(U8(text));
    const int64_t cost = Cost(text);
    EXPECT_LT(cost, Misread(text, C::UTF8, C::ShiftJIS));
    EXPECT_LT(cost, Misread(text, C::UTF8, C::Windows1252));
    EXPECT_LT(cost, Misread(text, C::UTF8, C::Latin1));
    if (text != WideView(u"café")) {
      EXPECT_LT(cost, Misread(text, C::ShiftJIS, C::Windows1252));
      EXPECT_LT(cost, Misread(text, C::EUCJP, C::ShiftJIS));
    }
  }
  // Half-width katakana cost about what their full-width forms do, not what the kanji a
  // wrong chain makes of their bytes (EUC-JP reads C3 DE B0 C0 as two kanji).
  WideString kanji;
  ASSERT_TRUE(repair::Misread(u"ﾃﾞｰﾀﾍﾞｰｽ", C::ShiftJIS, C::EUCJP, false, kanji));
  EXPECT_LT(Cost(u"ﾃﾞｰﾀﾍﾞｰｽ"), Cost(kanji)) << U8(kanji);
  EXPECT_LT(Cost(u"ｶﾀｶﾅ"), Cost(u"カタカナ") + 24 * kQuarterBits);
}

TEST(RepairModel, CostsOfPairsGapsAndContext) {
  EXPECT_LT(Cost(u"😀"), Cost(u"\xD83D"));  // a pair is one character, a lone half junk
  EXPECT_EQ(CostWithout(u"a\xFFFD"
                        u"b",
                        {1}, 0, kBreak, kBreak),
            Cost(u"ab"));
  // Offsets are of the whole segment; the text given starts at its offset 1.
  EXPECT_EQ(CostWithout(u"a\xFFFD"
                        u"b",
                        {2}, 1, kSpace, kSpace),
            Cost(u"ab", kSpace, kSpace));
  // The context classes count: a kanji after a digit costs what it costs in a date.
  EXPECT_LT(Cost(u"年", kDigit, kDigit), Cost(u"年", kControl, kControl));
}

}  // namespace
}  // namespace magna::repair
