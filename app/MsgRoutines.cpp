#include "app/MsgRoutines.h"

#include <vector>

#include "platform/rtl/Format.h"
#include "platform/vcl/Application.h"
#include "platform/win/Module.h"
#include "platform/win/Resources.h"
#include "platform/win/WinError.h"

namespace {
// The three names are one routine: the caller's flags choose the icon.
Integer ShowMsg(const String& Text, const String& Caption, Integer Flags) {
  if (Application == nullptr) return 0;
  return Application->MessageBox(Text, Caption, Flags);
}
}  // namespace

Integer ShowErrorMsg(const String& Text, const String& Caption, Integer Flags) { return ShowMsg(Text, Caption, Flags); }
Integer ShowInfoMsg(const String& Text, const String& Caption, Integer Flags) { return ShowMsg(Text, Caption, Flags); }
Integer ShowWarningMsg(const String& Text, const String& Caption, Integer Flags) { return ShowMsg(Text, Caption, Flags); }

String GetFileVersion(const String& FileName) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSize(FileName, &handle);
  if (size == 0) RaiseLastOSError();
  std::vector<std::uint8_t> buffer(size);
  if (!GetFileVersionInfo(FileName, handle, size, buffer.data())) RaiseLastOSError();
  const void* value = nullptr;
  UINT len = 0;
  if (!VerQueryValue(buffer.data(), u"\\", &value, &len) || len < sizeof(VS_FIXEDFILEINFO)) RaiseLastOSError();
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
  return Format(u"%d.%d.%d.%d", {Integer(info->dwFileVersionMS >> 16), Integer(info->dwFileVersionMS & 0xFFFF),
                                 Integer(info->dwFileVersionLS >> 16), Integer(info->dwFileVersionLS & 0xFFFF)});
}

String GetAppVersion() { return GetFileVersion(GetModuleFileName(nullptr)); }
