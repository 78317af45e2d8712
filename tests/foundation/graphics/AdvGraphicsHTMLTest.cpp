// The mini-HTML dialect: the preparation and attribute helpers, the
// highlight helpers against a literal reference, and HTMLRender's layout
// (line boxes, anchors, hit results) measured with the project's fonts.
#include <gtest/gtest.h>

#include <random>

#include "foundation/graphics/AdvGraphicsHTML.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/pictures/PictureContainer.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Bitmap.h"

using namespace graphics_html;

namespace {

TEST(AdvGraphicsHTMLDialect, NumericReferences) {
  struct Case {
    const char16_t* in;
    const char16_t* out;
  } cases[] = {
      {u"&#65;", u"A"},
      {u"&#x42;", u"B"},
      {u"&#x20AC;", u"\u20AC"},              // every hex digit counts
      {u"&#x1F600;", u"\U0001F600"},        // beyond U+FFFF: a surrogate pair
      {u"&#128512;", u"\U0001F600"},
      {u"&#x110000;", u"&#x110000;"},       // beyond U+10FFFF: as written
      {u"&#0;", u"&#0;"},
      {u"&#xD800;", u"&#xD800;"},           // a lone surrogate: as written
      {u"&#;x", u"&#;x"},
      {u"&#60;b&#62;", u"&lt;b&gt;"},       // never a tag
      {u"&&#65; &#66;", u"&A B"},           // "&&#" stops nothing
      {u"&#65 is A;", u"Ais A;"},
      {u"&#65 B;", u"&#65 B;"},
      {u"no refs", u"no refs"},
  };
  for (const Case& c : cases) EXPECT_EQ(HTMLDecodeCharRefs(c.in), c.out) << std::string(c.in, c.in + 3);
}

TEST(AdvGraphicsHTMLDialect, PreparationHelpers) {
  EXPECT_EQ(HTMLUnwrapHashTags(u"a<#tag>b<#c>"), u"a#tagb<#c>");
  EXPECT_EQ(HTMLBreaksToBR(u"a\r\nb\nc", true), u"a<BR>bc");
  EXPECT_EQ(HTMLBreaksToBR(u"a\r\nb", false), u"ab");
  EXPECT_EQ(HexPairValue(u"fF"), 255);
  EXPECT_EQ(HexPairValue(u"f"), 0);
  EXPECT_EQ(ValInt(u" 42 "), 42);
  EXPECT_EQ(ValInt(u"4x"), 0);
  Integer p = -1;
  EXPECT_EQ(PosUpperVar(u"SRC", u"img src=\"a\"", p), 4);
  EXPECT_EQ(p, 4);
  EXPECT_EQ(PosUpperVar(u"IMG", u"img", p), 0);
  EXPECT_EQ(PosUpperVar(u"ALT", u"img", p), -1);
  EXPECT_EQ(p, -1);
  EXPECT_EQ(HTMLPrepareText(u"a &amp;amp;lt;b&amp;gt; c"), u"a &lt;b&gt; c");
  EXPECT_EQ(HTMLPrepareText(u"x&eacute;"), u"x\u00E9");
  EXPECT_EQ(HTMLPrepareText(u"&amp;amp;amp; &&amp;amp;"), u"& &&");
}

TEST(AdvGraphicsHTMLDialect, AttributesMatchWholeNames) {
  struct Case {
    const char16_t* tag;
    const char16_t* name;
    bool upper;
    const char16_t* value;
  } cases[] = {
      {u"<P bgcolorto=\"red\" bgcolor=\"blue\">", u"BGCOLOR", true, u"BLUE"},
      {u"<P bgcolorto=\"red\">", u"BGCOLOR", true, u""},
      {u"<FONT bgcolor=\"red\" color=\"#00ff00\">", u"COLOR", false, u"#00ff00"},
      {u"<FONT size=3 color=\"red\">", u"SIZE", true, u""},  // unquoted: empty, not the next value
      {u"<IMG src=\"Pic\" alt=\"x\">", u"SRC", false, u"Pic"},
      {u"<IMG src=\"Pic\">", u"SRC", true, u"PIC"},
  };
  for (const Case& c : cases) EXPECT_EQ(HTMLTagAttr(c.tag, c.name, c.upper), c.value) << std::string(c.name, c.name + 3);
  const auto at = HTMLControlAttrs(u"<CONTROL type=\"check\" id=\"c1\" value=\"a&amp;b\" width=\"20\">");
  EXPECT_EQ(at[0], u"CHECK");
  EXPECT_EQ(at[1], u"c1");
  EXPECT_EQ(at[5], u"20");
  EXPECT_EQ(at[6], u"a&b");
}

// The highlight helpers written out literally: insert, then recount.
Integer RefRawIndex(const String& s, Integer n) {
  for (std::size_t p = 0; p < s.size(); ++p) {
    Integer count = 0;
    bool inTag = false;
    for (std::size_t i = 0; i < p; ++i) {
      if (inTag) {
        if (s[i] == u'>') inTag = false;
      } else if (s[i] == u'<') {
        inTag = true;
      } else {
        ++count;
      }
    }
    if (count == n) return Integer(p);
  }
  Integer count = 0;
  bool inTag = false;
  for (Char c : s) {
    if (inTag) {
      if (c == u'>') inTag = false;
    } else if (c == u'<') {
      inTag = true;
    } else {
      ++count;
    }
  }
  return count == n ? Integer(s.size()) : -1;
}

String RefHighlight(String s, const String& hi, const String& tag) {
  String visible;
  bool inTag = false;
  for (Char c : s) {
    if (inTag) {
      if (c == u'>') inTag = false;
    } else if (c == u'<') {
      inTag = true;
    } else {
      visible += c;
    }
  }
  std::size_t from = 0;
  for (;;) {
    const std::size_t f = visible.find(hi, from);
    if (f == String::npos || hi.empty()) break;
    s.insert(std::size_t(RefRawIndex(s, Integer(f))), u"<" + tag + u">");
    s.insert(std::size_t(RefRawIndex(s, Integer(f + hi.size()))), u"</" + tag + u">");
    from = f + hi.size();
  }
  return s;
}

TEST(AdvGraphicsHTMLDialect, HighlightMatchesTheLiteralReferenceOnRandomTexts) {
  std::mt19937 rng(19);
  const char16_t alphabet[] = u"ab<>/ ";
  for (int round = 0; round < 400; ++round) {
    String s;
    const int len = int(rng() % 24);
    for (int i = 0; i < len; ++i) s += alphabet[rng() % 6];
    for (Integer n = -1; n <= len + 1; ++n) ASSERT_EQ(HTMLRawIndex(s, n), RefRawIndex(s, n)) << round << " " << n;
    const String hi = rng() % 2 ? u"a" : u"ab";
    ASSERT_EQ(HTMLHighlight(s, hi, u"hi", true), RefHighlight(s, hi, u"hi")) << round;
  }
  // The first visible character's insertion point lies before the tags in front of it.
  EXPECT_EQ(HTMLHighlight(u"<b>aA</b>", u"a", u"x", false), u"<x><b>a<x></x>A</x></b>");
  Integer pos = 0;
  EXPECT_EQ(FindTextFrom(u"B", u"abab", 2, pos, false), 3);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(FindTextFrom(u"A", u"abab", 0, pos, false), 0);
  EXPECT_EQ(FindTextFrom(u"B", u"abab", 2, pos, true), -1);
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(FindTextFrom(u"b", u"abab", 4, pos, true), -1);
  // The edges of the visible count: none before the first tag, all at the end.
  EXPECT_EQ(HTMLRawIndex(u"<b>ab</b>", 0), 0);
  EXPECT_EQ(HTMLRawIndex(u"<b>ab</b>", 2), 5);
  EXPECT_EQ(HTMLRawIndex(u"ab<b>", 2), 2);
  EXPECT_EQ(HTMLRawIndex(u"ab", 2), 2);
  EXPECT_EQ(HTMLRawIndex(u"ab", 3), -1);
  EXPECT_EQ(HTMLRawIndex(u"", 0), 0);
}

// --- layout ------------------------------------------------------------------------------

class AdvGraphicsHTMLRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitializeNamedColors();
    TAdvGraphics::SetDefaultGraphicColors();
    G = TAdvGraphics::CreateBitmapCanvas(300, 200);
    G->Font()->SetName(u"Tahoma");
    G->Font()->SetHeight(-11);
    Gh = W(u"gh", false).Y;
  }
  // Width and height of a plain run as the renderer measures it.
  TPointF W(const String& s, bool bold) {
    auto st = G->Font()->Style();
    if (bold) G->Font()->SetStyle(st + TFontStyles{fsBold});
    const TRectF r = G->CalculateText(s, RectF(0, 0, 10000, 10000), false, false);
    G->Font()->SetStyle(st);
    return PointF(r.Width(), r.Height());
  }
  THTMLRenderResult Render(const String& text, const TRectF& rect, bool measureOnly = true, bool wrap = false,
                           Integer x = 0, Integer y = 0, bool test = false) {
    THTMLRenderArgs a;
    a.MeasureOnly = measureOnly;
    a.WordWrap = wrap;
    a.X = x;
    a.Y = y;
    a.TestAnchor = test;
    a.AllowLocalFiles = AllowFiles;
    a.PictureContainer = Container;
    THTMLRenderResult r;
    HTMLRender(G.get(), text, rect, a, r);
    return r;
  }
  std::unique_ptr<TAdvGraphics> G;
  Single Gh = 0;
  bool AllowFiles = false;
  TPictureContainer* Container = nullptr;
};

TEST_F(AdvGraphicsHTMLRenderTest, EmptyTextAndSimpleRuns) {
  THTMLRenderResult r = Render(u"", RectF(0, 0, 300, 200));
  EXPECT_EQ(r.LineCount, 0);
  EXPECT_FLOAT_EQ(r.Width, 0);
  EXPECT_FLOAT_EQ(r.Height, Gh);
  EXPECT_FALSE(r.Hit);

  r = Render(u"ab <b>cd</b>", RectF(0, 0, 300, 200));
  EXPECT_EQ(r.LineCount, 1);
  EXPECT_FLOAT_EQ(r.Width, W(u"ab ", false).X + W(u"cd", true).X + 2);
  EXPECT_FLOAT_EQ(r.Height, Gh);
  EXPECT_EQ(r.PlainText, u"ab cd");
}

TEST_F(AdvGraphicsHTMLRenderTest, LineBreaksWrappingAndPlainTextOnce) {
  THTMLRenderResult r = Render(u"one<br>two\r\nthree", RectF(0, 0, 300, 200), false);
  EXPECT_EQ(r.LineCount, 3);
  EXPECT_FLOAT_EQ(r.Height, 3 * Gh);
  EXPECT_EQ(r.PlainText, u"one\rtwo\rthree");  // each line once, also when drawing
  // Wrapping: the rectangle holds "aaa bbb " but not "ccc" after it.
  const Single width = W(u"aaa bbb ", false).X + W(u"cc", false).X;
  r = Render(u"aaa bbb ccc", RectF(0, 0, width, 200), true, true);
  EXPECT_EQ(r.LineCount, 2);
  EXPECT_FLOAT_EQ(r.Width, W(u"aaa bbb ", false).X - W(u" ", false).X + 2);
  // A word wider than the rectangle takes a line of its own width.
  r = Render(u"wwwwwwwwwwww y z", RectF(0, 0, W(u"www", false).X, 200), true, true);
  EXPECT_EQ(r.LineCount, 2);
  EXPECT_FLOAT_EQ(r.Width, W(u"wwwwwwwwwwww", false).X + 2);
  r = Render(u"aaa bbb ccc", RectF(0, 0, width, 200), true, false);
  EXPECT_EQ(r.LineCount, 1);
}

TEST_F(AdvGraphicsHTMLRenderTest, AnchorRectangleAndHit) {
  const String text = u"go <a href=\"t1\">here</a> now";
  const Single left = W(u"go ", false).X, right = left + W(u"here", false).X;
  THTMLRenderResult r = Render(text, RectF(10, 20, 300, 200), false, false, Integer(10 + left + 3),
                               Integer(20 + Gh / 2), true);
  EXPECT_TRUE(r.Hit);
  EXPECT_EQ(r.Anchor, u"t1");
  EXPECT_EQ(r.AnchorIndex, 1);
  EXPECT_EQ(r.AnchorCount, 1);
  EXPECT_FLOAT_EQ(r.AnchorRect.Left, 10 + left);
  EXPECT_FLOAT_EQ(r.AnchorRect.Right, 10 + right);
  EXPECT_FLOAT_EQ(r.AnchorRect.Top, 20);
  EXPECT_FLOAT_EQ(r.AnchorRect.Bottom, 20 + Gh);
  // Beside the anchor: no hit.
  r = Render(text, RectF(10, 20, 300, 200), false, false, Integer(10 + right + 4), Integer(20 + Gh / 2), true);
  EXPECT_FALSE(r.Hit);
  EXPECT_EQ(r.Anchor, u"");
  // Through the canvas: the anchor under the point.
  EXPECT_EQ(G->DrawText(RectF(10, 20, 300, 200), text, false, gtaLeading, gtaLeading, gttNone, 0, -1, -1, true, true,
                        10 + left + 3, 20 + Gh / 2),
            u"t1");
}

TEST_F(AdvGraphicsHTMLRenderTest, AlignmentIndentAndLists) {
  const Single w = W(u"abc", false).X;
  // Right alignment puts the line at the right: the anchor is hit there, not at the left.
  const String right = u"<p align=\"right\"><a href=\"r\">abc</a></p>";
  THTMLRenderResult r = Render(right, RectF(0, 0, 200, 100), false, false, Integer(200 - w / 2), Integer(Gh / 2), true);
  EXPECT_TRUE(r.Hit);
  EXPECT_FLOAT_EQ(r.AnchorRect.Left, 200 - w);
  EXPECT_FALSE(Render(right, RectF(0, 0, 200, 100), false, false, 3, Integer(Gh / 2), true).Hit);
  // A P INDENT shifts the whole line.
  r = Render(u"<p indent=\"20\"><a href=\"r\">abc</a></p>", RectF(0, 0, 200, 100), false, false, 22,
             Integer(Gh / 2), true);
  EXPECT_TRUE(r.Hit);
  EXPECT_FLOAT_EQ(r.AnchorRect.Left, 20);
  // Two LI tags on one line: the second starts a new line; a list adds 12 per level.
  r = Render(u"<ul><li>a<li>b</ul>", RectF(0, 0, 200, 100));
  EXPECT_EQ(r.LineCount, 3);
  EXPECT_FLOAT_EQ(r.Width, 12 + W(u"a", false).X + 2);
}

TEST_F(AdvGraphicsHTMLRenderTest, ControlsTakeTheirWidth) {
  THTMLRenderResult r = Render(u"a<control type=\"edit\" width=\"100\" id=\"e\">", RectF(0, 0, 300, 100));
  EXPECT_FLOAT_EQ(r.Width, W(u"a", false).X + 100 + 2);
  r = Render(u"a<control type=\"edit\" id=\"e\">", RectF(0, 0, 300, 100));
  EXPECT_FLOAT_EQ(r.Width, W(u"a", false).X + 2);
  // The control under the point.
  const Single ax = W(u"a", false).X;
  r = Render(u"a<control type=\"button\" width=\"60\" id=\"b1\" value=\"OK\">", RectF(0, 0, 300, 100), false, false,
             Integer(ax + 30), 5, true);
  EXPECT_TRUE(r.Hit);
  EXPECT_EQ(r.Anchor, u"ctrl");
  EXPECT_EQ(r.ControlID, u"b1");
  EXPECT_EQ(r.ControlType, u"BUTTON");
  EXPECT_FLOAT_EQ(r.ControlRect.Left, ax);
  EXPECT_FLOAT_EQ(r.ControlRect.Right, ax + 60);
}

TEST_F(AdvGraphicsHTMLRenderTest, PicturesByNameAndLocalFilesOnlyWhenAllowed) {
  TPictureContainer container(nullptr);
  TBitmap bmp(20, 10);
  container.Items()->Add()->SetName(u"pic");
  container.Items()->GetItem(0)->SetPicture(&bmp);
  Container = &container;
  // WIDTH alone: 40 x 20 box, 42 pixels of the line.
  THTMLRenderResult r = Render(u"<img src=\"pic\" width=\"40\">", RectF(0, 0, 300, 100));
  EXPECT_FLOAT_EQ(r.Width, 42 + 2);
  EXPECT_FLOAT_EQ(r.Height, 20);

  TTempHome home;
  const String file = Utf8ToString(home.Path()) + u"/p.bmp";
  bmp.SaveToFile(file);
  const String text = u"<img src=\"FILE://" + file + u"\">";
  r = Render(text, RectF(0, 0, 300, 100));
  EXPECT_FLOAT_EQ(r.Width, 0);  // not read
  AllowFiles = true;
  r = Render(text, RectF(0, 0, 300, 100));
  EXPECT_FLOAT_EQ(r.Width, 22 + 2);
}

// A one-pixel BODY BACKGROUND over a large rectangle stops at the tile cap
// the window renderer has, instead of drawing every one of the tiles.
TEST_F(AdvGraphicsHTMLRenderTest, BodyBackgroundTilesAreCapped) {
  TPictureContainer container(nullptr);
  // Red over blue: the bottom-left colour is the picture's transparent one.
  TBitmap dot(1, 2);
  dot.Canvas()->SetPixels(0, 0, clRed);
  dot.Canvas()->SetPixels(0, 1, clBlue);
  container.Items()->Add()->SetName(u"dot");
  container.Items()->GetItem(0)->SetPicture(&dot);
  Container = &container;
  TCanvas* c = G->Bitmap()->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect({0, 0, 300, 200});
  Render(u"<body background=\"dot\"></body>x", RectF(0, 0, 300, 200), false);
  EXPECT_EQ(c->Pixels(1, 0) & 0xFFFFFF, TColor(clRed));
  // 4096 tiles fill 13 rows of 300 and part of the 14th.
  EXPECT_EQ(c->Pixels(5, 26) & 0xFFFFFF, TColor(clRed));
  EXPECT_NE(c->Pixels(5, 40) & 0xFFFFFF, TColor(clRed));
  EXPECT_NE(c->Pixels(150, 150) & 0xFFFFFF, TColor(clRed));
}

TEST_F(AdvGraphicsHTMLRenderTest, MalformedMarkupNeverRaises) {
  for (const char16_t* t : {u"<font color=\"#12\">a</font>", u"<font color=\"#zzzzzz\">a</font>",
                            u"<body bgcolor=\"#1\">x</body>", u"<p bgcolor=\"\">a</p>", u"a < b", u"<", u"</",
                            u"<hr color=\"#q\">", u"<font size=\"99999999\">x</font>",
                            u"<font style=\"font-size:1e30pt\">x</font>", u"<img src=\"data:x;base64,@@@\">"}) {
    EXPECT_NO_THROW(Render(t, RectF(0, 0, 200, 100), false)) << std::string(t, t + 4);
  }
  EXPECT_EQ(Render(u"ok < not shown", RectF(0, 0, 200, 100)).PlainText, u"ok ");
}

TEST_F(AdvGraphicsHTMLRenderTest, OptimizedDrawingSplitsAtBothBreakSpellings) {
  G->SetOptimizedHTMLDrawing(true);
  const Single two = G->CalculateText(u"a<BR>b</b>", RectF(0, 0, 300, 200)).Height();
  const Single first = G->CalculateText(u"a", RectF(0, 0, 300, 200)).Height();
  const Single second = G->CalculateText(u"b</b>", RectF(0, 0, 300, 200)).Height();
  EXPECT_FLOAT_EQ(two, first + second);
  EXPECT_FLOAT_EQ(G->CalculateText(u"a<BR/>b</b>", RectF(0, 0, 300, 200)).Height(), two);
}

}  // namespace
