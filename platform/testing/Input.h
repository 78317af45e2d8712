#pragma once
// Input for tests: the pointer and the keyboard driven through the same
// routing as the window system's input (capture, hit testing, enter and
// leave, key translation, dialog keys), and captures of what controls show.
#include <functional>
#include <memory>

#include "platform/rtl/Geometry.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Controls.h"

namespace testinput {

// Moves the pointer to the screen point (WM_MOUSEMOVE to the window under it
// or to the capture holder; CM_MOUSELEAVE/CM_MOUSEENTER when the control
// under it changes).
void MouseMove(TPoint Screen, TShiftState Shift = {});
// The same, to a point in the control's client coordinates.
void MouseMove(TControl* Control, TPoint Client, TShiftState Shift = {});
// Presses or releases a button where the pointer is.
void MouseDown(TMouseButton Button = mbLeft, TShiftState Shift = {});
void MouseUp(TMouseButton Button = mbLeft, TShiftState Shift = {});
// The second press of a double click where the pointer is.
void MouseDoubleClick(TMouseButton Button = mbLeft, TShiftState Shift = {});
// Moves to the control's client point, presses and releases there.
void Click(TControl* Control, TPoint Client, TMouseButton Button = mbLeft, TShiftState Shift = {});
// Turns the wheel by Delta (120 a notch; positive away from the user) where the pointer is.
void MouseWheel(int Delta, TShiftState Shift = {});
// The pointer leaves every window.
void MouseLeaveWindows();

// A key going down or up at the focused window. Text is what the key types
// (WM_CHAR); KeyDown works it out for letters, digits, space, Tab, Enter,
// Escape and Backspace when none is given.
void KeyDown(Word VirtKey, TShiftState Shift = {});
void KeyDownText(Word VirtKey, const String& Text, TShiftState Shift = {});
void KeyUp(Word VirtKey, TShiftState Shift = {});
// Down and up.
void KeyPress(Word VirtKey, TShiftState Shift = {});
// Each character as a key press (letters, digits and space).
void TypeText(const String& Text);

// Runs Action on the user-interface thread in turn with posted messages, as
// the window system's input arrives: input it makes while an own message
// loop (GetMessage) pumps reaches that loop.
void Queue(std::function<void()> Action);

// Paints what is marked and answers the control's pixels as they show
// (windowed children composed in; a windowless control: its part of the
// parent). An empty bitmap for a control without a window to show in.
std::unique_ptr<TBitmap> Grab(TControl* Control);
// Paints every marked window now.
void PaintPending();

}  // namespace testinput
