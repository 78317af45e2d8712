// The glow button's face: two gradient halves, a border shaped by the
// button's place in a group, glyph, caption, notes and drop-down part.
#include "controls/GlowButtonPainter.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "foundation/gdiplus/PictureDecode.h"
#include "foundation/pictures/GDIPPicture.h"
#include "foundation/style/VornStyle.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/shared/ToolBarShared.h"

using namespace gdiplus;

Integer GlowSpeed = 20;
bool GlobalDrawSplitLineAlways = false;

namespace glowpaint {

namespace {

Integer GlowRound(double v) { return Integer(Round(v)); }

struct TGlowChannels {
  Integer R, G, B;
};

TGlowChannels GlowSplit(TColor c) {
  DWORD v = DWORD(ColorToRGB(c));
  return {Integer(v & 0xFF), Integer((v >> 8) & 0xFF), Integer((v >> 16) & 0xFF)};
}

TColor GlowJoin(Integer r, Integer g, Integer b) { return TColor(r | (g << 8) | (b << 16)); }

ARGB GlowARGB(TColor c) { return toolbar::ColorToARGB(c); }

TGPRectF GlowRectF(const TRect& r) {
  return GPRectF(Single(r.Left), Single(r.Top), Single(r.Right - r.Left), Single(r.Bottom - r.Top));
}

// A closed outline with arcs of diameter 2r at the corners (r 0: a rectangle).
void GlowRoundedPath(TGPGraphicsPath& path, Single x, Single y, Single w, Single h, Single r) {
  if (r <= 0) {
    path.AddLine(x, y, x + w, y);
    path.AddLine(x + w, y, x + w, y + h);
    path.AddLine(x + w, y + h, x, y + h);
    path.CloseFigure();
    return;
  }
  const Single d = 2 * r;
  path.AddLine(x + r, y, x + w - r, y);
  path.AddArc(x + w - d, y, d, d, 270, 90);
  path.AddLine(x + w, y + r, x + w, y + h - r);
  path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  path.AddLine(x + w - r, y + h, x + r, y + h);
  path.AddArc(x, y + h - d, d, d, 90, 90);
  path.AddLine(x, y + h - r, x, y + r);
  path.AddArc(x, y, d, d, 180, 90);
  path.CloseFigure();
}

void GlowLine(TGPGraphics* g, TColor c, Single x1, Single y1, Single x2, Single y2) {
  TGPPen pen(GlowARGB(c), 1);
  g->DrawLine(&pen, x1, y1, x2, y2);
}

// The left separator of middle and right buttons.
void GlowLeftSeparator(TGPGraphics* g, TColor c, Integer x, Integer y, Integer h, bool hotOrDown) {
  if (hotOrDown)
    GlowLine(g, AdjustColor(c, -5), Single(x), Single(y), Single(x), Single(y + h));
  else
    GlowLine(g, AdjustColor(clWhite, -10), Single(x), Single(y + 2), Single(x), Single(y + h - 2));
}

void GlowRightSeparator(TGPGraphics* g, TColor c, Integer x, Integer y, Integer h) {
  const bool scenic = GetScenicRibbonFlag();
  GlowLine(g, AdjustColor(c, -5), Single(x), Single(scenic ? y + 2 : y), Single(x), Single(scenic ? y + h - 2 : y + h));
}

float GlowScale(TControl* c) {
  TCustomForm* f = c != nullptr ? GetParentForm(c) : nullptr;
  TCanvas* canvas = nullptr;
  return f != nullptr ? GetControlDPIScale(f, canvas) : 1.0f;
}

// Replaces every "\n" pair (any letter case) by a line break, or by a blank
// when a picture size is given.
String GlowLineBreaks(const String& s, bool picSize) {
  String out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'\\' && i + 1 < s.size() && (s[i + 1] == u'n' || s[i + 1] == u'N')) {
      out += picSize ? String(u" ") : String(u"\n\r");
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

// A picture at (X, Y) in a W x H box. A BMP has the colour of its
// bottom-left pixel as transparent key; other pictures draw as they are.
void DrawGlowPicture(TGPGraphics& G, TGDIPPicture* Pic, Integer X, Integer Y, Integer W, Integer H) {
  if (Pic->HasSVG() || Pic->PictureFormat() != pfBMP) {
    Pic->DrawImageRect(&G, X, Y, W, H);
    return;
  }
  std::unique_ptr<TGPBitmap> image = DecodePictureBitmap(Pic->Data());
  if (!image || image->GetLastStatus() != Ok) return;
  const Integer iw = Integer(image->GetWidth()), ih = Integer(image->GetHeight());
  if (iw <= 0 || ih <= 0) return;
  ARGB key = 0;
  image->GetPixel(0, ih - 1, key);
  TGPImageAttributes attributes;
  attributes.SetColorKey(key, key);
  G.DrawImage(image.get(), GPRectF(Single(X), Single(Y), Single(W), Single(H)), 0, 0, Single(iw), Single(ih),
              UnitPixel, &attributes);
}

// DrawText's measurement of Text in Canvas's font within a box Width wide.
TRect GlowCalcText(TCanvas* Canvas, const String& Text, Integer Width, UINT Flags) {
  TRect r{0, 0, std::max<Integer>(Width, 1), 0};
  String t = Text;
  Canvas->TextRect(r, t, Flags | DT_CALCRECT);
  return r;
}

}  // namespace


TColor AdjustColorRGB(TColor Color, Integer PR, Integer PG, Integer PB) {
  TGlowChannels c = GlowSplit(Color);
  auto adj = [](Integer v, Integer p) {
    if (v == 0) return p > 0 ? p : 0;
    return std::min(255, GlowRound(v * std::min(100.0 + p, 100.0) / 100.0));
  };
  return GlowJoin(adj(c.R, PR), adj(c.G, PG), adj(c.B, PB));
}

TColor AdjustColor(TColor Color, Integer Percent) { return AdjustColorRGB(Color, Percent, Percent, Percent); }

TColor BlendColor(TColor Col1, TColor Col2, Integer Percent) {
  if (Percent >= 100) return Col1;
  if (Percent <= 0 || Col1 == clNone) return Col2;
  if (Col2 == clNone) return Col1;
  const double x = Percent / 100.0;
  TGlowChannels a = GlowSplit(Col1), b = GlowSplit(Col2);
  auto mix = [x](Integer c1, Integer c2) { return std::min(255, GlowRound(x * c1 + (1 - x) * c2)); };
  return GlowJoin(mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B));
}

Integer MinPositive(Integer A, Integer B) { return A > 0 && A < B ? A : B; }

void FillButtonHalf(TGPGraphics* G, const TRect& R, TColor C1, TColor C2, TGDIPGradient Kind, bool Upper) {
  if (C2 == clNone)
    C2 = C1;
  else if (C1 == clNone)
    C1 = C2;
  if (C1 == clNone) return;
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top;
  if (W <= 0 || H <= 0) return;
  const TGPRectF rf = GlowRectF(R);
  TGPSolidBrush solid(GlowARGB(Upper ? C1 : C2));
  G->FillRectangle(&solid, rf);
  if (Kind == ggRadial) {
    TGPGraphicsPath path;
    if (Upper)
      path.AddEllipse(Single(R.Left), Single(R.Top - H / 2 + 2), Single(W), Single(H));
    else
      path.AddEllipse(Single(R.Left), Single(R.Top), Single(W), Single(H));
    TGPPathGradientBrush brush(&path);
    brush.SetCenterPoint(TGPPoint{R.Left + W / 2, Upper ? R.Top : R.Bottom});
    brush.SetCenterColor(GlowARGB(Upper ? C2 : C1));
    ARGB surround = GlowARGB(Upper ? C1 : C2);
    Integer count = 1;
    brush.SetSurroundColors(&surround, count);
    G->FillRectangle(&brush, rf);
    return;
  }
  const GpLinearGradientMode mode = Kind == ggVertical            ? LinearGradientModeVertical
                                    : Kind == ggDiagonalForward   ? LinearGradientModeForwardDiagonal
                                                                  : LinearGradientModeBackwardDiagonal;
  TGPLinearGradientBrush brush(rf, GlowARGB(C1), GlowARGB(C2), mode);
  G->FillRectangle(&brush, rf);
}

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, const TRect& R, bool Horizontal) {
  if (Canvas == nullptr) return;
  if (Steps <= 0) Steps = 1;
  TGlowChannels f = GlowSplit(FromColor), t = GlowSplit(ToColor);
  const double span = Horizontal ? R.Right - R.Left : R.Bottom - R.Top;
  const double w = span / Steps;
  for (Integer i = 0; i < Steps; ++i) {
    const TColor c = GlowJoin(f.R + GlowRound(double(i) * (t.R - f.R) / Steps),
                              f.G + GlowRound(double(i) * (t.G - f.G) / Steps),
                              f.B + GlowRound(double(i) * (t.B - f.B) / Steps));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    Canvas->Brush()->SetStyle(bsSolid);
    const Integer a = GlowRound(i * w), b = a + GlowRound(w) + 1;
    if (Horizontal)
      Canvas->FillRect(TRect{R.Left + a, R.Top, R.Left + b, R.Bottom});
    else
      Canvas->FillRect(TRect{R.Left, R.Top + a, R.Right, std::min(R.Bottom, R.Top + b)});
  }
}

void DrawButtonBorder(TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H, Integer Radius) {
  TGPGraphicsPath path;
  GlowRoundedPath(path, Single(X), Single(Y), Single(W - X), Single(H - Y), Single(Radius));
  TGPPen pen(GlowARGB(Color), 1);
  G->DrawPath(&pen, &path);
}

void DrawFocusBorder(TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H, Integer Radius) {
  TGPGraphicsPath path;
  GlowRoundedPath(path, Single(X), Single(Y), Single(W - X), Single(H - Y), Single(std::max(Radius, 0)));
  TGPPen pen(GlowARGB(Color), 1);
  pen.SetDashStyle(DashStyleDot);
  G->DrawPath(&pen, &path);
}

void DrawLeftButtonBorder(TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H, Integer Radius) {
  TGPGraphicsPath path;
  const Single r = Single(Radius), d = 2 * r;
  path.AddLine(Single(W), Single(H), Single(X) + r, Single(H));
  if (r > 0) path.AddArc(Single(X), Single(H) - d, d, d, 90, 90);
  path.AddLine(Single(X), Single(H) - r, Single(X), Single(Y) + r);
  if (r > 0) path.AddArc(Single(X), Single(Y), d, d, 180, 90);
  path.AddLine(Single(X) + r, Single(Y), Single(W), Single(Y));
  TGPPen pen(GlowARGB(Color), 1);
  G->DrawPath(&pen, &path);
  GlowRightSeparator(G, Color, W, Y, H - Y);
}

void DrawLeftButtonBorderRotated(TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                                 Integer Radius) {
  TGPGraphicsPath path;
  const Single r = Single(Radius), d = 2 * r;
  path.AddLine(Single(W), Single(H), Single(X), Single(H));
  path.AddLine(Single(X), Single(H), Single(X), Single(Y) + r);
  if (r > 0) path.AddArc(Single(X), Single(Y), d, d, 180, 90);
  path.AddLine(Single(X) + r, Single(Y), Single(W) - r, Single(Y));
  if (r > 0) path.AddArc(Single(W) - d, Single(Y), d, d, 270, 90);
  path.AddLine(Single(W), Single(Y) + r, Single(W), Single(H));
  TGPPen pen(GlowARGB(Color), 1);
  G->DrawPath(&pen, &path);
  const Single yy = Single(GetScenicRibbonFlag() ? H - 2 : H);
  GlowLine(G, AdjustColor(Color, -5), Single(X), yy, Single(W), yy);
}

void DrawMiddleButtonBorder(TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H, bool HotOrDown) {
  GlowLine(G, Color, Single(X - 1), Single(H), Single(W), Single(H));
  GlowLine(G, Color, Single(X - 1), Single(Y), Single(W), Single(Y));
  GlowRightSeparator(G, Color, W, Y, H - Y);
  GlowLeftSeparator(G, Color, X, Y, H - Y, HotOrDown);
}

void DrawRightButtonBorder(TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H, Integer Radius,
                           bool HotOrDown) {
  TGPGraphicsPath path;
  const Single r = Single(Radius), d = 2 * r;
  path.AddLine(Single(X), Single(Y), Single(W) - r, Single(Y));
  if (r > 0) path.AddArc(Single(W) - d, Single(Y), d, d, 270, 90);
  path.AddLine(Single(W), Single(Y) + r, Single(W), Single(H) - r);
  if (r > 0) path.AddArc(Single(W) - d, Single(H) - d, d, d, 0, 90);
  path.AddLine(Single(W) - r, Single(H), Single(X), Single(H));
  TGPPen pen(GlowARGB(Color), 1);
  G->DrawPath(&pen, &path);
  GlowLeftSeparator(G, Color, X, Y, H - Y, HotOrDown);
}

void DrawRightButtonBorderRotated(TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                                  Integer Radius, bool HotOrDown) {
  TGPGraphicsPath path;
  const Single r = Single(Radius), d = 2 * r;
  path.AddLine(Single(X), Single(Y), Single(W), Single(Y));
  path.AddLine(Single(W), Single(Y), Single(W), Single(H) - r);
  if (r > 0) path.AddArc(Single(W) - d, Single(H) - d, d, d, 0, 90);
  path.AddLine(Single(W) - r, Single(H), Single(X) + r, Single(H));
  if (r > 0) path.AddArc(Single(X), Single(H) - d, d, d, 90, 90);
  path.AddLine(Single(X), Single(H) - r, Single(X), Single(Y));
  TGPPen pen(GlowARGB(Color), 1);
  G->DrawPath(&pen, &path);
  if (HotOrDown)
    GlowLine(G, AdjustColor(Color, -5), Single(X), Single(Y), Single(W), Single(Y));
  else
    GlowLine(G, AdjustColor(clWhite, -10), Single(X + 2), Single(Y), Single(W - 2), Single(Y));
}

void DrawChevronArrow(TControl* Button, TCanvas* Canvas, TPoint P, TColor Color, TDropDownDirection Direction) {
  const float s = Button != nullptr ? GetControlDPIScale(Button, Canvas) : 1.0f;
  TGPGraphics g(Canvas->Handle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  TGPPen pen(ColorToAlphaARGB(255, Color), 1.4f * s);
  const Integer e = GlowRound(2 * s) / 2;
  const Single x = Single(P.X + GlowRound(s) - e + 1), y = Single(P.Y - e + 1);
  switch (Direction) {
    case ddDown:
      g.DrawLine(&pen, x - 3 * s, y - 2 * s, x, y + s);
      g.DrawLine(&pen, x, y + s, x + 3 * s, y - 2 * s);
      break;
    case ddRight:
      g.DrawLine(&pen, x - 2 * s, y - 3 * s, x + s, y);
      g.DrawLine(&pen, x + s, y, x - 2 * s, y + 3 * s);
      break;
    case ddUp:
      g.DrawLine(&pen, x - 3 * s, y + s, x, y - 2 * s);
      g.DrawLine(&pen, x, y - 2 * s, x + 3 * s, y + s);
      break;
  }
}

void DrawDropDownArrow(TControl* Button, TCanvas* Canvas, TPoint P, TColor Color) {
  const float s = Button != nullptr ? GetControlDPIScale(Button, Canvas) : 1.0f;
  const Integer n = GlowRound(3 * s);
  const Integer x0 = P.X - n + 3, y0 = P.Y - n + 3;
  TGPGraphics g(Canvas->Handle());
  TGPPen pen(ColorToAlphaARGB(200, Color), 1);
  for (Integer i = 0; i < n; ++i)
    g.DrawLine(&pen, Single(x0 + i), Single(y0 + i), Single(x0 + 2 * n - i - 1), Single(y0 + i));
}

UINT GetHidePrefixFlag(TControl* Control) {
  TCustomForm* f = Control != nullptr ? GetParentForm(Control) : nullptr;
  if (f == nullptr || !f->HandleAllocated()) return 0;
  LRESULT state = f->Perform(WM_QUERYUISTATE, 0, 0);
  return (state & UISF_HIDEACCEL) != 0 ? DT_HIDEPREFIX : 0;
}

void DrawGlowButtonFace(const TGlowFaceParams& P, TPoint& SizeOut) {
  TRect R = P.R;
  TCanvas* canvas = P.Canvas;
  const float scale = GlowScale(P.Button);
  const Integer DDW = GlowRound(P.DropDownWidth * scale);
  const Integer half = (R.Bottom - R.Top) / 2;
  const Integer radius = P.Rounded ? 3 : 0;

  // 1. The drop-down part and the rest.
  TRect part, R2 = R;
  if (P.DropDownPosition == dpBottom) {
    part = TRect{R.Left, R.Bottom - DDW, R.Right, R.Bottom};
    if (P.DropDownButton && P.DropDownSplit) R2.Bottom = part.Top;
  } else {
    part = TRect{R.Right - DDW, R.Top, R.Right, R.Bottom};
    if (P.DropDownButton) R2.Right = part.Left;
  }

  // 2. Colours.
  TColor color = P.Color, colorTo = P.ColorTo, mirror = P.ColorMirror, mirrorTo = P.ColorMirrorTo;
  if (mirrorTo == clNone && mirror == clNone) mirrorTo = color;
  if (mirror == clNone) mirror = color;
  TGPGraphics g(canvas->Handle());

  // 3. Background (a measurement draws nothing).
  if (!P.MeasureOnly && (!P.NoBackground || P.DroppedDown || P.DownChecked)) {
    if (P.DropDownButton && P.Lit && P.DropDownSplit) {
      const bool mainHot = P.DropDownHot == 2;
      const TColor mc = mainHot ? color : AdjustColor(color, -10), mct = mainHot ? colorTo : AdjustColor(colorTo, -10);
      const TColor mm = mainHot ? mirror : AdjustColor(mirror, -10),
                   mmt = mainHot ? mirrorTo : AdjustColor(mirrorTo, -10);
      const TColor dc = mainHot ? AdjustColor(color, -10) : color, dct = mainHot ? AdjustColor(colorTo, -10) : colorTo;
      const TColor dm = mainHot ? AdjustColor(mirror, -10) : mirror,
                   dmt = mainHot ? AdjustColor(mirrorTo, -10) : mirrorTo;
      const TGDIPGradient partKind = mainHot ? P.Gradient : ggRadial;
      if (P.DropDownPosition == dpRight) {
        FillButtonHalf(&g, TRect{R.Left, R.Top + half - 1, R.Right - DDW, R.Bottom}, mmt, mm, P.GradientMirror, false);
        FillButtonHalf(&g, TRect{R.Left, R.Top, R.Right - DDW, R.Bottom - half}, mc, mct, P.Gradient, true);
        FillButtonHalf(&g, TRect{R.Right - DDW, R.Top + half - 1, R.Right, R.Bottom}, dmt, dm, P.GradientMirror, false);
        FillButtonHalf(&g, TRect{R.Right - DDW, R.Top, R.Right, R.Bottom - half}, dc, dct, partKind, true);
      } else {
        const Integer h2 = (R.Bottom - R.Top - DDW) / 2;
        FillButtonHalf(&g, TRect{R.Left, R.Top + h2 - 1, R.Right, R.Bottom - DDW}, mmt, mm, P.GradientMirror, false);
        FillButtonHalf(&g, TRect{R.Left, R.Top, R.Right, R.Bottom - DDW - h2}, mc, mct, P.Gradient, true);
        FillButtonHalf(&g, part, dc, dct, partKind, true);
      }
    } else {
      FillButtonHalf(&g, TRect{R.Left, R.Top + half - 1, R.Right, R.Bottom}, mirrorTo, mirror, P.GradientMirror, false);
      FillButtonHalf(&g, TRect{R.Left, R.Top, R.Right, R.Bottom - half}, color, colorTo, P.Gradient, true);
    }
  }

  // 4. Border.
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  if (!P.MeasureOnly && P.HasBorder && (!P.NoBorderDefault || P.MouseEnter || P.DroppedDown) &&
      (!P.NoBackground || P.DroppedDown || P.DownChecked) && P.BorderColor != clNone) {
    const Integer X = R.Left, Y = R.Top, W = R.Right - 1, H = R.Bottom - 1;
    const bool hotOrDown = P.MouseEnter || P.DownChecked;
    switch (P.Position) {
      case bpStandalone: DrawButtonBorder(&g, P.BorderColor, X, Y, W, H, radius); break;
      case bpLeft:
        if (P.IsRotated)
          DrawLeftButtonBorderRotated(&g, P.BorderColor, X, Y, W, H, radius);
        else
          DrawLeftButtonBorder(&g, P.BorderColor, X, Y, W, H, radius);
        break;
      case bpMiddle: DrawMiddleButtonBorder(&g, P.BorderColor, X, Y, W, H, hotOrDown); break;
      case bpRight:
        if (P.IsRotated)
          DrawRightButtonBorderRotated(&g, P.BorderColor, X, Y, W, H, radius, hotOrDown);
        else
          DrawRightButtonBorder(&g, P.BorderColor, X, Y, W, H, radius, hotOrDown);
        break;
    }
  }

  // 5. Focus frame.
  if (P.FocusFrame && !P.MeasureOnly) {
    DrawButtonBorder(&g, P.BorderColorFocused, R.Left + 1, R.Top + 1, R.Right - 3, R.Bottom - 3, radius);
    DrawFocusBorder(&g, 0x808080, R.Left + 2, R.Top + 2, R.Right - 5, R.Bottom - 5, radius);
  }
  g.SetSmoothingMode(SmoothingModeNone);

  // 6. Margins of the adjusted layouts.
  if (!P.MeasureOnly) {
    switch (P.Layout) {
      case blGlyphLeftAdjusted: R.Left += P.MarginHorz; break;
      case blGlyphRightAdjusted: R.Right -= P.MarginHorz; R2.Right -= P.MarginHorz; break;
      case blGlyphTopAdjusted: R.Top += P.MarginVert; break;
      case blGlyphBottomAdjusted: R.Bottom -= P.MarginVert; R2.Bottom -= P.MarginVert; break;
      default: break;
    }
  }
  const Integer Cw0 = R2.Right - R2.Left, Ch0 = R2.Bottom - R2.Top;
  const Integer S = P.Spacing;

  // 8. Glyph box.
  const bool picSize = P.PicSize.X > 0 && P.PicSize.Y > 0;
  Integer GW = 0, GH = 0;
  const bool hasGlyphBitmap = P.GlyphBitmap != nullptr && !P.GlyphBitmap->Empty() && P.GlyphBitmap->Width() > 1 &&
                              P.GlyphBitmap->Height() >= 2;
  const bool hasPicture = !hasGlyphBitmap && P.Picture != nullptr && !P.Picture->Empty();
  const bool hasImage = !hasGlyphBitmap && !hasPicture && P.ImageIndex >= 0 && P.Images != nullptr;
  if (hasGlyphBitmap) {
    GW = picSize ? P.PicSize.X : P.GlyphBitmap->Width();
    GH = picSize ? P.PicSize.Y : P.GlyphBitmap->Height();
  } else if (hasPicture) {
    if (!picSize) {
      P.Picture->GetImageSizes();
      GW = P.Picture->Width();
      GH = P.Picture->Height();
    } else {
      GW = GlowRound(P.PicSize.X * scale);
      GH = GlowRound(P.PicSize.Y * scale);
    }
  } else if (hasImage) {
    GW = P.Images->Width();
    GH = P.Images->Height();
  }

  String text = P.Caption.empty() ? P.WideCaption : P.Caption;
  const bool hasText = !text.empty();
  // 9. Spacing belongs to the glyph box when there is text beside it.
  if (P.DefaultCaptionDrawing && hasText) {
    if ((P.Layout == blGlyphLeft || P.Layout == blGlyphRight || P.Layout == blGlyphLeftAdjusted ||
         P.Layout == blGlyphRightAdjusted) && GW > 0)
      GW += S;
    if ((P.Layout == blGlyphTop || P.Layout == blGlyphTopAdjusted) && GH > 0) GH += S;
  }
  SizeOut = TPoint{GW, GH};

  const bool vertical = P.Layout == blGlyphTop || P.Layout == blGlyphBottom || P.Layout == blGlyphTopAdjusted ||
                        P.Layout == blGlyphBottomAdjusted;
  const bool horizontalText = P.Layout == blGlyphLeft || P.Layout == blGlyphRight || P.Layout == blGlyphLeftAdjusted ||
                              P.Layout == blGlyphRightAdjusted;
  String notes = P.Notes != nullptr ? Trim(P.Notes->Text()) : String();

  // 10-12. Text measuring. Without antialiasing the text goes the GDI way
  // (DrawText), for measuring and drawing alike.
  const bool gdiText = P.AntiAlias == aaNone;
  UINT gdiFlags = P.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
  if (!P.AlwaysShowAccel) gdiFlags |= GetHidePrefixFlag(P.Button);
  double TW = 0, TH = 0, NW = 0, NH = 0, TX = R.Left, NX = R.Left;
  std::unique_ptr<TGPFont> font, notesFont;
  std::unique_ptr<TGPStringFormat> format;
  if (hasText || P.MeasureOnly) {
    if (text.find(u'\\') != String::npos) text = GlowLineBreaks(text, picSize);
    if (P.MeasureOnly && text.empty()) text = u"!";
    font.reset(g.MakeFont(P.Font));
    if (P.NotesFont != nullptr) notesFont.reset(g.MakeFont(P.NotesFont));
    format = std::make_unique<TGPStringFormat>(P.WordWrap ? 0 : StringFormatFlagsNoWrap);
    format->SetAlignment(P.Layout == blGlyphLeftAdjusted    ? StringAlignmentNear
                         : P.Layout == blGlyphRightAdjusted ? StringAlignmentFar
                                                            : StringAlignmentCenter);
    format->SetLineAlignment(P.Layout == blGlyphTopAdjusted      ? StringAlignmentNear
                             : P.Layout == blGlyphBottomAdjusted ? StringAlignmentFar
                                                                 : StringAlignmentCenter);
    const bool hidden = GetHidePrefixFlag(P.Button) != 0 && !P.AlwaysShowAccel;
    format->SetHotkeyPrefix(hidden ? HotkeyPrefixHide : HotkeyPrefixShow);
    format->SetTrimming(P.Trimming);
    if (P.AntiAlias == aaClearType)
      g.SetTextRenderingHint(P.OnGlassQAT ? TextRenderingHintAntiAlias : TextRenderingHintClearTypeGridFit);
    else if (P.AntiAlias == aaAntiAlias)
      g.SetTextRenderingHint(TextRenderingHintAntiAlias);

    TGPRectF layout = P.MeasureOnly ? GPRectF(Single(R.Left), Single(R.Top),
                                              Single(P.MaxWidth > 0 ? P.MaxWidth : 4096),
                                              Single(P.MaxHeight > 0 ? P.MaxHeight : 4096))
                                    : GPRectF(Single(R.Left), Single(R.Top), Single(Cw0), Single(Ch0));
    if (horizontalText) layout.Width -= Single(S);
    if (gdiText) {
      // The GDI path measures as it draws: DrawText in the canvas's font.
      canvas->Font()->Assign(P.Font);
      const TRect t = GlowCalcText(canvas, text, GlowRound(layout.Width), gdiFlags);
      TW = t.Right - t.Left;
      TH = t.Bottom - t.Top;
      if (!notes.empty() && P.NotesFont != nullptr) {
        canvas->Font()->Assign(P.NotesFont);
        const TRect n = GlowCalcText(canvas, notes, GlowRound(layout.Width) - GW - P.MarginHorz,
                                     P.WordWrap ? UINT(DT_WORDBREAK) : 0u);
        NW = n.Right - n.Left;
        NH = n.Bottom - n.Top;
      }
      const Integer tw = std::max(GlowRound(TW), GlowRound(NW)), th = GlowRound(TH), nh = GlowRound(NH);
      switch (P.Layout) {
        case blGlyphTop: case blGlyphBottom: case blGlyphTopAdjusted: case blGlyphBottomAdjusted:
          SizeOut = TPoint{std::max(GlowRound(TW) + S, GW + S), th + GH + S};
          break;
        case blGlyphRight: case blGlyphRightAdjusted:
          SizeOut = TPoint{GlowRound(TW) + GW + S, std::max(th + S, GH + S)};
          break;
        default: SizeOut = TPoint{tw + GW + S, std::max(th + S + nh, GH + S)}; break;
      }
    } else {
      TGPRectF box{};
      g.MeasureString(text, -1, font.get(), layout, format.get(), box);
      TW = box.Width;
      TH = box.Height;
      TX = box.X;
      if (GW > 0) layout.Width -= Single(GW + S);
      if (!notes.empty() && notesFont) {
        TGPRectF nbox{};
        g.MeasureString(notes, -1, notesFont.get(), layout, format.get(), nbox);
        NW = nbox.Width;
        NH = nbox.Height;
        NX = nbox.X;
      }
      if (vertical)
        SizeOut = TPoint{std::max(GlowRound(TW) + S, GW + S), GlowRound(TH) + GH};
      else
        SizeOut = TPoint{std::max(GlowRound(TW), GlowRound(NW)) + GW + S,
                         std::max(GlowRound(TH) + S + GlowRound(NH), GH + S)};
    }
  }
  // 14. Measuring ends here.
  if (P.MeasureOnly) return;

  // 15. Layout.
  Integer Cw = Cw0, Ch = Ch0;
  double X0 = R.Left, Y0 = R.Top, W0 = Cw, H0 = Ch;
  auto centreX = [&] { return R.Left + std::max((Cw - GW) / 2, 0); };
  auto centreY = [&] { return R.Top + std::max((Ch - GH) / 2, 0); };
  Integer IX = centreX(), IY = centreY();
  switch (P.Layout) {
    case blGlyphLeft:
      X0 = R.Left + GW + 2;
      W0 = Cw - GW - 2;
      if (gdiText)
        IX = std::max(GlowRound(R.Right - (P.DropDownButton ? DDW : 0) - TW - GW) / 2 - 2, 2);
      else
        IX = std::max(GlowRound(std::min(TX, notes.empty() ? TX : NX) - GW / 2), 2);
      break;
    case blGlyphTop:
      Y0 = R.Top + GH;
      H0 = Ch - GH - 2;
      IY = std::max(R.Top + std::max(GlowRound(H0 - TH) / 2 / 2, 0) - (gdiText ? 4 : 0), 2);
      break;
    case blGlyphRight: {
      X0 = 2;
      W0 = Cw - GW - 4;
      const double A = notes.empty() ? TW : std::max(TW, NW);
      IX = std::max(GlowRound(W0 - A) / 2, 0) + GlowRound(A) + 4;
      if (Cw - GW < IX) IX = Cw - GW - 2;
      IX += S;
      break;
    }
    case blGlyphBottom:
      Y0 = 2;
      H0 = Ch - GH - 2;
      IY = std::max(GlowRound(H0 - TH) / 2, 0) + GlowRound(TH + (gdiText ? 5 : 2)) + S;
      if (Ch - GH < IY) IY = Ch - GH - 2;
      break;
    case blGlyphLeftAdjusted:
      X0 = R.Left + GW + 2;
      W0 = Cw - GW - P.MarginHorz - 2;
      IX = std::max(GlowRound(TX - GW / 2), 2);
      break;
    case blGlyphRightAdjusted:
      X0 = 2;
      W0 = Cw - GW - 4;
      IX = Cw - GW - 2 + S;
      break;
    case blGlyphTopAdjusted:
      Y0 = R.Top + GH;
      H0 = Ch - GH - 2;
      IY = std::max(R.Top, 2);
      break;
    case blGlyphBottomAdjusted:
      Y0 = 2;
      H0 = Ch - S - GH - (gdiText ? 2 : 0);
      IY = gdiText ? Ch - GH - 2 : std::max(Ch / 2, 0) + GlowRound(TH + 2);
      if (Ch - GH < IY) IY = Ch - GH - 2;
      break;
  }
  if (!hasText && (hasGlyphBitmap || hasPicture || hasImage)) {
    IX = centreX();
    IY = centreY();
  }
  if (P.OverlappedText) {
    X0 = R.Left;
    Y0 = R.Top;
    W0 = R.Right - R.Left;
    H0 = R.Bottom - R.Top;
  }

  // 16. A glyph bitmap under overlapped text.
  if (hasGlyphBitmap && P.DefaultPicDrawing && P.OverlappedText) canvas->Draw(IX, IY, P.GlyphBitmap);

  // 17. Text.
  if (P.DefaultCaptionDrawing && hasText && (font || gdiText)) {
    TColor textColor = P.Font->Color();
    if (gdiText) {
      const bool hasNotes = !notes.empty() && P.NotesFont != nullptr;
      canvas->Brush()->SetStyle(bsClear);
      TRect tr{GlowRound(X0), GlowRound(Y0), GlowRound(X0) + GlowRound(W0), GlowRound(Y0) + GlowRound(H0)};
      UINT flags = P.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
      switch (P.Layout) {
        case blGlyphLeft: flags |= DT_CENTER | (hasNotes ? 0u : UINT(DT_VCENTER)); break;
        case blGlyphTop: case blGlyphTopAdjusted: flags |= DT_CENTER; break;
        case blGlyphRight: case blGlyphBottom: flags |= DT_CENTER | DT_VCENTER; break;
        case blGlyphLeftAdjusted:
          tr.Left += 2;
          if (hasNotes)
            tr.Top = (tr.Bottom - tr.Top - GlowRound(TH) - GlowRound(NH)) / 2;
          else
            flags |= DT_VCENTER;
          break;
        case blGlyphRightAdjusted: flags |= DT_RIGHT | DT_VCENTER; break;
        case blGlyphBottomAdjusted: flags |= DT_CENTER | DT_BOTTOM; break;
      }
      if (P.WordWrap) {
        // DT_VCENTER centres single lines only: wrapped text is placed by its measured height.
        canvas->Font()->Assign(P.Font);
        Integer height = GlowCalcText(canvas, text, tr.Right - tr.Left, flags).Bottom;
        if (hasNotes && (P.Layout == blGlyphLeft || P.Layout == blGlyphLeftAdjusted)) {
          canvas->Font()->Assign(P.NotesFont);
          height += GlowCalcText(canvas, notes, tr.Right - tr.Left, flags).Bottom;
        }
        switch (P.Layout) {
          case blGlyphLeft: case blGlyphLeftAdjusted: tr.Top = (tr.Bottom - (tr.Top + height)) / 2; break;
          case blGlyphTop: tr.Top = IY + GH; break;
          case blGlyphTopAdjusted: break;
          case blGlyphBottomAdjusted: tr.Top = tr.Bottom - height; break;
          default: tr.Top = (tr.Bottom - tr.Top - height) / 2; break;
        }
      }
      if (!P.AlwaysShowAccel) flags |= GetHidePrefixFlag(P.Button);
      canvas->Font()->Assign(P.Font);
      if (!P.Enabled) canvas->Font()->SetColor(0x808080);
      TRect cr = tr;
      canvas->TextRect(cr, text, flags);
      if (hasNotes) {
        canvas->Font()->Assign(P.NotesFont);
        TRect nr{tr.Left, tr.Top + GlowRound(TH), tr.Right, tr.Top + GlowRound(TH) + GlowRound(NH)};
        String n = notes;
        canvas->TextRect(nr, n, flags & ~UINT(DT_VCENTER | DT_BOTTOM));
      }
    } else {
      TGPSolidBrush brush(GlowARGB(textColor));
      if (!notes.empty() && notesFont) {
        format->SetLineAlignment(StringAlignmentNear);
        Y0 = Y0 + (H0 - GlowRound(TH) - GlowRound(NH)) / 2;
        if (P.Layout == blGlyphTop || P.Layout == blGlyphBottom || P.Layout == blGlyphTopAdjusted) Y0 += GH;
      }
      TGPRectF tr = GPRectF(Single(X0 - 1), Single(Y0), Single(W0), Single(H0));
      g.DrawString(text, -1, font.get(), tr, format.get(), &brush);
      if (!notes.empty() && notesFont) {
        TGPSolidBrush nbrush(GlowARGB(P.NotesFont->Color()));
        TGPRectF nr = GPRectF(Single(X0 - 1), Single(Y0 + GlowRound(TH)), Single(W0), Single(H0));
        g.DrawString(notes, -1, notesFont.get(), nr, format.get(), &nbrush);
      }
    }
  }
  if (P.Layout == blGlyphLeftAdjusted) IX += P.MarginHorz;

  // 19. Glyph.
  if (P.DropDownButton) {
    if (P.DropDownPosition == dpBottom)
      Ch -= 8;
    else
      Cw -= DDW;
  }
  if (hasGlyphBitmap) {
    if (P.DefaultPicDrawing && !P.OverlappedText) {
      const Integer px = hasText ? IX : R.Left + std::max((Cw - GW) / 2, 0);
      const Integer py = hasText ? IY : R.Top + std::max((Ch - GH) / 2, 0);
      if (picSize) {
        // Stretched into the asked size, its bottom-left colour transparent.
        TBitmap stretched;
        stretched.Assign(P.GlyphBitmap);
        stretched.SetTransparent(true);
        canvas->StretchDraw(TRect{px, py, px + GW, py + GH}, &stretched);
      } else {
        canvas->Draw(px, py, P.GlyphBitmap);
      }
    }
  } else if (hasPicture) {
    const Integer px = hasText ? IX : R.Left + std::max((Cw - GW) / 2, 0);
    const Integer py = hasText ? IY : R.Top + std::max((Ch - GH) / 2, 0);
    if (picSize)
      DrawGlowPicture(g, P.Picture, px, py, GW, GH);
    else if (!hasText && P.Icon != nullptr && !P.Icon->Empty())
      DrawIconEx(canvas->Handle(), px, py, P.Icon->Handle(), GW, GH, 0, nullptr, DI_NORMAL);
    else
      DrawGlowPicture(g, P.Picture, px, py, MinPositive(Cw, GW), MinPositive(hasText ? Ch : Cw, GH));
  } else if (hasImage) {
    const Integer px = hasText ? IX : R.Left + std::max((Cw - GW) / 2, 0);
    const Integer py = hasText ? IY : R.Top + std::max((Ch - GH) / 2, 0);
    if (!P.ImgEnabled && P.DisabledImages != nullptr)
      P.DisabledImages->Draw(canvas, px, py, P.ImageIndex, true);
    else
      P.Images->Draw(canvas, px, py, P.ImageIndex, P.ImgEnabled);
  }

  // 20. Drop-down part.
  if (P.DropDownButton) {
    canvas->Brush()->SetStyle(bsClear);
    if ((P.Lit || GlobalDrawSplitLineAlways) && P.DropDownSplit && P.BorderColor != clNone) {
      canvas->Pen()->SetColor(P.BorderColor);
      if (P.DropDownPosition == dpRight) {
        canvas->MoveTo(part.Left, part.Top);
        canvas->LineTo(part.Left, part.Bottom);
      } else {
        canvas->MoveTo(part.Left, part.Top);
        canvas->LineTo(part.Right, part.Top);
      }
    }
    const Integer w3 = GlowRound(scale * (P.DropDownDirection == ddDown ? 3 : 5));
    TPoint ap{part.Left + (part.Right - part.Left - w3) / 2, part.Top + (part.Bottom - part.Top - 3) / 2 + 1};
    const TColor ac = P.Enabled ? P.Font->Color() : TColor(0x808080);
    if (P.OnGlassQAT || (GetGlassFlag() && GetScenicRibbonFlag()))
      DrawDropDownArrow(P.Button, canvas, ap, ac);
    else
      DrawChevronArrow(P.Button, canvas, ap, ac, P.DropDownDirection);
  }
}

}  // namespace glowpaint
