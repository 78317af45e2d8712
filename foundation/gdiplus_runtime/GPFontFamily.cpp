#include "foundation/gdiplus_runtime/GPFontFamily.h"

#include "foundation/gdiplus_runtime/GPFontCollection.h"

namespace gdiplus_runtime {
namespace {
// The generic families, nil until first requested.
TGPFontFamily* gSansSerif = nullptr;
TGPFontFamily* gSerif = nullptr;
TGPFontFamily* gMonospace = nullptr;

template <class Entry>
TGPFontFamily* Generic(TGPFontFamily*& cache, const Entry& create) {
  if (!cache) {
    cache = new TGPFontFamily();
    if (cache) cache->lastResult = create(&cache->nativeFamily);
  }
  return cache;
}

void Free(TGPFontFamily*& cache) {
  std::unique_ptr<TGPFontFamily> owned(cache);
  cache = nullptr;
}
}  // namespace

TGPFontFamily::TGPFontFamily() = default;

TGPFontFamily::TGPFontFamily(const String& name, const TGPFontCollection* fontCollection) {
  lastResult = Api().GdipCreateFontFamilyFromName(name.c_str(), NativeOf(fontCollection), &nativeFamily);
}

TGPFontFamily::TGPFontFamily(GpFontFamily* native, TStatus status) : nativeFamily(native), lastResult(status) {}

TGPFontFamily::~TGPFontFamily() { Api().GdipDeleteFontFamily(nativeFamily); }

TGPFontFamily* TGPFontFamily::GenericSansSerif() {
  return Generic(gSansSerif, Api().GdipGetGenericFontFamilySansSerif);
}
TGPFontFamily* TGPFontFamily::GenericSerif() { return Generic(gSerif, Api().GdipGetGenericFontFamilySerif); }
TGPFontFamily* TGPFontFamily::GenericMonospace() {
  return Generic(gMonospace, Api().GdipGetGenericFontFamilyMonospace);
}

void TGPFontFamily::FreeGenericFamilies() {
  Free(gSansSerif);
  Free(gSerif);
  Free(gMonospace);
}

TStatus TGPFontFamily::GetFamilyName(String& name, Word language) {
  name.clear();
  WCHAR buffer[LF_FACESIZE + 1] = {};  // one spare so the text always ends in NUL
  TStatus s = SetStatus(Api().GdipGetFamilyName(nativeFamily, buffer, language));
  if (s != Ok) return s;
  std::size_t n = 0;
  while (n < LF_FACESIZE && buffer[n] != 0) ++n;
  name.assign(buffer, n);
  return s;
}

std::unique_ptr<TGPFontFamily> TGPFontFamily::Clone() {
  GpFontFamily* clone = nullptr;
  SetStatus(Api().GdipCloneFontFamily(nativeFamily, &clone));
  return Adopt<TGPFontFamily>(Api().GdipDeleteFontFamily, clone, lastResult);
}

bool TGPFontFamily::IsStyleAvailable(Integer style) {
  BOOL r = FALSE;
  return SetStatus(Api().GdipIsStyleAvailable(nativeFamily, style, &r)) == Ok && r != FALSE;
}

Word TGPFontFamily::GetEmHeight(Integer style) {
  Word v = 0;
  return SetStatus(Api().GdipGetEmHeight(nativeFamily, style, &v)) == Ok ? v : Word(0);
}
Word TGPFontFamily::GetCellAscent(Integer style) {
  Word v = 0;
  return SetStatus(Api().GdipGetCellAscent(nativeFamily, style, &v)) == Ok ? v : Word(0);
}
Word TGPFontFamily::GetCellDescent(Integer style) {
  Word v = 0;
  return SetStatus(Api().GdipGetCellDescent(nativeFamily, style, &v)) == Ok ? v : Word(0);
}
Word TGPFontFamily::GetLineSpacing(Integer style) {
  Word v = 0;
  return SetStatus(Api().GdipGetLineSpacing(nativeFamily, style, &v)) == Ok ? v : Word(0);
}

}  // namespace gdiplus_runtime
