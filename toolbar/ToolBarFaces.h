#pragma once
// The toolbar unit's button-face pieces: the halves of a two-part face,
// the borders of standalone and grouped buttons, the small menu arrow and
// the close, restore, maximize and minimize glyphs of caption buttons.
// Border positions take a width and height (X + W is the right edge); a
// border or fill in clNone is left out.
#include "controls/GlowButtonPainter.h"
#include "ribbon/appearance/AppColor.h"
#include "toolbar/ToolBarDraw.h"

class TGDIPPicture;

namespace toolbar {

// One half of a two-part face over R (its own width and height): Upper fills
// with C1 and runs to C2, the lower half fills with C2 and runs from C1.
// Uses Graphics, else its own anti-aliased graphics on Canvas.
void FillButtonHalf(TCanvas* Canvas, TGPGraphics* Graphics, const TRect& R, TColor C1, TColor C2,
                    TGDIPGradient Kind, bool Upper);
// R in ColorFrom, then a vertical gradient to ColorTo; Horizontal is ignored
// (the gradient is always vertical).
void FillVerticalGradient(TGPGraphics* Graphics, TCanvas* Canvas, TColor ColorFrom, TColor ColorTo, const TRect& R,
                          bool Horizontal);
void DrawButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                      Integer Radius);
// The same outline, dotted.
void DrawFocusBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                     Integer Radius);
// First button of a group: rounded on the left, a right edge 5 % darker.
void DrawLeftButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                          Integer Radius);
// Inner button: square; its left separator is 5 % darker than the border
// when Hot, else a light grey 2 px shorter at both ends.
void DrawMiddleButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                            Integer Radius, bool Hot);
// Last button: rounded on the right, left separator as the inner button's.
void DrawRightButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                           Integer Radius, bool Hot);
// The Vista-style face on a control's own canvas (R at the origin): lower
// and upper halves (overlapping by one row) unless Transparent, the border
// by Position when DrawBorder, and the focus frame. Callers draw no caption,
// picture or drop-down part on it.
void DrawVistaButtonFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                         TButtonPosition Position, bool Hot, bool Transparent, bool Enabled, bool Rounded,
                         bool DrawBorder, bool Focused);
// The same face with its content: caption (centred), picture or image (beside
// the caption by Layout: 0 left, 1 above, 2 right, 3 below, 2-px margins) and
// a 14-px drop-down part along the right or the bottom. ContentSize receives
// the picture size (its width plus Spacing when not 0) or, with a caption,
// the caption and picture together with Spacing.
void DrawVistaButtonFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                         TButtonPosition Position, bool Hot, bool Transparent, bool Enabled, bool Rounded,
                         bool DrawBorder, bool Focused, TFont* Font, const String& Caption, Integer Spacing,
                         gdiplus::TAntiAlias TextRendering, TGDIPPicture* Picture, TCustomImageList* ImageList,
                         Integer ImageIndex, bool ImageEnabled, Integer Layout, bool DropDownButton,
                         bool DropDownSplit, bool DropDownBelow, TPoint& ContentSize);

// The glow-style face over R (any rectangle of the canvas): a flat fill when
// ColorTo and ColorMirror are both clNone, else the lower and upper halves
// with their gradients; the border (rounded: radius 3), the focus frame, and
// the caption, picture or image and drop-down part as the Vista face has
// them. Font may be nil when there is no caption.
void DrawGlowButtonFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                        TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                        bool Rounded, bool Focused, bool Enabled, gdiplus::TAntiAlias TextRendering, TFont* Font,
                        const String& Caption, TGDIPPicture* Picture, TCustomImageList* ImageList, Integer ImageIndex,
                        bool ImageEnabled, Integer Layout, bool DropDownButton, bool DropDownSplit,
                        bool DropDownBelow);
// The glow face without picture, image or drop-down part.
void DrawGlowFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                  TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                  bool Rounded, bool Focused, bool Enabled, gdiplus::TAntiAlias TextRendering, TFont* Font,
                  const String& Caption);

// A 5-px arrow at P pointing down (or right), with smoothing pixels.
void DrawMenuArrow(TCanvas* Canvas, TPoint P, TColor Color, bool Down, TColor SmoothColor);

// Caption-button glyphs, sized by ToolBarDPIScale.
void DrawCloseGlyph(TCanvas* Canvas, const TRect& R, TColor Color, Integer PenWidth, ribbon::TGroupStyle GroupStyle);
void DrawRestoreGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Scaled, ribbon::TGroupStyle GroupStyle);
void DrawMaximizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Scaled, ribbon::TGroupStyle GroupStyle);
void DrawMinimizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Scaled, ribbon::TGroupStyle GroupStyle);

}  // namespace toolbar
