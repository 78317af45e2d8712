#pragma once
// TGPImageAttributes of the imported GDI+ set.
#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/rtl/Types.h"

namespace gdiplus {

class TGPImageAttributes : public TGPStatusKeeper {
 public:
  TGPImageAttributes();
  TGPImageAttributes(GpImageAttributes* native, TStatus status);
  ~TGPImageAttributes() override;
  TGPImageAttributes* Clone();
  TStatus SetToIdentity(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus Reset(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetColorMatrix(const ColorMatrix& matrix, GpColorMatrixFlags mode = ColorMatrixFlagsDefault,
                         GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearColorMatrix(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetColorMatrices(const ColorMatrix& matrix, const ColorMatrix& grayMatrix,
                           GpColorMatrixFlags mode = ColorMatrixFlagsDefault, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearColorMatrices(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetThreshold(Single threshold, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearThreshold(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetGamma(Single gamma, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearGamma(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetNoOp(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearNoOp(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetColorKey(ARGB colorLow, ARGB colorHigh, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearColorKey(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetOutputChannel(GpColorChannelFlags channelFlags, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearOutputChannel(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetOutputChannelColorProfile(const String& colorProfileFilename, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearOutputChannelColorProfile(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetRemapTable(Cardinal mapSize, const ColorMap* map, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearRemapTable(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetBrushRemapTable(Cardinal mapSize, const ColorMap* map) { return SetRemapTable(mapSize, map, ColorAdjustTypeBrush); }
  TStatus ClearBrushRemapTable() { return ClearRemapTable(ColorAdjustTypeBrush); }
  TStatus SetWrapMode(GpWrapMode wrap, ARGB color = 0xFF000000, bool clamp = false);
  TStatus GetAdjustedPalette(ColorPalette* colorPalette, GpColorAdjustType colorAdjustType);

  GpImageAttributes* nativeImageAttr = nullptr;
};

}  // namespace gdiplus
