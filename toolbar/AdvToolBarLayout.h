#pragma once
// The toolbar's geometry as plain arithmetic over rectangles and sizes: where
// its child controls go in every placement (docked or fixed, horizontal or
// vertical, floating in one or more rows, ribbon columns, multi-row pages),
// how long and thick it measures, which constraints and size follow, and
// the rectangles of its caption, controls area, grip, right handle and
// caption buttons. The toolbar control describes itself and its children
// with the records below and applies the answers; tests drive the rules
// directly, without windows.
#include <functional>
#include <vector>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"

class TCanvas;

namespace toolbar {

enum TDockAlign { daLeft, daTop, daRight, daBottom };
enum TCaptionPosition { cpTop, cpBottom };

// Rounds k x Scale half to even (every fixed pixel size of the family).
Integer ScaleToolBarSize(Integer k, Single Scale);

// What arrangement and measuring need to know of one child control.
enum class TToolBarItemKind {
  Other,            // any control
  SmallGlowButton,  // glow button in bsGlyph or bsLabel: stacks in ribbon columns
  LargeGlowButton,  // glow button in bsLarge
  ToolBarButton,    // a toolbar button (stacks like a small glow button when measuring a ribbon toolbar)
  Separator,        // a toolbar separator (never counts for the thickness)
  Badge             // a badge control: never placed nor counted at run time
};

struct TToolBarItem {
  TRect Bounds;  // in the toolbar's client coordinates
  TToolBarItemKind Kind = TToolBarItemKind::Other;
  bool Visible = true;
  bool Hidden = false;        // in the list of controls hidden for lack of length
  bool ParentedHere = true;   // a hidden control may live in the option popup for a while
  Integer LabelMargin = 0;    // a published LabelMargin (ribbon layout), 0 when none
  bool AlignWithMargins = false;
  TRect Margins{};            // Left, Top, Right, Bottom margins used with AlignWithMargins
  // Arranged: visible and not a badge.
  bool Arranged() const { return Visible && Kind != TToolBarItemKind::Badge; }
};

// What arrangement and measuring need to know of the toolbar itself.
struct TToolBarFrame {
  bool Floating = false;
  bool Horizontal = true;       // daTop or daBottom
  bool OnPage = false;          // parent is a ribbon page
  bool OnCompactWindow = false; // parent is a compact window
  bool AutoSize = true;
  bool AutoPositionMultiRow = false;
  bool ShowCaption = false;
  TCaptionPosition CaptionPosition = cpTop;
  Integer Width = 0, Height = 0;
  Integer GripOffset = 2;        // see GripOffset()
  Integer CaptionHeight = 16;    // as stored
  Single Scale = 1.0f;           // ToolBarDPIScale
  Integer FloatingRows = 1;
  Integer SizeAtDock = 26;
  Integer MinLength = 60;
  bool ShowPopupIndicator = true;
  Integer PopupIndicatorWidth = 14;  // before scaling
  bool Visible = true;
  bool HideOnEmpty = false;          // page toolbar that disappears without controls
  // Ribbon (page or compact window) layout.
  bool Ribbon() const { return OnPage || OnCompactWindow; }
};

// 2 without a grip (style dsNone, page or compact window, floating,
// FHideDragGrip), else DragGripWidth + 2.
Integer GripOffset(bool GripShown, Integer DragGripWidth);

// Places the items: their Bounds' Left and Top change, sizes stay.
void ArrangeToolBarItems(const TToolBarFrame& F, std::vector<TToolBarItem>& Items);

struct TToolBarMeasure {
  Integer MinLength = 0;   // smallest length (m)
  Integer FullLength = 0;  // every arranged control shown (f)
  Integer Thickness = 26;  // across the length, without the caption
};
// The measured lengths and thickness of a docked or fixed toolbar.
TToolBarMeasure MeasureToolBar(const TToolBarFrame& F, const std::vector<TToolBarItem>& Items);

// Width and height of a one-row floating toolbar, and the floating thickness.
TSize FloatingToolBarSize(const TToolBarFrame& F, const std::vector<TToolBarItem>& Items);

// The constraints and size a docked or fixed, auto-sized toolbar takes from
// its measure. Lengths run along the toolbar (Width when horizontal).
struct TToolBarSizing {
  Integer MinLength = 0, MaxLength = 0;  // length constraints (the across ones become 0)
  Integer Length = 0;                    // new length
  Integer Thickness = 0;                 // new thickness (caption included)
  Integer FullLength = 0;                // FMaxLength
};
// CurrentLength and CurrentMaxLength are the toolbar's length and length
// constraint now; CaptionThickness is what the caption adds across (0
// without ShowCaption).
TToolBarSizing SizeToolBar(const TToolBarFrame& F, const TToolBarMeasure& M, Integer CurrentLength,
                           Integer CurrentMaxLength, bool DoCheckBoundChange, Integer CaptionThickness);

// Whether each separator of a horizontal toolbar shows: a separator is
// hidden when no visible control stands between it and the previous
// separator or the start. Items are visited in increasing Left; the answer
// holds, per item, true for a separator that shows (other items: true).
std::vector<bool> SeparatorVisibility(const std::vector<TToolBarItem>& Items);

// --- ribbon button sizes ---
// A ribbon toolbar fits its width by stepping glow buttons between their
// size states (the glow button's TButtonSizeState ordinals: 0 glyph,
// 1 label, 2 large). Buttons are the visible controls in sequence.
struct TSizableButton {
  bool AutoSized = false;  // an auto-sized glow button (any other control: false)
  Integer State = 2, MinState = 0, MaxState = 2;
  Integer Left = 0, Width = 0;
};
struct TButtonSizeStep {
  bool Found = false;
  Integer NewState = 0;
  std::vector<Integer> Indexes;  // the buttons that change, from the last one back
  bool SumOld = false;           // large side by side: their widths add up
  bool SumNew = false;           // to large: the new widths add up
};
// Large to label: the last two neighbours that can both shrink from large,
// with up to one more before them, become a column. Else label to glyph:
// the last two neighbours that can shrink from label, and those of the up
// to three that share the last one's Left.
TButtonSizeStep FindReduceStep(const std::vector<TSizableButton>& Buttons);
// Glyph to label first (a column sharing the last one's Left), else label
// to large (up to three neighbours).
TButtonSizeStep FindEnlargeStep(const std::vector<TSizableButton>& Buttons);
// Width won (or needed) by a step, from the widths before and after, in the
// order of Step.Indexes; never negative.
Integer StepWidth(const TButtonSizeStep& Step, const std::vector<Integer>& OldWidths,
                  const std::vector<Integer>& NewWidths);

// --- rectangles of the toolbar's parts (client coordinates) ---
struct TToolBarParts {
  TRect Client;  // (0, 0, Width, Height)
  bool Floating = false;
  bool Horizontal = true;
  bool OnPage = false;
  bool ShowCaption = false;
  TCaptionPosition CaptionPosition = cpTop;
  Integer CaptionHeight = 16;
  Single Scale = 1.0f;
  bool ShowClose = true;
  bool ShowOptionIndicator = true;
  bool ShowPopupIndicator = true;
  bool ShowRightHandle = true;
  bool FullSize = false;
  bool RoundEdges = true;
  bool ScenicRibbon = false;
  Integer PopupIndicatorWidth = 14;
  Integer DragGripWidth = 7;
};
TRect CaptionRect(const TToolBarParts& P);
TRect ControlsRect(const TToolBarParts& P);
TRect CloseButtonRect(const TToolBarParts& P);
TRect OptionButtonRect(const TToolBarParts& P);
// (-1, -1, -1, -1) when the caption option indicator is not shown.
TRect CaptionOptionRect(const TToolBarParts& P);
bool RightHandleShown(const TToolBarParts& P);
// The empty rectangle when the right handle is not shown.
TRect RightHandleRect(const TToolBarParts& P);
TRect DragGripRect(const TToolBarParts& P);

// The one seam through which the toolbar measures text: tests replace it
// so that layout does not depend on installed fonts. The default asks the
// canvas.
using TToolBarTextMeasure = std::function<Integer(TCanvas* Canvas, const String& Text)>;
Integer MeasureToolBarText(TCanvas* Canvas, const String& Text);
// Installs a measure (an empty one restores the canvas's).
void SetToolBarTextMeasure(TToolBarTextMeasure Measure);

}  // namespace toolbar
