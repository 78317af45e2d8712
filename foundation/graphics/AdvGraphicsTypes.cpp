#include "foundation/graphics/AdvGraphicsTypes.h"

#include <algorithm>
#include <cmath>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Math.h"

TColor RGBToColor(Byte R, Byte G, Byte B) { return TColor(R) + TColor(G) * 256 + TColor(B) * 65536; }

TColor LightenColor(TColor AColor, Integer APercent) {
  const TColor c = ColorToRGB(AColor);
  const Integer percent = std::clamp<Integer>(APercent, 0, 100);
  auto lighten = [percent](Integer v) {
    const Integer step = std::min<Integer>(255, TAdvUtils::MulDivInt(255 - v, percent, 100));
    return Byte(std::min<Integer>(255, v + step));
  };
  return RGBToColor(lighten(c & 0xFF), lighten((c >> 8) & 0xFF), lighten((c >> 16) & 0xFF));
}

namespace {
Integer ChannelOf(TColor c, int shift) { return (c >> shift) & 0xFF; }
}  // namespace

void GDIGradientFill(TCanvas* ACanvas, TColor AFromColor, TColor AToColor, bool AHorizontal,
                     TAdvGraphicsCorners ACorners, Single ARounding, const TRect& ARect) {
  if (!ACanvas) return;
  // The band count is a full Integer: a 16-bit counter would wrap on wide
  // rectangles and paint a handful of bands.
  const Integer extent = AHorizontal ? ARect.Right - ARect.Left : ARect.Bottom - ARect.Top;
  Integer n = extent;
  if (n == 0) n = 1;
  const TColor from = ColorToRGB(AFromColor), to = ColorToRGB(AToColor);
  const Integer r1 = ChannelOf(from, 0), g1 = ChannelOf(from, 8), b1 = ChannelOf(from, 16);
  const double dr = double(ChannelOf(to, 0) - r1) / n, dg = double(ChannelOf(to, 8) - g1) / n,
               db = double(ChannelOf(to, 16) - b1) / n;
  const double s = double(extent) / n;

  TPen* pen = ACanvas->Pen();
  TBrush* brush = ACanvas->Brush();
  const TColor oldPenColor = pen->Color(), oldBrushColor = brush->Color();
  const TPenStyle oldPenStyle = pen->Style();
  const TBrushStyle oldBrushStyle = brush->Style();
  pen->SetStyle(psSolid);
  brush->SetStyle(bsSolid);

  const double r = ARounding;
  auto inset = [r](double d) { return Integer(Round(r - std::sqrt(std::max(0.0, r * r - (r - d) * (r - d))))); };
  // A negative extent paints nothing rather than looping over a huge range.
  for (Integer i = 0; i < std::max<Integer>(n, 0); ++i) {
    const TColor band = TColor((r1 + Round(i * dr)) + (g1 + Round(i * dg)) * 256 + (b1 + Round(i * db)) * 65536);
    pen->SetColor(band);
    brush->SetColor(pen->Color());
    const Integer p = Integer(Round(i * s));
    Integer x1, y1, x2, y2;
    if (AHorizontal) {
      x1 = ARect.Left + p;
      x2 = std::min<Integer>(ARect.Right, ARect.Left + p + Integer(Trunc(s)));
      y1 = ARect.Top;
      y2 = ARect.Bottom;
    } else {
      y1 = ARect.Top + p;
      y2 = std::min<Integer>(ARect.Bottom, ARect.Top + p + Integer(Trunc(s)));
      x1 = ARect.Left;
      x2 = ARect.Right;
    }
    if (i <= r) {
      const Integer k = inset(i);
      if (AHorizontal) {
        if (ACorners.Contains(gcTopLeft)) y1 += k;
        if (ACorners.Contains(gcBottomLeft)) y2 -= k;
      } else {
        if (ACorners.Contains(gcTopLeft)) x1 += k;
        if (ACorners.Contains(gcTopRight)) x2 -= k;
      }
    } else if (i >= n - r) {
      const Integer k = inset(n - i);
      if (AHorizontal) {
        if (ACorners.Contains(gcTopRight)) y1 += k;
        if (ACorners.Contains(gcBottomRight)) y2 -= k;
      } else {
        if (ACorners.Contains(gcBottomLeft)) x1 += k;
        if (ACorners.Contains(gcBottomRight)) x2 -= k;
      }
    }
    ACanvas->Rectangle(x1, y1, x2, y2);
  }

  brush->SetColor(oldBrushColor);
  brush->SetStyle(oldBrushStyle);
  pen->SetColor(oldPenColor);
  pen->SetStyle(oldPenStyle);
}
