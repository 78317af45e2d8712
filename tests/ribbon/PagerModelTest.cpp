// The pager's pages: adding, removing, moving and activating them with
// their events, the keyboard hook, scaling, and the styler and tone looks.
#include <string>
#include <vector>

#include "PagerFixture.h"
#include "platform/win/Keyboard.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

namespace ribbon {
namespace {

using PagerModel = PagerFixture;

struct TEventLog {
  std::vector<std::string> Lines;
  bool Allow = true;
  void Attach(TZadEdevAziPager* P) {
    P->OnChanging = [this](TObject*, Integer From, Integer To, bool& AllowChange) {
      Lines.push_back("changing " + std::to_string(From) + ">" + std::to_string(To));
      AllowChange = Allow;
    };
    P->OnChange = [this, P](TObject*) { Lines.push_back("change " + std::to_string(P->ActivePageIndex())); };
    P->OnTabChanged = [this, P](TObject*) { Lines.push_back("tabchanged " + std::to_string(P->ActivePageIndex())); };
  }
};

TEST_F(PagerModel, ActivationRaisesChangingChangeAndTabChangedInOrder) {
  MakePages(3);
  TEventLog log;
  log.Attach(Pager);
  Pager->SetActivePageIndex(2);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"changing 0>2", "change 2", "tabchanged 2"}));
  EXPECT_TRUE(Page(2)->Visible());
  EXPECT_FALSE(Page(0)->Visible());
}

TEST_F(PagerModel, TabChangedIsNotRaisedAfterAVetoOrABadIndex) {
  MakePages(3);
  TEventLog log;
  log.Attach(Pager);
  log.Allow = false;
  Pager->SetActivePageIndex(1);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"changing 0>1"}));
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
  log.Lines.clear();
  log.Allow = true;
  for (Integer bad : {-1, 3, 99, 0}) Pager->SetActivePageIndex(bad);
  EXPECT_TRUE(log.Lines.empty());
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
}

TEST_F(PagerModel, AddingTwiceKeepsOneEntryAndBadIndexesRaise) {
  MakePages(2);
  EXPECT_EQ(Pager->AddAdvPage(Page(1)), 1);
  EXPECT_EQ(Pager->AdvPageCount(), 2);
  EXPECT_THROW(Pager->AdvPages(2), Exception);
  EXPECT_THROW(Pager->AdvPages(-1), Exception);
  EXPECT_EQ(Page(1)->PageIndex(), 1);
  Page(1)->SetPageIndex(2);  // the page count: ignored
  EXPECT_EQ(Page(1)->PageIndex(), 1);
}

TEST_F(PagerModel, RemovingPagesKeepsTheRightPageActive) {
  MakePages(4);
  TAdvPage* p2 = Page(2);
  Pager->SetActivePageIndex(2);
  // A page before the active one: the same page stays active, one index lower.
  TAdvPage* p0 = Page(0);
  Pager->RemoveAdvPage(p0);
  EXPECT_EQ(Pager->ActivePage(), p2);
  EXPECT_EQ(Pager->ActivePageIndex(), 1);
  EXPECT_EQ(p0->ZadEdevAziPager(), nullptr);
  // The active page that is the last tab: the next enabled visible tab (wrapping) takes over.
  TAdvPage* last = Page(2);
  Pager->SetActivePage(last);
  Page(0)->SetTabEnabled(false);
  TAdvPage* expected = Page(1);
  Pager->RemoveAdvPage(last);
  EXPECT_EQ(Pager->ActivePage(), expected);
  // The only page left to remove leaves no active page (not a stale index).
  while (Pager->AdvPageCount() > 0) Pager->RemoveAdvPage(Page(0));
  EXPECT_EQ(Pager->ActivePageIndex(), -1);
  EXPECT_EQ(Pager->ActivePage(), nullptr);
  delete p0;
  delete last;
}

TEST_F(PagerModel, ActivePageOfAnotherPagerChangesNothing) {
  MakePages(2);
  auto* other = new TZadEdevAziPager(Form.get());
  other->SetName(u"Other");
  other->SetParent(Form.get());
  other->AddAdvPage(u"Foreign");
  Pager->SetActivePage(other->AdvPages(0));
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
}

TEST_F(PagerModel, FindNextPageWalksThePagesOfThisPager) {
  MakePages(3);
  Page(1)->SetTabVisible(false);
  // From a page of the pager: the one after it (hidden ones skipped when asked), wrapping.
  EXPECT_EQ(Pager->FindNextPage(Page(0), true, false), Page(1));
  EXPECT_EQ(Pager->FindNextPage(Page(0), true, true), Page(2));
  EXPECT_EQ(Pager->FindNextPage(Page(2), true, true), Page(0));
  EXPECT_EQ(Pager->FindNextPage(Page(0), false, true), Page(2));
  // From nothing or a foreign page: from the start (or the end going back).
  EXPECT_EQ(Pager->FindNextPage(nullptr, true, false), Page(0));
  EXPECT_EQ(Pager->FindNextPage(nullptr, false, false), Page(2));
  TAdvPage foreign(nullptr);
  EXPECT_EQ(Pager->FindNextPage(&foreign, true, true), Page(0));
  // A single page has no next page.
  auto* single = new TZadEdevAziPager(Form.get());
  single->SetParent(Form.get());
  single->AddAdvPage(u"Only");
  EXPECT_EQ(single->FindNextPage(single->AdvPages(0), true, false), nullptr);
}

TEST_F(PagerModel, ForbiddenParentsRaiseAndNegativeMarginsAreIgnored) {
  MakePages(1);
  auto* other = new TZadEdevAziPager(Form.get());
  EXPECT_THROW(other->SetParent(Page(0)), Exception);
  EXPECT_THROW(other->SetParent(Pager), Exception);
  other->SetParent(Form.get());
  Pager->SetPageLeftMargin(-1);
  EXPECT_EQ(Pager->PageLeftMargin(), 0);
  Pager->SetPageLeftMargin(10);
  EXPECT_EQ(Page(0)->Left(), 4 + 10);
}

TEST_F(PagerModel, PageBeginUpdateCountsOnHiddenPages) {
  MakePages(2);
  ASSERT_FALSE(Page(1)->Visible());
  Page(1)->BeginUpdate();
  EXPECT_EQ(Page(1)->UpdateCount(), 1);
  Page(1)->SetVisible(true);
  Page(1)->EndUpdate();
  EXPECT_EQ(Page(1)->UpdateCount(), 0);
  Page(1)->EndUpdate();  // unbalanced: stays at 0
  EXPECT_EQ(Page(1)->UpdateCount(), 0);
}

TEST_F(PagerModel, ToolBarsOnAPageStandInARowAndAnswerForTheirPager) {
  MakePages(1);
  toolbar::TZadEdevAzi* a = Page(0)->CreateZadEdevAzi();
  toolbar::TZadEdevAzi* b = Page(0)->CreateZadEdevAzi();
  EXPECT_EQ(a->Caption(), u"Untitled");
  EXPECT_EQ(a->Left(), 3);
  EXPECT_EQ(b->Left(), 3 + 120 + 3);
  EXPECT_EQ(a->Height(), Page(0)->Height() - 6);
  EXPECT_EQ(Page(0)->AddZadEdevAzi(a), -1);
  EXPECT_EQ(a->GetPage(), static_cast<toolbar::IToolBarPage*>(Page(0)));
  EXPECT_TRUE(Page(0)->IsActivePage());
  Page(0)->MoveZadEdevAzi(1, 0);
  EXPECT_EQ(b->Left(), 3);
  Page(0)->MoveZadEdevAzi(0, 5);  // ignored
  EXPECT_EQ(Page(0)->GetZadEdevAzis(0), b);
  EXPECT_EQ(Page(0)->GetZadEdevAzis(7), nullptr);
}

TEST_F(PagerModel, ClonedPageHoldsTheToolBarsUntilFreed) {
  MakePages(1);
  toolbar::TZadEdevAzi* a = Page(0)->CreateZadEdevAzi();
  TForm popup(nullptr);
  popup.AfterConstruction();
  TAdvPage* clone = Page(0)->CreateSelfClone(&popup);
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(a->Parent(), clone);
  EXPECT_EQ(Page(0)->ZadEdevAziCount(), 1);  // the page's list stays
  EXPECT_EQ(clone->ZadEdevAziCount(), 1);
  EXPECT_EQ(Pager->IndexOfPage(clone), -1);  // not a page of the pager
  Page(0)->FreeSelfClone();
  EXPECT_EQ(a->Parent(), Page(0));
  EXPECT_EQ(Page(0)->SelfClone(), nullptr);
}

// --- keyboard hook ---

class HookPager : public TZadEdevAziPager {
 public:
  using TZadEdevAziPager::TZadEdevAziPager;
  std::vector<Word> Keys;

 protected:
  void HookKeyDown(Word Key) override {
    Keys.push_back(Key);
    TZadEdevAziPager::HookKeyDown(Key);
  }
};

TEST_F(PagerModel, KeyboardHookServesEveryLoadedPagerAndGoesWithTheLast) {
  ASSERT_FALSE(TZadEdevAziPager::KeyboardHookInstalled());
  auto* a = new HookPager(Form.get());
  auto* b = new HookPager(Form.get());
  a->SetParent(Form.get());
  b->SetParent(Form.get());
  a->Loaded();
  b->Loaded();
  EXPECT_TRUE(TZadEdevAziPager::KeyboardHookInstalled());
  Form->Show();
  PumpPending();
  // Held down (auto-repeated): heard once until released.
  testinput::KeyDown(VK_F5);
  testinput::KeyDown(VK_F5);
  testinput::KeyUp(VK_F5);
  testinput::KeyDown(VK_F5);
  testinput::KeyUp(VK_F5);
  EXPECT_EQ(a->Keys, (std::vector<Word>{VK_F5, VK_F5}));
  EXPECT_EQ(b->Keys, a->Keys);
  // Ctrl+F1 shows or hides the pages of each pager.
  testinput::KeyDown(VK_F1, TShiftState{ssCtrl});
  testinput::KeyUp(VK_F1, TShiftState{ssCtrl});
  EXPECT_FALSE(a->Expanded());
  EXPECT_FALSE(b->Expanded());
  delete a;
  EXPECT_TRUE(TZadEdevAziPager::KeyboardHookInstalled());
  testinput::KeyDown(VK_F6);
  testinput::KeyUp(VK_F6);
  EXPECT_EQ(b->Keys.back(), VK_F6);
  delete b;
  EXPECT_FALSE(TZadEdevAziPager::KeyboardHookInstalled());
}

// --- scaling ---

TEST_F(PagerModel, ScalingTo144GivesThePartsHeightsAndComesBackWithoutDrift) {
  MakePages(3);
  const TRect page96 = Page(0)->BoundsRect();
  const TRect tabs96 = Pager->GetTabsRect();
  struct {
    Integer PPI, TabHeight, CaptionHeight;
  } const steps[] = {{144, 40, 39}, {96, 26, 26}, {120, 32, 32}, {96, 26, 26}, {144, 40, 39}, {120, 32, 32},
                     {96, 26, 26}};
  Integer current = 96;
  for (const auto& s : steps) {
    Pager->ChangeScale(s.PPI, current, true);
    current = s.PPI;
    EXPECT_EQ(Pager->DefTabHeight(), s.TabHeight) << s.PPI;
    EXPECT_EQ(Pager->TabSettings()->Height(), s.TabHeight) << s.PPI;
    EXPECT_EQ(Pager->Caption()->Height(), s.CaptionHeight) << s.PPI;
    EXPECT_EQ(Pager->ScaledPagerCaptionHeight(), s.CaptionHeight) << s.PPI;
    EXPECT_EQ(CheckTabRow(Pager->BuildTabRow()), "") << s.PPI;
  }
  EXPECT_EQ(Page(0)->BoundsRect(), page96);
  EXPECT_EQ(Pager->GetTabsRect(), tabs96);
  EXPECT_EQ(Pager->DefTabMargin(), 60);
}

// --- tab row in the pager ---

TEST_F(PagerModel, ManyTabsInANarrowPagerShrinkWithinTheRow) {
  for (int i = 0; i < 10; ++i) Pager->AddAdvPage(u"A rather long caption " + IntToStr(i));
  Pager->Loaded();
  Pager->SetActivePageIndex(0);
  const TTabRow row = Pager->BuildTabRow();
  EXPECT_EQ(CheckTabRow(row), "");
  EXPECT_LE(TotalTabsWidth(row), row.RowRight - row.RowLeft);
  EXPECT_EQ(Pager->CurrentTabMetrics().Spacing, Pager->TabSettings()->MinSpacing());
  // Widening gives everything back.
  Form->SetBounds(0, 0, 3000, 200);
  EXPECT_EQ(Pager->CurrentTabMetrics(), (TTabRowCurrent{4, 4, 4, 4, 4}));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Page(i)->TabClientWidth(), Page(i)->TabRealClientWidth());
}

TEST_F(PagerModel, TabRectQueryMovesNoTab) {
  MakePages(3);
  std::vector<Integer> lefts;
  for (int i = 0; i < 3; ++i) lefts.push_back(Page(i)->TabLeft());
  for (TGroupStyle g : {gsClassic, gsOffice2019}) {
    toolbar::TZadEdevAziOfficeStyler s(nullptr);
    TOfficeTones tones;
    tones.App = s.AppColor();
    Pager->SetOfficeTones(tones, g);
    std::vector<Integer> before;
    for (int i = 0; i < 3; ++i) before.push_back(Page(i)->TabLeft());
    for (int k = 0; k < 2; ++k)
      for (int i = 0; i < 3; ++i) (void)Pager->GetTabRect(i);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Page(i)->TabLeft(), before[size_t(i)]) << int(g);
    Pager->ClearOfficeTones();
  }
  // Under the Office 2019 look the tabs are shown abutting.
  toolbar::TZadEdevAziOfficeStyler s(nullptr);
  TOfficeTones tones;
  tones.App = s.AppColor();
  Pager->SetOfficeTones(tones, gsOffice2019);
  EXPECT_EQ(Pager->GetTabRect(1).Left, Pager->GetTabRect(0).Right);
}

TEST_F(PagerModel, TabGroupsGetExtraMarginsForAWideCaption) {
  MakePages(3);
  TTabGroupItem* g = Pager->TabGroups()->Add();
  g->SetTabIndexStart(0);
  g->SetTabIndexEnd(1);
  g->SetCaption(String(40, u'W'));  // 280 pixels, far wider than two short tabs
  EXPECT_GT(g->TabExtraXMargin, 0);
  EXPECT_EQ(g->TabCurrentExtraXMargin, g->TabExtraXMargin);
  EXPECT_TRUE(Pager->PageInTabGroup(Page(1)));
  EXPECT_FALSE(Pager->PageInTabGroup(Page(2)));
  EXPECT_EQ(Page(0)->GetTabExtent(), Page(0)->TabClientWidth() + 2 * g->TabExtraXMargin + 8);
  bool shown = false, whole = false;
  const TRect r = Pager->GetTabGroupRect(0, shown, whole);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(whole);
  // The group reaches half the tab spacing beyond its outer tabs.
  const Integer half = Pager->TabSettings()->Spacing() / 2;
  EXPECT_EQ(r.Left, Pager->GetTabRect(0).Left - half);
  EXPECT_EQ(r.Right, Pager->GetTabRect(1).Right + half);
}

// --- styler and looks ---

TEST_F(PagerModel, SetComponentStyleKeepsOneOfficeStyler) {
  MakePages(1);
  Pager->SetComponentStyle(tsOffice2010Blue);
  toolbar::TCustomZadEdevAziStyler* first = Pager->CurrentToolBarStyler();
  Pager->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(Pager->CurrentToolBarStyler(), first);
  EXPECT_EQ(Pager->UIStyle(), tsOffice2007Luna);
  Pager->SetComponentStyle(tsCustom);
  EXPECT_EQ(Pager->UIStyle(), tsCustom);
  // With an assigned styler nothing changes, UIStyle included.
  toolbar::TZadEdevAziOfficeStyler assigned(nullptr);
  Pager->SetToolBarStyler(&assigned);
  Pager->SetComponentStyle(tsWindows10);
  EXPECT_EQ(Pager->UIStyle(), tsCustom);
  EXPECT_EQ(Pager->CurrentToolBarStyler(), &assigned);
  Pager->SetToolBarStyler(nullptr);
  // tsCustom: the internal styler stays in use.
  EXPECT_EQ(Pager->CurrentToolBarStyler(), Pager->InternalToolBarStyler());
}

TEST_F(PagerModel, SetComponentStyleHandsTheStyleToEveryPageToolBar) {
  MakePages(2);
  toolbar::TZadEdevAzi* a = Page(0)->CreateZadEdevAzi();
  toolbar::TZadEdevAzi* b = Page(1)->CreateZadEdevAzi();
  toolbar::TCustomZadEdevAziStyler* before = a->CurrentToolBarStyler();
  for (TVornStyle st : {tsOffice2016White, tsWindows10, tsOffice2007Luna}) {
    Pager->SetComponentStyle(st);
    EXPECT_EQ(a->UIStyle(), st);
    EXPECT_EQ(b->UIStyle(), st);
    // Only the style is recorded: the toolbar keeps taking its look from the pager.
    EXPECT_EQ(a->CurrentToolBarStyler(), before);
  }
  // tsCustom and an assigned styler leave the toolbars alone.
  Pager->SetComponentStyle(tsCustom);
  EXPECT_EQ(a->UIStyle(), tsOffice2007Luna);
  toolbar::TZadEdevAziOfficeStyler assigned(nullptr);
  Pager->SetToolBarStyler(&assigned);
  Pager->SetComponentStyle(tsWindows10);
  EXPECT_EQ(b->UIStyle(), tsOffice2007Luna);
  Pager->SetToolBarStyler(nullptr);
}

TEST_F(PagerModel, ColorTonesLeaveTheSharedStylerAlone) {
  MakePages(2);
  toolbar::TZadEdevAziOfficeStyler shared(nullptr);
  Pager->SetToolBarStyler(&shared);
  const TColor before = shared.ButtonAppearance()->CaptionTextColor();
  TColorTones t = SystemColorTones();
  t.Background.TextColor = 0x123456;
  t.Background.BrushColor = 0x00EEDD;
  Pager->SetColorTones(t);
  EXPECT_EQ(shared.ButtonAppearance()->CaptionTextColor(), before);
  EXPECT_TRUE(Pager->UsesTones());
  // Another pager on the same styler keeps the styler's look.
  auto* other = new TZadEdevAziPager(Form.get());
  other->SetParent(Form.get());
  other->SetToolBarStyler(&shared);
  const TColor otherTab = other->CurrentTabAppearance()->BackGround()->Color();
  Pager->SetColorTones(t);
  EXPECT_FALSE(other->UsesTones());
  EXPECT_EQ(other->CurrentTabAppearance(), static_cast<TCustomTabAppearance*>(shared.TabAppearance()));
  EXPECT_EQ(other->CurrentTabAppearance()->BackGround()->Color(), otherTab);
  EXPECT_EQ(shared.ButtonAppearance()->CaptionTextColor(), before);
  other->SetToolBarStyler(nullptr);
  EXPECT_TRUE(Pager->Metro());
  EXPECT_EQ(Pager->OwnPageAppearance()->Color(), 0x00EEDD);
  EXPECT_EQ(Pager->ToolBarCaptionTextColor(), 0x123456);
  EXPECT_FALSE(Pager->TabRoundEdges());
  // A second set applies fully.
  t.Background.BrushColor = 0x0000AA;
  Pager->SetColorTones(t);
  EXPECT_EQ(Pager->OwnPageAppearance()->Color(), 0x0000AA);
  Pager->SetToolBarStyler(nullptr);
}

TEST_F(PagerModel, UpdateStyleWithAnotherKindOfStylerDoesNothing) {
  MakePages(1);
  toolbar::TCustomZadEdevAziStyler plain(nullptr);
  Pager->SetToolBarStyler(&plain);
  plain.TabAppearance()->SetColorSelected(0x123456);
  EXPECT_NO_THROW(Pager->UpdateStyle());
  EXPECT_EQ(Pager->CurrentToolBarStyler(), &plain);
  EXPECT_EQ(plain.TabAppearance()->ColorSelected(), 0x123456);
  EXPECT_EQ(Pager->UIStyle(), tsCustom);
  Pager->SetToolBarStyler(nullptr);
  // An office styler applies its own style again: the hand-made colour goes.
  toolbar::TZadEdevAziOfficeStyler office(nullptr);
  office.SetStyle(toolbar::bsOffice2010Blue);
  Pager->SetToolBarStyler(&office);
  const TColor preset = office.TabAppearance()->ColorSelected();
  office.TabAppearance()->SetColorSelected(preset == 0x123456 ? 0x654321 : 0x123456);
  Pager->UpdateStyle();
  EXPECT_EQ(office.TabAppearance()->ColorSelected(), preset);
  Pager->SetToolBarStyler(nullptr);
}

TEST_F(PagerModel, ClearingOfficeTonesRevertsTheFlatLook) {
  MakePages(2);
  toolbar::TZadEdevAziOfficeStyler s(nullptr);
  TOfficeTones tones;
  tones.App = s.AppColor();
  tones.Pager.Background.BrushColor = 0x445566;
  Pager->SetOfficeTones(tones, gsOffice2013);
  EXPECT_TRUE(Pager->UsesTones());
  EXPECT_TRUE(Pager->Metro());
  EXPECT_TRUE(Pager->Office2013());
  Pager->ClearOfficeTones();
  EXPECT_FALSE(Pager->UsesTones());
  EXPECT_FALSE(Pager->Metro());
  EXPECT_FALSE(Pager->Office2013());
  EXPECT_EQ(Pager->GroupStyle(), gsClassic);
  EXPECT_TRUE(Pager->TabRoundEdges());
}

TEST_F(PagerModel, OfficeTonesOf2019MeasureTabsInBoldAndBack) {
  MakePages(2);
  const Integer w = Page(0)->TabClientWidth();
  toolbar::TZadEdevAziOfficeStyler s(nullptr);
  TOfficeTones tones;
  tones.App = s.AppColor();
  Pager->SetOfficeTones(tones, gsOffice2019);
  // Margins move into the content under the 2019 look.
  EXPECT_EQ(Page(0)->TabClientWidth(), w + 8);
  Pager->ClearOfficeTones();
  EXPECT_EQ(Page(0)->TabClientWidth(), w);
}

TEST_F(PagerModel, VersionReadsFromItsNumber) { EXPECT_EQ(Pager->Version(), u"6.8.3.7"); }

}  // namespace
}  // namespace ribbon
