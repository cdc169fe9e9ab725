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

/// Set D, set O and the white space RFC 2152 lets stand for themselves ('+' excepted);
/// the last entry stands for every unit from 0x80 up.
constexpr std::array<bool, 129> DirectSet() {
  std::array<bool, 129> direct{};
  for (int c = 'A'; c <= 'Z'; ++c) direct[c] = direct[c + 32] = true;
  for (int c = '0'; c <= '9'; ++c) direct[c] = true;
  for (char c : std::string_view("'(),-./:? \t\r\n!\"#$%&*;<=>@[]^_`{|}"))
    direct[static_cast<unsigned char>(c)] = true;
  return direct;
}

constexpr std::array<bool, 129> kDirect = DirectSet();

/// Where a shifted run ends: at a direct character, or at the zero unit that ends the text.
constexpr std::array<bool, 129> kEndsRun = [] {
  std::array<bool, 129> ends = DirectSet();
  ends[0] = true;
  return ends;
}();

bool IsDirect(char16_t c) {
  return kDirect[std::min<unsigned>(c, 0x80)];
}

bool EndsRun(char16_t c) {
  return kEndsRun[std::min<unsigned>(c, 0x80)];
}

#if MAGNA_SSE2
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
#if MAGNA_SSE2
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

/// Eight base64 characters at p as three units; false, with nothing written, when one of
/// them is not a base64 character.
bool DecodeBase64Block(const unsigned char* p, char16_t* out) {
  uint64_t bits = 0;
  int invalid = 0;
  for (int i = 0; i < 8; ++i) {
    const int v = kBase64Values[p[i]];
    invalid |= v;
    bits = bits << 6 | static_cast<uint64_t>(v & 63);
  }
  if (invalid < 0) return false;
  out[0] = static_cast<char16_t>(bits >> 32);
  out[1] = static_cast<char16_t>(bits >> 16);
  out[2] = static_cast<char16_t>(bits);
  return true;
}

/// UTF-7's state between chunks: whether a shift is open, and its bits so far.
struct Utf7Reader {
  bool inShift = false;
  bool shiftedAny = false;  // the open shift has base64 characters
  uint32_t bits = 0;
  int bitCount = 0;

  char16_t* operator()(const unsigned char*& p, const unsigned char* end, char16_t* out,
                       const char16_t* limit) {
    while (p < end && out < limit) {
      if (inShift) {
        out = ContinueShift(p, end, out, limit);
      } else if (*p == '+') {
        ++p;
        if (p < end && *p == '-') {  // "+-" is the plus sign
          ++p;
          *out++ = u'+';
        } else {
          *this = Utf7Reader{true};
        }
      } else if (*p >= 0x80) {
        ++p;
        *out++ = kReplacement;  // eight-bit bytes have no place in UTF-7
      } else {
        size_t n = WidenAscii<AsciiStops::Plus>(p, p + std::min<size_t>(end - p, limit - out), out);
        p += n;
        out += n;
      }
    }
    // The end of the text ends an open shift.
    if (p == end && inShift) out = ContinueShift(p, end, out, limit);
    return out;
  }

  /// The shifted units from p on, while out < limit; at the shift's end the sign itself
  /// (nothing shifted), or U+FFFD for a run that ends in the middle of a unit.
  char16_t* ContinueShift(const unsigned char*& p, const unsigned char* end, char16_t* out,
                          const char16_t* limit) {
    // Where a unit starts, eight characters at a time are three whole units.
    if (bitCount == 0)
      for (; end - p >= 8 && out < limit && DecodeBase64Block(p, out); p += 8, out += 3)
        shiftedAny = true;
    for (int v; p < end && out < limit && (v = kBase64Values[*p]) >= 0; ++p) {
      bits = (bits << 6 | static_cast<uint32_t>(v)) & 0x3FFFFF;
      bitCount += 6;
      shiftedAny = true;
      if (bitCount >= 16) {
        bitCount -= 16;
        *out++ = static_cast<char16_t>(bits >> bitCount);
      }
    }
    if (p < end && kBase64Values[*p] >= 0) return out;  // the chunk is full: go on later
    inShift = false;
    if (!shiftedAny) {  // a shift with nothing shifted: keep the sign
      *out++ = u'+';
      return out;
    }
    // Left-over bits must be fewer than six and zero; anything else was cut or garbled.
    if (bitCount >= 6 || (bits & ((1u << bitCount) - 1)) != 0) *out++ = kReplacement;
    if (p < end && *p == '-') ++p;
    return out;
  }
};

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
  return DecodeInChunks(bytes, Utf7Reader{});
}

namespace {

/// Writes the shifted run from p, the units up to the next direct character or zero unit,
/// while out < limit: three units are eight base64 characters; the last one or two units
/// (padded with zero bits) and the closing '-' once the run is done. Returns the new out;
/// `open` stays true when the chunk filled first.
char* WriteShiftedRun(const char16_t*& p, const char16_t* end, char* out, const char* limit,
                      bool& open) {
  for (; end - p >= 3 && out < limit; p += 3) {
    // Units from 0x80 up (kana, kanji) never end a run: one test for the three, so that
    // only the run's end is a branch taken.
    if (std::min({p[0], p[1], p[2]}) < 0x80 && (EndsRun(p[0]) | EndsRun(p[1]) | EndsRun(p[2])))
      break;
    uint64_t block = uint64_t{p[0]} << 32 | uint64_t{p[1]} << 16 | p[2];
    out = StoreBase64(out, block << 16, 8);
  }
  if (out >= limit) return out;
  // The run's length is as good as random: its last units are taken without a branch,
  // the end of the text reading as a zero unit.
  const char16_t u0 = p < end ? p[0] : 0;
  const char16_t u1 = end - p >= 2 ? p[1] : 0;
  const uint64_t first = !EndsRun(u0);
  const uint64_t second = first & !EndsRun(u1);
  const uint64_t tail = (uint64_t{u0} << 48 & (0 - first)) | (uint64_t{u1} << 32 & (0 - second));
  out = StoreBase64(out, tail, static_cast<int>(3 * (first + second)));
  p += first + second;
  *out++ = '-';
  open = false;
  return out;
}

}  // namespace

// The text ends at its first zero unit, found on the way rather than by a pass of its
// own: a zero unit is never direct, so only the places where a direct run or a shifted
// run stops look for it.
AnsiString EncodeUtf7(WideView text) {
  ChunkedOutput<char> output(text.size());
  const char16_t* p = text.data();
  const char16_t* end = p + text.size();
  bool open = false;  // a shifted run is being written
  while (p < end) {
    char* out = output.Begin();
    const char* limit = output.Limit();
    while (p < end && out < limit) {
      if (open) {
        out = WriteShiftedRun(p, end, out, limit, open);
        continue;
      }
      // Direct characters up to the next that is not (or to the end of the chunk).
      const size_t n = DirectRun(p, p + std::min<size_t>(end - p, limit - out), out);
      p += n;
      out += n;
      if (p == end || out >= limit) continue;
      if (*p == 0) {
        end = p;
      } else if (*p == u'+' && (p + 1 == end || EndsRun(p[1]))) {  // "+-" is the plus sign
        ++p;
        *out++ = '+';
        *out++ = '-';
      } else {
        // A run takes in plus signs too, so that it ends only at a direct character.
        *out++ = '+';
        open = true;
      }
    }
    // Past a zero unit nothing more is read: the result is sized for what is written.
    output.Flush(out, p == end ? text.size() : static_cast<size_t>(p - text.data()));
  }
  return output.Take();
}

}  // namespace magna::platform::detail
