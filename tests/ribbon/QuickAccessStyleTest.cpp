// The quick-access toolbar's ties to the window and the pager's look: the
// application icon button (the program's icon, the window menu, a quick
// second click closing the form through its own Close), the styler's style
// on shown and hidden controls alike, colour tones on the overflow button,
// key tips of the glow buttons and hints of disabled controls.
#include <functional>
#include <vector>

#include "PagerFixture.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Icon.h"
#include "platform/win/Keyboard.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {
namespace {

// A one-picture 32-bit ICO of N x N pixels in one colour.
TBytes OneColourIco(int N, TColor C) {
  TBytes b;
  auto u16 = [&](unsigned v) { b.push_back(Byte(v)), b.push_back(Byte(v >> 8)); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const unsigned maskRow = unsigned((N + 31) / 32 * 4), pixels = unsigned(N * N * 4), size = 40 + pixels + maskRow * N;
  u16(0), u16(1), u16(1);
  b.push_back(Byte(N)), b.push_back(Byte(N)), b.push_back(0), b.push_back(0), u16(1), u16(32), u32(size), u32(22);
  u32(40), u32(unsigned(N)), u32(unsigned(2 * N)), u16(1), u16(32), u32(0), u32(pixels + maskRow * N);
  u32(0), u32(0), u32(0), u32(0);
  for (int i = 0; i < N * N; ++i)
    b.push_back(Byte(C >> 16)), b.push_back(Byte(C >> 8)), b.push_back(Byte(C)), b.push_back(0xFF);
  b.resize(b.size() + maskRow * N, 0);
  return b;
}

class QuickAccessStyle : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    Form->SetBorderStyle(bsSizeable);
    MakePages(2);
    Qat = new TAdvQuickAccessToolBar(Form.get());
    Qat->SetParent(Pager);
  }
  void TearDown() override {
    if (Inner) Form->WindowProc = Inner;
    if (Helper != nullptr) DeallocateHWnd(Helper);
    PagerFixture::TearDown();
  }
  TAdvGlowButton* AddButton(const String& Tip, Integer W = 22) {
    auto* b = new TAdvGlowButton(Form.get());
    b->SetBounds(Integer(Buttons.size()) * W, 0, W, 20);
    b->SetShortCutHint(Tip);
    Qat->AddToolBarControl(b);
    b->SetBounds(b->Left(), b->Top(), W, 20);
    Buttons.push_back(b);
    return b;
  }
  void SetFormWidth(Integer W) {
    Form->SetBounds(0, 0, W, 200);
    Pager->SetBounds(0, 0, W, Pager->Height());
    Qat->UpdateSize();
    Qat->UpdateHiddenControls();
  }
  // The form's window procedure sees Hook first.
  void HookForm(std::function<bool(TMessage&)> Hook) {
    Inner = Form->WindowProc;
    Form->WindowProc = [this, Hook](TMessage& M) {
      if (!Hook(M)) Inner(M);
    };
  }
  // Runs Action from inside the next message loop (the window menu's own).
  void WhileMenuOpen(std::function<void()> Action) {
    if (Helper != nullptr) DeallocateHWnd(Helper);
    Helper = AllocateHWnd([Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(Helper, WM_USER, 0, 0);
  }
  void ClickIcon() {
    TAdvGlowButton* b = Qat->AppIconButton();
    testinput::Click(b, TPoint{b->Width() / 2, b->Height() / 2});
    PumpPending();
  }
  TAdvQuickAccessToolBar* Qat = nullptr;
  std::vector<TAdvGlowButton*> Buttons;
  std::function<void(TMessage&)> Inner;
  HWND Helper = nullptr;
};

// ---------------------------------------------------------------------------
// Application icon

TEST_F(QuickAccessStyle, IconButtonShowsOnlyInTheScenicLook) {
  Qat->UpdateAppIcon();
  ASSERT_NE(Qat->AppIconButton(), nullptr);
  EXPECT_FALSE(Qat->AppIconButton()->Visible());
  EXPECT_EQ(Qat->AppIconButton()->Width(), 0);
  // Scenic on this pager brings it, 16 pixels square, at the toolbar's start.
  Pager->SetWin7ScenicRibbon(true);
  EXPECT_TRUE(Qat->AppIconButton()->Visible());
  EXPECT_EQ(Qat->AppIconButton()->Width(), 16);
  EXPECT_EQ(Qat->AppIconButton()->Parent(), Qat);
  EXPECT_EQ(Qat->AppIconButton()->Left(), 0);
  // The icon is no content of the toolbar.
  for (TControl* c : Qat->ShownControls()) EXPECT_NE(c, Qat->AppIconButton());
  // Below the ribbon the toolbar leaves the caption row: the icon moves onto
  // the pager's caption, and back when the toolbar returns.
  Qat->SetFullSize(true);
  EXPECT_EQ(Qat->AppIconButton()->Parent(), Pager);
  EXPECT_EQ(Qat->AppIconButton()->BoundsRect(), (TRect{6, 7, 22, 23}));
  Qat->SetFullSize(false);
  EXPECT_EQ(Qat->AppIconButton()->Parent(), Qat);
  EXPECT_EQ(Qat->AppIconButton()->Left(), 0);
}

TEST_F(QuickAccessStyle, IconOnThePagerGoesAwayWithIt) {
  Pager->SetWin7ScenicRibbon(true);
  Qat->SetFullSize(true);
  ASSERT_EQ(Qat->AppIconButton()->Parent(), Pager);
  delete Pager;
  Pager = nullptr;
  PumpPending();
}

struct IconCase {
  Single Scale;
  bool BigAnswered;
  bool AlphaBlended;
  std::vector<WPARAM> Asked;
};

TEST_F(QuickAccessStyle, IconComesFromTheWindowLargeForWideButtons) {
  const std::vector<IconCase> cases = {
      {1.0f, true, false, {ICON_SMALL2}},           // 16 pixels: the small icon only
      {2.0f, true, false, {ICON_BIG}},              // 32 pixels: the large one
      {2.0f, false, false, {ICON_BIG, ICON_SMALL2}},  // no large one: the small one after all
      {1.0f, true, true, {ICON_SMALL2}},
  };
  TIcon icon;
  icon.SetSize(16, 16);
  icon.LoadFromBytes(OneColourIco(16, clRed));
  Form->SetIcon(&icon);
  Form->Show();
  PumpPending();
  for (const IconCase& c : cases) {
    SCOPED_TRACE(c.Scale);
    std::vector<WPARAM> asked;
    toolbar::ToolBarDPIScale = c.Scale;
    HookForm([&](TMessage& M) {
      if (M.Msg != WM_GETICON) return false;
      asked.push_back(M.WParam);
      if (M.WParam == ICON_BIG && !c.BigAnswered) {
        M.Result = 0;
        return true;
      }
      return false;
    });
    Qat->SetAppIconAlphaBlended(c.AlphaBlended);
    Pager->SetWin7ScenicRibbon(true);
    asked.clear();
    Qat->UpdateAppIcon();
    Form->WindowProc = Inner;
    Inner = nullptr;
    EXPECT_EQ(asked, c.Asked);
    TAppIconGlowButton* b = Qat->AppIconButton();
    EXPECT_EQ(b->Width(), Integer(16 * c.Scale));
    EXPECT_FALSE(b->Picture()->Empty());
    // Without alpha blending the button keeps no icon, only its picture.
    EXPECT_EQ(b->FIcon != nullptr, c.AlphaBlended);
    Pager->SetWin7ScenicRibbon(false);
  }
}

TEST_F(QuickAccessStyle, FirstClickOpensTheFormsWindowMenu) {
  std::vector<WPARAM> commands;
  HookForm([&](TMessage& M) {
    if (M.Msg != WM_SYSCOMMAND) return false;
    commands.push_back(M.WParam);
    return true;
  });
  Pager->SetWin7ScenicRibbon(true);
  Form->Show();
  PumpPending();
  TVirtualClock clock;
  WhileMenuOpen([] { testinput::KeyPress('N'); });
  ClickIcon();
  EXPECT_EQ(commands, (std::vector<WPARAM>{SC_MINIMIZE}));
  // Later than 300 ms: the menu again, nothing closes.
  clock.Advance(301);
  WhileMenuOpen([] { testinput::KeyPress(VK_ESCAPE); });
  ClickIcon();
  EXPECT_TRUE(Form->Visible());
}

struct CloseCase {
  const char* Name;
  bool Allow;
  TCloseAction Action;
  int Closes;
  bool VisibleAfter;
};

TEST_F(QuickAccessStyle, QuickSecondClickGoesThroughTheFormsClose) {
  const std::vector<CloseCase> cases = {
      {"refused", false, caHide, 0, true},
      {"allowed", true, caHide, 1, false},
      {"allowed, kept by OnClose", true, caNone, 1, true},
  };
  Pager->SetWin7ScenicRibbon(true);
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Form->Show();
    PumpPending();
    int queries = 0, closes = 0;
    Form->OnCloseQuery = [&](TObject*, bool& CanClose) {
      ++queries;
      CanClose = c.Allow;
    };
    Form->OnClose = [&](TObject*, TCloseAction& Action) {
      ++closes;
      Action = c.Action;
    };
    TVirtualClock clock;
    WhileMenuOpen([] { testinput::KeyPress(VK_ESCAPE); });
    ClickIcon();
    EXPECT_EQ(queries, 0);
    clock.Advance(150);
    ClickIcon();
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(closes, c.Closes);
    EXPECT_EQ(Form->Visible(), c.VisibleAfter);
    EXPECT_FALSE(Application->Terminated());
    Form->OnCloseQuery = nullptr;
    Form->OnClose = nullptr;
  }
}

// The main form's road: the application ends only when the form's own
// close road says so. An application object of the test's own stands in for
// the process's one meanwhile, so that its end leaves later tests running.
struct TOwnApplication {
  TApplication App{nullptr};
  TApplication* Saved = Application;
  explicit TOwnApplication(TCustomForm* MainForm) {
    Application = &App;
    application_detail::AdoptForm(&App, MainForm);
  }
  ~TOwnApplication() { Application = Saved; }
};

TEST_F(QuickAccessStyle, QuickSecondClickOnTheMainFormEndsTheApplicationOnlyThroughItsClose) {
  const std::vector<CloseCase> cases = {
      {"refused", false, caHide, 0, true},
      {"kept by OnClose", true, caNone, 1, true},
      {"allowed", true, caFree, 1, true},
  };
  Pager->SetWin7ScenicRibbon(true);
  Form->Show();
  PumpPending();
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwnApplication own(Form.get());
    ASSERT_EQ(Application->MainForm(), Form.get());
    int closes = 0;
    Form->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = c.Allow; };
    Form->OnClose = [&](TObject*, TCloseAction& Action) {
      ++closes;
      Action = c.Action;
    };
    TVirtualClock clock;
    WhileMenuOpen([] { testinput::KeyPress(VK_ESCAPE); });
    ClickIcon();
    clock.Advance(100);
    ClickIcon();
    EXPECT_EQ(closes, c.Closes);
    EXPECT_EQ(own.App.Terminated(), c.Allow && c.Action != caNone);
    Form->OnCloseQuery = nullptr;
    Form->OnClose = nullptr;
  }
}

// ---------------------------------------------------------------------------
// Styles and tones

TEST_F(QuickAccessStyle, ShownAndHiddenControlsGetTheSameStyle) {
  for (int i = 0; i < 12; ++i) AddButton(u"");
  SetFormWidth(400);
  ASSERT_FALSE(Qat->HiddenControls().empty());
  ASSERT_FALSE(Qat->ShownControls().empty());
  Pager->SetComponentStyle(tsOffice2019Gray);
  auto* s = Qat->GetToolBarStyler();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->VornStyle(), tsOffice2019Gray);
  // Once with the hidden ones on the toolbar, once inside the overflow pop-up.
  for (bool inPopup : {false, true}) {
    SCOPED_TRACE(inPopup);
    if (inPopup) {
      Qat->ShowOverflowWindow(0, 0, false);
      ASSERT_NE(Qat->HiddenControls().front()->Parent(), Qat);
    }
    for (TAdvGlowButton* b : Buttons) {
      b->SetUIStyle(tsCustom);
      b->Appearance()->SetColor(clFuchsia);
    }
    Qat->ApplyStyler();
    for (TAdvGlowButton* b : Buttons) {
      EXPECT_EQ(b->UIStyle(), tsOffice2019Gray);
      EXPECT_EQ(b->Appearance()->Color(), s->GlowButtonAppearance()->Color());
    }
  }
  Qat->HideOverflowWindow();
}

TEST_F(QuickAccessStyle, StylerChangeKindsThatRestyle) {
  AddButton(u"");
  Pager->SetComponentStyle(tsOffice2019Gray);
  for (Integer kind : {0, 1, 2, 3, 7, 10, 11, 12}) {
    Buttons[0]->SetUIStyle(tsCustom);
    Qat->StylerChanged(kind);
    const bool restyled = kind == 0 || kind == 2 || kind == 7;
    EXPECT_EQ(Buttons[0]->UIStyle() == tsOffice2019Gray, restyled) << kind;
  }
}

TColorTones SampleTones() {
  TColorTones t;
  t.Background = {0x101010, 0x202020, 0x303030};
  t.Foreground = {0x111111, 0x121212, 0x131313};
  t.Selected = {0x404040, 0x505050, 0x606060};
  t.Hover = {0x707070, 0x808080, 0x909090};
  t.Disabled = {0xA0A0A0, 0xB0B0B0, 0xC0C0C0};
  return t;
}

TEST_F(QuickAccessStyle, ColourTonesGiveTheOverflowButtonFlatColours) {
  for (int i = 0; i < 12; ++i) AddButton(u"");
  SetFormWidth(400);
  ASSERT_FALSE(Qat->HiddenControls().empty());
  ASSERT_TRUE(Qat->ScrollButton()->Visible());
  const TColorTones T = SampleTones();
  Pager->SetColorTones(T);
  ASSERT_TRUE(Pager->UsesTones());
  TGlowButtonAppearance* a = Qat->ScrollButton()->Appearance();
  struct Row {
    const char* Name;
    TColor Got, Want;
  };
  const std::vector<Row> rows = {
      {"Color", a->Color(), T.Background.BrushColor},
      {"ColorMirror", a->ColorMirror(), T.Background.BrushColor},
      {"ColorTo", a->ColorTo(), clNone},
      {"ColorMirrorTo", a->ColorMirrorTo(), clNone},
      {"ColorHotTo", a->ColorHotTo(), clNone},
      {"ColorMirrorHotTo", a->ColorMirrorHotTo(), clNone},
      {"ColorDownTo", a->ColorDownTo(), clNone},
      {"ColorMirrorDownTo", a->ColorMirrorDownTo(), clNone},
      {"BorderColor", a->BorderColor(), T.Background.BorderColor},
      {"ColorHot", a->ColorHot(), T.Hover.BrushColor},
      {"ColorMirrorHot", a->ColorMirrorHot(), T.Hover.BrushColor},
      {"BorderColorHot", a->BorderColorHot(), T.Hover.BorderColor},
      {"TextColorHot", a->TextColorHot(), T.Hover.TextColor},
      {"ColorDown", a->ColorDown(), T.Selected.BrushColor},
      {"ColorMirrorDown", a->ColorMirrorDown(), T.Selected.BrushColor},
      {"BorderColorDown", a->BorderColorDown(), T.Selected.BorderColor},
      {"TextColorDown", a->TextColorDown(), T.Selected.TextColor},
  };
  for (const Row& r : rows) EXPECT_EQ(r.Got, r.Want) << r.Name;
  // Shown and hidden glow buttons alike took the tones.
  for (TAdvGlowButton* b : Buttons) EXPECT_EQ(b->Appearance()->ColorHot(), T.Hover.BrushColor);
}

TEST_F(QuickAccessStyle, EmptyTonesOrNoTonesModeChangeNothing) {
  for (int i = 0; i < 12; ++i) AddButton(u"");
  SetFormWidth(400);
  ASSERT_TRUE(Qat->ScrollButton()->Visible());
  TGlowButtonAppearance* a = Qat->ScrollButton()->Appearance();
  a->SetColor(clFuchsia);
  Buttons[0]->Appearance()->SetColorHot(clFuchsia);
  // Not in colour-tones mode.
  Qat->ApplyColorTones(SampleTones());
  EXPECT_EQ(a->Color(), clFuchsia);
  EXPECT_EQ(Buttons[0]->Appearance()->ColorHot(), clFuchsia);
  // In it, but with no background colours.
  Pager->SetColorTones(SampleTones());
  a->SetColor(clFuchsia);
  Buttons[0]->Appearance()->SetColorHot(clFuchsia);
  TColorTones empty = SampleTones();
  empty.Background = TColorTone{};
  Qat->ApplyColorTones(empty);
  EXPECT_EQ(a->Color(), clFuchsia);
  EXPECT_EQ(Buttons[0]->Appearance()->ColorHot(), clFuchsia);
}

// ---------------------------------------------------------------------------
// Key tips

bool TipShows(TAdvGlowButton* B) { return B->ShortCutHintWindow() != nullptr && B->ShortCutHintWindow()->Visible(); }

struct KeyCase {
  String Keys;
  bool Result;
  Integer Count;
  std::vector<int> Clicks;     // per button
  std::vector<bool> Showing;  // per button, after the key
};

TEST_F(QuickAccessStyle, ShortCutKeysClickMatchCountAndHide) {
  // Tips: A, AB, AC, B, none, D (disabled).
  const std::vector<KeyCase> cases = {
      {u"A", true, 0, {1, 0, 0, 0, 0, 0}, {true, true, true, true, false, false}},
      {u"a", true, 0, {1, 0, 0, 0, 0, 0}, {true, true, true, true, false, false}},
      {u"AB", true, 0, {0, 1, 0, 0, 0, 0}, {false, true, true, true, false, false}},
      {u"B", true, 0, {0, 0, 0, 1, 0, 0}, {false, false, false, true, false, false}},
      {u"X", false, 0, {0, 0, 0, 0, 0, 0}, {false, false, false, false, false, false}},
      {u"D", true, 0, {0, 0, 0, 0, 0, 0}, {false, false, false, false, false, false}},
  };
  std::vector<int> clicks(6, 0);
  for (const char16_t* tip : {u"A", u"AB", u"AC", u"B", u"", u"D"}) {
    TAdvGlowButton* b = AddButton(tip);
    const size_t i = Buttons.size() - 1;
    b->OnClick = [&clicks, i](TObject*) { ++clicks[i]; };
  }
  Buttons[5]->SetEnabled(false);
  SetFormWidth(1000);
  Form->Show();
  PumpPending();
  ASSERT_EQ(Qat->ShownControls().size(), 6u);
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(std::string(c.Keys.begin(), c.Keys.end()));
    std::fill(clicks.begin(), clicks.end(), 0);
    Qat->ShowShortCutHints();
    // Only enabled buttons with a tip show one.
    for (size_t i = 0; i < Buttons.size(); ++i) EXPECT_EQ(TipShows(Buttons[i]), i < 4) << i;
    Integer count = 0;
    EXPECT_EQ(Qat->ProcessShortCutKey(c.Keys, count), c.Result);
    EXPECT_EQ(count, c.Count);
    EXPECT_EQ(clicks, c.Clicks);
    for (size_t i = 0; i < Buttons.size(); ++i) EXPECT_EQ(TipShows(Buttons[i]), c.Showing[i]) << i;
    Qat->HideShortCutHints();
    for (TAdvGlowButton* b : Buttons) EXPECT_FALSE(TipShows(b));
  }
}

TEST_F(QuickAccessStyle, APrefixCountsTheTipsStillInPlay) {
  for (const char16_t* tip : {u"AB", u"AC", u"B", u"ABC"}) AddButton(tip);
  SetFormWidth(1000);
  Form->Show();
  PumpPending();
  Qat->ShowShortCutHints();
  Integer count = 0;
  EXPECT_FALSE(Qat->ProcessShortCutKey(u"A", count));
  EXPECT_EQ(count, 3);
  EXPECT_TRUE(TipShows(Buttons[0]));
  EXPECT_FALSE(TipShows(Buttons[2]));
  count = 0;
  EXPECT_TRUE(Qat->ProcessShortCutKey(u"AB", count));
  Qat->HideShortCutHints();
}

// ---------------------------------------------------------------------------
// Hints of disabled controls

TEST_F(QuickAccessStyle, DisabledControlShowsItsHintOnlyWhenThePagerSaysSo) {
  struct Row {
    bool Setting, Enabled;
    String Want;
  };
  const std::vector<Row> rows = {
      {true, false, u"Save the file"},
      {false, false, u""},
      {true, true, u""},  // an enabled control shows its own hint its own way
  };
  TAdvGlowButton* b = AddButton(u"", 30);
  b->SetHint(u"Save the file");
  b->SetShowHint(true);
  SetFormWidth(1000);
  Form->Show();
  PumpPending();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Setting);
    Pager->SetShowDisabledControlsHint(r.Setting);
    b->SetEnabled(r.Enabled);
    // Away from the button, then over it.
    Qat->Perform(WM_MOUSEMOVE, 0, PointToLParam(TPoint{Qat->Width() - 2, 1}));
    Qat->Perform(WM_MOUSEMOVE, 0, PointToLParam(TPoint{b->Left() + 5, b->Top() + 5}));
    if (r.Setting) {
      EXPECT_EQ(Qat->HintCtrl(), b);
    }
    THintInfo info;
    Qat->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, r.Want);
    if (!r.Want.empty()) {
      EXPECT_EQ(info.HintControl, b);
    }
  }
}

TEST_F(QuickAccessStyle, AHintControlThatGoesAwayIsForgotten) {
  TAdvGlowButton* b = AddButton(u"", 30);
  b->SetEnabled(false);
  SetFormWidth(1000);
  Form->Show();
  PumpPending();
  Pager->SetShowDisabledControlsHint(true);
  Qat->Perform(WM_MOUSEMOVE, 0, PointToLParam(TPoint{b->Left() + 5, b->Top() + 5}));
  ASSERT_EQ(Qat->HintCtrl(), b);
  delete b;
  Buttons.clear();
  EXPECT_EQ(Qat->HintCtrl(), nullptr);
  THintInfo info;
  Qat->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_TRUE(info.HintStr.empty());
}

}  // namespace
}  // namespace ribbon
