// The repair on texts people meet: the misreadings and encoded forms Japanese users copy
// (each row names the chain as the caption would), texts that must stay as they are,
// lost places, the stretches replaced, and the check and its application apart.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/testSupport.h"
#include "text/repair/myRepair.h"
#include "text/repair/myRepairForms.h"

namespace magna {
namespace {

using test::U8;

struct Row {
  const char* name;
  const char16_t* input;
  const char16_t* want;
  const char* english;  // the chain in words
};

/// Every stretch's replacement, put in place of the stretch, gives the repaired text.
void ExpectSpansRebuild(const TRepair& r, WideView input) {
  WideString rebuilt;
  size_t copied = 0;
  for (const TRepairSpan& s : r.spans) {
    ASSERT_GE(s.from, copied);
    ASSERT_LE(s.from + s.length, input.size());
    rebuilt.append(input.substr(copied, s.from - copied));
    ASSERT_EQ(s.repairedFrom, rebuilt.size());
    rebuilt.append(WideView(r.text).substr(s.repairedFrom, s.repairedLength));
    copied = s.from + s.length;
  }
  rebuilt.append(input.substr(copied));
  EXPECT_EQ(U8(rebuilt), U8(r.text));
}

const Row kRepairs[] = {
    {"UTF-8 read as Shift_JIS", u"縺薙ｓ縺ｫ縺｡縺ｯ", u"こんにちは", "UTF-8 read as Shift_JIS"},
    {"Shift_JIS read as Windows-1252", u"‚±‚ñ‚É‚¿‚Í", u"こんにちは",
     "Shift_JIS read as Windows-1252"},
    // Windows reads 1252's undefined byte 81 as U+0081.
    {"UTF-8 read as Windows-1252", u"ã\u0081“ã‚“ã\u0081«ã\u0081¡ã\u0081¯", u"こんにちは",
     "UTF-8 read as Windows-1252"},
    {"UTF-8 read as ISO-8859-1", u"æ\u0097¥æ\u009C¬èª\u009E", u"日本語",
     "UTF-8 read as ISO-8859-1"},
    {"UTF-8 read as Windows-1252 twice", u"Ã£Â\u0081â€œÃ£â€šâ€œÃ£Â\u0081Â«Ã£Â\u0081Â¡Ã£Â\u0081Â¯",
     u"こんにちは", "UTF-8 read as Windows-1252, twice"},
    {"EUC-JP read as Shift_JIS", u"､ｳ､ﾎ･ﾕ･｡･､･ｫ､ｯ", u"このファイカく", "EUC-JP read as Shift_JIS"},
    {"ISO-2022-JP without its escapes", u"$B$3$s$K$A$O(B", u"こんにちは",
     "ISO-2022-JP with its escape bytes lost"},
    {"ISO-2022-JP with its escapes", u"\u001B$B$3$s$K$A$O\u001B(B", u"こんにちは",
     "ISO-2022-JP read as ASCII"},
    {"ISO-2022-JP in a line of ASCII", u"Subject: $B$3$s$K$A$O(B (re)", u"Subject: こんにちは (re)",
     "ISO-2022-JP with its escape bytes lost"},
    {"MIME B, ISO-2022-JP", u"=?ISO-2022-JP?B?GyRCJDMkcyRLJEEkTxsoQg==?=", u"こんにちは",
     "MIME encoded-words (ISO-2022-JP, B)"},
    {"MIME B, UTF-8, a subject line", u"Subject: =?UTF-8?B?5pel5pys6Kqe?= mail",
     u"Subject: 日本語 mail", "MIME encoded-words (UTF-8, B)"},
    {"MIME B, Shift_JIS, folded", u"=?shift_jis?B?k/qWe4zq?=\r\n =?shift_jis?B?k/qWe4zq?=",
     u"日本語日本語", "MIME encoded-words (Shift_JIS, B)"},
    {"MIME Q, UTF-8", u"=?utf-8?Q?=E6=97=A5=E6=9C=AC_=E8=AA=9E?=", u"日本 語",
     "MIME encoded-words (UTF-8, Q)"},
    {"percent-encoded UTF-8", u"%E3%81%93%E3%82%93%E3%81%AB%E3%81%A1%E3%81%AF", u"こんにちは",
     "percent-encoded UTF-8"},
    {"percent-encoded URL", u"https://ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC%E8%AA%9E",
     u"https://ja.wikipedia.org/wiki/日本語", "percent-encoded UTF-8"},
    // A Shift_JIS trail byte left as the letter it is: 83 41 is ア.
    {"percent-encoded Shift_JIS", u"q=%83A%83C%83R%83%93", u"q=アイコン",
     "percent-encoded Shift_JIS"},
    {"HTML references", u"&#x3053;&#12435;&#x306B;&#12385;&#x306F;", u"こんにちは",
     "HTML character references"},
    {"HTML references with &amp;", u"&#x65E5;&#26412; &amp; &lt;tag&gt;", u"日本 & <tag>",
     "HTML character references"},
    {"\\u escapes", u"\\u3053\\u3093\\u306b\\u3061\\u306f", u"こんにちは", "\\u escapes"},
    {"\\u escapes of a JSON string with a pair", u"\\u7d75\\u6587\\u5b57 \\ud83d\\ude00\\n",
     u"絵文字 😀\n", "\\u escapes"},
    {"\\x bytes of UTF-8", u"b'\\xe6\\x97\\xa5\\xe6\\x9c\\xac'", u"b'日本'",
     "\\x escapes of UTF-8"},
    {"Punycode", u"https://xn--wgv71a119e.jp/", u"https://日本語.jp/", "Punycode host names"},
};

TEST(Repair, UndoesTheMisreadingsAndEncodedFormsPeopleMeet) {
  for (const Row& row : kRepairs) {
    SCOPED_TRACE(row.name);
    const TRepair r = FindRepair(row.input);
    ASSERT_TRUE(r.Found());
    EXPECT_EQ(U8(r.text), U8(row.want));
    EXPECT_EQ(U8(ChainWords(r.chain, TRepairLanguage::English)), row.english);
    EXPECT_GE(r.score, 16);
    EXPECT_FALSE(r.LostBytes());
    ExpectSpansRebuild(r, row.input);
  }
}

TEST(Repair, LeavesCleanTextAlone) {
  const char16_t* const kClean[] = {
      u"こんにちは、世界。これは普通の日本語です。",
      u"ｶﾀｶﾅとﾃﾞｰﾀを半角で書いた文です。ｺﾞｳｹｲ ￥1,000",
      u"Ｗｉｎｄｏｗｓ１０の全角英数字と①②③、㈱も使う。～〜",
      u"Jörg Müller, François Hénault, Søren Kierkegaard, naïve café, Žgur",
      u"Ça coûte 10 € — « très » cher… “quoted” ‘text’ • ™",
      u"int main(void) { printf(\"%d\\n\", x & 0xff); return a == b ? 1 : 0; }",
      u"https://www.debian.org/doc/manuals/debian-reference/ch01.ja.html#_the_shell_prompt",
      u"https://example.com/a%20b%2Fc?q=1&x=%3D",
      u"100% of the 20% discount, &amp; more <b>bold</b> &copy; 2024",
      u"C:\\Users\\taro\\Documents\\x86\\new \\n\\t\\x1b[0m",
      u"$BASH_VERSION (B) $@ $HOME =?= xn-- %ZZ &#xZZ; \\u12",
      u"Ελληνικά και Русский текст, 한국어 텍스트입니다",
      u"emoji 😀 and 漢字 mixed, 薔薇と檸檬と鬱",
      u".TH LS 1 \"2021年5月\" \"GNU coreutils\" \"ユーザーコマンド\"",
      u"",
      u"a",
  };
  for (const char16_t* text : kClean) {
    SCOPED_TRACE(U8(text));
    const TRepair r = FindRepair(text);
    EXPECT_FALSE(r.Found()) << U8(r.text) << " [" << U8(RepairWords(r, TRepairLanguage::English))
                            << "]";
    EXPECT_TRUE(r.text.empty());
    EXPECT_FALSE(CheckRepair(text).Found());
  }
}

TEST(Repair, NeverThrowsOnOddUnits) {
  const WideString odd[] = {
      WideString(u"\xD800縺薙\xDC00ｓ\0縺ｫ", 7),
      WideString(u"=?UTF-8?B?\xD800?=%E3%\0&#x110000;&#0;\\U7FFFFFFF xn--99999999999", 52),
      WideString(5000, u'\xFFFD'),
      WideString(100000, u'縺'),
  };
  for (const WideString& text : odd) EXPECT_NO_THROW((void)FindRepair(text));
}

TEST(Repair, MarksTheLostPlacesInsteadOfGuessing) {
  // Code page 932 cannot pair the last byte of 。 (E3 80 82) with the line break: the
  // byte is lost, and the character it belonged to is marked. In さようなら it reads
  // 86 E3, the last byte of う and the first of な, as an unmapped pair: both are lost,
  // at one place.
  WideString misread;
  ASSERT_TRUE(repair::Misread(u"こんにちは。\nさようなら。\n", TRepairCode::UTF8,
                              TRepairCode::ShiftJIS, false, misread));
  TRepair r = FindRepair(misread);
  EXPECT_EQ(U8(r.text), U8(u"こんにちは\uFFFD\nさよ\uFFFDら\uFFFD\n"));
  EXPECT_EQ(r.lost, (std::vector<size_t>{5, 9, 11}));
  EXPECT_EQ(U8(RepairWords(r, TRepairLanguage::English)),
            "UTF-8 read as Shift_JIS (3 places lost)");
  EXPECT_EQ(U8(RepairWords(r, TRepairLanguage::Japanese)),
            "UTF-8 を Shift_JIS として読んだ文字化け（失われたバイトのある箇所: 3）");
  // Windows-1252 read strictly loses 81, the lead byte of 、 (81 41): its trail byte
  // (A) goes into the mark, it is not guessed a letter.
  r = FindRepair(u"ƒeƒXƒg\uFFFDA‚Å‚·");
  EXPECT_EQ(U8(r.text), U8(u"テスト\uFFFDです"));
  EXPECT_EQ(r.lost, (std::vector<size_t>{3}));
  ExpectSpansRebuild(r, u"ƒeƒXƒg\uFFFDA‚Å‚·");
}

TEST(Repair, TakesTheCodeOfARepeatedCharacterThatReads) {
  // In UTF-8 あ凕 is E3 81 82 E5 87 95; code page 932 pairs 87 95, which is √ (NEC row
  // 13) as 81 E3 is: only 87 95 reads as UTF-8 again.
  WideString misread;
  ASSERT_TRUE(
      repair::Misread(u"あ凕を見る", TRepairCode::UTF8, TRepairCode::ShiftJIS, false, misread));
  ASSERT_NE(misread.find(u'√'), WideString::npos);
  EXPECT_EQ(U8(FindRepair(misread).text), "あ凕を見る");
}

TEST(Repair, ASampleCutInsideACharacterReadsWithoutTheCutEnd) {
  // The last character's third byte was cut off with the sample: the rest reads.
  const TRepair r = FindRepair(u"縺薙ｓ縺ｫ縺｡縺ｯ縺");
  EXPECT_EQ(U8(r.text), "こんにちは縺");
}

TEST(Repair, NamesTheStretchAtACaret) {
  const WideString input = u"abc 縺薙ｓ縺ｫ縺｡縺ｯ def";
  const TRepair r = FindRepair(input);
  ASSERT_EQ(r.spans.size(), 1u);
  EXPECT_EQ(r.spans[0].from, 4u);
  EXPECT_EQ(r.spans[0].length, 9u);
  EXPECT_EQ(r.spans[0].repairedFrom, 4u);
  EXPECT_EQ(r.spans[0].repairedLength, 5u);
  EXPECT_EQ(r.SpanAt(4), &r.spans[0]);
  EXPECT_EQ(r.SpanAt(12), &r.spans[0]);
  EXPECT_EQ(r.SpanAt(3), nullptr);
  EXPECT_EQ(r.SpanAt(13), nullptr);
  EXPECT_EQ(r.SpanAt(1000), nullptr);
}

TEST(Repair, TwoStepsComposeTheirStretches) {
  // UTF-8 read as ISO-8859-1 in MIME words labelled so, inside a line of ASCII.
  WideString words;
  WideString latin;
  ASSERT_TRUE(
      repair::Misread(u"日本語のメール", TRepairCode::UTF8, TRepairCode::Latin1, false, latin));
  ASSERT_TRUE(repair::MimeEncode(latin, TRepairCode::Latin1, false, words));
  const WideString input = u"Subject: " + words + u" (2)";
  const TRepair r = FindRepair(input);
  EXPECT_EQ(U8(r.text), "Subject: 日本語のメール (2)");
  EXPECT_EQ(U8(ChainWords(r.chain, TRepairLanguage::English)),
            "UTF-8 read as ISO-8859-1, then MIME encoded-words (ISO-8859-1, Q)");
  ExpectSpansRebuild(r, input);
  EXPECT_EQ(r.SpanAt(9), &r.spans.front());
  EXPECT_EQ(r.SpanAt(0), nullptr);
}

TEST(Repair, CheckOnEveryTextApplyWhenTaken) {
  const WideString input = u"縺薙ｓ縺ｫ縺｡縺ｯ";
  const TRepairFinding finding = CheckRepair(input);
  ASSERT_TRUE(finding.Found());
  EXPECT_GT(finding.score, 16);
  EXPECT_FALSE(finding.lostBytes);
  const TRepair r = ApplyRepair(input, finding);
  EXPECT_EQ(U8(r.text), "こんにちは");
  EXPECT_EQ(r.chain, finding.chain);
  EXPECT_FALSE(ApplyRepair(input, TRepairFinding{}).Found());
  EXPECT_FALSE(ApplyRepair(u"clean text", finding).Found());  // the chain changes nothing
}

TEST(Repair, FindsAMisreadingInALongTextFromWindowsOfIt) {
  WideString text;
  while (text.size() < 300000) text += u"日本語の文章が、ここに長く続きます。Linux 2024\n";
  WideString misread;
  ASSERT_TRUE(repair::Misread(text, TRepairCode::UTF8, TRepairCode::Windows1252, false, misread));
  const TRepairFinding finding = CheckRepair(misread);
  ASSERT_TRUE(finding.Found());
  const TRepair r = ApplyRepair(misread, finding);
  EXPECT_TRUE(r.text == text);
  EXPECT_FALSE(CheckRepair(text).Found());
}

struct WordsRow {
  std::vector<TRepairStep> chain;
  const char* japanese;
  const char* english;
};

TEST(Repair, WordsOfEveryKindOfChain) {
  using C = TRepairCode;
  using F = TRepairForm;
  const WordsRow rows[] = {
      {{{F::Misread, C::UTF8, C::ShiftJIS}},
       "UTF-8 を Shift_JIS として読んだ文字化け",
       "UTF-8 read as Shift_JIS"},
      {{{F::Misread, C::EUCJP, C::Windows1252}, {F::Misread, C::UTF8, C::ShiftJIS}},
       "EUC-JP を Windows-1252 として読んだ文字化け、さらに UTF-8 を Shift_JIS "
       "として読んだ文字化け",
       "EUC-JP read as Windows-1252, then UTF-8 read as Shift_JIS"},
      {{{F::Misread, C::UTF8, C::Latin1}, {F::Misread, C::UTF8, C::Latin1}},
       "UTF-8 を ISO-8859-1 として読んだ文字化け（二重）",
       "UTF-8 read as ISO-8859-1, twice"},
      {{{F::JisEscapesLost, C::ISO2022JP}},
       "ISO-2022-JP のエスケープ（ESC）が失われた文字化け",
       "ISO-2022-JP with its escape bytes lost"},
      {{{F::MimeQ, C::EUCJP}}, "MIME エンコード（EUC-JP、Q）", "MIME encoded-words (EUC-JP, Q)"},
      {{{F::Percent, C::ShiftJIS}}, "URL エンコード（Shift_JIS）", "percent-encoded Shift_JIS"},
      {{{F::CharacterReferences}}, "HTML 文字参照", "HTML character references"},
      {{{F::Escapes}}, "\\u エスケープ", "\\u escapes"},
      {{{F::Escapes, C::EUCJP}}, "\\x エスケープ（EUC-JP）", "\\x escapes of EUC-JP"},
      {{{F::Punycode}}, "Punycode（国際化ドメイン名）", "Punycode host names"},
      {{}, "", ""},
  };
  for (const WordsRow& row : rows) {
    SCOPED_TRACE(row.english);
    EXPECT_EQ(U8(ChainWords(row.chain, TRepairLanguage::Japanese)), row.japanese);
    EXPECT_EQ(U8(ChainWords(row.chain, TRepairLanguage::English)), row.english);
  }
  TRepair one;
  one.chain = rows[0].chain;
  one.lost = {4};
  EXPECT_EQ(U8(RepairWords(one, TRepairLanguage::English)),
            "UTF-8 read as Shift_JIS (1 place lost)");
}

}  // namespace
}  // namespace magna
