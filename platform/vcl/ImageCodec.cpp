#include "platform/vcl/ImageCodec.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/PictureLimits.h"

namespace image_codec {

QImage Decode(const TBytes& data, const char* format, int frame) {
  if (data.empty() || !picture_limits::DeclaredSizesFit(data.data(), data.size())) return {};
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
