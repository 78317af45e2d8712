// Fonts, families and string formats with their shared generic objects;
// paths and regions with their geometry.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/gdiplus_runtime/GPRegion.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"
#include "tests/foundation/gdiplus_runtime/gdiplus_runtime_fixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class TextGeometryTest : public RuntimeTest {};

String FamilyName(TGPFontFamily& family) {
  String name;
  family.GetFamilyName(name);
  return name;
}
}  // namespace

TEST_F(TextGeometryTest, FontsFallBackToTheGenericSansSerifFamily) {
  TGPFont font(u"No Such Family Anywhere", 12);
  EXPECT_EQ(font.GetLastStatus(), Ok);
  ASSERT_TRUE(font.IsAvailable());
  TGPFontFamily family;
  ASSERT_EQ(font.GetFamily(&family), Ok);
  ASSERT_NE(TGPFontFamily::GenericSansSerif(), nullptr);
  EXPECT_EQ(FamilyName(family), FamilyName(*TGPFontFamily::GenericSansSerif()));
  // A second GetFamily frees the handle the first one gave (the leak checker
  // watches).
  ASSERT_EQ(font.GetFamily(&family), Ok);
  EXPECT_TRUE(family.IsAvailable());
  EXPECT_EQ(font.GetSize(), 12.0f);
  EXPECT_EQ(font.GetUnit(), UnitPoint);
  EXPECT_GT(font.GetHeight(96.0f), 12.0f);

  // A size GDI+ refuses: the fall-back is tried again and fails too.
  TGPFont zero(u"Arial", 0);
  EXPECT_FALSE(zero.IsAvailable());
  EXPECT_EQ(zero.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(zero.GetStyle(), 0);

  // With the generic family unavailable (no GDI+ memory), the handle stays nil.
  UnbindRuntime();
  TGPFont none(u"No Such Family Anywhere", 12);
  EXPECT_FALSE(none.IsAvailable());
  EXPECT_NE(none.GetLastStatus(), Ok);
}

TEST_F(TextGeometryTest, GenericObjectsAreSharedUntilTheEnd) {
  TGPFontFamily* serif = TGPFontFamily::GenericSerif();
  ASSERT_NE(serif, nullptr);
  EXPECT_EQ(TGPFontFamily::GenericSerif(), serif);
  EXPECT_NE(TGPFontFamily::GenericMonospace(), serif);
  TGPStringFormat* typographic = TGPStringFormat::GenericTypographic();
  ASSERT_NE(typographic, nullptr);
  EXPECT_EQ(TGPStringFormat::GenericTypographic(), typographic);
  EXPECT_NE(TGPStringFormat::GenericDefault(), typographic);
  EXPECT_EQ(serif->GetLastStatus(), Ok);
  EXPECT_GT(serif->GetEmHeight(FontStyleRegular), 0);
  EXPECT_LE(FamilyName(*serif).size(), 32u);
  // The end of the classes unit frees them; later requests make new ones.
  UnbindRuntime();
  BindRuntime();
  TGPFontFamily* again = TGPFontFamily::GenericSerif();
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(FamilyName(*again).empty());
}

TEST_F(TextGeometryTest, StringFormatsAndTextDrawing) {
  TGPStringFormat format(StringFormatFlagsNoWrap);
  EXPECT_EQ(format.GetFormatFlags(), StringFormatFlagsNoWrap);
  EXPECT_EQ(format.SetAlignment(GpStringAlignment(9)), InvalidParameter);
  std::unique_ptr<TGPStringFormat> copy = format.Clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(format.lastError, Ok) << "the clone's status replaces the kept failure";
  EXPECT_EQ(copy->GetFormatFlags(), StringFormatFlagsNoWrap);
  format.SetAlignment(StringAlignmentCenter);
  EXPECT_EQ(format.GetAlignment(), StringAlignmentCenter);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  EXPECT_EQ(format.GetHotkeyPrefix(), HotkeyPrefixShow);
  format.SetDigitSubstitution(0x0409, StringDigitSubstituteNone);
  EXPECT_EQ(format.GetDigitSubstitutionLanguage(), 0x0409);
  EXPECT_EQ(format.GetDigitSubstitutionMethod(), StringDigitSubstituteNone);
  TGPStringFormat empty(static_cast<const TGPStringFormat*>(nullptr));
  EXPECT_EQ(empty.nativeFormat, nullptr);
  EXPECT_EQ(empty.GetTrimming(), StringTrimmingNone);
  EXPECT_EQ(empty.Clone(), nullptr);

  TCanvas canvas(80, 30);
  TGPFont font(u"Arial", 14, FontStyleBold, UnitPixel);
  TGPSolidBrush black(0xFF000000);
  ASSERT_EQ(canvas.Graphics.DrawString(u"WWW", &font, GPRectF(0, 0, 80, 30), nullptr, &black), Ok);
  int dark = 0;
  for (int x = 0; x < 80; ++x)
    for (int y = 0; y < 30; ++y) dark += Channel(canvas.Px(x, y), 0) < 128;
  EXPECT_GT(dark, 20);
  TGPRectF box;
  Integer fitted = 0, lines = 0;
  ASSERT_EQ(canvas.Graphics.MeasureString(u"WWW", -1, &font, GPRectF(0, 0, 200, 50), nullptr, box, &fitted, &lines),
            Ok);
  EXPECT_EQ(fitted, 3);
  EXPECT_EQ(lines, 1);
  EXPECT_GT(box.Width, 20.0f);
}

TEST_F(TextGeometryTest, PathDataFillsReusesAndEmpties) {
  TGPGraphicsPath path(FillModeWinding);
  EXPECT_EQ(path.GetFillMode(), FillModeWinding);
  TPathData data;
  EXPECT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Count, 0);
  EXPECT_EQ(data.Points, nullptr);
  EXPECT_EQ(data.Types, nullptr);

  path.AddRectangle(GPRectF(1, 2, 3, 4));
  ASSERT_EQ(path.GetPathData(data), Ok);
  ASSERT_EQ(data.Count, 4);
  EXPECT_EQ(data.Points[2].X, 4.0f);
  EXPECT_EQ(data.Types[0], PathPointTypeStart);
  // More points: the arrays grow. Fewer: they are reused and Count follows.
  path.AddEllipse(0.0f, 0.0f, 10.0f, 10.0f);
  ASSERT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Count, path.GetPointCount());
  TGPPointF* grown = data.Points;
  path.Reset();
  path.AddLine(0.0f, 0.0f, 5.0f, 5.0f);
  ASSERT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Points, grown);
  EXPECT_EQ(data.Count, 2);
  EXPECT_EQ(data.Points[1].Y, 5.0f);
  path.Reset();
  EXPECT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Points, nullptr);
}

TEST_F(TextGeometryTest, PathGeometryAndRules) {
  TGPGraphicsPath path;
  path.AddEllipse(10.0f, 20.0f, 40.0f, 20.0f);
  TGPRectF bounds;
  ASSERT_EQ(path.GetBounds(bounds), Ok);
  EXPECT_NEAR(bounds.X, 10, 0.01);
  EXPECT_NEAR(bounds.Width, 40, 0.01);
  EXPECT_TRUE(path.IsVisible(30.0f, 30.0f));
  EXPECT_FALSE(path.IsVisible(11, 21));
  TGPPen wide(0xFF000000, 4);
  EXPECT_TRUE(path.IsOutlineVisible(GPPointF(10, 30), &wide));

  // Transform(nil): Ok without a call, the kept status untouched.
  EXPECT_EQ(path.AddBeziers(static_cast<const TGPPointF*>(nullptr), 4), InvalidParameter);
  EXPECT_EQ(path.Transform(nullptr), Ok);
  // A clone of a path holding a failure answers Ok of its own.
  std::unique_ptr<TGPGraphicsPath> clone = path.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetLastStatus(), Ok);
  EXPECT_EQ(path.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(clone->GetPointCount(), path.GetPointCount());
  TGPMatrix scale(2, 0, 0, 2, 0, 0);
  ASSERT_EQ(clone->Transform(&scale), Ok);
  clone->GetBounds(bounds);
  EXPECT_NEAR(bounds.Width, 80, 0.01);
  TGPGraphicsPath copy(&path);
  EXPECT_EQ(copy.GetPointCount(), path.GetPointCount());
  TGPGraphicsPath nilCopy(static_cast<const TGPGraphicsPath*>(nullptr));
  EXPECT_EQ(nilCopy.nativePath, nullptr);
  EXPECT_EQ(nilCopy.GetFillMode(), FillModeAlternate);

  // Pixel check: the path filled through the graphics.
  TCanvas canvas(60, 60);
  TGPSolidBrush red(0xFFFF0000);
  ASSERT_EQ(canvas.Graphics.FillPath(&red, &path), Ok);
  EXPECT_EQ(canvas.Px(30, 30), 0xFFFF0000u);
  EXPECT_EQ(canvas.Px(11, 21), 0xFFFFFFFFu);
}

TEST_F(TextGeometryTest, RegionSetOperations) {
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
