#include "platform/testing/Input.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/DragOverlay.h"
#include "platform/vcl/ImageCodec.h"
#include "platform/win/Keyboard.h"
#include "platform/win/LoopInternal.h"

using namespace controls_internal;

namespace testinput {

namespace {
TShiftState WithHeldButtons(TShiftState Shift) {
  if (GetKeyState(VK_LBUTTON) < 0) Shift.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) Shift.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) Shift.Include(ssMiddle);
  return Shift;
}

String TextOf(Word vk, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl);
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return String(1, Char(vk - 'A' + 1));
    return String(1, Char(shift.Contains(ssShift) ? vk : vk - 'A' + 'a'));
  }
  if (ctrl) return {};
  if (vk >= '0' && vk <= '9') return String(1, Char(vk));
  switch (vk) {
    case VK_SPACE: return u" ";
    case VK_TAB: return u"\t";
    case VK_RETURN: return u"\r";
    case VK_ESCAPE: return u"\x1b";
    case VK_BACK: return u"\b";
    default: return {};
  }
}
}  // namespace

namespace {
// While a pop-up of the window system is open (a combo box's list) it has
// the pointer, as under the window system: presses and releases go to it,
// and a press outside it closes it without reaching any window.
bool ToPopup(QEvent::Type Type, TPoint Screen, TMouseButton Button) {
  QWidget* popup = QApplication::activePopupWidget();
  if (popup == nullptr) return false;
  const QPoint global(Screen.X, Screen.Y);
  const QPoint local = popup->mapFromGlobal(global);
  if (!popup->rect().contains(local)) {
    if (Type == QEvent::MouseButtonPress) popup->close();
    return true;
  }
  QWidget* target = popup->childAt(local);
  if (target == nullptr) target = popup;
  const Qt::MouseButton b = Button == mbRight ? Qt::RightButton : Button == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
  const Qt::MouseButtons held = Type == QEvent::MouseButtonPress ? Qt::MouseButtons(b) : Qt::MouseButtons();
  QMouseEvent e(Type, QPointF(target->mapFromGlobal(global)), QPointF(global), Type == QEvent::MouseMove ? Qt::NoButton : b,
                held, Qt::NoModifier);
  QApplication::sendEvent(target, &e);
  return true;
}
}  // namespace

void MouseMove(TPoint Screen, TShiftState Shift) {
  if (ToPopup(QEvent::MouseMove, Screen, mbLeft)) {
    SetCursorPosOnly(Screen);
    return;
  }
  RouteMouse(TMouseAction::Move, Screen, mbLeft, WithHeldButtons(Shift));
}

void MouseMove(TControl* Control, TPoint Client, TShiftState Shift) { MouseMove(Control->ClientToScreen(Client), Shift); }

void MouseDown(TMouseButton Button, TShiftState Shift) {
  if (ToPopup(QEvent::MouseButtonPress, CursorPos(), Button)) return;
  RouteMouse(TMouseAction::Down, CursorPos(), Button, Shift);
}

void MouseUp(TMouseButton Button, TShiftState Shift) {
  if (ToPopup(QEvent::MouseButtonRelease, CursorPos(), Button)) return;
  RouteMouse(TMouseAction::Up, CursorPos(), Button, Shift);
}

bool PopupListItem(Integer Row, TPoint& Screen) {
  QWidget* popup = QApplication::activePopupWidget();
  if (popup == nullptr) return false;
  auto* view = popup->findChild<QAbstractItemView*>();
  if (view == nullptr || view->model() == nullptr || Row < 0 || Row >= view->model()->rowCount()) return false;
  const QRect r = view->visualRect(view->model()->index(Row, 0));
  const QPoint p = view->viewport()->mapToGlobal(r.center());
  Screen = TPoint{p.x(), p.y()};
  return true;
}

bool PopupOpen() { return QApplication::activePopupWidget() != nullptr; }

void MouseDoubleClick(TMouseButton Button, TShiftState Shift) {
  RouteMouse(TMouseAction::DoubleClick, CursorPos(), Button, Shift);
}

void Click(TControl* Control, TPoint Client, TMouseButton Button, TShiftState Shift) {
  MouseMove(Control, Client, Shift);
  MouseDown(Button, Shift);
  MouseUp(Button, Shift);
}

void MouseWheel(int Delta, TShiftState Shift) { RouteMouse(TMouseAction::Wheel, CursorPos(), mbLeft, Shift, Delta); }

void MouseLeaveWindows() { RouteMouseLeftWindows(); }

void ApplicationDeactivate() { RouteApplicationDeactivated(); }

void KeyDown(Word VirtKey, TShiftState Shift) { RouteKey(true, VirtKey, TextOf(VirtKey, Shift), Shift); }

void KeyDownText(Word VirtKey, const String& Text, TShiftState Shift) { RouteKey(true, VirtKey, Text, Shift); }

void KeyUp(Word VirtKey, TShiftState Shift) { RouteKey(false, VirtKey, {}, Shift); }

void KeyPress(Word VirtKey, TShiftState Shift) {
  KeyDown(VirtKey, Shift);
  KeyUp(VirtKey, Shift);
}

void TypeText(const String& Text) {
  for (Char c : Text) {
    Word vk = 0;
    TShiftState shift;
    if (c >= u'a' && c <= u'z') vk = Word(c - u'a' + 'A');
    else if (c >= u'A' && c <= u'Z') {
      vk = Word(c);
      shift.Include(ssShift);
    } else if (c >= u'0' && c <= u'9') vk = Word(c);
    else if (c == u' ') vk = VK_SPACE;
    else continue;
    KeyDownText(vk, String(1, c), shift);
    KeyUp(vk, shift);
  }
}

namespace {
QWidget* TopLevelWidget(TWinControl* Window) {
  for (TWinControl* w = Window; w != nullptr; w = w->Parent())
    if (w->Parent() == nullptr && w->HandleAllocated())
      if (TWindowBridge* b = BridgeOf(w->Handle())) return b->Widget();
  return nullptr;
}
}  // namespace

void SystemTypeText(TWinControl* Window, const String& Text, TShiftState Shift, bool AltGr) {
  QWidget* widget = TopLevelWidget(Window);
  if (widget == nullptr) return;
  Qt::KeyboardModifiers mods;
  if (Shift.Contains(ssShift)) mods |= Qt::ShiftModifier;
  if (Shift.Contains(ssCtrl)) mods |= Qt::ControlModifier;
  if (Shift.Contains(ssAlt)) mods |= Qt::AltModifier;
  if (AltGr) mods |= Qt::GroupSwitchModifier;
  const QString text = QString::fromStdU16String(Text);
  for (char32_t ch : text.toUcs4()) {
    // The window system names a character's key by its upper-case form.
    const int key = int(QChar::toUpper(ch));
    const QString typed = QString::fromUcs4(&ch, 1);
    QKeyEvent down(QEvent::KeyPress, key, mods, typed);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, typed);
    QApplication::sendEvent(widget, &up);
  }
}

void SystemMouseMove(TWinControl* Window, TPoint Client, bool LeftHeld) {
  QWidget* widget = TopLevelWidget(Window);
  if (widget == nullptr) return;
  const TPoint screen = Window->ClientToScreen(Client);
  const QPoint global(screen.X, screen.Y);
  QMouseEvent e(QEvent::MouseMove, QPointF(widget->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                LeftHeld ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons(), Qt::NoModifier);
  QApplication::sendEvent(widget, &e);
}

void SystemCompose(TWinControl* Window, const String& Composed) {
  QWidget* widget = TopLevelWidget(Window);
  if (widget == nullptr) return;
  QKeyEvent dead(QEvent::KeyPress, Qt::Key_Dead_Acute, Qt::NoModifier);
  QApplication::sendEvent(widget, &dead);
  QKeyEvent deadUp(QEvent::KeyRelease, Qt::Key_Dead_Acute, Qt::NoModifier);
  QApplication::sendEvent(widget, &deadUp);
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromStdU16String(Composed));
  QApplication::sendEvent(widget, &commit);
}

std::unique_ptr<TBitmap> Grab(TControl* Control) {
  auto bitmap = std::make_unique<TBitmap>();
  if (Control == nullptr) return bitmap;
  const QImage img = GrabImage(Control);
  if (img.isNull()) return bitmap;
  image_codec::SetBitmapImage(bitmap.get(), img.convertToFormat(QImage::Format_RGB32), false);
  return bitmap;
}

void PaintPending() { PaintAllNow(); }

std::unique_ptr<TBitmap> GrabDragOverlay() {
  auto bitmap = std::make_unique<TBitmap>();
  const QImage img = drag_overlay::Pixels();
  if (!img.isNull()) image_codec::SetBitmapImage(bitmap.get(), img.convertToFormat(QImage::Format_RGB32), false);
  return bitmap;
}

TPoint DragOverlayOrigin() {
  const QPoint o = drag_overlay::Origin();
  return {o.x(), o.y()};
}

bool DragOverlayShowing() { return drag_overlay::Showing(); }

TCursor CursorShown() { return ShownCursor(); }

void Queue(std::function<void()> Action) { QueueCall(nullptr, std::move(Action), nullptr); }

}  // namespace testinput
