#pragma once
// Inside the picture classes only (includes Qt): decoding with size caps,
// and the image behind a TBitmap.
#include <QImage>

#include "platform/rtl/Types.h"

class TBitmap;

namespace image_codec {

// Decodes data of the given Qt format ("png", "gif", "bmp", "ico") with the
// layer's dimension cap; a null image for damaged, truncated or oversized data.
// frame: the picture index inside the file (0 first).
QImage Decode(const TBytes& data, const char* format, int frame = 0);
// Number of pictures in the file, 0 when unreadable.
int FrameCount(const TBytes& data, const char* format);
// Encodes with Qt's writer; false on failure.
bool Encode(const QImage& image, const char* format, TBytes& out, int quality = -1);

// The pixels of a bitmap (its handle's image), nullptr when it has none.
QImage* BitmapImage(TBitmap* bitmap);
// Replaces a bitmap's pixels (32 bits: pf32bit with alpha; else pf24bit),
// taking image's memory where the format allows (pass it with std::move).
void SetBitmapImage(TBitmap* bitmap, QImage image, bool withAlpha);

}  // namespace image_codec
