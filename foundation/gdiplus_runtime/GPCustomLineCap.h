#pragma once
// TGPCustomLineCap: a line cap drawn from a fill or stroke path, of the
// run-time GDI+ set (wrapper contract in GdiplusBase.h).
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPGraphicsPath;

class TGPCustomLineCap : public TGdiplusBase {
 public:
  // Either path may be nil (not both: GDI+ answers InvalidParameter).
  TGPCustomLineCap(const TGPGraphicsPath* fillPath, const TGPGraphicsPath* strokePath, GpLineCap baseCap = LineCapFlat,
                   Single baseInset = 0);
  // An empty cap: nil handle, status Ok (filled by TGPPen::GetCustomStartCap).
  TGPCustomLineCap();
  // Adopts a native cap with status.
  TGPCustomLineCap(GpCustomLineCap* nativeCap, TStatus status);
  ~TGPCustomLineCap() override;
  TGPCustomLineCap(const TGPCustomLineCap&) = delete;
  TGPCustomLineCap& operator=(const TGPCustomLineCap&) = delete;

  // A new cap on a copy, status Ok; nullptr when the kept status is not Ok
  // after the copy.
  std::unique_ptr<TGPCustomLineCap> Clone();
  // The same cap at both ends.
  TStatus SetStrokeCap(GpLineCap strokeCap);
  TStatus SetStrokeCaps(GpLineCap startCap, GpLineCap endCap);
  // Both 0 (LineCapFlat) when the call fails.
  TStatus GetStrokeCaps(GpLineCap& startCap, GpLineCap& endCap);
  TStatus SetStrokeJoin(GpLineJoin lineJoin);
  // LineJoinMiter (0) when the call fails; likewise 0 for the getters below.
  GpLineJoin GetStrokeJoin();
  TStatus SetBaseCap(GpLineCap baseCap);
  GpLineCap GetBaseCap();
  TStatus SetBaseInset(Single inset);
  Single GetBaseInset();
  TStatus SetWidthScale(Single widthScale);
  Single GetWidthScale();
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpCustomLineCap* nativeCap = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpCustomLineCap* NativeOf(const TGPCustomLineCap* c) { return c ? c->nativeCap : nullptr; }

}  // namespace gdiplus_runtime
