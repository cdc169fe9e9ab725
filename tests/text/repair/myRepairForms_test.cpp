// The encoded forms, each way: Punycode against RFC 3492's Japanese samples, and the
// corners of reading MIME words, percent-encoding, references and escapes (what is read
// together, what is left as it is, what a cut sample leaves).
#include <gtest/gtest.h>

#include "tests/support/testSupport.h"
#include "text/repair/myRepairForms.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {
namespace {

using test::U8;

TEST(RepairForms, PunycodeAsRfc3492WritesIt) {
  struct Sample {
    const char16_t* label;
    const char16_t* encoded;
  };
  const Sample samples[] = {
      {u"3年B組金八先生", u"3B-ww4c5e180e575a65lsy2b"},
      {u"安室奈美恵-with-SUPER-MONKEYS", u"-with-SUPER-MONKEYS-pc58ag80a8qai00g7n9n"},
      {u"Hello-Another-Way-それぞれの場所", u"Hello-Another-Way--fc4qua05auwb3674vfr0b"},
      {u"ひとつ屋根の下2", u"2-u9tlzr9756bt3uc0v"},
      {u"MajiでKoiする5秒前", u"MajiKoi5-783gue6qz075azm5e"},
      {u"パフィーdeルンバ", u"de-jg4avhby1noc0d"},
      {u"そのスピードで", u"d9juau41awczczp"},
      {u"日本語", u"wgv71a119e"},
  };
  WideString out;
  for (const Sample& s : samples) {
    SCOPED_TRACE(U8(s.label));
    ASSERT_TRUE(EncodePunycode(s.label, out));
    EXPECT_EQ(U8(out), U8(s.encoded));
    ASSERT_TRUE(DecodePunycode(s.encoded, out));
    EXPECT_EQ(U8(out), U8(s.label));
  }
  for (const char16_t* bad : {u"!!", u"zzzzzzzzzzzzzzzzzzzz", u"abc-9", u"a\u3042"})
    EXPECT_FALSE(DecodePunycode(bad, out)) << U8(bad);
  EXPECT_FALSE(EncodePunycode(u"\xD800", out));
}

struct UndoRow {
  const char* name;
  const char16_t* input;
  const char16_t* want;  // null: nothing changed
};

void ExpectUndo(const TRepairStep& step, const UndoRow& row) {
  SCOPED_TRACE(row.name);
  StepOutcome out;
  const bool changed = UndoStep(step, row.input, out, Reach::Suspect);
  if (row.want == nullptr) {
    EXPECT_FALSE(changed && out.readable) << U8(out.text);
    return;
  }
  ASSERT_TRUE(changed);
  EXPECT_EQ(U8(out.text), U8(row.want));
}

TEST(RepairForms, MimeWordsReadTogetherWhereTheyMeet) {
  const UndoRow rows[] = {
      // こ (E3 81 93) split between two words by a careless writer.
      {"a character split between words", u"=?UTF-8?B?44E=?= =?UTF-8?B?kw==?=", u"こ"},
      {"folding between words goes", u"=?utf-8?q?=E6=97=A5?=\r\n\t=?utf-8?q?=E6=9C=AC?=", u"日本"},
      {"white space between a word and text stays", u"=?UTF-8?B?5pel?= =", u"日 ="},
      {"words of two charsets are read apart", u"=?UTF-8?B?5pel?= =?Shift_JIS?B?lns=?=", u"日本"},
      {"UTF-16 with a byte order mark", u"=?UTF-16?B?//7lZSxn?=", u"日本"},
      {"a language suffix", u"=?UTF-8*ja?Q?=E6=97=A5?=", u"日"},
      {"an unknown charset stays", u"=?x-unknown?B?5pel?=", nullptr},
      {"a broken payload stays", u"=?UTF-8?B?5p!l?= =?UTF-8?Q?=E6=9?=", nullptr},
      {"bytes that do not read stay", u"=?UTF-8?B?/w==?=", nullptr},
  };
  for (const UndoRow& row : rows) ExpectUndo({TRepairForm::MimeB}, row);
}

TEST(RepairForms, PercentEncodingReadsRunsOfBytes) {
  const UndoRow rows[] = {
      {"ASCII escaped only is readable already", u"a%20b%2Fc", nullptr},
      {"a run through literals", u"see %E6%97%A5x%E6%9C%AC.", u"see 日x本."},
      {"a run cut at the end of a sample", u"%E6%97%A5%E6%9C%AC%E8%AA", u"日本%E8%AA"},
      {"a run cut at the start", u"9%A5%E6%9C%AC", u"9%A5本"},
      {"bytes that are not UTF-8 stay", u"ok %FF%FE%E6%97%A5 ok", nullptr},
      {"a control decoded is refused", u"x %00%E6%97%A5", nullptr},
  };
  for (const UndoRow& row : rows) ExpectUndo({TRepairForm::Percent, TRepairCode::UTF8}, row);
}

TEST(RepairForms, ReferencesAsHtmlReadsThem) {
  const UndoRow rows[] = {
      {"hexadecimal and decimal", u"&#x65E5;&#26412;", u"日本"},
      {"a pair from one reference", u"&#128512; &#x3042;", u"😀 あ"},
      {"128..159 are Windows-1252's", u"&#128; &#x3042;", u"€ あ"},
      {"named ones go with them", u"&#x3042; &amp;&lt;&nbsp;&copy;", u"あ &<\u00A0©"},
      {"named ones alone are markup", u"&amp; &lt;b&gt;", nullptr},
      {"a surrogate is no character", u"&#xD800;&#x3042;", u"&#xD800;あ"},
      {"a number too large", u"&#x110000;", nullptr},
  };
  for (const UndoRow& row : rows) ExpectUndo({TRepairForm::CharacterReferences}, row);
}

TEST(RepairForms, EscapesReadAsTheirWritersMeantThem) {
  const UndoRow rows[] = {
      {"a surrogate pair", u"\\ud83d\\ude00 \\u3042", u"😀 あ"},
      {"a code point", u"\\U0001F600\\u3042", u"😀あ"},
      {"the simple escapes of the line go with them", u"\\u3042\\n\\t\\\\\\\"", u"あ\n\t\\\""},
      {"a line without a character beyond ASCII stays", u"a\\nb\n\\u3042", u"a\\nb\nあ"},
      // ア is 83 41 in Shift_JIS: a dump writes the trail byte as the letter it is.
      {"Shift_JIS bytes with a letter for a trail", u"b'\\x83A\\x83C'", u"b'アイ'"},
      // × alone is no UTF-8, Shift_JIS reads it as ﾗ: ISO-8859-1 is the cheaper reading.
      {"one byte of ISO-8859-1", u"2\\xd73 = \\u516d", u"2×3 = 六"},
      {"a lone surrogate is refused", u"\\ud800\\u3042", nullptr},
  };
  for (const UndoRow& row : rows) ExpectUndo({TRepairForm::Escapes}, row);
}

TEST(RepairForms, PunycodeLabelsInHostNames) {
  const UndoRow rows[] = {
      {"labels of a host", u"http://xn--wgv71a119e.xn--wgv71a.jp/xn--",
       u"http://日本語.日本.jp/xn--"},
      {"only at a label's start", u"axn--wgv71a119e", nullptr},
      {"a label of ASCII only is left", u"xn--abc-", nullptr},
  };
  for (const UndoRow& row : rows) ExpectUndo({TRepairForm::Punycode}, row);
}

TEST(RepairForms, EveryFormReadsBackWhatItWrote) {
  const WideString text = u"日本語の「テキスト」& <tag> 100% \\path\n2行目 😀 ｶﾅ";
  WideString out;
  for (TRepairCode code :
       {TRepairCode::UTF8, TRepairCode::ShiftJIS, TRepairCode::EUCJP, TRepairCode::ISO2022JP,
        TRepairCode::UTF7, TRepairCode::UTF16LE, TRepairCode::UTF16BE}) {
    for (bool base64 : {true, false}) {
      const WideString plain = code == TRepairCode::UTF8 || code == TRepairCode::UTF7 ||
                                       code == TRepairCode::UTF16LE || code == TRepairCode::UTF16BE
                                   ? text
                                   : text.substr(0, text.find(u"😀"));
      ASSERT_TRUE(MimeEncode(plain, code, base64, out)) << int(code);
      StepOutcome o;
      ASSERT_TRUE(UndoMime(out, o));
      EXPECT_EQ(U8(o.text), U8(plain)) << int(code) << base64;
    }
  }
  StepOutcome o;
  ASSERT_TRUE(UndoCharacterReferences(ReferenceEncode(text, true), o));
  EXPECT_EQ(U8(o.text), U8(text));
  ASSERT_TRUE(UndoEscapes(UnicodeEscape(text, false), o));
  EXPECT_EQ(U8(o.text), U8(text));
  ASSERT_TRUE(UndoEscapes(UnicodeEscape(text, true), o));
  EXPECT_EQ(U8(o.text), U8(text));
  ASSERT_TRUE(PercentEncode(text, TRepairCode::UTF8, out));
  ASSERT_TRUE(UndoPercent(TRepairCode::UTF8, out, o));
  EXPECT_EQ(U8(o.text), U8(text));
  ASSERT_TRUE(UndoPunycode(PunycodeLabels(text), o));
  EXPECT_EQ(U8(o.text), U8(text));
}

}  // namespace
}  // namespace magna::repair
