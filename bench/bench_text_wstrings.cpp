// Sorting 100,000 Japanese strings with TMyWStrings (stable merge sort and the
// partition sort, locale comparison ignoring case). Reference in the same run:
// std::stable_sort of the same strings by code unit order (no locale, no store).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "text/myWStrings.h"

namespace {

using namespace magna;

constexpr int kItems = 100000;

/// Random words of 2 to 12 characters from hiragana, katakana, common kanji and
/// a few Latin letters, the same on every run.
std::vector<WideString> JapaneseWords() {
  static const WideString alphabet =
      u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわを"
      u"ん"
      u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲ"
      u"ン"
      u"日本語文字表示設定大小上下左右前後時間年月週名前漢字東京都道府県市区町村ABCxyz";
  std::mt19937 random(2024);
  std::vector<WideString> words;
  words.reserve(kItems);
  for (int i = 0; i < kItems; ++i) {
    WideString word(2 + random() % 11, u' ');
    for (char16_t& c : word) c = alphabet[random() % alphabet.size()];
    words.push_back(std::move(word));
  }
  return words;
}

void Fill(TMyWStrings& list, const std::vector<WideString>& words) {
  list.Clear();
  list.SetCapacity(kItems + 100);
  for (const WideString& word : words) list.Add(word);
}

void BM_Reference_StableSortCodeUnits(benchmark::State& state) {
  const auto words = JapaneseWords();
  for (auto _ : state) {
    state.PauseTiming();
    auto copy = words;
    state.ResumeTiming();
    std::stable_sort(copy.begin(), copy.end());
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_Reference_StableSortCodeUnits)->Unit(benchmark::kMillisecond);

/// Times `sort` on a list freshly filled with the words (filling not timed).
template <class Sorter>
void SortRun(benchmark::State& state, Sorter sort) {
  const auto words = JapaneseWords();
  TMyWStrings list;
  for (auto _ : state) {
    state.PauseTiming();
    Fill(list, words);
    state.ResumeTiming();
    sort(list);
  }
}

void BM_Sort(benchmark::State& state) {
  SortRun(state, [](TMyWStrings& list) { list.Sort(); });
}
BENCHMARK(BM_Sort)->Unit(benchmark::kMillisecond);

void BM_QuickSort(benchmark::State& state) {
  SortRun(state, [](TMyWStrings& list) { list.QuickSort(TMyWStrings::DefaultCompare); });
}
BENCHMARK(BM_QuickSort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
