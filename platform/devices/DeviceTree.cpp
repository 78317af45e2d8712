#include "platform/devices/DeviceTree.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/comm/SerialPorts.h"
#include "platform/devices/Wmi.h"
#include "platform/rtl/StrUtils.h"

namespace fs = std::filesystem;

namespace {

std::mutex gTreeLock;
std::string gSys = "/sys";
std::string gMounts = "/proc/self/mounts";
TPortNamer gNamer;
std::array<std::string, 26> gLetters;  // block device name per letter, "" when free

std::string ReadAttr(const fs::path& dir, const char* name) {
  std::ifstream f(dir / name);
  std::string s;
  if (!f || !std::getline(f, s)) return {};
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

bool ParseHex16(const std::string& s, Word& out) {
  const Int64 v = HexNumberValue(std::string_view(s), 4);
  if (v < 0) return false;
  out = Word(v);
  return true;
}

String Hex4(Word v) {
  static const char* digits = "0123456789ABCDEF";
  String s;
  for (int shift = 12; shift >= 0; shift -= 4) s += Char(digits[(v >> shift) & 0xF]);
  return s;
}

String Ascii(const std::string& s) { return SanitizeDeviceText(s, 126); }

struct TMount {
  std::string Dir, Type;
};

TMount MountOf(const std::string& devName) {
  std::ifstream f(MountsFile());
  std::string line;
  while (std::getline(f, line)) {
    std::istringstream in(line);
    std::string dev, dir, type;
    if (!(in >> dev >> dir >> type)) continue;
    if (dev == "/dev/" + devName) return {dir, type};
  }
  return {};
}

void AddProp(TWmiObject& o, const String& name, const String& value) { o.Properties.push_back({name, value}); }

void AddUsbEntities(std::vector<TWmiObject>& out) {
  std::error_code ec;
  fs::path dir = fs::path(SysRoot()) / "bus/usb/devices";
  std::vector<fs::path> entries;
  for (const auto& e : fs::directory_iterator(dir, ec)) entries.push_back(e.path());
  std::sort(entries.begin(), entries.end());
  for (const auto& p : entries) {
    TUsbDeviceInfo info;
    if (!ReadUsbDevice(p.string(), info)) continue;
    TWmiObject o;
    o.Class = u"Win32_PnPEntity";
    String id = u"USB\\VID_" + Hex4(info.Vendor) + u"&PID_" + Hex4(info.Product) + u"\\" +
                (info.Serial.empty() ? Ascii(info.BusPath) : Ascii(info.Serial));
    String caption = info.ProductName.empty() ? String(u"USB Composite Device") : Ascii(info.ProductName);
    AddProp(o, u"Caption", caption);
    AddProp(o, u"Description", caption);
    AddProp(o, u"DeviceID", id);
    if (!info.Manufacturer.empty()) AddProp(o, u"Manufacturer", Ascii(info.Manufacturer));
    AddProp(o, u"Name", caption);
    AddProp(o, u"PNPDeviceID", id);
    AddProp(o, u"Status", u"OK");
    out.push_back(std::move(o));
  }
}

void AddSerialPorts(std::vector<TWmiObject>& out) {
  std::error_code ec;
  fs::path dir = fs::path(SysRoot()) / "class/tty";
  std::vector<fs::path> entries;
  for (const auto& e : fs::directory_iterator(dir, ec)) entries.push_back(e.path());
  std::sort(entries.begin(), entries.end());
  const TSerialPortSnapshot ports;  // one scan for all the entries
  for (const auto& p : entries) {
    std::string name = p.filename().string();
    String port = PortNameFor("/dev/" + name);
    if (port.empty()) continue;
    TUsbDeviceInfo usb;
    bool isUsb = UsbAncestor((p / "device").string(), usb);
    TWmiObject o;
    o.Class = u"Win32_PnPEntity";
    String caption, id;
    String serial = usb.Serial.empty() ? Ascii(usb.BusPath) : Ascii(usb.Serial);
    if (!isUsb) {
      caption = u"Communications Port (" + port + u")";
      id = u"ACPI\\PNP0501\\" + Ascii(name);
    } else if (usb.Driver == "ftdi_sio") {
      // The vendor driver's naming: "+"-separated, the serial with the port's letter appended.
      caption = u"USB Serial Port (" + port + u")";
      id = u"FTDIBUS\\VID_" + Hex4(usb.Vendor) + u"+PID_" + Hex4(usb.Product) + u"+" + serial + u"A\\0000";
    } else {
      caption = u"USB Serial Device (" + port + u")";
      id = u"USB\\VID_" + Hex4(usb.Vendor) + u"&PID_" + Hex4(usb.Product) + u"\\" + serial;
    }
    AddProp(o, u"Caption", caption);
    AddProp(o, u"Description", caption);
    AddProp(o, u"DeviceID", id);
    AddProp(o, u"Manufacturer", isUsb && !usb.Manufacturer.empty() ? Ascii(usb.Manufacturer) : String(u"(Standard port types)"));
    AddProp(o, u"Name", caption);
    AddProp(o, u"PNPDeviceID", id);
    AddProp(o, u"Status", u"OK");
    out.push_back(std::move(o));
  }
}

void AddDisks(std::vector<TWmiObject>& out) {
  std::error_code ec;
  fs::path dir = fs::path(SysRoot()) / "block";
  std::vector<fs::path> entries;
  for (const auto& e : fs::directory_iterator(dir, ec)) entries.push_back(e.path());
  std::sort(entries.begin(), entries.end());
  int index = -1;
  for (const auto& p : entries) {
    std::string name = p.filename().string();
    if (name.rfind("sd", 0) != 0 && name.rfind("mmcblk", 0) != 0) continue;
    ++index;
    TUsbDeviceInfo usb;
    bool isUsb = UsbAncestor((p / "device").string(), usb);
    bool removable = ReadAttr(p, "removable") == "1";
    if (!isUsb && !removable) continue;
    std::string vendor = ReadAttr(p / "device", "vendor"), model = ReadAttr(p / "device", "model"),
                rev = ReadAttr(p / "device", "rev");
    String drivePath = u"\\\\.\\PHYSICALDRIVE" + IntToStr(index);
    TWmiObject d;
    d.Class = u"Win32_DiskDrive";
    String caption = Trim(Ascii(vendor + " " + model));
    if (isUsb) caption += u" USB Device";
    std::string serial = usb.Serial.empty() ? usb.BusPath : usb.Serial;
    String pnp = String(isUsb ? u"USBSTOR" : u"SCSI") + u"\\DISK&VEN_" + Ascii(vendor) + u"&PROD_" + Ascii(model) +
                 u"&REV_" + Ascii(rev) + u"\\" + Ascii(serial) + u"&0";
    unsigned long long sectors = std::strtoull(ReadAttr(p, "size").c_str(), nullptr, 10);
    AddProp(d, u"Caption", caption);
    AddProp(d, u"DeviceID", drivePath);
    AddProp(d, u"Index", IntToStr(index));
    AddProp(d, u"InterfaceType", isUsb ? u"USB" : u"SCSI");
    AddProp(d, u"MediaType", removable ? u"Removable Media" : u"External hard disk media");
    AddProp(d, u"Model", caption);
    AddProp(d, u"PNPDeviceID", pnp);
    AddProp(d, u"SerialNumber", Ascii(serial));
    AddProp(d, u"Size", IntToStr(Int64(sectors * 512)));

    std::vector<fs::path> parts;
    for (const auto& e : fs::directory_iterator(p, ec))
      if (fs::exists(e.path() / "partition")) parts.push_back(e.path());
    std::sort(parts.begin(), parts.end());
    int pi = 0;
    for (const auto& part : parts) {
      std::string pname = part.filename().string();
      String partId = u"Disk #" + IntToStr(index) + u", Partition #" + IntToStr(pi++);
      d.Links.push_back({u"Win32_DiskDriveToDiskPartition", u"Win32_DiskPartition", partId});
      TWmiObject po;
      po.Class = u"Win32_DiskPartition";
      unsigned long long psec = std::strtoull(ReadAttr(part, "size").c_str(), nullptr, 10);
      AddProp(po, u"Caption", partId);
      AddProp(po, u"DeviceID", partId);
      AddProp(po, u"DiskIndex", IntToStr(index));
      AddProp(po, u"Index", IntToStr(pi - 1));
      AddProp(po, u"Size", IntToStr(Int64(psec * 512)));
      Char letter = DriveLetterFor(pname);
      if (letter != 0) {
        String drive = String(1, letter) + u":";
        po.Links.push_back({u"Win32_LogicalDiskToPartition", u"Win32_LogicalDisk", drive});
        TWmiObject ld;
        ld.Class = u"Win32_LogicalDisk";
        TMount m = MountOf(pname);
        AddProp(ld, u"Caption", drive);
        AddProp(ld, u"DeviceID", drive);
        AddProp(ld, u"DriveType", u"2");
        Int64 size = Int64(psec * 512);
        if (!m.Dir.empty()) {
          AddProp(ld, u"FileSystem", UpperCase(Ascii(m.Type)));
          struct statvfs st {};
          if (statvfs(m.Dir.c_str(), &st) == 0) {
            AddProp(ld, u"FreeSpace", IntToStr(Int64(st.f_bavail) * Int64(st.f_frsize)));
            size = Int64(st.f_blocks) * Int64(st.f_frsize);
          }
        }
        AddProp(ld, u"Size", IntToStr(size));
        AddProp(ld, u"VolumeName", u"");
        AddProp(ld, u"VolumeSerialNumber", u"");
        out.push_back(std::move(ld));
      }
      out.push_back(std::move(po));
    }
    out.push_back(std::move(d));
  }
}

}  // namespace

String SanitizeDeviceText(const std::string& Raw, size_t MaxLen) {
  String s;
  for (unsigned char c : Raw) {
    if (s.size() >= MaxLen) break;
    bool ok = c >= 0x20 && c < 0x7F && c != '#' && c != '&' && c != '\\' && c != ',';
    s += ok ? Char(c) : u'_';
  }
  return Trim(s);
}

String UsbInterfaceName(Word Vendor, Word Product, const std::string& Serial, const std::string& BusPath) {
  String inst = SanitizeDeviceText(Serial);
  if (inst.empty()) inst = SanitizeDeviceText(BusPath);
  return u"\\\\?\\USB#VID_" + Hex4(Vendor) + u"&PID_" + Hex4(Product) + u"#" + inst +
         u"#{A5DCBF10-6530-11D2-901F-00C04FB951ED}";
}

bool ReadUsbDevice(const std::string& SysPath, TUsbDeviceInfo& Info) {
  fs::path p(SysPath);
  TUsbDeviceInfo i;
  if (!ParseHex16(ReadAttr(p, "idVendor"), i.Vendor) || !ParseHex16(ReadAttr(p, "idProduct"), i.Product))
    return false;
  i.SysPath = SysPath;
  i.BusPath = p.filename().string();
  i.Serial = ReadAttr(p, "serial");
  i.Manufacturer = ReadAttr(p, "manufacturer");
  i.ProductName = ReadAttr(p, "product");
  // The serial driver sits on an interface below the device.
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(p, ec)) {
    fs::path drv = e.path() / "driver";
    if (e.path().filename().string().find(':') != std::string::npos && fs::exists(drv, ec)) {
      std::string name = fs::read_symlink(drv, ec).filename().string();
      if (!name.empty() && name != "usb" && name != "hub") {
        i.Driver = name;
        break;
      }
    }
  }
  Info = std::move(i);
  return true;
}

bool UsbAncestor(const std::string& SysPath, TUsbDeviceInfo& Info) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(SysPath, ec);
  if (ec) return false;
  fs::path root = fs::weakly_canonical(SysRoot(), ec);
  for (int depth = 0; depth < 64 && !p.empty() && p != p.root_path(); ++depth) {
    if (ReadUsbDevice(p.string(), Info)) return true;
    if (p == root) break;
    p = p.parent_path();
  }
  return false;
}

Char DriveLetterFor(const std::string& BlockName) {
  std::lock_guard<std::mutex> lock(gTreeLock);
  for (int i = 3; i < 26; ++i)
    if (gLetters[i] == BlockName) return Char(u'A' + i);
  for (int i = 3; i < 26; ++i)
    if (gLetters[i].empty()) {
      gLetters[i] = BlockName;
      return Char(u'A' + i);
    }
  return 0;
}

Char HeldDriveLetter(const std::string& BlockName) {
  std::lock_guard<std::mutex> lock(gTreeLock);
  for (int i = 3; i < 26; ++i)
    if (gLetters[i] == BlockName) return Char(u'A' + i);
  return 0;
}

void ReleaseDriveLetter(const std::string& BlockName) {
  std::lock_guard<std::mutex> lock(gTreeLock);
  for (auto& l : gLetters)
    if (l == BlockName) l.clear();
}

void SetPortNamer(TPortNamer Namer) {
  std::lock_guard<std::mutex> lock(gTreeLock);
  gNamer = std::move(Namer);
}

String PortNameFor(const std::string& DevFile) {
  TPortNamer namer;
  {
    std::lock_guard<std::mutex> lock(gTreeLock);
    namer = gNamer;
  }
  return namer ? namer(DevFile) : String();
}

void SetDeviceTreeRoots(const std::string& Sys, const std::string& Mounts) {
  std::lock_guard<std::mutex> lock(gTreeLock);
  gSys = Sys;
  gMounts = Mounts;
}

std::string SysRoot() {
  std::lock_guard<std::mutex> lock(gTreeLock);
  return gSys;
}
std::string MountsFile() {
  std::lock_guard<std::mutex> lock(gTreeLock);
  return gMounts;
}

std::vector<TWmiObject> WmiDeviceObjects() {
  std::vector<TWmiObject> out;
  AddUsbEntities(out);
  AddSerialPorts(out);
  AddDisks(out);
  return out;
}
