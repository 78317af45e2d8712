#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/devices/DeviceNotify.h"
#include "platform/devices/DeviceTree.h"
#include "platform/testing/TempHome.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinReg.h"
#include "platform/win/WinError.h"
#include "tests/support/TestUtil.h"

namespace fs = std::filesystem;

namespace {

struct Seen {
  WPARAM Event;
  DWORD Type;
  String Name;
  DWORD Mask;
};

HWND Recorder(std::vector<Seen>& seen) {
  return AllocateHWnd([&seen](TMessage& m) {
    if (m.Msg != WM_DEVICECHANGE) return;
    const auto* h = reinterpret_cast<const DEV_BROADCAST_HDR*>(m.LParam);
    Seen s{m.WParam, h->dbch_devicetype, {}, 0};
    if (h->dbch_devicetype == DBT_DEVTYP_PORT) s.Name = static_cast<const DEV_BROADCAST_PORT*>(h)->dbcp_name;
    if (h->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE)
      s.Name = static_cast<const DEV_BROADCAST_DEVICEINTERFACE*>(h)->dbcc_name;
    if (h->dbch_devicetype == DBT_DEVTYP_VOLUME) s.Mask = static_cast<const DEV_BROADCAST_VOLUME*>(h)->dbcv_unitmask;
    seen.push_back(s);
  });
}

HDEVNOTIFY Register(HWND w, const GUID& g) {
  DEV_BROADCAST_DEVICEINTERFACE f;
  f.dbch_size = 32;
  f.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  f.dbcc_classguid = g;
  return RegisterDeviceNotification(w, &f, DEVICE_NOTIFY_WINDOW_HANDLE);
}

using test_support::WriteLineFile;

TEST(DeviceNotifyTest, RegistrationsRouteBroadcasts) {
  std::vector<Seen> usbSeen, otherSeen;
  HWND usbWnd = Recorder(usbSeen), otherWnd = Recorder(otherSeen);
  GUID other = GUID_DEVINTERFACE_USB_DEVICE;
  other.Data1 ^= 1;
  HDEVNOTIFY a = Register(usbWnd, GUID_DEVINTERFACE_USB_DEVICE), b = Register(otherWnd, other);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  DEV_BROADCAST_PORT port;
  port.dbch_devicetype = DBT_DEVTYP_PORT;
  EXPECT_EQ(RegisterDeviceNotification(usbWnd, &port, 0), nullptr);  // not an interface filter
  EXPECT_EQ(RegisterDeviceNotification(nullptr, &port, 0), nullptr);

  BroadcastChange({DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, u"\\\\?\\USB#VID_0001&PID_0002#s#{x}", 0});
  BroadcastChange({DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, u"COM4", 0});
  BroadcastChange({DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, {}, 0x10});
  ASSERT_EQ(usbSeen.size(), 3u);
  EXPECT_EQ(usbSeen[0].Name, u"\\\\?\\USB#VID_0001&PID_0002#s#{x}");
  EXPECT_EQ(usbSeen[1].Name, u"COM4");
  EXPECT_EQ(usbSeen[2].Event, DBT_DEVICEREMOVECOMPLETE);
  EXPECT_EQ(usbSeen[2].Mask, 0x10u);
  ASSERT_EQ(otherSeen.size(), 2u);  // ports and volumes reach every registered window
  EXPECT_EQ(otherSeen[0].Type, DBT_DEVTYP_PORT);

  EXPECT_TRUE(UnregisterDeviceNotification(a));
  EXPECT_FALSE(UnregisterDeviceNotification(a));
  BroadcastChange({DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, u"COM5", 0});
  EXPECT_EQ(usbSeen.size(), 3u);
  UnregisterDeviceNotification(b);
  DeallocateHWnd(usbWnd);
  DeallocateHWnd(otherWnd);
}

TEST(DeviceNotifyTest, KernelEventsBecomeRecordsAndRemovalsKeepTheirNames) {
  fs::path root = fs::temp_directory_path() / ("ryx-uevent-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::path usb = root / "devices/usb1/1-4";
  WriteLineFile(usb / "idVendor", "16c0");
  WriteLineFile(usb / "idProduct", "05dc");
  WriteLineFile(usb / "serial", "www.ryx.example#&");
  fs::path part = usb / "1-4:1.0/host1/block/sdc/sdc1";
  WriteLineFile(part / "partition", "1");
  WriteLineFile(part.parent_path() / "removable", "0");
  SetDeviceTreeRoots(root.string(), (root / "mounts").string());
  SetPortNamer([](const std::string& dev) { return dev == "/dev/ttyACM0" ? String(u"COM9") : String(); });

  auto arrive = TranslateUevent({"add", "usb", "usb_device", "1-4", usb.string(), "16c0/5dc/110"});
  ASSERT_EQ(arrive.size(), 1u);
  EXPECT_EQ(arrive[0].Event, DBT_DEVICEARRIVAL);
  EXPECT_EQ(arrive[0].Name, u"\\\\?\\USB#VID_16C0&PID_05DC#www.ryx.example__#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
  EXPECT_TRUE(TranslateUevent({"add", "usb", "usb_interface", "1-4:1.0", usb.string() + "/1-4:1.0", ""}).empty());
  EXPECT_TRUE(TranslateUevent({"bind", "usb", "usb_device", "1-4", usb.string(), ""}).empty());

  auto tty = TranslateUevent({"add", "tty", "", "ttyACM0", (root / "x/ttyACM0").string(), ""});
  ASSERT_EQ(tty.size(), 1u);
  EXPECT_EQ(tty[0].DeviceType, DBT_DEVTYP_PORT);
  EXPECT_EQ(tty[0].Name, u"COM9");
  EXPECT_TRUE(TranslateUevent({"add", "tty", "", "tty5", (root / "x/tty5").string(), ""}).empty());

  auto vol = TranslateUevent({"add", "block", "partition", "sdc1", part.string(), ""});
  ASSERT_EQ(vol.size(), 1u);  // a partition below a USB device counts as removable
  Char letter = DriveLetterFor("sdc1");
  EXPECT_EQ(vol[0].UnitMask, DWORD(1) << (letter - u'A'));

  // The folders are gone by the time the removals come.
  fs::remove_all(root);
  auto gone = TranslateUevent({"remove", "usb", "usb_device", "1-4", usb.string(), "16c0/5dc/110"});
  ASSERT_EQ(gone.size(), 1u);
  EXPECT_EQ(gone[0].Event, DBT_DEVICEREMOVECOMPLETE);
  EXPECT_EQ(gone[0].Name, arrive[0].Name);
  EXPECT_EQ(TranslateUevent({"remove", "tty", "", "ttyACM0", (root / "x/ttyACM0").string(), ""})[0].Name, u"COM9");
  EXPECT_EQ(TranslateUevent({"remove", "block", "partition", "sdc1", part.string(), ""})[0].UnitMask, vol[0].UnitMask);
  // An unknown device leaving is named from its event.
  auto unknown = TranslateUevent({"remove", "usb", "usb_device", "3-1", "/nowhere/3-1", "403/6001/600"});
  ASSERT_EQ(unknown.size(), 1u);
  EXPECT_EQ(unknown[0].Name, u"\\\\?\\USB#VID_0403&PID_6001#3-1#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
  EXPECT_TRUE(TranslateUevent({"remove", "usb", "usb_device", "3-1", "/nowhere/3-1", "zz/6001"}).empty());
  SetPortNamer(nullptr);
  SetDeviceTreeRoots("/sys", "/proc/self/mounts");
}

TEST(DeviceNotifyTest, DevicesPresentAtStartLeaveWithTheirNames) {
  fs::path root = fs::temp_directory_path() / ("ryx-present-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::path usb = root / "devices/usb2/2-1";
  WriteLineFile(usb / "idVendor", "0403");
  WriteLineFile(usb / "idProduct", "6001");
  WriteLineFile(usb / "serial", "A50285BI");
  fs::path tty = usb / "2-1:1.0/ttyUSB3/tty/ttyUSB3";
  WriteLineFile(tty / "dev", "188:3");
  fs::create_directories(root / "bus/usb/devices");
  fs::create_directories(root / "class/tty");
  fs::create_directory_symlink(usb, root / "bus/usb/devices/2-1");
  fs::create_directory_symlink(tty, root / "class/tty/ttyUSB3");
  SetDeviceTreeRoots(root.string(), (root / "mounts").string());
  SetPortNamer([](const std::string& dev) { return dev == "/dev/ttyUSB3" ? String(u"COM6") : String(); });
  RecordPresentDevices();
  Char letter = DriveLetterFor("sdq1");  // lettered by a query, never seen arriving

  const std::string usbPath = fs::canonical(usb).string(), ttyPath = fs::canonical(tty).string();
  fs::remove_all(root);
  auto port = TranslateUevent({"remove", "tty", "", "ttyUSB3", ttyPath, ""});
  ASSERT_EQ(port.size(), 1u);
  EXPECT_EQ(port[0].DeviceType, DBT_DEVTYP_PORT);
  EXPECT_EQ(port[0].Name, u"COM6");
  auto dev = TranslateUevent({"remove", "usb", "usb_device", "2-1", usbPath, "403/6001/600"});
  ASSERT_EQ(dev.size(), 1u);
  EXPECT_EQ(dev[0].Name, u"\\\\?\\USB#VID_0403&PID_6001#A50285BI#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
  auto vol = TranslateUevent({"remove", "block", "partition", "sdq1", "/gone/sdq1", ""});
  ASSERT_EQ(vol.size(), 1u);
  EXPECT_EQ(vol[0].UnitMask, DWORD(1) << (letter - u'A'));
  EXPECT_EQ(HeldDriveLetter("sdq1"), 0);  // the letter is free again
  EXPECT_TRUE(TranslateUevent({"remove", "block", "partition", "sdq1", "/gone/sdq1", ""}).empty());
  SetPortNamer(nullptr);
  SetDeviceTreeRoots("/sys", "/proc/self/mounts");
}

// The start-up record is read on the monitor's thread; a removal translated
// right after InitDevices still finds it (it waits for the record).
TEST(DeviceNotifyTest, DevicesPresentAtStartUpAreRecordedBeforeARemovalIsTranslated) {
  TTempHome home;
  fs::path root = fs::temp_directory_path() / ("ryx-startrec-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::path usb = root / "devices/usb2/2-4";
  WriteLineFile(usb / "idVendor", "16c0");
  WriteLineFile(usb / "idProduct", "05dc");
  WriteLineFile(usb / "serial", "QV0042");
  fs::create_directories(root / "bus/usb/devices");
  fs::create_directories(root / "class/tty");
  fs::create_directory_symlink(usb, root / "bus/usb/devices/2-4");
  SetDeviceTreeRoots(root.string(), (root / "mounts").string());
  const std::string usbPath = fs::canonical(usb).string();
  const bool started = InitDevices();
  auto dev = TranslateUevent({"remove", "usb", "usb_device", "2-4", usbPath, "16c0/5dc/100"});
  DoneDevices();
  SetDeviceTreeRoots("/sys", "/proc/self/mounts");
  fs::remove_all(root);
  ASSERT_TRUE(started);
  ASSERT_EQ(dev.size(), 1u);
  // The serial number comes from the record only (the event's own name has the port path).
  EXPECT_EQ(dev[0].Name, u"\\\\?\\USB#VID_16C0&PID_05DC#QV0042#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
}

TEST(DeviceNotifyTest, StartUpPublishesTheSerialMapAndStartsTheMonitor) {
  TTempHome home;
  EXPECT_TRUE(InitDevices());  // the kernel's event source is there without a daemon
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  DoneDevices();
  EXPECT_NE(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key), ERROR_SUCCESS);
}

}  // namespace
