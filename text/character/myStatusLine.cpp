#include "text/character/myStatusLine.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "text/myCharCode.h"

namespace magna {

namespace {

bool IsHighSurrogate(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

/// ASCII text (formats and hex digits only) widened code unit by code unit.
WideString WidenAscii(std::string_view ascii) {
  return WideString(ascii.begin(), ascii.end());
}

template <class... Args>
WideString Format(const char* format, Args... args) {
  std::array<char, 64> buffer{};
  int n = std::snprintf(buffer.data(), buffer.size(), format, args...);
  if (n < 0) return {};
  return WidenAscii(
      std::string_view(buffer.data(), std::min<size_t>(size_t(n), buffer.size() - 1)));
}

/// At most n code units from the fetch function, whatever it returns.
WideString Fetch(const TTextAtCaret& textAtCaret, int n) {
  WideString s = textAtCaret(n);
  if (s.size() > size_t(n)) s.resize(size_t(n));
  return s;
}

WideString AnsiCaptionOfBytes(const AnsiString& b) {
  if (b.size() >= 2)
    return Format("SJIS 0x%.2X%.2X", unsigned(uint8_t(b[0])), unsigned(uint8_t(b[1])));
  if (b.size() == 1) return Format("SJIS 0x%.2X", unsigned(uint8_t(b[0])));
  return {};
}

/// The captions of a code unit that is half of no pair: it has neither Shift_JIS
/// nor UTF-8 bytes, so both say so rather than show a substitute's bytes.
TStatusCaptions UnpairedSurrogate(char16_t u) {
  TStatusCaptions c;
  c.Char = WideString(1, u);
  c.Unicode = Format("UTF16 U+%.4X", unsigned(u));
  c.Ansi = u"SJIS -";
  c.Utf8 = u"UTF8 -";
  return c;
}

}  // namespace

WideString StatusCharName(char16_t unit) {
  static const char* const kControlNames[32] = {
      "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "Tab", "LF",
      "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
      "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
  if (unit < 32) return WidenAscii(kControlNames[unit]);
  if (unit == 0x20) return u"半角スペース";
  if (unit == 0x7F) return u"DEL";
  if (unit == 0x3000) return u"全角スペース";
  return {};
}

namespace {

WideString Utf8CaptionOfBytes(const AnsiString& bytes) {
  if (bytes.empty()) return {};
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex;
  std::string bits;
  for (unsigned char b : bytes) {
    hex += kHex[b >> 4];
    hex += kHex[b & 0xF];
    bits += ' ';
    for (int bit = 7; bit >= 0; --bit) bits += ((b >> bit) & 1) ? '1' : '0';
  }
  return u"UTF8 U+" + WidenAscii(hex) + u" " + WidenAscii(std::string_view(bits).substr(1));
}

}  // namespace

WideString UTF8Caption(WideView text) {
  return Utf8CaptionOfBytes(WideToUtf8(text));
}

TStatusCaptions FormatStatusLine(const TTextAtCaret& textAtCaret) {
  WideString s = Fetch(textAtCaret, 1);
  if (s.empty()) return {};
  const char16_t u = s[0];

  TStatusCaptions c;
  if (IsLowSurrogate(u)) return UnpairedSurrogate(u);
  if (!IsHighSurrogate(u)) {
    c.Unicode = Format("UTF16 U+%.4X", unsigned(u));
  } else {
    s = Fetch(textAtCaret, 2);
    if (s.size() < 2 || s[0] != u || !IsLowSurrogate(s[1])) return UnpairedSurrogate(u);
    const unsigned h = s[0], l = s[1];
    const unsigned code = (h - 0xD800) * 0x400 + (l - 0xDC00) + 0x10000;
    c.Unicode = Format("UTF16 U+%.5X(%.4X+%.4X)", code, h, l);
  }
  c.Char = StatusCharName(u);
  if (c.Char.empty()) c.Char = s;
  c.CharMarked = u < 32 || u == 127;
  if (u == 0) {
    // The conversions end at a terminator; a NUL is still the byte 0x00 in both codes.
    c.Utf8 = Utf8CaptionOfBytes(AnsiString(1, '\0'));
    c.Ansi = AnsiCaptionOfBytes(AnsiString(1, '\0'));
    return c;
  }
  c.Utf8 = UTF8Caption(s);
  c.Ansi = NeedsUnicode(s) ? u"SJIS -" : AnsiCaptionOfBytes(WideToAnsi(s));
  return c;
}

}  // namespace magna
