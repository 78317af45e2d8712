#pragma once
// The toolbar unit's small colour records: toolbar-button colours, a
// two-colour gradient, the mirrored face gradient, a gradient with a mirror,
// and the separator line of containers. They hold no window and draw
// nothing; the styler owns them, the ribbon's appearance classes hold
// gradients, and the toolbar painters read them.
//
// Setters either fire OnChange only when the value changes ("notifies") or
// every time (the gradient background); Assign copies without notifying,
// except TContainerAppearance, which copies through its setters.
#include <memory>

#include "platform/rtl/Persistent.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/GraphicsObjects.h"

namespace toolbar {

// A different type from the menus' enumeration of the same name (other order).
enum TGradientDirection { gdHorizontal, gdVertical };
enum TGlyphPosition { gpLeft, gpTop, gpRight, gpBottom };

class TButtonAppearance : public TPersistent {
 public:
  TButtonAppearance();
  ~TButtonAppearance() override;
  // From a TButtonAppearance: the colours, GradientDirection and the four
  // border colours, without OnChange (the other three directions, the font
  // and SystemFont stay). Any other source is ignored.
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor V) { SetValue(FColor, V); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor V) { SetValue(FColorTo, V); }
  TColor ColorChecked() const { return FColorChecked; }
  void SetColorChecked(TColor V) { SetValue(FColorChecked, V); }
  TColor ColorCheckedTo() const { return FColorCheckedTo; }
  void SetColorCheckedTo(TColor V) { SetValue(FColorCheckedTo, V); }
  TColor ColorDown() const { return FColorDown; }
  void SetColorDown(TColor V) { SetValue(FColorDown, V); }
  TColor ColorDownTo() const { return FColorDownTo; }
  void SetColorDownTo(TColor V) { SetValue(FColorDownTo, V); }
  TColor ColorHot() const { return FColorHot; }
  void SetColorHot(TColor V) { SetValue(FColorHot, V); }
  TColor ColorHotTo() const { return FColorHotTo; }
  void SetColorHotTo(TColor V) { SetValue(FColorHotTo, V); }
  TColor CaptionTextColor() const { return FCaptionTextColor; }
  void SetCaptionTextColor(TColor V) { SetValue(FCaptionTextColor, V); }
  TColor CaptionTextColorHot() const { return FCaptionTextColorHot; }
  void SetCaptionTextColorHot(TColor V) { SetValue(FCaptionTextColorHot, V); }
  TColor CaptionTextColorDown() const { return FCaptionTextColorDown; }
  void SetCaptionTextColorDown(TColor V) { SetValue(FCaptionTextColorDown, V); }
  TColor CaptionTextColorChecked() const { return FCaptionTextColorChecked; }
  void SetCaptionTextColorChecked(TColor V) { SetValue(FCaptionTextColorChecked, V); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection V);
  // The other three directions are stored without OnChange.
  TGradientDirection GradientDirectionHot() const { return FGradientDirectionHot; }
  void SetGradientDirectionHot(TGradientDirection V) { FGradientDirectionHot = V; }
  TGradientDirection GradientDirectionDown() const { return FGradientDirectionDown; }
  void SetGradientDirectionDown(TGradientDirection V) { FGradientDirectionDown = V; }
  TGradientDirection GradientDirectionChecked() const { return FGradientDirectionChecked; }
  void SetGradientDirectionChecked(TGradientDirection V) { FGradientDirectionChecked = V; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor V) { SetValue(FBorderColor, V); }
  // Plain field writes: no OnChange.
  TColor BorderDownColor() const { return FBorderDownColor; }
  void SetBorderDownColor(TColor V) { FBorderDownColor = V; }
  TColor BorderHotColor() const { return FBorderHotColor; }
  void SetBorderHotColor(TColor V) { FBorderHotColor = V; }
  TColor BorderCheckedColor() const { return FBorderCheckedColor; }
  void SetBorderCheckedColor(TColor V) { SetValue(FBorderCheckedColor, V); }
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  // Copies the font, then always fires OnChange.
  void SetCaptionFont(TFont* Value);
  bool SystemFont() const { return FSystemFont; }
  // On a change to true the caption font takes the default font again; no OnChange.
  void SetSystemFont(bool Value);
  TGlyphPosition GlyphPosition() const { return FGlyphPosition; }

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  void SetValue(TColor& Field, TColor Value);
  TColor FColorHot = 0xD2BDB6, FColorTo = clNone, FColor = clNone, FColorHotTo = clNone, FColorDownTo = clNone,
         FColorDown = 0xB59285, FBorderDownColor = 0x6A240A, FBorderColor = clNone, FBorderHotColor = 0x6A240A;
  TGradientDirection FGradientDirection = gdVertical;
  TColor FColorChecked = 0xD8D5D4, FColorCheckedTo = clNone, FCaptionTextColorChecked = 0, FCaptionTextColor = 0,
         FCaptionTextColorHot = 0, FCaptionTextColorDown = 0, FBorderCheckedColor = 0x6A240A;
  std::unique_ptr<TFont> FCaptionFont;
  TGlyphPosition FGlyphPosition = gpLeft;
  TGradientDirection FGradientDirectionDown = gdVertical, FGradientDirectionHot = gdVertical,
                     FGradientDirectionChecked = gdVertical;
  bool FSystemFont = true;
};

// Every setter stores and fires OnChange, also for an unchanged value.
class TGradientBackground : public TPersistent {
 public:
  TGradientBackground() = default;
  // From a TGradientBackground (or descendant): the four values, without
  // OnChange. Any other source is ignored.
  void Assign(TPersistent* Source) override;
  Integer Steps() const { return FSteps; }
  void SetSteps(Integer V);
  TColor Color() const { return FColor; }
  void SetColor(TColor V);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor V);
  TGradientDirection Direction() const { return FDirection; }
  void SetDirection(TGradientDirection V);

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  Integer FSteps = 64;
  TColor FColor = 0xFFFFFF;
  TColor FColorTo = clBtnFace;
  TGradientDirection FDirection = gdHorizontal;
};

class TMirrorGradient : public TPersistent {
 public:
  TMirrorGradient() = default;
  // From a TMirrorGradient: the four colours, without OnChange. Another class
  // raises the inherited assignment error.
  void Assign(TPersistent* Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor V) { SetValue(FColor, V); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor V) { SetValue(FColorTo, V); }
  TColor ColorMirror() const { return FColorMirror; }
  void SetColorMirror(TColor V) { SetValue(FColorMirror, V); }
  TColor ColorMirrorTo() const { return FColorMirrorTo; }
  void SetColorMirrorTo(TColor V) { SetValue(FColorMirrorTo, V); }

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  void SetValue(TColor& Field, TColor Value);
  TColor FColorTo = clBtnFace;
  TColor FColor = 0xFFFFFF;
  TColor FColorMirrorTo = 0xFFF4E3;
  TColor FColorMirror = 0xEDD9C8;
};

// A gradient with a mirror part. The mirror's changes are forwarded to this
// record's OnChange, so an owner that listens here hears of them too.
class TVistaGradientBackground : public TGradientBackground {
 public:
  TVistaGradientBackground();
  ~TVistaGradientBackground() override;
  // The gradient copy; from a TVistaGradientBackground also the mirror.
  void Assign(TPersistent* Source) override;
  TMirrorGradient* Mirror() const { return FMirror.get(); }
  void SetMirror(TMirrorGradient* Value) { FMirror->Assign(Value); }

 private:
  std::unique_ptr<TMirrorGradient> FMirror;
};

class TContainerAppearance : public TPersistent {
 public:
  TContainerAppearance() = default;
  // nullptr: nothing. A TContainerAppearance: through the setters (OnChange
  // per changed value). Another class raises the inherited assignment error.
  void Assign(TPersistent* Source) override;
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor V);
  bool Line3D() const { return FLine3D; }
  void SetLine3D(bool V);

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  bool FLine3D = true;
  TColor FLineColor = clBtnShadow;
};

}  // namespace toolbar
