#include "foundation/gdiplus/GPImageAttributes.h"

namespace gdiplus {

TGPImageAttributes::TGPImageAttributes() { lastResult = GdipCreateImageAttributes(&nativeImageAttr); }
TGPImageAttributes::TGPImageAttributes(GpImageAttributes* native, TStatus status) : nativeImageAttr(native) { lastResult = status; }
TGPImageAttributes::~TGPImageAttributes() { GdipDisposeImageAttributes(nativeImageAttr); }
TGPImageAttributes* TGPImageAttributes::Clone() {
  GpImageAttributes* c = nullptr;
  TStatus s = SetStatus(GdipCloneImageAttributes(nativeImageAttr, &c));
  return new TGPImageAttributes(c, s);
}
TStatus TGPImageAttributes::SetToIdentity(GpColorAdjustType t) { return SetStatus(GdipSetImageAttributesToIdentity(nativeImageAttr, t)); }
TStatus TGPImageAttributes::Reset(GpColorAdjustType t) { return SetStatus(GdipResetImageAttributes(nativeImageAttr, t)); }
TStatus TGPImageAttributes::SetColorMatrix(const ColorMatrix& m, GpColorMatrixFlags mode, GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, t, TRUE, &m, nullptr, mode));
}
TStatus TGPImageAttributes::ClearColorMatrix(GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, t, FALSE, nullptr, nullptr, ColorMatrixFlagsDefault));
}
TStatus TGPImageAttributes::SetColorMatrices(const ColorMatrix& m, const ColorMatrix& g, GpColorMatrixFlags mode,
                                             GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, t, TRUE, &m, &g, mode));
}
TStatus TGPImageAttributes::ClearColorMatrices(GpColorAdjustType t) { return ClearColorMatrix(t); }
TStatus TGPImageAttributes::SetThreshold(Single v, GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesThreshold(nativeImageAttr, t, TRUE, v));
}
TStatus TGPImageAttributes::ClearThreshold(GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesThreshold(nativeImageAttr, t, FALSE, 0));
}
TStatus TGPImageAttributes::SetGamma(Single v, GpColorAdjustType t) { return SetStatus(GdipSetImageAttributesGamma(nativeImageAttr, t, TRUE, v)); }
TStatus TGPImageAttributes::ClearGamma(GpColorAdjustType t) { return SetStatus(GdipSetImageAttributesGamma(nativeImageAttr, t, FALSE, 0)); }
TStatus TGPImageAttributes::SetNoOp(GpColorAdjustType t) { return SetStatus(GdipSetImageAttributesNoOp(nativeImageAttr, t, TRUE)); }
TStatus TGPImageAttributes::ClearNoOp(GpColorAdjustType t) { return SetStatus(GdipSetImageAttributesNoOp(nativeImageAttr, t, FALSE)); }
TStatus TGPImageAttributes::SetColorKey(ARGB lo, ARGB hi, GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, t, TRUE, lo, hi));
}
TStatus TGPImageAttributes::ClearColorKey(GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, t, FALSE, 0, 0));
}
TStatus TGPImageAttributes::SetOutputChannel(GpColorChannelFlags f, GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesOutputChannel(nativeImageAttr, t, TRUE, f));
}
TStatus TGPImageAttributes::ClearOutputChannel(GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesOutputChannel(nativeImageAttr, t, FALSE, ColorChannelFlagsLast));
}
TStatus TGPImageAttributes::SetOutputChannelColorProfile(const String& name, GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, t, TRUE, name.c_str()));
}
TStatus TGPImageAttributes::ClearOutputChannelColorProfile(GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, t, FALSE, nullptr));
}
TStatus TGPImageAttributes::SetRemapTable(Cardinal n, const ColorMap* map, GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, t, TRUE, n, map));
}
TStatus TGPImageAttributes::ClearRemapTable(GpColorAdjustType t) {
  return SetStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, t, FALSE, 0, nullptr));
}
TStatus TGPImageAttributes::SetWrapMode(GpWrapMode wrap, ARGB color, bool clamp) {
  return SetStatus(GdipSetImageAttributesWrapMode(nativeImageAttr, wrap, color, clamp));
}
TStatus TGPImageAttributes::GetAdjustedPalette(ColorPalette* p, GpColorAdjustType t) {
  return SetStatus(GdipGetImageAttributesAdjustedPalette(nativeImageAttr, p, t));
}

}  // namespace gdiplus
