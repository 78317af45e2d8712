#include "platform/rtl/List.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/RtlConsts.h"

TList::~TList() {
  // Derived notifications are gone by now; the base list only drops its items.
  FList.clear();
}

void TList::Error(const char16_t* Message, Integer Data) { throw EListError(Format(Message, {Data})); }

void TList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
}

void TList::Grow() {
  Integer delta = 4;
  if (FCapacity > 64)
    delta = FCapacity / 4;
  else if (FCapacity > 8)
    delta = 16;
  SetCapacity(std::min(FCapacity + delta, MaxListSize));
}

Integer TList::Add(void* Item) {
  const Integer index = Count();
  Insert(index, Item);
  return index;
}

void TList::Insert(Integer Index, void* Item) {
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  if (Count() >= MaxListSize) Error(SListCountError, Count() + 1);
  if (Count() == FCapacity) Grow();
  FList.insert(FList.begin() + Index, Item);
  if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
  CheckIndex(Index);
  void* item = FList[Index];
  FList.erase(FList.begin() + Index);
  if (item != nullptr) Notify(item, lnDeleted);
}

Integer TList::Remove(void* Item) {
  const Integer index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

Integer TList::IndexOf(void* Item) const {
  const auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : static_cast<Integer>(it - FList.begin());
}

void* TList::Extract(void* Item) {
  const Integer index = IndexOf(Item);
  if (index < 0) return nullptr;
  FList.erase(FList.begin() + index);
  if (Item != nullptr) Notify(Item, lnExtracted);
  return Item;
}

void TList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  void* item = FList[CurIndex];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, item);
}

void TList::Sort(const TListSortCompare& Compare) {
  if (!Compare || FList.size() < 2) return;
  std::stable_sort(FList.begin(), FList.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void* TList::Items(Integer Index) const {
  CheckIndex(Index);
  return FList[Index];
}

void TList::SetItems(Integer Index, void* Item) {
  CheckIndex(Index);
  void* old = FList[Index];
  if (old == Item) return;
  FList[Index] = Item;
  if (old != nullptr) Notify(old, lnDeleted);
  if (Item != nullptr) Notify(Item, lnAdded);
}

void* TList::First() const { return Items(0); }
void* TList::Last() const { return Items(Count() - 1); }

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0 || NewCount > MaxListSize) Error(SListCountError, NewCount);
  if (NewCount > FCapacity) SetCapacity(NewCount);
  if (NewCount > Count()) {
    FList.resize(static_cast<std::size_t>(NewCount), nullptr);
  } else {
    for (Integer i = Count() - 1; i >= NewCount; --i) Delete(i);
  }
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < Count() || NewCapacity > MaxListSize) Error(SListCapacityError, NewCapacity);
  if (NewCapacity == FCapacity) return;
  if (NewCapacity < FCapacity) {
    FList.shrink_to_fit();
  } else {
    FList.reserve(static_cast<std::size_t>(NewCapacity));
  }
  FCapacity = NewCapacity;
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::Pack() {
  for (Integer i = Count() - 1; i >= 0; --i)
    if (FList[i] == nullptr) FList.erase(FList.begin() + i);
}

void TList::Notify(void*, TListNotification) {}
