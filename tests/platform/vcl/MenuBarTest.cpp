// The menu bar of a form: geometry, hit testing, the mouse and keyboard roads
// into its drop-downs, the owner-draw hooks for bar items, and repainting on change.
#include "platform/vcl/MenuBar.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

class MenuBars : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    form = NewForm(300, 200, bsSingle);
    menu = new TMainMenu(form);
    file = Item(menu->Items(), u"&File");
    open = Item(file, u"&Open");
    Item(file, u"-");
    save = Item(file, u"&Save");
    edit = Item(menu->Items(), u"&Edit");
    copy = Item(edit, u"&Copy");
    help = Item(menu->Items(), u"&Help");  // no children: runs itself
  }
  void TearDown() override {
    if (helper != nullptr) DeallocateHWnd(helper);
    VclTest::TearDown();
  }
  TMenuItem* Item(TMenuItem* parent, const char16_t* caption) {
    auto* i = new TMenuItem(form);
    i->SetCaption(caption);
    i->OnClick = [this, i](TObject*) { log.push_back("click " + Utf8(i->Caption())); };
    parent->Add(i);
    return i;
  }
  TMenuBar* Bar() const { return form->MenuBar(); }
  // A bar item's cell on the screen.
  TRect Cell(TMenuItem* i) const {
    const TRect r = MenuItemRect(form, i);
    const TPoint o = form->ClientOrigin();
    return {r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y};
  }
  static TPoint Mid(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  // The caption of the item whose children the deepest open menu window shows; "" when none shows.
  static std::string Showing() {
    TWinControl* w = ActiveMenuWindow();
    TMenuItem* p = w != nullptr ? MenuWindowParentItem(w) : nullptr;
    return p != nullptr ? Utf8(p->Caption()) : "";
  }
  // Runs the steps one per posted message: each runs inside whatever menu
  // loop the step before it started (its message is queued before that step runs).
  void Steps(std::vector<std::function<void()>> steps) {
    pending = std::move(steps);
    next = 0;
    if (helper == nullptr)
      helper = AllocateHWnd([this](TMessage& m) {
        if (m.Msg != WM_USER || next >= pending.size()) return;
        auto step = pending[next++];
        if (next < pending.size()) PostMessage(helper, WM_USER, 0, 0);
        step();
      });
    PostMessage(helper, WM_USER, 0, 0);
  }
  void Note(const std::string& s) { log.push_back(s); }

  TForm* form = nullptr;
  TMainMenu* menu = nullptr;
  TMenuItem *file = nullptr, *open = nullptr, *save = nullptr, *edit = nullptr, *copy = nullptr, *help = nullptr;
  Log log;
  HWND helper = nullptr;
  std::vector<std::function<void()>> pending;
  std::size_t next = 0;
};

TEST_F(MenuBars, BarSitsAboveTheClientAreaWhichKeepsItsSize) {
  const TRect client = form->ClientRect();
  const Integer outer = form->Height();
  const TPoint origin = form->ClientOrigin();
  form->SetMenu(menu);
  ASSERT_NE(Bar(), nullptr);
  const Integer h = Bar()->Height();
  EXPECT_GE(h, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(form->ClientRect(), client);
  EXPECT_EQ(form->Height(), outer + h);
  EXPECT_EQ(form->ClientOrigin().Y, origin.Y + h);
  // One cell per visible item, left to right from the bar's left, above the client area.
  const TRect f = MenuItemRect(form, file), e = MenuItemRect(form, edit), hl = MenuItemRect(form, help);
  EXPECT_EQ(f.Left, 0);
  EXPECT_EQ(f.Top, -h);
  EXPECT_EQ(f.Bottom, 0);
  EXPECT_EQ(e.Left, f.Right);
  EXPECT_EQ(hl.Left, e.Right);
  EXPECT_GT(f.Width(), 12);
  // GetMenuItemRect counts visible items; a hidden one has no cell and shifts the rest.
  edit->SetVisible(false);
  EXPECT_TRUE(MenuItemRect(form, edit).IsEmpty());
  EXPECT_EQ(MenuItemRect(form, help).Left, f.Right);
  TRect r;
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), 1, &r));
  EXPECT_EQ(r, Cell(help));
  EXPECT_FALSE(GetMenuItemRect(form->Handle(), menu->Handle(), 2, &r));
  EXPECT_FALSE(GetMenuItemRect(form->Handle(), file->Handle(), 0, &r));
  // No visible item, no bar; the client area still keeps its size.
  for (TMenuItem* i : {file, help}) i->SetVisible(false);
  EXPECT_EQ(Bar()->Height(), 0);
  EXPECT_EQ(form->Height(), outer);
  EXPECT_EQ(form->ClientRect(), client);
  for (TMenuItem* i : {file, edit, help}) i->SetVisible(true);
  EXPECT_EQ(form->Height(), outer + h);
  // Taking the menu away, or freeing it, removes the bar.
  form->SetMenu(nullptr);
  EXPECT_EQ(form->Height(), outer);
  form->SetMenu(menu);
  EXPECT_EQ(form->Height(), outer + h);
  delete menu;
  menu = nullptr;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(form->Height(), outer);
  EXPECT_EQ(form->ClientRect(), client);
}

TEST_F(MenuBars, BarShowsInTheWindowAndChildrenStayInTheClientArea) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 40, 30);
  panel->SetColor(clRed);
  form->SetColor(clBlue);
  form->SetMenu(menu);
  form->Show();
  Settle();
  const Integer h = Bar()->Height();
  auto shot = testinput::Grab(form);
  ASSERT_EQ(shot->Height(), form->ClientHeight() + h);
  // Past the last item the bar shows its own colour; below it the client area begins.
  const Integer right = MenuItemRect(form, help).Right;
  EXPECT_EQ(PixelOf(shot.get(), right + 10, h / 2), ColorToRGB(clMenuBar));
  EXPECT_EQ(PixelOf(shot.get(), 10, h + 10), clRed);
  EXPECT_EQ(PixelOf(shot.get(), 100, h + 10), clBlue);
  // The pointer at the client area's top-left hits the panel, not the bar.
  testinput::Click(form, {5, 5});
  EXPECT_EQ(MouseControl(), panel);
}

TEST_F(MenuBars, PointerHotTracksPressRunsAnItemWithoutChildrenAndOpensDropDowns) {
  form->SetMenu(menu);
  form->Show();
  testinput::MouseMove(Mid(Cell(edit)));
  EXPECT_EQ(Bar()->HotItem(), edit);
  testinput::MouseMove(form, {100, 100});
  EXPECT_EQ(Bar()->HotItem(), nullptr);
  // An item without children runs when released over it, not when dragged off.
  testinput::Click(form, {0, 0});
  testinput::MouseMove(Mid(Cell(help)));
  testinput::MouseDown();
  EXPECT_EQ(Bar()->OpenItem(), help);
  testinput::MouseUp();
  EXPECT_EQ(log, (Log{"click &Help"}));
  testinput::MouseDown();
  testinput::MouseMove(form, {100, 100});
  testinput::MouseUp();
  EXPECT_EQ(log, (Log{"click &Help"}));
  // A press on File opens its drop-down below the cell; moving onto Edit
  // switches to Edit's; a click there runs Copy and ends menu mode.
  log.clear();
  Steps({[&] {
           Note("showing " + Showing());
           TWinControl* w = ActiveMenuWindow();
           Note(w->Left() == Cell(file).Left && w->Top() == form->ClientOrigin().Y ? "below" : "misplaced");
           Note(Bar()->OpenItem() == file ? "file open" : "file not open");
           testinput::MouseUp();  // the release of the opening press changes nothing
           testinput::MouseMove(Mid(Cell(help)));  // no children: the drop-down stays
           Note("showing " + Showing());
           testinput::MouseMove(Mid(Cell(edit)));
         },
         [&] {
           Note("showing " + Showing());
           TWinControl* w = ActiveMenuWindow();
           const TRect r = MenuItemRect(w, copy);
           testinput::Click(w, {r.Left + 5, r.Top + 3});
         }});
  testinput::MouseMove(Mid(Cell(file)));
  testinput::MouseDown();
  EXPECT_EQ(log, (Log{"showing &File", "below", "file open", "showing &File", "showing &Edit", "click &Copy"}));
  EXPECT_FALSE(Bar()->InMenuMode());
  EXPECT_EQ(Bar()->OpenItem(), nullptr);
  EXPECT_EQ(ActiveMenuWindow(), nullptr);
  // A press on the open item closes its drop-down; so does a press off the menus.
  log.clear();
  Steps({[&] { testinput::MouseDown(); }});
  testinput::MouseMove(Mid(Cell(file)));
  testinput::MouseDown();
  testinput::MouseUp();
  Steps({[&] {
    testinput::MouseMove(form, {150, 150});
    testinput::MouseDown();
  }});
  testinput::MouseMove(Mid(Cell(edit)));
  testinput::MouseDown();
  testinput::MouseUp();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(ActiveMenuWindow(), nullptr);
  // Disabled items neither open nor run.
  edit->SetEnabled(false);
  help->SetEnabled(false);
  testinput::Click(form, {0, 0});
  for (TMenuItem* i : {edit, help}) {
    testinput::MouseMove(Mid(Cell(i)));
    testinput::MouseDown();
    testinput::MouseUp();
  }
  EXPECT_TRUE(log.empty());
}

TEST_F(MenuBars, KeyboardRoadThroughTheBar) {
  auto* box = new TEdit(form);
  box->SetParent(form);
  form->SetMenu(menu);
  form->Show();
  box->SetFocus();
  testinput::MouseMove(form, {100, 100});  // the pointer rests off the bar
  // F10: the first item hot; Left wraps to the last; Right back; Down opens
  // File with its first item selected; Right (no sub-menu) moves on to Edit's
  // drop-down, Left back to File's; Esc returns to the bar, Esc leaves.
  Steps({[&] {
           Note(Bar()->InMenuMode() && Bar()->HotItem() == file ? "file hot" : "not in mode");
           testinput::KeyPress(VK_LEFT);
         },
         [&] {
           Note(Bar()->HotItem() == help ? "help hot" : "?");
           testinput::KeyPress(VK_RIGHT);
         },
         [&] { testinput::KeyPress(VK_DOWN); },
         [&] {
           Note("showing " + Showing());
           testinput::KeyPress(VK_RIGHT);
         },
         [&] {
           Note("showing " + Showing());
           testinput::KeyPress(VK_LEFT);
         },
         [&] {
           Note("showing " + Showing());
           testinput::KeyPress(VK_ESCAPE);
         },
         [&] {
           Note("showing " + Showing() + (Bar()->HotItem() == file ? " file hot" : ""));
           testinput::KeyPress(VK_ESCAPE);
         }});
  testinput::KeyPress(VK_F10);
  EXPECT_EQ(log, (Log{"file hot", "help hot", "showing &File", "showing &Edit", "showing &File", "showing  file hot"}));
  EXPECT_FALSE(Bar()->InMenuMode());
  EXPECT_EQ(Bar()->HotItem(), nullptr);
  EXPECT_EQ(box->Text(), u"");

  // Alt alone: keyboard mode; Enter opens; Down past the separator, Enter runs Save.
  log.clear();
  Steps({[&] { testinput::KeyPress(VK_RETURN); },
         [&] {
           testinput::KeyPress(VK_DOWN);
           testinput::KeyPress(VK_RETURN);
         }});
  testinput::KeyDown(VK_MENU, {ssAlt});
  testinput::KeyUp(VK_MENU);
  EXPECT_EQ(log, (Log{"click &Save"}));
  EXPECT_FALSE(Bar()->InMenuMode());

  // Alt+E opens Edit with Copy selected; Enter runs it. Alt+H runs Help at once.
  log.clear();
  Steps({[&] {
    Note("showing " + Showing());
    testinput::KeyUp('E');
    testinput::KeyUp(VK_MENU);  // Alt went down before the drop-down: its release keeps it
    Note("showing " + Showing());
    testinput::KeyPress(VK_RETURN);
  }});
  testinput::KeyDown(VK_MENU, {ssAlt});
  testinput::KeyDown('E', {ssAlt});
  testinput::KeyPress('H', {ssAlt});
  testinput::KeyUp(VK_MENU);
  EXPECT_EQ(log, (Log{"showing &Edit", "showing &Edit", "click &Copy", "click &Help"}));
  EXPECT_FALSE(Bar()->InMenuMode());

  // Alt with a letter no item has does nothing; Alt used for a shortcut does not enter the bar.
  log.clear();
  save->SetShortCut(ShortCut('S', {ssAlt}));
  testinput::KeyDown(VK_MENU, {ssAlt});
  testinput::KeyPress('Q', {ssAlt});
  testinput::KeyPress('S', {ssAlt});
  testinput::KeyUp(VK_MENU);
  EXPECT_EQ(log, (Log{"click &Save"}));
  EXPECT_FALSE(Bar()->InMenuMode());

  // In keyboard mode a press on the client area leaves it; Alt pressed again leaves it too.
  Steps({[&] {
    testinput::MouseMove(form, {100, 100});
    testinput::MouseDown();
  }});
  testinput::KeyPress(VK_F10, {});
  testinput::MouseUp();
  EXPECT_FALSE(Bar()->InMenuMode());
  Steps({[&] {
    testinput::KeyDown(VK_MENU, {ssAlt});
    testinput::KeyUp(VK_MENU);
  }});
  testinput::KeyPress(VK_F10, {});
  EXPECT_FALSE(Bar()->InMenuMode());
  EXPECT_EQ(log, (Log{"click &Save"}));
}

TEST_F(MenuBars, OwnerDrawnBarItemsAreMeasuredAndPaintedThroughTheHooksWithTheirStates) {
  menu->SetOwnerDraw(true);
  Log draws;
  HWND drawnIn = nullptr;
  for (TMenuItem* i : {file, edit, help}) {
    i->OnMeasureItem = [i](TObject*, TCanvas* c, Integer& w, Integer& h) {
      EXPECT_NE(c->Handle(), nullptr);
      w = 40 + i->MenuIndex() * 10;
      h = 26;
    };
    i->OnAdvancedDrawItem = [&, i](TObject*, TCanvas* c, TRect r, TOwnerDrawState s) {
      std::string st;
      if (s.Contains(odSelected)) st += " selected";
      if (s.Contains(odHotLight)) st += " hot";
      if (s.Contains(odDisabled)) st += " disabled";
      draws.push_back(Utf8(i->Caption()) + " " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" +
                      std::to_string(r.Right) + "," + std::to_string(r.Bottom) + st);
      drawnIn = WindowFromDC(c->Handle());
      c->Brush()->SetColor(clLime);
      c->FillRect(r);
    };
  }
  help->SetEnabled(false);
  form->SetMenu(menu);
  form->Show();
  Settle();
  // Measured widths plus the bar's spacing; the tallest item sets the bar's height.
  EXPECT_EQ(Bar()->Height(), 26);
  EXPECT_EQ(draws, (Log{"&File 0,0-52,26", "&Edit 52,0-114,26", "&Help 114,0-186,26 disabled"}));
  EXPECT_EQ(drawnIn, form->Handle());
  auto shot = testinput::Grab(form);
  EXPECT_EQ(PixelOf(shot.get(), 60, 10), clLime);
  draws.clear();
  testinput::MouseMove(Mid(Cell(edit)));
  Settle();
  EXPECT_EQ(draws, (Log{"&File 0,0-52,26", "&Edit 52,0-114,26 hot", "&Help 114,0-186,26 disabled"}));
  draws.clear();
  Steps({[&] {
           testinput::PaintPending();
           testinput::KeyPress(VK_ESCAPE);
         },
         [&] { testinput::KeyPress(VK_ESCAPE); }});
  testinput::MouseDown();
  ASSERT_GE(draws.size(), 3u);
  EXPECT_EQ(draws[1], "&Edit 52,0-114,26 selected");
}

TEST_F(MenuBars, ChangesToTheItemsRepaintTheBar) {
  menu->SetOwnerDraw(true);
  Log draws;
  auto watch = [&](TMenuItem* i) {
    i->OnAdvancedDrawItem = [&draws, i](TObject*, TCanvas*, TRect, TOwnerDrawState s) {
      draws.push_back(Utf8(i->Caption()) + (s.Contains(odDisabled) ? " disabled" : ""));
    };
  };
  for (TMenuItem* i : {file, edit, help}) watch(i);
  form->SetMenu(menu);
  form->Show();
  Settle();
  const Integer fileWidth = MenuItemRect(form, file).Width();
  struct Case {
    const char* what;
    std::function<void()> change;
    Log expected;
  };
  const Case cases[] = {
      {"rename", [&] { file->SetCaption(u"&File and more"); }, {"&File and more", "&Edit", "&Help"}},
      {"hide", [&] { edit->SetVisible(false); }, {"&File and more", "&Help"}},
      {"add", [&] { watch(Item(menu->Items(), u"&View")); }, {"&File and more", "&Help", "&View"}},
      {"remove", [&] { menu->Items()->Remove(help); }, {"&File and more", "&View"}},
      {"disable", [&] { file->SetEnabled(false); }, {"&File and more disabled", "&View"}},
  };
  for (const Case& c : cases) {
    draws.clear();
    c.change();
    Settle();
    EXPECT_EQ(draws, c.expected) << c.what;
  }
  EXPECT_GT(MenuItemRect(form, file).Width(), fileWidth);
  // DrawMenuBar repaints on request; a window without a bar answers FALSE.
  draws.clear();
  EXPECT_TRUE(DrawMenuBar(form->Handle()));
  Settle();
  EXPECT_EQ(draws.size(), 2u);
  TForm* other = NewForm();
  other->HandleNeeded();
  EXPECT_FALSE(DrawMenuBar(other->Handle()));
}

TEST_F(MenuBars, AnOpenDropDownFollowsChangesToItsItems) {
  form->SetMenu(menu);
  form->Show();
  Steps({[&] {
    TWinControl* w = ActiveMenuWindow();
    const Integer before = w->Height();
    file->Delete(file->IndexOf(save));  // freed while it shows
    save = nullptr;
    auto* recent = Item(file, u"&Recent");
    open->SetVisible(false);
    testinput::PaintPending();
    Note(MenuItemRect(w, open).IsEmpty() && !MenuItemRect(w, recent).IsEmpty() ? "relaid" : "stale");
    Note(w->Height() < before ? "shrunk" : "kept its height");
    // The open bar item itself goes: the drop-down ends.
    menu->Items()->Delete(menu->Items()->IndexOf(file));
    file = nullptr;
    testinput::PaintPending();
  }});
  testinput::MouseMove(Mid(Cell(file)));
  testinput::MouseDown();
  testinput::MouseUp();
  EXPECT_EQ(log, (Log{"relaid", "shrunk"}));
  EXPECT_EQ(ActiveMenuWindow(), nullptr);
  EXPECT_FALSE(Bar()->InMenuMode());
  EXPECT_EQ(MenuItemRect(form, edit).Left, 0);
}

TEST_F(MenuBars, AFormReleasedWhileInMenuModeEndsItSafely) {
  for (bool byKeyboard : {false, true}) {
    auto* f = new TForm(nullptr);  // freed by its Release
    f->AfterConstruction();
    f->SetBorderStyle(bsSingle);
    f->SetBounds(50, 50, 200, 150);
    auto* m = new TMainMenu(f);
    auto* top = new TMenuItem(f);
    top->SetCaption(u"&Top");
    m->Items()->Add(top);
    auto* sub = new TMenuItem(f);
    sub->SetCaption(u"&Sub");
    top->Add(sub);
    f->SetMenu(m);
    f->Show();
    const TRect r = MenuItemRect(f, top);
    const TPoint at = f->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    Steps({[&] {
      Note(ActiveMenuWindow() != nullptr || byKeyboard ? "in mode" : "no menu");
      f->Release();
    }});
    if (byKeyboard) {
      testinput::KeyPress(VK_F10);
    } else {
      testinput::MouseMove(at);
      testinput::MouseDown();
      testinput::MouseUp();
    }
    EXPECT_EQ(ActiveMenuWindow(), nullptr);
  }
  EXPECT_EQ(log, (Log{"in mode", "in mode"}));
}

}  // namespace
