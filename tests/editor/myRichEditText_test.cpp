// The text index over the display document: soft breaks never show in the text,
// line queries and positions agree with a plain reference text after every edit.
#include "editor/myRichEditText.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <random>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::U8;

/// The reference answers, computed on the plain text.
struct Reference {
  WideString text;
  std::vector<int> starts;  // first index of every line
  explicit Reference(const WideString& t) : text(t) {
    starts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == u'\r') starts.push_back(int(i) + 1);
  }
  int LineLength(int line) const {
    int end = line + 1 < int(starts.size()) ? starts[line + 1] - 1 : int(text.size());
    return end - starts[line];
  }
};

void ExpectAgrees(const TRichEditText& store, const WideString& expected) {
  Reference ref(expected);
  ASSERT_TRUE(store.IndexConsistent());
  ASSERT_EQ(store.Length(), int(expected.size()));
  ASSERT_EQ(store.Text(false), expected);
  ASSERT_EQ(store.LineCount(), int(ref.starts.size()));
  for (int line = 0; line < int(ref.starts.size()); ++line) {
    SCOPED_TRACE(line);
    EXPECT_EQ(store.LineIndex(line), ref.starts[line]);
    EXPECT_EQ(store.LineLength(line), ref.LineLength(line));
  }
  EXPECT_EQ(store.LineIndex(int(ref.starts.size())), -1);
  for (int i = 0; i <= int(expected.size()); i += std::max(1, int(expected.size()) / 97)) {
    SCOPED_TRACE(i);
    int line =
        int(std::upper_bound(ref.starts.begin(), ref.starts.end(), i) - ref.starts.begin()) - 1;
    EXPECT_EQ(store.LineFromChar(i), line);
    EXPECT_EQ(store.ToText(store.ToDocument(i)), i);
    EXPECT_EQ(store.Range(i, 3), expected.substr(size_t(i), 3));
  }
}

WideString Repeat(const WideString& unit, size_t times) {
  WideString out;
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

class RichEditTextTest : public ::testing::Test {
 protected:
  QTextDocument document;
  TRichEditText store{&document};
};

TEST_F(RichEditTextTest, ShortLinesStayWholeBlocks) {
  WideString text = u"one\rtwo\r\rfour";
  store.SetAll(text);
  EXPECT_EQ(store.SoftBreakCount(), 0);
  EXPECT_EQ(document.blockCount(), 4);
  ExpectAgrees(store, text);
}

TEST_F(RichEditTextTest, BreaksOfEveryConventionBecomeOneCr) {
  store.SetAll(u"a\r\nb\nc\rd");
  EXPECT_EQ(store.Text(false), u"a\rb\rc\rd");
  EXPECT_EQ(store.Text(true), u"a\r\nb\r\nc\r\nd");
}

TEST_F(RichEditTextTest, LongLinesOfEveryShapeAreSplitAndMapBack) {
  struct Case {
    const char* name;
    WideString text;
  } cases[] = {
      {"no break opportunity", Repeat(u"x", 20000)},
      {"prose", Repeat(u"word ", 5000)},
      {"japanese", Repeat(u"日本語のテキスト", 3000)},
      {"surrogate pairs", Repeat(u"𠮷", 9000)},
      {"combining marks", Repeat(u"e\u0301", 9000)},
      {"mixed lines", Repeat(u"x", 9000) + u"\rshort\r" + Repeat(u"あ", 13000) + u"\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.SetAll(c.text);
    EXPECT_GT(store.SoftBreakCount(), 0);
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
      EXPECT_LE(b.length() - 1, TRichEditText::ChunkLimit);
      if (b.length() > 1) {
        EXPECT_FALSE(b.text().at(0).isLowSurrogate());
        EXPECT_FALSE(b.text().at(0).isMark());
      }
    }
    ExpectAgrees(store, c.text);
  }
}

TEST_F(RichEditTextTest, ManyShortLinesArePackedIntoFewBlocks) {
  WideString lines = Repeat(u"日本語のテキスト\r\n", 20000) + u"end";
  WideString expected = Repeat(u"日本語のテキスト\r", 20000) + u"end";
  for (bool whole : {true, false}) {
    SCOPED_TRACE(whole ? "SetAll" : "Replace");
    if (whole) {
      store.SetAll(lines);
    } else {
      store.SetAll(u"");
      QTextCursor cursor(&document);
      cursor.beginEditBlock();
      store.Replace(cursor, lines);
      cursor.endEditBlock();
    }
    EXPECT_LT(document.blockCount(), 20000 / 50);
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
      EXPECT_LE(b.length() - 1, TRichEditText::ChunkTarget);
    ExpectAgrees(store, expected);
    EXPECT_EQ(store.Text(true), Repeat(u"日本語のテキスト\r\n", 20000) + u"end");
  }
}

TEST_F(RichEditTextTest, ALineSeparatorOfTheTextStaysACharacter) {
  const WideString texts[] = {
      u"a\u2028b\rc",               // small: the plain-text path
      Repeat(u"a\u2028b\r", 3000),  // packed around it
      Repeat(Repeat(u"a\u2028b\r", 3000) + Repeat(u"cd\r", 3000), 2) + u"\u2028",
      Repeat(u"\u2028", 5000) + Repeat(u"ab\r", 2000),
  };
  for (const WideString& text : texts) {
    SCOPED_TRACE(text.size());
    store.SetAll(text);
    ExpectAgrees(store, text);
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
      EXPECT_LE(b.length() - 1, TRichEditText::ChunkLimit);
  }
  QTextCursor cursor(&document);
  cursor.setPosition(store.ToDocument(1));
  cursor.beginEditBlock();
  store.Replace(cursor, Repeat(u"\u2028z\r", 2000));
  cursor.endEditBlock();
  WideString expected = texts[3];
  expected.insert(1, Repeat(u"\u2028z\r", 2000));
  ExpectAgrees(store, expected);
  document.undo();
  ExpectAgrees(store, texts[3]);
  document.redo();
  ExpectAgrees(store, expected);
}

// Regression: emptying a text that ends in a long line left the continuation
// mark on the one remaining block, and every break pasted next became soft.
TEST_F(RichEditTextTest, ATextReplacedWholeKeepsItsBreaks) {
  const WideString news[] = {u"a\rb", Repeat(u"ab\r", 3000), Repeat(u"y", 5000) + u"\rz"};
  for (const WideString& next : news) {
    SCOPED_TRACE(next.size());
    store.SetAll(Repeat(u"x", 10000));
    EXPECT_GT(store.SoftBreakCount(), 0);
    QTextCursor cursor(&document);
    cursor.select(QTextCursor::Document);
    cursor.beginEditBlock();
    store.Replace(cursor, u"");
    store.Replace(cursor, next);
    cursor.endEditBlock();
    ExpectAgrees(store, next);
    store.SetAll(Repeat(u"x", 10000));
    store.SetAll(next);
    ExpectAgrees(store, next);
  }
}

// Regression: a long run of combining marks (or of lone low surrogates) was cut
// into blocks of one code unit: 7,906 blocks for 12,000 marks.
TEST_F(RichEditTextTest, RunsWithoutCharacterBoundsStillSplitNearTheTarget) {
  struct Case {
    const char* name;
    WideString text;
  } cases[] = {
      {"combining marks", u"a" + WideString(12000, u'\u0301')},
      {"lone low surrogates", WideString(12000, u'\xDC00')},
      {"lone high surrogates", WideString(12000, u'\xD800')},
      {"pairs between marks", Repeat(u"\u0301\u0301𠮷", 3000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.SetAll(c.text);
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
      EXPECT_LE(b.length() - 1, TRichEditText::ChunkLimit);
      if (b.next().isValid()) {
        EXPECT_GE(b.length() - 1, TRichEditText::ChunkTarget - 256);
      }
      if (b.position() > 0) {
        EXPECT_FALSE(b.text().at(0).isLowSurrogate() &&
                     document.characterAt(b.position() - 2).isHighSurrogate())
            << "a pair parted at block " << b.blockNumber();
      }
    }
    ExpectAgrees(store, c.text);
  }
}

TEST_F(RichEditTextTest, ProseSplitsAfterSpaces) {
  store.SetAll(Repeat(u"word ", 5000));
  for (QTextBlock b = document.begin(); b.next().isValid(); b = b.next())
    EXPECT_TRUE(b.text().endsWith(u' ')) << b.blockNumber();
}

TEST_F(RichEditTextTest, EditsKeepTheIndexAndUndoRestoresTheMarks) {
  WideString text = Repeat(u"x", 10000) + u"\r" + Repeat(u"y", 10000);
  store.SetAll(text);
  struct Edit {
    int start, length;
    WideString insert;
  } edits[] = {
      {5000, 0, u"\r"},            // a hard break inside a continuation block
      {100, 9000, u""},            // deletion across soft breaks
      {3, 0, Repeat(u"z", 9000)},  // a long insertion into a short block
      {0, 0, u"head\r"},          {12, 4, u"ab\rcd\r" + Repeat(u"w", 5000)},
  };
  std::vector<WideString> history{text};
  for (const Edit& e : edits) {
    QTextCursor cursor(&document);
    cursor.setPosition(store.ToDocument(e.start));
    cursor.setPosition(store.ToDocument(e.start + e.length), QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    store.Replace(cursor, e.insert);
    cursor.endEditBlock();
    text = text.substr(0, size_t(e.start)) + e.insert + text.substr(size_t(e.start + e.length));
    SCOPED_TRACE(U8(e.insert.substr(0, 8)));
    ExpectAgrees(store, text);
    history.push_back(text);
  }
  for (size_t i = history.size() - 1; i > 0; --i) {
    document.undo();
    ExpectAgrees(store, history[i - 1]);
  }
  for (size_t i = 1; i < history.size(); ++i) {
    document.redo();
    ExpectAgrees(store, history[i]);
  }
}

TEST_F(RichEditTextTest, ShortInsertionsThatOverfillABlockSplitIt) {
  WideString text = Repeat(u"x", 4000) + u"\r" + Repeat(u"y", 4000);
  store.SetAll(text);
  EXPECT_EQ(store.SoftBreakCount(), 0);
  for (int at : {2000, 6000}) {
    QTextCursor cursor(&document);
    cursor.setPosition(store.ToDocument(at));
    cursor.beginEditBlock();
    store.Replace(cursor, Repeat(u"z", 200));
    cursor.endEditBlock();
    text.insert(size_t(at), Repeat(u"z", 200));
  }
  EXPECT_EQ(store.SoftBreakCount(), 2);
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
    EXPECT_LE(b.length() - 1, TRichEditText::ChunkLimit);
  ExpectAgrees(store, text);
}

TEST_F(RichEditTextTest, RandomEditsUndoAndRedoAgreeWithAPlainString) {
  std::mt19937 random(20261209);
  auto pick = [&](int n) { return int(random() % unsigned(std::max(n, 1))); };
  const WideString pieces[] = {u"\r",
                               u"ab",
                               u"日本語",
                               u" ",
                               u"𠮷",
                               Repeat(u"q", 5000),
                               Repeat(u"語 ", 3000),
                               Repeat(u"ab\r", 2000),        // packed into blocks
                               Repeat(u"x\u2028y\r", 1500),  // packed, with U+2028 as a character
                               u"\u2028"};
  WideString text = Repeat(u"x", 9000);
  store.SetAll(text);
  std::vector<WideString> history{text};
  for (int step = 0; step < 120; ++step) {
    int start = pick(int(text.size()) + 1);
    int length = pick(std::min(int(text.size()) - start, 6000) + 1);
    WideString insert;
    for (int n = pick(4); n > 0; --n) insert += pieces[pick(int(std::size(pieces)))];
    QTextCursor cursor(&document);
    cursor.setPosition(store.ToDocument(start));
    cursor.setPosition(store.ToDocument(start + length), QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    store.Replace(cursor, insert);
    cursor.endEditBlock();
    text = text.substr(0, size_t(start)) + insert + text.substr(size_t(start + length));
    history.push_back(text);
    ASSERT_TRUE(store.IndexConsistent()) << step;
    ASSERT_EQ(store.Text(false), text) << step;
  }
  ExpectAgrees(store, text);
  for (int step = 0; step < 30; ++step) document.undo();
  ExpectAgrees(store, history[history.size() - 31]);
  for (int step = 0; step < 10; ++step) document.redo();
  ExpectAgrees(store, history[history.size() - 21]);
}

TEST(ChunkEndTest, PrefersBreakOpportunitiesNearTheTarget) {
  QString prose = QStringLiteral("aaaa bbbb cccc");
  EXPECT_EQ(ChunkEnd(prose, 0, 12), 10);                             // after "bbbb"'s space
  EXPECT_EQ(ChunkEnd(QString::fromUtf16(u"ab。cd efgh"), 0, 9), 3);  // after the full stop
  EXPECT_EQ(ChunkEnd(QStringLiteral("ab. cd efgh"), 0, 9), 4);       // after the space that ends it
  QString none = QStringLiteral("xxxxxxxxxx");
  EXPECT_EQ(ChunkEnd(none, 0, 5), 5);
  QString pair = QString::fromUtf16(u"ab𠮷cd");
  EXPECT_EQ(ChunkEnd(pair, 0, 3), 2);  // never between the two halves
  QString accent = QString::fromUtf16(u"xxxxe\u0301xxxx");
  EXPECT_EQ(ChunkEnd(accent, 0, 5), 4);  // never between a letter and its mark
}

}  // namespace
}  // namespace magna
