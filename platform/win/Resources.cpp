#include "platform/win/Resources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/win/WinError.h"

// Bounds of the running program's "ryxres" section, from the linker; both are
// null in a program without resources.
extern "C" const unsigned char __start_ryxres[] __attribute__((weak));
extern "C" const unsigned char __stop_ryxres[] __attribute__((weak));

struct TResourceEntry {
  String Type;  // normalised: upper case, "#<n>" for numbers
  String Name;
  const Byte* Data = nullptr;
  size_t Size = 0;
};

namespace {

constexpr char kBlobMagic[8] = {'R', 'Y', 'X', 'R', 'E', 'S', '\0', '\1'};
constexpr size_t kMaxSectionSize = size_t{512} << 20;
constexpr size_t kMaxHeaderTable = size_t{16} << 20;
constexpr DWORD kBufferMagic = 0x56585952;  // "RYXV"
constexpr size_t kFixedSize = sizeof(VS_FIXEDFILEINFO);
static_assert(kFixedSize == 52);

uint32_t U32(const Byte* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t U64(const Byte* p) { return static_cast<uint64_t>(U32(p)) | (static_cast<uint64_t>(U32(p + 4)) << 32); }

uint16_t U16(const Byte* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// "#0010" and "#10" name the same number; other names compare in upper case.
String Normalise(const String& name) {
  if (name.size() > 1 && name[0] == u'#') {
    uint32_t v = 0;
    bool digits = name.size() <= 11;
    for (size_t i = 1; i < name.size() && digits; ++i) {
      if (name[i] < u'0' || name[i] > u'9') digits = false;
      else v = v * 10 + static_cast<uint32_t>(name[i] - u'0');
    }
    if (digits && v <= 0xFFFF) return u"#" + Utf8ToString(std::to_string(v));
  }
  return UpperCase(name);
}

// Parses a resource blob; false for anything malformed.
bool ParseBlob(const Byte* data, size_t size, std::vector<TResourceEntry>& out) {
  out.clear();
  if (data == nullptr || size < 16 || std::memcmp(data, kBlobMagic, 8) != 0) return false;
  const uint32_t count = U32(data + 8);
  if (count > (size - 16) / 16) return false;
  size_t pos = 16;
  for (uint32_t i = 0; i < count; ++i) {
    if (size - pos < 16) return false;
    const size_t typeLen = U32(data + pos), nameLen = U32(data + pos + 4), dataLen = U32(data + pos + 8);
    pos += 16;
    if (typeLen > size - pos || nameLen > size - pos - typeLen) return false;
    TResourceEntry e;
    e.Type = Normalise(Utf8ToString(std::string_view(reinterpret_cast<const char*>(data + pos), typeLen)));
    e.Name = Normalise(Utf8ToString(std::string_view(reinterpret_cast<const char*>(data + pos + typeLen), nameLen)));
    pos += typeLen + nameLen;
    pos = (pos + 3) & ~size_t{3};
    if (pos > size || dataLen > size - pos) return false;
    e.Data = data + pos;
    e.Size = dataLen;
    pos += dataLen;
    pos = (pos + 3) & ~size_t{3};
    if (pos > size) pos = size;
    out.push_back(std::move(e));
  }
  return true;
}

struct ProgramResources {
  bool Present = false;
  std::vector<TResourceEntry> Entries;
};

const ProgramResources& Program() {
  static const ProgramResources table = [] {
    ProgramResources r;
    const Byte* p = __start_ryxres;
    const Byte* end = __stop_ryxres;
    if (p != nullptr && end != nullptr && end > p) {
      // The section starts 16-aligned; the linker may pad before the blob.
      while (p < end && *p == 0) ++p;
      r.Present = ParseBlob(p, static_cast<size_t>(end - p), r.Entries);
    }
    return r;
  }();
  return table;
}

const TResourceEntry* Find(const std::vector<TResourceEntry>& entries, const String& name, const String& type,
                           DWORD& error) {
  const String n = Normalise(name), t = Normalise(type);
  bool typeSeen = false;
  for (const auto& e : entries) {
    if (e.Type != t) continue;
    typeSeen = true;
    if (e.Name == n) return &e;
  }
  error = typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
  return nullptr;
}

// ---- reading a program file -----------------------------------------------

class File {
 public:
  explicit File(const String& name) : FFd(open(StringToUtf8(name).c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~File() {
    if (FFd >= 0) close(FFd);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool IsOpen() const { return FFd >= 0; }
  uint64_t Size() const {
    struct stat st {};
    return (fstat(FFd, &st) == 0 && S_ISREG(st.st_mode)) ? static_cast<uint64_t>(st.st_size) : 0;
  }
  // Reads exactly len bytes at offset, within the file's size.
  bool Read(uint64_t offset, size_t len, std::vector<Byte>& out) const {
    out.resize(len);
    size_t done = 0;
    while (done < len) {
      const ssize_t n = pread(FFd, out.data() + done, len - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

 private:
  int FFd;
};

bool InFile(uint64_t offset, uint64_t len, uint64_t fileSize) { return offset <= fileSize && len <= fileSize - offset; }

// Finds the "ryxres" section of an ELF file: its place and size. error: file
// errors, ERROR_RESOURCE_DATA_NOT_FOUND for a file that is no ELF program, is
// damaged or has no such section.
bool LocateResourceSection(const File& f, uint64_t fileSize, uint64_t& offset, uint64_t& size, DWORD& error) {
  error = ERROR_RESOURCE_DATA_NOT_FOUND;
  std::vector<Byte> ident;
  if (fileSize < 64 || !f.Read(0, 64, ident)) return false;
  if (std::memcmp(ident.data(), "\x7F" "ELF", 4) != 0 || ident[5] != 1) return false;  // little-endian only
  const bool is64 = ident[4] == 2;
  if (!is64 && ident[4] != 1) return false;
  const Byte* h = ident.data();
  uint64_t shoff = is64 ? U64(h + 0x28) : U32(h + 0x20);
  const size_t shentsize = U16(h + (is64 ? 0x3A : 0x2E));
  size_t shnum = U16(h + (is64 ? 0x3C : 0x30));
  size_t shstrndx = U16(h + (is64 ? 0x3E : 0x32));
  const size_t minEntry = is64 ? 64 : 40;
  if (shoff == 0 || shentsize < minEntry || !InFile(shoff, shentsize, fileSize)) return false;
  std::vector<Byte> first;
  if (!f.Read(shoff, shentsize, first)) return false;
  // Extended numbering: counts that do not fit live in section 0.
  if (shnum == 0) shnum = static_cast<size_t>(is64 ? U64(first.data() + 0x20) : U32(first.data() + 0x14));
  if (shstrndx == 0xFFFF) shstrndx = U32(first.data() + (is64 ? 0x2C : 0x18));
  if (shnum == 0 || shnum > kMaxHeaderTable / shentsize || shstrndx >= shnum) return false;
  if (!InFile(shoff, static_cast<uint64_t>(shnum) * shentsize, fileSize)) return false;
  std::vector<Byte> table;
  if (!f.Read(shoff, shnum * shentsize, table)) return false;
  struct Section {
    uint32_t Name, Type;
    uint64_t Offset, Size;
  };
  auto section = [&](size_t i) {
    const Byte* s = table.data() + i * shentsize;
    Section r{};
    r.Name = U32(s);
    r.Type = U32(s + 4);
    r.Offset = is64 ? U64(s + 0x18) : U32(s + 0x10);
    r.Size = is64 ? U64(s + 0x20) : U32(s + 0x14);
    return r;
  };
  const Section names = section(shstrndx);
  if (names.Size > kMaxHeaderTable || !InFile(names.Offset, names.Size, fileSize)) return false;
  std::vector<Byte> strtab;
  if (!f.Read(names.Offset, static_cast<size_t>(names.Size), strtab)) return false;
  static constexpr char kWanted[] = "ryxres";
  for (size_t i = 0; i < shnum; ++i) {
    const Section s = section(i);
    if (s.Name >= strtab.size() || strtab.size() - s.Name < sizeof kWanted) continue;
    if (std::memcmp(strtab.data() + s.Name, kWanted, sizeof kWanted) != 0) continue;
    constexpr uint32_t kNoBits = 8;
    if (s.Type == kNoBits || s.Size > kMaxSectionSize || !InFile(s.Offset, s.Size, fileSize)) return false;
    offset = s.Offset;
    size = s.Size;
    return true;
  }
  return false;
}

// Reads one item of a program file's resources: the first of the type and
// name, with every entry checked as ParseBlob checks them. Only the entry
// headers and the item itself are read (a program carries megabytes of
// resources; its version record is a few hundred bytes). error as
// LocateResourceSection, ERROR_RESOURCE_TYPE_NOT_FOUND when there is no such item.
bool ReadFileResource(const String& fileName, const String& type, const String& name, std::vector<Byte>& data,
                      DWORD& error) {
  File f(fileName);
  if (!f.IsOpen()) {
    error = ErrnoToWinError(errno);
    return false;
  }
  uint64_t offset = 0, size = 0;
  if (!LocateResourceSection(f, f.Size(), offset, size, error)) return false;
  error = ERROR_RESOURCE_DATA_NOT_FOUND;
  // Skip alignment padding that the linker put before the blob.
  std::vector<Byte> chunk;
  uint64_t skip = 0;
  for (bool found = false; !found && skip < size;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(256, size - skip));
    if (!f.Read(offset + skip, n, chunk)) return false;
    size_t i = 0;
    while (i < n && chunk[i] == 0) ++i;
    skip += i;
    found = i < n;
  }
  const uint64_t base = offset + skip;
  const uint64_t blobSize = size - skip;
  std::vector<Byte> head;
  if (blobSize < 16 || !f.Read(base, 16, head) || std::memcmp(head.data(), kBlobMagic, 8) != 0) return false;
  const uint32_t count = U32(head.data() + 8);
  if (count > (blobSize - 16) / 16) return false;
  const String wantedType = Normalise(type), wantedName = Normalise(name);
  uint64_t pos = 16, itemPos = 0, itemSize = 0;
  bool found = false;
  std::vector<Byte> names;
  for (uint32_t i = 0; i < count; ++i) {
    if (blobSize - pos < 16 || !f.Read(base + pos, 16, head)) return false;
    const uint64_t typeLen = U32(head.data()), nameLen = U32(head.data() + 4), dataLen = U32(head.data() + 8);
    pos += 16;
    if (typeLen > blobSize - pos || nameLen > blobSize - pos - typeLen) return false;
    bool match = false;
    if (!found) {
      if (!f.Read(base + pos, static_cast<size_t>(typeLen + nameLen), names)) return false;
      const auto* text = reinterpret_cast<const char*>(names.data());
      match = Normalise(Utf8ToString(std::string_view(text, typeLen))) == wantedType &&
              Normalise(Utf8ToString(std::string_view(text + typeLen, nameLen))) == wantedName;
    }
    pos += typeLen + nameLen;
    pos = (pos + 3) & ~uint64_t{3};
    if (pos > blobSize || dataLen > blobSize - pos) return false;
    if (match) {
      found = true;
      itemPos = pos;
      itemSize = dataLen;
    }
    pos += dataLen;
    pos = (pos + 3) & ~uint64_t{3};
    if (pos > blobSize) pos = blobSize;
  }
  if (!found) {
    error = ERROR_RESOURCE_TYPE_NOT_FOUND;
    return false;
  }
  return f.Read(base + itemPos, static_cast<size_t>(itemSize), data);
}

struct VersionRecord {
  VS_FIXEDFILEINFO Fixed{};
  DWORD Translation = 0;
  std::vector<std::pair<String, String>> Strings;
};

bool ParseVersion(const Byte* data, size_t size, VersionRecord& out) {
  if (size < kFixedSize + 8) return false;
  DWORD words[13];
  for (int i = 0; i < 13; ++i) words[i] = U32(data + 4 * i);
  std::memcpy(&out.Fixed, words, kFixedSize);
  if (out.Fixed.dwSignature != VS_FFI_SIGNATURE) return false;
  out.Translation = U32(data + kFixedSize);
  const uint32_t count = U32(data + kFixedSize + 4);
  size_t pos = kFixedSize + 8;
  if (count > (size - pos) / 8) return false;
  auto text = [&](String& s) {
    if (size - pos < 4) return false;
    const size_t len = U32(data + pos);
    pos += 4;
    if (len > size - pos) return false;
    s = Utf8ToString(std::string_view(reinterpret_cast<const char*>(data + pos), len));
    pos += len;
    return true;
  };
  for (uint32_t i = 0; i < count; ++i) {
    String k, v;
    if (!text(k) || !text(v)) return false;
    out.Strings.emplace_back(std::move(k), std::move(v));
  }
  return true;
}

void PutU32(std::vector<Byte>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<Byte>(v >> (8 * i)));
}

void PutText(std::vector<Byte>& out, const String& s) {
  for (Char c : s) {
    out.push_back(static_cast<Byte>(c & 0xFF));
    out.push_back(static_cast<Byte>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
}

// The buffer VerQueryValue walks: "RYXV", total size, the fixed part, the
// translation, the string count, then per string u32 key length and u32
// value length (characters with NUL), key, value, padded to 4.
std::vector<Byte> BuildBuffer(const VersionRecord& r) {
  std::vector<Byte> out;
  PutU32(out, kBufferMagic);
  PutU32(out, 0);
  const auto* fixed = reinterpret_cast<const Byte*>(&r.Fixed);
  out.insert(out.end(), fixed, fixed + kFixedSize);
  PutU32(out, r.Translation);
  PutU32(out, static_cast<uint32_t>(r.Strings.size()));
  for (const auto& [k, v] : r.Strings) {
    PutU32(out, static_cast<uint32_t>(k.size() + 1));
    PutU32(out, static_cast<uint32_t>(v.size() + 1));
    PutText(out, k);
    PutText(out, v);
    while (out.size() % 4 != 0) out.push_back(0);
  }
  const uint32_t total = static_cast<uint32_t>(out.size());
  std::memcpy(out.data() + 4, &total, 4);
  return out;
}

bool LoadVersionBuffer(const String& fileName, std::vector<Byte>& buffer) {
  std::vector<Byte> item;
  DWORD error = 0;
  if (!ReadFileResource(fileName, RT_VERSION, MAKEINTRESOURCE(1), item, error)) {
    SetLastError(error);
    return false;
  }
  VersionRecord record;
  if (!ParseVersion(item.data(), item.size(), record)) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return false;
  }
  buffer = BuildBuffer(record);
  SetLastError(ERROR_SUCCESS);
  return true;
}

String HexWord(DWORD v) {
  static const char16_t* hex = u"0123456789ABCDEF";
  String s;
  for (int shift = 28; shift >= 0; shift -= 4) s.push_back(hex[(v >> shift) & 0xF]);
  return s;
}

}  // namespace

String MAKEINTRESOURCE(Word id) { return u"#" + Utf8ToString(std::to_string(id)); }

HRSRC FindResource(HMODULE module, const String& name, const String& type) {
  if (module != nullptr && module != HInstance()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const ProgramResources& program = Program();
  if (!program.Present) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  DWORD error = 0;
  const TResourceEntry* e = Find(program.Entries, name, type, error);
  SetLastError(e == nullptr ? error : ERROR_SUCCESS);
  return e;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (resource == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // An empty item still gets a valid, distinct handle.
  return resource->Size == 0 ? static_cast<const void*>(resource) : resource->Data;
}

const void* LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) { return resource == nullptr ? 0 : static_cast<DWORD>(resource->Size); }

String LoadStr(Integer ident) {
  if (ident < 0 || ident > 0xFFFF) return {};
  const HRSRC r = FindResource(nullptr, MAKEINTRESOURCE(static_cast<Word>(ident)), RT_STRING);
  if (r == nullptr) return {};
  return Utf8ToString(std::string_view(reinterpret_cast<const char*>(r->Data), r->Size));
}

Integer LoadString(HINSTANCE instance, UINT id, Char* buffer, Integer bufferMax) {
  if (buffer == nullptr || bufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  buffer[0] = 0;
  if (id > 0xFFFF) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  const HRSRC r = FindResource(instance, MAKEINTRESOURCE(static_cast<Word>(id)), RT_STRING);
  if (r == nullptr) return 0;
  const String text = Utf8ToString(std::string_view(reinterpret_cast<const char*>(r->Data), r->Size));
  const size_t n = std::min(text.size(), static_cast<size_t>(bufferMax - 1));
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer);
  buffer[n] = 0;
  return static_cast<Integer>(n);
}

DWORD GetFileVersionInfoSize(const String& fileName, DWORD* handle) {
  if (handle != nullptr) *handle = 0;
  std::vector<Byte> buffer;
  if (!LoadVersionBuffer(fileName, buffer)) return 0;
  return static_cast<DWORD>(buffer.size());
}

bool GetFileVersionInfo(const String& fileName, DWORD, DWORD len, void* data) {
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::vector<Byte> buffer;
  if (!LoadVersionBuffer(fileName, buffer)) return false;
  if (len < buffer.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  std::memcpy(data, buffer.data(), buffer.size());
  return true;
}

bool VerQueryValue(const void* block, const String& subBlock, const void** buffer, UINT* len) {
  if (block == nullptr || buffer == nullptr) return false;
  const auto* b = static_cast<const Byte*>(block);
  if (U32(b) != kBufferMagic) return false;
  const size_t total = U32(b + 4);
  const size_t head = 8 + kFixedSize + 8;
  if (total < head) return false;
  const String path = UpperCase(subBlock);
  auto answer = [&](const void* p, UINT n) {
    *buffer = p;
    if (len != nullptr) *len = n;
    return true;
  };
  if (path == u"\\") return answer(b + 8, static_cast<UINT>(kFixedSize));
  if (path == u"\\VARFILEINFO\\TRANSLATION") return answer(b + 8 + kFixedSize, 4);
  static const String kPrefix = u"\\STRINGFILEINFO\\";
  if (path.rfind(kPrefix, 0) != 0) return false;
  const String rest = path.substr(kPrefix.size());
  const auto slash = rest.find(u'\\');
  if (slash == String::npos) return false;
  const DWORD translation = U32(b + 8 + kFixedSize);
  const DWORD langFirst = ((translation & 0xFFFF) << 16) | (translation >> 16);  // "040904E4" order
  if (rest.substr(0, slash) != HexWord(langFirst)) return false;
  const String wanted = rest.substr(slash + 1);
  const uint32_t count = U32(b + 8 + kFixedSize + 4);
  size_t pos = head;
  for (uint32_t i = 0; i < count; ++i) {
    if (total - pos < 8) return false;
    const size_t keyChars = U32(b + pos), valueChars = U32(b + pos + 4);
    pos += 8;
    if (keyChars == 0 || valueChars == 0 || keyChars > (total - pos) / 2 ||
        valueChars > (total - pos - keyChars * 2) / 2)
      return false;
    String key;
    for (size_t c = 0; c + 1 < keyChars; ++c) key.push_back(static_cast<Char>(U16(b + pos + 2 * c)));
    const Byte* value = b + pos + keyChars * 2;
    if (UpperCase(key) == wanted) return answer(value, static_cast<UINT>(valueChars));
    pos += (keyChars + valueChars) * 2;
    pos = (pos + 3) & ~size_t{3};
    if (pos > total) return false;
  }
  return false;
}
