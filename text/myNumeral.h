#pragma once
// Comparison of texts with embedded numbers by value: file2 < file10, and in the
// full form also 第二章 < 第十章, ② < ⑫, 壱 < 弐. Not strict weak orders: never hand
// them to std::sort; TMyWStrings' merge sort is the sorter.

#include <cstdint>

#include "platform/myBase.h"

namespace magna {

void SplitNumeral(const WideString& text, WideString& prefix, int64_t& value, WideString& rest);
int CompareNumeralText(const WideString& a, const WideString& b);
int CompareNumeralPath(const WideString& a, const WideString& b);
void SplitDigits(const WideString& text, WideString& prefix, WideString& digits, WideString& rest);
int CompareDigitText(const WideString& a, const WideString& b);
int CompareDigitPath(const WideString& a, const WideString& b);
/// Locale comparison ignoring case and non-spacing marks, punctuation as ordinary characters.
int CompareLocaleText(const WideString& a, const WideString& b);

}  // namespace magna
