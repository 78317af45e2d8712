#pragma once
// TPictureContainer: a non-visual component holding named pictures
// (TPictureItem in a TPictureCollection) that HTML text names by their Name.
#include <memory>
#include <vector>

#include "foundation/pictures/HTMLPicture.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/vcl/Graphic.h"

class TControl;
class TPictureContainer;

class TPictureItem : public TCollectionItem {
 public:
  explicit TPictureItem(TCollection* Collection);
  ~TPictureItem() override;

  // From another TPictureItem: Name, Tag and the picture. Another class
  // raises EInvalidCast "Invalid class typecast".
  void Assign(TPersistent* Source) override;

  THTMLPicture* Picture() const { return FPicture.get(); }
  // Assigns the given graphic into the owned picture.
  void SetPicture(TGraphic* Value) { FPicture->Assign(Value); }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt Value) { FTag = Value; }
  // A new TPicture holding a copy of the picture, owned by the container and
  // valid until the next Bitmap or FindBitmap call; nullptr outside a container.
  TPicture* Bitmap();
  // The collection's owner; nullptr outside a container.
  TPictureContainer* Container() const;

 protected:
  virtual std::unique_ptr<THTMLPicture> CreatePicture();

 private:
  std::unique_ptr<THTMLPicture> FPicture;
  NativeInt FTag = 0;
  String FName;
};

class TPictureCollection : public TOwnedCollection {
 public:
  explicit TPictureCollection(TPersistent* AOwner);
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
  // A bad index raises EListError and adds nothing.
  TPictureItem* Insert(Integer Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
  // A bad index raises EListError.
  TPictureItem* GetItem(Integer Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
  void SetItem(Integer Index, TPictureItem* Value) { TCollection::SetItems(Index, Value); }
  // Steps every item's picture in index order; true when any frame changed.
  bool Animate();

 protected:
  virtual TCollectionItemClass GetItemClass() { return TCollectionItemClass::Of<TPictureItem>(); }
};

class TPictureContainer : public TComponent {
 public:
  explicit TPictureContainer(TComponent* AOwner);
  ~TPictureContainer() override;

  TPictureCollection* Items() const { return FItems.get(); }
  // Copies the given collection's items (nullptr empties the list).
  void SetItems(TPictureCollection* Value);
  // "2.1.1.0"; writing is ignored.
  String Version() const;
  void SetVersion(const String&) {}
  virtual Integer GetVersionNr() const;

  // The picture of the first item whose name matches s, ASCII letter case
  // ignored; nullptr when none.
  virtual THTMLPicture* FindPicture(const String& s) const;
  // Frees the TPicture handed out before, then a new TPicture holding a copy
  // of the matching item's picture (owned here, valid until the next call);
  // nullptr when no item matches.
  virtual TPicture* FindBitmap(const String& s);
  // Remembers a control to repaint on ItemsChanged (duplicates allowed); it
  // is forgotten when it is destroyed.
  void RegisterControl(TControl* AControl);
  // Repaints the registered controls in order, then raises OnChange.
  virtual void ItemsChanged();

  TNotifyEvent OnChange;

 protected:
  virtual std::unique_ptr<TPictureCollection> CreateItems();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TPictureItem;
  // Replaces the handed-out TPicture with a copy of Picture.
  TPicture* HandOut(THTMLPicture* Picture);

  std::vector<TControl*> FControls;
  std::unique_ptr<TPicture> FPicture;
  std::unique_ptr<TPictureCollection> FItems;
};
