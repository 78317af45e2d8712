#pragma once
// Reading the device tree in sysfs, shared by the management queries and the
// device notifications. Not for use outside platform/ (tests may include it).
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Types.h"

// A device-supplied text (serial number, product, vendor) made safe to embed
// in interface names, device paths and queries: printable ASCII only, the
// separators "#", "&", "\" and "," (and anything else) replaced by "_",
// trimmed, and cut to MaxLen characters.
String SanitizeDeviceText(const std::string& Raw, size_t MaxLen = 126);

// The interface name of a USB device as the notifications carry it:
// "\\?\USB#VID_16C0&PID_05DC#<serial>#{A5DCBF10-6530-11D2-901F-00C04FB951ED}".
// Vendor and product as four upper-case hex digits; the serial is sanitised,
// and a device without one gets its bus path ("1-1.2") in its place.
String UsbInterfaceName(Word Vendor, Word Product, const std::string& Serial, const std::string& BusPath);

// One USB device (not an interface) found under <sys>/bus/usb/devices.
struct TUsbDeviceInfo {
  std::string SysPath;   // the device's folder
  std::string BusPath;   // its name there, "1-1.2"
  Word Vendor = 0;
  Word Product = 0;
  std::string Serial, Manufacturer, ProductName, Driver;
};

// Reads the USB device at SysPath (a folder with idVendor/idProduct); false when it is none.
bool ReadUsbDevice(const std::string& SysPath, TUsbDeviceInfo& Info);
// The USB device that SysPath (any device folder) sits below, walking up
// through the real paths; false when there is none.
bool UsbAncestor(const std::string& SysPath, TUsbDeviceInfo& Info);

// Drive letters for volumes: each block device name ("sdb1") gets the lowest
// free letter from "D" on when first asked and keeps it until released.
// Answers 0 when all letters are taken.
Char DriveLetterFor(const std::string& BlockName);
void ReleaseDriveLetter(const std::string& BlockName);

// The port name ("COM3") of a serial device file ("/dev/ttyUSB0"); empty when
// the device has none. Defaults to the serial-port alias table.
using TPortNamer = std::function<String(const std::string& DevFile)>;
void SetPortNamer(TPortNamer Namer);
String PortNameFor(const std::string& DevFile);

// Where the tree is read: the sysfs root ("/sys") and the mount table
// ("/proc/self/mounts"). For tests.
void SetDeviceTreeRoots(const std::string& Sys, const std::string& Mounts);
std::string SysRoot();
std::string MountsFile();
