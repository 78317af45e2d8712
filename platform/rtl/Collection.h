#pragma once
// TCollection and TCollectionItem: an ordered, owning list of items of one
// class. Items know their collection, their index and a unique ID; changes
// reach the collection's Update, once per BeginUpdate/EndUpdate batch.
#include <typeindex>
#include <vector>

#include "platform/rtl/Persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  // Joins Collection (may be nullptr), at its end.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to the end of Value (nullptr: the item belongs to no
  // collection and its owner must destroy it).
  virtual void SetCollection(TCollection* Value);
  TPersistent* GetOwner() const override;

  // Unique within its collection: the collection's NextID when the item joined it.
  Integer ID() const { return FID; }
  // Position in the collection, -1 outside one.
  Integer Index() const;
  // Moves the item to Value; a bad index raises EListError "List index out of bounds (<index>)".
  virtual void SetIndex(Integer Value);

  // The name shown for the item; the class name unless a descendant says otherwise.
  virtual String GetDisplayName() const;
  String DisplayName() const { return GetDisplayName(); }
  virtual void SetDisplayName(const String& Value);

 protected:
  // Tells the collection (outside a batch) that this item, or with AllItems every item, changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

// The class of a collection's items: how to make one inside a collection.
struct TCollectionItemClass {
  std::type_index Type = typeid(TCollectionItem);
  TCollectionItem* (*Create)(TCollection* Collection) = nullptr;

  template <class TItem>
  static TCollectionItemClass Of() {
    static_assert(std::is_base_of_v<TCollectionItem, TItem>, "items descend from TCollectionItem");
    return {typeid(TItem), [](TCollection* c) -> TCollectionItem* { return new TItem(c); }};
  }
};

class TCollection : public TPersistent {
 public:
  explicit TCollection(TCollectionItemClass ItemClass);
  // Destroys the items without calling Update.
  ~TCollection() override;

  TCollectionItemClass ItemClass() const { return FItemClass; }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // The item at Index; a bad index raises EListError "List index out of bounds (<index>)".
  TCollectionItem* Items(Integer Index) const;
  // Copies Value into the item at Index (Assign).
  void SetItems(Integer Index, TCollectionItem* Value);

  // A new item of the item class at the end.
  TCollectionItem* Add();
  // A new item at Index (0..Count); a bad index raises EListError and adds nothing.
  TCollectionItem* Insert(Integer Index);
  // Destroys the item at Index.
  void Delete(Integer Index);
  // Destroys every item, with one Update at the end.
  void Clear();
  // The item whose ID is ID, nullptr when none.
  TCollectionItem* FindItemID(Integer ID) const;
  Integer NextID() const { return FNextID; }

  // Batches changes: Update runs once when the outermost EndUpdate is reached.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  // The owner given to an owned collection, nullptr otherwise.
  TPersistent* Owner() const { return GetOwner(); }

  // From another collection: clears this one and adds a copy of every item
  // (each copied by its own Assign), in one batch. Anything else as TPersistent.
  void Assign(TPersistent* Source) override;

 protected:
  // Called with the item that changed, or nullptr when the collection as a whole did.
  virtual void Update(TCollectionItem* Item);
  // Update(nullptr) unless a batch is open.
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void MoveItem(Integer CurIndex, Integer NewIndex);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
};

// A collection with an owner, e.g. the component that publishes it.
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
