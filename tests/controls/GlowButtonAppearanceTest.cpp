// The appearance's defaults and notifications, and the style and tone
// presets the button puts on it.
#include <gtest/gtest.h>

#include "controls/AdvGlowButton.h"
#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"

TEST(GlowButtonAppearance, DefaultsAndColourRoutines) {
  TGlowButtonAppearance a;
  EXPECT_EQ(a.ColorDown(), 0xF5D8CA);  // red 225 * 0.9 = 202.5 rounds to 202
  EXPECT_EQ(a.ColorChecked(), 0xF5D8CA);
  EXPECT_EQ(a.ColorDownTo(), 0xF9BDA0);
  EXPECT_EQ(a.ColorMirrorDown(), 0xF5B49C);
  EXPECT_EQ(a.ColorMirrorDownTo(), 0xFFDFDC);
  EXPECT_EQ(a.ColorDisabled(), 0xF2F2F2);
  EXPECT_EQ(a.ColorMirrorDisabled(), 0xB6B6B6);
  EXPECT_EQ(a.TextColor(), clNone);
  EXPECT_EQ(a.GradientMirrorChecked(), ggVertical);
  EXPECT_EQ(a.GradientHot(), ggRadial);

  EXPECT_EQ(glowpaint::AdjustColor(0xFFFFFF, -5), 0xF2F2F2);
  EXPECT_EQ(glowpaint::AdjustColor(0xC0C0C0, -5), 0xB6B6B6);
  EXPECT_EQ(glowpaint::AdjustColor(0x000000, 10), 0x0A0A0A);
  EXPECT_EQ(glowpaint::BlendColor(0x123456, 0x654321, 100), 0x123456);
  EXPECT_EQ(glowpaint::BlendColor(clNone, 0x654321, 50), 0x654321);
  EXPECT_EQ(glowpaint::BlendColor(0x123456, clNone, 50), 0x123456);
  EXPECT_EQ(glowpaint::MinPositive(5, 10), 5);
  EXPECT_EQ(glowpaint::MinPositive(0, 10), 10);
  EXPECT_EQ(glowpaint::MinPositive(12, 10), 10);
}

TEST(GlowButtonAppearance, ChangesNotifyOnceAndAssignCopies) {
  TGlowButtonAppearance a, b;
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.SetColor(a.Color());
  a.Assign(&b);
  EXPECT_EQ(changes, 0);
  b.SetColorHot(0x123456);
  b.SetBorderColorCheckedHot(0x654321);
  b.SetTranspOffice(true);
  a.Assign(&b);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(a.ColorHot(), 0x123456);
  EXPECT_EQ(a.BorderColorCheckedHot(), 0x654321);
  EXPECT_TRUE(a.TranspOffice());
  a.Assign(nullptr);
  TStringList foreign;
  EXPECT_THROW(a.Assign(&foreign), EConvertError);

  ClearGlowAppearance(&a);
  EXPECT_EQ(a.Color(), clNone);
  EXPECT_EQ(a.ColorDisabledTo(), clNone);
  EXPECT_EQ(a.ColorChecked(), 0xF5D8CA);  // checked fills stay
  EXPECT_EQ(a.BorderColorFocused(), 0xE4AD89);
  ClearGlowAppearance(nullptr);
}

TEST(GlowButtonStyles, PresetsAndTones) {
  EnsureGuiApplication();
  gdiplus::InitializeGdiplusUnit();
  TAdvGlowButton b(nullptr);
  TGlowButtonAppearance* a = b.Appearance();
  const TColor before = a->Color();
  b.SetComponentStyle(tsCustom);
  EXPECT_EQ(a->Color(), before);
  EXPECT_EQ(b.UIStyle(), tsCustom);

  b.SetComponentStyle(tsOffice2019White);
  EXPECT_FALSE(b.Rounded());
  EXPECT_TRUE(a->TranspOffice());
  EXPECT_EQ(a->BorderColor(), 0xADB0B3);
  EXPECT_EQ(a->ColorHot(), 0xFAECE3);
  EXPECT_EQ(a->BorderColorDown(), 0xB0784A);
  EXPECT_EQ(a->ColorChecked(), 0xD1B9A5);
  EXPECT_EQ(a->ColorDisabledTo(), clNone);
  EXPECT_EQ(a->BorderColorCheckedHot(), 0xB0784A);
  EXPECT_EQ(a->TextColorChecked(), 0x393A3B);
  EXPECT_EQ(a->TextColorHot(), 0x232425);
  EXPECT_EQ(a->TextColorDisabled(), 0xD4D4D4);

  b.SetComponentStyle(tsOffice2003Blue);
  EXPECT_TRUE(b.Rounded());
  EXPECT_FALSE(a->TranspOffice());
  EXPECT_EQ(a->BorderColorCheckedHot(), clNone);
  EXPECT_EQ(a->ColorDisabledTo(), 0xF2F2F2);
  EXPECT_EQ(a->ColorMirrorDisabled(), 0xB6B6B6);
  EXPECT_EQ(a->BorderColorDisabled(), 0x808080);
  EXPECT_EQ(a->Color(), 0xEEDBC8);
  EXPECT_EQ(a->ColorHot(), 0xEBFDFF);
  EXPECT_EQ(a->GradientHot(), ggVertical);

  b.SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(a->BorderColorChecked(), 0x45667B);
  EXPECT_EQ(a->ColorDown(), 0x76AFF1);

  // Every preset leaves a paintable appearance and the fixed flags.
  for (int s = tsOffice2003Blue; s <= tsOffice2019Black; ++s) {
    if (s == tsCustom) continue;
    b.SetComponentStyle(TVornStyle(s));
    EXPECT_EQ(b.Rounded(), s <= tsOffice2010Black) << s;
    EXPECT_NE(a->ColorHot(), clNone) << s;
  }

  TColorTones t = EmptyColorTones();
  t.Background = {0x111111, 0x222222, 0x333333};
  t.Hover = {0x444444, 0x555555, 0x666666};
  t.Selected = {0x777777, 0x888888, 0x999999};
  t.Disabled = {0xAAAAAA, 0xBBBBBB, 0xAAAAAA};
  b.SetColorTones(t);
  EXPECT_FALSE(b.Rounded());
  EXPECT_EQ(a->ColorTo(), clNone);
  EXPECT_EQ(a->ColorMirror(), 0x111111);
  EXPECT_EQ(a->BorderColorHot(), 0x555555);
  EXPECT_EQ(a->ColorMirrorCheckedTo(), 0x777777);
  EXPECT_EQ(a->BorderColorChecked(), 0x888888);
  EXPECT_EQ(a->TextColor(), 0x333333);
  EXPECT_EQ(a->TextColorDisabled(), 0x808080);  // text equal to its brush would vanish
  EXPECT_EQ(a->BorderColorDisabled(), 0xAAAAAA);
}
