#pragma once
// TGPFontFamily of the imported GDI+ set.
#include "foundation/gdiplus/GPFontCollection.h"
#include "platform/rtl/Types.h"

namespace gdiplus {

class TGPFontFamily : public TGPStatusKeeper {
 public:
  // FontFamilyNotFound kept when no installed family has the name.
  explicit TGPFontFamily(const String& name, TGPFontCollection* fontCollection = nullptr);
  TGPFontFamily(GpFontFamily* nativeOrig, TStatus status);
  ~TGPFontFamily() override;
  // Shared families of the unit, made on first use; never free them.
  static TGPFontFamily* GenericSansSerif();
  static TGPFontFamily* GenericSerif();
  static TGPFontFamily* GenericMonospace();
  // The name (at most 31 characters, from a 32-character buffer).
  TStatus GetFamilyName(String& name, Word language = 0);

  GpFontFamily* nativeFamily = nullptr;
};

}  // namespace gdiplus
