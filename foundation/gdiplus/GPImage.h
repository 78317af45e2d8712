#pragma once
// Images, bitmaps and image attributes of the imported GDI+ set.
#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/rtl/Types.h"

namespace gdiplus {

class TGPImage : public TGPStatusKeeper {
 public:
  explicit TGPImage(const String& filename, bool useEmbeddedColorManagement = false);
  // The stream is read during the call only.
  explicit TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
  TGPImage(GpImage* nativeImage, TStatus status);
  ~TGPImage() override;
  // 0 when the call fails.
  Cardinal GetWidth();
  Cardinal GetHeight();
  PixelFormat GetPixelFormat();
  Cardinal GetPixelDepth() { return Cardinal(GetPixelFormat() >> 8) & 0xFF; }
  bool HasAlphaChannel() { return (GetPixelFormat() & PixelFormatAlpha) != 0; }
  bool HasPalette() { return (GetPixelFormat() & PixelFormatIndexed) != 0; }
  // The decoded format; ifUndefined when unknown. The status is not kept.
  TGPImageFormat GetFormat();
  TGPImage* GetThumbnailImage(Cardinal thumbWidth, Cardinal thumbHeight, GetThumbnailImageAbort callback = nullptr,
                              void* callbackData = nullptr);
  TStatus Save(const String& filename, const GUID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
  TStatus Save(IStream* stream, const GUID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
  // A nil image: InvalidParameter without a call.
  TStatus SaveAdd(TGPImage* newImage, const EncoderParameters* encoderParams);
  TStatus RotateFlip(GpRotateFlipType rotateFlipType);

  GpImage* nativeImage = nullptr;

 protected:
  TGPImage() = default;
};

class TGPBitmap : public TGPImage {
 public:
  explicit TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
  TGPBitmap(Integer width, Integer height, PixelFormat format = PixelFormat32bppARGB);
  // Adopts a native bitmap (status Ok).
  explicit TGPBitmap(GpBitmap* nativeBitmap);
  static TGPBitmap* FromStream(IStream* stream, bool useEmbeddedColorManagement = false);
  TStatus GetPixel(Integer x, Integer y, ARGB& color);
  TStatus SetPixel(Integer x, Integer y, ARGB color);
  TStatus GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn);
};

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
