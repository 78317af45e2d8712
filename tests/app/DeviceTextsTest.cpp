// The texts the programmer and its bootloader report, as the windows show them.
#include <gtest/gtest.h>

#include "app/DeviceTexts.h"
#include "platform/rtl/StrUtils.h"

namespace {

TEST(DeviceTexts, UsbVersionText) {
  struct Case {
    const char16_t* in;
    const char16_t* version;
    const char16_t* date;
    const char16_t* time;
  } cases[] = {
      {u"ver:2.1.bld:5 2022-05-01 12:34:56", u"ver. 2.1.5", u"2022-05-01", u"12:34:56"},
      {u"1.0 2020-01-01 10:00:00", u"1.0", u"2020-01-01", u"10:00:00"},
      {u"ver:3.0 2021-02-03", u"ver. 3.0", u"2021-02-03", u""},  // no "bld:": all of the rest is the version
      {u"lonely", u"lonely", u"", u""},
      {u"", u"", u"", u""},
      {u"ver:1.2.bld:7   2023-01-01   09:00:00  ", u"ver. 1.2.7", u"2023-01-01", u"09:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.in));
    const TUsbVersionText t = ParseUsbVersionText(c.in);
    EXPECT_EQ(t.Version, c.version);
    EXPECT_EQ(t.Date, c.date);
    EXPECT_EQ(t.Time, c.time);
  }
}

TEST(DeviceTexts, MicrocontrollerNameAndClock) {
  struct NameCase {
    const char16_t* in;
    const char16_t* shown;
  } names[] = {
      {u"atmega328p", u"ATmega328P"}, {u"atmega88", u"ATmega88"},     {u"atmega8", u"ATmega8"},
      {u"attiny85", u"ATtiny85"},     {u"atmega644pa", u"ATmega644pA"}, {u"ab", u"ab"},
      {u"x", u"x"},                   {u"", u""},                     {u"abc", u"ABC"},
  };
  for (const NameCase& c : names) EXPECT_EQ(ShownMicrocontrollerName(c.in), c.shown) << StringToUtf8(c.in);

  struct ClockCase {
    const char16_t* in;
    bool ok;
    const char16_t* shown;
  } clocks[] = {
      {u"16000000", true, u"16.000 MHz"}, {u"11059200", true, u"11.059 MHz"}, {u"8000000", true, u"8.000 MHz"},
      {u"1000000", true, u"1.000 MHz"},   {u"abc", false, u""},                {u"", false, u""},
  };
  for (const ClockCase& c : clocks) {
    String text;
    EXPECT_EQ(TryFormatClockMHz(c.in, text), c.ok) << StringToUtf8(c.in);
    EXPECT_EQ(text, c.shown);
  }
}

}  // namespace
