#include "platform/vcl/Monitors.h"

#include <QGuiApplication>
#include <QScreen>
#include <map>
#include <optional>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"
#include "platform/win/Window.h"

struct TMonitorAccess {
  static void Set(TMonitor& M, HMONITOR Handle, Integer Num, TRect Bounds, TRect Work, bool Primary, Integer Ppi) {
    M.FHandle = Handle;
    M.FMonitorNum = Num;
    M.FBounds = Bounds;
    M.FWork = Work;
    M.FPrimary = Primary;
    M.FPixelsPerInch = Ppi;
  }
  static void Gone(TMonitor& M) { M.FMonitorNum = -1; }
};

namespace {

struct TMonitorState {
  std::optional<std::vector<monitors_internal::TVirtualMonitor>> Virtual;
  // Identities: virtual monitors by name, screens by their object; handles never reused.
  std::map<String, std::uintptr_t> VirtualIds;
  std::map<const QScreen*, std::uintptr_t> ScreenIds;
  std::uintptr_t NextId = 0x10;
  std::map<std::uintptr_t, std::unique_ptr<TMonitor>> Objects;
  std::vector<TMonitor*> Listed;
  bool Watching = false;
};

TMonitorState& MS() {
  static TMonitorState s;
  return s;
}

std::uintptr_t IdFor(std::map<String, std::uintptr_t>& ids, const String& key) {
  auto it = ids.find(key);
  if (it != ids.end()) return it->second;
  const std::uintptr_t id = MS().NextId++;
  ids.emplace(key, id);
  return id;
}

void Notify();

// Follows the window system's screens once there is one.
void WatchScreens() {
  TMonitorState& s = MS();
  auto* app = qobject_cast<QGuiApplication*>(QGuiApplication::instance());
  if (s.Watching || app == nullptr) return;
  s.Watching = true;
  auto watch = [](QScreen* screen) {
    QObject::connect(screen, &QScreen::geometryChanged, [] { Notify(); });
    QObject::connect(screen, &QScreen::availableGeometryChanged, [] { Notify(); });
  };
  for (QScreen* screen : QGuiApplication::screens()) watch(screen);
  QObject::connect(app, &QGuiApplication::screenAdded, [watch](QScreen* screen) {
    watch(screen);
    Notify();
  });
  QObject::connect(app, &QGuiApplication::screenRemoved, [] { Notify(); });
}

TRect FromQRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

// Rebuilds the list from the virtual monitors or the screens; answers whether anything changed.
bool Refresh() {
  TMonitorState& s = MS();
  struct TEntry {
    std::uintptr_t Id;
    TRect Bounds, Work;
    bool Primary;
    Integer Ppi;
  };
  std::vector<TEntry> entries;
  if (s.Virtual) {
    bool anyPrimary = false;
    for (const auto& v : *s.Virtual) anyPrimary = anyPrimary || v.Primary;
    for (std::size_t i = 0; i < s.Virtual->size(); ++i) {
      const auto& v = (*s.Virtual)[i];
      const TRect work = v.WorkArea.IsEmpty() ? v.Bounds : v.WorkArea;
      entries.push_back({IdFor(s.VirtualIds, v.Name), v.Bounds, work, anyPrimary ? v.Primary : i == 0,
                         v.PixelsPerInch > 0 ? v.PixelsPerInch : 96});
    }
  } else if (QGuiApplication::instance() != nullptr && !QGuiApplication::screens().isEmpty()) {
    WatchScreens();
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
      auto it = s.ScreenIds.find(screen);
      if (it == s.ScreenIds.end()) it = s.ScreenIds.emplace(screen, s.NextId++).first;
      entries.push_back({it->second, FromQRect(screen->geometry()), FromQRect(screen->availableGeometry()),
                         screen == primary, gdi_internal::ScreenPixelsPerInch()});
    }
  } else {
    auto it = s.ScreenIds.find(nullptr);
    if (it == s.ScreenIds.end()) it = s.ScreenIds.emplace(nullptr, s.NextId++).first;
    entries.push_back({it->second, Bounds(0, 0, 800, 600), Bounds(0, 0, 800, 600), true, gdi_internal::ScreenPixelsPerInch()});
  }
  bool changed = entries.size() != s.Listed.size();
  std::vector<TMonitor*> listed;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TEntry& e = entries[i];
    auto& object = s.Objects[e.Id];
    if (!object) object = std::make_unique<TMonitor>();
    TMonitor& m = *object;
    if (i >= s.Listed.size() || s.Listed[i] != &m || m.BoundsRect() != e.Bounds || m.WorkareaRect() != e.Work ||
        m.Primary() != e.Primary || m.PixelsPerInch() != e.Ppi)
      changed = true;
    TMonitorAccess::Set(m, reinterpret_cast<HMONITOR>(e.Id), Integer(i), e.Bounds, e.Work, e.Primary, e.Ppi);
    listed.push_back(&m);
  }
  for (TMonitor* old : s.Listed)
    if (std::find(listed.begin(), listed.end(), old) == listed.end()) TMonitorAccess::Gone(*old);
  s.Listed = std::move(listed);
  return changed;
}

const std::vector<TMonitor*>& Listed() {
  // Until the window system's screens are followed, look again on every query.
  if (MS().Listed.empty() || (!MS().Virtual && !MS().Watching)) Refresh();
  return MS().Listed;
}

void Notify() {
  if (!Refresh()) return;
  for (TWindowBridge* b : controls_internal::TopLevelBridges())
    SendMessage(b->Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  if (Screen != nullptr)
    for (Integer i = 0; i < Screen->FormCount(); ++i) Screen->Forms(i)->MonitorsChanged();
}

TMonitor* Primary() {
  for (TMonitor* m : Listed())
    if (m->Primary()) return m;
  return Listed().empty() ? nullptr : Listed().front();
}

// Squared distance between two rectangles (0 when they touch or overlap).
long long Distance(const TRect& a, const TRect& b) {
  const long long dx = std::max({0, a.Left - (b.Right - 1), b.Left - (a.Right - 1)});
  const long long dy = std::max({0, a.Top - (b.Bottom - 1), b.Top - (a.Bottom - 1)});
  return dx * dx + dy * dy;
}

HMONITOR Fallback(const TRect& R, DWORD Flags) {
  if (Flags == MONITOR_DEFAULTTOPRIMARY) return Primary() != nullptr ? Primary()->Handle() : nullptr;
  if (Flags != MONITOR_DEFAULTTONEAREST) return nullptr;
  TMonitor* best = nullptr;
  long long bestDistance = 0;
  for (TMonitor* m : Listed()) {
    const long long d = Distance(R, m->BoundsRect());
    if (best == nullptr || d < bestDistance) {
      best = m;
      bestDistance = d;
    }
  }
  return best != nullptr ? best->Handle() : nullptr;
}

}  // namespace

HMONITOR MonitorFromPoint(TPoint Pt, DWORD Flags) {
  for (TMonitor* m : Listed())
    if (m->BoundsRect().Contains(Pt)) return m->Handle();
  return Fallback(Bounds(Pt.X, Pt.Y, 1, 1), Flags);
}

HMONITOR MonitorFromRect(const TRect* R, DWORD Flags) {
  if (R == nullptr) return nullptr;
  TMonitor* best = nullptr;
  long long bestArea = 0;
  for (TMonitor* m : Listed()) {
    const TRect b = m->BoundsRect();
    const long long w = std::min(R->Right, b.Right) - std::max(R->Left, b.Left);
    const long long h = std::min(R->Bottom, b.Bottom) - std::max(R->Top, b.Top);
    if (w <= 0 || h <= 0) continue;
    if (w * h > bestArea) {
      best = m;
      bestArea = w * h;
    }
  }
  if (best != nullptr) return best->Handle();
  // An empty rectangle counts as its top-left point.
  const TRect probe = R->IsEmpty() ? Bounds(R->Left, R->Top, 1, 1) : *R;
  if (R->IsEmpty())
    for (TMonitor* m : Listed())
      if (m->BoundsRect().Contains(TPoint{R->Left, R->Top})) return m->Handle();
  return Fallback(probe, Flags);
}

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags) {
  TRect r;
  if (!GetWindowRect(Wnd, &r)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return MonitorFromRect(&r, Flags);
}

BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info) {
  TMonitor* m = MonitorOfHandle(Monitor);
  if (m == nullptr || Info == nullptr || Info->cbSize < sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Info->rcMonitor = m->BoundsRect();
  Info->rcWork = m->WorkareaRect();
  Info->dwFlags = m->Primary() ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}

BOOL SystemParametersInfo(UINT Action, UINT, void* PvParam, UINT) {
  if (Action != SPI_GETWORKAREA || PvParam == nullptr || Primary() == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *static_cast<TRect*>(PvParam) = Primary()->WorkareaRect();
  return TRUE;
}

Integer MonitorCount() { return Integer(Listed().size()); }

TMonitor* MonitorAt(Integer Index) {
  const auto& l = Listed();
  return Index >= 0 && Index < Integer(l.size()) ? l[std::size_t(Index)] : nullptr;
}

TMonitor* MonitorOfHandle(HMONITOR Monitor) {
  for (TMonitor* m : Listed())
    if (m->Handle() == Monitor) return m;
  return nullptr;
}

namespace monitors_internal {

void SetVirtualMonitors(const std::vector<TVirtualMonitor>& Monitors) {
  TMonitorState& s = MS();
  if (Monitors.empty()) s.Virtual.reset();
  else s.Virtual = Monitors;
  Notify();
}

}  // namespace monitors_internal
