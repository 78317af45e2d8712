#pragma once
// The ribbon form's frame arithmetic without a window: the resize edges it
// answers for hit tests, the client rectangle it keeps on WM_NCCALCSIZE and
// in AdjustClientRect, the maximized size it asks for per monitor, the glass
// top margin, and the rules of the drag-to-top maximize and the vertical
// maximize by a quick second click on the top or bottom edge. The form
// (ZadEdevAziForm.h) gathers the inputs and applies the answers.
#include <vector>

#include "platform/rtl/Geometry.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/Messages.h"

namespace ribbon {

// WM_NCHITTEST for a non-sizeable normal ribbon form: P in client
// coordinates; later rules override earlier ones, so the corners win. Vista
// is false for the older systems' wider right and bottom edges, which also
// count BorderWidth. Inherited is answered where no rule applies.
LRESULT RibbonHitTest(TPoint P, Integer Width, Integer Height, bool Vista, Integer BorderWidth, LRESULT Inherited);
// Whether the form answers hit tests itself (else the system's answer).
bool RibbonHitTestApplies(bool SubclassAsRibbon, TFormBorderStyle BorderStyle, TWindowState State);

// WM_NCCALCSIZE on glass: the proposed window rectangle becomes the client
// rectangle; the top edge never moves (the glass caption is client area).
// FrameCX is SM_CXFRAME.
TRect RibbonNCCalcSize(const TRect& Proposed, TFormBorderStyle BorderStyle, bool Maximized, bool ScenicMaximized,
                       Integer FrameCX);

// The inputs of AdjustClientRect.
struct TRibbonClientState {
  bool Tones = false;  // colour-tones mode
  bool SizeGrip = false;
  bool Vista = true;   // Vista or later
  bool Glass = false;  // FIsAeroVista
  bool Maximized = false;
  bool ScenicMaximized = false;
  bool SingleBorder = false;  // UsesSingleBorder
  bool ThickBorder = false;
  Single Scale = 1.0f;  // ToolBarDPIScale
};
TRect RibbonAdjustClientRect(const TRect& R, const TRibbonClientState& S);

// The inputs of WM_GETMINMAXINFO without glass.
struct TRibbonMinMaxInput {
  TRect MonitorRect, WorkRect;  // of the monitor nearest to the window
  bool Primary = true;
  Integer MonitorPPI = 96;
  bool Vista = true;
  bool PerMonitorAware = false;
  bool Maximized = false;
  bool ScenicMaximized = false;
  bool Win10 = true;
  TFormBorderStyle BorderStyle = bsSingle;
  bool TaskBarAutoHide = false;
};
struct TRibbonMinMaxResult {
  bool Changed = false;      // Info was rewritten
  bool RememberMax = false;  // MaxX/MaxY are to be stored
  Integer MaxX = 0, MaxY = 0;
};
// Rewrites Info (already holding the inherited answer) by the rules of a
// ribbon form without glass.
TRibbonMinMaxResult RibbonMinMaxInfo(MINMAXINFO& Info, const TRibbonMinMaxInput& In);

// The glass frame's top margin: tab row and caption, or the maximized
// caption's extra when maximized without the scenic look.
Integer RibbonGlassTopMargin(Integer GlassTabHeight, Integer CaptionHeight, bool Maximized, bool ScenicMaximized);

// Dropping the form at the top of the work area maximizes it, but only at
// the end of a move the user made with the mouse: a program that moves its
// form near the top keeps it normal.
struct TDropAtTopInput {
  bool UserMove = false;  // the move came from dragging the caption
  bool LeftButtonDown = false;
  Integer CursorClientX = 0, Width = 0;
  Integer FormTop = 0, WorkTop = 0;
  bool NoAutoMax = false, WinArrange = false;
};
bool RibbonMaximizeOnDrop(const TDropAtTopInput& In);

// A non-client left click: whether it is the quick second click on the top
// or bottom 2 pixels that toggles the vertical maximize. Interval is the
// system's double-click time; LastClick 0 means no click before.
bool RibbonEdgeDoubleClick(Cardinal Now, Cardinal LastClick, Cardinal Interval, Integer ClientY, Integer Height,
                           bool Maximized);

// The rounded window region of the older systems (CreateRoundRectRgn
// arguments), or an empty rectangle when the region is removed.
TRect RibbonRegionRect(Integer Width, Integer Height, bool RemoveRegion);

// --- the colour-tones look ---

// The length of the side lines the flat frame draws down from the top: 25
// pixels at the family's scale (Scale is ToolBarDPIScale, never a
// pixels-per-inch number) plus the pager caption's height.
Integer RibbonSideLineLength(Single Scale, Integer CaptionHeight);

// The size grip's dots: four rows of 2 x 2 squares right-aligned above R, B
// (the client rectangle less 3 pixels at the right and bottom), 4 in the
// bottom row and one less in each row above; square k of a row covers
// (R - 3k - 2, y - 2) to (R - 3k, y), y being B in the bottom row and 3 less
// in each row above.
std::vector<TRect> RibbonSizeGripSquares(Integer R, Integer B);

// A window of this thread as the search for the system's shadow window sees it.
struct TShadowCandidate {
  HWND Handle = nullptr;
  bool Visible = false;
  String ClassName;
  TRect WindowRect;
};
// The shadow window of a form whose window stands at FormTopLeft: the
// first visible candidate of class "SysShadow" (exact, compared on at most
// 255 characters) whose window rectangle starts at the form's left and top;
// nullptr when none.
HWND FindSysShadow(const std::vector<TShadowCandidate>& Windows, TPoint FormTopLeft);
// A shadow handle remembered earlier stays in use only while it still names
// a visible "SysShadow" window among this thread's windows; otherwise it is
// forgotten (nullptr), so that a handle the system has since given to
// another window is never moved.
HWND KeepSysShadow(HWND Remembered, const std::vector<TShadowCandidate>& Windows);

}  // namespace ribbon
