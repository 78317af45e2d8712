// Compact mode and the page's fitting passes over real toolbars and glow
// buttons on a real ribbon page.
#include <algorithm>
#include <vector>

#include "controls/AdvGlowButton.h"
#include "ribbon/PageToolBarLayout.h"
#include "tests/ribbon/PagerFixture.h"
#include "toolbar/CompactWindow.h"

namespace ribbon {
namespace {

using toolbar::TZadEdevAzi;

class PageCompact : public PagerFixture {
 protected:
  // A toolbar of N large glow buttons captioned "<Name>1".. on page 0,
  // sized and loaded as after streaming.
  TZadEdevAzi* AddToolBar(const String& Name, int N) {
    TZadEdevAzi* tb = Page(0)->CreateZadEdevAzi();
    tb->SetName(Name);
    tb->SetCompactCaption(Name);
    for (int i = 0; i < N; ++i) {
      auto* b = new TAdvGlowButton(Form.get());
      b->SetName(Name + u"B" + IntToStr(i + 1));
      b->SetCaption(Name + IntToStr(i + 1));
      b->SetAutoSize(true);
      b->SetBounds(1000 + i * 100, 2, 60, 60);
      tb->AddToolBarControl(b);
    }
    tb->SetAutoSize(true);
    tb->Loaded();
    Page(0)->ArrangeToolBars();
    return tb;
  }
  std::vector<TControl*> Order(toolbar::TAdvCustomToolBar* tb) {
    std::vector<TControl*> v;
    for (Integer i = 0; i < tb->ToolBarControlCount(); ++i) v.push_back(tb->GetToolBarControls(i));
    return v;
  }
  void SetPageWidth(Integer W) {
    // The pager gives its page the width; the form gives the pager its.
    Form->SetBounds(0, 0, Form->Width() - Page(0)->Width() + W, Form->Height());
    PumpPending();
  }
};

// Everything a test can see of the toolbars' sizes: per toolbar 10 when
// compact, else the sum of its glow buttons' size steps taken.
Integer ShrinkScore(const std::vector<TZadEdevAzi*>& Bars) {
  Integer n = 0;
  for (TZadEdevAzi* tb : Bars) {
    if (tb->IsCompact()) {
      n += 10;
      continue;
    }
    for (Integer i = 0; i < tb->ToolBarControlCount(); ++i)
      if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(tb->GetToolBarControls(i)))
        n += 2 - Integer(g->ButtonSizeState());
  }
  return n;
}

TEST_F(PageCompact, CompactAndExpandRoundTripsKeepOrderAndCheckStates) {
  struct TCase {
    const char* Name;
    std::vector<int> Down;     // buttons checked before compacting
    bool ResortClone;          // the clone's list is re-sorted while compact
  };
  const TCase cases[] = {
      {"plain", {}, false},
      {"checked buttons", {0, 2}, false},
      {"clone re-sorted meanwhile", {1}, true},
  };
  MakePages(1);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TZadEdevAzi* tb = AddToolBar(u"Gamma", 4);
    // An order that is not the position order: the last control first.
    tb->MoveToolBarControl(3, 0);
    for (int k : c.Down) {
      auto* g = static_cast<TAdvGlowButton*>(tb->GetToolBarControls(k));
      g->SetStyle(bsCheck);
      g->SetDown(true);
    }
    const std::vector<TControl*> before = Order(tb);
    std::vector<bool> downBefore;
    for (TControl* ctl : before) downBefore.push_back(static_cast<TAdvGlowButton*>(ctl)->Down());

    tb->ChangeCompact(true);
    ASSERT_TRUE(tb->IsCompact());
    ASSERT_NE(tb->CompactWindow(), nullptr);
    ASSERT_NE(tb->CompactButton(), nullptr);
    toolbar::TAdvCustomToolBar* clone = tb->SelfClone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->SelfClone(), tb);
    EXPECT_EQ(Order(clone), before) << "the clone shows the controls in the toolbar's order";
    for (TControl* ctl : before) EXPECT_EQ(ctl->Parent(), clone);
    EXPECT_EQ(tb->Width(), tb->GetCompactWidth());
    EXPECT_EQ(tb->ToolBarControlCount(), 1) << "only the compact button stays on the page";
    if (c.ResortClone) clone->MoveToolBarControl(0, 3);

    tb->ChangeCompact(false);
    EXPECT_FALSE(tb->IsCompact());
    EXPECT_EQ(tb->CompactWindow(), nullptr);
    EXPECT_EQ(tb->CompactButton(), nullptr);
    EXPECT_EQ(tb->SelfClone(), nullptr);
    EXPECT_EQ(Order(tb), before) << "expanding gives back the order from before compacting";
    for (size_t k = 0; k < before.size(); ++k) {
      EXPECT_EQ(before[k]->Parent(), tb);
      EXPECT_EQ(static_cast<TAdvGlowButton*>(before[k])->Down(), downBefore[k]) << k;
    }
    delete tb;
  }
}

TEST_F(PageCompact, AControlFreedWhileCompactIsSkippedOnExpanding) {
  MakePages(1);
  TZadEdevAzi* tb = AddToolBar(u"Delta", 3);
  const std::vector<TControl*> before = Order(tb);
  tb->ChangeCompact(true);
  ASSERT_TRUE(tb->IsCompact());
  delete before[1];
  tb->ChangeCompact(false);
  EXPECT_EQ(Order(tb), (std::vector<TControl*>{before[0], before[2]}));
}

TEST_F(PageCompact, CompactWidthAndTheCasesThatChangeNothing) {
  MakePages(1);
  TZadEdevAzi* tb = AddToolBar(u"Eps", 2);
  tb->SetCompactCaption(u"");
  tb->ChangeCompact(true);
  EXPECT_EQ(tb->Width(), tb->CompactMinWidth()) << "an empty compact caption gives the least width";
  tb->ChangeCompact(false);
  // Off a page, compact mode does nothing.
  TZadEdevAzi loose(Form.get());
  loose.SetParent(Form.get());
  loose.Loaded();
  loose.SetCompact(true);
  loose.ChangeCompact(true);
  EXPECT_FALSE(loose.IsCompact());
  EXPECT_FALSE(loose.Compact());
  // Before loading, neither.
  TZadEdevAzi* fresh = new TZadEdevAzi(Form.get());
  Page(0)->AddZadEdevAzi(fresh);
  fresh->SetCompact(true);
  EXPECT_FALSE(fresh->IsCompact());
  EXPECT_FALSE(fresh->Compact()) << "a toolbar that did not collapse is not held compact";
}

TEST_F(PageCompact, TheCompactButtonOpensTheWindowAndTheToolBarClosesIt) {
  MakePages(1);
  Form->Show();
  TZadEdevAzi* tb = AddToolBar(u"Zeta", 3);
  int shown = 0;
  tb->OnCompactShow = [&](TObject*) { ++shown; };
  tb->ChangeCompact(true);
  ASSERT_NE(tb->CompactButton(), nullptr);
  tb->CompactButton()->Click();
  toolbar::TCompactWindow* w = tb->CompactWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(w->ZadEdevAzi(), tb->SelfClone());
  EXPECT_EQ(w->Width(), tb->SelfClone()->Width() + 2);
  EXPECT_EQ(w->DropDownButton(), tb->CompactButton());
  tb->HideCompactWindow();
  EXPECT_FALSE(w->Visible());
  // Expanding with the window up takes it down and frees it.
  tb->CompactButton()->Click();
  tb->ChangeCompact(false);
  EXPECT_EQ(tb->CompactWindow(), nullptr);
  EXPECT_EQ(tb->ToolBarControlCount(), 3);
}

TEST_F(PageCompact, AToolBarFreedWhileCompactTakesItsWindowAndControls) {
  MakePages(1);
  TZadEdevAzi* tb = AddToolBar(u"Eta", 2);
  tb->ChangeCompact(true);
  tb->CompactButton()->Click();
  delete tb;
  PumpPending();
  EXPECT_EQ(Page(0)->ZadEdevAziCount(), 0);
}

TEST_F(PageCompact, HeldCompactStaysWhenThePageWidensAndReturnsWhenReleased) {
  MakePages(1);
  TZadEdevAzi* a = AddToolBar(u"Alpha", 3);
  TZadEdevAzi* b = AddToolBar(u"Beta", 2);
  b->SetCompact(true);
  EXPECT_TRUE(b->IsCompact());
  EXPECT_FALSE(b->AllowAutoCompact());
  SetPageWidth(700);
  SetPageWidth(800);
  EXPECT_TRUE(b->IsCompact());
  b->SetCompact(false);
  EXPECT_FALSE(b->IsCompact());
  EXPECT_EQ(b->Left(), a->Left() + a->Width() + 3);
  EXPECT_EQ(Page(0)->ToolBarLayoutViolation(), "");
}

TEST_F(PageCompact, NarrowingShrinksThenCompactsFromTheRightThenScrolls) {
  MakePages(1);
  TZadEdevAzi* a = AddToolBar(u"Alpha", 3);
  TZadEdevAzi* b = AddToolBar(u"Beta", 2);
  SetPageWidth(300);
  EXPECT_FALSE(a->IsCompact());
  EXPECT_FALSE(b->IsCompact());
  EXPECT_LE(b->Left() + b->Width() + 2, 300) << "buttons shrank to fit";
  SetPageWidth(150);
  EXPECT_FALSE(b->IsCompact()) << "labels before compacting";
  EXPECT_EQ(Page(0)->LeftScrollButton(), nullptr);
  EXPECT_EQ(Page(0)->RightScrollButton(), nullptr);
  SetPageWidth(60);
  EXPECT_TRUE(a->IsCompact());
  EXPECT_TRUE(b->IsCompact());
  ASSERT_NE(Page(0)->RightScrollButton(), nullptr) << "all compact and still too wide: the page scrolls";
  EXPECT_TRUE(Page(0)->RightScrollButton()->Visible());
  EXPECT_EQ(Page(0)->RightScrollButton()->Width(), 12);
  Page(0)->RightScrollButton()->Click();
  EXPECT_EQ(Page(0)->ToolBarScroll().FirstIndex, 1);
  EXPECT_LT(a->Left(), 0);
  ASSERT_NE(Page(0)->LeftScrollButton(), nullptr);
  EXPECT_TRUE(Page(0)->LeftScrollButton()->Visible());
  Page(0)->LeftScrollButton()->Click();
  EXPECT_EQ(a->Left(), 3) << "scrolling back brings the first toolbar to x = 3";
  SetPageWidth(600);
  EXPECT_FALSE(a->IsCompact());
  EXPECT_FALSE(b->IsCompact());
  EXPECT_FALSE(Page(0)->RightScrollButton()->Visible());
  EXPECT_EQ(Page(0)->ToolBarLayoutViolation(), "");
}

// A toolbar hidden on a crowded page gives its room back: the others grow
// back (out of compact form, or to their large buttons); shown again, it
// takes the room again and the others shrink. Removing or freeing a
// toolbar gives the room back the same way.
TEST_F(PageCompact, HidingOrRemovingAToolBarGivesTheOthersTheirRoomBack) {
  enum TAction { Hide, Remove, Free };
  struct TCase {
    const char* Name;
    // The page width in hundredths of what Alpha and Beta take at full
    // size, plus pixels.
    Integer Percent, Extra;
    TAction Action;
    // Alpha and Beta were compact before and are back at full size after.
    bool Compact, Full;
  };
  const TCase cases[] = {
      {"buttons shrunk, hidden", 100, 4, Hide, false, true},
      {"buttons shrunk, removed", 100, 4, Remove, false, true},
      {"toolbars compact, hidden", 47, 0, Hide, true, false},
      {"toolbars compact, freed", 47, 0, Free, true, false},
  };
  MakePages(1);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TZadEdevAzi* a = AddToolBar(u"Alpha", 3);
    TZadEdevAzi* b = AddToolBar(u"Beta", 2);
    TZadEdevAzi* g = AddToolBar(u"Gamma", 4);
    SetPageWidth(900);
    ASSERT_EQ(ShrinkScore({a, b, g}), 0);
    const Integer pairRight = b->Left() + b->Width() + 2;
    const Integer w = pairRight * c.Percent / 100 + c.Extra;
    SetPageWidth(w);
    const Integer crowded = ShrinkScore({a, b});
    ASSERT_GT(crowded, 0) << "the page is crowded";
    ASSERT_EQ(a->IsCompact() && b->IsCompact(), c.Compact);

    switch (c.Action) {
      case Hide: g->SetVisible(false); break;
      case Remove: Page(0)->RemoveZadEdevAzi(g); break;
      case Free:
        delete g;
        g = nullptr;
        break;
    }
    EXPECT_FALSE(a->IsCompact()) << "the others come out of compact form";
    EXPECT_FALSE(b->IsCompact());
    EXPECT_LT(ShrinkScore({a, b}), crowded) << "the others grow";
    if (c.Full) {
      EXPECT_EQ(ShrinkScore({a, b}), 0) << "the others have their full size back";
    }
    EXPECT_EQ(a->Left(), 3);
    EXPECT_EQ(b->Left(), a->Left() + a->Width() + 3);
    EXPECT_LE(b->Left() + b->Width() + 2, w);
    EXPECT_EQ(Page(0)->ToolBarLayoutViolation(), "");

    if (g != nullptr) {
      const Integer alone = ShrinkScore({a, b});
      if (c.Action == Remove)
        Page(0)->AddZadEdevAzi(g);
      else
        g->SetVisible(true);
      EXPECT_GT(ShrinkScore({a, b}), alone) << "shown again, it takes its room back: the others shrink";
      const bool allCompact = a->IsCompact() && b->IsCompact() && g->IsCompact();
      if (!allCompact) {
        EXPECT_LE(g->Left() + g->Width() + 2, w) << "they fit the page again";
      }
      EXPECT_EQ(Page(0)->ToolBarLayoutViolation(), "");
      delete g;
    }
    delete b;
    delete a;
    PumpPending();
  }
}

// Every page width over a range, narrowing and widening: the rules' checker
// stays quiet, the toolbars keep their order without overlapping, and the
// sizes only go one way with the width.
TEST_F(PageCompact, SweepOverPageWidthsWithRealToolBars) {
  MakePages(1);
  std::vector<TZadEdevAzi*> bars{AddToolBar(u"Alpha", 3), AddToolBar(u"Beta", 2), AddToolBar(u"Gamma", 4)};
  SetPageWidth(700);
  Integer previous = ShrinkScore(bars);
  auto checkRow = [&](Integer w) {
    ASSERT_EQ(Page(0)->ToolBarLayoutViolation(), "") << w;
    for (size_t i = 1; i < bars.size(); ++i)
      ASSERT_GE(bars[i]->Left(), bars[i - 1]->Left() + bars[i - 1]->Width() + 3) << w;
    bool allCompact = true;
    for (TZadEdevAzi* tb : bars) allCompact = allCompact && tb->IsCompact();
    if (!allCompact) {
      ASSERT_LE(bars.back()->Left() + bars.back()->Width() + 2, w) << w;
    }
  };
  for (Integer w = 700; w >= 40; w -= 3) {
    SetPageWidth(w);
    checkRow(w);
    const Integer now = ShrinkScore(bars);
    ASSERT_GE(now, previous) << "narrowing to " << w << " gave a size back";
    previous = now;
  }
  for (Integer w = 40; w <= 700; w += 3) {
    SetPageWidth(w);
    checkRow(w);
    const Integer now = ShrinkScore(bars);
    ASSERT_LE(now, previous) << "widening to " << w << " took a size";
    previous = now;
  }
  for (TZadEdevAzi* tb : bars) EXPECT_FALSE(tb->IsCompact());
}

}  // namespace
}  // namespace ribbon
