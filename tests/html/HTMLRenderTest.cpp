// The window-canvas renderer: layout extents, wrapping and ellipsis, anchors
// and hit tests, and each tag's visible effect sampled on a bitmap.
#include "tests/html/HTMLRenderFixture.h"

using namespace html_test;

TEST_F(HTMLRenderTest, EmptyTextReportsOneTextHeight) {
  const RenderResult r = Render(u"");
  EXPECT_EQ(r.ExtentX, 0);
  EXPECT_EQ(r.ExtentY, Th());
  EXPECT_FALSE(r.Hit);
  EXPECT_LT(AnyInk().Right, 0);
}

TEST_F(HTMLRenderTest, WordsWrapIntoLinesOrEndInEllipsis) {
  RenderArgs a;
  a.Bounds = {0, 0, Tw(u"m m") - 1, 200};
  const RenderResult wrapped = Render(u"m m m", a);
  EXPECT_EQ(wrapped.ExtentY, 3 * Th());
  Clear();
  a.WrapWords = false;
  const RenderResult one = Render(u"m m m", a);
  EXPECT_EQ(one.ExtentY, Th());
}

TEST_F(HTMLRenderTest, TrailingBlankDoesNotCountInTheWidth) {
  const RenderResult a = Render(u"word <BR>");
  const RenderResult b = Render(u"word<BR>");
  EXPECT_EQ(a.ExtentX, b.ExtentX);
  EXPECT_EQ(b.ExtentX, Tw(u"word") + 2);
}

TEST_F(HTMLRenderTest, HitOnSecondAnchorReportsItsIndexAndRectangle) {
  const String text = u"<a href=\"one\">first</a> and <a href=\"two\" title=\"Two\">second</a>";
  RenderArgs a;
  a.HitTestPass = true;
  a.HitX = Tw(u"first and ") + 3;
  a.HitY = Th() / 2;
  const RenderResult r = Render(text, a);
  EXPECT_TRUE(r.Hit);
  EXPECT_EQ(r.HitAnchor, u"two");
  EXPECT_EQ(r.AnchorTitle, u"Two");
  EXPECT_EQ(r.HitAnchorIndex, 2);
  EXPECT_EQ(r.AnchorCount, 2);
  EXPECT_NEAR(r.HitAnchorRect.Left, Tw(u"first and "), 2);
  EXPECT_NEAR(r.HitAnchorRect.Right, Tw(u"first and second"), 2);
}
