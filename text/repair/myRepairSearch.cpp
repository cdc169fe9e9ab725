// Finding the chain: a survey of one pass over the text (or over windows of a long one)
// lets clean text through; a sample around the suspect part is then searched for the
// steps that, undone, make it most plausible, one step or two.
#include "text/repair/myRepairSearch.h"

#include <algorithm>
#include <cmath>

namespace magna::repair {

namespace {

/// The search looks at a sample of at most this many code units.
constexpr size_t kSampleUnits = 4096;
/// A longer text is surveyed in kWindows windows spread over it, each kSampleUnits
/// long: a text misread whole is misread everywhere, and a part misread or encoded in a
/// text otherwise clean is found in the window that has most of it.
constexpr size_t kWindows = 16;
/// First-layer outcomes that go on to a second layer.
constexpr size_t kSecondLayerTries = 4;
/// Bits a second step costs beyond its own prior.
constexpr double kSecondStepBits = 4;

/// What the one-pass survey found.
struct Survey {
  size_t suspects = 0;
  size_t forms = 0;               // places where an encoded form may start
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
      ++s.forms;
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

/// Whether what a step replaced holds no unit wrong decodings make (lost places aside): a
/// second step has nothing left to undo.
bool LooksClean(const StepOutcome& o) {
  const uint8_t* flags = repair::UnitFlags();
  for (const TRepairSpan& s : o.spans)
    for (size_t at = s.repairedFrom; at < s.repairedFrom + s.repairedLength; ++at)
      if ((flags[o.text[at]] & repair::kSuspect) != 0 && o.text[at] != 0xFFFD) return false;
  return true;
}

Found SearchSample(WideView text) {
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
  if (!best.outcomes.empty() && LooksClean(best.outcomes.front())) firsts.clear();
  for (const auto& [first, firstPrior] : firsts) {
    const WideString next = ForNextStep(first);
    for (const Candidate& c : Candidates(Look(next))) {
      StepOutcome o;
      if (!repair::UndoStep(c.step, next, o, repair::Reach::Suspect)) continue;
      const double prior = firstPrior + c.prior + kSecondStepBits;
      const double score = Bits(first.gain + o.gain) - prior;
      if (o.readable && UndoesWhatItDecoded(first, o) && score > best.score)
        best = {{first, o}, prior, score};
    }
  }
  return best;
}

/// How good a place text[at] is to cut a sample: after a line break best (no step's
/// stretch goes over one but the folding of MIME words), after white space next, after
/// another unit below 0x40 last (no such unit is part of a multi-byte character in any
/// code a misreading involves); 0 for none. The text's edges are best.
int CutQuality(WideView text, size_t at) {
  if (at == 0 || at >= text.size()) return 3;
  const char16_t u = text[at - 1];
  return u == '\n' || u == '\r' ? 3 : u == ' ' || u == '\t' ? 2 : u < 0x40 ? 1 : 0;
}

/// The best place to cut in [low, high], the one nearest `prefer` among the best.
size_t BestCut(WideView text, size_t low, size_t high, size_t prefer) {
  size_t best = prefer;
  int quality = -1;
  for (size_t at = low; at <= high; ++at) {
    const int q = CutQuality(text, at);
    const bool nearer =
        (at > prefer ? at - prefer : prefer - at) < (best > prefer ? best - prefer : prefer - best);
    if (q > quality || (q == quality && nearer)) {
      best = at;
      quality = q;
    }
  }
  return best;
}

/// A window of about kSampleUnits from near `from`, cut where BestCut finds best.
WideView Window(WideView text, size_t from) {
  const size_t slack = kSampleUnits / 4;
  const size_t start = BestCut(text, from > slack ? from - slack : 0, from, from);
  const size_t end = std::min(text.size(), start + kSampleUnits);
  const size_t cut = BestCut(text, std::max(start, end - slack), end, end);
  return text.substr(start, std::max(cut, start) - start);
}

/// The stretch of the text to search: the text when short, else the window of kWindows
/// that has the most suspect units and encoded forms. Empty when nothing is suspect.
WideView Sample(WideView text) {
  if (text.size() <= kSampleUnits) return Look(text).first == WideView::npos ? WideView() : text;
  WideView best;
  size_t bestCount = 0;
  for (size_t k = 0; k < kWindows; ++k) {
    const size_t from = (text.size() - kSampleUnits) / (kWindows - 1) * k;
    const WideView window = Window(text, from);
    const Survey s = Look(window);
    const size_t count = s.suspects + s.forms;
    if (count > bestCount) {
      best = window;
      bestCount = count;
    }
  }
  return best;
}

}  // namespace

Found SearchChain(WideView text) {
  const WideView sample = Sample(text);
  if (sample.empty()) return {};
  return SearchSample(sample);
}

}  // namespace magna::repair
