#pragma once
// TGPGraphics of the imported GDI+ set: a GDI+ surface on a DC or an image,
// with a cached font and text routines that bridge TFont to GDI+.
#include <memory>

#include "foundation/gdiplus/GPBrush.h"
#include "foundation/gdiplus/GPFont.h"
#include "foundation/gdiplus/GPGraphicsPath.h"
#include "foundation/gdiplus/GPImage.h"
#include "foundation/gdiplus/GPImageAttributes.h"
#include "foundation/gdiplus/GPPen.h"
#include "foundation/gdiplus/GPRegion.h"
#include "foundation/gdiplus/GPStringFormat.h"
#include "platform/rtl/Geometry.h"

namespace gdiplus {

class TGPGraphics : public TGPStatusKeeper {
 public:
  explicit TGPGraphics(HDC hdc);
  // A nil image makes no call: no handle, status Ok.
  explicit TGPGraphics(TGPImage* image);
  ~TGPGraphics() override;
  static TGPGraphics* FromImage(TGPImage* image);
  // The status is not kept.
  void Flush(GpFlushIntention intention = FlushIntentionFlush);
  TStatus Clear(ARGB color);
  HDC GetHDC();
  void ReleaseHDC(HDC hdc);
  TStatus SetTransform(TGPMatrix* matrix);
  TStatus ResetTransform();
  TStatus MultiplyTransform(TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus TranslateTransform(Single dx, Single dy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(Single sx, Single sy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus SetCompositingQuality(Integer quality);
  Integer GetCompositingQuality();
  TStatus SetTextRenderingHint(GpTextRenderingHint hint);
  GpTextRenderingHint GetTextRenderingHint();
  TStatus SetSmoothingMode(Integer mode);
  // -1 when the call fails.
  Integer GetSmoothingMode();
  TStatus DrawPath(TGPPen* pen, TGPGraphicsPath* path);
  TStatus FillPath(TGPBrush* brush, TGPGraphicsPath* path);
  TStatus FillRectangle(TGPBrush* brush, const TGPRectF& rect);
  TStatus FillRectangle(TGPBrush* brush, Single x, Single y, Single w, Single h);
  TStatus DrawRectangle(TGPPen* pen, const TGPRectF& rect);
  TStatus DrawRectangle(TGPPen* pen, Single x, Single y, Single w, Single h);
  TStatus DrawLine(TGPPen* pen, Single x1, Single y1, Single x2, Single y2);
  TStatus DrawArc(TGPPen* pen, Single x, Single y, Single w, Single h, Single startAngle, Single sweepAngle);
  TStatus DrawArc(TGPPen* pen, const TGPRectF& r, Single startAngle, Single sweepAngle);
  TStatus DrawBezier(TGPPen* pen, const TGPPointF& p1, const TGPPointF& p2, const TGPPointF& p3, const TGPPointF& p4);
  TStatus DrawBezier(TGPPen* pen, Single x1, Single y1, Single x2, Single y2, Single x3, Single y3, Single x4, Single y4);
  TStatus DrawBeziers(TGPPen* pen, const TGPPointF* points, Integer count);
  TStatus DrawEllipse(TGPPen* pen, const TGPRectF& rect);
  TStatus DrawEllipse(TGPPen* pen, Single x, Single y, Single w, Single h);
  TStatus DrawEllipse(TGPPen* pen, Integer x, Integer y, Integer w, Integer h);
  TStatus FillEllipse(TGPBrush* brush, const TGPRectF& rect);
  TStatus FillEllipse(TGPBrush* brush, Single x, Single y, Single w, Single h);
  TStatus FillEllipse(TGPBrush* brush, Integer x, Integer y, Integer w, Integer h);
  TStatus FillPolygon(TGPBrush* brush, const TGPPointF* points, Integer count, GpFillMode fillMode = FillModeAlternate);
  TStatus FillPolygon(TGPBrush* brush, const TGPPoint* points, Integer count, GpFillMode fillMode = FillModeAlternate);
  TStatus DrawImage(TGPImage* image, Integer x, Integer y);
  TStatus DrawImage(TGPImage* image, Single x, Single y, Single w, Single h);
  TStatus DrawImage(TGPImage* image, const TGPRectF& rect);
  TStatus DrawImage(TGPImage* image, const TGPRectF& destRect, Single srcx, Single srcy, Single srcwidth,
                    Single srcheight, GpUnit srcUnit, TGPImageAttributes* imageAttributes = nullptr,
                    DrawImageAbort callback = nullptr, void* callbackData = nullptr);
  TStatus DrawImageRect(TGPImage* image, Integer x, Integer y, Integer w, Integer h);
  // Each field rounded to the nearest integer (halves to even).
  TStatus DrawImageRect(TGPImage* image, const TGPRectF& ARect);
  TStatus SetClip(TGPRegion* region, GpCombineMode combineMode = CombineModeReplace);
  TStatus SetClip(TGPGraphicsPath* path, GpCombineMode combineMode = CombineModeReplace);
  TStatus ExcludeClip(const TGPRectF& rect);
  TStatus ExcludeClip(TGPRegion* region);
  TStatus ResetClip();
  // length -1 measures up to the terminating zero; a length past the text's
  // end measures the whole text.
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                        const TGPStringFormat* stringFormat, TGPRectF& boundingBox, Integer* codepointsFitted = nullptr,
                        Integer* linesFilled = nullptr);
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                        const TGPStringFormat* stringFormat, TGPRectF& boundingBox);
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                        TGPRectF& boundingBox);
  // Draws the whole text whatever the length says.
  TStatus DrawString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                     const TGPStringFormat* stringFormat, const TGPBrush* brush);
  TStatus DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                     const TGPBrush* brush);
  TStatus DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                     const TGPStringFormat* stringFormat, const TGPBrush* brush);

  // A new GDI+ font (owned by the caller) of the TFont, in points; an
  // unknown face falls back to "Arial".
  TGPFont* MakeFont(TFont* AFont);
  TGPFont* MakeFont(TFont* AFont, Integer ASize);
  // The graphics' cached font, rebuilt when size, style or name differ.
  TGPFont* MakeFontEx(TFont* AFont);
  TGPFont* MakeFontEx(TFont* AFont, Integer ASize);
  // Pixels, from a measure in a 10000 x 10000 layout at (0, 0).
  Integer TextWidth(const String& string_, TFont* font);
  Integer TextHeight(const String& string_, TFont* font);
  // The system's text drawing on GDI+: with DT_CALCRECT (or a background
  // colour other than clNone) rect is measured; without DT_CALCRECT the
  // text is drawn at rect's top-left. Answers the height of rect.
  Integer DrawText(const String& string_, Integer len, TRect& rect, TFont* font, Cardinal style, TColor bkColor);

  TGPFont* FCachedFont = nullptr;
  GpGraphics* nativeGraphics = nullptr;
};

// The count handed to GDI+ for text: length, but never past the text's end
// (a negative length still means "up to the terminating zero").
Integer TextLength(const String& text, Integer length);

// Margin DrawText takes off a measured width for a font of that point size.
Integer DrawTextMargin(Integer pointSize);

}  // namespace gdiplus
