#include "platform/testing/Input.h"

#include "platform/vcl/ControlsInternal.h"
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

void MouseMove(TPoint Screen, TShiftState Shift) {
  RouteMouse(TMouseAction::Move, Screen, mbLeft, WithHeldButtons(Shift));
}

void MouseMove(TControl* Control, TPoint Client, TShiftState Shift) { MouseMove(Control->ClientToScreen(Client), Shift); }

void MouseDown(TMouseButton Button, TShiftState Shift) { RouteMouse(TMouseAction::Down, CursorPos(), Button, Shift); }

void MouseUp(TMouseButton Button, TShiftState Shift) { RouteMouse(TMouseAction::Up, CursorPos(), Button, Shift); }

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

std::unique_ptr<TBitmap> Grab(TControl* Control) {
  auto bitmap = std::make_unique<TBitmap>();
  if (Control == nullptr) return bitmap;
  const QImage img = GrabImage(Control);
  if (img.isNull()) return bitmap;
  image_codec::SetBitmapImage(bitmap.get(), img.convertToFormat(QImage::Format_RGB32), false);
  return bitmap;
}

void PaintPending() { PaintAllNow(); }

void Queue(std::function<void()> Action) { QueueCall(nullptr, std::move(Action), nullptr); }

}  // namespace testinput
