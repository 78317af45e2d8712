#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Collection.h"

namespace {

class TPanelItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  String Text;
  void Assign(TPersistent* Source) override {
    if (auto* other = dynamic_cast<TPanelItem*>(Source)) {
      Text = other->Text;
      Changed(false);
      return;
    }
    TCollectionItem::Assign(Source);
  }
  void Touch() { Changed(false); }
};

class TPanels : public TOwnedCollection {
 public:
  explicit TPanels(TPersistent* owner = nullptr) : TOwnedCollection(owner, TCollectionItemClass::Of<TPanelItem>()) {}
  TPanelItem* Panel(Integer i) const { return static_cast<TPanelItem*>(Items(i)); }
  std::vector<TCollectionItem*> Updates;

 protected:
  void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
};

std::vector<String> Texts(const TPanels& panels) {
  std::vector<String> texts;
  for (Integer i = 0; i < panels.Count(); ++i) texts.push_back(panels.Panel(i)->Text);
  return texts;
}

TPanels& Fill(TPanels& panels, std::initializer_list<const char16_t*> texts) {
  for (const char16_t* t : texts) static_cast<TPanelItem*>(panels.Add())->Text = t;
  return panels;
}

TEST(Collection, IndexesFollowInsertDeleteAndMove) {
  TPanels panels;
  Fill(panels, {u"a", u"b", u"c"});
  static_cast<TPanelItem*>(panels.Insert(1))->Text = u"x";
  EXPECT_EQ(Texts(panels), (std::vector<String>{u"a", u"x", u"b", u"c"}));
  EXPECT_EQ(panels.Panel(2)->Index(), 2);

  panels.Delete(0);
  EXPECT_EQ(Texts(panels), (std::vector<String>{u"x", u"b", u"c"}));
  EXPECT_EQ(panels.Panel(0)->Index(), 0);

  panels.Panel(0)->SetIndex(2);
  EXPECT_EQ(Texts(panels), (std::vector<String>{u"b", u"c", u"x"}));

  // An item deleted directly leaves its collection.
  delete panels.Panel(1);
  EXPECT_EQ(Texts(panels), (std::vector<String>{u"b", u"x"}));

  panels.Insert(panels.Count());  // at the end is allowed
  EXPECT_EQ(panels.Count(), 3);
}

TEST(Collection, BadIndexesRaiseAndChangeNothing) {
  TPanels panels;
  Fill(panels, {u"a", u"b"});
  struct Case { const char* what; std::function<void()> call; String message; };
  const Case cases[] = {
      {"Items(2)", [&] { panels.Items(2); }, u"List index out of bounds (2)"},
      {"Items(-1)", [&] { panels.Items(-1); }, u"List index out of bounds (-1)"},
      {"Delete(5)", [&] { panels.Delete(5); }, u"List index out of bounds (5)"},
      {"Insert(3)", [&] { panels.Insert(3); }, u"List index out of bounds (3)"},
      {"SetIndex(2)", [&] { panels.Panel(0)->SetIndex(2); }, u"List index out of bounds (2)"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  EXPECT_EQ(Texts(panels), (std::vector<String>{u"a", u"b"}));
}

TEST(Collection, IdsKeepGrowing) {
  TPanels panels;
  Fill(panels, {u"a", u"b", u"c"});
  EXPECT_EQ(panels.Panel(2)->ID(), 2);
  panels.Clear();
  auto* item = panels.Add();
  EXPECT_EQ(item->ID(), 3);  // IDs are never reused
  EXPECT_EQ(panels.NextID(), 4);
  EXPECT_EQ(panels.FindItemID(3), item);
  EXPECT_EQ(panels.FindItemID(0), nullptr);
}

TEST(Collection, UpdateRunsOncePerBatch) {
  TPanels panels;
  Fill(panels, {u"a", u"b"});
  panels.Updates.clear();

  panels.Panel(1)->Touch();
  EXPECT_EQ(panels.Updates, (std::vector<TCollectionItem*>{panels.Panel(1)}));
  panels.Updates.clear();

  panels.BeginUpdate();
  panels.BeginUpdate();
  panels.Add();
  panels.Delete(0);
  panels.Panel(0)->Touch();
  panels.EndUpdate();
  EXPECT_TRUE(panels.Updates.empty());
  panels.EndUpdate();
  EXPECT_EQ(panels.Updates, (std::vector<TCollectionItem*>{nullptr}));

  panels.Updates.clear();
  panels.Clear();
  EXPECT_EQ(panels.Updates.size(), 1u);
}

TEST(Collection, AssignCopiesItemsByTheirOwnAssign) {
  TPanels source, target;
  Fill(source, {u"one", u"two"});
  Fill(target, {u"old"});
  target.Updates.clear();
  target.Assign(&source);
  EXPECT_EQ(Texts(target), (std::vector<String>{u"one", u"two"}));
  EXPECT_NE(target.Panel(0), source.Panel(0));
  EXPECT_EQ(target.Updates.size(), 1u);

  TPersistent stranger;
  EXPECT_THROW(target.Assign(&stranger), EConvertError);
}

TEST(Collection, ItemsMoveBetweenCollectionsAndKnowTheirOwner) {
  TPersistent owner;
  TPanels first(&owner), second;
  Fill(first, {u"a", u"b"});
  auto* item = first.Panel(0);
  EXPECT_EQ(item->Collection(), &first);
  EXPECT_EQ(item->GetOwner(), &first);
  EXPECT_EQ(first.Owner(), &owner);
  EXPECT_EQ(second.Owner(), nullptr);
  EXPECT_EQ(item->DisplayName(), u"TPanelItem");

  item->SetCollection(&second);
  EXPECT_EQ(first.Count(), 1);
  EXPECT_EQ(second.Count(), 1);
  EXPECT_EQ(item->Index(), 0);

  item->SetCollection(nullptr);
  EXPECT_EQ(item->Index(), -1);
  delete item;  // an item outside any collection belongs to whoever took it out
}

}  // namespace
