#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/rtl/List.h"

namespace {

int values[8] = {0, 1, 2, 3, 4, 5, 6, 7};
void* P(int i) { return &values[i]; }
int V(void* p) { return *static_cast<int*>(p); }

class TLoggingList : public TList {
 public:
  std::vector<std::pair<int, TListNotification>> Log;

 protected:
  void Notify(void* Ptr, TListNotification Action) override { Log.emplace_back(V(Ptr), Action); }
};

std::vector<int> Contents(const TList& list) {
  std::vector<int> out;
  for (Integer i = 0; i < list.Count(); ++i) out.push_back(list.Items(i) ? V(list.Items(i)) : -1);
  return out;
}

TEST(List, EditingOperations) {
  TList list;
  for (int i : {3, 1, 2}) list.Add(P(i));
  list.Insert(0, P(0));
  list.Insert(list.Count(), P(4));
  EXPECT_EQ(Contents(list), (std::vector<int>{0, 3, 1, 2, 4}));
  list.Move(1, 3);
  EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 2, 3, 4}));
  list.Exchange(0, 4);
  EXPECT_EQ(Contents(list), (std::vector<int>{4, 1, 2, 3, 0}));
  EXPECT_EQ(list.Remove(P(2)), 2);
  EXPECT_EQ(list.Remove(P(2)), -1);
  EXPECT_EQ(list.IndexOf(P(3)), 2);
  EXPECT_EQ(V(list.First()), 4);
  EXPECT_EQ(V(list.Last()), 0);
  list.Sort([](void* a, void* b) { return V(a) - V(b); });
  EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 3, 4}));
  EXPECT_EQ(list.Extract(P(3)), P(3));
  EXPECT_EQ(list.Extract(P(3)), nullptr);
  list.SetCount(5);
  EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 4, -1, -1}));
  list.SetItems(0, nullptr);
  list.Pack();
  EXPECT_EQ(Contents(list), (std::vector<int>{1, 4}));
  list.SetCount(1);
  EXPECT_EQ(Contents(list), (std::vector<int>{1}));
  EXPECT_GE(list.Capacity(), 1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(List, BadIndexesAndSizesRaise) {
  TList list;
  list.Add(P(1));
  list.Add(P(2));
  struct Case { const char* what; std::function<void()> call; String message; };
  const Case cases[] = {
      {"Items", [&] { list.Items(2); }, u"List index out of bounds (2)"},
      {"SetItems", [&] { list.SetItems(-1, nullptr); }, u"List index out of bounds (-1)"},
      {"Insert", [&] { list.Insert(3, P(0)); }, u"List index out of bounds (3)"},
      {"Delete", [&] { list.Delete(2); }, u"List index out of bounds (2)"},
      {"Exchange", [&] { list.Exchange(0, 7); }, u"List index out of bounds (7)"},
      {"Move", [&] { list.Move(0, 2); }, u"List index out of bounds (2)"},
      {"Move from", [&] { list.Move(-3, 0); }, u"List index out of bounds (-3)"},
      {"SetCount", [&] { list.SetCount(-1); }, u"List count out of bounds (-1)"},
      {"SetCapacity", [&] { list.SetCapacity(1); }, u"List capacity out of bounds (1)"},
      {"huge SetCapacity", [&] { list.SetCapacity(0x7FFFFFFF); }, u"List capacity out of bounds (2147483647)"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  EXPECT_EQ(Contents(list), (std::vector<int>{1, 2}));

  TList empty;
  EXPECT_THROW(empty.First(), EListError);
  try {
    empty.Last();
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (-1)");
  }
}

TEST(List, NotifiesAddsExtractsAndDeletes) {
  TLoggingList list;
  list.Add(P(1));
  list.Add(nullptr);  // nil items are not notified
  list.Add(P(2));
  list.Add(P(3));
  list.Extract(P(1));
  list.Delete(list.IndexOf(P(2)));
  list.Move(0, 1);  // moving is not adding or deleting
  list.Clear();
  using N = std::pair<int, TListNotification>;
  EXPECT_EQ(list.Log, (std::vector<N>{{1, lnAdded}, {2, lnAdded}, {3, lnAdded}, {1, lnExtracted},
                                      {2, lnDeleted}, {3, lnDeleted}}));
}

TEST(List, SortIsStableAndSurvivesABadCompare) {
  TList list;
  for (int i : {5, 2, 7, 4, 1, 6, 3, 0}) list.Add(P(i));
  list.Sort([](void* a, void* b) { return V(a) % 2 - V(b) % 2; });  // evens first, order kept
  EXPECT_EQ(Contents(list), (std::vector<int>{2, 4, 6, 0, 5, 7, 1, 3}));
  for (int i = 0; i < 40; ++i) list.Add(P(i % 8));
  int calls = 0;
  list.Sort([&](void*, void*) { return (++calls % 3) - 1; });  // not an ordering
  EXPECT_EQ(list.Count(), 48);
}

}  // namespace
