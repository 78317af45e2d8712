#pragma once
// The table of serial-port names: "COMn" -> device file. /dev/ttyS<n-1> is
// COMn; USB and other serial devices (/dev/ttyUSB*, /dev/ttyACM*, anything with
// a device under /sys/class/tty) take the next free numbers when first seen and
// keep them; a user or a test may alias any device file, a pseudo-terminal
// included. Assignments and aliases live in "$XDG_CONFIG_HOME/RyxUpdater/serial-ports"
// (one "COMn=/dev/..." line each), replaced atomically on every change.
#include <string>
#include <vector>

#include "platform/rtl/Types.h"

struct TSerialPortAlias {
  String Name;          // "COM3"
  std::string Device;   // "/dev/ttyUSB0"
  String ValueName;     // its value name in the serial map, "\Device\VCP0"
};

// The ports whose device file exists now, by number.
std::vector<TSerialPortAlias> SerialPortAliases();

// While one lives on the calling thread, SerialPortAliases answers what its
// first call there found: one scan for a caller that names many devices in a
// row (each scan reads every tty entry and the alias file).
class TSerialPortSnapshot {
 public:
  TSerialPortSnapshot();
  ~TSerialPortSnapshot();
  TSerialPortSnapshot(const TSerialPortSnapshot&) = delete;
  TSerialPortSnapshot& operator=(const TSerialPortSnapshot&) = delete;

 private:
  friend std::vector<TSerialPortAlias> SerialPortAliases();
  TSerialPortSnapshot* FOuter;
  bool FTaken = false;
  std::vector<TSerialPortAlias> FList;
};
// The device file of a port name ("COM3" or "\\.\COM3", any letter case); empty
// for a name that is not COMn or names no port.
std::string SerialPortDevice(StringView name);
// The number n of "COMn" or "\\.\COMn" (1..9999); 0 for any other text.
Integer SerialPortNumber(StringView name);
// What keeps the user from opening a port the system refused, as a sentence:
// the port belongs to group G, and the command that adds the user to G; empty when
// the user may read and write the device (the port is then busy, not
// forbidden) or when it does not exist. `port` is "COMn" or a device path.
String SerialPortAccessAdvice(StringView port);
// Makes `name` ("COMn") an alias of the absolute device path, replacing an
// earlier alias of that name or of that device; false for a bad name or path.
bool AddSerialPortAlias(StringView name, const std::string& device);
// Forgets the alias; false when there was none.
bool RemoveSerialPortAlias(StringView name);
// Where devices are looked for (defaults "/sys/class/tty" and "/dev"); for tests.
void SetSerialPortRoots(const std::string& sysClassTty, const std::string& devDir);

// Publishes the table as the read-only key HKLM "HARDWARE\DEVICEMAP\SERIALCOMM"
// (value name: the device's value name, data: "COMn"), read live on every
// query. Called once at start-up; calling it again is harmless.
void RegisterSerialCommKey();
// Withdraws the key again (at shut-down).
void UnregisterSerialCommKey();
