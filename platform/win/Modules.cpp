#include "platform/win/Modules.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/rtl/StrUtils.h"
#include "platform/win/WinError.h"

namespace {

struct TModule {
  String Name;
  std::unordered_map<std::string, void*> Exports;
  std::set<std::string> Hidden;
  int LoadCount = 0;
  bool Registered = true;
};

struct TModuleTable {
  std::mutex Lock;
  std::map<String, std::shared_ptr<TModule>> ByName;  // key: canonical name
  // Every module record ever handed out stays here, so a stale handle is
  // recognised instead of followed.
  std::set<TModule*> Handles;
  std::vector<std::shared_ptr<TModule>> Keep;
};

TModuleTable& Table() {
  static auto* t = new TModuleTable();  // never destroyed: handles may outlive static teardown
  return *t;
}

// "C:\x\GdiPlus.DLL" -> "gdiplus.dll"; a name without an extension gets ".dll".
String Canonical(StringView name) {
  std::size_t slash = name.find_last_of(u"\\/");
  if (slash != StringView::npos) name = name.substr(slash + 1);
  String s = LowerCase(String(name));
  if (s.find(u'.') == String::npos) s += u".dll";
  return s;
}

TModule* FromHandle(TModuleTable& t, HMODULE h) {
  auto* m = static_cast<TModule*>(h);
  return t.Handles.count(m) ? m : nullptr;
}

}  // namespace

void RegisterModule(const String& name, std::vector<TModuleExport> exports) {
  auto& t = Table();
  std::lock_guard lock(t.Lock);
  String key = Canonical(name);
  auto& slot = t.ByName[key];
  if (!slot) {
    slot = std::make_shared<TModule>();
    slot->Name = key;
    t.Handles.insert(slot.get());
    t.Keep.push_back(slot);
  }
  slot->Registered = true;
  slot->Exports.clear();
  for (auto& e : exports) slot->Exports[e.Name] = e.Proc;
}

bool UnregisterModule(const String& name) {
  auto& t = Table();
  std::lock_guard lock(t.Lock);
  auto it = t.ByName.find(Canonical(name));
  if (it == t.ByName.end() || !it->second->Registered) return false;
  it->second->Registered = false;
  it->second->Exports.clear();
  it->second->LoadCount = 0;
  return true;
}

HMODULE LoadLibraryW(const Char* name) {
  if (!name || !*name) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  auto& t = Table();
  std::lock_guard lock(t.Lock);
  auto it = t.ByName.find(Canonical(name));
  if (it == t.ByName.end() || !it->second->Registered) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++it->second->LoadCount;
  return it->second.get();
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
  auto& t = Table();
  std::lock_guard lock(t.Lock);
  TModule* m = FromHandle(t, module);
  if (!m) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!name || !m->Registered || m->Hidden.count(name)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  auto it = m->Exports.find(name);
  if (it == m->Exports.end() || !it->second) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return it->second;
}

int FreeLibrary(HMODULE module) {
  auto& t = Table();
  std::lock_guard lock(t.Lock);
  TModule* m = FromHandle(t, module);
  if (!m || m->LoadCount <= 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  --m->LoadCount;
  return 1;
}

void SetModuleExportHidden(const String& module, const std::string& exportName, bool hidden) {
  auto& t = Table();
  std::lock_guard lock(t.Lock);
  auto it = t.ByName.find(Canonical(module));
  if (it == t.ByName.end()) return;
  if (hidden) it->second->Hidden.insert(exportName);
  else it->second->Hidden.erase(exportName);
}
