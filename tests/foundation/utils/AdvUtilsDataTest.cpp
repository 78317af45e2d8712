#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Shell.h"
#include "tests/support/TestUtil.h"

namespace {

struct TCodecCase {
  TBytes Bytes;
  String Base64, Base64Url, Hex;
};

// Expected texts made by coreutils (base64, basenc) and xxd: fixtures/make-codec.sh.
std::vector<TCodecCase> LoadCodecFixture() {
  const auto path = std::filesystem::path(RYX_SOURCE_DIR) / "tests/foundation/utils/fixtures/codec.tsv";
  std::ifstream in(path);
  EXPECT_TRUE(in.good()) << path;
  std::vector<TCodecCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, '\t')) f.push_back(field);
    f.resize(4);
    TCodecCase c;
    c.Bytes = TAdvUtils::HexStrToBytes(AnsiToString(f[0]));
    c.Base64 = AnsiToString(f[1]);
    c.Base64Url = AnsiToString(f[2]);
    c.Hex = AnsiToString(f[3]);
    cases.push_back(std::move(c));
  }
  return cases;
}

TEST(AdvUtilsData, Base64AndHexMatchCoreutils) {
  const auto cases = LoadCodecFixture();
  ASSERT_GE(cases.size(), 10u);
  for (const auto& c : cases) {
    const std::string label = StringToUtf8(c.Hex).substr(0, 16);
    EXPECT_EQ(TAdvUtils::EncodeBytesToBase64(c.Bytes.data(), c.Bytes.size(), false), c.Base64) << label;
    EXPECT_EQ(TAdvUtils::EncodeBytesToBase64(c.Bytes.data(), c.Bytes.size(), true), c.Base64Url) << label;
    EXPECT_EQ(TAdvUtils::Decode64ToBytes(c.Base64, false), c.Bytes) << label;
    EXPECT_EQ(TAdvUtils::Decode64ToBytes(c.Base64Url, true), c.Bytes) << label;
    EXPECT_EQ(TAdvUtils::BytesToHexStr(c.Bytes.data(), c.Bytes.size()), c.Hex) << label;
    EXPECT_EQ(TAdvUtils::HexStrToBytes(c.Hex), c.Bytes) << label;
  }
}

TEST(AdvUtilsData, Base64DecodingToleratesNoise) {
  EXPECT_EQ(TAdvUtils::Decode64ToBytes(u"YWI", true), (TBytes{'a', 'b'}));
  EXPECT_EQ(TAdvUtils::Decode64ToBytes(u"YQ", true), (TBytes{'a'}));
  EXPECT_EQ(TAdvUtils::Decode64ToBytes(u"YW\r\nJj", false), (TBytes{'a', 'b', 'c'}));  // line breaks
  EXPECT_EQ(TAdvUtils::Decode64ToBytes(u"", false), TBytes{});
  EXPECT_EQ(TAdvUtils::Decode64ToBytes(u"====", false), TBytes{});
  EXPECT_EQ(TAdvUtils::Decode64ToBytes(u"\u4E2D!*", false), TBytes{});
}

TEST(AdvUtilsData, ImageTypeBySignature) {
  struct Case { TBytes bytes; String ext; };
  const Case cases[] = {
      {{'G', 'I', 'F', '8', '9'}, u".gif"},
      {{'B', 'M', 0, 0}, u".bmp"},
      {{0x89, 'P', 'N', 'G', 0x0D, 0x0A}, u".png"},
      {{'I', 'I', 0x2A, 0}, u".tiff"},
      {{'M', 'M', 0x2A, 0}, u".tiff"},
      {{'M', 'M', 0, 0x2A}, u""},  // the table compares 4D 4D 2A
      {{0xFF, 0xD8, 0xFF, 0xE0}, u".jpg"},
      {{0xFF, 0xD8, 0xFF, 0xE1}, u".jpg"},
      {{0xFF, 0xD8, 0xFF, 0xDB}, u".jpg"},
      {{0xFF, 0xD8, 0xFF, 0xEE}, u""},
      {{0, 0, 1, 0}, u".unknown"},
      {{0, 0, 0, 0}, u".empty"},
      {{'G', 'I', 'F'}, u""},  // fewer than four bytes
      {{}, u""},
      {{'<', 's', 'v', 'g'}, u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TAdvUtils::GetImageTypeOfBytes(c.bytes.data(), c.bytes.size()), c.ext)
        << TAdvUtils::BytesToHexStr(c.bytes.data(), c.bytes.size()).size();
}

TEST(AdvUtilsData, MulDiv) {
  EXPECT_EQ(TAdvUtils::MulDivInt(3, 1, 2), 2);
  EXPECT_EQ(TAdvUtils::MulDivInt(-3, 1, 2), -2);
  EXPECT_EQ(TAdvUtils::MulDivInt(5, 5, 0), -1);
  EXPECT_EQ(TAdvUtils::MulDivInt(96, 144, 96), 144);
  EXPECT_EQ(TAdvUtils::MulDivInt(2000000000, 2000000000, 1000000000), 2147483647);  // clamped
  EXPECT_EQ(TAdvUtils::MulDivInt(100000, 100000, 3), 2147483647);
  EXPECT_FLOAT_EQ(TAdvUtils::MulDivSingle(3, 1, 2), 1.5f);
  EXPECT_FLOAT_EQ(TAdvUtils::MulDivSingle(3, 1, 0), -1.0f);
}

TEST(AdvUtilsData, PathsEndWithOneSeparator) {
  EXPECT_EQ(TAdvUtils::AddBackslash(u"C:\\data"), u"C:\\data\\");
  EXPECT_EQ(TAdvUtils::AddBackslash(u"C:\\data\\"), u"C:\\data\\");
  EXPECT_EQ(TAdvUtils::AddBackslash(u""), u"");
  EXPECT_EQ(TAdvUtils::AddForwardslash(u"/tmp"), u"/tmp/");
  EXPECT_EQ(TAdvUtils::AddForwardslash(u"/tmp/"), u"/tmp/");
  EXPECT_EQ(TAdvUtils::AddForwardslash(u""), u"");
  const String app = TAdvUtils::GetAppPath();
  ASSERT_FALSE(app.empty());
  EXPECT_EQ(app.back(), u'/');
  EXPECT_TRUE(std::filesystem::is_directory(StringToUtf8(app)));
  EXPECT_EQ(TAdvUtils::GetTempPath().back(), u'/');
}

}  // namespace

namespace {

TEST(AdvUtilsStreams, Base64AndHexOfStreams) {
  TBytesStream in(TBytes{'a', 'b', '?'});
  in.SetPosition(2);  // the whole stream counts, whatever the position
  EXPECT_EQ(TAdvUtils::SaveStreamToBase64(&in, true), u"YWI_");
  EXPECT_EQ(TAdvUtils::SaveStreamToBase64(&in, false), u"YWI/");
  EXPECT_EQ(TAdvUtils::SaveStreamToHexStr(&in), u"61623F");

  TBytesStream out(TBytes{'x', 'y'});
  out.SetPosition(1);  // written at the position
  TAdvUtils::LoadStreamFromBase64(u"YWI_", &out, true);
  EXPECT_EQ(out.Bytes(), (TBytes{'x', 'a', 'b', '?'}));
  TAdvUtils::LoadStreamFromHexStr(u"0A0b7", &out);  // the odd last digit is ignored
  EXPECT_EQ(out.Bytes(), (TBytes{'x', 'a', 'b', '?', 0x0A, 0x0B}));
  EXPECT_THROW(TAdvUtils::LoadStreamFromHexStr(u"0AZZ", &out), EConvertError);
  EXPECT_EQ(out.Size(), 6);

  TBytesStream empty;
  EXPECT_EQ(TAdvUtils::SaveStreamToBase64(&empty), u"");
  EXPECT_EQ(TAdvUtils::SaveStreamToHexStr(nullptr), u"");
}

TEST(AdvUtilsStreams, ImageTypeKeepsThePosition) {
  TBytesStream png(TBytes{0x00, 0x89, 'P', 'N', 'G', 0x0D});
  png.SetPosition(1);
  EXPECT_EQ(TAdvUtils::GetImageType(&png, false), u".png");
  EXPECT_EQ(png.Position(), 1);
  EXPECT_EQ(TAdvUtils::GetImageType(&png, true), u"");  // from 0: 00 89 50 4E matches nothing
  EXPECT_EQ(png.Position(), 1);
  TBytesStream three(TBytes{'G', 'I', 'F'});
  EXPECT_EQ(TAdvUtils::GetImageType(&three, true), u"");
  EXPECT_EQ(three.Position(), 0);
  TBytesStream ico(TBytes{0, 0, 1, 0, 1, 0});
  ico.SetPosition(5);
  EXPECT_EQ(TAdvUtils::GetImageType(&ico, true), u".unknown");
  EXPECT_EQ(ico.Position(), 5);
}

}  // namespace

namespace {

TEST(AdvUtilsSystem, ResourcesShellAndFolders) {
  auto stream = TAdvUtils::GetResourceStream(u"advsample");
  ASSERT_NE(stream, nullptr);
  const auto fixture = std::filesystem::path(RYX_SOURCE_DIR) / "tests/foundation/utils/fixtures/codec.tsv";
  EXPECT_EQ(stream->Size(), static_cast<Int64>(std::filesystem::file_size(fixture)));
  char head[3] = {};
  EXPECT_EQ(stream->Read(head, 3), 3);
  EXPECT_EQ(std::string(head, 3), "\t\t\t");
  EXPECT_THROW(stream->WriteBuffer("x", 1), EStreamError);
  EXPECT_EQ(TAdvUtils::GetResourceStream(u"NOSUCHRESOURCE"), nullptr);
  EXPECT_EQ(TAdvUtils::GetHInstance(), HInstance());

  std::vector<String> opened;
  const TShellOpener previous = SetShellOpener([&](const String& target) {
    opened.push_back(target);
    return true;
  });
  TAdvUtils::OpenURL(u"https://example.invalid/page");
  TAdvUtils::OpenFile(TAdvUtils::GetAppPath() + u"no-such-file.txt");  // a failure is ignored
  SetShellOpener(previous);
  ASSERT_GE(opened.size(), 1u);
  EXPECT_EQ(opened[0], u"https://example.invalid/page");

  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != 0) {
    EXPECT_FALSE(TAdvUtils::GetDocumentsPath().empty());
  }
}

class TUtilsJsonSample : public TPersistent {
 public:
  String Caption;
  Integer Count = 0;
};

// The class's JSON operations reach the persistence layer with every argument.
TEST(AdvUtilsSystem, PerObjectJsonOperations) {
  TClassInfo::Of<TUtilsJsonSample, TPersistent>(u"TUtilsJsonSample")
      .Property(u"Caption", &TUtilsJsonSample::Caption, &TUtilsJsonSample::Caption)
      .Property(u"Count", &TUtilsJsonSample::Count, &TUtilsJsonSample::Count);
  TUtilsJsonSample a;
  a.Caption = u"x";
  a.Count = 3;
  const String text = TAdvUtils::ToJSON(&a);
  EXPECT_NE(text.find(u"\"Caption\""), String::npos);
  EXPECT_EQ(TAdvUtils::ToJSON(&a, {u"Caption"}).find(u"\"Caption\""), String::npos);

  TUtilsJsonSample b;
  TAdvUtils::FromJSON(&b, text);
  EXPECT_EQ(b.Caption, u"x");
  EXPECT_EQ(b.Count, 3);

  TMemoryStream stream;
  a.Count = 4;
  TAdvUtils::SaveToJSONStream(&a, &stream);
  TAdvUtils::LoadFromJSONStream(&b, &stream);
  EXPECT_EQ(b.Count, 4);

  test_support::TTempDir dir;
  const String file = Utf8ToString(dir.Path("s.json").string());
  a.Count = 5;
  TAdvUtils::SaveToJSONFile(&a, file);
  TAdvUtils::LoadFromJSONFile(&b, file);
  EXPECT_EQ(b.Count, 5);
  EXPECT_THROW(TAdvUtils::LoadFromJSONFile(&b, file + u".missing"), EFOpenError);
}

}  // namespace
