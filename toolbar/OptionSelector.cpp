#include "toolbar/OptionSelector.h"

#include <algorithm>

#include "controls/AdvGlowButton.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Monitors.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "platform/vcl/PopupWindows.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ZadEdevAziCustomizer.h"
#include "toolbar/ZadEdevAziStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

Integer ScaledByScreen(Integer V) { return Integer(Round(double(V) * Screen->PixelsPerInch() / 96.0)); }

bool Inside(const TRect& R, Integer X, Integer Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

}  // namespace

// ---------------------------------------------------------------------------
// Option selector window

TOptionSelectorWindow::TOptionSelectorWindow(TComponent* AOwner) : TCustomForm(AOwner), FOwner(AOwner) {
  FHideOnDeActivate = true;
  FHideTimer = std::make_unique<TTimer>(nullptr);
  FHideTimer->SetEnabled(false);
  FHideTimer->SetInterval(1);
  FHideTimer->OnTimer = [this](TObject* Sender) { HideTimerTick(Sender); };
}

TOptionSelectorWindow::~TOptionSelectorWindow() { FHideTimer->SetEnabled(false); }

void TOptionSelectorWindow::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  Params.Style = (Params.Style | WS_POPUP) & ~DWORD(WS_CHILD);
}

void TOptionSelectorWindow::SetWindowSize() {
  if (FOptionsPanel == nullptr) return;
  SetHeight(FOptionsPanel->GetVisibleHeight());
  SetWidth(FOptionsPanel->Width());
}

void TOptionSelectorWindow::DoHide() {
  TCustomForm::DoHide();
  if (FOptionsPanel != nullptr) FOptionsPanel->WindowHidden();
}

void TOptionSelectorWindow::HideTimerTick(TObject*) {
  FHideTimer->SetEnabled(false);
  if (Visible()) Hide();
}

void TOptionSelectorWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    WMNCHitTest(Message);
    return;
  }
  TCustomForm::Dispatch(Message);
}

void TOptionSelectorWindow::WMActivate(TMessage& Message) {
  TCustomForm::WMActivate(Message);
  if (FOptionsPanel == nullptr) return;
  if (LOWORD(Message.WParam) != WA_INACTIVE) {
    if (Visible()) {
      if (FOptionsPanel->HandleAllocated() && FOptionsPanel->Visible() && FOptionsPanel->CanFocus())
        FOptionsPanel->SetFocus();
      // The owner's form keeps an active caption while its drop-down is up.
      HWND top = GetParent(Handle());
      while (HWND up = GetParent(top)) top = up;
      if (top != nullptr) SendMessage(top, WM_NCACTIVATE, TRUE, 0);
    } else if (FZadEdevAzi != nullptr && FZadEdevAzi->HandleAllocated() && FZadEdevAzi->CanFocus()) {
      FZadEdevAzi->SetFocus();
    }
    return;
  }
  if (FHideOnDeActivate && Visible()) {
    FHideTimer->SetEnabled(true);
  } else if (FZadEdevAzi != nullptr && !OpensFromHere(reinterpret_cast<HWND>(Message.LParam))) {
    // Only when the activation leaves the chain: giving the focus back to
    // the form while a window opened from here takes the activation would
    // take it from that window at once, which then hides (and the chain with
    // it) before its entry can be clicked.
    FZadEdevAzi->RestorePrevActiveControl();
  }
}

bool TOptionSelectorWindow::OpensFromHere(HWND Next) const {
  if (Next == nullptr) return false;
  for (const TComponent* c = FindControl(Next); c != nullptr; c = c->Owner())
    if (c == this) return true;
  return false;
}

void TOptionSelectorWindow::WMNCHitTest(TMessage& Message) {
  const TPoint p = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  Message.Result = (p.X > Width() - 10 && p.Y > Height() - 10) ? HTBOTTOMRIGHT : 0;
}

// ---------------------------------------------------------------------------
// Option selector panel

TOptionSelectorPanel::TOptionSelectorPanel(TComponent* AOwner) : TCustomPanel(AOwner), FOwner(AOwner) {
  SetBevelOuter(bvNone);
  SetBevelWidth(1);
  SetColor(TColor(0x00F7F8F9));
  SetShowCaption(false);
  FGradientDirection = gdHorizontal;
}

void TOptionSelectorPanel::Paint() {
  TCustomPanel::Paint();
  TCanvas* c = Canvas();
  if (FColorTo != clNone)
    toolbar::DrawGradient(c, Color(), FColorTo, 40, TRect{0, 0, Width(), Height()}, FGradientDirection == gdHorizontal);
  c->Pen()->SetColor(FWindowBorderColor);
  c->MoveTo(0, 0);
  c->LineTo(0, Height());
  c->MoveTo(0, 0);
  c->LineTo(Width() - 1, 0);
  c->MoveTo(0, Height() - 1);
  c->LineTo(Width() - 1, Height() - 1);
  c->MoveTo(Width() - 1, Height());
  c->LineTo(Width() - 1, -1);
}

// ---------------------------------------------------------------------------
// Customize entry

TCustomizeOption::TCustomizeOption(TComponent* AOwner) : TOptionSelectorPanel(AOwner) {}

void TCustomizeOption::UpdateSize() {
  Canvas()->Font()->Assign(Font());
  SetHeight(25);
  SetWidth(Canvas()->TextWidth(FCustomizeText) + 2 * FMarginX + 12);
}

TRect TCustomizeOption::GetCustomizeRect() const { return TRect{FMarginX, FMarginY, Width() - FMarginX, Height() - FMarginY}; }

void TCustomizeOption::Paint() {
  TOptionSelectorPanel::Paint();
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(bsClear);
  TRect r = GetCustomizeRect();
  String text = FCustomizeText;
  c->TextRect(r, text, TTextFormat(tfSingleLine | tfCenter | tfVerticalCenter));
}

void TCustomizeOption::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TOptionSelectorPanel::MouseMove(Shift, X, Y);
  if (Inside(GetCustomizeRect(), X, Y)) {
    if (!FCustomizeBtnHot && !Shift.Contains(ssLeft)) {
      FCustomizeBtnHot = FCustomizeBtnDown = true;
      Invalidate();
    }
  } else if (FCustomizeBtnHot) {
    FCustomizeBtnHot = FCustomizeBtnDown = false;
    Invalidate();
  }
}

void TCustomizeOption::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TOptionSelectorPanel::MouseDown(Button, Shift, X, Y);
  if (Inside(GetCustomizeRect(), X, Y) && !FCustomizeBtnDown) {
    FCustomizeBtnHot = FCustomizeBtnDown = true;
    Invalidate();
  }
}

void TCustomizeOption::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TOptionSelectorPanel::MouseUp(Button, Shift, X, Y);
  if (!FCustomizeBtnDown || !Inside(GetCustomizeRect(), X, Y)) return;
  FCustomizeBtnHot = FCustomizeBtnDown = false;
  Invalidate();
  if (auto* w = dynamic_cast<TOptionSelectorWindow*>(FOwner); w != nullptr && w->Visible()) w->Hide();
  if (FZadEdevAzi != nullptr) FZadEdevAzi->ShowCustomizer();
}

void TCustomizeOption::Dispatch(TMessage& Message) {
  TOptionSelectorPanel::Dispatch(Message);
  if (Message.Msg == CM_MOUSELEAVE && (FCustomizeBtnHot || FCustomizeBtnDown)) {
    FCustomizeBtnHot = FCustomizeBtnDown = false;
    Invalidate();
  }
}

// ---------------------------------------------------------------------------
// Entries

TSelectorItem::TSelectorItem() : FHeight(ScaleToolBarSize(20, ToolBarDPIScale)) {}

// ---------------------------------------------------------------------------
// Control selector panel

TControlSelectorPanel::TControlSelectorPanel(TComponent* AOwner) : TOptionSelectorPanel(AOwner) {
  FControlList = std::make_unique<TDbgList>();
  FSeparatorList = std::make_unique<TDbgList>();
  FAddAndRemoveBtn = std::make_unique<TSelectorItem>();
  FAddAndRemoveBtn->SetWidth(130);
  FAddAndRemoveBtn->SetCaption(u"Add or Remove Buttons");
  FOptionsBtn = std::make_unique<TSelectorItem>();
  FOptionsBtn->SetWidth(130);
  FOptionsBtn->SetCaption(u"Options");
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(1);
  FTimer->OnTimer = [this](TObject* Sender) { OptionsTimerTick(Sender); };
}

TControlSelectorPanel::~TControlSelectorPanel() {
  FTimer->SetEnabled(false);
  // The listed controls belong to the toolbar: they go back to it (or, when
  // it goes as well, simply leave) rather than die with the panel.
  FControlList->Clear();
  WindowHidden();
}

bool TControlSelectorPanel::ShowOptionsBtn() const { return FOptionsMenu != nullptr || FCustomizer != nullptr; }

TControl* TControlSelectorPanel::ListedControl(Integer Index) const {
  if (Index < 0 || Index >= FControlList->Count()) return nullptr;
  return static_cast<TControl*>(FControlList->Items(Index));
}

Integer TControlSelectorPanel::AddControl(TControl* AControl) {
  if (AControl == nullptr) return -1;
  if (AControl->Parent() != this) AControl->SetParent(this);
  Integer i = FControlList->IndexOf(AControl);
  if (i < 0) i = FControlList->Add(AControl);
  return i;
}

TZadEdevAziSeparator* TControlSelectorPanel::AddSeparatorCopy(TZadEdevAziSeparator* ASeparator) {
  auto* s = new TZadEdevAziSeparator(this);
  s->Assign(ASeparator);
  FSeparatorList->Add(s);
  AddControl(s);
  return s;
}

void TControlSelectorPanel::ClearControlList() { FControlList->Clear(); }

bool TControlSelectorPanel::IsEmpty() const {
  return FControlList->Count() == 0 && !FShowAddAndRemoveBtn && !ShowOptionsBtn();
}

void TControlSelectorPanel::WindowHidden() {
  while (FSeparatorList->Count() > 0) {
    auto* s = static_cast<TZadEdevAziSeparator*>(FSeparatorList->Last());
    FSeparatorList->Remove(s);
    FControlList->Remove(s);
    delete s;
  }
}

void TControlSelectorPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_CONTROLCHANGE) {
    TOptionSelectorPanel::Dispatch(Message);
    // A listed control that leaves the panel (back to its toolbar) is no
    // longer listed.
    auto* c = reinterpret_cast<TControl*>(Message.WParam);
    if (Message.LParam == 0 && c != nullptr && FControlList->IndexOf(c) >= 0) {
      FControlList->Remove(c);
      FSeparatorList->Remove(c);
      ArrangeControls();
    }
    return;
  }
  if (Message.Msg == CM_MOUSELEAVE) {
    TOptionSelectorPanel::Dispatch(Message);
    bool changed = false;
    if (FAddAndRemoveBtnHot) {
      FAddAndRemoveBtnHot = false;
      changed = true;
    }
    const bool popupUp = FAddAndRemovePopup != nullptr && FAddAndRemovePopup->Visible();
    if (FAddAndRemoveBtnDown && !popupUp) {
      FAddAndRemoveBtnDown = false;
      changed = true;
    }
    if (FOptionsBtnHot || FOptionsBtnDown) {
      FOptionsBtnHot = FOptionsBtnDown = false;
      changed = true;
    }
    if (changed) Invalidate();
    return;
  }
  TOptionSelectorPanel::Dispatch(Message);
}

void TControlSelectorPanel::SetTextAutoOptionMenu(const String& Value) {
  FAddAndRemoveBtn->SetCaption(Value);
  UpdateItemSizes();
}

void TControlSelectorPanel::SetTextOptionMenu(const String& Value) {
  if (FOptionsBtn->Caption() == Value) return;
  FOptionsBtn->SetCaption(Value);
  UpdateItemSizes();
}

void TControlSelectorPanel::UpdateItemSizes() {
  TCanvas* c = Canvas();
  c->Font()->SetName(u"Tahoma");
  c->Font()->SetSize(ScaledByScreen(FItemTextFontSize));
  const Integer pad = ScaledByScreen(15);
  Integer w = 130;
  if (FShowAddAndRemoveBtn) w = std::max(130, c->TextWidth(FAddAndRemoveBtn->Caption()) + pad);
  if (ShowOptionsBtn()) w = std::max(w, c->TextWidth(FOptionsBtn->Caption()) + pad);
  FAddAndRemoveBtn->SetWidth(w);
  FOptionsBtn->SetWidth(w);
}

void TControlSelectorPanel::ArrangeControls() {
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (FControlList->IndexOf(c) < 0) c->SetTop(-c->Height() - 2);
  }
  const bool addShown = FShowAddAndRemoveBtn;
  const bool optShown = ShowOptionsBtn();
  Integer w = addShown ? FAddAndRemoveBtn->Width() : FOptionsBtn->Width();
  for (Integer i = 0; i < FControlList->Count(); ++i) w = std::max(w, ListedControl(i)->Width());
  Integer x = FMarginX, y = FMarginY, h = 0;
  for (Integer i = 0; i < FControlList->Count(); ++i) {
    TControl* c = ListedControl(i);
    if (w - x < c->Width()) {
      x = FMarginX;
      y += h;
      h = 0;
    }
    c->SetBounds(x, y, c->Width(), c->Height());
    h = std::max(h, c->Height());
    x += c->Width();
  }
  Integer bottom = y + h;
  if (addShown) bottom += FAddAndRemoveBtn->Height();
  if (optShown) bottom += FOptionsBtn->Height();
  if (FControlList->Count() > 0 && (addShown || optShown)) bottom += FSeparatorSize;
  SetBounds(Left(), Top(), w + 2 * FMarginX, bottom + FMarginY);
  if (addShown)
    FAddAndRemoveBtn->SetBRect(TRect{FMarginX, Height() - FMarginY - FAddAndRemoveBtn->Height(), Width() - FMarginX,
                                     Height() - FMarginY});
  else
    FAddAndRemoveBtn->SetBRect(TRect{0, 0, 0, 0});
  if (optShown) {
    const Integer b = addShown ? FAddAndRemoveBtn->BRect().Top : Height() - FMarginY;
    FOptionsBtn->SetBRect(TRect{FMarginX, b - FOptionsBtn->Height(), Width() - FMarginX, b});
  } else {
    FOptionsBtn->SetBRect(TRect{0, 0, 0, 0});
  }
}

void TControlSelectorPanel::Paint() {
  TOptionSelectorPanel::Paint();
  TCanvas* c = Canvas();
  const bool addShown = FShowAddAndRemoveBtn;
  const bool optShown = ShowOptionsBtn();
  if (addShown || optShown) {
    const Integer y = (optShown ? FOptionsBtn->BRect().Top : FAddAndRemoveBtn->BRect().Top) - 4;
    c->Pen()->SetColor(TColor(0x00808080));
    c->MoveTo(0, y);
    c->LineTo(Width(), y);
  }
  auto drawEntry = [&](TSelectorItem* item, bool hot, bool down, bool addRemove) {
    const TRect r = item->BRect();
    TColor from = clNone, to = clNone, text = FItemTextColor;
    if (down) {
      from = FItemColorDown;
      to = FItemColorDownTo;
      text = FItemTextColorDown;
    } else if (hot) {
      from = FItemColorHot;
      to = FItemColorHotTo;
      text = FItemTextColorHot;
    }
    if (from != clNone && to != clNone) {
      toolbar::DrawGradient(c, from, to, 40, r, false);
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(clBlack);
      c->Rectangle(r);
    } else if (from != clNone) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(from);
      c->Pen()->SetColor(clBlack);
      c->Rectangle(r);
    }
    c->Brush()->SetStyle(bsClear);
    if (addRemove) c->Font()->SetName(u"Tahoma");
    c->Font()->SetSize(ScaledByScreen(FItemTextFontSize));
    c->Font()->SetColor(text);
    TRect tr{r.Left, r.Top, r.Right - 8, r.Bottom};
    String caption = item->Caption();
    c->TextRect(tr, caption, TTextFormat(tfSingleLine | tfCenter | tfVerticalCenter));
    c->Pen()->SetColor(text);
    const Integer R = r.Right, B = r.Bottom, T = r.Top;
    if (addRemove) {
      if (Screen->PixelsPerInch() > 96) {
        c->MoveTo(R - 10, B - 11);
        c->LineTo(R - 3, B - 11);
      }
      c->MoveTo(R - 9, B - 10);
      c->LineTo(R - 4, B - 10);
      c->MoveTo(R - 8, B - 9);
      c->LineTo(R - 5, B - 9);
      c->SetPixels(R - 7, B - 8, text);
    } else {
      const Integer b = ScaleToolBarSize(6, ToolBarDPIScale);
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(text);
      c->Polygon({TPoint{R - b + 2, T + b}, TPoint{R, T + b + b / 2}, TPoint{R - b + 2, T + 2 * b}});
    }
  };
  if (addShown) drawEntry(FAddAndRemoveBtn.get(), FAddAndRemoveBtnHot, FAddAndRemoveBtnDown, true);
  if (optShown) drawEntry(FOptionsBtn.get(), FOptionsBtnHot, FOptionsBtnDown, false);
}

void TControlSelectorPanel::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TOptionSelectorPanel::MouseMove(Shift, X, Y);
  const bool held = Shift.Contains(ssLeft);
  if (FShowAddAndRemoveBtn && Inside(FAddAndRemoveBtn->BRect(), X, Y)) {
    if (!FAddAndRemoveBtnHot && !held) {
      FAddAndRemoveBtnHot = FAddAndRemoveBtnDown = true;
      Invalidate();
      HideCustomizeWindow();
      ShowAddAndRemovePopup();
    }
  } else if (FAddAndRemoveBtnHot) {
    FAddAndRemoveBtnHot = FAddAndRemoveBtnDown = false;
    Invalidate();
  }
  if (ShowOptionsBtn() && Inside(FOptionsBtn->BRect(), X, Y)) {
    if (!FOptionsBtnHot && !held) {
      FOptionsBtnHot = FOptionsBtnDown = true;
      Invalidate();
      ShowOptionsPopup();
    }
  } else if (FOptionsBtnHot) {
    FOptionsBtnHot = FOptionsBtnDown = false;
    Invalidate();
    if (Y < FOptionsBtn->BRect().Top - 4) HideCustomizeWindow();
  }
}

void TControlSelectorPanel::HideCustomizeWindow() {
  if (FCustomizeOptionWindow == nullptr || !FCustomizeOptionWindow->Visible()) return;
  FInternalHiding = true;
  FCustomizeOptionWindow->Hide();
  FInternalHiding = false;
}

namespace {

String ControlCaption(TControl* C) {
  if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(C)) return b->Caption();
  if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(C)) return g->Caption();
  return C->Name();
}

}  // namespace

void TControlSelectorPanel::BuildAddAndRemoveItems() {
  if (FAddAndRemovePopup == nullptr) {
    FAddAndRemovePopup = new TATBPopupWindow(this);
    FAddAndRemovePopup->AfterConstruction();
    FAddAndRemovePopup->CreateItems();
    FAddAndRemovePopup->SetBorderIcons({});
    FAddAndRemovePopup->SetBorderStyle(bsNone);
    FAddAndRemovePopup->SetFormStyle(fsStayOnTop);
    FAddAndRemovePopup->SetVisible(false);
    FAddAndRemovePopup->SetBounds(FAddAndRemovePopup->Left(), FAddAndRemovePopup->Top(), 10, 10);
    auto* window = dynamic_cast<TOptionSelectorWindow*>(Parent());
    FAddAndRemovePopup->SetZadEdevAzi(window != nullptr ? window->ZadEdevAzi() : FZadEdevAzi);
    FAddAndRemovePopup->OnHide = [this](TObject* Sender) { AddAndRemovePopupHidden(Sender); };
    FAddAndRemovePopup->OnDeActivateHide = [this](TObject* Sender) { AddAndRemovePopupDeactivated(Sender); };
  }
  TATBPopupPanel* panel = FAddAndRemovePopup->PopupPanel();
  // A child list may still show items of the tree about to be rebuilt.
  panel->ResetHot();
  TATBMenuItem* items = FAddAndRemovePopup->Items();
  items->Clear();
  panel->SetItems(items);
  panel->SetShowIconBar(true);
  if (FZadEdevAzi != nullptr) {
    TCustomZadEdevAziStyler* styler = FZadEdevAzi->CurrentToolBarStyler();
    panel->SetAdvMenuStyler(styler != nullptr ? styler->CurrentAdvMenuStyler() : nullptr);
    TATBMenuItem* root = items->Add();
    root->SetCaption(FZadEdevAzi->Caption());
    for (Integer i = 0; i < FZadEdevAzi->ToolBarControlCount(); ++i) {
      TControl* c = FZadEdevAzi->GetToolBarControls(i);
      if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(c); tc != nullptr && tc->IsSeparator()) continue;
      TATBMenuItem* item = root->Add();
      item->SetAutoCheck(true);
      item->SetChecked(c->Visible());
      item->SetObjects(c);
      item->SetCaption(ControlCaption(c));
    }
  }
  panel->ArrangeItems();
  FAddAndRemovePopup->SetWindowSize();
}

void TControlSelectorPanel::ShowAddAndRemovePopup() {
  if (!FShowAddAndRemoveBtn || (FAddAndRemovePopup != nullptr && FAddAndRemovePopup->Visible())) return;
  BuildAddAndRemoveItems();
  // Activating the list must not hide the window it opens from.
  if (auto* window = dynamic_cast<TOptionSelectorWindow*>(Parent())) window->SetHideOnDeActivate(false);
  const TRect r = FAddAndRemoveBtn->BRect();
  TPoint p = ClientToScreen(TPoint{r.Right, r.Top});
  const TRect wa = Screen->WorkAreaRect();
  const Integer pw = FAddAndRemovePopup->Width(), ph = FAddAndRemovePopup->Height();
  if (p.Y + ph + 2 > wa.Bottom) p.Y = wa.Bottom - ph - 2;
  if (p.X + pw > wa.Right) p.X = ClientToScreen(TPoint{r.Left, r.Top}).X - pw;
  FAddAndRemovePopup->SetBounds(p.X, p.Y, pw, ph);
  FAddAndRemovePopup->Show();
  if (FAddAndRemovePopup->PopupPanel()->CanFocus()) FAddAndRemovePopup->PopupPanel()->SetFocus();
}

void TControlSelectorPanel::HideAddAndRemovePopup() {
  if (FAddAndRemovePopup == nullptr || !FAddAndRemovePopup->Visible()) return;
  FAddAndRemovePopup->PopupPanel()->ResetHot();
  FAddAndRemovePopup->Hide();
}

void TControlSelectorPanel::AddAndRemovePopupHidden(TObject*) {
  if (auto* window = dynamic_cast<TOptionSelectorWindow*>(Parent())) window->SetHideOnDeActivate(true);
  FAddAndRemoveBtnDown = false;
  Invalidate();
}

void TControlSelectorPanel::AddAndRemovePopupDeactivated(TObject*) {
  HideOptionWindow();
  FAddAndRemoveBtnHot = FAddAndRemoveBtnDown = false;
}

void TControlSelectorPanel::HideOptionWindow() {
  if (auto* window = dynamic_cast<TOptionSelectorWindow*>(Parent()); window != nullptr && window->Visible())
    window->Hide();
}

void TControlSelectorPanel::CustomizeWindowHidden(TObject*) {
  if (!FInternalHiding) HideOptionWindow();
}

void TControlSelectorPanel::KeyDown(Word& Key, TShiftState Shift) {
  TOptionSelectorPanel::KeyDown(Key, Shift);
  if (Key != VK_ESCAPE) return;
  Key = 0;
  HideAddAndRemovePopup();
  HideOptionWindow();
}

void TControlSelectorPanel::ShowOptionsPopup() {
  if (FZadEdevAzi == nullptr || (FOptionsMenu == nullptr && FCustomizer == nullptr)) return;
  if (FShowAddAndRemoveBtn) {
    HideAddAndRemovePopup();
    FTimer->SetEnabled(true);
  }
  Integer wm = 0;
  if (FOptionsMenu != nullptr) {
    // The widest caption stands for the menu's width.
    TCanvas* c = Canvas();
    c->Font()->Assign(Screen->MenuFont());
    for (Integer i = 0; i < FOptionsMenu->Items()->Count(); ++i)
      wm = std::max(wm, c->TextWidth(FOptionsMenu->Items()->Items(i)->Caption()) + 40);
  } else {
    if (FCustomizeOptionWindow == nullptr) {
      FCustomizeOptionWindow = new TOptionSelectorWindow(this);
      FCustomizeOptionWindow->AfterConstruction();
      FCustomizeOptionWindow->SetParent(FZadEdevAzi);
      FCustomizeOptionWindow->SetBorderIcons({});
      FCustomizeOptionWindow->SetBorderStyle(bsNone);
      FCustomizeOptionWindow->SetFormStyle(fsStayOnTop);
      FCustomizeOptionWindow->SetVisible(false);
      FCustomizeOptionWindow->SetBounds(FCustomizeOptionWindow->Left(), FCustomizeOptionWindow->Top(), 100, 40);
      FCustomizeOptionWindow->SetZadEdevAzi(FZadEdevAzi);
      FCustomizeOptionWindow->OnHide = [this](TObject* Sender) { CustomizeWindowHidden(Sender); };
    }
    if (FCustomizeOptionPanel == nullptr) {
      FCustomizeOptionPanel = new TCustomizeOption(FCustomizeOptionWindow);
      FCustomizeOptionPanel->SetParent(FCustomizeOptionWindow);
    }
    FCustomizeOptionPanel->SetZadEdevAzi(FZadEdevAzi);
    FCustomizeOptionPanel->SetCustomizeText(FCustomizer->DialogSettings()->Customize + u" " + FZadEdevAzi->Caption());
    FCustomizeOptionPanel->UpdateSize();
    FCustomizeOptionWindow->SetOptionsPanel(FCustomizeOptionPanel);
    FCustomizeOptionWindow->SetWindowSize();
    wm = FCustomizeOptionWindow->Width();
  }
  const TRect r = FOptionsBtn->BRect();
  TPoint p = ClientToScreen(TPoint{r.Right + 3, r.Top});
  TRect area{0, 0, Screen->Width(), Screen->Height()};
  if (TMonitor* m = Screen->MonitorFromPoint(p)) area = m->BoundsRect();
  if (p.X + wm > area.Right) p = ClientToScreen(TPoint{r.Left - wm, r.Top});
  auto* window = dynamic_cast<TOptionSelectorWindow*>(Parent());
  if (window != nullptr) window->SetHideOnDeActivate(false);
  if (FOptionsMenu != nullptr) {
    FOptionsMenu->Popup(p);
    FOptionsBtnHot = FOptionsBtnDown = false;
    FTimer->SetEnabled(false);
    const TPoint cur = ScreenToClient(Mouse->CursorPos());
    if (!(FShowAddAndRemoveBtn && Inside(FAddAndRemoveBtn->BRect(), cur.X, cur.Y))) HideOptionWindow();
  } else {
    FCustomizeOptionWindow->SetBounds(p.X, p.Y, FCustomizeOptionWindow->Width(), FCustomizeOptionWindow->Height());
    FCustomizeOptionWindow->Show();
  }
  if (window != nullptr) window->SetHideOnDeActivate(true);
  Invalidate();
}

void TControlSelectorPanel::OptionsTimerTick(TObject*) {
  const TPoint cur = ScreenToClient(Mouse->CursorPos());
  if (!Inside(FAddAndRemoveBtn->BRect(), cur.X, cur.Y)) return;
  FTimer->SetEnabled(false);
  if (!HandleAllocated()) return;
  PostMessage(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cur.X, cur.Y));
  PostMessage(Handle(), WM_LBUTTONUP, 0, MAKELPARAM(cur.X, cur.Y));
}

}  // namespace toolbar
