#include "foundation/gdiplus_runtime/GPGraphicsPath.h"

#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"

namespace gdiplus_runtime {

TGPGraphicsPath::TGPGraphicsPath(GpFillMode fillMode) { lastResult = Api().GdipCreatePath(fillMode, &nativePath); }

TGPGraphicsPath::TGPGraphicsPath(const TGPPointF* points, const Byte* types, Integer count, GpFillMode fillMode) {
  lastResult = Api().GdipCreatePath2(points, types, count, fillMode, &nativePath);
}

TGPGraphicsPath::TGPGraphicsPath(const TGPPoint* points, const Byte* types, Integer count, GpFillMode fillMode) {
  lastResult = Api().GdipCreatePath2I(points, types, count, fillMode, &nativePath);
}

TGPGraphicsPath::TGPGraphicsPath(const TGPGraphicsPath* path) {
  SetStatus(Api().GdipClonePath(NativeOf(path), &nativePath));
}

TGPGraphicsPath::TGPGraphicsPath(GpPath* native) : nativePath(native) {}

TGPGraphicsPath::~TGPGraphicsPath() { Api().GdipDeletePath(nativePath); }

std::unique_ptr<TGPGraphicsPath> TGPGraphicsPath::Clone() {
  GpPath* clone = nullptr;
  SetStatus(Api().GdipClonePath(nativePath, &clone));
  return Adopt<TGPGraphicsPath>(Api().GdipDeletePath, clone);
}

TStatus TGPGraphicsPath::Reset() { return SetStatus(Api().GdipResetPath(nativePath)); }

GpFillMode TGPGraphicsPath::GetFillMode() {
  GpFillMode mode = FillModeAlternate;
  if (SetStatus(Api().GdipGetPathFillMode(nativePath, &mode)) != Ok) return FillModeAlternate;
  return mode;
}

TStatus TGPGraphicsPath::SetFillMode(GpFillMode fillmode) {
  return SetStatus(Api().GdipSetPathFillMode(nativePath, fillmode));
}

TStatus TGPGraphicsPath::GetPathData(TPathData& pathData) {
  Integer n = GetPointCount();
  if (n <= 0) {
    pathData.Clear();
    return lastResult;
  }
  if (!pathData.Reserve(n)) return SetStatus(OutOfMemory);
  // The holder's full capacity is offered; GDI+ reports how many it wrote,
  // so Count never counts stale entries of a larger earlier path.
  GpPathData data{pathData.Capacity(), pathData.Points, pathData.Types};
  TStatus s = SetStatus(Api().GdipGetPathData(nativePath, &data));
  pathData.Count = s == Ok ? data.Count : 0;
  return s;
}

TStatus TGPGraphicsPath::StartFigure() { return SetStatus(Api().GdipStartPathFigure(nativePath)); }
TStatus TGPGraphicsPath::CloseFigure() { return SetStatus(Api().GdipClosePathFigure(nativePath)); }
TStatus TGPGraphicsPath::CloseAllFigures() { return SetStatus(Api().GdipClosePathFigures(nativePath)); }
TStatus TGPGraphicsPath::SetMarker() { return SetStatus(Api().GdipSetPathMarker(nativePath)); }
TStatus TGPGraphicsPath::ClearMarkers() { return SetStatus(Api().GdipClearPathMarkers(nativePath)); }
TStatus TGPGraphicsPath::Reverse() { return SetStatus(Api().GdipReversePath(nativePath)); }

TStatus TGPGraphicsPath::GetLastPoint(TGPPointF& lastPoint) {
  return SetStatus(Api().GdipGetPathLastPoint(nativePath, &lastPoint));
}

TStatus TGPGraphicsPath::AddLine(const TGPPointF& pt1, const TGPPointF& pt2) {
  return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y);
}
TStatus TGPGraphicsPath::AddLine(Single x1, Single y1, Single x2, Single y2) {
  return SetStatus(Api().GdipAddPathLine(nativePath, x1, y1, x2, y2));
}
TStatus TGPGraphicsPath::AddLine(const TGPPoint& pt1, const TGPPoint& pt2) {
  return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y);
}
TStatus TGPGraphicsPath::AddLine(Integer x1, Integer y1, Integer x2, Integer y2) {
  return SetStatus(Api().GdipAddPathLineI(nativePath, x1, y1, x2, y2));
}
TStatus TGPGraphicsPath::AddLines(const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipAddPathLine2(nativePath, points, count));
}
TStatus TGPGraphicsPath::AddLines(const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipAddPathLine2I(nativePath, points, count));
}

TStatus TGPGraphicsPath::AddArc(const TGPRectF& r, Single startAngle, Single sweepAngle) {
  return AddArc(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphicsPath::AddArc(Single x, Single y, Single width, Single height, Single startAngle, Single sweepAngle) {
  return SetStatus(Api().GdipAddPathArc(nativePath, x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphicsPath::AddArc(const TGPRect& r, Single startAngle, Single sweepAngle) {
  return AddArc(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphicsPath::AddArc(Integer x, Integer y, Integer width, Integer height, Single startAngle,
                                Single sweepAngle) {
  return SetStatus(Api().GdipAddPathArcI(nativePath, x, y, width, height, startAngle, sweepAngle));
}

TStatus TGPGraphicsPath::AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                                   const TGPPointF& pt4) {
  return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}
TStatus TGPGraphicsPath::AddBezier(Single x1, Single y1, Single x2, Single y2, Single x3, Single y3, Single x4,
                                   Single y4) {
  return SetStatus(Api().GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}
TStatus TGPGraphicsPath::AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4) {
  return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}
TStatus TGPGraphicsPath::AddBezier(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4,
                                   Integer y4) {
  return SetStatus(Api().GdipAddPathBezierI(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}
TStatus TGPGraphicsPath::AddBeziers(const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipAddPathBeziers(nativePath, points, count));
}
TStatus TGPGraphicsPath::AddBeziers(const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipAddPathBeziersI(nativePath, points, count));
}

TStatus TGPGraphicsPath::AddCurve(const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipAddPathCurve(nativePath, points, count));
}
TStatus TGPGraphicsPath::AddCurve(const TGPPointF* points, Integer count, Single tension) {
  return SetStatus(Api().GdipAddPathCurve2(nativePath, points, count, tension));
}
TStatus TGPGraphicsPath::AddCurve(const TGPPointF* points, Integer count, Integer offset, Integer numberOfSegments,
                                  Single tension) {
  return SetStatus(Api().GdipAddPathCurve3(nativePath, points, count, offset, numberOfSegments, tension));
}
TStatus TGPGraphicsPath::AddCurve(const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipAddPathCurveI(nativePath, points, count));
}
TStatus TGPGraphicsPath::AddCurve(const TGPPoint* points, Integer count, Single tension) {
  return SetStatus(Api().GdipAddPathCurve2I(nativePath, points, count, tension));
}
TStatus TGPGraphicsPath::AddCurve(const TGPPoint* points, Integer count, Integer offset, Integer numberOfSegments,
                                  Single tension) {
  return SetStatus(Api().GdipAddPathCurve3I(nativePath, points, count, offset, numberOfSegments, tension));
}
TStatus TGPGraphicsPath::AddClosedCurve(const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipAddPathClosedCurve(nativePath, points, count));
}
TStatus TGPGraphicsPath::AddClosedCurve(const TGPPointF* points, Integer count, Single tension) {
  return SetStatus(Api().GdipAddPathClosedCurve2(nativePath, points, count, tension));
}
TStatus TGPGraphicsPath::AddClosedCurve(const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipAddPathClosedCurveI(nativePath, points, count));
}
TStatus TGPGraphicsPath::AddClosedCurve(const TGPPoint* points, Integer count, Single tension) {
  return SetStatus(Api().GdipAddPathClosedCurve2I(nativePath, points, count, tension));
}

TStatus TGPGraphicsPath::AddRectangle(const TGPRectF& r) {
  return SetStatus(Api().GdipAddPathRectangle(nativePath, r.X, r.Y, r.Width, r.Height));
}
TStatus TGPGraphicsPath::AddRectangles(const TGPRectF* rects, Integer count) {
  return SetStatus(Api().GdipAddPathRectangles(nativePath, rects, count));
}
TStatus TGPGraphicsPath::AddRectangle(const TGPRect& r) {
  return SetStatus(Api().GdipAddPathRectangleI(nativePath, r.X, r.Y, r.Width, r.Height));
}
TStatus TGPGraphicsPath::AddRectangles(const TGPRect* rects, Integer count) {
  return SetStatus(Api().GdipAddPathRectanglesI(nativePath, rects, count));
}

TStatus TGPGraphicsPath::AddEllipse(const TGPRectF& r) { return AddEllipse(r.X, r.Y, r.Width, r.Height); }
TStatus TGPGraphicsPath::AddEllipse(Single x, Single y, Single width, Single height) {
  return SetStatus(Api().GdipAddPathEllipse(nativePath, x, y, width, height));
}
TStatus TGPGraphicsPath::AddEllipse(const TGPRect& r) { return AddEllipse(r.X, r.Y, r.Width, r.Height); }
TStatus TGPGraphicsPath::AddEllipse(Integer x, Integer y, Integer width, Integer height) {
  return SetStatus(Api().GdipAddPathEllipseI(nativePath, x, y, width, height));
}

TStatus TGPGraphicsPath::AddPie(const TGPRectF& r, Single startAngle, Single sweepAngle) {
  return AddPie(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphicsPath::AddPie(Single x, Single y, Single width, Single height, Single startAngle, Single sweepAngle) {
  return SetStatus(Api().GdipAddPathPie(nativePath, x, y, width, height, startAngle, sweepAngle));
}
TStatus TGPGraphicsPath::AddPie(const TGPRect& r, Single startAngle, Single sweepAngle) {
  return AddPie(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}
TStatus TGPGraphicsPath::AddPie(Integer x, Integer y, Integer width, Integer height, Single startAngle,
                                Single sweepAngle) {
  return SetStatus(Api().GdipAddPathPieI(nativePath, x, y, width, height, startAngle, sweepAngle));
}

TStatus TGPGraphicsPath::AddPolygon(const TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipAddPathPolygon(nativePath, points, count));
}
TStatus TGPGraphicsPath::AddPolygon(const TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipAddPathPolygonI(nativePath, points, count));
}

TStatus TGPGraphicsPath::AddPath(const TGPGraphicsPath* addingPath, bool connect) {
  return SetStatus(Api().GdipAddPathPath(nativePath, NativeOf(addingPath), connect ? TRUE : FALSE));
}

TStatus TGPGraphicsPath::AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style,
                                   Single emSize, const TGPPointF& origin, const TGPStringFormat* format) {
  return AddString(text, length, family, style, emSize, TGPRectF{origin.X, origin.Y, 0, 0}, format);
}
TStatus TGPGraphicsPath::AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style,
                                   Single emSize, const TGPRectF& layoutRect, const TGPStringFormat* format) {
  if (!TextLengthFits(text, length)) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipAddPathString(nativePath, text.c_str(), length, NativeOf(family), style, emSize,
                                           &layoutRect, NativeOf(format)));
}
TStatus TGPGraphicsPath::AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style,
                                   Single emSize, const TGPPoint& origin, const TGPStringFormat* format) {
  return AddString(text, length, family, style, emSize, TGPRect{origin.X, origin.Y, 0, 0}, format);
}
TStatus TGPGraphicsPath::AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style,
                                   Single emSize, const TGPRect& layoutRect, const TGPStringFormat* format) {
  if (!TextLengthFits(text, length)) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipAddPathStringI(nativePath, text.c_str(), length, NativeOf(family), style, emSize,
                                            &layoutRect, NativeOf(format)));
}

TStatus TGPGraphicsPath::Transform(const TGPMatrix* matrix) {
  if (!matrix) return Ok;
  return SetStatus(Api().GdipTransformPath(nativePath, NativeOf(matrix)));
}

TStatus TGPGraphicsPath::GetBounds(TGPRectF& bounds, const TGPMatrix* matrix, const TGPPen* pen) {
  return SetStatus(Api().GdipGetPathWorldBounds(nativePath, &bounds, NativeOf(matrix), NativeOf(pen)));
}
TStatus TGPGraphicsPath::GetBounds(TGPRect& bounds, const TGPMatrix* matrix, const TGPPen* pen) {
  return SetStatus(Api().GdipGetPathWorldBoundsI(nativePath, &bounds, NativeOf(matrix), NativeOf(pen)));
}

TStatus TGPGraphicsPath::Flatten(const TGPMatrix* matrix, Single flatness) {
  return SetStatus(Api().GdipFlattenPath(nativePath, NativeOf(matrix), flatness));
}
TStatus TGPGraphicsPath::Widen(const TGPPen* pen, const TGPMatrix* matrix, Single flatness) {
  return SetStatus(Api().GdipWidenPath(nativePath, NativeOf(pen), NativeOf(matrix), flatness));
}
TStatus TGPGraphicsPath::Outline(const TGPMatrix* matrix, Single flatness) {
  return SetStatus(Api().GdipWindingModeOutline(nativePath, NativeOf(matrix), flatness));
}
TStatus TGPGraphicsPath::Warp(const TGPPointF* destPoints, Integer count, const TGPRectF& srcRect,
                              const TGPMatrix* matrix, GpWarpMode warpMode, Single flatness) {
  return SetStatus(Api().GdipWarpPath(nativePath, NativeOf(matrix), destPoints, count, srcRect.X, srcRect.Y,
                                      srcRect.Width, srcRect.Height, warpMode, flatness));
}

Integer TGPGraphicsPath::GetPointCount() {
  INT count = 0;
  if (SetStatus(Api().GdipGetPointCount(nativePath, &count)) != Ok) return 0;
  return count;
}

TStatus TGPGraphicsPath::GetPathTypes(Byte* types, Integer count) {
  return SetStatus(Api().GdipGetPathTypes(nativePath, types, count));
}
TStatus TGPGraphicsPath::GetPathPoints(TGPPointF* points, Integer count) {
  return SetStatus(Api().GdipGetPathPoints(nativePath, points, count));
}
TStatus TGPGraphicsPath::GetPathPoints(TGPPoint* points, Integer count) {
  return SetStatus(Api().GdipGetPathPointsI(nativePath, points, count));
}

bool TGPGraphicsPath::IsVisible(const TGPPointF& point, const TGPGraphics* g) { return IsVisible(point.X, point.Y, g); }
bool TGPGraphicsPath::IsVisible(Single x, Single y, const TGPGraphics* g) {
  BOOL r = FALSE;
  if (SetStatus(Api().GdipIsVisiblePathPoint(nativePath, x, y, NativeOf(g), &r)) != Ok) return false;
  return r != FALSE;
}
bool TGPGraphicsPath::IsVisible(const TGPPoint& point, const TGPGraphics* g) { return IsVisible(point.X, point.Y, g); }
bool TGPGraphicsPath::IsVisible(Integer x, Integer y, const TGPGraphics* g) {
  BOOL r = FALSE;
  if (SetStatus(Api().GdipIsVisiblePathPointI(nativePath, x, y, NativeOf(g), &r)) != Ok) return false;
  return r != FALSE;
}

bool TGPGraphicsPath::IsOutlineVisible(const TGPPointF& point, const TGPPen* pen, const TGPGraphics* g) {
  return IsOutlineVisible(point.X, point.Y, pen, g);
}
bool TGPGraphicsPath::IsOutlineVisible(Single x, Single y, const TGPPen* pen, const TGPGraphics* g) {
  BOOL r = FALSE;
  if (SetStatus(Api().GdipIsOutlineVisiblePathPoint(nativePath, x, y, NativeOf(pen), NativeOf(g), &r)) != Ok) {
    return false;
  }
  return r != FALSE;
}
bool TGPGraphicsPath::IsOutlineVisible(const TGPPoint& point, const TGPPen* pen, const TGPGraphics* g) {
  return IsOutlineVisible(point.X, point.Y, pen, g);
}
bool TGPGraphicsPath::IsOutlineVisible(Integer x, Integer y, const TGPPen* pen, const TGPGraphics* g) {
  BOOL r = FALSE;
  if (SetStatus(Api().GdipIsOutlineVisiblePathPointI(nativePath, x, y, NativeOf(pen), NativeOf(g), &r)) != Ok) {
    return false;
  }
  return r != FALSE;
}

}  // namespace gdiplus_runtime
