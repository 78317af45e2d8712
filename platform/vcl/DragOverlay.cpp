// The screen's drag overlay: an image over the desktop that screen DCs draw
// on, shown by a transparent, input-transparent window above all others.
#include "platform/vcl/DragOverlay.h"

#include <sys/mman.h>

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/Monitors.h"
#include "platform/win/MessageLoop.h"

namespace {

// The window that shows the overlay: the complement of every marked pixel, transparent elsewhere.
class TOverlayWidget : public QWidget {
 public:
  explicit TOverlayWidget(const QImage* Marks)
      : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                             Qt::BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                             Qt::WindowTransparentForInput),
        FMarks(Marks) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    const QRect r = e->rect().intersected(FMarks->rect());
    if (r.isEmpty()) return;
    QImage shown(r.size(), QImage::Format_ARGB32);
    for (int y = 0; y < r.height(); ++y) {
      const auto* src = reinterpret_cast<const QRgb*>(FMarks->constScanLine(r.top() + y)) + r.left();
      auto* dst = reinterpret_cast<QRgb*>(shown.scanLine(y));
      for (int x = 0; x < r.width(); ++x) {
        const QRgb m = src[x] & 0x00FFFFFFu;
        dst[x] = m == 0 ? 0u : (0xFF000000u | (0x00FFFFFFu - m));
      }
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(r.topLeft(), shown);
  }

 private:
  const QImage* FMarks;
};

struct TOverlay {
  QImage Image;        // RGB32 over the desktop; black is "nothing"
  QPoint Origin;       // screen position of the image's top-left
  std::vector<HDC> DCs;  // screen DCs handed out and not given back
  TOverlayWidget* Window = nullptr;
  bool Marked = false;  // some pixel is not black
  bool RefreshScheduled = false;
  qint64 ScannedKey = 0;    // the image's key when it was last looked at (drawing changes it)
  QTimer* Poll = nullptr;   // looks again now and then while a DC is held
};

TOverlay& Overlay() {
  static TOverlay o;
  return o;
}

QRect DesktopRect() {
  QRect r;
  for (Integer i = 0; i < MonitorCount(); ++i) {
    const TRect b = MonitorAt(i)->BoundsRect();
    r |= QRect(b.Left, b.Top, b.Width(), b.Height());
  }
  return r;
}

// An image of black pixels over fresh pages of the system's: the kernel hands
// them out zeroed and only those drawn on take memory. Most screen DCs only
// measure text, and a desktop-sized picture filled at once costs megabytes
// and milliseconds at start.
QImage ZeroedImage(QSize Size) {
  struct TPages {
    void* Data;
    size_t Bytes;
  };
  const qsizetype bytesPerLine = qsizetype(Size.width()) * 4;
  const size_t bytes = size_t(bytesPerLine) * size_t(Size.height());
  if (Size.isEmpty()) return {};
  void* data = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (data == MAP_FAILED) return {};
  auto* pages = new TPages{data, bytes};  // freed with the image's last copy
  QImage image(
      static_cast<uchar*>(data), Size.width(), Size.height(), bytesPerLine, QImage::Format_RGB32,
      [](void* info) {
        auto* p = static_cast<TPages*>(info);
        ::munmap(p->Data, p->Bytes);
        delete p;
      },
      pages);
  if (image.isNull()) {
    ::munmap(data, bytes);
    delete pages;
  }
  return image;
}

bool AnyMark(const QImage& Image) {
  for (int y = 0; y < Image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(Image.constScanLine(y));
    for (int x = 0; x < Image.width(); ++x)
      if ((line[x] & 0x00FFFFFFu) != 0) return true;
  }
  return false;
}

// Shows the window while something is marked and hides it once nothing is.
// Only drawing changes the image's key: DCs that merely measured cost no look.
void Refresh() {
  TOverlay& o = Overlay();
  o.RefreshScheduled = false;
  std::erase_if(o.DCs, [](HDC dc) { return gdi_internal::LookupDC(dc) == nullptr; });
  for (HDC dc : o.DCs) gdi_internal::EndPainting(gdi_internal::LookupDC(dc));  // drawing goes on in a new painter
  if (o.Poll != nullptr && o.DCs.empty()) o.Poll->stop();
  if (o.Image.cacheKey() == o.ScannedKey) return;
  o.ScannedKey = o.Image.cacheKey();
  o.Marked = AnyMark(o.Image);
  if (QGuiApplication::instance() == nullptr) return;
  if (o.Marked && o.Window == nullptr) o.Window = new TOverlayWidget(&o.Image);
  if (o.Window == nullptr) return;
  o.Window->setGeometry(QRect(o.Origin, o.Image.size()));
  if (o.Marked) {
    o.Window->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) o.Window->raise();
    o.Window->update();
  } else {
    o.Window->hide();
  }
}

void ScheduleRefresh() {
  TOverlay& o = Overlay();
  if (o.RefreshScheduled) return;
  if (QCoreApplication::instance() == nullptr) {
    Refresh();
    return;
  }
  o.RefreshScheduled = true;
  QTimer::singleShot(0, QCoreApplication::instance(), [] { Refresh(); });
}

}  // namespace

namespace drag_overlay {

HDC GetScreenDC() {
  TOverlay& o = Overlay();
  const QRect desk = DesktopRect();
  if (desk.isEmpty() || !gdi_internal::SizeAllowed(desk.width(), desk.height())) return nullptr;
  std::erase_if(o.DCs, [](HDC dc) { return gdi_internal::LookupDC(dc) == nullptr; });
  // The desktop changed (monitors came or went): a new image once no DC draws on the old one.
  if ((o.Image.size() != desk.size() || o.Origin != desk.topLeft()) && o.DCs.empty()) {
    o.Image = ZeroedImage(desk.size());
    if (o.Image.isNull()) return nullptr;
    // Known black: with no window to hide, no look until something draws
    // (drawing changes the key).
    if (o.Window == nullptr) {
      o.ScannedKey = o.Image.cacheKey();
      o.Marked = false;
    }
    o.Origin = desk.topLeft();
    ScheduleRefresh();
  }
  HDC dc = gdi_internal::CreateDCOverImage(&o.Image, -o.Origin);
  if (dc == nullptr) return nullptr;
  o.DCs.push_back(dc);
  // A DC held over a whole drag shows its drawing too, a little later.
  if (QCoreApplication::instance() != nullptr && IsUIThread()) {
    if (o.Poll == nullptr) {
      o.Poll = new QTimer(QCoreApplication::instance());
      o.Poll->setInterval(30);
      QObject::connect(o.Poll, &QTimer::timeout, [] { Refresh(); });
    }
    if (!o.Poll->isActive()) o.Poll->start();
  }
  return dc;
}

bool ReleaseScreenDC(HDC DC) {
  TOverlay& o = Overlay();
  auto it = std::find(o.DCs.begin(), o.DCs.end(), DC);
  if (DC == nullptr || it == o.DCs.end()) return false;
  o.DCs.erase(it);
  DeleteDC(DC);
  ScheduleRefresh();
  return true;
}

QImage Pixels() {
  for (HDC dc : Overlay().DCs)
    if (HDC__* d = gdi_internal::LookupDC(dc)) gdi_internal::EndPainting(d);
  return Overlay().Image.copy();
}

QPoint Origin() { return Overlay().Origin; }

bool Showing() {
  if (Overlay().RefreshScheduled) Refresh();
  const TOverlay& o = Overlay();
  return o.Marked && o.Window != nullptr && o.Window->isVisible();
}

}  // namespace drag_overlay
