#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"

namespace {

// Records its destruction in a shared log, and clears its reference to a
// watched component when told that it goes away.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, String name, std::vector<String>* log = nullptr) : TComponent(owner), FLog(log) {
    SetName(name);
  }
  ~TProbe() override {
    if (FLog != nullptr) FLog->push_back(Name());
    if (OnDying) OnDying(this);
  }

  TComponent* Watched = nullptr;
  std::function<void(TProbe*)> OnDying;
  std::vector<std::pair<TComponent*, TOperation>> Heard;

  void Watch(TComponent* other) {
    Watched = other;
    if (other != nullptr) other->FreeNotification(this);
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Heard.emplace_back(AComponent, Operation);
    if (Operation == opRemove && AComponent == Watched) Watched = nullptr;
  }

 private:
  std::vector<String>* FLog;
};

TEST(Component, OwnerDestroysOwnedComponentsLastInsertedFirst) {
  std::vector<String> log;
  {
    auto owner = std::make_unique<TProbe>(nullptr, u"Owner", &log);
    new TProbe(owner.get(), u"A", &log);
    auto* b = new TProbe(owner.get(), u"B", &log);
    new TProbe(b, u"B1", &log);  // nested owner
    new TProbe(b, u"B2", &log);
    new TProbe(owner.get(), u"C", &log);
    EXPECT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(b->ComponentCount(), 2);
  }
  EXPECT_EQ(log, (std::vector<String>{u"Owner", u"C", u"B", u"B2", u"B1", u"A"}));
}

TEST(Component, DeletingAChildFirstRemovesItFromItsOwner) {
  std::vector<String> log;
  auto owner = std::make_unique<TProbe>(nullptr, u"Owner", &log);
  auto* a = new TProbe(owner.get(), u"A", &log);
  auto* b = new TProbe(owner.get(), u"B", &log);
  std::unique_ptr<TProbe> held(a);  // a component may also be held directly
  held.reset();
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), b);
  EXPECT_EQ(b->ComponentIndex(), 0);
  // The sibling heard of the removal through the owner.
  ASSERT_FALSE(b->Heard.empty());
  EXPECT_EQ(b->Heard.back().first, a);
  EXPECT_EQ(b->Heard.back().second, opRemove);
  owner.reset();
  EXPECT_EQ(log, (std::vector<String>{u"A", u"Owner", u"B"}));
}

TEST(Component, ComponentsListAndIndexes) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  auto* c = new TComponent(&owner);
  EXPECT_EQ(a->Owner(), &owner);
  EXPECT_EQ(owner.Components(2), c);
  EXPECT_THROW(owner.Components(3), EListError);
  try {
    owner.Components(-1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (-1)");
  }
  c->SetComponentIndex(0);
  EXPECT_EQ(owner.Components(0), c);
  EXPECT_EQ(a->ComponentIndex(), 1);
  EXPECT_EQ(b->ComponentIndex(), 2);
  EXPECT_EQ(owner.ComponentIndex(), -1);
  EXPECT_EQ(owner.GetOwner(), nullptr);
  EXPECT_EQ(a->GetOwner(), &owner);
}

TEST(Component, NamesAreValidatedAndUniqueAmongSiblings) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName(u"Button1");
  EXPECT_EQ(owner.FindComponent(u"BUTTON1"), a);
  EXPECT_EQ(owner.FindComponent(u"Missing"), nullptr);
  EXPECT_EQ(owner.FindComponent(u""), nullptr);

  try {
    b->SetName(u"button1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), u"A component named button1 already exists");
  }
  EXPECT_EQ(b->Name(), u"");

  struct Case { String name; bool valid; };
  const Case cases[] = {
      {u"_x9", true}, {u"\u00C4pfel", true}, {u"", true},
      {u"9lives", false}, {u"two words", false}, {u"a-b", false}, {u"a.b", false},
  };
  for (const auto& c : cases) {
    TComponent lone(nullptr);
    if (c.valid) {
      EXPECT_NO_THROW(lone.SetName(c.name)) << StringToUtf8(c.name);
    } else {
      try {
        lone.SetName(c.name);
        ADD_FAILURE() << StringToUtf8(c.name);
      } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), u"'" + c.name + u"' is not a valid component name");
      }
    }
  }

  // Changing only the letter case of one's own name is not a clash.
  a->SetName(u"BUTTON1");
  EXPECT_EQ(a->Name(), u"BUTTON1");
  // Clearing names never clashes.
  a->SetName(u"");
  b->SetName(u"");
}

TEST(Component, InsertAndRemoveComponent) {
  TComponent first(nullptr), second(nullptr);
  auto* moved = new TComponent(&first);
  moved->SetName(u"Shared");
  auto* clash = new TComponent(&second);
  clash->SetName(u"shared");

  // A name taken in the new owner keeps the component where it was.
  EXPECT_THROW(second.InsertComponent(moved), EComponentError);
  EXPECT_EQ(moved->Owner(), &first);

  clash->SetName(u"Other");
  second.InsertComponent(moved);
  EXPECT_EQ(moved->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(second.ComponentCount(), 2);

  // Ownership cycles would destroy twice; they are refused.
  auto* child = new TComponent(moved);
  EXPECT_THROW(child->InsertComponent(&second), EComponentError);
  EXPECT_THROW(moved->InsertComponent(moved), EComponentError);

  second.RemoveComponent(moved);  // no longer owned: the test destroys it
  std::unique_ptr<TComponent> free(moved);
  EXPECT_EQ(moved->Owner(), nullptr);
  EXPECT_EQ(second.ComponentCount(), 1);
  EXPECT_EQ(child->Owner(), moved);
}

TEST(Component, FreeNotificationLeavesNoDanglingReference) {
  // Watched dies first.
  {
    TProbe watcher(nullptr, u"Watcher");
    auto watched = std::make_unique<TProbe>(nullptr, u"Watched");
    watcher.Watch(watched.get());
    EXPECT_TRUE(watched->ComponentState().Contains(csFreeNotification));
    watched.reset();
    EXPECT_EQ(watcher.Watched, nullptr);
  }
  // Watcher dies first: the watched one must not call it later.
  {
    auto watched = std::make_unique<TProbe>(nullptr, u"Watched");
    auto watcher = std::make_unique<TProbe>(nullptr, u"Watcher");
    watcher->Watch(watched.get());
    watcher.reset();
    watched.reset();  // ASan catches a call into the dead watcher
  }
  // After RemoveFreeNotification nothing is heard.
  {
    TProbe watcher(nullptr, u"Watcher");
    auto watched = std::make_unique<TProbe>(nullptr, u"Watched");
    watcher.Watch(watched.get());
    watched->RemoveFreeNotification(&watcher);
    TComponent* raw = watched.get();
    watched.reset();
    EXPECT_EQ(watcher.Watched, raw);
  }
}

TEST(Component, SiblingsHearOfEachOtherThroughTheOwner) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* watcher = new TProbe(owner.get(), u"Watcher");
  auto* watched = new TProbe(owner.get(), u"Watched");
  EXPECT_EQ(watcher->Heard.back(), std::make_pair(static_cast<TComponent*>(watched), opInsert));
  watcher->Watch(watched);
  // The owner destroys Watched first (inserted last); the watcher must have let go by then.
  bool cleared = false;
  watcher->OnDying = [&](TProbe* self) { cleared = self->Watched == nullptr; };
  owner.reset();
  EXPECT_TRUE(cleared);
}

TEST(Component, OwnerDestructionReachesWatchersOutsideIt) {
  TProbe outside(nullptr, u"Outside");
  {
    TComponent owner(nullptr);
    auto* inner = new TProbe(&owner, u"Inner");
    outside.Watch(inner);
  }
  EXPECT_EQ(outside.Watched, nullptr);
}

TEST(Component, StateDuringLoadingAndDestruction) {
  class TStateProbe : public TComponent {
   public:
    TStateProbe(TComponent* owner, TComponentState* seen) : TComponent(owner), FSeen(seen) {}
    ~TStateProbe() override { *FSeen = ComponentState(); }
   private:
    TComponentState* FSeen;
  };
  TComponentState seen;
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* child = new TStateProbe(owner.get(), &seen);
  child->Loading();
  EXPECT_TRUE(child->ComponentState().Contains(csLoading));
  child->Loaded();
  EXPECT_FALSE(child->ComponentState().Contains(csLoading));
  owner.reset();
  EXPECT_TRUE(seen.Contains(csDestroying));
  EXPECT_FALSE(seen.Contains(csDesigning));
}

}  // namespace
