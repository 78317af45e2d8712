#include "platform/comm/SerialPorts.h"

#include "platform/win/AtomicFile.h"
#include "platform/win/WinReg.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr Integer kMaxPortNumber = 9999;

std::mutex gLock;
std::string gSysClassTty = "/sys/class/tty";
std::string gDevDir = "/dev";

std::string ConfigFile() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::string(home) + "/.config";
  } else {
    base = "/tmp";
  }
  return base + "/RyxUpdater/serial-ports";
}

Integer ParseNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 4) return 0;
  Integer n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n <= kMaxPortNumber ? n : 0;
}

std::string ComName(Integer n) { return "COM" + std::to_string(n); }

// number -> device, as stored in the file
using AliasMap = std::map<Integer, std::string>;

AliasMap LoadAliases() {
  AliasMap map;
  std::ifstream in(ConfigFile());
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string name = line.substr(0, eq);
    std::string device = line.substr(eq + 1);
    if (!device.empty() && device.back() == '\r') device.pop_back();
    if (name.size() < 4 || device.empty() || device[0] != '/') continue;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    if (name.compare(0, 3, "COM") != 0) continue;
    const Integer n = ParseNumber(std::string_view(name).substr(3));
    if (n > 0) map[n] = device;
  }
  return map;
}

// Whole or not at all, so a reader never sees half a table.
bool SaveAliases(const AliasMap& map) {
  const std::string file = ConfigFile();
  if (atomic_file::MakeFolders(atomic_file::FolderOf(file)) != 0) return false;
  std::string text;
  for (const auto& [n, device] : map) text += ComName(n) + '=' + device + '\n';
  return atomic_file::ReplaceFile(file, text) == 0;
}

bool DeviceExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// "ttyS3" -> 3, else -1
int TtySIndex(std::string_view name) {
  if (!StartsWith(name, "ttyS") || name.size() == 4) return -1;
  const Integer n = ParseNumber(name.substr(4));
  return (n > 0 || name.substr(4) == "0") ? n : -1;
}

// A ttyS entry is a real UART unless the kernel reports its type as 0 (no chip behind it).
bool UartPresent(const fs::path& entry) {
  std::ifstream type(entry / "type");
  int t = -1;
  if (type >> t) return t != 0;
  return true;
}

struct Scan {
  std::map<Integer, std::string> ttyS;   // COM number -> device
  std::vector<std::string> others;       // USB and other serial devices, sorted
};

Scan ScanDevices() {
  Scan scan;
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(gSysClassTty, ec)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const fs::path entry = fs::path(gSysClassTty) / name;
    const std::string device = gDevDir + "/" + name;
    if (const int index = TtySIndex(name); index >= 0) {
      if (index + 1 <= kMaxPortNumber && UartPresent(entry) && DeviceExists(device)) scan.ttyS[index + 1] = device;
    } else if (fs::exists(entry / "device", ec) && DeviceExists(device)) {
      scan.others.push_back(device);
    }
  }
  return scan;
}

String ValueNameFor(const std::string& device) {
  const std::string base = fs::path(device).filename();
  auto suffix = [&](std::size_t prefixLen) { return base.substr(prefixLen); };
  std::string value;
  if (StartsWith(base, "ttyS") && TtySIndex(base) >= 0) {
    value = "\\Device\\Serial" + suffix(4);
  } else if (StartsWith(base, "ttyUSB")) {
    value = "\\Device\\VCP" + suffix(6);
  } else if (StartsWith(base, "ttyACM")) {
    std::string n = suffix(6);
    while (n.size() < 3) n.insert(n.begin(), '0');
    value = "\\Device\\USBSER" + n;
  } else {
    std::string rest = device;
    if (StartsWith(rest, "/dev/")) rest = rest.substr(5);
    std::replace(rest.begin(), rest.end(), '/', '_');
    value = "\\Device\\" + rest;
  }
  return AnsiToString(value);
}

// The whole table: stored aliases first, then fixed ttyS numbers, then new
// devices numbered into the first free slots (and stored).
std::map<Integer, std::string> BuildTable() {
  AliasMap stored = LoadAliases();
  const Scan scan = ScanDevices();
  std::set<std::string> aliased;
  for (const auto& [n, device] : stored) aliased.insert(device);

  std::map<Integer, std::string> table = stored;
  for (const auto& [n, device] : scan.ttyS) {
    if (!table.count(n) && !aliased.count(device)) table[n] = device;
  }
  bool changed = false;
  Integer next = 1;
  for (const std::string& device : scan.others) {
    if (aliased.count(device)) continue;
    while (next <= kMaxPortNumber && table.count(next)) ++next;
    if (next > kMaxPortNumber) break;
    table[next] = device;
    stored[next] = device;
    aliased.insert(device);
    changed = true;
  }
  if (changed) SaveAliases(stored);
  return table;
}

}  // namespace

Integer SerialPortNumber(StringView name) {
  std::string s = StringToAnsi(name);
  if (StartsWith(s, "\\\\.\\")) s = s.substr(4);
  if (s.size() < 4) return 0;
  for (int i = 0; i < 3; ++i) s[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
  if (s.compare(0, 3, "COM") != 0) return 0;
  return ParseNumber(std::string_view(s).substr(3));
}

namespace {
thread_local TSerialPortSnapshot* gSerialPortSnapshot = nullptr;
}  // namespace

TSerialPortSnapshot::TSerialPortSnapshot() : FOuter(gSerialPortSnapshot) { gSerialPortSnapshot = this; }
TSerialPortSnapshot::~TSerialPortSnapshot() { gSerialPortSnapshot = FOuter; }

std::vector<TSerialPortAlias> SerialPortAliases() {
  TSerialPortSnapshot* snapshot = gSerialPortSnapshot;
  if (snapshot != nullptr && snapshot->FTaken) return snapshot->FList;
  std::lock_guard<std::mutex> guard(gLock);
  std::vector<TSerialPortAlias> list;
  for (const auto& [n, device] : BuildTable()) {
    if (!DeviceExists(device)) continue;
    list.push_back({AnsiToString(ComName(n)), device, ValueNameFor(device)});
  }
  if (snapshot != nullptr) {
    snapshot->FList = list;
    snapshot->FTaken = true;
  }
  return list;
}

std::string SerialPortDevice(StringView name) {
  const Integer n = SerialPortNumber(name);
  if (n <= 0) return {};
  std::lock_guard<std::mutex> guard(gLock);
  const auto table = BuildTable();
  const auto it = table.find(n);
  return it == table.end() ? std::string() : it->second;
}

bool AddSerialPortAlias(StringView name, const std::string& device) {
  const Integer n = SerialPortNumber(name);
  if (n <= 0 || StartsWith(StringToAnsi(name), "\\\\.\\") || device.empty() || device[0] != '/' ||
      device.find_first_of("\r\n") != std::string::npos) {
    return false;
  }
  std::lock_guard<std::mutex> guard(gLock);
  AliasMap stored = LoadAliases();
  std::erase_if(stored, [&](const auto& item) { return item.second == device; });
  stored[n] = device;
  return SaveAliases(stored);
}

bool RemoveSerialPortAlias(StringView name) {
  const Integer n = SerialPortNumber(name);
  if (n <= 0) return false;
  std::lock_guard<std::mutex> guard(gLock);
  AliasMap stored = LoadAliases();
  if (stored.erase(n) == 0) return false;
  return SaveAliases(stored);
}

void SetSerialPortRoots(const std::string& sysClassTty, const std::string& devDir) {
  std::lock_guard<std::mutex> guard(gLock);
  gSysClassTty = sysClassTty;
  gDevDir = devDir;
}

namespace {
const String kSerialCommKey = u"HARDWARE\\DEVICEMAP\\SERIALCOMM";
}  // namespace

void RegisterSerialCommKey() {
  RegisterSynthesizedKey(HKEY_LOCAL_MACHINE, kSerialCommKey, [] {
    std::vector<TRegValue> values;
    for (const TSerialPortAlias& port : SerialPortAliases()) values.push_back(RegStringValue(port.ValueName, port.Name));
    return values;
  });
}

void UnregisterSerialCommKey() { UnregisterSynthesizedKey(HKEY_LOCAL_MACHINE, kSerialCommKey); }

String SerialPortAccessAdvice(StringView port) {
  const std::string device = !port.empty() && port[0] == u'/' ? StringToUtf8(port) : SerialPortDevice(port);
  struct stat st {};
  if (device.empty() || ::stat(device.c_str(), &st) != 0) return {};
  if (::access(device.c_str(), R_OK | W_OK) == 0) return {};
  std::string owner = std::to_string(st.st_gid);
  std::vector<char> buffer(16384);
  struct group g {};
  struct group* found = nullptr;
  if (::getgrgid_r(st.st_gid, &g, buffer.data(), buffer.size(), &found) == 0 && found != nullptr && found->gr_name != nullptr)
    owner = found->gr_name;
  return Utf8ToString("On Linux the port " + device + " belongs to the group \"" + owner +
                      "\": add your user to it with \"sudo usermod -aG " + owner +
                      " $USER\", then log out and in again.");
}
