// The pager's own buttons: the caption buttons' sizes, places and drawn
// glyphs at 96 and 144 PPI, their clicks and the form's window state; the
// glass corner; the hit test at the edges; the help button; the MDI child's
// buttons on the layer's MDI frame and the subclass chain; hint texts; the
// application-button colours.
#include <vector>

#include "PagerFixture.h"
#include "platform/gdi/Gdi.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/WindowData.h"
#include "ribbon/appearance/AppColor.h"
#include "ribbon/appearance/PagerHints.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

namespace ribbon {
namespace {

class PagerCaption : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    MakePages(3);
    Form->Show();
    PumpPending();
  }
  // The picture drawn on white: the number of pixels in Colour, and whether
  // the mask colour shows anywhere.
  std::pair<int, bool> GlyphPixels(TGDIPPicture* P, Integer W, Integer H, TColor Colour) {
    TBitmap bmp;
    bmp.SetSize(W, H);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect{0, 0, W, H});
    P->Draw(bmp.Canvas(), TRect{0, 0, W, H});
    int n = 0;
    bool mask = false;
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) {
        const TColor c = bmp.Canvas()->Pixels(x, y);
        if (c == Colour) ++n;
        if (c == 0xFF00FF) mask = true;
      }
    return {n, mask};
  }
};

TEST_F(PagerCaption, CaptionButtonsAreSizedPlacedAndDrawnAt96And144PPI) {
  struct Case {
    Single Scale;
    Integer Side;
    TRect Close, Max, Min;
  };
  // A 600-pixel pager, side margin 4, two pixels between the buttons.
  const std::vector<Case> cases = {
      {1.0f, 16, {580, 4, 596, 20}, {562, 4, 578, 20}, {544, 4, 560, 20}},
      {1.5f, 28, {568, 4, 596, 32}, {538, 4, 566, 32}, {508, 4, 536, 32}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Scale);
    toolbar::ToolBarDPIScale = c.Scale;
    Pager->UpdateCaptionButtons(true);
    TAdvGlowButton* close = Pager->CaptionCloseButton();
    TAdvGlowButton* max = Pager->CaptionMaxButton();
    TAdvGlowButton* min = Pager->CaptionMinButton();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->BoundsRect(), c.Close);
    EXPECT_EQ(max->BoundsRect(), c.Max);
    EXPECT_EQ(min->BoundsRect(), c.Min);
    EXPECT_EQ(Pager->GetCaptionButtonsRect(), (TRect{c.Min.Left, 4, c.Close.Right, c.Close.Bottom}));
    EXPECT_GE(Pager->Caption()->RightIndent(), 600 - c.Min.Left);
    for (TAdvGlowButton* b : {close, max, min}) {
      EXPECT_TRUE(b->Visible());
      EXPECT_TRUE(b->Enabled());
      EXPECT_TRUE(b->Rounded());
      // Our own glyph, in the styler's system-button colour, at the button's size.
      const TColor glyph = Pager->CurrentToolBarStyler()->SysButtonColor();
      EXPECT_EQ(b->Appearance()->TextColor(), glyph);
      ASSERT_FALSE(b->Picture()->Empty());
      EXPECT_EQ(b->Picture()->Width(), c.Side - 2);
      EXPECT_EQ(b->Picture()->Height(), c.Side - 2);
      const auto [n, mask] = GlyphPixels(b->Picture(), c.Side - 2, c.Side - 2, ColorToRGB(glyph));
      EXPECT_GT(n, 2) << "the glyph shows";
      EXPECT_FALSE(mask) << "the mask colour is transparent";
      EXPECT_FALSE(b->HotPicture()->Empty());
    }
    // The close button turns red under the pointer.
    EXPECT_EQ(close->Appearance()->ColorHot(), 0x008384FF);
    EXPECT_EQ(close->Appearance()->BorderColorDown(), 0x00363689);
  }
}

TEST_F(PagerCaption, Office2019ButtonsAreWideAndAsHighAsTheCaption) {
  struct Case {
    Single Scale;
    Integer CaptionHeight;
    TRect Close, Max, Min;
  };
  const std::vector<Case> cases = {
      {1.0f, 26, {556, 0, 600, 26}, {511, 0, 555, 26}, {466, 0, 510, 26}},
      {1.5f, 39, {534, 0, 600, 39}, {467, 0, 533, 39}, {400, 0, 466, 39}},
  };
  for (const Case& c : cases) {
    const TCaptionButtonsPlacement p =
        PlaceCaptionButtons(600, 0, c.CaptionHeight, TPagerButtonLook{c.Scale, true, false, gsOffice2019});
    EXPECT_EQ(p.Close, c.Close) << c.Scale;
    EXPECT_EQ(p.Max, c.Max) << c.Scale;
    EXPECT_EQ(p.Min, c.Min) << c.Scale;
  }
  const std::vector<std::pair<Single, Integer>> sides = {{1.0f, 16}, {1.25f, 22}, {1.5f, 28}, {2.0f, 40}};
  for (auto [s, side] : sides) EXPECT_EQ(CaptionButtonSide(s), side) << s;
  // Colour tones: no side margin, four pixels lower.
  const TCaptionButtonsPlacement t = PlaceCaptionButtons(600, 0, 26, TPagerButtonLook{1.0f, true, false, gsOffice2016});
  EXPECT_EQ(t.Close, (TRect{584, 4, 600, 20}));
}

TEST_F(PagerCaption, TheOffice2019LookTakesWideSquareButtonsAndBackAgain) {
  toolbar::TZadEdevAziOfficeStyler o(nullptr);
  TOfficeTones tones;
  tones.App = o.AppColor();
  Pager->SetOfficeTones(tones, gsOffice2019);
  TAdvGlowButton* close = Pager->CaptionCloseButton();
  const Integer h = Pager->Caption()->Height();
  EXPECT_EQ(close->BoundsRect(), (TRect{556, 0, 600, h}));
  EXPECT_EQ(Pager->CaptionMinButton()->BoundsRect(), (TRect{466, 0, 510, h}));
  EXPECT_FALSE(close->Rounded());
  EXPECT_EQ(close->Appearance()->ColorHot(), 0x002311E8);
  EXPECT_EQ(close->Appearance()->TextColorHot(), 0x00FFFFFF);
  EXPECT_EQ(close->Appearance()->ColorDown(), 0x007A70F1);
  EXPECT_EQ(Pager->Caption()->RightIndent(), 0);
  Pager->ClearOfficeTones();
  EXPECT_EQ(Pager->CaptionCloseButton()->BoundsRect(), (TRect{580, 4, 596, 20}));
  EXPECT_TRUE(Pager->CaptionCloseButton()->Rounded());
  EXPECT_EQ(Pager->CaptionCloseButton()->Appearance()->ColorHot(), 0x008384FF);
}

TEST_F(PagerCaption, OnlyTheMinimizeButtonShowsADisabledMaximizeButton) {
  Pager->SetCaptionButtons(TCaptionButtons{cbMinimize});
  EXPECT_FALSE(Pager->CaptionCloseButton()->Visible());
  EXPECT_TRUE(Pager->CaptionMinButton()->Visible());
  EXPECT_TRUE(Pager->CaptionMinButton()->Enabled());
  EXPECT_TRUE(Pager->CaptionMaxButton()->Visible());
  EXPECT_FALSE(Pager->CaptionMaxButton()->Enabled());
  // None: the buttons go and the caption's indent comes back.
  const Integer indent = Pager->Caption()->RightIndent();
  Pager->SetCaptionButtons(TCaptionButtons{});
  EXPECT_EQ(Pager->CaptionCloseButton(), nullptr);
  EXPECT_EQ(Pager->CaptionMaxButton(), nullptr);
  EXPECT_LE(Pager->Caption()->RightIndent(), indent);
  EXPECT_EQ(Pager->GetCaptionButtonsRect(), (TRect{-1, -1, -1, -1}));
}

TEST_F(PagerCaption, MaximizeClickSwitchesTheFormAndTheGlyph) {
  TAdvGlowButton* max = Pager->CaptionMaxButton();
  const TColor glyph = ColorToRGB(Pager->CurrentToolBarStyler()->SysButtonColor());
  // The glyph as drawn, pixel by pixel.
  auto picture = [&] {
    TBitmap bmp;
    bmp.SetSize(14, 14);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect{0, 0, 14, 14});
    max->Picture()->Draw(bmp.Canvas(), TRect{0, 0, 14, 14});
    std::vector<bool> on;
    for (Integer y = 0; y < 14; ++y)
      for (Integer x = 0; x < 14; ++x) on.push_back(bmp.Canvas()->Pixels(x, y) == glyph);
    return on;
  };
  ASSERT_FALSE(Pager->CaptionMaxShowsRestore());
  const std::vector<bool> maximizeGlyph = picture();
  Pager->CaptionMaxClick(max);
  EXPECT_EQ(Form->WindowState(), wsMaximized);
  EXPECT_TRUE(Pager->CaptionMaxShowsRestore());
  EXPECT_NE(picture(), maximizeGlyph) << "the restore glyph";
  Pager->CaptionMaxClick(max);
  EXPECT_EQ(Form->WindowState(), wsNormal);
  EXPECT_FALSE(Pager->CaptionMaxShowsRestore());
  EXPECT_EQ(picture(), maximizeGlyph);
  // A double click on the caption switches the form and the glyph too.
  testinput::MouseMove(Pager, TPoint{300, 10});
  testinput::MouseDoubleClick();
  EXPECT_EQ(Form->WindowState(), wsMaximized);
  EXPECT_TRUE(Pager->CaptionMaxShowsRestore());
  Form->SetWindowState(wsNormal);
  PumpPending();
  // An event replaces the built-in behaviour, glyph included.
  std::vector<TObject*> senders;
  Pager->OnMaxButtonClick = [&](TObject* S) { senders.push_back(S); };
  Pager->CaptionMaxClick(max);
  EXPECT_EQ(Form->WindowState(), wsNormal);
  EXPECT_EQ(senders, (std::vector<TObject*>{max}));
}

TEST_F(PagerCaption, MinimizeClickMinimizesThePlainFormOrAsksTheEvent) {
  Pager->SetMinimizeApp(false);
  Pager->CaptionMinClick(Pager->CaptionMinButton());
  EXPECT_EQ(Form->WindowState(), wsMinimized);
  Form->SetWindowState(wsNormal);
  std::vector<TObject*> senders;
  Pager->OnMinButtonClick = [&](TObject* S) { senders.push_back(S); };
  Pager->OnCloseButtonClick = [&](TObject* S) { senders.push_back(S); };
  Pager->CaptionMinClick(nullptr);
  Pager->CaptionCloseClick(nullptr);
  EXPECT_EQ(Form->WindowState(), wsNormal);
  EXPECT_EQ(senders, (std::vector<TObject*>{Pager->CaptionMinButton(), Pager->CaptionCloseButton()}));
  EXPECT_TRUE(Form->Visible());
}

TEST_F(PagerCaption, OnGlassTheFormsOwnButtonsAreaMatchesTheGlassRegionsCorner) {
  Pager->SetIsAeroVista(true);
  Pager->UpdateCaptionButtons(false);
  EXPECT_FALSE(Pager->CaptionCloseButton()->Visible());
  EXPECT_FALSE(Pager->CaptionMaxButton()->Visible());
  TGlassButtonsInput in;
  in.ScaledCaptionHeight = Pager->ScaledPagerCaptionHeight();
  EXPECT_EQ(Pager->GetCaptionButtonsRect(), GlassCaptionButtonsRect(600, in));
  EXPECT_EQ(Pager->GetCaptionButtonsRect(), (TRect{470, 0, 600, 21})) << "130 wide, like the region";
  EXPECT_EQ(Pager->Caption()->RightIndent(), 130);
  struct Case {
    const char* Name;
    TGlassButtonsInput In;
    TPoint Size;
  };
  auto input = [](bool Designing, bool Win7, bool Win10, bool ByScreen, Integer PPI, bool Shaded, Integer Cap) {
    TGlassButtonsInput i;
    i.Designing = Designing, i.Win7 = Win7, i.Win10 = Win10, i.ByScreen = ByScreen, i.ScreenPPI = PPI;
    i.ShadedGlassTabs = Shaded, i.ScaledCaptionHeight = Cap;
    return i;
  };
  const std::vector<Case> cases = {
      {"Windows 10", input(false, true, true, false, 96, false, 26), {130, 21}},
      {"Windows 7", input(false, true, false, false, 96, false, 30), {110, 22}},
      {"older", input(false, false, false, false, 96, false, 30), {100, 22}},
      {"designing", input(true, true, true, false, 96, false, 30), {100, 22}},
      {"144 PPI on a ribbon form", input(false, true, true, true, 144, false, 39), {195, 33}},
      {"144 PPI, shaded glass tabs", input(false, true, true, true, 144, true, 39), {195, 34}},
      {"144 PPI, not by screen", input(false, true, true, false, 144, false, 39), {130, 22}},
  };
  for (const Case& c : cases) EXPECT_EQ(GlassButtonsSize(c.In), c.Size) << c.Name;
}

TEST_F(PagerCaption, TheEdgesLetTheFormUnderneathTakeTheMouse) {
  struct Case {
    TPoint Client;
    bool Transparent;
  };
  const std::vector<Case> cases = {
      {{300, 2}, true}, {{2, 80}, true}, {{595, 80}, true}, {{300, 3}, false}, {{3, 80}, false}, {{594, 80}, false}};
  for (const Case& c : cases) {
    const TPoint s = Pager->ClientToScreen(c.Client);
    const LRESULT r = Pager->Perform(WM_NCHITTEST, 0, MAKELPARAM(s.X, s.Y));
    EXPECT_EQ(r == HTTRANSPARENT, c.Transparent) << c.Client.X << "," << c.Client.Y;
  }
}

TEST_F(PagerCaption, HelpButtonStandsAtTheTabAreasEndAndTheTabsStopBeforeIt) {
  TAdvGlowButton* help = Pager->HelpButton();
  ASSERT_NE(help, nullptr);
  // Tab area 26..52; a 20-pixel square, one pixel below the middle, 6 from the right.
  EXPECT_EQ(Pager->GetHelpButtonRect(), (TRect{574, 30, 594, 50}));
  EXPECT_EQ(help->BoundsRect(), Pager->GetHelpButtonRect());
  EXPECT_LE(Pager->GetTabsRect().Right, help->Left() - 2);
  struct Case {
    Single Scale;
    Integer MDILeft;
    TRect Expected;
  };
  const TRect area{0, 26, 600, 52};
  const std::vector<Case> cases = {
      {1.0f, -1, {574, 30, 594, 50}},
      {1.5f, -1, {564, 25, 594, 55}},
      {1.0f, 520, {498, 30, 518, 50}},  // left of the MDI buttons
  };
  for (const Case& c : cases)
    EXPECT_EQ(HelpButtonRect(area, TPagerButtonLook{c.Scale}, c.MDILeft), c.Expected) << c.Scale << " " << c.MDILeft;
  std::vector<TObject*> senders;
  Pager->OnHelpClick = [&](TObject* S) { senders.push_back(S); };
  testinput::Click(help, TPoint{10, 10});
  EXPECT_EQ(senders, (std::vector<TObject*>{Pager}));
  const Integer before = Pager->GetTabsRect().Right;
  Pager->SetShowHelpButton(false);
  EXPECT_EQ(Pager->HelpButton(), nullptr);
  EXPECT_EQ(Pager->GetHelpButtonRect(), (TRect{-1, -1, -1, -1}));
  EXPECT_GT(Pager->GetTabsRect().Right, before) << "the row takes the room back";
}

TEST_F(PagerCaption, HelpPictureComesFromTheProgramOrTheProperty) {
  struct Case {
    Single Scale;
    Integer Side;
  };
  for (const Case& c : {Case{1.0f, 16}, Case{2.0f, 32}}) {
    toolbar::ToolBarDPIScale = c.Scale;
    Pager->UpdateHelpButton();
    TGDIPPicture* p = Pager->HelpButton()->Picture();
    ASSERT_FALSE(p->Empty()) << c.Scale;
    EXPECT_EQ(p->Width(), c.Side) << c.Scale;
    EXPECT_EQ(p->Height(), c.Side) << c.Scale;
  }
  toolbar::ToolBarDPIScale = 1.0f;
  TGDIPPicture own;
  own.LoadFromResourceName(HInstance(), u"ATBECMAX");
  ASSERT_FALSE(own.Empty());
  Pager->SetHelpButtonPicture(&own);
  EXPECT_EQ(Pager->HelpButton()->Picture()->Width(), 12) << "the property's picture";
}

TEST_F(PagerCaption, HintTextsReachTheButtons) {
  TPagerHints* h = Pager->Hints();
  struct Case {
    const char* Name;
    std::function<void(const String&)> Set;
    std::function<TAdvGlowButton*()> Button;
  };
  const std::vector<Case> cases = {
      {"close", [&](const String& t) { h->SetMDICloseBtnHint(t); }, [&] { return Pager->CaptionCloseButton(); }},
      {"minimize", [&](const String& t) { h->SetMDIMinimizeBtnHint(t); }, [&] { return Pager->CaptionMinButton(); }},
      {"maximize", [&](const String& t) { h->SetMDIMaximizeBtnHint(t); }, [&] { return Pager->CaptionMaxButton(); }},
      {"help", [&](const String& t) { h->SetHelpBtnHint(t); }, [&] { return Pager->HelpButton(); }},
  };
  EXPECT_EQ(Pager->CaptionCloseButton()->Hint(), u"Close");
  EXPECT_EQ(Pager->CaptionMinButton()->Hint(), u"Minimize");
  EXPECT_EQ(Pager->CaptionMaxButton()->Hint(), u"Maximize");
  EXPECT_EQ(Pager->HelpButton()->Hint(), u"Help");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Set(u"Text of " + String(c.Name, c.Name + strlen(c.Name)));
    EXPECT_EQ(c.Button()->Hint(), u"Text of " + String(c.Name, c.Name + strlen(c.Name)));
    EXPECT_TRUE(c.Button()->ShowHint());
    c.Set(u"");
    EXPECT_EQ(c.Button()->Hint(), u"");
    EXPECT_FALSE(c.Button()->ShowHint()) << "no text, no hint";
  }
  // Assigning hints from another object reaches the buttons too.
  TPagerHints other;
  other.SetHelpBtnHint(u"Assistance");
  Pager->SetHints(&other);
  EXPECT_EQ(Pager->HelpButton()->Hint(), u"Assistance");
}

// --- MDI buttons ---

class PagerMdi : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    Form->SetFormStyle(fsMDIForm);
    Form->SetBounds(0, 0, 600, 400);
    MakePages(3);
    Pager->SetShowHelpButton(false);
    Form->Show();
    PumpPending();
  }
  TForm* Child(TBorderIcons Icons = {biSystemMenu, biMinimize, biMaximize}) {
    auto* c = new TForm(Form.get());
    c->AfterConstruction();
    c->SetFormStyle(fsMDIChild);
    c->SetBorderIcons(Icons);
    c->SetBounds(10, 10, 200, 100);
    c->Show();
    PumpPending();
    return c;
  }
  void Repaint() {
    Pager->Invalidate();
    testinput::PaintPending();
  }
  bool Shown(TAdvGlowButton* B) { return B != nullptr && B->Visible(); }
};

TEST_F(PagerMdi, AMaximizedChildsButtonsSitAfterTheShortenedTabRow) {
  const Integer right = Pager->GetTabsRect().Right;
  Pager->SetAutoMDIButtons(true);
  EXPECT_EQ(TZadEdevAziPager::MDIPager(), Pager);
  EXPECT_EQ(Pager->GetTabsRect().Right, right - 59);
  TForm* child = Child(TBorderIcons{biSystemMenu, biMinimize});
  Repaint();
  EXPECT_FALSE(Pager->MDIButtonsVisible()) << "not maximized";
  EXPECT_FALSE(Shown(Pager->MDICloseButton()));
  child->SetWindowState(wsMaximized);
  Repaint();
  ASSERT_TRUE(Pager->MDIButtonsVisible());
  const TRect t = Pager->GetTabsRect();
  const TRect area = Pager->GetMDIButtonsRect();
  EXPECT_EQ(area, (TRect{t.Right + 2, t.Top, t.Right + 56, t.Bottom}));
  const Integer top = t.Top + (t.Height() - 16) / 2 - 4;
  EXPECT_EQ(Pager->MDIMinButton()->BoundsRect(), (TRect{area.Left, top, area.Left + 16, top + 16}));
  EXPECT_EQ(Pager->MDIRestoreButton()->BoundsRect(), (TRect{area.Left + 18, top, area.Left + 34, top + 16}));
  EXPECT_EQ(Pager->MDICloseButton()->BoundsRect(), (TRect{area.Left + 36, top, area.Left + 52, top + 16}));
  for (TAdvGlowButton* b : {Pager->MDIMinButton(), Pager->MDIRestoreButton(), Pager->MDICloseButton()})
    EXPECT_TRUE(Shown(b));
  EXPECT_TRUE(Pager->MDICloseButton()->Enabled());
  EXPECT_TRUE(Pager->MDIMinButton()->Enabled());
  EXPECT_FALSE(Pager->MDIRestoreButton()->Enabled()) << "the child has no maximize icon";
  EXPECT_EQ(Pager->MDICloseButton()->Hint(), u"Close");
  EXPECT_EQ(Pager->MDIRestoreButton()->Hint(), u"Maximize");
  // Restored: the buttons go at the next paint.
  child->SetWindowState(wsNormal);
  Repaint();
  EXPECT_FALSE(Pager->MDIButtonsVisible());
  EXPECT_FALSE(Shown(Pager->MDICloseButton()));
}

TEST(PagerButtonLayout, MDIButtonsAfterTheTabRowAt96And144PPI) {
  struct Case {
    const char* Name;
    TRect Tabs;  // the tab row: 26 pixels high at 96 PPI, 40 at 144
    TRect Area, Min, Restore, Close;
  };
  const std::vector<Case> cases = {
      {"96 PPI", {64, 30, 400, 56}, {402, 30, 456, 56}, {402, 31, 418, 47}, {420, 31, 436, 47}, {438, 31, 454, 47}},
      {"144 PPI", {96, 43, 400, 83}, {402, 43, 456, 83}, {402, 51, 418, 67}, {420, 51, 436, 67}, {438, 51, 454, 67}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRect area = MDIButtonsRect(c.Tabs, 16, 2);
    EXPECT_EQ(area, c.Area);
    const TMDIButtonsPlacement p = PlaceMDIButtons(area, 16, 2);
    EXPECT_EQ(p.Min, c.Min);
    EXPECT_EQ(p.Restore, c.Restore);
    EXPECT_EQ(p.Close, c.Close);
  }
}

TEST_F(PagerMdi, TheButtonsActOnTheMaximizedChild) {
  Pager->SetAutoMDIButtons(true);
  TForm* child = Child();
  child->SetWindowState(wsMaximized);
  Repaint();
  ASSERT_TRUE(Pager->MDIButtonsVisible());
  testinput::Click(Pager->MDIRestoreButton(), TPoint{8, 8});
  EXPECT_EQ(child->WindowState(), wsNormal);
  child->SetWindowState(wsMaximized);
  Repaint();
  testinput::Click(Pager->MDIMinButton(), TPoint{8, 8});
  EXPECT_EQ(child->WindowState(), wsMinimized);
}

TEST_F(PagerMdi, GlyphIndexesStayWhenNoChildIsActive) {
  Pager->SetAutoMDIButtons(true);
  TForm* child = Child();
  child->SetWindowState(wsMaximized);
  Repaint();
  ASSERT_NE(Pager->MDIButtonImages(), nullptr);
  EXPECT_EQ(Pager->MDIButtonImages()->Count(), 3);
  // The child goes while the buttons still show (as after their close
  // click); the pictures are made again before the next paint.
  delete child;
  PumpPending();
  ASSERT_EQ(Form->ActiveMDIChild(), nullptr);
  Pager->UpdateMDIButtons(true);
  EXPECT_EQ(Pager->MDIButtonImages()->Count(), 3);
  EXPECT_EQ(Pager->MDICloseButton()->ImageIndex(), 0);
  EXPECT_EQ(Pager->MDIRestoreButton()->ImageIndex(), 1);
  EXPECT_EQ(Pager->MDIMinButton()->ImageIndex(), 2);
  Repaint();
  EXPECT_FALSE(Pager->MDIButtonsVisible());
}

TEST_F(PagerMdi, OnTheScenicGlassCaptionTheGlyphsAreTheProgramsPictures) {
  Pager->SetWin7ScenicRibbon(true);
  Pager->SetIsAeroVista(true);
  Pager->TabSettings()->SetGlass(true);
  Pager->SetAutoMDIButtons(true);
  TForm* child = Child();
  child->SetWindowState(wsMaximized);
  Repaint();
  ASSERT_TRUE(Pager->MDIButtonsVisible());
  const std::vector<std::pair<TAdvGlowButton*, Integer>> sides = {
      {Pager->MDICloseButton(), 11}, {Pager->MDIRestoreButton(), 12}, {Pager->MDIMinButton(), 11}};
  for (auto [b, side] : sides) {
    EXPECT_EQ(b->Picture()->Width(), side);
    EXPECT_EQ(b->Images(), nullptr);
  }
}

TEST_F(PagerMdi, TheFramesProcedureChainAndRegionSurviveTheSwitchOff) {
  const HWND frame = Form->Handle();
  SetWindowLong(frame, GWL_USERDATA, 1234);
  int heard = 0;
  Pager->SetAutoMDIButtons(true);
  // Another handler subclasses the frame after the pager, and gives it a region.
  WNDPROC below = 0;
  const WNDPROC other = MakeObjectInstance([&](TMessage& M) {
    if (M.Msg == WM_USER + 7) ++heard;
    M.Result = CallWindowProc(below, frame, M.Msg, M.WParam, M.LParam);
  });
  below = SetWindowLong(frame, GWL_WNDPROC, other);
  ASSERT_NE(below, 0);
  SetWindowRgn(frame, CreateRectRgn(0, 0, 500, 300), FALSE);
  Pager->SetAutoMDIButtons(false);
  EXPECT_EQ(TZadEdevAziPager::MDIPager(), nullptr);
  EXPECT_EQ(GetWindowLong(frame, GWL_WNDPROC), other) << "the other handler stays on top";
  SendMessage(frame, WM_USER + 7, 0, 0);
  EXPECT_EQ(heard, 1);
  TRect box;
  EXPECT_NE(GetWindowRgnBox(frame, &box), ERROR) << "a region the pager did not set stays";
  EXPECT_EQ(GetWindowLong(frame, GWL_USERDATA), 1234) << "the user value is not the pager's";
  SetWindowLong(frame, GWL_WNDPROC, below);
  FreeObjectInstance(other);
}

// --- value classes ---

TEST(PagerValueClasses, AppColorDefaultsNoticesAndAssign) {
  struct Colour {
    const char* Name;
    TColor (TAppColor::*Get)() const;
    void (TAppColor::*Set)(TColor);
    TColor Default;
  };
  const std::vector<Colour> colours = {
      {"AppButtonColor", &TAppColor::AppButtonColor, &TAppColor::SetAppButtonColor, 0x00E29E00},
      {"AppButtonHoverColor", &TAppColor::AppButtonHoverColor, &TAppColor::SetAppButtonHoverColor, 0x00FFAC3C},
      {"TextColor", &TAppColor::TextColor, &TAppColor::SetTextColor, 0x00FFFFFF},
      {"HoverColor", &TAppColor::HoverColor, &TAppColor::SetHoverColor, 0x00F7E6CD},
      {"HoverTextColor", &TAppColor::HoverTextColor, &TAppColor::SetHoverTextColor, 0x00000000},
      {"HoverBorderColor", &TAppColor::HoverBorderColor, &TAppColor::SetHoverBorderColor, 0x00E7BE7A},
      {"SelectedColor", &TAppColor::SelectedColor, &TAppColor::SetSelectedColor, 0x00E7BE7A},
      {"SelectedTextColor", &TAppColor::SelectedTextColor, &TAppColor::SetSelectedTextColor, 0x00000000},
      {"SelectedBorderColor", &TAppColor::SelectedBorderColor, &TAppColor::SetSelectedBorderColor, 0x00E7BE7A},
  };
  TAppColor a, source;
  std::vector<TObject*> senders;
  a.OnChange = [&](TObject* S) { senders.push_back(S); };
  TColor next = 0x010101;
  for (const Colour& c : colours) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ((a.*c.Get)(), c.Default);
    senders.clear();
    (a.*c.Set)(c.Default);
    EXPECT_TRUE(senders.empty()) << "the same value is no change";
    (a.*c.Set)(next);
    EXPECT_EQ((a.*c.Get)(), next);
    EXPECT_EQ(senders, (std::vector<TObject*>{&a}));
    (source.*c.Set)(next + 1);
    next += 0x010101;
  }
  senders.clear();
  a.Assign(&source);
  EXPECT_TRUE(senders.empty()) << "Assign raises no notice";
  for (const Colour& c : colours) EXPECT_EQ((a.*c.Get)(), (source.*c.Get)()) << c.Name;
  TPagerHints notColours;
  a.Assign(&notColours);  // another class: nothing, no exception
  EXPECT_EQ(a.HoverBorderColor(), source.HoverBorderColor());
}

TEST(PagerValueClasses, HintDefaultsAndNotices) {
  struct Text {
    const char* Name;
    const String& (TPagerHints::*Get)() const;
    void (TPagerHints::*Set)(const String&);
    String Default;
  };
  const std::vector<Text> texts = {
      {"MDICloseBtnHint", &TPagerHints::MDICloseBtnHint, &TPagerHints::SetMDICloseBtnHint, u"Close"},
      {"MDIMinimizeBtnHint", &TPagerHints::MDIMinimizeBtnHint, &TPagerHints::SetMDIMinimizeBtnHint, u"Minimize"},
      {"MDIMaximizeBtnHint", &TPagerHints::MDIMaximizeBtnHint, &TPagerHints::SetMDIMaximizeBtnHint, u"Maximize"},
      {"HelpBtnHint", &TPagerHints::HelpBtnHint, &TPagerHints::SetHelpBtnHint, u"Help"},
  };
  TPagerHints h, source;
  std::vector<TObject*> senders;
  h.OnChange = [&](TObject* S) { senders.push_back(S); };
  for (const Text& t : texts) {
    SCOPED_TRACE(t.Name);
    EXPECT_EQ((h.*t.Get)(), t.Default);
    senders.clear();
    (h.*t.Set)(t.Default);
    EXPECT_TRUE(senders.empty());
    (h.*t.Set)(u"x");
    EXPECT_EQ(senders, (std::vector<TObject*>{&h}));
    (source.*t.Set)(String(u"from ") + t.Default);
  }
  senders.clear();
  h.Assign(&source);
  EXPECT_TRUE(senders.empty());
  for (const Text& t : texts) EXPECT_EQ((h.*t.Get)(), String(u"from ") + t.Default) << t.Name;
}

}  // namespace
}  // namespace ribbon
