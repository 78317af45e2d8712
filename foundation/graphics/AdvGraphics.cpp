#include "foundation/graphics/AdvGraphics.h"

#include <algorithm>
#include <cmath>

#include "foundation/graphics/AdvGraphicsContextGeneral.h"
#include "foundation/graphics/AdvGraphicsContextWin.h"
#include "foundation/graphics/AdvGraphicsHTML.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/pictures/PictureContainer.h"
#include "foundation/svg/AdvBitmap.h"
#include "foundation/svg/AdvScaledBitmaps.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Bitmap.h"

namespace {

// Holds the setters' re-entry counter up for one call.
class TAdvGraphicsBlock {
 public:
  explicit TAdvGraphicsBlock(Integer& ACounter) : FCounter(ACounter) { ++FCounter; }
  ~TAdvGraphicsBlock() { --FCounter; }
  TAdvGraphicsBlock(const TAdvGraphicsBlock&) = delete;
  TAdvGraphicsBlock& operator=(const TAdvGraphicsBlock&) = delete;

 private:
  Integer& FCounter;
};

TColor AdvGraphicsResolvedColor(TColor AColor) { return AColor == gcNull ? 0 : ColorToRGB(AColor); }

TAdvGraphicsDefaultColors& AdvGraphicsDefaultColorsVar() {
  static TAdvGraphicsDefaultColors colors;
  return colors;
}

TRectF AdvGraphicsRectF(const TRect& R) { return {Single(R.Left), Single(R.Top), Single(R.Right), Single(R.Bottom)}; }

bool AdvGraphicsIsSVG(TPicture* APicture) {
  auto* svg = APicture ? dynamic_cast<TAdvSVGBitmap*>(APicture->Graphic()) : nullptr;
  return svg && svg->HasSVG();
}

}  // namespace

const TAdvGraphicsDefaultColors& AdvGraphicsDefaultColors() { return AdvGraphicsDefaultColorsVar(); }

void InitializeAdvGraphicsUnit() { TAdvGraphics::SetDefaultGraphicColors(); }

// --- life cycle -----------------------------------------------------------------------

TAdvGraphics::TAdvGraphics(TCanvas* ACanvas, bool ANative) : FActiveCanvas(ACanvas), FNative(ANative) { Init(); }

TAdvGraphics::TAdvGraphics(TCanvas* ACanvas, bool ANative, std::unique_ptr<TBitmap> ABitmap)
    : FActiveCanvas(ACanvas), FNative(ANative), FBitmap(std::move(ABitmap)) {
  Init();
}

TAdvGraphics::TAdvGraphics(TCanvas* ACanvas, TAdvGraphicsContextClass AContextClass)
    : FActiveCanvas(ACanvas), FNative(false), FContextClass(AContextClass) {
  Init();
}

void TAdvGraphics::Init() {
  if (FNative)
    FContextNative = NativeContextClass()(this);
  else if (FContextClass)
    FContextGeneral = FContextClass(this);
  else
    FContextGeneral = std::make_unique<TAdvGraphicsContextGeneral>(this);
  FFill = std::make_unique<TAdvGraphicsFill>(gfkSolid, clWhite, clGray);
  FStroke = std::make_unique<TAdvGraphicsStroke>(gskSolid, clSilver);
  FFont = std::make_unique<TAdvGraphicsFont>();
  FFill->OnChanged = [this](TObject*) { SetFill(FFill.get()); };
  FStroke->OnChanged = [this](TObject*) { SetStroke(FStroke.get()); };
  FFont->OnChanged = [this](TObject*) { SetFont(FFont.get()); };
  TAdvGraphicsContext* context = Context();
  if (FBitmap)
    context->SetSize(Single(FBitmap->Width()), Single(FBitmap->Height()));
  else
    context->SetSize(1, 1);
  context->SetFill(FFill.get());
  context->SetStroke(FStroke.get());
  context->SetFont(FFont.get());
}

TAdvGraphics::~TAdvGraphics() {
  // The contexts go first: the GDI+ one renders on its way out.
  FContextNative.reset();
  FContextGeneral.reset();
  FFill->OnChanged = nullptr;
  FStroke->OnChanged = nullptr;
  FFont->OnChanged = nullptr;
}

std::unique_ptr<TAdvGraphics> TAdvGraphics::CreateNative(TCanvas* ACanvas) {
  return std::make_unique<TAdvGraphics>(ACanvas, true);
}

std::unique_ptr<TAdvGraphics> TAdvGraphics::CreateBitmapCanvas(Integer AWidth, Integer AHeight, bool ANative, bool) {
  auto bitmap = std::make_unique<TBitmap>(std::max(0, AWidth), std::max(0, AHeight));
  TCanvas* canvas = bitmap->Canvas();
  // Bitmap canvases get the same readable highlight colours as any other.
  return std::unique_ptr<TAdvGraphics>(new TAdvGraphics(canvas, ANative, std::move(bitmap)));
}

std::unique_ptr<TAdvGraphics> TAdvGraphics::CreateNativeBitmapCanvas(Integer AWidth, Integer AHeight) {
  return CreateBitmapCanvas(AWidth, AHeight, true, true);
}

// --- matrix, scenes, state -------------------------------------------------------------

TAdvGraphicsMatrix TAdvGraphics::GetMatrix() { return Context()->GetMatrix(); }
void TAdvGraphics::SetMatrix(const TAdvGraphicsMatrix& AMatrix) { Context()->SetMatrix(AMatrix); }
void TAdvGraphics::BeginPrinting() { Context()->BeginPrinting(); }
void TAdvGraphics::EndPrinting() { Context()->EndPrinting(); }
void TAdvGraphics::BeginScene() { Context()->BeginScene(); }
void TAdvGraphics::EndScene() { Context()->EndScene(); }
void TAdvGraphics::StartSpecialPen() { Context()->StartSpecialPen(); }
void TAdvGraphics::StopSpecialPen() { Context()->StopSpecialPen(); }
void TAdvGraphics::ClipRect(const TRectF& ARect) { Context()->ClipRect(ARect); }
void TAdvGraphics::ClipRect(const TRect& ARect) { ClipRect(AdvGraphicsRectF(ARect)); }

void TAdvGraphics::Assign(TAdvGraphics* Source) {
  if (!Source) return;
  FFill->BeginUpdate();
  FFill->Assign(Source->Fill());
  FFill->EndUpdate();
  FStroke->BeginUpdate();
  FStroke->Assign(Source->Stroke());
  FStroke->EndUpdate();
  FFont->BeginUpdate();
  FFont->AssignSource(Source->Font());
  FFont->EndUpdate();
}

std::unique_ptr<TAdvGraphicsSaveState> TAdvGraphics::SaveState(bool ACanvasOnly) {
  auto state = std::make_unique<TAdvGraphicsSaveState>();
  if (!ACanvasOnly) {
    state->SetFill(FFill.get());
    state->SetStroke(FStroke.get());
    state->SetFont(FFont.get());
  }
  Context()->SaveState(state.get());
  return state;
}

void TAdvGraphics::RestoreState(std::unique_ptr<TAdvGraphicsSaveState> AState, bool ACanvasOnly) {
  if (!AState) return;
  if (!ACanvasOnly) {
    SetFill(AState->Fill());
    SetStroke(AState->Stroke());
    SetFont(AState->Font());
  }
  Context()->RestoreState(AState.get());
}

// --- setters ---------------------------------------------------------------------------

template <class TApply>
void TAdvGraphics::WhileUnblocked(TApply AApply) {
  if (FBlockUpdate > 0) return;
  TAdvGraphicsBlock block(FBlockUpdate);
  AApply();
}

void TAdvGraphics::SetFill(TAdvGraphicsFill* AFill) {
  if (!AFill) return;
  WhileUnblocked([&] {
    Context()->SetFill(AFill);
    if (AFill != FFill.get()) FFill->Assign(AFill);
  });
}

void TAdvGraphics::SetStroke(TAdvGraphicsStroke* AStroke) {
  if (!AStroke) return;
  WhileUnblocked([&] {
    Context()->SetStroke(AStroke);
    if (AStroke != FStroke.get()) FStroke->Assign(AStroke);
  });
}

void TAdvGraphics::SetFont(TAdvGraphicsFont* AFont) {
  if (!AFont) return;
  WhileUnblocked([&] {
    Context()->SetFont(AFont);
    if (AFont != FFont.get()) FFont->AssignSource(AFont);
  });
}

void TAdvGraphics::SetFillKind(TAdvGraphicsFillKind AKind) {
  WhileUnblocked([&] {
    Context()->SetFillKind(AKind);
    FFill->SetKind(AKind);
  });
}

void TAdvGraphics::SetFillColor(TColor AColor) {
  WhileUnblocked([&] {
    Context()->SetFillColor(AColor);
    FFill->SetColor(AColor);
  });
}

void TAdvGraphics::SetFontColor(TColor AColor) {
  WhileUnblocked([&] {
    Context()->SetFontColor(AColor);
    FFont->SetColor(AColor);
  });
}

void TAdvGraphics::SetFontName(const String& AName) {
  WhileUnblocked([&] {
    Context()->SetFontName(AName);
    FFont->SetName(AName);
  });
}

void TAdvGraphics::SetFontSize(Integer ASize) {
  WhileUnblocked([&] {
    Context()->SetFontSize(ASize);
    FFont->SetSize(ASize);
  });
}

void TAdvGraphics::SetFontStyles(TFontStyles AStyle) {
  WhileUnblocked([&] {
    Context()->SetFontStyles(AStyle);
    FFont->SetStyle(AStyle);
  });
}

void TAdvGraphics::SetStrokeKind(TAdvGraphicsStrokeKind AKind) {
  WhileUnblocked([&] {
    Context()->SetStrokeKind(AKind);
    FStroke->SetKind(AKind);
  });
}

void TAdvGraphics::SetStrokeColor(TColor AColor) {
  WhileUnblocked([&] {
    Context()->SetStrokeColor(AColor);
    FStroke->SetColor(AColor);
  });
}

void TAdvGraphics::SetStrokeWidth(Single AWidth) {
  WhileUnblocked([&] {
    Context()->SetStrokeWidth(AWidth);
    FStroke->SetWidth(AWidth);
  });
}

// --- lines and shapes ------------------------------------------------------------------

bool TAdvGraphics::FillActive(bool ATextureToo) const {
  if (ATextureToo && FFill->Kind() == gfkTexture) return true;
  return FFill->Color() != gcNull && FFill->Kind() != gfkNone;
}

bool TAdvGraphics::StrokeActive() const { return FStroke->Color() != gcNull && FStroke->Kind() != gskNone; }

void TAdvGraphics::DrawLine(const TPointF& AFromPoint, const TPointF& AToPoint,
                            TAdvGraphicsModifyPointMode AModifyPointModeFrom,
                            TAdvGraphicsModifyPointMode AModifyPointModeTo) {
  if (StrokeActive()) Context()->DrawLine(FStroke.get(), AFromPoint, AToPoint, AModifyPointModeFrom, AModifyPointModeTo);
}

void TAdvGraphics::DrawLine(const TPoint& AFromPoint, const TPoint& AToPoint,
                            TAdvGraphicsModifyPointMode AModifyPointModeFrom,
                            TAdvGraphicsModifyPointMode AModifyPointModeTo) {
  DrawLine(PointF(Single(AFromPoint.X), Single(AFromPoint.Y)), PointF(Single(AToPoint.X), Single(AToPoint.Y)),
           AModifyPointModeFrom, AModifyPointModeTo);
}

void TAdvGraphics::DrawFocusRectangle(double ALeft, double ATop, double ARight, double ABottom, TColor AColor,
                                      TAdvGraphicsModifyRectMode AModifyRectMode) {
  Context()->DrawFocusRectangle(FStroke.get(), RectF(Single(ALeft), Single(ATop), Single(ARight), Single(ABottom)),
                                AColor, AModifyRectMode);
}

void TAdvGraphics::DrawFocusRectangle(const TRectF& ARect, TColor AColor, TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawFocusRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, AColor, AModifyRectMode);
}

void TAdvGraphics::DrawFocusRectangle(const TRect& ARect, TColor AColor, TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawFocusRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, AColor, AModifyRectMode);
}

void TAdvGraphics::DrawFocusPath(TAdvGraphicsPath* APath, TColor AColor) {
  if (APath) Context()->DrawFocusPath(FStroke.get(), APath, AColor);
}

namespace {
TRectF AdvGraphicsPolygonBounds(const TAdvGraphicsPathPolygon& APolygon) {
  TAdvGraphicsPath path;
  path.AddPolygon(APolygon);
  return path.GetBounds();
}
}  // namespace

void TAdvGraphics::DrawPolygon(const TAdvGraphicsPathPolygon& APolygon) {
  if (FillActive(true)) {
    if (FFill->Kind() == gfkTexture)
      DrawTexture(AdvGraphicsPolygonBounds(APolygon), FFill.get());
    else
      Context()->FillPolygon(FFill.get(), APolygon);
  }
  if (StrokeActive()) Context()->DrawPolygon(FStroke.get(), APolygon);
}

void TAdvGraphics::DrawPolyline(const TAdvGraphicsPathPolygon& APolyline) {
  if (FillActive(false)) Context()->FillPolyline(FFill.get(), APolyline);
  if (StrokeActive()) Context()->DrawPolyline(FStroke.get(), APolyline);
}

void TAdvGraphics::DrawPath(TAdvGraphicsPath* APath, TAdvGraphicsPathDrawMode APathMode) {
  if (!APath) return;
  if (FillActive(true)) {
    if (FFill->Kind() == gfkTexture)
      DrawTexture(APath->GetBounds(), FFill.get());
    else
      Context()->FillPath(FFill.get(), APath, APathMode);
  }
  if (StrokeActive()) Context()->DrawPath(FStroke.get(), APath, APathMode);
}

void TAdvGraphics::DrawArc(const TPointF& ACenter, const TPointF& ARadius, Single AStartAngle, Single ASweepAngle) {
  if (FillActive(false)) {
    if (FFill->Kind() == gfkTexture) {
      TAdvGraphicsPath path;
      path.AddArc(ACenter, ARadius, AStartAngle, ASweepAngle);
      DrawTexture(path.GetBounds(), FFill.get());
    } else {
      Context()->FillArc(FFill.get(), ACenter, ARadius, AStartAngle, ASweepAngle);
    }
  }
  if (StrokeActive()) Context()->DrawArc(FStroke.get(), ACenter, ARadius, AStartAngle, ASweepAngle);
}

void TAdvGraphics::DrawArc(const TPoint& ACenter, const TPoint& ARadius, Integer AStartAngle, Integer ASweepAngle) {
  DrawArc(PointF(Single(ACenter.X), Single(ACenter.Y)), PointF(Single(ARadius.X), Single(ARadius.Y)),
          Single(AStartAngle), Single(ASweepAngle));
}

void TAdvGraphics::DrawRectangle(double ALeft, double ATop, double ARight, double ABottom, TAdvGraphicsSides ASides,
                                 TAdvGraphicsModifyRectMode AModifyRectMode) {
  const TRectF r = RectF(Single(ALeft), Single(ATop), Single(ARight), Single(ABottom));
  if (FillActive(true)) {
    if (FFill->Kind() == gfkTexture)
      DrawTexture(r, FFill.get());
    else
      Context()->FillRect(FFill.get(), r, AModifyRectMode);
  }
  if (StrokeActive()) Context()->DrawRect(FStroke.get(), r, ASides, AModifyRectMode);
}

void TAdvGraphics::DrawRectangle(double ALeft, double ATop, double ARight, double ABottom,
                                 TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawRectangle(ALeft, ATop, ARight, ABottom, AllGraphicsSides, AModifyRectMode);
}

void TAdvGraphics::DrawRectangle(const TRectF& ARect, TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, AllGraphicsSides, AModifyRectMode);
}

void TAdvGraphics::DrawRectangle(const TRectF& ARect, TAdvGraphicsSides ASides,
                                 TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, ASides, AModifyRectMode);
}

void TAdvGraphics::DrawRectangle(const TRect& ARect, TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, AllGraphicsSides, AModifyRectMode);
}

void TAdvGraphics::DrawRectangle(const TRect& ARect, TAdvGraphicsSides ASides,
                                 TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, ASides, AModifyRectMode);
}

void TAdvGraphics::DrawEllipse(double ALeft, double ATop, double ARight, double ABottom,
                               TAdvGraphicsModifyRectMode AModifyRectMode) {
  const TRectF r = RectF(Single(ALeft), Single(ATop), Single(ARight), Single(ABottom));
  if (FillActive(true)) {
    if (FFill->Kind() == gfkTexture)
      DrawTexture(r, FFill.get());
    else
      Context()->FillEllipse(FFill.get(), r, AModifyRectMode);
  }
  if (StrokeActive()) Context()->DrawEllipse(FStroke.get(), r, AModifyRectMode);
}

void TAdvGraphics::DrawEllipse(const TRectF& ARect, TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawEllipse(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, AModifyRectMode);
}

void TAdvGraphics::DrawEllipse(const TRect& ARect, TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawEllipse(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, AModifyRectMode);
}

void TAdvGraphics::DrawRoundRectangle(double ALeft, double ATop, double ARight, double ABottom, Single ARounding,
                                      TAdvGraphicsCorners ACorners, TAdvGraphicsModifyRectMode AModifyRectMode) {
  const TRectF r = RectF(Single(ALeft), Single(ATop), Single(ARight), Single(ABottom));
  if (FillActive(true)) {
    if (FFill->Kind() == gfkTexture)
      DrawTexture(r, FFill.get());
    else
      Context()->FillRoundRect(FFill.get(), r, ARounding, ACorners, AModifyRectMode);
  }
  if (StrokeActive()) Context()->DrawRoundRect(FStroke.get(), r, ARounding, ACorners, AModifyRectMode);
}

void TAdvGraphics::DrawRoundRectangle(const TRectF& ARect, Single ARounding, TAdvGraphicsCorners ACorners,
                                      TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawRoundRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, ARounding, ACorners, AModifyRectMode);
}

void TAdvGraphics::DrawRoundRectangle(const TRect& ARect, Integer ARounding, TAdvGraphicsCorners ACorners,
                                      TAdvGraphicsModifyRectMode AModifyRectMode) {
  DrawRoundRectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Single(ARounding), ACorners, AModifyRectMode);
}

void TAdvGraphics::DrawTexture(const TRectF& ARect, TAdvGraphicsFill* AFill) {
  TAdvBitmap* texture = AFill ? AFill->Texture() : nullptr;
  if (IsBitmapEmpty(texture)) return;
  const Single tw = Single(texture->Width()), th = Single(texture->Height());
  if (tw <= 0 || th <= 0) return;
  switch (AFill->TextureMode()) {
    case gtmOriginal:
      DrawBitmapPart(RectF(0, 0, ARect.Width(), ARect.Height()),
                     RectF(ARect.Left, ARect.Top, ARect.Left + std::min(tw, ARect.Width()),
                           ARect.Top + std::min(th, ARect.Height())),
                     texture, false, false, false, false);
      break;
    case gtmFit: {
      TRectF r = GetBitmapDrawRectangle(ARect, texture, true, true, true, false);
      r = RectF(Single(Round(r.Left)), Single(Round(r.Top)), Single(Round(r.Right)), Single(Round(r.Bottom)));
      DrawBitmap(r, texture, false, true, false, false);
      break;
    }
    case gtmStretch:
      DrawBitmap(ARect, texture, false, true, false, false);
      break;
    case gtmCenter: {
      const Single l = Single(Round(ARect.Left + (ARect.Width() - tw) / 2));
      const Single t = Single(Round(ARect.Top + (ARect.Height() - th) / 2));
      DrawBitmap(RectF(l, t, l + tw, t + th), texture, true, false, true, false);
      break;
    }
    case gtmTile: {
      // Tiles at the right and bottom edges are cut to the rectangle.
      std::unique_ptr<TAdvGraphicsSaveState> state = SaveState(true);
      ClipRect(ARect);
      const Int64 cols = Trunc(ARect.Width() / tw) + 2, rows = Trunc(ARect.Height() / th) + 2;
      for (Int64 row = 0; row < rows; ++row)
        for (Int64 col = 0; col < cols; ++col) {
          const TRectF tile = RectF(ARect.Left + col * tw, ARect.Top + row * th, ARect.Left + (col + 1) * tw,
                                    ARect.Top + (row + 1) * th);
          if (tile.Left < ARect.Right && tile.Top < ARect.Bottom)
            DrawBitmap(tile, texture, false, false, false, false);
        }
      RestoreState(std::move(state), true);
      break;
    }
  }
}

// --- pictures --------------------------------------------------------------------------

void TAdvGraphics::GetAspectSize(Single& AWidth, Single& AHeight, Single AOriginalWidth, Single AOriginalHeight,
                                 Single ANewWidth, Single ANewHeight, bool AAspectRatio, bool AStretch, bool) {
  if (AAspectRatio) {
    if (AOriginalWidth <= 0 || AOriginalHeight <= 0 || ANewWidth <= 0 || ANewHeight <= 0) {
      AWidth = 0;
      AHeight = 0;
    } else if (ANewWidth > AOriginalWidth && ANewHeight > AOriginalHeight && !AStretch) {
      AWidth = AOriginalWidth;
      AHeight = AOriginalHeight;
    } else if (ANewWidth / ANewHeight <= AOriginalWidth / AOriginalHeight) {
      AWidth = ANewWidth;
      AHeight = ANewWidth * AOriginalHeight / AOriginalWidth;
    } else {
      AWidth = ANewHeight * AOriginalWidth / AOriginalHeight;
      AHeight = ANewHeight;
    }
  } else if (AStretch) {
    AWidth = ANewWidth;
    AHeight = ANewHeight;
  } else {
    AWidth = AOriginalWidth;
    AHeight = AOriginalHeight;
  }
}

TRectF TAdvGraphics::GetBitmapDrawRectangle(const TRectF& ARect, TGraphic* ABitmap, bool AAspectRatio, bool AStretch,
                                            bool ACenter, bool ACropping) {
  if (!ABitmap) return {};
  Single w = 0, h = 0;
  GetAspectSize(w, h, Single(ABitmap->Width()), Single(ABitmap->Height()), ARect.Width(), ARect.Height(),
                AAspectRatio, AStretch, ACropping);
  if (ACenter || ACropping) {
    const Single l = ARect.Left + Single(Round((ARect.Width() - w) / 2));
    const Single t = ARect.Top + Single(Round((ARect.Height() - h) / 2));
    return RectF(l, t, l + w, t + h);
  }
  return RectF(ARect.Left, ARect.Top, ARect.Left + w, ARect.Top + h);
}

TRectF TAdvGraphics::GetBitmapDrawRectangle(const TRectF& ARect, TPicture* ABitmap, bool AAspectRatio, bool AStretch,
                                            bool ACenter, bool ACropping) {
  return GetBitmapDrawRectangle(ARect, GetPictureGraphic(ABitmap), AAspectRatio, AStretch, ACenter, ACropping);
}

void TAdvGraphics::DrawBitmap(const TRectF& ARect, TPicture* ABitmap, bool AAspectRatio, bool AStretch, bool ACenter,
                              bool ACropping) {
  if (IsBitmapEmpty(ABitmap)) return;
  DrawBitmap(ARect, ABitmap->Graphic(), AAspectRatio, AStretch, ACenter, ACropping);
}

void TAdvGraphics::DrawBitmap(const TRectF& ARect, TGraphic* ABitmap, bool AAspectRatio, bool AStretch, bool ACenter,
                              bool ACropping) {
  if (!ABitmap || ABitmap->Empty()) return;
  const TRectF target = GetBitmapDrawRectangle(ARect, ABitmap, AAspectRatio, AStretch, ACenter, ACropping);
  if (target.Width() <= 0 || target.Height() <= 0) return;
  if (auto* svg = dynamic_cast<TAdvSVGBitmap*>(ABitmap); svg && svg->HasSVG() && svg->SVG()) {
    svg->SVG()->Draw(FActiveCanvas, target, FNative);
    return;
  }
  Context()->DrawBitmap(ABitmap, RectF(0, 0, Single(ABitmap->Width()), Single(ABitmap->Height())), target, 1);
}

void TAdvGraphics::DrawBitmap(const TRect& ARect, TPicture* ABitmap, bool AAspectRatio, bool AStretch, bool ACenter,
                              bool ACropping) {
  DrawBitmap(AdvGraphicsRectF(ARect), ABitmap, AAspectRatio, AStretch, ACenter, ACropping);
}

void TAdvGraphics::DrawBitmap(double ALeft, double ATop, double ARight, double ABottom, TPicture* ABitmap,
                              bool AAspectRatio, bool AStretch, bool ACenter, bool ACropping) {
  DrawBitmap(RectF(Single(ALeft), Single(ATop), Single(ARight), Single(ABottom)), ABitmap, AAspectRatio, AStretch,
             ACenter, ACropping);
}

void TAdvGraphics::DrawBitmap(Single ALeft, Single ATop, TPicture* ABitmap) {
  if (IsBitmapEmpty(ABitmap)) return;
  DrawBitmap(RectF(ALeft, ATop, ALeft + ABitmap->Width(), ATop + ABitmap->Height()), ABitmap, true, false, true,
             false);
}

namespace {
// The ASource part of the picture on a bitmap of its own; nullptr for empty rectangles.
std::unique_ptr<TAdvBitmap> AdvGraphicsPicturePart(const TRectF& ASource, TPicture* ABitmap, bool ANative) {
  const Integer w = Integer(Round(ASource.Width())), h = Integer(Round(ASource.Height()));
  if (w <= 0 || h <= 0 || IsBitmapEmpty(ABitmap)) return nullptr;
  std::unique_ptr<TBitmap> surface;
  {
    std::unique_ptr<TAdvGraphics> g = TAdvGraphics::CreateBitmapCanvas(w, h, ANative);
    g->BeginScene();
    TGraphic* graphic = ABitmap->Graphic();
    g->Context()->DrawBitmap(graphic, RectF(0, 0, Single(graphic->Width()), Single(graphic->Height())),
                             RectF(-ASource.Left, -ASource.Top, -ASource.Left + graphic->Width(),
                                   -ASource.Top + graphic->Height()),
                             1);
    g->EndScene();
    g->Context()->Render();
    surface = std::make_unique<TBitmap>();
    surface->Assign(g->Bitmap());
  }
  auto part = std::make_unique<TAdvBitmap>();
  part->SetGraphic(surface.get());
  return part;
}
}  // namespace

void TAdvGraphics::DrawBitmapPart(const TRectF& ASource, const TRectF& ADestination, TPicture* ABitmap,
                                  bool AAspectRatio, bool AStretch, bool ACenter, bool ACropping) {
  if (ASource.Width() <= 0 || ASource.Height() <= 0 || ADestination.Width() <= 0 || ADestination.Height() <= 0)
    return;
  if (IsBitmapEmpty(ABitmap)) return;
  if (AdvGraphicsIsSVG(ABitmap)) {
    DrawBitmap(ADestination, ABitmap, AAspectRatio, AStretch, ACenter, ACropping);
    return;
  }
  std::unique_ptr<TAdvBitmap> part = AdvGraphicsPicturePart(ASource, ABitmap, FNative);
  if (part) DrawBitmap(ADestination, part.get(), AAspectRatio, AStretch, ACenter, ACropping);
}

std::unique_ptr<TAdvBitmap> TAdvGraphics::DrawBitmapPartSync(const TRectF& ASource, TPicture* ABitmap) {
  if (ASource.Width() <= 0 || ASource.Height() <= 0 || AdvGraphicsIsSVG(ABitmap)) return nullptr;
  return AdvGraphicsPicturePart(ASource, ABitmap, FNative);
}

TPicture* TAdvGraphics::GetBitmapFromPictureContainer(TPictureContainer* APictureContainer, const String& AName,
                                                      bool AApplyScale, Single AScale) {
  if (!APictureContainer || AName.empty()) return nullptr;
  if (AApplyScale) {
    const Single scale = AScale > 0 ? AScale : TAdvUtils::GetDPIScale(nullptr, 96);
    // The scaled name is written with "." in every locale, as it is stored.
    if (TPicture* p = APictureContainer->FindBitmap(AName + u"_" + TAdvUtils::FloatToStrDot(scale))) return p;
  }
  return APictureContainer->FindBitmap(AName);
}

void TAdvGraphics::DrawBitmapWithName(const TRectF& ARect, const String& ABitmapName, bool AApplyScale, Single AScale,
                                      bool AAspectRatio, bool AStretch, bool ACenter, bool ACropping) {
  if (TPicture* p = GetBitmapFromPictureContainer(FPictureContainer, ABitmapName, AApplyScale, AScale))
    DrawBitmap(ARect, p, AAspectRatio, AStretch, ACenter, ACropping);
}

TPicture* TAdvGraphics::GetScaledBitmap(TAdvScaledBitmaps* ABitmaps, Single AScale,
                                        TPictureContainer* APictureContainer) {
  if (!ABitmaps) return nullptr;
  const Single scale = AScale > 0 ? AScale : TAdvUtils::GetDPIScale(nullptr, 96);
  TAdvScaledBitmap* item = ABitmaps->GetItemByScale(scale);
  if (!item) return nullptr;
  if (!IsBitmapEmpty(item->Bitmap())) return item->Bitmap();
  if (TPicture* p = GetBitmapFromPictureContainer(APictureContainer, item->BitmapName(), true, scale)) return p;
  return GetBitmapFromPictureContainer(APictureContainer, item->BitmapName(), false, 0);
}

void TAdvGraphics::DrawScaledBitmap(const TRectF& ARect, TAdvScaledBitmaps* ABitmaps, Single AScale,
                                    bool AAspectRatio, bool AStretch, bool ACenter, bool ACropping) {
  if (!ABitmaps) return;
  const Single scale = AScale > 0 ? AScale : TAdvUtils::GetDPIScale(nullptr, 96);
  TAdvScaledBitmap* item = ABitmaps->GetItemByScale(scale);
  if (!item) return;
  if (!IsBitmapEmpty(item->Bitmap())) {
    DrawBitmap(ARect, item->Bitmap(), AAspectRatio, AStretch, ACenter, ACropping);
    return;
  }
  if (TPicture* p = GetBitmapFromPictureContainer(FPictureContainer, item->BitmapName(), true, scale)) {
    DrawBitmap(ARect, p, AAspectRatio, AStretch, ACenter, ACropping);
    return;
  }
  DrawBitmapWithName(ARect, item->BitmapName(), false, item->Scale(), AAspectRatio, AStretch, ACenter, ACropping);
}

// --- text ------------------------------------------------------------------------------

namespace {

bool AdvGraphicsTagged(const String& AText, bool ASupportHTML) {
  return ASupportHTML && TAdvUtils::IsHTML(AText);
}

// The lines of a tagged text split at "<BR>" and "<BR/>" (any case) for
// line-by-line drawing; empty when the text holds neither.
std::vector<String> AdvGraphicsSplitBreaks(const String& AText) {
  std::vector<String> lines;
  const String upper = UpperCase(AText);
  std::size_t from = 0, pos = 0;
  bool any = false;
  while (pos < upper.size()) {
    const std::size_t a = upper.find(u"<BR", pos);
    if (a == String::npos) break;
    std::size_t len = 0;
    if (upper.compare(a, 4, u"<BR>") == 0)
      len = 4;
    else if (upper.compare(a, 5, u"<BR/>") == 0)
      len = 5;
    if (len == 0) {
      pos = a + 3;
      continue;
    }
    lines.push_back(AText.substr(from, a - from));
    from = pos = a + len;
    any = true;
  }
  if (!any) return {};
  lines.push_back(AText.substr(from));
  return lines;
}

}  // namespace

TRectF TAdvGraphics::InternalCalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping,
                                           bool ASupportHTML) {
  TRectF result = ARect;
  if (Round(ARect.Width()) <= 0) {
    result.Bottom = result.Top;
    return result;
  }
  if (AText.empty()) {
    result.Right = result.Left;
    result.Bottom = result.Top;
    return result;
  }
  if (AdvGraphicsTagged(AText, ASupportHTML)) {
    graphics_html::THTMLRenderArgs args;
    args.MeasureOnly = true;
    args.WordWrap = AWordWrapping;
    args.AnchorColor = FURLColor;
    args.AnchorUnderline = FURLUnderline;
    args.PictureContainer = FPictureContainer;
    args.ImageList = FImageList;
    args.HighlightColor = FHighlightColor;
    args.HighlightTextColor = FHighlightTextColor;
    args.HighlightFontStyles = FHighlightFontStyles;
    args.AllowLocalFiles = FHTMLAllowLocalFiles;
    graphics_html::THTMLRenderResult out;
    graphics_html::HTMLRender(this, AText, ARect, args, out);
    return RectF(ARect.Left, ARect.Top, ARect.Left + out.Width, ARect.Top + out.Height + 1);
  }
  result = Context()->CalculateText(AText, ARect, AWordWrapping);
  result.Bottom += 1;
  return result;
}

TRectF TAdvGraphics::CalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping, bool ASupportHTML) {
  if (FOptimizedHTMLDrawing && AdvGraphicsTagged(AText, ASupportHTML)) {
    const std::vector<String> lines = AdvGraphicsSplitBreaks(AText);
    if (!lines.empty()) {
      TRectF result = ARect;
      Single height = 0;
      for (const String& line : lines) {
        const TRectF r = InternalCalculateText(line, ARect, AWordWrapping, ASupportHTML);
        height += r.Height();
      }
      result.Bottom = result.Top + height;
      return result;
    }
  }
  return InternalCalculateText(AText, ARect, AWordWrapping, ASupportHTML);
}

TRectF TAdvGraphics::CalculateText(const String& AText) {
  return CalculateText(AText, RectF(0, 0, 10000, 10000), false, true);
}

TPointF TAdvGraphics::CalculateTextSize(const String& AText, const TRectF& ARect, bool AWordWrapping,
                                        bool ASupportHTML) {
  const TRectF r = CalculateText(AText, ARect, AWordWrapping, ASupportHTML);
  return PointF(r.Width(), r.Height());
}

TPointF TAdvGraphics::CalculateTextSize(const String& AText) {
  return CalculateTextSize(AText, RectF(0, 0, 10000, 10000), false, true);
}

Single TAdvGraphics::CalculateTextWidth(const String& AText, const TRectF& ARect, bool AWordWrapping,
                                        bool ASupportHTML) {
  return CalculateText(AText, ARect, AWordWrapping, ASupportHTML).Width();
}

Single TAdvGraphics::CalculateTextWidth(const String& AText) { return CalculateText(AText).Width(); }

Single TAdvGraphics::CalculateTextHeight(const String& AText, const TRectF& ARect, bool AWordWrapping,
                                         bool ASupportHTML) {
  return CalculateText(AText, ARect, AWordWrapping, ASupportHTML).Height();
}

Single TAdvGraphics::CalculateTextHeight(const String& AText) { return CalculateText(AText).Height(); }

TRect TAdvGraphics::CalculateTextInt(const String& AText, const TRect& ARect, bool AWordWrapping, bool ASupportHTML) {
  const TRectF r = CalculateText(AText, AdvGraphicsRectF(ARect), AWordWrapping, ASupportHTML);
  return Rect(Integer(Round(r.Left)), Integer(Round(r.Top)), Integer(Round(r.Right)), Integer(Round(r.Bottom)));
}

TRect TAdvGraphics::CalculateTextInt(const String& AText) { return CalculateTextInt(AText, Rect(0, 0, 10000, 10000)); }

TPoint TAdvGraphics::CalculateTextSizeInt(const String& AText) {
  const TPointF p = CalculateTextSize(AText);
  return Point(Integer(Round(p.X)), Integer(Round(p.Y)));
}

Integer TAdvGraphics::CalculateTextWidthInt(const String& AText) { return Integer(Round(CalculateTextWidth(AText))); }

Integer TAdvGraphics::CalculateTextHeightInt(const String& AText) {
  return Integer(Round(CalculateTextHeight(AText)));
}

String TAdvGraphics::InternalDrawText(const TRectF& ARect, const String& AText, String& AControlID,
                                      String& AControlValue, String& AControlType, bool AWordWrapping,
                                      TAdvGraphicsTextAlign AHorizontalAlign, TAdvGraphicsTextAlign AVerticalAlign,
                                      TAdvGraphicsTextTrimming ATrimming, Single AAngle, Single AMinWidth,
                                      Single AMinHeight, bool ASupportHTML, bool ATestAnchor, Single AX, Single AY) {
  String result;
  TAdvGraphicsContext* context = Context();
  const TColor fillColor = context->GetFillColor();
  context->SetFillColor(FFont->Color());
  TRectF r = ARect;
  if (AMinHeight > -1 && r.Height() < AMinHeight) r.Bottom = r.Top + AMinHeight;
  if (AMinWidth > -1 && r.Width() < AMinWidth) r.Right = r.Left + AMinWidth;
  r = context->SetTextAngle(r, AAngle);
  if (AdvGraphicsTagged(AText, ASupportHTML)) {
    graphics_html::THTMLRenderArgs args;
    args.WordWrap = AWordWrapping;
    args.AnchorColor = FURLColor;
    args.AnchorUnderline = FURLUnderline;
    args.PictureContainer = FPictureContainer;
    args.ImageList = FImageList;
    args.HighlightColor = FHighlightColor;
    args.HighlightTextColor = FHighlightTextColor;
    args.HighlightFontStyles = FHighlightFontStyles;
    args.AllowLocalFiles = FHTMLAllowLocalFiles;
    args.MeasureOnly = true;
    graphics_html::THTMLRenderResult measured;
    graphics_html::HTMLRender(this, AText, r, args, measured);
    const Single w = measured.Width + 1, h = measured.Height + 1;
    TRectF target = r;
    if (!AWordWrapping || measured.LineCount < 2) {
      switch (AHorizontalAlign) {
        case gtaCenter: target.Left = r.Left + (r.Width() - w) / 2; break;
        case gtaTrailing: target.Left = r.Right - w; break;
        case gtaLeading: break;
      }
      switch (AVerticalAlign) {
        case gtaCenter: target.Top = r.Top + (r.Height() - h) / 2; break;
        case gtaTrailing: target.Top = r.Bottom - h; break;
        case gtaLeading: break;
      }
      target.Right = target.Left + w;
      target.Bottom = target.Top + h;
    }
    std::unique_ptr<TAdvGraphicsSaveState> state = SaveState(true);
    ClipRect(r);
    args.MeasureOnly = false;
    args.TestAnchor = ATestAnchor;
    args.X = Integer(Round(AX));
    args.Y = Integer(Round(AY));
    args.TestControlID = AControlID;
    graphics_html::THTMLRenderResult out;
    const bool hit = graphics_html::HTMLRender(this, AText, target, args, out);
    RestoreState(std::move(state), true);
    if (hit) {
      result = out.Anchor;
      AControlID = out.ControlID;
      AControlValue = out.ControlValue;
      AControlType = out.ControlType;
    }
  } else if (!ATestAnchor) {
    context->DrawText(AText, r, AWordWrapping, AHorizontalAlign, AVerticalAlign, ATrimming, AAngle);
  }
  context->ResetTextAngle(AAngle);
  context->SetFillColor(fillColor);
  return result;
}

String TAdvGraphics::DrawText(const TRectF& ARect, const String& AText, String& AControlID, String& AControlValue,
                              String& AControlType, bool AWordWrapping, TAdvGraphicsTextAlign AHorizontalAlign,
                              TAdvGraphicsTextAlign AVerticalAlign, TAdvGraphicsTextTrimming ATrimming, Single AAngle,
                              Single AMinWidth, Single AMinHeight, bool ASupportHTML, bool ATestAnchor, Single AX,
                              Single AY) {
  if (FOptimizedHTMLDrawing && !ATestAnchor && AdvGraphicsTagged(AText, ASupportHTML)) {
    // Line by line: "<BR>" and "<BR/>" both split.
    const std::vector<String> lines = AdvGraphicsSplitBreaks(AText);
    if (!lines.empty()) {
      TRectF r = ARect;
      for (const String& line : lines) {
        const TRectF m = CalculateText(line, r, AWordWrapping, ASupportHTML);
        InternalDrawText(RectF(m.Left, m.Top, m.Right + 1, m.Bottom), line, AControlID, AControlValue, AControlType,
                         AWordWrapping, AHorizontalAlign, AVerticalAlign, ATrimming, AAngle, AMinWidth, AMinHeight,
                         ASupportHTML, ATestAnchor, AX, AY);
        r.Top += m.Height();
      }
      return {};
    }
  }
  return InternalDrawText(ARect, AText, AControlID, AControlValue, AControlType, AWordWrapping, AHorizontalAlign,
                          AVerticalAlign, ATrimming, AAngle, AMinWidth, AMinHeight, ASupportHTML, ATestAnchor, AX, AY);
}

String TAdvGraphics::DrawText(const TRectF& ARect, const String& AText, bool AWordWrapping,
                              TAdvGraphicsTextAlign AHorizontalAlign, TAdvGraphicsTextAlign AVerticalAlign,
                              TAdvGraphicsTextTrimming ATrimming, Single AAngle, Single AMinWidth, Single AMinHeight,
                              bool ASupportHTML, bool ATestAnchor, Single AX, Single AY) {
  String id, value, type;
  return DrawText(ARect, AText, id, value, type, AWordWrapping, AHorizontalAlign, AVerticalAlign, ATrimming, AAngle,
                  AMinWidth, AMinHeight, ASupportHTML, ATestAnchor, AX, AY);
}

String TAdvGraphics::DrawText(const TRect& ARect, const String& AText, bool AWordWrapping,
                              TAdvGraphicsTextAlign AHorizontalAlign, TAdvGraphicsTextAlign AVerticalAlign,
                              TAdvGraphicsTextTrimming ATrimming, Single AAngle, Single AMinWidth, Single AMinHeight,
                              bool ASupportHTML, bool ATestAnchor, Single AX, Single AY) {
  return DrawText(AdvGraphicsRectF(ARect), AText, AWordWrapping, AHorizontalAlign, AVerticalAlign, ATrimming, AAngle,
                  AMinWidth, AMinHeight, ASupportHTML, ATestAnchor, AX, AY);
}

String TAdvGraphics::DrawText(const TPointF& APoint, const String& AText, Single AAngle, bool ASupportHTML,
                              bool ATestAnchor, Single AX, Single AY) {
  return DrawText(RectF(APoint.X, APoint.Y, APoint.X + 10000, APoint.Y + 10000), AText, false, gtaLeading,
                  gtaLeading, gttNone, AAngle, -1, -1, ASupportHTML, ATestAnchor, AX, AY);
}

String TAdvGraphics::ApplyHilight(const String& AText, const String& AHilight, const String& ATag, bool ADoCase) {
  return graphics_html::HTMLHighlight(AText, AHilight, ATag, ADoCase);
}

// --- class helpers ---------------------------------------------------------------------

void TAdvGraphics::DrawSample(TCanvas* ACanvas, const TRect& ARect) {
  if (!ACanvas) return;
  TAdvGraphics g(ACanvas, false);
  g.Font()->SetName(u"Courier New");
  g.Font()->SetSize(20);
  g.Font()->SetColor(clWhite);
  g.Fill()->SetKind(gfkGradient);
  g.Fill()->SetColor(0x008CFF);
  g.Fill()->SetColorTo(0xB48246);
  g.Stroke()->SetColor(0x8B0000);
  g.DrawRectangle(ARect);
  g.DrawText(ARect, u"Sample", false, gtaCenter, gtaCenter);
}

bool TAdvGraphics::PointInRect(const TPointF& APoint, const TRectF& ARect) {
  return APoint.X >= ARect.Left && APoint.X < ARect.Right && APoint.Y >= ARect.Top && APoint.Y < ARect.Bottom;
}

bool TAdvGraphics::PointInRect(const TPoint& APoint, const TRect& ARect) {
  return PointInRect(PointF(Single(APoint.X), Single(APoint.Y)), AdvGraphicsRectF(ARect));
}

bool TAdvGraphics::PointInCircle(const TPointF& APoint, const TPointF& ACenter, Single ARadius) {
  if (ARadius <= 0) return false;
  const double dx = (APoint.X - ACenter.X) / double(ARadius), dy = (APoint.Y - ACenter.Y) / double(ARadius);
  return dx * dx + dy * dy <= 1;
}

bool TAdvGraphics::PointInPolygon(const TPointF& APoint, const TAdvGraphicsPathPolygon& APolygon) {
  return PathPointInPolygon(APoint, APolygon);
}

bool TAdvGraphics::PointInPolygon(const TPoint& APoint, const std::vector<TPoint>& APolygon) {
  TAdvGraphicsPathPolygon poly;
  poly.reserve(APolygon.size());
  for (const TPoint& p : APolygon) poly.push_back(PointF(Single(p.X), Single(p.Y)));
  return PointInPolygon(PointF(Single(APoint.X), Single(APoint.Y)), poly);
}

bool TAdvGraphics::PointInPath(const TPointF& APoint, TAdvGraphicsPath* APath) {
  return APath && APath->IsPointVisible(APoint);
}

bool TAdvGraphics::PointInPath(const TPoint& APoint, TAdvGraphicsPath* APath) {
  return PointInPath(PointF(Single(APoint.X), Single(APoint.Y)), APath);
}

Byte TAdvGraphics::GetColorRed(TColor AColor) { return Byte(AdvGraphicsResolvedColor(AColor) & 0xFF); }
Byte TAdvGraphics::GetColorGreen(TColor AColor) { return Byte((AdvGraphicsResolvedColor(AColor) >> 8) & 0xFF); }
Byte TAdvGraphics::GetColorBlue(TColor AColor) { return Byte((AdvGraphicsResolvedColor(AColor) >> 16) & 0xFF); }

String TAdvGraphics::ColorToHTML(TColor AColor) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  const Byte channels[3] = {GetColorRed(AColor), GetColorGreen(AColor), GetColorBlue(AColor)};
  String s = u"#";
  for (Byte c : channels) {
    s += kDigits[c >> 4];
    s += kDigits[c & 15];
  }
  return s;
}

namespace {
Integer AdvGraphicsHexDigit(Char c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Red, green and blue of "#RGB" or "#RRGGBB..."; false for an empty,
// too short or non-hex text.
bool AdvGraphicsParseHTMLColor(const String& AHTML, TColor& AColor) {
  Integer channel[3];
  if (AHTML.size() == 4) {
    for (int i = 0; i < 3; ++i) {
      const Integer d = AdvGraphicsHexDigit(AHTML[1 + i]);
      if (d < 0) return false;
      channel[i] = d * 17;
    }
  } else {
    if (AHTML.size() < 7) return false;
    for (int i = 0; i < 3; ++i) {
      const Integer hi = AdvGraphicsHexDigit(AHTML[1 + 2 * i]), lo = AdvGraphicsHexDigit(AHTML[2 + 2 * i]);
      if (hi < 0 || lo < 0) return false;
      channel[i] = hi * 16 + lo;
    }
  }
  AColor = RGBToColor(Byte(channel[0]), Byte(channel[1]), Byte(channel[2]));
  return true;
}
}  // namespace

TColor TAdvGraphics::HTMLToColor(const String& AHTML) {
  if (AHTML.empty()) return gcNull;
  TColor c = 0;
  if (!AdvGraphicsParseHTMLColor(AHTML, c))
    throw EConvertError(u"'" + AHTML + u"' is not a valid integer value");
  return c;
}

bool TAdvGraphics::TryHTMLToColor(const String& AHTML, TColor& AColor) {
  if (AHTML.empty()) return false;
  return AdvGraphicsParseHTMLColor(AHTML, AColor);
}

TColor TAdvGraphics::TextToColor(const String& AText) {
  String s = LowerCase(AText);
  if (s.starts_with(u"cl")) s.erase(0, 2);
  if (s.starts_with(u"cla")) s.erase(0, 3);
  if (s.starts_with(u"gc")) s.erase(0, 2);
  TColor c = 0;
  if (FindNamedColor(s, c)) return c;
  return 0;
}

void TAdvGraphics::SetDefaultGraphicColors() {
  TAdvGraphicsDefaultColors& c = AdvGraphicsDefaultColorsVar();
  c.GlyphLine = 0;
  c.FocusedBorder = RGBToColor(60, 127, 177);
  c.FocusedFace = RGBToColor(229, 241, 251);
  c.DisabledBorder = 0xA9A9A9;
  c.DisabledFace = 0xD3D3D3;
  c.NormalBorder = 0xA9A9A9;
  c.NormalFace = RGBToColor(225, 225, 225);
}

// --- JSON ------------------------------------------------------------------------------

String TAdvGraphics::ToJSON() { return TAdvUtils::ToJSON(this); }
String TAdvGraphics::ToJSON(const std::vector<String>& AExcludedProperties) {
  return TAdvUtils::ToJSON(this, AExcludedProperties);
}
void TAdvGraphics::FromJSON(const String& Value) { TAdvUtils::FromJSON(this, Value); }
void TAdvGraphics::Log() { TAdvUtils::Log(ToJSON()); }
void TAdvGraphics::SaveToJSONFile(const String& AFileName) { TAdvUtils::SaveToJSONFile(this, AFileName); }
void TAdvGraphics::LoadFromJSONFile(const String& AFileName) { TAdvUtils::LoadFromJSONFile(this, AFileName); }
void TAdvGraphics::SaveToJSONStream(TStream* AStream) { TAdvUtils::SaveToJSONStream(this, AStream); }
void TAdvGraphics::LoadFromJSONStream(TStream* AStream) { TAdvUtils::LoadFromJSONStream(this, AStream); }
