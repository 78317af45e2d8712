// The components' messages reach the layer's message box unless a sink of
// the caller's own is installed.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/devices/DeviceNotify.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "programmer/QvMessage.h"
#include "programmer/QvUsbDetector.h"
#include "tests/programmer/BootloadSupport.h"

using namespace bootload_test;

namespace {

class QvMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    Application->SetTitle(u"Ryx test");
    SetQvMessageSink(nullptr);
    SetMessageBoxAnswerer([this](const TMessageBoxRequest& r) {
      Boxes.push_back(r);
      if (OnBox) OnBox();
      return IDOK;
    });
  }
  void TearDown() override {
    SetMessageBoxAnswerer({});
    SetQvMessageSink(nullptr);
    PumpPending();
  }
  std::vector<TMessageBoxRequest> Boxes;
  std::function<void()> OnBox;
};

TEST_F(QvMessageTest, DetectorMessageShowsAnOkBoxUntilASinkTakesIt) {
  TQvUsbDetector det(nullptr);
  DEV_BROADCAST_DEVICEINTERFACE rec;
  rec.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  rec.dbcc_classguid = GUID_DEVINTERFACE_USB_DEVICE;
  rec.dbcc_name = u"no separators here";
  auto arrive = [&] {
    SendMessage(det.FWindowHandle, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&rec));
  };

  arrive();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, u"Debug error #1");
  EXPECT_EQ(Boxes[0].Caption, u"Ryx test");
  EXPECT_EQ(Boxes[0].Buttons, std::vector<int>{IDOK});

  // A sink of the caller's own takes the text instead of the box ...
  std::vector<String> taken;
  SetQvMessageSink([&](const String& t) { taken.push_back(t); });
  arrive();
  EXPECT_EQ(taken, std::vector<String>{u"Debug error #1"});
  EXPECT_EQ(Boxes.size(), 1u);
  // ... and an empty one brings the box back.
  SetQvMessageSink(nullptr);
  arrive();
  EXPECT_EQ(Boxes.size(), 2u);
}

TEST_F(QvMessageTest, CloseGuardShowsItsBoxOverTheDisabledForm) {
  test_support::TBootloaderOptions options;
  options.Silent = true;  // a run that lasts a few seconds
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  TTempHome home;
  auto form = std::make_unique<TForm>(nullptr);
  form->AfterConstruction();
  auto* boot = new TQvBootload(form.get());
  TRecorder rec;
  rec.Attach(*boot);
  boot->SetComPort(u"COM42");
  boot->CheckBLS();
  ASSERT_FALSE(boot->QvBootCanClose());

  // The box is modal: while it shows, the form is already disabled and faded.
  bool enabledWhileShown = true, blendedWhileShown = false;
  OnBox = [&] {
    enabledWhileShown = form->Enabled();
    blendedWhileShown = form->AlphaBlend();
  };
  EXPECT_FALSE(form->CloseQuery());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, u"Wait for RuVuzeroziru Thread end");
  EXPECT_EQ(Boxes[0].Buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(enabledWhileShown);
  EXPECT_TRUE(blendedWhileShown);

  ASSERT_TRUE(PumpUntil([&] { return rec.Ends == 1; }));
  EXPECT_TRUE(form->CloseQuery());
  EXPECT_EQ(Boxes.size(), 1u);
}

}  // namespace
