#pragma once
// TQvLibUSB: one USB device found by vendor and product number through
// libusb-0.1, with its string descriptors, device version, vendor control
// transfers and interrupt transfers through one data buffer, and its arrival
// and removal followed through device notifications. Never raises: a missing
// device or a refused transfer gives False, -1 or the library's negative code.
#include <memory>
#include <vector>

#include "platform/devices/DeviceNotify.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Strings.h"

struct TUsbCtrlSet {
  std::uint32_t Reserved1 = 0;
  Byte Reserved2 = 0;
  Byte bRequest = 0;
  Word wValue = 0;
  Word wIndex = 0;
  Word wLength = 0;
};

class TQvLibUSB : public TComponent {
 public:
  explicit TQvLibUSB(TComponent* AOwner);
  ~TQvLibUSB() override;

  const String& VID() const { return FVID; }
  // "$16C0" form; a text that is not a 16-bit number stores "$16C0".
  void SetVID(const String& Value);
  const String& PID() const { return FPID; }
  // As SetVID, with the default "$05DC".
  void SetPID(const String& Value);
  bool Connected() const { return FConnected; }
  // True runs ConnectVUSB; False closes the device and runs the disconnect step.
  void SetConnected(bool Value);
  Integer InterfaceIndex() const { return FInterfaceIndex; }
  void SetInterfaceIndex(Integer Value) { FInterfaceIndex = Value; }
  TStringList* InfStrings() const { return FInfStrings.get(); }
  const String& DeviceVersion() const { return FDeviceVersion; }
  Integer BufferSize() const { return FBufferSize; }
  // Clamped to 256..65634; DevBuffer takes the size when loading ends.
  void SetBufferSize(Integer Value);
  const String& Version() const { return FVersion; }

  void Loaded() override;

  // Vendor IN transfer of wLength bytes into DevBuffer; False without a
  // device, when wLength exceeds DevBuffer, or on a library error.
  bool DevRead(Byte bRequest, Word wValue, Word wIndex, Word wLength);
  // As DevRead, then a zero byte after the bytes received (wLength must leave room for it).
  bool DevRead2(const TUsbCtrlSet& Set);
  // As DevRead2, answering the bytes received or the library's negative code;
  // -1 without a device or when wLength leaves no room in DevBuffer.
  Integer DevRead3(const TUsbCtrlSet& Set);
  // Vendor OUT transfer of the first wLength bytes of DevBuffer; False
  // without a device, beyond DevBuffer or on a library error.
  bool DevWrite(Byte bRequest, Word wValue, Word wIndex, Word wLength);
  bool DevWrite2(const TUsbCtrlSet& Set);
  // As DevWrite from DevBuffer[offset]; False when offset + wLength leaves DevBuffer.
  bool DevWriteOffset(Byte bRequest, Word wValue, Word wIndex, Word wLength, Integer offset);
  // As DevWriteOffset; True only when more than zero bytes went.
  bool DevWriteOffset2(const TUsbCtrlSet& Set, Integer offset);
  // Interrupt transfers through DevBuffer; True when the library reports
  // bytes transferred. False without a device or beyond DevBuffer.
  bool DevInterruptRead(Integer ep, Integer size, Integer timeout);
  bool DevInterruptWrite(Integer ep, const AnsiString& data, Integer size, Integer timeout);

  // DevBuffer up to its first zero byte, as 8-bit text.
  AnsiString GetStrFromBuffer() const;
  void ClearDevBuf();
  // Closes, then finds, opens and claims the device; fires OnConnected when it is there.
  void ConnectVUSB();
  // Connects to the device with these hex vendor and product digits ("16C0").
  void ConnectUSB(const String& avid, const String& apid);
  // Runs the disconnect step and closes the device.
  void Close();

  // The window procedure's WM_DEVICECHANGE handling (public for the window only).
  void WMDeviceChange(TMessage& Msg);

  TNotifyEvent OnConnected;
  TNotifyEvent OnDisconnected;
  std::vector<Byte> DevBuffer;

 private:
  struct TUSBDev;
  void WndProc(TMessage& Msg);
  bool SearchAndOpen();
  void CloseHandle();
  void ReadStrings();
  void DisconnectStep();
  Integer Control(int requestType, Byte bRequest, Word wValue, Word wIndex, Word wLength, Integer offset);

  HWND FWindowHandle = nullptr;
  HDEVNOTIFY FNotify = nullptr;
  std::unique_ptr<TUSBDev> FUSBdev;
  String FVID = u"$16C0";
  String FPID = u"$05DC";
  bool FConnected = false;
  Integer FBufferSize = 1024;
  Integer FInterfaceIndex = 0;
  std::unique_ptr<TStringList> FInfStrings;
  Integer FVerMinor = 0;
  Integer FVerMajor = 0;
  String FDeviceVersion;
  String FVersion = u"1.0";
};
