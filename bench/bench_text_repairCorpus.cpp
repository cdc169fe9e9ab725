// The corpus of the mojibake repair and its measurement.
//
//   bench_text_repairCorpus                    the run below on bench/corpus/repair/pairs
//   bench_text_repairCorpus make SOURCES OUT   pairs from the sources bench/makeRepairCorpus.sh
//                                              gathered (seeded: the same sources give the
//                                              same pairs)
//   bench_text_repairCorpus run OUT [--list N] [--only CHAIN]
//                                              FindRepair on every pair (or a chain's): the
//                                              table per chain, the false repairs of clean
//                                              text, time; --list shows N misses
//
// OUT holds NAME.in.txt / NAME.want.txt (UTF-8, no mark) and MANIFEST.tsv, one line per
// pair: name, chain, lossless (1 when no step lost a byte), source, characters. Any tool
// can be run on the pairs: it is given NAME.in.txt and should give NAME.want.txt; for a
// clean text (chain "clean-...") the two are the same and the right answer is nothing
// to repair.
//
// Every Japanese text goes through every chain: 17 wrong decodings, 8 of two layers, 2
// encoded forms of a wrong decoding and 25 encoded forms. A chain that loses bytes
// (a reader without a character for some byte) is measured by the share of the text's
// characters the repair gives back, beside the share the misread text still had.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "tests/support/repairChains.h"
#include "tests/support/seededDraw.h"
#include "text/myCharCode.h"
#include "text/repair/myRepair.h"
#include "text/repair/myRepairForms.h"
#include "text/repair/myRepairSteps.h"

using namespace magna;
using namespace magna::repair;
using C = TRepairCode;
using Draw = magna::test::SeededDraw;
using namespace magna::test;

namespace {

constexpr uint64_t kSeed = 20250125;
constexpr int kJapaneseTexts = 2000;
constexpr int kCleanPerKind = 2000;
constexpr size_t kMinChars = 10, kMaxChars = 2000;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

bool IsJapaneseUnit(char16_t u) {
  return (u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
         (u >= 0xFF01 && u <= 0xFF9F);
}

/// A stretch of `length` units of `all` from a line start found at random, not cutting a
/// surrogate pair or CR LF; empty when the draw fell short.
WideString Cut(const WideString& all, Draw& draw, size_t length) {
  if (all.size() < length + 2) return {};
  size_t at = draw.Below(all.size() - length);
  const size_t line = all.find(u'\n', at);
  if (line == WideString::npos || line + 1 + length > all.size()) return {};
  at = line + 1;
  size_t end = at + length;
  if (end < all.size() && end > at && all[end - 1] >= 0xD800 && all[end - 1] <= 0xDBFF) ++end;
  return all.substr(at, end - at);
}

// ---------------------------------------------------------------- making the corpus

struct Source {
  std::string name;
  WideString text;
};

/// Japanese texts: cut from the two sources in turn, each with a Japanese character.
std::vector<std::pair<std::string, WideString>> JapaneseTexts(const std::vector<Source>& ja,
                                                              Draw& draw, int count) {
  std::vector<std::pair<std::string, WideString>> texts;
  while (static_cast<int>(texts.size()) < count) {
    const Source& s = ja[texts.size() % ja.size()];
    WideString t = Cut(s.text, draw, draw.Length(kMinChars, kMaxChars));
    if (t.empty() || std::none_of(t.begin(), t.end(), IsJapaneseUnit)) continue;
    texts.emplace_back(s.name, std::move(t));
  }
  return texts;
}

WideString HalfWidthKatakana(WideView text) {
  // The katakana of the text in their half-width forms, as older systems write them.
  static const char16_t* kFull =
      u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘ"
      u"ホマミムメモヤユヨラリルレロワン";
  WideString out;
  for (char16_t u : text) {
    const char16_t* p =
        std::char_traits<char16_t>::find(kFull, std::char_traits<char16_t>::length(kFull), u);
    out += p != nullptr ? static_cast<char16_t>(0xFF61 + (p - kFull)) : u;
  }
  return out;
}

WideString FullWidthAscii(WideView text) {
  WideString out;
  for (char16_t u : text) out += u > 0x20 && u < 0x7F ? static_cast<char16_t>(u + 0xFEE0) : u;
  return out;
}

/// Lines of `source` around a random place: `lines` of them.
WideString Lines(const WideString& source, Draw& draw, size_t lines) {
  WideString t = Cut(source, draw, std::min<size_t>(source.size() / 2, 4000));
  WideString out;
  size_t from = 0;
  for (size_t k = 0; k < lines && from < t.size(); ++k) {
    size_t end = t.find(u'\n', from);
    if (end == WideString::npos) break;
    out.append(t, from, end + 1 - from);
    from = end + 1;
  }
  return out;
}

WideString Clip(WideString t, Draw& draw) {
  const size_t length = draw.Length(kMinChars, kMaxChars);
  if (t.size() > length) t.resize(length);
  if (!t.empty() && t.back() >= 0xD800 && t.back() <= 0xDBFF) t.pop_back();
  return t;
}

/// The clean texts of one kind.
WideString CleanText(const std::string& kind, const std::map<std::string, Source>& s, Draw& draw) {
  if (kind == "japanese") {
    const Source& src = draw.Below(2) ? s.at("ja-man") : s.at("ja-ref");
    return Cut(src.text, draw, draw.Length(kMinChars, kMaxChars));
  }
  if (kind == "english") return Cut(s.at("en").text, draw, draw.Length(kMinChars, kMaxChars));
  if (kind == "code") return Cut(s.at("code").text, draw, draw.Length(kMinChars, kMaxChars));
  if (kind == "urls") return Clip(Lines(s.at("urls").text, draw, 1 + draw.Below(12)), draw);
  // Mixed: Japanese with English, code, URLs and names in other scripts, and Japanese in
  // the forms older systems write (half-width katakana, full-width ASCII).
  WideString t;
  const size_t parts = 2 + draw.Below(4);
  for (size_t k = 0; k < parts; ++k) {
    switch (draw.Below(6)) {
      case 0: t += Lines(s.at("ja-ref").text, draw, 1 + draw.Below(4)); break;
      case 1: t += HalfWidthKatakana(Lines(s.at("ja-man").text, draw, 1 + draw.Below(4))); break;
      case 2: t += FullWidthAscii(Lines(s.at("ja-ref").text, draw, 1 + draw.Below(3))); break;
      case 3: t += Lines(s.at("code").text, draw, 1 + draw.Below(6)); break;
      case 4: t += Lines(s.at("urls").text, draw, 1 + draw.Below(3)); break;
      default: t += Lines(s.at("names").text, draw, 1 + draw.Below(4)); break;
    }
  }
  return Clip(t, draw);
}

std::string Utf8(WideView text) {
  return WideToUtf8(text);
}

int Make(const std::string& sources, const std::string& out) {
  std::map<std::string, Source> s;
  for (const char* name : {"ja-man", "ja-ref", "en", "code", "urls", "names"}) {
    const std::string bytes = ReadAll(sources + "/" + name + ".txt");
    if (bytes.empty()) {
      std::fprintf(stderr, "missing %s/%s.txt: run bench/makeRepairCorpus.sh\n", sources.c_str(),
                   name);
      return 1;
    }
    s[name] = {name, Utf8ToWide(bytes)};
  }
  ::mkdir(out.c_str(), 0755);
  std::ofstream manifest(out + "/MANIFEST.tsv");
  manifest << "# name\tchain\tlossless\tsource\tcharacters\n";
  Draw draw(kSeed);
  const auto texts = JapaneseTexts({s.at("ja-man"), s.at("ja-ref")}, draw, kJapaneseTexts);
  const std::vector<Chain> chains = Chains();
  size_t pairs = 0, skipped = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto& [sourceName, text] = texts[i];
    const std::string want = Utf8(text);
    for (const Chain& chain : chains) {
      WideString current;
      bool lossless = true;
      if (!MakeChain(chain, text, current, lossless)) {
        ++skipped;
        continue;
      }
      char name[96];
      std::snprintf(name, sizeof name, "t%04zu-%s", i, chain.name.c_str());
      WriteAll(out + "/" + name + ".in.txt", Utf8(current));
      WriteAll(out + "/" + name + ".want.txt", want);
      manifest << name << '\t' << chain.name << '\t' << lossless << '\t' << sourceName << '\t'
               << text.size() << '\n';
      ++pairs;
    }
  }
  for (const char* kind : {"japanese", "english", "code", "urls", "mixed"}) {
    for (int k = 0; k < kCleanPerKind;) {
      const WideString t = CleanText(kind, s, draw);
      if (t.size() < kMinChars) continue;
      char name[64];
      std::snprintf(name, sizeof name, "c%04d-%s", k++, kind);
      const std::string bytes = Utf8(t);
      WriteAll(out + "/" + name + ".in.txt", bytes);
      WriteAll(out + "/" + name + ".want.txt", bytes);
      manifest << name << "\tclean-" << kind << "\t1\t" << kind << '\t' << t.size() << '\n';
      ++pairs;
    }
  }
  std::printf("%zu pairs in %s (%zu chain applications skipped: a character the code lacks)\n",
              pairs, out.c_str(), skipped);
  return 0;
}

// ---------------------------------------------------------------- measuring

/// The length of the longest common subsequence of a and b, bit-parallel (Hyyrö).
size_t Lcs(WideView a, WideView b) {
  if (a.empty() || b.empty()) return 0;
  const size_t words = (a.size() + 63) / 64;
  std::unordered_map<char16_t, std::vector<uint64_t>> match;
  for (size_t i = 0; i < a.size(); ++i) {
    auto& m = match[a[i]];
    if (m.empty()) m.assign(words, 0);
    m[i / 64] |= uint64_t{1} << (i % 64);
  }
  std::vector<uint64_t> v(words, ~uint64_t{0});
  const std::vector<uint64_t> none(words, 0);
  for (char16_t c : b) {
    auto it = match.find(c);
    const std::vector<uint64_t>& m = it == match.end() ? none : it->second;
    uint64_t carry = 0, borrow = 0;
    for (size_t w = 0; w < words; ++w) {
      const uint64_t u = v[w] & m[w];
      const uint64_t partial = v[w] + u;
      const uint64_t sum = partial + carry;
      carry = (partial < v[w]) | (sum < partial);
      const uint64_t difference = v[w] - u;  // u holds only bits of v[w]: no borrow here
      const uint64_t diff = difference - borrow;
      borrow = difference < borrow;
      v[w] = sum | diff;
    }
  }
  size_t zeros = 0;
  for (size_t w = 0; w < words; ++w) {
    uint64_t bits = ~v[w];
    if (w == words - 1 && a.size() % 64 != 0) bits &= (uint64_t{1} << (a.size() % 64)) - 1;
    zeros += static_cast<size_t>(__builtin_popcountll(bits));
  }
  return zeros;
}

/// Thresholds at which the margin table counts exact repairs and false ones.
constexpr double kThresholds[] = {0, 4, 8, 12, 16, 20, 24, 32};
constexpr size_t kThresholdCount = sizeof kThresholds / sizeof kThresholds[0];

struct Margins {
  size_t exact[kThresholdCount] = {}, lossless = 0;  // lossless corrupted pairs
  size_t wrong[kThresholdCount] = {}, clean = 0;     // clean texts repaired
  double cleanBest = -INFINITY;
};

/// What FindRepair would give at each threshold, from the best chain whatever its score.
void CountMargins(const WideString& in, const WideString& want, bool clean, bool lossless,
                  Margins& m, bool show) {
  const TRepair best = FindRepairAbove(in, -INFINITY);
  const double score = best.Found() ? best.score : -INFINITY;
  if (clean && show && score >= kThresholds[2])
    std::printf("clean text close to repair (%.1f bits) [%s]\n  %s\n  => %s\n", score,
                WideToUtf8(RepairWords(best, TRepairLanguage::English)).c_str(),
                WideToUtf8(in).substr(0, 300).c_str(),
                WideToUtf8(best.text).substr(0, 300).c_str());
  if (clean) {
    ++m.clean;
    m.cleanBest = std::max(m.cleanBest, score);
    for (size_t t = 0; t < kThresholdCount; ++t) m.wrong[t] += score >= kThresholds[t];
    return;
  }
  if (!lossless) return;
  ++m.lossless;
  for (size_t t = 0; t < kThresholdCount; ++t)
    m.exact[t] += score >= kThresholds[t] ? best.text == want : in == want;
}

void PrintMargins(const Margins& m) {
  std::printf("\nthreshold (bits)                   ");
  for (double t : kThresholds) std::printf(" %7.0f", t);
  std::printf("\nexact, lossless pairs (%%)          ");
  for (size_t t = 0; t < kThresholdCount; ++t)
    std::printf(" %7.2f", m.lossless ? 100.0 * m.exact[t] / m.lossless : 0.0);
  std::printf("\nfalse repairs of clean texts       ");
  for (size_t t = 0; t < kThresholdCount; ++t) std::printf(" %7zu", m.wrong[t]);
  std::printf("\nbest score of any clean text: %.1f bits (FindRepair offers from %.0f)\n",
              m.cleanBest, kThresholds[4]);
}

struct Row {
  size_t n = 0, lossless = 0, exact = 0, exactLossless = 0, found = 0, named = 0;
  double recovered = 0, before = 0;  // sums of shares over the lossy pairs
  size_t lossy = 0;
  double seconds = 0;
};

int Run(const std::string& dir, int list, const std::string& only) {
  std::ifstream manifest(dir + "/MANIFEST.tsv");
  if (!manifest) {
    std::fprintf(stderr, "no %s/MANIFEST.tsv: run bench/makeRepairCorpus.sh\n", dir.c_str());
    return 1;
  }
  std::map<std::string, std::vector<TRepairStep>> expected;
  std::vector<std::string> order;
  for (const Chain& c : Chains()) {
    expected[c.name] = c.expected;
    order.push_back(c.name);
  }
  std::map<std::string, Row> rows;
  Margins margins;
  std::string line;
  int listed = 0;
  while (std::getline(manifest, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, chain, lossless;
    std::getline(fields, name, '\t');
    std::getline(fields, chain, '\t');
    std::getline(fields, lossless, '\t');
    if (!only.empty() && chain != only) continue;
    const WideString in = Utf8ToWide(ReadAll(dir + "/" + name + ".in.txt"));
    const WideString want = Utf8ToWide(ReadAll(dir + "/" + name + ".want.txt"));
    const auto start = std::chrono::steady_clock::now();
    const TRepair r = FindRepair(in);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Row& row = rows[chain];
    row.seconds += seconds;
    ++row.n;
    const bool clean = chain.rfind("clean-", 0) == 0;
    CountMargins(in, want, clean, lossless == "1", margins, list > 0);
    const WideString& got = r.Found() ? r.text : in;
    row.found += r.Found();
    if (clean) {
      if (r.Found() && listed++ < list)
        std::printf("false repair %s [%s]\n  %s\n  => %s\n", name.c_str(),
                    Utf8(RepairWords(r, TRepairLanguage::English)).c_str(),
                    Utf8(in).substr(0, 400).c_str(), Utf8(r.text).substr(0, 400).c_str());
      continue;
    }
    const bool exact = got == want;
    row.exact += exact;
    row.named += r.Found() && NamedRight(r.chain, expected[chain]);
    if (lossless == "1") {
      ++row.lossless;
      row.exactLossless += exact;
      if (!exact && listed++ < list)
        std::printf("miss %s [%s]\n  %s\n  => %s\n", name.c_str(),
                    Utf8(RepairWords(r, TRepairLanguage::English)).c_str(),
                    Utf8(in).substr(0, 300).c_str(), Utf8(got).substr(0, 300).c_str());
    } else {
      ++row.lossy;
      row.recovered += static_cast<double>(Lcs(want, got)) / static_cast<double>(want.size());
      row.before += static_cast<double>(Lcs(want, in)) / static_cast<double>(want.size());
    }
  }
  auto percent = [](double a, double b) { return b > 0 ? 100.0 * a / b : 0.0; };
  std::printf("\n%-34s %6s %8s %8s %8s %8s %7s %9s %9s %8s\n", "chain", "texts", "lossless",
              "exact%", "exactLL%", "named%", "lossy", "recov%", "before%", "ms/text");
  for (const std::string& chain : order) {
    const Row& r = rows[chain];
    if (r.n == 0) continue;
    std::printf("%-34s %6zu %8zu %8.2f %8.2f %8.2f %7zu %9.2f %9.2f %8.3f\n", chain.c_str(), r.n,
                r.lossless, percent(r.exact, r.n), percent(r.exactLossless, r.lossless),
                percent(r.named, r.n), r.lossy, percent(r.recovered, r.lossy),
                percent(r.before, r.lossy), 1000 * r.seconds / r.n);
  }
  std::printf("\n%-34s %6s %14s %8s\n", "clean texts", "texts", "false repairs", "ms/text");
  size_t cleanTexts = 0, falseRepairs = 0;
  for (const auto& [chain, r] : rows) {
    if (chain.rfind("clean-", 0) != 0) continue;
    std::printf("%-34s %6zu %14zu %8.3f\n", chain.c_str(), r.n, r.found, 1000 * r.seconds / r.n);
    cleanTexts += r.n;
    falseRepairs += r.found;
  }
  std::printf("%-34s %6zu %14zu\n", "all clean", cleanTexts, falseRepairs);
  PrintMargins(margins);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) {  // as scripts/bench.sh runs it: the corpus bench/makeRepairCorpus.sh made
    const std::string pairs = std::string(MAGNA_SOURCE_DIR) + "/bench/corpus/repair/pairs";
    if (!std::ifstream(pairs + "/MANIFEST.tsv")) {
      std::printf("no repair corpus: run bench/makeRepairCorpus.sh first\n");
      return 0;
    }
    return Run(pairs, 0, "");
  }
  if (argc >= 4 && std::strcmp(argv[1], "make") == 0) return Make(argv[2], argv[3]);
  if (argc >= 3 && std::strcmp(argv[1], "run") == 0) {
    int list = 0;
    std::string only;
    for (int i = 3; i + 1 < argc; i += 2) {
      if (std::strcmp(argv[i], "--list") == 0) list = std::atoi(argv[i + 1]);
      if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
    }
    return Run(argv[2], list, only);
  }
  std::fprintf(stderr, "usage: %s make SOURCES OUT | run OUT [--list N] [--only CHAIN]\n", argv[0]);
  return 2;
}
