// The quick-access toolbar on a pager: its parent rule, the overflow of real
// controls as the form narrows and widens, the overflow window with the
// hidden controls and the customize button last, and the small arrow
// button's click rule.
#include <algorithm>
#include <vector>

#include "PagerFixture.h"
#include "platform/rtl/DestroyWatch.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Bitmap.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/ZadEdevAziForm.h"
#include "platform/theme/UxTheme.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {
namespace {

class QuickAccess : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    MakePages(2);
    Qat = new TAdvQuickAccessToolBar(Form.get());
    Qat->SetParent(Pager);
  }
  // Owned by the form, or with Owned false by no component (their parent
  // frees them).
  void AddButtons(int N, Integer W = 22, bool Owned = true) {
    for (int i = 0; i < N; ++i) {
      auto* b = new TAdvGlowButton(Owned ? Form.get() : nullptr);
      b->SetBounds(i * W, 0, W, 20);
      Qat->AddToolBarControl(b);
      b->SetBounds(b->Left(), b->Top(), W, 20);
      Buttons.push_back(b);
    }
  }
  // Every content control shown or hidden once; the shown ones inside the room.
  void ExpectSound() {
    std::vector<TControl*> all = Qat->ShownControls();
    all.insert(all.end(), Qat->HiddenControls().begin(), Qat->HiddenControls().end());
    ASSERT_EQ(all.size(), Buttons.size());
    for (TControl* b : Buttons) EXPECT_EQ(std::count(all.begin(), all.end(), b), 1);
    TQATLayout probe;
    probe.Look = Qat->Look();
    probe.Width = Qat->Width();
    probe.Height = Qat->Height();
    const Integer right = QATOverflowRight(probe);
    Integer x = -1;
    for (TControl* c : Qat->ShownControls()) {
      EXPECT_LE(c->Left() + c->Width(), right);
      EXPECT_GE(c->Left(), x);
      EXPECT_GE(c->Top(), 0);
      x = c->Left() + c->Width();
    }
    for (TControl* c : Qat->HiddenControls()) {
      if (c->Parent() == Qat) {
        EXPECT_LT(c->Top() + c->Height(), 1);
      }
    }
    const bool scroll = Qat->ScrollButton() != nullptr && Qat->ScrollButton()->Visible();
    EXPECT_EQ(scroll, !Qat->HiddenControls().empty());
    if (scroll && Qat->CustomizeButton() != nullptr && Qat->CustomizeButton()->Parent() == Qat) {
      EXPECT_FALSE(Qat->CustomizeButton()->Visible());
    }
  }
  void SetFormWidth(Integer W) {
    Form->SetBounds(0, 0, W, 200);
    Pager->SetBounds(0, 0, W, Pager->Height());
    Qat->UpdateSize();
    Qat->UpdateHiddenControls();
  }
  TAdvQuickAccessToolBar* Qat = nullptr;
  std::vector<TAdvGlowButton*> Buttons;
};

TEST_F(QuickAccess, OnlyAPagerIsAParent) {
  auto* q = new TAdvQuickAccessToolBar(Form.get());
  try {
    q->SetParent(Form.get());
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Invalid Parent");
  }
  q->SetParent(nullptr);
  // Not on a ribbon form: no glass drawing.
  EXPECT_FALSE(Qat->IsAeroVista());
}

TEST_F(QuickAccess, NarrowingHidesTheRightmostAndWideningBringsThemBackInOrder) {
  AddButtons(12);
  Qat->SetShowCustomizeOption(true);
  SetFormWidth(1400);
  ExpectSound();
  EXPECT_TRUE(Qat->HiddenControls().empty());
  EXPECT_TRUE(Qat->CustomizeButton()->Visible());

  SetFormWidth(400);
  ExpectSound();
  ASSERT_FALSE(Qat->HiddenControls().empty());
  // The hidden ones are the rightmost, in their order.
  const size_t shown = Qat->ShownControls().size();
  for (size_t k = 0; k < Qat->HiddenControls().size(); ++k)
    EXPECT_EQ(Qat->HiddenControls()[k], Buttons[shown + k]);
  EXPECT_FALSE(Qat->CustomizeButton()->Visible());

  for (Integer w = 400; w <= 1400; w += 7) {
    const size_t before = Qat->ShownControls().size();
    SetFormWidth(w);
    ExpectSound();
    ASSERT_GE(Qat->ShownControls().size(), before) << w;
    for (size_t k = 0; k < Qat->ShownControls().size(); ++k) EXPECT_EQ(Qat->ShownControls()[k], Buttons[k]);
  }
  EXPECT_TRUE(Qat->HiddenControls().empty());
  EXPECT_FALSE(Qat->ScrollButton()->Visible());
  EXPECT_TRUE(Qat->CustomizeButton()->Visible());
  EXPECT_EQ(Qat->CustomizeButton()->Parent(), Qat);
}

TEST_F(QuickAccess, OverflowWindowListsTheHiddenControlsThenTheCustomizeButton) {
  AddButtons(12);
  Qat->SetShowCustomizeOption(true);
  SetFormWidth(400);
  ASSERT_FALSE(Qat->HiddenControls().empty());
  const std::vector<TControl*> hidden = Qat->HiddenControls();
  Qat->ShowOverflowWindow(0, 0, false);
  toolbar::TControlSelectorPanel* panel = Qat->OverflowWindowPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(panel->ControlListCount(), Integer(hidden.size() + 1));
  for (size_t k = 0; k < hidden.size(); ++k) EXPECT_EQ(panel->ListedControl(Integer(k)), hidden[k]);
  EXPECT_EQ(panel->ListedControl(Integer(hidden.size())), Qat->CustomizeButton());
  EXPECT_TRUE(Qat->OverflowWindow()->Visible());
  Qat->HideOverflowWindow();
  EXPECT_FALSE(Qat->OverflowWindow()->Visible());

  // Widening brings the controls home from the panel.
  SetFormWidth(1400);
  ExpectSound();
  for (TAdvGlowButton* b : Buttons) EXPECT_EQ(b->Parent(), Qat);
  EXPECT_EQ(Qat->CustomizeButton()->Parent(), Qat);
  EXPECT_TRUE(Qat->CustomizeButton()->Visible());
}

// Clear frees the content, shown and hidden, and answers the controls it
// left alive: a hidden control the application took out of the overflow
// panel meanwhile (to another parent or to none) is not the toolbar's to
// free. A hidden control freed by the
// application meanwhile is not freed twice.
TEST_F(QuickAccess, ClearFreesTheContentAndAnswersWhatItLeftAlive) {
  // No owner: the toolbar hears of a freed control only by free notification.
  AddButtons(12, 22, false);
  Qat->SetShowCustomizeOption(true);
  SetFormWidth(400);
  ASSERT_GE(Qat->HiddenControls().size(), 4u);
  // The overflow window takes the hidden controls into its panel.
  Qat->ShowOverflowWindow(0, 0, false);
  const std::vector<TControl*> hidden = Qat->HiddenControls();
  ASSERT_EQ(hidden[0]->Parent(), Qat->OverflowWindowPanel());
  Qat->HideOverflowWindow();
  TControl* moved = hidden[0];
  moved->SetParent(Form.get());
  delete hidden[1];
  TControl* detached = hidden[3];
  detached->SetParent(nullptr);
  TDestroyWatch shown(Qat->ShownControls().front());
  TDestroyWatch hiddenInPanel(hidden[2]);

  std::vector<TControl*> left = Qat->Clear();
  std::sort(left.begin(), left.end());
  std::vector<TControl*> expected{moved, detached};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
  EXPECT_EQ(moved->Parent(), Form.get()) << "the moved control lives on where it went";
  EXPECT_TRUE(Qat->ShownControls().empty());
  EXPECT_TRUE(Qat->HiddenControls().empty());
  EXPECT_TRUE(shown.Gone());
  EXPECT_TRUE(hiddenInPanel.Gone());
  for (Integer i = 0; i < Qat->ControlCount(); ++i) {
    TControl* c = Qat->Controls(i);
    EXPECT_TRUE(c == Qat->CustomizeButton() || c == Qat->ScrollButton() || c == Qat->OverflowWindow())
        << "only the toolbar's own parts stay: " << StringToUtf8(c->ClassName());
  }
  EXPECT_TRUE(Qat->CustomizeButton()->Visible()) << "the customize button comes back";
  EXPECT_TRUE(Qat->ScrollButton() == nullptr || !Qat->ScrollButton()->Visible());
  // Nothing left to free: the answer is empty.
  EXPECT_TRUE(Qat->Clear().empty());
  delete moved;
  delete detached;
}

// The update count follows BeginUpdate and EndUpdate whatever the
// toolbar's visibility: a toolbar hidden or shown in between still lays
// itself out at the last EndUpdate, and never before.
TEST_F(QuickAccess, UpdateNestingCountsWhateverTheVisibility) {
  struct TCase {
    const char* Name;
    bool VisibleAtBegin, VisibleAtEnd;
  };
  const TCase cases[] = {
      {"visible throughout", true, true},
      {"hidden in between", true, false},
      {"shown in between", false, true},
      {"hidden throughout", false, false},
  };
  AddButtons(12);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SetFormWidth(1400);
    ASSERT_TRUE(Qat->HiddenControls().empty());
    Qat->SetVisible(c.VisibleAtBegin);
    Qat->BeginUpdate();
    Qat->BeginUpdate();
    Qat->SetVisible(c.VisibleAtEnd);
    SetFormWidth(400);
    EXPECT_TRUE(Qat->HiddenControls().empty()) << "no layout while updating";
    Qat->EndUpdate();
    EXPECT_TRUE(Qat->HiddenControls().empty()) << "one EndUpdate still to come";
    Qat->EndUpdate();
    EXPECT_FALSE(Qat->HiddenControls().empty()) << "the last EndUpdate lays the toolbar out";
    ExpectSound();
    // An EndUpdate too many changes nothing.
    Qat->EndUpdate();
    SetFormWidth(1400);
    EXPECT_TRUE(Qat->HiddenControls().empty());
    Qat->SetVisible(true);
  }
}

TEST_F(QuickAccess, EmptyOverflowShowsNothing) {
  AddButtons(2);
  SetFormWidth(1400);
  Qat->ShowOverflowWindow(0, 0, false);
  ASSERT_NE(Qat->OverflowWindow(), nullptr);
  EXPECT_FALSE(Qat->OverflowWindow()->Visible());
}

TEST_F(QuickAccess, CaptionPlacementWidthStaysBetweenMinimumAndReservedRoom) {
  AddButtons(1, 5);
  SetFormWidth(1400);
  EXPECT_EQ(Qat->Width(), QATMinWidth(1.0f));
  Buttons[0]->SetBounds(0, 0, 2000, 20);
  SetFormWidth(600);
  EXPECT_EQ(Qat->Width(), QuickAccessReservedRect(Pager, false).Width());
}

TEST_F(QuickAccess, FullSizeStripWithoutGradientIsOnePlainRectangle) {
  const TColor red = TColor(0x000000E0), blue = TColor(0x00E00000), grey = TColor(0x00808080);
  TQATAppearance* q = Pager->CurrentToolBarStyler()->QATAppearance();
  q->SetFullSizeColor(red);
  q->SetFullSizeColorTo(clNone);
  q->SetBorderColor(blue);
  q->SetFullSizeBorderColor(grey);
  Qat->SetFullSize(true);
  Form->Show();
  PumpPending();
  testinput::PaintPending();
  auto shot = testinput::Grab(Qat);
  const Integer w = Qat->Width(), h = Qat->Height();
  ASSERT_GT(w, 20);
  ASSERT_GT(h, 4);
  EXPECT_EQ(shot->Canvas()->Pixels(w / 2, h / 2), red);
  EXPECT_EQ(shot->Canvas()->Pixels(w - 5, h / 2), red);
  EXPECT_EQ(shot->Canvas()->Pixels(0, h / 2), blue);      // the outline
  EXPECT_EQ(shot->Canvas()->Pixels(w / 2, 0), blue);
  EXPECT_EQ(shot->Canvas()->Pixels(1, h / 2), red);       // no inner frame
}

class VistaButtonMouse : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    MakePages(1);
    Form->Show();
    PumpPending();
    Button = new TAdvVistaButton(Form.get());
    Button->SetParent(Pager);
    Button->SetBounds(300, 2, 20, 20);
    Button->OnClick = [this](TObject*) { ++Clicks; };
  }
  TAdvVistaButton* Button = nullptr;
  int Clicks = 0;
};

TEST_F(VistaButtonMouse, ClicksOnlyForTheLeftButtonReleasedInside) {
  struct Case {
    const char* name;
    TMouseButton button;
    TPoint releaseAt;
    int clicks;
  };
  const Case cases[] = {
      {"left inside", mbLeft, {10, 10}, 1},
      {"right inside", mbRight, {10, 10}, 0},
      {"left released outside", mbLeft, {60, 10}, 0},
  };
  for (const Case& c : cases) {
    Clicks = 0;
    testinput::MouseMove(Button, TPoint{10, 10});
    testinput::MouseDown(c.button);
    testinput::MouseMove(Button, c.releaseAt);
    testinput::MouseUp(c.button);
    PumpPending();
    EXPECT_EQ(Clicks, c.clicks) << c.name;
    EXPECT_FALSE(Button->MousePressed()) << c.name;
  }
  Button->SetEnabled(false);
  Clicks = 0;
  testinput::Click(Button, TPoint{10, 10});
  EXPECT_EQ(Clicks, 0);
}

// One colour for every part of a state's face.
void PaintStates(TGlowButtonAppearance* a, TColor Normal, TColor Hot, TColor Disabled) {
  a->SetColor(Normal), a->SetColorTo(Normal), a->SetColorMirror(Normal), a->SetColorMirrorTo(Normal);
  a->SetBorderColor(Normal);
  a->SetColorHot(Hot), a->SetColorHotTo(Hot), a->SetColorMirrorHot(Hot), a->SetColorMirrorHotTo(Hot);
  a->SetBorderColorHot(Hot);
  a->SetColorDisabled(Disabled), a->SetColorDisabledTo(Disabled), a->SetColorMirrorDisabled(Disabled);
  a->SetColorMirrorDisabledTo(Disabled), a->SetBorderColorDisabled(Disabled);
}

TColor PixelAt(TControl* Form, TControl* C, TPoint P) {
  testinput::PaintPending();
  auto shot = testinput::Grab(Form);
  const TPoint s = Form->ScreenToClient(C->ClientToScreen(P));
  return shot->Canvas()->Pixels(s.X, s.Y);
}

TEST_F(VistaButtonMouse, NormalFaceIsPaintedOnEveryPaint) {
  const TColor red = TColor(0x000000E0), blue = TColor(0x00E00000), green = TColor(0x0000C000);
  PaintStates(Button->Appearance(), red, green, blue);
  Button->SetScrollArrow(saNone);
  // At 100 % and after a change of scale: the normal face shows each time.
  EXPECT_EQ(PixelAt(Form.get(), Button, TPoint{6, 10}), red);
  toolbar::ToolBarDPIScale = 1.5f;
  Button->Invalidate();
  EXPECT_EQ(PixelAt(Form.get(), Button, TPoint{6, 10}), red);
  Pager->Invalidate();
  EXPECT_EQ(PixelAt(Form.get(), Button, TPoint{6, 10}), red);
  // Hot, then disabled under the pointer: the disabled colours win.
  testinput::MouseMove(Button, TPoint{10, 10});
  EXPECT_EQ(PixelAt(Form.get(), Button, TPoint{6, 10}), green);
  Button->SetEnabled(false);
  Button->Invalidate();
  EXPECT_EQ(PixelAt(Form.get(), Button, TPoint{6, 10}), blue);
}

// On glass the toolbar's paint leaves its children alone: painting it over
// and over repaints no child.
TEST(QuickAccessGlass, PaintingDoesNotInvalidateTheChildren) {
  EnsureGuiApplication();
  InitApplication();
  gdiplus::InitializeGdiplusUnit();
  RegisterThemeModules();
  SetDesktopCompositionForTest(true);
  {
    TZadEdevAziForm form(nullptr);
    form.AfterConstruction();
    form.SetBounds(0, 0, 800, 300);
    auto* pager = new TZadEdevAziPager(&form);
    pager->SetParent(&form);
    pager->AddAdvPage(u"One");
    pager->Loaded();
    auto* qat = new TAdvQuickAccessToolBar(&form);
    qat->SetParent(pager);
    auto* b = new TAdvGlowButton(&form);
    qat->AddToolBarControl(b);
    ASSERT_TRUE(qat->IsAeroVista());
    ASSERT_NE(qat->RefGlowButton(), nullptr);
    form.Show();
    PumpPending();
    testinput::PaintPending();
    int childPaints = 0;
    auto inner = qat->RefGlowButton()->WindowProc;
    qat->RefGlowButton()->WindowProc = [&](TMessage& M) {
      if (M.Msg == WM_PAINT) ++childPaints;
      inner(M);
    };
    for (int i = 0; i < 4; ++i) {
      qat->Invalidate();
      testinput::PaintPending();
      PumpPending();
    }
    qat->RefGlowButton()->WindowProc = inner;
    EXPECT_EQ(childPaints, 0);
  }
  PumpPending();
  SetDesktopCompositionForTest(false);
}

}  // namespace
}  // namespace ribbon
