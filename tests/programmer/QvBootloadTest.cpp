// The component around the road: its messages, its refusals, the WiFi
// switches that exist before the WiFi road, the owner-form guard, and its
// destruction while a run goes on.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TypInfo.h"
#include "tests/programmer/BootloadSupport.h"

using namespace bootload_test;
using test_support::TBootloaderOptions;

namespace {

void PostText(HWND wnd, UINT msg, const String& text, LPARAM l) {
  PostMessage(wnd, msg, reinterpret_cast<WPARAM>(new String(text)), l,
              [](WPARAM w, LPARAM) { delete reinterpret_cast<String*>(w); });
}

TEST(BootloadComponent, InformationParseAsTheEventReportsIt) {
  struct Case {
    const char16_t* reply;
    Integer page;
    const char16_t* mcu;
    const char16_t* version;
  } cases[] = {
      {u"&128,1E00,atmega88,12000000,2.1", 128, u"atmega88", u"2.1"},
      {u"?\?(&64, 3C00 , atmega168 ,16000000, 3.0 )", 64, u"atmega168", u"3.0"},
      {u"&x,1E00,atmega8,8000000,1", 128, u"atmega8", u"1"},  // not a number: 128
      {u"garbage", 128, u"", u""},
  };
  for (const Case& c : cases) {
    const TBLSINFO info = TQvBootload::ParseInfoBLS(c.reply, u"&");
    EXPECT_EQ(info.PageSize, c.page) << Utf8(c.reply);
    EXPECT_EQ(info.Microcontroller, c.mcu) << Utf8(c.reply);
    EXPECT_EQ(info.BLSVer, c.version) << Utf8(c.reply);
  }
}

TEST(BootloadComponent, WorkerMessagesBecomeEvents) {
  TQvBootload boot(nullptr);
  TRecorder rec;
  rec.Attach(boot);
  std::vector<TWIFIitem> list;
  Integer listCount = -1;
  boot.OnGetWiFiList = [&](TObject*, const std::vector<TWIFIitem>& l, Integer n) {
    list = l;
    listCount = n;
  };
  const HWND h = boot.Handle();
  PostText(h, WM_QVBL_PROGRESS, u"00 m 01 s 000 ms", 150);
  PostMessage(h, WM_QVBL_UPLOAD_START, 0, 7040);
  PostText(h, WM_QVBL_STATUS, u"hello", -7);
  PostMessage(h, WM_QVBL_IS_ESP, 0, 1);
  // Four modules announced, the second line short: parsing stops there,
  // keeping the fields that line had (its name, field 6, is taken before the
  // marker, field 5).
  PostText(h, WM_QVBL_WIFI_LIST,
           u"10.0.0.2,8899,UDP,Server,115200,:E1S2P3:,alpha\r\n10.0.0.3,8899,TCP,Client,9600,:E1S2P3:\r\n"
           u"10.0.0.4,1,UDP,Server,9600,:K1O2R3:,c\r\n",
           4);
  PostMessage(h, WM_USER + 300, 0, 0);  // not ours: ignored
  PumpPending();
  EXPECT_EQ(rec.Events, (std::vector<std::string>{"progress 100", "start 7040", "status -7 hello"}));
  EXPECT_TRUE(boot.IsESP8266());
  ASSERT_EQ(listCount, 4);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].IP, u"10.0.0.2");
  EXPECT_EQ(list[0].Baudrate, u"115200");
  EXPECT_EQ(list[0].Name, u"alpha");
  EXPECT_TRUE(list[0].isESP);
  EXPECT_EQ(list[1].IP, u"10.0.0.3");
  EXPECT_EQ(list[1].cln_srv, u"Client");
  EXPECT_EQ(list[1].Baudrate, u"9600");
  EXPECT_TRUE(list[1].Name.empty());
  EXPECT_FALSE(list[1].isESP);
  EXPECT_TRUE(list[2].IP.empty());
  EXPECT_TRUE(list[3].IP.empty());
}

TEST(BootloadComponent, WiFiSwitchesAndRefusals) {
  TQvBootload boot(nullptr);
  TRecorder rec;
  rec.Attach(boot);
  std::vector<bool> connects;
  boot.OnWiFiConnect = [&](TObject*, bool ok) { connects.push_back(ok); };
  boot.SetUseKORVI_WIFI(true);
  boot.SetWsadBIN("x");
  boot.UploadBIN();
  EXPECT_EQ(rec.Events.back(), "status -200 WiFi not connected");

  // Switching on without a module address: the probe finds nothing; the keyword gets its factory value.
  boot.SetWiFiActive(true);
  ASSERT_TRUE(PumpUntil([&] { return !connects.empty(); }));
  EXPECT_FALSE(boot.WiFiActive());
  EXPECT_EQ(boot.WifiPassword(), u"QX-B27PLANKORDEFT");
  EXPECT_EQ(connects, std::vector<bool>{false});
  EXPECT_EQ(rec.Events.back(), "status -215 WiFi Disconnected");

  // A module that answered: the address is then fixed until switched off.
  boot.SetRemoteIP(u"127.0.0.1");
  PostMessage(boot.Handle(), WM_QVBL_WIFI_CONNECT, 0, 1);
  PumpPending();
  EXPECT_TRUE(boot.WiFiActive());
  EXPECT_EQ(rec.Events.back(), "status 0 WiFi Connected Success");
  boot.SetRemoteIP(u"127.0.0.2");
  EXPECT_EQ(boot.RemoteIP(), u"127.0.0.1");
  boot.UploadBIN();
  EXPECT_EQ(rec.Events.back(), "status -200 Can't change IP address or port while WiFi is connected!");
  boot.SetRemoteIP(u"127.0.0.1");
  // Refusal cleared: the run starts on the WiFi road and ends there for want of a data port.
  boot.UploadBIN();
  ASSERT_TRUE(PumpUntil([&] { return rec.Ends == 1; }));
  EXPECT_EQ(rec.Milestones().back(), "end 2 -1");
  EXPECT_EQ(rec.Milestones()[rec.Milestones().size() - 2], "status -200 Missing or bad Port");

  boot.SetWiFiActive(false);
  EXPECT_FALSE(boot.WiFiActive());
  EXPECT_EQ(connects.back(), false);
}

// A form as the component sees it.
class TFakeForm : public TComponent, public IBootloadOwnerForm {
 public:
  TFakeForm() : TComponent(nullptr) {}
  TCloseQueryEvent& CloseQueryHandler() override { return OnCloseQuery; }
  void SetFormEnabled(bool Value) override { Enabled = Value; }
  void SetFormAlphaBlend(bool Value, Byte AlphaValue) override { Alpha = Value ? AlphaValue : 255; }
  void CloseForm() override { ++Closes; }
  void ShowModalMessage(const String& Text) override { Messages.push_back(Text); }
  bool AskClose() {
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
  }

  TCloseQueryEvent OnCloseQuery;
  bool Enabled = true;
  int Alpha = 255;
  int Closes = 0;
  std::vector<String> Messages;
};

TEST(BootloadComponent, OwnerFormCannotCloseWhileARunGoesOn) {
  TComponent plain(nullptr);
  EXPECT_THROW(TQvBootload refused(&plain), EInvalidCast);
  EXPECT_EQ(plain.ComponentCount(), 0);

  TBootloaderOptions options;
  options.Silent = true;  // a run that lasts a few seconds
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  TFakeForm form;
  int ownChecks = 0;
  form.OnCloseQuery = [&](TObject*, bool&) { ++ownChecks; };
  auto* boot = new TQvBootload(&form);  // owned by the form
  TRecorder rec;
  rec.Attach(*boot);
  boot->SetComPort(u"COM42");
  EXPECT_TRUE(form.AskClose());
  boot->CheckBLS();
  EXPECT_FALSE(form.AskClose());
  EXPECT_EQ(ownChecks, 2);
  EXPECT_FALSE(form.Enabled);
  EXPECT_EQ(form.Alpha, 230);
  EXPECT_EQ(form.Messages, std::vector<String>{u"Wait for RuVuzeroziru Thread end"});
  EXPECT_EQ(rec.Events, std::vector<std::string>{"wait"});
  ASSERT_TRUE(PumpUntil([&] { return rec.Ends == 1; }));
  EXPECT_TRUE(form.Enabled);
  EXPECT_TRUE(form.AskClose());

  delete boot;  // leaves the form its own handler back
  ASSERT_TRUE(form.OnCloseQuery);
  EXPECT_TRUE(form.AskClose());
  EXPECT_EQ(ownChecks, 4);
}

TEST(BootloadComponent, DestroyedDuringAnUploadStopsItsThreadFirst) {
  TBootloaderOptions options;
  options.BaudRate = 9600;
  options.PageSize = 128;
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  int events = 0;
  {
    TQvBootload boot(nullptr);
    boot.OnUploadProgress = [&](TObject*, const String&, Integer) { ++events; };
    boot.OnActionEnd = [&](TObject*, TMBaction, Integer) { ++events; };
    boot.SetComPort(u"COM42");
    boot.SetWsadBIN(Pattern(64 * 1024));
    boot.UploadBIN();
    ASSERT_TRUE(PumpUntil([&] { return sim.PagesReceived() >= 2; }, 20000));
  }
  const int seen = events;
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(events, seen);
  EXPECT_EQ(sim.UploadsCompleted(), 0);
  EXPECT_LT(sim.PagesReceived(), 64 * 1024 / 128);
}

TEST(BootloadComponent, PublishedPropertiesByName) {
  RegisterBootloadClasses();
  const TClassInfo* cls = FindClass(u"TQvBootload");
  ASSERT_NE(cls, nullptr);
  std::unique_ptr<TComponent> made(cls->CreateComponent(nullptr));
  auto* boot = dynamic_cast<TQvBootload*>(made.get());
  ASSERT_NE(boot, nullptr);
  EXPECT_EQ(GetStrProp(boot, u"SoftRSTCommand"), u"AT+RST?");
  EXPECT_EQ(GetStrProp(boot, u"Version"), u"1.1");
  EXPECT_EQ(GetOrdProp(boot, u"UseSoftRST"), 1);
  SetStrProp(boot, u"ComPort", u"COM7");
  EXPECT_EQ(boot->ComPort(), u"COM7");
  EXPECT_NE(GetPropInfo(boot, u"OnActionEnd"), nullptr);
}

}  // namespace
