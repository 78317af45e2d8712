#include "toolbar/ZadEdevAziStyler.h"

#include <algorithm>

#include "platform/vcl/Application.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

TCustomZadEdevAziStyler::TCustomZadEdevAziStyler(TComponent* AOwner)
    : TComponent(AOwner),
      FAppColor(std::make_unique<ribbon::TAppColor>()),
      FBackGround(std::make_unique<TBitmap>()),
      FColor(std::make_unique<TVistaGradientBackground>()),
      FDockColor(std::make_unique<TGradientBackground>()),
      FDragGripImage(std::make_unique<TBitmap>()),
      FRightHandleImage(std::make_unique<TBitmap>()),
      FFont(std::make_unique<TFont>()),
      FButtonAppearance(std::make_unique<TButtonAppearance>()),
      FColorHot(std::make_unique<TVistaGradientBackground>()),
      FCaptionFont(std::make_unique<TFont>()),
      FContainerAppearance(std::make_unique<TContainerAppearance>()),
      FQATAppearance(std::make_unique<ribbon::TQATAppearance>()),
      FPagerCaption(std::make_unique<ribbon::TVistaTextBackground>()),
      FGlowButtonAppearance(std::make_unique<TGlowButtonAppearance>()),
      FTabAppearance(std::make_unique<ribbon::TTabAppearance>()),
      FPageAppearance(std::make_unique<ribbon::TVistaPageBackground>()),
      FCaptionAppearance(std::make_unique<ribbon::TCaptionAppearance>()),
      FGroupAppearance(std::make_unique<ribbon::TGroupAppearance>()),
      FCompactGlowButtonAppearance(std::make_unique<TGlowButtonAppearance>()) {
  FColorHot->SetColor(clNone);
  FColorHot->SetColorTo(clNone);
  auto kind = [this](Integer Kind) { return [this, Kind](TObject*) { NotifyChange(Kind); }; };
  FColor->OnChange = kind(skGeneral);
  FDockColor->OnChange = kind(skGeneral);
  FCaptionAppearance->OnChange = kind(skGeneral);
  FContainerAppearance->OnChange = kind(skContainer);
  FQATAppearance->OnChange = kind(skQuickAccess);
  FPagerCaption->OnChange = kind(skPagerCaption);
  FGlowButtonAppearance->OnChange = kind(skGlowButtons);
  FCompactGlowButtonAppearance->OnChange = kind(skGlowButtons);
  FTabAppearance->OnChange = kind(skTabPageGroup);
  FPageAppearance->OnChange = kind(skTabPageGroup);
  FGroupAppearance->OnChange = kind(skTabPageGroup);
  FInternalAdvMenuStyler = new TAdvMenuStyler(this);  // owned as a component
  FInternalAdvMenuStyler->SetName(u"InternalMenuStyler");
  FCurrentAdvMenuStyler = FInternalAdvMenuStyler;
  ApplyDefaultFont(FFont.get(), HasGetLocaleInfoEx());
  FCaptionFont->SetName(DefaultFontName());
}

TCustomZadEdevAziStyler::~TCustomZadEdevAziStyler() {
  // Marked first: nothing the controls do while they let go broadcasts.
  Destroying();
  // Every control that still names this styler lets go of it (toolbars too),
  // so none keeps a pointer to a dead styler. A control's SetToolBarStyler
  // normally unregisters it; whatever stays listed is dropped here.
  const std::vector<TCustomControl*> held = FControlList;
  for (TCustomControl* c : held) {
    if (!IsRegistered(c) || c->ComponentState().Contains(csDestroying)) continue;
    if (auto* r = dynamic_cast<IStyledControl*>(c); r != nullptr && r->ToolBarStyler() == this) {
      try {
        r->SetToolBarStyler(nullptr);
      } catch (...) {
        if (Application != nullptr) Application->HandleException(this);
      }
    }
  }
  for (TCustomControl* c : FControlList) RemoveFreeNotification(c);
  FControlList.clear();
  if (FAdvMenuStyler != nullptr) RemoveFreeNotification(FAdvMenuStyler);
  FAdvMenuStyler = nullptr;
  FCurrentAdvMenuStyler = nullptr;
}

String TCustomZadEdevAziStyler::DefaultFontName() { return HasGetLocaleInfoEx() ? u"Segoe UI" : u"Tahoma"; }

// ---------------------------------------------------------------------------
// Registry and broadcast

bool TCustomZadEdevAziStyler::IsRegistered(const TCustomControl* AControl) const {
  return AControl != nullptr && std::find(FControlList.begin(), FControlList.end(), AControl) != FControlList.end();
}

void TCustomZadEdevAziStyler::AddControl(TCustomControl* AControl) {
  // One entry per control: a control that takes the styler again must not
  // hear each change twice, nor stay listed after one RemoveControl.
  if (AControl == nullptr || IsRegistered(AControl)) return;
  FControlList.push_back(AControl);
  AControl->FreeNotification(this);
}

void TCustomZadEdevAziStyler::RemoveControl(TCustomControl* AControl) {
  auto it = std::find(FControlList.begin(), FControlList.end(), AControl);
  if (it == FControlList.end()) return;
  FControlList.erase(it);
  RemoveFreeNotification(AControl);
}

void TCustomZadEdevAziStyler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (ComponentState().Contains(csDestroying) || Operation != opRemove || AComponent == nullptr) return;
  if (AComponent == FAdvMenuStyler) {
    SetAdvMenuStyler(nullptr);
    return;
  }
  auto it = std::find(FControlList.begin(), FControlList.end(), AComponent);
  if (it != FControlList.end()) FControlList.erase(it);
}

void TCustomZadEdevAziStyler::NotifyChange(Integer Kind) {
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying) || FUpdateCount > 0) return;
  // A receiver may unregister itself or another one, or destroy one: walk a
  // copy, and call only controls that are still registered at their turn.
  const std::vector<TCustomControl*> snapshot = FControlList;
  for (TCustomControl* c : snapshot) {
    if (!IsRegistered(c) || c->Name().empty()) continue;
    auto* r = dynamic_cast<IStyledControl*>(c);
    if (r == nullptr) continue;
    try {
      if (r->StyledControlKind() == TStyledControlKind::ToolBar)
        if (IStyledControl* clone = r->CompactClone()) clone->StylerChanged(Kind);
      if (IsRegistered(c)) r->StylerChanged(Kind);
    } catch (...) {
      // One control's failure must not keep the others stale, nor go unseen.
      if (Application != nullptr) Application->HandleException(this);
    }
  }
}

void TCustomZadEdevAziStyler::UpdateStyle() { NotifyChange(skGeneral); }

void TCustomZadEdevAziStyler::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
}

IStyledPager* TCustomZadEdevAziStyler::GetFirstPager() const {
  for (TCustomControl* c : FControlList) {
    auto* r = dynamic_cast<IStyledControl*>(c);
    if (r != nullptr && r->StyledControlKind() == TStyledControlKind::Pager)
      if (auto* p = dynamic_cast<IStyledPager*>(c)) return p;
  }
  return nullptr;
}

void TCustomZadEdevAziStyler::UpdatePagerStyle(TVornStyle AStyle) {
  FNewVornStyle = AStyle;
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying)) return;
  bool glass = false, scenic = false;
  switch (AStyle) {
    case tsOffice2010Blue:
    case tsOffice2010Silver:
    case tsOffice2010Black: glass = scenic = true; break;
    case tsWindows7:
    case tsWindows8: scenic = true; break;
    default: break;
  }
  // A handled pager may change the registry: scan again from the start until
  // a whole scan finds no pager left to handle. Each pager is handled once.
  std::vector<TCustomControl*> handled;
  for (;;) {
    TCustomControl* next = nullptr;
    for (TCustomControl* c : FControlList) {
      auto* r = dynamic_cast<IStyledControl*>(c);
      if (r == nullptr || r->StyledControlKind() != TStyledControlKind::Pager) continue;
      if (dynamic_cast<IStyledPager*>(c) == nullptr) continue;
      if (std::find(handled.begin(), handled.end(), c) != handled.end()) continue;
      next = c;
      break;
    }
    if (next == nullptr) break;
    handled.push_back(next);
    auto* p = dynamic_cast<IStyledPager*>(next);
    if (ribbon::TATBTabSettings* tabs = p->TabSettings()) tabs->SetGlass(glass);
    p->SetWin7ScenicRibbon(scenic);
    p->SetTabBackGroundShaded(glass && p->AeroVista());
    p->RequestHelpButtonPicture();
    p->UpdateHelpButton();
  }
}

// ---------------------------------------------------------------------------
// Assign and setters

void TCustomZadEdevAziStyler::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomZadEdevAziStyler*>(Source);
  if (s == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (FCurrentAdvMenuStyler != nullptr && s->FAdvMenuStyler != nullptr)
    FCurrentAdvMenuStyler->Assign(s->FAdvMenuStyler);
  SetColor(s->FColor.get());
  SetDockColor(s->FDockColor.get());
  SetBackGround(s->FBackGround.get());
  SetBackGroundTransparent(s->FBackGroundTransparent);
  SetBackGroundDisplay(s->FBackGroundDisplay);
  SetFont(s->FFont.get());
  SetDragGripStyle(s->FDragGripStyle);
  SetDragGripImage(s->FDragGripImage.get());
  SetRightHandleImage(s->FRightHandleImage.get());
  SetFloatingWindowBorderColor(s->FFloatingWindowBorderColor);
  SetFloatingWindowBorderWidth(s->FFloatingWindowBorderWidth);
  SetCaptionAppearance(s->FCaptionAppearance.get());
  SetFormBorderColor(s->FFormBorderColor);
  SetButtonAppearance(s->FButtonAppearance.get());
  SetShowShadow(s->FShowShadow);
  SetShow3D(s->FShow3D);
}

void TCustomZadEdevAziStyler::SetBackGroundTransparent(bool V) {
  if (FBackGroundTransparent == V) return;
  FBackGroundTransparent = V;
  NotifyChange(skBackgroundAndFont);
}

void TCustomZadEdevAziStyler::SetBackGroundDisplay(TBackGroundDisplay V) {
  if (FBackGroundDisplay == V) return;
  FBackGroundDisplay = V;
  NotifyChange(skBackgroundAndFont);
}

void TCustomZadEdevAziStyler::SetBackGround(TBitmap* V) {
  FBackGround->Assign(V);
  NotifyChange(skBackgroundAndFont);
}

void TCustomZadEdevAziStyler::SetAdvMenuStyler(TCustomAdvMenuStyler* V) {
  if (FAdvMenuStyler != nullptr && FAdvMenuStyler != V) RemoveFreeNotification(FAdvMenuStyler);
  FAdvMenuStyler = V;
  if (V != nullptr) {
    V->FreeNotification(this);
    FCurrentAdvMenuStyler = V;
    if (V->RootItem() != nullptr && V->RootItem()->UseSystemFont()) V->RootItem()->UpdateFont();
  } else {
    FCurrentAdvMenuStyler = FInternalAdvMenuStyler;
  }
  NotifyChange(skMenuStyler);
}

void TCustomZadEdevAziStyler::SetDragGripStyle(TDragGripStyle V) {
  if (FDragGripStyle == V) return;
  FDragGripStyle = V;
  NotifyChange(skDragGrip);
}

void TCustomZadEdevAziStyler::SetRightHandleImage(TBitmap* V) {
  FRightHandleImage->Assign(V);
  NotifyChange(skGeneral);
}

void TCustomZadEdevAziStyler::SetFont(TFont* V) {
  FFont->Assign(V);
  NotifyChange(skBackgroundAndFont);
}

void TCustomZadEdevAziStyler::SetRoundEdges(bool V) {
  FRoundEdges = V;
  NotifyChange(skGeneral);
}

void TCustomZadEdevAziStyler::SetBevel(TBevelCut V) { SetGeneral(FBevel, V); }

void TCustomZadEdevAziStyler::SetCaptionFont(TFont* V) {
  FCaptionFont->Assign(V);
  NotifyChange(skGeneral);
}

void TCustomZadEdevAziStyler::SetSystemFont(bool V) {
  if (FSystemFont == V) return;
  FSystemFont = V;
  if (V) {
    ApplyDefaultFont(FFont.get(), HasGetLocaleInfoEx());
    FCaptionFont->SetName(DefaultFontName());
  }
}

void TCustomZadEdevAziStyler::SetSysButtonColor(TColor V) {
  if (FSysButtonColor == V) return;
  FSysButtonColor = V;
  NotifyChange(skPagerCaption);
}

}  // namespace toolbar
