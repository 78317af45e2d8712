#include "platform/gdi/PictureLimits.h"

#include <QImageReader>
#include <algorithm>
#include <cstring>

#include "platform/gdi/GdiInternal.h"

namespace picture_limits {
namespace {

// A progressive JPEG decodes every scan over the whole picture: common
// encoders write about ten, so hundreds only burn time.
constexpr int kMaxJpegScans = 256;

uint32_t Be16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

bool StartsWith(const uint8_t* d, size_t size, const char* sig, size_t n) {
  return size >= n && std::memcmp(d, sig, n) == 0;
}

// Chunks up to IEND: each length within the data left, IHDR first.
bool PngFits(const uint8_t* d, size_t size) {
  size_t pos = 8;
  bool first = true;
  while (size - pos >= 8) {
    const uint32_t length = Be32(d + pos);
    if (length > 0x7FFFFFFFu || length > size - pos - 8 || size - pos - 8 - length < 4) return false;
    const uint8_t* type = d + pos + 4;
    if (first && (std::memcmp(type, "IHDR", 4) != 0 || length < 8 || !PixelsFit(Be32(d + pos + 8), Be32(d + pos + 12))))
      return false;
    first = false;
    if (std::memcmp(type, "IEND", 4) == 0) return true;
    pos += size_t(length) + 12;
  }
  return !first;
}

// Skips GIF data sub-blocks; false when a block runs past the end.
bool SkipSubBlocks(const uint8_t* d, size_t size, size_t& pos) {
  while (pos < size) {
    const size_t n = d[pos++];
    if (n == 0) return true;
    if (n > size - pos) return false;
    pos += n;
  }
  return true;  // cut off between blocks: the decoder stops there
}

// The logical screen and every frame within the budget; colour tables and
// blocks within the data.
bool GifFits(const uint8_t* d, size_t size) {
  if (size < 13) return true;
  const uint32_t screenW = Le16(d + 6), screenH = Le16(d + 8);
  if (Int64(screenW) * screenH > kMaxPixels) return false;
  size_t pos = 13;
  if (d[10] & 0x80) pos += 3u << ((d[10] & 7) + 1);
  if (pos > size) return false;
  while (pos < size) {
    const uint8_t block = d[pos++];
    if (block == 0x3B) return true;
    if (block == 0x21) {
      if (pos >= size) return true;
      ++pos;  // the extension's label
      if (!SkipSubBlocks(d, size, pos)) return false;
    } else if (block == 0x2C) {
      if (size - pos < 9) return true;
      const uint32_t frameW = Le16(d + pos + 4), frameH = Le16(d + pos + 6);
      const uint8_t flags = d[pos + 8];
      if (Int64(frameW) * frameH > kMaxPixels) return false;
      pos += 9;
      if (flags & 0x80) pos += 3u << ((flags & 7) + 1);
      if (pos >= size) return pos == size;
      ++pos;  // the LZW code size
      if (!SkipSubBlocks(d, size, pos)) return false;
    } else {
      return true;  // not a block: the decoder refuses it
    }
  }
  return true;
}

bool IsJpegFrame(uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// Segments up to the end: lengths within the data, frame sizes within the
// budget, a bounded number of scans. Entropy-coded data is skipped up to the
// next marker.
bool JpegFits(const uint8_t* d, size_t size) {
  size_t pos = 2;
  int scans = 0;
  while (pos < size) {
    if (d[pos] != 0xFF) {
      ++pos;  // scan data
      continue;
    }
    while (pos < size && d[pos] == 0xFF) ++pos;
    if (pos >= size) return true;
    const uint8_t marker = d[pos++];
    if (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;  // stuffing, restarts
    if (marker == 0xD9) return true;
    if (size - pos < 2) return true;
    const uint32_t length = Be16(d + pos);
    if (length < 2 || length > size - pos) return false;
    if (IsJpegFrame(marker) && (length < 8 || !PixelsFit(Be16(d + pos + 5), std::max<uint32_t>(1, Be16(d + pos + 3)))))
      return false;
    if (marker == 0xDA && ++scans > kMaxJpegScans) return false;
    pos += length;
  }
  return true;
}

// The size of a packed DIB's pixel rows, 0 when compressed or unknown.
uint64_t DibRowBytes(Int64 w, Int64 h, uint32_t bits, uint32_t compression) {
  const bool plain = compression == 0 || compression == 3 || compression == 6;  // BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS
  if (!plain || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) return 0;
  return uint64_t((w * bits + 31) / 32 * 4) * uint64_t(h);
}

// A DIB header at d (after the file header, or inside an icon): its size
// within the budget. rows: the bytes its pixel rows need (0: not checked).
bool DibFits(const uint8_t* d, size_t size, bool icon, uint64_t& rows) {
  rows = 0;
  if (size < 12) return true;
  const uint32_t header = Le32(d);
  Int64 w, h;
  uint32_t bits, compression = 0;
  if (header == 12) {
    w = Le16(d + 4);
    h = Le16(d + 6);
    bits = Le16(d + 10);
  } else if (header >= 40 && size >= 20) {
    w = int32_t(Le32(d + 4));
    h = int32_t(Le32(d + 8));
    bits = Le16(d + 14);
    compression = Le32(d + 16);
  } else {
    return true;  // unknown header: the decoder refuses it
  }
  if (h < 0) h = -h;
  if (icon) h /= 2;  // colour and mask rows
  if (!PixelsFit(w, h)) return false;
  rows = DibRowBytes(w, h, bits, compression);
  return true;
}

bool BmpFits(const uint8_t* d, size_t size) {
  if (size < 14) return true;
  uint64_t rows = 0;
  if (!DibFits(d + 14, size - 14, false, rows)) return false;
  const uint32_t offset = Le32(d + 10);
  return rows == 0 || (offset <= size && rows <= size - offset);
}

bool IcoFits(const uint8_t* d, size_t size) {
  if (size < 6) return true;  // no directory: the decoder refuses it
  const size_t count = Le16(d + 4);
  if (count > (size - 6) / 16) return false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = d + 6 + 16 * i;
    const uint32_t bytes = Le32(e + 8), offset = Le32(e + 12);
    if (offset > size || bytes > size - offset) continue;  // never read: the picking skips it
    const uint8_t* p = d + offset;
    uint64_t rows = 0;
    if (StartsWith(p, bytes, "\x89PNG\r\n\x1a\n", 8) ? !PngFits(p, bytes) : !DibFits(p, bytes, true, rows)) return false;
  }
  return true;
}

}  // namespace

bool PixelsFit(Int64 w, Int64 h) { return gdi_internal::SizeAllowed(w, h) && w * h <= kMaxPixels; }

bool DeclaredSizesFit(const uint8_t* data, size_t size) {
  if (!data) return true;
  if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) return PngFits(data, size);
  if (StartsWith(data, size, "GIF8", 4)) return GifFits(data, size);
  if (StartsWith(data, size, "\xFF\xD8\xFF", 3)) return JpegFits(data, size);
  if (StartsWith(data, size, "BM", 2)) return BmpFits(data, size);
  if (StartsWith(data, size, "\0\0\1\0", 4) || StartsWith(data, size, "\0\0\2\0", 4)) return IcoFits(data, size);
  return true;
}

void LimitDecoders() {
  // In megabytes: the budget at four bytes a pixel.
  static const bool once = [] {
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 >> 20));
    return true;
  }();
  (void)once;
}

}  // namespace picture_limits
