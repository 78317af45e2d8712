#include "foundation/style/ThemeDetection.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/rtl/Registry.h"
#include "platform/rtl/StrUtils.h"

namespace {

constexpr int kMissing = -1;

std::unique_ptr<TRegistry> UserRegistry() {
  auto reg = std::make_unique<TRegistry>(KEY_READ);
  reg->SetRootKey(HKEY_CURRENT_USER);
  return reg;
}

bool KeyExists(const String& key) {
  try {
    return UserRegistry()->KeyExists(key);
  } catch (const Exception&) {
    return false;
  }
}

// "UI Theme" is read as text: not a number gives 0, a missing value 0, a
// missing key -1. A value stored as a 32-bit integer counts with its number.
int ReadUITheme(const String& key) {
  try {
    auto reg = UserRegistry();
    if (!reg->OpenKeyReadOnly(key)) return kMissing;
    const String name = u"UI Theme";
    switch (reg->GetDataType(name)) {
      case rdString:
      case rdExpandString: return StrToIntDef(Trim(reg->ReadString(name)), 0);
      case rdInteger: return reg->GetDataSize(name) == 4 ? reg->ReadInteger(name) : 0;
      default: return 0;
    }
  } catch (const Exception&) {
    return 0;
  }
}

// "Theme" and the app mode are 32-bit integers: a missing key or value, or
// one of another type, gives -1.
int ReadDWord(const String& key, const String& name) {
  try {
    auto reg = UserRegistry();
    if (!reg->OpenKeyReadOnly(key) || reg->GetDataType(name) != rdInteger || reg->GetDataSize(name) != 4)
      return kMissing;
    return reg->ReadInteger(name);
  } catch (const Exception&) {
    return kMissing;
  }
}

// The XP colour scheme and the version class are system facts with one fixed
// answer here: the system counts as Windows 10 with its visual style active,
// whose colour-scheme name is "NormalColor" (1).
constexpr int kXPColorScheme = 1;
enum class TWinVersionClass { Windows7, Windows8, Windows10, Other };
constexpr TWinVersionClass kWinVersionClass = TWinVersionClass::Windows10;

// The app mode: the "AppsUseLightTheme" value when this program's registry
// has one, else the desktop's preference.
bool AppsUseDarkTheme() {
  const int value =
      ReadDWord(u"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", u"AppsUseLightTheme");
  if (value != kMissing) return value == 0;
  return DesktopPrefersDarkTheme();
}

bool EndsWithDark(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto ends = [&text](std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  };
  return ends("-dark") || ends(":dark");
}

std::string TrimAscii(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// Reads the [Settings] section of a GTK settings.ini; true when it asks for
// a dark look. Only a regular file is opened (a FIFO would block) and only
// its first lines are read, so a hostile file cannot stall the caller.
bool GtkSettingsSayDark(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  std::ifstream in(file);
  std::string line;
  bool inSettings = false;
  for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
    line = TrimAscii(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line[0] == '[') {
      inSettings = line == "[Settings]";
      continue;
    }
    const auto eq = line.find('=');
    if (!inSettings || eq == std::string::npos) continue;
    const std::string key = TrimAscii(line.substr(0, eq));
    std::string value = TrimAscii(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (key == "gtk-application-prefer-dark-theme" && (value == "1" || value == "true" || value == "TRUE"))
      return true;
    if (key == "gtk-theme-name" && EndsWithDark(value)) return true;
  }
  return false;
}

}  // namespace

// The desktop publishes its colour scheme in several places; the one read
// here needs no message bus and no library: the GTK_THEME variable when set
// ("Name-dark" or "Name:dark" is dark) decides alone, as it overrides the
// settings files for GTK programs too; otherwise the [Settings] of
// settings.ini under $XDG_CONFIG_HOME (default ~/.config) in gtk-4.0 and
// gtk-3.0: gtk-application-prefer-dark-theme true, or a gtk-theme-name
// ending in "-dark", means dark. Anything else counts as light.
bool DesktopPrefersDarkTheme() {
  if (const char* theme = std::getenv("GTK_THEME"); theme != nullptr && *theme != '\0') return EndsWithDark(theme);
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
    config = xdg;
  else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    config = std::filesystem::path(home) / ".config";
  else
    return false;
  return GtkSettingsSayDark(config / "gtk-4.0" / "settings.ini") ||
         GtkSettingsSayDark(config / "gtk-3.0" / "settings.ini");
}

Integer GetInstalledOfficeVersion() {
  static const struct {
    const Char* Key;
    Integer Version;
  } kVersions[] = {{u"Software\\Microsoft\\Office\\16.0\\Common\\General", 4},
                   {u"Software\\Microsoft\\Office\\15.0\\Common\\General", 3},
                   {u"Software\\Microsoft\\Office\\14.0\\Common\\General", 2},
                   {u"Software\\Microsoft\\Office\\12.0\\Common\\General", 1},
                   {u"Software\\Microsoft\\Office\\11.0\\Common\\General", 0}};
  for (const auto& v : kVersions)
    if (KeyExists(v.Key)) return v.Version;
  return 0;
}

TVornStyle DetectOfficeStyle(bool AXPFallback) {
  if (KeyExists(u"Software\\Microsoft\\Office\\16.0\\Common")) {
    switch (ReadUITheme(u"Software\\Microsoft\\Office\\16.0\\Common")) {
      case 3: return tsOffice2019Gray;
      case 4: return tsOffice2019Black;
      default: return tsOffice2019White;
    }
  }
  switch (ReadUITheme(u"Software\\Microsoft\\Office\\15.0\\Common")) {
    case kMissing: break;
    case 0: return tsOffice2013White;
    case 1: return tsOffice2013LightGray;
    case 2: return tsOffice2013Gray;
    default: return tsCustom;
  }
  switch (ReadDWord(u"Software\\Microsoft\\Office\\14.0\\Common", u"Theme")) {
    case kMissing: break;
    case 1: return tsOffice2010Blue;
    case 2: return tsOffice2010Silver;
    case 3: return tsOffice2010Black;
    default: return tsCustom;
  }
  switch (ReadDWord(u"Software\\Microsoft\\Office\\12.0\\Common", u"Theme")) {
    case kMissing: break;
    case 1: return tsOffice2007Luna;
    case 2: return tsOffice2007Silver;
    case 3: return tsOffice2007Obsidian;
    default: return tsCustom;
  }
  if (AXPFallback) {
    switch (kXPColorScheme) {
      case 1: return tsOffice2003Blue;
      case 2: return tsOffice2003Olive;
      case 3: return tsOffice2003Silver;
      default: return tsOffice2003Classic;
    }
  }
  switch (kWinVersionClass) {
    case TWinVersionClass::Windows8: return tsWindows8;
    case TWinVersionClass::Windows10: return AppsUseDarkTheme() ? tsOffice2019Black : tsWindows10;
    default: return tsWindows7;
  }
}

TOfficeTheme DetectOfficeTheme() {
  switch (DetectOfficeStyle(true)) {
    case tsOffice2003Blue: return ot2003Blue;
    case tsOffice2003Silver: return ot2003Silver;
    case tsOffice2003Olive: return ot2003Olive;
    case tsOffice2003Classic: return ot2003Classic;
    case tsOffice2007Luna: return ot2007Blue;
    case tsOffice2007Silver: return ot2007Silver;
    case tsOffice2007Obsidian: return ot2007Black;
    case tsOffice2010Blue: return ot2010Blue;
    case tsOffice2010Silver: return ot2010Silver;
    case tsOffice2010Black: return ot2010Black;
    case tsOffice2013White: return ot2013White;
    case tsOffice2013LightGray: return ot2013Silver;
    case tsOffice2013Gray: return ot2013Gray;
    case tsOffice2016White: return ot2016White;
    case tsOffice2016Gray: return ot2016Gray;
    case tsOffice2016Black: return ot2016Black;
    case tsOffice2019White: return ot2019White;
    case tsOffice2019Gray: return ot2019Gray;
    case tsOffice2019Black: return ot2019Black;
    case tsCustom: return ot2019Black;
    default: return otUnknown;
  }
}
