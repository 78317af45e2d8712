// The toolbar styler's registry and change broadcast, its destruction in both
// orders, and Assign.
#include <gtest/gtest.h>

#include "StylerFixture.h"
#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Exceptions.h"
#include "toolbar/ZadEdevAziStyler.h"

using namespace stylertest;
using namespace toolbar;

namespace {

struct TKindCase {
  const char* What;
  std::function<void(TCustomZadEdevAziStyler&)> Change;
  std::vector<Integer> Kinds;
};

}  // namespace

TEST_F(StylerTest, EachPropertyBroadcastsItsKind) {
  TBitmap picture(2, 2);
  TFont font;
  const TKindCase cases[] = {
      {"BackGround always", [&](auto& s) { s.SetBackGround(&picture); }, {1}},
      {"BackGroundDisplay", [](auto& s) { s.SetBackGroundDisplay(bdCenter); }, {1}},
      {"BackGroundTransparent unchanged", [](auto& s) { s.SetBackGroundTransparent(true); }, {}},
      {"Font always", [&](auto& s) { s.SetFont(&font); }, {1}},
      {"Color member", [](auto& s) { s.Color()->SetColorTo(1); }, {2}},
      {"Color mirror member", [](auto& s) { s.Color()->Mirror()->SetColor(1); }, {2}},
      {"DockColor member, even unchanged", [](auto& s) { s.DockColor()->SetSteps(64); }, {2}},
      {"CaptionAppearance member", [](auto& s) { s.CaptionAppearance()->SetCaptionColor(1); }, {2}},
      {"RoundEdges unchanged still", [](auto& s) { s.SetRoundEdges(true); }, {2}},
      {"RightHandleColor unchanged", [](auto& s) { s.SetRightHandleColor(s.RightHandleColor()); }, {}},
      {"RightHandleColorDownTo", [](auto& s) { s.SetRightHandleColorDownTo(1); }, {2}},
      {"FloatingWindowBorderWidth", [](auto& s) { s.SetFloatingWindowBorderWidth(5); }, {2}},
      {"Bevel", [](auto& s) { s.SetBevel(bvRaised); }, {2}},
      {"UseBevel", [](auto& s) { s.SetUseBevel(true); }, {2}},
      {"BorderColorHot", [](auto& s) { s.SetBorderColorHot(1); }, {2}},
      {"CaptionFont always", [&](auto& s) { s.SetCaptionFont(&font); }, {2}},
      {"ShowShadow", [](auto& s) { s.SetShowShadow(false); }, {2}},
      {"UpdateStyle", [](auto& s) { s.UpdateStyle(); }, {2}},
      {"ContainerAppearance member", [](auto& s) { s.ContainerAppearance()->SetLine3D(false); }, {4}},
      {"DragGripStyle", [](auto& s) { s.SetDragGripStyle(dsNone); }, {5}},
      {"AdvMenuStyler", [](auto& s) { s.SetAdvMenuStyler(nullptr); }, {6}},
      {"GlowButtonAppearance member", [](auto& s) { s.GlowButtonAppearance()->SetColor(1); }, {7}},
      {"CompactGlowButtonAppearance", [](auto& s) { s.CompactGlowButtonAppearance()->SetColorHot(1); }, {7}},
      {"TabAppearance member", [](auto& s) { s.TabAppearance()->SetColor(1); }, {10}},
      {"PageAppearance member", [](auto& s) { s.PageAppearance()->SetColor(1); }, {10}},
      {"GroupAppearance sub-member", [](auto& s) { s.GroupAppearance()->TabAppearance()->SetColor(1); }, {10}},
      {"PagerCaption member", [](auto& s) { s.PagerCaption()->SetTextColor(1); }, {11}},
      {"SysButtonColor", [](auto& s) { s.SetSysButtonColor(1); }, {11}},
      {"QATAppearance member", [](auto& s) { s.QATAppearance()->SetColor(1); }, {12}},
      {"ButtonAppearance member is silent", [](auto& s) { s.ButtonAppearance()->SetColor(1); }, {}},
      {"ColorHot member is silent", [](auto& s) { s.ColorHot()->SetColor(1); }, {}},
      {"AppColor member is silent", [](auto& s) { s.AppColor()->SetTextColor(1); }, {}},
      {"FormBorderColor is silent", [](auto& s) { s.SetFormBorderColor(1); }, {}},
      {"SystemFont is silent", [](auto& s) { s.SetSystemFont(false); }, {}},
      {"DragGripImage is silent", [&](auto& s) { s.SetDragGripImage(&picture); }, {}},
  };
  for (const TKindCase& c : cases) {
    TCustomZadEdevAziStyler styler(nullptr);
    TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
    panel.SetToolBarStyler(&styler);
    Log.clear();
    c.Change(styler);
    TLog want;
    for (Integer k : c.Kinds) want.push_back({"Panel", k});
    EXPECT_EQ(Log, want) << c.What;
  }
}

TEST_F(StylerTest, SkipRulesAndUpdateBracket) {
  TCustomZadEdevAziStyler styler(nullptr);
  TRecordingControl named(&Log, "Bar", TStyledControlKind::ToolBar);
  TRecordingControl unnamed(&Log, "", TStyledControlKind::ToolBar);
  TCustomControl plain(nullptr);
  plain.SetName(u"Plain");
  named.SetToolBarStyler(&styler);
  unnamed.SetToolBarStyler(&styler);
  styler.AddControl(&plain);
  styler.AddControl(nullptr);
  EXPECT_EQ(styler.ControlCount(), 3);

  styler.NotifyChange(2);
  EXPECT_EQ(Log, (TLog{{"Bar", 2}})) << "an unnamed control and a control of another class hear nothing";

  Log.clear();
  styler.BeginUpdate();
  styler.SetBorderColor(1);
  styler.SetDragGripStyle(dsNone);
  styler.EndUpdate();
  EXPECT_TRUE(Log.empty()) << "nothing inside the bracket, and EndUpdate alone does not broadcast";
  styler.EndUpdate();
  EXPECT_EQ(styler.UpdateCount(), 0);
}

TEST_F(StylerTest, CompactToolbarsCloneHearsFirst) {
  TCustomZadEdevAziStyler styler(nullptr);
  TRecordingControl bar(&Log, "Bar", TStyledControlKind::ToolBar);
  TRecordingControl clone(&Log, "Clone", TStyledControlKind::ToolBar);
  bar.Clone = &clone;
  bar.SetToolBarStyler(&styler);
  styler.NotifyChange(5);
  EXPECT_EQ(Log, (TLog{{"Clone", 5}, {"Bar", 5}}));
}

TEST_F(StylerTest, RegisteringTwiceKeepsOneEntry) {
  TCustomZadEdevAziStyler styler(nullptr);
  TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
  styler.AddControl(&panel);
  styler.AddControl(&panel);
  EXPECT_EQ(styler.ControlCount(), 1);
  styler.NotifyChange(2);
  EXPECT_EQ(Log.size(), 1u);
  styler.RemoveControl(&panel);
  EXPECT_FALSE(styler.IsRegistered(&panel));
  styler.RemoveControl(&panel);
  Log.clear();
  styler.NotifyChange(2);
  EXPECT_TRUE(Log.empty());
}

TEST_F(StylerTest, ReceiversThatUnregisterOrDestroyDuringTheBroadcast) {
  TCustomZadEdevAziStyler styler(nullptr);
  auto a = std::make_unique<TRecordingControl>(&Log, "A", TStyledControlKind::DockPanel);
  auto b = std::make_unique<TRecordingControl>(&Log, "B", TStyledControlKind::DockPanel);
  auto c = std::make_unique<TRecordingControl>(&Log, "C", TStyledControlKind::DockPanel);
  auto d = std::make_unique<TRecordingControl>(&Log, "D", TStyledControlKind::DockPanel);
  for (auto* r : {a.get(), b.get(), c.get(), d.get()}) r->SetToolBarStyler(&styler);
  // A leaves: B behind it must not be skipped. B destroys C: C is not called.
  a->OnHeard = [&](Integer) { a->SetToolBarStyler(nullptr); };
  b->OnHeard = [&](Integer) { c.reset(); };
  styler.NotifyChange(2);
  EXPECT_EQ(Log, (TLog{{"A", 2}, {"B", 2}, {"D", 2}}));
  EXPECT_EQ(styler.ControlCount(), 2);
}

TEST_F(StylerTest, AReceiversExceptionIsReportedAndTheBroadcastGoesOn) {
  TCustomZadEdevAziStyler styler(nullptr);
  TRecordingControl a(&Log, "A", TStyledControlKind::DockPanel);
  TRecordingControl b(&Log, "B", TStyledControlKind::DockPanel);
  a.SetToolBarStyler(&styler);
  b.SetToolBarStyler(&styler);
  a.OnHeard = [](Integer) { throw Exception(u"paint failed"); };
  std::vector<String> reported;
  Application->OnException = [&](TObject*, Exception* E) { reported.push_back(E->Message()); };
  styler.NotifyChange(2);
  Application->OnException = nullptr;
  EXPECT_EQ(Log, (TLog{{"A", 2}, {"B", 2}}));
  EXPECT_EQ(reported, (std::vector<String>{u"paint failed"}));
}

TEST_F(StylerTest, StylerDestroyedFirstReleasesEveryControl) {
  TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
  TRecordingControl bar(&Log, "Bar", TStyledControlKind::ToolBar);
  TRecordingPager pager(&Log, "Pager");
  {
    TCustomZadEdevAziStyler styler(nullptr);
    for (TRecordingControl* r : {static_cast<TRecordingControl*>(&panel), &bar, static_cast<TRecordingControl*>(&pager)})
      r->SetToolBarStyler(&styler);
  }
  // Released by the styler itself, not only by the removal notification.
  EXPECT_EQ(panel.Releases, 1);
  EXPECT_EQ(bar.Releases, 1) << "toolbars are released too";
  EXPECT_EQ(pager.Releases, 1);
  EXPECT_EQ(bar.ToolBarStyler(), nullptr);
  EXPECT_TRUE(Log.empty()) << "a dying styler broadcasts nothing";
}

TEST_F(StylerTest, ControlsDestroyedFirstLeaveNoEntry) {
  TCustomZadEdevAziStyler styler(nullptr);
  {
    TRecordingControl bar(&Log, "Bar", TStyledControlKind::ToolBar);
    bar.SetToolBarStyler(&styler);
    // A control that only registered, without naming the styler, goes through
    // the removal notification.
    auto* other = new TRecordingControl(&Log, "Other", TStyledControlKind::DockPanel);
    styler.AddControl(other);
    delete other;
    EXPECT_EQ(styler.ControlCount(), 1);
  }
  EXPECT_EQ(styler.ControlCount(), 0);
  styler.NotifyChange(2);
  EXPECT_TRUE(Log.empty());
}

TEST_F(StylerTest, UpdatePagerStyleHandlesEachPagerOnce) {
  TCustomZadEdevAziStyler styler(nullptr);
  TRecordingPager p1(&Log, "P1"), p2(&Log, "P2");
  TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
  for (TRecordingControl* r : {static_cast<TRecordingControl*>(&p1), &panel, static_cast<TRecordingControl*>(&p2)})
    r->SetToolBarStyler(&styler);
  EXPECT_EQ(styler.GetFirstPager(), static_cast<IStyledPager*>(&p1));
  const bool glass = gdiplus::GetGlassFlag();
  styler.UpdatePagerStyle(tsWindows7);
  EXPECT_EQ(styler.NewVornStyle(), tsWindows7);
  for (TRecordingPager* p : {&p1, &p2}) {
    EXPECT_TRUE(p->Scenic);
    EXPECT_FALSE(p->Tabs.Glass());
    EXPECT_EQ(p->HelpUpdates, 1);
    EXPECT_EQ(p->HelpPictureRequests, 1);
  }
  styler.UpdatePagerStyle(tsOffice2010Blue);
  EXPECT_TRUE(p1.Tabs.Glass());
  EXPECT_TRUE(p1.Shaded);
  styler.UpdatePagerStyle(tsOffice2013White);
  EXPECT_FALSE(p2.Scenic);
  EXPECT_FALSE(p2.Tabs.Glass());
  EXPECT_EQ(p2.HelpUpdates, 3);
  gdiplus::SetGlassFlag(glass);
}

TEST_F(StylerTest, AssignCopiesTheListedSettingsOnly) {
  TCustomZadEdevAziStyler a(nullptr), b(nullptr);
  b.Color()->SetColor(0x010203);
  b.DockColor()->SetColorTo(0x040506);
  b.SetFloatingWindowBorderWidth(7);
  b.SetFormBorderColor(0x111111);
  b.ButtonAppearance()->SetColorHot(0x222222);
  b.CaptionAppearance()->SetCaptionColor(0x333333);
  b.SetRightHandleColor(0x444444);
  b.SetBorderColor(0x555555);
  b.TabAppearance()->SetColor(0x666666);
  b.SetDragGripStyle(dsFlatDots);
  a.Assign(&b);
  EXPECT_EQ(a.Color()->Color(), 0x010203);
  EXPECT_EQ(a.DockColor()->ColorTo(), 0x040506);
  EXPECT_EQ(a.FloatingWindowBorderWidth(), 7);
  EXPECT_EQ(a.FormBorderColor(), 0x111111);
  EXPECT_EQ(a.ButtonAppearance()->ColorHot(), 0x222222);
  EXPECT_EQ(a.CaptionAppearance()->CaptionColor(), 0x333333);
  EXPECT_EQ(a.DragGripStyle(), dsFlatDots);
  EXPECT_NE(a.RightHandleColor(), 0x444444);
  EXPECT_NE(a.BorderColor(), 0x555555);
  EXPECT_NE(a.TabAppearance()->Color(), 0x666666);
  ribbon::TAppColor other;
  EXPECT_THROW(a.Assign(&other), EConvertError);
}

TEST_F(StylerTest, MenuStylerFollowsTheAssignedOne) {
  TCustomZadEdevAziStyler styler(nullptr);
  EXPECT_EQ(styler.CurrentAdvMenuStyler(), styler.InternalAdvMenuStyler());
  EXPECT_EQ(styler.InternalAdvMenuStyler()->Name(), u"InternalMenuStyler");
  auto* menu = new TAdvMenuStyler(nullptr);
  styler.SetAdvMenuStyler(menu);
  EXPECT_EQ(styler.CurrentAdvMenuStyler(), menu);
  delete menu;
  EXPECT_EQ(styler.AdvMenuStyler(), nullptr);
  EXPECT_EQ(styler.CurrentAdvMenuStyler(), styler.InternalAdvMenuStyler());
}

TEST_F(StylerTest, Defaults) {
  TCustomZadEdevAziStyler s(nullptr);
  EXPECT_TRUE(s.BackGroundTransparent());
  EXPECT_EQ(s.RightHandleColor(), 0x9E9E9E);
  EXPECT_EQ(s.RightHandleColorDown(), 0x76C1FF);
  EXPECT_EQ(s.FloatingWindowBorderColor(), 0x6D6D6D);
  EXPECT_EQ(s.ColorHot()->Color(), clNone);
  EXPECT_EQ(s.FormBorderColor(), 0x808080);
  EXPECT_EQ(s.Font()->Name(), u"Segoe UI");
  EXPECT_EQ(s.Font()->Height(), -12);
  EXPECT_EQ(s.CaptionFont()->Name(), u"Segoe UI");
  EXPECT_EQ(s.VornStyle(), tsOffice2003Blue);
}
