// The text shown at start: read from a file or standard input with the code
// detected, the final line break dropped, and shown like any replaced text.
#include "app/desktop/startText.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/app/window/mainFixture.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::U8;
using test::W;
using TSource = TCommandLine::TSource;

TEST(StartText, OneFinalLineBreakIsDropped) {
  struct Row {
    const char* text;
    const char* expected;
  } rows[] = {
      {"abc\n", "abc"}, {"abc\r\n", "abc"}, {"abc\r", "abc"}, {"abc\n\n", "abc\n"},
      {"abc", "abc"},   {"\n", ""},         {"", ""},         {"a\nb\r\n\r\n", "a\nb\r\n"},
  };
  for (const Row& r : rows) EXPECT_EQ(U8(WithoutFinalLineBreak(W(r.text))), r.expected) << r.text;
}

TCommandLine FileLine(const std::string& name) {
  TCommandLine line;
  line.Source = TSource::File;
  line.FileName = QString::fromStdString(name);
  return line;
}

TEST(StartText, FilesAreReadWithTheirCodeDetected) {
  test::TempDir dir;
  struct Row {
    const char* name;
    std::string bytes;
    const char* text;
  } rows[] = {
      {"Shift_JIS, CR LF", "\x89\xEF\x8B\x63\x82\xCD\x33\x8E\x9E\x82\xA9\x82\xE7\r\n",
       "会議は3時から"},
      {"EUC-JP", "\xB2\xF1\xB5\xC4\xA4\xCF\xA3\xB3\xBB\xFE\xA4\xAB\xA4\xE9\xA4\xC7\xA4\xB9\n",
       "会議は３時からです"},
      {"UTF-16LE with its mark", std::string("\xFF\xFE\x1A\x4F\x70\x8B\n\0", 8), "会議"},
      {"UTF-8, two lines", "\xE4\xBC\x9A\n\xE8\xAD\xB0\n", "会\n議"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    test::WriteBytes(dir / "in.txt", r.bytes);
    const TStartText start = ReadStartText(FileLine((dir / "in.txt").string()));
    EXPECT_TRUE(start.Error.isEmpty()) << start.Error.toStdString();
    EXPECT_EQ(U8(start.Text.value_or(u"(no text)")), r.text);
  }
}

TEST(StartText, AFileThatCannotBeReadIsAnErrorNotAnEmptyText) {
  test::TempDir dir;
  for (const std::string& name : {(dir / "missing.txt").string(), dir.Path().string()}) {
    SCOPED_TRACE(name);
    const TStartText start = ReadStartText(FileLine(name));
    EXPECT_FALSE(start.Text);
    EXPECT_TRUE(start.Error.startsWith(QStringLiteral("'%1': ").arg(QString::fromStdString(name))))
        << start.Error.toStdString();
  }
}

/// Standard input replaced by a pipe holding the bytes, for one test.
class PipedStandardInput {
 public:
  explicit PipedStandardInput(const std::string& bytes) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    EXPECT_EQ(write(fds[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
    close(fds[1]);
    saved_ = dup(STDIN_FILENO);
    dup2(fds[0], STDIN_FILENO);
    close(fds[0]);
  }
  ~PipedStandardInput() {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
  }

 private:
  int saved_ = -1;
};

TEST(StartText, StandardInputIsReadLikeAFile) {
  TCommandLine line;
  line.Source = TSource::StandardInput;
  {
    PipedStandardInput input("\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\n");  // あいうえお
    const TStartText start = ReadStartText(line);
    ASSERT_TRUE(start.Text) << start.Error.toStdString();
    EXPECT_EQ(U8(*start.Text), "あいうえお");
  }
  {
    PipedStandardInput input("");
    const TStartText start = ReadStartText(line);
    ASSERT_TRUE(start.Text);
    EXPECT_TRUE(start.Text->empty());
  }
}

using StartTextWindowTest = test::MainWindowTest;

TEST_F(StartTextWindowTest, ShownWithTheCaretAtTheStartAndTheStatusLineRefreshed) {
  ShowStartText(*window, W("漢字テスト"));
  EXPECT_EQ(U8(Memo().Text()), "漢字テスト");
  EXPECT_EQ(Memo().SelStart(), 0);
  EXPECT_EQ(U8(window->Label_StatusChar->Caption()), "漢");
  EXPECT_EQ(U8(window->Label_StatusAnsi->Caption()), "SJIS 0x8ABF");
  EXPECT_TRUE(window->Action_EditSelectAll->isEnabled());
}

}  // namespace
}  // namespace magna
