#include <gtest/gtest.h>

#include <memory>

#include "programmer/WifiProbe.h"
#include "tests/programmer/WifiTestSupport.h"
#include "tests/support/WifiModuleSimulator.h"

using namespace test_support;
using wifi_test::TEvents;

namespace {

TEST(WifiProbe, WhiteSpaceAndOwnAddress) {
  EXPECT_EQ(TCheckWiFi::RemoveWhiteSpace(u" +ok = UDP ,\tServer\r\n\x0085\x00A0\x2028\x2029\x3000x"),
            u"+ok=UDP,Serverx");
  struct Case {
    const char16_t* answer;
    const char16_t* address;
    bool named;
  } cases[] = {
      {u"192.168.1.2,ACCF23A0B1C2,KORVI", u"192.168.1.2", true},
      {u"192.168.1.20,ACCF23A0B1C2,KORVI", u"192.168.1.2", false},  // not a substring match
      {u"10.0.0.1,192.168.1.2", u"192.168.1.2", true},
      {u" 192.168.1.2 ,MAC,Name\r\n", u"192.168.1.2", true},
      {u"x192.168.1.2,MAC", u"192.168.1.2", false},
      {u"MAC,Name", u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TCheckWiFi::AnswerNamesAddress(c.answer, c.address), c.named) << StringToUtf8(c.answer);
  }
}

// Every case is a module on its own loopback address; the probes run side by
// side, as a scan runs them.
TEST(WifiProbe, DialogueResults) {
  TWifiPortLock lock;
  if (!lock.Held()) GTEST_SKIP() << "another test process keeps UDP port 48899 busy";
  struct Case {
    const char* name;
    const char* ip;
    std::function<void(TWifiModuleOptions&)> setup;
    std::string expected;  // "<port>" stands for the module's data port
  } cases[] = {
      {"maker's module", "127.0.0.2", [](TWifiModuleOptions&) {}, "<port>,UDP,Server,115200,:K1O2R3:,"},
      {"blanks around = and ,", "127.0.0.3",
       [](TWifiModuleOptions& o) { o.NetpAnswer = "+ok = TCP , Client , 8899 , 127.0.0.3\r\n"; },
       "8899,TCP,Client,115200,:K1O2R3:,"},
      {"other module type", "127.0.0.4",
       [](TWifiModuleOptions& o) { o.DiscoveryAnswer = "127.0.0.4,MAC,ESP :ext#info: 8899,UDP,Server "; },
       "8899,UDP,Server:E1S2P3:,"},
      {"silent", "127.0.0.5", [](TWifiModuleOptions& o) { o.Silent = true; }, "error"},
      {"too slow", "127.0.0.6", [](TWifiModuleOptions& o) { o.AnswerDelayMs = 2600; }, "error"},
      {"does not name itself", "127.0.0.7",
       [](TWifiModuleOptions& o) { o.DiscoveryAnswer = "127.0.0.70,MAC,KORVI"; }, "error"},
      {"another maker", "127.0.0.8", [](TWifiModuleOptions& o) { o.CidAnswer = "+ok=OTHERCO"; }, "error"},
      {"short settings", "127.0.0.9", [](TWifiModuleOptions& o) { o.NetpAnswer = "+ok=UDP"; }, "error"},
      {"error answer", "127.0.0.10", [](TWifiModuleOptions& o) { o.CidAnswer = "+ERR=-1"; }, "error"},
  };
  std::vector<std::unique_ptr<TWifiModuleSimulator>> modules;
  std::vector<std::unique_ptr<TCheckWiFi>> probes;
  auto slots = std::make_shared<TWiFiScanSlots>(std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TWifiModuleOptions o;
    o.IP = cases[i].ip;
    cases[i].setup(o);
    modules.push_back(std::make_unique<TWifiModuleSimulator>(o));
    if (!modules.back()->Ok()) GTEST_SKIP() << modules.back()->Error();
    probes.push_back(std::make_unique<TCheckWiFi>(slots, static_cast<Integer>(i), nullptr, Utf8ToString(o.IP),
                                                  u"48899", u"QX-B27PLANKORDEFT"));
  }
  for (auto& p : probes) p->Start();
  for (auto& p : probes) p->WaitFor();
  const std::vector<String> results = slots->Snapshot();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::string expected = cases[i].expected;
    if (const auto at = expected.find("<port>"); at != std::string::npos) {
      expected.replace(at, 6, std::to_string(modules[i]->DataPort()));
    }
    EXPECT_EQ(StringToUtf8(results[i]), expected) << cases[i].name;
    EXPECT_EQ(probes[i]->InfoString(), results[i]) << cases[i].name;
  }
  // The dialogue as the module saw it.
  EXPECT_EQ(modules[0]->ConfigReceived(),
            (std::vector<std::string>{"QX-B27PLANKORDEFT", "+ok", "AT+\r", "AT+CID\r", "AT+NETP=?\r", "AT+UART\r"}));
}

// "Connected" comes only from the module's answer: a silent module never
// reports success, not even at the probe's start.
TEST(WifiProbe, ComponentProbeReportsTheAnswer) {
  TWifiPortLock lock;
  if (!lock.Held()) GTEST_SKIP() << "another test process keeps UDP port 48899 busy";
  TWifiModuleOptions good;
  TWifiModuleOptions silent;
  silent.IP = "127.0.0.3";
  silent.Silent = true;
  TWifiModuleOptions ext;
  ext.IP = "127.0.0.4";
  ext.DiscoveryAnswer = "127.0.0.4,MAC,ESP:ext#info:8899,UDP";
  TWifiModuleSimulator goodModule(good), silentModule(silent), extModule(ext);
  for (auto* m : {&goodModule, &silentModule, &extModule}) {
    if (!m->Ok()) GTEST_SKIP() << m->Error();
  }

  TQvBootload b(nullptr);
  TEvents e;
  e.Attach(b);
  b.SetRemoteIP(u"127.0.0.3");
  b.SetWiFiActive(true);
  EXPECT_EQ(b.WifiPassword(), u"QX-B27PLANKORDEFT");  // blank keyword: the factory one
  ASSERT_TRUE(PumpUntil([&] { return !e.Connects.empty(); }, 5000));
  EXPECT_EQ(e.Connects, std::vector<bool>{false});
  EXPECT_FALSE(b.WiFiActive());
  EXPECT_EQ(e.Statuses, (std::vector<std::pair<std::string, Integer>>{{"WIFI Connection problem", -200},
                                                                      {"WiFi Disconnected", -215}}));

  e = {};
  e.Attach(b);
  b.SetRemoteIP(u"127.0.0.2");
  b.SetWiFiActive(true);
  ASSERT_TRUE(PumpUntil([&] { return !e.Connects.empty(); }, 5000));
  EXPECT_EQ(e.Connects, std::vector<bool>{true});
  EXPECT_TRUE(b.WiFiActive());
  EXPECT_FALSE(b.IsESP8266());
  EXPECT_EQ(e.Statuses, (std::vector<std::pair<std::string, Integer>>{{"WiFi Connected Success", 0}}));

  // While connected, another address is refused until the old one is set again.
  b.SetRemoteIP(u"127.0.0.4");
  EXPECT_EQ(b.RemoteIP(), u"127.0.0.2");
  b.SetWiFiActive(false);
  EXPECT_EQ(e.Connects, (std::vector<bool>{true, false}));
  b.SetRemoteIP(u"127.0.0.4");
  b.SetWiFiActive(true);
  ASSERT_TRUE(PumpUntil([&] { return e.Connects.size() == 3; }, 5000));
  EXPECT_TRUE(e.Connects.back());
  EXPECT_TRUE(b.IsESP8266());
}

// A component destroyed while its probe still waits for a module stops the
// probe; nothing is reported to the dead component.
TEST(WifiProbe, ComponentDestroyedDuringProbe) {
  TWifiPortLock lock;
  if (!lock.Held()) GTEST_SKIP() << "another test process keeps UDP port 48899 busy";
  TWifiModuleOptions slow;
  slow.AnswerDelayMs = 1500;
  TWifiModuleSimulator module(slow);
  if (!module.Ok()) GTEST_SKIP() << module.Error();
  TEvents e;
  {
    TQvBootload b(nullptr);
    e.Attach(b);
    b.SetRemoteIP(u"127.0.0.2");
    b.SetWiFiActive(true);
    PumpUntil([&] { return !module.ConfigReceived().empty(); }, 2000);
  }
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(e.Connects.empty());
}

}  // namespace
