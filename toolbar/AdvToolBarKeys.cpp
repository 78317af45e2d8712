// A toolbar on a ribbon page (or the clone in a compact window) as a ribbon
// group: arrow keys between its glow buttons and on to the neighbouring
// groups, Escape and Up back to the pager's tabs, key tips matched and run,
// the hover fade of its background, and the rows its small buttons stand in.
#include <algorithm>

#include "controls/AdvGlowButton.h"
#include "controls/GlowButtonPainter.h"
#include "platform/rtl/DestroyWatch.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/HintWindow.h"
#include "platform/win/Keyboard.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/CompactWindow.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

// The glow buttons of a windowed control at any depth (enabled, visible,
// showing controls only).
void CollectInside(TWinControl* W, std::vector<TAdvCustomGlowButton*>& Out) {
  for (Integer i = 0; i < W->ControlCount(); ++i) {
    TControl* c = W->Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) {
      Out.push_back(g);
      continue;
    }
    if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && w->Showing()) CollectInside(w, Out);
  }
}

bool ClassIs(const TObject* O, StringView Name) { return O != nullptr && O->ClassName() == Name; }

void FocusIfCan(TWinControl* W) {
  if (W != nullptr && W->CanFocus()) W->SetFocus();
}

}  // namespace

IToolBarPage* TAdvCustomToolBar::KeyTipPage() const {
  if (IToolBarPage* p = GetPage()) return p;
  if (OnCompactWindow() && FSelfClone != nullptr) return FSelfClone->GetPage();
  return nullptr;
}

// ---------------------------------------------------------------------------
// Key tips

void TAdvCustomToolBar::CollectKeyTipButtons(std::vector<TAdvCustomGlowButton*>& Buttons) const {
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = static_cast<TControl*>(FATBControls->Items(i));
    if (!c->Visible() || !c->Enabled()) continue;
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) {
      Buttons.push_back(g);
      continue;
    }
    if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && w->Showing()) CollectInside(w, Buttons);
  }
}

void TAdvCustomToolBar::ShowShortCutHints() {
  std::vector<TAdvCustomGlowButton*> buttons;
  CollectKeyTipButtons(buttons);
  for (TAdvCustomGlowButton* g : buttons)
    if (!g->ShortCutHint().empty()) g->ShowShortCutHint();
}

void TAdvCustomToolBar::HideShortCutHints() {
  std::vector<TAdvCustomGlowButton*> all;
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = static_cast<TControl*>(FATBControls->Items(i));
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c))
      all.push_back(g);
    else if (auto* w = dynamic_cast<TWinControl*>(c))
      CollectInside(w, all);
  }
  for (TAdvCustomGlowButton* g : all) g->HideShortCutHint();
  FCompactShortCutHintShowing = false;
}

bool TAdvCustomToolBar::HandleShortCutHintKey(const String& Keys, Integer& PartialCount) {
  if (Keys.empty()) return false;
  std::vector<TAdvCustomGlowButton*> buttons;
  CollectKeyTipButtons(buttons);
  for (TAdvCustomGlowButton* g : buttons) {
    const String& tip = g->ShortCutHint();
    if (tip.empty()) continue;
    if (SameText(tip, Keys)) {
      RunKeyTipButton(g);
      return true;
    }
    if (tip.size() > Keys.size() && SameText(StringView(tip).substr(0, Keys.size()), Keys))
      ++PartialCount;
    else
      g->HideShortCutHint();
  }
  return false;
}

void TAdvCustomToolBar::RunKeyTipButton(TAdvCustomGlowButton* Button) {
  if (Button == nullptr || !Button->Visible() || !Button->Enabled()) return;
  IToolBarPage* page = KeyTipPage();
  const bool compactButton = Button == FCompactBtn;
  if (Button->CanFocus()) Button->SetFocus();
  Button->Repaint();
  TDestroyWatch watch(Button);
  if (Button->IsMenuButton()) {
    Button->DoDropDown();
  } else {
    Button->KeyboardClick();
    if (!watch.Gone() && Button->GroupIndex() > 0) Button->SetDown(true);
  }
  if (!compactButton && page != nullptr && page->InFloatingRibbon()) page->HideFloatingRibbon();
  if (compactButton && FCompact && FSelfClone != nullptr && page != nullptr) {
    // The group's buttons are the next level.
    FSelfClone->FCompactShortCutHintShowing = true;
    page->ShowCloneKeyTips(FSelfClone);
    if (FCompactWindow != nullptr && FCompactWindow->Visible()) FocusIfCan(FSelfClone);
    return;
  }
  KeyTipUsed(this);
}

void TAdvCustomToolBar::KeyTipUsed(TControl*) {
  if (Parent() == nullptr || ComponentState().Contains(csDesigning)) return;
  if (IToolBarPage* page = KeyTipPage()) page->KeyTipUsed();
}

// ---------------------------------------------------------------------------
// Focus order

TWinControl* TAdvCustomToolBar::FirstFocusableControl(bool ACanFocus) {
  if (FCompact && FCompactBtn != nullptr) return FCompactBtn->CanFocus() ? FCompactBtn : nullptr;
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* w : list) {
    if (dynamic_cast<THintWindow*>(w) != nullptr || dynamic_cast<TCompactWindow*>(w) != nullptr ||
        dynamic_cast<TAdvCustomToolBar*>(w) != nullptr)
      continue;
    if (ACanFocus && !w->CanFocus()) continue;
    return w;
  }
  return nullptr;
}

TWinControl* TAdvCustomToolBar::LastFocusableControl(bool ACanFocus) {
  if (FCompact && FCompactBtn != nullptr) return FCompactBtn->CanFocus() ? FCompactBtn : nullptr;
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    TWinControl* w = *it;
    if (dynamic_cast<THintWindow*>(w) != nullptr || dynamic_cast<TCompactWindow*>(w) != nullptr ||
        dynamic_cast<TAdvCustomToolBar*>(w) != nullptr)
      continue;
    if (ACanFocus && !w->CanFocus()) continue;
    return w;
  }
  return nullptr;
}

bool TAdvCustomToolBar::HasDroppedDownControl() const {
  std::vector<TAdvCustomGlowButton*> all;
  for (Integer i = 0; i < FATBControls->Count(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(static_cast<TControl*>(FATBControls->Items(i)))) {
      if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(w))
        all.push_back(g);
      else
        CollectInside(w, all);
    }
  return std::any_of(all.begin(), all.end(), [](TAdvCustomGlowButton* g) { return g->DroppedDown(); });
}

// ---------------------------------------------------------------------------
// The glow buttons' internal events

void TAdvCustomToolBar::HookGlowButtons() {
  if (!OnPage()) return;
  auto hook = [this](TAdvCustomGlowButton* g) {
    g->FOnInternalKeyDown = [this](TObject* s, Word& k, TShiftState sh) { GlowButtonKeyDown(s, k, sh); };
    g->FOnSetButtonSize = [this](TObject* s, Integer& w, Integer& h) { GlowButtonSetButtonSize(s, w, h); };
    g->FOnGetShortCutHintPos = [this](TObject* s, TButtonSizeState, TShortCutHintPos& p) {
      GlowButtonShortCutHintPos(s, p);
    };
  };
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = static_cast<TControl*>(FATBControls->Items(i));
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) hook(g);
    else if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && ClassIs(c, u"TZadEdevAziContainer"))
      for (Integer j = 0; j < w->ControlCount(); ++j)
        if (auto* g2 = dynamic_cast<TAdvCustomGlowButton*>(w->Controls(j))) hook(g2);
  }
}

void TAdvCustomToolBar::GlowButtonSetButtonSize(TObject* Sender, Integer&, Integer& H) {
  auto* g = dynamic_cast<TAdvCustomGlowButton*>(Sender);
  if (g == nullptr || g->ButtonSizeState() != bsLarge) return;
  const bool autoPos = FCompact ? FOldAutoPosition : FAutoPositionControls;
  if (autoPos) H = Height() - FCaptionHeight - 5;
}

void TAdvCustomToolBar::GlowButtonShortCutHintPos(TObject* Sender, TShortCutHintPos& Pos) {
  auto* c = dynamic_cast<TControl*>(Sender);
  if (Pos != shpAuto || c == nullptr) return;
  if (c->Height() >= Height() - FCaptionHeight - 15) {
    Pos = shpBottom;
    return;
  }
  const auto near = [c](Integer Row) { return Row > 0 && std::abs(c->Top() - Row) <= 4; };
  if (near(FButtonRows[0]))
    Pos = FButtonRows[2] > 0 ? shpTopLeft : shpAboveTopLeft;
  else if (near(FButtonRows[1]))
    Pos = FButtonRows[2] > 0 ? shpLeft : shpBelowBottomLeft;
  else
    Pos = shpBottomLeft;
}

void TAdvCustomToolBar::UpdateButtonRows() {
  IToolBarPage* page = GetPage();
  if (page == nullptr || !page->HasPager()) return;
  FButtonRows = {-100, -100, -100};
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = static_cast<TControl*>(FATBControls->Items(i));
    if (!c->Visible() || c->Top() < 0) continue;
    bool placed = false;
    for (Integer& row : FButtonRows)
      if (row != -100 && std::abs(c->Top() - row) <= 4) {
        placed = true;
        break;
      }
    if (placed) continue;
    for (Integer& row : FButtonRows)
      if (row == -100) {
        row = c->Top();
        break;
      }
  }
  if (FButtonRows[1] < FButtonRows[0] && FButtonRows[1] > 0) std::swap(FButtonRows[0], FButtonRows[1]);
  if (FButtonRows[2] < FButtonRows[1] && FButtonRows[2] > 0 && FButtonRows[1] > 0)
    std::swap(FButtonRows[1], FButtonRows[2]);
}

void TAdvCustomToolBar::GlowButtonKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
  auto* sender = dynamic_cast<TWinControl*>(Sender);
  if (sender == nullptr) return;
  IToolBarPage* page = KeyTipPage();
  if (page != nullptr && page->ToolBarKeyTipsShowing()) {
    // Key-tip mode takes every key while it lasts (Escape goes back a level).
    if (page->ToolBarKeyTipKey(Key)) {
      Key = 0;
      return;
    }
  }
  if (page != nullptr && Key == VK_ESCAPE && page->InFloatingRibbon()) page->HideFloatingRibbon();
  if (!Shift.Empty()) return;
  // The toolbar the button stands in now (the clone while compact).
  auto* owner = dynamic_cast<TAdvCustomToolBar*>(sender->Parent());
  if (owner == nullptr) owner = this;
  switch (Key) {
    case VK_ESCAPE:
    case VK_UP:
      if (page != nullptr) page->FocusPagerTabs();
      return;
    case VK_LEFT:
    case VK_RIGHT: {
      const bool right = Key == VK_RIGHT;
      std::vector<TWinControl*> list;
      owner->GetTabOrderList(list);
      std::erase_if(list, [](TWinControl* w) {
        return dynamic_cast<THintWindow*>(w) != nullptr || ClassIs(w, u"TZadEdevAziContainer") || !w->CanFocus();
      });
      const auto at = std::find(list.begin(), list.end(), sender);
      const bool edge = at == list.end() || (right ? at == list.end() - 1 : at == list.begin());
      if (!edge) {
        FocusIfCan(right ? *(at + 1) : *(at - 1));
        return;
      }
      IToolBarPage* onPage = owner->GetPage();
      if (onPage == nullptr) return;
      // The page's visible toolbars left to right; the walk wraps round.
      std::vector<TAdvCustomToolBar*> bars;
      for (Integer i = 0; i < onPage->ToolBarCount(); ++i)
        if (TAdvCustomToolBar* tb = onPage->ToolBarAt(i); tb != nullptr && tb->Visible()) bars.push_back(tb);
      std::stable_sort(bars.begin(), bars.end(),
                       [](TAdvCustomToolBar* a, TAdvCustomToolBar* b) { return a->Left() < b->Left(); });
      const auto me = std::find(bars.begin(), bars.end(), owner);
      if (me == bars.end() || bars.size() < 2) return;
      const std::size_t n = bars.size(), i = std::size_t(me - bars.begin());
      TAdvCustomToolBar* next = bars[right ? (i + 1) % n : (i + n - 1) % n];
      FocusIfCan(right ? next->FirstFocusableControl(true) : next->LastFocusableControl(true));
      return;
    }
    default: return;
  }
}

// ---------------------------------------------------------------------------
// Messages

bool TAdvCustomToolBar::RibbonKeyMessage(TMessage& Message) {
  const bool ribbonParent = OnPage() || OnCompactWindow();
  switch (Message.Msg) {
    case WM_KEYDOWN: {
      if (!ribbonParent) return false;
      Word key = Word(Message.WParam);
      IToolBarPage* page = KeyTipPage();
      if (page != nullptr && page->ToolBarKeyTipsShowing()) {
        if (page->ToolBarKeyTipKey(key)) return true;
      }
      if (!InMenuLoop()) {
        if (OnCompactWindow()) {
          if (key == VK_ESCAPE || key == VK_UP) {
            if (page != nullptr) page->FocusPagerTabs();
          } else if (key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN) {
            FocusIfCan(FirstFocusableControl(true));
          }
        } else if (page != nullptr && page->InFloatingRibbon()) {
          if (key == VK_ESCAPE) page->HideFloatingRibbon();
          if (key >= VK_LEFT && key <= VK_DOWN) FocusIfCan(FirstFocusableControl(true));
        }
      }
      TCustomControl::Dispatch(Message);
      return true;
    }
    case CM_FOCUSCHANGED: {
      TCustomControl::Dispatch(Message);
      if (!ribbonParent) return true;
      auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
      if (focused == this && FATBControls->Count() > 0 && !OnCompactWindow() && Parent() != nullptr &&
          Parent()->Parent() != nullptr && !ClassIs(Parent()->Parent(), u"TMinimizedRibbonWindow"))
        FocusIfCan(FirstFocusableControl(true));
      return true;
    }
    case CM_MOUSEENTER: {
      CMMouseEnter(Message);
      if (!ribbonParent || ComponentState().Contains(csDesigning)) return true;
      FHot = true;
      if (FTimer == nullptr) {
        FTimer = FSpentHoverTimer != nullptr ? FSpentHoverTimer : new TTimer(this);
        FSpentHoverTimer = nullptr;
        FTimer->SetInterval(Cardinal(std::max<Integer>(GlowSpeed, 1)));
        FTimer->OnTimer = [this](TObject* s) { HoverTimerTick(s); };
        FTimer->SetEnabled(true);
      }
      FTimeInc = 20;
      Invalidate();
      FGlowState = gsHover;
      return true;
    }
    case CM_MOUSELEAVE: {
      CMMouseLeave(Message);
      if (!ribbonParent || ComponentState().Contains(csDesigning) || FDragging) return true;
      FHot = false;
      if (FTimer == nullptr && FStepHover > 0) {
        FTimer = FSpentHoverTimer != nullptr ? FSpentHoverTimer : new TTimer(this);
        FSpentHoverTimer = nullptr;
        FTimer->SetInterval(Cardinal(std::max<Integer>(GlowSpeed, 1)));
        FTimer->OnTimer = [this](TObject* s) { HoverTimerTick(s); };
        FTimer->SetEnabled(true);
      }
      FTimeInc = -20;
      FGlowState = gsHover;
      Invalidate();
      return true;
    }
    default: return false;
  }
}

void TAdvCustomToolBar::HoverTimerTick(TObject*) {
  if (FTimer == nullptr) return;
  FStepHover += FTimeInc;
  TCustomZadEdevAziStyler* s = Styler();
  const bool noHot = s == nullptr || s->ColorHot()->Color() == clNone;
  if ((FStepHover > 100 && FTimeInc > 0) || (FStepHover < 0 && FTimeInc < 0) || noHot) {
    // The timer is running this tick: it stops and waits for the next fade.
    FTimer->SetEnabled(false);
    FSpentHoverTimer = FTimer;
    FTimer = nullptr;
    if (FStepHover < 0) {
      FStepHover = 0;
      FGlowState = gsNone;
    } else if (FStepHover > 100) {
      FStepHover = 100;
    }
    Invalidate();
    return;
  }
  Invalidate();
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = static_cast<TControl*>(FATBControls->Items(i));
    const bool container = ClassIs(c, u"TZadEdevAziContainer");
    if (container || dynamic_cast<TAdvGlowButton*>(c) != nullptr || c->ClassName().find(u"AdvOffice") != String::npos ||
        IsPublishedProp(c, u"Transparent"))
      c->Invalidate();
    if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && container)
      for (Integer j = 0; j < w->ControlCount(); ++j) {
        w->Controls(j)->Invalidate();
        if (FStepHover > 0) w->Controls(j)->Repaint();
      }
  }
}

}  // namespace toolbar
