// The window menu of top-level forms: its items and their states, shown by
// TrackPopupMenu and worked with injected keys, and item states changed by
// EnableMenuItem.
#include <functional>

#include "platform/vcl/SystemMenu.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// Handles that name no window and no menu (window handles are multiples of 4).
const auto BadWindow = reinterpret_cast<HWND>(std::intptr_t{0x7FFF1});
const auto BadMenu = reinterpret_cast<HMENU>(std::intptr_t{0x7FFF1});

// A form without the toolkit's frame that keeps a system menu, as a form drawing its own caption does.
class TOwnFrameForm : public TForm {
 public:
  using TForm::TForm;
  std::vector<UINT> Commands;  // WM_COMMAND identifiers it received

 protected:
  void CreateParams(TCreateParams& P) override {
    TForm::CreateParams(P);
    P.Style = (P.Style & ~WS_CAPTION) | WS_POPUP | WS_SYSMENU;
  }
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_COMMAND) Commands.push_back(LOWORD(M.WParam));
    TForm::WndProc(M);
  }
};

class SystemMenu : public VclTest {
 protected:
  TOwnFrameForm* NewOwnFrameForm() {
    auto f = std::make_unique<TOwnFrameForm>(nullptr);
    f->AfterConstruction();
    f->SetBorderStyle(bsSingle);
    f->SetBounds(100, 100, 300, 200);
    auto* raw = f.get();
    Forms.push_back(std::move(f));
    raw->Show();
    return raw;
  }
  // Runs Action once the menu that is about to show has opened.
  void WhileOpen(std::function<void()> Action) {
    if (helper != nullptr) DeallocateHWnd(helper);
    helper = AllocateHWnd([Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(helper, WM_USER, 0, 0);
  }
  void TearDown() override {
    if (helper != nullptr) DeallocateHWnd(helper);
    VclTest::TearDown();
  }
  static TMenuItem* Root(HMENU Menu) { return reinterpret_cast<TMenuItem*>(Menu); }
  static std::vector<bool> States(HMENU Menu) {
    std::vector<bool> enabled;
    for (Integer i = 0; i < Root(Menu)->Count(); ++i) enabled.push_back(Root(Menu)->Items(i)->Enabled());
    return enabled;
  }
  static UINT Track(HMENU Menu, TForm* Form, UINT Flags = TPM_RETURNCMD | TPM_RIGHTBUTTON) {
    return UINT(TrackPopupMenu(Menu, Flags, Form->Left() + 20, Form->Top() + 20, 0, Form->Handle(), nullptr));
  }
  HWND helper = nullptr;
};

TEST_F(SystemMenu, EachFramedWindowHasItsOwnWithTheStandardItems) {
  TOwnFrameForm* f = NewOwnFrameForm();
  const HMENU menu = GetSystemMenu(f->Handle(), FALSE);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetSystemMenu(f->Handle(), FALSE), menu);
  std::vector<std::string> captions;
  for (Integer i = 0; i < Root(menu)->Count(); ++i) captions.push_back(Utf8(Root(menu)->Items(i)->Caption()));
  EXPECT_EQ(captions, (std::vector<std::string>{"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "-", "&Close"}));
  // A normal window without a sizing frame: Restore and Size grey.
  EXPECT_EQ(States(menu), (std::vector<bool>{false, true, false, true, true, true, true}));

  TForm* sizeable = NewForm(300, 200, bsSizeable);
  sizeable->Show();
  const HMENU other = GetSystemMenu(sizeable->Handle(), FALSE);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, menu);
  EXPECT_EQ(States(other), (std::vector<bool>{false, true, true, true, true, true, true}));
  sizeable->SetWindowState(wsMaximized);
  EXPECT_EQ(States(other), (std::vector<bool>{true, false, false, true, false, true, true}));

  // Without WS_SYSMENU there is none; a bad window says so.
  TForm* bare = NewForm(100, 100, bsNone);
  bare->Show();
  EXPECT_EQ(GetSystemMenu(bare->Handle(), FALSE), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetSystemMenu(BadWindow, FALSE), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);

  // Reverting drops the window's changes.
  EXPECT_EQ(EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED), BOOL(MF_ENABLED));
  EXPECT_EQ(GetSystemMenu(f->Handle(), TRUE), nullptr);
  const HMENU fresh = GetSystemMenu(f->Handle(), FALSE);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(Root(fresh)->Items(6)->Enabled());
}

TEST_F(SystemMenu, ChosenCommandsComeBackAndRunThroughSysCommand) {
  TOwnFrameForm* f = NewOwnFrameForm();
  f->SetFocus();
  const HMENU menu = GetSystemMenu(f->Handle(), FALSE);
  ASSERT_NE(menu, nullptr);

  // The accelerator of Maximize.
  WhileOpen([] { testinput::KeyPress('X'); });
  const UINT maximize = Track(menu, f);
  EXPECT_EQ(maximize, UINT(SC_MAXIMIZE));
  EXPECT_EQ(f->WindowState(), wsNormal);  // returning the command runs nothing
  SendMessage(f->Handle(), WM_SYSCOMMAND, maximize, 0);
  EXPECT_EQ(f->WindowState(), wsMaximized);
  EXPECT_EQ(States(menu), (std::vector<bool>{true, false, false, true, false, true, true}));

  // Up from nothing selected wraps to Close; Enter chooses it.
  bool closed = false;
  f->OnClose = [&](TObject*, TCloseAction& Action) {
    closed = true;
    Action = caNone;
  };
  WhileOpen([] {
    testinput::KeyPress(VK_UP);
    testinput::KeyPress(VK_RETURN);
    testinput::KeyPress(VK_ESCAPE);  // closes the menu should Enter have chosen nothing
  });
  const UINT close = Track(menu, f);
  EXPECT_EQ(close, UINT(SC_CLOSE));
  SendMessage(f->Handle(), WM_SYSCOMMAND, close, 0);
  EXPECT_TRUE(closed);

  // Escape chooses nothing.
  WhileOpen([] { testinput::KeyPress(VK_ESCAPE); });
  EXPECT_EQ(Track(menu, f), 0u);

  // Without TPM_RETURNCMD the command is posted to the window as WM_SYSCOMMAND.
  WhileOpen([] { testinput::KeyPress('R'); });
  EXPECT_EQ(Track(menu, f, TPM_RIGHTBUTTON), UINT(TRUE));
  EXPECT_EQ(f->WindowState(), wsMaximized);
  PumpPending();
  EXPECT_EQ(f->WindowState(), wsNormal);
}

TEST_F(SystemMenu, GreyedItemsCannotBeChosen) {
  TOwnFrameForm* f = NewOwnFrameForm();
  f->SetFocus();
  const HMENU menu = GetSystemMenu(f->Handle(), FALSE);
  ASSERT_NE(menu, nullptr);
  struct TCase {
    UINT Item, Flags;
    BOOL Previous;
  };
  const TCase cases[] = {
      {UINT(SC_MAXIMIZE), MF_BYCOMMAND | MF_GRAYED, BOOL(MF_ENABLED)},
      {UINT(SC_MAXIMIZE), MF_BYCOMMAND | MF_GRAYED, BOOL(MF_GRAYED)},
      {6, MF_BYPOSITION | MF_DISABLED, BOOL(MF_ENABLED)},  // Close
      {0, MF_BYPOSITION | MF_ENABLED, BOOL(MF_GRAYED)},    // Restore
      {0x1234, MF_BYCOMMAND | MF_GRAYED, -1},
      {7, MF_BYPOSITION | MF_GRAYED, -1},
  };
  for (const TCase& c : cases) EXPECT_EQ(EnableMenuItem(menu, c.Item, c.Flags), c.Previous) << c.Item;
  EXPECT_EQ(EnableMenuItem(BadMenu, SC_CLOSE, MF_GRAYED), -1);
  EXPECT_EQ(States(menu), (std::vector<bool>{true, true, false, true, false, true, false}));

  // The accelerators of Maximize and Close choose nothing now.
  WhileOpen([] {
    testinput::KeyPress('X');
    testinput::KeyPress('C');
    testinput::KeyPress(VK_ESCAPE);
  });
  EXPECT_EQ(Track(menu, f), 0u);
  EXPECT_EQ(f->WindowState(), wsNormal);
}

TEST_F(SystemMenu, TrackingFailsOnBadHandlesAndWhileAMenuShows) {
  TOwnFrameForm* f = NewOwnFrameForm();
  f->SetFocus();
  const HMENU menu = GetSystemMenu(f->Handle(), FALSE);
  SetLastError(0);
  EXPECT_EQ(TrackPopupMenu(BadMenu, TPM_RETURNCMD, 10, 10, 0, f->Handle(), nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, BadWindow, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  BOOL nested = 1;
  DWORD nestedError = 0;
  WhileOpen([&] {
    nested = TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, f->Handle(), nullptr);
    nestedError = GetLastError();
    testinput::KeyPress(VK_ESCAPE);
  });
  EXPECT_EQ(Track(menu, f), 0u);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(nestedError, ERROR_POPUP_ALREADY_ACTIVE);

  // Any other menu's chosen item is posted as WM_COMMAND with its identifier.
  TPopupMenu popup(nullptr);
  auto* item = new TMenuItem(&popup);
  item->SetCaption(u"&Go");
  popup.Items()->Add(item);
  WhileOpen([] { testinput::KeyPress('G'); });
  EXPECT_EQ(TrackPopupMenu(popup.Items()->Handle(), 0, 10, 10, 0, f->Handle(), nullptr), TRUE);
  PumpPending();
  EXPECT_EQ(f->Commands, (std::vector<UINT>{item->Command()}));
}

}  // namespace
