// The toolbar button headless: its state machine under injected pointer
// input (press, move, release inside and outside, groups, all-up, check
// style, the split drop-down zone), the down and group rules, the action
// link, the automatic disabled glyph and shade, and automatic size.
#include "tests/toolbar/ToolBarButtonFixture.h"

#include <string>
#include <vector>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/ImgList.h"
#include "platform/rtl/TypInfo.h"
#include "toolbar/AdvToolBar.h"

namespace buttontest {

using testinput::MouseDown;
using testinput::MouseMove;
using testinput::MouseUp;
using toolbar::tasButton;
using toolbar::tasCheck;

TEST_F(ToolBarButtonTest, ConstructionDefaults) {
  TZadEdevAziButton b(nullptr);
  EXPECT_EQ(b.Width(), 22);
  EXPECT_EQ(b.Height(), 23);
  EXPECT_TRUE(b.ControlStyle().Contains(csCaptureMouse));
  EXPECT_TRUE(b.ControlStyle().Contains(csDoubleClicks));
  EXPECT_FALSE(b.ControlStyle().Contains(csClickEvents));  // the button clicks itself on release
  EXPECT_TRUE(b.ParentFont() && b.CanRotate() && b.AutoSize() && b.Flat() && b.Transparent() && b.Shaded());
  EXPECT_TRUE(b.Grouped() && b.ParentStyler() && b.DropDownSplit());
  EXPECT_FALSE(b.DropDownButton() || b.ShowCaption() || b.Down() || b.AllowAllUp());
  EXPECT_EQ(b.GlyphPosition(), toolbar::gpLeft);
  EXPECT_EQ(b.RotateDirection(), toolbar::rdNormal);
  EXPECT_EQ(b.Style(), tasButton);
  EXPECT_EQ(b.Spacing(), 4);
  EXPECT_EQ(b.OffSet(), 4);
  EXPECT_EQ(b.DropDownSectWidth(), 12);
  EXPECT_EQ(b.ImageIndex(), -1);
  EXPECT_EQ(b.CommandID(), -1);
  EXPECT_EQ(b.Index(), -1);
  EXPECT_EQ(b.Position(), toolbar::daTop);
  EXPECT_EQ(b.MenuItem(), nullptr);
  EXPECT_FALSE(b.UnHotTimerRunning());
  EXPECT_EQ(b.Version(), u"6.8.3.7");
  b.SetVersion(u"1.0.0.0");
  EXPECT_EQ(b.Version(), u"6.8.3.7");
  TZadEdevAziMenuButton m(nullptr);
  EXPECT_TRUE(m.IsMenuButton());
  EXPECT_FALSE(b.IsMenuButton());
  EXPECT_TRUE(m.ParentStyler());
}

// --- the state machine ---

// One step of pointer input and what the button shows afterwards.
struct TStep {
  char Op;  // 'p' move to (X, Y) and press, 'm' move, 'r' release where the pointer is
  int X, Y;
  int State;  // expected TAdvButtonState, -1 not checked
  int Down;   // expected Down (0/1), -1 not checked
  int Clicks, DropDowns;
};

struct TMachineCase {
  const char* Name;
  toolbar::TAdvToolButtonStyle Style;
  int Group;
  bool AllowAllUp, DropDown, Split;
  std::vector<TStep> Steps;
};

TEST_F(ToolBarButtonTest, StateMachineUnderPointerInput) {
  // The button lies at (10, 10), 40 x 22; its arrow zone is x > 40 - 14.
  const std::vector<TMachineCase> cases = {
      {"push: press and release inside clicks", tasButton, 0, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0}, {'r', 0, 0, absUp, 0, 1, 0}}},
      {"push: released outside, no click", tasButton, 0, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0}, {'m', 100, 100, absUp, 0, 0, 0}, {'r', 0, 0, absUp, 0, 0, 0}}},
      {"push: out and back in again clicks", tasButton, 0, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0},
        {'m', 5, 60, absUp, 0, 0, 0},
        {'m', 39, 21, absDown, 0, 0, 0},
        {'r', 0, 0, absUp, 0, 1, 0}}},
      {"push: only inside on both axes counts", tasButton, 0, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0}, {'m', 20, 22, absUp, 0, 0, 0}, {'m', 40, 5, absUp, 0, 0, 0}}},
      {"push: never stays down", tasButton, 0, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0}, {'r', 0, 0, absUp, 0, 1, 0}, {'p', 5, 5, absDown, 0, 1, 0}}},
      {"check: toggles on each click", tasCheck, 0, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0},
        {'r', 0, 0, -1, 1, 1, 0},
        {'p', 5, 5, absDown, 1, 1, 0},
        {'r', 0, 0, -1, 0, 2, 0}}},
      {"check: released outside keeps its state", tasCheck, 0, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0}, {'m', 100, 5, absUp, 0, 0, 0}, {'r', 0, 0, absUp, 0, 0, 0}}},
      {"group: latches and stays down without all-up", tasButton, 1, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0},
        {'r', 0, 0, absExclusive, 1, 1, 0},
        {'p', 5, 5, absExclusive, 1, 1, 0},
        {'r', 0, 0, absExclusive, 1, 2, 0}}},
      {"group: all-up releases on the second click", tasButton, 1, true, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0},
        {'r', 0, 0, absExclusive, 1, 1, 0},
        {'p', 5, 5, absExclusive, 1, 1, 0},
        {'r', 0, 0, absUp, 0, 2, 0}}},
      {"group: released outside stays up", tasButton, 1, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0}, {'m', 5, 100, absUp, 0, 0, 0}, {'r', 0, 0, absUp, 0, 0, 0}}},
      {"group: a latched button pressed and released outside stays latched", tasButton, 1, false, false, true,
       {{'p', 5, 5, absDown, 0, 0, 0},
        {'r', 0, 0, absExclusive, 1, 1, 0},
        {'p', 5, 5, absExclusive, 1, 1, 0},
        {'m', 100, 100, absExclusive, 1, 1, 0},
        {'r', 0, 0, absExclusive, 1, 1, 0}}},
      {"split: the arrow zone drops down without a click", tasButton, 0, false, true, true,
       {{'p', 30, 5, absUp, 0, 0, 1}, {'r', 0, 0, absUp, 0, 0, 1}, {'p', 26, 5, absDown, 0, 0, 1},
        {'r', 0, 0, absUp, 0, 1, 1}}},
      {"not split: every press drops down", tasButton, 0, false, true, false,
       {{'p', 5, 5, absUp, 0, 0, 1}, {'r', 0, 0, absUp, 0, 0, 1}, {'p', 35, 5, absUp, 0, 0, 2}}},
  };
  for (const TMachineCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* b = AddButton(TRect{10, 10, 50, 32});
    b->SetStyle(c.Style);
    b->SetGroupIndex(c.Group);
    b->SetAllowAllUp(c.AllowAllUp);
    b->SetDropDownButton(c.DropDown);
    b->SetDropDownSplit(c.Split);
    int clicks = 0, drops = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnDropDown = [&](TObject*) { ++drops; };
    ShowForm();
    for (size_t i = 0; i < c.Steps.size(); ++i) {
      const TStep& s = c.Steps[i];
      SCOPED_TRACE("step " + std::to_string(i));
      if (s.Op == 'p') {
        MouseMove(b, TPoint{s.X, s.Y});
        MouseDown();
      } else if (s.Op == 'm') {
        MouseMove(b, TPoint{s.X, s.Y});
      } else {
        MouseUp();
      }
      if (s.State >= 0) {
        EXPECT_EQ(int(b->State()), s.State);
      }
      if (s.Down >= 0) {
        EXPECT_EQ(int(b->Down()), s.Down);
      }
      EXPECT_EQ(clicks, s.Clicks);
      EXPECT_EQ(drops, s.DropDowns);
    }
    MouseUp();
    MouseMove(TPoint{390, 190});
    delete b;
  }
}

TEST_F(ToolBarButtonTest, PressingAGroupMemberReleasesTheOtherAndUnchecksItsAction) {
  auto* a = AddButton(TRect{10, 10, 50, 32});
  auto* b = AddButton(TRect{60, 10, 100, 32});
  TAction actionA(nullptr);
  a->SetGroupIndex(3);
  b->SetGroupIndex(3);
  a->SetAction(&actionA);
  actionA.SetChecked(true);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), absExclusive);
  ShowForm();
  testinput::Click(b, TPoint{5, 5});
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), absUp);
  EXPECT_FALSE(actionA.Checked());
  // Another group is not touched.
  auto* c = AddButton(TRect{110, 10, 150, 32});
  c->SetGroupIndex(4);
  c->SetDown(true);
  testinput::Click(a, TPoint{5, 5});
  EXPECT_TRUE(a->Down());
  EXPECT_FALSE(b->Down());
  EXPECT_TRUE(c->Down());
  a->SetAction(nullptr);
}

TEST_F(ToolBarButtonTest, DownFollowsTheLatchRules) {
  auto* b = AddButton(TRect{10, 10, 50, 32});
  b->SetDown(true);  // a push button outside a group never stays down
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->State(), absUp);

  b->SetGroupIndex(1);
  b->SetDown(true);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(b->State(), absExclusive);
  b->SetDown(false);  // without all-up it cannot be released by setting
  EXPECT_TRUE(b->Down());
  b->SetAllowAllUp(true);
  b->SetDown(false);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->State(), absUp);

  auto* other = AddButton(TRect{60, 10, 100, 32});
  other->SetGroupIndex(1);
  other->SetDown(true);
  EXPECT_FALSE(b->AllowAllUp());  // members take the sender's all-up
  b->SetAllowAllUp(true);
  EXPECT_TRUE(other->AllowAllUp());
  b->SetDown(true);
  EXPECT_FALSE(other->Down());
  EXPECT_TRUE(b->Down());

  auto* check = AddButton(TRect{110, 10, 150, 32});
  check->SetStyle(tasCheck);
  check->SetDown(true);
  EXPECT_TRUE(check->Down());
  EXPECT_EQ(check->State(), absDown);
  check->SetDown(false);
  EXPECT_EQ(check->State(), absUp);
}

// --- the action link ---

TEST_F(ToolBarButtonTest, ActionLinkFollowsTheActionAfterTheyDiffered) {
  auto* b = AddButton(TRect{10, 10, 50, 32});
  b->SetStyle(tasCheck);
  TAction action(nullptr);
  b->SetAction(&action);
  action.SetChecked(true);
  EXPECT_TRUE(b->Down());
  b->SetDown(false);  // the button changed on its own: the two differ now
  action.SetChecked(false);
  action.SetChecked(true);
  EXPECT_TRUE(b->Down());
  action.SetChecked(false);
  EXPECT_FALSE(b->Down());

  // A checked action with a button that cannot be down still reaches it later.
  auto* push = AddButton(TRect{60, 10, 100, 32});
  TAction grouped(nullptr);
  grouped.SetChecked(true);
  push->SetAction(&grouped);
  EXPECT_FALSE(push->Down());  // group 0, push style
  push->SetGroupIndex(2);
  grouped.SetGroupIndex(7);
  EXPECT_EQ(push->GroupIndex(), 2);  // the group follows only while equal
  push->SetGroupIndex(7);
  grouped.SetChecked(false);
  grouped.SetChecked(true);
  EXPECT_TRUE(push->Down());
  grouped.SetGroupIndex(8);
  EXPECT_EQ(push->GroupIndex(), 8);

  // The action's group, image and state reach the button when linked.
  auto* third = AddButton(TRect{110, 10, 150, 32});
  TAction full(nullptr);
  full.SetGroupIndex(5);
  full.SetImageIndex(2);
  full.SetEnabled(false);
  third->SetAction(&full);
  EXPECT_EQ(third->GroupIndex(), 5);
  EXPECT_EQ(third->ImageIndex(), 2);
  EXPECT_FALSE(third->Enabled());
  full.SetEnabled(true);
  EXPECT_TRUE(third->Enabled());
  b->SetAction(nullptr);
  push->SetAction(nullptr);
  third->SetAction(nullptr);
}

TEST_F(ToolBarButtonTest, ClickRunsTheActionUnlessTheButtonHasItsOwnHandler) {
  auto* b = AddButton(TRect{10, 10, 50, 32});
  TAction action(nullptr);
  int executed = 0, clicked = 0;
  action.OnExecute = [&](TObject*) { ++executed; };
  b->SetAction(&action);
  ShowForm();
  testinput::Click(b, TPoint{5, 5});
  EXPECT_EQ(executed, 1);
  b->OnClick = [&](TObject*) { ++clicked; };
  testinput::Click(b, TPoint{5, 5});
  EXPECT_EQ(executed, 1);
  EXPECT_EQ(clicked, 1);
  b->SetAction(nullptr);
}

TEST_F(ToolBarButtonTest, AFreedActionOrMenuIsForgotten) {
  auto* b = AddButton(TRect{10, 10, 50, 32});
  auto* action = new TAction(nullptr);
  b->SetAction(action);
  auto* menu = new TAdvPopupMenu(nullptr);
  b->SetDropDownMenu(menu);
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(u"File");
  b->SetMenuItem(item);
  EXPECT_EQ(b->Caption(), u"File");
  delete action;
  delete menu;
  delete item;
  EXPECT_EQ(b->Action(), nullptr);
  EXPECT_EQ(b->DropDownMenu(), nullptr);
  EXPECT_EQ(b->MenuItem(), nullptr);
}

TEST_F(ToolBarButtonTest, MenuItemBindingAndItsCounts) {
  auto* b = AddButton(TRect{10, 10, 50, 32});
  EXPECT_EQ(b->VisibleMenuItemCount(), 0);
  TMenuItem item(nullptr);
  item.SetCaption(u"&Edit");
  item.SetHint(u"Editing");
  item.SetEnabled(false);
  item.SetImageIndex(4);
  for (int i = 0; i < 3; ++i) {
    auto* sub = new TMenuItem(&item);
    sub->SetVisible(i != 1);
    item.Add(sub);
  }
  b->SetMenuItem(&item);
  EXPECT_EQ(b->Caption(), u"&Edit");
  EXPECT_EQ(b->Hint(), u"Editing");
  EXPECT_FALSE(b->Enabled());
  EXPECT_EQ(b->ImageIndex(), 4);
  EXPECT_EQ(b->VisibleMenuItemCount(), 2);
  TAdvPopupMenu menu(nullptr);
  menu.Items()->Add(new TMenuItem(&menu));
  b->SetDropDownMenu(&menu);
  EXPECT_EQ(b->VisibleMenuItemCount(), 1);  // the drop-down menu comes first
  b->SetDropDownMenu(nullptr);
  b->SetMenuItem(nullptr);
  EXPECT_EQ(b->MenuItem(), nullptr);
}

TEST_F(ToolBarButtonTest, ADisabledButtonShowsNoHint) {
  auto* b = AddButton(TRect{10, 10, 50, 32});
  b->SetHint(u"Open");
  THintInfo info;
  info.HintStr = u"Open";
  b->Perform(CM_HINTSHOW, 0, LPARAM(&info));
  EXPECT_EQ(info.HintStr, u"Open");
  b->SetEnabled(false);
  b->Perform(CM_HINTSHOW, 0, LPARAM(&info));
  EXPECT_TRUE(info.HintStr.empty());
}

TEST_F(ToolBarButtonTest, DrawPositionNotifiesOnlyChanges) {
  toolbar::TZadEdevAziButtonDrawPosition p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  p.SetTextX(0);
  EXPECT_EQ(changes, 0);
  p.SetTextX(5);
  p.SetImageY(3);
  p.SetEnabled(true);
  EXPECT_EQ(changes, 3);
  toolbar::TZadEdevAziButtonDrawPosition q;
  q.OnChange = [&](TObject*) { ++changes; };
  q.Assign(&p);
  EXPECT_EQ(changes, 3);  // copied silently
  EXPECT_EQ(q.TextX(), 5);
  EXPECT_EQ(q.ImageY(), 3);
  EXPECT_TRUE(q.Enabled());
}

// --- images ---

TEST_F(ToolBarButtonTest, GlyphFillsAnEmptyDisabledGlyphWithGrey) {
  struct Case {
    TColor Pixel;
    Byte Grey;
  };
  for (Case c : {Case{0xFFFFFF, 223}, Case{0x000000, 96}, Case{0x0000FF, 96 + 42}, Case{0x808080, 96 + 64}}) {
    TZadEdevAziButton b(nullptr);
    auto g = Filled(4, 3, c.Pixel);
    b.SetGlyph(g.get());
    ASSERT_EQ(b.GlyphDisabled()->Width(), 4);
    const TColor want = TColor(c.Grey) | TColor(c.Grey) << 8 | TColor(c.Grey) << 16;
    EXPECT_EQ(b.GlyphDisabled()->Canvas()->Pixels(2, 1), want) << std::hex << c.Pixel;
  }
  TZadEdevAziButton b(nullptr);
  auto own = Filled(2, 2, 0x123456);
  b.SetGlyphDisabled(own.get());
  auto g = Filled(4, 4, 0xFFFFFF);
  b.SetGlyph(g.get());
  EXPECT_EQ(b.GlyphDisabled()->Width(), 2);  // never overwritten
  EXPECT_EQ(b.GlyphDisabled()->Canvas()->Pixels(0, 0), TColor(0x123456));
}

TEST_F(ToolBarButtonTest, ShadeIsAGreySilhouetteOnTheBottomLeftColour) {
  TZadEdevAziButton b(nullptr);
  auto g = Filled(6, 6, 0xFF00FF);
  g->Canvas()->Brush()->SetColor(0x0000FF);
  g->Canvas()->FillRect(TRect{2, 1, 4, 3});
  g->Canvas()->SetPixels(5, 0, 0x00FF00);
  b.SetGlyph(g.get());
  b.CreateGlyphShade();
  TBitmap* s = b.GlyphShade();
  ASSERT_EQ(s->Width(), 6);
  EXPECT_EQ(s->Canvas()->Pixels(2, 1), TColor(0x808080));
  EXPECT_EQ(s->Canvas()->Pixels(3, 2), TColor(0x808080));
  EXPECT_EQ(s->Canvas()->Pixels(5, 0), TColor(0x808080));
  EXPECT_EQ(s->Canvas()->Pixels(0, 0), TColor(0xFF00FF));
  EXPECT_EQ(s->Canvas()->Pixels(0, 5), TColor(0xFF00FF));
}

// --- automatic size ---

TEST_F(ToolBarButtonTest, AutoSizeFromImageCaptionAndPosition) {
  // The caption measures as the layer's text routines measure it in the
  // button's font (Tahoma, -11, no scaling on an unscaled form).
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->SetName(u"Tahoma");
  probe.Canvas()->Font()->SetHeight(-11);
  const String caption = u"Update";
  const int T = probe.Canvas()->TextWidth(caption);
  const int TH = probe.Canvas()->TextHeight(u"gh");
  ASSERT_GT(T, 0);
  struct Case {
    const char* Name;
    bool Glyph, ShowCaption, DropDown;
    const char16_t* Caption;
    toolbar::TGlyphPosition Pos;
    toolbar::TDockAlign Dock;
    int Width, Height;  // -1: not checked
  };
  const Case cases[] = {
      {"nothing: the smallest width", false, false, false, u"", toolbar::gpLeft, toolbar::daTop, 15, -1},
      {"nothing with a drop-down section", false, false, true, u"", toolbar::gpLeft, toolbar::daTop, 27, -1},
      {"ShowCaption with an empty caption", false, true, false, u"", toolbar::gpLeft, toolbar::daTop, 15, -1},
      {"caption hidden", true, false, false, u"Update", toolbar::gpLeft, toolbar::daTop, 16 + 8, -1},
      {"image left of the caption", true, true, false, u"Update", toolbar::gpLeft, toolbar::daTop, 16 + 4 + T + 8,
       -1},
      {"image right of the caption", true, true, false, u"Update", toolbar::gpRight, toolbar::daTop,
       16 + 4 + T + 8, -1},
      {"image above the caption", true, true, false, u"Update", toolbar::gpTop, toolbar::daTop,
       std::max(16, T) + 8, -1},
      {"caption only with drop-down", false, true, true, u"Update", toolbar::gpLeft, toolbar::daTop, T + 8 + 12,
       -1},
      {"vertical, image left", true, true, false, u"Update", toolbar::gpLeft, toolbar::daLeft,
       std::max(TH, 16) + 8, 16 + 4 + T + 8},
      {"vertical, image on top", true, true, false, u"Update", toolbar::gpTop, toolbar::daRight,
       16 + TH + 4 + 8, std::max(T, 16) + 8},
      {"vertical, nothing, drop-down", false, false, true, u"", toolbar::gpLeft, toolbar::daLeft, -1, 15 + 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* b = new TZadEdevAziButton(Form.get());
    b->SetParent(Form.get());
    if (c.Glyph) {
      auto g = Filled(16, 16, 0x0000FF);
      b->SetGlyph(g.get());
    }
    b->SetCaption(c.Caption);
    b->SetShowCaption(c.ShowCaption);
    b->SetDropDownButton(c.DropDown);
    b->SetGlyphPosition(c.Pos);
    b->SetPosition(c.Dock);
    if (c.Width >= 0) {
      EXPECT_EQ(b->Width(), c.Width);
    }
    if (c.Height >= 0) {
      EXPECT_EQ(b->Height(), c.Height);
    }
    delete b;
  }
}

TEST_F(ToolBarButtonTest, AutoSizeFollowsAnImageList) {
  TImageList images(nullptr);
  images.SetSize(24, 20);
  TActionList list(nullptr);
  list.SetImages(&images);
  TAction action(nullptr);
  action.SetActionList(&list);
  action.SetImageIndex(0);
  auto* b = new TZadEdevAziButton(Form.get());
  b->SetParent(Form.get());
  b->SetAction(&action);
  b->AdjustSize();
  EXPECT_EQ(b->Width(), 24 + 8);
  b->SetAction(nullptr);
}

}  // namespace buttontest

namespace buttontest {

// At 144 PPI the drop-down section is Round(12 x 1.5) = 18 wide and the arrow
// zone of a press Round(14 x 1.5) = 21.
TEST_F(ToolBarButtonTest, DropDownSectionAndArrowZoneScale) {
  toolbar::ToolBarDPIScale = 1.5f;
  auto* sized = new TZadEdevAziButton(Form.get());
  sized->SetParent(Form.get());
  sized->SetDropDownButton(true);
  EXPECT_EQ(sized->Width(), 15 + 18);
  auto* b = AddButton(TRect{10, 10, 70, 34});
  b->SetDropDownButton(true);
  int clicks = 0, drops = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->OnDropDown = [&](TObject*) { ++drops; };
  ShowForm();
  testinput::Click(b, TPoint{60 - 21, 5});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(drops, 0);
  testinput::Click(b, TPoint{60 - 20, 5});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(drops, 1);
  b->SetPosition(toolbar::daLeft);  // vertical: the zone is at the bottom
  testinput::Click(b, TPoint{5, 24 - 20});
  EXPECT_EQ(drops, 2);
  testinput::Click(b, TPoint{5, 24 - 21});
  EXPECT_EQ(clicks, 2);
}

}  // namespace buttontest

namespace buttontest {

// A glow button beside a toolbar button in a group of the same number is
// not told of the toolbar button's group (it would read the toolbar button
// as a glow button).
TEST_F(ToolBarButtonTest, GroupMessageReachesToolBarButtonsOnly) {
  auto* glow = new TAdvGlowButton(Form.get());
  glow->SetParent(Form.get());
  glow->SetBounds(200, 10, 60, 24);
  glow->SetGroupIndex(1);
  glow->SetDown(true);
  ASSERT_TRUE(glow->Down());
  auto* b = AddButton(TRect{10, 10, 50, 32});
  auto* other = AddButton(TRect{60, 10, 100, 32});
  b->SetGroupIndex(1);
  other->SetGroupIndex(1);
  other->SetDown(true);
  b->SetDown(true);
  EXPECT_TRUE(glow->Down());
  EXPECT_FALSE(other->Down());
}

}  // namespace buttontest

namespace buttontest {

TEST_F(ToolBarButtonTest, ClassesAreKnownByName) {
  toolbar::RegisterToolBarClasses();
  toolbar::RegisterToolBarButtonClasses();
  TZadEdevAziButton b(nullptr);
  TZadEdevAziMenuButton m(nullptr);
  ASSERT_NE(ClassInfoOf(&b), nullptr);
  EXPECT_EQ(ClassInfoOf(&b)->ClassName(), u"TZadEdevAziButton");
  EXPECT_EQ(ClassInfoOf(&m)->ClassName(), u"TZadEdevAziMenuButton");
  EXPECT_TRUE(ClassInfoOf(&m)->InheritsFrom(ClassInfoOf<toolbar::TAdvCustomToolBarControl>()));
}

}  // namespace buttontest
