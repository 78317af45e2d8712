// TColor, TFont, TPen, TBrush and TCanvas over a bitmap.
#include <gtest/gtest.h>

#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/ImgList.h"

namespace {

class VclGraphics : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

TEST_F(VclGraphics, ColorToRGBResolvesSystemColoursOnly) {
  EXPECT_EQ(ColorToRGB(clBtnFace), TColor(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clHighlight), TColor(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clDefault), clDefault);
  EXPECT_EQ(ColorToRGB(TColor(0xFF0000FF)), 0);  // an index beyond the table
}

TEST_F(VclGraphics, FontSizeAndHeightFollowPixelsPerInch) {
  TFont f;
  EXPECT_EQ(f.Name(), u"Tahoma");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  f.SetHeight(-16);
  EXPECT_EQ(f.Size(), 12);
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetStyle({fsBold, fsUnderline});
  f.SetColor(clRed);
  f.SetName(u"Arial");
  f.SetName(u"Arial");  // unchanged: no event
  EXPECT_EQ(changes, 3);
  // A font for 144 pixels per inch keeps its point size when assigned.
  TFont hi;
  hi.SetPixelsPerInch(144);
  hi.SetSize(10);
  EXPECT_EQ(hi.Height(), -20);
  f.Assign(&hi);
  EXPECT_EQ(f.Size(), 10);
  EXPECT_EQ(f.Height(), -13);
  // The handle describes the properties.
  LOGFONTW lf;
  f.SetStyle({fsItalic});
  f.SetOrientation(900);
  ASSERT_EQ(GetObjectW(f.Handle(), sizeof(lf), &lf), int(sizeof(lf)));
  EXPECT_EQ(String(lf.lfFaceName), u"Tahoma");
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_EQ(lf.lfEscapement, 900);
  // A pen is not a font.
  TPen pen;
  EXPECT_THROW(f.Assign(&pen), EConvertError);
  EXPECT_EQ(MulDiv(7, 3, 2), 11);
  EXPECT_EQ(MulDiv(-7, 3, 2), -11);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST_F(VclGraphics, BrushColourMakesClearBrushSolid) {
  TBrush b;
  b.SetStyle(bsClear);
  b.SetColor(clRed);
  EXPECT_EQ(b.Style(), bsSolid);
}

TEST_F(VclGraphics, CanvasDrawsWithItsTools) {
  TBitmap bmp(40, 30);
  TCanvas* c = bmp.Canvas();
  EXPECT_EQ(c->Pixels(0, 0), clWhite);  // new pixels take the brush
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(c->Pixels(39, 29), ColorToRGB(clBtnFace));
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clBlue);
  c->Rectangle(Rect(2, 2, 10, 10));
  EXPECT_EQ(c->Pixels(2, 2), clRed);
  EXPECT_EQ(c->Pixels(9, 9), clRed);
  EXPECT_EQ(c->Pixels(10, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(c->Pixels(5, 5), clBlue);
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(20, 20);
  c->LineTo(30, 20);
  EXPECT_EQ(c->Pixels(20, 20), TColor(0xFFFFFF ^ ColorToRGB(clBtnFace)));
  EXPECT_EQ(c->PenPos(), Point(30, 20));
  // Text: extents match the DC's, TextOut moves the pen.
  SIZE s;
  c->Font()->SetName(u"Arial");
  TSize ext = c->TextExtent(u"Hello");
  GetTextExtentPoint32W(c->Handle(), u"Hello", 5, &s);
  EXPECT_EQ(ext, s);
  EXPECT_GT(c->TextWidth(u"Hello"), c->TextWidth(u"Hell"));
  c->Brush()->SetStyle(bsClear);
  c->TextOut(1, 1, u"Hello");
  EXPECT_EQ(c->PenPos(), Point(1 + ext.cx, 1));
  // TextRect with tfCalcRect measures without drawing.
  TRect r = Rect(0, 0, 1000, 0);
  String text = u"Hello";
  c->TextRect(r, text, tfCalcRect | tfSingleLine);
  EXPECT_EQ(r, Rect(0, 0, ext.cx, ext.cy));
  // Clip and pixels outside it.
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 40, 30));
}

// Calls made straight on the canvas's DC (as a label draws its caption) use the
// canvas's font and its colour, never the DC's default font.
TEST_F(VclGraphics, CallsOnTheHandleDrawWithTheCanvasFont) {
  TBitmap bmp(80, 40);
  TCanvas* c = bmp.Canvas();
  c->Font()->SetName(u"Verdana");
  c->Font()->SetHeight(-24);
  c->Font()->SetColor(clRed);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(c->Handle(), &tm));
  EXPECT_GE(tm.tmAscent + tm.tmDescent, 24);
  SetBkMode(c->Handle(), TRANSPARENT);
  TRect r = Rect(0, 0, 80, 40);
  DrawTextW(c->Handle(), u"HH", 2, &r, DT_LEFT);
  int red = 0, other = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x) {
      const TColor p = c->Pixels(x, y);
      if (p == clRed) ++red;
      else if (p != clWhite) ++other;
    }
  EXPECT_GE(red, 40);
  EXPECT_EQ(other, 0);
  // A later change of the canvas's font reaches the DC at the next call.
  c->Font()->SetHeight(-11);
  ASSERT_TRUE(GetTextMetricsW(c->Handle(), &tm));
  EXPECT_LT(tm.tmAscent + tm.tmDescent, 20);
}

TEST_F(VclGraphics, Frame3DDrawsInsideAndShrinks) {
  TBitmap bmp(10, 10);
  TRect r = Rect(0, 0, 10, 10);
  Frame3D(bmp.Canvas(), r, clWhite, clBlack, 2);
  EXPECT_EQ(r, Rect(2, 2, 8, 8));
  TCanvas* c = bmp.Canvas();
  bmp.Canvas()->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 10, 10));
  r = Rect(0, 0, 10, 10);
  Frame3D(c, r, clLime, clBlue, 1);
  EXPECT_EQ(c->Pixels(0, 0), clLime);
  EXPECT_EQ(c->Pixels(0, 8), clLime);
  EXPECT_EQ(c->Pixels(0, 9), clBlue);  // the bottom line runs to the left edge
  EXPECT_EQ(c->Pixels(9, 0), clBlue);
  EXPECT_EQ(c->Pixels(9, 9), clBlue);
  EXPECT_EQ(c->Pixels(1, 9), clBlue);
  EXPECT_EQ(c->Pixels(1, 1), clRed);
}

TEST_F(VclGraphics, BitmapDrawTransparentAndStretch) {
  TBitmap src(4, 4);
  src.Canvas()->Brush()->SetColor(clFuchsia);
  src.Canvas()->FillRect(Rect(0, 0, 4, 4));
  src.Canvas()->SetPixels(1, 1, clGreen);
  TBitmap dst(8, 8);
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clFuchsia);
  // tmAuto: the bottom-left pixel's colour is transparent.
  src.SetTransparent(true);
  EXPECT_EQ(src.TransparentColor() & 0xFFFFFF, clFuchsia);
  dst.Canvas()->Brush()->SetColor(clWhite);
  dst.Canvas()->FillRect(Rect(0, 0, 8, 8));
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);
  EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clGreen);
  // tmFixed with another colour: the fuchsia shows again.
  src.SetTransparentColor(clGreen);
  EXPECT_EQ(src.TransparentMode(), tmFixed);
  dst.Canvas()->Draw(4, 4, &src);
  EXPECT_EQ(dst.Canvas()->Pixels(4, 4), clFuchsia);
  EXPECT_EQ(dst.Canvas()->Pixels(5, 5), clWhite);
  src.SetTransparent(false);
  dst.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &src);
  EXPECT_EQ(dst.Canvas()->Pixels(2, 2), clGreen);
  EXPECT_EQ(dst.Canvas()->Pixels(3, 3), clGreen);
  EXPECT_EQ(dst.Canvas()->Pixels(4, 4), clFuchsia);
  // CopyRect copies with the copy mode.
  TBitmap third(4, 4);
  third.Canvas()->CopyRect(Rect(0, 0, 4, 4), dst.Canvas(), Rect(2, 2, 6, 6));
  EXPECT_EQ(third.Canvas()->Pixels(0, 0), clGreen);
}

TEST_F(VclGraphics, BitmapScanLinesFormatsAndResize) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
  b.SetPixelFormat(pf24bit);
  b.SetSize(3, 2);
  auto* row = static_cast<uint8_t*>(b.ScanLine(1));
  row[0] = 0x10;  // blue
  row[1] = 0x20;  // green
  row[2] = 0x30;  // red
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), TColor(RGB(0x30, 0x20, 0x10)));
  EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
  // Growing keeps the pixels; the new part takes the brush.
  b.SetSize(5, 5);
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), TColor(RGB(0x30, 0x20, 0x10)));
  EXPECT_EQ(b.Canvas()->Pixels(4, 4), clWhite);
  // 32 bits: blue, green, red, alpha.
  TBitmap a;
  a.SetPixelFormat(pf32bit);
  a.SetSize(2, 1);
  auto* px = static_cast<uint32_t*>(a.ScanLine(0));
  px[1] = 0xFF00FF00;
  EXPECT_EQ(a.Canvas()->Pixels(1, 0), clLime);
  // Hostile sizes are refused.
  EXPECT_THROW(a.SetSize(100000, 100000), EInvalidGraphic);
  // Assign copies pixels and settings.
  TBitmap copy;
  copy.Assign(&b);
  EXPECT_EQ(copy.PixelFormat(), pf24bit);
  EXPECT_EQ(copy.Canvas()->Pixels(0, 1), TColor(RGB(0x30, 0x20, 0x10)));
  b.Canvas()->SetPixels(0, 1, clBlack);
  EXPECT_NE(copy.Canvas()->Pixels(0, 1), clBlack);
}

// The printing path: a bitmap's device-independent copy stretched back onto a canvas.
TEST_F(VclGraphics, GetDIBCopiesRowsForStretchDIBits) {
  TBitmap b(3, 2);
  b.Canvas()->SetPixels(0, 0, clRed);
  b.Canvas()->SetPixels(2, 1, clBlue);
  DWORD infoSize = 0, imageSize = 0;
  GetDIBSizes(b.Handle(), infoSize, imageSize);
  ASSERT_EQ(infoSize, sizeof(BITMAPINFOHEADER));
  ASSERT_EQ(imageSize, 3u * 4u * 2u);
  std::vector<uint8_t> info(infoSize), bits(imageSize);
  ASSERT_TRUE(GetDIB(b.Handle(), nullptr, info.data(), bits.data()));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  EXPECT_EQ(header->biWidth, 3);
  EXPECT_EQ(header->biHeight, 2);  // bottom-up
  TBitmap out(6, 4);
  StretchDIBits(out.Canvas()->Handle(), 0, 0, 6, 4, 0, 0, 3, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
                DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(out.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(out.Canvas()->Pixels(5, 3), clBlue);
  EXPECT_EQ(out.Canvas()->Pixels(3, 1), clWhite);
  // A bad handle answers nothing.
  GetDIBSizes(nullptr, infoSize, imageSize);
  EXPECT_EQ(infoSize + imageSize, 0u);
  EXPECT_FALSE(GetDIB(nullptr, nullptr, info.data(), bits.data()));
}

TEST_F(VclGraphics, AlphaBitmapsBlend) {
  TBitmap a;
  a.SetPixelFormat(pf32bit);
  a.SetSize(2, 1);
  auto* px = static_cast<uint32_t*>(a.ScanLine(0));
  px[0] = 0x00000000;  // transparent
  px[1] = 0x80800000;  // half-opaque red, premultiplied (0xAARRGGBB)
  a.SetAlphaFormat(afPremultiplied);
  TBitmap dst(2, 1);
  dst.Canvas()->Draw(0, 0, &a);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);
  TColor mixed = dst.Canvas()->Pixels(1, 0);
  EXPECT_NEAR(mixed & 0xFF, 255, 2);
  EXPECT_NEAR((mixed >> 8) & 0xFF, 127, 3);
}

TEST_F(VclGraphics, ImageListAddsStripsMasksAndDraws) {
  TImageList list(nullptr, 4, 4);
  int notified = 0;
  TChangeLink link;
  link.OnChange = [&](TObject*) { ++notified; };
  list.RegisterChanges(&link);
  TBitmap strip(12, 4);
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect(Rect(0, 0, 12, 4));
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect(Rect(5, 1, 7, 3));  // in the second image
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(notified, 1);
  TBitmap dst(4, 4);
  list.Draw(dst.Canvas(), 0, 0, 1);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);  // masked out
  EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clBlue);
  // Disabled: no blue left (embossed in system greys).
  TBitmap off(4, 4);
  list.Draw(off.Canvas(), 0, 0, 1, false);
  EXPECT_NE(off.Canvas()->Pixels(1, 1), clBlue);
  list.SetColorDepth(cd32Bit);
  list.Draw(off.Canvas(), 0, 0, 1, false);
  TColor grey = off.Canvas()->Pixels(1, 1);
  EXPECT_EQ(grey & 0xFF, (grey >> 16) & 0xFF);
  // GetBitmap: the image on the background colour.
  TBitmap got;
  list.SetBkColor(clYellow);
  ASSERT_TRUE(list.GetBitmap(1, &got));
  EXPECT_EQ(got.Canvas()->Pixels(0, 0), clYellow);
  EXPECT_EQ(got.Canvas()->Pixels(1, 1), clBlue);
  EXPECT_FALSE(list.GetBitmap(7, &got));
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list.Handle(), &cx, &cy));
  EXPECT_EQ(cx, 4);
  EXPECT_THROW(list.Delete(5), EInvalidOperation);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 2);
  // A new size empties the list; a destroyed list's handle is refused.
  list.SetSize(8, 8);
  EXPECT_EQ(list.Count(), 0);
  HIMAGELIST stale;
  {
    TImageList temp;
    stale = temp.Handle();
  }
  EXPECT_FALSE(ImageList_GetIconSize(stale, &cx, &cy));
}

}  // namespace
