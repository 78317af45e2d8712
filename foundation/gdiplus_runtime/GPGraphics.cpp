#include "foundation/gdiplus_runtime/GPGraphics.h"

#include <new>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPCachedBitmap.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPImage.h"
#include "foundation/gdiplus_runtime/GPImageAttributes.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/gdiplus_runtime/GPRegion.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"

namespace gdiplus_runtime {

// ---- Construction -----------------------------------------------------------

TGPGraphics::TGPGraphics(HDC hdc, Integer, Integer) { lastResult = Api().GdipCreateFromHDC(hdc, &nativeGraphics); }

TGPGraphics::TGPGraphics(HDC hdc, HANDLE hdevice) {
  lastResult = Api().GdipCreateFromHDC2(hdc, hdevice, &nativeGraphics);
}

TGPGraphics::TGPGraphics(HWND hwnd, bool icm) {
  lastResult =
      icm ? Api().GdipCreateFromHWNDICM(hwnd, &nativeGraphics) : Api().GdipCreateFromHWND(hwnd, &nativeGraphics);
}

TGPGraphics::TGPGraphics(const TGPImage* image) {
  if (image) lastResult = Api().GdipGetImageGraphicsContext(image->nativeImage, &nativeGraphics);
}

TGPGraphics::~TGPGraphics() { Api().GdipDeleteGraphics(nativeGraphics); }

std::unique_ptr<TGPGraphics> TGPGraphics::FromHDC(HDC hdc) {
  return std::unique_ptr<TGPGraphics>(new TGPGraphics(hdc, 0, 0));
}
std::unique_ptr<TGPGraphics> TGPGraphics::FromHDC(HDC hdc, HANDLE hdevice) {
  return std::unique_ptr<TGPGraphics>(new TGPGraphics(hdc, hdevice));
}
std::unique_ptr<TGPGraphics> TGPGraphics::FromHWND(HWND hwnd, bool icm) {
  return std::unique_ptr<TGPGraphics>(new TGPGraphics(hwnd, icm));
}
std::unique_ptr<TGPGraphics> TGPGraphics::FromImage(const TGPImage* image) {
  return std::unique_ptr<TGPGraphics>(new TGPGraphics(image));
}

// ---- State ------------------------------------------------------------------

TStatus TGPGraphics::Flush(GpFlushIntention intention) { return SetStatus(Api().GdipFlush(nativeGraphics, intention)); }

HDC TGPGraphics::GetHDC() {
  HDC hdc = nullptr;
  return SetStatus(Api().GdipGetDC(nativeGraphics, &hdc)) == Ok ? hdc : nullptr;
}

void TGPGraphics::ReleaseHDC(HDC hdc) { SetStatus(Api().GdipReleaseDC(nativeGraphics, hdc)); }

TStatus TGPGraphics::SetRenderingOrigin(Integer x, Integer y) {
  return SetStatus(Api().GdipSetRenderingOrigin(nativeGraphics, x, y));
}

TStatus TGPGraphics::GetRenderingOrigin(Integer& x, Integer& y) {
  x = 0;
  y = 0;
  TStatus s = SetStatus(Api().GdipGetRenderingOrigin(nativeGraphics, &x, &y));
  if (s != Ok) x = y = 0;
  return s;
}

TStatus TGPGraphics::SetCompositingMode(GpCompositingMode compositingMode) {
  return SetStatus(Api().GdipSetCompositingMode(nativeGraphics, compositingMode));
}
GpCompositingMode TGPGraphics::GetCompositingMode() {
  GpCompositingMode mode = CompositingModeSourceOver;
  return SetStatus(Api().GdipGetCompositingMode(nativeGraphics, &mode)) == Ok ? mode : CompositingModeSourceOver;
}
TStatus TGPGraphics::SetCompositingQuality(GpCompositingQuality compositingQuality) {
  return SetStatus(Api().GdipSetCompositingQuality(nativeGraphics, compositingQuality));
}
GpCompositingQuality TGPGraphics::GetCompositingQuality() {
  GpCompositingQuality q = CompositingQualityInvalid;
  return SetStatus(Api().GdipGetCompositingQuality(nativeGraphics, &q)) == Ok ? q : CompositingQualityInvalid;
}
TStatus TGPGraphics::SetTextRenderingHint(GpTextRenderingHint newMode) {
  return SetStatus(Api().GdipSetTextRenderingHint(nativeGraphics, newMode));
}
GpTextRenderingHint TGPGraphics::GetTextRenderingHint() {
  GpTextRenderingHint hint = TextRenderingHintSystemDefault;
  return SetStatus(Api().GdipGetTextRenderingHint(nativeGraphics, &hint)) == Ok ? hint : TextRenderingHintSystemDefault;
}
TStatus TGPGraphics::SetTextContrast(UINT contrast) {
  return SetStatus(Api().GdipSetTextContrast(nativeGraphics, contrast));
}
UINT TGPGraphics::GetTextContrast() {
  UINT contrast = 0;
  return SetStatus(Api().GdipGetTextContrast(nativeGraphics, &contrast)) == Ok ? contrast : 0;
}
GpInterpolationMode TGPGraphics::GetInterpolationMode() {
  GpInterpolationMode mode = InterpolationModeInvalid;
  return SetStatus(Api().GdipGetInterpolationMode(nativeGraphics, &mode)) == Ok ? mode : InterpolationModeInvalid;
}
TStatus TGPGraphics::SetInterpolationMode(GpInterpolationMode interpolationMode) {
  return SetStatus(Api().GdipSetInterpolationMode(nativeGraphics, interpolationMode));
}
GpSmoothingMode TGPGraphics::GetSmoothingMode() {
  GpSmoothingMode mode = SmoothingModeInvalid;
  return SetStatus(Api().GdipGetSmoothingMode(nativeGraphics, &mode)) == Ok ? mode : SmoothingModeInvalid;
}
TStatus TGPGraphics::SetSmoothingMode(GpSmoothingMode smoothingMode) {
  return SetStatus(Api().GdipSetSmoothingMode(nativeGraphics, smoothingMode));
}
GpPixelOffsetMode TGPGraphics::GetPixelOffsetMode() {
  GpPixelOffsetMode mode = PixelOffsetModeInvalid;
  return SetStatus(Api().GdipGetPixelOffsetMode(nativeGraphics, &mode)) == Ok ? mode : PixelOffsetModeInvalid;
}
TStatus TGPGraphics::SetPixelOffsetMode(GpPixelOffsetMode pixelOffsetMode) {
  return SetStatus(Api().GdipSetPixelOffsetMode(nativeGraphics, pixelOffsetMode));
}

TStatus TGPGraphics::SetTransform(const TGPMatrix* matrix) {
  return SetStatus(Api().GdipSetWorldTransform(nativeGraphics, NativeOf(matrix)));
}
TStatus TGPGraphics::ResetTransform() { return SetStatus(Api().GdipResetWorldTransform(nativeGraphics)); }
TStatus TGPGraphics::MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order) {
  return SetStatus(Api().GdipMultiplyWorldTransform(nativeGraphics, NativeOf(matrix), order));
}
TStatus TGPGraphics::TranslateTransform(Single dx, Single dy, GpMatrixOrder order) {
  return SetStatus(Api().GdipTranslateWorldTransform(nativeGraphics, dx, dy, order));
}
TStatus TGPGraphics::ScaleTransform(Single sx, Single sy, GpMatrixOrder order) {
  return SetStatus(Api().GdipScaleWorldTransform(nativeGraphics, sx, sy, order));
}
TStatus TGPGraphics::RotateTransform(Single angle, GpMatrixOrder order) {
  return SetStatus(Api().GdipRotateWorldTransform(nativeGraphics, angle, order));
}
TStatus TGPGraphics::GetTransform(TGPMatrix* matrix) {
  return SetStatus(Api().GdipGetWorldTransform(nativeGraphics, NativeOf(matrix)));
}
TStatus TGPGraphics::SetPageUnit(GpUnit unit) { return SetStatus(Api().GdipSetPageUnit(nativeGraphics, unit)); }
TStatus TGPGraphics::SetPageScale(Single scale) { return SetStatus(Api().GdipSetPageScale(nativeGraphics, scale)); }
GpUnit TGPGraphics::GetPageUnit() {
  GpUnit unit = UnitWorld;
  return SetStatus(Api().GdipGetPageUnit(nativeGraphics, &unit)) == Ok ? unit : UnitWorld;
}
Single TGPGraphics::GetPageScale() {
  REAL scale = 0;
  return SetStatus(Api().GdipGetPageScale(nativeGraphics, &scale)) == Ok ? scale : 0.0f;
}
Single TGPGraphics::GetDpiX() {
  REAL dpi = 0;
  return SetStatus(Api().GdipGetDpiX(nativeGraphics, &dpi)) == Ok ? dpi : 0.0f;
}
Single TGPGraphics::GetDpiY() {
  REAL dpi = 0;
  return SetStatus(Api().GdipGetDpiY(nativeGraphics, &dpi)) == Ok ? dpi : 0.0f;
}
TStatus TGPGraphics::TransformPoints(GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace, TGPPointF* pts,
                                     Integer count) {
  return SetStatus(Api().GdipTransformPoints(nativeGraphics, destSpace, srcSpace, pts, count));
}
TStatus TGPGraphics::TransformPoints(GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace, TGPPoint* pts,
                                     Integer count) {
  return SetStatus(Api().GdipTransformPointsI(nativeGraphics, destSpace, srcSpace, pts, count));
}
TStatus TGPGraphics::GetNearestColor(ARGB& color) {
  return SetStatus(Api().GdipGetNearestColor(nativeGraphics, &color));
}

// ---- Lines and outlines -----------------------------------------------------

TStatus TGPGraphics::DrawLine(const TGPPen* pen, Single x1, Single y1, Single x2, Single y2) {
  return SetStatus(Api().GdipDrawLine(nativeGraphics, NativeOf(pen), x1, y1, x2, y2));
}
TStatus TGPGraphics::DrawLine(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2) {
  return DrawLine(pen, pt1.X, pt1.Y, pt2.X, pt2.Y);
}
TStatus TGPGraphics::DrawLine(const TGPPen* pen, Integer x1, Integer y1, Integer x2, Integer y2) {
  return SetStatus(Api().GdipDrawLineI(nativeGraphics, NativeOf(pen), x1, y1, x2, y2));
}
TStatus TGPGraphics::DrawLine(const TGPPen* pen, const TGPPoint& pt1, const TGPPoint& pt2) {
  return DrawLine(pen, pt1.X, pt1.Y, pt2.X, pt2.Y);
}
TStatus TGPGraphics::DrawLines(const TGPPen* pen, const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipDrawLines(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawLines(const TGPPen* pen, const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipDrawLinesI(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawArc(const TGPPen* pen, Single x, Single y, Single width, Single height, Single startAngle,
                             Single sweepAngle) {
  return SetStatus(Api().GdipDrawArc(nativeGraphics, NativeOf(pen), x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphics::DrawArc(const TGPPen* pen, const TGPRectF& r, Single startAngle, Single sweepAngle) {
  return DrawArc(pen, r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphics::DrawArc(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height, Single startAngle,
                             Single sweepAngle) {
  return SetStatus(Api().GdipDrawArcI(nativeGraphics, NativeOf(pen), x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphics::DrawArc(const TGPPen* pen, const TGPRect& r, Single startAngle, Single sweepAngle) {
  return DrawArc(pen, r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphics::DrawBezier(const TGPPen* pen, Single x1, Single y1, Single x2, Single y2, Single x3, Single y3,
                                Single x4, Single y4) {
  return SetStatus(Api().GdipDrawBezier(nativeGraphics, NativeOf(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}
TStatus TGPGraphics::DrawBezier(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                                const TGPPointF& pt4) {
  return DrawBezier(pen, pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}
TStatus TGPGraphics::DrawBezier(const TGPPen* pen, Integer x1, Integer y1, Integer x2, Integer y2, Integer x3,
                                Integer y3, Integer x4, Integer y4) {
  return SetStatus(Api().GdipDrawBezierI(nativeGraphics, NativeOf(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}
TStatus TGPGraphics::DrawBezier(const TGPPen* pen, const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3,
                                const TGPPoint& pt4) {
  return DrawBezier(pen, pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}
TStatus TGPGraphics::DrawBeziers(const TGPPen* pen, const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipDrawBeziers(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawBeziers(const TGPPen* pen, const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipDrawBeziersI(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRectF& r) {
  return DrawRectangle(pen, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::DrawRectangle(const TGPPen* pen, Single x, Single y, Single width, Single height) {
  return SetStatus(Api().GdipDrawRectangle(nativeGraphics, NativeOf(pen), x, y, width, height));
}
TStatus TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRect& r) {
  return DrawRectangle(pen, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::DrawRectangle(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height) {
  return SetStatus(Api().GdipDrawRectangleI(nativeGraphics, NativeOf(pen), x, y, width, height));
}
TStatus TGPGraphics::DrawRectangles(const TGPPen* pen, const TGPRectF* rects, Integer count) {
  return SetStatus(Api().GdipDrawRectangles(nativeGraphics, NativeOf(pen), rects, count));
}
TStatus TGPGraphics::DrawRectangles(const TGPPen* pen, const TGPRect* rects, Integer count) {
  return SetStatus(Api().GdipDrawRectanglesI(nativeGraphics, NativeOf(pen), rects, count));
}
TStatus TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRectF& r) {
  return DrawEllipse(pen, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::DrawEllipse(const TGPPen* pen, Single x, Single y, Single width, Single height) {
  return SetStatus(Api().GdipDrawEllipse(nativeGraphics, NativeOf(pen), x, y, width, height));
}
TStatus TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRect& r) {
  return DrawEllipse(pen, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::DrawEllipse(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height) {
  return SetStatus(Api().GdipDrawEllipseI(nativeGraphics, NativeOf(pen), x, y, width, height));
}
TStatus TGPGraphics::DrawPie(const TGPPen* pen, const TGPRectF& r, Single startAngle, Single sweepAngle) {
  return DrawPie(pen, r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphics::DrawPie(const TGPPen* pen, Single x, Single y, Single width, Single height, Single startAngle,
                             Single sweepAngle) {
  return SetStatus(Api().GdipDrawPie(nativeGraphics, NativeOf(pen), x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphics::DrawPie(const TGPPen* pen, const TGPRect& r, Single startAngle, Single sweepAngle) {
  return DrawPie(pen, r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphics::DrawPie(const TGPPen* pen, Integer x, Integer y, Integer width, Integer height, Single startAngle,
                             Single sweepAngle) {
  return SetStatus(Api().GdipDrawPieI(nativeGraphics, NativeOf(pen), x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphics::DrawPolygon(const TGPPen* pen, const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipDrawPolygon(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawPolygon(const TGPPen* pen, const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipDrawPolygonI(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawPath(const TGPPen* pen, const TGPGraphicsPath* path) {
  return SetStatus(Api().GdipDrawPath(nativeGraphics, NativeOf(pen), NativeOf(path)));
}
TStatus TGPGraphics::DrawCurve(const TGPPen* pen, const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipDrawCurve(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawCurve(const TGPPen* pen, const TGPPointF* points, Integer count, Single tension) {
  return SetStatus(Api().GdipDrawCurve2(nativeGraphics, NativeOf(pen), points, count, tension));
}
TStatus TGPGraphics::DrawCurve(const TGPPen* pen, const TGPPointF* points, Integer count, Integer offset,
                               Integer numberOfSegments, Single tension) {
  return SetStatus(
      Api().GdipDrawCurve3(nativeGraphics, NativeOf(pen), points, count, offset, numberOfSegments, tension));
}
TStatus TGPGraphics::DrawCurve(const TGPPen* pen, const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipDrawCurveI(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawCurve(const TGPPen* pen, const TGPPoint* points, Integer count, Single tension) {
  return SetStatus(Api().GdipDrawCurve2I(nativeGraphics, NativeOf(pen), points, count, tension));
}
TStatus TGPGraphics::DrawCurve(const TGPPen* pen, const TGPPoint* points, Integer count, Integer offset,
                               Integer numberOfSegments, Single tension) {
  return SetStatus(
      Api().GdipDrawCurve3I(nativeGraphics, NativeOf(pen), points, count, offset, numberOfSegments, tension));
}
TStatus TGPGraphics::DrawClosedCurve(const TGPPen* pen, const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipDrawClosedCurve(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawClosedCurve(const TGPPen* pen, const TGPPointF* points, Integer count, Single tension) {
  return SetStatus(Api().GdipDrawClosedCurve2(nativeGraphics, NativeOf(pen), points, count, tension));
}
TStatus TGPGraphics::DrawClosedCurve(const TGPPen* pen, const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipDrawClosedCurveI(nativeGraphics, NativeOf(pen), points, count));
}
TStatus TGPGraphics::DrawClosedCurve(const TGPPen* pen, const TGPPoint* points, Integer count, Single tension) {
  return SetStatus(Api().GdipDrawClosedCurve2I(nativeGraphics, NativeOf(pen), points, count, tension));
}

// ---- Fills ------------------------------------------------------------------

TStatus TGPGraphics::Clear(ARGB color) { return SetStatus(Api().GdipGraphicsClear(nativeGraphics, color)); }

TStatus TGPGraphics::FillRectangle(const TGPBrush* brush, const TGPRectF& r) {
  return FillRectangle(brush, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::FillRectangle(const TGPBrush* brush, Single x, Single y, Single width, Single height) {
  return SetStatus(Api().GdipFillRectangle(nativeGraphics, NativeOf(brush), x, y, width, height));
}
TStatus TGPGraphics::FillRectangle(const TGPBrush* brush, const TGPRect& r) {
  return FillRectangle(brush, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::FillRectangle(const TGPBrush* brush, Integer x, Integer y, Integer width, Integer height) {
  return SetStatus(Api().GdipFillRectangleI(nativeGraphics, NativeOf(brush), x, y, width, height));
}
TStatus TGPGraphics::FillRectangles(const TGPBrush* brush, const TGPRectF* rects, Integer count) {
  return SetStatus(Api().GdipFillRectangles(nativeGraphics, NativeOf(brush), rects, count));
}
TStatus TGPGraphics::FillRectangles(const TGPBrush* brush, const TGPRect* rects, Integer count) {
  return SetStatus(Api().GdipFillRectanglesI(nativeGraphics, NativeOf(brush), rects, count));
}
TStatus TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, Integer count) {
  return FillPolygon(brush, points, count, FillModeAlternate);
}
TStatus TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, Integer count, GpFillMode fillMode) {
  return SetStatus(Api().GdipFillPolygon(nativeGraphics, NativeOf(brush), points, count, fillMode));
}
TStatus TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPoint* points, Integer count) {
  return FillPolygon(brush, points, count, FillModeAlternate);
}
TStatus TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPoint* points, Integer count, GpFillMode fillMode) {
  return SetStatus(Api().GdipFillPolygonI(nativeGraphics, NativeOf(brush), points, count, fillMode));
}
TStatus TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRectF& r) {
  return FillEllipse(brush, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::FillEllipse(const TGPBrush* brush, Single x, Single y, Single width, Single height) {
  return SetStatus(Api().GdipFillEllipse(nativeGraphics, NativeOf(brush), x, y, width, height));
}
TStatus TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRect& r) {
  return FillEllipse(brush, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::FillEllipse(const TGPBrush* brush, Integer x, Integer y, Integer width, Integer height) {
  return SetStatus(Api().GdipFillEllipseI(nativeGraphics, NativeOf(brush), x, y, width, height));
}
TStatus TGPGraphics::FillPie(const TGPBrush* brush, const TGPRectF& r, Single startAngle, Single sweepAngle) {
  return FillPie(brush, r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphics::FillPie(const TGPBrush* brush, Single x, Single y, Single width, Single height, Single startAngle,
                             Single sweepAngle) {
  return SetStatus(Api().GdipFillPie(nativeGraphics, NativeOf(brush), x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphics::FillPie(const TGPBrush* brush, const TGPRect& r, Single startAngle, Single sweepAngle) {
  return FillPie(brush, r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphics::FillPie(const TGPBrush* brush, Integer x, Integer y, Integer width, Integer height,
                             Single startAngle, Single sweepAngle) {
  return SetStatus(Api().GdipFillPieI(nativeGraphics, NativeOf(brush), x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphics::FillPath(const TGPBrush* brush, const TGPGraphicsPath* path) {
  return SetStatus(Api().GdipFillPath(nativeGraphics, NativeOf(brush), NativeOf(path)));
}
TStatus TGPGraphics::FillClosedCurve(const TGPBrush* brush, const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipFillClosedCurve(nativeGraphics, NativeOf(brush), points, count));
}
TStatus TGPGraphics::FillClosedCurve(const TGPBrush* brush, const TGPPointF* points, Integer count, GpFillMode fillMode,
                                     Single tension) {
  return SetStatus(Api().GdipFillClosedCurve2(nativeGraphics, NativeOf(brush), points, count, tension, fillMode));
}
TStatus TGPGraphics::FillClosedCurve(const TGPBrush* brush, const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipFillClosedCurveI(nativeGraphics, NativeOf(brush), points, count));
}
TStatus TGPGraphics::FillClosedCurve(const TGPBrush* brush, const TGPPoint* points, Integer count, GpFillMode fillMode,
                                     Single tension) {
  return SetStatus(Api().GdipFillClosedCurve2I(nativeGraphics, NativeOf(brush), points, count, tension, fillMode));
}
TStatus TGPGraphics::FillRegion(const TGPBrush* brush, const TGPRegion* region) {
  return SetStatus(Api().GdipFillRegion(nativeGraphics, NativeOf(brush), NativeOf(region)));
}

// ---- Text -------------------------------------------------------------------

TStatus TGPGraphics::DrawString(const String& text, const TGPFont* font, const TGPRectF& layoutRect,
                                const TGPStringFormat* stringFormat, const TGPBrush* brush) {
  return DrawString(text, Integer(text.size()), font, layoutRect, stringFormat, brush);
}
TStatus TGPGraphics::DrawString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                                const TGPStringFormat* stringFormat, const TGPBrush* brush) {
  if (!TextLengthFits(text, length)) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipDrawString(nativeGraphics, text.c_str(), length, NativeOf(font), &layoutRect,
                                        NativeOf(stringFormat), NativeOf(brush)));
}
TStatus TGPGraphics::DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                                const TGPBrush* brush) {
  return DrawString(text, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, nullptr, brush);
}
TStatus TGPGraphics::DrawString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                                const TGPStringFormat* stringFormat, const TGPBrush* brush) {
  return DrawString(text, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, stringFormat, brush);
}

TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                                   const TGPStringFormat* stringFormat, TGPRectF& boundingBox,
                                   Integer* codepointsFitted, Integer* linesFilled) {
  if (!TextLengthFits(text, length)) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipMeasureString(nativeGraphics, text.c_str(), length, NativeOf(font), &layoutRect,
                                           NativeOf(stringFormat), &boundingBox, codepointsFitted, linesFilled));
}
TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font,
                                   const TGPSizeF& layoutRectSize, const TGPStringFormat* stringFormat, TGPSizeF& size,
                                   Integer* codepointsFitted, Integer* linesFilled) {
  TGPRectF box;
  TStatus s = MeasureString(text, length, font, TGPRectF{0, 0, layoutRectSize.Width, layoutRectSize.Height},
                            stringFormat, box, codepointsFitted, linesFilled);
  if (s == Ok) size = {box.Width, box.Height};
  return s;
}
TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                                   const TGPStringFormat* stringFormat, TGPRectF& boundingBox) {
  return MeasureString(text, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, stringFormat, boundingBox);
}
TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font, const TGPRectF& layoutRect,
                                   TGPRectF& boundingBox) {
  return MeasureString(text, length, font, layoutRect, nullptr, boundingBox);
}
TStatus TGPGraphics::MeasureString(const String& text, Integer length, const TGPFont* font, const TGPPointF& origin,
                                   TGPRectF& boundingBox) {
  return MeasureString(text, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, nullptr, boundingBox);
}

TStatus TGPGraphics::MeasureCharacterRanges(const String& text, Integer length, const TGPFont* font,
                                            const TGPRectF& layoutRect, const TGPStringFormat* stringFormat,
                                            Integer regionCount, const std::vector<TGPRegion*>& regions) {
  if (regionCount <= 0) return InvalidParameter;
  if (!TextLengthFits(text, length) || std::size_t(regionCount) > regions.size()) return SetStatus(InvalidParameter);
  std::vector<GpRegion*> natives;
  try {
    natives.reserve(std::size_t(regionCount));
  } catch (const std::bad_alloc&) {
    return SetStatus(OutOfMemory);
  }
  for (Integer i = 0; i < regionCount; ++i) {
    GpRegion* native = NativeOf(regions[std::size_t(i)]);
    if (!native) return SetStatus(InvalidParameter);
    natives.push_back(native);
  }
  return SetStatus(Api().GdipMeasureCharacterRanges(nativeGraphics, text.c_str(), length, NativeOf(font), &layoutRect,
                                                    NativeOf(stringFormat), regionCount, natives.data()));
}

TStatus TGPGraphics::DrawDriverString(const UINT16* text, Integer length, const TGPFont* font, const TGPBrush* brush,
                                      const TGPPointF* positions, Integer flags, const TGPMatrix* matrix) {
  return SetStatus(Api().GdipDrawDriverString(nativeGraphics, text, length, NativeOf(font), NativeOf(brush), positions,
                                              flags, NativeOf(matrix)));
}
TStatus TGPGraphics::MeasureDriverString(const UINT16* text, Integer length, const TGPFont* font,
                                         const TGPPointF* positions, Integer flags, const TGPMatrix* matrix,
                                         TGPRectF& boundingBox) {
  return SetStatus(Api().GdipMeasureDriverString(nativeGraphics, text, length, NativeOf(font), positions, flags,
                                                 NativeOf(matrix), &boundingBox));
}
TStatus TGPGraphics::DrawCachedBitmap(const TGPCachedBitmap* cb, Integer x, Integer y) {
  return SetStatus(Api().GdipDrawCachedBitmap(nativeGraphics, NativeOf(cb), x, y));
}

// ---- Images -----------------------------------------------------------------

TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPPointF& p) { return DrawImage(image, p.X, p.Y); }
TStatus TGPGraphics::DrawImage(const TGPImage* image, Single x, Single y) {
  return SetStatus(Api().GdipDrawImage(nativeGraphics, NativeOf(image), x, y));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPRectF& r) {
  return DrawImage(image, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, Single x, Single y, Single width, Single height) {
  return SetStatus(Api().GdipDrawImageRect(nativeGraphics, NativeOf(image), x, y, width, height));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPPoint& p) { return DrawImage(image, p.X, p.Y); }
TStatus TGPGraphics::DrawImage(const TGPImage* image, Integer x, Integer y) {
  return SetStatus(Api().GdipDrawImageI(nativeGraphics, NativeOf(image), x, y));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPRect& r) {
  return DrawImage(image, r.X, r.Y, r.Width, r.Height);
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, Integer x, Integer y, Integer width, Integer height) {
  return SetStatus(Api().GdipDrawImageRectI(nativeGraphics, NativeOf(image), x, y, width, height));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPPointF* destPoints, Integer count) {
  if ((count != 3 && count != 4) || !destPoints) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipDrawImagePoints(nativeGraphics, NativeOf(image), destPoints, count));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPPoint* destPoints, Integer count) {
  if ((count != 3 && count != 4) || !destPoints) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipDrawImagePointsI(nativeGraphics, NativeOf(image), destPoints, count));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, Single x, Single y, Single srcx, Single srcy, Single srcwidth,
                               Single srcheight, GpUnit srcUnit) {
  return SetStatus(
      Api().GdipDrawImagePointRect(nativeGraphics, NativeOf(image), x, y, srcx, srcy, srcwidth, srcheight, srcUnit));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, Integer x, Integer y, Integer srcx, Integer srcy,
                               Integer srcwidth, Integer srcheight, GpUnit srcUnit) {
  return SetStatus(
      Api().GdipDrawImagePointRectI(nativeGraphics, NativeOf(image), x, y, srcx, srcy, srcwidth, srcheight, srcUnit));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPRectF& d, Single srcx, Single srcy, Single srcwidth,
                               Single srcheight, GpUnit srcUnit, const TGPImageAttributes* imageAttributes,
                               DrawImageAbort callback, void* callbackData) {
  return SetStatus(Api().GdipDrawImageRectRect(nativeGraphics, NativeOf(image), d.X, d.Y, d.Width, d.Height, srcx, srcy,
                                               srcwidth, srcheight, srcUnit, NativeOf(imageAttributes), callback,
                                               callbackData));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPRect& d, Integer srcx, Integer srcy, Integer srcwidth,
                               Integer srcheight, GpUnit srcUnit, const TGPImageAttributes* imageAttributes,
                               DrawImageAbort callback, void* callbackData) {
  return SetStatus(Api().GdipDrawImageRectRectI(nativeGraphics, NativeOf(image), d.X, d.Y, d.Width, d.Height, srcx,
                                                srcy, srcwidth, srcheight, srcUnit, NativeOf(imageAttributes), callback,
                                                callbackData));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPPointF* destPoints, Integer count, Single srcx,
                               Single srcy, Single srcwidth, Single srcheight, GpUnit srcUnit,
                               const TGPImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData) {
  return SetStatus(Api().GdipDrawImagePointsRect(nativeGraphics, NativeOf(image), destPoints, count, srcx, srcy,
                                                 srcwidth, srcheight, srcUnit, NativeOf(imageAttributes), callback,
                                                 callbackData));
}
TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPPoint* destPoints, Integer count, Integer srcx,
                               Integer srcy, Integer srcwidth, Integer srcheight, GpUnit srcUnit,
                               const TGPImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData) {
  return SetStatus(Api().GdipDrawImagePointsRectI(nativeGraphics, NativeOf(image), destPoints, count, srcx, srcy,
                                                  srcwidth, srcheight, srcUnit, NativeOf(imageAttributes), callback,
                                                  callbackData));
}

// ---- Clipping ---------------------------------------------------------------

TStatus TGPGraphics::SetClip(const TGPGraphics* g, GpCombineMode combineMode) {
  return SetStatus(Api().GdipSetClipGraphics(nativeGraphics, NativeOf(g), combineMode));
}
TStatus TGPGraphics::SetClip(const TGPRectF& r, GpCombineMode combineMode) {
  return SetStatus(Api().GdipSetClipRect(nativeGraphics, r.X, r.Y, r.Width, r.Height, combineMode));
}
TStatus TGPGraphics::SetClip(const TGPRect& r, GpCombineMode combineMode) {
  return SetStatus(Api().GdipSetClipRectI(nativeGraphics, r.X, r.Y, r.Width, r.Height, combineMode));
}
TStatus TGPGraphics::SetClip(const TGPGraphicsPath* path, GpCombineMode combineMode) {
  return SetStatus(Api().GdipSetClipPath(nativeGraphics, NativeOf(path), combineMode));
}
TStatus TGPGraphics::SetClip(const TGPRegion* region, GpCombineMode combineMode) {
  return SetStatus(Api().GdipSetClipRegion(nativeGraphics, NativeOf(region), combineMode));
}
TStatus TGPGraphics::SetClip(HRGN hRgn, GpCombineMode combineMode) {
  return SetStatus(Api().GdipSetClipHrgn(nativeGraphics, hRgn, combineMode));
}
TStatus TGPGraphics::IntersectClip(const TGPRectF& rect) { return SetClip(rect, CombineModeIntersect); }
TStatus TGPGraphics::IntersectClip(const TGPRect& rect) { return SetClip(rect, CombineModeIntersect); }
TStatus TGPGraphics::IntersectClip(const TGPRegion* region) { return SetClip(region, CombineModeIntersect); }
TStatus TGPGraphics::ExcludeClip(const TGPRectF& rect) { return SetClip(rect, CombineModeExclude); }
TStatus TGPGraphics::ExcludeClip(const TGPRect& rect) { return SetClip(rect, CombineModeExclude); }
TStatus TGPGraphics::ExcludeClip(const TGPRegion* region) { return SetClip(region, CombineModeExclude); }
TStatus TGPGraphics::ResetClip() { return SetStatus(Api().GdipResetClip(nativeGraphics)); }
TStatus TGPGraphics::TranslateClip(Single dx, Single dy) {
  return SetStatus(Api().GdipTranslateClip(nativeGraphics, dx, dy));
}
TStatus TGPGraphics::TranslateClip(Integer dx, Integer dy) {
  return SetStatus(Api().GdipTranslateClipI(nativeGraphics, dx, dy));
}
TStatus TGPGraphics::GetClip(TGPRegion* region) {
  return SetStatus(Api().GdipGetClip(nativeGraphics, NativeOf(region)));
}
TStatus TGPGraphics::GetClipBounds(TGPRectF& rect) { return SetStatus(Api().GdipGetClipBounds(nativeGraphics, &rect)); }
TStatus TGPGraphics::GetClipBounds(TGPRect& rect) { return SetStatus(Api().GdipGetClipBoundsI(nativeGraphics, &rect)); }
TStatus TGPGraphics::GetVisibleClipBounds(TGPRectF& rect) {
  return SetStatus(Api().GdipGetVisibleClipBounds(nativeGraphics, &rect));
}
TStatus TGPGraphics::GetVisibleClipBounds(TGPRect& rect) {
  return SetStatus(Api().GdipGetVisibleClipBoundsI(nativeGraphics, &rect));
}

bool TGPGraphics::IsClipEmpty() {
  return TruthQuery(lastResult, [&](BOOL* r) { return Api().GdipIsClipEmpty(nativeGraphics, r); });
}
bool TGPGraphics::IsVisibleClipEmpty() {
  return TruthQuery(lastResult, [&](BOOL* r) { return Api().GdipIsVisibleClipEmpty(nativeGraphics, r); });
}
bool TGPGraphics::IsVisible(Integer x, Integer y) { return IsVisible(TGPPoint{x, y}); }
bool TGPGraphics::IsVisible(const TGPPoint& p) {
  return TruthQuery(lastResult, [&](BOOL* r) { return Api().GdipIsVisiblePointI(nativeGraphics, p.X, p.Y, r); });
}
bool TGPGraphics::IsVisible(Integer x, Integer y, Integer width, Integer height) {
  return TruthQuery(lastResult,
                    [&](BOOL* r) { return Api().GdipIsVisibleRectI(nativeGraphics, x, y, width, height, r); });
}
bool TGPGraphics::IsVisible(const TGPRect& rc) { return IsVisible(rc.X, rc.Y, rc.Width, rc.Height); }
bool TGPGraphics::IsVisible(Single x, Single y) {
  return TruthQuery(lastResult, [&](BOOL* r) { return Api().GdipIsVisiblePoint(nativeGraphics, x, y, r); });
}
bool TGPGraphics::IsVisible(const TGPPointF& p) { return IsVisible(p.X, p.Y); }
bool TGPGraphics::IsVisible(Single x, Single y, Single width, Single height) {
  return TruthQuery(lastResult,
                    [&](BOOL* r) { return Api().GdipIsVisibleRect(nativeGraphics, x, y, width, height, r); });
}
bool TGPGraphics::IsVisible(const TGPRectF& rc) { return IsVisible(rc.X, rc.Y, rc.Width, rc.Height); }

GraphicsState TGPGraphics::Save() {
  GraphicsState state = 0;
  return SetStatus(Api().GdipSaveGraphics(nativeGraphics, &state)) == Ok ? state : 0;
}
TStatus TGPGraphics::Restore(GraphicsState gstate) {
  return SetStatus(Api().GdipRestoreGraphics(nativeGraphics, gstate));
}
GraphicsContainer TGPGraphics::BeginContainer(const TGPRectF& dstrect, const TGPRectF& srcrect, GpUnit unit) {
  GraphicsContainer state = 0;
  return SetStatus(Api().GdipBeginContainer(nativeGraphics, &dstrect, &srcrect, unit, &state)) == Ok ? state : 0;
}
GraphicsContainer TGPGraphics::BeginContainer(const TGPRect& dstrect, const TGPRect& srcrect, GpUnit unit) {
  GraphicsContainer state = 0;
  return SetStatus(Api().GdipBeginContainerI(nativeGraphics, &dstrect, &srcrect, unit, &state)) == Ok ? state : 0;
}
GraphicsContainer TGPGraphics::BeginContainer() {
  GraphicsContainer state = 0;
  return SetStatus(Api().GdipBeginContainer2(nativeGraphics, &state)) == Ok ? state : 0;
}
TStatus TGPGraphics::EndContainer(GraphicsContainer state) {
  return SetStatus(Api().GdipEndContainer(nativeGraphics, state));
}
TStatus TGPGraphics::AddMetafileComment(const Byte* data, UINT sizeData) {
  return SetStatus(Api().GdipComment(nativeGraphics, sizeData, data));
}

}  // namespace gdiplus_runtime
