#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/testing/TempHome.h"
#include "platform/win/AtomicFile.h"

namespace {

namespace fs = std::filesystem;
using atomic_file::ReplaceFile;

void WriteAtomicFixture(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class AtomicFileTest : public ::testing::Test {
 protected:
  TTempHome Home;
  std::string Dir = Home.Path() + "/store";
  void SetUp() override { ASSERT_EQ(atomic_file::MakeFolders(Dir), 0); }
  std::string P(const std::string& leaf) const { return Dir + "/" + leaf; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  static mode_t Mode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }
};

TEST_F(AtomicFileTest, ReplacesKeepingPermissionsAndCreatesWithTheGivenMode) {
  WriteAtomicFixture(P("a.cfg"), "old");
  ASSERT_EQ(::chmod(P("a.cfg").c_str(), 0640), 0);
  EXPECT_EQ(ReplaceFile(P("a.cfg"), "new content"), 0);
  EXPECT_EQ(ReadText(P("a.cfg")), "new content");
  EXPECT_EQ(Mode(P("a.cfg")), 0640u);

  atomic_file::ReplaceOptions priv;
  priv.NewFileMode = 0600;
  EXPECT_EQ(ReplaceFile(P("b.cfg"), "", priv), 0);
  EXPECT_EQ(Mode(P("b.cfg")), 0600u);
  EXPECT_EQ(ReadText(P("b.cfg")), "");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"a.cfg", "b.cfg"}));
}

TEST_F(AtomicFileTest, LinksStayLinksAndTheirFilesAreReplaced) {
  WriteAtomicFixture(P("real.cfg"), "old");
  ASSERT_EQ(::chmod(P("real.cfg").c_str(), 0604), 0);
  fs::create_symlink("real.cfg", P("rel.lnk"));        // relative, through a second link
  fs::create_symlink(P("rel.lnk"), P("abs.lnk"));
  EXPECT_EQ(ReplaceFile(P("abs.lnk"), "new"), 0);
  EXPECT_TRUE(fs::is_symlink(P("abs.lnk")));
  EXPECT_TRUE(fs::is_symlink(P("rel.lnk")));
  EXPECT_EQ(ReadText(P("real.cfg")), "new");
  EXPECT_EQ(Mode(P("real.cfg")), 0604u);

  // A dangling link gets its file.
  fs::create_symlink("later.cfg", P("dangling.lnk"));
  EXPECT_EQ(ReplaceFile(P("dangling.lnk"), "made"), 0);
  EXPECT_TRUE(fs::is_symlink(P("dangling.lnk")));
  EXPECT_EQ(ReadText(P("later.cfg")), "made");

  // Without following, the link itself is replaced, as rename does.
  atomic_file::ReplaceOptions noFollow;
  noFollow.FollowLinks = false;
  EXPECT_EQ(ReplaceFile(P("rel.lnk"), "own", noFollow), 0);
  EXPECT_FALSE(fs::is_symlink(P("rel.lnk")));
  EXPECT_EQ(ReadText(P("real.cfg")), "new");

  // A cycle is refused.
  fs::create_symlink("loop2.lnk", P("loop1.lnk"));
  fs::create_symlink("loop1.lnk", P("loop2.lnk"));
  EXPECT_EQ(ReplaceFile(P("loop1.lnk"), "x"), ELOOP);
  EXPECT_TRUE(fs::is_symlink(P("loop1.lnk")));
}

TEST_F(AtomicFileTest, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  WriteAtomicFixture(P("keep.cfg"), "old");
  const std::vector<std::string> before = Entries();

  // The writer fails after writing part of the content.
  const auto partial = [](int fd) {
    EXPECT_EQ(atomic_file::WriteAll(fd, "half", 4), 0);
    return ENOSPC;
  };
  EXPECT_EQ(ReplaceFile(P("keep.cfg"), partial), ENOSPC);
  EXPECT_EQ(ReadText(P("keep.cfg")), "old");
  EXPECT_EQ(Entries(), before);

  // No partial file for a target that did not exist.
  EXPECT_EQ(ReplaceFile(P("new.cfg"), partial), ENOSPC);
  EXPECT_EQ(Entries(), before);

  // A folder in the file's place is not replaced.
  fs::create_directory(P("folder.cfg"));
  EXPECT_EQ(ReplaceFile(P("folder.cfg"), "x"), EISDIR);
  EXPECT_TRUE(fs::is_directory(P("folder.cfg")));

  // Without replacing, an existing target stays.
  atomic_file::ReplaceOptions once;
  once.Replace = false;
  EXPECT_EQ(ReplaceFile(P("keep.cfg"), "other", once), EEXIST);
  EXPECT_EQ(ReadText(P("keep.cfg")), "old");
  EXPECT_EQ(ReplaceFile(P("fresh.cfg"), "first", once), 0);
  EXPECT_EQ(ReadText(P("fresh.cfg")), "first");

  // A folder that may not be written (root may write anywhere, so only as a user).
  if (::geteuid() != 0) {
    const std::vector<std::string> now = Entries();
    fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(ReplaceFile(P("keep.cfg"), "lost"), EACCES);
    fs::permissions(Dir, fs::perms::owner_all);
    EXPECT_EQ(ReadText(P("keep.cfg")), "old");
    EXPECT_EQ(Entries(), now);
  }
  EXPECT_EQ(ReplaceFile("", "x"), ENOENT);
  EXPECT_EQ(ReplaceFile(Home.Path() + "/no/such/folder.cfg", "x"), ENOENT);
}

TEST_F(AtomicFileTest, FolderHelpers) {
  EXPECT_EQ(atomic_file::MakeFolders(P("x/y/z/")), 0);
  EXPECT_TRUE(atomic_file::IsFolder(P("x/y/z")));
  EXPECT_EQ(atomic_file::MakeFolders(P("x/y/z")), 0);  // already there
  WriteAtomicFixture(P("file"), "");
  EXPECT_EQ(atomic_file::MakeFolders(P("file")), ENOTDIR);
  EXPECT_EQ(atomic_file::MakeFolders(P("file/sub")), ENOTDIR);
  EXPECT_EQ(atomic_file::MakeFolders(""), ENOENT);
  ASSERT_EQ(atomic_file::MakeFolders(P("private"), 0700), 0);
  EXPECT_EQ(Mode(P("private")), 0700u);

  struct Case {
    const char* Path;
    const char* Folder;
  };
  for (const Case& c : {Case{"name", "."}, Case{"/name", "/"}, Case{"/a/b/name", "/a/b"}, Case{"a/name", "a"}})
    EXPECT_EQ(atomic_file::FolderOf(c.Path), c.Folder) << c.Path;
}

}  // namespace
