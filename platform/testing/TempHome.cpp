#include "platform/testing/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace {

const char* const kVariables[] = {"HOME",           "XDG_CONFIG_HOME",   "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                  "XDG_DATA_DIRS",  "XDG_DOCUMENTS_DIR", "XDG_DESKTOP_DIR", "TMPDIR"};

}  // namespace

TTempHome::TTempHome() {
  for (const char* name : kVariables) {
    const char* v = std::getenv(name);
    FSaved[name] = v != nullptr ? std::optional<std::string>(v) : std::nullopt;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string base = (tmp != nullptr && *tmp == '/') ? tmp : "/tmp";
  std::string templ = base + "/ryx-home-XXXXXX";
  if (mkdtemp(templ.data()) == nullptr) throw std::runtime_error("cannot create a temporary home folder");
  FPath = templ;
  const std::string dirs[] = {"/.config", "/.local/share", "/.cache", "/Documents", "/Desktop", "/tmp", "/share"};
  for (const auto& d : dirs) std::filesystem::create_directories(FPath + d);
  setenv("HOME", FPath.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (FPath + "/.config").c_str(), 1);
  setenv("XDG_DATA_HOME", (FPath + "/.local/share").c_str(), 1);
  setenv("XDG_CACHE_HOME", (FPath + "/.cache").c_str(), 1);
  setenv("XDG_DATA_DIRS", (FPath + "/share").c_str(), 1);
  setenv("XDG_DOCUMENTS_DIR", (FPath + "/Documents").c_str(), 1);
  setenv("XDG_DESKTOP_DIR", (FPath + "/Desktop").c_str(), 1);
  setenv("TMPDIR", (FPath + "/tmp").c_str(), 1);
}

TTempHome::~TTempHome() {
  for (const auto& [name, value] : FSaved) {
    if (value) setenv(name.c_str(), value->c_str(), 1);
    else unsetenv(name.c_str());
  }
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}
