// The quick-access toolbar on a pager: its parent rule, the overflow of real
// controls as the form narrows and widens, the overflow window with the
// hidden controls and the customize button last, and the small arrow
// button's click rule.
#include <vector>

#include "PagerFixture.h"
#include "platform/rtl/Exceptions.h"
#include "ribbon/AdvQuickAccessToolBar.h"

namespace ribbon {
namespace {

class QuickAccess : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    MakePages(2);
    Qat = new TAdvQuickAccessToolBar(Form.get());
    Qat->SetParent(Pager);
  }
  void AddButtons(int N, Integer W = 22) {
    for (int i = 0; i < N; ++i) {
      auto* b = new TAdvGlowButton(Form.get());
      b->SetBounds(i * W, 0, W, 20);
      Qat->AddToolBarControl(b);
      b->SetBounds(b->Left(), b->Top(), W, 20);
      Buttons.push_back(b);
    }
  }
  // Every content control shown or hidden once; the shown ones inside the room.
  void ExpectSound() {
    std::vector<TControl*> all = Qat->ShownControls();
    all.insert(all.end(), Qat->HiddenControls().begin(), Qat->HiddenControls().end());
    ASSERT_EQ(all.size(), Buttons.size());
    for (TControl* b : Buttons) EXPECT_EQ(std::count(all.begin(), all.end(), b), 1);
    TQATLayout probe;
    probe.Look = Qat->Look();
    probe.Width = Qat->Width();
    probe.Height = Qat->Height();
    const Integer right = QATOverflowRight(probe);
    Integer x = -1;
    for (TControl* c : Qat->ShownControls()) {
      EXPECT_LE(c->Left() + c->Width(), right);
      EXPECT_GE(c->Left(), x);
      EXPECT_GE(c->Top(), 0);
      x = c->Left() + c->Width();
    }
    for (TControl* c : Qat->HiddenControls()) {
      if (c->Parent() == Qat) {
        EXPECT_LT(c->Top() + c->Height(), 1);
      }
    }
    const bool scroll = Qat->ScrollButton() != nullptr && Qat->ScrollButton()->Visible();
    EXPECT_EQ(scroll, !Qat->HiddenControls().empty());
    if (scroll && Qat->CustomizeButton() != nullptr && Qat->CustomizeButton()->Parent() == Qat) {
      EXPECT_FALSE(Qat->CustomizeButton()->Visible());
    }
  }
  void SetFormWidth(Integer W) {
    Form->SetBounds(0, 0, W, 200);
    Pager->SetBounds(0, 0, W, Pager->Height());
    Qat->UpdateSize();
    Qat->UpdateHiddenControls();
  }
  TAdvQuickAccessToolBar* Qat = nullptr;
  std::vector<TAdvGlowButton*> Buttons;
};

TEST_F(QuickAccess, OnlyAPagerIsAParent) {
  auto* q = new TAdvQuickAccessToolBar(Form.get());
  try {
    q->SetParent(Form.get());
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Invalid Parent");
  }
  q->SetParent(nullptr);
  // Not on a ribbon form: no glass drawing.
  EXPECT_FALSE(Qat->IsAeroVista());
}

TEST_F(QuickAccess, NarrowingHidesTheRightmostAndWideningBringsThemBackInOrder) {
  AddButtons(12);
  Qat->SetShowCustomizeOption(true);
  SetFormWidth(1400);
  ExpectSound();
  EXPECT_TRUE(Qat->HiddenControls().empty());
  EXPECT_TRUE(Qat->CustomizeButton()->Visible());

  SetFormWidth(400);
  ExpectSound();
  ASSERT_FALSE(Qat->HiddenControls().empty());
  // The hidden ones are the rightmost, in their order.
  const size_t shown = Qat->ShownControls().size();
  for (size_t k = 0; k < Qat->HiddenControls().size(); ++k)
    EXPECT_EQ(Qat->HiddenControls()[k], Buttons[shown + k]);
  EXPECT_FALSE(Qat->CustomizeButton()->Visible());

  for (Integer w = 400; w <= 1400; w += 7) {
    const size_t before = Qat->ShownControls().size();
    SetFormWidth(w);
    ExpectSound();
    ASSERT_GE(Qat->ShownControls().size(), before) << w;
    for (size_t k = 0; k < Qat->ShownControls().size(); ++k) EXPECT_EQ(Qat->ShownControls()[k], Buttons[k]);
  }
  EXPECT_TRUE(Qat->HiddenControls().empty());
  EXPECT_FALSE(Qat->ScrollButton()->Visible());
  EXPECT_TRUE(Qat->CustomizeButton()->Visible());
  EXPECT_EQ(Qat->CustomizeButton()->Parent(), Qat);
}

TEST_F(QuickAccess, OverflowWindowListsTheHiddenControlsThenTheCustomizeButton) {
  AddButtons(12);
  Qat->SetShowCustomizeOption(true);
  SetFormWidth(400);
  ASSERT_FALSE(Qat->HiddenControls().empty());
  const std::vector<TControl*> hidden = Qat->HiddenControls();
  Qat->ShowOverflowWindow(0, 0, false);
  toolbar::TControlSelectorPanel* panel = Qat->OverflowWindowPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(panel->ControlListCount(), Integer(hidden.size() + 1));
  for (size_t k = 0; k < hidden.size(); ++k) EXPECT_EQ(panel->ListedControl(Integer(k)), hidden[k]);
  EXPECT_EQ(panel->ListedControl(Integer(hidden.size())), Qat->CustomizeButton());
  EXPECT_TRUE(Qat->OverflowWindow()->Visible());
  Qat->HideOverflowWindow();
  EXPECT_FALSE(Qat->OverflowWindow()->Visible());

  // Widening brings the controls home from the panel.
  SetFormWidth(1400);
  ExpectSound();
  for (TAdvGlowButton* b : Buttons) EXPECT_EQ(b->Parent(), Qat);
  EXPECT_EQ(Qat->CustomizeButton()->Parent(), Qat);
  EXPECT_TRUE(Qat->CustomizeButton()->Visible());
}

TEST_F(QuickAccess, EmptyOverflowShowsNothing) {
  AddButtons(2);
  SetFormWidth(1400);
  Qat->ShowOverflowWindow(0, 0, false);
  ASSERT_NE(Qat->OverflowWindow(), nullptr);
  EXPECT_FALSE(Qat->OverflowWindow()->Visible());
}

TEST_F(QuickAccess, CaptionPlacementWidthStaysBetweenMinimumAndReservedRoom) {
  AddButtons(1, 5);
  SetFormWidth(1400);
  EXPECT_EQ(Qat->Width(), QATMinWidth(1.0f));
  Buttons[0]->SetBounds(0, 0, 2000, 20);
  SetFormWidth(600);
  EXPECT_EQ(Qat->Width(), QuickAccessReservedRect(Pager, false).Width());
}

class VistaButtonMouse : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    MakePages(1);
    Form->Show();
    PumpPending();
    Button = new TAdvVistaButton(Form.get());
    Button->SetParent(Pager);
    Button->SetBounds(300, 2, 20, 20);
    Button->OnClick = [this](TObject*) { ++Clicks; };
  }
  TAdvVistaButton* Button = nullptr;
  int Clicks = 0;
};

TEST_F(VistaButtonMouse, ClicksOnlyForTheLeftButtonReleasedInside) {
  struct Case {
    const char* name;
    TMouseButton button;
    TPoint releaseAt;
    int clicks;
  };
  const Case cases[] = {
      {"left inside", mbLeft, {10, 10}, 1},
      {"right inside", mbRight, {10, 10}, 0},
      {"left released outside", mbLeft, {60, 10}, 0},
  };
  for (const Case& c : cases) {
    Clicks = 0;
    testinput::MouseMove(Button, TPoint{10, 10});
    testinput::MouseDown(c.button);
    testinput::MouseMove(Button, c.releaseAt);
    testinput::MouseUp(c.button);
    PumpPending();
    EXPECT_EQ(Clicks, c.clicks) << c.name;
    EXPECT_FALSE(Button->MousePressed()) << c.name;
  }
  Button->SetEnabled(false);
  Clicks = 0;
  testinput::Click(Button, TPoint{10, 10});
  EXPECT_EQ(Clicks, 0);
}

}  // namespace
}  // namespace ribbon
