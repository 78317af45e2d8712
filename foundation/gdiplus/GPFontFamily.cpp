#include "foundation/gdiplus/GPFontFamily.h"

namespace gdiplus {

namespace {
TGPFontFamily* gGeneric[3] = {nullptr, nullptr, nullptr};

TGPFontFamily* Generic(int kind) {
  if (!gGeneric[kind]) {
    GpFontFamily* native = nullptr;
    TStatus s = kind == 0 ? GdipGetGenericFontFamilySansSerif(&native)
                : kind == 1 ? GdipGetGenericFontFamilySerif(&native)
                            : GdipGetGenericFontFamilyMonospace(&native);
    gGeneric[kind] = new TGPFontFamily(native, s);
  }
  return gGeneric[kind];
}
}  // namespace

TGPFontFamily::TGPFontFamily(const String& name, TGPFontCollection* fc) {
  lastResult = GdipCreateFontFamilyFromName(name.c_str(), fc ? fc->nativeFontCollection : nullptr, &nativeFamily);
}
TGPFontFamily::TGPFontFamily(GpFontFamily* native, TStatus status) : nativeFamily(native) { lastResult = status; }
TGPFontFamily::~TGPFontFamily() { GdipDeleteFontFamily(nativeFamily); }
TGPFontFamily* TGPFontFamily::GenericSansSerif() { return Generic(0); }
TGPFontFamily* TGPFontFamily::GenericSerif() { return Generic(1); }
TGPFontFamily* TGPFontFamily::GenericMonospace() { return Generic(2); }
TStatus TGPFontFamily::GetFamilyName(String& name, Word language) {
  WCHAR buf[LF_FACESIZE] = {};
  TStatus s = SetStatus(GdipGetFamilyName(nativeFamily, buf, language));
  buf[LF_FACESIZE - 1] = 0;
  name = String(buf);
  return s;
}

}  // namespace gdiplus
