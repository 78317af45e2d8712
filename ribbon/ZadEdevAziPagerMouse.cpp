// The pager and the mouse: hover glow and activation of tabs, clicks on the
// active tab that collapse the pages, tab-group clicks, and the caption bar
// that drags its form and opens the form's system menu.
#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Monitors.h"
#include "platform/vcl/SystemMenu.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

void TZadEdevAziPager::Dispatch(TMessage& Message) {
  if (KeyMessage(Message)) return;
  // On glass erasing would wipe the glass the caption shows.
  if (Message.Msg == WM_ERASEBKGND && FIsAeroVista) {
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
  if (Message.Msg == WM_LBUTTONDBLCLK) CaptionDblClick(PointFromLParam(Message.LParam));
  if (Message.Msg == WM_NCHITTEST) CaptionHitTest(Message);
  if (Message.Msg == CM_HINTSHOW) TabHintShow(Message);
}

void TZadEdevAziPager::CaptionDblClick(TPoint P) {
  if (GetTabsArea().Contains(P)) {
    const Integer t = PageAtPos(P.X, P.Y);
    if (t >= 0 && OnTabDblClick) OnTabDblClick(this, t);
  }
  // The caption bar stands in for the form's own: a double click maximizes
  // a normal form and restores any other.
  if (!FCaptionButtons.Contains(cbMaximize) || !GetCaptionRect().Contains(P)) return;
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  form->SetWindowState(form->WindowState() == wsNormal ? wsMaximized : wsNormal);
  UpdateCaptionButtons(true);
}

void TZadEdevAziPager::StartTabGlow(Integer Index, Integer Increment) {
  if (Index < 0 || Index >= AdvPageCount()) return;
  TAdvPage* page = AdvPages(Index);
  if (!page->GlowRunning() && !FItones && GlowSpeed() > 0) {
    TTimer* t = page->GlowTimer();
    if (t == nullptr) {
      t = new TTimer(this);
      page->SetGlowTimer(t);
      t->OnTimer = [page](TObject* s) { page->TabGlowTimerTick(s); };
    }
    t->SetInterval(Cardinal(GlowSpeed()));
    t->SetEnabled(true);
  }
  page->SetTimeInc(Increment);
}

void TZadEdevAziPager::DblClickTimerTick(TObject*) {
  FDblClickTimer->SetEnabled(false);
  FClickCount = 0;
}

UINT TrackFormSystemMenu(TCustomForm* Form, TPoint Screen) {
  if (Form == nullptr || !Form->HandleAllocated()) return 0;
  const HMENU menu = GetSystemMenu(Form->Handle(), FALSE);
  if (menu == nullptr) return 0;
  return UINT(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RETURNCMD, Screen.X, Screen.Y, 0, Form->Handle(), nullptr));
}

// The system menu of the form, shown at the screen point; a chosen command
// goes to the form as WM_SYSCOMMAND.
void TZadEdevAziPager::ShowSystemMenu(TPoint Screen) {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  const UINT cmd = TrackFormSystemMenu(form, Screen);
  if (cmd != 0) form->Perform(WM_SYSCOMMAND, cmd, 0);
}

void TZadEdevAziPager::StartFormDrag(TCustomForm* Form, TPoint ClientPoint) {
  const TPoint screen = ClientToScreen(ClientPoint);
  TRect work{0, 0, 0, 0};
  if (Screen != nullptr) {
    if (TMonitor* m = Screen->MonitorFromPoint(screen)) work = m->WorkareaRect();
    if (work.IsEmpty()) work = Screen->WorkAreaRect();
  }
  if (Form->WindowState() != wsMaximized || Form->Width() < work.Width() - 10) {
    SetMouseCapture(false);
    Form->Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
  } else if (FOffice2013) {
    FCaptionClickXY = ClientPoint;
  }
}

void TZadEdevAziPager::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  FMouseDown = true;
  FCaptionClickXY = TPoint{-1, -1};
  FDownPageIndex = -1;
  Integer gi = TabGroupAtPos(X, Y);
  const TPoint pt{X, Y};
  TRect cap = GetCaptionRect();
  if (Button == mbRight && FCaption->Visible()) {
    bool onCaption = cap.Contains(pt);
    if (FWin7ScenicRibbon) {
      TRect ext = cap;
      ext.Bottom += FTabSettings->Height();
      onCaption = ext.Contains(pt) && gi < 0 && PageAtPos(X, Y) < 0;
    }
    if (onCaption) {
      ShowSystemMenu(ClientToScreen(pt));
      return;
    }
  }
  if (IsOnGlass(true) && gi < 0) {
    cap.Bottom += FTabSettings->Height();
    gi = PageAtPos(X, Y);
  }
  if (FCaption->Visible() && cap.Contains(pt) && FCanMove && gi < 0 && Button == mbLeft) {
    if (GetParentForm(this) != nullptr) {
      // The move starts with the first motion of the held button: a window
      // manager given the move after a quick release would take the next
      // click as the move's end, and a double click would never arrive.
      FFormDragPending = true;
      FFormDragPoint = pt;
      return;
    }
  }
  FChangeActiveTab = false;
  if (!GetTabsArea().Contains(pt)) return;
  const Integer t = PageAtPos(X, Y);
  if (t < 0) return;
  if (OnTabClick) OnTabClick(this, t);
  if (t < AdvPageCount() && t != FActivePageIndex && AdvPages(t)->TabEnabled()) {
    if (ActivatePage(t)) {
      FChangeActiveTab = true;
      if (!ComponentState().Contains(csDesigning)) {
        StartTabGlow(t, 20);
        AdvPages(t)->SetGlowState(gsPush);
      }
      Invalidate();
      FClickCount = -1;
      if (OnTabChanged) OnTabChanged(this);
    }
  } else {
    FDownPageIndex = t;
    InvalidateTab(-1);
  }
  // Minimised: a press on a tab floats its page, or takes the floating page
  // away (not on the second press of a double click, which expands).
  if (!FExpanded && !ComponentState().Contains(csDesigning)) {
    if (!IsFloatingRibbonShowing())
      ShowFloatingRibbon();
    else if (FClickCount < 2)
      HideFloatingRibbon();
  }
}

void TZadEdevAziPager::StartPendingFormDrag() {
  if (!FFormDragPending) return;
  FFormDragPending = false;
  if (TCustomForm* form = GetParentForm(this)) StartFormDrag(form, FFormDragPoint);
}

void TZadEdevAziPager::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(csDesigning)) return;
  if (FFormDragPending) {
    if (!Shift.Contains(ssLeft)) {
      FFormDragPending = false;
    } else if (X != FFormDragPoint.X || Y != FFormDragPoint.Y) {
      StartPendingFormDrag();
      return;
    }
  }
  if (FHotPageIndex >= AdvPageCount()) FHotPageIndex = -1;
  const TPoint pt{X, Y};
  if (GetTabsArea().Contains(pt)) {
    const Integer t = PageAtPos(X, Y);
    auto releaseHot = [this] {
      if (FDownPageIndex >= 0) {
        FDownPageIndex = -1;
        InvalidateTab(-1);
      }
      if (FHotPageIndex >= 0) {
        StartTabGlow(FHotPageIndex, -20);
        AdvPages(FHotPageIndex)->SetGlowState(gsHover);
        FHotPageIndex = -1;
        InvalidateTab(-1);
      }
    };
    if (t >= 0 && t != FHotPageIndex) {
      releaseHot();
      if (AdvPages(t)->TabEnabled()) {
        FHotPageIndex = FOldHotPageIndex = t;
        StartTabGlow(t, 20);
        Invalidate();
        AdvPages(t)->SetGlowState(gsHover);
      }
      if (FHintPageIndex != t) {
        FHintPageIndex = t;
        if (Application != nullptr) Application->CancelHint();
      }
    } else if (t < 0) {
      releaseHot();
      FHintPageIndex = -1;
      if (Application != nullptr) Application->CancelHint();
    }
  } else if (FHotPageIndex >= 0) {
    // Off the tab area the hot tab fades as when the pointer leaves the pager.
    StartTabGlow(FHotPageIndex, -20);
    AdvPages(FHotPageIndex)->SetGlowState(gsHover);
    FHotPageIndex = -1;
    InvalidateTab(-1);
  }
  if (Shift.Contains(ssLeft) && FCaptionClickXY.X >= 0) {
    TCustomForm* form = GetParentForm(this);
    if ((std::abs(X - FCaptionClickXY.X) > 2 || std::abs(Y - FCaptionClickXY.Y) >= 3) && form != nullptr &&
        form->WindowState() == wsMaximized) {
      FCaptionClickXY = TPoint{-1, -1};
      form->SetWindowState(wsNormal);
      if (FGroupStyle != gsClassic) {
        const TPoint s = ClientToScreen(pt);
        form->SetBounds(s.X - Width() / 2, s.Y - 10, form->Width(), form->Height());
        MouseDown(mbLeft, TShiftState{ssLeft}, Width() / 2, 10);
        StartPendingFormDrag();
      }
    }
  }
}

void TZadEdevAziPager::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  FMouseDown = false;
  FFormDragPending = false;
  FAnimating = false;
  if (FDownPageIndex >= 0) {
    FDownPageIndex = -1;
    InvalidateTab(-1);
  }
  const TPoint pt{X, Y};
  if (GetTabsArea().Contains(pt)) {
    const Integer t = PageAtPos(X, Y);
    if (t >= 0) {
      if (!ComponentState().Contains(csDesigning) && t != FActivePageIndex && !FExpanded &&
          AdvPages(t)->TabEnabled()) {
        if (OnTabClick) OnTabClick(this, t);
        if (t == FActivePageIndex) {
          FDownPageIndex = t;
          InvalidateTab(-1);
        } else if (ActivatePage(t)) {
          FChangeActiveTab = true;
          Invalidate();
          FClickCount = -1;
          if (OnTabChanged) OnTabChanged(this);
        }
        if (!IsFloatingRibbonShowing()) ShowFloatingRibbon();
      }
      if (t == FActivePageIndex && !FChangeActiveTab && Button == mbLeft) {
        ++FClickCount;
        // Each counted click starts the 600 ms afresh.
        FDblClickTimer->SetEnabled(false);
        FDblClickTimer->SetEnabled(true);
      }
    }
  } else {
    const Integer g = TabGroupAtPos(X, Y);
    if (g >= 0) {
      const TTabGroupItem* item = FTabGroups->Items(g);
      for (Integer i = std::max<Integer>(item->TabIndexStart(), 0);
           i <= item->TabIndexEnd() && i < AdvPageCount(); ++i) {
        TAdvPage* p = AdvPages(i);
        if (p->TabEnabled() && p->TabVisible()) {
          if (i != FActivePageIndex) SetActivePageIndex(i);
          break;
        }
      }
      if (OnTabGroupClick) OnTabGroupClick(this, g);
    }
  }
  if (FClickCount > 1 && FHidePagesOnDblClick) {
    if (FExpanded)
      Collaps();
    else
      Expand();
    FDblClickTimer->SetEnabled(false);
    FClickCount = 0;
  }
  FChangeActiveTab = false;
  InvalidateTab(FActivePageIndex);
}

void TZadEdevAziPager::CMMouseEnter(TMessage& Message) {
  // OnMouseEnter is raised by the inherited handling.
  TCustomControl::CMMouseEnter(Message);
}

void TZadEdevAziPager::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  FHintPageIndex = -1;
  if (ComponentState().Contains(csDesigning)) return;
  TRect row = GetTabsRect();
  row.Bottom -= 4;
  if (row.Contains(ScreenToClient(Mouse->CursorPos()))) return;
  if (FHotPageIndex >= AdvPageCount()) FHotPageIndex = -1;
  if (FHotPageIndex >= 0 && FHotPageIndex == FActivePageIndex) {
    FHotPageIndex = -1;
    Invalidate();
  } else if (FHotPageIndex >= 0) {
    StartTabGlow(FHotPageIndex, -20);
    AdvPages(FHotPageIndex)->SetGlowState(gsHover);
    FHotPageIndex = -1;
    InvalidateTab(-1);
  }
}

}  // namespace ribbon
