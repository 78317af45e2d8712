// The toolbar unit's colour records: defaults, change notices and Assign.
#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "toolbar/shared/ToolBarAppearance.h"

using namespace toolbar;

namespace {
// Counts the record's change notices.
template <class T>
std::shared_ptr<int> CountChanges(T& Record) {
  auto n = std::make_shared<int>(0);
  Record.OnChange = [n](TObject*) { ++*n; };
  return n;
}
}  // namespace

TEST(ToolBarAppearanceRecords, Defaults) {
  TButtonAppearance b;
  EXPECT_EQ(b.ColorHot(), 0xD2BDB6);
  EXPECT_EQ(b.ColorDown(), 0xB59285);
  EXPECT_EQ(b.ColorChecked(), 0xD8D5D4);
  EXPECT_EQ(b.Color(), clNone);
  EXPECT_EQ(b.BorderHotColor(), 0x6A240A);
  EXPECT_EQ(b.BorderCheckedColor(), 0x6A240A);
  EXPECT_EQ(b.GradientDirection(), gdVertical);
  EXPECT_TRUE(b.SystemFont());
  EXPECT_EQ(b.CaptionFont()->Name(), u"Segoe UI");
  TGradientBackground g;
  EXPECT_EQ(g.Color(), 0xFFFFFF);
  EXPECT_EQ(g.ColorTo(), clBtnFace);
  EXPECT_EQ(g.Direction(), gdHorizontal);
  EXPECT_EQ(g.Steps(), 64);
  TMirrorGradient m;
  EXPECT_EQ(m.ColorMirror(), 0xEDD9C8);
  EXPECT_EQ(m.ColorMirrorTo(), 0xFFF4E3);
  TContainerAppearance c;
  EXPECT_EQ(c.LineColor(), clBtnShadow);
  EXPECT_TRUE(c.Line3D());
}

TEST(ToolBarAppearanceRecords, ChangeNoticesFollowEachSettersRule) {
  TButtonAppearance b;
  auto nb = CountChanges(b);
  b.SetColorHot(b.ColorHot());
  b.SetBorderHotColor(1);
  b.SetBorderDownColor(2);
  b.SetGradientDirectionHot(gdHorizontal);
  EXPECT_EQ(*nb, 0) << "unchanged notifying value and plain fields fire nothing";
  b.SetColorHot(1);
  b.SetCaptionFont(b.CaptionFont());
  EXPECT_EQ(*nb, 2) << "a change, and the font setter always";

  TGradientBackground g;
  auto ng = CountChanges(g);
  g.SetColor(g.Color());
  g.SetSteps(64);
  EXPECT_EQ(*ng, 2) << "the gradient notifies every time";
}

TEST(ToolBarAppearanceRecords, MirrorChangesReachTheOuterGradient) {
  TVistaGradientBackground v;
  auto n = CountChanges(v);
  v.Mirror()->SetColorMirror(0x123456);
  EXPECT_EQ(*n, 1);
  v.Mirror()->SetColorMirror(0x123456);
  EXPECT_EQ(*n, 1) << "an unchanged mirror colour stays silent";
}

TEST(ToolBarAppearanceRecords, AssignRules) {
  TButtonAppearance a, b;
  b.SetColor(1);
  b.SetColorTo(2);
  b.SetBorderHotColor(3);
  b.SetBorderDownColor(4);
  b.SetGradientDirection(gdHorizontal);
  b.SetGradientDirectionHot(gdHorizontal);
  b.CaptionFont()->SetHeight(-30);
  auto n = CountChanges(a);
  a.Assign(&b);
  EXPECT_EQ(*n, 0);
  EXPECT_EQ(a.Color(), 1);
  EXPECT_EQ(a.ColorTo(), 2);
  EXPECT_EQ(a.BorderHotColor(), 3);
  EXPECT_EQ(a.BorderDownColor(), 4);
  EXPECT_EQ(a.GradientDirection(), gdHorizontal);
  EXPECT_EQ(a.GradientDirectionHot(), gdVertical) << "the other three directions stay";
  EXPECT_NE(a.CaptionFont()->Height(), -30) << "the font stays";

  TVistaGradientBackground v, w;
  TGradientBackground plain;
  plain.SetColor(7);
  plain.SetSteps(3);
  v.Mirror()->SetColor(9);
  v.Assign(&plain);
  EXPECT_EQ(v.Color(), 7);
  EXPECT_EQ(v.Steps(), 3);
  EXPECT_EQ(v.Mirror()->Color(), 9) << "a plain gradient leaves the mirror";
  w.Mirror()->SetColorMirrorTo(5);
  w.SetDirection(gdVertical);
  v.Assign(&w);
  EXPECT_EQ(v.Mirror()->ColorMirrorTo(), 5);
  EXPECT_EQ(v.Mirror()->Color(), w.Mirror()->Color());
  EXPECT_EQ(v.Direction(), gdVertical);

  TMirrorGradient m;
  EXPECT_THROW(m.Assign(&plain), EConvertError);

  TContainerAppearance c, d;
  auto nc = CountChanges(c);
  c.Assign(nullptr);
  EXPECT_EQ(*nc, 0);
  d.SetLineColor(0x112233);
  c.Assign(&d);
  EXPECT_EQ(c.LineColor(), 0x112233);
  EXPECT_EQ(*nc, 1) << "through the setters: one notice for the one changed value";
  EXPECT_THROW(c.Assign(&plain), EConvertError);
}
