// Fuzz target: toolbar style files. Any input either loads or is refused with
// "Corrupt file" and leaves the styler as it was; a file that loads saves to
// bytes that load again to the very same bytes. Nothing may crash, leak or
// run without bound.
#include <cstdint>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/testing/GuiTestApp.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    EnsureGuiApplication();
    return true;
  }();
  (void)ready;
  const std::string input(reinterpret_cast<const char*>(data), size);
  toolbar::TZadEdevAziOfficeStyler styler(nullptr);
  const std::string before = styler.SaveToBytes();
  try {
    styler.LoadFromBytes(input);
  } catch (const Exception& e) {
    if (e.Message() != u"Corrupt file" || styler.SaveToBytes() != before) __builtin_trap();
    return 0;
  }
  const std::string saved = styler.SaveToBytes();
  toolbar::TZadEdevAziOfficeStyler again(nullptr);
  again.LoadFromBytes(saved);
  if (again.SaveToBytes() != saved) __builtin_trap();
  return 0;
}
