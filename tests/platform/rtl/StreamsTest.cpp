#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/rtl/Streams.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::MessageOf;
using test_support::ReadFileBytes;
using test_support::TTempDir;

namespace fs = std::filesystem;

std::string Content(const TBytesStream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }
TBytes BytesOf(const std::string& s) { return TBytes(s.begin(), s.end()); }

TEST(MemoryStream, ShortTransfersRaiseAndSeekPastEndReadsNothing) {
  TMemoryStream s;
  s.WriteBuffer("abcdef", 6);
  EXPECT_EQ(s.Size(), 6);
  EXPECT_EQ(s.Position(), 6);

  char buf[8] = {};
  s.SetPosition(2);
  EXPECT_EQ(s.Read(buf, 8), 4);
  EXPECT_EQ(std::string(buf, 4), "cdef");
  s.SetPosition(4);
  EXPECT_EQ(MessageOf([&] { s.ReadBuffer(buf, 3); }), u"EReadError: Stream read error");

  EXPECT_EQ(s.Seek(10, soBeginning), 10);
  EXPECT_EQ(s.Read(buf, 4), 0);
  EXPECT_EQ(s.Seek(-3, soEnd), 3);
  EXPECT_EQ(s.Seek(-4, soCurrent), -1);  // before the start: refused, position kept
  EXPECT_EQ(s.Position(), 3);
  s.SetPosition(-1);
  EXPECT_EQ(s.Position(), 3);

  // Writing past the end fills the gap with zeros.
  s.Seek(8, soBeginning);
  s.WriteBuffer("Z", 1);
  EXPECT_EQ(s.Size(), 9);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(s.Memory()), 9), std::string("abcdef\0\0Z", 9));

  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Memory(), nullptr);
  EXPECT_EQ(s.Read(buf, 1), 0);
  EXPECT_EQ(s.Seek(INT64_MAX, soBeginning), INT64_MAX);
  EXPECT_EQ(s.Write("x", 1), 0);  // no room up there, and no overflow
  EXPECT_EQ(s.Seek(1, soCurrent), -1);
}

TEST(MemoryStream, CopyFromWholeAndPartial) {
  TBytesStream source(BytesOf("0123456789"));
  source.SetPosition(7);
  TBytesStream whole;
  EXPECT_EQ(whole.CopyFrom(&source, 0), 10);  // 0: the whole source from its start
  EXPECT_EQ(Content(whole), "0123456789");
  EXPECT_EQ(source.Position(), 10);

  source.SetPosition(3);
  TBytesStream part;
  EXPECT_EQ(part.CopyFrom(&source, 4), 4);
  EXPECT_EQ(Content(part), "3456");
  EXPECT_EQ(MessageOf([&] { part.CopyFrom(&source, 4); }), u"EReadError: Stream read error");
  EXPECT_EQ(part.CopyFrom(&source, -1), 0);
  EXPECT_EQ(part.CopyFrom(nullptr, 0), 0);

  // Larger than one copy chunk.
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  TBytesStream bigSource(BytesOf(big));
  TMemoryStream copy;
  copy.LoadFromStream(&bigSource);
  EXPECT_EQ(copy.Position(), 0);
  TBytesStream back;
  back.CopyFrom(&copy, 0);
  EXPECT_EQ(Content(back), big);
}

TEST(MemoryStream, TypedHelpersAndByteOverloads) {
  TMemoryStream s;
  s.WriteData<std::uint32_t>(0x11223344);
  s.WriteBuffer(TBytes{1, 2, 3});
  s.SetPosition(0);
  std::uint32_t v = 0;
  s.ReadData(v);
  EXPECT_EQ(v, 0x11223344u);
  EXPECT_EQ(s.Memory()[0], 0x44);  // little endian
  TBytes buf(4);
  EXPECT_EQ(s.Read(buf, 1, 3), 3);
  EXPECT_EQ(buf, (TBytes{0, 1, 2, 3}));
  EXPECT_EQ(s.Read(buf, 2, 3), 0);  // range outside the buffer
  EXPECT_EQ(s.Read(buf, -1, 1), 0);
}

TEST(StringStream, EncodesUtf8ByDefault) {
  TStringStream s(u"h\u00E9llo");
  EXPECT_EQ(s.Size(), 6);
  EXPECT_EQ(s.ReadString(3), u"h\u00E9");
  s.Seek(0, soEnd);
  s.WriteString(u" \u20AC");
  EXPECT_EQ(s.DataString(), u"h\u00E9llo \u20AC");
  s.SetPosition(1);
  EXPECT_EQ(s.ReadString(1), u"\uFFFD");  // half a character
  EXPECT_EQ(s.ReadString(100), u"\uFFFDllo \u20AC");
  EXPECT_EQ(s.ReadString(1), u"");

  TStringStream ansi(u"\u00E9\u20AC\u4E2D", TEncoding::ANSI());
  EXPECT_EQ(Content(ansi), "\xE9\x80?");
  EXPECT_EQ(ansi.DataString(), u"\u00E9\u20AC?");
}

TEST(FileStream, ModesAndReopen) {
  TTempDir dir;
  const String name = dir.File("data.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("hello world", 11);
    EXPECT_EQ(f.Size(), 11);
    EXPECT_EQ(f.FileName(), name);
  }
  {
    TFileStream f(name, fmOpenRead | fmShareDenyWrite);
    char buf[5];
    f.Seek(6, soBeginning);
    f.ReadBuffer(buf, 5);
    EXPECT_EQ(std::string(buf, 5), "world");
    EXPECT_EQ(f.Seek(100, soBeginning), 100);
    EXPECT_EQ(f.Read(buf, 5), 0);
    EXPECT_EQ(MessageOf([&] { f.WriteBuffer("x", 1); }), u"EWriteError: Stream write error");
  }
  {
    TFileStream f(name, fmOpenReadWrite | fmShareExclusive);
    f.Seek(0, soEnd);
    f.WriteBuffer("!", 1);
    f.SetSize(5);
    EXPECT_EQ(f.Position(), 5);
  }
  {
    TFileStream f(name, fmOpenWrite | fmShareDenyNone);
    f.WriteBuffer("J", 1);
    char c;
    EXPECT_EQ(f.Read(&c, 1), 0);  // write-only
  }
  EXPECT_EQ(ReadFileBytes(dir.Path("data.bin")), "Jello");
  {
    TFileStream f(name, fmCreate | fmShareExclusive);  // truncates
  }
  EXPECT_EQ(ReadFileBytes(dir.Path("data.bin")), "");
}

TEST(FileStream, FailuresCarryNameAndSystemMessage) {
  TTempDir dir;
  const String missing = dir.File("missing.bin");
  const String noFolder = dir.File("no/such/file.bin");
  const String folder = dir.File("");
  EXPECT_EQ(MessageOf([&] { TFileStream f(missing, fmOpenRead); }),
            u"EFOpenError: Cannot open file \"" + missing + u"\". No such file or directory");
  EXPECT_EQ(MessageOf([&] { TFileStream f(noFolder, fmCreate); }),
            u"EFCreateError: Cannot create file \"" + noFolder + u"\". No such file or directory");
  EXPECT_EQ(MessageOf([&] { TFileStream f(folder, fmOpenRead); }),
            u"EFOpenError: Cannot open file \"" + folder + u"\". Is a directory");
  EXPECT_FALSE(fs::exists(dir.Path("missing.bin")));  // opening never creates
  try {
    TFileStream f(missing, fmOpenReadWrite);
    FAIL();
  } catch (const EFOpenError&) {
  } catch (...) {
    FAIL() << "wrong class";
  }
}

TEST(FileStream, MemoryStreamFileRoundTrip) {
  TTempDir dir;
  TBytesStream data(BytesOf(std::string("\0\x01\xFFtail", 7)));
  data.SetPosition(5);  // SaveToFile writes everything, whatever the position
  data.SaveToFile(dir.File("m.bin"));
  TMemoryStream loaded;
  loaded.WriteBuffer("previous content", 16);
  loaded.LoadFromFile(dir.File("m.bin"));
  EXPECT_EQ(loaded.Size(), 7);
  EXPECT_EQ(loaded.Position(), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(loaded.Memory()), 7), std::string("\0\x01\xFFtail", 7));
  EXPECT_EQ(MessageOf([&] { loaded.LoadFromFile(dir.File("none")); }).substr(0, 13), u"EFOpenError: ");
}

}  // namespace
