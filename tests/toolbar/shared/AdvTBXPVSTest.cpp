// The theme bindings against the layer's theme library: binding once, a
// missing function stopping the start, a missing library tolerated.
#include <gtest/gtest.h>

#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "toolbar/shared/AdvTBXPVS.h"

namespace {

// Leaves the binding unloaded and the library's exports complete, whatever the test did.
class ThemeBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterThemeModules();
    advtbxpvs::FinalizeAdvTBXPVS();
    advxpvs::ReleaseXPThemeLibrary();
  }
  void TearDown() override {
    SetModuleExportHidden(u"uxtheme.dll", "GetThemeColor", false);
    SetModuleExportHidden(u"uxtheme.dll", "EnableTheming", false);
    SetModuleExportHidden(u"uxtheme.dll", "DrawThemeTextEx", false);
    SetModuleExportHidden(u"uxtheme.dll", "OpenThemeDataForDpi", false);
    advtbxpvs::FinalizeAdvTBXPVS();
    advxpvs::ReleaseXPThemeLibrary();
    RegisterThemeModules();
  }
};

}  // namespace

TEST_F(ThemeBindingTest, BindsOnceAndCallsThrough) {
  advtbxpvs::InitializeAdvTBXPVS();
  EXPECT_TRUE(advtbxpvs::ThemeLibraryLoaded());
  EXPECT_EQ(advtbxpvs::ThemeLibraryRefCount(), 1);
  advtbxpvs::BindThemeLibrary();  // a second call changes nothing
  EXPECT_EQ(advtbxpvs::ThemeLibraryRefCount(), 1);
  for (int i = 0; i < advtbxpvs::tfThemeFunctionCount; ++i)
    EXPECT_NE(advtbxpvs::ThemeFunction(i), nullptr) << advtbxpvs::ThemeFunctionName(i);

  HTHEME theme = advtbxpvs::OpenThemeData(nullptr, u"WINDOW");
  ASSERT_NE(theme, nullptr);
  LOGFONTW font;
  EXPECT_EQ(advtbxpvs::GetThemeSysFont(theme, TMT_CAPTIONFONT, &font), S_OK);
  EXPECT_EQ(String(font.lfFaceName), u"Segoe UI");
  EXPECT_EQ(advtbxpvs::CloseThemeData(theme), S_OK);

  EnsureGuiApplication();
  TBitmap bmp;
  bmp.SetSize(60, 20);
  RECT r{0, 0, 60, 20};
  DTTOPTS opts;
  opts.dwFlags = DTT_TEXTCOLOR;
  opts.crText = 0x0000FF;
  EXPECT_EQ(advtbxpvs::DrawThemeTextEx(theme, bmp.Canvas()->Handle(), 0, 0, u"WW", -1, 0, &r, &opts), S_OK);

  advtbxpvs::FinalizeAdvTBXPVS();
  EXPECT_FALSE(advtbxpvs::ThemeLibraryLoaded());
  EXPECT_EQ(advtbxpvs::ThemeLibraryRefCount(), 0);
  EXPECT_EQ(advtbxpvs::DrawThemeTextEx(nullptr, nullptr, 0, 0, u"", 0, 0, &r, nullptr), E_NOTIMPL);
}

TEST_F(ThemeBindingTest, AMissingFunctionStopsTheStartWithItsLine) {
  SetModuleExportHidden(u"uxtheme.dll", "GetThemeColor", true);  // the 15th of the list
  try {
    advtbxpvs::InitializeAdvTBXPVS();
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), u"Assertion failure (AdvTBXPVS, line 1720)");
  }
  // The functions before it keep their addresses.
  EXPECT_NE(advtbxpvs::ThemeFunction(advtbxpvs::tfIsThemePartDefined), nullptr);
  EXPECT_EQ(advtbxpvs::ThemeFunction(advtbxpvs::tfGetThemeMetric), nullptr);

  SetModuleExportHidden(u"uxtheme.dll", "GetThemeColor", false);
  SetModuleExportHidden(u"uxtheme.dll", "EnableTheming", true);
  advtbxpvs::FinalizeAdvTBXPVS();
  try {
    advtbxpvs::InitializeAdvTBXPVS();
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), u"Assertion failure (AdvTBXPVS, line 1810)");
  }
  try {
    advxpvs::BindXPThemeLibrary();
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), u"Assertion failure (AdvXPVS, line 1700)");
  }
}

TEST_F(ThemeBindingTest, OptionalFunctionsAndAMissingLibrary) {
  // The text routine is outside the bound list and the per-DPI opener is optional.
  SetModuleExportHidden(u"uxtheme.dll", "DrawThemeTextEx", true);
  SetModuleExportHidden(u"uxtheme.dll", "OpenThemeDataForDpi", true);
  advtbxpvs::InitializeAdvTBXPVS();
  advxpvs::BindXPThemeLibrary();
  EXPECT_TRUE(advxpvs::XPThemeLibraryLoaded());
  EXPECT_EQ(advxpvs::XPThemeFunction("OpenThemeDataForDpi"), nullptr);
  EXPECT_NE(advxpvs::XPThemeFunction("GetThemePartSize"), nullptr);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(advtbxpvs::DrawThemeTextEx(nullptr, nullptr, 0, 0, u"a", 1, 0, &r, nullptr), E_NOTIMPL);
  EXPECT_EQ(advtbxpvs::DrawThemeTextEx(nullptr, nullptr, 0, 0, u"a", 1, 0, &r, nullptr), E_NOTIMPL);
  advtbxpvs::FinalizeAdvTBXPVS();
  advxpvs::ReleaseXPThemeLibrary();

  UnregisterModule(u"uxtheme.dll");
  advtbxpvs::InitializeAdvTBXPVS();
  advxpvs::BindXPThemeLibrary();
  EXPECT_FALSE(advtbxpvs::ThemeLibraryLoaded());
  EXPECT_FALSE(advxpvs::XPThemeLibraryLoaded());
  EXPECT_EQ(advtbxpvs::OpenThemeData(nullptr, u"WINDOW"), nullptr);
  EXPECT_EQ(advtbxpvs::DrawThemeTextEx(nullptr, nullptr, 0, 0, u"a", 1, 0, &r, nullptr), E_NOTIMPL);
}
