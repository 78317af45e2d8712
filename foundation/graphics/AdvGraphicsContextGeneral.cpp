#include "foundation/graphics/AdvGraphicsContextGeneral.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/rtl/Math.h"

namespace {

Integer R(Single v) { return Integer(Round(v)); }
Integer F(Single v) { return Integer(Floor(v)); }
TPoint RoundPoint(const TPointF& p) { return {R(p.X), R(p.Y)}; }
TRect RoundRect(const TRectF& r) { return {R(r.Left), R(r.Top), R(r.Right), R(r.Bottom)}; }
std::vector<TPoint> RoundPoints(const TAdvGraphicsPathPolygon& APolygon) {
  std::vector<TPoint> points;
  points.reserve(APolygon.size());
  for (const TPointF& p : APolygon) points.push_back(RoundPoint(p));
  return points;
}
double Radians(double ADegrees) { return ADegrees * std::numbers::pi / 180; }

// Keeps the canvas brush's colour and style, clears it for an outline, and
// puts both back.
class TClearBrush {
 public:
  explicit TClearBrush(TCanvas* ACanvas)
      : FBrush(ACanvas->Brush()), FColor(FBrush->Color()), FStyle(FBrush->Style()) {
    FBrush->SetStyle(bsClear);
  }
  ~TClearBrush() {
    FBrush->SetColor(FColor);
    FBrush->SetStyle(FStyle);
  }
  TClearBrush(const TClearBrush&) = delete;
  TClearBrush& operator=(const TClearBrush&) = delete;

 private:
  TBrush* FBrush;
  TColor FColor;
  TBrushStyle FStyle;
};

// Keeps the pen style, clears the pen for a fill, and puts it back.
class TClearPen {
 public:
  explicit TClearPen(TCanvas* ACanvas) : FPen(ACanvas->Pen()), FStyle(FPen->Style()) { FPen->SetStyle(psClear); }
  ~TClearPen() { FPen->SetStyle(FStyle); }
  TClearPen(const TClearPen&) = delete;
  TClearPen& operator=(const TClearPen&) = delete;

 private:
  TPen* FPen;
  TPenStyle FStyle;
};

TPenStyle PenStyleOf(TAdvGraphicsStrokeKind AKind) {
  switch (AKind) {
    case gskNone: return psClear;
    case gskSolid: return psSolid;
    case gskDash: return psDash;
    case gskDot: return psDot;
    case gskDashDot: return psDashDot;
    case gskDashDotDot: return psDashDotDot;
  }
  return psSolid;
}

}  // namespace

TColor TAdvGraphicsContextGeneral::GetFillColor() {
  TCanvas* c = Canvas();
  return c ? c->Brush()->Color() : gcNull;
}

// --- path commands, state and clipping ----------------------------------------

void TAdvGraphicsContextGeneral::PathMoveTo(TAdvGraphicsNativePath*, const TPointF& APoint) {
  if (TCanvas* c = Canvas()) c->MoveTo(R(APoint.X), R(APoint.Y));
}

void TAdvGraphicsContextGeneral::PathLineTo(TAdvGraphicsNativePath*, const TPointF& APoint) {
  if (TCanvas* c = Canvas()) c->LineTo(R(APoint.X), R(APoint.Y));
}

void TAdvGraphicsContextGeneral::PathClose(TAdvGraphicsNativePath*) {
  if (TCanvas* c = Canvas()) CloseFigure(c->Handle());
}

void TAdvGraphicsContextGeneral::SaveState(TAdvGraphicsSaveState* AState) {
  TCanvas* c = Canvas();
  if (!c || !AState) return;
  c->Refresh();
  AState->SetSaveDC(::SaveDC(c->Handle()));
}

void TAdvGraphicsContextGeneral::RestoreState(TAdvGraphicsSaveState* AState) {
  TCanvas* c = Canvas();
  if (!c || !AState) return;
  ::RestoreDC(c->Handle(), AState->SaveDC());
  AState->SetSaveDC(0);
  c->Refresh();
}

void TAdvGraphicsContextGeneral::ClipRect(const TRectF& ARect) {
  TCanvas* c = Canvas();
  if (!c) return;
  const TRect r = RoundRect(ARect);
  IntersectClipRect(c->Handle(), r.Left, r.Top, r.Right, r.Bottom);
}

void TAdvGraphicsContextGeneral::ClipPath(TAdvGraphicsPath* APath) {
  if (APath) ClipRect(APath->GetBounds());
}

// --- pen, brush and font ------------------------------------------------------------

void TAdvGraphicsContextGeneral::StartSpecialPen() {
  TCanvas* c = Canvas();
  if (!c) return;
  TPen* pen = c->Pen();
  if (FPrinting) {
    FOldPenStyle = pen->Style();
    FOldPenWidth = pen->Width();
    pen->SetStyle(psDot);
    pen->SetWidth(1);
    return;
  }
  // The canvas selects its own tools first, so that the next outline keeps
  // the special pen instead of selecting the canvas pen over it.
  c->Polyline({});
  LOGBRUSH lb{BS_SOLID, COLORREF(ColorToRGB(pen->Color())) & 0xFFFFFF, 0};
  FSpecialPen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
  FOldPenHandle = SelectObject(c->Handle(), FSpecialPen);
}

void TAdvGraphicsContextGeneral::StopSpecialPen() {
  TCanvas* c = Canvas();
  if (!c) return;
  if (FPrinting) {
    c->Pen()->SetStyle(FOldPenStyle);
    c->Pen()->SetWidth(FOldPenWidth);
    return;
  }
  if (!FSpecialPen) return;
  SelectObject(c->Handle(), FOldPenHandle);
  DeleteObject(FSpecialPen);
  FSpecialPen = nullptr;
  FOldPenHandle = nullptr;
}

void TAdvGraphicsContextGeneral::SetFontSize(Integer ASize) {
  if (TCanvas* c = Canvas()) c->Font()->SetSize(ASize);
}
void TAdvGraphicsContextGeneral::SetFontColor(TColor AColor) {
  if (TCanvas* c = Canvas()) c->Font()->SetColor(AColor);
}
void TAdvGraphicsContextGeneral::SetFontName(const String& AName) {
  if (TCanvas* c = Canvas()) c->Font()->SetName(AName);
}
void TAdvGraphicsContextGeneral::SetFont(TAdvGraphicsFont* AFont) {
  if (TCanvas* c = Canvas(); c && AFont) c->Font()->Assign(AFont);
}
void TAdvGraphicsContextGeneral::SetFontStyles(TFontStyles AStyle) {
  if (TCanvas* c = Canvas()) c->Font()->SetStyle(AStyle);
}

void TAdvGraphicsContextGeneral::SetFill(TAdvGraphicsFill* AFill) {
  if (!AFill) return;
  SetFillColor(AFill->Color());
  SetFillKind(AFill->Kind());
}

void TAdvGraphicsContextGeneral::SetFillKind(TAdvGraphicsFillKind AKind) {
  TCanvas* c = Canvas();
  if (!c) return;
  switch (AKind) {
    case gfkNone: c->Brush()->SetStyle(bsClear); break;
    case gfkSolid:
    case gfkGradient: c->Brush()->SetStyle(bsSolid); break;
    case gfkTexture: break;
  }
}

void TAdvGraphicsContextGeneral::SetFillColor(TColor AColor) {
  if (TCanvas* c = Canvas()) c->Brush()->SetColor(AColor);
}

void TAdvGraphicsContextGeneral::SetStroke(TAdvGraphicsStroke* AStroke) {
  if (!AStroke) return;
  SetStrokeColor(AStroke->Color());
  SetStrokeWidth(AStroke->Width());
  SetStrokeKind(AStroke->Kind());
}

void TAdvGraphicsContextGeneral::SetStrokeKind(TAdvGraphicsStrokeKind AKind) {
  if (TCanvas* c = Canvas()) c->Pen()->SetStyle(PenStyleOf(AKind));
}
void TAdvGraphicsContextGeneral::SetStrokeColor(TColor AColor) {
  if (TCanvas* c = Canvas()) c->Pen()->SetColor(AColor);
}
void TAdvGraphicsContextGeneral::SetStrokeWidth(Single AWidth) {
  if (TCanvas* c = Canvas()) c->Pen()->SetWidth(R(AWidth));
}

// --- outlines -------------------------------------------------------------------------

void TAdvGraphicsContextGeneral::DrawLine(TAdvGraphicsStroke*, const TPointF& AFromPoint, const TPointF& AToPoint,
                                          TAdvGraphicsModifyPointMode, TAdvGraphicsModifyPointMode) {
  TCanvas* c = Canvas();
  if (!c) return;
  c->MoveTo(R(AFromPoint.X), R(AFromPoint.Y));
  c->LineTo(R(AToPoint.X), R(AToPoint.Y));
}

void TAdvGraphicsContextGeneral::DrawPolygon(TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& APolygon) {
  TCanvas* c = Canvas();
  if (!c) return;
  TClearBrush brush(c);
  c->Polygon(RoundPoints(APolygon));
}

void TAdvGraphicsContextGeneral::DrawPolyline(TAdvGraphicsStroke*, const TAdvGraphicsPathPolygon& APolyline) {
  TCanvas* c = Canvas();
  if (!c) return;
  c->Polyline(RoundPoints(APolyline));
}

void TAdvGraphicsContextGeneral::DrawEllipse(TAdvGraphicsStroke*, const TRectF& ARect, TAdvGraphicsModifyRectMode) {
  TCanvas* c = Canvas();
  if (!c) return;
  TClearBrush brush(c);
  c->Ellipse(RoundRect(ARect));
}

void TAdvGraphicsContextGeneral::DrawRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TAdvGraphicsSides ASides,
                                          TAdvGraphicsModifyRectMode) {
  if (!Canvas()) return;
  const TRect r = RoundRect(ARect);
  const Single L = Single(r.Left), T = Single(r.Top), R1 = Single(r.Right - 1), B = Single(r.Bottom),
               B1 = Single(r.Bottom - 1);
  if (ASides.Contains(gsTop)) DrawLine(AStroke, {L, T}, {R1, T});
  if (ASides.Contains(gsLeft)) DrawLine(AStroke, {L, T}, {L, B1});
  if (ASides.Contains(gsBottom)) DrawLine(AStroke, {L, B1}, {R1, B1});
  if (ASides.Contains(gsRight)) DrawLine(AStroke, {R1, T}, {R1, B});
}

void TAdvGraphicsContextGeneral::DrawArc(TAdvGraphicsStroke*, const TPointF& ACenter, const TPointF& ARadius,
                                         Single AStartAngle, Single ASweepAngle) {
  TCanvas* c = Canvas();
  if (!c) return;
  const double t1 = Radians(-(double(AStartAngle) + ASweepAngle)), t2 = Radians(-double(AStartAngle));
  const Single cx = ACenter.X, cy = ACenter.Y, rx = ARadius.X, ry = ARadius.Y;
  c->Arc(F(cx - rx), F(cy - ry), F(cx + rx), F(cy + ry), F(Single(cx + rx * std::cos(t1))),
         F(Single(cy - ry * std::sin(t1))), F(Single(cx + rx * std::cos(t2))), F(Single(cy - ry * std::sin(t2))));
}

void TAdvGraphicsContextGeneral::CanvasArc(const TPoint& ACenter, const TPoint& ARadius, Single AStartAngle,
                                           Single ASweepAngle) {
  TCanvas* c = Canvas();
  const double t1 = Radians(-(double(AStartAngle) + ASweepAngle)), t2 = Radians(-double(AStartAngle));
  const Integer cx = ACenter.X, cy = ACenter.Y, rx = ARadius.X, ry = ARadius.Y;
  c->Arc(cx - rx, cy - ry, cx + rx, cy + ry, cx + Integer(Round(rx * std::cos(t1))),
         cy - Integer(Round(ry * std::sin(t1))), cx + Integer(Round(rx * std::cos(t2))),
         cy - Integer(Round(ry * std::sin(t2))));
}

void TAdvGraphicsContextGeneral::DrawRoundRect(TAdvGraphicsStroke*, const TRectF& ARect, Single ARounding,
                                               TAdvGraphicsCorners ACorners, TAdvGraphicsModifyRectMode) {
  TCanvas* c = Canvas();
  if (!c) return;
  const Integer r = R(ARounding);
  const TRect rc = RoundRect(ARect);
  TClearBrush brush(c);
  if (ACorners == AllGraphicsCorners) {
    c->RoundRect(rc, 2 * r, 2 * r);
    return;
  }
  if (ACorners.Empty()) {
    c->Rectangle(rc);
    return;
  }
  const Integer L = rc.Left, T = rc.Top, R1 = rc.Right - 1, B1 = rc.Bottom - 1, e = r - 1;
  const TPoint radius{e, e};
  if (ACorners.Contains(gcBottomLeft)) {
    c->MoveTo(L + e, B1);
    CanvasArc({L + e, B1 - e}, radius, -270, 90);
    c->MoveTo(L, B1 - e);
  } else {
    c->MoveTo(L, B1);
  }
  if (ACorners.Contains(gcTopLeft)) {
    c->LineTo(L, T + e - 2);
    CanvasArc({L + e, T + e}, radius, -180, 90);
    c->MoveTo(L + e, T);
  } else {
    c->LineTo(L, T);
  }
  if (ACorners.Contains(gcTopRight)) {
    c->LineTo(R1 - e, T);
    CanvasArc({R1 - e, T + e}, radius, -90, 90);
    c->MoveTo(R1, T + e);
  } else {
    c->LineTo(R1, T);
  }
  if (ACorners.Contains(gcBottomRight)) {
    c->LineTo(R1, B1 - e + 1);
    CanvasArc({R1 - e, B1 - e + 1}, radius, 0, 90);
    c->MoveTo(R1 - e, B1);
  } else {
    c->LineTo(R1, B1);
  }
  c->LineTo(ACorners.Contains(gcBottomLeft) ? L + e - 2 : L, B1);
}

void TAdvGraphicsContextGeneral::DrawPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath,
                                          TAdvGraphicsPathDrawMode APathMode) {
  TCanvas* c = Canvas();
  if (!c || !APath) return;
  if (APathMode == pdmPath) {
    HDC dc = c->Handle();
    BeginPath(dc);
    ConvertToPath(APath, 0.25f);
    EndPath(dc);
    c->Polyline({});  // the canvas pen, selected for StrokePath
    StrokePath(dc);
    AbortPath(dc);
    return;
  }
  TAdvGraphicsPathPolygon polygon;
  APath->FlattenToPolygon(polygon, 0.25f);
  if (APathMode == pdmPolygon)
    DrawPolygon(AStroke, polygon);
  else
    DrawPolyline(AStroke, polygon);
}

void TAdvGraphicsContextGeneral::DrawFocusPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath, TColor AColor) {
  TCanvas* c = Canvas();
  if (!c) return;
  TClearBrush brush(c);
  c->Pen()->SetColor(AColor);
  StartSpecialPen();
  DrawPath(AStroke, APath, pdmPolygon);
  StopSpecialPen();
}

void TAdvGraphicsContextGeneral::DrawFocusRectangle(TAdvGraphicsStroke*, const TRectF& ARect, TColor AColor,
                                                    TAdvGraphicsModifyRectMode) {
  TCanvas* c = Canvas();
  if (!c) return;
  TClearBrush brush(c);
  c->Pen()->SetColor(AColor);
  StartSpecialPen();
  c->Rectangle(RoundRect(ARect));
  StopSpecialPen();
}

// --- fills ----------------------------------------------------------------------------

void TAdvGraphicsContextGeneral::FillPolygon(TAdvGraphicsFill*, const TAdvGraphicsPathPolygon& APolygon) {
  TCanvas* c = Canvas();
  if (!c) return;
  TClearPen pen(c);
  c->Polygon(RoundPoints(APolygon));
}

void TAdvGraphicsContextGeneral::FillPolyline(TAdvGraphicsFill* AFill, const TAdvGraphicsPathPolygon& APolyline) {
  // An open polyline's area is the polygon it would close to.
  FillPolygon(AFill, APolyline);
}

void TAdvGraphicsContextGeneral::FillArc(TAdvGraphicsFill*, const TPointF& ACenter, const TPointF& ARadius,
                                         Single AStartAngle, Single ASweepAngle) {
  TCanvas* c = Canvas();
  if (!c) return;
  TClearPen pen(c);
  const double t1 = Radians(-(double(AStartAngle) + ASweepAngle)), t2 = Radians(-double(AStartAngle));
  const Single cx = ACenter.X, cy = ACenter.Y, rx = ARadius.X, ry = ARadius.Y;
  c->Chord(F(cx - rx), F(cy - ry), F(cx + rx), F(cy + ry), F(Single(cx + rx * std::cos(t1))),
           F(Single(cy - ry * std::sin(t1))), F(Single(cx + rx * std::cos(t2))), F(Single(cy - ry * std::sin(t2))));
}

void TAdvGraphicsContextGeneral::FillEllipse(TAdvGraphicsFill*, const TRectF& ARect, TAdvGraphicsModifyRectMode) {
  TCanvas* c = Canvas();
  if (!c) return;
  TClearPen pen(c);
  c->Ellipse(RoundRect(ARect));
}

void TAdvGraphicsContextGeneral::FillPath(TAdvGraphicsFill* AFill, TAdvGraphicsPath* APath,
                                          TAdvGraphicsPathDrawMode APathMode) {
  TCanvas* c = Canvas();
  if (!c || !APath) return;
  if (APathMode == pdmPath) {
    HDC dc = c->Handle();
    BeginPath(dc);
    ConvertToPath(APath, 0.25f);
    EndPath(dc);
    c->Polyline({});  // the canvas brush, selected for FillPath
    ::FillPath(dc);
    AbortPath(dc);
    return;
  }
  TAdvGraphicsPathPolygon polygon;
  APath->FlattenToPolygon(polygon, 0.25f);
  if (APathMode == pdmPolygon)
    FillPolygon(AFill, polygon);
  else
    FillPolyline(AFill, polygon);
}

namespace {
bool HasMirror(const TAdvGraphicsFill* AFill) {
  return AFill->ColorMirror() != gcNull && AFill->ColorMirrorTo() != gcNull;
}
}  // namespace

void TAdvGraphicsContextGeneral::FillRect(TAdvGraphicsFill* AFill, const TRectF& ARect, TAdvGraphicsModifyRectMode) {
  TCanvas* c = Canvas();
  if (!c || !AFill) return;
  const TRect r = RoundRect(ARect);
  if (AFill->Kind() == gfkSolid && AFill->Color() != gcNull) {
    TClearPen pen(c);
    c->Rectangle(r);
    return;
  }
  if (AFill->Kind() != gfkGradient || AFill->Color() == gcNull || AFill->ColorTo() == gcNull) return;
  TBrush* brush = c->Brush();
  const TColor brushColor = brush->Color();
  const TBrushStyle brushStyle = brush->Style();
  const TAdvGraphicsFillOrientation o = AFill->Orientation();
  if (!HasMirror(AFill)) {
    GDIGradientFill(c, AFill->Color(), AFill->ColorTo(), o == gfoHorizontal, {}, 0, r);
  } else if (o == gfoHorizontal) {
    const Integer mid = r.Left + (r.Right - r.Left) / 2;
    GDIGradientFill(c, AFill->Color(), AFill->ColorTo(), true, {}, 0, {r.Left, r.Top, mid, r.Bottom});
    GDIGradientFill(c, AFill->ColorMirror(), AFill->ColorMirrorTo(), true, {}, 0, {mid, r.Top, r.Right, r.Bottom});
  } else if (o == gfoVertical) {
    const Integer mid = r.Top + (r.Bottom - r.Top) / 2;
    GDIGradientFill(c, AFill->Color(), AFill->ColorTo(), false, {}, 0, {r.Left, r.Top, r.Right, mid});
    GDIGradientFill(c, AFill->ColorMirror(), AFill->ColorMirrorTo(), false, {}, 0, {r.Left, mid, r.Right, r.Bottom});
  }
  brush->SetColor(brushColor);
  brush->SetStyle(brushStyle);
}

void TAdvGraphicsContextGeneral::FillRoundRect(TAdvGraphicsFill* AFill, const TRectF& ARect, Single ARounding,
                                               TAdvGraphicsCorners ACorners, TAdvGraphicsModifyRectMode) {
  TCanvas* c = Canvas();
  if (!c || !AFill) return;
  const TRect r = RoundRect(ARect);
  const TAdvGraphicsFillOrientation o = AFill->Orientation();
  if (AFill->Kind() == gfkSolid && AFill->Color() != gcNull) {
    GDIGradientFill(c, AFill->Color(), AFill->Color(), o == gfoHorizontal, ACorners, ARounding, r);
    return;
  }
  if (AFill->Kind() != gfkGradient || AFill->Color() == gcNull || AFill->ColorTo() == gcNull) return;
  const Integer L = r.Left, T = r.Top, R1 = r.Right - 1, B1 = r.Bottom - 1;
  if (!HasMirror(AFill)) {
    GDIGradientFill(c, AFill->Color(), AFill->ColorTo(), o == gfoHorizontal, ACorners, ARounding, {L, T, R1, B1});
  } else if (o == gfoHorizontal) {
    const Integer mid = L + (R1 - L) / 2;
    GDIGradientFill(c, AFill->Color(), AFill->ColorTo(), true, ACorners * TAdvGraphicsCorners{gcTopLeft, gcBottomLeft},
                    ARounding, {L, T, mid, B1});
    GDIGradientFill(c, AFill->ColorMirror(), AFill->ColorMirrorTo(), true,
                    ACorners * TAdvGraphicsCorners{gcTopRight, gcBottomRight}, ARounding, {mid, T, R1, B1});
  } else if (o == gfoVertical) {
    const Integer mid = T + (B1 - T) / 2;
    GDIGradientFill(c, AFill->Color(), AFill->ColorTo(), false, ACorners * TAdvGraphicsCorners{gcTopLeft, gcTopRight},
                    ARounding, {L, T, R1, mid});
    GDIGradientFill(c, AFill->ColorMirror(), AFill->ColorMirrorTo(), false,
                    ACorners * TAdvGraphicsCorners{gcBottomLeft, gcBottomRight}, ARounding, {L, mid, R1, B1});
  }
}

// --- pictures and text ------------------------------------------------------------------

void TAdvGraphicsContextGeneral::DrawBitmap(TGraphic* ABitmap, const TRectF&, const TRectF& ADstRect, Single) {
  TCanvas* c = Canvas();
  if (!c || !ABitmap) return;
  const Integer l = R(ADstRect.Left), t = R(ADstRect.Top);
  c->StretchDraw(Bounds(l, t, R(ADstRect.Right - ADstRect.Left), R(ADstRect.Bottom - ADstRect.Top)), ABitmap);
}

TRectF TAdvGraphicsContextGeneral::CalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping) {
  TCanvas* c = Canvas();
  if (!c) return {};
  TRect r = RoundRect(ARect);
  String text = AText;
  TTextFormat format = tfCalcRect | (AWordWrapping ? tfWordBreak : tfSingleLine);
  if (!FShowAcceleratorChar) format |= tfNoPrefix;
  c->TextRect(r, text, format);
  return {Single(r.Left), Single(r.Top), Single(r.Right), Single(r.Bottom)};
}

void TAdvGraphicsContextGeneral::DrawText(const String& AText, const TRectF& ARect, bool AWordWrapping,
                                          TAdvGraphicsTextAlign AHorizontalAlign, TAdvGraphicsTextAlign AVerticalAlign,
                                          TAdvGraphicsTextTrimming ATrimming, Single AAngle) {
  TCanvas* c = Canvas();
  if (!c) return;
  TBrush* brush = c->Brush();
  const TColor brushColor = brush->Color();
  const TBrushStyle brushStyle = brush->Style();
  brush->SetStyle(bsClear);

  TRect r = RoundRect(ARect);
  TTextFormat format = AWordWrapping ? tfWordBreak : tfSingleLine;
  if (!FShowAcceleratorChar) format |= tfNoPrefix;
  switch (AHorizontalAlign) {
    case gtaCenter: format |= tfCenter; break;
    case gtaLeading: format |= tfLeft; break;
    case gtaTrailing: format |= tfRight; break;
  }
  switch (AVerticalAlign) {
    case gtaCenter: format |= tfVerticalCenter; break;
    case gtaLeading: format |= tfTop; break;
    case gtaTrailing: format |= tfBottom; break;
  }
  if (ATrimming == gttCharacter) format |= tfEndEllipsis;
  if (ATrimming == gttWord) format |= tfWordEllipsis;
  if (AWordWrapping) {
    // DrawText centres only single lines vertically: wrapped text is placed by hand.
    const TRectF calc = CalculateText(AText, ARect, true);
    const Integer h = R(calc.Bottom - calc.Top);
    if (AVerticalAlign == gtaCenter) {
      r.Top = r.Top + std::max<Integer>(0, (r.Bottom - r.Top - h) / 2);
      r.Bottom = std::max<Integer>(0, std::min<Integer>(R(ARect.Bottom), r.Top + h));
    } else if (AVerticalAlign == gtaTrailing) {
      r.Top = r.Bottom - h;
    }
  }
  if (AAngle != 0) {
    DrawRotatedText(c, r, AVerticalAlign, AHorizontalAlign, AAngle, AText);
  } else {
    String text = AText;
    c->TextRect(r, text, format);
  }
  brush->SetColor(brushColor);
  brush->SetStyle(brushStyle);
}

void DrawRotatedText(TCanvas* ACanvas, const TRect& ARect, TAdvGraphicsTextAlign AVerticalAlign,
                     TAdvGraphicsTextAlign AHorizontalAlign, Single AAngle, const String& AText) {
  if (!ACanvas) return;
  TFont* font = ACanvas->Font();
  const Integer oldOrientation = font->Orientation();
  font->SetOrientation(Integer(Round(-10.0 * AAngle)));
  const double tw = ACanvas->TextWidth(AText), th = ACanvas->TextHeight(AText);
  const double L = ARect.Left, T = ARect.Top, W = ARect.Right - ARect.Left, H = ARect.Bottom - ARect.Top;
  double x = L, y = T;
  if (AAngle < 0) {
    switch (AHorizontalAlign) {
      case gtaCenter: y = T + (H - tw) / 2 + tw; break;
      case gtaLeading: y = T + H; break;
      case gtaTrailing: y = T + tw; break;
    }
    switch (AVerticalAlign) {
      case gtaCenter: x = L + W / 2 - th / 2; break;
      case gtaLeading: x = L; break;
      case gtaTrailing: x = L + W - th; break;
    }
  } else {
    switch (AHorizontalAlign) {
      case gtaCenter: y = T + (H - tw) / 2; break;
      case gtaLeading: y = T; break;
      case gtaTrailing: y = T + H - tw; break;
    }
    switch (AVerticalAlign) {
      case gtaCenter: x = L + W / 2 + th / 2; break;
      case gtaLeading: x = L + W; break;
      case gtaTrailing: x = L + th; break;
    }
  }
  ACanvas->TextOut(Integer(Round(x)), Integer(Round(y)), AText);
  font->SetOrientation(oldOrientation);
}
