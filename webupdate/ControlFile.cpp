#include "webupdate/ControlFile.h"

#include <fstream>
#include <vector>

#include "platform/rtl/Encoding.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"

namespace {

constexpr int kMaxExpansions = 64;
constexpr std::size_t kMaxExpandedLength = 32768;

}  // namespace

TControlFile::TControlFile() : FIni(std::make_unique<TMemIniFile>(String())) {}

TControlFile::TControlFile(const String& FileName) : TControlFile() {
  std::ifstream in(StringToUtf8(FileName), std::ios::binary);
  if (!in) return;
  std::vector<std::uint8_t> bytes;
  char block[4096];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    if (static_cast<Int64>(bytes.size()) + in.gcount() > kMaxControlFileSize) return;  // read as empty
    bytes.insert(bytes.end(), block, block + in.gcount());
  }
  Load(bytes.data(), bytes.size());
}

std::unique_ptr<TControlFile> TControlFile::FromBytes(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<TControlFile> file(new TControlFile());
  if (static_cast<Int64>(size) <= kMaxControlFileSize) file->Load(data, size);
  return file;
}

void TControlFile::Load(const std::uint8_t* data, std::size_t size) {
  // UTF-8 first (a byte-order mark is skipped); bytes that are no UTF-8 are
  // the default code page's.
  std::size_t skip = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 3 : 0;
  TEncoding* encoding = TEncoding::IsValidUtf8(data + skip, size - skip) ? TEncoding::UTF8() : TEncoding::Default();
  String text = encoding->GetString(data + skip, size - skip);
  TStringList lines;
  lines.SetText(text);
  FIni->SetStrings(&lines);
}

String TControlFile::ReadString(const String& Section, const String& Key, const String& Default) const {
  return FIni->ReadString(Section, Key, Default);
}

bool TryParseControlInteger(const String& Text, Int64& Value) {
  StringView s = Text;
  bool negative = false;
  if (!s.empty() && (s[0] == u'-' || s[0] == u'+')) {
    negative = s[0] == u'-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s[0] == u'$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty() || s.size() > 20) return false;
  unsigned long long v = 0;
  for (Char c : s) {
    int digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return false;
    if (v > (~0ull - static_cast<unsigned>(digit)) / static_cast<unsigned>(base)) return false;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  // Hexadecimal spans the full 64 bits (as "$FFFFFFFF" is -1 in 32); decimal must fit.
  if (base == 10 && v > 0x7FFFFFFFFFFFFFFFull) return false;
  Int64 result = static_cast<Int64>(v);
  Value = negative ? -result : result;
  return true;
}

Int64 TControlFile::ReadInt64(const String& Section, const String& Key, Int64 Default) const {
  Int64 value = 0;
  return TryParseControlInteger(Trim(ReadString(Section, Key)), value) ? value : Default;
}

Integer TControlFile::ReadInteger(const String& Section, const String& Key, Integer Default) const {
  Int64 value = 0;
  if (!TryParseControlInteger(Trim(ReadString(Section, Key)), value)) return Default;
  // 32-bit values: hexadecimal wraps as the original readers did ($FFFFFFFF is -1).
  if (value > 0xFFFFFFFFll || value < -0x80000000ll) return Default;
  return static_cast<Integer>(static_cast<std::uint32_t>(value));
}

String TControlFile::ReadLines(const String& Section, const String& Key) const {
  return StringReplace(ReadString(Section, Key), u"\\n", u"\r", rfReplaceAll);
}

String ExpandPlaceholders(const String& Path, const std::function<String(const String& Name)>& Convert) {
  String s = Path;
  std::size_t pos = 0;
  int expansions = 0;
  while (pos < s.size() && expansions < kMaxExpansions) {
    std::size_t open = s.find(u'{', pos);
    if (open == String::npos) break;
    std::size_t close = s.find(u'}', open + 1);
    if (close == String::npos) break;
    String value = Convert(UpperCase(StringView(s).substr(open + 1, close - open - 1)));
    if (value.empty()) {
      pos = close + 1;
      continue;
    }
    if (s.size() - (close + 1 - open) + value.size() > kMaxExpandedLength) break;
    s.replace(open, close + 1 - open, value);
    pos = open;  // the inserted text is scanned again
    ++expansions;
  }
  return s;
}
