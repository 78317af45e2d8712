// The program's start-up sequence: every subsystem's units, in their order,
// start and end cleanly.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/AppUnits.h"
#include "platform/rtl/TypInfo.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"

namespace {

TEST(ProgramStartUp, EverySubsystemStartsInOrder) {
  TTempHome home;
  EnsureGuiApplication();
  InitApplication();
  TUnitSequence units;
  AddAppUnits(units);
  const std::vector<String> names = units.Names();
  auto at = [&](const char16_t* name) {
    const auto it = std::find(names.begin(), names.end(), String(name));
    EXPECT_NE(it, names.end()) << StringToUtf8(name);
    return it - names.begin();
  };
  // Class library, transport, component core, programmer, toolbar, ribbon, controls, menus, wizard.
  EXPECT_EQ(names.front(), u"Graphics");
  EXPECT_LT(at(u"HintWindow"), at(u"SocketLibrary"));
  EXPECT_LT(at(u"SocketLibrary"), at(u"AdvGraphics"));
  EXPECT_LT(at(u"AdvGraphics"), at(u"QvBootload"));
  EXPECT_LT(at(u"QvBootload"), at(u"AdvGlowButton"));
  EXPECT_LT(at(u"AdvGlowButton"), at(u"AdvOfficeStatusBar"));
  EXPECT_LT(at(u"AdvOfficeStatusBar"), at(u"AdvMenus"));
  EXPECT_EQ(names.back(), u"WebUpdateWizard");

  units.Initialize();
  for (const char16_t* cls : {u"TComboBox", u"TQvBootload", u"TWebUpdateWizard"})
    EXPECT_NE(GetClass(cls), nullptr) << StringToUtf8(cls);
  units.Finalize();
}

}  // namespace
