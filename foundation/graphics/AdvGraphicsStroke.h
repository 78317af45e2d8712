#pragma once
// TAdvGraphicsStroke: how the vector canvas strokes outlines (kind, colour,
// width, opacity), with update brackets and an OnChanged event.
#include "foundation/graphics/AdvGraphicsTypes.h"
#include "platform/rtl/Persistent.h"

// clNone becomes the null colour -1 and clDefault becomes clBtnFace; other
// colours pass unchanged (the fill and the stroke store colours so).
TColor NormalizeGraphicsColor(TColor AColor);

class TAdvCustomGraphicsStroke : public TPersistent {
 public:
  TAdvCustomGraphicsStroke(TAdvGraphicsStrokeKind AKind = gskSolid, TColor AColor = clSilver);

  // From a stroke: colour, kind, opacity and width; from a fill: its colour,
  // solid, opacity and width 1; anything else copies nothing. One OnChanged.
  void Assign(TPersistent* Source) override;
  virtual void BeginUpdate();
  // Raises OnChanged once when the outermost bracket closes.
  virtual void EndUpdate();

  TAdvGraphicsStrokeKind Kind() const { return FKind; }
  void SetKind(TAdvGraphicsStrokeKind Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Single Width() const { return FWidth; }
  void SetWidth(Single Value);
  Single Opacity() const { return FOpacity; }
  void SetOpacity(Single Value);

  // Whether the form streaming writes each property.
  bool IsKindStored() const { return FKind != FDefaultKind; }
  bool IsColorStored() const { return FColor != FDefaultColor; }
  bool IsWidthStored() const { return FWidth != 1; }
  bool IsOpacityStored() const { return FOpacity != 1; }

  TNotifyEvent OnChanged;

 protected:
  void DoChanged();

 private:
  Integer FUpdateCount = 0;
  TAdvGraphicsStrokeKind FKind;
  TColor FColor;
  Single FWidth = 1;
  Single FOpacity = 1;
  TAdvGraphicsStrokeKind FDefaultKind;
  TColor FDefaultColor;
};

class TAdvGraphicsStroke : public TAdvCustomGraphicsStroke {
 public:
  using TAdvCustomGraphicsStroke::TAdvCustomGraphicsStroke;
};
