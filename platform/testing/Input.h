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
// While a pop-up list of the window system is open (a combo box's list) the
// pointer functions act on it as the window system would: it takes the
// presses and releases, and a press outside it only closes it.
bool PopupOpen();
// The screen point at the middle of the open pop-up list's row; false when
// no list is open or it has no such row.
bool PopupListItem(Integer Row, TPoint& Screen);
// Moves to the control's client point, presses and releases there.
void Click(TControl* Control, TPoint Client, TMouseButton Button = mbLeft, TShiftState Shift = {});
// Turns the wheel by Delta (120 a notch; positive away from the user) where the pointer is.
void MouseWheel(int Delta, TShiftState Shift = {});
// The pointer leaves every window.
void MouseLeaveWindows();
// The window system gives the focus to another program (the active window is deactivated).
void ApplicationDeactivate();

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

// Keys as the window system reports them to Window's top-level window, taken
// through that window's own key translation: each character of Text on the
// key that a keyboard layout reports for it, with Shift as given; AltGr adds
// the layout's level switch (the character is the one AltGr typed).
void SystemTypeText(TWinControl* Window, const String& Text, TShiftState Shift = {}, bool AltGr = false);
// A motion as the window system reports it to Window's top-level window, at
// a point in Window's client coordinates, with the buttons it says are held
// (a release it lost shows as a motion with the button up).
void SystemMouseMove(TWinControl* Window, TPoint Client, bool LeftHeld);
// A dead key (nothing typed yet) followed by the text an input method composed.
void SystemCompose(TWinControl* Window, const String& Composed);
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

// What the screen's drag overlay holds (what a screen DC, GetDC(nullptr),
// draws on): a bitmap over the desktop rectangle, its top-left at
// DragOverlayOrigin, black where nothing shows; empty before any screen DC.
std::unique_ptr<TBitmap> GrabDragOverlay();
TPoint DragOverlayOrigin();
// True while the overlay's window is up (something on it shows).
bool DragOverlayShowing();

// The shape the pointer shows now: the screen's cursor while one is set,
// else the one the window under the pointer asked for (crDefault: the arrow).
TCursor CursorShown();

}  // namespace testinput
