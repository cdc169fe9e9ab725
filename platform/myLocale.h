#pragma once
// The user's locale as the program sees it: Japanese. Comparison through ICU's
// collator, upper-casing by the simple (length-preserving) mapping, and the
// full-width to half-width mapping.

#include "platform/myBase.h"

namespace magna::platform {

enum CompareFlags : unsigned {
  NORM_DEFAULT = 0,
  NORM_IGNORECASE = 0x1,
  NORM_IGNORENONSPACE = 0x2,
  SORT_STRINGSORT = 0x1000,  // punctuation and symbols compare as ordinary characters
};

/// Three-way locale comparison (-1, 0, 1) of the user's default locale.
int CompareLocale(WideView a, WideView b, unsigned flags);
/// Case-insensitive locale equality: CompareLocale(a, b, NORM_IGNORECASE) == 0,
/// mostly decided without collating.
bool SameTextLocale(WideView a, WideView b);
/// Upper case, code unit by code unit: the result has the text's length.
WideString UpperCase(WideView text);
/// The simple upper case of one code unit (itself when that is not one code unit).
char16_t UpperCaseChar(char16_t c);
/// Full-width Latin letters, digits and signs to ASCII; full-width katakana to half-width.
WideString ToHalfWidthMap(WideView text);

}  // namespace magna::platform
