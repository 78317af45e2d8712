// MDI frames: the client window, child activation (pointer and messages),
// maximise and restore with the frame's title and menu bar, closing, and
// code that subclasses the client.
#include "platform/vcl/Icon.h"
#include "platform/vcl/MDI.h"
#include "platform/vcl/MenuBar.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WindowData.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A one-picture 32-bit ICO of N x N pixels of one colour.
TBytes SolidIco(int N, TColor C) {
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

class Mdi : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    frame = NewForm(640, 420, bsSizeable);
    frame->SetCaption(u"Frame");
    frame->SetFormStyle(fsMDIForm);
  }
  TForm* Child(const char16_t* caption, TRect bounds) {
    auto* c = new TForm(frame);
    c->AfterConstruction();
    c->SetFormStyle(fsMDIChild);
    c->SetCaption(caption);
    c->SetBoundsRect(bounds);
    c->Show();
    return c;
  }
  TMDIClient* Client() const { return dynamic_cast<TMDIClient*>(FindControl(frame->ClientHandle())); }
  // A point of a child's caption bar (left of its buttons), in the child's client coordinates.
  static TPoint CaptionPoint(TCustomForm* c) {
    const TRect in = c->FrameInsets();
    return {c->ClientWidth() / 3, -(in.Top - in.Bottom) / 2 - 1};
  }
  // The colour shown at a point of a child's caption, sampled from the frame's pixels.
  TColor CaptionPixel(TCustomForm* c) {
    Settle();
    auto shot = testinput::Grab(frame);
    const TRect in = c->FrameInsets();
    const TPoint client = Client()->ClientToParent({c->Left() + in.Left + 1, c->Top() + in.Bottom + 1});
    const int bar = frame->MenuBar() != nullptr ? frame->MenuBar()->Height() : 0;
    return PixelOf(shot.get(), client.X, client.Y + bar);
  }
  static TColor Rgb(TColor c) { return ColorToRGB(c); }
  TForm* frame = nullptr;
};

TEST_F(Mdi, FrameKeepsAClientWindowBelowItsAlignedControls) {
  auto* panel = new TPanel(frame);
  panel->SetParent(frame);
  panel->SetAlign(alTop);
  panel->SetHeight(40);
  frame->Show();
  Settle();
  TMDIClient* client = Client();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(client->Parent(), frame);
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 40, frame->ClientWidth(), frame->ClientHeight()}));
  EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
  EXPECT_EQ(frame->MDIChildCount(), 0);
  // Only an MDI frame has a client window, and a child needs a frame.
  TForm* plain = NewForm();
  EXPECT_EQ(plain->ClientHandle(), nullptr);
  frame->SetFormStyle(fsNormal);
  EXPECT_EQ(frame->ClientHandle(), nullptr);
  auto* orphan = new TForm(plain);
  EXPECT_THROW(orphan->SetFormStyle(fsMDIChild), EInvalidOperation);
}

TEST_F(Mdi, ChildrenActivateByPointerAndByMessage) {
  frame->Show();
  TForm* a = Child(u"A", TRect{0, 0, 200, 150});
  TForm* b = Child(u"B", TRect{220, 0, 420, 150});
  Settle();
  // The child shown last is active and on top; the list runs topmost first.
  EXPECT_EQ(frame->ActiveMDIChild(), b);
  ASSERT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->MDIChildren(0), b);
  EXPECT_EQ(frame->MDIChildren(1), a);
  EXPECT_EQ(frame->MDIChildren(2), nullptr);
  EXPECT_TRUE(b->Active());
  EXPECT_FALSE(a->Active());
  EXPECT_EQ(CaptionPixel(b), Rgb(clActiveCaption));
  EXPECT_EQ(CaptionPixel(a), Rgb(clInactiveCaption));
  // The child sits inside the client window, framed.
  EXPECT_EQ(a->Parent(), Client());
  EXPECT_EQ(GetParentForm(a), a);

  // A press in a child's client area activates it, and its controls get the focus.
  auto* edit = new TEdit(a);
  edit->SetParent(a);
  edit->SetBounds(10, 10, 80, 22);
  Settle();
  testinput::Click(edit, {5, 5});
  Settle();
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(frame->MDIChildren(0), a);
  EXPECT_EQ(GetFocus(), edit->Handle());
  EXPECT_EQ(CaptionPixel(a), Rgb(clActiveCaption));
  EXPECT_EQ(CaptionPixel(b), Rgb(clInactiveCaption));

  // A press on a caption activates too.
  testinput::Click(b, CaptionPoint(b));
  Settle();
  EXPECT_EQ(frame->ActiveMDIChild(), b);

  // WM_MDIACTIVATE through the client window; WM_MDIGETACTIVE answers.
  const HWND client = frame->ClientHandle();
  EXPECT_EQ(SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  BOOL maximized = TRUE;
  EXPECT_EQ(SendMessage(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)),
            reinterpret_cast<LRESULT>(a->Handle()));
  EXPECT_FALSE(maximized);
  EXPECT_EQ(CaptionPixel(a), Rgb(clActiveCaption));
  EXPECT_EQ(CaptionPixel(b), Rgb(clInactiveCaption));
  // A window that is no child of this client changes nothing.
  TForm* stranger = NewForm();
  SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(stranger->Handle()), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  // WM_MDINEXT goes on to the next child.
  SendMessage(client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(frame->ActiveMDIChild(), b);
}

TEST_F(Mdi, MaximisedChildFillsTheClientAndJoinsTheFramesCaptionAndMenuBar) {
  auto* menu = new TMainMenu(frame);
  auto* file = new TMenuItem(frame);
  file->SetCaption(u"File");
  menu->Items()->Add(file);
  frame->SetMenu(menu);
  frame->Show();
  TForm* a = Child(u"A", TRect{10, 20, 250, 200});
  TForm* b = Child(u"B", TRect{260, 20, 500, 200});
  Settle();
  EXPECT_EQ(MenuBarItemRect(frame, file).Left, 0);

  b->SetWindowState(wsMaximized);
  Settle();
  // The client area of the child is the whole client window.
  EXPECT_EQ(b->ClientOrigin(), Client()->ClientOrigin());
  EXPECT_EQ(b->ClientWidth(), Client()->ClientWidth());
  EXPECT_EQ(b->ClientHeight(), Client()->ClientHeight());
  EXPECT_EQ(Utf8(Client()->FrameTitle()), "Frame - [B]");
  BOOL maximized = FALSE;
  SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
  EXPECT_TRUE(maximized);
  // The bar makes room for the child's icon and shows its three buttons at the right end.
  EXPECT_EQ(MenuBarItemRect(frame, file).Left, 4 + GetSystemMetrics(SM_CXSMICON));
  auto shot = testinput::Grab(frame);
  const int bar = frame->MenuBar()->Height();
  const int size = GetSystemMetrics(SM_CXMENUSIZE);
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(PixelOf(shot.get(), frame->ClientWidth() - i * size + 3, 4), Rgb(clBtnFace)) << i;

  // Another child becomes active maximised; the one it replaces is restored.
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  Settle();
  EXPECT_EQ(a->WindowState(), wsMaximized);
  EXPECT_EQ(b->WindowState(), wsNormal);
  EXPECT_EQ(b->BoundsRect(), (TRect{260, 20, 500, 200}));
  EXPECT_EQ(Utf8(Client()->FrameTitle()), "Frame - [A]");

  // The bar's restore button (middle one) brings the child back to its place.
  const TPoint restore{frame->ClientWidth() - 2 * size + size / 2, -bar / 2};
  testinput::Click(frame, restore);
  Settle();
  EXPECT_EQ(a->WindowState(), wsNormal);
  EXPECT_EQ(a->BoundsRect(), (TRect{10, 20, 250, 200}));
  EXPECT_EQ(Utf8(Client()->FrameTitle()), "Frame");
  EXPECT_EQ(MenuBarItemRect(frame, file).Left, 0);

  // The caption's maximise button and a double click on the caption toggle the state.
  const TRect in = a->FrameInsets();
  const int captionHeight = in.Top - in.Bottom, bw = captionHeight - 2;
  const TPoint maxButton{a->Width() - in.Right - 2 - bw - 2 - bw / 2 - in.Left, -captionHeight / 2};
  testinput::Click(a, maxButton);
  Settle();
  EXPECT_EQ(a->WindowState(), wsMaximized);
  a->SetWindowState(wsNormal);
  testinput::MouseMove(a, CaptionPoint(a));
  testinput::MouseDoubleClick();
  testinput::MouseUp();
  Settle();
  EXPECT_EQ(a->WindowState(), wsMaximized);

  // The frame follows the window: a maximised child keeps filling the client.
  frame->SetBounds(frame->Left(), frame->Top(), 500, 380);
  Settle();
  EXPECT_EQ(a->ClientWidth(), Client()->ClientWidth());
  EXPECT_EQ(a->ClientHeight(), Client()->ClientHeight());
}

// The frame is told (as of a change of its frame, not of its place) when the
// active child or its being maximised changes, whether or not it has a menu bar.
TEST_F(Mdi, FrameHearsWhenWhatItShowsOfItsChildrenChanges) {
  frame->Show();
  std::vector<std::pair<UINT, bool>> told;  // flags, and the active child maximised then
  const std::function<void(TMessage&)> inner = frame->WindowProc;
  frame->WindowProc = [&, inner](TMessage& M) {
    if (M.Msg == WM_WINDOWPOSCHANGED) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(M.LParam);
      TCustomForm* active = frame->ActiveMDIChild();
      told.emplace_back(pos->flags, active != nullptr && active->WindowState() == wsMaximized);
    }
    inner(M);
  };
  const TRect before = frame->BoundsRect();
  TForm* a = Child(u"A", TRect{10, 20, 250, 200});
  Settle();
  const UINT look = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  ASSERT_EQ(told.size(), 1u);  // a child became the active one
  EXPECT_EQ(told.back(), std::make_pair(look, false));
  a->SetCaption(u"A2");  // the caption alone: nothing for the frame's look of buttons
  Settle();
  EXPECT_EQ(told.size(), 1u);
  a->SetWindowState(wsMaximized);
  Settle();
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told.back(), std::make_pair(look, true));
  a->SetWindowState(wsNormal);
  Settle();
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told.back(), std::make_pair(look, false));
  delete a;
  Settle();
  ASSERT_EQ(told.size(), 4u);  // no active child now
  EXPECT_EQ(frame->BoundsRect(), before);
  frame->WindowProc = inner;
}

TEST_F(Mdi, ChildMovesInsideTheClientByItsCaption) {
  frame->Show();
  TForm* a = Child(u"A", TRect{10, 10, 210, 160});
  Settle();
  testinput::MouseMove(a, CaptionPoint(a));
  testinput::MouseDown();
  const TPoint grab = a->ClientToScreen(CaptionPoint(a));
  testinput::MouseMove(TPoint{grab.X + 30, grab.Y + 20});
  testinput::MouseUp();
  Settle();
  EXPECT_EQ(a->BoundsRect(), (TRect{40, 30, 240, 180}));
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  // A maximised child stays where it is.
  a->SetWindowState(wsMaximized);
  const TRect filled = a->BoundsRect();
  testinput::MouseMove(frame, {100, 100});
  testinput::MouseDown();
  testinput::MouseMove(frame->ClientToScreen({130, 130}));
  testinput::MouseUp();
  EXPECT_EQ(a->BoundsRect(), filled);
}

TEST_F(Mdi, ClosingChildren) {
  frame->Show();
  Child(u"A", TRect{0, 0, 200, 150});
  TForm* b = Child(u"B", TRect{220, 0, 420, 150});
  TForm* c = Child(u"C", TRect{0, 160, 200, 310});
  Settle();
  // Without an OnClose an MDI child minimises to a caption bar at the client's bottom.
  c->Close();
  Settle();
  EXPECT_EQ(c->WindowState(), wsMinimized);
  EXPECT_EQ(c->Top() + c->Height(), Client()->ClientHeight());
  EXPECT_EQ(c->ClientHeight(), 0);

  // The caption's close button closes; freed children leave the list and the next one is active.
  bool destroyed = false;
  b->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  b->OnDestroy = [&](TObject*) { destroyed = true; };
  b->SetWindowState(wsMaximized);
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b->Handle()), 0);
  b->SetWindowState(wsNormal);
  Settle();
  const TRect in = b->FrameInsets();
  const int captionHeight = in.Top - in.Bottom, bw = captionHeight - 2;
  testinput::Click(b, {b->Width() - in.Right - 2 - bw / 2 - in.Left, -captionHeight / 2});
  ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
  Settle();
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_NE(frame->ActiveMDIChild(), nullptr);
  EXPECT_TRUE(frame->ActiveMDIChild()->Active());

  // A maximised active child that goes hands the maximised state on.
  TCustomForm* next = frame->ActiveMDIChild();
  next->SetWindowState(wsMaximized);
  delete next;
  Settle();
  ASSERT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), frame->MDIChildren(0));
  EXPECT_EQ(frame->ActiveMDIChild()->WindowState(), wsMaximized);

  // The last child gone: no active child, the title is the frame's own.
  delete frame->ActiveMDIChild();
  Settle();
  EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
  EXPECT_EQ(Utf8(Client()->FrameTitle()), "Frame");
}

TEST_F(Mdi, FrameTakesItsChildrenAlong) {
  frame->Show();
  bool gone = false;
  TForm* a = Child(u"A", TRect{0, 0, 200, 150});
  a->OnDestroy = [&](TObject*) { gone = true; };
  Settle();
  Forms.clear();
  EXPECT_TRUE(gone);
}

TEST_F(Mdi, SubclassersOfTheClientRemovedOutOfOrderKeepWorking) {
  frame->Show();
  TForm* a = Child(u"A", TRect{0, 0, 200, 150});
  TForm* b = Child(u"B", TRect{220, 0, 420, 150});
  Settle();
  const HWND client = frame->ClientHandle();
  Log log;
  WNDPROC old1 = 0, old2 = 0;
  auto hook = [&](const char* name, WNDPROC& old) {
    return [&log, &old, client, name](TMessage& m) {
      if (m.Msg == WM_MDIGETACTIVE || m.Msg == WM_MDIREFRESHMENU) log.push_back(std::string(name) + " " + std::to_string(m.Msg));
      m.Result = CallWindowProc(old, client, m.Msg, m.WParam, m.LParam);
    };
  };
  const WNDPROC p1 = MakeObjectInstance(hook("one", old1));
  const WNDPROC p2 = MakeObjectInstance(hook("two", old2));
  old1 = SetWindowLong(client, GWL_WNDPROC, p1);
  old2 = SetWindowLong(client, GWL_WNDPROC, p2);
  ASSERT_NE(old1, 0);
  EXPECT_EQ(old2, p1);
  const std::string get = std::to_string(WM_MDIGETACTIVE), refresh = std::to_string(WM_MDIREFRESHMENU);

  EXPECT_EQ(SendMessage(client, WM_MDIGETACTIVE, 0, 0), reinterpret_cast<LRESULT>(b->Handle()));
  EXPECT_EQ(log, (Log{"two " + get, "one " + get}));
  // Activation leads to a window-list refresh that the subclassers see.
  log.clear();
  SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  PumpPending();
  EXPECT_EQ(log, (Log{"two " + refresh, "one " + refresh}));

  // The first subclasser leaves first: the second keeps working, and the client too.
  log.clear();
  EXPECT_EQ(SetWindowLong(client, GWL_WNDPROC, old1), p2);
  EXPECT_EQ(GetWindowLong(client, GWL_WNDPROC), p2);
  EXPECT_EQ(SendMessage(client, WM_MDIGETACTIVE, 0, 0), reinterpret_cast<LRESULT>(a->Handle()));
  EXPECT_EQ(log, (Log{"two " + get}));
  log.clear();
  SetWindowLong(client, GWL_WNDPROC, old2);
  EXPECT_EQ(GetWindowLong(client, GWL_WNDPROC), old1);
  EXPECT_EQ(SendMessage(client, WM_MDIGETACTIVE, 0, 0), reinterpret_cast<LRESULT>(a->Handle()));
  SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b->Handle()), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), b);
  PumpPending();
  EXPECT_TRUE(log.empty());
  FreeObjectInstance(p1);
  FreeObjectInstance(p2);
}

TEST_F(Mdi, ChildIconShowsOnItsCaptionAndOnTheFramesBar) {
  auto* menu = new TMainMenu(frame);
  auto* file = new TMenuItem(frame);
  file->SetCaption(u"File");
  menu->Items()->Add(file);
  frame->SetMenu(menu);
  frame->Show();
  TForm* a = Child(u"A", TRect{0, 0, 240, 160});
  TIcon icon;
  icon.SetSize(16, 16);
  icon.LoadFromBytes(SolidIco(16, clRed));
  a->SetIcon(&icon);
  EXPECT_EQ(SendMessage(a->Handle(), WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(a->Icon()->Handle()));
  Settle();
  auto shot = testinput::Grab(frame);
  const int bar = frame->MenuBar()->Height();
  const TRect in = a->FrameInsets();
  EXPECT_EQ(PixelOf(shot.get(), in.Left + 2 + 8, bar + in.Bottom + (in.Top - in.Bottom) / 2), clRed);
  a->SetWindowState(wsMaximized);
  Settle();
  shot = testinput::Grab(frame);
  EXPECT_EQ(PixelOf(shot.get(), 4 + 8, bar / 2), clRed);
}

}  // namespace
