#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/comm/Comm.h"
#include "platform/comm/SerialPorts.h"
#include "platform/testing/TempHome.h"
#include "platform/win/WinReg.h"
#include "tests/support/PseudoTerminal.h"

namespace fs = std::filesystem;

namespace {

// A fake /sys/class/tty and /dev: device files are links to /dev/null (a
// character device), USB entries carry a "device" link, ttyS entries a type.
class FakeDevices : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::path(home.Path()) / "fake";
    fs::create_directories(root / "sys");
    fs::create_directories(root / "dev");
    SetSerialPortRoots((root / "sys").string(), (root / "dev").string());
  }
  void TearDown() override { SetSerialPortRoots("/sys/class/tty", "/dev"); }

  void AddUart(const std::string& name, int type) {
    fs::create_directories(root / "sys" / name);
    std::ofstream(root / "sys" / name / "type") << type << "\n";
    fs::create_symlink("/dev/null", root / "dev" / name);
  }
  void AddUsb(const std::string& name) {
    fs::create_directories(root / "sys" / name / "device");
    fs::create_symlink("/dev/null", root / "dev" / name);
  }
  void Unplug(const std::string& name) {
    fs::remove_all(root / "sys" / name);
    fs::remove(root / "dev" / name);
  }
  std::string Dev(const std::string& name) const { return (root / "dev" / name).string(); }
  std::vector<std::pair<std::string, std::string>> Table() const {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& a : SerialPortAliases()) out.emplace_back(StringToUtf8(a.Name), a.Device);
    return out;
  }

  TTempHome home;
  fs::path root;
};

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST_F(FakeDevices, UartsKeepTheirNumbersAndUsbDevicesTakeTheNextFreeOnes) {
  AddUart("ttyS0", 4);
  AddUart("ttyS1", 0);  // no chip behind it: not a port
  AddUart("ttyS2", 4);
  AddUsb("ttyUSB0");
  AddUsb("ttyACM0");
  EXPECT_EQ(Table(), (Pairs{{"COM1", Dev("ttyS0")}, {"COM2", Dev("ttyACM0")}, {"COM3", Dev("ttyS2")},
                            {"COM4", Dev("ttyUSB0")}}));

  // Unplugged devices keep their numbers; a new one does not take them.
  Unplug("ttyACM0");
  AddUsb("ttyUSB1");
  EXPECT_EQ(Table(), (Pairs{{"COM1", Dev("ttyS0")}, {"COM3", Dev("ttyS2")}, {"COM4", Dev("ttyUSB0")},
                            {"COM5", Dev("ttyUSB1")}}));
  AddUsb("ttyACM0");
  EXPECT_EQ(SerialPortDevice(u"COM2"), Dev("ttyACM0"));
  EXPECT_EQ(SerialPortDevice(u"\\\\.\\com5"), Dev("ttyUSB1"));
  EXPECT_EQ(SerialPortDevice(u"COM9"), "");

  // The assignment survives in the file: another process sees the same table.
  std::ifstream file(fs::path(home.Path()) / ".config" / "RyxUpdater" / "serial-ports");
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("COM2=" + Dev("ttyACM0")), std::string::npos);
}

TEST_F(FakeDevices, ValueNamesOfTheSerialMap) {
  AddUart("ttyS0", 4);
  AddUsb("ttyUSB3");
  AddUsb("ttyACM1");
  test_support::TPseudoTerminal pty;
  test_support::TScopedSerialAlias alias(u"COM20", pty.SlavePath());
  std::vector<std::pair<std::string, String>> names;
  for (const auto& a : SerialPortAliases()) names.emplace_back(StringToUtf8(a.Name), a.ValueName);
  const std::string ptsName = "\\Device\\pts_" + fs::path(pty.SlavePath()).filename().string();
  EXPECT_EQ(names, (std::vector<std::pair<std::string, String>>{{"COM1", u"\\Device\\Serial0"},
                                                                 {"COM2", u"\\Device\\USBSER001"},
                                                                 {"COM3", u"\\Device\\VCP3"},
                                                                 {"COM20", Utf8ToString(ptsName)}}));
}

TEST_F(FakeDevices, SerialMapKeyListsThePortsLive) {
  AddUart("ttyS0", 4);
  RegisterSerialCommKey();
  auto readMap = [] {
    std::vector<std::pair<String, String>> entries;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key), ERROR_SUCCESS);
    for (DWORD i = 0;; ++i) {
      String name;
      DWORD type = 0;
      Byte data[64] = {};
      DWORD size = sizeof data;
      if (RegEnumValue(key, i, &name, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
      EXPECT_EQ(type, REG_SZ);
      String text(reinterpret_cast<const Char*>(data), size / 2);
      while (!text.empty() && text.back() == 0) text.pop_back();
      entries.emplace_back(name, text);
    }
    RegCloseKey(key);
    return entries;
  };
  EXPECT_EQ(readMap(), (std::vector<std::pair<String, String>>{{u"\\Device\\Serial0", u"COM1"}}));
  AddUsb("ttyUSB0");  // a device plugged in later shows up without re-registering
  EXPECT_EQ(readMap(), (std::vector<std::pair<String, String>>{{u"\\Device\\Serial0", u"COM1"},
                                                               {u"\\Device\\VCP0", u"COM2"}}));
  HKEY key = nullptr;
  EXPECT_NE(RegCreateKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, String(), 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);  // the map is read-only
}

TEST_F(FakeDevices, UserAliasesOverrideAndBadInputIsRefused) {
  AddUart("ttyS0", 4);
  test_support::TPseudoTerminal pty;
  EXPECT_TRUE(AddSerialPortAlias(u"com1", pty.SlavePath()));  // takes COM1 from ttyS0
  EXPECT_EQ(SerialPortDevice(u"COM1"), pty.SlavePath());
  EXPECT_TRUE(AddSerialPortAlias(u"COM7", pty.SlavePath()));  // the device moves to COM7
  EXPECT_EQ(SerialPortDevice(u"COM7"), pty.SlavePath());
  EXPECT_EQ(SerialPortDevice(u"COM1"), Dev("ttyS0"));
  EXPECT_TRUE(RemoveSerialPortAlias(u"COM7"));
  EXPECT_FALSE(RemoveSerialPortAlias(u"COM7"));

  const std::pair<String, std::string> bad[] = {
      {u"COM0", "/dev/null"},   {u"COMX", "/dev/null"},    {u"LPT1", "/dev/null"},
      {u"COM1", "relative"},    {u"COM1", ""},             {u"COM1", "/dev/x\nCOM2=/dev/y"},
      {u"COM99999", "/dev/null"}, {u"\\\\.\\COM3", "/dev/null"},
  };
  for (const auto& [name, device] : bad) EXPECT_FALSE(AddSerialPortAlias(name, device)) << StringToUtf8(name);
}

TEST_F(FakeDevices, DamagedTableFileIsReadAroundItsBadLines) {
  fs::create_directories(fs::path(home.Path()) / ".config" / "RyxUpdater");
  std::ofstream(fs::path(home.Path()) / ".config" / "RyxUpdater" / "serial-ports")
      << "garbage\n=\nCOM=/dev/null\nCOMa=/dev/null\nCOM3=relative\nCOM4=" << Dev("ttyUSB0") << "\r\n"
      << std::string(10000, 'x') << "\n";
  AddUsb("ttyUSB0");
  EXPECT_EQ(Table(), (Pairs{{"COM4", Dev("ttyUSB0")}}));
}

TEST(SerialPortNames, NumbersOfNames) {
  const std::pair<String, Integer> cases[] = {
      {u"COM1", 1}, {u"com12", 12}, {u"\\\\.\\COM3", 3}, {u"COM0", 0}, {u"COM", 0},
      {u"COM1x", 0}, {u"COM-1", 0}, {u"COM10000", 0}, {u"/dev/ttyS0", 0}, {u"", 0},
  };
  for (const auto& [name, n] : cases) EXPECT_EQ(SerialPortNumber(name), n) << StringToUtf8(name);
}

TEST(CommLayer, OpensAliasAndPathButNeverAPlainFile) {
  test_support::TPseudoTerminal pty;
  test_support::TScopedSerialAlias alias(u"COM33", pty.SlavePath());
  HANDLE h = CreateFile(u"\\\\.\\COM33", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  // Busy: by alias, by path, as the same process or another would.
  EXPECT_EQ(CreateFile(u"COM33", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(CreateFile(Utf8ToString(pty.SlavePath()), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  DCB dcb;
  EXPECT_FALSE(GetCommState(h, &dcb));  // a closed handle is refused, never reused
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

  EXPECT_EQ(CreateFile(u"/etc/hostname", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CreateFile(u"COM33", GENERIC_READ, 1, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CommLayer, ReadTimeoutsFollowTheirRules) {
  test_support::TPseudoTerminal pty;
  HANDLE h = CreateFile(Utf8ToString(pty.SlavePath()), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                        nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buffer[16] = {};
  DWORD n = 99;
  COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};
  ASSERT_TRUE(SetCommTimeouts(h, &immediate));
  EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
  EXPECT_EQ(n, 0u);

  COMMTIMEOUTS total{0, 0, 100, 0, 0};
  ASSERT_TRUE(SetCommTimeouts(h, &total));
  ASSERT_TRUE(pty.Write("abc"));
  EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));  // time-out: what came so far
  EXPECT_EQ(std::string(buffer, n), "abc");

  OVERLAPPED ov;
  EXPECT_FALSE(ReadFile(h, buffer, 4, &n, &ov));
  EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
  EXPECT_FALSE(GetOverlappedResult(h, &ov, &n, FALSE));
  EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
  ASSERT_TRUE(pty.Write("wxyz"));
  EXPECT_TRUE(GetOverlappedResultEx(h, &ov, &n, 2000, FALSE));
  EXPECT_EQ(std::string(buffer, n), "wxyz");
  n = 0;
  EXPECT_TRUE(GetOverlappedResult(h, &ov, &n, FALSE));  // collected: the OVERLAPPED keeps the outcome
  EXPECT_EQ(n, 4u);

  COMMTIMEOUTS none{};
  ASSERT_TRUE(SetCommTimeouts(h, &none));
  EXPECT_FALSE(ReadFile(h, buffer, 4, &n, &ov));
  EXPECT_FALSE(GetOverlappedResultEx(h, &ov, &n, 50, FALSE));
  EXPECT_EQ(GetLastError(), WAIT_TIMEOUT);
  EXPECT_TRUE(PurgeComm(h, PURGE_RXABORT));
  EXPECT_FALSE(GetOverlappedResult(h, &ov, &n, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);

  DWORD modem = 1;
  EXPECT_TRUE(GetCommModemStatus(h, &modem));
  EXPECT_EQ(modem, 0u);
  EXPECT_TRUE(EscapeCommFunction(h, SETDTR));
  EXPECT_TRUE(EscapeCommFunction(h, CLRRTS));
  EXPECT_FALSE(EscapeCommFunction(h, 77));
  EXPECT_FALSE(PurgeComm(h, 0x10));
  EXPECT_FALSE(WaitCommEvent(h, &modem, nullptr));  // no mask set
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(CloseHandle(h));
}

}  // namespace


namespace {

// What a user outside the port's group is told: asked in a child process that
// runs as such a user (this test runs as root, who may open everything).
std::string AdviceAsUnprivilegedUser(const std::string& device) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    std::string out = "could not drop privileges";
    if (::setgid(65534) == 0 && ::setuid(65534) == 0) out = StringToUtf8(SerialPortAccessAdvice(Utf8ToString(device)));
    (void)!::write(fds[1], out.data(), out.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string got;
  char buf[512];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) got.append(buf, std::size_t(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return got;
}

TEST(SerialPortAccess, DeniedUserIsToldTheGroupThatOwnsThePort) {
  test_support::TPseudoTerminal pty;
  struct stat st {};
  ASSERT_EQ(::stat(pty.SlavePath().c_str(), &st), 0);
  ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0660), 0);
  const group* g = ::getgrgid(st.st_gid);
  ASSERT_NE(g, nullptr);
  const std::string name = g->gr_name;
  // The user may open it: nothing to advise (a refusal then means busy).
  EXPECT_EQ(SerialPortAccessAdvice(Utf8ToString(pty.SlavePath())), u"");
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to ask as another user";
  const std::string advice = AdviceAsUnprivilegedUser(pty.SlavePath());
  EXPECT_NE(advice.find("belongs to the group \"" + name + "\""), std::string::npos) << advice;
  EXPECT_NE(advice.find("sudo usermod -aG " + name + " $USER"), std::string::npos) << advice;
  EXPECT_EQ(SerialPortAccessAdvice(u"/dev/no-such-port"), u"");
}

}  // namespace
