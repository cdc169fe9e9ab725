// Reading bytes in their real code across the gaps a wrong reader left: the pieces
// between gaps are read as they are; the bytes at a piece's edges that belonged to the
// character cut by the gap go into that gap's one mark.
#include <algorithm>

#include "text/myRepairBytes.h"
#include "text/myRepairUnread.h"

namespace magna::repair {

namespace {

constexpr char16_t kMark = 0xFFFD;

unsigned Byte(std::string_view bytes, size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

bool IsContinuation(unsigned b) {
  return (b & 0xC0) == 0x80;
}

unsigned Utf8Length(unsigned lead) {
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

bool IsSjisLead(unsigned b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsSjisTrail(unsigned b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool IsEucByte(unsigned b) {
  return b >= 0xA1 && b <= 0xFE;
}

/// The length of the character starting with `b` in EUC-JP.
unsigned EucLength(unsigned b) {
  return b == 0x8F ? 3 : (b == 0x8E || IsEucByte(b)) ? 2 : 1;
}

/// Bytes at the end of `piece` that start a character the gap after it cut.
size_t CutTail(TRepairCode source, std::string_view piece) {
  const size_t n = piece.size();
  if (source == TRepairCode::UTF8) {
    for (size_t k = 1; k <= std::min<size_t>(3, n); ++k) {
      const unsigned b = Byte(piece, n - k);
      if (IsContinuation(b)) continue;
      return Utf8Length(b) > k ? k : 0;
    }
    return 0;
  }
  // Shift_JIS and EUC-JP do not synchronise by themselves: walk the piece.
  size_t start = 0, length = 0;
  for (size_t i = 0; i < n; i += length) {
    const unsigned b = Byte(piece, i);
    start = i;
    length = source == TRepairCode::ShiftJIS ? (IsSjisLead(b) ? 2 : 1) : EucLength(b);
  }
  return start + length > n ? n - start : 0;
}

/// Bytes at the start of `piece` that end the character the gap before it cut.
/// `completed`: the gap, one byte long, already ended the character cut before it.
size_t CutHead(TRepairCode source, std::string_view piece, LostKind kind, bool completed,
               bool gapFollows) {
  const size_t n = piece.size();
  if (n == 0) return 0;
  const unsigned first = Byte(piece, 0);
  switch (source) {
    case TRepairCode::UTF8: {
      size_t k = 0;
      while (k < std::min<size_t>(3, n) && IsContinuation(Byte(piece, k))) ++k;
      return k;
    }
    case TRepairCode::ShiftJIS: {
      if (completed || !IsSjisTrail(first)) return 0;
      // The five bytes Windows-1252 lacks are all lead bytes here: the next is a trail.
      if (kind == LostKind::Windows1252Undefined) return 1;
      // Otherwise the gap may have ended with a lead byte: a possible trail inside a run
      // of non-ASCII bytes is taken into the mark, one before ASCII is kept.
      const bool inRun =
          first >= 0x80 || (n >= 2 && Byte(piece, 1) >= 0x80) || (n == 1 && gapFollows);
      return inRun ? 1 : 0;
    }
    default: {
      size_t run = 0;
      while (run < n && IsEucByte(Byte(piece, run))) ++run;
      // Of the five bytes Windows-1252 lacks only 8F occurs in EUC-JP: two bytes follow it.
      if (kind == LostKind::Windows1252Undefined && !completed) return std::min<size_t>(run, 2);
      return run % 2;
    }
  }
}

}  // namespace

WideString ReadWithLosses(TRepairCode source, std::string_view bytes,
                          const std::vector<LostPlace>& lost, size_t& errors,
                          std::vector<size_t>& marks, std::vector<ByteRange>& absorbed) {
  marks.clear();
  absorbed.clear();
  if (lost.empty()) return DecodeIn(source, bytes, errors);
  errors = 0;
  WideString text;
  size_t pos = 0;
  bool completed = false;
  LostKind previous = LostKind::Unknown;
  bool markOpen = false;  // the last thing written is a mark nothing has followed yet
  for (size_t i = 0; i <= lost.size(); ++i) {
    const size_t end = i < lost.size() ? lost[i].at : bytes.size();
    std::string_view piece = bytes.substr(pos, end - pos);
    const size_t head = i > 0 ? CutHead(source, piece, previous, completed, i < lost.size()) : 0;
    piece.remove_prefix(head);
    if (head > 0) absorbed.back().second += head;
    size_t tail = i < lost.size() ? CutTail(source, piece) : 0;
    piece.remove_suffix(tail);
    if (!piece.empty()) {
      size_t pieceErrors = 0;
      text += DecodeIn(source, piece, pieceErrors);
      errors += pieceErrors;
      markOpen = false;
    }
    if (i == lost.size()) break;
    if (!markOpen) {
      marks.push_back(text.size());
      text += kMark;
      markOpen = true;
      absorbed.emplace_back(end - tail, end);
    } else {
      absorbed.back().second = end;
    }
    previous = lost[i].kind;
    completed = tail > 0 && previous == LostKind::Windows1252Undefined;
    pos = end;
  }
  return text;
}

}  // namespace magna::repair
