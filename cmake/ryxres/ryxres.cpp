// Packs a program's resources into the blob that ryx_add_resources places in
// the executable's "ryxres" section. Layout (little-endian):
//   "RYXRES\0\1", u32 count, u32 0,
//   per entry: u32 typeLen, u32 nameLen, u32 dataLen, u32 0, type, name,
//              pad to 4, data, pad to 4 (offsets from the blob's start).
// Types and names are UTF-8; "#n" stands for the number n (RCDATA is "#10",
// a string is "#6" named "#<id>", the version record is "#16" named "#1").
// The version record: 13 u32 of the fixed file information, u32 translation,
// u32 count, then count pairs of (u32 length, UTF-8 key, u32 length, UTF-8 value).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
  std::string Type, Name, Data;
};

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Pad(std::string& out) {
  while (out.size() % 4 != 0) out.push_back('\0');
}

[[noreturn]] void Die(const std::string& message) {
  std::cerr << "ryxres: " << message << "\n";
  std::exit(1);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Die("cannot read " + path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool ParseVersion(const std::string& text, uint32_t& ms, uint32_t& ls) {
  uint32_t p[4] = {0, 0, 0, 0};
  int n = 0;
  std::string cur;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '.') {
      if (cur.empty() || n >= 4 || cur.size() > 5) return false;
      const unsigned long v = std::stoul(cur);
      if (v > 0xFFFF) return false;
      p[n++] = static_cast<uint32_t>(v);
      cur.clear();
    } else if (text[i] >= '0' && text[i] <= '9') {
      cur.push_back(text[i]);
    } else {
      return false;
    }
  }
  if (n != 4) return false;
  ms = (p[0] << 16) | p[1];
  ls = (p[2] << 16) | p[3];
  return true;
}

// "id=text" lines; "\n", "\t" and "\\" are escapes; blank lines and lines
// starting with "#" are skipped.
void ReadStrings(const std::string& path, std::vector<Entry>& entries) {
  std::istringstream in(ReadFile(path));
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos || eq == 0) Die(path + ":" + std::to_string(lineNo) + ": expected id=text");
    const std::string id = line.substr(0, eq);
    for (char c : id) {
      if (c < '0' || c > '9') Die(path + ":" + std::to_string(lineNo) + ": the id must be a number");
    }
    std::string text;
    for (size_t i = eq + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        const char e = line[++i];
        text.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e);
      } else {
        text.push_back(line[i]);
      }
    }
    entries.push_back({"#6", "#" + std::to_string(std::stoul(id)), text});
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) Die("usage: ryxres OUT [--file NAME PATH] [--strings FILE] [--version A.B.C.D] "
                    "[--product-version A.B.C.D] [--version-string KEY=VALUE]");
  const std::string out = argv[1];
  std::vector<Entry> entries;
  std::string version, productVersion;
  std::vector<std::pair<std::string, std::string>> strings;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) Die("missing value after " + a);
      return argv[++i];
    };
    if (a == "--file") {
      const std::string name = next();
      const std::string path = next();
      if (name.empty()) Die("empty resource name");
      entries.push_back({"#10", name, ReadFile(path)});
    } else if (a == "--strings") {
      ReadStrings(next(), entries);
    } else if (a == "--version") {
      version = next();
    } else if (a == "--product-version") {
      productVersion = next();
    } else if (a == "--version-string") {
      const std::string kv = next();
      const auto eq = kv.find('=');
      if (eq == std::string::npos || eq == 0) Die("expected KEY=VALUE: " + kv);
      strings.emplace_back(kv.substr(0, eq), kv.substr(eq + 1));
    } else {
      Die("unknown argument " + a);
    }
  }
  if (!version.empty()) {
    if (productVersion.empty()) productVersion = version;
    uint32_t fms, fls, pms, pls;
    if (!ParseVersion(version, fms, fls)) Die("bad version " + version);
    if (!ParseVersion(productVersion, pms, pls)) Die("bad product version " + productVersion);
    std::map<std::string, bool> given;
    for (auto& kv : strings) given[kv.first] = true;
    if (!given["FileVersion"]) strings.emplace_back("FileVersion", version);
    if (!given["ProductVersion"]) strings.emplace_back("ProductVersion", productVersion);
    std::string rec;
    const uint32_t fixed[13] = {0xFEEF04BD, 0x00010000, fms, fls, pms, pls, 0x3F, 0, 0x00040004, 1, 0, 0, 0};
    for (uint32_t v : fixed) PutU32(rec, v);
    PutU32(rec, 0x04E40409);  // US English, Windows Latin-1
    PutU32(rec, static_cast<uint32_t>(strings.size()));
    for (auto& [k, v] : strings) {
      PutU32(rec, static_cast<uint32_t>(k.size()));
      rec += k;
      PutU32(rec, static_cast<uint32_t>(v.size()));
      rec += v;
    }
    entries.push_back({"#16", "#1", rec});
  }
  std::string blob("RYXRES\0\1", 8);
  PutU32(blob, static_cast<uint32_t>(entries.size()));
  PutU32(blob, 0);
  for (auto& e : entries) {
    PutU32(blob, static_cast<uint32_t>(e.Type.size()));
    PutU32(blob, static_cast<uint32_t>(e.Name.size()));
    PutU32(blob, static_cast<uint32_t>(e.Data.size()));
    PutU32(blob, 0);
    blob += e.Type;
    blob += e.Name;
    Pad(blob);
    blob += e.Data;
    Pad(blob);
  }
  const std::string tmp = out + ".tmp";
  {
    std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
    o.write(blob.data(), static_cast<std::streamsize>(blob.size()));
    if (!o) Die("cannot write " + tmp);
  }
  if (std::rename(tmp.c_str(), out.c_str()) != 0) Die("cannot write " + out);
  return 0;
}
