// The option popup's own windows driven by the pointer and the keyboard:
// hovering "Add or Remove Buttons" opens the toolbar's check list in a
// pop-up window, the toolbar's entry opens the list of its controls, a click
// on one shows or hides that control and the toolbar arranges again; a click
// outside or Escape closes the whole chain; the "Options" entry of a toolbar
// with a customizer leads to the customizer.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/AdvToolBarPopup.h"
#include "toolbar/OptionSelector.h"
#include "toolbar/ZadEdevAziCustomizer.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

TPoint Middle(const TRect& R) { return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

class AddRemoveButtonsTest : public ::testing::Test {
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
    ToolBar->SetAutoOptionMenu(true);
    ToolBar->OnControlVisibleChange = [this](TObject*, TControl* C) { VisibleChanges.push_back(C); };
    for (int i = 0; i < 5; ++i) {
      auto* b = new TZadEdevAziButton(Form.get());
      b->SetAutoSize(false);
      b->SetBounds(10000, 10000, 30, 22);
      b->SetZadEdevAzi(ToolBar);
      b->SetName(u"B" + IntToStr(i));
      b->SetCaption(u"Button " + IntToStr(i));
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
  // The right handle's action, then the pointer onto "Add or Remove Buttons".
  TATBPopupWindow* OpenList() {
    ToolBar->OptionIndicatorClick();
    PumpPending();
    TControlSelectorPanel* p = ToolBar->OptionWindowPanel();
    if (p == nullptr || !ToolBar->OptionWindow()->Visible()) return nullptr;
    testinput::MouseMove(p, Middle(p->AddAndRemoveRect()));
    PumpPending();
    return p->AddAndRemovePopup();
  }
  // The pointer onto the toolbar's entry of the list: the controls' list.
  TATBPopupWindow* OpenControls(TATBPopupWindow* List) {
    TATBPopupPanel* lp = List->PopupPanel();
    testinput::MouseMove(lp, Middle(lp->Items()->GetItem(0)->BoundRect()));
    PumpPending();
    return lp->ItemPopup();
  }
  void ClickItem(TATBPopupWindow* W, Integer Index) {
    testinput::Click(W->PopupPanel(), Middle(W->PopupPanel()->Items()->GetItem(Index)->BoundRect()));
    PumpPending();
  }
  // Lets the hide timers of the pop-ups run.
  void Settle() {
    PumpPending();
    Clock->Advance(10);
    PumpPending();
  }
  std::unique_ptr<TVirtualClock> Clock;
  std::unique_ptr<TForm> Form;
  TAdvDockPanel* Panel = nullptr;
  TZadEdevAzi* ToolBar = nullptr;
  std::vector<TZadEdevAziButton*> Buttons;
  std::vector<TControl*> VisibleChanges;
};

}  // namespace

TEST_F(AddRemoveButtonsTest, HoverOpensTheListAndAClickTogglesAControl) {
  TATBPopupWindow* list = OpenList();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->Visible());
  EXPECT_TRUE(ToolBar->OptionWindow()->Visible()) << "the list opens beside the option window";
  TControlSelectorPanel* p = ToolBar->OptionWindowPanel();
  EXPECT_TRUE(p->AddAndRemoveHot());
  // Beside the entry's right end.
  EXPECT_EQ(list->Left(), p->ClientToScreen(TPoint{p->AddAndRemoveRect().Right, 0}).X);
  TATBMenuItem* root = list->Items();
  ASSERT_EQ(root->Count(), 1);
  EXPECT_EQ(root->GetItem(0)->Caption(), u"Standard");

  TATBPopupWindow* controls = OpenControls(list);
  ASSERT_NE(controls, nullptr);
  EXPECT_TRUE(controls->Visible());
  EXPECT_GE(controls->Left(), list->Left() + list->Width() - 2) << "opens to the right of the entry";
  TATBMenuItem* entry = controls->PopupPanel()->Items();
  ASSERT_EQ(entry->Count(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(entry->GetItem(i)->Caption(), u"Button " + IntToStr(i));
    EXPECT_TRUE(entry->GetItem(i)->Checked());
    EXPECT_EQ(entry->GetItem(i)->Objects(), Buttons[size_t(i)]);
  }

  const Integer left2 = Buttons[2]->Left();
  ClickItem(controls, 1);
  EXPECT_FALSE(Buttons[1]->Visible());
  EXPECT_FALSE(entry->GetItem(1)->Checked());
  EXPECT_EQ(VisibleChanges, std::vector<TControl*>{Buttons[1]});
  EXPECT_EQ(Buttons[2]->Left(), left2 - 30) << "the toolbar closes the gap";
  EXPECT_TRUE(controls->Visible()) << "the list stays for more choices";

  ClickItem(controls, 1);
  EXPECT_TRUE(Buttons[1]->Visible());
  EXPECT_TRUE(entry->GetItem(1)->Checked());
  EXPECT_EQ(VisibleChanges.size(), 2u);
  EXPECT_EQ(Buttons[2]->Left(), left2);

  // A click outside closes the chain: the controls' list, the toolbar list
  // and the option window.
  testinput::Click(Form.get(), TPoint{500, 250});
  Settle();
  EXPECT_FALSE(controls->Visible());
  EXPECT_FALSE(list->Visible());
  EXPECT_FALSE(ToolBar->OptionWindow()->Visible());
}

// Moving off a child list without entering it and pressing outside closes
// everything too: the active list gives way to a window outside the chain.
TEST_F(AddRemoveButtonsTest, ClickOutsideWithTheChildListOpenClosesAll) {
  TATBPopupWindow* list = OpenList();
  ASSERT_NE(list, nullptr);
  TATBPopupWindow* controls = OpenControls(list);
  ASSERT_NE(controls, nullptr);
  ASSERT_TRUE(controls->Visible());
  testinput::Click(Form.get(), TPoint{500, 250});
  Settle();
  EXPECT_FALSE(controls->Visible());
  EXPECT_FALSE(list->Visible());
  EXPECT_FALSE(ToolBar->OptionWindow()->Visible());
  EXPECT_TRUE(VisibleChanges.empty());
}

TEST_F(AddRemoveButtonsTest, EscapeClosesTheChain) {
  TATBPopupWindow* list = OpenList();
  ASSERT_NE(list, nullptr);
  TATBPopupWindow* controls = OpenControls(list);
  ASSERT_NE(controls, nullptr);
  testinput::KeyPress(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(controls->Visible());
  EXPECT_FALSE(list->Visible());
  EXPECT_FALSE(ToolBar->OptionWindow()->Visible());
  for (TZadEdevAziButton* b : Buttons) EXPECT_TRUE(b->Visible());
}

// Opened again and again, the same windows serve: nothing piles up.
TEST_F(AddRemoveButtonsTest, ReopeningReusesItsWindows) {
  TATBPopupWindow* first = OpenList();
  ASSERT_NE(first, nullptr);
  TATBPopupWindow* firstControls = OpenControls(first);
  testinput::KeyPress(VK_ESCAPE);
  Settle();
  const Integer forms = Screen->FormCount();
  for (int round = 0; round < 3; ++round) {
    testinput::MouseLeaveWindows();
    TATBPopupWindow* list = OpenList();
    ASSERT_EQ(list, first);
    ASSERT_TRUE(list->Visible());
    EXPECT_EQ(OpenControls(list), firstControls);
    EXPECT_EQ(list->Items()->Count(), 1) << "filled afresh, not appended to";
    testinput::KeyPress(VK_ESCAPE);
    Settle();
    EXPECT_FALSE(ToolBar->OptionWindow()->Visible());
  }
  EXPECT_EQ(Screen->FormCount(), forms);
}

// The controls' list holds no item for a control that left the toolbar
// while the list was closed, and a stale list never touches one.
TEST_F(AddRemoveButtonsTest, AControlThatLeftIsNotListed) {
  delete Buttons[4];
  Buttons.pop_back();
  PumpPending();
  TATBPopupWindow* list = OpenList();
  ASSERT_NE(list, nullptr);
  TATBPopupWindow* controls = OpenControls(list);
  ASSERT_NE(controls, nullptr);
  EXPECT_EQ(controls->PopupPanel()->Items()->Count(), 4);
}

TEST_F(AddRemoveButtonsTest, OptionsEntryLeadsToTheCustomizer) {
  auto* customizer = new TZadEdevAziCustomizer(Form.get());
  customizer->SetZadEdevAzi(ToolBar);
  int asked = 0;
  // The dialog itself stays shut: only its way in is checked here.
  customizer->OnCanShow = [&](TObject*, Integer&, Integer&, bool& CanShow) {
    ++asked;
    CanShow = false;
  };
  ToolBar->OptionIndicatorClick();
  PumpPending();
  TControlSelectorPanel* p = ToolBar->OptionWindowPanel();
  ASSERT_NE(p, nullptr);
  ASSERT_TRUE(ToolBar->OptionWindow()->Visible());
  EXPECT_EQ(p->TextOptionMenu(), u"Options");
  ASSERT_FALSE(p->OptionsRect().IsEmpty());
  ASSERT_EQ(p->CustomizeOptionWindow(), nullptr);
  // Dragged in with the button held: no opening.
  testinput::MouseMove(p, TPoint{1, 1});
  testinput::MouseDown();
  testinput::MouseMove(p, Middle(p->OptionsRect()), TShiftState{ssLeft});
  PumpPending();
  EXPECT_EQ(p->CustomizeOptionWindow(), nullptr);
  testinput::MouseUp();
  testinput::MouseMove(p, TPoint{1, 1});
  PumpPending();
  testinput::MouseMove(p, Middle(p->OptionsRect()));
  PumpPending();
  TOptionSelectorWindow* cw = p->CustomizeOptionWindow();
  ASSERT_NE(cw, nullptr);
  ASSERT_TRUE(cw->Visible());
  auto* entry = dynamic_cast<TCustomizeOption*>(cw->OptionsPanel());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->CustomizeText(), u"Customize Standard");
  EXPECT_EQ(cw->Left(), p->ClientToScreen(TPoint{p->OptionsRect().Right + 3, 0}).X);
  testinput::Click(entry, Middle(entry->GetCustomizeRect()));
  Settle();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(cw->Visible());
  EXPECT_FALSE(ToolBar->OptionWindow()->Visible());
}

// The user clicked the form first, so the form holds the focus and the
// popup remembers it to give it back. The window the popup opens (the
// customize window behind "Options", the list behind "Add or Remove
// Buttons") takes the activation and keeps it: it stays up once the hide
// timers have run, and its entry can be clicked. The focus goes back to the
// form only when the chain is left.
TEST_F(AddRemoveButtonsTest, AWindowOpenedFromThePopupKeepsTheActivation) {
  auto* customizer = new TZadEdevAziCustomizer(Form.get());
  customizer->SetZadEdevAzi(ToolBar);
  int asked = 0;
  customizer->OnCanShow = [&](TObject*, Integer&, Integer&, bool& CanShow) {
    ++asked;
    CanShow = false;
  };
  enum TEntry { Options, AddAndRemove };
  for (TEntry entry : {Options, AddAndRemove}) {
    SCOPED_TRACE(entry == Options ? "Options" : "Add or Remove Buttons");
    testinput::Click(Form.get(), TPoint{300, 250});
    PumpPending();
    ASSERT_EQ(GetActiveWindow(), Form->Handle());
    ASSERT_NE(Screen->ActiveControl(), nullptr) << "the form holds the focus";
    // A press on the right handle opens the popup.
    const Integer n = ScaleToolBarSize(ToolBar->PopupIndicatorWidth(), ToolBarDPIScale);
    testinput::Click(ToolBar, TPoint{ToolBar->Width() - n / 2 - 1, ToolBar->Height() / 2});
    Settle();
    TControlSelectorPanel* p = ToolBar->OptionWindowPanel();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(ToolBar->OptionWindow()->Visible());
    ASSERT_EQ(GetActiveWindow(), ToolBar->OptionWindow()->Handle());
    testinput::MouseMove(p, Middle(entry == Options ? p->OptionsRect() : p->AddAndRemoveRect()));
    PumpPending();
    TCustomForm* opened = entry == Options ? static_cast<TCustomForm*>(p->CustomizeOptionWindow())
                                           : static_cast<TCustomForm*>(p->AddAndRemovePopup());
    ASSERT_NE(opened, nullptr);
    Settle();
    EXPECT_TRUE(opened->Visible()) << "the opened window stays up";
    EXPECT_TRUE(ToolBar->OptionWindow()->Visible()) << "so does the popup";
    EXPECT_EQ(GetActiveWindow(), opened->Handle()) << "the opened window keeps the activation";
    if (entry == Options) {
      auto* e = dynamic_cast<TCustomizeOption*>(p->CustomizeOptionWindow()->OptionsPanel());
      ASSERT_NE(e, nullptr);
      testinput::Click(e, Middle(e->GetCustomizeRect()));
      Settle();
      EXPECT_EQ(asked, 1) << "the entry's click ran";
    } else {
      // A click on the form leaves the chain.
      testinput::Click(Form.get(), TPoint{300, 250});
      Settle();
    }
    EXPECT_FALSE(opened->Visible());
    EXPECT_FALSE(ToolBar->OptionWindow()->Visible());
  }
}

// The panel is as wide as its widest item, an item with children having
// room for its arrow (30 pixels, its own: not added again for every such
// item), and at least 70, plus the margins.
struct PopupWidthCase {
  std::vector<const char16_t*> Captions;
  std::vector<int> Children;  // per item: how many children it has
};

TEST(AdvToolBarPopupLayout, Widths) {
  EnsureGuiApplication();
  const std::vector<PopupWidthCase> cases = {
      {{u"a", u"bb"}, {0, 0}},
      {{u"Some caption", u"x"}, {2, 1}},
      {{u"A rather longer caption than the others", u"x"}, {0, 3}},
      {{u"p", u"q", u"r"}, {1, 1, 1}},
      {{u"One", u"Two", u"Three", u"Four"}, {1, 1, 1, 1}},
  };
  for (const PopupWidthCase& k : cases) {
    auto w = std::make_unique<TATBPopupWindow>(nullptr);
    w->AfterConstruction();
    w->CreateItems();
    Integer widest = 0;
    TATBPopupPanel* p = w->PopupPanel();
    p->Canvas()->Font()->Assign(p->Font());
    for (size_t i = 0; i < k.Captions.size(); ++i) {
      TATBMenuItem* it = w->Items()->Add();
      it->SetCaption(k.Captions[i]);
      for (int c = 0; c < k.Children[i]; ++c) it->Add();
      widest = std::max(widest, p->Canvas()->TextWidth(it->Caption()) + 7 + (k.Children[i] > 0 ? 30 : 0));
    }
    p->ArrangeItems();
    EXPECT_EQ(p->Width(), std::max(widest, 70) + 4) << StringToUtf8(k.Captions[0]);
    EXPECT_EQ(p->Height(), Integer(k.Captions.size()) * (p->ItemHeight() + 2) + 2);
    w->SetWindowSize();
    EXPECT_EQ(w->Width(), p->Width());
  }
}

TEST(AdvToolBarPopupItems, RemoveItemFreesTheChildAtItsIndex) {
  TATBMenuItem root;
  for (const char16_t* c : {u"a", u"b", u"c"}) root.Add()->SetCaption(c);
  root.GetItem(1)->Add()->SetCaption(u"b1");
  auto captions = [&root] {
    std::vector<String> v;
    for (Integer i = 0; i < root.Count(); ++i) v.push_back(root.GetItem(i)->Caption());
    return v;
  };
  root.RemoveItem(1);
  EXPECT_EQ(captions(), (std::vector<String>{u"a", u"c"}));
  // Bad indexes change nothing.
  root.RemoveItem(-1);
  root.RemoveItem(2);
  EXPECT_EQ(captions(), (std::vector<String>{u"a", u"c"}));
  root.RemoveItem(0);
  root.RemoveItem(0);
  EXPECT_EQ(root.Count(), 0);
  EXPECT_FALSE(root.HasChildren());
}

}  // namespace toolbar
