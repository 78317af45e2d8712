#pragma once
// The texts the programmer and its bootloader report, as the windows show
// them. The texts come from a device: any bytes may arrive.
#include "platform/rtl/Types.h"

// What the programmer reports over USB, split for the USB information dialog.
struct TUsbVersionText {
  String Version;
  String Date;
  String Time;
};
// "ver:2.1.bld:5 2022-05-01 12:34:56" gives "ver. 2.1.5", "2022-05-01",
// "12:34:56"; a first word without "ver:" is taken as it is; missing words
// give empty texts.
TUsbVersionText ParseUsbVersionText(String S);
// The microcontroller's name as the bootloader dialog shows it: the first two
// characters and a trailing letter upper-cased ("atmega328p" gives
// "ATmega328P"); a name of two characters or fewer is shown as given.
String ShownMicrocontrollerName(const String& Name);
// The bootloader's clock (a decimal number of hertz in the user's number
// format) in megahertz, "16.000 MHz"; false when the text is not a number.
bool TryFormatClockMHz(const String& Hertz, String& Text);
