// The texts a programmer or its bootloader sends: the USB version text, the
// bootloader's self-description and the name and clock taken from it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/DeviceTexts.h"
#include "platform/rtl/StrUtils.h"
#include "programmer/QvBootload.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  // Bytes as the device sends them: one character each.
  const String text = AnsiToString(std::string_view(reinterpret_cast<const char*>(Data), Size));
  const TUsbVersionText usb = ParseUsbVersionText(text);
  if (usb.Version.size() > text.size() + 5 || usb.Date.size() > text.size() || usb.Time.size() > text.size())
    __builtin_trap();
  const TBLSINFO info = TQvBootload::ParseInfoBLS(text, u"&");
  if (ShownMicrocontrollerName(info.Microcontroller).size() != info.Microcontroller.size()) __builtin_trap();
  String clock;
  TryFormatClockMHz(info.F_CPU, clock);
  TryFormatClockMHz(text, clock);
  return 0;
}
