#include <gtest/gtest.h>

#include <random>

#include "platform/rtl/StrUtils.h"
#include "tests/programmer/WifiTestSupport.h"
#include "tests/support/BootloaderSimulator.h"
#include "tests/support/WifiModuleSimulator.h"

using namespace test_support;
using wifi_test::TEvents;
using Statuses = std::vector<std::pair<std::string, Integer>>;

namespace {

std::string RandomImage(std::size_t size) {
  std::mt19937 gen(7);
  std::string image(size, '\0');
  for (char& c : image) c = static_cast<char>(gen() & 0xFF);
  return image;
}

// A component connected to the module at 127.0.0.2.
void Connect(TQvBootload& b, TEvents& e, const String& port) {
  b.SetUseKORVI_WIFI(true);
  b.SetRemoteIP(u"127.0.0.2");
  b.SetRemotePort(port);
  b.SetWiFiActive(true);
  ASSERT_TRUE(PumpUntil([&] { return !e.Connects.empty(); }, 5000));
  ASSERT_TRUE(b.WiFiActive());
  e.Statuses.clear();
}

// Check, then from inside OnActionEnd the upload: the image reaches the
// bootloader through the module byte for byte.
TEST(WifiRoad, CheckThenUploadThroughTheModule) {
  TWifiPortLock lock;
  if (!lock.Held()) GTEST_SKIP() << "another test process keeps UDP port 48899 busy";
  TBootloaderOptions blo;
  blo.PageSize = 64;
  TBootloaderSimulator bls(blo);
  TWifiModuleOptions mo;
  mo.SerialDevice = bls.SlavePath();
  TWifiModuleSimulator module(mo);
  if (!module.Ok()) GTEST_SKIP() << module.Error();

  TQvBootload b(nullptr);
  TEvents e;
  e.Attach(b);
  Connect(b, e, IntToStr(module.DataPort()));
  const std::string image = RandomImage(7000);
  b.SetWsadBIN(image);
  e.AfterEnd = [&](TMBaction action, Integer) {
    if (action == TMBaction::_check_bls) b.UploadBIN();
  };
  b.CheckBLS();
  ASSERT_TRUE(e.WaitEnds(2, 30000)) << e.Statuses.size();

  EXPECT_EQ(e.Ends, (std::vector<std::pair<TMBaction, Integer>>{{TMBaction::_check_bls, 0}, {TMBaction::_upload, 0}}));
  EXPECT_EQ(e.Statuses, Statuses{});
  EXPECT_EQ(e.InfoCount, 2);
  EXPECT_EQ(e.Info.PageSize, 64);
  EXPECT_EQ(e.Info.Microcontroller, u"atmega88");
  EXPECT_EQ(e.Info.F_CPU, u"12000000");
  EXPECT_EQ(e.UploadSize, 7040);
  ASSERT_FALSE(e.Progress.empty());
  EXPECT_EQ(e.Progress.back(), 100);
  ASSERT_TRUE(bls.WaitForUploads(1, 5000));
  EXPECT_EQ(bls.Image(), image + std::string(40, '\xFF'));
  EXPECT_EQ(bls.FramingErrors(), 0);
  EXPECT_EQ(module.ResetCommands(), 2);  // one reset datagram per run on the configuration port
}

TEST(WifiRoad, Failures) {
  TWifiPortLock lock;
  if (!lock.Held()) GTEST_SKIP() << "another test process keeps UDP port 48899 busy";
  TWifiModuleSimulator module;  // no bootloader behind it
  if (!module.Ok()) GTEST_SKIP() << module.Error();
  const String port = IntToStr(module.DataPort());

  {
    // A blank data port is found after the reset datagrams went out.
    TQvBootload b(nullptr);
    TEvents e;
    e.Attach(b);
    Connect(b, e, u"");
    b.SetWsadBIN("abc");
    b.UploadBIN();
    ASSERT_TRUE(e.WaitEnds(1, 10000));
    EXPECT_EQ(e.Statuses, (Statuses{{"Missing or bad Port", -200}}));
    EXPECT_EQ(e.Ends, (std::vector<std::pair<TMBaction, Integer>>{{TMBaction::_upload, -1}}));
    EXPECT_TRUE(PumpUntil([&] { return module.ResetCommands() == 1; }, 2000));
  }
  {
    // Nothing behind the module: no ready byte; the upload fails as an upload.
    TQvBootload b(nullptr);
    TEvents e;
    e.Attach(b);
    Connect(b, e, port);
    b.SetWsadBIN("abc");
    b.UploadBIN();
    ASSERT_TRUE(e.WaitEnds(1, 15000));
    EXPECT_EQ(e.Statuses, (Statuses{{"127.0.0.2:" + StringToUtf8(port) + " - no response from BLS", -100}}));
    EXPECT_EQ(e.Ends, (std::vector<std::pair<TMBaction, Integer>>{{TMBaction::_upload, -1}}));
    // The soft reset went to the data port: a CR, then the command with its CR.
    EXPECT_EQ(module.DataReceived(), "\r\rAT+RST?\r");
  }
  {
    // A local address that cannot be bound.
    TQvBootload b(nullptr);
    TEvents e;
    e.Attach(b);
    Connect(b, e, port);
    b.SetLocalIP(u"192.0.2.1");
    b.CheckBLS();
    ASSERT_TRUE(e.WaitEnds(1, 10000));
    ASSERT_EQ(e.Statuses.size(), 1u);
    EXPECT_EQ(e.Statuses[0].first.rfind("WiFi error # ", 0), 0u) << e.Statuses[0].first;
    EXPECT_EQ(e.Statuses[0].second, 10049);  // address not available
    EXPECT_EQ(e.Ends, (std::vector<std::pair<TMBaction, Integer>>{{TMBaction::_check_bls, -1}}));
  }
}

}  // namespace
