// GDI+ throughput on an 800x600 premultiplied bitmap: an antialiased path
// fill, a linear gradient fill and DrawString, each per call. The Qt* cases
// do the same drawing directly with Qt's painter on the same kind of image in
// the same run, so the layer's cost reads as a ratio (target: at most 1.3).
#include <benchmark/benchmark.h>

#include <cmath>

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "platform/gdiplus/GdiPlus.h"
#include "platform/testing/GuiTestApp.h"

namespace {

constexpr int W = 800, H = 600;

struct GpSurface {
  GpSurface() {
    EnsureGuiApplication();
    GdiplusStartupInput in;
    GdiplusStartup(&Token, &in, nullptr);
    GdipCreateBitmapFromScan0(W, H, 0, PixelFormat32bppPARGB, nullptr, &Bmp);
    GdipGetImageGraphicsContext(Bmp, &G);
    GdipSetSmoothingMode(G, SmoothingModeAntiAlias);
    GdipSetPixelOffsetMode(G, PixelOffsetModeHalf);
  }
  ~GpSurface() {
    GdipDeleteGraphics(G);
    GdipDisposeImage(Bmp);
    GdiplusShutdown(Token);
  }
  std::uintptr_t Token = 0;
  GpBitmap* Bmp = nullptr;
  GpGraphics* G = nullptr;
};

struct QtSurface {
  QtSurface() : Image(W, H, QImage::Format_ARGB32_Premultiplied) {
    EnsureGuiApplication();
    Image.fill(Qt::white);
    Painter.begin(&Image);
    Painter.setRenderHint(QPainter::Antialiasing, true);
  }
  QImage Image;
  QPainter Painter;
};

// A star and an ellipse: curves and a self-intersecting outline.
void StarPoints(GpPointF* pts) {
  for (int i = 0; i < 10; ++i) {
    double a = i * 3.14159265 / 5, r = i % 2 ? 60 : 150;
    pts[i] = {REAL(400 + r * std::cos(a)), REAL(300 + r * std::sin(a))};
  }
}

void BM_GdiplusPathFill(benchmark::State& state) {
  GpSurface s;
  GpPath* path = nullptr;
  GdipCreatePath(FillModeWinding, &path);
  GpPointF star[10];
  StarPoints(star);
  GdipAddPathPolygon(path, star, 10);
  GdipAddPathEllipse(path, 100, 100, 300, 200);
  GpSolidFill* brush = nullptr;
  GdipCreateSolidFill(0xC02060A0, &brush);
  for (auto _ : state) GdipFillPath(s.G, brush, path);
  GdipDeleteBrush(brush);
  GdipDeletePath(path);
}
BENCHMARK(BM_GdiplusPathFill);

void BM_QtPathFill(benchmark::State& state) {
  QtSurface s;
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  GpPointF star[10];
  StarPoints(star);
  path.moveTo(star[0].X, star[0].Y);
  for (int i = 1; i < 10; ++i) path.lineTo(star[i].X, star[i].Y);
  path.closeSubpath();
  path.addEllipse(QRectF(100, 100, 300, 200));
  QBrush brush(QColor(0x20, 0x60, 0xA0, 0xC0));
  for (auto _ : state) s.Painter.fillPath(path, brush);
}
BENCHMARK(BM_QtPathFill);

void BM_GdiplusGradientFill(benchmark::State& state) {
  GpSurface s;
  GpRectF r{0, 0, W, H};
  GpLineGradient* brush = nullptr;
  GdipCreateLineBrushFromRect(&r, 0xFF000080, 0xFFFFFFFF, LinearGradientModeVertical, WrapModeTile, &brush);
  for (auto _ : state) GdipFillRectangle(s.G, brush, 0, 0, W, H);
  GdipDeleteBrush(brush);
}
BENCHMARK(BM_GdiplusGradientFill);

void BM_QtGradientFill(benchmark::State& state) {
  QtSurface s;
  QLinearGradient g(0, 0, 0, H);
  g.setColorAt(0, QColor(0, 0, 0x80));
  g.setColorAt(1, Qt::white);
  g.setSpread(QGradient::RepeatSpread);
  QBrush brush(g);
  for (auto _ : state) s.Painter.fillRect(QRectF(0, 0, W, H), brush);
}
BENCHMARK(BM_QtGradientFill);

constexpr const char16_t* kText = u"The quick brown fox jumps over the lazy dog";

void BM_GdiplusDrawString(benchmark::State& state) {
  GpSurface s;
  GpFontFamily* family = nullptr;
  GdipCreateFontFamilyFromName(u"Arial", nullptr, &family);
  GpFont* font = nullptr;
  GdipCreateFont(family, 12, FontStyleRegular, UnitPoint, &font);
  GpSolidFill* brush = nullptr;
  GdipCreateSolidFill(0xFF000000, &brush);
  GpRectF at{10, 10, 0, 0};
  for (auto _ : state) GdipDrawString(s.G, kText, -1, font, &at, nullptr, brush);
  GdipDeleteBrush(brush);
  GdipDeleteFont(font);
  GdipDeleteFontFamily(family);
}
BENCHMARK(BM_GdiplusDrawString);

void BM_QtDrawString(benchmark::State& state) {
  QtSurface s;
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(12);
  s.Painter.setFont(font);
  s.Painter.setPen(Qt::black);
  QString text = QString::fromUtf16(kText);
  for (auto _ : state) s.Painter.drawText(QPointF(12, 25), text);
}
BENCHMARK(BM_QtDrawString);

}  // namespace
