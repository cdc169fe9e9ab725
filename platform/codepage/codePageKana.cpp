// Half-width katakana to full-width, with the sound marks joined as a reader expects.
#include "platform/codepage/codePageCodecs.h"

namespace magna::platform::detail {

namespace {

// U+FF61 .. U+FF9F in order.
constexpr char16_t kFullWidth[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};
static_assert(sizeof kFullWidth / sizeof kFullWidth[0] == 0xFF9F - 0xFF61 + 1);

constexpr char16_t kVoicedMark = 0xFF9E;
constexpr char16_t kSemiVoicedMark = 0xFF9F;

bool TakesVoicedMark(char16_t half) {
  return (half >= 0xFF76 && half <= 0xFF84) || (half >= 0xFF8A && half <= 0xFF8E);
}

}  // namespace

char16_t FullWidthKana(WideView text, size_t i, size_t& used) {
  char16_t half = text[i];
  char16_t full = kFullWidth[half - 0xFF61];
  char16_t mark = i + 1 < text.size() ? text[i + 1] : 0;
  used = 2;
  if (mark == kVoicedMark && half == 0xFF73) return 0x30F4;  // ｳﾞ -> ヴ
  if (mark == kVoicedMark && TakesVoicedMark(half)) return static_cast<char16_t>(full + 1);
  if (mark == kSemiVoicedMark && half >= 0xFF8A && half <= 0xFF8E)
    return static_cast<char16_t>(full + 2);
  used = 1;
  return full;
}

}  // namespace magna::platform::detail
