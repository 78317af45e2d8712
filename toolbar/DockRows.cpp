#include "toolbar/DockRows.h"

#include <algorithm>
#include <set>

#include "platform/rtl/Exceptions.h"

namespace toolbar {

namespace {

// Position, length, thickness and cross-axis position of a bar along the
// row axis (H: x).
Integer AxisPos(const IDockBar* B, bool H) { return H ? B->BarBounds().Left : B->BarBounds().Top; }
Integer AxisLen(const IDockBar* B, bool H) { return H ? B->BarBounds().Width() : B->BarBounds().Height(); }
Integer AxisThick(const IDockBar* B, bool H) { return H ? B->BarBounds().Height() : B->BarBounds().Width(); }
Integer AxisCross(const IDockBar* B, bool H) { return H ? B->BarBounds().Top : B->BarBounds().Left; }

void SetAxisPos(IDockBar* B, Integer P, bool H) {
  TRect r = B->BarBounds();
  if (H) {
    r.Right = P + r.Width();
    r.Left = P;
  } else {
    r.Bottom = P + r.Height();
    r.Top = P;
  }
  if (r != B->BarBounds()) B->SetBarBounds(r);
}

void AxisMoveBy(IDockBar* B, Integer D, bool H) {
  if (D != 0) SetAxisPos(B, AxisPos(B, H) + D, H);
}

void SetAxisLen(IDockBar* B, Integer L, bool H) {
  TRect r = B->BarBounds();
  if (H)
    r.Right = r.Left + L;
  else
    r.Bottom = r.Top + L;
  if (r != B->BarBounds()) B->SetBarBounds(r);
}

void SetAxisCross(IDockBar* B, Integer C, bool H) {
  TRect r = B->BarBounds();
  if (H) {
    r.Bottom = C + r.Height();
    r.Top = C;
  } else {
    r.Right = C + r.Width();
    r.Left = C;
  }
  if (r != B->BarBounds()) B->SetBarBounds(r);
}

void SetAxisThick(IDockBar* B, Integer T, bool H) {
  TRect r = B->BarBounds();
  if (H)
    r.Bottom = r.Top + T;
  else
    r.Right = r.Left + T;
  if (r != B->BarBounds()) B->SetBarBounds(r);
}

// Room to shrink or grow along the row (the bar's own constraints).
Integer BarShrinkRoom(const IDockBar* B, bool H) { return AxisLen(B, H) - B->BarMinLength(); }
Integer BarGrowRoom(const IDockBar* B, bool H) { return B->BarMaxLength() - AxisLen(B, H); }

}  // namespace

// ---------------------------------------------------------------------------
// TRowCollectionItem

TRowCollectionItem::TRowCollectionItem(TCollection* Collection) : TCollectionItem(Collection) {}

TRowCollectionItem::~TRowCollectionItem() {
  if (TRowCollection* rows = Rows(); rows != nullptr && rows->OnDeleteItem) {
    try {
      rows->OnDeleteItem(rows, Index());
    } catch (...) {
      // A destructor raises nothing.
    }
  }
}

TRowCollection* TRowCollectionItem::Rows() const { return static_cast<TRowCollection*>(Collection()); }

Integer TRowCollectionItem::IndexOfToolBar(const IDockBar* Bar) const {
  const auto it = std::find(FToolBarList.begin(), FToolBarList.end(), Bar);
  return it == FToolBarList.end() ? -1 : static_cast<Integer>(it - FToolBarList.begin());
}

bool TRowCollectionItem::Horizontal() const { return Rows()->Horizontal(); }

Integer TRowCollectionItem::RowStart() const { return Horizontal() ? FRowRect.Left : FRowRect.Top; }

Integer TRowCollectionItem::RowEnd() const { return Horizontal() ? FRowRect.Right : FRowRect.Bottom; }

Integer TRowCollectionItem::Height() const {
  const bool h = Horizontal();
  Integer t = Rows()->Scale(MinRowThickness);
  for (const IDockBar* b : FToolBarList) t = std::max(t, AxisThick(b, h));
  return t;
}

Integer TRowCollectionItem::FreeSpaceBetween(const IDockBar* APrev, const IDockBar* ANext) const {
  const bool h = Horizontal();
  const Integer spacing = Rows()->FOffSetX;
  if (APrev != nullptr && ANext != nullptr) return AxisPos(ANext, h) - AxisPos(APrev, h) - AxisLen(APrev, h) - spacing;
  if (ANext != nullptr) return AxisPos(ANext, h) - RowStart() - spacing;
  if (APrev != nullptr) return RowEnd() - AxisPos(APrev, h) - AxisLen(APrev, h) - spacing;
  return 0;
}

Integer TRowCollectionItem::FreeBefore(Integer k) const {
  return FreeSpaceBetween(k > 0 ? FToolBarList[k - 1] : nullptr, FToolBarList[k]);
}

Integer TRowCollectionItem::FreeAfter(Integer k) const {
  return FreeSpaceBetween(FToolBarList[k], k + 1 < ToolBarCount() ? FToolBarList[k + 1] : nullptr);
}

bool TRowCollectionItem::IsAllowed(const IDockBar* Bar) const {
  if (Bar == nullptr) return false;
  if (!FToolBarList.empty() && FToolBarList.front()->BarFullSize()) return false;
  return !Bar->BarFullSize() || FToolBarList.empty();
}

void TRowCollectionItem::FitFullSize(IDockBar* Bar) {
  const bool h = Horizontal();
  const Integer l = RowLength() - 2 * Rows()->FOffSetX;
  Bar->SetBarLengthConstraints(0, Bar->BarMaxLength());
  Bar->SetBarLengthConstraints(l, l);
  SetAxisLen(Bar, l, h);
  SetAxisPos(Bar, RowStart() + Rows()->FOffSetX, h);
}

bool TRowCollectionItem::AppendToolBar(IDockBar* Bar) {
  if (Bar == nullptr || IndexOfToolBar(Bar) >= 0 || !IsAllowed(Bar)) return false;
  FToolBarList.push_back(Bar);
  return true;
}

void TRowCollectionItem::ForgetToolBar(const IDockBar* Bar) {
  if (const Integer at = IndexOfToolBar(Bar); at >= 0) FToolBarList.erase(FToolBarList.begin() + at);
}

Integer TRowCollectionItem::AddToolBar(IDockBar* Bar) {
  if (Bar == nullptr || IndexOfToolBar(Bar) >= 0 || !IsAllowed(Bar)) return -1;
  const bool h = Horizontal();
  const Integer spacing = Rows()->FOffSetX;
  FToolBarList.push_back(Bar);
  const Integer at = ToolBarCount() - 1;
  if (Bar->BarFullSize()) {
    FitFullSize(Bar);
    Bar->BarLengthFitted();
  } else if (h) {
    const Integer from =
        at == 0 ? RowStart() : AxisPos(FToolBarList[at - 1], true) + AxisLen(FToolBarList[at - 1], true);
    SetAxisPos(Bar, from + spacing, true);
  } else if (at == 0) {
    // A vertical row fills from its far end.
    SetAxisPos(Bar, RowEnd() - AxisLen(Bar, false) - spacing, false);
  } else {
    SetAxisPos(Bar, AxisPos(FToolBarList[at - 1], false) + AxisLen(FToolBarList[at - 1], false) + spacing, false);
  }
  Bar->SetBarRow(Index());
  Rows()->UpdateRowRects();
  return at;
}

bool TRowCollectionItem::InsertToolBar(IDockBar* Bar) {
  if (Bar == nullptr || IndexOfToolBar(Bar) >= 0 || Bar->BarFullSize() || !IsAllowed(Bar)) return false;
  const bool h = Horizontal();
  const Integer p = AxisPos(Bar, h);
  const auto it =
      std::find_if(FToolBarList.begin(), FToolBarList.end(), [&](const IDockBar* b) { return AxisPos(b, h) > p; });
  const bool inserted = it != FToolBarList.end();
  FToolBarList.insert(it, Bar);
  Bar->SetBarRow(Index());
  Rows()->UpdateRowRects();
  return inserted;
}

void TRowCollectionItem::RemoveToolBar(IDockBar* Bar, bool DeleteIfEmpty) {
  const Integer at = IndexOfToolBar(Bar);
  if (at < 0) return;
  FToolBarList.erase(FToolBarList.begin() + at);
  // It stands in no row now: nothing may act on a row by its stale index.
  Bar->SetBarRow(-1);
  ArrangeToolBars();
  if (DeleteIfEmpty) Rows()->DeleteRowIfEmpty(this);
}

Integer TRowCollectionItem::Squeeze(Integer k, Integer e) {
  const bool h = Horizontal();
  auto& t = FToolBarList;
  // Free space in front first: the group from j to k moves toward the start.
  for (Integer j = k; j >= 0 && e < 0; --j) {
    const Integer g = std::min(FreeBefore(j), -e);
    if (g <= 0) continue;
    for (Integer m = j; m <= k; ++m) AxisMoveBy(t[m], -g, h);
    e += g;
  }
  // Then shrink room, the nearest toolbar first.
  for (Integer j = k; j >= 0 && e < 0; --j) {
    const Integer g = std::min(BarShrinkRoom(t[j], h), -e);
    if (g <= 0) continue;
    SetAxisLen(t[j], AxisLen(t[j], h) - g, h);
    for (Integer m = j + 1; m <= k; ++m) AxisMoveBy(t[m], -g, h);
    e += g;
  }
  return e;
}

void TRowCollectionItem::Settle() {
  const bool h = Horizontal();
  auto& t = FToolBarList;
  const Integer n = ToolBarCount();
  if (n == 0) return;
  for (Integer k = 0; k < n; ++k)
    if (const Integer f = FreeBefore(k); f < 0) AxisMoveBy(t[k], -f, h);
  if (const Integer e = FreeAfter(n - 1); e < 0) Squeeze(n - 1, e);
  // Squeezing moves toolbars only into free space, but a row too short for
  // even the smallest lengths leaves the first toolbar before the start.
  for (Integer k = 0; k < n; ++k)
    if (const Integer f = FreeBefore(k); f < 0) AxisMoveBy(t[k], -f, h);
}

void TRowCollectionItem::ArrangeToolBars() {
  const bool h = Horizontal();
  auto& t = FToolBarList;
  const Integer n = ToolBarCount();
  const Integer cross = h ? FRowRect.Top : FRowRect.Left;
  for (Integer k = 0; k < n; ++k) {
    SetAxisCross(t[k], cross, h);
    if (t[k]->BarRow() != Index()) t[k]->SetBarRow(Index());
    if (k == 0 && t[0]->BarFullSize()) {
      FitFullSize(t[0]);
      t[0]->BarLengthFitted();
      return;
    }
    Integer e = FreeAfter(k);
    if (e > 0) {
      // Free space after k: toolbars up to k that can grow take it.
      for (Integer j = k; j >= 0 && e >= 1; --j) {
        const Integer g = std::min(BarGrowRoom(t[j], h), e);
        if (g <= 0) continue;
        SetAxisLen(t[j], AxisLen(t[j], h) + g, h);
        for (Integer m = j + 1; m <= k; ++m) AxisMoveBy(t[m], g, h);
        e -= g;
      }
    } else if (e < 0) {
      Squeeze(k, e);
    }
    // Free space in front of the group goes to k when it can grow.
    Integer f = BarGrowRoom(t[k], h);
    for (Integer j = k; j >= 0 && f > 0; --j) {
      const Integer g = std::min(FreeBefore(j), f);
      if (g <= 0) continue;
      for (Integer m = j; m <= k; ++m) AxisMoveBy(t[m], -g, h);
      SetAxisLen(t[k], AxisLen(t[k], h) + g, h);
      f -= g;
    }
  }
  // Second pass: what the first left overlapping.
  for (Integer k = 0; k < n; ++k) {
    if (k == 0)
      if (const Integer f = FreeBefore(0); f < 0) AxisMoveBy(t[0], -f, h);
    if (k == n - 1) {
      if (const Integer e = FreeAfter(k); e < 0) Squeeze(k, e);
    } else if (const Integer e = FreeAfter(k); e < 0) {
      AxisMoveBy(t[k + 1], -e, h);
    }
  }
  Settle();
}

bool TRowCollectionItem::NeedsArrange() const {
  const bool h = Horizontal();
  const Integer n = ToolBarCount();
  if (n == 0) return false;
  const IDockBar* first = FToolBarList.front();
  if (first->BarFullSize())
    return AxisLen(first, h) != RowLength() - 2 * Rows()->FOffSetX ||
           AxisPos(first, h) != RowStart() + Rows()->FOffSetX;
  Integer sum = 0;
  if (FreeBefore(0) < 0) return true;
  for (Integer k = 0; k < n; ++k) {
    const Integer f = FreeAfter(k);
    if (f < 0) return true;
    sum += f;
  }
  if (sum < 1) return false;
  return std::any_of(FToolBarList.begin(), FToolBarList.end(),
                     [&](const IDockBar* b) { return BarGrowRoom(b, h) > 0; });
}

void TRowCollectionItem::SetToolBarLeftAndWidth(IDockBar* Bar, Integer& ALeft, Integer& AWidth) {
  if (IndexOfToolBar(Bar) < 0) throw Exception(u"Invalid ToolBar Index");
  if (!Horizontal()) return;
  MoveInRow(Bar, ALeft, AWidth);
}

void TRowCollectionItem::SetToolBarTopAndHeight(IDockBar* Bar, Integer& ATop, Integer& AHeight) {
  if (IndexOfToolBar(Bar) < 0) throw Exception(u"Invalid ToolBar Index");
  if (Horizontal()) return;
  MoveInRow(Bar, ATop, AHeight);
}

void TRowCollectionItem::MoveInRow(IDockBar* Bar, Integer& P, Integer& L) {
  const bool h = Horizontal();
  auto& t = FToolBarList;
  const Integer n = ToolBarCount();
  Integer i = IndexOfToolBar(Bar);
  const Integer p = AxisPos(Bar, h);
  const Integer spacing = Rows()->FOffSetX;
  auto growRoomFrom = [&](Integer a, Integer b) {
    Integer s = 0;
    for (Integer j = a; j <= b; ++j) s += std::max(0, BarGrowRoom(t[j], h));
    return s;
  };
  if (P < p) {
    if (P < RowStart() + spacing) P = RowStart() + spacing;
    // The first toolbar moves freely down to the row start.
    if (i == 0) return;
    Integer d = p - P;
    for (Integer j = i; j >= 0 && d >= 1; --j) {
      const Integer g = FreeBefore(j);
      if (g <= 0) continue;
      const Integer m = std::min(g, d);
      for (Integer k = j; k <= i; ++k) AxisMoveBy(t[k], -m, h);
      d -= m;
    }
    if (d > 0 && FreeAfter(n - 1) < 1) {
      // No free space left: the toolbars before it get shorter and the
      // ones from it onward grow back toward the start.
      for (Integer j = i - 1; j >= 0 && d >= 1; --j) {
        const Integer m = std::min({BarShrinkRoom(t[j], h), d, growRoomFrom(i, n - 1)});
        if (m <= 0) continue;
        SetAxisLen(t[j], AxisLen(t[j], h) - m, h);
        for (Integer k = j + 1; k < i; ++k) AxisMoveBy(t[k], -m, h);
        Integer left = m;
        for (Integer k = i; k < n && left > 0; ++k) {
          const Integer g = std::min(BarGrowRoom(t[k], h), left);
          if (g <= 0) continue;
          for (Integer q = i; q < k; ++q) AxisMoveBy(t[q], -g, h);
          SetAxisPos(t[k], AxisPos(t[k], h) - g, h);
          SetAxisLen(t[k], AxisLen(t[k], h) + g, h);
          left -= g;
        }
        d -= m;
      }
    }
    if (d > 0 && !Bar->BarLoading() && i > 0 && AxisPos(t[i - 1], h) + 5 >= P) {
      // Within reach of the neighbour's place: the two change places.
      IDockBar* prev = t[i - 1];
      const Integer at = AxisPos(prev, h);
      std::swap(t[i - 1], t[i]);
      SetAxisPos(Bar, at, h);
      SetAxisPos(prev, at + AxisLen(Bar, h) + spacing, h);
      ArrangeToolBars();
      --i;
    }
  } else if (P > p) {
    Integer d = P - p;
    for (Integer j = i; j < n && d >= 1; ++j) {
      const Integer g = FreeAfter(j);
      if (g <= 0) continue;
      const Integer m = std::min(g, d);
      for (Integer k = i; k <= j; ++k) AxisMoveBy(t[k], m, h);
      d -= m;
    }
    Integer before = 0;
    for (Integer j = 0; j <= i; ++j) before += FreeBefore(j);
    if (d > 0 && before < 1) {
      // Stuck at the end: toolbars from the end back to it give length
      // from their start side, and the ones before it grow into that.
      Integer f = std::min(d, growRoomFrom(0, i - 1));
      for (Integer j = n - 1; j >= i && f >= 1; --j) {
        const Integer m = std::min(BarShrinkRoom(t[j], h), f);
        if (m <= 0) continue;
        SetAxisPos(t[j], AxisPos(t[j], h) + m, h);
        SetAxisLen(t[j], AxisLen(t[j], h) - m, h);
        for (Integer k = i; k < j; ++k) AxisMoveBy(t[k], m, h);
        Integer left = m;
        for (Integer k = i - 1; k >= 0 && left > 0; --k) {
          const Integer g = std::min(BarGrowRoom(t[k], h), left);
          if (g <= 0) continue;
          SetAxisLen(t[k], AxisLen(t[k], h) + g, h);
          for (Integer q = k + 1; q < i; ++q) AxisMoveBy(t[q], g, h);
          left -= g;
        }
        f -= m;
        d -= m;
      }
    }
  } else {
    const Integer len = AxisLen(Bar, h);
    if (L < len) {
      // Narrowing: only the only toolbar of a top or bottom row is refused
      // (it keeps what arranging gives it).
      if (h && n == 1) {
        ArrangeToolBars();
        L = AxisLen(Bar, h);
      }
      return;
    }
    if (L == len) return;
    Integer d = L - len;
    for (Integer j = i; j < n && d >= 1; ++j) {
      const Integer g = FreeAfter(j);
      if (g <= 0) continue;
      const Integer m = std::min(g, d);
      for (Integer k = i + 1; k <= j; ++k) AxisMoveBy(t[k], m, h);
      SetAxisLen(Bar, AxisLen(Bar, h) + m, h);
      d -= m;
    }
    for (Integer j = i; j >= 0 && d >= 1; --j) {
      const Integer g = FreeBefore(j);
      if (g <= 0) continue;
      const Integer m = std::min(g, d);
      for (Integer k = j; k <= i; ++k) AxisMoveBy(t[k], -m, h);
      // On a vertical row only the gap right before it lets it grow.
      if (h || j == i) SetAxisLen(Bar, AxisLen(Bar, h) + m, h);
      d -= m;
    }
  }
  P = AxisPos(Bar, h);
  L = AxisLen(Bar, h);
}

// ---------------------------------------------------------------------------
// TRowCollection

TRowCollection::TRowCollection(IDockRowsHost* AOwner)
    : TCollection(TCollectionItemClass::Of<TRowCollectionItem>()), FOwner(AOwner) {}

TRowCollection::~TRowCollection() {
  OnDeleteItem = nullptr;
  while (Count() > 0) Delete(Count() - 1);
}

TRowCollectionItem* TRowCollection::Add() {
  auto* r = static_cast<TRowCollectionItem*>(TCollection::Add());
  UpdateRowRects();
  return r;
}

TRowCollectionItem* TRowCollection::Insert(Integer Index) {
  auto* r = static_cast<TRowCollectionItem*>(TCollection::Insert(Index));
  UpdateRowRects();
  return r;
}

TRowCollectionItem* TRowCollection::Items(Integer Index) const {
  return static_cast<TRowCollectionItem*>(TCollection::Items(Index));
}

bool TRowCollection::Horizontal() const {
  const TDockAlign a = FOwner->DockAlign();
  return a == daTop || a == daBottom;
}

Integer TRowCollection::Scale(Integer k) const { return ScaleToolBarSize(k, FOwner->DockScale()); }

bool TRowCollection::HeightLocked() const { return FOwner->HeightLocked(); }

Integer TRowCollection::IsToolBarAlreadyAdded(const IDockBar* Bar) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->IndexOfToolBar(Bar) >= 0) return i;
  return -1;
}

void TRowCollection::UpdateRowRects() {
  // Arranging and sizing the panel may come back here (the panel's resize);
  // the outer run finishes the work.
  if (FUpdatingRects || FRowUpdateCount > 0) return;
  FUpdatingRects = true;
  try {
    const bool h = Horizontal();
    const TRect d = FOwner->DockBounds();
    Integer c = FOffSetY;
    for (Integer i = 0; i < Count(); ++i) {
      TRowCollectionItem* row = Items(i);
      Integer t = row->Height();
      auto place = [&] {
        row->SetRowRect(h ? TRect{DockOffSetX, c, d.Width() - DockOffSetX, c + t + FOffSetY}
                          : TRect{c, DockOffSetX, c + t + FOffSetY, d.Height() - DockOffSetX});
      };
      place();
      row->ArrangeToolBars();
      // Arranging may change a toolbar's thickness (a full-size one fitted):
      // the rectangle follows, so that rows stay tiled.
      if (row->Height() != t) {
        t = row->Height();
        place();
        row->ArrangeToolBars();
      }
      c += t + FOffSetY;
    }
    UpdateDockSize();
  } catch (...) {
    FUpdatingRects = false;
    throw;
  }
  FUpdatingRects = false;
}

void TRowCollection::EndRowUpdate() {
  if (FRowUpdateCount > 0 && --FRowUpdateCount == 0) UpdateRowRects();
}

void TRowCollection::UpdateDockSize() {
  if (HeightLocked()) return;
  const bool h = Horizontal();
  Integer s;
  const bool runTime = !FOwner->DockDesigning() || FOwner->DockUseRunTimeHeight();
  if (Count() == 0)
    s = runTime ? FOwner->DockMinimumSize() : 2 * (h ? DockOffSetY : DockOffSetX) + 13;
  else
    s = (h ? Items(Count() - 1)->RowRect().Bottom + DockOffSetY : Items(Count() - 1)->RowRect().Right + DockOffSetX) +
        (runTime ? 0 : 13);
  TRect b = FOwner->DockBounds();
  switch (FOwner->DockAlign()) {
    case daTop: b.Bottom = b.Top + s; break;
    case daLeft: b.Right = b.Left + s; break;
    case daBottom:
      // Grows upward, keeping its bottom edge.
      if (b.Height() < s)
        b.Top = b.Bottom - s;
      else
        b.Bottom = b.Top + s;
      break;
    case daRight:
      if (b.Width() < s)
        b.Left = b.Right - s;
      else
        b.Right = b.Left + s;
      break;
  }
  if (b != FOwner->DockBounds()) FOwner->SetDockBounds(b);
}

void TRowCollection::DeleteRowIfEmpty(TRowCollectionItem* ARow) {
  if (ARow == nullptr || ARow->ToolBarCount() > 0 || HeightLocked()) return;
  Delete(ARow->Index());
  UpdateRowRects();
}

void TRowCollection::DeleteEmptyRows() {
  if (HeightLocked()) return;
  bool any = false;
  for (Integer i = Count() - 1; i >= 0; --i)
    if (Items(i)->ToolBarCount() == 0) {
      Delete(i);
      any = true;
    }
  if (any) UpdateRowRects();
}

void TRowCollection::MoveToolBarToRow(IDockBar* Bar, Integer ARowIndex) {
  if (ARowIndex < 0 || ARowIndex >= Count()) throw Exception(u"Invalid Row Index");
  if (Bar == nullptr) return;
  TRowCollectionItem* target = Items(ARowIndex);
  if (target->IndexOfToolBar(Bar) >= 0 || !target->IsAllowed(Bar)) return;
  const Integer from = IsToolBarAlreadyAdded(Bar);
  TRowCollectionItem* old = from >= 0 ? Items(from) : nullptr;
  if (old != nullptr) old->RemoveToolBar(Bar, false);
  target->AddToolBar(Bar);
  if (old != nullptr) DeleteRowIfEmpty(old);
}

void TRowCollection::NewRowBeside(IDockBar* Bar, Integer r, TRowCollectionItem* Anchor, bool After) {
  if (HeightLocked()) return;
  TRowCollectionItem* from = Items(r);
  from->RemoveToolBar(Bar, true);
  // The anchor outlived the removal unless it was the emptied row itself.
  Integer at = Count();
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i) == Anchor) at = After ? i + 1 : i;
  TRowCollectionItem* row = at >= Count() ? static_cast<TRowCollectionItem*>(TCollection::Add())
                                          : static_cast<TRowCollectionItem*>(TCollection::Insert(at));
  UpdateRowRects();
  row->AddToolBar(Bar);
}

void TRowCollection::ChooseRow(IDockBar* Bar, Integer& P, Integer Thickness) {
  const bool h = Horizontal();
  Integer r = Bar->BarRow();
  if (r < 0) return;
  if (r >= Count() || Items(r)->IndexOfToolBar(Bar) < 0) r = IsToolBarAlreadyAdded(Bar);
  if (r < 0) return;
  TRowCollectionItem* row = Items(r);
  const Integer n = row->ToolBarCount();
  const Integer start = h ? row->RowRect().Top : row->RowRect().Left;
  auto rowStart = [&](Integer i) { return h ? Items(i)->RowRect().Top : Items(i)->RowRect().Left; };
  auto rowEnd = [&](Integer i) { return h ? Items(i)->RowRect().Bottom : Items(i)->RowRect().Right; };
  if (start - 5 <= P && P <= start - 3 && n >= 2) {
    NewRowBeside(Bar, r, row, false);
    P = AxisCross(Bar, h);
  } else if (P < start - 6 && r > 0) {
    for (Integer i = 0; i < Count(); ++i) {
      if (i == r || (!h && i > r)) continue;
      if (rowStart(i) <= P && P < rowEnd(i)) {
        if (Items(i)->IsAllowed(Bar))
          MoveToolBarToRow(Bar, i);
        else
          NewRowBeside(Bar, r, Items(i), false);
        break;
      }
    }
    P = AxisCross(Bar, h);
  } else if (start + 3 <= P && P <= start + 5 && n >= 2) {
    NewRowBeside(Bar, r, row, true);
    P = AxisCross(Bar, h);
  } else if (P > start + 5 && r < Count() - 1) {
    for (Integer a = r + 1; a < Count(); ++a) {
      if (rowEnd(a) > P) {
        if (Items(a)->IsAllowed(Bar))
          MoveToolBarToRow(Bar, a);
        else
          NewRowBeside(Bar, r, Items(a), true);
        break;
      }
    }
    P = AxisCross(Bar, h);
  } else {
    if (h && Bar->BarDesigning() && P > start + 5 && r == Count() - 1 && n > 1 && !HeightLocked()) {
      row->RemoveToolBar(Bar, true);
      static_cast<TRowCollectionItem*>(TCollection::Add());
      UpdateRowRects();
      Items(Count() - 1)->AddToolBar(Bar);
    }
    const Integer now = Bar->BarRow();
    P = now >= 0 && now < Count() ? rowStart(now) : AxisCross(Bar, h);
  }
  if (Thickness != AxisThick(Bar, h)) {
    SetAxisThick(Bar, Thickness, h);
    UpdateRowRects();
  }
}

void TRowCollection::SetToolBarTopAndHeight(IDockBar* Bar, Integer& ATop, Integer& AHeight) {
  if (Bar == nullptr || Bar->BarRow() < 0 || !Horizontal()) return;
  ChooseRow(Bar, ATop, AHeight);
}

void TRowCollection::SetToolBarLeftAndWidth(IDockBar* Bar, Integer& ALeft, Integer& AWidth) {
  if (Bar == nullptr || Bar->BarRow() < 0 || Horizontal()) return;
  ChooseRow(Bar, ALeft, AWidth);
}

void TRowCollection::BoundsChanging(IDockBar* Bar, Integer& ALeft, Integer& ATop, Integer& AWidth, Integer& AHeight) {
  if (Bar == nullptr || !Bar->BarVisible() || Bar->BarRow() < 0) return;
  // The thickness is applied by the rows and comes back as requested; the
  // position across, and the position and length along the row, come back
  // as the rows reached them (on both orientations).
  if (Horizontal()) {
    Integer thick = AHeight;
    SetToolBarTopAndHeight(Bar, ATop, thick);
    const Integer r = Bar->BarRow();
    if (r >= 0 && r < Count() && Items(r)->IndexOfToolBar(Bar) >= 0)
      Items(r)->SetToolBarLeftAndWidth(Bar, ALeft, AWidth);
  } else {
    Integer thick = AWidth;
    SetToolBarLeftAndWidth(Bar, ALeft, thick);
    const Integer r = Bar->BarRow();
    if (r >= 0 && r < Count() && Items(r)->IndexOfToolBar(Bar) >= 0)
      Items(r)->SetToolBarTopAndHeight(Bar, ATop, AHeight);
  }
}

void TRowCollection::RequestBounds(IDockBar* Bar, const TRect& R) {
  Integer l = R.Left, t = R.Top, w = R.Width(), h = R.Height();
  BoundsChanging(Bar, l, t, w, h);
  Bar->SetBarBounds(TRect{l, t, l + w, t + h});
}

void TRowCollection::PackToolBars() {
  const bool h = Horizontal();
  for (Integer i = 0; i < Count(); ++i) {
    TRowCollectionItem* row = Items(i);
    row->ArrangeToolBars();
    // Positions go through the ordinary road (a toolbar may pull its
    // neighbours); the list is copied since that road may reorder it.
    const std::vector<IDockBar*> bars = row->ToolBarList();
    const IDockBar* prev = nullptr;
    for (IDockBar* b : bars) {
      if (!b->BarVisible()) continue;
      if (row->IndexOfToolBar(b) < 0) continue;
      const Integer at = (prev == nullptr ? row->RowStart() : AxisPos(prev, h) + AxisLen(prev, h)) + FOffSetX;
      TRect r = b->BarBounds();
      if (h) {
        r.Right = at + r.Width();
        r.Left = at;
      } else {
        r.Bottom = at + r.Height();
        r.Top = at;
      }
      RequestBounds(b, r);
      prev = b;
    }
  }
}

void TRowCollection::MoveToolBarToOwnRow(IDockBar* Bar) {
  if (Bar == nullptr) return;
  Integer r = Bar->BarRow();
  if (r < 0 || r >= Count()) return;
  if (Items(r)->IndexOfToolBar(Bar) < 0) r = IsToolBarAlreadyAdded(Bar);
  if (r < 0) return;
  if (HeightLocked()) {
    Items(r)->ArrangeToolBars();
    return;
  }
  Items(r)->RemoveToolBar(Bar, true);
  const Integer at = std::min(r, Count());
  TRowCollectionItem* row = at >= Count() ? static_cast<TRowCollectionItem*>(TCollection::Add())
                                          : static_cast<TRowCollectionItem*>(TCollection::Insert(at));
  UpdateRowRects();
  row->AddToolBar(Bar);
  row->ArrangeToolBars();
}

void TRowCollection::ToolBarVisibleChanged(IDockBar* Bar) {
  if (Bar == nullptr) return;
  const Integer r = Bar->BarRow();
  if (!Bar->BarVisible()) {
    const Integer in = IsToolBarAlreadyAdded(Bar);
    if (in < 0) return;
    Items(in)->RemoveToolBar(Bar, true);
    // A hidden toolbar remembers the row it stood in, to go back there.
    Bar->SetBarRow(in);
    return;
  }
  if (IsToolBarAlreadyAdded(Bar) >= 0) return;
  if (r >= 0 && r < Count() && Items(r)->IsAllowed(Bar) && !Bar->BarDesigning() && !Bar->BarFullSize()) {
    Items(r)->InsertToolBar(Bar);
  } else if (HeightLocked()) {
    // No row may be made: the last row that takes it, nearest the end.
    for (Integer i = Count() - 1; i >= 0; --i)
      if (Items(i)->AddToolBar(Bar) >= 0) break;
  } else {
    static_cast<TRowCollectionItem*>(TCollection::Add());
    UpdateRowRects();
    Items(Count() - 1)->AddToolBar(Bar);
  }
}

// ---------------------------------------------------------------------------
// The invariants

String CheckDockRows(const TRowCollection& Rows, const std::vector<IDockBar*>& Docked) {
  const bool h = Rows.Horizontal();
  auto say = [](const std::string& s) { return String(s.begin(), s.end()); };
  auto num = [](Integer v) { return std::to_string(v); };
  std::set<const IDockBar*> known(Docked.begin(), Docked.end());
  std::set<const IDockBar*> placed;
  const TRect dock = Rows.Host()->DockBounds();
  Integer c = RowOffSetY;
  for (Integer i = 0; i < Rows.Count(); ++i) {
    const TRowCollectionItem* row = Rows.Items(i);
    const auto& list = row->ToolBarList();
    const std::string at = "row " + num(i) + ": ";
    if (list.empty() && !Rows.HeightLocked()) return say(at + "empty");
    const TRect want = h ? TRect{DockOffSetX, c, dock.Width() - DockOffSetX, c + row->Height() + RowOffSetY}
                         : TRect{c, DockOffSetX, c + row->Height() + RowOffSetY, dock.Height() - DockOffSetX};
    if (row->RowRect() != want) return say(at + "rectangle does not tile the panel");
    c = h ? want.Bottom : want.Right;
    const Integer start = h ? want.Left : want.Top;
    const Integer end = h ? want.Right : want.Bottom;
    bool allAtMin = true;
    for (std::size_t k = 0; k < list.size(); ++k) {
      const IDockBar* b = list[k];
      const std::string tb = at + "toolbar " + num(Integer(k)) + ": ";
      if (!known.count(b)) return say(tb + "not a toolbar of this panel");
      if (!placed.insert(b).second) return say(tb + "stands in more than one place");
      if (!b->BarVisible()) return say(tb + "hidden but in a row");
      if (b->BarRow() != i) return say(tb + "row index " + num(b->BarRow()));
      if (AxisCross(b, h) != (h ? want.Top : want.Left)) return say(tb + "off the row's start across");
      if (b->BarFullSize()) {
        if (list.size() != 1) return say(tb + "full-size but not alone");
        if (AxisPos(b, h) != start + RowOffSetX || AxisLen(b, h) != end - start - 2 * RowOffSetX)
          return say(tb + "full-size but not filling its row");
      }
      if (BarShrinkRoom(b, h) > 0) allAtMin = false;
      const Integer before = k == 0 ? AxisPos(b, h) - start - RowOffSetX
                                    : AxisPos(b, h) - AxisPos(list[k - 1], h) - AxisLen(list[k - 1], h) - RowOffSetX;
      if (before < 0) return say(tb + "overlaps what is before it");
    }
    const IDockBar* last = list.empty() ? nullptr : list.back();
    if (last != nullptr && AxisPos(last, h) + AxisLen(last, h) + RowOffSetX > end && !allAtMin)
      return say(at + "reaches past its end");
  }
  for (const IDockBar* b : Docked) {
    if (b->BarVisible() && !placed.count(b) && !Rows.HeightLocked()) return say("a visible toolbar stands in no row");
  }
  if (!Rows.HeightLocked()) {
    const Integer s = Rows.Count() == 0 ? Rows.Host()->DockMinimumSize() : c + (h ? DockOffSetY : DockOffSetX);
    if (Rows.Host()->DockDesigning()) return String();
    if ((h ? dock.Height() : dock.Width()) != s) return say("the panel does not end after its last row");
  }
  return String();
}

void TDockBarModel::SetBarBounds(const TRect& R) {
  // Constraints as a control applies them: a minimum, then a maximum, each
  // only when set.
  TRect r = R;
  Integer len = Horizontal ? r.Width() : r.Height();
  if (MinLength > 0 && len < MinLength) len = MinLength;
  if (MaxLength > 0 && len > MaxLength) len = MaxLength;
  if (Horizontal)
    r.Right = r.Left + len;
  else
    r.Bottom = r.Top + len;
  Bounds = r;
}

}  // namespace toolbar
