// The toolbar's painting: caption, background, bevel, corners, border, drag
// grip, right handle, caption option indicator and floating caption buttons.
// clNone means "not painted": it never reaches the canvas as a colour.
#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "ribbon/appearance/GroupAppearance.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ToolBarFaces.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0x000000;

Integer N(Integer k) { return ScaleToolBarSize(k, ToolBarDPIScale); }

void Line(TCanvas* C, TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (Color == clNone) return;
  C->Pen()->SetColor(Color);
  C->Pen()->SetWidth(1);
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

void Pixel(TCanvas* C, Integer X, Integer Y, TColor Color) {
  if (Color != clNone) C->SetPixels(X, Y, Color);
}

void Solid(TCanvas* C, const TRect& R, TColor Color) {
  if (Color == clNone) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

void Frame(TCanvas* C, const TRect& R, TColor Color) {
  if (Color == clNone) return;
  C->Brush()->SetStyle(bsClear);
  C->Pen()->SetColor(Color);
  C->Pen()->SetWidth(1);
  C->Rectangle(R);
}

// Nothing for two clNone colours, a solid fill for one, else a gradient.
void Fill(TCanvas* C, const TRect& R, TColor From, TColor To, Integer Steps, bool Horizontal) {
  if (From == clNone && To == clNone) return;
  if (From == clNone || To == clNone)
    Solid(C, R, From == clNone ? To : From);
  else
    toolbar::DrawGradient(C, From, To, Steps, R, Horizontal);
}

TColor Blend(TColor Hot, TColor Normal, Integer Percent) {
  if (Hot == clNone) return Normal;
  if (Normal == clNone) return Hot;
  return BlendColor(Hot, Normal, Percent);
}

bool Flat(TVornStyle S) {
  return S == tsWindows7 || (S >= tsOffice2010Blue && S <= tsOffice2019Black);
}

}  // namespace

void TAdvCustomToolBar::DrawToolBarCaption(const TRect& R, const String& Caption, const String& WideCaption,
                                           TAlignment Alignment, bool Ellipsis) {
  TRect measured;
  const UINT flags = DT_SINGLELINE | DT_VCENTER | (Ellipsis ? DT_END_ELLIPSIS : 0) |
                     (Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT);
  toolbar::DrawCaptionText(Canvas(), Caption, WideCaption, Canvas()->Font(), R, Alignment, flags, FAntiAlias, true,
                           Ellipsis, false, true, measured);
}

void TAdvCustomToolBar::Paint() {
  if (FUpdateCount > 0 || FDestroying) return;
  if (FFirstRun) {
    FFirstRun = false;
    // Re-parenting hidden controls changes what is being painted: the
    // check runs once the paint is over.
    if (InDockPanel()) RequestRestoreHiddenIfRoom();
  }
  TCustomZadEdevAziStyler* s = Styler();
  const TRect C = GetCaptionRect();
  const TRect R = GetControlsRect();
  TColor groupBorder = s->TabAppearance()->BorderColor();
  PaintCaption(C, groupBorder);
  TRect B;
  TColor base = clNone, border = clNone;
  PaintBackground(R, B, base, border);
  PaintBackgroundPicture(B);
  PaintBevel();
  DrawMDIButtons();
  DrawDragGrip();
  DrawRightHandle();
  PaintCorners(B, base);
  PaintBorder(B, base, border, groupBorder);
  if (FToolBarState == tsFloating) {
    DrawOptionButton();
    DrawCloseButton();
  }
}

void TAdvCustomToolBar::PaintCaption(const TRect& C, TColor& GroupBorder) {
  if (FToolBarState == tsFloating)
    PaintFloatingCaption(C);
  else if (FShowCaption)
    PaintDockedCaption(C, GroupBorder);
}

void TAdvCustomToolBar::PaintFloatingCaption(const TRect& C) {
  TCustomZadEdevAziStyler* s = Styler();
  ribbon::TCaptionAppearance* ca = s->CaptionAppearance();
  TCanvas* cv = Canvas();
  Fill(cv, C, ca->CaptionColor(), ca->CaptionColorTo(), 80, false);
  Frame(cv, C, ca->CaptionBorderColor());
  if (FCaption.empty() && FWideCaption.empty()) return;
  cv->Font()->Assign(FParentStyler ? s->CaptionFont() : FCaptionFont.get());
  if (ca->CaptionTextColor() != clNone) cv->Font()->SetColor(ca->CaptionTextColor());
  cv->Font()->SetHeight(Integer(Round(cv->Font()->Height() * double(ToolBarDPIScale))));
  Integer right = C.Right;
  if (FShowOptionIndicator) right = GetOptionButtonRect().Left;
  else if (FShowClose) right = GetCloseButtonRect().Left;
  cv->Brush()->SetStyle(bsClear);
  DrawToolBarCaption(TRect{C.Left + 3, C.Top, right, C.Bottom}, FCaption, FWideCaption, taLeftJustify, false);
}

void TAdvCustomToolBar::PaintDockedCaption(const TRect& C, TColor& GroupBorder) {
  TCustomZadEdevAziStyler* s = Styler();
  ribbon::TCaptionAppearance* ca = s->CaptionAppearance();
  IToolBarPage* page = GetPage();
  if (page != nullptr && page->HasPager())
    if (ribbon::TGroupAppearance* g = page->TabGroupAppearance()) {
      ca = g->CaptionAppearance();
      GroupBorder = g->BorderColor();
    }
  TColor fill = ca->CaptionColor(), fillTo = ca->CaptionColorTo(), frame = ca->CaptionBorderColor(),
         text = ca->CaptionTextColor();
  TColor fillHot = ca->CaptionColorHot(), fillHotTo = ca->CaptionColorHotTo(),
         frameHot = ca->CaptionBorderColorHot(), textHot = ca->CaptionTextColorHot();
  const bool tones = page != nullptr && page->HasPager() && page->PagerUsesTones();
  if (tones) {
    if (ribbon::TToolBarAppearance* ta = page->PagerToolBarAppearance())
      fill = fillTo = fillHot = fillHotTo = ta->Color()->Color();
    frame = frameHot = clNone;
    text = textHot = page->PagerToolBarCaptionTextColor();
  }
  const bool ribbon = OnPage() || OnCompactWindow();
  const bool activeOnPage = ribbon && Enabled() && page != nullptr && page->IsActivePage();
  if (FTimer != nullptr && fillHot != clNone && (!OnPage() || !activeOnPage)) {
    fill = Blend(fillHot, fill, FStepHover);
    fillTo = Blend(fillHotTo, fillTo, FStepHover);
    if (frame != clNone || frameHot != clNone) frame = Blend(frameHot, frame, FStepHover);
    if (text != clNone || textHot != clNone) text = Blend(textHot, text, FStepHover);
  } else if (FHot || activeOnPage) {
    if (fillHot != clNone) fill = fillHot;
    if (fillHotTo != clNone) fillTo = fillHotTo;
    if (frameHot != clNone) frame = frameHot;
    if (textHot != clNone) text = textHot;
  }
  TCanvas* cv = Canvas();
  Fill(cv, C, fill, fillTo, 80, false);
  Frame(cv, C, frame);
  if (FCaption.empty() && FWideCaption.empty()) return;

  const TDragGripStyle grip = (OnPage() || FHideDragGrip) ? dsNone : s->DragGripStyle();
  TRect T = C;
  const Integer start = grip == dsNone ? 3 : FDragGripWidth + 3;
  if (IsHorizontal()) T.Left += start;
  else T.Top += start;
  if (RightHandleShown(PartsFrame())) {
    if (IsHorizontal()) T.Right -= N(FPopupIndicatorWidth) + 2;
    else T.Bottom -= N(FPopupIndicatorWidth) + 2;
  }
  cv->Font()->Assign(s->CaptionFont());
  cv->Font()->SetHeight(
      Integer(Round(double(cv->Font()->Height()) * 96.0 / double(FInitPPI) * double(ToolBarDPIScale))));
  if (IsHorizontal()) T.Top -= Integer(Round((double(ToolBarDPIScale) - 1.0) * 3.0));
  if (text != clNone) cv->Font()->SetColor(text);
  cv->Brush()->SetStyle(bsClear);
  const String caption = FCaption.empty() ? FWideCaption : FCaption;
  const Integer W = MeasureToolBarText(cv, caption);
  if (IsHorizontal()) {
    const TRect opt = GetCaptionOptionRect();
    if (opt.Left >= 0) T.Right = opt.Left;
    else if (!FShowOptionIndicator && Flat(s->VornStyle())) T.Right -= 7;
    DrawToolBarCaption(T, FCaption, FWideCaption, FCaptionAlignment, true);
    return;
  }
  // Rotated text: reading upwards on the left side, downwards on the right.
  Integer x, y;
  if (FPosition == daLeft) {
    x = T.Left;
    y = FCaptionAlignment == taLeftJustify    ? T.Bottom - 2
        : FCaptionAlignment == taRightJustify ? T.Top + W + 2
                                              : T.Bottom - (T.Bottom - T.Top - W) / 2;
  } else {
    x = T.Right;
    y = FCaptionAlignment == taLeftJustify    ? T.Top
        : FCaptionAlignment == taRightJustify ? T.Bottom - W - 5
                                              : T.Top + (T.Bottom - T.Top - W) / 2;
  }
  TFont saved;
  saved.Assign(cv->Font());
  cv->Font()->SetOrientation(FPosition == daLeft ? 900 : 2700);
  DrawVerticalText(cv, FCaption, TPoint{x, y});
  cv->Font()->Assign(&saved);
}

void TAdvCustomToolBar::PaintBackground(const TRect& R, TRect& B, TColor& Base, TColor& Border) {
  TCustomZadEdevAziStyler* s = Styler();
  TCanvas* cv = Canvas();
  B = R;
  B.Bottom += 1;
  if (s->RoundEdges()) B.Right += 1;
  const bool floating = FToolBarState == tsFloating;
  bool horizontal = s->Color()->Direction() == gdHorizontal;
  if (!IsHorizontal() && !FParentStyler) horizontal = !horizontal;
  IToolBarPage* page = GetPage();
  const bool ribbon = OnPage() || OnCompactWindow();
  TVistaGradientBackground* c = s->Color();
  TVistaGradientBackground* ch = s->ColorHot();
  TColor base = ribbon ? c->Mirror()->Color() : c->Color();
  TColor baseTo = ribbon ? c->Mirror()->ColorTo() : c->ColorTo();
  TColor hot = ribbon ? ch->Mirror()->Color() : ch->Color();
  TColor hotTo = ribbon ? ch->Mirror()->ColorTo() : ch->ColorTo();
  Integer steps = c->Steps(), hotSteps = ch->Steps();
  TColor border = s->BorderColor(), borderHot = s->BorderColorHot();
  TColor mirror = c->Mirror()->ColorMirror(), mirrorTo = c->Mirror()->ColorMirrorTo();
  TColor mirrorHot = ch->Mirror()->ColorMirror(), mirrorHotTo = ch->Mirror()->ColorMirrorTo();

  if (FFullSize) {
    TGradientBackground* d = s->DockColor();
    if (floating) {
      Solid(cv, B, d->Color());
    } else {
      if (!s->Transparent()) Fill(cv, B, d->Color(), d->ColorTo(), 256, d->Direction() == gdHorizontal);
    }
    Base = d->Color();
    Border = clNone;
    return;
  }
  ribbon::TGroupAppearance* group =
      !floating && page != nullptr && page->HasPager() ? page->TabGroupAppearance() : nullptr;
  if (group != nullptr) {
    ribbon::TToolBarAppearance* ta = group->ToolBarAppearance();
    steps = ta->Color()->Steps();
    hotSteps = ta->ColorHot()->Steps();
    base = ta->Color()->Color();
    baseTo = ta->Color()->ColorTo();
    hot = ta->ColorHot()->Color();
    hotTo = ta->ColorHot()->ColorTo();
    border = ta->BorderColor();
    borderHot = ta->BorderColorHot();
  }
  const bool active = ribbon && Enabled() && page != nullptr && page->IsActivePage();
  if (FTimer != nullptr && hot != clNone && (!OnPage() || !active)) {
    base = Blend(hot, base, FStepHover);
    baseTo = Blend(hotTo, baseTo, FStepHover);
    mirror = Blend(mirrorHot, mirror, FStepHover);
    mirrorTo = Blend(mirrorHotTo, mirrorTo, FStepHover);
    if (border != clNone || borderHot != clNone) border = Blend(borderHot, border, FStepHover);
    steps = hotSteps;
  } else if (FHot || active) {
    if (hot != clNone) base = hot;
    if (hotTo != clNone) baseTo = hotTo;
    if (mirrorHot != clNone) mirror = mirrorHot;
    if (mirrorHotTo != clNone) mirrorTo = mirrorHotTo;
    if (border != clNone || borderHot != clNone) border = borderHot;
    steps = hotSteps;
  }
  if (!floating && page != nullptr && page->HasPager() && page->PagerUsesTones())
    if (ribbon::TToolBarAppearance* ta = page->PagerToolBarAppearance()) {
      base = ta->Color()->Color();
      baseTo = ta->Color()->ColorTo();
      border = ta->BorderColor();
      mirror = mirrorTo = clNone;
    }
  Base = base;
  Border = border;
  if (s->Transparent()) return;
  if (baseTo == clNone) {
    Solid(cv, B, base);
    return;
  }
  if (floating && FFloatingRows > 1) {
    TRect row = B;
    for (Integer i = 0; i < FFloatingRows; ++i) {
      row.Top = B.Top + i * FSizeAtDock;
      row.Bottom = row.Top + FSizeAtDock;
      Fill(cv, row, base, baseTo, steps, horizontal);
    }
    return;
  }
  if (OnPage() && group == nullptr) {
    const Integer upper = FCaptionPosition == cpTop ? 0 : std::max(0, 22 - Top());
    DrawVistaGradient(cv, B, upper, base, baseTo, mirror, mirrorTo, clNone, GetCornerRadius());
    return;
  }
  Fill(cv, B, base, baseTo, steps, horizontal);
}

void TAdvCustomToolBar::PaintBackgroundPicture(const TRect& B) {
  TCustomZadEdevAziStyler* s = Styler();
  TBitmap* pic = s->BackGround();
  if (s->Transparent() || pic == nullptr || pic->Empty()) return;
  TCanvas* cv = Canvas();
  const Integer pw = pic->Width(), ph = pic->Height();
  switch (s->BackGroundDisplay()) {
    case bdCenter: cv->Draw((Width() - pw) / 2, (Height() - ph) / 2, pic); break;
    case bdStretch: cv->StretchDraw(TRect{B.Left + 2, B.Top + 2, B.Right - 2, B.Bottom - 2}, pic); break;
    case bdTile:
      if (pw <= 0 || ph <= 0) break;
      for (Integer y = 0; y < Height() - 1; y += ph)
        for (Integer x = 0; x < Width() - 1; x += pw) cv->Draw(x, y, pic);
      break;
  }
}

void TAdvCustomToolBar::PaintBevel() {
  TCustomZadEdevAziStyler* s = Styler();
  if (!s->UseBevel() || FToolBarState == tsFloating) return;
  TCanvas* cv = Canvas();
  const Integer w = Width(), h = Height();
  auto poly = [&](TColor Color, std::vector<TPoint> Points) {
    cv->Pen()->SetColor(Color);
    cv->Polyline(Points);
  };
  if (s->Bevel() == bvLowered) {
    poly(clBtnShadow, {{1, h}, {1, 1}, {w, 1}});
    poly(White, {{w - 1, 1}, {w - 1, h - 1}, {1, h - 1}});
  } else if (s->Bevel() == bvRaised || s->Bevel() == bvSpace) {
    poly(White, {{0, h}, {0, 0}, {w, 0}});
    poly(clBtnShadow, {{w - 1, 0}, {w - 1, h - 1}, {0, h - 1}});
  }
}

void TAdvCustomToolBar::PaintCorners(TRect B, TColor Base) {
  TCustomZadEdevAziStyler* s = Styler();
  if (!s->RoundEdges() || s->Bevel() != bvNone) return;
  const TRect cl = ClientRect();
  if (FShowCaption && FToolBarState != tsFloating) {
    if (IsHorizontal()) {
      if (FCaptionPosition == cpBottom) B.Bottom = cl.Bottom + 1;
      else B.Top = cl.Top;
    } else {
      if (FCaptionPosition == cpBottom) B.Right = cl.Right + 1;
      else B.Left = cl.Left;
    }
  }
  const TVornStyle st = s->VornStyle();
  if (st == tsWindows7 || st == tsOffice2010Blue || st == tsOffice2010Silver || st == tsOffice2010Black ||
      st == tsWindows8 || st == tsWindows10)
    return;
  TCanvas* cv = Canvas();
  const bool rightToo = !FShowRightHandle && FToolBarState != tsFloating && !FFullSize;
  auto triple = [&](TPoint a, TPoint b, TPoint c, TColor ca, TColor cb, TColor cc) {
    Pixel(cv, a.X, a.Y, ca);
    Pixel(cv, b.X, b.Y, cb);
    Pixel(cv, c.X, c.Y, cc);
  };
  const TPoint tl[3] = {{B.Left, B.Top}, {B.Left + 1, B.Top}, {B.Left, B.Top + 1}};
  const TPoint bl[3] = {{B.Left, B.Bottom - 2}, {B.Left + 1, B.Bottom - 2}, {B.Left, B.Bottom - 3}};
  const TPoint tr[3] = {{B.Right - 2, B.Top}, {B.Right - 3, B.Top}, {B.Right - 2, B.Top + 1}};
  const TPoint br[3] = {{B.Right - 2, B.Bottom - 2}, {B.Right - 3, B.Bottom - 2}, {B.Right - 2, B.Bottom - 3}};
  const TPoint trv[3] = {{B.Right - 1, B.Top}, {B.Right - 2, B.Top}, {B.Right - 1, B.Top + 1}};
  if (OnCompactWindow() && IsHorizontal()) {
    triple(tl[0], tl[1], tl[2], Base, Base, Base);
    triple(bl[0], bl[1], bl[2], Base, Base, Base);
    if (rightToo) {
      triple(tr[0], tr[1], tr[2], Base, Base, Base);
      triple(br[0], br[1], br[2], Base, Base, Base);
    }
    return;
  }
  IToolBarPage* page = GetPage();
  if (page == nullptr) return;
  const Integer Lf = Left(), Tp = Top(), Wd = Width(), Ht = Height();
  auto px = [&](Integer x, Integer y) { return page->PageCanvasPixel(x, y); };
  // The pager's glass test holds its own scenic look.
  const bool glass = page->HasPager() && page->PagerIsOnGlass();
  if (!(IsHorizontal() && glass)) {
    triple(tl[0], tl[1], tl[2], px(Lf - 1, Tp - 1), px(Lf + 1, Tp - 1), px(Lf - 1, Tp));
    if (IsHorizontal()) {
      const TColor b = px(Lf - 1, Tp + Ht);
      triple(bl[0], bl[1], bl[2], b, b, b);
    }
  }
  if (IsHorizontal()) {
    if (rightToo) {
      const TColor t = px(Lf + Wd + 1, Tp), b = px(Lf + Wd + 1, Tp + Ht);
      triple(tr[0], tr[1], tr[2], t, t, t);
      triple(br[0], br[1], br[2], b, b, b);
    }
  } else {
    triple(trv[0], trv[1], trv[2], px(Lf + Wd, Tp), px(Lf + Wd - 1, Tp), px(Lf + Wd, Tp + 1));
    if (rightToo) {
      const TColor b = px(Lf - 1, Tp + Ht), r = px(Lf + Wd + 1, Tp + Ht);
      triple(bl[0], bl[1], bl[2], b, b, b);
      triple(br[0], br[1], br[2], r, r, r);
    }
  }
}

void TAdvCustomToolBar::PaintBorder(const TRect& B, TColor Base, TColor Border, TColor GroupBorder) {
  if (Border == clNone || FToolBarState == tsFloating) return;
  TCustomZadEdevAziStyler* s = Styler();
  TCanvas* cv = Canvas();
  IToolBarPage* page = GetPage();
  const bool tones = page != nullptr && page->HasPager() && page->PagerUsesTones();
  const bool scenic = gdiplus::GetScenicRibbonFlag();
  cv->Pen()->SetColor(Border);
  cv->Pen()->SetWidth(1);
  cv->Brush()->SetStyle(bsClear);
  if (!scenic && !tones) {
    if (s->RoundEdges() && s->Bevel() == bvNone)
      cv->RoundRect(B.Left, B.Top, B.Right - 1, B.Bottom - 1, 6, 6);
    else
      cv->Rectangle(B);
    return;
  }
  if (page == nullptr || !page->HasPager()) return;
  const Integer clientBottom = ClientRect().Bottom;
  if (tones && !FCompact) {
    Line(cv, Border, B.Right - 2, B.Top, B.Right - 2, B.Bottom);
    return;
  }
  if (page->PagerIsOnGlass()) {
    if (Base != clNone)
      FillAlphaGradientColors(cv->Handle(), TRect{B.Right - 4, B.Top, B.Right, clientBottom}, Base,
                              BlendColor(Base, White, 50), 60, 255);
    const TRect sep{B.Right - 3, B.Top, B.Right - 2, clientBottom};
    const TColor tab = s->TabAppearance()->BorderColor();
    if (page->TabGroupAppearance() != nullptr) {
      const Integer mid = sep.Top + sep.Height() / 2;
      FillAlphaGradientColors(cv->Handle(), TRect{sep.Left, sep.Top, sep.Right, mid}, tab, tab, 50, 140);
      FillAlphaGradientColors(cv->Handle(), TRect{sep.Left, mid, sep.Right, sep.Bottom}, tab, GroupBorder, 140, 210);
    } else {
      FillAlphaGradientColors(cv->Handle(), sep, GroupBorder, GroupBorder, 60, 255);
    }
    return;
  }
  if (Base != clNone) {
    cv->Pen()->SetColor(Base);
    cv->Pen()->SetWidth(3);
    cv->MoveTo(B.Right - 3, B.Top + 5);
    cv->LineTo(B.Right - 3, B.Bottom - 5);
    cv->Pen()->SetWidth(1);
  }
  Line(cv, Border, B.Right - 3, B.Top + 6, B.Right - 3, B.Bottom - 6);
}

// ---------------------------------------------------------------------------
// Grip, right handle, caption option indicator and caption buttons

void TAdvCustomToolBar::DrawDragGrip() {
  TCustomZadEdevAziStyler* s = Styler();
  const TDragGripStyle style = (OnPage() || OnCompactWindow() || FHideDragGrip) ? dsNone : s->DragGripStyle();
  if (style == dsNone || FToolBarState == tsFloating) return;
  TCanvas* cv = Canvas();
  const TRect g = GetDragGripRect();
  if (TBitmap* img = s->DragGripImage(); img != nullptr && !img->Empty()) {
    cv->StretchDraw(g, img);
    return;
  }
  const Integer L = g.Left, T = g.Top, Rt = g.Right, Bt = g.Bottom;
  const bool hz = IsHorizontal();
  auto square = [&](Integer x, Integer y, TColor Color) { Solid(cv, TRect{x, y, x + 2, y + 2}, Color); };
  switch (style) {
    case dsDots:
      if (hz) {
        for (Integer i = 0, y = T + 4; i < (Bt - 8) / 4; ++i, y += 4) {
          square(L + 3 + 1, y + 1, White);
          square(L + 3, y, clBtnShadow);
        }
      } else {
        for (Integer i = 0, x = L + 4; i < (Rt - 8) / 4; ++i, x += 4) {
          square(x + 1, T + 3 + 1, White);
          square(x, T + 3, clBtnShadow);
        }
      }
      break;
    case dsSingleLine:
      if (hz) DrawBevelLine(cv, TPoint{L + 4, Bt - 4}, TPoint{L + 4, T + 3}, true, true);
      else DrawBevelLine(cv, TPoint{L + 3, T + 4}, TPoint{Rt - 5, T + 4}, false, true);
      break;
    case dsDoubleLine:
      for (Integer d : {2, 5}) {
        if (hz) DrawBevelLine(cv, TPoint{L + d, Bt - 4}, TPoint{L + d, T + 3}, true, true);
        else DrawBevelLine(cv, TPoint{L + 3, T + d}, TPoint{Rt - 5, T + d}, false, true);
      }
      break;
    case dsFlatDots:
      if (hz) {
        for (Integer i = 0; i < (Bt - 8) / 2; ++i) Line(cv, 0xA5A5A5, L + 2, T + 2 * i + 4, L + 5, T + 2 * i + 4);
      } else {
        for (Integer i = 0; i < (Rt - 8) / 2; ++i) Line(cv, 0xA5A5A5, L + 2 * i + 4, T + 2, L + 2 * i + 4, T + 5);
      }
      break;
    case dsNone: break;
  }
}

void TAdvCustomToolBar::DrawRightHandle() {
  const TRect opt = GetCaptionOptionRect();
  if (opt.Left >= 0) {
    DrawCaptionOptionIndicator(opt);
    return;
  }
  if (!RightHandleShown(PartsFrame())) return;
  TCustomZadEdevAziStyler* s = Styler();
  TButtonAppearance* ba = s->ButtonAppearance();
  TCanvas* cv = Canvas();
  const TRect r = GetRightHandleRect();
  TColor from, to, border, glyph, arrow;
  if (FDownPopupIndicator) {
    from = s->RightHandleColorDown();
    to = s->RightHandleColorDownTo();
    border = ba->BorderDownColor();
    glyph = ba->CaptionTextColorDown();
    arrow = ba->CaptionTextColor();
  } else if (FHotPopupIndicator) {
    from = s->RightHandleColorHot();
    to = s->RightHandleColorHotTo();
    border = ba->BorderHotColor();
    glyph = arrow = ba->CaptionTextColorHot();
  } else {
    from = s->RightHandleColor();
    to = s->RightHandleColorTo();
    border = ba->BorderColor();
    glyph = arrow = ba->CaptionTextColor();
  }
  if (TBitmap* img = s->RightHandleImage(); img != nullptr && !img->Empty()) {
    cv->StretchDraw(r, img);
    return;
  }
  const bool hz = IsHorizontal();
  TRect f = r;
  if (hz) f.Left += 3;
  else f.Top += 3;
  if (from == clNone || to == clNone)
    Solid(cv, f, from);
  else
    toolbar::DrawGradient(cv, from, to, 16, f, !hz);
  const bool hidden = GetGrowRoom() > 0;
  if (s->RoundEdges()) {
    const TColor t = to == clNone ? from : to;
    const Integer L = r.Left, T = r.Top, Rt = r.Right, Bt = r.Bottom;
    if (hz) {
      Pixel(cv, L + 1, T, from);
      Pixel(cv, L + 2, T, from);
      Pixel(cv, L + 2, T + 1, from);
      Pixel(cv, L + 1, Bt - 2, t);
      Pixel(cv, L + 2, Bt - 2, t);
      Pixel(cv, L + 2, Bt - 3, t);
    } else {
      Pixel(cv, L, T + 2, from);
      Pixel(cv, L + 1, T + 2, from);
      Pixel(cv, L, T + 1, from);
      Pixel(cv, Rt - 1, T + 2, t);
      Pixel(cv, Rt - 2, T + 2, t);
      Pixel(cv, Rt - 1, T + 1, t);
    }
    if (hidden) DrawHiddenMarker(r);
    if (FShowOptionIndicator) DrawOptionArrow(r, arrow);
  } else {
    Frame(cv, hz ? TRect{r.Left + 3, r.Top, r.Right - 1, r.Bottom - 1} : TRect{r.Left, r.Top + 3, r.Right, r.Bottom},
          border);
    if (hidden) DrawHiddenChevron(r, glyph);
    if (FShowOptionIndicator) DrawOptionArrowFlat(r, glyph, arrow);
  }
}

void TAdvCustomToolBar::DrawHiddenMarker(const TRect& R) {
  TCanvas* cv = Canvas();
  const Integer L = R.Left, T = R.Top, Rt = R.Right;
  if (IsHorizontal()) {
    Line(cv, Black, Rt - 6, T + 5, Rt - 6, T + 8);
    Line(cv, Black, Rt - 6, T + 6, Rt - 4, T + 6);
    Line(cv, Black, Rt - 10, T + 5, Rt - 10, T + 8);
    Line(cv, Black, Rt - 10, T + 6, Rt - 8, T + 6);
    Line(cv, White, Rt - 5, T + 7, Rt - 5, T + 9);
    Line(cv, White, Rt - 5, T + 7, Rt - 3, T + 7);
    Line(cv, White, Rt - 9, T + 7, Rt - 9, T + 9);
    Line(cv, White, Rt - 9, T + 7, Rt - 7, T + 7);
  } else {
    Line(cv, Black, L + 5, T + 5, L + 8, T + 5);
    Line(cv, Black, L + 6, T + 5, L + 6, T + 7);
    Line(cv, Black, L + 5, T + 9, L + 8, T + 9);
    Line(cv, Black, L + 6, T + 9, L + 6, T + 11);
    Line(cv, White, L + 7, T + 6, L + 9, T + 6);
    Line(cv, White, L + 7, T + 6, L + 7, T + 8);
    Line(cv, White, L + 7, T + 10, L + 9, T + 10);
    Line(cv, White, L + 7, T + 10, L + 7, T + 12);
  }
}

void TAdvCustomToolBar::DrawHiddenChevron(const TRect& R, TColor Color) {
  if (Color == clNone) return;
  TCanvas* cv = Canvas();
  cv->Pen()->SetColor(Color);
  const Integer L = R.Left, T = R.Top;
  if (IsHorizontal()) {
    cv->Polyline({{L + 8, T + 3}, {L + 11, T + 6}, {L + 7, T + 10}});
    cv->Polyline({{L + 6, T + 3}, {L + 9, T + 6}, {L + 5, T + 10}});
  } else {
    cv->Polyline({{L + 3, T + 6}, {L + 5, T + 8}, {L + 8, T + 5}});
    cv->Polyline({{L + 3, T + 8}, {L + 5, T + 10}, {L + 8, T + 7}});
  }
}

void TAdvCustomToolBar::DrawOptionArrow(const TRect& R, TColor Color) {
  if (Color == clNone) return;
  TCanvas* cv = Canvas();
  const TColor shadow = TColor(ColorToRGB(Color) ^ 0xFFFFFF);
  const Integer T = R.Top, Rt = R.Right, Bt = R.Bottom;
  if (IsHorizontal()) {
    if (ToolBarDPIScale >= 1.1f) {
      // The larger arrow, scaled: a bar and a triangle over their shadow.
      Line(cv, shadow, Rt - N(9) + 1, Bt - N(11) + 1, Rt - N(4) + 1, Bt - N(11) + 1);
      Line(cv, Color, Rt - N(9), Bt - N(11), Rt - N(4), Bt - N(11));
      cv->Brush()->SetStyle(bsSolid);
      cv->Brush()->SetColor(shadow);
      cv->Pen()->SetColor(shadow);
      cv->Polygon({{Rt - N(9), Bt - N(7)}, {Rt - N(4) + 1, Bt - N(7)}, {Rt - N(7) + 1, Bt - N(5) + 1}});
      cv->Brush()->SetColor(Color);
      cv->Pen()->SetColor(Color);
      cv->Polygon({{Rt - N(9), Bt - N(7) - 1}, {Rt - N(4), Bt - N(7) - 1}, {Rt - N(7), Bt - N(5)}});
      return;
    }
    Line(cv, Color, Rt - 9, Bt - 11, Rt - 4, Bt - 11);
    Line(cv, Color, Rt - 9, Bt - 8, Rt - 4, Bt - 8);
    Line(cv, Color, Rt - 8, Bt - 7, Rt - 5, Bt - 7);
    Pixel(cv, Rt - 7, Bt - 6, Color);
    Line(cv, shadow, Rt - 8, Bt - 10, Rt - 3, Bt - 10);
    Line(cv, shadow, Rt - 5, Bt - 7, Rt - 3, Bt - 7);
    Line(cv, shadow, Rt - 6, Bt - 6, Rt - 4, Bt - 6);
    Pixel(cv, Rt - 6, Bt - 5, shadow);
  } else {
    Line(cv, Color, Rt - 9, T + 5, Rt - 9, T + 10);
    Line(cv, Color, Rt - 6, T + 5, Rt - 6, T + 10);
    Line(cv, Color, Rt - 5, T + 6, Rt - 5, T + 9);
    Pixel(cv, Rt - 4, T + 7, Color);
    Line(cv, shadow, Rt - 8, T + 6, Rt - 8, T + 11);
    Line(cv, shadow, Rt - 5, T + 9, Rt - 5, T + 11);
    Line(cv, shadow, Rt - 4, T + 8, Rt - 2, T + 8);
    Pixel(cv, Rt - 4, T + 9, shadow);
  }
}

void TAdvCustomToolBar::DrawOptionArrowFlat(const TRect& R, TColor GlyphColor, TColor ArrowColor) {
  TCanvas* cv = Canvas();
  const Integer T = R.Top, Rt = R.Right, Bt = R.Bottom;
  if (IsHorizontal()) {
    if (ToolBarDPIScale >= 1.2f) {
      if (ArrowColor == clNone) return;
      Line(cv, ArrowColor, Rt - N(9), Bt - N(9), Rt - N(4), Bt - N(9));
      cv->Brush()->SetStyle(bsSolid);
      cv->Brush()->SetColor(ArrowColor);
      cv->Pen()->SetColor(ArrowColor);
      cv->Polygon({{Rt - N(9), Bt - N(7)}, {Rt - N(4) + 1, Bt - N(7)}, {Rt - N(7) + 1, Bt - N(5) + 2}});
      return;
    }
    Line(cv, GlyphColor, Rt - 9, Bt - 9, Rt - 4, Bt - 9);
    Line(cv, GlyphColor, Rt - 9, Bt - 7, Rt - 4, Bt - 7);
    Line(cv, GlyphColor, Rt - 8, Bt - 6, Rt - 5, Bt - 6);
    Pixel(cv, Rt - 7, Bt - 5, GlyphColor);
  } else {
    Line(cv, GlyphColor, Rt - 9, T + 6, Rt - 9, T + 11);
    Line(cv, GlyphColor, Rt - 6, T + 6, Rt - 6, T + 11);
    Line(cv, GlyphColor, Rt - 5, T + 7, Rt - 5, T + 10);
    Pixel(cv, Rt - 4, T + 8, GlyphColor);
  }
}

void TAdvCustomToolBar::DrawCaptionOptionIndicator(const TRect& R) {
  TCustomZadEdevAziStyler* s = Styler();
  TGlowButtonAppearance* a = s->GlowButtonAppearance();
  TCanvas* cv = Canvas();
  TColor from = clNone, to = clNone, mirror = clNone, mirrorTo = clNone, border = clNone;
  if (FCapOptIndicatorDown) {
    from = a->ColorDown();
    to = a->ColorDownTo();
    mirror = a->ColorMirrorDown();
    mirrorTo = a->ColorMirrorDownTo();
    border = a->BorderColorDown();
  } else if (FCapOptIndicatorHot) {
    from = a->ColorHot();
    to = a->ColorHotTo();
    mirror = a->ColorMirrorHot();
    mirrorTo = a->ColorMirrorHotTo();
    border = a->BorderColorHot();
  }
  IToolBarPage* tonesPage = GetPage();
  if (tonesPage != nullptr && tonesPage->HasPager() && tonesPage->PagerUsesTones())
    if (TGlowButtonAppearance* pa = tonesPage->PagerGlowButtonAppearance()) {
      if (FCapOptIndicatorDown) {
        from = to = mirror = mirrorTo = pa->ColorDown();
        border = pa->BorderColorDown();
      } else if (FCapOptIndicatorHot) {
        from = to = mirror = mirrorTo = pa->ColorHot();
        border = pa->BorderColorHot();
      }
    }
  TGDIPGradient gradient = a->Gradient(), mirrorGradient = a->GradientMirror();
  if (FCapOptIndicatorDown) {
    gradient = a->GradientDown();
    mirrorGradient = a->GradientMirrorDown();
  } else if (FCapOptIndicatorHot) {
    gradient = a->GradientHot();
    mirrorGradient = a->GradientMirrorHot();
  }
  if (FCapOptIndicatorDown || FCapOptIndicatorHot)
    DrawGlowFace(cv, R, from, to, mirror, mirrorTo, border, gradient, mirrorGradient, true, false, true, FAntiAlias,
                 nullptr, u"");
  TGDIPPicture* pic = nullptr;
  IToolBarPage* page = tonesPage;
  if (FParentOptionPicture && page != nullptr && page->HasPager()) {
    pic = page->PagerOptionPicture(false);
    if (!Enabled())
      if (TGDIPPicture* d = page->PagerOptionPicture(true); d != nullptr && !d->Empty()) pic = d;
  } else {
    pic = FIOptionPicture.get();
    if (!Enabled() && !FIOptionDisabledPicture->Empty()) pic = FIOptionDisabledPicture.get();
  }
  if (pic == nullptr || pic->Empty()) return;
  const Integer x = R.Left + std::max(0, (R.Width() - pic->Width()) / 2);
  const Integer y = R.Top + std::max(0, (R.Height() - pic->Height()) / 2);
  cv->Draw(x, y, pic);
}

void TAdvCustomToolBar::DrawCloseCross(TPoint P, TColor Color) {
  TCanvas* cv = Canvas();
  const Integer L = P.X, T = P.Y;
  Line(cv, Color, L, T + 7, L + 8, T);
  Line(cv, Color, L + 1, T + 7, L + 7, T);
  Line(cv, Color, L, T + 1, L + 8, T + 8);
  Line(cv, Color, L + 1, T + 1, L + 7, T + 8);
}

namespace {

// The pressed, hot and normal looks of a floating caption button.
void CaptionButtonFace(TCanvas* cv, const TRect& R, TCustomZadEdevAziStyler* s, bool Hot, bool Down, TColor& Glyph) {
  TCustomAdvMenuStyler* ms = s->CurrentAdvMenuStyler();
  TColor pen, brush;
  if (Down) {
    pen = Black;
    brush = ms != nullptr ? ms->RootItem()->Color() : clNone;
    Glyph = White;
  } else if (Hot) {
    pen = Black;
    brush = ms != nullptr ? ms->RootItem()->HoverColor() : clNone;
    Glyph = Black;
  } else {
    pen = brush = s->CaptionAppearance()->CaptionColor();
    Glyph = White;
  }
  Solid(cv, R, brush);
  Frame(cv, R, pen);
}

}  // namespace

void TAdvCustomToolBar::DrawCloseButton() {
  if (FToolBarState != tsFloating || !FShowClose) return;
  const TRect r = GetCloseButtonRect();
  TColor glyph = White;
  CaptionButtonFace(Canvas(), r, Styler(), FHotCloseBtn, FDownCloseBtn, glyph);
  DrawCloseCross(TPoint{r.Left + 4, r.Top + 4}, glyph);
}

void TAdvCustomToolBar::DrawOptionButton() {
  if (FToolBarState != tsFloating || !FShowOptionIndicator) return;
  const TRect r = GetOptionButtonRect();
  TColor glyph = White;
  CaptionButtonFace(Canvas(), r, Styler(), FHotCustomizedBtn, FDownCustomizedBtn, glyph);
  TCanvas* cv = Canvas();
  const Integer L = r.Left, Bt = r.Bottom;
  Line(cv, glyph, L + 5, Bt - 10, L + 12, Bt - 10);
  Line(cv, glyph, L + 6, Bt - 9, L + 11, Bt - 9);
  Line(cv, glyph, L + 7, Bt - 8, L + 10, Bt - 8);
  Line(cv, glyph, L + 8, Bt - 7, L + 9, Bt - 7);
}

// ---------------------------------------------------------------------------
// State changes that repaint

void TAdvCustomToolBar::SetHot(bool Value) {
  if (FHot == Value) return;
  FHot = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetHotPopupIndicator(bool Value) {
  if (FHotPopupIndicator == Value) return;
  FHotPopupIndicator = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetDownPopupIndicator(bool Value) {
  if (FDownPopupIndicator == Value) return;
  FDownPopupIndicator = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetCaptionOptionState(bool AHot, bool ADown) {
  FCapOptIndicatorHot = AHot;
  FCapOptIndicatorDown = ADown;
  Invalidate();
}

void TAdvCustomToolBar::SetCloseButtonState(bool AHot, bool ADown) {
  FHotCloseBtn = AHot;
  FDownCloseBtn = ADown;
  Invalidate();
}

void TAdvCustomToolBar::SetOptionButtonState(bool AHot, bool ADown) {
  FHotCustomizedBtn = AHot;
  FDownCustomizedBtn = ADown;
  Invalidate();
}

}  // namespace toolbar
