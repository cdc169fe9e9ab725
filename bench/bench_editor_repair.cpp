// What the mojibake check costs beside showing the text: CheckRepair (run on every text
// shown) on texts of 10 K and 10 M code units (clean Japanese, clean English, misread and
// encoded Japanese), and for each 10 M text the time the text area takes to set and show
// it at 72 points, measured in the same run; the check should stay within 2 ms at 10 K
// and 5 % of showing at 10 M. ApplyRepair (when the user takes the repair) is given
// beside showing too, and the copy of the text area's text that the check after typing
// reads (a text from elsewhere is checked as it was read, with no copy). Both sides are timed
// alike: wall clock, best of the runs, the text already in memory.
//
// Run: QT_QPA_PLATFORM=offscreen ./bench_editor_repair [--quick]
// (bench/makeCorpus.sh first: the Japanese is the Debian documentation of its corpus;
// --quick: 10 K only)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/benchTextArea.h"
#include "editor/myEdit.h"
#include "text/myCharCode.h"
#include "text/repair/myRepair.h"
#include "text/repair/myRepairForms.h"

using namespace magna;
using C = TRepairCode;

namespace {

constexpr size_t K10 = 10 * 1000;
constexpr size_t M10 = 10 * 1024 * 1024;

/// The best time of `runs` runs of `work`, `prepare` done untimed before each.
double BestSeconds(
    int runs, const std::function<void()>& work, const std::function<void()>& prepare = [] {}) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

WideString Corpus(const char* name, const char16_t* fallback) {
  std::ifstream in(std::string(MAGNA_SOURCE_DIR) + "/bench/corpus/" + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  WideString text = Utf8ToWide(s.str());
  return text.empty() ? WideString(fallback) : text;
}

/// `size` units of `source` repeated, cut at a line break where one is near.
WideString Sized(const WideString& source, size_t size) {
  WideString text;
  text.reserve(size + source.size());
  while (text.size() < size) text.append(source, 0, std::min(source.size(), size - text.size()));
  const size_t cut = text.find_last_of(u'\n');
  if (cut != WideString::npos && cut + 200 >= size) text.resize(cut + 1);
  return text;
}

struct Shape {
  const char* name;
  std::function<WideString(const WideString&)> make;  // from clean Japanese
};

WideString Misread(const WideString& text, C source, C reader) {
  WideString out;
  repair::Misread(text, source, reader, false, out);
  return out;
}

/// The text area at 72 points, as the main window has it.
struct Area {
  QWidget window;
  TMyMemo* memo;
  Area() {
    memo = bench::PlaceTextArea(window);
    window.show();
    QApplication::processEvents();
  }
  void Show(const WideString& text) {
    memo->SetText(text);
    window.repaint();
    QApplication::processEvents();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const WideString japanese =
      Corpus("ja.utf8", u"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。\n");
  const WideString english = Corpus(
      "repair/sources/en.txt", u"The quick brown fox jumps over the lazy dog, again and again.\n");
  const std::vector<Shape> shapes = {
      {"clean Japanese", [](const WideString& t) { return t; }},
      {"clean English", [&](const WideString&) { return english; }},
      {"UTF-8 read as Shift_JIS",
       [](const WideString& t) { return Misread(t, C::UTF8, C::ShiftJIS); }},
      {"UTF-8 read as Windows-1252",
       [](const WideString& t) { return Misread(t, C::UTF8, C::Windows1252); }},
      {"Shift_JIS read as Windows-1252",
       [](const WideString& t) { return Misread(t, C::ShiftJIS, C::Windows1252); }},
      {"EUC-JP read as Shift_JIS",
       [](const WideString& t) { return Misread(t, C::EUCJP, C::ShiftJIS); }},
      {"UTF-8 read as Windows-1252 twice",
       [](const WideString& t) {
         return Misread(Misread(t, C::UTF8, C::Windows1252), C::UTF8, C::Windows1252);
       }},
      {"percent-encoded UTF-8",
       [](const WideString& t) {
         WideString out;
         repair::PercentEncode(t, C::UTF8, out);
         return out;
       }},
  };
  std::printf("CheckRepair, best of runs; 10 M beside the text area's SetText and show (72 pt)\n");
  std::printf("%-34s %6s %10s %10s %10s %8s %10s %8s %10s %8s\n", "text", "found", "10 K (ms)",
              "10 M (ms)", "show 10 M", "check", "apply 10 M", "apply", "copy 10 M", "copy");
  for (const Shape& shape : shapes) {
    // The shape is made from more clean text than it needs, then cut to size.
    const WideString source = shape.make(Sized(japanese, K10 * 3));
    const WideString small = Sized(source, K10);
    bool found = false;
    const double smallSeconds = BestSeconds(50, [&] { found = CheckRepair(small).Found(); });
    std::printf("%-34s %6s %10.3f", shape.name, found ? "yes" : "no", smallSeconds * 1000);
    if (quick) {
      std::printf("\n");
      continue;
    }
    const WideString large = Sized(shape.make(Sized(japanese, M10 + M10 / 2)), M10);
    TRepairFinding finding;
    const double largeSeconds = BestSeconds(5, [&] { finding = CheckRepair(large); });
    const double applySeconds =
        finding.Found() ? BestSeconds(2, [&] { (void)ApplyRepair(large, finding); }) : 0;
    double showSeconds = 0, copySeconds = 0;
    {
      Area area;
      showSeconds = BestSeconds(
          2, [&] { area.Show(large); }, [&] { area.Show(u""); });
      area.Show(large);
      copySeconds = BestSeconds(3, [&] { (void)area.memo->HeldText(); });
    }
    std::printf(" %10.2f %10.1f %7.2f%% %10.1f %7.0f%% %10.1f %7.1f%%%s\n", largeSeconds * 1000,
                showSeconds * 1000, 100 * largeSeconds / showSeconds, applySeconds * 1000,
                100 * applySeconds / showSeconds, copySeconds * 1000,
                100 * copySeconds / showSeconds,
                finding.Found() == found ? "" : " (found at one size only)");
    std::fflush(stdout);
  }
  return 0;
}
