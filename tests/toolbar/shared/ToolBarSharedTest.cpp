// The toolbar unit's colour arithmetic, DPI state, messages and system tests.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/GuiTestApp.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/GraphicsObjects.h"
#include "platform/win/MessageLoop.h"
#include "toolbar/shared/ToolBarShared.h"

using namespace toolbar;

TEST(ToolBarColours, ConversionAndArithmeticTable) {
  struct Case {
    const char* What;
    TColor Got;
    TColor Want;
  };
  const TColor btnFace = ColorToRGB(clBtnFace);
  const Case cases[] = {
      {"blend red/blue 50 rounds half to even up", BlendColor(clRed, clBlue, 50), 0x800080},
      {"blend at 100 keeps a system colour", BlendColor(clBtnFace, clWhite, 100), clBtnFace},
      {"blend at 0 keeps the second", BlendColor(clWhite, clBtnFace, 0), clBtnFace},
      {"blend resolves system colours", BlendColor(clBtnFace, clBtnFace, 50), btnFace},
      {"blend 30 percent", BlendColor(0x0000FF, 0x000000, 30), 0x00004C},
      {"darken -20 is limited to 255", DarkenColor(0xF0F0F0, -20), 0xFFFFFF},
      {"darken 10", DarkenColor(0x646464, 10), 0x5A5A5A},
      {"adjust -10 scales", AdjustColor(0x0000C8, -10), 0x0000B4},
      {"adjust +5 lifts zero channels only", AdjustColor(0x000080, 5), 0x050580},
      {"adjust -5 white", AdjustColor(0xFFFFFF, -5), 0xF2F2F2},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Got, c.Want) << c.What;

  struct ArgbCase {
    TColor In;
    ARGB Want;
  };
  const ArgbCase argb[] = {
      {TColor(0x332211), 0xFF112233u},
      {clNone, 0xFFFFFFFFu},
      {clBlack, 0xFF000000u},
      {clBtnFace, 0xFF000000u | ((DWORD(btnFace) & 0xFF) << 16) | (DWORD(btnFace) & 0xFF00) |
                      ((DWORD(btnFace) >> 16) & 0xFF)},
  };
  for (const ArgbCase& c : argb) EXPECT_EQ(ColorToARGB(c.In), c.Want) << std::hex << c.In;
}

TEST(ToolBarShared, CenterRectAndDefaultFont) {
  TRect r(0, 0, 11, 11);
  CenterRect(r, 4, 4);
  EXPECT_EQ(r, TRect(3, 3, 7, 7));
  TRect n(-5, -5, 0, 0);
  CenterRect(n, 2, 2);  // truncation toward zero
  EXPECT_EQ(n, TRect(-3, -3, -1, -1));  // (-5 + 0 + 2) div 2 = -1, not -2

  TFont f;
  ApplyDefaultFont(&f, true);
  EXPECT_EQ(f.Name(), u"Segoe UI");
  EXPECT_EQ(f.Height(), -12);
  ApplyDefaultFont(&f, false);
  EXPECT_EQ(f.Name(), u"Tahoma");
  EXPECT_EQ(f.Height(), -11);
  ApplyDefaultFont(nullptr, true);
}

TEST(ToolBarShared, DPIScaleFollowsTheZeroHeights) {
  EnsureGuiApplication();
  EXPECT_EQ(CalcDPIScale(96), 1.0f);
  FormScaled = false;
  EXPECT_EQ(CalcDPIScale(144), 1.0f);
  FormScaled = true;
  const Single want = Single(double(GetZeroTextHeight(144, 9)) / GetZeroTextHeight(96, 9));
  EXPECT_FLOAT_EQ(CalcDPIScale(144), want);

  const bool wasSet = ToolBarScaleSet;
  UpdateToolBarDPIScale(144);
  EXPECT_TRUE(ToolBarScaleSet);
  EXPECT_EQ(ToolBarPPI, 144);
  EXPECT_FLOAT_EQ(ToolBarDPIScale, want);
  EXPECT_EQ(ScaledSize16, Integer(std::nearbyint(16 * want)));
  EXPECT_EQ(ScaledCaptionHeight, Integer(std::nearbyint(26 * want)));
  // Back to the start values for the other tests.
  UpdateToolBarDPIScale(96);
  EXPECT_EQ(ScaledSize16, 16);
  EXPECT_EQ(ScaledCaptionHeight, 26);
  ToolBarScaleSet = wasSet;
}

TEST(ToolBarShared, StartUpEmptiesTonesAndRegistersTheMessages) {
  GlobalColorTones.Background.BrushColor = clRed;
  InitializeToolBarShared();
  EXPECT_TRUE(IsColorTonesEmpty(GlobalColorTones));
  EXPECT_TRUE(IsColorTonesEmpty(GlobalAppButtonTones));
  const Word numbers[] = {WM_TBCOMPACTWINHIDE, WM_TBSETAEROVISTA, WM_TBPSETIGNOREALT, WM_TBFUPDATECONTEXTMENU,
                          WM_TBSETMETRO,       WM_TBREVERTMETRO,  WM_TBSETOFFICE2013, WM_TBSHOWSHORTCUTHINT};
  for (Word n : numbers) EXPECT_GE(n, MIN_REGISTERED_MESSAGE);
  EXPECT_EQ(WM_TBSETMETRO, Word(RegisterWindowMessage(u"TBSetMetro")));
  EXPECT_EQ(WM_TBSHOWSHORTCUTHINT, Word(RegisterWindowMessage(u"TBShowShortCutHint")));
  EXPECT_NE(WM_TBSETMETRO, WM_TBREVERTMETRO);
}

TEST(ToolBarShared, ClassLibraryStylesAreNeverActive) {
  EXPECT_EQ(GetStyleServices(), nullptr);
  EXPECT_FALSE(IsStyleServicesEnabled());
}

TEST(ToolBarShared, CompositionIsOffUnlessSwitchedOn) {
  RegisterThemeModules();
  EXPECT_FALSE(IsDwmCompositionActive());
  SetDesktopCompositionForTest(true);
  EXPECT_TRUE(IsDwmCompositionActive());
  SetDesktopCompositionForTest(false);
  EXPECT_FALSE(IsDwmCompositionActive());
}

TEST(ToolBarShared, ShowingNeedsEveryParentVisible) {
  EnsureGuiApplication();
  TPanel outer(nullptr);
  auto* inner = new TPanel(&outer);
  inner->SetParent(&outer);
  EXPECT_FALSE(IsControlShowing(nullptr));
  EXPECT_TRUE(IsControlShowing(inner));
  outer.SetVisible(false);
  EXPECT_FALSE(IsControlShowing(inner));
  EXPECT_FALSE(ContainsFocus(nullptr));
  EXPECT_FALSE(ContainsFocus(&outer));  // no window
}
