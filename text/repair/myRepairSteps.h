#pragma once
// The steps a repair undoes, each over a whole text. Internal to the repair
// (myRepair.cpp searches with them); the tests and tools reach them through
// myRepairForms.h, which also makes each form from clean text.

#include <vector>

#include "text/repair/myRepair.h"
#include "text/repair/myRepairModel.h"

namespace magna::repair {

/// A place where an earlier step of a chain lost bytes, in the text the next step undoes:
/// every reader takes it for a gap of unknown bytes (a U+FFFD would be taken for what that
/// reader itself writes where it loses a byte). It becomes U+FFFD again in the repair.
constexpr char16_t kEarlierLoss = 0xFDD0;

/// A text after one step was undone.
struct StepOutcome {
  TRepairStep step;  // as found: the reader named by what it saw, the escapes' byte code
  WideString text;
  std::vector<TRepairSpan> spans;  // the stretches replaced
  std::vector<size_t> lost;        // offsets in `text` of the lost places
  int64_t gain = 0;                // quarter bits the replaced stretches lost in cost
  /// Whether the text is worth offering as it is; an encoded form whose decoding gives
  /// neither Japanese nor most of the text is not (code with an escape or two), but may
  /// hold a misreading the next step undoes.
  bool readable = true;
  bool Changed() const { return !spans.empty(); }
};

/// How far an undoing of a misreading looks, and what it takes.
enum class Reach : uint8_t {
  /// While a chain is searched for: segments with a unit wrong decodings make (every
  /// misreading of Japanese has one), taken when cheaper by a margin.
  Suspect,
  /// The inner step of a chain of two: every segment that reads without error, cheaper
  /// or not (a text misread twice may look worse halfway back).
  Valid,
  /// Once a chain is found: every segment with a unit beyond ASCII, taken when not dearer.
  All,
};

/// The text of an outcome with its lost places as kEarlierLoss, for the next step.
WideString ForNextStep(const StepOutcome& o);

/// Builds a StepOutcome stretch by stretch: what is not replaced is copied as it is.
class OutcomeBuilder {
 public:
  OutcomeBuilder(WideView original, StepOutcome& out) : original_(original), out_(out) {
    out_.text.clear();
    out_.spans.clear();
    out_.lost.clear();
    out_.gain = 0;
    out_.readable = true;
  }
  /// Replaces [from, from + length) of the original (from at or after the last stretch's
  /// end) by `replacement`, whose lost places are at `lost` (offsets in it).
  void Replace(size_t from, size_t length, WideView replacement,
               const std::vector<size_t>& lost = {}, int64_t gain = 0);
  /// Replaces the stretch `segment` at `from` of the original by `decoded` (lost places
  /// at `lost`) when the part that differs is cheaper: by a margin (IsGain) while a chain
  /// is searched for, at all once it is found (Reach::All). The parts both begin and end
  /// with stay as they are. What went into lost places is left out of both costs: the
  /// lost places in `decoded`, the units of `segment` at `absorbed`. Whether it replaced.
  bool ReplaceIfCheaper(size_t from, WideView segment, WideView decoded,
                        const std::vector<size_t>& lost, const std::vector<size_t>& absorbed,
                        Reach reach);
  /// Copies the rest of the original.
  void Finish();

 private:
  WideView original_;
  StepOutcome& out_;
  size_t copied_ = 0;
};

/// Whether a segment's replacement is plausible enough to take: cheaper by a margin that
/// grows with the segment's cost.
bool IsGain(int64_t oldCost, int64_t newCost);

/// The class of the unit before text[at] (kBreak at the start) and of the unit at `end`.
CharClass ClassBefore(WideView text, size_t at);
CharClass ClassAt(WideView text, size_t end);

// Undoing each kind of step over a whole text; false when nothing changed.
bool UndoMisread(TRepairCode source, TRepairCode reader, WideView text, StepOutcome& out,
                 Reach reach);
bool UndoJisWithEscapes(WideView text, StepOutcome& out);
bool UndoJisEscapesLost(WideView text, StepOutcome& out);
bool UndoMime(WideView text, StepOutcome& out);
bool UndoPercent(TRepairCode code, WideView text, StepOutcome& out);
bool UndoCharacterReferences(WideView text, StepOutcome& out);
bool UndoEscapes(WideView text, StepOutcome& out);
bool UndoPunycode(WideView text, StepOutcome& out);

/// Appends a code point as one unit or a surrogate pair.
inline void AppendCodePoint(WideString& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    out += static_cast<char16_t>(0xD7C0 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
  }
}

/// The value of a hexadecimal digit, -1 for anything else.
inline int HexValue(char16_t u) {
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  return -1;
}

/// Whether decoding gave a character no writer means to show: a control other than tab
/// and line breaks, a lone surrogate, a noncharacter, U+FFFD. C1 controls pass: an
/// encoded form may hold bytes read as ISO-8859-1, a misreading the next step undoes.
bool HasUnwanted(WideView decoded);

/// Undoes `step` (as FindRepair names it) over `text`.
bool UndoStep(const TRepairStep& step, WideView text, StepOutcome& out, Reach reach);

/// CheckRepair and FindRepair with another threshold: -INFINITY gives the best chain
/// whatever its score (for measuring how far clean text stays from being repaired).
TRepairFinding CheckRepairAbove(WideView text, double minScore);
TRepair FindRepairAbove(WideView text, double minScore);

/// Whether an encoded form's decoding is worth offering: it gives Japanese, or the
/// encoded stretches are most of the text. `decoded` is what replaced `encodedUnits` of
/// a text of `textUnits`.
bool IsReadableDecoding(WideView decoded, size_t encodedUnits, size_t textUnits);

}  // namespace magna::repair
