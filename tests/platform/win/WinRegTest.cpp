#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/rtl/Registry.h"
#include "platform/rtl/RegistryIniFile.h"
#include "platform/rtl/Strings.h"
#include "platform/testing/TempHome.h"
#include "platform/win/WinError.h"
#include "platform/win/WinReg.h"
#include "platform/win/WinRegInternal.h"

namespace {

constexpr LSTATUS kOk = ERROR_SUCCESS;

std::vector<Byte> Bytes(std::string_view s) { return std::vector<Byte>(s.begin(), s.end()); }

std::vector<Byte> Utf16(const String& s, size_t nuls = 1) {
  std::vector<Byte> out;
  for (Char c : s) {
    out.push_back(static_cast<Byte>(c & 0xFF));
    out.push_back(static_cast<Byte>(c >> 8));
  }
  for (size_t i = 0; i < nuls; ++i) {
    out.push_back(0);
    out.push_back(0);
  }
  return out;
}

// Makes the store read the hive file again: a different file name forces a
// reload, and so does coming back to the first.
void ReloadFromDisk() {
  const std::string saved = std::getenv("XDG_CONFIG_HOME");
  setenv("XDG_CONFIG_HOME", "/nonexistent-ryx-config", 1);
  HKEY k = nullptr;
  RegOpenKeyEx(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &k);
  if (k != nullptr) RegCloseKey(k);
  setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

HKEY Create(const String& path) {
  HKEY k = nullptr;
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, {}, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), kOk) << StringToUtf8(path);
  return k;
}

struct Read {
  LSTATUS Status;
  DWORD Type = 0;
  std::vector<Byte> Data;
};

Read Query(HKEY k, const String& name) {
  Read r{};
  DWORD size = 0;
  r.Status = RegQueryValueEx(k, name, nullptr, &r.Type, nullptr, &size);
  if (r.Status != kOk) return r;
  r.Data.resize(size);
  r.Status = RegQueryValueEx(k, name, nullptr, &r.Type, r.Data.data(), &size);
  r.Data.resize(size);
  return r;
}

class RegistryTest : public ::testing::Test {
 protected:
  TTempHome Home;
};

TEST_F(RegistryTest, EveryTypeAndAwkwardNameSurvivesTheFile) {
  struct Case {
    String Name;
    DWORD Type;
    std::vector<Byte> Data;
  };
  const Case cases[] = {
      {u"Text", REG_SZ, Utf16(u"COM7")},
      {u"", REG_SZ, Utf16(u"default value")},
      {u"Expand", REG_EXPAND_SZ, Utf16(u"%HOME%/x")},
      {u"Dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12}},
      {u"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 0x80}},
      {u"Binary", REG_BINARY, Bytes(std::string("\0\xFF\n\r =%\\", 9))},
      {u"EmptyBinary", REG_BINARY, {}},
      {u"Multi", REG_MULTI_SZ, Utf16(String(u"one\0two words\0", 14))},
      {u"with space and %41 and back\\slash", REG_SZ, Utf16(u"x")},
      {u"\u00FCn\u00EF\u20AC \U0001F600", REG_SZ, Utf16(u"\u0142\u00F3d\u017A")},
      {u"Odd type", 0x12345678, {9}},
  };
  HKEY k = Create(u"Software\\RyxTest\\Types");
  for (const auto& c : cases) {
    ASSERT_EQ(RegSetValueEx(k, c.Name, 0, c.Type, c.Data.data(), static_cast<DWORD>(c.Data.size())), kOk);
  }
  RegCloseKey(k);
  ReloadFromDisk();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\RyxTest\\Types", 0, KEY_READ, &k), kOk);
  for (const auto& c : cases) {
    const Read r = Query(k, c.Name);
    ASSERT_EQ(r.Status, kOk) << StringToUtf8(c.Name);
    EXPECT_EQ(r.Type, c.Type) << StringToUtf8(c.Name);
    EXPECT_EQ(r.Data, c.Data) << StringToUtf8(c.Name);
  }
  // A buffer that is too small: ERROR_MORE_DATA and the size needed.
  Byte small[3] = {};
  DWORD size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(k, u"Qword", nullptr, nullptr, small, &size), static_cast<LSTATUS>(ERROR_MORE_DATA));
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(Query(k, u"Missing").Status, static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  RegCloseKey(k);
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  HKEY k = Create(u"Software\\MixedCase");
  const auto v1 = Utf16(u"COM1"), v2 = Utf16(u"COM9");
  ASSERT_EQ(RegSetValueEx(k, u"ComPort", 0, REG_SZ, v1.data(), static_cast<DWORD>(v1.size())), kOk);
  ASSERT_EQ(RegSetValueEx(k, u"COMPORT", 0, REG_SZ, v2.data(), static_cast<DWORD>(v2.size())), kOk);
  RegCloseKey(k);
  ReloadFromDisk();

  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"\\SOFTWARE\\mixedcase\\", 0, KEY_READ, &k), kOk);
  EXPECT_EQ(Query(k, u"comport").Data, v2);
  String name;
  ASSERT_EQ(RegEnumValue(k, 0, &name, nullptr, nullptr, nullptr, nullptr), kOk);
  EXPECT_EQ(name, u"ComPort");
  EXPECT_EQ(RegEnumValue(k, 1, &name, nullptr, nullptr, nullptr, nullptr), static_cast<LSTATUS>(ERROR_NO_MORE_ITEMS));
  RegCloseKey(k);

  HKEY software = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"software", 0, KEY_READ, &software), kOk);
  ASSERT_EQ(RegEnumKeyEx(software, 0, &name), kOk);
  EXPECT_EQ(name, u"MixedCase");
  RegCloseKey(software);
}

TEST_F(RegistryTest, EnumerationOrderDeletionAndStaleHandles) {
  HKEY k = Create(u"Software\\Enum");
  for (const String n : {u"zeta", u"Alpha", u"mid"}) {
    const auto d = Utf16(n);
    RegSetValueEx(k, n, 0, REG_SZ, d.data(), static_cast<DWORD>(d.size()));
    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKeyEx(k, n + u"\\leaf", 0, {}, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), kOk);
    RegCloseKey(sub);
  }
  std::vector<String> values, keys;
  String name;
  for (DWORD i = 0; RegEnumValue(k, i, &name, nullptr, nullptr, nullptr, nullptr) == kOk; ++i) values.push_back(name);
  for (DWORD i = 0; RegEnumKeyEx(k, i, &name) == kOk; ++i) keys.push_back(name);
  EXPECT_EQ(values, (std::vector<String>{u"zeta", u"Alpha", u"mid"}));  // creation order
  EXPECT_EQ(keys, (std::vector<String>{u"Alpha", u"mid", u"zeta"}));    // name order
  DWORD subKeys = 0, valueCount = 0, maxName = 0;
  ASSERT_EQ(RegQueryInfoKey(k, &subKeys, nullptr, &valueCount, &maxName, nullptr), kOk);
  EXPECT_EQ(subKeys, 3u);
  EXPECT_EQ(valueCount, 3u);
  EXPECT_EQ(maxName, 5u);

  // A key with sub-keys is refused; its leaf first, then the key.
  EXPECT_EQ(RegDeleteKey(k, u"mid"), static_cast<LSTATUS>(ERROR_ACCESS_DENIED));
  HKEY leaf = nullptr;
  ASSERT_EQ(RegOpenKeyEx(k, u"mid\\leaf", 0, KEY_READ, &leaf), kOk);
  EXPECT_EQ(RegDeleteKey(k, u"MID\\LEAF"), kOk);
  EXPECT_EQ(RegDeleteKey(k, u"mid"), kOk);
  EXPECT_EQ(Query(leaf, u"x").Status, static_cast<LSTATUS>(ERROR_KEY_DELETED));
  RegCloseKey(leaf);
  EXPECT_EQ(RegDeleteValue(k, u"ALPHA"), kOk);
  EXPECT_EQ(RegDeleteValue(k, u"alpha"), static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  RegCloseKey(k);
  EXPECT_EQ(Query(k, u"zeta").Status, static_cast<LSTATUS>(ERROR_INVALID_HANDLE));  // closed handle

  ReloadFromDisk();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\Enum", 0, KEY_READ, &k), kOk);
  keys.clear();
  for (DWORD i = 0; RegEnumKeyEx(k, i, &name) == kOk; ++i) keys.push_back(name);
  EXPECT_EQ(keys, (std::vector<String>{u"Alpha", u"zeta"}));
  EXPECT_EQ(Query(k, u"Alpha").Status, static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  RegCloseKey(k);
}

TEST_F(RegistryTest, ReadOnlyHandlesAndRootsRefuseWrites) {
  HKEY k = Create(u"Software\\RO");
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\RO", 0, KEY_READ, &k), kOk);
  const Byte one[4] = {1, 0, 0, 0};
  EXPECT_EQ(RegSetValueEx(k, u"x", 0, REG_DWORD, one, 4), static_cast<LSTATUS>(ERROR_ACCESS_DENIED));
  RegCloseKey(k);
  HKEY lm = nullptr;
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, u"Software\\Ryx", 0, {}, 0, KEY_ALL_ACCESS, nullptr, &lm, nullptr),
            static_cast<LSTATUS>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(lm, nullptr);
  EXPECT_EQ(RegSetValueEx(HKEY_LOCAL_MACHINE, u"x", 0, REG_DWORD, one, 4), static_cast<LSTATUS>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, u".txt", 0, KEY_READ, &lm), static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\Missing", 0, KEY_READ, &k), static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, SynthesizedKeysAreLiveAndReadOnly) {
  int ports = 1;
  ASSERT_TRUE(RegisterSynthesizedKey(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", [&] {
    std::vector<TRegValue> v;
    for (int i = 1; i <= ports; ++i) {
      v.push_back(RegStringValue(u"\\Device\\Serial" + Utf8ToString(std::to_string(i - 1)),
                                 u"COM" + Utf8ToString(std::to_string(i))));
    }
    return v;
  }));
  EXPECT_FALSE(RegisterSynthesizedKey(HKEY_CURRENT_USER, u"X", [] { return std::vector<TRegValue>{}; }));

  HKEY map = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"hardware\\devicemap", 0, KEY_READ, &map), kOk);
  String name;
  ASSERT_EQ(RegEnumKeyEx(map, 0, &name), kOk);
  EXPECT_EQ(name, u"SERIALCOMM");
  RegCloseKey(map);

  HKEY k = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &k), kOk);
  ports = 3;
  std::vector<String> names;
  for (DWORD i = 0; RegEnumValue(k, i, &name, nullptr, nullptr, nullptr, nullptr) == kOk; ++i) names.push_back(name);
  EXPECT_EQ(names.size(), 3u);
  EXPECT_EQ(Query(k, u"\\device\\serial2").Data, Utf16(u"COM3"));
  const Byte b = 0;
  EXPECT_EQ(RegSetValueEx(k, u"x", 0, REG_BINARY, &b, 1), static_cast<LSTATUS>(ERROR_ACCESS_DENIED));
  RegCloseKey(k);

  TRegistry reg(KEY_READ);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.OpenKey(u"HARDWARE\\DEVICEMAP\\SERIALCOMM\\New", true));
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"HARDWARE\\DEVICEMAP\\SERIALCOMM"));
  EXPECT_EQ(reg.ReadString(u"\\Device\\Serial0"), u"COM1");

  ASSERT_TRUE(RegisterSynthesizedKey(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM",
                                     []() -> std::vector<TRegValue> { throw std::runtime_error("gone"); }));
  EXPECT_FALSE(reg.ValueExists(u"\\Device\\Serial0"));
  EXPECT_TRUE(UnregisterSynthesizedKey(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM"));
  EXPECT_FALSE(UnregisterSynthesizedKey(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM"));
  EXPECT_FALSE(reg.KeyExists(u"\\HARDWARE"));
}

TEST_F(RegistryTest, TRegistryTypedValuesAndErrors) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\RyxVORiraUpdate", true));
    EXPECT_EQ(reg.CurrentPath(), u"Software\\RyxVORiraUpdate");
    reg.WriteString(u"comPort", u"COM7");
    reg.WriteInteger(u"Count", -5);
    reg.WriteBool(u"Flag", true);
    const Byte blob[3] = {0, 1, 2};
    reg.WriteBinaryData(u"Blob", blob, 3);
    reg.WriteExpandString(u"Path", u"%TEMP%");
    ASSERT_TRUE(reg.OpenKey(u"Window", true));  // relative to the open key
    EXPECT_EQ(reg.CurrentPath(), u"Software\\RyxVORiraUpdate\\Window");
    reg.WriteString(u"Top", u"100");
  }
  ReloadFromDisk();
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKeyReadOnly(u"\\Software\\Nothing"));
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\RyxVORiraUpdate"));
  EXPECT_EQ(reg.Access(), KEY_READ);
  EXPECT_EQ(reg.ReadString(u"COMPORT"), u"COM7");
  EXPECT_EQ(reg.ReadString(u"Path"), u"%TEMP%");
  EXPECT_EQ(reg.ReadString(u"absent"), u"");
  EXPECT_EQ(reg.ReadInteger(u"Count"), -5);
  EXPECT_TRUE(reg.ReadBool(u"Flag"));
  Byte buf[8] = {};
  EXPECT_EQ(reg.ReadBinaryData(u"Blob", buf, sizeof buf), 3);
  EXPECT_EQ(buf[2], 2);
  EXPECT_EQ(reg.GetDataType(u"Count"), rdInteger);
  EXPECT_EQ(reg.GetDataType(u"Path"), rdExpandString);
  EXPECT_EQ(reg.GetDataSize(u"absent"), -1);
  EXPECT_TRUE(reg.KeyExists(u"Window"));
  EXPECT_TRUE(reg.HasSubKeys());
  std::vector<String> names;
  reg.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<String>{u"comPort", u"Count", u"Flag", u"Blob", u"Path"}));
  reg.GetKeyNames(names);
  EXPECT_EQ(names, (std::vector<String>{u"Window"}));

  struct Raise {
    std::function<void()> Call;
    const char16_t* Message;
  };
  const Raise raises[] = {
      {[&] { reg.ReadString(u"Count"); }, u"Invalid data type for 'Count'"},
      {[&] { reg.ReadInteger(u"comPort"); }, u"Invalid data type for 'comPort'"},
      {[&] { reg.ReadInteger(u"absent"); }, u"Failed to get data for 'absent'"},
      {[&] { reg.ReadBinaryData(u"Blob", buf, 2); }, u"Invalid data type for 'Blob'"},
      {[&] { reg.WriteString(u"x", u"y"); }, u"Failed to set data for 'x'"},  // opened read-only
  };
  for (const auto& r : raises) {
    try {
      r.Call();
      ADD_FAILURE() << "no exception for " << StringToUtf8(r.Message);
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), r.Message);
    }
  }

  TRegistry writer;
  EXPECT_TRUE(writer.DeleteKey(u"\\Software\\RyxVORiraUpdate"));  // with its sub-key
  EXPECT_FALSE(writer.KeyExists(u"\\Software\\RyxVORiraUpdate"));
  EXPECT_FALSE(writer.DeleteKey(u"\\Software\\RyxVORiraUpdate"));
}

TEST_F(RegistryTest, ChangeNotificationFiresOnceAndOnClose) {
  HKEY watched = Create(u"Software\\Office\\16.0\\Common");
  int fired = 0;
  ASSERT_EQ(RegNotifyChangeKeyValue(watched, true, REG_NOTIFY_CHANGE_LAST_SET, [&] { ++fired; }, true), kOk);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\Office\\16.0\\Common\\Theme", true));  // a name change: filtered out
  EXPECT_EQ(fired, 0);
  reg.WriteInteger(u"UI Theme", 4);
  EXPECT_EQ(fired, 1);
  reg.WriteInteger(u"UI Theme", 5);
  EXPECT_EQ(fired, 1);  // one-shot until armed again
  ASSERT_EQ(RegNotifyChangeKeyValue(watched, false, 0, [&] { ++fired; }, true), kOk);
  reg.WriteInteger(u"UI Theme", 6);  // below the key, but the subtree is not watched
  EXPECT_EQ(fired, 1);
  RegCloseKey(watched);  // closing signals the waiter
  EXPECT_EQ(fired, 2);
}

TEST_F(RegistryTest, RegistryIniFileMapsSectionsToKeys) {
  {
    TRegistryIniFile ini(u"Software\\Ryx\\Layout");
    ini.WriteString(u"Toolbar1", u"Caption", u"Main");
    ini.WriteInteger(u"Toolbar1", u"Left", 12);
    ini.WriteBool(u"Toolbar2", u"Visible", false);
  }
  { TRegistry reg; ASSERT_TRUE(reg.OpenKey(u"\\Software\\Ryx\\Layout\\Toolbar2", false)); reg.WriteInteger(u"Row", 3); }
  ReloadFromDisk();
  TRegistryIniFile ini(u"\\Software\\Ryx\\Layout", KEY_READ);
  EXPECT_EQ(ini.ReadString(u"toolbar1", u"caption", u"?"), u"Main");
  EXPECT_EQ(ini.ReadInteger(u"Toolbar1", u"Left", -1), 12);
  EXPECT_FALSE(ini.ReadBool(u"Toolbar2", u"Visible", true));
  EXPECT_EQ(ini.ReadInteger(u"Toolbar2", u"Row", -1), 3);  // a DWORD reads as its number
  EXPECT_EQ(ini.ReadInteger(u"Toolbar1", u"Caption", -1), -1);
  EXPECT_EQ(ini.ReadString(u"Nowhere", u"x", u"dflt"), u"dflt");
  EXPECT_TRUE(ini.SectionExists(u"TOOLBAR2"));
  EXPECT_TRUE(ini.ValueExists(u"Toolbar2", u"row"));
  EXPECT_FALSE(ini.ValueExists(u"Toolbar2", u"Column"));
  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Strings(0), u"Toolbar1");
  ini.ReadSectionValues(u"Toolbar2", &list);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Strings(0), u"Visible=0");
  EXPECT_EQ(list.Strings(1), u"Row=3");
  EXPECT_THROW(ini.WriteString(u"x", u"y", u"z"), ERegistryException);  // opened read-only: refused, not lost silently

  TRegistryIniFile writer(u"Software\\Ryx\\Layout");
  writer.DeleteKey(u"Toolbar1", u"Left");
  EXPECT_FALSE(writer.ValueExists(u"Toolbar1", u"Left"));
  writer.EraseSection(u"Toolbar2");
  writer.ReadSections(&list);
  EXPECT_EQ(list.Count(), 1);
}

void RunChildren(int count, const std::function<void(int)>& body) {
  std::vector<pid_t> pids;
  for (int c = 0; c < count; ++c) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      body(c);
      _exit(0);
    }
    pids.push_back(pid);
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  { TRegistry reg; ASSERT_TRUE(reg.OpenKey(u"\\Software\\Shared", true)); reg.WriteString(u"seed", u"1"); }
  constexpr int kPerProcess = 60;
  RunChildren(2, [](int c) {
    TRegistry reg;
    if (!reg.OpenKey(u"\\Software\\Shared", true)) _exit(2);
    for (int i = 0; i < kPerProcess; ++i) {
      reg.WriteInteger(u"p" + Utf8ToString(std::to_string(c)) + u"_" + Utf8ToString(std::to_string(i)), i);
    }
  });
  ReloadFromDisk();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Shared"));
  std::vector<String> names;
  reg.GetValueNames(names);
  EXPECT_EQ(names.size(), 1u + 2 * kPerProcess);
  EXPECT_EQ(reg.ReadInteger(u"p1_59"), 59);
  EXPECT_EQ(reg.ReadString(u"seed"), u"1");
}

TEST_F(RegistryTest, AWriterKilledBeforeReplacingLeavesTheOldFile) {
  { TRegistry reg; ASSERT_TRUE(reg.OpenKey(u"\\Software\\Atomic", true)); reg.WriteString(u"v", u"old"); }
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    SetRegistryBeforeReplaceHook([] { raise(SIGKILL); });
    TRegistry reg;
    if (reg.OpenKey(u"\\Software\\Atomic", false)) reg.WriteString(u"v", u"new");
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status));  // died with the new file written but not in place

  ReloadFromDisk();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\Atomic", false));
  EXPECT_EQ(reg.ReadString(u"v"), u"old");
  reg.WriteString(u"v", u"after");  // the dead writer's lock is gone
  ReloadFromDisk();
  EXPECT_EQ(reg.ReadString(u"v"), u"after");
}

TEST_F(RegistryTest, DamagedHiveFilesReadWithoutHarm) {
  const std::string file = StringToUtf8(RegistryHiveFileName());
  std::string deep = "RYXREG 1\nK ";
  for (int i = 0; i < 5000; ++i) deep += "a\\";
  deep += "a\n";
  std::string noise(4096, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) % 251);
  const std::string good = "K Software\\Good\nV 1 ok 4f000000\n";
  const std::string files[] = {
      "RYXREG 1\n" + good + "V 1 bad 4f0\nV 99999999999 x 00\nV 1 %zz 00\nV 1 y zz\nK \\\\\\\nV 1 z 00\nV\nK\n",
      "RYXREG 1\n" + good + "V 4 " + std::string(100000, 'n') + " 01020304",
      deep + good,
      noise,
      "not a hive\n" + good,
      "RYXREG 1\n" + good.substr(0, good.size() - 5),
  };
  for (const auto& content : files) {
    {
      std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
    }
    ReloadFromDisk();
    HKEY k = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\Good", 0, KEY_READ, &k) == kOk) {
      Query(k, u"ok");
      String name;
      for (DWORD i = 0; RegEnumValue(k, i, &name, nullptr, nullptr, nullptr, nullptr) == kOk; ++i) {
      }
      RegCloseKey(k);
    }
    // The store stays writable after reading anything.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\After", true));
    reg.WriteString(u"w", u"1");
  }
  // The lines that parse survive the damaged ones around them.
  { std::ofstream(file, std::ios::binary | std::ios::trunc) << files[0]; }
  ReloadFromDisk();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Good"));
  EXPECT_EQ(reg.ReadString(u"ok"), u"O");
  std::vector<String> names;
  reg.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<String>{u"ok"}));
}

}  // namespace
