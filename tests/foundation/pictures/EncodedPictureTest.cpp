// What the three raster-or-SVG pictures share (saving, the stored form Data,
// resources, local addresses, file loads, taking another picture's content),
// run against each of them: a fault in the shared code shows in every row.
#include "foundation/pictures/EncodedPicture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/GdiplusBase.h"
#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GdiplusClasses.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/pictures/GDIPPicture.h"
#include "foundation/pictures/HTMLPicture.h"
#include "foundation/pictures/ZovIVIDPicture.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "tests/foundation/pictures/PictureSamples.h"

using namespace picture_samples;

namespace {

const TBytes kSvg = Text("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 8 6\"><rect width=\"8\" height=\"6\"/></svg>");

template <class TPictureClass>
std::unique_ptr<TPictureClass> MakePicture() {
  auto p = std::make_unique<TPictureClass>();
  // A web address must never leave the machine here.
  if constexpr (std::is_same_v<TPictureClass, THTMLPicture>) p->SetAsynch(false);
  return p;
}

template <class TPictureClass>
class EncodedPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    gdiplus::InitializeGdiplusUnit();
    InitializeNamedColors();
    InitializeAdvGraphicsSVGEngineUnit();  // the pictures parse their SVG with it
  }
  void TearDown() override {
    FinalizeAdvGraphicsSVGEngineUnit();
    for (const std::string& path : FFiles) std::remove(path.c_str());
  }
  String TempFile(const std::string& name, const TBytes& data) {
    const std::string path = std::string(::testing::TempDir()) + "encoded_picture_" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    FFiles.push_back(path);
    return Utf8ToString(path);
  }
  static TBytes Saved(TEncodedPicture& p) {
    TBytes out;
    p.SaveToBytes(out);
    return out;
  }
  static TBytes Written(TEncodedPicture& p) {
    TBytesStream s;
    p.WriteData(&s);
    return s.Bytes();
  }

 private:
  std::vector<std::string> FFiles;
};

using PictureClasses = ::testing::Types<TGDIPPicture, gdiplus::TZovIVIDPicture, THTMLPicture>;
class PictureClassNames {
 public:
  template <class T>
  static std::string GetName(int) {
    if constexpr (std::is_same_v<T, TGDIPPicture>) return "GDIPPicture";
    else if constexpr (std::is_same_v<T, THTMLPicture>) return "HTMLPicture";
    else return "ZovIVIDPicture";
  }
};
TYPED_TEST_SUITE(EncodedPictureTest, PictureClasses, PictureClassNames);

}  // namespace

TYPED_TEST(EncodedPictureTest, SavesAndStoresRawAndSvgContentInTheirForms) {
  struct TCase {
    const char* Name;
    TBytes Content;
    TBytes Stored;  // the form property's bytes
    Integer Width, Height;
  };
  const TBytes png = Png(5, 3);
  for (const TCase& c : {TCase{"png", png, png, 5, 3}, TCase{"svg", kSvg, LengthPrefixed(kSvg), 8, 6}}) {
    SCOPED_TRACE(c.Name);
    auto p = MakePicture<TypeParam>();
    p->LoadFromBytes(c.Content);
    EXPECT_EQ(this->Saved(*p), c.Content) << "a picture saves what it was given";
    EXPECT_EQ(this->Written(*p), c.Stored);
    EXPECT_FALSE(p->Empty());
    EXPECT_EQ(p->Width(), c.Width);
    EXPECT_EQ(p->Height(), c.Height);

    // Stored data read back (after a leading property the reader skipped).
    auto back = MakePicture<TypeParam>();
    TBytesStream stored(Concat({Text("skip"), c.Stored}));
    stored.SetPosition(4);
    back->ReadData(&stored);
    EXPECT_EQ(this->Saved(*back), c.Content);
    EXPECT_EQ(this->Written(*back), c.Stored);
    EXPECT_FALSE(back->Empty());
    EXPECT_EQ(back->Width(), c.Width);
  }
  auto none = MakePicture<TypeParam>();
  EXPECT_TRUE(this->Saved(*none).empty()) << "an empty picture saves nothing";
  EXPECT_TRUE(this->Written(*none).empty());
  none->SaveToStream(nullptr);
  none->WriteData(nullptr);
}

TYPED_TEST(EncodedPictureTest, StoredFormOfEveryPictureClassLoadsInEveryOther) {
  // Each class's stored form is the others': Data written by one loads in all.
  const TBytes gif = Gif(3, 2);
  for (const TBytes& content : {gif, kSvg}) {
    TGDIPPicture button;
    gdiplus::TZovIVIDPicture fill;
    THTMLPicture html;
    const std::pair<const char*, TEncodedPicture*> writers[] = {{"button", &button}, {"fill", &fill}, {"html", &html}};
    for (const auto& [name, writer] : writers) {
      writer->LoadFromBytes(content);
      auto reader = MakePicture<TypeParam>();
      TBytesStream stored(this->Written(*writer));
      reader->ReadData(&stored);
      EXPECT_EQ(this->Saved(*reader), content) << "written by the " << name << " picture";
    }
  }
}

TYPED_TEST(EncodedPictureTest, ResourcesByNameAndNumber) {
  auto p = MakePicture<TypeParam>();
  p->LoadFromResourceName(HInstance(), u"PICTEST");
  EXPECT_EQ(p->Width(), 5);
  EXPECT_EQ(p->Height(), 3);
  auto missing = MakePicture<TypeParam>();
  missing->LoadFromResourceName(HInstance(), u"NOSUCH");  // nothing, no exception
  EXPECT_TRUE(missing->Empty());
  EXPECT_THROW(missing->LoadFromResourceID(HInstance(), 4242), EResNotFound);
  EXPECT_TRUE(missing->Empty());
}

TYPED_TEST(EncodedPictureTest, LocalAddressesInAnyLetterCase) {
  const String svgFile = this->TempFile("a.svg", kSvg);
  struct TCase {
    String URL;
    Integer Width;  // 0: nothing loads
  };
  const TCase cases[] = {
      {u"res://PICTEST", 5}, {u"Res://PICTEST", 5}, {u"RES://PICTEST", 5},
      {u"file://" + svgFile, 8}, {u"FILE://" + svgFile, 8},
      {u"RES://", 0}, {u"FILE://", 0}, {u"RES://NOSUCH", 0}, {u"FILE://" + svgFile + u".missing", 0},
      {u"RES:/PICTEST", 0}, {u"http://127.0.0.1:1/a.png", 0}, {u"", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.URL));
    auto p = MakePicture<TypeParam>();
    p->LoadFromURL(c.URL);
    EXPECT_EQ(p->Empty(), c.Width == 0);
    EXPECT_EQ(p->Width(), c.Width);
  }
}

TYPED_TEST(EncodedPictureTest, FileLoadsByContentAndFailuresLeaveNothingBehind) {
  auto p = MakePicture<TypeParam>();
  int changes = 0;
  p->OnChange = [&](TObject*) { ++changes; };
  p->LoadFromFile(this->TempFile("svg.png", kSvg));  // content decides, not the name
  EXPECT_EQ(this->Saved(*p), kSvg);
  EXPECT_TRUE(p->Data().empty());
  EXPECT_EQ(p->Width(), 8);

  const TBytes png = Png(4, 7);
  p->LoadFromFile(this->TempFile("b.png", png));
  EXPECT_EQ(p->Data(), png);
  EXPECT_EQ(this->Saved(*p), png) << "the SVG is gone";
  EXPECT_EQ(p->Height(), 7);

  changes = 0;
  for (const String& bad : {this->TempFile("bad.svg", Text("<svg><unclosed")), String(u"/nonexistent/x.png")}) {
    p->LoadFromBytes(png);
    p->LoadFromFile(bad);
    EXPECT_TRUE(p->Empty()) << StringToUtf8(bad);
    EXPECT_TRUE(this->Saved(*p).empty());
    EXPECT_EQ(p->Width(), 0);
  }
  EXPECT_GE(changes, 2) << "the owner repaints after a failed load";

  p->LoadFromFile(this->TempFile("empty.png", {}));
  EXPECT_TRUE(p->Empty()) << "an empty file gives an empty picture";
}

TYPED_TEST(EncodedPictureTest, AssigningNothingEmptiesRawAndSvgContent) {
  for (const TBytes& content : {Png(3, 2), kSvg}) {
    auto p = MakePicture<TypeParam>();
    p->LoadFromBytes(content);
    ASSERT_FALSE(p->Empty());
    int changes = 0;
    p->OnChange = [&](TObject*) { ++changes; };
    p->Assign(nullptr);
    EXPECT_TRUE(p->Empty()) << content.size();
    EXPECT_TRUE(this->Saved(*p).empty()) << content.size();
    EXPECT_TRUE(this->Written(*p).empty()) << content.size();
    EXPECT_EQ(changes, 1) << content.size();
  }
}

TYPED_TEST(EncodedPictureTest, TakesAnotherPictureClassesSvgAsSvg) {
  TGDIPPicture button;
  gdiplus::TZovIVIDPicture fill;
  THTMLPicture html;
  for (TEncodedPicture* source : std::initializer_list<TEncodedPicture*>{&button, &fill, &html}) {
    source->LoadFromBytes(kSvg);
    auto p = MakePicture<TypeParam>();
    p->LoadFromBytes(Png(2, 2));
    p->Assign(source);
    EXPECT_EQ(this->Saved(*p), kSvg);
    EXPECT_EQ(this->Written(*p), LengthPrefixed(kSvg)) << "stored as SVG, not as raw text";
    EXPECT_EQ(p->Width(), 8);
    EXPECT_EQ(p->Height(), 6);
  }
}

// SVG content drawn on a GDI+ surface goes through the surface's device
// context, for both pictures that draw there; the context is given back.
TEST(EncodedPictureSvgOnGdiplusTest, ButtonAndFillPicturesDrawTheirSvgIntoTheRectangle) {
  EnsureGuiApplication();
  gdiplus::InitializeGdiplusUnit();
  InitializeNamedColors();
  // The SVG engine's vector canvas draws through the run-time GDI+ set.
  RegisterGdiplusModule();
  gdiplus_runtime::InitializeGdiplusApi();
  gdiplus_runtime::InitializeGdiplusClasses();
  InitializeAdvGraphicsSVGEngineUnit();
  const TBytes red = Text(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\"><rect width=\"10\" height=\"10\" "
      "fill=\"#FF0000\"/></svg>");
  TGDIPPicture button;
  gdiplus::TZovIVIDPicture fill;
  const std::pair<const char*, std::function<void(gdiplus::TGPGraphics*)>> cases[] = {
      {"button, DrawImageRect", [&](gdiplus::TGPGraphics* g) { button.DrawImageRect(g, 4, 4, 10, 10); }},
      {"button, DrawImage", [&](gdiplus::TGPGraphics* g) { button.DrawImage(g, 4, 4); }},
      {"fill, GDIPDraw", [&](gdiplus::TGPGraphics* g) { fill.GDIPDraw(g, Rect(4, 4, 14, 14)); }},
      {"fill, GDIPDraw on a float rectangle",
       [&](gdiplus::TGPGraphics* g) { fill.GDIPDraw(g, gdiplus::TGPRectF{4, 4, 10, 10}); }},
  };
  button.LoadFromBytes(red);
  fill.LoadFromBytes(red);
  for (const auto& [name, draw] : cases) {
    SCOPED_TRACE(name);
    TBitmap target(20, 20);
    target.SetPixelFormat(pf24bit);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 20, 20));
    {
      gdiplus::TGPGraphics g(target.Canvas()->Handle());
      draw(&g);
      // The context went back: the surface draws on.
      gdiplus::TGPSolidBrush blue(0xFF0000FF);
      EXPECT_EQ(g.FillRectangle(&blue, gdiplus::TGPRectF{0, 0, 2, 2}), Ok);
    }
    EXPECT_EQ(target.Canvas()->Pixels(8, 8), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(17, 17), clWhite) << "nothing outside the rectangle";
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clBlue);
  }
  FinalizeAdvGraphicsSVGEngineUnit();
}
