// The main menu of an MDI frame: the hook on the client window that lists the
// children in the Window menu, choosing a child from that list, the active
// child's icon on the bar, and the bar gradient that stops before a maximised
// child's buttons.
#include "menus/AdvMenus.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/MenuBar.h"
#include "platform/win/WindowData.h"
#include "tests/menus/MenuFixture.h"

namespace {

// A one-picture 32-bit ICO of N x N pixels of one colour.
TBytes OneColourIco(int N, TColor C) {
  TBytes b;
  auto u16 = [&](unsigned v) { b.push_back(Byte(v)), b.push_back(Byte(v >> 8)); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const unsigned maskRow = unsigned((N + 31) / 32 * 4), pixels = unsigned(N * N * 4), size = 40 + pixels + maskRow * N;
  u16(0), u16(1), u16(1);
  b.push_back(Byte(N)), b.push_back(Byte(N)), b.push_back(0), b.push_back(0), u16(1), u16(32), u32(size), u32(22);
  u32(40), u32(unsigned(N)), u32(unsigned(2 * N)), u16(1), u16(32), u32(0), u32(pixels + maskRow * N);
  u32(0), u32(0), u32(0), u32(0);
  for (int i = 0; i < N * N; ++i) b.push_back(Byte(C >> 16)), b.push_back(Byte(C >> 8)), b.push_back(Byte(C)), b.push_back(0xFF);
  b.resize(b.size() + maskRow * N, 0);
  return b;
}

class AdvMainMenuMdi : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    frame = std::make_unique<TForm>(nullptr);
    frame->AfterConstruction();
    frame->SetBorderStyle(bsSizeable);
    frame->SetBounds(60, 60, 600, 400);
    frame->SetCaption(u"Frame");
    frame->SetFormStyle(fsMDIForm);
    menu = new TAdvMainMenu(frame.get());
    file = AddItem(menu, menu->Items(), u"&File");
    AddItem(menu, file, u"&Open");
    window = AddItem(menu, menu->Items(), u"&Window");
    AddItem(menu, window, u"&Tile");
    InstallItemHandlers(menu, nullptr, true);
    TRootItem* ri = menu->GetCurrentMenuStyler()->RootItem();
    ri->SetColor(clRed);
    ri->SetColorTo(clRed);
    ri->SetGradientDirection(gdVertical);
    frame->SetMenu(menu);
    frame->SetWindowMenu(window);
    frame->Show();
  }
  void TearDown() override {
    if (helper != nullptr) DeallocateHWnd(helper);
    frame.reset();
    MenuTest::TearDown();
  }
  TForm* Child(const char16_t* caption, Integer left) {
    auto* c = new TForm(frame.get());
    c->AfterConstruction();
    c->SetFormStyle(fsMDIChild);
    c->SetCaption(caption);
    c->SetBounds(left, 10, 180, 140);
    c->Show();
    return c;
  }
  static void Settle() {
    PumpPending();
    testinput::PaintPending();
  }
  // The Window menu's captions after its own items.
  std::vector<std::string> WindowList() const {
    std::vector<std::string> list;
    for (Integer i = 1; i < window->Count(); ++i) list.push_back(StringToUtf8(window->Items(i)->Caption()));
    return list;
  }
  TMenuItem* ListItemFor(TCustomForm* c) const {
    for (Integer i = 0; i < window->Count(); ++i)
      if (window->Items(i)->Tag() == reinterpret_cast<NativeInt>(c->Handle())) return window->Items(i);
    return nullptr;
  }
  TColor BarPixel(Integer x, Integer y) {
    auto shot = testinput::Grab(frame.get());
    return shot->Canvas()->Pixels(x, y);
  }
  void WhileOpen(std::function<void()> Action) {
    if (helper != nullptr) DeallocateHWnd(helper);
    helper = AllocateHWnd([Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(helper, WM_USER, 0, 0);
  }

  std::unique_ptr<TForm> frame;
  TAdvMainMenu* menu = nullptr;
  TMenuItem* file = nullptr;
  TMenuItem* window = nullptr;
  HWND helper = nullptr;
};

TEST_F(AdvMainMenuMdi, WindowMenuListsTheChildrenByCaptionWithTheActiveOneChecked) {
  const WNDPROC original = GetWindowLong(frame->ClientHandle(), GWL_WNDPROC);
  // A refresh of the menu hooks the client; before any child the separator is there unseen.
  menu->Refresh();
  EXPECT_NE(GetWindowLong(frame->ClientHandle(), GWL_WNDPROC), original);
  EXPECT_EQ(GetWindowLong(frame->ClientHandle(), GWL_USERDATA), original);
  EXPECT_EQ(SendMessage(frame->ClientHandle(), WM_MDIREFRESHMENU, 0, 0), reinterpret_cast<LRESULT>(menu->Handle()));
  ASSERT_EQ(WindowList(), (std::vector<std::string>{"-"}));
  TMenuItem* marker = window->Items(1);
  EXPECT_FALSE(marker->Visible());

  TForm* b = Child(u"B", 0);
  TForm* a1 = Child(u"A", 200);
  TForm* a2 = Child(u"A", 400);
  Settle();
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "1 A", "2 A", "3 B"}));
  EXPECT_EQ(window->Items(1), marker);
  EXPECT_EQ(marker->ShortCut(), 0xABCD);
  // The separator shows once there are children to list.
  EXPECT_TRUE(marker->Visible());
  EXPECT_EQ(menu->FindItem(0xABCD, fkShortCut), marker);
  for (TForm* c : {b, a1, a2}) {
    TMenuItem* item = ListItemFor(c);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->RadioItem());
    EXPECT_EQ(item->GroupIndex(), 205);
    EXPECT_EQ(item->Checked(), c == a2) << StringToUtf8(item->Caption());
  }
  EXPECT_EQ(ListItemFor(b)->Caption(), u"3 B");

  // A second refresh replaces the list instead of adding to it.
  EXPECT_EQ(SendMessage(frame->ClientHandle(), WM_MDIREFRESHMENU, 0, 0), reinterpret_cast<LRESULT>(menu->Handle()));
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "1 A", "2 A", "3 B"}));
  EXPECT_EQ(window->Items(1), marker);
  // Activation and captions follow.
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b->Handle()), 0);
  a1->SetCaption(u"C");
  Settle();
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "1 A", "2 B", "3 C"}));
  EXPECT_TRUE(ListItemFor(b)->Checked());
  EXPECT_FALSE(ListItemFor(a2)->Checked());
  // A child that goes leaves the list.
  delete a1;
  Settle();
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "1 A", "2 B"}));

  // Without a Window menu the hook answers 0 and changes nothing.
  frame->SetWindowMenu(nullptr);
  EXPECT_EQ(SendMessage(frame->ClientHandle(), WM_MDIREFRESHMENU, 0, 0), 0);
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "1 A", "2 B"}));

  // The menu gives the client its procedure back when it goes.
  frame->SetMenu(nullptr);
  delete menu;
  EXPECT_EQ(GetWindowLong(frame->ClientHandle(), GWL_WNDPROC), original);
  EXPECT_EQ(GetWindowLong(frame->ClientHandle(), GWL_USERDATA), 0);
}

TEST_F(AdvMainMenuMdi, ChoosingAWindowListItemActivatesThatChild) {
  TForm* b = Child(u"B", 0);
  Child(u"A", 200);
  Settle();
  // The children's activation reached the menu (as merging into the frame's
  // menu): the client is hooked and the list is there.
  ASSERT_EQ(WindowList(), (std::vector<std::string>{"-", "1 A", "2 B"}));
  TMenuItem* itemB = ListItemFor(b);
  ASSERT_FALSE(itemB->Checked());
  WhileOpen([&] {
    testinput::PaintPending();
    TWinControl* w = ActiveMenuWindow();
    ASSERT_NE(w, nullptr);
    const TRect r = MenuItemRect(w, itemB);
    testinput::Click(w, {r.Left + 30, r.Top + 3});
  });
  const TRect cell = MenuItemRect(frame.get(), window);
  testinput::MouseMove(frame->ClientToScreen({cell.Left + 3, cell.Top + 3}));
  testinput::MouseDown();
  testinput::MouseUp();
  EXPECT_EQ(frame->ActiveMDIChild(), b);
  Settle();
  EXPECT_TRUE(ListItemFor(b)->Checked());
}

TEST_F(AdvMainMenuMdi, MaximisedChildsIconAndButtonsOnTheBar) {
  TForm* c = Child(u"A", 0);
  TIcon icon;
  icon.SetSize(16, 16);
  icon.LoadFromBytes(OneColourIco(16, clLime));
  c->SetIcon(&icon);
  Settle();
  const Integer width = frame->ClientWidth(), h = frame->MenuBar()->Height();
  // A normal child: the bar's gradient runs to its end.
  EXPECT_EQ(BarPixel(width - 1, 0), clRed);

  c->SetWindowState(wsMaximized);
  Settle();
  const TRect first = MenuItemRect(frame.get(), file);
  ASSERT_GE(first.Left, 5);
  // Left of the first item: the bar look, then the child's icon.
  EXPECT_EQ(BarPixel(12, h - 1), clRed);
  EXPECT_EQ(BarPixel(first.Left - 8, 2 + 8), clLime);
  // The gradient stops where the child's three buttons begin.
  const Integer buttons = 3 * GetSystemMetrics(SM_CXMENUSIZE);
  EXPECT_EQ(BarPixel(width - buttons - 1, 0), clRed);
  EXPECT_EQ(BarPixel(width - 1, 0), ColorToRGB(clMenuBar));

  // Restored: no icon place, and the gradient runs to the end again.
  c->SetWindowState(wsNormal);
  Settle();
  EXPECT_EQ(MenuItemRect(frame.get(), file).Left, 0);
  EXPECT_EQ(BarPixel(width - 1, 0), clRed);
}

}  // namespace
