#pragma once
// TGPImage and its TGPBitmap of the imported GDI+ set.
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

}  // namespace gdiplus
