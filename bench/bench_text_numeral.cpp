// Sorting Japanese file names with the numeral-aware comparisons, beside ICU's
// Japanese collator in numeric mode on the same names, in the same run.
//   Usage: bench_text_numeral [count (100000)] [runs (3)]
// The names are generated deterministically and mix ASCII digits, full-width
// digits, kanji numerals, circled numbers and Roman numerals. Each comparison sorts
// the same shuffled list with the same stable merge sort over indexes (these
// comparisons are not strict weak orders); runs are interleaved and the best
// thread CPU time of each is printed.
#include <unicode/localpointer.h>
#include <unicode/ucol.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "text/myNumeral.h"

using namespace magna;

namespace {

using Compare = std::function<int(const WideString&, const WideString&)>;

// Deterministic on every platform: no std distributions.
class Generator {
 public:
  explicit Generator(uint32_t start) : engine_(start) {}
  unsigned Below(unsigned n) { return static_cast<unsigned>(engine_() % n); }
  template <size_t N>
  const char16_t* Pick(const char16_t* const (&items)[N]) {
    return items[Below(N)];
  }

 private:
  std::mt19937 engine_;
};

WideString Ascii(unsigned n, unsigned width = 0) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n);
  while (digits.size() < width) digits.insert(digits.begin(), u'0');
  return digits;
}

WideString FullWidth(unsigned n) {
  WideString text = Ascii(n);
  for (char16_t& c : text) c = static_cast<char16_t>(c - u'0' + u'０');
  return text;
}

const char16_t kKanjiDigits[] = u"〇一二三四五六七八九";

// 1 to 99999 the way it is written: 二万三千十五.
WideString Kanji(unsigned n) {
  static const struct {
    unsigned value;
    char16_t unit;
  } units[] = {{10000, u'万'}, {1000, u'千'}, {100, u'百'}, {10, u'十'}};
  WideString text;
  for (const auto& u : units) {
    const unsigned count = n / u.value;
    n %= u.value;
    if (count == 0) continue;
    if (count > 1 || u.value == 10000) text += kKanjiDigits[count];
    text += u.unit;
  }
  if (n) text += kKanjiDigits[n];
  return text;
}

// A year digit by digit: 二〇二三.
WideString KanjiYear(unsigned year) {
  WideString text;
  for (const char16_t c : Ascii(year)) text += kKanjiDigits[c - u'0'];
  return text;
}

WideString Circled(unsigned n) {
  return WideString(1, static_cast<char16_t>(u'①' + (n - 1) % 20));
}
WideString Roman(unsigned n) {
  return WideString(1, static_cast<char16_t>(u'Ⅰ' + (n - 1) % 10));
}

const char16_t* const kWords[] = {u"会議資料",   u"報告書",   u"見積書", u"請求書",     u"写真",
                                  u"議事録",     u"企画書",   u"設計書", u"テスト結果", u"メモ",
                                  u"マニュアル", u"売上集計", u"名簿",   u"Report",     u"data"};
const char16_t* const kExts[] = {u".txt", u".pdf", u".jpg", u".docx", u".xlsx", u".mp4", u".png"};

WideString MakeName(Generator& g) {
  const WideString word = g.Pick(kWords);
  const WideString ext = g.Pick(kExts);
  switch (g.Below(10)) {
    case 0: return u"IMG_" + Ascii(g.Below(10000), 4) + u".JPG";
    case 1: return u"第" + Kanji(1 + g.Below(120)) + u"章_" + word + ext;
    case 2: return u"第" + FullWidth(1 + g.Below(60)) + u"話" + ext;
    case 3: return word + Circled(1 + g.Below(20)) + ext;
    case 4:
      return word + u"_" + Ascii(2015 + g.Below(10)) + u"年" + Ascii(1 + g.Below(12)) + u"月" +
             Ascii(1 + g.Below(28)) + u"日" + ext;
    case 5:
      return u"議事録_" + KanjiYear(2015 + g.Below(10)) + u"年" + Kanji(1 + g.Below(12)) + u"月" +
             Kanji(1 + g.Below(28)) + u"日" + ext;
    case 6: return word + u" (" + Ascii(1 + g.Below(30)) + u")" + ext;
    case 7:
      return u"第" + Roman(1 + g.Below(10)) + u"部_" + word + u"_v" + Ascii(g.Below(4)) + u"." +
             Ascii(g.Below(20)) + ext;
    case 8: return word + u"_" + Kanji(1 + g.Below(99999)) + u"円" + ext;
    default: return u"track" + Ascii(1 + g.Below(40), 2) + u"_" + word + ext;
  }
}

void MergeSort(std::vector<uint32_t>& order, std::vector<uint32_t>& scratch, size_t lo, size_t hi,
               const std::vector<WideString>& names, const Compare& compare) {
  if (hi - lo < 2) return;
  const size_t mid = lo + (hi - lo) / 2;
  MergeSort(order, scratch, lo, mid, names, compare);
  MergeSort(order, scratch, mid, hi, names, compare);
  size_t i = lo, j = mid, out = lo;
  while (i < mid && j < hi)
    scratch[out++] = compare(names[order[i]], names[order[j]]) <= 0 ? order[i++] : order[j++];
  while (i < mid) scratch[out++] = order[i++];
  while (j < hi) scratch[out++] = order[j++];
  std::copy(scratch.begin() + lo, scratch.begin() + hi, order.begin() + lo);
}

struct Timing {
  double seconds = 1e300;
  long long comparisons = 0;
  std::vector<uint32_t> order;
};

// CPU time of this thread: other programs on the machine do not count.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One timed sort; keeps the best time seen in t.
void TimeSort(const std::vector<WideString>& names, const Compare& compare, Timing& t) {
  long long count = 0;
  const Compare counted = [&](const WideString& a, const WideString& b) {
    ++count;
    return compare(a, b);
  };
  std::vector<uint32_t> order(names.size()), scratch(names.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
  const double start = ThreadSeconds();
  MergeSort(order, scratch, 0, order.size(), names, counted);
  const double seconds = ThreadSeconds() - start;
  if (seconds < t.seconds) t = {seconds, count, std::move(order)};
}

icu::LocalUCollatorPointer NumericCollator() {
  UErrorCode status = U_ZERO_ERROR;
  icu::LocalUCollatorPointer collator(ucol_open("ja", &status));
  if (U_SUCCESS(status))
    ucol_setAttribute(collator.getAlias(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
  if (U_FAILURE(status)) {
    std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
    std::exit(1);
  }
  return collator;
}

std::string U8(const WideString& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Neighbours the comparison itself puts the other way round (it is no strict weak order).
size_t Inversions(const std::vector<WideString>& names, const Timing& t, const Compare& compare) {
  size_t count = 0;
  for (size_t i = 1; i < t.order.size(); ++i)
    count += compare(names[t.order[i - 1]], names[t.order[i]]) > 0;
  return count;
}

void PrintSample(const char* label, const std::vector<WideString>& names, const Timing& t) {
  std::printf("  %s, every %zu-th of the sorted names:", label, names.size() / 8);
  for (size_t i = 0; i < t.order.size(); i += names.size() / 8)
    std::printf(" %s", U8(names[t.order[i]]).c_str());
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  Generator generator(20240601);
  std::vector<WideString> names;
  names.reserve(count);
  for (size_t i = 0; i < count; ++i) names.push_back(MakeName(generator));

  icu::LocalUCollatorPointer collator = NumericCollator();
  const Compare icuNumeric = [&](const WideString& a, const WideString& b) {
    return static_cast<int>(
        ucol_strcoll(collator.getAlias(), reinterpret_cast<const UChar*>(a.data()),
                     static_cast<int32_t>(a.size()), reinterpret_cast<const UChar*>(b.data()),
                     static_cast<int32_t>(b.size())));
  };
  Timing icu, numeral, digit;
  for (int run = 0; run < runs; ++run) {  // interleaved, so a busy spell hits all three
    TimeSort(names, icuNumeric, icu);
    TimeSort(names, CompareNumeralText, numeral);
    TimeSort(names, CompareDigitText, digit);
  }

  std::printf("sorting %zu file names, stable merge sort, best thread CPU time of %d runs\n", count,
              runs);
  const auto line = [&](const char* label, const Timing& t) {
    std::printf("  %-28s %8.3f s  %10lld comparisons  %6.0f ns/comparison  %5.2fx ICU\n", label,
                t.seconds, t.comparisons, t.seconds * 1e9 / static_cast<double>(t.comparisons),
                t.seconds / icu.seconds);
  };
  line("ICU ja collator, numeric", icu);
  line("CompareNumeralText", numeral);
  line("CompareDigitText", digit);
  std::printf("  neighbours out of order: ICU %zu, numeral %zu, digit %zu\n",
              Inversions(names, icu, icuNumeric), Inversions(names, numeral, CompareNumeralText),
              Inversions(names, digit, CompareDigitText));
  PrintSample("CompareNumeralText", names, numeral);
  return 0;
}
