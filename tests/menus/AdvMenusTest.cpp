// The menu components: stylers they keep, handlers they install, the
// pop-up's position, its framed window, and painting held back while updating.
#include "menus/AdvMenus.h"
#include "menus/MenuEngine.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/WindowRegion.h"
#include "tests/menus/MenuFixture.h"

namespace {

class AdvMenus : public MenuTest {
 protected:
  // Runs Action inside the pop-up menu's loop, once the menu shows. A shown
  // form takes the keys the action presses, as a program's window would.
  void WhileOpen(std::function<void()> Action) {
    if (!keyForm) {
      keyForm = std::make_unique<TForm>(nullptr);
      keyForm->AfterConstruction();
      keyForm->SetBorderStyle(bsNone);
      keyForm->SetBounds(500, 400, 50, 50);
      keyForm->Show();
    }
    if (helper != nullptr) DeallocateHWnd(helper);
    helper = AllocateHWnd([Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(helper, WM_USER, 0, 0);
  }
  void TearDown() override {
    if (helper != nullptr) DeallocateHWnd(helper);
    keyForm.reset();
    MenuTest::TearDown();
  }
  HWND helper = nullptr;
  std::unique_ptr<TForm> keyForm;
};

Integer CountOwned(TComponent* Owner, const std::function<bool(TComponent*)>& Kind) {
  Integer n = 0;
  for (Integer i = 0; i < Owner->ComponentCount(); ++i) n += Kind(Owner->Components(i)) ? 1 : 0;
  return n;
}

TEST_F(AdvMenus, DefaultsAndVersion) {
  TAdvPopupMenu popup(nullptr);
  TAdvMainMenu main(nullptr);
  EXPECT_TRUE(popup.OwnerDraw());
  EXPECT_TRUE(main.OwnerDraw());
  EXPECT_TRUE(popup.ShowNotes());
  EXPECT_FALSE(popup.IntlKeybShortCuts());
  EXPECT_EQ(popup.ActionImages(), aiNormal);
  EXPECT_EQ(popup.GetOpacity(), 255);
  EXPECT_EQ(main.UIStyle(), tsCustom);
  EXPECT_EQ(popup.Version(), u"2.7.1.11");
  EXPECT_EQ(main.GetVersionNr(), 0x0207010B);
  EXPECT_EQ(popup.MenuStyler(), nullptr);
  ASSERT_NE(popup.GetCurrentMenuStyler(), nullptr);
  EXPECT_EQ(popup.GetCurrentMenuStyler()->Name(), u"InternalMenuStyler");
  EXPECT_NE(dynamic_cast<TAdvMenuStyler*>(main.GetCurrentMenuStyler()), nullptr);
  EXPECT_EQ(dynamic_cast<TAdvMenuStyler*>(popup.GetCurrentMenuStyler()), nullptr);
}

TEST_F(AdvMenus, OutsideStylerReplacesTheInternalOneUntilItGoes) {
  TAdvPopupMenu menu(nullptr);
  auto outside = std::make_unique<TAdvMenuStyler>(nullptr);
  menu.SetMenuStyler(outside.get());
  EXPECT_EQ(menu.InternalMenuStyler(), nullptr);
  EXPECT_EQ(menu.GetCurrentMenuStyler(), outside.get());
  EXPECT_EQ(outside->Menu(), &menu);
  // A style is not applied over an outside styler.
  menu.SetUIStyle(tsOffice2019Black);
  EXPECT_EQ(menu.GetCurrentMenuStyler(), outside.get());
  outside.reset();
  ASSERT_NE(menu.GetCurrentMenuStyler(), nullptr);
  EXPECT_EQ(menu.GetCurrentMenuStyler()->Name(), u"InternalMenuStyler");
  EXPECT_EQ(menu.MenuStyler(), nullptr);
}

TEST_F(AdvMenus, AStylerSharedByMenusForgetsAMenuThatGoes) {
  // A toolbar gives every menu it drops the same outside styler and frees
  // the menu after it closed: the styler must not keep pointing at it.
  auto outside = std::make_unique<TAdvMenuStyler>(nullptr);
  auto first = std::make_unique<TAdvPopupMenu>(nullptr);
  first->SetMenuStyler(outside.get());
  EXPECT_EQ(outside->Menu(), first.get());
  first.reset();
  EXPECT_EQ(outside->Menu(), nullptr);
  TAdvPopupMenu next(nullptr);
  next.SetMenuStyler(outside.get());
  EXPECT_EQ(outside->Menu(), &next);
  // Leaving for the internal styler forgets it too.
  next.SetMenuStyler(nullptr);
  EXPECT_EQ(outside->Menu(), nullptr);
}

TEST_F(AdvMenus, SharedStylesReuseOneOfficeStylerPerMenu) {
  for (bool mainMenu : {false, true}) {
    std::unique_ptr<TMenu> owner;
    IVornStyle* styled;
    IAdvMenu* intf;
    if (mainMenu) {
      auto* m = new TAdvMainMenu(nullptr);
      owner.reset(m);
      styled = m;
      intf = m;
    } else {
      auto* m = new TAdvPopupMenu(nullptr);
      owner.reset(m);
      styled = m;
      intf = m;
    }
    auto offices = [&] {
      return CountOwned(owner.get(), [](TComponent* c) { return dynamic_cast<TAdvMenuOfficeStyler*>(c) != nullptr; });
    };
    styled->SetComponentStyle(tsCustom);
    EXPECT_EQ(offices(), 0);
    styled->SetComponentStyle(tsOffice2019Black);
    styled->SetComponentStyle(tsWindows10);
    styled->SetComponentStyle(tsOffice2003Olive);
    EXPECT_EQ(offices(), 1) << mainMenu;
    auto* office = dynamic_cast<TAdvMenuOfficeStyler*>(intf->GetCurrentMenuStyler());
    ASSERT_NE(office, nullptr);
    EXPECT_EQ(office->Style(), osOffice2003Olive);
  }
}

TEST_F(AdvMenus, HandlersAreInstalledOnceAndUsersOwnAreKept) {
  TAdvPopupMenu menu(nullptr);
  auto* plain = AddItem(&menu, menu.Items(), u"Plain");
  auto* measured = new TMenuItem(&menu);
  int userMeasures = 0;
  measured->OnMeasureItem = [&](TObject*, TCanvas*, Integer& w, Integer& h) {
    ++userMeasures;
    w = 77;
    h = 11;
  };
  menu.Items()->Add(measured);
  auto* drawn = new TMenuItem(&menu);
  bool userDrew = false;
  drawn->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool) { userDrew = true; };
  menu.Items()->Add(drawn);
  auto* child = AddItem(&menu, plain, u"Child");  // added later, deeper
  for (TMenuItem* i : {plain, child}) {
    EXPECT_NE(i->OnMeasureItem.target<TAdvMenuMeasureThunk>(), nullptr);
    EXPECT_NE(i->OnAdvancedDrawItem.target<TAdvMenuDrawThunk>(), nullptr);
  }
  EXPECT_EQ(measured->OnMeasureItem.target<TAdvMenuMeasureThunk>(), nullptr);
  EXPECT_NE(measured->OnAdvancedDrawItem.target<TAdvMenuDrawThunk>(), nullptr);
  EXPECT_EQ(drawn->OnAdvancedDrawItem, nullptr);
  InstallItemHandlers(&menu, nullptr, true);
  TBitmap b(50, 20);
  Integer w = 0, h = 0;
  measured->MeasureItem(b.Canvas(), w, h);
  EXPECT_EQ(userMeasures, 1);
  EXPECT_EQ(w, 77);
  drawn->AdvancedDrawItem(b.Canvas(), TRect{0, 0, 50, 20}, {}, false);
  EXPECT_TRUE(userDrew);
}

TEST_F(AdvMenus, MainMenuPaintsNothingWhileUpdating) {
  TAdvMainMenu menu(nullptr);
  auto* file = AddItem(&menu, menu.Items(), u"File");
  auto* open = AddItem(&menu, file, u"Open");
  TBitmap b(120, 24);
  auto clear = [&] {
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect{0, 0, 120, 24});
  };
  clear();
  InstallItemHandlers(&menu, nullptr, true);  // as loading the menu does
  menu.BeginUpdate();
  menu.BeginUpdate();
  EXPECT_TRUE(menu.MenuUpdating());
  open->AdvancedDrawItem(b.Canvas(), TRect{0, 0, 120, 24}, {}, false);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clWhite);
  menu.EndUpdate();
  open->AdvancedDrawItem(b.Canvas(), TRect{0, 0, 120, 24}, {}, false);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clWhite);  // one update still pending
  menu.EndUpdate();
  menu.EndUpdate();  // unmatched: the counter stays at 0
  EXPECT_EQ(menu.UpdateRef(), 0);
  EXPECT_FALSE(menu.MenuUpdating());
  open->AdvancedDrawItem(b.Canvas(), TRect{0, 0, 120, 24}, {}, false);
  EXPECT_EQ(b.Canvas()->Pixels(0, 5), menu.GetCurrentMenuStyler()->IconBar()->Color());
}

// Where the pop-up shows for each alignment: shifted by the edge allowance,
// then 1 left and 2 up when its window is framed.
TEST_F(AdvMenus, PopupPositionFollowsAlignmentAndTheEdgeAllowance) {
  const Integer A = MenuEdgeWidth;
  struct Case {
    TPopupAlignment Align;
    Integer X;
  } cases[] = {{paLeft, 40}, {paRight, 400}, {paCenter, 300}};
  for (const Case& c : cases) {
    TAdvPopupMenu menu(nullptr);
    menu.SetAlignment(c.Align);
    AddItem(&menu, menu.Items(), u"First");
    Integer left = 0, top = 0, width = 0;
    WhileOpen([&] {
      TWinControl* w = ActiveMenuWindow();
      ASSERT_NE(w, nullptr);
      testinput::PaintPending();
      left = w->Left();
      top = w->Top();
      width = w->Width();
      testinput::KeyPress(VK_ESCAPE);
    });
    menu.Popup(c.X, 50);
    Integer want = c.Align == paLeft ? c.X : c.Align == paRight ? c.X + A - width : c.X + A / 2 - width / 2;
    EXPECT_EQ(left, want - 1) << int(c.Align);
    EXPECT_EQ(top, 48) << int(c.Align);
  }
}

TEST_F(AdvMenus, PopupAtControlOpensAtTheChosenCornerPlusDeltas) {
  TForm form(nullptr);
  form.AfterConstruction();
  form.SetBorderStyle(bsNone);
  form.SetBounds(100, 100, 200, 120);
  form.Show();
  TAdvPopupMenu menu(nullptr);
  AddItem(&menu, menu.Items(), u"First");
  TPoint at;
  WhileOpen([&] {
    testinput::PaintPending();
    at = TPoint{ActiveMenuWindow()->Left(), ActiveMenuWindow()->Top()};
    testinput::KeyPress(VK_ESCAPE);
  });
  menu.PopupAtControl(&form, pcpCenter, 5, 7);
  const TPoint o = form.ClientOrigin();
  EXPECT_EQ(at.X, o.X + 100 + 5 - 1);
  EXPECT_EQ(at.Y, o.Y + 60 + 7 - 2);
}

TEST_F(AdvMenus, PopupWindowIsFramedSubclassedAndAnItemChosenByKeyRunsItsHandler) {
  TAdvPopupMenu menu(nullptr);
  AddItem(&menu, menu.Items(), u"Alpha");
  AddItem(&menu, menu.Items(), u"-");
  auto* beta = AddItem(&menu, menu.Items(), u"Beta");
  int clicks = 0, closes = 0;
  beta->OnClick = [&](TObject*) { ++clicks; };
  menu.OnClose = [&](TObject*) { ++closes; };
  const Integer A = MenuEdgeWidth;
  WhileOpen([&] {
    TWinControl* w = ActiveMenuWindow();
    ASSERT_NE(w, nullptr);
    testinput::PaintPending();
    EXPECT_TRUE(IsPopupWindowSubclassed(w->Handle()));
    TRect box;
    EXPECT_NE(GetWindowRgnBox(w->Handle(), &box), ERROR);
    EXPECT_EQ(box, (TRect{1, 1, w->Width() - 1 - A, w->Height() - 1}));
    EXPECT_EQ(SendMessage(w->Handle(), WM_ERASEBKGND, 0, 0), 1);
    // The frame in the styler's border colour.
    auto shot = testinput::Grab(w);
    EXPECT_EQ(shot->Canvas()->Pixels(1, 10), menu.GetCurrentMenuStyler()->MenuBorderColor());
    testinput::KeyPress(VK_DOWN);
    testinput::KeyPress(VK_DOWN);
    testinput::KeyPress(VK_RETURN);
  });
  menu.Popup(60, 60);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(closes, 1);
}

}  // namespace
