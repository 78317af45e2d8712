#include "foundation/svg/AdvGraphicsSVGElement.h"

#include <array>
#include <utility>

TAdvGraphicsSVGElementType SVGElementTypeOfName(StringView AName) {
  static const std::array<std::pair<StringView, TAdvGraphicsSVGElementType>, 22> kNames{{
      {u"g", etContainer}, {u"switch", etSwitch}, {u"defs", etDefs}, {u"use", etUse}, {u"rect", etRect},
      {u"line", etLine}, {u"polyline", etPolyline}, {u"polygon", etPolygon}, {u"circle", etCircle},
      {u"ellipse", etEllipse}, {u"path", etPath}, {u"image", etImage}, {u"text", etText},
      {u"tspan", etTextSpan}, {u"#text", etTextSpanChild}, {u"textPath", etTextPath},
      {u"clipPath", etClipPath}, {u"linearGradient", etLinearGradient},
      {u"radialGradient", etRadialGradient}, {u"style", etStyle}, {u"stop", etStop}, {u"pattern", etPattern},
  }};
  for (const auto& [name, type] : kNames)
    if (name == AName) return type;
  return etUnknown;
}

TAdvGraphicsSVGElement::TAdvGraphicsSVGElement() = default;
TAdvGraphicsSVGElement::~TAdvGraphicsSVGElement() = default;

TAdvGraphicsPath* TAdvGraphicsSVGElement::CombinedPath() {
  if (!FCombinedPath) {
    FCombinedPath = std::make_unique<TAdvGraphicsPath>();
    if (FPaths)
      for (const auto& p : *FPaths) FCombinedPath->AddPath(*p);
  }
  return FCombinedPath.get();
}

TAdvGraphicsPath* TAdvGraphicsSVGElement::ActivePath() const {
  return FPaths && !FPaths->empty() ? FPaths->back().get() : nullptr;
}

TAdvGraphicsSVGElementList& TAdvGraphicsSVGElement::Elements() {
  if (!FElements) FElements = std::make_unique<TAdvGraphicsSVGElementList>();
  return *FElements;
}

TAdvGraphicsSVGElementPathList& TAdvGraphicsSVGElement::Paths() {
  if (!FPaths) FPaths = std::make_unique<TAdvGraphicsSVGElementPathList>();
  return *FPaths;
}

TAdvBitmap* TAdvGraphicsSVGElement::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TAdvBitmap>();
  return FBitmap.get();
}

namespace {
bool SVGElementHasColor(const String& AValue) {
  return AValue != u"none" && AValue != u"transparent" && AValue != u"default";
}
}  // namespace

bool TAdvGraphicsSVGElement::HasFillColor() const { return SVGElementHasColor(FFillColorValue); }
bool TAdvGraphicsSVGElement::HasStrokeColor() const { return SVGElementHasColor(FStrokeColorValue); }
bool TAdvGraphicsSVGElement::HasStopColor() const { return SVGElementHasColor(FStopColorValue); }
