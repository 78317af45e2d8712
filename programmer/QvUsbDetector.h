#pragma once
// TQvUsbDetector: the serial-port list, and the arrival and removal of serial
// ports, volumes and USB devices, with look-ups of their details through
// management queries. Never raises to its caller: failures show a short message.
#include <functional>
#include <memory>
#include <vector>

#include "platform/devices/DeviceNotify.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Strings.h"
#include "platform/win/Messages.h"

struct TQvComInfo {
  String sPort;
  Integer iPort = 0;
  String PortType, VID, PID, Serial, Manufacturer, Chip;
};
using TFT232RLIST = TQvComInfo;

struct TQvVolInfo {
  String DeviceID;
  Int64 FreeSpace = 0;
  String FileSystem;
  Int64 Size = 0;
  String VolName, VolSerial, FulName, PNPDeviceID;
};

using TOnComDetect = std::function<void(TObject* Sender, const String& ComPort, Integer inout)>;
using TOnVolumeDetect = std::function<void(TObject* Sender, const String& Volume, Integer inout)>;
using TOnUSBDetect =
    std::function<void(TObject* Sender, const String& UsbName, const String& vid, const String& pid, Integer inout)>;
using TOnNewVolInfo = std::function<void(TObject* Sender, const std::vector<TQvVolInfo>& QvVolInfo, Integer count)>;
using TOnNewComInfo = std::function<void(TObject* Sender, const std::vector<TQvComInfo>& QvComInfo, Integer count)>;

constexpr UINT WM_QVUSB_DEFERRED = 11025;

// The maker's web address that marks the maker's own programmers in their
// USB serial number.
extern const String QvMakerWebAddress;

class TQvUsbDetector : public TComponent {
 public:
  explicit TQvUsbDetector(TComponent* AOwner);
  ~TQvUsbDetector() override;

  const String& Version() const { return FVersion; }
  void SetVersion(const String&) {}

  // The serial map's ports, sorted ignoring case, each with its number as the
  // associated object; with WithNames padded to seven characters and followed
  // by the port's kind. Replaces the content of Ports; on failure Ports keeps
  // what it had and "#err43 - GetAvailableComPorts Exception" is shown.
  void GetAvailableComPorts(TStrings* Ports, bool WithNames);
  // The serial ports with their details into QvComInfo; answers their number.
  Integer GetAvailableComPortsEx();
  // The volumes of removable and external drives into QvAllVolInfo; answers their number (0 on failure).
  Integer GetAvailableVolumens();
  // Fires OnUsbDetect when a programmer is attached.
  void CheckVORira();
  // Splits Source (up to its first NUL) at every Delimiter into DelimitedList.
  void SplitStr(const String& Source, const String& Delimiter, TStringList* DelimitedList);

  // The window procedure's WM_DEVICECHANGE handling (public for the window only).
  void WMDeviceChange(TMessage& Msg);

  TOnComDetect OnComDetect;
  TOnVolumeDetect OnVolumeDetect;
  TOnUSBDetect OnUsbDetect;
  TOnNewVolInfo OnNewVolInfo;
  TOnNewComInfo OnNewComInfo;

  HWND FWindowHandle = nullptr;
  String FVersion;
  std::unique_ptr<TStringList> FLastArrivalAName;
  std::vector<TQvVolInfo> FQvVolInfo;
  Integer FdiskCounter = 0;
  AnsiString ComPort;
  std::vector<TQvVolInfo> QvAllVolInfo;
  std::vector<TQvComInfo> QvComInfo;
  std::vector<TFT232RLIST> Ft232RList;
  Integer Ft232Rcount = 0;

 private:
  void WndProc(TMessage& Msg);
  void HandleDeferred(const AnsiString& Text);
  void GetNewComInfo(const String& Port);
  void GetNewVolInfo(const String& Name);
  Integer DriveVolumeWalk(TStringList* Drives, const String& Pnp);
  void AddFt232(const TQvComInfo& Info);
  void PostDeferred(const String& Text);

  HDEVNOTIFY FNotify = nullptr;
};
