// Pixel rules of GDI drawing: edges, end pixels, clipping, origins, saved
// states, raster operations and blits.
#include <vector>

#include "tests/platform/gdi/GdiFixture.h"

namespace {

TEST(GdiDraw, FillRectCoversHalfOpenRectangle) {
  GdiSurface s(20, 20);
  HBRUSH b = CreateSolidBrush(kRed);
  RECT r{2, 3, 7, 9};
  ASSERT_TRUE(FillRect(s.DC, &r, b));
  EXPECT_EQ(s.Ink(), (RECT{2, 3, 7, 9}));
  EXPECT_EQ(s.Count(kRed), 5 * 6);
  // A system colour index plus one is a brush too.
  RECT r2{10, 10, 12, 12};
  EXPECT_TRUE(FillRect(s.DC, &r2, reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_HIGHLIGHT + 1))));
  EXPECT_EQ(s.Px(10, 10), GetSysColor(COLOR_HIGHLIGHT));
  DeleteObject(b);
}

TEST(GdiDraw, RectangleKeepsPenInsideAndShrinksWithoutPen) {
  struct Case { int penStyle, width; RECT ink; int penPixels; };
  // Pen width 1: outline on the outer pixels; width 3: bands inside; null pen:
  // the brush alone, one pixel short on the right and bottom.
  for (Case c : {Case{PS_SOLID, 1, {2, 2, 12, 10}, 10 * 2 + 6 * 2}, Case{PS_SOLID, 3, {2, 2, 12, 10}, 10 * 8 - 4 * 2},
                 Case{PS_NULL, 1, {2, 2, 11, 9}, 0}}) {
    GdiSurface s(20, 20);
    HPEN pen = CreatePen(c.penStyle, c.width, kRed);
    HBRUSH brush = CreateSolidBrush(kBlue);
    SelectObject(s.DC, pen);
    SelectObject(s.DC, brush);
    Rectangle(s.DC, 2, 2, 12, 10);
    EXPECT_EQ(s.Ink(), c.ink) << c.penStyle << "/" << c.width;
    EXPECT_EQ(s.Count(kRed), c.penPixels) << c.penStyle << "/" << c.width;
    if (c.penStyle != PS_NULL) {
      EXPECT_EQ(s.Px(2 + c.width, 2 + c.width), kBlue);
    }
    SelectObject(s.DC, GetStockObject(BLACK_PEN));
    SelectObject(s.DC, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
  }
}

TEST(GdiDraw, LineToOmitsItsLastPixel) {
  struct Case { int x0, y0, x1, y1, count; };
  for (Case c : {Case{1, 5, 9, 5, 8}, Case{5, 1, 5, 9, 8}, Case{1, 1, 9, 9, 8}, Case{9, 9, 1, 1, 8}, Case{3, 3, 3, 3, 0},
                 Case{0, 0, 10, 3, 10}}) {
    GdiSurface s(12, 12);
    MoveToEx(s.DC, c.x0, c.y0, nullptr);
    LineTo(s.DC, c.x1, c.y1);
    EXPECT_EQ(s.Count(kBlack), c.count) << c.x0 << "," << c.y0 << "->" << c.x1 << "," << c.y1;
    if (c.count) {
      EXPECT_EQ(s.Px(c.x0, c.y0), kBlack);
      EXPECT_EQ(s.Px(c.x1, c.y1), kWhite);
    }
    POINT p;
    GetCurrentPositionEx(s.DC, &p);
    EXPECT_EQ(p, (POINT{c.x1, c.y1}));
  }
}

TEST(GdiDraw, StyledAndAlternatePens) {
  GdiSurface s(40, 4);
  SetBkMode(s.DC, TRANSPARENT);
  LOGBRUSH lb{BS_SOLID, kBlack, 0};
  HPEN alt = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
  ASSERT_NE(alt, nullptr);
  SelectObject(s.DC, alt);
  MoveToEx(s.DC, 0, 1, nullptr);
  LineTo(s.DC, 20, 1);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(s.Px(x, 1), x % 2 ? kWhite : kBlack) << x;
  HPEN dot = CreatePen(PS_DOT, 1, kRed);
  SelectObject(s.DC, dot);
  MoveToEx(s.DC, 0, 2, nullptr);
  LineTo(s.DC, 12, 2);
  EXPECT_EQ(s.Count(kRed, 0, 2, 12, 3), 6);
  // Opaque background fills the gaps with the background colour.
  SetBkMode(s.DC, OPAQUE);
  SetBkColor(s.DC, kBlue);
  MoveToEx(s.DC, 0, 3, nullptr);
  LineTo(s.DC, 12, 3);
  EXPECT_EQ(s.Count(kBlue, 0, 3, 12, 4), 6);
  // A cosmetic pen wider than one pixel is refused.
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC, 2, &lb, 0, nullptr), nullptr);
  SelectObject(s.DC, GetStockObject(BLACK_PEN));
  DeleteObject(alt);
  DeleteObject(dot);
}

TEST(GdiDraw, FilledShapesExcludeRightAndBottomEdge) {
  GdiSurface s(30, 30);
  SelectObject(s.DC, GetStockObject(NULL_PEN));
  SelectObject(s.DC, GetStockObject(BLACK_BRUSH));
  POINT tri[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  Polygon(s.DC, tri, 4);
  EXPECT_EQ(s.Ink(), (RECT{2, 2, 12, 12}));
  s.Clear(kWhite);
  SelectObject(s.DC, GetStockObject(BLACK_PEN));
  Ellipse(s.DC, 5, 5, 25, 15);
  EXPECT_EQ(s.Ink(), (RECT{5, 5, 25, 15}));
  s.Clear(kWhite);
  RoundRect(s.DC, 3, 4, 23, 20, 6, 6);
  EXPECT_EQ(s.Ink(), (RECT{3, 4, 23, 20}));
  EXPECT_EQ(s.Px(3, 4), kWhite);  // the corner is rounded off
  EXPECT_EQ(s.Px(13, 4), kBlack);
}

TEST(GdiDraw, ClippingRegionsAndSavedStates) {
  GdiSurface s(40, 40);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 40, 40};
  int level = SaveDC(s.DC);
  EXPECT_EQ(IntersectClipRect(s.DC, 5, 5, 20, 20), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(s.DC, 10, 10, 15, 15), COMPLEXREGION);
  FillRect(s.DC, &all, red);
  EXPECT_EQ(s.Count(kRed), 15 * 15 - 5 * 5);
  EXPECT_EQ(s.Px(12, 12), kWhite);
  RECT box;
  EXPECT_EQ(GetClipBox(s.DC, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{5, 5, 20, 20}));
  ASSERT_TRUE(RestoreDC(s.DC, level));
  EXPECT_FALSE(RestoreDC(s.DC, level));  // already popped
  s.Clear(kWhite);
  // Round-rectangle region: corners stay out, the middle is in.
  HRGN rr = CreateRoundRectRgn(0, 0, 20, 20, 10, 10);
  EXPECT_TRUE(PtInRegion(rr, 10, 0));
  EXPECT_FALSE(PtInRegion(rr, 0, 0));
  EXPECT_FALSE(PtInRegion(rr, 20, 10));
  HRGN rect = CreateRectRgn(10, 10, 30, 30);
  HRGN both = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(both, rr, rect, RGN_OR), COMPLEXREGION);
  SelectClipRgn(s.DC, both);
  FillRect(s.DC, &all, red);
  EXPECT_EQ(s.Px(0, 0), kWhite);
  EXPECT_EQ(s.Px(10, 1), kRed);
  EXPECT_EQ(s.Px(29, 29), kRed);
  EXPECT_EQ(s.Px(30, 30), kWhite);
  // Drawing outside the clip reads back as invalid pixels only for the DC.
  SelectClipRgn(s.DC, nullptr);
  EXPECT_EQ(s.Px(30, 30), kWhite);
  for (HGDIOBJ o : {HGDIOBJ(rr), HGDIOBJ(rect), HGDIOBJ(both), HGDIOBJ(red)}) DeleteObject(o);
}

TEST(GdiDraw, WindowAndViewportOriginsShiftDrawingAndClips) {
  GdiSurface s(40, 40);
  HBRUSH red = CreateSolidBrush(kRed);
  SetViewportOrgEx(s.DC, 10, 10, nullptr);
  SetWindowOrgEx(s.DC, 2, 0, nullptr);
  RECT r{2, 0, 7, 5};  // logical; device (10,10)-(15,15)
  FillRect(s.DC, &r, red);
  EXPECT_EQ(s.Count(kRed), 25);
  IntersectClipRect(s.DC, 2, 0, 4, 2);  // logical too
  SetViewportOrgEx(s.DC, 0, 0, nullptr);
  SetWindowOrgEx(s.DC, 0, 0, nullptr);
  EXPECT_EQ(GetPixel(s.DC, 10, 10), kRed);
  EXPECT_EQ(GetPixel(s.DC, 0, 0), CLR_INVALID);  // outside the clip
  DeleteObject(red);
}

TEST(GdiDraw, FocusRectIsDottedXor) {
  GdiSurface s(20, 20);
  RECT r{2, 2, 12, 8};
  DrawFocusRect(s.DC, &r);
  int black = s.Count(kBlack);
  EXPECT_GT(black, 10);
  EXPECT_EQ(s.Ink(), (RECT{2, 2, 12, 8}));
  EXPECT_NE(s.Px(2, 2), s.Px(3, 2));  // every other pixel
  EXPECT_EQ(s.Count(kBlack, 3, 3, 11, 7), 0);
  DrawFocusRect(s.DC, &r);
  EXPECT_EQ(s.Count(kBlack), 0);
}

TEST(GdiDraw, PathsArcsAndEdges) {
  GdiSurface s(30, 30);
  // A path is built silently, then stroked with the alternate pen.
  LOGBRUSH lb{BS_SOLID, kBlack, 0};
  HPEN alt = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
  HGDIOBJ old = SelectObject(s.DC, alt);
  ASSERT_TRUE(BeginPath(s.DC));
  MoveToEx(s.DC, 2, 2, nullptr);
  LineTo(s.DC, 12, 2);
  LineTo(s.DC, 12, 12);
  CloseFigure(s.DC);
  EndPath(s.DC);
  EXPECT_EQ(s.Count(kBlack), 0);
  ASSERT_TRUE(StrokePath(s.DC));
  EXPECT_GT(s.Count(kBlack), 8);
  EXPECT_EQ(s.Px(2, 2), kBlack);
  EXPECT_EQ(s.Px(3, 2), kWhite);
  EXPECT_FALSE(StrokePath(s.DC));  // the path is used up
  SelectObject(s.DC, old);
  DeleteObject(alt);
  // FillPath fills the closed figure with the brush.
  s.Clear(kWhite);
  SelectObject(s.DC, GetStockObject(BLACK_BRUSH));
  BeginPath(s.DC);
  Rectangle(s.DC, 5, 5, 15, 15);
  EndPath(s.DC);
  FillPath(s.DC);
  EXPECT_EQ(s.Ink(), (RECT{5, 5, 15, 15}));
  SelectObject(s.DC, GetStockObject(WHITE_BRUSH));
  // Arcs run counter-clockwise from the first ray to the second: from the
  // right to the top is the upper-right quarter only.
  s.Clear(kWhite);
  Arc(s.DC, 0, 0, 21, 21, 30, 10, 10, -10);
  RECT ink = s.Ink();
  EXPECT_GE(ink.Left, 9);
  EXPECT_LE(ink.Bottom, 12);
  // Swapped rays: the other three quarters.
  s.Clear(kWhite);
  Arc(s.DC, 0, 0, 21, 21, 10, -10, 30, 10);
  EXPECT_EQ(s.Ink().Left, 0);
  EXPECT_GE(s.Ink().Bottom, 19);
  // Raised edge: light top-left, dark bottom-right, rectangle adjusted.
  s.Clear(kWhite);
  RECT e{2, 2, 12, 12};
  DrawEdge(s.DC, &e, EDGE_RAISED, BF_RECT | BF_ADJUST);
  EXPECT_EQ(e, (RECT{4, 4, 10, 10}));
  EXPECT_EQ(s.Px(2, 5), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(s.Px(11, 5), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(s.Px(3, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(s.Px(10, 5), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetDeviceCaps(s.DC, LOGPIXELSX), 96);
}

struct RopCase { DWORD rop; COLORREF expect; };

TEST(GdiBlit, RasterOperationsCombineSourceAndDestination) {
  const COLORREF src = RGB(0xF0, 0x0F, 0x55), dst = RGB(0x3C, 0x3C, 0xAA);
  for (RopCase c : {RopCase{SRCCOPY, src}, RopCase{SRCPAINT, RGB(0xFC, 0x3F, 0xFF)}, RopCase{SRCAND, RGB(0x30, 0x0C, 0x00)},
                    RopCase{SRCINVERT, RGB(0xCC, 0x33, 0xFF)}, RopCase{NOTSRCCOPY, RGB(0x0F, 0xF0, 0xAA)},
                    RopCase{DSTINVERT, RGB(0xC3, 0xC3, 0x55)}, RopCase{BLACKNESS, kBlack}, RopCase{WHITENESS, kWhite}}) {
    GdiSurface a(8, 8), b(8, 8);
    a.Clear(src);
    b.Clear(dst);
    ASSERT_TRUE(BitBlt(b.DC, 2, 2, 4, 4, a.DC, 0, 0, c.rop)) << std::hex << c.rop;
    EXPECT_EQ(b.Px(2, 2), c.expect) << std::hex << c.rop;
    EXPECT_EQ(b.Px(5, 5), c.expect) << std::hex << c.rop;
    EXPECT_EQ(b.Px(1, 1), dst);
    EXPECT_EQ(b.Px(6, 6), dst);
  }
}

TEST(GdiBlit, PatCopyStretchAndClip) {
  GdiSurface a(4, 4), b(16, 16);
  a.Clear(kRed);
  SetPixel(a.DC, 0, 0, kBlue);
  // 2x nearest-pixel stretch: the blue source pixel becomes a 2x2 block.
  ASSERT_TRUE(StretchBlt(b.DC, 0, 0, 8, 8, a.DC, 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(b.Count(kBlue), 4);
  EXPECT_EQ(b.Count(kRed), 60);
  // Mirrored: the blue block lands on the right.
  b.Clear(kWhite);
  StretchBlt(b.DC, 8, 0, -8, 8, a.DC, 0, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(b.Px(7, 0), kBlue);
  EXPECT_EQ(b.Px(0, 0), kRed);
  // PATCOPY paints the brush, clipped.
  b.Clear(kWhite);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  SelectObject(b.DC, green);
  IntersectClipRect(b.DC, 0, 0, 3, 3);
  PatBlt(b.DC, 0, 0, 16, 16, PATCOPY);
  EXPECT_EQ(b.Count(RGB(0, 255, 0)), 9);
  BitBlt(b.DC, 0, 0, 16, 16, a.DC, 0, 0, SRCCOPY);
  EXPECT_EQ(b.Count(kWhite), 256 - 9);
  SelectObject(b.DC, GetStockObject(WHITE_BRUSH));
  DeleteObject(green);
}

TEST(GdiBlit, TransparentAndAlphaBlend) {
  GdiSurface a(4, 4), b(8, 8);
  a.Clear(RGB(255, 0, 255));
  SetPixel(a.DC, 1, 1, kBlue);
  b.Clear(kWhite);
  ASSERT_TRUE(TransparentBlt(b.DC, 0, 0, 4, 4, a.DC, 0, 0, 4, 4, RGB(255, 0, 255)));
  EXPECT_EQ(b.Count(kWhite), 64 - 1);
  EXPECT_EQ(b.Px(1, 1), kBlue);
  // Source rectangle outside its surface is refused.
  EXPECT_FALSE(TransparentBlt(b.DC, 0, 0, 4, 4, a.DC, 2, 2, 4, 4, 0));

  // Constant alpha over an opaque source: an even mix.
  a.Clear(kBlack);
  BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  ASSERT_TRUE(AlphaBlend(b.DC, 0, 0, 4, 4, a.DC, 0, 0, 4, 4, half));
  COLORREF mixed = b.Px(0, 0);
  EXPECT_NEAR(GetRValue(mixed), 127, 2);

  // Per-pixel premultiplied alpha from a 32-bit DIB section.
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = 2;
  bi.bmiHeader.biHeight = -1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  auto* px = static_cast<uint32_t*>(bits);
  px[0] = 0x00000000;  // fully transparent
  px[1] = 0xFF0000FF;  // opaque blue
  HDC src = CreateCompatibleDC(nullptr);
  SelectObject(src, dib);
  b.Clear(kWhite);
  BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(AlphaBlend(b.DC, 0, 0, 2, 1, src, 0, 0, 2, 1, perPixel));
  EXPECT_EQ(b.Px(0, 0), kWhite);
  EXPECT_EQ(b.Px(1, 0), kBlue);
  DeleteDC(src);
  DeleteObject(dib);
}

TEST(GdiBlit, DibRowsRoundTripBottomUp) {
  GdiSurface s(3, 2);
  SetPixel(s.DC, 0, 0, kRed);  // top-left
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = 3;
  bi.bmiHeader.biHeight = 2;  // bottom-up
  bi.bmiHeader.biBitCount = 24;
  std::vector<uint8_t> rows(2 * 12);
  ASSERT_EQ(GetDIBits(s.DC, s.Bmp, 0, 2, rows.data(), &bi, DIB_RGB_COLORS), 2);
  // Bottom-up: the top row is the second row of the buffer, blue-green-red.
  EXPECT_EQ(rows[12 + 2], 255);
  EXPECT_EQ(rows[12 + 0], 0);
  EXPECT_EQ(rows[2], 255);  // white bottom row
  GdiSurface t(6, 4);
  ASSERT_EQ(StretchDIBits(t.DC, 0, 0, 6, 4, 0, 0, 3, 2, rows.data(), &bi, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(t.Count(kRed), 4);
  EXPECT_EQ(t.Px(1, 1), kRed);
  // A hostile source size is refused rather than allocated.
  EXPECT_EQ(StretchDIBits(t.DC, 0, 0, 6, 4, 0, 0, 30000, 30000, rows.data(), &bi, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(t.DC, 0, 0, 6, 4, 0, 0, 3, 2, rows.data(), nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(GdiObjects, StaleAndForeignHandlesAreRefused) {
  GdiSurface s(4, 4);
  HBRUSH b = CreateSolidBrush(kRed);
  SelectObject(s.DC, b);
  EXPECT_TRUE(DeleteObject(b));
  // Still selected: the DC keeps drawing with it safely.
  PatBlt(s.DC, 0, 0, 4, 4, PATCOPY);
  EXPECT_EQ(s.Px(0, 0), kRed);
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_EQ(SelectObject(s.DC, b), nullptr);
  int local = 0;
  EXPECT_EQ(SelectObject(s.DC, reinterpret_cast<HGDIOBJ>(&local)), nullptr);
  EXPECT_EQ(GetPixel(reinterpret_cast<HDC>(&local), 0, 0), CLR_INVALID);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  // Stock objects survive DeleteObject; hostile sizes are refused.
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
  EXPECT_NE(SelectObject(s.DC, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(s.DC, 100000, 100000), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(s.DC, 0, 10), nullptr);
  // A bitmap cannot be selected into two DCs at once.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, s.Bmp), nullptr);
  DeleteDC(other);
}

}  // namespace
