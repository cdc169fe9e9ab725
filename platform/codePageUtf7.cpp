// Code page 65000: UTF-7 (RFC 2152). Code units are carried as they are, so a lone
// surrogate survives a round trip.
#include "platform/codePageCodecs.h"

namespace magna::platform::detail {

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

/// Set D, set O and the white space RFC 2152 lets stand for themselves ('+' excepted).
bool IsDirect(char16_t c) {
  if (c >= 0x80) return false;
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::u16string_view(u"'(),-./:? \t\r\n!\"#$%&*;<=>@[]^_`{|}").find(c) !=
         std::u16string_view::npos;
}

}  // namespace

WideString DecodeUtf7(std::string_view bytes) {
  WideString text;
  text.reserve(bytes.size());
  size_t i = 0, n = bytes.size();
  while (i < n) {
    auto c = static_cast<unsigned char>(bytes[i++]);
    if (c != '+') {
      text += c < 0x80 ? static_cast<char16_t>(c) : kReplacement;
      continue;
    }
    if (i < n && bytes[i] == '-') {  // "+-" is the plus sign
      text += u'+';
      ++i;
      continue;
    }
    size_t runStart = i;
    uint32_t bits = 0;
    int bitCount = 0;
    for (int v; i < n && (v = Base64Value(static_cast<unsigned char>(bytes[i]))) >= 0; ++i) {
      bits = (bits << 6 | static_cast<uint32_t>(v)) & 0x3FFFFF;
      bitCount += 6;
      if (bitCount >= 16) {
        bitCount -= 16;
        text += static_cast<char16_t>(bits >> bitCount);
      }
    }
    if (i == runStart) {  // a shift with nothing shifted: keep the sign
      text += u'+';
      continue;
    }
    // Left-over bits must be fewer than six and zero; anything else was cut or garbled.
    if (bitCount >= 6 || (bits & ((1u << bitCount) - 1)) != 0) text += kReplacement;
    if (i < n && bytes[i] == '-') ++i;
  }
  return text;
}

AnsiString EncodeUtf7(WideView text) {
  AnsiString bytes;
  bytes.reserve(text.size() * 3);
  for (size_t i = 0, n = text.size(); i < n;) {
    char16_t c = text[i];
    if (IsDirect(c)) {
      bytes += static_cast<char>(c);
      ++i;
      continue;
    }
    if (c == u'+') {
      bytes += "+-";
      ++i;
      continue;
    }
    bytes += '+';
    uint32_t bits = 0;
    int bitCount = 0;
    for (; i < n && !IsDirect(text[i]) && text[i] != u'+'; ++i) {
      bits = (bits << 16 | text[i]) & 0xFFFFFF;
      bitCount += 16;
      for (; bitCount >= 6; bitCount -= 6) bytes += kBase64[(bits >> (bitCount - 6)) & 63];
    }
    if (bitCount > 0) bytes += kBase64[(bits << (6 - bitCount)) & 63];
    bytes += '-';
  }
  return bytes;
}

}  // namespace magna::platform::detail
