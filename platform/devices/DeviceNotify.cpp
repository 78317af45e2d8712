#include "platform/devices/DeviceNotify.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/comm/SerialPorts.h"
#include "platform/devices/DeviceTree.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinReg.h"

namespace fs = std::filesystem;

namespace {

struct TRegistration {
  HWND Window = nullptr;
  GUID ClassGuid;
};

std::mutex gLock;
std::map<HDEVNOTIFY, TRegistration> gRegistrations;
std::uintptr_t gNextHandle = 1;

// Names seen on arrival, by sysfs path, for the removal that follows.
std::map<std::string, TDeviceChange> gArrived;
// While the monitor thread records the devices present at start, a removal
// waits for that record (it may name the device).
bool gRecordPending = false;
std::condition_variable gRecorded;

std::atomic<bool> gStop{false};
int gStopEvent = -1;  // eventfd that wakes the monitor for a stop request
std::thread gMonitor;
HWND gRelay = nullptr;  // hidden window that turns monitor events into broadcasts
bool gStarted = false;
constexpr UINT WM_DEVICE_RELAY = WM_USER + 0x219;

bool IsRemovablePartition(const std::string& sysPath) {
  fs::path disk = fs::path(sysPath).parent_path();
  std::ifstream f(disk / "removable");
  std::string v;
  if (f && std::getline(f, v) && v == "1") return true;
  TUsbDeviceInfo usb;
  return UsbAncestor(sysPath, usb);
}

std::vector<TDeviceChange> Translate(const TUevent& e) {
  const bool add = e.Action == "add";
  const bool remove = e.Action == "remove";
  if (!add && !remove) return {};
  const WPARAM event = add ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
  std::unique_lock<std::mutex> lock(gLock);
  if (remove) {
    gRecorded.wait(lock, [] { return !gRecordPending; });
    auto it = gArrived.find(e.SysPath);
    if (it == gArrived.end()) {
      // A device that arrived before we watched: name it from what the event carries.
      if (e.Subsystem == "block" && e.DevType == "partition") {
        // A volume that a query lettered: it leaves with its letter.
        Char letter = HeldDriveLetter(e.SysName);
        if (letter == 0) return {};
        ReleaseDriveLetter(e.SysName);
        return {{event, DBT_DEVTYP_VOLUME, {}, DWORD(1) << (letter - u'A')}};
      }
      if (e.Subsystem == "usb" && e.DevType == "usb_device") {
        const std::string_view product = e.Product;
        const auto s1 = product.find('/');
        const auto s2 = product.find('/', s1 == std::string::npos ? s1 : s1 + 1);
        if (s1 == std::string::npos || s2 == std::string::npos) return {};
        const Int64 v = HexNumberValue(product.substr(0, s1), 4), p = HexNumberValue(product.substr(s1 + 1, s2 - s1 - 1), 4);
        if (v < 0 || p < 0) return {};
        return {{event, DBT_DEVTYP_DEVICEINTERFACE, UsbInterfaceName(Word(v), Word(p), "", e.SysName), 0}};
      }
      return {};
    }
    TDeviceChange c = it->second;
    gArrived.erase(it);
    c.Event = event;
    if (c.DeviceType == DBT_DEVTYP_VOLUME) ReleaseDriveLetter(e.SysName);
    return {c};
  }
  TDeviceChange c;
  c.Event = event;
  if (e.Subsystem == "usb" && e.DevType == "usb_device") {
    TUsbDeviceInfo info;
    if (!ReadUsbDevice(e.SysPath, info)) return {};
    c.DeviceType = DBT_DEVTYP_DEVICEINTERFACE;
    c.Name = UsbInterfaceName(info.Vendor, info.Product, info.Serial, e.SysName);
  } else if (e.Subsystem == "tty") {
    c.Name = PortNameFor("/dev/" + e.SysName);
    if (c.Name.empty()) return {};
    c.DeviceType = DBT_DEVTYP_PORT;
  } else if (e.Subsystem == "block" && e.DevType == "partition") {
    if (!IsRemovablePartition(e.SysPath)) return {};
    Char letter = DriveLetterFor(e.SysName);
    if (letter == 0) return {};
    c.DeviceType = DBT_DEVTYP_VOLUME;
    c.UnitMask = DWORD(1) << (letter - u'A');
  } else {
    return {};
  }
  gArrived[e.SysPath] = c;
  return {c};
}

std::vector<HWND> Recipients(const DEV_BROADCAST_HDR& record) {
  std::vector<HWND> out;
  std::lock_guard<std::mutex> lock(gLock);
  for (const auto& [h, r] : gRegistrations) {
    if (record.dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
        !(static_cast<const DEV_BROADCAST_DEVICEINTERFACE&>(record).dbcc_classguid == r.ClassGuid))
      continue;
    bool seen = false;
    for (HWND w : out) seen = seen || w == r.Window;
    if (!seen) out.push_back(r.Window);
  }
  return out;
}

void Relay(TMessage& m) {
  if (m.Msg != WM_DEVICE_RELAY) return;
  std::unique_ptr<TDeviceChange> c(reinterpret_cast<TDeviceChange*>(m.WParam));
  BroadcastChange(*c);
}

void ReadEvent(udev_device* dev) {
  auto str = [](const char* s) { return std::string(s ? s : ""); };
  TUevent e;
  e.Action = str(udev_device_get_action(dev));
  e.Subsystem = str(udev_device_get_subsystem(dev));
  e.DevType = str(udev_device_get_devtype(dev));
  e.SysName = str(udev_device_get_sysname(dev));
  e.SysPath = str(udev_device_get_syspath(dev));
  e.Product = str(udev_device_get_property_value(dev, "PRODUCT"));
  for (auto& c : TranslateUevent(e)) {
    auto* payload = new TDeviceChange(std::move(c));
    PostMessage(gRelay, WM_DEVICE_RELAY, WPARAM(payload), 0,
                [](WPARAM w, LPARAM) { delete reinterpret_cast<TDeviceChange*>(w); });
  }
}

void MonitorLoop(udev* u, udev_monitor* mon) {
  // The devices already present are read here, off the start-up of the
  // program's window. The monitor already receives: an event that comes
  // meanwhile waits in its queue and is read after this record.
  RecordPresentDevices();
  {
    std::lock_guard<std::mutex> lock(gLock);
    gRecordPending = false;
  }
  gRecorded.notify_all();
  int fd = udev_monitor_get_fd(mon);
  while (!gStop.load()) {
    pollfd p[2] = {{fd, POLLIN, 0}, {gStopEvent, POLLIN, 0}};
    // The stop event ends the wait at once (the program's exit waits for it);
    // without one, a bounded wait sees the stop request.
    const bool wakeable = gStopEvent >= 0;
    if (poll(p, wakeable ? 2 : 1, wakeable ? -1 : 200) <= 0 || !(p[0].revents & POLLIN)) continue;
    if (udev_device* dev = udev_monitor_receive_device(mon)) {
      ReadEvent(dev);
      udev_device_unref(dev);
    }
  }
  udev_monitor_unref(mon);
  udev_unref(u);
}

// The canonical folders of a sysfs directory's entries (they are links).
std::vector<fs::path> Entries(const fs::path& dir) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    fs::path real = fs::canonical(e.path(), ec);
    if (!ec) out.push_back(real);
  }
  return out;
}

}  // namespace

void RecordPresentDevices() {
  std::map<std::string, TDeviceChange> present;
  const fs::path sys = SysRoot();
  for (const auto& p : Entries(sys / "bus/usb/devices")) {
    TUsbDeviceInfo info;
    if (ReadUsbDevice(p.string(), info))
      present[p.string()] = {0, DBT_DEVTYP_DEVICEINTERFACE,
                             UsbInterfaceName(info.Vendor, info.Product, info.Serial, p.filename().string()), 0};
  }
  const TSerialPortSnapshot ports;  // one scan for all the entries
  for (const auto& p : Entries(sys / "class/tty")) {
    String port = PortNameFor("/dev/" + p.filename().string());
    if (!port.empty()) present[p.string()] = {0, DBT_DEVTYP_PORT, port, 0};
  }
  std::lock_guard<std::mutex> lock(gLock);
  for (auto& [path, change] : present) gArrived.emplace(path, std::move(change));
}

HDEVNOTIFY RegisterDeviceNotification(HWND Recipient, const DEV_BROADCAST_HDR* Filter, DWORD Flags) {
  if (Recipient == nullptr || Filter == nullptr || Flags != DEVICE_NOTIFY_WINDOW_HANDLE ||
      Filter->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
    return nullptr;
  std::lock_guard<std::mutex> lock(gLock);
  auto h = reinterpret_cast<HDEVNOTIFY>(gNextHandle++);
  gRegistrations[h] = {Recipient, static_cast<const DEV_BROADCAST_DEVICEINTERFACE*>(Filter)->dbcc_classguid};
  return h;
}

bool UnregisterDeviceNotification(HDEVNOTIFY Handle) {
  std::lock_guard<std::mutex> lock(gLock);
  return gRegistrations.erase(Handle) > 0;
}

void BroadcastDeviceChange(WPARAM Event, const DEV_BROADCAST_HDR& Record) {
  for (HWND w : Recipients(Record))
    if (IsWindow(w)) SendMessage(w, WM_DEVICECHANGE, Event, reinterpret_cast<LPARAM>(&Record));
}

std::vector<TDeviceChange> TranslateUevent(const TUevent& Event) { return Translate(Event); }

void BroadcastChange(const TDeviceChange& Change) {
  switch (Change.DeviceType) {
    case DBT_DEVTYP_PORT: {
      DEV_BROADCAST_PORT r;
      r.dbch_size = sizeof(DEV_BROADCAST_PORT);
      r.dbch_devicetype = DBT_DEVTYP_PORT;
      r.dbcp_name = Change.Name;
      BroadcastDeviceChange(Change.Event, r);
      break;
    }
    case DBT_DEVTYP_VOLUME: {
      DEV_BROADCAST_VOLUME r;
      r.dbch_size = sizeof(DEV_BROADCAST_VOLUME);
      r.dbch_devicetype = DBT_DEVTYP_VOLUME;
      r.dbcv_unitmask = Change.UnitMask;
      BroadcastDeviceChange(Change.Event, r);
      break;
    }
    case DBT_DEVTYP_DEVICEINTERFACE: {
      DEV_BROADCAST_DEVICEINTERFACE r;
      r.dbch_size = sizeof(DEV_BROADCAST_DEVICEINTERFACE);
      r.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
      r.dbcc_classguid = GUID_DEVINTERFACE_USB_DEVICE;
      r.dbcc_name = Change.Name;
      BroadcastDeviceChange(Change.Event, r);
      break;
    }
    default: break;
  }
}

bool InitDevices() {
  if (gStarted) return gMonitor.joinable();
  gStarted = true;
  RegisterSerialCommKey();
  SetPortNamer([](const std::string& dev) {
    for (const auto& a : SerialPortAliases())
      if (a.Device == dev) return a.Name;
    return String();
  });
  udev* u = udev_new();
  udev_monitor* mon = u != nullptr ? udev_monitor_new_from_netlink(u, "kernel") : nullptr;
  if (mon == nullptr || udev_monitor_filter_add_match_subsystem_devtype(mon, "usb", "usb_device") < 0 ||
      udev_monitor_filter_add_match_subsystem_devtype(mon, "tty", nullptr) < 0 ||
      udev_monitor_filter_add_match_subsystem_devtype(mon, "block", "partition") < 0 ||
      udev_monitor_enable_receiving(mon) < 0) {
    if (mon) udev_monitor_unref(mon);
    if (u) udev_unref(u);
    RecordPresentDevices();  // no monitor thread to do it
    return false;
  }
  gRelay = AllocateHWnd(Relay);
  gStop = false;
  gStopEvent = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  {
    std::lock_guard<std::mutex> lock(gLock);
    gRecordPending = true;
  }
  gMonitor = std::thread(MonitorLoop, u, mon);
  return true;
}

void DoneDevices() {
  if (!gStarted) return;
  gStop = true;
  if (gStopEvent >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(gStopEvent, &one, sizeof one);
  }
  if (gMonitor.joinable()) gMonitor.join();
  if (gStopEvent >= 0) close(gStopEvent);
  gStopEvent = -1;
  if (gRelay != nullptr) DeallocateHWnd(gRelay);
  gRelay = nullptr;
  UnregisterSerialCommKey();
  SetPortNamer(nullptr);
  std::lock_guard<std::mutex> lock(gLock);
  gArrived.clear();
  gStarted = false;
}
