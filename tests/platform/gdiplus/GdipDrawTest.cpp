// Drawing: fills sampled by pixel (solid, gradients, hatches, textures),
// pens, clipping, modes, and GDI+ sharing a DC's surface with GDI.
#include <cmath>

#include "tests/platform/gdi/GdiFixture.h"
#include "tests/platform/gdiplus/GdipFixture.h"

class GpDrawTest : public GdiplusTest {};

TEST_F(GpDrawTest, SolidFillAndStatusesOfBadCalls) {
  GpCanvas c(40, 40);
  GpSolidFill* red = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0xffff0000, &red), Ok);
  ASSERT_EQ(GdipFillRectangleI(c.G, red, 10, 10, 10, 10), Ok);
  EXPECT_EQ(c.Px(10, 10), 0xffff0000u);
  EXPECT_EQ(c.Px(19, 19), 0xffff0000u);
  EXPECT_EQ(c.Px(20, 20), 0xffffffffu) << "aliased fills stop at the right and bottom edge";
  EXPECT_EQ(c.Px(9, 10), 0xffffffffu);
  // Half-transparent over white.
  GpSolidFill* half = nullptr;
  GdipCreateSolidFill(0x800000ff, &half);
  GdipFillRectangleI(c.G, half, 0, 30, 10, 10);
  EXPECT_NEAR(Channel(c.Px(5, 35), 16), 127, 2);
  EXPECT_EQ(Channel(c.Px(5, 35), 0), 255);
  // Bad arguments.
  GpPointF pts[2] = {{0, 0}, {1, 1}};
  EXPECT_EQ(GdipFillRectangle(nullptr, red, 0, 0, 1, 1), InvalidParameter);
  EXPECT_EQ(GdipFillRectangle(c.G, nullptr, 0, 0, 1, 1), InvalidParameter);
  EXPECT_EQ(GdipFillPolygon(c.G, red, pts, 2, GpFillMode(3)), InvalidParameter);
  EXPECT_EQ(GdipFillPolygon(c.G, red, nullptr, 2, FillModeAlternate), InvalidParameter);
  EXPECT_EQ(GdipSetSmoothingMode(c.G, GpSmoothingMode(9)), InvalidParameter);
  EXPECT_EQ(GdipSetPageUnit(c.G, UnitWorld), InvalidParameter);
  GpHatch* h = nullptr;
  EXPECT_EQ(GdipCreateHatchBrush(GpHatchStyle(53), 0, 0, &h), InvalidParameter);
  EXPECT_EQ(GdipSetSolidFillColor(h, 0), InvalidParameter);
  GdipDeleteBrush(red);
  GdipDeleteBrush(half);
}

TEST_F(GpDrawTest, LinearGradientWithBlendAndPresetColours) {
  GpCanvas c(101, 10);
  GpRectF r{0, 0, 100, 10};
  GpLineGradient* lg = nullptr;
  ASSERT_EQ(GdipCreateLineBrushFromRect(&r, 0xff000000, 0xffffffff, LinearGradientModeHorizontal, WrapModeTile, &lg), Ok);
  GdipFillRectangle(c.G, lg, 0, 0, 100, 10);
  EXPECT_LT(Channel(c.Px(1, 5), 8), 10);
  EXPECT_NEAR(Channel(c.Px(50, 5), 8), 128, 4);
  EXPECT_GT(Channel(c.Px(98, 5), 8), 245);
  // A blend that reaches full colour at the middle.
  REAL factors[3] = {0, 1, 1}, positions[3] = {0, 0.5f, 1};
  ASSERT_EQ(GdipSetLineBlend(lg, factors, positions, 3), Ok);
  GdipFillRectangle(c.G, lg, 0, 0, 100, 10);
  EXPECT_NEAR(Channel(c.Px(25, 5), 8), 128, 6);
  EXPECT_GT(Channel(c.Px(70, 5), 8), 250);
  // Preset colours: red, green, blue.
  ARGB colors[3] = {0xffff0000, 0xff00ff00, 0xff0000ff};
  EXPECT_EQ(GdipSetLinePresetBlend(lg, colors, positions, 1), InvalidParameter);
  ASSERT_EQ(GdipSetLinePresetBlend(lg, colors, positions, 3), Ok);
  GdipFillRectangle(c.G, lg, 0, 0, 100, 10);
  EXPECT_GT(Channel(c.Px(50, 5), 8), 240);
  EXPECT_GT(Channel(c.Px(99, 5), 0), 240);
  ARGB got[2];
  GdipGetLineColors(lg, got);
  EXPECT_EQ(got[0], 0xff000000u);
  GpWrapMode wrap;
  EXPECT_EQ(GdipSetLineWrapMode(lg, WrapModeClamp), InvalidParameter);
  GdipGetLineWrapMode(lg, &wrap);
  EXPECT_EQ(wrap, WrapModeTile);
  GdipDeleteBrush(lg);
}

TEST_F(GpDrawTest, PathGradientCentreAndEdge) {
  GpCanvas c(100, 100);
  GpPath* p = nullptr;
  GdipCreatePath(FillModeAlternate, &p);
  GdipAddPathEllipse(p, 0, 0, 100, 100);
  GpPathGradient* pg = nullptr;
  ASSERT_EQ(GdipCreatePathGradientFromPath(p, &pg), Ok);
  GdipSetPathGradientCenterColor(pg, 0xffff0000);
  ARGB blue = 0xff0000ff;
  INT n = 1;
  ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, &blue, &n), Ok);
  INT points = 0;
  GdipGetPathGradientPointCount(pg, &points);
  EXPECT_EQ(points, 13);
  INT tooMany = 14;
  ARGB many[14] = {};
  EXPECT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, many, &tooMany), InvalidParameter);
  GpPointF centre;
  GdipGetPathGradientCenterPoint(pg, &centre);
  EXPECT_NEAR(centre.X, 50, 0.5);
  ASSERT_EQ(GdipFillPath(c.G, pg, p), Ok);
  ARGB mid = c.Px(50, 50), edge = c.Px(50, 2);
  EXPECT_GT(Channel(mid, 16), 230);
  EXPECT_GT(Channel(edge, 0), 200);
  EXPECT_LT(Channel(edge, 16), 60);
  EXPECT_EQ(c.Px(2, 2), 0xffffffffu) << "nothing outside the boundary";
  GdipDeleteBrush(pg);
  GdipDeletePath(p);
}

TEST_F(GpDrawTest, HatchCellsAndTextureTiling) {
  GpCanvas c(32, 32);
  GpHatch* h = nullptr;
  ASSERT_EQ(GdipCreateHatchBrush(HatchStyleCross, 0xff000000, 0xffffffff, &h), Ok);
  GdipFillRectangleI(c.G, h, 0, 0, 32, 32);
  // A cross hatch: rows 0, 8, 16... and columns 0, 8, 16... are drawn.
  EXPECT_EQ(c.Px(3, 0), 0xff000000u);
  EXPECT_EQ(c.Px(0, 3), 0xff000000u);
  EXPECT_EQ(c.Px(3, 3), 0xffffffffu);
  EXPECT_EQ(c.Px(8, 13), 0xff000000u);
  GdipSetRenderingOrigin(c.G, 2, 0);
  GdipFillRectangleI(c.G, h, 0, 0, 32, 32);
  EXPECT_EQ(c.Px(2, 3), 0xff000000u) << "the pattern follows the rendering origin";
  GdipDeleteBrush(h);
  // A 2x2 texture of four colours repeats every 2 pixels.
  GpBitmap* tile = nullptr;
  GdipCreateBitmapFromScan0(2, 2, 0, PixelFormat32bppARGB, nullptr, &tile);
  GdipBitmapSetPixel(tile, 0, 0, 0xffff0000);
  GdipBitmapSetPixel(tile, 1, 0, 0xff00ff00);
  GdipBitmapSetPixel(tile, 0, 1, 0xff0000ff);
  GdipBitmapSetPixel(tile, 1, 1, 0xff000000);
  GpTexture* t = nullptr;
  ASSERT_EQ(GdipCreateTexture(tile, WrapModeTile, &t), Ok);
  GdipFillRectangleI(c.G, t, 0, 0, 32, 32);
  EXPECT_EQ(c.Px(4, 4), 0xffff0000u);
  EXPECT_EQ(c.Px(5, 4), 0xff00ff00u);
  EXPECT_EQ(c.Px(4, 5), 0xff0000ffu);
  GdipSetTextureWrapMode(t, WrapModeTileFlipX);
  GdipFillRectangleI(c.G, t, 0, 0, 32, 32);
  EXPECT_EQ(c.Px(2, 0), 0xff00ff00u) << "the second tile is mirrored";
  GdipSetTextureWrapMode(t, WrapModeClamp);
  GdipGraphicsClear(c.G, 0xffffffff);
  GdipFillRectangleI(c.G, t, 0, 0, 32, 32);
  EXPECT_EQ(c.Px(1, 1), 0xff000000u);
  EXPECT_EQ(c.Px(5, 5), 0xffffffffu) << "a clamped texture paints once";
  GpTexture* bad = nullptr;
  EXPECT_EQ(GdipCreateTexture2I(tile, WrapModeTile, 1, 1, 5, 5, &bad), OutOfMemory);
  GdipDeleteBrush(t);
  GdipDisposeImage(tile);
}

TEST_F(GpDrawTest, MiterJoinsBeyondTheLimit) {
  // A V whose tip needs a miter of about 4.1 pen widths, beyond the limit of 4:
  // a clipped-miter join bevels at the tip, a miter join is cut off at the limit.
  const GpPointF v[] = {{10, 110}, {30, 30}, {50, 110}};
  const struct {
    GpLineJoin join;
    ARGB above;
  } cases[] = {{LineJoinMiterClipped, 0xffffffffu}, {LineJoinMiter, 0xff000000u}};
  for (const auto& c : cases) {
    GpCanvas canvas(60, 120);
    GpPen* pen = nullptr;
    ASSERT_EQ(GdipCreatePen1(0xff000000, 8, UnitPixel, &pen), Ok);
    GdipSetPenLineJoin(pen, c.join);
    GdipSetPenMiterLimit(pen, 4);
    ASSERT_EQ(GdipDrawLines(canvas.G, pen, v, 3), Ok);
    EXPECT_EQ(canvas.Px(30, 22), c.above) << "join " << c.join;
    EXPECT_EQ(canvas.Px(30, 34), 0xff000000u) << "join " << c.join;
    GdipDeletePen(pen);
  }
}

TEST_F(GpDrawTest, PenWidthsAndDashLengths) {
  GpCanvas c(60, 30);
  GpPen* pen = nullptr;
  ASSERT_EQ(GdipCreatePen1(0xff000000, 5, UnitWorld, &pen), Ok);
  GdipDrawLineI(c.G, pen, 10, 10, 50, 10);
  int thick = 0;
  for (int y = 0; y < 30; ++y) thick += c.Px(30, y) == 0xff000000u;
  EXPECT_EQ(thick, 5);
  // A dash of 3 widths and gaps of 1 width, width 2: runs of 6 on, 2 off.
  GdipGraphicsClear(c.G, 0xffffffff);
  GdipSetPenWidth(pen, 2);
  GdipSetPenDashStyle(pen, DashStyleDash);
  GdipDrawLineI(c.G, pen, 0, 20, 60, 20);
  std::vector<int> runs;
  int run = 0;
  bool ink = true;
  for (int x = 0; x < 60; ++x) {
    bool on = c.Px(x, 20) == 0xff000000u;
    if (on == ink) ++run;
    else runs.push_back(run), run = 1, ink = on;
  }
  ASSERT_GE(runs.size(), 4u);
  EXPECT_EQ(runs[0], 6);
  EXPECT_EQ(runs[1], 2);
  EXPECT_EQ(runs[2], 6);
  REAL dash[4];
  INT n = 0;
  GdipGetPenDashCount(pen, &n);
  EXPECT_EQ(n, 2);
  GdipGetPenDashArray(pen, dash, 4);
  EXPECT_EQ(dash[0], 3);
  REAL badDash[2] = {1, 0};
  EXPECT_EQ(GdipSetPenDashArray(pen, badDash, 2), InvalidParameter);
  EXPECT_EQ(GdipSetPenLineJoin(pen, GpLineJoin(8)), InvalidParameter);
  REAL odd[3] = {0, 0.5f, 1};
  EXPECT_EQ(GdipSetPenCompoundArray(pen, odd, 3), InvalidParameter);
  // A pen painting with a hatch brush reports it and refuses a colour.
  GpHatch* h = nullptr;
  GdipCreateHatchBrush(HatchStyleCross, 0xff000000, 0xffffffff, &h);
  GdipSetPenBrushFill(pen, h);
  GpPenType type;
  GdipGetPenFillType(pen, &type);
  EXPECT_EQ(type, PenTypeHatchFill);
  ARGB col;
  EXPECT_EQ(GdipGetPenColor(pen, &col), WrongState);
  GdipDeleteBrush(h);
  GdipDeletePen(pen);
}

TEST_F(GpDrawTest, AntialiasingTransformAndClip) {
  GpCanvas c(40, 40);
  GpSolidFill* b = nullptr;
  GdipCreateSolidFill(0xff000000, &b);
  GdipSetSmoothingMode(c.G, SmoothingModeAntiAlias);
  GdipFillRectangle(c.G, b, 10, 10, 10, 10);
  // Pixel centres sit on integer coordinates: the edges are half covered.
  EXPECT_NEAR(Channel(c.Px(10, 15), 8), 128, 8);
  EXPECT_EQ(c.Px(12, 15), 0xff000000u);
  GdipSetPixelOffsetMode(c.G, PixelOffsetModeHalf);
  GdipGraphicsClear(c.G, 0xffffffff);
  GdipFillRectangle(c.G, b, 10, 10, 10, 10);
  EXPECT_EQ(c.Px(10, 15), 0xff000000u);
  GpSmoothingMode sm;
  GdipGetSmoothingMode(c.G, &sm);
  EXPECT_EQ(sm, SmoothingModeAntiAlias);
  GdipSetSmoothingMode(c.G, SmoothingModeNone);
  // Transform and clip.
  GdipGraphicsClear(c.G, 0xffffffff);
  GdipTranslateWorldTransform(c.G, 20, 0, MatrixOrderPrepend);
  GdipSetClipRectI(c.G, 0, 0, 5, 40, CombineModeReplace);
  GdipFillRectangleI(c.G, b, 0, 0, 10, 10);
  EXPECT_EQ(c.Px(22, 2), 0xff000000u);
  EXPECT_EQ(c.Px(27, 2), 0xffffffffu) << "clipped";
  EXPECT_EQ(c.Px(2, 2), 0xffffffffu);
  BOOL vis = TRUE;
  GdipIsVisiblePoint(c.G, 7, 2, &vis);
  EXPECT_FALSE(vis);
  GpRectF cb;
  GdipGetClipBounds(c.G, &cb);
  EXPECT_FLOAT_EQ(cb.Width, 5);
  GraphicsState st;
  GdipSaveGraphics(c.G, &st);
  GdipResetClip(c.G);
  GdipResetWorldTransform(c.G);
  GdipRestoreGraphics(c.G, st);
  GdipGetClipBounds(c.G, &cb);
  EXPECT_FLOAT_EQ(cb.Width, 5) << "restored";
  // Page units: one inch is 96 pixels.
  GdipResetClip(c.G);
  GdipResetWorldTransform(c.G);
  GdipSetPageUnit(c.G, UnitInch);
  GpPointF p{0.25f, 0};
  GdipTransformPoints(c.G, CoordinateSpaceDevice, CoordinateSpaceWorld, &p, 1);
  EXPECT_FLOAT_EQ(p.X, 24);
  GdipDeleteBrush(b);
}

TEST_F(GpDrawTest, SharesTheSurfaceOfAGdiDc) {
  GdiSurface s(40, 40);
  GpGraphics* g = nullptr;
  ASSERT_EQ(GdipCreateFromHDC(s.DC, &g), Ok);
  // GDI draws, GDI+ draws over it, GDI reads it back.
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{0, 0, 20, 20};
  FillRect(s.DC, &r, red);
  GpSolidFill* blue = nullptr;
  GdipCreateSolidFill(0xff0000ff, &blue);
  GdipFillRectangleI(g, blue, 10, 10, 20, 20);
  EXPECT_EQ(s.Px(5, 5), kRed);
  EXPECT_EQ(s.Px(15, 15), kBlue);
  EXPECT_EQ(s.Px(35, 35), kWhite);
  // The DC's viewport origin moves GDI+'s drawing too.
  SetViewportOrgEx(s.DC, 5, 0, nullptr);
  GdipFillRectangleI(g, blue, 30, 0, 2, 2);
  EXPECT_EQ(s.Px(35, 0), kBlue);
  SetViewportOrgEx(s.DC, 0, 0, nullptr);
  HDC dc = nullptr;
  EXPECT_EQ(GdipGetDC(g, &dc), Ok);
  EXPECT_EQ(dc, s.DC);
  EXPECT_EQ(GdipReleaseDC(g, dc), Ok);
  GdipDeleteBrush(blue);
  GdipDeleteGraphics(g);
  DeleteObject(red);
  GpGraphics* none = nullptr;
  EXPECT_EQ(GdipCreateFromHDC(nullptr, &none), OutOfMemory);
}

TEST_F(GpDrawTest, ImageGraphicsHandsOutADcAndIsBusyMeanwhile) {
  GpCanvas c(20, 20);
  HDC dc = nullptr;
  ASSERT_EQ(GdipGetDC(c.G, &dc), Ok);
  GpSolidFill* b = nullptr;
  GdipCreateSolidFill(0xff000000, &b);
  EXPECT_EQ(GdipFillRectangleI(c.G, b, 0, 0, 5, 5), ObjectBusy);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{0, 0, 5, 5};
  FillRect(dc, &r, red);
  EXPECT_EQ(GdipReleaseDC(c.G, dc), Ok);
  EXPECT_EQ(c.Px(2, 2), 0xffff0000u);
  EXPECT_EQ(GdipFillRectangleI(c.G, b, 0, 0, 5, 5), Ok);
  EXPECT_EQ(c.Px(2, 2), 0xff000000u);
  EXPECT_EQ(GdipDisposeImage(c.Bmp), ObjectBusy) << "a graphics still draws on it";
  DeleteObject(red);
  GdipDeleteBrush(b);
}
