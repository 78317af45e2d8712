#include "foundation/gdiplus/GPStringFormat.h"

namespace gdiplus {

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
