// The option popup of a docked toolbar: it opens from the right handle with
// the controls the toolbar hid, a click on one of them runs it and closes
// the popup, "Add or Remove Buttons" shows or hides a control, and the
// panel lays its controls and entries out.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Window.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/OptionSelector.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

class OptionSelectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    testinput::MouseLeaveWindows();
    Clock = std::make_unique<TVirtualClock>();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 600, 300);
    Panel = new TAdvDockPanel(Form.get());
    Panel->SetParent(Form.get());
    ToolBar = new TZadEdevAzi(Form.get());
    ToolBar->SetCaption(u"Standard");
    ToolBar->SetParent(Panel);
    for (int i = 0; i < 5; ++i) {
      auto* b = new TZadEdevAziButton(Form.get());
      b->SetAutoSize(false);
      b->SetBounds(10000, 10000, 30, 22);
      b->SetZadEdevAzi(ToolBar);
      b->SetName(u"B" + IntToStr(i));
      b->SetCaption(u"Button " + IntToStr(i));
      b->OnClick = [this, i](TObject*) { Clicked.push_back(i); };
      Buttons.push_back(b);
    }
    Form->Show();
    PumpPending();
  }
  void TearDown() override {
    ReleaseCapture();
    Form.reset();
    PumpPending();
    Clock.reset();
  }
  // A real click on the right handle, through the toolbar's pointer handling.
  void ClickRightHandle() {
    const TPoint p{ToolBar->Width() - 3, ToolBar->Height() / 2};
    ASSERT_TRUE(ToolBar->PtInRightHandle(p));
    testinput::Click(ToolBar, p);
    PumpPending();
  }
  std::unique_ptr<TVirtualClock> Clock;
  std::unique_ptr<TForm> Form;
  TAdvDockPanel* Panel = nullptr;
  TZadEdevAzi* ToolBar = nullptr;
  std::vector<TZadEdevAziButton*> Buttons;
  std::vector<int> Clicked;
};

}  // namespace

TEST_F(OptionSelectorTest, OpensWithTheHiddenControlsAndAClickRunsOneAndCloses) {
  Form->SetWidth(100);
  ASSERT_EQ(ToolBar->LUHidedControls()->Count(), 3);
  ClickRightHandle();
  TOptionSelectorWindow* w = ToolBar->OptionWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  TControlSelectorPanel* p = ToolBar->OptionWindowPanel();
  ASSERT_NE(p, nullptr);
  // In the toolbar's order, living in the panel.
  ASSERT_EQ(p->ControlListCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p->ListedControl(i), Buttons[2 + i]);
    EXPECT_EQ(Buttons[2 + i]->Parent(), static_cast<TWinControl*>(p));
  }
  // Below the toolbar's right end.
  const TPoint below = Panel->ClientToScreen(TPoint{ToolBar->Left() + ToolBar->Width() - 12, ToolBar->Top() + ToolBar->Height() + 1});
  EXPECT_EQ(w->Top(), below.Y);
  testinput::Click(Buttons[4], TPoint{5, 5});
  PumpPending();
  EXPECT_EQ(Clicked, std::vector<int>{4});
  EXPECT_FALSE(w->Visible());
  // Used: back on the toolbar, another control hidden in its place.
  EXPECT_EQ(Buttons[4]->Parent(), static_cast<TWinControl*>(ToolBar));
  EXPECT_EQ(ToolBar->LUHidedControls()->IndexOf(Buttons[4]), -1);
  EXPECT_EQ(ToolBar->RUControls()->Items(0), static_cast<TControl*>(Buttons[4]));
}

TEST_F(OptionSelectorTest, NothingHiddenAndNoEntriesShowsNoPopupButFiresTheEvent) {
  int fired = 0;
  ToolBar->OnOptionClick = [&](TObject*, TPoint, TPoint) { ++fired; };
  ClickRightHandle();
  EXPECT_EQ(fired, 1);
  ASSERT_NE(ToolBar->OptionWindowPanel(), nullptr);
  EXPECT_TRUE(ToolBar->OptionWindowPanel()->IsEmpty());
  EXPECT_FALSE(ToolBar->OptionWindow()->Visible());
}

TEST_F(OptionSelectorTest, APressOnTheCaptionsOptionIndicatorRunsTheOptionEvent) {
  int fired = 0;
  ToolBar->OnOptionClick = [&](TObject*, TPoint, TPoint) { ++fired; };
  ToolBar->SetShowRightHandle(false);
  ToolBar->SetShowCaption(true);
  PumpPending();
  const TRect r = ToolBar->GetCaptionOptionRect();
  ASSERT_FALSE(r.IsEmpty());
  testinput::Click(ToolBar, TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  PumpPending();
  EXPECT_EQ(fired, 1);
}

TEST_F(OptionSelectorTest, AddOrRemoveButtonsTogglesAControlsVisibility) {
  ToolBar->SetAutoOptionMenu(true);
  ClickRightHandle();
  TControlSelectorPanel* p = ToolBar->OptionWindowPanel();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(ToolBar->OptionWindow()->Visible()) << "the entry alone is worth showing";
  EXPECT_EQ(p->TextAutoOptionMenu(), u"Add or Remove Buttons");
  EXPECT_FALSE(p->AddAndRemoveRect().IsEmpty());
  p->BuildAddAndRemoveItems();
  TATBMenuItem* items = p->AddAndRemovePopup()->Items();
  ASSERT_EQ(items->Count(), 1);
  TATBMenuItem* root = items->GetItem(0);
  EXPECT_EQ(root->Caption(), u"Standard");
  ASSERT_EQ(root->Count(), 5);
  EXPECT_EQ(root->GetItem(1)->Caption(), u"Button 1");
  EXPECT_TRUE(root->GetItem(1)->Checked());
  // The list's panel shows the toolbar's controls when given its entry.
  TATBPopupPanel* lp = p->AddAndRemovePopup()->PopupPanel();
  lp->SetItems(root);
  lp->ClickItem(1);
  EXPECT_FALSE(Buttons[1]->Visible());
  p->BuildAddAndRemoveItems();
  root = p->AddAndRemovePopup()->Items()->GetItem(0);
  EXPECT_FALSE(root->GetItem(1)->Checked());
  lp->SetItems(root);
  lp->ClickItem(1);
  EXPECT_TRUE(Buttons[1]->Visible());
}

// The popup's list never starts or ends with a hidden separator; a hidden
// separator between listed controls stays.
TEST_F(OptionSelectorTest, HiddenSeparatorsNeverStartTheList) {
  Form.reset();
  PumpPending();
  Buttons.clear();
  Form = std::make_unique<TForm>(nullptr);
  Form->AfterConstruction();
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(0, 0, 600, 300);
  Panel = new TAdvDockPanel(Form.get());
  Panel->SetParent(Form.get());
  ToolBar = new TZadEdevAzi(Form.get());
  ToolBar->SetParent(Panel);
  std::vector<TControl*> c;
  for (char k : std::string("b|b|bb")) {
    TControl* x;
    if (k == '|') {
      auto* s = new TZadEdevAziSeparator(Form.get());
      s->SetParent(ToolBar);
      x = s;
    } else {
      auto* b = new TZadEdevAziButton(Form.get());
      b->SetAutoSize(false);
      b->SetBounds(10000, 10000, 30, 22);
      b->SetZadEdevAzi(ToolBar);
      x = b;
    }
    c.push_back(x);
  }
  Form->Show();
  PumpPending();
  Form->SetWidth(66);
  TDbgList* H = ToolBar->LUHidedControls();
  ASSERT_EQ(H->Count(), 5);
  ASSERT_EQ(H->Items(4), static_cast<void*>(c[1]));
  ClickRightHandle();
  TControlSelectorPanel* p = ToolBar->OptionWindowPanel();
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->ControlListCount(), 4);
  EXPECT_EQ(p->ListedControl(0), c[2]);
  EXPECT_EQ(p->ListedControl(1), c[3]);
  EXPECT_EQ(p->ListedControl(2), c[4]);
  EXPECT_EQ(p->ListedControl(3), c[5]);
  // Closed and widened: everything comes home.
  ToolBar->HideOptionWindow();
  Form->SetWidth(600);
  EXPECT_EQ(H->Count(), 0);
  for (TControl* x : c) EXPECT_EQ(x->Parent(), static_cast<TWinControl*>(ToolBar));
}

TEST_F(OptionSelectorTest, PanelLayout) {
  auto* w = new TOptionSelectorWindow(Form.get());
  w->AfterConstruction();
  auto* p = new TControlSelectorPanel(w);
  p->SetParent(w);
  // Only the options entry: 130 wide within margins of 3, no separator gap.
  TPopupMenu menu(nullptr);
  p->SetShowAddAndRemoveBtn(false);
  p->SetOptionsMenu(&menu);
  p->UpdateItemSizes();
  p->ArrangeControls();
  EXPECT_EQ(p->Width(), 136);
  EXPECT_EQ(p->Height(), p->OptionsRect().Height() + 6);
  // Three controls of 60 with entries of 130: two share a row.
  std::vector<TZadEdevAziButton*> bs;
  for (int i = 0; i < 3; ++i) {
    auto* b = new TZadEdevAziButton(Form.get());
    b->SetAutoSize(false);
    b->SetBounds(0, 0, 60, 22);
    EXPECT_EQ(p->AddControl(b), i);
    bs.push_back(b);
  }
  EXPECT_EQ(p->AddControl(nullptr), -1);
  p->ArrangeControls();
  EXPECT_EQ(bs[0]->Left(), 3);
  EXPECT_EQ(bs[1]->Left(), 63);
  EXPECT_EQ(bs[1]->Top(), bs[0]->Top());
  EXPECT_EQ(bs[2]->Left(), 3);
  EXPECT_EQ(bs[2]->Top(), bs[0]->Top() + 22);
  // Separator copies live until the window hides.
  TZadEdevAziSeparator sep(nullptr);
  TZadEdevAziSeparator* copy = p->AddSeparatorCopy(&sep);
  EXPECT_EQ(p->ListedControl(3), copy);
  p->WindowHidden();
  EXPECT_EQ(p->ControlListCount(), 3);
  delete w;
}

}  // namespace toolbar
