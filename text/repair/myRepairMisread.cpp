// Undoing a wrong decoding, segment by segment. A segment is a run of code units from
// 0x40 up: no byte below 0x40 is part of a multi-byte character in UTF-8, Shift_JIS or
// EUC-JP, and every reader reads such a byte as itself, so the segments of the misread
// text are the segments of the original bytes. A segment is replaced when its bytes read
// in the real code without error and the reading is more plausible.
#include <algorithm>

#include "text/repair/myRepairSteps.h"
#include "text/repair/myRepairUnread.h"

namespace magna::repair {

namespace {

constexpr size_t kMaxAmbiguousTries = 16;

bool IsSegmentUnit(char16_t u) {
  return u >= 0x40;
}

/// Tries the other codes of each ambiguous Shift_JIS character, keeping a change that
/// leaves fewer bytes unreadable in the real code.
WideString Disambiguate(TRepairCode source, Unread& unread, size_t& errors,
                        std::vector<size_t>& marks, std::vector<ByteRange>& absorbed,
                        WideString decoded) {
  size_t tries = 0;
  for (size_t at : unread.ambiguous) {
    if (errors == 0 || tries >= kMaxAmbiguousTries) break;
    const auto current = static_cast<uint16_t>(static_cast<unsigned char>(unread.bytes[at]) << 8 |
                                               static_cast<unsigned char>(unread.bytes[at + 1]));
    for (uint16_t code : SjisCodesAlike(current)) {
      if (code == current) continue;
      ++tries;
      AnsiString bytes = unread.bytes;
      bytes[at] = static_cast<char>(code >> 8);
      bytes[at + 1] = static_cast<char>(code & 0xFF);
      size_t tryErrors = 0;
      std::vector<size_t> tryMarks;
      std::vector<ByteRange> tryAbsorbed;
      WideString tryText =
          ReadWithLosses(source, bytes, unread.lost, tryErrors, tryMarks, tryAbsorbed);
      if (tryErrors < errors) {
        errors = tryErrors;
        unread.bytes.swap(bytes);
        marks.swap(tryMarks);
        absorbed.swap(tryAbsorbed);
        decoded.swap(tryText);
        break;
      }
    }
  }
  return decoded;
}

/// A segment undone: its reading, the lost places in it, and the units of the segment
/// whose bytes went into them.
struct Undone {
  Unread unread;
  WideString decoded;
  std::vector<size_t> marks;
  std::vector<ByteRange> absorbed;
};

/// What the segment reads as in `source` after undoing `reader`; false when that fails.
bool UndoSegment(TRepairCode source, TRepairCode reader, WideView segment, Undone& u) {
  if (!UnreadAs(reader, segment, u.unread)) return false;
  size_t errors = 0;
  u.decoded = ReadWithLosses(source, u.unread.bytes, u.unread.lost, errors, u.marks, u.absorbed);
  if (errors != 0 && !u.unread.ambiguous.empty())
    u.decoded = Disambiguate(source, u.unread, errors, u.marks, u.absorbed, std::move(u.decoded));
  return errors == 0 && u.decoded != segment;
}

TRepairCode WesternName(bool saw1252, bool sawC1) {
  return saw1252 || !sawC1 ? TRepairCode::Windows1252 : TRepairCode::Latin1;
}

/// A segment of the text in a batch: where it is, and where its bytes are.
struct Piece {
  size_t from, length;         // in the text
  size_t bytesFrom, bytesEnd;  // in the batch's bytes
  size_t offsetsFrom;          // its units' offsets in the batch
  bool read;                   // the reader makes every character of it
  bool ambiguous;              // it holds a character other codes read as well
  bool first, last;            // the text's first or last segment
};

/// The segments in reach, undone together: their bytes one after another, each followed
/// by a line feed, read at once. A line feed is a character of its own in every code,
/// never part of another nor taken into a lost place, so the reading falls apart into
/// the segments' readings at its line feeds. Reading once rather than segment by segment
/// saves a conversion's set-up per segment, most of the time in a long text.
class Batch {
 public:
  Batch(TRepairCode source, TRepairCode reader) : source_(source), reader_(reader) {}

  void Add(size_t from, WideView segment, bool first, bool last) {
    Piece p{
        from, segment.size(), unread_.bytes.size(), 0, unread_.offsets.size(), false, false, first,
        last};
    const size_t ambiguous = unread_.ambiguous.size();
    p.read = UnreadAppend(reader_, segment, unread_);
    p.ambiguous = unread_.ambiguous.size() != ambiguous;
    p.bytesEnd = unread_.bytes.size();
    unread_.bytes += '\n';
    pieces_.push_back(p);
  }

  /// Offers a segment undone by itself to `builder`.
  static bool TakeAlone(OutcomeBuilder& builder, size_t from, WideView segment, Undone& alone,
                        Reach reach) {
    std::vector<size_t> gone;
    AbsorbedUnits(alone.unread.offsets.data(), segment.size(), alone.unread.bytes.size(),
                  alone.absorbed, gone);
    return builder.ReplaceIfCheaper(from, segment, alone.decoded, alone.marks, gone, reach);
  }

  /// The first or last segment of the text, which may be a sample cut from a longer one
  /// with a character cut in two there: undone without up to two units at that edge.
  bool UndoEdge(WideView text, const Piece& p, OutcomeBuilder& builder, Undone& alone,
                Reach reach) {
    const size_t maxHead = p.first ? 2 : 0;
    const size_t maxTail = p.last ? 2 : 0;
    for (size_t head = 0; head <= maxHead; ++head)
      for (size_t tail = 0; tail <= maxTail; ++tail) {
        if (head + tail == 0 || head + tail >= p.length) continue;
        const WideView part = text.substr(p.from + head, p.length - head - tail);
        if (UndoSegment(source_, reader_, part, alone))
          return TakeAlone(builder, p.from + head, part, alone, reach);
      }
    return false;
  }

  /// Reads the batch and offers each segment's reading to `builder`.
  void Undo(WideView text, OutcomeBuilder& builder, Reach reach, bool& saw1252, bool& sawC1) {
    if (pieces_.empty()) return;
    size_t errors = 0;
    std::vector<size_t> marks, pieceMarks, gone;
    std::vector<ByteRange> absorbed, pieceAbsorbed;
    const WideString decoded =
        ReadWithLosses(source_, unread_.bytes, unread_.lost, errors, marks, absorbed);
    size_t at = 0, mark = 0, range = 0;
    Undone alone;
    for (const Piece& p : pieces_) {
      const size_t end = decoded.find(u'\n', at);
      const WideView segment = text.substr(p.from, p.length);
      const WideView reading = WideView(decoded).substr(at, end - at);
      pieceMarks.clear();
      for (; mark < marks.size() && marks[mark] < end; ++mark)
        pieceMarks.push_back(marks[mark] - at);
      pieceAbsorbed.clear();
      for (; range < absorbed.size() && absorbed[range].first < p.bytesEnd; ++range)
        pieceAbsorbed.push_back(absorbed[range]);
      at = end + 1;
      const size_t replacements =
          static_cast<size_t>(std::count(reading.begin(), reading.end(), u'\xFFFD'));
      bool taken = false;
      if (p.read && replacements == pieceMarks.size() && reading != segment) {
        AbsorbedUnits(&unread_.offsets[p.offsetsFrom], p.length, p.bytesEnd, pieceAbsorbed, gone);
        taken = builder.ReplaceIfCheaper(p.from, segment, reading, pieceMarks, gone, reach);
      } else if (p.read && p.ambiguous && UndoSegment(source_, reader_, segment, alone)) {
        // Other codes of its repeated characters may read where the first did not.
        taken = TakeAlone(builder, p.from, segment, alone, reach);
      } else if (p.first || p.last) {
        taken = UndoEdge(text, p, builder, alone, reach);
      }
      if (taken) {
        saw1252 |= unread_.sawWindows1252 || !unread_.lost.empty();
        sawC1 |= unread_.sawC1;
      }
    }
  }

 private:
  TRepairCode source_, reader_;
  Unread unread_;
  std::vector<Piece> pieces_;
};

}  // namespace

bool UndoMisread(TRepairCode source, TRepairCode reader, WideView text, StepOutcome& out,
                 Reach reach) {
  const bool western = reader == TRepairCode::Latin1 || reader == TRepairCode::Windows1252;
  OutcomeBuilder builder(text, out);
  Batch batch(source, reader);
  const size_t n = text.size();
  const uint8_t* flags = UnitFlags();
  const uint8_t wanted = reach == Reach::All ? kNonAscii : kSuspect;
  size_t lastStart = n;
  while (lastStart > 0 && !IsSegmentUnit(text[lastStart - 1])) --lastStart;
  while (lastStart > 0 && IsSegmentUnit(text[lastStart - 1])) --lastStart;
  bool first = true;
  for (size_t i = 0; i < n;) {
    if (!IsSegmentUnit(text[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    uint8_t seen = 0;
    while (end < n && IsSegmentUnit(text[end])) seen |= flags[text[end++]];
    if ((seen & wanted) != 0) batch.Add(i, text.substr(i, end - i), first, i == lastStart);
    first = false;
    i = end;
  }
  bool saw1252 = false, sawC1 = false;
  batch.Undo(text, builder, reach, saw1252, sawC1);
  builder.Finish();
  out.step = {TRepairForm::Misread, source, western ? WesternName(saw1252, sawC1) : reader};
  return out.Changed();
}

}  // namespace magna::repair
