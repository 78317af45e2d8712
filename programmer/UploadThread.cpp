#include "programmer/UploadThread.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <thread>

#include "platform/rtl/Exceptions.h"
#include "platform/comm/SerialPorts.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/Clock.h"
#include "platform/win/WinError.h"
#include "platform/win/MessageLoop.h"
#include "programmer/FirmwareImage.h"
#include "programmer/SerialBootloadLink.h"
#include "programmer/UdpBootloadLink.h"
#include "transport/BlockSerial.h"

namespace {

void DisposeText(WPARAM wParam, LPARAM) { delete reinterpret_cast<String*>(wParam); }

}  // namespace

TUploadThread::TUploadThread(HWND ParentHandle, std::atomic<bool>& CanClose, const String& OwnerHeader)
    : TThread(true), FParentHandle(ParentHandle), FCanClose(CanClose), FHeader(SplitOwnerHeader(OwnerHeader)) {
  FCanClose = false;
}

TUploadThread::~TUploadThread() {
  // Execute uses this object's members: stop it before they go.
  if (Started() && !Finished()) {
    Terminate();
    try {
      WaitFor();
    } catch (...) {
      // Nothing may leave a destructor.
    }
  }
}

std::string TUploadThread::GetImage() const {
  if (!WsadBin.empty()) return WsadBin;
  return HexTextToBytes(WsadHex);
}

void TUploadThread::Delay(Cardinal Ms) {
  // Timed waits on the program's clock, in slices so a stop is seen soon.
  if (ClockIsVirtual()) {
    // A virtual clock moves by exactly the slice it is asked to sleep.
    while (Ms > 0 && !Terminated()) {
      const Cardinal step = Ms < 20 ? Ms : 20;
      Sleep(step);
      Ms -= step;
    }
    return;
  }
  // Each real sleep overshoots a little; slices aimed at one deadline keep
  // the overshoot from adding up over a long pause (400 ms would grow by ~1%).
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + milliseconds(Ms);
  for (auto now = steady_clock::now(); now < deadline && !Terminated(); now = steady_clock::now()) {
    std::this_thread::sleep_until(std::min(deadline, now + milliseconds(20)));
  }
}

void TUploadThread::Post(UINT Msg, const String* Text, LPARAM LParam) {
  const WPARAM payload = Text != nullptr ? reinterpret_cast<WPARAM>(new String(*Text)) : 0;
  PostMessage(FParentHandle, Msg, payload, LParam, Text != nullptr ? &DisposeText : nullptr);
}

void TUploadThread::Execute() {
  SetPriority(tpTimeCritical);
  if (UseKORVI_WIFI) {
    UdpRoad();
  } else {
    SerialRoad();
  }
  FCanClose = true;
}

void TUploadThread::SerialRoad() {
  TBlockSerial port;
  port.SetDeadlockTimeout(1000);
  SetPriority(tpHigher);
  try {
    // The image is taken inside the guarded part: a bad image text must still
    // end the run with a status (and let the owner close).
    std::string image = CheckBLS ? std::string() : GetImage();
    Delay(50);
    port.SetDeadlockTimeout(5000);
    port.SetRaiseExcept(false);
    const Integer baud = DecimalToIntDef(BaudRate, 9600);
    Integer error = 0;
    String errorText;
    for (int attempt = 1; attempt <= 3 && !Terminated(); ++attempt) {
      port.Connect(ComPort);
      if (port.LastError() == 0) port.Config(baud, 8, 'N', 0, false, false);
      error = port.LastError();
      errorText = port.LastErrorDesc();
      if (error == 0) break;
      port.CloseSocket();
      if (attempt < 3) Delay(500);
    }
    if (Terminated()) {
      port.CloseSocket();
      return;
    }
    TSerialBootloadLink link(port, ComPort);
    TBootloadEngine engine(link, *this, FHeader);
    if (error != 0) {
      // A port the user may not open: say which group owns it and how to join it.
      if (const String advice = error == ERROR_ACCESS_DENIED ? SerialPortAccessAdvice(ComPort) : String();
          !advice.empty()) {
        if (!errorText.ends_with(u'.')) errorText += u'.';
        errorText += u" " + advice;
      }
      engine.Fail(u"Port " + ComPort + u" error # " + errorText, error);
    } else {
      if (UseSoftReset) {
        if (UseBluetooth) Delay(2500);
        std::string command = StringToAnsi(Trim(SoftResetCmd));
        if (UseCRinRSTcommand) command += '\r';
        port.SendString(command);
      }
      engine.Run(CheckBLS, std::move(image));
    }
  } catch (...) {
    const String text = u"UART_Bootloader Thread exception error: " + CurrentExceptionMessage();
    Post(WM_QVBL_STATUS, &text, QVBL_ERR_FAILED);
    Post(WM_QVBL_ACTION_STATUS, nullptr, -1);
  }
  port.CloseSocket();
}

void TUploadThread::UdpRoad() {
  TUdpRoadSettings settings;
  settings.LocalIP = LocalIP;
  settings.RemoteIP = RemoteIP;
  settings.RemotePort = RemotePort;
  settings.UseSoftReset = UseSoftReset;
  settings.SoftResetCmd = SoftResetCmd;
  settings.UseCRinRSTcommand = UseCRinRSTcommand;
  settings.CheckBLS = CheckBLS;
  settings.GetWiFiList = GetWiFiList;
  settings.WifiPassword = WifiPassword;
  settings.Header = FHeader;
  RunUdpRoad(settings, [this] { return GetImage(); }, *this);
}
