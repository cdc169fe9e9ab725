// Code page 65000: UTF-7 (RFC 2152). Code units are carried as they are, so a lone
// surrogate survives a round trip.
#include <algorithm>
#include <array>

#include "platform/codePageAscii.h"
#include "platform/codePageCodecs.h"

namespace magna::platform::detail {

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> kBase64Values = [] {
  std::array<int8_t, 256> values{};
  for (auto& v : values) v = -1;
  for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(kBase64[i])] = static_cast<int8_t>(i);
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

bool IsDirect(char16_t c) { return c < 0x80 && kDirect[c]; }

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
  // (or starts the text): never more than three bytes a unit, two more at the start.
  AnsiString bytes(text.size() * 3 + 2, '\0');
  char* out = bytes.data();
  const char16_t* p = text.data();
  const char16_t* end = p + text.size();
  while (p < end) {
    if (IsDirect(*p)) {
      // Whole blocks of ASCII are written first and kept as far as they are direct.
      for (size_t n; (n = NarrowAsciiBlocks(p, std::min(end, p + 16), out)) == 16;) {
        bool allDirect = true;
        for (int k = 0; k < 16; ++k) allDirect &= kDirect[p[k]];
        if (!allDirect) break;
        p += 16;
        out += 16;
      }
      while (p < end && IsDirect(*p)) *out++ = static_cast<char>(*p++);
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
    auto shifted = [end](const char16_t* q) { return q < end && !IsDirect(*q); };
    // Three units are exactly eight base64 characters.
    for (; shifted(p) && shifted(p + 1) && shifted(p + 2); p += 3) {
      uint64_t block = uint64_t{p[0]} << 32 | uint64_t{p[1]} << 16 | p[2];
      for (int shift = 42; shift >= 0; shift -= 6) *out++ = kBase64[(block >> shift) & 63];
    }
    uint32_t bits = 0;
    int bitCount = 0;
    for (; shifted(p); ++p) {
      bits = (bits << 16 | *p) & 0xFFFFFF;
      bitCount += 16;
      for (; bitCount >= 6; bitCount -= 6) *out++ = kBase64[(bits >> (bitCount - 6)) & 63];
    }
    if (bitCount > 0) *out++ = kBase64[(bits << (6 - bitCount)) & 63];
    *out++ = '-';
  }
  bytes.resize(static_cast<size_t>(out - bytes.data()));
  return bytes;
}

}  // namespace magna::platform::detail
