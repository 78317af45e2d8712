#pragma once
// Inside view of the controls layer, for platform/ code only: the bridge
// between a windowed control and its Qt widget and backing image, and the
// input routing shared by real input and the test kit. Includes Qt.
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/win/Window.h"

class TBridgeWidget;

// A windowed control's window: a Qt widget that shows a backing image. The
// image covers the whole window (frame included) of a child window and the
// client area of a top-level one, with a form's menu bar above it.
class TWindowBridge {
 public:
  TWindowBridge(TWinControl* Control, const TCreateParams& Params);
  ~TWindowBridge();
  TWindowBridge(const TWindowBridge&) = delete;
  TWindowBridge& operator=(const TWindowBridge&) = delete;

  HWND Handle() const { return FHandle; }
  TWinControl* Control() const { return FControl; }
  QWidget* Widget() const;
  bool TopLevel() const { return FTopLevel; }
  // The window that owns a top-level window (a pop-up made by a control); nullptr when none.
  HWND Owner() const { return FOwner; }
  // The window a child window lies in.
  HWND ParentWindow() const { return FParentWnd; }
  DWORD Style() const { return FStyle; }
  DWORD ExStyle() const { return FExStyle; }
  void SetExStyle(DWORD Value) { FExStyle = Value; }
  QImage& Image() { return FImage; }
  // Client area's top-left inside the image.
  QPoint ClientOffset() const { return FClientOffset; }

  // Follows the control's bounds (parent client coordinates, or the screen for top-level windows).
  void UpdateGeometry();
  // A top-level window's size limits for the window manager: the form's
  // tracking sizes (its constraints, WM_GETMINMAXINFO) as client sizes.
  void UpdateSizeHints();
  // Moves a child window's widget under another window's (SetParent of two handles).
  void Reparent(TWindowBridge* NewParent);
  // Shows or hides the window; a top-level one shown with Activate false asks the window system not to activate it.
  void SetVisible(bool Visible, bool Activate = true);
  bool Visible() const { return FVisible; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  void SetOpacity(double Value);
  void SetTitle(const String& Title);
  void SetCursorShape(TCursor Cursor);
  // The shape last set on this top-level window.
  TCursor CursorShape() const { return FCursorShape; }
  void Raise();
  // Stacks a top-level window below every other one, or just below Above.
  void Lower();
  void PlaceBelow(TWindowBridge* Above);
  // WM_SETREDRAW: while off, the window and its children keep what is marked
  // for painting but paint nothing; on again, what is marked is painted.
  void SetRedraw(bool Value);
  bool RedrawSuspended() const;
  // Asks the window manager to move the window with the pointer; false when
  // it cannot (no window system, or one without interactive moves).
  bool StartSystemMove();
  // Asks the window manager to size the window from an edge (WMSZ_LEFT 1 ..
  // WMSZ_BOTTOMRIGHT 8) with the pointer; false when it cannot.
  bool StartSystemResize(int Edge);
  // The window manager moved or sized the top-level window to Geometry (its
  // client image on the screen): the control takes the matching bounds.
  void FollowWindowSystem(const QRect& Geometry);
  // Shows a top-level window minimised, or normal again, where there is a window system.
  void SetMinimized(bool Value);

  // Marks a client rectangle (nullptr: all) for painting.
  void Invalidate(const QRect* ClientRect, bool Erase);
  void Validate(const QRect* ClientRect);
  // Marks a top-level window's menu bar for painting (WM_NCPAINT).
  void InvalidateFrame();
  bool NeedsPaint() const { return !FUpdateRgn.isEmpty() || FFrameDirty; }
  QRegion UpdateRegion() const { return FUpdateRgn; }
  bool EraseNeeded() const { return FErase; }
  void MarkBeganPaint() { FBeganPaint = true; }
  // Sends WM_NCPAINT (frames) and WM_PAINT when something is marked.
  void PaintNow();
  // Shows the image's current pixels.
  void Flush();
  // The widget has been painted on screen (with the image's current pixels).
  void ShownOnScreen() { FScreenStale = false; }
  // Flushed pixels wait for the widget's paint (one that can paint at all).
  bool ScreenUpdatePending() const;
  // DCs handed out over the image (ended before the image changes size).
  void TrackDC(HDC DC);
  void UntrackDC(HDC DC);
  bool OwnsDC(HDC DC) const;

 private:
  TWinControl* FControl;
  HWND FHandle = nullptr;
  TBridgeWidget* FWidget = nullptr;
  bool FTopLevel = false;
  HWND FOwner = nullptr;
  HWND FParentWnd = nullptr;
  DWORD FStyle = 0, FExStyle = 0;
  QImage FImage;
  QPoint FClientOffset;
  QRegion FUpdateRgn;
  bool FErase = false;
  bool FFrameDirty = false;  // a top-level window's menu bar waits for WM_NCPAINT
  bool FVisible = false;
  bool FEnabled = true;
  bool FPainting = false;
  bool FBeganPaint = false;
  bool FScreenStale = false;
  bool FRedraw = true;
  bool FFollowing = false;
  TCursor FCursorShape = crDefault;
  std::vector<HDC> FDCs;
};

namespace controls_internal {

// The bridge of a handle, nullptr for an unknown one or a hidden window.
TWindowBridge* BridgeOf(HWND Wnd);
// The window whose bridge handed out DC; nullptr for any other DC.
HWND WindowOwningDC(HDC DC);
void AddBridge(TWindowBridge* Bridge);
void RemoveBridge(TWindowBridge* Bridge);
// Paints every marked window soon (when the event loop next runs).
void SchedulePaint();
// Paints every marked window now, parents before children.
void PaintAllNow();
// Gives the DCs of control canvases back when the loop next runs.
void ScheduleCanvasRelease();
// True while painting is unfinished: a paint is scheduled, a visible window
// is marked, or painted pixels have not been shown on screen yet.
bool ScreenPaintPending();
// Called with a window's handle each time its widget has been painted on
// screen; an empty observer stops the calls. Answers the previous one.
std::function<void(HWND)> SetScreenPaintObserver(std::function<void(HWND)> Observer);

// The window that holds the mouse capture; nullptr when none.
HWND CaptureWindow();
void SetCaptureWindow(HWND Wnd);
// The windowless control inside the capture window that holds the capture.
TControl* CaptureChild();
void SetCaptureChild(TControl* Control);
// The focus window.
HWND FocusWindow();
HWND SetFocusWindow(HWND Wnd);
HWND ActiveWindow();
// Makes Wnd the active window (nullptr: none of the program's): the old one
// gets WM_NCACTIVATE (FALSE) then WM_ACTIVATE (WA_INACTIVE, lParam the new
// one), the new one WM_NCACTIVATE (TRUE) then WM_ACTIVATE (How: WA_ACTIVE, or
// WA_CLICKACTIVE for a press; lParam the old one).
void SetActiveWindow(HWND Wnd, WPARAM How = WA_ACTIVE);
// The program lost the window system's focus to another program: the active
// window is deactivated (as by SetActiveWindow(nullptr)).
void RouteApplicationDeactivated();
// The window system took the focus from the active window: once the events
// pending now are handled, the program is deactivated when none of its
// windows has the window system's focus.
void WatchApplicationDeactivation();
// Forgets a dying window in the capture, focus and pointer tracking.
void ForgetWindow(HWND Wnd);
void ForgetControl(TControl* Control);

// Input routing, shared by the window system's events and the test kit.
enum class TMouseAction { Move, Down, Up, DoubleClick, Wheel };
// A mouse event at a screen point: capture, hit test, enter/leave, the message, hints.
void RouteMouse(TMouseAction Action, TPoint Screen, TMouseButton Button, TShiftState Shift, int WheelDelta = 0);
// The pointer left every window of the program.
void RouteMouseLeftWindows();
// A key going down or up, with the text it types (down only); the focus window gets it.
void RouteKey(bool Down, Word VirtKey, const String& Text, TShiftState Shift, bool AutoRepeat = false);
// Characters typed without a key of their own (what an input method or a
// dead key composed): WM_CHAR each to the focus window.
void RouteChars(const String& Text);
// Moves Form with the pointer while the left button stays down: through the
// window manager when it offers that, else by following the routed pointer
// moves until the button is released. Nothing when the button is up.
void BeginWindowMove(TCustomForm* Form);
// Starts sizing a top-level form from an edge (WMSZ_ codes) while the left
// button is held: the window manager's own sizing, else the layer follows
// the pointer until the button comes up.
void BeginWindowSize(TCustomForm* Form, int Edge);
// The form a pointer-following move drags; nullptr when none.
TCustomForm* MovingForm();

// The last key that went down, 0 when a handler answered it before it reached
// the focused window (Alt or F10 released right after going down unanswered is the menu key).
Word LastKeyDown();

// The pointer's last screen position.
TPoint CursorPos();
void SetCursorPosOnly(TPoint P);

// The visible top-level windows, topmost first.
std::vector<TWindowBridge*> TopLevelBridges();
// The deepest enabled, visible window at the screen point, as mouse input finds it.
TWinControl* WindowAt(TPoint Screen, bool ForInput);
// Shows the cursor over every window (crDefault: each control's own).
void ApplyScreenCursor(TCursor Cursor);
// Asks the window under the pointer for its cursor again (WM_SETCURSOR).
void RefreshCursorAtPointer();
// A control's Cursor changed: it shows at once when the pointer is over the
// control or the control holds the capture.
void CursorChanged(TControl* Control);
// The shape the pointer shows: the screen's cursor, else the one the window under it set.
TCursor ShownCursor();
// A copy of the control's pixels as they show (children composed in).
QImage GrabImage(TControl* Control);
// The window's region (SetWindowRgn) over its backing image; nullptr when it has none.
std::optional<QRegion> WindowRegionInImage(HWND Wnd);
// False when the window has a region that leaves out the screen point.
bool WindowRegionContains(HWND Wnd, TPoint Screen);

// --- pop-ups owned by a control (PopupWindows.cpp) ---
// True for a control with a parent whose window is top-level (a pop-up).
bool IsPopupWindow(const TControl* Control);
// The top-level window a control shows in (itself for a form or a pop-up); nullptr when none is made.
TWindowBridge* TopLevelBridgeOf(const TControl* Control);
// Reorders top-level windows (topmost first) so that each owned window lies above the window that owns it.
void KeepOwnedAboveOwners(std::vector<TWindowBridge*>& TopmostFirst);
// True when Control's window lies under a window other than OldParent's (moved by SetParent of handles).
bool WindowMovedAway(const TWinControl* Control, const TWinControl* OldParent);
// Qt window flags for a top-level window owned by another one; ties its window to the owner's.
void PrepareOwnedWindow(TWindowBridge* Bridge);

// Runs Paint with Canvas drawing on DC; the canvas lets go of DC on every exit.
void PaintOnCanvas(TControlCanvas& Canvas, HDC DC, const std::function<void()>& Paint);
// Runs Body with Flag set in State; the flag is cleared on every exit.
void WithControlState(TControlState& State, TControlStateItem Flag, const std::function<void()>& Body);

}  // namespace controls_internal
