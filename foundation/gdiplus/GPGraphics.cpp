#include "foundation/gdiplus/GPGraphics.h"

#include <cmath>
#include <vector>

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/gdiplus/NativeHandles.h"

namespace gdiplus {

namespace {

// Nearest integer, halves to even.
Integer RoundEven(double v) { return Integer(std::nearbyint(v)); }
}  // namespace

Integer TextLength(const String& text, Integer length) {
  // GDI+ trusts the count: one past the text would read beyond its buffer.
  return length > Integer(text.size()) ? Integer(text.size()) : length;
}

Integer DrawTextMargin(Integer pointSize) {
  if (pointSize < 9) return 2;
  return 2 + RoundEven((pointSize - 8) / 1.5);
}

TGPGraphics::TGPGraphics(HDC hdc) { lastResult = GdipCreateFromHDC(hdc, &nativeGraphics); }
TGPGraphics::TGPGraphics(TGPImage* image) {
  if (image) lastResult = GdipGetImageGraphicsContext(image->nativeImage, &nativeGraphics);
}
TGPGraphics::~TGPGraphics() {
  delete FCachedFont;
  GdipDeleteGraphics(nativeGraphics);
}
TGPGraphics* TGPGraphics::FromImage(TGPImage* image) { return new TGPGraphics(image); }
void TGPGraphics::Flush(GpFlushIntention intention) { GdipFlush(nativeGraphics, intention); }
TStatus TGPGraphics::Clear(ARGB color) { return SetStatus(GdipGraphicsClear(nativeGraphics, color)); }
HDC TGPGraphics::GetHDC() {
  HDC dc = nullptr;
  return SetStatus(GdipGetDC(nativeGraphics, &dc)) == Ok ? dc : nullptr;
}
void TGPGraphics::ReleaseHDC(HDC hdc) { SetStatus(GdipReleaseDC(nativeGraphics, hdc)); }
TStatus TGPGraphics::SetTransform(TGPMatrix* m) { return SetStatus(GdipSetWorldTransform(nativeGraphics, H(m))); }
TStatus TGPGraphics::ResetTransform() { return SetStatus(GdipResetWorldTransform(nativeGraphics)); }
TStatus TGPGraphics::MultiplyTransform(TGPMatrix* m, GpMatrixOrder o) {
  return SetStatus(GdipMultiplyWorldTransform(nativeGraphics, H(m), o));
}
TStatus TGPGraphics::TranslateTransform(Single dx, Single dy, GpMatrixOrder o) {
  return SetStatus(GdipTranslateWorldTransform(nativeGraphics, dx, dy, o));
}
TStatus TGPGraphics::ScaleTransform(Single sx, Single sy, GpMatrixOrder o) {
  return SetStatus(GdipScaleWorldTransform(nativeGraphics, sx, sy, o));
}
TStatus TGPGraphics::RotateTransform(Single a, GpMatrixOrder o) { return SetStatus(GdipRotateWorldTransform(nativeGraphics, a, o)); }
TStatus TGPGraphics::SetCompositingQuality(Integer q) {
  return SetStatus(GdipSetCompositingQuality(nativeGraphics, GpCompositingQuality(q)));
}
Integer TGPGraphics::GetCompositingQuality() {
  GpCompositingQuality q = CompositingQualityDefault;
  SetStatus(GdipGetCompositingQuality(nativeGraphics, &q));
  return q;
}
TStatus TGPGraphics::SetTextRenderingHint(GpTextRenderingHint h) { return SetStatus(GdipSetTextRenderingHint(nativeGraphics, h)); }
GpTextRenderingHint TGPGraphics::GetTextRenderingHint() {
  GpTextRenderingHint h = TextRenderingHintSystemDefault;
  SetStatus(GdipGetTextRenderingHint(nativeGraphics, &h));
  return h;
}
TStatus TGPGraphics::SetSmoothingMode(Integer m) { return SetStatus(GdipSetSmoothingMode(nativeGraphics, GpSmoothingMode(m))); }
Integer TGPGraphics::GetSmoothingMode() {
  GpSmoothingMode m = SmoothingModeInvalid;
  if (SetStatus(GdipGetSmoothingMode(nativeGraphics, &m)) != Ok) return -1;
  return m;
}
TStatus TGPGraphics::DrawPath(TGPPen* pen, TGPGraphicsPath* path) { return SetStatus(GdipDrawPath(nativeGraphics, H(pen), H(path))); }
TStatus TGPGraphics::FillPath(TGPBrush* brush, TGPGraphicsPath* path) {
  return SetStatus(GdipFillPath(nativeGraphics, H(brush), H(path)));
}
TStatus TGPGraphics::FillRectangle(TGPBrush* b, const TGPRectF& r) { return FillRectangle(b, r.X, r.Y, r.Width, r.Height); }
TStatus TGPGraphics::FillRectangle(TGPBrush* b, Single x, Single y, Single w, Single h) {
  return SetStatus(GdipFillRectangle(nativeGraphics, H(b), x, y, w, h));
}
TStatus TGPGraphics::DrawRectangle(TGPPen* p, const TGPRectF& r) { return DrawRectangle(p, r.X, r.Y, r.Width, r.Height); }
TStatus TGPGraphics::DrawRectangle(TGPPen* p, Single x, Single y, Single w, Single h) {
  return SetStatus(GdipDrawRectangle(nativeGraphics, H(p), x, y, w, h));
}
TStatus TGPGraphics::DrawLine(TGPPen* p, Single x1, Single y1, Single x2, Single y2) {
  return SetStatus(GdipDrawLine(nativeGraphics, H(p), x1, y1, x2, y2));
}
TStatus TGPGraphics::DrawArc(TGPPen* p, Single x, Single y, Single w, Single h, Single a, Single s) {
  return SetStatus(GdipDrawArc(nativeGraphics, H(p), x, y, w, h, a, s));
}
TStatus TGPGraphics::DrawArc(TGPPen* p, const TGPRectF& r, Single a, Single s) { return DrawArc(p, r.X, r.Y, r.Width, r.Height, a, s); }
TStatus TGPGraphics::DrawBezier(TGPPen* p, const TGPPointF& a, const TGPPointF& b, const TGPPointF& c, const TGPPointF& d) {
  return DrawBezier(p, a.X, a.Y, b.X, b.Y, c.X, c.Y, d.X, d.Y);
}
TStatus TGPGraphics::DrawBezier(TGPPen* p, Single x1, Single y1, Single x2, Single y2, Single x3, Single y3, Single x4,
                                Single y4) {
  return SetStatus(GdipDrawBezier(nativeGraphics, H(p), x1, y1, x2, y2, x3, y3, x4, y4));
}
TStatus TGPGraphics::DrawBeziers(TGPPen* p, const TGPPointF* pts, Integer n) {
  return SetStatus(GdipDrawBeziers(nativeGraphics, H(p), pts, n));
}
TStatus TGPGraphics::DrawEllipse(TGPPen* p, const TGPRectF& r) { return DrawEllipse(p, r.X, r.Y, r.Width, r.Height); }
TStatus TGPGraphics::DrawEllipse(TGPPen* p, Single x, Single y, Single w, Single h) {
  return SetStatus(GdipDrawEllipse(nativeGraphics, H(p), x, y, w, h));
}
TStatus TGPGraphics::DrawEllipse(TGPPen* p, Integer x, Integer y, Integer w, Integer h) {
  return SetStatus(GdipDrawEllipseI(nativeGraphics, H(p), x, y, w, h));
}
TStatus TGPGraphics::FillEllipse(TGPBrush* b, const TGPRectF& r) { return FillEllipse(b, r.X, r.Y, r.Width, r.Height); }
TStatus TGPGraphics::FillEllipse(TGPBrush* b, Single x, Single y, Single w, Single h) {
  return SetStatus(GdipFillEllipse(nativeGraphics, H(b), x, y, w, h));
}
TStatus TGPGraphics::FillEllipse(TGPBrush* b, Integer x, Integer y, Integer w, Integer h) {
  return SetStatus(GdipFillEllipseI(nativeGraphics, H(b), x, y, w, h));
}
TStatus TGPGraphics::FillPolygon(TGPBrush* b, const TGPPointF* pts, Integer n, GpFillMode m) {
  return SetStatus(GdipFillPolygon(nativeGraphics, H(b), pts, n, m));
}
TStatus TGPGraphics::FillPolygon(TGPBrush* b, const TGPPoint* pts, Integer n, GpFillMode m) {
  return SetStatus(GdipFillPolygonI(nativeGraphics, H(b), pts, n, m));
}
TStatus TGPGraphics::DrawImage(TGPImage* image, Integer x, Integer y) { return SetStatus(GdipDrawImageI(nativeGraphics, H(image), x, y)); }
TStatus TGPGraphics::DrawImage(TGPImage* image, Single x, Single y, Single w, Single h) {
  return SetStatus(GdipDrawImageRect(nativeGraphics, H(image), x, y, w, h));
}
TStatus TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& r) { return DrawImage(image, r.X, r.Y, r.Width, r.Height); }
TStatus TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& d, Single sx, Single sy, Single sw, Single sh, GpUnit unit,
                               TGPImageAttributes* ia, DrawImageAbort cb, void* data) {
  return SetStatus(GdipDrawImageRectRect(nativeGraphics, H(image), d.X, d.Y, d.Width, d.Height, sx, sy, sw, sh, unit,
                                         ia ? ia->nativeImageAttr : nullptr, cb, data));
}
TStatus TGPGraphics::DrawImageRect(TGPImage* image, Integer x, Integer y, Integer w, Integer h) {
  return SetStatus(GdipDrawImageRect(nativeGraphics, H(image), Single(x), Single(y), Single(w), Single(h)));
}
TStatus TGPGraphics::DrawImageRect(TGPImage* image, const TGPRectF& r) {
  return DrawImageRect(image, RoundEven(r.X), RoundEven(r.Y), RoundEven(r.Width), RoundEven(r.Height));
}
TStatus TGPGraphics::SetClip(TGPRegion* region, GpCombineMode m) { return SetStatus(GdipSetClipRegion(nativeGraphics, H(region), m)); }
TStatus TGPGraphics::SetClip(TGPGraphicsPath* path, GpCombineMode m) { return SetStatus(GdipSetClipPath(nativeGraphics, H(path), m)); }
TStatus TGPGraphics::ExcludeClip(const TGPRectF& r) {
  return SetStatus(GdipSetClipRect(nativeGraphics, r.X, r.Y, r.Width, r.Height, CombineModeExclude));
}
TStatus TGPGraphics::ExcludeClip(TGPRegion* region) { return SetStatus(GdipSetClipRegion(nativeGraphics, H(region), CombineModeExclude)); }
TStatus TGPGraphics::ResetClip() { return SetStatus(GdipResetClip(nativeGraphics)); }

TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layout,
                                   const TGPStringFormat* fmt, TGPRectF& box, Integer* fitted, Integer* lines) {
  return SetStatus(GdipMeasureString(nativeGraphics, text.c_str(), TextLength(text, length), H(font), &layout, H(fmt),
                                     &box, fitted, lines));
}
TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                                   const TGPStringFormat* fmt, TGPRectF& box) {
  return MeasureString(text, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, fmt, box);
}
TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layout,
                                   TGPRectF& box) {
  return MeasureString(text, length, font, layout, nullptr, box);
}
TStatus TGPGraphics::DrawString(const String& text, Integer, const TGPFont* font, const TGPRectF& layout,
                                const TGPStringFormat* fmt, const TGPBrush* brush) {
  // The whole text goes to GDI+ from a zero-terminated copy.
  std::vector<Char> buffer(text.size() + 1, 0);
  std::copy(text.begin(), text.end(), buffer.begin());
  return SetStatus(GdipDrawString(nativeGraphics, buffer.data(), INT(text.size()), H(font), &layout, H(fmt), H(brush)));
}
TStatus TGPGraphics::DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                                const TGPBrush* brush) {
  return DrawString(text, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, nullptr, brush);
}
TStatus TGPGraphics::DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                                const TGPStringFormat* fmt, const TGPBrush* brush) {
  return DrawString(text, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, fmt, brush);
}

// ---- TFont bridge ---------------------------------------------------------

TGPFont* TGPGraphics::MakeFont(TFont* AFont) { return MakeFont(AFont, AFont->Size()); }

TGPFont* TGPGraphics::MakeFont(TFont* AFont, Integer ASize) {
  auto family = std::make_unique<TGPFontFamily>(AFont->Name());
  if (family->lastResult == FontFamilyNotFound || family->lastResult == FontStyleNotFound)
    family = std::make_unique<TGPFontFamily>(u"Arial");
  return new TGPFont(family.get(), Single(ASize), FontStyleBits(AFont->Style()), UnitPoint);
}

TGPFont* TGPGraphics::MakeFontEx(TFont* AFont) { return MakeFontEx(AFont, AFont->Size()); }

TGPFont* TGPGraphics::MakeFontEx(TFont* AFont, Integer ASize) {
  if (FCachedFont && FCachedFont->GetSize() == Single(ASize) && FCachedFont->GetStyle() == FontStyleBits(AFont->Style())) {
    TGPFontFamily family(nullptr, Ok);
    String name;
    if (FCachedFont->GetFamily(&family) == Ok) family.GetFamilyName(name, 0);
    if (name == AFont->Name()) return FCachedFont;
  }
  delete FCachedFont;
  FCachedFont = MakeFont(AFont, ASize);
  return FCachedFont;
}

Integer TGPGraphics::TextWidth(const String& string_, TFont* font) {
  TGPRectF box{};
  MeasureString(string_, Integer(string_.size()), MakeFontEx(font), TGPRectF{0, 0, 10000, 10000}, box);
  return RoundEven(box.Width);
}

Integer TGPGraphics::TextHeight(const String& string_, TFont* font) {
  TGPRectF box{};
  MeasureString(string_, Integer(string_.size()), MakeFontEx(font), TGPRectF{0, 0, 10000, 10000}, box);
  return RoundEven(box.Height);
}

Integer TGPGraphics::DrawText(const String& string_, Integer len, TRect& rect, TFont* font, Cardinal style, TColor bkColor) {
  TGPFont* f = MakeFontEx(font);
  const bool calc = style & DT_CALCRECT;
  if (calc || bkColor != clNone) {
    String copy = string_;
    Integer m = DrawTextMargin(font->Size());
    // GDI+ gives a trailing space no width: measure an "i" in its place.
    if (copy.size() > 1 && copy.back() == u' ') copy.back() = u'i';
    TGPRectF layout{Single(rect.Left), Single(rect.Top), Single(rect.Right - rect.Left + 1000), Single(rect.Bottom - rect.Top)};
    TGPRectF box{};
    MeasureString(copy, len, f, layout, box);
    rect.Right = rect.Left + RoundEven(box.Width - m);
    rect.Bottom = rect.Top + RoundEven(box.Height);
    if (bkColor != clNone) {
      TGPSolidBrush bk(ColorToARGB(bkColor));
      FillRectangle(&bk, Single(rect.Left + 1), Single(rect.Top), box.Width - m + 1, box.Height);
    }
  }
  if (!calc) {
    TGPSolidBrush brush(ColorToARGB(font->Color()));
    DrawString(string_, Integer(string_.size()), f, TGPPointF{Single(rect.Left), Single(rect.Top)}, &brush);
  }
  return rect.Bottom - rect.Top;
}

}  // namespace gdiplus
