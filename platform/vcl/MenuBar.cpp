// The menu bar of a form: layout, painting through the item hooks, and the
// modal menu mode (drop-downs and keyboard mode).
#include "platform/vcl/MenuBar.h"

#include <algorithm>
#include <utility>

#include "platform/vcl/Application.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/MenuLoopInternal.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

namespace {

// Space the bar leaves each side of an item's measured width, as the window system spaces its bar items.
constexpr Integer kMenuBarItemPadding = 6;

std::vector<TMenuBar*>& LiveMenuBars() {
  static std::vector<TMenuBar*> bars;
  return bars;
}

bool MenuBarAlive(const TMenuBar* Bar) {
  return std::find(LiveMenuBars().begin(), LiveMenuBars().end(), Bar) != LiveMenuBars().end();
}

TMenuBar* MenuBarOfWindow(HWND Wnd) {
  for (TMenuBar* b : LiveMenuBars())
    if (b->Form()->HandleAllocated() && b->Form()->Handle() == Wnd) return b;
  return nullptr;
}

bool MenuBarItemOpens(const TMenuItem* Item) { return Item != nullptr && Item->Enabled() && Item->Count() > 0; }

}  // namespace

TMenuBar::TMenuBar(TCustomForm* Form) : FForm(Form) { LiveMenuBars().push_back(this); }

TMenuBar::~TMenuBar() {
  std::erase(LiveMenuBars(), this);
  CloseMenus();
}

void TMenuBar::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FInMode) {
    CloseMenus();
    FInMode = false;
  }
  FMenu = Value;
  FHot = FOpen = FPressed = nullptr;
  Changed();
}

void TMenuBar::Layout() {
  FCells.clear();
  FHeight = 0;
  if (FMenu == nullptr || FForm->Parent() != nullptr) return;
  TMenuItem* root = FMenu->Items();
  // Measured as pop-up items are: one canvas over the screen in the menu font.
  HDC dc = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.SetFont(Screen != nullptr ? Screen->MenuFont() : FForm->Font());
  Integer x = 0, height = GetSystemMetrics(SM_CYMENU);
  std::vector<std::pair<TMenuItem*, Integer>> widths;
  for (Integer i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (!item->Visible()) continue;
    Integer w = 0, h = 0;
    item->MeasureItem(&canvas, w, h);
    widths.emplace_back(item, std::max(w, 0) + 2 * kMenuBarItemPadding);
    height = std::max(height, h);
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  if (widths.empty()) return;
  // A maximised MDI child's icon comes before the first item.
  if (TCustomForm* child = MaximizedChild(); child != nullptr && child->BorderIcons().Contains(biSystemMenu))
    x = 4 + GetSystemMetrics(SM_CXSMICON);
  for (auto& [item, w] : widths) {
    FCells.push_back({item, TRect{x, 0, x + w, height}});
    x += w;
  }
  FHeight = height;
}

void TMenuBar::Changed() {
  // Measuring may change the menu (an owner-draw handler growing a size asks for a rebuild): once more then.
  if (FLayingOut) {
    FLayoutAgain = true;
    return;
  }
  const Integer before = FHeight;
  FLayingOut = true;
  for (int pass = 0; pass < 3; ++pass) {
    FLayoutAgain = false;
    Layout();
    if (!FLayoutAgain) break;
  }
  FLayingOut = false;
  // Items that went away are neither hot nor open any more.
  auto shown = [this](TMenuItem* i) { return i != nullptr && !ItemRect(i).IsEmpty(); };
  if (!shown(FHot)) FHot = nullptr;
  if (!shown(FPressed)) FPressed = nullptr;
  if (!shown(FOpen)) {
    if (FOpen != nullptr) CloseMenus();
    FOpen = nullptr;
  }
  if (FHeight != before) FForm->MenuBarResized(FHeight - before);
  Repaint();
}

void TMenuBar::Repaint() {
  if (!FForm->HandleAllocated()) return;
  if (TWindowBridge* b = controls_internal::BridgeOf(FForm->Handle())) b->InvalidateFrame();
}

void TMenuBar::Paint() {
  if (FHeight <= 0 || !FForm->HandleAllocated()) return;
  const HWND wnd = FForm->Handle();
  HDC dc = GetWindowDC(wnd);
  if (dc == nullptr) return;
  const Integer width = FForm->ClientWidth();
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clMenuBar);
  canvas.FillRect(TRect{0, 0, width, FHeight});
  auto drawItem = [&](TMenuItem* item, const TRect& cell, const TRect& clip, TOwnerDrawState state) {
    const int saved = SaveDC(canvas.Handle());
    canvas.SetFont(Screen != nullptr ? Screen->MenuFont() : FForm->Font());
    IntersectClipRect(canvas.Handle(), clip.Left, clip.Top, clip.Right, clip.Bottom);
    item->AdvancedDrawItem(&canvas, cell, state, true);
    RestoreDC(canvas.Handle(), saved);
    canvas.Refresh();
  };
  const TCell& last = FCells.back();
  if (FMenu != nullptr && FMenu->OwnerDraw() && (last.Item == FOpen || last.Item == FHot) &&
      last.Rect.Right < width) {
    // An owner-drawn bar's last item paints the rest of the bar in its plain
    // state only: that part keeps its plain look while the item is lit.
    TOwnerDrawState plain;
    if (!last.Item->Enabled()) plain += TOwnerDrawState{odDisabled, odGrayed};
    drawItem(last.Item, last.Rect, TRect{last.Rect.Right, 0, width, FHeight}, plain);
  }
  PaintChildParts(canvas);
  for (std::size_t i = 0; i < FCells.size(); ++i) {
    TMenuItem* item = FCells[i].Item;
    TOwnerDrawState state;
    if (item == FOpen) state.Include(odSelected);
    else if (item == FHot) state.Include(odHotLight);
    if (!item->Enabled()) state += TOwnerDrawState{odDisabled, odGrayed};
    if (item->Default()) state.Include(odDefault);
    TRect clip = FCells[i].Rect;
    // The last item may paint the rest of the bar (an owner-drawn bar's gradient runs to its end).
    if (i + 1 == FCells.size()) clip.Right = std::max(clip.Right, width);
    drawItem(item, FCells[i].Rect, clip, state);
  }
  // A maximised MDI child's buttons lie over the end of the bar.
  for (const auto& [command, cell] : ChildButtons()) {
    TRect face{cell.Left, cell.Top + 1, cell.Right - 1, cell.Bottom - 1};
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(face);
    DrawEdge(canvas.Handle(), &face, command == FPressedButton ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    canvas.Pen()->SetColor(clBtnText);
    const Integer cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    if (command == SC_CLOSE) {
      for (Integer d = 0; d < 2; ++d) {
        canvas.MoveTo(cx - 4 + d, cy - 4);
        canvas.LineTo(cx + 4 + d, cy + 4);
        canvas.MoveTo(cx + 3 + d, cy - 4);
        canvas.LineTo(cx - 5 + d, cy + 4);
      }
    } else if (command == SC_RESTORE) {
      canvas.Brush()->SetStyle(bsClear);
      canvas.Rectangle(cx - 2, cy - 5, cx + 5, cy + 1);
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Rectangle(cx - 5, cy - 2, cx + 2, cy + 4);
    } else {
      canvas.MoveTo(cx - 4, cy + 3);
      canvas.LineTo(cx + 3, cy + 3);
    }
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(wnd, dc);
}

TCustomForm* TMenuBar::MaximizedChild() const {
  TCustomForm* child = FForm->FormStyle() == fsMDIForm ? FForm->ActiveMDIChild() : nullptr;
  return child != nullptr && child->WindowState() == wsMaximized ? child : nullptr;
}

std::vector<std::pair<WPARAM, TRect>> TMenuBar::ChildButtons() const {
  std::vector<std::pair<WPARAM, TRect>> buttons;
  TCustomForm* child = MaximizedChild();
  if (child == nullptr || FHeight <= 0) return buttons;
  const TBorderIcons icons = child->BorderIcons();
  std::vector<WPARAM> commands;
  if (icons.Contains(biMinimize)) commands.push_back(SC_MINIMIZE);
  if (icons.Contains(biMaximize)) commands.push_back(SC_RESTORE);
  if (icons.Contains(biSystemMenu)) commands.push_back(SC_CLOSE);
  const Integer size = GetSystemMetrics(SM_CXMENUSIZE);
  Integer x = FForm->ClientWidth() - size * Integer(commands.size());
  for (WPARAM c : commands) {
    buttons.emplace_back(c, TRect{x, 0, x + size, FHeight});
    x += size;
  }
  return buttons;
}

WPARAM TMenuBar::ChildButtonAt(TPoint P) const {
  for (const auto& [command, cell] : ChildButtons())
    if (cell.Contains(P)) return command;
  return 0;
}

void TMenuBar::PaintChildParts(TCanvas& Canvas) {
  TCustomForm* child = MaximizedChild();
  if (child == nullptr || FCells.empty() || !child->BorderIcons().Contains(biSystemMenu)) return;
  const Integer size = GetSystemMetrics(SM_CXSMICON);
  if (HICON icon = reinterpret_cast<HICON>(child->Perform(WM_GETICON, ICON_SMALL, 0)))
    DrawIconEx(Canvas.Handle(), 4, std::max<Integer>(0, (FHeight - size) / 2), icon, size, size, 0, nullptr, DI_NORMAL);
}

TRect TMenuBar::ItemRect(const TMenuItem* Item) const {
  for (const TCell& c : FCells)
    if (c.Item == Item) return c.Rect;
  return {};
}

TMenuItem* TMenuBar::ItemAt(TPoint P) const {
  for (const TCell& c : FCells)
    if (c.Rect.Contains(P)) return c.Item;
  return nullptr;
}

TPoint TMenuBar::WindowOrigin() const {
  const TPoint o = FForm->ClientOrigin();
  return {o.X, o.Y - FHeight};
}

TMenuItem* TMenuBar::Neighbour(TMenuItem* From, int Step) const {
  const Integer n = Integer(FCells.size());
  if (n == 0) return nullptr;
  Integer at = 0;
  for (Integer i = 0; i < n; ++i)
    if (FCells[std::size_t(i)].Item == From) at = i;
  return FCells[std::size_t(((at + Step) % n + n) % n)].Item;
}

TMenuItem* TMenuBar::AccelItem(Char Key) const {
  for (const TCell& c : FCells)
    if (c.Item->Enabled() && IsAccel(Word(Key), c.Item->Caption())) return c.Item;
  return nullptr;
}

void TMenuBar::MouseMove(TPoint Screen) {
  if (FInMode) return;
  const TPoint o = WindowOrigin();
  TMenuItem* under = ItemAt({Screen.X - o.X, Screen.Y - o.Y});
  if (under == FHot) return;
  FHot = under;
  Repaint();
}

void TMenuBar::MouseLeave() {
  if (FPressedButton != 0) {
    FPressedButton = 0;
    Repaint();
  }
  if (FInMode || (FHot == nullptr && FPressed == nullptr)) return;
  FHot = nullptr;
  if (FPressed != nullptr) {
    // A press dragged off the bar runs nothing.
    FPressed = nullptr;
    FOpen = nullptr;
  }
  Repaint();
}

void TMenuBar::MouseDown(TPoint Screen) {
  if (FInMode) return;
  const TPoint o = WindowOrigin();
  FPressedButton = ChildButtonAt({Screen.X - o.X, Screen.Y - o.Y});
  if (FPressedButton != 0) {
    Repaint();
    return;
  }
  TMenuItem* item = ItemAt({Screen.X - o.X, Screen.Y - o.Y});
  if (item == nullptr || !item->Enabled()) return;
  if (item->Count() > 0) {
    RunMenuMode(item, true, false);
    return;
  }
  FPressed = FOpen = FHot = item;
  Repaint();
}

void TMenuBar::MouseUp(TPoint Screen) {
  if (FPressedButton != 0) {
    // A maximised MDI child's button runs when released over it.
    const WPARAM pressed = std::exchange(FPressedButton, 0);
    const TPoint o = WindowOrigin();
    Repaint();
    if (ChildButtonAt({Screen.X - o.X, Screen.Y - o.Y}) == pressed)
      if (TCustomForm* child = MaximizedChild()) SendMessage(child->Handle(), WM_SYSCOMMAND, pressed, 0);
    return;
  }
  if (FInMode || FPressed == nullptr) return;
  TMenuItem* pressed = FPressed;
  FPressed = FOpen = nullptr;
  const TPoint o = WindowOrigin();
  TMenuItem* item = ItemAt({Screen.X - o.X, Screen.Y - o.Y});
  FHot = item;
  Repaint();
  if (item == pressed) item->Click();
}

void TMenuBar::KeyMenu(Char Key) {
  if (FInMode || FCells.empty() || menus_internal::MenuLoopRunning()) return;
  if (Key == 0) {
    RunMenuMode(FCells.front().Item, false, false);
    return;
  }
  TMenuItem* item = AccelItem(Key);
  if (item == nullptr) return;
  if (item->Count() > 0) RunMenuMode(item, true, true);
  else item->Click();
}

void TMenuBar::CancelMode() {
  if (!FInMode) return;
  CloseMenus();
  FInMode = false;
}

namespace {

// What the bar's keyboard mode waits for.
struct TMenuBarAction {
  enum TKind { KeyDown, KeyUp, Press, Leave } Kind;
  Word VirtKey = 0;
  TPoint Screen;
};

}  // namespace

void TMenuBar::RunMenuMode(TMenuItem* Item, bool Open, bool SelectFirst) {
  if (FInMode || Application == nullptr) return;
  using menus_internal::TDropDownEnd;
  FInMode = true;
  FHot = Item;
  FPressed = nullptr;
  TMenuItem* chosen = nullptr;
  bool leaveKeyDown = false;  // Alt or F10 went down in keyboard mode: their release leaves
  const menus_internal::TBarHitTest hitTest = [this](TPoint Screen, bool& OnBar) -> TMenuItem* {
    OnBar = false;
    if (!MenuBarAlive(this)) return nullptr;  // the form went while its drop-down showed
    const TPoint o = WindowOrigin();
    const TPoint p{Screen.X - o.X, Screen.Y - o.Y};
    OnBar = p.X >= 0 && p.Y >= 0 && p.X < FForm->ClientWidth() && p.Y < FHeight;
    return OnBar ? ItemAt(p) : nullptr;
  };
  while (FInMode && !Application->Terminated()) {
    if (Open) {
      TMenuItem* item = FHot;
      if (!MenuBarItemOpens(item)) {
        Open = false;
        continue;
      }
      FOpen = item;
      Repaint();
      const TRect cell = ItemRect(item);
      const TPoint o = WindowOrigin();
      const menus_internal::TDropDownResult r =
          menus_internal::TrackDropDown(item, {o.X + cell.Left, o.Y + cell.Bottom}, SelectFirst, hitTest);
      if (!MenuBarAlive(this)) return;
      FOpen = nullptr;
      switch (r.End) {
        case TDropDownEnd::Chosen:
          chosen = r.Item;
          FInMode = false;
          break;
        case TDropDownEnd::Dismissed: FInMode = false; break;
        case TDropDownEnd::Escaped: Open = false; break;
        case TDropDownEnd::Previous:
        case TDropDownEnd::Next:
          FHot = Neighbour(item, r.End == TDropDownEnd::Next ? 1 : -1);
          SelectFirst = true;
          Open = MenuBarItemOpens(FHot);
          break;
        case TDropDownEnd::BarItem:
          if (r.Item == nullptr || ItemRect(r.Item).IsEmpty()) {
            FInMode = false;
          } else if (MenuBarItemOpens(r.Item)) {
            FHot = r.Item;
            SelectFirst = false;
          } else {
            if (r.Item->Enabled()) chosen = r.Item;
            FInMode = false;
          }
          break;
      }
      continue;
    }
    // Keyboard mode: the bar takes the keys and presses until something happens.
    Repaint();
    std::vector<TMenuBarAction> actions;
    const HWND wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
    TMessageEvent saved = Application->OnMessage;
    Application->OnMessage = [&actions, wnd, saved](TMsg& Msg, bool& Handled) {
      switch (Msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
          actions.push_back({TMenuBarAction::KeyDown, Word(Msg.wParam), {}});
          Handled = true;
          return;
        case WM_KEYUP:
        case WM_SYSKEYUP:
          actions.push_back({TMenuBarAction::KeyUp, Word(Msg.wParam), {}});
          Handled = true;
          return;
        case WM_CHAR:
        case WM_SYSCHAR: Handled = true; return;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
          actions.push_back({Msg.hwnd == wnd ? TMenuBarAction::Press : TMenuBarAction::Leave, 0, Msg.pt});
          Handled = true;
          return;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
          // A press anywhere else leaves menu mode and does nothing more.
          actions.push_back({TMenuBarAction::Leave, 0, Msg.pt});
          Handled = true;
          return;
        default: break;
      }
      if (saved) saved(Msg, Handled);
    };
    try {
      while (actions.empty() && !Application->Terminated()) {
        Application->HandleMessage();
        if (!MenuBarAlive(this) || !FInMode) break;
      }
    } catch (...) {
      Application->OnMessage = saved;
      if (MenuBarAlive(this)) {
        FInMode = false;
        FHot = FOpen = nullptr;
        Repaint();
      }
      throw;
    }
    Application->OnMessage = saved;
    if (!MenuBarAlive(this)) return;
    for (const TMenuBarAction& a : actions) {
      if (!FInMode || Open) break;
      switch (a.Kind) {
        case TMenuBarAction::Leave: FInMode = false; break;
        case TMenuBarAction::Press: {
          const TPoint o = WindowOrigin();
          TMenuItem* item = ItemAt({a.Screen.X - o.X, a.Screen.Y - o.Y});
          if (item == nullptr || !item->Enabled()) break;
          FHot = item;
          if (item->Count() > 0) {
            Open = true;
            SelectFirst = false;
          } else {
            chosen = item;
            FInMode = false;
          }
          break;
        }
        case TMenuBarAction::KeyUp:
          if (leaveKeyDown && (a.VirtKey == VK_MENU || a.VirtKey == VK_F10)) FInMode = false;
          break;
        case TMenuBarAction::KeyDown:
          switch (a.VirtKey) {
            case VK_LEFT:
            case VK_RIGHT: FHot = Neighbour(FHot, a.VirtKey == VK_RIGHT ? 1 : -1); break;
            case VK_DOWN:
            case VK_UP:
            case VK_RETURN:
              if (MenuBarItemOpens(FHot)) {
                Open = true;
                SelectFirst = true;
              } else if (a.VirtKey == VK_RETURN && FHot != nullptr && FHot->Enabled()) {
                chosen = FHot;
                FInMode = false;
              }
              break;
            case VK_ESCAPE: FInMode = false; break;
            case VK_MENU:
            case VK_F10: leaveKeyDown = true; break;
            default:
              if ((a.VirtKey >= 'A' && a.VirtKey <= 'Z') || (a.VirtKey >= '0' && a.VirtKey <= '9'))
                if (TMenuItem* item = AccelItem(Char(a.VirtKey))) {
                  FHot = item;
                  if (item->Count() > 0) {
                    Open = true;
                    SelectFirst = true;
                  } else {
                    chosen = item;
                    FInMode = false;
                  }
                }
              break;
          }
          break;
      }
    }
  }
  FInMode = false;
  FOpen = FPressed = nullptr;
  // Back to the pointer's own item when it rests on the bar.
  TPoint cursor;
  GetCursorPos(&cursor);
  const TPoint o = WindowOrigin();
  FHot = ItemAt({cursor.X - o.X, cursor.Y - o.Y});
  Repaint();
  // The chosen item runs after the menu has gone, as a command sent by the closed menu.
  if (chosen != nullptr) chosen->Click();
}

// ---------------------------------------------------------------------------

BOOL DrawMenuBar(HWND Wnd) {
  TMenuBar* bar = MenuBarOfWindow(Wnd);
  if (bar == nullptr || bar->Menu() == nullptr) return FALSE;
  bar->Changed();
  return TRUE;
}

BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, TRect* R) {
  TMenuBar* bar = MenuBarOfWindow(Wnd);
  if (bar == nullptr || bar->Menu() == nullptr || bar->Menu()->Handle() != Menu || R == nullptr) return FALSE;
  TMenuItem* root = bar->Menu()->Items();
  UINT n = 0;
  for (Integer i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (!item->Visible()) continue;
    if (n++ != Item) continue;
    const TRect r = bar->ItemRect(item);
    if (r.IsEmpty()) return FALSE;
    const TPoint o = bar->Form()->ClientOrigin();
    *R = TRect{o.X + r.Left, o.Y - bar->Height() + r.Top, o.X + r.Right, o.Y - bar->Height() + r.Bottom};
    return TRUE;
  }
  return FALSE;
}

void MenuBarsChanged(TMenu* Menu) {
  for (TMenuBar* b : std::vector<TMenuBar*>(LiveMenuBars()))
    if (MenuBarAlive(b) && b->Menu() == Menu) b->Changed();
}

TCustomForm* MenuBarFormOf(const TMenuItem* Root) {
  if (Root == nullptr) return nullptr;
  for (TMenuBar* b : LiveMenuBars())
    if (b->Menu() != nullptr && b->Menu()->Items() == Root && b->Height() > 0) return b->Form();
  return nullptr;
}

TRect MenuBarItemRect(TCustomForm* Form, const TMenuItem* Item) {
  for (TMenuBar* b : LiveMenuBars())
    if (b->Form() == Form) {
      const TRect r = b->ItemRect(Item);
      if (r.IsEmpty()) return {};
      return TRect{r.Left, r.Top - b->Height(), r.Right, r.Bottom - b->Height()};
    }
  return {};
}
