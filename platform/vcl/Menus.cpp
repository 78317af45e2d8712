// Menu items, menus and the pop-up menu windows with their modal loop.
#include "platform/vcl/Menus.h"

#include <algorithm>

#include "platform/rtl/DestroyWatch.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/MenuBar.h"
#include "platform/vcl/MenuLoopInternal.h"
#include "platform/win/Hooks.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if ((Key & 0xFF00) != 0) return 0;
  TShortCut s = Key;
  if (Shift.Contains(ssShift)) s |= scShift;
  if (Shift.Contains(ssCtrl)) s |= scCtrl;
  if (Shift.Contains(ssAlt)) s |= scAlt;
  return s;
}

namespace {
String KeyText(Word k) {
  if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9')) return String(1, Char(k));
  if (k >= VK_F1 && k <= VK_F1 + 23) return u"F" + IntToStr(k - VK_F1 + 1);
  switch (k) {
    case VK_BACK: return u"BkSp";
    case VK_TAB: return u"Tab";
    case VK_RETURN: return u"Enter";
    case VK_ESCAPE: return u"Esc";
    case VK_SPACE: return u"Space";
    case VK_PRIOR: return u"PgUp";
    case VK_NEXT: return u"PgDn";
    case VK_END: return u"End";
    case VK_HOME: return u"Home";
    case VK_LEFT: return u"Left";
    case VK_UP: return u"Up";
    case VK_RIGHT: return u"Right";
    case VK_DOWN: return u"Down";
    case VK_INSERT: return u"Ins";
    case VK_DELETE: return u"Del";
    default: return String();
  }
}
}  // namespace

String ShortCutToText(TShortCut SC) {
  const String key = KeyText(SC & 0xFF);
  if (key.empty()) return String();
  String s;
  if (SC & scShift) s += u"Shift+";
  if (SC & scCtrl) s += u"Ctrl+";
  if (SC & scAlt) s += u"Alt+";
  return s + key;
}

// ---------------------------------------------------------------------------
// TMenuItem

namespace {
Word NextCommand() {
  static Word next = 0;
  // Command identifiers skip 0 and wrap round after 65535 items.
  if (++next == 0) ++next;
  return next;
}
String StripAccel(const String& s) {
  String r;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'&' && i + 1 < s.size()) ++i;
    r += s[i];
  }
  return r;
}
}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
  if (FParent != nullptr) FParent->Remove(this);
  // Children owned by nobody else go with their parent.
  for (TMenuItem* child : std::vector<TMenuItem*>(FItems)) {
    child->FParent = nullptr;
    if (child->Owner() == nullptr) {
      std::unique_ptr<TMenuItem> owned(child);
    }
  }
  FItems.clear();
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (TMenu* m = GetParentMenu()) m->MenuChanged(m, this, Rebuild);
}

void TMenuItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem && FParent != nullptr)
    for (TMenuItem* s : FParent->FItems)
      if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->FChecked = false;
  MenuChanged(false);
}

void TMenuItem::SetEnabled(bool Value) {
  FEnabled = Value;
  MenuChanged(false);
}
void TMenuItem::SetVisible(bool Value) {
  FVisible = Value;
  MenuChanged(true);
}
void TMenuItem::SetDefault(bool Value) {
  FDefault = Value;
  MenuChanged(false);
}
void TMenuItem::SetRadioItem(bool Value) {
  FRadioItem = Value;
  MenuChanged(false);
}
void TMenuItem::SetGroupIndex(Byte Value) {
  FGroupIndex = Value;
  MenuChanged(false);
}
void TMenuItem::SetBreak(TMenuBreak Value) {
  FBreak = Value;
  MenuChanged(true);
}
void TMenuItem::SetShortCut(TShortCut Value) {
  FShortCut = Value;
  MenuChanged(false);
}
void TMenuItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  MenuChanged(false);
}
void TMenuItem::SetSubMenuImages(TCustomImageList* Value) {
  FSubMenuImages = Value;
  MenuChanged(false);
}

TBitmap* TMenuItem::Bitmap() const {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}
void TMenuItem::SetBitmap(TBitmap* Value) {
  Bitmap()->Assign(Value);
  MenuChanged(false);
}

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(u"Menu index out of range");
  return FItems[std::size_t(Index)];
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : Integer(it - FItems.begin());
}

Integer TMenuItem::MenuIndex() const { return FParent != nullptr ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(Integer Value) {
  if (FParent == nullptr) return;
  TMenuItem* p = FParent;
  const Integer to = std::clamp(Value, 0, p->Count() - 1);
  std::erase(p->FItems, this);
  p->FItems.insert(p->FItems.begin() + to, this);
  MenuChanged(true);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (Item == nullptr) return;
  if (Item->FParent != nullptr) throw EMenuError(u"Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError(u"Menu index out of range");
  for (const TMenuItem* p = this; p != nullptr; p = p->FParent)
    if (p == Item) throw EMenuError(u"Menu inserted twice");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item) {
  const Integer i = IndexOf(Item);
  if (i < 0) throw EMenuError(u"Sub-menu is not in menu");
  FItems.erase(FItems.begin() + i);
  Item->FParent = nullptr;
  MenuChanged(true);
}

void TMenuItem::Delete(Integer Index) {
  TMenuItem* item = Items(Index);
  Remove(item);
  std::unique_ptr<TMenuItem> gone(item);
  if (TComponent* o = item->Owner()) o->RemoveComponent(item);
}

void TMenuItem::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  const String want = StripAccel(ACaption);
  for (TMenuItem* i : FItems)
    if (SameText(StripAccel(i->FCaption), want)) return i;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* top = this;
  while (top->FParent != nullptr) top = top->FParent;
  return top->FMenu;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height) {
  TMenu* menu = GetParentMenu();
  if (menu != nullptr && menu->OwnerDraw() && OnMeasureItem) {
    OnMeasureItem(this, ACanvas, Width, Height);
    return;
  }
  if (IsLine()) {
    Height = 8;
    return;
  }
  if (FParent != nullptr && FParent->FMenu != nullptr && dynamic_cast<TMainMenu*>(FParent->FMenu) != nullptr) {
    // A bar item: its caption only (the bar spaces its cells itself).
    const TSize ext = ACanvas->TextExtent(FCaption.empty() ? String(u" ") : StripAccel(FCaption));
    Width = std::max(Width, ext.cx);
    Height = std::max(Height, ext.cy + 6);
    return;
  }
  String text = StripAccel(FCaption);
  const String sc = ShortCutToText(FShortCut);
  if (!sc.empty()) text += u"\t" + sc;
  const TSize ext = ACanvas->TextExtent(text.empty() ? String(u" ") : text);
  Width = std::max(Width, ext.cx + 24 + 16);
  Height = std::max(Height, ext.cy + 6);
}

void TMenuItem::DoDrawText(TCanvas* ACanvas, const String& ACaption, TRect& Rect, bool Selected, Integer Flags) {
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->Font()->SetColor(!FEnabled ? clGrayText : Selected ? clHighlightText : clMenuText);
  String text = ACaption;
  DrawTextW(ACanvas->Handle(), text.data(), Integer(text.size()), &Rect, UINT(Flags));
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel) {
  TMenu* menu = GetParentMenu();
  if (menu != nullptr && menu->OwnerDraw()) {
    if (OnAdvancedDrawItem) {
      OnAdvancedDrawItem(this, ACanvas, ARect, State);
      return;
    }
    if (OnDrawItem) {
      OnDrawItem(this, ACanvas, ARect, State.Contains(odSelected));
      return;
    }
  }
  const bool selected = State.Contains(odSelected);
  if (TopLevel) {
    // A bar item: a highlight while open or under the pointer, the caption centred with its accelerator.
    const bool lit = FEnabled && (selected || State.Contains(odHotLight));
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(lit ? clHighlight : clMenuBar);
    ACanvas->FillRect(ARect);
    TRect tr = ARect;
    DoDrawText(ACanvas, FCaption, tr, lit, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(selected && FEnabled ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  if (IsLine()) {
    const Integer y = ARect.Top + ARect.Height() / 2;
    ACanvas->Pen()->SetColor(clBtnShadow);
    ACanvas->MoveTo(ARect.Left + 2, y - 1);
    ACanvas->LineTo(ARect.Right - 2, y - 1);
    ACanvas->Pen()->SetColor(clBtnHighlight);
    ACanvas->MoveTo(ARect.Left + 2, y);
    ACanvas->LineTo(ARect.Right - 2, y);
    return;
  }
  if (FChecked) {
    TRect box = Bounds(ARect.Left + 4, ARect.Top + (ARect.Height() - 10) / 2, 10, 10);
    ACanvas->Brush()->SetColor(selected ? clHighlightText : clMenuText);
    if (FRadioItem) ACanvas->Ellipse(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2);
    else ACanvas->FillRect(Bounds(box.Left + 2, box.Top + 2, 6, 6));
  }
  TCustomImageList* images = FParent != nullptr && FParent->FSubMenuImages != nullptr ? FParent->FSubMenuImages
                             : menu != nullptr ? menu->Images()
                                               : nullptr;
  if (images != nullptr && FImageIndex >= 0 && FImageIndex < images->Count())
    images->Draw(ACanvas, ARect.Left + 2, ARect.Top + (ARect.Height() - images->Height()) / 2, FImageIndex, FEnabled);
  TRect tr = ARect;
  tr.Left += TopLevel ? 6 : 24;
  tr.Right -= 8;
  DoDrawText(ACanvas, FCaption, tr, selected, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  const String sc = ShortCutToText(FShortCut);
  if (!sc.empty()) DoDrawText(ACanvas, sc, tr, selected, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (Count() > 0) {
    // The sub-menu arrow.
    const Integer x = ARect.Right - 8, y = ARect.Top + ARect.Height() / 2;
    ACanvas->Brush()->SetColor(selected ? clHighlightText : clMenuText);
    ACanvas->Pen()->SetColor(selected ? clHighlightText : clMenuText);
    ACanvas->Polygon({{x, y - 3}, {x + 3, y}, {x, y + 3}});
  }
}

// ---------------------------------------------------------------------------
// TMenu

namespace {
// Open menu levels take the items they show again after the tree changed (defined with the loop below).
void MenuLevelsRefresh();
// Open menu levels showing a menu that goes away stop showing its items.
void MenuLevelsForget(const TMenu* Menu);

std::vector<TMenu*>& LiveMenus() {
  static std::vector<TMenu*> menus;
  return menus;
}

// The form a menu works for: its owner's form.
TCustomForm* MenuForm(const TMenu* m) {
  for (TComponent* o = m->Owner(); o != nullptr; o = o->Owner()) {
    if (auto* f = dynamic_cast<TCustomForm*>(o)) return f;
    if (auto* c = dynamic_cast<TControl*>(o)) return GetParentForm(c);
  }
  return nullptr;
}

bool MenuShortCut(TWinControl* Focused, Word Key, TShiftState Shift) {
  TCustomForm* form = GetParentForm(Focused);
  // The focused control's pop-up menus first (up the parents), then the form's main menus.
  for (TControl* c = Focused; c != nullptr; c = c->Parent())
    if (TPopupMenu* p = c->PopupMenu())
      if (p->IsShortCut(Key, Shift)) return true;
  for (TMenu* m : std::vector<TMenu*>(LiveMenus()))
    if (dynamic_cast<TMainMenu*>(m) != nullptr && form != nullptr && MenuForm(m) == form && m->IsShortCut(Key, Shift))
      return true;
  return false;
}
}  // namespace

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
  LiveMenus().push_back(this);
  SetMenuShortCutHook(&MenuShortCut);
}

TMenu::~TMenu() {
  MenuLevelsForget(this);
  CloseMenus();
  std::erase(LiveMenus(), this);
  FItems->FMenu = nullptr;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  MenuChanged(this, nullptr, false);
}

void TMenu::SetOwnerDraw(bool Value) {
  FOwnerDraw = Value;
  MenuChanged(this, nullptr, false);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (Rebuild) MenuLevelsRefresh();
  if (TWinControl* w = ActiveMenuWindow()) w->Invalidate();
  // The bars showing the menu lay their items out again and repaint.
  if (dynamic_cast<TMainMenu*>(this) != nullptr) MenuBarsChanged(this);
  if (OnChange) OnChange(Sender, Source, Rebuild);
}

TMenuItem* TMenu::FindItem(NativeInt Value, TFindItemKind Kind) const {
  std::vector<TMenuItem*> stack{FItems.get()};
  while (!stack.empty()) {
    TMenuItem* i = stack.back();
    stack.pop_back();
    if (i != FItems.get()) {
      if (Kind == fkCommand && i->Command() == Value) return i;
      if (Kind == fkHandle && reinterpret_cast<NativeInt>(i->Handle()) == Value) return i;
      if (Kind == fkShortCut && i->ShortCut() == Value && Value != 0) return i;
    }
    for (auto it = i->FItems.rbegin(); it != i->FItems.rend(); ++it) stack.push_back(*it);
  }
  return nullptr;
}

bool TMenu::IsShortCut(Word Key, TShiftState Shift) {
  const TShortCut sc = ::ShortCut(Key, Shift);
  if (sc == 0) return false;
  TMenuItem* item = FindItem(sc, fkShortCut);
  if (item == nullptr) return false;
  // Every level up to the menu must be enabled and visible.
  for (TMenuItem* p = item; p != nullptr && p != FItems.get(); p = p->Parent())
    if (!p->Enabled() || !p->Visible()) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {
  if (TCustomForm* f = MenuForm(this)) FWindowHandle = f->HandleAllocated() ? f->Handle() : nullptr;
}
TMainMenu::~TMainMenu() {
  if (FMerged != nullptr) FMerged->RemoveFreeNotification(this);
}

void TMainMenu::Merge(TMainMenu* Menu) {
  if (FMerged != nullptr && FMerged != Menu) FMerged->RemoveFreeNotification(this);
  FMerged = Menu;
  if (Menu != nullptr) Menu->FreeNotification(this);
  MenuChanged(this, nullptr, false);
}

void TMainMenu::Unmerge(TMainMenu* Menu) {
  if (Menu != nullptr && Menu == FMerged) Merge(nullptr);
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && AComponent == FMerged) FMerged = nullptr;
}

// ---------------------------------------------------------------------------
// Pop-up windows and the menu loop

namespace {

class TMenuWindow;

struct TMenuLoop {
  std::vector<TMenuWindow*> Levels;  // open levels, first = top
  TMenuItem* Chosen = nullptr;
  bool Done = false;
  // A drop-down of a form's menu bar: the bar's hit test and its open item.
  const menus_internal::TBarHitTest* Bar = nullptr;
  TMenuItem* BarItem = nullptr;
  TMenu* BarMenu = nullptr;
  menus_internal::TDropDownEnd End = menus_internal::TDropDownEnd::Dismissed;
  TMenuItem* EndItem = nullptr;
  bool LeaveKeyDown = false;  // Alt or F10 went down while the drop-down showed
  HWND Owner = nullptr;       // gets the loop's notifications
};

// Runs the thread's menu filters over a message of the loop, addressed to the
// open level's window; true when a filter took it.
bool FilterMenuMessage(TMenuLoop* loop, MSG& Msg);
void NotifyMenuSelect(TMenuLoop* loop, TMenuItem* Item);
bool MenuKey(TMenuLoop* loop, Word key);

void EndDropDown(TMenuLoop* loop, menus_internal::TDropDownEnd End, TMenuItem* Item = nullptr) {
  loop->End = End;
  loop->EndItem = Item;
  loop->Done = true;
}
TMenuLoop* CurrentLoop = nullptr;

class TMenuWindow : public TCustomControl {
 public:
  TMenuWindow(TMenuItem* Parent, TMenuLoop* Loop) : TCustomControl(nullptr), FParentItem(Parent), FLoop(Loop) {
    FColor = clMenu;
    FParentColor = false;
    FVisible = false;
    FControlStyle.Exclude(csClickEvents);
  }

  TMenuItem* ParentItem() const { return FParentItem; }
  Integer Selected() const { return FSelected; }
  const std::vector<std::pair<TMenuItem*, TRect>>& Layout() const { return FLayout; }

  void Measure() {
    FMeasured = true;
    FLayout.clear();
    if (FParentItem == nullptr) return;
    HDC dc = GetDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.SetFont(Screen != nullptr ? Screen->MenuFont() : Font());
    Integer y = 2, width = 80;
    std::vector<std::pair<TMenuItem*, Integer>> heights;
    for (Integer i = 0; i < FParentItem->Count(); ++i) {
      TMenuItem* item = FParentItem->Items(i);
      if (!item->Visible()) continue;
      Integer w = 0, h = 0;
      item->MeasureItem(&canvas, w, h);
      width = std::max(width, w);
      heights.emplace_back(item, std::max(h, 0));
    }
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    for (auto& [item, h] : heights) {
      FLayout.emplace_back(item, TRect{2, y, 2 + width, y + h});
      y += h;
    }
    FWidth = width + 4;
    FHeight = y + 2;
  }

  void Place(Integer X, Integer Y) {
    if (!FMeasured) Measure();
    // Kept on the screen.
    if (Screen != nullptr) {
      X = std::max(0, std::min(X, Screen->Width() - FWidth));
      Y = std::max(0, std::min(Y, Screen->Height() - FHeight));
    }
    SetBounds(X, Y, FWidth, FHeight);
    HandleNeeded();
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    FShowing = true;
    Invalidate();
  }

  Integer ItemAt(TPoint Client) const {
    for (std::size_t i = 0; i < FLayout.size(); ++i)
      if (FLayout[i].second.Contains(Client)) return Integer(i);
    return -1;
  }

  void Select(Integer Index) {
    if (Index == FSelected) return;
    FSelected = Index;
    Invalidate();
    if (Index >= 0 && Index < Integer(FLayout.size())) NotifyMenuSelect(FLoop, FLayout[std::size_t(Index)].first);
  }

  // Takes the parent's current children again (the tree changed), keeping
  // the window's place and the selected item when it is still shown.
  void Remeasure() {
    const TMenuItem* selected = FSelected >= 0 && FSelected < Integer(FLayout.size()) ? FLayout[std::size_t(FSelected)].first
                                                                                     : nullptr;
    Measure();
    FSelected = -1;
    for (std::size_t i = 0; i < FLayout.size(); ++i)
      if (FLayout[i].first == selected) FSelected = Integer(i);
    if (HandleAllocated()) SetBounds(Left(), Top(), FWidth, FHeight);
    Invalidate();
  }

  // Shows nothing more: its parent item is gone.
  void Detach() {
    FParentItem = nullptr;
    FLayout.clear();
    FSelected = -1;
    Invalidate();
  }

 protected:
  void CreateParams(TCreateParams& P) override {
    TCustomControl::CreateParams(P);
    P.Style = WS_POPUP | WS_BORDER;
    P.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    P.WndParent = nullptr;
  }

  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clMenu);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(ClientRect());
    c->Pen()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(ClientRect());
    for (std::size_t i = 0; i < FLayout.size(); ++i) {
      TMenuItem* item = FLayout[i].first;
      TOwnerDrawState state;
      if (Integer(i) == FSelected) state.Include(odSelected);
      if (!item->Enabled()) state += TOwnerDrawState{odDisabled, odGrayed};
      if (item->Checked()) state.Include(odChecked);
      if (item->Default()) state.Include(odDefault);
      const int saved = SaveDC(c->Handle());
      c->SetFont(Screen != nullptr ? Screen->MenuFont() : Font());
      const TRect r = FLayout[i].second;
      IntersectClipRect(c->Handle(), r.Left, r.Top, r.Right, r.Bottom);
      item->AdvancedDrawItem(c, r, state, false);
      RestoreDC(c->Handle(), saved);
      c->Refresh();
    }
  }

  void WndProc(TMessage& M) override;

 private:
  TMenuItem* FParentItem;
  TMenuLoop* FLoop;
  std::vector<std::pair<TMenuItem*, TRect>> FLayout;
  Integer FSelected = -1;
  bool FMeasured = false;
};

void CloseLevelsAfter(TMenuLoop* loop, std::size_t keep) {
  while (loop->Levels.size() > keep) {
    std::unique_ptr<TMenuWindow> w(loop->Levels.back());
    loop->Levels.pop_back();
  }
}

bool MenuLevelsRefreshing = false;

void MenuLevelsRefresh() {
  TMenuLoop* loop = CurrentLoop;
  if (loop == nullptr || loop->Levels.empty() || MenuLevelsRefreshing) return;
  MenuLevelsRefreshing = true;
  // A level whose parent item left the level above (a drop-down: left the bar's
  // menu) closes with those after it; only pointers are compared, as a removed item may be gone.
  std::size_t keep = loop->Levels.size();
  for (std::size_t i = 0; i < loop->Levels.size() && keep == loop->Levels.size(); ++i) {
    const TMenuItem* above = i > 0 ? loop->Levels[i - 1]->ParentItem()
                             : loop->BarMenu != nullptr ? loop->BarMenu->Items()
                                                        : nullptr;
    if (above != nullptr && above->IndexOf(loop->Levels[i]->ParentItem()) < 0) keep = i;
  }
  if (keep == 0) {
    CloseLevelsAfter(loop, 1);
    loop->Levels.front()->Detach();
    EndDropDown(loop, menus_internal::TDropDownEnd::Dismissed);
  } else {
    CloseLevelsAfter(loop, keep);
    for (TMenuWindow* w : loop->Levels) w->Remeasure();
  }
  MenuLevelsRefreshing = false;
}

void MenuLevelsForget(const TMenu* Menu) {
  TMenuLoop* loop = CurrentLoop;
  if (loop == nullptr || loop->Levels.empty()) return;
  TMenuItem* top = loop->Levels.front()->ParentItem();
  if (top == nullptr || top->GetParentMenu() != Menu) return;
  CloseLevelsAfter(loop, 1);
  loop->Levels.front()->Detach();
  loop->Done = true;
}

void OpenSubMenu(TMenuLoop* loop, TMenuWindow* from, Integer index) {
  const std::size_t level = std::size_t(std::find(loop->Levels.begin(), loop->Levels.end(), from) - loop->Levels.begin());
  CloseLevelsAfter(loop, level + 1);
  TMenuItem* item = from->Layout()[std::size_t(index)].first;
  if (item->Count() == 0 || !item->Enabled()) return;
  auto* sub = new TMenuWindow(item, loop);  // owned by the loop's level list
  loop->Levels.push_back(sub);
  const TRect r = from->Layout()[std::size_t(index)].second;
  const TPoint at = from->ClientToScreen({r.Right, r.Top});
  sub->Place(at.X, at.Y - 2);
}

void Choose(TMenuLoop* loop, TMenuWindow* w, Integer index) {
  if (index < 0) return;
  TMenuItem* item = w->Layout()[std::size_t(index)].first;
  if (item->IsLine() || !item->Enabled()) return;
  if (item->Count() > 0) {
    OpenSubMenu(loop, w, index);
    return;
  }
  loop->Chosen = item;
  loop->Done = true;
}

// The open level under a screen point, nullptr when none.
TMenuWindow* LevelAt(TMenuLoop* loop, TPoint screen) {
  for (auto it = loop->Levels.rbegin(); it != loop->Levels.rend(); ++it)
    if (Bounds((*it)->Left(), (*it)->Top(), (*it)->Width(), (*it)->Height()).Contains(screen)) return *it;
  return nullptr;
}

TPoint CursorNow() {
  TPoint p;
  GetCursorPos(&p);
  return p;
}

// A filter may change the message (a key turned round for a right-to-left
// menu): the loop goes on with what the filter left, addressed as before.
bool FilterMenuMessage(TMenuLoop* loop, MSG& Msg) {
  if (!HooksInstalled(WH_MSGFILTER) || loop->Levels.empty()) return false;
  MSG filtered = Msg;
  filtered.hwnd = loop->Levels.back()->Handle();
  const bool handled = CallMsgFilter(&filtered, MSGF_MENU) != FALSE;
  Msg.message = filtered.message;
  Msg.wParam = filtered.wParam;
  Msg.lParam = filtered.lParam;
  return handled;
}

void NotifyMenuSelect(TMenuLoop* loop, TMenuItem* Item) {
  WPARAM w = MAKEWPARAM(0, 0xFFFF);
  LPARAM l = 0;
  if (Item != nullptr) {
    const bool popup = Item->Count() > 0;
    const int flags = MF_HILITE | (popup ? MF_POPUP : 0);
    w = MAKEWPARAM(popup ? Item->MenuIndex() : Item->Command(), flags);
    l = reinterpret_cast<LPARAM>(Item->Parent() != nullptr ? Item->Parent()->Handle() : nullptr);
  }
  MSG msg{nullptr, WM_MENUSELECT, w, l, DWORD(GetTickCount()), CursorNow()};
  if (FilterMenuMessage(loop, msg)) return;
  if (loop->Owner != nullptr) SendMessage(loop->Owner, WM_MENUSELECT, w, l);
}

void TMenuWindow::WndProc(TMessage& M) {
  // The top level holds the capture: every mouse message of the menu passes here.
  switch (M.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      // A key posted to the menu (a filter opening it with Down, say).
      MSG msg{Handle(), UINT(M.Msg), M.WParam, M.LParam, DWORD(GetTickCount()), CursorNow()};
      if (!FilterMenuMessage(FLoop, msg)) MenuKey(FLoop, Word(msg.wParam));
      return;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      const TPoint screen = ClientToScreen(PointFromLParam(M.LParam));
      TMenuWindow* level = LevelAt(FLoop, screen);
      if (level == nullptr && FLoop->Bar != nullptr) {
        // Over the bar: another item with children takes over on a move; a
        // press switches to another item, or closes on the open one.
        bool onBar = false;
        TMenuItem* barItem = (*FLoop->Bar)(screen, onBar);
        if (onBar) {
          using menus_internal::TDropDownEnd;
          if (M.Msg == WM_MOUSEMOVE) {
            if (barItem != nullptr && barItem != FLoop->BarItem && barItem->Enabled() && barItem->Count() > 0)
              EndDropDown(FLoop, TDropDownEnd::BarItem, barItem);
          } else if (M.Msg == WM_LBUTTONDOWN) {
            if (barItem == nullptr || barItem == FLoop->BarItem) EndDropDown(FLoop, TDropDownEnd::Dismissed);
            else EndDropDown(FLoop, TDropDownEnd::BarItem, barItem);
          } else if (M.Msg == WM_RBUTTONDOWN) {
            EndDropDown(FLoop, TDropDownEnd::Dismissed);
          }
          return;
        }
      }
      if (level == nullptr) {
        if (M.Msg == WM_LBUTTONDOWN || M.Msg == WM_RBUTTONDOWN) FLoop->Done = true;  // a press outside dismisses
        return;
      }
      const Integer index = level->ItemAt(level->ScreenToClient(screen));
      if (M.Msg == WM_MOUSEMOVE) {
        level->Select(index);
        if (index >= 0 && level->Layout()[std::size_t(index)].first->Count() > 0) OpenSubMenu(FLoop, level, index);
      } else if (M.Msg == WM_LBUTTONUP || M.Msg == WM_RBUTTONUP) {
        Choose(FLoop, level, index);
      }
      return;
    }
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      return;
    default: TCustomControl::WndProc(M);
  }
}

bool MenuKey(TMenuLoop* loop, Word key) {
  if (loop->Levels.empty()) return false;
  TMenuWindow* w = loop->Levels.back();
  const Integer n = Integer(w->Layout().size());
  auto selectable = [&](Integer i) { return !w->Layout()[std::size_t(i)].first->IsLine(); };
  using menus_internal::TDropDownEnd;
  switch (key) {
    case VK_ESCAPE:
      if (loop->Levels.size() > 1) CloseLevelsAfter(loop, loop->Levels.size() - 1);
      else if (loop->Bar != nullptr) EndDropDown(loop, TDropDownEnd::Escaped);
      else loop->Done = true;
      return true;
    case VK_MENU:
    case VK_F10:
      // Leaving keys: a drop-down closes when they come up again; they choose no accelerator.
      if (loop->Bar != nullptr) loop->LeaveKeyDown = true;
      return true;
    case VK_DOWN:
    case VK_UP: {
      if (n == 0) return true;
      // From no selection Down goes to the first item and Up to the last.
      Integer i = w->Selected() < 0 && key == VK_UP ? 0 : w->Selected();
      for (Integer k = 0; k < n; ++k) {
        i = key == VK_DOWN ? (i + 1 + n) % n : (i - 1 + n) % n;
        if (i < 0) i += n;
        if (selectable(i)) break;
      }
      w->Select(i);
      return true;
    }
    case VK_RIGHT: {
      TMenuItem* sel = w->Selected() >= 0 ? w->Layout()[std::size_t(w->Selected())].first : nullptr;
      // A drop-down moves on to the next bar item where no sub-menu opens.
      if (loop->Bar != nullptr && (sel == nullptr || sel->Count() == 0 || !sel->Enabled()))
        EndDropDown(loop, TDropDownEnd::Next);
      else if (w->Selected() >= 0)
        OpenSubMenu(loop, w, w->Selected());
      return true;
    }
    case VK_LEFT:
      if (loop->Levels.size() > 1) CloseLevelsAfter(loop, loop->Levels.size() - 1);
      else if (loop->Bar != nullptr) EndDropDown(loop, TDropDownEnd::Previous);
      return true;
    case VK_RETURN:
    case VK_SPACE:
      Choose(loop, w, w->Selected());
      return true;
    default:
      // Accelerators go by the characters keys type (MenuChar), so that every
      // letter of every keyboard works; the menu swallows other keys while it shows.
      return true;
  }
}

// The accelerator of the typed character chooses its item in the deepest level.
void MenuChar(TMenuLoop* loop, Char ch) {
  if (loop->Done || loop->Levels.empty() || ch <= u' ') return;
  TMenuWindow* w = loop->Levels.back();
  const Integer n = Integer(w->Layout().size());
  for (Integer i = 0; i < n; ++i)
    if (IsAccel(Word(ch), w->Layout()[std::size_t(i)].first->Caption())) {
      w->Select(i);
      Choose(loop, w, i);
      return;
    }
}

}  // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

namespace {

// Runs the levels of Loop (its top level placed and showing) until an item is
// chosen or the menu is dismissed; every level is closed on return.
void RunMenuLoop(TMenuLoop& loop) {
  TMenuWindow* top = loop.Levels.front();
  SetCapture(top->Handle());
  CurrentLoop = &loop;
  // Keys go to the menu while it shows, ahead of the focused control.
  TMessageEvent saved = Application->OnMessage;
  Application->OnMessage = [&loop, saved](TMsg& Msg, bool& Handled) {
    if (FilterMenuMessage(&loop, Msg)) {
      Handled = true;
      return;
    }
    if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) {
      Handled = MenuKey(&loop, Word(Msg.wParam));
      return;
    }
    if (Msg.message == WM_KEYUP || Msg.message == WM_SYSKEYUP) {
      if (loop.LeaveKeyDown && (Msg.wParam == VK_MENU || Msg.wParam == VK_F10))
        EndDropDown(&loop, menus_internal::TDropDownEnd::Dismissed);
      Handled = true;
      return;
    }
    if (Msg.message == WM_CHAR || Msg.message == WM_SYSCHAR) {
      MenuChar(&loop, Char(Msg.wParam));
      Handled = true;
      return;
    }
    if (saved) saved(Msg, Handled);
  };
  const BOOL popup = loop.Bar == nullptr ? TRUE : FALSE;
  if (loop.Owner != nullptr) SendMessage(loop.Owner, WM_ENTERMENULOOP, WPARAM(popup), 0);
  auto finish = [&] {
    NotifyMenuSelect(&loop, nullptr);  // the close notice
    Application->OnMessage = saved;
    CurrentLoop = nullptr;
    if (!loop.Levels.empty() && GetCapture() == loop.Levels.front()->Handle()) ReleaseCapture();
    CloseLevelsAfter(&loop, 0);
    if (loop.Owner != nullptr && IsWindow(loop.Owner)) SendMessage(loop.Owner, WM_EXITMENULOOP, WPARAM(popup), 0);
  };
  try {
    while (!loop.Done && !Application->Terminated() && !loop.Levels.empty()) Application->HandleMessage();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

}  // namespace

void TPopupMenu::Popup(Integer X, Integer Y) {
  if (CurrentLoop != nullptr || Application == nullptr) return;  // one menu at a time
  DoPopup(this);
  TMenuLoop loop;
  loop.Owner = PopupListWindow();
  auto* top = new TMenuWindow(Items(), &loop);  // owned by the loop's level list
  loop.Levels.push_back(top);
  top->Measure();
  if (FAlignment == paRight) X -= top->Width();
  else if (FAlignment == paCenter) X -= top->Width() / 2;
  top->Place(X, Y);
  RunMenuLoop(loop);
  // The chosen item runs after the menu has gone, as a command sent by the
  // closed menu; its handler may free the menu (with the form that owns it).
  TDestroyWatch watch(this);
  if (loop.Chosen != nullptr) loop.Chosen->Click();
  if (!watch.Gone() && OnClose) OnClose(this);
}

namespace menus_internal {

TDropDownResult TrackDropDown(TMenuItem* BarItem, TPoint At, bool SelectFirst, const TBarHitTest& HitTest) {
  if (CurrentLoop != nullptr || Application == nullptr || BarItem == nullptr) return {};
  TMenuLoop loop;
  loop.Bar = &HitTest;
  loop.BarItem = BarItem;
  loop.BarMenu = BarItem->GetParentMenu();
  if (auto* main = dynamic_cast<TMainMenu*>(loop.BarMenu)) loop.Owner = main->WindowHandle();
  auto* top = new TMenuWindow(BarItem, &loop);  // owned by the loop's level list
  loop.Levels.push_back(top);
  top->Measure();
  top->Place(At.X, At.Y);
  if (SelectFirst)
    for (std::size_t i = 0; i < top->Layout().size(); ++i)
      if (!top->Layout()[i].first->IsLine()) {
        top->Select(Integer(i));
        break;
      }
  RunMenuLoop(loop);
  if (loop.Chosen != nullptr) return {TDropDownEnd::Chosen, loop.Chosen};
  return {loop.End, loop.EndItem};
}

bool MenuLoopRunning() { return CurrentLoop != nullptr; }

TMenuItem* TrackPopupItems(TMenuItem* Root, TPoint At, HWND Owner) {
  if (CurrentLoop != nullptr || Application == nullptr || Root == nullptr) return nullptr;
  TMenuLoop loop;
  loop.Owner = Owner;
  auto* top = new TMenuWindow(Root, &loop);  // owned by the loop's level list
  loop.Levels.push_back(top);
  top->Measure();
  top->Place(At.X, At.Y);
  RunMenuLoop(loop);
  return loop.Chosen;
}

}  // namespace menus_internal

TWinControl* ActiveMenuWindow() {
  if (CurrentLoop == nullptr || CurrentLoop->Levels.empty()) return nullptr;
  return CurrentLoop->Levels.back();
}

TRect MenuItemRect(TWinControl* MenuWindow, const TMenuItem* Item) {
  if (auto* form = dynamic_cast<TCustomForm*>(MenuWindow)) return MenuBarItemRect(form, Item);
  if (CurrentLoop == nullptr) return {};
  for (TMenuWindow* w : CurrentLoop->Levels)
    if (w == MenuWindow)
      for (auto& [item, r] : w->Layout())
        if (item == Item) return r;
  return {};
}

TWinControl* MenuWindowOf(const TMenuItem* ParentItem) {
  if (TCustomForm* form = MenuBarFormOf(ParentItem)) return form;
  if (CurrentLoop == nullptr || ParentItem == nullptr) return nullptr;
  for (TMenuWindow* w : CurrentLoop->Levels)
    if (w->ParentItem() == ParentItem) return w;
  return nullptr;
}

TMenuItem* MenuWindowParentItem(TWinControl* MenuWindow) {
  if (CurrentLoop == nullptr) return nullptr;
  for (TMenuWindow* w : CurrentLoop->Levels)
    if (w == MenuWindow) return w->ParentItem();
  return nullptr;
}

void CloseMenus() {
  if (CurrentLoop != nullptr) CurrentLoop->Done = true;
}

namespace {
// Handles come from outside: only an item of a live menu is looked at.
bool LiveMenuItem(TMenuItem* Item) {
  for (TMenu* m : LiveMenus())
    if (m->Items() == Item || m->FindItem(reinterpret_cast<NativeInt>(Item), fkHandle) == Item) return true;
  return false;
}
}  // namespace

namespace menus_internal {
bool IsLiveMenu(HMENU Menu) {
  auto* item = reinterpret_cast<TMenuItem*>(Menu);
  return item != nullptr && LiveMenuItem(item);
}
}  // namespace menus_internal

HMENU GetSubMenu(HMENU Menu, int Pos) {
  auto* item = reinterpret_cast<TMenuItem*>(Menu);
  if (item == nullptr || !LiveMenuItem(item) || Pos < 0 || Pos >= item->Count()) return nullptr;
  TMenuItem* sub = item->Items(Pos);
  return sub->Count() > 0 ? sub->Handle() : nullptr;
}

HWND PopupListWindow() {
  static HWND wnd = nullptr;
  if (wnd == nullptr)
    wnd = AllocateHWnd([](TMessage& M) {
      if (M.Msg != WM_MEASUREITEM) {
        M.Result = DefWindowProc(nullptr, M.Msg, M.WParam, M.LParam);
        return;
      }
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
      if (mis == nullptr || mis->CtlType != ODT_MENU) return;
      for (TMenu* m : LiveMenus())
        if (TMenuItem* item = m->FindItem(NativeInt(mis->itemID), fkCommand)) {
          HDC dc = GetDC(nullptr);
          TCanvas canvas;
          canvas.SetHandle(dc);
          canvas.SetFont(Screen != nullptr ? Screen->MenuFont() : nullptr);
          Integer w = Integer(mis->itemWidth), h = Integer(mis->itemHeight);
          item->MeasureItem(&canvas, w, h);
          canvas.SetHandle(nullptr);
          ReleaseDC(nullptr, dc);
          mis->itemWidth = UINT(std::max(w, 0));
          mis->itemHeight = UINT(std::max(h, 0));
          M.Result = 1;
          return;
        }
    });
  return wnd;
}

// ---------------------------------------------------------------------------

void RegisterMenusClasses() {
  RegisterEnum<TMenuBreak>(u"TMenuBreak", {u"mbNone", u"mbBreak", u"mbBarBreak"});
  RegisterEnum<TPopupAlignment>(u"TPopupAlignment", {u"paLeft", u"paRight", u"paCenter"});
  RegisterEnum<TTrackButton>(u"TTrackButton", {u"tbRightButton", u"tbLeftButton"});
  RegisterEnum<TBiDiMode>(u"TBiDiMode",
                          {u"bdLeftToRight", u"bdRightToLeft", u"bdRightToLeftNoAlign", u"bdRightToLeftReadingOnly"});
  TClassInfo::Of<TMenuItem, TComponent>(u"TMenuItem")
      .Property(u"AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false)
      .Property(u"Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone)
      .Property(u"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).TypeName(u"TCaption")
      .Property(u"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false)
      .Property(u"Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false)
      .Property(u"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true)
      .Property(u"GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(Byte(0))
      .Property(u"Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
      .Property(u"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1)
      .Property(u"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false)
      .Property(u"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).TypeName(u"TShortCut").Default(TShortCut(0))
      .Property(u"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true)
      .Event(u"OnClick", &TMenuItem::OnClick)
      .Event(u"OnMeasureItem", &TMenuItem::OnMeasureItem).TypeName(u"TMenuMeasureItemEvent")
      .Event(u"OnDrawItem", &TMenuItem::OnDrawItem).TypeName(u"TMenuDrawItemEvent")
      .Event(u"OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem).TypeName(u"TAdvancedMenuDrawItemEvent");
  TClassInfo::Of<TMenu, TComponent>(u"TMenu")
      .Property(u"AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys).Default(true)
      .Property(u"BiDiMode", &TMenu::BiDiMode, &TMenu::SetBiDiMode).Default(bdLeftToRight)
      .Property(u"Images", &TMenu::Images, &TMenu::SetImages)
      .Property(u"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
  TClassInfo::Of<TMainMenu, TMenu>(u"TMainMenu");
  TClassInfo::Of<TPopupMenu, TMenu>(u"TPopupMenu")
      .Property(u"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft)
      .Property(u"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true)
      .Property(u"TrackButton", &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton).Default(tbRightButton)
      .Event(u"OnPopup", &TPopupMenu::OnPopup)
      .Event(u"OnClose", &TPopupMenu::OnClose);
  for (const TClassInfo* c : {ClassInfoOf<TMenuItem>(), ClassInfoOf<TMainMenu>(), ClassInfoOf<TPopupMenu>()})
    RegisterClass(c);
}
