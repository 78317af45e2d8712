// The pager on glass: the scenic look set per pager (or for all on request),
// the glass tests, the window region that leaves the form's caption buttons
// showing, erasing on glass and the caption layer over the caption row.
#include <array>
#include <memory>
#include <vector>

#include "PagerFixture.h"
#include "platform/theme/UxTheme.h"
#include "platform/win/Window.h"
#include "platform/vcl/WindowRegion.h"
#include "ribbon/CaptionLayer.h"
#include "ribbon/ZadEdevAziForm.h"

namespace ribbon {
namespace {

// ---------------------------------------------------------------------------
// Region polygon

struct RegionCase {
  const char* Name;
  TGlassRegionInput In;
  Integer CutWidth, CutHeight;
};

TEST(GlassRegion, PolygonLeavesOutTheCaptionButtonsCorner) {
  auto in = [](Integer ppi, bool shaded, Integer caption, bool win10 = true, bool designing = false) {
    TGlassRegionInput r;
    r.PPI = ppi;
    r.ShadedTabs = shaded;
    r.CaptionHeight = caption;
    r.Win10 = win10;
    r.Designing = designing;
    r.Width = 900;
    r.Height = 150;
    return r;
  };
  const std::vector<RegionCase> cases = {
      {"96", in(96, false, 30), 130, 22},
      {"96, caption 26", in(96, false, 26), 130, 21},
      {"144", in(144, false, 39), 195, 33},
      {"144, short caption", in(144, false, 36), 195, 31},  // at most the caption less 5
      {"96 shaded", in(96, true, 40), 130, 25},
      {"96 shaded, caption 26", in(96, true, 26), 130, 21},
      {"144 shaded", in(144, true, 50), 195, 38},            // 37.5 to the even 38
      {"Windows 7 and 8", in(96, false, 30, false), 110, 22},
      {"designing", in(96, false, 30, true, true), 100, 22},
      {"120", in(120, false, 33), 162, 28},                   // 162.5 and 27.5 to the even 162 and 28
  };
  for (const RegionCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::array<TPoint, 6> p = GlassRegionPolygon(c.In);
    const Integer W = c.In.Width, H = c.In.Height;
    const Integer w = c.CutWidth;
    const std::array<TPoint, 6> want = {TPoint{0, 0}, TPoint{W - w, 0}, TPoint{W - w, c.CutHeight},
                                        TPoint{W, c.CutHeight}, TPoint{W, H}, TPoint{0, H}};
    EXPECT_EQ(p, want);
  }
}

// ---------------------------------------------------------------------------
// Glass tests on a pager of a plain form

class PagerGlass : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    SetDesktopCompositionForTest(true);
    MakePages(2);
  }
  void TearDown() override {
    gdiplus::SetGlassFlag(false);
    PagerFixture::TearDown();
    SetDesktopCompositionForTest(false);
  }
};

struct GlassCase {
  bool Glass, Aero, Scenic, Win8, Maximized, Shaded;
  bool OnGlass, OnGlassChecked, ShadedTabs;
};

TEST_F(PagerGlass, IsOnGlassAndShadedTabsTruthTable) {
  const std::vector<GlassCase> cases = {
      // glass aero scenic win8 max shaded | IsOnGlass(F) IsOnGlass(T) IsShadedGlassTabs
      {true, true, true, false, false, false, true, true, false},
      {false, true, true, false, false, false, false, false, false},
      {true, false, true, false, false, false, false, false, false},
      {true, true, false, false, false, false, false, false, false},
      {true, true, true, true, false, false, false, false, false},  // gsWindows8: never on glass
      {true, true, true, false, true, false, true, false, false},   // maximized, not shaded
      {true, true, true, false, true, true, true, true, true},      // maximized and shaded
      {true, true, true, false, false, true, true, true, false},    // shaded only counts maximized
      {false, true, false, false, true, true, false, false, false},  // shading needs the glass flag
      {true, true, false, false, true, true, false, false, true},   // shaded tabs without scenic
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const GlassCase& c = cases[i];
    SCOPED_TRACE(i);
    if (c.Win8) {
      TOfficeTones tones;
      Pager->SetOfficeTones(tones, gsWindows8);
      ASSERT_EQ(Pager->GroupStyle(), gsWindows8);
    }
    gdiplus::SetGlassFlag(c.Glass);
    Pager->SetIsAeroVista(c.Aero);
    Pager->SetWin7ScenicRibbon(c.Scenic);
    Pager->SetTabBackGroundShaded(c.Shaded);
    Form->SetWindowState(c.Maximized ? wsMaximized : wsNormal);
    ASSERT_EQ(Pager->ParentFormWindowState(), c.Maximized ? wsMaximized : wsNormal);
    EXPECT_EQ(Pager->IsOnGlass(false), c.OnGlass);
    EXPECT_EQ(Pager->IsOnGlass(true), c.OnGlassChecked);
    EXPECT_EQ(Pager->IsShadedGlassTabs(), c.ShadedTabs);
    if (c.Win8) Pager->ClearOfficeTones();
    Form->SetWindowState(wsNormal);
  }
}

TEST_F(PagerGlass, WithoutAFormNothingIsOnGlassWhenCheckingMaximized) {
  TZadEdevAziPager loose(nullptr);
  loose.SetIsAeroVista(true);
  loose.SetWin7ScenicRibbon(true);
  gdiplus::SetGlassFlag(true);
  EXPECT_EQ(loose.ParentFormWindowState(), wsNormal);
  EXPECT_TRUE(loose.IsOnGlass(false));
  EXPECT_FALSE(loose.IsOnGlass(true));
}

TEST_F(PagerGlass, ErasingOnGlassLeavesTheGlass) {
  Form->Show();
  PumpPending();
  Pager->SetIsAeroVista(true);
  EXPECT_EQ(Pager->Perform(WM_ERASEBKGND, 0, 0), 1);
}

// ---------------------------------------------------------------------------
// Scenic look

TEST_F(PagerGlass, ScenicChangesOnlyThePagerItIsSetOn) {
  TForm other(nullptr);
  other.AfterConstruction();
  auto* second = new TZadEdevAziPager(&other);
  second->SetParent(&other);
  second->AddAdvPage(u"One");
  second->Loaded();
  ASSERT_FALSE(gdiplus::GetScenicRibbonFlag());
  Pager->SetWin7ScenicRibbon(true);
  EXPECT_TRUE(Pager->Win7ScenicRibbon());
  EXPECT_FALSE(second->Win7ScenicRibbon());
  EXPECT_FALSE(gdiplus::GetScenicRibbonFlag());
  // Asked for explicitly, the process-wide setting reaches every pager and
  // the pagers made after it.
  TZadEdevAziPager::SetWin7ScenicRibbonForAll(true);
  EXPECT_TRUE(gdiplus::GetScenicRibbonFlag());
  EXPECT_TRUE(second->Win7ScenicRibbon());
  auto* third = new TZadEdevAziPager(&other);
  EXPECT_TRUE(third->Win7ScenicRibbon());
  TZadEdevAziPager::SetWin7ScenicRibbonForAll(false);
  EXPECT_FALSE(Pager->Win7ScenicRibbon());
  EXPECT_FALSE(third->Win7ScenicRibbon());
}

TEST_F(PagerGlass, ScenicLaysThePagerOutWithoutResizingIt) {
  Form->Show();
  PumpPending();
  const TRect bounds = Pager->BoundsRect();
  const Integer leftBefore = Page(0)->Left();
  int sizes = 0;
  auto inner = Pager->WindowProc;
  Pager->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_SIZE) ++sizes;
    inner(M);
  };
  Pager->SetWin7ScenicRibbon(true);
  Pager->WindowProc = inner;
  EXPECT_EQ(sizes, 0);
  EXPECT_EQ(Pager->BoundsRect(), bounds);
  // The scenic look has no side margin: the page moved at once.
  EXPECT_EQ(Page(0)->BoundsRect(), Pager->GetPageRect());
  EXPECT_LT(Page(0)->Left(), leftBefore);
}

// ---------------------------------------------------------------------------
// On a ribbon form with composition: region and caption layer

class GlassPagerForm : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    RegisterThemeModules();
    toolbar::InitializeToolBarShared();
    toolbar::SetToolBarTextMeasure([](TCanvas*, const String& Text) { return Integer(Text.size()) * 7; });
    SetDesktopCompositionForTest(true);
    Form = std::make_unique<TZadEdevAziForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsSingle);
    Form->SetBounds(100, 100, 800, 400);
    Pager = new TZadEdevAziPager(Form.get());
    Pager->SetParent(Form.get());
    Pager->AddAdvPage(u"One");
    Pager->Caption()->SetCaption(u"Document");
    Pager->Loaded();
    // The form hands its glass state to its pager.
    Form->UpdateGlassState();
    Form->Show();
    PumpPending();
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    SetDesktopCompositionForTest(false);
    toolbar::SetToolBarTextMeasure(nullptr);
    toolbar::ToolBarDPIScale = 1.0f;
    toolbar::ToolBarPPI = toolbar::ScreenPPI = 96;
    toolbar::ScaledCaptionHeight = 26;
    toolbar::ScaledSize16 = 16;
  }
  // The pager (or a child of it) answers inside its region; the form behind it outside.
  bool Inside(TPoint P) {
    HWND h = WindowFromPoint(Pager->ClientToScreen(P));
    return h != nullptr && h != Form->Handle();
  }
  std::unique_ptr<TZadEdevAziForm> Form;
  TZadEdevAziPager* Pager = nullptr;
};

TEST_F(GlassPagerForm, RegionCutsTheCaptionButtonsCornerOut) {
  ASSERT_TRUE(Pager->IsAeroVista());
  ASSERT_TRUE(Pager->HandleAllocated());
  EXPECT_TRUE(Pager->RegionSet());
  TRect box;
  ASSERT_NE(GetWindowRgnBox(Pager->Handle(), &box), ERROR);
  EXPECT_EQ(box, (TRect{0, 0, Pager->Width(), Pager->Height()}));
  const Integer w = Pager->Width();
  // The pager (or a child of it) answers inside the region; the form behind it outside.
  auto inside = [&](TPoint P) {
    HWND h = WindowFromPoint(Pager->ClientToScreen(P));
    return h != nullptr && h != Form->Handle();
  };
  EXPECT_FALSE(inside(TPoint{w - 5, 5}));
  EXPECT_FALSE(inside(TPoint{w - 129, 20}));
  EXPECT_TRUE(inside(TPoint{w - 129, 21}));  // the caption of 26 less 5
  EXPECT_TRUE(inside(TPoint{w - 131, 5}));
  EXPECT_TRUE(inside(TPoint{w - 5, 23}));
  EXPECT_TRUE(inside(TPoint{5, 5}));
  // A new width renews the region at the new right edge.
  Form->SetBounds(100, 100, 700, 400);
  PumpPending();
  EXPECT_FALSE(inside(TPoint{Pager->Width() - 5, 5}));
  EXPECT_TRUE(inside(TPoint{Pager->Width() - 140, 5}));
  // Off glass the region goes.
  Pager->SetIsAeroVista(false);
  EXPECT_EQ(GetWindowRgnBox(Pager->Handle(), &box), ERROR);
}

TEST_F(GlassPagerForm, At144PixelsPerInchTheCornerIs195By33) {
  ASSERT_TRUE(Pager->IsAeroVista());
  Pager->ChangeScale(144, 96);
  PumpPending();
  ASSERT_EQ(toolbar::ScreenPPI, 144);
  ASSERT_EQ(Pager->ScaledPagerCaptionHeight(), 39);
  const Integer w = Pager->Width();
  EXPECT_FALSE(Inside(TPoint{w - 195, 0}));
  EXPECT_FALSE(Inside(TPoint{w - 1, 32}));
  EXPECT_TRUE(Inside(TPoint{w - 196, 5}));
  EXPECT_TRUE(Inside(TPoint{w - 1, 33}));
}

TEST_F(GlassPagerForm, CaptionLayerLiesOverTheCaptionAndHidesOffGlass) {
  TCaptionLayer* l = Pager->CaptionLayer();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Parent(), Pager);
  EXPECT_EQ(l->Owner(), Pager);
  EXPECT_EQ(l->BoundsRect(), Pager->GetCaptionRect());
  EXPECT_EQ(l->Caption(), u"Document");
  EXPECT_TRUE(l->Visible());
  EXPECT_TRUE(static_cast<bool>(l->OnTextPaint));
  EXPECT_TRUE(static_cast<bool>(l->OnDoubleClick));
  // Resizing the pager moves the layer with the caption.
  Form->SetBounds(100, 100, 650, 400);
  PumpPending();
  EXPECT_EQ(l->BoundsRect(), Pager->GetCaptionRect());
  Pager->SetIsAeroVista(false);
  EXPECT_EQ(Pager->CaptionLayer(), l);
  EXPECT_FALSE(l->Visible());
  Pager->SetIsAeroVista(true);
  EXPECT_TRUE(l->Visible());
}

TEST_F(GlassPagerForm, CaptionLayerDoubleClickMaximizesTheForm) {
  TCaptionLayer* l = Pager->CaptionLayer();
  ASSERT_NE(l, nullptr);
  Form->SetBorderStyle(bsSizeable);
  PumpPending();
  ASSERT_EQ(Form->WindowState(), wsNormal);
  l->OnDoubleClick(l, 200, 10);
  PumpPending();
  EXPECT_EQ(Form->WindowState(), wsMaximized);
}

}  // namespace
}  // namespace ribbon
