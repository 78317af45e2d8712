#include "programmer/QvUsbDetector.h"

#include <map>

#include "platform/devices/Wmi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinReg.h"
#include "platform/win/WinError.h"
#include "programmer/QvMessage.h"
#include "programmer/QvWmiU.h"

const String QvMakerWebAddress = u"www.ryx.example";

namespace {

// Device texts put into a query are cut to this length: no serial number or
// port name is longer, and a hostile one cannot grow the query without bound.
constexpr size_t kMaxQueryText = 128;

bool Contains(StringView s, StringView part) { return s.find(part) != StringView::npos; }

// The property name of an object-text line ("\tCaption = ..." gives "Caption").
String LineName(const String& line) {
  auto eq = line.find(u" = ");
  return eq == String::npos ? String() : Trim(line.substr(0, eq));
}

// The text between the line's first pair of double quotes; an escaped quote
// inside belongs to the value. Backslashes stay doubled as the text has them.
String LineValue(const String& line) {
  auto b = line.find(u'"');
  if (b == String::npos) return {};
  String v;
  for (size_t i = b + 1; i < line.size(); ++i) {
    if (line[i] == u'\\' && i + 1 < line.size() && line[i + 1] == u'"') {
      v += u'"';
      ++i;
    } else if (line[i] == u'\\' && i + 1 < line.size() && line[i + 1] == u'\\') {
      // An escaped backslash, kept doubled; the quote after it closes the value.
      v += u"\\\\";
      ++i;
    } else if (line[i] == u'"') {
      return v;
    } else {
      v += line[i];
    }
  }
  return {};
}

std::vector<String> Split(const String& s, StringView delim) {
  std::vector<String> out;
  size_t start = 0;
  for (;;) {
    auto p = s.find(delim, start);
    if (p == String::npos) break;
    out.push_back(s.substr(start, p - start));
    start = p + delim.size();
  }
  out.push_back(s.substr(start));
  return out;
}

String Part(const std::vector<String>& parts, size_t i) { return i < parts.size() ? parts[i] : String(); }

// Path segments of a value, whose backslashes are doubled.
std::vector<String> Segments(const String& value) { return Split(value, u"\\\\"); }

// The number after the first three characters ("COM12" gives 12); 0 when none.
Integer PortNumber(const String& port) {
  if (port.size() <= 3 || port.size() > 12) return 0;
  Int64 n = 0;
  for (size_t i = 3; i < port.size(); ++i) {
    if (port[i] < u'0' || port[i] > u'9') return 0;
    n = n * 10 + (port[i] - u'0');
  }
  return n > 0x7FFFFFFF ? 0 : Integer(n);
}

Int64 ToInt64Or(const String& s, Int64 def) {
  if (s.empty() || s.size() > 18) return def;
  Int64 n = 0;
  size_t i = s[0] == u'-' ? 1 : 0;
  if (i == s.size()) return def;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return def;
    n = n * 10 + (s[i] - u'0');
  }
  return s[0] == u'-' ? -n : n;
}

// A value back in a query's quotes: its backslashes are still doubled as the
// text showed them; only the quotes LineValue took out need their escape again.
String QuotedValue(const String& v) {
  String s;
  for (Char c : v) {
    if (c == u'"') s += u'\\';
    s += c;
  }
  return s;
}

String QueryText(const String& s) { return WqlLikeEscape(s.substr(0, std::min(s.size(), kMaxQueryText))); }

// The "Caption" of a port: "USB Serial Port (COM3)".
void ReadCaption(const String& value, TQvComInfo& rec) {
  auto open = value.find(u'(');
  auto close = value.find(u')', open == String::npos ? 0 : open);
  String before = value.substr(0, open == String::npos ? value.size() : open);
  String type;
  for (Char c : before)
    if (c != u' ') type += c;
  rec.PortType = type;
  rec.sPort = open == String::npos || close == String::npos ? String() : value.substr(open + 1, close - open - 1);
  rec.iPort = PortNumber(rec.sPort);
}

// One result object as name -> value, in text order.
struct TObjText {
  std::vector<std::pair<String, String>> Props;
  String Get(StringView name) const {
    for (const auto& [n, v] : Props)
      if (SameText(n, name)) return v;
    return {};
  }
};

std::vector<TObjText> Objects(TStringList& lines) {
  std::vector<TObjText> out;
  for (Integer i = 0; i < lines.Count(); ++i) {
    String line = lines.Strings(i);
    if (Trim(line).rfind(u"instance of", 0) == 0) {
      out.emplace_back();
      continue;
    }
    String name = LineName(line);
    if (name.empty() || out.empty()) continue;
    out.back().Props.emplace_back(name, LineValue(line));
  }
  return out;
}

}  // namespace

TQvUsbDetector::TQvUsbDetector(TComponent* AOwner)
    : TComponent(AOwner), FVersion(u"1.7"), FLastArrivalAName(std::make_unique<TStringList>()) {
  FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  DEV_BROADCAST_DEVICEINTERFACE filter;
  filter.dbch_size = 32;
  filter.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = GUID_DEVINTERFACE_USB_DEVICE;
  FNotify = RegisterDeviceNotification(FWindowHandle, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

TQvUsbDetector::~TQvUsbDetector() {
  if (FNotify != nullptr) UnregisterDeviceNotification(FNotify);
  DeallocateHWnd(FWindowHandle);
}

void TQvUsbDetector::WndProc(TMessage& Msg) {
  if (Msg.Msg == WM_DEVICECHANGE) {
    try {
      WMDeviceChange(Msg);
    } catch (const Exception& e) {
      QvShowMessage(u"#error QvUsbDetector: " + e.Message());
    } catch (const std::exception& e) {
      QvShowMessage(u"#error QvUsbDetector: " + Utf8ToString(e.what()));
    }
    return;
  }
  if (Msg.Msg == WM_QVUSB_DEFERRED) {
    std::unique_ptr<AnsiString> text(reinterpret_cast<AnsiString*>(Msg.WParam));
    try {
      if (text) HandleDeferred(*text);
    } catch (...) {
      QvShowMessage(u"Debug ERR #133");
    }
    return;
  }
  Msg.Result = DefWindowProc(FWindowHandle, Msg.Msg, Msg.WParam, Msg.LParam);
}

void TQvUsbDetector::PostDeferred(const String& Text) {
  PostMessage(FWindowHandle, WM_QVUSB_DEFERRED, WPARAM(new AnsiString(StringToAnsi(Text))), 0,
              [](WPARAM w, LPARAM) { delete reinterpret_cast<AnsiString*>(w); });
}

void TQvUsbDetector::HandleDeferred(const AnsiString& Text) {
  String text = AnsiToString(Text);
  auto colon = text.find(u':');
  if (colon == String::npos) return;
  // The rest after the first colon, so a name with a colon stays whole.
  String verb = text.substr(0, colon), arg = text.substr(colon + 1);
  if (verb == u"DoNewVolInfo") GetNewVolInfo(arg);
  else if (verb == u"DoNewComInfo") GetNewComInfo(arg);
}

void TQvUsbDetector::GetAvailableComPorts(TStrings* Ports, bool WithNames) {
  if (Ports == nullptr) return;
  HKEY key = nullptr;
  try {
    TStringList list;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) == ERROR_SUCCESS) {
      for (DWORD index = 0;; ++index) {
        String name;
        DWORD type = 0;
        Byte data[256] = {};
        DWORD cb = sizeof(data);
        if (RegEnumValue(key, index, &name, nullptr, &type, data, &cb) != ERROR_SUCCESS) break;
        String port;
        for (DWORD i = 0; i + 1 < cb; i += 2) {
          Char c = Char(data[i] | (data[i + 1] << 8));
          if (c == 0) break;
          port += c;
        }
        Integer number = PortNumber(port);
        if (number <= 0) continue;
        String entry = port;
        if (WithNames) {
          if (entry.size() < 7) entry.append(7 - entry.size(), u' ');
          String lower = LowerCase(name);
          if (Contains(lower, u"serial")) entry += u"Serial com port";
          else if (Contains(lower, u"vcp")) entry += u"Virtual com port";
          else if (Contains(lower, u"\\bth")) entry += u"Bluetooth com port";
          else entry += Trim(name);
        }
        list.AddObject(entry, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(number)));
      }
      RegCloseKey(key);
      key = nullptr;
    }
    list.CustomSort([](TStringList* l, Integer a, Integer b) { return CompareText(l->Strings(a), l->Strings(b)); });
    Ports->Assign(&list);
  } catch (...) {
    if (key != nullptr) RegCloseKey(key);
    QvShowMessage(u"#err43 - GetAvailableComPorts Exception");
  }
}

void TQvUsbDetector::SplitStr(const String& Source, const String& Delimiter, TStringList* DelimitedList) {
  if (DelimitedList == nullptr) return;
  try {
    DelimitedList->Clear();
    String src = Source.substr(0, Source.find(Char(0)));
    if (Delimiter.empty()) {
      DelimitedList->Add(src);
      return;
    }
    for (const auto& p : Split(src, Delimiter)) DelimitedList->Add(p);
  } catch (...) {
    QvShowMessage(u"Debug ERR #144");
  }
}

void TQvUsbDetector::AddFt232(const TQvComInfo& Info) {
  for (const auto& e : Ft232RList)
    if (e.Serial == Info.Serial) return;
  Ft232RList.push_back(Info);
  Ft232Rcount = Integer(Ft232RList.size());
}

void TQvUsbDetector::WMDeviceChange(TMessage& Msg) {
  if (Msg.WParam != DBT_DEVICEARRIVAL && Msg.WParam != DBT_DEVICEREMOVECOMPLETE) return;
  const auto* hdr = reinterpret_cast<const DEV_BROADCAST_HDR*>(Msg.LParam);
  if (hdr == nullptr) return;
  const Integer inout = Msg.WParam == DBT_DEVICEARRIVAL ? 1 : 0;
  switch (hdr->dbch_devicetype) {
    case DBT_DEVTYP_PORT: {
      const auto* port = static_cast<const DEV_BROADCAST_PORT*>(hdr);
      ComPort = StringToAnsi(port->dbcp_name.substr(0, std::min<size_t>(port->dbcp_name.size(), 261)));
      String name = AnsiToString(ComPort);
      for (size_t i = 0; i < Ft232RList.size(); ++i)
        if (Ft232RList[i].sPort == name) {
          Ft232RList[i] = Ft232RList.back();
          Ft232RList.pop_back();
          Ft232Rcount = Integer(Ft232RList.size());
          break;
        }
      if (OnComDetect) OnComDetect(this, name, inout);
      if (inout == 1 && FLastArrivalAName->Count() > 0) PostDeferred(u"DoNewComInfo:" + name);
      break;
    }
    case DBT_DEVTYP_VOLUME: {
      const auto* vol = static_cast<const DEV_BROADCAST_VOLUME*>(hdr);
      int index = 0;
      while (index < 24 && (vol->dbcv_unitmask & (DWORD(1) << index)) == 0) ++index;
      String letter(1, Char(u'A' + index));
      if (OnVolumeDetect) OnVolumeDetect(this, letter, inout);
      if (FLastArrivalAName->Count() > 0) PostDeferred(u"DoNewVolInfo:" + FLastArrivalAName->Strings(0));
      break;
    }
    case DBT_DEVTYP_DEVICEINTERFACE: {
      const auto* di = static_cast<const DEV_BROADCAST_DEVICEINTERFACE*>(hdr);
      String vid, pid, usbName;
      try {
        auto parts = Split(di->dbcc_name, u"#");
        if (parts.size() < 2) {
          QvShowMessage(u"Debug error #1");
          return;
        }
        String instance = Part(parts, 2);
        auto ids = Split(parts[1], u"&");
        vid = Part(ids, 0);
        pid = Part(ids, 1);
        usbName = instance;
        if (vid == u"VID_16C0" && pid == u"PID_05DC")
          usbName = instance == LowerCase(QvMakerWebAddress) ? String(u"RYX-VORIRA") : String(u"VORira clone");
      } catch (...) {
        QvShowMessage(u"Debug ERR #188");
        return;
      }
      if (inout == 1) {
        FLastArrivalAName->Add(usbName);
      } else {
        Integer i = FLastArrivalAName->IndexOf(usbName);
        if (i >= 0) FLastArrivalAName->Delete(i);
      }
      if (OnUsbDetect) OnUsbDetect(this, usbName, vid, pid, inout);
      break;
    }
    default: break;
  }
}

void TQvUsbDetector::GetNewComInfo(const String& Port) {
  try {
    for (Integer n = 0; n < FLastArrivalAName->Count(); ++n) {
      String name = FLastArrivalAName->Strings(n);
      TStringList result;
      WmiQuery(u"SELECT Caption,Description,DeviceID,Manufacturer FROM Win32_PnPEntity WHERE Caption Like \"%(" +
                   QueryText(Port) + u"%\"  or PNPDeviceID Like \"%" + QueryText(name) + u"%\"",
               &result);
      std::vector<TQvComInfo> recs;
      bool found = false;
      String upperName = UpperCase(name);
      for (Integer i = 0; i < result.Count(); ++i) {
        String line = result.Strings(i), prop = LineName(line), value = LineValue(line);
        if (prop == u"Caption" && Contains(UpperCase(value), u"(COM")) {
          recs.emplace_back();
          ReadCaption(value, recs.back());
          if (recs.back().sPort != Port) break;
          recs.back().Serial = name;
          continue;
        }
        if (recs.empty()) continue;
        TQvComInfo& rec = recs.back();
        if (prop == u"DeviceID" && Contains(value, u"BTHENUM")) {
          rec.Serial = Part(Segments(value), 2);
          rec.PortType = u"Bluetooth";
        } else if (prop == u"DeviceID" && (Contains(value, u"+") || Contains(value, u"&"))) {
          StringView sep = Contains(value, u"+") ? u"+" : u"&";
          String seg = Part(Segments(value), 1);
          if (!Contains(seg, sep)) {
            rec.VID.clear();
            rec.PID.clear();
            rec.Serial = seg;
          } else if (sep == u"+") {
            auto p = Split(seg, u"+");
            rec.VID = Part(p, 0);
            rec.PID = Part(p, 1);
            String third = Part(p, 2);
            rec.Serial = third.empty() ? third : third.substr(0, third.size() - 1);
            if (!Contains(UpperCase(third), upperName)) break;
            found = true;
            rec.Serial = name;
          } else {
            auto p = Split(seg, u"&");
            rec.VID = Part(p, 0);
            rec.PID = Part(p, 1);
            rec.Serial = name;
            found = true;
          }
        } else if (prop == u"Manufacturer") {
          rec.Manufacturer = value;
          if (rec.VID == u"VID_0403" && rec.PID == u"PID_6001") {
            rec.Chip = u"FT232R";
            AddFt232(rec);
          }
        }
      }
      if (found && !recs.empty() && !recs.back().Serial.empty()) {
        if (OnNewComInfo) OnNewComInfo(this, recs, Integer(recs.size()));
        return;
      }
    }
  } catch (...) {
    QvShowMessage(u"#err0041 GetNewComInfo Exception");
  }
}

void TQvUsbDetector::GetNewVolInfo(const String& Name) {
  try {
    TStringList drives;
    WmiQuery(u"select Caption,DeviceID  from Win32_diskdrive where (MediaType Like \"Removable Media%\" or MediaType "
             u"Like \"External hard disk%\") and PNPDeviceID Like \"%" +
                 QueryText(Name) + u"%\"",
             &drives);
    if (drives.Count() == 0) return;
    Integer count = DriveVolumeWalk(&drives, Name);
    if (OnNewVolInfo) OnNewVolInfo(this, FQvVolInfo, count);
  } catch (...) {
    QvShowMessage(u"Debug Err #166");
  }
}

Integer TQvUsbDetector::DriveVolumeWalk(TStringList* Drives, const String& Pnp) {
  FQvVolInfo.clear();
  try {
    for (const auto& drive : Objects(*Drives)) {
      String id = drive.Get(u"DeviceID");
      if (id.empty()) continue;
      TStringList parts;
      WmiQuery(u"ASSOCIATORS OF {Win32_DiskDrive.DeviceID=\"" + QuotedValue(id) +
                   u"\"} WHERE AssocClass = Win32_DiskDriveToDiskPartition ",
               &parts);
      for (const auto& part : Objects(parts)) {
        String pid = part.Get(u"DeviceID");
        if (pid.empty()) continue;
        TStringList disks;
        WmiQuery(u"ASSOCIATORS OF {Win32_DiskPartition.DeviceID=\"" + QuotedValue(pid) +
                     u"\"} WHERE AssocClass = Win32_LogicalDiskToPartition ",
                 &disks);
        for (const auto& d : Objects(disks)) {
          if (d.Get(u"DeviceID").empty()) continue;
          TQvVolInfo v;
          v.DeviceID = d.Get(u"DeviceID");
          v.FileSystem = d.Get(u"FileSystem");
          v.FreeSpace = ToInt64Or(d.Get(u"FreeSpace"), -1);
          v.Size = ToInt64Or(d.Get(u"Size"), -1);
          v.VolName = d.Get(u"VolumeName");
          v.VolSerial = d.Get(u"VolumeSerialNumber");
          v.FulName = drive.Get(u"Caption");
          if (!Pnp.empty()) {
            v.PNPDeviceID = Pnp;
          } else {
            String third = Part(Segments(drive.Get(u"PNPDeviceID")), 2);
            v.PNPDeviceID = third.substr(0, third.find(u'&'));
          }
          FQvVolInfo.push_back(v);
        }
      }
    }
  } catch (...) {
    QvShowMessage(u"Debug ERR #177");
  }
  return Integer(FQvVolInfo.size());
}

Integer TQvUsbDetector::GetAvailableVolumens() {
  FdiskCounter = 0;
  try {
    TStringList drives;
    WmiQuery(u"select Caption,PNPDeviceID,DeviceID  from Win32_diskdrive where (MediaType Like \"Removable Media%\" "
             u"or MediaType Like \"External hard disk%\") ",
             &drives);
    QvAllVolInfo.clear();
    if (drives.Count() > 0) {
      // Each volume keeps the caption of its own drive, whatever the number of
      // volumes per drive.
      Integer n = DriveVolumeWalk(&drives, String());
      QvAllVolInfo = FQvVolInfo;
      FdiskCounter += n;
    }
  } catch (...) {
    QvShowMessage(u"Debug ERR #155");
    return 0;
  }
  return FdiskCounter;
}

void TQvUsbDetector::CheckVORira() {
  FdiskCounter = 0;
  try {
    TStringList result;
    WmiQuery(u"SELECT *  FROM Win32_PnPEntity WHERE Caption Like \"%VORIRA%\"", &result);
    String text = UpperCase(result.Text());
    if (!Contains(text, u"VORIRA")) return;
    String name = Contains(text, UpperCase(QvMakerWebAddress)) ? String(u"RYX-VORIRA") : String(u"VORira clone");
    if (OnUsbDetect) OnUsbDetect(this, name, u"VID_16C0", u"PID_05DC", 1);
  } catch (...) {
  }
}

Integer TQvUsbDetector::GetAvailableComPortsEx() {
  FdiskCounter = 0;
  QvComInfo.clear();
  try {
    TStringList result;
    WmiQuery(u"SELECT Caption,DeviceID,Manufacturer FROM Win32_PnPEntity WHERE Caption Like \"%(COM%\" ", &result);
    for (Integer i = 0; i < result.Count(); ++i) {
      String line = result.Strings(i), prop = LineName(line), value = LineValue(line);
      if (prop == u"Caption") {
        QvComInfo.emplace_back();
        ReadCaption(value, QvComInfo.back());
        continue;
      }
      if (QvComInfo.empty()) continue;
      TQvComInfo& rec = QvComInfo.back();
      if (prop == u"DeviceID" && Contains(value, u"BTHENUM")) {
        rec.Serial = Part(Segments(value), 2);
        rec.PortType = u"Bluetooth";
      } else if (prop == u"DeviceID") {
        String seg = Part(Segments(value), 1);
        if (!Contains(seg, u"+")) {
          rec.VID.clear();
          rec.PID.clear();
          rec.Serial = seg;
        } else {
          auto p = Split(seg, u"+");
          rec.VID = Part(p, 0);
          rec.PID = Part(p, 1);
          String third = Part(p, 2);
          rec.Serial = third.empty() ? third : third.substr(0, third.size() - 1);
        }
      } else if (prop == u"Manufacturer") {
        rec.Manufacturer = value;
        if (rec.VID == u"VID_0403" && rec.PID == u"PID_6001") {
          rec.Chip = u"FT232R";
          AddFt232(rec);
        }
      }
    }
  } catch (...) {
    QvShowMessage(u"#error in: GetAvailableComPortsEx()");
  }
  return Integer(QvComInfo.size());
}
