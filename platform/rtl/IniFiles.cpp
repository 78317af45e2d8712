#include "platform/rtl/IniFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "platform/rtl/StrUtils.h"

// ---- The parsed file ----

namespace {

bool IsAscii(StringView s) {
  for (Char c : s)
    if (c >= 0x80) return false;
  return true;
}

bool SameName(StringView a, StringView b) {
  if (IsAscii(a) && IsAscii(b)) return SameText(a, b);
  return AnsiSameText(a, b);
}

// A value or name is one line: line breaks inside it would start new keys.
String OneLine(StringView s) {
  String r(s);
  for (Char& c : r)
    if (c == u'\r' || c == u'\n') c = u' ';
  return r;
}

struct TIniLine {
  String Raw;  // the line as it stands in the file
  String Key;
  String Value;
  bool IsKey = false;
};

struct TIniSection {
  String Name;
  String Header;
  bool HasHeader = false;  // false only for the lines before the first section
  std::vector<TIniLine> Lines;
};

TIniLine ParseLine(const String& raw) {
  TIniLine line{raw, {}, {}, false};
  const String trimmed = Trim(raw);
  if (trimmed.empty() || trimmed[0] == u';') return line;
  const auto eq = trimmed.find(u'=');
  if (eq == String::npos) return line;
  line.Key = Trim(StringView(trimmed).substr(0, eq));
  line.Value = Trim(StringView(trimmed).substr(eq + 1));
  line.IsKey = !line.Key.empty();
  return line;
}

bool ParseHeader(const String& raw, String& name) {
  const String trimmed = Trim(raw);
  if (trimmed.empty() || trimmed[0] != u'[') return false;
  const auto close = trimmed.find(u']');
  if (close == String::npos) return false;
  name = Trim(StringView(trimmed).substr(1, close - 1));
  return true;
}

}  // namespace

class TIniImage {
 public:
  TIniImage() { FSections.push_back(TIniSection{}); }

  void Parse(TStrings& lines) {
    FSections.clear();
    FSections.push_back(TIniSection{});
    for (Integer i = 0; i < lines.Count(); ++i) {
      const String raw = lines.Strings(i);
      String name;
      if (ParseHeader(raw, name)) FSections.push_back(TIniSection{name, raw, true, {}});
      else FSections.back().Lines.push_back(ParseLine(raw));
    }
  }

  void Emit(TStrings& out) const {
    out.BeginUpdate();
    out.Clear();
    for (const auto& section : FSections) {
      if (section.HasHeader) out.Add(section.Header);
      for (const auto& line : section.Lines) out.Add(line.Raw);
    }
    out.EndUpdate();
  }

  const TIniLine* Find(StringView section, StringView key) const {
    return const_cast<TIniImage*>(this)->FindLine(section, key);
  }

  bool HasSection(StringView section) const {
    for (const auto& s : FSections)
      if (s.HasHeader && SameName(s.Name, section)) return true;
    return false;
  }

  void Write(StringView section, StringView key, StringView value) {
    const String v = OneLine(value);
    if (TIniLine* line = FindLine(section, key)) {
      line->Value = Trim(v);
      line->Raw = line->Key + u"=" + v;
      return;
    }
    const String k = Trim(OneLine(key));
    TIniLine added{k + u"=" + v, k, Trim(v), !k.empty()};
    for (auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      // After the section's last non-blank line, so blank separators stay last.
      std::size_t at = s.Lines.size();
      while (at > 0 && Trim(s.Lines[at - 1].Raw).empty()) --at;
      s.Lines.insert(s.Lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
      return;
    }
    // A blank line between the file's last text and the new section.
    auto& last = FSections.back();
    const bool endsWithText = last.Lines.empty() ? last.HasHeader : !Trim(last.Lines.back().Raw).empty();
    if (endsWithText) last.Lines.push_back(TIniLine{});
    const String name = Trim(OneLine(section));
    FSections.push_back(TIniSection{name, u"[" + name + u"]", true, {std::move(added)}});
  }

  void DeleteKey(StringView section, StringView key) {
    for (auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      std::erase_if(s.Lines, [&](const TIniLine& line) { return line.IsKey && SameName(line.Key, key); });
    }
  }

  void EraseSection(StringView section) {
    std::erase_if(FSections, [&](const TIniSection& s) { return s.HasHeader && SameName(s.Name, section); });
  }

  // Key names of the section, each once, in file order.
  std::vector<const TIniLine*> Keys(StringView section) const {
    std::vector<const TIniLine*> keys;
    for (const auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      for (const auto& line : s.Lines) {
        if (!line.IsKey) continue;
        bool seen = false;
        for (const auto* k : keys) seen = seen || SameName(k->Key, line.Key);
        if (!seen) keys.push_back(&line);
      }
    }
    return keys;
  }

  void ReadSection(StringView section, TStrings* strings) const {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    for (const auto* line : Keys(section)) strings->Add(line->Key);
    strings->EndUpdate();
  }

  void ReadSectionValues(StringView section, TStrings* strings) const {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    for (const auto* line : Keys(section)) strings->Add(line->Key + u"=" + line->Value);
    strings->EndUpdate();
  }

  void ReadSections(TStrings* strings) const {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    std::vector<const String*> names;
    for (const auto& s : FSections) {
      if (!s.HasHeader) continue;
      bool seen = false;
      for (const auto* n : names) seen = seen || SameName(*n, s.Name);
      if (!seen) {
        names.push_back(&s.Name);
        strings->Add(s.Name);
      }
    }
    strings->EndUpdate();
  }

 private:
  TIniLine* FindLine(StringView section, StringView key) {
    for (auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      for (auto& line : s.Lines)
        if (line.IsKey && SameName(line.Key, key)) return &line;
    }
    return nullptr;
  }

  std::vector<TIniSection> FSections;
};

// ---- Files ----

namespace {

[[noreturn]] void WriteFailed(const String& fileName) {
  throw EIniFileException(u"Unable to write to " + fileName);
}

std::string RandomSuffix() {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  std::mt19937 gen(seed ^ (counter.fetch_add(1) * 2654435761u) ^ static_cast<unsigned>(::getpid()));
  static const char digits[] = "0123456789abcdef";
  std::string s(8, '0');
  for (char& c : s) c = digits[gen() % 16];
  return s;
}

bool WriteAll(int fd, const TBytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The new text goes into a temporary file beside the target, reaches the disk,
// and only then replaces the target by rename, which the file system does in
// one step: a reader or a crash sees the old file or the new one, never half.
void WriteFileAtomically(const String& fileName, const TBytes& bytes) {
  std::string target = StringToUtf8(fileName);
  if (target.empty()) WriteFailed(fileName);
  struct stat st {};
  // Replace what a symbolic link points at, not the link.
  if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(target.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) WriteFailed(fileName);

  const auto slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  // Kept short so that the temporary name stays within the name-length limit.
  const std::string prefix = folder + "/." + base.substr(0, 200) + ".";

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = prefix + RandomSuffix() + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) WriteFailed(fileName);

  bool ok = WriteAll(fd, bytes);
  if (ok && exists) (void)::fchmod(fd, st.st_mode & 07777);  // keep the old file's permissions
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    WriteFailed(fileName);
  }
  // Make the rename itself durable; failing here leaves a complete file either way.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
}

bool FileMissing(const String& fileName) {
  struct stat st {};
  return ::stat(StringToUtf8(fileName).c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

// Reads the file into an image; a missing file is empty. Answers the encoding found.
TEncoding* LoadImage(const String& fileName, TEncoding* encoding, TIniImage& image) {
  TStringList lines;
  if (!fileName.empty() && !FileMissing(fileName)) {
    lines.LoadFromFile(fileName, encoding);
    encoding = lines.Encoding();
  }
  image.Parse(lines);
  return encoding;
}

void SaveImage(const String& fileName, TEncoding* encoding, const TIniImage& image) {
  TStringList lines;
  image.Emit(lines);
  TBytesStream bytes;
  lines.SaveToStream(&bytes, encoding != nullptr ? encoding : TEncoding::UTF8NoBOM());
  WriteFileAtomically(fileName, bytes.Bytes());
}

// ---- Conversions ----
// Stand-ins until StrToIntDef, StrToFloat, FloatToStr and the date conversions
// land in StrUtils/DateTime; same syntax as those with the fixed "C"-like settings.

Integer IniStrToIntDef(StringView s, Integer defaultValue) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  unsigned base = 10;
  if (i < s.size() && s[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return defaultValue;
  std::uint64_t value = 0;
  for (; i < s.size(); ++i) {
    const Char c = s[i];
    unsigned digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return defaultValue;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return defaultValue;
  }
  if (base == 16) {
    const auto v = static_cast<Integer>(static_cast<std::uint32_t>(value));
    return negative ? static_cast<Integer>(0u - static_cast<std::uint32_t>(v)) : v;
  }
  if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return defaultValue;
  return negative ? static_cast<Integer>(-static_cast<Int64>(value)) : static_cast<Integer>(value);
}

bool IniTryStrToFloat(StringView s, double& value) {
  const String t = Trim(s);
  std::string ascii;
  for (Char c : t) {
    if (c >= 0x80) return false;
    ascii.push_back(static_cast<char>(c));
  }
  // Blanks, sign, digits, '.', digits, exponent; nothing else.
  std::size_t i = 0;
  if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
  const std::size_t mantissa = i;
  bool digits = false;
  while (i < ascii.size() && std::isdigit(static_cast<unsigned char>(ascii[i]))) { ++i; digits = true; }
  if (i < ascii.size() && ascii[i] == '.') {
    ++i;
    while (i < ascii.size() && std::isdigit(static_cast<unsigned char>(ascii[i]))) { ++i; digits = true; }
  }
  if (!digits) return false;
  if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
    ++i;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
    bool expDigits = false;
    while (i < ascii.size() && std::isdigit(static_cast<unsigned char>(ascii[i]))) { ++i; expDigits = true; }
    if (!expDigits) return false;
  }
  if (i != ascii.size()) return false;
  const char* first = ascii.data() + mantissa;
  double parsed = 0;
  const auto r = std::from_chars(first, ascii.data() + ascii.size(), parsed);
  if (r.ec != std::errc() || !std::isfinite(parsed)) return false;
  value = ascii[0] == '-' ? -parsed : parsed;
  return true;
}

String IniFloatToStr(double value) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string s(buffer, r.ptr);
  // "1.5e+20" -> "1.5E20", "1e-07" -> "1E-7".
  if (const auto e = s.find('e'); e != std::string::npos) {
    std::string exponent = s.substr(e + 1);
    const bool minus = exponent[0] == '-';
    exponent.erase(0, exponent.find_first_not_of("+-0"));
    s = s.substr(0, e) + "E" + (minus ? "-" : "") + (exponent.empty() ? "0" : exponent);
  }
  if (s == "-0") s = "0";
  return AnsiToString(s);
}

constexpr Int64 kDaysTo18991230 = 693593;  // days from 0001-01-01 to 1899-12-30
constexpr Int64 kMsPerDay = 86400000;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

bool EncodeDay(int y, int m, int d, Int64& serial) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  Int64 days = 0;
  const int py = y - 1;
  days = static_cast<Int64>(py) * 365 + py / 4 - py / 100 + py / 400;
  for (int k = 1; k < m; ++k) days += DaysInMonth(y, k);
  days += d - 1;
  serial = days - kDaysTo18991230;
  return true;
}

void DecodeDay(Int64 serial, int& y, int& m, int& d) {
  Int64 days = serial + kDaysTo18991230;
  y = 1;
  // 400-year cycles first, then years: bounded loops.
  y += static_cast<int>(days / 146097) * 400;
  days %= 146097;
  while (days >= (IsLeap(y) ? 366 : 365)) days -= IsLeap(y++) ? 366 : 365;
  m = 1;
  while (days >= DaysInMonth(y, m)) days -= DaysInMonth(y, m++);
  d = static_cast<int>(days) + 1;
}

// Whole numbers separated by Separator: 1..max parts, each 1..4 digits.
bool SplitNumbers(StringView s, Char separator, std::vector<int>& parts) {
  parts.clear();
  std::size_t i = 0;
  while (true) {
    int value = 0;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9' && digits < 5) value = value * 10 + (s[i++] - u'0'), ++digits;
    if (digits == 0 || digits > 4) return false;
    parts.push_back(value);
    if (i == s.size()) return true;
    if (s[i] != separator) return false;
    ++i;
  }
}

bool ParseDate(StringView s, double& result) {
  std::vector<int> p;
  if (!SplitNumbers(Trim(s), u'/', p) || p.size() != 3) return false;
  int year = p[2];
  if (year < 100 && Trim(s).size() - Trim(s).rfind(u'/') - 1 <= 2) year += year < 50 ? 2000 : 1900;
  Int64 serial;
  if (!EncodeDay(year, p[0], p[1], serial)) return false;
  result = static_cast<double>(serial);
  return true;
}

bool ParseTime(StringView s, double& result) {
  std::vector<int> p;
  const String t = Trim(s);
  if (!SplitNumbers(t, u':', p) || p.size() < 2 || p.size() > 3) return false;
  const int h = p[0], n = p[1], sec = p.size() > 2 ? p[2] : 0;
  if (h > 23 || n > 59 || sec > 59) return false;
  result = (h * 3600000.0 + n * 60000.0 + sec * 1000.0) / kMsPerDay;
  return true;
}

bool ParseDateTime(StringView s, double& result) {
  const String t = Trim(s);
  const auto blank = t.find(u' ');
  double date = 0, time = 0;
  if (blank == String::npos) {
    if (ParseDate(t, date)) { result = date; return true; }
    if (ParseTime(t, time)) { result = time; return true; }
    return false;
  }
  if (!ParseDate(StringView(t).substr(0, blank), date) || !ParseTime(StringView(t).substr(blank + 1), time)) return false;
  result = date < 0 ? date - time : date + time;
  return true;
}

void SplitDateTime(double value, Int64& day, Int64& ms) {
  day = static_cast<Int64>(std::trunc(value));
  ms = std::llround(std::fabs(value - static_cast<double>(day)) * kMsPerDay);
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    day += value < 0 ? -1 : 1;
  }
}

String Two(int v) { return AnsiToString(std::string{static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)}); }

String DateText(double value) {
  Int64 day, ms;
  SplitDateTime(value, day, ms);
  int y, m, d;
  DecodeDay(day, y, m, d);
  String year = IntToStr(y);
  while (year.size() < 4) year.insert(0, 1, u'0');
  return Two(m) + u"/" + Two(d) + u"/" + year;
}

String TimeText(double value) {
  Int64 day, ms;
  SplitDateTime(value, day, ms);
  const Int64 secs = ms / 1000;
  return Two(static_cast<int>(secs / 3600)) + u":" + Two(static_cast<int>(secs / 60 % 60)) + u":" + Two(static_cast<int>(secs % 60));
}

bool DateInRange(double value) {
  // 0001-01-01 .. 9999-12-31.
  return std::isfinite(value) && value >= -693593.0 && value < 2958466.0;
}

}  // namespace

// ---- TCustomIniFile ----

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  return IniStrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
  double value = Default;
  return IniTryStrToFloat(ReadString(Section, Ident, String()), value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
  WriteString(Section, Ident, IniFloatToStr(Value));
}

TDateTime TCustomIniFile::ReadDateTime(const String& Section, const String& Ident, TDateTime Default) {
  double value;
  return ParseDateTime(ReadString(Section, Ident, String()), value) ? value : Default;
}

TDateTime TCustomIniFile::ReadDate(const String& Section, const String& Ident, TDateTime Default) {
  double value;
  return ParseDate(ReadString(Section, Ident, String()), value) ? value : Default;
}

TDateTime TCustomIniFile::ReadTime(const String& Section, const String& Ident, TDateTime Default) {
  double value;
  return ParseTime(ReadString(Section, Ident, String()), value) ? value : Default;
}

void TCustomIniFile::WriteDateTime(const String& Section, const String& Ident, TDateTime Value) {
  if (!DateInRange(Value)) throw EConvertError(u"Invalid argument to date encode");
  Int64 day, ms;
  SplitDateTime(Value, day, ms);
  WriteString(Section, Ident, ms == 0 ? DateText(Value) : DateText(Value) + u" " + TimeText(Value));
}

void TCustomIniFile::WriteDate(const String& Section, const String& Ident, TDateTime Value) {
  if (!DateInRange(Value)) throw EConvertError(u"Invalid argument to date encode");
  WriteString(Section, Ident, DateText(Value));
}

void TCustomIniFile::WriteTime(const String& Section, const String& Ident, TDateTime Value) {
  if (!DateInRange(Value)) throw EConvertError(u"Invalid argument to time encode");
  WriteString(Section, Ident, TimeText(Value));
}

// ---- TIniFile ----

TIniFile::TIniFile(const String& FileName) : TCustomIniFile(FileName) {}
TIniFile::~TIniFile() = default;

std::unique_ptr<TIniImage> TIniFile::Load() const {
  auto image = std::make_unique<TIniImage>();
  LoadImage(FFileName, nullptr, *image);
  return image;
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  const auto image = Load();
  const TIniLine* line = image->Find(Section, Ident);
  return line != nullptr ? line->Value : Default;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TIniImage image;
  TEncoding* encoding = LoadImage(FFileName, nullptr, image);
  image.Write(Section, Ident, Value);
  SaveImage(FFileName, encoding, image);
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) { Load()->ReadSection(Section, Strings); }
void TIniFile::ReadSections(TStrings* Strings) { Load()->ReadSections(Strings); }
void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) { Load()->ReadSectionValues(Section, Strings); }
bool TIniFile::SectionExists(const String& Section) { return Load()->HasSection(Section); }

void TIniFile::EraseSection(const String& Section) {
  TIniImage image;
  TEncoding* encoding = LoadImage(FFileName, nullptr, image);
  if (!image.HasSection(Section)) return;
  image.EraseSection(Section);
  SaveImage(FFileName, encoding, image);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  TIniImage image;
  TEncoding* encoding = LoadImage(FFileName, nullptr, image);
  if (image.Find(Section, Ident) == nullptr) return;
  image.DeleteKey(Section, Ident);
  SaveImage(FFileName, encoding, image);
}

void TIniFile::UpdateFile() {}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(const String& FileName, TEncoding* Encoding)
    : TCustomIniFile(FileName), FImage(std::make_unique<TIniImage>()), FEncoding(Encoding) {
  LoadValues();
}

TMemIniFile::~TMemIniFile() {
  if (FAutoSave && FModified) {
    try {
      UpdateFile();
    } catch (...) {
      // Nothing may leave a destructor; callers that must know call UpdateFile first.
    }
  }
}

void TMemIniFile::LoadValues() {
  auto image = std::make_unique<TIniImage>();
  FEncoding = LoadImage(FFileName, FEncoding, *image);
  FImage = std::move(image);
  FModified = false;
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  const TIniLine* line = FImage->Find(Section, Ident);
  return line != nullptr ? line->Value : Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  FImage->Write(Section, Ident, Value);
  FModified = true;
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) { FImage->ReadSection(Section, Strings); }
void TMemIniFile::ReadSections(TStrings* Strings) { FImage->ReadSections(Strings); }
void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) { FImage->ReadSectionValues(Section, Strings); }
bool TMemIniFile::SectionExists(const String& Section) { return FImage->HasSection(Section); }

void TMemIniFile::EraseSection(const String& Section) {
  if (!FImage->HasSection(Section)) return;
  FImage->EraseSection(Section);
  FModified = true;
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  if (FImage->Find(Section, Ident) == nullptr) return;
  FImage->DeleteKey(Section, Ident);
  FModified = true;
}

void TMemIniFile::UpdateFile() {
  SaveImage(FFileName, FEncoding, *FImage);
  FModified = false;
}

void TMemIniFile::Clear() {
  FImage = std::make_unique<TIniImage>();
  FModified = true;
}

void TMemIniFile::GetStrings(TStrings* List) {
  if (List != nullptr) FImage->Emit(*List);
}

void TMemIniFile::SetStrings(TStrings* List) {
  auto image = std::make_unique<TIniImage>();
  if (List != nullptr) image->Parse(*List);
  FImage = std::move(image);
  FModified = true;
}

void TMemIniFile::Rename(const String& FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues();
}
