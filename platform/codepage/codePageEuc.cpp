// Code page 20932: EUC-JP (JIS X 0208 with NEC row 13, half-width katakana, JIS X 0212).
#include "platform/codepage/codePageAscii.h"
#include "platform/codepage/codePageCodecs.h"
#include "platform/codepage/codePageTables.h"

namespace magna::platform::detail {

namespace {

bool IsEucByte(unsigned b) {
  return b >= 0xA1 && b <= 0xFE;
}

/// One character at p (not ASCII); advances p past what it consumed.
char16_t DecodeEucChar(const EucTable& t, const unsigned char*& p, const unsigned char* end) {
  unsigned b = *p;
  ptrdiff_t left = end - p;
  if (b == 0x8E && left >= 2 && p[1] >= 0xA1 && p[1] <= 0xDF) {
    p += 2;
    return static_cast<char16_t>(0xFF61 + (p[-1] - 0xA1));
  }
  if (b == 0x8F && left >= 3 && IsEucByte(p[1]) && IsEucByte(p[2])) {
    uint16_t unit = t.jis0212[JisIndex(p[1] & 0x7F, p[2] & 0x7F)];
    p += 3;
    return unit ? unit : kReplacement;
  }
  if (IsEucByte(b) && left >= 2 && IsEucByte(p[1])) {
    uint16_t unit = t.jis0208[JisIndex(b & 0x7F, p[1] & 0x7F)];
    p += 2;
    return unit ? unit : kReplacement;
  }
  ++p;  // what follows an invalid byte is read again on its own
  return kReplacement;
}

}  // namespace

WideString DecodeEuc(std::string_view bytes) {
  const EucTable& t = Euc();
  return DecodeBytes(bytes, [&t](const unsigned char*& p, const unsigned char* end, char16_t* out,
                                 const char16_t*) {
    *out++ = DecodeEucChar(t, p, end);
    return out;
  });
}

AnsiString EncodeEuc(WideView text, bool bestFit, bool& usedDefault, char defaultChar) {
  const EucTable& t = Euc();
  return EncodeUnits(text, [&](const char16_t*& p, const char16_t* end, char* out, const char*) {
    char16_t unit = *p++;
    if (unit < 0x80) {
      *out++ = static_cast<char>(unit);
      return out;
    }
    if (unit >= 0xFF61 && unit <= 0xFF9F) {
      *out++ = '\x8E';
      *out++ = static_cast<char>(unit - 0xFF61 + 0xA1);
      return out;
    }
    uint16_t code = t.exact[unit];
    if (code == 0 && bestFit) code = t.bestFit[unit];
    if (code == 0) return WriteDefault(p, end, out, defaultChar, usedDefault);
    if (code < 0x80) {
      *out++ = static_cast<char>(code);
      return out;
    }
    if (code & kJis0212) *out++ = '\x8F';
    *out++ = static_cast<char>(((code >> 8) & 0x7F) | 0x80);
    *out++ = static_cast<char>((code & 0x7F) | 0x80);
    return out;
  });
}

}  // namespace magna::platform::detail
