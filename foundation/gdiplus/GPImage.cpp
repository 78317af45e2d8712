#include "foundation/gdiplus/GPImage.h"

namespace gdiplus {

TGPImage::TGPImage(const String& filename, bool icm) {
  lastResult = icm ? GdipLoadImageFromFileICM(filename.c_str(), &nativeImage) : GdipLoadImageFromFile(filename.c_str(), &nativeImage);
}
TGPImage::TGPImage(IStream* stream, bool icm) {
  lastResult = icm ? GdipLoadImageFromStreamICM(stream, &nativeImage) : GdipLoadImageFromStream(stream, &nativeImage);
}
TGPImage::TGPImage(GpImage* native, TStatus status) : nativeImage(native) { lastResult = status; }
TGPImage::~TGPImage() { GdipDisposeImage(nativeImage); }
Cardinal TGPImage::GetWidth() {
  UINT w = 0;
  return SetStatus(GdipGetImageWidth(nativeImage, &w)) == Ok ? w : 0;
}
Cardinal TGPImage::GetHeight() {
  UINT h = 0;
  return SetStatus(GdipGetImageHeight(nativeImage, &h)) == Ok ? h : 0;
}
PixelFormat TGPImage::GetPixelFormat() {
  PixelFormat f = 0;
  SetStatus(GdipGetImagePixelFormat(nativeImage, &f));
  return f;
}
TGPImageFormat TGPImage::GetFormat() {
  GUID g;
  if (GdipGetImageRawFormat(nativeImage, &g) != Ok) return ifUndefined;
  const std::pair<GUID, TGPImageFormat> map[] = {
      {ImageFormatMemoryBMP, ifMemoryBMP}, {ImageFormatBMP, ifBMP}, {ImageFormatEMF, ifEMF}, {ImageFormatWMF, ifWMF},
      {ImageFormatJPEG, ifJPEG}, {ImageFormatPNG, ifPNG}, {ImageFormatGIF, ifGIF}, {ImageFormatTIFF, ifTIFF},
      {ImageFormatEXIF, ifEXIF}, {ImageFormatIcon, ifIcon}};
  for (const auto& [guid, f] : map)
    if (guid == g) return f;
  return ifUndefined;
}
TGPImage* TGPImage::GetThumbnailImage(Cardinal w, Cardinal h, GetThumbnailImageAbort cb, void* data) {
  GpImage* t = nullptr;
  TStatus s = SetStatus(GdipGetImageThumbnail(nativeImage, w, h, &t, cb, data));
  return new TGPImage(t, s);
}
TStatus TGPImage::Save(const String& filename, const GUID& clsid, const EncoderParameters* params) {
  return SetStatus(GdipSaveImageToFile(nativeImage, filename.c_str(), &clsid, params));
}
TStatus TGPImage::Save(IStream* stream, const GUID& clsid, const EncoderParameters* params) {
  return SetStatus(GdipSaveImageToStream(nativeImage, stream, &clsid, params));
}
TStatus TGPImage::SaveAdd(TGPImage* newImage, const EncoderParameters* params) {
  if (!newImage) return SetStatus(InvalidParameter);
  return SetStatus(GdipSaveAddImage(nativeImage, newImage->nativeImage, params));
}
TStatus TGPImage::RotateFlip(GpRotateFlipType t) { return SetStatus(GdipImageRotateFlip(nativeImage, t)); }

TGPBitmap::TGPBitmap(IStream* stream, bool icm) {
  lastResult = icm ? GdipCreateBitmapFromStreamICM(stream, &nativeImage) : GdipCreateBitmapFromStream(stream, &nativeImage);
}
TGPBitmap::TGPBitmap(Integer width, Integer height, PixelFormat format) {
  lastResult = GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &nativeImage);
}
TGPBitmap::TGPBitmap(GpBitmap* native) { nativeImage = native; }
TGPBitmap* TGPBitmap::FromStream(IStream* stream, bool icm) { return new TGPBitmap(stream, icm); }
TStatus TGPBitmap::GetPixel(Integer x, Integer y, ARGB& color) { return SetStatus(GdipBitmapGetPixel(nativeImage, x, y, &color)); }
TStatus TGPBitmap::SetPixel(Integer x, Integer y, ARGB color) { return SetStatus(GdipBitmapSetPixel(nativeImage, x, y, color)); }
TStatus TGPBitmap::GetHBITMAP(ARGB bg, HBITMAP& hbm) { return SetStatus(GdipCreateHBITMAPFromBitmap(nativeImage, &hbm, bg)); }

}  // namespace gdiplus
