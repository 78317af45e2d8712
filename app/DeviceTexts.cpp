#include "app/DeviceTexts.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "transport/TransportUtils.h"

TUsbVersionText ParseUsbVersionText(String S) {
  TUsbVersionText r;
  if (S.find(u"ver:") != String::npos) {
    String w = Fetch(S, u" ");
    Fetch(w, u":");
    const String x = Fetch(w, u"bld:");
    r.Version = u"ver. " + x + w;
  } else {
    r.Version = Fetch(S, u" ");
  }
  r.Date = Fetch(S, u" ");
  r.Time = Fetch(S, u" ");
  return r;
}

String ShownMicrocontrollerName(const String& Name) {
  if (Name.size() <= 2) return Name;
  String shown = UpperCase(Name.substr(0, 2)) + Name.substr(2);
  if (shown.back() > u'?') shown = shown.substr(0, shown.size() - 1) + UpperCase(shown.substr(shown.size() - 1));
  return shown;
}

bool TryFormatClockMHz(const String& Hertz, String& Text) {
  double hz = 0;
  if (!TryStrToFloat(Hertz, hz)) return false;
  Text = FormatFloat(u"##.000 MHz", hz / 1000000);
  return true;
}
