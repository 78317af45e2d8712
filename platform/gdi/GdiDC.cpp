// Device contexts: creation, selected objects, saved states, origins,
// colours and modes, clipping.
#include <mutex>
#include <unordered_set>

#include "platform/gdi/GdiInternal.h"

namespace gdi_internal {
namespace {

std::mutex& DCLock() {
  static std::mutex m;
  return m;
}
std::unordered_set<HDC>& DCs() {
  static auto* s = new std::unordered_set<HDC>();
  return *s;
}

int gScreenPPI = 96;

// The 1x1 bitmap a fresh memory DC holds; shared, never freed.
std::shared_ptr<TGdiBitmap> DefaultBitmap() {
  static std::shared_ptr<TGdiBitmap>* b = [] {
    QImage img(1, 1, QImage::Format_RGB32);
    img.fill(0xFF000000u);
    return new std::shared_ptr<TGdiBitmap>(NewBitmap(std::move(img), 1, false));
  }();
  return *b;
}

HDC__* NewDC() {
  auto dc = std::make_unique<HDC__>();
  dc->State.Pen = Lookup<TGdiPen>(GetStockObject(BLACK_PEN));
  dc->State.Brush = Lookup<TGdiBrush>(GetStockObject(WHITE_BRUSH));
  dc->State.Font = Lookup<TGdiFont>(GetStockObject(SYSTEM_FONT));
  HDC h = dc.release();
  std::lock_guard lock(DCLock());
  DCs().insert(h);
  return h;
}

int ClipKind(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The clip a DC has in device coordinates: its own clip, or everything the
// surface shows.
QRegion DeviceClip(HDC__* dc) {
  if (dc->State.Clip) return *dc->State.Clip;
  QRegion all = dc->Surface.Image ? QRegion(dc->Surface.Image->rect()) : QRegion();
  if (dc->Surface.BaseClip) all = all.intersected(*dc->Surface.BaseClip);
  return all.translated(-dc->Surface.Origin);
}

}  // namespace

HDC__* LookupDC(HDC dc) {
  if (!dc) return nullptr;
  std::lock_guard lock(DCLock());
  return DCs().count(dc) ? dc : nullptr;
}

int ScreenPixelsPerInch() { return gScreenPPI; }
void SetScreenPixelsPerInch(int ppi) { gScreenPPI = ppi > 0 ? ppi : 96; }

HDC CreateDCOverImage(QImage* image, QPoint origin, std::optional<QRegion> baseClip) {
  if (!image) return nullptr;
  HDC__* dc = NewDC();
  dc->Surface = {image, origin, std::move(baseClip)};
  return dc;
}

QRegion EffectiveClip(HDC__* dc) {
  if (!dc->Surface.Image) return {};
  QRegion r(dc->Surface.Image->rect());
  if (dc->Surface.BaseClip) r = r.intersected(*dc->Surface.BaseClip);
  if (dc->State.Clip) r = r.intersected(dc->State.Clip->translated(dc->Surface.Origin));
  return r;
}

void EndPainting(HDC__* dc) {
  if (dc->Painter) {
    dc->Painter->end();
    dc->Painter.reset();
  }
  dc->ClipDirty = true;
}

QPainter* BeginPainting(HDC__* dc) {
  QImage* img = dc->Surface.Image;
  if (!img || img->isNull()) return nullptr;
  if (!dc->Painter) {
    // Two DCs over one image (a window DC taken while that window paints)
    // take turns: Qt lets one painter at a time work on an image.
    if (img->paintingActive()) {
      std::lock_guard lock(DCLock());
      for (HDC other : DCs())
        if (other != dc && other->Surface.Image == img && other->Painter) EndPainting(other);
    }
    dc->Painter = std::make_unique<QPainter>();
    if (!dc->Painter->begin(img)) {
      dc->Painter.reset();
      return nullptr;
    }
    dc->ClipDirty = true;
  }
  QPainter* p = dc->Painter.get();
  if (dc->ClipDirty) {
    p->resetTransform();
    QRegion clip = EffectiveClip(dc);
    // Qt keeps a stale complex clip after setClipping(false); replacing the
    // clip every time avoids that.
    if (clip.rectCount() == 1) p->setClipRect(clip.boundingRect());
    else p->setClipRegion(clip);
    p->translate(dc->Surface.Origin);
    dc->ClipDirty = false;
  }
  p->setRenderHint(QPainter::Antialiasing, false);
  p->setRenderHint(QPainter::TextAntialiasing, false);
  p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->setOpacity(1.0);
  // An opaque hatch leaves the painter opaque; text and styled pens would
  // then paint a background GDI never draws.
  p->setBackgroundMode(Qt::TransparentMode);
  return p;
}

QPainter* DCPainter(HDC dc) {
  HDC__* d = LookupDC(dc);
  return d ? BeginPainting(d) : nullptr;
}

QImage* DCImage(HDC dc) {
  HDC__* d = LookupDC(dc);
  return d ? d->Surface.Image : nullptr;
}

QPoint DCOrigin(HDC dc) {
  HDC__* d = LookupDC(dc);
  return d ? d->Surface.Origin : QPoint();
}

}  // namespace gdi_internal

using namespace gdi_internal;

HDC__::~HDC__() = default;

HDC CreateCompatibleDC(HDC) {
  HDC__* dc = NewDC();
  dc->Bitmap = DefaultBitmap();
  dc->Surface.Image = &dc->Bitmap->Image;
  return dc;
}

BOOL DeleteDC(HDC dc) {
  {
    std::lock_guard lock(DCLock());
    if (!dc || !DCs().erase(dc)) return FALSE;
  }
  EndPainting(dc);
  if (dc->Bitmap && dc->Bitmap->SelectedIn == dc) dc->Bitmap->SelectedIn = nullptr;
  delete dc;  // the DC table owns its entries
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  HDC__* d = LookupDC(dc);
  auto obj = LookupObject(object);
  if (!d || !obj) return nullptr;
  if (auto pen = std::dynamic_pointer_cast<TGdiPen>(obj)) {
    HGDIOBJ old = d->State.Pen.get();
    d->State.Pen = pen;
    return old;
  }
  if (auto brush = std::dynamic_pointer_cast<TGdiBrush>(obj)) {
    HGDIOBJ old = d->State.Brush.get();
    d->State.Brush = brush;
    return old;
  }
  if (auto font = std::dynamic_pointer_cast<TGdiFont>(obj)) {
    HGDIOBJ old = d->State.Font.get();
    d->State.Font = font;
    return old;
  }
  if (auto bmp = std::dynamic_pointer_cast<TGdiBitmap>(obj)) {
    if (!d->Bitmap) return nullptr;  // not a memory DC
    if (bmp == d->Bitmap) return bmp.get();
    bool isDefault = bmp == DefaultBitmap();
    if (!isDefault && bmp->SelectedIn && bmp->SelectedIn != dc) return nullptr;
    EndPainting(d);
    HGDIOBJ old = d->Bitmap.get();
    if (d->Bitmap->SelectedIn == dc) d->Bitmap->SelectedIn = nullptr;
    d->Bitmap = bmp;
    if (!isDefault) bmp->SelectedIn = dc;
    d->Surface.Image = &bmp->Image;
    d->State.Clip.reset();
    return old;
  }
  if (auto rgn = std::dynamic_pointer_cast<TGdiRegion>(obj)) {
    return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(dc, static_cast<HRGN>(object))));
  }
  return nullptr;
}

int SaveDC(HDC dc) {
  HDC__* d = LookupDC(dc);
  if (!d) return 0;
  if (d->Saved.size() >= 10000) return 0;  // runaway save loops stop here
  d->Saved.push_back(d->State);
  return int(d->Saved.size());
}

BOOL RestoreDC(HDC dc, int level) {
  HDC__* d = LookupDC(dc);
  if (!d || level == 0) return FALSE;
  int count = int(d->Saved.size());
  int target = level > 0 ? level : count + level + 1;
  if (target < 1 || target > count) return FALSE;
  d->State = d->Saved[size_t(target - 1)];
  d->Saved.resize(size_t(target - 1));
  d->ClipDirty = true;
  return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
  HDC__* d = LookupDC(dc);
  if (!d) return 0;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return ScreenPixelsPerInch();
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case HORZRES: return d->Surface.Image ? d->Surface.Image->width() : 0;
    case VERTRES: return d->Surface.Image ? d->Surface.Image->height() : 0;
    default: return 0;
  }
}

namespace {
BOOL SetPoint(HDC dc, QPoint TDCState::*field, int x, int y, POINT* old, bool offset = false) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  QPoint& p = d->State.*field;
  if (old) *old = {p.x(), p.y()};
  p = offset ? p + QPoint(x, y) : QPoint(x, y);
  return TRUE;
}
BOOL GetPoint(HDC dc, QPoint TDCState::*field, POINT* out) {
  HDC__* d = LookupDC(dc);
  if (!d || !out) return FALSE;
  *out = {(d->State.*field).x(), (d->State.*field).y()};
  return TRUE;
}
}  // namespace

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::WindowOrg, x, y, old); }
BOOL GetWindowOrgEx(HDC dc, POINT* org) { return GetPoint(dc, &TDCState::WindowOrg, org); }
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &TDCState::ViewportOrg, x, y, old); }
BOOL GetViewportOrgEx(HDC dc, POINT* org) { return GetPoint(dc, &TDCState::ViewportOrg, org); }

COLORREF SetBkColor(HDC dc, COLORREF color) {
  HDC__* d = LookupDC(dc);
  if (!d) return CLR_INVALID;
  return std::exchange(d->State.BkColor, color & 0xFFFFFF);
}
int SetBkMode(HDC dc, int mode) {
  HDC__* d = LookupDC(dc);
  if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(d->State.BkMode, mode);
}
COLORREF SetTextColor(HDC dc, COLORREF color) {
  HDC__* d = LookupDC(dc);
  if (!d) return CLR_INVALID;
  return std::exchange(d->State.TextColor, color & 0xFFFFFF);
}
int SetROP2(HDC dc, int rop) {
  HDC__* d = LookupDC(dc);
  if (!d || rop < 1 || rop > 16) return 0;
  return std::exchange(d->State.Rop2, rop);
}

// ---- Clipping -----------------------------------------------------------

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
  HDC__* d = LookupDC(dc);
  if (!d) return ERROR;
  d->ClipDirty = true;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    d->State.Clip.reset();
    return ClipKind(DeviceClip(d));
  }
  auto r = Lookup<TGdiRegion>(rgn);
  if (!r) return ERROR;
  QRegion cur = DeviceClip(d);
  switch (mode) {
    case RGN_COPY: d->State.Clip = r->Region; break;
    case RGN_AND: d->State.Clip = cur.intersected(r->Region); break;
    case RGN_OR: d->State.Clip = cur.united(r->Region); break;
    case RGN_XOR: d->State.Clip = cur.xored(r->Region); break;
    case RGN_DIFF: d->State.Clip = cur.subtracted(r->Region); break;
    default: return ERROR;
  }
  return ClipKind(*d->State.Clip);
}

namespace {
QRect DeviceRect(HDC__* d, int l, int t, int r, int b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  QPoint a = ToDevice(d, l, t);
  return QRect(a.x(), a.y(), r - l, b - t);
}
}  // namespace

int IntersectClipRect(HDC dc, int l, int t, int r, int b) {
  HDC__* d = LookupDC(dc);
  if (!d) return ERROR;
  d->State.Clip = DeviceClip(d).intersected(DeviceRect(d, l, t, r, b));
  d->ClipDirty = true;
  return ClipKind(*d->State.Clip);
}

int ExcludeClipRect(HDC dc, int l, int t, int r, int b) {
  HDC__* d = LookupDC(dc);
  if (!d) return ERROR;
  d->State.Clip = DeviceClip(d).subtracted(DeviceRect(d, l, t, r, b));
  d->ClipDirty = true;
  return ClipKind(*d->State.Clip);
}

int GetClipBox(HDC dc, RECT* r) {
  HDC__* d = LookupDC(dc);
  if (!d || !r) return ERROR;
  QRegion visible = EffectiveClip(d).translated(-d->Surface.Origin);
  QRect b = visible.boundingRect();
  QPoint shift = d->State.WindowOrg - d->State.ViewportOrg;
  *r = visible.isEmpty() ? RECT{}
                         : RECT{b.left() + shift.x(), b.top() + shift.y(), b.left() + b.width() + shift.x(),
                                b.top() + b.height() + shift.y()};
  return ClipKind(visible);
}

