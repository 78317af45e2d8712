#pragma once
// Forms (top-level windows with a frame, activation, modal showing and
// closing) and the screen object (forms, cursor, fonts, metrics).
#include <memory>
#include <vector>

#include "platform/rtl/Strings.h"
#include "platform/vcl/Controls.h"

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TMainMenu;
class TMenuItem;
class TMonitor;
class TMenuBar;
class TMDIClient;
class TIcon;

class TCustomForm : public TWinControl {
 public:
  // A hidden form owned by AOwner; it enters Screen's form list. Components
  // created by a derived constructor count as loaded with the form: after
  // construction, AfterConstruction calls Loaded on them and then OnCreate.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Ends construction: Loaded on the form and the components it owns that
  // are still loading, then OnCreate. Application->CreateForm calls it.
  virtual void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  // Keeps the client size and recreates the window of a shown form.
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TWindowState WindowState() const { return FWindowState; }
  // Maximised: the form fills its monitor's work area (its normal place is
  // kept for restoring); minimised: shown minimised where there is a window
  // system; normal: back to the kept place.
  void SetWindowState(TWindowState Value);
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  // The resolution the form was designed at (96 unless set).
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  // The monitor the form lies on most (the nearest one when on none).
  TMonitor* Monitor() const;
  void SetPixelsPerInch(Integer Value);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TFormState FormState() const { return FFormState; }
  // The main menu whose items the form's menu bar shows (nullptr: no bar).
  // The client area keeps its size: the window grows by the bar's height.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  // The menu bar (nullptr until a menu was set).
  TMenuBar* MenuBar() const { return FMenuBar.get(); }
  // True while the form is the active window (an MDI child: the active child).
  bool Active() const { return FActive; }

  // MDI (see MDI.h). An MDI frame's client window, made on demand; nullptr
  // for other forms.
  HWND ClientHandle();
  // An MDI frame's active child and its shown children, topmost first;
  // nullptr and 0 for other forms and bad indexes.
  TCustomForm* ActiveMDIChild() const;
  Integer MDIChildCount() const;
  TCustomForm* MDIChildren(Integer Index) const;
  // The menu item that lists an MDI frame's children (the layer keeps no
  // list of its own in it; see WM_MDIREFRESHMENU).
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* Value);
  // The form's icon (empty unless loaded); WM_GETICON answers its handle.
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);

  // The control that has (or gets, when the form becomes active) the focus.
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
  // for a control that cannot take the focus while the form shows.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // Focuses Control (through ActiveControl).
  void FocusControl(TWinControl* Control);
  // Records Control as focused: CM_EXIT along the old chain, CM_ENTER along
  // the new one, CM_FOCUSCHANGED to the form's controls. false when a
  // handler moved the focus meanwhile.
  bool SetFocusedControl(TWinControl* Control);
  // The control inside the form that has the window focus, nullptr when none.
  TWinControl* FocusedControl() const { return FFocusedControl; }
  // Forgets Control and its children as the active or focused control (it
  // goes away, hides or is disabled); the focus moves to the form.
  void ForgetFocus(TWinControl* Control);

  // Shows the form and makes it active.
  void Show();
  void Hide();
  // Shows the form modally: other forms are disabled and messages (posted
  // ones and timers included) are delivered until ModalResult is set or the
  // form is closed; answers ModalResult. Raises EInvalidOperation "Cannot
  // make a visible window modal" for a form that shows already.
  virtual TModalResult ShowModal();
  // OnCloseQuery, then OnClose with the close action: the main form ends
  // the application, caHide hides, caFree releases; a modal form gets
  // ModalResult mrCancel instead.
  void Close();
  // Asks OnCloseQuery (and, for the main form, every other form).
  virtual bool CloseQuery();
  // Destroys the form once the messages pending now have been delivered.
  void Release();
  void SetFocus() override;
  bool CanFocus() const override;
  TRect FrameInsets() const override;
  // Client-area origin in screen coordinates.
  TPoint ClientOrigin() const override;
  void SetVisible(bool Value) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // The focused control takes a wheel turn first.
  void MouseWheelHandler(TMessage& Message) override;
  // A DPI change (IsDpiChange) also scales PixelsPerInch by M/D.
  void ChangeScale(Integer M, Integer D, bool IsDpiChange = false) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // The monitors changed: a top-level Scaled form whose monitor now has other
  // pixels per inch than the form gets WM_DPICHANGED (the new value in both
  // words of wParam, the suggested outer rectangle in lParam) and scales
  // itself by new/old. The same happens when the form is moved or sized onto
  // a monitor of other pixels per inch. The form keeps its place: the
  // suggested rectangle is for code that wants to know.
  void MonitorsChanged();

 protected:
  friend class TWinControl;
  friend class TMenuBar;
  friend class TMDIClient;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  void PaintWindow(HDC DC) override;
  void Dispatch(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  virtual void WMActivate(TMessage& Message);
  virtual void WMClose(TMessage& Message);
  // SC_MOVE (any low bits, e.g. 0xF012 from a caption-drag request) moves
  // the window with the pointer until the left button is released.
  virtual void WMSysCommand(TMessage& Message);
  virtual void CMActivate(TMessage& Message);
  virtual void CMDeactivate(TMessage& Message);
  void CloseModal();
  void SetWindowFocus();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The bar's height changed by Delta: the window follows, the client area keeps its size.
  void MenuBarResized(Integer Delta);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDefaultPosOnly;
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  TRect FRestoreBounds;  // the normal place while maximised or minimised
  bool FScaled = true;
  Integer FPixelsPerInch = 96;
  bool FDpiChanging = false;
  bool FKeyPreview = false;
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 255;
  TModalResult FModalResult = mrNone;
  TFormState FFormState;
  bool FActive = false;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  Integer FFocusCount = 0;

 private:
  void PlaceForm();
  void ApplyAlpha();
  std::unique_ptr<TControlCanvas> FCanvas;
  TMainMenu* FMenu = nullptr;
  std::unique_ptr<TMenuBar> FMenuBar;
  TMDIClient* FMDIClient = nullptr;  // a child control of an MDI frame
  TMenuItem* FWindowMenu = nullptr;
  std::unique_ptr<TIcon> FIcon;

 public:
  TCanvas* Canvas() const { return FCanvas.get(); }
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// A frame: a windowed control that groups the components it owns, placed on
// a form or another frame. Stylers descend into frames and into no other
// control that owns components.
class TCustomFrame : public TWinControl {
 public:
  explicit TCustomFrame(TComponent* AOwner) : TWinControl(AOwner) {}
};

class TFrame : public TCustomFrame {
 public:
  explicit TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {}
};

// The screen: the program's forms, the active form and control, the
// cursor, the installed fonts and the desktop's geometry.
class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  Integer FormCount() const { return Integer(FForms.size()); }
  // The form at Index (creation order); a bad index raises EListError.
  TCustomForm* Forms(Integer Index) const;
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  // The cursor shown over every window; crDefault lets each control's own
  // cursor show (crHourGlass shows the busy pointer everywhere).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The installed font families, sorted.
  TStrings* Fonts();
  TFont* HintFont() const { return FHintFont.get(); }
  TFont* IconFont() const { return FIconFont.get(); }
  TFont* MenuFont() const { return FMenuFont.get(); }
  Integer PixelsPerInch() const;
  Integer Width() const;
  Integer Height() const;
  // The primary monitor's work area (the desktop minus panels).
  TRect WorkAreaRect() const;
  Integer WorkAreaLeft() const { return WorkAreaRect().Left; }
  Integer WorkAreaTop() const { return WorkAreaRect().Top; }
  Integer WorkAreaWidth() const { return WorkAreaRect().Width(); }
  Integer WorkAreaHeight() const { return WorkAreaRect().Height(); }
  // The bounding box of every monitor.
  TRect DesktopRect() const;
  Integer MonitorCount() const;
  // The monitor at Index (see Monitors.h); nullptr for a bad index.
  TMonitor* Monitors(Integer Index) const;
  // The monitor by the rules of MonitorFromPoint/Rect/Window (nearest by default).
  TMonitor* MonitorFromPoint(TPoint Point, DWORD Default = 2) const;
  TMonitor* MonitorFromRect(const TRect& Rect, DWORD Default = 2) const;
  TMonitor* MonitorFromWindow(HWND Wnd, DWORD Default = 2) const;
  TMonitor* PrimaryMonitor() const;

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form);
  void SetActiveControl(TWinControl* Control);

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TFont> FHintFont, FIconFont, FMenuFont;
};

// The program's screen object; made by InitApplication, nullptr before.
extern TScreen* Screen;

// Declares the form classes and their published properties to the type information.
void RegisterFormClasses();
