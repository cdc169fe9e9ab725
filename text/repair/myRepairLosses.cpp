// Reading bytes in their real code across the gaps a wrong reader left: the pieces
// between gaps are read as they are; the bytes at a piece's edges that belonged to the
// character cut by the gap go into that gap's one mark.
#include <algorithm>

#include "text/repair/myRepairBytes.h"
#include "text/repair/myRepairUnread.h"

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

/// The length of the character at piece[i] in Shift_JIS or EUC-JP, as their readers take
/// it: a lead byte without a byte that may follow it is one byte long.
size_t LengthAt(TRepairCode source, std::string_view piece, size_t i) {
  const unsigned b = Byte(piece, i);
  const bool sjis = source == TRepairCode::ShiftJIS;
  const size_t length = sjis ? (IsSjisLead(b) ? 2 : 1) : EucLength(b);
  for (size_t k = 1; k < length; ++k)
    if (i + k >= piece.size() ||
        !(sjis ? IsSjisTrail(Byte(piece, i + k)) : IsEucByte(Byte(piece, i + k))))
      return 1;
  return length;
}

/// Where `piece` can start a character whether the gap before it ended on a character's
/// edge or inside one (a lead byte without its trail): the first place both readings of
/// the piece, from its first byte and from its second, reach alike. The bytes before it
/// are in doubt and go into the mark; the whole piece when the readings never meet.
size_t Resync(TRepairCode source, std::string_view piece) {
  const size_t n = piece.size();
  // A byte below 0x40 is a character of its own in both codes: the edge is sure.
  if (n == 0 || Byte(piece, 0) < 0x40) return 0;
  size_t a = 0, b = 1;  // the next edge of each reading
  while (a < n && b < n && a != b) {
    if (a < b) {
      a += LengthAt(source, piece, a);
    } else {
      b += LengthAt(source, piece, b);
    }
  }
  return a == b ? a : n;
}

/// Bytes at the start of `piece` that belong to the character the gap before it cut.
/// `pending`: bytes of that character before the gap (what CutTail took).
size_t CutHead(TRepairCode source, std::string_view piece, const LostPlace& gap, size_t pending) {
  const size_t n = piece.size();
  if (n == 0) return 0;
  if (source == TRepairCode::UTF8) {  // it synchronises by itself
    size_t k = 0;
    while (k < std::min<size_t>(3, n) && IsContinuation(Byte(piece, k))) ++k;
    return k;
  }
  if (gap.kind == LostKind::Windows1252Undefined) {
    // One byte of 81 8D 8F 90 9D: in Shift_JIS a lead byte, unless it was the trail of a
    // lead before it; in EUC-JP only 8F (JIS X 0212, two bytes after it) can be.
    if (source == TRepairCode::ShiftJIS) return pending == 0 && IsSjisTrail(Byte(piece, 0)) ? 1 : 0;
    if (pending == 0) {
      size_t run = 0;
      while (run < std::min<size_t>(2, n) && IsEucByte(Byte(piece, run))) ++run;
      return run;
    }
  } else if (gap.count != 0 && source == TRepairCode::EUCJP) {
    return (pending + gap.count) % 2 == 1 && IsEucByte(Byte(piece, 0)) ? 1 : 0;
  }
  return Resync(source, piece);
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
  size_t pos = 0, pending = 0;
  bool markOpen = false;  // the last thing written is a mark nothing has followed yet
  for (size_t i = 0; i <= lost.size(); ++i) {
    const size_t end = i < lost.size() ? lost[i].at : bytes.size();
    std::string_view piece = bytes.substr(pos, end - pos);
    const size_t head = i > 0 ? CutHead(source, piece, lost[i - 1], pending) : 0;
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
    pending = tail;
    pos = end;
  }
  return text;
}

}  // namespace magna::repair
