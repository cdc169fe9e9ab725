#pragma once
// The Western code pages Japanese text is most often misread as: ISO-8859-1 (each byte
// its own code point) and Windows-1252 (ISO-8859-1 with typographic characters at
// 0x80..0x9F). Windows and browsers read the five bytes 1252 leaves undefined (81 8D 8F
// 90 9D) as the C1 controls of the same value; stricter readers give U+FFFD, and the
// byte is lost.

#include "platform/myBase.h"

namespace magna::platform {

/// Bytes as ISO-8859-1.
WideString Latin1ToWide(std::string_view bytes);
/// Bytes as Windows-1252; an undefined byte becomes U+FFFD when `strict`, else the C1
/// control of its value.
WideString Windows1252ToWide(std::string_view bytes, bool strict);
/// The byte that reads as `unit` in Windows-1252 or in ISO-8859-1 (so both U+20AC and
/// U+0080 give 0x80); -1 when no byte does.
int WesternByteOf(char16_t unit);
/// Whether Windows-1252 leaves the byte undefined.
constexpr bool IsWindows1252Undefined(unsigned byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

}  // namespace magna::platform
