#pragma once
// TGPFont: a family at a size and style, of the run-time GDI+ set (wrapper
// contract in GdiplusBase.h, except that GetLastStatus does not reset).
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPFontCollection;
class TGPFontFamily;
class TGPGraphics;

class TGPFont : public TGdiplusBase {
 public:
  // The font selected into hdc.
  explicit TGPFont(HDC hdc);
  // From a logical-font record; nil: the font selected into hdc.
  TGPFont(HDC hdc, const LOGFONTA* logfont);
  TGPFont(HDC hdc, const LOGFONTW* logfont);
  // From a GDI font (0, or one whose record cannot be read: the font
  // selected into hdc).
  TGPFont(HDC hdc, HFONT hfont);
  // family may be nil (GDI+ answers InvalidParameter).
  TGPFont(const TGPFontFamily* family, Single emSize, Integer style = FontStyleRegular, GpUnit unit = UnitPoint);
  // A family not found falls back to the generic sans-serif family (status
  // Ok when that works); when even that cannot be had the handle stays nil
  // with the failure kept. fontCollection may be nil.
  TGPFont(const String& familyName, Single emSize, Integer style = FontStyleRegular, GpUnit unit = UnitPoint,
          const TGPFontCollection* fontCollection = nullptr);
  // Adopts a native font with status.
  TGPFont(GpFont* font, TStatus status);
  ~TGPFont() override;
  TGPFont(const TGPFont&) = delete;
  TGPFont& operator=(const TGPFont&) = delete;

  // The logical-font record as seen on g (may be nil); lfHeight 0 when the
  // call fails.
  TStatus GetLogFontA(const TGPGraphics* g, LOGFONTA& logfontA);
  TStatus GetLogFontW(const TGPGraphics* g, LOGFONTW& logfontW);
  // A new font on a copy with the kept status; nullptr only without wrapper
  // memory.
  std::unique_ptr<TGPFont> Clone();
  // True when the font has a native handle.
  bool IsAvailable() const { return nativeFont != nullptr; }
  // 0 when the call fails.
  Integer GetStyle();
  Single GetSize();
  GpUnit GetUnit();
  // Line spacing in g's unit (g may be nil: pixels at 96 DPI); 0 on failure.
  Single GetHeight(const TGPGraphics* graphics);
  Single GetHeight(Single dpi);
  // Puts a copy of the font's family into family, whose previous native
  // family is freed; a nil family: InvalidParameter. The status is kept on
  // both objects.
  TStatus GetFamily(TGPFontFamily* family);
  // The kept status, not reset.
  TStatus GetLastStatus() const { return lastResult; }

  GpFont* nativeFont = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpFont* NativeOf(const TGPFont* f) { return f ? f->nativeFont : nullptr; }

}  // namespace gdiplus_runtime
