#include "toolbar/ToolBarDraw.h"

#include <algorithm>
#include <memory>

#include "controls/AdvOfficeStatusBar.h"
#include "foundation/gdiplus/LookFlags.h"
#include "foundation/gdiplus/PictureDecode.h"
#include "foundation/svg/AdvSVGBitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

using namespace gdiplus;

namespace {

Integer RoundI(double v) { return Integer(Round(v)); }

struct TChannels {
  Integer R, G, B;
};

TChannels Split(TColor c) {
  const TColor v = ColorToRGB(c);
  return {Integer(v & 0xFF), Integer((v >> 8) & 0xFF), Integer((v >> 16) & 0xFF)};
}

TColor Join(Integer r, Integer g, Integer b) { return TColor(r | (g << 8) | (b << 16)); }

// One vertical gradient rectangle from TopARGB to BottomARGB.
void FillVertical(HDC DC, Single X, Single Y, Single W, Single H, ARGB Top, ARGB Bottom) {
  if (W <= 0 || H <= 0) return;
  TGPGraphics g(DC);
  const TGPRectF r = GPRectF(X, Y, W, H);
  TGPLinearGradientBrush brush(r, Top, Bottom, LinearGradientModeVertical);
  g.FillRectangle(&brush, r);
}

// The caller's graphics, or one of our own on the canvas (anti-aliased).
class TGraphicsOrOwn {
 public:
  TGraphicsOrOwn(TGPGraphics* Graphics, TCanvas* Canvas) : FG(Graphics) {
    if (FG == nullptr && Canvas != nullptr) {
      FOwn = std::make_unique<TGPGraphics>(Canvas->Handle());
      FOwn->SetSmoothingMode(SmoothingModeAntiAlias);
      FG = FOwn.get();
    }
  }
  TGPGraphics* Get() const { return FG; }

 private:
  TGPGraphics* FG;
  std::unique_ptr<TGPGraphics> FOwn;
};

// Pixels one picture drawn here may hold (the picture budget of the
// graphics layer: 32 Mi, far beyond any button image).
constexpr Int64 kMaxDrawPixels = Int64(1) << 25;

// Sizes a picture declares, checked before anything of that size is made.
void CheckPictureSize(Int64 W, Int64 H) {
  if (W > 0 && H > 0 && W * H > kMaxDrawPixels) throw Exception(u"Could not allocate memory for image");
}

// A picture that cannot be had is the picture's fault, not the painter's:
// report it the way the message loop reports exceptions and go on painting.
void ReportPictureFailure() {
  if (Application != nullptr) Application->HandleException(nullptr);
}

// The bitmap decoded from Data drawn at P at its size, the colour at Key
// (when given) left out.
void DrawDecoded(TGPGraphics* G, const TBytes& Data, TPoint P, const TPoint* Key) {
  std::unique_ptr<TGPBitmap> image = DecodePictureBitmap(Data);
  if (!image || image->GetLastStatus() != Ok) return;
  const Integer w = Integer(image->GetWidth()), h = Integer(image->GetHeight());
  if (w <= 0 || h <= 0) return;
  const TGPRectF dest = GPRectF(Single(P.X), Single(P.Y), Single(w), Single(h));
  TPixelExact exact(G);
  if (Key == nullptr) {
    G->DrawImage(image.get(), dest);
    return;
  }
  ARGB key = 0;
  if (image->GetPixel(Key->X, Key->Y, key) != Ok) return;
  key |= 0xFF000000u;  // the key is the opaque colour
  TGPImageAttributes attributes;
  attributes.SetColorKey(key, key);
  G->DrawImage(image.get(), dest, 0, 0, Single(w), Single(h), UnitPixel, &attributes);
}

bool IsPngData(const TBytes& Data) {
  static const Byte kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return Data.size() >= sizeof(kSignature) && std::equal(std::begin(kSignature), std::end(kSignature), Data.begin());
}

}  // namespace

TPixelExact::TPixelExact(TGPGraphics* Graphics) : FGraphics(Graphics) {
  if (FGraphics == nullptr) return;
  GdipGetPixelOffsetMode(FGraphics->nativeGraphics, &FOld);
  GdipSetPixelOffsetMode(FGraphics->nativeGraphics, PixelOffsetModeHalf);
}

TPixelExact::~TPixelExact() {
  if (FGraphics != nullptr) GdipSetPixelOffsetMode(FGraphics->nativeGraphics, FOld);
}

void DrawAlphaBox(HDC DC, const TRect& R, TColor Color, TColor BorderColor) {
  const Single w = Single(R.Right - R.Left), h = Single(R.Bottom - R.Top);
  if (Color != clNone)
    FillVertical(DC, Single(R.Left), Single(R.Top), w, h + 1, ColorToAlphaARGB(150, Color),
                 ColorToAlphaARGB(200, Color));
  if (BorderColor == clNone) return;
  TGPGraphics g(DC);
  TGPPen pen(ColorToAlphaARGB(255, BorderColor), 1);
  g.DrawRectangle(&pen, Single(R.Left), Single(R.Top - 1), w, h + 1);
}

void FillAlphaShade(HDC DC, const TRect& R, TColor Color) {
  if (Color == clNone) return;
  FillVertical(DC, Single(R.Left), Single(R.Top), Single(R.Right - R.Left), Single(R.Bottom - R.Top),
               ColorToAlphaARGB(5, Color), ColorToAlphaARGB(130, Color));
}

void FillAlphaGradient(HDC DC, const TRect& R, TColor Color, Byte AlphaTop, Byte AlphaBottom) {
  FillAlphaGradientColors(DC, R, Color, Color, AlphaTop, AlphaBottom);
}

void FillAlphaGradientColors(HDC DC, const TRect& R, TColor ColorTop, TColor ColorBottom, Byte AlphaTop,
                             Byte AlphaBottom) {
  if (ColorTop == clNone && ColorBottom == clNone) return;
  if (ColorTop == clNone) ColorTop = ColorBottom;
  if (ColorBottom == clNone) ColorBottom = ColorTop;
  FillVertical(DC, Single(R.Left), Single(R.Top), Single(R.Right - R.Left), Single(R.Bottom - R.Top + 1),
               ColorToAlphaARGB(AlphaTop, ColorTop), ColorToAlphaARGB(AlphaBottom, ColorBottom));
}

void FillAlphaGradientFade(HDC DC, const TRect& R, TColor Color, Byte AlphaTop, Byte AlphaBottom) {
  if (Color == clNone) return;
  const Single y = Single(R.Top), h = Single(R.Bottom - R.Top + 1);
  FillVertical(DC, Single(R.Left), y, Single(R.Right - R.Left - 40), h, ColorToAlphaARGB(AlphaTop, Color),
               ColorToAlphaARGB(AlphaBottom, Color));
  Integer top = AlphaTop, bottom = AlphaBottom;
  for (Integer i = 0; i < 18; ++i) {
    FillVertical(DC, Single(R.Right - 40 + 2 * i), y, 2, h, ColorToAlphaARGB(Byte(top), Color),
                 ColorToAlphaARGB(Byte(bottom), Color));
    top = top <= 9 ? 0 : top - 10;
    bottom = bottom <= 11 ? 0 : bottom - 12;
  }
}

void FillGlowHighlight(HDC DC, const TRect& R) {
  FillVertical(DC, Single(R.Left), Single(R.Top), Single(R.Right - R.Left), Single(R.Bottom - R.Top),
               ComposeARGB(8, 255, 255, 100), ComposeARGB(128, 255, 255, 100));
}

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, const TRect& R, bool Horizontal) {
  if (Canvas == nullptr || (FromColor == clNone && ToColor == clNone)) return;
  if (FromColor == clNone) FromColor = ToColor;
  if (ToColor == clNone) ToColor = FromColor;
  if (Steps <= 0) Steps = 1;
  const TChannels f = Split(FromColor), t = Split(ToColor);
  // Positions are computed in full integers (the band at 40000 px stays at
  // 40000 px) and the colour runs to ToColor over the last band.
  const double d = double(Horizontal ? R.Right - 1 - R.Left : R.Bottom - 1 - R.Top) / Steps;
  const Integer last = Steps > 1 ? Steps - 1 : 1;
  Canvas->Brush()->SetStyle(bsSolid);
  for (Integer n = 0; n < Steps; ++n) {
    const TColor c = Join(f.R + RoundI(double(n) * (t.R - f.R) / last), f.G + RoundI(double(n) * (t.G - f.G) / last),
                          f.B + RoundI(double(n) * (t.B - f.B) / last));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    const Integer p = RoundI(n * d), e = p + RoundI(d) + 1;
    if (Horizontal)
      Canvas->FillRect(TRect{R.Left + p, R.Top, std::min(R.Right, R.Left + e), R.Bottom});
    else
      Canvas->FillRect(TRect{R.Left, R.Top + p, R.Right, std::min(R.Bottom, R.Top + e)});
  }
}

void DrawBevelLine(TCanvas* Canvas, TPoint P1, TPoint P2, bool Vertical, bool Raised) {
  if (Canvas == nullptr) return;
  const TColor first = Raised ? TColor(0xFFFFFF) : clBtnShadow;
  const TColor second = Raised ? clBtnShadow : TColor(0xFFFFFF);
  Canvas->Pen()->SetColor(first);
  if (Vertical) {
    Canvas->MoveTo(P1.X - 1, P1.Y - 1);
    Canvas->LineTo(P2.X - 1, P2.Y);
    Canvas->LineTo(P2.X + 1, P2.Y);
    Canvas->Pen()->SetColor(second);
    Canvas->MoveTo(P2.X + 1, P2.Y);
    Canvas->LineTo(P2.X + 1, P1.Y);
    Canvas->LineTo(P2.X - 1, P1.Y);
  } else {
    Canvas->MoveTo(P1.X - 1, P1.Y + 1);
    Canvas->LineTo(P1.X - 1, P1.Y - 1);
    Canvas->LineTo(P2.X + 1, P2.Y - 1);
    Canvas->Pen()->SetColor(second);
    Canvas->MoveTo(P2.X + 1, P2.Y - 1);
    Canvas->LineTo(P2.X + 1, P2.Y + 1);
    Canvas->LineTo(P1.X, P1.Y + 1);
  }
}

void DrawPathLine(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single DX, Single DY) {
  if (Graphics == nullptr || Pen == nullptr) return;
  TGPGraphicsPath path;
  path.AddLine(X, Y, X + DX, Y + DY);
  path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

void DrawColorLine(HDC DC, TColor Color, Single X, Single Y, Single DX, Single DY) {
  if (Color == clNone) return;
  TGPGraphics g(DC);
  TGPPen pen(ColorToARGB(Color), 1);
  g.DrawLine(&pen, X, Y, X + DX, Y + DY);
}

void DrawArc(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single W, Single H, Single StartAngle,
             Single SweepAngle, bool Close) {
  if (Graphics == nullptr || Pen == nullptr) return;
  TGPGraphicsPath path;
  path.AddArc(X, Y, W, H, StartAngle, SweepAngle);
  if (Close) path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

void AddRoundRectPath(TGPGraphicsPath& Path, Single X, Single Y, Single W, Single H, Single Radius) {
  const Single r = Radius, d = 2 * Radius;
  Path.AddLine(X + r, Y, X + W - d, Y);
  if (r > 0) Path.AddArc(X + W - d, Y, d, d, 270, 90);
  Path.AddLine(X + W, Y + r, X + W, Y + H - d);
  if (r > 0) Path.AddArc(X + W - d, Y + H - d, d, d, 0, 90);
  Path.AddLine(X + W - d, Y + H, X + r, Y + H);
  if (r > 0) Path.AddArc(X, Y + H - d, d, d, 90, 90);
  Path.AddLine(X, Y + H - d, X, Y + r);
  if (r > 0) Path.AddArc(X, Y, d, d, 180, 90);
  Path.CloseFigure();
}

void DrawRoundRect(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single W, Single H, Single Radius) {
  if (Graphics == nullptr || Pen == nullptr) return;
  TGPGraphicsPath path;
  AddRoundRectPath(path, X, Y, W, H, Radius);
  Graphics->DrawPath(Pen, &path);
}

void DrawRectPath(TGPGraphics* Graphics, TGPPen* Pen, Single X, Single Y, Single W, Single H) {
  if (Graphics == nullptr || Pen == nullptr) return;
  TGPGraphicsPath path;
  path.AddLine(X, Y, X + W, Y);
  path.AddLine(X + W, Y, X + W, Y + H);
  path.AddLine(X + W, Y + H, X, Y + H);
  path.AddLine(X, Y + H, X, Y);
  path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

void DrawRectOutline(TGPGraphics* Graphics, TCanvas* Canvas, TColor Color, const TRect& R) {
  if (Color == clNone) return;
  TGraphicsOrOwn g(Graphics, Canvas);
  if (g.Get() == nullptr) return;
  TGPPen pen(ColorToARGB(Color), 1);
  DrawRectPath(g.Get(), &pen, Single(R.Left), Single(R.Top), Single(R.Right - R.Left), Single(R.Bottom - R.Top));
}

void DrawDropDownArrow(TGPGraphics* Graphics, TCanvas* Canvas, TColor Color, TPoint P) {
  if (Color == clNone) return;
  TGraphicsOrOwn g(Graphics, Canvas);
  if (g.Get() == nullptr) return;
  TGPGraphicsPath path;
  const Single x = Single(P.X), y = Single(P.Y);
  path.AddLine(x, y, x + 5, y);
  path.AddLine(x + 1, y + 1, x + 4, y + 1);
  path.AddLine(x + 2, y + 2, x + 2, y + 2);
  path.CloseFigure();
  TGPPen pen(ColorToARGB(Color), 1);
  g.Get()->DrawPath(&pen, &path);
}

void DrawVistaGradient(TCanvas* Canvas, const TRect& R, Integer UpperHeight, TColor Color, TColor ColorTo,
                       TColor ColorMirror, TColor ColorMirrorTo, TColor BorderColor, Integer Radius) {
  if (Canvas == nullptr) return;
  TRect upper{R.Left, R.Top, R.Right, R.Top + UpperHeight + 1};
  const TRect lower{R.Left, R.Top + UpperHeight, R.Right, R.Bottom};
  const bool mirror = ColorMirror != clNone || ColorMirrorTo != clNone;
  if (Color != clNone && !mirror) upper = R;
  auto part = [Canvas](const TRect& r, TColor from, TColor to) {
    if (from == clNone) return;
    if (to != clNone) {
      toolbar::DrawGradient(Canvas, from, to, 40, r, false);
    } else {
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(from);
      Canvas->FillRect(r);
    }
  };
  part(upper, Color, ColorTo);
  if (mirror) part(lower, ColorMirror, ColorMirrorTo);
  if (BorderColor == clNone) return;
  TGPGraphics g(Canvas->Handle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  TGPPen pen(ColorToARGB(BorderColor), 1);
  const Single x = Single(R.Left), y = Single(R.Top), w = Single(R.Right - R.Left - 1),
               h = Single(R.Bottom - R.Top - 1);
  if (Radius > 0)
    DrawRoundRect(&g, &pen, x, y, w, h, Single(Radius));
  else
    DrawRectPath(&g, &pen, x, y, w, h);
}

void DrawQATFrame(HDC DC, const TRect& R) {
  if (DC == nullptr) return;
  TGPGraphics g(DC);
  if (GetScenicRibbonFlag()) {
    const Single x1 = Single(R.Left + RoundI(22 * ToolBarDPIScale)), x2 = Single(R.Right - 3);
    const Single top = Single(R.Top + 7);
    TGPPen light(ColorToAlphaARGB(100, clWhite), 3);
    TGPPen dark(ColorToAlphaARGB(150, TColor(0x706A63)), 1);
    for (Single x : {x1, x2}) g.DrawLine(&light, x, top, x, Single(R.Bottom - 4));
    for (Single x : {x1, x2}) g.DrawLine(&dark, x, top, x, Single(R.Bottom - 6));
    return;
  }
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  const Integer m = R.Top + (R.Bottom - R.Top) / 2;
  TGPGraphicsPath path;
  path.AddLine(Single(R.Left), Single(R.Top), Single(R.Right - 10), Single(R.Top));
  const TGPPoint right[] = {{R.Right - 15, R.Top - 4}, {R.Right, m}, {R.Right - 15, R.Bottom + 4}};
  path.AddCurve(right, 3, 1.0f);
  path.AddLine(Single(R.Right - 10), Single(R.Bottom), Single(R.Left + 12), Single(R.Bottom));
  const TGPPoint left[] = {{R.Left + 12, R.Bottom}, {R.Left + 10, m - 2}, {R.Left + 2, R.Top}};
  path.AddCurve(left, 3, 1.0f);
  path.CloseFigure();
  TGPPen pen(ComposeARGB(200, 128, 128, 128), 1.5f);
  g.DrawPath(&pen, &path);
}

void DrawVerticalText(TCanvas* Canvas, const String& Caption, TPoint P) {
  if (Canvas == nullptr || Caption.empty()) return;
  // Strip the markers ("&&" is a literal '&') and note the hot key, the
  // character after the first lone '&' that is not the last character.
  String text;
  Integer hotKey = -1;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == u'&' && i + 1 < Caption.size()) {
      ++i;
      if (Caption[i] != u'&' && hotKey < 0) hotKey = Integer(text.size());
    }
    text += Caption[i];
  }
  Canvas->TextOut(P.X, P.Y, text);
  if (hotKey < 0) return;
  const Integer h = Canvas->TextHeight(text), a = Canvas->TextWidth(text.substr(0, size_t(hotKey))),
                b = Canvas->TextWidth(text.substr(size_t(hotKey), 1));
  Canvas->Pen()->SetColor(Canvas->Font()->Color());
  Canvas->MoveTo(P.X - h + 1, P.Y + a);
  Canvas->LineTo(P.X - h + 1, P.Y + a + b);
}

void DrawImageListImage(TGPGraphics* Graphics, TCanvas* Canvas, TPoint P, Integer ImageIndex, bool Enabled,
                        TCustomImageList* ImageList) {
  if (ImageList == nullptr || ImageIndex < 0) return;
  TGraphicsOrOwn g(Graphics, Canvas);
  if (g.Get() == nullptr) return;
  try {
    const Integer w = ImageList->Width(), h = ImageList->Height();
    CheckPictureSize(w, h);
    if (w <= 0 || h <= 0 || ImageIndex >= ImageList->Count()) return;
    // The list draws its image (enabled or greyed) on a fresh bitmap; what
    // shows at the bottom-left corner is taken as the background.
    TBitmap bitmap(w, h);
    ImageList->Draw(bitmap.Canvas(), 0, 0, ImageIndex, Enabled);
    TBytes data;
    bitmap.SaveToBytes(data);
    const TPoint key{0, h - 1};
    DrawDecoded(g.Get(), data, P, &key);
  } catch (const Exception&) {
    ReportPictureFailure();
  }
}

void DrawPicture(TGPGraphics* Graphics, TCanvas* Canvas, TPoint P, bool Transparent, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  TGraphicsOrOwn g(Graphics, Canvas);
  if (g.Get() == nullptr) return;
  try {
    CheckPictureSize(Graphic->Width(), Graphic->Height());
    if (auto* svg = dynamic_cast<TAdvSVGBitmap*>(Graphic); svg != nullptr && svg->HasSVG()) {
      HDC dc = g.Get()->GetHDC();
      if (dc == nullptr) return;
      TCanvas canvas;
      canvas.SetHandle(dc);
      svg->Draw(&canvas, TRect{P.X, P.Y, P.X + svg->Width(), P.Y + svg->Height()});
      canvas.SetHandle(nullptr);
      g.Get()->ReleaseHDC(dc);
      return;
    }
    TBytesStream stream;
    Graphic->SaveToStream(&stream);
    const TBytes& data = stream.Bytes();
    const TPoint key{0, 0};
    DrawDecoded(g.Get(), data, P, Transparent && !IsPngData(data) ? &key : nullptr);
  } catch (const Exception&) {
    ReportPictureFailure();
  }
}

bool IsVectorFont(TCanvas* Canvas) { return Canvas != nullptr && officestatusbar::IsVectorFontInstalled(Canvas); }

}  // namespace toolbar
