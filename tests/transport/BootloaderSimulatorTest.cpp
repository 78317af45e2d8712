// The simulator driven through the serial port, the way the bootloader client talks to it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/BootloaderSimulator.h"
#include "transport/BlockSerial.h"

using test_support::TBootloaderOptions;
using test_support::TBootloaderSimulator;
using test_support::TScopedSerialAlias;

namespace {

struct Host {
  explicit Host(const TBootloaderSimulator& sim) : alias(u"COM50", sim.SlavePath()) {
    port.Connect(u"COM50");
    port.Config(115200, 8, 'N', 0, false, false);
  }
  // The soft reset, then the first ready byte: true when a '?' came.
  bool Reset(int attempts = 20) {
    port.SendString("AT+RST?\r");
    for (int i = 0; i < attempts; ++i) {
      if (port.CanRead(100) && port.RecvByte(100) == '?') return true;
    }
    return false;
  }
  std::string Describe() {
    port.SendString("u");
    port.SendString("i");
    if (!port.CanRead(2000)) return {};
    port.SetInterPacketTimeout(false);
    std::string reply = port.RecvTerminated(1000, "*");
    // A prompt may cross the 'u' on a busy machine, as on a real line.
    return reply.substr(std::min(reply.find_first_not_of('?'), reply.size()));
  }
  // 'w', then one frame per '@'; false when a request does not come in time.
  bool Upload(const std::string& image, int pageSize, int requestTimeout = 1000) {
    port.RecvPacket(100);  // the rest of the prompts
    port.SendString("w");
    for (std::size_t at = 0; at < image.size(); at += static_cast<std::size_t>(pageSize)) {
      if (port.RecvByte(requestTimeout) != '@') return false;
      port.SendString("\x01" + image.substr(at, static_cast<std::size_t>(pageSize)));
      if (port.LastError() != 0) return false;
    }
    if (port.RecvByte(requestTimeout) != '@') return false;
    port.SendByte(0);
    return port.LastError() == 0;
  }

  TScopedSerialAlias alias;
  TBlockSerial port;
};

std::string Image(std::size_t size) {
  std::string image;
  for (std::size_t i = 0; i < size; ++i) image += static_cast<char>((i * 7 + i / 256) & 0xFF);
  return image;
}

TEST(BootloaderSimulator, HappyPathKeepsTheImageByteForByte) {
  TBootloaderOptions options;
  options.PageSize = 64;
  TBootloaderSimulator sim(options);
  Host host(sim);
  ASSERT_EQ(host.port.LastError(), 0);
  ASSERT_TRUE(host.Reset());
  EXPECT_EQ(host.Describe(), "&64,1E00,atmega88,12000000,2.1");
  const std::string image = Image(64 * 20);  // every byte value, 0x00 and 0x01 included
  ASSERT_TRUE(host.Upload(image, 64));
  ASSERT_TRUE(sim.WaitForUploads(1, 5000));
  EXPECT_EQ(sim.Image(), image);
  EXPECT_EQ(sim.PagesReceived(), 20);
  EXPECT_EQ(sim.ResetCount(), 1);
  EXPECT_EQ(sim.FramingErrors(), 0);

  // A second run on the same line: reset again, new image replaces the old.
  host.port.CloseSocket();
  host.port.Connect(u"COM50");
  ASSERT_TRUE(host.Reset());
  EXPECT_FALSE(host.Describe().empty());
  ASSERT_TRUE(host.Upload(image.substr(0, 128), 64));
  ASSERT_TRUE(sim.WaitForUploads(2, 5000));
  EXPECT_EQ(sim.Image(), image.substr(0, 128));
}

TEST(BootloaderSimulator, DescriptionTextAndPacing) {
  TBootloaderOptions options;
  options.Description = "BLS (&128,1F00,atmega328p,16000000,3.0)";
  options.BaudRate = 9600;  // 1.04 ms per byte
  options.PageSize = 128;
  TBootloaderSimulator sim(options);
  Host host(sim);
  ASSERT_TRUE(host.Reset());
  EXPECT_EQ(host.Describe(), options.Description);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(host.Upload(Image(128 * 4), 128));
  ASSERT_TRUE(sim.WaitForUploads(1, 5000));
  // Not a speed check: pacing only ever makes the upload slower than the wire.
  const auto wire = std::chrono::microseconds(4 * 129 * 10'000'000LL / 9600 / 10);
  EXPECT_GE(std::chrono::steady_clock::now() - start, wire);
}

TEST(BootloaderSimulator, SilenceAndGarbageGiveNoReadyByte) {
  for (const bool garbage : {false, true}) {
    TBootloaderOptions options;
    options.Silent = !garbage;
    options.GarbagePrompts = garbage;
    TBootloaderSimulator sim(options);
    Host host(sim);
    EXPECT_FALSE(host.Reset(5));
    EXPECT_TRUE(sim.WaitUntil([](const TBootloaderSimulator& s) { return s.ResetCount() == 1; }, 2000));
    const std::string more = host.port.RecvPacket(200);
    if (garbage) {
      EXPECT_FALSE(more.empty());  // bytes keep coming, none of them '?'
      EXPECT_EQ(more.find('?'), std::string::npos);
    } else {
      EXPECT_EQ(more, "");
      EXPECT_EQ(host.port.LastError(), 9997);
    }
  }
}

TEST(BootloaderSimulator, DescriptionWithoutEndMarkerTimesOut) {
  TBootloaderOptions options;
  options.NoEndMarker = true;
  TBootloaderSimulator sim(options);
  Host host(sim);
  ASSERT_TRUE(host.Reset());
  EXPECT_EQ(host.Describe(), "");
  EXPECT_EQ(host.port.LastError(), 9997);
  EXPECT_NE(host.port.LineBuffer().find("&128,1E00"), std::string::npos);
}

TEST(BootloaderSimulator, MissingAndLatePageRequests) {
  {
    TBootloaderOptions options;
    options.PageSize = 16;
    options.MissingPageRequest = 2;
    TBootloaderSimulator sim(options);
    Host host(sim);
    ASSERT_TRUE(host.Reset());
    host.Describe();
    EXPECT_FALSE(host.Upload(Image(16 * 4), 16, 300));
    EXPECT_EQ(sim.PagesReceived(), 2);
  }
  {
    TBootloaderOptions options;
    options.PageSize = 16;
    options.LatePageRequestMs = 400;
    options.LateFromRequest = 1;
    TBootloaderSimulator sim(options);
    Host host(sim);
    ASSERT_TRUE(host.Reset());
    host.Describe();
    EXPECT_FALSE(host.Upload(Image(16 * 3), 16, 100));  // too impatient
    EXPECT_EQ(sim.PagesReceived(), 1);
  }
}

TEST(BootloaderSimulator, HoldPointWaitsForRelease) {
  TBootloaderOptions options;
  options.PageSize = 16;
  options.HoldAfterPages = 3;
  TBootloaderSimulator sim(options);
  Host host(sim);
  ASSERT_TRUE(host.Reset());
  host.Describe();
  const std::string image = Image(16 * 6);
  bool uploaded = false;
  std::thread upload([&] { uploaded = host.Upload(image, 16, 10000); });
  const bool held = sim.WaitUntil([](const TBootloaderSimulator& s) { return s.Holding(); }, 10000);
  // No page request goes out while held, so the host cannot send a fourth page.
  const int pagesWhileHeld = sim.PagesReceived();
  sim.Release();
  upload.join();
  ASSERT_TRUE(held);
  EXPECT_EQ(pagesWhileHeld, 3);
  EXPECT_TRUE(uploaded);
  ASSERT_TRUE(sim.WaitForUploads(1, 5000));
  EXPECT_EQ(sim.Image(), image);
  EXPECT_FALSE(sim.Holding());
}

TEST(BootloaderSimulator, DroppedConnectionMidUpload) {
  TBootloaderOptions options;
  options.PageSize = 32;
  options.DropAfterPages = 3;
  TBootloaderSimulator sim(options);
  Host host(sim);
  ASSERT_TRUE(host.Reset());
  host.Describe();
  EXPECT_FALSE(host.Upload(Image(32 * 10), 32, 2000));
  EXPECT_TRUE(sim.Dropped());
  EXPECT_EQ(sim.PagesReceived(), 3);
  EXPECT_EQ(host.port.LastError(), 1167);
}

}  // namespace
