// Checks and uploads over a pseudo-terminal against the bootloader simulator:
// the image the target received, the events in order, and every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/programmer/BootloadSupport.h"
#include "transport/BlockSerial.h"

using namespace bootload_test;
using test_support::TBootloaderOptions;

namespace {

TEST(BootloadUpload, RawImageArrivesPaddedWithEventsInOrder) {
  TBootloaderOptions options;
  options.PageSize = 64;
  TRig rig(options);
  const std::string image = Pattern(7000);
  rig.Boot.SetWsadBIN(image);
  rig.Boot.UploadBIN();
  EXPECT_FALSE(rig.Boot.QvBootCanClose());
  ASSERT_TRUE(rig.WaitEnds());

  EXPECT_EQ(rig.Sim.Image(), Padded(image, 64));
  EXPECT_EQ(rig.Sim.Image().size(), 7040u);
  EXPECT_EQ(rig.Sim.UploadsCompleted(), 1);
  EXPECT_EQ(rig.Sim.FramingErrors(), 0);
  EXPECT_EQ(rig.Sim.Received().rfind("AT+RST?\r", 0), 0u);
  EXPECT_EQ(rig.Rec.Milestones(),
            (std::vector<std::string>{"info 2 64 atmega88 12000000 1E00 2.1", "start 7040", "ok", "end 2 0"}));
  // One progress per page, rising to 100, all between the start and the end.
  ASSERT_EQ(rig.Rec.Progress.size(), 110u);
  EXPECT_TRUE(std::is_sorted(rig.Rec.Progress.begin(), rig.Rec.Progress.end()));
  EXPECT_EQ(rig.Rec.Progress.back(), 100);
  EXPECT_EQ(rig.Rec.Events[1], "start 7040");
  EXPECT_EQ(rig.Rec.Events[2], "progress 0");
  EXPECT_EQ(rig.Rec.Events[rig.Rec.Events.size() - 3], "progress 100");
  EXPECT_FALSE(rig.Rec.OffUIThread);
  EXPECT_TRUE(rig.Boot.QvBootCanClose());
}

TEST(BootloadUpload, HexImageArrivesAtItsAddresses) {
  TRig rig;
  // Two blocks with a hole between them, the second above 64 KiB.
  const std::string low = Pattern(300, 1), high = Pattern(200, 2);
  auto record = [](int type, unsigned address, const std::string& data) {
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + static_cast<unsigned>(type);
    char head[16];
    std::snprintf(head, sizeof head, ":%02X%04X%02X", static_cast<unsigned>(data.size()), address & 0xFFFF, type);
    std::string line = head;
    for (unsigned char c : data) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02X", c);
      line += pair;
      sum += c;
    }
    char cs[3];
    std::snprintf(cs, sizeof cs, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return line + cs + "\r\n";
  };
  std::string hex;
  for (std::size_t at = 0; at < low.size(); at += 16) hex += record(0, 0x20 + at, low.substr(at, 16));
  hex += record(4, 0, std::string("\x00\x01", 2));
  for (std::size_t at = 0; at < high.size(); at += 32) hex += record(0, 0x0010 + at, high.substr(at, 32));
  hex += ":00000001FF\r\n";
  const auto path = std::filesystem::temp_directory_path() / ("bootload-" + std::to_string(::getpid()) + ".hex");
  std::ofstream(path, std::ios::binary) << hex;
  ASSERT_TRUE(rig.Boot.ReadHexFromFile(Utf8ToString(path.string())));
  std::filesystem::remove(path);

  std::string expected(0x10010 + high.size(), '\xFF');
  expected.replace(0x20, low.size(), low);
  expected.replace(0x10010, high.size(), high);
  rig.Boot.UploadHEX();
  ASSERT_TRUE(rig.WaitEnds());
  EXPECT_EQ(rig.Rec.Events.back(), "end 2 0");
  EXPECT_EQ(rig.Sim.Image(), Padded(expected, 128));
}

TEST(BootloadUpload, CheckReportsTheDescriptionAndSendsNoPage) {
  TBootloaderOptions options;
  options.Description = "(&128,1E00,atmega88,12000000,2.1)";
  TRig rig(options);
  rig.Boot.CheckBLS();
  ASSERT_TRUE(rig.WaitEnds());
  EXPECT_EQ(rig.Rec.Events, (std::vector<std::string>{"info 1 128 atmega88 12000000 1E00 2.1", "end 1 0"}));
  EXPECT_EQ(rig.Sim.Received().find('w'), std::string::npos);
  EXPECT_EQ(rig.Sim.PagesReceived(), 0);
}

TEST(BootloadUpload, SoftResetCommandIsTrimmedAndEndsWithCROnlyWhenAsked) {
  struct Case {
    const char* name;
    bool cr;
    std::string expectedStart;
  } cases[] = {
      {"with CR", true, "AT+BOOT\rui"},
      {"without CR", false, "AT+BOOTui"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBootloaderOptions options;
    options.ResetCommand = c.cr ? "AT+BOOT\r" : "AT+BOOT";
    TRig rig(options);
    rig.Boot.SetSoftRSTCommand(u" \tAT+BOOT  ");
    rig.Boot.SetUseCRafterSoftRST(c.cr);
    rig.Boot.CheckBLS();
    ASSERT_TRUE(rig.WaitEnds());
    EXPECT_EQ(rig.Rec.Events.back(), "end 1 0");
    EXPECT_EQ(rig.Sim.Received(), c.expectedStart);
  }
}

TEST(BootloadUpload, OwnerHeaderGivesTheReplyMarkersPageSizeAndAddress) {
  // A target with its own start and end characters and a marker of its own;
  // the owner knows its page size (64) better than its description (128).
  TBootloaderOptions options;
  options.Description = "QV1#128,1E00,atmega88,12000000,2.1";
  options.EndMarker = '$';
  options.PageSize = 64;
  {
    TRig rig(options);
    rig.Boot.SetOwnerHeader(u"i,#,$,64,1C00,QV1");
    EXPECT_EQ(rig.Boot.GetOwnerHeader(), u"i,#,$,64,1C00,QV1");
    const std::string image = Pattern(1050);
    rig.Boot.SetWsadBIN(image);
    rig.Boot.UploadBIN();
    ASSERT_TRUE(rig.WaitEnds());
    // The event reports the description as sent; the pages follow the owner's size.
    EXPECT_EQ(rig.Rec.Milestones(),
              (std::vector<std::string>{"info 2 128 atmega88 12000000 1E00 2.1", "start 1088", "ok", "end 2 0"}));
    EXPECT_EQ(rig.Sim.Image(), Padded(image, 64));
    EXPECT_EQ(rig.Sim.FramingErrors(), 0);
  }
  {
    // A reply without the owner's marker is some other target's: nothing is sent to it.
    TRig rig(options);
    rig.Boot.SetOwnerHeader(u"i,#,$,64,1C00,XYZ");
    rig.Boot.SetWsadBIN(Pattern(100));
    rig.Boot.UploadBIN();
    ASSERT_TRUE(rig.WaitEnds());
    EXPECT_EQ(rig.Rec.Milestones(),
              (std::vector<std::string>{"status -101 ERROR - Bad PageSize from BLS []", "end 2 -1"}));
    EXPECT_EQ(rig.Sim.Received().find('w'), std::string::npos);
  }
  {
    // An empty header puts the default characters back.
    TRig rig;
    rig.Boot.SetOwnerHeader(u"i,#,$,64,1C00,QV1");
    rig.Boot.SetOwnerHeader(u"");
    rig.Boot.CheckBLS();
    ASSERT_TRUE(rig.WaitEnds());
    EXPECT_EQ(rig.Rec.Events, (std::vector<std::string>{"info 1 128 atmega88 12000000 1E00 2.1", "end 1 0"}));
  }
}

TEST(BootloadUpload, LateRequestsWithinTheRunsBudgetStillUpload) {
  TBootloaderOptions options;
  options.LatePageRequestMs = 260;  // every request misses one 200 ms read: 12 misses in the run
  TRig rig(options);
  const std::string image = Pattern(11 * 128 + 5);
  rig.Boot.SetWsadBIN(image);
  rig.Boot.UploadBIN();
  ASSERT_TRUE(rig.WaitEnds());
  EXPECT_EQ(rig.Rec.Events.back(), "end 2 0");
  EXPECT_EQ(rig.Sim.Image(), Padded(image, 128));
}

TEST(BootloadUpload, UserStopsABadTargetBeforeAnyPage) {
  TRig rig;
  rig.Rec.StopTarget = true;
  rig.Boot.SetWsadBIN(Pattern(500));
  rig.Boot.UploadBIN();
  ASSERT_TRUE(rig.WaitEnds());
  EXPECT_EQ(rig.Rec.Milestones(), (std::vector<std::string>{"info 2 128 atmega88 12000000 1E00 2.1",
                                                            "status -112 \"Stop Bad Target - atmega88\"", "end 2 -1"}));
  EXPECT_EQ(rig.Sim.Received().find('w'), std::string::npos);
}

TEST(BootloadUpload, SecondOperationIsRefusedAndOneMayStartFromTheEndEvent) {
  TRig rig;
  rig.Boot.SetWsadBIN(Pattern(300));
  rig.Boot.UploadBIN();
  rig.Boot.CheckBLS();
  rig.Boot.UploadBIN();
  EXPECT_EQ(rig.Rec.Events, (std::vector<std::string>{"status -250 Thread is Active, try again",
                                                      "status -250 Thread is Active, try again"}));
  bool again = true;
  rig.Rec.OnEnd = [&] {
    if (again) rig.Boot.CheckBLS();
    again = false;
  };
  ASSERT_TRUE(rig.WaitEnds(2));
  EXPECT_EQ(rig.Rec.Milestones().back(), "end 1 0");
  EXPECT_EQ(std::count(rig.Rec.Events.begin(), rig.Rec.Events.end(), "end 2 0"), 1);
  EXPECT_EQ(rig.Sim.UploadsCompleted(), 1);
}

TEST(BootloadUpload, EmptyImagesAreRefusedWithoutAnOperation) {
  TRig rig;
  rig.Boot.UploadBIN();
  rig.Boot.UploadHEX();
  EXPECT_TRUE(rig.Boot.QvBootCanClose());
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(rig.Rec.Events, (std::vector<std::string>{"status -200 No firmware image to upload",
                                                      "status -200 No firmware image to upload"}));
  EXPECT_EQ(rig.Sim.Received(), "");
}

TEST(BootloadUpload, BrokenImageTextEndsTheActionAndFreesTheOwner) {
  TRig rig;
  rig.Boot.SetWsadHEX("01020G");
  rig.Boot.UploadHEX();
  ASSERT_TRUE(rig.WaitEnds());
  EXPECT_EQ(rig.Rec.Events, (std::vector<std::string>{
                                "status -200 UART_Bootloader Thread exception error: '0G' is not a valid hexadecimal byte",
                                "end 2 -1"}));
  EXPECT_TRUE(rig.Boot.QvBootCanClose());
  EXPECT_EQ(rig.Sim.Received(), "");
}

TEST(BootloadUpload, PortThatCannotBeOpened) {
  struct Case {
    const char* name;
    bool holdPort;
    const char16_t* port;
    Integer code;
  } cases[] = {
      {"missing", false, u"COM99", 2},
      {"busy", true, u"COM42", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRig rig;
    TBlockSerial holder;
    if (c.holdPort) holder.Connect(u"COM42");
    rig.Boot.SetComPort(c.port);
    rig.Boot.SetWsadBIN("x");
    rig.Boot.UploadBIN();
    ASSERT_TRUE(rig.WaitEnds());
    ASSERT_EQ(rig.Rec.Events.size(), 2u);
    const std::string prefix = "status " + std::to_string(c.code) + " Port " + Utf8(c.port) + " error # ";
    EXPECT_EQ(rig.Rec.Events[0].rfind(prefix, 0), 0u) << rig.Rec.Events[0];
    EXPECT_GT(rig.Rec.Events[0].size(), prefix.size());
    EXPECT_EQ(rig.Rec.Events[1], "end 2 -1");
  }
}

// Each failure of the road: what the target does, what the user is told.
struct TFailure {
  const char* name;
  std::function<void(TBootloaderOptions&)> target;
  bool check;
  std::string status;  // "code text"; "code text..." for a prefix; "~text" for a part
  int endAction;
};

void PrintTo(const TFailure& f, std::ostream* os) { *os << f.name; }

class BootloadFailure : public ::testing::TestWithParam<TFailure> {};

TEST_P(BootloadFailure, EndsWithItsStatusAndNoSuccess) {
  const TFailure& f = GetParam();
  TBootloaderOptions options;
  f.target(options);
  TRig rig(options);
  rig.Boot.SetWsadBIN(Pattern(1000));
  if (f.check) {
    rig.Boot.CheckBLS();
  } else {
    rig.Boot.UploadBIN();
  }
  ASSERT_TRUE(rig.WaitEnds(1, 60000));
  const std::vector<std::string> m = rig.Rec.Milestones();
  ASSERT_GE(m.size(), 2u);
  const std::string& status = m[m.size() - 2];
  const std::string expected = "status " + f.status;
  if (f.status[0] == '~') {
    EXPECT_NE(status.find(f.status.substr(1)), std::string::npos) << status;
  } else if (expected.size() > 3 && expected.compare(expected.size() - 3, 3, "...") == 0) {
    EXPECT_EQ(status.rfind(expected.substr(0, expected.size() - 3), 0), 0u) << status;
  } else {
    EXPECT_EQ(status, expected);
  }
  EXPECT_EQ(m.back(), "end " + std::to_string(f.endAction) + " -1");
  EXPECT_EQ(std::count(m.begin(), m.end(), "ok"), 0);
  EXPECT_EQ(rig.Sim.UploadsCompleted(), 0);
  EXPECT_TRUE(rig.Boot.QvBootCanClose());
  EXPECT_FALSE(rig.Rec.OffUIThread);
}

const TFailure kFailures[] = {
    {"SilentLine", [](TBootloaderOptions& o) { o.Silent = true; }, false, "-100 COM42 - no response from BLS", 2},
    {"GarbageInsteadOfPrompts", [](TBootloaderOptions& o) { o.GarbagePrompts = true; }, true,
     "-100 COM42 - no response from BLS", 1},
    {"NoEndOfDescription", [](TBootloaderOptions& o) { o.NoEndMarker = true; }, false,
     "-101 ERROR - Bad PageSize from BLS []", 2},
    {"PageSizeZero", [](TBootloaderOptions& o) { o.Description = "&0,1E00,atmega88,12000000,2.1"; }, false,
     "-101 ERROR - Bad PageSize from BLS [...", 2},
    {"PageSizeNegative", [](TBootloaderOptions& o) { o.Description = "&-64,1E00,atmega88,12000000,2.1"; }, false,
     "-101 ERROR - Bad PageSize from BLS []", 2},
    {"PageSizeNotANumber", [](TBootloaderOptions& o) { o.Description = "&abc,1E00,atmega88,12000000,2.1"; }, true,
     "-101 ERROR - Bad PageSize from BLS []", 1},
    {"PageSizeHuge", [](TBootloaderOptions& o) { o.Description = "&2000000000,1E00,atmega88,12000000,2.1"; }, false,
     "-101 ERROR - Bad PageSize from BLS [...", 2},
    {"DescriptionFarTooLong", [](TBootloaderOptions& o) { o.Description = "&128," + std::string(5000, 'x'); }, false,
     "-101 ERROR - Bad PageSize from BLS []", 2},
    {"PageRequestsStop", [](TBootloaderOptions& o) { o.MissingPageRequest = 3; }, false, "-200 Timeout", 2},
    {"LineDropsDuringPages", [](TBootloaderOptions& o) { o.DropAfterPages = 2; }, false, "~ Port COM42 error # ",
     2},
};

INSTANTIATE_TEST_SUITE_P(Road, BootloadFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
