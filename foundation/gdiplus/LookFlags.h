#pragma once
// Process-wide look flags, the DPI scale factor, colour conversions between
// TColor and ARGB, and the record builders of the painters.
#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/vcl/Color.h"

class TControl;

namespace gdiplus {

enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };

void SetScenicRibbonFlag(bool Value);
bool GetScenicRibbonFlag();
void SetWin8Flag(bool Value);
bool GetWin8Flag();
// Both write the one newer-Windows flag; the later call decides.
void SetWin10Flag(bool Value);
void SetWin11Flag(bool Value);
// The newer-Windows flag, for tests (the painters never read it).
bool NewerWindowsFlagForTest();
void SetGlassFlag(bool Value);
bool GetGlassFlag();

// The scale factor of the control's screen, stored as the process-wide
// factor: exactly 1 at 96 pixels per inch, else the ratio of the heights of
// "0" in the default font at 9 points. A nil control (or one without a form)
// uses the screen's resolution.
Single UpdateDPIScaleFactor(TControl* Control);
// The last factor stored; 1.0 before the first update.
Single GetDPIScaleFactor();
// Pixel height of "0" in the default font of PointSize at PixelsPerInch.
Integer GetZeroTextHeight(Integer PixelsPerInch, Integer PointSize);
// The system reports Windows 10 here, so this answers true.
bool IsVistaOrLater();

// System colours (top bit set) are resolved first; clNone is not special.
ARGB ColorToARGB(TColor Color);
ARGB ColorToAlphaARGB(Byte Alpha, TColor Color);
constexpr ARGB ComposeARGB(Byte A, Byte R, Byte G, Byte B) {
  return (ARGB(A) << 24) | (ARGB(R) << 16) | (ARGB(G) << 8) | ARGB(B);
}
constexpr ARGB RGBToARGB(Byte R, Byte G, Byte B) { return ComposeARGB(255, R, G, B); }
constexpr Byte ARGBRed(ARGB Color) { return Byte((Color >> 16) & 0xFF); }
constexpr Byte ARGBGreen(ARGB Color) { return Byte((Color >> 8) & 0xFF); }
constexpr Byte ARGBBlue(ARGB Color) { return Byte(Color & 0xFF); }

constexpr TGPPoint GPPoint(Integer X, Integer Y) { return {X, Y}; }
constexpr TGPPointF GPPointF(Single X, Single Y) { return {X, Y}; }
constexpr TGPRectF GPRectF(Single X, Single Y, Single Width, Single Height) { return {X, Y, Width, Height}; }

}  // namespace gdiplus
