#pragma once
// Rounded-rectangle outlines, the radial glow, picture placement and aspect
// fitting that the gradient fill object paints with.
#include <memory>

#include "foundation/gdiplus/GradientFill.h"
#include "platform/rtl/Geometry.h"

namespace gdiplus {

enum TFillRoundingType : Integer { rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight };
enum TFillPicturePosition : Integer {
  ppTopLeft, ppTopCenter, ppTopRight, ppBottomLeft, ppBottomCenter, ppBottomRight,
  ppTiled, ppStretched, ppCenterLeft, ppCenterCenter, ppCenterRight, ppCustom
};
enum TPictureMode : Integer { pmStretch, pmNormal };

// Appends the outline of (X, Y, Width, Height) with arcs of radius Radius
// (in Diameter squares) at the corners RoundingType names.
void AddRoundedRectPath(TFillRoundingType RoundingType, TGPGraphicsPath* Path, double Radius, double Diameter,
                        double Height, double Width, double Y, double X);
// A new closed outline (fill mode alternate); Rounding 0 gives the plain rectangle.
std::unique_ptr<TGPGraphicsPath> CreateRoundedRectPath(const TGPRectF& R, Integer Rounding,
                                                       TFillRoundingType RoundingType);
// Fills R's rounded outline with the base colour and lays an elliptic glow
// over it, from the top edge (AtTop) or from the bottom edge. The clip is reset.
void DrawRadialGlow(TGPGraphics* Graphics, const TGPRectF& R, TColor Color, TColor ColorTo, Byte Opacity,
                    Byte OpacityTo, TFillRoundingType RoundingType, Integer Rounding, bool AtTop);
// Draws Picture (at AWidth x AHeight) in R at Position; nothing for an empty
// or missing picture.
void DrawFillPicture(TGPGraphics* Graphics, bool AspectRatio, TPictureMode AspectMode, Integer ATop, Integer ALeft,
                     const TRect& R, Integer AHeight, Integer AWidth, TFillPicturePosition Position,
                     TZovIVIDPicture* Picture);
// The size the picture takes in the area; 0 x 0 when any size is not positive.
void CalcAspectSize(double& NewWidth, double& NewHeight, TPictureMode AspectMode, double AreaHeight,
                    double AreaWidth, double PictureHeight, double PictureWidth);

}  // namespace gdiplus
