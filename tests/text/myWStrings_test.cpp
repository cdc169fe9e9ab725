// TMyWStrings: text forms, sorted insertion, searches, store ownership.
#include "text/myWStrings.h"

#include <gmock/gmock.h>

#include <new>

#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::U8;
using test::W;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> Items(TMyWStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(U8(list.Get(i)));
  return out;
}

class MyWStringsTest : public test::FakeServicesTest {
 protected:
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& box : messageBoxes->Shown) out.push_back(U8(box.Text));
    return out;
  }
};

TEST_F(MyWStringsTest, SetTextSplitsAtEveryBreakAndRecordsTheStyle) {
  struct Case {
    const char* name;
    WideString text;
    std::vector<std::string> items;
    TMyNewLine lineBreak;
    std::vector<int64_t> addedLengths;  // what OnAdd saw
  } cases[] = {
      {"CR LF", u"a\r\nb\r\n", {"a", "b"}, nlCRLF, {2, 2}},
      {"LF", u"a\nb", {"a", "b"}, nlLF, {2, 2}},
      {"CR", u"a\rb", {"a", "b"}, nlCR, {2, 2}},
      {"CR LF and LF", u"a\r\nb\nc", {"a", "b", "c"}, nlCRLF, {2, 2, 2}},
      {"LF CR is two breaks", u"a\n\rbc", {"a", "", "bc"}, nlCRLF, {2, 3}},
      {"empty", u"", {}, nlCRLF, {}},
      {"U+0000 ends the text", WideString(u"ab\nc\0d\ne", 9), {"ab", "c"}, nlLF, {3, 2}},
      {"no break", u"abc", {"abc"}, nlCRLF, {4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMyWStrings list;
    list.LineBreak = nlCR;
    std::vector<int64_t> lengths;
    list.OnAdd = [&](TObject* sender, int32_t index, int64_t length) {
      EXPECT_EQ(sender, &list);
      EXPECT_EQ(index, list.Count() - 1);
      lengths.push_back(length);
    };
    list.SetText(c.text);
    EXPECT_EQ(Items(list), c.items);
    EXPECT_EQ(list.LineBreak, c.lineBreak);
    EXPECT_EQ(lengths, c.addedLengths);
    EXPECT_EQ(list.Store()->UpdateCount(), 0);
  }
}

TEST_F(MyWStringsTest, GetTextEndsEveryItemWithTheLineBreak) {
  TMyWStrings list;
  EXPECT_EQ(list.GetText(), u"");
  list.Add(u"a");
  list.Add(u"b");
  list.LineBreak = nlLF;
  EXPECT_EQ(list.GetText(), u"a\nb\n");
  list.LineBreak = nlCRLF;
  EXPECT_EQ(list.GetText(), u"a\r\nb\r\n");
}

TEST_F(MyWStringsTest, DelimitedFormsSplitWithoutQuoting) {
  struct Case {
    const char* name;
    WideString delimiter;
    WideString text;
    std::vector<std::string> items;
  } cases[] = {
      {"empty item inside, none at the end", u",", u"a,,b,", {"a", "", "b"}},
      {"delimiter first", u",", u",a", {"", "a"}},
      {"quotes mean nothing", u",", u"\"x,y\"", {"\"x", "y\""}},
      {"longer delimiter", u"::", u"a::b:c", {"a", "b:c"}},
      {"empty delimiter is never found", u"", u"a,b", {"a,b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMyWStrings list;
    list.Delimiter = c.delimiter;
    list.SetDelimitedText(c.text);
    EXPECT_EQ(Items(list), c.items);
  }

  TMyWStrings list;
  list.SetDelimitedText(u"a,,b");
  EXPECT_EQ(list.GetDelimitedText(), u"a,,b");
  EXPECT_GE(ui->ProcessCount, 3);
}

TEST_F(MyWStringsTest, EmptyDelimitedTextEmptiesTheListAndAbortsSilently) {
  TMyWStrings list;
  list.Add(u"x");
  EXPECT_THROW(list.SetDelimitedText(u""), EAbort);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Store()->UpdateCount(), 0);
  EXPECT_TRUE(messageBoxes->Shown.empty());
}

TEST_F(MyWStringsTest, SortedListInsertsInOrderAndAppliesDuplicates) {
  TMyWStrings list;
  list.Sorted = true;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(list.Add(u"b"), 0);
  EXPECT_EQ(list.Add(u"a"), 1);  // Count - 1, although the item went to 0
  list.Insert(0, u"c");          // the index is not used
  EXPECT_THAT(Items(list), ElementsAre("a", "b", "c"));
  EXPECT_EQ(changes, 3);

  list.Add(u"B");  // dupIgnore, case ignored: nothing, silently
  EXPECT_THAT(Items(list), ElementsAre("a", "b", "c"));
  EXPECT_TRUE(messageBoxes->Shown.empty());

  list.Duplicates = dupError;
  EXPECT_EQ(list.Add(u"a"), 2);
  EXPECT_THAT(Items(list), ElementsAre("a", "b", "c"));
  EXPECT_THAT(Boxes(), ElementsAre("文字列リストは重複を許しません"));
  EXPECT_EQ(changes, 3);

  list.CaseSensitive = true;
  list.Add(u"B");
  EXPECT_EQ(list.Count(), 4);

  list.Duplicates = dupAccept;  // a sorted list with dupAccept inserts where told
  list.Insert(0, u"z");
  EXPECT_EQ(U8(list.Get(0)), "z");
}

/// A list whose store insertion fails the way the test says.
class FailingList : public TMyWStrings {
 public:
  std::function<void()> fail;
  AnsiString EncodeItem(const WideString& S) override {
    fail();
    return TMyWStrings::EncodeItem(S);
  }
};

TEST_F(MyWStringsTest, FailedInsertionIsReportedAndInsertsNothing) {
  FailingList list;
  list.fail = [] { throw std::bad_alloc(); };
  EXPECT_NO_THROW(list.Add(u"a"));
  list.fail = [] { throw std::runtime_error("refused"); };
  EXPECT_NO_THROW(list.Insert(0, u"b"));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THAT(Boxes(), ElementsAre("データが大きすぎて操作が完了できませんでした",
                                   "操作が完了できませんでした"));
}

TEST_F(MyWStringsTest, SearchesByPrefixPartAndName) {
  TMyWStrings list;
  list.SetText(W("Alpha\r\n key = 1\r\n=novalue\r\nbeta\r\nalphabet\r\n日本語テキスト\r\n"));
  struct Case {
    const char* name;
    int got;
    int expected;
  } cases[] = {
      {"prefix ignores case", list.IndexOfPrefix(u"ALPHA"), 0},
      {"prefix from start", list.IndexOfPrefix(u"alpha", 1), 4},
      {"empty prefix", list.IndexOfPrefix(u""), -1},
      {"part", list.IndexOfPart(W("テキ")), 5},
      {"part ignores case", list.IndexOfPart(u"ET"), 3},
      {"empty part", list.IndexOfPart(u""), -1},
      {"negative start counts as 0", list.IndexOfPart(u"a", -5), 0},
      {"start beyond the end", list.IndexOfPart(u"a", 99), -1},
      {"name is trimmed in the item", list.IndexOfName(u"KEY"), 1},
      {"name argument is not trimmed", list.IndexOfName(u" key"), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.expected);
  }
  list.CaseSensitive = true;
  EXPECT_EQ(list.IndexOfPrefix(u"ALPHA"), -1);
  EXPECT_EQ(list.IndexOfPart(u"ET"), -1);
}

TEST_F(MyWStringsTest, FindReportsTheItemOrWhereItBelongs) {
  TMyWStrings list;
  list.SetText(u"b\r\nd\r\n");
  int index = 0;
  EXPECT_FALSE(list.Find(u"a", index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(list.Find(u"D", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(u"e", index));
  EXPECT_EQ(index, 2);
}

/// Counts its destructions.
struct Counted : TObject {
  explicit Counted(int& n) : count(n) {}
  ~Counted() override { ++count; }
  int& count;
};

TEST_F(MyWStringsTest, OwnsObjectsFreesOnDeleteAndClearButNeverInAForeignStore) {
  int freed = 0;
  {
    TMyWStrings list;
    list.OwnsObjects = true;
    list.AddObject(u"a", new Counted(freed));
    list.AddObject(u"b", new Counted(freed));
    list.AddObject(u"c", new Counted(freed));
    list.Delete(0);
    EXPECT_EQ(freed, 1);
    list.Clear();
    EXPECT_EQ(freed, 3);
    list.AddObject(u"d", new Counted(freed));
  }
  EXPECT_EQ(freed, 4);  // the own store is cleared on destruction

  Counted kept(freed);
  TMyStore foreign;
  {
    TMyWStrings list(&foreign);
    list.OwnsObjects = true;
    list.AddObject(u"x", &kept);
  }
  EXPECT_EQ(foreign.Count(), 1);
  EXPECT_EQ(foreign.GetObject(0), &kept);
}

TEST_F(MyWStringsTest, SetStoreSwitchesBetweenOwnAndForeignStores) {
  int freed = 0;
  TMySortableStore foreign;
  foreign.CaseSensitive = true;
  foreign.Add("x");
  TMyWStrings onForeign(&foreign);
  EXPECT_TRUE(onForeign.CaseSensitive);
  EXPECT_THAT(Items(onForeign), ElementsAre("x"));

  onForeign.SetStore(nullptr);  // a new own store; the foreign one is left as it is
  EXPECT_TRUE(onForeign.OwnsStore());
  EXPECT_EQ(onForeign.Count(), 0);
  EXPECT_EQ(foreign.Count(), 1);

  TMyWStrings list;
  list.OwnsObjects = true;
  list.AddObject(u"a", new Counted(freed));
  list.SetStore(&foreign);  // the own store is cleared (objects freed) and freed
  EXPECT_EQ(freed, 1);
  EXPECT_FALSE(list.OwnsStore());
  EXPECT_THAT(Items(list), ElementsAre("x"));
  list.SetStore(&foreign);  // the same store again changes nothing
  EXPECT_THAT(Items(list), ElementsAre("x"));
}

TEST_F(MyWStringsTest, IndexErrorsOfTheWideFace) {
  TMyWStrings list;
  list.Add(u"a");
  EXPECT_EQ(list.Get(1), u"");
  EXPECT_EQ(list.GetObject(-1), nullptr);
  list.Put(5, u"x");
  list.Delete(-1);
  EXPECT_THAT(Items(list), ElementsAre("a"));
  EXPECT_THROW(list.Exchange(0, 1), EListError);
  EXPECT_THROW(list.Move(1, 0), EListError);
}

TEST_F(MyWStringsTest, BulkOperationsKeepOrderAndCopeWithThemselves) {
  TMyWStrings list;
  list.SetText(u"a\r\nb\r\n");
  list.AddStrings(list);
  EXPECT_THAT(Items(list), ElementsAre("a", "b", "a", "b"));
  list.InsertStrings(1, list);
  EXPECT_THAT(Items(list), ElementsAre("a", "a", "b", "a", "b", "b", "a", "b"));

  TMyStore bytes;
  bytes.Add("x");
  bytes.Add("y");
  list.Clear();
  list.Add(u"a");
  list.InsertStrings(-3, bytes);
  EXPECT_THAT(Items(list), ElementsAre("x", "y", "a"));
  list.AddBlank(2);
  EXPECT_EQ(list.Count(), 5);
  list.Assign(bytes);
  EXPECT_THAT(Items(list), ElementsAre("x", "y"));
  EXPECT_EQ(list.AddPair(u"k", u"v"), 2);
  EXPECT_EQ(list.Get(2), u"k=v");
}

}  // namespace
}  // namespace magna
