#include "ribbon/appearance/TabGroups.h"

#include "foundation/gdiplus/LookFlags.h"

namespace ribbon {

TTabGroupItem::TTabGroupItem(TCollection* Collection)
    : TCollectionItem(Collection), FGroupAppearance(std::make_unique<TGroupAppearance>()) {
  FGroupAppearance->OnChange = [this](TObject*) { Notify(); };
  // Made from zero through the setters, so the collection hears of the new item.
  FImageIndex = FTabIndexStart = FTabIndexEnd = 0;
  SetCaption(u"");
  SetCaptionAlignment(taLeftJustify);
  SetImageIndex(-1);
  SetTabIndexStart(-1);
  SetTabIndexEnd(-1);
}

TTabGroupItem::~TTabGroupItem() { Notify(); }

void TTabGroupItem::Notify() {
  if (auto* groups = dynamic_cast<TTabGroups*>(Collection()); groups != nullptr && groups->OnChange)
    groups->OnChange(groups);
}

void TTabGroupItem::SetInt(Integer& Field, Integer Value) {
  if (Field == Value) return;
  Field = Value;
  Notify();
}

void TTabGroupItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Notify();
}

void TTabGroupItem::SetCaptionAlignment(TAlignment Value) {
  if (FCaptionAlignment == Value) return;
  FCaptionAlignment = Value;
  Notify();
}

void TTabGroupItem::SetDefaultAppearance(bool Value) {
  if (FDefaultAppearance == Value) return;
  FDefaultAppearance = Value;
  Notify();
}

void TTabGroupItem::SetWideCaption(const String& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  Notify();
}

void TTabGroupItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TTabGroupItem*>(Source)) {
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    SetTabIndexStart(s->FTabIndexStart);
    SetTabIndexEnd(s->FTabIndexEnd);
    FTag = s->FTag;
    FItemObject = s->FItemObject;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TTabGroupItem::SetCustomColor(TColor Value) {
  SetDefaultAppearance(false);
  auto* groups = dynamic_cast<TTabGroups*>(Collection());
  if (auto* host = groups != nullptr ? dynamic_cast<ITabGroupsHost*>(groups->GetOwner()) : nullptr)
    if (TGroupAppearance* styler = host->CurrentStylerGroupAppearance()) FGroupAppearance->Assign(styler);
  FGroupAppearance->SetBorderColor(Value);
  if (gdiplus::GetScenicRibbonFlag()) {
    FGroupAppearance->SetColor(Value);
    FGroupAppearance->SetColorTo(Value);
    FGroupAppearance->SetColorMirror(Value);
  }
  FGroupAppearance->SetColorMirrorTo(Value);
  TCustomTabAppearance* tab = FGroupAppearance->TabAppearance();
  tab->SetBorderColorSelectedHot(Value);
  tab->SetBorderColorDown(Value);
  tab->SetBorderColorSelected(Value);
  tab->SetBorderColorHot(Value);
}

TTabGroups::TTabGroups(TPersistent* AOwner)
    : TOwnedCollection(AOwner, TCollectionItemClass::Of<TTabGroupItem>()) {}

}  // namespace ribbon
