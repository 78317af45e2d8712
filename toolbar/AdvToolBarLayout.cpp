#include "toolbar/AdvToolBarLayout.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "platform/rtl/Math.h"
#include "platform/vcl/Canvas.h"

namespace toolbar {

Integer ScaleToolBarSize(Integer k, Single Scale) { return Integer(Round(double(k) * double(Scale))); }

Integer GripOffset(bool GripShown, Integer DragGripWidth) { return GripShown ? DragGripWidth + 2 : 2; }

namespace {

Integer W(const TToolBarItem& I) { return I.Bounds.Width(); }
Integer H(const TToolBarItem& I) { return I.Bounds.Height(); }

void Place(TToolBarItem& I, Integer X, Integer Y) {
  const Integer w = W(I), h = H(I);
  I.Bounds = TRect{X, Y, X + w, Y + h};
}
void PlaceLeft(TToolBarItem& I, Integer X) { Place(I, X, I.Bounds.Top); }
void PlaceTop(TToolBarItem& I, Integer Y) { Place(I, I.Bounds.Left, Y); }

bool Stacks(TToolBarItemKind K) { return K == TToolBarItemKind::SmallGlowButton; }

// The caption's share across a horizontal toolbar, scaled as the painting
// scales it (caption at the top only).
Integer CaptionTop(const TToolBarFrame& F) {
  return F.ShowCaption && F.CaptionPosition == cpTop ? ScaleToolBarSize(F.CaptionHeight, F.Scale) + 2 : 2;
}

void ArrangeMultiRowPage(const TToolBarFrame& F, std::vector<TToolBarItem>& Items) {
  Integer x = 2, y = 0;
  for (std::size_t i = 0; i < Items.size(); ++i) {
    TToolBarItem& c = Items[i];
    if (!c.Arranged()) continue;
    if (F.Width - x - 2 < W(c)) {
      x = 2;
      // Beside the taller controls of the rows above.
      for (std::size_t j = 0; j < i; ++j)
        if (Items[j].Arranged() && H(Items[j]) > H(c)) x = std::max(x, Items[j].Bounds.Right);
      y += H(c);
    }
    if (c.AlignWithMargins) {
      x += c.Margins.Left;
      y += c.Margins.Top;
    }
    Place(c, x, y);
    x += W(c) + (c.AlignWithMargins ? c.Margins.Right : 0);
  }
}

// The caption's height as the painting draws it (scaled, except on a page).
Integer ScaledCaption(const TToolBarFrame& F) {
  return F.OnPage ? F.CaptionHeight : ScaleToolBarSize(F.CaptionHeight, F.Scale);
}

void ArrangeFloating(const TToolBarFrame& F, std::vector<TToolBarItem>& Items) {
  const Integer top = ScaledCaption(F) + 2;
  Integer x = 2, y = top;
  for (TToolBarItem& c : Items) {
    if (!c.Arranged()) {
      if (c.Kind != TToolBarItemKind::Badge) PlaceTop(c, F.Height + 2);
      continue;
    }
    if (F.FloatingRows > 1 && x > 2 && F.Width - x - 2 < W(c)) {
      x = 2;
      y += F.SizeAtDock;
    }
    Place(c, x, y);
    x += W(c);
  }
}

void ArrangeRibbon(const TToolBarFrame& F, std::vector<TToolBarItem>& Items) {
  Integer x = F.GripOffset;
  const Integer y = CaptionTop(F);
  Integer colStart = x, colY = y, inColumn = 0;
  for (TToolBarItem& c : Items) {
    if (!c.Arranged()) {
      if (c.Kind != TToolBarItemKind::Badge) PlaceTop(c, F.Height + 2);
      continue;
    }
    if (Stacks(c.Kind)) {
      if (inColumn == 0 || inColumn == 3) {
        colStart = x;
        colY = y;
        inColumn = 0;
      }
      Place(c, colStart, colY);
      colY += H(c);
      ++inColumn;
      x = std::max(x, colStart + W(c));
      continue;
    }
    inColumn = 0;
    if (c.Kind != TToolBarItemKind::LargeGlowButton) x += c.LabelMargin;
    Place(c, x, y);
    x += W(c);
  }
}

void ArrangeHorizontal(const TToolBarFrame& F, std::vector<TToolBarItem>& Items) {
  Integer x = F.GripOffset;
  const Integer y = CaptionTop(F);
  for (TToolBarItem& c : Items) {
    if (!c.Arranged()) {
      if (c.Kind != TToolBarItemKind::Badge) PlaceTop(c, F.Height + 2);
      continue;
    }
    if (c.Hidden) {
      if (c.ParentedHere) PlaceTop(c, F.Height + 2);
      continue;
    }
    if (c.AlignWithMargins) x += c.Margins.Left;
    Place(c, x, c.AlignWithMargins ? y + c.Margins.Top : y);
    x += W(c) + (c.AlignWithMargins ? c.Margins.Right : 0);
  }
}

void ArrangeVertical(const TToolBarFrame& F, std::vector<TToolBarItem>& Items) {
  Integer y = F.GripOffset;
  const Integer x = F.ShowCaption && F.CaptionPosition == cpTop ? ScaledCaption(F) + 2 : 2;
  for (TToolBarItem& c : Items) {
    if (!c.Arranged() || c.Hidden) {
      if (!c.Hidden || c.ParentedHere) PlaceLeft(c, F.Width + 2);
      continue;
    }
    Place(c, x, y);
    y += H(c);
  }
}

}  // namespace

void ArrangeToolBarItems(const TToolBarFrame& F, std::vector<TToolBarItem>& Items) {
  if (F.OnPage && !F.AutoSize && F.AutoPositionMultiRow)
    ArrangeMultiRowPage(F, Items);
  else if (F.Floating)
    ArrangeFloating(F, Items);
  else if (F.Horizontal && F.Ribbon())
    ArrangeRibbon(F, Items);
  else if (F.Horizontal)
    ArrangeHorizontal(F, Items);
  else
    ArrangeVertical(F, Items);
}

TToolBarMeasure MeasureToolBar(const TToolBarFrame& F, const std::vector<TToolBarItem>& Items) {
  TToolBarMeasure r;
  const Integer handle = F.ShowPopupIndicator ? ScaleToolBarSize(F.PopupIndicatorWidth, F.Scale) : 0;
  // The last control that shows ends the smallest length.
  Integer last = -1, arranged = 0;
  for (Integer i = 0; i < Integer(Items.size()); ++i) {
    if (!Items[i].Arranged()) continue;
    ++arranged;
    if (!Items[i].Hidden) last = i;
  }
  Integer m = F.MinLength;
  if (last < 0) {
    m = 15;
  } else if (F.Horizontal && F.Ribbon()) {
    // A stacked column ends with its widest button, not with its last one.
    Integer e = 0, stacked = 0;
    for (Integer i = last; i >= 0; --i) {
      const TToolBarItem& c = Items[i];
      if (!c.Arranged() || c.Hidden) continue;
      e = std::max(e, c.Bounds.Right);
      if (Stacks(c.Kind) || c.Kind == TToolBarItemKind::ToolBarButton) {
        if (++stacked >= 3) break;
      } else if (!F.OnCompactWindow) {
        break;
      }
    }
    if (e > 0) m = e;
  } else {
    m = F.Horizontal ? Items[last].Bounds.Right : Items[last].Bounds.Bottom;
  }
  m += handle;

  Integer f = F.GripOffset + handle, across = 0;
  for (const TToolBarItem& c : Items) {
    if (!c.Arranged()) continue;
    f += F.Horizontal ? W(c) : H(c);
    if (c.Kind != TToolBarItemKind::Separator) across = std::max(across, F.Horizontal ? H(c) : W(c));
  }
  r.Thickness = std::max(26, across + 4);
  if (F.Horizontal) {
    if (F.Ribbon())
      f = m;
    else
      m = f = std::max(m, f);
    if (!F.Visible || (F.OnPage && F.HideOnEmpty && arranged == 0)) m = f = 0;
  } else {
    f = std::max(m, f);
  }
  r.MinLength = m;
  r.FullLength = f;
  return r;
}

TSize FloatingToolBarSize(const TToolBarFrame& F, const std::vector<TToolBarItem>& Items) {
  Integer length = F.MinLength;
  for (auto it = Items.rbegin(); it != Items.rend(); ++it)
    if (it->Arranged()) {
      length = std::max(length, it->Bounds.Right + 2);
      break;
    }
  return TSize{length, F.SizeAtDock + ScaledCaption(F)};
}

TToolBarSizing SizeToolBar(const TToolBarFrame& F, const TToolBarMeasure& M, Integer CurrentLength,
                           Integer CurrentMaxLength, bool DoCheckBoundChange, Integer CaptionThickness) {
  TToolBarSizing s;
  const Integer m = M.MinLength, f = M.FullLength;
  s.FullLength = f;
  s.MinLength = m < F.MinLength ? m : F.MinLength;
  s.Length = CurrentLength;
  if (F.Horizontal) {
    if (DoCheckBoundChange && CurrentMaxLength != f && f < CurrentLength && CurrentLength != m) s.Length = m;
    s.MaxLength = f;
    if (s.Length < m || (s.Length > m && s.Length > f)) s.Length = m;
  } else {
    s.MaxLength = f;
    if (s.Length < m || (m < s.Length && f < s.Length)) s.Length = m;
  }
  s.Thickness = M.Thickness + CaptionThickness;
  return s;
}

std::vector<bool> SeparatorVisibility(const std::vector<TToolBarItem>& Items) {
  std::vector<bool> shows(Items.size(), true);
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < Items.size(); ++i)
    if (Items[i].Visible) order.push_back(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return Items[a].Bounds.Left < Items[b].Bounds.Left; });
  Integer count = 0;
  for (std::size_t i : order) {
    if (Items[i].Kind == TToolBarItemKind::Separator) {
      shows[i] = count > 0;
      count = 0;
    } else {
      ++count;
    }
  }
  return shows;
}

// ---------------------------------------------------------------------------
// Ribbon button sizes

namespace {

bool CanShrinkFrom(const TSizableButton& B, Integer S) { return B.AutoSized && B.State == S && B.MinState < S; }
bool CanGrowFrom(const TSizableButton& B, Integer S) { return B.AutoSized && B.State == S && B.MaxState > S; }

// From the end, the first i where the buttons at i and i - 1 both qualify;
// then up to three from i back that qualify (and share i's Left when asked).
template <class Qualifies>
TButtonSizeStep FindRun(const std::vector<TSizableButton>& B, Qualifies Q, bool SameLeft) {
  TButtonSizeStep step;
  for (Integer i = Integer(B.size()) - 1; i >= 1; --i) {
    if (!Q(B[i]) || !Q(B[i - 1])) continue;
    step.Found = true;
    for (Integer k = i; k >= 0 && k > i - 3; --k) {
      if (!Q(B[k]) || (SameLeft && B[k].Left != B[i].Left)) break;
      step.Indexes.push_back(k);
    }
    break;
  }
  return step;
}

}  // namespace

TButtonSizeStep FindReduceStep(const std::vector<TSizableButton>& Buttons) {
  TButtonSizeStep step = FindRun(Buttons, [](const TSizableButton& b) { return CanShrinkFrom(b, 2); }, false);
  if (step.Found) {
    step.NewState = 1;
    step.SumOld = true;
    return step;
  }
  step = FindRun(Buttons, [](const TSizableButton& b) { return CanShrinkFrom(b, 1); }, true);
  step.NewState = 0;
  return step;
}

TButtonSizeStep FindEnlargeStep(const std::vector<TSizableButton>& Buttons) {
  TButtonSizeStep step = FindRun(Buttons, [](const TSizableButton& b) { return CanGrowFrom(b, 0); }, true);
  if (step.Found) {
    step.NewState = 1;
    return step;
  }
  step = FindRun(Buttons, [](const TSizableButton& b) { return CanGrowFrom(b, 1); }, false);
  step.NewState = 2;
  step.SumNew = true;
  return step;
}

Integer StepWidth(const TButtonSizeStep& Step, const std::vector<Integer>& OldWidths,
                  const std::vector<Integer>& NewWidths) {
  if (!Step.Found) return 0;
  auto combine = [](const std::vector<Integer>& W, bool Sum) {
    Integer r = 0;
    for (Integer w : W) r = Sum ? r + w : std::max(r, w);
    return r;
  };
  return std::abs(combine(OldWidths, Step.SumOld) - combine(NewWidths, Step.SumNew));
}

// ---------------------------------------------------------------------------
// Rectangles of the parts

namespace {
// The caption's height as drawn: scaled, except on a ribbon page (whose
// pager scales it already). The caption's buttons are as wide as it is high.
Integer CaptionExtent(const TToolBarParts& P) {
  return P.OnPage ? P.CaptionHeight : ScaleToolBarSize(P.CaptionHeight, P.Scale);
}
}  // namespace

TRect CaptionRect(const TToolBarParts& P) {
  const Integer h = CaptionExtent(P);
  TRect c = P.Client;
  if (P.Floating) {
    c.Bottom = c.Top + h;
    return c;
  }
  if (!P.ShowCaption) return TRect{0, 0, 0, 0};
  if (P.Horizontal) {
    if (P.CaptionPosition == cpTop) c.Bottom = c.Top + h;
    else c.Top = c.Bottom - h;
  } else {
    if (P.CaptionPosition == cpTop) c.Right = c.Left + h;
    else c.Left = c.Right - h;
  }
  return c;
}

TRect ControlsRect(const TToolBarParts& P) {
  const TRect c = CaptionRect(P);
  TRect r = P.Client;
  if (P.Floating) {
    r.Top = c.Bottom;
  } else if (P.ShowCaption) {
    if (P.Horizontal) {
      if (P.CaptionPosition == cpTop) r.Top = c.Bottom;
      else r.Bottom = c.Top;
    } else {
      if (P.CaptionPosition == cpTop) r.Left = c.Right;
      else r.Right = c.Left;
    }
  }
  return r;
}

TRect CloseButtonRect(const TToolBarParts& P) {
  if (!P.Floating || !P.ShowClose) return TRect{0, 0, 0, 0};
  const TRect c = CaptionRect(P);
  return TRect{c.Right - CaptionExtent(P) - 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
}

TRect OptionButtonRect(const TToolBarParts& P) {
  if (!P.Floating || !P.ShowOptionIndicator) return TRect{0, 0, 0, 0};
  if (P.ShowClose) {
    const TRect close = CloseButtonRect(P);
    return TRect{close.Left - CaptionExtent(P) - 2, close.Top, close.Left - 2, close.Bottom};
  }
  const TRect c = CaptionRect(P);
  return TRect{c.Right - CaptionExtent(P) - 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
}

TRect CaptionOptionRect(const TToolBarParts& P) {
  if (!P.ShowOptionIndicator || P.ShowRightHandle || P.Floating || !P.ShowCaption || !P.Horizontal)
    return TRect{-1, -1, -1, -1};
  const TRect c = CaptionRect(P);
  TRect r{c.Right - CaptionExtent(P) + 1, c.Top + 2, c.Right - 1, c.Bottom - 1};
  if (P.ScenicRibbon) r.Right -= 2;
  return r;
}

bool RightHandleShown(const TToolBarParts& P) {
  return P.ShowPopupIndicator && P.ShowRightHandle && !P.Floating && !P.FullSize;
}

TRect RightHandleRect(const TToolBarParts& P) {
  if (!RightHandleShown(P)) return TRect{0, 0, 0, 0};
  const Integer w = ScaleToolBarSize(P.PopupIndicatorWidth, P.Scale);
  const Integer width = P.Client.Width(), height = P.Client.Height();
  TRect r = P.Horizontal ? TRect{width - w, 1, width + 1, height + 1} : TRect{0, height - w, width, height};
  if (P.RoundEdges) return TRect{r.Left - 1, r.Top + 1, r.Right - 2, r.Bottom - 3};
  if (P.Horizontal) return TRect{r.Left - 1, r.Top + 1, r.Right, r.Bottom - 2};
  return TRect{r.Left + 1, r.Top, r.Right - 1, r.Bottom - 1};
}

TRect DragGripRect(const TToolBarParts& P) {
  return P.Horizontal ? TRect{1, 1, P.DragGripWidth, P.Client.Height()} : TRect{1, 1, P.Client.Width(), P.DragGripWidth};
}

// ---------------------------------------------------------------------------
// Text measure

namespace {
TToolBarTextMeasure& InstalledMeasure() {
  static TToolBarTextMeasure measure;
  return measure;
}
}  // namespace

Integer MeasureToolBarText(TCanvas* Canvas, const String& Text) {
  if (const TToolBarTextMeasure& m = InstalledMeasure()) return m(Canvas, Text);
  return Canvas != nullptr ? Canvas->TextWidth(Text) : 0;
}

void SetToolBarTextMeasure(TToolBarTextMeasure Measure) { InstalledMeasure() = std::move(Measure); }

}  // namespace toolbar
