#pragma once
// The way back through a wrong decoding: the bytes a reader (Shift_JIS, EUC-JP, UTF-8,
// ISO-8859-1 or Windows-1252) read as a given text, and the reading of those bytes in
// the code they really were in, where the reader had lost some.
//
// A reader loses a byte where it has no character for it: it writes U+FFFD (or drops
// the byte). Such a place is kept as a lost place rather than guessed; reading the bytes
// in their real code then marks the character the lost bytes belonged to, taking in
// the bytes around the gap that belonged to the same character.

#include <vector>

#include "platform/myBase.h"
#include "text/repair/myRepair.h"

namespace magna::repair {

/// What a lost place may have held.
enum class LostKind : uint8_t {
  Windows1252Undefined,  // one byte of 81 8D 8F 90 9D
  Unknown,               // what one U+FFFD of a reader stands for: bytes from 0x80 up
  Unsized,               // a gap nothing tells the length of: U+FFFD side by side, or what
                         // an earlier step of a chain lost (kEarlierLoss)
};

struct LostPlace {
  size_t at;  // byte offset where the missing bytes were
  LostKind kind;
  uint8_t count = 0;  // how many bytes are missing; 0 when not known
  friend bool operator==(const LostPlace&, const LostPlace&) = default;
};

/// What a reader read as a text.
struct Unread {
  AnsiString bytes;
  /// Where each code unit's bytes start, and the end of the last: offsets[k]..offsets[k+1]
  /// are unit k's bytes (none for a U+FFFD, or for the second unit of a pair).
  std::vector<uint32_t> offsets;
  std::vector<LostPlace> lost;
  /// Offsets of two-byte Shift_JIS codes whose character other codes read as well
  /// (NEC row 13 and the IBM extensions repeat characters of other rows).
  std::vector<size_t> ambiguous;
  bool sawWindows1252 = false;  // characters only Windows-1252 reads (U+20AC ...)
  bool sawC1 = false;           // C1 controls: ISO-8859-1 (or Windows' reading of 1252)
};

/// The bytes `reader` read as `text`; false when some character is none that reader
/// makes. Latin1 and Windows1252 both take either reading. `offsets` ends with the end.
bool UnreadAs(TRepairCode reader, WideView text, Unread& out);
/// As UnreadAs, appending to what `out` holds (without the final offset); on failure
/// `out` is as it was, the flags aside.
bool UnreadAppend(TRepairCode reader, WideView text, Unread& out);

/// Every two-byte Shift_JIS code that reads as the character of the code at `code`.
const std::vector<uint16_t>& SjisCodesAlike(uint16_t code);

/// A stretch of bytes [first, second) that went into a lost place's mark.
using ByteRange = std::pair<size_t, size_t>;

/// `bytes` read in `source` (UTF8, ShiftJIS or EUCJP) with bytes missing at `lost`: each
/// lost place becomes one U+FFFD, whose offset goes to `marks`, and the bytes around it
/// that belonged to the same character go to `absorbed`. `errors` counts the bytes
/// elsewhere that could not be read.
WideString ReadWithLosses(TRepairCode source, std::string_view bytes,
                          const std::vector<LostPlace>& lost, size_t& errors,
                          std::vector<size_t>& marks, std::vector<ByteRange>& absorbed);

/// Of `units` units whose bytes start at offsets[0..units) and end at the next offset
/// (the last at `end`), the ones whose bytes all went into lost places (`absorbed`,
/// sorted), into `found`.
void AbsorbedUnits(const uint32_t* offsets, size_t units, size_t end,
                   const std::vector<ByteRange>& absorbed, std::vector<size_t>& found);

}  // namespace magna::repair
