#include "html/HTMLDrawing.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Math.h"
#include "platform/vcl/Color.h"
#include "platform/win/Files.h"

namespace html {

UINT HTMLBiDiFlags(UINT Flags, TBiDiMode) {
  // Right-to-left system locales do not exist on this layer.
  return Flags;
}

bool IsDirectory(const String& Path) { return !Path.empty() && DirectoryExists(Path); }

namespace {

// The fixed icons: a page with a folded corner, or a folder.
void HTMLDrawingIcon(TCanvas* Canvas, const TRect& R, bool Folder) {
  const TColor penSave = Canvas->Pen()->Color();
  const TColor brushSave = Canvas->Brush()->Color();
  const TBrushStyle styleSave = Canvas->Brush()->Style();
  const Integer w = R.Right - R.Left, h = R.Bottom - R.Top;
  Canvas->Pen()->SetColor(TColor(0x505050));
  if (Folder) {
    Canvas->Brush()->SetColor(TColor(0x4FC8F0));
    Canvas->Rectangle(R.Left, R.Top + h / 8, R.Left + w / 2, R.Top + h / 4 + 1);
    Canvas->Rectangle(R.Left, R.Top + h / 4, R.Right, R.Bottom - h / 8);
  } else {
    const Integer fold = std::max(2, w / 4);
    Canvas->Brush()->SetColor(clWhite);
    Canvas->Polygon({{R.Left + w / 8, R.Top}, {R.Right - w / 8 - fold, R.Top}, {R.Right - w / 8 - 1, R.Top + fold},
                     {R.Right - w / 8 - 1, R.Bottom - 1}, {R.Left + w / 8, R.Bottom - 1}});
    Canvas->Pen()->SetColor(TColor(0xA0A0A0));
    for (Integer y = R.Top + fold + 2; y < R.Bottom - 2; y += std::max(2, h / 8)) {
      Canvas->MoveTo(R.Left + w / 8 + 2, y);
      Canvas->LineTo(R.Right - w / 8 - 2, y);
    }
  }
  Canvas->Pen()->SetColor(penSave);
  Canvas->Brush()->SetColor(brushSave);
  Canvas->Brush()->SetStyle(styleSave);
}

}  // namespace

void HTMLDrawSysIcon(TCanvas* Canvas, Integer X, Integer Y, TPoint& Size, Double PrintScale, bool PrintMode,
                     bool DoDraw, bool Large, const String& Name) {
  const Integer side = Large ? 32 : 16;
  Size = TPoint{side, side};
  if (!DoDraw || !Canvas) return;
  const bool folder = IsDirectory(Name);
  TRect r{X, Y, X + side, Y + side};
  if (PrintMode) {
    const Double s = std::clamp(PrintScale, 0.0, 64.0);
    r.Right = X + Integer(Round(side * s));
    r.Bottom = Y + Integer(Round(side * s));
  }
  HTMLDrawingIcon(Canvas, r, folder);
}

void StretchBitmapDIB(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap) {
  if (!Canvas || !Bitmap || Bitmap->Empty()) return;
  Canvas->StretchDraw(R, Bitmap);
}

void HTMLDrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                      Integer Steps, TColor BorderColor) {
  if (!Canvas || Steps < 0 || R.Right <= R.Left || R.Bottom <= R.Top) return;
  if (Steps == 0) Steps = 1;
  const TColor a = ColorToRGB(FromColor), b = ColorToRGB(ToColor);
  const Integer r1 = a & 0xFF, g1 = (a >> 8) & 0xFF, b1 = (a >> 16) & 0xFF;
  const Integer r2 = b & 0xFF, g2 = (b >> 8) & 0xFF, b2 = (b >> 16) & 0xFF;
  const double band = double(Horizontal ? R.Right - R.Left : R.Bottom - R.Top) / Steps;
  for (Integer n = 0; n < Steps; ++n) {
    const auto mix = [&](Integer from, Integer to) { return Integer(from + Round(double(n) * (to - from) / Steps)); };
    const TColor c = TColor(mix(r1, r2) | (mix(g1, g2) << 8) | (mix(b1, b2) << 16));
    const Integer offset = Integer(Round(n * band));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    if (Horizontal)
      Canvas->Rectangle(R.Left + offset, R.Top, std::min(R.Right, R.Left + offset + Integer(std::trunc(band)) + 1),
                        R.Bottom);
    else
      Canvas->Rectangle(R.Left, R.Top + offset, R.Right,
                        std::min(R.Bottom, R.Top + offset + Integer(std::trunc(band)) + 1));
  }
  if (BorderColor != clNone) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(BorderColor);
    Canvas->Rectangle(R);
  }
}

void SelectAngleFont(TCanvas* Canvas, Integer Angle, HFONT& Rotated) {
  if (!Canvas) return;
  LOGFONTW lf{};
  if (GetObjectW(Canvas->Font()->Handle(), sizeof(lf), &lf) == 0) return;
  const Integer tenths = Integer((Int64(Angle) % 360) * 10);
  lf.lfEscapement = tenths;
  lf.lfOrientation = tenths;
  HFONT made = CreateFontIndirectW(&lf);
  if (!made) return;
  // The canvas's own font stays selected underneath; a nested rotation
  // replaces the previous rotated font instead of stacking it.
  Canvas->TextWidth(u"");
  SelectObject(Canvas->Handle(), made);
  if (Rotated) DeleteObject(Rotated);
  Rotated = made;
}

void RestoreAngleFont(TCanvas* Canvas, HFONT& Rotated) {
  if (!Rotated) return;
  // The canvas font's current handle, not the one replaced: a font change
  // since the rotation has freed that one.
  if (Canvas) SelectObject(Canvas->Handle(), Canvas->Font()->Handle());
  DeleteObject(Rotated);
  Rotated = nullptr;
}

Integer HTMLDrawEmoji(TCanvas* Canvas, Integer X, Integer Y, bool Measuring, const String& Text, Integer FontSize) {
  if (!Canvas) return 0;
  TEXTMETRICW tm{};
  Canvas->TextWidth(u"");
  GetTextMetricsW(Canvas->Handle(), &tm);
  const Integer advance = tm.tmHeight;
  if (Measuring || Text.empty()) return advance;
  TFont keep;
  keep.Assign(Canvas->Font());
  const TBrushStyle styleSave = Canvas->Brush()->Style();
  const TColor brushSave = Canvas->Brush()->Color();
  Canvas->Font()->SetName(u"Segoe UI Emoji");
  Canvas->Font()->SetStyle(TFontStyles());
  Canvas->Font()->SetColor(clBlack);
  const Integer px = MulDiv(std::clamp(FontSize, 1, 400), 96, 72);
  Canvas->Font()->SetHeight(-px);
  Canvas->Brush()->SetStyle(bsClear);
  // The colour face's own ascent is no guide to where its pictures sit:
  // place the baseline so that the picture's top lands 2 pixels above Y.
  TEXTMETRICW em{};
  Canvas->TextWidth(u"");
  GetTextMetricsW(Canvas->Handle(), &em);
  const Integer baseline = Y - 2 + Integer(std::lround(px * 0.88));
  Canvas->TextOut(X, baseline - em.tmAscent, Text);
  Canvas->Font()->Assign(&keep);
  Canvas->Brush()->SetColor(brushSave);
  Canvas->Brush()->SetStyle(styleSave);
  return advance;
}

}  // namespace html
