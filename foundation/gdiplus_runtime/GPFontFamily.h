#pragma once
// TGPFontFamily: a typeface family of the run-time GDI+ set (wrapper contract
// in GdiplusBase.h), with the three process-wide generic families.
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPFontCollection;

class TGPFontFamily : public TGdiplusBase {
 public:
  // An empty family: nil handle, status Ok.
  TGPFontFamily();
  // The installed family name (or a Windows name the font set maps) in
  // fontCollection (nil: the installed fonts); FontFamilyNotFound kept and a
  // nil handle when there is none.
  TGPFontFamily(const String& name, const TGPFontCollection* fontCollection = nullptr);
  // Adopts a native family with status.
  TGPFontFamily(GpFontFamily* nativeOrig, TStatus status);
  ~TGPFontFamily() override;
  TGPFontFamily(const TGPFontFamily&) = delete;
  TGPFontFamily& operator=(const TGPFontFamily&) = delete;

  // The shared generic families, made on first request and freed at the end
  // of the program's GDI+; callers never free them. nullptr only while no
  // wrapper memory can be had (GDI+ not started).
  static TGPFontFamily* GenericSansSerif();
  static TGPFontFamily* GenericSerif();
  static TGPFontFamily* GenericMonospace();
  // Frees the generic families that were made (the end of the classes unit).
  static void FreeGenericFamilies();

  // The family's name, at most 32 characters; empty when the call fails.
  TStatus GetFamilyName(String& name, Word language = 0);
  // A new family on a copy with the kept status (a failure of the copy kept
  // first); nullptr only without wrapper memory.
  std::unique_ptr<TGPFontFamily> Clone();
  // True when the family has a native handle.
  bool IsAvailable() const { return nativeFamily != nullptr; }
  // False when the call fails.
  bool IsStyleAvailable(Integer style);
  // Design units; 0 when the call fails.
  Word GetEmHeight(Integer style);
  Word GetCellAscent(Integer style);
  Word GetCellDescent(Integer style);
  Word GetLineSpacing(Integer style);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpFontFamily* nativeFamily = nullptr;
  TStatus lastResult = Ok;

 private:
  friend class TGPFont;
  friend class TGPFontCollection;
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpFontFamily* NativeOf(const TGPFontFamily* f) { return f ? f->nativeFamily : nullptr; }

}  // namespace gdiplus_runtime
