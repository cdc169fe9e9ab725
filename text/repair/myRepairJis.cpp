// ISO-2022-JP shown as ASCII. Its bytes are all below 0x80, so every reader shows them
// as they are: with the escape bytes (ESC, U+001B) kept, or with them dropped, as many
// programs do with control characters ("$B$3$s$K$A$O(B"). A run from the switch to
// JIS X 0208 to the switch back is read again as ISO-2022-JP.
#include "text/repair/myRepairBytes.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {

namespace {

constexpr char16_t kEsc = 0x1B;

bool IsJisByte(char16_t u) {
  return u >= 0x21 && u <= 0x7E;
}

/// The switch into a two-byte set at text[i] ("$B", "$@", "$(D", after ESC when
/// `escapes`); its length, 0 when none.
size_t OpeningAt(WideView text, size_t i, bool escapes) {
  if (escapes) {
    if (text[i] != kEsc) return 0;
    ++i;
  }
  const WideView rest = text.substr(i, 3);
  const size_t esc = escapes ? 1 : 0;
  if (rest.substr(0, 2) == u"$B" || rest.substr(0, 2) == u"$@") return esc + 2;
  if (rest == u"$(D" || rest == u"$(B") return esc + 3;
  return 0;
}

/// The switch back to ASCII at text[i] ("(B", "(J"); its length, 0 when none.
size_t ClosingAt(WideView text, size_t i, bool escapes) {
  if (escapes) {
    if (text[i] != kEsc) return 0;
    ++i;
  }
  const WideView rest = text.substr(i, 2);
  return rest == u"(B" || rest == u"(J" ? (escapes ? 3 : 2) : 0;
}

/// The end of the run opened at `i` (after its closing), 0 when the pairs are broken
/// or the run is not closed.
size_t RunEnd(WideView text, size_t i, bool escapes) {
  size_t p = i + OpeningAt(text, i, escapes);
  const size_t n = text.size();
  for (;;) {
    if (p >= n) return 0;
    if (size_t close = ClosingAt(text, p, escapes)) return p + close;
    if (escapes && OpeningAt(text, p, true) != 0) {
      p += OpeningAt(text, p, true);
      continue;
    }
    if (p + 1 >= n || !IsJisByte(text[p]) || !IsJisByte(text[p + 1])) return 0;
    p += 2;
  }
}

/// The run's bytes as ISO-2022-JP has them, escape bytes put back where dropped: before
/// the opening switch and before the closing one, its last two units.
AnsiString RunBytes(WideView run, bool escapes) {
  AnsiString bytes;
  bytes.reserve(run.size() + 2);
  if (!escapes) bytes += '\x1B';
  for (size_t k = 0; k < run.size(); ++k) {
    if (!escapes && k + 2 == run.size()) bytes += '\x1B';
    bytes += static_cast<char>(run[k]);
  }
  return bytes;
}

bool UndoJis(WideView text, bool escapes, StepOutcome& out) {
  OutcomeBuilder builder(text, out);
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t u = text[i];
    if ((escapes ? u != kEsc : u != u'$') || OpeningAt(text, i, escapes) == 0) continue;
    const size_t end = RunEnd(text, i, escapes);
    if (end == 0) continue;
    const WideView run = text.substr(i, end - i);
    size_t errors = 0;
    const WideString decoded = DecodeIn(TRepairCode::ISO2022JP, RunBytes(run, escapes), errors);
    if (errors != 0 || decoded.empty() ||
        !builder.ReplaceIfCheaper(i, run, decoded, {}, {}, Reach::Suspect))
      continue;
    i = end - 1;
  }
  builder.Finish();
  out.step = escapes ? TRepairStep{TRepairForm::Misread, TRepairCode::ISO2022JP, TRepairCode::ASCII}
                     : TRepairStep{TRepairForm::JisEscapesLost, TRepairCode::ISO2022JP};
  return out.Changed();
}

}  // namespace

bool UndoJisWithEscapes(WideView text, StepOutcome& out) {
  return UndoJis(text, true, out);
}

bool UndoJisEscapesLost(WideView text, StepOutcome& out) {
  return UndoJis(text, false, out);
}

}  // namespace magna::repair
