#include "menus/MenuQueries.h"

#include <map>

#include "menus/AdvMenus.h"
#include "menus/MenuPaint.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

Integer MenuEdgeWidth = 17;

void InitMenuEdgeWidth() { MenuEdgeWidth = Integer(Round(17.0 * GetMenuDPIScale())); }

IAdvMenu* GetAdvMenuIntf(TMenu* Menu) {
  return dynamic_cast<IAdvMenu*>(Menu);
}

TMenu* MenuOfItem(TMenuItem* Item) {
  if (Item == nullptr) return nullptr;
  if (Item->Parent() == nullptr) return dynamic_cast<TMenu*>(Item->Owner());
  return Item->GetParentMenu();
}

IAdvMenu* GetAdvMenuIntf(TMenuItem* Item) { return GetAdvMenuIntf(MenuOfItem(Item)); }

bool IsBarItem(TMenuItem* Item) {
  if (Item == nullptr || Item->Parent() == nullptr) return false;
  TMenu* m = Item->GetParentMenu();
  return dynamic_cast<TMainMenu*>(m) != nullptr && Item->Parent() == m->Items();
}

Integer ItemLevel(TMenuItem* Item) {
  Integer n = 0;
  for (TMenuItem* p = Item != nullptr ? Item->Parent() : nullptr; p != nullptr; p = p->Parent()) ++n;
  return n - 1;
}

bool HasBreakBefore(TMenuItem* Item) {
  if (Item == nullptr || Item->Parent() == nullptr) return false;
  TMenuItem* p = Item->Parent();
  for (Integer i = 0; i <= Item->MenuIndex(); ++i)
    if (p->Items(i)->Visible() && p->Items(i)->Break() != mbNone) return true;
  return false;
}

bool HasBreakFromHere(TMenuItem* Item) {
  if (Item == nullptr || Item->Parent() == nullptr) return false;
  TMenuItem* p = Item->Parent();
  for (Integer i = Item->MenuIndex(); i < p->Count(); ++i)
    if (p->Items(i)->Visible() && p->Items(i)->Break() != mbNone) return true;
  return false;
}

TMenuItem* FirstVisibleItem(TMenuItem* Parent) {
  if (Parent == nullptr) return nullptr;
  for (Integer i = 0; i < Parent->Count(); ++i)
    if (Parent->Items(i)->Visible()) return Parent->Items(i);
  return nullptr;
}

Integer VisibleIndex(TMenuItem* Item) {
  if (Item == nullptr || Item->Parent() == nullptr || !Item->Visible()) return -1;
  Integer n = 0;
  for (Integer i = 0; i < Item->MenuIndex(); ++i)
    if (Item->Parent()->Items(i)->Visible()) ++n;
  return n;
}

bool IsSideBarVisibleFor(TMenuItem* Item) {
  IAdvMenu* m = GetAdvMenuIntf(Item);
  if (m == nullptr || m->GetCurrentMenuStyler() == nullptr) return false;
  TSideBar* sb = m->GetCurrentMenuStyler()->SideBar();
  if (!sb->Visible()) return false;
  TMenu* menu = m->GetMenu();
  switch (sb->VisibleIn()) {
    case viFirstVisible: {
      if (dynamic_cast<TMainMenu*>(menu) == nullptr) return false;
      // Items inside the drop-down of the first visible bar item.
      TMenuItem* first = FirstVisibleItem(menu->Items());
      for (TMenuItem* p = Item->Parent(); p != nullptr; p = p->Parent())
        if (p == first) return true;
      return false;
    }
    case viFirstLevel:
      if (dynamic_cast<TPopupMenu*>(menu) != nullptr && Item->Parent() == menu->Items()) return true;
      return Item->Parent() != nullptr && IsBarItem(Item->Parent());
    case viAnyLevel: return !IsBarItem(Item);
  }
  return false;
}

bool IsLastOnBarRow(TMenuItem* Item) {
  if (!IsBarItem(Item)) return false;
  // The bar does not wrap here: the last visible bar item ends its row.
  TMenuItem* bar = Item->Parent();
  for (Integer i = bar->Count() - 1; i >= 0; --i)
    if (bar->Items(i)->Visible()) return bar->Items(i) == Item;
  return false;
}

namespace {

// The screen rectangle of an item in the open menu window that shows it; empty when none.
TRect QueryItemScreenRect(TMenuItem* Item) {
  if (Item == nullptr || Item->Parent() == nullptr) return {};
  TWinControl* w = MenuWindowOf(Item->Parent());
  if (w == nullptr) return {};
  TRect r = MenuItemRect(w, Item);
  if (r.Width() <= 0 && r.Height() <= 0) return {};
  const TPoint o = w->ClientOrigin();
  return TRect{r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y};
}

struct TPopupSubclass {
  std::function<void(TMessage&)> OldProc;  // the procedure before subclassing ("user data")
};

std::map<HWND, TPopupSubclass>& PopupSubclasses() {
  static std::map<HWND, TPopupSubclass> map;
  return map;
}

void FrameRectIn(HDC DC, const TRect& R, TColor C) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(C));
  FrameRect(DC, &R, b);
  DeleteObject(b);
}

}  // namespace

bool SubMenuOpensRight(TMenuItem* Item, HWND H) {
  (void)H;
  if (IsBarItem(Item)) return true;
  if (Item == nullptr || Item->Parent() == nullptr) return true;
  if (Item->Visible()) {
    TRect R;
    // The first entry of the pop-up that holds the item, asked again while it is not shown yet.
    for (Integer i = 0; i <= Item->MenuIndex() && R.Width() == 0 && R.Height() == 0; ++i)
      R = QueryItemScreenRect(Item->Parent()->Items(0));
    if (R.Width() == 0 && R.Height() == 0) return true;
    TMenuItem* parent = Item->Parent();
    if (!parent->Visible()) return false;
    const TRect PR = QueryItemScreenRect(parent);
    return R.Left > PR.Left || (R.Left == PR.Left && R.Right > PR.Right);
  }
  return false;
}

void PopupMenuWndProc(HWND Wnd, TMessage& Message) {
  auto it = PopupSubclasses().find(Wnd);
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  if ((Message.Msg == WM_SHOWWINDOW && Message.WParam == 0) || Message.Msg == WM_CLOSE ||
      Message.Msg == WM_DESTROY)
    SetWindowRgn(Wnd, nullptr, FALSE);
  if (it != PopupSubclasses().end() && it->second.OldProc) {
    // A copy: the old procedure may end the window and its entry.
    auto old = it->second.OldProc;
    if (Message.Msg == WM_DESTROY) PopupSubclasses().erase(it);
    old(Message);
  }
}

bool IsPopupWindowSubclassed(HWND Wnd) { return PopupSubclasses().count(Wnd) != 0; }

void FramePopupWindow(TMenuItem* Item, TCanvas* Canvas) {
  if (Item == nullptr || Canvas == nullptr) return;
  IAdvMenu* intf = GetAdvMenuIntf(Item);
  if (intf == nullptr) return;
  TMenu* menu = intf->GetMenu();
  HWND H = WindowFromDC(Canvas->Handle());
  if (H == nullptr || !IsWindow(H) || H == menu->WindowHandle() || IsBarItem(Item)) return;
  TWinControl* control = FindControl(H);
  if (control == nullptr) return;
  TRect WR;
  GetWindowRect(H, &WR);
  const Integer A = MenuEdgeWidth;
  const Integer Lv = ItemLevel(Item) + (dynamic_cast<TPopupMenu*>(menu) != nullptr ? 1 : 0);
  const bool opensRight = SubMenuOpensRight(Item, H);
  if (!IsPopupWindowSubclassed(H)) {
    PopupSubclasses()[H].OldProc = control->WindowProc;
    control->WindowProc = [H](TMessage& M) { PopupMenuWndProc(H, M); };
    SetWindowRgn(H, CreateRectRgn(1, 1, WR.Width() - 1 - A, WR.Height() - 1), FALSE);
    if (Lv == 1) {
      SetWindowPos(H, nullptr, WR.Left - 1, WR.Top - 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (Lv >= 2) {
      if (opensRight) WR.Left -= A;
      else WR.Left += A;
      if (!HasBreakFromHere(Item->Parent()))
        SetWindowPos(H, nullptr, WR.Left + 3, WR.Top, WR.Width(), WR.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (HasBreakFromHere(Item->Parent())) WR.Right += A;
  TRect F{1, 1, WR.Width() - 1, WR.Height() - 1};
  if (Lv < 2) F.Right -= A;
  else if (opensRight) F.Right -= 2 * A;
  TCustomAdvMenuStyler* styler = intf->GetCurrentMenuStyler();
  // A pop-up is a top-level window: its whole-window surface is the one being
  // painted, so the frame goes through the painting context with the item's clip lifted.
  HDC dc = Canvas->Handle();
  const int saved = SaveDC(dc);
  SelectClipRgn(dc, nullptr);
  FrameRectIn(dc, F, styler->MenuBorderColor());
  if (Lv == 1 && IsBarItem(Item->Parent())) {
    // Joins the pop-up to its bar item: the line under the item is the background's.
    const TRect br = QueryItemScreenRect(Item->Parent());
    if (br.Width() > 0) {
      HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(styler->Background()->Color()));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, br.Left - WR.Left + 1, 1, nullptr);
      LineTo(dc, br.Right - WR.Left - 1, 1);
      SelectObject(dc, old);
      DeleteObject(pen);
    }
  }
  F = TRect{F.Left + 1, F.Top + 1, F.Right - 1, F.Bottom - 1};
  FrameRectIn(dc, F, styler->Background()->Color());
  RestoreDC(dc, saved);
}
