// Blits: BitBlt/StretchBlt with ternary raster operations, AlphaBlend,
// TransparentBlt, packed DIB rows in and out, icons.
#include <cstring>

#include "platform/gdi/GdiInternal.h"

namespace gdi_internal {

namespace {

// Ternary raster operation (the ROP3 index in bits 16..23) on pattern P,
// source S and destination D, per bit.
inline uint32_t Rop3(unsigned index, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(index & (1u << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r;
}

bool UsesSource(DWORD rop) {
  unsigned idx = (rop >> 16) & 0xFF;
  // Source matters when the table differs between S = 0 and S = 1.
  return ((idx >> 2) & 0x33) != (idx & 0x33);
}

uint32_t Bgr(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

// Source pixels in device coordinates of the source DC, copied out (so a
// DC may blit onto itself). Pixels outside the surface come out black.
QImage SourcePixels(HDC__* s, int sx, int sy, int sw, int sh) {
  QPoint a = ToDevice(s, sx, sy) + s->Surface.Origin;
  QImage out = s->Surface.Image->copy(QRect(a.x(), a.y(), sw, sh));
  if (out.format() != QImage::Format_ARGB32_Premultiplied && out.format() != QImage::Format_RGB32)
    out = out.convertToFormat(QImage::Format_RGB32);
  return out;
}

bool SourceInside(HDC__* s, int sx, int sy, int sw, int sh) {
  QPoint a = ToDevice(s, sx, sy) + s->Surface.Origin;
  return s->Surface.Image && s->Surface.Image->rect().contains(QRect(a.x(), a.y(), sw, sh));
}

// Nearest-pixel scaling with mirroring for negative sizes.
QImage Scaled(const QImage& src, int w, int h) {
  QImage img = src;
  if (w < 0 || h < 0) img = img.mirrored(w < 0, h < 0);
  int aw = std::abs(w), ah = std::abs(h);
  if (img.width() != aw || img.height() != ah) img = img.scaled(aw, ah, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return img;
}

// Combines src (RGB32 or premultiplied ARGB, at the destination size) into
// the DC at device position at, row by row inside the clip; op works on
// the 24 colour bits and the result is opaque.
template <class Op>
void CombineRows(HDC__* d, QPoint at, const QImage& src, Op op) {
  QImage* img = d->Surface.Image;
  const QPoint org = d->Surface.Origin;
  QRegion clip = EffectiveClip(d).intersected(QRect(at + org, src.size()));
  const int bpp = img->depth() / 8;
  if (bpp != 3 && bpp != 4) return;
  for (const QRect& r : clip) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const auto* s = reinterpret_cast<const uint32_t*>(src.constScanLine(y - at.y() - org.y())) + (r.left() - at.x() - org.x());
      uchar* row = img->scanLine(y) + r.left() * bpp;
      if (bpp == 4) {
        auto* px = reinterpret_cast<uint32_t*>(row);
        for (int x = 0; x < r.width(); ++x) px[x] = 0xFF000000u | (op(s[x] & 0xFFFFFF, px[x] & 0xFFFFFF) & 0xFFFFFF);
      } else {
        for (int x = 0; x < r.width(); ++x, row += 3) {
          uint32_t v = (uint32_t(row[2]) << 16) | (uint32_t(row[1]) << 8) | row[0];
          v = op(s[x] & 0xFFFFFF, v);
          row[0] = uchar(v);
          row[1] = uchar(v >> 8);
          row[2] = uchar(v >> 16);
        }
      }
    }
  }
}

bool Blit(HDC__* d, QPoint at, const QImage& src, DWORD rop) {
  if (src.isNull()) return true;
  QPainter* p = BeginPainting(d);
  if (!p) return false;
  if (rop == SRCCOPY) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(at, src);
    return true;
  }
  unsigned index = (rop >> 16) & 0xFF;
  uint32_t pat = 0;
  if (auto& b = d->State.Brush; b && b->Style != BS_NULL)
    pat = Bgr(b->DCBrush ? d->State.DCBrushColor : b->Color);
  switch (rop) {
    case SRCPAINT: CombineRows(d, at, src, [](uint32_t s, uint32_t v) { return s | v; }); break;
    case SRCAND: CombineRows(d, at, src, [](uint32_t s, uint32_t v) { return s & v; }); break;
    case SRCINVERT: CombineRows(d, at, src, [](uint32_t s, uint32_t v) { return s ^ v; }); break;
    case SRCERASE: CombineRows(d, at, src, [](uint32_t s, uint32_t v) { return s & ~v; }); break;
    case NOTSRCCOPY: CombineRows(d, at, src, [](uint32_t s, uint32_t) { return ~s; }); break;
    case NOTSRCERASE: CombineRows(d, at, src, [](uint32_t s, uint32_t v) { return ~(s | v); }); break;
    case MERGEPAINT: CombineRows(d, at, src, [](uint32_t s, uint32_t v) { return ~s | v; }); break;
    default:
      CombineRows(d, at, src, [index, pat](uint32_t s, uint32_t v) { return Rop3(index, pat, s, v); });
      break;
  }
  return true;
}

}  // namespace

QImage DecodeDibRows(const BITMAPINFO* info, const void* bits, bool* ok) {
  *ok = false;
  if (!info || !bits) return {};
  const auto& h = info->bmiHeader;
  Int64 height = h.biHeight < 0 ? -Int64(h.biHeight) : Int64(h.biHeight);
  if (!SizeAllowed(h.biWidth, height)) return {};
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return {};
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return {};
  const int w = h.biWidth, ht = int(height);
  const bool topDown = h.biHeight < 0;
  const Int64 stride = ((Int64(w) * bpp + 31) / 32) * 4;
  QImage out(w, ht, QImage::Format_RGB32);
  if (out.isNull()) return {};
  const auto* base = static_cast<const uint8_t*>(bits);
  int colors = bpp <= 8 ? int(h.biClrUsed ? std::min<DWORD>(h.biClrUsed, 1u << bpp) : (1u << bpp)) : 0;
  for (int y = 0; y < ht; ++y) {
    const uint8_t* row = base + stride * (topDown ? y : ht - 1 - y);
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          int per = 8 / bpp;
          int shift = 8 - bpp * (x % per + 1);
          int idx = (row[x / per] >> shift) & ((1 << bpp) - 1);
          const RGBQUAD& q = idx < colors ? info->bmiColors[idx] : info->bmiColors[0];
          dst[x] = qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
          break;
        }
        case 16: {
          uint16_t v = uint16_t(row[2 * x] | (row[2 * x + 1] << 8));
          dst[x] = qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
          break;
        }
        case 24: dst[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
        default: dst[x] = qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]); break;
      }
    }
  }
  *ok = true;
  return out;
}

}  // namespace gdi_internal

using namespace gdi_internal;

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  HDC__* d = LookupDC(dst);
  if (!d) return FALSE;
  if (!UsesSource(rop)) return PatBlt(dst, x, y, w, h, rop);
  HDC__* s = LookupDC(src);
  if (!s || !s->Surface.Image || w < 0 || h < 0) return FALSE;
  if (w == 0 || h == 0) return TRUE;
  if (!SizeAllowed(w, h)) return FALSE;
  return Blit(d, ToDevice(d, x, y), SourcePixels(s, sx, sy, w, h), rop) ? TRUE : FALSE;
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
  HDC__* d = LookupDC(dst);
  if (!d) return FALSE;
  if (!UsesSource(rop)) return PatBlt(dst, x, y, w, h, rop);
  HDC__* s = LookupDC(src);
  if (!s || !s->Surface.Image) return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return TRUE;
  if (!SizeAllowed(std::abs(w), std::abs(h)) || !SizeAllowed(std::abs(sw), std::abs(sh))) return FALSE;
  // A mirrored source rectangle is normalised and folded into the target's mirroring.
  if (sw < 0) { sx += sw; sw = -sw; w = -w; }
  if (sh < 0) { sy += sh; sh = -sh; h = -h; }
  QImage img = Scaled(SourcePixels(s, sx, sy, sw, sh), w, h);
  QPoint at = ToDevice(d, w < 0 ? x + w : x, h < 0 ? y + h : y);
  return Blit(d, at, img, rop) ? TRUE : FALSE;
}

BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, BLENDFUNCTION blend) {
  HDC__* d = LookupDC(dst);
  HDC__* s = LookupDC(src);
  if (!d || !s || !s->Surface.Image || w < 0 || h < 0 || sw < 0 || sh < 0) return FALSE;
  if (blend.BlendOp != AC_SRC_OVER) return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return TRUE;
  if (!SizeAllowed(w, h) || !SourceInside(s, sx, sy, sw, sh)) return FALSE;
  QImage img = SourcePixels(s, sx, sy, sw, sh);
  if (!(blend.AlphaFormat & AC_SRC_ALPHA)) img = img.convertToFormat(QImage::Format_RGB32);
  else img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  img = Scaled(img, w, h);
  QPainter* p = BeginPainting(d);
  if (!p) return FALSE;
  p->setOpacity(blend.SourceConstantAlpha / 255.0);
  p->drawImage(ToDevice(d, x, y), img);
  p->setOpacity(1.0);
  return TRUE;
}

BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT transparent) {
  HDC__* d = LookupDC(dst);
  HDC__* s = LookupDC(src);
  if (!d || !s || !s->Surface.Image || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return FALSE;
  if (!SizeAllowed(w, h) || !SourceInside(s, sx, sy, sw, sh)) return FALSE;
  QImage img = Scaled(SourcePixels(s, sx, sy, sw, sh).convertToFormat(QImage::Format_RGB32), w, h);
  const uint32_t key = Bgr(transparent);
  CombineRows(d, ToDevice(d, x, y), img, [key](uint32_t s, uint32_t v) { return s == key ? v : s; });
  return TRUE;
}

int StretchDIBits(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT, DWORD rop) {
  HDC__* d = LookupDC(dc);
  if (!d || w == 0 || h == 0 || sw <= 0 || sh <= 0) return 0;
  if (!SizeAllowed(std::abs(w), std::abs(h)) || !SizeAllowed(sw, sh)) return 0;
  bool ok = false;
  QImage all = DecodeDibRows(info, bits, &ok);
  if (!ok) return 0;
  // For bottom-up rows the source y counts from the bottom row.
  int top = info->bmiHeader.biHeight > 0 ? all.height() - sy - sh : sy;
  QImage part = all.copy(QRect(sx, top, sw, sh));
  QImage img = Scaled(part, w, h);
  QPoint at = ToDevice(d, w < 0 ? x + w : x, h < 0 ? y + h : y);
  return Blit(d, at, img, rop) ? sh : 0;
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
  auto bmp = Lookup<TGdiBitmap>(bitmap);
  if (!bmp || !info) return 0;
  auto& hdr = info->bmiHeader;
  const QImage& img = bmp->Image;
  if (!bits) {
    hdr.biWidth = img.width();
    hdr.biHeight = img.height();
    hdr.biPlanes = 1;
    if (hdr.biBitCount == 0) hdr.biBitCount = Word(bmp->BitCount == 24 ? 24 : 32);
    hdr.biCompression = BI_RGB;
    hdr.biSizeImage = DWORD(((img.width() * hdr.biBitCount + 31) / 32) * 4 * img.height());
    return img.height();
  }
  if ((hdr.biBitCount != 24 && hdr.biBitCount != 32) || hdr.biWidth != img.width()) return 0;
  const int h = img.height();
  if (start >= UINT(h)) return 0;
  lines = std::min<UINT>(lines, UINT(h) - start);
  const bool topDown = hdr.biHeight < 0;
  const int stride = ((img.width() * hdr.biBitCount + 31) / 32) * 4;
  QImage src = img.convertToFormat(img.format() == QImage::Format_ARGB32_Premultiplied ? QImage::Format_ARGB32_Premultiplied
                                                                                       : QImage::Format_RGB32);
  auto* out = static_cast<uint8_t*>(bits);
  for (UINT i = 0; i < lines; ++i) {
    // Row i of the buffer is scan line start + i counted from the top or the bottom.
    int y = topDown ? int(start + i) : h - 1 - int(start + i);
    const auto* px = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
    uint8_t* row = out + size_t(i) * size_t(stride);
    for (int x = 0; x < img.width(); ++x) {
      if (hdr.biBitCount == 32) {
        std::memcpy(row + 4 * x, &px[x], 4);
      } else {
        row[3 * x] = uint8_t(px[x]);
        row[3 * x + 1] = uint8_t(px[x] >> 8);
        row[3 * x + 2] = uint8_t(px[x] >> 16);
      }
    }
  }
  return int(lines);
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int w, int h, UINT, HBRUSH, UINT flags) {
  HDC__* d = LookupDC(dc);
  const QImage* img = IconImage(icon);
  if (!d || !img) return FALSE;
  if (w <= 0) w = img->width();
  if (h <= 0) h = img->height();
  if (!SizeAllowed(w, h)) return FALSE;
  QImage scaled = img->width() == w && img->height() == h ? *img : img->scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QPainter* p = BeginPainting(d);
  if (!p) return FALSE;
  if ((flags & DI_NORMAL) == DI_IMAGE) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(ToDevice(d, x, y), scaled.convertToFormat(QImage::Format_RGB32));
  } else {
    p->drawImage(ToDevice(d, x, y), scaled);
  }
  return TRUE;
}

