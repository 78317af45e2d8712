#include "programmer/FirmwareImage.h"

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

namespace {

// The byte at 0-based character `at`, or -1 when the pair is missing or not hex.
int PairAt(const std::string& s, std::size_t at) {
  if (at + 1 >= s.size()) return -1;
  const int hi = HexDigitValue(s[at]), lo = HexDigitValue(s[at + 1]);
  return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

std::vector<std::string> SplitLines(const std::string& text) {
  // As a string list reads text: a final line break does not start another line.
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    // CR LF is one break, and so is CR CR LF: a file whose line ends were
    // converted twice still has one record per line.
    std::size_t next = end;
    while (next < text.size() && text[next] == '\r') ++next;
    start = next < text.size() && text[next] == '\n' ? next + 1 : end + 1;
  }
  return lines;
}

String LineError(Integer line, const char* what) {
  return u"Intel HEX line " + IntToStr(line) + u": " + Utf8ToString(what);
}

}  // namespace

Integer ParseHexLine(const std::string& RawLine, THexRecord& Record) {
  Record = THexRecord{};
  // Blanks, tabs and a carriage return after the checksum are no part of the record.
  std::size_t length = RawLine.size();
  while (length > 0 && (RawLine[length - 1] == ' ' || RawLine[length - 1] == '\t' || RawLine[length - 1] == '\r')) --length;
  const std::string Line = RawLine.substr(0, length);
  if (Line.empty()) return HEX_LINE_MALFORMED;
  if (Line[0] != ':') return HEX_LINE_NO_COLON;
  const int count = PairAt(Line, 1), addrHi = PairAt(Line, 3), addrLo = PairAt(Line, 5), type = PairAt(Line, 7);
  if (count < 0 || addrHi < 0 || addrLo < 0 || type < 0) return HEX_LINE_MALFORMED;
  if (type > 5) return HEX_LINE_BAD_TYPE;
  // A record is exactly its fields: a count that disagrees with the line is a broken record.
  if (Line.size() != 11 + 2 * static_cast<std::size_t>(count)) return HEX_LINE_MALFORMED;
  unsigned sum = static_cast<unsigned>(count + addrHi + addrLo + type);
  for (int i = 0; i < count; ++i) {
    const int b = PairAt(Line, 9 + 2 * static_cast<std::size_t>(i));
    if (b < 0) return HEX_LINE_MALFORMED;
    sum += static_cast<unsigned>(b);
  }
  const int checksum = PairAt(Line, 9 + 2 * static_cast<std::size_t>(count));
  if (checksum < 0) return HEX_LINE_MALFORMED;
  Record.Count = static_cast<Byte>(count);
  Record.Address = static_cast<Word>(addrHi * 256 + addrLo);
  Record.Type = static_cast<Byte>(type);
  if ((sum + static_cast<unsigned>(checksum)) & 0xFF) return HEX_LINE_CHECKSUM;
  // The address records carry fixed sizes; another count cannot be placed.
  if ((type == 1 && count != 0) || ((type == 2 || type == 4) && count != 2) || ((type == 3 || type == 5) && count != 4)) {
    return HEX_LINE_MALFORMED;
  }
  if (type == 0) Record.DataDigits = Line.substr(9, 2 * static_cast<std::size_t>(count));
  return type == 1 ? HEX_LINE_END : HEX_LINE_DATA;
}

THexImage HexToImage(const std::string& Text) {
  THexImage result;
  const std::vector<std::string> lines = SplitLines(Text);
  std::string hex;  // grows with the highest address; gaps read "FF"
  std::size_t base = 0;
  Integer ends = 0;
  bool anyData = false;
  auto fail = [&](Integer line, const char* what) {
    result = THexImage{};
    result.Line = line;
    result.Error = line > 0 ? LineError(line, what) : Utf8ToString(what);
    return result;
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Integer lineNo = static_cast<Integer>(i + 1);
    THexRecord rec;
    switch (ParseHexLine(lines[i], rec)) {
      case HEX_LINE_NO_COLON: return fail(lineNo, "the record does not begin with ':'");
      case HEX_LINE_BAD_TYPE: return fail(lineNo, "unknown record type");
      case HEX_LINE_CHECKSUM: return fail(lineNo, "bad checksum");
      case HEX_LINE_MALFORMED: return fail(lineNo, "bad record length or a character that is not hexadecimal");
      case HEX_LINE_END: ++ends; continue;
      default: break;
    }
    const std::string& line = lines[i];
    switch (rec.Type) {
      case 0: {
        if (rec.Count == 0) break;
        const std::size_t at = base + rec.Address;
        const std::size_t end = at + rec.Count;
        if (end > kMaxFirmwareImageSize) return fail(lineNo, "address beyond the largest image");
        if (hex.size() < 2 * end) hex.resize(2 * end, 'F');
        hex.replace(2 * at, rec.DataDigits.size(), rec.DataDigits);
        anyData = true;
        break;
      }
      case 2: base = static_cast<std::size_t>(PairAt(line, 9) * 256 + PairAt(line, 11)) << 4; break;
      case 4: base = static_cast<std::size_t>(PairAt(line, 9) * 256 + PairAt(line, 11)) << 16; break;
      default: break;  // start addresses mean nothing to a page upload
    }
  }
  if (ends != 1) return fail(0, ends == 0 ? "Intel HEX: no end record" : "Intel HEX: more than one end record");
  if (!anyData) return fail(0, "Intel HEX: no data records");
  result.Ok = true;
  result.Hex = std::move(hex);
  return result;
}

std::string HexTextToBytes(const std::string& HexText) {
  std::string bytes;
  bytes.reserve(HexText.size() / 2);
  for (std::size_t i = 0; i < HexText.size(); i += 2) {
    const int b = PairAt(HexText, i);
    if (b < 0) {
      const std::string pair = HexText.substr(i, 2);
      throw EConvertError(u"'" + AnsiToString(pair) + u"' is not a valid hexadecimal byte");
    }
    bytes += static_cast<char>(b);
  }
  return bytes;
}

std::string DecodeTextBytes(const std::string& Bytes) {
  if (Bytes.size() >= 3 && Bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return Bytes.substr(3);
  if (Bytes.size() >= 2 && (Bytes.compare(0, 2, "\xFF\xFE") == 0 || Bytes.compare(0, 2, "\xFE\xFF") == 0)) {
    const bool little = Bytes[0] == '\xFF';
    std::string out;
    for (std::size_t i = 2; i + 1 < Bytes.size(); i += 2) {
      const unsigned a = static_cast<unsigned char>(Bytes[i]), b = static_cast<unsigned char>(Bytes[i + 1]);
      const unsigned ch = little ? a | (b << 8) : (a << 8) | b;
      out += ch > 0xFF ? '?' : static_cast<char>(ch);
    }
    return out;
  }
  return Bytes;
}
