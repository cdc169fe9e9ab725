#pragma once
// The status line's formatter: from the one or two UTF-16 code units at the caret
// to the four captions under the text area and the marking of control characters.
// Pure: it reads nothing but what the caller's fetch function hands it, asks it for
// at most two code units, and never reads past what it was given.
// Typical use:
//   TStatusCaptions c = FormatStatusLine([&](int n) { return memo.GetTextAtCaret(n); });

#include <functional>

#include "platform/myBase.h"

namespace magna {

/// What the four status labels show.
struct TStatusCaptions {
  WideString Char;          // Label_StatusChar: the character or its name
  WideString Ansi;          // Label_StatusAnsi: "SJIS 0x82A0"
  WideString Unicode;       // Label_StatusUnicode: "UTF16 U+3042"
  WideString Utf8;          // Label_StatusUtf8: "UTF8 U+E38182 11100011 10000001 10000010"
  bool CharMarked = false;  // Label_StatusChar on cyan (control characters and DEL)
  friend bool operator==(const TStatusCaptions&, const TStatusCaptions&) = default;
};

/// Up to n code units at the caret; empty when nothing follows the caret.
using TTextAtCaret = std::function<WideString(int n)>;

/// The captions for the text at the caret; all empty and unmarked when there is none.
/// An unpaired surrogate shows its code unit alone, with "SJIS -" and "UTF8 -".
TStatusCaptions FormatStatusLine(const TTextAtCaret& textAtCaret);

/// "UTF8 U+<hex> <bits>" for the UTF-8 bytes of the text; empty for no bytes.
WideString UTF8Caption(WideView text);

/// The name Label_StatusChar shows for a code unit, empty when it has none.
WideString StatusCharName(char16_t unit);

}  // namespace magna
