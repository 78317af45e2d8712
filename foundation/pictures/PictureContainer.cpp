#include "foundation/pictures/PictureContainer.h"

#include <algorithm>

#include "platform/rtl/Object.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Controls.h"

namespace {

// Letter case folded for a-z only, as names are compared.
String AsciiUpper(const String& s) {
  String out = s;
  for (Char& c : out)
    if (c >= u'a' && c <= u'z') c = Char(c - u'a' + u'A');
  return out;
}

}  // namespace

// --- TPictureItem -------------------------------------------------------------

TPictureItem::TPictureItem(TCollection* Collection) : TCollectionItem(Collection), FPicture(CreatePicture()) {}

TPictureItem::~TPictureItem() = default;

std::unique_ptr<THTMLPicture> TPictureItem::CreatePicture() { return std::make_unique<THTMLPicture>(); }

void TPictureItem::Assign(TPersistent* Source) {
  auto* item = As<TPictureItem>(Source);
  if (!item) return;
  FName = item->FName;
  FTag = item->FTag;
  FPicture->Assign(item->FPicture.get());
}

TPictureContainer* TPictureItem::Container() const {
  return Collection() ? dynamic_cast<TPictureContainer*>(Collection()->Owner()) : nullptr;
}

TPicture* TPictureItem::Bitmap() {
  TPictureContainer* container = Container();
  return container ? container->HandOut(FPicture.get()) : nullptr;
}

// --- TPictureCollection ---------------------------------------------------------

TPictureCollection::TPictureCollection(TPersistent* AOwner)
    : TOwnedCollection(AOwner, TCollectionItemClass::Of<TPictureItem>()) {}

bool TPictureCollection::Animate() {
  bool changed = false;
  for (Integer i = 0; i < Count(); ++i)
    if (GetItem(i)->Picture()->Step()) changed = true;
  return changed;
}

// --- TPictureContainer -----------------------------------------------------------

TPictureContainer::TPictureContainer(TComponent* AOwner) : TComponent(AOwner) { FItems = CreateItems(); }

TPictureContainer::~TPictureContainer() {
  FPicture.reset();
  for (TControl* control : FControls) RemoveFreeNotification(control);
  FControls.clear();
  FItems.reset();
}

std::unique_ptr<TPictureCollection> TPictureContainer::CreateItems() {
  return std::make_unique<TPictureCollection>(this);
}

void TPictureContainer::SetItems(TPictureCollection* Value) {
  if (Value == FItems.get()) return;
  if (Value) FItems->Assign(Value);
  else FItems->Clear();
}

Integer TPictureContainer::GetVersionNr() const { return 0x02010100; }

String TPictureContainer::Version() const {
  const Cardinal v = Cardinal(GetVersionNr());
  return IntToStr(v >> 24) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
         IntToStr(v & 0xFF);
}

THTMLPicture* TPictureContainer::FindPicture(const String& s) const {
  const String wanted = AsciiUpper(s);
  for (Integer i = 0; i < FItems->Count(); ++i)
    if (AsciiUpper(FItems->GetItem(i)->Name()) == wanted) return FItems->GetItem(i)->Picture();
  return nullptr;
}

TPicture* TPictureContainer::HandOut(THTMLPicture* Picture) {
  FPicture.reset();
  // The picture class is made for the copy by name, like the other graphics.
  TPicture::RegisterGraphicClass<THTMLPicture>();
  auto copy = std::make_unique<TPicture>();
  copy->Assign(Picture);
  FPicture = std::move(copy);
  return FPicture.get();
}

TPicture* TPictureContainer::FindBitmap(const String& s) {
  FPicture.reset();
  THTMLPicture* picture = FindPicture(s);
  return picture ? HandOut(picture) : nullptr;
}

void TPictureContainer::RegisterControl(TControl* AControl) {
  if (!AControl) return;
  FControls.push_back(AControl);
  // Without this a destroyed control would stay in the list.
  FreeNotification(AControl);
}

void TPictureContainer::ItemsChanged() {
  for (TControl* control : FControls) control->Invalidate();
  if (OnChange) OnChange(this);
}

void TPictureContainer::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove)
    std::erase_if(FControls, [&](TControl* c) { return static_cast<TComponent*>(c) == AComponent; });
  TComponent::Notification(AComponent, Operation);
}
