#include "html/HTMLabel.h"

#include <algorithm>
#include <cmath>

#include "html/HTMLDrawing.h"
#include "html/HTMLTextUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/Shell.h"
#include "platform/win/Window.h"

namespace {

// The only links a click hands to the desktop: web pages and mail.
bool HTMLabelOpensLink(const String& Anchor) {
  const String up = UpperCase(Anchor);
  return up.rfind(u"HTTP://", 0) == 0 || up.rfind(u"HTTPS://", 0) == 0 || up.rfind(u"MAILTO:", 0) == 0;
}

template <class T>
bool HTMLabelStore(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

THTMLabel::THTMLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
  SetTransparent(true);
  FImageCache = std::make_unique<THTMLPictureCache>();
  FHTMLText = std::make_unique<TStringList>();
  FHTMLText->OnChange = [this](TObject*) {
    FImageCache->ClearPictures();
    HTMLChanged();
  };
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
  SetCaption(String());
  TCustomLabel::SetAutoSize(false);
  SetWidth(120);
}

THTMLabel::~THTMLabel() {
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  FImageCache->ClearPictures();
}

void THTMLabel::SetHTMLText(TStrings* Value) {
  if (!Value) return;
  FHTMLText->SetText(html::HTMLBreaksToBR(Value->Text(), false));
  HTMLChanged();
}

String THTMLabel::GetHTMLString() const {
  String s;
  for (Integer i = 0; i < FHTMLText->Count(); ++i) {
    const String& line = FHTMLText->Strings(i);
    if (i > 0 && !(!s.empty() && s.back() == u'>' && !line.empty() && line.front() == u'<')) s += u' ';
    s += line;
  }
  return s;
}

String THTMLabel::Text() const { return html::HTMLToPlainText(GetHTMLString()); }

String THTMLabel::Version() const {
  const Cardinal v = GetVersionNumber();
  return IntToStr((v >> 24) & 0xFF) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
         IntToStr(v & 0xFF);
}

void THTMLabel::SetAutoSizing(bool Value) {
  FAutoSizing = Value;
  if (!ComponentState().Contains(csLoading) && (FAutoSizeType != asVertical || FVAlignment == tvaTop)) {
    if (Align() == alLeft || Align() == alRight) SetWidth(6);
    if (Align() == alTop || Align() == alBottom) SetHeight(6);
  }
  Invalidate();
}

void THTMLabel::SetAutoSizeType(TAutoSizeType Value) {
  FAutoSizeType = Value;
  SetAutoSizing(FAutoSizing);
}

void THTMLabel::SetBevelInner(TBevelCut Value) {
  FBevelInner = Value;
  Invalidate();
}
void THTMLabel::SetBevelOuter(TBevelCut Value) {
  FBevelOuter = Value;
  Invalidate();
}
void THTMLabel::SetBevelWidth(Integer Value) {
  FBevelWidth = Value;
  Invalidate();
}
void THTMLabel::SetBorderWidth(Integer Value) {
  FBorderWidth = Value;
  Invalidate();
}
void THTMLabel::SetBorderStyle(TBorderStyle Value) {
  FBorderStyle = Value;
  Invalidate();
}

// Setters that repaint only on a change.
void THTMLabel::SetBorderColor(TColor Value) {
  if (HTMLabelStore(FBorderColor, Value)) Invalidate();
}
void THTMLabel::SetColorTo(TColor Value) {
  if (HTMLabelStore(FColorTo, Value)) Invalidate();
}
void THTMLabel::SetEllipsis(bool Value) {
  if (HTMLabelStore(FEllipsis, Value)) Invalidate();
}
void THTMLabel::SetGradientType(TGradientType Value) {
  if (HTMLabelStore(FGradientType, Value)) Invalidate();
}
void THTMLabel::SetLineWidth(Integer Value) {
  if (HTMLabelStore(FLineWidth, Value)) Invalidate();
}
void THTMLabel::SetLineSpacing(Integer Value) {
  if (HTMLabelStore(FLineSpacing, Value)) Invalidate();
}
void THTMLabel::SetShadowColor(TColor Value) {
  if (HTMLabelStore(FShadowColor, Value)) Invalidate();
}
void THTMLabel::SetShadowOffset(Integer Value) {
  if (HTMLabelStore(FShadowOffset, Value)) Invalidate();
}
void THTMLabel::SetURLColor(TColor Value) {
  if (HTMLabelStore(FURLColor, Value)) Invalidate();
}
void THTMLabel::SetVAlignment(TVAlignment Value) {
  if (HTMLabelStore(FVAlignment, Value)) Invalidate();
}
void THTMLabel::SetBiDiMode(TBiDiMode Value) {
  if (HTMLabelStore(FBiDiMode, Value)) Invalidate();
}
void THTMLabel::SetExternalText(bool Value) {
  if (HTMLabelStore(FExternalText, Value)) Invalidate();
}

void THTMLabel::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink.get());
    FImages->FreeNotification(this);
  }
  Invalidate();
}

void THTMLabel::SetPictureContainer(TPictureContainer* Value) {
  FContainer = Value;
  if (FContainer) FContainer->FreeNotification(this);
  Invalidate();
}

void THTMLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FContainer) FContainer = nullptr;
}

void THTMLabel::Loaded() {
  TCustomLabel::Loaded();
  SetCaption(String());
  SetAutoSizing(FAutoSizing);
  FDPIScale = GetControlDPIScale(this, Canvas());
}

void THTMLabel::SetDPIScale(Single ADPIScale) {
  if (ADPIScale > 0) FDPIScale = ADPIScale;
}

void THTMLabel::BeginUpdate() { ++FUpdateCount; }

void THTMLabel::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) Invalidate();
}

void THTMLabel::SetComponentStyle(TVornStyle AStyle) {
  FUIStyle = AStyle;
  if (AStyle == tsCustom) return;
  switch (AStyle) {
    case tsOffice2016Black: Font()->SetColor(TColor(0xC0C0C0)); break;
    case tsOffice2019White: Font()->SetColor(TColor(0x444648)); break;
    case tsOffice2019Gray:
    case tsOffice2019Black: Font()->SetColor(TColor(0xFFFFFF)); break;
    default: Font()->SetColor(clWindowText); break;
  }
}

bool THTMLabel::DrawHTML(TCanvas* Canvas, const String& Text, const TRect& R, html::THTMLRenderArgs Args,
                         html::THTMLRenderResult& Result) {
  Args.FocusAnchor = -1;
  Args.WrapWords = !FEllipsis;
  Args.PictureCache = FImageCache.get();
  Args.Container = FContainer;
  Args.LineSpacing = FLineSpacing;
  Args.BiDiMode = FBiDiMode;
  Args.HighlightColor = clHighlight;
  Args.HighlightTextColor = clHighlightText;
  Args.HighlightStyle = TFontStyles();
  Args.Scale = FDPIScale;
  Args.Options.ExternalText = FExternalText;
  return html::HTMLRender(Canvas, Text, R, Args, Result);
}

html::THTMLRenderArgs THTMLabel::RenderArgs(Integer X, Integer Y) const {
  html::THTMLRenderArgs a;
  a.Images = FImages;
  a.HitX = X;
  a.HitY = Y;
  a.ShadowOffset = FShadowOffset;
  a.HoverUnderlineOnly = FHover;
  a.ScaleFontSizes = FFormScaled;
  return a;
}

Integer THTMLabel::BorderLineInset() const {
  return (FBorderStyle == bsSingle && FBorderWidth > 0 && FBorderColor != clNone) ? (FBorderWidth + 1) / 2 : 0;
}

TVAlignment THTMLabel::TextVAlignment() const {
  if (FAutoSizing && (FAutoSizeType == asVertical || FAutoSizeType == asBoth)) return tvaTop;
  return FVAlignment;
}

TRect THTMLabel::TextBounds() const {
  TRect r = ClientRect();
  const bool bevelled = FBevelInner != bvNone || FBevelOuter != bvNone;
  const Integer bevel = std::max<Integer>(FBevelWidth, 0);
  // The frames Paint draws (each bevel, the border in the label's colour),
  // the bevel's extra margin, and the inner half of the border line.
  Integer inset = std::max<Integer>(FBorderWidth, 0) + BorderLineInset();
  if (FBevelOuter != bvNone) inset += bevel;
  if (FBevelInner != bvNone) inset += bevel;
  if (bevelled) inset += bevel;
  InflateRect(&r, -inset, -inset);
  if (FAutoSizing) {
    const TAlign al = Align();
    if ((al == alNone || al == alLeft || al == alRight) && (FAutoSizeType == asHorizontal || FAutoSizeType == asBoth))
      r.Right += 65535;
    if ((al == alNone || al == alTop || al == alBottom) && (FAutoSizeType == asVertical || FAutoSizeType == asBoth))
      r.Bottom += 65535;
  }
  return r;
}

void THTMLabel::AlignTextBounds(TRect& R, Integer ExtentY) const {
  const TVAlignment valign = TextVAlignment();
  if (FAutoSizing) {
    if (valign == tvaCenter) R.Top += 3;
    if (valign == tvaBottom) R.Top += 6;
    // An auto-sized label aligns the text with its border line counted in.
    if (FBorderStyle == bsSingle) ExtentY += 2 * FBorderWidth;
  }
  if (valign == tvaCenter) R.Top += (R.Bottom - R.Top - ExtentY) / 2;
  if (valign == tvaBottom) R.Top = R.Bottom - ExtentY;
}

String THTMLabel::AnchorAt(Integer X, Integer Y, TRect& HoverRect, bool ReturnTitle) {
  // The text is hit-tested where Paint lays it out: the same rectangle and
  // the same vertical alignment, tall text included.
  TRect r = TextBounds();
  const String text = GetHTMLString();
  HoverRect = TRect{-1, -1, -1, -1};
  TCanvas* c = Canvas();
  c->SetFont(Font());
  html::THTMLRenderArgs args = RenderArgs(X, Y);
  args.HitTestPass = true;
  args.URLColor = 0xFFFFFF;
  args.ShadowColor = clNone;
  if (TextVAlignment() != tvaTop) {
    html::THTMLRenderResult measured;
    DrawHTML(c, text, r, args, measured);
    c->SetFont(Font());
    AlignTextBounds(r, measured.ExtentY);
  }
  html::THTMLRenderResult out;
  const bool hit = DrawHTML(c, text, r, args, out);
  FHoverHyperLink = out.HitAnchorIndex;
  HoverRect = out.HitAnchorRect;
  if (hit) return (ReturnTitle && !out.AnchorTitle.empty()) ? out.AnchorTitle : out.HitAnchor;
  FHoverHyperLink = -1;
  HoverRect = TRect{-1, -1, -1, -1};
  return String();
}

void THTMLabel::InvalidateArea(const TRect& R) {
  if (!Parent()) return;
  TRect r = R;
  OffsetRect(&r, Left(), Top());
  InvalidateRect(Parent()->Handle(), &r, true);
}

void THTMLabel::Paint() {
  FFormScaled = true;
  if (auto* form = dynamic_cast<TForm*>(GetParentForm(this))) FFormScaled = form->Scaled();
  TRect r = ClientRect();
  if (r.IsEmpty()) return;
  const Integer steps = (r.Right - r.Left) / 4;
  std::unique_ptr<TBitmap> bitmap;
  TCanvas* target = Canvas();
  if (!Transparent()) {
    bitmap = std::make_unique<TBitmap>(r.Right - r.Left, r.Bottom - r.Top);
    target = bitmap->Canvas();
    if (FColorTo != clNone && (FGradientType == gtFullHorizontal || FGradientType == gtFullVertical)) {
      html::HTMLDrawGradient(target, Color(), FColorTo, FGradientType == gtFullHorizontal, r, steps, clNone);
    } else {
      target->Brush()->SetColor(Color());
      target->Pen()->SetColor(Color());
      target->Rectangle(r);
    }
  }
  if (FGradientType == gtBottomLine || FGradientType == gtCenterLine || FGradientType == gtTopLine) {
    TRect lr = r;
    if (FGradientType == gtBottomLine) lr.Top = lr.Bottom - FLineWidth;
    if (FGradientType == gtCenterLine) {
      lr.Top += (lr.Bottom - lr.Top - FLineWidth) / 2;
      lr.Bottom = lr.Top + FLineWidth;
    }
    if (FGradientType == gtTopLine) lr.Bottom = lr.Top + FLineWidth;
    html::HTMLDrawGradient(target, Color(), FColorTo == clNone ? Color() : FColorTo, true, lr, steps, clNone);
  }
  target->SetFont(Font());
  if (FUpdateCount > 0) return;

  TRect fr = ClientRect();
  const auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    const TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(target, fr, top, bottom, FBevelWidth);
  };
  bevel(FBevelOuter);
  if (FBorderWidth > 0) Frame3D(target, fr, Color(), Color(), FBorderWidth);
  bevel(FBevelInner);
  if (const Integer a = BorderLineInset(); a > 0) {
    const Integer b = FBorderWidth / 2;
    target->Pen()->SetWidth(FBorderWidth);
    target->Pen()->SetColor(FBorderColor);
    target->Brush()->SetStyle(bsClear);
    target->Polygon({{fr.Left - a, fr.Top - a}, {fr.Right + b, fr.Top - a}, {fr.Right + b, fr.Bottom + b},
                     {fr.Left - a, fr.Bottom + b}});
    target->Pen()->SetWidth(1);
  }
  r = TextBounds();

  const String text = GetHTMLString();
  target->Brush()->SetColor(Color());
  if (Transparent()) target->Brush()->SetStyle(bsClear);
  const TVAlignment valign = TextVAlignment();
  const TAlign al = Align();
  // The paint shows the hover state the mouse handlers recorded; it never
  // reads the live pointer, so a repaint draws the same picture wherever the
  // mouse is.
  html::THTMLRenderArgs args = RenderArgs(-1, -1);
  args.HoverAnchor = FHoverHyperLink;
  args.URLColor = FURLColor;
  args.HoverColor = FHoverColor;
  args.HoverFontColor = FHoverFontColor;
  args.ShadowColor = FShadowColor;
  Integer xs = 0, ys = 0;
  bool changed = false;
  if (FAutoSizing || valign != tvaTop) {
    args.HitTestPass = true;
    html::THTMLRenderResult measured;
    DrawHTML(target, text, r, args, measured);
    args.HitTestPass = false;
    xs = measured.ExtentX;
    ys = measured.ExtentY;
    target->SetFont(Font());
  }
  if (FAutoSizing) {
    Integer w = xs, h = ys;
    if (FBorderStyle == bsSingle) {
      w += 2 * FBorderWidth;
      h += 2 * FBorderWidth;
    }
    if ((al == alNone || al == alTop || al == alBottom) && (FAutoSizeType == asVertical || FAutoSizeType == asBoth) &&
        Height() != h + 6) {
      SetHeight(h + 6);
      changed = true;
    }
    if ((al == alNone || al == alLeft || al == alRight) && (FAutoSizeType == asHorizontal || FAutoSizeType == asBoth) &&
        Width() != w + 6) {
      SetWidth(w + 6);
      changed = true;
    }
  }
  AlignTextBounds(r, ys);
  html::THTMLRenderResult drawn;
  DrawHTML(target, text, r, args, drawn);
  if (bitmap) {
    const TRect cr = ClientRect();
    Canvas()->CopyRect(cr, bitmap->Canvas(), cr);
  }
  if (FAutoSizing && changed && OnNewSize) OnNewSize(this, Width(), Height());
}

void THTMLabel::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomLabel::MouseMove(Shift, X, Y);
  TRect hr;
  const String anchor = AnchorAt(X, Y, hr, false);
  if (!anchor.empty()) {
    if ((anchor != FOldAnchor || hr != FCurrHoverRect || FHoverHyperLink == -1) && FHover && hr.Left != -1)
      InvalidateArea(FCurrHoverRect);
    if (Cursor() == crDefault || anchor != FOldAnchor || FOldHoverHyperLink != FHoverHyperLink) {
      if (FAnchorHint && Application) Application->CancelHint();
      SetCursor(crHandPoint);
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
      if (FHover) {
        if (FCurrHoverRect.Left == -1)
          Invalidate();
        else
          InvalidateArea(FCurrHoverRect);
      }
    }
    FOldAnchor = anchor;
    FOldHoverHyperLink = FHoverHyperLink;
    FCurrHoverRect = hr;
    if (FHover) InvalidateArea(FCurrHoverRect);
  } else if (Cursor() == crHandPoint) {
    SetCursor(crDefault);
    if (OnAnchorExit) OnAnchorExit(this, String());
    if (FHover) {
      if (FCurrHoverRect.Left == -1)
        Invalidate();
      else
        InvalidateArea(FCurrHoverRect);
    }
    FCurrHoverRect = hr;
    FOldAnchor.clear();
    FOldHoverHyperLink = -1;
    if (FHover) Invalidate();
  }
}

void THTMLabel::DoAnchorClick(const String& Anchor) {
  if (OnAnchorClick) OnAnchorClick(this, Anchor);
}

void THTMLabel::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomLabel::MouseDown(Button, Shift, X, Y);
  TRect hr;
  const String anchor = AnchorAt(X, Y, hr, false);
  if (Button != mbLeft || anchor.empty()) return;
  DoAnchorClick(anchor);
  // Only web pages and mail go to the desktop's opener; any other target
  // (files, programs, other schemes) is the application's business.
  if (HTMLabelOpensLink(anchor)) ShellExecute(nullptr, u"open", anchor, u"", u"", SW_SHOWNORMAL);
}

void THTMLabel::MouseLeave() {
  if (FHover && FHoverHyperLink != -1) InvalidateArea(FCurrHoverRect);
  FHoverHyperLink = -1;
  FOldHoverHyperLink = -1;
  FOldAnchor.clear();
  FCurrHoverRect = TRect{-1, -1, -1, -1};
  if (Cursor() == crHandPoint) SetCursor(crDefault);
  TCustomLabel::MouseLeave();
}

void THTMLabel::HintShow(THintInfo& Info) {
  bool produced = false;
  if (FAnchorHint) {
    TRect hr;
    String anchor = AnchorAt(Info.CursorPos.X, Info.CursorPos.Y, hr, true);
    if (!anchor.empty()) {
      if (OnAnchorHint) OnAnchorHint(this, anchor);
      const TPoint p = ClientToScreen(Info.CursorPos);
      Info.HintPos = TPoint{p.X + 10, p.Y - 10};
      Info.HintStr = anchor;
      produced = true;
    }
  }
  if (FHintShowFull && !produced) Info.HintStr = FHTMLHint ? GetHTMLString() : html::HTMLToPlainText(GetHTMLString());
}

void THTMLabel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_HINTSHOW && Message.LParam != 0) {
    HintShow(*reinterpret_cast<THintInfo*>(Message.LParam));
    Message.Result = 0;
    return;
  }
  if (Message.Msg == CM_DIALOGCHAR) {
    if (FocusControl() && Enabled() && ShowAccelChar() && IsAccel(Word(Message.WParam), GetHTMLString()) &&
        FocusControl()->CanFocus()) {
      FocusControl()->SetFocus();
      Message.Result = 1;
    }
    return;
  }
  TCustomLabel::Dispatch(Message);
}

void THTMLabel::HTMLPrint(TCanvas* Canvas, TRect R) {
  if (!Canvas) return;
  const String text = GetHTMLString();
  html::THTMLRenderArgs args = RenderArgs(0, 0);
  args.ShadowOffset = 1;
  args.HoverUnderlineOnly = false;
  args.URLColor = FURLColor;
  args.ShadowColor = clGray;
  if (FVAlignment != tvaTop) {
    args.HitTestPass = true;
    html::THTMLRenderResult measured;
    DrawHTML(Canvas, text, R, args, measured);
    args.HitTestPass = false;
    if (FVAlignment == tvaCenter)
      R.Top += (R.Bottom - R.Top - measured.ExtentY) / 2;
    else
      R.Top = R.Bottom - measured.ExtentY;
  }
  args.PrintMode = true;
  html::THTMLRenderResult printed;
  DrawHTML(Canvas, text, R, args, printed);
}

TSize THTMLabel::HTMLSize() {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  html::THTMLRenderArgs args = RenderArgs(-1, -1);
  args.HitTestPass = true;
  args.MeasureOnly = true;
  args.URLColor = FURLColor;
  args.ShadowColor = FShadowColor;
  html::THTMLRenderResult measured;
  DrawHTML(c, GetHTMLString(), TRect{0, 0, 4096, 4096}, args, measured);
  return TSize{measured.ExtentX, measured.ExtentY};
}

TSize THTMLabel::GetSizeWithMaxWidth(Integer AMaxWidth) {
  TBitmap bmp(1, 1);
  bmp.Canvas()->SetFont(Font());
  html::THTMLRenderArgs args = RenderArgs(-1, -1);
  args.HitTestPass = true;
  args.MeasureOnly = true;
  args.URLColor = FURLColor;
  args.ShadowColor = FShadowColor;
  html::THTMLRenderResult measured;
  DrawHTML(bmp.Canvas(), GetHTMLString(), TRect{0, 0, AMaxWidth, 4096}, args, measured);
  return TSize{measured.ExtentX, measured.ExtentY};
}

void THTMLabel::HilightText(const String& HiText, bool DoCase) {
  FHTMLText->SetText(html::HTMLHighlight(FHTMLText->Text(), HiText, u"hi", DoCase));
}

void THTMLabel::UnHilightText() { FHTMLText->SetText(html::HTMLUnhighlight(FHTMLText->Text(), u"hi")); }

void THTMLabel::MarkText(const String& HiText, bool DoCase) {
  FHTMLText->SetText(html::HTMLHighlight(FHTMLText->Text(), HiText, u"e", DoCase));
}

void THTMLabel::UnMarkText() { FHTMLText->SetText(html::HTMLUnhighlight(FHTMLText->Text(), u"e")); }
