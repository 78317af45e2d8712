#include "platform/vcl/Bitmap.h"

#include <cstring>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/ImageCodec.h"

namespace {

// The canvas of a bitmap: a memory DC with the bitmap selected, made when
// first drawn on.
class TBitmapCanvas : public TCanvas {
 public:
  std::function<HDC()> MakeDC;

 protected:
  void CreateHandle() override {
    if (MakeDC) SetHandle(MakeDC());
  }
};

int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

void Put16(TBytes& b, size_t at, uint16_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void Put32(TBytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
uint32_t Get32(const TBytes& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}
uint16_t Get16(const TBytes& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

}  // namespace

struct TBitmapAccess {
  static QImage* Image(TBitmap* b) { return b->Handle() ? gdi_internal::BitmapImage(b->FHandle) : nullptr; }
  // Makes decoded pixels the bitmap's own, already in the format a bitmap of
  // that kind keeps: no blank image first, no second copy.
  static void Adopt(TBitmap* b, QImage pixels, TPixelFormat format, int bitCount, bool dib) {
    b->FreeContext();
    b->FreeBitmap();
    const int w = pixels.width(), h = pixels.height();
    // Shared with another image (an already matching source): a bitmap's
    // rows may be written through a raw pointer, so it gets its own.
    if (!pixels.isNull() && !pixels.isDetached()) pixels = pixels.copy();
    if (!pixels.isNull()) b->FHandle = gdi_internal::NewBitmap(std::move(pixels), bitCount, dib).get();
    b->FWidth = b->FHandle ? w : 0;
    b->FHeight = b->FHandle ? h : 0;
    b->FPixelFormat = format;
  }
  static void Changed(TBitmap* b) { b->Changed(); }
};

namespace image_codec {
QImage* BitmapImage(TBitmap* bitmap) { return bitmap ? TBitmapAccess::Image(bitmap) : nullptr; }

void SetBitmapImage(TBitmap* bitmap, QImage image, bool withAlpha) {
  // Converted in place where the depth allows (the decoders' 32-bit output).
  QImage pixels = std::move(image).convertToFormat(withAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_BGR888);
  TBitmapAccess::Adopt(bitmap, std::move(pixels), withAlpha ? pf32bit : pf24bit, withAlpha ? 32 : 24, true);
  if (withAlpha) bitmap->SetAlphaFormat(afPremultiplied);
  TBitmapAccess::Changed(bitmap);
}
}  // namespace image_codec

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer width, Integer height) { SetSize(width, height); }

TBitmap::~TBitmap() {
  FreeContext();
  FreeBitmap();
}

void TBitmap::FreeContext() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FDC) DeleteDC(FDC);
  FDC = nullptr;
}

void TBitmap::FreeBitmap() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

bool TBitmap::Empty() const { return FWidth == 0 || FHeight == 0; }

void TBitmap::NewImage(Integer w, Integer h, TPixelFormat format) {
  HBITMAP fresh = nullptr;
  if (w > 0 && h > 0) {
    if (!gdi_internal::SizeAllowed(w, h)) throw EInvalidGraphic(u"Bitmap image is not valid");
    int bits = BitsOf(format);
    if (bits == 24 || (bits == 32 && format == pf32bit)) {
      BITMAPINFO bi{};
      bi.bmiHeader.biWidth = w;
      bi.bmiHeader.biHeight = -h;
      bi.bmiHeader.biBitCount = Word(bits);
      void* p = nullptr;
      fresh = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    } else if (format == pfDevice) {
      fresh = CreateCompatibleBitmap(nullptr, w, h);
    } else {
      fresh = CreateBitmap(w, h, 1, UINT(bits), nullptr);
    }
    if (!fresh) throw EInvalidGraphic(u"Out of system resources");
    if (format != pf32bit) {
      // New pixels take the canvas brush, as the class library fills them.
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, fresh);
      RECT all{0, 0, w, h};
      HBRUSH brush = CreateSolidBrush(COLORREF(ColorToRGB(FCanvas ? FCanvas->Brush()->Color() : clWhite)) & 0xFFFFFF);
      ::FillRect(dc, &all, brush);
      DeleteObject(brush);
      SelectObject(dc, old);
      DeleteDC(dc);
    }
    if (FHandle) {
      HDC dst = CreateCompatibleDC(nullptr), src = CreateCompatibleDC(nullptr);
      HGDIOBJ oldDst = SelectObject(dst, fresh);
      FreeContext();
      HGDIOBJ oldSrc = SelectObject(src, FHandle);
      BitBlt(dst, 0, 0, std::min(w, FWidth), std::min(h, FHeight), src, 0, 0, SRCCOPY);
      SelectObject(src, oldSrc);
      SelectObject(dst, oldDst);
      DeleteDC(src);
      DeleteDC(dst);
    }
  }
  FreeContext();
  FreeBitmap();
  FHandle = fresh;
  FWidth = fresh ? w : 0;
  FHeight = fresh ? h : 0;
  FPixelFormat = format;
}

void TBitmap::SetSize(Integer w, Integer h) {
  w = std::max(0, w);
  h = std::max(0, h);
  if (w == FWidth && h == FHeight) return;
  NewImage(w, h, FPixelFormat);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == FPixelFormat) return;
  NewImage(FWidth, FHeight, value);
  Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat value) {
  if (value == FAlphaFormat) return;
  FAlphaFormat = value;
  Changed();
}

void TBitmap::SetMonochrome(bool value) { SetPixelFormat(value ? pf1bit : pfDevice); }

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    auto c = std::make_unique<TBitmapCanvas>();
    c->MakeDC = [this]() -> HDC {
      if (!FDC) {
        FDC = CreateCompatibleDC(nullptr);
        if (Handle()) SelectObject(FDC, FHandle);
      }
      return FDC;
    };
    c->OnChange = [this](TObject*) { Changed(); };
    FCanvas = std::move(c);
  }
  return FCanvas.get();
}

HBITMAP TBitmap::Handle() { return FHandle; }

void TBitmap::SetHandle(HBITMAP value) {
  BITMAP info;
  if (value && !GetObjectW(value, sizeof(info), &info)) return;
  FreeContext();
  FreeBitmap();
  FHandle = value;
  FWidth = value ? info.bmWidth : 0;
  FHeight = value ? info.bmHeight : 0;
  if (value) FPixelFormat = info.bmBitsPixel == 24 ? pf24bit : (info.bmBits ? pf32bit : pfDevice);
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HBITMAP h = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  return h;
}

void* TBitmap::ScanLine(Integer row) {
  QImage* img = TBitmapAccess::Image(this);
  if (!img || row < 0 || row >= img->height()) throw EInvalidGraphicOperation(u"Scan line index out of range");
  return img->scanLine(row);
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  if (Monochrome()) return clWhite;
  return TColor(Canvas()->Pixels(0, FHeight - 1) | 0x02000000);
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == FTransparentColor && FTransparentMode == tmFixed) return;
  FTransparentColor = value;
  FTransparentMode = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  if (value == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(TransparentColor());
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    NewImage(0, 0, FPixelFormat);
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    if (b == this) return;
    FreeContext();
    FreeBitmap();
    FWidth = FHeight = 0;
    FPixelFormat = b->FPixelFormat;
    FAlphaFormat = b->FAlphaFormat;
    FTransparent = b->FTransparent;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    if (!b->Empty()) {
      NewImage(b->FWidth, b->FHeight, b->FPixelFormat);
      QImage* dst = TBitmapAccess::Image(this);
      QImage* src = TBitmapAccess::Image(b);
      if (dst && src)
        for (int y = 0; y < src->height(); ++y) std::memcpy(dst->scanLine(y), src->constScanLine(y), size_t(src->bytesPerLine()));
    }
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    FreeContext();
    FreeBitmap();
    FWidth = FHeight = 0;
    FPixelFormat = pf32bit;
    FAlphaFormat = afPremultiplied;
    if (!g->Empty()) {
      NewImage(g->Width(), g->Height(), pf32bit);
      Canvas()->StretchDraw(Rect(0, 0, FWidth, FHeight), g);
    }
    FTransparent = g->Transparent();
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& r) {
  if (Empty() || !canvas) return;
  HDC dst = canvas->Handle();
  Canvas();
  HDC src = FCanvas->Handle();
  if (FTransparent) {
    COLORREF key = COLORREF(ColorToRGB(TransparentColor())) & 0xFFFFFF;
    TransparentBlt(dst, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, FWidth, FHeight, key);
  } else if (FPixelFormat == pf32bit && FAlphaFormat != afIgnored) {
    QImage* img = TBitmapAccess::Image(this);
    QPainter* p = gdi_internal::DCPainter(dst);
    if (!img || !p) return;
    QImage pixels = *img;
    if (FAlphaFormat == afDefined) {
      // Straight alpha in the scan lines: read them as such.
      pixels = QImage(img->constBits(), img->width(), img->height(), img->bytesPerLine(), QImage::Format_ARGB32)
                   .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    HDC__* d = gdi_internal::LookupDC(dst);
    QPoint at = gdi_internal::ToDevice(d, r.Left, r.Top);
    p->drawImage(QRect(at.x(), at.y(), r.Width(), r.Height()), pixels);
  } else {
    StretchBlt(dst, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, FWidth, FHeight, DWORD(canvas->CopyMode()));
  }
}

void TBitmap::LoadFromBytes(const TBytes& data) {
  // The header is checked here; Qt decodes the pixels.
  auto fail = [this]() {
    NewImage(0, 0, FPixelFormat);
    Changed();
    throw EInvalidGraphic(u"Bitmap image is not valid");
  };
  if (data.size() < 26 || data[0] != 'B' || data[1] != 'M') fail();
  uint32_t headerSize = Get32(data, 14);
  Int64 w, h;
  int bits;
  if (headerSize == 12) {
    w = Get16(data, 18);
    h = Get16(data, 20);
    bits = Get16(data, 24);
  } else if (headerSize >= 40 && data.size() >= 14 + 40) {
    w = int32_t(Get32(data, 18));
    h = int32_t(Get32(data, 22));
    bits = Get16(data, 28);
  } else {
    fail();
    return;
  }
  if (h < 0) h = -h;
  if (!gdi_internal::SizeAllowed(w, h) || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    fail();
  QImage img = image_codec::Decode(data, "bmp");
  if (img.isNull() || img.width() != w || img.height() != h) fail();
  TPixelFormat format = bits == 32 ? pf32bit : bits == 24 ? pf24bit : bits == 16 ? pf16bit : bits == 8 ? pf8bit
                      : bits == 4 ? pf4bit : pf1bit;
  // 32 bits: the file's bytes as they are (straight alpha), as the class
  // library keeps them; AlphaFormat says how to draw them.
  QImage pixels = std::move(img).convertToFormat(bits == 32   ? QImage::Format_ARGB32
                                                 : bits == 24 ? QImage::Format_BGR888
                                                              : QImage::Format_RGB32);
  if (bits == 32) pixels.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
  TBitmapAccess::Adopt(this, std::move(pixels), format, bits, bits == 24 || bits == 32);
  Changed();
}

void TBitmap::SaveToBytes(TBytes& data) {
  data.clear();
  QImage* img = TBitmapAccess::Image(this);
  const int bits = (FPixelFormat == pf32bit || FPixelFormat == pfDevice) ? 32 : 24;
  const int w = img ? img->width() : 0, h = img ? img->height() : 0;
  const size_t stride = size_t(((w * bits + 31) / 32) * 4);
  const size_t offset = 14 + 40;
  data.assign(offset + stride * size_t(h), 0);
  data[0] = 'B';
  data[1] = 'M';
  Put32(data, 2, uint32_t(data.size()));
  Put32(data, 10, uint32_t(offset));
  Put32(data, 14, 40);
  Put32(data, 18, uint32_t(w));
  Put32(data, 22, uint32_t(h));
  Put16(data, 26, 1);
  Put16(data, 28, uint16_t(bits));
  Put32(data, 34, uint32_t(stride * size_t(h)));
  Put32(data, 38, 3780);  // 96 pixels per inch
  Put32(data, 42, 3780);
  if (!img) return;
  // 32 bits: the scan-line bytes unchanged.
  QImage src = bits == 32 ? QImage(img->constBits(), w, h, img->bytesPerLine(),
                                   img->format() == QImage::Format_RGB32 ? QImage::Format_RGB32 : QImage::Format_ARGB32)
                          : img->convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const auto* px = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
    uint8_t* row = data.data() + offset + stride * size_t(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      if (bits == 32) {
        Put32(data, size_t(row - data.data()) + size_t(4 * x), px[x]);
      } else {
        row[3 * x] = uint8_t(px[x]);
        row[3 * x + 1] = uint8_t(px[x] >> 8);
        row[3 * x + 2] = uint8_t(px[x] >> 16);
      }
    }
  }
}

namespace {
bool DIBHeader(HBITMAP bitmap, BITMAPINFOHEADER& header) {
  header = {};
  header.biBitCount = 0;  // asks GetDIBits for the bitmap's own depth
  return GetDIBits(nullptr, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) > 0;
}
}  // namespace

void GetDIBSizes(HBITMAP bitmap, DWORD& infoHeaderSize, DWORD& imageSize) {
  BITMAPINFOHEADER header;
  bool ok = DIBHeader(bitmap, header);
  infoHeaderSize = ok ? DWORD(sizeof(BITMAPINFOHEADER)) : 0;
  imageSize = ok ? header.biSizeImage : 0;
}

bool GetDIB(HBITMAP bitmap, HPALETTE, void* bitmapInfo, void* bits) {
  if (!bitmapInfo || !bits) return false;
  auto* header = static_cast<BITMAPINFOHEADER*>(bitmapInfo);
  if (!DIBHeader(bitmap, *header)) return false;
  return GetDIBits(nullptr, bitmap, 0, UINT(header->biHeight), bits, static_cast<BITMAPINFO*>(bitmapInfo),
                   DIB_RGB_COLORS) == header->biHeight;
}
