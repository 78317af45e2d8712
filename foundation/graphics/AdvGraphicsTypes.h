#pragma once
// The small enumerations and colour routines of the vector graphics, and the
// band gradient that the GDI drawing context paints with.
#include "platform/rtl/Set.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Color.h"

// The graphics library's "no colour" (written "gcNull" in JSON).
inline constexpr TColor gcNull = -1;

enum TAdvGraphicsFillKind { gfkNone, gfkSolid, gfkGradient, gfkTexture };
enum TAdvGraphicsStrokeKind { gskNone, gskSolid, gskDash, gskDot, gskDashDot, gskDashDotDot };
enum TAdvGraphicsTextureMode { gtmOriginal, gtmFit, gtmStretch, gtmCenter, gtmTile };
enum TAdvGraphicsFillGradientMode { gfgmDefault, gfgmCollection };
enum TAdvGraphicsFillGradientType { gfgtLinear, gfgtRadial };
enum TAdvGraphicsFillOrientation { gfoHorizontal, gfoVertical, gfoCustom };
enum TAdvGraphicsTextAlign { gtaCenter, gtaLeading, gtaTrailing };
enum TAdvGraphicsTextTrimming { gttNone, gttCharacter, gttWord };
enum TAdvGraphicsSide { gsLeft, gsTop, gsRight, gsBottom };
using TAdvGraphicsSides = TSet<TAdvGraphicsSide>;
enum TAdvGraphicsTextQuality { gtqDefault, gtqAntiAliasing, gtqClearType };
enum TAdvGraphicsModifyRectMode {
  gcrmNone, gcrmExpandAll, gcrmShrinkAll, gcrmShiftRightAndExpandHeight, gcrmShiftDownAndExpandWidth,
  gcrmShiftRightAndShrinkHeight, gcrmShiftRightDown, gcrmShiftRightUp, gcrmShiftLeftUp, gcrmShiftLeftDown,
  gcrmShiftUpAndExpandWidth, gcrmShiftLeftAndExpandHeight
};
enum TAdvGraphicsModifyPointMode { gcpmNone, gcpmLeftUp, gcpmRightDown, gcpmLeftDown, gcpmRightUp };
enum TAdvGraphicsExpanderState { gesCollapsed, gesExpanded };
enum TAdvGraphicsCompactState { gcsCollapsed, gcsExpanded };
enum TAdvGraphicsCorner { gcTopLeft, gcTopRight, gcBottomLeft, gcBottomRight };
using TAdvGraphicsCorners = TSet<TAdvGraphicsCorner>;

inline constexpr TAdvGraphicsSides AllGraphicsSides{gsLeft, gsTop, gsRight, gsBottom};
inline constexpr TAdvGraphicsCorners AllGraphicsCorners{gcTopLeft, gcTopRight, gcBottomLeft, gcBottomRight};

// R + G·256 + B·65536.
TColor RGBToColor(Byte R, Byte G, Byte B);
// Each channel (system colours resolved) moved towards 255 by APercent
// (0..100; values outside are clamped) of its distance.
TColor LightenColor(TColor AColor, Integer APercent);

// Fills ARect with one-pixel bands from AFromColor to AToColor (system
// colours resolved), left to right when AHorizontal, else top to bottom;
// bands within ARounding of a corner in ACorners are shortened to round it.
// Pen and brush colour and style are put back afterwards. Nothing for a nil
// canvas.
void GDIGradientFill(TCanvas* ACanvas, TColor AFromColor, TColor AToColor, bool AHorizontal,
                     TAdvGraphicsCorners ACorners, Single ARounding, const TRect& ARect);
