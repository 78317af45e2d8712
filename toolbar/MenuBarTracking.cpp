#include "toolbar/MenuBarTracking.h"

#include "menus/AdvMenus.h"
#include "platform/win/Window.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

namespace toolbar {

// The toolbar's state the filters read and write.
struct TMenuBarAccess {
  static TAdvPopupMenu* TempMenu(TAdvCustomToolBar* T) { return T->FTempMenu; }
  static void SetMenuResult(TAdvCustomToolBar* T) { T->FMenuResult = true; }
  static void ClearCaptureChangeCancels(TAdvCustomToolBar* T) { T->FCaptureChangeCancels = false; }
  static bool Tracking(TAdvCustomToolBar* T) { return T->FMenuFocused; }
};

TMenuBarTracking& MenuBarTracking() {
  static TMenuBarTracking state;
  return state;
}

namespace {

bool RightToLeft(TMenuItem* Item) {
  TMenu* m = Item != nullptr ? Item->GetParentMenu() : nullptr;
  return m != nullptr && m->BiDiMode() != bdLeftToRight;
}

bool IsKeyMessage(UINT Msg) {
  return Msg == WM_KEYDOWN || Msg == WM_KEYUP || Msg == WM_CHAR || Msg == WM_SYSKEYDOWN || Msg == WM_SYSKEYUP;
}

LRESULT MenuBarMsgHookProc(int Code, WPARAM wParam, LPARAM lParam) {
  TMenuBarTracking& t = MenuBarTracking();
  auto* msg = reinterpret_cast<MSG*>(lParam);
  // A right-to-left menu steps the other way: only arrow keys are turned
  // round, other messages keep their parameters.
  if (msg != nullptr && t.MenuBarLastItem != nullptr && RightToLeft(t.MenuBarLastItem) &&
      (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)) {
    if (msg->wParam == VK_LEFT) msg->wParam = VK_RIGHT;
    else if (msg->wParam == VK_RIGHT) msg->wParam = VK_LEFT;
  }
  const LRESULT r = CallNextHookEx(t.MenuBarHook, Code, wParam, lParam);
  TAdvCustomToolBar* tb = t.MenuBarToolBar;
  if (r != 0 || t.MenuBarSwitching || Code != MSGF_MENU || msg == nullptr || tb == nullptr) return r;
  if (!t.MenuBarFirstKeySent) {
    t.MenuBarFirstKeySent = true;
    PostMessage(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  TControl* target = nullptr;
  bool byMouse = false;
  switch (msg->message) {
    case WM_KEYDOWN:
      if (msg->wParam == VK_RETURN) {
        TMenuBarAccess::SetMenuResult(tb);
      } else if (msg->wParam == VK_ESCAPE) {
        t.MenuBarSwitching = true;
      } else if (t.MenuBarLastItem != nullptr) {
        TAdvPopupMenu* menu = TMenuBarAccess::TempMenu(tb);
        if (msg->wParam == VK_RIGHT && t.MenuBarLastItem->Count() == 0)
          target = FindNextMenuBarButton(true);
        else if (msg->wParam == VK_LEFT && menu != nullptr && t.MenuBarLastItem->Parent() == menu->Items())
          target = FindNextMenuBarButton(false);
      }
      break;
    case WM_SYSKEYDOWN:
      if (msg->wParam == VK_MENU) tb->CancelMenuLoop();
      return r;
    case WM_MENUSELECT: {
      const Word flags = Word((msg->wParam >> 16) & 0xFFFF);
      if (flags == 0xFFFF && msg->lParam == 0) {
        if (!t.MenuBarSwitching) tb->CancelMenuLoop();
        return r;
      }
      t.MenuBarSwitching = false;
      t.MenuBarLastItem = nullptr;
      if (TAdvPopupMenu* menu = TMenuBarAccess::TempMenu(tb)) {
        if ((flags & MF_POPUP) != 0) {
          HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(msg->lParam), LOWORD(msg->wParam));
          t.MenuBarLastItem = menu->FindItem(reinterpret_cast<NativeInt>(sub), fkHandle);
        } else {
          t.MenuBarLastItem = menu->FindItem(LOWORD(msg->wParam), fkCommand);
        }
      }
      break;
    }
    case WM_MOUSEMOVE:
      if (msg->pt != t.MenuBarMousePos) {
        target = FindDragTarget(msg->pt, false);
        t.MenuBarMousePos = msg->pt;
        byMouse = true;
      }
      break;
    default: break;
  }
  // Only another menu button of the same bar takes over.
  auto* b = dynamic_cast<TAdvCustomToolBarButton*>(target);
  if (b != nullptr && b->IsMenuButton() && b != t.MenuBarButton && b->ZadEdevAzi() == tb && b->Parent() != nullptr &&
      b->Parent()->HandleAllocated()) {
    t.MenuBarSwitching = true;
    TMenuBarAccess::ClearCaptureChangeCancels(tb);
    tb->ClickMenuButton(b, byMouse);
  }
  return r;
}

LRESULT MenuBarKeyHookProc(int Code, WPARAM wParam, LPARAM lParam) {
  TMenuBarTracking& t = MenuBarTracking();
  const HHOOK self = t.MenuBarKeyHook;
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (Code == HC_ACTION && msg != nullptr) {
    TAdvCustomToolBar* tb = t.MenuBarKeyToolBar;
    if (msg->message == CM_DEACTIVATE) {
      if (tb != nullptr) tb->CancelMenuLoop();
    } else if (msg->message == WM_COMMAND) {
      RemoveMenuBarKeyHook();
    } else if (t.MenuBarHook == nullptr && IsKeyMessage(msg->message) && tb != nullptr &&
               TMenuBarAccess::Tracking(tb) && tb->HandleAllocated()) {
      // Keys belong to the tracking bar only, and only while it tracks.
      msg->hwnd = tb->Handle();
    }
  }
  return CallNextHookEx(self, Code, wParam, lParam);
}

}  // namespace

void InstallMenuBarHook() {
  TMenuBarTracking& t = MenuBarTracking();
  t.MenuBarSwitching = false;
  GetCursorPos(&t.MenuBarMousePos);
  if (t.MenuBarHook == nullptr) t.MenuBarHook = SetWindowsHookEx(WH_MSGFILTER, MenuBarMsgHookProc, nullptr, 0);
}

void RemoveMenuBarHook() {
  TMenuBarTracking& t = MenuBarTracking();
  if (t.MenuBarHook != nullptr) UnhookWindowsHookEx(t.MenuBarHook);
  t.MenuBarHook = nullptr;
  t.MenuBarLastItem = nullptr;
  t.MenuBarToolBar = nullptr;
  t.MenuBarButton = nullptr;
  t.MenuBarFirstKeySent = false;
}

void InstallMenuBarKeyHook() {
  TMenuBarTracking& t = MenuBarTracking();
  if (t.MenuBarKeyHook == nullptr) t.MenuBarKeyHook = SetWindowsHookEx(WH_GETMESSAGE, MenuBarKeyHookProc, nullptr, 0);
}

void RemoveMenuBarKeyHook() {
  TMenuBarTracking& t = MenuBarTracking();
  if (t.MenuBarKeyHook != nullptr) UnhookWindowsHookEx(t.MenuBarKeyHook);
  t.MenuBarKeyHook = nullptr;
  t.MenuBarKeyToolBar = nullptr;
}

TControl* FindNextMenuBarButton(bool AForward) {
  TMenuBarTracking& t = MenuBarTracking();
  TAdvCustomToolBar* tb = t.MenuBarToolBar;
  if (tb == nullptr) return nullptr;
  const Integer n = tb->ToolBarControlCount();
  if (n == 0) return nullptr;
  // Where the open menu's button stands now.
  const Integer start = t.MenuBarButton != nullptr ? tb->IndexOfToolBarControl(t.MenuBarButton) : -1;
  if (start < 0) return nullptr;
  Integer i = start;
  for (Integer k = 1; k < n; ++k) {
    i = AForward ? (i + 1) % n : (i - 1 + n) % n;
    auto* b = dynamic_cast<TAdvCustomToolBarButton*>(tb->GetToolBarControls(i));
    if (b != nullptr && b->Visible() && b->Enabled()) return b;
  }
  return nullptr;
}

void ForgetMenuBarToolBar(TAdvCustomToolBar* ToolBar) {
  TMenuBarTracking& t = MenuBarTracking();
  if (t.MenuBarToolBar == ToolBar) RemoveMenuBarHook();
  if (t.MenuBarKeyToolBar == ToolBar) RemoveMenuBarKeyHook();
}

}  // namespace toolbar
