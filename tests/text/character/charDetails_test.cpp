// The character details: a table of characters with their codes as the
// references give them (code page 932, 20932 and 50220 tables, the Unicode
// names), the grapheme cluster around the caret, and the agreement with the
// status line and with ICU's Shift_JIS converter over the whole BMP.
#include "text/character/charDetails.h"

#include <gmock/gmock.h>
#include <unicode/ucnv.h>

#include <set>

#include "platform/codepage/codePage.h"
#include "tests/support/testSupport.h"
#include "text/character/charDetailsRows.h"
#include "text/character/myStatusLine.h"
#include "text/myCharCode.h"

namespace magna {
namespace {

using test::Hex;
using test::U8;

/// The stretch the panel gets for a caret at `caret` in a one-line text (or a text
/// whose lines the test does not care about), cut as the panel cuts it.
TTextAroundCaret Around(WideView text, size_t caret) {
  TTextAroundCaret a;
  const size_t start = caret > size_t(kDetailsUnitsBefore) ? caret - kDetailsUnitsBefore : 0;
  a.Before = WideString(text.substr(start, caret - start));
  a.BeforeIsWhole = start == 0;
  a.After = WideString(text.substr(caret, size_t(kDetailsUnitsAfter)));
  a.AfterIsWhole = a.After.size() < size_t(kDetailsUnitsAfter);
  return a;
}

TCharDetails At(WideView text, size_t caret = 0) {
  return DescribeCharAtCaret(Around(text, caret));
}

std::string HexOr(const TBytes& bytes) {
  return bytes ? Hex(*bytes) : "-";
}

std::string RowCellOr(const std::optional<TRowCell>& rc) {
  return rc ? std::to_string(rc->Row) + "-" + std::to_string(rc->Cell) : "-";
}

std::string Names(const TCharDetails& d) {
  std::string out;
  for (const TCodePointDetails& c : d.CodePoints) out += (out.empty() ? "" : " + ") + c.Name;
  return out;
}

struct Row {
  const char* what;
  WideString text;
  const char* names;
  const char* sjis;  // bytes in hex, "-" for none
  const char* euc;
  const char* jis;
  const char* rowCell;
  const char* otherWidth;  // UTF-8
};

TEST(CharDetails, CodesOfCharactersAsTheReferencesGiveThem) {
  const Row rows[] = {
      // 亜: the first kanji of JIS X 0208 level 1
      {"kanji", u"\u4E9C", "CJK UNIFIED IDEOGRAPH-4E9C", "88 9F", "B0 A1",
       "1B 24 42 30 21 1B 28 42", "16-1", ""},
      // ｱ: one byte in Shift_JIS, SS2 in EUC-JP; code page 50220 writes ア instead
      {"half-width kana", u"\uFF71", "HALFWIDTH KATAKANA LETTER A", "B1", "8E B1", "-", "-", "ア"},
      // ①: NEC row 13
      {"NEC row 13", u"\u2460", "CIRCLED DIGIT ONE", "87 40", "AD A1", "1B 24 42 2D 21 1B 28 42",
       "13-1", ""},
      // 纊: IBM extension FA5C; ISO-2022-JP through its NEC-selected twin ED40 (row 89),
      // EUC-JP in JIS X 0212
      {"IBM extension", u"\u7E8A", "CJK UNIFIED IDEOGRAPH-7E8A", "FA 5C", "8F D4 E3",
       "1B 24 42 79 21 1B 28 42", "89-1", ""},
      // 髙: IBM extension without a place in EUC-JP
      {"IBM extension outside EUC-JP", u"\u9AD9", "CJK UNIFIED IDEOGRAPH-9AD9", "FB FC", "-",
       "1B 24 42 7C 62 1B 28 42", "92-66", ""},
      {"ASCII letter", u"A", "LATIN CAPITAL LETTER A", "41", "41", "41", "-", "Ａ"},
      {"full-width letter", u"\uFF21", "FULLWIDTH LATIN CAPITAL LETTER A", "82 60", "A3 C1",
       "1B 24 42 23 41 1B 28 42", "3-33", "A"},
      {"ideographic space", u"\u3000", "IDEOGRAPHIC SPACE", "81 40", "A1 A1",
       "1B 24 42 21 21 1B 28 42", "1-1", " "},
      {"emoji ZWJ sequence", u"\U0001F468\u200D\U0001F469\u200D\U0001F467",
       "MAN + ZERO WIDTH JOINER + WOMAN + ZERO WIDTH JOINER + GIRL", "-", "-", "-", "-", ""},
      {"e + combining acute", u"e\u0301", "LATIN SMALL LETTER E + COMBINING ACUTE ACCENT", "-", "-",
       "-", "-", ""},
      {"flag", u"\U0001F1EF\U0001F1F5",
       "REGIONAL INDICATOR SYMBOL LETTER J + REGIONAL INDICATOR SYMBOL LETTER P", "-", "-", "-",
       "-", ""},
      {"lone high surrogate", u"\xD800", "<lead surrogate-D800>", "-", "-", "-", "-", ""},
      // The conversions stop at a terminator; NUL is still one zero byte in each code.
      {"NUL", WideString(1, u'\0'), "<control-0000>", "00", "00", "00", "-", ""},
      {"voiced half-width kana", u"\uFF76\uFF9E",
       "HALFWIDTH KATAKANA LETTER KA + HALFWIDTH KATAKANA VOICED SOUND MARK", "B6 DE",
       "8E B6 8E DE", "-", "-", "ガ"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const TCharDetails d = At(r.text);
    EXPECT_EQ(U8(d.Cluster), U8(r.text));
    EXPECT_EQ(Names(d), r.names);
    EXPECT_EQ(HexOr(d.ShiftJis), r.sjis);
    EXPECT_EQ(HexOr(d.EucJp), r.euc);
    EXPECT_EQ(HexOr(d.Iso2022Jp), r.jis);
    EXPECT_EQ(RowCellOr(d.RowCell), r.rowCell);
    EXPECT_EQ(U8(d.OtherWidth.Text), r.otherWidth);
    EXPECT_FALSE(d.CutAtStart || d.CutAtEnd);
  }
}

TEST(CharDetails, UnicodePropertiesOfAKanjiAMarkASurrogateAndAControl) {
  struct Expect {
    char32_t code;
    const char* category;
    const char* block;
    const char* script;
  } expects[] = {
      {0x4E9C, "Lo (Other Letter)", "CJK Unified Ideographs", "Han"},
      {0x0301, "Mn (Nonspacing Mark)", "Combining Diacritical Marks", "Inherited"},
      {0xD800, "Cs (Surrogate)", "High Surrogates", "Unknown"},
      {0x0000, "Cc (Control)", "Basic Latin", "Common"},
      // The prolonged sound mark belongs to both kana scripts.
      {0x30FC, "Lm (Modifier Letter)", "Katakana", "Common (Hiragana, Katakana)"},
  };
  for (const Expect& e : expects) {
    SCOPED_TRACE(U8(CodePointLabel(e.code)));
    WideString text;
    text.push_back(char16_t(e.code));
    const TCharDetails d = DescribeCluster(text);
    EXPECT_EQ(d.CodePoints.size(), 1u);
    if (d.CodePoints.size() != 1) continue;
    EXPECT_EQ(d.CodePoints[0].Category, e.category);
    EXPECT_EQ(d.CodePoints[0].Block, e.block);
    EXPECT_EQ(d.CodePoints[0].Script, e.script);
  }
}

TEST(CharDetails, TheClusterHoldsTheCaretWhereverItStandsInside) {
  const WideString text =
      u"a"
      u"e\u0301"
      u"\U0001F468\u200D\U0001F469\u200D\U0001F467"
      u"b";
  // Before the mark: the whole e + mark, with the mark as the one at the caret.
  TCharDetails d = At(text, 2);
  EXPECT_EQ(U8(d.Cluster), U8(u"e\u0301"));
  ASSERT_EQ(d.CodePoints.size(), 2u);
  EXPECT_FALSE(d.CodePoints[0].AtCaret);
  EXPECT_TRUE(d.CodePoints[1].AtCaret);
  // Inside the family, even between the halves of a surrogate pair.
  for (size_t caret : {3u, 5u, 6u, 10u}) {
    SCOPED_TRACE(caret);
    d = At(text, caret);
    EXPECT_EQ(d.Cluster.size(), 8u);
    EXPECT_EQ(d.CodePoints.size(), 5u);
  }
  EXPECT_EQ(U8(At(text, 11).Cluster), "b");
  EXPECT_TRUE(At(text, 12).Cluster.empty()) << "nothing after the caret";
}

TEST(CharDetails, ClustersOfLineBreaksAndLoneSurrogates) {
  // The status line's view of a line end: the break appended to the line.
  EXPECT_EQ(At(u"x\r\ny", 1).CodePoints.size(), 2u);
  // A low surrogate after a high one that is not its pair's: each stands alone.
  const WideString broken =
      u"\xD800"
      u"a\xDC00";
  EXPECT_EQ(At(broken, 0).Cluster, WideString(u"\xD800"));
  EXPECT_EQ(At(broken, 2).Cluster, WideString(u"\xDC00"));
  EXPECT_EQ(At(broken, 2).CodePoints[0].Code, 0xDC00u);
}

TEST(CharDetails, AClusterLongerThanTheStretchIsMarkedCutAndStaysBounded) {
  WideString zalgo = u"x";
  zalgo += WideString(500, u'\u0301');
  const TCharDetails d = At(zalgo, 200);
  EXPECT_TRUE(d.CutAtStart);
  EXPECT_TRUE(d.CutAtEnd);
  EXPECT_LE(d.Cluster.size(), size_t(kDetailsUnitsBefore + kDetailsUnitsAfter));
  // The same marks at the text's ends are whole there.
  EXPECT_FALSE(At(zalgo, 0).CutAtStart);
  EXPECT_TRUE(At(zalgo, 0).CutAtEnd);
  EXPECT_FALSE(At(zalgo, 480).CutAtEnd);
}

/// The status line's caption for the text at the caret, without its first word.
std::string StatusValue(WideView text, WideString TStatusCaptions::*field) {
  const TStatusCaptions c =
      FormatStatusLine([&](int n) { return WideString(text.substr(0, size_t(n))); });
  const std::string caption = U8(c.*field);
  const std::string value = caption.substr(caption.find(' ') + 1);
  return value == "-" ? "—" : value;
}

std::string RowValue(const std::vector<TDetailRow>& rows, std::u16string_view caption) {
  for (const TDetailRow& r : rows)
    if (r.Caption == caption) return U8(r.Value);
  return "(no row)";
}

TEST(CharDetails, EveryBmpCharacterReadsAsTheStatusLineShowsIt) {
  // Code points through the BMP in steps that touch every block, the edges of the
  // surrogate and private areas included.
  for (char32_t code = 0; code < 0x10000; code += (code < 0x3100 ? 1 : 7)) {
    WideString text(1, char16_t(code));
    SCOPED_TRACE(U8(CodePointLabel(code)));
    const std::vector<TDetailRow> rows = CharDetailRows(DescribeCluster(text));
    const std::string sjis = StatusValue(text, &TStatusCaptions::Ansi);
    // The status line shows two bytes at most, the panel all of them: one character has two.
    ASSERT_EQ(RowValue(rows, u"Shift_JIS"), sjis);
    ASSERT_EQ(RowValue(rows, u"UTF-16"), StatusValue(text, &TStatusCaptions::Unicode));
    ASSERT_EQ(RowValue(rows, u"UTF-8"), StatusValue(text, &TStatusCaptions::Utf8));
  }
  EXPECT_EQ(StatusValue(u"\U0001F600", &TStatusCaptions::Unicode),
            RowValue(CharDetailRows(DescribeCluster(u"\U0001F600")), u"UTF-16"));
}

/// ICU's mapping of code page 932 (IBM's table behind "windows-31j"), exact mappings only.
class IcuShiftJis {
 public:
  IcuShiftJis() {
    UErrorCode status = U_ZERO_ERROR;
    converter_.adoptInstead(ucnv_open("windows-31j", &status));
    ucnv_setFromUCallBack(converter_.getAlias(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr,
                          nullptr, &status);
    ucnv_setFallback(converter_.getAlias(), false);
    ok_ = U_SUCCESS(status);
  }
  bool Ok() const { return ok_; }
  /// The bytes, or nullopt where ICU has no mapping or maps to no byte at all.
  TBytes Bytes(char16_t unit) {
    char out[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(converter_.getAlias(), out, sizeof out,
                                      reinterpret_cast<const UChar*>(&unit), 1, &status);
    if (U_FAILURE(status) || n <= 0) return std::nullopt;
    return AnsiString(out, size_t(n));
  }

 private:
  icu::LocalUConverterPointer converter_;
  bool ok_ = false;
};

TEST(CharDetails, ShiftJisAgreesWithIcuSaveWhereWindowsDiffersFromIbm) {
  IcuShiftJis icu;
  ASSERT_TRUE(icu.Ok());
  // Windows maps the bytes 0x80, 0xA0, 0xFD ... 0xFF to these; IBM's table has U+F86F
  // for a duplicate of its own. Below 0x80 IBM rotates control codes.
  const std::set<char32_t> windowsOnly = {0x0080, 0xF86F, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3};
  int compared = 0;
  for (char32_t code = 0x80; code < 0x10000; ++code) {
    if ((code >= 0xD800 && code <= 0xDFFF) || windowsOnly.count(code)) continue;
    const WideString text(1, char16_t(code));
    const TBytes expected = icu.Bytes(char16_t(code));
    // The conversions alone: the Unicode data would cost the run seconds here.
    const TBytes shown = NeedsUnicode(text) ? TBytes() : TBytes(WideToAnsi(text));
    ASSERT_EQ(HexOr(shown), HexOr(expected)) << U8(CodePointLabel(code));
    ASSERT_EQ(HexOr(DescribeCluster(text).ShiftJis), HexOr(shown)) << U8(CodePointLabel(code));
    compared += expected.has_value();
  }
  EXPECT_GT(compared, 7000);
}

TEST(CharDetails, RowCellIsTheEucJpPairForJisX0208Characters) {
  // Two codes, two tables: where EUC-JP writes a JIS X 0208 pair, its row and cell
  // are the ones ISO-2022-JP gives.
  int checked = 0;
  for (char32_t code = 0x80; code < 0x10000; code += 3) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    const TCharDetails d = DescribeCluster(WideString(1, char16_t(code)));
    if (!d.EucJp || d.EucJp->size() != 2 || uint8_t((*d.EucJp)[0]) == 0x8E) continue;
    ASSERT_TRUE(d.RowCell.has_value()) << U8(CodePointLabel(code));
    EXPECT_EQ(d.RowCell->Row, uint8_t((*d.EucJp)[0]) - 0xA0);
    EXPECT_EQ(d.RowCell->Cell, uint8_t((*d.EucJp)[1]) - 0xA0);
    ++checked;
  }
  EXPECT_GT(checked, 2000);
}

TEST(CharDetailRows, CaptionsAndValuesAsThePanelListsThem) {
  struct Case {
    WideString text;
    size_t caret;
    const char16_t* caption;
    const char* value;
  } cases[] = {
      {u"\u2460", 0, u"Shift_JIS", "0x8740"},
      {u"\u2460", 0, u"ISO-2022-JP", "1B 24 42 2D 21 1B 28 42"},
      {u"\u2460", 0, u"区点", "1301（13区1点） NEC特殊文字"},
      {u"\u2460", 0, u"UTF-32", "0x00002460"},
      {u"\u2460", 0, u"全角・半角", "—"},
      {u"\u2460", 0, u"U+2460", "CIRCLED DIGIT ONE"},
      {u"\uFF71", 0, u"ISO-2022-JP", "—"},
      {u"\uFF71", 0, u"全角", "ア (U+30A2)"},
      // A space's other form is as invisible as itself: named as the status line names it.
      {u" ", 0, u"全角", "全角スペース (U+3000)"},
      {u"\u3000", 0, u"半角", "半角スペース (U+0020)"},
      // Several code points: the codes of the whole, the one at the caret marked.
      {u"e\u0301", 1, u"UTF-16", "U+0065 U+0301"},
      {u"e\u0301", 1, u"UTF-8", "U+65CC81 01100101 11001100 10000001"},
      {u"e\u0301", 1, u"UTF-32", "0x00000065 0x00000301"},
      {u"e\u0301", 1, u"▶ U+0301", "COMBINING ACUTE ACCENT"},
      {u"e\u0301", 1, u"U+0065", "LATIN SMALL LETTER E"},
      {u"\xDBFF", 0, u"UTF-16", "U+DBFF"},
      {u"\xDBFF", 0, u"UTF-8", "—"},
      {u"\xDBFF", 0, u"UTF-32", "—"},
      {u"\U0001F600", 0, u"UTF-16", "U+1F600(D83D+DE00)"},
      {u"\U0001F600", 0, u"UTF-32", "0x0001F600"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(U8(c.text) + " " + U8(c.caption));
    EXPECT_EQ(RowValue(CharDetailRows(At(c.text, c.caret)), c.caption), c.value);
  }
  EXPECT_TRUE(CharDetailRows(At(u"")).empty());
}

TEST(CharDetailRows, TitleNamesControlAndSpaceCharactersAsTheStatusLineDoes) {
  EXPECT_EQ(U8(CharDetailsTitle(At(u"\r\n"))), "CR LF");
  EXPECT_EQ(U8(CharDetailsTitle(At(u"\u3000"))), "全角スペース");
  EXPECT_EQ(U8(CharDetailsTitle(At(u"e\u0301"))), U8(u"e\u0301"));
  EXPECT_EQ(U8(CharDetailsTitle(At(u""))), "");
}

}  // namespace
}  // namespace magna
