// The pager on the glass frame of a ribbon form: its scenic look, the tests
// the painters ask whether they draw on glass, the window region that leaves
// the form's own caption buttons showing through, the erase handling, and
// the caption layer over the caption row.
#include <algorithm>
#include <array>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/WindowRegion.h"
#include "ribbon/AdvPage.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/CaptionLayer.h"
#include "ribbon/RibbonFrame.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

std::vector<TZadEdevAziPager*>& LivePagers() {
  static std::vector<TZadEdevAziPager*> v;
  return v;
}

}  // namespace

void TrackLivePager(TZadEdevAziPager* Pager, bool Alive) {
  auto& v = LivePagers();
  v.erase(std::remove(v.begin(), v.end(), Pager), v.end());
  if (Alive) v.push_back(Pager);
}

std::array<TPoint, 6> GlassRegionPolygon(const TGlassRegionInput& In) {
  Integer w = In.Designing || !In.Win7 ? 100 : (In.Win10 ? 130 : 110);
  const Integer d = In.PPI;
  w = Rnd(double(w) * d / 96.0);
  Integer h = Rnd(double(d) * (In.ShadedTabs ? 25 : 22) / 96.0);
  h = std::min(h, In.CaptionHeight - 5);
  return {TPoint{0, 0},
          TPoint{In.Width - w, 0},
          TPoint{In.Width - w, h},
          TPoint{In.Width, h},
          TPoint{In.Width, In.Height},
          TPoint{0, In.Height}};
}

// ---------------------------------------------------------------------------
// Scenic look

void TZadEdevAziPager::SetWin7ScenicRibbonForAll(bool Value) {
  gdiplus::SetScenicRibbonFlag(Value);
  // A pager may go away while another re-lays itself.
  const std::vector<TZadEdevAziPager*> pagers = LivePagers();
  for (TZadEdevAziPager* p : pagers)
    if (std::find(LivePagers().begin(), LivePagers().end(), p) != LivePagers().end()) p->ApplyScenicRibbon(Value);
}

void TZadEdevAziPager::SetWin7ScenicRibbon(bool Value) { ApplyScenicRibbon(Value); }

void TZadEdevAziPager::ApplyScenicRibbon(bool Value) {
  FWin7ScenicRibbon = Value;
  if (FDestroying) return;
  StylerChanged(11);
  const TComponentState st = ComponentState();
  const bool running = !st.Contains(csDesigning) && !st.Contains(csLoading) && FPropertiesLoaded;
  if (FTabSettings->Glass() && FIsAeroVista && FWin7ScenicRibbon && running && Parent() != nullptr) {
    Resize();
    // The form's frame is drawn again in place (the glass margin follows
    // the tab row).
    if (Parent()->HandleAllocated())
      SetWindowPos(Parent()->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  // The look changes margins and heights: lay the pager out at its width.
  FullLayout();
  if (TAdvCustomQuickAccessToolBar* q = QuickAccessToolBarOf(this)) {
    q->UpdateLayout();
    q->UpdateAppIcon();
    q->Invalidate();
  }
  UpdateCaptionLayer();
  Invalidate();
}

// ---------------------------------------------------------------------------
// Glass tests

bool TZadEdevAziPager::IsOnGlass(bool CheckMaximized) const {
  const bool r = gdiplus::GetGlassFlag() && FIsAeroVista && FWin7ScenicRibbon &&
                 !ComponentState().Contains(csDesigning) && FGroupStyle != gsWindows8;
  if (r && CheckMaximized && !IsShadedGlassTabs()) {
    TCustomForm* f = GetParentForm(const_cast<TZadEdevAziPager*>(this));
    return f != nullptr && f->WindowState() != wsMaximized;
  }
  return r;
}

bool TZadEdevAziPager::IsShadedGlassTabs() const {
  return FIsAeroVista && ParentFormWindowState() == wsMaximized && FIsWin7 && gdiplus::GetGlassFlag() &&
         !ComponentState().Contains(csDesigning) && FTabBackGroundShaded;
}

TWindowState TZadEdevAziPager::ParentFormWindowState() const {
  TCustomForm* f = GetParentForm(const_cast<TZadEdevAziPager*>(this));
  return f != nullptr ? f->WindowState() : wsNormal;
}

// ---------------------------------------------------------------------------
// Window region

void TZadEdevAziPager::SetGlassRegion() {
  if (!FIsAeroVista || !HandleAllocated()) return;
  if (FRegionSet) ClearGlassRegion();
  TGlassRegionInput in;
  in.Designing = ComponentState().Contains(csDesigning);
  in.Win7 = FIsWin7;
  in.Win10 = FIsWin10;
  TCustomForm* f = GetParentForm(this);
  in.PPI = f != nullptr && f->ClassName() == u"TZadEdevAziForm" ? toolbar::ScreenPPI : 96;
  in.ShadedTabs = IsShadedGlassTabs();
  in.CaptionHeight = FScaledPagerCaptionHeight;
  in.Width = Width();
  in.Height = Height();
  const std::array<TPoint, 6> pts = GlassRegionPolygon(in);
  HRGN rgn = CreatePolygonRgn(pts.data(), int(pts.size()), WINDING);
  if (rgn == nullptr) return;
  SetWindowRgn(Handle(), rgn, TRUE);
  FRegionSet = true;
}

void TZadEdevAziPager::ClearGlassRegion() {
  if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
}

void TZadEdevAziPager::CreateWnd() {
  FRegionSet = false;
  TCustomControl::CreateWnd();
  if (!ComponentState().Contains(csDesigning)) SetGlassRegion();
}

// ---------------------------------------------------------------------------
// Caption layer

void TZadEdevAziPager::CreateCaptionLayer() {
  if (!FIsAeroVista || ComponentState().Contains(csDesigning)) return;
  if (FCaptionLayer == nullptr) {
    TCaptionLayer* l = NeedCaptionLayer();
    l->OnTextPaint = [this](TObject* S, String& T, TRect& R, TAlignment& A) { CaptionLayerTextPaint(S, T, R, A); };
    l->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      CaptionLayerMouseDown(S, B, Sh, X, Y);
    };
    l->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      CaptionLayerMouseUp(S, B, Sh, X, Y);
    };
    l->OnDoubleClick = [this](TObject* S, Integer X, Integer Y) { CaptionLayerDblClick(S, X, Y); };
  }
  UpdateCaptionLayer();
}

void TZadEdevAziPager::UpdateCaptionLayer() {
  const TComponentState st = ComponentState();
  if (!FIsAeroVista || st.Contains(csDesigning) || st.Contains(csLoading) || !FPropertiesLoaded ||
      FCaptionLayer == nullptr)
    return;
  FCaptionLayer->SetCaption(FCaption->Caption());
  const TRect r = GetCaptionRect();
  FCaptionLayer->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  FCaptionLayer->SetVisible(FUseCaptionLayer);
}

// The caption text on the layer, where the pager's glass caption would be.
void TZadEdevAziPager::CaptionLayerTextPaint(TObject* Sender, String& Text, TRect& TxtR, TAlignment&) {
  auto* l = dynamic_cast<TCaptionLayer*>(Sender);
  if (l == nullptr || !FIsAeroVista || !FCaption->Visible()) return;
  TAlignment align = taLeftJustify;
  TRect tr = GetCaptionTextRect(align);
  OffsetRect(&tr, -l->Left(), -l->Top());
  tr.Left += 8;
  tr.Right -= 105;
  if (!FHideState) tr.Right += FCaption->RightIndent();
  if (Text.empty()) Text = FCaption->Caption().empty() ? FCaption->WideCaption() : FCaption->Caption();
  (void)TxtR;
  toolbar::DrawGlassText(l, Text, false, l->BackColor(), TRect{}, false, tr);
}

void TZadEdevAziPager::CaptionLayerMouseDown(TObject* Sender, TMouseButton Button, TShiftState, Integer X,
                                             Integer Y) {
  auto* l = dynamic_cast<TCaptionLayer*>(Sender);
  if (l == nullptr) return;
  const TPoint pt{X + l->Left(), Y + l->Top()};
  TRect cap = GetCaptionRect();
  const Integer gi = TabGroupAtPos(pt.X, pt.Y);
  if (Button == mbRight && FCaption->Visible()) {
    bool onCaption = cap.Contains(pt) && gi < 0;
    if (FWin7ScenicRibbon) {
      TRect ext = cap;
      ext.Bottom += FTabSettings->Height();
      onCaption = ext.Contains(pt) && gi < 0 && PageAtPos(pt.X, pt.Y) < 0;
    }
    if (onCaption) ShowSystemMenu(ClientToScreen(pt));
    return;
  }
  if (FIsAeroVista && FCaption->Visible() && cap.Contains(pt) && FCanMove && gi < 0 && Button == mbLeft)
    if (TCustomForm* form = GetParentForm(l)) StartFormDrag(form, pt);
}

void TZadEdevAziPager::CaptionLayerMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                           Integer Y) {
  auto* l = dynamic_cast<TCaptionLayer*>(Sender);
  if (l == nullptr || !FIsAeroVista) return;
  const TPoint pt{X + l->Left(), Y + l->Top()};
  // Over a tab group: the pager's own release handles the group click.
  if (TabGroupAtPos(pt.X, pt.Y) >= 0) MouseUp(Button, Shift, pt.X, pt.Y);
}

void TZadEdevAziPager::CaptionLayerDblClick(TObject* Sender, Integer X, Integer Y) {
  auto* l = dynamic_cast<TCaptionLayer*>(Sender);
  if (l == nullptr || !FIsAeroVista || ComponentState().Contains(csDesigning)) return;
  CaptionDblClick(TPoint{X + l->Left(), Y + l->Top()});
}

}  // namespace ribbon
