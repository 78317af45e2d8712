// The toolbar as a menu bar: dropping the menus of its menu buttons,
// keyboard tracking across the buttons, Alt, F10 and accelerators.
#include <algorithm>

#include "menus/AdvMenus.h"
#include "platform/rtl/DestroyWatch.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Monitors.h"
#include "platform/win/Window.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/MenuBarTracking.h"

namespace toolbar {

// Posted by the toolbar to itself whenever a dropped menu has returned.
constexpr UINT WM_ATBMENUCLOSED = 0x1400;
// Posted by the toolbar to itself when it drops a menu: handled inside the menu's loop.
constexpr UINT WM_ATBMENUOPENED = 0x1401;

// The toolbar's watch on its form's window procedure: the form's menu key
// (Alt, F10, Alt+letter) reaches the toolbar first, and a deactivated form
// ends keyboard tracking. It sits in the form's chain as one link and is
// taken out again without unhooking links added after it.
struct TFormKeyMenuTap {
  TAdvCustomToolBar* ToolBar = nullptr;
  TCustomForm* Form = nullptr;
  std::function<void(TMessage&)> Previous;
  bool Active = true;
};

namespace {

struct TTapProc {
  std::shared_ptr<TFormKeyMenuTap> Tap;
  void operator()(TMessage& M) const {
    const std::shared_ptr<TFormKeyMenuTap> tap = Tap;  // this link may be replaced meanwhile
    if (tap->Active && tap->ToolBar != nullptr) {
      if (M.Msg == WM_SYSCOMMAND && (M.WParam & 0xFFF0) == SC_KEYMENU) {
        if (tap->ToolBar->Perform(WM_SYSCOMMAND, M.WParam, M.LParam) != 0) {
          M.Result = 0;
          return;
        }
      } else if (M.Msg == CM_DEACTIVATE && tap->ToolBar->InMenuLoop()) {
        tap->ToolBar->CancelMenuLoop();
      }
    }
    if (tap->Previous) tap->Previous(M);
  }
};

void RemoveTap(const std::shared_ptr<TFormKeyMenuTap>& Tap) {
  if (Tap == nullptr) return;
  Tap->Active = false;
  Tap->ToolBar = nullptr;
  if (Tap->Form == nullptr || Tap->Form->ComponentState().Contains(csDestroying)) return;
  // Still the outermost link: the form gets its previous procedure back;
  // otherwise the link stays, passing everything on.
  if (auto* p = Tap->Form->WindowProc.target<TTapProc>(); p != nullptr && p->Tap == Tap)
    Tap->Form->WindowProc = Tap->Previous;
}

bool HasVisibleItems(TAdvCustomToolBarButton* B) {
  TMenuItem* root = B->DropDownMenu() != nullptr ? B->DropDownMenu()->Items() : B->MenuItem();
  if (root == nullptr) return false;
  for (Integer i = 0; i < root->Count(); ++i)
    if (root->Items(i)->Visible()) return true;
  return false;
}

}  // namespace

void TAdvCustomToolBar::TapFormKeyMenu() {
  TCustomForm* form = GetParentForm(this);
  if (FFormKeyMenuTap != nullptr && FFormKeyMenuTap->Form == form) return;
  RemoveTap(FFormKeyMenuTap);
  FFormKeyMenuTap.reset();
  if (form == nullptr || FMenu == nullptr) return;
  auto tap = std::make_shared<TFormKeyMenuTap>();
  tap->ToolBar = this;
  tap->Form = form;
  tap->Previous = form->WindowProc;
  form->WindowProc = TTapProc{tap};
  FFormKeyMenuTap = tap;
}

void TAdvCustomToolBar::MenuBarDestroying() {
  RemoveTap(FFormKeyMenuTap);
  FFormKeyMenuTap.reset();
  ForgetMenuBarToolBar(this);
  // Lent sub-items go home before the temporary menu that holds them is freed.
  if (FButtonMenu != nullptr && FTempMenu != nullptr) {
    TMenuItem* root = FTempMenu->Items();
    for (Integer i = root->Count() - 1; i >= 0; --i) {
      TMenuItem* sub = root->Items(i);
      root->Remove(sub);
      FButtonMenu->Insert(0, sub);
    }
    FButtonMenu = nullptr;
  }
  RemoveWindowListItems();
  ReleaseMDIFormLink();
  RemoveAllMDIChildMenu();
}

// --- dropping a menu ---

bool TAdvCustomToolBar::DropDownMenuButton(TAdvCustomToolBarButton* Button) {
  if (Button == nullptr) return false;
  TDestroyWatch watch(this);
  FCaptureChangeCancels = false;
  if (Button->DropDownMenu() != nullptr) {
    RestoreButtonMenu();
    FTempMenu = Button->DropDownMenu();
  } else {
    TMenuItem* item = Button->MenuItem();
    if (item == nullptr) {
      if (HandleAllocated()) PostMessage(Handle(), WM_ATBMENUCLOSED, 0, 0);
      return false;
    }
    // The application may fill the sub-items on demand.
    if (!(Button->FInternalClick && item->Count() == 0)) {
      TDestroyWatch button(Button);
      item->Click();
      if (watch.Gone() || button.Gone()) return false;
    }
    RestoreButtonMenu();
    auto* menu = new TAdvPopupMenu(this);  // owned by the toolbar as a component
    if (TMenu* parent = item->GetParentMenu()) {
      menu->SetBiDiMode(parent->BiDiMode());
      menu->SetAutoHotkeys(parent->AutoHotkeys());
      menu->SetImages(parent->Images());
      if (auto* main = dynamic_cast<TAdvMainMenu*>(parent)) {
        menu->SetShowNotes(main->ShowNotes());
        menu->SetDisabledImages(main->DisabledImages());
      }
    }
    menu->SetTrackButton(tbLeftButton);
    FTempMenu = menu;
    FButtonMenu = item;
    AddWindowListItems();
    // From the last to the first onto position 0: they keep their order.
    for (Integer i = item->Count() - 1; i >= 0; --i) {
      TMenuItem* sub = item->Items(i);
      item->Remove(sub);
      menu->Items()->Insert(0, sub);
    }
  }
  TAdvPopupMenu* menu = FTempMenu;
  TMenuItem* root = menu->Items();
  Integer visible = 0;
  for (Integer i = 0; i < root->Count(); ++i)
    if (root->Items(i)->Visible()) ++visible;
  Perform(WM_CANCELMODE, 0, 0);
  menu->SetPopupComponent(this);

  TMenuBarTracking& t = MenuBarTracking();
  bool hooked = false;
  if (root->Count() > 0 && FMenu != nullptr) {
    t.MenuBarToolBar = this;
    t.MenuBarButton = Button;
    InstallMenuBarHook();
    hooked = true;
    // The menu opens with its first item selected as soon as its loop
    // runs, not only once the filter sees the user act.
    if (HandleAllocated()) PostMessage(Handle(), WM_ATBMENUOPENED, 0, 0);
  }
  SetHotMenuButtonIndex(-1);

  // The widest item, measured as the menu will measure it.
  Integer W = 0;
  auto measure = [](TMenuItem* it) {
    MEASUREITEMSTRUCT mi;
    mi.CtlType = ODT_MENU;
    mi.itemID = it->Command();
    mi.itemWidth = 10;
    mi.itemHeight = 10;
    if (HWND list = PopupListWindow()) SendMessage(list, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
    return mi;
  };
  {
    TMenuItem* widest = nullptr;
    Integer best = -1;
    for (Integer i = 0; i < root->Count(); ++i) {
      TMenuItem* it = root->Items(i);
      const Integer w = Canvas()->TextWidth(it->Caption()) + Canvas()->TextWidth(ShortCutToText(it->ShortCut()));
      if (w > best) {
        best = w;
        widest = it;
      }
    }
    if (widest != nullptr) W = Integer(measure(widest).itemWidth);
  }

  TPoint P;
  const bool rtl = menu->BiDiMode() != bdLeftToRight;
  switch (FPosition) {
    case daLeft: P = Button->ClientToScreen(TPoint{Button->ClientWidth(), 1}); break;
    case daRight:
      P = Button->ClientToScreen(TPoint{0, 1});
      P.X -= W;
      break;
    default: {
      P = Button->ClientToScreen(TPoint{0, Button->ClientHeight()});
      if (rtl) P.X += Button->Width();
      // The monitor's far edges (a monitor need not start at 0).
      Integer bottom = Screen->Height(), right = Screen->Width();
      if (TMonitor* mon = Screen->MonitorFromPoint(P)) {
        bottom = mon->BoundsRect().Bottom;
        right = mon->BoundsRect().Right;
      }
      Integer H = 0;
      if (FPosition == daTop) {
        for (Integer i = 0; i < root->Count(); ++i)
          if (root->Items(i)->Visible()) H += Integer(measure(root->Items(i)).itemHeight);
        if (bottom < H + P.Y + 10) P.Y -= Button->Height() + H + 4;
      } else {
        H = GetSystemMetrics(SM_CYMENU) * root->Count();
        if (bottom < H + P.Y + 10) P.Y -= H + Button->Height() + 4;
      }
      if (right < W + P.X + 52) P.X = right - W - 52;
      break;
    }
  }
  FMenuDropped = true;
  if (TCustomZadEdevAziStyler* s = Styler()) menu->SetMenuStyler(s->CurrentAdvMenuStyler());

  TDestroyWatch buttonWatch(Button);
  if (visible > 0) {
    Button->FMenuDisplayed = true;
    menu->Popup(P.X, P.Y);
    if (watch.Gone()) return false;
    if (!buttonWatch.Gone()) FLastMenuButton = Button;
  }
  if (hooked) RemoveMenuBarHook();
  if (buttonWatch.Gone()) {
    FMenuDropped = false;
    return false;
  }
  FMenuButton = Button;
  Button->ResetHotState();
  if (t.MenuBarSwitching && FMenuFocused) SetHotMenuButton(Button);
  DoMoveUpInRUList(Button);
  if (HandleAllocated()) PostMessage(Handle(), WM_ATBMENUCLOSED, 0, 0);
  return true;
}

void TAdvCustomToolBar::MenuClosed(TMessage&) {
  TAdvCustomToolBarButton* b = FLastMenuButton;
  if (b != nullptr && IndexOfToolBarControl(b) < 0) b = nullptr;  // gone from the bar meanwhile
  RestoreButtonMenu();
  // A button's own drop-down menu is only borrowed while it shows.
  if (FButtonMenu == nullptr && FTempMenu != nullptr && FTempMenu->Owner() != this) FTempMenu = nullptr;
  // The press that closed the menu was taken by the menu: nothing to undo.
  FMenuDropped = false;
  if (b != nullptr) {
    b->FMenuDisplayed = false;
    b->Invalidate();
  }
  FCaptureChangeCancels = true;
  if (FSwitchButton != nullptr) {
    TAdvCustomToolBarButton* next = FSwitchButton;
    FSwitchButton = nullptr;
    if (IndexOfToolBarControl(next) >= 0) SwitchToMenuButton(next);
  }
}

void TAdvCustomToolBar::RestoreButtonMenu() {
  if (FButtonMenu == nullptr || FMenuButton == nullptr || FMenuButton->MenuItem() == nullptr || FTempMenu == nullptr) {
    RemoveWindowListItems();
    return;
  }
  TMenuItem* root = FTempMenu->Items();
  for (Integer i = root->Count() - 1; i >= 0; --i) {
    TMenuItem* sub = root->Items(i);
    root->Remove(sub);
    FButtonMenu->Insert(0, sub);
  }
  TAdvPopupMenu* menu = FTempMenu;
  FTempMenu = nullptr;
  FMenuButton = nullptr;
  FButtonMenu = nullptr;
  delete menu;  // a component the toolbar owns; a button's own DropDownMenu never comes here
  RemoveWindowListItems();
}

// --- keyboard tracking ---

void TAdvCustomToolBar::StartMenuLoop(TAdvCustomToolBarButton* Button) {
  MenuBarTracking().MenuBarKeyToolBar = this;
  if (HandleAllocated()) SetCapture(Handle());
  FMenuFocused = true;
  InstallMenuBarKeyHook();
  if (Button != nullptr) {
    SetHotMenuButton(Button);
    Button->DoDropDown();
  } else {
    SetHotMenuButtonIndex(0);
    FCaptureChangeCancels = true;
  }
}

bool TAdvCustomToolBar::RunMenuLoop(TAdvCustomToolBarButton* Button) {
  if (FMenuFocused) {
    if (Button == nullptr) return false;
    ClickMenuButton(Button, false);
    return true;
  }
  TDestroyWatch watch(this);
  FMenuResult = false;
  StartMenuLoop(Button);
  if (watch.Gone()) return false;
  // A menu dropped by the start may already have ended the tracking.
  if (FMenu != nullptr && FMenuFocused) {
    FInMenuLoop = true;
    while (FInMenuLoop && Application != nullptr && !Application->Terminated()) {
      Application->HandleMessage();
      if (watch.Gone()) return false;
    }
  }
  CancelMenuLoop();
  return FMenuResult;
}

void TAdvCustomToolBar::CancelMenuLoop() {
  if (FMenuFocused) {
    FMenuFocused = false;
    if (MenuBarTracking().MenuBarKeyToolBar == this) RemoveMenuBarKeyHook();
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  }
  FInMenuLoop = false;
  FCaptureChangeCancels = false;
  SetHotMenuButtonIndex(-1);
}

void TAdvCustomToolBar::ClickMenuButton(TAdvCustomToolBarButton* Button, bool) {
  if (Button == nullptr) return;
  FCaptureChangeCancels = false;
  FLastMenuButton = nullptr;
  Button->FInternalClick = true;
  // The open menu closes first; its menu-closed message moves on. Mouse and
  // keyboard go the same way: our own menu and button are acted on directly.
  FSwitchButton = Button;
  if (ActiveMenuWindow() != nullptr) {
    CloseMenus();
    return;
  }
  FSwitchButton = nullptr;
  SwitchToMenuButton(Button);
}

void TAdvCustomToolBar::SwitchToMenuButton(TAdvCustomToolBarButton* Button) {
  if (HasVisibleItems(Button) || (Button->MenuItem() != nullptr && !Button->FInternalClick)) {
    SetHotMenuButton(Button);
    Button->DoDropDown();
    Button->FInternalClick = false;
    return;
  }
  // Nothing to drop: the bar stays in keyboard tracking on that button.
  Button->FInternalClick = false;
  if (!FMenuFocused) StartMenuLoop(nullptr);
  SetHotMenuButton(Button);
}

namespace {
bool EligibleMenuButton(TControl* C) {
  auto* b = dynamic_cast<TAdvCustomToolBarButton*>(C);
  return b != nullptr && b->IsMenuButton() && b->Visible() && b->Enabled();
}
}  // namespace

bool TAdvCustomToolBar::SetHotMenuButton(TAdvCustomToolBarButton* Button) {
  if (Button != nullptr) {
    Button->SetHot(true);
    FHotButton = Button;
    return true;
  }
  TAdvCustomToolBarButton* hot = HotMenuButton();
  FHotButton = nullptr;
  if (hot == nullptr) return false;
  hot->SetHot(false);
  return true;
}

bool TAdvCustomToolBar::SetHotMenuButtonIndex(Integer Index) {
  if (Index < 0) return SetHotMenuButton(nullptr);
  Integer k = 0;
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    TControl* c = GetToolBarControls(i);
    if (!EligibleMenuButton(c)) continue;
    if (k++ == Index) return SetHotMenuButton(static_cast<TAdvCustomToolBarButton*>(c));
  }
  return false;
}

TAdvCustomToolBarButton* TAdvCustomToolBar::HotMenuButton() const {
  // Looked up by identity in the list as it is now.
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(GetToolBarControls(i)); b != nullptr && b->Hot()) return b;
  return nullptr;
}

TAdvCustomToolBarButton* TAdvCustomToolBar::FindAccelButton(Char Key) const {
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    auto* b = dynamic_cast<TAdvCustomToolBarButton*>(GetToolBarControls(i));
    if (b != nullptr && b->Visible() && b->Enabled() && IsAccel(Word(Key), b->Caption())) return b;
  }
  return nullptr;
}

bool TAdvCustomToolBar::IsShortCut(TMessage& Message, bool) {
  // Actions of this layer carry no shortcut: only the menu's items have one.
  return FMenu != nullptr && FMenu->IsShortCut(Word(Message.WParam), KeyDataToShiftState(Message.LParam));
}

bool TAdvCustomToolBar::MenuBarKeyDown(TMessage& Message) {
  TAdvCustomToolBarButton* h = HotMenuButton();
  switch (Message.WParam) {
    case VK_RETURN:
      if (h != nullptr) h->DoDropDown();
      return false;
    case VK_DOWN:
      if (h != nullptr) h->DoDropDown();
      return true;
    case VK_ESCAPE: CancelMenuLoop(); return false;
    case VK_LEFT:
    case VK_RIGHT: {
      if (h == nullptr) return false;
      std::vector<TAdvCustomToolBarButton*> list;
      for (Integer i = 0; i < ToolBarControlCount(); ++i)
        if (EligibleMenuButton(GetToolBarControls(i)))
          list.push_back(static_cast<TAdvCustomToolBarButton*>(GetToolBarControls(i)));
      auto at = std::find(list.begin(), list.end(), h);
      if (list.empty() || at == list.end()) return false;
      const std::size_t i = std::size_t(at - list.begin());
      const std::size_t next =
          Message.WParam == VK_RIGHT ? (i + 1) % list.size() : (i == 0 ? list.size() - 1 : i - 1);
      SetHotMenuButton(list[next]);
      return false;
    }
    default: return false;
  }
}

// --- messages ---

bool TAdvCustomToolBar::MenuBarMessage(TMessage& M) {
  switch (M.Msg) {
    case WM_ATBMENUCLOSED: MenuClosed(M); return true;
    case WM_ATBMENUOPENED: {
      TMenuBarTracking& t = MenuBarTracking();
      TWinControl* w = ActiveMenuWindow();
      if (t.MenuBarHook != nullptr && t.MenuBarToolBar == this && !t.MenuBarFirstKeySent && w != nullptr &&
          w->HandleAllocated()) {
        t.MenuBarFirstKeySent = true;
        PostMessage(w->Handle(), WM_KEYDOWN, VK_DOWN, 0);
      }
      return true;
    }
    case CM_SHOWINGCHANGED:
      if (FMenu != nullptr && Showing()) TapFormKeyMenu();
      return false;
    case CM_DIALOGKEY:
      if (Enabled() && Showing() && FMenu != nullptr) IsShortCut(M, false);
      return false;
    case CM_DIALOGCHAR: {
      if (!Enabled() || !Showing()) return false;
      const Char key = Char(M.WParam);
      // While tracking a typed letter opens its button as with Alt held.
      if (GetKeyState(VK_MENU) < 0 || FMenuFocused) {
        if (TAdvCustomToolBarButton* b = FindAccelButton(key)) {
          if (b->IsMenuButton() && (b->DropDownMenu() != nullptr || b->MenuItem() != nullptr)) {
            SetHotMenuButton(b);
            b->DoDropDown();
          } else {
            b->Click();
          }
          M.Result = 1;
          return true;
        }
      }
      return false;
    }
    case CN_SYSKEYDOWN:
      if (M.WParam == VK_MENU) CancelMenuLoop();
      return false;
    case CN_CHAR:
      M.Result = 0;
      if (FMenuFocused && Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0) M.Result = 1;
      return true;
    case WM_CAPTURECHANGED:
      if (FMenuFocused && FCaptureChangeCancels) CancelMenuLoop();
      return false;
    case WM_GETDLGCODE:
      M.Result = (FMenuFocused || OnPage() || OnCompactWindow()) ? DLGC_WANTARROWS : 0;
      return true;
    case WM_KEYDOWN:
      return FMenuFocused && MenuBarKeyDown(M);
    case WM_SYSCOMMAND: {
      if (FMenuFocused || !Enabled() || !Showing() || FMenu == nullptr || (M.WParam & 0xFFF0) != SC_KEYMENU) return false;
      const Char key = Char(M.LParam);
      if (key == u' ' || key == u'-' || GetCapture() != nullptr) return false;
      if (key == 0) {
        M.Result = 1;
        RunMenuLoop(nullptr);
        return true;
      }
      if (TAdvCustomToolBarButton* b = FindAccelButton(key)) {
        M.Result = 1;
        RunMenuLoop(b);
        return true;
      }
      return false;
    }
    default: return false;
  }
}

}  // namespace toolbar
