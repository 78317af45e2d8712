#pragma once
// TGPGraphicsPath: a sequence of figures (lines, arcs, Béziers, cardinal
// splines, rectangles, ellipses, pies, polygons, text outlines) of the
// run-time GDI+ set (wrapper contract in GdiplusBase.h). F forms take float
// coordinates, I forms integers. Point arrays are read for count entries:
// a non-positive count or nil points answers InvalidParameter.
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"
#include "foundation/gdiplus_runtime/PathData.h"

namespace gdiplus_runtime {

class TGPGraphics;
class TGPPen;
class TGPMatrix;
class TGPFontFamily;
class TGPStringFormat;

class TGPGraphicsPath : public TGdiplusBase {
 public:
  explicit TGPGraphicsPath(GpFillMode fillMode = FillModeAlternate);
  // A path from points and point types; InvalidParameter for types that do
  // not form figures.
  TGPGraphicsPath(const TGPPointF* points, const Byte* types, Integer count, GpFillMode fillMode = FillModeAlternate);
  TGPGraphicsPath(const TGPPoint* points, const Byte* types, Integer count, GpFillMode fillMode = FillModeAlternate);
  // A copy of path (nil: a nil handle and InvalidParameter kept).
  explicit TGPGraphicsPath(const TGPGraphicsPath* path);
  // Adopts a native path, status Ok.
  explicit TGPGraphicsPath(GpPath* nativePath);
  ~TGPGraphicsPath() override;
  TGPGraphicsPath(const TGPGraphicsPath&) = delete;
  TGPGraphicsPath& operator=(const TGPGraphicsPath&) = delete;

  // A new path on a copy, status Ok; a failure of the copy is kept here.
  // nullptr only when no wrapper memory can be had.
  std::unique_ptr<TGPGraphicsPath> Clone();
  TStatus Reset();
  // FillModeAlternate when the call fails.
  GpFillMode GetFillMode();
  TStatus SetFillMode(GpFillMode fillmode);
  // Fills pathData with the points and types (Count = the point count),
  // reusing its arrays when they are large enough. An empty path empties
  // pathData and answers the kept status; OutOfMemory when the arrays
  // cannot be had.
  TStatus GetPathData(TPathData& pathData);
  TStatus StartFigure();
  TStatus CloseFigure();
  TStatus CloseAllFigures();
  TStatus SetMarker();
  TStatus ClearMarkers();
  TStatus Reverse();
  TStatus GetLastPoint(TGPPointF& lastPoint);

  TStatus AddLine(const TGPPointF& pt1, const TGPPointF& pt2);
  TStatus AddLine(Single x1, Single y1, Single x2, Single y2);
  TStatus AddLine(const TGPPoint& pt1, const TGPPoint& pt2);
  TStatus AddLine(Integer x1, Integer y1, Integer x2, Integer y2);
  TStatus AddLines(const TGPPointF* points, Integer count);
  TStatus AddLines(const TGPPoint* points, Integer count);
  TStatus AddArc(const TGPRectF& rect, Single startAngle, Single sweepAngle);
  TStatus AddArc(Single x, Single y, Single width, Single height, Single startAngle, Single sweepAngle);
  TStatus AddArc(const TGPRect& rect, Single startAngle, Single sweepAngle);
  TStatus AddArc(Integer x, Integer y, Integer width, Integer height, Single startAngle, Single sweepAngle);
  TStatus AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4);
  TStatus AddBezier(Single x1, Single y1, Single x2, Single y2, Single x3, Single y3, Single x4, Single y4);
  TStatus AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4);
  TStatus AddBezier(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  // count must be 3k+1.
  TStatus AddBeziers(const TGPPointF* points, Integer count);
  TStatus AddBeziers(const TGPPoint* points, Integer count);
  TStatus AddCurve(const TGPPointF* points, Integer count);
  TStatus AddCurve(const TGPPointF* points, Integer count, Single tension);
  TStatus AddCurve(const TGPPointF* points, Integer count, Integer offset, Integer numberOfSegments, Single tension);
  TStatus AddCurve(const TGPPoint* points, Integer count);
  TStatus AddCurve(const TGPPoint* points, Integer count, Single tension);
  TStatus AddCurve(const TGPPoint* points, Integer count, Integer offset, Integer numberOfSegments, Single tension);
  TStatus AddClosedCurve(const TGPPointF* points, Integer count);
  TStatus AddClosedCurve(const TGPPointF* points, Integer count, Single tension);
  TStatus AddClosedCurve(const TGPPoint* points, Integer count);
  TStatus AddClosedCurve(const TGPPoint* points, Integer count, Single tension);
  TStatus AddRectangle(const TGPRectF& rect);
  TStatus AddRectangles(const TGPRectF* rects, Integer count);
  TStatus AddRectangle(const TGPRect& rect);
  TStatus AddRectangles(const TGPRect* rects, Integer count);
  TStatus AddEllipse(const TGPRectF& rect);
  TStatus AddEllipse(Single x, Single y, Single width, Single height);
  TStatus AddEllipse(const TGPRect& rect);
  TStatus AddEllipse(Integer x, Integer y, Integer width, Integer height);
  TStatus AddPie(const TGPRectF& rect, Single startAngle, Single sweepAngle);
  TStatus AddPie(Single x, Single y, Single width, Single height, Single startAngle, Single sweepAngle);
  TStatus AddPie(const TGPRect& rect, Single startAngle, Single sweepAngle);
  TStatus AddPie(Integer x, Integer y, Integer width, Integer height, Single startAngle, Single sweepAngle);
  TStatus AddPolygon(const TGPPointF* points, Integer count);
  TStatus AddPolygon(const TGPPoint* points, Integer count);
  // Appends addingPath's figures; connect joins its first figure to the
  // last open one.
  TStatus AddPath(const TGPGraphicsPath* addingPath, bool connect);
  // Text outlines of length characters (-1: the whole text) in family (nil:
  // InvalidParameter from GDI+) at emSize; the origin forms lay out from a
  // point; a length beyond the text answers InvalidParameter.
  TStatus AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style, Single emSize,
                    const TGPPointF& origin, const TGPStringFormat* format);
  TStatus AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style, Single emSize,
                    const TGPRectF& layoutRect, const TGPStringFormat* format);
  TStatus AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style, Single emSize,
                    const TGPPoint& origin, const TGPStringFormat* format);
  TStatus AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style, Single emSize,
                    const TGPRect& layoutRect, const TGPStringFormat* format);
  // A nil matrix answers Ok without a call.
  TStatus Transform(const TGPMatrix* matrix);
  // Bounds after matrix (may be nil) and as pen (may be nil) would paint it.
  TStatus GetBounds(TGPRectF& bounds, const TGPMatrix* matrix = nullptr, const TGPPen* pen = nullptr);
  TStatus GetBounds(TGPRect& bounds, const TGPMatrix* matrix = nullptr, const TGPPen* pen = nullptr);
  // Curves to lines within flatness, after matrix (may be nil).
  TStatus Flatten(const TGPMatrix* matrix = nullptr, Single flatness = 0.25f);
  TStatus Widen(const TGPPen* pen, const TGPMatrix* matrix = nullptr, Single flatness = 0.25f);
  TStatus Outline(const TGPMatrix* matrix = nullptr, Single flatness = 0.25f);
  TStatus Warp(const TGPPointF* destPoints, Integer count, const TGPRectF& srcRect, const TGPMatrix* matrix = nullptr,
               GpWarpMode warpMode = WarpModePerspective, Single flatness = 0.25f);
  // 0 when the call fails.
  Integer GetPointCount();
  // count entries are written; InsufficientBuffer when the path holds more.
  TStatus GetPathTypes(Byte* types, Integer count);
  TStatus GetPathPoints(TGPPointF* points, Integer count);
  TStatus GetPathPoints(TGPPoint* points, Integer count);
  // Hit tests (g may be nil); false when the call fails.
  bool IsVisible(const TGPPointF& point, const TGPGraphics* g = nullptr);
  bool IsVisible(Single x, Single y, const TGPGraphics* g = nullptr);
  bool IsVisible(const TGPPoint& point, const TGPGraphics* g = nullptr);
  bool IsVisible(Integer x, Integer y, const TGPGraphics* g = nullptr);
  bool IsOutlineVisible(const TGPPointF& point, const TGPPen* pen, const TGPGraphics* g = nullptr);
  bool IsOutlineVisible(Single x, Single y, const TGPPen* pen, const TGPGraphics* g = nullptr);
  bool IsOutlineVisible(const TGPPoint& point, const TGPPen* pen, const TGPGraphics* g = nullptr);
  bool IsOutlineVisible(Integer x, Integer y, const TGPPen* pen, const TGPGraphics* g = nullptr);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpPath* nativePath = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpPath* NativeOf(const TGPGraphicsPath* p) { return p ? p->nativePath : nullptr; }

}  // namespace gdiplus_runtime
