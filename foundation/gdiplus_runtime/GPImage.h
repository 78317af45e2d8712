#pragma once
// TGPImage (any picture GDI+ loads) and TGPBitmap (pixels from files,
// streams, memory, GDI objects and resources, with area copies, pixel access
// and bit locking), of the run-time GDI+ set (wrapper contract in
// GdiplusBase.h). A failed load leaves a nil handle and the load status.
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPGraphics;

class TGPImage : public TGdiplusBase {
 public:
  // FileNotFound / OutOfMemory (undecodable data) / InvalidParameter kept
  // when the picture cannot be loaded.
  explicit TGPImage(const String& filename, bool useEmbeddedColorManagement = false);
  explicit TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
  // Adopts a native image with status.
  TGPImage(GpImage* nativeImage, TStatus status);
  ~TGPImage() override;
  TGPImage(const TGPImage&) = delete;
  TGPImage& operator=(const TGPImage&) = delete;

  static std::unique_ptr<TGPImage> FromFile(const String& filename, bool useEmbeddedColorManagement = false);
  static std::unique_ptr<TGPImage> FromStream(IStream* stream, bool useEmbeddedColorManagement = false);
  // A new image on a copy with this image's kept status (a failure of the
  // copy kept first); nullptr only without wrapper memory.
  std::unique_ptr<TGPImage> Clone();
  // encoderParams may be nil.
  TStatus Save(const String& filename, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
  TStatus Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
  TStatus SaveAdd(const EncoderParameters* encoderParams);
  // A nil newImage: InvalidParameter without a call.
  TStatus SaveAdd(const TGPImage* newImage, const EncoderParameters* encoderParams);
  // Queries answer 0 (ImageTypeUnknown, PixelFormatUndefined) when their call
  // fails.
  GpImageType GetType();
  // Width and height in the image's unit; both 0 when the call fails.
  TStatus GetPhysicalDimension(TGPSizeF& size);
  TStatus GetBounds(TGPRectF& srcRect, GpUnit& srcUnit);
  UINT GetWidth();
  UINT GetHeight();
  Single GetHorizontalResolution();
  Single GetVerticalResolution();
  UINT GetFlags();
  TStatus GetRawFormat(GUID& format);
  PixelFormat GetPixelFormat();
  Integer GetPaletteSize();
  TStatus GetPalette(ColorPalette* palette, Integer size);
  TStatus SetPalette(const ColorPalette* palette);
  // A new image of the thumbnail with this image's kept status.
  std::unique_ptr<TGPImage> GetThumbnailImage(UINT thumbWidth, UINT thumbHeight,
                                              GetThumbnailImageAbort callback = nullptr, void* callbackData = nullptr);
  UINT GetFrameDimensionsCount();
  TStatus GetFrameDimensionsList(GUID* dimensionIDs, UINT count);
  UINT GetFrameCount(const GUID& dimensionID);
  TStatus SelectActiveFrame(const GUID& dimensionID, UINT frameIndex);
  TStatus RotateFlip(GpRotateFlipType rotateFlipType);
  UINT GetPropertyCount();
  TStatus GetPropertyIdList(UINT numOfProperty, PROPID* list);
  UINT GetPropertyItemSize(PROPID propId);
  TStatus GetPropertyItem(PROPID propId, UINT propSize, PropertyItem* buffer);
  // Both 0 when the call fails.
  TStatus GetPropertySize(UINT& totalBufferSize, UINT& numProperties);
  TStatus GetAllPropertyItems(UINT totalBufferSize, UINT numProperties, PropertyItem* allItems);
  TStatus RemovePropertyItem(PROPID propId);
  TStatus SetPropertyItem(const PropertyItem& item);
  UINT GetEncoderParameterListSize(const CLSID& clsidEncoder);
  TStatus GetEncoderParameterList(const CLSID& clsidEncoder, UINT size, EncoderParameters* buffer);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpImage* nativeImage = nullptr;
  TStatus lastResult = Ok;
  TStatus loadStatus = Ok;  // kept for the record layout; never read

 protected:
  TGPImage() = default;
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpImage* NativeOf(const TGPImage* i) { return i ? i->nativeImage : nullptr; }

class TGPBitmap : public TGPImage {
 public:
  explicit TGPBitmap(const String& filename, bool useEmbeddedColorManagement = false);
  explicit TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
  // Over the caller's rows of stride bytes (kept alive by the caller while
  // the bitmap lives); sizes 1..16384.
  TGPBitmap(Integer width, Integer height, Integer stride, PixelFormat format, Byte* scan0);
  // GDI+ owns zeroed pixels.
  TGPBitmap(Integer width, Integer height, PixelFormat format = PixelFormat32bppARGB);
  // target must not be nil.
  TGPBitmap(Integer width, Integer height, const TGPGraphics* target);
  TGPBitmap(const BITMAPINFO* gdiBitmapInfo, void* gdiBitmapData);
  TGPBitmap(HBITMAP hbm, void* hpal);
  // The integer only tells the icon form apart.
  TGPBitmap(HICON hicon, Integer dummy1);
  TGPBitmap(HINSTANCE hInstance, const String& bitmapName);
  // Adopts a native bitmap, status Ok.
  explicit TGPBitmap(GpBitmap* nativeBitmap);
  // Adopts a native bitmap with status.
  TGPBitmap(GpBitmap* nativeBitmap, TStatus status);

  static std::unique_ptr<TGPBitmap> FromFile(const String& filename, bool useEmbeddedColorManagement = false);
  static std::unique_ptr<TGPBitmap> FromStream(IStream* stream, bool useEmbeddedColorManagement = false);
  static std::unique_ptr<TGPBitmap> FromBITMAPINFO(const BITMAPINFO* gdiBitmapInfo, void* gdiBitmapData);
  static std::unique_ptr<TGPBitmap> FromHBITMAP(HBITMAP hbm, void* hpal);
  static std::unique_ptr<TGPBitmap> FromHICON(HICON hicon);
  static std::unique_ptr<TGPBitmap> FromResource(HINSTANCE hInstance, const String& bitmapName);

  // Integer area copies: the copy's status is stored here whatever it is;
  // nullptr when it fails.
  std::unique_ptr<TGPBitmap> Clone(const TGPRect& rect, PixelFormat format);
  std::unique_ptr<TGPBitmap> Clone(Integer x, Integer y, Integer width, Integer height, PixelFormat format);
  // Float area copies: nullptr when the kept status is not Ok afterwards
  // (an earlier unread failure too).
  std::unique_ptr<TGPBitmap> Clone(const TGPRectF& rect, PixelFormat format);
  std::unique_ptr<TGPBitmap> Clone(Single x, Single y, Single width, Single height, PixelFormat format);
  // rect must lie inside the bitmap; formats 32bppARGB/PARGB/RGB, 24bppRGB.
  TStatus LockBits(const TGPRect& rect, UINT flags, PixelFormat format, BitmapData& lockedBitmapData);
  TStatus UnlockBits(BitmapData& lockedBitmapData);
  // color is 0 when the call fails.
  TStatus GetPixel(Integer x, Integer y, ARGB& color);
  TStatus SetPixel(Integer x, Integer y, ARGB color);
  TStatus SetResolution(Single xdpi, Single ydpi);
  // GDI objects the caller owns.
  TStatus GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn);
  TStatus GetHICON(HICON& hicon);
};

}  // namespace gdiplus_runtime
