// The socket unit's start-up and exit around the suite, as the program's
// start sequence runs them, and a scan broadcast that never leaves the host.
#include <gtest/gtest.h>

#include "programmer/WifiScan.h"
#include "transport/SocketLibrary.h"

namespace {

class WifiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InitSocketUnit();
    SetWiFiBroadcastAddress(u"127.255.255.255");
  }
  void TearDown() override { DoneSocketUnit(); }
};

[[maybe_unused]] ::testing::Environment* const gWifiEnvironment =
    ::testing::AddGlobalTestEnvironment(new WifiEnvironment);

}  // namespace
