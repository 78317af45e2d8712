// A docked toolbar too short for its controls: the least recently used ones
// hide (with the separator of a group that empties), room returning brings
// the most recently hidden back, use moves a control up, and the paint's
// room check runs after the paint.
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
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

class ToolBarHiddenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    Clock = std::make_unique<TVirtualClock>();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 600, 400);
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    Clock.reset();
    ToolBarDPIScale = 1.0f;
  }
  TZadEdevAzi* DockedToolBar(TDockAlign Align = daTop) {
    Panel = new TAdvDockPanel(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetAlign(Align);
    auto* tb = new TZadEdevAzi(Form.get());
    tb->SetParent(Panel);
    return tb;
  }
  // "b" a button of 30 along the toolbar, "|" a separator; named B<i>/S<i>.
  std::vector<TControl*> Fill(TZadEdevAzi* tb, const std::string& Layout) {
    std::vector<TControl*> out;
    for (char k : Layout) {
      TControl* c;
      if (k == '|') {
        auto* s = new TZadEdevAziSeparator(Form.get());
        s->SetParent(tb);
        c = s;
      } else {
        auto* b = new TZadEdevAziButton(Form.get());
        b->SetAutoSize(false);
        b->SetBounds(10000, 10000, 30, 22);
        b->SetZadEdevAzi(tb);
        b->SetCaption(u"B" + IntToStr(Integer(out.size())));
        c = b;
      }
      c->SetName((k == '|' ? u"S" : u"B") + IntToStr(Integer(out.size())));
      out.push_back(c);
    }
    return out;
  }
  static std::string Names(const TDbgList* L) {
    std::string s;
    for (Integer i = 0; i < L->Count(); ++i) {
      if (!s.empty()) s += ' ';
      const String n = static_cast<TControl*>(L->Items(i))->Name();
      s += std::string(n.begin(), n.end());
    }
    return s;
  }
  std::unique_ptr<TVirtualClock> Clock;
  std::unique_ptr<TForm> Form;
  TAdvDockPanel* Panel = nullptr;
};

}  // namespace

// Each step sets the panel's length (the form's width, or height for a left
// panel); the hidden list follows, oldest hidden first.
struct THidingCase {
  const char* Name;
  TDockAlign Align;
  const char* Layout;
  std::vector<std::pair<int, std::string>> Steps;
};

class HidingTable : public ToolBarHiddenTest, public ::testing::WithParamInterface<THidingCase> {};

TEST_P(HidingTable, ShrinkHidesLeastRecentlyUsedGrowRestores) {
  const THidingCase& k = GetParam();
  TZadEdevAzi* tb = DockedToolBar(k.Align);
  auto controls = Fill(tb, k.Layout);
  for (const auto& [length, hidden] : k.Steps) {
    if (k.Align == daTop)
      Form->SetWidth(length);
    else
      Form->SetHeight(length);
    EXPECT_EQ(Names(tb->LUHidedControls()), hidden) << k.Name << " at " << length << " length " << (tb->IsHorizontal() ? tb->Width() : tb->Height());
    // Hidden controls stand outside the client area; shown ones inside.
    for (TControl* c : controls) {
      const bool isHidden = tb->LUHidedControls()->IndexOf(c) >= 0;
      const Integer farEdge = tb->IsHorizontal() ? c->Left() + c->Width() : c->Top() + c->Height();
      const Integer across = tb->IsHorizontal() ? c->Top() : c->Left();
      if (isHidden)
        EXPECT_GE(across, tb->IsHorizontal() ? tb->Height() : tb->Width()) << k.Name;
      else
        EXPECT_LE(farEdge, (tb->IsHorizontal() ? tb->Width() : tb->Height()) - 14) << k.Name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HidingTable,
    ::testing::Values(
        // The last group empties: its separator goes with it (the left one).
        THidingCase{"group", daTop, "bbb|bb", {{600, ""}, {130, "B5 B4 S3"}, {100, "B5 B4 S3 B2"}, {130, "B5 B4 S3"},
                                                {600, ""}}},
        // A group that keeps a member keeps its separator.
        THidingCase{"member left", daTop, "bb|bbb", {{150, "B5 B4"}, {600, ""}}},
        // Vertical: lengths are heights (the buttons are 22 high).
        THidingCase{"vertical", daLeft, "bbb|bb", {{600, ""}, {130, "B5"}, {100, "B5 B4 S3"}, {130, "B5"}, {600, ""}}}),
    [](const auto& I) {
      std::string n = I.param.Name;
      for (char& ch : n)
        if (ch == ' ') ch = '_';
      return n;
    });

TEST_F(ToolBarHiddenTest, UsedControlMovesUpAndComesBack) {
  TZadEdevAzi* tb = DockedToolBar();
  auto c = Fill(tb, "bbbbb");
  Form->SetWidth(130);
  ASSERT_EQ(Names(tb->LUHidedControls()), "B4 B3");
  // B4 used: first in the recently-used list, back on the toolbar; the least
  // recently used shown control (B2) makes room.
  tb->MoveUpInRUList(c[4]);
  EXPECT_EQ(Names(tb->RUControls()), "B4 B0 B1 B2 B3");
  EXPECT_EQ(tb->LUHidedControls()->IndexOf(c[4]), -1);
  EXPECT_EQ(c[4]->Parent(), tb);
  EXPECT_EQ(Names(tb->LUHidedControls()), "B3 B2");
  // A click on a shown button marks it used as well.
  int clicks = 0;
  c[0]->OnClick = [&](TObject*) { ++clicks; };
  static_cast<TZadEdevAziButton*>(c[0])->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Names(tb->RUControls()), "B0 B4 B1 B2 B3");
  // With AutoArrangeButtons off the order of use is not recorded.
  tb->SetAutoArrangeButtons(false);
  tb->MoveUpInRUList(c[1]);
  EXPECT_EQ(Names(tb->RUControls()), "B0 B1 B2 B3 B4");
}

TEST_F(ToolBarHiddenTest, InvisibleControlsAreNeverListed) {
  TZadEdevAzi* tb = DockedToolBar();
  auto c = Fill(tb, "bbbbb");
  c[4]->SetVisible(false);
  c[2]->SetVisible(false);
  for (int w : {600, 100, 70, 130, 600}) {
    Form->SetWidth(w);
    EXPECT_EQ(tb->LUHidedControls()->IndexOf(c[4]), -1) << w;
    EXPECT_EQ(tb->LUHidedControls()->IndexOf(c[2]), -1) << w;
  }
  Form->SetWidth(70);
  EXPECT_EQ(Names(tb->LUHidedControls()), "B3 B1");
}

TEST_F(ToolBarHiddenTest, FullSizeAndUpdateNesting) {
  TZadEdevAzi* tb = DockedToolBar();
  Fill(tb, "bbbbb");
  tb->BeginUpdate();
  Form->SetWidth(100);
  EXPECT_EQ(Names(tb->LUHidedControls()), "") << "frozen until EndUpdate";
  tb->EndUpdate();
  EXPECT_NE(Names(tb->LUHidedControls()), "");
}

namespace {

// A toolbar whose hiding can be held back (so that room appears without a
// restore) and that notes any control joining or leaving while it paints.
class TObservedToolBar : public TZadEdevAzi {
 public:
  using TZadEdevAzi::TZadEdevAzi;
  bool Frozen = false;
  bool Painting = false;
  int ChangesWhilePainting = 0;
  int Paints = 0;
  void UpdateHiddenControls() override {
    if (!Frozen) TZadEdevAzi::UpdateHiddenControls();
  }

 protected:
  void Paint() override {
    Painting = true;
    ++Paints;
    TZadEdevAzi::Paint();
    Painting = false;
  }
  void Dispatch(TMessage& M) override {
    if (M.Msg == CM_CONTROLCHANGE && Painting) ++ChangesWhilePainting;
    TZadEdevAzi::Dispatch(M);
  }
};

}  // namespace

TEST_F(ToolBarHiddenTest, RoomCheckOfAPaintRunsAfterThePaint) {
  Panel = new TAdvDockPanel(Form.get());
  Panel->SetParent(Form.get());
  auto* tb = new TObservedToolBar(Form.get());
  tb->SetParent(Panel);
  auto c = Fill(tb, "bbbbb");
  Form->SetWidth(100);
  ASSERT_EQ(Names(tb->LUHidedControls()), "B4 B3 B2");
  // The hidden controls wait in the option popup, then room appears while
  // hiding is held back.
  tb->ShowOptionWindow(0, 0, false);
  tb->HideOptionWindow();
  ASSERT_NE(c[4]->Parent(), static_cast<TWinControl*>(tb));
  tb->Frozen = true;
  Form->SetWidth(600);
  tb->Frozen = false;
  ASSERT_EQ(Names(tb->LUHidedControls()), "B4 B3 B2");
  Form->Show();
  testinput::PaintPending();
  EXPECT_GE(tb->Paints, 1);
  EXPECT_EQ(tb->ChangesWhilePainting, 0);
  PumpPending();
  EXPECT_EQ(Names(tb->LUHidedControls()), "");
  for (TControl* x : c) EXPECT_EQ(x->Parent(), static_cast<TWinControl*>(tb));
  EXPECT_EQ(tb->ChangesWhilePainting, 0);
}

TEST_F(ToolBarHiddenTest, RoomCheckOfAVerticalToolBarMeasuresHeights) {
  Panel = new TAdvDockPanel(Form.get());
  Panel->SetParent(Form.get());
  Panel->SetAlign(daLeft);
  auto* tb = new TObservedToolBar(Form.get());
  tb->SetParent(Panel);
  Fill(tb, "bbbbb");
  Form->SetHeight(100);
  ASSERT_NE(Names(tb->LUHidedControls()), "");
  tb->Frozen = true;
  Form->SetHeight(600);
  tb->Frozen = false;
  ASSERT_LT(tb->Width(), 40);
  tb->RestoreHiddenIfRoom();
  EXPECT_EQ(Names(tb->LUHidedControls()), "");
}

}  // namespace toolbar
