#pragma once
// Encoded sample pictures made with the class library's own formats.
#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/rtl/Streams.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/GifImage.h"
#include "platform/vcl/JpegImage.h"
#include "platform/vcl/PngImage.h"

namespace picture_samples {

// A w x h bitmap of one colour, its bottom-left pixel in corner.
inline std::unique_ptr<TBitmap> SolidBitmap(int w, int h, TColor color, TColor corner) {
  auto bmp = std::make_unique<TBitmap>(w, h);
  bmp->SetPixelFormat(pf24bit);
  bmp->Canvas()->Brush()->SetColor(color);
  bmp->Canvas()->FillRect(Rect(0, 0, w, h));
  bmp->Canvas()->SetPixels(0, h - 1, corner);
  return bmp;
}

template <class TFormat>
TBytes Encode(int w, int h, TColor color = clRed) {
  auto bmp = SolidBitmap(w, h, color, color);
  TFormat image;
  image.Assign(bmp.get());
  TBytes out;
  image.SaveToBytes(out);
  return out;
}

inline TBytes Bmp(int w, int h, TColor color = clRed, TColor corner = clRed) {
  TBytes out;
  SolidBitmap(w, h, color, corner)->SaveToBytes(out);
  return out;
}
inline TBytes Png(int w, int h, TColor color = clRed) { return Encode<TPngImage>(w, h, color); }
inline TBytes Jpeg(int w, int h, TColor color = clRed) { return Encode<TJPEGImage>(w, h, color); }
// A GIF89a of w x h pixels of colour (the layer writes no GIF), with a
// graphic control extension before its image descriptor.
inline TBytes Gif(int w, int h, TColor color = clRed) {
  TBytes g = {'G', 'I', 'F', '8', '9', 'a', Byte(w), Byte(w >> 8), Byte(h), Byte(h >> 8), 0x80, 0, 0,
              Byte(color), Byte(color >> 8), Byte(color >> 16), 0, 0, 0,
              0x21, 0xF9, 0x04, 0x00, 10, 0, 0, 0x00,
              0x2C, 0, 0, 0, 0, Byte(w), Byte(w >> 8), Byte(h), Byte(h >> 8), 0x00, 0x02};
  // Clear, two zero pixels, clear ... end: every code stays 3 bits wide.
  std::vector<int> codes;
  for (int i = 0; i < w * h; ++i) {
    if (i % 2 == 0) codes.push_back(4);
    codes.push_back(0);
  }
  codes.push_back(5);
  TBytes packed;
  unsigned acc = 0, bits = 0;
  for (int c : codes) {
    acc |= unsigned(c) << bits;
    bits += 3;
    while (bits >= 8) packed.push_back(Byte(acc)), acc >>= 8, bits -= 8;
  }
  if (bits) packed.push_back(Byte(acc));
  for (std::size_t at = 0; at < packed.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
    g.push_back(Byte(n));
    g.insert(g.end(), packed.begin() + long(at), packed.begin() + long(at + n));
  }
  g.push_back(0);
  g.push_back(0x3B);
  return g;
}

inline TBytes Text(std::string_view s) { return TBytes(s.begin(), s.end()); }
inline TBytes Concat(std::initializer_list<TBytes> parts) {
  TBytes out;
  for (const TBytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
inline TBytes LengthPrefixed(const TBytes& body) {
  const std::uint32_t n = std::uint32_t(body.size());
  TBytes out{Byte(n), Byte(n >> 8), Byte(n >> 16), Byte(n >> 24)};
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace picture_samples
