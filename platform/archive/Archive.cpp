// Archive readers over libmspack (cabinets, SZDD) and libzip, with every
// stored name confined to the target folder.
#include "platform/archive/Archive.h"

#include <fcntl.h>
#include <mspack.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

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

// One entry written to a temporary file beside its target, waiting for the rename.
struct TStaged {
  TFd Dir;
  std::string Temp;
  std::string Leaf;
  struct timespec Time[2];
  bool HasTime = false;
};

// The target folder, and the entries of one archive staged in it.
class TConfinedTarget {
 public:
  explicit TConfinedTarget(const String& dir) {
    FRoot = TFd(::open(StringToUtf8(dir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  }
  ~TConfinedTarget() {
    for (TStaged& s : FStaged) ::unlinkat(s.Dir.Get(), s.Temp.c_str(), 0);
  }
  bool Ok() const { return FRoot.Get() >= 0; }

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
  // staged list, or -1 with error.
  int Stage(const std::string& name, std::string& error) {
    std::vector<std::string> parts;
    bool folder = false;
    if (!SplitStoredName(name, parts, folder) || folder) {
      error = "name outside the target folder: " + name;
      return -1;
    }
    TFd dir = OpenFolder(parts, parts.size() - 1, true, error);
    if (dir.Get() < 0) return -1;
    static thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string temp = ".ryx-unpack-" + std::to_string(random() % 1000000000000ULL) + ".tmp";
      int fd = ::openat(dir.Get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
      if (fd < 0 && errno == EEXIST) continue;
      if (fd < 0) {
        error = "cannot write into the folder of " + name + ": " + std::strerror(errno);
        return -1;
      }
      ::close(fd);
      TStaged s;
      s.Dir = std::move(dir);
      s.Temp = temp;
      s.Leaf = parts.back();
      FStaged.push_back(std::move(s));
      return static_cast<int>(FStaged.size() - 1);
    }
    error = "no free temporary name for " + name;
    return -1;
  }

  // A path that reaches the staged file through its folder's descriptor, so
  // no link in the path can be followed.
  std::string PathOf(int index) const {
    const TStaged& s = FStaged[static_cast<std::size_t>(index)];
    return "/proc/self/fd/" + std::to_string(s.Dir.Get()) + "/" + s.Temp;
  }
  int OpenForWrite(int index) const {
    const TStaged& s = FStaged[static_cast<std::size_t>(index)];
    return ::openat(s.Dir.Get(), s.Temp.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  }
  void SetTime(int index, std::time_t t) {
    TStaged& s = FStaged[static_cast<std::size_t>(index)];
    s.Time[0].tv_sec = s.Time[1].tv_sec = t;
    s.Time[0].tv_nsec = s.Time[1].tv_nsec = 0;
    s.HasTime = true;
  }

  // Flushes every staged file and renames it over its target.
  bool Commit(std::string& error) {
    for (TStaged& s : FStaged) {
      TFd fd(::openat(s.Dir.Get(), s.Temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
      if (fd.Get() < 0 || ::fsync(fd.Get()) != 0) {
        error = "cannot flush " + s.Leaf;
        return false;
      }
      if (s.HasTime) ::futimens(fd.Get(), s.Time);
    }
    for (std::size_t i = 0; i < FStaged.size(); ++i) {
      TStaged& s = FStaged[i];
      if (::renameat(s.Dir.Get(), s.Temp.c_str(), s.Dir.Get(), s.Leaf.c_str()) != 0) {
        error = "cannot place " + s.Leaf + ": " + std::strerror(errno);
        FStaged.erase(FStaged.begin(), FStaged.begin() + static_cast<std::ptrdiff_t>(i));
        return false;
      }
      ::fsync(s.Dir.Get());
    }
    FStaged.clear();
    return true;
  }

 private:
  TFd FRoot;
  std::vector<TStaged> FStaged;
};

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

struct TCabDeleter {
  void operator()(mscab_decompressor* d) const { mspack_destroy_cab_decompressor(d); }
};
struct TSzddDeleter {
  void operator()(msszdd_decompressor* d) const { mspack_destroy_szdd_decompressor(d); }
};

}  // namespace

bool ArchiveExtractCabinet(const String& cabFile, const String& targetDir, String& error) {
  error.clear();
  std::unique_ptr<mscab_decompressor, TCabDeleter> cabd(mspack_create_cab_decompressor(nullptr));
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
  std::uint64_t total = 0;
  std::size_t count = 0;
  std::string text;
  for (mscabd_file* f = cab->files; f != nullptr; f = f->next) {
    total += f->length;
    if (++count > kArchiveMaxEntries || total > kArchiveMaxTotal) {
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
  const std::string path = StringToUtf8(zipFile);
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    Fail(error, "not a ZIP archive: " + path);
    return false;
  }
  struct TCloser {
    zip_t* z;
    ~TCloser() { zip_discard(z); }
  } closer{archive};
  TConfinedTarget target(targetDir);
  if (!target.Ok()) {
    Fail(error, "no target folder");
    return false;
  }
  const zip_int64_t entries = zip_get_num_entries(archive, 0);
  if (entries < 0 || static_cast<std::uint64_t>(entries) > kArchiveMaxEntries) {
    Fail(error, "ZIP archive larger than allowed: " + path);
    return false;
  }
  std::uint64_t total = 0;
  std::string text;
  for (zip_int64_t i = 0; i < entries; ++i) {
    zip_stat_t st;
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0 || (st.valid & ZIP_STAT_NAME) == 0 ||
        (st.valid & ZIP_STAT_SIZE) == 0) {
      Fail(error, "damaged ZIP entry in " + path);
      return false;
    }
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(archive, static_cast<zip_uint64_t>(i), 0, &opsys, &attributes);
    if (opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK) {
      Fail(error, std::string("symbolic link entry refused: ") + st.name);
      return false;
    }
    total += st.size;
    if (total > kArchiveMaxTotal) {
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
    zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
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
    zip_file_t* in = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    if (out.Get() < 0 || in == nullptr) {
      if (in != nullptr) zip_fclose(in);
      Fail(error, "cannot unpack " + name);
      return false;
    }
    std::uint64_t written = 0;
    bool ok = true;
    for (;;) {
      zip_int64_t n = zip_fread(in, block.data(), block.size());
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
    zip_fclose(in);
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
  std::unique_ptr<msszdd_decompressor, TSzddDeleter> szdd(mspack_create_szdd_decompressor(nullptr));
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
  std::unique_ptr<msszdd_decompressor, TSzddDeleter> szdd(mspack_create_szdd_decompressor(nullptr));
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
