#include "platform/vcl/ImageCodec.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "platform/gdi/GdiInternal.h"

namespace image_codec {

QImage Decode(const TBytes& data, const char* format, int frame) {
  if (data.empty()) return {};
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoTransform(false);
  reader.setDecideFormatFromContent(false);
  // Checked before any pixel is allocated where the format tells the size
  // up front; otherwise Qt's own allocation limit bounds the read.
  reader.setAllocationLimit(256);
  QSize size = reader.size();
  if (size.isValid() && !gdi_internal::SizeAllowed(size.width(), size.height())) return {};
  if (frame > 0 && !reader.jumpToImage(frame)) return {};
  QImage image;
  if (!reader.read(&image)) return {};
  if (!gdi_internal::SizeAllowed(image.width(), image.height())) return {};
  return image;
}

int FrameCount(const TBytes& data, const char* format) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
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
