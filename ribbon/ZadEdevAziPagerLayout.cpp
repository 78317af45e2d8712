// The pager's rectangles and its tab row: measuring, placing and the
// shrink and grow rules of PagerTabLayout.h applied to the pages.
#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Bitmap.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

const TRect NoRect{-1, -1, -1, -1};


// A canvas to measure text on, without a window.
TCanvas* MeasureCanvas() {
  static TBitmap* bitmap = [] {
    auto* b = new TBitmap(1, 1);
    return b;
  }();
  return bitmap->Canvas();
}

}  // namespace

// The side margin of the page area and tab row: none in the flat looks and
// with the scenic ribbon.
static Integer SideMargin(bool Tones, bool Scenic) { return Tones || Scenic ? 0 : 4; }

TRect TZadEdevAziPager::GetCaptionRect() const {
  if (!FCaption->Visible()) return NoRect;
  TRect r = ClientRect();
  r.Bottom = r.Top + FCaption->Height();
  return r;
}

TRect TZadEdevAziPager::GetTabsArea() const {
  TRect r = ClientRect();
  if (FCaption->Visible()) r.Top += FCaption->Height();
  r.Bottom = r.Top + FTabSettings->Height();
  return r;
}

TRect TZadEdevAziPager::GetTabsRect() const {
  TRect r = TabRowBounds();
  // The help button stands at the tab area's right end: the tabs (and the
  // right scroll button) stop before it rather than lie under it.
  if (FHelpBtn != nullptr && FShowHelpButton) r.Right = std::min(r.Right, GetHelpButtonRect().Left - 2);
  return r;
}

TRect TZadEdevAziPager::TabRowBounds() const {
  TRect r = ClientRect();
  const Integer t = r.Top + (FCaption->Visible() ? FCaption->Height() : 0);
  const Integer m = SideMargin(FItones, FWin7ScenicRibbon);
  r.Top = t + 4;
  r.Bottom = t + FTabSettings->Height() + 4;
  r.Left += m + FDefTabMargin + FPageLeftMargin;
  r.Right = r.Right - FTabSettings->EndMargin() - FPageRightMargin - m;
  // Room for the MDI child's three buttons after the row.
  if (FAutoMDIButtons && !ComponentState().Contains(csDesigning)) r.Right -= 3 * (FMDIButtonsWidth + FMDIButtonsSpace) + 5;
  return r;
}

TRect TZadEdevAziPager::GetTabRect(Integer PageIndex) const {
  if (PageIndex < 0 || PageIndex >= AdvPageCount()) return NoRect;
  const TAdvPage* p = AdvPages(PageIndex);
  if (!p->TabVisible()) return NoRect;
  const TRect row = GetTabsRect();
  Integer left = p->TabLeft();
  if (FGroupStyle == gsOffice2019) left = ShownTabLeft(BuildTabRow(), PageIndex);
  return TRect{left, row.Top, left + p->GetTabExtent(), row.Bottom};
}

TRect TZadEdevAziPager::GetTabRect(const TAdvPage* Page) const { return GetTabRect(IndexOfPage(Page)); }

TRect TZadEdevAziPager::GetVisibleTabRect(Integer PageIndex) const {
  TRect r = GetTabRect(PageIndex);
  if (r.Left < 0 && r.Right < 0) return NoRect;
  const TRect row = GetTabsRect();
  if (r.Right <= row.Left || r.Left >= row.Right) return NoRect;
  r.Left = std::max(r.Left, row.Left);
  r.Right = std::min(r.Right, row.Right);
  return r;
}

TRect TZadEdevAziPager::GetPageRect() const {
  TRect r = ClientRect();
  if (FCaption->Visible()) r.Top += FScaledPagerCaptionHeight;
  if (ShowQATBelow()) r.Bottom -= GetQATHeight();
  const Integer m = SideMargin(FItones, FWin7ScenicRibbon);
  r.Top += FTabSettings->Height();
  r.Left += m + FPageLeftMargin;
  r.Right -= m + FPageRightMargin;
  r.Bottom -= m + 1;
  if (FIsAeroVista && FWin7ScenicRibbon && IsOnGlass(false)) r.Bottom += 1;
  if (FItones) {
    r.Left -= 1;
    r.Right += 1;
    r.Bottom += 1;
  }
  return r;
}

Integer TZadEdevAziPager::PageAtPos(Integer X, Integer Y) const {
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    const TRect r = GetTabRect(i);
    if (r.Left < 0 && r.Right < 0) continue;
    if (r.Contains(TPoint{X, Y})) return i;
  }
  return -1;
}

void TZadEdevAziPager::SetPageBounds(TAdvPage* Page) {
  if (Page == nullptr || IndexOfPage(Page) < 0) return;
  TRect r = GetPageRect();
  // Minimised, the pages keep the height they have expanded (the floating
  // ribbon's clone takes it); the pager's own height clips them away.
  if (!FExpanded) r.Bottom += FExpandedHeight - (Height() - (ShowQATBelow() ? GetQATHeight() : 0));
  Page->SetBounds(r.Left, r.Top, std::max<Integer>(r.Width(), 0), std::max<Integer>(r.Height(), 0));
}

void TZadEdevAziPager::UpdatePagesBounds() {
  for (Integer i = 0; i < AdvPageCount(); ++i) SetPageBounds(AdvPages(i));
}

TCustomTabAppearance* TZadEdevAziPager::CurrentTabAppearance() const {
  toolbar::TCustomZadEdevAziStyler* s = FCurrentToolBarStyler;
  if (FTabAppearance && FItones && (s == nullptr || s->TabAppearance()->SystemFont()) && FToolBarStyler != nullptr)
    return FTabAppearance.get();
  if (s == nullptr) return FTabAppearance.get();
  return s->TabAppearance();
}

TCustomTabAppearance* TZadEdevAziPager::BackgroundTabAppearance() const {
  if (FTabAppearance && FItones) return FTabAppearance.get();
  return FCurrentToolBarStyler != nullptr ? FCurrentToolBarStyler->TabAppearance() : FTabAppearance.get();
}

TGroupAppearance* TZadEdevAziPager::GroupAppearanceOf(Integer GroupIndex) const {
  if (GroupIndex < 0 || GroupIndex >= FTabGroups->Count()) return nullptr;
  const TTabGroupItem* g = FTabGroups->Items(GroupIndex);
  if (!g->DefaultAppearance()) return g->GroupAppearance();
  if (FItones && FGroupAppearance && FGroupStyle != gsOffice2013 && FGroupStyle != gsOffice2016 &&
      FGroupStyle != gsOffice2019)
    return FGroupAppearance.get();
  return FCurrentToolBarStyler != nullptr ? FCurrentToolBarStyler->GroupAppearance() : nullptr;
}

TGroupAppearance* TZadEdevAziPager::CurrentStylerGroupAppearance() {
  return FCurrentToolBarStyler != nullptr ? FCurrentToolBarStyler->GroupAppearance() : nullptr;
}

Integer TZadEdevAziPager::MeasureTab(Integer Index, Integer& ClientWidth) {
  ClientWidth = 0;
  if (Index < 0 || Index >= AdvPageCount()) return 0;
  TAdvPage* page = AdvPages(Index);
  const Single s = toolbar::ToolBarDPIScale;
  TCustomTabAppearance* t = CurrentTabAppearance();
  const Integer g = PageTabGroupIndex(page);
  if (g >= 0)
    if (TGroupAppearance* ga = GroupAppearanceOf(g)) t = ga->TabAppearance();
  TCanvas* c = MeasureCanvas();
  if (t != nullptr) c->Font()->Assign(t->Font());
  c->Font()->SetHeight(Rnd(c->Font()->Height() * double(s)));
  TFontStyles st = c->Font()->Style();
  if (FGroupStyle == gsOffice2019) st.Include(fsBold);
  c->Font()->SetStyle(st);
  const String& text = page->Caption().empty() ? page->WideCaption() : page->Caption();
  TTabMeasureInput in;
  in.Scale = s;
  in.FontPointSize = c->Font()->Size();
  in.TextWidth = text.empty() ? 0 : toolbar::MeasureToolBarText(c, text);
  if ((FImages != nullptr || FDisabledImages != nullptr) && page->ImageIndex() >= 0) {
    if (!page->TabEnabled() && FDisabledImages != nullptr)
      in.ImageWidth = FDisabledImages->Width();
    else if (FImages != nullptr)
      in.ImageWidth = FImages->Width();
  }
  in.LeftMargin = FTabSettings->LeftMargin();
  in.RightMargin = FTabSettings->RightMargin();
  in.OnGlass = IsOnGlass(true);
  in.Office2019 = FGroupStyle == gsOffice2019;
  const TTabMeasure m = MeasureTabWidths(in);
  page->SetTabWidth(m.Width);
  page->SetTabRealClientWidth(m.RealClientWidth);
  ClientWidth = m.ClientWidth;
  return m.Width;
}

void TZadEdevAziPager::ComputeGroupExtraMargins() {
  for (Integer g = 0; g < FTabGroups->Count(); ++g) {
    TTabGroupItem* item = FTabGroups->Items(g);
    item->TabExtraXMargin = item->TabCurrentExtraXMargin = 0;
  }
  if (ComponentState().Contains(csDesigning)) return;
  for (Integer g = 0; g < FTabGroups->Count(); ++g) {
    TTabGroupItem* item = FTabGroups->Items(g);
    bool shown = true, whole = true;
    const TRect r = GetTabGroupRect(g, shown, whole);
    if (!shown || !whole) continue;
    TCanvas* c = MeasureCanvas();
    if (TGroupAppearance* ga = GroupAppearanceOf(g)) c->Font()->Assign(ga->Font());
    const String& text = item->Caption().empty() ? item->WideCaption() : item->Caption();
    const Integer w = text.empty() ? 0 : toolbar::MeasureToolBarText(c, text);
    const Integer m = GroupExtraMargin(r.Width(), w, item->TabIndexEnd() - item->TabIndexStart() + 1);
    item->TabExtraXMargin = item->TabCurrentExtraXMargin = m;
  }
}

void TZadEdevAziPager::ResetTabMetrics() {
  FCurrent = {FTabSettings->Spacing(), FTabSettings->LeftMargin(), FTabSettings->RightMargin(),
              FTabSettings->LeftMargin(), FTabSettings->RightMargin()};
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    Integer client = 0;
    MeasureTab(i, client);
    TAdvPage* p = AdvPages(i);
    p->SetTabClientWidth(client);
    if (FGroupStyle != gsOffice2019) p->SetTabRealClientWidth(client);
  }
  ComputeGroupExtraMargins();
  PositionTabs();
  FTabScroller->SetPosition(0);
}

TTabRow TZadEdevAziPager::BuildTabRow() const {
  TTabRow row;
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    const TAdvPage* p = AdvPages(i);
    TTabMetrics t;
    t.Visible = p->TabVisible();
    t.Group = PageTabGroupIndex(p);
    t.Left = p->TabLeft();
    t.ClientWidth = p->TabClientWidth();
    t.RealClientWidth = p->TabRealClientWidth();
    t.Width = p->TabWidth();
    row.Tabs.push_back(t);
  }
  for (Integer g = 0; g < FTabGroups->Count(); ++g)
    row.Groups.push_back({FTabGroups->Items(g)->TabExtraXMargin, FTabGroups->Items(g)->TabCurrentExtraXMargin});
  row.Settings = {FTabSettings->Spacing(), FTabSettings->LeftMargin(), FTabSettings->RightMargin(),
                  FTabSettings->MinSpacing(), FTabSettings->MinMargin()};
  row.Current = FCurrent;
  const TRect r = GetTabsRect();
  row.RowLeft = r.Left;
  row.RowRight = r.Right;
  row.Abut = FGroupStyle == gsOffice2019;
  return row;
}

void TZadEdevAziPager::ApplyTabRow(const TTabRow& Row) {
  for (Integer i = 0; i < AdvPageCount() && i < Integer(Row.Tabs.size()); ++i) {
    TAdvPage* p = AdvPages(i);
    p->SetTabLeft(Row.Tabs[size_t(i)].Left);
    p->SetTabClientWidth(Row.Tabs[size_t(i)].ClientWidth);
  }
  for (Integer g = 0; g < FTabGroups->Count() && g < Integer(Row.Groups.size()); ++g)
    FTabGroups->Items(g)->TabCurrentExtraXMargin = Row.Groups[size_t(g)].CurrentExtraXMargin;
  FCurrent = Row.Current;
}

void TZadEdevAziPager::PositionTabs() {
  TTabRow row = BuildTabRow();
  PositionAllTabs(row);
  ApplyTabRow(row);
}

void TZadEdevAziPager::TabsLayout() {
  if (AdvPageCount() == 0 || !FPropertiesLoaded) {
    PositionTabs();
  } else {
    TTabRow row = BuildTabRow();
    LayoutTabRow(row);
    ApplyTabRow(row);
  }
  // A new layout starts from the first tab.
  ResetTabScroller();
}

void TZadEdevAziPager::InvalidateTab(Integer PageIndex) {
  (void)PageIndex;
  // The whole tab area: neighbours share separators and the underline.
  Invalidate();
}

}  // namespace ribbon
