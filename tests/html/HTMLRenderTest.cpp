// The window-canvas renderer: layout extents, wrapping and ellipsis, anchors
// and hit tests, and each tag's visible effect sampled on a bitmap.
#include <unistd.h>

#include <filesystem>

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

namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

// A container holding a red picture of the given size under "pic".
std::unique_ptr<TPictureContainer> RedPictures(Integer w, Integer h) {
  auto pc = std::make_unique<TPictureContainer>(nullptr);
  TBitmap bmp(w, h);
  bmp.Canvas()->Brush()->SetColor(kRed);
  bmp.Canvas()->FillRect({0, 0, w, h});
  // A bitmap's bottom-left pixel names its transparent colour.
  bmp.Canvas()->SetPixels(0, h - 1, TColor(0x00FFFF));
  TPictureItem* item = pc->Items()->Add();
  item->SetName(u"pic");
  item->SetPicture(&bmp);
  return pc;
}

}  // namespace

TEST_F(HTMLRenderTest, ColourTagsPaintTheirColours) {
  const struct {
    const char16_t* Markup;
    TColor Colour;
  } cases[] = {
      {u"<font color=\"#FF0000\">red</font>", kRed},
      {u"<font bgcolor=\"#00FF00\">on green</font>", kGreen},
      {u"<span style=\"background-color:#00FF00\">span</span>", kGreen},
      {u"<a href=\"x\">link</a>", kBlue},
      {u"text<hr color=\"#0000FF\">", kBlue},
      {u"<font color=\"clred\">named</font>", kRed},
      {u"<e>mistake</e>", kRed},
      {u"<shad>shadow</shad>", 0x808080},
      {u"<hi>found</hi>", ColorToRGB(clHighlight) & 0xFFFFFF},
      {u"<p bgcolor=\"#00FF00\">para</p>", kGreen},
  };
  for (const auto& c : cases) {
    Clear();
    Render(c.Markup);
    EXPECT_GE(Ink(c.Colour).Right, 0) << String(c.Markup).size();
  }
}

TEST_F(HTMLRenderTest, BodyBackgroundFillsTheRectangleAndLeavesTheBrush) {
  RenderArgs a;
  a.Bounds = {10, 10, 100, 60};
  Render(u"<body bgcolor=\"#FF0000\">text", a);
  EXPECT_EQ(Px(8, 10), kRed);
  EXPECT_EQ(Px(99, 59), kRed);
  EXPECT_EQ(Px(100, 60), TColor(0xFFFFFF));
  Clear();
  Render(u"<body bgcolor=\"#000000\" bgcolorto=\"#FFFFFF\">", a);
  EXPECT_LT(Px(11, 30) & 0xFF, Px(98, 30) & 0xFF);
}

TEST_F(HTMLRenderTest, HiddenAndBlinkingTextDrawNothing) {
  const RenderResult z = Render(u"<z>secret</z>");
  EXPECT_LT(AnyInk().Right, 0);
  EXPECT_EQ(z.PlainText, u"secret");
  Render(u"<blink>now you don't</blink>");
  EXPECT_LT(AnyInk().Right, 0);
}

TEST_F(HTMLRenderTest, StylesChangeMeasures) {
  const Integer plain = Render(u"Wide words").ExtentX;
  EXPECT_GT(Render(u"<b>Wide words</b>").ExtentX, plain);
  EXPECT_GT(Render(u"<strong>Wide words</strong>").ExtentX, plain);
  EXPECT_GT(Render(u"<font size=\"5\">Wide words</font>").ExtentY, Th());
  EXPECT_GT(Render(u"x<sub>2</sub>").ExtentY, Th());
  EXPECT_GT(Render(u"<p line-height=\"2\">a</p>").ExtentY, Th() + Th() / 2);
  // A size in points: 12 points at 96 pixels per inch.
  Render(u"<font size=\"12\">Hg</font>");
  EXPECT_EQ(Bitmap->Canvas()->Font()->Height(), -11);  // the entry font comes back
}

TEST_F(HTMLRenderTest, SizesFromMarkupAreBounded) {
  auto pc = RedPictures(4, 4);
  RenderArgs a;
  a.Container = pc.get();
  a.MeasureOnly = true;
  const RenderResult font = Render(u"<font size=\"2000000000\">x</font>", a);
  EXPECT_LT(font.ExtentY, 1000);
  const RenderResult style = Render(u"<font style=\"font-size:99999pt\">x</font>", a);
  EXPECT_LT(style.ExtentY, 1000);
  const RenderResult img = Render(u"<img src=\"pic\" width=\"2000000000\" height=\"2000000000\">", a);
  EXPECT_LE(img.ExtentY, 4096);
  const RenderResult ind = Render(u"<ind x=\"2000000000\">x", a);
  EXPECT_LE(ind.ExtentX, 16384 + 100);
  a.MeasureOnly = false;
  const RenderResult ofs = Render(u"<ofs x=\"-50\">x<br>y", a);
  EXPECT_GE(ofs.ExtentX, 0);
  EXPECT_GE(AnyInk().Left, 0);
}

TEST_F(HTMLRenderTest, AlignmentAndTabs) {
  Render(u"<p align=\"right\">end</p>");
  EXPECT_NEAR(AnyInk().Right, 299, 3);
  Clear();
  Render(u"<p align=\"center\">mid</p>");
  const TRect c = AnyInk();
  EXPECT_NEAR((c.Left + c.Right) / 2, 150, 4);
  Clear();
  Render(u"a<ind x=\"100\">b");
  EXPECT_GE(AnyInk({90, 0, 300, 20}).Left, 100);
}

TEST_F(HTMLRenderTest, ListBulletsAndNumbers) {
  const RenderResult ul = Render(u"<ul><li>one<li>two</ul>");
  EXPECT_EQ(ul.ExtentY, 2 * Th());
  // Bullets sit left of the text, which starts one list unit in.
  EXPECT_GE(AnyInk({0, 0, 11, Th()}).Right, 0);
  EXPECT_GE(AnyInk({0, Th(), 11, 2 * Th()}).Right, 0);
  EXPECT_GE(AnyInk({12, 0, 40, Th()}).Left, 12);
  Clear();
  const RenderResult ol = Render(u"<ol><li>one<li>two</ol>");
  EXPECT_EQ(ol.ExtentY, 2 * Th());
  EXPECT_GE(AnyInk({0, 0, 11, Th()}).Right, 0);
  Clear();
  Render(u"<ul><li type=\"square\" color=\"#FF0000\">boxed</ul>");
  const TRect sq = Ink(kRed);
  EXPECT_EQ(sq.Right - sq.Left, 7);
  EXPECT_EQ(sq.Bottom - sq.Top, 7);
}

TEST_F(HTMLRenderTest, FloatingPictureNarrowsTheFollowingLines) {
  auto pc = RedPictures(40, 40);
  RenderArgs a;
  a.Container = pc.get();
  a.Bounds = {0, 0, 150, 200};
  const String words = u"<img src=\"pic\" float=\"left\">alpha beta gamma delta epsilon zeta eta theta iota kappa "
                       u"lambda mu nu xi omicron pi rho sigma tau upsilon";
  Render(words, a);
  const TRect red = Ink(kRed);
  EXPECT_EQ(red.Left, 0);
  EXPECT_EQ(red.Right, 39);
  // Beside the picture every line starts right of it; below it, at the left edge.
  EXPECT_LT(Ink(0, {0, 0, 40, 40}).Right, 0);
  EXPECT_GE(Ink(0, {42, Th(), 150, 40}).Right, 0);
  EXPECT_GE(Ink(0, {0, 60, 40, 200}).Right, 0);
}

TEST_F(HTMLRenderTest, PicturesComeFromContainerAndKeepAspect) {
  auto pc = RedPictures(20, 10);
  RenderArgs a;
  a.Container = pc.get();
  Render(u"<img src=\"PIC\" width=\"40\">", a);
  const TRect red = Ink(kRed);
  EXPECT_EQ(red.Right - red.Left + 1, 40);
  EXPECT_EQ(red.Bottom - red.Top + 1, 20);
  Clear();
  const RenderResult missing = Render(u"<img src=\"nothing\">x", a);
  EXPECT_LT(Ink(kRed).Right, 0);
  EXPECT_EQ(missing.ExtentX, Tw(u"x") + 2 + 2);
}

TEST_F(HTMLRenderTest, AnchorWrappedOntoTheNextLineIsHitThere) {
  RenderArgs a;
  a.Bounds = {0, 0, Tw(u"aaaa bbbb") + 2, 200};
  a.HitTestPass = true;
  a.HitX = 2;
  a.HitY = Th() + Th() / 2;
  const RenderResult r = Render(u"aaaa <a href=\"go\">bbbb cccc</a>", a);
  EXPECT_EQ(r.ExtentY, 2 * Th());
  EXPECT_TRUE(r.Hit);
  EXPECT_EQ(r.HitAnchor, u"go");
  EXPECT_EQ(r.HitAnchorIndex, 1);
  EXPECT_EQ(r.HitAnchorRect.Left, 0);
  EXPECT_EQ(r.HitAnchorRect.Top, Th());
  // No anchor at the point: false, index -1, HitAnchor untouched.
  a.HitY = Th() / 2;
  a.HitX = 2;
  const RenderResult miss = Render(u"aaaa <a href=\"go\">bbbb cccc</a>", a);
  EXPECT_FALSE(miss.Hit);
  EXPECT_EQ(miss.HitAnchorIndex, -1);
  EXPECT_TRUE(miss.HitAnchor.empty());
  // Measuring only never reports a hit.
  a.MeasureOnly = true;
  a.HitY = Th() + Th() / 2;
  EXPECT_FALSE(Render(u"aaaa <a href=\"go\">bbbb cccc</a>", a).Hit);
}

TEST_F(HTMLRenderTest, FocusRectangleAroundFirstAnchor) {
  RenderArgs a;
  a.FocusAnchor = 0;
  Render(u"<a href=\"f\">focused</a> rest", a);
  // The dotted frame reaches left of the text and below it.
  EXPECT_GE(AnyInk({0, 0, 300, 200}).Left, 0);
  EXPECT_LE(AnyInk().Left, 0);
}

TEST_F(HTMLRenderTest, ShortRectangleDrawsOnlyWholeLines) {
  RenderArgs a;
  a.Bounds = {0, 0, 300, Th() + Th() / 2};
  const RenderResult drawn = Render(u"one<br>two<br>three", a);
  EXPECT_EQ(drawn.ExtentY, Th());
  EXPECT_LT(AnyInk({0, Th(), 300, 200}).Right, 0);
  a.MeasureOnly = true;
  EXPECT_EQ(Render(u"one<br>two<br>three", a).ExtentY, 3 * Th());
}

TEST_F(HTMLRenderTest, RotationTagsKeepTheOriginalFont) {
  const Integer plain = Render(u"abcdef").ExtentX;
  for (const char16_t* markup : {u"</r>abcdef", u"<r a=\"90\"><r a=\"45\">x</r></r>abcdef", u"<r a=\"90\">x"}) {
    Clear();
    Render(markup);
    Clear();
    Render(u"abcdef");
    const TRect ink = AnyInk();
    EXPECT_GT(ink.Right - ink.Left, ink.Bottom - ink.Top) << String(markup).size();
    EXPECT_EQ(Render(u"abcdef").ExtentX, plain);
  }
}

TEST_F(HTMLRenderTest, StatusBarVariantDiffersInFourWays) {
  RenderArgs main, bar;
  bar.Options = HTMLStatusBarOptions();
  // Alignment lasts past the closing paragraph tag.
  Render(u"<p align=\"right\">one</p>two", bar);
  EXPECT_NEAR(AnyInk({0, Th(), 300, 2 * Th()}).Right, 299, 3);
  Clear();
  Render(u"<p align=\"right\">one</p>two", main);
  EXPECT_LT(AnyInk({0, Th(), 300, 2 * Th()}).Right, 100);
  // The line height lasts for every following line.
  EXPECT_EQ(Render(u"<p line-height=\"2\">a<br>b<br>c", bar).ExtentY, 6 * Th());
  EXPECT_EQ(Render(u"<p line-height=\"2\">a<br>b<br>c", main).ExtentY, 4 * Th());
  // Measured only, so each word is reported once.
  main.MeasureOnly = bar.MeasureOnly = true;
  // No emoji tag: the reference becomes the plain character (a domino tile,
  // which the font in use has).
  Bitmap->Canvas()->Font()->SetName(u"DejaVu Sans");
  EXPECT_EQ(Render(u"&#127024;", bar).PlainText, u"\U0001F030");
  EXPECT_EQ(Render(u"&#127024;", main).PlainText, u"");
  Bitmap->Canvas()->Font()->SetName(u"Tahoma");
  // The shorter entity table.
  EXPECT_EQ(Render(u"&ntilde;", bar).PlainText, u"&ntilde;");
  EXPECT_EQ(Render(u"&ntilde;", main).PlainText, u"\u00F1");
}

TEST_F(HTMLRenderTest, EmojiDrawsInColourAndTakesOneTextHeight) {
  const RenderResult r = Render(u"a&#128512;b");
  EXPECT_EQ(r.ExtentX, Tw(u"ab") + Bitmap->Canvas()->TextHeight(u"gh") + 2);
  // Some pixel of the face is neither white nor grey: the glyph has colour.
  bool coloured = false;
  for (int y = 0; y < 20 && !coloured; ++y)
    for (int x = 0; x < 40 && !coloured; ++x) {
      const TColor c = Px(x, y);
      const int r8 = c & 0xFF, g8 = (c >> 8) & 0xFF, b8 = (c >> 16) & 0xFF;
      coloured = std::abs(r8 - g8) > 40 || std::abs(g8 - b8) > 40;
    }
  EXPECT_TRUE(coloured);
}

TEST_F(HTMLRenderTest, FilePicturesAndFileIconsOnlyFromTrustedText) {
  // A picture file whose name has capitals: the source keeps its case.
  const std::string dir = ::testing::TempDir() + "HtmlRender" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/Red.BMP";
  TBitmap bmp(12, 6);
  bmp.Canvas()->Brush()->SetColor(kRed);
  bmp.Canvas()->FillRect({0, 0, 12, 6});
  bmp.Canvas()->SetPixels(0, 5, TColor(0x00FFFF));
  bmp.SaveToFile(String(path.begin(), path.end()));
  const String markup = u"<img src=\"FILE://" + String(path.begin(), path.end()) + u"\">";
  THTMLPictureCache cache;
  RenderArgs a;
  a.PictureCache = &cache;
  Render(markup, a);
  EXPECT_EQ(Ink(kRed).Right - Ink(kRed).Left + 1, 12);
  Clear();
  THTMLPictureCache fresh;
  a.PictureCache = &fresh;
  a.Options.ExternalText = true;
  Render(markup, a);
  EXPECT_LT(Ink(kRed).Right, 0);
  EXPECT_EQ(fresh.Count(), 0);
  // A file icon by name is not looked up for outside text; by number it is drawn.
  Clear();
  const RenderResult named = Render(u"<img src=\"SSYS:" + String(path.begin(), path.end()) + u"\">x", a);
  EXPECT_EQ(named.ExtentX, Tw(u"x") + 2 + 2);
  const RenderResult numbered = Render(u"<img src=\"SSYS:3\">x", a);
  EXPECT_EQ(numbered.ExtentX, 16 + 2 + Tw(u"x") + 2);
  std::filesystem::remove_all(dir);
}
