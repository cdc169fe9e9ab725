// The character details panel's update on a caret move inside a 10 M code-unit
// text, beside the status line's update in the same run and on the same caret
// positions:
//   - a caret move with the panel closed (the status line alone) and open (the
//     status line and the panel), each move to another character, so that the
//     panel never keeps what it shows; the panel's share is the difference;
//   - the two formatters alone, each fetching from the text area as it does:
//     the status line's captions and the panel's details.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/details/charDetailsPanel.h"
#include "app/window/main.h"
#include "app/window/mainExtras.h"
#include "tests/support/fakeServices.h"
#include "text/character/myStatusLine.h"

namespace {

using Clock = std::chrono::steady_clock;
using magna::WideString;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

WideString BigText(size_t units) {
  // Kanji, kana, half-width kana, a NEC row 13 sign, an emoji with a joiner, a mark.
  const WideString line =
      u"日本語のテキスト、ABC 123 かなカナｶﾅ漢字①。\U0001F468\u200D\U0001F469e\u0301\r\n";
  WideString text;
  text.reserve(units + line.size());
  while (text.size() < units) text += line;
  text.resize(units);
  return text;
}

/// Caret positions around the middle of the text, each on another character than the last.
std::vector<int> CaretPositions(int middle, int count) {
  std::vector<int> positions;
  for (int i = 0; i < count; ++i) positions.push_back(middle + (i * 7) % 4001);
  return positions;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

/// Milliseconds per call of `step(position)` over the positions, median of 5 rounds.
template <class Step>
double PerCall(const std::vector<int>& positions, Step step) {
  std::vector<double> rounds;
  for (int round = 0; round < 5; ++round) {
    const auto start = Clock::now();
    for (int p : positions) step(p);
    rounds.push_back(MillisecondsSince(start) / double(positions.size()));
  }
  return Median(rounds);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  magna::platform::InstallClipboard(std::make_unique<magna::test::MemoryClipboard>());
  magna::TApp_TOOLMagna window;
  window.AfterConstruction();
  magna::TMyMemo& memo = *window.Memo_Text;
  magna::TCharDetailsPanel& panel = *window.Extras().CharDetails;

  const size_t units = 10'000'000;
  memo.SetText(BigText(units));
  const std::vector<int> positions = CaretPositions(int(units / 2), 2000);
  auto move = [&](int p) { memo.SetSelStart(p); };

  panel.hide();
  const double closed = PerCall(positions, move);
  window.Extras().OpenCharDetails();
  const double open = PerCall(positions, move);
  const double panelShare = open - closed;

  // The formatters alone: the move no longer updates anything, and both sides pay it.
  const auto onSelectionChange = memo.OnSelectionChange;
  memo.OnSelectionChange = nullptr;
  const double statusFormat = PerCall(positions, [&](int p) {
    memo.SetSelStart(p);
    magna::FormatStatusLine([&](int n) { return memo.GetTextAtCaret(n); });
  });
  const double detailsFormat = PerCall(positions, [&](int p) {
    memo.SetSelStart(p);
    magna::DescribeCharAtCaret(magna::TextAroundCaret(memo));
  });
  memo.OnSelectionChange = onSelectionChange;

  std::printf(
      "caret move inside %zu code units (median of 5 rounds of %zu moves):\n"
      "  panel closed (status line only): %.4f ms\n"
      "  panel open (status line and panel): %.4f ms, ratio %.2f\n"
      "  the panel's share: %.4f ms (goal < 1 ms)\n"
      "move and format, no widgets: status line %.4f ms, details %.4f ms, ratio %.2f\n",
      units, positions.size(), closed, open, open / closed, panelShare, statusFormat, detailsFormat,
      detailsFormat / statusFormat);
  return panelShare < 1.0 ? 0 : 1;
}
