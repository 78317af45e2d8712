#pragma once
// Device arrival and removal: WM_DEVICECHANGE sent to windows with the
// system's broadcast records, fed by the kernel's device events (a netlink
// monitor; no device manager daemon is needed). USB devices arrive as device
// interfaces of the USB device class with a synthesised interface name,
// serial devices as ports ("COM3", the alias table's name), partitions of
// removable and USB disks as volumes with a drive letter.
//
// Windows that register for device-interface notifications get the interface
// broadcasts of their class; port and volume broadcasts, which the system
// hands every top-level window, go to every window registered here.
#include <string>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/win/Guid.h"
#include "platform/win/Messages.h"

constexpr WPARAM DBT_DEVICEARRIVAL = 0x8000;
constexpr WPARAM DBT_DEVICEREMOVECOMPLETE = 0x8004;

constexpr DWORD DBT_DEVTYP_OEM = 0;
constexpr DWORD DBT_DEVTYP_VOLUME = 2;
constexpr DWORD DBT_DEVTYP_PORT = 3;
constexpr DWORD DBT_DEVTYP_DEVICEINTERFACE = 5;

constexpr DWORD DEVICE_NOTIFY_WINDOW_HANDLE = 0;

// {A5DCBF10-6530-11D2-901F-00C04FB951ED}
constexpr GUID GUID_DEVINTERFACE_USB_DEVICE = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// Every record starts with this header; dbch_devicetype says which record it is.
struct DEV_BROADCAST_HDR {
  DWORD dbch_size = 0;
  DWORD dbch_devicetype = 0;
  DWORD dbch_reserved = 0;
};

struct DEV_BROADCAST_PORT : DEV_BROADCAST_HDR {
  String dbcp_name;  // "COM3"
};

struct DEV_BROADCAST_VOLUME : DEV_BROADCAST_HDR {
  DWORD dbcv_unitmask = 0;  // bit 0 = drive A
  Word dbcv_flags = 0;
};

struct DEV_BROADCAST_DEVICEINTERFACE : DEV_BROADCAST_HDR {
  GUID dbcc_classguid;
  String dbcc_name;  // "\\?\USB#VID_16C0&PID_05DC#<serial>#{A5DCBF10-...}"
};

using HDEVNOTIFY = void*;

// Registers the window for the device-interface class named by the filter (a
// DEV_BROADCAST_DEVICEINTERFACE with device type 5). Answers nullptr for a
// null window, a missing filter or another device type.
HDEVNOTIFY RegisterDeviceNotification(HWND Recipient, const DEV_BROADCAST_HDR* Filter, DWORD Flags);
// Ends a registration; false for an unknown handle.
bool UnregisterDeviceNotification(HDEVNOTIFY Handle);

// Sends WM_DEVICECHANGE(Event, &Record) to the windows that should see it,
// synchronously, on the user-interface thread. The monitor calls this for
// each kernel event; tests call it with records of their own.
void BroadcastDeviceChange(WPARAM Event, const DEV_BROADCAST_HDR& Record);

// A kernel device event as the monitor reads it.
struct TUevent {
  std::string Action;     // "add", "remove"
  std::string Subsystem;  // "usb", "tty", "block"
  std::string DevType;    // "usb_device", "partition"...
  std::string SysName;    // "1-1.2", "ttyUSB0", "sdb1"
  std::string SysPath;    // the device's sysfs folder
  std::string Product;    // "16c0/5dc/102" for USB devices
};

// What an event means as broadcasts (an event may mean nothing). Names are
// remembered on arrival, so a removal reports the name its arrival had even
// though its sysfs folder is gone.
struct TDeviceChange {
  WPARAM Event = 0;
  DWORD DeviceType = 0;
  String Name;          // the interface name or the port name
  DWORD UnitMask = 0;   // volumes
};
std::vector<TDeviceChange> TranslateUevent(const TUevent& Event);
// Remembers the USB devices and serial ports present now, so that their
// removal later reports the names an arrival would have had. InitDevices
// has the monitor thread call it before that reads its first event (a removal
// translated meanwhile waits for the record); tests call it on a tree of
// their own.
void RecordPresentDevices();
// The record for a change, ready to broadcast.
void BroadcastChange(const TDeviceChange& Change);

// Start-up (user-interface thread, after the message loop): publishes the
// serial map "HARDWARE\DEVICEMAP\SERIALCOMM" under HKEY_LOCAL_MACHINE from the
// alias table and starts the kernel event monitor. False when the monitor
// could not start (the serial map is published either way). Calling it again
// does nothing.
bool InitDevices();
// Shut-down: stops the monitor and withdraws the serial map.
void DoneDevices();
