#include "controls/AdvOfficeStatusBar.h"

#include <algorithm>

#include "controls/AdvOfficeStatusBarStylers.h"
#include "foundation/pictures/PictureContainer.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Shell.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

using namespace officestatusbar;

namespace {

// Only web and mail addresses are handed to the shell: anything else could
// start a program or open a local file.
bool StatusBarIsOpenableURL(const String& Anchor) {
  const String lower = LowerCase(Anchor);
  return lower.rfind(u"http://", 0) == 0 || lower.rfind(u"https://", 0) == 0 || lower.rfind(u"mailto:", 0) == 0;
}

}  // namespace

// ---------------------------------------------------------------- TDbgList

namespace officestatusbar {

void* TDbgList::GetItemsEx(Integer Index) const {
  if (Index >= Count()) throw Exception(u"Index out of bounds in list read access");
  return Items(Index);
}

void TDbgList::SetItemsEx(Integer Index, void* Item) {
  if (Index >= Count()) throw Exception(u"Index out of bounds in list write access");
  SetItems(Index, Item);
}

void TVistaBackground::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TVistaBackground*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  FColorMirror = s->FColorMirror;
  FColorMirrorTo = s->FColorMirrorTo;
  FColorHot = s->FColorHot;
  FColorHotTo = s->FColorHotTo;
  FColorMirrorHot = s->FColorMirrorHot;
  FColorMirrorHotTo = s->FColorMirrorHotTo;
  FColorDown = s->FColorDown;
  FColorDownTo = s->FColorDownTo;
  FColorMirrorDown = s->FColorMirrorDown;
  FColorMirrorDownTo = s->FColorMirrorDownTo;
  FBorderColor = s->FBorderColor;
  FBorderColorHot = s->FBorderColorHot;
  FBorderColorDown = s->FBorderColorDown;
  FTextColor = s->FTextColor;
  FTextColorHot = s->FTextColorHot;
  FTextColorDown = s->FTextColorDown;
  FSeperatorColor = s->FSeperatorColor;
  FSteps = s->FSteps;
  SetTextStyle(s->FTextStyle);  // the one notification
}

}  // namespace officestatusbar

// ---------------------------------------------------------------- TProgressStyle

void TProgressStyle::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TProgressStyle*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FBackGround = s->FBackGround;
  FIndication = s->FIndication;
  FMin = s->FMin;
  FMax = s->FMax;
  FPosition = s->FPosition;
  FLevel0Color = s->FLevel0Color;
  FLevel0ColorTo = s->FLevel0ColorTo;
  FLevel1Color = s->FLevel1Color;
  FLevel1ColorTo = s->FLevel1ColorTo;
  FLevel2Color = s->FLevel2Color;
  FLevel2ColorTo = s->FLevel2ColorTo;
  FLevel3Color = s->FLevel3Color;
  FLevel3ColorTo = s->FLevel3ColorTo;
  FLevel1Perc = s->FLevel1Perc;
  FLevel2Perc = s->FLevel2Perc;
  FBorderColor = s->FBorderColor;
  FShowBorder = s->FShowBorder;
  FStacked = s->FStacked;
  FShowPercentage = s->FShowPercentage;
  FCompletionSmooth = s->FCompletionSmooth;
  FShowGradient = s->FShowGradient;
  FPrefix = s->FPrefix;
  FSuffix = s->FSuffix;
  FOldPerc = s->FOldPerc;
}

Integer TProgressStyle::Percent() const {
  Integer p;
  if (FMax - FMin > 0) p = Integer(Round(double(FPosition - FMin) / double(FMax - FMin) * 100.0));
  else if (FMin == FMax) p = 0;
  else p = Integer(Round(double(FPosition - FMin) * 100.0));
  return std::clamp(p, 0, 100);
}

void TProgressStyle::Invalidate() {
  if (FOwner) FOwner->InvalidatePanel();
}

void TProgressStyle::RangeChanged() {
  if (FMax - FMin <= 0) return;
  // The repaint test uses the very percentage the gauge draws.
  const Integer p = Percent();
  if (p != FOldPerc) Invalidate();
  FOldPerc = p;
}

void TProgressStyle::SetMin(Integer v) {
  if (v == FMin) return;
  FMin = v;
  if (FMax >= FMin) FPosition = std::clamp(FPosition, FMin, FMax);
  RangeChanged();
}

void TProgressStyle::SetMax(Integer v) {
  if (v == FMax) return;
  FMax = v;
  if (FMax >= FMin) FPosition = std::clamp(FPosition, FMin, FMax);
  RangeChanged();
}

void TProgressStyle::SetPosition(Integer v) {
  if (FMax >= FMin) v = std::clamp(v, FMin, FMax);
  if (v == FPosition) return;
  FPosition = v;
  RangeChanged();
}

// ---------------------------------------------------------------- TAdvOfficeStatusPanel

TAdvOfficeStatusPanel::TAdvOfficeStatusPanel(TCollection* Collection)
    : TCollectionItem(nullptr),
      FDateFormat(FormatSettings.ShortDateFormat),
      FTimeFormat(FormatSettings.LongTimeFormat),
      FOfficeHint(std::make_unique<TAdvHintInfo>()),
      FProgress(std::make_unique<TProgressStyle>(this)),
      FImageIndexes(std::make_unique<TStringList>()) {
  // Join only once the members exist: the collection's change reaches the bar at once.
  SetCollection(Collection);
  if (TAdvOfficeStatusBar* bar = StatusBar()) FBiDiMode = bar->BiDiMode();
}

TAdvOfficeStatusPanel::~TAdvOfficeStatusPanel() = default;

TAdvOfficeStatusBar* TAdvOfficeStatusPanel::StatusBar() const {
  auto* c = dynamic_cast<TAdvOfficeStatusPanels*>(Collection());
  return c ? c->StatusBar() : nullptr;
}

void TAdvOfficeStatusPanel::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TAdvOfficeStatusPanel*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  FText = s->FText;
  FWidth = s->FWidth;
  FAlignment = s->FAlignment;
  FBevel = s->FBevel;
  FStyle = s->FStyle;
  FDateFormat = s->FDateFormat;
  FTimeFormat = s->FTimeFormat;
  FProgress->Assign(s->FProgress.get());
  FOfficeHint->Assign(s->FOfficeHint.get());
  FAppearanceStyle = s->FAppearanceStyle;
  FAutoSize = s->FAutoSize;
  FMinWidth = s->FMinWidth;
  FVAlignment = s->FVAlignment;
  FTag = s->FTag;
  Repaint();
}

String TAdvOfficeStatusPanel::GetDisplayName() const {
  return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

TRect TAdvOfficeStatusPanel::Rect() const {
  TAdvOfficeStatusBar* bar = StatusBar();
  return bar ? bar->PanelRect(Index()) : ::Rect(-1, -1, -1, -1);
}

void TAdvOfficeStatusPanel::StepIt() {
  if (FProgress->Position() < FProgress->Max()) FProgress->SetPosition(FProgress->Position() + 1);
}

Integer TAdvOfficeStatusPanel::GetImageIndexes(Integer Index) const {
  if (Index < 0 || Index >= FImageIndexes->Count()) return -1;
  return StrToInt(FImageIndexes->Strings(Index));
}

void TAdvOfficeStatusPanel::SetImageIndexes(Integer Index, Integer Value) {
  if (Index < 0) return;
  while (FImageIndexes->Count() <= Index) FImageIndexes->Add(u"-1");
  FImageIndexes->SetStrings(Index, IntToStr(Value));
}

void TAdvOfficeStatusPanel::ParentBiDiModeChanged() {
  if (!FParentBiDiMode) return;
  if (TAdvOfficeStatusBar* bar = StatusBar()) {
    FBiDiMode = bar->BiDiMode();
    Repaint();
  }
}

void TAdvOfficeStatusPanel::Repaint() {
  if (TAdvOfficeStatusBar* bar = StatusBar()) bar->PanelChanged(this);
}

void TAdvOfficeStatusPanel::InvalidatePanel() {
  TAdvOfficeStatusBar* bar = StatusBar();
  if (!bar || !bar->HandleAllocated()) return;
  const TRect r = Rect();
  InvalidateRect(bar->Handle(), &r, FALSE);
}

namespace {
template <class T>
bool StatusPanelStore(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void TAdvOfficeStatusPanel::SetAlignment(TAlignment v) { if (StatusPanelStore(FAlignment, v)) Repaint(); }
void TAdvOfficeStatusPanel::SetAppearanceStyle(TPanelAppearanceStyle v) {
  if (StatusPanelStore(FAppearanceStyle, v)) Repaint();
}
void TAdvOfficeStatusPanel::SetButton(bool v) { if (StatusPanelStore(FButton, v)) Repaint(); }
void TAdvOfficeStatusPanel::SetEnabled(bool v) { if (StatusPanelStore(FEnabled, v)) Repaint(); }
void TAdvOfficeStatusPanel::SetStyle(TAdvOfficeStatusPanelStyle v) { if (StatusPanelStore(FStyle, v)) Repaint(); }
void TAdvOfficeStatusPanel::SetVAlignment(TVerticalPanelAlignment v) {
  if (StatusPanelStore(FVAlignment, v)) Repaint();
}
void TAdvOfficeStatusPanel::SetWidth(Integer v) { if (StatusPanelStore(FWidth, v)) Repaint(); }

void TAdvOfficeStatusPanel::SetAnimated(bool v) { FAnimated = v; Repaint(); }
void TAdvOfficeStatusPanel::SetAnimationImages(TCustomImageList* v) {
  FAnimationImages = v;
  if (v) if (TAdvOfficeStatusBar* bar = StatusBar()) v->FreeNotification(bar);
  Repaint();
}
void TAdvOfficeStatusPanel::SetDateFormat(const String& v) { FDateFormat = v; Repaint(); }
void TAdvOfficeStatusPanel::SetTimeFormat(const String& v) { FTimeFormat = v; Repaint(); }
void TAdvOfficeStatusPanel::SetHTMLOffsetX(Integer v) { FHTMLOffsetX = v; Repaint(); }
void TAdvOfficeStatusPanel::SetHTMLOffsetY(Integer v) { FHTMLOffsetY = v; Repaint(); }
void TAdvOfficeStatusPanel::SetImageIndex(Integer v) { FImageIndex = v; Repaint(); }
void TAdvOfficeStatusPanel::SetProgress(TProgressStyle* v) { FProgress->Assign(v); Repaint(); }

void TAdvOfficeStatusPanel::SetAutoSize(bool v) {
  FAutoSize = v;
  if (v) if (TAdvOfficeStatusBar* bar = StatusBar()) bar->UpdateAutoWidths();
}

void TAdvOfficeStatusPanel::SetBiDiMode(TBiDiMode v) {
  FBiDiMode = v;
  FParentBiDiMode = false;
  Repaint();
}

void TAdvOfficeStatusPanel::SetParentBiDiMode(bool v) {
  FParentBiDiMode = v;
  if (v) ParentBiDiModeChanged();
}

void TAdvOfficeStatusPanel::SetText(const String& v) {
  if (v == FText) return;
  FText = v;
  TAdvOfficeStatusBar* bar = StatusBar();
  if (!bar) return;
  bar->Invalidate();
  if (FAutoSize) bar->UpdateAutoWidths();
}

// ---------------------------------------------------------------- TAdvOfficeStatusPanels

TAdvOfficeStatusPanels::TAdvOfficeStatusPanels(TAdvOfficeStatusBar* StatusBar)
    : TCollection(TCollectionItemClass::Of<TAdvOfficeStatusPanel>()), FStatusBar(StatusBar) {}

TPersistent* TAdvOfficeStatusPanels::GetOwner() const { return FStatusBar; }

void TAdvOfficeStatusPanels::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (UpdateCount() > 0) return;
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TDummyHintControl

TDummyHintControl::TDummyHintControl(TComponent* AOwner)
    : TControl(AOwner), FOfficeHint(std::make_unique<TAdvHintInfo>()) {
  SetVisible(false);
}

// ---------------------------------------------------------------- styler base

TCustomAdvOfficeStatusBarStyler::TCustomAdvOfficeStatusBarStyler(TComponent* AOwner)
    : TComponent(AOwner),
      FPanelAppearanceLight(std::make_unique<TVistaBackground>()),
      FPanelAppearanceDark(std::make_unique<TVistaBackground>()) {
  FPanelAppearanceLight->OnChange = [this](TObject*) { Changed(); };
  FPanelAppearanceDark->OnChange = [this](TObject*) { Changed(); };
}

TCustomAdvOfficeStatusBarStyler::~TCustomAdvOfficeStatusBarStyler() {
  // No broadcasts while dying; the bars hear of it through their free notification.
  FComponentState.Include(csDestroying);
}

void TCustomAdvOfficeStatusBarStyler::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomAdvOfficeStatusBarStyler*>(Source);
  if (!s) {
    TComponent::Assign(Source);
    return;
  }
  SetAutoThemeAdapt(s->FAutoThemeAdapt);
  BeginUpdate();
  FPanelAppearanceLight->Assign(s->FPanelAppearanceLight.get());
  FPanelAppearanceDark->Assign(s->FPanelAppearanceDark.get());
  FBorderColor = s->FBorderColor;
  EndUpdate();
}

void TCustomAdvOfficeStatusBarStyler::AddControl(TCustomControl* AControl) {
  if (!AControl) return;
  FControlList.Add(AControl);
  AControl->FreeNotification(this);
}

void TCustomAdvOfficeStatusBarStyler::RemoveControl(TCustomControl* AControl) {
  // Every registration goes: a bar added twice must not stay behind as a dangling entry.
  while (FControlList.Remove(AControl) >= 0) {
  }
}

void TCustomAdvOfficeStatusBarStyler::Changed() {
  if (FUpdateCount > 0 || FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying)) return;
  for (Integer i = 0; i < FControlList.Count(); ++i)
    if (auto* bar = dynamic_cast<TAdvOfficeStatusBar*>(static_cast<TObject*>(FControlList.GetItemsEx(i))))
      bar->StylerChanged();
}

void TCustomAdvOfficeStatusBarStyler::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCustomAdvOfficeStatusBarStyler::SetAutoThemeAdapt(bool Value) {
  if (Value == FAutoThemeAdapt) return;
  FAutoThemeAdapt = Value;
  ThemeChanged();
}

void TCustomAdvOfficeStatusBarStyler::SetBorderColor(TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  Changed();
}

void TCustomAdvOfficeStatusBarStyler::Loaded() {
  TComponent::Loaded();
  Changed();
}

void TCustomAdvOfficeStatusBarStyler::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && !FComponentState.Contains(csDestroying))
    if (auto* c = dynamic_cast<TCustomControl*>(AComponent)) RemoveControl(c);
  TComponent::Notification(AComponent, Operation);
}

// ---------------------------------------------------------------- TAdvOfficeStatusBar

TAdvOfficeStatusBar::TAdvOfficeStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), FPanels(std::make_unique<TAdvOfficeStatusPanels>(this)) {
  SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csAcceptsControls});
  FInternalOfficeStatusBarStyler = new TCustomAdvOfficeStatusBarStyler(this);
  FInternalOfficeStatusBarStyler->SetName(u"InternalStyler");
  FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
  FInternalOfficeStatusBarStyler->AddControl(this);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetParentFont(false);
  SetHeight(19);
  SetAlign(alBottom);
  FPanels->OnChange = [this](TObject*) { Invalidate(); };
  FDummyHintControl = new TDummyHintControl(this);
  SetDoubleBuffered(true);
}

TAdvOfficeStatusBar::~TAdvOfficeStatusBar() {
  FDestroying = true;
  FComponentState.Include(csDestroying);
  FPanels->Clear();
  if (FOfficeStatusBarStyler) {
    try {
      FOfficeStatusBarStyler->RemoveControl(this);
      FOfficeStatusBarStyler->RemoveFreeNotification(this);
    } catch (...) {
    }
    FOfficeStatusBarStyler = nullptr;
  }
  FInternalOfficeStatusBarStyler->RemoveControl(this);
  FCurrentOfficeStatusBarStyler = nullptr;
}

TCustomForm* TAdvOfficeStatusBar::ParentTForm() const { return dynamic_cast<TCustomForm*>(Parent()); }

TRect TAdvOfficeStatusBar::PanelWalk(Integer Index, bool Paint) {
  const Integer n = FPanels->Count();
  if (Index < 0 || Index >= n) return Rect(-1, -1, -1, -1);
  const Integer w = Width();
  Integer start = 0, end = 0;
  for (Integer i = 0; i <= Index; ++i) {
    TAdvOfficeStatusPanel* p = FPanels->Items(i);
    if (i == FStretchPanel) {
      Integer others = 0;
      for (Integer j = 0; j < n; ++j)
        if (j != i) others += FPanels->Items(j)->Width();
      // Where the panels after it must begin (Width - others + its start); never before its start.
      end = std::max(start, w - others + start);
    } else if (i == n - 1 && (!Paint || FStretchPanel < 0)) {
      end = std::max(start, Paint ? w : w - 1);
    } else {
      end = start + p->Width();
    }
    if (i < Index) start = end;
  }
  if (!Paint) return Rect(start, 1, end, Height() - 1);
  TRect r = Rect(start, 0, end, Height() - 1);
  if (r.Left == 0) r.Left = 1;
  if (r.Right == w - 1) r.Right = w - 2;
  return r;
}

TRect TAdvOfficeStatusBar::PanelRect(Integer Index) { return PanelWalk(Index, false); }

Integer TAdvOfficeStatusBar::GetPanel(Integer X) {
  for (Integer i = 0; i < FPanels->Count(); ++i) {
    const TRect r = PanelRect(i);
    if (X >= r.Left && X <= r.Right) return i;
  }
  return -1;
}

void TAdvOfficeStatusBar::RemoveStyler() {
  FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
  FInternalOfficeStatusBarStyler->AddControl(this);
  Invalidate();
}

void TAdvOfficeStatusBar::FlipChildren(bool) {
  if (!HandleAllocated() || FSimplePanel || FPanels->Count() == 0) return;
  const Integer n = FPanels->Count();
  const Integer firstWidth = FPanels->Items(0)->Width();
  Integer allButLast = 0;
  for (Integer i = 0; i < n - 1; ++i) allButLast += FPanels->Items(i)->Width();
  TAdvOfficeStatusPanels copy(nullptr);
  copy.Assign(FPanels.get());
  FPanels->BeginUpdate();
  for (Integer i = 0; i < n; ++i) FPanels->Items(i)->Assign(copy.Items(n - 1 - i));
  if (n >= 2) {
    FPanels->Items(n - 1)->FWidth = firstWidth;
    FPanels->Items(0)->FWidth = ClientWidth() - allButLast;
  }
  FPanels->EndUpdate();
  Invalidate();
}

bool TAdvOfficeStatusBar::ExecuteAction(TBasicAction* Action) {
  auto* hint = dynamic_cast<THintAction*>(Action);
  if (FAutoHint && hint != nullptr && !DoHint()) {
    if (FSimplePanel || FPanels->Count() == 0)
      SetSimpleText(hint->Hint());
    else
      FPanels->Items(0)->SetText(hint->Hint());
    return true;
  }
  return false;
}

bool TAdvOfficeStatusBar::DoHint() {
  if (OnHint) {
    OnHint(this);
    return true;
  }
  return false;
}

bool TAdvOfficeStatusBar::HasSizeGrip() {
  auto* form = ParentTForm();
  if (!form) return false;
  for (Integer i = 0; i < form->ControlCount(); ++i)
    if (form->Controls(i)->ClassName() == u"TZadEdevAziPager") return true;
  // No form class here implements the ribbon form's interface.
  return form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin;
}

bool TAdvOfficeStatusBar::SizeGripShown() {
  if (!FSizeGrip || !HasSizeGrip()) return false;
  auto* form = ParentTForm();
  return !form || form->WindowState() != wsMaximized;
}

void TAdvOfficeStatusBar::UpdateAutoWidths() {
  if (FDestroying) return;
  // Without a window (or a parent to make one) there is nothing to measure with.
  if (!HandleAllocated() && !Parent()) return;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  for (Integer i = 0; i < FPanels->Count(); ++i) {
    TAdvOfficeStatusPanel* p = FPanels->Items(i);
    if (!p->FAutoSize) continue;
    Integer candidate = -1;
    if (p->FStyle == psHTML) {
      TStatusHTMLArgs a = HTMLArgs(p->FText, Rect(0, 0, 1000, 100));
      a.HitTestPass = true;
      const TStatusHTMLResult res = StatusHTMLRender(a);
      p->FWidth = std::max(p->FMinWidth, res.XSize + 10);
      continue;
    }
    String text;
    Integer imageWidth = 0;
    switch (p->FStyle) {
      case psText: case psTime: case psDate: text = p->FText; break;
      case psNumLock: text = u"NUM"; break;
      case psCapsLock: text = u"CAP"; break;
      case psScrollLock: text = u"SCRL"; break;
      case psImage:
        text = p->FText;
        if (FImages && p->FImageIndex >= 0) imageWidth = FImages->Width();
        break;
      default: continue;
    }
    if (text.empty()) continue;
    TRect tr;
    DrawPanelText(c, taLeftJustify, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, Rect(0, 0, 1000, 100), false, true,
                  FAntiAlias, false, true, c->Font(), text, tr);
    candidate = tr.Width() + imageWidth + 12;
    Integer w = std::max(p->FMinWidth, candidate);
    if (i == FPanels->Count() - 1 && FSizeGrip) w += 16;
    p->FWidth = w;
  }
  Invalidate();
}

void TAdvOfficeStatusBar::PanelChanged(TAdvOfficeStatusPanel*) {
  Invalidate();
  if (HandleAllocated()) Update();
}

// --- properties

void TAdvOfficeStatusBar::SetAntiAlias(gdiplus::TAntiAlias v) { FAntiAlias = v; Invalidate(); }

void TAdvOfficeStatusBar::SetImages(TCustomImageList* v) {
  FImages = v;
  if (v) v->FreeNotification(this);
  UpdateAutoWidths();
  Invalidate();
}

void TAdvOfficeStatusBar::SetDisabledImages(TCustomImageList* v) {
  FDisabledImages = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TAdvOfficeStatusBar::SetPictureContainer(TPictureContainer* v) {
  FPictureContainer = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TAdvOfficeStatusBar::SetShowSplitter(bool v) { FShowSplitter = v; Invalidate(); }
void TAdvOfficeStatusBar::SetSimplePanel(bool v) { FSimplePanel = v; Invalidate(); }
void TAdvOfficeStatusBar::SetSimpleText(const String& v) { FSimpleText = v; Invalidate(); }

void TAdvOfficeStatusBar::SetSizeGrip(bool v) {
  if (v == FSizeGrip) return;
  FSizeGrip = v;
  if (HandleAllocated()) RecreateWnd();
  Invalidate();
}

void TAdvOfficeStatusBar::SetStretchPanel(Integer v) {
  if (v < -1 || v >= FPanels->Count()) return;
  FStretchPanel = v;
  Invalidate();
}

void TAdvOfficeStatusBar::SetStyler(TCustomAdvOfficeStatusBarStyler* v) {
  if (v && v == FOfficeStatusBarStyler) return;
  if (FOfficeStatusBarStyler && FOfficeStatusBarStyler != FInternalOfficeStatusBarStyler) {
    FOfficeStatusBarStyler->RemoveControl(this);
    FOfficeStatusBarStyler->RemoveFreeNotification(this);
  }
  FOfficeStatusBarStyler = v;
  if (v) {
    FCurrentOfficeStatusBarStyler = v;
    v->AddControl(this);
    v->FreeNotification(this);
  } else {
    FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
  }
  Invalidate();
}

void TAdvOfficeStatusBar::SetUseSystemFont(bool v) {
  if (v) SetParentFont(false);
  FUseSystemFont = v;
  ApplySystemFont();
}

void TAdvOfficeStatusBar::ApplySystemFont() {
  if (FUseSystemFont && !FComponentState.Contains(csLoading) && Screen) Font()->Assign(Screen->HintFont());
}

void TAdvOfficeStatusBar::SetUIStyle(TVornStyle v) {
  FVornStyle = v;
  SetComponentStyle(v);
}

void TAdvOfficeStatusBar::SetBiDiMode(TBiDiMode v) {
  FBiDiMode = v;
  for (Integer i = 0; i < FPanels->Count(); ++i) FPanels->Items(i)->ParentBiDiModeChanged();
  Invalidate();
}

// --- style operations

void TAdvOfficeStatusBar::SetComponentStyle(TVornStyle AStyle) {
  if (FOfficeStatusBarStyler) return;
  FVornStyle = AStyle;
  if (AStyle == tsCustom) return;
  TAdvOfficeStatusBarOfficeStyler temp(nullptr);
  temp.SetComponentStyle(AStyle);
  FInternalOfficeStatusBarStyler->Assign(&temp);
}

void TAdvOfficeStatusBar::SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) {
  if (FOfficeStatusBarStyler) return;
  FVornStyle = AStyle;
  TAdvOfficeStatusBarOfficeStyler temp(nullptr);
  temp.SetComponentStyleAndAppColor(AStyle, AAppColor);
  FInternalOfficeStatusBarStyler->Assign(&temp);
}

void TAdvOfficeStatusBar::SetColorTones(const TColorTones& ATones) {
  // Empty tones mean "no tones": leave the flat look and keep the colours as they are.
  FMetro = !IsColorTonesEmpty(ATones);
  if (!FMetro) {
    Invalidate();
    return;
  }
  TCustomAdvOfficeStatusBarStyler* s = FCurrentOfficeStatusBarStyler;
  s->BeginUpdate();
  s->SetBorderColor(ATones.Background.BorderColor);
  TVistaBackground* light = s->PanelAppearanceLight();
  TVistaBackground* dark = s->PanelAppearanceDark();
  for (TVistaBackground* a : {light, dark}) {
    const TColorTone& t = a == light ? ATones.Background : ATones.Foreground;
    a->SetBorderColor(clNone);
    a->SetColor(t.BrushColor);
    a->SetColorTo(t.BrushColor);
    a->SetColorMirror(t.BrushColor);
    a->SetColorMirrorTo(t.BrushColor);
    a->SetTextColor(t.TextColor);
    a->SetTextColorHot(ATones.Hover.TextColor);
    a->SetTextColorDown(ATones.Selected.TextColor);
    a->SetColorHot(ATones.Hover.BrushColor);
    a->SetColorHotTo(ATones.Hover.BrushColor);
    a->SetColorMirrorHot(ATones.Hover.BrushColor);
    a->SetColorMirrorHotTo(ATones.Hover.BrushColor);
    a->SetBorderColorHot(ATones.Hover.BorderColor);
    a->SetColorDown(ATones.Selected.BrushColor);
    a->SetColorDownTo(ATones.Selected.BrushColor);
    a->SetColorMirrorDown(ATones.Selected.BrushColor);
    a->SetColorMirrorDownTo(ATones.Selected.BrushColor);
    a->SetBorderColorDown(ATones.Selected.BorderColor);
  }
  s->EndUpdate();
  Invalidate();
}

// --- life cycle

void TAdvOfficeStatusBar::Loaded() {
  TCustomControl::Loaded();
  FDTHeight = Height();
  FOldCursor = Cursor();
  if (auto* form = ParentTForm()) {
    const double factor = form->Scaled() ? form->PixelsPerInch() / 96.0 : 1.0;
    for (Integer i = 0; i < FPanels->Count(); ++i)
      FPanels->Items(i)->FWidth = Integer(Round(FPanels->Items(i)->FWidth * factor));
    if (!form->Scaled()) {
      FUseSystemFont = false;
      Font()->Assign(form->Font());
    }
  }
  if (Height() % 2 == 0) SetHeight(Height() + 1);
  UpdateStatusBar();
  ApplySystemFont();
  UpdateAutoWidths();
}

void TAdvOfficeStatusBar::CreateWnd() {
  TCustomControl::CreateWnd();
  FDPIScale = GetControlDPIScale(this, nullptr);
  auto* form = ParentTForm();
  FFormScaled = form ? form->Scaled() : true;
  FTimerID = SetTimer(Handle(), StatusTimerID, 100) ? StatusTimerID : 0;
}

void TAdvOfficeStatusBar::DestroyWnd() {
  if (FTimerID && HandleAllocated()) KillTimer(Handle(), FTimerID);
  FTimerID = 0;
  TCustomControl::DestroyWnd();
}

void TAdvOfficeStatusBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_ACTIONEXECUTE) {
    Message.Result = ExecuteAction(reinterpret_cast<TBasicAction*>(Message.LParam)) ? 1 : 0;
    return;
  }
  switch (Message.Msg) {
    case WM_TIMER:
      // Only the bar's own timer steps the panels.
      if (FTimerID != 0 && Message.WParam == FTimerID) {
        UpdateStatusBar();
        FTimerCount = FTimerCount >= 10 ? 0 : FTimerCount + 1;
      }
      return;
    case WM_GETTEXTLENGTH:
      Message.Result = LRESULT(FSimpleText.size());
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TAdvOfficeStatusBar::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && !FDestroying) {
    if (AComponent == FOfficeStatusBarStyler) {
      FOfficeStatusBarStyler = nullptr;
      FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
      SetComponentStyle(FVornStyle);
      Invalidate();
    }
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FDisabledImages) FDisabledImages = nullptr;
    if (FPictureContainer && AComponent == FPictureContainer)
      FPictureContainer = nullptr;
    for (Integer i = 0; i < FPanels->Count(); ++i)
      if (AComponent == FPanels->Items(i)->FAnimationImages) FPanels->Items(i)->FAnimationImages = nullptr;
  }
  TCustomControl::Notification(AComponent, Operation);
}

void TAdvOfficeStatusBar::UpdateStatusBar() {
  if (FDestroying) return;
  for (Integer i = 0; i < FPanels->Count(); ++i) {
    TAdvOfficeStatusPanel* p = FPanels->Items(i);
    switch (p->FStyle) {
      case psHTML:
        if (UpperCase(p->FText).find(u"<BLINK") != String::npos && (FTimerCount == 5 || FTimerCount == 10)) {
          const String t = p->FText;
          p->SetText(u"");
          p->SetText(t);
        }
        break;
      case psTime: p->SetText(FormatDateTime(p->FTimeFormat, Now())); break;
      case psDate: p->SetText(FormatDateTime(p->FDateFormat, Now())); break;
      case psNumLock: p->SetText((GetKeyState(VK_NUMLOCK) & 1) ? u"NUM" : u""); break;
      case psCapsLock: p->SetText((GetKeyState(VK_CAPITAL) & 1) ? u"CAP" : u""); break;
      case psScrollLock: p->SetText((GetKeyState(VK_SCROLL) & 1) ? u"SCRL" : u""); break;
      case psAnimation:
        if (p->FAnimationImages && FTimerCount % (p->FAnimationDelay + 1) == 0) {
          ++p->FAnimIndex;
          if (p->FAnimIndex >= p->FAnimationImages->Count()) p->FAnimIndex = 0;
          const String t = p->FText;
          p->SetText(u"*");
          p->SetText(t);
        }
        break;
      default: break;
    }
  }
}

// --- mouse

String TAdvOfficeStatusBar::AnchorAt(Integer X, Integer Y, String* Title) {
  TRect r;
  String text;
  if (FSimplePanel) {
    r = Rect(1, 1, Width() - 1, Height() - 1);
    text = FSimpleText;
  } else {
    const Integer i = GetPanel(X);
    if (i < 0) return {};
    TAdvOfficeStatusPanel* p = FPanels->Items(i);
    // Anchors exist only where mini-HTML is drawn.
    if (p->FStyle != psHTML) return {};
    r = PanelRect(i);
    r.Left += p->FHTMLOffsetX + 2;
    r.Top += p->FHTMLOffsetY + 2;
    r.Right -= 2;
    if (i == FPanels->Count() - 1 && SizeGripShown()) r.Right -= 15;
    text = p->FText;
    if (p->FAlignment != taLeftJustify) {
      TStatusHTMLArgs m = HTMLArgs(text, r);
      m.HitTestPass = true;
      const Integer xs = StatusHTMLRender(m).XSize;
      if (xs < r.Width()) {
        if (p->FAlignment == taRightJustify) r.Left = r.Right - xs - p->FHTMLOffsetX;
        else r.Left += (r.Width() - xs) / 2;
      }
    }
  }
  TStatusHTMLArgs a = HTMLArgs(text, r);
  a.Hit = Point(X, Y);
  a.HitTestPass = true;
  a.KeepColors = true;
  a.BlinkVisible = true;
  if (FSimplePanel) a.WrapWords = false;
  const TStatusHTMLResult res = StatusHTMLRender(a);
  if (!res.Hit) return {};
  if (Title) *Title = res.Title;
  return res.Anchor;
}

void TAdvOfficeStatusBar::SetDownPanel(Integer Index, Integer Y) {
  if (Index == FDownPanelIndex) return;
  if (FDownPanelIndex >= 0) {
    FDownPanelIndex = -1;
    Invalidate();
  }
  if (Index >= 0 && FPanels->Items(Index)->FButton && Y > 0 && Y < Height()) {
    FDownPanelIndex = Index;
    Invalidate();
  }
}

void TAdvOfficeStatusBar::SetHotPanel(Integer Index, Integer Y) {
  if (Index == FHotPanelIndex) return;
  if (FHotPanelIndex >= 0) {
    FHotPanelIndex = -1;
    Invalidate();
  }
  if (Index >= 0 && FPanels->Items(Index)->FButton && Y > 0 && Y < Height()) {
    FHotPanelIndex = Index;
    Invalidate();
  }
}

void TAdvOfficeStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const Integer index = GetPanel(X);
  SetDownPanel(index, Y);
  if (Button == mbLeft && OnPanelClick) OnPanelClick(this, index);
  if (Button == mbRight && OnPanelRightClick) OnPanelRightClick(this, index);
  // Anchors follow the left button only.
  if (Button != mbLeft) return;
  const String anchor = AnchorAt(X, Y);
  if (anchor.empty()) return;
  if (anchor.find(u"://") != String::npos || anchor.find(u"mailto:") != String::npos) {
    if (StatusBarIsOpenableURL(anchor)) ShellExecute(nullptr, u"open", anchor, u"", u"", SW_SHOWNORMAL);
  } else if (OnAnchorClick) {
    OnAnchorClick(this, anchor);
  }
}

void TAdvOfficeStatusBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FDownPanelIndex >= 0) {
    FDownPanelIndex = -1;
    Invalidate();
  }
}

void TAdvOfficeStatusBar::WMLButtonDblClk(TMessage& Message) {
  TCustomControl::WMLButtonDblClk(Message);
  if (OnPanelDblClick) OnPanelDblClick(this, GetPanel(GET_X_LPARAM(Message.LParam)));
}

void TAdvOfficeStatusBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  const String anchor = AnchorAt(X, Y);
  const Integer index = GetPanel(X);
  if (index != FMousePanel) {
    if (Application) Application->CancelHint();
    FMousePanel = index;
  }
  if (index < 0) SetHotPanel(-1, Y);
  else SetHotPanel(index, Y);
  if (!anchor.empty()) {
    if (Cursor() == crDefault || anchor != FAnchor) {
      FAnchor = anchor;
      SetCursor(crHandPoint);
      if (FAnchorHint && Application) Application->CancelHint();
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
    }
  } else if (Cursor() == crHandPoint && FOldCursor != crHandPoint) {
    SetCursor(crDefault);
    if (OnAnchorExit) OnAnchorExit(this, u"");
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TAdvOfficeStatusBar::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  SetDownPanel(-1, 0);
  SetHotPanel(-1, 0);
}

void TAdvOfficeStatusBar::CMHintShow(TMessage& Message) {
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (!info) return;
  const Integer i = GetPanel(info->CursorPos.X);
  if (i < 0) return;
  TAdvOfficeStatusPanel* p = FPanels->Items(i);
  String title;
  const String anchor = p->FStyle == psHTML && FAnchorHint ? AnchorAt(info->CursorPos.X, info->CursorPos.Y, &title)
                                                           : String();
  if (!anchor.empty() || !title.empty()) {
    info->HintPos = ClientToScreen(info->CursorPos);
    info->HintPos.X += 10;
    info->HintPos.Y -= 10;
    FDummyHintControl->SetOfficeHint(p->OfficeHint());
    FDummyHintControl->OfficeHint()->SetTitle(u"");
    const String text = title.empty() ? anchor : title;
    info->HintStr = text;
    FDummyHintControl->OfficeHint()->Notes()->SetText(text);
  } else {
    FDummyHintControl->SetOfficeHint(p->OfficeHint());
    FDummyHintControl->SetShowHint(true);
    if (!p->OfficeHint()->Title().empty()) info->HintStr = p->OfficeHint()->Title();
  }
  info->HintControl = FDummyHintControl;
}

void TAdvOfficeStatusBar::WMNCHitTest(TMessage& Message) {
  TCustomControl::WMNCHitTest(Message);
  const TPoint p = ScreenToClient(PointFromLParam(Message.LParam));
  auto* form = ParentTForm();
  if (form && (!(form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin) || FMetro)) return;
  // The scroll arrow is as wide as a vertical scroll bar.
  if (p.Y > Height() - GetSystemMetrics(SM_CYHSCROLL) && p.X > Width() - GetSystemMetrics(SM_CXVSCROLL) &&
      Message.Result == HTCLIENT && SizeGripShown()) {
    Message.Result = HTBOTTOMRIGHT;
    return;
  }
  if (p.Y > Height() - 4 || p.X > Width() - 4) Message.Result = HTTRANSPARENT;
}

void TAdvOfficeStatusBar::Resize() {
  TCustomControl::Resize();
  if (!FComponentState.Contains(csLoading)) Invalidate();
}

void TAdvOfficeStatusBar::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void RegisterStatusBarClasses() {
  // The panel's hint record is reached through the bar's panel collection.
  TClassInfo::Of<TAdvOfficeStatusPanel, TCollectionItem>(u"TAdvOfficeStatusPanel")
      .Property(u"OfficeHint", &TAdvOfficeStatusPanel::OfficeHint, &TAdvOfficeStatusPanel::SetOfficeHint);
  TClassInfo::Of<TAdvOfficeStatusPanels, TCollection>(u"TAdvOfficeStatusPanels");
  TClassInfo::Of<TAdvOfficeStatusBar, TCustomControl>(u"TAdvOfficeStatusBar")
      .Property(u"Panels", &TAdvOfficeStatusBar::Panels, &TAdvOfficeStatusBar::SetPanels);
}
