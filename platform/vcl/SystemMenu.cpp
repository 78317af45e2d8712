// System menus of top-level windows, and showing menus and changing their
// items by handle.
#include "platform/vcl/SystemMenu.h"

#include <map>
#include <memory>

#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/FormWindowInternal.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MenuLoopInternal.h"
#include "platform/win/WinError.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

// Named rather than anonymous: the file shares a unity batch with others.
namespace systemmenu_impl {

struct TSystemMenus {
  std::map<HWND, std::unique_ptr<TPopupMenu>> ByWindow;
  // The command identifiers of system-menu items (other items answer their Command).
  std::map<const TMenuItem*, UINT> Ids;
};

TSystemMenus& SystemMenus() {
  // Never destroyed: the menus must not outlive the menu registry at exit.
  static auto* menus = new TSystemMenus;
  return *menus;
}

void DropSystemMenu(std::map<HWND, std::unique_ptr<TPopupMenu>>::iterator It) {
  TSystemMenus& s = SystemMenus();
  TMenuItem* root = It->second->Items();
  for (Integer i = 0; i < root->Count(); ++i) s.Ids.erase(root->Items(i));
  s.ByWindow.erase(It);
}

// Menus of windows that went away go with them (checked whenever a menu is asked for).
void DropDeadWindows() {
  TSystemMenus& s = SystemMenus();
  for (auto it = s.ByWindow.begin(); it != s.ByWindow.end();) {
    auto next = std::next(it);
    if (!IsWindow(it->first)) DropSystemMenu(it);
    it = next;
  }
}

UINT ItemId(const TMenuItem* Item) {
  auto it = SystemMenus().Ids.find(Item);
  return it != SystemMenus().Ids.end() ? it->second : Item->Command();
}

// The window whose system menu Root is; nullptr for any other menu.
HWND SystemMenuWindow(const TMenuItem* Root) {
  for (const auto& [wnd, menu] : SystemMenus().ByWindow)
    if (menu->Items() == Root) return wnd;
  return nullptr;
}

TMenuItem* FindById(TMenuItem* Parent, UINT Id) {
  for (Integer i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (!item->IsLine() && item->Count() == 0 && ItemId(item) == Id) return item;
    if (item->Count() > 0)
      if (TMenuItem* deep = FindById(item, Id)) return deep;
  }
  return nullptr;
}

TMenuItem* ItemOfSystemMenu(TMenuItem* Root, WPARAM Command) { return FindById(Root, UINT(Command)); }

void ApplyStandardStates(HWND Wnd, TMenuItem* Root) {
  const TWindowBridge* bridge = controls_internal::BridgeOf(Wnd);
  const DWORD style = bridge != nullptr ? bridge->Style() : 0;
  const auto* form = dynamic_cast<TCustomForm*>(FindControl(Wnd));
  const TWindowState state = form != nullptr ? form->WindowState() : wsNormal;
  const struct {
    WPARAM Command;
    bool Enabled;
  } rules[] = {
      {SC_RESTORE, state != wsNormal},
      {SC_MOVE, state != wsMaximized},
      {SC_SIZE, (style & WS_THICKFRAME) != 0 && state == wsNormal},
      {SC_MINIMIZE, (style & WS_MINIMIZEBOX) != 0 && state != wsMinimized},
      {SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) != 0 && state != wsMaximized},
  };
  for (const auto& rule : rules)
    if (TMenuItem* item = ItemOfSystemMenu(Root, rule.Command)) item->SetEnabled(rule.Enabled);
}

TPopupMenu* MakeSystemMenu(HWND Wnd) {
  TSystemMenus& s = SystemMenus();
  auto menu = std::make_unique<TPopupMenu>(nullptr);
  const struct {
    const char16_t* Caption;
    WPARAM Command;
  } entries[] = {
      {u"&Restore", SC_RESTORE}, {u"&Move", SC_MOVE},         {u"&Size", SC_SIZE}, {u"Mi&nimize", SC_MINIMIZE},
      {u"Ma&ximize", SC_MAXIMIZE}, {u"-", 0},                  {u"&Close", SC_CLOSE},
  };
  for (const auto& e : entries) {
    auto* item = new TMenuItem(menu.get());  // owned by the menu
    item->SetCaption(e.Caption);
    if (e.Command == SC_CLOSE) item->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));
    menu->Items()->Add(item);
    if (e.Command != 0) s.Ids[item] = UINT(e.Command);
  }
  ApplyStandardStates(Wnd, menu->Items());
  TPopupMenu* raw = menu.get();
  s.ByWindow[Wnd] = std::move(menu);
  return raw;
}

}  // namespace systemmenu_impl

namespace systemmenu_internal {

void WindowStateChanged(HWND Wnd) {
  using namespace systemmenu_impl;
  auto it = SystemMenus().ByWindow.find(Wnd);
  if (it != SystemMenus().ByWindow.end()) ApplyStandardStates(Wnd, it->second->Items());
}

}  // namespace systemmenu_internal

HMENU GetSystemMenu(HWND Wnd, BOOL Revert) {
  using namespace systemmenu_impl;
  DropDeadWindows();
  const TWindowBridge* bridge = controls_internal::BridgeOf(Wnd);
  if (bridge == nullptr || FindControl(Wnd) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  TSystemMenus& s = SystemMenus();
  auto it = s.ByWindow.find(Wnd);
  if (Revert) {
    if (it != s.ByWindow.end()) DropSystemMenu(it);
    return nullptr;
  }
  if (!bridge->TopLevel() || !(bridge->Style() & WS_SYSMENU)) return nullptr;
  TPopupMenu* menu = it != s.ByWindow.end() ? it->second.get() : MakeSystemMenu(Wnd);
  return menu->Items()->Handle();
}

BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Wnd, const TRect*) {
  using namespace systemmenu_impl;
  if (!menus_internal::IsLiveMenu(Menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return 0;
  }
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (menus_internal::MenuLoopRunning()) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return 0;
  }
  auto* root = reinterpret_cast<TMenuItem*>(Menu);
  const bool system = SystemMenuWindow(root) != nullptr;
  TMenuItem* chosen = menus_internal::TrackPopupItems(root, TPoint{X, Y}, Wnd);
  // The chosen item's handle is only looked at while its menu still lives (a message may have freed it).
  const UINT id = chosen != nullptr && menus_internal::IsLiveMenu(chosen->Handle()) ? ItemId(chosen) : 0;
  if (Flags & TPM_RETURNCMD) return BOOL(id);
  if (id != 0 && IsWindow(Wnd)) {
    if (system) PostMessage(Wnd, WM_SYSCOMMAND, WPARAM(id), 0);
    else PostMessage(Wnd, WM_COMMAND, MAKEWPARAM(int(id), 0), 0);
  }
  return TRUE;
}

BOOL EnableMenuItem(HMENU Menu, UINT IDEnableItem, UINT Enable) {
  using namespace systemmenu_impl;
  if (!menus_internal::IsLiveMenu(Menu)) return -1;
  auto* root = reinterpret_cast<TMenuItem*>(Menu);
  TMenuItem* item = nullptr;
  if (Enable & MF_BYPOSITION) {
    if (IDEnableItem < UINT(root->Count())) item = root->Items(Integer(IDEnableItem));
  } else {
    item = FindById(root, IDEnableItem);
  }
  if (item == nullptr) return -1;
  const BOOL previous = item->Enabled() ? BOOL(MF_ENABLED) : BOOL(MF_GRAYED);
  item->SetEnabled((Enable & (MF_GRAYED | MF_DISABLED)) == 0);
  return previous;
}
