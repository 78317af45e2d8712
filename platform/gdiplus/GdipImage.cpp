// Images and bitmaps (decoding, pixels, locking, saving), image attributes
// and cached bitmaps.
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <cmath>
#include <cstring>
#include <fstream>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/PictureLimits.h"
#include "platform/gdiplus/GdiPlusInternal.h"
#include "platform/win/Resources.h"

using namespace gdiplus_internal;

namespace {

constexpr qint64 kMaxEncoded = qint64(1) << 30;  // a larger picture file is refused

GpImage* I(const GpImage* i) { return Get(i, TKind::Image); }

GUID SniffFormat(const QByteArray& b) {
  auto starts = [&](const char* m, int n) { return b.size() >= n && std::memcmp(b.constData(), m, std::size_t(n)) == 0; };
  if (starts("\x89PNG", 4)) return ImageFormatPNG;
  if (starts("\xFF\xD8", 2)) return ImageFormatJPEG;
  if (starts("BM", 2)) return ImageFormatBMP;
  if (starts("GIF8", 4)) return ImageFormatGIF;
  if (starts("\0\0\1\0", 4)) return ImageFormatIcon;
  if (starts("II*\0", 4) || starts("MM\0*", 4)) return ImageFormatTIFF;
  return ImageFormatUndefined;
}

PixelFormat FormatOf(const QImage& img, const GUID& raw) {
  switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return PixelFormat1bppIndexed;
    case QImage::Format_Indexed8: return img.colorCount() <= 16 && raw == ImageFormatBMP ? PixelFormat4bppIndexed : PixelFormat8bppIndexed;
    case QImage::Format_Grayscale8: return PixelFormat8bppIndexed;
    case QImage::Format_RGB16: return PixelFormat16bppRGB565;
    case QImage::Format_RGB555: return PixelFormat16bppRGB555;
    case QImage::Format_ARGB32_Premultiplied: return PixelFormat32bppPARGB;
    case QImage::Format_RGB32: return raw == ImageFormatBMP ? PixelFormat32bppRGB : PixelFormat24bppRGB;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888: return PixelFormat24bppRGB;
    default: return img.hasAlphaChannel() ? PixelFormat32bppARGB : PixelFormat24bppRGB;
  }
}

// Internal storage: ARGB32 with alpha, RGB32 without.
QImage Storage(const QImage& img) {
  if (img.format() == QImage::Format_ARGB32 || img.format() == QImage::Format_RGB32 ||
      img.format() == QImage::Format_ARGB32_Premultiplied)
    return img;
  return img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

GpStatus Decode(const QByteArray& bytes, GpImage** out) {
  if (!out) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  if (!picture_limits::DeclaredSizesFit(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())))
    return OutOfMemory;
  picture_limits::LimitDecoders();
  QBuffer buf;
  buf.setData(bytes);
  buf.open(QIODevice::ReadOnly);
  QImageReader reader(&buf);
  auto img = std::make_unique<GpImage>();
  img->RawFormat = SniffFormat(bytes);
  // Every frame of an animation is kept at full size: they share the budget.
  Int64 pixels = 0;
  while (reader.canRead() && img->Frames.size() < 4096) {
    QImage frame = reader.read();
    if (frame.isNull()) break;
    pixels += Int64(frame.width()) * frame.height();
    if (!picture_limits::PixelsFit(frame.width(), frame.height()) || pixels > picture_limits::kMaxPixels) return OutOfMemory;
    if (img->Frames.empty()) {
      img->Format = FormatOf(frame, img->RawFormat);
      if (frame.dotsPerMeterX() > 0) img->DpiX = REAL(frame.dotsPerMeterX() * 0.0254);
      if (frame.dotsPerMeterY() > 0) img->DpiY = REAL(frame.dotsPerMeterY() * 0.0254);
      img->DpiX = std::round(img->DpiX);
      img->DpiY = std::round(img->DpiY);
      if (img->DpiX <= 0) img->DpiX = 96;
      if (img->DpiY <= 0) img->DpiY = 96;
    }
    img->Frames.push_back(Storage(frame));
    if (img->RawFormat != ImageFormatGIF) break;
  }
  if (img->Frames.empty()) return OutOfMemory;  // GDI+'s answer for data it cannot decode
  img->Image = img->Frames[0];
  if (img->Frames.size() == 1) img->Frames.clear();
  return Hand(std::move(img), out);
}

GpStatus ReadFile(const WCHAR* filename, QByteArray& bytes) {
  if (!filename) return InvalidParameter;
  std::string path = StringToUtf8(String(filename));
  std::ifstream in(path, std::ios::binary);
  if (!in) return OutOfMemory;  // GDI+ answers a missing file so
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxEncoded) return OutOfMemory;
  in.seekg(0);
  bytes.resize(qsizetype(size));
  in.read(bytes.data(), size);
  return in ? Ok : OutOfMemory;
}

GpStatus ReadStream(IStream* stream, QByteArray& bytes) {
  if (!stream) return InvalidParameter;
  char chunk[65536];
  for (;;) {
    ULONG got = 0;
    HRESULT hr = stream->Read(chunk, sizeof chunk, &got);
    if (hr < 0) return OutOfMemory;
    bytes.append(chunk, qsizetype(got));
    if (bytes.size() > kMaxEncoded) return OutOfMemory;
    if (got < sizeof chunk) break;
  }
  return Ok;
}

QImage::Format QtFormat(PixelFormat f) {
  switch (f) {
    case PixelFormat32bppARGB: return QImage::Format_ARGB32;
    case PixelFormat32bppPARGB: return QImage::Format_ARGB32_Premultiplied;
    case PixelFormat32bppRGB: return QImage::Format_RGB32;
    case PixelFormat24bppRGB: return QImage::Format_BGR888;
    case PixelFormat16bppRGB565: return QImage::Format_RGB16;
    case PixelFormat16bppRGB555: return QImage::Format_RGB555;
    default: return QImage::Format_Invalid;
  }
}

bool KnownFormat(PixelFormat f) {
  static constexpr PixelFormat kAll[] = {
      PixelFormat1bppIndexed, PixelFormat4bppIndexed, PixelFormat8bppIndexed, PixelFormat16bppGrayScale,
      PixelFormat16bppRGB555, PixelFormat16bppRGB565, PixelFormat16bppARGB1555, PixelFormat24bppRGB,
      PixelFormat32bppRGB, PixelFormat32bppARGB, PixelFormat32bppPARGB, PixelFormat48bppRGB,
      PixelFormat64bppARGB, PixelFormat64bppPARGB};
  for (PixelFormat k : kAll)
    if (k == f) return true;
  return false;
}

GpStatus NewBitmap(QImage image, PixelFormat format, GpImage** out) {
  if (!out) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto b = std::make_unique<GpImage>();
  b->Image = std::move(image);
  b->Format = format;
  b->RawFormat = ImageFormatMemoryBMP;
  return Hand(std::move(b), out);
}

ARGB PixelOf(const QImage& img, int x, int y) {
  QRgb c = img.pixel(x, y);
  if (img.format() == QImage::Format_ARGB32_Premultiplied) c = qUnpremultiply(c);
  if (!img.hasAlphaChannel()) c |= 0xff000000u;
  return ARGB(c);
}

GpStatus Encode(GpImage* img, const CLSID* clsid, const EncoderParameters* params, QByteArray& out) {
  const char* fmt = nullptr;
  if (*clsid == EncoderClsidPNG) fmt = "png";
  else if (*clsid == EncoderClsidJPEG) fmt = "jpeg";
  else if (*clsid == EncoderClsidBMP) fmt = "bmp";
  else return FileNotFound;  // GDI+'s answer for an unknown encoder
  QBuffer buf(&out);
  buf.open(QIODevice::WriteOnly);
  QImageWriter w(&buf, fmt);
  if (params && fmt == std::string_view("jpeg"))
    for (UINT i = 0; i < params->Count && i < 16; ++i)
      if (params->Parameter[i].Guid == EncoderQuality && params->Parameter[i].NumberOfValues >= 1 && params->Parameter[i].Value)
        w.setQuality(int(std::clamp<ULONG>(*static_cast<const ULONG*>(params->Parameter[i].Value), 0, 100)));
  QImage src = img->Image;
  if (fmt != std::string_view("png")) src = src.convertToFormat(QImage::Format_RGB32);
  return w.write(src) ? Ok : Win32Error;
}

}  // namespace

void GpImage::SyncToUser() {}

// ---- Loading and creation -------------------------------------------------

GpStatus GdipLoadImageFromFile(const WCHAR* filename, GpImage** image) {
  if (!image) return InvalidParameter;
  QByteArray bytes;
  if (GpStatus s = ReadFile(filename, bytes); s != Ok) return s;
  return Decode(bytes, image);
}
GpStatus GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image) { return GdipLoadImageFromFile(filename, image); }
GpStatus GdipLoadImageFromStream(IStream* stream, GpImage** image) {
  if (!image) return InvalidParameter;
  QByteArray bytes;
  if (GpStatus s = ReadStream(stream, bytes); s != Ok) return s;
  return Decode(bytes, image);
}
GpStatus GdipLoadImageFromStreamICM(IStream* stream, GpImage** image) { return GdipLoadImageFromStream(stream, image); }
GpStatus GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap) { return GdipLoadImageFromFile(filename, bitmap); }
GpStatus GdipCreateBitmapFromFileICM(const WCHAR* filename, GpBitmap** bitmap) { return GdipLoadImageFromFile(filename, bitmap); }
GpStatus GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap) { return GdipLoadImageFromStream(stream, bitmap); }
GpStatus GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap) { return GdipLoadImageFromStream(stream, bitmap); }

GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, Byte* scan0, GpBitmap** bitmap) {
  if (!bitmap || width <= 0 || height <= 0 || !gdi_internal::SizeAllowed(width, height) || !KnownFormat(format))
    return InvalidParameter;
  QImage::Format qf = QtFormat(format);
  if (scan0) {
    if (qf == QImage::Format_Invalid) return NotImplemented;  // caller rows are shared only in the direct formats
    INT minStride = INT(GetPixelFormatSize(format)) * width / 8;
    if (stride < minStride || stride % 4) return InvalidParameter;
    return NewBitmap(QImage(scan0, width, height, stride, qf), format, bitmap);
  }
  if (stride != 0 && stride < INT(GetPixelFormatSize(format)) * width / 8) return InvalidParameter;
  QImage img(width, height, qf == QImage::Format_Invalid ? QImage::Format_ARGB32 : qf);
  if (img.isNull()) return OutOfMemory;
  img.fill(0);
  return NewBitmap(std::move(img), format, bitmap);
}

GpStatus GdipCreateBitmapFromGraphics(INT width, INT height, GpGraphics* target, GpBitmap** bitmap) {
  GpGraphics* g = Get(target, TKind::Graphics);
  if (!g) return InvalidParameter;
  GpStatus s = GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, bitmap);
  if (s == Ok && g->Image) (*bitmap)->DpiX = g->Image->DpiX, (*bitmap)->DpiY = g->Image->DpiY;
  return s;
}

GpStatus GdipCreateBitmapFromHBITMAP(HBITMAP hbm, void*, GpBitmap** bitmap) {
  QImage* src = gdi_internal::BitmapImage(hbm);
  if (!src || !bitmap) return InvalidParameter;
  return NewBitmap(src->convertToFormat(QImage::Format_RGB32), PixelFormat32bppRGB, bitmap);
}

GpStatus GdipCreateBitmapFromHICON(HICON hicon, GpBitmap** bitmap) {
  const QImage* src = gdi_internal::IconImage(hicon);
  if (!src || !bitmap) return InvalidParameter;
  return NewBitmap(src->convertToFormat(QImage::Format_ARGB32), PixelFormat32bppARGB, bitmap);
}

GpStatus GdipCreateBitmapFromGdiDib(const BITMAPINFO* info, void* bits, GpBitmap** bitmap) {
  if (!info || !bits || !bitmap) return InvalidParameter;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int w = h.biWidth, hh = std::abs(h.biHeight);
  if (w <= 0 || hh <= 0 || !gdi_internal::SizeAllowed(w, hh) || (h.biBitCount != 24 && h.biBitCount != 32) ||
      h.biCompression != BI_RGB)
    return InvalidParameter;
  int stride = ((w * h.biBitCount + 31) / 32) * 4;
  QImage img(w, hh, QImage::Format_RGB32);
  const Byte* base = static_cast<const Byte*>(bits);
  for (int y = 0; y < hh; ++y) {
    const Byte* row = base + std::size_t(h.biHeight > 0 ? hh - 1 - y : y) * std::size_t(stride);
    for (int x = 0; x < w; ++x) {
      const Byte* px = row + x * (h.biBitCount / 8);
      img.setPixel(x, y, qRgb(px[2], px[1], px[0]));
    }
  }
  return NewBitmap(std::move(img), h.biBitCount == 24 ? PixelFormat24bppRGB : PixelFormat32bppRGB, bitmap);
}

GpStatus GdipCreateBitmapFromResource(HINSTANCE hInstance, const WCHAR* lpBitmapName, GpBitmap** bitmap) {
  if (!lpBitmapName || !bitmap) return InvalidParameter;
  HRSRC res = FindResource(hInstance, String(lpBitmapName), RT_RCDATA);
  if (!res) return InvalidParameter;
  const void* data = LockResource(LoadResource(hInstance, res));
  DWORD size = SizeofResource(hInstance, res);
  if (!data || !size) return InvalidParameter;
  return Decode(QByteArray(static_cast<const char*>(data), qsizetype(size)), bitmap);
}

GpStatus GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background) {
  GpImage* b = I(bitmap);
  if (!b || !hbmReturn) return InvalidParameter;
  QImage out(b->Image.size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(ToQColor(background));
  QPainter p(&out);
  p.drawImage(0, 0, b->Image);
  p.end();
  auto bmp = gdi_internal::NewBitmap(std::move(out), 32, true);
  *hbmReturn = bmp.get();
  return Ok;
}

GpStatus GdipCreateHICONFromBitmap(GpBitmap* bitmap, HICON* hbmReturn) {
  GpImage* b = I(bitmap);
  if (!b || !hbmReturn) return InvalidParameter;
  *hbmReturn = gdi_internal::NewIcon(b->Image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  return *hbmReturn ? Ok : OutOfMemory;
}

GpStatus GdipCloneImage(GpImage* image, GpImage** cloneImage) {
  GpImage* i = I(image);
  if (!i || !cloneImage) return InvalidParameter;
  auto c = std::make_unique<GpImage>();
  c->Image = i->Image.copy();
  c->Format = i->Format;
  c->RawFormat = i->RawFormat;
  c->DpiX = i->DpiX;
  c->DpiY = i->DpiY;
  c->Frames = i->Frames;
  c->ActiveFrame = i->ActiveFrame;
  c->Properties = i->Properties;
  c->PropertyValues = i->PropertyValues;
  for (std::size_t k = 0; k < c->Properties.size(); ++k) c->Properties[k].value = c->PropertyValues[k].data();
  return Hand(std::move(c), cloneImage);
}

GpStatus GdipCloneBitmapArea(REAL x, REAL y, REAL width, REAL height, PixelFormat format, GpBitmap* srcBitmap,
                             GpBitmap** dstBitmap) {
  GpImage* s = I(srcBitmap);
  if (!s || !dstBitmap || !KnownFormat(format)) return InvalidParameter;
  QRect r = QRectF(x, y, width, height).toRect();
  if (r.width() <= 0 || r.height() <= 0 || !s->Image.rect().contains(r)) return InvalidParameter;
  QImage part = s->Image.copy(r);
  QImage::Format qf = QtFormat(format);
  if (qf != QImage::Format_Invalid) part = part.convertToFormat(qf);
  GpStatus st = NewBitmap(std::move(part), format, dstBitmap);
  if (st == Ok) (*dstBitmap)->DpiX = s->DpiX, (*dstBitmap)->DpiY = s->DpiY;
  return st;
}

GpStatus GdipCloneBitmapAreaI(INT x, INT y, INT width, INT height, PixelFormat format, GpBitmap* srcBitmap,
                              GpBitmap** dstBitmap) {
  return GdipCloneBitmapArea(REAL(x), REAL(y), REAL(width), REAL(height), format, srcBitmap, dstBitmap);
}

GpStatus GdipDisposeImage(GpImage* image) {
  GpImage* i = I(image);
  if (!i) return InvalidParameter;
  if (!i->Users.empty() || i->Locked) return ObjectBusy;
  return Delete(image, TKind::Image);
}

// ---- Saving ---------------------------------------------------------------

GpStatus GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                             const EncoderParameters* encoderParams) {
  GpImage* i = I(image);
  if (!i || !filename || !clsidEncoder) return InvalidParameter;
  QuiesceImage(i);
  QByteArray bytes;
  if (GpStatus s = Encode(i, clsidEncoder, encoderParams, bytes); s != Ok) return s;
  std::ofstream out(StringToUtf8(String(filename)), std::ios::binary | std::ios::trunc);
  if (!out) return Win32Error;
  out.write(bytes.constData(), bytes.size());
  return out ? Ok : Win32Error;
}

GpStatus GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* clsidEncoder,
                               const EncoderParameters* encoderParams) {
  GpImage* i = I(image);
  if (!i || !stream || !clsidEncoder) return InvalidParameter;
  QuiesceImage(i);
  QByteArray bytes;
  if (GpStatus s = Encode(i, clsidEncoder, encoderParams, bytes); s != Ok) return s;
  ULONG written = 0;
  if (stream->Write(bytes.constData(), ULONG(bytes.size()), &written) < 0 || written != ULONG(bytes.size())) return Win32Error;
  return Ok;
}

GpStatus GdipSaveAdd(GpImage* image, const EncoderParameters*) { return I(image) ? NotImplemented : InvalidParameter; }
GpStatus GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters*) {
  return I(image) && I(newImage) ? NotImplemented : InvalidParameter;
}

GpStatus GdipGetEncoderParameterListSize(GpImage* image, const CLSID* clsidEncoder, UINT* size) {
  if (!I(image) || !clsidEncoder || !size) return InvalidParameter;
  if (*clsidEncoder == EncoderClsidJPEG) *size = UINT(sizeof(EncoderParameters) + 2 * sizeof(ULONG));
  else if (*clsidEncoder == EncoderClsidPNG || *clsidEncoder == EncoderClsidBMP) return NotImplemented;
  else return FileNotFound;
  return Ok;
}

GpStatus GdipGetEncoderParameterList(GpImage* image, const CLSID* clsidEncoder, UINT size, EncoderParameters* buffer) {
  UINT need = 0;
  if (GpStatus s = GdipGetEncoderParameterListSize(image, clsidEncoder, &need); s != Ok) return s;
  if (!buffer) return InvalidParameter;
  if (size < need) return InsufficientBuffer;
  auto* range = reinterpret_cast<ULONG*>(reinterpret_cast<Byte*>(buffer) + sizeof(EncoderParameters));
  range[0] = 0;
  range[1] = 100;
  buffer->Count = 1;
  buffer->Parameter[0].Guid = EncoderQuality;
  buffer->Parameter[0].NumberOfValues = 1;
  buffer->Parameter[0].Type = 6;  // a range of longs
  buffer->Parameter[0].Value = range;
  return Ok;
}

// ---- Queries --------------------------------------------------------------

GpStatus GdipGetImageBounds(GpImage* image, GpRectF* srcRect, GpUnit* srcUnit) {
  GpImage* i = I(image);
  if (!i || !srcRect || !srcUnit) return InvalidParameter;
  *srcRect = {0, 0, REAL(i->Image.width()), REAL(i->Image.height())};
  *srcUnit = UnitPixel;
  return Ok;
}
GpStatus GdipGetImageDimension(GpImage* image, REAL* width, REAL* height) {
  GpImage* i = I(image);
  if (!i || !width || !height) return InvalidParameter;
  *width = REAL(i->Image.width());
  *height = REAL(i->Image.height());
  return Ok;
}
GpStatus GdipGetImageType(GpImage* image, GpImageType* type) {
  if (!I(image) || !type) return InvalidParameter;
  *type = ImageTypeBitmap;
  return Ok;
}
GpStatus GdipGetImageWidth(GpImage* image, UINT* width) {
  GpImage* i = I(image);
  if (!i || !width) return InvalidParameter;
  *width = UINT(i->Image.width());
  return Ok;
}
GpStatus GdipGetImageHeight(GpImage* image, UINT* height) {
  GpImage* i = I(image);
  if (!i || !height) return InvalidParameter;
  *height = UINT(i->Image.height());
  return Ok;
}
GpStatus GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution) {
  GpImage* i = I(image);
  if (!i || !resolution) return InvalidParameter;
  *resolution = i->DpiX;
  return Ok;
}
GpStatus GdipGetImageVerticalResolution(GpImage* image, REAL* resolution) {
  GpImage* i = I(image);
  if (!i || !resolution) return InvalidParameter;
  *resolution = i->DpiY;
  return Ok;
}
GpStatus GdipGetImageFlags(GpImage* image, UINT* flags) {
  GpImage* i = I(image);
  if (!i || !flags) return InvalidParameter;
  UINT f = ImageFlagsColorSpaceRGB | ImageFlagsHasRealPixelSize;
  if (i->Format & PixelFormatAlpha) f |= ImageFlagsHasAlpha;
  if (i->RawFormat != ImageFormatMemoryBMP) f |= ImageFlagsHasRealDPI | ImageFlagsReadOnly;
  *flags = f;
  return Ok;
}
GpStatus GdipGetImageRawFormat(GpImage* image, GUID* format) {
  GpImage* i = I(image);
  if (!i || !format) return InvalidParameter;
  *format = i->RawFormat;
  return Ok;
}
GpStatus GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
  GpImage* i = I(image);
  if (!i || !format) return InvalidParameter;
  *format = i->Format;
  return Ok;
}
GpStatus GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight, GpImage** thumbImage,
                               GetThumbnailImageAbort callback, void* callbackData) {
  GpImage* i = I(image);
  if (!i || !thumbImage) return InvalidParameter;
  if (callback && callback(callbackData)) return Aborted;
  if (thumbWidth == 0 && thumbHeight == 0) thumbWidth = thumbHeight = 120;
  if (thumbWidth == 0 || thumbHeight == 0 || thumbWidth > 16384 || thumbHeight > 16384) return InvalidParameter;
  QImage t = i->Image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                 .scaled(int(thumbWidth), int(thumbHeight), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_ARGB32);
  return NewBitmap(std::move(t), PixelFormat32bppARGB, thumbImage);
}

GpStatus GdipImageGetFrameDimensionsCount(GpImage* image, UINT* count) {
  if (!I(image) || !count) return InvalidParameter;
  *count = 1;
  return Ok;
}
GpStatus GdipImageGetFrameDimensionsList(GpImage* image, GUID* dimensionIDs, UINT count) {
  GpImage* i = I(image);
  if (!i || !dimensionIDs || count < 1) return InvalidParameter;
  dimensionIDs[0] = i->RawFormat == ImageFormatGIF ? FrameDimensionTime : FrameDimensionPage;
  return Ok;
}
GpStatus GdipImageGetFrameCount(GpImage* image, const GUID* dimensionID, UINT* count) {
  GpImage* i = I(image);
  if (!i || !dimensionID || !count) return InvalidParameter;
  GUID own = i->RawFormat == ImageFormatGIF ? FrameDimensionTime : FrameDimensionPage;
  if (!(*dimensionID == own)) return InvalidParameter;
  *count = UINT(std::max<std::size_t>(1, i->Frames.size()));
  return Ok;
}
GpStatus GdipImageSelectActiveFrame(GpImage* image, const GUID* dimensionID, UINT frameIndex) {
  GpImage* i = I(image);
  UINT n = 0;
  if (GpStatus s = GdipImageGetFrameCount(image, dimensionID, &n); s != Ok) return s;
  if (frameIndex >= n) return InvalidParameter;
  if (!i->Frames.empty()) {
    QuiesceImage(i);
    i->Image = i->Frames[frameIndex];
  }
  i->ActiveFrame = frameIndex;
  return Ok;
}
GpStatus GdipImageRotateFlip(GpImage* image, GpRotateFlipType rfType) {
  GpImage* i = I(image);
  if (!i || rfType < RotateNoneFlipNone || rfType > Rotate270FlipX) return InvalidParameter;
  if (i->Locked) return WrongState;
  QuiesceImage(i);
  int quarter = rfType & 3;
  QImage img = i->Image;
  if (quarter) img = img.transformed(QTransform().rotate(90.0 * quarter));
  if (rfType & 4) img = img.mirrored(true, false);
  i->Image = Storage(img.format() == i->Image.format() ? img : img);
  i->UserScan0 = nullptr;
  return Ok;
}

// Palettes: indexed images keep their source colours; others have none.
GpStatus GdipGetImagePaletteSize(GpImage* image, INT* size) {
  GpImage* i = I(image);
  if (!i || !size) return InvalidParameter;
  std::size_t n = i->Format & PixelFormatIndexed ? std::size_t(1) << GetPixelFormatSize(i->Format) : 0;
  *size = INT(sizeof(ColorPalette) - sizeof(ARGB) + n * sizeof(ARGB));
  if (n == 0) *size = INT(sizeof(ColorPalette));
  return Ok;
}
GpStatus GdipGetImagePalette(GpImage* image, ColorPalette* palette, INT size) {
  GpImage* i = I(image);
  INT need = 0;
  if (!i || !palette || GdipGetImagePaletteSize(image, &need) != Ok) return InvalidParameter;
  if (size < need) return InvalidParameter;
  palette->Flags = 0;
  palette->Count = 0;
  if (i->Format & PixelFormatIndexed) {
    UINT n = 1u << GetPixelFormatSize(i->Format);
    palette->Count = n;
    for (UINT k = 0; k < n; ++k) palette->Entries[k] = n == 2 ? (k ? 0xffffffff : 0xff000000) : 0xff000000 | (k * 0x010101u);
  }
  return Ok;
}
GpStatus GdipSetImagePalette(GpImage* image, const ColorPalette* palette) {
  GpImage* i = I(image);
  if (!i || !palette || palette->Count > 256) return InvalidParameter;
  return Ok;
}

// ---- Properties -----------------------------------------------------------

GpStatus GdipGetPropertyCount(GpImage* image, UINT* numOfProperty) {
  GpImage* i = I(image);
  if (!i || !numOfProperty) return InvalidParameter;
  *numOfProperty = UINT(i->Properties.size());
  return Ok;
}
GpStatus GdipGetPropertyIdList(GpImage* image, UINT numOfProperty, PROPID* list) {
  GpImage* i = I(image);
  if (!i || !list || numOfProperty != i->Properties.size()) return InvalidParameter;
  for (std::size_t k = 0; k < i->Properties.size(); ++k) list[k] = i->Properties[k].id;
  return Ok;
}
GpStatus GdipGetPropertyItemSize(GpImage* image, PROPID propId, UINT* size) {
  GpImage* i = I(image);
  if (!i || !size) return InvalidParameter;
  for (const PropertyItem& p : i->Properties)
    if (p.id == propId) {
      *size = UINT(sizeof(PropertyItem) + p.length);
      return Ok;
    }
  return PropertyNotFound;
}
GpStatus GdipGetPropertyItem(GpImage* image, PROPID propId, UINT propSize, PropertyItem* buffer) {
  GpImage* i = I(image);
  if (!i || !buffer) return InvalidParameter;
  for (const PropertyItem& p : i->Properties)
    if (p.id == propId) {
      if (propSize != sizeof(PropertyItem) + p.length) return InvalidParameter;
      *buffer = p;
      buffer->value = reinterpret_cast<Byte*>(buffer) + sizeof(PropertyItem);
      if (p.length) std::memcpy(buffer->value, p.value, p.length);
      return Ok;
    }
  return PropertyNotFound;
}
GpStatus GdipGetPropertySize(GpImage* image, UINT* totalBufferSize, UINT* numProperties) {
  GpImage* i = I(image);
  if (!i || !totalBufferSize || !numProperties) return InvalidParameter;
  UINT total = 0;
  for (const PropertyItem& p : i->Properties) total += UINT(sizeof(PropertyItem) + p.length);
  *totalBufferSize = total;
  *numProperties = UINT(i->Properties.size());
  return Ok;
}
GpStatus GdipGetAllPropertyItems(GpImage* image, UINT totalBufferSize, UINT numProperties, PropertyItem* allItems) {
  GpImage* i = I(image);
  UINT total = 0, n = 0;
  if (!i || !allItems || GdipGetPropertySize(image, &total, &n) != Ok) return InvalidParameter;
  if (totalBufferSize != total || numProperties != n) return InvalidParameter;
  Byte* data = reinterpret_cast<Byte*>(allItems + n);
  for (UINT k = 0; k < n; ++k) {
    allItems[k] = i->Properties[k];
    allItems[k].value = data;
    if (i->Properties[k].length) std::memcpy(data, i->Properties[k].value, i->Properties[k].length);
    data += i->Properties[k].length;
  }
  return Ok;
}
GpStatus GdipRemovePropertyItem(GpImage* image, PROPID propId) {
  GpImage* i = I(image);
  if (!i) return InvalidParameter;
  for (std::size_t k = 0; k < i->Properties.size(); ++k)
    if (i->Properties[k].id == propId) {
      i->Properties.erase(i->Properties.begin() + std::ptrdiff_t(k));
      i->PropertyValues.erase(i->PropertyValues.begin() + std::ptrdiff_t(k));
      return Ok;
    }
  return PropertyNotFound;
}
GpStatus GdipSetPropertyItem(GpImage* image, const PropertyItem* item) {
  GpImage* i = I(image);
  if (!i || !item || (item->length && !item->value) || item->length > (1u << 24)) return InvalidParameter;
  GdipRemovePropertyItem(image, item->id);
  const Byte* v = static_cast<const Byte*>(item->value);
  i->PropertyValues.emplace_back(v, v + item->length);
  PropertyItem p = *item;
  i->Properties.push_back(p);
  for (std::size_t k = 0; k < i->Properties.size(); ++k) i->Properties[k].value = i->PropertyValues[k].data();
  return Ok;
}

// ---- Pixels and locking ---------------------------------------------------

GpStatus GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color) {
  GpImage* b = I(bitmap);
  if (!b || !color) return InvalidParameter;
  if (x < 0 || y < 0 || x >= b->Image.width() || y >= b->Image.height()) return InvalidParameter;
  if (b->Locked) return WrongState;
  *color = PixelOf(b->Image, x, y);
  return Ok;
}

GpStatus GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color) {
  GpImage* b = I(bitmap);
  if (!b || x < 0 || y < 0 || x >= b->Image.width() || y >= b->Image.height()) return InvalidParameter;
  if (b->Format & PixelFormatIndexed) return InvalidParameter;
  if (b->Locked) return WrongState;
  QRgb c = QRgb(color);
  if (b->Image.format() == QImage::Format_ARGB32_Premultiplied) c = qPremultiply(c);
  b->Image.setPixel(x, y, c);
  return Ok;
}

GpStatus GdipBitmapSetResolution(GpBitmap* bitmap, REAL xdpi, REAL ydpi) {
  GpImage* b = I(bitmap);
  if (!b || !(xdpi > 0) || !(ydpi > 0) || xdpi > 1e6f || ydpi > 1e6f) return InvalidParameter;
  b->DpiX = xdpi;
  b->DpiY = ydpi;
  return Ok;
}

GpStatus GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags, PixelFormat format, BitmapData* data) {
  GpImage* b = I(bitmap);
  if (!b || !data || !(flags & (ImageLockModeRead | ImageLockModeWrite))) return InvalidParameter;
  if (b->Locked) return WrongState;
  QRect r = rect ? QRect(rect->X, rect->Y, rect->Width, rect->Height) : b->Image.rect();
  if (r.width() <= 0 || r.height() <= 0 || !b->Image.rect().contains(r)) return InvalidParameter;
  QImage::Format qf = QtFormat(format);
  if (qf == QImage::Format_Invalid || GetPixelFormatSize(format) < 24) return NotImplemented;
  QuiesceImage(b);
  INT stride = INT(((r.width() * INT(GetPixelFormatSize(format)) + 31) / 32) * 4);
  Byte* target;
  if (flags & ImageLockModeUserInputBuf) {
    if (!data->Scan0 || data->Stride < stride) return InvalidParameter;
    target = static_cast<Byte*>(data->Scan0);
    stride = data->Stride;
  } else {
    b->LockBuffer.assign(std::size_t(stride) * std::size_t(r.height()), 0);
    target = b->LockBuffer.data();
  }
  if (flags & ImageLockModeRead) {
    QImage part = b->Image.copy(r).convertToFormat(qf);
    for (int y = 0; y < r.height(); ++y)
      std::memcpy(target + std::size_t(y) * std::size_t(stride), part.constScanLine(y), std::size_t(part.bytesPerLine()));
  }
  b->Locked = true;
  b->LockRect = r;
  b->LockFlags = flags;
  b->LockFormat = format;
  data->Width = UINT(r.width());
  data->Height = UINT(r.height());
  data->Stride = stride;
  data->PixelFormat_ = format;
  data->Scan0 = target;
  return Ok;
}

GpStatus GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* data) {
  GpImage* b = I(bitmap);
  if (!b || !data) return InvalidParameter;
  if (!b->Locked) return WrongState;
  if (b->LockFlags & ImageLockModeWrite) {
    QImage part(static_cast<const uchar*>(data->Scan0), b->LockRect.width(), b->LockRect.height(), data->Stride,
                QtFormat(b->LockFormat));
    QImage conv = part.convertToFormat(b->Image.format());
    for (int y = 0; y < conv.height(); ++y)
      std::memcpy(b->Image.scanLine(b->LockRect.y() + y) + std::size_t(b->LockRect.x()) * std::size_t(b->Image.depth() / 8),
                  conv.constScanLine(y), std::size_t(conv.width()) * std::size_t(conv.depth() / 8));
  }
  b->Locked = false;
  b->LockBuffer.clear();
  b->LockBuffer.shrink_to_fit();
  return Ok;
}

// ---- Cached bitmaps -------------------------------------------------------

GpStatus GdipCreateCachedBitmap(GpBitmap* bitmap, GpGraphics* graphics, GpCachedBitmap** cachedBitmap) {
  GpImage* b = I(bitmap);
  if (!b || !Alive(graphics, TKind::Graphics) || !cachedBitmap) return InvalidParameter;
  auto c = std::make_unique<GpCachedBitmap>();
  c->Image = b->Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return Hand(std::move(c), cachedBitmap);
}

GpStatus GdipDeleteCachedBitmap(GpCachedBitmap* cachedBitmap) { return Delete(cachedBitmap, TKind::CachedBitmap); }

// ---- Image attributes -----------------------------------------------------

const GpImageAttributes::TAdjust& GpImageAttributes::For(GpColorAdjustType type) const {
  if (type > ColorAdjustTypeDefault && type < ColorAdjustTypeCount && Adjust[type].Set) return Adjust[type];
  return Adjust[ColorAdjustTypeDefault];
}

ARGB GpImageAttributes::Apply(ARGB c, GpColorAdjustType type) const {
  const TAdjust& a = For(type);
  if (a.NoOp) return c;
  if (a.HasRemap)
    for (const ColorMap& m : a.Remap)
      if (m.oldColor == c) {
        c = m.newColor;
        break;
      }
  auto ch = [](ARGB v, int s) { return int((v >> s) & 0xff); };
  if (a.HasKey) {
    bool in = true;
    for (int s : {16, 8, 0}) in = in && ch(c, s) >= ch(a.KeyLow, s) && ch(c, s) <= ch(a.KeyHigh, s);
    if (in) return 0;
  }
  double v[4] = {ch(c, 16) / 255.0, ch(c, 8) / 255.0, ch(c, 0) / 255.0, ch(c, 24) / 255.0};
  if (a.HasMatrix) {
    bool gray = v[0] == v[1] && v[1] == v[2];
    if (!(gray && a.MatrixFlags == ColorMatrixFlagsSkipGrays)) {
      const ColorMatrix& m = gray && a.MatrixFlags == ColorMatrixFlagsAltGray ? a.Gray : a.Matrix;
      double out[4];
      for (int j = 0; j < 4; ++j) {
        out[j] = m.m[4][j];
        for (int i = 0; i < 4; ++i) out[j] += v[i] * m.m[i][j];
      }
      for (int j = 0; j < 4; ++j) v[j] = std::clamp(out[j], 0.0, 1.0);
    }
  }
  if (a.HasGamma && a.Gamma > 0)
    for (int j = 0; j < 3; ++j) v[j] = std::pow(v[j], double(a.Gamma));
  if (a.HasThreshold)
    for (int j = 0; j < 3; ++j) v[j] = v[j] > a.Threshold ? 1.0 : 0.0;
  if (a.HasChannel) {
    double k = 1 - std::max({v[0], v[1], v[2]});
    double cmyk[4] = {0, 0, 0, k};
    if (k < 1)
      for (int j = 0; j < 3; ++j) cmyk[j] = (1 - v[j] - k) / (1 - k);
    double g = 1 - cmyk[std::clamp(int(a.Channel), 0, 3)];
    v[0] = v[1] = v[2] = g;
  }
  auto b = [](double x) { return ARGB(std::lround(std::clamp(x, 0.0, 1.0) * 255)); };
  return (b(v[3]) << 24) | (b(v[0]) << 16) | (b(v[1]) << 8) | b(v[2]);
}

QImage GpImageAttributes::Apply(const QImage& img, GpColorAdjustType type) const {
  const TAdjust& a = For(type);
  if (a.NoOp || (!a.HasRemap && !a.HasKey && !a.HasMatrix && !a.HasGamma && !a.HasThreshold && !a.HasChannel)) return img;
  QImage out = img.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) row[x] = QRgb(Apply(ARGB(row[x]), type));
  }
  return out;
}

namespace {
GpImageAttributes* IA(const GpImageAttributes* a) { return Get(a, TKind::ImageAttributes); }
bool ValidType(GpColorAdjustType t) { return t >= ColorAdjustTypeDefault && t < ColorAdjustTypeCount; }
template <class F>
GpStatus Adjust(GpImageAttributes* imageattr, GpColorAdjustType type, F f) {
  GpImageAttributes* a = IA(imageattr);
  if (!a || !ValidType(type)) return InvalidParameter;
  auto& adj = a->Adjust[type];
  if (!adj.Set && type != ColorAdjustTypeDefault) {
    adj = GpImageAttributes::TAdjust();
    adj.Set = true;
  }
  adj.Set = true;
  return f(adj);
}
}  // namespace

GpStatus GdipCreateImageAttributes(GpImageAttributes** imageattr) {
  if (!imageattr) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  return Hand(std::make_unique<GpImageAttributes>(), imageattr);
}
GpStatus GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** cloneImageattr) {
  GpImageAttributes* a = IA(imageattr);
  if (!a || !cloneImageattr) return InvalidParameter;
  auto c = std::make_unique<GpImageAttributes>();
  c->Adjust = a->Adjust;
  c->Wrap = a->Wrap;
  c->WrapColor = a->WrapColor;
  return Hand(std::move(c), cloneImageattr);
}
GpStatus GdipDisposeImageAttributes(GpImageAttributes* imageattr) { return Delete(imageattr, TKind::ImageAttributes); }
GpStatus GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, GpColorAdjustType type) {
  return Adjust(imageattr, type, [](auto& a) {
    a.HasMatrix = false;
    return Ok;
  });
}
GpStatus GdipResetImageAttributes(GpImageAttributes* imageattr, GpColorAdjustType type) {
  GpImageAttributes* a = IA(imageattr);
  if (!a || !ValidType(type)) return InvalidParameter;
  a->Adjust[type] = GpImageAttributes::TAdjust();
  return Ok;
}
GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                           const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix,
                                           GpColorMatrixFlags flags) {
  if (enableFlag && !colorMatrix) return InvalidParameter;
  if (flags < ColorMatrixFlagsDefault || flags > ColorMatrixFlagsAltGray || (flags == ColorMatrixFlagsAltGray && enableFlag && !grayMatrix))
    return InvalidParameter;
  return Adjust(imageattr, type, [&](auto& a) {
    a.HasMatrix = enableFlag != 0;
    if (enableFlag) {
      a.Matrix = *colorMatrix;
      if (grayMatrix) a.Gray = *grayMatrix;
      a.MatrixFlags = flags;
    }
    return Ok;
  });
}
GpStatus GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag, REAL threshold) {
  return Adjust(imageattr, type, [&](auto& a) {
    a.HasThreshold = enableFlag != 0;
    a.Threshold = threshold;
    return Ok;
  });
}
GpStatus GdipSetImageAttributesGamma(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag, REAL gamma) {
  if (enableFlag && !(gamma > 0)) return InvalidParameter;
  return Adjust(imageattr, type, [&](auto& a) {
    a.HasGamma = enableFlag != 0;
    a.Gamma = gamma;
    return Ok;
  });
}
GpStatus GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag) {
  return Adjust(imageattr, type, [&](auto& a) {
    a.NoOp = enableFlag != 0;
    return Ok;
  });
}
GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                         ARGB colorLow, ARGB colorHigh) {
  return Adjust(imageattr, type, [&](auto& a) {
    a.HasKey = enableFlag != 0;
    a.KeyLow = colorLow;
    a.KeyHigh = colorHigh;
    return Ok;
  });
}
GpStatus GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                             GpColorChannelFlags channelFlags) {
  if (enableFlag && (channelFlags < ColorChannelFlagsC || channelFlags > ColorChannelFlagsK)) return InvalidParameter;
  return Adjust(imageattr, type, [&](auto& a) {
    a.HasChannel = enableFlag != 0;
    a.Channel = channelFlags;
    return Ok;
  });
}
GpStatus GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, GpColorAdjustType type,
                                                         BOOL enableFlag, const WCHAR* colorProfileFilename) {
  GpImageAttributes* a = IA(imageattr);
  if (!a || !ValidType(type) || (enableFlag && !colorProfileFilename)) return InvalidParameter;
  return enableFlag ? ProfileNotFound : Ok;
}
GpStatus GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                          UINT mapSize, const ColorMap* map) {
  if (enableFlag && (!map || mapSize == 0 || mapSize > (1u << 20))) return InvalidParameter;
  return Adjust(imageattr, type, [&](auto& a) {
    a.HasRemap = enableFlag != 0;
    if (enableFlag) a.Remap.assign(map, map + mapSize);
    else a.Remap.clear();
    return Ok;
  });
}
GpStatus GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, GpWrapMode wrap, ARGB argb, BOOL) {
  GpImageAttributes* a = IA(imageAttr);
  if (!a || !ValidWrapMode(wrap)) return InvalidParameter;
  a->Wrap = wrap;
  a->WrapColor = argb;
  return Ok;
}
GpStatus GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                               GpColorAdjustType colorAdjustType) {
  GpImageAttributes* a = IA(imageAttr);
  if (!a || !colorPalette || colorPalette->Count == 0 || colorAdjustType < ColorAdjustTypeBitmap ||
      colorAdjustType >= ColorAdjustTypeCount)
    return InvalidParameter;
  for (UINT i = 0; i < colorPalette->Count && i < 256; ++i)
    colorPalette->Entries[i] = a->Apply(colorPalette->Entries[i], colorAdjustType);
  return Ok;
}
