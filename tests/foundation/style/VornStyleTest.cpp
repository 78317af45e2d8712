#include <gtest/gtest.h>

#include <cmath>

#include "foundation/style/VornStyle.h"
#include "platform/rtl/Component.h"
#include "tests/support/TestUtil.h"

namespace {

TEST(StyleRoutines, OnlyThreeStylesAreDark) {
  for (int s = tsOffice2003Blue; s <= tsOffice2019Black; ++s) {
    const auto style = static_cast<TVornStyle>(s);
    const bool dark = style == tsOffice2016Black || style == tsOffice2019Gray || style == tsOffice2019Black;
    EXPECT_EQ(IsLightStyle(style), !dark) << "style " << s;
  }
  EXPECT_TRUE(IsLightStyle(tsOffice2016Gray));
  EXPECT_FALSE(IsLightStyle(tsOffice2019Gray));
}

TEST(StyleRoutines, SystemFactsAnswerAsOnAModernSystem) {
  EXPECT_TRUE(HasGetLocaleInfoEx());
  EXPECT_TRUE(IsWindowsXPOrLater());
  EXPECT_EQ(GetDefaultFontName(), u"Segoe UI");
  EXPECT_FALSE(IsVclStyleActive(nullptr, false));
  TColorTones tones = SystemColorTones();
  GetVclStyleColorTones(tones);
  EXPECT_EQ(tones.Background.BrushColor, clNone);
  EXPECT_EQ(tones.Selected, SystemColorTones().Selected);  // the rest untouched
}

TEST(StyleRoutines, EmptyTonesAreJudgedByTheBackgroundOnly) {
  EXPECT_TRUE(IsColorTonesEmpty(EmptyColorTones()));
  TColorTones t = EmptyColorTones();
  t.Foreground = {0, 0, 0};
  t.Selected = {1, 2, 3};
  EXPECT_TRUE(IsColorTonesEmpty(t));
  for (TColor TColorTone::*field : {&TColorTone::BrushColor, &TColorTone::BorderColor, &TColorTone::TextColor}) {
    TColorTones one = EmptyColorTones();
    one.Background.*field = 0;
    EXPECT_FALSE(IsColorTonesEmpty(one));
  }
  EXPECT_FALSE(IsColorTonesEmpty(SystemColorTones()));
}

TEST(StyleRoutines, ToneSetBuilders) {
  const TColorTones sys = SystemColorTones();
  EXPECT_EQ(sys.Background, (TColorTone{clWindow, clHighlight, clWindowText}));
  EXPECT_EQ(sys.Foreground, (TColorTone{0xC0C0C0, 0xC0C0C0, 0}));
  EXPECT_EQ(sys.Selected, (TColorTone{clHighlight, clHighlight, clHighlightText}));
  EXPECT_EQ(sys.Hover, (TColorTone{0x808080, 0x808080, 0xFFFFFF}));
  EXPECT_EQ(sys.Disabled, (TColorTone{clWindow, 0xC0C0C0, 0xC0C0C0}));

  struct Case {
    bool Light;
    TColor Background, Text;
  } cases[] = {{true, 0xFFFFFF, 0x000000}, {false, 0x000000, 0xFFFFFF}};
  for (const Case& c : cases) {
    TColorTones m = EmptyColorTones();
    GetMetroTones(c.Light, 0xE29E00, 0x123456, m);
    EXPECT_EQ(m.Background, (TColorTone{c.Background, 0xE29E00, c.Text})) << c.Light;
    EXPECT_EQ(m.Foreground, (TColorTone{0xC0C0C0, 0xC0C0C0, 0}));
    EXPECT_EQ(m.Selected, (TColorTone{0xE29E00, 0xE29E00, 0xFFFFFF}));
    // 0xE2, 0x9E, 0x00 times 0.8: 180.8, 126.4, 0.
    EXPECT_EQ(m.Hover, (TColorTone{0xB57E00, 0xB57E00, 0xFFFFFF}));
    EXPECT_EQ(m.Disabled, (TColorTone{0xC0C0C0, 0x808080, 0x808080}));
  }
}

TEST(StyleRoutines, DarkenColorClamped) {
  const TColor window = ColorToRGB(clWindow);
  const struct {
    TColor Color;
    Integer Percent;
    TColor Expected;
  } cases[] = {
      {0x808080, 20, 0x666666},   // 102.4
      {0x070505, 50, 0x040202},   // 2.5 -> 2 and 3.5 -> 4: halves to even
      {0xFFFFFF, -50, 0xFFFFFF},  // brighter, held at 255
      {0x402010, -100, 0x804020},
      {0x808080, 150, 0x000000},  // past black, held at 0
      {0x123456, 0, 0x123456},
      {clWindow, 100, 0x000000},
      {clWindow, 0, window},  // system colours are resolved first
  };
  for (const auto& c : cases)
    EXPECT_EQ(DarkenColorClamped(c.Color, c.Percent), c.Expected) << std::hex << c.Color << " " << std::dec << c.Percent;
}

TEST(StyleRoutines, ChangeColorBrightness) {
  const struct {
    TColor Color;
    Integer Percent;
    TColor Expected;
  } cases[] = {
      {0x808080, -10, 0x737373},  // V 128 -> 115.2
      {0xFFFFFF, 20, 0xFFFFFF},   // full brightness, no saturation to change
      {0x336699, -10, 0x2E5C8A},  // every channel follows V: 153 -> 137.7
      {0x000080, 10, 0x00008D},
      {0x808080, 200, 0xFFFFFF},  // V held at 255
      {0x808080, -300, 0x000000},
      {0x3333FF, 20, 0x0A0AFF},   // at V 255 the saturation grows: 0.8 -> 0.96
      {0x1A1AFF, 20, 0x0000FF},   // saturation held at 1 instead of wrapping to a pale colour
      {0x0000FF, -100, 0xFFFFFF}, // saturation 0 leaves a grey of the full value
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChangeColorBrightness(c.Color, c.Percent), c.Expected)
        << std::hex << c.Color << " " << std::dec << c.Percent;
}

TEST(StyleRoutines, HsvConversions) {
  const struct {
    double R, G, B, H, S, V;
  } cases[] = {
      {255, 0, 0, 0, 1, 255},       {0, 255, 0, 120, 1, 255},   {0, 0, 255, 240, 1, 255},
      {255, 0, 255, 300, 1, 255},   {153, 102, 51, 30, 2.0 / 3, 153},
      {255, 255, 0, 60, 1, 255},    // red and green tie: red wins
  };
  for (const auto& c : cases) {
    double h, s, v;
    RGBtoHSV(c.R, c.G, c.B, h, s, v);
    EXPECT_DOUBLE_EQ(h, c.H);
    EXPECT_DOUBLE_EQ(s, c.S);
    EXPECT_DOUBLE_EQ(v, c.V);
    double r = -1, g = -1, b = -1;
    HSVtoRGB(h, s, v, r, g, b);
    EXPECT_NEAR(r, c.R, 1e-9);
    EXPECT_NEAR(g, c.G, 1e-9);
    EXPECT_NEAR(b, c.B, 1e-9);
  }

  double h, s, v;
  RGBtoHSV(90, 90, 90, h, s, v);
  EXPECT_TRUE(std::isnan(h));
  EXPECT_EQ(s, 0);
  double r, g, b;
  HSVtoRGB(h, s, v, r, g, b);
  EXPECT_EQ(r, 90);
  EXPECT_EQ(b, 90);
  RGBtoHSV(0, 0, 0, h, s, v);
  EXPECT_EQ(s, 0);
  EXPECT_TRUE(std::isnan(h));

  EXPECT_EQ(test_support::MessageOf([] {
              double r, g, b;
              HSVtoRGB(0, 0, 100, r, g, b);
            }),
            u"Exception: HSVtoRGB: S = 0 and H has a value");

  r = g = b = 7;
  HSVtoRGB(360, 1, 200, r, g, b);  // 360 counts as 0
  EXPECT_EQ(r, 200);
  EXPECT_EQ(g, 0);
  for (double bad : {400.0, -30.0, std::nan("")}) {
    r = g = b = 7;
    HSVtoRGB(bad, 1, 200, r, g, b);
    EXPECT_EQ(r, 7) << bad;
    EXPECT_EQ(g, 7) << bad;
  }
}

// A component with the richer style interface that also names the plain one.
class TBoth : public TComponent, public IVornStyleEx, public virtual IVornStyle {
 public:
  using TComponent::TComponent;
  void SetComponentStyle(TVornStyle) override {}
  void SetComponentStyleAndAppColor(TVornStyle, TColor) override {}
};

class TTonesOnly : public TComponent, public IVornTones {
 public:
  using TComponent::TComponent;
  void SetColorTones(const TColorTones&) override {}
};

TEST(StyleInterfaces, SupportsFindsWhatAComponentImplements) {
  TBoth both(nullptr);
  TTonesOnly tones(nullptr);
  TComponent plain(nullptr);
  TObject* objects[] = {&both, &tones, &plain, nullptr};
  const struct {
    bool Style, StyleEx, Tones;
  } expected[] = {{true, true, false}, {false, false, true}, {false, false, false}, {false, false, false}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Supports<IVornStyle>(objects[i]) != nullptr, expected[i].Style) << i;
    EXPECT_EQ(Supports<IVornStyleEx>(objects[i]) != nullptr, expected[i].StyleEx) << i;
    EXPECT_EQ(Supports<IVornTones>(objects[i]) != nullptr, expected[i].Tones) << i;
  }
  EXPECT_EQ(static_cast<IVornStyle*>(Supports<IVornStyleEx>(&both)), Supports<IVornStyle>(&both));
}

}  // namespace
