#include "platform/win/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "platform/win/AtomicFile.h"
#include "platform/win/WinError.h"

namespace {

constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 as a TDateTime

std::string Native(const String& path) { return StringToUtf8(path); }

bool Fail(int errnoValue) {
  SetLastErrorFromErrno(errnoValue);
  return false;
}

bool Succeed() {
  SetLastError(ERROR_SUCCESS);
  return true;
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}

std::string Home() { return EnvOr("HOME", ""); }

std::string StripTrailingSlashes(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

// Reads XDG_<NAME>_DIR from the user-dirs file ("$HOME/..." or an absolute path).
std::string UserDir(const char* name, const char* fallbackLeaf) {
  const std::string env = std::string("XDG_") + name + "_DIR";
  if (const char* v = std::getenv(env.c_str()); v != nullptr && *v == '/') return v;
  const std::string home = Home();
  if (home.empty()) return {};
  const std::string config = EnvOr("XDG_CONFIG_HOME", home + "/.config");
  std::ifstream in(config + "/user-dirs.dirs");
  std::string line;
  const std::string key = env + "=";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) != 0) continue;
    std::string v = line.substr(key.size());
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    if (v.rfind("$HOME", 0) == 0) v = home + v.substr(5);
    if (!v.empty() && v.front() == '/') return v;
  }
  return home + "/" + fallbackLeaf;
}

bool IsDir(const std::string& p) { return atomic_file::IsFolder(p); }

bool ForceDirs(const std::string& p) {
  const int e = atomic_file::MakeFolders(p);
  return e == 0 || Fail(e);
}

bool SameFileSystem(const std::string& a, const std::string& targetDir) {
  struct stat sa {}, sb {};
  if (stat(a.c_str(), &sa) != 0 || stat(targetDir.c_str(), &sb) != 0) return true;
  return sa.st_dev == sb.st_dev;
}

std::string DirOf(const std::string& p) { return atomic_file::FolderOf(p); }

// Copies src whole or not at all to dst, with the source's mode and times.
// Without `replace` an existing dst is refused (ERROR_ALREADY_EXISTS). A link
// at dst is replaced like a file, as a rename would.
bool CopyInto(const std::string& src, const std::string& dst, bool replace) {
  const int in = open(src.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail(errno);
  struct stat st {};
  if (fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
    close(in);
    return Fail(e);
  }
  const auto copy = [&](int out) {
    std::string buffer(1 << 16, '\0');
    for (;;) {
      const ssize_t n = read(in, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return errno;
      if (n == 0) break;
      if (const int e = atomic_file::WriteAll(out, buffer.data(), static_cast<size_t>(n)); e != 0) return e;
    }
    fchmod(out, st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(out, times);
    return 0;
  };
  atomic_file::ReplaceOptions options;
  options.NewFileMode = 0600;  // until the source's mode is set
  options.Replace = replace;
  options.FollowLinks = false;
  const int e = atomic_file::ReplaceFile(dst, copy, options);
  close(in);
  if (e == EEXIST && !replace) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  return e == 0 ? Succeed() : Fail(e);
}

bool Exists(const std::string& p) {
  struct stat st {};
  return lstat(p.c_str(), &st) == 0;
}

}  // namespace

String GetTempPath() {
  std::string dir = EnvOr("TMPDIR", "");
  if (dir.empty() || !IsDir(dir)) dir = "/tmp";
  if (dir.back() != '/') dir.push_back('/');
  return Utf8ToString(dir);
}

UINT GetTempFileName(const String& pathName, const String& prefix, UINT unique, String& tempFileName) {
  std::string dir = Native(pathName);
  if (dir.empty()) dir = ".";
  if (dir.back() != '/') dir.push_back('/');
  const std::string pre = Native(prefix.substr(0, 3));
  auto nameFor = [&](UINT n) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", n & 0xFFFFu);
    return dir + pre + hex + ".tmp";
  };
  if (unique != 0) {
    tempFileName = Utf8ToString(nameFor(unique));
    SetLastError(ERROR_SUCCESS);
    return unique & 0xFFFFu;
  }
  if (!IsDir(dir)) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  // Start from a time-derived number as Windows does, then walk the space.
  UINT start = static_cast<UINT>(std::time(nullptr) ^ static_cast<UINT>(getpid()));
  for (UINT i = 0; i < 0x10000u; ++i) {
    UINT n = (start + i) & 0xFFFFu;
    if (n == 0) continue;
    const std::string name = nameFor(n);
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      close(fd);
      tempFileName = Utf8ToString(name);
      SetLastError(ERROR_SUCCESS);
      return n;
    }
    if (errno != EEXIST) {
      SetLastErrorFromErrno(errno);
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

String GetShellFolderPath(int csidl) {
  const std::string home = Home();
  std::string path;
  switch (csidl & 0xFF) {
    case CSIDL_PERSONAL: path = UserDir("DOCUMENTS", "Documents"); break;
    case CSIDL_DESKTOPDIRECTORY: path = UserDir("DESKTOP", "Desktop"); break;
    case CSIDL_APPDATA: path = EnvOr("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config"); break;
    case CSIDL_LOCAL_APPDATA: path = EnvOr("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share"); break;
    case CSIDL_COMMON_APPDATA: {
      const std::string dirs = EnvOr("XDG_DATA_DIRS", "/usr/local/share");
      path = dirs.substr(0, dirs.find(':'));
      break;
    }
    case CSIDL_PROGRAM_FILES: path = "/opt"; break;
    case CSIDL_WINDOWS: path = "/usr"; break;
    case CSIDL_SYSTEM: path = "/usr/lib"; break;
    default: break;
  }
  if (path.empty() || path.front() != '/') {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return {};
  }
  path = StripTrailingSlashes(path);
  if ((csidl & CSIDL_FLAG_CREATE) != 0) ForceDirs(path);
  SetLastError(ERROR_SUCCESS);
  return Utf8ToString(path);
}

bool FileExists(const String& fileName) {
  struct stat st {};
  if (stat(Native(fileName).c_str(), &st) != 0) return Fail(errno);
  return !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& directory) {
  struct stat st {};
  if (stat(Native(directory).c_str(), &st) != 0) return Fail(errno);
  return S_ISDIR(st.st_mode);
}

bool CreateDir(const String& directory) {
  if (mkdir(Native(directory).c_str(), 0777) != 0) return Fail(errno);
  return Succeed();
}

bool ForceDirectories(const String& directory) {
  std::string p = StripTrailingSlashes(Native(directory));
  if (p.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  if (!ForceDirs(p)) return false;
  return Succeed();
}

bool RemoveDir(const String& directory) {
  if (rmdir(Native(directory).c_str()) != 0) return Fail(errno);
  return Succeed();
}

bool DeleteFile(const String& fileName) {
  const std::string p = Native(fileName);
  if (IsDir(p)) return Fail(EISDIR);
  if (unlink(p.c_str()) != 0) return Fail(errno);
  return Succeed();
}

bool RenameFile(const String& oldName, const String& newName) {
  const std::string from = Native(oldName), to = Native(newName);
  if (!Exists(from)) return Fail(ENOENT);
  if (Exists(to)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  if (rename(from.c_str(), to.c_str()) != 0) return Fail(errno);
  return Succeed();
}

bool CopyFile(const String& existingFileName, const String& newFileName, bool failIfExists) {
  const std::string from = Native(existingFileName), to = Native(newFileName);
  if (failIfExists && Exists(to)) {
    SetLastError(ERROR_FILE_EXISTS);
    return false;
  }
  if (!CopyInto(from, to, !failIfExists)) {
    if (GetLastError() == ERROR_ALREADY_EXISTS) SetLastError(ERROR_FILE_EXISTS);
    return false;
  }
  return true;
}

bool MoveFileEx(const String& existingFileName, const String& newFileName, DWORD flags) {
  const std::string from = Native(existingFileName), to = Native(newFileName);
  struct stat src {};
  if (lstat(from.c_str(), &src) != 0) return Fail(errno);
  const bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  struct stat dst {};
  const bool targetExists = lstat(to.c_str(), &dst) == 0;
  if (targetExists) {
    if (!replace || S_ISDIR(dst.st_mode)) {
      SetLastError(ERROR_ALREADY_EXISTS);
      return false;
    }
    if (src.st_dev == dst.st_dev && src.st_ino == dst.st_ino) return Succeed();
  }
  const std::string targetDir = DirOf(to);
  if (!IsDir(targetDir)) return Fail(ENOENT);
  if (SameFileSystem(from, targetDir)) {
    if ((flags & MOVEFILE_WRITE_THROUGH) != 0 && S_ISREG(src.st_mode)) {
      // The data reaches the disk before the name does.
      int fd = open(from.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd >= 0) {
        fsync(fd);
        close(fd);
      }
    }
    if (!targetExists && !S_ISDIR(src.st_mode)) {
      // link+unlink refuses to replace a target that appeared meanwhile
      if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return Succeed();
      }
      if (errno == EEXIST) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
      }
    }
    if (rename(from.c_str(), to.c_str()) == 0) {
      if ((flags & MOVEFILE_WRITE_THROUGH) != 0) atomic_file::SyncFolder(targetDir);
      return Succeed();
    }
    if (errno != EXDEV) return Fail(errno);
  }
  if ((flags & MOVEFILE_COPY_ALLOWED) == 0 || S_ISDIR(src.st_mode)) {
    SetLastError(ERROR_NOT_SAME_DEVICE);
    return false;
  }
  if (!CopyInto(from, to, replace)) return false;
  // The copy is durable in its place; only now may the source go.
  if (unlink(from.c_str()) != 0) return Fail(errno);
  atomic_file::SyncFolder(DirOf(from));
  return Succeed();
}

bool MoveFile(const String& existingFileName, const String& newFileName) {
  return MoveFileEx(existingFileName, newFileName, MOVEFILE_COPY_ALLOWED);
}

TDateTime UnixTimeToLocalDateTime(double unixSeconds) {
  const double whole = std::floor(unixSeconds);
  const time_t t = static_cast<time_t>(whole);
  struct tm local {};
  localtime_r(&t, &local);
  const double shifted = whole + static_cast<double>(local.tm_gmtoff) + (unixSeconds - whole);
  return kUnixEpochDays + shifted / 86400.0;
}

double LocalDateTimeToUnixTime(TDateTime localDateTime) {
  const double naive = (localDateTime - kUnixEpochDays) * 86400.0;  // seconds, as if UTC
  const double whole = std::floor(naive);
  const time_t t = static_cast<time_t>(whole);
  struct tm fields {};
  gmtime_r(&t, &fields);
  fields.tm_isdst = -1;
  const time_t utc = mktime(&fields);
  return static_cast<double>(utc) + (naive - whole);
}

bool FileAge(const String& fileName, TDateTime& fileDateTime) {
  struct stat st {};
  if (stat(Native(fileName).c_str(), &st) != 0) return Fail(errno);
  fileDateTime = UnixTimeToLocalDateTime(static_cast<double>(st.st_mtim.tv_sec) +
                                         static_cast<double>(st.st_mtim.tv_nsec) / 1e9);
  return Succeed();
}

bool FileSetDate(const String& fileName, TDateTime localDateTime) {
  if (!std::isfinite(localDateTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const double unix = LocalDateTimeToUnixTime(localDateTime);
  struct timespec ts {};
  ts.tv_sec = static_cast<time_t>(std::floor(unix));
  ts.tv_nsec = static_cast<long>(std::lround((unix - std::floor(unix)) * 1e9));
  if (ts.tv_nsec >= 1000000000L) {
    ts.tv_sec += 1;
    ts.tv_nsec -= 1000000000L;
  }
  const struct timespec times[2] = {ts, ts};
  if (utimensat(AT_FDCWD, Native(fileName).c_str(), times, 0) != 0) return Fail(errno);
  return Succeed();
}

DWORD GetFileAttributes(const String& fileName) {
  const std::string p = Native(fileName);
  struct stat st {};
  if (stat(p.c_str(), &st) != 0) {
    SetLastErrorFromErrno(errno);
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD a = 0;
  if ((st.st_mode & S_IWUSR) == 0) a |= FILE_ATTRIBUTE_READONLY;
  const auto slash = p.find_last_of('/');
  const std::string leaf = slash == std::string::npos ? p : p.substr(slash + 1);
  if (leaf.size() > 1 && leaf[0] == '.' && leaf != "..") a |= FILE_ATTRIBUTE_HIDDEN;
  a |= S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  SetLastError(ERROR_SUCCESS);
  return a;
}

bool SetFileAttributes(const String& fileName, DWORD attributes) {
  const std::string p = Native(fileName);
  struct stat st {};
  if (stat(p.c_str(), &st) != 0) return Fail(errno);
  mode_t mode = st.st_mode & 07777;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else {
    mode |= S_IWUSR;
  }
  if (chmod(p.c_str(), mode) != 0) return Fail(errno);
  return Succeed();
}

Integer FileGetAttr(const String& fileName) {
  const DWORD a = GetFileAttributes(fileName);
  return a == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<Integer>(a);
}

Integer FileSetAttr(const String& fileName, Integer attributes) {
  return SetFileAttributes(fileName, static_cast<DWORD>(attributes)) ? 0 : static_cast<Integer>(GetLastError());
}
