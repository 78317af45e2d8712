#pragma once
// The quick-access toolbar's geometry without widgets: its rectangles, the
// order of its controls, where each one goes and which ones overflow into
// the pop-up. The toolbar copies its controls' sizes into a TQATLayout,
// runs the steps and applies the result; tests drive the same steps over
// plain numbers and run CheckQATLayout after each.
#include <string>
#include <vector>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"

namespace ribbon {

// The look the rectangles depend on.
struct TQATLook {
  bool FullSize = false;    // strip below the ribbon (else beside the caption)
  bool Scenic = false;      // the process-wide scenic-ribbon flag
  bool GlassFlag = false;   // the process-wide glass flag
  bool Office2013 = false;  // flat colour-tones look of the 2013 family
  Single Scale = 1.0f;      // ToolBarDPIScale
  // The narrow-margin looks: scenic with glass, or the 2013 family.
  bool Flat() const { return (GlassFlag && Scenic) || Office2013; }
  // The looks that leave room for the application icon and put the small
  // buttons at the very right.
  bool IconLook() const { return Scenic || Office2013; }
};

constexpr Integer QATButtonWidth = 14;
constexpr Integer QATButtonGap = 2;

// The scale rounded to one decimal place, then times the width.
Integer QATScaledButtonWidth(Single Scale, Integer ButtonWidth = QATButtonWidth);
// round(60 x scale): the narrowest the toolbar gets beside the caption.
Integer QATMinWidth(Single Scale);
// Client rectangle less the room of the small-button column (caption
// placement only).
TRect QATBaseRect(const TQATLook& Look, Integer Width, Integer Height);
Integer QATLeftMargin(const TQATLook& Look, Integer Height);
Integer QATRightMargin(const TQATLook& Look);
// The rectangle the controls are laid out in.
TRect QATButtonsRect(const TQATLook& Look, Integer Width, Integer Height);
// The column of the customize and scroll buttons at the right end.
TRect QATCustomizeButtonRect(Single Scale, Integer Width, Integer Height);
// Width of the controls plus margins and the small-button column.
Integer QATNeededWidth(const TQATLook& Look, Integer Height, Integer ControlsWidth);

// One control of the toolbar as the layout sees it.
struct TQATItem {
  Integer Left = 0, Top = 0, Width = 0, Height = 0;
  bool Visible = true;
  // A child of the toolbar (false: it sits in the overflow panel).
  bool OnToolBar = true;
};

// One small button (customize or scroll).
struct TQATSmallButton {
  bool Exists = false, Visible = false;
  Integer Left = 0, Top = 0, Width = 0, Height = 0;
};

struct TQATLayout {
  TQATLook Look;
  Integer Width = 0, Height = 0;  // the toolbar's size
  std::vector<TQATItem> Items;    // the content controls in child order
  std::vector<int> Shown;         // indexes into Items, ordered by Left
  std::vector<int> Hidden;        // indexes into Items, left to right
  TQATSmallButton Customize, Scroll;
  bool ShowCustomizeOption = false;
};

// Shown = every visible item on the toolbar that is not hidden, ordered by
// Left; equal Left values keep child order. Hidden entries that are neither
// on the toolbar nor in the panel are not modelled: callers drop them first.
void QATBuildControlList(TQATLayout& L);
// Places the shown controls from the left, moves hidden ones out of sight
// above the toolbar and puts the visible small button at its place.
void QATPlaceControls(TQATLayout& L);
// The overflow rule: controls whose right edge passes the room move to the
// front of Hidden with everything after them; otherwise hidden controls come
// back, leftmost first, while each whole one fits. Shows the scroll button
// exactly while something is hidden and the customize button (when wanted)
// only while nothing is. True when the lists changed.
bool QATUpdateHiddenControls(TQATLayout& L);
// BuildControlList, PlaceControls, UpdateHiddenControls and, when the lists
// changed, PlaceControls again so that the result is settled.
void QATRelayout(TQATLayout& L);
// Where the first control goes (after the application icon in its looks).
Integer QATFirstLeft(const TQATLayout& L);
// The right edge the overflow rule allows.
Integer QATOverflowRight(const TQATLayout& L);

// Empty when the layout holds: shown and hidden together are every visible
// item once, shown ones are in Left order, inside the room and apart, the
// scroll button shows exactly while something is hidden and never beside
// the customize button. Otherwise the first broken rule.
std::string CheckQATLayout(const TQATLayout& L);

}  // namespace ribbon
