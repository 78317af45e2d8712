// Regions: set operations, data and drawing.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPRegion.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPRegionTest : public RuntimeTest {};
}  // namespace

TEST_F(GPRegionTest, RegionSetOperations) {
  struct Case {
    const char* name;
    TStatus (TGPRegion::*op)(const TGPRectF&);
    bool inBoth, inFirstOnly, inSecondOnly;
  };
  const Case cases[] = {
      {"intersect", &TGPRegion::Intersect, true, false, false},
      {"union", &TGPRegion::Union, true, true, true},
      {"xor", &TGPRegion::Xor_, false, true, true},
      {"exclude", &TGPRegion::Exclude, false, true, false},
      {"complement", &TGPRegion::Complement, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGPRegion region(GPRectF(0, 0, 10, 10));
    ASSERT_EQ((region.*c.op)(GPRectF(5, 0, 10, 10)), Ok);
    EXPECT_EQ(region.IsVisible(7, 5), c.inBoth);
    EXPECT_EQ(region.IsVisible(2, 5), c.inFirstOnly);
    EXPECT_EQ(region.IsVisible(12.0f, 5.0f), c.inSecondOnly);
  }
  TCanvas canvas(10, 10);
  TGPRegion infinite;
  EXPECT_TRUE(infinite.IsInfinite(&canvas.Graphics));
  EXPECT_FALSE(infinite.IsInfinite(nullptr)) << "no graphics: the call fails";
  EXPECT_EQ(infinite.GetLastStatus(), InvalidParameter);
  infinite.MakeEmpty();
  EXPECT_TRUE(infinite.IsEmpty(&canvas.Graphics));
  EXPECT_EQ(TGPRegion::FromHRGN(nullptr), nullptr);
  TGPRegion broken(static_cast<const TGPGraphicsPath*>(nullptr));
  EXPECT_EQ(broken.GetHRGN(&canvas.Graphics), nullptr);
  HRGN rgn = infinite.GetHRGN(&canvas.Graphics);
  ASSERT_NE(rgn, nullptr);
  DeleteObject(rgn);

  // Data round trip and clone.
  TGPRegion square(TGPRect{2, 3, 4, 5});
  UINT size = square.GetDataSize();
  ASSERT_GT(size, 0u);
  std::vector<Byte> bytes(size);
  UINT filled = 0;
  ASSERT_EQ(square.GetData(bytes.data(), size, &filled), Ok);
  TGPRegion back(bytes.data(), Integer(filled));
  EXPECT_TRUE(back.IsEqual(&square, &canvas.Graphics));
  TGPRegion garbage(bytes.data(), 3);
  EXPECT_EQ(garbage.nativeRegion, nullptr);
  EXPECT_NE(garbage.GetLastStatus(), Ok);
  std::unique_ptr<TGPRegion> clone = square.Clone();
  TGPRect b;
  ASSERT_EQ(clone->GetBounds(b, &canvas.Graphics), Ok);
  EXPECT_EQ(b.X, 2);
  EXPECT_EQ(b.Height, 5);
  // Filled through the graphics.
  TGPSolidBrush red(0xFFFF0000);
  ASSERT_EQ(canvas.Graphics.FillRegion(&red, &square), Ok);
  EXPECT_EQ(canvas.Px(3, 4), 0xFFFF0000u);
  EXPECT_EQ(canvas.Px(7, 4), 0xFFFFFFFFu);
}
