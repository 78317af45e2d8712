// The SVG document model: loading, the attribute and style language, style
// rules, text and image content, references, and the hostile-input limits.
#include <gtest/gtest.h>

#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"
#include "platform/xml/XMLDocument.h"

namespace {

class SVGParse : public ::testing::Test {
 protected:
  void SetUp() override { InitializeNamedColors(); }

  TAdvGraphicsSVGImport& Load(const char* body, const char* root = R"(<svg xmlns="http://www.w3.org/2000/svg">)") {
    doc.LoadFromText(Utf8ToString(std::string(root) + body + "</svg>"));
    return doc;
  }
  TAdvGraphicsSVGElement* At(std::size_t i) { return doc.Elements().at(i).get(); }

  TAdvGraphicsSVGImport doc;
};

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000;

TEST_F(SVGParse, StyleDeclarationsWinOverPresentationAttributes) {
  Load(R"(<rect fill="red" style="fill:blue" width="5" height="5"/>
          <rect style="fill:blue" fill="red" width="5" height="5"/>
          <rect fill="blue" width="5" height="5"/>)");
  ASSERT_EQ(doc.ElementCount(), 3);
  EXPECT_EQ(At(0)->FillColor(), kBlue);
  EXPECT_EQ(At(1)->FillColor(), kBlue);
  EXPECT_EQ(At(2)->FillColorValue(), u"blue");
}

TEST_F(SVGParse, ColourForms) {
  struct Case {
    const char* fill;
    TColor color;
    const char16_t* valueText;
    Single alpha;
  };
  const Case cases[] = {
      {"#ff0000", kRed, u"#ff0000", 1},         {"#f00", kRed, u"#f00", 1},
      {"red", kRed, u"red", 1},                 {"rgb(255,0,0)", kRed, u"rgb(255,0,0)", 1},
      {"rgb(100%, 0, 0)", kRed, u"rgb(100%, 0, 0)", 1},
      {"rgb(50%,0,0)", 128, u"rgb(50%,0,0)", 1},
      {"rgba(255,0,0,0.5)", kRed, u"rgba(255,0,0,0.5)", 0.5f},
      {"rgba(255,0,0,0)", -1, u"none", 1},      {"none", -1, u"none", 1},
      {"transparent", -1, u"transparent", 1},   {"nosuchcolour", 0, u"nosuchcolour", 1},
      {"rgb(12.5,0,0)", -1, u"rgb(12.5,0,0)", 1},
  };
  for (const Case& c : cases) {
    Load((std::string(R"(<rect width="1" height="1" fill=")") + c.fill + R"("/>)").c_str());
    ASSERT_EQ(doc.ElementCount(), 1) << c.fill;
    EXPECT_EQ(At(0)->FillColor(), c.color) << c.fill;
    EXPECT_EQ(At(0)->FillColorValue(), c.valueText) << c.fill;
    EXPECT_FLOAT_EQ(At(0)->FillColorAlpha(), c.alpha) << c.fill;
  }
}

TEST_F(SVGParse, PresentationValues) {
  Load(R"(<g fill="red"><rect width="5" height="5" stroke-width="2mm" opacity="0.25" fill-opacity="50%"
          stroke-opacity="0.5" display="None" font-family="Arial-BoldMT" font-size="12pt" class="c1"/></g>
          <text font-family="Segoe UI, Tahoma" font-style="italic">Hi</text>)");
  TAdvGraphicsSVGElement* g = At(0);
  TAdvGraphicsSVGElement* r = g->Elements().at(0).get();
  EXPECT_EQ(r->FillColorValue(), u"default");
  EXPECT_EQ(r->Parent(), g);
  EXPECT_NEAR(r->StrokeWidth(), 2 * 3.543307f, 1e-4);
  EXPECT_FLOAT_EQ(r->Opacity(), 0.25f);
  EXPECT_FLOAT_EQ(r->FillOpacity(), 0.5f);
  EXPECT_FLOAT_EQ(r->StrokeOpacity(), 0.5f);
  EXPECT_EQ(r->DisplayValue(), u"none");
  EXPECT_EQ(r->FontFamily(), u"Arial");
  EXPECT_TRUE(r->FontStyle().Contains(fsBold));
  EXPECT_FLOAT_EQ(r->FontSize(), 15);
  EXPECT_EQ(r->ClassRefID(), u"c1");
  TAdvGraphicsSVGElement* t = At(1);
  EXPECT_EQ(t->FontFamily(), u"Tahoma");
  EXPECT_TRUE(t->FontStyle().Contains(fsItalic));
  // An unreadable stroke width keeps the previous one.
  Load(R"(<rect width="1" height="1" style="stroke-width:3;stroke-width:thick"/>)");
  EXPECT_FLOAT_EQ(At(0)->StrokeWidth(), 3);
}

TEST_F(SVGParse, GradientsAndStops) {
  Load(R"~(<defs><linearGradient id="g" x1="0" y1="0" x2="10" y2="5">
            <stop offset="0" stop-color="red"/><stop offset="50%" stop-color="#00f" stop-opacity="50%"/>
            <stop offset="1" style="stop-color:rgba(0,0,255,0.5)" stop-opacity="0.5"/></linearGradient>
          <radialGradient id="r" cx="25%" cy="0.75" href="#g"/></defs>
          <rect width="5" height="5" fill="red" stroke="url(#g)"/>
          <rect width="5" height="5" fill="url('#r')"/>)~");
  ASSERT_EQ(doc.ElementCount(), 2);
  ASSERT_EQ(doc.DefsList().size(), 2u);
  TAdvGraphicsSVGElement* g = doc.DefsList()[0].get();
  EXPECT_EQ(g->Type(), etLinearGradient);
  EXPECT_FLOAT_EQ(g->Width(), 10);
  EXPECT_FLOAT_EQ(g->Height(), 5);
  ASSERT_EQ(g->Elements().size(), 3u);
  EXPECT_FLOAT_EQ(g->Elements()[1]->Offset(), 0.5f);
  EXPECT_FLOAT_EQ(g->Elements()[1]->StopOpacity(), 0.5f);
  EXPECT_EQ(g->Elements()[1]->StopColor(), kBlue);
  EXPECT_FLOAT_EQ(g->Elements()[2]->StopColorAlpha(), 0.5f);
  TAdvGraphicsSVGElement* r = doc.DefsList()[1].get();
  EXPECT_TRUE(r->HasCX());
  EXPECT_FLOAT_EQ(r->CX(), 0.25f);
  EXPECT_FLOAT_EQ(r->CY(), 0.75f);
  EXPECT_EQ(r->HRefRef(), g);
  // A stroke's url names the stroke's server only; the red fill stays a colour.
  EXPECT_EQ(At(0)->PatternRef(), nullptr);
  EXPECT_EQ(At(0)->StrokePatternRef(), g);
  EXPECT_EQ(At(0)->FillColor(), kRed);
  EXPECT_EQ(At(1)->PatternRef(), r);
}

TEST_F(SVGParse, StyleElementRules) {
  Load(R"(<style>.a{fill:red}.b{fill:blue} .c {fill:red}</style>
          <rect class="a" width="1" height="1"/><rect class="b" width="1" height="1"/>
          <rect class="c" width="1" height="1"/>)");
  ASSERT_EQ(doc.DefsList().size(), 3u);
  EXPECT_EQ(doc.DefsList()[0]->ClassRefID(), u"a");
  EXPECT_EQ(doc.DefsList()[1]->ClassRefID(), u"b");
  EXPECT_EQ(doc.DefsList()[2]->ClassRefID(), u"c ");
  EXPECT_EQ(At(0)->ClassRef(), doc.DefsList()[0].get());
  EXPECT_EQ(At(1)->ClassRef(), doc.DefsList()[1].get());
  EXPECT_EQ(At(2)->ClassRef(), nullptr);
}

TEST_F(SVGParse, StyleElementEndsOnEveryText) {
  // Texts whose rules are out of order or unfinished: each load finishes.
  const char* texts[] = {"}.a{", "}}}{.", ".a{fill:red", "{{{", "...}", "}x.{y}", "a{fill:red}", ".", "{}.}"};
  for (const char* t : texts) {
    Load((std::string("<style>") + t + "</style><rect width=\"1\" height=\"1\"/>").c_str());
    EXPECT_EQ(doc.ElementCount(), 1) << t;
  }
}

TEST_F(SVGParse, TextContent) {
  Load(R"(<text x="3" y="20">Hello</text><text>Hello <tspan>World</tspan></text>)");
  ASSERT_EQ(doc.ElementCount(), 2);
  EXPECT_EQ(At(0)->Text(), u"Hello");
  EXPECT_FALSE(At(0)->HasElements());
  ASSERT_EQ(At(1)->Elements().size(), 2u);
  EXPECT_EQ(At(1)->Elements()[0]->Type(), etTextSpanChild);
  EXPECT_EQ(At(1)->Elements()[0]->Text(), u"Hello ");
  TAdvGraphicsSVGElement* span = At(1)->Elements()[1].get();
  EXPECT_EQ(span->Type(), etTextSpan);
  ASSERT_EQ(span->Elements().size(), 1u);
  EXPECT_EQ(span->Elements()[0]->Text(), u"World");
}

TEST_F(SVGParse, SkippedContent) {
  Load(R"(<use href="#x"/><switch><rect width="1" height="1"/></switch><svg><rect width="1" height="1"/></svg>
          <svg:rect width="1" height="1"/><a><rect width="1" height="1"/></a><rect width="1" height="1"/>)");
  ASSERT_EQ(doc.ElementCount(), 1);
  EXPECT_EQ(At(0)->Type(), etRect);
  // A root other than svg gives an empty document without error.
  doc.LoadFromText(u"<html><rect width='1' height='1'/></html>");
  EXPECT_FALSE(doc.HasElements());
  EXPECT_THROW(doc.LoadFromText(u"<svg><rect></svg>"), EXMLDocError);
  EXPECT_FALSE(doc.HasElements());
}

TEST_F(SVGParse, ClipPathThroughClassRule) {
  Load(R"~(<defs><clipPath id="c"><rect width="4" height="4"/></clipPath></defs>
          <style>.k{clip-path:url(#c)}</style><rect class="k" width="9" height="9"/>)~");
  ASSERT_EQ(doc.ElementCount(), 1);
  ASSERT_NE(At(0)->ClipPathRef(), nullptr);
  EXPECT_FLOAT_EQ(At(0)->ClipPathRef()->Width(), 4);
}

TEST_F(SVGParse, EntitiesAreNeverExpanded) {
  // Declared entities stay unexpanded (no growth, nothing loaded); the
  // predefined ones and character references are read.
  const char* text = R"(<?xml version="1.0"?>
<!DOCTYPE svg [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
<!ENTITY ext SYSTEM "file:///etc/passwd">]>
<svg><text>&b;&ext;&lt;&#65;</text></svg>)";
  doc.LoadFromText(Utf8ToString(text));
  ASSERT_EQ(doc.ElementCount(), 1);
  EXPECT_EQ(At(0)->Text().find(u"aaaa"), String::npos);
  EXPECT_EQ(At(0)->Text().find(u"root"), String::npos);
  EXPECT_NE(At(0)->Text().find(u"<A"), String::npos);
}

TEST_F(SVGParse, DeepNestingIsBounded) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<g>";
  deep += R"(<rect width="1" height="1"/>)";
  for (int i = 0; i < 5000; ++i) deep += "</g>";
  Load(deep.c_str());
  EXPECT_EQ(doc.ElementCount(), 1);
  int depth = 0;
  for (TAdvGraphicsSVGElement* e = At(0); e->HasElements() && !e->Elements().empty(); e = e->Elements()[0].get())
    ++depth;
  EXPECT_LT(depth, 1000);
}

TEST_F(SVGParse, ImagesLoadOnlyDataAddressesByDefault) {
  // A 1x1 PNG as a data address; a file name and a web address are not loaded.
  const char* png =
      "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==";
  Load((std::string(R"(<image width="4" height="4" href="data:image/png;base64,)") + png +
        R"("/><image width="4" height="4" xlink:href="/etc/hostname"/>
          <image width="4" height="4" href="http://127.0.0.1:9/x.png"/>
          <image width="4" height="4" href="data:image/png;base64,AAAA"/>)").c_str());
  ASSERT_EQ(doc.ElementCount(), 4);
  ASSERT_TRUE(At(0)->HasBitmap());
  EXPECT_FALSE(IsBitmapEmpty(At(0)->Bitmap()));
  EXPECT_FALSE(At(1)->HasBitmap());
  EXPECT_FALSE(At(2)->HasBitmap());
  EXPECT_TRUE(!At(3)->HasBitmap() || IsBitmapEmpty(At(3)->Bitmap()));
}

TEST_F(SVGParse, StreamAndSave) {
  const std::string text = "\xEF\xBB\xBF<svg viewBox=\"0 0 10 10\">\n<rect width=\"2\" height=\"3\"/>\n</svg>";
  TBytesStream in(TBytes(text.begin(), text.end()));
  in.SetPosition(5);
  doc.LoadFromStream(&in);
  ASSERT_EQ(doc.ElementCount(), 1);
  TBytesStream out;
  doc.SaveToStream(&out);
  TAdvGraphicsSVGImport again;
  TBytesStream back(out.Bytes());
  again.LoadFromStream(&back);
  EXPECT_EQ(again.ElementCount(), 1);
  EXPECT_EQ(again.ViewRect, RectF(0, 0, 10, 10));
  // Loads do not accumulate.
  doc.LoadFromText(u"<svg><rect width='1' height='1'/><rect width='1' height='1'/></svg>");
  EXPECT_EQ(doc.ElementCount(), 2);
  doc.Clear();
  EXPECT_EQ(doc.ElementCount(), 0);
  EXPECT_EQ(doc.ViewRect.Left, TAdvGraphicsSVGImport::kEmptyMarker);
}

TEST_F(SVGParse, NumbersReadWithADotWhateverTheDecimalSeparator) {
  const Char saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = u',';
  Load(R"(<rect x="1.5" y="2e1" width="3.25" height="4" stroke-width="0.5" opacity=".5"/>)",
       R"(<svg viewBox="0 0 10.5 20.5">)");
  FormatSettings.DecimalSeparator = saved;
  EXPECT_EQ(doc.ViewRect, RectF(0, 0, 10.5f, 20.5f));
  ASSERT_EQ(doc.ElementCount(), 1);
  EXPECT_FLOAT_EQ(At(0)->X(), 1.5f);
  EXPECT_FLOAT_EQ(At(0)->Y(), 20);
  EXPECT_FLOAT_EQ(At(0)->Width(), 3.25f);
  EXPECT_FLOAT_EQ(At(0)->StrokeWidth(), 0.5f);
  EXPECT_FLOAT_EQ(At(0)->Opacity(), 0.5f);
}

TEST_F(SVGParse, EveryClassedElementReachesItsRuleOnce) {
  // Many classed elements, some naming the class twice (attribute and style).
  std::string body = "<style>.a{fill:red}</style>";
  for (int i = 0; i < 2000; ++i) body += i % 2 ? R"(<rect class="a" width="1" height="1"/>)"
                                               : R"(<rect class="a" style="class:a" width="1" height="1"/>)";
  Load(body.c_str());
  ASSERT_EQ(doc.ElementCount(), 2000);
  for (const auto& e : doc.Elements()) {
    ASSERT_NE(e->ClassRef(), nullptr);
    EXPECT_EQ(e->ClassRef()->FillColor(), kRed);
  }
}

}  // namespace
