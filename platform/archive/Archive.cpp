// Archive readers over libmspack (cabinets, SZDD) and libzip, with every
// stored name confined to the target folder.
#include "platform/archive/Archive.h"

#include <fcntl.h>
#include <mspack.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/win/SharedLibrary.h"

namespace {

// A file descriptor that closes itself.
class TFd {
 public:
  TFd() = default;
  explicit TFd(int fd) : FFd(fd) {}
  ~TFd() { Reset(); }
  TFd(TFd&& o) noexcept : FFd(o.Release()) {}
  TFd& operator=(TFd&& o) noexcept {
    if (this != &o) {
      Reset();
      FFd = o.Release();
    }
    return *this;
  }
  int Get() const { return FFd; }
  int Release() {
    int fd = FFd;
    FFd = -1;
    return fd;
  }
  void Reset() {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
  }

 private:
  int FFd = -1;
};

// Splits a stored name into folder components; false for names that could
// leave the target: empty, absolute, drive-prefixed, or with "..".
bool SplitStoredName(std::string name, std::vector<std::string>& parts, bool& isFolder) {
  for (char& c : name)
    if (c == '\\') c = '/';
  if (name.empty() || name[0] == '/') return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  if (name.find('\0') != std::string::npos) return false;
  isFolder = name.back() == '/';
  parts.clear();
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (part == "..") return false;
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  return !parts.empty();
}

// One entry written to a temporary file beside its target, waiting for the
// rename. Only its folder's components are kept, never a descriptor: an
// archive of many entries must not run out of them.
struct TStaged {
  std::vector<std::string> Folder;
  std::string Temp;
  std::string Leaf;
  std::string Backup;  // the replaced file while the commit can still be undone
  struct timespec Time[2];
  bool HasTime = false;
  bool Placed = false;
};

std::string UniqueName(const char* prefix) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  return prefix + std::to_string(random() % 1000000000000ULL) + ".tmp";
}

// The target folder, and the entries of one archive staged in it.
class TConfinedTarget {
 public:
  explicit TConfinedTarget(const String& dir) {
    FRoot = TFd(::open(StringToUtf8(dir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  }
  ~TConfinedTarget() {
    Undo();
    ForEachFolder([](int dir, TStaged& s) {
      if (!s.Placed) ::unlinkat(dir, s.Temp.c_str(), 0);
    });
  }
  bool Ok() const { return FRoot.Get() >= 0; }
  int Root() const { return FRoot.Get(); }

  // Opens (creating when asked) the folders of parts[0..count) below the
  // root without following any link; -1 with error set when refused.
  TFd OpenFolder(const std::vector<std::string>& parts, std::size_t count, bool create, std::string& error) {
    TFd dir(::dup(FRoot.Get()));
    for (std::size_t i = 0; i < count && dir.Get() >= 0; ++i) {
      const char* part = parts[i].c_str();
      int next = ::openat(dir.Get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (next < 0 && errno == ENOENT && create) {
        if (::mkdirat(dir.Get(), part, 0755) != 0 && errno != EEXIST) {
          error = "cannot create folder " + parts[i] + ": " + std::strerror(errno);
          return TFd();
        }
        next = ::openat(dir.Get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      }
      if (next < 0) {
        error = (errno == ELOOP || errno == ENOTDIR) ? "name passes through a link or file: " + parts[i]
                                                      : "cannot open folder " + parts[i];
        return TFd();
      }
      dir = TFd(next);
    }
    return dir;
  }

  // Checks a name without writing anything.
  bool Check(const std::string& name, std::string& error) {
    std::vector<std::string> parts;
    bool folder = false;
    if (!SplitStoredName(name, parts, folder)) {
      error = "name outside the target folder: " + name;
      return false;
    }
    // Existing folders on the way must be real folders inside the target.
    std::size_t depth = folder ? parts.size() : parts.size() - 1;
    TFd dir(::dup(FRoot.Get()));
    for (std::size_t i = 0; i < depth; ++i) {
      struct stat st;
      if (::fstatat(dir.Get(), parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return true;  // created later
      if (!S_ISDIR(st.st_mode)) {
        error = "name passes through a link or file: " + name;
        return false;
      }
      dir = TFd(::openat(dir.Get(), parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (dir.Get() < 0) {
        error = "cannot open folder of " + name;
        return false;
      }
    }
    if (!folder) {
      struct stat st;
      if (::fstatat(dir.Get(), parts.back().c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
        error = "a folder has the name of the file " + name;
        return false;
      }
    }
    return true;
  }

  // Creates the folder entry name.
  bool MakeFolder(const std::string& name, std::string& error) {
    std::vector<std::string> parts;
    bool folder = false;
    if (!SplitStoredName(name, parts, folder)) return false;
    return OpenFolder(parts, parts.size(), true, error).Get() >= 0;
  }

  // A new empty temporary file beside the target of name; its index in the
  // staged list, or -1 with error. PathOf and OpenForWrite work on the
  // entry staged last.
  int Stage(const std::string& name, std::string& error) {
    std::vector<std::string> parts;
    bool folder = false;
    if (!SplitStoredName(name, parts, folder) || folder) {
      error = "name outside the target folder: " + name;
      return -1;
    }
    TFd dir = OpenFolder(parts, parts.size() - 1, true, error);
    if (dir.Get() < 0) return -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string temp = UniqueName(".ryx-unpack-");
      int fd = ::openat(dir.Get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
      if (fd < 0 && errno == EEXIST) continue;
      if (fd < 0) {
        error = "cannot write into the folder of " + name + ": " + std::strerror(errno);
        return -1;
      }
      ::close(fd);
      TStaged s;
      s.Leaf = parts.back();
      parts.pop_back();
      s.Folder = std::move(parts);
      s.Temp = temp;
      FStaged.push_back(std::move(s));
      FCurrent = std::move(dir);
      return static_cast<int>(FStaged.size() - 1);
    }
    error = "no free temporary name for " + name;
    return -1;
  }

  // A path that reaches the staged file through its folder's descriptor, so
  // no link in the path can be followed.
  std::string PathOf(int index) const {
    const TStaged& s = FStaged[static_cast<std::size_t>(index)];
    return "/proc/self/fd/" + std::to_string(FCurrent.Get()) + "/" + s.Temp;
  }
  int OpenForWrite(int index) const {
    const TStaged& s = FStaged[static_cast<std::size_t>(index)];
    return ::openat(FCurrent.Get(), s.Temp.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  }
  void SetTime(int index, std::time_t t) {
    TStaged& s = FStaged[static_cast<std::size_t>(index)];
    s.Time[0].tv_sec = s.Time[1].tv_sec = t;
    s.Time[0].tv_nsec = s.Time[1].tv_nsec = 0;
    s.HasTime = true;
  }

  // Flushes the staged files and renames them over their targets, all or
  // none: a failed rename puts back every file already replaced.
  bool Commit(std::string& error) {
    FCurrent.Reset();
    bool ok = true;
    ForEachFolder([&](int dir, TStaged& s) {
      if (dir < 0) ok = false;
      else if (s.HasTime) ::utimensat(dir, s.Temp.c_str(), s.Time, AT_SYMLINK_NOFOLLOW);
    });
    // One flush of the file system writes every staged file.
    if (!ok || ::syncfs(FRoot.Get()) != 0) {
      error = "cannot flush the unpacked files";
      return false;
    }
    ForEachFolder([&](int dir, TStaged& s) {
      if (!ok) return;
      struct stat st;
      if (::fstatat(dir, s.Leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        // The old file stays reachable under a second name until the whole archive is in.
        s.Backup = UniqueName(".ryx-old-");
        if (::linkat(dir, s.Leaf.c_str(), dir, s.Backup.c_str(), 0) != 0 &&
            ::renameat(dir, s.Leaf.c_str(), dir, s.Backup.c_str()) != 0) {
          s.Backup.clear();
          error = "cannot keep the old " + s.Leaf + ": " + std::strerror(errno);
          ok = false;
          return;
        }
      }
      if (::renameat(dir, s.Temp.c_str(), dir, s.Leaf.c_str()) != 0) {
        error = "cannot place " + s.Leaf + ": " + std::strerror(errno);
        if (!s.Backup.empty()) ::renameat(dir, s.Backup.c_str(), dir, s.Leaf.c_str());
        s.Backup.clear();
        ok = false;
        return;
      }
      s.Placed = true;
    }, /*syncFolders=*/true);
    if (!ok) {
      Undo();
      return false;
    }
    ForEachFolder([](int dir, TStaged& s) {
      if (!s.Backup.empty()) ::unlinkat(dir, s.Backup.c_str(), 0);
    });
    FStaged.clear();
    return true;
  }

 private:
  // Runs fn for every staged entry with its folder open, one folder at a
  // time (entries sorted by folder); dir is -1 when the folder cannot be
  // opened. With syncFolders each folder is flushed once after its entries.
  template <class TFn>
  void ForEachFolder(TFn fn, bool syncFolders = false, bool reverse = false) {
    std::vector<std::size_t> order(FStaged.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return FStaged[a].Folder < FStaged[b].Folder; });
    if (reverse) std::reverse(order.begin(), order.end());
    std::string ignored;
    for (std::size_t i = 0; i < order.size();) {
      const std::vector<std::string>& folder = FStaged[order[i]].Folder;
      TFd dir = OpenFolder(folder, folder.size(), false, ignored);
      std::size_t j = i;
      for (; j < order.size() && FStaged[order[j]].Folder == folder; ++j) fn(dir.Get(), FStaged[order[j]]);
      if (syncFolders && dir.Get() >= 0) ::fsync(dir.Get());
      i = j;
    }
  }

  // Puts back every file a commit replaced (and removes the ones it added),
  // last placed first: an archive may name one file twice.
  void Undo() {
    ForEachFolder(
        [](int dir, TStaged& s) {
          if (!s.Placed || dir < 0) return;
          if (!s.Backup.empty()) ::renameat(dir, s.Backup.c_str(), dir, s.Leaf.c_str());
          else ::unlinkat(dir, s.Leaf.c_str(), 0);
          s.Placed = false;
          s.Backup.clear();
        },
        false, true);
  }

  TFd FRoot;
  TFd FCurrent;  // the folder of the entry staged last
  std::vector<TStaged> FStaged;
};


// Little-endian fields of the ZIP structures.
std::uint64_t Le(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

bool ReadAt(int fd, std::uint64_t offset, unsigned char* buffer, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Reads the central directory itself and checks that no two entries share
// bytes (an overlap bomb unpacks one compressed block many times): each
// entry's span runs from its local header to the end of its data, the spans
// are sorted by start, and each must end before the next begins. Also
// answers the directory's entry count.
bool ZipSpansDisjoint(const std::string& path, std::uint64_t& entries, std::string& error) {
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st;
  if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0) {
    error = "cannot read " + path;
    return false;
  }
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  // The end record is in the last 22 + 65535 bytes.
  const std::uint64_t tailSize = std::min<std::uint64_t>(size, 22 + 65535);
  std::vector<unsigned char> tail(tailSize);
  if (tailSize < 22 || !ReadAt(fd.Get(), size - tailSize, tail.data(), tailSize)) {
    error = "not a ZIP archive: " + path;
    return false;
  }
  std::size_t eocd = tailSize - 22 + 1;
  while (eocd-- > 0)
    if (Le(&tail[eocd], 4) == 0x06054b50) break;
  if (eocd == std::size_t(-1)) {
    error = "no ZIP directory in " + path;
    return false;
  }
  const std::uint64_t eocdAt = size - tailSize + eocd;
  std::uint64_t count = Le(&tail[eocd + 10], 2), dirSize = Le(&tail[eocd + 12], 4), dirAt = Le(&tail[eocd + 16], 4);
  std::uint64_t dirEnd = eocdAt;
  if ((count == 0xFFFF || dirSize == 0xFFFFFFFF || dirAt == 0xFFFFFFFF) && eocdAt >= 20 + 56) {
    unsigned char locator[20], record[56];
    if (ReadAt(fd.Get(), eocdAt - 20, locator, 20) && Le(locator, 4) == 0x07064b50) {
      const std::uint64_t recordAt = Le(locator + 8, 8);
      if (recordAt > eocdAt - 20 - 56 || !ReadAt(fd.Get(), recordAt, record, 56) || Le(record, 4) != 0x06064b50) {
        error = "damaged ZIP64 directory in " + path;
        return false;
      }
      count = Le(record + 32, 8);
      dirSize = Le(record + 40, 8);
      dirAt = Le(record + 48, 8);
      dirEnd = recordAt;
    }
  }
  // Every directory entry takes at least 46 bytes: the count cannot exceed what the directory holds.
  if (dirAt > dirEnd || dirSize > dirEnd - dirAt || count > dirSize / 46 || count > kArchiveMaxEntries) {
    error = "damaged ZIP directory in " + path;
    return false;
  }
  std::vector<unsigned char> dir(dirSize);
  if (!ReadAt(fd.Get(), dirAt, dir.data(), dir.size())) {
    error = "damaged ZIP directory in " + path;
    return false;
  }
  std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
  spans.reserve(count);
  std::size_t p = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (p + 46 > dir.size() || Le(&dir[p], 4) != 0x02014b50) {
      error = "damaged ZIP directory in " + path;
      return false;
    }
    std::uint64_t compressed = Le(&dir[p + 20], 4), plain = Le(&dir[p + 24], 4), local = Le(&dir[p + 42], 4);
    const std::size_t nameLength = Le(&dir[p + 28], 2), extraLength = Le(&dir[p + 30], 2),
                      commentLength = Le(&dir[p + 32], 2);
    const std::size_t next = p + 46 + nameLength + extraLength + commentLength;
    if (next > dir.size()) {
      error = "damaged ZIP directory in " + path;
      return false;
    }
    // ZIP64 sizes and offset, in this order, for the fields that are full.
    for (std::size_t e = p + 46 + nameLength; e + 4 <= p + 46 + nameLength + extraLength;) {
      const std::size_t id = Le(&dir[e], 2), length = Le(&dir[e + 2], 2);
      std::size_t f = e + 4;
      const std::size_t fieldEnd = std::min(f + length, p + 46 + nameLength + extraLength);
      if (id == 0x0001) {
        for (std::uint64_t* value : {&plain, &compressed, &local}) {
          if (*value != 0xFFFFFFFF) continue;
          if (f + 8 > fieldEnd) break;
          *value = Le(&dir[f], 8);
          f += 8;
        }
      }
      e += 4 + length;
    }
    unsigned char header[30];
    if (local > dirAt || !ReadAt(fd.Get(), local, header, 30) || Le(header, 4) != 0x04034b50) {
      error = "damaged ZIP entry in " + path;
      return false;
    }
    const std::uint64_t dataAt = local + 30 + Le(header + 26, 2) + Le(header + 28, 2);
    if (compressed > dirAt || dataAt > dirAt - compressed) {
      error = "damaged ZIP entry in " + path;
      return false;
    }
    spans.emplace_back(local, dataAt + compressed);
    p = next;
  }
  std::sort(spans.begin(), spans.end());
  for (std::size_t i = 1; i < spans.size(); ++i)
    if (spans[i].first < spans[i - 1].second) {
      error = "ZIP entries overlap in " + path;
      return false;
    }
  entries = count;
  return true;
}

// What may be unpacked into a folder: the archive limit, and no more than
// the free space of the folder's file system.
std::uint64_t UnpackBudget(int dir) {
  struct statvfs fs;
  if (::fstatvfs(dir, &fs) != 0) return kArchiveMaxTotal;
  return std::min<std::uint64_t>(kArchiveMaxTotal, static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize);
}

void Fail(String& error, const std::string& text) { error = Utf8ToString(text); }

// Cabinet names are UTF-8 when flagged, else single bytes taken as Latin-1.
std::string CabinetName(const mscabd_file* f) {
  std::string name = f->filename != nullptr ? f->filename : "";
  if (f->attribs & MSCAB_ATTRIB_UTF_NAME) return name;
  std::string out;
  for (unsigned char c : name) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::time_t CabinetTime(const mscabd_file* f) {
  if (f->date_d == 0 && f->date_m == 0 && f->time_h == 0 && f->time_m == 0 && f->time_s == 0)
    return std::time(nullptr);  // no stored time
  std::tm tm{};
  tm.tm_year = f->date_y - 1900;
  tm.tm_mon = f->date_m - 1;
  tm.tm_mday = f->date_d;
  tm.tm_hour = f->time_h;
  tm.tm_min = f->time_m;
  tm.tm_sec = f->time_s;
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm);
  return t == static_cast<std::time_t>(-1) ? std::time(nullptr) : t;
}

// libmspack and libzip, opened by the first archive that needs them rather
// than at start-up. A missing library fails the call with the loader's reason
// (also written to the standard error once).
struct TMspackApi {
  decltype(&::mspack_create_cab_decompressor) create_cab_decompressor = nullptr;
  decltype(&::mspack_destroy_cab_decompressor) destroy_cab_decompressor = nullptr;
  decltype(&::mspack_create_szdd_decompressor) create_szdd_decompressor = nullptr;
  decltype(&::mspack_destroy_szdd_decompressor) destroy_szdd_decompressor = nullptr;
};
struct TZipApi {
  decltype(&::zip_open) open = nullptr;
  decltype(&::zip_discard) discard = nullptr;
  decltype(&::zip_get_num_entries) get_num_entries = nullptr;
  decltype(&::zip_stat_index) stat_index = nullptr;
  decltype(&::zip_file_get_external_attributes) file_get_external_attributes = nullptr;
  decltype(&::zip_fopen_index) fopen_index = nullptr;
  decltype(&::zip_fread) fread = nullptr;
  decltype(&::zip_fclose) fclose = nullptr;
};
TMspackApi gMspackApi;
TZipApi gZipApi;
const TMspackApi& Mspack() { return gMspackApi; }
const TZipApi& Zip() { return gZipApi; }

void TellOnce(std::once_flag& told, const TSharedLibrary& lib) {
  std::call_once(told, [&] { std::fprintf(stderr, "%s\n", lib.Error().c_str()); });
}

// Answers the loader's reason when libmspack cannot be used, else nothing.
std::string LoadMspack() {
  static TSharedLibrary lib("the cabinet library libmspack", {RYX_LIBMSPACK_SONAME, "libmspack.so.0"});
  static std::once_flag told;
  if (lib.Load([](TSharedLibrary& l) {
        l.Bind(gMspackApi.create_cab_decompressor, "mspack_create_cab_decompressor");
        l.Bind(gMspackApi.destroy_cab_decompressor, "mspack_destroy_cab_decompressor");
        l.Bind(gMspackApi.create_szdd_decompressor, "mspack_create_szdd_decompressor");
        l.Bind(gMspackApi.destroy_szdd_decompressor, "mspack_destroy_szdd_decompressor");
      }))
    return {};
  TellOnce(told, lib);
  return lib.Error();
}

std::string LoadZip() {
  static TSharedLibrary lib("the ZIP library libzip", {RYX_LIBZIP_SONAME, "libzip.so.4"});
  static std::once_flag told;
  if (lib.Load([](TSharedLibrary& l) {
        l.Bind(gZipApi.open, "zip_open");
        l.Bind(gZipApi.discard, "zip_discard");
        l.Bind(gZipApi.get_num_entries, "zip_get_num_entries");
        l.Bind(gZipApi.stat_index, "zip_stat_index");
        l.Bind(gZipApi.file_get_external_attributes, "zip_file_get_external_attributes");
        l.Bind(gZipApi.fopen_index, "zip_fopen_index");
        l.Bind(gZipApi.fread, "zip_fread");
        l.Bind(gZipApi.fclose, "zip_fclose");
      }))
    return {};
  TellOnce(told, lib);
  return lib.Error();
}

struct TCabDeleter {
  void operator()(mscab_decompressor* d) const { Mspack().destroy_cab_decompressor(d); }
};
struct TSzddDeleter {
  void operator()(msszdd_decompressor* d) const { Mspack().destroy_szdd_decompressor(d); }
};

}  // namespace

bool ArchiveExtractCabinet(const String& cabFile, const String& targetDir, String& error) {
  error.clear();
  if (const std::string missing = LoadMspack(); !missing.empty()) {
    Fail(error, missing);
    return false;
  }
  std::unique_ptr<mscab_decompressor, TCabDeleter> cabd(Mspack().create_cab_decompressor(nullptr));
  if (!cabd) {
    Fail(error, "cabinet reader unavailable");
    return false;
  }
  // A damaged block is an error, never silently skipped.
  cabd->set_param(cabd.get(), MSCABD_PARAM_FIXMSZIP, 0);
  cabd->set_param(cabd.get(), MSCABD_PARAM_SALVAGE, 0);
  const std::string path = StringToUtf8(cabFile);
  mscabd_cabinet* cab = cabd->open(cabd.get(), path.c_str());
  if (cab == nullptr) {
    Fail(error, "not a cabinet: " + path);
    return false;
  }
  struct TCloser {
    mscab_decompressor* d;
    mscabd_cabinet* c;
    ~TCloser() { d->close(d, c); }
  } closer{cabd.get(), cab};
  if (cab->next != nullptr || cab->prevcab != nullptr || cab->nextcab != nullptr) {
    Fail(error, "multi-part cabinets are not supported: " + path);
    return false;
  }
  TConfinedTarget target(targetDir);
  if (!target.Ok()) {
    Fail(error, "no target folder");
    return false;
  }
  const std::uint64_t budget = UnpackBudget(target.Root());
  std::uint64_t total = 0;
  std::size_t count = 0;
  std::string text;
  for (mscabd_file* f = cab->files; f != nullptr; f = f->next) {
    total += f->length;
    if (++count > kArchiveMaxEntries || total > budget) {
      Fail(error, "cabinet larger than allowed: " + path);
      return false;
    }
    if (!target.Check(CabinetName(f), text)) {
      Fail(error, text);
      return false;
    }
  }
  for (mscabd_file* f = cab->files; f != nullptr; f = f->next) {
    int index = target.Stage(CabinetName(f), text);
    if (index < 0) {
      Fail(error, text);
      return false;
    }
    if (cabd->extract(cabd.get(), f, target.PathOf(index).c_str()) != MSPACK_ERR_OK) {
      Fail(error, "damaged cabinet entry " + CabinetName(f) + " (" + std::to_string(cabd->last_error(cabd.get())) +
                      ")");
      return false;
    }
    target.SetTime(index, CabinetTime(f));
  }
  if (!target.Commit(text)) {
    Fail(error, text);
    return false;
  }
  return true;
}

bool ArchiveExtractZip(const String& zipFile, const String& targetDir, String& error) {
  error.clear();
  if (const std::string missing = LoadZip(); !missing.empty()) {
    Fail(error, missing);
    return false;
  }
  const std::string path = StringToUtf8(zipFile);
  int code = 0;
  zip_t* archive = Zip().open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    Fail(error, "not a ZIP archive: " + path);
    return false;
  }
  struct TCloser {
    zip_t* z;
    ~TCloser() { Zip().discard(z); }
  } closer{archive};
  TConfinedTarget target(targetDir);
  if (!target.Ok()) {
    Fail(error, "no target folder");
    return false;
  }
  const zip_int64_t entries = Zip().get_num_entries(archive, 0);
  if (entries < 0 || static_cast<std::uint64_t>(entries) > kArchiveMaxEntries) {
    Fail(error, "ZIP archive larger than allowed: " + path);
    return false;
  }
  std::uint64_t listed = 0;
  std::string text;
  if (!ZipSpansDisjoint(path, listed, text) || listed != static_cast<std::uint64_t>(entries)) {
    Fail(error, text.empty() ? "damaged ZIP directory in " + path : text);
    return false;
  }
  const std::uint64_t budget = UnpackBudget(target.Root());
  std::uint64_t total = 0;
  for (zip_int64_t i = 0; i < entries; ++i) {
    zip_stat_t st;
    if (Zip().stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0 || (st.valid & ZIP_STAT_NAME) == 0 ||
        (st.valid & ZIP_STAT_SIZE) == 0) {
      Fail(error, "damaged ZIP entry in " + path);
      return false;
    }
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    Zip().file_get_external_attributes(archive, static_cast<zip_uint64_t>(i), 0, &opsys, &attributes);
    if (opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK) {
      Fail(error, std::string("symbolic link entry refused: ") + st.name);
      return false;
    }
    total += st.size;
    if (total > budget) {
      Fail(error, "ZIP archive larger than allowed: " + path);
      return false;
    }
    if (!target.Check(st.name, text)) {
      Fail(error, text);
      return false;
    }
  }
  std::vector<char> block(65536);
  for (zip_int64_t i = 0; i < entries; ++i) {
    zip_stat_t st;
    Zip().stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
    const std::string name = st.name;
    if (name.back() == '/' || name.back() == '\\') {
      if (!target.MakeFolder(name, text)) {
        Fail(error, text);
        return false;
      }
      continue;
    }
    int index = target.Stage(name, text);
    if (index < 0) {
      Fail(error, text);
      return false;
    }
    TFd out(target.OpenForWrite(index));
    zip_file_t* in = Zip().fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    if (out.Get() < 0 || in == nullptr) {
      if (in != nullptr) Zip().fclose(in);
      Fail(error, "cannot unpack " + name);
      return false;
    }
    std::uint64_t written = 0;
    bool ok = true;
    for (;;) {
      zip_int64_t n = Zip().fread(in, block.data(), block.size());
      if (n < 0) ok = false;
      if (n <= 0) break;
      written += static_cast<std::uint64_t>(n);
      if (written > st.size) {  // more than the directory promised
        ok = false;
        break;
      }
      for (zip_int64_t done = 0; done < n;) {
        ssize_t w = ::write(out.Get(), block.data() + done, static_cast<std::size_t>(n - done));
        if (w <= 0) {
          ok = false;
          break;
        }
        done += w;
      }
      if (!ok) break;
    }
    Zip().fclose(in);
    if (!ok || written != st.size) {
      Fail(error, "damaged ZIP entry " + name);
      return false;
    }
    if (st.valid & ZIP_STAT_MTIME) target.SetTime(index, st.mtime);
  }
  if (!target.Commit(text)) {
    Fail(error, text);
    return false;
  }
  return true;
}

namespace {

TSzddResult ProbeSzdd(const String& source, char& storedChar, std::uint64_t& length) {
  storedChar = 0;
  length = 0;
  if (!LoadMspack().empty()) return TSzddResult::Failed;
  std::unique_ptr<msszdd_decompressor, TSzddDeleter> szdd(Mspack().create_szdd_decompressor(nullptr));
  if (!szdd) return TSzddResult::Failed;
  const std::string path = StringToUtf8(source);
  msszddd_header* header = szdd->open(szdd.get(), path.c_str());
  if (header == nullptr)
    return szdd->last_error(szdd.get()) == MSPACK_ERR_SIGNATURE ? TSzddResult::NotCompressed : TSzddResult::Failed;
  storedChar = header->missing_char;
  const bool tooLarge = header->length < 0 || static_cast<std::uint64_t>(header->length) > kArchiveMaxTotal;
  if (!tooLarge) length = static_cast<std::uint64_t>(header->length);
  szdd->close(szdd.get(), header);
  return tooLarge ? TSzddResult::Failed : TSzddResult::Expanded;
}

}  // namespace

TSzddResult ArchiveProbeSzdd(const String& source, char& storedChar) {
  std::uint64_t length = 0;
  return ProbeSzdd(source, storedChar, length);
}

TSzddResult ArchiveExpandSzdd(const String& source, const String& target, char& storedChar) {
  std::uint64_t length = 0;
  TSzddResult probe = ProbeSzdd(source, storedChar, length);
  if (probe != TSzddResult::Expanded) return probe;
  std::unique_ptr<msszdd_decompressor, TSzddDeleter> szdd(Mspack().create_szdd_decompressor(nullptr));
  if (!szdd) return TSzddResult::Failed;
  // The expansion goes to a temporary file beside the target, then replaces it.
  std::string out = StringToUtf8(target);
  std::string temp = out + ".ryx-expand.XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return TSzddResult::Failed;
  ::close(fd);
  bool ok = szdd->decompress(szdd.get(), StringToUtf8(source).c_str(), temp.c_str()) == MSPACK_ERR_OK;
  if (ok) {
    // The reader pads a file cut short: only the announced length is whole.
    TFd f(::open(temp.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    ok = f.Get() >= 0 && ::fstat(f.Get(), &st) == 0 && static_cast<std::uint64_t>(st.st_size) == length &&
         ::fsync(f.Get()) == 0;
  }
  if (ok) ok = ::rename(temp.c_str(), out.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return TSzddResult::Failed;
  }
  return TSzddResult::Expanded;
}
