// Numbers: the tolerant integer parse, range clamping, word splitting, rectangle sizes.

#include <optional>

#include "text/myUtils.h"

namespace magna {

namespace {

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Up to 16 upper-case hexadecimal digits, using all 64 bits.
std::optional<uint64_t> ParseHexDigits(WideView digits) {
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  uint64_t value = 0;
  for (char16_t c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0) return std::nullopt;
    value = value << 4 | static_cast<uint64_t>(d);
  }
  return value;
}

// Decimal digits whose value, with its sign, fits the signed 64-bit range.
std::optional<uint64_t> ParseDecimalDigits(WideView digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t value = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    const uint64_t d = c - u'0';
    if (value > (limit - d) / 10) return std::nullopt;
    value = value * 10 + d;
  }
  return value;
}

// A whole 64-bit literal: spaces, a sign, then decimal digits or "$"/"0X" and hex digits.
std::optional<int64_t> ParseLiteral(WideView text) {
  size_t at = text.find_first_not_of(u' ');
  if (at == WideView::npos) return std::nullopt;
  bool negative = false;
  if (text[at] == u'+' || text[at] == u'-') negative = text[at++] == u'-';
  const WideView body = text.substr(at);
  std::optional<uint64_t> magnitude;
  if (body.starts_with(u'$'))
    magnitude = ParseHexDigits(body.substr(1));
  else if (body.starts_with(u"0X"))
    magnitude = ParseHexDigits(body.substr(2));
  else
    magnitude = ParseDecimalDigits(body, negative);
  if (!magnitude) return std::nullopt;
  // Two's complement wrap: "$FFFFFFFFFFFFFFFF" is -1, "-9223372036854775808" the minimum.
  return static_cast<int64_t>(negative ? uint64_t{0} - *magnitude : *magnitude);
}

// The number a sloppy text holds: signs and "$" only in front, thousands
// separators skipped, a hexadecimal letter turns the number hexadecimal.
WideString CleanedNumber(WideView text) {
  static constexpr WideView kAlphabet = u"$X-+, 0123456789ABCDEF";
  WideString collected;
  for (char16_t c : text) {
    if (kAlphabet.find(c) == WideView::npos) break;
    if (c == u',') continue;
    if (c == u'$' || c == u'X') {
      if (!collected.empty()) break;
      collected = u"$";
    } else if (c == u'-' || c == u'+') {
      if (!collected.empty()) break;
      collected = c;
    } else if (c == u' ') {
      if (!collected.empty()) break;
    } else if (c >= u'0' && c <= u'9') {
      collected += c;
    } else if (collected.starts_with(u'$')) {
      collected += c;
    } else {
      collected = u"$" + collected + c;
    }
  }
  return collected;
}

}  // namespace

int64_t ParseInteger(const WideString& text) {
  const WideString prepared = platform::UpperCase(ToHalfWidth(TrimBlanks(text)));
  if (const auto value = ParseLiteral(prepared)) return *value;
  const WideString cleaned = CleanedNumber(prepared);
  if (cleaned.empty()) return 0;
  return ParseLiteral(cleaned).value_or(0);
}

namespace {
// The lower bound is checked first: with min > max, values below min give min, others max.
template <class Int>
Int Clamp(Int value, Int min, Int max) {
  if (min == max || value < min) return min;
  if (value > max) return max;
  return value;
}
}  // namespace

int32_t EnsureRange(int32_t value, int32_t min, int32_t max) {
  return Clamp(value, min, max);
}
int64_t EnsureRange(int64_t value, int64_t min, int64_t max) {
  return Clamp(value, min, max);
}

void SplitLongToWords(int32_t value, int16_t& high, int16_t& low) {
  high = static_cast<int16_t>(value >> 16);
  low = static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}

namespace {
int32_t CheckedDifference(int32_t to, int32_t from) {
  const int64_t difference = int64_t{to} - int64_t{from};
  if (difference < INT32_MIN || difference > INT32_MAX) throw EIntOverflow("Integer overflow");
  return static_cast<int32_t>(difference);
}
}  // namespace

int32_t RectWidth(const TRect& r) {
  return CheckedDifference(r.Right, r.Left);
}
int32_t RectHeight(const TRect& r) {
  return CheckedDifference(r.Bottom, r.Top);
}

WideString ToHalfWidth(const WideString& text) {
  return platform::ToHalfWidthMap(text);
}

}  // namespace magna
