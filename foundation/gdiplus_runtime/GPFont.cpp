#include "foundation/gdiplus_runtime/GPFont.h"

#include "foundation/gdiplus_runtime/GPFontCollection.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPGraphics.h"

namespace gdiplus_runtime {
namespace {
// The status of the generic sans-serif family (OutOfMemory when not even its
// wrapper can be had).
TStatus GenericStatus(TGPFontFamily* generic) { return generic ? generic->lastResult : OutOfMemory; }
}  // namespace

TGPFont::TGPFont(HDC hdc) { lastResult = Api().GdipCreateFontFromDC(hdc, &nativeFont); }

TGPFont::TGPFont(HDC hdc, const LOGFONTA* logfont) {
  lastResult = logfont ? Api().GdipCreateFontFromLogfontA(hdc, logfont, &nativeFont)
                       : Api().GdipCreateFontFromDC(hdc, &nativeFont);
}

TGPFont::TGPFont(HDC hdc, const LOGFONTW* logfont) {
  lastResult = logfont ? Api().GdipCreateFontFromLogfontW(hdc, logfont, &nativeFont)
                       : Api().GdipCreateFontFromDC(hdc, &nativeFont);
}

TGPFont::TGPFont(HDC hdc, HFONT hfont) {
  LOGFONTA record{};
  if (hfont && GetObjectA(hfont, int(sizeof(record)), &record) != 0) {
    lastResult = Api().GdipCreateFontFromLogfontA(hdc, &record, &nativeFont);
  } else {
    lastResult = Api().GdipCreateFontFromDC(hdc, &nativeFont);
  }
}

TGPFont::TGPFont(const TGPFontFamily* family, Single emSize, Integer style, GpUnit unit) {
  lastResult = Api().GdipCreateFont(NativeOf(family), emSize, style, unit, &nativeFont);
}

TGPFont::TGPFont(const String& familyName, Single emSize, Integer style, GpUnit unit,
                 const TGPFontCollection* fontCollection) {
  TGPFontFamily named(familyName, fontCollection);
  lastResult = named.GetLastStatus();
  const TGPFontFamily* family = &named;
  if (lastResult != Ok) {
    TGPFontFamily* generic = TGPFontFamily::GenericSansSerif();
    lastResult = GenericStatus(generic);
    if (lastResult != Ok) return;
    family = generic;
  }
  lastResult = Api().GdipCreateFont(family->nativeFamily, emSize, style, unit, &nativeFont);
  if (lastResult != Ok) {
    TGPFontFamily* generic = TGPFontFamily::GenericSansSerif();
    lastResult = GenericStatus(generic);
    if (lastResult == Ok) lastResult = Api().GdipCreateFont(generic->nativeFamily, emSize, style, unit, &nativeFont);
  }
}

TGPFont::TGPFont(GpFont* font, TStatus status) : nativeFont(font), lastResult(status) {}

TGPFont::~TGPFont() { Api().GdipDeleteFont(nativeFont); }

TStatus TGPFont::GetLogFontA(const TGPGraphics* g, LOGFONTA& logfontA) {
  logfontA.lfHeight = 0;
  TStatus s = SetStatus(Api().GdipGetLogFontA(nativeFont, NativeOf(g), &logfontA));
  if (s != Ok) logfontA.lfHeight = 0;
  return s;
}

TStatus TGPFont::GetLogFontW(const TGPGraphics* g, LOGFONTW& logfontW) {
  logfontW.lfHeight = 0;
  TStatus s = SetStatus(Api().GdipGetLogFontW(nativeFont, NativeOf(g), &logfontW));
  if (s != Ok) logfontW.lfHeight = 0;
  return s;
}

std::unique_ptr<TGPFont> TGPFont::Clone() {
  GpFont* clone = nullptr;
  SetStatus(Api().GdipCloneFont(nativeFont, &clone));
  return Adopt<TGPFont>(Api().GdipDeleteFont, clone, lastResult);
}

Integer TGPFont::GetStyle() {
  INT style = 0;
  return SetStatus(Api().GdipGetFontStyle(nativeFont, &style)) == Ok ? style : 0;
}

Single TGPFont::GetSize() {
  REAL size = 0;
  return SetStatus(Api().GdipGetFontSize(nativeFont, &size)) == Ok ? size : 0.0f;
}

GpUnit TGPFont::GetUnit() {
  GpUnit unit = UnitWorld;
  return SetStatus(Api().GdipGetFontUnit(nativeFont, &unit)) == Ok ? unit : UnitWorld;
}

Single TGPFont::GetHeight(const TGPGraphics* graphics) {
  REAL height = 0;
  return SetStatus(Api().GdipGetFontHeight(nativeFont, NativeOf(graphics), &height)) == Ok ? height : 0.0f;
}

Single TGPFont::GetHeight(Single dpi) {
  REAL height = 0;
  return SetStatus(Api().GdipGetFontHeightGivenDPI(nativeFont, dpi, &height)) == Ok ? height : 0.0f;
}

TStatus TGPFont::GetFamily(TGPFontFamily* family) {
  if (!family) return SetStatus(InvalidParameter);
  GpFontFamily* native = nullptr;
  TStatus s = Api().GdipGetFamily(nativeFont, &native);
  if (s == Ok) {
    // The family object owns its handle: the old one goes.
    Api().GdipDeleteFontFamily(family->nativeFamily);
    family->nativeFamily = native;
  }
  family->SetStatus(s);
  return SetStatus(s);
}

}  // namespace gdiplus_runtime
