#include "platform/win/WinReg.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/rtl/StrUtils.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/WinError.h"
#include "platform/win/WinRegInternal.h"

namespace {

constexpr DWORD kMaxValueSize = 1u << 20;
constexpr off_t kMaxHiveFileSize = 64 * 1024 * 1024;
constexpr const char* kHeader = "RYXREG 1";
constexpr REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
// Windows' limits: they also bound the recursion over a hostile hive file.
constexpr size_t kMaxDepth = 512;
constexpr size_t kMaxKeyNameLength = 255;

String Fold(StringView name) { return AnsiUpperCase(name); }

// ---- the tree ----------------------------------------------------------

struct Key {
  String Name;
  std::vector<TRegValue> Values;
  std::map<String, std::unique_ptr<Key>> Children;  // by folded name
  TRegValueProvider Provider;                       // synthesised keys only

  Key* Child(StringView name) const {
    const auto it = Children.find(Fold(name));
    return it == Children.end() ? nullptr : it->second.get();
  }
  Key* AddChild(const String& name) {
    auto& slot = Children[Fold(name)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->Name = name;
    }
    return slot.get();
  }
  std::vector<TRegValue>& LiveValues() {
    if (Provider) {
      try {
        Values = Provider();
      } catch (...) {
        Values.clear();
      }
    }
    return Values;
  }
  TRegValue* FindValue(StringView name) {
    const String folded = Fold(name);
    for (auto& v : LiveValues()) {
      if (Fold(v.Name) == folded) return &v;
    }
    return nullptr;
  }
};

using Path = std::vector<String>;

Path SplitPath(StringView text) {
  Path out;
  String part;
  for (Char c : text) {
    if (c == u'\\') {
      if (!part.empty()) out.push_back(std::move(part));
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) out.push_back(std::move(part));
  return out;
}

Path Join(const Path& base, const Path& rest) {
  Path out = base;
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

Key* Walk(Key& root, const Path& path) {
  Key* k = &root;
  for (const auto& p : path) {
    k = k->Child(p);
    if (k == nullptr) return nullptr;
  }
  return k;
}

bool IsPrefix(const Path& prefix, const Path& path) {
  if (prefix.size() > path.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Fold(prefix[i]) != Fold(path[i])) return false;
  }
  return true;
}

// ---- file format -------------------------------------------------------
// "RYXREG 1", then "K <path>" lines (components escaped, joined by "\") each
// followed by its "V <type> <name> <hex data>" lines, in value order.

std::string Escape(const String& text) {
  const std::string utf8 = StringToUtf8(text);
  std::string out;
  for (unsigned char c : utf8) {
    if (c <= 0x20 || c == '%' || c == '\\' || c == 0x7F) {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

bool Unescape(std::string_view text, String& out) {
  std::string utf8;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      utf8.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int hi = HexDigitValue(text[i + 1]), lo = HexDigitValue(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    utf8.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  out = Utf8ToString(utf8);
  return true;
}

void WriteKey(const Key& key, const std::string& path, std::string& out) {
  out += "K " + path + "\n";
  for (const auto& v : key.Values) {
    out += "V " + std::to_string(v.Type) + " " + Escape(v.Name) + " ";
    static const char* hex = "0123456789abcdef";
    for (Byte b : v.Data) {
      out.push_back(hex[b >> 4]);
      out.push_back(hex[b & 15]);
    }
    out += "\n";
  }
  for (const auto& [folded, child] : key.Children) {
    WriteKey(*child, path.empty() ? Escape(child->Name) : path + "\\" + Escape(child->Name), out);
  }
}

std::string Serialize(const Key& root) {
  std::string out = std::string(kHeader) + "\n";
  WriteKey(root, "", out);
  return out;
}

// Lines that do not parse are skipped: a damaged file keeps what is readable.
void Parse(std::string_view text, Key& root) {
  size_t pos = 0;
  bool first = true;
  Key* current = nullptr;
  // Each key's values by folded name, so a key with many values loads in
  // linear time; a key seen again picks up its index.
  std::unordered_map<const Key*, std::unordered_map<String, size_t>> index;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (first) {
      first = false;
      if (line != kHeader) return;
      continue;
    }
    if (line.size() >= 2 && line.substr(0, 2) == "K ") {
      current = &root;
      std::string_view rest = line.substr(2);
      if (static_cast<size_t>(std::count(rest.begin(), rest.end(), '\\')) >= kMaxDepth) {
        current = nullptr;
        continue;
      }
      while (!rest.empty()) {
        const size_t sep = rest.find('\\');
        const std::string_view comp = rest.substr(0, sep);
        String name;
        if (comp.empty() || !Unescape(comp, name) || name.size() > kMaxKeyNameLength) {
          current = nullptr;
          break;
        }
        current = current->AddChild(name);
        rest = sep == std::string_view::npos ? std::string_view{} : rest.substr(sep + 1);
      }
      continue;
    }
    if (current == nullptr || line.size() < 2 || line.substr(0, 2) != "V ") continue;
    std::string_view rest = line.substr(2);
    const size_t s1 = rest.find(' ');
    if (s1 == std::string_view::npos) continue;
    const size_t s2 = rest.find(' ', s1 + 1);
    if (s2 == std::string_view::npos) continue;
    const std::string_view typeText = rest.substr(0, s1);
    const std::string_view nameText = rest.substr(s1 + 1, s2 - s1 - 1);
    const std::string_view hexText = rest.substr(s2 + 1);
    if (typeText.empty() || typeText.size() > 10 || hexText.size() % 2 != 0 || hexText.size() / 2 > kMaxValueSize)
      continue;
    unsigned long long type = 0;
    bool ok = true;
    for (char c : typeText) {
      if (c < '0' || c > '9') ok = false;
      type = type * 10 + static_cast<unsigned>(c - '0');
    }
    String name;
    if (!ok || type > 0xFFFFFFFFull || !Unescape(nameText, name)) continue;
    TRegValue value{name, static_cast<DWORD>(type), {}};
    value.Data.reserve(hexText.size() / 2);
    for (size_t i = 0; i < hexText.size() && ok; i += 2) {
      const int hi = HexDigitValue(hexText[i]), lo = HexDigitValue(hexText[i + 1]);
      if (hi < 0 || lo < 0) ok = false;
      else value.Data.push_back(static_cast<Byte>(hi * 16 + lo));
    }
    if (!ok) continue;
    auto [names, fresh] = index.try_emplace(current);
    if (fresh)
      for (size_t i = 0; i < current->Values.size(); ++i) names->second.try_emplace(Fold(current->Values[i].Name), i);
    const auto [at, added] = names->second.try_emplace(Fold(name), current->Values.size());
    if (added) current->Values.push_back(std::move(value));
    else current->Values[at->second] = std::move(value);
  }
}

// ---- the user hive on disk ----------------------------------------------

std::string ConfigHome() {
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x != nullptr && *x == '/') return x;
  std::string home;
  if (const char* h = std::getenv("HOME"); h != nullptr && *h == '/') {
    home = h;
  } else if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    home = pw->pw_dir;
  }
  return home.empty() ? std::string("/tmp") : home + "/.config";
}

std::string HiveFile() { return ConfigHome() + "/RyxUpdater/registry/HKEY_CURRENT_USER.reg"; }

// The hive's folder is private to the user.
bool MakeDirs(const std::string& dir) { return atomic_file::MakeFolders(dir, 0700) == 0; }

struct FileIdentity {
  bool Exists = false;
  dev_t Dev = 0;
  ino_t Ino = 0;
  off_t Size = 0;
  timespec MTime{};
  bool operator==(const FileIdentity& o) const {
    return Exists == o.Exists && Dev == o.Dev && Ino == o.Ino && Size == o.Size && MTime.tv_sec == o.MTime.tv_sec &&
           MTime.tv_nsec == o.MTime.tv_nsec;
  }
};

FileIdentity Identify(const std::string& file) {
  FileIdentity id;
  struct stat st {};
  if (stat(file.c_str(), &st) == 0) {
    id.Exists = true;
    id.Dev = st.st_dev;
    id.Ino = st.st_ino;
    id.Size = st.st_size;
    id.MTime = st.st_mtim;
  }
  return id;
}

bool ReadWhole(const std::string& file, std::string& out) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_size > kMaxHiveFileSize) {
    close(fd);
    return false;
  }
  out.clear();
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
    if (out.size() > static_cast<size_t>(kMaxHiveFileSize)) break;
  }
  close(fd);
  return true;
}

std::function<void()> gBeforeReplaceHook;

struct UserHive {
  std::string File;
  FileIdentity Identity;
  bool Loaded = false;
  Key Root;

  // Brings the tree up to date with the file (when its name or content changed).
  void Refresh() {
    const std::string file = HiveFile();
    if (file != File) {
      File = file;
      Loaded = false;
    }
    const FileIdentity now = Identify(File);
    if (Loaded && now == Identity) return;
    Root = Key{};
    std::string text;
    if (now.Exists && ReadWhole(File, text)) Parse(text, Root);
    Identity = now;
    Loaded = true;
  }

  // Writes the tree whole or not at all; a new hive is private to the user.
  bool Save() {
    if (!MakeDirs(atomic_file::FolderOf(File))) return false;
    atomic_file::ReplaceOptions options;
    options.NewFileMode = 0600;
    options.BeforeReplace = gBeforeReplaceHook;
    if (atomic_file::ReplaceFile(File, Serialize(Root), options) != 0) return false;
    Identity = Identify(File);
    return true;
  }
};

// An exclusive lock on the hive's lock file for one read-modify-write.
class HiveLock {
 public:
  explicit HiveLock(const std::string& hiveFile) {
    MakeDirs(hiveFile.substr(0, hiveFile.find_last_of('/')));
    FFd = open((hiveFile + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FFd >= 0) {
      while (flock(FFd, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~HiveLock() {
    if (FFd >= 0) close(FFd);  // closing releases the lock
  }
  HiveLock(const HiveLock&) = delete;
  HiveLock& operator=(const HiveLock&) = delete;

 private:
  int FFd = -1;
};

// ---- handles and shared state ---------------------------------------------

struct Notification {
  bool WatchSubtree = false;
  DWORD Filter = 0;
  std::function<void()> Signal;
};

struct OpenKey {
  HKEY Root = nullptr;
  Path KeyPath;
  REGSAM Access = 0;
  std::unique_ptr<Notification> Armed;
};

struct Synthesized {
  HKEY Root;
  Path KeyPath;
  TRegValueProvider Provider;
};

struct TRegistryState {
  std::recursive_mutex Mutex;
  UserHive Hive;
  std::map<std::uintptr_t, OpenKey> Handles;
  std::uintptr_t NextHandle = 0x1000;
  std::vector<Synthesized> Synth;
  Key SynthTree;  // rebuilt per operation on a read-only root
};

TRegistryState& S() {
  static TRegistryState* s = new TRegistryState();  // lives to the end: handles may be closed from late destructors
  return *s;
}

bool IsPredefined(HKEY k) {
  return k == HKEY_CLASSES_ROOT || k == HKEY_CURRENT_USER || k == HKEY_LOCAL_MACHINE || k == HKEY_USERS ||
         k == HKEY_CURRENT_CONFIG;
}

// The key a handle names, resolved against the current state.
struct Target {
  HKEY Root = nullptr;
  Path KeyPath;
  REGSAM Access = 0;
  OpenKey* Handle = nullptr;  // null for a predefined root
};

LSTATUS Lookup(HKEY key, Target& out) {
  if (IsPredefined(key)) {
    out.Root = key;
    out.Access = key == HKEY_CURRENT_USER ? KEY_ALL_ACCESS : KEY_READ;
    return ERROR_SUCCESS;
  }
  auto& handles = S().Handles;
  const auto it = handles.find(reinterpret_cast<std::uintptr_t>(key));
  if (it == handles.end()) return ERROR_INVALID_HANDLE;
  out.Root = it->second.Root;
  out.KeyPath = it->second.KeyPath;
  out.Access = it->second.Access;
  out.Handle = &it->second;
  return ERROR_SUCCESS;
}

// The tree behind a root, up to date.
Key& TreeOf(HKEY root) {
  TRegistryState& s = S();
  if (root == HKEY_CURRENT_USER) {
    s.Hive.Refresh();
    return s.Hive.Root;
  }
  s.SynthTree = Key{};
  for (const auto& reg : s.Synth) {
    if (reg.Root != root) continue;
    Key* k = &s.SynthTree;
    for (const auto& p : reg.KeyPath) k = k->AddChild(p);
    k->Provider = reg.Provider;
  }
  return s.SynthTree;
}

// Resolves the handle's own key; ERROR_KEY_DELETED when it no longer exists.
LSTATUS Resolve(HKEY key, Target& t, Key*& node) {
  LSTATUS r = Lookup(key, t);
  if (r != ERROR_SUCCESS) return r;
  node = Walk(TreeOf(t.Root), t.KeyPath);
  return node == nullptr ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

HKEY NewHandle(HKEY root, Path path, REGSAM access) {
  TRegistryState& s = S();
  const std::uintptr_t id = s.NextHandle;
  s.NextHandle += 4;
  OpenKey k;
  k.Root = root;
  k.KeyPath = std::move(path);
  k.Access = access;
  s.Handles.emplace(id, std::move(k));
  return reinterpret_cast<HKEY>(id);
}

// Notifications due for a change at `where` (a value change of that key, or
// a name change of its sub-keys). They are disarmed and returned so the caller
// signals them after releasing the lock.
std::vector<std::function<void()>> TakeDue(HKEY root, const Path& where, DWORD change) {
  std::vector<std::function<void()>> due;
  for (auto& [id, h] : S().Handles) {
    if (!h.Armed || h.Root != root) continue;
    const DWORD filter = h.Armed->Filter == 0 ? 0xF : h.Armed->Filter;
    if ((filter & change) == 0) continue;
    const bool same = h.KeyPath.size() == where.size() && IsPrefix(h.KeyPath, where);
    if (same || (h.Armed->WatchSubtree && IsPrefix(h.KeyPath, where))) {
      due.push_back(std::move(h.Armed->Signal));
      h.Armed.reset();
    }
  }
  return due;
}

void Fire(const std::vector<std::function<void()>>& due) {
  for (const auto& f : due) {
    if (f) f();
  }
}

// One locked read-modify-write of the user hive. `change` edits the fresh tree
// and answers a status; on success the file is replaced, on a failed write the
// tree is reloaded from the file so memory never claims what disk lacks.
template <typename F>
LSTATUS ModifyUserHive(F&& change) {
  TRegistryState& s = S();
  s.Hive.Refresh();
  HiveLock lock(s.Hive.File);
  s.Hive.Refresh();
  const LSTATUS r = change(s.Hive.Root);
  if (r != ERROR_SUCCESS) return r;
  if (!s.Hive.Save()) {
    s.Hive.Loaded = false;
    return static_cast<LSTATUS>(ERROR_CANTWRITE);
  }
  return ERROR_SUCCESS;
}

LSTATUS CopyOut(const TRegValue& v, DWORD* type, Byte* data, DWORD* cbData) {
  if (type != nullptr) *type = v.Type;
  const DWORD size = static_cast<DWORD>(v.Data.size());
  if (data != nullptr) {
    if (cbData == nullptr) return ERROR_INVALID_PARAMETER;
    if (*cbData < size) {
      *cbData = size;
      return ERROR_MORE_DATA;
    }
    if (size > 0) std::memcpy(data, v.Data.data(), size);
  }
  if (cbData != nullptr) *cbData = size;
  return ERROR_SUCCESS;
}

}  // namespace

// Test seam (WinRegInternal.h).
void SetRegistryBeforeReplaceHook(std::function<void()> hook) {
  std::lock_guard lock(S().Mutex);
  gBeforeReplaceHook = std::move(hook);
}

String RegistryHiveFileName() { return Utf8ToString(HiveFile()); }

LSTATUS RegOpenKeyEx(HKEY key, const String& subKey, DWORD, REGSAM samDesired, HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::lock_guard lock(S().Mutex);
  Target t;
  Key* node = nullptr;
  LSTATUS r = Resolve(key, t, node);
  if (r != ERROR_SUCCESS) return r;
  const Path sub = SplitPath(subKey);
  if (Walk(*node, sub) == nullptr) return ERROR_FILE_NOT_FOUND;
  const REGSAM access = samDesired & ~(KEY_WOW64_32KEY | KEY_WOW64_64KEY);
  if (t.Root != HKEY_CURRENT_USER && (access & kWriteAccess) != 0) return ERROR_ACCESS_DENIED;
  *result = NewHandle(t.Root, Join(t.KeyPath, sub), access);
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyEx(HKEY key, const String& subKey, DWORD, const String&, DWORD, REGSAM samDesired, const void*,
                       HKEY* result, DWORD* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::vector<std::function<void()>> due;
  LSTATUS r;
  {
    std::lock_guard lock(S().Mutex);
    Target t;
    Key* node = nullptr;
    r = Resolve(key, t, node);
    if (r != ERROR_SUCCESS) return r;
    const Path sub = SplitPath(subKey);
    const Path full = Join(t.KeyPath, sub);
    if (full.size() > kMaxDepth) return ERROR_INVALID_PARAMETER;
    for (const auto& p : sub) {
      if (p.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    }
    const REGSAM access = samDesired & ~(KEY_WOW64_32KEY | KEY_WOW64_64KEY);
    const bool exists = Walk(*node, sub) != nullptr;
    if (t.Root != HKEY_CURRENT_USER) {
      if (!exists || (access & kWriteAccess) != 0) return ERROR_ACCESS_DENIED;
      if (disposition != nullptr) *disposition = REG_OPENED_EXISTING_KEY;
      *result = NewHandle(t.Root, full, access);
      return ERROR_SUCCESS;
    }
    if (exists) {
      if (disposition != nullptr) *disposition = REG_OPENED_EXISTING_KEY;
      *result = NewHandle(t.Root, full, access);
      return ERROR_SUCCESS;
    }
    if (t.Handle != nullptr && (t.Access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    Path createdUnder;
    r = ModifyUserHive([&](Key& root) -> LSTATUS {
      Key* k = Walk(root, t.KeyPath);
      if (k == nullptr) return ERROR_KEY_DELETED;
      Path at = t.KeyPath;
      bool first = true;
      for (const auto& p : sub) {
        if (Key* c = k->Child(p)) {
          k = c;
        } else {
          if (first) createdUnder = at;
          first = false;
          k = k->AddChild(p);
        }
        at.push_back(p);
      }
      return ERROR_SUCCESS;
    });
    if (r != ERROR_SUCCESS) return r;
    if (disposition != nullptr) *disposition = REG_CREATED_NEW_KEY;
    *result = NewHandle(t.Root, full, access);
    due = TakeDue(t.Root, createdUnder, REG_NOTIFY_CHANGE_NAME);
  }
  Fire(due);
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  std::function<void()> signal;
  {
    std::lock_guard lock(S().Mutex);
    auto& handles = S().Handles;
    const auto it = handles.find(reinterpret_cast<std::uintptr_t>(key));
    if (it == handles.end()) return ERROR_INVALID_HANDLE;
    if (it->second.Armed) signal = std::move(it->second.Armed->Signal);
    handles.erase(it);
  }
  if (signal) signal();
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY key, const String& valueName, DWORD*, DWORD* type, Byte* data, DWORD* cbData) {
  std::lock_guard lock(S().Mutex);
  Target t;
  Key* node = nullptr;
  LSTATUS r = Resolve(key, t, node);
  if (r != ERROR_SUCCESS) return r;
  if (t.Handle != nullptr && (t.Access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const TRegValue* v = node->FindValue(valueName);
  if (v == nullptr) return ERROR_FILE_NOT_FOUND;
  return CopyOut(*v, type, data, cbData);
}

namespace {

// Changes the values of the key a write target names, in the user hive, and
// collects the watchers of that key to wake once the store's lock is released.
template <class F>
LSTATUS ChangeValues(const Target& t, F&& change, std::vector<std::function<void()>>& due) {
  const LSTATUS r = ModifyUserHive([&](Key& root) -> LSTATUS {
    Key* k = Walk(root, t.KeyPath);
    return k == nullptr ? ERROR_KEY_DELETED : change(*k);
  });
  if (r == ERROR_SUCCESS) due = TakeDue(t.Root, t.KeyPath, REG_NOTIFY_CHANGE_LAST_SET);
  return r;
}

}  // namespace

LSTATUS RegSetValueEx(HKEY key, const String& valueName, DWORD, DWORD type, const Byte* data, DWORD cbData) {
  if (cbData > kMaxValueSize || (cbData > 0 && data == nullptr)) return ERROR_INVALID_PARAMETER;
  std::vector<std::function<void()>> due;
  {
    std::lock_guard lock(S().Mutex);
    Target t;
    LSTATUS r = Lookup(key, t);
    if (r != ERROR_SUCCESS) return r;
    if (t.Root != HKEY_CURRENT_USER || (t.Access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    r = ChangeValues(t, [&](Key& k) -> LSTATUS {
      TRegValue value{valueName, type, std::vector<Byte>(data, data + cbData)};
      if (TRegValue* existing = k.FindValue(valueName)) {
        value.Name = existing->Name;
        *existing = std::move(value);
      } else {
        k.Values.push_back(std::move(value));
      }
      return ERROR_SUCCESS;
    }, due);
    if (r != ERROR_SUCCESS) return r;
  }
  Fire(due);
  return ERROR_SUCCESS;
}

LSTATUS RegDeleteValue(HKEY key, const String& valueName) {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard lock(S().Mutex);
    Target t;
    Key* node = nullptr;
    LSTATUS r = Resolve(key, t, node);
    if (r != ERROR_SUCCESS) return r;
    if (t.Root != HKEY_CURRENT_USER || (t.Access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    if (node->FindValue(valueName) == nullptr) return ERROR_FILE_NOT_FOUND;
    r = ChangeValues(t, [&](Key& k) -> LSTATUS {
      const String folded = Fold(valueName);
      const auto it = std::find_if(k.Values.begin(), k.Values.end(),
                                   [&](const TRegValue& v) { return Fold(v.Name) == folded; });
      if (it == k.Values.end()) return ERROR_FILE_NOT_FOUND;
      k.Values.erase(it);
      return ERROR_SUCCESS;
    }, due);
    if (r != ERROR_SUCCESS) return r;
  }
  Fire(due);
  return ERROR_SUCCESS;
}

LSTATUS RegDeleteKey(HKEY key, const String& subKey) {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard lock(S().Mutex);
    Target t;
    Key* node = nullptr;
    LSTATUS r = Resolve(key, t, node);
    if (r != ERROR_SUCCESS) return r;
    const Path sub = SplitPath(subKey);
    if (sub.empty()) return ERROR_INVALID_PARAMETER;  // a key cannot delete itself through its own handle
    Key* victim = Walk(*node, sub);
    if (victim == nullptr) return ERROR_FILE_NOT_FOUND;
    if (t.Root != HKEY_CURRENT_USER || !victim->Children.empty()) return ERROR_ACCESS_DENIED;
    const Path full = Join(t.KeyPath, sub);
    Path parent = full;
    parent.pop_back();
    r = ModifyUserHive([&](Key& root) -> LSTATUS {
      Key* p = Walk(root, parent);
      if (p == nullptr) return ERROR_FILE_NOT_FOUND;
      const auto it = p->Children.find(Fold(full.back()));
      if (it == p->Children.end()) return ERROR_FILE_NOT_FOUND;
      if (!it->second->Children.empty()) return ERROR_ACCESS_DENIED;
      p->Children.erase(it);
      return ERROR_SUCCESS;
    });
    if (r != ERROR_SUCCESS) return r;
    due = TakeDue(t.Root, parent, REG_NOTIFY_CHANGE_NAME);
  }
  Fire(due);
  return ERROR_SUCCESS;
}

LSTATUS RegEnumValue(HKEY key, DWORD index, String* valueName, DWORD*, DWORD* type, Byte* data, DWORD* cbData) {
  std::lock_guard lock(S().Mutex);
  Target t;
  Key* node = nullptr;
  LSTATUS r = Resolve(key, t, node);
  if (r != ERROR_SUCCESS) return r;
  if (t.Handle != nullptr && (t.Access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const auto& values = node->LiveValues();
  if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
  const TRegValue& v = values[index];
  if (valueName != nullptr) *valueName = v.Name;
  return CopyOut(v, type, data, cbData);
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, String* name) {
  std::lock_guard lock(S().Mutex);
  Target t;
  Key* node = nullptr;
  LSTATUS r = Resolve(key, t, node);
  if (r != ERROR_SUCCESS) return r;
  if (t.Handle != nullptr && (t.Access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
  if (index >= node->Children.size()) return ERROR_NO_MORE_ITEMS;
  auto it = node->Children.begin();
  std::advance(it, index);
  if (name != nullptr) *name = it->second->Name;
  return ERROR_SUCCESS;
}

LSTATUS RegQueryInfoKey(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values, DWORD* maxValueNameLen,
                        DWORD* maxValueLen) {
  std::lock_guard lock(S().Mutex);
  Target t;
  Key* node = nullptr;
  LSTATUS r = Resolve(key, t, node);
  if (r != ERROR_SUCCESS) return r;
  DWORD maxKey = 0, maxName = 0, maxData = 0;
  for (const auto& [folded, child] : node->Children) maxKey = std::max(maxKey, static_cast<DWORD>(child->Name.size()));
  const auto& vals = node->LiveValues();
  for (const auto& v : vals) {
    maxName = std::max(maxName, static_cast<DWORD>(v.Name.size()));
    maxData = std::max(maxData, static_cast<DWORD>(v.Data.size()));
  }
  if (subKeys != nullptr) *subKeys = static_cast<DWORD>(node->Children.size());
  if (maxSubKeyLen != nullptr) *maxSubKeyLen = maxKey;
  if (values != nullptr) *values = static_cast<DWORD>(vals.size());
  if (maxValueNameLen != nullptr) *maxValueNameLen = maxName;
  if (maxValueLen != nullptr) *maxValueLen = maxData;
  return ERROR_SUCCESS;
}

LSTATUS RegNotifyChangeKeyValue(HKEY key, bool watchSubtree, DWORD notifyFilter, std::function<void()> signal,
                                bool asynchronous) {
  if (!asynchronous || !signal) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(S().Mutex);
  Target t;
  Key* node = nullptr;
  LSTATUS r = Resolve(key, t, node);
  if (r != ERROR_SUCCESS) return r;
  if (t.Handle == nullptr) return ERROR_INVALID_HANDLE;  // arm on an opened key, as the watcher does
  auto n = std::make_unique<Notification>();
  n->WatchSubtree = watchSubtree;
  n->Filter = notifyFilter;
  n->Signal = std::move(signal);
  t.Handle->Armed = std::move(n);
  return ERROR_SUCCESS;
}

TRegValue RegStringValue(const String& name, const String& text) {
  TRegValue v{name, REG_SZ, {}};
  for (Char c : text) {
    v.Data.push_back(static_cast<Byte>(c & 0xFF));
    v.Data.push_back(static_cast<Byte>(c >> 8));
  }
  v.Data.push_back(0);
  v.Data.push_back(0);
  return v;
}

bool RegisterSynthesizedKey(HKEY root, const String& path, TRegValueProvider provider) {
  if (!IsPredefined(root) || root == HKEY_CURRENT_USER || !provider) return false;
  const Path p = SplitPath(path);
  if (p.empty()) return false;
  std::lock_guard lock(S().Mutex);
  for (auto& reg : S().Synth) {
    if (reg.Root == root && reg.KeyPath.size() == p.size() && IsPrefix(reg.KeyPath, p)) {
      reg.Provider = std::move(provider);
      return true;
    }
  }
  S().Synth.push_back({root, p, std::move(provider)});
  return true;
}

bool UnregisterSynthesizedKey(HKEY root, const String& path) {
  const Path p = SplitPath(path);
  std::lock_guard lock(S().Mutex);
  auto& synth = S().Synth;
  const auto it = std::find_if(synth.begin(), synth.end(), [&](const Synthesized& reg) {
    return reg.Root == root && reg.KeyPath.size() == p.size() && IsPrefix(reg.KeyPath, p);
  });
  if (it == synth.end()) return false;
  synth.erase(it);
  return true;
}
