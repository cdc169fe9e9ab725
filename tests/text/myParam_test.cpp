// The command line: splitting, joining "/name:" with its value, the descriptions
// of the tokens, the quoting of the process's arguments.
#include "text/myParam.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/fileSystem.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::W;

/// A command line and the tokens it must give.
struct LineRow {
  const char* name;
  const char16_t* line;
  std::vector<WideString> tokens;
};

std::vector<WideString> Tokens(const WideString& line) {
  TMyWStrings list;
  const int last = SplitCommandLine(line, list);
  EXPECT_EQ(last, list.Count() - 1);
  std::vector<WideString> tokens;
  for (int i = 0; i < list.Count(); ++i) tokens.push_back(list.Get(i));
  return tokens;
}

TEST(SplitCommandLine, QuotesBlanksAndEmptyTokens) {
  const LineRow rows[] = {
      {"blanks, tabs, line breaks", u" a\tb\r\nc  ", {u"a", u"b", u"c"}},
      {"quoted blank", u"x \"a b.txt\"", {u"x", u"a b.txt"}},
      {"a quote starts a token", u"abc\"def\"", {u"abc", u"def"}},
      {"a closing quote ends one", u"\"ab\"cd", {u"ab", u"cd"}},
      {"empty token", u"a \"\" b", {u"a", u"", u"b"}},
      {"doubled quote inside quotes", u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
      {"four quotes", u"\"\"\"\"", {u"\""}},
      {"unclosed quote", u"a \"b c", {u"a", u"b c"}},
      {"nothing", u"  ", {}},
  };
  for (const LineRow& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Tokens(r.line), r.tokens);
  }
}

TEST(TMyParam, DescribesOptionsAndParameters) {
  TMyParam p(u"C:\\t\\magna.exe /size:40 \"a b.txt\"");
  EXPECT_EQ(p.ProgramToken, u"C:\\t\\magna.exe");
  EXPECT_EQ(p.OptionCount, 1);
  EXPECT_EQ(p.ParamCount, 2);
  ASSERT_EQ(p.Entries.size(), 3u);
  const TMyParamOption& size = *p.Entries[1];
  EXPECT_TRUE(size.IsOption && size.HasValue);
  EXPECT_EQ(size.Name, u"size");
  EXPECT_EQ(size.UpperName, u"SIZE");
  EXPECT_EQ(size.Value, u"40");
  EXPECT_EQ(size.OptionIndex, 0);
  EXPECT_EQ(size.ParamIndex, -1);
  const TMyParamOption& file = *p.Entries[2];
  EXPECT_FALSE(file.IsOption);
  EXPECT_EQ(file.Index, 2);
  EXPECT_EQ(file.ParamIndex, 1);
  EXPECT_EQ(file.OptionIndex, -1);
  EXPECT_EQ(file.Text, u"a b.txt");
  EXPECT_TRUE(file.Name.empty() && file.Value.empty() && file.PlainValue.empty());
  EXPECT_EQ(p.Arguments.Count(), 2);
  EXPECT_EQ(p.Arguments.Get(0), u"/size:40");
  EXPECT_EQ(p.Params.Count(), 2);
  EXPECT_EQ(p.Params.Get(1), u"a b.txt");
  EXPECT_EQ(p.CommandLine, u"C:\\t\\magna.exe /size:40 \"a b.txt\"");
}

TEST(TMyParam, JoinsNameColonWithTheNextToken) {
  const LineRow rows[] = {
      {"quoted Japanese font", u"m /font: \"ＭＳ 明朝\"", {u"m", u"/font:ＭＳ 明朝"}},
      {"one joining per token", u"m /a: /b: c", {u"m", u"/a:/b:", u"c"}},
      {"an empty token is not joined", u"m \"\" /x", {u"m", u"", u"/x"}},
      {"an empty value is", u"m /v: \"\" c", {u"m", u"/v:", u"c"}},
      {"last token stays", u"m /name:", {u"m", u"/name:"}},
  };
  for (const LineRow& r : rows) {
    SCOPED_TRACE(r.name);
    TMyParam p(r.line);
    std::vector<WideString> tokens;
    for (int i = 0; i < p.Tokens.Count(); ++i) tokens.push_back(p.Tokens.Get(i));
    EXPECT_EQ(tokens, r.tokens);
    std::vector<WideString> entries;
    for (const auto& entry : p.Entries) entries.push_back(entry->Text);
    EXPECT_EQ(entries, r.tokens);
  }
  EXPECT_EQ(TMyParam(u"m /font: \"ＭＳ 明朝\"").Entries[1]->Value, u"ＭＳ 明朝");
  EXPECT_FALSE(TMyParam(u"m \"\" /x").Entries[1]->IsOption);
}

TEST(TMyParamOption, NamesValuesAndPlainValues) {
  struct Row {
    const char16_t* token;
    bool isOption, hasValue;
    const char16_t *name, *value, *plain;
  } rows[] = {
      {u"/x", true, false, u"x", u"", u""},
      {u"/", false, false, u"", u"", u""},
      {u"x/y:z", false, false, u"", u"", u""},
      {u"/:", true, true, u"", u"", u""},
      {u"/a:b:c", true, true, u"a", u"b:c", u"b:c"},
      {u"/q: \" a\"\"b \" ", true, true, u"q", u" \" a\"\"b \" ", u"a\"b"},
      {u"/q:\"\"\"\"", true, true, u"q", u"\"\"\"\"", u"\""},
      {u"/q:\t\"x", true, true, u"q", u"\t\"x", u"x"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(test::U8(r.token));
    TMyParamOption o(5, 2, 3, r.token);
    EXPECT_EQ(o.IsOption, r.isOption);
    EXPECT_EQ(o.HasValue, r.hasValue);
    EXPECT_EQ(o.Name, r.name);
    EXPECT_EQ(o.Value, r.value);
    EXPECT_EQ(o.PlainValue, r.plain);
    EXPECT_EQ(o.OptionIndex, r.isOption ? 2 : -1);
    EXPECT_EQ(o.ParamIndex, r.isOption ? -1 : 3);
  }
  // Upper case keeps the length: ß stays, full-width letters rise.
  TMyParamOption upper(0, 0, 0, u"/straße:ａb\"");
  EXPECT_EQ(upper.UpperName, u"STRAßE");
  EXPECT_EQ(upper.UpperValue, u"ＡB\"");
  EXPECT_EQ(upper.UpperPlainValue, u"ＡB");
}

TEST(JoinCommandLine, SplitGivesBackExactlyTheArguments) {
  // Random argument lists over the characters that matter (fixed random start).
  const char16_t alphabet[] = {u'a',  u'/',  u':',  u'"',  u' ',   u'\t',
                               u'\n', u'\r', u'\\', u'日', 0xDC93, 0x3000};
  std::mt19937 random(15);
  for (int n = 0; n < 3000; ++n) {
    std::vector<WideString> arguments(random() % 6);
    for (WideString& a : arguments) {
      a.resize(random() % 5);
      for (char16_t& c : a) c = alphabet[random() % std::size(alphabet)];
    }
    const WideString line = JoinCommandLine(arguments);
    ASSERT_EQ(Tokens(line), arguments) << test::U8(line);
  }
  EXPECT_EQ(JoinCommandLine({u"prog", u"", u"a b", u"x\"y", u"/z"}),
            u"prog \"\" \"a b\" \"x\"\"y\" /z");
}

TEST(TMyParam, TheProcessCommandLine) {
  TMyParam own;
  EXPECT_EQ(std::filesystem::path(test::U8(own.ProgramToken)).filename(), "test_text_myParam_test");
  EXPECT_EQ(own.Tokens.Count(), int(platform::ProcessArguments().size()));
}

}  // namespace
}  // namespace magna
