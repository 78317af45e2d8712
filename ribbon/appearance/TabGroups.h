#pragma once
// The pager's tab groups: runs of adjacent tabs drawn with a common caption
// and colours. An item's changes reach the collection's OnChange.
#include <memory>

#include "platform/rtl/Collection.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/StdCtrls.h"
#include "ribbon/appearance/GroupAppearance.h"

namespace ribbon {

// What a tab group asks of the pager that owns the collection: the group
// appearance of the styler the pager draws with (nullptr when none). The
// pager implements it.
class ITabGroupsHost {
 public:
  virtual TGroupAppearance* CurrentStylerGroupAppearance() = 0;

 protected:
  ~ITabGroupsHost() = default;
};

class TTabGroupItem : public TCollectionItem {
 public:
  // Sets Caption, ImageIndex and the two tab indexes through the setters (the
  // collection hears of it while the item is made).
  explicit TTabGroupItem(TCollection* Collection);
  // Tells the collection first.
  ~TTabGroupItem() override;
  // From a TTabGroupItem: Caption, ImageIndex and the tab indexes through
  // their setters, Tag and the object reference directly. Another class
  // raises the inherited assignment error.
  void Assign(TPersistent* Source) override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  bool DefaultAppearance() const { return FDefaultAppearance; }
  void SetDefaultAppearance(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { SetInt(FImageIndex, Value); }
  Integer TabIndexStart() const { return FTabIndexStart; }
  void SetTabIndexStart(Integer Value) { SetInt(FTabIndexStart, Value); }
  Integer TabIndexEnd() const { return FTabIndexEnd; }
  void SetTabIndexEnd(Integer Value) { SetInt(FTabIndexEnd, Value); }
  const String& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const String& Value);
  TGroupAppearance* GroupAppearance() const { return FGroupAppearance.get(); }
  void SetGroupAppearance(TGroupAppearance* Value) { FGroupAppearance->Assign(Value); }
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  TObject* ItemObject() const { return FItemObject; }
  void SetItemObject(TObject* Value) { FItemObject = Value; }
  // Working values of the pager's tab layout.
  Integer TabExtraXMargin = 0;
  Integer TabCurrentExtraXMargin = 0;

  // Gives the group one colour (DefaultAppearance off, the styler's group
  // appearance copied first when the pager has one).
  void SetCustomColor(TColor Value);

 private:
  void Notify();
  void SetInt(Integer& Field, Integer Value);
  String FCaption;
  Integer FImageIndex = -1;
  Integer FTabIndexStart = -1, FTabIndexEnd = -1;
  String FWideCaption;
  bool FDefaultAppearance = true;
  std::unique_ptr<TGroupAppearance> FGroupAppearance;
  TAlignment FCaptionAlignment = taLeftJustify;
  TObject* FItemObject = nullptr;
  Integer FTag = 0;
};

class TTabGroups : public TOwnedCollection {
 public:
  // AOwner is the pager (may be nullptr); when it implements ITabGroupsHost
  // the groups take its styler's colours in SetCustomColor.
  explicit TTabGroups(TPersistent* AOwner);
  TTabGroupItem* Add() { return static_cast<TTabGroupItem*>(TCollection::Add()); }
  TTabGroupItem* Insert(Integer Index) { return static_cast<TTabGroupItem*>(TCollection::Insert(Index)); }
  TTabGroupItem* Items(Integer Index) const { return static_cast<TTabGroupItem*>(TCollection::Items(Index)); }
  void SetItems(Integer Index, TTabGroupItem* Value) { TCollection::SetItems(Index, Value); }

  TNotifyEvent OnChange;
};

}  // namespace ribbon
