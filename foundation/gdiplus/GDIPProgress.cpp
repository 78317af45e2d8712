#include "foundation/gdiplus/GDIPProgress.h"

#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Math.h"

namespace gdiplus {

namespace {

constexpr Single kShadowBand = 10;

TGPRectF Grown(const TGPRectF& r) { return GPRectF(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2); }

// A band filled with a two-colour linear gradient whose brush spans the band
// grown by one pixel, so the end colours reach the band's edges.
void FillBand(TGPGraphics* g, const TGPRectF& band, ARGB from, ARGB to, GpLinearGradientMode mode) {
  if (band.Width <= 0 || band.Height <= 0) return;
  TGPLinearGradientBrush brush(Grown(band), from, to, mode);
  g->FillRectangle(&brush, band);
}

bool HasBorder(const TGDIPFill* fill) { return fill->BorderColor() != clNone && fill->BorderWidth() != 0; }

}  // namespace

TGDIPProgress::TGDIPProgress()
    : FBackGroundFill(std::make_unique<TGDIPFill>()),
      FProgressFill(std::make_unique<TGDIPFill>()),
      FFont(std::make_unique<TFont>()),
      FProgressFont(std::make_unique<TFont>()) {
  FFont->SetHeight(-11);
  FProgressFont->SetHeight(-11);
  auto changed = [this](TObject*) { Changed(); };
  FBackGroundFill->OnChange = changed;
  FProgressFill->OnChange = changed;
  FFont->OnChange = changed;
  FProgressFont->OnChange = changed;
}

TGDIPProgress::~TGDIPProgress() = default;

void TGDIPProgress::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TGDIPProgress*>(Source);
  if (!src) return;
  FBackGroundFill->Assign(src->FBackGroundFill.get());
  FProgressFill->Assign(src->FProgressFill.get());
  SetValueFormat(src->FValueFormat);
  SetValueType(src->FValueType);
  SetValuePositionTop(src->FValuePositionTop);
  SetValuePositionLeft(src->FValuePositionLeft);
  SetValuePosition(src->FValuePosition);
  SetValueVisible(src->FValueVisible);
  FFont->Assign(src->FFont.get());
  SetTransparent(src->FTransparent);
  SetShadows(src->FShadows);
  SetOverlays(src->FOverlays);
}

TRect TGDIPProgress::InsideRect(const TRect& r) const {
  TRect i{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
  if (FBackGroundFill->BorderColor() != clNone) {
    const Integer bw = FBackGroundFill->BorderWidth();
    const Integer d = bw == 1 ? 1 : (bw + 1) / 2;
    i = TRect{i.Left + d, i.Top + d, i.Right - d, i.Bottom - d};
  }
  return i;
}

TGPRectF TGDIPProgress::GetInsideRectF(const TRect& r) const {
  const TRect i = InsideRect(r);
  return GPRectF(Single(i.Left), Single(i.Top), Single(i.Right - i.Left), Single(i.Bottom - i.Top));
}

TGPRectF TGDIPProgress::CalculateProgressRectangle(const TRect& r, Double min, Double max, Double pos,
                                                   TGDIPProgressDirection Direction) const {
  const TRect i = InsideRect(r);
  const bool border = HasBorder(FProgressFill.get());
  const Integer bw = border ? FProgressFill->BorderWidth() : 0;
  const Double available = Direction == pbdHorizontal ? i.Right - bw - i.Left : i.Bottom - bw - i.Top;
  Double length = 0;
  // A position below the minimum fills nothing rather than a negative length.
  if (max - min > 0 && pos > min) length = std::min(available, (pos - min) / (max - min) * available);
  const Single l = Single(length), half = Single(bw / 2.0);
  if (Direction == pbdHorizontal)
    return GPRectF(Single(i.Left) + half, Single(i.Top) + half, l, Single(i.Bottom - bw - i.Top));
  return GPRectF(Single(i.Left) + half, Single(i.Bottom) - half - l, Single(i.Right - bw - i.Left), l);
}

void TGDIPProgress::Draw(TGPGraphics* g, const TRect& r, Double min, Double max, Double position,
                         TGDIPProgressDirection Direction, Single ADPIScale) {
  if (!g) return;
  const Single w = Single(r.Right - r.Left), h = Single(r.Bottom - r.Top);
  const TGPRectF b = HasBorder(FBackGroundFill.get())
                         ? GPRectF(Single(r.Left), Single(r.Top), w - 1, h - 1)
                         : GPRectF(Single(r.Left - 1), Single(r.Top - 1), w + 1, h + 1);
  if (!FTransparent) FBackGroundFill->Fill(g, b);
  if (min < position) {
    const TGPRectF p = CalculateProgressRectangle(r, min, max, position, Direction);
    FProgressFill->Fill(g, p);
    if ((Direction == pbdHorizontal ? p.Width : p.Height) > 0) DrawShadows(g, p, Direction);
  }
  if (!FTransparent) DrawShadows(g, GetInsideRectF(r), Direction);
  if (FValueVisible) DrawValue(g, r, min, max, position, Direction, ADPIScale);
  if (!FTransparent && FOverlays) DrawOverlays(g, r, Direction);
}

void TGDIPProgress::DrawShadows(TGPGraphics* g, const TGPRectF& Q, TGDIPProgressDirection Direction) const {
  if (!FShadows) return;
  const ARGB dark = ColorToAlphaARGB(30, clBlack), clear = ColorToAlphaARGB(0, clBlack);
  if (Direction == pbdHorizontal) {
    FillBand(g, GPRectF(Q.X, Q.Y, kShadowBand, Q.Height), dark, clear, LinearGradientModeHorizontal);
    FillBand(g, GPRectF(Q.X + Q.Width - kShadowBand, Q.Y, kShadowBand, Q.Height), clear, dark,
             LinearGradientModeHorizontal);
  } else {
    FillBand(g, GPRectF(Q.X, Q.Y, Q.Width, kShadowBand), dark, clear, LinearGradientModeVertical);
    FillBand(g, GPRectF(Q.X, Q.Y + Q.Height - kShadowBand, Q.Width, kShadowBand), clear, dark,
             LinearGradientModeVertical);
  }
}

void TGDIPProgress::DrawOverlays(TGPGraphics* g, const TRect& r, TGDIPProgressDirection Direction) const {
  const TRect i = InsideRect(r);
  const Single iw = Single(i.Right - i.Left), ih = Single(i.Bottom - i.Top);
  const ARGB top = ColorToAlphaARGB(180, clWhite), none = ColorToAlphaARGB(0, clWhite),
             full = ColorToAlphaARGB(255, clWhite);
  if (Direction == pbdHorizontal) {
    FillBand(g, GPRectF(Single(i.Left), Single(i.Top), iw, ih / 2.5f), top, none, LinearGradientModeVertical);
    FillBand(g, GPRectF(Single(i.Left), Single(i.Bottom) - ih / 5, iw, ih / 5), none, full,
             LinearGradientModeVertical);
  } else {
    FillBand(g, GPRectF(Single(i.Left), Single(i.Top), iw / 2.5f, ih), top, none, LinearGradientModeHorizontal);
    FillBand(g, GPRectF(Single(i.Right) - iw / 5, Single(i.Top), iw / 5, ih), none, full,
             LinearGradientModeHorizontal);
  }
}

String TGDIPProgress::FormatValue(Double min, Double max, Double position) const {
  const Double pos = std::clamp(position, std::min(min, max), max);
  Double value = pos;
  if (FValueType == vtPercentage) value = min >= max ? max : (pos - min) / (max - min) * 100;
  return Format(FValueFormat, {value});
}

void TGDIPProgress::DrawValue(TGPGraphics* g, const TRect& r, Double min, Double max, Double position,
                              TGDIPProgressDirection Direction, Single ADPIScale) {
  String text = FormatValue(min, max, position);
  if (OnDrawValue) OnDrawValue(this, FValueFormat, text);

  const Double pos = std::clamp(position, std::min(min, max), max);
  const TGPRectF I = GetInsideRectF(r);
  const TGPRectF pr = CalculateProgressRectangle(r, min, max, pos, Direction);
  TFont working;
  working.Assign(FFont.get());
  working.SetHeight(Integer(Round(FFont->Height() * Double(ADPIScale))));
  TGPRectF box{};
  {
    std::unique_ptr<TGPFont> font(g->MakeFont(&working));
    TGPStringFormat format;
    g->MeasureString(text, Integer(text.size()), font.get(), I, &format, box);
  }
  const Single tw = box.Width, th = box.Height;
  Single x = 0, y = 0;
  TFont* chosen = nullptr;
  if (Direction == pbdHorizontal) {
    y = (I.Height - th) / 2;
    switch (FValuePosition) {
      case vpProgressCenter: x = tw > pr.Width ? I.X : I.X + (pr.Width - tw) / 2; break;
      case vpProgressRight: x = tw > pr.Width ? I.X : I.X + pr.Width - tw; break;
      case vpCenter: x = Single(r.Left) + (I.Width - tw) / 2; break;
      case vpLeft: x = I.X; break;
      case vpRight: x = Single(r.Left) + I.Width - tw; break;
      case vpCustom:
        x = Single(r.Left + FValuePositionLeft);
        y = Single(FValuePositionTop);
        break;
    }
    chosen = pr.X + pr.Width > x + tw / 2 ? FProgressFont.get() : FFont.get();
    y += Single(r.Top);
  } else {
    x = (I.Width - tw) / 2;
    switch (FValuePosition) {
      case vpProgressCenter: y = th > pr.Height ? I.Y : I.Y + (pr.Height - th) / 2; break;
      case vpProgressRight: y = th > pr.Height ? I.Y : I.Y + pr.Height - th; break;
      case vpCenter: y = Single(r.Top) + (I.Height - th) / 2; break;
      case vpLeft: y = I.Y; break;
      case vpRight: y = Single(r.Top) + I.Height - th; break;
      case vpCustom:
        y = Single(r.Top + FValuePositionTop);
        x = Single(FValuePositionLeft);
        break;
    }
    chosen = pr.Y + pr.Height > y + th / 2 ? FProgressFont.get() : FFont.get();
    x += Single(r.Left);
  }
  working.Assign(chosen);
  working.SetHeight(Integer(Round(chosen->Height() * Double(ADPIScale))));
  std::unique_ptr<TGPFont> font(g->MakeFont(&working));
  TGPStringFormat format;
  TGPSolidBrush brush(ColorToARGB(chosen->Color()));
  g->DrawString(text, Integer(text.size()), font.get(), TGPPointF{x, y}, &format, &brush);
}

}  // namespace gdiplus
