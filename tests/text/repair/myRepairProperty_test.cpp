// Properties of the repair over random Japanese texts (seeded): every chain the repair
// knows, applied to a text, is undone exactly wherever no step lost a byte, and named as
// it happened; where bytes were lost, every lost place is marked, and once the whole
// chain is found what it replaced is the text's (what it left, it left as it was); a
// clean text has nothing to repair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/repairChains.h"
#include "tests/support/seededDraw.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::SeededDraw;
using test::U8;

constexpr uint64_t kSeed = 25;
constexpr int kTexts = 24;

const char16_t* const kKanji[] = {
    u"日本語", u"文字", u"会社", u"時間", u"人",   u"年",   u"月",   u"大小", u"前後", u"東西",
    u"電車",   u"駅",   u"学校", u"先生", u"私",   u"今",   u"事",   u"方法", u"問題", u"情報",
    u"設定",   u"表示", u"変更", u"確認", u"入力", u"出力", u"記録", u"作成", u"使用", u"対応",
    u"開始",   u"終了", u"画面", u"機能", u"利用", u"管理", u"場合", u"必要", u"実行", u"処理",
    u"環境",   u"変数", u"名前", u"番号", u"状態", u"結果", u"原因", u"理由", u"内容", u"説明"};
const char16_t* const kKana[] = {
    u"ファイル", u"システム",     u"データ",     u"プログラム",   u"コマンド", u"ユーザー",
    u"サーバー", u"ネットワーク", u"パッケージ", u"ディレクトリ", u"メモリ",   u"テキスト",
    u"これ",     u"それ",         u"ここ",       u"とても",       u"もう一度"};
const char16_t* const kParticles[] = {u"の", u"は", u"を",   u"に",   u"が",   u"で",
                                      u"と", u"も", u"から", u"まで", u"より", u"へ"};
const char16_t* const kEndings[] = {u"です。",     u"ます。",     u"しました。", u"する。",
                                    u"できない。", u"でしょう？", u"ください。"};
const char16_t* const kAscii[] = {u" Linux ",    u" Debian ", u" apt ", u" 2024 ", u" HTTP ",
                                  u"（x86_64）", u"「A」",    u"、",    u" 10 ",   u" README.md "};

template <size_t N>
const char16_t* Pick(SeededDraw& d, const char16_t* const (&pool)[N]) {
  return pool[d.Below(N)];
}

/// Sentences of words and particles, with ASCII words and numbers among them and line
/// breaks between some: Japanese as people write it, not as a table of characters.
WideString RandomJapanese(SeededDraw& d) {
  WideString text;
  const size_t sentences = 1 + d.Below(4);
  for (size_t s = 0; s < sentences; ++s) {
    const size_t words = 2 + d.Below(5);
    for (size_t w = 0; w < words; ++w) {
      const size_t kind = d.Below(10);
      text += kind < 5 ? Pick(d, kKanji) : kind < 8 ? Pick(d, kKana) : Pick(d, kAscii);
      text += Pick(d, kParticles);
    }
    text += Pick(d, kKanji);
    text += Pick(d, kEndings);
    if (d.Below(3) == 0) text += u"\n";
  }
  return text;
}

std::vector<WideString> Texts() {
  SeededDraw d(kSeed);
  std::vector<WideString> texts;
  for (int i = 0; i < kTexts; ++i) texts.push_back(RandomJapanese(d));
  return texts;
}

TEST(RepairProperty, EveryChainWithoutLostBytesIsUndoneExactlyAndNamed) {
  size_t lossless = 0;
  for (const WideString& text : Texts()) {
    for (const test::Chain& chain : test::Chains()) {
      WideString made;
      bool losslessChain = true;
      if (!test::MakeChain(chain, text, made, losslessChain) || !losslessChain) continue;
      ++lossless;
      SCOPED_TRACE(chain.name + ": " + U8(text) + "\n  as: " + U8(made));
      const TRepair r = FindRepair(made);
      EXPECT_EQ(U8(r.text), U8(text));
      EXPECT_TRUE(test::NamedRight(r.chain, chain.expected))
          << U8(RepairWords(r, TRepairLanguage::English));
      EXPECT_FALSE(r.LostBytes());
    }
  }
  // Most chains lose no byte of such text; those that do are the next test's.
  EXPECT_GT(lossless, static_cast<size_t>(kTexts) * 30);
}

/// How many units of `got` are found in `want` in order (a greedy walk).
size_t InOrder(WideView want, WideView got) {
  size_t found = 0, at = 0;
  for (char16_t u : got) {
    const size_t next = want.find(u, at);
    if (next == WideView::npos) continue;
    at = next + 1;
    ++found;
  }
  return found;
}

TEST(RepairProperty, WhereBytesWereLostTheLostPlacesAreMarkedAndTheRestIsTheText) {
  for (const WideString& text : Texts()) {
    for (const test::Chain& chain : test::Chains()) {
      WideString made;
      bool lossless = true;
      if (!test::MakeChain(chain, text, made, lossless) || lossless) continue;
      SCOPED_TRACE(chain.name + ": " + U8(text) + "\n  as: " + U8(made));
      const TRepair r = FindRepair(made);
      if (!r.Found()) continue;  // nothing gained: nothing offered, nothing made worse
      for (size_t at : r.lost) {
        ASSERT_LT(at, r.text.size());
        EXPECT_EQ(r.text[at], u'\xFFFD');
      }
      // Of a chain of two that lost bytes, the outer step alone may be found. Once the
      // whole chain is, every unit it put in that is not a lost place is the text's, in
      // order (a stretch it could not read is left as it was).
      if (!test::NamedRight(r.chain, chain.expected)) continue;
      WideString replaced;
      for (const TRepairSpan& s : r.spans)
        for (size_t at = s.repairedFrom; at < s.repairedFrom + s.repairedLength; ++at)
          if (r.text[at] != u'\xFFFD') replaced += r.text[at];
      EXPECT_EQ(InOrder(text, replaced), replaced.size()) << U8(replaced);
    }
  }
}

TEST(RepairProperty, CleanTextHasNothingToRepair) {
  SeededDraw d(kSeed + 1);
  for (int i = 0; i < kTexts * 4; ++i) {
    const WideString text = RandomJapanese(d);
    const TRepair r = FindRepair(text);
    EXPECT_FALSE(r.Found()) << U8(text) << "\n  => " << U8(r.text) << " ["
                            << U8(RepairWords(r, TRepairLanguage::English)) << "]";
    EXPECT_FALSE(CheckRepair(text).Found());
  }
}

}  // namespace
}  // namespace magna
