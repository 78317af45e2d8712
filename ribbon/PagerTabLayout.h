#pragma once
// The pager's tab row as plain geometry: how wide a tab is, where each tab
// stands, and how a row that is too narrow gives up space (spacing, then the
// tab margins, then the group-tab margins, then the extra margins of tab
// groups, then text width) and takes it back in the reverse order when room
// returns. The pager copies its pages' metrics into a TTabRow, runs the
// layout and copies the results back; tests drive the same functions.
#include <string>
#include <vector>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"

namespace ribbon {

// No tab is shrunk below this width.
constexpr Integer MinTabWidth = 24;
// Shrinking and growing move at most this many pixels per step.
constexpr Integer TabShrinkStep = 5;

struct TTabMetrics {
  bool Visible = true;
  Integer Group = -1;  // index into TTabRow::Groups, -1 outside any group
  Integer Left = 0;
  Integer ClientWidth = 0;      // content width as laid out
  Integer RealClientWidth = 0;  // content width as measured (the bound for growing)
  Integer Width = 0;            // full measured width
};

struct TTabGroupMetrics {
  Integer ExtraXMargin = 0;
  Integer CurrentExtraXMargin = 0;
};

// The tab settings' values that the layout reads.
struct TTabRowSettings {
  Integer Spacing = 4, LeftMargin = 4, RightMargin = 4, MinSpacing = 3, MinMargin = 3;
};

// The spacing and margins in force after shrinking.
struct TTabRowCurrent {
  Integer Spacing = 4, LeftMargin = 4, RightMargin = 4, GroupLeftMargin = 4, GroupRightMargin = 4;
  bool operator==(const TTabRowCurrent&) const = default;
};

struct TTabRow {
  std::vector<TTabMetrics> Tabs;
  std::vector<TTabGroupMetrics> Groups;
  TTabRowSettings Settings;
  TTabRowCurrent Current;
  Integer RowLeft = 0, RowRight = 0;
  // The flat Office 2019 look: tabs abut while they fit.
  bool Abut = false;
};

// The current values back to the settings (before measuring afresh).
void ResetTabRowCurrent(TTabRow& Row);
// A tab's width as laid out (content plus the margins in force).
Integer TabExtent(const TTabRow& Row, Integer Index);
// Visible widths plus the spacing after every visible tab but the one at the last index.
Integer TotalTabsWidth(const TTabRow& Row);
// The first visible tab in From..To keeps its Left, the others follow it.
void PositionTabs(TTabRow& Row, Integer From, Integer To);
// The first visible tab at the row's left edge, the others after it.
void PositionAllTabs(TTabRow& Row);
// Shrinks or grows the row to its width (see the header's first lines).
void LayoutTabRow(TTabRow& Row);
// The tab's left edge as shown: its Left, or under Abut while the row fits,
// the right edge of the visible tab before it. Changes nothing.
Integer ShownTabLeft(const TTabRow& Row, Integer Index);
// An empty string when the row is sound: visible tabs in order without
// overlap, none narrower than its bound allows, every current value between
// its minimum and its setting, no content wider than measured.
std::string CheckTabRow(const TTabRow& Row);

// The extra margin on each side of each tab of a group whose tabs leave
// GroupWidth for a caption CaptionWidth wide (26 pixels of room kept): 0
// when it fits; else the shortfall, made even, shared by the tabs, halved.
Integer GroupExtraMargin(Integer GroupWidth, Integer CaptionWidth, Integer TabCount);

// What measuring a tab adds up to.
struct TTabMeasureInput {
  Single Scale = 1.0f;
  Integer FontPointSize = 8;
  Integer TextWidth = 0;
  Integer ImageWidth = -1;  // -1: no image
  Integer LeftMargin = 4, RightMargin = 4;
  bool OnGlass = false;
  bool Office2019 = false;
};
struct TTabMeasure {
  Integer Width = 0;            // full width
  Integer ClientWidth = 0;      // content width
  Integer RealClientWidth = 0;  // the bound a shrunk tab grows back to
};
TTabMeasure MeasureTabWidths(const TTabMeasureInput& In);

// The nearest integer, halves to even (every scaled size of the pager).
Integer Rnd(double Value);

// Height scaled to the nearest integer, then made even (a tab row of odd
// height has no middle line for its text).
Integer ScaledTabHeight(Integer Height, Single Scale);

}  // namespace ribbon
