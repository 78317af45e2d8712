// The progress painter: inside and filled rectangles, sampled pixels of the
// parts it paints, the value text and its assignment rules.
#include <gtest/gtest.h>

#include "foundation/gdiplus/GDIPProgress.h"
#include "foundation/gdiplus/LookFlags.h"
#include "platform/testing/GuiTestApp.h"

using namespace gdiplus;

namespace {

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitializeGdiplusUnit();
  }
};

struct TProgressSurface {
  TProgressSurface(int w, int h) : Bitmap(w, h), Graphics(&Bitmap) { Graphics.Clear(0xFFFFFFFF); }
  ARGB Px(int x, int y) {
    ARGB c = 0;
    Bitmap.GetPixel(x, y, c);
    return c;
  }
  TGPBitmap Bitmap;
  TGPGraphics Graphics;
};

bool Reddish(ARGB c) { return ARGBRed(c) > 180 && ARGBGreen(c) < 90 && ARGBBlue(c) < 90; }
bool Bluish(ARGB c) { return ARGBBlue(c) > 150 && ARGBRed(c) < 90 && ARGBGreen(c) < 90; }

// A red filled part over a blue background, so each part is told by colour.
void Colour(TGDIPProgress& p) {
  p.ProgressFill()->SetColor(clRed);
  p.ProgressFill()->SetColorTo(clRed);
  p.BackGroundFill()->SetColor(clBlue);
  p.BackGroundFill()->SetColorTo(clBlue);
}

void ExpectRect(const TGPRectF& r, Single x, Single y, Single w, Single h) {
  EXPECT_FLOAT_EQ(r.X, x);
  EXPECT_FLOAT_EQ(r.Y, y);
  EXPECT_FLOAT_EQ(r.Width, w);
  EXPECT_FLOAT_EQ(r.Height, h);
}

}  // namespace

TEST_F(ProgressTest, InsideRectangleFollowsTheBackgroundBorder) {
  struct TCase {
    TColor Color;
    Integer Width;
    Single Inset;
  } cases[] = {{clNone, 3, 0}, {clBlack, 1, 1}, {clBlack, 2, 1}, {clBlack, 3, 2}, {clBlack, 4, 2}, {clBlack, 5, 3}};
  for (const TCase& c : cases) {
    TGDIPProgress p;
    p.BackGroundFill()->SetBorderColor(c.Color);
    p.BackGroundFill()->SetBorderWidth(c.Width);
    SCOPED_TRACE(c.Width);
    // The right and bottom edges come in by one before the border inset.
    ExpectRect(p.GetInsideRectF(TRect{10, 20, 110, 50}), 10 + c.Inset, 20 + c.Inset, 99 - 2 * c.Inset,
               29 - 2 * c.Inset);
  }
}

TEST_F(ProgressTest, FilledRectangleByPositionAndDirection) {
  const TRect r{0, 0, 101, 31};  // inside: (0, 0, 100, 30)
  struct TCase {
    Double Min, Max, Pos;
    TGDIPProgressDirection Dir;
    Single X, Y, W, H;
  } cases[] = {
      {0, 100, 50, pbdHorizontal, 0, 0, 50, 30},
      {0, 100, 250, pbdHorizontal, 0, 0, 100, 30},  // beyond max: the whole length
      {0, 100, 0, pbdHorizontal, 0, 0, 0, 30},
      {0, 100, -40, pbdHorizontal, 0, 0, 0, 30},   // below min: nothing, not a negative length
      {50, 50, 60, pbdHorizontal, 0, 0, 0, 30},    // no range
      {80, 20, 60, pbdHorizontal, 0, 0, 0, 30},
      {0, 30, 15, pbdVertical, 0, 15, 100, 15},    // fills from the bottom
      {0, 30, 99, pbdVertical, 0, 0, 100, 30},
  };
  for (const TCase& c : cases) {
    TGDIPProgress p;
    SCOPED_TRACE(c.Pos);
    ExpectRect(p.CalculateProgressRectangle(r, c.Min, c.Max, c.Pos, c.Dir), c.X, c.Y, c.W, c.H);
  }
  // A bordered filled part keeps its border inside the bar.
  TGDIPProgress p;
  p.ProgressFill()->SetBorderColor(clBlack);
  p.ProgressFill()->SetBorderWidth(2);
  ExpectRect(p.CalculateProgressRectangle(r, 0, 100, 100, pbdHorizontal), 1, 1, 98, 28);
  ExpectRect(p.CalculateProgressRectangle(r, 0, 100, 50, pbdVertical), 1, 30 - 1 - 14, 98, 14);
  p.ProgressFill()->SetBorderWidth(0);  // a zero width is no border at all
  ExpectRect(p.CalculateProgressRectangle(r, 0, 100, 100, pbdHorizontal), 0, 0, 100, 30);
}

TEST_F(ProgressTest, DrawPaintsBackgroundAndFilledPart) {
  TProgressSurface s(101, 31);
  TGDIPProgress p;
  Colour(p);
  p.Draw(&s.Graphics, TRect{0, 0, 101, 31}, 0, 100, 50, pbdHorizontal);
  // Row 16 lies between the top and bottom overlays; columns 25 and 70 are
  // clear of the 10-pixel end shadows.
  EXPECT_TRUE(Reddish(s.Px(25, 16))) << std::hex << s.Px(25, 16);
  EXPECT_TRUE(Bluish(s.Px(70, 16))) << std::hex << s.Px(70, 16);
  // The end shadow darkens the filled part's right end; the top overlay lightens row 1.
  EXPECT_LT(ARGBRed(s.Px(48, 16)), ARGBRed(s.Px(25, 16)));
  EXPECT_GT(ARGBGreen(s.Px(25, 1)), ARGBGreen(s.Px(25, 16)) + 60);
}

TEST_F(ProgressTest, VerticalBarFillsFromTheBottom) {
  TProgressSurface s(31, 101);
  TGDIPProgress p;
  Colour(p);
  p.SetOverlays(false);
  p.Draw(&s.Graphics, TRect{0, 0, 31, 101}, 0, 100, 50, pbdVertical);
  EXPECT_TRUE(Reddish(s.Px(16, 75)));
  EXPECT_TRUE(Bluish(s.Px(16, 25)));
}

TEST_F(ProgressTest, PositionAtMinimumPaintsNoFilledPart) {
  TProgressSurface s(101, 31);
  TGDIPProgress p;
  Colour(p);
  p.Draw(&s.Graphics, TRect{0, 0, 101, 31}, 0, 100, 0, pbdHorizontal);
  for (int x = 0; x < 100; x += 3) EXPECT_FALSE(Reddish(s.Px(x, 16))) << x;
  EXPECT_TRUE(Bluish(s.Px(50, 16)));
}

TEST_F(ProgressTest, TransparentPaintsOnlyTheFilledPart) {
  TProgressSurface s(101, 31);
  TGDIPProgress p;
  Colour(p);
  p.SetTransparent(true);
  p.Draw(&s.Graphics, TRect{0, 0, 101, 31}, 0, 100, 50, pbdHorizontal);
  EXPECT_TRUE(Reddish(s.Px(25, 16)));
  EXPECT_TRUE(Reddish(s.Px(25, 2)));              // no overlay over the filled part
  EXPECT_EQ(s.Px(70, 16), ARGB(0xFFFFFFFF));      // no background
  EXPECT_EQ(s.Px(95, 16), ARGB(0xFFFFFFFF));      // no whole-bar shadow
}

TEST_F(ProgressTest, ValueTextByTypeAndRange) {
  struct TCase {
    TGDIPProgressValueType Type;
    Double Min, Max, Pos;
    const char16_t* Text;
  } cases[] = {
      {vtPercentage, 0, 200, 50, u"25%"},
      {vtPercentage, 10, 10, 10, u"10%"},   // no range: the maximum itself
      {vtPercentage, 0, 100, 250, u"100%"},
      {vtPercentage, 0, 100, -5, u"0%"},
      {vtAbsolute, 0, 100, 250, u"100%"},   // clamped to max
      {vtAbsolute, 20, 100, 3, u"20%"},
      {vtAbsolute, 0, 100, 42.4, u"42%"},
  };
  for (const TCase& c : cases) {
    TGDIPProgress p;
    p.SetValueType(c.Type);
    EXPECT_EQ(p.FormatValue(c.Min, c.Max, c.Pos), c.Text) << c.Pos;
  }
  TGDIPProgress p;
  p.SetValueFormat(u"%.1f of 10");
  EXPECT_EQ(p.FormatValue(0, 10, 2.34), u"2.3 of 10");
}

TEST_F(ProgressTest, ValueTextIsDrawnAndMayBeReplaced) {
  TProgressSurface s(101, 31);
  TGDIPProgress p;
  p.SetTransparent(true);
  p.SetValueVisible(true);
  p.SetValueType(vtPercentage);
  String seen, seenFormat;
  p.OnDrawValue = [&](TObject*, const String& format, String& text) {
    seenFormat = format;
    seen = text;
    text = u"WWWW";
  };
  p.Draw(&s.Graphics, TRect{0, 0, 101, 31}, 0, 200, 0, pbdHorizontal);
  EXPECT_EQ(seen, u"0%");
  EXPECT_EQ(seenFormat, u"%.0f%%");
  int dark = 0, outside = 0;
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 101; ++x) {
      const bool isDark = ARGBGreen(s.Px(x, y)) < 128;
      dark += isDark;
      // vpCenter: the text sits around the middle of the bar.
      if (isDark && (x < 25 || x > 75)) ++outside;
    }
  EXPECT_GT(dark, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(ProgressTest, BadValueFormatRaisesAConversionError) {
  TProgressSurface s(50, 20);
  TGDIPProgress p;
  p.SetValueVisible(true);
  p.SetValueFormat(u"%d");
  EXPECT_THROW(p.Draw(&s.Graphics, TRect{0, 0, 50, 20}, 0, 100, 50, pbdHorizontal), EConvertError);
}

TEST_F(ProgressTest, AssignCopiesAllButTheProgressFont) {
  TGDIPProgress a, b;
  a.ProgressFill()->SetColor(clRed);
  a.SetValueFormat(u"%.2f");
  a.SetValuePosition(vpCustom);
  a.SetValuePositionLeft(7);
  a.SetShadows(false);
  a.Font()->SetColor(clGreen);
  a.ProgressFont()->SetColor(clYellow);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(b.ProgressFill()->Color(), clRed);
  EXPECT_EQ(b.ValueFormat(), u"%.2f");
  EXPECT_EQ(b.ValuePosition(), vpCustom);
  EXPECT_EQ(b.ValuePositionLeft(), 7);
  EXPECT_FALSE(b.Shadows());
  EXPECT_EQ(b.Font()->Color(), clGreen);
  EXPECT_NE(b.ProgressFont()->Color(), clYellow);
  EXPECT_GT(changes, 0);

  changes = 0;
  TGDIPFill other;
  b.Assign(&other);  // another class: nothing happens
  EXPECT_EQ(changes, 0);
  b.ProgressFill()->SetColor(clBlue);  // the owned parts report through the painter
  b.ProgressFont()->SetHeight(-20);
  EXPECT_EQ(changes, 2);
}
