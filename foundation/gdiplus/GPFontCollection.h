#pragma once
// TGPFontCollection of the imported GDI+ set.
#include "foundation/gdiplus/GdiplusBase.h"

namespace gdiplus {

class TGPFontCollection : public TGPStatusKeeper {
 public:
  TGPFontCollection() = default;
  ~TGPFontCollection() override = default;  // nothing native to delete
  GpFontCollection* nativeFontCollection = nullptr;
};

}  // namespace gdiplus
