// Decimal text of the INI file's floating-point values. The C library's
// conversions follow the current numeric locale (LC_NUMERIC), which the program
// never changes from what its start-up made of the user's locale; reading and
// writing therefore agree on the decimal point.

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/myIniFile.h"
#include "text/myUtils.h"

namespace magna {

namespace {

char LocaleDecimalPoint() {
  const char* point = std::localeconv()->decimal_point;
  return point && std::strlen(point) == 1 ? point[0] : '.';
}

bool IsNumberCharacter(char16_t c, char point) {
  return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'e' || c == u'E' ||
         c == static_cast<unsigned char>(point);
}

}  // namespace

WideString FloatToText(long double value) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
  if (length <= 0) return {};
  return WideString(buffer,
                    buffer + std::min<size_t>(static_cast<size_t>(length), sizeof buffer - 1));
}

std::optional<long double> TextToFloat(const WideString& text) {
  const WideString trimmed = TrimBlanks(text);
  if (trimmed.empty()) return std::nullopt;
  const char point = LocaleDecimalPoint();
  std::string narrow;
  narrow.reserve(trimmed.size());
  for (char16_t c : trimmed) {
    // Only signs, digits, exponent letters and the decimal point: strtold's
    // "inf", "nan" and hexadecimal forms are no numbers in the settings file.
    if (!IsNumberCharacter(c, point)) return std::nullopt;
    narrow += static_cast<char>(c);
  }
  char* end = nullptr;
  const long double value = std::strtold(narrow.c_str(), &end);
  if (end != narrow.c_str() + narrow.size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace magna
