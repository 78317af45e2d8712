#pragma once
// TGPStringFormat of the imported GDI+ set.
#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/rtl/Types.h"

namespace gdiplus {

class TGPStringFormat : public TGdiplusBase {
 public:
  explicit TGPStringFormat(Integer formatFlags = 0, Word language = 0);
  explicit TGPStringFormat(const TGPStringFormat* format);
  TGPStringFormat(GpStringFormat* clonedStringFormat, TStatus status);
  ~TGPStringFormat() override;
  TStatus SetAlignment(GpStringAlignment align);
  GpStringAlignment GetAlignment();
  TStatus SetLineAlignment(GpStringAlignment align);
  GpStringAlignment GetLineAlignment();
  TStatus SetTrimming(GpStringTrimming trimming);
  GpStringTrimming GetTrimming();
  TStatus SetFormatFlags(Integer flags);
  Integer GetFormatFlags();
  TStatus SetHotkeyPrefix(GpHotkeyPrefix hotkeyPrefix);
  GpHotkeyPrefix GetHotkeyPrefix();
  TStatus GetLastStatus();

  GpStringFormat* nativeFormat = nullptr;
  TStatus lastError = Ok;

 private:
  TStatus SetStatus(TStatus s) {
    if (s != Ok) lastError = s;
    return s;
  }
};

}  // namespace gdiplus
