#include "foundation/gdiplus_runtime/GPStringFormat.h"

namespace gdiplus_runtime {
namespace {
// The generic formats, nil until first requested.
TGPStringFormat* gDefault = nullptr;
TGPStringFormat* gTypographic = nullptr;

template <class Entry>
TGPStringFormat* Generic(TGPStringFormat*& cache, const Entry& get) {
  if (!cache) {
    cache = new TGPStringFormat(nullptr, Ok);
    if (cache) cache->lastError = get(&cache->nativeFormat);
  }
  return cache;
}

void Free(TGPStringFormat*& cache) {
  std::unique_ptr<TGPStringFormat> owned(cache);
  cache = nullptr;
}
}  // namespace

TGPStringFormat::TGPStringFormat(Integer formatFlags, Word language) {
  lastError = Api().GdipCreateStringFormat(formatFlags, language, &nativeFormat);
}

TGPStringFormat::TGPStringFormat(const TGPStringFormat* format) {
  lastError = Api().GdipCloneStringFormat(NativeOf(format), &nativeFormat);
}

TGPStringFormat::TGPStringFormat(GpStringFormat* native, TStatus status) : nativeFormat(native), lastError(status) {}

TGPStringFormat::~TGPStringFormat() { Api().GdipDeleteStringFormat(nativeFormat); }

TGPStringFormat* TGPStringFormat::GenericDefault() {
  return Generic(gDefault, Api().GdipStringFormatGetGenericDefault);
}

TGPStringFormat* TGPStringFormat::GenericTypographic() {
  return Generic(gTypographic, Api().GdipStringFormatGetGenericTypographic);
}

void TGPStringFormat::FreeGenericFormats() {
  Free(gTypographic);
  Free(gDefault);
}

std::unique_ptr<TGPStringFormat> TGPStringFormat::Clone() {
  GpStringFormat* clone = nullptr;
  lastError = Api().GdipCloneStringFormat(nativeFormat, &clone);
  if (lastError != Ok) return nullptr;
  return Adopt<TGPStringFormat>(Api().GdipDeleteStringFormat, clone, Ok);
}

TStatus TGPStringFormat::SetFormatFlags(Integer flags) {
  return SetStatus(Api().GdipSetStringFormatFlags(nativeFormat, flags));
}
Integer TGPStringFormat::GetFormatFlags() {
  INT flags = 0;
  return SetStatus(Api().GdipGetStringFormatFlags(nativeFormat, &flags)) == Ok ? flags : 0;
}
TStatus TGPStringFormat::SetAlignment(GpStringAlignment align) {
  return SetStatus(Api().GdipSetStringFormatAlign(nativeFormat, align));
}
GpStringAlignment TGPStringFormat::GetAlignment() {
  GpStringAlignment align = StringAlignmentNear;
  return SetStatus(Api().GdipGetStringFormatAlign(nativeFormat, &align)) == Ok ? align : StringAlignmentNear;
}
TStatus TGPStringFormat::SetLineAlignment(GpStringAlignment align) {
  return SetStatus(Api().GdipSetStringFormatLineAlign(nativeFormat, align));
}
GpStringAlignment TGPStringFormat::GetLineAlignment() {
  GpStringAlignment align = StringAlignmentNear;
  return SetStatus(Api().GdipGetStringFormatLineAlign(nativeFormat, &align)) == Ok ? align : StringAlignmentNear;
}
TStatus TGPStringFormat::SetHotkeyPrefix(GpHotkeyPrefix hotkeyPrefix) {
  return SetStatus(Api().GdipSetStringFormatHotkeyPrefix(nativeFormat, hotkeyPrefix));
}
GpHotkeyPrefix TGPStringFormat::GetHotkeyPrefix() {
  INT prefix = HotkeyPrefixNone;
  return SetStatus(Api().GdipGetStringFormatHotkeyPrefix(nativeFormat, &prefix)) == Ok ? GpHotkeyPrefix(prefix)
                                                                                       : HotkeyPrefixNone;
}
TStatus TGPStringFormat::SetTabStops(Single firstTabOffset, Integer count, const Single* tabStops) {
  return SetStatus(Api().GdipSetStringFormatTabStops(nativeFormat, firstTabOffset, count, tabStops));
}
Integer TGPStringFormat::GetTabStopCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetStringFormatTabStopCount(nativeFormat, &count)) == Ok ? count : 0;
}
TStatus TGPStringFormat::GetTabStops(Integer count, Single& firstTabOffset, Single* tabStops) {
  return SetStatus(Api().GdipGetStringFormatTabStops(nativeFormat, count, &firstTabOffset, tabStops));
}
TStatus TGPStringFormat::SetDigitSubstitution(Word language, GpStringDigitSubstitute substitute) {
  return SetStatus(Api().GdipSetStringFormatDigitSubstitution(nativeFormat, language, substitute));
}
Word TGPStringFormat::GetDigitSubstitutionLanguage() {
  Word language = 0;
  return SetStatus(Api().GdipGetStringFormatDigitSubstitution(nativeFormat, &language, nullptr)) == Ok ? language
                                                                                                       : Word(0);
}
GpStringDigitSubstitute TGPStringFormat::GetDigitSubstitutionMethod() {
  GpStringDigitSubstitute method = StringDigitSubstituteUser;
  return SetStatus(Api().GdipGetStringFormatDigitSubstitution(nativeFormat, nullptr, &method)) == Ok
             ? method
             : StringDigitSubstituteUser;
}
TStatus TGPStringFormat::SetTrimming(GpStringTrimming trimming) {
  return SetStatus(Api().GdipSetStringFormatTrimming(nativeFormat, trimming));
}
GpStringTrimming TGPStringFormat::GetTrimming() {
  GpStringTrimming trimming = StringTrimmingNone;
  return SetStatus(Api().GdipGetStringFormatTrimming(nativeFormat, &trimming)) == Ok ? trimming : StringTrimmingNone;
}
TStatus TGPStringFormat::SetMeasurableCharacterRanges(Integer rangeCount, const GpCharacterRange* ranges) {
  return SetStatus(Api().GdipSetStringFormatMeasurableCharacterRanges(nativeFormat, rangeCount, ranges));
}
Integer TGPStringFormat::GetMeasurableCharacterRangeCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetStringFormatMeasurableCharacterRangeCount(nativeFormat, &count)) == Ok ? count : 0;
}

}  // namespace gdiplus_runtime
