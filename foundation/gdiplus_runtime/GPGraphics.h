#pragma once
// TGPGraphics: a GDI+ drawing surface on a device context or an image, of
// the run-time GDI+ set (wrapper contract in GdiplusBase.h). F forms take
// float coordinates, I forms integers; arrays are read for count entries
// (a non-positive count or nil array: InvalidParameter). A nil pen, brush,
// path, region, matrix or graphics is passed as a nil handle and answers
// InvalidParameter where GDI+ needs one; fonts, formats, images and image
// attributes may be nil where noted.
#include <memory>
#include <vector>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPBrush;
class TGPCachedBitmap;
class TGPFont;
class TGPGraphicsPath;
class TGPImage;
class TGPImageAttributes;
class TGPMatrix;
class TGPPen;
class TGPRegion;
class TGPStringFormat;

class TGPGraphics : public TGdiplusBase {
 public:
  // On a device context; the two integers only tell this form apart.
  TGPGraphics(HDC hdc, Integer dummy1, Integer dummy2);
  TGPGraphics(HDC hdc, HANDLE hdevice);
  // Windows have no surface of their own here: Win32Error kept.
  TGPGraphics(HWND hwnd, bool icm);
  // On an image; a nil image makes no call (nil handle, status Ok).
  explicit TGPGraphics(const TGPImage* image);
  ~TGPGraphics() override;
  TGPGraphics(const TGPGraphics&) = delete;
  TGPGraphics& operator=(const TGPGraphics&) = delete;

  // Factories: new graphics as the matching constructor makes them.
  static std::unique_ptr<TGPGraphics> FromHDC(HDC hdc);
  static std::unique_ptr<TGPGraphics> FromHDC(HDC hdc, HANDLE hdevice);
  static std::unique_ptr<TGPGraphics> FromHWND(HWND hwnd, bool icm = false);
  static std::unique_ptr<TGPGraphics> FromImage(const TGPImage* image);

  TStatus Flush(GpFlushIntention intention = FlushIntentionFlush);
  // A DC over the surface until ReleaseHDC; nullptr when the call fails.
  HDC GetHDC();
  void ReleaseHDC(HDC hdc);
  TStatus SetRenderingOrigin(Integer x, Integer y);
  // Both 0 when the call fails.
  TStatus GetRenderingOrigin(Integer& x, Integer& y);
  TStatus SetCompositingMode(GpCompositingMode compositingMode);
  // Getters answer 0 when the call fails, the quality modes -1 (invalid).
  GpCompositingMode GetCompositingMode();
  TStatus SetCompositingQuality(GpCompositingQuality compositingQuality);
  GpCompositingQuality GetCompositingQuality();
  TStatus SetTextRenderingHint(GpTextRenderingHint newMode);
  GpTextRenderingHint GetTextRenderingHint();
  // 0..12.
  TStatus SetTextContrast(UINT contrast);
  UINT GetTextContrast();
  GpInterpolationMode GetInterpolationMode();
  TStatus SetInterpolationMode(GpInterpolationMode interpolationMode);
  GpSmoothingMode GetSmoothingMode();
  TStatus SetSmoothingMode(GpSmoothingMode smoothingMode);
  GpPixelOffsetMode GetPixelOffsetMode();
  TStatus SetPixelOffsetMode(GpPixelOffsetMode pixelOffsetMode);
  // The world transform.
  TStatus SetTransform(const TGPMatrix* matrix);
  TStatus ResetTransform();
  TStatus MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus TranslateTransform(Single dx, Single dy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(Single sx, Single sy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  // Copies the world transform into matrix.
  TStatus GetTransform(TGPMatrix* matrix);
  // UnitWorld is refused (InvalidParameter).
  TStatus SetPageUnit(GpUnit unit);
  TStatus SetPageScale(Single scale);
  GpUnit GetPageUnit();
  Single GetPageScale();
  Single GetDpiX();
  Single GetDpiY();
  TStatus TransformPoints(GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace, TGPPointF* pts, Integer count);
  TStatus TransformPoints(GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace, TGPPoint* pts, Integer count);
  // Replaces color by the nearest the surface can show.
  TStatus GetNearestColor(ARGB& color);

  TStatus DrawLine(const TGPPen* pen, Single x1, Single y1, Single x2, Single y2);
  TStatus DrawLine(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2);
  TStatus DrawLine(const TGPPen* pen, Integer x1, Integer y1, Integer x2, Integer y2);
  TStatus DrawLine(const TGPPen* pen, const TGPPoint& pt1, const TGPPoint& pt2);
  TStatus DrawLines(const TGPPen* pen, const TGPPointF* points, Integer count);
  TStatus DrawLines(const TGPPen* pen, const TGPPoint* points, Integer count);
  TStatus DrawArc(const TGPPen* pen, Single x, Single y, Single width, Single height, Single startAngle,
                  Single sweepAngle);
  TStatus DrawArc(const TGPPen* pen, const TGPRectF& rect, Single startAngle, Single sweepAngle);
  TStatus DrawArc(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height, Single startAngle,
                  Single sweepAngle);
  TStatus DrawArc(const TGPPen* pen, const TGPRect& rect, Single startAngle, Single sweepAngle);
  TStatus DrawBezier(const TGPPen* pen, Single x1, Single y1, Single x2, Single y2, Single x3, Single y3, Single x4,
                     Single y4);
  TStatus DrawBezier(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                     const TGPPointF& pt4);
  TStatus DrawBezier(const TGPPen* pen, Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3,
                     Integer x4, Integer y4);
  TStatus DrawBezier(const TGPPen* pen, const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3,
                     const TGPPoint& pt4);
  TStatus DrawBeziers(const TGPPen* pen, const TGPPointF* points, Integer count);
  TStatus DrawBeziers(const TGPPen* pen, const TGPPoint* points, Integer count);
  TStatus DrawRectangle(const TGPPen* pen, const TGPRectF& rect);
  TStatus DrawRectangle(const TGPPen* pen, Single x, Single y, Single width, Single height);
  TStatus DrawRectangle(const TGPPen* pen, const TGPRect& rect);
  TStatus DrawRectangle(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height);
  TStatus DrawRectangles(const TGPPen* pen, const TGPRectF* rects, Integer count);
  TStatus DrawRectangles(const TGPPen* pen, const TGPRect* rects, Integer count);
  TStatus DrawEllipse(const TGPPen* pen, const TGPRectF& rect);
  TStatus DrawEllipse(const TGPPen* pen, Single x, Single y, Single width, Single height);
  TStatus DrawEllipse(const TGPPen* pen, const TGPRect& rect);
  TStatus DrawEllipse(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height);
  TStatus DrawPie(const TGPPen* pen, const TGPRectF& rect, Single startAngle, Single sweepAngle);
  TStatus DrawPie(const TGPPen* pen, Single x, Single y, Single width, Single height, Single startAngle,
                  Single sweepAngle);
  TStatus DrawPie(const TGPPen* pen, const TGPRect& rect, Single startAngle, Single sweepAngle);
  TStatus DrawPie(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height, Single startAngle,
                  Single sweepAngle);
  TStatus DrawPolygon(const TGPPen* pen, const TGPPointF* points, Integer count);
  TStatus DrawPolygon(const TGPPen* pen, const TGPPoint* points, Integer count);
  TStatus DrawPath(const TGPPen* pen, const TGPGraphicsPath* path);
  TStatus DrawCurve(const TGPPen* pen, const TGPPointF* points, Integer count);
  TStatus DrawCurve(const TGPPen* pen, const TGPPointF* points, Integer count, Single tension);
  TStatus DrawCurve(const TGPPen* pen, const TGPPointF* points, Integer count, Integer offset, Integer numberOfSegments,
                    Single tension = 0.5f);
  TStatus DrawCurve(const TGPPen* pen, const TGPPoint* points, Integer count);
  TStatus DrawCurve(const TGPPen* pen, const TGPPoint* points, Integer count, Single tension);
  TStatus DrawCurve(const TGPPen* pen, const TGPPoint* points, Integer count, Integer offset, Integer numberOfSegments,
                    Single tension = 0.5f);
  TStatus DrawClosedCurve(const TGPPen* pen, const TGPPointF* points, Integer count);
  TStatus DrawClosedCurve(const TGPPen* pen, const TGPPointF* points, Integer count, Single tension);
  TStatus DrawClosedCurve(const TGPPen* pen, const TGPPoint* points, Integer count);
  TStatus DrawClosedCurve(const TGPPen* pen, const TGPPoint* points, Integer count, Single tension);
  TStatus Clear(ARGB color);
  TStatus FillRectangle(const TGPBrush* brush, const TGPRectF& rect);
  TStatus FillRectangle(const TGPBrush* brush, Single x, Single y, Single width, Single height);
  TStatus FillRectangle(const TGPBrush* brush, const TGPRect& rect);
  TStatus FillRectangle(const TGPBrush* brush, Integer x, Integer y, Integer width, Integer height);
  TStatus FillRectangles(const TGPBrush* brush, const TGPRectF* rects, Integer count);
  TStatus FillRectangles(const TGPBrush* brush, const TGPRect* rects, Integer count);
  TStatus FillPolygon(const TGPBrush* brush, const TGPPointF* points, Integer count);
  TStatus FillPolygon(const TGPBrush* brush, const TGPPointF* points, Integer count, GpFillMode fillMode);
  TStatus FillPolygon(const TGPBrush* brush, const TGPPoint* points, Integer count);
  TStatus FillPolygon(const TGPBrush* brush, const TGPPoint* points, Integer count, GpFillMode fillMode);
  TStatus FillEllipse(const TGPBrush* brush, const TGPRectF& rect);
  TStatus FillEllipse(const TGPBrush* brush, Single x, Single y, Single width, Single height);
  TStatus FillEllipse(const TGPBrush* brush, const TGPRect& rect);
  TStatus FillEllipse(const TGPBrush* brush, Integer x, Integer y, Integer width, Integer height);
  TStatus FillPie(const TGPBrush* brush, const TGPRectF& rect, Single startAngle, Single sweepAngle);
  TStatus FillPie(const TGPBrush* brush, Single x, Single y, Single width, Single height, Single startAngle,
                  Single sweepAngle);
  TStatus FillPie(const TGPBrush* brush, const TGPRect& rect, Single startAngle, Single sweepAngle);
  TStatus FillPie(const TGPBrush* brush, Integer x, Integer y, Integer width, Integer height, Single startAngle,
                  Single sweepAngle);
  TStatus FillPath(const TGPBrush* brush, const TGPGraphicsPath* path);
  TStatus FillClosedCurve(const TGPBrush* brush, const TGPPointF* points, Integer count);
  TStatus FillClosedCurve(const TGPBrush* brush, const TGPPointF* points, Integer count, GpFillMode fillMode,
                          Single tension = 0.5f);
  TStatus FillClosedCurve(const TGPBrush* brush, const TGPPoint* points, Integer count);
  TStatus FillClosedCurve(const TGPBrush* brush, const TGPPoint* points, Integer count, GpFillMode fillMode,
                          Single tension = 0.5f);
  TStatus FillRegion(const TGPBrush* brush, const TGPRegion* region);

  // Text: length -1 is the whole text; a length beyond the text answers
  // InvalidParameter without a call. font, format and brush may be nil.
  TStatus DrawString(const String& text, const TGPFont* font, const TGPRectF& layoutRect,
                     const TGPStringFormat* stringFormat, const TGPBrush* brush);
  TStatus DrawString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                     const TGPStringFormat* stringFormat, const TGPBrush* brush);
  TStatus DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                     const TGPBrush* brush);
  TStatus DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                     const TGPStringFormat* stringFormat, const TGPBrush* brush);
  // The counters may be nil.
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                        const TGPStringFormat* stringFormat, TGPRectF& boundingBox, Integer* codepointsFitted = nullptr,
                        Integer* linesFilled = nullptr);
  // size is written only when the call succeeds.
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPSizeF& layoutRectSize,
                        const TGPStringFormat* stringFormat, TGPSizeF& size, Integer* codepointsFitted = nullptr,
                        Integer* linesFilled = nullptr);
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                        const TGPStringFormat* stringFormat, TGPRectF& boundingBox);
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                        TGPRectF& boundingBox);
  TStatus MeasureString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                        TGPRectF& boundingBox);
  // One region per measurable range of the format, for the first regionCount
  // regions. regionCount <= 0: InvalidParameter without a call, not kept;
  // above regions' size or a nil region: InvalidParameter.
  TStatus MeasureCharacterRanges(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                                 const TGPStringFormat* stringFormat, Integer regionCount,
                                 const std::vector<TGPRegion*>& regions);
  // length characters placed at length positions; font, brush and matrix
  // may be nil.
  TStatus DrawDriverString(const UINT16* text, Integer length, const TGPFont* font, const TGPBrush* brush,
                           const TGPPointF* positions, Integer flags, const TGPMatrix* matrix);
  TStatus MeasureDriverString(const UINT16* text, Integer length, const TGPFont* font, const TGPPointF* positions,
                              Integer flags, const TGPMatrix* matrix, TGPRectF& boundingBox);
  TStatus DrawCachedBitmap(const TGPCachedBitmap* cb, Integer x, Integer y);

  // Images (image and imageAttributes may be nil).
  TStatus DrawImage(const TGPImage* image, const TGPPointF& point);
  TStatus DrawImage(const TGPImage* image, Single x, Single y);
  TStatus DrawImage(const TGPImage* image, const TGPRectF& rect);
  TStatus DrawImage(const TGPImage* image, Single x, Single y, Single width, Single height);
  TStatus DrawImage(const TGPImage* image, const TGPPoint& point);
  TStatus DrawImage(const TGPImage* image, Integer x, Integer y);
  TStatus DrawImage(const TGPImage* image, const TGPRect& rect);
  TStatus DrawImage(const TGPImage* image, Integer x, Integer y, Integer width, Integer height);
  // Three points (upper-left, upper-right, lower-left) or four; other counts
  // or nil points: InvalidParameter without a call.
  TStatus DrawImage(const TGPImage* image, const TGPPointF* destPoints, Integer count);
  TStatus DrawImage(const TGPImage* image, const TGPPoint* destPoints, Integer count);
  TStatus DrawImage(const TGPImage* image, Single x, Single y, Single srcx, Single srcy, Single srcwidth,
                    Single srcheight, GpUnit srcUnit);
  TStatus DrawImage(const TGPImage* image, Integer x, Integer y, Integer srcx, Integer srcy, Integer srcwidth,
                    Integer srcheight, GpUnit srcUnit);
  TStatus DrawImage(const TGPImage* image, const TGPRectF& destRect, Single srcx, Single srcy, Single srcwidth,
                    Single srcheight, GpUnit srcUnit, const TGPImageAttributes* imageAttributes = nullptr,
                    DrawImageAbort callback = nullptr, void* callbackData = nullptr);
  TStatus DrawImage(const TGPImage* image, const TGPRect& destRect, Integer srcx, Integer srcy, Integer srcwidth,
                    Integer srcheight, GpUnit srcUnit, const TGPImageAttributes* imageAttributes = nullptr,
                    DrawImageAbort callback = nullptr, void* callbackData = nullptr);
  TStatus DrawImage(const TGPImage* image, const TGPPointF* destPoints, Integer count, Single srcx, Single srcy,
                    Single srcwidth, Single srcheight, GpUnit srcUnit,
                    const TGPImageAttributes* imageAttributes = nullptr, DrawImageAbort callback = nullptr,
                    void* callbackData = nullptr);
  TStatus DrawImage(const TGPImage* image, const TGPPoint* destPoints, Integer count, Integer srcx, Integer srcy,
                    Integer srcwidth, Integer srcheight, GpUnit srcUnit,
                    const TGPImageAttributes* imageAttributes = nullptr, DrawImageAbort callback = nullptr,
                    void* callbackData = nullptr);

  // Clipping.
  TStatus SetClip(const TGPGraphics* g, GpCombineMode combineMode = CombineModeReplace);
  TStatus SetClip(const TGPRectF& rect, GpCombineMode combineMode = CombineModeReplace);
  TStatus SetClip(const TGPRect& rect, GpCombineMode combineMode = CombineModeReplace);
  TStatus SetClip(const TGPGraphicsPath* path, GpCombineMode combineMode = CombineModeReplace);
  TStatus SetClip(const TGPRegion* region, GpCombineMode combineMode = CombineModeReplace);
  TStatus SetClip(HRGN hRgn, GpCombineMode combineMode = CombineModeReplace);
  TStatus IntersectClip(const TGPRectF& rect);
  TStatus IntersectClip(const TGPRect& rect);
  TStatus IntersectClip(const TGPRegion* region);
  TStatus ExcludeClip(const TGPRectF& rect);
  TStatus ExcludeClip(const TGPRect& rect);
  TStatus ExcludeClip(const TGPRegion* region);
  TStatus ResetClip();
  TStatus TranslateClip(Single dx, Single dy);
  TStatus TranslateClip(Integer dx, Integer dy);
  // Writes the clip into region.
  TStatus GetClip(TGPRegion* region);
  TStatus GetClipBounds(TGPRectF& rect);
  TStatus GetClipBounds(TGPRect& rect);
  // False when the call fails.
  bool IsClipEmpty();
  TStatus GetVisibleClipBounds(TGPRectF& rect);
  TStatus GetVisibleClipBounds(TGPRect& rect);
  bool IsVisibleClipEmpty();
  // Hit tests against the visible clip; false when the call fails.
  bool IsVisible(Integer x, Integer y);
  bool IsVisible(const TGPPoint& point);
  bool IsVisible(Integer x, Integer y, Integer width, Integer height);
  bool IsVisible(const TGPRect& rect);
  bool IsVisible(Single x, Single y);
  bool IsVisible(const TGPPointF& point);
  bool IsVisible(Single x, Single y, Single width, Single height);
  bool IsVisible(const TGPRectF& rect);
  // State tokens; 0 when the call fails.
  GraphicsState Save();
  TStatus Restore(GraphicsState gstate);
  GraphicsContainer BeginContainer(const TGPRectF& dstrect, const TGPRectF& srcrect, GpUnit unit);
  GraphicsContainer BeginContainer(const TGPRect& dstrect, const TGPRect& srcrect, GpUnit unit);
  GraphicsContainer BeginContainer();
  TStatus EndContainer(GraphicsContainer state);
  // sizeData bytes of data.
  TStatus AddMetafileComment(const Byte* data, UINT sizeData);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpGraphics* nativeGraphics = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpGraphics* NativeOf(const TGPGraphics* g) { return g ? g->nativeGraphics : nullptr; }

}  // namespace gdiplus_runtime
