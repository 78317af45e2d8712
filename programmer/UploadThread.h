#pragma once
// TUploadThread: the worker of one bootloader-client operation. It opens the
// road (a serial line, or UDP through a WiFi module), runs the
// bootloader protocol and reports only by messages posted to the component's
// hidden window. The component owns it and joins it before it dies.
#include <atomic>
#include <string>

#include "platform/rtl/Thread.h"
#include "programmer/BootloadProtocol.h"

class TUploadThread : public TThread, public TBootloadHost {
 public:
  // Suspended; CanClose is the component's flag, set False now and True when the run is over.
  TUploadThread(HWND ParentHandle, std::atomic<bool>& CanClose, const String& OwnerHeader);
  // Stops and joins a running thread.
  ~TUploadThread() override;

  // Settings, written by the component before Start.
  String ComPort;
  String BaudRate;
  std::string WsadBin;
  std::string WsadHex;
  bool UseCRinRSTcommand = true;
  bool UseSoftReset = true;
  bool UseBluetooth = false;
  String SoftResetCmd;
  bool CheckBLS = false;
  bool UseKORVI_WIFI = false;
  bool GetWiFiList = false;
  String WifiPassword;
  String RemoteIP;
  String RemotePort;
  // The component's LocalIP, copied at the start (the thread never reads the component).
  String LocalIP;
  bool ResetDTR = false;
  bool ResetRTS = false;

  // The image bytes: WsadBin when not empty, else WsadHex decoded (EConvertError on a bad pair).
  std::string GetImage() const;

  // TBootloadHost
  void Delay(Cardinal Ms) override;
  void Post(UINT Msg, const String* Text, LPARAM LParam) override;
  Integer StopBadTarget() override { return FStopBadTarget.load(); }
  void SetStopBadTarget(Integer Value) override { FStopBadTarget.store(Value); }
  bool StopRequested() override { return Terminated(); }

 protected:
  void Execute() override;

 private:
  void SerialRoad();
  void UdpRoad();

  HWND FParentHandle;
  std::atomic<bool>& FCanClose;
  TBootloadHeader FHeader;
  std::atomic<Integer> FStopBadTarget{-1};
};
