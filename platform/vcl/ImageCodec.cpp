#include "platform/vcl/ImageCodec.h"

#include <png.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/PictureLimits.h"

namespace {

// PNG is read with the PNG library itself: the toolkit's reader first lists
// every image plugin it has, opening each plugin file, and the program's
// own pictures are PNGs read at start.
struct TPngSource {
  const unsigned char* Data;
  size_t Size;
  size_t Pos;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
  auto* source = static_cast<TPngSource*>(png_get_io_ptr(png));
  if (count > source->Size - source->Pos) png_error(png, "truncated");
  std::memcpy(out, source->Data + source->Pos, count);
  source->Pos += count;
}

void IgnoreWarning(png_structp, png_const_charp) {}

// A damaged file is an empty picture for the caller, not a line on stderr.
[[noreturn]] void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// The decoder leaves by longjmp on an error: the two steps below hold plain
// values only, and everything with a destructor lives in the caller.
// Reads the header and asks for 8-bit BGRA rows (BGRX without alpha).
bool ReadPngHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height, bool* alpha) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  int depth = 0;
  int colourType = 0;
  png_get_IHDR(png, info, width, height, &depth, &colourType, nullptr, nullptr, nullptr);
  *alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!*alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == size_t(*width) * 4;
}

bool ReadPngRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

QImage DecodePng(const TBytes& data) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, IgnoreWarning);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  struct TRelease {
    png_structp* Png;
    png_infop* Info;
    ~TRelease() { png_destroy_read_struct(Png, Info, nullptr); }
  } release{&png, &info};
  if (info == nullptr) return {};
  TPngSource source{data.data(), data.size(), 0};
  png_set_read_fn(png, &source, ReadFromMemory);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  bool alpha = false;
  if (!ReadPngHeader(png, info, &width, &height, &alpha)) return {};
  if (width == 0 || height == 0 || !picture_limits::PixelsFit(width, height)) return {};
  QImage image(int(width), int(height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull()) return {};
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.scanLine(int(y));
  if (!ReadPngRows(png, info, rows.data())) return {};
  return image;
}

bool IsPng(const char* format) { return format != nullptr && std::strcmp(format, "png") == 0; }

}  // namespace

namespace image_codec {

QImage Decode(const TBytes& data, const char* format, int frame) {
  if (data.empty() || !picture_limits::DeclaredSizesFit(data.data(), data.size())) return {};
  if (IsPng(format)) return frame == 0 ? DecodePng(data) : QImage();
  picture_limits::LimitDecoders();
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoTransform(false);
  reader.setDecideFormatFromContent(false);
  // The format is known: no other decoder is asked first (asking them loads
  // every image plugin of the toolkit, and the libraries behind them).
  reader.setAutoDetectImageFormat(false);
  // Checked again by the reader where the format tells the size up front;
  // otherwise the allocation limit bounds the read.
  QSize size = reader.size();
  if (size.isValid() && !picture_limits::PixelsFit(size.width(), size.height())) return {};
  if (frame > 0 && !reader.jumpToImage(frame)) return {};
  QImage image;
  if (!reader.read(&image)) return {};
  if (!picture_limits::PixelsFit(image.width(), image.height())) return {};
  return image;
}

int FrameCount(const TBytes& data, const char* format) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);
  if (!reader.canRead()) return 0;
  return std::max(1, reader.imageCount());
}

bool Encode(const QImage& image, const char* format, TBytes& out, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(image)) return false;
  out.assign(bytes.begin(), bytes.end());
  return true;
}

}  // namespace image_codec
