// Character-code throughput and detection accuracy on real Japanese text.
//   bench/makeCorpus.sh builds the corpus (bench/corpus, several MB per code) first.
//   Usage: bench_text_charcode [speed | detect [pick] | misses [pick]]
// Throughput: decode and encode MB/s (bytes of the encoded form per second, best of
// several runs) of our conversions beside ICU's raw converter and glibc iconv on the
// same bytes, in the same run, at 1 MiB and at 64 MiB (the corpus repeated). Every side
// allocates its output on each call, as a caller does: above glibc's mmap threshold
// that is fresh memory each time, whose page faults are part of the cost. Times are the
// thread's processor time (page faults included), best of several runs. Detection: share of windows
// of 1024/256/64 bytes (each starting at a line start) detected right end to end through
// DetectCharCode, beside the same pipeline asking ICU's ucsdet, uchardet or nkf instead of our
// detector; then the same windows cut at any byte and read as whole files (head -c, a partial
// download), beside ours reading them as the first bytes of a longer file.
#include <iconv.h>
#include <uchardet.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/codepage/charsetDetector.h"
#include "platform/codepage/codePage.h"
#include "text/myCharCode.h"

using namespace magna;

namespace {

std::string CorpusPath(const std::string& name) {
  return std::string(MAGNA_SOURCE_DIR) + "/bench/corpus/" + name;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

/// The calling thread's processor time (user and system, page faults included): on a
/// machine shared with other work, wall-clock time measures the neighbours too.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// Best throughput in MB/s of each of the runs over `bytes` bytes, by processor time; the
/// runs take turns for at least three rounds and about a second, so a busy moment of the
/// machine hits all of them alike.
std::vector<double> BestMBps(size_t bytes, const std::vector<std::function<void()>>& runs) {
  std::vector<double> best(runs.size(), 0.0);
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1200);
  for (int i = 0; i < 3 || std::chrono::steady_clock::now() < until; ++i) {
    for (size_t r = 0; r < runs.size(); ++r) {
      const double start = ThreadSeconds();
      runs[r]();
      const double seconds = ThreadSeconds() - start;
      best[r] = std::max(best[r], static_cast<double>(bytes) / 1e6 / seconds);
    }
  }
  return best;
}

// ---- the two libraries, raw -----------------------------------------------------------
// Every side allocates its own output on every call, as a caller does, and frees it:
// the libraries get a buffer of their worst-case size that nothing zero-fills (their
// best case: untouched pages cost nothing), ours returns its string.

template <class T>
using Buffer = std::unique_ptr<T[]>;

class IcuRaw {
 public:
  explicit IcuRaw(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    cnv_ = ucnv_open(name, &status);
    if (U_FAILURE(status)) cnv_ = nullptr;
  }
  ~IcuRaw() {
    if (cnv_) ucnv_close(cnv_);
  }
  size_t Decode(std::string_view bytes) {
    UErrorCode status = U_ZERO_ERROR;
    size_t capacity = bytes.size() + 16;
    Buffer<char16_t> out(new char16_t[capacity]);
    ucnv_resetToUnicode(cnv_);
    int32_t n = ucnv_toUChars(cnv_, out.get(), static_cast<int32_t>(capacity), bytes.data(),
                              static_cast<int32_t>(bytes.size()), &status);
    return U_SUCCESS(status) ? static_cast<size_t>(n) : 0;
  }
  size_t Encode(WideView text) {
    UErrorCode status = U_ZERO_ERROR;
    size_t capacity = UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(cnv_));
    Buffer<char> out(new char[capacity]);
    ucnv_resetFromUnicode(cnv_);
    int32_t n = ucnv_fromUChars(cnv_, out.get(), static_cast<int32_t>(capacity), text.data(),
                                static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status) ? static_cast<size_t>(n) : 0;
  }

 private:
  UConverter* cnv_;
};

class IconvRaw {
 public:
  explicit IconvRaw(const char* name)
      : decode_(iconv_open("UTF-16LE", name)), encode_(iconv_open(name, "UTF-16LE")) {}
  ~IconvRaw() {
    iconv_close(decode_);
    iconv_close(encode_);
  }
  size_t Decode(std::string_view bytes) {
    size_t capacity = bytes.size() + 16;
    Buffer<char16_t> out(new char16_t[capacity]);
    return Run(decode_, bytes.data(), bytes.size(), reinterpret_cast<char*>(out.get()),
               capacity * 2) /
           2;
  }
  size_t Encode(WideView text, size_t maxBytesPerUnit) {
    size_t capacity = text.size() * maxBytesPerUnit + 16;
    Buffer<char> out(new char[capacity]);
    return Run(encode_, reinterpret_cast<const char*>(text.data()), text.size() * 2, out.get(),
               capacity);
  }

 private:
  static size_t Run(iconv_t cd, const char* in, size_t inSize, char* out, size_t outSize) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    char* dst = out;
    size_t dstLeft = outSize;
    iconv(cd, &src, &inSize, &dst, &dstLeft);
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    return outSize - dstLeft;
  }
  iconv_t decode_, encode_;
};

// ---- throughput ----------------------------------------------------------------------

struct Code {
  const char* label;
  const char* file;
  const char* icu;
  const char* iconv;
  size_t maxBytesPerUnit;  // iconv's output bound
  std::function<WideString(std::string_view)> decode;
  std::function<AnsiString(WideView)> encode;
};

/// The corpus of a code cut to about `size` bytes at a line end, or repeated whole (every
/// copy ends at a line end, in the ASCII state) until it holds `size` bytes.
std::string InputOfSize(const std::string& corpus, size_t size) {
  if (size <= corpus.size()) return corpus.substr(0, corpus.rfind('\n', size) + 1);
  std::string bytes;
  bytes.reserve(size + corpus.size());
  while (bytes.size() < size) bytes += corpus;
  return bytes;
}

void Throughput(size_t size) {
  const Code codes[] = {
      {"Shift_JIS", "ja.sjis", "ibm-943_P15A-2003", "CP932", 2, AnsiToWide, WideToAnsi},
      {"EUC-JP", "ja.euc", "EUC-JP", "EUC-JP", 3, EucToWide, WideToEuc},
      {"ISO-2022-JP", "ja.jis", "ISO-2022-JP", "ISO-2022-JP", 8, JisToWide, WideToJis},
      {"UTF-8", "ja.utf8", "UTF-8", "UTF-8", 3, Utf8ToWide, WideToUtf8},
      {"UTF-7", "ja.utf7", "UTF-7", "UTF-7", 5, Utf7ToWide, WideToUtf7},
  };
  std::printf(
      "\nThroughput at %.0f MB, MB/s of encoded bytes (best run; every side allocates its\n"
      "output on each call); ratio = ours / faster library\n",
      static_cast<double>(size) / 1e6);
  std::printf("%-12s %6s | %8s %8s %8s %6s | %8s %8s %8s %6s\n", "code", "MB", "dec ours", "ICU",
              "iconv", "ratio", "enc ours", "ICU", "iconv", "ratio");
  for (const Code& c : codes) {
    const std::string corpus = ReadAll(CorpusPath(c.file));
    if (corpus.empty()) continue;
    const std::string bytes = InputOfSize(corpus, size);
    const WideString text = c.decode(bytes);
    IcuRaw icu(c.icu);
    IconvRaw conv(c.iconv);
    size_t sink = 0;
    std::vector<double> d = BestMBps(
        bytes.size(), {[&] { sink += c.decode(bytes).size(); }, [&] { sink += icu.Decode(bytes); },
                       [&] { sink += conv.Decode(bytes); }});
    std::vector<double> e = BestMBps(
        bytes.size(), {[&] { sink += c.encode(text).size(); }, [&] { sink += icu.Encode(text); },
                       [&] { sink += conv.Encode(text, c.maxBytesPerUnit); }});
    double dOurs = d[0], dIcu = d[1], dIconv = d[2], eOurs = e[0], eIcu = e[1], eIconv = e[2];
    std::printf("%-12s %6.1f | %8.0f %8.0f %8.0f %6.2f | %8.0f %8.0f %8.0f %6.2f%s\n", c.label,
                static_cast<double>(bytes.size()) / 1e6, dOurs, dIcu, dIconv,
                dOurs / std::max(dIcu, dIconv), eOurs, eIcu, eIconv, eOurs / std::max(eIcu, eIconv),
                sink ? "" : " ");
  }
}

/// Reading a whole UTF-16 file: our reader against one read plus the library's decoding.
void Utf16Reading() {
  std::printf("\nUTF-16 reading (whole file through ReadTextFile vs read + library), MB/s\n");
  for (auto [label, file, icuName, code] :
       {std::tuple{"UTF-16LE", "ja.utf16le", "UTF-16LE", cdUTF_16LE},
        std::tuple{"UTF-16BE", "ja.utf16be", "UTF-16BE", cdUTF_16BE}}) {
    std::string path = CorpusPath(file);
    size_t size = ReadAll(path).size();
    if (size == 0) continue;
    WideString name = Utf8ToWide(path);
    IcuRaw icu(icuName);
    IconvRaw conv(icuName);
    size_t sink = 0;
    std::vector<double> r = BestMBps(size, {[&] {
                                              TMyCharCode c = code;
                                              sink += ReadTextFile(name, c).size();
                                            },
                                            [&] { sink += icu.Decode(ReadAll(path)); },
                                            [&] { sink += conv.Decode(ReadAll(path)); }});
    double ours = r[0], viaIcu = r[1], viaIconv = r[2];
    std::printf("%-12s ours %6.0f  ICU %6.0f  iconv %6.0f  ratio %.2f%s\n", label, ours, viaIcu,
                viaIconv, ours / std::max(viaIcu, viaIconv), sink ? "" : " ");
  }
}

// ---- detection ---------------------------------------------------------------------------

using Detector = std::function<unsigned(std::string_view)>;

/// DetectCharCode's steps with another detector in place of ours.
TMyCharCode DetectWith(const Detector& detector, std::string_view window) {
  TMyCharCode code = CharCodeOfCodePage(detector(window));
  return code != cdSJis ? code : GuessSJisOrUtf16(window.data(), window.size());
}

unsigned IcuDetect(std::string_view s) {
  static UCharsetDetector* detector = [] {
    UErrorCode status = U_ZERO_ERROR;
    return ucsdet_open(&status);
  }();
  UErrorCode status = U_ZERO_ERROR;
  ucsdet_setText(detector, s.data(), static_cast<int32_t>(s.size()), &status);
  const UCharsetMatch* match = ucsdet_detect(detector, &status);
  if (U_FAILURE(status) || match == nullptr) return 1252;
  const char* name = ucsdet_getName(match, &status);
  return U_SUCCESS(status) && name ? platform::CodePageOfCharsetName(name).value_or(1252) : 1252;
}

unsigned UchardetDetect(std::string_view s) {
  static uchardet_t detector = uchardet_new();
  uchardet_reset(detector);
  uchardet_handle_data(detector, s.data(), s.size());
  uchardet_data_end(detector);
  const char* name = uchardet_get_charset(detector);
  return name && *name ? platform::CodePageOfCharsetName(name).value_or(1252) : 1252;
}

unsigned NkfDetect(std::string_view s) {
  static const std::string path = "/tmp/magna-bench-nkf-window";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(s.data(), static_cast<std::streamsize>(s.size()));
  }
  FILE* pipe = popen(("nkf --guess " + path).c_str(), "r");
  if (!pipe) return 1252;
  char line[128] = {};
  if (!std::fgets(line, sizeof line, pipe)) line[0] = 0;
  pclose(pipe);
  std::string name(line);
  name = name.substr(0, name.find_first_of(" \n"));
  if (name == "UTF-16") return 1201;  // nkf's name for big-endian without a mark
  return platform::CodePageOfCharsetName(name).value_or(1252);
}

/// One code's corpus for the detection tables.
struct Sample {
  const char* label;
  const char* file;
  TMyCharCode expected;
  int unit;
  bool bigEndian;
};

const Sample kSamples[] = {
    {"Shift_JIS", "ja.sjis", cdSJis, 1, false},
    {"EUC-JP", "ja.euc", cdEUC, 1, false},
    {"ISO-2022-JP", "ja.jis", cdJIS, 1, false},
    {"UTF-8", "ja.utf8", cdUTF_8N, 1, false},
    {"UTF-16LE", "ja.utf16le", cdUTF_16LE, 2, false},
    {"UTF-16BE", "ja.utf16be", cdUTF_16BE, 2, true},
    {"UTF-7", "ja.utf7", cdUTF_7, 1, false},
};

/// Whether a window of a byte code holds seven-bit ASCII alone (no escape; in UTF-7 no
/// shifted run): the same text in every code.
bool AsciiAlone(std::string_view w, TMyCharCode code) {
  for (size_t i = 0; i < w.size(); ++i) {
    if (static_cast<unsigned char>(w[i]) >= 0x80 || w[i] == 0x1B) return false;
    if (code == cdUTF_7 && w[i] == '+' && i + 1 < w.size() && w[i + 1] != '-') return false;
  }
  return true;
}

/// Window starts: line starts (after LF; for UTF-16 after the unit 000A) from which a
/// whole window fits, chosen at random with a fixed pick number; all-ASCII windows are left out
/// for the byte codes, being the same text in every code.
std::vector<size_t> WindowStarts(const std::string& bytes, size_t size, const Sample& s,
                                 size_t wanted, unsigned pick) {
  const size_t unit = static_cast<size_t>(s.unit);
  std::vector<size_t> starts{0};
  for (size_t i = 0; i + unit <= bytes.size(); i += unit) {
    bool lf = unit == 1 ? bytes[i] == '\n'
                        : bytes[i + (s.bigEndian ? 1 : 0)] == '\n' &&
                              bytes[i + (s.bigEndian ? 0 : 1)] == 0;
    if (lf && i + unit + size <= bytes.size()) starts.push_back(i + unit);
  }
  std::mt19937_64 random(1024 + size + pick);
  std::shuffle(starts.begin(), starts.end(), random);
  std::vector<size_t> chosen;
  for (size_t start : starts) {
    if (chosen.size() == wanted) break;
    if (unit == 2 || !AsciiAlone(std::string_view(bytes.data() + start, size), s.expected))
      chosen.push_back(start);
  }
  return chosen;
}

constexpr size_t kWindowSizes[] = {1024, 256, 64};
constexpr size_t kWindows = 2000;

/// Calls f(sample, corpus, size, starts) for every code and window size.
template <class F>
void ForEachWindowSet(unsigned pick, F f) {
  for (const Sample& s : kSamples) {
    const std::string bytes = ReadAll(CorpusPath(s.file));
    if (bytes.empty()) continue;
    for (size_t size : kWindowSizes)
      f(s, bytes, size, WindowStarts(bytes, size, s, kWindows, pick));
  }
}

void DetectionAccuracy(bool showMisses, unsigned pick) {
  const size_t kNkfWindows = 300;
  std::printf("\nDetection accuracy end to end (%% of windows right; %zu windows, nkf %zu)\n",
              kWindows, kNkfWindows);
  std::printf(
      "(windows of seven-bit ASCII alone are left out of the byte codes: they read alike\n"
      " in every code; n = windows counted; pick %u)\n",
      pick);
  std::printf("%-12s %5s %5s | %8s %8s %8s %8s\n", "code", "bytes", "n", "ours", "ICU", "uchardet",
              "nkf");
  ForEachWindowSet(pick, [&](const Sample& s, const std::string& bytes, size_t size,
                             const std::vector<size_t>& starts) {
    double right[4] = {};
    for (size_t k = 0; k < starts.size(); ++k) {
      std::string_view w(bytes.data() + starts[k], size);
      TMyCharCode ours = DetectCharCode(w.data(), w.size());
      right[0] += ours == s.expected;
      if (showMisses && ours != s.expected)
        std::printf("  miss %s %zu at %zu as %d: %s\n", s.label, size, starts[k], int(ours),
                    std::string(w).c_str());
      if (showMisses) continue;
      right[1] += DetectWith(IcuDetect, w) == s.expected;
      right[2] += DetectWith(UchardetDetect, w) == s.expected;
      if (k < kNkfWindows) right[3] += DetectWith(NkfDetect, w) == s.expected;
    }
    double n = static_cast<double>(starts.size());
    double nNkf = static_cast<double>(std::min(starts.size(), kNkfWindows));
    std::printf("%-12s %5zu %5zu | %7.2f%% %7.2f%% %7.2f%% %7.2f%%\n", s.label, size, starts.size(),
                100 * right[0] / n, 100 * right[1] / n, 100 * right[2] / n, 100 * right[3] / nNkf);
  });
}

/// The windows of DetectionAccuracy, the k-th cut k % 4 bytes short of its size so that
/// its end falls anywhere inside a character of any length, read as whole files (a file
/// cut by head -c, a partial download, a log rotated at a byte limit) beside the same
/// window read as the first bytes of a longer file. A window that the cut left with
/// seven-bit ASCII alone is left out, as in DetectionAccuracy.
void CutFileAccuracy(bool showMisses, unsigned pick) {
  std::printf("\nWindows cut at any byte (size less 0..3 bytes), %% right; %zu windows\n",
              kWindows);
  std::printf("%-12s %5s %5s | %8s %8s\n", "code", "bytes", "n", "sample", "file");
  ForEachWindowSet(pick, [&](const Sample& s, const std::string& bytes, size_t size,
                             const std::vector<size_t>& starts) {
    double right[2] = {};
    size_t counted = 0;
    for (size_t k = 0; k < starts.size(); ++k) {
      std::string_view w(bytes.data() + starts[k], size - k % 4);
      if (s.unit == 1 && AsciiAlone(w, s.expected)) continue;  // the cut took its one character
      ++counted;
      right[0] += DetectCharCode(w.data(), w.size()) == s.expected;
      TMyCharCode file = DetectCharCode(w.data(), w.size(), true);
      right[1] += file == s.expected;
      if (showMisses && file != s.expected)
        std::printf("  miss %s %zu at %zu as %d: %s\n", s.label, w.size(), starts[k], int(file),
                    std::string(w).c_str());
    }
    double n = static_cast<double>(counted);
    std::printf("%-12s %5zu %5zu | %7.2f%% %7.2f%%\n", s.label, size, counted, 100 * right[0] / n,
                100 * right[1] / n);
  });
}

/// Processor time per 1024-byte Shift_JIS window (best of five rounds over 1 MiB): on a
/// machine shared with other work, wall-clock time measures the neighbours too.
void DetectionSpeed() {
  std::string bytes = ReadAll(CorpusPath("ja.sjis")).substr(0, 1 << 20);
  if (bytes.size() < 1024) return;
  std::printf("\nDetection time per 1024-byte Shift_JIS window, microseconds of processor time\n");
  const auto ours = [](bool wholeFile) {
    return [wholeFile](std::string_view w) {
      return static_cast<unsigned>(DetectCharCode(w.data(), w.size(), wholeFile));
    };
  };
  for (auto [label, detector] : {std::pair<const char*, Detector>{"ours", ours(false)},
                                 {"ours, file", ours(true)},
                                 {"ICU", IcuDetect},
                                 {"uchardet", UchardetDetect}}) {
    double best = 1e9;
    unsigned sink = 0;
    const size_t windows = bytes.size() / 1024;
    for (int round = 0; round < 5; ++round) {
      const double start = ThreadSeconds();
      for (size_t at = 0; at + 1024 <= bytes.size(); at += 1024)
        sink += detector(std::string_view(bytes.data() + at, 1024));
      best = std::min(best, ThreadSeconds() - start);
    }
    std::printf("%-10s %7.2f%s\n", label, best * 1e6 / static_cast<double>(windows),
                sink ? "" : " ");
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string script = std::string(MAGNA_SOURCE_DIR) + "/bench/makeCorpus.sh";
  if (std::system(script.c_str()) != 0) return 1;
  std::string only = argc > 1 ? argv[1] : "";
  if (only.empty() || only == "speed") {
    Throughput(size_t{1} << 20);
    Throughput(size_t{64} << 20);
    Utf16Reading();
  }
  unsigned pick = argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 0;
  if (only == "misses") {
    DetectionAccuracy(true, pick);
    CutFileAccuracy(true, pick);
  }
  if (only.empty() || only == "detect") {
    DetectionAccuracy(false, pick);
    CutFileAccuracy(false, pick);
    DetectionSpeed();
  }
  return 0;
}
