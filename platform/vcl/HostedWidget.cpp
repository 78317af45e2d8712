// Standard controls' Qt widgets: kept off the screen, painted into the
// control's window image, fed the control's input as Qt events.
#include "platform/vcl/HostedWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/gdi/GdiInternal.h"
#include "platform/win/Keyboard.h"

namespace {

int QtKeyOf(Word vk) {
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  switch (vk) {
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_BACK: return Qt::Key_Backspace;
    case VK_RETURN: return Qt::Key_Return;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_SPACE: return Qt::Key_Space;
    case VK_TAB: return Qt::Key_Tab;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_F4: return Qt::Key_F4;
    default: return 0;
  }
}

Qt::KeyboardModifiers QtModifiers(TShiftState s) {
  Qt::KeyboardModifiers m;
  if (s.Contains(ssShift)) m |= Qt::ShiftModifier;
  if (s.Contains(ssCtrl)) m |= Qt::ControlModifier;
  if (s.Contains(ssAlt)) m |= Qt::AltModifier;
  return m;
}

}  // namespace

THostedWidget::THostedWidget(QWidget* Widget) : FWidget(Widget) {
  // Laid out and able to take events, but never mapped on the screen.
  FWidget->setAttribute(Qt::WA_DontShowOnScreen);
  FWidget->setFocusPolicy(Qt::NoFocus);
  FWidget->show();
}

THostedWidget::~THostedWidget() = default;

void THostedWidget::Sync(TControl* Control) {
  const QSize size(std::max(Control->Width(), 1), std::max(Control->Height(), 1));
  if (FWidget->size() != size) FWidget->resize(size);
  FWidget->setEnabled(Control->Enabled());
  if (auto f = gdi_internal::Lookup<gdi_internal::TGdiFont>(Control->Font()->Handle()); f && f->Prepare())
    if (FWidget->font() != f->Font) FWidget->setFont(f->Font);
  // A drop-down the widget opens lands under the control.
  const TPoint o = Control->ClientToScreen({0, 0});
  if (FWidget->pos() != QPoint(o.X, o.Y)) FWidget->move(o.X, o.Y);
}

void THostedWidget::Render(HDC DC, TControl* Control) {
  Sync(Control);
  QPainter* p = gdi_internal::DCPainter(DC);
  if (p == nullptr) return;
  p->save();
  FWidget->render(p, QPoint(0, 0), QRegion(), QWidget::DrawChildren | QWidget::DrawWindowBackground);
  p->restore();
}

bool THostedWidget::ForwardMouse(const TMessage& M) {
  QEvent::Type type;
  Qt::MouseButton button = Qt::NoButton;
  switch (M.Msg) {
    case WM_MOUSEMOVE: type = QEvent::MouseMove; break;
    case WM_LBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::LeftButton; break;
    case WM_LBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::LeftButton; break;
    case WM_LBUTTONDBLCLK: type = QEvent::MouseButtonDblClick; button = Qt::LeftButton; break;
    default: return false;
  }
  const QPoint pt(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
  Qt::MouseButtons held;
  if (M.WParam & MK_LBUTTON) held |= Qt::LeftButton;
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || FMouseTarget == nullptr) {
    QWidget* child = FWidget->childAt(pt);
    FMouseTarget = child != nullptr ? child : FWidget.get();
  }
  QWidget* target = FMouseTarget;
  const QPointF local = target->mapFrom(FWidget.get(), pt);
  QMouseEvent e(type, local, target->mapToGlobal(local), button, held, QtModifiers(KeysToShiftState(M.WParam)));
  QApplication::sendEvent(target, &e);
  if (type == QEvent::MouseButtonRelease) FMouseTarget = nullptr;
  return true;
}

void THostedWidget::ForwardKeyDown(Word VirtKey, TShiftState Shift) {
  const int key = QtKeyOf(VirtKey);
  if (key == 0) return;
  QKeyEvent e(QEvent::KeyPress, key, QtModifiers(Shift));
  QApplication::sendEvent(FWidget.get(), &e);
}

void THostedWidget::ForwardChar(Char Ch) {
  if (Ch < 32 || Ch == 127) return;  // control characters come as keys
  // A character beyond the first plane comes as two messages: the widget gets it whole.
  if (QChar::isHighSurrogate(Ch)) {
    FPendingHigh = Ch;
    return;
  }
  QString text;
  if (QChar::isLowSurrogate(Ch)) {
    if (FPendingHigh == 0) return;
    text = QString(QChar(FPendingHigh)) + QChar(Ch);
  } else {
    text = QString(QChar(Ch));
  }
  FPendingHigh = 0;
  QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QApplication::sendEvent(FWidget.get(), &e);
}
