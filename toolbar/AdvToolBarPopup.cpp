#include "toolbar/AdvToolBarPopup.h"

#include <algorithm>

#include "controls/AdvGlowButton.h"
#include "platform/vcl/PopupWindows.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

// A rectangle filled and framed in one colour, or a gradient between two.
void FillBar(TCanvas* C, TColor From, TColor To, const TRect& R, bool Horizontal, Integer Steps) {
  if (From == clNone) return;
  if (To == clNone) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(From);
    C->Pen()->SetColor(From);
    C->Rectangle(R);
    return;
  }
  toolbar::DrawGradient(C, From, To, Steps, R, Horizontal);
}

void Frame(TCanvas* C, TColor Color, const TRect& R) {
  if (Color == clNone) return;
  C->Brush()->SetStyle(bsClear);
  C->Pen()->SetColor(Color);
  C->Rectangle(R);
}

}  // namespace

// ---------------------------------------------------------------------------
// Items

TATBMenuItem* TATBMenuItem::GetItem(Integer Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[size_t(Index)].get();
}

TATBMenuItem* TATBMenuItem::Add() {
  FItems.push_back(std::make_unique<TATBMenuItem>());
  FItems.back()->FParentItem = this;
  return FItems.back().get();
}

void TATBMenuItem::RemoveItem(Integer ItemIndex) {
  if (ItemIndex < 0 || ItemIndex >= Count()) return;
  FItems.erase(FItems.begin() + ItemIndex);
}

// ---------------------------------------------------------------------------
// Custom popup panel

TATBCustomPopupPanel::TATBCustomPopupPanel(TComponent* AOwner) : TCustomPanel(AOwner), FOwner(AOwner) {
  SetBevelOuter(bvNone);
  SetBevelWidth(1);
  SetColor(TColor(0x00F7F8F9));
  SetShowCaption(false);
}

void TATBCustomPopupPanel::Paint() {
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
// Window

TATBPopupWindow::TATBPopupWindow(TComponent* AOwner) : TCustomForm(AOwner), FOwner(AOwner) {
  FHideTimer = std::make_unique<TTimer>(nullptr);
  FHideTimer->SetEnabled(false);
  FHideTimer->SetInterval(1);
  FHideTimer->OnTimer = [this](TObject* Sender) { HideTimerTick(Sender); };
  FPopupPanel = new TATBPopupPanel(this);
  FPopupPanel->SetParent(this);
}

TATBPopupWindow::~TATBPopupWindow() {
  FHideTimer->SetEnabled(false);
  // The panel (owned as a component) may outlive the item tree by a moment.
  if (FPopupPanel != nullptr) FPopupPanel->SetItems(nullptr);
}

void TATBPopupWindow::CreateItems() {
  FItems = std::make_unique<TATBMenuItem>();
  FPopupPanel->SetItems(FItems.get());
}

void TATBPopupWindow::SetWindowSize() {
  if (FPopupPanel == nullptr) return;
  SetHeight(FPopupPanel->GetVisibleHeight());
  SetWidth(FPopupPanel->Width());
}

void TATBPopupWindow::Hide() {
  if (FPopupPanel != nullptr) FPopupPanel->ResetHot();
  FHideTimer->SetEnabled(false);
  TCustomForm::Hide();
}

void TATBPopupWindow::HideTimerTick(TObject*) {
  Hide();
  FHideTimer->SetEnabled(false);
  if (OnDeActivateHide) OnDeActivateHide(this);
}

bool TATBPopupWindow::IsOwnChildPopup(HWND Wnd) const {
  if (Wnd == nullptr) return false;
  for (TATBPopupWindow* p = FPopupPanel->ItemPopup(); p != nullptr && p->Visible(); p = p->PopupPanel()->ItemPopup())
    if (p->HandleAllocated() && p->Handle() == Wnd) return true;
  return false;
}

void TATBPopupWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    const TPoint p = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    Message.Result = (p.X > Width() - 10 && p.Y > Height() - 10) ? HTBOTTOMRIGHT : 0;
    return;
  }
  TCustomForm::Dispatch(Message);
}

void TATBPopupWindow::WMActivate(TMessage& Message) {
  TCustomForm::WMActivate(Message);
  if (FPopupPanel == nullptr) return;
  if (LOWORD(Message.WParam) != WA_INACTIVE) {
    if (FPopupPanel->HandleAllocated() && FPopupPanel->CanFocus()) FPopupPanel->SetFocus();
    // The form under the menu keeps an active caption.
    HWND top = nullptr;
    if (FZadEdevAzi != nullptr && FZadEdevAzi->HandleAllocated()) top = GetParent(FZadEdevAzi->Handle());
    else if (auto* w = dynamic_cast<TWinControl*>(FOwner); w != nullptr && w->HandleAllocated())
      top = GetParent(w->Handle());
    while (top != nullptr)
      if (HWND up = GetParent(top)) top = up;
      else break;
    if (top != nullptr) SendMessage(top, WM_NCACTIVATE, TRUE, 0);
    return;
  }
  if (!Visible()) return;
  // An open child pop-up keeps this one up only while the activation moves
  // into that child: activating any other window closes the whole chain, so
  // that a click outside never leaves a stale menu behind.
  if (FHideOnDeActivate || !IsOwnChildPopup(reinterpret_cast<HWND>(Message.LParam))) FHideTimer->SetEnabled(true);
}

// ---------------------------------------------------------------------------
// Panel

TATBPopupPanel::TATBPopupPanel(TComponent* AOwner)
    : TATBCustomPopupPanel(AOwner), FItemHeight(ScaleToolBarSize(24, ToolBarDPIScale)) {
  SetTabStop(true);
}

TATBMenuItem* TATBPopupPanel::ItemAt(Integer Index) const {
  return FItems != nullptr ? FItems->GetItem(Index) : nullptr;
}

TAdvCustomToolBar* TATBPopupPanel::WindowToolBar() const {
  auto* w = dynamic_cast<TATBPopupWindow*>(Parent());
  return w != nullptr ? w->ZadEdevAzi() : nullptr;
}

void TATBPopupPanel::SetItems(TATBMenuItem* Value) {
  FItems = Value;
  if (FItems == nullptr) {
    FHotItem = FPopupItem = -1;
    return;
  }
  ArrangeItems();
}

namespace {

bool HasImage(TControl* C) {
  if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(C))
    return b->ImageIndex() >= 0 || (b->Glyph() != nullptr && !b->Glyph()->Empty());
  if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(C)) return g->ImageIndex() >= 0;
  return false;
}

}  // namespace

void TATBPopupPanel::ArrangeItems() {
  if (FItems == nullptr) return;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  Integer w = 0;
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TATBMenuItem* it = FItems->GetItem(i);
    // An item with children has room for its arrow; the room is its own,
    // not added once more for every such item.
    w = std::max(w, c->TextWidth(it->Caption()) + 7 + (it->HasChildren() ? 30 : 0));
    if (!FShowImageBar && it->Objects() != nullptr && HasImage(it->Objects())) FShowImageBar = true;
  }
  if (FAdvMenuStyler != nullptr && FShowIconBar) w += FAdvMenuStyler->IconBar()->Size();
  if (FShowImageBar) w += FImageBarSize;
  w = std::max(w, 70);
  Integer y = FMarginY;
  for (Integer i = 0; i < FItems->Count(); ++i) {
    FItems->GetItem(i)->SetBoundRect(TRect{FMarginX, y, FMarginX + w, y + FItemHeight});
    y += FItemHeight + FMarginY;
  }
  SetBounds(Left(), Top(), w + 2 * FMarginX, y);
}

Integer TATBPopupPanel::IndexOfItemAt(Integer X, Integer Y) const {
  if (FItems == nullptr) return -1;
  for (Integer i = 0; i < FItems->Count(); ++i) {
    const TRect r = FItems->GetItem(i)->BoundRect();
    if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
  }
  return -1;
}

void TATBPopupPanel::InvalidateItem(Integer ItemIndex) {
  TATBMenuItem* it = ItemAt(ItemIndex);
  if (it == nullptr || !HandleAllocated()) return;
  const TRect r = it->BoundRect();
  InvalidateRect(Handle(), &r, TRUE);
}

void TATBPopupPanel::SetHotItem(Integer Value) {
  if (Value == FHotItem) return;
  if (FHotItem >= 0) {
    HideItemPopup();
    const Integer old = FHotItem;
    FHotItem = -1;
    InvalidateItem(old);
  }
  FHotItem = Value;
  if (FHotItem >= 0) InvalidateItem(FHotItem);
}

void TATBPopupPanel::ToggleCheck(Integer Index) {
  TATBMenuItem* it = ItemAt(Index);
  if (it == nullptr || it->Objects() == nullptr) return;
  TControl* c = it->Objects();
  TAdvCustomToolBar* tb = WindowToolBar();
  // The list may be older than the control: one that left the toolbar
  // meanwhile is not touched.
  if (tb != nullptr && tb->IndexOfToolBarControl(c) < 0) return;
  c->SetVisible(!c->Visible());
  it->SetChecked(c->Visible());
  InvalidateItem(Index);
  if (tb != nullptr && tb->OnControlVisibleChange) tb->OnControlVisibleChange(tb, c);
}

void TATBPopupPanel::ClickItem(Integer Index) {
  TATBMenuItem* it = ItemAt(Index);
  if (it != nullptr && it->AutoCheck()) ToggleCheck(Index);
}

void TATBPopupPanel::ResetHot() {
  HideItemPopup();
  FHotItem = -1;
  FPopupItem = -1;
}

void TATBPopupPanel::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TATBCustomPopupPanel::MouseMove(Shift, X, Y);
  const Integer i = IndexOfItemAt(X, Y);
  if (i >= 0 && i != FHotItem && !Shift.Contains(ssLeft)) {
    SetHotItem(i);
    ShowItemPopup();
  }
}

void TATBPopupPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TATBCustomPopupPanel::MouseUp(Button, Shift, X, Y);
  const Integer i = IndexOfItemAt(X, Y);
  if (i >= 0) ClickItem(i);
}

void TATBPopupPanel::KeyDown(Word& Key, TShiftState Shift) {
  TATBCustomPopupPanel::KeyDown(Key, Shift);
  if (Key != VK_ESCAPE) return;
  Key = 0;
  // Escape closes the menu as a click outside would: the window and the
  // chain it was opened from.
  if (auto* w = dynamic_cast<TATBPopupWindow*>(Parent()); w != nullptr && w->Visible()) {
    w->Hide();
    if (w->OnDeActivateHide) w->OnDeActivateHide(w);
  }
}

void TATBPopupPanel::Dispatch(TMessage& Message) {
  TATBCustomPopupPanel::Dispatch(Message);
  if (Message.Msg == CM_MOUSELEAVE && FPopupItem < 0 && FHotItem >= 0) {
    const Integer old = FHotItem;
    FHotItem = -1;
    InvalidateItem(old);
  }
}

void TATBPopupPanel::ShowItemPopup() {
  if (FHotItem < 0 || FHotItem == FPopupItem) return;
  HideItemPopup();
  TATBMenuItem* it = ItemAt(FHotItem);
  if (it == nullptr || !it->HasChildren()) return;
  auto* own = dynamic_cast<TATBPopupWindow*>(Parent());
  if (FItemPopup == nullptr) {
    FItemPopup = new TATBPopupWindow(this);
    FItemPopup->AfterConstruction();
    FItemPopup->SetBorderIcons({});
    FItemPopup->SetBorderStyle(bsNone);
    FItemPopup->SetFormStyle(fsStayOnTop);
    FItemPopup->SetVisible(false);
    FItemPopup->SetBounds(FItemPopup->Left(), FItemPopup->Top(), 10, 10);
    FItemPopup->SetZadEdevAzi(own != nullptr ? own->ZadEdevAzi() : nullptr);
    FItemPopup->OnHide = [this](TObject* Sender) { ItemPopupHidden(Sender); };
    FItemPopup->OnDeActivateHide = [this](TObject* Sender) { ItemPopupDeactivated(Sender); };
  }
  TATBPopupPanel* p = FItemPopup->PopupPanel();
  p->SetShowIconBar(true);
  p->SetAdvMenuStyler(FAdvMenuStyler);
  p->SetItems(it);
  FPopupItem = FHotItem;
  FItemPopup->SetWindowSize();
  if (own != nullptr) own->SetHideOnDeActivate(false);
  const TRect r = it->BoundRect();
  TPoint pt = ClientToScreen(TPoint{r.Right + 2, r.Top});
  const TRect wa = Screen->WorkAreaRect();
  if (pt.Y + FItemPopup->Height() + 2 > wa.Bottom) pt.Y = wa.Bottom - FItemPopup->Height() - 2;
  if (pt.X + FItemPopup->Width() > wa.Right) pt.X = ClientToScreen(TPoint{r.Left, r.Top}).X - FItemPopup->Width();
  FItemPopup->SetBounds(pt.X, pt.Y, FItemPopup->Width(), FItemPopup->Height());
  // Beside the item without taking the activation: the pointer may go on
  // to another item of this panel.
  FItemPopup->HandleNeeded();
  SetWindowPos(FItemPopup->Handle(), HWND_TOPMOST, pt.X, pt.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  FItemPopup->SetVisible(true);
}

void TATBPopupPanel::HideItemPopup() {
  if (FItemPopup != nullptr) {
    if (FItemPopup->Visible()) FItemPopup->Hide();
    // The child only borrowed an item of this panel's tree, which its owner
    // may rebuild before the child opens again.
    FItemPopup->PopupPanel()->SetItems(nullptr);
  }
  FPopupItem = -1;
}

void TATBPopupPanel::ItemPopupHidden(TObject*) {
  if (auto* own = dynamic_cast<TATBPopupWindow*>(Parent())) own->SetHideOnDeActivate(true);
  FPopupItem = -1;
}

void TATBPopupPanel::ItemPopupDeactivated(TObject*) {
  if (auto* own = dynamic_cast<TATBPopupWindow*>(Parent()); own != nullptr) {
    own->Hide();
    if (own->OnDeActivateHide) own->OnDeActivateHide(own);
  }
}

// ---------------------------------------------------------------------------
// Painting

void TATBPopupPanel::Paint() {
  TATBCustomPopupPanel::Paint();
  if (FItems == nullptr) return;
  TCanvas* c = Canvas();
  const TRect R{FMarginX, FMarginY, Width() - FMarginX, Height() - FMarginY};
  TRect bar{R.Left, R.Top, R.Left, R.Bottom};
  if (FAdvMenuStyler != nullptr && FShowIconBar) {
    TIconBar* ib = FAdvMenuStyler->IconBar();
    bar.Right = R.Left + ib->Size() + (FShowImageBar ? FImageBarSize : 0);
    FillBar(c, ib->Color(), ib->ColorTo() == clNone || ib->Color() == clNone ? clNone : ib->ColorTo(), bar, true, 40);
    FImageBarColor = ib->ColorTo();
  } else if (FShowImageBar && FAdvMenuStyler != nullptr) {
    TIconBar* ib = FAdvMenuStyler->IconBar();
    FImageBarColor = ib->Color();
    FImageBarColorTo = ib->ColorTo();
    bar.Right = R.Left + FImageBarSize;
    FillBar(c, FImageBarColor, FImageBarColor == clNone ? clNone : FImageBarColorTo, bar, true, 40);
  }
  for (Integer i = 0; i < FItems->Count(); ++i) DrawItem(i);
}

void TATBPopupPanel::DrawItem(Integer Index) {
  TATBMenuItem* it = ItemAt(Index);
  if (it == nullptr) return;
  TCanvas* c = Canvas();
  const TRect IR = it->BoundRect();
  TRect TR = IR;
  if (Index == FHotItem && FAdvMenuStyler != nullptr) {
    TSelectedItem* si = FAdvMenuStyler->SelectedItem();
    if (si->Color() == clNone || si->ColorTo() == clNone) FillBar(c, si->Color(), clNone, IR, false, 40);
    else toolbar::DrawGradient(c, si->Color(), si->ColorTo(), 40, IR, si->GradientDirection() == ::gdHorizontal);
    Frame(c, si->BorderColor(), IR);
  }
  Integer imageLeft = IR.Left;
  if (FShowIconBar && FAdvMenuStyler != nullptr) {
    const TRect IC{IR.Left, IR.Top, IR.Left + FAdvMenuStyler->IconBar()->Size(), IR.Bottom};
    TR.Left = IC.Right;
    imageLeft = IC.Right;
    if (it->AutoCheck()) DrawCheck(Index, TRect{IC.Left + 1, IC.Top + 1, IC.Right - 2, IC.Bottom - 1});
    else if (!FShowImageBar) DrawItemImage(it->Objects(), IC);
  }
  if (FShowImageBar) {
    const TRect MC{imageLeft, IR.Top, imageLeft + FImageBarSize, IR.Bottom};
    TR.Left = MC.Right;
    DrawItemImage(it->Objects(), MC);
  }
  TR.Left += 4;
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  String caption = it->Caption();
  c->TextRect(TR, caption, TTextFormat(tfSingleLine | tfVerticalCenter | tfLeft));
  if (it->HasChildren()) DrawSubMenuArrow(IR);
}

void TATBPopupPanel::DrawCheck(Integer Index, TRect CR) {
  TATBMenuItem* it = ItemAt(Index);
  if (it == nullptr || !it->Checked() || !it->Enabled() || FAdvMenuStyler == nullptr) return;
  TCanvas* c = Canvas();
  TColor from, to, border;
  if (Index == FHotItem) {
    TSelectedItem* si = FAdvMenuStyler->SelectedItem();
    from = si->CheckColor();
    to = si->CheckColorTo();
    border = si->BorderColor();
  } else {
    TIconBar* ib = FAdvMenuStyler->IconBar();
    from = ib->CheckColor();
    to = ib->CheckColorTo();
    border = ib->CheckBorder();
  }
  if (to != clNone && from != clNone) toolbar::DrawGradient(c, from, to, 16, CR, true);
  else FillBar(c, from, clNone, CR, true, 16);
  Frame(c, border, CR);
  TBitmap* glyph = FAdvMenuStyler->Glyphs()->Check();
  if (glyph == nullptr || glyph->Empty()) {
    FAdvMenuStyler->Glyphs()->UpdateResources(ToolBarDPIScale);
    glyph = FAdvMenuStyler->Glyphs()->Check();
  }
  if (glyph == nullptr || glyph->Empty()) return;
  c->Draw(CR.Left + (CR.Width() - glyph->Width()) / 2, CR.Top + (CR.Height() - glyph->Height()) / 2, glyph);
}

void TATBPopupPanel::DrawItemImage(TControl* C, const TRect& R) {
  auto* b = dynamic_cast<TAdvCustomToolBarButton*>(C);
  if (b == nullptr) return;
  TCanvas* c = Canvas();
  TAdvCustomToolBar* tb = WindowToolBar();
  TCustomImageList* L = tb != nullptr ? tb->Images() : nullptr;
  if (b->ImageIndex() >= 0 && L != nullptr) {
    // Centred when it fits; a list larger than the column is left out
    // rather than drawn over the caption.
    if (L->Width() <= R.Width() && L->Height() <= R.Height())
      L->Draw(c, R.Left + (R.Width() - L->Width()) / 2, R.Top + (R.Height() - L->Height()) / 2, b->ImageIndex());
    return;
  }
  TBitmap* g = b->Glyph();
  if (g == nullptr || g->Empty()) return;
  if (g->Width() <= R.Width() && g->Height() <= R.Height())
    c->Draw(R.Left + (R.Width() - g->Width()) / 2, R.Top + (R.Height() - g->Height()) / 2, g);
  else
    c->StretchDraw(R, g);
}

void TATBPopupPanel::DrawSubMenuArrow(const TRect& BR) {
  if (FAdvMenuStyler == nullptr) return;
  TMenuGlyphs* g = FAdvMenuStyler->Glyphs();
  if (g->SubMenu() == nullptr || g->SubMenu()->Empty()) g->UpdateResources(ToolBarDPIScale);
  TBitmap* bm = g->SubMenu();
  if (bm == nullptr || bm->Empty()) return;
  const Integer m = (BR.Top + BR.Bottom - 5) / 2;
  TRect box{BR.Right - 8, m, BR.Right - 5, m + 6};
  CenterRect(box, bm->Width(), bm->Height());
  Canvas()->Draw(box.Left, box.Top, bm);
}

}  // namespace toolbar
