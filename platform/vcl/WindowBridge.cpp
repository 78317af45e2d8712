// The bridge between windowed controls and Qt widgets, and the input routing
// that real input and the test kit share.
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "platform/gdi/GdiInternal.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/QtString.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/FormWindowInternal.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MDI.h"
#include "platform/vcl/MenuBar.h"
#include "platform/win/Keyboard.h"
#include "platform/win/LoopInternal.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

using namespace controls_internal;

namespace {

struct TState {
  std::map<HWND, TWindowBridge*> Bridges;
  std::vector<TWindowBridge*> ZOrder;  // top-level windows, topmost last
  HWND Capture = nullptr;
  TControl* CaptureChild = nullptr;
  HWND Focus = nullptr;
  HWND Active = nullptr;
  TControl* MouseControl = nullptr;
  TPoint Cursor;
  bool PaintScheduled = false;
  bool CanvasReleaseScheduled = false;
  std::function<void(HWND)> ScreenPaintObserver;
  Integer MouseButtonsDown = 0;
  // A move that follows the pointer (when the window manager cannot move).
  TCustomForm* MoveForm = nullptr;
  TPoint MoveGrab;    // pointer where the move began
  TPoint MoveOrigin;  // the form's place then
  TCustomForm* SizeForm = nullptr;  // sized by the layer (WMSZ_ edge in SizeEdge)
  int SizeEdge = 0;
  TPoint SizeGrab;
  TRect SizeOrigin;
  MINMAXINFO SizeTrack;  // the form's limits, asked as the sizing began
  HWND MenuBarMouse = nullptr;  // the form whose menu bar the pointer is over
  Word LastKeyDown = 0;
  QPointer<QWidget> Grabbed;  // the top-level widget holding the pointer for the capture window
};

TState& S() {
  static TState s;
  return s;
}

Qt::CursorShape ToQtCursor(TCursor c) {
  switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crAppStart: return Qt::BusyCursor;
    case crDrag: case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers m) {
  TShiftState s;
  if (m & Qt::ShiftModifier) s.Include(ssShift);
  if (m & Qt::ControlModifier) s.Include(ssCtrl);
  if (m & Qt::AltModifier) s.Include(ssAlt);
  return s;
}

Word VirtKeyFromQt(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return Word('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return Word('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return Word(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Menu: return VK_APPS;
    default: break;
  }
  // Punctuation: the key code of its place on a US keyboard (shifted
  // characters share their key's code).
  switch (key) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal: case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period: case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash: case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return VK_OEM_7;
    default: return 0;
  }
}

// True when a key's text is a character to type (not a control character).
bool TypesCharacters(const QString& Text) { return !Text.isEmpty() && Text[0].unicode() >= 0x20 && Text[0].unicode() != 0x7F; }

void ReportException() {
  if (Application != nullptr) Application->HandleException(Application);
}

TMouseButton ButtonFromQt(Qt::MouseButton b) {
  return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

// Screen position of a Qt event on a bridge's widget, in the program's own
// coordinates (the client origin it gave the window, whatever the window
// manager did with it).
TPoint ScreenPosOf(TWindowBridge* b, QPointF local) {
  TPoint origin = b->Control()->ClientOrigin();
  const QPoint off = b->ClientOffset();
  return {origin.X + int(std::floor(local.x())) - off.x(), origin.Y + int(std::floor(local.y())) - off.y()};
}

// The offscreen platform has no stacking or size hints for top-level windows (and says so on every call).
bool WindowSystemStacks() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

// Height of a top-level form's menu bar, which the window shows above its client area.
int MenuBarBand(TWinControl* Control) {
  if (Control->Parent() != nullptr) return 0;
  auto* form = dynamic_cast<TCustomForm*>(Control);
  return form != nullptr && form->MenuBar() != nullptr ? form->MenuBar()->Height() : 0;
}

bool MouseButtonHeld() {
  return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
}

// While a button is held, the capture window's top-level widget holds the
// pointer. The window system's own grab belongs to the window the press
// landed in; when that window goes mid-drag (a floating toolbar docked again)
// the grab, and the release with it, would go too.
void SyncPointerGrab() {
  TState& s = S();
  if (QCoreApplication::instance() == nullptr || !WindowSystemStacks()) return;
  QWidget* want = nullptr;
  if (s.Capture != nullptr && MouseButtonHeld())
    if (TWinControl* c = FindControl(s.Capture))
      if (TWindowBridge* top = TopLevelBridgeOf(c); top != nullptr && top->Widget() != nullptr && top->Widget()->isVisible())
        want = top->Widget();
  if (s.Grabbed == want && (want == nullptr || QWidget::mouseGrabber() == want)) return;
  if (want != nullptr) {
    want->grabMouse();  // takes the grab from any widget that held it
  } else if (s.Grabbed != nullptr && QWidget::mouseGrabber() == s.Grabbed) {
    s.Grabbed->releaseMouse();
  }
  s.Grabbed = want;
}

int Depth(const TControl* c) {
  int d = 0;
  for (; c != nullptr; c = c->Parent()) ++d;
  return d;
}

}  // namespace

// ---------------------------------------------------------------------------
// The widget

class TBridgeWidget : public QWidget {
 public:
  TBridgeWidget(TWindowBridge* Bridge, QWidget* Parent, Qt::WindowFlags Flags)
      : QWidget(Parent, Flags), FBridge(Bridge) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    if (Parent != nullptr) {
      // Mouse input goes to the top-level window, which routes it itself.
      setAttribute(Qt::WA_TransparentForMouseEvents);
      setFocusPolicy(Qt::NoFocus);
    } else {
      setFocusPolicy(Qt::StrongFocus);
      // Dead keys and compose sequences arrive through the input method.
      setAttribute(Qt::WA_InputMethodEnabled);
    }
  }
  void Detach() { FBridge = nullptr; }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (FBridge == nullptr) return;
    {
      QPainter p(this);
      p.drawImage(0, 0, FBridge->Image());
    }
    FBridge->ShownOnScreen();
    if (S().ScreenPaintObserver) S().ScreenPaintObserver(FBridge->Handle());
  }

  bool event(QEvent* e) override {
    if (FBridge == nullptr) return QWidget::event(e);
    try {
      switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
          auto* me = static_cast<QMouseEvent*>(e);
          const TPoint p = ScreenPosOf(FBridge, me->position());
          const TShiftState shift = ShiftFromQt(me->modifiers());
          const TMouseAction a = e->type() == QEvent::MouseMove             ? TMouseAction::Move
                                 : e->type() == QEvent::MouseButtonPress    ? TMouseAction::Down
                                 : e->type() == QEvent::MouseButtonRelease  ? TMouseAction::Up
                                                                            : TMouseAction::DoubleClick;
          // A release the window system lost (the window that had the press went): the next
          // motion tells the button is up, and the capture control gets its release first.
          if (a == TMouseAction::Move && S().Capture != nullptr)
            for (const auto& [qb, b, key] : {std::tuple{Qt::LeftButton, mbLeft, VK_LBUTTON},
                                             std::tuple{Qt::RightButton, mbRight, VK_RBUTTON},
                                             std::tuple{Qt::MiddleButton, mbMiddle, VK_MBUTTON}})
              if (!(me->buttons() & qb) && GetKeyState(key) < 0) RouteMouse(TMouseAction::Up, p, b, shift);
          RouteMouse(a, p, ButtonFromQt(me->button()), shift);
          return true;
        }
        case QEvent::Wheel: {
          auto* we = static_cast<QWheelEvent*>(e);
          RouteMouse(TMouseAction::Wheel, ScreenPosOf(FBridge, we->position()), mbLeft, ShiftFromQt(we->modifiers()),
                     we->angleDelta().y());
          return true;
        }
        case QEvent::Leave:
          RouteMouseLeftWindows();
          return true;
        case QEvent::Move:
        case QEvent::Resize:
          // The window manager moved or sized the window (its own move or size loop): the control follows.
          if (FBridge->TopLevel() && WindowSystemStacks() && isVisible()) FBridge->FollowWindowSystem(geometry());
          return QWidget::event(e);
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
          auto* ke = static_cast<QKeyEvent*>(e);
          Word vk = VirtKeyFromQt(ke->key());
          // Any other key that types (a letter of another alphabet, a
          // character of AltGr or of a spare key) still types it.
          if (vk == 0 && TypesCharacters(ke->text())) vk = VK_PACKET;
          TShiftState shift = ShiftFromQt(ke->modifiers());
          if (ke->key() == Qt::Key_Backtab) shift.Include(ssShift);
          if (vk != 0)
            RouteKey(e->type() == QEvent::KeyPress, vk, e->type() == QEvent::KeyPress ? FromQString(ke->text()) : String(),
                     shift, ke->isAutoRepeat());
          return true;
        }
        case QEvent::InputMethod: {
          // What a dead key or a compose sequence made: typed characters only.
          auto* ie = static_cast<QInputMethodEvent*>(e);
          if (!ie->commitString().isEmpty()) RouteChars(FromQString(ie->commitString()));
          ie->accept();
          return true;
        }
        case QEvent::Close:
          // The close box asks the form; the form decides whether it goes.
          e->ignore();
          PostMessage(FBridge->Handle(), WM_CLOSE, 0, 0);
          return true;
        case QEvent::WindowActivate:
          // Only the window system's current choice counts: activation events
          // caused by the program's own activations may arrive late and stale.
          if (FBridge->TopLevel() && FBridge->Enabled() && isActiveWindow() &&
              QGuiApplication::focusWindow() == windowHandle() && ActiveWindow() != FBridge->Handle() &&
              !(FBridge->ExStyle() & WS_EX_NOACTIVATE))
            SetActiveWindow(FBridge->Handle());
          break;
        case QEvent::WindowDeactivate:
          // Focus went elsewhere: to another program when no window of the program has it.
          if (FBridge->TopLevel() && WindowSystemStacks() && ActiveWindow() == FBridge->Handle())
            WatchApplicationDeactivation();
          break;
        default: break;
      }
    } catch (...) {
      ReportException();
      return true;
    }
    return QWidget::event(e);
  }

  bool focusNextPrevChild(bool) override { return false; }  // Tab is the form's

 private:
  TWindowBridge* FBridge;
};

// ---------------------------------------------------------------------------
// TWindowBridge

TWindowBridge::TWindowBridge(TWinControl* Control, const TCreateParams& Params)
    : FControl(Control), FStyle(Params.Style), FExStyle(Params.ExStyle) {
  TWinControl* ctl = Control;
  FHandle = RegisterWindow([ctl](TMessage& m) { ctl->WindowProc(m); });
  FTopLevel = (Params.Style & WS_CHILD) == 0;
  if (FTopLevel && BridgeOf(Params.WndParent) != nullptr) FOwner = Params.WndParent;
  if (!FTopLevel) FParentWnd = Params.WndParent;
  QWidget* parentWidget = nullptr;
  if (!FTopLevel)
    if (TWindowBridge* pb = BridgeOf(Params.WndParent)) parentWidget = pb->Widget();
  Qt::WindowFlags flags = Qt::Widget;
  if (FTopLevel) {
    const bool caption = (Params.Style & WS_CAPTION) == WS_CAPTION;
    if (!caption && FOwner != nullptr) {
      // A pop-up a control owns: a utility window kept above its owner; it takes the focus unless told not to.
      flags = Qt::Tool | Qt::FramelessWindowHint;
      if (Params.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
      if (Params.ExStyle & WS_EX_NOACTIVATE) flags |= Qt::WindowDoesNotAcceptFocus;
    } else if (!caption) {
      // Pop-ups (hints, key tips, drop-downs) have no frame; on-top ones bypass the window manager.
      flags = Qt::Window | Qt::FramelessWindowHint;
      if (Params.ExStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus;
    } else {
      flags = (Params.ExStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
      if (Params.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    }
  }
  auto* widget = new TBridgeWidget(this, parentWidget, flags);
  FWidget = widget;
  if (FTopLevel) widget->setWindowTitle(ToQString(Params.Caption));
  AddBridge(this);
  if (FTopLevel) S().ZOrder.insert(S().ZOrder.begin(), this);
  if (FOwner != nullptr) PrepareOwnedWindow(this);
  UpdateGeometry();
}

TWindowBridge::~TWindowBridge() {
  for (HDC dc : std::vector<HDC>(FDCs)) DeleteDC(dc);
  FDCs.clear();
  ForgetWindow(FHandle);
  RemoveBridge(this);
  std::erase(S().ZOrder, this);
  if (FWidget != nullptr) {
    FWidget->Detach();
    FWidget->hide();
    FWidget->deleteLater();  // Qt may still be delivering an event to it
    FWidget->setParent(nullptr);
  }
  UnregisterWindow(FHandle);
}

QWidget* TWindowBridge::Widget() const { return FWidget; }

void TWindowBridge::UpdateGeometry() {
  const TRect in = FControl->FrameInsets();
  QRect geom;
  QSize imageSize;
  if (FTopLevel) {
    const TPoint o = FControl->ClientOrigin();
    const TRect cr = FControl->ClientRect();
    const int band = MenuBarBand(FControl);
    geom = QRect(o.X, o.Y - band, std::max(cr.Width(), 1), std::max(cr.Height(), 1) + band);
    imageSize = geom.size();
    if (FClientOffset != QPoint(0, band)) FFrameDirty = band > 0;
    FClientOffset = QPoint(0, band);
  } else {
    QPoint parentOffset(0, 0);
    if (TWinControl* p = FControl->Parent())
      if (TWindowBridge* pb = BridgeOf(p->HandleAllocated() ? p->Handle() : nullptr)) parentOffset = pb->ClientOffset();
    geom = QRect(parentOffset.x() + FControl->Left(), parentOffset.y() + FControl->Top(), std::max(FControl->Width(), 1),
                 std::max(FControl->Height(), 1));
    imageSize = geom.size();
    FClientOffset = QPoint(in.Left, in.Top);
  }
  if (FImage.size() != imageSize) {
    TControlCanvas::FreeDeviceContexts();
    for (HDC dc : FDCs)
      if (HDC__* d = gdi_internal::LookupDC(dc)) gdi_internal::EndPainting(d);
    QImage next(imageSize, QImage::Format_RGB32);
    next.fill(gdi_internal::ToQColor(ColorToRGB(FControl->Color())));
    if (!FImage.isNull()) {
      QPainter p(&next);
      p.drawImage(0, 0, FImage);
    }
    FImage = std::move(next);
    if (FTopLevel && FClientOffset.y() > 0) FFrameDirty = true;
    Invalidate(nullptr, true);
  }
  if (FWidget != nullptr) {
    UpdateSizeHints();
    FWidget->setGeometry(geom);
  }
}

void TWindowBridge::UpdateSizeHints() {
  if (FWidget == nullptr || !FTopLevel || !WindowSystemStacks()) return;
  // A window without a caption has no frame of the window manager's: it sizes only as its own hit test says.
  const bool sizeable = (FStyle & WS_THICKFRAME) != 0 || (FStyle & WS_CAPTION) != WS_CAPTION;
  const int band = FClientOffset.y();
  if (!sizeable) {
    FWidget->setFixedSize(std::max(FControl->ClientWidth(), 1), std::max(FControl->ClientHeight(), 1) + band);
    return;
  }
  // The window manager holds a sizing within the form's limits itself: a
  // request to shrink the window back afterwards may be lost to it.
  int minW = 1, minH = 1, maxW = QWIDGETSIZE_MAX, maxH = QWIDGETSIZE_MAX;
  if (auto* form = dynamic_cast<TCustomForm*>(FControl)) {
    const MINMAXINFO info = forms_internal::QueryMinMaxInfo(form);
    const Integer dw = FControl->Width() - FControl->ClientWidth();
    const Integer dh = FControl->Height() - FControl->ClientHeight() - band;
    const auto clientSize = [](Integer outer, Integer frame, int low) {
      return int(std::clamp<Integer>(outer - frame, low, QWIDGETSIZE_MAX));
    };
    minW = clientSize(info.ptMinTrackSize.X, dw, 1);
    minH = clientSize(info.ptMinTrackSize.Y, dh, 1);
    maxW = clientSize(info.ptMaxTrackSize.X, dw, minW);
    maxH = clientSize(info.ptMaxTrackSize.Y, dh, minH);
  }
  if (FWidget->minimumSize() != QSize(minW, minH)) FWidget->setMinimumSize(minW, minH);
  if (FWidget->maximumSize() != QSize(maxW, maxH)) FWidget->setMaximumSize(maxW, maxH);
}

void TWindowBridge::Reparent(TWindowBridge* NewParent) {
  if (FTopLevel || NewParent == nullptr || FWidget == nullptr || NewParent->FWidget == nullptr) return;
  FParentWnd = NewParent->FHandle;
  FWidget->setParent(NewParent->FWidget);  // hides it; the window keeps its handle and image
  if (FVisible) FWidget->show();
  FWidget->raise();
  SyncPointerGrab();  // the capture window may be in another top-level window now
  Invalidate(nullptr, true);
}

void TWindowBridge::SetVisible(bool Visible, bool Activate) {
  if (FVisible == Visible) return;
  FVisible = Visible;
  if (FWidget == nullptr) return;
  if (Visible) {
    if (FTopLevel) {
      FWidget->setAttribute(Qt::WA_ShowWithoutActivating, !Activate || (FExStyle & WS_EX_NOACTIVATE));
      UpdateSizeHints();  // the form answers for its limits once its window exists
    }
    FWidget->show();
    Invalidate(nullptr, true);
    // As on Windows, a window shown again repaints its child windows too
    // (a control may have let its timers rest while it was hidden).
    if (FTopLevel)
      for (const auto& [handle, bridge] : S().Bridges) {
        if (bridge == this || bridge->TopLevel()) continue;
        for (const TWinControl* c = bridge->Control(); c != nullptr; c = c->Parent())
          if (c == FControl) {
            bridge->Invalidate(nullptr, true);
            break;
          }
      }
  } else {
    FWidget->hide();
    if (FTopLevel) SyncPointerGrab();
  }
}

void TWindowBridge::SetOpacity(double Value) {
  if (FWidget != nullptr && FTopLevel) FWidget->setWindowOpacity(Value);
}

void TWindowBridge::SetTitle(const String& Title) {
  if (FWidget != nullptr && FTopLevel) FWidget->setWindowTitle(ToQString(Title));
}

void TWindowBridge::SetCursorShape(TCursor Cursor) {
  // Input goes to the top-level widget, so the pointer shape is set there.
  TWindowBridge* top = TopLevelBridgeOf(FControl);
  if (top == nullptr) top = this;
  top->FCursorShape = Cursor;
  if (top->FWidget != nullptr) top->FWidget->setCursor(QCursor(ToQtCursor(Cursor)));
}

bool TWindowBridge::StartSystemMove() {
  if (FWidget == nullptr || !FTopLevel || !WindowSystemStacks()) return false;
  QWindow* window = FWidget->windowHandle();
  return window != nullptr && window->startSystemMove();
}

void TWindowBridge::Raise() {
  if (FWidget != nullptr && (!FTopLevel || WindowSystemStacks())) FWidget->raise();
  if (FTopLevel) {
    std::erase(S().ZOrder, this);
    S().ZOrder.push_back(this);
  }
}

void TWindowBridge::FollowWindowSystem(const QRect& Geometry) {
  if (FFollowing || !FTopLevel) return;
  const int band = FClientOffset.y();
  const TPoint o = FControl->ClientOrigin();
  const Integer left = Geometry.x() - (o.X - FControl->Left());
  const Integer top = Geometry.y() + band - (o.Y - FControl->Top());
  const Integer shownWidth = Geometry.width() + (FControl->Width() - FControl->ClientWidth());
  const Integer shownHeight = Geometry.height() - band + (FControl->Height() - FControl->ClientHeight());
  Integer width = shownWidth, height = shownHeight;
  // The window manager sizes within the form's tracking sizes, as the system's own sizing does.
  if (width != FControl->Width() || height != FControl->Height())
    if (auto* form = dynamic_cast<TCustomForm*>(FControl))
      forms_internal::ClampToTrackSize(forms_internal::QueryMinMaxInfo(form), width, height);
  if (left != FControl->Left() || top != FControl->Top() || width != FControl->Width() || height != FControl->Height()) {
    FFollowing = true;
    try {
      FControl->SetBounds(left, top, width, height);
    } catch (...) {
      FFollowing = false;
      throw;
    }
    FFollowing = false;
  }
  // Where the limits or a WM_WINDOWPOSCHANGING handler kept the form elsewhere, the window goes back to it.
  if (FControl->Left() != left || FControl->Top() != top || FControl->Width() != shownWidth ||
      FControl->Height() != shownHeight)
    UpdateGeometry();
}

bool TWindowBridge::StartSystemResize(int Edge) {
  if (FWidget == nullptr || !FTopLevel || !WindowSystemStacks()) return false;
  QWindow* window = FWidget->windowHandle();
  if (window == nullptr) return false;
  Qt::Edges edges;
  if (Edge == 1 || Edge == 4 || Edge == 7) edges |= Qt::LeftEdge;
  if (Edge == 2 || Edge == 5 || Edge == 8) edges |= Qt::RightEdge;
  if (Edge == 3 || Edge == 4 || Edge == 5) edges |= Qt::TopEdge;
  if (Edge == 6 || Edge == 7 || Edge == 8) edges |= Qt::BottomEdge;
  return edges != Qt::Edges() && window->startSystemResize(edges);
}

void TWindowBridge::SetMinimized(bool Value) {
  if (FWidget == nullptr || !FTopLevel || !WindowSystemStacks() || !FVisible) return;
  if (Value) FWidget->showMinimized();
  else FWidget->showNormal();
}

void TWindowBridge::Lower() {
  if (FWidget != nullptr && (!FTopLevel || WindowSystemStacks())) FWidget->lower();
  if (FTopLevel) {
    std::erase(S().ZOrder, this);
    S().ZOrder.insert(S().ZOrder.begin(), this);
  }
}

void TWindowBridge::PlaceBelow(TWindowBridge* Above) {
  if (!FTopLevel || Above == nullptr || Above == this || !Above->FTopLevel) return;
  if (FWidget != nullptr && Above->FWidget != nullptr && WindowSystemStacks()) FWidget->stackUnder(Above->FWidget);
  auto& order = S().ZOrder;
  std::erase(order, this);
  order.insert(std::find(order.begin(), order.end(), Above), this);
}

void TWindowBridge::SetRedraw(bool Value) {
  if (FRedraw == Value) return;
  FRedraw = Value;
  if (Value) SchedulePaint();
}

bool TWindowBridge::RedrawSuspended() const {
  for (TWinControl* c = FControl; c != nullptr; c = c->Parent()) {
    if (!c->HandleAllocated()) continue;
    const TWindowBridge* b = BridgeOf(c->Handle());
    if (b != nullptr && !b->FRedraw) return true;
  }
  return false;
}

void TWindowBridge::Invalidate(const QRect* ClientRect, bool Erase) {
  const QRect client(FClientOffset, QSize(FImage.width() - FClientOffset.x(), FImage.height() - FClientOffset.y()));
  QRect r = ClientRect != nullptr ? ClientRect->translated(0, 0) : QRect(QPoint(0, 0), client.size());
  r = r.intersected(QRect(QPoint(0, 0), client.size()));
  if (r.isEmpty()) return;
  FUpdateRgn += r;
  if (Erase) FErase = true;
  SchedulePaint();
}

void TWindowBridge::InvalidateFrame() {
  if (!FTopLevel || FClientOffset.y() <= 0) return;
  FFrameDirty = true;
  SchedulePaint();
}

void TWindowBridge::Validate(const QRect* ClientRect) {
  if (ClientRect == nullptr) {
    FUpdateRgn = QRegion();
    FErase = false;
  } else {
    FUpdateRgn -= *ClientRect;
  }
}

void TWindowBridge::PaintNow() {
  if (FPainting || (FUpdateRgn.isEmpty() && !FFrameDirty) || RedrawSuspended()) return;
  FPainting = true;
  try {
    const TRect in = FControl->FrameInsets();
    if (FTopLevel && FFrameDirty) {
      FFrameDirty = false;
      SendMessage(FHandle, WM_NCPAINT, 1, 0);
    }
    if (!FUpdateRgn.isEmpty()) {
      if (!FTopLevel && (in.Left > 0 || in.Top > 0 || in.Right > 0 || in.Bottom > 0))
        SendMessage(FHandle, WM_NCPAINT, 1, 0);
      SendMessage(FHandle, WM_PAINT, 0, 0);
    }
  } catch (...) {
    FPainting = false;
    throw;
  }
  FPainting = false;
  // A handler that never began painting leaves nothing marked: no endless repaint.
  if (!FUpdateRgn.isEmpty() && !FBeganPaint) Validate(nullptr);
  FBeganPaint = false;
  Flush();
}

void TWindowBridge::Flush() {
  if (FWidget == nullptr) return;
  FScreenStale = true;
  FWidget->update();
}

bool TWindowBridge::ScreenUpdatePending() const {
  // A hidden or wholly covered widget, or one in a window the window system
  // does not show, gets no paint: nothing waits for it.
  if (!FScreenStale || FWidget == nullptr || !FWidget->isVisible() || FWidget->visibleRegion().isEmpty()) return false;
  const QWindow* window = FWidget->window()->windowHandle();
  return window != nullptr && window->isExposed();
}

void TWindowBridge::TrackDC(HDC DC) { FDCs.push_back(DC); }
void TWindowBridge::UntrackDC(HDC DC) { std::erase(FDCs, DC); }
bool TWindowBridge::OwnsDC(HDC DC) const { return std::find(FDCs.begin(), FDCs.end(), DC) != FDCs.end(); }

// ---------------------------------------------------------------------------
// Registry, painting, capture and focus state

namespace controls_internal {

TWindowBridge* BridgeOf(HWND Wnd) {
  if (Wnd == nullptr) return nullptr;
  auto it = S().Bridges.find(Wnd);
  return it == S().Bridges.end() ? nullptr : it->second;
}

void AddBridge(TWindowBridge* Bridge) { S().Bridges[Bridge->Handle()] = Bridge; }
void RemoveBridge(TWindowBridge* Bridge) { S().Bridges.erase(Bridge->Handle()); }

void SchedulePaint() {
  if (S().PaintScheduled || QCoreApplication::instance() == nullptr) return;
  S().PaintScheduled = true;
  QTimer::singleShot(0, QCoreApplication::instance(), [] {
    S().PaintScheduled = false;
    try {
      PaintAllNow();
    } catch (...) {
      ReportException();
    }
  });
}

void PaintAllNow() {
  // Bounded: a control that marks itself while painting is painted again next time.
  for (int pass = 0; pass < 4; ++pass) {
    std::vector<TWindowBridge*> dirty;
    for (auto& [h, b] : S().Bridges)
      if (b->NeedsPaint() && b->Visible() && !b->RedrawSuspended()) dirty.push_back(b);
    if (dirty.empty()) return;
    std::stable_sort(dirty.begin(), dirty.end(),
                     [](TWindowBridge* a, TWindowBridge* b) { return Depth(a->Control()) < Depth(b->Control()); });
    for (TWindowBridge* b : dirty) {
      const HWND h = b->Handle();
      if (BridgeOf(h) == b) b->PaintNow();
    }
  }
}

bool ScreenPaintPending() {
  if (S().PaintScheduled) return true;
  for (const auto& [h, b] : S().Bridges)
    if ((b->NeedsPaint() && b->Visible() && !b->RedrawSuspended()) || b->ScreenUpdatePending()) return true;
  return false;
}

std::function<void(HWND)> SetScreenPaintObserver(std::function<void(HWND)> Observer) {
  return std::exchange(S().ScreenPaintObserver, std::move(Observer));
}

void ScheduleCanvasRelease() {
  if (S().CanvasReleaseScheduled || QCoreApplication::instance() == nullptr) return;
  S().CanvasReleaseScheduled = true;
  QTimer::singleShot(0, QCoreApplication::instance(), [] {
    S().CanvasReleaseScheduled = false;
    TControlCanvas::FreeDeviceContexts();
  });
}

HWND CaptureWindow() { return S().Capture; }

void SetCaptureWindow(HWND Wnd) {
  const HWND old = S().Capture;
  if (old == Wnd) {
    SyncPointerGrab();  // the window may have moved to another top-level window meanwhile
    return;
  }
  S().Capture = Wnd;
  if (Wnd == nullptr) S().CaptureChild = nullptr;
  SyncPointerGrab();
  if (old != nullptr && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(Wnd));
}

TControl* CaptureChild() { return S().CaptureChild; }
void SetCaptureChild(TControl* Control) { S().CaptureChild = Control; }

HWND FocusWindow() { return S().Focus; }

HWND SetFocusWindow(HWND Wnd) {
  const HWND old = S().Focus;
  if (old == Wnd) return old;
  S().Focus = Wnd;
  if (old != nullptr && BridgeOf(old) != nullptr) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(Wnd), 0);
  if (Wnd != nullptr && S().Focus == Wnd) SendMessage(Wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND ActiveWindow() { return S().Active; }

void SetActiveWindow(HWND Wnd, WPARAM How) {
  const HWND old = S().Active;
  if (old == Wnd) return;
  S().Active = Wnd;
  if (old != nullptr && BridgeOf(old) != nullptr) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    if (BridgeOf(old) != nullptr) SendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Wnd));
  }
  if (Wnd != nullptr && S().Active == Wnd) {
    if (TWindowBridge* b = BridgeOf(Wnd)) {
      b->Raise();
      if (b->Widget() != nullptr && b->Widget()->isVisible() && !b->Widget()->isActiveWindow())
        b->Widget()->activateWindow();
    }
    SendMessage(Wnd, WM_NCACTIVATE, TRUE, 0);
    if (S().Active == Wnd && BridgeOf(Wnd) != nullptr)
      SendMessage(Wnd, WM_ACTIVATE, How == WA_CLICKACTIVE ? WA_CLICKACTIVE : WA_ACTIVE, reinterpret_cast<LPARAM>(old));
  }
}


void ForgetWindow(HWND Wnd) {
  TState& s = S();
  if (s.Capture == Wnd) {
    s.Capture = nullptr;
    s.CaptureChild = nullptr;
  }
  SyncPointerGrab();
  if (s.Focus == Wnd) s.Focus = nullptr;
  if (s.Active == Wnd) s.Active = nullptr;
  if (s.MenuBarMouse == Wnd) s.MenuBarMouse = nullptr;
}

Word LastKeyDown() { return S().LastKeyDown; }

void ForgetControl(TControl* Control) {
  TState& s = S();
  if (s.MoveForm == Control) s.MoveForm = nullptr;
  if (s.SizeForm == Control) s.SizeForm = nullptr;
  if (s.CaptureChild == Control) s.CaptureChild = nullptr;
  if (s.MouseControl == Control) s.MouseControl = nullptr;
  if (s.MouseControl != nullptr)
    if (auto* w = dynamic_cast<TWinControl*>(Control); w != nullptr && w->ContainsControl(s.MouseControl))
      s.MouseControl = nullptr;
  if (Application != nullptr) Application->ControlDestroyed(Control);
}

TPoint CursorPos() { return S().Cursor; }
void SetCursorPosOnly(TPoint P) { S().Cursor = P; }

std::vector<TWindowBridge*> TopLevelBridges() {
  std::vector<TWindowBridge*> on, normal;
  for (auto it = S().ZOrder.rbegin(); it != S().ZOrder.rend(); ++it) {
    if (!(*it)->Visible()) continue;
    ((*it)->ExStyle() & WS_EX_TOPMOST ? on : normal).push_back(*it);
  }
  on.insert(on.end(), normal.begin(), normal.end());
  KeepOwnedAboveOwners(on);
  return on;
}

namespace {

// The deepest child of c under the point. As with the system's hit test, a
// window's children are asked before the window itself, and a window that
// answers HTTRANSPARENT (a pager's edge over the form's sizing border) leaves
// the point to the windows below it, not to its own children.
TWinControl* ChildAt(TWinControl* c, TPoint Screen, bool ForInput) {
  const TPoint p = c->ScreenToClient(Screen);
  for (Integer i = c->ControlCount() - 1; i >= 0; --i) {
    auto* w = dynamic_cast<TWinControl*>(c->Controls(i));
    if (w == nullptr || !w->Showing() || IsPopupWindow(w) || !w->BoundsRect().Contains(p)) continue;
    if (!WindowRegionContains(w->Handle(), Screen)) continue;
    if (ForInput && !w->Enabled()) continue;
    if (TWinControl* deeper = ChildAt(w, Screen, ForInput)) return deeper;
    if (w->Perform(WM_NCHITTEST, 0, PointToLParam(Screen)) == HTTRANSPARENT) continue;
    return w;
  }
  return nullptr;
}

}  // namespace

TWinControl* WindowAt(TPoint Screen, bool ForInput) {
  for (TWindowBridge* b : TopLevelBridges()) {
    TWinControl* c = b->Control();
    const TPoint local = c->ScreenToClient(Screen);
    if (!c->ClientRect().Contains(local)) continue;
    if (!WindowRegionContains(b->Handle(), Screen)) continue;  // outside its shape: the window below
    if (ForInput && !b->Enabled()) return nullptr;  // a disabled window (under a modal one) takes no input
    if (TWinControl* child = ChildAt(c, Screen, ForInput)) return child;
    return c;
  }
  return nullptr;
}

namespace {

void UpdateMouseControl(TControl* Under) {
  TState& s = S();
  if (s.MouseControl == Under) return;
  TControl* old = s.MouseControl;
  s.MouseControl = Under;
  if (old != nullptr) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (Under != nullptr && s.MouseControl == Under) Under->Perform(CM_MOUSEENTER, 0, 0);
}

WPARAM MouseKeys() {
  WPARAM k = 0;
  if (GetKeyState(VK_LBUTTON) < 0) k |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) k |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) k |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) k |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) k |= MK_CONTROL;
  return k;
}

Word ButtonKey(TMouseButton b) { return b == mbRight ? VK_RBUTTON : b == mbMiddle ? VK_MBUTTON : VK_LBUTTON; }

void SyncModifiers(TShiftState Shift) {
  // Input carries its modifiers; the key state follows them.
  if (Shift.Contains(ssShift) != (GetKeyState(VK_SHIFT) < 0)) SetKeyStateDown(VK_SHIFT, Shift.Contains(ssShift));
  if (Shift.Contains(ssCtrl) != (GetKeyState(VK_CONTROL) < 0)) SetKeyStateDown(VK_CONTROL, Shift.Contains(ssCtrl));
  if (Shift.Contains(ssAlt) != (GetKeyState(VK_MENU) < 0)) SetKeyStateDown(VK_MENU, Shift.Contains(ssAlt));
}

bool Deliver(HWND Wnd, UINT Msg, WPARAM W, LPARAM L, TPoint Pt) {
  TMsg m{Wnd, Msg, W, L, DWORD(GetTickCount()), Pt};
  if (QueueInputMessage(m, {})) return false;  // an own message loop takes it
  if (Application != nullptr && Application->DoMessage(m)) return false;
  SendMessage(m.hwnd, m.message, m.wParam, m.lParam);
  return true;
}

}  // namespace

void BeginWindowMove(TCustomForm* Form) {
  if (Form == nullptr || !Form->HandleAllocated() || !Form->Visible() || GetKeyState(VK_LBUTTON) >= 0) return;
  TWindowBridge* bridge = BridgeOf(Form->Handle());
  // An MDI child moves inside its frame's client by following the pointer.
  if (bridge == nullptr || (!bridge->TopLevel() && MDIClientOf(Form) == nullptr)) return;
  if (bridge->StartSystemMove()) return;
  TState& s = S();
  s.MoveForm = Form;
  s.MoveGrab = s.Cursor;
  s.MoveOrigin = TPoint{Form->Left(), Form->Top()};
}

TCustomForm* MovingForm() { return S().MoveForm; }

void BeginWindowSize(TCustomForm* Form, int Edge) {
  if (Form == nullptr || Edge < 1 || Edge > 8 || !Form->HandleAllocated() || !Form->Visible() ||
      GetKeyState(VK_LBUTTON) >= 0)
    return;
  TWindowBridge* bridge = BridgeOf(Form->Handle());
  if (bridge == nullptr || !bridge->TopLevel()) return;
  if (bridge->StartSystemResize(Edge)) return;
  TState& s = S();
  s.SizeForm = Form;
  s.SizeEdge = Edge;
  s.SizeGrab = s.Cursor;
  s.SizeOrigin = Form->BoundsRect();
  s.SizeTrack = forms_internal::QueryMinMaxInfo(Form);
}

namespace {

// The form whose menu bar lies at the screen point with no window above it; nullptr when none.
TCustomForm* MenuBarFormAt(TPoint Screen) {
  for (TWindowBridge* b : TopLevelBridges()) {
    TWinControl* c = b->Control();
    const TPoint local = c->ScreenToClient(Screen);
    if (c->ClientRect().Contains(local)) return nullptr;
    const int band = b->ClientOffset().y();
    if (band > 0 && local.X >= 0 && local.X < c->ClientWidth() && local.Y >= -band && local.Y < 0)
      return b->Enabled() ? dynamic_cast<TCustomForm*>(c) : nullptr;
  }
  return nullptr;
}

void MenuBarMouseLeft() {
  const HWND h = S().MenuBarMouse;
  S().MenuBarMouse = nullptr;
  if (h != nullptr && BridgeOf(h) != nullptr) SendMessage(h, WM_NCMOUSELEAVE, 0, 0);
}

// Pointer input over a form's menu bar: the form's non-client messages; false when the point is elsewhere.
bool RouteMenuBarMouse(TMouseAction Action, TPoint Screen, TMouseButton Button) {
  TState& s = S();
  TCustomForm* form = s.Capture == nullptr ? MenuBarFormAt(Screen) : nullptr;
  if (form == nullptr) {
    MenuBarMouseLeft();
    return false;
  }
  UpdateMouseControl(nullptr);
  const HWND h = form->Handle();
  if (s.MenuBarMouse != h) {
    MenuBarMouseLeft();
    s.MenuBarMouse = h;
  }
  UINT msg = 0;
  if (Action == TMouseAction::Move) msg = WM_NCMOUSEMOVE;
  else if (Button == mbLeft && Action == TMouseAction::Down) msg = WM_NCLBUTTONDOWN;
  else if (Button == mbLeft && Action == TMouseAction::DoubleClick) msg = WM_NCLBUTTONDBLCLK;
  else if (Button == mbLeft && Action == TMouseAction::Up) msg = WM_NCLBUTTONUP;
  if (msg == 0) return true;
  if (msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK) {
    if (Application != nullptr) Application->CancelHint();
    TWindowBridge* fb = BridgeOf(h);
    if (ActiveWindow() != h && fb != nullptr && !(fb->ExStyle() & WS_EX_NOACTIVATE)) SetActiveWindow(h, WA_CLICKACTIVE);
  }
  Deliver(h, msg, WPARAM(HTMENU), PointToLParam(Screen), Screen);
  return true;
}

// Pointer input over a part a window answers as non-client (caption, sizing
// edges, caption buttons) from WM_NCHITTEST: the window's non-client
// messages with the answer in wParam; false for the client area.
bool RouteNonClientMouse(TMouseAction Action, TPoint Screen, TMouseButton Button, TWinControl* Under) {
  const HWND h = Under->Handle();
  const LRESULT hit = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(Screen));
  const bool nonClient = hit == HTCAPTION || hit == HTSYSMENU || (hit >= HTMINBUTTON && hit <= HTBOTTOMRIGHT) ||
                         hit == HTCLOSE;
  if (!nonClient || BridgeOf(h) == nullptr) return false;
  UpdateMouseControl(nullptr);
  UINT msg = 0;
  if (Action == TMouseAction::Move) msg = WM_NCMOUSEMOVE;
  else if (Button == mbLeft && Action == TMouseAction::Down) msg = WM_NCLBUTTONDOWN;
  else if (Button == mbLeft && Action == TMouseAction::DoubleClick) msg = WM_NCLBUTTONDBLCLK;
  else if (Button == mbLeft && Action == TMouseAction::Up) msg = WM_NCLBUTTONUP;
  if (msg == 0) return true;
  if (msg == WM_NCMOUSEMOVE) SendMessage(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(int(hit), int(WM_MOUSEMOVE)));
  if (msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK) {
    if (Application != nullptr) Application->CancelHint();
    // A press activates the window it lands in: a pop-up itself (not the form of its owner), an MDI
    // child through its frame's client, else the top-level window.
    TWindowBridge* fb = TopLevelBridgeOf(Under);
    TCustomForm* form = GetParentForm(Under);
    TMDIClient* client = form != nullptr && (fb == nullptr || fb->Owner() == nullptr) ? MDIClientOf(form) : nullptr;
    if (client != nullptr) client->ActivateOnPress(form);
    else if (fb != nullptr && ActiveWindow() != fb->Handle() && !(fb->ExStyle() & WS_EX_NOACTIVATE))
      SetActiveWindow(fb->Handle(), WA_CLICKACTIVE);
  }
  Deliver(h, msg, WPARAM(hit), PointToLParam(Screen), Screen);
  return true;
}

}  // namespace

void RouteMouse(TMouseAction Action, TPoint Screen, TMouseButton Button, TShiftState Shift, int WheelDelta) {
  TState& s = S();
  if (s.MoveForm != nullptr) {
    // The window follows the pointer and sees none of its messages, as
    // under the window system's own move loop.
    TCustomForm* form = s.MoveForm;
    if (Action == TMouseAction::Move) {
      s.Cursor = Screen;
      SyncModifiers(Shift);
      form->SetBounds(s.MoveOrigin.X + Screen.X - s.MoveGrab.X, s.MoveOrigin.Y + Screen.Y - s.MoveGrab.Y,
                      form->Width(), form->Height());
      return;
    }
    s.MoveForm = nullptr;
    if (Action == TMouseAction::Up && Button == mbLeft) {
      s.Cursor = Screen;
      SetKeyStateDown(VK_LBUTTON, false);
      return;
    }
  }
  if (s.SizeForm != nullptr) {
    // The layer's own sizing: the grabbed edges follow the pointer.
    TCustomForm* form = s.SizeForm;
    if (Action == TMouseAction::Move) {
      s.Cursor = Screen;
      SyncModifiers(Shift);
      const int dx = Screen.X - s.SizeGrab.X, dy = Screen.Y - s.SizeGrab.Y, e = s.SizeEdge;
      TRect r = s.SizeOrigin;
      if (e == 1 || e == 4 || e == 7) r.Left = std::min(r.Left + dx, r.Right);
      if (e == 2 || e == 5 || e == 8) r.Right = std::max(r.Right + dx, r.Left);
      if (e == 3 || e == 4 || e == 5) r.Top = std::min(r.Top + dy, r.Bottom);
      if (e == 6 || e == 7 || e == 8) r.Bottom = std::max(r.Bottom + dy, r.Top);
      // The tracking sizes hold the grabbed edges back, the opposite ones stay.
      Integer w = r.Width(), h = r.Height();
      forms_internal::ClampToTrackSize(s.SizeTrack, w, h);
      if (e == 1 || e == 4 || e == 7) r.Left = r.Right - w;
      else r.Right = r.Left + w;
      if (e == 3 || e == 4 || e == 5) r.Top = r.Bottom - h;
      else r.Bottom = r.Top + h;
      form->SetBounds(r.Left, r.Top, r.Width(), r.Height());
      // Constraints may refuse part of it: a moved left or top edge keeps the right or bottom in place.
      if (form->Width() != r.Width() && (e == 1 || e == 4 || e == 7))
        form->SetBounds(r.Right - form->Width(), form->Top(), form->Width(), form->Height());
      if (form->Height() != r.Height() && (e == 3 || e == 4 || e == 5))
        form->SetBounds(form->Left(), r.Bottom - form->Height(), form->Width(), form->Height());
      return;
    }
    s.SizeForm = nullptr;
    if (Action == TMouseAction::Up && Button == mbLeft) {
      s.Cursor = Screen;
      SetKeyStateDown(VK_LBUTTON, false);
      return;
    }
  }
  s.Cursor = Screen;
  SyncModifiers(Shift);
  if (Action == TMouseAction::Down || Action == TMouseAction::DoubleClick) SetKeyStateDown(ButtonKey(Button), true);
  if (Action == TMouseAction::Up) SetKeyStateDown(ButtonKey(Button), false);
  SyncPointerGrab();

  TWinControl* under = WindowAt(Screen, true);
  if (Action != TMouseAction::Wheel && under == nullptr && RouteMenuBarMouse(Action, Screen, Button)) return;
  if (under != nullptr || s.Capture != nullptr) MenuBarMouseLeft();
  if (under != nullptr && s.Capture == nullptr && Action != TMouseAction::Wheel &&
      RouteNonClientMouse(Action, Screen, Button, under))
    return;
  TControl* deepest = under;
  if (under != nullptr)
    if (TControl* g = under->ControlAtPos(under->ScreenToClient(Screen), false)) deepest = g;
  UpdateMouseControl(deepest);

  TWinControl* target = nullptr;
  if (s.Capture != nullptr) target = FindControl(s.Capture);
  if (target == nullptr) target = under;

  if (Action == TMouseAction::Wheel) {
    HWND focus = s.Focus != nullptr ? s.Focus : (target ? target->Handle() : nullptr);
    if (focus == nullptr) return;
    Deliver(focus, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeys()), WheelDelta), PointToLParam(Screen), Screen);
    return;
  }
  if (target == nullptr) return;
  if (Action == TMouseAction::Down || Action == TMouseAction::DoubleClick) {
    if (Application != nullptr) Application->CancelHint();
    // A press activates the window it lands in: a pop-up itself (not the form of its owner), an MDI
    // child through its frame's client, else the top-level window.
    TWindowBridge* fb = TopLevelBridgeOf(target);
    TCustomForm* form = GetParentForm(target);
    TMDIClient* client = form != nullptr && (fb == nullptr || fb->Owner() == nullptr) ? MDIClientOf(form) : nullptr;
    if (client != nullptr) client->ActivateOnPress(form);
    else if (fb != nullptr && ActiveWindow() != fb->Handle() && !(fb->ExStyle() & WS_EX_NOACTIVATE))
      SetActiveWindow(fb->Handle(), WA_CLICKACTIVE);
  }
  const HWND h = target->Handle();
  const TPoint client = target->ScreenToClient(Screen);
  UINT msg = WM_MOUSEMOVE;
  if (Action == TMouseAction::Down)
    msg = Button == mbLeft ? WM_LBUTTONDOWN : Button == mbRight ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
  else if (Action == TMouseAction::Up)
    msg = Button == mbLeft ? WM_LBUTTONUP : Button == mbRight ? WM_RBUTTONUP : WM_MBUTTONUP;
  else if (Action == TMouseAction::DoubleClick)
    msg = Button == mbLeft ? WM_LBUTTONDBLCLK : Button == mbRight ? WM_RBUTTONDBLCLK : WM_MBUTTONDBLCLK;
  if (msg == WM_MOUSEMOVE && s.Capture == nullptr)
    SendMessage(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, int(msg)));
  Deliver(h, msg, MouseKeys(), PointToLParam(client), Screen);
  if (Action == TMouseAction::Move && Application != nullptr) Application->HintMouseMessage(deepest, Screen);
}

void RouteMouseLeftWindows() {
  if (S().Capture != nullptr) return;  // a held button keeps the pointer tracked
  MenuBarMouseLeft();
  UpdateMouseControl(nullptr);
  if (Application != nullptr) Application->HintMouseMessage(nullptr, S().Cursor);
}

namespace {

// Each UTF-16 unit of Text as a character message to the focus window.
void SendChars(HWND Focus, const String& Text, UINT Msg, LPARAM Data) {
  for (Char ch : Text) {
    if (BridgeOf(Focus) == nullptr) return;
    TWinControl* c = FindControl(Focus);
    if (c == nullptr) return;
    if (Application != nullptr) {
      TMsg m{Focus, Msg, ch, Data, DWORD(GetTickCount()), S().Cursor};
      if (Application->DoMessage(m)) continue;
    }
    if (c->Perform(CN_BASE + Msg, ch, Data) != 0) continue;
    if (BridgeOf(Focus) != nullptr) SendMessage(Focus, Msg, ch, Data);
  }
}

}  // namespace

void RouteKey(bool Down, Word VirtKey, const String& Text, TShiftState Shift, bool AutoRepeat) {
  SyncModifiers(Shift);
  SetKeyStateDown(VirtKey, Down);
  TState& s = S();
  if (Down) s.LastKeyDown = VirtKey;
  HWND focus = s.Focus != nullptr ? s.Focus : s.Active;
  if (focus == nullptr || BridgeOf(focus) == nullptr) return;
  TWinControl* control = FindControl(focus);
  if (control == nullptr || !control->Enabled()) return;
  // Ctrl+Alt is AltGr: it types characters, it does not reach the menus.
  const bool alt = Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl);
  const bool sys = alt || VirtKey == VK_F10;
  const UINT msg = Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM data = 1;
  if (alt) data |= LPARAM(1) << 29;
  if (!Down) data |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
  else if (AutoRepeat) data |= LPARAM(1) << 30;
  // An own message loop takes the key, with what it types for TranslateMessage.
  if (QueueInputMessage(MSG{focus, msg, VirtKey, data, DWORD(GetTickCount()), s.Cursor}, Down ? Text : String())) return;
  if (Application != nullptr) {
    TMsg m{focus, msg, VirtKey, data, DWORD(GetTickCount()), s.Cursor};
    if (Application->DoMessage(m)) {
      if (!Down) return;
      s.LastKeyDown = 0;
      // A hook that takes the key (a menu's modal loop) still gets the
      // characters it types, as that loop would translate them; the control
      // gets neither.
      for (Char ch : Text) {
        TMsg cm{focus, alt ? UINT(WM_SYSCHAR) : UINT(WM_CHAR), ch, data, DWORD(GetTickCount()), s.Cursor};
        Application->DoMessage(cm);
      }
      return;
    }
  }
  // The control looks at the key first (dialog keys, menus); an answered key is not translated.
  if (control->Perform(CN_BASE + msg, VirtKey, data) != 0) {
    if (Down) s.LastKeyDown = 0;
    return;
  }
  if (BridgeOf(focus) == nullptr) return;
  SendMessage(focus, msg, VirtKey, data);
  if (!Down) return;
  SendChars(focus, Text, alt ? WM_SYSCHAR : WM_CHAR, data);
}

void RouteChars(const String& Text) {
  TState& s = S();
  HWND focus = s.Focus != nullptr ? s.Focus : s.Active;
  if (focus == nullptr || BridgeOf(focus) == nullptr) return;
  TWinControl* control = FindControl(focus);
  if (control == nullptr || !control->Enabled()) return;
  SendChars(focus, Text, WM_CHAR, 1);
}

namespace {
TCursor AppliedScreenCursor = crDefault;
}

void ApplyScreenCursor(TCursor Cursor) {
  AppliedScreenCursor = Cursor;
  if (QGuiApplication::instance() == nullptr) return;
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  if (Cursor != crDefault) QGuiApplication::setOverrideCursor(QCursor(ToQtCursor(Cursor)));
}

void RefreshCursorAtPointer() {
  TWinControl* under = WindowAt(S().Cursor, true);
  if (under == nullptr) return;
  const HWND h = under->Handle();
  SendMessage(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, int(WM_MOUSEMOVE)));
}

void CursorChanged(TControl* Control) {
  if (GetCaptureControl() == Control) {
    auto* w = dynamic_cast<TWinControl*>(Control);
    if (w == nullptr) w = Control->Parent();
    if (w == nullptr || !w->HandleAllocated()) return;
    const HWND h = w->Handle();
    SendMessage(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, int(WM_MOUSEMOVE)));
    return;
  }
  TControl* under = FindDragTarget(S().Cursor, true);
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (under == Control || (w != nullptr && under != nullptr && w->ContainsControl(under))) RefreshCursorAtPointer();
}

TCursor ShownCursor() {
  if (AppliedScreenCursor != crDefault) return AppliedScreenCursor;
  TWinControl* under = WindowAt(S().Cursor, false);
  const TWindowBridge* top = under != nullptr ? TopLevelBridgeOf(under) : nullptr;
  return top != nullptr ? top->CursorShape() : crDefault;
}

QImage GrabImage(TControl* Control) {
  PaintAllNow();
  TControlCanvas::FreeDeviceContexts();
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (w == nullptr) {
    TWinControl* parent = Control->Parent();
    if (parent == nullptr) return {};
    const QImage whole = GrabImage(parent);
    return whole.copy(Control->Left(), Control->Top(), Control->Width(), Control->Height());
  }
  TWindowBridge* b = w->HandleAllocated() ? BridgeOf(w->Handle()) : nullptr;
  if (b == nullptr) return {};
  QImage result = b->Image().copy();
  const std::optional<QRegion> shape = WindowRegionInImage(b->Handle());
  if (shape) {
    // Outside its region the window shows nothing (its parent shows through).
    result = result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter clear(&result);
    clear.setCompositionMode(QPainter::CompositionMode_Clear);
    clear.setClipRegion(QRegion(result.rect()).subtracted(*shape));
    clear.fillRect(result.rect(), Qt::transparent);
    clear.end();
  }
  QPainter p(&result);
  for (Integer i = 0; i < w->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(w->Controls(i));
    if (child == nullptr || !child->Showing() || IsPopupWindow(child)) continue;
    const QImage img = GrabImage(child);
    p.drawImage(b->ClientOffset() + QPoint(child->Left(), child->Top()), img);
  }
  return result;
}

HWND WindowOwningDC(HDC DC) {
  for (const auto& [wnd, bridge] : S().Bridges)
    if (bridge->OwnsDC(DC)) return wnd;
  return nullptr;
}

}  // namespace controls_internal

TControl* MouseControl() { return S().MouseControl; }
