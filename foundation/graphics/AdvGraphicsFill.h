#pragma once
// TAdvGraphicsFill: how the vector canvas fills areas (none, solid, two- or
// four-colour gradient, gradient stops, texture), with its gradient stops
// and an OnChanged event.
#include <memory>

#include "foundation/graphics/AdvGraphicsMatrix.h"
#include "foundation/graphics/AdvGraphicsTypes.h"
#include "platform/rtl/Collection.h"

class TAdvBitmap;
class TAdvCustomGraphicsFill;

// One gradient stop: white, at position 0, opaque when new.
class TAdvGraphicsFillGradientItem : public TCollectionItem {
 public:
  explicit TAdvGraphicsFillGradientItem(TCollection* Collection);
  // From another stop: colour, opacity and position; anything else as TPersistent.
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // 0..1 along the gradient.
  Single Position() const { return FPosition; }
  void SetPosition(Single Value);
  Single Opacity() const { return FOpacity; }
  void SetOpacity(Single Value);

  bool IsOpacityStored() const { return FOpacity != 1; }
  bool IsPositionStored() const { return FPosition != 0; }

 private:
  TColor FColor = clWhite;
  Single FPosition = 0;
  Single FOpacity = 1;
};

// The stops of a fill, in order. Every change of the list or of a stop
// notifies the owning fill.
class TAdvGraphicsFillGradientItems : public TOwnedCollection {
 public:
  explicit TAdvGraphicsFillGradientItems(TAdvCustomGraphicsFill* AOwner);

  // The stop at AIndex; a bad index raises EListError.
  TAdvGraphicsFillGradientItem* GetItem(Integer AIndex) const;
  TAdvGraphicsFillGradientItem* Add();
  // A new stop at AIndex (0..Count); a bad index raises EListError.
  TAdvGraphicsFillGradientItem* Insert(Integer AIndex);
  TAdvGraphicsFillGradientItem* GetItemEx(Integer AIndex) const { return GetItem(AIndex); }
  // Copies AValue into the stop at AIndex.
  void SetItemEx(Integer AIndex, TAdvGraphicsFillGradientItem* AValue) { SetItems(AIndex, AValue); }

  // Range-for over the stops.
  class TEnumerator {
   public:
    TEnumerator(const TAdvGraphicsFillGradientItems* ACol, Integer AIndex) : FCol(ACol), FIndex(AIndex) {}
    TAdvGraphicsFillGradientItem* operator*() const { return FCol->GetItem(FIndex); }
    TEnumerator& operator++() { ++FIndex; return *this; }
    bool operator!=(const TEnumerator& AOther) const { return FIndex != AOther.FIndex; }

   private:
    const TAdvGraphicsFillGradientItems* FCol;
    Integer FIndex;
  };
  TEnumerator begin() const { return {this, 0}; }
  TEnumerator end() const { return {this, Count()}; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TAdvCustomGraphicsFill* FOwner;
};

class TAdvCustomGraphicsFill : public TPersistent {
 public:
  TAdvCustomGraphicsFill(TAdvGraphicsFillKind AKind = gfkSolid, TColor AColor = clWhite, TColor AColorTo = clGray,
                         TColor AColorMirror = gcNull, TColor AColorMirrorTo = gcNull);
  ~TAdvCustomGraphicsFill() override;

  // From a fill: colours, kind, orientation, opacity, texture, texture mode,
  // gradient mode, angle, centre point, stops, type and centre colour (not
  // the gradient matrix or the defaults); from a stroke: solid in its colour
  // with no other colours, vertical, opaque; anything else copies nothing.
  // Always one OnChanged.
  void Assign(TPersistent* Source) override;
  virtual void BeginUpdate();
  // Raises OnChanged once when the outermost bracket closes.
  virtual void EndUpdate();
  virtual void ClearGradientItems();
  // Appends a stop with these values (one OnChanged); answers it.
  virtual TAdvGraphicsFillGradientItem* AddGradientItem(TColor AColor, Single APosition, Single AOpacity);

  TAdvGraphicsFillKind Kind() const { return FKind; }
  void SetKind(TAdvGraphicsFillKind Value);
  TAdvGraphicsFillOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TAdvGraphicsFillOrientation Value);
  TAdvGraphicsFillOrientation GradientOrientation() const { return FOrientation; }
  void SetGradientOrientation(TAdvGraphicsFillOrientation Value) { SetOrientation(Value); }
  // Colours: clNone is stored as -1, clDefault as clBtnFace.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  TColor ColorMirror() const { return FColorMirror; }
  void SetColorMirror(TColor Value);
  TColor ColorMirrorTo() const { return FColorMirrorTo; }
  void SetColorMirrorTo(TColor Value);
  Single Opacity() const { return FOpacity; }
  void SetOpacity(Single Value);
  TAdvBitmap* Texture() const { return FTexture.get(); }
  // Copies AValue into the owned texture (nothing for itself).
  void SetTexture(TAdvBitmap* AValue);
  TAdvGraphicsTextureMode TextureMode() const { return FTextureMode; }
  void SetTextureMode(TAdvGraphicsTextureMode Value);
  TAdvGraphicsFillGradientMode GradientMode() const { return FGradientMode; }
  void SetGradientMode(TAdvGraphicsFillGradientMode Value);
  TAdvGraphicsFillGradientItems* GradientItems() const { return FGradientItems.get(); }
  void SetGradientItems(TAdvGraphicsFillGradientItems* Value);
  TAdvGraphicsFillGradientType GradientType() const { return FGradientType; }
  void SetGradientType(TAdvGraphicsFillGradientType Value);
  // Degrees, for gfoCustom.
  Single GradientAngle() const { return FGradientAngle; }
  void SetGradientAngle(Single Value);
  TPointF GradientCenterPoint() const { return FGradientCenterPoint; }
  // Always notifies.
  void SetGradientCenterPoint(const TPointF& Value);
  TColor GradientCenterColor() const { return FGradientCenterColor; }
  void SetGradientCenterColor(TColor Value);
  // Extra transform of the gradient brush (plain field).
  TAdvGraphicsMatrix GradientMatrix;

  bool IsKindStored() const { return FKind != FDefaultKind; }
  bool IsColorStored() const { return FColor != FDefaultColor; }
  bool IsColorToStored() const { return FColorTo != FDefaultColorTo; }
  bool IsColorMirrorStored() const { return FColorMirror != FDefaultColorMirror; }
  bool IsColorMirrorToStored() const { return FColorMirrorTo != FDefaultColorMirrorTo; }
  bool IsOpacityStored() const { return FOpacity != 1; }
  bool IsGradientAngleStored() const { return FGradientAngle != 0; }

  TNotifyEvent OnChanged;

 protected:
  friend class TAdvGraphicsFillGradientItems;
  void DoChanged();

 private:
  void StoreColor(TColor& AField, TColor AValue);
  template <class T>
  void Store(T& AField, T AValue) {
    if (AField == AValue) return;
    AField = AValue;
    DoChanged();
  }

  Integer FUpdateCount = 0;
  TAdvGraphicsFillOrientation FOrientation = gfoVertical;
  TAdvGraphicsFillKind FKind;
  TAdvGraphicsFillKind FDefaultKind;
  TColor FColor, FDefaultColor;
  TColor FColorTo, FColorMirror, FColorMirrorTo;
  TColor FDefaultColorTo, FDefaultColorMirror, FDefaultColorMirrorTo;
  Single FOpacity = 1;
  std::unique_ptr<TAdvBitmap> FTexture;
  TAdvGraphicsTextureMode FTextureMode = gtmStretch;
  TAdvGraphicsFillGradientMode FGradientMode = gfgmDefault;
  std::unique_ptr<TAdvGraphicsFillGradientItems> FGradientItems;
  TAdvGraphicsFillGradientType FGradientType = gfgtLinear;
  Single FGradientAngle = 0;
  TPointF FGradientCenterPoint;
  TColor FGradientCenterColor = gcNull;
};

class TAdvGraphicsFill : public TAdvCustomGraphicsFill {
 public:
  using TAdvCustomGraphicsFill::TAdvCustomGraphicsFill;
};
