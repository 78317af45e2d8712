// The menu bar of an MDI application: merging the active child's main menu
// into the bar by group index, keeping the bar's buttons in step with its
// menu, the window list in the MDI form's Window menu, and the minimise,
// restore and close buttons of a maximised child at the bar's far end.
#include <algorithm>
#include <vector>

#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/MDI.h"
#include "platform/win/WindowData.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/CompactWindow.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

// The one link of the process in an MDI form's window procedure. It sits in
// the form's subclass chain as one procedure and comes out by itself,
// whatever was chained after it.
struct TMDIFormLink {
  TAdvCustomToolBar* ToolBar = nullptr;
  HWND Wnd = nullptr;
  WNDPROC Proc = 0;      // our procedure's token
  WNDPROC Previous = 0;  // what stood on top before it
};

TMDIFormLink& MDIFormLink() {
  static TMDIFormLink link;
  return link;
}

void MDIFormWndProc(TMessage& M) {
  // Read afresh: a handler below may take the link out.
  TMDIFormLink& link = MDIFormLink();
  const HWND wnd = link.Wnd;
  const WNDPROC previous = link.Previous;
  if (link.ToolBar != nullptr && M.Msg == WM_WINDOWPOSCHANGED) link.ToolBar->Invalidate();
  M.Result = CallWindowProc(previous, wnd, M.Msg, M.WParam, M.LParam);
}

TAdvCustomToolBarButton* MenuButtonAt(TAdvCustomToolBar* T, Integer Index) {
  auto* b = dynamic_cast<TAdvCustomToolBarButton*>(T->GetToolBarControls(Index));
  return b != nullptr && b->IsMenuButton() ? b : nullptr;
}

bool InTree(TMenuItem* Item, TMenuItem* Root) {
  for (TMenuItem* i = Item; i != nullptr; i = i->Parent())
    if (i == Root) return true;
  return false;
}

TObject* AsObject(TComponent* C) { return static_cast<TObject*>(C); }

}  // namespace

// ---------------------------------------------------------------------------
// Merging

void TAdvCustomToolBar::MergeMenu(TMainMenu* AMenu) {
  if (AMenu != nullptr && FMenu != nullptr) {
    // The bar's own menu merged into itself would bind its buttons twice.
    if (AMenu == FMergedMenu || AMenu == FMenu) return;
    if (FMergedMenu != nullptr) {
      UnmergeMenuButtons();
      RemoveFreeNotification(FMergedMenu);
      FMergedMenu = nullptr;
    }
    FMergedMenu = AMenu;
    MergeMenuButtons();
    AMenu->FreeNotification(this);
    return;
  }
  TMainMenu* old = FMergedMenu;
  FMergedMenu = nullptr;
  if (old != nullptr) RemoveFreeNotification(old);
  UnmergeMenuButtons();
}

void TAdvCustomToolBar::UnmergeMenu(TMainMenu* AMenu) {
  if (AMenu != nullptr && AMenu == FMergedMenu) MergeMenu(nullptr);
}

void TAdvCustomToolBar::MergeMenuButtons() {
  if (FMergedMenu == nullptr) return;
  TMenuItem* items = FMergedMenu->Items();
  std::vector<TAdvCustomToolBarButton*> used;
  auto own = [this](TAdvCustomToolBarButton* B) {
    return std::find(FToolBarMenuButtons.begin(), FToolBarMenuButtons.end(), B) != FToolBarMenuButtons.end();
  };
  for (Integer k = 0; k < items->Count(); ++k) {
    TMenuItem* item = items->Items(k);
    TAdvCustomToolBarButton* found = nullptr;
    if (item->GroupIndex() != 0)
      for (Integer i = 0; i < ToolBarControlCount() && found == nullptr; ++i) {
        TAdvCustomToolBarButton* b = MenuButtonAt(this, i);
        if (b != nullptr && own(b) && std::find(used.begin(), used.end(), b) == used.end() &&
            b->MenuItem() != nullptr && b->MenuItem()->GroupIndex() == item->GroupIndex())
          found = b;
      }
    if (found != nullptr) {
      found->SetMenuItem(item);
      found->SetInternalTag(1);
      used.push_back(found);
      continue;
    }
    auto* b = new TZadEdevAziMenuButton(this);  // owned and freed by the toolbar
    try {
      b->SetGrouped(true);
      b->SetParent(this);
      b->SetShowCaption(true);
      b->SetMenuItem(item);
      b->SetInternalTag(1);
      b->SetAutoSize(true);
    } catch (...) {
      delete b;
      throw;
    }
  }
  // Menu buttons in group order; a button of group 0 stops the search.
  for (Integer p = 0; p < ToolBarControlCount(); ++p) {
    if (MenuButtonAt(this, p) == nullptr) continue;
    Integer best = -1, bestGroup = 0;
    for (Integer j = p; j < ToolBarControlCount(); ++j) {
      TAdvCustomToolBarButton* b = MenuButtonAt(this, j);
      if (b == nullptr || b->MenuItem() == nullptr || !(own(b) || b->InternalTag() == 1)) continue;
      const Integer g = b->MenuItem()->GroupIndex();
      if (g == 0) break;
      if (best < 0 || g < bestGroup) {
        best = j;
        bestGroup = g;
      }
    }
    if (best >= 0 && bestGroup > 0 && best != p) MoveToolBarControl(best, p);
  }
}

void TAdvCustomToolBar::UnmergeMenuButtons() {
  for (Integer i = ToolBarControlCount() - 1; i >= 0; --i) {
    TAdvCustomToolBarButton* b = MenuButtonAt(this, i);
    if (b == nullptr || b->InternalTag() != 1) continue;
    delete b;  // a control is freed by its owner, the toolbar
  }
  // The bar's own buttons that merging re-bound went too: they are made again.
  UpdateMenu();
}

void TAdvCustomToolBar::UpdateMenu() {
  if (FMenu == nullptr) return;
  BeginUpdate();
  try {
    TMenuItem* items = FMenu->Items();
    bool rebuild = items->Count() != ToolBarControlCount();
    for (Integer k = 0; k < items->Count(); ++k) {
      TMenuItem* item = items->Items(k);
      TAdvCustomToolBarButton* shown = nullptr;
      for (TAdvCustomToolBarButton* b : FToolBarMenuButtons)
        if (b->MenuItem() == item) shown = b;
      if (shown != nullptr)
        shown->SetMenuItem(item);
      else
        rebuild = true;
    }
    if (rebuild) {
      TMainMenu* menu = FMenu;
      SetMenu(nullptr);
      SetMenu(menu);
    }
    for (Integer i = 0; i < ToolBarControlCount(); ++i)
      if (TAdvCustomToolBarButton* b = MenuButtonAt(this, i)) b->AdjustSize();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

Integer TAdvCustomToolBar::GetMenuItemCount() const {
  if (FMenu == nullptr) return 0;
  // Iterative: a deep menu costs no stack.
  Integer n = 0;
  std::vector<TMenuItem*> pending{FMenu->Items()};
  while (!pending.empty()) {
    TMenuItem* m = pending.back();
    pending.pop_back();
    n += m->Count();
    for (Integer i = 0; i < m->Count(); ++i) pending.push_back(m->Items(i));
  }
  return n;
}

// ---------------------------------------------------------------------------
// The window list

TCustomForm* TAdvCustomToolBar::GetMDIForm() const {
  const TControl* c = FCurrentDock != nullptr ? static_cast<const TControl*>(FCurrentDock)
                      : FLastDock != nullptr  ? static_cast<const TControl*>(FLastDock)
                                              : Parent();
  for (; c != nullptr; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(const_cast<TControl*>(c))) return f;
  return nullptr;
}

void TAdvCustomToolBar::AddMDIChildMenu(TCustomForm* ChildForm, const String& Caption) {
  TCustomForm* form = GetMDIForm();
  if (form == nullptr || form->WindowMenu() == nullptr || FMenu == nullptr || ChildForm == nullptr) return;
  FMDIChildMenuSL->AddObject(Caption.empty() ? ChildForm->Caption() : Caption, AsObject(ChildForm));
  // An entry never outlives its form.
  ChildForm->FreeNotification(this);
}

void TAdvCustomToolBar::RemoveMDIChildMenu(TCustomForm* ChildForm, const String& Caption) {
  if (ChildForm == nullptr) return;
  const String text = Caption.empty() ? ChildForm->Caption() : Caption;
  for (Integer i = 0; i < FMDIChildMenuSL->Count(); ++i)
    if (FMDIChildMenuSL->Objects(i) == AsObject(ChildForm) && SameText(FMDIChildMenuSL->Strings(i), text)) {
      FMDIChildMenuSL->Delete(i);
      break;
    }
  if (FMDIChildMenuSL->IndexOfObject(AsObject(ChildForm)) < 0) ChildForm->RemoveFreeNotification(this);
}

void TAdvCustomToolBar::RemoveAllMDIChildMenu() {
  for (Integer i = 0; i < FMDIChildMenuSL->Count(); ++i)
    if (auto* f = dynamic_cast<TComponent*>(FMDIChildMenuSL->Objects(i))) f->RemoveFreeNotification(this);
  FMDIChildMenuSL->Clear();
}

void TAdvCustomToolBar::ForgetMDIChild(TComponent* AComponent) {
  for (Integer i = FMDIChildMenuSL->Count() - 1; i >= 0; --i)
    if (FMDIChildMenuSL->Objects(i) == AsObject(AComponent)) FMDIChildMenuSL->Delete(i);
}

void TAdvCustomToolBar::AddWindowListItems() {
  TCustomForm* form = GetMDIForm();
  TMenuItem* windowMenu = form != nullptr ? form->WindowMenu() : nullptr;
  if (windowMenu == nullptr || FButtonMenu == nullptr || !InTree(windowMenu, FButtonMenu)) return;
  TCustomForm* active = form->ActiveMDIChild();
  for (Integer i = 0; i < FMDIChildMenuSL->Count(); ++i) {
    auto* item = new TMenuItem(this);  // owned by the toolbar; freed when the menu closes
    item->SetCaption(FMDIChildMenuSL->Strings(i));
    item->SetTag(i);
    item->OnClick = [this](TObject* Sender) { MDIChildMenuItemClick(Sender); };
    item->SetRadioItem(true);
    windowMenu->Add(item);
    FMDIChildMenuList->Add(item);
    TObject* f = FMDIChildMenuSL->Objects(i);
    item->SetChecked(f != nullptr && active != nullptr && f == AsObject(active));
  }
}

void TAdvCustomToolBar::RemoveWindowListItems() {
  if (FMDIChildMenuList->Count() == 0) return;
  std::vector<TMenuItem*> made;
  for (Integer i = 0; i < FMDIChildMenuList->Count(); ++i) made.push_back(static_cast<TMenuItem*>(FMDIChildMenuList->Items(i)));
  FMDIChildMenuList->Clear();
  // Wherever they are now (the Window menu, or still lent to the dropped
  // menu), they go: freeing takes an item out of its parent.
  for (auto it = made.rbegin(); it != made.rend(); ++it) delete *it;
}

void TAdvCustomToolBar::MDIChildMenuItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TCustomForm* form = GetMDIForm();
  if (item == nullptr || form == nullptr) return;
  const NativeInt i = item->Tag();
  if (i < 0 || i >= FMDIChildMenuSL->Count()) return;
  auto* child = dynamic_cast<TCustomForm*>(FMDIChildMenuSL->Objects(Integer(i)));
  if (child == nullptr) return;
  // An MDI child comes to the front as the active one.
  if (MDIClientOf(child) != nullptr && child->Parent()->HandleAllocated() && child->Visible())
    SendMessage(child->Parent()->Handle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  else
    child->BringToFront();
}

// ---------------------------------------------------------------------------
// MDI buttons

TAdvCustomToolBar* TAdvCustomToolBar::MDIButtonsToolBar() { return MDIFormLink().ToolBar; }

void TAdvCustomToolBar::SetAutoMDIButtons(bool Value) {
  if (Value && ParentIsClass(u"TZadEdevAziPager")) return;
  if (Value == FAutoMDIButtons) return;
  FAutoMDIButtons = Value;
  if (ComponentState().Contains(csLoading)) return;
  TMDIFormLink& link = MDIFormLink();
  if (Value && FFullSize && FMenu != nullptr) {
    TCustomForm* form = GetMDIForm();
    if (form == nullptr) {
      FAutoMDIButtons = false;
      return;
    }
    const HWND wnd = form->Handle();
    if (link.ToolBar != nullptr && link.Wnd == wnd) return;  // another bar serves this form
    if (link.ToolBar != nullptr) link.ToolBar->ReleaseMDIFormLink();
    FMDIChildForm = nullptr;
    link.Proc = MakeObjectInstance([](TMessage& M) { MDIFormWndProc(M); });
    link.Previous = SetWindowLong(wnd, GWL_WNDPROC, link.Proc);
    if (link.Previous == 0) {
      FreeObjectInstance(link.Proc);
      link.Proc = 0;
      FAutoMDIButtons = false;
      return;
    }
    link.Wnd = wnd;
    link.ToolBar = this;
    Invalidate();
    return;
  }
  // Only the bar that set the link takes it out; the form's region is not ours to touch.
  ReleaseMDIFormLink();
  FMDIChildForm = nullptr;
  FMDIButtonsVisible = false;
  FAutoMDIButtons = false;
  Invalidate();
}

void TAdvCustomToolBar::ReleaseMDIFormLink() {
  TMDIFormLink& link = MDIFormLink();
  if (link.ToolBar != this) return;
  // Setting back what the link replaced takes it out of the chain wherever it stands.
  if (IsWindow(link.Wnd)) SetWindowLong(link.Wnd, GWL_WNDPROC, link.Previous);
  FreeObjectInstance(link.Proc);
  link = TMDIFormLink{};
}

Integer TAdvCustomToolBar::GetMDIButtonSize() const { return Integer(Round(18 * double(ToolBarDPIScale))); }

void TAdvCustomToolBar::GetMDICloseButtonRect(TRect& R) {
  R = TRect{0, 0, 0, 0};
  TCustomForm* form = GetMDIForm();
  FMDIChildForm = form != nullptr ? form->ActiveMDIChild() : nullptr;
  if (FMDIChildForm == nullptr || !FMDIChildForm->BorderIcons().Contains(biSystemMenu)) return;
  const Integer s = GetMDIButtonSize();
  const Integer handle =
      FShowOptionIndicator && !FFullSize ? Integer(Round(FPopupIndicatorWidth * double(ToolBarDPIScale))) : 0;
  Integer x, y;
  if (IsHorizontal()) {
    x = Width() - s - 3 - handle;
    y = std::max((Height() - s) / 2, 2);
  } else {
    y = Height() - s - 3 - handle;
    x = std::max((Width() - s) / 2, 2);
  }
  R = TRect{x, y, x + s, y + s};
}

void TAdvCustomToolBar::GetMDIMaxButtonRect(TRect& R) {
  TRect c;
  GetMDICloseButtonRect(c);
  R = TRect{0, 0, 0, 0};
  if (c.IsEmpty() || FToolBarState == tsFloating) return;
  const Integer s = GetMDIButtonSize();
  R = c;
  if (IsHorizontal()) {
    R.Right = c.Left - 1;
    R.Left = R.Right - s;
  } else {
    R.Bottom = c.Top - 1;
    R.Top = R.Bottom - s;
  }
}

void TAdvCustomToolBar::GetMDIMinButtonRect(TRect& R) {
  TRect m;
  GetMDIMaxButtonRect(m);
  R = TRect{0, 0, 0, 0};
  if (m.IsEmpty()) return;
  const Integer s = GetMDIButtonSize();
  R = m;
  if (IsHorizontal()) {
    R.Right = m.Left - 1;
    R.Left = R.Right - s;
  } else {
    R.Bottom = m.Top - 1;
    R.Top = R.Bottom - s;
  }
}

bool TAdvCustomToolBar::PtInMDICloseButton(TPoint P) {
  TRect r;
  GetMDICloseButtonRect(r);
  return r.Contains(P);
}

bool TAdvCustomToolBar::PtInMDIMaxButton(TPoint P) {
  TRect r;
  GetMDIMaxButtonRect(r);
  return r.Contains(P) && FMDIChildForm != nullptr && FMDIChildForm->BorderIcons().Contains(biMaximize);
}

bool TAdvCustomToolBar::PtInMDIMinButton(TPoint P) {
  TRect r;
  GetMDIMinButtonRect(r);
  return r.Contains(P) && FMDIChildForm != nullptr && FMDIChildForm->BorderIcons().Contains(biMinimize);
}

void TAdvCustomToolBar::DrawMDIButtons() {
  TCustomForm* form = GetMDIForm();
  FMDIChildForm = form != nullptr ? form->ActiveMDIChild() : nullptr;
  if (!FAutoMDIButtons || FMDIChildForm == nullptr || FMDIChildForm->WindowState() != wsMaximized ||
      FToolBarState == tsFloating) {
    FMDIButtonsVisible = false;
    return;
  }
  FMDIButtonsVisible = true;
  TCanvas* cv = Canvas();
  TButtonAppearance* a = Styler()->ButtonAppearance();
  auto face = [&](const TRect& R, bool Down, bool Hot) {
    TColor from = clNone, to = clNone, border = clNone;
    TGradientDirection dir = gdVertical;
    if (Down) {
      from = a->ColorDown(), to = a->ColorDownTo(), border = a->BorderDownColor(), dir = a->GradientDirectionDown();
    } else if (Hot) {
      from = a->ColorHot(), to = a->ColorHotTo(), border = a->BorderHotColor(), dir = a->GradientDirectionHot();
    } else {
      return;
    }
    if (from != clNone && to != clNone) {
      DrawGradient(cv, from, to, 40, R, dir == gdHorizontal);
    } else if (from != clNone) {
      cv->Brush()->SetStyle(bsSolid);
      cv->Brush()->SetColor(from);
      cv->Pen()->SetColor(from);
      cv->Rectangle(R);
    }
    if (border != clNone) {
      cv->Brush()->SetStyle(bsClear);
      cv->Pen()->SetColor(border);
      cv->Rectangle(R);
    }
  };
  auto line = [cv](Integer X1, Integer Y1, Integer X2, Integer Y2) {
    cv->MoveTo(X1, Y1);
    cv->LineTo(X2, Y2);
  };
  constexpr TColor Black = 0x000000, Grey = 0x808080;
  const Integer c7 = Integer(Round(7 * double(ToolBarDPIScale))), c6 = Integer(Round(6 * double(ToolBarDPIScale)));
  cv->Pen()->SetWidth(1);

  TRect r;
  GetMDICloseButtonRect(r);
  if (!r.IsEmpty()) {
    face(r, FMDIDownCloseBtn, FMDIHotCloseBtn);
    cv->Pen()->SetColor(Black);
    const Integer x = r.Left + (r.Width() - 8) / 2, y = r.Top + (r.Height() - 8) / 2;
    line(x, y + c7, x + 1 + c7, y);
    line(x + 1, y + c7, x + c7, y);
    line(x, y + 1, x + 1 + c7, y + c7 + 1);
    line(x + 1, y + 1, x + c7, y + c7 + 1);
  }
  GetMDIMaxButtonRect(r);
  if (!r.IsEmpty()) {
    face(r, FMDIDownMaxBtn, FMDIHotMaxBtn);
    cv->Pen()->SetColor(FMDIChildForm->BorderIcons().Contains(biMaximize) ? Black : Grey);
    const Integer x = r.Left + (r.Width() - 8) / 2, y = r.Top + (r.Height() - 8) / 2;
    if (IsHorizontal()) {
      line(x + 2, y, x + c6 + 2, y);
      line(x + 2, y + 1, x + c6 + 2, y + 1);
      line(x + c6 + 2, y, x + c6 + 2, y + c6);
      line(x, y + 3, x + c6 + 1, y + 3);
      line(x, y + 4, x + c6 + 1, y + 4);
      cv->MoveTo(x, y + 4);
      cv->LineTo(x, y + c6 + 2);
      cv->LineTo(x + c6, y + c6 + 2);
      cv->LineTo(x + c6, y + 4);
    } else {
      const Integer rr = r.Right;
      line(rr - 5, y + 2, rr - 5, y + 8);
      line(rr - 6, y + 2, rr - 6, y + 8);
      line(rr - 5, y + 8, rr - 11, y + 8);
      line(rr - 8, y, rr - 8, y + 7);
      line(rr - 9, y, rr - 9, y + 7);
      cv->MoveTo(rr - 9, y);
      cv->LineTo(rr - 13, y);
      cv->LineTo(rr - 13, y + 6);
      cv->LineTo(rr - 9, y + 6);
    }
  }
  GetMDIMinButtonRect(r);
  if (!r.IsEmpty()) {
    face(r, FMDIDownMinBtn, FMDIHotMinBtn);
    cv->Pen()->SetColor(FMDIChildForm->BorderIcons().Contains(biMinimize) ? Black : Grey);
    if (IsHorizontal()) {
      const Integer x = r.Left + (r.Width() - 6) / 2, y = r.Bottom - 6;
      line(x, y, x + c6, y);
      line(x, y + 1, x + c6, y + 1);
    } else {
      const Integer x = r.Left + 5, y = r.Top + (r.Height() - 6) / 2;
      line(x, y, x, y + c6);
      line(x + 1, y, x + 1, y + c6);
    }
  }
}

namespace {
// The child the MDI buttons act on: only a maximised one, while they show on a docked or fixed bar.
TCustomForm* MDIButtonsChild(TCustomForm* Form, bool Auto, bool Visible, bool Floating) {
  TCustomForm* child = Form != nullptr ? Form->ActiveMDIChild() : nullptr;
  if (!Auto || child == nullptr || child->WindowState() != wsMaximized || !Visible || Floating) return nullptr;
  return child;
}
}  // namespace

void TAdvCustomToolBar::MDICloseClick() {
  if (TCustomForm* c = MDIButtonsChild(GetMDIForm(), FAutoMDIButtons, FMDIButtonsVisible, FToolBarState == tsFloating))
    c->Close();
}

void TAdvCustomToolBar::MDIRestoreClick() {
  if (TCustomForm* c = MDIButtonsChild(GetMDIForm(), FAutoMDIButtons, FMDIButtonsVisible, FToolBarState == tsFloating))
    if (c->BorderIcons().Contains(biMaximize)) c->SetWindowState(wsNormal);
}

void TAdvCustomToolBar::MDIMinimizeClick() {
  if (TCustomForm* c = MDIButtonsChild(GetMDIForm(), FAutoMDIButtons, FMDIButtonsVisible, FToolBarState == tsFloating))
    if (c->BorderIcons().Contains(biMinimize)) c->SetWindowState(wsMinimized);
}

// --- the MDI buttons' share of the pointer handling ---

bool TAdvCustomToolBar::PtInMDIButtons(TPoint P) {
  return FAutoMDIButtons && FMDIButtonsVisible &&
         (PtInMDICloseButton(P) || PtInMDIMaxButton(P) || PtInMDIMinButton(P));
}

bool TAdvCustomToolBar::MDIButtonsMouseDown(TPoint P) {
  if (!FAutoMDIButtons || !FMDIButtonsVisible || FToolBarState != tsDocked) return false;
  if (PtInMDICloseButton(P))
    FMDIDownCloseBtn = true;
  else if (PtInMDIMaxButton(P))
    FMDIDownMaxBtn = true;
  else if (PtInMDIMinButton(P))
    FMDIDownMinBtn = true;
  else
    return false;
  Invalidate();
  return true;
}

void TAdvCustomToolBar::MDIButtonsMouseMove(TPoint P) {
  if (!FAutoMDIButtons || !FMDIButtonsVisible) return;
  const bool close = PtInMDICloseButton(P), max = PtInMDIMaxButton(P), min = PtInMDIMinButton(P);
  if (close == FMDIHotCloseBtn && max == FMDIHotMaxBtn && min == FMDIHotMinBtn) return;
  FMDIHotCloseBtn = close;
  FMDIHotMaxBtn = max;
  FMDIHotMinBtn = min;
  Invalidate();
}

bool TAdvCustomToolBar::MDIButtonsMouseUp(TPoint P) {
  if (!FAutoMDIButtons) return false;
  if (FMDIDownCloseBtn) {
    FMDIDownCloseBtn = false;
    Invalidate();
    // Closed only when the pointer is still over it.
    if (PtInMDICloseButton(P)) MDICloseClick();
    return true;
  }
  if (FMDIDownMaxBtn) {
    FMDIDownMaxBtn = false;
    Invalidate();
    MDIRestoreClick();
    return true;
  }
  if (FMDIDownMinBtn) {
    FMDIDownMinBtn = false;
    Invalidate();
    MDIMinimizeClick();
    return true;
  }
  return false;
}

void TAdvCustomToolBar::MDIButtonsMouseLeave() {
  if (!(FMDIHotCloseBtn || FMDIDownCloseBtn || FMDIHotMaxBtn || FMDIDownMaxBtn || FMDIHotMinBtn || FMDIDownMinBtn))
    return;
  FMDIHotCloseBtn = FMDIDownCloseBtn = FMDIHotMaxBtn = FMDIDownMaxBtn = FMDIHotMinBtn = FMDIDownMinBtn = false;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Hints

bool TAdvCustomToolBar::PagerShowsDisabledHints() const {
  if (OnPage()) {
    IToolBarPage* page = GetPage();
    return page != nullptr && page->HasPager() && page->PagerShowsDisabledControlsHint();
  }
  if (OnCompactWindow() && FSelfClone != nullptr) {
    IToolBarPage* page = FSelfClone->GetPage();
    return page != nullptr && page->HasPager() && page->PagerShowsDisabledControlsHint();
  }
  return false;
}

void TAdvCustomToolBar::CMHintShow(TMessage& Message) {
  TCustomControl::CMHintShow(Message);
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (info == nullptr) return;
  const TPoint p = info->CursorPos;
  if (FToolBarState == tsFloating) {
    if (FShowClose && ShowHint() && !FHintCloseButton.empty() && GetCloseButtonRect().Contains(p))
      info->HintStr = FHintCloseButton;
    if (FShowOptionIndicator && ShowHint() && !FHintOptionButton.empty() && GetOptionButtonRect().Contains(p))
      info->HintStr = FHintOptionButton;
  } else if (FShowOptionIndicator && ShowHint() && !FHintOptionButton.empty() && PtInRightHandle(p)) {
    info->HintStr = FHintOptionButton;
  }
  if (PagerShowsDisabledHints() && (info->HintStr.empty() || info->HintStr == Hint()) && FHintCtrl != nullptr &&
      !FHintCtrl->Enabled() && FHintCtrl->ShowHint()) {
    info->HintStr = FHintCtrl->Hint();
    info->HintControl = FHintCtrl;
  }
}

void TAdvCustomToolBar::CMVisibleChanged(TMessage& Message) {
  TCustomControl::CMVisibleChanged(Message);
  if (FDestroying || FToolBarState != tsFloating || FFloatingWindow == nullptr) return;
  // Shown by the application, it comes back with its window; the form's
  // own hiding (the floating timer) is a separate matter.
  FAutoHiding = Visible();
  if (FFloatingWindow->Visible() != Visible()) FFloatingWindow->SetVisible(Visible());
}

}  // namespace toolbar
