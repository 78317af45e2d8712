#pragma once
// Small helpers shared by the test suites (header only).
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

namespace test_support {

// "EClass: message" of the exception fn raises, or "no exception".
template <class Fn>
String MessageOf(Fn fn) {
  try {
    fn();
  } catch (const Exception& e) {
    return e.ClassName() + u": " + e.Message();
  }
  return u"no exception";
}

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes bytes to path, making the folders on the way first.
inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Text as UTF-8, for comparing the layer's strings in test expectations.
inline std::string U8(const String& s) { return StringToUtf8(s); }

// Writes text and a line break to path (as the kernel shows an attribute),
// making the folders on the way first.
inline void WriteLineFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << text << "\n";
}

// The lines of any string list (TStrings or a subclass).
template <class List>
std::vector<String> Lines(const List& list) {
  std::vector<String> out;
  for (Integer i = 0; i < list.Count(); ++i) out.push_back(list.Strings(i));
  return out;
}

// A fresh folder under the temporary folder, removed with everything in it.
class TTempDir {
 public:
  // A new folder in parent (the system's temporary folder when empty).
  explicit TTempDir(const std::string& prefix = "ryx_test", const std::string& parent = {}) {
    std::string pattern =
        ((parent.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(parent)) / (prefix + "_XXXXXX"))
            .string();
    if (::mkdtemp(pattern.data()) != nullptr) FPath = pattern;
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path Path(const std::string& name) const { return FPath / name; }
  // The path of a file inside, as the layer's String.
  String File(const std::string& name) const { return Utf8ToString((FPath / name).string()); }

 private:
  std::filesystem::path FPath;
};

}  // namespace test_support
