#pragma once
// The character details as the panel lists them: a caption and a value per row,
// the captions in Japanese, "—" where the character has no such code. The
// UTF-16 and UTF-8 values read as the status line writes them, without its
// leading "UTF16" and "UTF8"; the Shift_JIS value too, for all the bytes.

#include <vector>

#include "text/character/charDetails.h"

namespace magna {

struct TDetailRow {
  WideString Caption;
  WideString Value;
  bool Part = false;  // a property of the code point row above it
  friend bool operator==(const TDetailRow&, const TDetailRow&) = default;
};

/// The value of a code the character does not have.
inline constexpr char16_t kNoCode[] = u"—";

/// The rows of the details: the codes of the whole character first, then each
/// code point with its properties. No rows when nothing follows the caret.
std::vector<TDetailRow> CharDetailRows(const TCharDetails& details);

/// What stands for the character in large type: the character itself, or the
/// status line's names where it is made of control or space characters ("CR LF").
WideString CharDetailsTitle(const TCharDetails& details);

/// Bytes as "0x82A0"; an empty text for no bytes.
WideString HexBytes(std::string_view bytes);
/// Bytes as "1B 24 42 30 21 1B 28 42".
WideString SpacedHexBytes(std::string_view bytes);
/// "U+304B", at least four digits.
WideString CodePointLabel(char32_t code);

}  // namespace magna
