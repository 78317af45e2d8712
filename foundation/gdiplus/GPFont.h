#pragma once
// TGPFont of the imported GDI+ set, and the style bits of a TFont.
#include "foundation/gdiplus/GPFontFamily.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/GraphicsObjects.h"

namespace gdiplus {

class TGPFont : public TGPStatusKeeper {
 public:
  TGPFont(const TGPFontFamily* family, Single emSize, Integer style = FontStyleRegular, GpUnit unit = UnitPoint);
  // The family by name (in the collection); the generic sans-serif family
  // when that fails.
  TGPFont(const String& familyName, Single emSize, TFontStyles style = {}, GpUnit unit = UnitPoint,
          TGPFontCollection* fontCollection = nullptr);
  TGPFont(GpFont* font, TStatus status);
  ~TGPFont() override;
  Single GetSize();
  Integer GetStyle();
  // A nil family: InvalidParameter without a call.
  TStatus GetFamily(TGPFontFamily* family);

  GpFont* nativeFont = nullptr;
};

// Style bits of a TFont's style set: bold 1, italic 2, underline 4, strikeout 8.
Integer FontStyleBits(TFontStyles style);

}  // namespace gdiplus
