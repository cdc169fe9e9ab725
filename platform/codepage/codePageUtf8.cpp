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

#if MAGNA_SSE2
/// Whether all eight units are from U+0800 up and none is a surrogate.
bool AllThreeBytes(__m128i units) {
  __m128i top = _mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xF800)));
  __m128i other = _mm_or_si128(_mm_cmpeq_epi16(top, _mm_setzero_si128()),
                               _mm_cmpeq_epi16(top, _mm_set1_epi16(static_cast<short>(0xD800))));
  return _mm_movemask_epi8(other) == 0;
}

/// Four 32-bit lanes of three bytes each (the fourth zero) packed into the first twelve.
__m128i PackTriples(__m128i lanes) {
  // In each 64-bit half, the second lane's bytes follow the first's three.
  __m128i halves = _mm_or_si128(
      _mm_and_si128(lanes, _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF)),
      _mm_and_si128(_mm_srli_epi64(lanes, 8), _mm_set_epi32(0xFFFF, static_cast<int>(0xFF000000),
                                                            0xFFFF, static_cast<int>(0xFF000000))));
  return _mm_or_si128(_mm_move_epi64(halves), _mm_slli_si128(_mm_srli_si128(halves, 8), 6));
}

/// Eight units from U+0800 up as 24 bytes, with two sixteen-byte stores.
void StoreThreeByteBlock(__m128i units, unsigned char* out) {
  const __m128i low6 = _mm_set1_epi16(0x3F), continuation = _mm_set1_epi16(0x80);
  __m128i lead = _mm_or_si128(_mm_srli_epi16(units, 12), _mm_set1_epi16(0xE0));
  __m128i second = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(units, 6), low6), continuation);
  __m128i third = _mm_or_si128(_mm_and_si128(units, low6), continuation);
  __m128i firstTwo = _mm_or_si128(lead, _mm_slli_epi16(second, 8));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                   PackTriples(_mm_unpacklo_epi16(firstTwo, third)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12),
                   PackTriples(_mm_unpackhi_epi16(firstTwo, third)));
}
#endif

/// Writes the leading units of [p, end) from U+0800 up, surrogates excepted (kana and
/// kanji, the bulk of Japanese text), while out < stop; returns the new out. Writes up
/// to 32 bytes past the last sequence.
unsigned char* EncodeThreeByteRun(const char16_t*& p, const char16_t* end, unsigned char* out,
                                  const unsigned char* stop) {
#if MAGNA_SSE2
  for (__m128i units; end - p >= 8 && out < stop; p += 8, out += 24) {
    units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (!AllThreeBytes(units)) break;
    StoreThreeByteBlock(units, out);
  }
#endif
  for (uint32_t c; p < end && out < stop && (c = *p) >= 0x800 && (c < 0xD800 || c > 0xDFFF); ++p) {
    // One four-byte store of which three count.
    uint32_t sequence =
        (0xE0 | c >> 12) | (0x80 | ((c >> 6) & 0x3F)) << 8 | (0x80 | (c & 0x3F)) << 16;
    std::memcpy(out, &sequence, 4);
    out += 3;
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
        out = EncodeThreeByteRun(p, end, out, stop);
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
