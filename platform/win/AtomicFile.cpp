#include "platform/win/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <random>

namespace atomic_file {

namespace {

// Linux's own bound on a chain of links.
constexpr int kMaxLinkHops = 40;

std::string RandomSuffix() {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  std::mt19937 gen(seed ^ (counter.fetch_add(1) * 2654435761u) ^ static_cast<unsigned>(::getpid()));
  static const char digits[] = "0123456789abcdef";
  std::string s(8, '0');
  for (char& c : s) c = digits[gen() % 16];
  return s;
}

// The file a chain of symbolic links ends at, even when it does not exist yet
// (a dangling link then gets its file). ELOOP for a cycle.
int FollowLinks(std::string& path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
    std::string to(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), to.data(), to.size());
    if (n < 0) return errno;
    to.resize(static_cast<std::size_t>(n));
    if (to.empty()) return ENOENT;
    path = to.front() == '/' ? to : FolderOf(path) + "/" + to;
  }
  return ELOOP;
}

// Creates a fresh hidden file beside the target; -1 with errno on failure.
int CreateTemporary(const std::string& target, mode_t mode, std::string& temp) {
  const std::string folder = FolderOf(target);
  const auto slash = target.rfind('/');
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  // Kept short so that the temporary name stays within the name-length limit.
  const std::string prefix = folder + "/." + base.substr(0, 200) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = prefix + RandomSuffix() + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Puts the finished temporary in the target's place; 0 or errno.
int Place(const std::string& temp, const std::string& target, bool replace) {
  if (replace) return ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
  // link refuses an existing target in the same step that creates it.
  if (::link(temp.c_str(), target.c_str()) == 0) {
    ::unlink(temp.c_str());
    return 0;
  }
  if (errno == EEXIST) return EEXIST;
  // File systems without hard links: check, then rename.
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0) return EEXIST;
  return ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, p + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

int ReplaceFile(const std::string& target0, const Filler& fill, const ReplaceOptions& options) {
  if (target0.empty()) return ENOENT;
  std::string target = target0;
  if (options.FollowLinks) {
    if (const int e = FollowLinks(target); e != 0) return e;
  }
  struct stat st {};
  const bool exists = ::lstat(target.c_str(), &st) == 0;
  if (exists && !options.Replace) return EEXIST;
  if (exists && !S_ISREG(st.st_mode) && !(S_ISLNK(st.st_mode) && !options.FollowLinks)) return EISDIR;

  std::string temp;
  const int fd = CreateTemporary(target, options.NewFileMode, temp);
  if (fd < 0) return errno;
  // Before the content, so that `fill` may still set a mode of its own.
  if (exists && S_ISREG(st.st_mode)) (void)::fchmod(fd, st.st_mode & 07777);
  int error = fill(fd);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && options.BeforeReplace) options.BeforeReplace();
  if (error == 0) error = Place(temp, target, options.Replace);
  if (error != 0) {
    ::unlink(temp.c_str());
    return error;
  }
  SyncFolder(FolderOf(target));
  return 0;
}

int ReplaceFile(const std::string& target, std::string_view content, const ReplaceOptions& options) {
  return ReplaceFile(target, [content](int fd) { return WriteAll(fd, content.data(), content.size()); }, options);
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int MakeFolders(const std::string& folder, mode_t mode) {
  std::string p = folder;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p.empty()) return ENOENT;
  struct stat st {};
  if (::stat(p.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  const auto slash = p.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    if (const int e = MakeFolders(p.substr(0, slash), mode); e != 0) return e;
  }
  if (::mkdir(p.c_str(), mode) == 0) return 0;
  const int e = errno;
  // Another writer may have made it meanwhile.
  return e == EEXIST && IsFolder(p) ? 0 : e;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    (void)::fsync(fd);
    ::close(fd);
  }
}

}  // namespace atomic_file
