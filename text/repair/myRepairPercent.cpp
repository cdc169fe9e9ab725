// Percent-encoding (%E3%81%93, RFC 3986) of text in UTF-8, Shift_JIS or EUC-JP. A run is
// a stretch of escapes and the printable ASCII between them, up to white space: its
// bytes, the literal ones included (a Shift_JIS trail byte is often a letter left
// unescaped), are read in the code, every escape of the run with them.
#include <vector>

#include "text/repair/myRepairBytes.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {

namespace {

bool IsEscapeAt(WideView text, size_t i) {
  return text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
         HexValue(text[i + 2]) >= 0;
}

uint8_t EscapedByte(WideView text, size_t i) {
  return static_cast<uint8_t>(HexValue(text[i + 1]) << 4 | HexValue(text[i + 2]));
}

bool IsRunLiteral(char16_t u) {
  return u > 0x20 && u < 0x7F;
}

/// The end of the run from `i` and its bytes, with where each byte's units start (and
/// the end); `high`: some byte from 0x80.
size_t RunBytes(WideView text, size_t i, AnsiString& bytes, std::vector<size_t>& starts,
                bool& high) {
  bytes.clear();
  starts.clear();
  high = false;
  const size_t n = text.size();
  while (i < n && IsRunLiteral(text[i])) {
    starts.push_back(i);
    if (IsEscapeAt(text, i)) {
      const uint8_t b = EscapedByte(text, i);
      high |= b >= 0x80;
      bytes += static_cast<char>(b);
      i += 3;
    } else {
      bytes += static_cast<char>(text[i++]);
    }
  }
  starts.push_back(i);
  return i;
}

/// The start of the run around an escape at `i`: back over the printable ASCII before it.
size_t RunStart(WideView text, size_t i, size_t floor) {
  while (i > floor && IsRunLiteral(text[i - 1])) --i;
  return i;
}

}  // namespace

bool UndoPercent(TRepairCode code, WideView text, StepOutcome& out) {
  OutcomeBuilder builder(text, out);
  out.step = {TRepairForm::Percent, code};
  const size_t n = text.size();
  AnsiString bytes;
  std::vector<size_t> starts;
  WideString decoded, decodedAll;
  size_t encodedUnits = 0, done = 0, head = 0, tail = 0;
  for (size_t i = 0; i < n; ++i) {
    if (!IsEscapeAt(text, i)) continue;
    bool high = false;
    const size_t run = RunStart(text, i, done);
    const size_t runEnd = RunBytes(text, run, bytes, starts, high);
    done = i = runEnd;
    if (!high) continue;  // only ASCII escaped: the text is readable as it is
    // A run at an edge of the text may be cut inside a character (a sample of a long one).
    if (!DecodeCut(code, bytes, run == 0, runEnd == n, decoded, head, tail) || HasUnwanted(decoded))
      continue;
    const size_t from = starts[head], end = starts[bytes.size() - tail];
    const CharClass before = ClassBefore(text, from), after = ClassAt(text, end);
    const WideView encoded = text.substr(from, end - from);
    builder.Replace(from, end - from, decoded, {},
                    Cost(encoded, before, after) - Cost(decoded, before, after));
    decodedAll += decoded;
    encodedUnits += end - from;
  }
  builder.Finish();
  out.readable = IsReadableDecoding(decodedAll, encodedUnits, n);
  return out.Changed();
}

}  // namespace magna::repair
