// What the pager paints, by sampled pixels: caption, tab area, active tab,
// tab groups and page body in the styler look and in the tones look, at 96
// and 144 pixels per inch; the glass caption; the Office 2019 underline.
#include "PagerFixture.h"
#include "platform/testing/VirtualClock.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/Bitmap.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

namespace ribbon {
namespace {

constexpr TColor Green = 0x00AA00, Blue = 0xCC0000, Red = 0x0000DD, Grey = 0x808080, Yellow = 0x00CCEE;

bool Near(TColor a, TColor b, int tol = 8) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  for (int s = 0; s < 24; s += 8) {
    const int d = int((DWORD(a) >> s) & 0xFF) - int((DWORD(b) >> s) & 0xFF);
    if (d > tol || d < -tol) return false;
  }
  return true;
}

class PagerPaint : public PagerFixture, public ::testing::WithParamInterface<Integer> {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    MakePages(3);
    if (GetParam() != 96) Pager->ChangeScale(GetParam(), 96, true);
    toolbar::TCustomZadEdevAziStyler* s = Pager->CurrentToolBarStyler();
    TVistaTextBackground* pc = s->PagerCaption();
    pc->SetColor(Green);
    pc->SetColorTo(clNone);
    pc->SetColorMirror(clNone);
    pc->SetColorMirrorTo(clNone);
    pc->SetBorderColor(clNone);
    TTabAppearance* t = s->TabAppearance();
    t->BackGround()->SetColor(Blue);
    t->BackGround()->SetColorTo(clNone);
    t->SetColorSelected(Red);
    t->SetColorSelectedTo(clNone);
    t->SetColorMirrorSelected(clNone);
    t->SetColorMirrorSelectedTo(clNone);
    t->SetBorderColorSelected(clNone);
    t->SetShadowColor(clNone);
    TVistaPageBackground* p = s->PageAppearance();
    p->SetColor(Grey);
    p->SetColorTo(Grey);
    p->SetColorMirror(clNone);
    p->SetColorMirrorTo(clNone);
    p->SetShadowColor(clNone);
    p->SetHighLightColor(clNone);
    s->SetShow3D(false);
    // Shown forms focus their first control; the focused look has its own test.
    Pager->SetTabStop(false);
    Pager->Invalidate();
  }
  void TearDown() override {
    SetDesktopCompositionForTest(false);
    gdiplus::SetGlassFlag(false);
    PagerFixture::TearDown();
  }
  std::unique_ptr<TBitmap> Shot() {
    Form->Show();
    PumpPending();
    testinput::PaintPending();
    return testinput::Grab(Form.get());
  }
  static TColor Px(const std::unique_ptr<TBitmap>& b, TPoint p) { return b->Canvas()->Pixels(p.X, p.Y); }
  // Narrows the form until the tab row gives up its spacing.
  void SqueezeTabRow() {
    for (Integer w = 1200; w > 300 && Pager->CurrentTabMetrics().Spacing > Pager->TabSettings()->MinSpacing();
         w -= 10)
      Form->SetBounds(0, 0, w, 200 * GetParam() / 96);
    PumpPending();
    ASSERT_LE(Pager->CurrentTabMetrics().Spacing, Pager->TabSettings()->MinSpacing());
  }
};

TEST_P(PagerPaint, StylerLookPaintsCaptionTabAreaActiveTabAndPage) {
  auto b = Shot();
  const TRect cap = Pager->GetCaptionRect();
  EXPECT_EQ(cap.Height(), GetParam() == 96 ? 26 : 39);
  EXPECT_TRUE(Near(Px(b, {5, cap.Top + 5}), Green));
  EXPECT_TRUE(Near(Px(b, {cap.Right - 5, cap.Bottom - 2}), Green));
  const TRect area = Pager->GetTabsArea();
  EXPECT_TRUE(Near(Px(b, {10, area.Top + 6}), Blue));
  const TRect tab = Pager->GetTabRect(0);
  EXPECT_TRUE(Near(Px(b, {tab.Left + 2, (tab.Top + tab.Bottom) / 2}), Red));
  // An unselected tab without ShowNonSelectedTabs shows only its text on the background.
  const TRect other = Pager->GetTabRect(1);
  EXPECT_TRUE(Near(Px(b, {other.Left + 2, (other.Top + other.Bottom) / 2}), Blue));
  const TRect page = Page(0)->BoundsRect();
  EXPECT_TRUE(Near(Px(b, {(page.Left + page.Right) / 2, (page.Top + page.Bottom) / 2}), Grey));
}

TEST_P(PagerPaint, TabGroupBandShowsAboveItsTabs) {
  TGroupAppearance* g = Pager->CurrentToolBarStyler()->GroupAppearance();
  g->SetColor(Yellow);
  g->SetColorTo(clNone);
  g->SetColorMirror(clNone);
  g->SetColorMirrorTo(clNone);
  TTabGroupItem* item = Pager->TabGroups()->Add();
  item->SetTabIndexStart(1);
  item->SetTabIndexEnd(2);
  auto b = Shot();
  const TRect t1 = Pager->GetTabRect(1), t2 = Pager->GetTabRect(2);
  const TRect area = Pager->GetTabsArea();
  EXPECT_TRUE(Near(Px(b, {(t1.Left + t2.Right) / 2, area.Top - 6}), Yellow));
  // Outside the group the caption stays.
  EXPECT_TRUE(Near(Px(b, {t1.Left - 20, area.Top - 6}), Green));
}

TEST_P(PagerPaint, TonesLookPaintsFromTheTones) {
  TColorTones t = SystemColorTones();
  t.Background.BrushColor = 0x30A0F0;
  t.Selected.BrushColor = 0x602020;
  Pager->SetColorTones(t);
  auto b = Shot();
  const TRect cap = Pager->GetCaptionRect();
  EXPECT_TRUE(Near(Px(b, {5, cap.Top + 10}), 0x30A0F0));
  const TRect area = Pager->GetTabsArea();
  EXPECT_TRUE(Near(Px(b, {8, area.Top + 6}), 0x602020));
  const TRect page = Page(0)->BoundsRect();
  EXPECT_TRUE(Near(Px(b, {(page.Left + page.Right) / 2, (page.Top + page.Bottom) / 2}), 0x30A0F0));
}

TEST_P(PagerPaint, GlassCaptionLeavesTheCaptionFaceOut) {
  SetDesktopCompositionForTest(true);
  Pager->SetColor(0xFFFFFF);
  Pager->SetIsAeroVista(true);
  Pager->TabSettings()->SetGlass(true);
  Pager->SetWin7ScenicRibbon(true);
  ASSERT_TRUE(Pager->IsOnGlass(false));
  Pager->Caption()->SetCaption(u"Glass");
  auto b = Shot();
  const TRect cap = Pager->GetCaptionRect();
  EXPECT_FALSE(Near(Px(b, {5, cap.Top + 5}), Green));
  Pager->SetIsAeroVista(false);
  auto c = Shot();
  EXPECT_TRUE(Near(Px(c, {5, cap.Top + 5}), Green));
}

TEST_P(PagerPaint, NoTabIsDrawnWithoutATabRowHeight) {
  Pager->TabSettings()->SetHeight(0);
  auto b = Shot();
  const TRect tab = Pager->GetTabRect(0);
  EXPECT_FALSE(Near(Px(b, {tab.Left + 2, tab.Top + 2}), Red));
}

TEST_P(PagerPaint, FocusedPagerShowsItsActiveTabInTheHotColoursExceptUnderOffice2019) {
  TTabAppearance* t = Pager->CurrentToolBarStyler()->TabAppearance();
  t->SetColorHot(Yellow);
  t->SetColorHotTo(clNone);
  t->SetColorMirrorHot(clNone);
  t->SetColorMirrorHotTo(clNone);
  t->SetBorderColorSelectedHot(clNone);
  Form->Show();
  Pager->SetFocus();
  PumpPending();
  ASSERT_TRUE(Pager->Focused());
  auto b = Shot();
  const TRect tab = Pager->GetTabRect(0);
  const TPoint mid{(tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2};
  EXPECT_TRUE(Near(Px(b, {tab.Left + 2, mid.Y}), Yellow));
  // The other tabs keep their look.
  const TRect other = Pager->GetTabRect(1);
  EXPECT_TRUE(Near(Px(b, {other.Left + 2, mid.Y}), Blue));
  // Under Office 2019 focus changes nothing.
  toolbar::TZadEdevAziOfficeStyler o(nullptr);
  TOfficeTones tones;
  tones.App = o.AppColor();
  tones.Tab.Selected.BrushColor = Red;
  tones.Tab.Hover.BrushColor = Yellow;
  Pager->SetOfficeTones(tones, gsOffice2019);
  auto focused = Shot();
  const TRect t19 = Pager->GetTabRect(0);
  const TPoint p19{t19.Left + 2, t19.Top + 3};
  Form->FocusControl(nullptr);
  PumpPending();
  ASSERT_FALSE(Pager->Focused());
  auto unfocused = Shot();
  EXPECT_EQ(Px(focused, p19), Px(unfocused, p19));
}

TEST_P(PagerPaint, SqueezedRowShowsASeparatorBeforeEveryTabButTheFirst) {
  TTabAppearance* t = Pager->CurrentToolBarStyler()->TabAppearance();
  t->SetBorderColorSelected(Green);
  for (int i = 3; i < 12; ++i) Pager->AddAdvPage(u"Page" + IntToStr(i + 1));
  ASSERT_NO_FATAL_FAILURE(SqueezeTabRow());
  auto b = Shot();
  const TRect first = Pager->GetTabRect(0);
  EXPECT_TRUE(Near(Px(b, {first.Left - 2, first.Top + 2}), Blue));
  for (int i = 1; i < 12; ++i) {
    const TRect r = Pager->GetTabRect(i);
    if (r.Right > Pager->GetTabsRect().Right) break;
    // A gradient from the background towards the selected border.
    const TColor sep = ColorToRGB(Px(b, {r.Left - 2, r.Top + 2}));
    EXPECT_FALSE(Near(sep, Blue)) << i;
    EXPECT_GE((DWORD(sep) >> 8) & 0xFF, 0x30u) << i;
  }
}

TEST_P(PagerPaint, ScenicGlassRowDrawsItsSeparatorsInLight) {
  SetDesktopCompositionForTest(true);
  gdiplus::SetScenicRibbonFlag(true);
  Pager->SetWin7ScenicRibbon(true);
  Pager->SetIsAeroVista(true);
  Pager->TabSettings()->SetGlass(true);
  ASSERT_TRUE(Pager->IsOnGlass(true));
  for (int i = 3; i < 12; ++i) Pager->AddAdvPage(u"Page" + IntToStr(i + 1));
  ASSERT_NO_FATAL_FAILURE(SqueezeTabRow());
  auto b = Shot();
  const TRect r = Pager->GetTabRect(2);
  EXPECT_TRUE(Near(Px(b, {r.Left - 1, r.Top + 1}), 0xFFFFFF, 12));
  EXPECT_TRUE(Near(Px(b, {r.Left - 2, r.Top + 1}), 0xBFBAB6, 12));
}

TEST_P(PagerPaint, ActiveTabOnGlassIsComposedAndCopiedIntoTheRow) {
  SetDesktopCompositionForTest(true);
  Pager->SetIsAeroVista(true);
  Pager->TabSettings()->SetGlass(true);
  Pager->SetWin7ScenicRibbon(true);
  ASSERT_TRUE(Pager->IsOnGlass(true));
  auto b = Shot();
  const TRect tab = Pager->GetTabRect(0);
  const Integer y = (tab.Top + tab.Bottom) / 2;
  EXPECT_TRUE(Near(Px(b, {tab.Left + 2, y}), Red));
  EXPECT_TRUE(Near(Px(b, {tab.Right - 3, y}), Red));
  // Nothing of the composed surface lands beside the tab.
  EXPECT_FALSE(Near(Px(b, {tab.Right + 3, y}), Red));
  const TRect other = Pager->GetTabRect(1);
  EXPECT_FALSE(Near(Px(b, {other.Left + 2, y}), Red));
}

TEST_P(PagerPaint, RoundTabCornersTakeTheBackgroundBehindThem) {
  ASSERT_TRUE(Pager->TabRoundEdges());
  auto b = Shot();
  const TRect tab = Pager->GetTabRect(0);
  EXPECT_TRUE(Near(Px(b, {tab.Left + 2, (tab.Top + tab.Bottom) / 2}), Red));
  EXPECT_EQ(Px(b, {tab.Left, tab.Top}), Px(b, {tab.Left - 1, tab.Top - 1}));
  EXPECT_EQ(Px(b, {tab.Left + 1, tab.Top}), Px(b, {tab.Left + 1, tab.Top - 1}));
  EXPECT_EQ(Px(b, {tab.Right - 1, tab.Top}), Px(b, {tab.Right + 1, tab.Top}));
  EXPECT_EQ(Px(b, {tab.Right - 1, tab.Top + 1}), Px(b, {tab.Right + 1, tab.Top}));
  EXPECT_FALSE(Near(Px(b, {tab.Right - 1, tab.Top}), Red));
}

TEST_P(PagerPaint, RoundPageCornersTakeThePagerBehindThem) {
  Pager->CurrentToolBarStyler()->SetRoundEdges(true);
  Form->SetBounds(0, 0, 600, 200 * GetParam() / 96 + 20);
  auto b = Shot();
  const TRect P = Page(0)->BoundsRect();
  EXPECT_TRUE(Near(Px(b, {P.Left + 10, P.Bottom - 10}), Grey));
  EXPECT_EQ(Px(b, {P.Left, P.Bottom - 1}), Px(b, {P.Left - 1, P.Bottom}));
  EXPECT_EQ(Px(b, {P.Left + 1, P.Bottom - 1}), Px(b, {P.Left - 1, P.Bottom}));
  EXPECT_EQ(Px(b, {P.Right - 1, P.Bottom - 1}), Px(b, {P.Right + 1, P.Bottom}));
  EXPECT_EQ(Px(b, {P.Right - 1, P.Top}), Px(b, {P.Right + 1, P.Top}));
  EXPECT_FALSE(Near(Px(b, {P.Right - 1, P.Bottom - 1}), Grey));
}

INSTANTIATE_TEST_SUITE_P(Resolutions, PagerPaint, ::testing::Values(96, 144));

TEST_F(PagerFixture, OptionPicturesComeFromTheResources) {
  for (TGDIPPicture* pic : {Pager->OptionPicture(), Pager->OptionDisabledPicture()}) {
    ASSERT_FALSE(pic->Empty());
    EXPECT_EQ(pic->Width(), 7);
    EXPECT_EQ(pic->Height(), 7);
  }
  // Drawn, the normal picture is dark where the disabled one is light.
  TBitmap n, d;
  for (TBitmap* bm : {&n, &d}) {
    bm->SetSize(7, 7);
    bm->Canvas()->Brush()->SetColor(0xFFFFFF);
    bm->Canvas()->FillRect(TRect{0, 0, 7, 7});
  }
  n.Canvas()->Draw(0, 0, Pager->OptionPicture());
  d.Canvas()->Draw(0, 0, Pager->OptionDisabledPicture());
  EXPECT_EQ(ColorToRGB(n.Canvas()->Pixels(3, 1)), TColor(0x3C3C3C));
  EXPECT_EQ(ColorToRGB(d.Canvas()->Pixels(3, 1)), TColor(0xA0A0A0));
  EXPECT_EQ(ColorToRGB(n.Canvas()->Pixels(0, 0)), TColor(0xFFFFFF));
}

using PagerUnderline = PagerFixture;

TEST_F(PagerUnderline, SlidesToTheNewTabInFiveTicks) {
  TVirtualClock clock;
  MakePages(3);
  toolbar::TZadEdevAziOfficeStyler s(nullptr);
  TOfficeTones tones;
  tones.App = s.AppColor();
  Pager->SetOfficeTones(tones, gsOffice2019);
  Form->Show();
  PumpPending();
  testinput::PaintPending();
  clock.Advance(200);
  testinput::PaintPending();
  ASSERT_FALSE(Pager->LineAnimating());
  const double oldStart = Pager->CurLineStart();
  Pager->SetActivePageIndex(2);
  testinput::PaintPending();
  ASSERT_TRUE(Pager->LineAnimating());
  const Integer target = Pager->NewLineStart();
  ASSERT_GT(target, oldStart + 5);
  for (int tick = 1; tick <= 5; ++tick) {
    clock.Advance(20);
    testinput::PaintPending();
    if (tick < 5) {
      EXPECT_LT(Pager->CurLineStart(), target) << tick;
    }
  }
  EXPECT_FALSE(Pager->LineAnimating());
  EXPECT_EQ(Pager->CurLineStart(), target);
  EXPECT_EQ(Pager->CurLineEnd(), Pager->NewLineEnd());
}

TEST_F(PagerUnderline, AChangeOfOnlyTheEndMovesTheEndToo) {
  TVirtualClock clock;
  MakePages(2);
  toolbar::TZadEdevAziOfficeStyler s(nullptr);
  TOfficeTones tones;
  tones.App = s.AppColor();
  Pager->SetOfficeTones(tones, gsOffice2019);
  Form->Show();
  PumpPending();
  testinput::PaintPending();
  clock.Advance(200);
  testinput::PaintPending();
  ASSERT_FALSE(Pager->LineAnimating());
  // A longer caption keeps the start of the line and moves its end.
  Page(0)->SetCaption(u"Page1 with more words");
  testinput::PaintPending();
  clock.Advance(200);
  testinput::PaintPending();
  EXPECT_EQ(Pager->CurLineEnd(), Pager->NewLineEnd());
  EXPECT_EQ(Pager->CurLineStart(), Pager->NewLineStart());
}

}  // namespace
}  // namespace ribbon
