#include "foundation/gdiplus/GPFont.h"

namespace gdiplus {

Integer FontStyleBits(TFontStyles style) {
  return (style.Contains(fsBold) ? FontStyleBold : 0) | (style.Contains(fsItalic) ? FontStyleItalic : 0) |
         (style.Contains(fsUnderline) ? FontStyleUnderline : 0) | (style.Contains(fsStrikeOut) ? FontStyleStrikeout : 0);
}

TGPFont::TGPFont(const TGPFontFamily* family, Single emSize, Integer style, GpUnit unit) {
  lastResult = GdipCreateFont(family ? family->nativeFamily : nullptr, emSize, style, unit, &nativeFont);
}
TGPFont::TGPFont(const String& familyName, Single emSize, TFontStyles style, GpUnit unit, TGPFontCollection* fc) {
  TGPFontFamily family(familyName, fc);
  const TGPFontFamily* use = &family;
  if (family.lastResult != Ok) use = TGPFontFamily::GenericSansSerif();
  lastResult = GdipCreateFont(use ? use->nativeFamily : nullptr, emSize, FontStyleBits(style), unit, &nativeFont);
  if (lastResult != Ok && use != TGPFontFamily::GenericSansSerif()) {
    use = TGPFontFamily::GenericSansSerif();
    lastResult = GdipCreateFont(use ? use->nativeFamily : nullptr, emSize, FontStyleBits(style), unit, &nativeFont);
  }
}
TGPFont::TGPFont(GpFont* font, TStatus status) : nativeFont(font) { lastResult = status; }
TGPFont::~TGPFont() { GdipDeleteFont(nativeFont); }
Single TGPFont::GetSize() {
  REAL s = 0;
  SetStatus(GdipGetFontSize(nativeFont, &s));
  return s;
}
Integer TGPFont::GetStyle() {
  INT s = 0;
  SetStatus(GdipGetFontStyle(nativeFont, &s));
  return s;
}
TStatus TGPFont::GetFamily(TGPFontFamily* family) {
  if (!family) return SetStatus(InvalidParameter);
  GpFontFamily* native = nullptr;
  TStatus s = SetStatus(GdipGetFamily(nativeFont, &native));
  GdipDeleteFontFamily(family->nativeFamily);
  family->nativeFamily = native;
  family->lastResult = s;
  return s;
}

}  // namespace gdiplus
