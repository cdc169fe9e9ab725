// TMyWStrings: the three sorts, RemoveDuplicates, Reverse.
#include <gmock/gmock.h>

#include <random>

#include "tests/support/testSupport.h"
#include "text/myWStrings.h"

namespace magna {
namespace {

using test::U8;
using test::W;
using ::testing::ElementsAre;

std::vector<std::string> Items(TMyWStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(U8(list.Get(i)));
  return out;
}

/// Orders by the first code unit only, so that items with the same first
/// character are equal and show whether a sort keeps their order.
int ByFirstCharacter(TMyWStrings& list, int i, int j) {
  const WideString a = list.Get(i), b = list.Get(j);
  const int x = a.empty() ? -1 : a[0], y = b.empty() ? -1 : b[0];
  return x < y ? -1 : x > y ? 1 : 0;
}

class MyWStringsSortTest : public test::FakeServicesTest {};

TEST_F(MyWStringsSortTest, MergeSortIsStableCarriesObjectsAndCountsItsSteps) {
  TObject o1, o2;
  TMyWStrings list;
  list.SetText(u"b1\r\na1\r\nb2\r\na2\r\nb3\r\n");
  list.PutObject(0, &o1);
  list.PutObject(3, &o2);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.Sort(ByFirstCharacter);
  EXPECT_THAT(Items(list), ElementsAre("a1", "a2", "b1", "b2", "b3"));
  EXPECT_EQ(list.GetObject(1), &o2);
  EXPECT_EQ(list.GetObject(2), &o1);
  EXPECT_EQ(changes, 0);
  // 5 elements: 9 calls of the recursive step (one per node of the split tree).
  EXPECT_EQ(U8(list.SortCaption), "リストのソート中 [9]");
}

TEST_F(MyWStringsSortTest, MergeSortOfARangeLeavesTheRestAlone) {
  TMyWStrings list;
  list.SetText(u"z\r\nc\r\nb\r\na\r\ny\r\n");
  list.SortRange(1, 3);
  EXPECT_THAT(Items(list), ElementsAre("z", "a", "b", "c", "y"));
}

TEST_F(MyWStringsSortTest, DefaultOrderIsTheLocaleIgnoringCaseAndStable) {
  TMyWStrings list;
  list.SetText(W("う\r\nb\r\nA\r\nあ\r\na\r\nB\r\nい\r\n"));
  list.Sort();
  EXPECT_THAT(Items(list), ElementsAre("A", "a", "b", "B", "あ", "い", "う"));
  list.Sort(TMyWStrings::DefaultCompare, true);
  EXPECT_THAT(Items(list), ElementsAre("A", "b", "あ", "い", "う"));
}

TEST_F(MyWStringsSortTest, QuickSortOrdersEverythingAndReportsEveryExchange) {
  std::mt19937 random(7);
  TMyWStrings list;
  for (int i = 0; i < 300; ++i)
    list.Add(WideString(1, static_cast<char16_t>(u'a' + random() % 20)));
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.QuickSort(ByFirstCharacter);
  for (int i = 1; i < list.Count(); ++i) ASSERT_LE(ByFirstCharacter(list, i - 1, i), 0) << i;
  EXPECT_EQ(list.Count(), 300);
  EXPECT_GT(changes, 0);
  EXPECT_GT(ui->ProcessCount, 0);
  EXPECT_EQ(list.Store()->UpdateCount(), 0);

  list.QuickSort(ByFirstCharacter, true);
  EXPECT_EQ(list.Count(), 20);
}

TEST_F(MyWStringsSortTest, QuickSortStaysInRangeWithAComparisonThatIsNoOrder) {
  TMyWStrings list;
  list.SetText(u"c\r\na\r\nb\r\nd\r\n");
  auto alwaysAfter = [](TMyWStrings&, int, int) { return 1; };  // even against itself
  EXPECT_NO_THROW(list.QuickSort(alwaysAfter));
  EXPECT_EQ(list.Count(), 4);
}

TEST_F(MyWStringsSortTest, InsertionSortIsStableAndDropsTheLaterDuplicate) {
  TMyWStrings list;
  list.SetText(u"b1\r\na1\r\nb2\r\na2\r\n");
  list.InsertionSort(ByFirstCharacter, false);
  EXPECT_THAT(Items(list), ElementsAre("a1", "a2", "b1", "b2"));

  list.SetText(u"b\r\na\r\nb\r\n");
  list.InsertionSort(true);
  EXPECT_THAT(Items(list), ElementsAre("a", "b"));

  TObject first, later;
  list.SetText(u"x\r\nx\r\n");
  list.PutObject(0, &first);
  list.PutObject(1, &later);
  list.InsertionSort(true);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetObject(0), &first);
}

TEST_F(MyWStringsSortTest, SortPathsComparesDigitRunsAndRemovesDuplicates) {
  TMyWStrings list;
  list.SetText(u"d/a10.txt\r\nd/a2.txt\r\nc/z.txt\r\nd/a2.txt\r\n");
  list.SortPaths(false);  // duplicates go whatever the argument
  EXPECT_THAT(Items(list), ElementsAre("c/z.txt", "d/a2.txt", "d/a10.txt"));
}

TEST_F(MyWStringsSortTest, RemoveDuplicatesComparesNeighboursOnly) {
  TMyWStrings list;
  list.SetText(u"a\r\nA\r\nb\r\na\r\n");
  list.RemoveDuplicates();
  EXPECT_THAT(Items(list), ElementsAre("a", "b", "a"));
  list.SetText(u"a\r\nA\r\n");
  list.CaseSensitive = true;
  list.RemoveDuplicates();
  EXPECT_EQ(list.Count(), 2);
}

TEST_F(MyWStringsSortTest, ReverseExchangesUpToTheMiddleItemItself) {
  struct Case {
    WideString text;
    std::vector<std::string> reversed;
    int changes;
  } cases[] = {
      {u"", {}, 0},
      {u"a\r\n", {"a"}, 1},
      {u"a\r\nb\r\nc\r\n", {"c", "b", "a"}, 2},
      {u"a\r\nb\r\nc\r\nd\r\n", {"d", "c", "b", "a"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(U8(c.text));
    TMyWStrings list;
    list.SetText(c.text);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.Reverse();
    EXPECT_EQ(Items(list), c.reversed);
    EXPECT_EQ(changes, c.changes);
  }
}

}  // namespace
}  // namespace magna
