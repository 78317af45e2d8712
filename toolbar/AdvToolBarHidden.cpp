// The toolbar's hiding of rarely used controls and its option popup: a
// docked toolbar shorter than its controls need hides the least recently
// used ones (a group that loses its last shown member loses its separator
// too) and offers them in the popup of its right handle; room returning
// brings back the most recently hidden first.
#include <algorithm>

#include "platform/vcl/Application.h"
#include "platform/vcl/Monitors.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/OptionSelector.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

TControl* At(const TDbgList* L, Integer I) { return static_cast<TControl*>(L->Items(I)); }

bool IsSep(TControl* C) {
  auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(C);
  return tc != nullptr && tc->IsSeparator();
}

// Sets both re-parenting guards for its lifetime and puts them back after.
struct TReparentGuard {
  bool& A;
  bool& B;
  bool OldA, OldB;
  TReparentGuard(bool& a, bool& b) : A(a), B(b), OldA(a), OldB(b) { A = B = true; }
  ~TReparentGuard() {
    A = OldA;
    B = OldB;
  }
  TReparentGuard(const TReparentGuard&) = delete;
  TReparentGuard& operator=(const TReparentGuard&) = delete;
};

}  // namespace

Integer TAdvCustomToolBar::HandleLength() const { return ScaleToolBarSize(FPopupIndicatorWidth, ToolBarDPIScale); }

Integer TAdvCustomToolBar::GripLength() const {
  if (Styler()->DragGripStyle() == dsNone || OnPage() || OnCompactWindow()) return 0;
  return FDragGripWidth;
}

Integer TAdvCustomToolBar::LengthOf(TControl* C) const { return IsHorizontal() ? C->Width() : C->Height(); }

Integer TAdvCustomToolBar::FarEdgeOf(TControl* C) const {
  return IsHorizontal() ? C->Left() + C->Width() : C->Top() + C->Height();
}

void TAdvCustomToolBar::PutBack(TControl* AControl) {
  if (AControl->Parent() == this) return;
  TReparentGuard guard(FUpdatingControls, FInternalControlUpdation);
  AControl->SetParent(this);
}

void TAdvCustomToolBar::PutBackHidden(TControl* AControl) {
  if (!ComponentState().Contains(csLoading) && !FDesignTime) PutBack(AControl);
  FLUHidedControls->Remove(AControl);
}

TControl* TAdvCustomToolBar::GroupSeparatorToRestore(TControl* X) const {
  const Integer i = FATBControls->IndexOf(X);
  if (i < 0) return nullptr;
  auto hidden = [this](TControl* c) { return FLUHidedControls->IndexOf(c) >= 0; };
  TControl* left = nullptr;
  TControl* right = nullptr;
  bool shownMember = false;
  for (Integer j = i - 1; j >= 0; --j) {
    TControl* c = At(FATBControls.get(), j);
    if (IsSep(c)) {
      left = c;
      break;
    }
    if (!hidden(c)) {
      shownMember = true;
      break;
    }
  }
  if (shownMember) return nullptr;
  for (Integer j = i + 1; j < FATBControls->Count(); ++j) {
    TControl* c = At(FATBControls.get(), j);
    if (IsSep(c)) {
      right = c;
      break;
    }
    if (!hidden(c)) {
      shownMember = true;
      break;
    }
  }
  if (shownMember) return nullptr;
  if (left != nullptr && hidden(left)) return left;
  if (right != nullptr && hidden(right)) return right;
  return nullptr;
}

void TAdvCustomToolBar::UpdateHiddenControls() {
  if (FToolBarState != tsDocked || !FATBControls || !FRUControls || !FLUHidedControls || FUpdateCount > 0 ||
      FUpdatingControls || FDestroying)
    return;
  if (FFullSize) {
    RestoreAllHiddenControls();
    return;
  }
  TDbgList* L = FATBControls.get();
  TDbgList* H = FLUHidedControls.get();
  auto hidden = [H](TControl* c) { return H->IndexOf(c) >= 0; };
  const Integer n = L->Count();

  // Keep groups whole: the last shown member of a group whose separator is
  // hidden goes too.
  for (Integer i = n - 1; i >= 0; --i) {
    TControl* c = At(L, i);
    if (hidden(c) || !c->Visible() || IsSep(c)) continue;
    for (Integer j = i - 1; j >= 0; --j)
      if (TControl* s = At(L, j); IsSep(s)) {
        if (hidden(s)) H->Add(c);
        break;
      }
    break;
  }

  TControl* last = nullptr;
  for (Integer i = n - 1; i >= 0 && last == nullptr; --i)
    if (TControl* c = At(L, i); !hidden(c) && c->Visible()) last = c;

  const Integer length = IsHorizontal() ? Width() : Height();
  const Integer handle = HandleLength();
  if (last == nullptr) {
    if (H->Count() == 0) return;
    Integer room = length - handle - GripLength();
    while (room > 0 && H->Count() > 0) {
      TControl* c = At(H, H->Count() - 1);
      if (LengthOf(c) > room) break;
      PutBackHidden(c);
      room -= LengthOf(c);
    }
    ArrangeControls(false);
    return;
  }

  const Integer far = FarEdgeOf(last);
  if (far >= length - handle) {
    Integer over = far + handle - length;
    while (over > 0) {
      TControl* c = nullptr;
      for (Integer k = FRUControls->Count() - 1; k >= 0 && c == nullptr; --k)
        if (TControl* e = At(FRUControls.get(), k); !hidden(e) && !IsSep(e) && e->Visible()) c = e;
      if (c == nullptr) break;
      H->Add(c);
      over -= LengthOf(c);
      const Integer i = L->IndexOf(c);
      if (i < 0) continue;
      TControl* leftSep = nullptr;
      TControl* rightSep = nullptr;
      bool kept = false;
      for (Integer j = i - 1; j >= 0; --j) {
        TControl* e = At(L, j);
        if (hidden(e)) continue;
        if (IsSep(e)) {
          leftSep = e;
          break;
        }
        kept = true;
        break;
      }
      if (!kept)
        for (Integer j = i + 1; j < n; ++j) {
          TControl* e = At(L, j);
          if (hidden(e)) continue;
          if (IsSep(e)) {
            rightSep = e;
            break;
          }
          kept = true;
          break;
        }
      if (kept) continue;
      if (TControl* s = leftSep != nullptr ? leftSep : rightSep) {
        H->Add(s);
        over -= LengthOf(s);
      }
    }
  } else if (H->Count() > 0) {
    Integer room = length - handle - far;
    for (;;) {
      Integer xi = -1;
      for (Integer k = H->Count() - 1; k >= 0 && xi < 0; --k)
        if (!IsSep(At(H, k))) xi = k;
      if (xi < 0) break;
      TControl* x = At(H, xi);
      if (LengthOf(x) > room) break;
      if (TControl* s = GroupSeparatorToRestore(x)) {
        if (LengthOf(x) + LengthOf(s) > room) break;
        PutBackHidden(x);
        room -= LengthOf(x);
        if (hidden(s)) {
          PutBackHidden(s);
          room -= LengthOf(s);
        }
      } else {
        PutBackHidden(x);
        room -= LengthOf(x);
      }
      bool separatorsOnly = true;
      for (Integer k = 0; k < H->Count() && separatorsOnly; ++k) separatorsOnly = IsSep(At(H, k));
      if (xi == H->Count() - 1 || separatorsOnly || room <= 0) break;
    }
  }
  ArrangeControls(false);
}

void TAdvCustomToolBar::RestoreAllHiddenControls() {
  if (!FLUHidedControls) return;
  {
    TReparentGuard guard(FUpdatingControls, FInternalControlUpdation);
    if (!ComponentState().Contains(csLoading) && !FDesignTime)
      for (Integer i = 0; i < FLUHidedControls->Count(); ++i)
        if (TControl* c = At(FLUHidedControls.get(), i); c->Parent() != this) c->SetParent(this);
  }
  FLUHidedControls->Clear();
}

void TAdvCustomToolBar::MoveUpInRUList(TControl* AControl) {
  DoMoveUpInRUList(AControl);
  UpdateHiddenControls();
}

void TAdvCustomToolBar::DoMoveUpInRUList(TControl* AControl) {
  if (!FATBControls || FDestroying || AControl == nullptr || FATBControls->IndexOf(AControl) < 0) return;
  if (FAutoArrangeButtons) {
    if (FRUControls->IndexOf(AControl) >= 0) FRUControls->Move(FRUControls->IndexOf(AControl), 0);
    if (FLUHidedControls->IndexOf(AControl) >= 0 && !IsSep(AControl))
      if (TControl* s = GroupSeparatorToRestore(AControl)) PutBackHidden(s);
    FLUHidedControls->Remove(AControl);
    PutBack(AControl);
  }
  HideOptionWindow();
  UpdateHiddenControls();
}

void TAdvCustomToolBar::RestoreHiddenIfRoom() {
  if (!FATBControls || FDestroying) return;
  TDbgList* L = FATBControls.get();
  TDbgList* H = FLUHidedControls.get();
  TControl* last = nullptr;
  for (Integer i = L->Count() - 1; i >= 0 && last == nullptr; --i)
    if (TControl* c = At(L, i); H->IndexOf(c) < 0 && c->Visible()) last = c;
  if (last == nullptr) return;
  // Along the toolbar's own direction: heights on a vertical toolbar.
  const Integer room = (IsHorizontal() ? Width() : Height()) - HandleLength() - FarEdgeOf(last);
  if (room <= 0) return;
  Integer k = H->Count() - 1;
  while (k >= 0) {
    TControl* c = At(H, k);
    if (IsSep(c)) {
      --k;
      continue;
    }
    if (LengthOf(c) > room) break;
    const Integer count = H->Count();
    UpdateHiddenControls();
    if (H->Count() == count) break;
    k = H->Count() - 1;
  }
}

void TAdvCustomToolBar::RequestRestoreHiddenIfRoom() {
  if (FRestorePending || !HandleAllocated()) return;
  FRestorePending = true;
  PostMessage(Handle(), WM_ATBRESTOREHIDDEN, 0, 0);
}

void TAdvCustomToolBar::WMRestoreHidden(TMessage&) {
  FRestorePending = false;
  if (InDockPanel()) RestoreHiddenIfRoom();
}

Integer TAdvCustomToolBar::GetFullLength() {
  const bool floating = FToolBarState == tsFloating;
  Integer result = (GripLength() == 0 || floating) ? 2 : FDragGripWidth + 2;
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    TControl* c = At(FATBControls.get(), i);
    if (!c->Visible()) continue;
    result += (IsHorizontal() || floating) ? c->Width() : c->Height();
  }
  if (FShowPopupIndicator) result += HandleLength();
  return std::max(result, FMinLength);
}

// ---------------------------------------------------------------------------
// The option popup

void TAdvCustomToolBar::UpdateOptionWindow() {
  if (FDesignTime || FDestroying) return;
  if (FOptionWindow == nullptr) {
    FOptionWindow = new TOptionSelectorWindow(this);
    FOptionWindow->AfterConstruction();
    FOptionWindow->SetParent(this);
    FOptionWindow->SetBorderIcons({});
    FOptionWindow->SetBorderStyle(bsNone);
    FOptionWindow->SetFormStyle(fsStayOnTop);
    FOptionWindow->SetVisible(false);
    FOptionWindow->SetBounds(FOptionWindow->Left(), FOptionWindow->Top(), 10, 10);
    FOptionWindow->OnHide = [this](TObject* Sender) { OptionWindowHide(Sender); };
    FOptionWindow->SetZadEdevAzi(this);
  }
  if (FOptionWindowPanel == nullptr) {
    FOptionWindowPanel = new TControlSelectorPanel(FOptionWindow);
    FOptionWindowPanel->SetParent(FOptionWindow);
  }
  TControlSelectorPanel* P = FOptionWindowPanel;
  P->SetShowAddAndRemoveBtn(FAutoOptionMenu);
  P->SetOptionsMenu(FOptionMenu);
  P->SetTextAutoOptionMenu(FTextAutoOptionMenu);
  P->SetTextOptionMenu(FTextOptionMenu);
  P->SetCustomizer(FCustomizer);
  P->SetZadEdevAzi(this);
  TCustomZadEdevAziStyler* s = Styler();
  auto* a = s->ButtonAppearance();
  P->SetItemColorHot(a->ColorHot());
  P->SetItemColorHotTo(a->ColorHotTo());
  P->SetItemColorDown(a->ColorDown());
  P->SetItemColorDownTo(a->ColorDownTo());
  P->SetItemTextColor(a->CaptionTextColor());
  P->SetItemTextColorHot(a->CaptionTextColorHot());
  P->SetItemTextColorDown(a->CaptionTextColorDown());
  P->SetItemTextFontSize(a->CaptionFont()->Size());
  FOptionWindow->SetOptionsPanel(P);
  P->ClearControlList();
  P->UpdateItemSizes();

  {
    const bool old = FInternalControlUpdation;
    FInternalControlUpdation = true;
    TControl* pending = nullptr;
    Integer n = 1;
    for (Integer i = 0; i < ToolBarControlCount(); ++i) {
      TControl* c = At(FATBControls.get(), i);
      if (IsSep(c)) pending = c;
      if (FLUHidedControls->IndexOf(c) < 0) continue;
      // The list never starts or ends with a hidden separator.
      if (IsSep(c) && (n == 1 || n == FLUHidedControls->Count())) continue;
      if (!IsSep(c) && pending != nullptr) {
        if (n > 1)
          P->AddSeparatorCopy(static_cast<TZadEdevAziSeparator*>(pending));
        pending = nullptr;
      }
      P->AddControl(c);
      ++n;
      if (IsSep(c)) pending = nullptr;
    }
    FInternalControlUpdation = old;
  }
  P->ArrangeControls();
  FOptionWindow->SetWindowSize();
}

void TAdvCustomToolBar::ShowOptionWindow(Integer X, Integer Y, bool AtPoint) {

  if (Screen->ActiveControl() != nullptr) FPrevActiveControl = Screen->ActiveControl();
  UpdateOptionWindow();
  if (FOptionWindow == nullptr || FOptionWindowPanel == nullptr) return;
  const Integer pw = FOptionWindow->Width(), ph = FOptionWindow->Height();
  if (!AtPoint) {
    if (FToolBarState == tsFloating) {
      const TPoint p = ClientToScreen(TPoint{Left() + Width() - (FShowClose ? 40 : 20), Top() + FCaptionHeight - 2});
      X = p.X;
      Y = p.Y;
    } else if (Parent() != nullptr) {
      const TPoint p = Parent()->ClientToScreen(TPoint{Left() + Width() - 12, Top() + Height() + 1});
      X = p.X;
      Y = p.Y;
      TMonitor* m = Screen->MonitorFromPoint(p);
      const Integer bottom = m != nullptr ? m->BoundsRect().Bottom : Screen->Height();
      const Integer right = m != nullptr ? m->BoundsRect().Right : Screen->Width();
      if (Y + ph + 2 > bottom) Y = bottom - ph - 2;
      if (X + pw > right) {
        if (FPosition == daRight)
          X = ClientToScreen(TPoint{Left() - pw, Top() + Height() + 1}).X;
        else
          X = right - pw;
      }
    }
  }
  if (FOptionWindowPanel->IsEmpty()) return;
  FOptionWindow->SetBounds(X, Y, pw, ph);
  FOptionWindow->Show();

}

void TAdvCustomToolBar::HideOptionWindow() {
  if (FOptionWindow != nullptr && FOptionWindow->Visible()) FOptionWindow->Hide();
}

void TAdvCustomToolBar::OptionWindowHide(TObject*) {

  UpdateHiddenControls();
  Invalidate();
}

void TAdvCustomToolBar::RestorePrevActiveControl() {
  TWinControl* prev = FPrevActiveControl;
  FPrevActiveControl = nullptr;
  if (prev != nullptr && prev->HandleAllocated() && prev->CanFocus()) prev->SetFocus();
}

void TAdvCustomToolBar::OptionIndicatorClick() {
  if (Parent() == nullptr) return;
  if (OnOptionClick || FOptionMenu != nullptr || FCustomizer != nullptr) {
    TPoint client, screen;
    if (FToolBarState == tsFloating) {
      client = TPoint{Left() + Width() - (FShowClose ? 40 : 20), Top() + FCaptionHeight - 2};
      screen = ClientToScreen(client);
    } else {
      client = TPoint{Left() + Width() - 12, Top() + Height() + 1};
      screen = Parent()->ClientToScreen(client);
    }
    if (OnOptionClick) OnOptionClick(this, client, screen);
    ShowOptionWindow(0, 0, false);
    if (FDownPopupIndicator || FHotPopupIndicator) {
      FDownPopupIndicator = FHotPopupIndicator = false;
      Invalidate();
    }
    return;
  }
  ShowOptionWindow(0, 0, false);
}

void TAdvCustomToolBar::CaptionOptionClick() {
  if (FToolBarState == tsFloating || Parent() == nullptr) return;
  const TPoint client{Left() + Width() - 12, Top() + Height() + 1};
  const TPoint screen = Parent()->ClientToScreen(client);
  if (OnOptionClick)
    OnOptionClick(this, client, screen);
  else if (FOptionMenu != nullptr)
    FOptionMenu->Popup(screen);
}

}  // namespace toolbar
