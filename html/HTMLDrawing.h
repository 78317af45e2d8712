#pragma once
// Small drawing routines of the mini-HTML renderers: reading-order flags,
// file-type icons, stretched bitmaps, colour gradients, rotated fonts and
// colour emoji.
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Menus.h"

namespace html {

// DrawText flags adjusted for BiDiMode. The layer's locale always reads left
// to right, so the flags come back unchanged.
UINT HTMLBiDiFlags(UINT Flags, TBiDiMode BiDiMode);
// The icon of Name: a number or an unknown name gives the generic document
// icon, an existing folder the folder icon, a file the document icon. Size
// answers 16 × 16 (32 × 32 when Large). Drawn at (X, Y) when DoDraw, scaled
// by PrintScale in PrintMode.
void HTMLDrawSysIcon(TCanvas* Canvas, Integer X, Integer Y, TPoint& Size, Double PrintScale, bool PrintMode,
                     bool DoDraw, bool Large, const String& Name);
// Bitmap scaled into R; nothing for nullptr or an empty bitmap.
void StretchBitmapDIB(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap);
// Steps bands from FromColor to ToColor over R (horizontal: left to right),
// then a frame in BorderColor unless clNone. Steps 0 counts as 1; negative
// steps or an empty rectangle draw nothing.
void HTMLDrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                      Integer Steps, TColor BorderColor);
// Selects the canvas font rotated counter-clockwise by Angle degrees into the
// canvas's context; Rotated holds the made font (a previous one is replaced
// and freed).
void SelectAngleFont(TCanvas* Canvas, Integer Angle, HFONT& Rotated);
// Selects the canvas font back and frees Rotated; nothing when Rotated is null.
void RestoreAngleFont(TCanvas* Canvas, HFONT& Rotated);
// Draws the colour emoji Text (one character, a surrogate pair) with its top
// about 2 pixels above Y unless Measuring; answers the advance, the canvas
// font's height.
Integer HTMLDrawEmoji(TCanvas* Canvas, Integer X, Integer Y, bool Measuring, const String& Text, Integer FontSize);
// True when Path names an existing folder.
bool IsDirectory(const String& Path);

}  // namespace html
