#include "text/repair/myRepair.h"

#include <algorithm>
#include <cmath>

#include "text/repair/myRepairSearch.h"

namespace magna {

namespace {

using repair::Bits;
using repair::StepOutcome;

/// A chain must gain this many bits beyond its prior to be offered. The clean texts of
/// the repair corpus stay below 5 (bench/bench_text_repairCorpus).
constexpr double kMinScore = 16;

/// The last stretch that starts at or before `offset` (by `start`), or null.
template <class Start>
const TRepairSpan* StretchBefore(const std::vector<TRepairSpan>& spans, size_t offset,
                                 Start start) {
  auto it = std::upper_bound(spans.begin(), spans.end(), offset,
                             [&](size_t o, const TRepairSpan& s) { return o < start(s); });
  return it == spans.begin() ? nullptr : &*(it - 1);
}

ptrdiff_t Shift(const TRepairSpan& s) {
  return static_cast<ptrdiff_t>(s.repairedFrom + s.repairedLength) -
         static_cast<ptrdiff_t>(s.from + s.length);
}

/// Where `offset` of a text before a step lands after it (an offset inside a replaced
/// stretch lands at the stretch's start).
size_t Forward(const std::vector<TRepairSpan>& spans, size_t offset) {
  const TRepairSpan* s = StretchBefore(spans, offset, [](const TRepairSpan& x) { return x.from; });
  if (s == nullptr) return offset;
  if (offset < s->from + s->length) return s->repairedFrom;
  return static_cast<size_t>(static_cast<ptrdiff_t>(offset) + Shift(*s));
}

/// Where `offset` of a text after a step came from (inside a replaced stretch: its start).
size_t Backward(const std::vector<TRepairSpan>& spans, size_t offset) {
  const TRepairSpan* s =
      StretchBefore(spans, offset, [](const TRepairSpan& x) { return x.repairedFrom; });
  if (s == nullptr) return offset;
  if (offset < s->repairedFrom + s->repairedLength) return s->from;
  return static_cast<size_t>(static_cast<ptrdiff_t>(offset) - Shift(*s));
}

/// The stretches of two steps in a row as stretches of the original and the final text.
std::vector<TRepairSpan> Compose(const StepOutcome& first, const StepOutcome& second) {
  std::vector<std::pair<size_t, size_t>> ranges;  // in the original
  for (const TRepairSpan& s : first.spans) ranges.emplace_back(s.from, s.from + s.length);
  for (const TRepairSpan& s : second.spans) {
    const size_t from = Backward(first.spans, s.from);
    const size_t end = s.length == 0 ? from : Backward(first.spans, s.from + s.length - 1) + 1;
    ranges.emplace_back(from, std::max(end, from));
  }
  std::sort(ranges.begin(), ranges.end());
  std::vector<TRepairSpan> spans;
  for (const auto& [from, end] : ranges) {
    if (!spans.empty() && from <= spans.back().from + spans.back().length) {
      spans.back().length = std::max(spans.back().length, end - spans.back().from);
      continue;
    }
    spans.push_back({from, end - from});
  }
  // The ends of merged ranges lie outside every stretch of both steps.
  for (TRepairSpan& s : spans) {
    s.repairedFrom = Forward(second.spans, Forward(first.spans, s.from));
    const size_t end = Forward(second.spans, Forward(first.spans, s.from + s.length));
    s.repairedLength = end - s.repairedFrom;
  }
  return spans;
}

/// The lost places of two steps in a row: the second's, and the first's it left alone.
std::vector<size_t> ComposeLost(const StepOutcome& first, const StepOutcome& second) {
  std::vector<size_t> lost = second.lost;
  for (size_t at : first.lost) {
    const TRepairSpan* s =
        StretchBefore(second.spans, at, [](const TRepairSpan& x) { return x.from; });
    if (s == nullptr || at >= s->from + s->length) lost.push_back(Forward(second.spans, at));
  }
  std::sort(lost.begin(), lost.end());
  return lost;
}

/// The steps of a chain undone over the whole text, the last one first: the inner steps
/// take every segment that reads, the outer one every segment not dearer undone.
bool UndoWhole(WideView text, const std::vector<TRepairStep>& chain,
               std::vector<StepOutcome>& outcomes, int64_t& gain) {
  WideString current(text);
  gain = 0;
  for (auto step = chain.rbegin(); step != chain.rend(); ++step) {
    StepOutcome whole;
    const bool inner = step + 1 != chain.rend();
    if (!repair::UndoStep(*step, current, whole, inner ? repair::Reach::Valid : repair::Reach::All))
      return false;
    whole.step = *step;
    gain += whole.gain;
    outcomes.push_back(std::move(whole));
    current = repair::ForNextStep(outcomes.back());
  }
  return outcomes.back().readable;
}

}  // namespace

const TRepairSpan* TRepair::SpanAt(size_t offset) const {
  const TRepairSpan* s = StretchBefore(spans, offset, [](const TRepairSpan& x) { return x.from; });
  return s != nullptr && offset < s->from + std::max<size_t>(s->length, 1) ? s : nullptr;
}

namespace repair {

TRepairFinding CheckRepairAbove(WideView text, double minScore) {
  const Found found = SearchChain(text);
  if (found.outcomes.empty() || found.score < minScore) return {};
  TRepairFinding finding;
  for (auto it = found.outcomes.rbegin(); it != found.outcomes.rend(); ++it) {
    finding.chain.push_back(it->step);
    finding.lostBytes |= !it->lost.empty();
  }
  finding.score = found.score;
  finding.prior = found.prior;
  return finding;
}

TRepair FindRepairAbove(WideView text, double minScore) {
  TRepair repair = ApplyRepair(text, CheckRepairAbove(text, minScore));
  return repair.score >= minScore ? repair : TRepair{};
}

}  // namespace repair

TRepairFinding CheckRepair(WideView text) {
  return repair::CheckRepairAbove(text, kMinScore);
}

TRepair ApplyRepair(WideView text, const TRepairFinding& finding) {
  std::vector<StepOutcome> outcomes;
  int64_t gain = 0;
  if (!finding.Found() || !UndoWhole(text, finding.chain, outcomes, gain)) return {};
  TRepair r;
  StepOutcome& last = outcomes.back();
  if (outcomes.size() == 1) {
    r.spans = std::move(last.spans);
    r.lost = std::move(last.lost);
  } else {
    r.spans = Compose(outcomes.front(), last);
    r.lost = ComposeLost(outcomes.front(), last);
  }
  r.chain = finding.chain;
  r.text = std::move(last.text);
  for (size_t at : r.lost) r.text[at] = u'\xFFFD';  // an earlier step's loss, passed on
  r.score = Bits(gain) - finding.prior;
  return r;
}

TRepair FindRepair(WideView text) {
  return repair::FindRepairAbove(text, kMinScore);
}

}  // namespace magna
