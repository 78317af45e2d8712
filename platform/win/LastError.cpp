#include "platform/win/LastError.h"

#include <string>

namespace {

thread_local DWORD tLastError = 0;

struct ErrorText {
  DWORD code;
  const char16_t* text;
};

// The texts Windows gives for the numbers this layer produces.
constexpr ErrorText kErrorTexts[] = {
    {ERROR_SUCCESS, u"The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified."},
    {ERROR_ACCESS_DENIED, u"Access is denied."},
    {ERROR_INVALID_HANDLE, u"The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, u"Not enough memory resources are available to process this command."},
    {ERROR_BAD_COMMAND, u"The device does not recognize the command."},
    {ERROR_WRITE_FAULT, u"The system cannot write to the specified device."},
    {ERROR_READ_FAULT, u"The system cannot read from the specified device."},
    {ERROR_GEN_FAILURE, u"A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION, u"The process cannot access the file because it is being used by another process."},
    {ERROR_NOT_SUPPORTED, u"The request is not supported."},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect."},
    {ERROR_SEM_TIMEOUT, u"The semaphore timeout period has expired."},
    {ERROR_INVALID_NAME, u"The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_NO_MORE_ITEMS, u"No more data is available."},
    {WAIT_TIMEOUT, u"The wait operation timed out."},
    {ERROR_OPERATION_ABORTED, u"The I/O operation has been aborted because of either a thread exit or an application request."},
    {ERROR_IO_INCOMPLETE, u"Overlapped I/O event is not in a signaled state."},
    {ERROR_IO_PENDING, u"Overlapped I/O operation is in progress."},
    {ERROR_DEVICE_NOT_CONNECTED, u"The device is not connected."},
};

}  // namespace

DWORD GetLastError() { return tLastError; }

void SetLastError(DWORD code) { tLastError = code; }

String SystemErrorMessage(DWORD code) {
  for (const ErrorText& e : kErrorTexts) {
    if (e.code == code) return e.text;
  }
  return u"System error " + AnsiToString(std::to_string(code)) + u".";
}
