// Panel, image, bevel and shape.
#include "platform/vcl/ExtCtrls.h"

#include <algorithm>

#include "platform/rtl/TypInfo.h"

// ---------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                   csReplicatable, csParentBackground};
  FColor = clBtnFace;
  FParentColor = false;
  SetBounds(0, 0, 185, 41);
}

Integer TCustomPanel::BevelExtent() const {
  Integer n = FBorderWidth;
  if (FBevelOuter != bvNone) n += FBevelWidth;
  if (FBevelInner != bvNone) n += FBevelWidth;
  return n;
}

void TCustomPanel::AdjustClientRect(TRect& R) {
  TCustomControl::AdjustClientRect(R);
  const Integer n = BevelExtent();
  InflateRect(&R, -n, -n);
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  auto colors = [](TBevelCut cut, TColor& top, TColor& bottom) {
    top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    colors(FBevelOuter, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  Frame3D(c, r, FColor, FColor, FBorderWidth);
  if (FBevelInner != bvNone) {
    colors(FBevelInner, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  c->Brush()->SetColor(FColor);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  if (!FShowCaption || FText.empty()) return;
  c->SetFont(Font());
  c->Brush()->SetStyle(bsClear);
  const UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER |
                     (FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER);
  String text = FText;
  DrawTextW(c->Handle(), text.data(), Integer(text.size()), &r, flags);
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  const TBorderStyle v = Value == bsNone ? bsNone : bsSingle;
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  if (HandleAllocated()) RecreateWnd();
  Realign();
}

TRect TCustomPanel::FrameInsets() const {
  return FBorderStyle == bsSingle ? TRect{1, 1, 1, 1} : TRect{};
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  FBevelInner = Value;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  FBevelOuter = Value;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelWidth(Integer Value) {
  FBevelWidth = std::max(Value, 0);
  Realign();
  Invalidate();
}
void TCustomPanel::SetBorderWidth(Integer Value) {
  FBorderWidth = std::max(Value, 0);
  Realign();
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}
void TCustomPanel::SetShowCaption(bool Value) {
  FShowCaption = Value;
  Invalidate();
}
void TCustomPanel::SetParentBackground(bool Value) {
  if (Value) FControlStyle.Include(csParentBackground);
  else FControlStyle.Exclude(csParentBackground);
  Invalidate();
}
void TCustomPanel::CMTextChanged(TMessage& M) {
  TCustomControl::CMTextChanged(M);
  Invalidate();
}

// ---------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  FControlStyle.Include(csReplicatable);
  FPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::SetPicture(TPicture* Value) { FPicture->Assign(Value); }

void TImage::PictureChanged(TObject*) {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
  if (TGraphic* g = FPicture->Graphic()) g->SetTransparent(FTransparent);
  Invalidate();
}

void TImage::SetAutoSize(bool Value) {
  TGraphicControl::SetAutoSize(Value);
  PictureChanged(nullptr);
}
void TImage::SetStretch(bool Value) {
  FStretch = Value;
  Invalidate();
}
void TImage::SetCenter(bool Value) {
  FCenter = Value;
  Invalidate();
}
void TImage::SetProportional(bool Value) {
  FProportional = Value;
  Invalidate();
}
void TImage::SetTransparent(bool Value) {
  FTransparent = Value;
  PictureChanged(nullptr);
}

TRect TImage::DestRect() const {
  Integer w = FPicture->Width(), h = FPicture->Height();
  const Integer cw = ClientWidth(), ch = ClientHeight();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      // Fit inside the client area, keeping the picture's proportions.
      if (Int64(cw) * h > Int64(ch) * w) {
        w = Integer(Int64(ch) * w / h);
        h = ch;
      } else {
        h = Integer(Int64(cw) * h / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Bounds(0, 0, w, h);
  if (FCenter) OffsetRect(&r, (cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint() {
  TGraphic* g = FPicture->Graphic();
  if (g == nullptr || g->Empty()) return;
  const TRect r = DestRect();
  Canvas()->StretchDraw(r, g);
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  FShape = Value;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle Value) {
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  const TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  const Integer w = Width(), h = Height();
  c->Pen()->SetWidth(1);
  auto line = [c](TColor color, Integer x1, Integer y1, Integer x2, Integer y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  TRect r = ClientRect();
  switch (FShape) {
    case bsBox: Frame3D(c, r, c1, c2, 1); break;
    case bsFrame: {
      TRect inner = r;
      inner.Right -= 1;
      inner.Bottom -= 1;
      Frame3D(c, inner, c1, c1, 1);
      inner = r;
      inner.Left += 1;
      inner.Top += 1;
      Frame3D(c, inner, c2, c2, 1);
      break;
    }
    case bsTopLine:
      line(c1, 0, 0, w, 0);
      line(c2, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(c1, 0, h - 2, w, h - 2);
      line(c2, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(c1, 0, 0, 0, h);
      line(c2, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(c1, w - 2, 0, w - 2, h);
      line(c2, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// ---------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FControlStyle.Include(csReplicatable);
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
  SetBounds(0, 0, 65, 65);
}

TShape::~TShape() {
  FPen->OnChange = nullptr;
  FBrush->OnChange = nullptr;
}

void TShape::SetShape(TShapeType Value) {
  FShape = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* c = Canvas();
  c->SetPen(FPen.get());
  c->SetBrush(FBrush.get());
  const Integer pw = FPen->Width();
  Integer x = pw / 2, y = x, w = Width() - pw + 1, h = Height() - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  const Integer s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: c->Ellipse(x, y, x + w, y + h); break;
  }
}

// ---------------------------------------------------------------------------

void RegisterExtCtrlsClasses() {
  RegisterEnum<TBevelCut>(u"TBevelCut", {u"bvNone", u"bvLowered", u"bvRaised", u"bvSpace"});
  RegisterEnum<TBevelShape>(u"TBevelShape",
                            {u"bsBox", u"bsFrame", u"bsTopLine", u"bsBottomLine", u"bsLeftLine", u"bsRightLine", u"bsSpacer"});
  RegisterEnum<TBevelStyle>(u"TBevelStyle", {u"bsLowered", u"bsRaised"});
  RegisterEnum<TShapeType>(u"TShapeType",
                           {u"stRectangle", u"stSquare", u"stRoundRect", u"stRoundSquare", u"stEllipse", u"stCircle"});
  TClassInfo::Of<TCustomPanel, TCustomControl>(u"TCustomPanel");
  TClassInfo::Of<TPanel, TCustomPanel>(u"TPanel")
      .Property(u"Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter)
      .Property(u"BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone)
      .Property(u"BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised)
      .Property(u"BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1)
      .Property(u"BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone)
      .Property(u"BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0)
      .Property(u"ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground)
      .Property(u"ShowCaption", &TPanel::ShowCaption, &TPanel::SetShowCaption).Default(true);
  TClassInfo::Of<TImage, TGraphicControl>(u"TImage")
      .Property(u"Center", &TImage::Center, &TImage::SetCenter).Default(false)
      .Property(u"Picture", &TImage::Picture, &TImage::SetPicture)
      .Property(u"Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false)
      .Property(u"Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false)
      .Property(u"Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
  TClassInfo::Of<TBevel, TGraphicControl>(u"TBevel")
      .Property(u"Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox)
      .Property(u"Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
  TClassInfo::Of<TShape, TGraphicControl>(u"TShape")
      .Property(u"Brush", &TShape::Brush, &TShape::SetBrush)
      .Property(u"Pen", &TShape::Pen, &TShape::SetPen)
      .Property(u"Shape", &TShape::Shape, &TShape::SetShape).Default(stRectangle);
  for (const TClassInfo* c : {ClassInfoOf<TPanel>(), ClassInfoOf<TImage>(), ClassInfoOf<TBevel>(), ClassInfoOf<TShape>()})
    RegisterClass(c);
}
