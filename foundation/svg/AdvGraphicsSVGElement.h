#pragma once
// TAdvGraphicsSVGElement: one element of a parsed SVG document, with its
// geometry (numbers, or paths for path data and point lists), its parsed
// presentation values and the references the document resolves after
// loading. Value texts keep "default" while the element does not specify
// the property itself.
#include <memory>
#include <utility>
#include <vector>

#include "foundation/graphics/AdvGraphicsMatrix.h"
#include "foundation/graphics/AdvGraphicsPath.h"
#include "foundation/svg/AdvBitmap.h"
#include "platform/vcl/GraphicsObjects.h"

enum TAdvGraphicsSVGElementType {
  etContainer, etSwitch, etDefs, etUse, etRect, etLine, etPolyline, etPolygon, etCircle, etEllipse, etPath,
  etImage, etText, etTextSpan, etTextSpanChild, etTextPath, etClipPath, etLinearGradient, etRadialGradient,
  etStyle, etStop, etPattern, etUnknown
};

enum TAdvGraphicsSVGElementPreserveAspectRatio { parNone, parOther };

class TAdvGraphicsSVGElement;
class TAdvGraphicsSVGImport;

// Owning list of elements.
using TAdvGraphicsSVGElementList = std::vector<std::unique_ptr<TAdvGraphicsSVGElement>>;
// Non-owning list of elements.
using TAdvGraphicsSVGElementClassList = std::vector<TAdvGraphicsSVGElement*>;
// Owning list of paths.
using TAdvGraphicsSVGElementPathList = std::vector<std::unique_ptr<TAdvGraphicsPath>>;

// The element kind of an element name (compared case-sensitively); etUnknown
// for any other name.
TAdvGraphicsSVGElementType SVGElementTypeOfName(StringView AName);

class TAdvGraphicsSVGElement : public TObject {
 public:
  TAdvGraphicsSVGElement();
  ~TAdvGraphicsSVGElement() override;

  const String& ID() const { return FID; }
  const String& ClassRefID() const { return FClassRefID; }
  // The paint server named by the fill's url reference.
  const String& URLRefID() const { return FURLRefID; }
  // The paint server named by the stroke's url reference (kept apart from the fill's).
  const String& StrokeURLRefID() const { return FStrokeURLRefID; }
  const String& HRefID() const { return FHRefID; }
  const String& ClipPathRefID() const { return FClipPathRefID; }
  // All paths joined, built on first request.
  TAdvGraphicsPath* CombinedPath();
  // The last path; nullptr when there is none.
  TAdvGraphicsPath* ActivePath() const;
  TAdvGraphicsSVGElementType Type() const { return FType; }
  void SetType(TAdvGraphicsSVGElementType Value) { FType = Value; }
  // Children and paths, created on first access.
  TAdvGraphicsSVGElementList& Elements();
  TAdvGraphicsSVGElementPathList& Paths();
  // The picture of an image element, created on first access.
  TAdvBitmap* Bitmap();

  Single Opacity() const { return FOpacity; }
  Single FillOpacity() const { return FFillOpacity; }
  Single StrokeOpacity() const { return FStrokeOpacity; }
  Single Offset() const { return FOffset; }
  TColor StopColor() const { return FStopColor; }
  Single StopOpacity() const { return FStopOpacity; }
  Single X() const { return FXV; }
  Single Y() const { return FYV; }
  Single Width() const { return FWidth; }
  Single Height() const { return FHeight; }
  Single Rx() const { return FRx; }
  Single Ry() const { return FRy; }
  Single CX() const { return FCX; }
  Single CY() const { return FCY; }
  const TAdvGraphicsMatrix& Matrix() const { return FMatrix; }
  const TAdvGraphicsMatrix& GradientMatrix() const { return FGradientMatrix; }
  Single StrokeWidth() const { return FStrokeWidth; }
  const String& DisplayValue() const { return FDisplayValue; }
  const String& FillColorValue() const { return FFillColorValue; }
  const String& StrokeColorValue() const { return FStrokeColorValue; }
  const String& StrokeWidthValue() const { return FStrokeWidthValue; }
  const String& OpacityValue() const { return FOpacityValue; }
  const String& FillOpacityValue() const { return FFillOpacityValue; }
  // "nonzero", "evenodd" or "default" (not specified here).
  const String& FillRuleValue() const { return FFillRuleValue; }
  const String& ClipRuleValue() const { return FClipRuleValue; }
  // A gradient's own geometry attribute as written (x1, cx, r, fx,
  // gradientUnits, spreadMethod, ...); nullptr when it does not set it.
  const String* GradientAttribute(StringView AName) const {
    for (const auto& a : FGradientAttributes)
      if (a.first == AName) return &a.second;
    return nullptr;
  }
  const String& StrokeOpacityValue() const { return FStrokeOpacityValue; }
  const String& OffsetValue() const { return FOffsetValue; }
  const String& StopColorValue() const { return FStopColorValue; }
  const String& StopOpacityValue() const { return FStopOpacityValue; }
  const String& FontSizeValue() const { return FFontSizeValue; }
  Single FontSize() const { return FFontSize; }
  const String& FontFamily() const { return FFontFamily; }
  TFontStyles FontStyle() const { return FFontStyle; }
  const String& Text() const { return FText; }
  TColor FillColor() const { return FFillColor; }
  TColor StrokeColor() const { return FStrokeColor; }
  // The alpha of an rgba() fill, stroke or stop colour (1 otherwise).
  Single FillColorAlpha() const { return FFillColorAlpha; }
  Single StrokeColorAlpha() const { return FStrokeColorAlpha; }
  Single StopColorAlpha() const { return FStopColorAlpha; }
  TAdvGraphicsSVGElement* Parent() const { return FParent; }
  TAdvGraphicsSVGElement* ClassRef() const { return FClassRef; }
  TAdvGraphicsSVGElement* ClipPathRef() const { return FClipPathRef; }
  // The resolved paint servers of the fill and the stroke; nullptr when unresolved.
  TAdvGraphicsSVGElement* PatternRef() const { return FPatternRef; }
  TAdvGraphicsSVGElement* StrokePatternRef() const { return FStrokePatternRef; }
  TAdvGraphicsSVGElement* HRefRef() const { return FHRefRef; }
  const String& PreserveAspectRatioValue() const { return FPreserveAspectRatioValue; }
  TAdvGraphicsSVGElementPreserveAspectRatio PreserveAspectRatio() const { return FPreserveAspectRatio; }
  bool HasCX() const { return FHasCX; }
  bool HasCY() const { return FHasCY; }

  // The value text is none of "none", "transparent", "default".
  bool HasFillColor() const;
  bool HasStrokeColor() const;
  bool HasStopColor() const;
  // The value text is not "default".
  bool HasStrokeWidth() const { return FStrokeWidthValue != u"default"; }
  bool HasOpacity() const { return FOpacityValue != u"default"; }
  bool HasFillOpacity() const { return FFillOpacityValue != u"default"; }
  bool HasStrokeOpacity() const { return FStrokeOpacityValue != u"default"; }
  bool HasOffset() const { return FOffsetValue != u"default"; }
  bool HasStopOpacity() const { return FStopOpacityValue != u"default"; }
  bool HasPreserveAspectRatio() const { return FPreserveAspectRatioValue != u"default"; }
  bool HasFontSize() const { return FFontSizeValue != u"default"; }
  bool HasElements() const { return FElements != nullptr; }
  bool HasPaths() const { return FPaths != nullptr; }
  bool HasBitmap() const { return FBitmap != nullptr; }
  bool HasActivePath() const { return ActivePath() != nullptr; }

 private:
  friend class TAdvGraphicsSVGImport;

  std::unique_ptr<TAdvBitmap> FBitmap;
  std::unique_ptr<TAdvGraphicsPath> FCombinedPath;
  std::unique_ptr<TAdvGraphicsSVGElementPathList> FPaths;
  std::unique_ptr<TAdvGraphicsSVGElementList> FElements;
  TAdvGraphicsSVGElementType FType = etContainer;
  Single FWidth = 0;
  Single FXV = 0;
  Single FYV = 0;
  Single FHeight = 0;
  Single FRx = 0, FRy = 0;
  TAdvGraphicsMatrix FMatrix;
  TColor FFillColor = 0, FStrokeColor = 0;
  String FFillColorValue = u"default", FStrokeColorValue = u"default";
  TAdvGraphicsSVGElement* FParent = nullptr;
  Single FStrokeWidth = 1;
  String FStrokeWidthValue = u"default", FOpacityValue = u"default", FOffsetValue = u"default";
  Single FOffset = 0;
  String FStopColorValue = u"default";
  TColor FStopColor = 0;
  String FStopOpacityValue = u"default";
  Single FStopOpacity = 1;
  Single FOpacity = 1;
  String FID;
  String FClassRefID;
  TAdvGraphicsSVGElement* FClassRef = nullptr;
  String FHRefID;
  String FURLRefID;
  TAdvGraphicsSVGElement* FHRefRef = nullptr;
  TAdvGraphicsSVGElement* FPatternRef = nullptr;
  String FClipPathRefID;
  TAdvGraphicsSVGElement* FClipPathRef = nullptr;
  String FFontFamily;
  String FFontSizeValue;
  Single FFontSize = 0;
  TFontStyles FFontStyle;
  String FText;
  String FDisplayValue;
  String FPreserveAspectRatioValue = u"default";
  TAdvGraphicsSVGElementPreserveAspectRatio FPreserveAspectRatio = parOther;
  Single FFR = 0;
  Single FCX = 0, FCY = 0;
  Single FFX = 0, FFY = 0;
  bool FHasCX = false, FHasCY = false;
  TAdvGraphicsMatrix FGradientMatrix;
  // Additions that keep SVG's meaning: the stroke's own paint server,
  // fill-opacity, stroke-opacity and the alpha of rgba() colours.
  String FStrokeURLRefID;
  TAdvGraphicsSVGElement* FStrokePatternRef = nullptr;
  String FFillOpacityValue = u"default", FStrokeOpacityValue = u"default";
  Single FFillOpacity = 1, FStrokeOpacity = 1;
  String FFillRuleValue = u"default", FClipRuleValue = u"default";
  std::vector<std::pair<String, String>> FGradientAttributes;
  Single FFillColorAlpha = 1, FStrokeColorAlpha = 1, FStopColorAlpha = 1;
};
