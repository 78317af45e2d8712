// Picture formats: decodes compared with ImageMagick's decode of the same
// file, round trips, the format registry, and hostile files.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/rtl/Streams.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/GifImage.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/JpegImage.h"
#include "platform/vcl/PngImage.h"
#include "tests/support/PictureBombs.h"

namespace fs = std::filesystem;

namespace {

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    char tmpl[] = "/tmp/ryx-pictures-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    Dir = tmpl;
  }
  void TearDown() override { fs::remove_all(Dir); }

  std::string Path(const std::string& name) const { return (Dir / name).string(); }
  void Run(const std::string& command) const {
    ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
  }
  // ImageMagick's decode of the first picture (or of frame), flattened on white.
  std::vector<uint8_t> Reference(const std::string& file, int frame, int* w, int* h) const {
    std::string in = Path(file) + "[" + std::to_string(frame) + "]";
    std::string size = Path("size.txt"), raw = Path("ref.rgb");
    Run("identify -format '%w %h' '" + in + "' > '" + size + "'");
    std::ifstream s(size);
    s >> *w >> *h;
    Run("convert '" + in + "' -background white -alpha remove -alpha off -depth 8 'rgb:" + raw + "'");
    std::ifstream r(raw, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(r), {});
  }
  TBytes Read(const std::string& file) const {
    std::ifstream r(Path(file), std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(r), {});
  }
  void Write(const std::string& file, const TBytes& data) const {
    std::ofstream w(Path(file), std::ios::binary);
    w.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  }
  // Our decode drawn on white, as RGB bytes.
  static std::vector<uint8_t> Flattened(TGraphic* g) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(g->Width(), g->Height());
    b.Canvas()->Draw(0, 0, g);
    std::vector<uint8_t> out;
    for (int y = 0; y < b.Height(); ++y) {
      auto* row = static_cast<uint8_t*>(b.ScanLine(y));
      for (int x = 0; x < b.Width(); ++x) {
        out.push_back(row[3 * x + 2]);
        out.push_back(row[3 * x + 1]);
        out.push_back(row[3 * x]);
      }
    }
    return out;
  }
  static int MaxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return 1000;
    int m = 0;
    for (size_t i = 0; i < a.size(); ++i) m = std::max(m, std::abs(int(a[i]) - int(b[i])));
    return m;
  }
  fs::path Dir;
};

struct DecodeCase {
  const char* File;
  const char* Make;  // convert arguments before the output file
  int Frame;         // ImageMagick's index of the picture we show
  const char* Class;
  int Tolerance;
};

TEST_F(Pictures, DecodesMatchImageMagick) {
  const std::string scene = "-size 37x23 gradient:red-blue -fill white -draw 'circle 10,10 14,14' -fill black -draw 'line 0,22 36,0'";
  const DecodeCase cases[] = {
      {"photo.bmp", "BMP3:", 0, "TBitmap", 0},
      {"palette.bmp", "-type Palette -colors 16 BMP3:", 0, "TBitmap", 0},
      {"alpha.bmp", "-alpha set -channel A -fx 'i/w' +channel -define bmp:format=bmp4 BMP:", 0, "TBitmap", 2},
      {"photo.png", "PNG24:", 0, "TPngImage", 0},
      {"alpha.png", "-alpha set -channel A -fx 'i/w' +channel PNG32:", 0, "TPngImage", 2},
      // The PNG reader's conversions: palette with transparency, grey with
      // and without alpha, one bit per pixel, 16 bits per channel, interlaced.
      {"palette-alpha.png", "-alpha set -channel A -fx 'i>18?1:0' +channel -colors 16 PNG8:", 0, "TPngImage", 2},
      {"gray.png", "-colorspace Gray -define png:color-type=0 -define png:bit-depth=8 PNG:", 0, "TPngImage", 0},
      {"gray-alpha.png", "-colorspace Gray -alpha set -channel A -fx 'i/w' +channel -define png:color-type=4 PNG:", 0,
       "TPngImage", 2},
      {"bilevel.png", "-monochrome -define png:color-type=0 -define png:bit-depth=1 PNG:", 0, "TPngImage", 0},
      {"deep.png", "-alpha set -channel A -fx 'i/w' +channel PNG64:", 0, "TPngImage", 2},
      {"interlaced.png", "-interlace PNG PNG24:", 0, "TPngImage", 0},
      {"photo.jpg", "-quality 85 JPG:", 0, "TJPEGImage", 4},
      {"gray.jpg", "-colorspace Gray -quality 90 JPG:", 0, "TJPEGImage", 4},
      {"photo.gif", "GIF:", 0, "TGIFImage", 0},
      {"icon.ico", "-resize 32x32! -define icon:auto-resize=16,32,48 ICO:", 1, "TIcon", 2},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.File);
    Run("convert " + scene + " " + c.Make + "'" + Path(c.File) + "'");
    TPicture pic;
    pic.LoadFromFile(Utf8ToString(Path(c.File)));
    ASSERT_NE(pic.Graphic(), nullptr);
    // A 32-bit BMP keeps straight alpha, drawn as such once asked to.
    if (auto* b = dynamic_cast<TBitmap*>(pic.Graphic()); b && b->PixelFormat() == pf32bit) b->SetAlphaFormat(afDefined);
    EXPECT_EQ(pic.Graphic()->ClassName(), Utf8ToString(c.Class));
    int w = 0, h = 0;
    auto ref = Reference(c.File, c.Frame, &w, &h);
    EXPECT_EQ(pic.Width(), w);
    EXPECT_EQ(pic.Height(), h);
    EXPECT_LE(MaxDifference(Flattened(pic.Graphic()), ref), c.Tolerance);
  }
}

TEST_F(Pictures, GifShowsTheFirstFrameAndCountsFrames) {
  Run("convert -size 6x5 xc:red xc:blue xc:lime -loop 0 '" + Path("anim.gif") + "'");
  TGIFImage gif;
  gif.LoadFromFile(Utf8ToString(Path("anim.gif")));
  EXPECT_EQ(gif.FrameCount(), 3);
  int w, h;
  EXPECT_EQ(MaxDifference(Flattened(&gif), Reference("anim.gif", 0, &w, &h)), 0);
  TBytes saved;
  gif.SaveToBytes(saved);
  EXPECT_EQ(saved, Read("anim.gif"));
}

TEST_F(Pictures, RoundTrips) {
  Run("convert -size 19x7 gradient:yellow-navy -alpha set -channel A -fx 'j/h' +channel PNG32:'" + Path("src.png") + "'");
  TPngImage png;
  png.LoadFromFile(Utf8ToString(Path("src.png")));
  auto original = Flattened(&png);

  // BMP, 24 and 32 bits: exact pixels back; PNG: alpha kept; JPEG: close.
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    TBitmap b;
    b.SetPixelFormat(pf);
    b.SetSize(png.Width(), png.Height());
    b.Canvas()->Draw(0, 0, &png);
    auto drawn = Flattened(&b);
    b.SaveToFile(Utf8ToString(Path("out.bmp")));
    TBitmap back;
    back.LoadFromFile(Utf8ToString(Path("out.bmp")));
    EXPECT_EQ(back.PixelFormat(), pf);
    EXPECT_EQ(MaxDifference(Flattened(&back), drawn), 0) << pf;
    if (pf == pf24bit) {
      int w, h;
      EXPECT_EQ(MaxDifference(Reference("out.bmp", 0, &w, &h), drawn), 0);
    }
  }
  png.SaveToFile(Utf8ToString(Path("out.png")));
  TPngImage png2;
  png2.LoadFromFile(Utf8ToString(Path("out.png")));
  EXPECT_LE(MaxDifference(Flattened(&png2), original), 1);
  int w, h;
  EXPECT_LE(MaxDifference(Reference("out.png", 0, &w, &h), original), 2);

  TJPEGImage jpg;
  jpg.Assign(&png);
  jpg.SetCompressionQuality(95);
  jpg.SaveToFile(Utf8ToString(Path("out.jpg")));
  TJPEGImage jpg2;
  jpg2.LoadFromFile(Utf8ToString(Path("out.jpg")));
  EXPECT_EQ(jpg2.Width(), 19);
  EXPECT_LE(MaxDifference(Flattened(&jpg2), Flattened(&jpg)), 24);
  EXPECT_LE(MaxDifference(Reference("out.jpg", 0, &w, &h), Flattened(&jpg2)), 4);

  // Streams: read from the position on, by content.
  TMemoryStream stream;
  stream.WriteBuffer("junk", 4);
  png.SaveToStream(&stream);
  stream.SetPosition(4);
  TPicture fromStream;
  fromStream.LoadFromStream(&stream);
  EXPECT_EQ(fromStream.Graphic()->ClassName(), u"TPngImage");
  EXPECT_EQ(MaxDifference(Flattened(fromStream.Graphic()), Flattened(&png)), 0);

  // An icon made from pixels saves and reads back.
  Run("convert -size 16x16 xc:orange -define icon:auto-resize=16 ICO:'" + Path("i.ico") + "'");
  TIcon icon;
  icon.LoadFromFile(Utf8ToString(Path("i.ico")));
  EXPECT_EQ(icon.Width(), 16);
  TIcon fromHandle;
  fromHandle.SetHandle(CopyIcon(icon.Handle()));
  fromHandle.SaveToFile(Utf8ToString(Path("o.ico")));
  TIcon back;
  back.LoadFromFile(Utf8ToString(Path("o.ico")));
  EXPECT_EQ(MaxDifference(Flattened(&back), Flattened(&icon)), 0);
}

TEST_F(Pictures, RegistryPicksByContentThenExtension) {
  Run("convert -size 5x4 xc:green PNG24:'" + Path("really-png.bmp") + "'");
  TPicture pic;
  pic.LoadFromFile(Utf8ToString(Path("really-png.bmp")));
  EXPECT_EQ(pic.Graphic()->ClassName(), u"TPngImage");
  Write("notes.xyz", {'h', 'e', 'l', 'l', 'o'});
  try {
    pic.LoadFromFile(Utf8ToString(Path("notes.xyz")));
    FAIL() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), u"Unknown picture file extension (.xyz)");
  }
  EXPECT_THROW(pic.LoadFromFile(Utf8ToString(Path("missing.png"))), EFOpenError);
  // Picture.Bitmap turns another graphic into an empty bitmap; Assign copies.
  TPicture other;
  other.Assign(&pic);
  EXPECT_EQ(other.Graphic()->ClassName(), u"TPngImage");
  EXPECT_EQ(other.Width(), 5);
  EXPECT_NE(other.Graphic(), pic.Graphic());
  TBitmap* b = other.Bitmap();
  EXPECT_TRUE(b->Empty());
  // A registered class of our own is found by its signature.
  struct TDummy : TBitmap {};
  TPicture::RegisterFileFormat<TDummy>(u"dmy", u"Dummy", [](const TBytes& d) { return d.size() > 3 && d[0] == 'D' && d[1] == 'M'; });
  EXPECT_NE(TPicture::FindExtension(u"DMY"), nullptr);
  EXPECT_NE(TPicture::FindByContent({'D', 'M', 'Y', '!'}), nullptr);
  TPicture::UnregisterGraphicClass(ClassNameOf(typeid(TDummy)));
  EXPECT_EQ(TPicture::FindExtension(u"dmy"), nullptr);
}

uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

void Put32BE(TBytes& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + size_t(i)] = uint8_t(v >> (24 - 8 * i));
}

TEST_F(Pictures, HostileFilesLoadEmptyOrRaise) {
  Run("convert -size 40x30 gradient:red-blue BMP3:'" + Path("h.bmp") + "'");
  Run("convert -size 40x30 gradient:red-blue PNG24:'" + Path("h.png") + "'");
  Run("convert -size 40x30 gradient:red-blue -quality 80 JPG:'" + Path("h.jpg") + "'");
  Run("convert -size 40x30 gradient:red-blue GIF:'" + Path("h.gif") + "'");
  Run("convert -size 32x32 gradient:red-blue -define icon:auto-resize=16,32 ICO:'" + Path("h.ico") + "'");

  std::vector<std::pair<std::string, TBytes>> hostile;
  for (std::string f : {"h.bmp", "h.png", "h.jpg", "h.gif", "h.ico"}) {
    TBytes d = Read(f);
    hostile.push_back({f + " truncated", TBytes(d.begin(), d.begin() + std::ptrdiff_t(d.size() / 2))});
    hostile.push_back({f + " header only", TBytes(d.begin(), d.begin() + 8)});
  }
  TBytes bmp = Read("h.bmp");
  bmp[18] = 0xA0;  // width 0x000186A0 = 100000
  bmp[19] = 0x86;
  bmp[20] = 0x01;
  hostile.push_back({"bmp huge width", bmp});
  TBytes png = Read("h.png");
  Put32BE(png, 16, 70000);  // IHDR width and height, CRC kept valid
  Put32BE(png, 20, 70000);
  Put32BE(png, 29, Crc32(png.data() + 12, 17));
  hostile.push_back({"png huge", png});
  TBytes gif = Read("h.gif");
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // logical screen 65535 x 65535
  hostile.push_back({"gif huge screen", gif});
  TBytes jpg = Read("h.jpg");
  for (size_t i = 2; i + 8 < jpg.size(); ++i)
    if (jpg[i] == 0xFF && (jpg[i + 1] == 0xC0 || jpg[i + 1] == 0xC2)) {
      jpg[i + 5] = jpg[i + 6] = jpg[i + 7] = jpg[i + 8] = 0xFF;  // 65535 x 65535
      break;
    }
  hostile.push_back({"jpg huge frame", jpg});
  TBytes ico = Read("h.ico");
  TBytes manyIcons = ico;
  manyIcons[4] = 0xFF;  // 255 entries announced, two present
  hostile.push_back({"ico many entries", manyIcons});
  TBytes badOffset = ico;
  badOffset[6 + 12] = badOffset[6 + 13] = badOffset[6 + 14] = 0xFF;  // first entry far outside
  badOffset[6 + 16 + 12] = badOffset[6 + 16 + 13] = badOffset[6 + 16 + 14] = 0xFF;
  hostile.push_back({"ico bad offsets", badOffset});
  hostile.push_back({"png magic only", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}});
  hostile.push_back({"ico magic only", {0, 0, 1, 0}});
  hostile.push_back({"cursor magic only", {0, 0, 2, 0}});
  hostile.push_back({"jpeg magic and junk", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0x13, 0x37}});

  for (auto& [name, data] : hostile) {
    SCOPED_TRACE(name);
    TPicture pic;
    bool raised = false;
    try {
      pic.LoadFromBytes(data);
    } catch (const EInvalidGraphic&) {
      raised = true;
    }
    // A class's reader may be handed another format's bytes.
    try {
      TPngImage().LoadFromBytes(data);
    } catch (const EInvalidGraphic&) {
    }
    EXPECT_TRUE(raised || !pic.Graphic() || pic.Graphic()->Empty() || pic.Width() <= 16384);
    EXPECT_LE(pic.Width(), 16384);
    EXPECT_LE(pic.Height(), 16384);
  }
  // Sizes under the dimension cap but beyond the decode budget are refused
  // too: a cut-off JPEG would otherwise fill a gigabyte of grey.
  TBytes bigJpg = Read("h.jpg");
  for (size_t i = 2; i + 8 < bigJpg.size(); ++i)
    if (bigJpg[i] == 0xFF && (bigJpg[i + 1] == 0xC0 || bigJpg[i + 1] == 0xC2)) {
      bigJpg[i + 5] = bigJpg[i + 7] = 0x3E;  // 16000 x 16000
      bigJpg[i + 6] = bigJpg[i + 8] = 0x80;
      break;
    }
  for (size_t i = 2; i + 4 < bigJpg.size(); ++i)
    if (bigJpg[i] == 0xFF && bigJpg[i + 1] == 0xDA) {
      bigJpg.resize(i + 2 + size_t((bigJpg[i + 2] << 8) | bigJpg[i + 3]) + 16);  // headers and a little scan data
      break;
    }
  TJPEGImage bigJpeg;
  EXPECT_THROW(bigJpeg.LoadFromBytes(bigJpg), EInvalidGraphic);
  EXPECT_TRUE(bigJpeg.Empty());
  // A failed load leaves the graphic empty, not half-filled.
  TPngImage png2;
  png2.LoadFromFile(Utf8ToString(Path("h.png")));
  EXPECT_FALSE(png2.Empty());
  EXPECT_THROW(png2.LoadFromBytes(png), EInvalidGraphic);
  EXPECT_TRUE(png2.Empty());
}

// Files that declare more than they hold, or more pixels than the budget,
// are refused before any decoder allocates for them, whatever the class or
// the file name that reaches them.
// A picture class decodes its own format only: no other decoder of the toolkit
// is asked (asking them would load every image plugin and the libraries
// behind them), so another format's bytes are refused.
TEST_F(Pictures, EachClassDecodesOnlyItsOwnFormat) {
  Run("convert -size 12x7 gradient:red-blue PNG24:'" + Path("o.png") + "'");
  Run("convert -size 12x7 gradient:red-blue GIF:'" + Path("o.gif") + "'");
  Run("convert -size 12x7 gradient:red-blue BMP3:'" + Path("o.bmp") + "'");
  const bool svgBefore = ::dlopen("libQt6Svg.so.6", RTLD_NOW | RTLD_NOLOAD) != nullptr;
  TPngImage png;
  png.LoadFromBytes(Read("o.png"));
  EXPECT_EQ(png.Width(), 12);
  TBitmap bmp;
  bmp.LoadFromBytes(Read("o.bmp"));
  EXPECT_EQ(bmp.Width(), 12);
  if (!svgBefore) {
    EXPECT_EQ(::dlopen("libQt6Svg.so.6", RTLD_NOW | RTLD_NOLOAD), nullptr);
  }
  EXPECT_THROW(png.LoadFromBytes(Read("o.gif")), EInvalidGraphic);
  EXPECT_THROW(png.LoadFromBytes(Read("o.bmp")), EInvalidGraphic);
  TGIFImage gif;
  EXPECT_THROW(gif.LoadFromBytes(Read("o.png")), EInvalidGraphic);
}

TEST_F(Pictures, DeclaredSizesBeyondTheDataOrTheBudgetAreRefused) {
  for (const auto& [name, data] : picture_bombs::All()) {
    SCOPED_TRACE(name);
    TPicture pic;
    EXPECT_THROW(pic.LoadFromBytes(data), EInvalidGraphic);
    for (const char* ext : {".png", ".bmp", ".jpg", ".gif"}) {
      Write(std::string("bomb") + ext, data);
      EXPECT_THROW(pic.LoadFromFile(Utf8ToString(Path(std::string("bomb") + ext))), EInvalidGraphic) << ext;
    }
  }
  TPngImage png;
  EXPECT_THROW(png.LoadFromBytes(picture_bombs::PngHugeTextChunk()), EInvalidGraphic);
  TGIFImage gif;
  EXPECT_THROW(gif.LoadFromBytes(picture_bombs::GifHugeScreen()), EInvalidGraphic);
  EXPECT_TRUE(gif.Empty());
  // The same shapes within the budget still load.
  gif.LoadFromBytes(picture_bombs::Gif(3, 2));
  EXPECT_EQ(gif.Width(), 3);
  EXPECT_EQ(gif.Height(), 2);
}

}  // namespace
