#include "foundation/svg/AdvScaledBitmaps.h"

TAdvScaledBitmap::TAdvScaledBitmap(TCollection* Collection)
    : TCollectionItem(Collection), FBitmap(std::make_unique<TAdvBitmap>()) {
  FBitmap->OnChange = [this](TObject*) { Changed(false); };
}

TAdvScaledBitmap::~TAdvScaledBitmap() = default;

void TAdvScaledBitmap::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TAdvScaledBitmap*>(Source);
  if (!src) return;
  TNotifyEvent keep = std::move(FBitmap->OnChange);
  FBitmap->OnChange = nullptr;
  FBitmap->Assign(src->FBitmap.get());
  FBitmap->OnChange = std::move(keep);
  FBitmapName = src->FBitmapName;
  FScale = src->FScale;
}

void TAdvScaledBitmap::SetBitmap(TAdvBitmap* Value) {
  if (Value == FBitmap.get()) return;
  FBitmap->Assign(Value);
  Changed(false);
}

void TAdvScaledBitmap::SetBitmapName(const String& Value) {
  if (Value == FBitmapName) return;
  FBitmapName = Value;
  Changed(false);
}

void TAdvScaledBitmap::SetScale(Single Value) {
  if (Value == FScale) return;
  FScale = Value;
  Changed(false);
}

TAdvScaledBitmaps::TAdvScaledBitmaps(TPersistent* AOwner)
    : TOwnedCollection(AOwner, TCollectionItemClass::Of<TAdvScaledBitmap>()) {}

TAdvScaledBitmap* TAdvScaledBitmaps::Add(Single Scale) {
  auto* item = static_cast<TAdvScaledBitmap*>(TCollection::Add());
  item->SetScale(Scale);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmap(TAdvBitmap* Bitmap, Single Scale) {
  TAdvScaledBitmap* item = Add(Scale);
  item->Bitmap()->Assign(Bitmap);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddDrawBitmap(TGraphic* Bitmap, Single Scale) {
  TAdvScaledBitmap* item = Add(Scale);
  item->Bitmap()->Assign(Bitmap);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmapFromFile(const String& FileName, Single Scale) {
  TAdvScaledBitmap* item = Add(Scale);
  item->Bitmap()->LoadFromFile(FileName);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmapFromResource(const String& ResourceName, Single Scale) {
  TAdvScaledBitmap* item = Add(Scale);
  LoadBitmapFromResource(item->Bitmap(), ResourceName);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmapFromResource(const String& ResourceName, HINSTANCE AInstance,
                                                           Single Scale) {
  TAdvScaledBitmap* item = Add(Scale);
  LoadBitmapFromResource(item->Bitmap(), ResourceName, AInstance);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmapName(const String& BitmapName, Single Scale) {
  TAdvScaledBitmap* item = Add(Scale);
  item->SetBitmapName(BitmapName);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::Insert(Integer Index) {
  return static_cast<TAdvScaledBitmap*>(TCollection::Insert(Index));
}

TAdvScaledBitmap* TAdvScaledBitmaps::Insert(Integer Index, Single Scale) {
  TAdvScaledBitmap* item = Insert(Index);
  item->SetScale(Scale);
  return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::GetItemByScale(Single Scale) const {
  Single best = 0;
  TAdvScaledBitmap* candidate = nullptr;
  for (Integer i = 0; i < Count(); ++i) {
    TAdvScaledBitmap* item = Items(i);
    if (item->Scale() == Scale) return item;
    if (item->Scale() > best) {
      best = item->Scale();
      candidate = item;
    }
  }
  return candidate;
}

TAdvBitmap* TAdvScaledBitmaps::GetBitmapByScale(Single Scale) const {
  TAdvScaledBitmap* item = GetItemByScale(Scale);
  return item ? item->Bitmap() : nullptr;
}

void TAdvScaledBitmaps::SetBitmap(Single Scale, TAdvBitmap* Value) {
  TAdvScaledBitmap* item = GetItemByScale(Scale);
  if (!item) item = Add(Scale);
  item->SetBitmap(Value);
}

void TAdvScaledBitmaps::Update(TCollectionItem* Item) {
  TOwnedCollection::Update(Item);
  if (OnChange) OnChange(this);
}
