#pragma once
// Monitors and work areas: the window system's screens (or, in tests, the
// virtual monitors a test declares), each with its bounds, its work area
// (the part free of panels), its pixels per inch and a handle that stays the
// same while the monitor exists. Without a window system there is one
// 800 x 600 monitor at 96 pixels per inch whose work area is the whole screen.
//
// The window system's screens all have the screen's pixels per inch (96
// unless set otherwise); virtual monitors have their own.
//
// When the monitors change (one added, removed, moved, or its work area or
// pixels per inch changed) every top-level window gets WM_SETTINGCHANGE with
// SPI_SETWORKAREA, and a form whose monitor's pixels per inch changed is told
// (see TCustomForm's DPI handling).
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Geometry.h"
#include "platform/win/Messages.h"

struct HMONITOR__;
using HMONITOR = HMONITOR__*;

constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
constexpr UINT SPI_SETWORKAREA = 0x002F, SPI_GETWORKAREA = 0x0030;

struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  TRect rcMonitor;
  TRect rcWork;
  DWORD dwFlags = 0;
};

// The monitor that contains the point (right and bottom edges excluded);
// none: nullptr, the primary monitor, or the nearest one (the least distance
// from the point to its bounds; the first declared on a tie), by Flags.
HMONITOR MonitorFromPoint(TPoint Pt, DWORD Flags);
// The monitor with the largest part of the rectangle; none: as for a point
// (the nearest by the least distance between the rectangles). nullptr for a
// nullptr rectangle.
HMONITOR MonitorFromRect(const TRect* R, DWORD Flags);
// The monitor of the window's outer rectangle; nullptr with
// ERROR_INVALID_WINDOW_HANDLE for a bad window.
HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags);
// Bounds, work area and the primary flag. FALSE for a monitor that does not
// exist (any more), nullptr, or a cbSize smaller than the record.
BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info);
// SPI_GETWORKAREA: the primary monitor's work area into *(TRect*)PvParam.
// Any other action, or nullptr: FALSE with ERROR_INVALID_PARAMETER.
BOOL SystemParametersInfo(UINT Action, UINT UiParam, void* PvParam, UINT WinIni);

// One monitor as the screen object lists it. The object lives as long as the
// screen (a monitor that went away keeps its last values and a handle that
// GetMonitorInfo refuses).
class TMonitor {
 public:
  HMONITOR Handle() const { return FHandle; }
  // Its place in the screen's list (-1 once it went away).
  Integer MonitorNum() const { return FMonitorNum; }
  Integer Left() const { return FBounds.Left; }
  Integer Top() const { return FBounds.Top; }
  Integer Width() const { return FBounds.Width(); }
  Integer Height() const { return FBounds.Height(); }
  TRect BoundsRect() const { return FBounds; }
  TRect WorkareaRect() const { return FWork; }
  bool Primary() const { return FPrimary; }
  Integer PixelsPerInch() const { return FPixelsPerInch; }

 private:
  friend struct TMonitorAccess;
  HMONITOR FHandle = nullptr;
  Integer FMonitorNum = -1;
  TRect FBounds, FWork;
  bool FPrimary = false;
  Integer FPixelsPerInch = 96;
};

// The screen object's monitor list (TScreen forwards to these).
Integer MonitorCount();
// The monitor at Index (0 = the first listed); nullptr for a bad index.
TMonitor* MonitorAt(Integer Index);
// The monitor object of a handle; nullptr for one that does not exist.
TMonitor* MonitorOfHandle(HMONITOR Monitor);

namespace monitors_internal {

// A monitor a test declares. Name identifies it across declarations: a
// monitor declared again under its name keeps its handle.
struct TVirtualMonitor {
  String Name;
  TRect Bounds;
  TRect WorkArea;  // empty: the whole bounds
  Integer PixelsPerInch = 96;
  bool Primary = false;  // none marked: the first one
};
// Replaces the monitors by the declared ones (an empty list: back to the
// window system's screens) and sends the change notices.
void SetVirtualMonitors(const std::vector<TVirtualMonitor>& Monitors);

}  // namespace monitors_internal
