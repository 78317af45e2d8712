// The paint pass of the office status bar and its drawing routines.
#include <algorithm>

#include "controls/AdvOfficeStatusBar.h"
#include "foundation/gdiplus/GPBrush.h"
#include "foundation/gdiplus/GPFont.h"
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/GPStringFormat.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"

using namespace gdiplus;

namespace officestatusbar {

namespace {

Integer StatusPaintChannel(TColor c, int shift) { return Integer((ColorToRGB(c) >> shift) & 0xFF); }

TColor StatusPaintRGB(Integer r, Integer g, Integer b) {
  return TColor(std::clamp(r, 0, 255) | (std::clamp(g, 0, 255) << 8) | (std::clamp(b, 0, 255) << 16));
}

void StatusPaintSolid(TCanvas* c, TColor col, const TRect& r) {
  c->Pen()->SetColor(col);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(col);
  c->Rectangle(r);
}

// Width of a text in the canvas font.
Integer StatusPaintWidth(TCanvas* c, const String& s) { return c->TextWidth(s); }

}  // namespace

TColor BlendColor(TColor Col1, TColor Col2, Integer Percent) {
  if (Percent >= 100) return Col1;
  if (Percent <= 0) return Col2;
  const double p = Percent / 100.0;
  auto mix = [&](int shift) {
    return Integer(Round(p * StatusPaintChannel(Col1, shift) + (1 - p) * StatusPaintChannel(Col2, shift)));
  };
  return StatusPaintRGB(mix(0), mix(8), mix(16));
}

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, Integer Steps) {
  if (Steps <= 0) Steps = 1;
  const double s = (Horizontal ? R.Width() : R.Height()) / double(Steps);
  const Integer fr = StatusPaintChannel(FromColor, 0), fg = StatusPaintChannel(FromColor, 8),
                fb = StatusPaintChannel(FromColor, 16);
  const Integer dr = StatusPaintChannel(ToColor, 0) - fr, dg = StatusPaintChannel(ToColor, 8) - fg,
                db = StatusPaintChannel(ToColor, 16) - fb;
  const Integer rs = Integer(Round(s));
  for (Integer i = 0; i < Steps; ++i) {
    const TColor col = StatusPaintRGB(fr + Integer(Round(double(i) * dr / Steps)),
                                      fg + Integer(Round(double(i) * dg / Steps)),
                                      fb + Integer(Round(double(i) * db / Steps)));
    const Integer o = Integer(Round(i * s));
    if (Horizontal) {
      StatusPaintSolid(Canvas, col, Rect(R.Left + o, R.Top, R.Left + o + rs + 1, R.Bottom));
    } else if (R.Width() == 1) {
      Canvas->Pen()->SetColor(col);
      Canvas->MoveTo(R.Left, R.Top + o);
      Canvas->LineTo(R.Left, R.Top + o + rs + 1);
    } else {
      StatusPaintSolid(Canvas, col, Rect(R.Left, R.Top + o, R.Right, R.Top + o + rs + 1));
    }
  }
}

void DrawMirrorGradient(TCanvas* Canvas, const TRect& R, TColor Color, bool Gradient, TColor BorderColor,
                        bool Vertical, TColor ColorMirrorTo, TColor ColorMirror, TColor ColorTo) {
  if (Gradient && Color != clNone) {
    const TColor to = ColorTo == clNone ? Color : ColorTo;
    if (ColorMirror == clNone) {
      DrawGradient(Canvas, Color, to, !Vertical, R, 128);
    } else {
      const Integer mid = R.Top + R.Height() / 2;
      DrawGradient(Canvas, Color, to, !Vertical, Rect(R.Left, R.Top, R.Right, mid), 128);
      const TColor mto = ColorMirrorTo == clNone ? ColorMirror : ColorMirrorTo;
      DrawGradient(Canvas, ColorMirror, mto, !Vertical, Rect(R.Left, mid, R.Right, R.Bottom), 128);
    }
  }
  if (BorderColor != clNone) {
    Canvas->Brush()->SetColor(BorderColor);
    Canvas->FrameRect(R);
  }
}

void ShortenPathStep(String& Path) {
  if (Path.empty()) return;
  if (Path == u"\\") {
    Path.clear();
    return;
  }
  bool slash = false;
  if (Path[0] == u'\\') {
    Path.erase(0, 1);
    slash = true;
  }
  if (!Path.empty() && Path[0] == u'.') Path.erase(0, std::min<size_t>(4, Path.size()));
  const size_t p = Path.find(u'\\');
  if (p == String::npos) Path.clear();
  else Path = u"...\\" + Path.substr(p + 1);
  if (slash) Path = u"\\" + Path;
}

void PathEllipsis(const String& Text, TCanvas* Canvas, Integer MaxWidth, String& Result) {
  const size_t cut = Text.rfind(u'\\');
  String dir = cut == String::npos ? String() : Text.substr(0, cut + 1);
  const String name = cut == String::npos ? Text : Text.substr(cut + 1);
  String drive;
  if (dir.size() >= 2 && dir[1] == u':') {
    drive = dir.substr(0, 2);
    dir.erase(0, 2);
  }
  // Each pass drops a component or the drive, so the loop ends.
  while ((!dir.empty() || !drive.empty()) && StatusPaintWidth(Canvas, drive + dir + name) > MaxWidth) {
    if (dir == u"\\...\\") {
      dir = u"...\\";
      drive.clear();
    } else if (!dir.empty()) {
      ShortenPathStep(dir);
    } else {
      drive.clear();
    }
  }
  Result = drive + dir + name;
}

void EllipsisText(bool PathMode, const String& Text, TCanvas* Canvas, String& Result, Integer MaxWidth) {
  if (PathMode) {
    PathEllipsis(Text, Canvas, MaxWidth, Result);
    return;
  }
  try {
    if (StatusPaintWidth(Canvas, Text) <= MaxWidth) {
      Result = Text;
      return;
    }
    TEXTMETRICW tm{};
    GetTextMetricsW(Canvas->Handle(), &tm);
    const Integer avg = tm.tmAveCharWidth;
    // A font without a usable width cannot place anything but the dot.
    if (avg <= 0 || 3 * avg >= MaxWidth) {
      Result = u".";
      return;
    }
    Integer n = std::clamp<Integer>(MaxWidth / avg - 1, 0, Integer(Text.size()));
    auto fits = [&](Integer k) { return StatusPaintWidth(Canvas, Text.substr(0, size_t(k)) + u"...") <= MaxWidth; };
    while (n > 0 && !fits(n)) --n;
    while (n < Integer(Text.size()) && fits(n + 1)) ++n;
    Result = Text.substr(0, size_t(n)) + u"...";
  } catch (...) {
    Result.clear();
  }
}

bool IsVectorFontInstalled(TCanvas* Canvas) {
  TEXTMETRICW tm{};
  if (!GetTextMetricsW(Canvas->Handle(), &tm)) return false;
  if (!(tm.tmPitchAndFamily & TMPF_VECTOR) || (tm.tmPitchAndFamily & TMPF_DEVICE)) return false;
  return Screen && Screen->Fonts()->IndexOf(Canvas->Font()->Name()) >= 0;
}

void DrawPanelText(TCanvas* Canvas, TAlignment Alignment, UINT DTFlags, const TRect& DrawRect, bool NoTrim,
                   bool Ellipsis, TAntiAlias AntiAlias, bool DoDraw, bool Enabled, TFont* Font, const String& Text,
                   TRect& TextRect) {
  TextRect = Rect(0, 0, 0, 0);
  if (Text.empty()) return;
  Canvas->Font()->SetName(Font->Name());
  String text = Text;
  if (AntiAlias != aaNone && IsVectorFontInstalled(Canvas)) {
    if (DTFlags & DT_PATH_ELLIPSIS) PathEllipsis(Text, Canvas, DrawRect.Width(), text);
    TGPGraphics g(Canvas->Handle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.SetTextRenderingHint(AntiAlias == aaClearType ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAlias);
    TGPFont font(Font->Name(), Single(Font->Size()), Font->Style());
    TGPSolidBrush brush(ColorToARGB(Enabled ? Font->Color() : TColor(0x808080)));
    TGPStringFormat fmt(0);
    fmt.SetAlignment(Alignment == taLeftJustify    ? StringAlignmentNear
                     : Alignment == taRightJustify ? StringAlignmentFar
                                                   : StringAlignmentCenter);
    fmt.SetLineAlignment(StringAlignmentCenter);
    fmt.SetHotkeyPrefix(HotkeyPrefixNone);
    const TGPRectF full = GPRectF(Single(DrawRect.Left), Single(DrawRect.Top), Single(DrawRect.Width()),
                                  Single(DrawRect.Height()));
    const TGPRectF wide = GPRectF(full.X, full.Y, 1000, full.Height);
    TGPRectF box{};
    g.MeasureString(text, Integer(text.size()), &font, (!DoDraw || (!Ellipsis && NoTrim)) ? full : wide, &fmt, box);
    if (box.Width >= 1073741823.0f || box.Height >= 1073741823.0f || box.X < 0 || box.Y < 0 || box.Width < 0 ||
        box.Height < 0) {
      TextRect = Rect(0, 0, 200, 20);
    } else {
      TextRect = Rect(Integer(Round(box.X)), Integer(Round(box.Y)), Integer(Round(box.X + box.Width)),
                      Integer(Round(box.Y + box.Height)));
    }
    if (!DoDraw) return;
    if (DrawRect.Width() < box.Width && (Ellipsis || !NoTrim)) {
      const String suffix = Ellipsis ? u"..." : u"";
      for (size_t n = 0, limit = text.size() + 1; n < limit && !text.empty(); ++n) {
        text.pop_back();
        TGPRectF b{};
        g.MeasureString(text + suffix, -1, &font, wide, &fmt, b);
        if (b.Width <= DrawRect.Width()) break;
      }
      text += suffix;
    }
    g.DrawString(text, Integer(text.size()), &font, full, &fmt, &brush);
    return;
  }
  TRect calc = Rect(0, 0, 1000, 100);
  String measured = text;
  Canvas->TextRect(calc, measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  TextRect = calc;
  if (!DoDraw) return;
  TRect r = DrawRect;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextRect(r, text, DTFlags);
}

void DrawGauge(TCanvas* Canvas, const TRect& Rect0, Integer Percent, const TGaugeSettings& S) {
  TRect R = Rect0;
  if (R.Width() <= 0 || R.Height() <= 0) return;
  const Integer W = R.Width();
  TBitmap saved(W, R.Height());
  saved.Canvas()->CopyRect(Rect(0, 0, W, R.Height()), Canvas, R);
  const TRect origin = R;
  Canvas->Brush()->SetStyle(bsSolid);
  if (S.ShowBorder) {
    Canvas->Pen()->SetColor(S.BorderColor);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
  } else if (S.BackgroundColor != clNone) {
    Canvas->Pen()->SetColor(S.BackgroundColor);
  }
  if (S.BackgroundColor != clNone) {
    Canvas->Brush()->SetColor(S.BackgroundColor);
    Canvas->Rectangle(R);
  } else if (S.ShowBorder) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(R);
  }
  if (S.ShowBorder) R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  const Integer IW = S.ShowBorder ? W - 4 : W - 2;
  const Integer P = std::clamp(Percent, 0, 100);

  auto gaps = [&](const TRect& seg) {
    for (Integer x = seg.Left + 8; x + 2 < seg.Right; x += 9) {
      const TRect stripe = Rect(x, seg.Top, x + 2, seg.Bottom + 1);
      if (S.BackgroundColor == clNone) {
        Canvas->CopyRect(stripe, saved.Canvas(),
                         Rect(x - origin.Left, seg.Top - origin.Top, x + 2 - origin.Left, seg.Bottom + 1 - origin.Top));
      } else {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(S.BackgroundColor);
        Canvas->FillRect(stripe);
      }
    }
  };
  auto paint = [&](const TRect& seg, TColor c, TColor cto, TColor flat) {
    if (seg.Width() <= 0) return;
    if (S.ShowGradient) {
      const Integer mid = seg.Top + seg.Height() / 2;
      DrawGradient(Canvas, cto, c, false, Rect(seg.Left, seg.Top, seg.Right, mid), S.Steps);
      DrawGradient(Canvas, c, cto, false, Rect(seg.Left, mid, seg.Right, seg.Bottom), S.Steps);
    } else {
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(flat);
      Canvas->FillRect(seg);
    }
  };
  auto width = [&](double perc) { return Integer(Round(perc / 100.0 * IW)); };

  if (P > 0) {
    if (S.Stacked) {
      const Integer w1 = P < S.Level1Perc ? width(P) : width(S.Level1Perc);
      const TRect s1 = Rect(R.Left + 1, R.Top + 1, R.Left + 1 + w1, R.Bottom - 2);
      paint(s1, S.Level0Color, S.Level0ColorTo, S.Level0Color);
      if (!S.CompletionSmooth) gaps(Rect(s1.Left, s1.Top + 1, s1.Right, s1.Bottom - 1));
      if (P >= S.Level1Perc) {
        const Integer w2 = P < S.Level2Perc ? width(P - S.Level1Perc) : width(S.Level2Perc - S.Level1Perc);
        const TRect s2 = Rect(s1.Right, s1.Top, s1.Right + w2, s1.Bottom);
        paint(s2, S.Level1Color, S.Level1ColorTo, S.Level1Color);
        if (!S.CompletionSmooth) gaps(Rect(s2.Left, s2.Top + 1, s2.Right, s2.Bottom - 1));
        if (P >= S.Level2Perc) {
          const Integer w3 = P == 100 ? IW - w1 - w2 : width(P - S.Level2Perc);
          const TRect s3 = Rect(s2.Right, s1.Top, s2.Right + w3, s1.Bottom);
          paint(s3, S.Level2Color, S.Level2ColorTo, S.Level3Color);
          if (!S.CompletionSmooth) gaps(Rect(s3.Left, s3.Top + 1, s3.Right, s3.Bottom - 1));
        }
      }
    } else {
      TColor c = S.Level3Color, cto = S.Level3ColorTo;
      if (P < S.Level1Perc) c = S.Level0Color, cto = S.Level0ColorTo;
      else if (P < S.Level2Perc) c = S.Level1Color, cto = S.Level1ColorTo;
      else if (P < 100) c = S.Level2Color, cto = S.Level2ColorTo;
      if (S.CompletionSmooth) {
        paint(Rect(R.Left + 1, R.Top + 1, R.Left + 1 + width(P), R.Bottom - 2), c, cto, c);
      } else {
        const TRect seg = Rect(R.Left + 2, R.Top + 2, R.Left + Integer(Round(double(P) * IW / 100.0)), R.Bottom - 3);
        paint(seg, c, cto, c);
        gaps(seg);
      }
    }
  }
  String text;
  if (!S.ShowPercentage) text = S.Text;
  else text = S.Prefix + (S.IsPercent ? IntToStr(P) + u"%" : IntToStr(S.Position)) + S.Suffix;
  if (text.empty()) return;
  if (S.Font) Canvas->Font()->Assign(S.Font);
  Canvas->Brush()->SetStyle(bsClear);
  const TSize ext = Canvas->TextExtent(text);
  Canvas->TextOut(R.Left + R.Width() / 2 - ext.cx / 2, R.Top + R.Height() / 2 - ext.cy / 2, text);
}

}  // namespace officestatusbar

using namespace officestatusbar;

officestatusbar::TStatusHTMLArgs TAdvOfficeStatusBar::HTMLArgs(const String& Text, const TRect& R) const {
  TStatusHTMLArgs a;
  a.Canvas = Canvas();
  a.Text = Text;
  a.R = R;
  a.Images = FImages;
  a.BlinkVisible = FTimerCount > 5;
  a.WrapWords = true;
  a.ScaleFontSizes = FFormScaled;
  a.URLColor = FURLColor;
  a.Container = FPictureContainer;
  return a;
}

void TAdvOfficeStatusBar::Paint() {
  TCanvas* c = Canvas();
  if (FSimplePanel) {
    DrawSimplePanel();
  } else {
    for (Integer i = 0; i < FPanels->Count(); ++i) DrawPanel(FPanels->Items(i), PanelWalk(i, true));
  }
  const Integer W = Width(), H = Height();
  if (SizeGripShown()) DrawSizeGrip(Rect(W - 18, 0, W - 3, H - 1));
  TCustomAdvOfficeStatusBarStyler* s = FCurrentOfficeStatusBarStyler;
  if (!s) return;
  if (!FMetro && s->BorderColor() != clNone) {
    const TRect r = Rect(0, 0, W - 1, H - 1);
    c->Pen()->SetColor(s->BorderColor());
    c->MoveTo(r.Left, r.Top);
    c->LineTo(r.Left, r.Bottom);
    c->LineTo(r.Right, r.Bottom);
    c->LineTo(r.Right, r.Top - 1);
    c->Pen()->SetColor(officestatusbar::BlendColor(s->BorderColor(), 0xFFFFFF, 80));
    c->MoveTo(r.Left, r.Top);
    c->LineTo(r.Right + 1, r.Top);
  }
  if (FOfficeStatusBarStyler && FOfficeStatusBarStyler->BorderColor() != clNone) {
    c->Pen()->SetColor(FOfficeStatusBarStyler->BorderColor());
    c->MoveTo(0, 0);
    c->LineTo(W, 0);
  }
}

void TAdvOfficeStatusBar::DrawSizeGrip(const TRect& G) {
  TCanvas* c = Canvas();
  static constexpr int pairs[6][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 1}};
  auto square = [&](Integer x, Integer y, TColor col) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(col);
    c->Pen()->SetColor(col);
    c->Rectangle(x, y, x + 2, y + 2);
  };
  if (!FMetro) {
    const TColor shadow = officestatusbar::BlendColor(FCurrentOfficeStatusBarStyler->PanelAppearanceDark()->Color(), 0xFFFFFF, 50);
    for (const auto& p : pairs) square(G.Left + 5 + 4 * p[0], G.Bottom - 4 - 4 * p[1], shadow);
  }
  for (const auto& p : pairs)
    square(G.Left + 4 + 4 * p[0], G.Bottom - 5 - 4 * p[1], FCurrentOfficeStatusBarStyler->BorderColor());
}

void TAdvOfficeStatusBar::DrawSimplePanel() {
  TCanvas* c = Canvas();
  TVistaBackground* a = FCurrentOfficeStatusBarStyler->PanelAppearanceLight();
  DrawMirrorGradient(c, Rect(0, 0, Width(), Height()), a->Color(), true, clNone, true, a->ColorMirrorTo(),
                     a->ColorMirror(), a->ColorTo());
  c->Font()->Assign(Font());
  c->Font()->SetColor(a->TextColor());
  c->Brush()->SetStyle(bsClear);
  TRect r = Rect(2, 2, Width() - 1, Height() - 1);
  TStatusHTMLArgs args = HTMLArgs(FSimpleText, r);
  args.WrapWords = false;
  args.BiDi = FBiDiMode;
  if (FBiDiMode == bdRightToLeft) {
    TStatusHTMLArgs m = args;
    m.HitTestPass = true;
    const Integer xs = StatusHTMLRender(m).XSize;
    r.Left = (Width() - 3 - (SizeGripShown() ? 15 : 0)) - xs;
    args.R = r;
  }
  args.HoverUnderlineOnly = FURLStyle == usNone;
  StatusHTMLRender(args);
}

void TAdvOfficeStatusBar::DrawPanelBackground(TAdvOfficeStatusPanel* Panel, const TRect& R) {
  TCanvas* c = Canvas();
  TVistaBackground* a = Panel->FAppearanceStyle == psLight ? FCurrentOfficeStatusBarStyler->PanelAppearanceLight()
                                                           : FCurrentOfficeStatusBarStyler->PanelAppearanceDark();
  const Integer index = Panel->Index();
  TColor border = a->BorderColor(), col = a->Color(), to = a->ColorTo(), mirror = a->ColorMirror(),
         mirrorTo = a->ColorMirrorTo();
  if (Panel->FButton && index == FDownPanelIndex) {
    border = a->BorderColorDown(), col = a->ColorDown(), to = a->ColorDownTo(), mirror = a->ColorMirrorDown(),
    mirrorTo = a->ColorMirrorDownTo();
  } else if (Panel->FButton && index == FHotPanelIndex) {
    border = a->BorderColorHot(), col = a->ColorHot(), to = a->ColorHotTo(), mirror = a->ColorMirrorHot(),
    mirrorTo = a->ColorMirrorHotTo();
  }
  TRect fill = R;
  if (index > 0 && FShowSplitter) fill.Left += 2;
  DrawMirrorGradient(c, fill, col, true, border, true, mirrorTo, mirror, to);
  if (index > 0 && FShowSplitter && !FMetro) {
    const Integer mid = R.Top + R.Height() / 2;
    const TColor C = a->ColorTo();
    const TColor blend = officestatusbar::BlendColor(C, 0xFFFFFF, 70);
    DrawGradient(c, blend, C, false, Rect(R.Left, R.Top, R.Left + 1, mid + 1), 40);
    DrawGradient(c, C, blend, false, Rect(R.Left, mid, R.Left + 1, R.Bottom), 40);
    const TColor E = border == clNone ? a->SeperatorColor() : officestatusbar::BlendColor(C, 0xFFFFFF, 50);
    DrawGradient(c, E, a->SeperatorColor(), false, Rect(R.Left + 1, R.Top, R.Left + 2, mid + 1), 40);
    DrawGradient(c, a->SeperatorColor(), E, false, Rect(R.Left + 1, mid, R.Left + 2, R.Bottom), 40);
  }
  if (FMetro && index > 0) {
    c->Pen()->SetColor(FCurrentOfficeStatusBarStyler->BorderColor());
    c->MoveTo(R.Left, R.Top);
    c->LineTo(R.Left, R.Bottom + 1);
  }
}

void TAdvOfficeStatusBar::DrawHTMLPanel(TAdvOfficeStatusPanel* p, const TRect& R, TAlignment Alignment) {
  TRect H = R;
  H.Left += p->FHTMLOffsetX;
  TStatusHTMLArgs a = HTMLArgs(p->FText, H);
  if (Alignment == taRightJustify || Alignment == taCenter) {
    TStatusHTMLArgs m = a;
    m.HitTestPass = true;
    const Integer xs = StatusHTMLRender(m).XSize;
    if (xs < H.Width()) {
      if (Alignment == taRightJustify) H.Left = H.Right - xs - p->FHTMLOffsetX;
      else H.Left += (H.Width() - xs) / 2;
    }
  }
  {
    TStatusHTMLArgs m = a;
    m.R = H;
    m.HitTestPass = true;
    const Integer ys = StatusHTMLRender(m).YSize;
    if (ys < H.Height()) {
      if (p->FVAlignment == vpaCenter) H.Top += (H.Height() - ys) / 2;
      else if (p->FVAlignment == vpaBottom) H.Top = H.Bottom - ys;
    }
  }
  a.R = H;
  a.HoverUnderlineOnly = FURLStyle == usNone;
  StatusHTMLRender(a);
}

void TAdvOfficeStatusBar::DrawPanel(TAdvOfficeStatusPanel* Panel, const TRect& Rect0) {
  if (Rect0.Width() <= 0 || Rect0.Height() <= 0 || !FCurrentOfficeStatusBarStyler || FDestroying) return;
  TCanvas* c = Canvas();
  TCustomAdvOfficeStatusBarStyler* s = FCurrentOfficeStatusBarStyler;
  TRect R = Rect0;
  if (FOfficeStatusBarStyler && FOfficeStatusBarStyler->BorderColor() != clNone && !FMetro) {
    R.Top += 1;
    R.Bottom -= 1;
  }
  if (FMetro) {
    R.Left -= 1;
    R.Right += 1;
  }
  const TAlignment align = Panel->FAlignment;
  DrawPanelBackground(Panel, R);
  R.Left += 2;
  R.Right -= 2;
  if (Panel->Index() == FPanels->Count() - 1 && SizeGripShown()) {
    R.Right -= 15;
    if (R.Width() <= 0) return;
  }
  TVistaBackground* a = Panel->FAppearanceStyle == psLight ? s->PanelAppearanceLight() : s->PanelAppearanceDark();
  c->Font()->Assign(Font());
  c->Font()->SetStyle(a->TextStyle());
  TColor textColor = a->TextColor();
  if (Panel->FButton && Panel->Index() == FDownPanelIndex) textColor = a->TextColorDown();
  else if (Panel->FButton && Panel->Index() == FHotPanelIndex) textColor = a->TextColorHot();
  if (!Panel->FEnabled) textColor = 0x808080;
  c->Font()->SetColor(textColor);
  c->Brush()->SetStyle(bsClear);

  const UINT vflag = Panel->FVAlignment == vpaCenter ? DT_VCENTER : Panel->FVAlignment == vpaBottom ? DT_BOTTOM : 0;
  const UINT hflag = align == taRightJustify ? DT_RIGHT : align == taCenter ? DT_CENTER : 0;
  TRect tr;
  auto text = [&](UINT flags, const TRect& r, bool ellipsis) {
    DrawPanelText(c, align, flags, r, false, ellipsis, FAntiAlias, true, Enabled() && Panel->FEnabled, c->Font(),
                  Panel->FText, tr);
  };
  auto image = [&](TCustomImageList* list, Integer index, TRect& r) {
    TCustomImageList* from = list;
    bool enabled = Panel->FEnabled;
    if (!enabled && list == FImages && FDisabledImages) {
      from = FDisabledImages;
      enabled = true;
    }
    from->Draw(c, r.Left, r.Top + (r.Height() - from->Height()) / 2, index, enabled);
    r.Left += from->Width();
  };
  switch (Panel->FStyle) {
    case psHTML:
      DrawHTMLPanel(Panel, R, align);
      break;
    case psProgress: {
      TProgressStyle* ps = Panel->Progress();
      TGaugeSettings g;
      g.Level0Color = ps->Level0Color(), g.Level0ColorTo = ps->Level0ColorTo();
      g.Level1Color = ps->Level1Color(), g.Level1ColorTo = ps->Level1ColorTo();
      g.Level2Color = ps->Level2Color(), g.Level2ColorTo = ps->Level2ColorTo();
      g.Level3Color = ps->Level3Color(), g.Level3ColorTo = ps->Level3ColorTo();
      g.Level1Perc = ps->Level1Perc(), g.Level2Perc = ps->Level2Perc();
      g.ShowBorder = ps->ShowBorder(), g.Stacked = ps->Stacked(), g.ShowPercentage = ps->ShowPercentage();
      g.IsPercent = ps->Indication() == piPercentage;
      g.CompletionSmooth = ps->CompletionSmooth(), g.ShowGradient = ps->ShowGradient();
      g.Font = c->Font();
      g.Steps = 11;
      g.BackgroundColor = ps->BackGround(), g.BorderColor = ps->BorderColor();
      g.Position = ps->Position(), g.Prefix = ps->Prefix(), g.Suffix = ps->Suffix(), g.Text = Panel->FText;
      DrawGauge(c, R, ps->Percent(), g);
      break;
    }
    case psImage: {
      if (FImages) {
        const Integer T = Panel->FText.empty() ? 0 : c->TextWidth(Panel->FText) + 4;
        if (align == taLeftJustify) R.Left += 2;
        else if (align == taRightJustify) R.Left = R.Right - FImages->Width() - T - 2;
        else R.Left += (R.Width() - FImages->Width() - T) / 2;
        image(FImages, Panel->FImageIndex, R);
      }
      text(DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | vflag | hflag, R, true);
      break;
    }
    case psImageList:
      if (FImages)
        for (Integer i = 0; i < Panel->ImageCount(); ++i) {
          R.Left += 2;
          image(FImages, Panel->GetImageIndexes(i), R);
        }
      break;
    case psAnimation:
      if (Panel->FAnimationImages) {
        R.Left += 2;
        image(Panel->FAnimationImages, Panel->FAnimated ? Panel->FAnimIndex : 0, R);
      }
      R.Left += 2;
      text(DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER | hflag, R, true);
      break;
    case psEllipsText:
    case psFileEllipsText: {
      UINT flags = DT_SINGLELINE | DT_NOPREFIX | vflag;
      flags |= Panel->FStyle == psEllipsText ? DT_END_ELLIPSIS : DT_PATH_ELLIPSIS;
      if (align == taLeftJustify) R.Left += 2;
      else flags |= hflag;
      text(flags, R, Panel->FStyle == psEllipsText);
      break;
    }
    case psOwnerDraw:
      if (OnDrawPanel) {
        OnDrawPanel(this, Panel, Rect0);
        break;
      }
      [[fallthrough]];
    default:
      R.Left += 2;
      R.Right -= 2;
      text(DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | hflag | vflag, R, true);
      break;
  }
}
