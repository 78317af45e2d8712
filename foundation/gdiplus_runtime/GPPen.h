#pragma once
// TGPPen: width, colour or brush, caps, joins, dashes and transform of a
// stroke, of the run-time GDI+ set (wrapper contract in GdiplusBase.h).
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPBrush;
class TGPCustomLineCap;
class TGPMatrix;

class TGPPen : public TGdiplusBase {
 public:
  // Widths in world units.
  explicit TGPPen(ARGB color, Single width = 1.0f);
  // brush must not be nil (InvalidParameter kept, nil handle).
  TGPPen(const TGPBrush* brush, Single width = 1.0f);
  // Adopts a native pen with status.
  TGPPen(GpPen* nativePen, TStatus status);
  ~TGPPen() override;
  TGPPen(const TGPPen&) = delete;
  TGPPen& operator=(const TGPPen&) = delete;

  // A new pen on a copy. The copy's status is stored here whatever it is (an
  // Ok copy clears an earlier failure) and given to the new pen; nullptr
  // only when no wrapper memory can be had.
  std::unique_ptr<TGPPen> Clone();
  TStatus SetWidth(Single width);
  // Getters answer 0 (or the first value of their enumeration) when the call
  // fails.
  Single GetWidth();
  TStatus SetLineCap(GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap);
  TStatus SetStartCap(GpLineCap startCap);
  TStatus SetEndCap(GpLineCap endCap);
  TStatus SetDashCap(GpDashCap dashCap);
  GpLineCap GetStartCap();
  GpLineCap GetEndCap();
  GpDashCap GetDashCap();
  TStatus SetLineJoin(GpLineJoin lineJoin);
  GpLineJoin GetLineJoin();
  // A nil cap removes the custom cap.
  TStatus SetCustomStartCap(const TGPCustomLineCap* customCap);
  TStatus SetCustomEndCap(const TGPCustomLineCap* customCap);
  // Puts a copy of the pen's custom cap into customCap, whose previous
  // native cap is freed; a nil customCap: InvalidParameter without a call.
  TStatus GetCustomStartCap(TGPCustomLineCap* customCap);
  TStatus GetCustomEndCap(TGPCustomLineCap* customCap);
  TStatus SetMiterLimit(Single miterLimit);
  Single GetMiterLimit();
  TStatus SetAlignment(GpPenAlignment penAlignment);
  GpPenAlignment GetAlignment();
  TStatus SetTransform(const TGPMatrix* matrix);
  TStatus GetTransform(TGPMatrix* matrix);
  TStatus ResetTransform();
  TStatus MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus TranslateTransform(Single dx, Single dy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(Single sx, Single sy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  // 0 solid colour, 1 hatch, 2 texture, 3 path gradient, 4 linear gradient;
  // PenTypeUnknown (-1) when the call fails.
  GpPenType GetPenType();
  TStatus SetColor(ARGB color);
  // WrongState, without a call and not kept, when the pen paints with a
  // brush; otherwise color is written only when the kept status is Ok
  // afterwards, and the kept status is answered.
  TStatus GetColor(ARGB& color);
  // brush must not be nil.
  TStatus SetBrush(const TGPBrush* brush);
  // A new brush of the pen's fill kind (a plain TGPBrush, NotImplemented
  // kept, for a path gradient) holding a copy of the pen's brush; nullptr for
  // an unknown pen type or without wrapper memory.
  std::unique_ptr<TGPBrush> GetBrush();
  GpDashStyle GetDashStyle();
  TStatus SetDashStyle(GpDashStyle dashStyle);
  Single GetDashOffset();
  TStatus SetDashOffset(Single dashOffset);
  // Lengths in pen widths, all positive; sets the style to custom.
  TStatus SetDashPattern(const Single* dashArray, Integer count);
  Integer GetDashPatternCount();
  // InsufficientBuffer when count is below the pattern's length.
  TStatus GetDashPattern(Single* dashArray, Integer count);
  TStatus SetCompoundArray(const Single* compoundArray, Integer count);
  Integer GetCompoundArrayCount();
  // count <= 0: InvalidParameter without a call.
  TStatus GetCompoundArray(Single* compoundArray, Integer count);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpPen* nativePen = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
  TStatus GetCustomCap(TGPCustomLineCap* customCap, bool start);
};

inline GpPen* NativeOf(const TGPPen* p) { return p ? p->nativePen : nullptr; }

}  // namespace gdiplus_runtime
