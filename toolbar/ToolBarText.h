#pragma once
// The toolbar unit's caption text: one-line captions with ellipsis, captions
// that may wrap (with their glass variants), and the window caption drawn on
// the composition glass. Fonts go to GDI+ by their name; a family GDI+ does
// not know is drawn in "Arial". Alignment: taLeftJustify, taRightJustify or
// taCenter, always centred vertically; '&' underlines the next character.
// TextRendering aaNone takes the GDI way (DrawText) where a routine has one.
//
// Each caption routine takes a caption and a wide caption: the first wins
// when it is not empty. TextRect receives the measured text rectangle,
// (0, 0, 0, 0) when there is no caption; with Draw false nothing is painted.
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Geometry.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/StdCtrls.h"

class TWinControl;

namespace toolbar {

// A one-line caption in R. GDI+ (TextRendering not aaNone and a vector
// font): measured in R, or in a 1000-px wide R when drawing without word
// wrap; a caption wider than R is cut to its longest prefix that fits, with
// "..." when Ellipsis, without a suffix when neither Ellipsis nor WordWrap.
// GDI road: the canvas's font (Font gives only its name) measures into
// (0, 0, 1000, 100) and draws into R with GDIFlags. Disabled GDI+ text is
// grey ($808080).
void DrawCaptionText(TCanvas* Canvas, const String& Caption, const String& WideCaption, TFont* Font, const TRect& R,
                     TAlignment Alignment, UINT GDIFlags, gdiplus::TAntiAlias TextRendering, bool Enabled,
                     bool Ellipsis, bool WordWrap, bool Draw, TRect& TextRect);

// A caption that may wrap at word breaks, in R. On Glass it is drawn as a
// filled text outline, or with UseBitmap through a bitmap filled with
// BackColor (clNone: not filled) whose background is left out.
void DrawGlowText(TCanvas* Canvas, const String& Caption, const String& WideCaption, TFont* Font,
                  const gdiplus::TGPRectF& R, TAlignment Alignment, gdiplus::TAntiAlias TextRendering, bool Enabled,
                  bool Glass, bool UseBitmap, TColor BackColor, bool Draw, TRect& TextRect);

// The same on a device context (the GDI road measures in Font, not in the
// DC's font); off the glass always GDI+ text; on Glass a bold outline with
// a shadow one pixel below it, 35 % darker than GlowColor (clNone: none).
void DrawGlowTextOnDC(HDC DC, const String& Caption, const String& WideCaption, TFont* Font, const gdiplus::TGPRectF& R,
                      TAlignment Alignment, gdiplus::TAntiAlias TextRendering, bool Enabled, bool Glass,
                      TColor GlowColor, bool Draw, TRect& TextRect);

// Width of the caption as DrawGlowTextOnDC measures it in a 1000 x 100 box;
// 0 for no caption or a nil canvas or font. Paints nothing.
Integer GetGlowTextWidth(TCanvas* Canvas, const String& Caption, const String& WideCaption,
                         gdiplus::TAntiAlias TextRendering, TFont* Font);

// Text in R through the theme library's composited text with a 12-px glow
// in black. Nothing without the library or with a nil DC.
void DrawCompositedText(HDC DC, const String& Text, Integer Length, DWORD Flags, HTHEME Theme, const TRect& R);

// The window caption of Control on the glass frame: the highlight, the
// white fade and the quick-access frame as asked, then the caption in the
// theme's caption font, blitted to CaptionRect of the window. Nothing while
// desktop composition is off, without a theme, or when the window's memory
// context or bitmap cannot be had.
void DrawGlassText(TWinControl* Control, const String& Caption, bool WhiteFade, TColor HighlightColor,
                   const TRect& QATRect, bool ShowQATFrame, const TRect& CaptionRect);

}  // namespace toolbar
