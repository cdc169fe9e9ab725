// Code page 65001: UTF-8. Ill-formed input becomes U+FFFD per maximal subpart;
// a lone surrogate is written as U+FFFD.
#include <cstring>

#include "platform/codepage/codePageAscii.h"
#include "platform/codepage/codePageCodecs.h"

namespace magna::platform::detail {

namespace {

bool IsContinuation(unsigned b) {
  return (b & 0xC0) == 0x80;
}

/// The allowed range of the second byte after a lead byte (Unicode table 3-7).
void SecondByteRange(unsigned lead, unsigned& low, unsigned& high) {
  low = 0x80;
  high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
}

/// One sequence at p (not ASCII); writes one or two units, advances p past it.
char16_t* DecodeSequence(const unsigned char*& p, const unsigned char* end, char16_t* out) {
  unsigned lead = *p;
  if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && end - p >= 3 && IsContinuation(p[1]) &&
      IsContinuation(p[2])) {  // the three-byte form of all kana and kanji
    *out++ = static_cast<char16_t>((lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
    p += 3;
    return out;
  }
  int length = lead >= 0xC2 && lead <= 0xDF   ? 2
               : lead >= 0xE0 && lead <= 0xEF ? 3
               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                              : 0;
  if (length == 0) {
    ++p;
    *out++ = kReplacement;
    return out;
  }
  unsigned low, high;
  SecondByteRange(lead, low, high);
  uint32_t c = lead & (0x7F >> length);
  int i = 1;
  for (; i < length && p + i < end; ++i) {
    unsigned b = p[i];
    if (i == 1 ? (b < low || b > high) : !IsContinuation(b)) break;
    c = c << 6 | (b & 0x3F);
  }
  p += i;
  if (i < length) {
    *out++ = kReplacement;
  } else if (c >= 0x10000) {
    *out++ = static_cast<char16_t>(0xD7C0 + (c >> 10));
    *out++ = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
  } else {
    *out++ = static_cast<char16_t>(c);
  }
  return out;
}

}  // namespace

WideString DecodeUtf8(std::string_view bytes) {
  return DecodeBytes(bytes, [](const unsigned char*& p, const unsigned char* end, char16_t* out,
                               const char16_t* limit) {
    do out = DecodeSequence(p, end, out);  // a run of non-ASCII characters in one go
    while (p < end && *p >= 0x80 && out < limit);
    return out;
  });
}

AnsiString EncodeUtf8(WideView text) {
  return EncodeUnits(
      text, [](const char16_t*& p, const char16_t* end, char* bytes, const char* limit) {
        auto out = reinterpret_cast<unsigned char*>(bytes);
        const auto stop = reinterpret_cast<const unsigned char*>(limit);
        // Kana and kanji, the bulk of Japanese text, in one tight loop.
        for (uint32_t c; p < end && out < stop && (c = *p) >= 0x800 && (c < 0xD800 || c > 0xDFFF);
             ++p) {
          // One four-byte store of which three count (the chunk has bytes to spare).
          uint32_t sequence =
              (0xE0 | c >> 12) | (0x80 | ((c >> 6) & 0x3F)) << 8 | (0x80 | (c & 0x3F)) << 16;
          std::memcpy(out, &sequence, 4);
          out += 3;
        }
        if (p == end) return reinterpret_cast<char*>(out);
        uint32_t c = *p++;
        if (c < 0x80) {
          *out++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
          *out++ = static_cast<unsigned char>(0xC0 | c >> 6);
          *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
          *out++ = static_cast<unsigned char>(0xF0 | c >> 18);
          *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
          *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
          *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
          if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;  // a lone surrogate
          *out++ = static_cast<unsigned char>(0xE0 | c >> 12);
          *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
          *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        return reinterpret_cast<char*>(out);
      });
}

}  // namespace magna::platform::detail
