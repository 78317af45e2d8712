// Status bar stylers: the registry and its broadcasts, presets, the bar's
// style operations, colour tones and adaptation to the Office theme.
#include "controls/AdvOfficeStatusBarStylers.h"
#include "foundation/style/ThemeNotifier.h"
#include "platform/rtl/Registry.h"
#include "platform/testing/TempHome.h"
#include "platform/win/MessageLoop.h"
#include "tests/controls/StatusFixture.h"

using namespace officestatusbar;

namespace {

class StatusStylerTest : public StatusFormTest {
 protected:
  void SetUp() override {
    StatusFormTest::SetUp();
    Form = NewForm(300, 60);
    Bar = new TAdvOfficeStatusBar(Form);
    Bar->SetParent(Form);
    Bar->Panels()->Add();
    auto old = Bar->WindowProc;
    Bar->WindowProc = [this, old](TMessage& m) {
      if (m.Msg == WM_PAINT) ++Paints;
      old(m);
    };
  }
  TForm* Form = nullptr;
  TAdvOfficeStatusBar* Bar = nullptr;
  int Paints = 0;
};

TEST_F(StatusStylerTest, PresetsSetTheirColours) {
  TAdvOfficeStatusBarOfficeStyler s(nullptr);
  EXPECT_EQ(s.Style(), psOffice2003Blue);
  EXPECT_EQ(s.BorderColor(), TColor(0xE4AE88));
  EXPECT_EQ(s.PanelAppearanceLight()->Color(), TColor(0xFADDC6));
  EXPECT_EQ(s.PanelAppearanceDark()->ColorTo(), TColor(0x9C430F));
  EXPECT_EQ(s.PanelAppearanceDark()->BorderColorDown(), TColor(0x9C430F));
  s.SetStyle(psOffice2007Luna);
  EXPECT_EQ(s.BorderColor(), TColor(0xB07D56));
  EXPECT_EQ(s.PanelAppearanceLight()->BorderColor(), clNone);
  EXPECT_EQ(s.PanelAppearanceLight()->TextColor(), TColor(0x612009));
  EXPECT_EQ(s.PanelAppearanceDark()->TextColorHot(), TColor(0x612009));
  EXPECT_EQ(s.PanelAppearanceDark()->ColorMirrorDownTo(), TColor(0x03AEFF));
  // Silver after Blue keeps the light look's hot and pressed text colours.
  TAdvOfficeStatusBarOfficeStyler t(nullptr);
  t.PanelAppearanceLight()->SetTextColorHot(0x123456);
  t.SetStyle(psOffice2003Silver);
  EXPECT_EQ(t.PanelAppearanceLight()->TextColorHot(), TColor(0x123456));
  EXPECT_EQ(t.BorderColor(), TColor(0xB39698));
  // Windows 8 and 10 look the same.
  TAdvOfficeStatusBarOfficeStyler w8(nullptr), w10(nullptr);
  w8.SetStyle(psWindows8);
  w10.SetStyle(psWindows10);
  EXPECT_EQ(w8.BorderColor(), w10.BorderColor());
  EXPECT_EQ(w8.PanelAppearanceLight()->Color(), w10.PanelAppearanceLight()->Color());
  EXPECT_EQ(w8.PanelAppearanceDark()->ColorHot(), w10.PanelAppearanceDark()->ColorHot());
  // The 2016 white look takes its hot colour from the application colour.
  TAdvOfficeStatusBarOfficeStyler o16(nullptr);
  o16.SetComponentStyleAndAppColor(tsOffice2016White, 0x3070C0);
  EXPECT_EQ(o16.PanelAppearanceLight()->Color(), TColor(0xFFFFFF));
  EXPECT_EQ(o16.PanelAppearanceLight()->ColorMirror(), clNone);
  EXPECT_EQ(o16.PanelAppearanceLight()->ColorHot(), ChangeColorBrightness(0x3070C0, -10));
  EXPECT_EQ(o16.PanelAppearanceLight()->ColorDown(), ChangeColorBrightness(0x3070C0, 20));
  EXPECT_EQ(o16.PanelAppearanceDark()->ColorDown(), ChangeColorBrightness(0xFFFFFF, 20));
  // Every preset leaves a usable look: a fill colour on both appearances.
  for (int i = 0; i <= int(psOffice2019Black); ++i) {
    if (i == int(psCustom)) continue;
    TAdvOfficeStatusBarOfficeStyler p(nullptr);
    p.SetStyle(TOfficeStatusBarStyle(i));
    EXPECT_NE(p.PanelAppearanceLight()->Color(), clNone) << i;
    EXPECT_NE(p.PanelAppearanceDark()->Color(), clNone) << i;
  }
}

TEST_F(StatusStylerTest, ChangesRepaintRegisteredBarsAndCustomDoesNot) {
  auto* s = new TAdvOfficeStatusBarOfficeStyler(Form);
  Bar->SetStyler(s);
  Form->Show();
  Settle();
  Paints = 0;
  s->SetStyle(psCustom);
  Settle();
  EXPECT_EQ(Paints, 0);
  s->SetStyle(psOffice2010Blue);
  Settle();
  EXPECT_EQ(Paints, 1);
  s->SetBorderColor(0x112233);
  Settle();
  EXPECT_EQ(Paints, 2);
  // A bar added twice is removed wholly, so no broadcast reaches it afterwards.
  s->AddControl(Bar);
  EXPECT_EQ(s->ControlCount(), 2);
  s->RemoveControl(Bar);
  EXPECT_EQ(s->ControlCount(), 0);
  // Destroying the external styler returns the bar to its internal one.
  Bar->SetStyler(s);
  delete s;
  EXPECT_EQ(Bar->Styler(), nullptr);
  EXPECT_EQ(Bar->CurrentStyler(), Bar->InternalStyler());
  Bar->Invalidate();
  Settle();
}

TEST_F(StatusStylerTest, BarStyleOperations) {
  auto* ext = new TAdvOfficeStatusBarOfficeStyler(Form);
  Bar->SetStyler(ext);
  const TColor before = Bar->InternalStyler()->PanelAppearanceLight()->Color();
  Bar->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(Bar->InternalStyler()->PanelAppearanceLight()->Color(), before);  // external styler: nothing
  EXPECT_EQ(Bar->UIStyle(), tsCustom);
  Bar->SetStyler(nullptr);
  Bar->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(Bar->UIStyle(), tsOffice2007Luna);
  EXPECT_EQ(Bar->InternalStyler()->PanelAppearanceLight()->Color(), TColor(0xF9E6D7));
  EXPECT_EQ(Bar->InternalStyler()->BorderColor(), TColor(0xB07D56));
  // Tones: a flat look on the current styler; empty tones switch it off and keep the colours.
  TColorTones t = EmptyColorTones();
  t.Background = {0xEEEEEE, 0x999999, 0x111111};
  t.Foreground = {0x333333, 0x999999, 0xFFFFFF};
  t.Hover = {0xAAAAAA, 0x777777, 0x010101};
  t.Selected = {0x555555, 0x666666, 0x020202};
  Bar->SetColorTones(t);
  TCustomAdvOfficeStatusBarStyler* s = Bar->CurrentStyler();
  EXPECT_TRUE(Bar->Metro());
  EXPECT_EQ(s->BorderColor(), TColor(0x999999));
  EXPECT_EQ(s->PanelAppearanceLight()->ColorMirrorTo(), TColor(0xEEEEEE));
  EXPECT_EQ(s->PanelAppearanceDark()->TextColor(), TColor(0xFFFFFF));
  EXPECT_EQ(s->PanelAppearanceDark()->ColorHotTo(), TColor(0xAAAAAA));
  EXPECT_EQ(s->PanelAppearanceLight()->BorderColorDown(), TColor(0x666666));
  Bar->SetColorTones(EmptyColorTones());
  EXPECT_FALSE(Bar->Metro());
  EXPECT_EQ(s->PanelAppearanceLight()->Color(), TColor(0xEEEEEE));
  EXPECT_EQ(s->BorderColor(), TColor(0x999999));
}

TEST_F(StatusStylerTest, FollowsTheOfficeThemeWhenAsked) {
  TTempHome home;
  auto setTheme = [](Integer v) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Microsoft\\Office\\12.0\\Common", true));
    reg.WriteInteger(u"Theme", v);
  };
  TAdvOfficeStatusBarOfficeStyler s(nullptr);
  s.SetStyle(psOffice2003Olive);
  // No Office theme found: nothing changes.
  s.SetAutoThemeAdapt(true);
  EXPECT_EQ(s.Style(), psOffice2003Olive);
  EXPECT_EQ(s.BorderColor(), TColor(0x8CC0B1));
  setTheme(1);
  SendMessage(s.NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(s.Style(), psOffice2007Luna);
  EXPECT_EQ(s.BorderColor(), TColor(0xB07D56));
  // The same theme again does nothing, even after a manual change.
  s.SetBorderColor(0x010203);
  SendMessage(s.NotifierWindow()->Handle(), WM_OFFICETHEMECHANGED, 0, 0);
  EXPECT_EQ(s.BorderColor(), TColor(0x010203));
  setTheme(3);
  SendMessage(s.NotifierWindow()->Handle(), WM_OFFICETHEMECHANGED, 0, 0);
  EXPECT_EQ(s.Style(), psOffice2007Obsidian);
  // Switched off, theme changes are ignored.
  s.SetAutoThemeAdapt(false);
  setTheme(2);
  SendMessage(s.NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(s.Style(), psOffice2007Obsidian);
}

}  // namespace
