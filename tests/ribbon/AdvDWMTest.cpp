// The composition binding: lazy loading, retries, and its fixed answers.
#include <gtest/gtest.h>

#include "platform/win/Modules.h"
#include "ribbon/AdvDWM.h"

namespace {

class DwmBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterThemeModules();
    advdwm::FinalizeAdvDWM();
  }
  void TearDown() override {
    SetModuleExportHidden(u"dwmapi.dll", "DwmIsCompositionEnabled", false);
    SetDesktopCompositionForTest(false);
    advdwm::FinalizeAdvDWM();
    RegisterThemeModules();
  }
};

}  // namespace

TEST_F(DwmBindingTest, CompositionOffUnlessSwitchedOn) {
  EXPECT_FALSE(advdwm::IsCompositionEnabled());
  MARGINS m;
  EXPECT_EQ(advdwm::DwmExtendFrameIntoClientArea(nullptr, &m), DWM_E_COMPOSITIONDISABLED);
  SetDesktopCompositionForTest(true);
  EXPECT_TRUE(advdwm::IsCompositionEnabled());
  EXPECT_EQ(advdwm::DwmExtendFrameIntoClientArea(nullptr, &m), S_OK);
  LRESULT result = 42;
  EXPECT_EQ(advdwm::DwmDefWindowProc(nullptr, 0, 0, 0, &result), FALSE);
  EXPECT_EQ(result, 42);
}

TEST_F(DwmBindingTest, MissingLibraryGivesFixedAnswersAndIsTriedAgain) {
  UnregisterModule(u"dwmapi.dll");
  const Integer before = advdwm::DwmLoadAttemptsForTest();
  BOOL enabled = 7;
  EXPECT_EQ(advdwm::DwmIsCompositionEnabled(&enabled), E_NOTIMPL);
  EXPECT_EQ(enabled, 7);
  MARGINS m;
  EXPECT_EQ(advdwm::DwmExtendFrameIntoClientArea(nullptr, &m), E_NOTIMPL);
  LRESULT result = 5;
  EXPECT_EQ(advdwm::DwmDefWindowProc(nullptr, 0, 0, 0, &result), FALSE);
  EXPECT_EQ(result, 5);
  EXPECT_FALSE(advdwm::IsCompositionEnabled());
  EXPECT_EQ(advdwm::DwmLoadAttemptsForTest() - before, 4);

  // A library without the test function: looked up again on each call.
  RegisterThemeModules();
  SetModuleExportHidden(u"dwmapi.dll", "DwmIsCompositionEnabled", true);
  SetDesktopCompositionForTest(true);
  EXPECT_EQ(advdwm::DwmIsCompositionEnabled(&enabled), E_NOTIMPL);
  SetModuleExportHidden(u"dwmapi.dll", "DwmIsCompositionEnabled", false);
  EXPECT_TRUE(advdwm::IsCompositionEnabled());
}
