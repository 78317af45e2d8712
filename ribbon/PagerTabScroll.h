#pragma once
// Scrolling the pager's tab row by screens, as plain geometry over a
// TTabRow: a screen is the run of consecutive visible tabs that fits in the
// row when laid out from a given tab. The pager keeps a TTabScrollState,
// runs these functions on its row and copies the tab positions back; tests
// drive the same functions and check the invariants after each step.
#include <string>
#include <vector>

#include "platform/rtl/Geometry.h"
#include "ribbon/PagerTabLayout.h"

namespace ribbon {

struct TTabScrollState {
  Integer Min = 0, Max = 0, Position = 0;
  // The tab that starts the shown screen.
  Integer StartTabIndex = 0;
  bool CanGoBack() const { return Min < Position; }
  bool CanGoForward() const { return Position < Max; }
  bool operator==(const TTabScrollState&) const = default;
};

// The visible tabs that fit in the row laid out from Index, walking forward
// (or backward); hidden tabs are skipped. A tab that ends exactly on the
// row's right edge fits. LastIndex receives the last tab counted and is left
// untouched when none fits. 0 for an index outside the row.
Integer CountTabsFitting(const TTabRow& Row, Integer Index, bool Forward, Integer& LastIndex);
// The visible tabs of the row, and the last of them (-1 when none).
Integer VisibleTabCount(const TTabRow& Row);
Integer LastVisibleTabIndex(const TTabRow& Row);
// The tab that starts each screen when the row is paged from its first tab:
// one entry (the first visible tab, or 0) when everything fits. A tab wider
// than the row is a screen of its own.
std::vector<Integer> TabScreenStarts(const TTabRow& Row);
// Max for the row: the screens after the first, 0 when the tabs fit.
Integer TabScreenCount(const TTabRow& Row);

// After a change of the row: Max from the row, Position kept within it.
void UpdateTabScroll(const TTabRow& Row, TTabScrollState& S);
// Back to the first tab: every visible tab from the row's left edge.
void ResetTabScroll(TTabRow& Row, TTabScrollState& S);
// Shifts the tabs so that Index starts the shown part of the row: forward,
// Index first moves back while starting one tab earlier fits more tabs (the
// end of the row fills up), and the tabs move left until Index starts at the
// row's left edge or the last tab ends at its right edge, whichever comes
// first; backward, they move right until Index starts at the left edge.
// StartTabIndex becomes the (adjusted) index; nothing for an index outside
// the row or equal to the start. True when the tabs moved.
bool ScrollRowToTab(TTabRow& Row, TTabScrollState& S, Integer Index);
// Scrolls by Delta screens (negative: back). Answers the screens actually
// moved: 0 when the row cannot move that way or nothing would change.
Integer ScrollTabRow(TTabRow& Row, TTabScrollState& S, Integer Delta);

// An empty string when the scroll state and the row agree: Min 0 <= Position
// <= Max, Max as the row gives it, the tabs chained, the first tab at the
// left edge while Position is 0, the start tab never cut at the left edge,
// and at the last screen the last tab ending inside the row.
std::string CheckTabScroll(const TTabRow& Row, const TTabScrollState& S);

// The rectangles of the two page scroll buttons at the ends of the tab row
// TabsRect, at the DPI scale: 12 pixels wide (scaled), 5 pixels short of the
// row's height, on its top edge.
struct TScrollButtonRects {
  TRect Left, Right;
};
TScrollButtonRects ScrollButtonRects(const TRect& TabsRect, Single Scale);

}  // namespace ribbon
