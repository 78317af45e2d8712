#include "platform/vcl/Canvas.h"

#include "platform/vcl/Graphic.h"

TCanvas::TCanvas() : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = [this](TObject*) { FState &= ~csFontValid; };
  FPen->OnChange = [this](TObject*) { FState &= ~csPenValid; };
  FBrush->OnChange = [this](TObject*) { FState &= ~csBrushValid; };
}

TCanvas::~TCanvas() {
  // The tools go away with the canvas: the DC must not keep them selected.
  if (FHandle) DeselectHandles();
}

HDC TCanvas::Handle() {
  // Calls made straight on the DC (DrawText, a label's caption) draw with the
  // canvas's font, pen and brush, as drawing through the canvas does.
  RequiredState(csHandleValid | csFontValid | csPenValid | csBrushValid);
  return FHandle;
}

void TCanvas::SetHandle(HDC value) {
  if (FHandle == value) return;
  if (FHandle) DeselectHandles();
  FHandle = value;
  FState = value ? unsigned(csHandleValid) : 0u;
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState & (csPenValid | csBrushValid | csFontValid)) {
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
    SelectObject(FHandle, GetStockObject(WHITE_BRUSH));
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  }
  FState &= ~unsigned(csPenValid | csBrushValid | csFontValid);
}

void TCanvas::RequiredState(unsigned state) {
  unsigned missing = state & ~FState;
  if (!missing) return;
  if (missing & csHandleValid) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation(u"Canvas does not allow drawing");
    FState |= csHandleValid;
  }
  if (missing & csFontValid) {
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, COLORREF(ColorToRGB(FFont->Color())) & 0xFFFFFF);
    FState |= csFontValid;
  }
  if (missing & csPenValid) {
    SelectObject(FHandle, FPen->Handle());
    SetROP2(FHandle, PenModeToRop2(FPen->Mode()));
    FState |= csPenValid;
  }
  if (missing & csBrushValid) {
    SelectObject(FHandle, FBrush->Handle());
    COLORREF c = COLORREF(ColorToRGB(FBrush->Color())) & 0xFFFFFF;
    if (FBrush->Style() == bsSolid) {
      SetBkColor(FHandle, c);
      SetBkMode(FHandle, OPAQUE);
    } else {
      SetBkColor(FHandle, ~c & 0xFFFFFF);
      SetBkMode(FHandle, TRANSPARENT);
    }
    FState |= csBrushValid;
  }
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT r{};
  GetClipBox(FHandle, &r);
  return r;
}

TColor TCanvas::Pixels(Integer x, Integer y) {
  RequiredState(csHandleValid);
  COLORREF c = GetPixel(FHandle, x, y);
  return c == CLR_INVALID ? TColor(-1) : TColor(c);
}

void TCanvas::SetPixels(Integer x, Integer y, TColor value) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  SetPixel(FHandle, x, y, COLORREF(ColorToRGB(value)) & 0xFFFFFF);
  Changed();
}

namespace {
constexpr unsigned kShape = 1 | 4 | 8;  // handle, pen, brush
}

void TCanvas::Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  ::Arc(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Chord(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) {
  Changing();
  RequiredState(kShape);
  ::Chord(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Pie(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) {
  Changing();
  RequiredState(kShape);
  ::Pie(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Ellipse(Integer x1, Integer y1, Integer x2, Integer y2) {
  Changing();
  RequiredState(kShape);
  ::Ellipse(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::DrawFocusRect(FHandle, &r);
  Changed();
}

void TCanvas::LineTo(Integer x, Integer y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, x, y);
  Changed();
}

void TCanvas::MoveTo(Integer x, Integer y) {
  RequiredState(csHandleValid);
  ::MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  Changing();
  RequiredState(kShape);
  ::Polygon(FHandle, points.data(), int(points.size()));
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polyline(FHandle, points.data(), int(points.size()));
  Changed();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::PolyBezier(FHandle, points.data(), DWORD(points.size()));
  Changed();
}

void TCanvas::Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) {
  Changing();
  RequiredState(kShape);
  ::Rectangle(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3) {
  Changing();
  RequiredState(kShape);
  ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
  Changed();
}

void TCanvas::TextOut(Integer x, Integer y, const String& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ExtTextOutW(FHandle, x, y, UINT(FTextFlags), nullptr, text.data(), UINT(text.size()), nullptr);
  ::MoveToEx(FHandle, x + TextWidth(text), y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& r, Integer x, Integer y, const String& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED | UINT(FTextFlags);
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutW(FHandle, x, y, options, &r, text.data(), UINT(text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(TRect& r, String& text, TTextFormat format) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  DrawTextW(FHandle, text.data(), int(text.size()), &r, format & ~UINT(DT_MODIFYSTRING));
  Changed();
}

TSize TCanvas::TextExtent(const String& text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE s{};
  GetTextExtentPoint32W(FHandle, text.data(), int(text.size()), &s);
  return s;
}

void TCanvas::Draw(Integer x, Integer y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush->Color())) & 0xFFFFFF);
  SetTextColor(FHandle, COLORREF(ColorToRGB(FFont->Color())) & 0xFFFFFF);
  graphic->Draw(this, Rect(x, y, x + graphic->Width(), y + graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
  if (!canvas) return;
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  HDC src = canvas->Handle();
  StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), src, source.Left, source.Top, source.Width(),
             source.Height(), DWORD(FCopyMode));
  Changed();
}

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}

bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}

void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, Integer width) {
  if (!canvas) return;
  canvas->Pen()->SetWidth(1);
  --r.Bottom;
  --r.Right;
  while (width > 0) {
    --width;
    TPoint topRight{r.Right, r.Top}, bottomLeft{r.Left, r.Bottom};
    canvas->Pen()->SetColor(topColor);
    canvas->Polyline({bottomLeft, r.TopLeft(), topRight});
    canvas->Pen()->SetColor(bottomColor);
    --bottomLeft.X;
    canvas->Polyline({topRight, r.BottomRight(), bottomLeft});
    InflateRect(&r, -1, -1);
  }
  ++r.Bottom;
  ++r.Right;
}
