// Toolbar buttons on a toolbar: the hot look and the un-hot poll on the
// virtual clock, one hot button per toolbar, the control-list index, sizing
// to the toolbar's thickness and the hot face.
#include "tests/toolbar/ToolBarButtonFixture.h"

#include "platform/win/MessageLoop.h"
#include "toolbar/AdvToolBar.h"

namespace buttontest {

namespace {

class ButtonOnToolBarTest : public ToolBarButtonTest {
 protected:
  void SetUp() override {
    ToolBarButtonTest::SetUp();
    ToolBar = new toolbar::TZadEdevAzi(Form.get());
    ToolBar->SetParent(Form.get());
    ToolBar->SetBounds(0, 0, 300, 30);
  }
  TZadEdevAziButton* AddToolBarButton() {
    auto* b = new TZadEdevAziButton(Form.get());
    b->SetZadEdevAzi(ToolBar);
    return b;
  }
  toolbar::TZadEdevAzi* ToolBar = nullptr;
};

}  // namespace

TEST_F(ButtonOnToolBarTest, HotWhileThePointerRestsAndUnHotByThePollWhenNoLeaveCame) {
  auto* b = AddToolBarButton();
  ShowForm();
  ASSERT_EQ(b->ZadEdevAzi(), ToolBar);
  testinput::MouseMove(b, TPoint{3, 3});
  EXPECT_TRUE(b->Hot());
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_TRUE(b->UnHotTimerRunning());
  // The poll is a fallback: it does not wake the thread every millisecond.
  EXPECT_EQ(b->UnHotTimerInterval(), toolbar::UnHotPollInterval);
  EXPECT_GE(b->UnHotTimerInterval(), 50u);
  // Resting on the button keeps it hot.
  Clock->Advance(2000);
  PumpPending();
  EXPECT_TRUE(b->Hot());
  // The pointer leaves without a leave message (below the button, still
  // within its width): the next poll takes the hot look away.
  const TPoint below = b->ClientToScreen(TPoint{3, b->Height() + 1});
  Mouse->SetCursorPos(below);
  Clock->Advance(toolbar::UnHotPollInterval - 1);
  PumpPending();
  EXPECT_TRUE(b->Hot());
  Clock->Advance(1);
  PumpPending();
  EXPECT_FALSE(b->Hot());
  EXPECT_FALSE(b->MouseInControl());
  EXPECT_FALSE(b->UnHotTimerRunning());
  // Right of the button, level with it: outside as well.
  testinput::MouseMove(b, TPoint{3, 3});
  ASSERT_TRUE(b->Hot());
  Mouse->SetCursorPos(b->ClientToScreen(TPoint{b->Width(), 3}));
  Clock->Advance(toolbar::UnHotPollInterval);
  PumpPending();
  EXPECT_FALSE(b->Hot());
}

TEST_F(ButtonOnToolBarTest, LeavingEndsTheHotLookAndThePoll) {
  auto* b = AddToolBarButton();
  int enters = 0, leaves = 0;
  b->OnMouseEnter = [&](TObject*) { ++enters; };
  b->OnMouseLeave = [&](TObject*) { ++leaves; };
  ShowForm();
  testinput::MouseMove(b, TPoint{3, 3});
  EXPECT_TRUE(b->Hot());
  testinput::MouseMove(TPoint{390, 190});
  EXPECT_FALSE(b->Hot());
  EXPECT_FALSE(b->UnHotTimerRunning());
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}

TEST_F(ButtonOnToolBarTest, OnlyOneButtonIsHotAndOnlyAtRest) {
  auto* a = AddToolBarButton();
  auto* b = AddToolBarButton();
  EXPECT_EQ(a->Index(), 0);
  EXPECT_EQ(b->Index(), 1);
  a->SetHot(true);
  EXPECT_TRUE(a->Hot());
  b->SetHot(true);
  EXPECT_TRUE(b->Hot());
  EXPECT_FALSE(a->Hot());
  b->SetState(absDown);
  b->SetHot(true);
  EXPECT_FALSE(b->Hot());  // the hot look belongs to the state at rest
  // Without a toolbar there is no hot look at all.
  TZadEdevAziButton loose(nullptr);
  loose.SetHot(true);
  EXPECT_FALSE(loose.Hot());
}

TEST_F(ButtonOnToolBarTest, HotFaceUsesTheHotColoursAndTheShade) {
  auto* b = AddToolBarButton();
  b->SetAutoSize(false);
  b->SetBounds(b->Left(), b->Top(), 40, 26);
  b->SetParentStyler(false);
  b->Appearance()->SetColorHot(0x445566);
  b->Appearance()->SetColorHotTo(clNone);
  b->Appearance()->SetBorderHotColor(0x505050);
  auto g = Filled(10, 10, 0xFF00FF);
  g->Canvas()->Brush()->SetColor(0x0000FF);
  g->Canvas()->FillRect(TRect{0, 0, 10, 9});
  b->SetGlyph(g.get());
  ShowForm();
  testinput::MouseMove(b, TPoint{1, 1});
  ASSERT_TRUE(b->Hot());
  auto sheet = Filled(40, 26, 0x00FF00);
  b->DrawButton(sheet->Canvas());
  EXPECT_EQ(sheet->Canvas()->Pixels(0, 0), TColor(0x505050));
  EXPECT_EQ(sheet->Canvas()->Pixels(2, 2), TColor(0x445566));
  // Image at ((40 - 10) / 2, (26 - 10) / 2) = (15, 8); its shade two pixels right and below.
  EXPECT_EQ(sheet->Canvas()->Pixels(15, 8), TColor(0x0000FF));
  EXPECT_EQ(sheet->Canvas()->Pixels(15 + 10 + 1, 8 + 2), TColor(0x808080));
  EXPECT_EQ(sheet->Canvas()->Pixels(15 + 10 + 2, 8 + 2), TColor(0x445566));
}

TEST_F(ButtonOnToolBarTest, AutoSizeTakesTheToolBarsThickness) {
  auto* b = AddToolBarButton();
  ToolBar->SetAutoSize(false);
  ToolBar->SetBounds(0, 0, 300, 40);
  b->AdjustSize();
  EXPECT_EQ(b->Height(), 40 - 4);
  EXPECT_EQ(b->Width(), 15);
  // A toolbar that leaves its controls where they are keeps their heights.
  ToolBar->SetAutoPositionControls(false);
  b->SetBounds(b->Left(), b->Top(), b->Width(), 11);
  b->AdjustSize();
  EXPECT_EQ(b->Height(), 11);
  EXPECT_EQ(b->Width(), 15);
}

}  // namespace buttontest

namespace buttontest {

// The drop-down section shows DropDownMenu below the button's left edge, with
// the menu styler of the toolbar's styler, and an item may free the button.
TEST_F(ButtonOnToolBarTest, DropDownSectionShowsItsMenuBelowTheButton) {
  auto* b = AddToolBarButton();
  b->SetAutoSize(false);
  b->SetBounds(b->Left(), b->Top(), 40, 24);
  b->SetDropDownButton(true);
  auto* menu = new TAdvPopupMenu(Form.get());
  auto* item = new TMenuItem(menu);
  item->SetCaption(u"Erase");
  menu->Items()->Add(item);
  b->SetDropDownMenu(menu);
  ShowForm();
  TRect shown;
  HWND helper = nullptr;
  helper = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER) {
      PostMessage(helper, WM_USER + 1, 0, 0);
    } else if (m.Msg == WM_USER + 1) {
      if (TWinControl* w = ActiveMenuWindow()) shown = w->BoundsRect();
      CloseMenus();
    }
  });
  int drops = 0, clicks = 0;
  b->OnDropDown = [&](TObject*) { ++drops; };
  b->OnClick = [&](TObject*) { ++clicks; };
  PostMessage(helper, WM_USER, 0, 0);
  testinput::MouseMove(b, TPoint{35, 5});
  testinput::MouseDown();
  testinput::MouseUp();
  PumpPending();
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(clicks, 0);
  ASSERT_FALSE(shown.IsEmpty());
  const TPoint below = b->Parent()->ClientToScreen(TPoint{b->Left(), b->Top() + b->Height()});
  EXPECT_EQ(shown.Left, below.X);
  EXPECT_EQ(shown.Top, below.Y);
  EXPECT_EQ(menu->MenuStyler(), ToolBar->CurrentToolBarStyler()->CurrentAdvMenuStyler());
  EXPECT_EQ(b->State(), absUp);

  // An item that frees the button: nothing of it is touched afterwards.
  HWND chooser = AllocateHWnd([](TMessage& m) {
    if (m.Msg != WM_USER) return;
    testinput::KeyPress(VK_DOWN);
    testinput::KeyPress(VK_RETURN);
  });
  bool freed = false;
  item->OnClick = [&](TObject*) {
    delete b;
    freed = true;
  };
  PostMessage(chooser, WM_USER, 0, 0);
  testinput::MouseMove(b, TPoint{35, 5});
  testinput::MouseDown();
  testinput::MouseUp();
  PumpPending();
  EXPECT_TRUE(freed);
  EXPECT_EQ(ActiveMenuWindow(), nullptr);
  DeallocateHWnd(chooser);
  DeallocateHWnd(helper);
}

// A vertical caption runs down the button.
TEST_F(ButtonOnToolBarTest, VerticalCaptionRunsDown) {
  auto b = std::make_unique<TZadEdevAziButton>(nullptr);
  b->SetAutoSize(false);
  b->SetBounds(0, 0, 24, 90);
  b->SetParentStyler(false);
  b->SetCaption(u"Program");
  b->SetShowCaption(true);
  b->SetPosition(toolbar::daLeft);
  b->Appearance()->SetCaptionTextColor(0x0000FF);
  auto sheet = Filled(24, 90, 0xFFFFFF);
  b->DrawButton(sheet->Canvas());
  int left = 99, top = 99, right = -1, bottom = -1;
  for (int x = 0; x < 24; ++x)
    for (int y = 0; y < 90; ++y)
      if (Near(sheet->Canvas()->Pixels(x, y), 0x0000FF, 100)) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0);
  EXPECT_GT(bottom - top, 2 * (right - left));
  EXPECT_LE(right - left + 1, 16);
}

}  // namespace buttontest

namespace buttontest {

namespace {
void AddSquare(TImageList& list, TColor c) {
  auto b = Filled(16, 16, 0xFF00FF);
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(TRect{2, 2, 14, 14});
  list.AddMasked(b.get(), 0xFF00FF);
}
}  // namespace

// Which image list a button draws from: the toolbar's, its disabled list
// while disabled, an action's list, and the toolbar's again when forced.
TEST_F(ButtonOnToolBarTest, ImageListSources) {
  TImageList images(nullptr), disabled(nullptr), actionImages(nullptr);
  AddSquare(images, 0x0000FF);
  AddSquare(disabled, 0x808080);
  AddSquare(actionImages, 0xFF0000);
  ToolBar->SetImages(&images);
  ToolBar->SetDisabledImages(&disabled);
  auto* b = AddToolBarButton();
  b->SetAutoSize(false);
  b->SetBounds(b->Left(), b->Top(), 30, 30);
  b->SetImageIndex(0);
  auto paint = [&] {
    auto sheet = Filled(30, 30, 0x00FF00);
    b->DrawButton(sheet->Canvas());
    return sheet->Canvas()->Pixels(15, 15);
  };
  EXPECT_EQ(paint(), TColor(0x0000FF));
  b->SetEnabled(false);
  EXPECT_EQ(paint(), TColor(0x808080));
  b->SetEnabled(true);
  TActionList list(nullptr);
  list.SetImages(&actionImages);
  TAction action(nullptr);
  action.SetActionList(&list);
  action.SetImageIndex(0);
  b->SetAction(&action);
  EXPECT_EQ(paint(), TColor(0xFF0000));
  b->SetForceImageIndex(true);
  EXPECT_EQ(paint(), TColor(0x0000FF));
  b->SetAction(nullptr);
  ToolBar->SetDisabledImages(nullptr);
  ToolBar->SetImages(nullptr);
}

}  // namespace buttontest

namespace buttontest {

// The menu bar's buttons show their items' captions and paint with the menu
// styler's root-item colours.
TEST_F(ButtonOnToolBarTest, MenuBarButtonsUseTheMenuStylersColours) {
  auto* menu = new TMainMenu(Form.get());
  for (const char16_t* caption : {u"File", u"Edit", u"View", u"Help"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  ToolBar->SetMenu(menu);
  ASSERT_EQ(ToolBar->ToolBarControlCount(), 4);
  auto* file = dynamic_cast<TZadEdevAziMenuButton*>(ToolBar->GetToolBarControls(0));
  auto* help = dynamic_cast<TZadEdevAziMenuButton*>(ToolBar->GetToolBarControls(3));
  ASSERT_NE(file, nullptr);
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(file->ShowCaption());
  EXPECT_EQ(file->Caption(), u"File");
  EXPECT_GT(file->Width(), 15);  // sized from its caption
  TRootItem* root = ToolBar->CurrentToolBarStyler()->CurrentAdvMenuStyler()->RootItem();
  root->SetHoverColor(0x3366CC);
  root->SetHoverColorTo(clNone);
  root->SetSelectedColor(0x2288AA);
  root->SetSelectedColorTo(clNone);
  auto paint = [&](TZadEdevAziMenuButton* b) {
    auto sheet = Filled(b->Width(), b->Height(), 0x00FF00);
    b->DrawButton(sheet->Canvas());
    return sheet->Canvas()->Pixels(2, b->Height() / 2);
  };
  EXPECT_EQ(paint(file), TColor(0x00FF00));  // transparent at rest
  file->SetHot(true);
  EXPECT_EQ(paint(file), TColor(0x3366CC));
  file->SetHot(false);
  file->SetState(absDropDown);
  EXPECT_EQ(paint(file), TColor(0x2288AA));
  ToolBar->SetMenu(nullptr);
}

}  // namespace buttontest

namespace buttontest {

// The caption is measured in the styler's caption font, which differs from
// the button's own font (the one the height is measured in).
TEST_F(ButtonOnToolBarTest, AutoSizeMeasuresInTheCaptionFont) {
  TFont big;
  big.SetName(u"Tahoma");
  big.SetHeight(-24);
  big.SetStyle(TFontStyles{fsBold});
  ToolBar->CurrentToolBarStyler()->ButtonAppearance()->SetCaptionFont(&big);
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(&big);
  const int T = probe.Canvas()->TextWidth(u"Program");
  auto* b = AddToolBarButton();
  b->SetCaption(u"Program");
  b->SetShowCaption(true);
  b->AdjustSize();
  EXPECT_EQ(b->Width(), T + 8);
}

}  // namespace buttontest

namespace buttontest {

// A menu button whose menu does not drop does not stay pressed.
TEST_F(ButtonOnToolBarTest, MenuButtonThatDropsNothingReturnsToRest) {
  auto* menu = new TMainMenu(Form.get());
  auto* item = new TMenuItem(menu);
  item->SetCaption(u"File");
  menu->Items()->Add(item);
  ToolBar->SetMenu(menu);
  auto* file = dynamic_cast<TZadEdevAziMenuButton*>(ToolBar->GetToolBarControls(0));
  ASSERT_NE(file, nullptr);
  ShowForm();
  testinput::MouseMove(file, TPoint{3, 3});
  testinput::MouseDown();
  EXPECT_EQ(file->State(), absUp);
  testinput::MouseUp();
  EXPECT_EQ(file->State(), absUp);
  ToolBar->SetMenu(nullptr);
}

}  // namespace buttontest

namespace buttontest {

// With ParentStyler the pressed, latched and hot looks come from the
// styler's button appearance; the normal and disabled backgrounds always
// from the button's own.
TEST_F(ButtonOnToolBarTest, StylerOrOwnAppearancePerState) {
  toolbar::TButtonAppearance* sa = ToolBar->CurrentToolBarStyler()->ButtonAppearance();
  sa->SetColorHot(0x102030);
  sa->SetColorHotTo(clNone);
  sa->SetColorDown(0x405060);
  sa->SetColorDownTo(clNone);
  sa->SetColorChecked(0x708090);
  sa->SetColorCheckedTo(clNone);
  sa->SetColor(0x0A0B0C);
  auto* b = AddToolBarButton();
  b->SetAutoSize(false);
  b->SetBounds(b->Left(), b->Top(), 40, 24);
  b->SetTransparent(false);
  toolbar::TButtonAppearance* oa = b->Appearance();
  oa->SetColor(0x111111);
  oa->SetColorTo(clNone);
  oa->SetColorHot(0x222222);
  oa->SetColorHotTo(clNone);
  oa->SetColorDown(0x333333);
  oa->SetColorDownTo(clNone);
  oa->SetColorChecked(0x444444);
  oa->SetColorCheckedTo(clNone);
  auto paint = [&] {
    auto sheet = Filled(40, 24, 0x00FF00);
    b->DrawButton(sheet->Canvas());
    return sheet->Canvas()->Pixels(20, 12);
  };
  struct Case {
    bool ParentStyler;
    TColor Rest, Hot, Down, Latched;
  };
  for (Case c : {Case{true, 0x111111, 0x102030, 0x405060, 0x708090},
                 Case{false, 0x111111, 0x222222, 0x333333, 0x444444}}) {
    SCOPED_TRACE(c.ParentStyler);
    b->SetParentStyler(c.ParentStyler);
    b->SetGroupIndex(0);
    b->SetState(absUp);
    EXPECT_EQ(paint(), c.Rest);
    b->SetHot(true);
    EXPECT_EQ(paint(), c.Hot);
    b->SetHot(false);
    b->SetState(absDown);
    EXPECT_EQ(paint(), c.Down);
    b->SetState(absUp);
    b->SetGroupIndex(9);
    b->SetDown(true);
    EXPECT_EQ(paint(), c.Latched);
    b->SetAllowAllUp(true);
    b->SetDown(false);
  }
}

}  // namespace buttontest
