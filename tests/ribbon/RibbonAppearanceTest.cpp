// The ribbon's appearance value classes: defaults, change notices, Assign.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Exceptions.h"
#include "ribbon/appearance/AdvPageCaption.h"
#include "ribbon/appearance/AppColor.h"
#include "ribbon/appearance/GroupAppearance.h"
#include "ribbon/appearance/PagerHints.h"
#include "ribbon/appearance/QATAppearance.h"
#include "ribbon/appearance/TabAppearance.h"
#include "ribbon/appearance/TabGroups.h"

using namespace ribbon;

namespace {
template <class T>
std::shared_ptr<int> CountChanges(T& Object) {
  auto n = std::make_shared<int>(0);
  Object.OnChange = [n](TObject*) { ++*n; };
  return n;
}
}  // namespace

TEST(RibbonTabAppearance, DefaultsAndSystemFont) {
  TTabAppearance t;
  EXPECT_EQ(t.BorderColor(), clBtnFace);
  EXPECT_EQ(t.BorderColorHot(), 0xFF0000);
  EXPECT_EQ(t.ColorHot(), 0x00FFFF);
  EXPECT_EQ(t.TextColorDisabled(), 0xFFFFFF);
  EXPECT_EQ(t.ShadowColor(), 0xE8C7AE);
  EXPECT_EQ(t.HighLightColorSelected(), 0x63CCF8);
  EXPECT_EQ(t.GradientMirrorDisabled(), ggVertical);
  EXPECT_TRUE(t.SystemFont());
  EXPECT_EQ(t.Font()->Height(), -11) << "-11 even where the default font alone is -12";
  t.SetSystemFont(false);
  t.SetSystemFont(true);
  EXPECT_EQ(t.Font()->Height(), -12);
  EXPECT_EQ(t.BackGround()->Steps(), 64);
}

TEST(RibbonTabAppearance, NoticesAssignAndClear) {
  TTabAppearance a, b;
  auto n = CountChanges(a);
  a.SetColor(a.Color());
  a.SetBorderColorHot(1);
  a.SetShadowColor(2);
  a.SetHighLightColorDown(3);
  EXPECT_EQ(*n, 0);
  a.SetColor(4);
  a.SetGradientHot(ggRadial);
  a.BackGround()->SetColor(5);
  EXPECT_EQ(*n, 3) << "colour, gradient and background changes notify";

  *n = 0;
  b.SetColorMirrorSelected(0x111111);
  b.SetTextColor(0x222222);
  b.Font()->SetHeight(-14);
  b.Font()->SetName(u"Arial");
  b.BackGround()->SetSteps(9);
  a.Assign(&b);
  EXPECT_EQ(a.ColorMirrorSelected(), 0x111111);
  EXPECT_EQ(a.TextColor(), 0x222222);
  EXPECT_EQ(a.Font()->Name(), u"Arial");
  EXPECT_EQ(a.Font()->Height(), -11) << "the own height stays";
  EXPECT_EQ(a.BackGround()->Steps(), 9);
  EXPECT_EQ(*n, 1) << "only TextColor went through its setter with a change";

  TQATAppearance other;
  a.Assign(&other);  // another class: nothing, no error
  a.SetGradientHot(ggRadial);
  a.ClearValues();
  EXPECT_EQ(a.Color(), clNone);
  EXPECT_EQ(a.HighLightColor(), clNone);
  EXPECT_EQ(a.GradientHot(), ggRadial) << "gradients stay";
}

TEST(RibbonTabSettings, MarginsGlassAndScroller) {
  TATBTabSettings s, t;
  auto n = CountChanges(s);
  int glass = 0;
  s.OnGlassChange = [&](TObject*) { ++glass; };
  s.SetHeight(26);
  EXPECT_EQ(*n, 0);
  t.SetSpacing(9);
  t.SetEndMargin(5);
  s.Assign(&t);
  EXPECT_EQ(s.EndMargin(), 5);
  EXPECT_EQ(s.Spacing(), 4) << "Spacing is not copied";
  EXPECT_EQ(*n, 1);
  const bool before = gdiplus::GetGlassFlag();
  s.SetGlass(!before);
  EXPECT_EQ(t.Glass(), !before) << "one process-wide flag";
  EXPECT_EQ(glass, 1);
  EXPECT_EQ(*n, 1);
  s.SetGlass(before);
  TQATAppearance other;
  EXPECT_THROW(s.Assign(&other), EConvertError);

  TATBTabScroller sc;
  sc.SetMax(5);
  sc.SetMin(6);
  sc.SetMax(-1);
  EXPECT_EQ(sc.Min(), 0);
  EXPECT_EQ(sc.Max(), 5);
  EXPECT_FALSE(sc.CanGoBack());
  EXPECT_TRUE(sc.CanGoForward());
}

TEST(RibbonBackgrounds, DefaultsAndAssign) {
  TVistaTextBackground a, b;
  EXPECT_EQ(a.BorderColor(), 0x808080);
  EXPECT_EQ(a.ColorMirror(), 0xC0C0C0);
  EXPECT_EQ(a.TextColor(), 0xFF0000);
  EXPECT_EQ(a.TextColorExtended(), 0x808080);
  EXPECT_EQ(a.Font()->Height(), -11);
  auto n = CountChanges(a);
  b.SetColor(1);
  b.SetTextColor(2);
  b.Font()->SetHeight(-20);
  a.Assign(&b);
  EXPECT_EQ(a.Color(), 1);
  EXPECT_EQ(a.TextColor(), 2);
  EXPECT_EQ(a.Font()->Height(), -20) << "the whole font, height included";
  EXPECT_EQ(*n, 1);
  a.Assign(nullptr);
  TVistaPageBackground page;
  EXPECT_EQ(page.ShadowColor(), 0xC4AA96);
  EXPECT_EQ(page.HighLightColor(), 0xFDF9CE);
  TAppColor other;
  EXPECT_THROW(page.Assign(&other), EConvertError);
}

TEST(RibbonGroupAppearance, ChainsAndAssign) {
  TGroupAppearance g;
  EXPECT_EQ(g.Background(), clInfoBk);
  EXPECT_EQ(g.BorderColor(), 0xA3B8AC);
  EXPECT_EQ(g.CaptionAppearance()->CaptionColor(), 0x808080);
  EXPECT_EQ(g.ToolBarAppearance()->ColorHot()->Color(), clNone);
  EXPECT_EQ(g.ToolBarAppearance()->Color()->Color(), 0xFFFFFF);
  auto n = CountChanges(g);
  g.CaptionAppearance()->SetCaptionColor(1);
  g.PageAppearance()->SetColor(2);
  g.TabAppearance()->SetColor(3);
  g.ToolBarAppearance()->SetBorderColor(4);
  EXPECT_EQ(*n, 4) << "each sub-appearance's change reaches the group";
  g.ToolBarAppearance()->Color()->SetColorTo(5);
  EXPECT_EQ(*n, 4) << "the toolbar appearance's gradients are not chained";

  TCaptionAppearance c1, c2;
  auto nc = CountChanges(c1);
  c2.SetCaptionColor(0x123456);
  c1.Assign(&c2);
  EXPECT_EQ(c1.CaptionColor(), 0x123456);
  EXPECT_EQ(*nc, 0);

  TGroupAppearance h;
  h.TabAppearance()->SetColorHot(7);
  h.SetGradient(ggRadial);
  h.SetColor(8);
  *n = 0;
  g.Assign(&h);
  EXPECT_EQ(g.TabAppearance()->ColorHot(), 7);
  EXPECT_EQ(g.Color(), 8);
  EXPECT_EQ(g.Gradient(), ggRadial);
  EXPECT_EQ(g.CaptionAppearance()->CaptionColor(), 0x808080);
}

TEST(RibbonTabGroups, ItemsNotifyTheCollection) {
  TTabGroups groups(nullptr);
  int changes = 0;
  groups.OnChange = [&](TObject*) { ++changes; };
  TTabGroupItem* item = groups.Add();
  EXPECT_GT(changes, 0) << "the new item's setters reach the collection";
  EXPECT_EQ(item->TabIndexStart(), -1);
  EXPECT_EQ(item->TabIndexEnd(), -1);
  EXPECT_EQ(item->ImageIndex(), -1);
  EXPECT_TRUE(item->DefaultAppearance());
  changes = 0;
  item->GroupAppearance()->CaptionAppearance()->SetCaptionColor(0x010203);
  EXPECT_EQ(changes, 1);
  const bool scenic = gdiplus::GetScenicRibbonFlag();
  const TColor before = item->GroupAppearance()->Color();
  item->SetCustomColor(0x0000FF);
  EXPECT_FALSE(item->DefaultAppearance());
  EXPECT_EQ(item->GroupAppearance()->BorderColor(), 0x0000FF);
  EXPECT_EQ(item->GroupAppearance()->ColorMirrorTo(), 0x0000FF);
  EXPECT_EQ(item->GroupAppearance()->TabAppearance()->BorderColorHot(), 0x0000FF);
  if (!scenic) {
    EXPECT_EQ(item->GroupAppearance()->Color(), before);
  }
}

TEST(RibbonPageCaption, HeightUpdateDuringTheEvent) {
  TAdvPageCaption c;
  std::vector<bool> seen;
  c.OnChange = [&](TObject*) { seen.push_back(c.HeightUpdate()); };
  c.SetHeight(26);
  c.SetVisible(false);
  EXPECT_EQ(seen, (std::vector<bool>{false, true}));
  EXPECT_FALSE(c.HeightUpdate());
  TAdvPageCaption d;
  d.SetHeight(40);
  seen.clear();
  c.SetVisible(true);
  seen.clear();
  c.Assign(&d);
  EXPECT_TRUE(seen.empty()) << "a difference in Height alone raises nothing";
  EXPECT_EQ(c.Height(), 40);
}

TEST(RibbonSmallValueClasses, QATHintsAndAppColor) {
  TQATAppearance q, r;
  EXPECT_EQ(q.FullSizeColor(), 0xE3B28D);
  EXPECT_EQ(q.FullSizeColorTo(), 0xE3B28D);
  EXPECT_EQ(q.FullSizeBorderColor(), 0xC59F81);
  auto nq = CountChanges(q);
  r.SetColor(1);
  r.SetFullSizeColorTo(2);
  r.SetSteps(3);
  q.Assign(&r);
  EXPECT_EQ(q.Color(), 1);
  EXPECT_EQ(q.Steps(), 64);
  EXPECT_EQ(*nq, 1);

  TPagerHints h, k;
  EXPECT_EQ(h.MDICloseBtnHint(), u"Close");
  EXPECT_EQ(h.HelpBtnHint(), u"Help");
  auto nh = CountChanges(h);
  k.SetHelpBtnHint(u"");
  h.Assign(&k);
  EXPECT_EQ(h.HelpBtnHint(), u"");
  EXPECT_EQ(*nh, 0);
  h.Assign(&q);

  TAppColor a, b;
  EXPECT_EQ(a.AppButtonColor(), 0xE29E00);
  EXPECT_EQ(a.HoverBorderColor(), 0xE7BE7A);
  auto na = CountChanges(a);
  b.SetHoverBorderColor(9);
  a.Assign(&b);
  EXPECT_EQ(a.HoverBorderColor(), 9);
  EXPECT_EQ(*na, 0);
  a.SetTextColor(a.TextColor());
  EXPECT_EQ(*na, 0);
  a.SetTextColor(1);
  EXPECT_EQ(*na, 1);
}
