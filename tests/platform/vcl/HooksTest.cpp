// Thread hooks: chains in their order, removal from inside a hook, the
// get-message hooks on the application's loop, and the menu loop's filters
// and notifications.
#include "platform/rtl/Thread.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Hooks.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

class Hooks : public VclTest {
 protected:
  HHOOK Install(int Kind, HOOKPROC Proc) {
    HHOOK h = SetWindowsHookEx(Kind, std::move(Proc), nullptr, 0);
    EXPECT_NE(h, nullptr);
    Installed.push_back(h);
    return h;
  }
  // A hook that logs Name and passes on.
  HHOOK Logging(int Kind, const std::string& Name, Log& log) {
    auto self = std::make_shared<HHOOK>();
    *self = Install(Kind, [&log, Name, self](int Code, WPARAM w, LPARAM l) {
      log.push_back(Name);
      return CallNextHookEx(*self, Code, w, l);
    });
    return *self;
  }
  void TearDown() override {
    for (HHOOK h : Installed) UnhookWindowsHookEx(h);
    if (Helper != nullptr) DeallocateHWnd(Helper);
    VclTest::TearDown();
  }
  void WhileOpen(std::function<void()> Action) {
    Helper = AllocateHWnd([Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(Helper, WM_USER, 0, 0);
  }
  std::vector<HHOOK> Installed;
  HWND Helper = nullptr;
};

TEST_F(Hooks, ChainRunsNewestFirstAndSurvivesRemovalFromInside) {
  Log log;
  HHOOK a = Logging(WH_MSGFILTER, "a", log);
  auto bSelf = std::make_shared<HHOOK>();
  bool removeSelfAndA = false;
  *bSelf = Install(WH_MSGFILTER, [&, bSelf](int Code, WPARAM w, LPARAM l) {
    log.push_back("b");
    if (removeSelfAndA) {
      EXPECT_TRUE(UnhookWindowsHookEx(*bSelf));
      EXPECT_TRUE(UnhookWindowsHookEx(a));
    }
    return CallNextHookEx(*bSelf, Code, w, l);
  });
  Logging(WH_MSGFILTER, "c", log);
  Logging(WH_GETMESSAGE, "other kind", log);
  MSG msg{nullptr, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_FALSE(CallMsgFilter(&msg, MSGF_MENU));
  EXPECT_EQ(log, (Log{"c", "b", "a"}));
  // b removes itself and a while it runs: its own CallNextHookEx reaches no
  // removed hook, and neither runs again.
  log.clear();
  removeSelfAndA = true;
  CallMsgFilter(&msg, MSGF_MENU);
  CallMsgFilter(&msg, MSGF_MENU);
  EXPECT_EQ(log, (Log{"c", "b", "c"}));
}

TEST_F(Hooks, RemovingAHookInTheMiddleKeepsTheOthersLinked) {
  Log log;
  auto aSelf = std::make_shared<HHOOK>();
  HHOOK c = nullptr;
  *aSelf = Install(WH_MSGFILTER, [&, aSelf](int Code, WPARAM w, LPARAM l) {
    log.push_back("a");
    return CallNextHookEx(*aSelf, Code, w, l) + 1;  // the last one answers
  });
  HHOOK b = Logging(WH_MSGFILTER, "b", log);
  c = Logging(WH_MSGFILTER, "c", log);
  EXPECT_TRUE(UnhookWindowsHookEx(b));
  MSG msg;
  EXPECT_TRUE(CallMsgFilter(&msg, MSGF_MENU));  // a's answer came back through c
  EXPECT_EQ(log, (Log{"c", "a"}));
  (void)c;
}

TEST_F(Hooks, FailuresAnswerAsDocumented) {
  SetLastError(0);
  EXPECT_EQ(SetWindowsHookEx(4, [](int, WPARAM, LPARAM) { return LRESULT(0); }, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HOOK_FILTER);
  EXPECT_EQ(SetWindowsHookEx(WH_GETMESSAGE, HOOKPROC(), nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FILTER_PROC);
  EXPECT_EQ(SetWindowsHookEx(WH_GETMESSAGE, [](int, WPARAM, LPARAM) { return LRESULT(0); }, nullptr,
                             GetCurrentThreadId() + 1),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  HHOOK h = SetWindowsHookEx(WH_GETMESSAGE, [](int, WPARAM, LPARAM) { return LRESULT(0); }, nullptr,
                             GetCurrentThreadId());
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(UnhookWindowsHookEx(h));
  EXPECT_FALSE(UnhookWindowsHookEx(h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HOOK_HANDLE);
  EXPECT_EQ(CallNextHookEx(h, 0, 0, 0), 0);
  EXPECT_FALSE(CallMsgFilter(nullptr, MSGF_MENU));
}

TEST_F(Hooks, GetMessageHookSeesPostedMessagesAndRoutedInputAndMayReaddressKeys) {
  TForm* f = NewForm();
  auto* e = new TEdit(f);
  e->SetParent(f);
  f->Show();
  e->SetFocus();
  Log seen;
  std::vector<UINT> atTarget;
  HWND target = AllocateHWnd([&](TMessage& m) { atTarget.push_back(UINT(m.Msg)); });
  Install(WH_GETMESSAGE, [&](int Code, WPARAM w, LPARAM l) {
    auto* msg = reinterpret_cast<MSG*>(l);
    EXPECT_EQ(Code, HC_ACTION);
    EXPECT_EQ(w, WPARAM(PM_REMOVE));
    if (msg->message == WM_USER + 7) seen.push_back("posted");
    if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR || msg->message == WM_KEYUP) {
      seen.push_back(msg->message == WM_KEYDOWN ? "keydown" : msg->message == WM_CHAR ? "char" : "keyup");
      msg->hwnd = target;  // as a menu bar takes the keys while it tracks
    }
    return CallNextHookEx(nullptr, Code, w, l);
  });
  PostMessage(target, WM_USER + 7, 0, 0);
  PumpPending();
  testinput::KeyPress('A');
  EXPECT_EQ(seen, (Log{"posted", "keydown", "keyup"}));
  EXPECT_EQ(atTarget, (std::vector<UINT>{WM_USER + 7, WM_KEYDOWN, WM_KEYUP}));
  EXPECT_EQ(e->Text(), u"");
  DeallocateHWnd(target);
}

TEST_F(Hooks, MenuLoopFiltersItsMessagesAndReportsSelectionAndClose) {
  TForm* f = NewForm();
  f->Show();
  TPopupMenu menu(f);
  Log log;
  auto add = [&](TMenuItem* parent, const char16_t* caption) {
    auto* i = new TMenuItem(&menu);
    i->SetCaption(caption);
    i->OnClick = [&log, i](TObject*) { log.push_back("click " + Utf8(i->Caption())); };
    parent->Add(i);
    return i;
  };
  TMenuItem* first = add(menu.Items(), u"First");
  TMenuItem* more = add(menu.Items(), u"More");
  add(more, u"Deep");
  bool firstKeySent = false;
  bool swallowReturn = false;
  Install(WH_MSGFILTER, [&](int Code, WPARAM w, LPARAM l) {
    auto* msg = reinterpret_cast<MSG*>(l);
    EXPECT_EQ(Code, MSGF_MENU);
    EXPECT_EQ(msg->hwnd, ActiveMenuWindow() != nullptr ? ActiveMenuWindow()->Handle() : nullptr);
    if (!firstKeySent) {
      // As the menu bar's filter does: open with the first item selected.
      firstKeySent = true;
      PostMessage(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    if (msg->message == WM_MENUSELECT) {
      const Word flags = Word(msg->wParam >> 16);
      if (flags == 0xFFFF) {
        log.push_back(msg->lParam == 0 ? "closed" : "bad close");
      } else if (flags & MF_POPUP) {
        TMenuItem* parent = reinterpret_cast<TMenuItem*>(msg->lParam);
        HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(msg->lParam), LOWORD(msg->wParam));
        log.push_back("select popup " + Utf8(parent->Items(LOWORD(msg->wParam))->Caption()) +
                      (sub == more->Handle() ? " (sub)" : ""));
      } else {
        log.push_back(std::string("select ") + (menu.FindItem(LOWORD(msg->wParam), fkCommand) == first ? "First" : "?"));
      }
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && swallowReturn) {
      log.push_back("swallowed");
      return LRESULT(1);
    }
    return CallNextHookEx(nullptr, Code, w, l);
  });
  int step = 0;
  WhileOpen([&] {
    if (step++ == 0) {
      swallowReturn = true;
      testinput::KeyPress(VK_RETURN);  // the filter sees it first and posts the opening Down
      PostMessage(Helper, WM_USER, 0, 0);  // after that Down
      return;
    }
    swallowReturn = false;
    testinput::KeyPress(VK_DOWN);
    testinput::KeyPress(VK_UP);
    testinput::KeyPress(VK_RETURN);
  });
  menu.Popup(10, 10);
  EXPECT_EQ(log, (Log{"swallowed", "select First", "select popup More (sub)", "select First", "closed", "click First"}));
}

}  // namespace
