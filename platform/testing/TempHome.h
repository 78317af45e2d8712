#pragma once
// A throw-away home folder for a test: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME,
// XDG_CACHE_HOME, XDG_DOCUMENTS_DIR, XDG_DESKTOP_DIR and TMPDIR point into a
// fresh folder for the object's lifetime, so nothing a test writes (registry,
// settings, logs, temporary files) reaches the real user's files. The previous
// values come back and the folder is removed on destruction. Not for use from
// several threads at once (it changes the process environment).
#include <map>
#include <optional>
#include <string>

class TTempHome {
 public:
  TTempHome();
  ~TTempHome();
  TTempHome(const TTempHome&) = delete;
  TTempHome& operator=(const TTempHome&) = delete;

  // The home folder (UTF-8, no trailing "/"); it holds .config, .local/share,
  // .cache, Documents, Desktop and tmp.
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
  std::map<std::string, std::optional<std::string>> FSaved;
};
