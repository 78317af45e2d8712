// What the pager draws and in which order: the caption bar (styler look,
// tones look, or text on glass), the tab area with its groups, every tab in
// its state with the hover and press glow, the underline of the Office 2019
// look and the shadow of the active page.
#include <algorithm>
#include <cmath>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/Bitmap.h"
#include "ribbon/AdvPage.h"
#include "ribbon/CaptionLayer.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ToolBarFaces.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

using toolbar::BlendColor;
using toolbar::DarkenColor;

namespace {
bool IsNone(const TRect& r) { return r.Left < 0 && r.Right < 0; }
}  // namespace

void TZadEdevAziPager::BeginUpdate() { ++FUpdateCount; }

void TZadEdevAziPager::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) Invalidate();
}

void TZadEdevAziPager::Paint() {
  if (FUpdateCount > 0) return;
  TCustomControl::Paint();
  FFirstRun = false;
  // The MDI child and the form's window state may have changed since.
  UpdateMDIButtonsState();
  if (TCustomForm* f = GetParentForm(this); f != nullptr && (f->WindowState() != wsNormal) != FCaptionMaxShowsRestore &&
                                            FCaptionMaxBtn != nullptr)
    UpdateCaptionButtons(true);
  TCanvas* c = Canvas();
  // The pager's own colour under everything (the glass caption leaves it).
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(ClientRect());
  if (toolbar::TCustomZadEdevAziStyler* s = FCurrentToolBarStyler; s != nullptr && !s->BackGround()->Empty()) {
    TBitmap* bg = s->BackGround();
    switch (s->BackGroundDisplay()) {
      case toolbar::bdTile:
        for (Integer y = 1; y < Height() - 2; y += std::max<Integer>(bg->Height(), 1))
          for (Integer x = 1; x < Width() - 2; x += std::max<Integer>(bg->Width(), 1)) c->Draw(x, y, bg);
        break;
      case toolbar::bdCenter: c->Draw((Width() - bg->Width()) / 2, (Height() - bg->Height()) / 2, bg); break;
      case toolbar::bdStretch: c->StretchDraw(TRect{2, 2, Width() - 2, Height() - 2}, bg); break;
    }
  }
  // The caption layer draws the glass caption; without it the pager does.
  if (FCaptionLayer == nullptr || !FCaptionLayer->Visible()) PaintGlassCaption();
  PaintCaption();
  PaintTabs();
  PaintPageShadow();
}

void TZadEdevAziPager::FillTabBackground(TCanvas* C, const TRect& R, TCustomTabAppearance* T, bool FromOneLower) {
  if (T == nullptr) return;
  toolbar::TGradientBackground* bg = T->BackGround();
  TRect r = R;
  if (FromOneLower) r.Top += 1;
  if (bg->Color() != clNone && bg->ColorTo() != clNone) {
    toolbar::DrawGradient(C, bg->Color(), bg->ColorTo(), bg->Steps(), r, bg->Direction() == toolbar::gdHorizontal);
  } else if (bg->Color() != clNone) {
    C->Brush()->SetColor(bg->Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(r);
  }
}

TRect TZadEdevAziPager::GetCaptionTextRect(TAlignment& Alignment) {
  TRect r = GetCaptionRect();
  r.Left = FHideState ? r.Left + 5 : r.Left + FCaption->Indent();
  if (!FHideState) r.Right -= FCaption->RightIndent();
  bool groups = false;
  if (!FHideState)
    for (Integer g = 0; g < FTabGroups->Count(); ++g) {
      bool shown = true, whole = true;
      const TRect gr = GetTabGroupRect(g, shown, whole);
      if (shown) {
        groups = true;
        r.Left = std::max(r.Left, gr.Right);
      }
    }
  Alignment = FHideState ? taLeftJustify : (groups ? taCenter : taLeftJustify);
  if (!FHideState && !groups && FCurrentToolBarStyler != nullptr) {
    TCanvas* c = Canvas();
    c->Font()->Assign(FCurrentToolBarStyler->PagerCaption()->Font());
    c->Font()->SetHeight(Rnd(c->Font()->Height() * double(toolbar::ToolBarDPIScale)));
    const String& text = FCaption->Caption().empty() ? FCaption->WideCaption() : FCaption->Caption();
    const Integer w = c->TextWidth(text);
    const Integer centred = (ClientWidth() - w) / 2;
    if (centred > r.Left) r.Left = centred;
  }
  return r;
}

void TZadEdevAziPager::PaintCaption() {
  if (FItones) {
    PaintToneCaption();
    return;
  }
  if (!FCaption->Visible() || FCurrentToolBarStyler == nullptr) return;
  TVistaTextBackground* pc = FCurrentToolBarStyler->PagerCaption();
  const TRect cr = GetCaptionRect();
  TCanvas* c = Canvas();
  if (!IsOnGlass(false))
    toolbar::DrawGlowFace(c, TRect{cr.Left, cr.Top, cr.Right, cr.Bottom + 1}, pc->Color(), pc->ColorTo(),
                          pc->ColorMirror(), pc->ColorMirrorTo(), pc->BorderColor(), pc->Gradient(),
                          pc->GradientMirror(), false, false, true, FAntiAlias, nullptr, u"");
  if (IsOnGlass(false)) return;
  TAlignment align = taLeftJustify;
  TRect tr = GetCaptionTextRect(align);
  TFont font;
  font.Assign(pc->Font());
  font.SetHeight(Rnd(font.Height() * double(toolbar::ToolBarDPIScale)));
  const String& text = FCaption->Caption().empty() ? FCaption->WideCaption() : FCaption->Caption();
  if (text.empty()) return;
  TRect out;
  const size_t dash = text.find(u" - ");
  if (dash == String::npos) {
    font.SetColor(pc->TextColor());
    toolbar::DrawCaptionText(c, text, u"", &font, tr, align, DT_SINGLELINE | DT_VCENTER, FAntiAlias, true, true,
                             false, true, out);
    return;
  }
  // "Document - Application": the document in the extended colour.
  const String first = text.substr(0, dash), rest = text.substr(dash + 1);
  font.SetColor(pc->TextColorExtended());
  toolbar::DrawCaptionText(c, first, u"", &font, tr, taLeftJustify, DT_SINGLELINE | DT_VCENTER, FAntiAlias, true,
                           true, false, true, out);
  tr.Left = out.Right + 3;
  font.SetColor(pc->TextColor());
  toolbar::DrawCaptionText(c, rest, u"", &font, tr, taLeftJustify, DT_SINGLELINE | DT_VCENTER, FAntiAlias, true, true,
                           false, true, out);
}

void TZadEdevAziPager::PaintToneCaption() {
  if (!FCaptionAppearance || !FTabAppearance) return;
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FCaptionAppearance->CaptionColor());
  c->FillRect(ClientRect());
  if (!FOffice2013 || FWin7ScenicRibbon) {
    const Integer h = FGroupStyle == gsOffice2019 ? 0 : 3;
    if (h > 0 && FTabAppearance->BackGround()->Color() != clNone) {
      c->Brush()->SetColor(FTabAppearance->BackGround()->Color());
      c->FillRect(TRect{0, 0, ClientWidth(), h});
    }
  } else {
    const TColor line =
        FGroupStyle == gsOffice2019 ? FCaptionAppearance->CaptionBorderColor() : FTabAppearance->TextColorSelected();
    if (line != clNone) {
      c->Brush()->SetColor(line);
      c->FillRect(TRect{0, 0, ClientWidth(), 1});
    }
  }
  if (!FCaption->Visible() || FCurrentToolBarStyler == nullptr) return;
  const String& text = FCaption->Caption().empty() ? FCaption->WideCaption() : FCaption->Caption();
  if (text.empty()) return;
  TAlignment align = taLeftJustify;
  TRect tr = GetCaptionTextRect(align);
  tr.Top += 3;
  TFont font;
  font.Assign(FCurrentToolBarStyler->PagerCaption()->Font());
  font.SetHeight(Rnd(font.Height() * double(toolbar::ToolBarDPIScale)));
  font.SetColor(FGroupStyle == gsOffice2019 ? FCaptionAppearance->CaptionTextColor() : FTabAppearance->TextColor());
  TRect out;
  toolbar::DrawCaptionText(c, text, u"", &font, tr, FOffice2013 ? taCenter : taLeftJustify,
                           DT_SINGLELINE | DT_VCENTER, FAntiAlias, true, true, false, true, out);
}

void TZadEdevAziPager::PaintGlassCaption() {
  if (!FIsAeroVista || ComponentState().Contains(csDesigning) || !FCaption->Visible()) return;
  const TRect cr = GetCaptionRect();
  HTHEME theme = OpenThemeData(HandleAllocated() ? Handle() : nullptr, u"CompositedWindow::Window");
  if (theme == nullptr) return;
  TAlignment align = taLeftJustify;
  TRect tr = GetCaptionTextRect(align);
  tr.Left += 8;
  tr.Right -= 105;
  tr.Top += 4;
  if (!FHideState) tr.Right += FCaption->RightIndent();
  const String& text = FCaption->Caption().empty() ? FCaption->WideCaption() : FCaption->Caption();
  (void)cr;
  if (!text.empty())
    toolbar::DrawCompositedText(Canvas()->Handle(), text, -1, DT_END_ELLIPSIS | DT_EXPANDTABS | DT_VCENTER |
                                                                 DT_SINGLELINE, theme, tr);
  CloseThemeData(theme);
}

void TZadEdevAziPager::PaintTabs() {
  TCanvas* c = Canvas();
  TRect bg = GetTabsArea();
  bg.Bottom = ClientHeight();
  if (FIsAeroVista) {
    bg.Left -= 1;
    bg.Right += 1;
    bg.Top = IsOnGlass(true) ? FTabSettings->Height() - 1 : 0;
  }
  const bool shaded = FIsAeroVista && FTabSettings->Glass() && FWin7ScenicRibbon && FTabBackGroundShaded;
  TCustomTabAppearance* bt = BackgroundTabAppearance();
  if (!shaded) FillTabBackground(c, bg, bt, FItones);
  if (!FItones && FCaption->Visible() && bt != nullptr) {
    const TColor line = FIsAeroVista ? 0 : BlendColor(0xFFFFFF, bt->BackGround()->Color(), 70);
    c->Pen()->SetColor(line);
    c->MoveTo(bg.Left, bg.Top + 1);
    c->LineTo(bg.Right, bg.Top + 1);
  }
  PaintTabGroups();
  for (Integer i = 0; i < AdvPageCount(); ++i) PaintTab(i);
}

void TZadEdevAziPager::PaintTabGroups() {
  if (FHideState) return;
  TCanvas* c = Canvas();
  const TRect area = GetTabsArea();
  const bool flat = FGroupStyle == gsOffice2013 || FGroupStyle == gsOffice2016 || FGroupStyle == gsOffice2019;
  for (Integer gi = 0; gi < FTabGroups->Count(); ++gi) {
    bool shown = true, whole = true;
    TRect r = GetTabGroupRect(gi, shown, whole);
    if (!shown) continue;
    if (FGroupStyle == gsWindows8) r = TRect{r.Left - 1, r.Top, r.Right - 1, r.Bottom};
    TGroupAppearance* g = GroupAppearanceOf(gi);
    if (g == nullptr) continue;
    const TTabGroupItem* item = FTabGroups->Items(gi);
    TColor col = g->Color(), colTo = g->ColorTo(), mir = g->ColorMirror(), mirTo = g->ColorMirrorTo();
    TColor text = g->TextColor();
    if (flat) {
      colTo = mir = mirTo = clNone;
      if (item->DefaultAppearance()) text = col;
    } else if (FGroupStyle == gsWindows8) {
      text = 0;
    }
    TRect face{r.Left, r.Top, r.Right, area.Top + (FGroupStyle == gsWindows8 ? 2 : 0)};
    if (flat) {
      toolbar::DrawGlowFace(c, TRect{r.Left, 1, r.Right, 4}, col, clNone, clNone, clNone, clNone, ggVertical,
                            ggVertical, false, false, true, FAntiAlias, nullptr, u"");
      toolbar::DrawGlowFace(c, TRect{r.Left, 4, r.Right, r.Bottom}, g->Background(), clNone, clNone, clNone, clNone,
                            ggVertical, ggVertical, false, false, true, FAntiAlias, nullptr, u"");
      face.Bottom = area.Top + 2;
    } else {
      face.Top += FGroupStyle == gsClassic ? 8 : 4;
      if (FTabScroller->Position() < 1)
        toolbar::DrawGlowFace(c, face, col, colTo, mir, mirTo, clNone, g->Gradient(), g->GradientMirror(), false,
                              false, true, FAntiAlias, nullptr, u"");
    }
    if (FTabScroller->Position() < 1 && FGroupStyle == gsClassic && !FOffice2013) {
      c->Pen()->SetColor(BlendColor(mirTo == clNone ? col : mirTo, 0, 80));
      c->MoveTo(face.Left, face.Bottom);
      c->LineTo(face.Right, face.Bottom);
    }
    const String& caption = item->Caption().empty() ? item->WideCaption() : item->Caption();
    if (!FIsAeroVista && FTabScroller->Position() < 1 && !caption.empty()) {
      TFont font;
      font.Assign(g->Font());
      font.SetColor(text);
      TRect out;
      toolbar::DrawCaptionText(c, caption, u"", &font, TRect{face.Left + 3, face.Top, face.Right - 3, face.Bottom},
                               taLeftJustify, DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS, FAntiAlias, true, true,
                               false, true, out);
    }
  }
}

void TZadEdevAziPager::PaintTab(Integer i) {
  if (i < 0 || i >= AdvPageCount() || FTabSettings->Height() <= 0) return;
  TAdvPage* page = AdvPages(i);
  const TRect R = GetTabRect(i);
  const TRect W = GetTabsRect();
  if (IsNone(R) || R.Right <= W.Left || R.Left >= W.Right) return;
  const Integer g = PageTabGroupIndex(page);
  const Integer a = FActivePageIndex;
  TCustomTabAppearance* T = CurrentTabAppearance();
  if (T == nullptr) return;
  const bool hotTab = i == FHotPageIndex;
  const bool glass = IsOnGlass(true);
  const bool scenic = FWin7ScenicRibbon;
  // A tab cut by the row's ends, or one that glows on glass, is composed on
  // its own surface so that it never spills past the row or over the glass.
  const bool offscreen = R.Left < W.Left || R.Right > W.Right || (glass && (i == a || hotTab || page->GlowRunning()));
  std::unique_ptr<TBitmap> surface;
  TCanvas* c = Canvas();
  if (offscreen) {
    surface = std::make_unique<TBitmap>();
    if (glass) surface->SetPixelFormat(pf32bit);
    surface->SetSize(Width(), Height());
    c = surface->Canvas();
    FillTabBackground(c, R, T, false);
  }
  TGroupAppearance* ga = g >= 0 ? GroupAppearanceOf(g) : nullptr;
  TColor hot = T->ColorHot(), hotBorder = T->BorderColorHot(), selText = T->TextColorSelected(),
         hotText = T->TextColorHot(), selBorder = T->BorderColorSelected(), selHotBorder = T->BorderColorSelectedHot();
  TColor highlight = T->HighLightColor();
  if (ga != nullptr) {
    if (FGroupStyle == gsWindows8) {
      selBorder = selHotBorder = ga->Color();
    } else if (FGroupStyle == gsOffice2013 || FGroupStyle == gsOffice2016 || FGroupStyle == gsOffice2019) {
      hot = selText = hotText = ga->Color();
      hotBorder = ga->Background();
    } else if (FGroupStyle == gsClassic) {
      T = ga->TabAppearance();
    }
  }
  TColor face = clNone, faceTo = clNone, mirror = clNone, mirrorTo = clNone, border = clNone, text = T->TextColor();
  TGDIPGradient grad = ggVertical, gradMirror = ggVertical;
  FBold = false;
  const TCustomTabAppearance* bgT = FItones && FTabAppearance ? FTabAppearance.get() : T;
  const TColor background = bgT->BackGround()->Color();
  // Separator of a squeezed row.
  if (FCurrent.Spacing <= FTabSettings->MinSpacing() && FTabSettings->Spacing() > FTabSettings->MinSpacing() &&
      (!offscreen || (glass && scenic))) {
    bool first = true;
    for (Integer k = 0; k < i; ++k)
      if (AdvPages(k)->TabVisible()) first = false;
    if (!first && glass && scenic) {
      toolbar::FillAlphaGradient(c->Handle(), TRect{R.Left - 1, R.Top + 1, R.Left, R.Bottom - 4}, 0xFFFFFF, 255, 60);
      toolbar::FillAlphaGradient(c->Handle(), TRect{R.Left - 2, R.Top + 1, R.Left - 1, R.Bottom - 5}, 0xBFBAB6, 255,
                                 100);
    } else if (!first) {
      const TCustomTabAppearance* st = FItones && FTabAppearance ? FTabAppearance.get()
                                       : FCurrentToolBarStyler != nullptr
                                           ? static_cast<TCustomTabAppearance*>(FCurrentToolBarStyler->TabAppearance())
                                           : T;
      const TColor sepBorder = st->BorderColorSelected();
      const TColor sepBack = st->BackGround()->Color();
      if (sepBorder != clNone) {
        const TColor from = BlendColor(sepBack == clNone ? 0xFFFFFF : sepBack, sepBorder, 60);
        toolbar::DrawGradient(c, from, sepBorder, 40, TRect{R.Left - 2, R.Top, R.Left - 1, R.Bottom}, false);
      }
    }
  }
  if (page->TabEnabled() || !FShowNonSelectedTabs) {
    if (i == a && (FExpanded || FHideState)) {
      if (FGroupStyle == gsOffice2019) FLineColor = T->TextColorHot();
      face = T->ColorSelected();
      faceTo = T->ColorSelectedTo();
      mirror = T->ColorMirrorSelected();
      mirrorTo = T->ColorMirrorSelectedTo();
      border = selBorder;
      grad = T->GradientSelected();
      gradMirror = T->GradientMirrorSelected();
      text = selText;
      FBold = FGroupStyle == gsOffice2019 && !FMouseDown;
      if (hotTab) {
        if (FGroupStyle == gsOffice2019 && !FMouseDown) {
          face = T->ColorHot();
          faceTo = T->ColorHotTo();
          mirror = T->ColorMirrorHot();
          mirrorTo = T->ColorMirrorHotTo();
          text = hotText;
        }
        border = selHotBorder;
        highlight = T->HighLightColorSelectedHot();
      }
      if (page->GlowRunning() && page->GlowState() == gsPush) {
        const Integer p = page->StepPush();
        face = BlendColor(face, hot, p);
        faceTo = BlendColor(faceTo, T->ColorHotTo(), p);
        mirror = BlendColor(mirror, T->ColorMirrorHot(), p);
        mirrorTo = BlendColor(mirrorTo, T->ColorMirrorHotTo(), p);
        border = BlendColor(border, hotBorder, p);
      } else if (page->GlowRunning() && page->GlowState() == gsHover) {
        border = BlendColor(selHotBorder, selBorder, page->StepHover());
      }
      if (FDownPageIndex == i) {
        border = T->BorderColorDown();
        highlight = T->HighLightColorDown();
      }
    } else if (hotTab) {
      face = hot;
      faceTo = T->ColorHotTo();
      mirror = T->ColorMirrorHot();
      mirrorTo = T->ColorMirrorHotTo();
      border = hotBorder;
      grad = T->GradientHot();
      gradMirror = T->GradientMirrorHot();
      text = hotText;
      FBold = FGroupStyle == gsOffice2019;
      highlight = T->HighLightColorHot();
      if (page->GlowRunning() && page->GlowState() == gsHover) {
        const Integer p = std::clamp<Integer>(page->StepHover(), 0, 100);
        const TColor other = FShowNonSelectedTabs ? T->Color() : background;
        face = BlendColor(face, other, p);
        faceTo = BlendColor(faceTo, FShowNonSelectedTabs ? T->ColorTo() : other, p);
        mirror = BlendColor(mirror, FShowNonSelectedTabs ? T->ColorMirror() : other, p);
        mirrorTo = BlendColor(mirrorTo, FShowNonSelectedTabs ? T->ColorMirrorTo() : other, p);
        border = BlendColor(border, FShowNonSelectedTabs ? T->BorderColor() : other, p);
      }
    } else if (FShowNonSelectedTabs) {
      face = T->Color();
      faceTo = T->ColorTo();
      mirror = T->ColorMirror();
      mirrorTo = T->ColorMirrorTo();
      border = T->BorderColor();
      grad = T->Gradient();
      gradMirror = T->GradientMirror();
      text = T->TextColor();
    } else {
      text = page->TabEnabled() ? T->TextColor() : T->TextColorDisabled();
      if (page->GlowRunning() && page->GlowState() == gsHover && page->StepHover() > 0) {
        const Integer p = std::clamp<Integer>(page->StepHover(), 0, 100);
        face = BlendColor(hot, background, p);
        border = BlendColor(hotBorder, background, p);
      }
    }
  } else {
    face = T->ColorDisabled();
    faceTo = T->ColorDisabledTo();
    mirror = T->ColorMirrorDisabled();
    mirrorTo = T->ColorMirrorDisabledTo();
    border = T->BorderColorDisabled();
    grad = T->GradientDisabled();
    gradMirror = T->GradientMirrorDisabled();
    text = T->TextColorDisabled();
  }
  // The active tab of a focused pager shows in its hot colours.
  bool focused = false;
  if (Focused() && i == a && FExpanded && FGroupStyle != gsOffice2019) {
    face = hot;
    faceTo = T->ColorHotTo();
    mirror = T->ColorMirrorHot();
    mirrorTo = T->ColorMirrorHotTo();
    border = T->BorderColorSelectedHot();
    grad = T->GradientHot();
    gradMirror = T->GradientMirrorHot();
    text = hotText;
    highlight = T->HighLightColorSelected();
    focused = true;
  }
  if (face != clNone || border != clNone) {
    toolbar::DrawGlowFace(c, R, face, faceTo, mirror, mirrorTo, border, grad, gradMirror, FTabRoundEdges, false,
                          true, FAntiAlias, nullptr, u"");
    if (FTabRoundEdges) SmoothTabCorners(c, R, offscreen && glass, LastTabOfGroup(i, g));
  }
  if (Show3D() && face != clNone) {
    const bool hoverGlow = page->GlowRunning() && page->GlowState() == gsHover;
    c->Pen()->SetColor(BlendColor(0xFFFFFF, face, focused || hoverGlow ? 20 : 50));
    c->MoveTo(R.Left + 3, R.Top + 3);
    c->LineTo(R.Right - 3, R.Top + 3);
  }
  if (ShowShadow() && !glass && T->ShadowColor() != clNone && face != clNone) {
    c->Pen()->SetColor(T->ShadowColor());
    c->MoveTo(R.Right, R.Top + 3);
    c->LineTo(R.Right, R.Bottom - 4);
    if (!LastTabOfGroup(i, g)) {
      c->Pen()->SetColor(BlendColor(T->ShadowColor(), background, 40));
      c->MoveTo(R.Right + 1, R.Top + 4);
      c->LineTo(R.Right + 1, R.Bottom - 4);
    }
  }
  if (Show3D() && highlight != clNone) {
    if (glass && scenic) {
      if (hotTab && i != a) {
        c->Pen()->SetColor(highlight);
        c->MoveTo(R.Left + 3, R.Top + 1);
        c->LineTo(R.Right - 3, R.Top + 1);
        c->MoveTo(R.Left + 1, R.Top + 3);
        c->LineTo(R.Left + 1, R.Bottom - 5);
        c->MoveTo(R.Right - 2, R.Top + 3);
        c->LineTo(R.Right - 2, R.Bottom - 5);
      }
    } else if (face != clNone || border != clNone) {
      c->Pen()->SetColor(BlendColor(face, border, 80));
      c->MoveTo(R.Left + 3, R.Top + 1);
      c->LineTo(R.Right - 3, R.Top + 1);
      c->Pen()->SetColor(highlight);
      c->MoveTo(R.Left + 1, R.Top + 3);
      c->LineTo(R.Left + 1, R.Bottom - 5);
      c->MoveTo(R.Right - 2, R.Top + 3);
      c->LineTo(R.Right - 2, R.Bottom - 5);
    }
  }
  // Content.
  TRect C = R;
  if (g >= 0) {
    const Integer extra = FTabGroups->Items(g)->TabCurrentExtraXMargin;
    C.Left += FGroupStyle == gsOffice2019 ? extra : extra + FCurrent.GroupLeftMargin;
    if (FGroupStyle == gsOffice2019) C.Right -= extra;
  } else if (FGroupStyle != gsOffice2019) {
    C.Left += FCurrent.LeftMargin;
  }
  TCustomImageList* images = !page->TabEnabled() && FDisabledImages != nullptr ? FDisabledImages : FImages;
  if (images != nullptr && page->ImageIndex() >= 0) {
    toolbar::DrawImageListImage(nullptr, c, TPoint{C.Left, R.Top + (R.Height() - images->Height()) / 2},
                                page->ImageIndex(), page->TabEnabled() || FDisabledImages != nullptr, images);
    C.Left += images->Width() + 2;
  }
  C.Right -= 2;
  TFont font;
  font.Assign(T->Font());
  font.SetHeight(Rnd(font.Height() * double(toolbar::ToolBarDPIScale)));
  font.SetColor(text);
  if (FBold) {
    TFontStyles st = font.Style();
    st.Include(fsBold);
    font.SetStyle(st);
  }
  TRect textBox = C;
  if (FGroupStyle == gsOffice2019) textBox.Bottom -= Rnd(6 * double(toolbar::ToolBarDPIScale));
  TRect out{0, 0, 0, 0};
  const String& caption = page->Caption().empty() ? page->WideCaption() : page->Caption();
  toolbar::DrawCaptionText(c, caption, u"", &font, textBox, FGroupStyle == gsOffice2019 ? taCenter : taLeftJustify,
                           DT_SINGLELINE | DT_VCENTER, FAntiAlias, true, false, false, true, out);
  // The underline of the Office 2019 look.
  if (i == a && FGroupStyle == gsOffice2019 && FLineColor != clNone) {
    const double s = toolbar::ToolBarDPIScale;
    Integer start = 0, end = 0;
    if (!hotTab || FMouseDown) {
      start = std::max(C.Left, out.Left);
      end = std::min(out.Right, C.Right);
    } else {
      start = C.Left;
      end = C.Right;
    }
    FLineBottom = C.Bottom - Rnd(3 * s);
    const bool targetMoved = start != FNewLineStart || end != FNewLineEnd;
    FNewLineStart = start;
    FNewLineEnd = end;
    if (FAnimating) {
      if (targetMoved) StartLineAnimation();
    } else if (Rnd(FCurLineStart) != start || Rnd(FCurLineEnd) != end) {
      // Either end moving starts the slide, so both ends stay where they are drawn.
      StartLineAnimation();
    }
    const Integer ls = FAnimating ? Rnd(FCurLineStart) : start;
    const Integer le = FAnimating ? Rnd(FCurLineEnd) : end;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FLineColor);
    c->FillRect(TRect{ls, FLineBottom - Rnd(s), le, FLineBottom + Rnd(2 * s)});
  }
  if (offscreen) {
    // Back onto the pager, clipped to the tab row.
    const TRect clip{std::max(R.Left, W.Left), R.Top, std::min(R.Right, W.Right), R.Bottom};
    if (clip.Right <= clip.Left || clip.Bottom <= clip.Top) return;
    if (glass) {
      TBitmap part;
      part.SetPixelFormat(pf32bit);
      part.SetSize(clip.Width(), clip.Height());
      part.Canvas()->CopyRect(TRect{0, 0, clip.Width(), clip.Height()}, c, clip);
      toolbar::DrawPicture(nullptr, Canvas(), TPoint{clip.Left, clip.Top}, true, &part);
    } else {
      Canvas()->CopyRect(clip, c, clip);
    }
  }
}

bool TZadEdevAziPager::LastTabOfGroup(Integer Index, Integer Group) const {
  return Group >= 0 && Group < FTabGroups->Count() && FTabGroups->Items(Group)->TabIndexEnd() == Index;
}

void TZadEdevAziPager::SmoothTabCorners(TCanvas* C, const TRect& R, bool FromSurface, bool LastInGroup) {
  // Round top corners: the pixels just outside each corner fill it, so the
  // face's edge blends into whatever lies behind the tab.
  TCanvas* from = FromSurface ? C : Canvas();
  const Integer L = R.Left, T = R.Top, Rt = R.Right;
  C->SetPixels(L, T, from->Pixels(L - 1, T - 1));
  C->SetPixels(L + 1, T, from->Pixels(L + 1, T - 1));
  C->SetPixels(L, T + 1, from->Pixels(L - 1, T));
  const TColor right = !FromSurface && LastInGroup ? from->Pixels(L - 1, T - 1) : from->Pixels(Rt + 1, T);
  C->SetPixels(Rt - 1, T, right);
  C->SetPixels(Rt - 2, T, right);
  C->SetPixels(Rt - 1, T + 1, right);
}

void TZadEdevAziPager::PaintPageShadow() {
  TAdvPage* page = ActivePage();
  if (page == nullptr || !FExpanded || FCurrentToolBarStyler == nullptr) return;
  if (IsOnGlass(true) && FWin7ScenicRibbon) return;
  const TColor shadow = FCurrentToolBarStyler->PageAppearance()->ShadowColor();
  if (shadow == clNone || !ShowShadow()) return;
  const TRect P = page->BoundsRect();
  TCanvas* c = Canvas();
  const TColor under = c->Pixels(P.Left, P.Bottom + 1);
  c->Pen()->SetColor(DarkenColor(shadow, -15));
  c->MoveTo(P.Left + 4, P.Bottom);
  c->LineTo(P.Right, P.Bottom);
  c->Pen()->SetColor(DarkenColor(under, 10));
  c->LineTo(P.Right, P.Top + 4);
  c->Pen()->SetColor(DarkenColor(shadow, -20));
  c->MoveTo(P.Left + 5, P.Bottom + 1);
  c->LineTo(P.Right + 1, P.Bottom + 1);
  c->Pen()->SetColor(DarkenColor(under, 5));
  c->LineTo(P.Right + 1, P.Top + 5);
}

void TZadEdevAziPager::StartLineAnimation() {
  if (ComponentState().Contains(csDesigning)) {
    FCurLineStart = FNewLineStart;
    FCurLineEnd = FNewLineEnd;
    Invalidate();
    return;
  }
  FAnimating = true;
  FDeltaStart = std::fabs(FNewLineStart - FCurLineStart) / 5;
  FDeltaEnd = std::fabs(FNewLineEnd - FCurLineEnd) / 5;
  if (FDLTimer == nullptr) {
    FDLTimer = new TTimer(this);
    FDLTimer->SetInterval(20);
    FDLTimer->OnTimer = [this](TObject* s) { LineTimerTick(s); };
  }
  FDLTimer->SetEnabled(true);
}

void TZadEdevAziPager::LineTimerTick(TObject*) {
  auto step = [](double& cur, double target, double delta) {
    if (cur < target)
      cur += delta;
    else
      cur -= delta;
    if (std::fabs(cur - target) < 1) cur = target;
  };
  step(FCurLineStart, FNewLineStart, FDeltaStart);
  step(FCurLineEnd, FNewLineEnd, FDeltaEnd);
  if (FCurLineStart == FNewLineStart && FCurLineEnd == FNewLineEnd) {
    FDLTimer->SetEnabled(false);
    FAnimating = false;
  }
  Invalidate();
}

}  // namespace ribbon
