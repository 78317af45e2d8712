#include "menus/AdvMenus.h"

#include <algorithm>

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

void TAdvMenuCommon::UseInternalStyler(TCustomAdvMenuStyler* Styler) {
  FMenuStyler = nullptr;
  Styler->SetName(u"InternalMenuStyler");
  FInternalMenuStyler = Styler;
  FCurrentMenuStyler = Styler;
}

bool TAdvMenuCommon::AssignMenuStyler(TMenu* Menu, TCustomAdvMenuStyler* Value,
                                      const std::function<void()>& MakeInternal) {
  if (Value == FMenuStyler) return false;
  if (FMenuStyler != nullptr) FMenuStyler->RemoveFreeNotification(Menu);
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
  if (FMenuStyler != nullptr) FMenuStyler->RemoveFreeNotification(Menu);
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
  // No MDI client window is ever hooked here, so there is no window procedure to give back.
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
  // No MDI client exists to hook (there is no MDI here); the bar and any open level repaint.
  RedrawMenuBar();
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
  // The icon of a maximized MDI child is never drawn: there is no MDI here.
  DrawMenuItem(item, ACanvas, ARect, IsSideBarVisibleFor(item), State);
}
