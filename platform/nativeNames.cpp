#include "platform/nativeNames.h"

#include <cstdint>

#include "platform/codepage/codePage.h"

namespace magna::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + the byte, for bytes 0x80..0xFF

bool IsContinuation(unsigned b) {
  return (b & 0xC0) == 0x80;
}

/// The length of the well-formed UTF-8 sequence at `at` (Unicode table 3-7), 0 when
/// the lead byte does not start one.
size_t WellFormedLength(std::string_view bytes, size_t at) {
  const unsigned lead = static_cast<unsigned char>(bytes[at]);
  size_t length = 0;
  unsigned low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no encoded surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || bytes.size() - at < length) return 0;
  const unsigned second = static_cast<unsigned char>(bytes[at + 1]);
  if (second < low || second > high) return 0;
  for (size_t k = 2; k < length; ++k)
    if (!IsContinuation(static_cast<unsigned char>(bytes[at + k]))) return 0;
  return length;
}

void AppendCodePoint(WideString& out, uint32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
    return;
  }
  out += static_cast<char16_t>(0xD7C0 + (c >> 10));
  out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
}

bool IsHighSurrogate(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

WideString NativeNameToWide(std::string_view bytes) {
  WideString out;
  out.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();) {
    const unsigned lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      ++at;
      continue;
    }
    const size_t length = WellFormedLength(bytes, at);
    if (length == 0) {
      out += static_cast<char16_t>(kEscapeBase + lead);
      ++at;
      continue;
    }
    uint32_t c = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
      c = c << 6 | (static_cast<unsigned char>(bytes[at + k]) & 0x3F);
    AppendCodePoint(out, c);
    at += length;
  }
  return out;
}

std::string WideToNativeName(WideView text) {
  std::string out;
  out.reserve(text.size());
  size_t runStart = 0;  // text not yet written, free of escapes
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;  // a pair, even when its low half looks like an escape
    } else if ((u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) || u == 0) {
      // The code page ends its text at U+0000: that one is written here too.
      out += WideToMultiByte(CP_UTF8, text.substr(runStart, i - runStart));
      out += static_cast<char>(u - (u == 0 ? 0 : kEscapeBase));
      runStart = i + 1;
    }
  }
  out += WideToMultiByte(CP_UTF8, text.substr(runStart));
  return out;
}

}  // namespace magna::platform
