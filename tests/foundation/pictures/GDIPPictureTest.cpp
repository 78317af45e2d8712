// The button picture: format choice by content, the stored form Data, loads
// from files, resources and addresses, and drawing raw pictures.
#include "foundation/pictures/GDIPPicture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/LookFlags.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/TempHome.h"
#include "tests/foundation/pictures/PictureSamples.h"

using namespace gdiplus;
using namespace picture_samples;

namespace {

class GDIPPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitializeGdiplusUnit();
  }
  String TempFile(const char* name, const TBytes& data) {
    const std::string path = std::string(::testing::TempDir()) + "gdippicture_" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return Utf8ToString(path);
  }
  static TBytes Saved(TGDIPPicture& p) {
    TBytes out;
    p.SaveToBytes(out);
    return out;
  }
  static TBytes Written(TGDIPPicture& p) {
    TBytesStream s;
    p.WriteData(&s);
    return s.Bytes();
  }
};

TBytes Svg(std::size_t size) {
  std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 24 24\">";
  const std::string tail = "</svg>";
  text.append(size - text.size() - tail.size(), ' ');
  return Text(text + tail);
}

}  // namespace

TEST_F(GDIPPictureTest, FormatByMagicBytes) {
  auto padded = [](TBytes head) {
    head.resize(std::max<std::size_t>(head.size(), 44), 0xAA);
    return head;
  };
  struct TCase {
    const char* Name;
    TBytes Data;
    TPictureFormat Expected;
  } cases[] = {
      {"png", Png(4, 4), pfPNG},
      {"jpeg", Jpeg(4, 4), pfJPG},
      {"gif", Gif(4, 4), pfGIF},
      {"bmp", Bmp(4, 4), pfBMP},
      {"ico", padded({0, 0, 1, 0, 1, 0}), pfICO},
      {"tiff II", padded({'I', 'I', 0x2A, 0}), pfTiff},
      {"tiff MM", padded({'M', 'M', 0, 0x2A}), pfTiff},
      {"II not tiff stops", padded({'I', 'I', 0x2B, 0, 0x01, 0}), pfNone},
      {"placeable metafile", padded({0xD7, 0xCD, 0xC6, 0x9A}), pfMetaFile},
      {"emf", [] { TBytes d(44, 0); d[0] = 1; std::memcpy(&d[40], " EMF", 4); return d; }(), pfMetaFile},
      {"jpeg Adobe marker", padded({0xFF, 0xD8, 0xFF, 0xEE}), pfJPG},
      {"svg text", padded(Text("<svg/>")), pfNone},
  };
  for (const auto& c : cases) EXPECT_EQ(DetectPictureFormat(c.Data), c.Expected) << c.Name;
  TBytes png = Png(4, 4);
  png.resize(43);
  EXPECT_EQ(DetectPictureFormat(png), pfNone) << "43 bytes are too few";
  png.resize(44);
  EXPECT_EQ(DetectPictureFormat(png), pfPNG);
}

TEST_F(GDIPPictureTest, RasterLoadsMeasureAndDraw) {
  struct TCase {
    const char* Name;
    TBytes Data;
  } cases[] = {{"png", Png(7, 5)}, {"jpeg", Jpeg(7, 5)}, {"gif", Gif(7, 5)}, {"bmp", Bmp(7, 5)}};
  for (const auto& c : cases) {
    TGDIPPicture p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.LoadFromBytes(c.Data);
    EXPECT_FALSE(p.Empty()) << c.Name;
    EXPECT_EQ(p.Width(), 7) << c.Name;
    EXPECT_EQ(p.Height(), 5) << c.Name;
    EXPECT_EQ(changes, 1) << c.Name;
    EXPECT_EQ(Saved(p), c.Data) << c.Name << ": the bytes are kept as loaded";
    TGPBitmap target(10, 10);
    TGPGraphics g(&target);
    g.Clear(0xFFFFFFFF);
    p.DrawImageRect(&g, 1, 1, 7, 5);
    ARGB px = 0;
    target.GetPixel(4, 3, px);
    EXPECT_GT(ARGBRed(px), 200) << c.Name;
    EXPECT_LT(ARGBBlue(px), 60) << c.Name;
    target.GetPixel(9, 9, px);
    EXPECT_EQ(px, 0xFFFFFFFFu) << c.Name << ": nothing outside the rectangle";
  }
}

TEST_F(GDIPPictureTest, SvgTextIsKeptAndWrittenBack) {
  const TBytes svg = Text("\xEF\xBB\xBF  <svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"4\" height=\"4\"/></svg>");
  TGDIPPicture p;
  p.LoadFromBytes(Png(3, 3));
  p.LoadFromBytes(svg);
  EXPECT_EQ(Saved(p), svg) << "SVG content is what the picture saves";
  EXPECT_EQ(p.PictureFormat(), pfPNG) << "the raw bytes stay behind";
  EXPECT_EQ(Written(p), LengthPrefixed(svg));
  TGDIPPicture back;
  TBytesStream stored(Written(p));
  back.ReadData(&stored);
  EXPECT_EQ(Saved(back), svg);
}

TEST_F(GDIPPictureTest, DataNeitherRasterNorSvgIsKeptRaw) {
  // A JPEG whose fourth byte no signature entry names, and plain binary data.
  for (const TBytes& data : {Concat({TBytes{0xFF, 0xD8, 0xFF, 0xEE}, Jpeg(4, 4)}), TBytes{1, 2, 3, 4, 5, 6, 7}}) {
    TGDIPPicture p;
    p.LoadFromBytes(data);
    EXPECT_EQ(p.Data(), data);
    EXPECT_EQ(Written(p), data) << "stored bare, as raw content is";
    TGDIPPicture back;
    TBytesStream stored(Written(p));
    back.ReadData(&stored);
    EXPECT_EQ(back.Data(), data) << "and read back as the same raw bytes";
  }
}

TEST_F(GDIPPictureTest, StoredSvgWhoseLengthLooksLikeASignatureReadsBackAsSvg) {
  // Lengths whose bytes read "BM", the icon signature 00 00 01 00, and 0.
  for (std::size_t size : {std::size_t(0x4D42), std::size_t(65536)}) {
    TGDIPPicture p;
    p.LoadFromBytes(Svg(size));
    const TBytes stored = Written(p);
    ASSERT_EQ(stored.size(), size + 4);
    TGDIPPicture back;
    TBytesStream s(stored);
    back.ReadData(&s);
    EXPECT_EQ(Saved(back), Svg(size)) << size;
    EXPECT_TRUE(back.Data().empty()) << size << ": not taken for raw bytes";
  }
  TGDIPPicture empty;
  TBytesStream zero(TBytes{0, 0, 0, 0});
  empty.ReadData(&zero);
  EXPECT_TRUE(empty.Data().empty());
  EXPECT_TRUE(Saved(empty).empty());
}

TEST_F(GDIPPictureTest, HostileStoredFormIsRefusedBeforeAllocation) {
  TGDIPPicture p;
  // A length matching no data and a huge length: not SVG blocks, kept raw.
  TBytesStream huge(TBytes{0xFF, 0xFF, 0xFF, 0x7F, '<', 's'});
  p.ReadData(&huge);
  EXPECT_EQ(p.Data().size(), 6u);
  TAdvSVGBitmap svg;
  TBytesStream past(TBytes{0x10, 0, 0, 0, '<'});
  EXPECT_THROW(svg.ReadData(&past), EReadError);
}

TEST_F(GDIPPictureTest, FileLoadsAndFailures) {
  const String png = TempFile("a.png", Png(6, 2));
  TGDIPPicture p;
  std::vector<std::string> events;
  p.OnChange = [&](TObject*) { events.push_back("change"); };
  p.OnClear = [&](TObject*) { events.push_back("clear"); };
  p.LoadFromFile(png);
  EXPECT_EQ(events, (std::vector<std::string>{"clear", "change"}));
  EXPECT_EQ(p.GetFileName(), png);
  EXPECT_EQ(p.Width(), 6);
  events.clear();
  p.LoadFromFile(png + u".missing");
  EXPECT_TRUE(p.Empty()) << "a failed load leaves an empty picture";
  EXPECT_TRUE(p.Data().empty());
  EXPECT_EQ(events, (std::vector<std::string>{"change"})) << "and tells the owner";
  const String svg = TempFile("a.svg", Svg(80));
  p.LoadFromFile(png);
  p.LoadFromFile(svg);
  EXPECT_TRUE(p.Data().empty()) << "an SVG file empties the raw bytes";
  EXPECT_EQ(Saved(p), Svg(80));
}

TEST_F(GDIPPictureTest, AddressesAndResources) {
  TGDIPPicture p;
  p.LoadFromURL(u"res://PICTEST");
  EXPECT_EQ(p.Width(), 5);
  EXPECT_EQ(p.Height(), 3);
  TGDIPPicture none;
  for (const char16_t* url : {u"RES://", u"FILE://", u"http://127.0.0.1:1/x.png", u"RES://NOSUCH"}) {
    none.LoadFromURL(url);
    EXPECT_TRUE(none.Empty()) << StringToUtf8(url);
  }
  const String file = TempFile("b.gif", Gif(3, 9));
  none.LoadFromURL(u"FILE://" + file);
  EXPECT_EQ(none.Height(), 9);
  EXPECT_THROW(none.LoadFromResourceID(HInstance(), 4242), EResNotFound);
}

TEST_F(GDIPPictureTest, AssignCopiesContentAndEvents) {
  TGDIPPicture source;
  source.LoadFromBytes(Png(4, 2));
  TGDIPPicture copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.Data(), source.Data());
  EXPECT_EQ(copy.Width(), 4);
  auto bmp = SolidBitmap(3, 3, clBlue, clBlue);
  copy.Assign(bmp.get());
  EXPECT_EQ(copy.PictureFormat(), pfBMP);
  EXPECT_EQ(copy.Width(), 3);
  std::vector<std::string> events;
  copy.OnChange = [&](TObject*) { events.push_back("change"); };
  copy.OnClear = [&](TObject*) { events.push_back("clear"); };
  copy.Assign(nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"change", "clear"}));
  EXPECT_TRUE(copy.Empty());
  copy.SetWidth(99);
  EXPECT_EQ(copy.Width(), 3) << "the size comes from the content only";
}

TEST_F(GDIPPictureTest, TransparentBitmapDrawsOnCanvasWithoutItsKeyColour) {
  TGDIPPicture p;
  p.LoadFromBytes(Bmp(8, 8, clRed, clFuchsia));
  TBitmap target(8, 8);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 8, 8));
  p.Draw(target.Canvas(), Rect(0, 0, 8, 8));
  EXPECT_EQ(target.Canvas()->Pixels(0, 7), clWhite) << "the bottom-left colour is transparent";
  EXPECT_EQ(target.Canvas()->Pixels(4, 4), clRed);
  p.SetTransparentBitmap(false);
  p.Draw(target.Canvas(), Rect(0, 0, 8, 8));
  EXPECT_EQ(target.Canvas()->Pixels(0, 7), clFuchsia) << "drawn opaque through GDI+";
}

TEST_F(GDIPPictureTest, HintRecord) {
  TAdvHintInfo hint;
  EXPECT_TRUE(hint.IsEmpty());
  hint.Picture()->LoadFromBytes(Png(2, 2));
  hint.SetWideTitle(u"wide");
  EXPECT_TRUE(hint.IsEmpty()) << "picture and wide texts do not count";
  hint.Notes()->Add(u"");
  EXPECT_FALSE(hint.IsEmpty()) << "one empty line is a line break";
  hint.SetTitle(u"Title");
  TAdvHintInfo copy;
  copy.Assign(&hint);
  hint.Picture()->Assign(nullptr);
  EXPECT_EQ(copy.Title(), u"Title");
  EXPECT_EQ(copy.WideTitle(), u"wide");
  EXPECT_EQ(copy.Picture()->Width(), 2) << "the picture is copied, not shared";
  copy.Assign(nullptr);
  EXPECT_EQ(copy.Title(), u"Title");
}
