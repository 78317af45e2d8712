#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "platform/rtl/StrUtils.h"
#include "platform/win/Clock.h"
#include "programmer/WifiScan.h"
#include "transport/UdpBlockSocket.h"
#include "tests/programmer/WifiTestSupport.h"
#include "tests/support/WifiModuleSimulator.h"

using namespace test_support;
using wifi_test::TEvents;
using Statuses = std::vector<std::pair<std::string, Integer>>;
using Ends = std::vector<std::pair<TMBaction, Integer>>;

namespace {

TEST(WifiScan, DiscoveryAnswers) {
  struct Case {
    const char* answer;
    const char16_t* line;  // nullptr: not a module
  } cases[] = {
      {"192.168.1.20,ACCF23A0B1C2,KORVI-1", u"192.168.1.20,KORVI-1"},
      {"10.0.0.7, MAC , Name with blanks \r\n", u"10.0.0.7,Name with blanks"},
      {"10.0.0.7,MAC,Name,extra", u"10.0.0.7,Name"},
      {"10.0.0.7,MAC", nullptr},  // too few fields: skipped, not fatal
      {"garbage", nullptr},
      {"", nullptr},
      {",MAC,Name", nullptr},
      {"10.0.0.7,MAC,Na\rme", nullptr},  // would split the list's line
  };
  for (const Case& c : cases) {
    String ip, line;
    const bool ok = TWiFiScan::ModuleLine(c.answer, ip, line);
    EXPECT_EQ(ok, c.line != nullptr) << c.answer;
    if (ok && c.line != nullptr) {
      EXPECT_EQ(line, c.line);
      EXPECT_EQ(ip, line.substr(0, line.find(u',')));
    }
  }
}

TEST(WifiScan, ResultsMergedSortedAndErrorsDropped) {
  const std::vector<String> lines = {u"10.0.0.9,zeta", u"10.0.0.10,Alpha", u"10.0.0.2,beta"};
  const std::vector<String> results = {u"8899,UDP,Server,115200,:K1O2R3:,", u"error", u"x:E1S2P3:,"};
  EXPECT_EQ(TWiFiScan::MergeResults(lines, results),
            (std::vector<String>{u"10.0.0.2,x:E1S2P3:,beta", u"10.0.0.9,8899,UDP,Server,115200,:K1O2R3:,zeta"}));
}

// Two good modules of each type, one that never answers, one that answers the
// broadcast but not its probe, and a malformed answer: the list holds the
// good ones in order, and the scan reports them all.
TEST(WifiScan, FindsTheModulesThatAnswerTheirProbe) {
  TWifiPortLock lock;
  if (!lock.Held()) GTEST_SKIP() << "another test process keeps UDP port 48899 busy";
  TWifiModuleOptions korvi;
  korvi.IP = "127.0.0.3";
  korvi.Name = "KORVI-B";
  TWifiModuleOptions ext;
  ext.IP = "127.0.0.2";
  // The other type's settings carry their own trailing ",".
  ext.DiscoveryAnswer = "127.0.0.2,ACCF23000002,esp-a,:ext#info:8899,UDP,Server,57600,";
  TWifiModuleOptions silent;
  silent.IP = "127.0.0.4";
  silent.Silent = true;
  TWifiModuleOptions noProbe;
  noProbe.IP = "127.0.0.5";
  noProbe.IgnoreProbe = true;
  TWifiModuleOptions malformed;
  malformed.IP = "127.0.0.6";
  malformed.DiscoveryAnswer = "127.0.0.6;no fields";
  std::vector<std::unique_ptr<TWifiModuleSimulator>> modules;
  for (const auto& o : {korvi, ext, silent, noProbe, malformed}) {
    modules.push_back(std::make_unique<TWifiModuleSimulator>(o));
    if (!modules.back()->Ok()) GTEST_SKIP() << modules.back()->Error();
  }

  TQvBootload b(nullptr);
  TEvents e;
  e.Attach(b);
  b.GetWiFiModulesList();
  ASSERT_TRUE(e.WaitEnds(1, 15000));
  EXPECT_EQ(e.Statuses, Statuses{});
  EXPECT_EQ(e.Ends, (Ends{{TMBaction::_wifi_list, 2}}));
  ASSERT_EQ(e.ListCount, 2);
  ASSERT_EQ(e.List.size(), 2u);
  const TWIFIitem& a = e.List[0];
  EXPECT_EQ(a.IP, u"127.0.0.2");
  EXPECT_EQ(a.Port, u"8899");
  EXPECT_EQ(a.UDP_TCP, u"UDP");
  EXPECT_EQ(a.cln_srv, u"Server");
  EXPECT_EQ(a.Baudrate, u"57600");
  EXPECT_EQ(a.Name, u"esp-a");
  EXPECT_TRUE(a.isESP);
  const TWIFIitem& k = e.List[1];
  EXPECT_EQ(k.IP, u"127.0.0.3");
  EXPECT_EQ(k.Port, IntToStr(modules[0]->DataPort()));
  EXPECT_EQ(k.UDP_TCP, u"UDP");
  EXPECT_EQ(k.cln_srv, u"Server");
  EXPECT_EQ(k.Baudrate, u"115200");
  EXPECT_EQ(k.Name, u"KORVI-B");
  EXPECT_FALSE(k.isESP);
  for (const auto& m : modules) EXPECT_EQ(m->DiscoveryCount(), 1) << m->Options().IP;
  EXPECT_EQ(b.WiFiList().size(), 2u);
}

// A scan that gives up while a slow module's probe is still talking, and a
// second scan started from inside OnActionEnd: the probe is stopped with its
// scan and writes nowhere afterwards; the second scan (nothing answers) ends
// the same way.
TEST(WifiScan, TimeOutWithAProbeStillTalkingThenNoModuleAtAll) {
  TWifiPortLock lock;
  if (!lock.Held()) GTEST_SKIP() << "another test process keeps UDP port 48899 busy";
  TWifiModuleOptions slow;
  slow.AnswerDelayMs = 1900;  // each step just inside the probe's patience
  auto module = std::make_unique<TWifiModuleSimulator>(slow);
  if (!module->Ok()) GTEST_SKIP() << module->Error();

  TQvBootload b(nullptr);
  TEvents e;
  e.Attach(b);
  e.AfterEnd = [&](TMBaction, Integer) {
    if (e.Ends.size() != 1) return;
    module.reset();
    b.GetWiFiModulesList();
  };
  b.GetWiFiModulesList();
  ASSERT_TRUE(e.WaitEnds(2, 20000));
  EXPECT_EQ(e.Statuses, (Statuses{{"Get WiFi modules list - Timeout", -200}, {"Get WiFi modules list - Timeout", -200}}));
  EXPECT_EQ(e.Ends, (Ends{{TMBaction::_wifi_list, -1}, {TMBaction::_wifi_list, -1}}));
  EXPECT_EQ(e.ListCount, -1);
}

// A host that answers the discovery with an endless stream of noise and
// repeats: the scan stops listening on its own and reports that no module
// answered, instead of listening for as long as the noise lasts.
TEST(WifiScan, EndlessNoiseDoesNotKeepTheScanListening) {
  struct THost : TBootloadHost {
    std::vector<std::pair<UINT, LPARAM>> Posts;
    std::vector<String> Texts;
    void Delay(Cardinal Ms) override { Sleep(Ms); }
    void Post(UINT Msg, const String* Text, LPARAM LParam) override {
      Posts.emplace_back(Msg, LParam);
      Texts.push_back(Text != nullptr ? *Text : String());
    }
    Integer StopBadTarget() override { return -1; }
    void SetStopBadTarget(Integer) override {}
    bool StopRequested() override { return false; }
  } host;

  TUDPBlockSocket sock;
  sock.Bind(u"127.0.0.1", u"0");
  ASSERT_EQ(sock.LastError(), 0);
  const String port = IntToStr(sock.GetLocalSinPort());
  // The keyword goes to loopback, where no module listens on this address.
  const String savedBroadcast = WiFiBroadcastAddress();
  SetWiFiBroadcastAddress(u"127.0.0.1");

  std::atomic<bool> stop{false};
  std::thread noise([&] {
    TUDPBlockSocket out;
    out.Connect(u"127.0.0.1", port);
    for (unsigned n = 0; !stop; ++n) {
      out.SendString(n % 2 ? "garbage" : "127.0.0.9,MAC");  // neither is a module
      if (n % 64 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  auto scan = std::async(std::launch::async, [&] { TWiFiScan(sock, host, u"").Run(); });
  const bool endedDuringNoise = scan.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
  stop = true;
  noise.join();
  scan.wait();
  SetWiFiBroadcastAddress(savedBroadcast);

  EXPECT_TRUE(endedDuringNoise);
  ASSERT_EQ(host.Posts.size(), 2u);
  EXPECT_EQ(host.Posts[0], (std::pair<UINT, LPARAM>{WM_QVBL_STATUS, QVBL_ERR_FAILED}));
  EXPECT_EQ(host.Texts[0], u"Get WiFi modules list - Timeout");
  EXPECT_EQ(host.Posts[1], (std::pair<UINT, LPARAM>{WM_QVBL_ACTION_STATUS, -1}));
}

}  // namespace
