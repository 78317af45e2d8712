#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/win/MessageLoop.h"
#include "programmer/QvLibUSB.h"

namespace fs = std::filesystem;

namespace {

// A device tree in the library's file layout: <root>/<bus>/<device>, each
// device file starting with its 18-byte device descriptor. Opening works (a
// plain file); every transfer fails, as the file takes no requests.
class FakeUsbTree {
 public:
  FakeUsbTree() {
    Root = fs::temp_directory_path() / ("ryx-usbfs-" + std::to_string(::getpid()));
    fs::remove_all(Root);
    fs::create_directories(Root);
    setenv("USB_DEVFS_PATH", Root.c_str(), 1);
  }
  ~FakeUsbTree() {
    unsetenv("USB_DEVFS_PATH");
    fs::remove_all(Root);
  }
  void Add(const std::string& bus, const std::string& dev, Word vid, Word pid, Word bcd) {
    fs::create_directories(Root / bus);
    const unsigned char d[18] = {18, 1, 0x10, 0x01, 0xFF, 0, 0, 8, Byte(vid & 0xFF), Byte(vid >> 8), Byte(pid & 0xFF),
                                 Byte(pid >> 8), Byte(bcd & 0xFF), Byte(bcd >> 8), 1, 2, 3, 0};
    std::ofstream(Root / bus / dev, std::ios::binary).write(reinterpret_cast<const char*>(d), sizeof d);
  }
  void Remove(const std::string& bus, const std::string& dev) { fs::remove(Root / bus / dev); }
  fs::path Root;
};

DEV_BROADCAST_DEVICEINTERFACE Iface(const String& name) {
  DEV_BROADCAST_DEVICEINTERFACE r;
  r.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  r.dbcc_classguid = GUID_DEVINTERFACE_USB_DEVICE;
  r.dbcc_name = name;
  return r;
}

TEST(QvLibUSBTest, PropertySetters) {
  TQvLibUSB usb(nullptr);
  struct {
    const char16_t* In;
    const char16_t* Out;
  } ids[] = {{u"16c0", u"$16C0"}, {u"5824", u"5824"}, {u"$16c0qvX", u"$16C0"}, {u"$abcd", u"$ABCD"},
             {u"$12345", u"$12345"}, {u"", u"$16C0"}, {u"$", u"$16C0"},
             {u"99999999999", u"$16C0"}};
  for (auto c : ids) {
    usb.SetVID(c.In);
    EXPECT_EQ(usb.VID(), c.Out) << StringToUtf8(c.In);
  }
  usb.SetPID(u"xyz");
  EXPECT_EQ(usb.PID(), u"$05DC");
  usb.SetBufferSize(100);
  EXPECT_EQ(usb.BufferSize(), 256);
  usb.SetBufferSize(70000);
  EXPECT_EQ(usb.BufferSize(), 65634);
  EXPECT_EQ(usb.DevBuffer.size(), 1024u);  // until loading ends
  usb.Loaded();
  EXPECT_EQ(usb.DevBuffer.size(), 65634u);
  EXPECT_EQ(usb.Version(), u"1.0");
}

TEST(QvLibUSBTest, WithoutDeviceEverythingFailsQuietly) {
  FakeUsbTree tree;
  TQvLibUSB usb(nullptr);
  int disconnects = 0;
  usb.OnDisconnected = [&](TObject*) { ++disconnects; };
  usb.SetConnected(true);
  EXPECT_FALSE(usb.Connected());
  usb.DevBuffer[0] = 'k';
  TUsbCtrlSet set;
  set.bRequest = 0x63;
  set.wLength = 200;
  EXPECT_EQ(usb.DevRead3(set), -1);
  EXPECT_EQ(usb.DevBuffer[0], 'k');
  EXPECT_FALSE(usb.DevRead(0x63, 0, 0, 10));
  EXPECT_FALSE(usb.DevWrite(1, 0, 0, 10));
  EXPECT_FALSE(usb.DevInterruptWrite(1, "abc", 3, 10));
  EXPECT_EQ(usb.GetStrFromBuffer(), "k");
  usb.ClearDevBuf();
  EXPECT_EQ(usb.GetStrFromBuffer(), "");
  EXPECT_GE(disconnects, 1);
}

TEST(QvLibUSBTest, FindsTheDeviceInTheTreeAndTransfersFailCleanly) {
  FakeUsbTree tree;
  tree.Add("001", "001", 0x1D6B, 0x0002, 0x0100);
  tree.Add("001", "005", 0x16C0, 0x05DC, 0x0110);
  TQvLibUSB usb(nullptr);
  int connects = 0;
  usb.OnConnected = [&](TObject*) { ++connects; };
  usb.SetVID(u"$16C0");
  usb.SetPID(u"$05DC");
  // Opening works, claiming the interface does not: a clean disconnect.
  usb.ConnectVUSB();
  EXPECT_FALSE(usb.Connected());
  EXPECT_EQ(connects, 0);

  TMessage m{WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0, 0};
  auto rec = Iface(u"\\\\?\\USB#VID_16C0&PID_05DC#x#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
  m.LParam = reinterpret_cast<LPARAM>(&rec);
  // A vendor number beyond 16 bits is kept as given and matches no device.
  usb.SetVID(u"$116C0");
  usb.WMDeviceChange(m);
  EXPECT_FALSE(usb.Connected());
  usb.SetVID(u"$16C0");

  // A notification of our device opens it without a claim.
  usb.WMDeviceChange(m);
  ASSERT_TRUE(usb.Connected());
  EXPECT_EQ(connects, 1);
  EXPECT_EQ(usb.DeviceVersion(), u"1.16");
  EXPECT_EQ(usb.InfStrings()->Count(), 0);  // string requests fail on the fake

  // Transfers fail with the library's negative code and leave the buffer alone.
  usb.DevBuffer[0] = 'k';
  TUsbCtrlSet set;
  set.bRequest = 0x63;
  set.wLength = 200;
  EXPECT_LT(usb.DevRead3(set), 0);
  EXPECT_EQ(usb.DevBuffer[0], 'k');
  EXPECT_FALSE(usb.DevRead2(set));
  EXPECT_FALSE(usb.DevWriteOffset2(set, 0));
  // Lengths beyond the buffer are refused before any transfer.
  set.wLength = 1024;
  EXPECT_EQ(usb.DevRead3(set), -1);
  EXPECT_FALSE(usb.DevWriteOffset(1, 0, 0, 10, 1020));
  EXPECT_FALSE(usb.DevWriteOffset(1, 0, 0, 10, -1));
  EXPECT_FALSE(usb.DevInterruptRead(1, 5000, 10));

  // Another device coming or going leaves ours open.
  auto other = Iface(u"\\\\?\\USB#VID_0403&PID_6001#A5#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
  m.LParam = reinterpret_cast<LPARAM>(&other);
  m.WParam = DBT_DEVICEREMOVECOMPLETE;
  usb.WMDeviceChange(m);
  EXPECT_TRUE(usb.Connected());
  m.WParam = DBT_DEVICEARRIVAL;
  usb.WMDeviceChange(m);
  EXPECT_EQ(connects, 1);  // not reopened
  // A second programmer leaving while ours stays: still open.
  tree.Add("002", "003", 0x16C0, 0x05DC, 0x0110);
  tree.Remove("002", "003");
  m.LParam = reinterpret_cast<LPARAM>(&rec);
  m.WParam = DBT_DEVICEREMOVECOMPLETE;
  usb.WMDeviceChange(m);
  EXPECT_TRUE(usb.Connected());
  // Ours leaving closes it.
  int disconnects = 0;
  usb.OnDisconnected = [&](TObject*) { ++disconnects; };
  tree.Remove("001", "005");
  usb.WMDeviceChange(m);
  EXPECT_FALSE(usb.Connected());
  EXPECT_EQ(disconnects, 1);
  EXPECT_EQ(usb.DeviceVersion(), u"");
}

}  // namespace
