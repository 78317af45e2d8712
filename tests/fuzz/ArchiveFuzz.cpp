// Fuzz target: the cabinet, ZIP and SZDD readers (through libmspack and
// libzip) and the restart helper's command-line reader must survive any
// bytes: no crash, bounded memory, and nothing written outside a fresh
// temporary target folder (checked: the folder beside it stays empty).
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/archive/Archive.h"
#include "platform/win/Shell.h"
#include "webupdate/restart_helper/RestartHelper.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path root = [] {
    std::string pattern = (fs::temp_directory_path() / "ryx_fuzz_archive_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return fs::path(pattern);
  }();
  const fs::path input = root / "input", target = root / "target", beside = root / "beside";
  fs::remove_all(target);
  fs::create_directories(target);
  fs::create_directories(beside);
  fs::remove(target / "link");
  fs::create_directory_symlink(beside, target / "link");  // a way out that must never be taken
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const String in = Utf8ToString(input.string()), out = Utf8ToString(target.string());
  String error;
  ArchiveExtractCabinet(in, out, error);
  ArchiveExtractZip(in, out, error);
  char stored = 0;
  ArchiveExpandSzdd(in, Utf8ToString((target / "expanded").string()), stored);
  if (!fs::is_empty(beside)) std::abort();

  TRestartRequest request;
  if (ParseRestartArguments(CommandLineToArgs(Utf8ToString(std::string(reinterpret_cast<const char*>(data), size))),
                            request, error)) {
    for (const String& c : request.Components)
      if (c.find(u'/') != String::npos || c == u"..") std::abort();
  }
  return 0;
}
