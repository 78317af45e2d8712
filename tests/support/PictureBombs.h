#pragma once
// Tiny picture files that declare far more than they hold: a decoder that
// trusts them allocates hundreds of megabytes or gigabytes. Used by the
// picture tests of the controls layer and of GDI+, and as fuzz seeds.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace picture_bombs {

using Bytes = std::vector<uint8_t>;

inline void Be32(Bytes& d, uint32_t v) {
  for (int i = 0; i < 4; ++i) d.push_back(uint8_t(v >> (24 - 8 * i)));
}
inline void Le16(Bytes& d, uint32_t v) {
  d.push_back(uint8_t(v));
  d.push_back(uint8_t(v >> 8));
}
inline void Le32(Bytes& d, uint32_t v) {
  Le16(d, v & 0xFFFF);
  Le16(d, v >> 16);
}

inline uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

// A PNG chunk with its CRC.
inline void PngChunk(Bytes& d, const char* type, const Bytes& body, uint32_t declared) {
  Be32(d, declared);
  const size_t at = d.size();
  d.insert(d.end(), type, type + 4);
  d.insert(d.end(), body.begin(), body.end());
  Be32(d, Crc32(d.data() + at, d.size() - at));
}

inline Bytes PngStart(uint32_t w, uint32_t h) {
  Bytes d{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes ihdr;
  Be32(ihdr, w);
  Be32(ihdr, h);
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
  PngChunk(d, "IHDR", ihdr, 13);
  return d;
}

// 63 bytes: a 1 x 1 PNG whose text chunk declares 2 GiB.
inline Bytes PngHugeTextChunk() {
  Bytes d = PngStart(1, 1);
  const std::string text = "Comment";
  Bytes body(text.begin(), text.end());
  body.resize(18, 'x');
  PngChunk(d, "tEXt", body, 0x7FFFFFFF);
  return d;
}

// A PNG header of 6000 x 6000 pixels (36 million: beyond the budget).
inline Bytes PngBeyondBudget() {
  Bytes d = PngStart(6000, 6000);
  PngChunk(d, "IEND", {}, 0);
  return d;
}

// A GIF of a 1 x 1 frame on a declared screen of w x h.
inline Bytes Gif(uint32_t screenW, uint32_t screenH, uint32_t frameW = 1, uint32_t frameH = 1) {
  Bytes d{'G', 'I', 'F', '8', '9', 'a'};
  Le16(d, screenW);
  Le16(d, screenH);
  d.insert(d.end(), {0x80, 0, 0});                    // a two-colour table follows
  d.insert(d.end(), {0, 0, 0, 0xFF, 0xFF, 0xFF});     // black, white
  d.insert(d.end(), {0x2C, 0, 0, 0, 0});              // image at 0, 0
  Le16(d, frameW);
  Le16(d, frameH);
  d.insert(d.end(), {0, 2, 2, 0x44, 0x01, 0, 0x3B});  // one pixel, then the trailer
  return d;
}

// 35 bytes: a 7710 x 7966 screen (a quarter-gigabyte image, then copies).
inline Bytes GifHugeScreen() { return Gif(7710, 7966); }

// A BMP header of 5000 x 5000 at 24 bits with a few bytes of pixels.
inline Bytes BmpRowsBeyondData() {
  Bytes d{'B', 'M'};
  Le32(d, 0);
  Le32(d, 0);
  Le32(d, 54);
  Le32(d, 40);
  Le32(d, 5000);
  Le32(d, 5000);
  Le16(d, 1);
  Le16(d, 24);
  for (int i = 0; i < 6; ++i) Le32(d, 0);
  d.resize(d.size() + 64, 0x80);
  return d;
}

// A JPEG whose frame declares 6000 x 6000 pixels, cut off after its headers.
inline Bytes JpegBeyondBudget() {
  Bytes d{0xFF, 0xD8};
  d.insert(d.end(), {0xFF, 0xC0, 0, 11, 8, 0x17, 0x70, 0x17, 0x70, 1, 1, 0x11, 0});  // SOF0, one component
  d.insert(d.end(), {0xFF, 0xD9});
  return d;
}

// Every bomb with a name, for tables of cases.
inline std::vector<std::pair<std::string, Bytes>> All() {
  return {{"png text chunk of 2 GiB", PngHugeTextChunk()},
          {"png beyond the pixel budget", PngBeyondBudget()},
          {"gif screen of 7710 x 7966", GifHugeScreen()},
          {"gif frame of 7710 x 7966", Gif(1, 1, 7710, 7966)},
          {"bmp rows beyond the data", BmpRowsBeyondData()},
          {"jpeg frame beyond the pixel budget", JpegBeyondBudget()}};
}

}  // namespace picture_bombs
