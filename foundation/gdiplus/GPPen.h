#pragma once
// TGPPen of the imported GDI+ set.
#include "foundation/gdiplus/GPBrush.h"

namespace gdiplus {

class TGPPen : public TGPStatusKeeper {
 public:
  TGPPen(ARGB color, Single width = 1.0f);
  TGPPen(TGPBrush* brush, Single width = 1.0f);
  ~TGPPen() override;
  TStatus SetDashStyle(GpDashStyle dashStyle);
  GpDashStyle GetDashStyle();
  TStatus SetEndCap(Integer endCap);
  TStatus SetBrush(TGPBrush* brush);
  // 0 solid, 1 hatch, 2 texture, 3 path gradient, 4 linear gradient; -1 on failure.
  Integer GetPenType();
  // A new brush of the pen's kind (owned by the caller); nullptr for an unknown kind.
  TGPBrush* GetBrush();

  GpPen* nativePen = nullptr;
};

}  // namespace gdiplus
