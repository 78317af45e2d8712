#pragma once
// Inside view, for platform/ code only (includes Qt): the screen's drag
// overlay, which stands in for drawing on the desktop. A DC of the screen
// (GetDC(nullptr)) draws on the overlay: an image over the whole desktop,
// device coordinates equal to screen coordinates, black where nothing is
// drawn. What is not black shows in a transparent window above every other
// one that takes no input (the pointer reaches the windows below), as the
// complement of its colour: what an inverting pen makes of a white desktop.
// Inverting (XOR) drawing done twice leaves black, so the draw-and-erase
// pairs of drag rectangles (DrawFocusRect, PatBlt with PATINVERT or
// DSTINVERT, R2_XORPEN and R2_NOT pens) leave nothing behind. Measuring on a
// screen DC (fonts, text extents, device caps) works as on any other DC.
#include <QImage>
#include <QPoint>

#include "platform/gdi/Gdi.h"

namespace drag_overlay {

// A DC over the overlay; nullptr when there is no desktop to cover.
HDC GetScreenDC();
// Ends a DC of GetScreenDC and shows what was drawn; false for any other DC.
bool ReleaseScreenDC(HDC DC);
// The overlay's pixels (black where nothing shows; empty before the first
// screen DC) and the screen position of their top-left corner.
QImage Pixels();
QPoint Origin();
// True while the overlay window shows something.
bool Showing();

}  // namespace drag_overlay
