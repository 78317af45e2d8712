#include <gtest/gtest.h>

#include "platform/devices/DeviceNotify.h"
#include "platform/devices/Wmi.h"
#include "platform/testing/Pump.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinReg.h"
#include "programmer/QvMessage.h"
#include "programmer/QvUsbDetector.h"

namespace {

const String kMap = u"HARDWARE\\DEVICEMAP\\SERIALCOMM";

class DetectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetQvMessageSink([this](const String& t) { Shown.push_back(t); });
  }
  void TearDown() override {
    SetQvMessageSink(nullptr);
    SetWmiObjectSource(nullptr);
    UnregisterSynthesizedKey(HKEY_LOCAL_MACHINE, kMap);
  }
  void Seed(std::vector<std::pair<String, String>> values) {
    RegisterSynthesizedKey(HKEY_LOCAL_MACHINE, kMap, [values] {
      std::vector<TRegValue> out;
      for (const auto& [n, d] : values) out.push_back(RegStringValue(n, d));
      return out;
    });
  }
  void Send(WPARAM event, const DEV_BROADCAST_HDR& rec) {
    SendMessage(Det.FWindowHandle, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&rec));
  }
  static DEV_BROADCAST_DEVICEINTERFACE Iface(const String& name) {
    DEV_BROADCAST_DEVICEINTERFACE r;
    r.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    r.dbcc_classguid = GUID_DEVINTERFACE_USB_DEVICE;
    r.dbcc_name = name;
    return r;
  }
  TQvUsbDetector Det{nullptr};
  std::vector<String> Shown;
};

TEST_F(DetectorTest, PortListOrderPaddingAndSkippedNames) {
  Seed({{u"\\Device\\Serial0", u"COM1"},
        {u"\\Device\\VCP0", u"COM12"},
        {u"\\Device\\com0com10", u"CNCA0"},
        {u"\\Device\\Foo", u"COM0"},
        {u"\\Device\\BthModem0", u"COM2"},
        {u"  \\Device\\Weird  ", u"COM123"},
        {u"\\Device\\VCP1", u"COM1234"},
        {u"\\Device\\Serial1", u"COM10"}});
  TStringList ports;
  ports.Add(u"stale");
  Det.GetAvailableComPorts(&ports, false);
  ASSERT_EQ(ports.Count(), 6);
  const char16_t* plain[] = {u"COM1", u"COM10", u"COM12", u"COM123", u"COM1234", u"COM2"};
  const std::intptr_t numbers[] = {1, 10, 12, 123, 1234, 2};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ports.Strings(i), plain[i]);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(ports.Objects(i)), numbers[i]);
  }
  Det.GetAvailableComPorts(&ports, true);
  const char16_t* named[] = {u"COM1   Serial com port", u"COM10  Serial com port", u"COM12  Virtual com port",
                             u"COM123 \\Device\\Weird", u"COM1234Virtual com port", u"COM2   Bluetooth com port"};
  ASSERT_EQ(ports.Count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ports.Strings(i), named[i]);

  // No serial map at all: an empty list, no message.
  UnregisterSynthesizedKey(HKEY_LOCAL_MACHINE, kMap);
  Det.GetAvailableComPorts(&ports, false);
  EXPECT_EQ(ports.Count(), 0);
  EXPECT_TRUE(Shown.empty());
}

TEST_F(DetectorTest, SplitStrPieces) {
  TStringList l;
  Det.SplitStr(u"a:b:", u":", &l);
  ASSERT_EQ(l.Count(), 3);
  EXPECT_EQ(l.Strings(2), u"");
  Det.SplitStr(u"plain", u":", &l);
  EXPECT_EQ(l.CommaText(), u"plain");
  Det.SplitStr(String(u"x:y\0:z", 7), u":", &l);
  EXPECT_EQ(l.CommaText(), u"x,y");
}

TEST_F(DetectorTest, InterfaceNotificationsNameTheDevice) {
  std::vector<std::tuple<String, String, String, Integer>> seen;
  Det.OnUsbDetect = [&](TObject*, const String& n, const String& v, const String& p, Integer io) {
    seen.emplace_back(n, v, p, io);
  };
  const String guid = u"#{A5DCBF10-6530-11D2-901F-00C04FB951ED}";
  Send(DBT_DEVICEARRIVAL, Iface(u"\\\\?\\USB#VID_16C0&PID_05DC#" + QvMakerWebAddress + guid));
  Send(DBT_DEVICEARRIVAL, Iface(u"\\\\?\\USB#VID_16C0&PID_05DC#someone.else" + guid));
  Send(DBT_DEVICEARRIVAL, Iface(u"\\\\?\\USB#VID_0403&PID_6001#A50285BI" + guid));
  Send(DBT_DEVICEREMOVECOMPLETE, Iface(u"\\\\?\\USB#VID_16C0&PID_05DC#someone.else" + guid));
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], std::make_tuple(String(u"RYX-VORIRA"), String(u"VID_16C0"), String(u"PID_05DC"), 1));
  EXPECT_EQ(std::get<0>(seen[1]), u"VORira clone");
  EXPECT_EQ(seen[2], std::make_tuple(String(u"A50285BI"), String(u"VID_0403"), String(u"PID_6001"), 1));
  EXPECT_EQ(seen[3], std::make_tuple(String(u"VORira clone"), String(u"VID_16C0"), String(u"PID_05DC"), 0));
  EXPECT_EQ(Det.FLastArrivalAName->CommaText(), u"RYX-VORIRA,A50285BI");

  Send(DBT_DEVICEARRIVAL, Iface(u"no separators here"));
  EXPECT_EQ(Shown, std::vector<String>{u"Debug error #1"});
  EXPECT_EQ(seen.size(), 4u);
}

TEST_F(DetectorTest, PortAndVolumeNotificationsAndDeferredLookUps) {
  std::vector<std::pair<String, Integer>> ports, vols;
  Det.OnComDetect = [&](TObject*, const String& p, Integer io) { ports.emplace_back(p, io); };
  Det.OnVolumeDetect = [&](TObject*, const String& v, Integer io) { vols.emplace_back(v, io); };
  std::vector<TQvComInfo> comInfo;
  Det.OnNewComInfo = [&](TObject*, const std::vector<TQvComInfo>& r, Integer n) {
    comInfo = r;
    EXPECT_EQ(n, Integer(r.size()));
  };
  std::vector<TQvVolInfo> volInfo;
  Det.OnNewVolInfo = [&](TObject*, const std::vector<TQvVolInfo>& r, Integer) { volInfo = r; };
  SetWmiObjectSource([] {
    return std::vector<TWmiObject>{
        {u"Win32_PnPEntity",
         {{u"Caption", u"USB Serial Port (COM3)"},
          {u"DeviceID", u"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"},
          {u"Manufacturer", u"FTDI"},
          {u"PNPDeviceID", u"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"}},
         {}},
        {u"Win32_DiskDrive",
         {{u"Caption", u"Stick USB Device"},
          {u"DeviceID", u"\\\\.\\PHYSICALDRIVE1"},
          {u"MediaType", u"Removable Media"},
          {u"PNPDeviceID", u"USBSTOR\\DISK&VEN_X\\A50285BI&0"}},
         {{u"Win32_DiskDriveToDiskPartition", u"Win32_DiskPartition", u"Disk #1, Partition #0"}}},
        {u"Win32_DiskPartition", {{u"DeviceID", u"Disk #1, Partition #0"}},
         {{u"Win32_LogicalDiskToPartition", u"Win32_LogicalDisk", u"E:"}}},
        {u"Win32_LogicalDisk",
         {{u"DeviceID", u"E:"}, {u"FileSystem", u"FAT32"}, {u"FreeSpace", u"1000"}, {u"Size", u"n/a"}},
         {}},
    };
  });

  DEV_BROADCAST_PORT port;
  port.dbch_devicetype = DBT_DEVTYP_PORT;
  port.dbcp_name = u"COM3";
  Send(DBT_DEVICEARRIVAL, port);  // no USB name recorded yet: nothing deferred
  PumpPending();
  EXPECT_TRUE(comInfo.empty());

  Send(DBT_DEVICEARRIVAL, Iface(u"\\\\?\\USB#VID_0403&PID_6001#A50285BI#{x}"));
  Send(DBT_DEVICEARRIVAL, port);
  PumpPending();
  ASSERT_EQ(comInfo.size(), 1u);
  EXPECT_EQ(comInfo[0].sPort, u"COM3");
  EXPECT_EQ(comInfo[0].iPort, 3);
  EXPECT_EQ(comInfo[0].PortType, u"USBSerialPort");
  EXPECT_EQ(comInfo[0].VID, u"VID_0403");
  EXPECT_EQ(comInfo[0].Serial, u"A50285BI");
  EXPECT_EQ(comInfo[0].Chip, u"FT232R");
  EXPECT_EQ(Det.Ft232Rcount, 1);
  // A port of that name leaving drops the adapter from the list.
  Send(DBT_DEVICEREMOVECOMPLETE, port);
  EXPECT_EQ(Det.Ft232Rcount, 0);
  EXPECT_EQ(Det.ComPort, "COM3");
  DEV_BROADCAST_PORT longName;
  longName.dbch_devicetype = DBT_DEVTYP_PORT;
  longName.dbcp_name = String(300, u'P');
  Send(DBT_DEVICEREMOVECOMPLETE, longName);  // the record's name holds at most 261 characters
  EXPECT_EQ(Det.ComPort, std::string(261, 'P'));
  ports.pop_back();

  DEV_BROADCAST_VOLUME vol;
  vol.dbch_devicetype = DBT_DEVTYP_VOLUME;
  vol.dbcv_unitmask = 0x10 | 0x40;  // E and G: the lowest counts
  Send(DBT_DEVICEREMOVECOMPLETE, vol);  // a removal still asks for the details
  PumpPending();
  ASSERT_EQ(volInfo.size(), 1u);
  EXPECT_EQ(volInfo[0].DeviceID, u"E:");
  EXPECT_EQ(volInfo[0].FreeSpace, 1000);
  EXPECT_EQ(volInfo[0].Size, -1);
  EXPECT_EQ(volInfo[0].FulName, u"Stick USB Device");
  EXPECT_EQ(volInfo[0].PNPDeviceID, u"A50285BI");
  vol.dbcv_unitmask = 0;
  Send(DBT_DEVICEARRIVAL, vol);
  EXPECT_EQ(ports, (std::vector<std::pair<String, Integer>>{{u"COM3", 1}, {u"COM3", 1}, {u"COM3", 0}}));
  EXPECT_EQ(vols, (std::vector<std::pair<String, Integer>>{{u"E", 0}, {u"Y", 1}}));

  EXPECT_EQ(Det.GetAvailableVolumens(), 1);
  EXPECT_EQ(Det.QvAllVolInfo[0].PNPDeviceID, u"A50285BI");
  EXPECT_TRUE(Shown.empty());
}

TEST_F(DetectorTest, VolumeWalkTakesIdsAndValuesAsTheTextShowsThem) {
  // Ids with a backslash and a quote go back into the association queries
  // intact; a value ending in a backslash still ends at its closing quote.
  SetWmiObjectSource([] {
    return std::vector<TWmiObject>{
        {u"Win32_DiskDrive",
         {{u"Caption", u"Stick\\"},
          {u"DeviceID", u"\\\\.\\PHYSICAL\"DRIVE1"},
          {u"MediaType", u"Removable Media"},
          {u"PNPDeviceID", u"USBSTOR\\DISK&VEN_X\\SER1&0"}},
         {{u"Win32_DiskDriveToDiskPartition", u"Win32_DiskPartition", u"Disk\\1, Partition #0"}}},
        {u"Win32_DiskPartition", {{u"DeviceID", u"Disk\\1, Partition #0"}},
         {{u"Win32_LogicalDiskToPartition", u"Win32_LogicalDisk", u"F:"}}},
        {u"Win32_LogicalDisk", {{u"DeviceID", u"F:"}, {u"Size", u"4096"}}, {}},
    };
  });
  ASSERT_EQ(Det.GetAvailableVolumens(), 1);
  EXPECT_EQ(Det.QvAllVolInfo[0].DeviceID, u"F:");
  EXPECT_EQ(Det.QvAllVolInfo[0].Size, 4096);
  EXPECT_EQ(Det.QvAllVolInfo[0].FulName, u"Stick\\\\");  // backslashes stay doubled
  EXPECT_EQ(Det.QvAllVolInfo[0].PNPDeviceID, u"SER1");
  EXPECT_TRUE(Shown.empty());
}

TEST_F(DetectorTest, ComPortsExParsesEveryKindOfIdentifier) {
  SetWmiObjectSource([] {
    return std::vector<TWmiObject>{
        {u"Win32_PnPEntity",
         {{u"Caption", u"USB Serial Port (COM3)"},
          {u"DeviceID", u"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"},
          {u"Manufacturer", u"FTDI"}},
         {}},
        {u"Win32_PnPEntity",
         {{u"Caption", u"Standard Serial over Bluetooth link (COM9)"},
          {u"DeviceID", u"BTHENUM\\{0000}_LOCALMFG&0000\\7&1&0&001122_C00000000"},
          {u"Manufacturer", u"Microsoft"}},
         {}},
        {u"Win32_PnPEntity",
         {{u"Caption", u"Communications Port (COM1)"}, {u"DeviceID", u"ACPI\\PNP0501\\1"}},
         {}},
    };
  });
  ASSERT_EQ(Det.GetAvailableComPortsEx(), 3);
  EXPECT_EQ(Det.QvComInfo[0].Serial, u"A50285BI");
  EXPECT_EQ(Det.QvComInfo[0].Chip, u"FT232R");
  EXPECT_EQ(Det.QvComInfo[1].PortType, u"Bluetooth");
  EXPECT_EQ(Det.QvComInfo[1].Serial, u"7&1&0&001122_C00000000");
  EXPECT_EQ(Det.QvComInfo[2].Serial, u"PNP0501");
  EXPECT_EQ(Det.QvComInfo[2].VID, u"");
  EXPECT_EQ(Det.Ft232Rcount, 1);
  EXPECT_EQ(Det.GetAvailableComPortsEx(), 3);
  EXPECT_EQ(Det.Ft232Rcount, 1);  // one entry per serial number

  std::vector<String> names;
  Det.OnUsbDetect = [&](TObject*, const String& n, const String&, const String&, Integer) { names.push_back(n); };
  Det.CheckVORira();
  EXPECT_TRUE(names.empty());
  SetWmiObjectSource([] {
    return std::vector<TWmiObject>{
        {u"Win32_PnPEntity", {{u"Caption", u"VORira"}, {u"DeviceID", u"USB\\VID_16C0&PID_05DC\\" + QvMakerWebAddress}}, {}}};
  });
  Det.CheckVORira();
  EXPECT_EQ(names, std::vector<String>{u"RYX-VORIRA"});
}

}  // namespace
