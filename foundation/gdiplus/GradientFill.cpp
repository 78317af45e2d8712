#include "foundation/gdiplus/GradientFill.h"

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/pictures/ZovIVIDPicture.h"

namespace gdiplus {

namespace {

GpLinearGradientMode LinearMode(TAdvGradientType kind) {
  switch (kind) {
    case gtHorizontal: return LinearGradientModeHorizontal;
    case gtForwardDiagonal: return LinearGradientModeForwardDiagonal;
    case gtBackwardDiagonal: return LinearGradientModeBackwardDiagonal;
    default: return LinearGradientModeVertical;
  }
}

void FillArea(const TGradientFillParams& p, TGPBrush* brush) {
  if (p.UsePath) p.Graphics->FillPath(brush, p.Path);
  else p.Graphics->FillRectangle(brush, p.Rect);
}

}  // namespace

void DrawGradientFill(const TGradientFillParams& Params) {
  const TGradientFillParams p = Params;
  if (!p.Graphics || (p.UsePath && !p.Path)) return;
  const ARGB c1 = ColorToAlphaARGB(p.Opacity, p.Color);
  const ARGB c2 = ColorToAlphaARGB(p.OpacityTo, p.ColorTo);
  // Linear gradients start a pixel outside the area so its edges get the end colours.
  const TGPRectF grown = GPRectF(p.Rect.X - 1, p.Rect.Y - 1, p.Rect.Width + 2, p.Rect.Height + 2);
  switch (p.GradientType) {
    case gtSolid: {
      TGPSolidBrush brush(c1);
      FillArea(p, &brush);
      break;
    }
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal: {
      TGPLinearGradientBrush brush(grown, c1, c2, LinearMode(p.GradientType));
      brush.SetGammaCorrection(true);
      FillArea(p, &brush);
      if (p.TopLine) {
        TGPSolidBrush line(c1);
        p.Graphics->FillRectangle(&line, GPRectF(p.Rect.X, p.Rect.Y, p.Rect.Width, 1));
      }
      break;
    }
    case gtAngle: {
      TGPLinearGradientBrush brush(grown, c1, c2, Single(p.Angle), true);
      brush.SetGammaCorrection(true);
      FillArea(p, &brush);
      break;
    }
    case gtHatch: {
      TGPHatchBrush brush(p.HatchStyle, c1, c2);
      FillArea(p, &brush);
      break;
    }
    case gtTexture:
      if (p.Picture) {
        if (p.UsePath) p.Picture->FillPath(p.Graphics, p.Path);
        else p.Picture->FillRect(p.Graphics, p.Rect);
      }
      break;
    default:
      break;
  }
  if (p.BorderColor != clNone) {
    TGPPen pen(ColorToAlphaARGB(p.Opacity, p.BorderColor), Single(p.BorderWidth));
    pen.SetDashStyle(p.BorderDashStyle);
    if (p.UsePath) p.Graphics->DrawPath(&pen, p.Path);
    else p.Graphics->DrawRectangle(&pen, p.Rect);
  }
}

}  // namespace gdiplus
