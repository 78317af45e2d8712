#include "platform/rtl/Collection.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/RtlConsts.h"

namespace {
[[noreturn]] void IndexError(Integer Index) {
  throw EListError(Format(SListIndexError, {Index}));
}
}  // namespace

// --- TCollectionItem ---

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() {
  if (FCollection != nullptr) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection != nullptr) FCollection->RemoveItem(this);
  if (Value != nullptr) Value->InsertItem(this);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

Integer TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  const auto& items = FCollection->FItems;
  const auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<Integer>(it - items.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  const Integer current = Index();
  if (current < 0 || current == Value) return;
  FCollection->MoveItem(current, Value);
  Changed(true);
}

String TCollectionItem::GetDisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection != nullptr && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// --- TCollection ---

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no Update while the items go
  while (!FItems.empty()) delete FItems.back();  // ownership code: items belong to the collection
}

TCollectionItem* TCollection::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::SetItems(Integer Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() {
  if (FItemClass.Create == nullptr) throw EInvalidOperation(SNoItemClass);
  TCollectionItem* item = FItemClass.Create(this);
  if (item->FCollection != this) item->SetCollection(this);
  return item;
}

TCollectionItem* TCollection::Insert(Integer Index) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(Integer Index) { delete Items(Index); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == ID) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  if (auto* source = dynamic_cast<TCollection*>(Source)) {
    if (source == this) return;
    BeginUpdate();
    try {
      Clear();
      for (Integer i = 0; i < source->Count(); ++i) Add()->Assign(source->Items(i));
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  const auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it != FItems.end()) FItems.erase(it);
  Item->FCollection = nullptr;
  Changed();
}

void TCollection::MoveItem(Integer CurIndex, Integer NewIndex) {
  if (NewIndex < 0 || NewIndex >= Count()) IndexError(NewIndex);
  TCollectionItem* item = FItems[static_cast<std::size_t>(CurIndex)];
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, item);
}
