#include "platform/rtl/Component.h"

#include <QtCore/QChar>
#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"

namespace {

// Letters may be any Unicode letter, as identifiers of the class library allow.
bool IsIdentLetter(Char c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_') return true;
  return c >= 0x80 && QChar(c).isLetter();
}

bool IsComponentName(StringView name) {
  if (name.empty() || !IsIdentLetter(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(), [](Char c) {
    return IsIdentLetter(c) || (c >= u'0' && c <= u'9') || (c >= 0x80 && QChar(c).isDigit());
  });
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // A destructor must not throw; a failing Notification override cannot stop
  // the component from going away.
  try {
    while (!FFreeNotifies.empty()) {
      TComponent* other = FFreeNotifies.back();
      FFreeNotifies.pop_back();
      other->RemoveFreeNotify(this);
      other->Notification(this, opRemove);
    }
  } catch (...) {
  }
  FFreeNotifies.clear();
  while (!FComponents.empty()) {
    try {
      DestroyComponents();
    } catch (...) {
    }
  }
  if (FOwner != nullptr) {
    try {
      FOwner->RemoveComponent(this);
    } catch (...) {
      FOwner->Remove(this);
    }
  }
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError(Format(SListIndexError, {Index}));
  return FComponents[static_cast<std::size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  const auto& list = FOwner->FComponents;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
  if (FOwner == nullptr) return;
  auto& list = FOwner->FComponents;
  const Integer current = ComponentIndex();
  if (current < 0) return;
  Value = std::clamp(Value, 0, static_cast<Integer>(list.size()) - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsComponentName(NewName))
    throw EComponentError(Format(SInvalidName, {NewName}));
  if (FOwner != nullptr)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, StringView CurName, StringView NewName) const {
  if (AComponent == nullptr || AComponent->FOwner != this || NewName.empty() || SameText(CurName, NewName)) return;
  TComponent* other = FindComponent(NewName);
  if (other != nullptr && other != AComponent)
    throw EComponentError(Format(SDuplicateName, {NewName}));
}

TComponent* TComponent::FindComponent(StringView AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

bool TComponent::Owns(const TComponent* AComponent) const {
  // Walks up from this component: does AComponent own it, directly or not?
  for (const TComponent* c = this; c != nullptr; c = c->FOwner)
    if (c == AComponent) return true;
  return false;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  if (AComponent->FOwner == this) return;
  if (Owns(AComponent)) throw EComponentError(SCircularOwner);
  // The name check comes first, so a refused component stays with its old owner.
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName) != nullptr)
    throw EComponentError(Format(SDuplicateName, {AComponent->FName}));
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  const auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* instance = FComponents.back();
    // A component that others watch is removed with notification, so its
    // siblings drop their references before it dies.
    if (instance->FComponentState.Contains(csFreeNotification)) {
      try {
        RemoveComponent(instance);
      } catch (...) {
        Remove(instance);
        delete instance;
        throw;
      }
    } else {
      Remove(instance);
    }
    delete instance;  // ownership code: the owner destroys what it owns
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::Loading() { FComponentState.Include(csLoading); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::Updating() {
  FComponentState.Include(csUpdating);
  for (TComponent* c : FComponents) c->Updating();
}

void TComponent::Updated() {
  FComponentState.Exclude(csUpdating);
  for (TComponent* c : FComponents) c->Updated();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // Owned components may go away while they are told; walk from the end and
  // stay inside the list as it shrinks.
  for (std::size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) {
      i = FComponents.size();
      continue;
    }
    FComponents[i]->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  // Components of one owner hear of each other through the owner already.
  if (FOwner == nullptr || AComponent->FOwner != FOwner) {
    AddFreeNotify(AComponent);
    AComponent->AddFreeNotify(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  RemoveFreeNotify(AComponent);
  AComponent->RemoveFreeNotify(this);
}

void TComponent::AddFreeNotify(TComponent* AComponent) {
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
}

void TComponent::RemoveFreeNotify(TComponent* AComponent) {
  const auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}
