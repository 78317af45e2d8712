#include "platform/vcl/GraphicsObjects.h"

#include <cmath>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/Bitmap.h"

Integer MulDiv(Integer a, Integer b, Integer c) {
  if (c == 0) return -1;
  Int64 p = Int64(a) * b;
  bool negative = (p < 0) != (c < 0);
  Int64 ap = p < 0 ? -p : p, ac = c < 0 ? -Int64(c) : Int64(c);
  Int64 q = (ap + ac / 2) / ac;
  return Integer(negative ? -q : q);
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TFont ----------------------------------------------------------------

TFont::TFont() : FPixelsPerInch(gdi_internal::ScreenPixelsPerInch()) {}

TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle() {
  if (FHandle && FOwnsHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FOwnsHandle = false;
}

namespace {
// The font whose colour is changing: its Changed keeps the handle.
thread_local const TFont* ColorChangeOf = nullptr;
}  // namespace

void TFont::Changed() {
  // Only the call made for the colour keeps the handle, not changes made
  // by the handlers it reaches.
  const bool colorOnly = ColorChangeOf == this;
  ColorChangeOf = nullptr;
  if (!colorOnly) FreeHandle();
  TGraphicsObject::Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    FName = f->FName;
    FHeight = f->FHeight;
    if (f->FPixelsPerInch != FPixelsPerInch) FHeight = -MulDiv(f->Size(), FPixelsPerInch, 72);
    FStyle = f->FStyle;
    FColor = f->FColor;
    FCharset = f->FCharset;
    FOrientation = f->FOrientation;
    FPitch = f->FPitch;
    FQuality = f->FQuality;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW lf;
    lf.lfHeight = FHeight;
    lf.lfEscapement = lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfQuality = Byte(FQuality == fqClearTypeNatural ? 6 : int(FQuality));
    lf.lfPitchAndFamily = Byte(FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH);
    size_t n = std::min<size_t>(FName.size(), LF_FACESIZE - 1);
    std::copy(FName.begin(), FName.begin() + std::ptrdiff_t(n), lf.lfFaceName);
    FHandle = CreateFontIndirectW(&lf);
    FOwnsHandle = true;
  }
  return FHandle;
}

void TFont::SetHandle(HFONT value) {
  LOGFONTW lf;
  if (!GetObjectW(value, sizeof(lf), &lf)) return;
  FreeHandle();
  FHandle = value;
  FOwnsHandle = true;
  FHeight = lf.lfHeight;
  FOrientation = lf.lfEscapement;
  FStyle = {};
  if (lf.lfWeight >= FW_SEMIBOLD) FStyle.Include(fsBold);
  if (lf.lfItalic) FStyle.Include(fsItalic);
  if (lf.lfUnderline) FStyle.Include(fsUnderline);
  if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
  FCharset = lf.lfCharSet;
  FName = String(lf.lfFaceName);
  TGraphicsObject::Changed();
}

void TFont::SetName(const String& value) {
  if (value.empty() || value == FName) return;
  FName = value;
  Changed();
}

Integer TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(Integer value) { SetHeight(-MulDiv(value, FPixelsPerInch, 72)); }

void TFont::SetHeight(Integer value) {
  if (value == FHeight) return;
  FHeight = value;
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  // The colour is not part of the GDI font: the handle stays, but a
  // subclass's own change handling still hears of it.
  struct TRestore {
    const TFont* Saved;
    ~TRestore() { ColorChangeOf = Saved; }
  } restore{ColorChangeOf};
  ColorChangeOf = this;
  Changed();
}

void TFont::SetCharset(TFontCharset value) {
  if (value == FCharset) return;
  FCharset = value;
  Changed();
}

void TFont::SetOrientation(Integer value) {
  if (value == FOrientation) return;
  FOrientation = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == FPitch) return;
  FPitch = value;
  Changed();
}

void TFont::SetQuality(TFontQuality value) {
  if (value == FQuality) return;
  FQuality = value;
  Changed();
}

void TFont::SetPixelsPerInch(Integer value) {
  if (value > 0) FPixelsPerInch = value;
}

// ---- TPen -----------------------------------------------------------------

int PenModeToRop2(TPenMode mode) {
  static const int table[] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
  return table[int(mode) & 15];
}

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TPen::Changed() {
  FreeHandle();
  TGraphicsObject::Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    if (p == this) return;
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HPEN TPen::Handle() {
  if (!FHandle) {
    COLORREF c = COLORREF(ColorToRGB(FColor)) & 0xFFFFFF;
    if (FStyle == psAlternate) {
      LOGBRUSH lb{BS_SOLID, c, 0};
      FHandle = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
    } else {
      FHandle = CreatePen(FStyle == psUserStyle ? PS_SOLID : int(FStyle), FWidth, c);
    }
  }
  return FHandle;
}

void TPen::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed();
}

void TPen::SetWidth(Integer value) {
  if (value == FWidth || value < 0) return;
  FWidth = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TPen::SetMode(TPenMode value) {
  if (value == FMode) return;
  FMode = value;
  TGraphicsObject::Changed();
}

// ---- TBrush ---------------------------------------------------------------

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TBrush::Changed() {
  FreeHandle();
  TGraphicsObject::Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    if (b == this) return;
    FColor = b->FColor;
    FStyle = b->FStyle;
    FBitmap = b->FBitmap;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    COLORREF c = COLORREF(ColorToRGB(FColor)) & 0xFFFFFF;
    if (FBitmap && !FBitmap->Empty()) FHandle = CreatePatternBrush(FBitmap->Handle());
    else if (FStyle == bsSolid) FHandle = CreateSolidBrush(c);
    else if (FStyle == bsClear) FHandle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else FHandle = CreateHatchBrush(int(FStyle) - int(bsHorizontal), c);
  }
  return FHandle;
}

void TBrush::SetColor(TColor value) {
  if (value == FColor && FStyle != bsClear) return;
  FColor = value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* value) {
  FBitmap = value;
  Changed();
}
