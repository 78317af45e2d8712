// Switching a ribbon form between a dock panel and a ribbon, back and forth:
// every toolbar stays where it was (none lost, none doubled, same order,
// rows, parents and owners), only one of the two shows on the form, and the
// form's ribbon behaviour follows, whoever owns the two.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ExtCtrls.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {
namespace switch_test {
namespace {

using toolbar::TAdvCustomToolBar;
using toolbar::TAdvDockPanel;
using toolbar::TZadEdevAzi;

// Where a toolbar stands.
struct TPlace {
  TWinControl* Parent;
  TComponent* Owner;
  Integer Row, Left, Top;
  bool operator==(const TPlace&) const = default;
};

// Who owns the dock panel and the ribbon.
enum class TOwners { Form, HiddenHolder };

struct TSwitchCase {
  const char* Name;
  TOwners Owners;
  bool Composition;
};
void PrintTo(const TSwitchCase& C, std::ostream* os) { *os << C.Name; }

class RibbonSwitch : public ::testing::TestWithParam<TSwitchCase> {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    RegisterThemeModules();
    toolbar::InitializeToolBarShared();
    toolbar::SetToolBarTextMeasure([](TCanvas*, const String& Text) { return Integer(Text.size()) * 7; });
    SetDesktopCompositionForTest(GetParam().Composition);
    Form = std::make_unique<TZadEdevAziForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(100, 100, 700, 450);
    TComponent* owner = Form.get();
    if (GetParam().Owners == TOwners::HiddenHolder) {
      Holder = std::make_unique<TForm>(nullptr);
      Holder->AfterConstruction();
      owner = Holder.get();
    }
    Dock = new TAdvDockPanel(owner);
    Dock->SetName(u"Dock");
    Dock->SetParent(Form.get());
    // Three toolbars in two rows.
    for (int i = 0; i < 3; ++i) {
      auto* tb = new TZadEdevAzi(owner);
      tb->SetName(u"DockBar" + IntToStr(i + 1));
      tb->SetParent(Dock);
      DockBars.push_back(tb);
    }
    DockBars[2]->SetTop(DockBars[2]->Top() + DockBars[2]->Height() + 4);
    Ribbon = new TZadEdevAziPager(owner);
    Ribbon->SetName(u"Ribbon");
    Ribbon->SetParent(Form.get());
    for (int i = 0; i < 2; ++i) {
      Ribbon->AddAdvPage(u"Page" + IntToStr(i + 1));
      auto* tb = new TZadEdevAzi(owner);
      tb->SetName(u"PageBar" + IntToStr(i + 1));
      tb->SetParent(Ribbon->AdvPages(i));
      PageBars.push_back(tb);
    }
    Ribbon->Loaded();
    Form->Show();
    PumpPending();
  }
  void TearDown() override {
    // Whatever is off the form goes with its owner; the form takes the rest.
    Form.reset();
    Holder.reset();
    PumpPending();
    SetDesktopCompositionForTest(false);
    toolbar::SetToolBarTextMeasure(nullptr);
  }
  std::vector<TAdvCustomToolBar*> DockList() const {
    std::vector<TAdvCustomToolBar*> l;
    for (Integer i = 0; i < Dock->ZadEdevAziCount(); ++i) l.push_back(Dock->ZadEdevAzis(i));
    return l;
  }
  std::map<TAdvCustomToolBar*, TPlace> Places() const {
    std::map<TAdvCustomToolBar*, TPlace> m;
    for (TZadEdevAzi* tb : DockBars) m[tb] = {tb->Parent(), tb->Owner(), tb->Row(), tb->Left(), tb->Top()};
    for (TZadEdevAzi* tb : PageBars) m[tb] = {tb->Parent(), tb->Owner(), -1, tb->Left(), tb->Top()};
    return m;
  }
  // How many times the toolbar stands among the children of the controls
  // that hold toolbars (the dock panel, the pages, the form).
  Integer Appearances(TControl* Bar) const {
    Integer n = 0;
    std::vector<TWinControl*> holders{Form.get(), Dock};
    for (Integer i = 0; i < Ribbon->AdvPageCount(); ++i) holders.push_back(Ribbon->AdvPages(i));
    for (TWinControl* h : holders)
      for (Integer i = 0; i < h->ControlCount(); ++i) n += h->Controls(i) == Bar ? 1 : 0;
    return n;
  }
  Integer OnForm(TControl* C) const {
    Integer n = 0;
    for (Integer i = 0; i < Form->ControlCount(); ++i) n += Form->Controls(i) == C ? 1 : 0;
    return n;
  }
  void ExpectKept(const std::vector<TAdvCustomToolBar*>& List, const std::map<TAdvCustomToolBar*, TPlace>& Where,
                  const std::string& When) {
    EXPECT_EQ(DockList(), List) << When << ": the dock panel's toolbars in their order";
    const String problem = Dock->CheckLayout();
    EXPECT_EQ(std::string(problem.begin(), problem.end()), "") << When;
    EXPECT_TRUE(Places() == Where) << When << ": parents, owners, rows and places";
    for (TZadEdevAzi* tb : DockBars) EXPECT_EQ(Appearances(tb), 1) << When;
    for (TZadEdevAzi* tb : PageBars) EXPECT_EQ(Appearances(tb), 1) << When;
    for (Integer i = 0; i < Ribbon->AdvPageCount(); ++i) {
      TAdvPage* p = Ribbon->AdvPages(i);
      EXPECT_EQ(p->Parent(), Ribbon) << When;
      EXPECT_EQ(PageBars[size_t(i)]->Parent(), p) << When;
    }
  }
  void ExpectRibbonShown(const std::string& When) {
    EXPECT_EQ(OnForm(Ribbon), 1) << When;
    EXPECT_EQ(OnForm(Dock), 0) << When << ": the dock panel is not doubled on the form";
    EXPECT_FALSE(Dock->Showing()) << When;
    EXPECT_TRUE(Form->SubclassAsRibbon()) << When;
  }
  void ExpectDockShown(const std::string& When) {
    EXPECT_EQ(OnForm(Dock), 1) << When;
    EXPECT_EQ(OnForm(Ribbon), 0) << When << ": the ribbon is not doubled on the form";
    EXPECT_FALSE(Ribbon->Showing()) << When;
    EXPECT_TRUE(Dock->Showing()) << When;
    EXPECT_FALSE(Form->SubclassAsRibbon()) << When;
  }

  TTempHome Home;
  std::unique_ptr<TForm> Holder;
  std::unique_ptr<TZadEdevAziForm> Form;
  TAdvDockPanel* Dock = nullptr;
  TZadEdevAziPager* Ribbon = nullptr;
  std::vector<TZadEdevAzi*> DockBars, PageBars;
};

TEST_P(RibbonSwitch, BackAndForthKeepsEveryToolBar) {
  ASSERT_GE(Dock->RowCount(), 2);
  Form->InitDockPanelAndRibbon(Dock, Ribbon);
  PumpPending();
  EXPECT_EQ(Form->SwitchingOnXP(), !GetParam().Composition);
  ExpectDockShown("after the preparation");
  const std::vector<TAdvCustomToolBar*> list = DockList();
  ASSERT_EQ(list.size(), 3u);
  const auto where = Places();
  ExpectKept(list, where, "after the preparation");
  for (int round = 1; round <= 3; ++round) {
    const std::string n = std::to_string(round);
    Form->SwitchFromDockPanelToRibbon(Dock, Ribbon);
    PumpPending();
    ExpectRibbonShown("ribbon, round " + n);
    ExpectKept(list, where, "ribbon, round " + n);
    Form->SwitchFromRibbonToDockPanel(Ribbon, Dock);
    PumpPending();
    ExpectDockShown("dock panel, round " + n);
    ExpectKept(list, where, "dock panel, round " + n);
  }
}

TEST_P(RibbonSwitch, PreparingForTheRibbonEndsWithTheRibbonShown) {
  Form->InitRibbonAndDockPanel(Ribbon, Dock);
  PumpPending();
  ExpectRibbonShown("prepared");
  const std::vector<TAdvCustomToolBar*> list = DockList();
  ASSERT_EQ(list.size(), 3u);
  const auto where = Places();
  Form->SwitchFromRibbonToDockPanel(Ribbon, Dock);
  PumpPending();
  ExpectDockShown("dock panel");
  ExpectKept(list, where, "dock panel");
  Form->SwitchFromDockPanelToRibbon(Dock, Ribbon);
  PumpPending();
  ExpectRibbonShown("ribbon again");
  ExpectKept(list, where, "ribbon again");
}

INSTANTIATE_TEST_SUITE_P(Owners, RibbonSwitch,
                         ::testing::Values(TSwitchCase{"OwnedByTheForm", TOwners::Form, false},
                                           TSwitchCase{"OwnedByAHiddenHolder", TOwners::HiddenHolder, false},
                                           TSwitchCase{"OwnedByTheFormOnGlass", TOwners::Form, true},
                                           TSwitchCase{"OwnedByAHiddenHolderOnGlass", TOwners::HiddenHolder, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

}  // namespace
}  // namespace switch_test
}  // namespace ribbon
