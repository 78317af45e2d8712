#pragma once
// TComponent: objects with an owner and a name. An owner destroys the
// components it owns (the last inserted first); a component deleted directly
// leaves its owner first. Components that refer to each other without sharing
// an owner ask for free notification, so neither keeps a dangling pointer.
#include <vector>

#include "platform/rtl/Persistent.h"
#include "platform/rtl/Set.h"

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,  // never set in this system: there is no designer
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  // AOwner (may be nullptr) takes ownership: it destroys this component.
  explicit TComponent(TComponent* AOwner);
  // Notifies everything that asked for free notification, destroys the owned
  // components (last first), then leaves the owner.
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override { return FOwner; }

  Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
  // Owned component at Index; a bad index raises EListError "List index out of bounds (<index>)".
  TComponent* Components(Integer Index) const;
  // Position in the owner's list, -1 without owner.
  Integer ComponentIndex() const;
  // Moves this component in its owner's list (clamped to the list); nothing without owner.
  void SetComponentIndex(Integer Value);

  const String& Name() const { return FName; }
  // An empty name or an identifier (letter or "_", then letters, digits, "_").
  // Raises EComponentError "'<name>' is not a valid component name" for anything
  // else, and "A component named <name> already exists" when another component
  // of the same owner bears it (letter case ignored).
  virtual void SetName(const String& NewName);
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt Value) { FTag = Value; }

  // The owned component named AName (letter case ignored), nullptr when none.
  TComponent* FindComponent(StringView AName) const;

  // Takes AComponent over from its current owner. Raises EComponentError when its
  // name is taken here, or when AComponent is this component or owns it.
  void InsertComponent(TComponent* AComponent);
  // Gives up ownership of AComponent (not destroyed); nothing when not owned here.
  void RemoveComponent(TComponent* AComponent);
  // Destroys every owned component, the last inserted first.
  void DestroyComponents();

  // From now on AComponent gets Notification(this, opRemove) when this component
  // dies, and this one when AComponent dies. Nothing for nullptr or itself.
  void FreeNotification(TComponent* AComponent);
  // Cancels a FreeNotification in both directions.
  void RemoveFreeNotification(TComponent* AComponent);

  TComponentState ComponentState() const { return FComponentState; }
  // Marks this component and its owned components as being destroyed. A class
  // whose owned components need its own state while they die calls Destroying
  // and DestroyComponents at the start of its destructor.
  void Destroying();
  // Marks the component as being loaded from a stream (csLoading).
  void Loading();
  // Called when loading is complete: clears csLoading.
  virtual void Loaded();

 protected:
  // Told of components inserted into or removed from the owner, and of
  // components that asked for free notification dying. Overrides clear their
  // references to a removed component and call the inherited handling, which
  // passes the news on to the owned components.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Raises EComponentError when NewName is taken by another component owned here.
  virtual void ValidateRename(TComponent* AComponent, StringView CurName, StringView NewName) const;
  // Marks csUpdating on this component and its owned components (and clears it).
  void Updating();
  void Updated();

  TComponentState FComponentState;

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void AddFreeNotify(TComponent* AComponent);
  void RemoveFreeNotify(TComponent* AComponent);
  bool Owns(const TComponent* AComponent) const;

  TComponent* FOwner = nullptr;
  String FName;
  NativeInt FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};
