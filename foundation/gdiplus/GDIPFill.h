#pragma once
// TGDIPFill: how an area is painted (gradient, hatch, picture or radial
// fill, mirrored lower half, opacities, rounding, border, shadow, glow,
// focus outline, background and foreground pictures) and the painting
// itself; with an INI-style settings file.
#include <memory>

#include "foundation/gdiplus/FillShapes.h"
#include "foundation/pictures/ZovIVIDPicture.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/IniFiles.h"

namespace gdiplus {

enum TFillPictureMode : Integer { pmInsideFill, pmOutsideFill };
enum TFillPictureSize : Integer { psOriginal, psCustom };
enum TShadowType : Integer { stRightBottom, stBottom, stSurround };
enum TGlowMode : Integer { gmNone, gmGradient, gmRadial, gmRadialGradient };

class TGDIPFill : public TPersistent {
 public:
  TGDIPFill();
  ~TGDIPFill() override;

  // From another TGDIPFill: every published property (pictures by content),
  // then one change notification; other sources are ignored.
  void Assign(TPersistent* Source) override;

  // Paints R; each opacity argument of 255 takes the property instead.
  // Answers the area the fill occupies after the shadow is taken off;
  // without a graphics nothing is painted and R comes back.
  TGPRectF Fill(TGPGraphics* Graphics, const TGPRectF& R, Byte ABorderOpacity = 255, Byte AOpacity = 255,
                Byte AOpacityTo = 255, Byte AOpacityMirror = 255, Byte AOpacityMirrorTo = 255);
  // One half (Mirror: the lower) or the whole, without shadow, glow or pictures.
  void DrawGradientBackGround(TGPGraphics* Graphics, const TGPRectF& R, bool Mirror, Byte oc, Byte octo, Byte ocmr,
                              Byte ocmrto);
  // The glow over R; nothing for gmNone.
  void DrawGlow(TGPGraphics* Graphics, const TGPRectF& R);

  // Holds back OnChange; EndUpdate does not notify.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { if (FUpdateCount > 0) --FUpdateCount; }

  // The settings under Section; file errors pass on.
  void SaveToFile(const String& FileName, const String& Section);
  void SaveToFile(TCustomIniFile* ini, const String& Section);
  // Missing keys keep the current values. A picture text that is not
  // hexadecimal stops with EConvertError "No Hex-Number" (no notification).
  void LoadFromFile(const String& FileName, const String& Section);
  void LoadFromFile(TCustomIniFile* ini, const String& Section);

  // Copies the fill to the clipboard under "GDI+ Fill"; EOSError when the
  // clipboard cannot be opened or the data cannot be put there.
  void SaveToClipBoard();
  // Takes the fill from the clipboard; nothing when it holds no fill.
  // Damaged fill data raises EConvertError like a damaged settings file.
  void LoadFromClipBoard();

  // Property setters store and notify only when the value differs.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { Set(FColor, Value); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { Set(FColorTo, Value); }
  TColor ColorMirror() const { return FColorMirror; }
  void SetColorMirror(TColor Value) { Set(FColorMirror, Value); }
  TColor ColorMirrorTo() const { return FColorMirrorTo; }
  void SetColorMirrorTo(TColor Value) { Set(FColorMirrorTo, Value); }
  TAdvGradientType GradientType() const { return FGradientType; }
  void SetGradientType(TAdvGradientType Value) { Set(FGradientType, Value); }
  TAdvGradientType GradientMirrorType() const { return FGradientMirrorType; }
  void SetGradientMirrorType(TAdvGradientType Value) { Set(FGradientMirrorType, Value); }
  GpHatchStyle HatchStyle() const { return FHatchStyle; }
  void SetHatchStyle(GpHatchStyle Value) { Set(FHatchStyle, Value); }
  GpHatchStyle HatchStyleMirror() const { return FHatchStyleMirror; }
  void SetHatchStyleMirror(GpHatchStyle Value) { Set(FHatchStyleMirror, Value); }
  bool BackGroundPictureAspectRatio() const { return FBackGroundPictureAspectRatio; }
  void SetBackGroundPictureAspectRatio(bool Value) { Set(FBackGroundPictureAspectRatio, Value); }
  TFillPictureMode BackGroundPictureMode() const { return FBackGroundPictureMode; }
  void SetBackGroundPictureMode(TFillPictureMode Value) { Set(FBackGroundPictureMode, Value); }
  TFillPicturePosition BackGroundPicturePosition() const { return FBackGroundPicturePosition; }
  void SetBackGroundPicturePosition(TFillPicturePosition Value) { Set(FBackGroundPicturePosition, Value); }
  Integer BackGroundPictureLeft() const { return FBackGroundPictureLeft; }
  void SetBackGroundPictureLeft(Integer Value) { Set(FBackGroundPictureLeft, Value); }
  Integer BackGroundPictureTop() const { return FBackGroundPictureTop; }
  void SetBackGroundPictureTop(Integer Value) { Set(FBackGroundPictureTop, Value); }
  TPictureMode BackGroundPictureAspectMode() const { return FBackGroundPictureAspectMode; }
  void SetBackGroundPictureAspectMode(TPictureMode Value) { Set(FBackGroundPictureAspectMode, Value); }
  TFillPicturePosition PicturePosition() const { return FPicturePosition; }
  void SetPicturePosition(TFillPicturePosition Value) { Set(FPicturePosition, Value); }
  Integer PictureLeft() const { return FPictureLeft; }
  void SetPictureLeft(Integer Value) { Set(FPictureLeft, Value); }
  Integer PictureTop() const { return FPictureTop; }
  void SetPictureTop(Integer Value) { Set(FPictureTop, Value); }
  TFillPictureSize PictureSize() const { return FPictureSize; }
  void SetPictureSize(TFillPictureSize Value) { Set(FPictureSize, Value); }
  Integer PictureWidth() const { return FPictureWidth; }
  void SetPictureWidth(Integer Value) { Set(FPictureWidth, Value); }
  Integer PictureHeight() const { return FPictureHeight; }
  void SetPictureHeight(Integer Value) { Set(FPictureHeight, Value); }
  bool PictureAspectRatio() const { return FPictureAspectRatio; }
  void SetPictureAspectRatio(bool Value) { Set(FPictureAspectRatio, Value); }
  TPictureMode PictureAspectMode() const { return FPictureAspectMode; }
  void SetPictureAspectMode(TPictureMode Value) { Set(FPictureAspectMode, Value); }
  Byte Opacity() const { return FOpacity; }
  void SetOpacity(Byte Value) { Set(FOpacity, Value); }
  Byte OpacityTo() const { return FOpacityTo; }
  void SetOpacityTo(Byte Value) { Set(FOpacityTo, Value); }
  Byte OpacityMirror() const { return FOpacityMirror; }
  void SetOpacityMirror(Byte Value) { Set(FOpacityMirror, Value); }
  Byte OpacityMirrorTo() const { return FOpacityMirrorTo; }
  void SetOpacityMirrorTo(Byte Value) { Set(FOpacityMirrorTo, Value); }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { Set(FBorderColor, Value); }
  Byte BorderOpacity() const { return FBorderOpacity; }
  void SetBorderOpacity(Byte Value) { Set(FBorderOpacity, Value); }
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value) { Set(FBorderWidth, Value); }
  Integer Rounding() const { return FRounding; }
  void SetRounding(Integer Value) { Set(FRounding, Value); }
  TFillRoundingType RoundingType() const { return FRoundingType; }
  void SetRoundingType(TFillRoundingType Value) { Set(FRoundingType, Value); }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { Set(FShadowColor, Value); }
  Integer ShadowOffset() const { return FShadowOffset; }
  void SetShadowOffset(Integer Value) { Set(FShadowOffset, Value); }
  TShadowType ShadowType() const { return FShadowType; }
  void SetShadowType(TShadowType Value) { Set(FShadowType, Value); }
  Integer Angle() const { return FAngle; }
  void SetAngle(Integer Value) { Set(FAngle, Value); }
  TGlowMode Glow() const { return FGlow; }
  void SetGlow(TGlowMode Value) { Set(FGlow, Value); }
  TColor GlowGradientColor() const { return FGlowGradientColor; }
  void SetGlowGradientColor(TColor Value) { Set(FGlowGradientColor, Value); }
  TColor GlowRadialColor() const { return FGlowRadialColor; }
  void SetGlowRadialColor(TColor Value) { Set(FGlowRadialColor, Value); }
  bool Focus() const { return FFocus; }
  void SetFocus(bool Value) { Set(FFocus, Value); }
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor Value) { Set(FFocusColor, Value); }

  TZovIVIDPicture* BackGroundPicture() const { return FBackGroundPicture.get(); }
  // Assigns the given picture's content.
  void SetBackGroundPicture(TZovIVIDPicture* Value) { FBackGroundPicture->Assign(Value); }
  TZovIVIDPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TZovIVIDPicture* Value) { FPicture->Assign(Value); }
  // The area inside the border, as the last Fill computed it.
  const TGPRectF& FocusRect() const { return FFocusRect; }

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  template <class T>
  void Set(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void PlacePicture(TGPGraphics* Graphics, TZovIVIDPicture* Picture, const TGPRectF& F, Integer Width,
                    Integer Height, TFillPicturePosition Position, Integer Left, Integer Top, bool AspectRatio,
                    TPictureMode AspectMode);
  void PaintFill(TGPGraphics* Graphics, const TGPRectF& F, Byte o1, Byte o2, Byte om1, Byte om2);
  void PaintShadow(TGPGraphics* Graphics, TGPRectF& F);

  TColor FColor = 0xC0C0C0, FColorTo = 0x808080, FColorMirror = clNone, FColorMirrorTo = clNone;
  TAdvGradientType FGradientType = gtVertical, FGradientMirrorType = gtSolid;
  GpHatchStyle FHatchStyle = HatchStyleHorizontal, FHatchStyleMirror = HatchStyleHorizontal;
  bool FBackGroundPictureAspectRatio = false;
  TFillPictureMode FBackGroundPictureMode = pmOutsideFill;
  std::unique_ptr<TZovIVIDPicture> FBackGroundPicture;
  TFillPicturePosition FBackGroundPicturePosition = ppTopLeft;
  Integer FBackGroundPictureLeft = 0, FBackGroundPictureTop = 0;
  TPictureMode FBackGroundPictureAspectMode = pmStretch;
  std::unique_ptr<TZovIVIDPicture> FPicture;
  TFillPicturePosition FPicturePosition = ppTopLeft;
  Integer FPictureLeft = 0, FPictureTop = 0;
  TFillPictureSize FPictureSize = psOriginal;
  Integer FPictureWidth = 50, FPictureHeight = 50;
  bool FPictureAspectRatio = false;
  TPictureMode FPictureAspectMode = pmStretch;
  Byte FOpacity = 255, FOpacityTo = 255, FOpacityMirror = 255, FOpacityMirrorTo = 255;
  TColor FBorderColor = clNone;
  Byte FBorderOpacity = 255;
  Integer FBorderWidth = 1;
  Integer FRounding = 0;
  TFillRoundingType FRoundingType = rtBoth;
  TColor FShadowColor = 0x808080;
  Integer FShadowOffset = 0;
  TShadowType FShadowType = stRightBottom;
  Integer FAngle = 0;
  TGlowMode FGlow = gmNone;
  TColor FGlowGradientColor = 0xFFFFFF, FGlowRadialColor = 0xFFFFFF;
  bool FFocus = false;
  TColor FFocusColor = 0;
  TGPRectF FFocusRect{};
  Integer FUpdateCount = 0;
};

// The carrier of a fill on the clipboard: the published properties of
// SaveObject as self-describing text, a "[SaveObject]" section of
// "Name=value" lines (the fill's settings plus the settings the settings
// file leaves out).
class TSaver : public TComponent {
 public:
  explicit TSaver(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  TPersistent* SaveObject() const { return FSaveObject; }
  void SetSaveObject(TPersistent* Value) { FSaveObject = Value; }
  // SaveObject as text bytes (UTF-8); EAssertionFailed without a TGDIPFill.
  TBytes WriteObject() const;
  // The stored properties into SaveObject (missing ones keep their values);
  // EAssertionFailed without a TGDIPFill, EConvertError for a bad picture text.
  void ReadObject(const TBytes& Data) const;

 private:
  TPersistent* FSaveObject = nullptr;
};

// The clipboard format number of "GDI+ Fill"; 0 before the unit's start.
UINT GDIPFillClipboardFormat();
// Declares TGDIPFill, its picture class and enumerations to the type information.
void DeclareGDIPFillClass();
// The "GDI+ Fill" clipboard format and the type information of the fill.
void InitializeGDIPFillUnit();

}  // namespace gdiplus
