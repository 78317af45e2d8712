#include "ribbon/ZadEdevAziPager.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/Keyboard.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "foundation/gdiplus/LookFlags.h"
#include "ribbon/AdvPage.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/MinimizedRibbonWindow.h"
#include "ribbon/CaptionLayer.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/AdvPageScrollButton.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

using toolbar::TCustomZadEdevAziStyler;
using toolbar::TZadEdevAzi;
using toolbar::TZadEdevAziOfficeStyler;

namespace {

// The keyboard hook: one get-message hook for the thread while any loaded
// pager lives; every such pager hears each key press once.
struct THookState {
  HHOOK Handle = nullptr;
  Integer LastKey = -1;
  std::vector<TZadEdevAziPager*> Pagers;
};
THookState& Hook() {
  static THookState s;
  return s;
}

Integer GlowSpeedValue = 20;



}  // namespace

// ---------------------------------------------------------------------------
// Creation, loading, destruction

TZadEdevAziPager::TZadEdevAziPager(TComponent* AOwner) : TCustomControl(AOwner) {
  // Styles of the class library are never active here, so the glass caption
  // starts off; the ribbon form switches it on.
  FIsAeroVista = toolbar::IsComCtl6() && HasGetLocaleInfoEx() && toolbar::IsStyleServicesEnabled() &&
                 toolbar::IsDwmCompositionActive();
  FScaledPagerCaptionHeight = 26;
  FOrigCaptionHeight = toolbar::ScaledCaptionHeight;
  TControlStyle cs = ControlStyle();
  cs.Include(csAcceptsControls);
  cs.Exclude(csOpaque);
  if (FIsAeroVista) cs.Include(csParentBackground);
  SetControlStyle(cs);
  SetAlign(alTop);

  FInternalToolBarStyler = std::make_unique<TCustomZadEdevAziStyler>(nullptr);
  FInternalToolBarStyler->SetName(u"InternalStyler");
  FInternalToolBarStyler->CaptionFont()->SetHeight(-11);
  FInternalToolBarStyler->AddControl(this);
  FCurrentToolBarStyler = FInternalToolBarStyler.get();
  FAdvPages = std::make_unique<toolbar::TDbgList>();
  FTabScroller = std::make_unique<TATBTabScroller>();
  FIOptionPicture = std::make_unique<TGDIPPicture>();
  FIOptionDisabledPicture = std::make_unique<TGDIPPicture>();
  // The option indicator of the page toolbars; a program without the
  // pictures in its resources shows the indicator without one.
  FIOptionPicture->LoadFromResourceName(HInstance(), u"OPTIONIND_PIC");
  FIOptionDisabledPicture->LoadFromResourceName(HInstance(), u"OPTIONIND_PICD");
  FIOptionPicture->OnChange = [this](TObject*) { OptionPictureChanged(); };
  FIOptionDisabledPicture->OnChange = [this](TObject*) { OptionPictureChanged(); };
  FIBrandingPicture = std::make_unique<TGDIPPicture>();

  FTabSettings = std::make_unique<TATBTabSettings>();
  FTabSettings->OnChange = [this](TObject* s) { TabSettingsChanged(s); };
  FCurrent = {FTabSettings->Spacing(), FTabSettings->LeftMargin(), FTabSettings->RightMargin(),
              FTabSettings->LeftMargin(), FTabSettings->RightMargin()};
  FBaseTabHeight = FTabSettings->Height();
  FCaption = std::make_unique<TAdvPageCaption>();
  FCaption->OnChange = [this](TObject* s) { CaptionChanged(s); };
  FOrigCaptionHeight = toolbar::ScaledCaptionHeight;

  FTabGroups = std::make_unique<TTabGroups>(nullptr);
  FTabGroups->OnChange = [this](TObject* s) { TabGroupsChanged(s); };
  FPersistence = std::make_unique<toolbar::TPersistence>(this);
  FOfficeHint = std::make_unique<TAdvHintInfo>();
  SetDoubleBuffered(true);
  SetTabStop(true);
  SetShowHint(false);
  SetBounds(Left(), Top(), Width(), 149);
  FExpandedHeight = 149;

  FOfficeToolBarStyler = std::make_unique<TZadEdevAziOfficeStyler>(nullptr);
  FCurrentToolBarStyler = FOfficeToolBarStyler.get();

  FHints = std::make_unique<TPagerHints>();
  FHints->OnChange = [this](TObject* s) { HintsChanged(s); };
  FHelpButtonPicture = std::make_unique<TGDIPPicture>();
  FHelpButtonPicture->OnChange = [this](TObject*) { UpdateHelpButton(); };

  FDblClickTimer = new TTimer(this);
  FDblClickTimer->SetEnabled(false);
  FDblClickTimer->SetInterval(600);
  FDblClickTimer->OnTimer = [this](TObject* s) { DblClickTimerTick(s); };
  // A new pager starts in the look the process asked for.
  FWin7ScenicRibbon = gdiplus::GetScenicRibbonFlag();
  TrackLivePager(this, true);
  CreateCaptionLayer();
}

TZadEdevAziPager::~TZadEdevAziPager() {
  // Saving the state talks to a store that may fail; a destructor reports
  // that and goes on.
  if (FPersistence->Enabled() && !ComponentState().Contains(csDesigning)) {
    try {
      SaveState();
    } catch (...) {
      try {
        if (Application != nullptr) Application->HandleException(this);
      } catch (...) {
      }
    }
  }
  FDestroying = true;
  // The floating ribbon gives the page its toolbars back before anything goes.
  DestroyMinimizedRibbonWindow();
  TrackLivePager(this, false);
  RemoveKeyboardHook();
  UnsubclassParentForm();
  if (FShortCutTimer != nullptr) FShortCutTimer->SetEnabled(false);
  FKeyTipTargets.clear();
  RemoveMDIHook();
  if (FToolBarStyler != nullptr && FToolBarStyler != FInternalToolBarStyler.get())
    FToolBarStyler->RemoveControl(this);
  FInternalToolBarStyler->RemoveControl(this);
  if (FStyleStyler) FStyleStyler->RemoveControl(this);
  // The pages are freed with the pager's children after this body: they must
  // not reach back into a pager that is gone.
  for (Integer i = 0; i < FAdvPages->Count(); ++i) {
    auto* p = static_cast<TAdvPage*>(FAdvPages->Items(i));
    p->HideShortCutHint();
    p->SetPagerLink(nullptr);
    if (TTimer* t = p->GlowTimer()) {
      p->SetGlowTimer(nullptr);
      delete t;
    }
  }
  FAdvPages->Clear();
}

void TZadEdevAziPager::OptionPictureChanged() {
  Invalidate();
  if (TAdvPage* page = ActivePage()) {
    page->Invalidate();
    for (Integer t = 0; t < page->ZadEdevAziCount(); ++t)
      if (toolbar::TZadEdevAzi* tb = page->GetZadEdevAzis(t)) {
        tb->ArrangeControls(true);
        tb->Invalidate();
      }
  }
}

void TZadEdevAziPager::Loaded() {
  TCustomControl::Loaded();
  FOrigCaptionHeight = FCaption->Height();
  const Single s = toolbar::ToolBarDPIScale;
  FBaseTabHeight = FTabSettings->Height();
  FDefTabHeight = Rnd(FTabSettings->Height() * double(s));
  FDefTabMargin = Rnd(FTabSettings->StartMargin() * double(s));
  toolbar::ScaledCaptionHeight = Rnd(FCaption->Height() * double(s));
  FScaledPagerCaptionHeight = Rnd(FOrigCaptionHeight * double(s));
  FDesignedHeight = Height();
  FPropertiesLoaded = true;
  {
    const bool old = FScaling;
    FScaling = true;
    FCaption->SetHeight(FScaledPagerCaptionHeight);
    FScaling = old;
  }
  ResetTabMetrics();
  TabsLayout();
  if (!ComponentState().Contains(csDesigning)) LoadState();
  InstallKeyboardHook();
  if (dynamic_cast<TForm*>(Parent()) != nullptr) SubclassParentForm();
  if (FToolBarStyler != nullptr) FToolBarStyler->RefreshStyle();
  if (FToolBarStyler == nullptr) SetComponentStyle(FVornStyle);
  StylerChanged(toolbar::skPagerCaption);
  StylerChanged(toolbar::skGeneral);
  UpdateCaptionButtons(true);
  UpdateHelpButton();
  if (FAutoMDIButtons) {
    // The setter waited for loading to end.
    FAutoMDIButtons = false;
    SetAutoMDIButtons(true);
  }
  UpdateCaptionLayer();
}

String TZadEdevAziPager::Version() const {
  const Integer v = GetVersionNr();
  return IntToStr((v >> 24) & 0xFF) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
         IntToStr(v & 0xFF);
}

void TZadEdevAziPager::SetParent(TWinControl* AParent) {
  if (AParent != nullptr) {
    const String cls = AParent->ClassName();
    if (cls == u"TAdvDockPanel" || dynamic_cast<toolbar::TAdvCustomToolBar*>(AParent) != nullptr ||
        dynamic_cast<TZadEdevAziPager*>(AParent) != nullptr || dynamic_cast<TAdvPage*>(AParent) != nullptr)
      throw Exception(u"Invalid Parent");
  }
  if (FIsAeroVista && AParent != nullptr && AParent->ClassName() != u"TZadEdevAziForm") {
    FIsAeroVista = false;
    TControlStyle cs = ControlStyle();
    cs.Exclude(csParentBackground);
    SetControlStyle(cs);
  }
  TCustomControl::SetParent(AParent);
}

void TZadEdevAziPager::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || FDestroying) return;
  KeyTipNotification(AComponent);
  if (AComponent == FToolBarStyler) SetToolBarStyler(nullptr);
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
  // Buttons of ours freed from outside, and the MDI frame going away.
  for (TAdvGlowButton** b : {&FCaptionCloseBtn, &FCaptionMinBtn, &FCaptionMaxBtn, &FMDICloseBtn, &FMDIMinBtn,
                             &FMDIMaxBtn, &FHelpBtn})
    if (AComponent == *b) *b = nullptr;
  if (AComponent == FMDIBtnImages) FMDIBtnImages = nullptr;
  if (AComponent == FLeftScrollBtn) FLeftScrollBtn = nullptr;
  if (AComponent == FRightScrollBtn) FRightScrollBtn = nullptr;
  if (AComponent == FMDIHookedForm) {
    FMDIHookedForm = nullptr;
    RemoveMDIHook();
  }
  if (AComponent == FCaptionLayer) FCaptionLayer = nullptr;
}

TCaptionLayer* TZadEdevAziPager::NeedCaptionLayer() {
  if (FCaptionLayer == nullptr) {
    FCaptionLayer = new TCaptionLayer(this);
    FCaptionLayer->SetParent(this);
    FCaptionLayer->SetAlign(alNone);
    FCaptionLayer->SendToBack();
  }
  return FCaptionLayer;
}

void TZadEdevAziPager::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  if (auto* page = dynamic_cast<TAdvPage*>(AControl); page != nullptr && IndexOfPage(page) >= 0) SetPageBounds(page);
}

void TZadEdevAziPager::WMSize(TMessage& Message) {
  TCustomControl::WMSize(Message);
  FullLayout();
}

void TZadEdevAziPager::FullLayout() {
  if (FDestroying) return;
  UpdatePagesBounds();
  TabsLayout();
  FTabScroller->SetPosition(0);
  if (FPropertiesLoaded) {
    UpdateCaptionButtons(false);
    UpdateMDIButtons(false);
    UpdateHelpButton();
  }
  if (FExpCollapsBtn != nullptr) UpdateExpandCollapseButton();
  // The quick-access toolbar follows its place (the strip below moves with
  // the pager's bottom).
  if (TAdvQuickAccessToolBar* q = QuickAccessToolBar()) {
    q->BuildControlList();
    q->UpdateSize();
    q->UpdateControlPos(false);
    q->UpdateHiddenControls();
  }
}

void TZadEdevAziPager::UpdateQAT() { FullLayout(); }

void TZadEdevAziPager::Resize() {
  TCustomControl::Resize();
  if (HandleAllocated() && FIsAeroVista) {
    SetGlassRegion();
    UpdateCaptionLayer();
  }
}

void TZadEdevAziPager::Invalidate() {
  if (FDestroying) return;
  TCustomControl::Invalidate();
}

void TZadEdevAziPager::Update() {
  TCustomControl::Update();
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  if (FPropertiesLoaded) {
    ResetTabMetrics();
    TabsLayout();
    UpdateCaptionButtons(false);
    UpdateCaptionLayer();
  } else {
    Loaded();
  }
  Invalidate();
}

void TZadEdevAziPager::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const bool resized = AWidth != Width() || AHeight != Height();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (resized && !FDestroying && FAdvPages) FullLayout();
}

// ---------------------------------------------------------------------------
// Pages

Integer TZadEdevAziPager::AddAdvPage(TAdvPage* AdvPage) {
  if (AdvPage == nullptr) return -1;
  Integer index = IndexOfPage(AdvPage);
  if (index < 0) {
    if (TZadEdevAziPager* other = AdvPage->ZadEdevAziPager(); other != nullptr && other != this)
      other->RemoveAdvPage(AdvPage);
    FAdvPages->Add(AdvPage);
    index = FAdvPages->Count() - 1;
  }
  AdvPage->SetPagerLink(this);
  if (AdvPage->Parent() != this) AdvPage->SetParent(this);
  SetPageBounds(AdvPage);
  if (index != FActivePageIndex) AdvPage->SetVisible(false);
  InvalidateTab(-1);
  if (TAdvPage* a = ActivePage()) a->BringToFront();
  ResetTabMetrics();
  TabsLayout();
  return index;
}

Integer TZadEdevAziPager::AddAdvPage(const String& PageCaption) {
  auto* page = new TAdvPage(this);
  page->SetCaption(PageCaption);
  page->SetZadEdevAziPager(this);
  return IndexOfPage(page);
}

void TZadEdevAziPager::RemoveAdvPage(TAdvPage* AdvPage) {
  const Integer i = IndexOfPage(AdvPage);
  if (i < 0) return;
  if (AdvPage == ActivePage()) SelectNextPage(true);
  // The active page is followed by what it is, not by its old index: the
  // indexes after the removed page move down by one.
  TAdvPage* active = ActivePage();
  FAdvPages->Delete(i);
  AdvPage->SetPagerLink(nullptr);
  if (TTimer* t = AdvPage->GlowTimer()) {
    AdvPage->SetGlowTimer(nullptr);
    delete t;
  }
  FActivePageIndex = active == AdvPage ? -1 : IndexOfPage(active);
  FHotPageIndex = FDownPageIndex = FOldHotPageIndex = FHintPageIndex = -1;
  if (!FDestroying) {
    ResetTabMetrics();
    TabsLayout();
    InvalidateTab(-1);
  }
}

TAdvPage* TZadEdevAziPager::AdvPages(Integer Index) const {
  if (Index < 0) throw Exception(u"Index out of bounds in list read access");
  return static_cast<TAdvPage*>(FAdvPages->GetItemsEx(Index));
}

Integer TZadEdevAziPager::IndexOfPage(const TAdvPage* AdvPage) const {
  return AdvPage == nullptr ? -1 : FAdvPages->IndexOf(const_cast<TAdvPage*>(AdvPage));
}

TAdvPage* TZadEdevAziPager::FindNextPage(TAdvPage* CurPage, bool GoForward, bool CheckTabVisible) const {
  const Integer n = AdvPageCount();
  if (n == 0) return nullptr;
  const Integer cur = IndexOfPage(CurPage);
  // From a page of this pager every other page is a candidate; from none,
  // every page is.
  const Integer start = cur >= 0 ? cur : (GoForward ? -1 : n);
  const Integer steps = cur >= 0 ? n - 1 : n;
  Integer i = start;
  for (Integer k = 0; k < steps; ++k) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TAdvPage* p = AdvPages(i);
    if (!CheckTabVisible || p->TabVisible()) return p;
  }
  return nullptr;
}

void TZadEdevAziPager::SelectNextPage(bool GoForward) {
  TAdvPage* active = ActivePage();
  if (active == nullptr) return;
  const Integer n = AdvPageCount();
  Integer i = FActivePageIndex;
  for (Integer k = 0; k < n - 1; ++k) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TAdvPage* p = AdvPages(i);
    if (p != active && p->TabVisible() && p->TabEnabled()) {
      SetActivePageIndex(i);
      return;
    }
  }
}

bool TZadEdevAziPager::ActivatePage(Integer Value) {
  if (Value < 0 || Value >= AdvPageCount() || Value == FActivePageIndex) return false;
  bool allow = true;
  if (OnChanging) OnChanging(this, FActivePageIndex, Value, allow);
  if (!allow || Value >= AdvPageCount()) return false;
  if (TAdvPage* old = ActivePage()) {
    old->HideCompactWindowOfZadEdevAzis();
    old->SetVisible(false);
    // The floating ribbon shows the old page's clone; it goes with no veto.
    if (!FExpanded) DestroyMinimizedRibbonWindow();
  }
  FActivePageIndex = Value;
  TAdvPage* page = AdvPages(Value);
  page->SetVisible(true);
  page->BringToFront();
  if (OnChange) OnChange(this);
  return true;
}

void TZadEdevAziPager::SetActivePageIndex(Integer Value) {
  const bool changed = ActivatePage(Value);
  InvalidateTab(-1);
  // Only a real change of the active page is news.
  if (changed && OnTabChanged) OnTabChanged(this);
}

TAdvPage* TZadEdevAziPager::ActivePage() const {
  return FActivePageIndex >= 0 && FActivePageIndex < AdvPageCount() ? AdvPages(FActivePageIndex) : nullptr;
}

void TZadEdevAziPager::SetActivePage(TAdvPage* Value) {
  const Integer i = IndexOfPage(Value);
  if (i >= 0) SetActivePageIndex(i);
}

Integer TZadEdevAziPager::PageTabGroupIndex(const TAdvPage* AdvPage) const {
  const Integer i = IndexOfPage(AdvPage);
  for (Integer g = 0; g < FTabGroups->Count(); ++g) {
    const TTabGroupItem* item = FTabGroups->Items(g);
    if (i >= item->TabIndexStart() && i <= item->TabIndexEnd()) return g;
  }
  return -1;
}

bool TZadEdevAziPager::PageInTabGroup(const TAdvPage* AdvPage) const { return PageTabGroupIndex(AdvPage) >= 0; }

// ---------------------------------------------------------------------------
// Settings

void TZadEdevAziPager::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  Invalidate();
}

void TZadEdevAziPager::SetDisabledImages(TCustomImageList* Value) {
  if (FDisabledImages == Value) return;
  
  FDisabledImages = Value;
  if (FDisabledImages != nullptr) FDisabledImages->FreeNotification(this);
  Invalidate();
}

void TZadEdevAziPager::SetAntiAlias(TAntiAlias Value) {
  FAntiAlias = Value;
  Invalidate();
}

void TZadEdevAziPager::SetShowNonSelectedTabs(bool Value) {
  FShowNonSelectedTabs = Value;
  InvalidateTab(-1);
}

void TZadEdevAziPager::SetCaptionButtons(TCaptionButtons Value) {
  if (FCaptionButtons == Value) return;
  FCaptionButtons = Value;
  UpdateCaptionButtons(true);
  Invalidate();
}

void TZadEdevAziPager::SetPageLeftMargin(Integer Value) {
  if (Value < 0 || Value == FPageLeftMargin) return;
  FPageLeftMargin = Value;
  UpdatePagesBounds();
  if (TAdvPage* a = ActivePage()) a->Invalidate();
}

void TZadEdevAziPager::SetPageRightMargin(Integer Value) {
  if (Value < 0 || Value == FPageRightMargin) return;
  FPageRightMargin = Value;
  UpdatePagesBounds();
  if (TAdvPage* a = ActivePage()) a->Invalidate();
}

void TZadEdevAziPager::CaptionChanged(TObject*) {
  if (FCaption->HeightUpdate() && !FScaling) {
    const double s = toolbar::ToolBarDPIScale;
    FOrigCaptionHeight = Rnd(FCaption->Height() / s);
    FScaledPagerCaptionHeight = Rnd(FOrigCaptionHeight * s);
    FScaling = true;
    FCaption->SetHeight(FScaledPagerCaptionHeight);
    FScaling = false;
  }
  UpdatePagesBounds();
  if (FPropertiesLoaded) UpdateCaptionButtons(false);
  Invalidate();
}

void TZadEdevAziPager::TabSettingsChanged(TObject*) {
  FDefTabMargin = Rnd(FTabSettings->StartMargin() * double(toolbar::ToolBarDPIScale));
  if (!FScaling) FBaseTabHeight = Rnd(FTabSettings->Height() / double(toolbar::ToolBarDPIScale));
  if (FTabSettings->Glass() && FIsAeroVista) FTabBackGroundShaded = true;
  UpdatePagesBounds();
  ResetTabMetrics();
  TabsLayout();
  Invalidate();
  if (TAdvPage* a = ActivePage()) a->Invalidate();
}

void TZadEdevAziPager::TabGroupsChanged(TObject*) {
  if (FDestroying) return;
  ResetTabMetrics();
  TabsLayout();
  Invalidate();
  // On glass the groups reach into the form's frame: a width change one
  // pixel down and back makes the frame draw again.
  if (FIsAeroVista)
    if (auto* f = dynamic_cast<TZadEdevAziForm*>(GetParentForm(this))) {
      f->SetWidth(f->Width() - 1);
      f->SetWidth(f->Width() + 1);
    }
}

// ---------------------------------------------------------------------------
// Glass

void TZadEdevAziPager::SetIsAeroVista(bool Value) {
  if (Value == FIsAeroVista) return;
  if (Value && ComponentState().Contains(csDesigning)) return;
  FIsAeroVista = Value;
  TControlStyle cs = ControlStyle();
  if (Value)
    cs.Include(csParentBackground);
  else
    cs.Exclude(csParentBackground);
  SetControlStyle(cs);
  if (Value) {
    CreateCaptionLayer();
    Resize();
  } else {
    if (FCaptionLayer != nullptr) FCaptionLayer->SetVisible(false);
    ClearGlassRegion();
  }
  if (TAdvCustomQuickAccessToolBar* q = QuickAccessToolBarOf(this)) q->SetIsAeroVista(Value);
  UpdatePagesBounds();
  SendToAppButton(toolbar::WM_TBSETAEROVISTA, Value ? 1 : 0, 0);
  Invalidate();
}

// ---------------------------------------------------------------------------
// The keyboard hook

const std::vector<TZadEdevAziPager*>& TZadEdevAziPager::HookedPagers() { return Hook().Pagers; }
bool TZadEdevAziPager::KeyboardHookInstalled() { return Hook().Handle != nullptr; }
void TZadEdevAziPager::SetGlowSpeed(Integer Speed) { GlowSpeedValue = Speed; }
Integer TZadEdevAziPager::GlowSpeed() { return GlowSpeedValue; }

void TZadEdevAziPager::InstallKeyboardHook() {
  if (ComponentState().Contains(csDesigning) || FHooked) return;
  THookState& h = Hook();
  h.Pagers.push_back(this);
  FHooked = true;
  if (h.Handle != nullptr) return;
  h.Handle = SetWindowsHookEx(
      WH_GETMESSAGE,
      [](int Code, WPARAM W, LPARAM L) -> LRESULT {
        THookState& s = Hook();
        const HHOOK self = s.Handle;
        if (Code == HC_ACTION && L != 0) {
          const MSG* m = reinterpret_cast<const MSG*>(L);
          if (m->message == WM_KEYDOWN) {
            const Integer key = Integer(m->wParam & 0xFFFF);
            if (key != s.LastKey) {
              // A pager may go away while another hears the key.
              const std::vector<TZadEdevAziPager*> pagers = s.Pagers;
              for (TZadEdevAziPager* p : pagers)
                if (std::find(s.Pagers.begin(), s.Pagers.end(), p) != s.Pagers.end()) p->HookKeyDown(Word(key));
            }
            s.LastKey = key;
          } else if (m->message == WM_KEYUP || m->message == WM_SYSKEYUP) {
            s.LastKey = -1;
            // Alt released wherever the focus is: a second Alt ends key-tip mode.
            if ((m->wParam & 0xFFFF) == VK_MENU)
              for (TZadEdevAziPager* p : s.Pagers) p->FKeyTips.AltReleased();
          }
        }
        return CallNextHookEx(self, Code, W, L);
      },
      nullptr, 0);
}

void TZadEdevAziPager::RemoveKeyboardHook() {
  if (!FHooked) return;
  FHooked = false;
  THookState& h = Hook();
  h.Pagers.erase(std::remove(h.Pagers.begin(), h.Pagers.end(), this), h.Pagers.end());
  if (h.Pagers.empty() && h.Handle != nullptr) {
    UnhookWindowsHookEx(h.Handle);
    h.Handle = nullptr;
    h.LastKey = -1;
  }
}

// HookKeyDown lives with the keyboard in ZadEdevAziPagerKeys.cpp.

// ---------------------------------------------------------------------------
// Application button

TControl* TZadEdevAziPager::FindAppButton() const {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (UpperCase(Controls(i)->ClassName()) == u"TADVSHAPEBUTTON") return Controls(i);
  return nullptr;
}

void TZadEdevAziPager::SendToAppButton(UINT Msg, WPARAM W, LPARAM L) {
  if (TControl* b = FindAppButton()) b->Perform(Msg, W, L);
}

// ---------------------------------------------------------------------------
// Scaling

void TZadEdevAziPager::ChangeScale(Integer M, Integer D, bool IsDpiChange) {
  if (!FExpanded) Expand();
  TCustomControl::ChangeScale(M, D, IsDpiChange);
  if (ComponentState().Contains(csLoading) || M == D || M <= 0 || D <= 0) return;
  // Every scaled size comes from its 96-DPI value, so that a round trip
  // through other resolutions gives back the same sizes.
  const Integer ppi = MulDiv(toolbar::ToolBarPPI, M, D);
  toolbar::ToolBarPPI = ppi;
  toolbar::ScreenPPI = ppi;
  toolbar::ToolBarDPIScale = Single(ppi / 96.0);
  const double s = toolbar::ToolBarDPIScale;
  toolbar::ScaledSize16 = Rnd(16 * s);
  FScaledPagerCaptionHeight = Rnd(FOrigCaptionHeight * s);
  toolbar::ScaledCaptionHeight = FScaledPagerCaptionHeight;
  FDefTabHeight = ScaledTabHeight(FBaseTabHeight, Single(s));
  FDefTabMargin = Rnd(FTabSettings->StartMargin() * s);
  FInitPPI = ppi;
  FScaling = true;
  FCaption->SetHeight(FScaledPagerCaptionHeight);
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    TAdvPage* p = AdvPages(i);
    for (Integer t = 0; t < p->ZadEdevAziCount(); ++t)
      if (TZadEdevAzi* tb = p->GetZadEdevAzis(t)) tb->SetCaptionHeight(toolbar::ScaledSize16);
  }
  FTabSettings->SetHeight(FDefTabHeight);
  FScaling = false;
  UpdatePagesBounds();
  ResetTabMetrics();
  TabsLayout();
  UpdateHelpButton();
  UpdateCaptionButtons(true);
  // Its picture comes in the size of the new scale, its place with the tabs.
  if (FExpCollapsBtn != nullptr) UpdateExpandCollapseButton();
  SetGlassRegion();
  Invalidate();
}

void RegisterPagerClasses() {
  TClassInfo::Of<TZadEdevAziPager, TCustomControl>(u"TZadEdevAziPager");
  TClassInfo::Of<TAdvPage, TCustomControl>(u"TAdvPage");
}

}  // namespace ribbon
