// Header readers against real files, truncated files and crafted headers.
#include "foundation/gdiplus/ImageSizeReaders.h"

#include <gtest/gtest.h>

#include <fstream>

#include "foundation/pictures/ZovIVIDPicture.h"
#include "platform/testing/GuiTestApp.h"
#include "tests/foundation/pictures/PictureSamples.h"

using namespace gdiplus;
using namespace picture_samples;

namespace {

using TReader = void (*)(TStream*, Word&, Word&);

std::pair<Word, Word> Read(TReader reader, const TBytes& data) {
  TBytesStream s(data);
  Word w = 7, h = 7;
  reader(&s, w, h);
  return {w, h};
}

TBytes Tiff(std::uint32_t w, std::uint32_t h) {
  TBytes t = {'I', 'I', 42, 0, 8, 0, 0, 0, 3, 0};
  auto entry = [&](Word tag, std::uint32_t v) {
    TBytes e = {Byte(tag), Byte(tag >> 8), 4, 0, 1, 0, 0, 0, Byte(v), Byte(v >> 8), Byte(v >> 16), Byte(v >> 24)};
    t.insert(t.end(), e.begin(), e.end());
  };
  entry(254, 0);
  entry(256, w);
  entry(257, h);
  return t;
}

}  // namespace

TEST(ImageSizeReaders, RealPicturesAndTheirTruncations) {
  EnsureGuiApplication();
  struct TCase {
    const char* Name;
    TReader Reader;
    TBytes Data;
  } cases[] = {
      {"jpeg", GetJPEGSize, Jpeg(33, 17)}, {"png", GetPNGSize, Png(33, 17)}, {"gif", GetGIFSize, Gif(33, 17)},
      {"bmp", GetBMPSize, Bmp(33, 17)},    {"tiff", GetTIFFSize, Tiff(33, 17)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.Reader, c.Data), std::make_pair(Word(33), Word(17))) << c.Name;
    // Every cut of the header: no size, never past the data.
    for (std::size_t cut = 0; cut < std::min<std::size_t>(c.Data.size(), 400); ++cut) {
      const auto got = Read(c.Reader, TBytes(c.Data.begin(), c.Data.begin() + long(cut)));
      EXPECT_TRUE(got == std::make_pair(Word(0), Word(0)) || got == std::make_pair(Word(33), Word(17)))
          << c.Name << " cut at " << cut;
    }
  }
  // From files, through the picture's choice by extension.
  const std::string path = std::string(::testing::TempDir()) + "size_reader.gif";
  const TBytes gif = Gif(32, 16);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(gif.data()), std::streamsize(gif.size()));
  Word w = 0, h = 0;
  GetGIFSize(Utf8ToString(path), w, h);
  EXPECT_EQ(w, 32);
  EXPECT_EQ(h, 16);
  GetPNGSize(Utf8ToString(path + ".missing"), w, h);
  EXPECT_EQ(w, 0);
}

TEST(ImageSizeReaders, CraftedHeadersEndWithoutASize) {
  struct TCase {
    const char* Name;
    TReader Reader;
    TBytes Data;
  } cases[] = {
      // A segment length of 0 or 1 would walk backwards for ever.
      {"jpeg length 0", GetJPEGSize, {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x00, 0xFF, 0xE0}},
      {"jpeg length 1", GetJPEGSize, {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01, 0xFF}},
      {"jpeg segment past the end", GetJPEGSize, {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 1, 2}},
      {"jpeg fill bytes only", GetJPEGSize, TBytes(4096, 0xFF)},
      {"jpeg restart markers only", GetJPEGSize, {0xFF, 0xD8, 0xFF, 0xD0, 0xD1, 0xD7, 0x01}},
      {"png wrong signature", GetPNGSize, TBytes(30, 0x89)},
      {"gif colour table past the end", GetGIFSize, {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87, 0, 0}},
      {"gif descriptor cut", GetGIFSize, {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x2C, 0, 0, 0}},
      {"bmp not BM", GetBMPSize, TBytes(30, 'B')},
      {"tiff directory past the end", GetTIFFSize, {'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F}},
      {"tiff count past the end", GetTIFFSize, {'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0xFF}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.Reader, c.Data), std::make_pair(Word(0), Word(0))) << c.Name;
  // Negative and oversized TIFF values are kept to 16 bits of their magnitude.
  EXPECT_EQ(Read(GetTIFFSize, Tiff(std::uint32_t(-5), 0x12345)), std::make_pair(Word(5), Word(0x2345)));
}

TEST(ImageSizeReaders, FillPictureSizesByFileName) {
  EnsureGuiApplication();
  const std::string base = std::string(::testing::TempDir()) + "fill_picture";
  const TBytes png = Png(12, 8);
  for (const char* ext : {".png", ".dat"}) {
    std::ofstream(base + ext, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  }
  TZovIVIDPicture p;
  p.LoadFromFile(Utf8ToString(base + ".png"));
  EXPECT_EQ(p.Width(), 12) << "from the header before any drawing";
  p.LoadFromFile(Utf8ToString(base + ".dat"));
  EXPECT_EQ(p.Width(), 0) << "unknown extension: no size until measured";
  EXPECT_TRUE(p.GetImageSizes());
  EXPECT_EQ(p.Height(), 8);
}
