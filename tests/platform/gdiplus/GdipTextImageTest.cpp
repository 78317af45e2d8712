// Fonts and text (families, MeasureString against DrawString), images
// (decode, formats, pixels, lock bits, rotate, save) and image attributes.
#include <cstring>
#include <limits>

#include "tests/platform/gdiplus/GdipFixture.h"
#include "tests/support/PictureBombs.h"

namespace {
// Bounding box of pixels that are not white.
GpRect Ink(const GpCanvas& c, int w, int h) {
  int l = w, t = h, r = -1, b = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (c.Px(x, y) != 0xffffffffu) l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
  return r < 0 ? GpRect{} : GpRect{l, t, r - l + 1, b - t + 1};
}
}  // namespace

class GpTextTest : public GdiplusTest {
 protected:
  void SetUp() override {
    GdiplusTest::SetUp();
    ASSERT_EQ(GdipCreateFontFamilyFromName(u"Arial", nullptr, &Family), Ok);
    ASSERT_EQ(GdipCreateFont(Family, 20, FontStyleRegular, UnitPixel, &Font), Ok);
  }
  void TearDown() override {
    GdipDeleteFont(Font);
    GdipDeleteFontFamily(Family);
    GdiplusTest::TearDown();
  }
  GpFontFamily* Family = nullptr;
  GpFont* Font = nullptr;
};

TEST_F(GpTextTest, FamiliesByNameAndTheirNames) {
  GpFontFamily* f = nullptr;
  EXPECT_EQ(GdipCreateFontFamilyFromName(u"No Such Face 123", nullptr, &f), FontFamilyNotFound);
  EXPECT_EQ(GdipCreateFontFamilyFromName(nullptr, nullptr, &f), InvalidParameter);
  WCHAR name[LF_FACESIZE];
  GdipGetFamilyName(Family, name, 0);
  EXPECT_EQ(String(name), u"Arial");
  ASSERT_EQ(GdipGetGenericFontFamilySansSerif(&f), Ok);
  GdipGetFamilyName(f, name, 0);
  EXPECT_FALSE(String(name).empty());
  Word em = 0, asc = 0, desc = 0;
  GdipGetEmHeight(f, 0, &em);
  GdipGetCellAscent(f, 0, &asc);
  GdipGetCellDescent(f, 0, &desc);
  EXPECT_GT(em, 0);
  EXPECT_GT(asc + desc, em) << "a cell is taller than the em";
  GdipDeleteFontFamily(f);
  GpFont* bad = nullptr;
  EXPECT_EQ(GdipCreateFont(Family, 0, 0, UnitPixel, &bad), InvalidParameter);
  EXPECT_EQ(GdipCreateFont(Family, 10, 0, UnitDisplay, &bad), InvalidParameter);
  REAL size = 0;
  GdipGetFontSize(Font, &size);
  EXPECT_EQ(size, 20);
}

TEST_F(GpTextTest, TextUnderAFlatteningTransformIsRefused) {
  // Text under an x or y scale of 0, or a transform that is not finite, is
  // refused with a status instead of reaching the toolkit's glyph loader.
  GpCanvas c(60, 40);
  GpSolidFill* black = nullptr;
  GdipCreateSolidFill(0xff000000, &black);
  GpRectF layout{5, 5, 0, 0};
  const REAL bad[][6] = {{0, 0, 0, 5, 0, 0}, {1, 2, 2, 4, 0, 0}, {1, 0, 0, 0, 0, 0},
                         {1, 0, 0, std::numeric_limits<REAL>::infinity(), 0, 0}};
  for (const auto& m : bad) {
    GpMatrix* matrix = nullptr;
    ASSERT_EQ(GdipCreateMatrix2(m[0], m[1], m[2], m[3], m[4], m[5], &matrix), Ok);
    GdipSetWorldTransform(c.G, matrix);
    EXPECT_EQ(GdipDrawString(c.G, u"x", -1, Font, &layout, nullptr, black), InvalidParameter);
    GdipResetWorldTransform(c.G);
    const UINT16 glyphs[] = {u'x'};
    const GpPointF at{5, 20};
    EXPECT_EQ(GdipDrawDriverString(c.G, glyphs, 1, Font, black, &at, DriverStringOptionsCmapLookup, matrix),
              InvalidParameter);
    GdipDeleteMatrix(matrix);
  }
  EXPECT_EQ(Ink(c, 60, 40).Width, 0);
  // A mirrored transform still draws.
  GdipScaleWorldTransform(c.G, -1, 1, MatrixOrderPrepend);
  GpRectF mirrored{-40, 5, 0, 0};
  EXPECT_EQ(GdipDrawString(c.G, u"x", -1, Font, &mirrored, nullptr, black), Ok);
  EXPECT_GT(Ink(c, 60, 40).Width, 0);
  GdipDeleteBrush(black);
}

TEST_F(GpTextTest, MeasureStringMatchesWhatDrawStringInks) {
  GpCanvas c(300, 80);
  GpSolidFill* black = nullptr;
  GdipCreateSolidFill(0xff000000, &black);
  GpStringFormat* typo = nullptr;
  GdipStringFormatGetGenericTypographic(&typo);
  GpRectF layout{10, 10, 0, 0};
  GpRectF box;
  INT fitted = 0, lines = 0;
  ASSERT_EQ(GdipMeasureString(c.G, u"Hello", -1, Font, &layout, typo, &box, &fitted, &lines), Ok);
  EXPECT_EQ(fitted, 5);
  EXPECT_EQ(lines, 1);
  ASSERT_EQ(GdipDrawString(c.G, u"Hello", -1, Font, &layout, typo, black), Ok);
  GpRect ink = Ink(c, 300, 80);
  ASSERT_GT(ink.Width, 0);
  EXPECT_GE(ink.X, 10 - 1);
  EXPECT_LE(ink.X + ink.Width, int(box.X + box.Width) + 2);
  EXPECT_GE(ink.Y, int(box.Y));
  EXPECT_LE(ink.Y + ink.Height, int(box.Y + box.Height) + 1);
  EXPECT_GT(ink.Width, box.Width * 0.7);
  // The default format pads an em/6 on each side; the typographic one does not.
  GpRectF padded;
  GdipMeasureString(c.G, u"Hello", -1, Font, &layout, nullptr, &padded, nullptr, nullptr);
  EXPECT_NEAR(padded.Width - box.Width, 20.0 / 3, 0.5);
  // Wrapping in a narrow rectangle gives more lines; a short one cuts them.
  GpRectF narrow{0, 0, 60, 0};
  GdipMeasureString(c.G, u"one two three four", -1, Font, &narrow, nullptr, &box, &fitted, &lines);
  EXPECT_GE(lines, 3);
  EXPECT_LE(box.Width, 60);
  GpRectF low{0, 0, 60, 25};
  GpStringFormat* fmt = nullptr;
  GdipCreateStringFormat(StringFormatFlagsLineLimit, 0, &fmt);
  GdipMeasureString(c.G, u"one two three four", -1, Font, &low, fmt, &box, &fitted, &lines);
  EXPECT_EQ(lines, 1);
  EXPECT_LT(fitted, 18);
  EXPECT_LE(box.Height, 25);
  // Centre alignment on a point: the box straddles it.
  GdipSetStringFormatAlign(fmt, StringAlignmentCenter);
  GpRectF at{100, 0, 0, 0};
  GdipMeasureString(c.G, u"Hello", -1, Font, &at, fmt, &box, nullptr, nullptr);
  EXPECT_NEAR(box.X + box.Width / 2, 100, 0.5);
  EXPECT_EQ(GdipSetStringFormatAlign(fmt, GpStringAlignment(3)), InvalidParameter);
  EXPECT_EQ(GdipMeasureString(c.G, u"x", -1, nullptr, &at, fmt, &box, nullptr, nullptr), InvalidParameter);
  GdipDeleteStringFormat(fmt);
  GdipDeleteStringFormat(typo);  // a shared format: deleting it does nothing
  GpStringFormat* again = nullptr;
  GdipStringFormatGetGenericTypographic(&again);
  EXPECT_EQ(again, typo);
  GdipDeleteBrush(black);
}

TEST_F(GpTextTest, CharacterRangesHotkeysAndTextPaths) {
  GpCanvas c(200, 60);
  GpStringFormat* fmt = nullptr;
  GdipCreateStringFormat(0, 0, &fmt);
  GpCharacterRange ranges[2] = {{0, 1}, {1, 3}};
  ASSERT_EQ(GdipSetStringFormatMeasurableCharacterRanges(fmt, 2, ranges), Ok);
  GpRegion* regions[2];
  GdipCreateRegion(&regions[0]);
  GdipCreateRegion(&regions[1]);
  GpRectF layout{0, 0, 200, 60};
  ASSERT_EQ(GdipMeasureCharacterRanges(c.G, u"Wide", -1, Font, &layout, fmt, 2, regions), Ok);
  GpRectF r0, r1;
  GdipGetRegionBounds(regions[0], c.G, &r0);
  GdipGetRegionBounds(regions[1], c.G, &r1);
  EXPECT_GT(r0.Width, 0);
  EXPECT_NEAR(r1.X, r0.X + r0.Width, 0.5) << "the second range starts where the first ends";
  EXPECT_EQ(GdipMeasureCharacterRanges(c.G, u"Wide", -1, Font, &layout, fmt, 1, regions), InvalidParameter);
  GdipDeleteRegion(regions[0]);
  GdipDeleteRegion(regions[1]);
  // "&File" with the prefix hidden measures as "File".
  GdipSetStringFormatHotkeyPrefix(fmt, HotkeyPrefixHide);
  GpRectF a, b;
  GdipMeasureString(c.G, u"&File", -1, Font, &layout, fmt, &a, nullptr, nullptr);
  GdipSetStringFormatHotkeyPrefix(fmt, HotkeyPrefixNone);
  GdipMeasureString(c.G, u"File", -1, Font, &layout, fmt, &b, nullptr, nullptr);
  EXPECT_FLOAT_EQ(a.Width, b.Width);
  GdipDeleteStringFormat(fmt);
  // Text as a path: outlines inside the em box.
  GpPath* p = nullptr;
  GdipCreatePath(FillModeAlternate, &p);
  GpRectF origin{0, 0, 0, 0};
  ASSERT_EQ(GdipAddPathString(p, u"A", -1, Family, 0, 40, &origin, nullptr), Ok);
  INT n = 0;
  GdipGetPointCount(p, &n);
  EXPECT_GT(n, 3);
  GpRectF bounds;
  GdipGetPathWorldBounds(p, &bounds, nullptr, nullptr);
  EXPECT_GT(bounds.Height, 20);
  EXPECT_LT(bounds.Height, 45);
  GdipDeletePath(p);
}

class GpImageTest : public GdiplusTest {};

TEST_F(GpImageTest, PngRoundTripThroughAStreamKeepsPixelsAndFormat) {
  GpBitmap* b = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(4, 3, 0, PixelFormat32bppARGB, nullptr, &b), Ok);
  GdipBitmapSetPixel(b, 1, 2, 0x80102030);
  IStream* s = SHCreateMemStream(nullptr, 0);
  ASSERT_EQ(GdipSaveImageToStream(b, s, &EncoderClsidPNG, nullptr), Ok);
  s->Seek(0, STREAM_SEEK_SET, nullptr);
  GpImage* img = nullptr;
  ASSERT_EQ(GdipLoadImageFromStream(s, &img), Ok);
  GUID raw;
  GdipGetImageRawFormat(img, &raw);
  EXPECT_TRUE(raw == ImageFormatPNG);
  UINT w = 0, h = 0;
  GdipGetImageWidth(img, &w);
  GdipGetImageHeight(img, &h);
  EXPECT_EQ(w, 4u);
  EXPECT_EQ(h, 3u);
  PixelFormat pf;
  GdipGetImagePixelFormat(img, &pf);
  EXPECT_EQ(pf, PixelFormat32bppARGB);
  ARGB c = 0;
  GdipBitmapGetPixel(img, 1, 2, &c);
  EXPECT_EQ(c, 0x80102030u);
  EXPECT_EQ(GdipBitmapGetPixel(img, 4, 0, &c), InvalidParameter);
  GdipDisposeImage(img);
  s->Release();
  // Undecodable bytes.
  const Byte junk[] = {1, 2, 3, 4, 5};
  IStream* j = SHCreateMemStream(junk, sizeof junk);
  EXPECT_EQ(GdipLoadImageFromStream(j, &img), OutOfMemory);
  j->Release();
  EXPECT_EQ(GdipLoadImageFromFile(u"/nonexistent/x.png", &img), OutOfMemory);
  EXPECT_EQ(GdipCreateBitmapFromScan0(0, 3, 0, PixelFormat32bppARGB, nullptr, &img), InvalidParameter);
  EXPECT_EQ(GdipCreateBitmapFromScan0(3, 3, 0, 0x12345, nullptr, &img), InvalidParameter);
  GdipDisposeImage(b);
}

// Files that declare more than they hold or more pixels than the budget get
// GDI+'s answer for undecodable data before any decoder allocates for them.
TEST_F(GpImageTest, DeclaredSizesBeyondTheDataOrTheBudgetAreRefused) {
  for (const auto& [name, data] : picture_bombs::All()) {
    IStream* s = SHCreateMemStream(data.data(), UINT(data.size()));
    GpImage* img = nullptr;
    EXPECT_EQ(GdipLoadImageFromStream(s, &img), OutOfMemory) << name;
    if (img) GdipDisposeImage(img);
    s->Release();
  }
  // An animation keeps every frame at the screen's size: together they stay
  // within the budget (32 Mi pixels). 1000 x 1000 pixels 34 times is beyond it.
  const picture_bombs::Bytes one = picture_bombs::Gif(1000, 1000);
  const auto frame = one.begin() + 19, trailer = one.end() - 1;  // after header, screen and colours
  picture_bombs::Bytes many(one.begin(), trailer);
  for (int i = 1; i < 34; ++i) many.insert(many.end(), frame, trailer);
  many.push_back(0x3B);
  IStream* s = SHCreateMemStream(many.data(), UINT(many.size()));
  GpImage* img = nullptr;
  EXPECT_EQ(GdipLoadImageFromStream(s, &img), OutOfMemory);
  s->Release();
}

TEST_F(GpImageTest, LockBitsRotateAndScan0Sharing) {
  // Caller rows shared with the bitmap.
  std::vector<uint32_t> rows(3 * 2, 0);
  GpBitmap* b = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 2, 12, PixelFormat32bppARGB, reinterpret_cast<Byte*>(rows.data()), &b), Ok);
  GdipBitmapSetPixel(b, 2, 1, 0xff112233);
  EXPECT_EQ(rows[5], 0xff112233u);
  GpRect r{1, 0, 2, 2};
  BitmapData d;
  ASSERT_EQ(GdipBitmapLockBits(b, &r, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppARGB, &d), Ok);
  EXPECT_EQ(d.Width, 2u);
  EXPECT_EQ(GdipBitmapLockBits(b, &r, ImageLockModeRead, PixelFormat32bppARGB, &d), WrongState);
  auto* px = static_cast<uint32_t*>(d.Scan0);
  EXPECT_EQ(px[d.Stride / 4 + 1], 0xff112233u);
  px[0] = 0xffabcdef;
  ASSERT_EQ(GdipBitmapUnlockBits(b, &d), Ok);
  ARGB c;
  GdipBitmapGetPixel(b, 1, 0, &c);
  EXPECT_EQ(c, 0xffabcdefu);
  GpRect outside{2, 0, 5, 1};
  EXPECT_EQ(GdipBitmapLockBits(b, &outside, ImageLockModeRead, PixelFormat32bppARGB, &d), InvalidParameter);
  // Rotating a quarter turn swaps the sides and moves the pixels.
  ASSERT_EQ(GdipImageRotateFlip(b, Rotate90FlipNone), Ok);
  UINT w;
  GdipGetImageWidth(b, &w);
  EXPECT_EQ(w, 2u);
  GdipBitmapGetPixel(b, 0, 2, &c);
  EXPECT_EQ(c, 0xff112233u);
  GdipDisposeImage(b);
}

TEST_F(GpImageTest, ColourMatrixColourKeyAndRemapOnKnownPixels) {
  GpBitmap* src = nullptr;
  GdipCreateBitmapFromScan0(3, 1, 0, PixelFormat32bppARGB, nullptr, &src);
  GdipBitmapSetPixel(src, 0, 0, 0xff804020);
  GdipBitmapSetPixel(src, 1, 0, 0xff00ff00);
  GdipBitmapSetPixel(src, 2, 0, 0xff0000ff);
  GpImageAttributes* ia = nullptr;
  ASSERT_EQ(GdipCreateImageAttributes(&ia), Ok);
  // Swap red and blue, halve alpha.
  ColorMatrix m{};
  m.m[0][2] = 1;
  m.m[1][1] = 1;
  m.m[2][0] = 1;
  m.m[3][3] = 0.5f;
  m.m[4][4] = 1;
  ASSERT_EQ(GdipSetImageAttributesColorMatrix(ia, ColorAdjustTypeDefault, TRUE, &m, nullptr, ColorMatrixFlagsDefault), Ok);
  // Green keyed out.
  GdipSetImageAttributesColorKeys(ia, ColorAdjustTypeDefault, TRUE, 0xff00f000, 0xff00ffff);
  GpCanvas c(3, 1);
  GdipGraphicsClear(c.G, 0);
  GdipSetCompositingMode(c.G, CompositingModeSourceCopy);
  ASSERT_EQ(GdipDrawImageRectRectI(c.G, src, 0, 0, 3, 1, 0, 0, 3, 1, UnitPixel, ia, nullptr, nullptr), Ok);
  ARGB p0 = c.Px(0, 0);
  EXPECT_NEAR(Channel(p0, 16), 0x20, 1);
  EXPECT_NEAR(Channel(p0, 0), 0x80, 1);
  EXPECT_NEAR(Channel(p0, 24), 0x80, 1);
  EXPECT_EQ(Channel(c.Px(1, 0), 24), 0) << "the key colour is transparent";
  // Remap blue to red on the bitmap type only.
  ColorMap map{0xff0000ff, 0xffff0000};
  GdipSetImageAttributesRemapTable(ia, ColorAdjustTypeBitmap, TRUE, 1, &map);
  GdipDrawImageRectRectI(c.G, src, 0, 0, 3, 1, 0, 0, 3, 1, UnitPixel, ia, nullptr, nullptr);
  EXPECT_EQ(c.Px(2, 0), 0xffff0000u) << "the bitmap type's own settings replace the default ones";
  EXPECT_EQ(GdipSetImageAttributesGamma(ia, ColorAdjustTypeDefault, TRUE, 0), InvalidParameter);
  EXPECT_EQ(GdipSetImageAttributesColorMatrix(ia, GpColorAdjustType(9), TRUE, &m, nullptr, ColorMatrixFlagsDefault),
            InvalidParameter);
  GdipDisposeImageAttributes(ia);
  GdipDisposeImage(src);
}

TEST_F(GpImageTest, DrawImagePointsWantsThreePoints) {
  GpCanvas c(20, 20);
  GpBitmap* b = nullptr;
  GdipCreateBitmapFromScan0(2, 2, 0, PixelFormat32bppARGB, nullptr, &b);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) GdipBitmapSetPixel(b, x, y, 0xff000000);
  GpPointF two[2] = {{0, 0}, {10, 0}};
  EXPECT_EQ(GdipDrawImagePoints(c.G, b, two, 2), InvalidParameter);
  GpPointF three[3] = {{4, 4}, {14, 4}, {4, 14}};
  GdipSetInterpolationMode(c.G, InterpolationModeNearestNeighbor);
  ASSERT_EQ(GdipDrawImagePoints(c.G, b, three, 3), Ok);
  EXPECT_EQ(c.Px(9, 9), 0xff000000u);
  EXPECT_EQ(c.Px(2, 2), 0xffffffffu);
  GdipDisposeImage(b);
}
