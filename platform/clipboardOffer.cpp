#include "platform/clipboardOffer.h"

#include <algorithm>
#include <array>

#include "platform/codepage/codePage.h"

namespace magna::platform {

namespace {

/// Lower case without blanks: "text/plain; charset=UTF-8" and
/// "text/plain;charset=utf-8" are one format.
std::string Normalized(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    if (c == ' ' || c == '\t') continue;
    out += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
  }
  return out;
}

struct KnownFormat {
  std::string_view Normalized;
  TextEncoding Encoding;
};

// In order of preference.
constexpr std::array<KnownFormat, 7> kTextFormats{{
    {"text/plain;charset=utf-8", TextEncoding::Utf8},
    {"text/plain;charset=utf8", TextEncoding::Utf8},
    {"utf8_string", TextEncoding::Utf8},
    {"text/plain", TextEncoding::Utf8OrLatin1},
    {"text", TextEncoding::Utf8OrLatin1},
    {"string", TextEncoding::Latin1},
    {"text/plain;charset=iso-8859-1", TextEncoding::Latin1},
}};

WideString Latin1ToWide(std::string_view bytes) {
  WideString text(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), text.begin(),
                 [](char c) { return char16_t(static_cast<unsigned char>(c)); });
  return text;
}

/// Length of the well-formed UTF-8 sequence at `p` (before `end`), 0 when there is none.
size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
  const unsigned char b = *p;
  if (b < 0x80) return 1;
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;   // no overlong form
    if (b == 0xED) high = 0x9F;  // no surrogate
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (size_t(end - p) < length || p[1] < low || p[1] > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if (p[i] < 0x80 || p[i] > 0xBF) return 0;
  return length;
}

}  // namespace

std::optional<TTextFormat> ChooseTextFormat(const std::vector<std::string>& offered) {
  for (const KnownFormat& known : kTextFormats)
    for (const std::string& name : offered)
      if (Normalized(name) == known.Normalized) return TTextFormat{name, known.Encoding};
  return std::nullopt;
}

bool OffersPasswordHint(const std::vector<std::string>& offered) {
  return std::find(offered.begin(), offered.end(), kPasswordManagerHint) != offered.end();
}

bool IsSecretHint(const std::optional<std::string>& value) {
  if (!value) return true;
  const size_t first = value->find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return true;
  const size_t last = value->find_last_not_of(" \t\r\n");
  return std::string_view(*value).substr(first, last - first + 1) == "secret";
}

bool IsValidUtf8(std::string_view bytes) {
  auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const size_t length = Utf8SequenceLength(p, end);
    if (length == 0) return false;
    p += length;
  }
  return true;
}

WideString DecodeText(std::string_view bytes, TextEncoding encoding) {
  bytes = bytes.substr(0, bytes.find('\0'));
  if (encoding == TextEncoding::Latin1 ||
      (encoding == TextEncoding::Utf8OrLatin1 && !IsValidUtf8(bytes)))
    return Latin1ToWide(bytes);
  return MultiByteToWide(CP_UTF8, bytes);
}

}  // namespace magna::platform
