#pragma once
// TAdvScaledBitmaps: bitmaps for several display scales, looked up by scale.
#include "foundation/svg/AdvBitmap.h"
#include "platform/rtl/Collection.h"

class TAdvScaledBitmap : public TCollectionItem {
 public:
  explicit TAdvScaledBitmap(TCollection* Collection);
  ~TAdvScaledBitmap() override;
  // From another TAdvScaledBitmap: bitmap, name and scale, without notification.
  void Assign(TPersistent* Source) override;

  TAdvBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TAdvBitmap* Value);
  const String& BitmapName() const { return FBitmapName; }
  void SetBitmapName(const String& Value);
  Single Scale() const { return FScale; }
  void SetScale(Single Value);

 private:
  std::unique_ptr<TAdvBitmap> FBitmap;
  Single FScale = 1.0f;
  String FBitmapName;
};

class TAdvScaledBitmaps : public TOwnedCollection {
 public:
  explicit TAdvScaledBitmaps(TPersistent* AOwner);

  TAdvScaledBitmap* Items(Integer Index) const { return static_cast<TAdvScaledBitmap*>(TCollection::Items(Index)); }
  TAdvScaledBitmap* Add(Single Scale);
  TAdvScaledBitmap* AddBitmap(TAdvBitmap* Bitmap, Single Scale);
  TAdvScaledBitmap* AddDrawBitmap(TGraphic* Bitmap, Single Scale);
  // Load errors pass on (the item stays, empty).
  TAdvScaledBitmap* AddBitmapFromFile(const String& FileName, Single Scale);
  TAdvScaledBitmap* AddBitmapFromResource(const String& ResourceName, Single Scale);
  TAdvScaledBitmap* AddBitmapFromResource(const String& ResourceName, HINSTANCE AInstance, Single Scale);
  TAdvScaledBitmap* AddBitmapName(const String& BitmapName, Single Scale);
  TAdvScaledBitmap* Insert(Integer Index);
  TAdvScaledBitmap* Insert(Integer Index, Single Scale);
  // The item of exactly that scale, else the one with the largest positive
  // scale (the first of equals); nullptr when none.
  TAdvScaledBitmap* GetItemByScale(Single Scale) const;
  TAdvBitmap* GetBitmapByScale(Single Scale) const;
  TAdvBitmap* Bitmap(Single Scale) const { return GetBitmapByScale(Scale); }
  // Assigns into the item GetItemByScale finds, or into a new item of that scale.
  void SetBitmap(Single Scale, TAdvBitmap* Value);

  TNotifyEvent OnChange;

 protected:
  void Update(TCollectionItem* Item) override;
};
