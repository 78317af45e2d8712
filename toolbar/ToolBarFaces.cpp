#include "toolbar/ToolBarFaces.h"

#include <algorithm>
#include <memory>

#include "foundation/pictures/GDIPPicture.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/ToolBarText.h"
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
  glowpaint::FillButtonHalf(Graphics, R, C1, C2, Kind, Upper);
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


namespace {

// What a face shows besides its background: caption, picture or image, and
// the drop-down part.
struct TFaceContent {
  TFont* Font;
  const String& Caption;
  TAntiAlias TextRendering;
  bool Enabled;
  TGDIPPicture* Picture;
  TCustomImageList* ImageList;
  Integer ImageIndex;
  bool ImageEnabled;
  Integer Layout;
  bool DropDownButton, DropDownSplit, DropDownBelow;
  TColor BorderColor;
};

TPoint FacePictureSize(const TFaceContent& C) {
  if (C.Picture != nullptr && !C.Picture->Empty()) return TPoint{C.Picture->Width(), C.Picture->Height()};
  if (C.ImageList != nullptr && C.ImageIndex >= 0 && C.ImageIndex < C.ImageList->Count())
    return TPoint{C.ImageList->Width(), C.ImageList->Height()};
  return TPoint{0, 0};
}

// The caption's size as the face measures it (GDI+ unless TextRendering is
// aaNone); nothing is painted.
TPoint FaceCaptionSize(TCanvas* Canvas, const TFaceContent& C) {
  if (C.Caption.empty() || C.Font == nullptr) return TPoint{0, 0};
  TRect r{};
  DrawGlowTextOnDC(Canvas->Handle(), C.Caption, String(), C.Font, GPRectF(0, 0, 1000, 100), taLeftJustify,
                   C.TextRendering, true, false, clNone, false, r);
  return TPoint{r.Right - r.Left, r.Bottom - r.Top};
}

void FaceCaption(TCanvas* Canvas, TGPGraphics* G, const TFaceContent& C, const TRect& R) {
  if (C.Caption.empty() || C.Font == nullptr || R.Right <= R.Left || R.Bottom <= R.Top) return;
  if (C.TextRendering == aaNone) {
    Canvas->Font()->Assign(C.Font);
    if (!C.Enabled) Canvas->Font()->SetColor(TColor(0x808080));
    Canvas->Brush()->SetStyle(bsClear);
    TRect r = R;
    String text = C.Caption;
    Canvas->TextRect(r, text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    return;
  }
  std::unique_ptr<TGPFont> font(G->MakeFont(C.Font));
  TGPStringFormat format(0);
  format.SetAlignment(StringAlignmentCenter);
  format.SetLineAlignment(StringAlignmentCenter);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  G->SetTextRenderingHint(C.TextRendering == aaClearType ? TextRenderingHintClearTypeGridFit
                                                         : TextRenderingHintAntiAlias);
  TGPSolidBrush brush(ColorToARGB(C.Enabled ? C.Font->Color() : TColor(0x808080)));
  G->DrawString(C.Caption, -1, font.get(),
                GPRectF(Single(R.Left), Single(R.Top), Single(R.Right - R.Left), Single(R.Bottom - R.Top)), &format,
                &brush);
}

void FacePicture(TCanvas* Canvas, TGPGraphics* G, const TFaceContent& C, TPoint P) {
  if (C.Picture != nullptr && !C.Picture->Empty())
    DrawPicture(G, Canvas, P, false, C.Picture);
  else
    DrawImageListImage(G, Canvas, P, C.ImageIndex, C.ImageEnabled, C.ImageList);
}

// Caption, picture and drop-down part over R; MenuArrow draws the Vista
// face's smoothed arrow instead of the plain three-line one.
void DrawFaceContent(TCanvas* Canvas, TGPGraphics* G, const TRect& R, const TFaceContent& C, bool MenuArrow) {
  const Integer dd = C.DropDownButton ? GlyphRound(14 * ToolBarDPIScale) : 0;
  const Integer trim = C.DropDownButton ? GlyphRound(8 * ToolBarDPIScale) : 0;
  TRect area = R, drop = R, picArea = R;
  if (C.DropDownButton) {
    if (C.DropDownBelow) {
      area.Bottom = drop.Top = R.Bottom - dd;
      picArea.Bottom -= trim;
    } else {
      area.Right = drop.Left = R.Right - dd;
      picArea.Right -= trim;
    }
  }
  const TPoint pic = FacePictureSize(C);
  const bool hasPicture = pic.X > 0 && pic.Y > 0;
  if (C.Caption.empty() || C.Font == nullptr) {
    if (hasPicture)
      FacePicture(Canvas, G, C,
                  TPoint{picArea.Left + std::max<Integer>((picArea.Right - picArea.Left - pic.X) / 2, 0),
                         picArea.Top + std::max<Integer>((picArea.Bottom - picArea.Top - pic.Y) / 2, 0)});
  } else {
    TRect text = area;
    if (hasPicture) {
      const Integer cx = area.Left + std::max<Integer>((area.Right - area.Left - pic.X) / 2, 0);
      const Integer cy = area.Top + std::max<Integer>((area.Bottom - area.Top - pic.Y) / 2, 0);
      constexpr Integer m = 2;
      TPoint at{cx, cy};
      switch (C.Layout) {
        case 1: at.Y = area.Top + m; text.Top = at.Y + pic.Y + m; break;
        case 2: at.X = area.Right - m - pic.X; text.Right = at.X - m; break;
        case 3: at.Y = area.Bottom - m - pic.Y; text.Bottom = at.Y - m; break;
        default: at.X = area.Left + m; text.Left = at.X + pic.X + m; break;
      }
      FacePicture(Canvas, G, C, at);
    }
    FaceCaption(Canvas, G, C, text);
  }
  if (!C.DropDownButton) return;
  if (C.DropDownSplit && C.BorderColor != clNone) {
    if (C.DropDownBelow)
      FaceLine(G, C.BorderColor, Single(drop.Left), Single(drop.Top), Single(drop.Right - 1), Single(drop.Top));
    else
      FaceLine(G, C.BorderColor, Single(drop.Left), Single(drop.Top), Single(drop.Left), Single(drop.Bottom - 1));
  }
  const TColor arrow = C.Enabled ? clBlack : TColor(0x808080);
  const Integer x = drop.Left + (drop.Right - drop.Left - 5) / 2, y = drop.Top + (drop.Bottom - drop.Top - 3) / 2 + 1;
  if (MenuArrow) {
    DrawMenuArrow(Canvas, TPoint{x, y}, arrow, true, clWhite);
    return;
  }
  Canvas->Pen()->SetColor(arrow);
  Canvas->Pen()->SetWidth(1);
  GlyphLine(Canvas, x, y, x + 5, y);
  GlyphLine(Canvas, x + 1, y + 1, x + 4, y + 1);
  Canvas->SetPixels(x + 2, y + 2, arrow);
}

// The content's size as the Vista face reports it.
TPoint FaceContentSize(TCanvas* Canvas, const TFaceContent& C, Integer Spacing) {
  TPoint size = FacePictureSize(C);
  if (size.X != 0) size.X += Spacing;
  if (C.Caption.empty() || C.Font == nullptr) return size;
  const TPoint text = FaceCaptionSize(Canvas, C);
  return TPoint{text.X + size.X + Spacing, std::max(text.Y + Spacing, size.Y + Spacing)};
}

GpLinearGradientMode FaceGradientMode(TGDIPGradient Kind) {
  return Kind == ggDiagonalForward    ? LinearGradientModeForwardDiagonal
         : Kind == ggDiagonalBackward ? LinearGradientModeBackwardDiagonal
                                      : LinearGradientModeVertical;
}

// A GDI+ fill of (X, Y, W, H) cut to Clip, so a face never paints below or
// beside its rectangle.
void FaceFill(TGPGraphics* G, TGPBrush* Brush, Single X, Single Y, Single W, Single H, const TRect& Clip) {
  const Single right = std::min(X + W, Single(Clip.Right)), bottom = std::min(Y + H, Single(Clip.Bottom));
  if (right <= X || bottom <= Y) return;
  TPixelExact exact(G);
  G->FillRectangle(Brush, X, Y, right - X, bottom - Y);
}

// A gradient end in clNone takes the other end's colour.
TColor FaceEnd(TColor Color, TColor Other) { return Color == clNone ? Other : Color; }

void FaceSolid(TCanvas* Canvas, const TRect& R, TColor Color) {
  if (Color == clNone || R.Right <= R.Left || R.Bottom <= R.Top) return;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

}  // namespace

void DrawVistaButtonFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                         TButtonPosition Position, bool Hot, bool Transparent, bool Enabled, bool Rounded,
                         bool DrawBorder, bool Focused, TFont* Font, const String& Caption, Integer Spacing,
                         TAntiAlias TextRendering, TGDIPPicture* Picture, TCustomImageList* ImageList,
                         Integer ImageIndex, bool ImageEnabled, Integer Layout, bool DropDownButton,
                         bool DropDownSplit, bool DropDownBelow, TPoint& ContentSize) {
  ContentSize = TPoint{0, 0};
  if (Canvas == nullptr) return;
  DrawVistaButtonFace(Canvas, R, Color, ColorTo, ColorMirror, ColorMirrorTo, BorderColor, Gradient, GradientMirror,
                      Position, Hot, Transparent, Enabled, Rounded, DrawBorder, Focused);
  const TFaceContent content{Font,       Caption,      TextRendering, Enabled,        Picture,
                             ImageList,  ImageIndex,   ImageEnabled,  Layout,         DropDownButton,
                             DropDownSplit, DropDownBelow, BorderColor};
  ContentSize = FaceContentSize(Canvas, content, Spacing);
  TGPGraphics g(Canvas->Handle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  DrawFaceContent(Canvas, &g, R, content, true);
}

void DrawGlowButtonFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                        TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                        bool Rounded, bool Focused, bool Enabled, TAntiAlias TextRendering, TFont* Font,
                        const String& Caption, TGDIPPicture* Picture, TCustomImageList* ImageList, Integer ImageIndex,
                        bool ImageEnabled, Integer Layout, bool DropDownButton, bool DropDownSplit,
                        bool DropDownBelow) {
  if (Canvas == nullptr) return;
  const Integer w = R.Right - R.Left, h = R.Bottom - R.Top;
  if (w <= 0 || h <= 0) return;
  Integer hh = h / 2;
  TGPGraphics g(Canvas->Handle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  const Single x = Single(R.Left), y = Single(R.Top);

  if (ColorTo == clNone && ColorMirror == clNone) {
    // Flat: shifted one pixel left, so a square face shows no left edge.
    if (Color != clNone) {
      TGPSolidBrush solid(ColorToARGB(Color));
      TPixelExact exact(&g);
      g.FillRectangle(&solid, x - 1, y, Single(w), Single(h));
    }
    if (BorderColor == clNone) return;
    TGPPen pen(ColorToARGB(BorderColor), 1);
    if (Rounded)
      DrawRoundRect(&g, &pen, x, y, Single(w - 1), Single(h - 1), 3);
    else
      DrawRectPath(&g, &pen, x - 2, y, Single(w + 1), Single(h - 1));
    return;
  }

  // Lower half: solid, then its gradient.
  FaceSolid(Canvas, TRect{R.Left, R.Top + hh, R.Right, R.Bottom}, ColorMirror);
  if (ColorMirror != clNone || ColorMirrorTo != clNone) {
    const TColor from = FaceEnd(ColorMirror, ColorMirrorTo), to = FaceEnd(ColorMirrorTo, ColorMirror);
    if (GradientMirror == ggRadial) {
      TGPGraphicsPath path;
      path.AddEllipse(x, y + Single(hh), Single(w), Single(h));
      TGPPathGradientBrush brush(&path);
      brush.SetCenterPoint(TGPPoint{R.Left + w / 2, R.Bottom});
      brush.SetCenterColor(ColorToARGB(to));
      ARGB surround = ColorToARGB(from);
      Integer count = 1;
      brush.SetSurroundColors(&surround, count);
      FaceFill(&g, &brush, x + 1, y + Single(hh), Single(w - 1), Single(hh + 1), R);
    } else {
      TGPLinearGradientBrush brush(GPRectF(x, y + Single(hh), Single(w), Single(std::max(hh, 1))),
                                   ColorToARGB(from), ColorToARGB(to),
                                   FaceGradientMode(GradientMirror));
      FaceFill(&g, &brush, x + 1, y + Single(hh + 1), Single(w - 1), Single(hh + 1), R);
    }
  }

  // Upper half: solid, then its gradient.
  FaceSolid(Canvas, TRect{R.Left, R.Top, R.Right, R.Top + hh}, Color);
  if (h % 2 != 0) ++hh;
  if (Color != clNone || ColorTo != clNone) {
    const TColor from = FaceEnd(Color, ColorTo), to = FaceEnd(ColorTo, Color);
    if (Gradient == ggRadial) {
      TGPGraphicsPath path;
      path.AddEllipse(x, y - Single(hh), Single(w), Single(h));
      TGPPathGradientBrush brush(&path);
      brush.SetCenterPoint(TGPPoint{R.Left + w / 2, R.Top});
      brush.SetCenterColor(ColorToARGB(to));
      ARGB surround = ColorToARGB(from);
      Integer count = 1;
      brush.SetSurroundColors(&surround, count);
      FaceFill(&g, &brush, x + 1, y + 1, Single(w - 1), Single(h - hh - 1), R);
    } else {
      const TGPRectF over = Gradient == ggVertical ? GPRectF(x, y, Single(w), Single(std::max(hh, 1)))
                                                   : GPRectF(x, y, Single(w), Single(h));
      TGPLinearGradientBrush brush(over, ColorToARGB(from), ColorToARGB(to), FaceGradientMode(Gradient));
      FaceFill(&g, &brush, x + 1, y + 1, Single(w - 1), Single(h - hh - 1), R);
    }
  }

  if (BorderColor != clNone) {
    TGPPen pen(ColorToARGB(BorderColor), 1);
    if (Rounded)
      DrawRoundRect(&g, &pen, x, y, Single(w - 1), Single(h - 1), 3);
    else
      DrawRectPath(&g, &pen, x, y, Single(w - 1), Single(h - 1));
  }
  if (Focused) {
    // The face's own size, so a face anywhere on the canvas gets its frame.
    DrawButtonBorder(&g, TColor(0xE4AD89), R.Left + 1, R.Top + 1, w - 3, h - 3, 3);
    DrawFocusBorder(&g, TColor(0x808080), R.Left + 2, R.Top + 2, w - 5, h - 5, 3);
  }
  const TFaceContent content{Font,          Caption,       TextRendering, Enabled,        Picture,
                             ImageList,     ImageIndex,    ImageEnabled,  Layout,         DropDownButton,
                             DropDownSplit, DropDownBelow, BorderColor};
  DrawFaceContent(Canvas, &g, R, content, false);
}

void DrawGlowFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                  TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                  bool Rounded, bool Focused, bool Enabled, TAntiAlias TextRendering, TFont* Font,
                  const String& Caption) {
  DrawGlowButtonFace(Canvas, R, Color, ColorTo, ColorMirror, ColorMirrorTo, BorderColor, Gradient, GradientMirror,
                     Rounded, Focused, Enabled, TextRendering, Font, Caption, nullptr, nullptr, -1, true, 0, false,
                     false, false);
}

}  // namespace toolbar
