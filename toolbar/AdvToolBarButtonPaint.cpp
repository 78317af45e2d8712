// Painting of the toolbar button and the menu button: state fix-ups,
// background, frames, drop-down arrow, image and caption. clNone never
// reaches a canvas: a part in clNone is left out.
#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Forms.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ToolBarFaces.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/ZadEdevAziStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

Integer PaintRound(double v) { return Integer(Round(v)); }

void PenLine(TCanvas* c, Integer x1, Integer y1, Integer x2, Integer y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

// The colours a state paints with.
struct TFaceColors {
  TColor C1 = clNone, C2 = clNone, Text = clNone, Border = clNone, Drop1 = clNone, Drop2 = clNone;
  TColor Arrow = clBlack;
  bool Horizontal = false;
  TBitmap* Glyph = nullptr;
};

TBitmap* NonEmpty(TBitmap* b) { return b != nullptr && !b->Empty() ? b : nullptr; }

// Sets Graphic transparent without its change notice reaching the button
// (painting must not re-size or re-mark the button).
void MakeTransparent(TGraphic* g, bool AutoMode) {
  if (g == nullptr) return;
  auto* b = dynamic_cast<TBitmap*>(g);
  const bool modeOk = b == nullptr || !AutoMode || b->TransparentMode() == tmAuto;
  if (g->Transparent() && modeOk) return;
  TNotifyEvent saved = std::move(g->OnChange);
  g->OnChange = nullptr;
  if (b != nullptr && AutoMode) b->SetTransparentMode(tmAuto);
  g->SetTransparent(true);
  g->OnChange = std::move(saved);
}

}  // namespace

TColor TAdvCustomToolBarButton::GetDisabledTextColor() { return clBtnShadow; }

void TAdvCustomToolBarButton::Paint() {
  if (!Enabled()) {
    FState = absDisabled;
    FDragging = false;
  } else if (FState == absDisabled) {
    FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
  }
  if (FStyle == tasCheck && FDown) FState = absDown;
  DrawButton(Canvas());
}

namespace {

// The background fill of one section: a 40-step gradient (glass: the GDI+
// vertical gradient); a colour in clNone takes the other one.
void FillSection(TCanvas* c, const TRect& r, TColor a, TColor b, bool horizontal, bool glass) {
  if (a == clNone) a = b;
  if (b == clNone) b = a;
  if (a == clNone || r.Right <= r.Left || r.Bottom <= r.Top) return;
  if (glass)
    FillVerticalGradient(nullptr, c, a, b, r, horizontal);
  else if (a == b) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(a);
    c->Pen()->SetColor(a);
    c->Rectangle(r);
  } else {
    toolbar::DrawGradient(c, a, b, 40, r, horizontal);
  }
}

void FrameSection(TCanvas* c, const TRect& r, TColor color, bool glass, bool glassMinusOne) {
  if (color == clNone) return;
  if (glass) {
    const TRect o = glassMinusOne ? TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1} : r;
    DrawRectOutline(nullptr, c, color, o);
    return;
  }
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(color);
  c->Rectangle(r);
}

// The line-drawn arrow pointing down, centred in D, scaled by s.
void DrawArrowLines(TCanvas* c, const TRect& D, TColor color, Single s) {
  if (color == clNone) return;
  c->Pen()->SetColor(color);
  const Integer cx = D.Left + D.Width() / 2, cy = D.Top + D.Height() / 2;
  const Integer rs = PaintRound(s);
  if (rs % 2 != 0) {
    c->MoveTo(cx - PaintRound(3 * s), cy - PaintRound(s));
    c->LineTo(cx, cy + PaintRound(2 * s));
    c->LineTo(cx + PaintRound(3 * s) + 1, cy - PaintRound(s) - 1);
  } else {
    c->MoveTo(cx - PaintRound(4 * s), cy - PaintRound(2 * s));
    c->LineTo(cx, cy + PaintRound(s) + 1);
    c->LineTo(cx + PaintRound(4 * s) + 1, cy - PaintRound(2 * s) - 1);
  }
}

}  // namespace

void TAdvCustomToolBarButton::DrawButton(TCanvas* ACanvas) {
  if (ACanvas == nullptr) return;
  const TRect R{0, 0, ClientWidth(), ClientHeight()};
  const bool vertical = IsVertical();
  const bool glass = OnGlass();
  const Integer dw = PaintRound(FDropDownSectWidth * ToolBarDPIScale);
  const TRect D = vertical ? TRect{R.Left, R.Bottom - dw, R.Right, R.Bottom} : TRect{R.Right - dw, R.Top, R.Right, R.Bottom};
  TRect M = R;
  if (FDropDownButton) {
    if (vertical)
      M.Bottom = D.Top;
    else
      M.Right = D.Left;
  }
  TCustomZadEdevAziStyler* styler = FParentStyler ? CurrentStyler() : nullptr;
  TButtonAppearance* OA = FAppearance.get();
  TButtonAppearance* A = styler != nullptr ? styler->ButtonAppearance() : OA;

  TFaceColors f;
  f.Glyph = NonEmpty(FGlyph.get());
  const bool downCheck = FStyle == tasCheck && FDown;
  if (FState == absDisabled || !Enabled()) {
    if (!FTransparent) {
      f.C1 = OA->Color();
      f.C2 = OA->ColorTo();
      f.Border = OA->BorderColor();
    }
    f.Text = OA->CaptionTextColor();
    f.Horizontal = OA->GradientDirection() == gdHorizontal;
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    if (!FGlyphDisabled->Empty()) f.Glyph = FGlyphDisabled.get();
  } else if (FState == absDropDown) {
    // Only a menu button drops; its own painting covers this state.
  } else if ((FState == absDown || (Hot() && FState == absExclusive) || FMouseDownInControl) && !downCheck) {
    f.C1 = A->ColorDown();
    f.C2 = A->ColorDownTo();
    f.Text = A->CaptionTextColorDown();
    f.Border = A->BorderDownColor();
    f.Horizontal = A->GradientDirectionDown() == gdHorizontal;
    f.Drop1 = A->ColorHot();
    f.Drop2 = A->ColorHotTo();
    if (!FGlyphDown->Empty()) f.Glyph = FGlyphDown.get();
  } else if (FState == absExclusive || (downCheck && FState == absDown)) {
    f.C1 = A->ColorChecked();
    f.C2 = A->ColorCheckedTo();
    f.Text = A->CaptionTextColorChecked();
    f.Border = A->BorderCheckedColor();
    f.Horizontal = A->GradientDirectionChecked() == gdHorizontal;
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    if (!FGlyphChecked->Empty()) f.Glyph = FGlyphChecked.get();
  } else if (Hot()) {
    f.C1 = A->ColorHot();
    f.C2 = A->ColorHotTo();
    f.Text = A->CaptionTextColorHot();
    f.Border = A->BorderHotColor();
    f.Horizontal = A->GradientDirectionHot() == gdHorizontal;
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    if (!FGlyphHot->Empty()) f.Glyph = FGlyphHot.get();
  } else {
    if (!FTransparent) {
      f.C1 = OA->Color();
      f.C2 = OA->ColorTo();
      f.Border = OA->BorderColor();
    }
    f.Text = A->CaptionTextColor();
    f.Horizontal = OA->GradientDirection() == gdHorizontal;
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    f.Glyph = FGlyph.get();
  }
  PaintFace(ACanvas, R, M, D, f.C1, f.C2, f.Drop1, f.Drop2, f.Border, f.Horizontal, f.Text, f.Arrow, f.Glyph, vertical,
            glass);
}

void TAdvCustomToolBarButton::PaintFace(TCanvas* ACanvas, const TRect& R, const TRect& M, const TRect& D, TColor C1,
                                        TColor C2, TColor DC1, TColor DC2, TColor B, bool Horizontal, TColor T,
                                        TColor ArrowColor, TBitmap* G, bool Vertical, bool Glass) {
  // 1. Background.
  if (C1 != clNone) {
    if (FDropDownButton) FillSection(ACanvas, R, DC1, C2 != clNone ? DC2 : DC1, Horizontal, Glass);
    FillSection(ACanvas, M, C1, C2 != clNone ? C2 : C1, Horizontal, Glass);
  }
  // 2. Frames: a split button shows a dividing line between its parts.
  if (B != clNone) {
    if (FDropDownButton && FDropDownSplit) FrameSection(ACanvas, R, B, Glass, true);
    if (!FDropDownButton || FDropDownSplit)
      FrameSection(ACanvas, M, B, Glass, true);
    else
      FrameSection(ACanvas, TRect{M.Left, M.Top, R.Right, R.Bottom}, B, Glass, false);
  }
  // 3. The open menu's frame, open toward the menu.
  if (FMenuSel && FDropDownSplit) {
    TColor pen = 0x00800000;
    if (TCustomZadEdevAziStyler* s = FParentStyler ? CurrentStyler() : nullptr)
      if (TCustomAdvMenuStyler* ms = s->CurrentAdvMenuStyler()) pen = ms->MenuBorderColor();
    if (pen != clNone) {
      const Integer top = Vertical ? M.Top : D.Top;
      ACanvas->Pen()->SetColor(pen);
      ACanvas->MoveTo(M.Left, D.Bottom);
      ACanvas->LineTo(M.Left, top);
      ACanvas->LineTo(D.Right - 1, top);
      ACanvas->LineTo(D.Right - 1, D.Bottom);
    }
  }
  // 4. White caption and arrow on the glass caption of a maximised form.
  if (Glass && !ComponentState().Contains(csDesigning) && Enabled() && FState == absUp && !Hot()) {
    IQuickAccessButtonHost* q = QuickAccessHost();
    TCustomForm* form = GetParentForm(this, true);
    if (q != nullptr && !q->FullSize() && form != nullptr && form->WindowState() == wsMaximized) {
      T = 0x00FFFFFF;
      ArrowColor = 0x00FFFFFF;
    }
  }
  // 5. The drop-down arrow.
  if (FDropDownButton) DrawDropArrow(ACanvas, D, ArrowColor, Glass);
  // 6. Image and caption.
  DrawGlyphAndText(ACanvas, M, G, T);
}

void TAdvCustomToolBarButton::DrawDropArrow(TCanvas* ACanvas, const TRect& D, TColor Color, bool Glass) {
  // Down on every side: on a vertical toolbar, too, the menu opens below the button.
  if (Glass) {
    const TPoint P{D.Left + (D.Width() - 5) / 2, D.Top + (D.Height() - 3) / 2 + 1};
    DrawDropDownArrow(nullptr, ACanvas, Color, P);
  } else {
    DrawArrowLines(ACanvas, D, Color, ToolBarDPIScale);
  }
}

void TAdvCustomToolBarButton::DrawGlyphAndText(TCanvas* ACanvas, TRect ARect, TBitmap* AGlyph, TColor ATextColor) {
  if (ACanvas == nullptr) return;
  const bool vertical = IsVertical();
  const bool glass = OnGlass();
  IQuickAccessButtonHost* q = QuickAccessHost();
  TAdvCustomToolBar* tb = ZadEdevAzi();
  TCustomZadEdevAziStyler* styler = FParentStyler ? CurrentStyler() : nullptr;
  const float S2 = GetControlDPIScale(this, ACanvas);
  const bool hasCaption = FShowCaption && !Caption().empty();
  // Without a caption the canvas font is the button's; with one, the caption
  // font is selected here and kept for drawing unless that scales otherwise.
  if (!hasCaption) ACanvas->Font()->Assign(Font());
  Integer A = 0, Q = 0;
  const bool measureScaled = !(styler != nullptr && styler->AdvMenuStyler() != nullptr && IsMenuButton());
  if (hasCaption) {
    SelectCaptionFont(ACanvas, S2, measureScaled);
    TRect r{0, 0, 1000, 100};
    DrawTextOn(ACanvas, Caption(), r, DT_CALCRECT | DT_SINGLELINE);
    A = r.Right;
    Q = r.Bottom;
  }
  const Integer Sp = A >= 1 && Q >= 1 ? FSpacing : 0;
  UINT F = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
  TRect TR = ARect;
  const Integer Wr = ARect.Width(), Hr = ARect.Height();
  Integer X = 0, Y = 0;
  if (vertical) {
    X = ARect.Right + 1 - (Wr - Q) / 2;
    Y = ARect.Top + (Hr - A) / 2;
  } else {
    X = ARect.Left;
    Y = ARect.Top;
  }

  // The image source.
  TCustomImageList* list = nullptr;
  Integer index = -1;
  GetImageSource(list, index, true);
  bool disabledList = false;
  if (!Enabled()) {
    TCustomImageList* dl = tb != nullptr ? tb->DisabledImages() : (q != nullptr ? q->DisabledImages() : nullptr);
    if (dl != nullptr) {
      list = dl;
      disabledList = true;
    }
  }
  enum { srcNone, srcList, srcGlyph, srcPicture } src = srcNone;
  Integer Iw = 0, Ih = 0;
  TGraphic* pic = nullptr;
  if (index >= 0 && list != nullptr) {
    src = srcList;
    Iw = list->Width();
    Ih = list->Height();
  } else if (AGlyph != nullptr && !AGlyph->Empty()) {
    src = srcGlyph;
    Iw = AGlyph->Width();
    Ih = AGlyph->Height();
  } else if (FPicture->Graphic() != nullptr && !FPicture->Graphic()->Empty()) {
    src = srcPicture;
    pic = FPicture->Graphic();
    Iw = pic->Width();
    Ih = pic->Height();
  }
  const Integer Ht = Height();
  Integer K = 0, J = 0;
  const TRect& Rr = ARect;
  if (src != srcNone) {
    const bool listImage = src == srcList;
    if (!vertical) {
      switch (FGlyphPosition) {
        case gpLeft:
          K = (Wr - Iw - Sp - A) / 2;
          J = (Ht - Ih) / 2;
          TR = TRect{Iw + K + Sp, Rr.Top, Rr.Right, Rr.Bottom};
          F = DT_SINGLELINE | DT_VCENTER;
          break;
        case gpTop:
          K = (Wr - Iw) / 2;
          J = (Ht - Q - Ih - Sp) / 2;
          TR = TRect{Rr.Left, Ih + J + Sp, Rr.Right, Rr.Bottom};
          F = DT_SINGLELINE | DT_CENTER;
          break;
        case gpRight:
          K = (Wr - Iw) - (Wr - Iw - Sp - A) / 2;
          J = (Ht - Ih) / 2;
          TR = TRect{(Wr - Iw - Sp - A) / 2, Rr.Top, src == srcPicture ? K : K - Sp, Rr.Bottom};
          F = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
          break;
        case gpBottom:
          K = (Wr - Iw) / 2;
          J = (Ht - Ih) - (Ht - Ih - Sp - Q) / 2;
          TR = TRect{Rr.Left, J - Sp - Q, Rr.Right, J};
          F = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
          break;
      }
    } else {
      switch (FGlyphPosition) {
        case gpLeft:
          K = (Wr - Iw) / 2;
          J = (Hr - Ih - Sp - A) / 2;
          TR = TRect{Rr.Right - (Wr - Q) / 2, Ih + J + Sp, Rr.Right, Rr.Bottom};
          F = DT_SINGLELINE | DT_CENTER;
          X = TR.Left;
          Y = TR.Top;
          break;
        case gpTop:
          K = Wr - Iw - (Wr - Iw - Sp - Q) / 2;
          J = (Hr - Ih) / 2;
          if (listImage) {
            TR = TRect{Rr.Left, Rr.Top + (Hr - A) / 2, K - Sp, Rr.Bottom};
            TR.Left = TR.Right - (TR.Width() - Q) / 2;
          } else {
            TR = TRect{Rr.Left, Rr.Top, K - Sp, Rr.Bottom};
          }
          F = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
          X = TR.Left;
          Y = TR.Top;
          break;
        case gpRight:
          K = (Wr - Iw) / 2;
          J = (Hr - Ih) - (Hr - Ih - Sp - A) / 2;
          if (listImage)
            TR = TRect{Rr.Right - (Wr - Q) / 2, Rr.Top + (Hr - Ih - Sp - A) / 2, Rr.Right, J - Sp};
          else
            TR = TRect{Rr.Left, Rr.Top, Rr.Right, J - Sp};
          F = DT_SINGLELINE | DT_BOTTOM | DT_CENTER;
          X = TR.Left;
          Y = TR.Top;
          break;
        case gpBottom:
          K = (Wr - Iw - Sp - Q) / 2;
          J = (Hr - Ih) / 2;
          TR = TRect{K + Sp + Iw, Rr.Top, Rr.Right, Rr.Bottom};
          TR.Left = TR.Right - (TR.Width() - Q) / 2;
          F = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
          X = TR.Left;
          Y = TR.Top + (TR.Height() - A) / 2;
          break;
      }
    }
    if (!AutoSize()) {
      if (vertical && J < 0) {
        TR.Top += -J + 1;
        Y += -J + 1;
        J = 1;
        F |= DT_END_ELLIPSIS;
      } else if (!vertical && K < 0) {
        TR.Left += -K + 1;
        K = 1;
        F |= DT_END_ELLIPSIS;
      }
    }
    if (FDrawPosition->Enabled()) {
      K = FDrawPosition->ImageX();
      J = FDrawPosition->ImageY();
    }
    FPaintingImage = true;
    try {
      DrawImage(ACanvas, src == srcList ? list : nullptr, index, disabledList, src == srcGlyph ? AGlyph : nullptr,
                src == srcPicture, K, J, glass);
    } catch (const Exception&) {
      // A picture that cannot be drawn (no memory for it) leaves its place
      // empty; the rest of the button still paints.
    }
    FPaintingImage = false;
  }

  if (!hasCaption || ATextColor == clNone) return;
  const bool menuSystemFont = IsMenuButton() && styler != nullptr && styler->AdvMenuStyler() != nullptr &&
                              styler->CurrentAdvMenuStyler() != nullptr &&
                              styler->CurrentAdvMenuStyler()->RootItem()->UseSystemFont();
  if (menuSystemFont == measureScaled) SelectCaptionFont(ACanvas, S2, !menuSystemFont);
  if (vertical) ACanvas->Font()->SetOrientation(FRotateDirection == rdNormal ? -900 : 900);
  ACanvas->Font()->SetColor(ATextColor);
  ACanvas->Brush()->SetStyle(bsClear);
  if (!AutoSize()) {
    if (vertical && Y < 0) {
      Y = 1;
      F |= DT_END_ELLIPSIS;
    } else if (!vertical && TR.Left < 0) {
      TR.Left = 1;
      F = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    }
  }
  if (FDrawPosition->Enabled()) {
    F = DT_END_ELLIPSIS | DT_SINGLELINE;
    TR = TRect{FDrawPosition->TextX(), FDrawPosition->TextY(), Width(), Height()};
  }
  if (FRotateDirection == rdReverse) {
    Y = TR.Bottom - 2;
    X = TR.Left;
  }
  const bool disabled = FState == absDisabled;
  if (vertical) {
    if (disabled) {
      // No style services here: the embossed pair.
      ACanvas->Font()->SetColor(clBtnHighlight);
      DrawVerticalText(ACanvas, Caption(), TPoint{X, Y});
      ACanvas->Font()->SetColor(clBtnShadow);
      DrawVerticalText(ACanvas, Caption(), TPoint{X - 1, Y - 1});
    } else {
      DrawVerticalText(ACanvas, Caption(), TPoint{X, Y});
    }
    return;
  }
  if (Enabled() && !disabled) {
    if (glass && q != nullptr && !q->FullSize()) {
      TRect textRect{};
      const TAlignment align = (F & DT_RIGHT) != 0 ? taRightJustify : (F & DT_CENTER) != 0 ? taCenter : taLeftJustify;
      DrawCaptionText(ACanvas, Caption(), u"", ACanvas->Font(), TR, align, F, gdiplus::aaClearType, true,
                      (F & DT_END_ELLIPSIS) != 0, false, true, textRect);
      return;
    }
    DrawTextOn(ACanvas, Caption(), TR, F);
    return;
  }
  ACanvas->Font()->SetColor(clBtnHighlight);
  TRect moved{TR.Left + 1, TR.Top + 1, TR.Right + 1, TR.Bottom + 1};
  DrawTextOn(ACanvas, Caption(), moved, F);
  ACanvas->Font()->SetColor(clBtnShadow);
  DrawTextOn(ACanvas, Caption(), TR, F);
}

void TAdvCustomToolBarButton::DrawImage(TCanvas* ACanvas, TCustomImageList* List, Integer Index, bool DisabledList,
                                        TBitmap* AGlyph, bool UsePicture, Integer K, Integer J, bool Glass) {
  // 1. The shade under the image while hot.
  if (FMouseInControl && Hot() && FShaded && Enabled() && FState == absUp && !FMouseDownInControl &&
      !FGlyphShade->Empty()) {
    const bool fromGlyph = List == nullptr;
    if (FShadedForGlyph != fromGlyph) CreateGlyphShade();
    if (!Glass && !FGlyphShade->Empty()) {
      MakeTransparent(FGlyphShade.get(), true);
      ACanvas->Draw(K + 2, J + 2, FGlyphShade.get());
    }
  }
  // 2. An image of the list.
  if (List != nullptr) {
    const bool enabled = Enabled() || DisabledList;
    if (Glass)
      DrawImageListImage(nullptr, ACanvas, TPoint{K, J}, Index, enabled, List);
    else
      List->Draw(ACanvas, K, J, Index, enabled);
    return;
  }
  // 3. The picture, or its disabled form.
  if (UsePicture) {
    TGraphic* g = FPicture->Graphic();
    TGraphic* gd = FPictureDisabled->Graphic();
    if (!Enabled() && gd != nullptr && !gd->Empty()) g = gd;
    MakeTransparent(g, false);
    if (Glass)
      DrawPicture(nullptr, ACanvas, TPoint{K, J}, true, g);
    else
      ACanvas->Draw(K, J, g);
    return;
  }
  // 4. The state bitmap.
  if (AGlyph != nullptr) {
    MakeTransparent(AGlyph, true);
    if (Glass)
      DrawPicture(nullptr, ACanvas, TPoint{K, J}, true, AGlyph);
    else
      ACanvas->Draw(K, J, AGlyph);
  }
}

Integer TAdvCustomToolBarButton::DrawTextOn(TCanvas* ACanvas, const String& Text, TRect& R, UINT Format) {
  HDC dc = ACanvas->Handle();
  HGDIOBJ old = SelectObject(dc, ACanvas->Font()->Handle());
  if (ACanvas->Font()->Color() != clNone) SetTextColor(dc, ColorToRGB(ACanvas->Font()->Color()));
  SetBkMode(dc, TRANSPARENT);
  String t = Text;
  const Integer h = DrawTextW(dc, t.data(), Integer(t.size()), &R, Format);
  SelectObject(dc, old);
  return h;
}

// --- the menu button ---

void TZadEdevAziMenuButton::DrawDropArrow(TCanvas* ACanvas, const TRect& D, TColor Color, bool Glass) {
  const TPoint P{D.Left + (D.Width() - 5) / 2, D.Top + (D.Height() - 3) / 2 + 1};
  if (Glass)
    DrawDropDownArrow(nullptr, ACanvas, Color, P);
  else
    DrawMenuArrow(ACanvas, P.X, P.Y, Color);
}

void TZadEdevAziMenuButton::DrawMenuArrow(TCanvas* ACanvas, Integer a, Integer b, TColor Color) {
  if (ACanvas == nullptr || Color == clNone) return;
  ACanvas->Pen()->SetColor(Color);
  PenLine(ACanvas, a, b, a + 5, b);
  PenLine(ACanvas, a + 1, b + 1, a + 4, b + 1);
  ACanvas->SetPixels(a + 2, b + 2, Color);
}

void TZadEdevAziMenuButton::DrawButton(TCanvas* ACanvas) {
  if (ACanvas == nullptr) return;
  const TRect R{0, 0, ClientWidth(), ClientHeight()};
  // The section is not scaled and follows the dock side only.
  const bool sideways = Position() == daLeft || Position() == daRight;
  const Integer dw = FDropDownSectWidth;
  const TRect D = sideways ? TRect{R.Left, R.Bottom - dw, R.Right, R.Bottom} : TRect{R.Right - dw, R.Top, R.Right, R.Bottom};
  TRect M = R;
  if (FDropDownButton) {
    if (sideways)
      M.Bottom = D.Top;
    else
      M.Right = D.Left;
  }
  const bool glass = OnGlass();
  TCustomZadEdevAziStyler* styler = FParentStyler ? CurrentStyler() : nullptr;
  TAdvCustomToolBar* tb = ZadEdevAzi();
  // On a toolbar the styler's button colours become the button's own.
  if (tb != nullptr && styler != nullptr) FAppearance->Assign(styler->ButtonAppearance());
  TButtonAppearance* OA = FAppearance.get();
  TButtonAppearance* SA = styler != nullptr ? styler->ButtonAppearance() : OA;
  TRootItem* MS = nullptr;
  if (styler != nullptr && tb != nullptr && tb->Menu() != nullptr)
    if (TCustomAdvMenuStyler* ms = styler->CurrentAdvMenuStyler()) MS = ms->RootItem();

  TFaceColors f;
  auto pick = [&](TBitmap* state) {
    if (!state->Empty())
      f.Glyph = state;
    else
      f.Glyph = NonEmpty(FGlyph.get());
  };
  const bool enabled = Enabled() && FState != absDisabled;
  if (enabled && (FState == absDown || FState == absDropDown || (Hot() && FState == absExclusive) ||
                  FMouseDownInControl)) {
    if (MS != nullptr) {
      f.C1 = MS->SelectedColor();
      f.C2 = MS->SelectedColorTo();
      f.Text = MS->SelectedTextColor();
      f.Border = MS->SelectedBorderColor();
      f.Horizontal = MS->SelectedGradientDirection() == ::gdHorizontal;
      f.Drop1 = MS->HoverColor();
      f.Drop2 = MS->HoverColorTo();
    } else {
      f.C1 = SA->ColorDown();
      f.C2 = SA->ColorDownTo();
      f.Text = SA->CaptionTextColorDown();
      f.Border = SA->BorderDownColor();
      f.Horizontal = SA->GradientDirectionDown() == gdHorizontal;
      f.Drop1 = SA->ColorHot();
      f.Drop2 = SA->ColorHotTo();
    }
    pick(FGlyphDown.get());
  } else if (enabled && FState == absExclusive) {
    f.C1 = OA->ColorChecked();
    f.C2 = OA->ColorCheckedTo();
    f.Text = OA->CaptionTextColorChecked();
    f.Border = OA->BorderCheckedColor();
    f.Horizontal = OA->GradientDirectionChecked() == gdHorizontal;
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    pick(FGlyphChecked.get());
  } else if (enabled && Hot()) {
    if (MS != nullptr) {
      f.C1 = MS->HoverColor();
      f.C2 = MS->HoverColorTo();
      f.Text = MS->HoverTextColor();
      f.Border = MS->HoverBorderColor();
      f.Horizontal = MS->HoverGradientDirection() == ::gdHorizontal;
    } else {
      f.C1 = SA->ColorHot();
      f.C2 = SA->ColorHotTo();
      f.Text = SA->CaptionTextColorHot();
      f.Border = SA->BorderHotColor();
      f.Horizontal = SA->GradientDirectionHot() == gdHorizontal;
    }
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    pick(FGlyphHot.get());
  } else if (enabled) {
    if (MS != nullptr) {
      if (!FTransparent) {
        f.C1 = MS->Color();
        f.C2 = MS->ColorTo();
        f.Border = OA->BorderColor();
        f.Horizontal = MS->GradientDirection() == ::gdHorizontal;
      }
      f.Text = MS->Font()->Color();
    } else {
      if (!FTransparent) {
        f.C1 = OA->Color();
        f.C2 = OA->ColorTo();
        f.Border = OA->BorderColor();
        f.Horizontal = OA->GradientDirection() == gdHorizontal;
      }
      f.Text = OA->CaptionTextColor();
    }
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    f.Glyph = NonEmpty(FGlyph.get());
  } else {
    if (!FTransparent) {
      f.C1 = OA->Color();
      f.C2 = OA->ColorTo();
      f.Border = OA->BorderColor();
    }
    f.Text = OA->CaptionTextColor();
    f.Horizontal = OA->GradientDirection() == gdHorizontal;
    f.Drop1 = f.C1;
    f.Drop2 = f.C2;
    f.Glyph = !FGlyphDisabled->Empty() ? FGlyphDisabled.get() : NonEmpty(FGlyph.get());
  }

  PaintFace(ACanvas, R, M, D, f.C1, f.C2, f.Drop1, f.Drop2, f.Border, f.Horizontal, f.Text, f.Arrow, f.Glyph, sideways,
            glass);
}

}  // namespace toolbar
