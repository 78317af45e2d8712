#include "toolbar/ToolBarText.h"

#include <algorithm>
#include <memory>

#include "platform/rtl/Math.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Controls.h"
#include "platform/win/Window.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/shared/AdvTBXPVS.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

using namespace gdiplus;

namespace {

constexpr TColor kDisabledTextColor = 0x808080;

Integer TextRound(double v) { return Integer(Round(v)); }

const String& PickCaption(const String& Caption, const String& WideCaption) {
  return Caption.empty() ? WideCaption : Caption;
}

TRect RoundedBox(const TGPRectF& b) {
  return TRect{TextRound(b.X), TextRound(b.Y), TextRound(b.X + b.Width), TextRound(b.Y + b.Height)};
}

TRect RoundedRect(const TGPRectF& r) { return RoundedBox(r); }

GpStringAlignment TextAlign(TAlignment A) {
  return A == taRightJustify ? StringAlignmentFar : A == taCenter ? StringAlignmentCenter : StringAlignmentNear;
}

UINT TextAlignFlag(TAlignment A) { return A == taRightJustify ? DT_RIGHT : A == taCenter ? DT_CENTER : 0; }

// The format every caption routine uses: no flags, the alignment asked for,
// centred vertically, hot keys underlined.
void PrepareFormat(TGPStringFormat& F, TAlignment A) {
  F.SetAlignment(TextAlign(A));
  F.SetLineAlignment(StringAlignmentCenter);
  F.SetHotkeyPrefix(HotkeyPrefixShow);
}

void PrepareRendering(TGPGraphics& G, TAntiAlias R) {
  if (R == aaClearType)
    G.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
  else if (R == aaAntiAlias)
    G.SetTextRenderingHint(TextRenderingHintAntiAlias);
}

ARGB TextColor(TFont* Font, bool Enabled) { return ColorToARGB(Enabled ? Font->Color() : kDisabledTextColor); }

// The family of Font, or "Arial" when GDI+ does not know it.
std::unique_ptr<TGPFontFamily> TextFamily(TFont* Font) {
  auto family = std::make_unique<TGPFontFamily>(Font->Name());
  if (family->GetLastStatus() != Ok) family = std::make_unique<TGPFontFamily>(u"Arial");
  return family;
}

// DrawText's measurement on DC with Font selected: Box's top-left stays,
// its right and bottom follow the text.
void MeasureWithGDI(HDC DC, TFont* Font, const String& Text, TRect& Box, UINT Flags) {
  HGDIOBJ old = SelectObject(DC, Font->Handle());
  DrawTextW(DC, Text.c_str(), Integer(Text.size()), &Box, Flags | DT_CALCRECT);
  SelectObject(DC, old);
}

// The longest prefix of Text that fits Width followed by Suffix. Widths grow
// with the prefix, so halving the range finds it in a few measures however
// long the caption is.
String FitPrefix(TGPGraphics& G, const String& Text, const String& Suffix, const TGPFont* Font,
                 const TGPStringFormat* Format, const TGPRectF& Layout, Single Width) {
  auto fits = [&](size_t n) {
    TGPRectF box{};
    G.MeasureString(Text.substr(0, n) + Suffix, -1, Font, Layout, Format, box);
    return box.Width <= Width;
  };
  size_t lo = 0, hi = Text.size();  // the answer lies in [lo, hi]
  while (lo < hi) {
    const size_t mid = lo + (hi - lo + 1) / 2;
    if (fits(mid))
      lo = mid;
    else
      hi = mid - 1;
  }
  return Text.substr(0, lo) + Suffix;
}

}  // namespace

void DrawCaptionText(TCanvas* Canvas, const String& Caption, const String& WideCaption, TFont* Font, const TRect& R,
                     TAlignment Alignment, UINT GDIFlags, TAntiAlias TextRendering, bool Enabled, bool Ellipsis,
                     bool WordWrap, bool Draw, TRect& TextRect) {
  TextRect = TRect{0, 0, 0, 0};
  const String& caption = PickCaption(Caption, WideCaption);
  if (caption.empty() || Canvas == nullptr || Font == nullptr) return;
  Canvas->Font()->SetName(Font->Name());
  if (TextRendering != aaNone && IsVectorFont(Canvas)) {
    TGPGraphics g(Canvas->Handle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    PrepareRendering(g, TextRendering);
    std::unique_ptr<TGPFont> font(g.MakeFont(Font));
    TGPStringFormat format(0);
    PrepareFormat(format, Alignment);
    const Single w = Single(R.Right - R.Left), h = Single(R.Bottom - R.Top);
    const TGPRectF layout = GPRectF(Single(R.Left), Single(R.Top), w, h);
    const TGPRectF wide = GPRectF(Single(R.Left), Single(R.Top), 1000, h);
    TGPRectF box{};
    g.MeasureString(caption, -1, font.get(), !Draw || (WordWrap && !Ellipsis) ? layout : wide, &format, box);
    TextRect = RoundedBox(box);
    if (!Draw) return;
    String text = caption;
    if (box.Width > w && (Ellipsis || !WordWrap))
      text = FitPrefix(g, caption, Ellipsis ? String(u"...") : String(), font.get(), &format, wide, w);
    TGPSolidBrush brush(TextColor(Font, Enabled));
    g.DrawString(text, -1, font.get(), layout, &format, &brush);
    return;
  }
  // Through the canvas, so its font, colour and brush are the DC's.
  String text = caption;
  TextRect = TRect{0, 0, 1000, 100};
  Canvas->TextRect(TextRect, text, DT_CALCRECT | DT_SINGLELINE);
  if (!Draw) return;
  TRect r = R;
  Canvas->TextRect(r, text, GDIFlags);
}

void DrawGlowText(TCanvas* Canvas, const String& Caption, const String& WideCaption, TFont* Font, const TGPRectF& R,
                  TAlignment Alignment, TAntiAlias TextRendering, bool Enabled, bool Glass, bool UseBitmap,
                  TColor BackColor, bool Draw, TRect& TextRect) {
  TextRect = TRect{0, 0, 0, 0};
  const String& caption = PickCaption(Caption, WideCaption);
  if (caption.empty() || Canvas == nullptr || Font == nullptr) return;
  TGPGraphics g(Canvas->Handle());
  if (!(Glass && Draw)) g.SetSmoothingMode(SmoothingModeAntiAlias);
  PrepareRendering(g, TextRendering);
  std::unique_ptr<TGPFont> font(g.MakeFont(Font));
  TGPStringFormat format(0);
  PrepareFormat(format, Alignment);
  format.SetTrimming(StringTrimmingNone);
  TGPSolidBrush brush(TextColor(Font, Enabled));

  if (TextRendering != aaNone) {
    TGPRectF box{};
    g.MeasureString(caption, -1, font.get(), R, &format, box);
    TextRect = RoundedBox(box);
  } else {
    // Two pixels wide: the text breaks at every word break.
    TextRect = TRect{TextRound(R.X), TextRound(R.Y), TextRound(R.X) + 2, TextRound(R.Y)};
    MeasureWithGDI(Canvas->Handle(), Font, caption, TextRect, DT_WORDBREAK);
  }
  if (!Draw) return;

  const UINT align = TextAlignFlag(Alignment);
  if (Glass && UseBitmap) {
    const Integer w = TextRound(R.Width), h = TextRound(R.Height);
    if (w <= 0 || h <= 0 || Int64(w) * h > (Int64(1) << 25)) return;
    TBitmap bitmap(w, h);
    TCanvas* bc = bitmap.Canvas();
    if (BackColor != clNone) {
      bc->Brush()->SetStyle(bsSolid);
      bc->Brush()->SetColor(BackColor);
      bc->FillRect(TRect{0, 0, w, h});
    }
    bc->Font()->Assign(Font);
    bc->Font()->SetColor(Enabled ? Font->Color() : kDisabledTextColor);
    bc->Brush()->SetStyle(bsClear);
    TRect r{0, 0, w, h};
    String text = caption;
    bc->TextRect(r, text, DT_VCENTER | DT_SINGLELINE | align);
    DrawPicture(&g, nullptr, TPoint{TextRound(R.X) + 2, TextRound(R.Y) + 1}, true, &bitmap);
  } else if (Glass) {
    g.SetSmoothingMode(SmoothingModeHighSpeed);
    const Single size = Single(Font->Size()) + (ToolBarDPIScale == 1.0f ? 3 : 2);
    std::unique_ptr<TGPFontFamily> family = TextFamily(Font);
    TGPGraphicsPath path;
    path.AddString(caption, -1, family.get(), FontStyleRegular, size * ToolBarDPIScale, R, &format);
    g.FillPath(&brush, &path);
  } else if (TextRendering != aaNone) {
    g.DrawString(caption, -1, font.get(), R, &format, &brush);
  } else {
    Canvas->Font()->Assign(Font);
    Canvas->Font()->SetColor(Enabled ? Font->Color() : kDisabledTextColor);
    Canvas->Brush()->SetStyle(bsClear);
    TRect r = RoundedRect(R);
    String text = caption;
    Canvas->TextRect(r, text, DT_VCENTER | DT_SINGLELINE | align);
  }
}

void DrawGlowTextOnDC(HDC DC, const String& Caption, const String& WideCaption, TFont* Font, const TGPRectF& R,
                      TAlignment Alignment, TAntiAlias TextRendering, bool Enabled, bool Glass, TColor GlowColor,
                      bool Draw, TRect& TextRect) {
  TextRect = TRect{0, 0, 0, 0};
  const String& caption = PickCaption(Caption, WideCaption);
  if (caption.empty() || DC == nullptr || Font == nullptr) return;
  TGPGraphics g(DC);
  if (!(Glass && Draw)) g.SetSmoothingMode(SmoothingModeAntiAlias);
  PrepareRendering(g, TextRendering);
  std::unique_ptr<TGPFont> font(g.MakeFont(Font));
  TGPStringFormat format(0);
  PrepareFormat(format, Alignment);
  format.SetTrimming(StringTrimmingNone);
  TGPSolidBrush brush(TextColor(Font, Enabled));

  if (TextRendering != aaNone) {
    TGPRectF box{};
    g.MeasureString(caption, -1, font.get(), R, &format, box);
    TextRect = RoundedBox(box);
  } else {
    TextRect = TRect{TextRound(R.X), TextRound(R.Y), TextRound(R.X) + 2, TextRound(R.Y)};
    MeasureWithGDI(DC, Font, caption, TextRect, DT_WORDBREAK);
  }
  if (!Draw) return;

  if (!Glass) {
    g.DrawString(caption, -1, font.get(), R, &format, &brush);
    return;
  }
  g.SetSmoothingMode(SmoothingModeHighSpeed);
  const Single size = (Single(Font->Size()) + 2) * ToolBarDPIScale;
  std::unique_ptr<TGPFontFamily> family = TextFamily(Font);
  if (GlowColor != clNone) {
    // A dark copy one pixel lower sets the text off the glass.
    TGPGraphicsPath shadow;
    shadow.AddString(caption, -1, family.get(), FontStyleBold, size, GPRectF(R.X, R.Y + 1, R.Width, R.Height), &format);
    TGPSolidBrush dark(ColorToARGB(DarkenColor(GlowColor, 35)));
    g.FillPath(&dark, &shadow);
  }
  TGPGraphicsPath path;
  path.AddString(caption, -1, family.get(), FontStyleBold, size, R, &format);
  g.FillPath(&brush, &path);
}

Integer GetGlowTextWidth(TCanvas* Canvas, const String& Caption, const String& WideCaption, TAntiAlias TextRendering,
                         TFont* Font) {
  if (Canvas == nullptr) return 0;
  TRect r{};
  DrawGlowTextOnDC(Canvas->Handle(), Caption, WideCaption, Font, GPRectF(0, 0, 1000, 100), taLeftJustify, TextRendering,
                   true, false, clNone, false, r);
  return r.Right - r.Left;
}

void DrawCompositedText(HDC DC, const String& Text, Integer Length, DWORD Flags, HTHEME Theme, const TRect& R) {
  if (DC == nullptr) return;
  DTTOPTS options{};
  options.dwFlags = DTT_COMPOSITED | DTT_GLOWSIZE | DTT_TEXTCOLOR;
  options.crText = 0;
  options.iGlowSize = 12;
  // Never past the text's end; a negative length means "up to the end".
  const Integer length = Length < 0 ? -1 : std::min<Integer>(Length, Integer(Text.size()));
  TRect r = R;
  advtbxpvs::DrawThemeTextEx(Theme, DC, 1, 1, Text.c_str(), length, Flags, &r, &options);
}

void DrawGlassText(TWinControl* Control, const String& Caption, bool WhiteFade, TColor HighlightColor,
                   const TRect& QATRect, bool ShowQATFrame, const TRect& CaptionRect) {
  // Off the glass the transparent bitmap would show as a black box.
  if (Control == nullptr || !IsDwmCompositionActive()) return;
  const Integer W = CaptionRect.Right - CaptionRect.Left, H = CaptionRect.Bottom - CaptionRect.Top;
  if (W <= 0 || H <= 0 || Int64(W) * H > (Int64(1) << 25)) return;
  HWND wnd = Control->Handle();
  HTHEME theme = advtbxpvs::OpenThemeData(wnd, u"CompositedWindow::Window");
  if (theme == nullptr) return;
  HDC dc = GetDC(wnd);
  HDC mem = dc != nullptr ? CreateCompatibleDC(dc) : nullptr;
  if (mem != nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = W;
    info.bmiHeader.biHeight = -H;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib != nullptr) {
      HGDIOBJ oldBitmap = SelectObject(mem, dib);
      HFONT font = nullptr;
      HGDIOBJ oldFont = nullptr;
      LOGFONTW lf{};
      if (advtbxpvs::GetThemeSysFont(theme, TMT_CAPTIONFONT, &lf) == S_OK) {
        font = CreateFontIndirectW(&lf);
        if (font != nullptr) oldFont = SelectObject(mem, font);
      }
      if (HighlightColor != clNone) FillGlowHighlight(mem, CaptionRect);
      if (WhiteFade) FillAlphaGradient(mem, CaptionRect, clWhite, 0, 20);
      if (ShowQATFrame) DrawQATFrame(mem, QATRect);
      DrawCompositedText(mem, Caption, -1, DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS, theme,
                         TRect{4, CaptionRect.Top + 6, W, H});
      BitBlt(dc, CaptionRect.Left, CaptionRect.Top, W, H, mem, 0, 0, SRCCOPY);
      if (font != nullptr) {
        SelectObject(mem, oldFont);
        DeleteObject(font);
      }
      SelectObject(mem, oldBitmap);
      DeleteObject(dib);
    }
    DeleteDC(mem);
  }
  if (dc != nullptr) ReleaseDC(wnd, dc);
  advtbxpvs::CloseThemeData(theme);
}

}  // namespace toolbar
