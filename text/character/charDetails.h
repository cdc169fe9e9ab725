#pragma once
// The character details: for the user-perceived character at the caret (one
// grapheme cluster, the code unit at the caret inside it) its code points with
// their Unicode data, its codes in Shift_JIS, EUC-JP and ISO-2022-JP and its
// JIS X 0208 row and cell, its UTF-16, UTF-8 and UTF-32 forms, and its other
// width. Plain C++: the text comes from the caller's stretch around the caret,
// never from the whole text.
//
// The legacy codes go through the program's own code pages, the Shift_JIS one
// by the status line's rule, so that both always say the same: a character has a
// code where every code unit has an exact mapping and the bytes read back as the
// character.
//
// Typical use:
//   TTextAroundCaret around{memo.GetTextRange(start, caret - start), memo.GetTextAtCaret(64), ...};
//   TCharDetails details = DescribeCharAtCaret(around);

#include <optional>
#include <vector>

#include "platform/myBase.h"
#include "text/character/widthForm.h"

namespace magna {

/// How much text the details ask for on either side of the caret.
constexpr int kDetailsUnitsBefore = 32;
constexpr int kDetailsUnitsAfter = 64;

/// A bounded stretch of the text around the caret.
struct TTextAroundCaret {
  WideString Before;          // the code units just before the caret
  WideString After;           // from the caret on, as the status line reads it
  bool BeforeIsWhole = true;  // Before starts where the text starts
  bool AfterIsWhole = true;   // After ends where its line (and any cluster) ends
};

struct TCodePointDetails {
  char32_t Code = 0;     // a lone surrogate is its own code unit
  bool AtCaret = false;  // the code point that the status line shows
  std::string Name;
  std::string Category;
  std::string Block;
  std::string Script;
  friend bool operator==(const TCodePointDetails&, const TCodePointDetails&) = default;
};

/// One legacy code, absent where the character has none.
using TBytes = std::optional<AnsiString>;

/// JIS X 0208 row and cell (区点).
struct TRowCell {
  int Row = 0;
  int Cell = 0;
  friend bool operator==(const TRowCell&, const TRowCell&) = default;
};

struct TCharDetails {
  WideString Cluster;       // empty: nothing follows the caret
  bool CutAtStart = false;  // the cluster goes on beyond the stretch asked for
  bool CutAtEnd = false;
  std::vector<TCodePointDetails> CodePoints;
  TBytes ShiftJis;
  TBytes EucJp;
  TBytes Iso2022Jp;  // with its escape sequences
  std::optional<TRowCell> RowCell;
  TOtherWidth OtherWidth;
  friend bool operator==(const TCharDetails&, const TCharDetails&) = default;
};

/// The details of the cluster that holds the first code unit after the caret.
TCharDetails DescribeCharAtCaret(const TTextAroundCaret& around);

/// The details of a text taken as one whole character (a cluster), the first code
/// point marked as the one at the caret.
TCharDetails DescribeCluster(WideView cluster);

}  // namespace magna
