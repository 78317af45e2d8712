// The Intel HEX reader and the image loaders, cross-checked against the
// images that independent tools (srec_cat, objcopy) write and read.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "programmer/QvBootload.h"
#include "programmer/FirmwareImage.h"
#include "tests/programmer/BootloadSupport.h"

namespace {

namespace fs = std::filesystem;

// One record with its checksum.
std::string Record(int type, unsigned address, const std::string& data) {
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
  return line + cs;
}

using bootload_test::Pattern;

std::string Bytes(const THexImage& image) { return HexTextToBytes(image.Hex); }

class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (fs::temp_directory_path() / "bootload-XXXXXX").string();
    FPath = ::mkdtemp(pattern.data());
  }
  ~TTempDir() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  fs::path operator/(const std::string& name) const { return fs::path(FPath) / name; }

 private:
  std::string FPath;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void RunTool(const std::string& command) { ASSERT_EQ(std::system((command + " 2>&1").c_str()), 0) << command; }

TEST(HexLine, ResultsOfTheRecordParser) {
  struct Case {
    std::string line;
    Integer result;
  } cases[] = {
      {":0400000001020304F2", HEX_LINE_DATA},
      {":00000001FF", HEX_LINE_END},
      {Record(2, 0, std::string("\x10\x00", 2)), HEX_LINE_DATA},
      {Record(3, 0, std::string("\x00\x00\x01\x00", 4)), HEX_LINE_DATA},
      {Record(4, 0, std::string("\x00\x01", 2)), HEX_LINE_DATA},
      {"0400000001020304F2", HEX_LINE_NO_COLON},
      {":00000006FA", HEX_LINE_BAD_TYPE},
      {":0400000001020304F3", HEX_LINE_CHECKSUM},
      {"", HEX_LINE_MALFORMED},
      {":", HEX_LINE_MALFORMED},
      {":04000000010203", HEX_LINE_MALFORMED},        // ends inside the data
      {":0400000001020304F200", HEX_LINE_MALFORMED},  // more than the count says
      {":04000000010G0304F2", HEX_LINE_MALFORMED},    // not a hex digit
      {":0400000001020304F2 ", HEX_LINE_DATA},  // blanks or a CR after the checksum
      {":0400000001020304F2\r", HEX_LINE_DATA},
      {":00000001FF \t\r", HEX_LINE_END},
      {":0400000001020304F2 x", HEX_LINE_MALFORMED},
      {"   ", HEX_LINE_MALFORMED},
      {Record(4, 0, "\x01"), HEX_LINE_MALFORMED},  // an address record of the wrong size
      {Record(1, 0, "\x01"), HEX_LINE_MALFORMED},
  };
  for (const Case& c : cases) {
    THexRecord record;
    EXPECT_EQ(ParseHexLine(c.line, record), c.result) << c.line;
  }
}

TEST(HexImage, DigitsAsWrittenAndRecordsAtTheirAddresses) {
  EXPECT_EQ(HexToImage(":0400000001020304F2\r\n:00000001FF").Hex, "01020304");
  EXPECT_EQ(HexToImage(Record(0, 0, "\xab\xcd") + "\n:00000001FF\n").Hex, "ABCD");
  // Lower-case digits are kept as they stand.
  EXPECT_EQ(HexToImage(":02000000abcd86\n:00000001FF\n").Hex, "abcd");
  // A hole between records reads as erased flash; data before the first record too.
  const std::string holes = Record(0, 2, "\x11") + "\n" + Record(0, 5, "\x22") + "\n:00000001FF\n";
  EXPECT_EQ(HexToImage(holes).Hex, "FFFF11FFFF22");
  // A later record over an earlier one wins.
  const std::string overlap = Record(0, 0, "\x01\x02") + "\n" + Record(0, 1, "\x09") + "\n:00000001FF";
  EXPECT_EQ(HexToImage(overlap).Hex, "0109");
  // Line ends converted twice (CR CR LF) and blanks after the checksum.
  EXPECT_EQ(HexToImage(":0400000001020304F2  \r\r\n:00000001FF \r\r\n").Hex, "01020304");
  // Records after the end record still count.
  EXPECT_EQ(HexToImage(":00000001FF\n" + Record(0, 0, "\x07")).Hex, "07");
}

TEST(HexImage, FailuresNameTheLine) {
  struct Case {
    std::string text;
    Integer line;
    const char16_t* error;
  } cases[] = {
      {":0400000001020304F2\n:0400040001020304F2\n:00000001FF", 2, u"Intel HEX line 2: bad checksum"},
      {":0400000001020304F2\n:00000001FF\n\n", 3, nullptr},  // an empty line is malformed
      {":04000000010203\n:00000001FF", 1, u"Intel HEX line 1: bad record length or a character that is not hexadecimal"},
      {":0400000001020304F2\n:04000000010X0304F2\n:00000001FF", 2, nullptr},
      {"x\n:00000001FF", 1, u"Intel HEX line 1: the record does not begin with ':'"},
      {":00000006FA\n:00000001FF", 1, u"Intel HEX line 1: unknown record type"},
      {":0400000001020304F2", 0, u"Intel HEX: no end record"},
      {":0400000001020304F2\n:00000001FF\n:00000001FF", 0, u"Intel HEX: more than one end record"},
      {":00000001FF", 0, u"Intel HEX: no data records"},
      {"", 0, u"Intel HEX: no end record"},
      // Type 4 with 0x0100 places data at 16 MiB: beyond any image.
      {Record(4, 0, std::string("\x01\x00", 2)) + "\n" + Record(0, 0, "\x01") + "\n:00000001FF", 2,
       u"Intel HEX line 2: address beyond the largest image"},
  };
  for (const Case& c : cases) {
    const THexImage image = HexToImage(c.text);
    EXPECT_FALSE(image.Ok) << c.text;
    EXPECT_TRUE(image.Hex.empty());
    EXPECT_EQ(image.Line, c.line) << c.text;
    if (c.error != nullptr) {
      EXPECT_EQ(image.Error, c.error) << c.text;
    }
  }
}

TEST(HexImage, HexTextToBytesRefusesBrokenPairs) {
  EXPECT_EQ(HexTextToBytes("00ff7Fa0"), std::string("\x00\xff\x7f\xa0", 4));
  EXPECT_EQ(HexTextToBytes(""), "");
  EXPECT_THROW(HexTextToBytes("0G"), EConvertError);
  EXPECT_THROW(HexTextToBytes("012"), EConvertError);
}

// Images written by srec_cat and objcopy from known bytes, and a segment
// file read back by srec_cat: the reader must agree with both tools.
TEST(HexImage, AgreesWithIndependentTools) {
  TTempDir dir;
  const std::string a = Pattern(300, 1), b = Pattern(77, 2), c = Pattern(200, 3);
  WriteFile(dir / "a.bin", a);
  WriteFile(dir / "b.bin", b);
  WriteFile(dir / "c.bin", c);
  auto placed = [](std::initializer_list<std::pair<std::size_t, std::string>> parts) {
    std::string image;
    for (const auto& [at, bytes] : parts) {
      if (image.size() < at + bytes.size()) image.resize(at + bytes.size(), '\xFF');
      image.replace(at, bytes.size(), bytes);
    }
    return image;
  };
  const std::string d = dir / "";
  struct Case {
    const char* name;
    std::string command;
    std::string file;
    std::string expected;
  } cases[] = {
      {"holes", "srec_cat " + d + "a.bin -Binary " + d + "b.bin -Binary -offset 0x180 -o " + d + "holes.hex -Intel", "holes.hex",
       placed({{0, a}, {0x180, b}})},
      {"above 64 KiB (type 04)",
       "srec_cat " + d + "c.bin -Binary -offset 0xFFA0 " + d + "b.bin -Binary -offset 0x20010 -o " + d +
           "high.hex -Intel", "high.hex",
       placed({{0xFFA0, c}, {0x20010, b}})},
      {"start address (type 03)",
       "objcopy -I binary -O ihex --change-addresses 0x40 " + d + "a.bin " + d + "start.hex", "start.hex",
       placed({{0x40, a}})},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    RunTool(k.command);
    const THexImage image = HexToImage(ReadFile(dir / k.file));
    ASSERT_TRUE(image.Ok) << StringToUtf8(image.Error);
    EXPECT_EQ(Bytes(image), k.expected);
  }

  // Segment records (type 02) written here, read by srec_cat.
  const std::string segmented = Record(0, 0x0000, b.substr(0, 16)) + "\n" + Record(2, 0, std::string("\x10\x00", 2)) +
                                "\n" + Record(0, 0x0008, a.substr(0, 32)) + "\n" +
                                Record(5, 0, std::string("\x00\x00\x00\x00", 4)) + "\n:00000001FF\n";
  WriteFile(dir / "seg.hex", segmented);
  const THexImage image = HexToImage(segmented);
  ASSERT_TRUE(image.Ok);
  const std::size_t end = 0x10000 + 8 + 32;
  RunTool("srec_cat " + d + "seg.hex -Intel -fill 0xFF 0 " + std::to_string(end) + " -o " + d + "seg.bin -Binary");
  EXPECT_EQ(Bytes(image), ReadFile(dir / "seg.bin"));
  EXPECT_EQ(Bytes(image).size(), end);
}

TEST(ImageLoaders, FilesAndStreamsFillOneFormAndEmptyTheOther) {
  TTempDir dir;
  TQvBootload boot(nullptr);
  std::vector<std::pair<String, Integer>> statuses;
  boot.OnStatus = [&](TObject*, const String& text, Integer code) { statuses.emplace_back(text, code); };

  // Every byte value survives the raw road, 0x00 and the bytes no code page defines included.
  std::string raw;
  for (int i = 0; i < 256; ++i) raw += static_cast<char>(i);
  WriteFile(dir / "fw.bin", raw);
  WriteFile(dir / "fw.hex", "\xEF\xBB\xBF:0400000001020304F2\r\n:00000001FF\r\n");
  const String bin = Utf8ToString((dir / "fw.bin").string()), hex = Utf8ToString((dir / "fw.hex").string());

  EXPECT_FALSE(boot.ReadBinFromFile(Utf8ToString((dir / "missing.bin").string())));
  EXPECT_TRUE(boot.ReadHexFromFile(hex));
  EXPECT_EQ(boot.WsadHEX(), "01020304");
  EXPECT_FALSE(boot.ReadHexFromFile(Utf8ToString((dir / "missing.hex").string())));
  EXPECT_EQ(boot.WsadHEX(), "01020304");
  EXPECT_TRUE(boot.ReadBinFromFile(bin));
  EXPECT_EQ(boot.WsadBIN(), raw);
  EXPECT_TRUE(boot.WsadHEX().empty());

  TStringStream stream;
  stream.Write(raw.data(), static_cast<Integer>(raw.size()));  // position left at the end: the loader rewinds
  EXPECT_EQ(TQvBootload::StreamToString(&stream), raw);
  EXPECT_EQ(TQvBootload::StreamToString(nullptr), "");

  // UTF-16 text with its mark is read as text.
  const std::string utf16 = std::string("\xFF\xFE", 2) + [] {
    std::string s;
    for (char ch : std::string(":0400000001020304F2\n:00000001FF\n")) s += std::string{ch, '\0'};
    return s;
  }();
  TStringStream hexStream;
  hexStream.Write(utf16.data(), static_cast<Integer>(utf16.size()));
  boot.LoadHEXfromStream(&hexStream);
  EXPECT_EQ(boot.WsadHEX(), "01020304");
  EXPECT_TRUE(boot.WsadBIN().empty());
  EXPECT_TRUE(statuses.empty());

  // A broken file leaves no image and says which line is wrong.
  WriteFile(dir / "bad.hex", ":0400000001020304F2\n:0400040001020304F2\n:00000001FF\n");
  EXPECT_TRUE(boot.ReadHexFromFile(Utf8ToString((dir / "bad.hex").string())));
  EXPECT_TRUE(boot.WsadHEX().empty());
  ASSERT_EQ(statuses.size(), 1u);
  EXPECT_EQ(statuses[0].first, u"Intel HEX line 2: bad checksum");
  EXPECT_EQ(statuses[0].second, QVBL_ERR_FAILED);
}

}  // namespace
