// A form's bar drawn by the owner-draw engine: the bar items take the styler's
// root-item looks (bar gradient to the bar's end, hover, open), the drop-down
// joins its bar item, and nothing is painted while the menu updates.
#include "menus/AdvMenus.h"
#include "platform/vcl/MenuBar.h"
#include "tests/menus/MenuFixture.h"

namespace {

class AdvMainMenuBar : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->AfterConstruction();
    form->SetBorderStyle(bsSingle);
    form->SetBounds(80, 80, 360, 200);
    menu = new TAdvMainMenu(form.get());
    file = AddItem(menu, menu->Items(), u"&File");
    open = AddItem(menu, file, u"&Open");
    edit = AddItem(menu, menu->Items(), u"&Edit");
    AddItem(menu, edit, u"&Copy");
    open->OnClick = [this](TObject*) { clicks.push_back("open"); };
    InstallItemHandlers(menu, nullptr, true);  // as loading the form's menu does
    TRootItem* ri = menu->GetCurrentMenuStyler()->RootItem();
    ri->SetColor(clRed);
    ri->SetColorTo(clRed);
    ri->SetHoverColor(clLime);
    ri->SetHoverColorTo(clLime);
    ri->SetHoverColorMirror(clNone);
    ri->SetSelectedColor(clBlue);
    ri->SetSelectedColorTo(clBlue);
    ri->SetSelectedColorMirror(clNone);
    form->SetMenu(menu);
    form->Show();
  }
  void TearDown() override {
    if (helper != nullptr) DeallocateHWnd(helper);
    form.reset();
    MenuTest::TearDown();
  }
  // Runs Action inside the menu loop the next press or key starts.
  void WhileOpen(std::function<void()> Action) {
    if (helper != nullptr) DeallocateHWnd(helper);
    helper = AllocateHWnd([Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(helper, WM_USER, 0, 0);
  }
  TPoint CellPoint(TMenuItem* i, Integer dx, Integer dy) const {
    const TRect r = MenuItemRect(form.get(), i);
    return form->ClientToScreen({r.Left + dx, r.Top + dy});
  }
  // The bar's pixel at a point in window coordinates.
  TColor BarPixel(Integer x, Integer y) {
    auto shot = testinput::Grab(form.get());
    return shot->Canvas()->Pixels(x, y);
  }

  std::unique_ptr<TForm> form;
  TAdvMainMenu* menu = nullptr;
  TMenuItem *file = nullptr, *open = nullptr, *edit = nullptr;
  std::vector<std::string> clicks;
  HWND helper = nullptr;
};

TEST_F(AdvMainMenuBar, EngineMeasuresTheCaptionAndPaintsTheBarGradientToTheBarsEnd) {
  TMenuBar* bar = form->MenuBar();
  ASSERT_NE(bar, nullptr);
  const Integer h = bar->Height();
  EXPECT_GE(h, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(form->ClientHeight(), 200 - 23 - 2 * 3);  // the caption and fixed frame only
  // The engine measures a bar item as its caption's width; the bar spaces it.
  TBitmap probe(10, 10);
  probe.Canvas()->SetFont(Screen->MenuFont());
  const Integer text = probe.Canvas()->TextWidth(u"File");
  EXPECT_NEAR(MenuItemRect(form.get(), file).Width(), text + 12, 1);
  // The last item paints the bar's gradient to the right end of the bar.
  const Integer right = form->ClientWidth() - 2;
  EXPECT_EQ(BarPixel(right, h / 2), clRed);
  EXPECT_EQ(BarPixel(MenuItemRect(form.get(), file).Left + 2, h / 2), clRed);
  // Under the pointer: the hover look.
  testinput::MouseMove(CellPoint(edit, 3, 3));
  EXPECT_EQ(BarPixel(MenuItemRect(form.get(), edit).Left + 3, 4), clLime);
  EXPECT_EQ(BarPixel(MenuItemRect(form.get(), file).Left + 3, 4), clRed);
  // The lit item is the last: the rest of the bar keeps the bar's look.
  EXPECT_EQ(BarPixel(right, h / 2), clRed);
}

TEST_F(AdvMainMenuBar, ClickOpensTheDropDownJoinedToItsItemAndAChosenItemRunsItsHandler) {
  TColor open0 = clNone, join = clNone, border = clNone;
  WhileOpen([&] {
    testinput::PaintPending();
    open0 = BarPixel(MenuItemRect(form.get(), file).Left + 3, 4);
    TWinControl* w = ActiveMenuWindow();
    ASSERT_NE(w, nullptr);
    auto shot = testinput::Grab(w);
    join = shot->Canvas()->Pixels(5, 1);
    border = shot->Canvas()->Pixels(1, 10);
    const TRect r = MenuItemRect(w, open);
    testinput::Click(w, {r.Left + 30, r.Top + 3});
  });
  testinput::MouseMove(CellPoint(file, 3, 3));
  testinput::MouseDown();
  testinput::MouseUp();
  TCustomAdvMenuStyler* st = menu->GetCurrentMenuStyler();
  EXPECT_EQ(open0, clBlue);  // the open item's look
  ASSERT_NE(st->Background()->Color(), st->MenuBorderColor());
  EXPECT_EQ(join, st->Background()->Color());  // the pop-up's top edge opens below its bar item
  EXPECT_EQ(border, st->MenuBorderColor());
  EXPECT_EQ(clicks, (std::vector<std::string>{"open"}));
  EXPECT_EQ(ActiveMenuWindow(), nullptr);
}

TEST_F(AdvMainMenuBar, BarItemsArePaintedOnlyOutsideAnUpdate) {
  const Integer x = MenuItemRect(form.get(), file).Left + 3;
  EXPECT_EQ(BarPixel(x, 4), clRed);
  menu->BeginUpdate();
  DrawMenuBar(form->Handle());
  EXPECT_EQ(BarPixel(x, 4), ColorToRGB(clMenuBar));
  // Items added meanwhile take the engine's handlers at the end and show.
  auto* view = AddItem(menu, menu->Items(), u"&View");
  menu->EndUpdate();
  EXPECT_EQ(BarPixel(x, 4), clRed);
  EXPECT_FALSE(MenuItemRect(form.get(), view).IsEmpty());
  EXPECT_EQ(BarPixel(MenuItemRect(form.get(), view).Left + 3, 4), clRed);
}

}  // namespace
