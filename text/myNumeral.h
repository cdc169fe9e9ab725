#pragma once
// Comparison of texts with embedded numbers by value: file2 < file10, and in the
// full form also 第二章 < 第十章, ② < ⑫, 壱 < 弐. Each is antisymmetric and transitive
// over texts of any width, kana type and marks; only numbers beyond 64 bits fall back to
// the whole-text comparison, which breaks that. TMyWStrings' merge sort is the sorter.
// Texts equal ignoring case (or prefixes equal ignoring case and marks) go by length,
// the longer first, then by their upper-case forms code unit by code unit. A text that
// starts with a number sorts where "0" sorts among the texts that do not.

#include <cstdint>

#include "platform/myBase.h"

namespace magna {

/// Out: the text before its first number, the number's value (any of the numeral
/// forms above) and the text after it; the whole text, 0 and the empty text when it
/// has none. Any output may be the input itself.
void SplitNumeral(const WideString& text, WideString& prefix, int64_t& value, WideString& rest);
/// -1, 0 or 1, numbers of every numeral form by value.
int CompareNumeralText(const WideString& a, const WideString& b);
/// As CompareNumeralText, the folder parts (SplitPath) first, then the names; case ignored.
int CompareNumeralPath(const WideString& a, const WideString& b);
/// Out: as SplitNumeral for ASCII digits only, the digits kept as text.
void SplitDigits(const WideString& text, WideString& prefix, WideString& digits, WideString& rest);
/// -1, 0 or 1, runs of ASCII digits by value.
int CompareDigitText(const WideString& a, const WideString& b);
/// As CompareDigitText, the folder parts (SplitPath) first, then the names.
int CompareDigitPath(const WideString& a, const WideString& b);
/// Locale comparison ignoring case and non-spacing marks (only those: width and kana type
/// count), punctuation as ordinary characters. An order.
int CompareLocaleText(const WideString& a, const WideString& b);

}  // namespace magna
