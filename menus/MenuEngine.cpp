#include "menus/MenuEngine.h"

#include <algorithm>
#include <vector>

#include "foundation/gdiplus/GPBrush.h"
#include "foundation/gdiplus/GPFont.h"
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/GPStringFormat.h"
#include "foundation/gdiplus/LookFlags.h"
#include "foundation/style/VornStyle.h"
#include "menus/AdvMenus.h"
#include "menus/MenuPaint.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/win/Window.h"

namespace {

// The number of buttons (minimise, maximise, system menu) a maximised MDI
// child shows at the end of its frame's bar, for the menu of the frame or of
// one of its children; 0 otherwise.
Integer MaximizedMDIChildButtons(TMenu* Menu) {
  auto* form = Menu != nullptr ? dynamic_cast<TCustomForm*>(Menu->Owner()) : nullptr;
  if (form != nullptr && form->FormStyle() == fsMDIChild && form->Parent() != nullptr)
    form = GetParentForm(form->Parent());
  TCustomForm* child = form != nullptr && form->FormStyle() == fsMDIForm ? form->ActiveMDIChild() : nullptr;
  if (child == nullptr || child->WindowState() != wsMaximized) return 0;
  Integer n = 0;
  for (TBorderIcon icon : {biMinimize, biMaximize, biSystemMenu})
    if (child->BorderIcons().Contains(icon)) ++n;
  return n;
}

const String kNotesBreak = u"\\n";
const String kWinPrefix = u"Win+";

Integer EngineRound(double v) { return Integer(Round(v)); }

// Draws (or with DT_CALCRECT measures) text with the canvas's font and colour.
Integer EngineDrawText(TCanvas* Canvas, const String& Text, TRect& R, UINT Format) {
  HDC dc = Canvas->Handle();
  HGDIOBJ old = SelectObject(dc, Canvas->Font()->Handle());
  SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
  SetBkMode(dc, Canvas->Brush()->Style() == bsClear ? TRANSPARENT : OPAQUE);
  String t = Text;
  const Integer h = DrawTextW(dc, t.data(), Integer(t.size()), &R, Format);
  SelectObject(dc, old);
  return h;
}

TSize EngineTextSize(TCanvas* Canvas, const String& Text) {
  TRect r{0, 0, 0, 0};
  EngineDrawText(Canvas, Text, r, DT_CALCRECT | DT_SINGLELINE);
  return TSize{r.Width(), r.Height()};
}

// The caption proper and its notes lines.
std::vector<String> EngineCaptionParts(const String& Caption, bool ShowNotes) {
  std::vector<String> parts;
  if (!ShowNotes || Caption.find(kNotesBreak) == String::npos) {
    parts.push_back(Caption);
    return parts;
  }
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = Caption.find(kNotesBreak, from);
    if (at == String::npos) {
      parts.push_back(Caption.substr(from));
      return parts;
    }
    parts.push_back(Caption.substr(from, at - from));
    from = at + kNotesBreak.size();
  }
}

TCustomImageList* EngineItemImages(TMenuItem* Item, TMenu* Menu) {
  if (Item->Parent() != nullptr && Item->Parent()->SubMenuImages() != nullptr) return Item->Parent()->SubMenuImages();
  return Menu != nullptr ? Menu->Images() : nullptr;
}

TCustomImageList* EngineDisabledImages(TMenu* Menu) {
  IAdvMenu* intf = GetAdvMenuIntf(Menu);
  return intf != nullptr ? intf->GetDisabledImages() : nullptr;
}

TFont* EngineScreenMenuFont() { return Screen != nullptr ? Screen->MenuFont() : nullptr; }

// Sets the item's font on the canvas as the text painter does.
void EngineSelectItemFont(TMenuItem* Item, TCanvas* Canvas, TCustomAdvMenuStyler* St, TOwnerDrawState State,
                          float S, float D) {
  auto useScreen = [&]() {
    if (TFont* f = EngineScreenMenuFont()) Canvas->SetFont(f);
    Canvas->Font()->SetHeight(EngineRound(S * Canvas->Font()->Height() / D));
  };
  if (IsBarItem(Item)) {
    TRootItem* ri = St->RootItem();
    if (ri->UseSystemFont()) {
      useScreen();
    } else {
      Canvas->SetFont(ri->Font());
      Canvas->Font()->SetHeight(EngineRound(S * ri->Font()->Height()));
    }
    if (State.Contains(odSelected) && ri->SelectedTextColor() != clNone) Canvas->Font()->SetColor(ri->SelectedTextColor());
    else if (State.Contains(odHotLight) && ri->HoverTextColor() != clNone) Canvas->Font()->SetColor(ri->HoverTextColor());
  } else if (!State.Contains(odSelected)) {
    if (St->UseSystemFont()) {
      useScreen();
    } else {
      Canvas->SetFont(St->Font());
      Canvas->Font()->SetHeight(EngineRound(S * St->Font()->Height()));
    }
  } else {
    TSelectedItem* si = St->SelectedItem();
    if (si->UseSystemFont()) {
      useScreen();
    } else {
      Canvas->SetFont(si->Font());
      Canvas->Font()->SetHeight(EngineRound(S * si->Font()->Height()));
    }
  }
  if (Item->Default()) Canvas->Font()->SetStyle(Canvas->Font()->Style() + TFontStyles{fsBold});
}


// Anti-aliased text in the layout rectangle R.
void EngineDrawGdipText(TCanvas* Canvas, TAntiAlias AA, const String& Text, TFont* Font, TColor Color, const TRect& R,
                        bool Bold, GpStringAlignment Align, GpStringAlignment LineAlign) {
  using gdiplus::TGPFont;
  using gdiplus::TGPFontFamily;
  using gdiplus::TGPGraphics;
  using gdiplus::TGPRectF;
  using gdiplus::TGPSolidBrush;
  using gdiplus::TGPStringFormat;
  TGPGraphics g(Canvas->Handle());
  g.SetTextRenderingHint(AA == aaClearType ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAlias);
  TGPFontFamily family(Font->Name());
  TGPFont font(&family, Single(std::max(Font->Size(), 1)), Bold ? FontStyleBold : FontStyleRegular, UnitPoint);
  TGPStringFormat format(StringFormatFlagsNoWrap, 0);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  format.SetAlignment(Align);
  format.SetLineAlignment(LineAlign);
  TGPSolidBrush brush(gdiplus::ColorToARGB(Color));
  TGPRectF layout{Single(R.Left), Single(R.Top), Single(R.Width()), Single(R.Height())};
  g.DrawString(Text, Integer(Text.size()), &font, layout, &format, &brush);
}

Integer EngineGdipLineHeight(TCanvas* Canvas, TFont* Font) {
  using gdiplus::TGPFont;
  using gdiplus::TGPFontFamily;
  using gdiplus::TGPGraphics;
  using gdiplus::TGPRectF;
  TGPGraphics g(Canvas->Handle());
  TGPFontFamily family(Font->Name());
  TGPFont font(&family, Single(std::max(Font->Size(), 1)), FontStyleRegular, UnitPoint);
  TGPRectF box;
  g.MeasureString(u"gh", 2, &font, TGPRectF{0, 0, 1000, 1000}, box);
  return EngineRound(box.Height);
}

// The check or radio box of an item in K.
void EngineCheckBox(TCanvas* Canvas, TCustomAdvMenuStyler* St, TMenuItem* Item, TOwnerDrawState State,
                    const TRect& K) {
  const bool sel = State.Contains(odSelected);
  const bool radio = Item->RadioItem();
  TColor c, cto, border;
  TGradientDirection dir;
  if (sel) {
    TSelectedItem* s = St->SelectedItem();
    c = radio ? s->RadioColor() : s->CheckColor();
    cto = radio ? s->RadioColorTo() : s->CheckColorTo();
    border = radio ? s->RadioBorder() : s->CheckBorder();
    dir = radio ? s->RadioGradientDirection() : s->CheckGradientDirection();
  } else {
    TIconBar* s = St->IconBar();
    c = radio ? s->RadioColor() : s->CheckColor();
    cto = radio ? s->RadioColorTo() : s->CheckColorTo();
    border = radio ? s->RadioBorder() : s->CheckBorder();
    dir = radio ? s->RadioGradientDirection() : s->CheckGradientDirection();
  }
  DrawGradientBox(nullptr, Canvas, K, c, cto, dir, border, !State.Contains(odDisabled));
}

void EngineDrawSeparator(TCanvas* Canvas, TCustomAdvMenuStyler* St, const TRect& T, float D) {
  TSeparator* sep = St->Separator();
  const Integer L = T.Left + EngineRound(D * St->IconBar()->Size());
  const Integer mid = T.Top + T.Height() / 2;
  const Integer W = sep->Width();
  DrawGradientLine(nullptr, Canvas, TRect{L, mid - W / 2, T.Right, mid + (W + 1) / 2}, sep->Color(), sep->ColorTo(),
                   sep->GradientDirection(), sep->GradientType(), sep->GradientWidth(), sep->Margin());
}

void EngineDrawItem(TMenuItem* Item, TCanvas* Canvas, IAdvMenu* Intf, TRect T, const TRect& Rect,
                    TOwnerDrawState State, float S, float D) {
  TMenu* menu = Intf->GetMenu();
  if (dynamic_cast<TMainMenu*>(menu) != nullptr && menu->ComponentState().Contains(csDestroying)) return;
  TCustomAdvMenuStyler* St = Intf->GetCurrentMenuStyler();
  const Integer W0 = T.Width();
  St->Glyphs()->UpdateResources(D);
  const bool bar = IsBarItem(Item);
  TRootItem* ri = St->RootItem();
  if (bar) {
    if (State.Contains(odSelected)) {
      DrawMirrorBox(nullptr, Canvas, T, ri->SelectedColor(), ri->SelectedColorTo(), ri->SelectedColorMirror(),
                    ri->SelectedColorMirrorTo(), ri->SelectedGradientDirection(), ri->SelectedBorderColor(), true);
      if (Item->Count() > 0) {
        Canvas->Pen()->SetColor(St->Background()->Color());
        Canvas->MoveTo(T.Left, T.Bottom - 1);
        Canvas->LineTo(T.Right - 1, T.Bottom - 1);
      }
    } else if (State.Contains(odHotLight)) {
      DrawMirrorBox(nullptr, Canvas, T, ri->HoverColor(), ri->HoverColorTo(), ri->HoverColorMirror(),
                    ri->HoverColorMirrorTo(), ri->HoverGradientDirection(), ri->HoverBorderColor(), true);
    } else if (ri->Color() != clNone) {
      // The bar's gradient spans the whole bar: the canvas's window client width.
      TRect C = Rect;
      if (HWND w = WindowFromDC(Canvas->Handle())) {
        TRect cr;
        GetClientRect(w, &cr);
        C.Left = cr.Left;
        C.Right = cr.Right;
      }
      TRect Q = T;
      if (IsLastOnBarRow(Item)) {
        Q.Right = C.Right;
        // A maximised MDI child's buttons end the bar: the gradient stops before them.
        Q.Right -= GetSystemMetrics(SM_CXMENUSIZE) * MaximizedMDIChildButtons(menu);
        DrawGradientClip(nullptr, Canvas, TRect{C.Left, T.Top, C.Right + 100, T.Bottom}, ri->Color(), ri->ColorTo(),
                         ri->GradientDirection(), Q);
      } else {
        DrawGradientClip(nullptr, Canvas, TRect{C.Left, T.Top, C.Right + 100, T.Bottom}, ri->Color(), ri->ColorTo(),
                         ri->GradientDirection(), T);
      }
    }
  } else if (State.Contains(odSelected)) {
    TSelectedItem* si = St->SelectedItem();
    if (si->Color() != clNone)
      DrawMirrorBox(nullptr, Canvas, T, si->Color(), si->ColorTo(), si->ColorMirror(), si->ColorMirrorTo(),
                    si->GradientDirection(), si->BorderColor(), true);
  }
  UINT format = (bar ? DT_CENTER : DT_LEFT) | DT_SINGLELINE | DT_EXPANDTABS;
  TRect K{T.Left, T.Top + 1, T.Left + EngineRound(St->IconBar()->Size() * S) - 1, T.Bottom - 1};
  CenterRect(K, std::min(K.Width(), K.Height()), std::min(K.Width(), K.Height()));
  TCustomImageList* L = EngineItemImages(Item, menu);
  TCustomImageList* disabled = EngineDisabledImages(menu);
  const bool F = L != nullptr && Item->ImageIndex() >= 0 && Item->ImageIndex() < L->Count();
  // Menu items carry no actions here, so the action-image source never applies.
  const bool G = false;
  const bool I = !F && !Item->Bitmap()->Empty();
  const bool J = Item->Checked() && !bar && !F && !I;
  TRect GR = K;
  if (F || G || I || J) {
    TCustomImageList* LL = (Item->Enabled() || disabled == nullptr) ? L : disabled;
    if (Item->Checked()) EngineCheckBox(Canvas, St, Item, State, K);
    if (F || G) {
      GR = K;
      if (LL != nullptr) CenterRect(GR, LL->Width(), LL->Height());
      if (bar) {
        const Integer w = GR.Width();
        GR.Left = T.Left + 6;
        GR.Right = GR.Left + w;
      }
      if (LL != nullptr && Item->ImageIndex() < LL->Count()) {
        if (!Item->Enabled() && disabled != nullptr) disabled->Draw(Canvas, GR.Left, GR.Top, Item->ImageIndex(), true);
        else L->Draw(Canvas, GR.Left, GR.Top, Item->ImageIndex(), Item->Enabled());
      }
    } else {
      if (bar) {
        const Integer w = GR.Width();
        GR.Left = T.Left + 6;
        GR.Right = GR.Left + w;
      }
      if (J) {
        TBitmap* glyph = Item->RadioItem() ? St->Glyphs()->Radio() : St->Glyphs()->Check();
        CenterRect(GR, glyph->Width(), glyph->Height());
        EngineCheckBox(Canvas, St, Item, State, K);
        if (State.Contains(odSelected) && St->SelectedItem()->BorderColor() != clNone) {
          Canvas->Brush()->SetStyle(bsSolid);
          Canvas->Brush()->SetColor(ColorToRGB(St->SelectedItem()->BorderColor()));
          Canvas->FrameRect(T);
        }
        const TColor saved = Canvas->Font()->Color();
        Canvas->Font()->SetColor(clBtnText);
        glyph->SetTransparent(true);
        Canvas->Draw(GR.Left, GR.Top, glyph);
        Canvas->Font()->SetColor(saved);
      } else if (I) {
        TBitmap* b = Item->Bitmap();
        CenterRect(GR, b->Width(), b->Height());
        b->SetTransparent(true);
        b->SetTransparentMode(tmAuto);
        Canvas->Draw(GR.Left, GR.Top, b);
      }
    }
  }
  // The sub-menu arrow (the system locale is never a Middle-East one here).
  if (!bar && Item->Count() > 0 && !HasBreakFromHere(Item)) {
    TBitmap* arrow = St->Glyphs()->SubMenu();
    TRect box{T.Right - 8, T.Top, T.Right - 5, T.Bottom};
    CenterRect(box, arrow->Width(), arrow->Height());
    const TColor saved = Canvas->Font()->Color();
    Canvas->Font()->SetColor(clBtnText);
    if (Intf->GetMenuStyler() != nullptr) {
      arrow->SetTransparent(true);
      Canvas->Draw(box.Left, box.Top, arrow);
    } else {
      TRect r = T;
      Canvas->Brush()->SetStyle(bsClear);
      r.Left = T.Right - EngineTextSize(Canvas, u"> ").cx;
      EngineDrawText(Canvas, u">", r, DT_SINGLELINE | DT_VCENTER);
    }
    Canvas->Font()->SetColor(saved);
  }
  if (!bar) T.Left += EngineRound(St->IconBar()->Size() * S) + 8;
  else if (F || I) T.Left += GR.Width();
  const String& caption = Item->Caption();
  if (caption.find(kNotesBreak) == String::npos || !Intf->GetShowNotes()) {
    const Integer itemHeight = Rect.Height();
    DrawMenuItemText(Item, Canvas, caption, format | DT_CALCRECT | DT_NOCLIP, State, T);
    const Integer dy = (itemHeight - T.Height()) / 2;
    T.Top += dy;
    T.Bottom += dy;
  }
  if (bar) {
    T.Left = Rect.Left;
    T.Right = Rect.Right;
  }
  if (Intf->GetBiDiMode() == bdLeftToRight) T.Right = T.Left + W0;
  DrawMenuItemText(Item, Canvas, caption, format, State, T);
  if (!bar && Item->ShortCut() != 0) {
    T.Right = Rect.Right - 10;
    DrawMenuItemText(Item, Canvas, ShortCutName(Item->ShortCut(), Intf->GetIntlKeybShortCuts()), DT_RIGHT, State, T);
  }
}

}  // namespace

TColor GetDisabledTextColor() { return clBtnShadow; }

float MenuItemScale(TMenuItem* Item) {
  TMenu* menu = MenuOfItem(Item);
  if (menu != nullptr)
    if (auto* c = dynamic_cast<TControl*>(menu->Owner())) return GetControlDPIScale(c, nullptr);
  return 1.0f;
}

void MeasureMenuItem(TMenuItem* Item, TCanvas* Canvas, Integer& Width, Integer& Height, bool ShowSideBar) {
  IAdvMenu* intf = GetAdvMenuIntf(Item);
  if (intf == nullptr || Canvas == nullptr) return;
  if (!Item->Visible()) {
    Width = 0;
    Height = 0;
    return;
  }
  TCustomAdvMenuStyler* St = intf->GetCurrentMenuStyler();
  TMenu* menu = intf->GetMenu();
  const float S = MenuItemScale(Item);
  const bool bar = IsBarItem(Item);
  // The layer measures a whole level on one canvas: each item leaves its font as it found it.
  TFont savedFont;
  savedFont.Assign(Canvas->Font());
  struct TFontRestore {
    TCanvas* C;
    TFont* F;
    ~TFontRestore() { C->SetFont(F); }
  } restore{Canvas, &savedFont};
  // The system's menu-bar button metrics cannot be read here: the layer's size stands.
  if (Item->IsLine()) {
    Width = -2;
    Height = std::max(0, EngineRound((St->Separator()->Width() + 2) / S));
    return;
  }
  if (!bar) Width = EngineRound(St->IconBar()->Size() * S);
  TCustomImageList* L = EngineItemImages(Item, menu);
  if (L != nullptr && (!bar || Item->ImageIndex() >= 0)) {
    if (!bar) Height = std::max(Height, L->Height());
    else Width = L->Width();
    if (L->Width() > St->IconBar()->Size()) {
      // Grown without the setter's rebuild: rebuilding from inside measurement would measure again.
      TIconBar* ib = St->IconBar();
      TMenu* m = ib->Menu();
      ib->SetMenu(nullptr);
      ib->SetSize(L->Width() + EngineRound(4 * S));
      ib->SetMenu(m);
    }
  } else if (!Item->Bitmap()->Empty()) {
    if (bar) Width = Item->Bitmap()->Width();
    else Height = std::max(Height, Item->Bitmap()->Height());
  } else {
    if (bar) Width = -7;
    else Height -= 3;
  }
  if (!bar) {
    Width += EngineRound(15 * S);
    Height += 2;
  }
  const std::vector<String> parts = EngineCaptionParts(Item->Caption(), intf->GetShowNotes());
  String text = parts[0];
  if (Item->ShortCut() != 0) text += ShortCutName(Item->ShortCut(), intf->GetIntlKeybShortCuts());
  if (bar) {
    if (!St->RootItem()->UseSystemFont()) {
      Canvas->SetFont(St->RootItem()->Font());
      Canvas->Font()->SetHeight(EngineRound(St->RootItem()->Font()->Height() * S));
    }
  } else {
    TFont* f = !St->UseSystemFont() ? St->Font()
               : !St->SelectedItem()->UseSystemFont() ? St->SelectedItem()->Font()
                                                       : nullptr;
    if (f != nullptr) {
      Canvas->SetFont(f);
      const bool scaled = intf->GetMenuStyler() != nullptr;
      Canvas->Font()->SetHeight(EngineRound(scaled ? f->Height() * S : f->Height()));
    }
  }
  const TSize ext = EngineTextSize(Canvas, text);
  Width += ext.cx + 7;
  Integer TH = ext.cy + 6;
  if (bar) {
    Height = std::max(Height, TH);
    return;
  }
  if (Item->ShortCut() & 0x0200) Width += EngineTextSize(Canvas, kWinPrefix).cx;
  if (ShowSideBar && !HasBreakBefore(Item))
    Width += EngineRound(St->SideBar()->Size() * S) + St->SideBar()->SplitterWidth();
  Height = (Height + 1) / 2 * 2;
  Width += MenuEdgeWidth;
  if (parts.size() > 1) {
    Canvas->SetFont(St->NotesFont());
    Canvas->Font()->SetHeight(EngineRound(St->NotesFont()->Height() * S));
    Integer LH = EngineTextSize(Canvas, u"gh").cy;
    LH += LH / 3;
    Integer widest = 0;
    for (const String& p : parts) widest = std::max(widest, EngineTextSize(Canvas, p).cx);
    TH += LH * Integer(parts.size() - 1);
    if (widest > 0 && widest + MenuEdgeWidth + St->IconBar()->Size() + 8 > Width)
      Width = widest + MenuEdgeWidth + St->IconBar()->Size() + 8;
  }
  Height = std::max(Height, TH);
}

void DrawMenuItem(TMenuItem* Item, TCanvas* Canvas, TRect Rect, bool ShowSideBar, TOwnerDrawState State) {
  IAdvMenu* intf = GetAdvMenuIntf(Item);
  if (intf == nullptr || Canvas == nullptr) return;
  TCustomAdvMenuStyler* St = intf->GetCurrentMenuStyler();
  TMenu* menu = intf->GetMenu();
  const float S = MenuItemScale(Item);
  const float D = GetMenuDPIScale();
  const Integer A = MenuEdgeWidth;
  Integer X = 0;
  if (auto* pm = dynamic_cast<TPopupMenu*>(Item->Owner());
      pm != nullptr && Item->Parent() == pm->Items() && Item->MenuIndex() == pm->Items()->Count() - 1)
    X = Rect.Height();
  if (HasBreakFromHere(Item)) Rect.Right += A;
  ShowSideBar = ShowSideBar && !HasBreakBefore(Item);
  TRect T = Rect;
  if (ShowSideBar) T.Left += EngineRound(St->SideBar()->Size() * S) + St->SideBar()->SplitterWidth();
  if (!IsBarItem(Item)) {
    // The pop-up area: the union of the rectangles its window shows, in the canvas's coordinates.
    TRect M{0, 0, 0, 0};
    bool any = false;
    if (HWND h = WindowFromDC(Canvas->Handle()); h != nullptr && Item->Parent() != nullptr) {
      if (TWinControl* w = FindControl(h))
        for (Integer i = 0; i < Item->Parent()->Count(); ++i) {
          const TRect r = MenuItemRect(w, Item->Parent()->Items(i));
          if (r.Width() <= 0 && r.Height() <= 0) continue;
          M = any ? TRect{std::min(M.Left, r.Left), std::min(M.Top, r.Top), std::max(M.Right, r.Right),
                          std::max(M.Bottom, r.Bottom)}
                  : r;
          any = true;
        }
    }
    if (!any) M = TRect{Rect.Left, Rect.Top, Rect.Right + A, Rect.Bottom};
    M.Right -= A;
    TSideBar* sb = St->SideBar();
    if (ShowSideBar && FirstVisibleItem(Item->Parent()) == Item) {
      TRect B = M;
      B.Right = M.Left + EngineRound(sb->Size() * S) + sb->SplitterWidth();
      RenderBackground(Canvas, B, sb->Background(), true);
      if (sb->Image()->Color() != clNone && sb->Image()->HasPicture()) RenderBackground(Canvas, B, sb->Image(), true);
      DrawSideBarCaption(menu, Canvas, B);
      DrawSideBarBorder(menu, Canvas, B);
      DrawSideBarSplitter(menu, Canvas, B);
    }
    TIconBar* ib = St->IconBar();
    const TRect IB{T.Left, M.Top, T.Left + EngineRound(ib->Size() * S), M.Bottom};
    DrawGradientClip(nullptr, Canvas, IB, ib->Color(), ib->ColorTo(), ib->GradientDirection(), T);
    if (ib->SeparatorColor() != clNone) {
      Canvas->Pen()->SetColor(ib->SeparatorColor());
      Canvas->MoveTo(IB.Right - 1, std::max(IB.Top, T.Top));
      Canvas->LineTo(IB.Right - 1, std::min(IB.Bottom, T.Bottom));
    }
    TBackground* bg = St->Background();
    TRect P = T;
    P.Left = IB.Right;
    TRect G{IB.Right, M.Top, T.Right, M.Bottom};
    if (bg->MarginX() > 0 || bg->MarginY() > 0) {
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(ColorToRGB(bg->Color()));
      Canvas->FillRect(P);
      P = TRect{P.Left + bg->MarginX(), P.Top + bg->MarginY(), P.Right - bg->MarginX(), P.Bottom - bg->MarginY()};
    }
    P.Bottom += X;
    G.Bottom += X;
    DrawGradientClip(nullptr, Canvas, G, bg->Color(), bg->ColorTo(), bg->GradientDirection(), P);
    if (bg->HasPicture()) {
      TBitmap* cache = St->BackgroundBitmap();
      if (cache->Width() != M.Width() || cache->Height() != M.Height()) {
        cache->SetSize(M.Width(), M.Height());
        RenderBackground(cache->Canvas(), TRect{0, 0, M.Width(), M.Height()}, bg, false);
      }
      Canvas->CopyRect(P, cache->Canvas(), TRect{P.Left - M.Left, P.Top - M.Top, P.Right - M.Left, P.Bottom - M.Top});
    }
  }
  if (Item->IsLine()) EngineDrawSeparator(Canvas, St, T, D);
  else EngineDrawItem(Item, Canvas, intf, T, Rect, State, S, D);
  FramePopupWindow(Item, Canvas);
}

void DrawMenuItemText(TMenuItem* Item, TCanvas* Canvas, const String& Text, UINT Format, TOwnerDrawState State,
                      TRect& R) {
  IAdvMenu* intf = GetAdvMenuIntf(Item);
  if (intf == nullptr || Canvas == nullptr) return;
  TCustomAdvMenuStyler* St = intf->GetCurrentMenuStyler();
  const float S = MenuItemScale(Item);
  const float D = GetMenuDPIScale();
  const bool rtl = intf->GetBiDiMode() == bdRightToLeft;
  if (rtl) Format |= DT_RIGHT | DT_RTLREADING;
  // The keyboard-cue setting cannot be read here, so prefixes always show.
  const bool measuring = (Format & DT_CALCRECT) != 0;
  String text = Text;
  if (measuring && (text.empty() || text == u"&")) text += u" ";
  Canvas->Brush()->SetStyle(bsClear);
  EngineSelectItemFont(Item, Canvas, St, State, S, D);
  const bool disabled = !Item->Enabled();
  const bool bar = IsBarItem(Item);
  const TAntiAlias aa = St->AntiAlias();
  if (intf->GetShowNotes() && text.find(kNotesBreak) != String::npos) {
    const std::vector<String> parts = EngineCaptionParts(text, true);
    TFont* notes = State.Contains(odSelected) ? St->SelectedItem()->NotesFont() : St->NotesFont();
    if (aa != aaNone) {
      if (measuring) return;
      EngineDrawGdipText(Canvas, aa, parts[0], Canvas->Font(), disabled ? GetDisabledTextColor() : Canvas->Font()->Color(),
                         R, false, StringAlignmentNear, StringAlignmentNear);
      TRect r = R;
      r.Top += 20;
      const Integer lh = EngineGdipLineHeight(Canvas, notes);
      for (std::size_t i = 1; i < parts.size(); ++i) {
        EngineDrawGdipText(Canvas, aa, parts[i], notes, disabled ? GetDisabledTextColor() : notes->Color(), r, false,
                           StringAlignmentNear, StringAlignmentNear);
        r.Top += lh;
      }
      return;
    }
    if (disabled) Canvas->Font()->SetColor(GetDisabledTextColor());
    TRect r = R;
    EngineDrawText(Canvas, parts[0], r, DT_SINGLELINE);
    r = R;
    r.Top += EngineTextSize(Canvas, u"gh").cy;
    Canvas->SetFont(notes);
    Canvas->Font()->SetHeight(EngineRound(notes->Height() * S));
    if (disabled) Canvas->Font()->SetColor(GetDisabledTextColor());
    const Integer lh = EngineTextSize(Canvas, u"gh").cy;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      TRect lr = r;
      EngineDrawText(Canvas, parts[i], lr, DT_SINGLELINE);
      r.Top += lh;
    }
    return;
  }
  if (disabled) Canvas->Font()->SetColor(GetDisabledTextColor());
  if (aa != aaNone) {
    if (measuring) return;
    EngineDrawGdipText(Canvas, aa, text, Canvas->Font(), Canvas->Font()->Color(), R, Item->Default(),
                       bar ? StringAlignmentCenter : (Format & DT_RIGHT) ? StringAlignmentFar : StringAlignmentNear,
                       StringAlignmentCenter);
    return;
  }
  const std::size_t tab = text.find(u'\t');
  if (tab == String::npos) {
    EngineDrawText(Canvas, text, R, Format);
    return;
  }
  TRect r = R;
  if (rtl) r.Right = R.Width() - 20;
  else r.Right -= 30 + (Item->Count() > 0 ? 10 : 0);
  EngineDrawText(Canvas, text.substr(0, tab), r, Format);
  EngineDrawText(Canvas, text.substr(tab + 1), r, Format | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}
