// The toolbar's own stored layout (its floating place and row count, and
// which named controls the user switched off) and the row computations of
// a floating toolbar. A stored layout is outside data: every value is
// checked before it is used, and a bad one leaves that setting as it is.
#include <algorithm>

#include "platform/rtl/StrUtils.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/DockLayout.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {
// Stored screen coordinates outside this range are not believed.
bool StoredCoordinateOk(Integer V) { return V >= -MaxStoredCoordinate && V <= MaxStoredCoordinate; }
// A stored flag: 1 or 0, anything else is not believed.
bool StoredFlag(Integer V, bool Current) { return V == 0 || V == 1 ? V == 1 : Current; }
TControl* ListControl(const TDbgList* L, Integer I) { return static_cast<TControl*>(L->Items(I)); }
}  // namespace

TPoint TAdvCustomToolBar::GetPosition() const {
  if (FToolBarState == tsFloating && FFloatingWindow != nullptr)
    return TPoint{FFloatingWindow->Left(), FFloatingWindow->Top()};
  return TPoint{Left(), Top()};
}

void TAdvCustomToolBar::LoadPosition() {
  // Without a name the stored keys could belong to any toolbar.
  if (!FPersistence->Enabled() || ComponentState().Contains(csDesigning) || Name().empty()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenPersistenceStore(*FPersistence);
  if (!ini) return;
  const String& sec = FPersistence->Section();
  const String& n = Name();
  const String stored = ini->ReadString(sec, n + u".Name", u"");
  const Integer state = ini->ReadInteger(sec, n + u".State", Integer(tsDocked));
  if (!stored.empty() && SameText(stored, n) && state == Integer(tsFloating) && FToolBarState != tsFloating) {
    const Integer rows = ini->ReadInteger(sec, n + u".FloatingRows", FFloatingRows);
    const TPoint at = GetPosition();
    const Integer l = ini->ReadInteger(sec, n + u".Left", at.X);
    const Integer t = ini->ReadInteger(sec, n + u".Top", at.Y);
    // A place that cannot be a screen's keeps the toolbar where it is.
    if (StoredCoordinateOk(l) && StoredCoordinateOk(t)) {
      MakeFloating(l, t, true);
      if (rows > FFloatingRows && rows <= GetMaxFloatingRows()) SetFloatingRows(rows);
      if (FFloatingWindow != nullptr) {
        // On a monitor that exists now, with its caption reachable.
        const Integer strip = FFloatingWindow->Margin() + Top() + GetCaptionRect().Bottom;
        const TPoint p = PlaceOnMonitor(FFloatingWindow->BoundsRect(), strip);
        FFloatingWindow->SetBounds(p.X, p.Y, FFloatingWindow->Width(), FFloatingWindow->Height());
      }
      const bool v = StoredFlag(ini->ReadInteger(sec, n + u".Visible", Visible() ? 1 : 0), Visible());
      if (v != Visible()) {
        SetVisible(v);
        if (FFloatingWindow != nullptr && !v) FFloatingWindow->SetVisible(false);
      }
    }
  }
  bool changed = false;
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    TControl* c = ListControl(FATBControls.get(), i);
    if (c->Name().empty()) continue;
    const bool v = StoredFlag(ini->ReadInteger(sec, n + u"." + c->Name(), c->Visible() ? 1 : 0), c->Visible());
    if (v == c->Visible()) continue;
    c->SetVisible(v);
    changed = true;
  }
  if (changed) ArrangeControls(true);
  FPersistSettingLoaded = true;
}

void TAdvCustomToolBar::SavePosition() {
  if (!FPersistence->Enabled() || ComponentState().Contains(csDesigning) || Name().empty()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenPersistenceStore(*FPersistence);
  if (!ini) return;
  const String& sec = FPersistence->Section();
  const String& n = Name();
  if (FToolBarState == tsFloating) {
    const TPoint at = GetPosition();
    ini->WriteString(sec, n + u".Name", n);
    ini->WriteInteger(sec, n + u".State", Integer(tsFloating));
    ini->WriteInteger(sec, n + u".FloatingRows", FFloatingRows);
    // Without its window (freed first as the form goes) a floating toolbar
    // no longer knows its place on the screen: the one stored stays rather
    // than the toolbar's place inside the window it lost.
    if (FFloatingWindow != nullptr) {
      ini->WriteInteger(sec, n + u".Left", at.X);
      ini->WriteInteger(sec, n + u".Top", at.Y);
    }
    ini->WriteInteger(sec, n + u".Width", Width());
    ini->WriteInteger(sec, n + u".Height", Height());
    ini->WriteInteger(sec, n + u".Visible", Visible() ? 1 : 0);
  } else {
    // Only a stored floating state is overwritten: a toolbar that never
    // floated leaves no name or state behind.
    const String stored = ini->ReadString(sec, n + u".Name", u"");
    if (!stored.empty() && SameText(stored, n) && ini->ReadInteger(sec, n + u".State", 0) == Integer(tsFloating))
      ini->WriteInteger(sec, n + u".State", Integer(FToolBarState));
  }
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    TControl* c = ListControl(FATBControls.get(), i);
    if (!c->Name().empty()) ini->WriteInteger(sec, n + u"." + c->Name(), c->Visible() ? 1 : 0);
  }
  // Written now, so that a failure reaches the caller rather than vanishing
  // in the store's own destructor.
  ini->UpdateFile();
}

// ---------------------------------------------------------------------------
// Floating rows

namespace {
Integer Measure(const TControl* C, bool Horizontal) { return Horizontal ? C->Width() : C->Height(); }
}  // namespace

Integer TAdvCustomToolBar::GetMaxFloatingRows() {
  const bool h = IsHorizontal();
  const Integer count = ToolBarControlCount();
  Integer largest = 0;
  for (Integer i = 0; i < count; ++i) largest = std::max(largest, Measure(ListControl(FATBControls.get(), i), h));
  const Integer len = std::max(FMinLength, largest + 2);
  Integer rows = 1, pos = 2;
  for (Integer i = 0; i < count; ++i) {
    const Integer m = Measure(ListControl(FATBControls.get(), i), h);
    if (m > len - pos) {
      ++rows;
      pos = 2;
    }
    pos += m;
    if (pos >= len) {
      ++rows;
      pos = 2;
    }
  }
  return rows > 1 && rows > count ? count : rows;
}

namespace {
// The length that flows the controls into at most Rows rows, and the rows
// it takes; the length grows in steps of 10 from the largest control.
void FlowRows(const std::vector<Integer>& Measures, Integer MinLength, Integer Rows, Integer& ARowsTaken,
              Integer& ALength) {
  Integer largest = 0, total = 0;
  for (Integer m : Measures) {
    largest = std::max(largest, m);
    total += m;
  }
  Integer L = std::max(largest + 4, MinLength);
  // One row always fits at this length: the passes are bounded.
  const Integer oneRow = std::max(L, total + 4);
  Integer slack = L;
  for (;;) {
    Integer pos = 2, rows = 1;
    for (Integer m : Measures) {
      if (m > L - pos - 2) {
        slack = std::min(slack, L - pos - 2);
        ++rows;
        pos = 2;
      }
      pos += m;
      if (rows > Rows) break;
    }
    if (rows > Rows && L < oneRow) {
      L = std::min(L + 10, oneRow);
      continue;
    }
    if (rows > 1) {
      slack = std::min(slack, L - pos - 2);
      L -= std::max(0, slack);
    }
    ARowsTaken = rows;
    ALength = L;
    return;
  }
}
}  // namespace

void TAdvCustomToolBar::CalcFloatingSize(Integer& AHeight, Integer& ALength) {
  std::vector<Integer> measures;
  const bool h = IsHorizontal();
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (TControl* c = ListControl(FATBControls.get(), i); c->Visible()) measures.push_back(Measure(c, h));
  Integer rows = 1;
  FlowRows(measures, FMinLength, std::max(1, FFloatingRows), rows, ALength);
  AHeight = rows * FSizeAtDock + ScaleToolBarSize(FCaptionHeight, ToolBarDPIScale);
}

bool TAdvCustomToolBar::CalcSizeForRows(Integer ARows, Integer& AHeight, Integer& ALength) {
  if (ARows <= 0 || ARows > GetMaxFloatingRows()) return false;
  std::vector<Integer> measures;
  const bool h = IsHorizontal();
  for (Integer i = 0; i < ToolBarControlCount(); ++i) measures.push_back(Measure(ListControl(FATBControls.get(), i), h));
  Integer rows = 1;
  FlowRows(measures, FMinLength, ARows, rows, ALength);
  AHeight = rows * FSizeAtDock + ScaleToolBarSize(FCaptionHeight, ToolBarDPIScale);
  return true;
}

void TAdvCustomToolBar::SetFloatingRows(Integer ARows) {
  if (ARows <= 0 || ARows == FFloatingRows || ARows > GetMaxFloatingRows()) return;
  FFloatingRows = ARows;
  if (ComponentState().Contains(csLoading)) return;
  ArrangeControls(true);
  if (FToolBarState == tsFloating && FFloatingWindow != nullptr) FFloatingWindow->SetWindowSize();
}

}  // namespace toolbar
