#pragma once
// The toolbar unit's free drawing routines: translucent fills, stepped
// gradients, lines and rounded outlines. Each builds the GDI+ objects it
// needs and frees them before returning. clNone means "do not paint": a
// routine given clNone for a colour leaves that part out and never hands the
// value to a canvas or a brush.
#include "foundation/gdiplus/GPGraphics.h"
#include "platform/rtl/Geometry.h"
#include "platform/vcl/Canvas.h"

class TCustomImageList;
class TGraphic;

namespace toolbar {

using gdiplus::TGPGraphics;
using gdiplus::TGPGraphicsPath;
using gdiplus::TGPPen;

// While it lives, Graphics maps pixel edges (not centres) to integer
// coordinates: rectangles and unscaled images land on whole pixels even on
// an anti-aliased graphics, where curves still get their smoothing.
class TPixelExact {
 public:
  explicit TPixelExact(TGPGraphics* Graphics);
  ~TPixelExact();
  TPixelExact(const TPixelExact&) = delete;
  TPixelExact& operator=(const TPixelExact&) = delete;

 private:
  TGPGraphics* FGraphics;
  GpPixelOffsetMode FOld = PixelOffsetModeDefault;
};

// --- translucent vertical fills on a device context ---
// Color alpha 150 to 200 over (Left, Top, w, h + 1), then a 1-px outline in
// opaque BorderColor at (Left, Top - 1, w, h + 1).
void DrawAlphaBox(HDC DC, const TRect& R, TColor Color, TColor BorderColor);
// Color alpha 5 to 130 over R.
void FillAlphaShade(HDC DC, const TRect& R, TColor Color);
void FillAlphaGradient(HDC DC, const TRect& R, TColor Color, Byte AlphaTop, Byte AlphaBottom);
void FillAlphaGradientColors(HDC DC, const TRect& R, TColor ColorTop, TColor ColorBottom, Byte AlphaTop,
                             Byte AlphaBottom);
// The area less its last 40 px, then 18 strips of 2 px whose alphas fall by
// 10 (top) and 12 (bottom) per strip; the last 4 px stay unpainted.
void FillAlphaGradientFade(HDC DC, const TRect& R, TColor Color, Byte AlphaTop, Byte AlphaBottom);
// A yellow-white glow, alpha 8 at the top to 128 at the bottom.
void FillGlowHighlight(HDC DC, const TRect& R);

// Steps bands from FromColor to ToColor (0 steps count as 1); the last band
// is ToColor itself. Band positions are full integers, so rectangles of any
// size are covered. One clNone colour gives a solid fill of the other.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, const TRect& R, bool Horizontal);
// The drag grip's two-tone line pair: white and clBtnShadow, the first
// colour white when Raised.
void DrawBevelLine(TCanvas* Canvas, TPoint P1, TPoint P2, bool Vertical, bool Raised);

// --- paths ---
// One line (X, Y) to (X + DX, Y + DY) as a closed figure.
void DrawPathLine(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single DX, Single DY);
void DrawColorLine(HDC DC, TColor Color, Single X, Single Y, Single DX, Single DY);
void DrawArc(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single W, Single H, Single StartAngle,
             Single SweepAngle, bool Close);
// The rounded-rectangle outline of (X, Y, W, H), arcs of diameter 2 x Radius
// (0: a rectangle).
void AddRoundRectPath(TGPGraphicsPath& Path, Single X, Single Y, Single W, Single H, Single Radius);
void DrawRoundRect(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single W, Single H, Single Radius);
void DrawRectPath(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single W, Single H);
// The closed rectangle Left, Top to Right, Bottom with an opaque 1-px pen;
// makes its own graphics on Canvas when Graphics is nullptr.
void DrawRectOutline(TGPGraphics* Graphics, TCanvas* Canvas, TColor Color, const TRect& R);
// A small triangle pointing down, 5 px wide, at P.
void DrawDropDownArrow(TGPGraphics* Graphics, TCanvas* Canvas, TColor Color, TPoint P);
// An upper part UpperHeight high and a lower part, each a 40-step gradient
// or a solid colour; with no mirror colours the upper colours fill all of R.
// Then the border (rounded when Radius > 0).
void DrawVistaGradient(TCanvas* Canvas, const TRect& R, Integer UpperHeight, TColor Color, TColor ColorTo,
                       TColor ColorMirror, TColor ColorMirrorTo, TColor BorderColor, Integer Radius);

// The quick-access toolbar's decoration on a glass caption: two separator
// lines with the scenic-ribbon flag, else a grey outline with curved ends.
void DrawQATFrame(HDC DC, const TRect& R);
// Caption at P in the canvas's (downward running) font, the '&' markers
// stripped and the hot key underlined beside its character.
void DrawVerticalText(TCanvas* Canvas, const String& Caption, TPoint P);

// --- pictures ---
// Pictures are outside data: sizes are checked before anything is
// allocated, and a picture that cannot be had (no memory, damaged data, a
// graphic that fails to save itself) is reported through the application
// and drawn as nothing; no exception leaves these routines.
//
// Image ImageIndex of ImageList at P at the list's size, the colour of its
// bottom-left pixel transparent (Enabled false: the list's disabled look).
// Nothing for a nil list, a negative or absent index, or nil Graphics and
// Canvas. Uses Graphics, else its own graphics on Canvas.
void DrawImageListImage(TGPGraphics* Graphics, TCanvas* Canvas, TPoint P, Integer ImageIndex, bool Enabled,
                        TCustomImageList* ImageList);
// Graphic at P at its own size; an SVG picture draws its document. With
// Transparent, a picture other than PNG leaves out the colour of its top-left
// pixel (PNG keeps its alpha). Nothing for nil or empty graphics.
void DrawPicture(TGPGraphics* Graphics, TCanvas* Canvas, TPoint P, bool Transparent, TGraphic* Graphic);
// The canvas's current font is an outline (not device) font that the screen
// lists; false for nil.
bool IsVectorFont(TCanvas* Canvas);

}  // namespace toolbar
