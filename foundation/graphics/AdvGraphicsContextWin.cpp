#include "foundation/graphics/AdvGraphicsContextWin.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPImage.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"
#include "foundation/graphics/AdvGraphics.h"
#include "foundation/svg/AdvSVGBitmap.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/ComStream.h"

using namespace gdiplus_runtime;

namespace {

class TGPNativePath : public TAdvGraphicsNativePath {
 public:
  explicit TGPNativePath(std::unique_ptr<TGPGraphicsPath> APath) : Path(std::move(APath)) {}
  std::unique_ptr<TGPGraphicsPath> Path;
};

TGPRectF GPRect(const TRectF& r) { return {r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top}; }

std::unique_ptr<TGPMatrix> GPMatrixOf(const TAdvGraphicsMatrix& m) {
  return std::unique_ptr<TGPMatrix>(new TGPMatrix(m.m11, m.m12, m.m21, m.m22, m.m31, m.m32));
}

std::unique_ptr<TGPGraphicsPath> NewPath() { return std::unique_ptr<TGPGraphicsPath>(new TGPGraphicsPath(FillModeAlternate)); }

// Appends P unless it repeats the polygon's last point within 0.001.
void ContextWinAppend(TAdvGraphicsPathPolygon& APolygon, const TPointF& P) {
  if (!APolygon.empty() && std::fabs(APolygon.back().X - P.X) < 0.001f && std::fabs(APolygon.back().Y - P.Y) < 0.001f)
    return;
  APolygon.push_back(P);
}

// The path's polygon at flatness 0.25 as the path itself flattens it, less
// the curve samples an anti-aliased edge cannot show. A curve is sampled
// every quarter pixel of its length, and the rasteriser pays for every
// vertex and join. Of those samples this keeps every k-th, k chosen so that
// the curve (and so every sample left out) stays within a twentieth of a
// pixel of the chord: a cubic strays from a chord spanning h of its
// parameter by at most h^2/8 times its largest second derivative. The kept
// points are the path's own samples, so the shape drawn is the same.
void ContextWinFlatten(const TAdvGraphicsPath& APath, TAdvGraphicsPathPolygon& APolygon) {
  constexpr double kTolerance = 0.05;
  APolygon.clear();
  const TAdvGraphicsPathPoints& points = APath.PathData();
  APolygon.reserve(points.size() * 2);
  TPointF current, start;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const TAdvGraphicsPathPoint& p = points[i];
    switch (p.Kind) {
      case gppMoveTo:
        ContextWinAppend(APolygon, p.Point);
        current = start = p.Point;
        break;
      case gppLineTo:
        ContextWinAppend(APolygon, p.Point);
        current = p.Point;
        break;
      case gppCurveTo: {
        if (i + 2 >= points.size()) {
          ContextWinAppend(APolygon, points.back().Point);
          i = points.size();
          break;
        }
        const TAdvGraphicsPathCubicBezier b{current, p.Point, points[i + 1].Point, points[i + 2].Point};
        const Integer n = TAdvGraphicsPath::CurvePointCount(b, 0.25f);
        if (n > 1) {
          // The coefficients and the stepping of the path's own sampling.
          const double cx = 3.0 * (double(b[1].X) - b[0].X), bx = 3.0 * (double(b[2].X) - b[1].X) - cx,
                       ax = double(b[3].X) - b[0].X - cx - bx;
          const double cy = 3.0 * (double(b[1].Y) - b[0].Y), by = 3.0 * (double(b[2].Y) - b[1].Y) - cy,
                       ay = double(b[3].Y) - b[0].Y - cy - by;
          // B''(t) = 6at + 2b is largest at an end of [0, 1].
          const double m = std::max(std::hypot(2 * bx, 2 * by), std::hypot(6 * ax + 2 * bx, 6 * ay + 2 * by));
          const double span = m > 0 ? std::sqrt(8 * kTolerance / m) * (n - 1) : double(n);
          const Integer stride = std::isfinite(span) ? Integer(std::clamp(span, 1.0, double(n))) : 1;
          const double dt = 1.0 / (n - 1);
          double t = 0;
          for (Integer k = 0; k < n; ++k) {
            if (k % stride == 0 || k == n - 1)
              ContextWinAppend(APolygon, TAdvGraphicsPath::PointOnBezier(b[0], ax, bx, cx, ay, by, cy, t));
            t += dt;
          }
        } else {
          ContextWinAppend(APolygon, current);
          ContextWinAppend(APolygon, b[3]);
        }
        current = b[3];
        i += 2;
        break;
      }
      case gppClose:
        ContextWinAppend(APolygon, start);
        break;
    }
  }
}

std::vector<TGPPointF> GPPoints(const TAdvGraphicsPathPolygon& APolygon) {
  std::vector<TGPPointF> points;
  points.reserve(APolygon.size());
  for (const TPointF& p : APolygon) points.push_back({p.X, p.Y});
  return points;
}

}  // namespace

// --- routines -------------------------------------------------------------------------

ARGB ColorToGPColor(TColor AColor, Single AOpacity) {
  const double a = double(AOpacity) * 255;
  // Out-of-range and NaN opacities must not spill into the colour bytes.
  const ARGB alpha = a >= 0 ? ARGB(std::min<Int64>(255, Round(std::min(a, 255.0)))) : 0;
  return (alpha << 24) | (ARGB(TAdvGraphics::GetColorRed(AColor)) << 16) |
         (ARGB(TAdvGraphics::GetColorGreen(AColor)) << 8) | ARGB(TAdvGraphics::GetColorBlue(AColor));
}

std::unique_ptr<TGPFont> CreateGPFont(TAdvGraphicsFont* AFont) {
  String name = AFont ? AFont->Name() : String();
  if (name.empty() || SameText(name, u"DEFAULT")) name = u"Arial";
  Single size = AFont ? Single(AFont->Size()) : 0;
  if (size == 0) size = 8;
  Integer style = FontStyleRegular;
  if (AFont) {
    const TFontStyles s = AFont->Style();
    if (s.Contains(fsBold)) style |= FontStyleBold;
    if (s.Contains(fsItalic)) style |= FontStyleItalic;
    if (s.Contains(fsUnderline)) style |= FontStyleUnderline;
    if (s.Contains(fsStrikeOut)) style |= FontStyleStrikeout;
  }
  return std::unique_ptr<TGPFont>(new TGPFont(name, size, style, UnitPoint, nullptr));
}

std::unique_ptr<TGPPen> CreateGPPen(TAdvGraphicsStroke* AStroke) {
  std::unique_ptr<TGPPen> pen(new TGPPen(ColorToGPColor(AStroke->Color(), AStroke->Opacity()), AStroke->Width()));
  if (!pen) return pen;
  switch (AStroke->Kind()) {
    case gskSolid: pen->SetDashStyle(DashStyleSolid); break;
    case gskDash: pen->SetDashStyle(DashStyleDash); break;
    case gskDot: pen->SetDashStyle(DashStyleDot); break;
    case gskDashDot: pen->SetDashStyle(DashStyleDashDot); break;
    case gskDashDotDot: pen->SetDashStyle(DashStyleDashDotDot); break;
    case gskNone: break;
  }
  pen->SetLineCap(LineCapFlat, LineCapFlat, DashCapFlat);
  pen->SetLineJoin(LineJoinMiterClipped);
  pen->SetMiterLimit(4.0f);
  return pen;
}

std::unique_ptr<TGPBrush> CreateFontBrush(TAdvGraphicsFont* AFont) {
  return std::unique_ptr<TGPBrush>(new TGPSolidBrush(ColorToGPColor(AFont ? AFont->Color() : clBlack, 1)));
}

std::unique_ptr<TGPStringFormat> CreateGPStringFormat(TAdvGraphicsTextAlign AHorizontal,
                                                      TAdvGraphicsTextAlign AVertical, bool AWordWrap,
                                                      bool AShowAccelerator, TAdvGraphicsTextTrimming ATrimming) {
  std::unique_ptr<TGPStringFormat> format(new TGPStringFormat(0, 0));
  if (!format) return format;
  auto align = [](TAdvGraphicsTextAlign a) {
    switch (a) {
      case gtaCenter: return StringAlignmentCenter;
      case gtaLeading: return StringAlignmentNear;
      case gtaTrailing: return StringAlignmentFar;
    }
    return StringAlignmentNear;
  };
  format->SetAlignment(align(AHorizontal));
  format->SetLineAlignment(align(AVertical));
  format->SetFormatFlags(StringFormatFlagsNoClip | (AWordWrap ? 0 : StringFormatFlagsNoWrap));
  if (ATrimming == gttCharacter) format->SetTrimming(StringTrimmingCharacter);
  if (ATrimming == gttWord) format->SetTrimming(StringTrimmingWord);
  format->SetHotkeyPrefix(AShowAccelerator ? HotkeyPrefixShow : HotkeyPrefixNone);
  return format;
}

std::unique_ptr<TGPBrush> CreateGPBrush(TAdvGraphicsFill* AFill, TGPGraphicsPath* APath) {
  TGPRectF bounds{};
  if (APath) APath->GetBounds(bounds);
  const TAdvGraphicsFillKind kind = AFill ? AFill->Kind() : gfkNone;
  if (kind == gfkSolid) return std::unique_ptr<TGPBrush>(new TGPSolidBrush(ColorToGPColor(AFill->Color(), AFill->Opacity())));
  // A radial gradient needs the path it fills.
  if (kind != gfkGradient || (AFill->GradientType() == gfgtRadial && !APath))
    return std::unique_ptr<TGPBrush>(new TGPSolidBrush(ColorToGPColor(gcNull, 0)));

  std::vector<ARGB> colors;
  std::vector<Single> positions;
  if (AFill->GradientMode() == gfgmDefault) {
    const Single o = AFill->Opacity();
    colors = {ColorToGPColor(AFill->Color(), o), ColorToGPColor(AFill->ColorTo(), o)};
    positions = {0, 1};
    if (AFill->ColorMirror() != gcNull && AFill->ColorMirrorTo() != gcNull) {
      colors.insert(colors.end(), {ColorToGPColor(AFill->ColorMirror(), o), ColorToGPColor(AFill->ColorMirrorTo(), o)});
      positions = {0, 0.5f, 0.5f, 1};
    }
  } else {
    bool at0 = false, at1 = false;
    for (TAdvGraphicsFillGradientItem* item : *AFill->GradientItems()) {
      colors.push_back(ColorToGPColor(item->Color(), item->Opacity()));
      positions.push_back(item->Position());
      at0 = at0 || item->Position() == 0;
      at1 = at1 || item->Position() == 1;
    }
    if (!colors.empty()) {
      if (!at0) {
        colors.insert(colors.begin(), colors.front());
        positions.insert(positions.begin(), 0);
      }
      if (!at1) {
        colors.push_back(colors.back());
        positions.push_back(1);
      }
    }
  }
  const Integer count = Integer(colors.size());
  std::unique_ptr<TGPMatrix> matrix = GPMatrixOf(AFill->GradientMatrix);

  if (AFill->GradientType() == gfgtLinear) {
    const TGPRectF r{bounds.X - 1, bounds.Y - 1, bounds.Width + 2, bounds.Height + 2};
    std::unique_ptr<TGPLinearGradientBrush> brush;
    switch (AFill->Orientation()) {
      case gfoHorizontal: brush.reset(new TGPLinearGradientBrush(r, 0, 0, LinearGradientModeHorizontal)); break;
      case gfoVertical: brush.reset(new TGPLinearGradientBrush(r, 0, 0, LinearGradientModeVertical)); break;
      case gfoCustom: brush.reset(new TGPLinearGradientBrush(r, 0, 0, AFill->GradientAngle(), false)); break;
    }
    if (brush) {
      if (count > 0) brush->SetInterpolationColors(colors.data(), positions.data(), count);
      brush->MultiplyTransform(matrix.get(), MatrixOrderPrepend);
    }
    return brush;
  }
  std::unique_ptr<TGPPathGradientBrush> brush(new TGPPathGradientBrush(APath));
  if (!brush) return brush;
  if (AFill->GradientCenterColor() != gcNull)
    brush->SetCenterColor(ColorToGPColor(AFill->GradientCenterColor(), AFill->Opacity()));
  const TPointF center = AFill->GradientCenterPoint();
  brush->SetCenterPoint(TGPPointF{center.X, center.Y});
  // A path gradient runs from the boundary to the centre: stops reversed.
  std::reverse(colors.begin(), colors.end());
  std::reverse(positions.begin(), positions.end());
  for (Single& p : positions) p = 1 - p;
  if (count > 0) brush->SetInterpolationColors(colors.data(), positions.data(), count);
  brush->SetTransform(matrix.get());
  return brush;
}

std::unique_ptr<TGPImage> CreateGPImage(TGraphic* ABitmap) {
  if (!ABitmap || ABitmap->Empty()) return nullptr;
  TBytes data;
  ABitmap->SaveToBytes(data);
  if (Int64(data.size()) > kMaxPictureData) throw Exception(u"Could not allocate memory for image");
  IStream* stream = SHCreateMemStream(data.data(), ULONG(data.size()));
  std::unique_ptr<TGPImage> image(new TGPImage(stream, false));
  stream->Release();
  if (!image || image->GetType() != ImageTypeBitmap) return image;
  // A 32-bit ARGB raster copy that no longer depends on the decoder's stream.
  // Copying the pixels across gives what drawing the image into a fresh
  // bitmap gives, without a painter on that bitmap for every picture.
  const Integer w = Integer(image->GetWidth()), h = Integer(image->GetHeight());
  GpBitmap* clone = nullptr;
  if (Api().GdipCloneBitmapAreaI(0, 0, w, h, PixelFormat32bppARGB, NativeOf(image.get()), &clone) == Ok && clone) {
    std::unique_ptr<TGPBitmap> copy(new TGPBitmap(clone));
    // A fresh bitmap's resolution, not the picture's.
    copy->SetResolution(96, 96);
    return copy;
  }
  std::unique_ptr<TGPImage> copy(new TGPBitmap(w, h, PixelFormat32bppARGB));
  if (!copy) return image;
  {
    TGPGraphics g(copy.get());
    g.DrawImage(image.get(), 0, 0, w, h);
  }
  return copy;
}

TAdvGraphicsContextClass NativeContextClass() {
  return [](TAdvGraphics* AGraphics) -> std::unique_ptr<TAdvGraphicsContext> {
    return std::make_unique<TAdvGraphicsContextWin>(AGraphics);
  };
}

// --- lifecycle ----------------------------------------------------------------------------

TAdvGraphicsContextWin::TAdvGraphicsContextWin(TAdvGraphics* AGraphics)
    : TAdvGraphicsContext(AGraphics),
      FScale(TAdvUtils::GetDPIScale(nullptr, -1)),
      FFont(std::make_unique<TAdvGraphicsFont>()),
      FFill(std::make_unique<TAdvGraphicsFill>(gfkSolid, clWhite, clGray)),
      FStroke(std::make_unique<TAdvGraphicsStroke>(gskSolid, clSilver)) {
  FFont->OnChanged = [this](TObject*) { FontChanged(); };
  FFill->OnChanged = [this](TObject*) { FillChanged(); };
  FStroke->OnChanged = [this](TObject*) { StrokeChanged(); };
}

TAdvGraphicsContextWin::~TAdvGraphicsContextWin() {
  Render();
  FFont->OnChanged = nullptr;
  FFill->OnChanged = nullptr;
  FStroke->OnChanged = nullptr;
  FTextMatrix.reset();
  FGPPen.reset();
  FGPBrush.reset();
  FGPFont.reset();
  ReleaseGraphics();
}

void* TAdvGraphicsContextWin::NativeCanvas() { return FGPGraphics.get(); }

TColor TAdvGraphicsContextWin::GetFillColor() {
  return Graphics() && Graphics()->Fill() ? Graphics()->Fill()->Color() : gcNull;
}

void TAdvGraphicsContextWin::SetSize(Single AWidth, Single AHeight) {
  FContextSize = {AWidth, AHeight};
  ReleaseGraphics();
  TCanvas* c = Canvas();
  if (!c) return;
  FGPGraphics = TGPGraphics::FromHDC(c->Handle());
  if (!FGPGraphics) return;
  FSaveGP = FGPGraphics->Save();
  // Pen and font belong to no surface; make them if no change has yet.
  if (!FGPPen) StrokeChanged();
  if (!FGPFont) FontChanged();
}

void TAdvGraphicsContextWin::ReleaseGraphics() {
  if (!FGPGraphics) return;
  FGPGraphics->Restore(FSaveGP);
  FGPGraphics.reset();
}

void TAdvGraphicsContextWin::Render() {
  if (!FNeedsRendering) return;
  FNeedsRendering = false;
  ReleaseGraphics();
}

void TAdvGraphicsContextWin::EndScene() {
  if (FGPGraphics) Render();
}

// --- state setters ---------------------------------------------------------------------

void TAdvGraphicsContextWin::FontChanged() { FGPFont = CreateGPFont(FFont.get()); }

void TAdvGraphicsContextWin::StrokeChanged() {
  FGPPen.reset();
  FGPPen = CreateGPPen(FStroke.get());
}

void TAdvGraphicsContextWin::FillChanged() {
  std::unique_ptr<TGPGraphicsPath> path = NewPath();
  if (path) path->AddRectangle(TGPRectF{0, 0, FContextSize.cx, FContextSize.cy});
  UpdateBrush(FFill.get(), path.get());
}

void TAdvGraphicsContextWin::UpdateBrush(TAdvGraphicsFill* AFill, TGPGraphicsPath* APath) {
  FGPBrush.reset();
  FGPBrush = CreateGPBrush(AFill, APath);
}

void TAdvGraphicsContextWin::SetFill(TAdvGraphicsFill* AFill) {
  if (FGPGraphics && AFill) FFill->Assign(AFill);
}
void TAdvGraphicsContextWin::SetFillKind(TAdvGraphicsFillKind AKind) {
  if (FGPGraphics) FFill->SetKind(AKind);
}
void TAdvGraphicsContextWin::SetFillColor(TColor AColor) {
  if (FGPGraphics) FFill->SetColor(AColor);
}
void TAdvGraphicsContextWin::SetStroke(TAdvGraphicsStroke* AStroke) {
  if (FGPGraphics && AStroke) FStroke->Assign(AStroke);
}
void TAdvGraphicsContextWin::SetStrokeKind(TAdvGraphicsStrokeKind AKind) {
  if (FGPGraphics) FStroke->SetKind(AKind);
}
void TAdvGraphicsContextWin::SetStrokeColor(TColor AColor) {
  if (FGPGraphics) FStroke->SetColor(AColor);
}
void TAdvGraphicsContextWin::SetStrokeWidth(Single AWidth) {
  if (FGPGraphics) FStroke->SetWidth(AWidth);
}
void TAdvGraphicsContextWin::SetFont(TAdvGraphicsFont* AFont) {
  if (FGPGraphics && AFont) FFont->Assign(AFont);
}
void TAdvGraphicsContextWin::SetFontColor(TColor AColor) {
  if (FGPGraphics) FFont->SetColor(AColor);
}
void TAdvGraphicsContextWin::SetFontName(const String& AName) {
  if (FGPGraphics) FFont->SetName(AName);
}
void TAdvGraphicsContextWin::SetFontSize(Integer ASize) {
  if (FGPGraphics) FFont->SetSize(ASize);
}
void TAdvGraphicsContextWin::SetFontStyles(TFontStyles AStyle) {
  if (FGPGraphics) FFont->SetStyle(AStyle);
}
void TAdvGraphicsContextWin::SetShowAcceleratorChar(bool AShowAcceleratorChar) {
  if (FGPGraphics) FShowAcceleratorChar = AShowAcceleratorChar;
}

void TAdvGraphicsContextWin::SetAntiAliasing(bool AAntiAliasing) {
  if (!FGPGraphics) return;
  FGPGraphics->Restore(FSaveGP);
  FGPGraphics->SetSmoothingMode(AAntiAliasing ? SmoothingModeAntiAlias : SmoothingModeDefault);
  FSaveGP = FGPGraphics->Save();
}

void TAdvGraphicsContextWin::SetTextQuality(TAdvGraphicsTextQuality ATextQuality) {
  if (!FGPGraphics) return;
  FGPGraphics->Restore(FSaveGP);
  switch (ATextQuality) {
    case gtqDefault: FGPGraphics->SetTextRenderingHint(TextRenderingHintSystemDefault); break;
    case gtqAntiAliasing: FGPGraphics->SetTextRenderingHint(TextRenderingHintAntiAlias); break;
    case gtqClearType: FGPGraphics->SetTextRenderingHint(TextRenderingHintClearTypeGridFit); break;
  }
  FSaveGP = FGPGraphics->Save();
}

// --- transforms, clipping, state ------------------------------------------------------------

void TAdvGraphicsContextWin::ResetTransform() {
  if (!FGPGraphics) return;
  FGPGraphics->Restore(FSaveGP);
  FSaveGP = FGPGraphics->Save();
}

void TAdvGraphicsContextWin::ScaleTransform(Single AX, Single AY) {
  if (FGPGraphics) FGPGraphics->ScaleTransform(AX, AY, MatrixOrderPrepend);
}
void TAdvGraphicsContextWin::RotateTransform(Single AAngle) {
  if (FGPGraphics) FGPGraphics->RotateTransform(AAngle, MatrixOrderPrepend);
}
void TAdvGraphicsContextWin::TranslateTransform(Single AX, Single AY) {
  if (FGPGraphics) FGPGraphics->TranslateTransform(AX, AY, MatrixOrderPrepend);
}

TAdvGraphicsMatrix TAdvGraphicsContextWin::GetMatrix() {
  TAdvGraphicsMatrix result = TAdvGraphicsMatrix::Identity();
  if (!FGPGraphics) return result;
  TGPMatrix m;
  TMatrixArray e{};
  if (FGPGraphics->GetTransform(&m) != Ok || m.GetElements(e) != Ok) return result;
  result.m11 = e[0];
  result.m12 = e[1];
  result.m21 = e[2];
  result.m22 = e[3];
  result.m31 = e[4];
  result.m32 = e[5];
  return result;
}

void TAdvGraphicsContextWin::SetMatrix(const TAdvGraphicsMatrix& AMatrix) {
  if (!FGPGraphics) return;
  std::unique_ptr<TGPMatrix> m = GPMatrixOf(AMatrix);
  FGPGraphics->SetTransform(m.get());
}

void TAdvGraphicsContextWin::ClipRect(const TRectF& ARect) {
  if (FGPGraphics) FGPGraphics->SetClip(GPRect(ARect), CombineModeReplace);
}

void TAdvGraphicsContextWin::ClipPath(TAdvGraphicsPath* APath) {
  if (!FGPGraphics) return;
  std::unique_ptr<TAdvGraphicsNativePath> native = ConvertToPath(APath, 0.25f);
  FGPGraphics->SetClip(NativeOf(native.get()), CombineModeReplace);
}

void TAdvGraphicsContextWin::ResetClip() {
  if (FGPGraphics) FGPGraphics->ResetClip();
}

void TAdvGraphicsContextWin::SaveState(TAdvGraphicsSaveState* AState) {
  if (FGPGraphics && AState) AState->SetCustomSaveDC(FGPGraphics->Save());
}

void TAdvGraphicsContextWin::RestoreState(TAdvGraphicsSaveState* AState) {
  if (FGPGraphics && AState) FGPGraphics->Restore(GraphicsState(AState->CustomSaveDC()));
}

// --- path commands ---------------------------------------------------------------------------

TGPGraphicsPath* TAdvGraphicsContextWin::NativeOf(TAdvGraphicsNativePath* APath) {
  auto* native = dynamic_cast<TGPNativePath*>(APath);
  return native ? native->Path.get() : nullptr;
}

std::unique_ptr<TAdvGraphicsNativePath> TAdvGraphicsContextWin::CreatePath() {
  std::unique_ptr<TGPGraphicsPath> path = NewPath();
  if (!path) return nullptr;
  return std::make_unique<TGPNativePath>(std::move(path));
}

void TAdvGraphicsContextWin::PathOpen(TAdvGraphicsNativePath* APath) {
  if (TGPGraphicsPath* p = NativeOf(APath)) p->StartFigure();
}

void TAdvGraphicsContextWin::PathMoveTo(TAdvGraphicsNativePath*, const TPointF& APoint) { FMovePoint = APoint; }

void TAdvGraphicsContextWin::PathLineTo(TAdvGraphicsNativePath* APath, const TPointF& APoint) {
  if (TGPGraphicsPath* p = NativeOf(APath)) p->AddLine(FMovePoint.X, FMovePoint.Y, APoint.X, APoint.Y);
  FMovePoint = APoint;
}

void TAdvGraphicsContextWin::PathClose(TAdvGraphicsNativePath* APath) {
  if (TGPGraphicsPath* p = NativeOf(APath)) p->CloseFigure();
}

// --- outlines ----------------------------------------------------------------------------------

bool TAdvGraphicsContextWin::SuspendSmoothing() {
  // Dashes are drawn without anti-aliasing, so they stay crisp.
  if (!FGPPen || FGPPen->GetDashStyle() == DashStyleSolid) return false;
  FSmoothingMode = FGPGraphics->GetSmoothingMode();
  FGPGraphics->SetSmoothingMode(SmoothingModeDefault);
  return true;
}

void TAdvGraphicsContextWin::ResumeSmoothing(bool ASuspended) {
  if (ASuspended) FGPGraphics->SetSmoothingMode(GpSmoothingMode(FSmoothingMode));
}

void TAdvGraphicsContextWin::DrawLine(TAdvGraphicsStroke*, const TPointF& AFromPoint, const TPointF& AToPoint,
                                      TAdvGraphicsModifyPointMode, TAdvGraphicsModifyPointMode) {
  if (!FGPGraphics) return;
  const bool suspended = SuspendSmoothing();
  FGPGraphics->DrawLine(FGPPen.get(), AFromPoint.X, AFromPoint.Y, AToPoint.X, AToPoint.Y);
  ResumeSmoothing(suspended);
}

void TAdvGraphicsContextWin::DrawPolygon(TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& APolygon) {
  if (!FGPGraphics || APolygon.empty()) return;
  const std::vector<TGPPointF> points = GPPoints(APolygon);
  const bool suspended = SuspendSmoothing();
  FGPGraphics->DrawPolygon(FGPPen.get(), points.data(), Integer(points.size()));
  ResumeSmoothing(suspended);
}

void TAdvGraphicsContextWin::DrawPolyline(TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& APolyline) {
  if (!FGPGraphics || APolyline.empty()) return;
  const std::vector<TGPPointF> points = GPPoints(APolyline);
  const bool suspended = SuspendSmoothing();
  FGPGraphics->DrawLines(FGPPen.get(), points.data(), Integer(points.size()));
  ResumeSmoothing(suspended);
}

void TAdvGraphicsContextWin::DrawArc(TAdvGraphicsStroke*, const TPointF& ACenter, const TPointF& ARadius,
                                     Single AStartAngle, Single ASweepAngle) {
  if (!FGPGraphics) return;
  const bool suspended = SuspendSmoothing();
  FGPGraphics->DrawArc(FGPPen.get(), ACenter.X - ARadius.X, ACenter.Y - ARadius.Y, 2 * ARadius.X, 2 * ARadius.Y,
                       AStartAngle, ASweepAngle);
  ResumeSmoothing(suspended);
}

void TAdvGraphicsContextWin::DrawEllipse(TAdvGraphicsStroke*, const TRectF& ARect, TAdvGraphicsModifyRectMode) {
  if (!FGPGraphics) return;
  const bool suspended = SuspendSmoothing();
  FGPGraphics->DrawEllipse(FGPPen.get(), ARect.Left, ARect.Top, ARect.Right - 1 - ARect.Left,
                           ARect.Bottom - 1 - ARect.Top);
  ResumeSmoothing(suspended);
}

void TAdvGraphicsContextWin::DrawRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TAdvGraphicsSides ASides,
                                      TAdvGraphicsModifyRectMode) {
  if (!FGPGraphics) return;
  const Single L = ARect.Left, T = ARect.Top, R1 = ARect.Right - 1, B1 = ARect.Bottom - 1;
  if (ASides.Contains(gsTop)) DrawLine(AStroke, {L, T}, {R1, T});
  if (ASides.Contains(gsLeft)) DrawLine(AStroke, {L, T}, {L, B1});
  if (ASides.Contains(gsBottom)) DrawLine(AStroke, {L, B1}, {R1, B1});
  if (ASides.Contains(gsRight)) DrawLine(AStroke, {R1, T}, {R1, B1});
}

void TAdvGraphicsContextWin::DrawRoundRect(TAdvGraphicsStroke*, const TRectF& ARect, Single ARounding,
                                           TAdvGraphicsCorners ACorners, TAdvGraphicsModifyRectMode) {
  if (!FGPGraphics) return;
  TAdvGraphicsPath path;
  path.AddRoundRectangle({ARect.Left, ARect.Top, ARect.Right - 1, ARect.Bottom - 1}, ARounding, ARounding, ACorners);
  DrawPath(FStroke.get(), &path, pdmPolygon);
}

void TAdvGraphicsContextWin::DrawPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath,
                                      TAdvGraphicsPathDrawMode APathMode) {
  if (!FGPGraphics || !APath) return;
  if (APathMode == pdmPath) {
    std::unique_ptr<TAdvGraphicsNativePath> native = ConvertToPath(APath, 0.25f);
    const bool suspended = SuspendSmoothing();
    FGPGraphics->DrawPath(FGPPen.get(), NativeOf(native.get()));
    ResumeSmoothing(suspended);
    return;
  }
  TAdvGraphicsPathPolygon polygon;
  ContextWinFlatten(*APath, polygon);
  if (APathMode == pdmPolygon)
    DrawPolygon(AStroke, polygon);
  else
    DrawPolyline(AStroke, polygon);
}

void TAdvGraphicsContextWin::DrawFocusPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath, TColor AColor) {
  if (!FGPGraphics || !FGPPen) return;
  const GpSmoothingMode smoothing = FGPGraphics->GetSmoothingMode();
  const GpDashStyle dash = FGPPen->GetDashStyle();
  const Single width = FGPPen->GetWidth();
  ARGB color = 0;
  FGPPen->GetColor(color);
  FGPGraphics->SetSmoothingMode(SmoothingModeDefault);
  FGPPen->SetDashStyle(DashStyleDot);
  FGPPen->SetWidth(1);
  FGPPen->SetColor(ColorToGPColor(AColor, 1));
  DrawPath(AStroke, APath, pdmPolygon);
  FGPPen->SetWidth(width);
  FGPPen->SetDashStyle(dash);
  FGPPen->SetColor(color);
  FGPGraphics->SetSmoothingMode(smoothing);
}

void TAdvGraphicsContextWin::DrawFocusRectangle(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TColor AColor,
                                                TAdvGraphicsModifyRectMode AModifyRectMode) {
  if (!FGPGraphics || !FGPPen) return;
  const GpSmoothingMode smoothing = FGPGraphics->GetSmoothingMode();
  const GpDashStyle dash = FGPPen->GetDashStyle();
  const Single width = FGPPen->GetWidth();
  ARGB color = 0;
  FGPPen->GetColor(color);
  FGPGraphics->SetSmoothingMode(SmoothingModeDefault);
  FGPPen->SetDashStyle(DashStyleDot);
  FGPPen->SetWidth(1);
  FGPPen->SetColor(ColorToGPColor(AColor, 1));
  DrawRect(AStroke, ARect, AllGraphicsSides, AModifyRectMode);
  FGPPen->SetWidth(width);
  FGPPen->SetDashStyle(dash);
  FGPPen->SetColor(color);
  FGPGraphics->SetSmoothingMode(smoothing);
}

// --- fills ----------------------------------------------------------------------------------------

void TAdvGraphicsContextWin::FillNativePath(TGPGraphicsPath* APath) {
  if (!APath) return;
  UpdateBrush(FFill.get(), APath);
  FGPGraphics->FillPath(FGPBrush.get(), APath);
}

void TAdvGraphicsContextWin::FillRect(TAdvGraphicsFill*, const TRectF& ARect, TAdvGraphicsModifyRectMode) {
  if (!FGPGraphics) return;
  std::unique_ptr<TGPGraphicsPath> path = NewPath();
  if (path) path->AddRectangle(GPRect(ARect));
  FillNativePath(path.get());
}

void TAdvGraphicsContextWin::FillEllipse(TAdvGraphicsFill*, const TRectF& ARect, TAdvGraphicsModifyRectMode) {
  if (!FGPGraphics) return;
  std::unique_ptr<TGPGraphicsPath> path = NewPath();
  if (path) path->AddEllipse(GPRect(ARect));
  FillNativePath(path.get());
}

void TAdvGraphicsContextWin::FillArc(TAdvGraphicsFill*, const TPointF& ACenter, const TPointF& ARadius,
                                     Single AStartAngle, Single ASweepAngle) {
  if (!FGPGraphics) return;
  std::unique_ptr<TGPGraphicsPath> path = NewPath();
  if (path)
    path->AddArc(ACenter.X - ARadius.X, ACenter.Y - ARadius.Y, 2 * ARadius.X, 2 * ARadius.Y, AStartAngle,
                 ASweepAngle);
  FillNativePath(path.get());
}

void TAdvGraphicsContextWin::FillPolygon(TAdvGraphicsFill*, const TAdvGraphicsPathPolygon& APolygon) {
  if (!FGPGraphics || APolygon.empty()) return;
  const std::vector<TGPPointF> points = GPPoints(APolygon);
  std::unique_ptr<TGPGraphicsPath> path = NewPath();
  if (path) path->AddPolygon(points.data(), Integer(points.size()));
  FillNativePath(path.get());
}

void TAdvGraphicsContextWin::FillPolyline(TAdvGraphicsFill* AFill, const TAdvGraphicsPathPolygon& APolyline) {
  FillPolygon(AFill, APolyline);
}

void TAdvGraphicsContextWin::FillRoundRect(TAdvGraphicsFill*, const TRectF& ARect, Single ARounding,
                                           TAdvGraphicsCorners ACorners, TAdvGraphicsModifyRectMode) {
  if (!FGPGraphics) return;
  TAdvGraphicsPath path;
  path.AddRoundRectangle(ARect, ARounding, ARounding, ACorners);
  FillPath(FFill.get(), &path, pdmPolygon);
}

void TAdvGraphicsContextWin::FillPath(TAdvGraphicsFill* AFill, TAdvGraphicsPath* APath,
                                      TAdvGraphicsPathDrawMode APathMode) {
  if (!FGPGraphics || !APath) return;
  if (APathMode == pdmPath) {
    std::unique_ptr<TAdvGraphicsNativePath> native = ConvertToPath(APath, 0.25f);
    FillNativePath(NativeOf(native.get()));
    return;
  }
  TAdvGraphicsPathPolygon polygon;
  ContextWinFlatten(*APath, polygon);
  if (APathMode == pdmPolygon)
    FillPolygon(AFill, polygon);
  else
    FillPolyline(AFill, polygon);
}

// --- pictures and text ---------------------------------------------------------------------------

void TAdvGraphicsContextWin::DrawBitmap(TGraphic* ABitmap, const TRectF&, const TRectF& ADstRect, Single) {
  if (!FGPGraphics || !ABitmap) return;
  std::unique_ptr<TGPImage> image = CreateGPImage(ABitmap);
  if (!image) return;
  FGPGraphics->DrawImage(image.get(), ADstRect.Left, ADstRect.Top, ADstRect.Right - ADstRect.Left,
                         ADstRect.Bottom - ADstRect.Top);
}

TRectF TAdvGraphicsContextWin::CalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping) {
  if (!FGPGraphics) return {};
  std::unique_ptr<TGPStringFormat> format =
      CreateGPStringFormat(gtaLeading, gtaLeading, AWordWrapping, FShowAcceleratorChar, gttNone);
  TGPRectF box{};
  FGPGraphics->MeasureString(AText, -1, FGPFont.get(), GPRect(ARect), format.get(), box);
  return {box.X, box.Y, box.X + box.Width, box.Y + box.Height};
}

void TAdvGraphicsContextWin::DrawText(const String& AText, const TRectF& ARect, bool AWordWrapping,
                                      TAdvGraphicsTextAlign AHorizontalAlign, TAdvGraphicsTextAlign AVerticalAlign,
                                      TAdvGraphicsTextTrimming ATrimming, Single) {
  if (!FGPGraphics) return;
  std::unique_ptr<TGPBrush> brush = CreateFontBrush(FFont.get());
  std::unique_ptr<TGPStringFormat> format =
      CreateGPStringFormat(AHorizontalAlign, AVerticalAlign, AWordWrapping, FShowAcceleratorChar, ATrimming);
  FGPGraphics->DrawString(AText, -1, FGPFont.get(), GPRect(ARect), format.get(), brush.get());
}

TRectF TAdvGraphicsContextWin::SetTextAngle(const TRectF& ARect, Single AAngle) {
  if (!FGPGraphics || AAngle == 0) return ARect;
  FTextMatrix.reset(new TGPMatrix());
  if (FTextMatrix) FGPGraphics->GetTransform(FTextMatrix.get());
  const Single w = ARect.Right - ARect.Left, h = ARect.Bottom - ARect.Top;
  TGPMatrix m;
  m.Translate(ARect.Left + w / 2, ARect.Top + h / 2, MatrixOrderPrepend);
  m.Rotate(AAngle, MatrixOrderPrepend);
  FGPGraphics->MultiplyTransform(&m, MatrixOrderPrepend);
  if (h <= w) return {-w / 2, -h / 2, w / 2, h / 2};
  return {-h / 2, -w / 2, h / 2, w / 2};
}

void TAdvGraphicsContextWin::ResetTextAngle(Single AAngle) {
  if (!FGPGraphics || AAngle == 0 || !FTextMatrix) return;
  FGPGraphics->SetTransform(FTextMatrix.get());
  FTextMatrix.reset();
}
