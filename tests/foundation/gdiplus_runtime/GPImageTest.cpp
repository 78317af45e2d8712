// Images, bitmaps and image attributes.
#include <memory>

#include "foundation/gdiplus_runtime/GPImageAttributes.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPImageTest : public RuntimeTest {};

constexpr ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
}  // namespace

TEST_F(GPImageTest, ImagesBitmapsAndAttributes) {
  TGPImage missing(u"/nonexistent/picture.png");
  EXPECT_EQ(missing.nativeImage, nullptr);
  EXPECT_EQ(missing.GetWidth(), 0u);
  EXPECT_NE(missing.GetLastStatus(), Ok);
  EXPECT_EQ(missing.GetPixelFormat(), PixelFormatUndefined);
  EXPECT_EQ(missing.SaveAdd(nullptr, nullptr), InvalidParameter);

  TGPBitmap bitmap(8, 8, PixelFormat32bppARGB);
  bitmap.SetPixel(1, 1, kRed);
  ARGB c = 5;
  EXPECT_EQ(bitmap.GetPixel(99, 99, c), InvalidParameter);
  EXPECT_EQ(c, 0u);
  // Integer area copies ignore an earlier failure; float ones do not.
  std::unique_ptr<TGPBitmap> part = bitmap.Clone(0, 0, 4, 4, PixelFormat32bppARGB);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(bitmap.lastResult, Ok);
  EXPECT_EQ(part->GetPixel(1, 1, c), Ok);
  EXPECT_EQ(c, kRed);
  bitmap.GetPixel(99, 99, c);
  EXPECT_EQ(bitmap.Clone(GPRectF(0, 0, 4, 4), PixelFormat32bppARGB), nullptr);
  EXPECT_EQ(bitmap.GetLastStatus(), InvalidParameter);
  EXPECT_NE(bitmap.Clone(GPRectF(0, 0, 4, 4), PixelFormat32bppARGB), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 8u);

  // Remap tables per adjustment type: clearing the brush table leaves the
  // bitmap table in force.
  TGPBitmap source(4, 4, PixelFormat32bppARGB);
  TGPGraphics(&source).Clear(kRed);
  ColorMap map{kRed, kBlue};
  TGPImageAttributes attributes;
  ASSERT_EQ(attributes.SetRemapTable(1, &map, ColorAdjustTypeBitmap), Ok);
  ASSERT_EQ(attributes.SetBrushRemapTable(1, &map), Ok);
  ASSERT_EQ(attributes.ClearBrushRemapTable(), Ok);
  TCanvas canvas(10, 10);
  canvas.Graphics.DrawImage(&source, GPRectF(0, 0, 4, 4), 0, 0, 4, 4, UnitPixel, &attributes);
  EXPECT_EQ(canvas.Px(1, 1), kBlue);
  attributes.ClearRemapTable(ColorAdjustTypeBitmap);
  canvas.Graphics.DrawImage(&source, GPRectF(5, 5, 4, 4), 0, 0, 4, 4, UnitPixel, &attributes);
  EXPECT_EQ(canvas.Px(6, 6), kRed);
  std::unique_ptr<TGPImageAttributes> copy = attributes.Clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->nativeImageAttr, nullptr);
}
