#include "foundation/gdiplus_runtime/GPImageAttributes.h"

namespace gdiplus_runtime {

TGPImageAttributes::TGPImageAttributes() { lastResult = Api().GdipCreateImageAttributes(&nativeImageAttr); }

TGPImageAttributes::TGPImageAttributes(GpImageAttributes* imageAttr, TStatus status)
    : nativeImageAttr(imageAttr), lastResult(status) {}

TGPImageAttributes::~TGPImageAttributes() { Api().GdipDisposeImageAttributes(nativeImageAttr); }

std::unique_ptr<TGPImageAttributes> TGPImageAttributes::Clone() {
  GpImageAttributes* clone = nullptr;
  SetStatus(Api().GdipCloneImageAttributes(nativeImageAttr, &clone));
  return Adopt<TGPImageAttributes>(Api().GdipDisposeImageAttributes, clone, lastResult);
}

TStatus TGPImageAttributes::SetToIdentity(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesToIdentity(nativeImageAttr, type));
}
TStatus TGPImageAttributes::Reset(GpColorAdjustType type) {
  return SetStatus(Api().GdipResetImageAttributes(nativeImageAttr, type));
}
TStatus TGPImageAttributes::SetColorMatrix(const ColorMatrix& colorMatrix, GpColorMatrixFlags mode,
                                           GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesColorMatrix(nativeImageAttr, type, TRUE, &colorMatrix, nullptr, mode));
}
TStatus TGPImageAttributes::ClearColorMatrix(GpColorAdjustType type) {
  return SetStatus(
      Api().GdipSetImageAttributesColorMatrix(nativeImageAttr, type, FALSE, nullptr, nullptr, ColorMatrixFlagsDefault));
}
TStatus TGPImageAttributes::SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                                             GpColorMatrixFlags mode, GpColorAdjustType type) {
  return SetStatus(
      Api().GdipSetImageAttributesColorMatrix(nativeImageAttr, type, TRUE, &colorMatrix, &grayMatrix, mode));
}
TStatus TGPImageAttributes::ClearColorMatrices(GpColorAdjustType type) { return ClearColorMatrix(type); }
TStatus TGPImageAttributes::SetThreshold(Single threshold, GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesThreshold(nativeImageAttr, type, TRUE, threshold));
}
TStatus TGPImageAttributes::ClearThreshold(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesThreshold(nativeImageAttr, type, FALSE, 0));
}
TStatus TGPImageAttributes::SetGamma(Single gamma, GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesGamma(nativeImageAttr, type, TRUE, gamma));
}
TStatus TGPImageAttributes::ClearGamma(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesGamma(nativeImageAttr, type, FALSE, 0));
}
TStatus TGPImageAttributes::SetNoOp(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesNoOp(nativeImageAttr, type, TRUE));
}
TStatus TGPImageAttributes::ClearNoOp(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesNoOp(nativeImageAttr, type, FALSE));
}
TStatus TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesColorKeys(nativeImageAttr, type, TRUE, colorLow, colorHigh));
}
TStatus TGPImageAttributes::ClearColorKey(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesColorKeys(nativeImageAttr, type, FALSE, 0, 0));
}
TStatus TGPImageAttributes::SetOutputChannel(GpColorChannelFlags channelFlags, GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesOutputChannel(nativeImageAttr, type, TRUE, channelFlags));
}
TStatus TGPImageAttributes::ClearOutputChannel(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesOutputChannel(nativeImageAttr, type, FALSE, ColorChannelFlagsLast));
}
TStatus TGPImageAttributes::SetOutputChannelColorProfile(const String& colorProfileFilename, GpColorAdjustType type) {
  return SetStatus(
      Api().GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, TRUE, colorProfileFilename.c_str()));
}
TStatus TGPImageAttributes::ClearOutputChannelColorProfile(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, FALSE, nullptr));
}
TStatus TGPImageAttributes::SetRemapTable(UINT mapSize, const ColorMap* map, GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesRemapTable(nativeImageAttr, type, TRUE, mapSize, map));
}
TStatus TGPImageAttributes::ClearRemapTable(GpColorAdjustType type) {
  return SetStatus(Api().GdipSetImageAttributesRemapTable(nativeImageAttr, type, FALSE, 0, nullptr));
}
TStatus TGPImageAttributes::SetBrushRemapTable(UINT mapSize, const ColorMap* map) {
  return SetRemapTable(mapSize, map, ColorAdjustTypeBrush);
}
TStatus TGPImageAttributes::ClearBrushRemapTable() { return ClearRemapTable(ColorAdjustTypeBrush); }
TStatus TGPImageAttributes::SetWrapMode(GpWrapMode wrap, ARGB color, bool clamp) {
  return SetStatus(Api().GdipSetImageAttributesWrapMode(nativeImageAttr, wrap, color, clamp ? TRUE : FALSE));
}
TStatus TGPImageAttributes::GetAdjustedPalette(ColorPalette* colorPalette, GpColorAdjustType colorAdjustType) {
  return SetStatus(Api().GdipGetImageAttributesAdjustedPalette(nativeImageAttr, colorPalette, colorAdjustType));
}

}  // namespace gdiplus_runtime
