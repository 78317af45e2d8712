#include "foundation/gdiplus/GPFont.h"

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

Integer FontStyleBits(TFontStyles style) {
  return (style.Contains(fsBold) ? FontStyleBold : 0) | (style.Contains(fsItalic) ? FontStyleItalic : 0) |
         (style.Contains(fsUnderline) ? FontStyleUnderline : 0) | (style.Contains(fsStrikeOut) ? FontStyleStrikeout : 0);
}

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

TGPStringFormat::TGPStringFormat(Integer flags, Word language) {
  lastError = GdipCreateStringFormat(flags, language, &nativeFormat);
}
TGPStringFormat::TGPStringFormat(const TGPStringFormat* format) {
  lastError = GdipCloneStringFormat(format ? format->nativeFormat : nullptr, &nativeFormat);
}
TGPStringFormat::TGPStringFormat(GpStringFormat* cloned, TStatus status) : nativeFormat(cloned), lastError(status) {}
TGPStringFormat::~TGPStringFormat() { GdipDeleteStringFormat(nativeFormat); }
TStatus TGPStringFormat::SetAlignment(GpStringAlignment a) { return SetStatus(GdipSetStringFormatAlign(nativeFormat, a)); }
GpStringAlignment TGPStringFormat::GetAlignment() {
  GpStringAlignment a = StringAlignmentNear;
  SetStatus(GdipGetStringFormatAlign(nativeFormat, &a));
  return a;
}
TStatus TGPStringFormat::SetLineAlignment(GpStringAlignment a) { return SetStatus(GdipSetStringFormatLineAlign(nativeFormat, a)); }
GpStringAlignment TGPStringFormat::GetLineAlignment() {
  GpStringAlignment a = StringAlignmentNear;
  SetStatus(GdipGetStringFormatLineAlign(nativeFormat, &a));
  return a;
}
TStatus TGPStringFormat::SetTrimming(GpStringTrimming t) { return SetStatus(GdipSetStringFormatTrimming(nativeFormat, t)); }
GpStringTrimming TGPStringFormat::GetTrimming() {
  GpStringTrimming t = StringTrimmingNone;
  SetStatus(GdipGetStringFormatTrimming(nativeFormat, &t));
  return t;
}
TStatus TGPStringFormat::SetFormatFlags(Integer flags) { return SetStatus(GdipSetStringFormatFlags(nativeFormat, flags)); }
Integer TGPStringFormat::GetFormatFlags() {
  INT f = 0;
  SetStatus(GdipGetStringFormatFlags(nativeFormat, &f));
  return f;
}
TStatus TGPStringFormat::SetHotkeyPrefix(GpHotkeyPrefix h) { return SetStatus(GdipSetStringFormatHotkeyPrefix(nativeFormat, h)); }
GpHotkeyPrefix TGPStringFormat::GetHotkeyPrefix() {
  INT h = 0;
  SetStatus(GdipGetStringFormatHotkeyPrefix(nativeFormat, &h));
  return GpHotkeyPrefix(h);
}
TStatus TGPStringFormat::GetLastStatus() {
  TStatus s = lastError;
  lastError = Ok;
  return s;
}

}  // namespace gdiplus
