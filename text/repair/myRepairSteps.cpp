#include "text/repair/myRepairSteps.h"

#include <algorithm>

namespace magna::repair {

void OutcomeBuilder::Replace(size_t from, size_t length, WideView replacement,
                             const std::vector<size_t>& lost, int64_t gain) {
  out_.text.append(original_.substr(copied_, from - copied_));
  out_.spans.push_back({from, length, out_.text.size(), replacement.size()});
  for (size_t at : lost) out_.lost.push_back(out_.text.size() + at);
  out_.text.append(replacement);
  out_.gain += gain;
  copied_ = from + length;
}

bool OutcomeBuilder::ReplaceIfCheaper(size_t from, WideView segment, WideView decoded,
                                      const std::vector<size_t>& lost,
                                      const std::vector<size_t>& absorbed, Reach reach) {
  size_t head = 0, tail = 0;
  const size_t shorter = std::min(segment.size(), decoded.size());
  while (head < shorter && segment[head] == decoded[head]) ++head;
  for (size_t at : lost) head = std::min(head, at);
  while (tail < shorter - head &&
         segment[segment.size() - 1 - tail] == decoded[decoded.size() - 1 - tail])
    ++tail;
  for (size_t at : lost) tail = std::min(tail, decoded.size() - 1 - at);
  const WideView oldPart = segment.substr(head, segment.size() - head - tail);
  const WideView newPart = decoded.substr(head, decoded.size() - head - tail);
  const CharClass before = ClassBefore(original_, from + head);
  const CharClass after = ClassAt(original_, from + segment.size() - tail);
  const int64_t oldCost = CostWithout(oldPart, absorbed, head, before, after);
  const int64_t newCost = CostWithout(newPart, lost, head, before, after);
  const bool take = reach == Reach::Valid     ? true
                    : reach == Reach::Suspect ? IsGain(oldCost, newCost)
                                              : newCost <= oldCost;
  if (!take) return false;
  std::vector<size_t> shifted;
  for (size_t at : lost) shifted.push_back(at - head);
  Replace(from + head, oldPart.size(), newPart, shifted, oldCost - newCost);
  return true;
}

void OutcomeBuilder::Finish() {
  out_.text.append(original_.substr(copied_));
}

WideString ForNextStep(const StepOutcome& o) {
  WideString text = o.text;
  for (size_t at : o.lost) text[at] = kEarlierLoss;
  return text;
}

bool IsGain(int64_t oldCost, int64_t newCost) {
  // At least a tenth cheaper and two bits: a replacement that changes little is noise.
  return newCost * 10 <= oldCost * 9 - 2 * kQuarterBits * 10;
}

CharClass ClassBefore(WideView text, size_t at) {
  return at == 0 ? kBreak : ClassOf(text[at - 1]);
}

CharClass ClassAt(WideView text, size_t end) {
  return end >= text.size() ? kBreak : ClassOf(text[end]);
}

bool HasUnwanted(WideView decoded) {
  const size_t n = decoded.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t u = decoded[i];
    if (u >= 0xD800 && u <= 0xDFFF) {
      if (u >= 0xDC00 || i + 1 == n || decoded[i + 1] < 0xDC00 || decoded[i + 1] > 0xDFFF)
        return true;
      ++i;
      continue;
    }
    const CharClass c = ClassOf(u);
    if (c == kControl || c == kJunk || c == kLost) return true;  // kEarlierLoss is kLost
  }
  return false;
}

bool IsReadableDecoding(WideView decoded, size_t encodedUnits, size_t textUnits) {
  for (char16_t u : decoded)
    if (IsJapanese(u)) return true;
  return encodedUnits * 2 >= textUnits;
}

bool UndoStep(const TRepairStep& step, WideView text, StepOutcome& out, Reach reach) {
  switch (step.form) {
    case TRepairForm::Misread:
      if (step.code == TRepairCode::ISO2022JP) return UndoJisWithEscapes(text, out);
      return UndoMisread(step.code, step.readAs, text, out, reach);
    case TRepairForm::JisEscapesLost: return UndoJisEscapesLost(text, out);
    case TRepairForm::MimeB:
    case TRepairForm::MimeQ: return UndoMime(text, out);
    case TRepairForm::Percent: return UndoPercent(step.code, text, out);
    case TRepairForm::CharacterReferences: return UndoCharacterReferences(text, out);
    case TRepairForm::Escapes: return UndoEscapes(text, out);
    case TRepairForm::Punycode: return UndoPunycode(text, out);
  }
  return false;
}

}  // namespace magna::repair
