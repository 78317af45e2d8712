// The office toolbar styler's presets, shared-style mapping and application colours.
#include <gtest/gtest.h>

#include "StylerFixture.h"
#include "foundation/gdiplus/LookFlags.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

using namespace stylertest;
using namespace toolbar;

namespace {

struct TExpect {
  const char* What;
  Integer Got;
  Integer Want;
};

void CheckAll(const std::vector<TExpect>& Cases) {
  for (const TExpect& c : Cases) EXPECT_EQ(c.Got, c.Want) << c.What;
}

// Every line of a saved style file but the first (the style name).
std::string StyleLines(TZadEdevAziOfficeStyler& S) {
  const std::string bytes = S.SaveToBytes();
  return bytes.substr(bytes.find('\n') + 1);
}

}  // namespace

TEST_F(StylerTest, Office2003BlueWithoutPagerSetsTheListing) {
  TZadEdevAziOfficeStyler s(nullptr);
  TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
  panel.SetToolBarStyler(&s);
  s.SetStyle(bsOffice2019White);  // away from the defaults first
  Log.clear();
  s.SetStyle(bsOffice2003Blue);
  EXPECT_EQ(Log, (TLog{{"Panel", 2}})) << "one general change after the whole preset";
  auto* b = s.ButtonAppearance();
  auto* t = s.TabAppearance();
  auto* g = s.GroupAppearance();
  auto* glow = s.GlowButtonAppearance();
  CheckAll({
      {"VornStyle", s.VornStyle(), tsOffice2003Blue},
      {"Color.Color", s.Color()->Color(), 0xFDEADA},
      {"Color.ColorTo", s.Color()->ColorTo(), 0xE4AE88},
      {"Color.Direction", s.Color()->Direction(), toolbar::gdVertical},
      {"Color.Steps", s.Color()->Steps(), 64},
      {"DockColor.Color", s.DockColor()->Color(), 0xF5BFA0},
      {"DockColor.ColorTo", s.DockColor()->ColorTo(), 0xFADAC4},
      {"DockColor.Direction", s.DockColor()->Direction(), toolbar::gdHorizontal},
      {"DockColor.Steps", s.DockColor()->Steps(), 128},
      {"RightHandleColor", s.RightHandleColor(), 0xF1A675},
      {"RightHandleColorTo", s.RightHandleColorTo(), 0x913500},
      {"RightHandleColorHot", s.RightHandleColorHot(), 0xD3F8FF},
      {"RightHandleColorHotTo", s.RightHandleColorHotTo(), 0x76C1FF},
      {"RightHandleColorDown", s.RightHandleColorDown(), 0x087FE8},
      {"RightHandleColorDownTo", s.RightHandleColorDownTo(), 0x7CDAF7},
      {"Caption colour", s.CaptionAppearance()->CaptionColor(), clHighlight},
      {"Caption colour to", s.CaptionAppearance()->CaptionColorTo(), clHighlight},
      {"Caption border", s.CaptionAppearance()->CaptionBorderColor(), clHighlight},
      {"Caption hot", s.CaptionAppearance()->CaptionColorHot(), 0xCCF4FF},
      {"Caption hot to", s.CaptionAppearance()->CaptionColorHotTo(), 0x91D0FF},
      {"Caption text", s.CaptionAppearance()->CaptionTextColor(), 0xFFFFFF},
      {"Caption text hot", s.CaptionAppearance()->CaptionTextColorHot(), 0},
      {"Button colour", b->Color(), 0xFDEADA},
      {"Button colour to", b->ColorTo(), 0xE4AE88},
      {"Button down", b->ColorDown(), 0x4E91FE},
      {"Button down to", b->ColorDownTo(), 0x91D3FF},
      {"Button hot", b->ColorHot(), 0xCCF4FF},
      {"Button hot to", b->ColorHotTo(), 0x91D0FF},
      {"Button checked", b->ColorChecked(), 0x8CD5FF},
      {"Button checked to", b->ColorCheckedTo(), 0x58AFFF},
      {"Button caption text", b->CaptionTextColorChecked(), 0},
      {"Button border down", b->BorderDownColor(), 0x800000},
      {"Button border hot", b->BorderHotColor(), 0x800000},
      {"Button border checked", b->BorderCheckedColor(), 0x800000},
      {"Floating border", s.FloatingWindowBorderColor(), 0x913500},
      {"Floating width", s.FloatingWindowBorderWidth(), 2},
      {"RoundEdges", s.RoundEdges(), true},
      {"Grip", s.DragGripStyle(), dsDots},
      {"Bevel", s.Bevel(), bvNone},
      {"UseBevel", s.UseBevel(), false},
      {"Glow colour", glow->Color(), 0xEEDBC8},
      {"Glow colour to", glow->ColorTo(), 0xF6DDC9},
      {"Glow mirror", glow->ColorMirror(), 0xEDD4C0},
      {"Glow mirror to", glow->ColorMirrorTo(), 0xF7E1D0},
      {"Glow border", glow->BorderColor(), 0xE0B99B},
      {"Glow hot (common part)", glow->ColorHot(), 0xEBFDFF},
      {"Glow mirror down (common part)", glow->ColorMirrorDown(), 0x0E72F1},
      {"Glow checked border stays", glow->BorderColorChecked(), s.CompactGlowButtonAppearance()->BorderColorChecked()},
      {"Compact copy", s.CompactGlowButtonAppearance()->Color(), 0xEEDBC8},
      {"Group text", g->TextColor(), 0},
      {"Group colour", g->Color(), 0xFDEADA},
      {"Group colour to", g->ColorTo(), 0xF1DECC},
      {"Group mirror", g->ColorMirror(), 0xF1DECC},
      {"Group mirror to", g->ColorMirrorTo(), 0xFDEADA},
      {"Group border", g->BorderColor(), 0xC2C2C2},
      {"Group tab hot mirror to", g->TabAppearance()->ColorMirrorHotTo(), 0x91D0FF},
      {"Group tab selected", g->TabAppearance()->ColorSelected(), 0x9EDFFB},
      {"Group tab selected mirror to", g->TabAppearance()->ColorMirrorSelectedTo(), 0xD4F1FD},
      {"Group tab border selected", g->TabAppearance()->BorderColorSelected(), 0xA0BFCC},
      {"Group tab border hot", g->TabAppearance()->BorderColorHot(), clHighlight},
      {"Group tab border", g->TabAppearance()->BorderColor(), clHighlight},
      {"Group page colour", g->PageAppearance()->Color(), 0xD6F2FE},
      {"Group page border", g->PageAppearance()->BorderColor(), 0xC2C2C2},
      {"Group toolbar colour", g->ToolBarAppearance()->Color()->Color(), 0xECF8FD},
      {"Group toolbar border", g->ToolBarAppearance()->BorderColor(), 0xCCD1D3},
      {"Group toolbar hot to", g->ToolBarAppearance()->ColorHot()->ColorTo(), 0xFDFBFA},
      {"Group toolbar border hot", g->ToolBarAppearance()->BorderColorHot(), 0xC7C7C7},
      {"Group caption", g->CaptionAppearance()->CaptionColor(), 0xF2DAC2},
      {"Group caption hot to", g->CaptionAppearance()->CaptionColorHotTo(), 0xFFEDD6},
      {"Tab background", t->BackGround()->Color(), 0xE4AE88},
      {"Tab background to", t->BackGround()->ColorTo(), 0xFADAC4},
      {"Tab border", t->BorderColor(), clNone},
      {"Tab border hot", t->BorderColorHot(), clHighlight},
      {"Tab border selected", t->BorderColorSelected(), 0},
      {"Tab border selected hot", t->BorderColorSelectedHot(), 0x60CCF9},
      {"Tab text disabled", t->TextColorDisabled(), 0x808080},
      {"Tab selected", t->ColorSelected(), 0xFCDCC4},
      {"Tab mirror selected to", t->ColorMirrorSelectedTo(), 0xF6EAE0},
      {"Tab disabled to", t->ColorDisabledTo(), 0xC0C0C0},
      {"Tab mirror hot to", t->ColorMirrorHotTo(), 0x91D0FF},
      {"Tab shadow", t->ShadowColor(), 0xA3673F},
      {"Tab highlight hot", t->HighLightColorHot(), 0xFDF4ED},
      {"Tab highlight selected hot", t->HighLightColorSelectedHot(), 0xBDFFFF},
      {"Face mirror", s.Color()->Mirror()->Color(), 0xFADAC4},
      {"Face mirror mirror to", s.Color()->Mirror()->ColorMirrorTo(), 0xFCE1CE},
      {"ColorHot", s.ColorHot()->Color(), 0xFFF1E6},
      {"ColorHot to", s.ColorHot()->ColorTo(), 0xFAEADE},
      {"ColorHot mirror mirror", s.ColorHot()->Mirror()->ColorMirror(), 0xFBDCC8},
      {"ColorHot direction", s.ColorHot()->Direction(), toolbar::gdVertical},
      {"BorderColor (the later value)", s.BorderColor(), 0xE0C7AD},
      {"BorderColorHot", s.BorderColorHot(), 0xE0C7AD},
      {"Page border", s.PageAppearance()->BorderColor(), 0xE3B28D},
      {"Page mirror to", s.PageAppearance()->ColorMirrorTo(), 0xFDE8D7},
      {"Page shadow", s.PageAppearance()->ShadowColor(), 0xCD9D7A},
      {"Page highlight", s.PageAppearance()->HighLightColor(), 0xFDF9CE},
      {"Pager caption", s.PagerCaption()->ColorMirrorTo(), 0xE4AE88},
      {"Pager caption border", s.PagerCaption()->BorderColor(), 0xF0CAAE},
      {"Pager caption text (common part)", s.PagerCaption()->TextColor(), 0x808080},
      {"QAT colour", s.QATAppearance()->Color(), 0xFDEADA},
      {"QAT colour to", s.QATAppearance()->ColorTo(), 0xE4AE88},
      {"QAT border", s.QATAppearance()->BorderColor(), 0x913500},
      {"QAT full size border", s.QATAppearance()->FullSizeBorderColor(), 0xE4AE88},
      {"SysButtonColor", s.SysButtonColor(), 0},
  });
}

TEST_F(StylerTest, Office2019WhiteWithAPagerBuildsTonesAndCopiesBack) {
  TZadEdevAziOfficeStyler s(nullptr);
  TRecordingPager pager(&Log, "Pager");
  pager.SetToolBarStyler(&s);
  pager.Page.SetColor(0x0A0B0C);
  pager.Tab.SetColor(0x010101);
  Log.clear();
  s.SetStyle(bsOffice2019White);
  EXPECT_EQ(pager.ToneClears, 1);
  EXPECT_EQ(pager.ToneSets, 1);
  EXPECT_EQ(pager.LastGroupStyle, ribbon::gsOffice2019);
  EXPECT_EQ(pager.QATUpdates, 0);
  const ribbon::TOfficeTones& t = pager.LastTones;
  auto* a = s.AppColor();
  CheckAll({
      {"AppButtonColor (a colour of its own stays)", a->AppButtonColor(), 0xE29E00},
      {"HoverColor", a->HoverColor(), 0xF7E6CD},
      {"HoverBorderColor follows HoverColor", a->HoverBorderColor(), 0xF7E6CD},
      {"SelectedBorderColor follows SelectedColor", a->SelectedBorderColor(), 0xE7BE7A},
      {"App text", a->TextColor(), 0x262626},
      {"Buttons foreground brush from HoverColor", t.Buttons.Foreground.BrushColor, 0xF7E6CD},
      {"Buttons foreground text", t.Buttons.Foreground.TextColor, 0x444648},
      {"Buttons hover", t.Buttons.Hover.BrushColor, 0xF7E6CD},
      {"Buttons selected", t.Buttons.Selected.BorderColor, 0xE7BE7A},
      {"Pager foreground", t.Pager.Foreground.BrushColor, 0xFFFFFF},
      {"Tab foreground border", t.Tab.Foreground.BorderColor, 0xC4C6C8},
      {"Tab hover brush", t.Tab.Hover.BrushColor, 0xF8F9FA},
      {"Tab hover text", t.Tab.Hover.TextColor, 0xE29E00},
      {"App in the record", t.App == a, true},
      {"DockColor steps", s.DockColor()->Steps(), 1},
      {"RightHandleColorHot", s.RightHandleColorHot(), 0xF2E1D5},
      {"RightHandleColorDownTo", s.RightHandleColorDownTo(), 0xE3BDA3},
      {"RoundEdges", s.RoundEdges(), false},
      {"Grip", s.DragGripStyle(), dsNone},
      {"Button border hot", s.ButtonAppearance()->BorderHotColor(), clNone},
      {"Button caption text", s.ButtonAppearance()->CaptionTextColor(), 0x444648},
      {"VornStyle", s.VornStyle(), tsOffice2019White},
      {"Page copied back", s.PageAppearance()->Color(), 0x0A0B0C},
      {"Tab copied back", s.TabAppearance()->Color(), 0x010101},
      {"Face from the page", s.Color()->Color(), 0x0A0B0C},
      {"Face to cleared", s.Color()->ColorTo(), clNone},
      {"Hot mirror from the page", s.ColorHot()->Mirror()->ColorMirror(), 0x0A0B0C},
      {"Border from the page", s.BorderColor(), 0x0A0B0C},
      {"Caption from the page", s.CaptionAppearance()->CaptionColorHotTo(), 0x0A0B0C},
      {"Caption text", s.CaptionAppearance()->CaptionTextColor(), 0x232425},
      {"Caption text hot", s.CaptionAppearance()->CaptionTextColorHot(), 0},
      {"Glow copied back from the pager", s.GlowButtonAppearance()->Color(), pager.Glow.Color()},
  });
  EXPECT_EQ(Log, (TLog{{"Pager", 2}}));

  // A white application button takes the look's own application colours.
  s.AppColor()->SetAppButtonColor(0xFFFFFF);
  s.SetStyle(bsOffice2019White);
  EXPECT_EQ(a->AppButtonColor(), 0xFFAC3C);
  EXPECT_EQ(a->AppButtonHoverColor(), 0xE29E00);
  EXPECT_EQ(pager.LastTones.Buttons.Foreground.BrushColor, 0xD1B9A5);
  EXPECT_EQ(pager.LastTones.Buttons.Foreground.BorderColor, 0xD1B9A5);
}

TEST_F(StylerTest, Office2019WhiteWithoutAPagerSetsItsOwnGlowColours) {
  TZadEdevAziOfficeStyler s(nullptr);
  s.SetStyle(bsOffice2019White);
  auto* g = s.GlowButtonAppearance();
  CheckAll({
      {"Glow colour", g->Color(), 0xFFFFFF},
      {"Glow hot", g->ColorHot(), 0xF2E1D5},
      {"Glow mirror hot to", g->ColorMirrorHotTo(), 0xF2E1D5},
      {"Glow down border", g->BorderColorDown(), 0xE3BDA3},
      {"Glow checked", g->ColorChecked(), 0xF2E1D5},
      {"Glow text", g->TextColor(), 0x444648},
      {"Glow text checked", g->TextColorChecked(), 0x3B3B3B},
      {"TranspHover", g->TranspHover(), true},
      {"NoBorderDefault", g->NoBorderDefault(), true},
      {"Caption", s.CaptionAppearance()->CaptionColorHot(), 0xF2E1D5},
      {"Caption text", s.CaptionAppearance()->CaptionTextColor(), 0x444648},
      {"Pager caption text from AppColor", s.PagerCaption()->TextColor(), s.AppColor()->TextColor()},
      {"Application colours untouched", s.AppColor()->AppButtonColor(), 0xE29E00},
  });
}

TEST_F(StylerTest, EveryPresetEndsWithOneGeneralBroadcast) {
  for (int v = bsOffice2003Blue; v <= bsOffice2019Black; ++v) {
    TZadEdevAziOfficeStyler s(nullptr);
    TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
    TRecordingPager pager(&Log, "Pager");
    panel.SetToolBarStyler(&s);
    pager.SetToolBarStyler(&s);
    Log.clear();
    s.SetStyle(TToolBarStyle(v));
    EXPECT_EQ(Log, (TLog{{"Panel", 2}, {"Pager", 2}})) << "style " << v;
    EXPECT_EQ(s.UpdateCount(), 0);
    EXPECT_EQ(s.Style(), TToolBarStyle(v));
  }
}

TEST_F(StylerTest, CustomChangesNoColourAndPresetsApplyAgain) {
  TZadEdevAziOfficeStyler s(nullptr);
  TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
  panel.SetToolBarStyler(&s);
  s.SetStyle(bsOffice2010Blue);
  const std::string before = StyleLines(s);
  Log.clear();
  s.SetStyle(bsCustom);
  EXPECT_EQ(StyleLines(s), before);
  EXPECT_EQ(Log, (TLog{{"Panel", 2}}));
  s.SetStyle(bsOffice2010Blue);
  s.Color()->SetColor(0x123456);
  s.SetStyle(bsOffice2010Blue);
  EXPECT_NE(s.Color()->Color(), 0x123456) << "the current preset is applied again";
}

TEST_F(StylerTest, AliasStylesGiveTheSameColours) {
  TZadEdevAziOfficeStyler xp(nullptr), officeXP(nullptr), w8(nullptr), w10(nullptr);
  xp.SetStyle(bsWindowsXP);
  officeXP.SetStyle(bsOfficeXP);
  EXPECT_EQ(StyleLines(xp), StyleLines(officeXP));
  TRecordingPager p8(&Log, "P8"), p10(&Log, "P10");
  p8.SetToolBarStyler(&w8);
  p10.SetToolBarStyler(&w10);
  w8.SetStyle(bsWindows8);
  w10.SetStyle(bsWindows10);
  EXPECT_EQ(StyleLines(w8), StyleLines(w10));
  EXPECT_EQ(w10.VornStyle(), tsWindows8);
  EXPECT_EQ(w10.NewVornStyle(), tsWindows10) << "the pagers hear the newer style";
  EXPECT_EQ(p10.HelpUpdates, 1);
  EXPECT_EQ(xp.DragGripStyle(), dsSingleLine);
  EXPECT_FALSE(xp.RoundEdges());
  EXPECT_TRUE(xp.UseBevel());
}

TEST_F(StylerTest, FamilyRulesOfOurPresets) {
  for (int v = bsOffice2003Blue; v <= bsOffice2019Black; ++v) {
    const auto style = TToolBarStyle(v);
    if (style == bsCustom) continue;
    TZadEdevAziOfficeStyler s(nullptr);
    s.SetStyle(style);
    const bool flat = style >= bsWindows8;
    EXPECT_EQ(s.Color()->Direction(), toolbar::gdVertical) << v;
    EXPECT_EQ(s.Color()->Steps(), 64) << v;
    EXPECT_EQ(s.DockColor()->Direction(), toolbar::gdHorizontal) << v;
    if (flat) {
      EXPECT_FALSE(s.RoundEdges()) << v;
      EXPECT_EQ(s.ButtonAppearance()->BorderHotColor(), clNone) << v;
      EXPECT_EQ(s.GlowButtonAppearance()->ColorHot(), s.GlowButtonAppearance()->ColorHotTo()) << v;
    } else {
      EXPECT_EQ(s.DockColor()->Steps(), 128) << v;
      EXPECT_EQ(s.CompactGlowButtonAppearance()->Color(), s.GlowButtonAppearance()->Color()) << v;
    }
    const bool is2007 = style == bsOffice2007Luna || style == bsOffice2007Obsidian || style == bsOffice2007Silver;
    if (is2007) {
      EXPECT_EQ(s.DragGripStyle(), dsNone) << v;
      EXPECT_EQ(s.FloatingWindowBorderWidth(), 1) << v;
      EXPECT_EQ(s.PagerCaption()->Font()->Height(), -13) << v;
    }
    EXPECT_EQ(s.QatSharpCurve(), style == bsOffice2007Obsidian) << v;
  }
}

TEST_F(StylerTest, ApplicationColourFromTheSharedStyle) {
  TZadEdevAziOfficeStyler s(nullptr);
  s.SetComponentStyleAndAppColor(tsOffice2019White, 0xFFFFFF);
  EXPECT_EQ(s.AppColor()->AppButtonColor(), 0xFFFFFF);
  EXPECT_EQ(s.AppColor()->AppButtonHoverColor(), 0xFFFFFF);
  EXPECT_EQ(s.AppColor()->SelectedColor(), 0xFFFFFF);
  EXPECT_EQ(s.AppColor()->HoverColor(), 0xB2B2B2) << "178.5 rounds to the even 178";
  EXPECT_EQ(s.Style(), bsOffice2019White);

  TZadEdevAziOfficeStyler b(nullptr);
  b.SetComponentStyleAndAppColor(tsWindows7, 0x000000);
  EXPECT_EQ(b.AppColor()->AppButtonHoverColor(), 0);
  EXPECT_EQ(b.Style(), bsWindows7);

  TZadEdevAziOfficeStyler c(nullptr);
  TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
  panel.SetToolBarStyler(&c);
  c.SetComponentStyle(tsCustom);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(c.Style(), bsOffice2003Blue);
  c.SetComponentStyle(tsOffice2010Black);
  EXPECT_EQ(c.Style(), bsOffice2010Black);
  c.SetComponentStyle(tsWindowsVista);
  EXPECT_EQ(c.Style(), bsWindowsVista);
  c.SetColorTones(TColorTones{});
  EXPECT_EQ(c.Style(), bsOffice2016White);
}

TEST_F(StylerTest, NewOfficeStylerKeepsTheBaseColours) {
  TZadEdevAziOfficeStyler s(nullptr);
  TCustomZadEdevAziStyler base(nullptr);
  EXPECT_EQ(s.Style(), bsOffice2003Blue);
  EXPECT_EQ(s.RightHandleColor(), base.RightHandleColor());
  EXPECT_EQ(s.Color()->Color(), base.Color()->Color());
}
