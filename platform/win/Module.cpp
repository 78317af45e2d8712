#include "platform/win/Module.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

char gModuleTag;  // its address is the program's module handle

std::vector<std::string> CommandLineArgs() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  std::string current;
  for (char c : all) {
    if (c == '\0') {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) args.push_back(current);
  return args;
}

}  // namespace

HINSTANCE HInstance() { return &gModuleTag; }

String GetModuleFileName(HMODULE module) {
  if (module != nullptr && module != HInstance()) return {};
  std::vector<char> buffer(4096);
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return {};
  return Utf8ToString(std::string_view(buffer.data(), static_cast<size_t>(n)));
}

Integer ParamCount() {
  const auto args = CommandLineArgs();
  return args.empty() ? 0 : static_cast<Integer>(args.size() - 1);
}

String ParamStr(Integer index) {
  if (index == 0) return GetModuleFileName();
  const auto args = CommandLineArgs();
  if (index < 0 || static_cast<size_t>(index) >= args.size()) return {};
  return Utf8ToString(args[static_cast<size_t>(index)]);
}
