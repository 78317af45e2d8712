#include "foundation/style/VornStyle.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/style/AppStyler.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

namespace {

// One monitor here: its resolution is the screen's.
Integer ScreenPixelsPerInch() { return Screen != nullptr ? Screen->PixelsPerInch() : 96; }

// The resolution of the canvas's device context, the screen's without one.
Integer CanvasPixelsPerInch(TCanvas* ACanvas, int AIndex) {
  if (ACanvas != nullptr && ACanvas->HandleAllocated()) return GetDeviceCaps(ACanvas->Handle(), AIndex);
  return ScreenPixelsPerInch();
}

// The height of "0" in a 9-point font at the given resolution.
int ZeroHeightAt(Integer APixelsPerInch) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return 0;
  const int height = -static_cast<int>((9LL * APixelsPerInch + 36) / 72);
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
  HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
  SIZE size{};
  const BOOL ok = GetTextExtentPoint32W(dc, u"0", 1, &size);
  if (old != nullptr) SelectObject(dc, old);
  if (font != nullptr) DeleteObject(font);
  DeleteDC(dc);
  return ok ? static_cast<int>(size.cy) : 0;
}

}  // namespace

float GetControlDPIScale(TControl* AControl, TCanvas* ACanvas) {
  float scale;
  if (TCustomForm* form = GetParentForm(AControl, true))
    scale = form->Scaled() ? static_cast<float>(ScreenPixelsPerInch()) / 96.0f : 1.0f;
  else if (ACanvas != nullptr && ACanvas->HandleAllocated())
    scale = static_cast<float>(GetDeviceCaps(ACanvas->Handle(), LOGPIXELSY)) / 96.0f;
  else
    scale = static_cast<float>(ScreenPixelsPerInch()) / 96.0f;
  return scale == 0 ? 1.0f : scale;
}

float GetCanvasDPIScale(TCanvas* ACanvas, TCustomForm* AForm) {
  if (AForm != nullptr && !AForm->Scaled()) return 1.0f;
  const Integer ppi = CanvasPixelsPerInch(ACanvas, LOGPIXELSX);
  if (ppi == 96) return 1.0f;
  const int base = ZeroHeightAt(96);
  const float scale = base > 0 ? static_cast<float>(ZeroHeightAt(ppi)) / static_cast<float>(base) : 0.0f;
  return scale <= 0 ? 1.0f : scale;
}

TVornStyle GetFormStylerStyle(TComponent* AComponent, TVornStyle ADefault) {
  TCustomForm* form = dynamic_cast<TCustomForm*>(AComponent);
  if (form == nullptr) {
    auto* control = dynamic_cast<TControl*>(AComponent);
    if (control == nullptr) return ADefault;
    form = GetParentForm(control, true);
  }
  if (form == nullptr) return ADefault;
  for (Integer i = 0; i < form->ComponentCount(); ++i) {
    auto* styler = dynamic_cast<TAdvFormStyler*>(form->Components(i));
    if (styler != nullptr && styler->Enabled() && styler->Style() != tsCustom) return styler->Style();
  }
  return ADefault;
}

bool IsVclStyleActive(TCustomStyleServices*, bool) { return false; }

void GetVclStyleColorTones(TColorTones& ATones) { ATones.Background.BrushColor = clNone; }

bool HasGetLocaleInfoEx() { return true; }

bool IsWindowsXPOrLater() { return true; }

String GetDefaultFontName() { return HasGetLocaleInfoEx() ? u"Segoe UI" : u"Tahoma"; }

bool IsLightStyle(TVornStyle AStyle) {
  return AStyle != tsOffice2016Black && AStyle != tsOffice2019Gray && AStyle != tsOffice2019Black;
}

TColorTones EmptyColorTones() { return TColorTones{}; }

bool IsColorTonesEmpty(const TColorTones& ATones) {
  return ATones.Background.BrushColor == clNone && ATones.Background.BorderColor == clNone &&
         ATones.Background.TextColor == clNone;
}

TColorTones SystemColorTones() {
  TColorTones t;
  t.Background = {clWindow, clHighlight, clWindowText};
  t.Foreground = {0xC0C0C0, 0xC0C0C0, 0x000000};
  t.Selected = {clHighlight, clHighlight, clHighlightText};
  t.Hover = {0x808080, 0x808080, 0xFFFFFF};
  t.Disabled = {clWindow, 0xC0C0C0, 0xC0C0C0};
  return t;
}

void GetMetroTones(bool ALight, TColor AColor, TColor /*ATextColor*/, TColorTones& ATones) {
  ATones.Background = {ALight ? 0xFFFFFF : 0x000000, AColor, ALight ? 0x000000 : 0xFFFFFF};
  ATones.Foreground = {0xC0C0C0, 0xC0C0C0, 0x000000};
  ATones.Selected = {AColor, AColor, 0xFFFFFF};
  const TColor hover = DarkenColorClamped(AColor, 20);
  ATones.Hover = {hover, hover, 0xFFFFFF};
  ATones.Disabled = {0xC0C0C0, 0x808080, 0x808080};
}

namespace {

Integer ChannelOf(TColor color, int shift) { return (static_cast<Cardinal>(color) >> shift) & 0xFF; }

TColor RGBColor(Integer r, Integer g, Integer b) {
  return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

}  // namespace

TColor DarkenColorClamped(TColor AColor, Integer APercent) {
  const TColor c = ColorToRGB(AColor);
  auto scale = [APercent](Integer channel) {
    const double v = channel * (100.0 - APercent) / 100.0;
    return static_cast<Integer>(Round(std::clamp(v, 0.0, 255.0)));
  };
  return RGBColor(scale(ChannelOf(c, 0)), scale(ChannelOf(c, 8)), scale(ChannelOf(c, 16)));
}

void RGBtoHSV(double R, double G, double B, double& H, double& S, double& V) {
  V = std::max({R, G, B});
  const double delta = V - std::min({R, G, B});
  S = V != 0 ? delta / V : 0;
  if (S == 0) {
    H = std::numeric_limits<double>::quiet_NaN();
    return;
  }
  if (R == V)
    H = (G - B) * 60 / delta;
  else if (G == V)
    H = (B - R) * 60 / delta + 120;
  else
    H = (R - G) * 60 / delta + 240;
  if (H < 0) H += 360;
}

void HSVtoRGB(double H, double S, double V, double& R, double& G, double& B) {
  if (S == 0) {
    if (!std::isnan(H)) throw Exception(u"HSVtoRGB: S = 0 and H has a value");
    R = G = B = V;
    return;
  }
  if (!std::isfinite(H)) return;
  if (H == 360) H = 0;
  const double h = H / 60;
  const double i = std::floor(h);
  const double f = h - i;
  const double p = V * (1 - S), q = V * (1 - S * f), t = V * (1 - S * (1 - f));
  switch (static_cast<int>(std::clamp(i, -1.0, 6.0))) {
    case 0: R = V, G = t, B = p; break;
    case 1: R = q, G = V, B = p; break;
    case 2: R = p, G = V, B = t; break;
    case 3: R = p, G = q, B = V; break;
    case 4: R = t, G = p, B = V; break;
    case 5: R = V, G = p, B = q; break;
    default: break;  // outside 0..360: outputs stay as they were
  }
}

TColor ChangeColorBrightness(TColor AColor, Integer APercent) {
  const TColor c = ColorToRGB(AColor);
  double h = 0, s = 0, v = 0;
  RGBtoHSV(ChannelOf(c, 0), ChannelOf(c, 8), ChannelOf(c, 16), h, s, v);
  // Value and saturation are kept in range: past it the channels would come
  // out negative (or above 255) and wrap into an unrelated colour.
  if (v < 255)
    v = std::clamp(v + v * APercent / 100, 0.0, 255.0);
  else
    s = std::clamp(s + s * APercent / 100, 0.0, 1.0);
  if (s == 0) h = std::numeric_limits<double>::quiet_NaN();  // a grey has no hue
  double r = 0, g = 0, b = 0;
  HSVtoRGB(h, s, v, r, g, b);
  return RGBColor(static_cast<Integer>(Round(r)), static_cast<Integer>(Round(g)), static_cast<Integer>(Round(b)));
}
