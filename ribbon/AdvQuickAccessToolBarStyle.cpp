// The quick-access toolbar's ties to its window and to the pager's look: the
// application icon button with the window menu, the styler's appearance and
// style, colour tones, the key tips of its glow buttons and the hints of its
// disabled controls.
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Icon.h"
#include "platform/win/Window.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

TAdvCustomQuickAccessToolBar* QuickAccessToolBarOf(const TZadEdevAziPager* Pager) {
  if (Pager == nullptr) return nullptr;
  for (Integer i = 0; i < Pager->ControlCount(); ++i)
    if (auto* q = dynamic_cast<TAdvCustomQuickAccessToolBar*>(Pager->Controls(i))) return q;
  return nullptr;
}

namespace {

// A second click this soon after the one that opened the menu closes the form.
constexpr Cardinal AppIconDoubleClickMs = 300;

// The program's icon as our window answers it: the large one first for a
// wide button, then the small one.
HICON AskWindowIcon(TCustomForm* Form, bool Large) {
  if (Form == nullptr || !Form->HandleAllocated()) return nullptr;
  HICON h = nullptr;
  if (Large) h = reinterpret_cast<HICON>(Form->Perform(WM_GETICON, ICON_BIG, 0));
  if (h == nullptr) h = reinterpret_cast<HICON>(Form->Perform(WM_GETICON, ICON_SMALL2, 0));
  return h;
}

}  // namespace

// ---------------------------------------------------------------------------
// Application icon

void TAdvCustomQuickAccessToolBar::SetAppIconAlphaBlended(bool Value) {
  FAppIconAlphaBlended = Value;
  if (!ComponentState().Contains(csDesigning)) UpdateAppIcon();
}

void TAdvCustomQuickAccessToolBar::UpdateAppIcon() {
  if (ComponentState().Contains(csDestroying)) return;
  const Integer size = Integer(Round(16.0 * toolbar::ToolBarDPIScale));
  if (FAppIconButton == nullptr) {
    FAppIconButton = new TAppIconGlowButton(this);
    FAppIconButton->SetStaticButton(true);
    FAppIconButton->SetBounds(0, (toolbar::ScaledCaptionHeight - size) / 2, size, size);
    FAppIconButton->SetParent(this);
    FAppIconButton->SetFocusType(ftNone);
    FAppIconButton->SetTransparent(true);
    FAppIconButton->SetCaption(u"");
    FAppIconButton->SetEnabled(true);
    FAppIconButton->OnClick = [this](TObject* S) { AppIconButtonClick(S); };
  }
  TAppIconGlowButton* b = FAppIconButton;
  TZadEdevAziPager* p = Pager();
  if (!Scenic() && !IsOffice2013Style()) {
    b->SetVisible(false);
    b->SetBounds(b->Left(), b->Top(), 0, b->Height());
    if (b->Parent() != this) b->SetParent(this);
    return;
  }
  b->SetBounds(b->Left(), b->Top(), size, size);
  b->SetVisible(true);
  if (!ComponentState().Contains(csDesigning)) {
    if (!b->FIcon) b->FIcon = std::make_unique<TIcon>();
    if (!b->FIcon->Empty()) {
      if (HICON old = b->FIcon->ReleaseHandle()) DestroyIcon(old);
    }
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr && Application != nullptr) form = Application->MainForm();
    if (HICON h = AskWindowIcon(form, b->Width() > 31)) {
      // The window keeps its own handle; the button takes a copy.
      b->FIcon->SetHandle(CopyIcon(h));
      TBytes bytes;
      b->FIcon->SaveToBytes(bytes);
      TMemoryStream ms;
      if (!bytes.empty()) ms.WriteBuffer(bytes.data(), Integer(bytes.size()));
      ms.SetPosition(0);
      b->Picture()->LoadFromStream(&ms);
      if (!FAppIconAlphaBlended) b->FIcon.reset();
    }
  }
  if (FFullSize && p != nullptr) {
    if (b->Parent() != p) b->SetParent(p);
    b->SetBounds(6, 7, b->Width(), b->Height());
  } else {
    if (b->Parent() != this) b->SetParent(this);
    b->SetBounds(0, (toolbar::ScaledCaptionHeight - b->Height()) / 2, b->Width(), b->Height());
  }
}

void TAdvCustomQuickAccessToolBar::AppIconButtonClick(TObject*) {
  if (FAppIconButton == nullptr) return;
  const Cardinal now = GetTickCount();
  if (FAppButtonTime == 0 || now - FAppButtonTime > AppIconDoubleClickMs) {
    FAppButtonTime = now;
    TWinControl* host = FAppIconButton->Parent();
    if (host == nullptr) return;
    const TPoint at =
        host->ClientToScreen(TPoint{FAppIconButton->Left(), FAppIconButton->Top() + FAppIconButton->Height()});
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr) return;
    // The window menu of our own form; a chosen command goes to the form.
    const UINT cmd = TrackFormSystemMenu(form, at);
    if (cmd != 0) form->Perform(WM_SYSCOMMAND, cmd, 0);
    return;
  }
  // The quick second click closes the form the way its close button would:
  // OnCloseQuery may refuse and OnClose's action is honoured (the main form
  // ends the application only through that road).
  FAppButtonTime = 0;
  if (TCustomForm* form = GetParentForm(this)) form->Close();
}

// ---------------------------------------------------------------------------
// Styles and tones

void TAdvCustomQuickAccessToolBar::StylerChanged(Integer Kind) {
  if (Kind == 0 || (Kind >= 10 && Kind <= 12)) Invalidate();
  if (Kind == 0 || Kind == 2 || Kind == 7) ApplyStyler();
}

void TAdvCustomQuickAccessToolBar::ApplyStyler() {
  toolbar::TCustomZadEdevAziStyler* S = GetToolBarStyler();
  if (S == nullptr) return;
  const bool styled = dynamic_cast<IVornStyle*>(S) != nullptr && S->VornStyle() != tsCustom;
  // Every control gets the same: the style first, then the styler's own
  // glow-button colours, wherever the control stands now.
  auto apply = [&](TControl* c) {
    if (c == nullptr || c == FRefGlowButton) return;
    if (styled)
      if (auto* v = dynamic_cast<IVornStyle*>(c)) v->SetComponentStyle(S->VornStyle());
    if (auto* g = dynamic_cast<TAdvGlowButton*>(c)) g->Appearance()->Assign(S->GlowButtonAppearance());
  };
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == FCustomizeButton || c == FScrollButton || c == FOverflowWindow) continue;
    apply(c);
  }
  for (TControl* c : FHiddenCtrlList)
    if (c->Parent() != this) apply(c);
  if (FCustomizeButton != nullptr) FCustomizeButton->Appearance()->Assign(S->GlowButtonAppearance());
}

void TAdvCustomQuickAccessToolBar::ApplyColorTones(const TColorTones& Tones) {
  const TColorTone& bg = Tones.Background;
  if (bg.BrushColor == clNone && bg.BorderColor == clNone && bg.TextColor == clNone) return;
  TZadEdevAziPager* p = Pager();
  if (p == nullptr || !p->UsesTones()) return;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* g = dynamic_cast<TAdvGlowButton*>(Controls(i)); g != nullptr && g != FRefGlowButton)
      g->SetColorTones(Tones);
  for (TControl* c : FHiddenCtrlList)
    if (auto* g = dynamic_cast<TAdvGlowButton*>(c); g != nullptr && c->Parent() != this) g->SetColorTones(Tones);
  if (FHiddenCtrlList.empty() || FScrollButton == nullptr || !FScrollButton->Visible()) return;
  TGlowButtonAppearance* a = FScrollButton->Appearance();
  a->SetColor(bg.BrushColor);
  a->SetColorMirror(bg.BrushColor);
  for (auto set : {&TGlowButtonAppearance::SetColorTo, &TGlowButtonAppearance::SetColorMirrorTo,
                   &TGlowButtonAppearance::SetColorHotTo, &TGlowButtonAppearance::SetColorMirrorHotTo,
                   &TGlowButtonAppearance::SetColorDownTo, &TGlowButtonAppearance::SetColorMirrorDownTo})
    (a->*set)(clNone);
  a->SetBorderColor(bg.BorderColor);
  a->SetColorHot(Tones.Hover.BrushColor);
  a->SetColorMirrorHot(Tones.Hover.BrushColor);
  a->SetBorderColorHot(Tones.Hover.BorderColor);
  a->SetTextColorHot(Tones.Hover.TextColor);
  a->SetColorDown(Tones.Selected.BrushColor);
  a->SetColorMirrorDown(Tones.Selected.BrushColor);
  a->SetBorderColorDown(Tones.Selected.BorderColor);
  a->SetTextColorDown(Tones.Selected.TextColor);
}

// ---------------------------------------------------------------------------
// Key tips

void TAdvCustomQuickAccessToolBar::ShowShortCutHints() {
  // A button without a key tip shows no empty box: nothing could be typed for it.
  for (TControl* c : FCtrlList)
    if (auto* g = dynamic_cast<TAdvGlowButton*>(c); g != nullptr && g->Enabled() && g->Visible() &&
                                                    g->Parent() == this && !g->ShortCutHint().empty())
      g->ShowShortCutHint();
}

void TAdvCustomQuickAccessToolBar::HideShortCutHints() {
  for (TControl* c : FCtrlList)
    if (auto* g = dynamic_cast<TAdvGlowButton*>(c)) g->HideShortCutHint();
}

bool TAdvCustomQuickAccessToolBar::ProcessShortCutKey(const String& Keys, Integer& Count) {
  const String keys = UpperCase(Keys);
  // The click may change the list: walk a copy.
  const std::vector<TControl*> shown = FCtrlList;
  for (TControl* c : shown) {
    auto* g = dynamic_cast<TAdvGlowButton*>(c);
    if (g == nullptr) continue;
    const String tip = UpperCase(g->ShortCutHint());
    if (tip == keys) {
      if (g->Enabled() && g->Visible()) {
        if (g->CanFocus()) g->SetFocus();
        g->Invalidate();
        g->KeyboardClick();
      }
      RestorePagerFocus();
      return true;
    }
    if (tip.empty()) continue;
    if (tip.substr(0, keys.size()) != keys)
      g->HideShortCutHint();
    else
      ++Count;
  }
  return false;
}

void TAdvCustomQuickAccessToolBar::RestorePagerFocus() {
  if (ComponentState().Contains(csDesigning) || Pager() == nullptr) return;
  Pager()->RestoreFocusedControl();
}

// ---------------------------------------------------------------------------
// Hints of disabled controls

void TAdvCustomQuickAccessToolBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  TZadEdevAziPager* p = Pager();
  if (p == nullptr || !p->ShowDisabledControlsHint() || ComponentState().Contains(csDesigning)) return;
  TControl* c = ControlAtPos(TPoint{X, Y}, true, true, true);
  if (c == FHintCtrl) return;
  if (FHintCtrl != nullptr) FHintCtrl->RemoveFreeNotification(this);
  FHintCtrl = c;
  if (FHintCtrl != nullptr) FHintCtrl->FreeNotification(this);
  if (Application != nullptr) Application->CancelHint();
}

void TAdvCustomQuickAccessToolBar::CMHintShow(TMessage& Message) {
  TZadEdevAziPager* p = Pager();
  if (p == nullptr || !p->ShowDisabledControlsHint() || ComponentState().Contains(csDesigning)) return;
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (info == nullptr || FHintCtrl == nullptr) return;
  if (!info->HintStr.empty() && info->HintStr != Hint()) return;
  if (FHintCtrl->Enabled() || !FHintCtrl->ShowHint()) return;
  info->HintStr = FHintCtrl->Hint();
  info->HintControl = FHintCtrl;
}

}  // namespace ribbon
