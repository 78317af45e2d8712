#pragma once
// The eleven fill kinds and DrawGradientFill, which fills a rectangle or a
// path by one of them and strokes its border.
#include "foundation/gdiplus/GPGraphics.h"
#include "platform/vcl/Color.h"

namespace gdiplus {

class TZovIVIDPicture;

enum TAdvGradientType : Integer {
  gtSolid, gtRadial, gtVertical, gtHorizontal, gtForwardDiagonal, gtBackwardDiagonal,
  gtAngle, gtHatch, gtPath, gtTexture, gtNone
};

struct TGradientFillParams {
  TGPGraphics* Graphics = nullptr;
  TGPGraphicsPath* Path = nullptr;
  bool UsePath = false;
  TGPRectF Rect{};
  TAdvGradientType GradientType = gtSolid;
  TColor Color = clNone;
  TColor ColorTo = clNone;
  Byte Opacity = 255;
  Byte OpacityTo = 255;
  GpHatchStyle HatchStyle = HatchStyleHorizontal;
  Integer Angle = 0;
  TZovIVIDPicture* Picture = nullptr;
  TColor BorderColor = clNone;
  Integer BorderWidth = 1;
  GpDashStyle BorderDashStyle = DashStyleSolid;
  bool TopLine = false;
};

// Fills the area (Path when UsePath, else Rect) by the kind, then strokes it
// with the border unless BorderColor is clNone. gtRadial, gtPath and gtNone
// fill nothing. No graphics: nothing. Never raises; GDI+ failures stay in
// the wrapper objects.
void DrawGradientFill(const TGradientFillParams& Params);

}  // namespace gdiplus
