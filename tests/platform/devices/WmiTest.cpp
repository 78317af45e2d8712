#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/devices/DeviceTree.h"
#include "platform/devices/Wmi.h"
#include "tests/support/TestUtil.h"

namespace fs = std::filesystem;

namespace {

TWmiObject Obj(const String& cls, std::vector<TWmiProperty> props, std::vector<TWmiLink> links = {}) {
  return TWmiObject{cls, std::move(props), std::move(links)};
}

std::vector<TWmiObject> Canned() {
  return {
      Obj(u"Win32_PnPEntity", {{u"Caption", u"USB Serial Port (COM3)"},
                               {u"DeviceID", u"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"},
                               {u"Manufacturer", u"FTDI"},
                               {u"PNPDeviceID", u"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"}}),
      Obj(u"Win32_PnPEntity", {{u"Caption", u"VORira USB \"ISP\""}, {u"DeviceID", u"USB\\VID_16C0&PID_05DC\\x"}}),
      Obj(u"Win32_DiskDrive",
          {{u"Caption", u"Stick USB Device"},
           {u"DeviceID", u"\\\\.\\PHYSICALDRIVE1"},
           {u"MediaType", u"Removable Media"},
           {u"PNPDeviceID", u"USBSTOR\\DISK&VEN_X\\SER123&0"}},
          {{u"Win32_DiskDriveToDiskPartition", u"Win32_DiskPartition", u"Disk #1, Partition #0"}}),
      Obj(u"Win32_DiskPartition", {{u"DeviceID", u"Disk #1, Partition #0"}},
          {{u"Win32_LogicalDiskToPartition", u"Win32_LogicalDisk", u"E:"}}),
      Obj(u"Win32_LogicalDisk", {{u"DeviceID", u"E:"}, {u"FileSystem", u"VFAT"}, {u"FreeSpace", u"1000"}}),
  };
}

class WmiTest : public ::testing::Test {
 protected:
  void SetUp() override { SetWmiObjectSource(Canned); }
  void TearDown() override { SetWmiObjectSource(nullptr); }
  std::vector<String> Run(StringView q, bool expectOk = true) {
    std::vector<String> out;
    EXPECT_EQ(WmiExecQuery(q, out), expectOk) << StringToUtf8(String(q));
    return out;
  }
};

TEST_F(WmiTest, ObjectTextEscapesAndShowsSelectedPropertiesOnly) {
  auto r = Run(u"SELECT Caption,DeviceID  from Win32_PnPEntity WHERE Caption Like \"%(COM%\" ");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0],
            u"\ninstance of Win32_PnPEntity\n{\n\tCaption = \"USB Serial Port (COM3)\";\n"
            u"\tDeviceID = \"FTDIBUS\\\\VID_0403+PID_6001+A50285BIA\\\\0000\";\n};\n");
  auto all = Run(u"SELECT *  FROM Win32_PnPEntity WHERE Caption Like \"%VORIRA%\"");
  ASSERT_EQ(all.size(), 1u);
  EXPECT_NE(all[0].find(u"Caption = \"VORira USB \\\"ISP\\\"\";"), String::npos);
}

TEST_F(WmiTest, WhereConditionsAndLikePatterns) {
  struct Case {
    const char16_t* Where;
    size_t Count;
  } cases[] = {
      {u"Caption Like \"%(COM3%\"  or PNPDeviceID Like \"%nothing%\"", 1},
      {u"Caption Like \"%(com3%\"", 1},  // letter case ignored
      {u"Caption Like \"USB_Serial%\"", 1},
      {u"Caption Like \"%([C]OM[0-9])\"", 1},
      {u"Caption Like \"%([^C]OM%\"", 0},
      {u"PNPDeviceID Like \"%A50285BIA%\" and NOT Caption = \"x\"", 1},
      {u"(Caption = \"x\" or Caption <> \"x\") and Manufacturer = \"FTDI\"", 1},
      {u"Manufacturer != \"FTDI\"", 0},  // a missing value matches nothing
      {u"Caption Like \"%\"", 2},
      {u"Caption Like \"%[%]%\"", 0},
  };
  for (const auto& c : cases) {
    auto r = Run(String(u"SELECT Caption FROM Win32_PnPEntity WHERE ") + c.Where);
    EXPECT_EQ(r.size(), c.Count) << StringToUtf8(c.Where);
  }
}

TEST_F(WmiTest, BadQueriesLeaveTheListUnchanged) {
  const char16_t* bad[] = {
      u"",
      u"SELEC Caption FROM Win32_PnPEntity",
      u"SELECT Caption FROM Win32_Nothing",
      u"SELECT Colour FROM Win32_PnPEntity",
      u"SELECT Caption FROM Win32_PnPEntity WHERE Caption Like \"%unterminated",
      u"SELECT Caption FROM Win32_PnPEntity WHERE (Caption = \"a\"",
      u"SELECT Caption FROM Win32_PnPEntity WHERE Caption Like \"[abc\"",
      u"ASSOCIATORS OF {Win32_DiskDrive.DeviceID=\"x\" WHERE AssocClass = Win32_DiskDriveToDiskPartition",
  };
  for (auto q : bad) {
    std::vector<String> out{u"kept"};
    EXPECT_FALSE(WmiExecQuery(q, out)) << StringToUtf8(q);
    EXPECT_EQ(out.size(), 1u);
  }
  // Hostile nesting is refused, not recursed without end.
  String deep = u"SELECT Caption FROM Win32_PnPEntity WHERE " + String(5000, u'(') + u"Caption = \"a\"" +
                String(5000, u')');
  std::vector<String> out;
  EXPECT_FALSE(WmiExecQuery(deep, out));
  // Nothing matching is a success with nothing added.
  EXPECT_TRUE(Run(u"SELECT Caption FROM Win32_PnPEntity WHERE Caption = \"none\"").empty());
}

TEST_F(WmiTest, AssociatorsWalkFromDriveToVolume) {
  // The drive's id as the object text shows it (doubled backslashes) is a valid literal.
  auto parts = Run(
      u"ASSOCIATORS OF {Win32_DiskDrive.DeviceID=\"\\\\\\\\.\\\\PHYSICALDRIVE1\"} WHERE AssocClass = "
      u"Win32_DiskDriveToDiskPartition ");
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_NE(parts[0].find(u"DeviceID = \"Disk #1, Partition #0\";"), String::npos);
  auto vols = Run(
      u"ASSOCIATORS OF {Win32_DiskPartition.DeviceID=\"Disk #1, Partition #0\"} WHERE AssocClass = "
      u"Win32_LogicalDiskToPartition ");
  ASSERT_EQ(vols.size(), 1u);
  EXPECT_NE(vols[0].find(u"DeviceID = \"E:\";"), String::npos);
  EXPECT_TRUE(Run(u"ASSOCIATORS OF {Win32_DiskPartition.DeviceID=\"Disk #1, Partition #0\"} WHERE AssocClass = "
                  u"Win32_DiskDriveToDiskPartition")
                  .empty());
}

TEST_F(WmiTest, EscapedDeviceTextsStayLiterals) {
  // A device text with quotes, backslashes and wildcards matches only itself.
  String hostile = u"a\"%_[x\\";
  SetWmiObjectSource([&] { return std::vector<TWmiObject>{Obj(u"Win32_PnPEntity", {{u"PNPDeviceID", hostile}}),
                                                          Obj(u"Win32_PnPEntity", {{u"PNPDeviceID", u"a\"zzzx\\"}})}; });
  auto r = Run(u"SELECT PNPDeviceID FROM Win32_PnPEntity WHERE PNPDeviceID Like \"%" + WqlLikeEscape(hostile) + u"%\"");
  EXPECT_EQ(r.size(), 1u);
  r = Run(u"SELECT PNPDeviceID FROM Win32_PnPEntity WHERE PNPDeviceID = \"" + WqlEscape(hostile) + u"\"");
  EXPECT_EQ(r.size(), 1u);
}

using test_support::WriteLineFile;

TEST(DeviceTreeTest, SysfsTreeGivesPortsDevicesAndVolumes) {
  fs::path root = fs::temp_directory_path() / ("ryx-sysfs-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::path usb = root / "devices/pci0000:00/usb1/1-1";
  WriteLineFile(usb / "idVendor", "0403");
  WriteLineFile(usb / "idProduct", "6001");
  WriteLineFile(usb / "serial", "A502#85&B\x01I");
  WriteLineFile(usb / "manufacturer", "FTDI");
  WriteLineFile(usb / "product", "FT232R USB UART");
  fs::create_directories(usb / "1-1:1.0/ttyUSB0/tty/ttyUSB0");
  fs::create_directories(root / "bus/usb/drivers/ftdi_sio");
  fs::create_directory_symlink(root / "bus/usb/drivers/ftdi_sio", usb / "1-1:1.0/driver");
  fs::create_directories(root / "bus/usb/devices");
  fs::create_directory_symlink(usb, root / "bus/usb/devices/1-1");
  fs::create_directories(root / "class/tty");
  fs::create_directory_symlink(usb / "1-1:1.0/ttyUSB0/tty/ttyUSB0", root / "class/tty/ttyUSB0");
  fs::create_directory_symlink(usb / "1-1:1.0/ttyUSB0", usb / "1-1:1.0/ttyUSB0/tty/ttyUSB0/device");
  // A USB stick with one mounted partition.
  fs::path stick = root / "devices/pci0000:00/usb1/1-2";
  WriteLineFile(stick / "idVendor", "abcd");
  WriteLineFile(stick / "idProduct", "1234");
  WriteLineFile(stick / "serial", "SER123");
  fs::path scsi = stick / "1-2:1.0/host0/target0:0:0/0:0:0:0";
  WriteLineFile(scsi / "vendor", "Acme");
  WriteLineFile(scsi / "model", "Stick");
  WriteLineFile(scsi / "rev", "1.0");
  fs::path disk = scsi / "block/sdb";
  WriteLineFile(disk / "removable", "1");
  WriteLineFile(disk / "size", "2048");
  fs::create_directory_symlink(scsi, disk / "device");
  WriteLineFile(disk / "sdb1/partition", "1");
  WriteLineFile(disk / "sdb1/size", "1024");
  fs::create_directories(root / "block");
  fs::create_directory_symlink(disk, root / "block/sdb");
  fs::create_directory_symlink(stick, root / "bus/usb/devices/1-2");
  WriteLineFile(root / "mounts", "/dev/sdb1 " + root.string() + " vfat rw 0 0");

  SetDeviceTreeRoots(root.string(), (root / "mounts").string());
  SetPortNamer([](const std::string& dev) { return dev == "/dev/ttyUSB0" ? String(u"COM7") : String(); });
  std::vector<String> out;
  EXPECT_TRUE(WmiExecQuery(u"SELECT Caption,DeviceID,Manufacturer FROM Win32_PnPEntity WHERE Caption Like \"%(COM%\" ", out));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_NE(out[0].find(u"Caption = \"USB Serial Port (COM7)\";"), String::npos);
  // Separators and control bytes of the serial never reach the identifier.
  EXPECT_NE(out[0].find(u"DeviceID = \"FTDIBUS\\\\VID_0403+PID_6001+A502_85_B_IA\\\\0000\";"), String::npos);
  EXPECT_NE(out[0].find(u"Manufacturer = \"FTDI\";"), String::npos);

  out.clear();
  EXPECT_TRUE(WmiExecQuery(u"select Caption,PNPDeviceID,DeviceID  from Win32_diskdrive where (MediaType Like "
                           u"\"Removable Media%\" or MediaType Like \"External hard disk%\") ",
                           out));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_NE(out[0].find(u"Caption = \"Acme Stick USB Device\";"), String::npos);
  EXPECT_NE(out[0].find(u"PNPDeviceID = \"USBSTOR\\\\DISK&VEN_Acme&PROD_Stick&REV_1.0\\\\SER123&0\";"), String::npos);
  out.clear();
  EXPECT_TRUE(WmiExecQuery(u"ASSOCIATORS OF {Win32_DiskPartition.DeviceID=\"Disk #0, Partition #0\"} WHERE "
                           u"AssocClass = Win32_LogicalDiskToPartition ",
                           out));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_NE(out[0].find(u"DeviceID = \"" + String(1, DriveLetterFor("sdb1")) + u":\";"), String::npos);
  EXPECT_NE(out[0].find(u"FileSystem = \"VFAT\";"), String::npos);
  EXPECT_NE(out[0].find(u"FreeSpace = \""), String::npos);

  SetPortNamer(nullptr);
  SetDeviceTreeRoots("/sys", "/proc/self/mounts");
  ReleaseDriveLetter("sdb1");
  fs::remove_all(root);
}

TEST(DeviceTreeTest, InterfaceNamesAndDriveLetters) {
  EXPECT_EQ(UsbInterfaceName(0x16C0, 0x05DC, "www.example.org", "1-1"),
            u"\\\\?\\USB#VID_16C0&PID_05DC#www.example.org#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
  EXPECT_EQ(UsbInterfaceName(0x0403, 0x6001, "", "1-1.2"),
            u"\\\\?\\USB#VID_0403&PID_6001#1-1.2#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
  EXPECT_EQ(SanitizeDeviceText(std::string(300, 'x')).size(), 126u);
  EXPECT_EQ(SanitizeDeviceText("a#b&c\\d,e\xC3\xA9"), u"a_b_c_d_e__");

  Char d = DriveLetterFor("sdx1");
  Char e = DriveLetterFor("sdy1");
  EXPECT_NE(d, e);
  EXPECT_EQ(DriveLetterFor("sdx1"), d);
  ReleaseDriveLetter("sdx1");
  EXPECT_EQ(DriveLetterFor("sdz1"), d);  // the freed letter is reused first
  ReleaseDriveLetter("sdy1");
  ReleaseDriveLetter("sdz1");
}

}  // namespace
