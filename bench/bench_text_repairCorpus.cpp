// The corpus of the mojibake repair and its measurement.
//
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

#include "text/myCharCode.h"
#include "text/myRepair.h"
#include "text/myRepairForms.h"
#include "text/myRepairSteps.h"

using namespace magna;
using namespace magna::repair;
using C = TRepairCode;

namespace {

constexpr uint64_t kSeed = 20250125;
constexpr int kJapaneseTexts = 2000;
constexpr int kCleanPerKind = 2000;
constexpr size_t kMinChars = 10, kMaxChars = 2000;

// ---------------------------------------------------------------- deterministic draws

/// splitmix64: the same numbers on every platform and library.
class Draw {
 public:
  explicit Draw(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  /// A length from lo to hi, log-uniform: short and long texts alike.
  size_t Length(size_t lo, size_t hi) {
    const double u = static_cast<double>(Next() >> 11) / 9007199254740992.0;
    return static_cast<size_t>(std::exp(std::log(lo) + u * (std::log(hi + 1) - std::log(lo))));
  }

 private:
  uint64_t state_;
};

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

// ---------------------------------------------------------------- the chains

enum class Kind { Misread, JisNoEsc, Mime, Percent, References, PyEscape, JsonEscape, Bytes, Puny };

struct Layer {
  Kind kind;
  C code = C::None;    // the code the bytes are in (Misread: the source)
  C reader = C::None;  // Misread
  bool flag = false;   // Misread: strict; Mime: base64; References: hex
};

struct Chain {
  std::string name;
  std::vector<Layer> layers;          // in the order they happen
  std::vector<TRepairStep> expected;  // what FindRepair should name
};

/// `in` through one layer; false when the text cannot go through it. `lossless` is
/// cleared when the layer lost a byte.
bool Apply(const Layer& l, WideView in, WideString& out, bool& lossless) {
  switch (l.kind) {
    case Kind::Misread:
      if (l.code == C::ISO2022JP) return Misread(in, C::ISO2022JP, C::Latin1, false, out);
      if (!Misread(in, l.code, l.reader, l.flag, out)) return false;
      if (out.find(u'\xFFFD') != WideString::npos) lossless = false;
      return true;
    case Kind::JisNoEsc: return DropJisEscapes(in, out);
    case Kind::Mime: return MimeEncode(in, l.code, l.flag, out);
    case Kind::Percent: return PercentEncode(in, l.code, out);
    case Kind::References: out = ReferenceEncode(in, l.flag); return true;
    case Kind::PyEscape: out = UnicodeEscape(in, false); return true;
    case Kind::JsonEscape: out = UnicodeEscape(in, true); return true;
    case Kind::Bytes: return ByteEscape(in, l.code, out);
    case Kind::Puny: out = PunycodeLabels(in); return true;
  }
  return false;
}

const char* CodeName(C c) {
  switch (c) {
    case C::UTF8: return "utf8";
    case C::ShiftJIS: return "sjis";
    case C::EUCJP: return "eucjp";
    case C::ISO2022JP: return "jis";
    case C::UTF7: return "utf7";
    case C::UTF16LE: return "utf16le";
    case C::UTF16BE: return "utf16be";
    case C::Latin1: return "latin1";
    case C::Windows1252: return "cp1252";
    case C::ASCII: return "ascii";
    default: return "none";
  }
}

Layer MisreadLayer(C source, C reader, bool strict = false) {
  return {Kind::Misread, source, reader, strict};
}

TRepairStep MisreadStep(C source, C reader) {
  return {TRepairForm::Misread, source, reader};
}

std::string MisreadName(const Layer& l) {
  return std::string(CodeName(l.code)) + ">" + CodeName(l.reader) + (l.flag ? "strict" : "");
}

std::vector<Chain> Chains() {
  std::vector<Chain> chains;
  const C jp[] = {C::UTF8, C::ShiftJIS, C::EUCJP};
  const C readers[] = {C::ShiftJIS, C::EUCJP, C::UTF8, C::Latin1, C::Windows1252};
  for (C source : jp) {
    for (C reader : readers) {
      if (reader == source) continue;
      const Layer l = MisreadLayer(source, reader);
      chains.push_back({MisreadName(l), {l}, {MisreadStep(source, reader)}});
    }
    const Layer strict = MisreadLayer(source, C::Windows1252, true);
    chains.push_back({MisreadName(strict), {strict}, {MisreadStep(source, C::Windows1252)}});
  }
  chains.push_back(
      {"jis>ascii", {MisreadLayer(C::ISO2022JP, C::ASCII)}, {MisreadStep(C::ISO2022JP, C::ASCII)}});
  chains.push_back(
      {"jis-noesc", {{Kind::JisNoEsc}}, {{TRepairForm::JisEscapesLost, C::ISO2022JP}}});
  // Two wrong decodings: the text misread, saved as UTF-8, misread again.
  const std::pair<Layer, Layer> doubles[] = {
      {MisreadLayer(C::UTF8, C::Windows1252), MisreadLayer(C::UTF8, C::Windows1252)},
      {MisreadLayer(C::UTF8, C::Latin1), MisreadLayer(C::UTF8, C::Latin1)},
      {MisreadLayer(C::UTF8, C::ShiftJIS), MisreadLayer(C::UTF8, C::ShiftJIS)},
      {MisreadLayer(C::UTF8, C::ShiftJIS), MisreadLayer(C::UTF8, C::Windows1252)},
      {MisreadLayer(C::ShiftJIS, C::Windows1252), MisreadLayer(C::UTF8, C::Windows1252)},
      {MisreadLayer(C::EUCJP, C::ShiftJIS), MisreadLayer(C::UTF8, C::ShiftJIS)},
      {MisreadLayer(C::UTF8, C::Windows1252), MisreadLayer(C::UTF8, C::ShiftJIS)},
      {MisreadLayer(C::ShiftJIS, C::Latin1), MisreadLayer(C::UTF8, C::ShiftJIS)},
  };
  for (const auto& [a, b] : doubles)
    chains.push_back({MisreadName(a) + "+" + MisreadName(b),
                      {a, b},
                      {MisreadStep(a.code, a.reader), MisreadStep(b.code, b.reader)}});
  // Encoded forms of a misread text: UTF-8 bytes in a word labelled ISO-8859-1, and a
  // page that kept UTF-8 read as Windows-1252 as character references.
  const Layer latin = MisreadLayer(C::UTF8, C::Latin1);
  chains.push_back({"utf8>latin1+mime-q-latin1",
                    {latin, {Kind::Mime, C::Latin1, C::None, false}},
                    {MisreadStep(C::UTF8, C::Latin1), {TRepairForm::MimeQ, C::Latin1}}});
  const Layer western = MisreadLayer(C::UTF8, C::Windows1252);
  chains.push_back({"utf8>cp1252+html-dec",
                    {western, {Kind::References, C::None, C::None, false}},
                    {MisreadStep(C::UTF8, C::Windows1252), {TRepairForm::CharacterReferences}}});
  for (C charset : {C::UTF8, C::ShiftJIS, C::EUCJP, C::ISO2022JP, C::UTF7, C::UTF16LE, C::UTF16BE})
    for (bool base64 : {true, false})
      chains.push_back({std::string("mime-") + (base64 ? "b-" : "q-") + CodeName(charset),
                        {{Kind::Mime, charset, C::None, base64}},
                        {{base64 ? TRepairForm::MimeB : TRepairForm::MimeQ, charset}}});
  for (C code : jp) {
    chains.push_back({std::string("percent-") + CodeName(code),
                      {{Kind::Percent, code}},
                      {{TRepairForm::Percent, code}}});
  }
  chains.push_back({"html-hex",
                    {{Kind::References, C::None, C::None, true}},
                    {{TRepairForm::CharacterReferences}}});
  chains.push_back({"html-dec",
                    {{Kind::References, C::None, C::None, false}},
                    {{TRepairForm::CharacterReferences}}});
  chains.push_back({"escape-python", {{Kind::PyEscape}}, {{TRepairForm::Escapes}}});
  chains.push_back({"escape-json", {{Kind::JsonEscape}}, {{TRepairForm::Escapes}}});
  for (C code : jp)
    chains.push_back({std::string("xbytes-") + CodeName(code),
                      {{Kind::Bytes, code}},
                      {{TRepairForm::Escapes, code}}});
  chains.push_back({"punycode", {{Kind::Puny}}, {{TRepairForm::Punycode}}});
  return chains;
}

/// Steps named alike: the Western readers, and the escapes' byte code where the text
/// needed no byte escape.
bool SameStep(const TRepairStep& a, const TRepairStep& b) {
  auto western = [](C c) { return c == C::Latin1 || c == C::Windows1252; };
  if (a.form != b.form) return false;
  if (a.form == TRepairForm::Misread)
    return a.code == b.code && (a.readAs == b.readAs || (western(a.readAs) && western(b.readAs)));
  if (a.form == TRepairForm::MimeB || a.form == TRepairForm::MimeQ ||
      a.form == TRepairForm::Percent)
    return a.code == b.code;
  return true;
}

bool NamedRight(const std::vector<TRepairStep>& got, const std::vector<TRepairStep>& want) {
  if (got.size() != want.size()) return false;
  for (size_t i = 0; i < got.size(); ++i)
    if (!SameStep(got[i], want[i])) return false;
  return true;
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
      WideString current(text), next;
      bool lossless = true, made = true;
      for (const Layer& l : chain.layers) {
        made = Apply(l, current, next, lossless);
        if (!made) break;
        current.swap(next);
      }
      if (!made) {
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
