#pragma once
// Readers that find an image file's pixel size from its header without
// decoding it. Each yields 0 x 0 when it finds no size (a missing file, a
// wrong signature, data that ends early); none reads past the data or loops
// on a crafted file. Sizes are kept to 16 bits.
#include "platform/rtl/Types.h"

class TStream;

namespace gdiplus {

// Two bytes, the first as the high byte; false at the end of the data.
bool ReadWordBE(TStream* Stream, Word& Value);
// The first SOF0, SOF1 or SOF2 frame header.
void GetJPEGSize(TStream* Stream, Word& Width, Word& Height);
// The low halves of IHDR's width and height.
void GetPNGSize(TStream* Stream, Word& Width, Word& Height);
// The first image descriptor.
void GetGIFSize(TStream* Stream, Word& Width, Word& Height);
// The bitmap header's width and height.
void GetBMPSize(TStream* Stream, Word& Width, Word& Height);
// Tags 256 and 257 of the first directory, read little-endian whatever the byte order mark.
void GetTIFFSize(TStream* Stream, Word& Width, Word& Height);

// The same on a file opened read-only.
void GetJPEGSize(const String& FileName, Word& Width, Word& Height);
void GetPNGSize(const String& FileName, Word& Width, Word& Height);
void GetGIFSize(const String& FileName, Word& Width, Word& Height);
void GetBMPSize(const String& FileName, Word& Width, Word& Height);
void GetTIFFSize(const String& FileName, Word& Width, Word& Height);

}  // namespace gdiplus
