#pragma once
// TGDIPProgress: the look of a progress bar and its painting: a background
// fill, the filled part for a position between a minimum and a maximum, soft
// shadows at the ends, glossy overlays and an optional value text.
#include <functional>
#include <memory>

#include "foundation/gdiplus/GDIPFill.h"
#include "platform/vcl/GraphicsObjects.h"

namespace gdiplus {

enum TGDIPProgressValueType : Integer { vtPercentage, vtAbsolute };
enum TGDIPProgressValuePosition : Integer { vpProgressCenter, vpProgressRight, vpCenter, vpLeft, vpRight, vpCustom };
enum TGDIPProgressDirection : Integer { pbdHorizontal, pbdVertical };

// May replace the formatted value text.
using TGDIPProgressDrawValueEvent = std::function<void(TObject* Sender, const String& ValueFormat, String& ValueText)>;

class TGDIPProgress : public TPersistent {
 public:
  TGDIPProgress();
  ~TGDIPProgress() override;

  // From another TGDIPProgress: both fills, the value settings, Font and the
  // three switches (ProgressFont stays); other sources are ignored.
  void Assign(TPersistent* Source) override;

  // Paints the bar into r. A ValueFormat that does not fit one floating-point
  // argument raises EConvertError (after the fills are painted).
  void Draw(TGPGraphics* g, const TRect& r, Double min, Double max, Double position, TGDIPProgressDirection Direction,
            Single ADPIScale = 1.0f);
  // The area inside the background border.
  TGPRectF GetInsideRectF(const TRect& r) const;
  // The filled part; length 0 when max <= min or pos <= min, never past the bar.
  TGPRectF CalculateProgressRectangle(const TRect& r, Double min, Double max, Double pos,
                                      TGDIPProgressDirection Direction) const;
  // The value text Draw shows for a position (before OnDrawValue).
  String FormatValue(Double min, Double max, Double position) const;

  // Setters store and raise OnChange when the value differs; the fill and
  // font setters assign the given object into the owned one (nullptr: nothing).
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { Set(FTransparent, Value); }
  bool Shadows() const { return FShadows; }
  void SetShadows(bool Value) { Set(FShadows, Value); }
  bool Overlays() const { return FOverlays; }
  void SetOverlays(bool Value) { Set(FOverlays, Value); }
  TGDIPFill* BackGroundFill() const { return FBackGroundFill.get(); }
  void SetBackGroundFill(TGDIPFill* Value) { if (Value) FBackGroundFill->Assign(Value); }
  TGDIPFill* ProgressFill() const { return FProgressFill.get(); }
  void SetProgressFill(TGDIPFill* Value) { if (Value) FProgressFill->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { if (Value) FFont->Assign(Value); }
  TFont* ProgressFont() const { return FProgressFont.get(); }
  void SetProgressFont(TFont* Value) { if (Value) FProgressFont->Assign(Value); }
  const String& ValueFormat() const { return FValueFormat; }
  void SetValueFormat(const String& Value) { Set(FValueFormat, Value); }
  TGDIPProgressValueType ValueType() const { return FValueType; }
  void SetValueType(TGDIPProgressValueType Value) { Set(FValueType, Value); }
  TGDIPProgressValuePosition ValuePosition() const { return FValuePosition; }
  void SetValuePosition(TGDIPProgressValuePosition Value) { Set(FValuePosition, Value); }
  Integer ValuePositionLeft() const { return FValuePositionLeft; }
  void SetValuePositionLeft(Integer Value) { Set(FValuePositionLeft, Value); }
  Integer ValuePositionTop() const { return FValuePositionTop; }
  void SetValuePositionTop(Integer Value) { Set(FValuePositionTop, Value); }
  bool ValueVisible() const { return FValueVisible; }
  void SetValueVisible(bool Value) { Set(FValueVisible, Value); }

  TNotifyEvent OnChange;
  TGDIPProgressDrawValueEvent OnDrawValue;

 private:
  template <class T>
  void Set(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void Changed() { if (OnChange) OnChange(this); }
  TRect InsideRect(const TRect& r) const;
  void DrawShadows(TGPGraphics* g, const TGPRectF& Q, TGDIPProgressDirection Direction) const;
  void DrawOverlays(TGPGraphics* g, const TRect& r, TGDIPProgressDirection Direction) const;
  void DrawValue(TGPGraphics* g, const TRect& r, Double min, Double max, Double position,
                 TGDIPProgressDirection Direction, Single ADPIScale);

  bool FTransparent = false, FShadows = true, FOverlays = true;
  std::unique_ptr<TGDIPFill> FBackGroundFill, FProgressFill;
  std::unique_ptr<TFont> FFont, FProgressFont;
  String FValueFormat = u"%.0f%%";
  TGDIPProgressValueType FValueType = vtAbsolute;
  TGDIPProgressValuePosition FValuePosition = vpCenter;
  Integer FValuePositionLeft = 0, FValuePositionTop = 0;
  bool FValueVisible = false;
};

}  // namespace gdiplus
