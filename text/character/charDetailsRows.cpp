#include "text/character/charDetailsRows.h"

#include <unicode/utf16.h>

#include "text/character/myStatusLine.h"

namespace magna {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

WideString Widened(std::string_view ascii) {
  return WideString(ascii.begin(), ascii.end());
}

void AppendHex(WideString& out, uint32_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out.push_back(char16_t(kHexDigits[(value >> shift) & 0xF]));
}

WideString OrNone(const TBytes& bytes, WideString (*format)(std::string_view)) {
  return bytes ? format(*bytes) : WideString(kNoCode);
}

/// A status-line caption without its leading word ("UTF16 U+3042" → "U+3042");
/// its "-" for a code the character lacks becomes the panel's "—".
WideString WithoutPrefix(const WideString& caption) {
  const size_t blank = caption.find(u' ');
  if (blank == WideString::npos) return caption;
  WideString value = caption.substr(blank + 1);
  return value == u"-" ? WideString(kNoCode) : value;
}

/// The status line's captions for the code point at `offset` of the cluster.
TStatusCaptions StatusCaptionsAt(WideView cluster, size_t offset) {
  const WideView rest = cluster.substr(offset);
  return FormatStatusLine([rest](int n) { return WideString(rest.substr(0, size_t(n))); });
}

bool HasLoneSurrogate(const TCharDetails& d) {
  for (const TCodePointDetails& c : d.CodePoints)
    if (U_IS_SURROGATE(c.Code)) return true;
  return false;
}

/// Each code point as the status line writes its UTF-16 code, one after the other.
WideString Utf16Value(const TCharDetails& d) {
  WideString out;
  size_t offset = 0;
  for (const TCodePointDetails& c : d.CodePoints) {
    if (!out.empty()) out += u' ';
    out += WithoutPrefix(StatusCaptionsAt(d.Cluster, offset).Unicode);
    offset += U16_LENGTH(c.Code);
  }
  return out;
}

/// The status line's UTF-8 caption of the whole character: its bytes, then their bits.
WideString Utf8Value(const TCharDetails& d) {
  if (d.CodePoints.size() == 1) return WithoutPrefix(StatusCaptionsAt(d.Cluster, 0).Utf8);
  if (HasLoneSurrogate(d)) return kNoCode;
  return WithoutPrefix(UTF8Caption(d.Cluster));
}

WideString Utf32Value(const TCharDetails& d) {
  if (HasLoneSurrogate(d)) return kNoCode;
  WideString out;
  for (const TCodePointDetails& c : d.CodePoints) {
    if (!out.empty()) out += u' ';
    out += u"0x";
    AppendHex(out, c.Code, 8);
  }
  return out;
}

WideString TwoDigits(int n) {
  return Widened(std::to_string(n / 10) + std::to_string(n % 10));
}

/// "0402（4区2点）", with the rows of code page 932's additions named.
WideString RowCellValue(const std::optional<TRowCell>& rc) {
  if (!rc) return kNoCode;
  WideString out = TwoDigits(rc->Row) + TwoDigits(rc->Cell) + u"（" +
                   Widened(std::to_string(rc->Row)) + u"区" + Widened(std::to_string(rc->Cell)) +
                   u"点）";
  if (rc->Row == 13) out += u" NEC特殊文字";
  if (rc->Row >= 89 && rc->Row <= 92) out += u" NEC選定IBM拡張文字";
  return out;
}

WideString OtherWidthCaption(const TOtherWidth& other) {
  return other.Width == TWidth::Half ? u"半角" : u"全角";
}

/// The status line's names where the text is made of control or space characters
/// ("CR LF", "全角スペース"), else the text itself.
WideString NamedOrItself(const WideString& text) {
  WideString names;
  for (char16_t unit : text) {
    const WideString name = StatusCharName(unit);
    if (name.empty()) return text;
    if (!names.empty()) names += u' ';
    names += name;
  }
  return names;
}

/// "ア (U+30A2)", each code point of the other form named by its code.
WideString OtherWidthValue(const TOtherWidth& other) {
  WideString out = NamedOrItself(other.Text) + u" (";
  for (size_t i = 0; i < other.Text.size();) {
    UChar32 c;
    if (i > 0) out += u' ';
    U16_NEXT(other.Text.data(), i, other.Text.size(), c);
    out += CodePointLabel(char32_t(c));
  }
  return out + u")";
}

void AddCodePointRows(std::vector<TDetailRow>& rows, const TCharDetails& d) {
  const bool several = d.CodePoints.size() > 1;
  for (const TCodePointDetails& c : d.CodePoints) {
    // Among several, the one the caret stands before is the one the status line shows.
    WideString caption = CodePointLabel(c.Code);
    if (several && c.AtCaret) caption = u"▶ " + caption;
    rows.push_back({caption, Widened(c.Name)});
    rows.push_back({u"一般カテゴリ", Widened(c.Category), true});
    rows.push_back({u"ブロック", Widened(c.Block), true});
    rows.push_back({u"用字系", Widened(c.Script), true});
  }
}

}  // namespace

WideString HexBytes(std::string_view bytes) {
  if (bytes.empty()) return {};
  WideString out = u"0x";
  for (unsigned char b : bytes) AppendHex(out, b, 2);
  return out;
}

WideString SpacedHexBytes(std::string_view bytes) {
  WideString out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += u' ';
    AppendHex(out, b, 2);
  }
  return out;
}

WideString CodePointLabel(char32_t code) {
  WideString out = u"U+";
  AppendHex(out, code, code > 0xFFFF ? (code > 0xFFFFF ? 6 : 5) : 4);
  return out;
}

std::vector<TDetailRow> CharDetailRows(const TCharDetails& d) {
  if (d.Cluster.empty()) return {};
  std::vector<TDetailRow> rows;
  if (d.CutAtStart || d.CutAtEnd)
    rows.push_back({u"注意", u"長い文字のため、カーソルの前後の一部だけを表示しています"});
  rows.push_back({u"Shift_JIS", OrNone(d.ShiftJis, HexBytes)});
  rows.push_back({u"EUC-JP", OrNone(d.EucJp, HexBytes)});
  rows.push_back({u"ISO-2022-JP", OrNone(d.Iso2022Jp, SpacedHexBytes)});
  rows.push_back({u"区点", RowCellValue(d.RowCell)});
  rows.push_back({u"UTF-16", Utf16Value(d)});
  rows.push_back({u"UTF-8", Utf8Value(d)});
  rows.push_back({u"UTF-32", Utf32Value(d)});
  if (d.OtherWidth.Text.empty())
    rows.push_back({u"全角・半角", kNoCode});
  else
    rows.push_back({OtherWidthCaption(d.OtherWidth), OtherWidthValue(d.OtherWidth)});
  AddCodePointRows(rows, d);
  return rows;
}

WideString CharDetailsTitle(const TCharDetails& d) {
  return NamedOrItself(d.Cluster);
}

}  // namespace magna
