#pragma once
// Inside view of the GDI layer, for platform/ code only (the controls'
// window backing images, the GDI+ flat API, the picture classes). Includes Qt;
// never include it from a public header or from subsystem code.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace gdi_internal {

// Largest width or height of any surface or decoded picture: hostile sizes
// are refused instead of allocated.
constexpr int kMaxDimension = 16384;
bool SizeAllowed(Int64 w, Int64 h);

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline QRgb ToQRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQRgb(QRgb c) { return RGB(Byte(qRed(c)), Byte(qGreen(c)), Byte(qBlue(c))); }

struct TGdiPen : HPEN__ {
  UINT Style = PS_SOLID;  // PS_* incl. type, caps and joins
  int Width = 1;
  COLORREF Color = 0;
  bool DCPen = false;  // the DC_PEN stock pen: colour comes from the DC
  UINT Kind() const { return Style & PS_STYLE_MASK; }
  bool Cosmetic() const { return (Style & PS_TYPE_MASK) == PS_COSMETIC || Width <= 1; }
};

struct TGdiBrush : HBRUSH__ {
  UINT Style = BS_SOLID;
  COLORREF Color = 0;
  int Hatch = 0;
  QImage Pattern;  // BS_PATTERN
  bool DCBrush = false;
};

struct TGdiFont : HFONT__ {
  LOGFONTW Log;
  // Built on first use (needs the GUI application for the font database).
  bool Ready = false;
  QFont Font;
  std::unique_ptr<QFontMetrics> Metrics;
  int Ascent = 0, Descent = 0, EmHeight = 0, ExternalLeading = 0, AveWidth = 0, MaxWidth = 0;
  // false when no GUI application exists yet (no font database).
  bool Prepare();
  int Advance(const QString& text);
};

struct TGdiBitmap : HBITMAP__ {
  QImage Image;        // RGB32, ARGB32_Premultiplied (32-bit DIB) or BGR888 (24-bit)
  int BitCount = 32;   // the format the bitmap was asked for
  bool DibSection = false;
  HDC SelectedIn = nullptr;
};

struct TGdiRegion : HRGN__ {
  QRegion Region;
};

struct TGdiIcon {
  QImage Image;  // ARGB32_Premultiplied, mask already applied as alpha
};

// The handle tables. Lookup answers nullptr for a stale, foreign or
// wrongly-typed handle.
std::shared_ptr<HGDIOBJ__> LookupObject(HGDIOBJ h);
template <class T>
std::shared_ptr<T> Lookup(HGDIOBJ h) {
  return std::dynamic_pointer_cast<T>(LookupObject(h));
}
HGDIOBJ Register(std::shared_ptr<HGDIOBJ__> object);

// What a DC draws on: an image, the image position of the DC's device
// origin, and an optional base clip in image pixels (a window's visible part).
struct TSurface {
  QImage* Image = nullptr;
  QPoint Origin;
  std::optional<QRegion> BaseClip;
};

struct TDCState {
  std::shared_ptr<TGdiPen> Pen;
  std::shared_ptr<TGdiBrush> Brush;
  std::shared_ptr<TGdiFont> Font;
  std::optional<QRegion> Clip;  // device coordinates
  QPoint WindowOrg, ViewportOrg, BrushOrg, Position;
  COLORREF BkColor = RGB(255, 255, 255);
  COLORREF TextColor = 0;
  COLORREF DCBrushColor = RGB(255, 255, 255);
  COLORREF DCPenColor = 0;
  int BkMode = OPAQUE;
  int Rop2 = R2_COPYPEN;
  int PolyFillMode = ALTERNATE;
};

}  // namespace gdi_internal

struct HDC__ {
  gdi_internal::TDCState State;
  std::vector<gdi_internal::TDCState> Saved;
  std::shared_ptr<gdi_internal::TGdiBitmap> Bitmap;  // memory DCs
  gdi_internal::TSurface Surface;
  std::unique_ptr<QPainter> Painter;
  bool ClipDirty = true;
  // Path bracket.
  bool InPath = false;
  bool PathReady = false;
  QPainterPath Path;
  ~HDC__();
};

namespace gdi_internal {

// A DC over any image (a window's backing store): origin and base clip in
// image pixels. The caller keeps the image alive until DeleteDC.
HDC CreateDCOverImage(QImage* image, QPoint origin = {}, std::optional<QRegion> baseClip = std::nullopt);
// The live DC behind a handle, nullptr for a bad one.
HDC__* LookupDC(HDC dc);
// The painter of the DC, begun on the surface, clip applied, transform
// translated so that (0,0) is the device origin. nullptr without a surface.
// The GDI+ layer draws through it and must leave the clip and transform as found.
QPainter* DCPainter(HDC dc);
QPainter* BeginPainting(HDC__* dc);
// The surface image and the device-to-image offset.
QImage* DCImage(HDC dc);
QPoint DCOrigin(HDC dc);
// The effective clip in image pixels (clip, base clip and image bounds).
QRegion EffectiveClip(HDC__* dc);
// Ends the DC's painter (before the image is replaced or read by Qt calls
// that detach it).
void EndPainting(HDC__* dc);
// Logical to device.
inline QPoint ToDevice(const HDC__* dc, int x, int y) {
  return {x - dc->State.WindowOrg.x() + dc->State.ViewportOrg.x(), y - dc->State.WindowOrg.y() + dc->State.ViewportOrg.y()};
}
// The image of a bitmap handle, nullptr for a bad one.
QImage* BitmapImage(HBITMAP bitmap);
std::shared_ptr<TGdiBitmap> NewBitmap(QImage image, int bitCount, bool dib);
// The icon image of a handle; nullptr for a bad one.
const QImage* IconImage(HICON icon);
HICON NewIcon(QImage image);
// Screen pixels per inch reported by GetDeviceCaps (96 unless changed).
int ScreenPixelsPerInch();
void SetScreenPixelsPerInch(int ppi);

// Text layout shared by DrawText and the canvas.
int DrawTextImpl(HDC dc, StringView text, RECT* r, UINT format, DRAWTEXTPARAMS* params);

}  // namespace gdi_internal
