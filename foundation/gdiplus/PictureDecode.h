#pragma once
// Decoding an encoded picture file held in memory into an image of the
// imported GDI+ set. Nothing decoded is kept: callers decode for each use.
#include <memory>

#include "foundation/gdiplus/GPImage.h"

namespace gdiplus {

// The image of the bytes (its status tells whether GDI+ could decode them);
// nullptr for no bytes. Exception "Could not allocate memory for image" for
// data beyond the picture budget.
std::unique_ptr<TGPImage> DecodePictureBytes(const TBytes& Data);
// The same as a bitmap, for reading pixels.
std::unique_ptr<TGPBitmap> DecodePictureBitmap(const TBytes& Data);

}  // namespace gdiplus
