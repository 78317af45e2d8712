// Drawing the SVG document on the vector canvas: the view transform, the walk
// over the elements and the paint set-up of each element.
#include <algorithm>
#include <cmath>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
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

bool SVGDrawFinitePath(const TAdvGraphicsPath& APath) {
  for (const TAdvGraphicsPathPoint& p : APath.PathData())
    if (!std::isfinite(p.Point.X) || !std::isfinite(p.Point.Y) || std::fabs(p.Point.X) > 1e7f ||
        std::fabs(p.Point.Y) > 1e7f)
      return false;
  return true;
}


ARGB SVGDrawARGB(TColor AColor, Single AOpacity) {
  const Integer a = Integer(Round(std::clamp(double(AOpacity), 0.0, 1.0) * 255));
  return ARGB(a) << 24 | ARGB(TAdvGraphics::GetColorRed(AColor)) << 16 |
         ARGB(TAdvGraphics::GetColorGreen(AColor)) << 8 | ARGB(TAdvGraphics::GetColorBlue(AColor));
}

// Solid fills and solid outlines go to the GDI+ graphics as one path with its
// curves (the context's path route flattens every curve into line calls,
// several times slower); anything else answers false for the canvas to draw.
bool SVGDrawNativePath(TAdvGraphics* G, const TAdvGraphicsPath& APath) {
  auto* gp = G->Native() ? static_cast<gdiplus_runtime::TGPGraphics*>(G->Context()->NativeCanvas()) : nullptr;
  TAdvGraphicsFill* fill = G->Fill();
  TAdvGraphicsStroke* stroke = G->Stroke();
  if (!gp || (fill->Kind() != gfkNone && fill->Kind() != gfkSolid) ||
      (stroke->Kind() != gskNone && stroke->Kind() != gskSolid))
    return false;
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
  if (points.empty()) return true;
  gdiplus_runtime::TGPGraphicsPath path(points.data(), types.data(), Integer(points.size()));
  if (fill->Kind() == gfkSolid && fill->Color() != gcNull) {
    gdiplus_runtime::TGPSolidBrush brush(SVGDrawARGB(fill->Color(), fill->Opacity()));
    gp->FillPath(&brush, &path);
  }
  if (stroke->Kind() == gskSolid && stroke->Color() != gcNull && stroke->Width() > 0) {
    gdiplus_runtime::TGPPen pen(SVGDrawARGB(stroke->Color(), stroke->Opacity()), stroke->Width());
    pen.SetLineCap(LineCapFlat, LineCapFlat, DashCapFlat);
    pen.SetLineJoin(LineJoinMiterClipped);
    pen.SetMiterLimit(4.0f);
    gp->DrawPath(&pen, &path);
  }
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
  const Single tx = ARoundOffset ? Single(std::floor(R.Left / ASX)) : R.Left / ASX;
  const Single ty = ARoundOffset ? Single(std::floor(R.Top / ASY)) : R.Top / ASY;
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

void TAdvGraphicsSVGImport::ApplyFill(TAdvGraphicsSVGElement* S, TAdvGraphicsSVGElement* E, TAdvGraphics* G,
                                      const TAdvGraphicsMatrix& M, Single AOpacity) {
  TAdvGraphicsFill* fill = G->Fill();
  TAdvGraphicsSVGElement* F = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->FillColorValue(); });
  TAdvGraphicsSVGElement* FO = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->FillOpacityValue(); });
  const Single fillOpacity = AOpacity * (FO->HasFillOpacity() ? FO->FillOpacity() : 1);
  // A url fill reaches the children of the element that names it.
  TAdvGraphicsSVGElement* P = E->PatternRef() ? E->PatternRef() : F->PatternRef();
  if (P) {
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
    return;
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

void TAdvGraphicsSVGImport::ApplyStrokeWidth(TAdvGraphicsSVGElement* S, TAdvGraphics* G, Single ASX) {
  TAdvGraphicsSVGElement* F = SVGDrawNearest(S, [](TAdvGraphicsSVGElement* x) { return x->StrokeWidthValue(); });
  const Single width = F->HasStrokeWidth() ? std::max(0.0f, F->StrokeWidth() * ASX) : 1.0f;
  G->Stroke()->SetWidth(width);
  // A zero width draws no outline (a zero-width pen would draw a hairline).
  if (width == 0) G->Stroke()->SetKind(gskNone);
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
      ApplyFill(S, E, G, M, opacity);
      ApplyStroke(S, E, G, opacity);
      ApplyStrokeWidth(S, G, ASX);
      if (TAdvGraphicsSVGElement* C = E->ClipPathRef()) {
        TAdvGraphicsPath clip;
        SVGDrawShapePath(C, clip);
        clip.ApplyMatrix(M);
        G->Context()->ClipPath(&clip);
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
          path.ApplyMatrix(M);
          if (path.Count() > 0 && SVGDrawFinitePath(path) && !SVGDrawNativePath(G, path)) G->DrawPath(&path, pdmPath);
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
    // An SVG picture draws its own elements: its rectangle in device space.
    TAdvGraphicsPath box;
    box.AddRectangle(r);
    box.ApplyMatrix(M);
    if (auto* doc = dynamic_cast<TAdvGraphicsSVGImport*>(svg); doc && doc != this)
      doc->Draw(G, box.GetBounds(), false, false);
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
