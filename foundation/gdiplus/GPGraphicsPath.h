#pragma once
// TGPGraphicsPath of the imported GDI+ set.
#include "foundation/gdiplus/GPBrush.h"
#include "platform/rtl/Types.h"

namespace gdiplus {

class TGPFontFamily;
class TGPPen;
class TGPStringFormat;

class TGPGraphicsPath : public TGPStatusKeeper {
 public:
  explicit TGPGraphicsPath(GpFillMode fillMode = FillModeAlternate);
  TGPGraphicsPath(const TGPPointF* points, const Byte* types, Integer count, GpFillMode fillMode = FillModeAlternate);
  // Adopts a native path (status Ok).
  explicit TGPGraphicsPath(GpPath* nativePath);
  ~TGPGraphicsPath() override;
  TStatus Reset();
  TStatus CloseFigure();
  TStatus AddLine(Single x1, Single y1, Single x2, Single y2);
  TStatus AddLine(const TGPPointF& pt1, const TGPPointF& pt2) { return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y); }
  TStatus AddLines(const TGPPoint* points, Integer count);
  TStatus AddRectangle(const TGPRectF& rect);
  TStatus AddRectangle(const TGPRect& rect);
  TStatus AddArc(Single x, Single y, Single w, Single h, Single startAngle, Single sweepAngle);
  TStatus AddArc(const TGPRectF& r, Single startAngle, Single sweepAngle) { return AddArc(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle); }
  TStatus AddPie(Single x, Single y, Single w, Single h, Single startAngle, Single sweepAngle);
  TStatus AddPie(const TGPRectF& r, Single startAngle, Single sweepAngle) { return AddPie(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle); }
  TStatus AddEllipse(Single x, Single y, Single w, Single h);
  TStatus AddEllipse(const TGPRectF& r) { return AddEllipse(r.X, r.Y, r.Width, r.Height); }
  TStatus AddPolygon(const TGPPointF* points, Integer count);
  TStatus AddPolygon(const TGPPoint* points, Integer count);
  TStatus AddCurve(const TGPPointF* points, Integer count);
  TStatus AddCurve(const TGPPoint* points, Integer count);
  TStatus AddCurve(const TGPPoint* points, Integer count, Single tension);
  TStatus AddBezier(const TGPPointF& p1, const TGPPointF& p2, const TGPPointF& p3, const TGPPointF& p4);
  TStatus AddBezier(const TGPPoint& p1, const TGPPoint& p2, const TGPPoint& p3, const TGPPoint& p4);
  TStatus AddBezier(Single x1, Single y1, Single x2, Single y2, Single x3, Single y3, Single x4, Single y4);
  TStatus AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style, Single emSize,
                    const TGPRectF& layoutRect, const TGPStringFormat* format);
  TStatus AddString(const String& text, Integer length, const TGPFontFamily* family, Integer style, Single emSize,
                    const TGPPointF& origin, const TGPStringFormat* format);
  TStatus GetBounds(TGPRectF& bounds, const TGPMatrix* matrix = nullptr, const TGPPen* pen = nullptr);
  // 0 when the call fails.
  Integer GetPointCount();
  TStatus GetPathPoints(TGPPointF* points, Integer count);
  TStatus GetPathTypes(Byte* types, Integer count);

  GpPath* nativePath = nullptr;
};

}  // namespace gdiplus
