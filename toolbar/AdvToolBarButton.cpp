// The toolbar button: data, states and input, groups, drop-down, hot
// tracking, action link, images and automatic size. Painting is in
// AdvToolBarButtonPaint.cpp.
#include "toolbar/AdvToolBarButton.h"

#include "toolbar/OptionSelector.h"

#include <algorithm>

#include "foundation/style/VornStyle.h"
#include "platform/rtl/DestroyWatch.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Forms.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/ZadEdevAziStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

Integer BtnRound(double v) { return Integer(Round(v)); }

// 0 <= X < width and 0 <= Y < height: inside on both axes.
bool InsideClient(const TControl* c, Integer X, Integer Y) {
  return X >= 0 && X < c->ClientWidth() && Y >= 0 && Y < c->ClientHeight();
}

// One measuring surface for every button, so that sizing does not depend on
// the parent's window (a button may be sized before its toolbar shows). It
// lives as long as the process: freed at exit it would outlive the window
// system's objects behind its device context.
TCanvas* MeasureCanvas() {
  static TBitmap* sheet = new TBitmap(1, 1);
  return sheet->Canvas();
}

// What the toolbar's menu bar answers: keyboard tracking holds the hot
// button, whether a menu of the bar is open, and the drop of a button's menu.
bool ToolBarMenuLoopHoldsHot(TAdvCustomToolBar* T) { return T->InMenuLoop(); }
bool ToolBarMenuDropped(TAdvCustomToolBar* T) { return T->MenuDropped(); }
bool ToolBarDropDownMenuButton(TAdvCustomToolBar* T, TAdvCustomToolBarButton* B) { return T->DropDownMenuButton(B); }

// The group message goes to the toolbar buttons among the children only:
// other buttons that answer the same message (the glow button) read its
// sender as one of their own class.
void BroadcastToButtons(TWinControl* Parent, TMessage& Message) {
  for (Integer i = 0; i < Parent->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(Parent->Controls(i))) {
      b->Perform(Message.Msg, Message.WParam, Message.LParam);
      if (i >= Parent->ControlCount()) break;
    }
}

}  // namespace

// --- draw position ---

void TZadEdevAziButtonDrawPosition::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TZadEdevAziButtonDrawPosition*>(Source);
  if (s == nullptr) return;
  FTextX = s->FTextX;
  FTextY = s->FTextY;
  FImageX = s->FImageX;
  FImageY = s->FImageY;
  FEnabled = s->FEnabled;
}

// --- action link ---

void TZadEdevAziButtonActionLink::AssignClient(TObject* AClient) {
  TControlActionLink::AssignClient(AClient);
  FClient = dynamic_cast<TAdvCustomToolBarButton*>(AClient);
}

bool TZadEdevAziButtonActionLink::IsCheckedLinked() {
  return TControlActionLink::IsCheckedLinked() && FClient != nullptr &&
         dynamic_cast<TCustomAction*>(FAction) != nullptr;
}

bool TZadEdevAziButtonActionLink::IsGroupIndexLinked() {
  auto* a = dynamic_cast<TCustomAction*>(FAction);
  return FClient != nullptr && a != nullptr && a->GroupIndex() == FClient->GroupIndex();
}

void TZadEdevAziButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetDown(Value);
}

void TZadEdevAziButtonActionLink::SetEnabled(bool Value) {
  if (FClient != nullptr && IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TZadEdevAziButtonActionLink::SetGroupIndex(Integer Value) {
  if (IsGroupIndexLinked()) FClient->SetGroupIndex(Value);
}

void TZadEdevAziButtonActionLink::SetImageIndex(Integer Value) {
  TControlActionLink::SetImageIndex(Value);
  if (FClient != nullptr) FClient->Invalidate();
}

// --- the button ---

TAdvCustomToolBarButton::TAdvCustomToolBarButton(TComponent* AOwner) : TAdvCustomToolBarControl(AOwner) {
  SetBounds(0, 0, 22, 23);
  // The button clicks itself on release (a release outside is no click).
  SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
  SetParentFont(true);
  auto glyphChanged = [this](TObject* s) { GlyphChanged(s); };
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->OnChange = glyphChanged;
  FGlyphDisabled = std::make_unique<TBitmap>();
  FGlyphHot = std::make_unique<TBitmap>();
  FGlyphDown = std::make_unique<TBitmap>();
  FGlyphChecked = std::make_unique<TBitmap>();
  FGlyphShade = std::make_unique<TBitmap>();
  FAppearance = std::make_unique<TButtonAppearance>();
  FAppearance->OnChange = [this](TObject*) { Invalidate(); };
  FPicture = std::make_unique<TPicture>();
  FPicture->OnChange = glyphChanged;
  FPictureDisabled = std::make_unique<TPicture>();
  FPictureDisabled->OnChange = glyphChanged;
  FUnHotTimer = std::make_unique<TTimer>(nullptr);
  FUnHotTimer->SetEnabled(false);
  FUnHotTimer->SetInterval(UnHotPollInterval);
  FUnHotTimer->OnTimer = [this](TObject* s) { UnHotTimerTick(s); };
  FDrawPosition = std::make_unique<TZadEdevAziButtonDrawPosition>();
  FDrawPosition->OnChange = [this](TObject*) { Invalidate(); };
  FOfficeHint = std::make_unique<TAdvHintInfo>();
  TAdvCustomToolBarControl::SetAutoSize(true);
}

TAdvCustomToolBarButton::~TAdvCustomToolBarButton() {
  FUnHotTimer.reset();
  FActionLink.reset();
}

Integer TAdvCustomToolBarButton::GetVersionNr() const { return (6 << 24) | (8 << 16) | (3 << 8) | 7; }

String TAdvCustomToolBarButton::Version() const {
  const Integer v = GetVersionNr();
  return IntToStr((v >> 24) & 0xFF) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
         IntToStr(v & 0xFF);
}

void TAdvCustomToolBarButton::Loaded() {
  TAdvCustomToolBarControl::Loaded();
  if (FHasInitialDown && FInitialDown != FDown) SetDown(FInitialDown);
  if (FShaded) CreateGlyphShade();
  AdjustSize();
}

void TAdvCustomToolBarButton::Notification(TComponent* AComponent, TOperation Operation) {
  TAdvCustomToolBarControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  if (AComponent == FMenuItem) SetMenuItem(nullptr);
  if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
  if (ComponentState().Contains(csDestroying)) return;
  TCustomImageList* images = nullptr;
  if (TAdvCustomToolBar* tb = ZadEdevAzi()) images = tb->Images();
  if (images == nullptr)
    if (IQuickAccessButtonHost* q = QuickAccessHost()) images = q->Images();
  if (images != nullptr && AComponent == images) SetImageIndex(-1);
}


Integer TAdvCustomToolBarButton::Index() const {
  TAdvCustomToolBar* tb = ZadEdevAzi();
  return tb != nullptr ? tb->IndexOfToolBarControl(const_cast<TAdvCustomToolBarButton*>(this)) : -1;
}

// --- properties ---

void TAdvCustomToolBarButton::SetAllowAllUp(bool Value) {
  FAllowAllUp = Value;
  NotifyGroupMembers();
}

void TAdvCustomToolBarButton::SetGroupIndex(Integer Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  NotifyGroupMembers();
}

void TAdvCustomToolBarButton::SetCanRotate(bool Value) {
  if (FCanRotate == Value) return;
  FCanRotate = Value;
  AdjustSize();
  Invalidate();
}

void TAdvCustomToolBarButton::SetGlyphPosition(TGlyphPosition Value) {
  if (FGlyphPosition == Value) return;
  FGlyphPosition = Value;
  AdjustSize();
  Invalidate();
}

void TAdvCustomToolBarButton::SetDropDownButton(bool Value) {
  if (FDropDownButton == Value) return;
  FDropDownButton = Value;
  AdjustSize();
  Invalidate();
}

void TAdvCustomToolBarButton::SetDropDownMenu(TAdvPopupMenu* Value) {
  if (FDropDownMenu == Value) return;
  if (FDropDownMenu != nullptr) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TAdvCustomToolBarButton::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (FShaded) CreateGlyphShade();
  AdjustSize();
  Invalidate();
}

void TAdvCustomToolBarButton::SetPicture(TPicture* Value) {
  FPicture->Assign(Value);
  Invalidate();
}

void TAdvCustomToolBarButton::SetPictureDisabled(TPicture* Value) {
  FPictureDisabled->Assign(Value);
  Invalidate();
}

void TAdvCustomToolBarButton::SetParentStyler(bool Value) {
  if (FParentStyler == Value) return;
  FParentStyler = Value;
  Invalidate();
}

void TAdvCustomToolBarButton::SetPosition(TDockAlign Value) {
  if (Position() == Value) return;
  TAdvCustomToolBarControl::SetPosition(Value);
  AdjustSize();
  Invalidate();
}

void TAdvCustomToolBarButton::SetShaded(bool Value) {
  FShaded = Value;
  if (Value && !ComponentState().Contains(csLoading)) CreateGlyphShade();
}

void TAdvCustomToolBarButton::SetShowCaption(bool Value) {
  FShowCaption = Value;
  AdjustSize();
  Invalidate();
}

void TAdvCustomToolBarButton::SetRotateDirection(TRotateDirection Value) {
  if (FRotateDirection == Value) return;
  FRotateDirection = Value;
  Invalidate();
}

void TAdvCustomToolBarButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

void TAdvCustomToolBarButton::SetAutoSize(bool Value) {
  // The inherited setter re-sizes when switched on.
  TAdvCustomToolBarControl::SetAutoSize(Value);
}

void TAdvCustomToolBarButton::GlyphChanged(TObject*) {
  if (FPaintingImage) return;
  AdjustSize();
  Invalidate();
}

bool TAdvCustomToolBarButton::IsVertical() const {
  return (Position() == daLeft || Position() == daRight) && FCanRotate;
}

// --- down state and groups ---

void TAdvCustomToolBarButton::SetDown(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FInitialDown = Value;
    FHasInitialDown = true;
  }
  if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
  if (FStyle == tasCheck) {
    FDown = Value;
    FState = Value ? absDown : absUp;
    Repaint();
    return;
  }
  if (Value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (Value) {
    if (FState == absUp) Invalidate();
    FState = absExclusive;
    NotifyGroupMembers();
  } else {
    FState = absUp;
    Repaint();
  }
}

void TAdvCustomToolBarButton::NotifyGroupMembers() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage m{};
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = WPARAM(FGroupIndex);
  m.LParam = LPARAM(static_cast<TControl*>(this));
  BroadcastToButtons(Parent(), m);
  TAdvCustomToolBar* tb = ZadEdevAzi();
  if (tb != nullptr && Parent() == tb) {
    // Members hidden in the option popup hear of it too.
    if (TControlSelectorPanel* p = tb->OptionWindowPanel()) {
      m.Result = 0;
      BroadcastToButtons(p, m);
    }
  } else {
    IQuickAccessButtonHost* q = QuickAccessHost();
    TWinControl* w = q != nullptr ? q->HostControl() : nullptr;
    if (w != nullptr && w != Parent()) {
      m.Result = 0;
      BroadcastToButtons(w, m);
    }
  }
}

void TAdvCustomToolBarButton::CMButtonPressed(TMessage& Message) {
  // Other kinds of buttons broadcast the same message: only toolbar buttons count.
  auto* sender = dynamic_cast<TAdvCustomToolBarButton*>(reinterpret_cast<TControl*>(Message.LParam));
  if (sender == nullptr || sender == this || Message.WParam != WPARAM(FGroupIndex)) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = absUp;
    if (auto* a = dynamic_cast<TCustomAction*>(Action())) a->SetChecked(false);
    Invalidate();
  }
  FAllowAllUp = sender->AllowAllUp();
}

// --- mouse ---

bool TAdvCustomToolBarButton::InArrowSection(Integer X, Integer Y) const {
  const Integer w = BtnRound(14 * ToolBarDPIScale);
  if (IsVertical()) return Y > Height() - w;
  return X > Width() - w;
}

void TAdvCustomToolBarButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TAdvCustomToolBarControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  FMouseDownInControl = true;
  TDestroyWatch watch(this);
  if (IsMenuButton() && !FDropDownButton && (FDropDownMenu != nullptr || FMenuItem != nullptr)) {
    Invalidate();
    TAdvCustomToolBar* tb = ZadEdevAzi();
    const bool menuDropped = tb != nullptr && ToolBarMenuDropped(tb);
    if ((!menuDropped && !FMenuBeingClosed && !FMenuDisplayed) || FInternalClick) {
      if (!(FMenuItem != nullptr && FMenuItem->Count() == 0)) FInternalClick = false;
      DoDropDown();
      if (watch.Gone()) return;
      FInternalClick = false;
    } else if (FMenuBeingClosed) {
      FMenuBeingClosed = false;
    }
    return;
  }
  if (!FDropDownButton || (!InArrowSection(X, Y) && FDropDownSplit)) {
    if (!FDown) {
      FState = absDown;
      Invalidate();
    }
    if (FStyle == tasCheck) {
      FState = absDown;
      Repaint();
    }
    FDragging = true;
    return;
  }
  FState = absUp;
  FMouseInControl = false;
  FMouseDownInControl = false;
  DropDownPressed();
  if (watch.Gone()) return;
  if (FDropDownMenu != nullptr) {
    if (FStyle == tasButton) FDown = false;
    FHot = false;
    if (IsMenuButton()) {
      FMenuSel = true;
      Repaint();
    }
    if (!PopupDropDownMenu()) return;
    if (IsMenuButton()) {
      FMenuSel = false;
      Repaint();
    }
  }
  Invalidate();
}

void TAdvCustomToolBarButton::DropDownPressed() {
  Invalidate();
  if (OnDropDown) OnDropDown(this);
}

bool TAdvCustomToolBarButton::PopupDropDownMenu() {
  TAdvPopupMenu* menu = FDropDownMenu;
  if (menu == nullptr) return true;
  if (TCustomZadEdevAziStyler* s = CurrentStyler()) menu->SetMenuStyler(s->CurrentAdvMenuStyler());
  TPoint pt{Left(), Top() + Height()};
  if (Parent() != nullptr) pt = Parent()->ClientToScreen(pt);
  menu->SetPopupComponent(this);
  TDestroyWatch watch(this);  // an item's handler may free the button
  menu->Popup(pt.X, pt.Y);
  return !watch.Gone();
}

void TAdvCustomToolBarButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TAdvCustomToolBarControl::MouseMove(Shift, X, Y);
  if (FDragging) {
    TAdvButtonState s = FDown ? absExclusive : absUp;
    if (InsideClient(this, X, Y)) s = FDown ? absExclusive : absDown;
    if (FStyle == tasCheck && FDown) s = absDown;
    if (s != FState) {
      FState = s;
      Invalidate();
    }
  } else if (!FMouseInControl) {
    UpdateMouseTracking();
  }
}

void TAdvCustomToolBarButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TAdvCustomToolBarControl::MouseUp(Button, Shift, X, Y);
  FMenuBeingClosed = false;
  FMenuDisplayed = false;
  FMouseDownInControl = false;
  Invalidate();
  const bool menuKind = IsMenuButton() && !FDropDownButton && (FDropDownMenu != nullptr || FMenuItem != nullptr);
  if (menuKind || !FDragging) return;
  FDragging = false;
  const bool inside = InsideClient(this, X, Y);
  if (FGroupIndex != 0) {
    if (inside) {
      SetDown(!FDown);
      if (FDown) Repaint();
    } else {
      // A release outside leaves the button as it was before the press.
      FState = FDown ? absExclusive : absUp;
      Repaint();
    }
  } else {
    FState = absUp;
    FMouseInControl = false;
    FHot = false;
    if (FStyle == tasCheck && inside) {
      SetDown(!FDown);
      FState = absUp;
    }
    if (inside && FState != absDown && FState != absExclusive) Invalidate();
  }
  TDestroyWatch watch(this);
  if (inside) Click();
  if (watch.Gone()) return;
  UpdateMouseTracking();
}

void TAdvCustomToolBarButton::UpdateMouseTracking() {
  if (!FFlat || !Enabled() || Parent() == nullptr) return;
  const TPoint p = Mouse->CursorPos();
  TControl* under = FindDragTarget(p, true);
  if (under == this) {
    if (!FMouseInControl) Perform(CM_MOUSEENTER, 0, 0);
  } else if (FMouseInControl) {
    Perform(CM_MOUSELEAVE, 0, 0);
  }
}

// --- hot tracking ---

void TAdvCustomToolBarButton::SetHot(bool Value) {
  const bool old = FPropHot;
  FPropHot = Value && FState == absUp;
  TAdvCustomToolBar* tb = ZadEdevAzi();
  if (tb == nullptr && QuickAccessHost() == nullptr) FPropHot = false;
  if (tb != nullptr && FPropHot) {
    // At most one hot button on a toolbar.
    for (Integer i = 0; i < tb->ToolBarControlCount(); ++i) {
      auto* other = dynamic_cast<TAdvCustomToolBarButton*>(tb->GetToolBarControls(i));
      if (other != nullptr && other != this && other->Hot()) other->SetHot(false);
    }
  }
  if (old != FPropHot) Invalidate();
}

void TAdvCustomToolBarButton::LeaveHot() {
  if (QuickAccessHost() != nullptr && ZadEdevAzi() == nullptr) {
    SetHot(false);
    return;
  }
  TAdvCustomToolBar* tb = ZadEdevAzi();
  if (tb != nullptr && ToolBarMenuLoopHoldsHot(tb)) return;
  SetHot(false);
}

void TAdvCustomToolBarButton::ResetHotState() {
  FMouseDownInControl = false;
  FMouseInControl = false;
  FHot = false;
  FPropHot = false;
  FState = absUp;
  Invalidate();
}

void TAdvCustomToolBarButton::CMMouseEnter(TMessage& Message) {
  TAdvCustomToolBarControl::CMMouseEnter(Message);
  if (Message.LParam != 0) return;  // about a child, not this button
  FMouseInControl = true;
  if (Enabled()) {
    if (ZadEdevAzi() != nullptr || QuickAccessHost() != nullptr) SetHot(true);
    Invalidate();
  }
  FUnHotTimer->SetEnabled(true);
}

void TAdvCustomToolBarButton::CMMouseLeave(TMessage& Message) {
  TAdvCustomToolBarControl::CMMouseLeave(Message);
  if (Message.LParam != 0) return;
  FUnHotTimer->SetEnabled(false);
  FMouseInControl = false;
  FHot = false;
  LeaveHot();
  if (Enabled()) Invalidate();
}

void TAdvCustomToolBarButton::UnHotTimerTick(TObject*) {
  const TPoint p = ScreenToClient(Mouse->CursorPos());
  bool keep = InsideClient(this, p.X, p.Y);
  // An open menu of a split menu button takes the hot look away even while
  // the pointer stays on the button.
  if (keep && IsMenuButton() && FDropDownButton && FMenuSel && (FDropDownMenu != nullptr || FMenuItem != nullptr))
    keep = false;
  if (keep) return;
  FUnHotTimer->SetEnabled(false);
  FMouseInControl = false;
  FHot = false;
  LeaveHot();
  if (Enabled()) Invalidate();
}

// --- other messages ---

void TAdvCustomToolBarButton::CMTextChanged(TMessage& Message) {
  TAdvCustomToolBarControl::CMTextChanged(Message);
  AdjustSize();
  Invalidate();
}

void TAdvCustomToolBarButton::CMVisibleChanged(TMessage& Message) {
  TAdvCustomToolBarControl::CMVisibleChanged(Message);
  if (TAdvCustomToolBar* tb = ZadEdevAzi(); tb != nullptr && tb->AutoSize()) tb->UpdateSize();
  if (IQuickAccessButtonHost* q = QuickAccessHost(); q != nullptr && q->HostControl() == Parent()) q->UpdateLayout();
}

void TAdvCustomToolBarButton::CMHintShow(TMessage& Message) {
  TAdvCustomToolBarControl::CMHintShow(Message);
  if (!Enabled())
    if (auto* info = reinterpret_cast<THintInfo*>(Message.LParam)) info->HintStr.clear();
}

void TAdvCustomToolBarButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_BUTTONPRESSED) {
    CMButtonPressed(Message);
    return;
  }
  TAdvCustomToolBarControl::Dispatch(Message);
}

// --- click, action, menu item ---

void TAdvCustomToolBarButton::Click() {
  if (TAdvCustomToolBar* tb = ZadEdevAzi())
    tb->HideOptionWindow();
  else if (IQuickAccessButtonHost* q = QuickAccessHost())
    q->HideOverflowWindow();
  TDestroyWatch watch(this);
  // OnClick, or the linked action when the button has no handler of its own.
  if (OnClick || !FActionLink || FActionLink->Action() == nullptr)
    TAdvCustomToolBarControl::Click();
  else
    FActionLink->Execute();
  if (watch.Gone()) return;
  if (TAdvCustomToolBar* tb = ZadEdevAzi()) {
    // Used now: the most recently used control, back on the toolbar when it
    // was hidden.
    tb->DoMoveUpInRUList(this);
    tb->ArrangeControls(false);
    tb->UpdateHiddenControls();
  }
}

void TAdvCustomToolBarButton::SetAction(TBasicAction* Value) {
  if (Value == nullptr) {
    if (FActionLink) FActionLink->SetAction(nullptr);
    FActionLink.reset();
    return;
  }
  if (!FActionLink) {
    FActionLink = std::make_unique<TZadEdevAziButtonActionLink>();
    FActionLink->AssignClient(this);
    FActionLink->OnChange = [this](TBasicAction* a) {
      if (a != nullptr) ActionChange(a, ComponentState().Contains(csLoading));
    };
  }
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
}

void TAdvCustomToolBarButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (a == nullptr) return;
  if (!CheckDefaults || Enabled()) SetEnabled(a->Enabled());
  if (CheckDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
  SetImageIndex(a->ImageIndex());
  SetDown(a->Checked());
}

void TAdvCustomToolBarButton::SetMenuItem(TMenuItem* AItem) {
  if (AItem != FMenuItem) {
    if (FMenuItem != nullptr && !FMenuItem->ComponentState().Contains(csDestroying))
      FMenuItem->RemoveFreeNotification(this);
    if (AItem != nullptr) AItem->FreeNotification(this);
  }
  if (AItem != nullptr) {
    SetCaption(AItem->Caption());
    SetDown(AItem->Checked());
    SetEnabled(AItem->Enabled());
    SetHint(AItem->Hint());
    SetImageIndex(AItem->ImageIndex());
    SetVisible(AItem->Visible());
  }
  FMenuItem = AItem;
}

Integer TAdvCustomToolBarButton::VisibleMenuItemCount() const {
  TMenuItem* root = nullptr;
  if (FDropDownMenu != nullptr)
    root = FDropDownMenu->Items();
  else if (FMenuItem != nullptr)
    root = FMenuItem;
  if (root == nullptr) return 0;
  Integer n = 0;
  for (Integer i = 0; i < root->Count(); ++i)
    if (root->Items(i)->Visible()) ++n;
  return n;
}

// --- drop-down ---

void TAdvCustomToolBarButton::DoDropDown() {
  if (!IsMenuButton()) return;
  FState = absDropDown;
  Invalidate();
  TDestroyWatch watch(this);
  // The toolbar resets the look of a button whose menu it dropped; one that
  // dropped nothing must not stay pressed.
  if (CheckMenuDropdown() || watch.Gone()) return;
  if (FState == absDropDown) FState = absUp;
  Invalidate();
}

bool TAdvCustomToolBarButton::CheckMenuDropdown() {
  if (ComponentState().Contains(csDesigning)) return false;
  const bool hasMenu = (FDropDownMenu != nullptr && FDropDownMenu->AutoPopup()) || FMenuItem != nullptr;
  TAdvCustomToolBar* tb = ZadEdevAzi();
  if (!hasMenu || tb == nullptr) return false;
  return ToolBarDropDownMenuButton(tb, this);
}

// --- images ---

void TAdvCustomToolBarButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (FGlyphDisabled->Empty() && !FGlyph->Empty()) {
    FGlyphDisabled->Assign(FGlyph.get());
    FGlyphDisabled->SetPixelFormat(pf32bit);
    const Integer w = FGlyphDisabled->Width(), h = FGlyphDisabled->Height();
    for (Integer y = 0; y < h; ++y) {
      auto* row = static_cast<Byte*>(FGlyphDisabled->ScanLine(y));
      for (Integer x = 0; x < w; ++x) {
        Byte* p = row + 4 * x;
        const Integer avg = BtnRound((p[0] + p[1] + p[2]) / 3.0);
        const Byte grey = Byte(96 + avg / 2);
        p[0] = p[1] = p[2] = grey;
      }
    }
  }
  // A glyph given at run time gets its shade too (not only one read from a form).
  if (FShaded && !ComponentState().Contains(csLoading)) CreateGlyphShade();
  Invalidate();
}

void TAdvCustomToolBarButton::CreateGlyphShade() {
  TCustomImageList* list = nullptr;
  if (TAdvCustomToolBar* tb = ZadEdevAzi()) list = tb->Images();
  if (list == nullptr)
    if (IQuickAccessButtonHost* q = QuickAccessHost()) list = q->Images();
  std::unique_ptr<TBitmap> temp;
  TBitmap* source = nullptr;
  if (FImageIndex >= 0 && list != nullptr && FImageIndex < list->Count()) {
    temp = std::make_unique<TBitmap>(list->Width(), list->Height());
    temp->SetPixelFormat(pf32bit);
    temp->Canvas()->Brush()->SetStyle(bsSolid);
    temp->Canvas()->Brush()->SetColor(TColor(0x00FF00FF));
    temp->Canvas()->FillRect(TRect{0, 0, list->Width(), list->Height()});
    list->Draw(temp->Canvas(), 0, 0, FImageIndex, true);
    source = temp.get();
    FShadedForGlyph = false;
  } else if (!FGlyph->Empty()) {
    source = FGlyph.get();
    FShadedForGlyph = true;
  } else {
    return;
  }
  const Integer w = source->Width(), h = source->Height();
  // A grey silhouette of every pixel that differs from the bottom-left one,
  // on that colour (which drawing then leaves out).
  auto shade = std::make_unique<TBitmap>();
  shade->Assign(source);
  shade->SetPixelFormat(pf32bit);
  const TColor key = ColorToRGB(source->Canvas()->Pixels(0, h - 1));
  const Byte kr = Byte(key & 0xFF), kg = Byte((key >> 8) & 0xFF), kb = Byte((key >> 16) & 0xFF);
  for (Integer y = 0; y < h; ++y) {
    auto* row = static_cast<Byte*>(shade->ScanLine(y));
    for (Integer x = 0; x < w; ++x) {
      Byte* p = row + 4 * x;
      if (p[0] == kb && p[1] == kg && p[2] == kr) continue;
      p[0] = p[1] = p[2] = 0x80;
    }
  }
  FGlyphShade = std::move(shade);
}

// --- automatic size ---

void TAdvCustomToolBarButton::GetImageSource(TCustomImageList*& List, Integer& Index, bool Painting) const {
  List = nullptr;
  TAdvCustomToolBar* tb = ZadEdevAzi();
  IQuickAccessButtonHost* q = QuickAccessHost();
  if (tb != nullptr)
    List = tb->Images();
  else if (q != nullptr)
    List = q->Images();
  Index = FImageIndex;
  if (auto* a = dynamic_cast<TCustomAction*>(Action()); a != nullptr && a->ActionList() != nullptr) {
    Index = a->ImageIndex();
    if (a->ActionList()->Images() != nullptr) List = a->ActionList()->Images();
  }
  if (Painting && FForceImageIndex && FImageIndex >= 0 && (tb != nullptr || q != nullptr)) {
    List = tb != nullptr ? tb->Images() : q->Images();
    Index = FImageIndex;
  }
}

TCustomZadEdevAziStyler* TAdvCustomToolBarButton::CurrentStyler() const {
  if (TAdvCustomToolBar* tb = ZadEdevAzi()) return tb->CurrentToolBarStyler();
  if (IQuickAccessButtonHost* q = QuickAccessHost()) return q->GetToolBarStyler();
  return nullptr;
}

void TAdvCustomToolBarButton::SelectCaptionFont(TCanvas* ACanvas, float S, bool Scale) const {
  TCustomZadEdevAziStyler* styler = FParentStyler ? CurrentStyler() : nullptr;
  TFont* font = Font();
  if (styler != nullptr) {
    TCustomAdvMenuStyler* ms = styler->CurrentAdvMenuStyler();
    if (IsMenuButton() && ms != nullptr)
      font = ms->RootItem()->Font();
    else
      font = styler->ButtonAppearance()->CaptionFont();
  }
  TFont* f = ACanvas->Font();
  const Integer height = Scale ? BtnRound(font->Height() * double(S)) : font->Height();
  // A font the canvas already has keeps its handle: buttons paint one after
  // another with the same caption font.
  const bool same = f != font && f->Name() == font->Name() && f->Height() == height && f->Style() == font->Style() &&
                    f->Charset() == font->Charset() && f->Orientation() == font->Orientation() &&
                    f->Pitch() == font->Pitch() && f->Quality() == font->Quality() &&
                    f->PixelsPerInch() == font->PixelsPerInch();
  if (same) {
    f->SetColor(font->Color());
    return;
  }
  f->Assign(font);
  f->SetHeight(height);
}

namespace {
TQuickAccessHostResolver QuickAccessResolver = nullptr;
}  // namespace

void SetQuickAccessHostResolver(TQuickAccessHostResolver Resolver) { QuickAccessResolver = Resolver; }

IQuickAccessButtonHost* TAdvCustomToolBarButton::QuickAccessHost() const {
  ribbon::TAdvQuickAccessToolBar* q = AdvQuickAccessToolBar();
  return q != nullptr && QuickAccessResolver != nullptr ? QuickAccessResolver(q) : nullptr;
}

bool TAdvCustomToolBarButton::OnGlass() const {
  IQuickAccessButtonHost* q = QuickAccessHost();
  return q != nullptr && q->IsAeroVista();
}

void TAdvCustomToolBarButton::AdjustSize() {
  if (Parent() == nullptr || !AutoSize() || ComponentState().Contains(csLoading)) return;
  TCanvas* canvas = MeasureCanvas();
  const float S = GetControlDPIScale(this, canvas);
  const Integer M = BtnRound(FOffSet * double(S));
  const Integer Sp = BtnRound(FSpacing * double(S));
  TCustomImageList* list = nullptr;
  Integer index = -1;
  GetImageSource(list, index, false);
  Integer W = 0, H = 0;
  if (index >= 0 && list != nullptr) {
    W = list->Width();
    H = list->Height();
  } else {
    for (TBitmap* g : {FGlyph.get(), FGlyphHot.get(), FGlyphDown.get(), FGlyphChecked.get(), FGlyphDisabled.get()}) {
      if (g->Empty()) continue;
      W = std::max(W, g->Width());
      H = std::max(H, g->Height());
    }
    if (FGlyph->Empty() && FGlyphHot->Empty() && FGlyphDown->Empty() && FGlyphChecked->Empty() &&
        FPicture->Graphic() != nullptr && !FPicture->Graphic()->Empty()) {
      W = FPicture->Width();
      H = FPicture->Height();
    }
  }
  const bool vertical = IsVertical();
  TCustomZadEdevAziStyler* styler = FParentStyler ? CurrentStyler() : nullptr;
  // Scaled on a horizontal toolbar; on a vertical one only without an outside menu styler.
  const bool scaleFont = !vertical || styler == nullptr || styler->AdvMenuStyler() == nullptr;
  SelectCaptionFont(canvas, S, scaleFont);
  Integer T = 0;
  if (FShowCaption && !Caption().empty()) {
    IQuickAccessButtonHost* q = QuickAccessHost();
    if (q != nullptr && q->IsAeroVista() && !q->FullSize()) {
      TRect r{};
      DrawCaptionText(canvas, Caption(), u"", canvas->Font(), TRect{0, 0, 1000, 100}, taLeftJustify, DT_SINGLELINE,
                      gdiplus::aaClearType, true, false, false, false, r);
      T = r.Right - r.Left;
    } else {
      TRect r{0, 0, 1000, 100};
      DrawTextOn(canvas, Caption(), r, DT_CALCRECT | DT_SINGLELINE);
      T = r.Right;
    }
  }
  if (!vertical) canvas->Font()->Assign(Font());
  const Integer TH = canvas->TextHeight(u"gh");
  const Integer drop = FDropDownButton ? BtnRound(FDropDownSectWidth * ToolBarDPIScale) : 0;
  TAdvCustomToolBar* tb = ZadEdevAzi();
  IQuickAccessButtonHost* q = QuickAccessHost();
  if (!vertical) {
    Integer E = 0, D = 0;
    if (FGlyphPosition == gpLeft || FGlyphPosition == gpRight) {
      if (W >= 1 && T >= 1)
        E = W + Sp + T;
      else if (W >= 1)
        E = W;
      else if (T >= 1)
        E = T;
      E += 2 * M;
      if (q != nullptr) E += 2 * M;
      D = std::max(TH, H) + 2 * M;
    } else {
      E = std::max(W, T) + 2 * M;
      D = TH + H + Sp + 2 * M;
    }
    const Integer newWidth = std::max(E, BtnRound(15 * double(S))) + drop;
    Integer newHeight = Height();
    bool setHeight = false;
    if (q != nullptr) {
      const TRect r = q->GetControlsRect();
      D = std::max(D, r.Bottom - r.Top - 1);
      newHeight = D;
      setHeight = true;
    } else if (tb != nullptr) {
      const bool floating = tb->GetToolBarState() == tsFloating;
      if (floating) {
        if (FCanRotate) D = std::max(D, tb->SizeAtDock() - 4);
      } else if (FCanRotate || Position() == daTop || Position() == daBottom) {
        const bool onDock = tb->AdvDockPanel() != nullptr;
        if (tb->ShowCaption() && (onDock || !Caption().empty()))
          D = std::max(D, tb->Height() - tb->CaptionHeight() - 4);
        else
          D = std::max(D, tb->Height() - 4);
      }
      newHeight = D;
      setHeight = floating || tb->AutoPositionControls();
    }
    SetBounds(Left(), Top(), newWidth, setHeight ? newHeight : Height());
  } else {
    Integer D = 0, C = 0;
    if (FGlyphPosition == gpLeft || FGlyphPosition == gpRight) {
      if (H > 0 && T > 0)
        D = H + FSpacing + T;
      else if (H > 0)
        D = H;
      else
        D = T;
      D += 2 * M;
      C = std::max(TH, W) + 2 * M;
    } else {
      D = std::max(T, H) + 2 * M;
      C = W + TH + Sp + 2 * M;
    }
    const Integer newHeight = std::max(D, BtnRound(15 * ToolBarDPIScale)) + drop;
    const bool setWidth = tb == nullptr || tb->AutoPositionControls() || tb->GetToolBarState() == tsFloating;
    SetBounds(Left(), Top(), setWidth ? C : Width(), newHeight);
  }
}

// --- the menu button ---

TZadEdevAziMenuButton::TZadEdevAziMenuButton(TComponent* AOwner) : TAdvCustomToolBarButton(AOwner) {
  FParentStyler = true;
}

void RegisterToolBarButtonClasses() {
  TClassInfo::Of<TAdvCustomToolBarButton, TAdvCustomToolBarControl>(u"TAdvCustomToolBarButton");
  TClassInfo::Of<TZadEdevAziButton, TAdvCustomToolBarButton>(u"TZadEdevAziButton");
  TClassInfo::Of<TZadEdevAziMenuButton, TAdvCustomToolBarButton>(u"TZadEdevAziMenuButton");
}

}  // namespace toolbar
