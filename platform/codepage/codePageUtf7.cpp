// Code page 65000: UTF-7 (RFC 2152). Code units are carried as they are, so a lone
// surrogate survives a round trip.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/codepage/codePageAscii.h"
#include "platform/codepage/codePageCodecs.h"

namespace magna::platform::detail {

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> kBase64Values = [] {
  std::array<int8_t, 256> values{};
  for (auto& v : values) v = -1;
  for (int i = 0; i < 64; ++i)
    values[static_cast<unsigned char>(kBase64[i])] = static_cast<int8_t>(i);
  return values;
}();

/// Set D, set O and the white space RFC 2152 lets stand for themselves ('+' excepted).
constexpr std::array<bool, 128> kDirect = [] {
  std::array<bool, 128> direct{};
  for (int c = 'A'; c <= 'Z'; ++c) direct[c] = direct[c + 32] = true;
  for (int c = '0'; c <= '9'; ++c) direct[c] = true;
  for (char c : std::string_view("'(),-./:? \t\r\n!\"#$%&*;<=>@[]^_`{|}"))
    direct[static_cast<unsigned char>(c)] = true;
  return direct;
}();

bool IsDirect(char16_t c) {
  return c < 0x80 && kDirect[c];
}

#if defined(__SSE2__)
/// Sixteen units packed to bytes, and the mask of those that are not direct. Units above
/// 0x7F pack to bytes that compare below 0x20 as signed, like the controls.
unsigned NotDirect16(const char16_t* p, __m128i& packed) {
  __m128i v = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)));
  packed = v;
  auto is = [&v](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  __m128i control = _mm_andnot_si128(_mm_or_si128(is('\t'), _mm_or_si128(is('\n'), is('\r'))),
                                     _mm_cmplt_epi8(v, _mm_set1_epi8(0x20)));
  __m128i bad = _mm_or_si128(_mm_or_si128(is('+'), is('\\')),
                             _mm_or_si128(_mm_or_si128(is('~'), is(0x7F)), control));
  return static_cast<unsigned>(_mm_movemask_epi8(bad));
}
#endif

/// Copies the leading direct characters of [p, end), sixteen at a time where it can
/// (writing up to sixteen bytes past the count); returns how many.
size_t DirectRun(const char16_t* p, const char16_t* end, char* out) {
  const char16_t* start = p;
#if defined(__SSE2__)
  for (__m128i packed; end - p >= 16; p += 16, out += 16) {
    unsigned notDirect = NotDirect16(p, packed);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), packed);
    if (notDirect != 0)
      return static_cast<size_t>(p - start) + static_cast<size_t>(__builtin_ctz(notDirect));
  }
#endif
  while (p < end && IsDirect(*p)) *out++ = static_cast<char>(*p++);
  return static_cast<size_t>(p - start);
}

/// The shifted run after a '+' at p[-1]; writes its units (or the '+' itself when nothing
/// is shifted) and U+FFFD for a run that ends in the middle of a unit.
char16_t* DecodeShift(const unsigned char*& p, const unsigned char* end, char16_t* out) {
  if (p < end && *p == '-') {  // "+-" is the plus sign
    ++p;
    *out++ = u'+';
    return out;
  }
  const unsigned char* start = p;
  uint32_t bits = 0;
  int bitCount = 0;
  for (int v; p < end && (v = kBase64Values[*p]) >= 0; ++p) {
    bits = (bits << 6 | static_cast<uint32_t>(v)) & 0x3FFFFF;
    bitCount += 6;
    if (bitCount >= 16) {
      bitCount -= 16;
      *out++ = static_cast<char16_t>(bits >> bitCount);
    }
  }
  if (p == start) {  // a shift with nothing shifted: keep the sign
    *out++ = u'+';
    return out;
  }
  // Left-over bits must be fewer than six and zero; anything else was cut or garbled.
  if (bitCount >= 6 || (bits & ((1u << bitCount) - 1)) != 0) *out++ = kReplacement;
  if (p < end && *p == '-') ++p;
  return out;
}

/// Two base64 characters for every twelve bits, the first in the low byte, so that one
/// lookup writes two characters in memory order.
constexpr std::array<uint16_t, 4096> kBase64Pairs = [] {
  std::array<uint16_t, 4096> pairs{};
  for (unsigned i = 0; i < 4096; ++i)
    pairs[i] = static_cast<uint16_t>(static_cast<unsigned char>(kBase64[i >> 6]) |
                                     static_cast<unsigned char>(kBase64[i & 63]) << 8);
  return pairs;
}();

/// Writes `count` base64 characters of the top bits of `bits` with one eight-byte store.
char* StoreBase64(char* out, uint64_t bits, int count) {
  uint64_t chars = uint64_t{kBase64Pairs[bits >> 52]} |
                   uint64_t{kBase64Pairs[(bits >> 40) & 0xFFF]} << 16 |
                   uint64_t{kBase64Pairs[(bits >> 28) & 0xFFF]} << 32 |
                   uint64_t{kBase64Pairs[(bits >> 16) & 0xFFF]} << 48;
  std::memcpy(out, &chars, 8);
  return out + count;
}

}  // namespace

WideString DecodeUtf7(std::string_view bytes) {
  return DecodeBytes<AsciiStops::Plus>(
      bytes, [](const unsigned char*& p, const unsigned char* end, char16_t* out) {
        if (*p++ != '+') {
          *out++ = kReplacement;  // eight-bit bytes have no place in UTF-7
          return out;
        }
        return DecodeShift(p, end, out);
      });
}

AnsiString EncodeUtf7(WideView text) {
  // A shifted run of k units takes 2 + ceil(8k / 3) bytes and follows a direct unit
  // (or starts the text): never more than three bytes a unit, two more at the start,
  // and sixteen to spare for the wide stores.
  AnsiString bytes(text.size() * 3 + 2 + 16, '\0');
  char* out = bytes.data();
  const char16_t* p = text.data();
  const char16_t* end = p + text.size();
  while (p < end) {
    if (IsDirect(*p)) {
      size_t n = DirectRun(p, end, out);
      p += n;
      out += n;
      continue;
    }
    *out++ = '+';
    if (*p == u'+' && (p + 1 == end || IsDirect(p[1]))) {  // "+-" is the plus sign
      ++p;
      *out++ = '-';
      continue;
    }
    // A run takes in plus signs too, so that it ends only at a direct character: that
    // keeps every run behind a direct character (or the start), and the bound above.
    const char16_t* runEnd = p;
    while (runEnd < end && !IsDirect(*runEnd)) ++runEnd;
    for (; runEnd - p >= 3; p += 3) {  // three units are exactly eight base64 characters
      uint64_t block = uint64_t{p[0]} << 32 | uint64_t{p[1]} << 16 | p[2];
      out = StoreBase64(out, block << 16, 8);
    }
    // The rest of the run (0, 1 or 2 units, padded with zero bits) and the closing '-'.
    size_t rest = static_cast<size_t>(runEnd - p);
    uint64_t tail = rest == 0   ? 0
                    : rest == 1 ? uint64_t{p[0]} << 48
                                : (uint64_t{p[0]} << 16 | p[1]) << 32;
    out = StoreBase64(out, tail, rest == 0 ? 0 : rest == 1 ? 3 : 6);
    *out++ = '-';
    p = runEnd;
  }
  bytes.resize(static_cast<size_t>(out - bytes.data()));
  return bytes;
}

}  // namespace magna::platform::detail
