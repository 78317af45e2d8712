// Cabinets made by gcab, ZIPs made by zip and by Python (hostile ones), SZDD
// files made by mscompress: unpacked, confined, and left alone when damaged.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <fstream>

#include "platform/archive/Archive.h"
#include "platform/win/Files.h"
#include "tests/support/TestUtil.h"
#include "webupdate/CabFDI.h"
#include "webupdate/WebUpdate.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadFileBytes;

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// Every file below dir, relative, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = ReadFileBytes(e.path());
  return files;
}

class UnpackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::WriteFileBytes(src.Path("a.txt"), "alpha");
    test_support::WriteFileBytes(src.Path("sub/b.txt"), std::string(30000, 'b'));
    fs::create_directories(out.Path());
  }
  String S(const fs::path& p) const { return Utf8ToString(p.string()); }
  // A ZIP written by Python's zipfile: entries (name, data), symlink entries flagged.
  void PyZip(const fs::path& zip, const std::string& entries) {
    std::string script = "import zipfile,sys\nz=zipfile.ZipFile(sys.argv[1],'w')\n" + entries + "z.close()\n";
    test_support::WriteFileBytes(src.Path("mk.py"), script);
    ASSERT_EQ(Shell("python3 " + src.Path("mk.py").string() + " " + zip.string()), 0);
  }

  test_support::TTempDir src{"ryx_unpack_src"};
  test_support::TTempDir out{"ryx_unpack_out"};
};

TEST_F(UnpackTest, CabinetsStoredAndCompressedWithSubFolders) {
  for (std::string flags : {"", "--zip"}) {
    const fs::path cab = src.Path("t" + flags + ".cab");
    ASSERT_EQ(Shell("cd " + src.Path().string() + " && gcab --create " + flags + " " + cab.string() +
                    " a.txt sub/b.txt"),
              0)
        << "gcab";
    // gcab's cabinet is a real one: cabextract lists the same files.
    ASSERT_EQ(Shell("cabextract -l " + cab.string() + " | grep -q 'sub/b.txt'"), 0);
    fs::remove_all(out.Path());
    fs::create_directories(out.Path());
    ASSERT_EQ(CabExtract(S(cab), S(out.Path()) + u"/"), 0) << flags;
    EXPECT_EQ(Tree(out.Path()).size(), 2u);
    EXPECT_EQ(ReadFileBytes(out.Path("a.txt")), "alpha");
    EXPECT_EQ(ReadFileBytes(out.Path("sub/b.txt")), std::string(30000, 'b'));
    // The stored time (the source's, to the two seconds a cabinet keeps).
    auto stored = fs::last_write_time(src.Path("a.txt"));
    auto got = fs::last_write_time(out.Path("a.txt"));
    EXPECT_LE(std::chrono::abs(stored - got), std::chrono::seconds(3));
  }
  // Not a cabinet, or a cabinet cut short: -1, nothing written.
  test_support::WriteFileBytes(src.Path("plain.cab"), "MSCF? not really");
  std::string whole = ReadFileBytes(src.Path("t--zip.cab"));
  test_support::WriteFileBytes(src.Path("cut.cab"), whole.substr(0, whole.size() / 2));
  for (const char* bad : {"plain.cab", "cut.cab", "missing.cab"}) {
    fs::remove_all(out.Path());
    fs::create_directories(out.Path());
    EXPECT_EQ(CabExtract(S(src.Path(bad)), S(out.Path())), -1) << bad;
    EXPECT_TRUE(Tree(out.Path()).empty()) << bad;
  }
}

TEST_F(UnpackTest, ZipArchivesAndHostileNames) {
  const fs::path zip = src.Path("t.zip");
  ASSERT_EQ(Shell("cd " + src.Path().string() + " && zip -q -r " + zip.string() + " a.txt sub"), 0);
  ASSERT_EQ(ZipExtract(S(zip), S(out.Path())), 0);
  EXPECT_EQ(ReadFileBytes(out.Path("a.txt")), "alpha");
  EXPECT_EQ(ReadFileBytes(out.Path("sub/b.txt")), std::string(30000, 'b'));

  // A folder outside the target, and a link inside it that points there.
  test_support::TTempDir outside{"ryx_unpack_outside"};
  fs::create_directory_symlink(outside.Path(), out.Path("link"));
  struct Case {
    const char* name;
    std::string entries;
  } cases[] = {
      {"traversal", "z.writestr('ok.txt','x')\nz.writestr('../evil.txt','x')\n"},
      {"deep traversal", "z.writestr('a/../../evil.txt','x')\n"},
      {"absolute", "z.writestr('/tmp/ryx_evil_abs.txt','x')\n"},
      {"drive", "z.writestr('C:\\\\evil.txt','x')\n"},
      {"backslash traversal", "z.writestr('..\\\\evil.txt','x')\n"},
      {"through a link", "z.writestr('link/evil.txt','x')\n"},
      {"symbolic link entry",
       "i=zipfile.ZipInfo('s')\ni.create_system=3\ni.external_attr=(0o120777<<16)\nz.writestr(i,'/etc')\n"},
  };
  for (const Case& c : cases) {
    const fs::path bad = src.Path(std::string("bad.zip"));
    fs::remove(bad);
    PyZip(bad, c.entries);
    auto before = Tree(out.Path());
    EXPECT_EQ(ZipExtract(S(bad), S(out.Path())), -1) << c.name;
    EXPECT_EQ(Tree(out.Path()), before) << c.name << ": nothing is written";
    EXPECT_TRUE(fs::is_empty(outside.Path())) << c.name;
    EXPECT_FALSE(fs::exists(src.Path("evil.txt"))) << c.name;
    EXPECT_FALSE(fs::exists("/tmp/ryx_evil_abs.txt")) << c.name;
  }
  test_support::WriteFileBytes(src.Path("plain.zip"), "PK not a zip");
  EXPECT_EQ(ZipExtract(S(src.Path("plain.zip")), S(out.Path())), -1);
}

TEST_F(UnpackTest, SzddFilesExpandAndOtherFilesStayUntouched) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "alpha beta gamma " + std::to_string(i) + "\n";
  test_support::WriteFileBytes(src.Path("a.txt"), text);
  ASSERT_EQ(Shell("cd " + src.Path().string() + " && mscompress a.txt"), 0) << "mscompress";
  ASSERT_TRUE(fs::exists(src.Path("a.txt_")));
  fs::remove(src.Path("a.txt"));
  EXPECT_TRUE(LZExpandFile(S(src.Path("a.txt_"))));
  EXPECT_EQ(ReadFileBytes(src.Path("a.txt")), text);
  EXPECT_FALSE(fs::exists(src.Path("a.txt_")));

  // A plain file is neither truncated nor deleted; a damaged one neither.
  test_support::WriteFileBytes(src.Path("plain.tx_"), "just text");
  EXPECT_FALSE(LZExpandFile(S(src.Path("plain.tx_"))));
  EXPECT_EQ(ReadFileBytes(src.Path("plain.tx_")), "just text");
  test_support::WriteFileBytes(src.Path("bad.tx_"), std::string("SZDD\x88\xf0\x27\x33\x41\x00\xff\xff\xff\x7f", 14));
  EXPECT_FALSE(LZExpandFile(S(src.Path("bad.tx_"))));
  EXPECT_TRUE(fs::exists(src.Path("bad.tx_")));
  EXPECT_FALSE(fs::exists(src.Path("bad.tx")));
}

}  // namespace

namespace {

TEST_F(UnpackTest, ZipPlacesAllEntriesOrNone) {
  // The second entry's name is too long for the file system: it fails at the
  // very end, after the first one could have replaced its file.
  test_support::WriteFileBytes(out.Path("a.txt"), "old");
  const fs::path zip = src.Path("long.zip");
  PyZip(zip, "z.writestr('a.txt','new')\nz.writestr('" + std::string(300, 'n') + "','x')\n");
  EXPECT_EQ(ZipExtract(S(zip), S(out.Path())), -1);
  EXPECT_EQ(Tree(out.Path()), (std::map<std::string, std::string>{{"a.txt", "old"}}));
}

TEST_F(UnpackTest, ZipOverlapBombIsRefusedBeforeAnythingIsWritten) {
  // Entries whose data contains the following entries' headers and data: a
  // small archive that declares many times its size.
  const std::string script = R"(import struct,sys,zlib
n=200
kernel=b'A'*100000
tail=kernel
parts=[]
for i in reversed(range(n)):
    name=('f%d'%i).encode()
    crc=zlib.crc32(tail)&0xffffffff
    lh=struct.pack('<IHHHHHIIIHH',0x04034b50,20,0,0,0,0,crc,len(tail),len(tail),len(name),0)+name
    parts.insert(0,(name,crc,len(tail)))
    tail=lh+tail
body=tail
cd=b''
off=0
for name,crc,size in parts:
    cd+=struct.pack('<IHHHHHHIIIHHHHHII',0x02014b50,20,20,0,0,0,0,crc,size,size,len(name),0,0,0,0,0,off)+name
    off+=30+len(name)
eocd=struct.pack('<IHHHHIIH',0x06054b50,0,0,n,n,len(cd),len(body),0)
open(sys.argv[1],'wb').write(body+cd+eocd)
)";
  test_support::WriteFileBytes(src.Path("bomb.py"), script);
  const fs::path zip = src.Path("bomb.zip");
  ASSERT_EQ(Shell("python3 " + src.Path("bomb.py").string() + " " + zip.string()), 0);
  ASSERT_LT(fs::file_size(zip), 200000u);
  String error;
  EXPECT_FALSE(ArchiveExtractZip(S(zip), S(out.Path()), error));
  EXPECT_NE(StringToUtf8(error).find("overlap"), std::string::npos) << StringToUtf8(error);
  EXPECT_TRUE(fs::is_empty(out.Path())) << "nothing of the bomb is written";
}

TEST_F(UnpackTest, ManyZipEntriesNeedNoDescriptorEach) {
  const fs::path zip = src.Path("many.zip");
  PyZip(zip, "for i in range(1500):\n    z.writestr('e/%d.txt'%i, 'x')\n");
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  struct rlimit low = saved;
  low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 256);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
  const Integer result = ZipExtract(S(zip), S(out.Path()));
  ::setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Tree(out.Path()).size(), 1500u);
}

}  // namespace
