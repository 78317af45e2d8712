#include "programmer/QvLibUSB.h"

#include <usb.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/rtl/StrUtils.h"
#include "platform/win/MessageLoop.h"

struct TQvLibUSB::TUSBDev {
  struct usb_device* dev = nullptr;
  usb_dev_handle* handle = nullptr;
  Word VID = 0;
  Word PID = 0;
  // Where the open device sits, to tell whether a removal was ours.
  std::string BusName, DevName;
};

namespace {

constexpr int kTimeout = 5000;

// The text as a number: decimal, or hexadecimal after "$"; -1 for anything
// else and for numbers outside 0..0xFFFF.
Integer UsbNumber(const String& s) {
  size_t i = 0;
  int base = 10;
  if (!s.empty() && s[0] == u'$') {
    base = 16;
    i = 1;
  }
  if (i >= s.size() || s.size() - i > 8) return -1;
  Integer v = 0;
  for (; i < s.size(); ++i) {
    Char c = s[i];
    int d = (c >= u'0' && c <= u'9') ? c - u'0'
            : (base == 16 && c >= u'a' && c <= u'f') ? c - u'a' + 10
            : (base == 16 && c >= u'A' && c <= u'F') ? c - u'A' + 10
                                                     : -1;
    if (d < 0) return -1;
    v = v * base + d;
    if (v > 0xFFFF) return -1;
  }
  return v;
}

String CheckedId(const String& value, const String& def) {
  String v = value;
  if (v.size() >= 7 && v[5] == u'q' && v[6] == u'v') v = v.substr(0, 5);
  if (UsbNumber(v) < 0) v = def;
  return UpperCase(v);
}

}  // namespace

TQvLibUSB::TQvLibUSB(TComponent* AOwner)
    : TComponent(AOwner), FUSBdev(std::make_unique<TUSBDev>()), FInfStrings(std::make_unique<TStringList>()) {
  DevBuffer.assign(1024, 0);
  FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  DEV_BROADCAST_DEVICEINTERFACE filter;
  filter.dbch_size = 32;
  filter.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = GUID_DEVINTERFACE_USB_DEVICE;
  FNotify = RegisterDeviceNotification(FWindowHandle, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  // The library needs this before its first search.
  usb_init();
}

TQvLibUSB::~TQvLibUSB() {
  if (FNotify != nullptr) UnregisterDeviceNotification(FNotify);
  DeallocateHWnd(FWindowHandle);
  if (FUSBdev->handle != nullptr) usb_close(FUSBdev->handle);
}

void TQvLibUSB::SetVID(const String& Value) { FVID = CheckedId(Value, u"$16C0"); }
void TQvLibUSB::SetPID(const String& Value) { FPID = CheckedId(Value, u"$05DC"); }

void TQvLibUSB::SetBufferSize(Integer Value) { FBufferSize = std::clamp<Integer>(Value, 256, 65634); }

void TQvLibUSB::SetConnected(bool Value) {
  FConnected = Value;
  if (Value) {
    ConnectVUSB();
  } else {
    CloseHandle();
    DisconnectStep();
  }
}

void TQvLibUSB::Loaded() {
  TComponent::Loaded();
  DevBuffer.assign(size_t(FBufferSize), 0);
  if (FConnected) {
    if (OnConnected) OnConnected(this);
  } else {
    DisconnectStep();
  }
}

void TQvLibUSB::WndProc(TMessage& Msg) {
  if (Msg.Msg == WM_DEVICECHANGE) {
    WMDeviceChange(Msg);  // an exception goes to the loop's handler
    return;
  }
  Msg.Result = DefWindowProc(FWindowHandle, Msg.Msg, Msg.WParam, Msg.LParam);
}

void TQvLibUSB::DisconnectStep() {
  FDeviceVersion.clear();
  FInfStrings->Clear();
  if (OnDisconnected) OnDisconnected(this);
}

void TQvLibUSB::CloseHandle() {
  if (FUSBdev->handle != nullptr && usb_close(FUSBdev->handle) == 0) {
    FUSBdev->handle = nullptr;
    FUSBdev->dev = nullptr;
  }
}

bool TQvLibUSB::SearchAndOpen() {
  Integer vid = UsbNumber(FVID), pid = UsbNumber(FPID);
  usb_find_busses();
  usb_find_devices();
  for (struct usb_bus* bus = usb_get_busses(); bus != nullptr; bus = bus->next) {
    for (struct usb_device* dev = bus->devices; dev != nullptr; dev = dev->next) {
      if (Integer(dev->descriptor.idVendor) != vid || Integer(dev->descriptor.idProduct) != pid) continue;
      usb_dev_handle* h = usb_open(dev);
      if (h == nullptr) return false;
      FUSBdev->dev = dev;
      FUSBdev->handle = h;
      FUSBdev->VID = dev->descriptor.idVendor;
      FUSBdev->PID = dev->descriptor.idProduct;
      FUSBdev->BusName = bus->dirname;
      FUSBdev->DevName = dev->filename;
      return true;
    }
  }
  return false;
}

void TQvLibUSB::ReadStrings() {
  FInfStrings->Clear();
  for (int index = 0; index <= 10; ++index) {
    // Room beyond the length asked for, and a terminator whatever the device sends.
    char buf[256] = {};
    int n = usb_get_string_simple(FUSBdev->handle, index, buf, 200);
    if (n < 0) continue;
    buf[std::min(n, 199)] = 0;
    std::string s(buf);
    if (s.size() >= 2 && s.find_first_not_of(' ') != std::string::npos) FInfStrings->Add(AnsiToString(s));
  }
  Word bcd = FUSBdev->dev != nullptr ? FUSBdev->dev->descriptor.bcdDevice : 0;
  FVerMajor = bcd >> 8;
  FVerMinor = bcd & 0xFF;
  FDeviceVersion = IntToStr(FVerMajor) + u"." + IntToStr(FVerMinor);
}

void TQvLibUSB::ConnectVUSB() {
  DisconnectStep();
  FConnected = false;
  CloseHandle();
  if (FUSBdev->handle != nullptr) return;  // the old handle would not close
  bool found = SearchAndOpen();
  FConnected = found;
  if (!found) return;
  int r = usb_claim_interface(FUSBdev->handle, FInterfaceIndex);
  if (r != 0) {
    FConnected = false;
    CloseHandle();
    DisconnectStep();
    return;
  }
  ReadStrings();
  if (OnConnected) OnConnected(this);
}

void TQvLibUSB::ConnectUSB(const String& avid, const String& apid) {
  FVID = u"$" + avid;
  FPID = u"$" + apid;
  ConnectVUSB();
}

void TQvLibUSB::Close() {
  DisconnectStep();
  CloseHandle();
  FConnected = false;
}

void TQvLibUSB::WMDeviceChange(TMessage& Msg) {
  if (Msg.WParam != DBT_DEVICEARRIVAL && Msg.WParam != DBT_DEVICEREMOVECOMPLETE) return;
  const auto* hdr = reinterpret_cast<const DEV_BROADCAST_HDR*>(Msg.LParam);
  if (hdr == nullptr || hdr->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return;
  const auto* di = static_cast<const DEV_BROADCAST_DEVICEINTERFACE*>(hdr);
  // "\\?\USB#VID_16C0&PID_05DC#instance#{guid}": only our vendor and product concern us.
  String upper = UpperCase(di->dbcc_name);
  auto hash = upper.find(u'#');
  auto amp = upper.find(u'&', hash == String::npos ? 0 : hash);
  if (hash == String::npos || amp == String::npos) return;
  Integer vid = UsbNumber(u"$" + upper.substr(std::min(hash + 5, upper.size()), std::min<size_t>(4, amp - std::min(hash + 5, amp))));
  Integer pid = UsbNumber(u"$" + upper.substr(std::min(amp + 5, upper.size()), 4));
  if (vid != UsbNumber(FVID) || pid != UsbNumber(FPID)) return;
  if (Msg.WParam == DBT_DEVICEARRIVAL) {
    if (FUSBdev->handle != nullptr) return;  // already open: leave it be
    bool found = SearchAndOpen();
    FConnected = found;
    if (found) {
      ReadStrings();
      if (OnConnected) OnConnected(this);
    }
    return;
  }
  if (FUSBdev->handle != nullptr) {
    // Another device of the same kind may have left; keep ours while it is there.
    usb_find_busses();
    usb_find_devices();
    for (struct usb_bus* bus = usb_get_busses(); bus != nullptr; bus = bus->next)
      for (struct usb_device* dev = bus->devices; dev != nullptr; dev = dev->next)
        if (FUSBdev->BusName == bus->dirname && FUSBdev->DevName == dev->filename &&
            dev->descriptor.idVendor == FUSBdev->VID && dev->descriptor.idProduct == FUSBdev->PID)
          return;
  }
  if (FConnected) DisconnectStep();
  CloseHandle();
  FConnected = false;
}

Integer TQvLibUSB::Control(int requestType, Byte bRequest, Word wValue, Word wIndex, Word wLength, Integer offset) {
  if (FUSBdev->handle == nullptr) return -1;
  if (offset < 0 || size_t(offset) + wLength > DevBuffer.size()) return -1;
  char* data = DevBuffer.empty() ? nullptr : reinterpret_cast<char*>(DevBuffer.data()) + offset;
  if (requestType == 0xC0) {
    // Read into a scratch buffer so a failed transfer leaves DevBuffer as it was.
    std::vector<char> scratch(std::max<size_t>(wLength, 1));
    int r = usb_control_msg(FUSBdev->handle, requestType, bRequest, wValue, wIndex, scratch.data(), wLength, kTimeout);
    if (r >= 0) std::memcpy(data, scratch.data(), size_t(std::min<int>(r, wLength)));
    return r;
  }
  return usb_control_msg(FUSBdev->handle, requestType, bRequest, wValue, wIndex, data, wLength, kTimeout);
}

bool TQvLibUSB::DevRead(Byte bRequest, Word wValue, Word wIndex, Word wLength) {
  return Control(0xC0, bRequest, wValue, wIndex, wLength, 0) >= 0;
}

bool TQvLibUSB::DevRead2(const TUsbCtrlSet& Set) { return DevRead3(Set) >= 0; }

Integer TQvLibUSB::DevRead3(const TUsbCtrlSet& Set) {
  if (FUSBdev->handle == nullptr || size_t(Set.wLength) >= DevBuffer.size()) return -1;
  Integer r = Control(0xC0, Set.bRequest, Set.wValue, Set.wIndex, Set.wLength, 0);
  if (r >= 0) DevBuffer[size_t(std::min<Integer>(r, Set.wLength))] = 0;
  return r;
}

bool TQvLibUSB::DevWrite(Byte bRequest, Word wValue, Word wIndex, Word wLength) {
  return Control(0x40, bRequest, wValue, wIndex, wLength, 0) >= 0;
}

bool TQvLibUSB::DevWrite2(const TUsbCtrlSet& Set) { return DevWrite(Set.bRequest, Set.wValue, Set.wIndex, Set.wLength); }

bool TQvLibUSB::DevWriteOffset(Byte bRequest, Word wValue, Word wIndex, Word wLength, Integer offset) {
  return Control(0x40, bRequest, wValue, wIndex, wLength, offset) >= 0;
}

bool TQvLibUSB::DevWriteOffset2(const TUsbCtrlSet& Set, Integer offset) {
  return Control(0x40, Set.bRequest, Set.wValue, Set.wIndex, Set.wLength, offset) > 0;
}

bool TQvLibUSB::DevInterruptRead(Integer ep, Integer size, Integer timeout) {
  if (FUSBdev->handle == nullptr || size < 0 || size_t(size) > DevBuffer.size()) return false;
  return usb_interrupt_read(FUSBdev->handle, ep, reinterpret_cast<char*>(DevBuffer.data()), size, timeout) > 0;
}

bool TQvLibUSB::DevInterruptWrite(Integer ep, const AnsiString& data, Integer size, Integer timeout) {
  if (FUSBdev->handle == nullptr || size < 0 || size_t(size) > DevBuffer.size() || size_t(size) > data.size())
    return false;
  std::memcpy(DevBuffer.data(), data.data(), size_t(size));
  return usb_interrupt_write(FUSBdev->handle, ep, reinterpret_cast<char*>(DevBuffer.data()), size, timeout) > 0;
}

AnsiString TQvLibUSB::GetStrFromBuffer() const {
  auto end = std::find(DevBuffer.begin(), DevBuffer.end(), Byte(0));
  return AnsiString(DevBuffer.begin(), end);
}

void TQvLibUSB::ClearDevBuf() { std::fill(DevBuffer.begin(), DevBuffer.end(), Byte(0)); }
