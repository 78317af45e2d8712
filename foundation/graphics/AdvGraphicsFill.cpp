#include "foundation/graphics/AdvGraphicsFill.h"

#include "foundation/graphics/AdvGraphicsStroke.h"
#include "foundation/svg/AdvBitmap.h"

// --- gradient stops ----------------------------------------------------------

TAdvGraphicsFillGradientItem::TAdvGraphicsFillGradientItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TAdvGraphicsFillGradientItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TAdvGraphicsFillGradientItem*>(Source)) {
    FColor = item->FColor;
    FOpacity = item->FOpacity;
    FPosition = item->FPosition;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TAdvGraphicsFillGradientItem::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed(false);
}

void TAdvGraphicsFillGradientItem::SetPosition(Single Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  Changed(false);
}

void TAdvGraphicsFillGradientItem::SetOpacity(Single Value) {
  if (FOpacity == Value) return;
  FOpacity = Value;
  Changed(false);
}

TAdvGraphicsFillGradientItems::TAdvGraphicsFillGradientItems(TAdvCustomGraphicsFill* AOwner)
    : TOwnedCollection(AOwner, TCollectionItemClass::Of<TAdvGraphicsFillGradientItem>()), FOwner(AOwner) {}

TAdvGraphicsFillGradientItem* TAdvGraphicsFillGradientItems::GetItem(Integer AIndex) const {
  return static_cast<TAdvGraphicsFillGradientItem*>(Items(AIndex));
}

TAdvGraphicsFillGradientItem* TAdvGraphicsFillGradientItems::Add() {
  return static_cast<TAdvGraphicsFillGradientItem*>(TCollection::Add());
}

TAdvGraphicsFillGradientItem* TAdvGraphicsFillGradientItems::Insert(Integer AIndex) {
  return static_cast<TAdvGraphicsFillGradientItem*>(TCollection::Insert(AIndex));
}

void TAdvGraphicsFillGradientItems::Update(TCollectionItem*) {
  // Adding, moving and deleting stops change the gradient as much as editing
  // one does, so both reach the fill.
  if (FOwner) FOwner->DoChanged();
}

// --- fill ----------------------------------------------------------------------

TAdvCustomGraphicsFill::TAdvCustomGraphicsFill(TAdvGraphicsFillKind AKind, TColor AColor, TColor AColorTo,
                                               TColor AColorMirror, TColor AColorMirrorTo)
    : GradientMatrix(TAdvGraphicsMatrix::Identity()),
      FKind(AKind),
      FDefaultKind(AKind),
      FColor(AColor),
      FDefaultColor(AColor),
      FColorTo(AColorTo),
      FColorMirror(AColorMirror),
      FColorMirrorTo(AColorMirrorTo),
      FDefaultColorTo(AColorTo),
      FDefaultColorMirror(AColorMirror),
      FDefaultColorMirrorTo(AColorMirrorTo),
      FTexture(std::make_unique<TAdvBitmap>()),
      FGradientItems(std::make_unique<TAdvGraphicsFillGradientItems>(this)) {
  FTexture->OnChange = [this](TObject*) { DoChanged(); };
}

TAdvCustomGraphicsFill::~TAdvCustomGraphicsFill() {
  OnChanged = nullptr;
  FTexture->OnChange = nullptr;
}

void TAdvCustomGraphicsFill::Assign(TPersistent* Source) {
  // One notification for the whole copy, however many parts change.
  ++FUpdateCount;
  if (auto* fill = dynamic_cast<TAdvCustomGraphicsFill*>(Source)) {
    if (fill != this) {
      FColor = fill->FColor;
      FColorTo = fill->FColorTo;
      FColorMirror = fill->FColorMirror;
      FColorMirrorTo = fill->FColorMirrorTo;
      FKind = fill->FKind;
      FOrientation = fill->FOrientation;
      FOpacity = fill->FOpacity;
      FTexture->Assign(fill->FTexture.get());
      FTextureMode = fill->FTextureMode;
      FGradientMode = fill->FGradientMode;
      FGradientAngle = fill->FGradientAngle;
      FGradientCenterPoint = fill->FGradientCenterPoint;
      FGradientItems->Assign(fill->FGradientItems.get());
      FGradientType = fill->FGradientType;
      FGradientCenterColor = fill->FGradientCenterColor;
    }
  } else if (auto* stroke = dynamic_cast<TAdvCustomGraphicsStroke*>(Source)) {
    FColor = stroke->Color();
    FColorTo = gcNull;
    FColorMirror = gcNull;
    FColorMirrorTo = gcNull;
    FKind = gfkSolid;
    FOrientation = gfoVertical;
    FOpacity = 1;
  }
  EndUpdate();
}

void TAdvCustomGraphicsFill::BeginUpdate() { ++FUpdateCount; }

void TAdvCustomGraphicsFill::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  DoChanged();
}

void TAdvCustomGraphicsFill::ClearGradientItems() { FGradientItems->Clear(); }

TAdvGraphicsFillGradientItem* TAdvCustomGraphicsFill::AddGradientItem(TColor AColor, Single APosition,
                                                                      Single AOpacity) {
  BeginUpdate();
  TAdvGraphicsFillGradientItem* item = FGradientItems->Add();
  item->SetColor(AColor);
  item->SetPosition(APosition);
  item->SetOpacity(AOpacity);
  EndUpdate();
  return item;
}

void TAdvCustomGraphicsFill::StoreColor(TColor& AField, TColor AValue) { Store(AField, NormalizeGraphicsColor(AValue)); }

void TAdvCustomGraphicsFill::SetKind(TAdvGraphicsFillKind Value) { Store(FKind, Value); }
void TAdvCustomGraphicsFill::SetOrientation(TAdvGraphicsFillOrientation Value) { Store(FOrientation, Value); }
void TAdvCustomGraphicsFill::SetColor(TColor Value) { StoreColor(FColor, Value); }
void TAdvCustomGraphicsFill::SetColorTo(TColor Value) { StoreColor(FColorTo, Value); }
void TAdvCustomGraphicsFill::SetColorMirror(TColor Value) { StoreColor(FColorMirror, Value); }
void TAdvCustomGraphicsFill::SetColorMirrorTo(TColor Value) { StoreColor(FColorMirrorTo, Value); }
void TAdvCustomGraphicsFill::SetOpacity(Single Value) { Store(FOpacity, Value); }
void TAdvCustomGraphicsFill::SetTextureMode(TAdvGraphicsTextureMode Value) { Store(FTextureMode, Value); }
void TAdvCustomGraphicsFill::SetGradientMode(TAdvGraphicsFillGradientMode Value) { Store(FGradientMode, Value); }
void TAdvCustomGraphicsFill::SetGradientType(TAdvGraphicsFillGradientType Value) { Store(FGradientType, Value); }
void TAdvCustomGraphicsFill::SetGradientAngle(Single Value) { Store(FGradientAngle, Value); }
void TAdvCustomGraphicsFill::SetGradientCenterColor(TColor Value) { Store(FGradientCenterColor, Value); }

void TAdvCustomGraphicsFill::SetGradientCenterPoint(const TPointF& Value) {
  FGradientCenterPoint = Value;
  DoChanged();
}

void TAdvCustomGraphicsFill::SetTexture(TAdvBitmap* AValue) {
  if (AValue == FTexture.get()) return;
  FTexture->Assign(AValue);
  DoChanged();
}

void TAdvCustomGraphicsFill::SetGradientItems(TAdvGraphicsFillGradientItems* Value) {
  if (Value != FGradientItems.get()) FGradientItems->Assign(Value);
}

void TAdvCustomGraphicsFill::DoChanged() {
  if (OnChanged && FUpdateCount == 0) OnChanged(this);
}
