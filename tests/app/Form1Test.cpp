// The main window: its texts, the remembered port, the update check against a
// loopback server, and uploads and checks against the bootloader simulator
// through a serial-port alias.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/Form1.h"
#include "app/FrmBLSinfo.h"
#include "app/FrmPinout.h"
#include "app/FrmUsbInfo.h"
#include "app/UnscrambleImage.h"
#include "platform/rtl/Format.h"
#include "platform/comm/SerialPorts.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Module.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/DialogsFixture.h"
#include "tests/support/BootloaderSimulator.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/PseudoTerminal.h"

using namespace app_test;

namespace {

TEST(MainWindowTexts, FirmwareVersionFromTheStore) {
  TmxStorage store(nullptr);
  EXPECT_EQ(FirmwareVersionText(&store), u"RYX-VORira firmware: .");
  store.LoadFromResource(HInstance(), RES_FIRMWARE_STORE);
  EXPECT_EQ(FirmwareVersionText(&store), u"RYX-VORira firmware: 4.2.0.22");
  // The text is read from a copy: the item keeps its scrambled bytes.
  const std::string held = StreamBytes(store.ItemByIndex(0)->AsStream());
  EXPECT_TRUE(held == ReadFileBytes(RYX_FIRMWARE_BIN));

  // Markers missing or without their end.
  TmxStorage other(nullptr);
  TMemoryStream bytes;
  const std::string plain = std::string("junk ver: 9.9 ", 14) + '\0' + "no build marker";
  const std::string scrambled = UnscrambleImage(plain);
  bytes.WriteBuffer(scrambled.data(), Integer(scrambled.size()));
  bytes.SetPosition(0);
  other.StoredItems()->Add()->LoadFromStream(&bytes);
  EXPECT_EQ(FirmwareVersionText(&other), u"RYX-VORira firmware: 9.9.");
}

TEST(MainWindowTexts, UpdateAddressAndLogFolder) {
  TTempHome home;
  unsetenv(kUpdateUrlVariable);
  EXPECT_EQ(UpdateControlFileURL().substr(0, 8), u"https://");
  EXPECT_TRUE(UpdateControlFileURL().ends_with(u"/download/korvi_updates/vorira_upd/RYX-VORIRA_UPD.INF"));
  setenv(kUpdateUrlVariable, "http://127.0.0.1:1/x.inf", 1);
  EXPECT_EQ(UpdateControlFileURL(), u"http://127.0.0.1:1/x.inf");
  unsetenv(kUpdateUrlVariable);

  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(UpdateLogFileName(), Utf8ToString(home.Path() + "/.local/state/RyxUpdater/WUPDATE.LOG"));
  setenv("XDG_STATE_HOME", (home.Path() + "/state").c_str(), 1);
  EXPECT_EQ(UpdateLogFileName(), Utf8ToString(home.Path() + "/state/RyxUpdater/WUPDATE.LOG"));
  unsetenv("XDG_STATE_HOME");
}

// The four windows as start-up makes them, in a private home; message boxes
// are answered and written down instead of shown.
class MainWindowTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    setenv(kUpdateUrlVariable, ("http://127.0.0.1:" + std::to_string(test_support::TLoopbackHttpServer::ClosedPort()) +
                                "/none.inf").c_str(), 1);
    FPreviousAnswerer = SetMessageBoxAnswerer([this](const TMessageBoxRequest& r) {
      Boxes.push_back(StringToUtf8(r.Caption + u"|" + r.Text));
      if (OnBox) OnBox(r);
      return r.Buttons.front();
    });
    MakeWindows();
  }
  void TearDown() override {
    DropWindows();
    SetMessageBoxAnswerer(std::move(FPreviousAnswerer));
    unsetenv(kUpdateUrlVariable);
    Screen->SetCursor(crDefault);
    DialogsTest::TearDown();
  }
  void MakeWindows() {
    Main = Make<TForm1>();
    Form1 = Main.get();
    Bls = Make<TfrmBLSinfo>();
    frmBLSinfo = Bls.get();
    Usb = Make<TfrmUsbInfo>();
    frmUsbInfo = Usb.get();
    Pinout = Make<TfrmPinout>();
    frmPinout = Pinout.get();
  }
  void DropWindows() {
    Main.reset();
    Bls.reset();
    Usb.reset();
    Pinout.reset();
    frmBLSinfo = nullptr;
    frmUsbInfo = nullptr;
    frmPinout = nullptr;
  }
  String Panel(Integer Index) const { return Main->StatusBar1->Panels()->Items(Index)->Text(); }
  // The server's control file: an update whose new version is Version,
  // compared with this test program's own version record (1.0.0.7).
  static std::string ControlFile(const std::string& Version) {
    std::error_code ec;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    return "[update]\r\nsignature=WebUpdate\r\nnewversion=" + Version + "\r\nlocalversion=" + self + "\r\n";
  }

  // The boxes the window itself showed (the web update's own are left out).
  std::vector<std::string> WindowBoxes() const {
    std::vector<std::string> out;
    for (const std::string& b : Boxes)
      if (!b.empty() && b[0] == ' ') out.push_back(b);
    return out;
  }

  std::unique_ptr<TForm1> Main;
  std::unique_ptr<TfrmBLSinfo> Bls;
  std::unique_ptr<TfrmUsbInfo> Usb;
  std::unique_ptr<TfrmPinout> Pinout;
  std::vector<std::string> Boxes;
  std::function<void(const TMessageBoxRequest&)> OnBox;

 private:
  TMessageBoxAnswerer FPreviousAnswerer;
};

TEST_F(MainWindowTest, CreationSetsCaptionHeightPortAndFirmwareText) {
  EXPECT_EQ(Main->Caption(), u"RYX-VORira UPDATE   ver: 1.0.0.7");
  EXPECT_EQ(Main->Height(), kRestHeight);
  EXPECT_EQ(Main->ClientWidth(), 522);
  EXPECT_EQ(Main->BorderStyle(), bsSingle);
  EXPECT_EQ(Main->ComboBox1->Text(), u"COM1");
  EXPECT_EQ(Panel(0), u"RYX-VORira firmware: 4.2.0.22");
  EXPECT_EQ(Panel(1), u"");
  EXPECT_TRUE(Main->StatusBar1->Panels()->Items(1)->Button());
  EXPECT_FALSE(Main->prg->Visible());
  EXPECT_FALSE(Main->Timer1->Enabled());
  // At rest the status bar covers the progress bar.
  EXPECT_LE(Main->StatusBar1->Top(), Main->prg->Top());
  EXPECT_NE(Main->Image2->Picture()->Width(), 0);
  EXPECT_EQ(Main->Image1->Picture()->Width(), 49);
  EXPECT_EQ(Main->WebUpdateWizard1->BillBoard()->Width(), 116);
  EXPECT_EQ(Main->WebUpdateWizard1->BillBoard()->Height(), 201);
}

TEST_F(MainWindowTest, PortIsRememberedAcrossRuns) {
  Main->ComboBox1->SetText(u"COM7");
  Main->Show();
  Main->Close();
  DropWindows();
  MakeWindows();
  EXPECT_EQ(Main->ComboBox1->Text(), u"COM7");
}

TEST_F(MainWindowTest, PortListOpensWithThePortsOfTheMachine) {
  test_support::TPseudoTerminal pty;
  test_support::TScopedSerialAlias alias(u"COM42", pty.SlavePath());
  // Start-up publishes the port table that the list reads.
  RegisterSerialCommKey();
  Main->ComboBox1->Items()->SetText(u"stale");
  Main->Show();
  Main->ComboBox1->SetDroppedDown(true);
  Main->ComboBox1->SetDroppedDown(false);
  EXPECT_GE(Main->ComboBox1->Items()->IndexOf(u"COM42"), 0);
  EXPECT_LT(Main->ComboBox1->Items()->IndexOf(u"stale"), 0);
  UnregisterSerialCommKey();
}

TEST_F(MainWindowTest, UpdateCheckShowsTheLinkOrTheCurrentVersionText) {
  test_support::TLoopbackHttpServer server;
  setenv(kUpdateUrlVariable, server.Url("/upd.inf").c_str(), 1);
  server.Route("/upd.inf", {200, "OK", "", ControlFile("1.0.0.8")});
  Main->CheckForUpdate();
  EXPECT_TRUE(Main->NewVersionFound());
  EXPECT_EQ(Panel(1), u"<FONT color=\"#2244ff\"><B><blink>Click && get update: ver.1.0.0.8</blink></B></font>");
  EXPECT_EQ(Main->StatusBar1->Panels()->Items(1)->AppearanceStyle(), psDark);
  EXPECT_EQ(Main->StatusBar1->Panels()->Items(1)->Style(), psHTML);
  EXPECT_TRUE(Main->StatusBar1->Panels()->Items(1)->Button());
  // Once per run: a second call does not ask again.
  Main->CheckForUpdate();
  EXPECT_EQ(server.RequestCount("/upd.inf"), 1);

  // The same version: the plain text.
  DropWindows();
  MakeWindows();
  server.Route("/upd.inf", {200, "OK", "", ControlFile("1.0.0.7")});
  Main->CheckForUpdate();
  EXPECT_FALSE(Main->NewVersionFound());
  EXPECT_EQ(Panel(1), u"It's current ver. of RYX-VORira UPDATER");
  EXPECT_EQ(Main->StatusBar1->Panels()->Items(1)->AppearanceStyle(), psLight);

  // Markup in the server's version text shows as text (a size check takes
  // the text as it stands).
  DropWindows();
  MakeWindows();
  server.Route("/upd.inf", {200, "OK", "", ControlFile("9.0<IMG src=\"FILE:///etc/passwd\">") + "newsize=1\r\n"});
  Main->CheckForUpdate();
  EXPECT_EQ(Panel(1), u"<FONT color=\"#2244ff\"><B><blink>Click && get update: ver.9.0&lt;IMG src=\"FILE:///etc/passwd\"&gt;"
                      u"</blink></B></font>");
}

TEST_F(MainWindowTest, PolishWizardTextsAreTheWindowsStoredOnes) {
  EXPECT_EQ(Main->WebUpdateWizardPolish1->CurrentProgress, u"Postęp bieżącego pliku");
  EXPECT_EQ(Main->WebUpdateWizardPolish1->RestartInfo, u"Uruchom nową wersję aplikacji");
  EXPECT_EQ(Main->WebUpdateWizardPolish1->Name(), u"WebUpdateWizardPolish1");
}

// A check that never reached the server knows nothing about a newer version:
// the panel says so and stays the button that opens the wizard.
TEST_F(MainWindowTest, UnreachableServerIsNotReportedAsCurrent) {
  Main->CheckForUpdate();
  EXPECT_FALSE(Main->UpdateCheckRunning());
  EXPECT_FALSE(Main->NewVersionFound());
  EXPECT_EQ(Panel(1), kUpdateServerUnreachableText);
  EXPECT_TRUE(Main->StatusBar1->Panels()->Items(1)->Button());

  // A server that answers without the control file is not reached either.
  test_support::TLoopbackHttpServer server;
  setenv(kUpdateUrlVariable, server.Url("/upd.inf").c_str(), 1);
  server.Route("/upd.inf", {404, "Not Found", "", "gone"});
  DropWindows();
  MakeWindows();
  Main->CheckForUpdate();
  EXPECT_EQ(Panel(1), kUpdateServerUnreachableText);
}

// The window without a mouse. The four glow buttons are no tab stops (the
// button's default, which the window keeps), so the port box is the one
// place Tab and Shift+Tab reach; a button that holds the focus is pressed
// by Space and Enter; Alt+Down opens the port list, and a typed device path
// arrives whole.
TEST_F(MainWindowTest, KeyboardReachesThePortBoxAndEveryButton) {
  Main->Show();
  Main->ComboBox1->SetFocus();
  for (TShiftState shift : {TShiftState{}, TShiftState{ssShift}}) {
    testinput::KeyPress(VK_TAB, shift);
    EXPECT_EQ(Main->ActiveControl(), Main->ComboBox1);
  }
  for (TAdvGlowButton* b : {Main->btnUSB, Main->AdvGlowButton2, Main->AdvGlowButton9, Main->AdvGlowButton1})
    EXPECT_FALSE(b->TabStop()) << StringToUtf8(b->Name());

  // Space on the guide button shows the guide; Enter on the USB button asks for the programmer.
  Main->AdvGlowButton2->SetFocus();
  testinput::KeyPress(VK_SPACE);
  EXPECT_TRUE(Pinout->Visible());
  Pinout->Close();
  Main->btnUSB->SetFocus();
  Boxes.clear();
  testinput::KeyPress(VK_RETURN);
  EXPECT_EQ(WindowBoxes().size(), 1u);

  // The list opens with a port in it (an empty list does not open).
  test_support::TPseudoTerminal pty;
  test_support::TScopedSerialAlias alias(u"COM42", pty.SlavePath());
  RegisterSerialCommKey();
  Main->ComboBox1->SetFocus();
  testinput::KeyPress(VK_DOWN, {ssAlt});
  EXPECT_TRUE(Main->ComboBox1->DroppedDown());
  Main->ComboBox1->SetDroppedDown(false);
  UnregisterSerialCommKey();
  Main->ComboBox1->SetText(u"");
  testinput::SystemTypeText(Main.get(), u"/dev/ttyUSB0");
  EXPECT_EQ(Main->ComboBox1->Text(), u"/dev/ttyUSB0");
}

TEST_F(MainWindowTest, CheckRunsOnceASecondAfterTheFirstShowing) {
  test_support::TLoopbackHttpServer server;
  setenv(kUpdateUrlVariable, server.Url("/upd.inf").c_str(), 1);
  server.Route("/upd.inf", {200, "OK", "", ControlFile("1.0.0.7")});
  Main->Show();
  EXPECT_TRUE(Main->Timer1->Enabled());
  Main->Hide();
  Main->Show();
  EXPECT_FALSE(Main->UpdateCheckStarted());
  ASSERT_TRUE(PumpUntil([&] { return Main->UpdateCheckDone(); }, 5000));
  EXPECT_FALSE(Main->Timer1->Enabled());
  Main->Hide();
  Main->Show();
  EXPECT_FALSE(Main->Timer1->Enabled());
  PumpUntil([] { return false; }, 1300);
  EXPECT_EQ(server.RequestCount("/upd.inf"), 1);
  EXPECT_EQ(Panel(1), u"It's current ver. of RYX-VORira UPDATER");
}

TEST_F(MainWindowTest, ClosingDuringTheCheckCancelsItAndClosesTheWindow) {
  test_support::TLoopbackHttpServer server;
  setenv(kUpdateUrlVariable, server.Url("/upd.inf").c_str(), 1);
  server.Route("/upd.inf", {200, "OK", "", ControlFile("1.0.0.8")});
  Main->Show();
  int reentries = 0;
  // Whatever reaches the window during the check (an event of the check
  // itself here) must not start the wizard; closing cancels the check.
  Main->WebUpdate1->OnStatus = [&](TObject*, const String&, Integer, Integer) {
    if (reentries++ > 0) return;
    Main->StatusBar1PanelClick(Main->StatusBar1, 1);
    Main->Close();
    EXPECT_TRUE(Main->Visible()) << "the window waits for the check to return";
  };
  Main->CheckForUpdate();
  EXPECT_GT(reentries, 0);
  EXPECT_EQ(Main->WebUpdateWizard1->Wizard(), nullptr);
  EXPECT_FALSE(Main->UpdateCheckRunning());
  EXPECT_FALSE(Main->NewVersionFound()) << "the check was cancelled";
  EXPECT_EQ(server.RequestCount("/upd.inf"), 0);
  EXPECT_FALSE(Main->Visible()) << "and the window closed once it had returned";
}

// ---------------------------------------------------------------------------
// The serial road against the simulator

struct TUploadMoment {
  std::string Moment;
  String Panel1;
  Integer Height;
  bool ProgressVisible;
  TCursor Cursor;
};

class MainWindowUploadTest : public MainWindowTest {
 protected:
  // Writes down the window's state after each of the client's events, once
  // the window's own handler has run.
  void Record() {
    auto after = [this](const std::string& moment) {
      Moments.push_back({moment, Panel(1), Main->Height(), Main->prg->Visible(), Screen->Cursor()});
    };
    TQvBootload* b = Main->QvBootload1;
    auto info = b->OnInfoBLS;
    b->OnInfoBLS = [=](TObject* s, const TBLSINFO& i, TMBaction a, bool& stop) {
      info(s, i, a, stop);
      after(a == TMBaction::_upload ? "info-upload" : "info-check");
    };
    auto start = b->OnUploadStart;
    b->OnUploadStart = [=](TObject* s, Integer n) {
      start(s, n);
      after("start");
    };
    auto progress = b->OnUploadProgress;
    b->OnUploadProgress = [=, this](TObject* s, const String& t, Integer p) {
      progress(s, t, p);
      Percent.push_back(p);
      EXPECT_LE(Main->prg->PositionTo(), 100);
    };
    auto end = b->OnActionEnd;
    b->OnActionEnd = [=, this](TObject* s, TMBaction a, Integer st) {
      end(s, a, st);
      ++Ends;
      after("end");
    };
  }
  std::vector<TUploadMoment> Moments;
  std::vector<Integer> Percent;
  int Ends = 0;
};

TEST_F(MainWindowUploadTest, UploadWalksTheWindowThroughItsStates) {
  test_support::TBootloaderSimulator sim;
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  Main->Show();
  Main->ComboBox1->SetText(u"COM42");
  Record();
  testinput::Click(Main->AdvGlowButton1, {30, 26});
  EXPECT_EQ(Panel(1), u" Firmware updating...");
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  EXPECT_EQ(Main->prg->Position(), 0);
  ASSERT_TRUE(PumpUntil([&] { return Ends == 1; }));
  ASSERT_EQ(Moments.size(), 3u);
  EXPECT_EQ(Moments[0].Moment, "info-upload");
  EXPECT_EQ(Moments[0].Height, kUploadHeight);
  EXPECT_FALSE(Moments[0].ProgressVisible);
  EXPECT_EQ(Moments[0].Panel1, u" Firmware updating...");
  EXPECT_EQ(Moments[0].Cursor, crHourGlass);
  EXPECT_EQ(Moments[1].Moment, "start");
  EXPECT_TRUE(Moments[1].ProgressVisible);
  EXPECT_EQ(Moments[1].Height, kUploadHeight);
  EXPECT_EQ(Moments[2].Moment, "end");
  EXPECT_EQ(Moments[2].Height, kRestHeight);
  EXPECT_FALSE(Moments[2].ProgressVisible);
  EXPECT_EQ(Moments[2].Panel1, u" Firmware updated succesful");
  EXPECT_EQ(Moments[2].Cursor, crDefault);
  EXPECT_EQ(Main->prg->PositionTo(), 0);
  ASSERT_FALSE(Percent.empty());
  EXPECT_EQ(Percent.back(), 100);
  EXPECT_TRUE(WindowBoxes().empty());
  // The image went as stored (scrambled), padded to whole pages by the client.
  const std::string stored = StreamBytes(Main->mxStorage1->ItemByIndex(0)->AsStream());
  const std::string image = sim.Image();
  ASSERT_GE(image.size(), stored.size());
  EXPECT_EQ(image.substr(0, stored.size()), stored);
  EXPECT_EQ(image.find_first_not_of('\xFF', stored.size()), std::string::npos);
}

TEST_F(MainWindowUploadTest, FailedUploadShowsTheErrorAndRestoresTheWindow) {
  test_support::TBootloaderOptions options;
  options.DropAfterPages = 3;
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  Main->Show();
  Main->ComboBox1->SetText(u"COM42");
  Record();
  Main->AdvGlowButton1Click(Main->AdvGlowButton1);
  ASSERT_TRUE(PumpUntil([&] { return Ends == 1; }));
  ASSERT_EQ(WindowBoxes().size(), 1u);
  EXPECT_EQ(WindowBoxes()[0].rfind(" B\xC5\x81\xC4\x84" "D !|", 0), 0u) << WindowBoxes()[0];
  EXPECT_EQ(Main->Height(), kRestHeight);
  EXPECT_FALSE(Main->prg->Visible());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(Panel(1), u" Firmware update failed");

  // The next upload succeeds as usual.
  test_support::TBootloaderSimulator good;
  test_support::TScopedSerialAlias again(u"COM43", good.SlavePath());
  Main->ComboBox1->SetText(u"COM43");
  Main->AdvGlowButton1Click(Main->AdvGlowButton1);
  ASSERT_TRUE(PumpUntil([&] { return Ends == 2; }));
  EXPECT_EQ(Panel(1), u" Firmware updated succesful");
  EXPECT_EQ(Main->Height(), kRestHeight);
}

TEST_F(MainWindowUploadTest, PortTextsThatNameNoPortAreRefused) {
  for (const char16_t* text : {u"hello", u"", u"COM", u"/etc/passwd", u"dev/ttyUSB0"}) {
    Boxes.clear();
    Main->ComboBox1->SetText(text);
    Main->AdvGlowButton1Click(Main->AdvGlowButton1);
    Main->AdvGlowButton9Click(Main->AdvGlowButton9);
    ASSERT_EQ(WindowBoxes().size(), 2u) << StringToUtf8(text);
    EXPECT_NE(WindowBoxes()[0].find("is not a serial port name"), std::string::npos);
    EXPECT_EQ(Panel(1), u"");
    EXPECT_EQ(Screen->Cursor(), crDefault);
  }
  // A port name that names no device goes to the client, whose text shows.
  Boxes.clear();
  Main->ComboBox1->SetText(u"COM99");
  Record();
  Main->AdvGlowButton9Click(Main->AdvGlowButton9);
  ASSERT_TRUE(PumpUntil([&] { return !WindowBoxes().empty(); }));
  EXPECT_NE(WindowBoxes()[0].find("COM99"), std::string::npos) << WindowBoxes()[0];
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(MainWindowTest, OnlyFailuresOfTheClientBecomeErrorBoxes) {
  Screen->SetCursor(crHourGlass);
  Main->QvBootload1->OnStatus(Main->QvBootload1, u"WiFi Connected Success", 0);
  EXPECT_TRUE(WindowBoxes().empty());
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  Main->QvBootload1->OnStatus(Main->QvBootload1, u"Timeout", -200);
  Main->QvBootload1->OnStatus(Main->QvBootload1, u"Input/output error", 5);
  EXPECT_EQ(WindowBoxes(), (std::vector<std::string>{" B\xC5\x81\xC4\x84" "D !|Timeout",
                                                      " B\xC5\x81\xC4\x84" "D !|Input/output error"}));
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(MainWindowUploadTest, CheckShowsTheBootloaderDialogCentred) {
  test_support::TBootloaderOptions options;
  options.Microcontroller = "atmega328p";
  options.ClockHz = "16000000";
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  Main->Show();
  Main->ComboBox1->SetText(u"COM42");
  bool shown = false;
  Bls->OnShow = [&](TObject*) {
    shown = true;
    EXPECT_EQ(Bls->lbUC->Caption(), u"ATmega328P");
    EXPECT_EQ(Bls->lbFCPU->Caption(), FormatFloat(u"##.000 MHz", 16.0));
    EXPECT_EQ(Bls->Top(), Main->Top() + Main->Height() / 2 - Bls->Height() / 2);
    EXPECT_EQ(Bls->Left(), Main->Left() + Main->Width() / 2 - Bls->Width() / 2);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    PostMessage(Bls->Handle(), WM_CLOSE, 0, 0);
  };
  Main->AdvGlowButton9Click(Main->AdvGlowButton9);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  ASSERT_TRUE(PumpUntil([&] { return shown && !Bls->Visible(); }));
  EXPECT_TRUE(WindowBoxes().empty());
}

TEST_F(MainWindowUploadTest, ClockThatIsNoNumberStillShowsTheDialog) {
  test_support::TBootloaderOptions options;
  options.ClockHz = "fast";
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  Main->Show();
  Main->ComboBox1->SetText(u"COM42");
  bool shown = false;
  Bls->OnShow = [&](TObject*) {
    shown = true;
    EXPECT_EQ(Bls->lbFCPU->Caption(), u"unknown");
    EXPECT_EQ(Bls->lbUC->Caption(), u"ATmega88");
    PostMessage(Bls->Handle(), WM_CLOSE, 0, 0);
  };
  Main->AdvGlowButton9Click(Main->AdvGlowButton9);
  ASSERT_TRUE(PumpUntil([&] { return shown && !Bls->Visible(); }));
}

TEST_F(MainWindowTest, UsbButtonWithoutProgrammerAsksToConnectIt) {
  if (Main->QvLibUSB1->Connected()) GTEST_SKIP() << "a programmer is attached to this machine";
  Main->btnUSBClick(Main->btnUSB);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], " INFORMACJA|Connect programmer into USB port first");
  EXPECT_FALSE(Usb->Visible());
}

TEST_F(MainWindowTest, GuideButtonShowsThePinoutWithoutWaiting) {
  Main->Show();
  Main->AdvGlowButton2Click(Main->AdvGlowButton2);
  EXPECT_TRUE(Pinout->Visible());
  EXPECT_FALSE(Pinout->FormState().Contains(fsModal));
}

}  // namespace
