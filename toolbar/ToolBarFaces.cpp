#include "toolbar/ToolBarFaces.h"

#include <algorithm>
#include <memory>

#include "platform/rtl/Math.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

using namespace gdiplus;

namespace {

Integer GlyphRound(double v) { return Integer(Round(v)); }

void FaceLine(TGPGraphics* G, TColor C, Single X1, Single Y1, Single X2, Single Y2) {
  TGPPen pen(ColorToARGB(C), 1);
  G->DrawLine(&pen, X1, Y1, X2, Y2);
}

// The left separator of inner and last buttons.
void LeftSeparator(TGPGraphics* G, TColor C, Integer X, Integer Y, Integer H, bool Hot) {
  if (Hot)
    FaceLine(G, AdjustColor(C, -5), Single(X), Single(Y), Single(X), Single(Y + H));
  else
    FaceLine(G, AdjustColor(clWhite, -10), Single(X), Single(Y + 2), Single(X), Single(Y + H - 2));
}

void GlyphLine(TCanvas* Canvas, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Canvas->MoveTo(X1, Y1);
  Canvas->LineTo(X2, Y2);
}

// Glyph size: the smaller side less 6 px, capped at 18 px unless Uncapped.
Integer GlyphSize(const TRect& R, bool Uncapped) {
  const Single s = ToolBarDPIScale;
  const Integer e = std::min(R.Right - R.Left, R.Bottom - R.Top) - GlyphRound(6 * s);
  return Uncapped ? e : std::min(e, GlyphRound(18 * s));
}

bool PreparePen(TCanvas* Canvas, TColor Color, Integer Width) {
  if (Canvas == nullptr || Color == clNone) return false;
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetWidth(Width);
  return true;
}

}  // namespace

void FillButtonHalf(TCanvas* Canvas, TGPGraphics* Graphics, const TRect& R, TColor C1, TColor C2,
                    TGDIPGradient Kind, bool Upper) {
  std::unique_ptr<TGPGraphics> own;
  if (Graphics == nullptr) {
    if (Canvas == nullptr) return;
    own = std::make_unique<TGPGraphics>(Canvas->Handle());
    own->SetSmoothingMode(SmoothingModeAntiAlias);
    Graphics = own.get();
  }
  // The glow button's half fills exactly R by its width and height.
  ::FillButtonHalf(Graphics, R, C1, C2, Kind, Upper);
}

void FillVerticalGradient(TGPGraphics* Graphics, TCanvas* Canvas, TColor ColorFrom, TColor ColorTo, const TRect& R,
                          bool /*Horizontal*/) {
  FillButtonHalf(Canvas, Graphics, R, ColorFrom, ColorTo, ggVertical, true);
}

void DrawButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                      Integer Radius) {
  if (Graphics == nullptr || Color == clNone) return;
  TGPPen pen(ColorToARGB(Color), 1);
  DrawRoundRect(Graphics, &pen, Single(X), Single(Y), Single(W), Single(H), Single(Radius));
}

void DrawFocusBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                     Integer Radius) {
  if (Graphics == nullptr || Color == clNone) return;
  TGPPen pen(ColorToARGB(Color), 1);
  pen.SetDashStyle(DashStyleDot);
  DrawRoundRect(Graphics, &pen, Single(X), Single(Y), Single(W), Single(H), Single(Radius));
}

void DrawLeftButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                          Integer Radius) {
  if (Graphics == nullptr || Color == clNone) return;
  const Single x = Single(X), y = Single(Y), w = Single(W), h = Single(H), r = Single(Radius), d = 2 * r;
  TGPGraphicsPath path;
  path.AddLine(x + w, y + h, x + r, y + h);
  if (r > 0) path.AddArc(x, y + h - d, d, d, 90, 90);
  path.AddLine(x, y + h - d, x, y + r);
  if (r > 0) path.AddArc(x, y, d, d, 180, 90);
  path.AddLine(x + r, y, x + w, y);
  TGPPen pen(ColorToARGB(Color), 1);
  Graphics->DrawPath(&pen, &path);
  FaceLine(Graphics, AdjustColor(Color, -5), x + w, y, x + w, y + h);
}

void DrawMiddleButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                            Integer /*Radius*/, bool Hot) {
  if (Graphics == nullptr || Color == clNone) return;
  FaceLine(Graphics, Color, Single(X - 1), Single(Y + H), Single(X + W), Single(Y + H));
  FaceLine(Graphics, Color, Single(X - 1), Single(Y), Single(X + W), Single(Y));
  FaceLine(Graphics, AdjustColor(Color, -5), Single(X + W), Single(Y), Single(X + W), Single(Y + H));
  LeftSeparator(Graphics, Color, X, Y, H, Hot);
}

void DrawRightButtonBorder(TGPGraphics* Graphics, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                           Integer Radius, bool Hot) {
  if (Graphics == nullptr || Color == clNone) return;
  const Single x = Single(X), y = Single(Y), w = Single(W), h = Single(H), r = Single(Radius), d = 2 * r;
  TGPGraphicsPath path;
  path.AddLine(x, y, x + w - d, y);
  if (r > 0) path.AddArc(x + w - d, y, d, d, 270, 90);
  path.AddLine(x + w, y + r, x + w, y + h - d);
  if (r > 0) path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  path.AddLine(x + w, y + h, x, y + h);
  TGPPen pen(ColorToARGB(Color), 1);
  Graphics->DrawPath(&pen, &path);
  LeftSeparator(Graphics, Color, X, Y, H, Hot);
}

void DrawVistaButtonFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                         TButtonPosition Position, bool Hot, bool Transparent, bool /*Enabled*/, bool Rounded,
                         bool DrawBorder, bool Focused) {
  if (Canvas == nullptr) return;
  const Integer half = (R.Bottom - R.Top) / 2, r = Rounded ? 3 : 0;
  TGPGraphics g(Canvas->Handle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  if (!Transparent) {
    FillButtonHalf(Canvas, &g, TRect{R.Left, R.Top + half - 1, R.Right, R.Bottom}, ColorMirrorTo, ColorMirror,
                   GradientMirror, false);
    FillButtonHalf(Canvas, &g, TRect{R.Left, R.Top, R.Right, R.Bottom - half}, Color, ColorTo, Gradient, true);
    if (DrawBorder) {
      const Integer X = R.Left, Y = R.Top, W = R.Right - 1, H = R.Bottom - 1;
      switch (Position) {
        case bpStandalone: DrawButtonBorder(&g, BorderColor, X, Y, W, H, r); break;
        case bpLeft: DrawLeftButtonBorder(&g, BorderColor, X, Y, W, H, r); break;
        case bpMiddle: DrawMiddleButtonBorder(&g, BorderColor, X, Y, W, H, r, Hot); break;
        case bpRight: DrawRightButtonBorder(&g, BorderColor, X, Y, W, H, r, Hot); break;
      }
    }
  }
  if (Focused) {
    DrawButtonBorder(&g, TColor(0xE4AD89), R.Left + 1, R.Top + 1, R.Right - 3, R.Bottom - 3, r);
    DrawFocusBorder(&g, TColor(0x808080), R.Left + 2, R.Top + 2, R.Right - 5, R.Bottom - 5, r);
  }
}

void DrawMenuArrow(TCanvas* Canvas, TPoint P, TColor Color, bool Down, TColor SmoothColor) {
  if (!PreparePen(Canvas, Color, 1)) return;
  const Integer x = P.X, y = P.Y;
  if (Down) {
    GlyphLine(Canvas, x, y, x + 5, y);
    GlyphLine(Canvas, x + 1, y + 1, x + 4, y + 1);
  } else {
    GlyphLine(Canvas, x, y, x, y + 5);
    GlyphLine(Canvas, x + 1, y + 1, x + 1, y + 4);
  }
  Canvas->SetPixels(x + 2, y + 2, Color);
  if (SmoothColor == clNone) return;
  const TPoint smooth[2][5] = {{{x + 1, y}, {x + 1, y + 4}, {x + 2, y + 1}, {x + 3, y + 2}, {x + 2, y + 3}},
                               {{x, y + 1}, {x + 4, y + 1}, {x + 1, y + 2}, {x + 3, y + 2}, {x + 2, y + 3}}};
  for (const TPoint& p : smooth[Down ? 1 : 0]) Canvas->SetPixels(p.X, p.Y, SmoothColor);
}

void DrawCloseGlyph(TCanvas* Canvas, const TRect& R, TColor Color, Integer PenWidth, ribbon::TGroupStyle GroupStyle) {
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top, e = GlyphSize(R, false);
  if (GroupStyle == ribbon::gsOffice2019) {
    if (!PreparePen(Canvas, Color, 1)) return;
    Integer f = e / 2;
    if (f % 2 != 0) ++f;
    const Integer x0 = R.Left + (W - f) / 2, y0 = R.Top + (H - f) / 2;
    GlyphLine(Canvas, x0, y0, x0 + f + 1, y0 + f + 1);
    GlyphLine(Canvas, x0 + f, y0, x0 - 1, y0 + f + 1);
    return;
  }
  if (!PreparePen(Canvas, Color, PenWidth)) return;
  const Integer a = (W - e) / 3, b = (H - e) / 3;
  GlyphLine(Canvas, R.Left + a, R.Top + b + e, R.Left + a + e, R.Top + b);
  GlyphLine(Canvas, R.Left + a, R.Top + b, R.Left + a + e, R.Top + b + e);
  Canvas->Pen()->SetWidth(1);
}

namespace {

// The fixed 5 x 7 window at the top right of R.
void SmallWindow(TCanvas* Canvas, const TRect& R) {
  GlyphLine(Canvas, R.Right - 8, R.Top, R.Right - 8, R.Top + 7);
  GlyphLine(Canvas, R.Right - 9, R.Top, R.Right - 9, R.Top + 7);
  Canvas->MoveTo(R.Right - 9, R.Top);
  Canvas->LineTo(R.Right - 13, R.Top);
  Canvas->LineTo(R.Right - 13, R.Top + 6);
  Canvas->LineTo(R.Right - 9, R.Top + 6);
}

}  // namespace

void DrawMaximizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Scaled, ribbon::TGroupStyle GroupStyle) {
  if (!PreparePen(Canvas, Color, 1)) return;
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top, e = GlyphSize(R, false);
  if (GroupStyle == ribbon::gsOffice2019) {
    const Integer l = e / 2, x0 = R.Left + (W - l) / 2, y0 = R.Top + (H - l) / 2;
    Canvas->MoveTo(x0, y0);
    Canvas->LineTo(x0 + l, y0);
    Canvas->LineTo(x0 + l, y0 + l);
    Canvas->LineTo(x0, y0 + l);
    Canvas->LineTo(x0, y0);
    return;
  }
  if (!Scaled) {
    SmallWindow(Canvas, R);
    return;
  }
  const Integer x0 = R.Left + (W - e) / 2, y0 = R.Top + (H - e) / 2;
  for (Integer y = y0; y <= y0 + 2; ++y) GlyphLine(Canvas, x0, y, x0 + e, y);
  Canvas->MoveTo(x0, y0 + 2);
  Canvas->LineTo(x0, y0 + e - 1);
  Canvas->LineTo(x0 + e - 1, y0 + e - 1);
  Canvas->LineTo(x0 + e - 1, y0 + 2);
}

void DrawRestoreGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Scaled, ribbon::TGroupStyle GroupStyle) {
  if (!PreparePen(Canvas, Color, 1)) return;
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top, e = GlyphSize(R, true);
  if (GroupStyle == ribbon::gsOffice2019) {
    const Integer l = GlyphRound(e / 2.0), d = GlyphRound(2 * ToolBarDPIScale);
    const Integer x0 = R.Left + (W - l) / 2, y0 = R.Top + (H - l) / 2;
    Canvas->MoveTo(x0 - d, y0 + d);
    Canvas->LineTo(x0 + l - d, y0 + d);
    Canvas->LineTo(x0 + l - d, y0 + l + d);
    Canvas->LineTo(x0 - d, y0 + l + d);
    Canvas->LineTo(x0 - d, y0 + d);
    Canvas->MoveTo(x0, y0 + d);
    Canvas->LineTo(x0, y0);
    Canvas->LineTo(x0 + l, y0);
    Canvas->LineTo(x0 + l, y0 + l);
    Canvas->LineTo(x0 + l - d, y0 + l);
    return;
  }
  if (!Scaled) {
    GlyphLine(Canvas, R.Right - 5, R.Top + 2, R.Right - 5, R.Top + 8);
    GlyphLine(Canvas, R.Right - 6, R.Top + 2, R.Right - 6, R.Top + 8);
    GlyphLine(Canvas, R.Right - 5, R.Top + 8, R.Right - 11, R.Top + 8);
    SmallWindow(Canvas, R);
    return;
  }
  const Integer x0 = R.Left + (W - e) / 2, y0 = R.Top + (H - e) / 2, x1 = x0 + e, y2 = y0 + e;
  GlyphLine(Canvas, x0 + 2, y0, x1, y0);
  GlyphLine(Canvas, x0 + 2, y0 + 1, x1, y0 + 1);
  GlyphLine(Canvas, x1, y0, x1, y2 - 2);
  GlyphLine(Canvas, x0, y0 + 3, x1 - 1, y0 + 3);
  GlyphLine(Canvas, x0, y0 + 4, x1 - 1, y0 + 4);
  Canvas->MoveTo(x0, y0 + 4);
  Canvas->LineTo(x0, y2);
  Canvas->LineTo(x1 - 2, y2);
  Canvas->LineTo(x1 - 2, y0 + 4);
}

void DrawMinimizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Scaled, ribbon::TGroupStyle GroupStyle) {
  if (!PreparePen(Canvas, Color, 1)) return;
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top, e = GlyphSize(R, false);
  if (GroupStyle == ribbon::gsOffice2019) {
    const Integer l = GlyphRound(e / 2.0), x0 = R.Left + (W - l) / 2, y = R.Top + H / 2;
    GlyphLine(Canvas, x0, y, x0 + l, y);
    return;
  }
  if (!Scaled) {
    GlyphLine(Canvas, R.Left, R.Top, R.Left, R.Top + 6);
    GlyphLine(Canvas, R.Left + 1, R.Top, R.Left + 1, R.Top + 6);
    return;
  }
  const Integer y = R.Top + (H - e) / 2 + e - 2, x0 = R.Left + (W - e) / 2;
  GlyphLine(Canvas, x0, y - 1, x0 + e, y - 1);
  GlyphLine(Canvas, x0, y, x0 + e, y);
}

}  // namespace toolbar
