#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "foundation/style/ThemeDetection.h"
#include "platform/rtl/Registry.h"
#include "platform/testing/TempHome.h"

namespace {

const String kOffice = u"Software\\Microsoft\\Office\\";
const String kPersonalize = u"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// A registry entry to plant: a key alone, or a key with a text or integer value.
struct TEntry {
  TEntry(String key, String name = {}, std::optional<String> text = {}, std::optional<Integer> number = {})
      : Key(std::move(key)), Name(std::move(name)), Text(std::move(text)), Number(number) {}
  String Key;
  String Name;
  std::optional<String> Text;
  std::optional<Integer> Number;
};

void Plant(const std::vector<TEntry>& entries) {
  TRegistry reg;
  for (const TEntry& e : entries) {
    ASSERT_TRUE(reg.OpenKey(e.Key, true));
    if (e.Text) reg.WriteString(e.Name, *e.Text);
    if (e.Number) reg.WriteInteger(e.Name, *e.Number);
    reg.CloseKey();
  }
}

// A temporary home without GTK_THEME, so the desktop counts as light unless a test says otherwise.
class ThemeDetection : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* t = std::getenv("GTK_THEME")) FSavedGtkTheme = t;
    unsetenv("GTK_THEME");
  }
  void TearDown() override {
    if (FSavedGtkTheme)
      setenv("GTK_THEME", FSavedGtkTheme->c_str(), 1);
    else
      unsetenv("GTK_THEME");
  }
  void WriteGtk(const std::string& version, const std::string& text) {
    const auto dir = std::filesystem::path(Home.Path()) / ".config" / version;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "settings.ini") << text;
  }

  TTempHome Home;
  std::optional<std::string> FSavedGtkTheme;
};

TEST_F(ThemeDetection, OfficeKeysDecideTheStyle) {
  const struct {
    const char* Name;
    std::vector<TEntry> Entries;
    Integer Version;
    TVornStyle Style;  // DetectOfficeStyle(false)
    TOfficeTheme Theme;
  } cases[] = {
      {"nothing", {}, 0, tsWindows10, otUnknown},
      {"16 without value", {{kOffice + u"16.0\\Common\\General"}}, 4, tsOffice2019White, ot2019White},
      {"16 gray", {{kOffice + u"16.0\\Common", u"UI Theme", u"3"}}, 0, tsOffice2019Gray, ot2019Gray},
      {"16 black as integer", {{kOffice + u"16.0\\Common", u"UI Theme", {}, 4}}, 0, tsOffice2019Black, ot2019Black},
      {"16 other", {{kOffice + u"16.0\\Common", u"UI Theme", u"7"}}, 0, tsOffice2019White, ot2019White},
      {"16 wins over 15",
       {{kOffice + u"15.0\\Common", u"UI Theme", u"2"}, {kOffice + u"16.0\\Common\\General"}},
       4, tsOffice2019White, ot2019White},
      {"15 value under General", {{kOffice + u"15.0\\Common\\General", u"UI Theme", u"5"}}, 3, tsOffice2013White, ot2013White},
      {"15 value 5", {{kOffice + u"15.0\\Common", u"UI Theme", u"5"}}, 0, tsCustom, ot2019Black},
      {"15 light gray", {{kOffice + u"15.0\\Common", u"UI Theme", u" 1 "}}, 0, tsOffice2013LightGray, ot2013Silver},
      {"15 not a number", {{kOffice + u"15.0\\Common", u"UI Theme", u"dark"}}, 0, tsOffice2013White, ot2013White},
      {"15 key without value", {{kOffice + u"15.0\\Common"}}, 0, tsOffice2013White, ot2013White},
      {"14 black", {{kOffice + u"14.0\\Common\\General"}, {kOffice + u"14.0\\Common", u"Theme", {}, 3}},
       2, tsOffice2010Black, ot2010Black},
      {"14 other", {{kOffice + u"14.0\\Common", u"Theme", {}, 9}}, 0, tsCustom, ot2019Black},
      {"14 key without value", {{kOffice + u"14.0\\Common"}}, 0, tsWindows10, otUnknown},
      {"14 text value", {{kOffice + u"14.0\\Common", u"Theme", u"3"}}, 0, tsWindows10, otUnknown},
      {"12 silver", {{kOffice + u"12.0\\Common\\General"}, {kOffice + u"12.0\\Common", u"Theme", {}, 2}},
       1, tsOffice2007Silver, ot2007Silver},
      {"12 luna", {{kOffice + u"12.0\\Common", u"Theme", {}, 1}}, 0, tsOffice2007Luna, ot2007Blue},
      {"11 only", {{kOffice + u"11.0\\Common\\General"}}, 0, tsWindows10, otUnknown},
      {"apps dark", {{kPersonalize, u"AppsUseLightTheme", {}, 0}}, 0, tsOffice2019Black, otUnknown},
      {"apps light", {{kPersonalize, u"AppsUseLightTheme", {}, 1}}, 0, tsWindows10, otUnknown},
  };
  for (const auto& c : cases) {
    TTempHome home;  // each case starts from an empty registry
    Plant(c.Entries);
    EXPECT_EQ(GetInstalledOfficeVersion(), c.Version) << c.Name;
    EXPECT_EQ(DetectOfficeStyle(false), c.Style) << c.Name;
    EXPECT_EQ(DetectOfficeTheme(), c.Theme) << c.Name;
  }
}

TEST_F(ThemeDetection, DesktopColourSchemeDecidesTheAppMode) {
  const struct {
    const char* Name;
    const char* GtkTheme;  // nullptr: unset
    std::string Gtk3, Gtk4;
    bool Dark;
  } cases[] = {
      {"nothing", nullptr, "", "", false},
      {"gtk3 prefers dark", nullptr, "[Settings]\ngtk-application-prefer-dark-theme=1\n", "", true},
      {"gtk3 prefers dark, spaced", nullptr, "[Settings]\n  gtk-application-prefer-dark-theme = true\n", "", true},
      {"gtk4 dark theme name", nullptr, "", "[Settings]\ngtk-theme-name=Yaru-Dark\n", true},
      {"light theme name", nullptr, "[Settings]\ngtk-theme-name=Adwaita\ngtk-application-prefer-dark-theme=0\n", "",
       false},
      {"other section", nullptr, "[Other]\ngtk-application-prefer-dark-theme=1\n", "", false},
      {"commented", nullptr, "[Settings]\n#gtk-application-prefer-dark-theme=1\n", "", false},
      {"environment dark", "Adwaita:dark", "", "", true},
      {"environment dark name", "Adwaita-dark", "", "", true},
      {"environment light wins over files", "Adwaita", "[Settings]\ngtk-application-prefer-dark-theme=1\n", "",
       false},
  };
  for (const auto& c : cases) {
    TTempHome home;
    const auto config = std::filesystem::path(home.Path()) / ".config";
    for (const auto& [version, text] : {std::pair{"gtk-3.0", c.Gtk3}, std::pair{"gtk-4.0", c.Gtk4}}) {
      if (text.empty()) continue;
      std::filesystem::create_directories(config / version);
      std::ofstream(config / version / "settings.ini") << text;
    }
    if (c.GtkTheme)
      setenv("GTK_THEME", c.GtkTheme, 1);
    else
      unsetenv("GTK_THEME");
    EXPECT_EQ(DesktopPrefersDarkTheme(), c.Dark) << c.Name;
    EXPECT_EQ(DetectOfficeStyle(false), c.Dark ? tsOffice2019Black : tsWindows10) << c.Name;
    EXPECT_EQ(DetectOfficeStyle(true), tsOffice2003Blue) << c.Name;  // the XP route ignores the app mode
  }
}

TEST_F(ThemeDetection, RegistryAppModeOverridesTheDesktop) {
  WriteGtk("gtk-3.0", "[Settings]\ngtk-application-prefer-dark-theme=1\n");
  EXPECT_EQ(DetectOfficeStyle(false), tsOffice2019Black);
  Plant({{kPersonalize, u"AppsUseLightTheme", {}, 1}});
  EXPECT_EQ(DetectOfficeStyle(false), tsWindows10);
}

TEST_F(ThemeDetection, UnusualSettingsFilesCountAsLight) {
  const auto dir = std::filesystem::path(Home.Path()) / ".config" / "gtk-3.0";
  std::filesystem::create_directories(dir / "settings.ini");  // a folder in the file's place
  EXPECT_FALSE(DesktopPrefersDarkTheme());
  const auto dir4 = std::filesystem::path(Home.Path()) / ".config" / "gtk-4.0";
  std::filesystem::create_directories(dir4);
  ASSERT_EQ(mkfifo((dir4 / "settings.ini").c_str(), 0600), 0);  // reading it would block
  EXPECT_FALSE(DesktopPrefersDarkTheme());
}

}  // namespace
