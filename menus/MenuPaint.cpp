#include "menus/MenuPaint.h"

#include "menus/MenuQueries.h"
#include <algorithm>
#include <cstring>

#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/KeyNames.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"

namespace {

struct TPaintRGB {
  Integer R, G, B;
};

TPaintRGB PaintParts(TColor C) {
  Byte r, g, b;
  ColorToRGBParts(C, r, g, b);
  return {r, g, b};
}

void PaintHLine(TCanvas* Canvas, Integer X1, Integer X2, Integer Y, TColor C) {
  Canvas->Pen()->SetColor(C);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->MoveTo(X1, Y);
  Canvas->LineTo(X2, Y);
}

void PaintVLine(TCanvas* Canvas, Integer X, Integer Y1, Integer Y2, TColor C) {
  Canvas->Pen()->SetColor(C);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->MoveTo(X, Y1);
  Canvas->LineTo(X, Y2);
}

// Writes one pixel into a 32-bit bitmap row (blue, green, red, 0).
void PaintPutPixel(Byte* Row, Integer X, const TPaintRGB& C) {
  Row[X * 4 + 0] = Byte(C.B);
  Row[X * 4 + 1] = Byte(C.G);
  Row[X * 4 + 2] = Byte(C.R);
  Row[X * 4 + 3] = 0;
}

}  // namespace

float GetMenuDPIScale() {
  HWND wnd = nullptr;
  if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm()->HandleAllocated())
    wnd = Application->MainForm()->Handle();
  // Without the main window a memory DC answers the screen's pixels per inch;
  // the screen's own DC would first make a picture of the whole desktop.
  HDC dc = wnd != nullptr ? GetDC(wnd) : CreateCompatibleDC(nullptr);
  const int ppi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc != nullptr && wnd != nullptr) ReleaseDC(wnd, dc);
  else if (dc != nullptr) DeleteDC(dc);
  return ppi > 0 ? float(ppi) / 96.0f : 1.0f;
}

void CenterRect(TRect& R, Integer W, Integer H) {
  R.Right = (R.Left + R.Right + W) / 2;
  R.Bottom = (R.Top + R.Bottom + H) / 2;
  R.Left = R.Right - W;
  R.Top = R.Bottom - H;
}

TRect BitmapRect(TBitmap* Bitmap) {
  if (Bitmap == nullptr) return TRect{0, 0, 0, 0};
  return TRect{0, 0, Bitmap->Width(), Bitmap->Height()};
}

void ColorToRGBParts(TColor Color, Byte& R, Byte& G, Byte& B) {
  const TColor c = ColorToRGB(Color);
  R = Byte(c & 0xFF);
  G = Byte((c >> 8) & 0xFF);
  B = Byte((c >> 16) & 0xFF);
}

TColor MakeRGB(Integer R, Integer G, Integer B) {
  auto m = [](Integer v) { return TColor(((v % 256) + 256) % 256); };
  return m(R) + m(G) * 256 + m(B) * 65536;
}

HFONT CreateRotatedFont(TFont* Font, Integer Angle) {
  LOGFONTW lf{};
  lf.lfHeight = Font->Height();
  lf.lfWidth = 0;
  lf.lfEscapement = Angle * 10;
  lf.lfOrientation = 0;
  lf.lfWeight = Font->Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Font->Style().Contains(fsItalic) ? 1 : 0;
  lf.lfUnderline = Font->Style().Contains(fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = Font->Style().Contains(fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfPitchAndFamily = Font->Pitch() == fpVariable ? VARIABLE_PITCH
                        : Font->Pitch() == fpFixed  ? FIXED_PITCH
                                                    : DEFAULT_PITCH;
  const String& name = Font->Name();
  const std::size_t n = std::min<std::size_t>(name.size(), 31);
  std::copy_n(name.data(), n, lf.lfFaceName);
  lf.lfFaceName[n] = 0;
  return CreateFontIndirectW(&lf);
}

void DrawGradientRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo,
                      TGradientDirection Direction) {
  if (ColorTo == clNone) ColorTo = Color;
  const TPaintRGB c0 = PaintParts(Color), c1 = PaintParts(ColorTo);
  const Integer dR = c1.R - c0.R, dG = c1.G - c0.G, dB = c1.B - c0.B;
  const Integer H = R.Height(), W = R.Width();
  if (W <= 0 || H <= 0) return;
  auto at = [&](Integer i, Integer D) { return TPaintRGB{c0.R + i * dR / D, c0.G + i * dG / D, c0.B + i * dB / D}; };
  const bool solid = ColorToRGB(Color) == ColorToRGB(ColorTo);
  if (Bitmap != nullptr) {
    Bitmap->SetPixelFormat(pf32bit);
    // Pixels outside the bitmap are skipped.
    const Integer x0 = std::max(R.Left, 0), x1 = std::min(R.Right, Bitmap->Width());
    const Integer y0 = std::max(R.Top, 0), y1 = std::min(R.Bottom, Bitmap->Height());
    for (Integer y = y0; y < y1; ++y) {
      auto* row = static_cast<Byte*>(Bitmap->ScanLine(y));
      for (Integer x = x0; x < x1; ++x) {
        const TPaintRGB c = solid ? c0 : Direction == gdVertical ? at(y - R.Top, H) : at(x - R.Left, W);
        PaintPutPixel(row, x, c);
      }
    }
    return;
  }
  if (Canvas == nullptr) return;
  if (solid) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(ColorToRGB(Color));
    Canvas->FillRect(R);
    return;
  }
  if (Direction == gdVertical) {
    for (Integer y = R.Top; y < R.Bottom; ++y) {
      const TPaintRGB c = at(y - R.Top, H);
      PaintHLine(Canvas, R.Left, R.Left + W, y, MakeRGB(c.R, c.G, c.B));
    }
  } else {
    for (Integer x = R.Left; x < R.Right; ++x) {
      const TPaintRGB c = at(x - R.Left, W);
      PaintVLine(Canvas, x, R.Top, R.Bottom, MakeRGB(c.R, c.G, c.B));
    }
  }
}

void DrawGradientClip(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Full, TColor Color, TColor ColorTo,
                      TGradientDirection Direction, const TRect& Clip) {
  TRect C{std::max(Full.Left, Clip.Left), std::max(Full.Top, Clip.Top), std::min(Full.Right, Clip.Right),
          std::min(Full.Bottom, Clip.Bottom)};
  if (C.Width() <= 0 || C.Height() <= 0) return;
  if (ColorTo == clNone) ColorTo = Color;
  const Integer D = Direction == gdHorizontal ? Full.Width() : Full.Height();
  const Integer p = Direction == gdHorizontal ? C.Left - Full.Left : C.Top - Full.Top;
  const Integer q = Direction == gdHorizontal ? C.Right - Full.Left : C.Bottom - Full.Top;
  const TPaintRGB c0 = PaintParts(Color), c1 = PaintParts(ColorTo);
  auto at = [&](Integer i) {
    return MakeRGB(c0.R + (c1.R - c0.R) * i / D, c0.G + (c1.G - c0.G) * i / D, c0.B + (c1.B - c0.B) * i / D);
  };
  DrawGradientRect(Bitmap, Canvas, C, at(p), at(q), Direction);
}

void DrawGradientBox(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo,
                     TGradientDirection Direction, TColor Border, bool Fill) {
  DrawMirrorBox(Bitmap, Canvas, R, Color, ColorTo, clNone, clNone, Direction, Border, Fill);
}

void DrawMirrorBox(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor Mirror,
                   TColor MirrorTo, TGradientDirection Direction, TColor Border, bool Fill) {
  if (Fill && Color != clNone) {
    if (Mirror == clNone) {
      DrawGradientRect(Bitmap, Canvas, R, Color, ColorTo, Direction);
    } else {
      const Integer mid = R.Top + R.Height() / 2;
      DrawGradientRect(Bitmap, Canvas, TRect{R.Left, R.Top, R.Right, mid}, Color, ColorTo, Direction);
      DrawGradientRect(Bitmap, Canvas, TRect{R.Left, mid, R.Right, R.Bottom}, Mirror, MirrorTo, Direction);
    }
  }
  if (Border == clNone) return;
  TCanvas* target = Bitmap != nullptr ? Bitmap->Canvas() : Canvas;
  if (target == nullptr) return;
  target->Brush()->SetStyle(bsSolid);
  target->Brush()->SetColor(ColorToRGB(Border));
  target->FrameRect(R);
}

void DrawGradientLine(TBitmap* Bitmap, TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo,
                      TGradientDirection Direction, TGradientType GradientType, Integer GW, Integer Margin) {
  if (ColorTo == clNone) ColorTo = Color;
  auto rect = [&](Integer a, Integer b, bool horizontal) {
    return horizontal ? TRect{a, R.Top, b, R.Bottom} : TRect{R.Left, a, R.Right, b};
  };
  const bool h = Direction == gdHorizontal;
  Integer lo = h ? R.Left + Margin : R.Top + Margin;
  Integer hi = h ? R.Right - Margin : R.Bottom - Margin;
  if (!h && GradientType == gtBoth) GW *= 2;
  const Integer len = hi - lo;
  bool solidPart = true;
  if (GW >= len) {
    GW = std::max(len, 0);
    solidPart = false;
  }
  if (solidPart) {
    if (h) {
      if (GradientType == gtLeft) DrawGradientRect(Bitmap, Canvas, rect(lo + GW, hi, true), ColorTo, ColorTo, Direction);
      else if (GradientType == gtRight) DrawGradientRect(Bitmap, Canvas, rect(lo, hi - GW, true), ColorTo, ColorTo, Direction);
      else DrawGradientRect(Bitmap, Canvas, rect(lo + GW / 2, hi - GW / 2, true), Color, Color, Direction);
    } else {
      if (GradientType == gtLeft) DrawGradientRect(Bitmap, Canvas, rect(lo, hi - GW, false), ColorTo, ColorTo, Direction);
      else if (GradientType == gtRight) DrawGradientRect(Bitmap, Canvas, rect(lo + GW, hi, false), ColorTo, ColorTo, Direction);
      else DrawGradientRect(Bitmap, Canvas, rect(lo + GW / 2, hi - GW / 2, false), Color, Color, Direction);
    }
  }
  if (GW <= 0) return;
  if (h) {
    if (GradientType == gtLeft) {
      DrawGradientRect(Bitmap, Canvas, rect(lo, lo + GW, true), Color, ColorTo, gdHorizontal);
    } else if (GradientType == gtRight) {
      DrawGradientRect(Bitmap, Canvas, rect(hi - GW, hi, true), ColorTo, Color, gdHorizontal);
    } else {
      DrawGradientRect(Bitmap, Canvas, rect(lo, lo + GW / 2, true), ColorTo, Color, gdHorizontal);
      DrawGradientRect(Bitmap, Canvas, rect(hi - GW / 2, hi, true), Color, ColorTo, gdHorizontal);
    }
  } else {
    if (GradientType == gtLeft) {
      DrawGradientRect(Bitmap, Canvas, rect(hi - GW, hi, false), ColorTo, Color, gdVertical);
    } else if (GradientType == gtRight) {
      DrawGradientRect(Bitmap, Canvas, rect(lo, lo + GW, false), Color, ColorTo, gdVertical);
    } else {
      DrawGradientRect(Bitmap, Canvas, rect(lo, lo + GW / 2, false), ColorTo, Color, gdVertical);
      DrawGradientRect(Bitmap, Canvas, rect(hi - GW / 2, hi, false), Color, ColorTo, gdVertical);
    }
  }
}

void RenderBackground(TCanvas* Canvas, TRect R, TBackground* Background, bool WithGradient) {
  if (Canvas == nullptr || Background == nullptr) return;
  R.Left += Background->MarginX();
  R.Right -= Background->MarginX();
  R.Top += Background->MarginY();
  R.Bottom -= Background->MarginY();
  if (R.Width() <= 0 || R.Height() <= 0) return;
  TBitmap* work = Background->WorkBitmap();
  work->SetSize(R.Width(), R.Height());
  const bool picture = Background->HasPicture();
  TGraphic* g = picture ? Background->Image()->Graphic() : nullptr;
  auto* bmp = dynamic_cast<TBitmap*>(g);
  const bool transparentBitmap = bmp != nullptr && bmp->Transparent();
  const TBackgroundPosition pos = Background->Position();
  if (WithGradient && (!picture || (pos != bpTiled && pos != bpStretched) || transparentBitmap))
    DrawGradientRect(nullptr, work->Canvas(), TRect{0, 0, work->Width(), work->Height()}, Background->Color(),
                     Background->ColorTo(), Background->GradientDirection());
  if (picture) {
    TCanvas* wc = work->Canvas();
    const Integer pw = g->Width(), ph = g->Height();
    switch (pos) {
      case bpTiled:
        if (pw >= 1 && ph >= 1)
          for (Integer y = 0; y < work->Height(); y += ph)
            for (Integer x = 0; x < work->Width(); x += pw) wc->Draw(x, y, g);
        break;
      case bpStretched: wc->StretchDraw(TRect{0, 0, work->Width(), work->Height()}, g); break;
      case bpXY: wc->Draw(Background->OffsetX(), Background->OffsetY(), g); break;
      default: {
        Integer x = 0, y = 0;
        Background->CalcPicturePosition(TRect{0, 0, work->Width(), work->Height()}, x, y);
        wc->Draw(x, y, g);
      }
    }
  }
  Canvas->Draw(R.Left, R.Top, work);
}

namespace {
TSideBar* PaintSideBarOf(TMenu* Menu) {
  IAdvMenu* m = GetAdvMenuIntf(Menu);
  if (m == nullptr || m->GetCurrentMenuStyler() == nullptr) return nullptr;
  return m->GetCurrentMenuStyler()->SideBar();
}
}  // namespace

void DrawSideBarCaption(TMenu* Menu, TCanvas* Canvas, const TRect& B) {
  TSideBar* sb = PaintSideBarOf(Menu);
  if (sb == nullptr || Canvas == nullptr) return;
  const float D = GetMenuDPIScale();
  Canvas->SetFont(sb->Font());
  HFONT rotated = CreateRotatedFont(Canvas->Font(), sb->Direction() == dUpToDown ? -90 : 90);
  const String& caption = sb->Caption();
  // The unrotated extent in the caption font.
  const TSize ext = Canvas->TextExtent(caption);
  const Integer cx = ext.cx, cy = ext.cy;
  Integer X = Integer(Round((Round(sb->Size() * D) - cy) / 2.0 - 0.5));
  Integer Y = 0;
  const Integer h = B.Height();
  const bool down = sb->Direction() == dDownToUp;
  if (sb->Alignment() == taCenter) {
    Y = Integer(Round((h + cx) / 2.0 - 0.5));
  } else if ((sb->Alignment() == taRightJustify && down) || (sb->Alignment() == taLeftJustify && !down)) {
    Y = sb->OffsetY() + cx;
  } else {
    Y = h - sb->OffsetY();
    if (sb->Image()->HasPicture() &&
        (sb->Image()->Position() == bpBottomLeft || sb->Image()->Position() == bpBottomRight))
      Y -= sb->Image()->Image()->Height();
  }
  if (!down) {
    Y -= cx;
    X += cy + 1;
  }
  X += B.Left;
  Y += B.Top;
  HDC dc = Canvas->Handle();
  HGDIOBJ old = SelectObject(dc, rotated);
  SetBkMode(dc, TRANSPARENT);
  const TRect clip{B.Left, B.Top, B.Right, B.Bottom + 1};
  auto out = [&](Integer x, Integer y, TColor c) {
    SetTextColor(dc, ColorToRGB(c));
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, caption.data(), UINT(caption.size()), nullptr);
  };
  const Integer D2 = sb->Depth();
  if (sb->HighlightColor() != clNone) out(X - D2, Y + D2, sb->HighlightColor());
  if (sb->ShadowColor() != clNone) out(X + D2, Y - D2, sb->ShadowColor());
  out(X, Y, sb->Font()->Color());
  SelectObject(dc, old);
  DeleteObject(rotated);
  SetBkMode(dc, OPAQUE);
}

void DrawSideBarBorder(TMenu* Menu, TCanvas* Canvas, const TRect& B) {
  TSideBar* sb = PaintSideBarOf(Menu);
  if (sb == nullptr || Canvas == nullptr || sb->BorderColor() == clNone) return;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(ColorToRGB(sb->BorderColor()));
  Canvas->FrameRect(TRect{B.Left, B.Top, B.Right - sb->SplitterWidth(), B.Bottom});
}

void DrawSideBarSplitter(TMenu* Menu, TCanvas* Canvas, const TRect& B) {
  TSideBar* sb = PaintSideBarOf(Menu);
  if (sb == nullptr || Canvas == nullptr || sb->SplitterColor() == clNone) return;
  DrawGradientLine(nullptr, Canvas, TRect{B.Right - sb->SplitterWidth(), B.Top, B.Right, B.Bottom},
                   sb->SplitterColor(), sb->SplitterColorTo(), gdVertical, sb->SplitterGradientType(),
                   sb->SplitterGradientWidth(), sb->SplitterMargin());
}

String MenuKeyName(Word Key) {
  const bool plain = Key == VK_BACK || Key == VK_RETURN || Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU;
  LPARAM lp = LPARAM(MapVirtualKey(Key, MAPVK_VK_TO_VSC)) << 16;
  if (!plain) lp |= LPARAM(1) << 24;
  Char buf[256] = {};
  const int n = GetKeyNameText(lp, buf, 255);
  String s(buf, std::size_t(std::max(n, 0)));
  if (s.size() > 1) s = s.substr(0, 1) + LowerCase(s.substr(1));
  const std::size_t open = s.find(u'(');
  if (open != String::npos && open + 1 < s.size()) s[open + 1] = UpperCase(s.substr(open + 1, 1))[0];
  return s;
}

String ShortCutName(TShortCut SC, bool International) {
  if (!International) {
    String s = ShortCutToText(SC);
    if (SC & 0x0200) s = u"Win+" + s;
    return s;
  }
  const Word K = SC & 0xFF;
  String s = K >= VK_F1 && K <= VK_F1 + 23 ? u"F" + IntToStr(K - 111) : MenuKeyName(K);
  if (SC & scShift) s = MenuKeyName(VK_SHIFT) + u"+" + s;
  if (SC & scCtrl) s = MenuKeyName(VK_CONTROL) + u"+" + s;
  if (SC & scAlt) s = MenuKeyName(VK_MENU) + u"+" + s;
  return s;
}
