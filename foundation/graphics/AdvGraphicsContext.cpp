#include "foundation/graphics/AdvGraphicsContext.h"

#include "foundation/graphics/AdvGraphics.h"

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
