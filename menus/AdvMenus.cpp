#include "menus/AdvMenus.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "menus/MenuEngine.h"
#include "menus/MenuPaint.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/MenuBar.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

namespace {

constexpr Integer kAdvMenuVersionNr = 0x0207010B;
// The shortcut that marks the separator before the MDI window list, and the list's radio group.
constexpr TShortCut kMDIWindowListMarker = 0xABCD;
constexpr Byte kMDIWindowListGroup = 205;

String AdvMenuVersionText(Integer Nr) {
  const auto v = static_cast<Cardinal>(Nr);
  return IntToStr(Integer(v >> 24)) + u"." + IntToStr(Integer((v >> 16) & 0xFF)) + u"." +
         IntToStr(Integer((v >> 8) & 0xFF)) + u"." + IntToStr(Integer(v & 0xFF));
}

void InstallOnItem(TMenu* Menu, TMenuItem* Item) {
  if (auto* t = Item->OnAdvancedDrawItem.target<TAdvMenuDrawThunk>(); t != nullptr && t->Menu == Menu) return;
  if (!Item->OnMeasureItem || Item->OnMeasureItem.target<TAdvMenuMeasureThunk>() != nullptr)
    Item->OnMeasureItem = TAdvMenuMeasureThunk{Menu};
  if ((!Item->OnAdvancedDrawItem || Item->OnAdvancedDrawItem.target<TAdvMenuDrawThunk>() != nullptr) &&
      !Item->OnDrawItem)
    Item->OnAdvancedDrawItem = TAdvMenuDrawThunk{Menu};
}

void InstallRecursive(TMenu* Menu, TMenuItem* Item, bool Recursive) {
  for (Integer i = 0; i < Item->Count(); ++i) {
    TMenuItem* c = Item->Items(i);
    InstallOnItem(Menu, c);
    if (Recursive) InstallRecursive(Menu, c, true);
  }
}

}  // namespace

void TAdvMenuMeasureThunk::operator()(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height) const {
  if (auto* p = dynamic_cast<TAdvPopupMenu*>(Menu)) p->ExpandItemWidth(Sender, ACanvas, Width, Height);
  else if (auto* m = dynamic_cast<TAdvMainMenu*>(Menu)) m->ExpandItemWidth(Sender, ACanvas, Width, Height);
}

void TAdvMenuDrawThunk::operator()(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State) const {
  if (auto* p = dynamic_cast<TAdvPopupMenu*>(Menu)) p->AdvancedDrawItem(Sender, ACanvas, ARect, State);
  else if (auto* m = dynamic_cast<TAdvMainMenu*>(Menu)) m->AdvancedDrawItem(Sender, ACanvas, ARect, State);
}

void InstallItemHandlers(TMenu* Menu, TMenuItem* Item, bool Recursive) {
  if (Menu == nullptr || Menu->ComponentState().Contains(csLoading)) return;
  if (Item != nullptr) {
    InstallOnItem(Menu, Item);
    if (Recursive) InstallRecursive(Menu, Item, true);
    return;
  }
  InstallRecursive(Menu, Menu->Items(), Recursive);
}

void RefreshMenu(TMenu* Menu, bool Rebuild) {
  if (auto* p = dynamic_cast<TAdvPopupMenu*>(Menu)) p->DoRefreshMenu(Rebuild);
  else if (auto* m = dynamic_cast<TAdvMainMenu*>(Menu)) m->DoRefreshMenu(Rebuild);
}

void NotifyMenuChanged(TMenu* Menu, bool Rebuild) { RefreshMenu(Menu, Rebuild); }

// ---------------------------------------------------------------------------
// TAdvMenuCommon

namespace {
// An outside styler points at the menu it was last set on. Cancelling the
// free notification cancels it both ways, so a menu that leaves the styler
// must also clear that pointer: the styler would not hear of its end.
void LeaveStyler(TCustomAdvMenuStyler* Styler, TMenu* Menu) {
  if (Styler == nullptr) return;
  if (Styler->Menu() == Menu) Styler->SetMenu(nullptr);
  Styler->RemoveFreeNotification(Menu);
}
}  // namespace

void TAdvMenuCommon::UseInternalStyler(TCustomAdvMenuStyler* Styler) {
  FMenuStyler = nullptr;
  Styler->SetName(u"InternalMenuStyler");
  FInternalMenuStyler = Styler;
  FCurrentMenuStyler = Styler;
}

bool TAdvMenuCommon::AssignMenuStyler(TMenu* Menu, TCustomAdvMenuStyler* Value,
                                      const std::function<void()>& MakeInternal) {
  if (Value == FMenuStyler) return false;
  LeaveStyler(FMenuStyler, Menu);
  if (Value != nullptr) {
    if (FInternalMenuStyler != nullptr && !FInternalMenuStyler->ComponentState().Contains(csLoading)) {
      std::unique_ptr<TCustomAdvMenuStyler> gone(FInternalMenuStyler);
      FInternalMenuStyler = nullptr;
    }
    FMenuStyler = Value;
    FCurrentMenuStyler = Value;
    Value->FreeNotification(Menu);
  } else {
    MakeInternal();
  }
  FCurrentMenuStyler->SetMenu(Menu);
  return true;
}

bool TAdvMenuCommon::ApplyOfficeStyle(TMenu* Menu, TVornStyle AStyle) {
  if (FMenuStyler != nullptr) return false;
  FVornStyle = AStyle;
  if (AStyle == tsCustom) return false;
  // One office styler per menu, made on the first style and reused afterwards.
  if (FOfficeStyler == nullptr) FOfficeStyler = new TAdvMenuOfficeStyler(Menu);  // owned by the menu
  FOfficeStyler->SetComponentStyle(AStyle);
  FCurrentMenuStyler = FOfficeStyler;
  FOfficeStyler->SetMenu(Menu);
  return true;
}

void TAdvMenuCommon::AssignDisabledImages(TMenu* Menu, TCustomImageList* Value) {
  if (FDisabledImages != nullptr) FDisabledImages->RemoveFreeNotification(Menu);
  FDisabledImages = Value;
  if (Value != nullptr) Value->FreeNotification(Menu);
}

void TAdvMenuCommon::DropUnusedInternalStyler() {
  if (FInternalMenuStyler != nullptr && FInternalMenuStyler != FCurrentMenuStyler) {
    std::unique_ptr<TCustomAdvMenuStyler> gone(FInternalMenuStyler);
    FInternalMenuStyler = nullptr;
  }
}

void TAdvMenuCommon::ForgetComponent(TMenu* Menu, TComponent* AComponent, const std::function<void()>& MakeInternal) {
  if (AComponent == FInternalMenuStyler) {
    FInternalMenuStyler = nullptr;
    if (FCurrentMenuStyler == AComponent) FCurrentMenuStyler = nullptr;
  }
  if (AComponent == FOfficeStyler) {
    FOfficeStyler = nullptr;
    if (FCurrentMenuStyler == AComponent) FCurrentMenuStyler = FInternalMenuStyler;
  }
  if (AComponent == FMenuStyler) {
    // Forgotten also while the menu goes too (an owner destroying both):
    // the menu's own destruction would otherwise reach the freed styler.
    FMenuStyler = nullptr;
    if (FCurrentMenuStyler == AComponent) FCurrentMenuStyler = FInternalMenuStyler;
    if (!Menu->ComponentState().Contains(csDestroying) && AComponent->Owner() != Menu) MakeInternal();
  }
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}


void TAdvMenuCommon::ReleaseStylers(TMenu* Menu) {
  LeaveStyler(FMenuStyler, Menu);
  FMenuStyler = nullptr;
  std::unique_ptr<TCustomAdvMenuStyler> internal(FInternalMenuStyler);
  FInternalMenuStyler = nullptr;
  FCurrentMenuStyler = nullptr;
}

void TAdvMenuCommon::EnterMenuUpdate() {
  FMenuUpdating = true;
  ++FUpdateRef;
}

bool TAdvMenuCommon::LeaveMenuUpdate() {
  if (FUpdateRef > 0) --FUpdateRef;
  return FUpdateRef == 0;
}

// The class library switches the desktop's menu animation off for the whole
// session; this desktop has no such setting, and a program should not change
// other programs' behaviour anyway, so nothing is switched.
void SwitchMenuAnimationOff() {}

// ---------------------------------------------------------------------------
// TAdvPopupMenu

TAdvPopupMenu::TAdvPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {
  SetOwnerDraw(true);
  FOpacity = 255;
  FUpdateRef = 0;
  FMenuUpdating = false;
  CreateInternalStyler();
  FShowNotes = true;
  FActionImage = aiNormal;
  FVornStyle = tsCustom;
}

TAdvPopupMenu::~TAdvPopupMenu() {
  ReleaseStylers(this);
}

void TAdvPopupMenu::CreateInternalStyler() {
  UseInternalStyler(new TCustomAdvMenuStyler(this));  // owned by the menu as a component
}

void TAdvPopupMenu::SetMenuStyler(TCustomAdvMenuStyler* Value) {
  AssignMenuStyler(this, Value, [this] { CreateInternalStyler(); });
}

void TAdvPopupMenu::SetComponentStyle(TVornStyle AStyle) { ApplyOfficeStyle(this, AStyle); }

void TAdvPopupMenu::SetDisabledImages(TCustomImageList* Value) { AssignDisabledImages(this, Value); }

String TAdvPopupMenu::Version() const { return AdvMenuVersionText(GetVersionNr()); }
Integer TAdvPopupMenu::GetVersionNr() const { return kAdvMenuVersionNr; }

void TAdvPopupMenu::UpdateItems() { TPopupMenu::UpdateItems(); }

void TAdvPopupMenu::DoRefreshMenu(bool Rebuild) {
  if (Rebuild) UpdateItems();
  if (TWinControl* w = ActiveMenuWindow()) w->Invalidate();
}

void TAdvPopupMenu::BeginUpdate() { EnterMenuUpdate(); }

void TAdvPopupMenu::EndUpdate() {
  if (LeaveMenuUpdate()) {
    InstallItemHandlers(this, nullptr, true);
    FMenuUpdating = false;
  }
}

void TAdvPopupMenu::Loaded() {
  TPopupMenu::Loaded();
  SetOwnerDraw(true);
  InstallItemHandlers(this, nullptr, true);
  DropUnusedInternalStyler();
}

void TAdvPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent == nullptr) return;
  ForgetComponent(this, AComponent, [this] { CreateInternalStyler(); });
}

void TAdvPopupMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (FDirectUpdate) {
    InstallItemHandlers(this, Source, true);
    if (!FMenuUpdating) RefreshMenu(this, false);
  } else if (!FMenuUpdating) {
    InstallItemHandlers(this, nullptr, true);
  } else {
    RefreshMenu(this, false);
  }
  TPopupMenu::MenuChanged(Sender, Source, Rebuild);
}

void TAdvPopupMenu::ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (item == nullptr) return;
  MeasureMenuItem(item, ACanvas, Width, Height, IsSideBarVisibleFor(item));
}

void TAdvPopupMenu::AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (item == nullptr) return;
  ARect.Right -= MenuEdgeWidth;
  DrawMenuItem(item, ACanvas, ARect, IsSideBarVisibleFor(item), State);
}

void TAdvPopupMenu::Popup(Integer X, Integer Y) {
  if (Items()->Count() == 0) {
    TPopupMenu::Popup(X, Y);
    return;
  }
  MEASUREITEMSTRUCT mis;
  mis.CtlType = ODT_MENU;
  mis.itemID = Items()->Items(0)->Command();
  mis.itemWidth = 10;
  mis.itemHeight = 10;
  SendMessage(PopupListWindow(), WM_MEASUREITEM, 0, LPARAM(&mis));
  const Integer IW = Integer(mis.itemWidth);
  const Integer A = MenuEdgeWidth;
  const Integer desktop = GetSystemMetrics(SM_CXSCREEN);
  if (Alignment() == paRight) {
    if (X - A - (IW + A) >= 0) X += A;
  } else if (Alignment() == paLeft) {
    if (X + IW + 3 * A >= desktop) X += A;
  } else {
    X += A / 2;
  }
  X = std::min(X, desktop - 1);
  SwitchMenuAnimationOff();
  // The inherited pop-up raises OnClose once the menu has closed.
  TPopupMenu::Popup(X, Y);
}

void TAdvPopupMenu::PopupAtControl(TControl* AControl, TPopupControlPosition Position, Integer DeltaX,
                                   Integer DeltaY) {
  if (AControl == nullptr) return;
  TPoint P = AControl->ClientOrigin();
  switch (Position) {
    case pcpBottomLeft: P.Y += AControl->Height(); break;
    case pcpBottomRight:
      P.X += AControl->Width();
      P.Y += AControl->Height();
      break;
    case pcbTopLeft: break;
    case pcpTopRight: P.X += AControl->Width(); break;
    case pcpCenter:
      P.X += AControl->Width() / 2;
      P.Y += AControl->Height() / 2;
      break;
  }
  Popup(P.X + DeltaX, P.Y + DeltaY);
}

void TAdvPopupMenu::PopupAtCursor() {
  TPoint P;
  GetCursorPos(&P);
  Popup(P.X, P.Y);
}

// ---------------------------------------------------------------------------
// TAdvMainMenu

TAdvMainMenu::TAdvMainMenu(TComponent* AOwner) : TMainMenu(AOwner) {
  SetOwnerDraw(true);
  FOpacity = 255;
  FUpdateRef = 0;
  FMenuUpdating = false;
  CreateInternalStyler();
  FShowNotes = true;
  FActionImage = aiNormal;
  FVornStyle = tsCustom;
}

TAdvMainMenu::~TAdvMainMenu() {
  UnhookMDIClient();
  if (FClientProc != 0) FreeObjectInstance(std::exchange(FClientProc, 0));
  ReleaseStylers(this);
}

void TAdvMainMenu::CreateInternalStyler() {
  UseInternalStyler(new TAdvMenuStyler(this));  // owned by the menu as a component
}

void TAdvMainMenu::SetMenuStyler(TCustomAdvMenuStyler* Value) {
  if (!AssignMenuStyler(this, Value, [this] { CreateInternalStyler(); })) return;
  FCurrentMenuStyler->Font()->OnChange = [this](TObject*) { RefreshMenu(this, false); };
}

void TAdvMainMenu::SetComponentStyle(TVornStyle AStyle) {
  if (FMenuStyler != nullptr || AStyle == tsCustom) {
    ApplyOfficeStyle(this, AStyle);
    return;
  }
  // The bar repaints once, with the new style.
  BeginUpdate();
  ApplyOfficeStyle(this, AStyle);
  EndUpdate();
}

void TAdvMainMenu::SetDisabledImages(TCustomImageList* Value) { AssignDisabledImages(this, Value); }

String TAdvMainMenu::Version() const { return AdvMenuVersionText(GetVersionNr()); }
Integer TAdvMainMenu::GetVersionNr() const { return kAdvMenuVersionNr; }

void TAdvMainMenu::UpdateItems() { TMainMenu::UpdateItems(); }

void TAdvMainMenu::RedrawMenuBar() {
  if (TWinControl* w = ActiveMenuWindow()) w->Invalidate();
  if (WindowHandle() != nullptr) DrawMenuBar(WindowHandle());
}

void TAdvMainMenu::DoRefreshMenu(bool Rebuild) {
  if (Rebuild) UpdateItems();
  // Class-library styles are never active here: the MDI client is always looked for.
  if (const HWND client = GetMDIClientHandle()) {
    if (FClientProc == 0) FClientProc = MakeObjectInstance([this](TMessage& M) { MDIClientWndProc(M); });
    if (GetWindowLong(client, GWL_WNDPROC) != FClientProc) {
      UnhookMDIClient();
      FOldWndHandle = client;
      FOldWndProcPtr = GetWindowLong(client, GWL_WNDPROC);
      SetWindowLong(client, GWL_WNDPROC, FClientProc);
      SetWindowLong(client, GWL_USERDATA, FOldWndProcPtr);
    }
  }
  RedrawMenuBar();
}

void TAdvMainMenu::UnhookMDIClient() {
  const HWND wnd = std::exchange(FOldWndHandle, nullptr);
  const WNDPROC old = std::exchange(FOldWndProcPtr, 0);
  if (wnd == nullptr || !IsWindow(wnd)) return;
  SetWindowLong(wnd, GWL_WNDPROC, old);
  SetWindowLong(wnd, GWL_USERDATA, 0);
}

HWND TAdvMainMenu::GetMDIClientHandle() {
  if (ComponentState().Contains(csDestroying)) return nullptr;
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (form == nullptr || !form->HandleAllocated()) return nullptr;
  if (form->FormStyle() == fsMDIChild) return form->Parent() != nullptr ? form->Parent()->Handle() : nullptr;
  if (form->FormStyle() == fsMDIForm) return form->ClientHandle();
  return nullptr;
}

void TAdvMainMenu::MDIClientWndProc(TMessage& M) {
  if (M.Msg != WM_MDIREFRESHMENU) {
    M.Result = CallWindowProc(FOldWndProcPtr, FOldWndHandle, M.Msg, M.WParam, M.LParam);
    return;
  }
  M.Result = 0;
  TCustomForm* form = nullptr;
  if (Screen != nullptr)
    for (Integer i = 0; i < Screen->FormCount() && form == nullptr; ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f->FormStyle() == fsMDIForm && f->HandleAllocated() && f->ClientHandle() == FOldWndHandle) form = f;
    }
  if (form == nullptr || form->WindowMenu() == nullptr) return;
  auto* menu = dynamic_cast<TAdvMainMenu*>(form->Menu());
  if (menu == nullptr) return;
  TMenuItem* windowMenu = form->WindowMenu();
  menu->BeginUpdate();
  try {
    TMenuItem* marker = menu->FindItem(kMDIWindowListMarker, fkShortCut);
    if (marker == nullptr || marker->Caption() != u"-") {
      marker = new TMenuItem(menu);
      marker->SetCaption(u"-");
      marker->SetShortCut(kMDIWindowListMarker);
      marker->SetVisible(form->MDIChildCount() > 0);
      windowMenu->Add(marker);
    } else {
      const Integer at = windowMenu->IndexOf(marker);
      if (at >= 0)
        while (windowMenu->Count() > at + 1) windowMenu->Delete(windowMenu->Count() - 1);
      // The separator shows exactly while there are children to list.
      marker->SetVisible(form->MDIChildCount() > 0);
    }
    // The children by caption; equal captions both stay.
    std::vector<std::pair<String, HWND>> children;
    for (Integer i = 0; i < form->MDIChildCount(); ++i) {
      TCustomForm* c = form->MDIChildren(i);
      if (c != nullptr && !c->ComponentState().Contains(csDestroying) && c->HandleAllocated())
        children.emplace_back(c->Caption(), c->Handle());
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
    TCustomForm* active = form->ActiveMDIChild();
    const HWND activeWnd = active != nullptr && active->HandleAllocated() ? active->Handle() : nullptr;
    Integer n = 1;
    for (const auto& [caption, wnd] : children) {
      auto* item = new TMenuItem(menu);
      item->SetCaption(IntToStr(n++) + u" " + caption);
      item->SetTag(reinterpret_cast<NativeInt>(wnd));
      item->OnClick = [menu](TObject* Sender) { menu->MDIWindowItemClick(Sender); };
      item->SetRadioItem(true);
      item->SetGroupIndex(kMDIWindowListGroup);
      windowMenu->Add(item);
      item->SetChecked(wnd == activeWnd);
    }
  } catch (...) {
    menu->EndUpdate();
    throw;
  }
  menu->EndUpdate();
  M.Result = reinterpret_cast<LRESULT>(menu->Handle());
}

void TAdvMainMenu::MDIWindowItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (item == nullptr || item->Tag() == 0) return;
  const HWND client = GetMDIClientHandle();
  if (client == nullptr) return;
  if (SendMessage(client, WM_MDIACTIVATE, WPARAM(item->Tag()), 0) == 0) item->SetChecked(true);
}

void TAdvMainMenu::DrawMDIChildIcon(TMenuItem* Item, const TRect& ARect) {
  // The first bar item (or an item of no bar: its drop-down rows start at the left edge).
  const Integer index = Items()->IndexOf(Item);
  if ((index != 0 && index >= 0) || ARect.Left < 5) return;
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (form == nullptr || form->FormStyle() != fsMDIForm || !form->HandleAllocated()) return;
  TCustomForm* child = form->ActiveMDIChild();
  if (child == nullptr || !child->HandleAllocated()) return;
  // The child's small icon: the small one, else the second small one, else the big one.
  HICON source = nullptr;
  for (WPARAM kind : {ICON_SMALL, ICON_SMALL2, ICON_BIG})
    if (source == nullptr) source = reinterpret_cast<HICON>(SendMessage(child->Handle(), WM_GETICON, kind, 0));
  if (source == nullptr) return;
  HICON icon = CopyIcon(source);
  if (icon == nullptr) return;
  const Integer size = GetSystemMetrics(SM_CXSMICON);
  const TRect IR{4, ARect.Top, ARect.Left, ARect.Bottom};
  if (size <= IR.Right) {
    const HWND wnd = form->Handle();
    if (HDC dc = GetWindowDC(wnd)) {
      TCanvas canvas;
      canvas.SetHandle(dc);
      TRootItem* ri = FCurrentMenuStyler->RootItem();
      if (ri->GradientDirection() == gdVertical) {
        DrawGradientRect(nullptr, &canvas, IR, ri->Color(), ri->ColorTo(), gdVertical);
      } else {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(ri->Color());
        canvas.FillRect(IR);
      }
      DrawIconEx(canvas.Handle(), IR.Right - 16, IR.Top + 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
      canvas.SetHandle(nullptr);
      ReleaseDC(wnd, dc);
    }
  }
  DestroyIcon(icon);
}

void TAdvMainMenu::Refresh() { RefreshMenu(this, true); }

void TAdvMainMenu::BeginUpdate() { EnterMenuUpdate(); }

void TAdvMainMenu::EndUpdate() {
  if (LeaveMenuUpdate()) {
    InstallItemHandlers(this, nullptr, true);
    RedrawMenuBar();
    FMenuUpdating = false;
  }
}

void TAdvMainMenu::Loaded() {
  TMainMenu::Loaded();
  SetOwnerDraw(true);
  InstallItemHandlers(this, nullptr, true);
  DropUnusedInternalStyler();
  if (Items()->Count() > 0) {
    Items()->Items(0)->SetVisible(false);
    Items()->Items(0)->SetVisible(true);
  }
  RefreshMenu(this, false);
}

void TAdvMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMainMenu::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent == nullptr) return;
  ForgetComponent(this, AComponent, [this] { CreateInternalStyler(); });
}

void TAdvMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  (void)Rebuild;
  if (FDirectUpdate) {
    InstallItemHandlers(this, Source, true);
    if (!FMenuUpdating) RefreshMenu(this, false);
  } else if (FMenuUpdating) {
    InstallItemHandlers(this, nullptr, true);
  } else {
    RefreshMenu(this, false);
  }
  TMainMenu::MenuChanged(Sender, Source, true);
}

void TAdvMainMenu::ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (item == nullptr) return;
  MeasureMenuItem(item, ACanvas, Width, Height, IsSideBarVisibleFor(item));
}

void TAdvMainMenu::AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State) {
  if (FUpdateRef > 0) return;
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (item == nullptr) return;
  const bool bar = IsBarItem(item);
  if (!bar) ARect.Right -= MenuEdgeWidth;
  if (bar && Items()->Count() > 0 && Items()->Items(0) == item) SwitchMenuAnimationOff();
  DrawMDIChildIcon(item, ARect);
  DrawMenuItem(item, ACanvas, ARect, IsSideBarVisibleFor(item), State);
}
