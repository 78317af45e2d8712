#pragma once
// The routines the menus paint with: linear gradients (whole, clipped parts
// of a larger one, two- and four-colour boxes, lines with fading ends), the
// background picture, the side bar, a rotated font, small rectangle and
// colour helpers, and the text of shortcut keys.
#include "menus/AdvMenuStyler.h"

// Horizontal pixels per inch of the main window's context (the desktop's
// before there is one) divided by 96.
float GetMenuDPIScale();

inline Integer RectWidth(const TRect& R) { return R.Right - R.Left; }
inline Integer RectHeight(const TRect& R) { return R.Bottom - R.Top; }
// Replaces R by a W x H rectangle centred in it.
void CenterRect(TRect& R, Integer W, Integer H);
// (0, 0, width, height) of the bitmap; an empty rectangle for nullptr.
TRect BitmapRect(TBitmap* Bitmap);
// The channels of the colour, system colours resolved.
void ColorToRGBParts(TColor Color, Byte& R, Byte& G, Byte& B);
// R + G*256 + B*65536, each channel taken modulo 256.
TColor MakeRGB(Integer R, Integer G, Integer B);
// A new font handle of the font turned by Angle degrees; the caller deletes it.
HFONT CreateRotatedFont(TFont* Font, Integer Angle);

// Fills R from Color to ColorTo (clNone: Color) in the direction; the last row
// or column stays one step short of ColorTo. With a bitmap, its pixels are
// written directly (it becomes 32 bits per pixel) and Canvas is not used.
void DrawGradientRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo,
                      TGradientDirection Direction);
// Paints the part of the gradient over Full that lies in Clip, with the
// colours the full gradient has there; nothing when they do not overlap.
void DrawGradientClip(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Full, TColor Color, TColor ColorTo,
                      TGradientDirection Direction, const TRect& Clip);
// The gradient fill (when Fill and Color is not clNone), then a one-pixel frame in Border unless clNone.
void DrawGradientBox(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo,
                     TGradientDirection Direction, TColor Border, bool Fill);
// As DrawGradientBox; with Mirror not clNone the lower half is Mirror -> MirrorTo.
void DrawMirrorBox(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor Mirror,
                   TColor MirrorTo, TGradientDirection Direction, TColor Border, bool Fill);
// A line with fading ends (separators, the side-bar splitter).
void DrawGradientLine(TBitmap* Bitmap, TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo,
                      TGradientDirection Direction, TGradientType GradientType, Integer GradientWidth, Integer Margin);
// The background's gradient and picture over R (less its margins).
void RenderBackground(TCanvas* Canvas, TRect R, TBackground* Background, bool WithGradient);

void DrawSideBarCaption(TMenu* Menu, TCanvas* Canvas, const TRect& R);
void DrawSideBarBorder(TMenu* Menu, TCanvas* Canvas, const TRect& R);
void DrawSideBarSplitter(TMenu* Menu, TCanvas* Canvas, const TRect& R);

// The shortcut's text; International uses the keyboard table's key names
// ("Ctrl+Shift+F5" in the layout's words). 0 gives "".
String ShortCutName(TShortCut ShortCut, bool International);
// The keyboard table's name of the virtual key, capitalised (first character
// kept, the rest lower case, the character after the first "(" upper case).
String MenuKeyName(Word Key);
