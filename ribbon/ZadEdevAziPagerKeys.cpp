// The pager from the keyboard: Alt or F10 key tips over the tabs, then over
// the active page's toolbars and a compact toolbar's clone (the state
// machine is TKeyTips), arrow keys between tabs, Alt with a tab's
// accelerator, the focus given back when a key tip has run, and the parent
// form's window procedure taken over for the wheel and the form's moves.
#include <algorithm>

#include "platform/rtl/DestroyWatch.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/PopupWindows.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "ribbon/AdvPage.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/CompactWindow.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

using toolbar::TAdvCustomToolBar;

namespace {

// Key-tip mode holds the mouse so that a press anywhere ends it.
constexpr bool KeyTipsCaptureMouse = true;
// Parent chains are walked this far at most.
constexpr int MaxParentWalk = 50;

TAdvCustomToolBar* ToolBarOf(TControl* C) {
  for (TWinControl* p = C != nullptr ? C->Parent() : nullptr; p != nullptr; p = p->Parent())
    if (auto* tb = dynamic_cast<TAdvCustomToolBar*>(p)) return tb;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// The parent form's window procedure

// One link of the form's WindowProc chain. Released while another handler
// sits above it, the link stays and passes every message on, so that the
// later handler keeps working.
struct TZadEdevAziPager::TFormLink {
  TZadEdevAziPager* Pager = nullptr;
  TCustomForm* Form = nullptr;
  std::function<void(TMessage&)> Previous;
};

struct TZadEdevAziPager::TFormProc {
  std::shared_ptr<TFormLink> Link;
  void operator()(TMessage& M) const {
    const std::shared_ptr<TFormLink> link = Link;  // the form may drop this link meanwhile
    if (link->Pager != nullptr)
      link->Pager->FormWndProc(M);
    else if (link->Previous)
      link->Previous(M);
  }
};

void TZadEdevAziPager::SubclassParentForm() {
  if (ComponentState().Contains(csDesigning) || FFormLink != nullptr) return;
  TForm* form = nullptr;
  for (TWinControl* p = Parent(); p != nullptr && form == nullptr; p = p->Parent()) form = dynamic_cast<TForm*>(p);
  if (form == nullptr) return;
  Integer pagers = 0;
  for (Integer i = 0; i < form->ComponentCount(); ++i)
    if (dynamic_cast<TZadEdevAziPager*>(form->Components(i)) != nullptr) ++pagers;
  // A form with two pagers is never taken over.
  if (pagers != 1) return;
  auto link = std::make_shared<TFormLink>();
  link->Pager = this;
  link->Form = form;
  link->Previous = form->WindowProc;
  form->WindowProc = TFormProc{link};
  FFormLink = link;
}

void TZadEdevAziPager::UnsubclassParentForm() {
  if (ComponentState().Contains(csDesigning) || FFormLink == nullptr) return;
  std::shared_ptr<TFormLink> link = std::move(FFormLink);
  link->Pager = nullptr;
  TCustomForm* form = link->Form;
  if (form == nullptr || form->ComponentState().Contains(csDestroying)) return;
  // Still the outermost link: the form gets its own procedure back.
  if (auto* p = form->WindowProc.target<TFormProc>(); p != nullptr && p->Link == link)
    form->WindowProc = link->Previous;
}

void TZadEdevAziPager::FormWndProc(TMessage& Message) {
  const std::shared_ptr<TFormLink> link = FFormLink;
  if (link == nullptr) return;
  if (Message.Msg == CM_MOUSEWHEEL && FEnableWheel && FExpanded && HandleAllocated()) {
    const TPoint screen{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    const TPoint p = ScreenToClient(screen);
    if (ClientRect().Contains(p) && (!FNonActiveMouseWheelOnFocus || GetFocus() != Handle()) &&
        !toolbar::ContainsFocus(this)) {
      // Towards the user (a negative distance): the next page.
      const Integer delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
      if (delta < 1)
        NextActivePage();
      else
        PrevActivePage();
      Message.Result = 1;
      return;
    }
  }
  if (Message.Msg == WM_KEYDOWN && FKeyTips.State() == TKeyTipState::Showing &&
      FKeyTips.Level() != TKeyTipLevel::Tabs) {
    // The form itself holds the focus (no button of the level could take
    // it): the level's keys still reach key-tip mode.
    if (ToolBarKeyTipKey(Word(Message.WParam))) {
      Message.Result = 0;
      return;
    }
  }
  TDestroyWatch watch(this);
  if (link->Previous) link->Previous(Message);
  if (watch.Gone() || link->Pager != this) return;
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_LBUTTONDOWN:
    case WM_MOVING: HideTabShortCutHints(true); break;
    case WM_SYSCOMMAND:
      if ((Message.WParam & 0xFFF0) == SC_MINIMIZE || (Message.WParam & 0xFFF0) == SC_MAXIMIZE)
        HideTabShortCutHints(true);
      break;
    default: break;
  }
}

void TZadEdevAziPager::SubclassOnCreateWnd() {
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  UnsubclassParentForm();
  SubclassParentForm();
}

// ---------------------------------------------------------------------------
// Messages

bool TZadEdevAziPager::KeyMessage(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: CMDialogKeyMsg(Message); return true;
    case CM_DIALOGCHAR: CMDialogCharMsg(Message); return true;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    case WM_KEYDOWN: return WMKeyDownMsg(Message);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return true;
    case CM_FOCUSCHANGED: CMFocusChangedMsg(Message); return true;
    case WM_LBUTTONDOWN:
      if (FKeyTips.State() == TKeyTipState::Showing) HideTabShortCutHints(true);
      return false;
    case WM_DESTROY: UnsubclassParentForm(); return false;
    default: break;
  }
  if (toolbar::WM_TBPSETIGNOREALT != 0 && Message.Msg == toolbar::WM_TBPSETIGNOREALT) {
    FIgnoreALT = Message.WParam != 0;
    return false;
  }
  return false;
}

void TZadEdevAziPager::CMDialogKeyMsg(TMessage& Message) {
  const Word key = Word(Message.WParam);
  const bool menuKey = key == VK_MENU || key == VK_F10;
  if (!TabStop() || FIgnoreALT || ActivePage() == nullptr || !menuKey) {
    FKeyTips.CancelArming();
    if (FShortCutTimer != nullptr) FShortCutTimer->SetEnabled(false);
    TCustomControl::Dispatch(Message);
    return;
  }
  if (FKeyTips.State() == TKeyTipState::Showing) {
    // A second Alt or F10, after the first was released, leaves key-tip mode.
    if (FKeyTips.MenuKeyDown(key, false)) {
      HideTabShortCutHints(true);
      HideToolBarKeyTips();
      Message.Result = 1;
      return;
    }
    TCustomControl::Dispatch(Message);
    return;
  }
  if (CanFocus()) {
    FFocusCtrlH = GetFocus();
    FKeyTips.MenuKeyDown(key, true);
    if (FShortCutTimer == nullptr) {
      FShortCutTimer = new TTimer(this);
      FShortCutTimer->SetInterval(TKeyTips::TimerInterval);
      FShortCutTimer->OnTimer = [this](TObject* s) { KeyTipTimerTick(s); };
    }
    FShortCutTimer->SetEnabled(true);
    TCustomControl::Dispatch(Message);
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TZadEdevAziPager::CMDialogCharMsg(TMessage& Message) {
  FKeyTips.CancelArming();
  if (FShortCutTimer != nullptr && !FKeyTips.TimerWanted()) FShortCutTimer->SetEnabled(false);
  if (GetKeyState(VK_MENU) < 0 && CanFocus()) {
    for (Integer i = 0; i < AdvPageCount(); ++i) {
      TAdvPage* p = AdvPages(i);
      if (p->TabVisible() && IsAccel(Word(Message.WParam), p->Caption())) {
        SetActivePageIndex(i);
        Message.Result = 1;
        return;
      }
    }
  }
  TCustomControl::Dispatch(Message);
}

void TZadEdevAziPager::KeyUp(Word& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (!Shift.Contains(ssAlt)) FKeyTips.AltReleased();
}

bool TZadEdevAziPager::WMKeyDownMsg(TMessage& Message) {
  const Word key = Word(Message.WParam);
  const bool winKey = GetKeyState(VK_LWIN) < 0;
  if (FKeyTips.State() == TKeyTipState::Showing && FKeyTips.Level() != TKeyTipLevel::Tabs) {
    // The pager kept the focus (a page without focusable buttons).
    if (ToolBarKeyTipKey(key)) return true;
  }
  switch (key) {
    case VK_ESCAPE:
      HideTabShortCutHints(false);
      if (Parent() != nullptr)
        if (TWinControl* prev = Parent()->FindNextControl(this, false, false, true); prev != nullptr && prev->CanFocus())
          prev->SetFocus();
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (!winKey) {
        HideTabShortCutHints(false);
        SelectNextPage(key == VK_RIGHT);
      }
      break;
    case VK_DOWN:
      if (!winKey)
        if (TAdvPage* page = ActivePage(); page != nullptr && Focused() && page->ZadEdevAziCount() > 0)
          if (toolbar::TZadEdevAzi* tb = page->GetFirstToolBar(true); tb != nullptr && tb->CanFocus()) {
            tb->SetFocus();
            HideTabShortCutHints(false);
          }
      break;
    case VK_F1:
      // The office hint that would name the control is not part of this
      // system: the look-up finds nothing and F1 does nothing.
      break;
    default:
      if (TabShortCutHintShowing()) TabKeyTipKey(key);
      break;
  }
  TCustomControl::Dispatch(Message);
  return true;
}

void TZadEdevAziPager::CMFocusChangedMsg(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  HWND focus = GetFocus();
  bool focused = Focused();
  if (!focused && HandleAllocated() && focus != nullptr)
    focused = focus == Handle() || IsWindowInside(Handle(), focus);
  if (!focused && !ComponentState().Contains(csDesigning)) {
    HideTabShortCutHints(false);
    // The toolbar levels end when the focus leaves what shows their tips.
    if (FKeyTips.State() == TKeyTipState::Showing && FKeyTips.Level() != TKeyTipLevel::Tabs) {
      TWinControl* holder = FKeyTips.Level() == TKeyTipLevel::Buttons ? static_cast<TWinControl*>(FKeyTipClone)
                                                                     : static_cast<TWinControl*>(FKeyTipPage);
      const bool inside = holder != nullptr && holder->HandleAllocated() && focus != nullptr &&
                          (focus == holder->Handle() || IsWindowInside(holder->Handle(), focus));
      if (!inside) HideToolBarKeyTips();
    }
  }
  Invalidate();
}

// ---------------------------------------------------------------------------
// Arming and the key-tip timer

void TZadEdevAziPager::KeyTipTimerTick(TObject*) {
  const TKeyTipTick t = FKeyTips.Tick(GetKeyState(VK_MENU) < 0, GetKeyState(VK_F10) < 0);
  if (t == TKeyTipTick::Wait) return;
  FShortCutTimer->SetEnabled(false);
  if (t == TKeyTipTick::Activate) ActivateKeyTips();
}

void TZadEdevAziPager::ActivateKeyTips() {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form->HandleAllocated() && GetActiveWindow() == form->Handle()) {
    if (!Focused() && CanFocus()) SetFocus();
    ShowTabShortCutHints();
  }
}

void TZadEdevAziPager::HookKeyDown(Word Key) {
  if (Key != VK_MENU && Key != VK_F10 && FKeyTips.State() == TKeyTipState::Armed) {
    // Another key while Alt waits: an Alt combination, no key tips.
    FKeyTips.CancelArming();
    if (FShortCutTimer != nullptr) FShortCutTimer->SetEnabled(false);
  }
  // Ctrl+F1 without Shift and Alt shows or hides the pages.
  if (Key == VK_F1 && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0) {
    if (FExpanded)
      Collaps();
    else
      Expand();
  }
}

// ---------------------------------------------------------------------------
// The tab level

void TZadEdevAziPager::ShowShortCutHint() { ShowTabShortCutHints(); }

void TZadEdevAziPager::HideShortCutHint() {
  HideTabShortCutHints(true);
  HideToolBarKeyTips();
}

void TZadEdevAziPager::ShowTabShortCutHints() {
  if (FDestroying) return;
  if (FKeyTips.State() != TKeyTipState::Showing && KeyTipsCaptureMouse && HandleAllocated()) {
    SetCapture(Handle());
    FMouseCaptured = true;
  }
  HideLevelTips();
  std::vector<String> tips;
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    TAdvPage* p = AdvPages(i);
    tips.push_back(p->TabEnabled() && p->TabVisible() ? p->ShortCutHint() : String());
  }
  FKeyTips.Show(TKeyTipLevel::Tabs, tips);
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    if (FKeyTips.Visible()[std::size_t(i)])
      AdvPages(i)->ShowShortCutHint(FKeyTips.Tips()[std::size_t(i)]);
    else
      AdvPages(i)->HideShortCutHint();
  }
  if (TAdvQuickAccessToolBar* q = QuickAccessToolBar(); q != nullptr && q->Visible()) q->ShowShortCutHints();
  SendToAppButton(CM_HINTSHOW, 1, 1);
}

void TZadEdevAziPager::HideTabShortCutHints(bool AlsoToolBars) {
  if (FMouseCaptured) {
    FMouseCaptured = false;
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  }
  const bool wasOn = TabShortCutHintShowing();
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    AdvPages(i)->HideShortCutHint();
    if (AlsoToolBars) AdvPages(i)->HideToolBarsShortCutHint();
  }
  // The tips' state may have ended already (a key that matched nothing).
  if (TAdvQuickAccessToolBar* q = QuickAccessToolBar()) q->HideShortCutHints();
  if (wasOn) SendToAppButton(CM_HINTSHOW, 1, 0);
  if (AlsoToolBars) {
    HideToolBarKeyTips();
    SendToAppButton(toolbar::WM_TBSHOWSHORTCUTHINT, 0, 0);
  }
  if (wasOn) FKeyTips.Hide();
}

// The quick-access toolbar hears what was typed when no tab took it; true
// when one of its buttons matched (and ran).
bool TZadEdevAziPager::QuickAccessKeyTip(const String& Typed) {
  TAdvQuickAccessToolBar* q = QuickAccessToolBar();
  if (q == nullptr || !q->Visible() || Typed.empty()) return false;
  Integer count = 0;
  if (!q->ProcessShortCutKey(Typed, count)) return false;
  HideTabShortCutHints(false);
  return true;
}

void TZadEdevAziPager::TabKeyTipKey(Word Key) {
  // What was typed with this key, for the quick-access toolbar.
  String typed = FKeyTips.Typed();
  if (Char c = 0; TKeyTips::KeyToChar(Key, c)) typed += UpperCase(String(1, c));
  Integer index = -1;
  const TKeyTipAnswer a = FKeyTips.Key(Key, index);
  switch (a) {
    case TKeyTipAnswer::Partial:
      for (Integer i = 0; i < AdvPageCount(); ++i)
        if (!FKeyTips.Visible()[std::size_t(i)]) AdvPages(i)->HideShortCutHint();
      QuickAccessKeyTip(typed);
      return;
    case TKeyTipAnswer::Matched: {
      TAdvPage* page = AdvPages(index);
      FKeyTips.Hide();
      HideTabShortCutHints(false);
      SetActivePageIndex(index);
      if (ActivePage() != page) return;  // vetoed
      // A minimised ribbon shows the page floating; its tips are the clone's.
      if (!FExpanded && !IsFloatingRibbonShowing()) ShowFloatingRibbon();
      TAdvPage* shown = FExpanded ? page : page->SelfClone();
      if (shown == nullptr) return;
      if (toolbar::TZadEdevAzi* tb = shown->GetFirstToolBar(true); tb != nullptr && tb->CanFocus()) tb->SetFocus();
      ShowToolBarKeyTips(shown);
      return;
    }
    case TKeyTipAnswer::NoMatch:
      if (QuickAccessKeyTip(typed)) return;
      HideTabShortCutHints(false);
      MessageBeep(0);
      return;
    case TKeyTipAnswer::Ended:
    case TKeyTipAnswer::Back: HideTabShortCutHints(false); return;
  }
}

// ---------------------------------------------------------------------------
// The toolbar and clone levels

void TZadEdevAziPager::ShowLevel(TKeyTipLevel Level) {
  std::vector<String> tips;
  for (TControl* c : FKeyTipTargets) {
    auto* g = dynamic_cast<TAdvCustomGlowButton*>(c);
    tips.push_back(g != nullptr ? g->ShortCutHint() : String());
    if (c != nullptr) c->FreeNotification(this);
  }
  FKeyTips.Show(Level, tips);
  if (FKeyTips.VisibleCount() == 0) {
    // Nothing to type at this level: key-tip mode ends here.
    HideToolBarKeyTips();
    return;
  }
  for (std::size_t i = 0; i < FKeyTipTargets.size(); ++i)
    if (FKeyTips.Visible()[i])
      static_cast<TAdvCustomGlowButton*>(FKeyTipTargets[i])->ShowShortCutHintText(FKeyTips.Tips()[i]);
}

void TZadEdevAziPager::ShowToolBarKeyTips(TAdvPage* Page) {
  if (Page == nullptr || FDestroying) return;
  HideLevelTips();
  FKeyTipPage = Page;
  FKeyTipClone = nullptr;
  Page->FreeNotification(this);
  std::vector<TAdvCustomGlowButton*> buttons;
  for (Integer i = 0; i < Page->ZadEdevAziCount(); ++i)
    if (toolbar::TZadEdevAzi* tb = Page->GetZadEdevAzis(i); tb != nullptr && tb->Visible() && tb->Enabled())
      tb->CollectKeyTipButtons(buttons);
  FKeyTipTargets.assign(buttons.begin(), buttons.end());
  Page->SetToolBarShortCutShowing(true);
  ShowLevel(TKeyTipLevel::ToolBars);
}

void TZadEdevAziPager::ShowCloneKeyTips(TAdvCustomToolBar* Clone) {
  if (Clone == nullptr || FDestroying) return;
  HideLevelTips();
  FKeyTipClone = Clone;
  Clone->FreeNotification(this);
  std::vector<TAdvCustomGlowButton*> buttons;
  Clone->CollectKeyTipButtons(buttons);
  FKeyTipTargets.assign(buttons.begin(), buttons.end());
  ShowLevel(TKeyTipLevel::Buttons);
}

void TZadEdevAziPager::HideLevelTips() {
  for (TControl* c : FKeyTipTargets)
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) g->HideShortCutHint();
  FKeyTipTargets.clear();
  if (FKeyTipPage != nullptr) FKeyTipPage->SetToolBarShortCutShowing(false);
}

void TZadEdevAziPager::HideToolBarKeyTips() {
  HideLevelTips();
  if (FKeyTips.State() == TKeyTipState::Showing && FKeyTips.Level() != TKeyTipLevel::Tabs) FKeyTips.Hide();
  FKeyTipPage = nullptr;
  FKeyTipClone = nullptr;
}

String TZadEdevAziPager::ShownKeyTip(const TControl* Button) const {
  if (FKeyTips.State() != TKeyTipState::Showing || FKeyTips.Level() == TKeyTipLevel::Tabs) return String();
  for (std::size_t i = 0; i < FKeyTipTargets.size(); ++i)
    if (FKeyTipTargets[i] == Button && FKeyTips.Visible()[i]) return FKeyTips.Tips()[i];
  return String();
}

bool TZadEdevAziPager::ToolBarKeyTipKey(Word Key) {
  if (FKeyTips.State() != TKeyTipState::Showing || FKeyTips.Level() == TKeyTipLevel::Tabs) return false;
  const TKeyTipLevel level = FKeyTips.Level();
  Integer index = -1;
  switch (FKeyTips.Key(Key, index)) {
    case TKeyTipAnswer::Partial:
      for (std::size_t i = 0; i < FKeyTipTargets.size(); ++i)
        if (!FKeyTips.Visible()[i])
          if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(FKeyTipTargets[i])) g->HideShortCutHint();
      return true;
    case TKeyTipAnswer::Matched: RunToolBarKeyTip(index); return true;
    case TKeyTipAnswer::NoMatch:
      HideToolBarKeyTips();
      MessageBeep(0);
      return true;
    case TKeyTipAnswer::Ended:
      // Not a key-tip key: the tips go and the key does its usual work.
      HideToolBarKeyTips();
      return false;
    case TKeyTipAnswer::Back:
      if (level == TKeyTipLevel::Buttons) {
        TAdvCustomToolBar* clone = FKeyTipClone;
        TAdvPage* page = FKeyTipPage;
        HideLevelTips();
        FKeyTipClone = nullptr;
        if (clone != nullptr)
          if (TAdvCustomToolBar* pageToolBar = clone->SelfClone())
            if (TAdvGlowButton* b = pageToolBar->CompactButton(); b != nullptr && b->Visible() && b->CanFocus())
              b->SetFocus();
        if (page != nullptr) ShowToolBarKeyTips(page);
        return true;
      }
      HideToolBarKeyTips();
      FChangeByKeyPress = true;
      if (CanFocus()) SetFocus();
      ShowTabShortCutHints();
      return true;
  }
  return false;
}

void TZadEdevAziPager::RunToolBarKeyTip(Integer Index) {
  TControl* target = Index >= 0 && std::size_t(Index) < FKeyTipTargets.size() ? FKeyTipTargets[std::size_t(Index)]
                                                                            : nullptr;
  TAdvPage* page = FKeyTipPage;
  HideLevelTips();
  FKeyTips.Hide();
  FKeyTipClone = nullptr;
  FKeyTipPage = page;  // a compact button's clone level still belongs to the page
  auto* g = dynamic_cast<TAdvCustomGlowButton*>(target);
  TAdvCustomToolBar* tb = ToolBarOf(target);
  if (g == nullptr || tb == nullptr) {
    FKeyTipPage = nullptr;
    return;
  }
  tb->RunKeyTipButton(g);
  if (FKeyTips.State() != TKeyTipState::Showing) FKeyTipPage = nullptr;
}

// ---------------------------------------------------------------------------
// Focus

void TZadEdevAziPager::RestoreFocusedControl() {
  if (ComponentState().Contains(csDesigning) || FFocusCtrlH == nullptr) return;
  if (HandleAllocated() && IsWindowInside(Handle(), FFocusCtrlH)) return;
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr || !form->HandleAllocated()) return;
  const HWND focus = GetFocus();
  if (focus != form->Handle() && !IsWindowInside(form->Handle(), focus)) return;
  // The window remembered at Alt may be gone, elsewhere or disabled by now.
  TWinControl* c = IsWindow(FFocusCtrlH) ? FindControl(FFocusCtrlH) : nullptr;
  const HWND target = FFocusCtrlH;
  FFocusCtrlH = nullptr;
  if (c == nullptr || !c->HandleAllocated() || c->Handle() != target || GetParentForm(c) != form || !c->CanFocus())
    return;
  c->SetFocus();
}

bool TZadEdevAziPager::IsWindowInside(HWND Outer, HWND Inner) const {
  if (ComponentState().Contains(csDesigning) || Outer == Inner || !HandleAllocated() || Inner == nullptr) return false;
  HWND w = Inner;
  for (int i = 0; i < MaxParentWalk && w != nullptr; ++i) {
    w = GetParent(w);
    if (w == Outer) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Key-tip windows of the pages

TShortCutHintWindow* TZadEdevAziPager::CreateShortCutHintWindow() {
  auto* w = new TShortCutHintWindow(this);
  w->SetColor(TColor(0x00FFFFFF));
  if (toolbar::TCustomZadEdevAziStyler* s = FCurrentToolBarStyler)
    w->SetColorTo(s->GlowButtonAppearance()->Color());
  FShortCutHintWinList.push_back(w);
  return w;
}

void TZadEdevAziPager::FreeShortCutHintWindow(TShortCutHintWindow* Item) {
  if (Item == nullptr) return;
  auto it = std::find(FShortCutHintWinList.begin(), FShortCutHintWinList.end(), Item);
  if (it == FShortCutHintWinList.end()) return;
  *it = nullptr;
  delete Item;
}

// ---------------------------------------------------------------------------
// Page stepping

void TZadEdevAziPager::NextActivePage() {
  for (Integer i = std::max<Integer>(FActivePageIndex + 1, 0); i < AdvPageCount(); ++i) {
    TAdvPage* p = AdvPages(i);
    if (p->TabEnabled() && p->TabVisible()) {
      SetActivePageIndex(i);
      return;
    }
  }
}

void TZadEdevAziPager::PrevActivePage() {
  if (FActivePageIndex <= 0) return;
  for (Integer i = FActivePageIndex - 1; i >= 0; --i) {
    TAdvPage* p = AdvPages(i);
    if (p->TabEnabled() && p->TabVisible()) {
      SetActivePageIndex(i);
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Compact buttons

void TZadEdevAziPager::SetLastDroppedCompactBtn(TAdvGlowButton* Value) {
  FLastDroppedCompactBtn = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TZadEdevAziPager::DropDownCompactButtonAtCursor() {
  TAdvPage* page = ActivePage();
  if (ComponentState().Contains(csDesigning) || page == nullptr) {
    FLastDroppedCompactBtn = nullptr;
    return;
  }
  const HWND under = WindowFromPoint(Mouse->CursorPos());
  TWinControl* c = under != nullptr ? FindControl(under) : nullptr;
  if (c == nullptr || UpperCase(c->ClassName()) != u"TADVGLOWBUTTON") return;
  TAdvGlowButton* b = page->FindCompactButton(under);
  if (b == nullptr || b == FLastDroppedCompactBtn) return;
  if (b->CanFocus()) b->SetFocus();
  b->Repaint();
  b->KeyboardClick();
}

void TZadEdevAziPager::KeyTipNotification(TComponent* AComponent) {
  for (TControl*& c : FKeyTipTargets)
    if (c == AComponent) c = nullptr;
  if (AComponent == FKeyTipPage) FKeyTipPage = nullptr;
  if (AComponent == FKeyTipClone) FKeyTipClone = nullptr;
  if (AComponent == FLastDroppedCompactBtn) FLastDroppedCompactBtn = nullptr;
}

}  // namespace ribbon
