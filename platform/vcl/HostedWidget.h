#pragma once
// Inside view for platform/ code only (includes Qt): a standard control keeps
// a Qt widget that holds its state and draws it. The widget never shows on
// the screen itself: the control paints it into its own window's image, and
// the control's messages (mouse, keys) are handed on to it as Qt events, so
// real input and the test kit reach it through the same routing.
#include <QWidget>
#include <memory>

#include "platform/vcl/Controls.h"

class THostedWidget {
 public:
  // Takes ownership of Widget.
  explicit THostedWidget(QWidget* Widget);
  ~THostedWidget();
  THostedWidget(const THostedWidget&) = delete;
  THostedWidget& operator=(const THostedWidget&) = delete;

  QWidget* Widget() const { return FWidget.get(); }
  // Follows the control's size, font and enabled state.
  void Sync(TControl* Control);
  // Paints the widget into DC at the DC's origin.
  void Render(HDC DC, TControl* Control);
  // Hands a mouse message (WM_LBUTTONDOWN...) on; true when it was one.
  bool ForwardMouse(const TMessage& Message);
  // Hands a key going down (WM_KEYDOWN) or a typed character (WM_CHAR) on.
  void ForwardKeyDown(Word VirtKey, TShiftState Shift);
  void ForwardChar(Char Ch);

 private:
  std::unique_ptr<QWidget> FWidget;
  QWidget* FMouseTarget = nullptr;
  Char FPendingHigh = 0;  // the first half of a surrogate pair, until its second comes
};
