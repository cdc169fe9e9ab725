#pragma once
// Fast paths over runs of ASCII, the bulk of most Japanese text files (markup, code,
// line breaks). Sixteen bytes at a time with SSE2, byte by byte elsewhere. The build
// option MAGNA_SCALAR compiles the SSE2 paths out, so that the tests check the scalar
// ones too (MAGNA_SSE2 says which are built).

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/codepage/codePageOutput.h"
#include "platform/myBase.h"

#if defined(__SSE2__) && !defined(MAGNA_SCALAR_ONLY)
#define MAGNA_SSE2 1
#include <emmintrin.h>
#else
#define MAGNA_SSE2 0
#endif

namespace magna::platform::detail {

/// The ASCII bytes a decoder must see itself besides those at 0x80 and above.
enum class AsciiStops { None, Shifts /* ESC SO SI */, Plus /* UTF-7 shift */ };

template <AsciiStops kStops>
inline bool IsAsciiStop(unsigned char b) {
  if constexpr (kStops == AsciiStops::Shifts) return b == 0x1B || b == 0x0E || b == 0x0F;
  if constexpr (kStops == AsciiStops::Plus) return b == '+';
  return false;
}

/// Widens the leading bytes of [p, end) below 0x80 (stopping at kStops too) into out;
/// returns how many. May write up to 16 units past that count, so out must have room
/// for as many units as [p, end) has bytes.
template <AsciiStops kStops = AsciiStops::None>
inline size_t WidenAscii(const unsigned char* p, const unsigned char* end, char16_t* out) {
  const unsigned char* start = p;
#if MAGNA_SSE2
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(v));
    if constexpr (kStops == AsciiStops::Shifts) {
      __m128i shifts = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(0x1B)),
                                    _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(0x0E)),
                                                 _mm_cmpeq_epi8(v, _mm_set1_epi8(0x0F))));
      mask |= static_cast<unsigned>(_mm_movemask_epi8(shifts));
    }
    if constexpr (kStops == AsciiStops::Plus)
      mask |= static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('+'))));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(v, zero));
    if (mask != 0) {
      unsigned k = static_cast<unsigned>(__builtin_ctz(mask));
      return static_cast<size_t>(p - start) + k;
    }
    p += 16;
    out += 16;
  }
#endif
  while (p < end && *p < 0x80 && !IsAsciiStop<kStops>(*p)) *out++ = *p++;
  return static_cast<size_t>(p - start);
}

/// Narrows the leading units of [p, end) below 0x80 into out, 16 at a time only;
/// returns how many (a multiple of 16). Writes exactly that many bytes.
inline size_t NarrowAsciiBlocks(const char16_t* p, const char16_t* end, char* out) {
  const char16_t* start = p;
#if MAGNA_SSE2
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  while (end - p >= 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
    __m128i any = _mm_and_si128(_mm_or_si128(a, b), high);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) != 0xFFFF) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(a, b));
    p += 16;
    out += 16;
  }
#else
  (void)end;
  (void)out;
#endif
  return static_cast<size_t>(p - start);
}

/// Narrows the leading units of [p, end) below 0x80 into out; returns how many. May
/// write up to 16 bytes past that count, so out must have room for as many bytes as
/// [p, end) has units plus 16.
inline size_t NarrowAscii(const char16_t* p, const char16_t* end, char* out) {
  size_t n = NarrowAsciiBlocks(p, end, out);
  p += n;
  out += n;
#if MAGNA_SSE2
  if (end - p >= 16) {  // the block that stopped the run: its leading ASCII units
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
    __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    __m128i ascii = _mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(a, high), _mm_setzero_si128()),
                                    _mm_cmpeq_epi16(_mm_and_si128(b, high), _mm_setzero_si128()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(a, b));
    auto notAscii = static_cast<unsigned>(~_mm_movemask_epi8(ascii)) & 0xFFFF;
    return n + static_cast<size_t>(__builtin_ctz(notAscii));
  }
#endif
  const char16_t* start = p;
  while (p < end && *p < 0x80) *out++ = static_cast<char>(*p++);
  return n + static_cast<size_t>(p - start);
}

/// Index of the first zero among n code units, or n.
inline size_t FindZeroUnit(const char16_t* p, size_t n) {
  size_t i = 0;
#if MAGNA_SSE2
  for (; i + 8 <= n; i += 8) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, _mm_setzero_si128())));
    if (mask != 0) return i + static_cast<size_t>(__builtin_ctz(mask)) / 2;
  }
#endif
  while (i < n && p[i] != 0) ++i;
  return i;
}

/// Runs `decode(p, end, out, limit)` chunk by chunk over the bytes: it reads from p while
/// out < limit (writing up to ChunkedOutput's slack past it), keeping any state of its
/// own between calls, and returns the new out.
template <class Decode>
WideString DecodeInChunks(std::string_view bytes, Decode&& decode) {
  ChunkedOutput<char16_t> output(bytes.size());
  const auto begin = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* p = begin;
  const unsigned char* end = p + bytes.size();
  while (p < end) {
    char16_t* out = decode(p, end, output.Begin(), output.Limit());
    output.Flush(out, static_cast<size_t>(p - begin));
  }
  return output.Take();
}

/// The decoding loop every stateless byte code shares: ASCII runs fast, everything else
/// through `decodeChar(p, end, out, limit)`, which consumes at least one byte and returns
/// the new out; it may go on while out < limit.
template <AsciiStops kStops = AsciiStops::None, class DecodeChar>
WideString DecodeBytes(std::string_view bytes, DecodeChar decodeChar) {
  return DecodeInChunks(bytes, [&decodeChar](const unsigned char*& p, const unsigned char* end,
                                             char16_t* out, const char16_t* limit) {
    while (p < end && out < limit) {
      if (*p >= 0x80 || IsAsciiStop<kStops>(*p)) {
        out = decodeChar(p, end, out, limit);
        continue;
      }
      // One unit a byte: no more bytes than the chunk has room for.
      size_t n = WidenAscii<kStops>(p, p + std::min<size_t>(end - p, limit - out), out);
      p += n;
      out += n;
    }
    return out;
  });
}

/// The encoding loop every code shares: blocks of ASCII fast, everything else through
/// `encodeUnit(p, end, out, limit)`, which consumes at least one unit and returns the new
/// out; it may go on while out < limit and write up to ChunkedOutput's slack past it.
template <class EncodeUnit>
AnsiString EncodeUnits(WideView text, EncodeUnit encodeUnit) {
  ChunkedOutput<char> output(text.size());
  const char16_t* p = text.data();
  const char16_t* end = p + text.size();
  while (p < end) {
    char* out = output.Begin();
    const char* limit = output.Limit();
    while (p < end && out < limit) {
      if (*p < 0x80) {
        size_t n = NarrowAscii(p, p + std::min<size_t>(end - p, limit - out), out);
        p += n;
        out += n;
        continue;
      }
      out = encodeUnit(p, end, out, limit);
    }
    output.Flush(out, static_cast<size_t>(p - text.data()));
  }
  return output.Take();
}

/// Writes the default character for an unmappable unit (a surrogate pair counts once).
inline char* WriteDefault(const char16_t*& p, const char16_t* end, char* out, char defaultChar,
                          bool& usedDefault) {
  char16_t unit = p[-1];
  usedDefault = true;
  if (unit >= 0xD800 && unit <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) ++p;
  *out++ = defaultChar;
  return out;
}

}  // namespace magna::platform::detail
