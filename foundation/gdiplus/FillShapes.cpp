#include "foundation/gdiplus/FillShapes.h"

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/pictures/ZovIVIDPicture.h"
#include "platform/rtl/Math.h"

namespace gdiplus {

void AddRoundedRectPath(TFillRoundingType RoundingType, TGPGraphicsPath* Path, double Radius, double Diameter,
                        double Height, double Width, double Y, double X) {
  if (!Path) return;
  const double r = Radius, d = Diameter, x = X, y = Y, right = X + Width, bottom = Y + Height;
  auto line = [&](double x1, double y1, double x2, double y2) {
    Path->AddLine(Single(x1), Single(y1), Single(x2), Single(y2));
  };
  auto arc = [&](double ax, double ay, double start) {
    Path->AddArc(Single(ax), Single(ay), Single(d), Single(d), Single(start), 90);
  };
  switch (RoundingType) {
    case rtNone:
      line(x, y, right, y);
      line(right, y, right, bottom);
      line(right, bottom, x, bottom);
      line(x, bottom, x, y);
      break;
    case rtTop:
      arc(x, y, 180);
      line(x + r, y, right - r, y);
      arc(right - d, y, 270);
      line(right, y + r, right, bottom);
      line(right, bottom, x, bottom);
      line(x, bottom, x, y + r);
      break;
    case rtBottom:
      line(x, y, right, y);
      line(right, y, right, bottom - r);
      arc(right - d, bottom - d, 0);
      line(right - r, bottom, x + r, bottom);
      arc(x, bottom - d, 90);
      line(x, bottom - r, x, y);
      break;
    case rtBoth:
      arc(x, y, 180);
      line(x + r, y, right - r, y);
      arc(right - d, y, 270);
      line(right, y + r, right, bottom - r);
      arc(right - d, bottom - d, 0);
      line(right - r, bottom, x + r, bottom);
      arc(x, bottom - d, 90);
      line(x, bottom - r, x, y + r);
      break;
    case rtLeft:
      arc(x, y, 180);
      line(x + r, y, right - r, y);
      line(right, y, right, bottom);
      line(right - r, bottom, x + r, bottom);
      arc(x, bottom - d, 90);
      line(x, bottom - r, x, y + r);
      break;
    case rtRight:
      line(x, y, right - r, y);
      arc(right - d, y, 270);
      line(right, y + r, right, bottom - r);
      arc(right - d, bottom - d, 0);
      line(right - r, bottom, x, bottom);
      line(x, bottom - r, x, y + r);
      break;
  }
}

std::unique_ptr<TGPGraphicsPath> CreateRoundedRectPath(const TGPRectF& R, Integer Rounding,
                                                       TFillRoundingType RoundingType) {
  std::unique_ptr<TGPGraphicsPath> path(new TGPGraphicsPath(FillModeAlternate));
  if (!path) return path;
  AddRoundedRectPath(RoundingType, path.get(), Rounding, 2.0 * Rounding, R.Height, R.Width, R.Y, R.X);
  path->CloseFigure();
  return path;
}

void DrawRadialGlow(TGPGraphics* Graphics, const TGPRectF& R, TColor Color, TColor ColorTo, Byte Opacity,
                    Byte OpacityTo, TFillRoundingType RoundingType, Integer Rounding, bool AtTop) {
  if (!Graphics) return;
  const ARGB first = ColorToAlphaARGB(Opacity, Color), second = ColorToAlphaARGB(OpacityTo, ColorTo);
  const ARGB base = AtTop ? first : second;
  const ARGB glow = AtTop ? second : first;

  std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedRectPath(R, Rounding, RoundingType);
  if (!outline) return;
  {
    TGPSolidBrush brush(base);
    Graphics->FillPath(&brush, outline.get());
  }
  TGPRegion region(outline.get());
  Graphics->SetClip(&region, CombineModeReplace);
  outline.reset();

  TGPGraphicsPath ellipse;
  if (AtTop) ellipse.AddEllipse(R.X, R.Y - R.Height / 2, R.Width, R.Height * 1.5f);
  else ellipse.AddEllipse(R.X, R.Y, R.Width, R.Height * 1.5f);
  TGPPathGradientBrush brush(&ellipse);
  brush.SetCenterPoint(GPPointF(R.X + R.Width / 2, AtTop ? R.Y : R.Y + R.Height));
  brush.SetCenterColor(glow);
  Integer count = 1;
  brush.SetSurroundColors(&base, count);
  Graphics->FillRectangle(&brush, R);
  Graphics->ResetClip();
}

void CalcAspectSize(double& NewWidth, double& NewHeight, TPictureMode AspectMode, double AreaHeight,
                    double AreaWidth, double PictureHeight, double PictureWidth) {
  NewWidth = 0;
  NewHeight = 0;
  if (AreaHeight <= 0 || AreaWidth <= 0 || PictureHeight <= 0 || PictureWidth <= 0) return;
  if (AspectMode == pmNormal && PictureWidth < AreaWidth && PictureHeight < AreaHeight) {
    NewWidth = PictureWidth;
    NewHeight = PictureHeight;
  } else if (AreaWidth / AreaHeight > PictureWidth / PictureHeight) {
    NewHeight = AreaHeight;
    NewWidth = PictureWidth * AreaHeight / PictureHeight;
  } else {
    NewWidth = AreaWidth;
    NewHeight = PictureHeight * AreaWidth / PictureWidth;
  }
}

void DrawFillPicture(TGPGraphics* Graphics, bool AspectRatio, TPictureMode AspectMode, Integer ATop, Integer ALeft,
                     const TRect& R, Integer AHeight, Integer AWidth, TFillPicturePosition Position,
                     TZovIVIDPicture* Picture) {
  if (!Graphics || !Picture || Picture->Empty()) return;
  Integer w = AWidth, h = AHeight;
  const Integer centreX = R.Left + (R.Right - R.Left - w) / 2;
  const Integer centreY = R.Top + (R.Bottom - R.Top - h) / 2;
  TPoint at{R.Left, R.Top};
  switch (Position) {
    case ppTopLeft: break;
    case ppTopCenter: at = {centreX, R.Top}; break;
    case ppTopRight: at = {R.Right - w, R.Top}; break;
    case ppBottomLeft: at = {R.Left, R.Bottom - h}; break;
    case ppBottomCenter: at = {centreX, R.Bottom - h}; break;
    case ppBottomRight: at = {R.Right - w, R.Bottom - h}; break;
    case ppCenterLeft: at = {R.Left, centreY}; break;
    case ppCenterCenter: at = {centreX, centreY}; break;
    case ppCenterRight: at = {R.Right - w, centreY}; break;
    case ppCustom: at = {ALeft, ATop}; break;
    case ppTiled: {
      TGradientFillParams p;
      p.Graphics = Graphics;
      p.Rect = GPRectF(Single(R.Left), Single(R.Top), Single(R.Right - R.Left), Single(R.Bottom - R.Top));
      p.GradientType = gtTexture;
      p.Picture = Picture;
      p.BorderColor = clNone;
      DrawGradientFill(p);
      return;
    }
    case ppStretched: {
      const double areaW = R.Right - R.Left, areaH = R.Bottom - R.Top;
      double nw = areaW, nh = areaH;
      if (AspectRatio) CalcAspectSize(nw, nh, AspectMode, areaH, areaW, h, w);
      w = Integer(Round(nw));
      h = Integer(Round(nh));
      at = {Integer(Round((areaW - w) / 2 + R.Left)), Integer(Round((areaH - h) / 2 + R.Top))};
      break;
    }
  }
  Picture->GDIPDraw(Graphics, Rect(at.X, at.Y, at.X + w, at.Y + h));
}

}  // namespace gdiplus
