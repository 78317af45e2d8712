#pragma once
// Inside the layer only (the picture classes and the GDI+ image calls): what
// a picture file may declare before any decoder sees it. A few dozen bytes
// of header must not buy gigabytes of memory or seconds of work.
#include <cstddef>
#include <cstdint>

#include "platform/rtl/Types.h"

namespace picture_limits {

// Pixels one decoded picture may hold: 32 Mi (128 MiB at four bytes a pixel),
// far beyond anything the program shows.
constexpr Int64 kMaxPixels = Int64(1) << 25;

// Whether a w x h picture fits the dimension cap and the pixel budget; false
// for sizes below 1.
bool PixelsFit(Int64 w, Int64 h);

// Whether the sizes and lengths the file declares fit its data and the pixel
// budget: PNG chunk lengths and header, GIF screen and frame sizes, JPEG
// frame sizes and scan count, BMP header and pixel rows, the pictures inside
// an ICO. False for a file that declares more than it holds or more pixels
// than the budget; data of another format passes (its decoder still runs
// under the allocation limit).
bool DeclaredSizesFit(const uint8_t* data, size_t size);

// Gives the toolkit's decoders the allocation limit that matches the pixel
// budget (the limit is process-wide; set once, from any thread).
void LimitDecoders();

}  // namespace picture_limits
