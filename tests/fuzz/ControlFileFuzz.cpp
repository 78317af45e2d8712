// Fuzz target: the control-file reader and placeholder expansion must survive
// any bytes, in bounded time and memory.
#include <cstddef>
#include <cstdint>

#include "webupdate/ControlFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto file = TControlFile::FromBytes(data, size);
  static const Char* const sections[] = {u"update", u"application", u"action", u"files", u"file1", u"whatsnew"};
  static const Char* const keys[] = {u"signature", u"date", u"newsize", u"newchecksum", u"appname", u"count",
                                     u"url",       u"descr", u"targetdir"};
  auto convert = [](const String& name) -> String {
    if (name == u"APP") return u"/opt/app/.";
    if (name == u"SELF") return u"{SELF}{SELF}";  // grows on every pass: must stay bounded
    return {};
  };
  for (const Char* s : sections) {
    for (const Char* k : keys) {
      String value = file->ReadString(s, k);
      (void)file->ReadInteger(s, k, -1);
      (void)file->ReadInt64(s, k, 0);
      (void)file->ReadLines(s, k);
      (void)ExpandPlaceholders(value, convert);
    }
  }
  return 0;
}
