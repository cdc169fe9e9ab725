#include "platform/codepage/codePageWestern.h"

namespace magna::platform {

namespace {

// Windows-1252 at 0x80..0x9F; 0 where undefined.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98
};

}  // namespace

WideString Latin1ToWide(std::string_view bytes) {
  WideString text(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
  return text;
}

WideString Windows1252ToWide(std::string_view bytes, bool strict) {
  WideString text = Latin1ToWide(bytes);
  for (char16_t& u : text) {
    if (u < 0x80 || u > 0x9F) continue;
    const char16_t mapped = kHigh1252[u - 0x80];
    if (mapped != 0) {
      u = mapped;
    } else if (strict) {
      u = 0xFFFD;
    }
  }
  return text;
}

int WesternByteOf(char16_t unit) {
  if (unit < 0x100) return unit;
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == unit) return 0x80 + i;
  return -1;
}

}  // namespace magna::platform
