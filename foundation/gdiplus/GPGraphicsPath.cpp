#include "foundation/gdiplus/GPGraphicsPath.h"

#include "foundation/gdiplus/GPFont.h"
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/GPPen.h"
#include "foundation/gdiplus/GPStringFormat.h"

namespace gdiplus {

TGPGraphicsPath::TGPGraphicsPath(GpFillMode fillMode) { lastResult = GdipCreatePath(fillMode, &nativePath); }
TGPGraphicsPath::TGPGraphicsPath(const TGPPointF* points, const Byte* types, Integer count, GpFillMode fillMode) {
  lastResult = GdipCreatePath2(points, types, count, fillMode, &nativePath);
}
TGPGraphicsPath::TGPGraphicsPath(GpPath* native) : nativePath(native) {}
TGPGraphicsPath::~TGPGraphicsPath() { GdipDeletePath(nativePath); }
TStatus TGPGraphicsPath::Reset() { return SetStatus(GdipResetPath(nativePath)); }
TStatus TGPGraphicsPath::CloseFigure() { return SetStatus(GdipClosePathFigure(nativePath)); }
TStatus TGPGraphicsPath::AddLine(Single x1, Single y1, Single x2, Single y2) {
  return SetStatus(GdipAddPathLine(nativePath, x1, y1, x2, y2));
}
TStatus TGPGraphicsPath::AddLines(const TGPPoint* points, Integer count) { return SetStatus(GdipAddPathLine2I(nativePath, points, count)); }
TStatus TGPGraphicsPath::AddRectangle(const TGPRectF& r) { return SetStatus(GdipAddPathRectangle(nativePath, r.X, r.Y, r.Width, r.Height)); }
TStatus TGPGraphicsPath::AddRectangle(const TGPRect& r) { return SetStatus(GdipAddPathRectangleI(nativePath, r.X, r.Y, r.Width, r.Height)); }
TStatus TGPGraphicsPath::AddArc(Single x, Single y, Single w, Single h, Single a, Single s) {
  return SetStatus(GdipAddPathArc(nativePath, x, y, w, h, a, s));
}
TStatus TGPGraphicsPath::AddPie(Single x, Single y, Single w, Single h, Single a, Single s) {
  return SetStatus(GdipAddPathPie(nativePath, x, y, w, h, a, s));
}
TStatus TGPGraphicsPath::AddEllipse(Single x, Single y, Single w, Single h) { return SetStatus(GdipAddPathEllipse(nativePath, x, y, w, h)); }
TStatus TGPGraphicsPath::AddPolygon(const TGPPointF* p, Integer n) { return SetStatus(GdipAddPathPolygon(nativePath, p, n)); }
TStatus TGPGraphicsPath::AddPolygon(const TGPPoint* p, Integer n) { return SetStatus(GdipAddPathPolygonI(nativePath, p, n)); }
TStatus TGPGraphicsPath::AddCurve(const TGPPointF* p, Integer n) { return SetStatus(GdipAddPathCurve(nativePath, p, n)); }
TStatus TGPGraphicsPath::AddCurve(const TGPPoint* p, Integer n) { return SetStatus(GdipAddPathCurveI(nativePath, p, n)); }
TStatus TGPGraphicsPath::AddCurve(const TGPPoint* p, Integer n, Single t) { return SetStatus(GdipAddPathCurve2I(nativePath, p, n, t)); }
TStatus TGPGraphicsPath::AddBezier(const TGPPointF& a, const TGPPointF& b, const TGPPointF& c, const TGPPointF& d) {
  return AddBezier(a.X, a.Y, b.X, b.Y, c.X, c.Y, d.X, d.Y);
}
TStatus TGPGraphicsPath::AddBezier(const TGPPoint& a, const TGPPoint& b, const TGPPoint& c, const TGPPoint& d) {
  return AddBezier(Single(a.X), Single(a.Y), Single(b.X), Single(b.Y), Single(c.X), Single(c.Y), Single(d.X), Single(d.Y));
}
TStatus TGPGraphicsPath::AddBezier(Single x1, Single y1, Single x2, Single y2, Single x3, Single y3, Single x4, Single y4) {
  return SetStatus(GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}
TStatus TGPGraphicsPath::AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style,
                                   Single emSize, const TGPRectF& layoutRect, const TGPStringFormat* format) {
  return SetStatus(GdipAddPathString(nativePath, text.c_str(), TextLength(text, length),
                                     family ? family->nativeFamily : nullptr, style, emSize, &layoutRect,
                                     format ? format->nativeFormat : nullptr));
}
TStatus TGPGraphicsPath::AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style,
                                   Single emSize, const TGPPointF& origin, const TGPStringFormat* format) {
  return AddString(text, length, family, style, emSize, TGPRectF{origin.X, origin.Y, 0, 0}, format);
}
TStatus TGPGraphicsPath::GetBounds(TGPRectF& bounds, const TGPMatrix* matrix, const TGPPen* pen) {
  return SetStatus(GdipGetPathWorldBounds(nativePath, &bounds, matrix ? matrix->nativeMatrix : nullptr,
                                          pen ? pen->nativePen : nullptr));
}
Integer TGPGraphicsPath::GetPointCount() {
  INT n = 0;
  return SetStatus(GdipGetPointCount(nativePath, &n)) == Ok ? n : 0;
}
TStatus TGPGraphicsPath::GetPathPoints(TGPPointF* points, Integer count) { return SetStatus(GdipGetPathPoints(nativePath, points, count)); }
TStatus TGPGraphicsPath::GetPathTypes(Byte* types, Integer count) { return SetStatus(GdipGetPathTypes(nativePath, types, count)); }

}  // namespace gdiplus
