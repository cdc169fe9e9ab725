#include "text/character/unicodeProperties.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <array>

namespace magna {

namespace {

/// ICU's property value names spell blanks as underscores.
std::string Spaced(const char* name) {
  std::string out = name ? name : "";
  std::replace(out.begin(), out.end(), '_', ' ');
  return out;
}

std::string CharNameOfChoice(char32_t code, UCharNameChoice choice) {
  std::array<char, 128> buffer{};  // the longest name has 88 characters
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      u_charName(UChar32(code), choice, buffer.data(), int32_t(buffer.size()), &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return std::string(buffer.data(), size_t(std::min<int32_t>(length, int32_t(buffer.size()))));
}

std::string PropertyValueName(UProperty property, int32_t value, UPropertyNameChoice choice) {
  return Spaced(u_getPropertyValueName(property, value, choice));
}

}  // namespace

std::string UnicodeName(char32_t code) {
  for (UCharNameChoice choice : {U_UNICODE_CHAR_NAME, U_CHAR_NAME_ALIAS, U_EXTENDED_CHAR_NAME}) {
    std::string name = CharNameOfChoice(code, choice);
    if (!name.empty()) return name;
  }
  return "<unknown>";
}

std::string UnicodeCategory(char32_t code) {
  const int32_t type = u_charType(UChar32(code));
  return PropertyValueName(UCHAR_GENERAL_CATEGORY, type, U_SHORT_PROPERTY_NAME) + " (" +
         PropertyValueName(UCHAR_GENERAL_CATEGORY, type, U_LONG_PROPERTY_NAME) + ")";
}

std::string UnicodeBlock(char32_t code) {
  return PropertyValueName(UCHAR_BLOCK, ublock_getCode(UChar32(code)), U_LONG_PROPERTY_NAME);
}

std::string UnicodeScript(char32_t code) {
  UErrorCode status = U_ZERO_ERROR;
  const UScriptCode script = uscript_getScript(UChar32(code), &status);
  if (U_FAILURE(status)) return "Unknown";
  std::string out = Spaced(uscript_getName(script));
  std::array<UScriptCode, 32> extensions{};
  status = U_ZERO_ERROR;
  const int32_t count = uscript_getScriptExtensions(UChar32(code), extensions.data(),
                                                    int32_t(extensions.size()), &status);
  if (U_FAILURE(status) || count <= 0 || (count == 1 && extensions[0] == script)) return out;
  out += " (";
  for (int32_t i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    out += Spaced(uscript_getName(extensions[size_t(i)]));
  }
  return out + ")";
}

}  // namespace magna
