// Undoing a wrong decoding, segment by segment. A segment is a run of code units from
// 0x40 up: no byte below 0x40 is part of a multi-byte character in UTF-8, Shift_JIS or
// EUC-JP, and every reader reads such a byte as itself, so the segments of the misread
// text are the segments of the original bytes. A segment is replaced when its bytes read
// in the real code without error and the reading is more plausible.
#include <cstring>

#include "text/myRepairSteps.h"
#include "text/myRepairUnread.h"

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

}  // namespace

bool UndoMisread(TRepairCode source, TRepairCode reader, WideView text, StepOutcome& out,
                 Reach reach) {
  const bool western = reader == TRepairCode::Latin1 || reader == TRepairCode::Windows1252;
  OutcomeBuilder builder(text, out);
  bool saw1252 = false, sawC1 = false;
  Undone undone;
  const size_t n = text.size();
  const uint8_t* flags = UnitFlags();
  for (size_t i = 0; i < n;) {
    if (!IsSegmentUnit(text[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    uint8_t seen = 0;
    while (end < n && IsSegmentUnit(text[end])) seen |= flags[text[end++]];
    const WideView segment = text.substr(i, end - i);
    const uint8_t wanted = reach == Reach::All ? kNonAscii : kSuspect;
    if ((seen & wanted) != 0 && UndoSegment(source, reader, segment, undone) &&
        builder.ReplaceIfCheaper(i, segment, undone.decoded, undone.marks,
                                 AbsorbedUnits(undone.unread, undone.absorbed), reach)) {
      saw1252 |= undone.unread.sawWindows1252 || !undone.unread.lost.empty();
      sawC1 |= undone.unread.sawC1;
    }
    i = end;
  }
  builder.Finish();
  out.step = {TRepairForm::Misread, source, western ? WesternName(saw1252, sawC1) : reader};
  return out.Changed();
}

}  // namespace magna::repair
