// Drawing the SVG document on the vector canvas: the view transform, the walk
// over the elements and the paint set-up of each element.
#include <algorithm>
#include <cmath>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/graphics/AdvGraphics.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/vcl/Bitmap.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "platform/rtl/Math.h"

namespace {
constexpr double kSVGDrawPi = 3.14159265358979323846;
// Bitmaps beyond this are not made (a hostile view box asks for any size).
constexpr Integer kSVGDrawMaxSide = 8192;
constexpr Int64 kSVGDrawMaxPixels = Int64(4096) * 4096;
constexpr int kSVGDrawMaxDepth = 256;

bool SVGParseStartsWithWord(StringView s, StringView w) { return s.substr(0, w.size()) == w; }

bool SVGDrawIsMarked(const TRectF& R) {
  constexpr Single m = TAdvGraphicsSVGImport::kEmptyMarker;
  return R.Left == m || R.Top == m || R.Right == -m || R.Bottom == -m;
}

// The nearest element from E upwards whose value text for a property is not "default".
template <class Getter>
TAdvGraphicsSVGElement* SVGDrawNearest(TAdvGraphicsSVGElement* E, Getter AValue) {
  while (E && AValue(E) == u"default" && E->Parent()) E = E->Parent();
  return E;
}

// A shape's outline from its numbers, by kind; an empty path for other kinds.
void SVGDrawShapePath(TAdvGraphicsSVGElement* C, TAdvGraphicsPath& APath) {
  switch (C->Type()) {
    case etRect:
      APath.AddRectangle(RectF(C->X(), C->Y(), C->X() + C->Width(), C->Y() + C->Height()), C->Rx(), C->Ry());
      break;
    case etLine:
      APath.MoveTo({C->X(), C->Y()});
      APath.LineTo({C->Width(), C->Height()});
      break;
    case etCircle:
    case etEllipse:
      APath.AddEllipse(RectF(C->X() - C->Rx(), C->Y() - C->Ry(), C->X() + C->Rx(), C->Y() + C->Ry()));
      break;
    case etPolyline:
    case etPolygon:
    case etPath:
      APath.AddPath(*C->CombinedPath());
      break;
    default:
      break;
  }
}

// The path's box under M stays finite and within reach of the device.
bool SVGDrawFiniteUnder(const TAdvGraphicsPath& APath, const TAdvGraphicsMatrix& M) {
  const TRectF b = APath.GetBounds();
  for (Single x : {b.Left, b.Right})
    for (Single y : {b.Top, b.Bottom}) {
      const double dx = double(x) * M.m11 + double(y) * M.m21 + M.m31, dy = double(x) * M.m12 + double(y) * M.m22 + M.m32;
      if (!std::isfinite(dx) || !std::isfinite(dy) || std::fabs(dx) > 1e7 || std::fabs(dy) > 1e7) return false;
    }
  return true;
}


ARGB SVGDrawARGB(TColor AColor, Single AOpacity) {
  const Integer a = Integer(Round(std::clamp(double(AOpacity), 0.0, 1.0) * 255));
  return ARGB(a) << 24 | ARGB(TAdvGraphics::GetColorRed(AColor)) << 16 |
         ARGB(TAdvGraphics::GetColorGreen(AColor)) << 8 | ARGB(TAdvGraphics::GetColorBlue(AColor));
}

// --- gradients ----------------------------------------------------------------

// Walks a gradient's href chain to any depth until AFound answers a
// server; a cycle ends the walk once every server on it has been seen (a
// second pointer moving at half speed meets the first inside a cycle).
template <class Found>
const TAdvGraphicsSVGElement* SVGDrawWalkChain(const TAdvGraphicsSVGElement* P, Found AFound) {
  const TAdvGraphicsSVGElement* slow = P;
  bool cycled = false;
  for (std::size_t step = 0; P; ++step, P = P->HRefRef()) {
    if (AFound(P)) return P;
    if (step % 2 == 1) slow = slow->HRefRef();
    if (P->HRefRef() == slow) {
      if (cycled) break;
      cycled = true;
    }
  }
  return nullptr;
}

// A gradient attribute along the href chain: the first server that sets it.
const String* SVGDrawGradientAttribute(const TAdvGraphicsSVGElement* P, StringView AName) {
  const TAdvGraphicsSVGElement* owner =
      SVGDrawWalkChain(P, [AName](const TAdvGraphicsSVGElement* x) { return x->GradientAttribute(AName) != nullptr; });
  return owner ? owner->GradientAttribute(AName) : nullptr;
}

// The stops along the href chain: those of the first server that has any.
const TAdvGraphicsSVGElement* SVGDrawGradientStops(const TAdvGraphicsSVGElement* P) {
  return SVGDrawWalkChain(P, [](const TAdvGraphicsSVGElement* x) {
    if (x->HasElements())
      for (const auto& c : const_cast<TAdvGraphicsSVGElement*>(x)->Elements())
        if (c->Type() == etStop) return true;
    return false;
  });
}

// A gradient coordinate: a number, or a percentage (a fraction of the box
// for bounding-box units, of the view for user units); ADefault when absent.
double SVGDrawGradientLength(const TAdvGraphicsSVGElement* P, StringView AName, double ADefault, bool ABoxUnits,
                             double AViewSide) {
  const String* text = SVGDrawGradientAttribute(P, AName);
  if (!text) return ADefault;
  String t = *text;
  while (!t.empty() && t.back() <= u' ') t.pop_back();
  const bool percent = !t.empty() && t.back() == u'%';
  if (percent) t.pop_back();
  Single v = 0;
  if (percent) {
    if (!TAdvGraphicsSVGImport::SVGStrToFloat(t, v)) return ADefault;
    return ABoxUnits ? v / 100.0 : v / 100.0 * AViewSide;
  }
  return ABoxUnits ? (TAdvGraphicsSVGImport::SVGStrToFloat(t, v) ? v : ADefault)
                   : TAdvGraphicsSVGImport::ParseLength(t);
}

struct SVGDrawStop {
  double Offset;
  ARGB Color;
};

// Offsets clamped to 0..1 and never decreasing.
std::vector<SVGDrawStop> SVGDrawCollectStops(const TAdvGraphicsSVGElement* P, Single AOpacity) {
  std::vector<SVGDrawStop> stops;
  const TAdvGraphicsSVGElement* owner = SVGDrawGradientStops(P);
  if (!owner) return stops;
  double last = 0;
  for (const auto& s : const_cast<TAdvGraphicsSVGElement*>(owner)->Elements()) {
    if (s->Type() != etStop) continue;
    last = std::max(last, std::clamp(double(s->Offset()), 0.0, 1.0));
    const TColor c = s->StopColor() == -1 ? TColor(0) : s->StopColor();
    const Single o = s->StopColor() == -1 ? 0.0f : s->StopOpacity() * s->StopColorAlpha() * AOpacity;
    stops.push_back({last, SVGDrawARGB(c, o)});
  }
  return stops;
}

// Colours and positions for an interpolation from 0 to 1: pads at both ends.
void SVGDrawRamp(std::vector<SVGDrawStop> AStops, std::vector<ARGB>& AColors, std::vector<Single>& APositions) {
  if (AStops.front().Offset > 0) AStops.insert(AStops.begin(), {0, AStops.front().Color});
  if (AStops.back().Offset < 1) AStops.push_back({1, AStops.back().Color});
  for (const SVGDrawStop& s : AStops) {
    AColors.push_back(s.Color);
    APositions.push_back(Single(s.Offset));
  }
}

struct SVGDrawAffine {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  // this, then B.
  SVGDrawAffine Then(const SVGDrawAffine& B) const {
    return {m11 * B.m11 + m12 * B.m21, m11 * B.m12 + m12 * B.m22, m21 * B.m11 + m22 * B.m21,
            m21 * B.m12 + m22 * B.m22, dx * B.m11 + dy * B.m21 + B.dx, dx * B.m12 + dy * B.m22 + B.dy};
  }
  bool Invert(SVGDrawAffine& AResult) const {
    const double det = m11 * m22 - m12 * m21;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) return false;
    AResult = {m22 / det, -m12 / det, -m21 / det, m11 / det, (m21 * dy - m22 * dx) / det, (m12 * dx - m11 * dy) / det};
    return true;
  }
  TPointF Map(double x, double y) const { return {Single(x * m11 + y * m21 + dx), Single(x * m12 + y * m22 + dy)}; }
};

// A paint server as a brush in user space: the gradient's own coordinates
// (its box or user units, then gradientTransform). AShapeBounds is the filled
// shape's box in user space; AView the document's view rectangle. nullptr
// when the server paints nothing; ASolid set (and nullptr) when one colour
// does it. AOuter receives the colour outside a radial gradient's circle, and
// AOuterPath that circle in user space, for the caller to pad with.
std::unique_ptr<gdiplus_runtime::TGPBrush> SVGDrawGradientBrush(const TAdvGraphicsSVGElement* P,
                                                                const TRectF& AShapeBounds, const TRectF& AView,
                                                                const SVGDrawAffine& AToDevice, Single AOpacity,
                                                                ARGB& ASolid, bool& AHasSolid,
                                                                ARGB& AOuter,
                                                                std::unique_ptr<gdiplus_runtime::TGPGraphicsPath>& AOuterPath) {
  AHasSolid = false;
  std::vector<SVGDrawStop> stops = SVGDrawCollectStops(P, AOpacity);
  if (stops.empty()) return nullptr;
  if (stops.size() == 1) {
    ASolid = stops[0].Color;
    AHasSolid = true;
    return nullptr;
  }
  const String* units = SVGDrawGradientAttribute(P, u"gradientUnits");
  const bool box = !units || *units != u"userSpaceOnUse";
  const double bw = AShapeBounds.Right - AShapeBounds.Left, bh = AShapeBounds.Bottom - AShapeBounds.Top;
  // A bounding-box gradient on a shape without area paints nothing.
  if (box && (!(bw > 0) || !(bh > 0))) return nullptr;
  SVGDrawAffine toUser;
  if (const String* t = SVGDrawGradientAttribute(P, u"gradientTransform")) {
    const TAdvGraphicsMatrix g = TAdvGraphicsSVGImport::ParseTransform(t);
    toUser = {g.m11, g.m12, g.m21, g.m22, g.m31, g.m32};
  }
  if (box) toUser = toUser.Then({bw, 0, 0, bh, AShapeBounds.Left, AShapeBounds.Top});
  SVGDrawAffine fromUser;
  if (!toUser.Invert(fromUser)) {
    ASolid = stops.back().Color;
    AHasSolid = true;
    return nullptr;
  }
  const double vw = AView.Right - AView.Left, vh = AView.Bottom - AView.Top;
  const double vd = std::sqrt((vw * vw + vh * vh) / 2);
  const SVGDrawAffine toDevice = toUser.Then(AToDevice);
  gdiplus_runtime::TGPMatrix brushMatrix(Single(toDevice.m11), Single(toDevice.m12), Single(toDevice.m21),
                                         Single(toDevice.m22), Single(toDevice.dx), Single(toDevice.dy));
  const String* spread = SVGDrawGradientAttribute(P, u"spreadMethod");
  const bool repeat = spread && *spread == u"repeat", reflect = spread && *spread == u"reflect";
  std::vector<ARGB> colors;
  std::vector<Single> positions;

  if (P->Type() == etLinearGradient) {
    const double x1 = SVGDrawGradientLength(P, u"x1", 0, box, vw), y1 = SVGDrawGradientLength(P, u"y1", 0, box, vh);
    const double x2 = SVGDrawGradientLength(P, u"x2", box ? 1 : vw, box, vw),
                 y2 = SVGDrawGradientLength(P, u"y2", 0, box, vh);
    const double ddx = x2 - x1, ddy = y2 - y1, len2 = ddx * ddx + ddy * ddy;
    if (!(len2 > 0) || !std::isfinite(len2)) {
      ASolid = stops.back().Color;
      AHasSolid = true;
      return nullptr;
    }
    double t0 = 0, t1 = 1;
    if (!repeat && !reflect) {
      // Padding: the ramp is stretched over the whole shape, the stops moved
      // into it, so the end colours continue beyond the vector.
      const double cx[] = {AShapeBounds.Left, AShapeBounds.Right}, cy[] = {AShapeBounds.Top, AShapeBounds.Bottom};
      for (double x : cx)
        for (double y : cy) {
          const TPointF g = fromUser.Map(x, y);
          const double t = ((g.X - x1) * ddx + (g.Y - y1) * ddy) / len2;
          if (std::isfinite(t)) t0 = std::min(t0, t), t1 = std::max(t1, t);
        }
      t0 = std::max(t0, -1e4), t1 = std::min(t1, 1e4);
      for (SVGDrawStop& s : stops) s.Offset = (s.Offset - t0) / (t1 - t0);
    }
    SVGDrawRamp(stops, colors, positions);
    const gdiplus_runtime::TGPPointF p1{Single(x1 + t0 * ddx), Single(y1 + t0 * ddy)},
        p2{Single(x1 + t1 * ddx), Single(y1 + t1 * ddy)};
    auto brush = std::make_unique<gdiplus_runtime::TGPLinearGradientBrush>(p1, p2, colors.front(), colors.back());
    // Two colours at the ends are the brush's own ramp (drawn without sampling).
    if (colors.size() > 2) brush->SetInterpolationColors(colors.data(), positions.data(), Integer(colors.size()));
    brush->SetWrapMode(reflect ? WrapModeTileFlipX : WrapModeTile);
    brush->SetTransform(&brushMatrix);
    return brush;
  }
  if (P->Type() != etRadialGradient) return nullptr;
  const double cx = SVGDrawGradientLength(P, u"cx", box ? 0.5 : vw / 2, box, vw),
               cy = SVGDrawGradientLength(P, u"cy", box ? 0.5 : vh / 2, box, vh),
               r = SVGDrawGradientLength(P, u"r", box ? 0.5 : vd / 2, box, vd);
  double fx = SVGDrawGradientLength(P, u"fx", cx, box, vw), fy = SVGDrawGradientLength(P, u"fy", cy, box, vh);
  if (!(r > 0) || !std::isfinite(r)) {
    ASolid = stops.back().Color;
    AHasSolid = true;
    return nullptr;
  }
  // A focus outside the circle is moved onto it.
  const double fd = std::hypot(fx - cx, fy - cy);
  if (fd > r * 0.999) fx = cx + (fx - cx) * r * 0.999 / fd, fy = cy + (fy - cy) * r * 0.999 / fd;
  // The brush runs from its outline (0) to its centre (1): the stops reversed.
  std::vector<SVGDrawStop> reversed;
  for (auto it = stops.rbegin(); it != stops.rend(); ++it) reversed.push_back({1 - it->Offset, it->Color});
  SVGDrawRamp(reversed, colors, positions);
  gdiplus_runtime::TGPGraphicsPath circle;
  circle.AddEllipse(Single(cx - r), Single(cy - r), Single(2 * r), Single(2 * r));
  auto brush = std::make_unique<gdiplus_runtime::TGPPathGradientBrush>(&circle);
  brush->SetCenterPoint(gdiplus_runtime::TGPPointF{Single(fx), Single(fy)});
  brush->SetCenterColor(colors.back());
  brush->SetInterpolationColors(colors.data(), positions.data(), Integer(colors.size()));
  brush->SetTransform(&brushMatrix);
  // Beyond the circle the last stop continues (repeat and reflect as well).
  AOuter = stops.back().Color;
  AOuterPath = std::make_unique<gdiplus_runtime::TGPGraphicsPath>();
  AOuterPath->AddEllipse(Single(cx - r), Single(cy - r), Single(2 * r), Single(2 * r));
  AOuterPath->Transform(&brushMatrix);
  return brush;
}

// The paint of one element on the GDI+ graphics: its path in user space drawn
// under M, so outlines scale and turn with the drawing as the pen of a
// transformed drawing does.
struct SVGDrawPaint {
  const TAdvGraphicsSVGElement* Server = nullptr;  // gradient fill
  bool EvenOdd = false;
  Single StrokeWidth = 1;  // user units
  TRectF View;
};

// The canvas path as a GDI+ path; nullptr when it has no points.
std::unique_ptr<gdiplus_runtime::TGPGraphicsPath> SVGDrawToGPPath(const TAdvGraphicsPath& APath, bool AEvenOdd) {
  std::vector<gdiplus_runtime::TGPPointF> points;
  std::vector<Byte> types;
  points.reserve(std::size_t(APath.Count()));
  types.reserve(std::size_t(APath.Count()));
  bool open = false;
  TPointF figureStart;
  for (const TAdvGraphicsPathPoint& p : APath.PathData()) {
    if (p.Kind == gppClose) {
      if (open) types.back() |= Byte(PathPointTypeCloseSubpath);
      open = false;
      continue;
    }
    if (p.Kind == gppMoveTo || !open) {
      // A figure continued after a close starts again at its start point.
      const TPointF start = p.Kind == gppMoveTo ? p.Point : (types.empty() ? p.Point : figureStart);
      if (p.Kind != gppMoveTo && !types.empty()) {
        points.push_back({start.X, start.Y});
        types.push_back(Byte(PathPointTypeStart));
      }
      if (p.Kind == gppMoveTo || types.empty()) {
        figureStart = p.Point;
        points.push_back({p.Point.X, p.Point.Y});
        types.push_back(Byte(PathPointTypeStart));
        open = true;
        continue;
      }
      open = true;
    }
    points.push_back({p.Point.X, p.Point.Y});
    types.push_back(Byte(p.Kind == gppCurveTo ? PathPointTypeBezier : PathPointTypeLine));
  }
  if (points.empty()) return nullptr;
  return std::make_unique<gdiplus_runtime::TGPGraphicsPath>(points.data(), types.data(), Integer(points.size()),
                                                            AEvenOdd ? FillModeAlternate : FillModeWinding);
}

bool SVGDrawNativePath(TAdvGraphics* G, TAdvGraphicsPath& APath, const TAdvGraphicsMatrix& M,
                       const SVGDrawPaint& APaint) {
  auto* gp = G->Native() ? static_cast<gdiplus_runtime::TGPGraphics*>(G->Context()->NativeCanvas()) : nullptr;
  TAdvGraphicsFill* fill = G->Fill();
  TAdvGraphicsStroke* stroke = G->Stroke();
  if (!gp || (!APaint.Server && fill->Kind() != gfkNone && fill->Kind() != gfkSolid) ||
      (stroke->Kind() != gskNone && stroke->Kind() != gskSolid))
    return false;
  // A transform that keeps angles (turns, mirrors, one scale for both axes)
  // draws the same with the path in device space and the pen scaled, which is
  // cheaper (curves flatten once, in device space); any other transform is
  // given to the graphics, so the pen follows both axes and the skew.
  const bool conformal = (std::fabs(M.m11 - M.m22) <= 1e-6f * std::fabs(M.m11) + 1e-9f &&
                          std::fabs(M.m12 + M.m21) <= 1e-6f * std::fabs(M.m12) + 1e-9f) ||
                         (std::fabs(M.m11 + M.m22) <= 1e-6f * std::fabs(M.m11) + 1e-9f &&
                          std::fabs(M.m12 - M.m21) <= 1e-6f * std::fabs(M.m12) + 1e-9f);
  const double scale = std::sqrt(std::fabs(double(M.m11) * M.m22 - double(M.m12) * M.m21));
  const TRectF userBounds = APaint.Server ? APath.GetBounds() : TRectF{};
  const SVGDrawAffine toDevice =
      conformal ? SVGDrawAffine{M.m11, M.m12, M.m21, M.m22, M.m31, M.m32} : SVGDrawAffine{};
  if (conformal) APath.ApplyMatrix(M);
  const std::unique_ptr<gdiplus_runtime::TGPGraphicsPath> native = SVGDrawToGPPath(APath, APaint.EvenOdd);
  if (!native) return true;
  gdiplus_runtime::TGPGraphicsPath& path = *native;
  // Only a drawing under the graphics' transform has state to put back.
  const GraphicsState saved = conformal ? GraphicsState(0) : gp->Save();
  if (!conformal) {
    gdiplus_runtime::TGPMatrix m(M.m11, M.m12, M.m21, M.m22, M.m31, M.m32);
    gp->MultiplyTransform(&m, MatrixOrderPrepend);
  }
  const Single penWidth = conformal ? Single(APaint.StrokeWidth * scale) : APaint.StrokeWidth;
  if (APaint.Server) {
    ARGB solid = 0, outer = 0;
    bool hasSolid = false;
    std::unique_ptr<gdiplus_runtime::TGPGraphicsPath> outerPath;
    const std::unique_ptr<gdiplus_runtime::TGPBrush> brush = SVGDrawGradientBrush(
        APaint.Server, userBounds, APaint.View, toDevice, fill->Opacity(), solid, hasSolid, outer, outerPath);
    if (hasSolid) {
      gdiplus_runtime::TGPSolidBrush b(solid);
      gp->FillPath(&b, &path);
    } else if (brush) {
      if (outerPath) {
        // The shape outside the gradient's circle takes its last colour: an
        // opaque one goes under the whole shape (no seam at the circle), a
        // translucent one only outside the circle.
        const GraphicsState clipped = gp->Save();
        if ((outer >> 24) != 0xFF) gp->SetClip(outerPath.get(), CombineModeExclude);
        gdiplus_runtime::TGPSolidBrush b(outer);
        gp->FillPath(&b, &path);
        gp->Restore(clipped);
      }
      gp->FillPath(brush.get(), &path);
    }
  } else if (fill->Kind() == gfkSolid && fill->Color() != gcNull) {
    gdiplus_runtime::TGPSolidBrush brush(SVGDrawARGB(fill->Color(), fill->Opacity()));
    gp->FillPath(&brush, &path);
  }
  if (stroke->Kind() == gskSolid && stroke->Color() != gcNull && penWidth > 0) {
    gdiplus_runtime::TGPPen pen(SVGDrawARGB(stroke->Color(), stroke->Opacity()), penWidth);
    pen.SetLineCap(LineCapFlat, LineCapFlat, DashCapFlat);
    pen.SetLineJoin(LineJoinMiterClipped);
    pen.SetMiterLimit(4.0f);
    gp->DrawPath(&pen, &path);
  }
  if (!conformal) gp->Restore(saved);
  return true;
}

// A native context drawing a whole document: its size, anti-aliasing, pixel
// centres at half pixels and high-quality compositing, then a scene.
void SVGDrawBeginNative(TAdvGraphics* G, Single AWidth, Single AHeight) {
  TAdvGraphicsContext* context = G->Context();
  context->SetSize(AWidth, AHeight);
  context->SetAntiAliasing(true);
  if (auto* gp = static_cast<gdiplus_runtime::TGPGraphics*>(context->NativeCanvas())) {
    gp->SetPixelOffsetMode(PixelOffsetModeHalf);
    gp->SetCompositingQuality(CompositingQualityHighQuality);
  }
  context->BeginScene();
}
}  // namespace

TColor TAdvGraphicsSVGImport::GrayColor(TColor AColor) {
  const Integer g = Integer(Round(0.3 * TAdvGraphics::GetColorRed(AColor) + 0.6 * TAdvGraphics::GetColorGreen(AColor) +
                                  0.1 * TAdvGraphics::GetColorBlue(AColor)));
  return TColor(g | (g << 8) | (g << 16));
}

TColor TAdvGraphicsSVGImport::TintedColor(TColor AColor, TColor ATint) {
  const Integer r = TAdvGraphics::GetColorRed(AColor) * TAdvGraphics::GetColorRed(ATint) / 255;
  const Integer g = TAdvGraphics::GetColorGreen(AColor) * TAdvGraphics::GetColorGreen(ATint) / 255;
  const Integer b = TAdvGraphics::GetColorBlue(AColor) * TAdvGraphics::GetColorBlue(ATint) / 255;
  return TColor(r | (g << 8) | (b << 16));
}

TColor TAdvGraphicsSVGImport::OverrideColor(TColor AColor, TColor ACustom) const {
  if (GrayScale) return GrayColor(AColor);
  if (TintColor != -1) return TintedColor(AColor, TintColor);
  if (ACustom != -1) return ACustom;
  return AColor;
}

bool TAdvGraphicsSVGImport::ComputeViewTransform(const TRectF& R, bool ARoundOffset, Single& ASX, Single& ASY) {
  const TRectF V = ViewRect;
  const Single vw = V.Right - V.Left, vh = V.Bottom - V.Top;
  if (!HasElements() || !(vw > 0) || !(vh > 0) || SVGDrawIsMarked(V)) return false;
  ASX = (R.Right - R.Left) / vw;
  ASY = (R.Bottom - R.Top) / vh;
  if (ASX == 0 || ASY == 0 || !std::isfinite(ASX) || !std::isfinite(ASY)) return false;
  const double a = RotationAngle * kSVGDrawPi / 180;
  TAdvGraphicsMatrix rot = MatrixIdentity();
  rot.m11 = Single(std::cos(a)), rot.m12 = Single(std::sin(a));
  rot.m21 = Single(-std::sin(a)), rot.m22 = Single(std::cos(a));
  Single tx = ARoundOffset ? Single(std::floor(R.Left / ASX)) : R.Left / ASX;
  Single ty = ARoundOffset ? Single(std::floor(R.Top / ASY)) : R.Top / ASY;
  const StringView aspect = FRootAspect;
  if (!aspect.empty() && !SVGParseStartsWithWord(aspect, u"none")) {
    // One scale for both axes: the whole view box inside the target (meet)
    // or the target covered (slice), placed by the alignment.
    const bool slice = aspect.find(u"slice") != StringView::npos;
    const Single s = slice ? std::max(ASX, ASY) : std::min(ASX, ASY);
    const Single freeX = (R.Right - R.Left) - vw * s, freeY = (R.Bottom - R.Top) - vh * s;
    const Single ax = aspect.find(u"xMin") != StringView::npos ? 0 : aspect.find(u"xMax") != StringView::npos ? freeX : freeX / 2;
    const Single ay = aspect.find(u"YMin") != StringView::npos ? 0 : aspect.find(u"YMax") != StringView::npos ? freeY : freeY / 2;
    ASX = ASY = s;
    tx = (R.Left + ax) / s;
    ty = (R.Top + ay) / s;
  }
  TAdvGraphicsMatrix m = MatrixTranslation(-vw / 2, -vh / 2);
  m = MatrixMultiply(m, rot);
  m = MatrixMultiply(m, MatrixTranslation(vw / 2, vh / 2));
  m = MatrixMultiply(m, MatrixTranslation(-V.Left, -V.Top));
  m = MatrixMultiply(m, MatrixTranslation(tx, ty));
  FMatrix = MatrixMultiply(m, MatrixScaling(ASX, ASY));
  return true;
}

void TAdvGraphicsSVGImport::Draw(TCanvas* ACanvas, const TRectF& ARect, bool ANative) {
  Single sx = 0, sy = 0;
  if (!ACanvas || !ComputeViewTransform(ARect, true, sx, sy)) return;
  TAdvGraphics g(ACanvas, ANative);
  if (ANative) SVGDrawBeginNative(&g, ARect.Right - ARect.Left, ARect.Bottom - ARect.Top);
  try {
    DrawElements(FElementList, &g, sx, sy, 0);
  } catch (...) {
    if (ANative) g.Context()->Render();
    throw;
  }
  if (ANative) {
    g.Context()->EndScene();
    g.Context()->Render();
  }
}

void TAdvGraphicsSVGImport::Draw(TAdvGraphics* AGraphics, const TRectF& ARect, bool ANative, bool ARecreateGraphics) {
  Single sx = 0, sy = 0;
  if (!AGraphics || !ComputeViewTransform(ARect, false, sx, sy)) return;
  const bool both = ANative && ARecreateGraphics;
  if (both) FMatrix = MatrixMultiply(FMatrix, AGraphics->Context()->GetMatrix());
  std::unique_ptr<TAdvGraphics> created;
  if (ARecreateGraphics) created = std::make_unique<TAdvGraphics>(AGraphics->Canvas(), ANative);
  TAdvGraphics* g = created ? created.get() : AGraphics;
  if (both) SVGDrawBeginNative(g, ARect.Right - ARect.Left, ARect.Bottom - ARect.Top);
  try {
    DrawElements(FElementList, g, sx, sy, 0);
  } catch (...) {
    if (both) g->Context()->Render();
    throw;
  }
  if (both) {
    g->Context()->EndScene();
    g->Context()->Render();
  }
}

void TAdvGraphicsSVGImport::DrawUnder(TAdvGraphics* AGraphics, const TRectF& ARect, const TAdvGraphicsMatrix& AMatrix) {
  Single sx = 0, sy = 0;
  if (!AGraphics || !ComputeViewTransform(ARect, false, sx, sy)) return;
  FMatrix = MatrixMultiply(FMatrix, AMatrix);
  DrawElements(FElementList, AGraphics, sx, sy, 0);
}

TAdvBitmap* TAdvGraphicsSVGImport::GenerateBitmap(Single AWidth, Single AHeight) {
  if (!HasElements()) return nullptr;
  TRectF R = ViewRect;
  const bool valid = R.Right - R.Left > 0 && R.Bottom - R.Top > 0 && !SVGDrawIsMarked(R);
  if (valid && AWidth > -1 && AHeight > -1) R = RectF(0, 0, AWidth, AHeight);
  Integer w = 0, h = 0;
  if (valid && std::isfinite(R.Right) && std::isfinite(R.Bottom) && std::fabs(R.Right) < 1e9f &&
      std::fabs(R.Bottom) < 1e9f) {
    w = Integer(Round(R.Right));
    h = Integer(Round(R.Bottom));
  }
  const bool drawable = w > 0 && h > 0 && w <= kSVGDrawMaxSide && h <= kSVGDrawMaxSide &&
                        Int64(w) * h <= kSVGDrawMaxPixels;
  // The most recently asked sizes are kept, the least recent one goes first:
  // a caller asking for ever new sizes does not grow the document without bound.
  const std::pair<Integer, Integer> key{drawable ? w : 0, drawable ? h : 0};
  auto found = std::find_if(FCachedBitmaps.begin(), FCachedBitmaps.end(),
                            [&key](const auto& entry) { return entry.first == key; });
  if (found != FCachedBitmaps.end()) {
    std::rotate(found, found + 1, FCachedBitmaps.end());
  } else {
    if (FCachedBitmaps.size() >= kCachedBitmapSizes) FCachedBitmaps.erase(FCachedBitmaps.begin());
    FCachedBitmaps.emplace_back(key, std::make_unique<TAdvBitmap>());
  }
  std::unique_ptr<TAdvBitmap>& slot = FCachedBitmaps.back().second;
  if (!drawable) return slot.get();
  // Drawn through the GDI+ context (the GDI one has neither transparency nor
  // stop gradients) straight into the picture's own bitmap, which starts
  // fully transparent.
  slot->Bitmap()->SetSize(0, 0);
  TBitmap* bitmap = slot->Bitmap();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetAlphaFormat(afPremultiplied);
  bitmap->SetSize(w, h);
  {
    TAdvGraphics canvas(bitmap->Canvas(), true);
    SVGDrawBeginNative(&canvas, Single(w), Single(h));
    Draw(&canvas, R, false, false);
    canvas.Context()->EndScene();
    canvas.Context()->Render();
  }
  return slot.get();
}

Single TAdvGraphicsSVGImport::ElementOpacity(TAdvGraphicsSVGElement* S, TAdvGraphicsSVGElement* E) const {
  if (CustomOpacity != -1) return CustomOpacity;
  // Opacity multiplies down the tree; each level reads its class rule when it has one.
  double o = S->HasOpacity() ? S->Opacity() : 1;
  for (TAdvGraphicsSVGElement* p = E->Parent(); p; p = p->Parent()) {
    TAdvGraphicsSVGElement* src = p->ClassRef() ? p->ClassRef() : p;
    if (src->HasOpacity()) o *= src->Opacity();
  }
  return Single(std::clamp(o, 0.0, 1.0));
}

const TAdvGraphicsSVGElement* TAdvGraphicsSVGImport::ApplyFill(TAdvGraphicsSVGElement* S, TAdvGraphicsSVGElement* E,
                                                               TAdvGraphics* G, const TAdvGraphicsMatrix& M,
                                                               Single AOpacity) {
  TAdvGraphicsFill* fill = G->Fill();
  TAdvGraphicsSVGElement* F = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->FillColorValue(); });
  TAdvGraphicsSVGElement* FO = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->FillOpacityValue(); });
  const Single fillOpacity = AOpacity * (FO->HasFillOpacity() ? FO->FillOpacity() : 1);
  // A url fill reaches the children of the element that names it.
  TAdvGraphicsSVGElement* P = E->PatternRef() ? E->PatternRef() : F->PatternRef();
  if (P) {
    const TAdvGraphicsSVGElement* server = P->Type() == etPattern ? nullptr : P;
    if (P->HRefRef()) P = P->HRefRef();
    fill->BeginUpdate();
    fill->SetKind(gfkGradient);
    fill->SetGradientMode(gfgmCollection);
    fill->ClearGradientItems();
    fill->SetOpacity(fillOpacity);
    if (P->Type() == etLinearGradient) {
      fill->SetGradientType(gfgtLinear);
      fill->SetOrientation(gfoCustom);
      double a = std::atan2(P->Height() - P->Y(), P->Width() - P->X()) * 180 / kSVGDrawPi;
      if (a < 0) a += 360;
      fill->SetGradientAngle(Single(a));
    } else if (P->Type() == etRadialGradient) {
      fill->SetGradientType(gfgtRadial);
      TAdvGraphicsPath path;
      SVGDrawShapePath(E, path);
      path.ApplyMatrix(M);
      const TRectF b = path.GetBounds();
      const Single cx = P->HasCX() ? P->CX() : 0.5f, cy = P->HasCY() ? P->CY() : 0.5f;
      fill->SetGradientCenterPoint({b.Left + (b.Right - b.Left) * cx, b.Top + (b.Bottom - b.Top) * cy});
    }
    if (P->HasElements())
      for (const auto& s : P->Elements())
        if (s->Type() == etStop)
          fill->AddGradientItem(s->StopColor(), s->Offset(),
                                s->StopOpacity() * s->StopColorAlpha() * fillOpacity);
    fill->EndUpdate();
    return server;
  }
  if (F->HasFillColor()) {
    fill->SetKind(F->FillColor() == -1 ? gfkNone : gfkSolid);
    fill->SetColor(OverrideColor(F->FillColor(), CustomFillColor));
    fill->SetOpacity(fillOpacity * F->FillColorAlpha());
  } else if (F->FillColorValue() == u"none" || F->FillColorValue() == u"transparent") {
    fill->SetKind(gfkNone);
  } else {
    fill->SetKind(gfkSolid);
    fill->SetColor(GrayScale ? TColor(0x808080) : TintColor != -1 ? TintColor
                                                : CustomFillColor != -1 ? CustomFillColor : TColor(0));
    fill->SetOpacity(fillOpacity);
  }
  return nullptr;
}

void TAdvGraphicsSVGImport::ApplyStroke(TAdvGraphicsSVGElement* S, TAdvGraphicsSVGElement* E, TAdvGraphics* G,
                                        Single AOpacity) {
  TAdvGraphicsStroke* stroke = G->Stroke();
  TAdvGraphicsSVGElement* F = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->StrokeColorValue(); });
  TAdvGraphicsSVGElement* FO = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->StrokeOpacityValue(); });
  const Single strokeOpacity = AOpacity * (FO->HasStrokeOpacity() ? FO->StrokeOpacity() : 1);
  if (!F->HasStrokeColor()) {
    stroke->SetKind(gskNone);
    return;
  }
  TColor color = F->StrokeColor();
  Single alpha = F->StrokeColorAlpha();
  // The canvas strokes in one colour: a gradient stroke takes its first stop.
  TAdvGraphicsSVGElement* P = E->StrokePatternRef() ? E->StrokePatternRef() : F->StrokePatternRef();
  if (P) {
    if (P->HRefRef()) P = P->HRefRef();
    if (P->HasElements())
      for (const auto& s : P->Elements())
        if (s->Type() == etStop) {
          color = s->StopColor();
          alpha = s->StopOpacity() * s->StopColorAlpha();
          break;
        }
  }
  stroke->SetKind(color == -1 ? gskNone : gskSolid);
  stroke->SetColor(OverrideColor(color, CustomStrokeColor));
  stroke->SetOpacity(strokeOpacity * alpha);
}

Single TAdvGraphicsSVGImport::ApplyStrokeWidth(TAdvGraphicsSVGElement* S, TAdvGraphics* G,
                                              const TAdvGraphicsMatrix& M) {
  TAdvGraphicsSVGElement* F = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->StrokeWidthValue(); });
  // In user units, 1 unless specified; the canvas gets it at the drawing's
  // mean scale (the native route draws it under the whole transform).
  const Single width = F->HasStrokeWidth() ? std::max(0.0f, F->StrokeWidth()) : 1.0f;
  const double scale = std::sqrt(std::fabs(double(M.m11) * M.m22 - double(M.m12) * M.m21));
  G->Stroke()->SetWidth(std::isfinite(scale) ? Single(width * scale) : 0.0f);
  // A zero width draws no outline (a zero-width pen would draw a hairline).
  if (width == 0) G->Stroke()->SetKind(gskNone);
  return width;
}

void TAdvGraphicsSVGImport::DrawElements(TAdvGraphicsSVGElementList& AList, TAdvGraphics* G, Single ASX, Single ASY,
                                         int ADepth) {
  if (ADepth > kSVGDrawMaxDepth) return;
  for (const auto& owned : AList) {
    TAdvGraphicsSVGElement* E = owned.get();
    TAdvGraphicsSVGElement* S = E->ClassRef() ? E->ClassRef() : E;
    if (S->DisplayValue() == u"none") continue;
    std::unique_ptr<TAdvGraphicsSaveState> state = G->SaveState(false);
    try {
      const TAdvGraphicsMatrix M = MatrixMultiply(GetElementMatrix(E), FMatrix);
      const Single opacity = ElementOpacity(S, E);
      SVGDrawPaint paint;
      paint.Server = ApplyFill(S, E, G, M, opacity);
      ApplyStroke(S, E, G, opacity);
      paint.StrokeWidth = ApplyStrokeWidth(S, G, M);
      paint.EvenOdd =
          SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->FillRuleValue(); })->FillRuleValue() == u"evenodd";
      paint.View = ViewRect;
      if (TAdvGraphicsSVGElement* C = E->ClipPathRef()) {
        TAdvGraphicsPath clip;
        if (C->Type() == etClipPath) {
          // A clipPath element clips to all its shapes, each under its own transform.
          if (C->HasElements())
            for (const auto& child : C->Elements()) {
              TAdvGraphicsPath part;
              SVGDrawShapePath(child.get(), part);
              if (!IsMatrixEmpty(child->Matrix())) part.ApplyMatrix(child->Matrix());
              clip.AddPath(part);
            }
          if (!C->HasElements() || C->Elements().empty()) C = nullptr;
          else C = C->Elements().back().get();
        } else {
          SVGDrawShapePath(C, clip);
        }
        if (!C) C = E;
        auto* gp = G->Native() ? static_cast<gdiplus_runtime::TGPGraphics*>(G->Context()->NativeCanvas()) : nullptr;
        const TAdvGraphicsSVGElement* R = SVGDrawNearest(C, [](TAdvGraphicsSVGElement* x) { return x->ClipRuleValue(); });
        if (gp) {
          // Clips nest (each narrows the one around it) and follow clip-rule.
          clip.ApplyMatrix(M);
          if (auto native = SVGDrawToGPPath(clip, R->ClipRuleValue() == u"evenodd"))
            gp->SetClip(native.get(), CombineModeIntersect);
          else
            gp->SetClip(gdiplus_runtime::TGPRectF{0, 0, 0, 0}, CombineModeReplace);
        } else {
          clip.ApplyMatrix(M);
          G->Context()->ClipPath(&clip);
        }
      }
      switch (E->Type()) {
        case etContainer:
          if (E->HasElements()) DrawElements(E->Elements(), G, ASX, ASY, ADepth + 1);
          break;
        case etRect:
        case etLine:
        case etCircle:
        case etEllipse:
        case etPolyline:
        case etPolygon:
        case etPath: {
          if ((E->Type() == etPolyline || E->Type() == etPolygon || E->Type() == etPath) && !E->HasPaths()) break;
          TAdvGraphicsPath path;
          SVGDrawShapePath(E, path);
          if (path.Count() == 0 || !SVGDrawFiniteUnder(path, M) || SVGDrawNativePath(G, path, M, paint)) break;
          path.ApplyMatrix(M);
          G->DrawPath(&path, pdmPath);
          break;
        }
        case etImage:
          if (E->HasBitmap() && !IsBitmapEmpty(E->Bitmap())) DrawImage(E, G, M);
          break;
        case etText:
        case etTextSpan:
        case etTextSpanChild:
        case etTextPath:
          DrawText(E, G, M);
          if (E->HasElements()) DrawElements(E->Elements(), G, ASX, ASY, ADepth + 1);
          break;
        default:
          break;
      }
    } catch (...) {
      G->RestoreState(std::move(state), false);
      throw;
    }
    G->RestoreState(std::move(state), false);
  }
}

void TAdvGraphicsSVGImport::DrawImage(TAdvGraphicsSVGElement* E, TAdvGraphics* G, const TAdvGraphicsMatrix& M) {
  TGraphic* graphic = E->Bitmap()->Graphic();
  const Single gw = Single(graphic->Width()), gh = Single(graphic->Height());
  TRectF r = RectF(E->X(), E->Y(), E->X() + E->Width(), E->Y() + E->Height());
  if (!(r.Right > r.Left) || !(r.Bottom > r.Top) || !(gw > 0) || !(gh > 0)) return;
  if (E->PreserveAspectRatio() != parNone) {
    // Whole picture, aspect kept, centred.
    const Single s = std::min((r.Right - r.Left) / gw, (r.Bottom - r.Top) / gh);
    const Single dw = gw * s, dh = gh * s;
    const Single l = r.Left + Single(Round((r.Right - r.Left - dw) / 2));
    const Single t = r.Top + Single(Round((r.Bottom - r.Top - dh) / 2));
    r = RectF(l, t, l + dw, t + dh);
  }
  if (TAdvSVGImport* svg = E->Bitmap()->SVG()) {
    // An SVG picture draws its own elements into its rectangle, under the
    // image's whole transform (rotation and skew included).
    if (auto* doc = dynamic_cast<TAdvGraphicsSVGImport*>(svg); doc && doc != this) doc->DrawUnder(G, r, M);
    return;
  }
  const TAdvGraphicsMatrix saved = G->GetMatrix();
  G->SetMatrix(M);
  G->DrawBitmap(r, E->Bitmap(), false, true, false, false);
  G->SetMatrix(saved);
}

void TAdvGraphicsSVGImport::DrawText(TAdvGraphicsSVGElement* E, TAdvGraphics* G, const TAdvGraphicsMatrix& M) {
  if (E->Type() == etText) {
    TAdvGraphicsFont* font = G->Font();
    font->BeginUpdate();
    font->SetName(E->FontFamily().empty() ? String(u"Arial") : E->FontFamily());
    if (E->FontSize() != 0 && E->HasFontSize())
      TAdvUtils::SetFontSize(font, E->FontSize(), 1.0f);
    else
      font->SetSize(12);
    font->SetStyle(E->FontStyle());
    font->SetColor(E->FillColor() == -1 ? TColor(0) : E->FillColor());
    font->EndUpdate();
  }
  if (E->Text().empty()) return;
  const TAdvGraphicsMatrix saved = G->GetMatrix();
  G->SetMatrix(MatrixMultiply(M, FTextMatrix));
  const TAdvGraphicsSVGElement* pos =
      E->Type() == etTextSpanChild && E->Parent() && E->Parent()->Type() == etTextSpan ? E->Parent() : E;
  // The y coordinate is taken as the bottom of the text box.
  const Single h = G->CalculateTextHeight(E->Text());
  G->DrawText(TPointF{pos->X(), pos->Y() - h}, E->Text(), 0, true, false, -1, -1);
  G->SetMatrix(saved);
}
