// TAdvUtils on pictures: Base64 and hex round trips, format recognition,
// JPEG conversion, and damaged or foreign input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/GifImage.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/JpegImage.h"
#include "platform/vcl/PngImage.h"
#include "tests/support/TestUtil.h"

using test_support::MessageOf;

namespace {

struct TBGRA {
  Byte B, G, R, A;
};

// A 32-bit bitmap whose pixels come from pixel(x, y).
std::unique_ptr<TBitmap> MakeBitmap(Integer w, Integer h, const std::function<TBGRA(Integer, Integer)>& pixel,
                                    TAlphaFormat alpha = afIgnored) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  b->SetAlphaFormat(alpha);
  for (Integer y = 0; y < h; ++y) {
    auto* row = static_cast<TBGRA*>(b->ScanLine(y));
    for (Integer x = 0; x < w; ++x) row[x] = pixel(x, y);
  }
  return b;
}

// Distinct colours per pixel, so a swapped row or channel shows.
TBGRA Pattern(Integer x, Integer y) { return {Byte(40 * x), Byte(60 * y), Byte(200 - 20 * x - 10 * y), 255}; }

std::unique_ptr<TPicture> PictureOf(TGraphic* g) {
  auto p = std::make_unique<TPicture>();
  p->SetGraphic(g);
  return p;
}

TBytes Saved(TGraphic* g) {
  TBytes d;
  g->SaveToBytes(d);
  return d;
}

TBytes StreamBytes(TStream* s) {
  TBytes d;
  s->SetPosition(0);
  s->ReadBuffer(d, Integer(s->Size()));
  return d;
}

// The graphic drawn on a 24-bit bitmap, as 0x00BBGGRR per pixel.
TColor PixelOf(TGraphic* g, Integer x, Integer y) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.Assign(g);
  return b.Canvas()->Pixels(x, y);
}

bool Near(TColor a, TColor b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

// An ICO file holding one PNG picture.
TBytes IconHolding(const TBytes& png, Byte size) {
  TBytes ico = {0, 0, 1, 0, 1, 0, size, size, 0, 0, 1, 0, 32, 0};
  const uint32_t length = uint32_t(png.size()), offset = 22;
  for (int i = 0; i < 4; ++i) ico.push_back(Byte(length >> (8 * i)));
  for (int i = 0; i < 4; ++i) ico.push_back(Byte(offset >> (8 * i)));
  ico.insert(ico.end(), png.begin(), png.end());
  return ico;
}

// A format with no signature of its own, to stand for a class the layer does not know.
class TForeignGraphic : public TGraphic {
 public:
  bool Empty() const override { return false; }
  Integer Width() const override { return 2; }
  Integer Height() const override { return 2; }
  void Draw(TCanvas*, const TRect&) override {}
  void LoadFromBytes(const TBytes& data) override { FData = data; }
  void SaveToBytes(TBytes& data) override { data = FData.empty() ? TBytes{'X', 'Y', 'Z', 'W', 1, 2} : FData; }
  void Assign(TPersistent* Source) override {
    if (auto* f = dynamic_cast<TForeignGraphic*>(Source)) FData = f->FData;
  }
  TBytes FData;
};

class AdvUtilsPictures : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
  void TearDown() override {
    TPicture::UnregisterGraphicClass(u"TForeignGraphic");
  }
};

// Every format the layer writes comes back through both texts as the same class, size and pixels.
TEST_F(AdvUtilsPictures, RoundTripThroughBase64AndHex) {
  auto bitmap = MakeBitmap(5, 3, Pattern);
  TPngImage png;
  png.Assign(bitmap.get());
  // No GIF writer here: a 1 x 1 red GIF made by hand.
  TGIFImage gif;
  gif.LoadFromBytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
                     0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B});
  TJPEGImage jpeg;
  jpeg.Assign(bitmap.get());
  TIcon icon;
  icon.LoadFromBytes(IconHolding(Saved(&png), 5));

  struct TCase {
    TGraphic* Graphic;
    const char16_t* Class;
    const char16_t* Type;
    int Tolerance;  // JPEG is lossy
  };
  for (const TCase& c : {TCase{bitmap.get(), u"TBitmap", u".bmp", 0}, TCase{&png, u"TPngImage", u".png", 0},
                         TCase{&gif, u"TGIFImage", u".gif", 0}, TCase{&jpeg, u"TJPEGImage", u".jpg", 40},
                         TCase{&icon, u"TIcon", u".unknown", 0}}) {
    SCOPED_TRACE(StringToUtf8(c.Class));
    auto original = PictureOf(c.Graphic);
    EXPECT_EQ(TAdvUtils::GetImageType(original.get()), c.Type);

    const String base64 = TAdvUtils::SaveBitmapToBase64(original.get());
    const String base64Url = TAdvUtils::SaveBitmapToBase64(original.get(), true);
    const String hex = TAdvUtils::SaveBitmapToHexStr(original.get());
    EXPECT_EQ(TAdvUtils::Decode64ToBytes(base64), Saved(c.Graphic));
    EXPECT_EQ(base64Url.find_first_of(u"+/="), String::npos);

    std::vector<std::unique_ptr<TPicture>> copies;
    copies.push_back(TAdvUtils::CreateBitmapFromBase64(base64));
    copies.push_back(TAdvUtils::CreateBitmapFromBase64(base64Url, true));
    copies.push_back(TAdvUtils::CreateBitmapFromBase64(u"data:image/x;base64," + base64));
    copies.push_back(TAdvUtils::CreateBitmapFromHexStr(hex));
    for (const auto& copy : copies) {
      ASSERT_NE(copy->Graphic(), nullptr);
      EXPECT_EQ(copy->Graphic()->ClassName(), c.Class);
      EXPECT_EQ(copy->Width(), c.Graphic->Width());
      EXPECT_EQ(copy->Height(), c.Graphic->Height());
      for (auto [x, y] : {std::pair{0, 0}, {4, 0}, {2, 1}, {0, 2}, {4, 2}}) {
        if (x >= c.Graphic->Width() || y >= c.Graphic->Height()) continue;
        EXPECT_TRUE(Near(PixelOf(copy->Graphic(), x, y), PixelOf(c.Graphic, x, y), c.Tolerance)) << x << "," << y;
      }
    }
  }
}

TEST_F(AdvUtilsPictures, EmptyPicturesGiveEmptyTextAndEmptyTextLoadsNothing) {
  TPicture none;
  TBitmap emptyBitmap;
  auto empty = PictureOf(&emptyBitmap);
  for (TPicture* p : {&none, empty.get(), static_cast<TPicture*>(nullptr)}) {
    EXPECT_EQ(TAdvUtils::SaveBitmapToBase64(p), u"");
    EXPECT_EQ(TAdvUtils::SaveBitmapToHexStr(p), u"");
    EXPECT_EQ(TAdvUtils::GetImageType(p), u"");
  }
  auto bitmap = MakeBitmap(2, 2, Pattern);
  auto kept = PictureOf(bitmap.get());
  TAdvUtils::LoadBitmapFromBase64(u"", kept.get());
  TAdvUtils::LoadBitmapFromBase64(u"data:image/png;base64,", kept.get());
  TAdvUtils::LoadBitmapFromHexStr(u"", kept.get());
  EXPECT_EQ(kept->Width(), 2);
  EXPECT_EQ(TAdvUtils::CreateBitmapFromBase64(u"")->Graphic(), nullptr);
  EXPECT_EQ(TAdvUtils::CreateBitmapFromHexStr(u"")->Graphic(), nullptr);
}

TEST_F(AdvUtilsPictures, FindGraphicClassByFirstBytes) {
  auto emf = TBytes(44, 0);
  emf[0] = 1;
  emf[40] = ' ', emf[41] = 'E', emf[42] = 'M', emf[43] = 'F';
  struct TCase {
    TBytes Bytes;
    const char16_t* Class;  // nullptr: none
  };
  const TCase cases[] = {
      {{'B', 'M'}, u"TBitmap"},
      {{0xFF, 0xD8}, u"TJPEGImage"},
      {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, u"TPngImage"},
      {{'G', 'I', 'F'}, u"TGIFImage"},
      {{0, 0, 1, 0}, u"TIcon"},
      {{'?', '?', 1, 0}, u"TIcon"},  // only the second word counts
      {{'I', 'I', 42, 0}, nullptr},  // TIFF and metafiles: no class registered for them here
      {{'M', 'M', 0, 42}, nullptr},
      {{0xD7, 0xCD, 0xC6, 0x9A}, nullptr},
      {emf, nullptr},
      {{0x89, 'P', 'N', 'G'}, nullptr},  // a cut signature is no PNG
      {{'B'}, nullptr},
      {{'G', 'I'}, nullptr},
      {{0, 0, 1}, nullptr},
      {{1, 2, 3, 4, 5, 6}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(StringToUtf8(TAdvUtils::BytesToHexStr(c.Bytes.data(), c.Bytes.size())));
    const TGraphicClass* cls = reinterpret_cast<const TGraphicClass*>(1);
    const bool found = TAdvUtils::FindGraphicClass(c.Bytes.data(), Int64(c.Bytes.size()), cls);
    EXPECT_EQ(found, c.Class != nullptr);
    if (c.Class) {
      ASSERT_NE(cls, nullptr);
      EXPECT_EQ(cls->ClassName, c.Class);
    } else {
      EXPECT_EQ(cls, nullptr);
    }
  }
  // The size given is what counts, not the bytes behind it.
  const TBytes bm = {'B', 'M'};
  const TGraphicClass* cls = nullptr;
  EXPECT_FALSE(TAdvUtils::FindGraphicClass(bm.data(), 1, cls));
  EXPECT_FALSE(TAdvUtils::FindGraphicClass(bm.data(), 0, cls));
  EXPECT_FALSE(TAdvUtils::FindGraphicClass(bm.data(), -5, cls));
  EXPECT_FALSE(TAdvUtils::FindGraphicClass(nullptr, 2, cls));

  // Once a class is registered for TIFF or metafiles, their signatures find it.
  TPicture::RegisterFileFormat<TForeignGraphic>(u"tif", u"TIFF");
  TPicture::RegisterFileFormat<TForeignGraphic>(u"emf", u"Metafile");
  for (const TBytes& d : {TBytes{'I', 'I', 42, 0}, TBytes{'M', 'M', 0, 42}, TBytes{0xD7, 0xCD, 0xC6, 0x9A}, emf}) {
    ASSERT_TRUE(TAdvUtils::FindGraphicClass(d.data(), Int64(d.size()), cls));
    EXPECT_EQ(cls->ClassName, u"TForeignGraphic");
  }
}

TEST_F(AdvUtilsPictures, ConvertBitmapToJPEGStream) {
  // Noise compresses very differently at low and high quality.
  auto noise = MakeBitmap(48, 48, [](Integer x, Integer y) {
    const unsigned v = unsigned(x * 7919 + y * 104729) * 2654435761u;
    return TBGRA{Byte(v >> 8), Byte(v >> 16), Byte(v >> 24), 255};
  });
  auto picture = PictureOf(noise.get());
  auto low = TAdvUtils::ConvertBitmapToJPEGStream(picture.get(), 0.1f, clNone);
  auto high = TAdvUtils::ConvertBitmapToJPEGStream(picture.get(), 1.0f, clNone);
  ASSERT_TRUE(low && high);
  EXPECT_EQ(low->Position(), 0);
  EXPECT_LT(low->Size() * 2, high->Size());
  TJPEGImage decoded;
  decoded.LoadFromBytes(StreamBytes(high.get()));
  EXPECT_EQ(decoded.Width(), 48);
  EXPECT_EQ(decoded.Height(), 48);

  // Transparent pixels take the background colour; clNone and -1 mean white.
  auto half = MakeBitmap(8, 8, [](Integer x, Integer) { return x < 4 ? TBGRA{0, 0, 0, 0} : TBGRA{0, 0, 255, 255}; },
                         afDefined);
  TPngImage png;
  png.Assign(half.get());
  auto pngPicture = PictureOf(&png);
  for (auto [background, expected] : {std::pair{clBlue, clBlue}, {clNone, clWhite}, {TColor(-1), clWhite}, {clLime, clLime}}) {
    auto jpeg = TAdvUtils::ConvertBitmapToJPEGStream(pngPicture.get(), 0.9f, background);
    ASSERT_TRUE(jpeg);
    TJPEGImage out;
    out.LoadFromBytes(StreamBytes(jpeg.get()));
    EXPECT_TRUE(Near(PixelOf(&out, 1, 4), expected, 24)) << std::hex << PixelOf(&out, 1, 4);
    EXPECT_TRUE(Near(PixelOf(&out, 6, 4), clRed, 24)) << std::hex << PixelOf(&out, 6, 4);
  }

  // A JPEG is passed through byte for byte, whatever the quality asked.
  TJPEGImage jpeg;
  jpeg.Assign(noise.get());
  auto jpegPicture = PictureOf(&jpeg);
  auto copy = TAdvUtils::ConvertBitmapToJPEGStream(jpegPicture.get(), 5.0f, clNone);
  ASSERT_TRUE(copy);
  EXPECT_EQ(StreamBytes(copy.get()), Saved(&jpeg));
}

TEST_F(AdvUtilsPictures, ConvertBitmapToJPEGStreamRefusals) {
  auto bitmap = MakeBitmap(4, 4, Pattern);
  auto picture = PictureOf(bitmap.get());
  for (Single quality : {0.0f, 0.004f, 1.006f, -1.0f})
    EXPECT_EQ(MessageOf([&] { TAdvUtils::ConvertBitmapToJPEGStream(picture.get(), quality, clNone); }),
              u"ERangeError: Range check error")
        << quality;
  EXPECT_TRUE(TAdvUtils::ConvertBitmapToJPEGStream(picture.get(), 0.006f, clNone));  // rounds to 1
  EXPECT_TRUE(TAdvUtils::ConvertBitmapToJPEGStream(picture.get(), 1.004f, clNone));  // rounds to 100

  TPicture none;
  TBitmap emptyBitmap;
  auto empty = PictureOf(&emptyBitmap);
  TPicture::RegisterFileFormat<TForeignGraphic>(u"xyz", u"Foreign");
  TForeignGraphic foreign;
  auto unknown = PictureOf(&foreign);
  for (TPicture* p : {static_cast<TPicture*>(nullptr), &none, empty.get(), unknown.get()})
    EXPECT_EQ(TAdvUtils::ConvertBitmapToJPEGStream(p, 0.8f, clNone), nullptr);
}

// Damaged and foreign text raises the picture's error and leaves the picture as it was.
TEST_F(AdvUtilsPictures, HostileTextKeepsThePicture) {
  auto bitmap = MakeBitmap(3, 3, Pattern);
  TPngImage png;
  png.Assign(bitmap.get());
  const TBytes pngBytes = Saved(&png);
  const TBytes cutPng(pngBytes.begin(), pngBytes.begin() + Integer(pngBytes.size() / 2));
  TJPEGImage jpeg;
  jpeg.Assign(MakeBitmap(16, 16, Pattern).get());
  const TBytes jpegBytes = Saved(&jpeg);
  const TBytes cutJpeg(jpegBytes.begin(), jpegBytes.begin() + 20);
  auto b64 = [](const TBytes& d) { return TAdvUtils::EncodeBytesToBase64(d.data(), d.size(), false); };
  auto hex = [](const TBytes& d) { return TAdvUtils::BytesToHexStr(d.data(), d.size()); };

  struct TCase {
    const char* Name;
    std::function<void(TPicture*)> Load;
    const char16_t* ErrorClass;  // nullptr: nothing raised
  };
  const TCase cases[] = {
      {"Base64 noise", [](TPicture* p) { TAdvUtils::LoadBitmapFromBase64(u"!!not*base64#at~all", p); }, u"EInvalidGraphic"},
      {"Base64 of a cut PNG", [&](TPicture* p) { TAdvUtils::LoadBitmapFromBase64(b64(cutPng), p); }, u"EInvalidGraphic"},
      {"Base64 of a cut JPEG", [&](TPicture* p) { TAdvUtils::LoadBitmapFromBase64(b64(cutJpeg), p); }, u"EInvalidGraphic"},
      {"Base64 of unknown bytes", [&](TPicture* p) { TAdvUtils::LoadBitmapFromBase64(b64({1, 2, 3, 4, 5}), p); },
       u"EInvalidGraphic"},
      {"hex with a bad digit", [](TPicture* p) { TAdvUtils::LoadBitmapFromHexStr(u"424DZZ", p); }, u"EConvertError"},
      {"hex of a cut PNG", [&](TPicture* p) { TAdvUtils::LoadBitmapFromHexStr(hex(cutPng), p); }, u"EInvalidGraphic"},
      {"hex of a cut BMP", [&](TPicture* p) { TAdvUtils::LoadBitmapFromHexStr(u"424D0000", p); }, u"EInvalidGraphic"},
      {"hex of unknown bytes", [](TPicture* p) { TAdvUtils::LoadBitmapFromHexStr(u"0102030405", p); }, nullptr},
      {"hex of TIFF bytes", [](TPicture* p) { TAdvUtils::LoadBitmapFromHexStr(u"49492A00", p); }, nullptr},
      {"hex holding Base64 text",
       [&](TPicture* p) {
         const std::string text = "data:image/png;base64," + StringToUtf8(b64(pngBytes));
         TAdvUtils::LoadBitmapFromHexStr(hex(TBytes(text.begin(), text.end())), p);
       },
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto picture = PictureOf(bitmap.get());
    const String message = MessageOf([&] { c.Load(picture.get()); });
    if (c.ErrorClass) EXPECT_EQ(message.substr(0, message.find(u':')), c.ErrorClass) << StringToUtf8(message);
    else EXPECT_EQ(message, u"no exception");
    ASSERT_NE(picture->Graphic(), nullptr);
    EXPECT_EQ(picture->Graphic()->ClassName(), u"TBitmap");
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(PixelOf(picture->Graphic(), 1, 1), PixelOf(bitmap.get(), 1, 1));
  }
  // The Create forms free what they made and let the error through.
  EXPECT_EQ(MessageOf([&] { TAdvUtils::CreateBitmapFromBase64(b64(cutPng)); }).substr(0, 15), u"EInvalidGraphic");
  EXPECT_EQ(MessageOf([&] { TAdvUtils::CreateBitmapFromHexStr(hex(cutPng)); }).substr(0, 15), u"EInvalidGraphic");
  EXPECT_EQ(TAdvUtils::CreateBitmapFromHexStr(u"0102")->Graphic(), nullptr);
}

}  // namespace
