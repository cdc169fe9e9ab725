#include "text/myRepair.h"

#include <algorithm>
#include <cmath>

#include "text/myRepairSteps.h"

namespace magna {

namespace {

using repair::StepOutcome;

/// The search looks at this many code units at most; the chain found is then applied to
/// the whole text.
constexpr size_t kSampleUnits = 16 * 1024;
/// First-layer outcomes that go on to a second layer.
constexpr size_t kSecondLayerTries = 4;
/// A chain must gain this many bits beyond its prior to be offered.
constexpr double kMinScore = 16;
/// Bits a second step costs beyond its own prior.
constexpr double kSecondStepBits = 4;

/// What the one-pass survey found.
struct Survey {
  size_t suspects = 0;
  size_t first = WideView::npos;  // the first suspect unit or encoded form
  bool escape = false, jis = false, mime = false, percent = false, references = false,
       escapes = false, punycode = false;
};

bool IsHex(char16_t u) {
  return repair::HexValue(u) >= 0;
}

/// Which encoded form may start at the trigger text[i]; sets its flag.
bool MarkTrigger(WideView text, size_t i, Survey& s) {
  const size_t n = text.size();
  const char16_t u = text[i], next = i + 1 < n ? text[i + 1] : 0;
  switch (u) {
    case '%':
      // Only an escaped byte from 0x80 up makes text unreadable.
      if (i + 2 < n && next >= '8' && IsHex(next) && IsHex(text[i + 2])) return s.percent = true;
      return false;
    case '&': return next == '#' ? (s.references = true) : false;
    case '\\':
      if ((next == 'u' || next == 'U' || next == 'x') && i + 2 < n && IsHex(text[i + 2]))
        return s.escapes = true;
      return false;
    case '=': return next == '?' ? (s.mime = true) : false;
    case '$': return next == 'B' || next == '@' ? (s.jis = true) : false;
    default:  // x or X
      if ((next == 'n' || next == 'N') && i + 3 < n && text[i + 2] == '-' && text[i + 3] == '-')
        return s.punycode = true;
      return false;
  }
}

Survey Look(WideView text) {
  Survey s;
  const uint8_t* flags = repair::UnitFlags();
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const uint8_t f = flags[text[i]];
    if ((f & (repair::kSuspect | repair::kTrigger)) == 0) continue;
    if ((f & repair::kSuspect) != 0) {
      ++s.suspects;
      s.escape |= text[i] == 0x1B;
      s.first = std::min(s.first, i);
    } else if (MarkTrigger(text, i, s)) {
      s.first = std::min(s.first, i);
    }
  }
  return s;
}

/// The steps worth trying on a text with this survey, each with its prior in bits.
struct Candidate {
  TRepairStep step;
  double prior;
};

std::vector<Candidate> Candidates(const Survey& s) {
  using C = TRepairCode;
  std::vector<Candidate> out;
  if (s.suspects > 0) {
    struct Pair {
      C source, reader;
      double prior;
    };
    static constexpr Pair kMisreads[] = {
        {C::UTF8, C::ShiftJIS, 6},        {C::UTF8, C::Windows1252, 6},
        {C::ShiftJIS, C::Windows1252, 8}, {C::EUCJP, C::ShiftJIS, 8},
        {C::EUCJP, C::Windows1252, 8},    {C::UTF8, C::EUCJP, 10},
        {C::ShiftJIS, C::EUCJP, 10},      {C::ShiftJIS, C::UTF8, 10},
        {C::EUCJP, C::UTF8, 10},
    };
    for (const Pair& p : kMisreads)
      out.push_back({{TRepairForm::Misread, p.source, p.reader}, p.prior});
    if (s.escape) out.push_back({{TRepairForm::Misread, C::ISO2022JP, C::ASCII}, 6});
  }
  if (s.jis) out.push_back({{TRepairForm::JisEscapesLost, C::ISO2022JP}, 6});
  if (s.mime) out.push_back({{TRepairForm::MimeB}, 2});
  if (s.percent)
    for (C code : {C::UTF8, C::ShiftJIS, C::EUCJP})
      out.push_back({{TRepairForm::Percent, code}, 2});
  if (s.references) out.push_back({{TRepairForm::CharacterReferences}, 2});
  if (s.escapes) out.push_back({{TRepairForm::Escapes}, 2});
  if (s.punycode) out.push_back({{TRepairForm::Punycode}, 2});
  return out;
}

/// The stretch the search looks at in a long text: from the line where the first suspect
/// unit is, about kSampleUnits long, ending at a line break or else at a unit below
/// 0x40 (no multi-byte character is cut there).
WideView Sample(WideView text, size_t first) {
  if (text.size() <= kSampleUnits) return text;
  size_t from = first == WideView::npos ? 0 : first;
  const size_t lineStart = text.find_last_of(u"\r\n", from);
  from = lineStart == WideView::npos || from - lineStart > kSampleUnits / 4
             ? (from > 64 ? from - 64 : 0)
             : lineStart + 1;
  const size_t end = std::min(text.size(), from + kSampleUnits);
  size_t cut = end;
  while (cut > from + kSampleUnits / 2 && cut < text.size() && text[cut - 1] >= 0x40) --cut;
  return text.substr(from, (cut > from + kSampleUnits / 2 ? cut : end) - from);
}

/// A chain as found: the outcome of each step, in the order they were undone.
struct Found {
  std::vector<StepOutcome> outcomes;
  double prior = 0;  // bits
  double score = -INFINITY;
};

double Bits(int64_t quarterBits) {
  return static_cast<double>(quarterBits) / repair::kQuarterBits;
}

/// Whether the second step replaced nine in ten of the characters beyond ASCII the
/// first one gave: two steps make a chain when the second undoes what the first left
/// (a text misread twice, a misreading inside an encoded form), not when each repairs
/// a part of its own.
bool UndoesWhatItDecoded(const StepOutcome& first, const StepOutcome& second) {
  size_t decoded = 0, undone = 0;
  auto span = second.spans.begin();
  for (const TRepairSpan& s : first.spans) {
    for (size_t at = s.repairedFrom; at < s.repairedFrom + s.repairedLength; ++at) {
      if (first.text[at] < 0x80) continue;
      ++decoded;
      while (span != second.spans.end() && span->from + span->length <= at) ++span;
      undone += span != second.spans.end() && span->from <= at;
    }
  }
  return undone * 10 >= decoded * 9;
}

/// Whether undoing the step depends on the reach (the misreadings do).
bool Reaches(const TRepairStep& step) {
  return step.form == TRepairForm::Misread && step.code != TRepairCode::ISO2022JP;
}

Found Search(WideView text) {
  Found best;
  std::vector<std::pair<StepOutcome, double>> firsts;
  for (const Candidate& c : Candidates(Look(text))) {
    StepOutcome o;
    if (repair::UndoStep(c.step, text, o, repair::Reach::Suspect)) {
      const double score = Bits(o.gain) - c.prior;
      if (o.readable && score > best.score) best = {{o}, c.prior, score};
    }
    if (Reaches(c.step) && !repair::UndoStep(c.step, text, o, repair::Reach::Valid)) continue;
    if (o.Changed()) firsts.emplace_back(std::move(o), c.prior);
  }
  std::sort(firsts.begin(), firsts.end(), [](const auto& a, const auto& b) {
    return a.first.gain - a.second * repair::kQuarterBits >
           b.first.gain - b.second * repair::kQuarterBits;
  });
  if (firsts.size() > kSecondLayerTries) firsts.resize(kSecondLayerTries);
  for (const auto& [first, firstPrior] : firsts) {
    for (const Candidate& c : Candidates(Look(first.text))) {
      StepOutcome o;
      if (!repair::UndoStep(c.step, first.text, o, repair::Reach::Suspect)) continue;
      const double prior = firstPrior + c.prior + kSecondStepBits;
      const double score = Bits(first.gain + o.gain) - prior;
      if (o.readable && UndoesWhatItDecoded(first, o) && score > best.score)
        best = {{first, o}, prior, score};
    }
  }
  return best;
}

/// Where `offset` of a text before a step lands after it (an offset inside a replaced
/// stretch lands at the stretch's start).
size_t Forward(const std::vector<TRepairSpan>& spans, size_t offset) {
  ptrdiff_t shift = 0;
  for (const TRepairSpan& s : spans) {
    if (offset < s.from + s.length) return offset < s.from ? offset + shift : s.repairedFrom;
    shift = static_cast<ptrdiff_t>(s.repairedFrom + s.repairedLength) -
            static_cast<ptrdiff_t>(s.from + s.length);
  }
  return static_cast<size_t>(static_cast<ptrdiff_t>(offset) + shift);
}

/// Where `offset` of a text after a step came from (inside a replaced stretch: its start).
size_t Backward(const std::vector<TRepairSpan>& spans, size_t offset) {
  ptrdiff_t shift = 0;
  for (const TRepairSpan& s : spans) {
    if (offset < s.repairedFrom + s.repairedLength)
      return offset < s.repairedFrom ? offset - shift : s.from;
    shift = static_cast<ptrdiff_t>(s.repairedFrom + s.repairedLength) -
            static_cast<ptrdiff_t>(s.from + s.length);
  }
  return static_cast<size_t>(static_cast<ptrdiff_t>(offset) - shift);
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
    bool replaced = false;
    for (const TRepairSpan& s : second.spans) replaced |= at >= s.from && at < s.from + s.length;
    if (!replaced) lost.push_back(Forward(second.spans, at));
  }
  std::sort(lost.begin(), lost.end());
  return lost;
}

/// The chain found on the sample applied to the whole text, every segment in reach.
bool ApplyToWhole(WideView text, Found& found) {
  std::vector<StepOutcome> outcomes;
  WideView current = text;
  int64_t gain = 0;
  for (const StepOutcome& o : found.outcomes) {
    StepOutcome whole;
    const bool inner = &o != &found.outcomes.back();
    if (!repair::UndoStep(o.step, current, whole,
                          inner ? repair::Reach::Valid : repair::Reach::All))
      return false;
    whole.step = o.step;
    gain += whole.gain;
    outcomes.push_back(std::move(whole));
    current = outcomes.back().text;
  }
  found.score = outcomes.back().readable ? Bits(gain) - found.prior : -INFINITY;
  found.outcomes = std::move(outcomes);
  return true;
}

TRepair Result(Found& found) {
  TRepair r;
  StepOutcome& last = found.outcomes.back();
  if (found.outcomes.size() == 1) {
    r.spans = last.spans;
    r.lost = last.lost;
  } else {
    r.spans = Compose(found.outcomes.front(), last);
    r.lost = ComposeLost(found.outcomes.front(), last);
  }
  for (auto it = found.outcomes.rbegin(); it != found.outcomes.rend(); ++it)
    r.chain.push_back(it->step);
  r.text = std::move(last.text);
  r.score = found.score;
  return r;
}

}  // namespace

const TRepairSpan* TRepair::SpanAt(size_t offset) const {
  auto it = std::upper_bound(spans.begin(), spans.end(), offset,
                             [](size_t o, const TRepairSpan& s) { return o < s.from; });
  if (it == spans.begin()) return nullptr;
  --it;
  return offset < it->from + std::max<size_t>(it->length, 1) ? &*it : nullptr;
}

namespace repair {

TRepair FindRepairAbove(WideView text, double minScore) {
  const Survey survey = Look(text);
  if (survey.first == WideView::npos) return {};
  const WideView sample = Sample(text, survey.first);
  Found found = Search(sample);
  if (found.outcomes.empty() || found.score < minScore) return {};
  if (!ApplyToWhole(text, found) || found.score < minScore) return {};
  return Result(found);
}

}  // namespace repair

TRepair FindRepair(WideView text) {
  return repair::FindRepairAbove(text, kMinScore);
}

}  // namespace magna
