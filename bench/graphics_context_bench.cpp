// A typical control face (vertical gradient, rounded border, centred text and
// a small picture) drawn on a 160x40 bitmap through the GDI+ drawing context
// and, in the same run, directly through the flat GDI+ API with the same
// objects a hand-written control would make. The context's cost reads as the
// ratio Context/Flat (target: at most 1.2).
#include <benchmark/benchmark.h>

#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GdiplusClasses.h"
#include "foundation/graphics/AdvGraphics.h"
#include "foundation/graphics/AdvGraphicsContextWin.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "platform/win/ComStream.h"

namespace {

constexpr int W = 160, H = 40;
constexpr TRectF kFace{0, 0, W, H};
constexpr TRectF kPicture{8, 12, 24, 28};
constexpr Single kRounding = 6;

struct Setup {
  Setup() {
    EnsureGuiApplication();
    RegisterGdiplusModule();
    gdiplus_runtime::InitializeGdiplusApi();
    gdiplus_runtime::InitializeGdiplusClasses();
    Picture.SetSize(16, 16);
    Picture.Canvas()->Brush()->SetColor(0x3080C0);
    Picture.Canvas()->FillRect({0, 0, 16, 16});
    Picture.SaveToBytes(PictureBytes);
  }
  ~Setup() {
    gdiplus_runtime::FinalizeGdiplusClasses();
    gdiplus_runtime::FinalizeGdiplusApi();
  }
  TBitmap Surface{W, H};
  TBitmap Picture;
  TBytes PictureBytes;
};

void BM_ContextControlFace(benchmark::State& state) {
  Setup s;
  TAdvGraphics graphics(s.Surface.Canvas(), true);
  TAdvGraphicsContext* ctx = graphics.Context();
  TAdvGraphicsFill fill(gfkGradient, 0xF0E0D0, 0xC08040);
  TAdvGraphicsStroke stroke(gskSolid, 0x804020);
  TAdvGraphicsFont font;
  font.SetName(u"Arial");
  font.SetColor(clBlack);
  // The canvas hands its state over when it changes, not per painting.
  ctx->SetSize(W, H);
  ctx->SetFill(&fill);
  ctx->SetStroke(&stroke);
  ctx->SetFont(&font);
  for (auto _ : state) {
    ctx->SetSize(W, H);
    ctx->SetAntiAliasing(true);
    ctx->FillRect(&fill, kFace);
    ctx->DrawRoundRect(&stroke, kFace, kRounding, AllGraphicsCorners);
    ctx->DrawText(u"Update firmware", {30, 0, W, H}, false, gtaCenter, gtaCenter, gttNone, 0);
    ctx->DrawBitmap(&s.Picture, {}, kPicture, 1);
    ctx->EndScene();
  }
}
BENCHMARK(BM_ContextControlFace);

void BM_FlatControlFace(benchmark::State& state) {
  Setup s;
  std::uintptr_t token = 0;
  GdiplusStartupInput in;
  GdiplusStartup(&token, &in, nullptr);
  HDC dc = s.Surface.Canvas()->Handle();
  GpFontFamily* family = nullptr;
  GdipCreateFontFamilyFromName(u"Arial", nullptr, &family);
  GpFont* font = nullptr;
  GdipCreateFont(family, 8, FontStyleRegular, UnitPoint, &font);
  GpPen* pen = nullptr;
  GdipCreatePen1(0xFF204080, 1, UnitWorld, &pen);
  const ARGB colors[2] = {0xFFD0E0F0, 0xFF4080C0};
  const REAL positions[2] = {0, 1};
  for (auto _ : state) {
    GpGraphics* g = nullptr;
    GdipCreateFromHDC(dc, &g);
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    // Gradient over the face.
    GpPath* face = nullptr;
    GdipCreatePath(FillModeAlternate, &face);
    GdipAddPathRectangle(face, 0, 0, W, H);
    GpRectF r{-1, -1, W + 2, H + 2};
    GpLineGradient* gradient = nullptr;
    GdipCreateLineBrushFromRect(&r, 0, 0, LinearGradientModeVertical, WrapModeTile, &gradient);
    GdipSetLinePresetBlend(gradient, colors, positions, 2);
    GdipFillPath(g, gradient, face);
    GdipDeleteBrush(gradient);
    GdipDeletePath(face);
    // Rounded border.
    GpPath* border = nullptr;
    GdipCreatePath(FillModeAlternate, &border);
    const REAL d = 2 * kRounding, right = W - 1, bottom = H - 1;
    GdipAddPathArc(border, 0, 0, d, d, 180, 90);
    GdipAddPathArc(border, right - d, 0, d, d, 270, 90);
    GdipAddPathArc(border, right - d, bottom - d, d, d, 0, 90);
    GdipAddPathArc(border, 0, bottom - d, d, d, 90, 90);
    GdipClosePathFigure(border);
    GdipDrawPath(g, pen, border);
    GdipDeletePath(border);
    // Text.
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(StringFormatFlagsNoClip | StringFormatFlagsNoWrap, 0, &format);
    GdipSetStringFormatAlign(format, StringAlignmentCenter);
    GdipSetStringFormatLineAlign(format, StringAlignmentCenter);
    GpSolidFill* text = nullptr;
    GdipCreateSolidFill(0xFF000000, &text);
    GpRectF layout{30, 0, W - 30, H};
    GdipDrawString(g, u"Update firmware", -1, font, &layout, format, text);
    GdipDeleteBrush(text);
    GdipDeleteStringFormat(format);
    // Picture decoded from its bytes.
    IStream* stream = SHCreateMemStream(s.PictureBytes.data(), ULONG(s.PictureBytes.size()));
    GpBitmap* picture = nullptr;
    GdipCreateBitmapFromStream(stream, &picture);
    GdipDrawImageRect(g, picture, kPicture.Left, kPicture.Top, 16, 16);
    GdipDisposeImage(picture);
    stream->Release();
    GdipDeleteGraphics(g);
  }
  GdipDeletePen(pen);
  GdipDeleteFont(font);
  GdipDeleteFontFamily(family);
  GdiplusShutdown(token);
}
BENCHMARK(BM_FlatControlFace);

}  // namespace
