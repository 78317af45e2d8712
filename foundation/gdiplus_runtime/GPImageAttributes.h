#pragma once
// TGPImageAttributes: colour adjustments applied while an image is drawn,
// per adjustment type (default, bitmap, brush, pen, text), of the run-time
// GDI+ set (wrapper contract in GdiplusBase.h). Each Set member switches its
// adjustment on for the type; the matching Clear member switches it off.
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPImageAttributes : public TGdiplusBase {
 public:
  TGPImageAttributes();
  // Adopts native attributes with status.
  TGPImageAttributes(GpImageAttributes* imageAttr, TStatus status);
  ~TGPImageAttributes() override;
  TGPImageAttributes(const TGPImageAttributes&) = delete;
  TGPImageAttributes& operator=(const TGPImageAttributes&) = delete;

  // A new object on a copy with this one's kept status (a failure of the
  // copy kept first); nullptr only without wrapper memory.
  std::unique_ptr<TGPImageAttributes> Clone();
  TStatus SetToIdentity(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus Reset(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetColorMatrix(const ColorMatrix& colorMatrix, GpColorMatrixFlags mode = ColorMatrixFlagsDefault,
                         GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearColorMatrix(GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                           GpColorMatrixFlags mode = ColorMatrixFlagsDefault,
                           GpColorAdjustType type = ColorAdjustTypeDefault);
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
  // Colour profiles are not read by this GDI+: ProfileNotFound.
  TStatus SetOutputChannelColorProfile(const String& colorProfileFilename,
                                       GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearOutputChannelColorProfile(GpColorAdjustType type = ColorAdjustTypeDefault);
  // mapSize entries of map are read.
  TStatus SetRemapTable(UINT mapSize, const ColorMap* map, GpColorAdjustType type = ColorAdjustTypeDefault);
  TStatus ClearRemapTable(GpColorAdjustType type = ColorAdjustTypeDefault);
  // The remap table of brush drawing only.
  TStatus SetBrushRemapTable(UINT mapSize, const ColorMap* map);
  TStatus ClearBrushRemapTable();
  TStatus SetWrapMode(GpWrapMode wrap, ARGB color = 0xFF000000, bool clamp = false);
  // The palette as drawing of colorAdjustType would adjust it, in place.
  TStatus GetAdjustedPalette(ColorPalette* colorPalette, GpColorAdjustType colorAdjustType);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpImageAttributes* nativeImageAttr = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpImageAttributes* NativeOf(const TGPImageAttributes* a) { return a ? a->nativeImageAttr : nullptr; }

}  // namespace gdiplus_runtime
