#include "foundation/graphics/AdvGraphicsContext.h"

#include "foundation/graphics/AdvGraphics.h"
#include "foundation/graphics/AdvGraphicsContextGeneral.h"
#include "foundation/graphics/AdvGraphicsContextWin.h"
#include "foundation/json/AdvPersistence.h"
#include "platform/rtl/TypInfo.h"

TAdvGraphicsContext::TAdvGraphicsContext(TAdvGraphics* AGraphics) : FGraphics(AGraphics) {}

TAdvGraphicsContext::~TAdvGraphicsContext() = default;

TCanvas* TAdvGraphicsContext::Canvas() const { return FGraphics ? FGraphics->Canvas() : nullptr; }

std::unique_ptr<TAdvGraphicsNativePath> TAdvGraphicsContext::ConvertToPath(TAdvGraphicsPath* APath, Single Flatness) {
  std::unique_ptr<TAdvGraphicsNativePath> native = CreatePath();
  if (!APath || APath->Count() == 0) return native;
  const TAdvGraphicsPathPoints& points = APath->PathData();
  TPointF current;
  TAdvGraphicsPathPolygon samples;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const TAdvGraphicsPathPoint& p = points[i];
    switch (p.Kind) {
      case gppMoveTo:
        PathOpen(native.get());
        PathMoveTo(native.get(), p.Point);
        current = p.Point;
        break;
      case gppLineTo:
        PathLineTo(native.get(), p.Point);
        current = p.Point;
        break;
      case gppCurveTo: {
        if (i + 2 >= points.size()) {  // a truncated curve: a line to its last point
          PathLineTo(native.get(), points.back().Point);
          i = points.size();
          break;
        }
        const TAdvGraphicsPathCubicBezier b{current, p.Point, points[i + 1].Point, points[i + 2].Point};
        const Integer n = TAdvGraphicsPath::CurvePointCount(b, Flatness);
        if (n > 1) {
          TAdvGraphicsPath::CreateBezier(b, n, samples);
          for (const TPointF& s : samples) PathLineTo(native.get(), s);
        } else {
          PathLineTo(native.get(), b[3]);
        }
        current = b[3];
        i += 2;
        break;
      }
      case gppClose:
        PathClose(native.get());
        break;
    }
  }
  return native;
}

namespace {

// The persistence layer names an object by its class's declared name; the
// contexts publish no properties, so a declaration is all they need. Made on
// first use because only the JSON operations ask for it.
TAdvGraphicsContext* GraphicsContextDeclared(TAdvGraphicsContext* AContext) {
  static const bool declared = [] {
    TClassInfo::Of<TAdvGraphicsContext, TObject>(u"TAdvGraphicsContext");
    TClassInfo::Of<TAdvGraphicsContextGeneral, TAdvGraphicsContext>(u"TAdvGraphicsContextGeneral");
    TClassInfo::Of<TAdvGraphicsContextWin, TAdvGraphicsContext>(u"TAdvGraphicsContextWin");
    return true;
  }();
  (void)declared;
  return AContext;
}

}  // namespace

String TAdvGraphicsContext::ToJSON() { return ::ToJSON(GraphicsContextDeclared(this)); }

String TAdvGraphicsContext::ToJSON(const std::vector<String>& AExcludedProperties) {
  return ::ToJSON(GraphicsContextDeclared(this), AExcludedProperties);
}

void TAdvGraphicsContext::FromJSON(StringView Value) { ::FromJSON(GraphicsContextDeclared(this), Value); }

void TAdvGraphicsContext::Log() { ::Log(GraphicsContextDeclared(this)); }

void TAdvGraphicsContext::SaveToJSONFile(const String& AFileName) {
  ::SaveToJSONFile(GraphicsContextDeclared(this), AFileName);
}

void TAdvGraphicsContext::LoadFromJSONFile(const String& AFileName) {
  ::LoadFromJSONFile(GraphicsContextDeclared(this), AFileName);
}

void TAdvGraphicsContext::SaveToJSONStream(TStream* AStream) { ::SaveToJSONStream(GraphicsContextDeclared(this), AStream); }

void TAdvGraphicsContext::LoadFromJSONStream(TStream* AStream) {
  ::LoadFromJSONStream(GraphicsContextDeclared(this), AStream);
}
