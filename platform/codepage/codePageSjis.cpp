// Code page 932: Shift_JIS as Windows maps it.
#include <cstring>

#include "platform/codepage/codePageAscii.h"
#include "platform/codepage/codePageCodecs.h"
#include "platform/codepage/codePageTables.h"

namespace magna::platform::detail {

namespace {

bool IsTrailByte(unsigned b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

}  // namespace

WideString DecodeSjis(std::string_view bytes) {
  const SjisTable& t = Sjis();
  return DecodeBytes(bytes, [&t](const unsigned char*& p, const unsigned char* end, char16_t* out,
                                 const char16_t*) {
    uint16_t unit = t.single[*p];
    if (unit != kLeadByte) {
      ++p;
      *out++ = unit;
    } else if (end - p < 2 || !IsTrailByte(p[1])) {
      ++p;  // the byte after it is read again on its own
      *out++ = kReplacement;
    } else {
      unit = t.pairs[t.leadIndex[p[0]]][p[1]];
      // An unmapped pair keeps an ASCII second byte: it is read again on its own.
      p += unit == 0 && p[1] < 0x80 ? 1 : 2;
      *out++ = unit ? unit : kReplacement;
    }
    return out;
  });
}

namespace {

/// Writes a code of one or two bytes with one two-byte store (the chunk has bytes to
/// spare): the lead byte first.
char* StoreSjis(char* out, uint16_t code) {
  const bool pair = code >= 0x100;
  const uint16_t bytes = pair ? static_cast<uint16_t>(code << 8 | code >> 8) : code;
  std::memcpy(out, &bytes, 2);
  return out + 1 + pair;
}

}  // namespace

AnsiString EncodeSjis(WideView text, bool bestFit, bool& usedDefault, char defaultChar) {
  const SjisTable& t = Sjis();
  return EncodeUnits(text,
                     [&](const char16_t*& p, const char16_t* end, char* out, const char* limit) {
                       do {  // a run of non-ASCII units in one go
                         char16_t unit = *p++;
                         uint16_t code = t.exact[unit];
                         if (code == 0 && bestFit) code = t.bestFit[unit];
                         if (code == 0) {
                           out = WriteDefault(p, end, out, defaultChar, usedDefault);
                           continue;
                         }
                         out = StoreSjis(out, code);
                       } while (p < end && *p >= 0x80 && out < limit);
                       return out;
                     });
}

}  // namespace magna::platform::detail
