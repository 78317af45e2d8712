#pragma once
// The control family: TControl (bounds, alignment, anchors, visibility,
// colour, font, hints, mouse and key events, messages), TWinControl (a
// window of its own, made on demand, with children, tab order and focus),
// TGraphicControl (windowless, painted and fed by its parent) and
// TCustomControl (a window with a canvas and Paint).
//
// Messages: Perform sends a message to WindowProc (WndProc by default), which
// hands it to Dispatch; Dispatch calls the virtual handler of the messages a
// class answers and DefaultHandler for the rest. A subclass answers a message
// by overriding its handler (calling the inherited one where the class
// library's handler would call inherited) or by overriding Dispatch.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/Set.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/GraphicsObjects.h"
#include "platform/win/Messages.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TWindowBridge;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = TSet<TAlign>;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
  csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground,
  csPannable, csAlignWithMargins, csGestures, csPaintBlackOpaqueOnGlass, csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide, csPanning, csRecreating,
  csAligning, csGlassPaint, csPrintClient
};
using TControlState = TSet<TControlStateItem>;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen, ssCommand, ssHorizontal };
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TCursor = short;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
                  crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                  crSizeAll = -22, crSize = -22;

using TModalResult = Integer;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrClose = 8, mrHelp = 9, mrTryAgain = 10, mrContinue = 11, mrAll = 12,
                       mrNoToAll = 13, mrYesToAll = 14;

// Border styles of forms; controls with a border use bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, Char& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Mouse and key data of messages.
TShiftState KeysToShiftState(WPARAM Keys);
// Shift keys of a key message's data (Alt from bit 29), Shift and Ctrl from the keyboard state.
TShiftState KeyDataToShiftState(LPARAM KeyData);
// The shift keys and mouse buttons held now.
TShiftState GetShiftState();
inline TPoint PointFromLParam(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }
inline LPARAM PointToLParam(TPoint p) { return MAKELPARAM(p.X, p.Y); }

// True when Text has Key as its accelerator (the letter after a single "&",
// letter case ignored).
bool IsAccel(Word Key, const String& Text);

// The record of CM_HINTSHOW (its lParam points to one). A handler may change
// the text, position and pause times; a non-zero Result suppresses the hint.
struct THintInfo {
  class TControl* HintControl = nullptr;
  TPoint HintPos;            // screen position of the hint window
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;          // client rectangle in which the hint stays
  TPoint CursorPos;          // client position of the pointer
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};

// Smallest and largest sizes a control may take; 0 is no limit.
class TSizeConstraints : public TPersistent {
 public:
  Integer MinWidth() const { return FMinWidth; }
  Integer MinHeight() const { return FMinHeight; }
  Integer MaxWidth() const { return FMaxWidth; }
  Integer MaxHeight() const { return FMaxHeight; }
  // Negative values become 0; a limit that contradicts the other is moved along.
  void SetMinWidth(Integer v);
  void SetMinHeight(Integer v);
  void SetMaxWidth(Integer v);
  void SetMaxHeight(Integer v);
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

 private:
  void Changed();
  Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // Also keeps the text equal to the name while the two were equal.
  void SetName(const String& NewName) override;

  // --- parent and geometry ---
  TWinControl* Parent() const { return FParent; }
  // Moves the control into another parent's child list (nullptr: none).
  // Raises EInvalidOperation when the new parent is the control itself or one of its children.
  virtual void SetParent(TWinControl* AParent);
  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(Integer v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(Integer v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(Integer v) { SetBounds(FLeft, FTop, FWidth, v); }
  // Position in the parent's client area and outer size; sizes are clamped
  // to the constraints and to 0.
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // Scales position, size, size constraints and (unless it takes its
  // parent's) font height by M/D; a windowed control scales its children as
  // well. Scaling is worked out from the values last set other than by
  // scaling, with the ratios multiplied up exactly, so a round trip (96 to
  // 120 to 144 and back to 96) returns every value exactly. M or D of 0 or
  // less: nothing happens.
  virtual void ChangeScale(Integer M, Integer D, bool IsDpiChange = false);
  void ScaleBy(Integer M, Integer D) { ChangeScale(M, D, false); }
  // The client area in client coordinates (0, 0, ClientWidth, ClientHeight).
  virtual TRect ClientRect() const;
  Integer ClientWidth() const { return ClientRect().Right; }
  Integer ClientHeight() const { return ClientRect().Bottom; }
  // Sets the outer size so that the client area gets the size asked for.
  void SetClientWidth(Integer v);
  void SetClientHeight(Integer v);
  void SetClientSize(TPoint v);
  // The client area's top-left in the parent's client coordinates.
  virtual TPoint ClientOrigin() const;
  // Client to screen coordinates and back (through the parents' positions).
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // Client to the parent's client coordinates and back.
  TPoint ClientToParent(TPoint p, TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(TPoint p, TWinControl* AParent = nullptr) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  // Lets an AutoSize control fit its content now.
  virtual void AdjustSize();

  // --- visibility, state, appearance ---
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent visible (for a form: its window shows).
  bool IsVisible() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  const String& Caption() const { return FText; }
  void SetCaption(const String& Value) { SetText(Value); }
  const String& Text() const { return FText; }
  // Stores the text through WM_SETTEXT; a change sends CM_TEXTCHANGED.
  void SetText(const String& Value);
  // Length of the text through WM_GETTEXTLENGTH.
  Integer GetTextLen();
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  // True while the control holds the mouse capture.
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);
  // Position among the parent's children (graphic controls first, as the class library orders them).
  void BringToFront();
  void SendToBack();

  // --- painting ---
  // Marks the control for repainting (a windowless control: its rectangle in the parent).
  virtual void Invalidate();
  // Paints what is marked now.
  virtual void Update();
  // Invalidate and Update.
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // --- messages ---
  // Sends a message to WindowProc and answers its Result.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  // The message entry; WndProc unless replaced (subclassing).
  std::function<void(TMessage&)> WindowProc;
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // --- events ---
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

  void Loaded() override;
  // Raises OnClick (and, later, the action's execution).
  virtual void Click();
  virtual void DblClick();

 protected:
  friend class TWinControl;
  friend class TCustomForm;
  friend class TWindowBridge;
  friend struct TControlAccess;

  // --- virtuals of the class library ---
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos);
  virtual void Resize();
  virtual void Changed();
  virtual void VisibleChanging() {}
  virtual bool CanResize(Integer& NewWidth, Integer& NewHeight);
  virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight);
  virtual void ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth, Integer& MaxHeight);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Asks the parent to re-run its alignment after this control moved.
  virtual void RequestAlign();
  // Remembers the distances the anchors keep (after a move not made by alignment).
  void UpdateAnchorRules();
  virtual void SetZOrder(bool TopMost);
  // Moves the control without asking the parent to realign (alignment's own moves).
  void UpdateBoundsRect(const TRect& R);

  // --- message handlers (call the inherited one to keep its behaviour) ---
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  // Where a wheel turn goes: the parent form's handler (its focused control
  // first), else CM_MOUSEWHEEL to the control itself. CM_MOUSEWHEEL carries
  // the shift state's bits in the low word of wParam, the distance in the high
  // word and the screen point in lParam; unhandled, it goes on to the parent.
  virtual void MouseWheelHandler(TMessage& Message);
  virtual void CMMouseWheel(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void WMSetText(TMessage& Message);
  virtual void WMGetTextLength(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMHintShow(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);

  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TPoint FAnchorRules;
  TPoint FOriginalParentSize;
  std::unique_ptr<TSizeConstraints> FConstraints;
  // What scaling started from and what it produced last (see ChangeScale).
  struct TScaleState {
    long long Num = 1, Den = 1;
    TRect BaseBounds, ScaledBounds;
    Integer BaseFont = 0, ScaledFont = 0;
    Integer BaseLimits[4] = {}, ScaledLimits[4] = {};
    bool Started = false;
  };
  TScaleState FScale;
  bool FAutoSize = false;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  String FText;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;

 private:
  void FontChanged(TObject* Sender);
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
};

// Window creation parameters (CreateParams fills them before CreateWnd).
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  // The window class's style bits (CS_ values of PopupWindows.h).
  struct {
    UINT style = 0;
  } WindowClass;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // --- window handle ---
  // The window, created on demand (with the parents' windows). Raises
  // EInvalidOperation "Control '<name>' has no parent window" when a child
  // control without a parent window asks for one.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { (void)Handle(); }
  // Destroys the window and makes it again with the current parameters.
  void RecreateWnd();
  // A window outside the class library to place this control in (top-level when nullptr).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // True when the window exists and shows (visible, and its parents too).
  bool Showing() const { return FShowing; }

  // --- children ---
  Integer ControlCount() const { return Integer(FControls.size() + FWinControls.size()); }
  // Windowless children first, then windowed ones, each in z-order (bottom first).
  // A bad index raises EListError.
  TControl* Controls(Integer Index) const;
  // True for this control and every control below it.
  bool ContainsControl(const TControl* Control) const;
  // Sends the message to every child until one answers non-zero.
  void Broadcast(TMessage& Message);
  // The topmost visible child at the client point (enabled ones only unless
  // AllowDisabled; windowless ones only unless AllowWinControls; descending
  // into windowed children with AllLevels); nullptr when none.
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false, bool AllLevels = false);
  TControl* FindChildControl(StringView ControlName) const;
  // Stops and restarts alignment of the children (nestable).
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  void Realign();

  // --- tab order and focus ---
  Integer TabOrder() const;
  // Clamps into the parent's tab list; -1 takes the control out of it.
  void SetTabOrder(Integer Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // The windowed children (and their children) in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  // The control after (or before) CurControl in the tab order among this
  // control's children; nullptr when none can take the focus.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  // Focuses the next control in the tab order, wrapping round.
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  // Visible and enabled, and so are all the parents.
  virtual bool CanFocus() const;
  bool Focused() const;
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when it cannot take the focus.
  virtual void SetFocus();

  // --- painting ---
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  TBrush* Brush() const { return FBrush.get(); }
  // Paints the visible windowless children into DC, from First on (nullptr: all).
  void PaintControls(HDC DC, TControl* First);
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the parent's background and content into DC (a transparent
  // child's context), shifted so that the parent's pixels under the child land in it.
  void PaintParentBackground(HDC DC);

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // Scales itself, then its children.
  void ChangeScale(Integer M, Integer D, bool IsDpiChange = false) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  // Frame thickness around the client area (left, top, right, bottom).
  virtual TRect FrameInsets() const { return {}; }
  void Loaded() override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  friend class TControl;
  friend class TCustomForm;
  friend class TWindowBridge;

  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  // Creates or hides the window as Visible and the parents say.
  void UpdateShowing();
  void UpdateControlState();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect);
  virtual void AlignControl(TControl* AControl);
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(Char& Key);
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();
  void SetZOrder(bool TopMost) override;
  // Hands mouse messages over a windowless child (or captured by one) to it.
  void WndProc(TMessage& Message) override;
  bool IsControlMouseMsg(TMessage& Message);
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  virtual void WMPaint(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  virtual void WMNCPaint(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSysKeyDown(TMessage& Message);
  virtual void WMSysKeyUp(TMessage& Message);
  virtual void WMSysChar(TMessage& Message);
  virtual void WMNCHitTest(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMGetDlgCode(TMessage& Message);
  virtual void WMQueryUIState(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CNSysKeyDown(TMessage& Message);
  virtual void CNSysChar(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMFocusChanged(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  std::unique_ptr<TWindowBridge> FBridge;
  std::vector<TControl*> FControls;     // windowless children, bottom first
  std::vector<TWinControl*> FWinControls;  // windowed children, bottom first
  std::vector<TWinControl*> FTabList;
  std::unique_ptr<TBrush> FBrush;
  bool FTabStop = false;
  bool FShowing = false;
  bool FDoubleBuffered = false;
  Integer FAlignLevel = 0;

 private:
  void DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect, const std::vector<TControl*>& List);
};

// A canvas over a control: its window's DC, or for a windowless control its
// parent's DC moved to the control and clipped to it. The DC is given back
// when the event loop next runs (and before the window changes size).
class TControlCanvas : public TCanvas {
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  // Gives the DC back (drawing shows).
  void FreeHandle();
  // Gives back every control canvas's DC (run when the event loop is idle).
  static void FreeDeviceContexts();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// A control without a window: its parent paints it and feeds it the mouse.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;
  virtual void WMPaint(TMessage& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A windowed control that paints itself on its canvas.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The mouse as the program sees it.
class TMouse {
 public:
  // The pointer's screen position.
  TPoint CursorPos() const;
  void SetCursorPos(TPoint Value);
  // The control holding the capture (windowless ones included), nullptr when none.
  TControl* Capture() const;
  bool MousePresent() const { return true; }
  Integer WheelScrollLines() const { return 3; }
};
extern TMouse* Mouse;

// The control holding the mouse capture, windowless ones included.
TControl* GetCaptureControl();
// Gives the capture to the control (a windowless one through its parent's window); nullptr releases it.
void SetCaptureControl(TControl* Control);
// The windowed control of a window handle, nullptr when none.
TWinControl* FindControl(HWND Handle);
// The form a control lies on, nullptr when none.
TCustomForm* GetParentForm(const TControl* Control, bool TopForm = true);
// The same; raises EInvalidOperation "Control '<name>' has no parent window" when none.
TCustomForm* ValidParentForm(const TControl* Control);
// The deepest control (windowless ones included) at the screen point, nullptr when none.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
// The control under the pointer as the layer tracks it for CM_MOUSEENTER/CM_MOUSELEAVE.
TControl* MouseControl();

// The menus' shortcut check: a key going down at the focused control is
// offered to it before dialog keys; true when a menu item took it.
using TMenuShortCutHook = bool (*)(TWinControl* Focused, Word Key, TShiftState Shift);
void SetMenuShortCutHook(TMenuShortCutHook Hook);

// Declares the control classes and their published properties to the type information.
void RegisterControlClasses();
