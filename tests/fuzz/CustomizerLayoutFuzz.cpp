// Fuzz target: customizer layout sections. Any text reads to a bounded,
// validated layout; that layout written out reads back equal, and writing it
// again over its own output gives the very same text.
#include <cstddef>
#include <cstdint>

#include "platform/rtl/IniFiles.h"
#include "toolbar/CustomizerLayoutFile.h"

namespace {

String TextOf(TMemIniFile& Ini) {
  TStringList l;
  Ini.GetStrings(&l);
  return l.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  String text;
  text.reserve(size);
  for (std::size_t i = 0; i < size; ++i) text.push_back(static_cast<char16_t>(data[i]));
  TMemIniFile in(u"/nonexistent/in.ini");
  TStringList lines;
  lines.SetText(text);
  in.SetStrings(&lines);
  const toolbar::TLayoutSection L = toolbar::ReadLayoutSection(in, u"C");
  if (L.Items.size() > static_cast<std::size_t>(toolbar::MaxLayoutItems)) __builtin_trap();

  TMemIniFile out(u"/nonexistent/out.ini");
  toolbar::WriteLayoutSection(out, u"C", L);
  toolbar::TLayoutSection back = toolbar::ReadLayoutSection(out, u"C");
  toolbar::TLayoutSection expect = L;
  expect.Count = static_cast<Integer>(L.Items.size());
  if (!(back == expect)) __builtin_trap();
  const String once = TextOf(out);
  toolbar::WriteLayoutSection(out, u"C", back);
  if (TextOf(out) != once) __builtin_trap();
  return 0;
}
