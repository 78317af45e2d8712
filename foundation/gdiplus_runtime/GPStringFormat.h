#pragma once
// TGPStringFormat: layout flags, alignment, trimming, tab stops and
// measurable ranges of text, with the two process-wide generic formats, of
// the run-time GDI+ set (wrapper contract in GdiplusBase.h; the kept status
// is lastError).
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPStringFormat : public TGdiplusBase {
 public:
  // language: 16-bit identifier, 0 neutral.
  explicit TGPStringFormat(Integer formatFlags = 0, Word language = 0);
  // A copy of format (nil: InvalidParameter kept, nil handle).
  explicit TGPStringFormat(const TGPStringFormat* format);
  // Adopts a native format with status.
  TGPStringFormat(GpStringFormat* clonedStringFormat, TStatus status);
  ~TGPStringFormat() override;
  TGPStringFormat(const TGPStringFormat&) = delete;
  TGPStringFormat& operator=(const TGPStringFormat&) = delete;

  // The shared generic formats, made on first request and freed at the end
  // of the program's GDI+; callers never free them. nullptr only while no
  // wrapper memory can be had.
  static TGPStringFormat* GenericDefault();
  static TGPStringFormat* GenericTypographic();
  // Frees the generic formats that were made, typographic then default.
  static void FreeGenericFormats();

  // A new format on a copy; the copy's status is stored whatever it is, and
  // nullptr answered when it fails.
  std::unique_ptr<TGPStringFormat> Clone();
  TStatus SetFormatFlags(Integer flags);
  // Getters answer 0 (the first value of their enumeration) when the call
  // fails.
  Integer GetFormatFlags();
  TStatus SetAlignment(GpStringAlignment align);
  GpStringAlignment GetAlignment();
  TStatus SetLineAlignment(GpStringAlignment align);
  GpStringAlignment GetLineAlignment();
  TStatus SetHotkeyPrefix(GpHotkeyPrefix hotkeyPrefix);
  GpHotkeyPrefix GetHotkeyPrefix();
  // count entries of tabStops are read.
  TStatus SetTabStops(Single firstTabOffset, Integer count, const Single* tabStops);
  Integer GetTabStopCount();
  // Up to count stops are written.
  TStatus GetTabStops(Integer count, Single& firstTabOffset, Single* tabStops);
  TStatus SetDigitSubstitution(Word language, GpStringDigitSubstitute substitute);
  Word GetDigitSubstitutionLanguage();
  GpStringDigitSubstitute GetDigitSubstitutionMethod();
  TStatus SetTrimming(GpStringTrimming trimming);
  GpStringTrimming GetTrimming();
  // At most 32 ranges; rangeCount entries of ranges are read.
  TStatus SetMeasurableCharacterRanges(Integer rangeCount, const GpCharacterRange* ranges);
  Integer GetMeasurableCharacterRangeCount();
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastError); }

  GpStringFormat* nativeFormat = nullptr;
  TStatus lastError = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastError, s); }
};

inline GpStringFormat* NativeOf(const TGPStringFormat* f) { return f ? f->nativeFormat : nullptr; }

}  // namespace gdiplus_runtime
