// The byte-string store under TMyWStrings.
#include "text/myStore.h"

#include <gtest/gtest.h>

#include <functional>

namespace magna {
namespace {

std::string Items(const TMyStore& store) {
  std::string out;
  for (int i = 0; i < store.Count(); ++i) out += (i ? "," : "") + store.Get(i);
  return out;
}

TEST(MyStore, InsertMoveExchangeDeleteKeepObjectsWithTheirStrings) {
  TObject a, b, c;
  TMyStore store;
  store.Add("a", &a);
  store.Add("c", &c);
  store.Insert(1, "b", &b);
  EXPECT_EQ(Items(store), "a,b,c");

  store.Move(0, 2);
  EXPECT_EQ(Items(store), "b,c,a");
  EXPECT_EQ(store.GetObject(2), &a);

  store.Move(2, 0);
  store.Exchange(0, 2);
  EXPECT_EQ(Items(store), "c,b,a");
  EXPECT_EQ(store.GetObject(0), &c);
  EXPECT_EQ(store.GetObject(2), &a);

  store.Delete(1);
  EXPECT_EQ(Items(store), "c,a");
  EXPECT_EQ(store.GetObject(1), &a);
  store.Add("d");
  store.DeleteRange(0, 2);
  EXPECT_EQ(Items(store), "d");
}

TEST(MyStore, EveryBadIndexRaisesAndChangesNothing) {
  TMyStore store;
  store.Add("x");
  struct Case {
    const char* name;
    std::function<void()> call;
  } cases[] = {
      {"Get -1", [&] { (void)store.Get(-1); }},
      {"Get Count", [&] { (void)store.Get(1); }},
      {"Put", [&] { store.Put(1, "y"); }},
      {"GetObject", [&] { (void)store.GetObject(-1); }},
      {"PutObject", [&] { store.PutObject(1, nullptr); }},
      {"Insert beyond Count", [&] { store.Insert(2, "y"); }},
      {"Insert -1", [&] { store.Insert(-1, "y"); }},
      {"Delete", [&] { store.Delete(1); }},
      {"DeleteRange past the end", [&] { store.DeleteRange(0, 2); }},
      {"Exchange", [&] { store.Exchange(0, 1); }},
      {"Move to Count", [&] { store.Move(0, 1); }},
      {"Move from -1", [&] { store.Move(-1, 0); }},
      {"Capacity below Count", [&] { store.SetCapacity(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(c.call(), EListError);
    EXPECT_EQ(Items(store), "x");
  }
}

TEST(MyStore, CapacityGrowsAndShrinksWithoutLosingItems) {
  TMyStore store;
  store.Add("a");
  store.SetCapacity(500);
  EXPECT_GE(store.Capacity(), 500);
  store.Add("b");
  store.SetCapacity(2);
  EXPECT_EQ(store.Capacity(), 2);
  EXPECT_EQ(Items(store), "a,b");
}

TEST(MyStore, AppendAndCopyAnotherStoreOrItself) {
  TObject o;
  TMyStore store, other;
  store.Add("a");
  other.Add("b", &o);
  store.AddStrings(other);
  EXPECT_EQ(Items(store), "a,b");
  EXPECT_EQ(store.GetObject(1), &o);

  store.AddStrings(store);
  EXPECT_EQ(Items(store), "a,b,a,b");

  store.Assign(other);
  EXPECT_EQ(Items(store), "b");
  store.Assign(store);
  EXPECT_EQ(Items(store), "b");
}

TEST(MyStore, UpdateCounterNests) {
  TMyStore store;
  store.BeginUpdate();
  store.BeginUpdate();
  store.EndUpdate();
  EXPECT_EQ(store.UpdateCount(), 1);
  store.EndUpdate();
  EXPECT_EQ(store.UpdateCount(), 0);
}

}  // namespace
}  // namespace magna
