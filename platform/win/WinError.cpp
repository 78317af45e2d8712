#include "platform/win/WinError.h"

#include <cerrno>
#include <string>

#include "platform/net/WinInet.h"
#include "platform/rtl/Exceptions.h"

namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;

struct ErrorText {
  DWORD Code;
  const char16_t* Text;
};

// One table for the family: the numbers the layer reports and their texts.
constexpr ErrorText kErrorTexts[] = {
    {ERROR_SUCCESS, u"The operation completed successfully"},
    {ERROR_INVALID_FUNCTION, u"Incorrect function"},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified"},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified"},
    {ERROR_TOO_MANY_OPEN_FILES, u"The system cannot open the file"},
    {ERROR_ACCESS_DENIED, u"Access is denied"},
    {ERROR_INVALID_HANDLE, u"The handle is invalid"},
    {ERROR_NOT_ENOUGH_MEMORY, u"Not enough memory resources are available to process this command"},
    {ERROR_BAD_FORMAT, u"An attempt was made to load a program with an incorrect format"},
    {ERROR_INVALID_DATA, u"The data is invalid"},
    {ERROR_OUTOFMEMORY, u"Not enough memory resources are available to complete this operation"},
    {ERROR_NOT_SAME_DEVICE, u"The system cannot move the file to a different disk drive"},
    {ERROR_NO_MORE_FILES, u"There are no more files"},
    {ERROR_WRITE_PROTECT, u"The media is write protected"},
    {ERROR_NOT_READY, u"The device is not ready"},
    {ERROR_WRITE_FAULT, u"The system cannot write to the specified device"},
    {ERROR_READ_FAULT, u"The system cannot read from the specified device"},
    {ERROR_GEN_FAILURE, u"A device attached to the system is not functioning"},
    {ERROR_SHARING_VIOLATION, u"The process cannot access the file because it is being used by another process"},
    {ERROR_LOCK_VIOLATION, u"The process cannot access the file because another process has locked a portion of the file"},
    {ERROR_HANDLE_EOF, u"Reached the end of the file"},
    {ERROR_HANDLE_DISK_FULL, u"The disk is full"},
    {ERROR_NOT_SUPPORTED, u"The request is not supported"},
    {ERROR_FILE_EXISTS, u"The file exists"},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect"},
    {ERROR_BROKEN_PIPE, u"The pipe has been ended"},
    {ERROR_OPEN_FAILED, u"The system cannot open the device or file specified"},
    {ERROR_BUFFER_OVERFLOW, u"The file name is too long"},
    {ERROR_DISK_FULL, u"There is not enough space on the disk"},
    {ERROR_CALL_NOT_IMPLEMENTED, u"This function is not supported on this system"},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area passed to a system call is too small"},
    {ERROR_INVALID_NAME, u"The filename, directory name, or volume label syntax is incorrect"},
    {ERROR_MOD_NOT_FOUND, u"The specified module could not be found"},
    {ERROR_PROC_NOT_FOUND, u"The specified procedure could not be found"},
    {ERROR_DIR_NOT_EMPTY, u"The directory is not empty"},
    {ERROR_BAD_PATHNAME, u"The specified path is invalid"},
    {ERROR_BUSY, u"The requested resource is in use"},
    {ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists"},
    {ERROR_BAD_EXE_FORMAT, u"The file is not a valid application"},
    {ERROR_FILENAME_EXCED_RANGE, u"The filename or extension is too long"},
    {ERROR_MORE_DATA, u"More data is available"},
    {ERROR_NO_MORE_ITEMS, u"No more data is available"},
    {ERROR_DIRECTORY, u"The directory name is invalid"},
    {ERROR_NOACCESS, u"Invalid access to memory location"},
    {ERROR_CANTOPEN, u"The configuration registry key could not be opened"},
    {ERROR_CANTREAD, u"The configuration registry key could not be read"},
    {ERROR_CANTWRITE, u"The configuration registry key could not be written"},
    {ERROR_INVALID_MENU_HANDLE, u"Invalid menu handle"},
    {ERROR_POPUP_ALREADY_ACTIVE, u"Popup menu already active"},
    {ERROR_CLIPBOARD_NOT_OPEN, u"Thread does not have a clipboard open"},
    {ERROR_KEY_DELETED, u"Illegal operation attempted on a registry key that has been marked for deletion"},
    {ERROR_CHILD_MUST_BE_VOLATILE, u"Cannot create a stable subkey under a volatile parent key"},
    {ERROR_NOT_FOUND, u"Element not found"},
    {ERROR_TIMEOUT, u"This operation returned because the timeout period expired"},
    {ERROR_RESOURCE_DATA_NOT_FOUND, u"The specified image file did not contain a resource section"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, u"The specified resource type cannot be found in the image file"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, u"The specified resource name cannot be found in the image file"},
    {ERROR_RESOURCE_LANG_NOT_FOUND, u"The specified resource language ID cannot be found in the image file"},
    // The Internet layer's numbers (platform/net/WinInet.h).
    {ERROR_INTERNET_TIMEOUT, u"The operation timed out"},
    {ERROR_INTERNET_EXTENDED_ERROR, u"The server returned extended information"},
    {ERROR_INTERNET_INTERNAL_ERROR, u"An internal error occurred in the Internet layer"},
    {ERROR_INTERNET_INVALID_URL, u"The URL is invalid"},
    {ERROR_INTERNET_UNRECOGNIZED_SCHEME, u"The URL does not use a recognized protocol"},
    {ERROR_INTERNET_NAME_NOT_RESOLVED, u"The server name or address could not be resolved"},
    {ERROR_INTERNET_INVALID_OPTION, u"The option is invalid"},
    {ERROR_INTERNET_BAD_OPTION_LENGTH, u"The length of the option is incorrect for the option type"},
    {ERROR_INTERNET_LOGIN_FAILURE, u"The login attempt failed"},
    {ERROR_INTERNET_INCORRECT_HANDLE_TYPE, u"The type of handle supplied is incorrect for this operation"},
    {ERROR_INTERNET_CANNOT_CONNECT, u"A connection with the server could not be established"},
    {ERROR_INTERNET_CONNECTION_ABORTED, u"The connection with the server was terminated abnormally"},
    {ERROR_INTERNET_CONNECTION_RESET, u"The connection with the server was reset"},
    {ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR, u"A redirect from a secure to a non-secure connection was refused"},
    {ERROR_INTERNET_INVALID_CA, u"The certificate authority is invalid or incorrect"},
    {ERROR_FTP_TRANSFER_IN_PROGRESS, u"There is already an FTP request in progress on this connection"},
    {ERROR_HTTP_HEADER_NOT_FOUND, u"The requested header could not be located"},
    {ERROR_HTTP_INVALID_SERVER_RESPONSE, u"The server response could not be parsed"},
    {ERROR_HTTP_INVALID_QUERY_REQUEST, u"The request to query the header was invalid"},
    {ERROR_HTTP_REDIRECT_FAILED, u"The redirection failed"},
    {ERROR_INTERNET_SECURITY_CHANNEL_ERROR, u"The secure connection could not be established"},
};

}  // namespace

DWORD GetLastError() { return tLastError; }

void SetLastError(DWORD errorCode) { tLastError = errorCode; }

DWORD ErrnoToWinError(int errnoValue) {
  switch (errnoValue) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EIO: return ERROR_GEN_FAILURE;
    case EBUSY:
    case ETXTBSY: return ERROR_BUSY;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENOSYS: return ERROR_CALL_NOT_IMPLEMENTED;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EISDIR: return ERROR_ACCESS_DENIED;
    case ELOOP: return ERROR_BAD_PATHNAME;
    case ETIMEDOUT: return ERROR_TIMEOUT;
    case EAGAIN: return ERROR_LOCK_VIOLATION;
    case EOPNOTSUPP: return ERROR_NOT_SUPPORTED;
    default: return ERROR_GEN_FAILURE;
  }
}

DWORD SetLastErrorFromErrno(int errnoValue) {
  const DWORD code = ErrnoToWinError(errnoValue);
  SetLastError(code);
  return code;
}

String SysErrorMessage(DWORD errorCode) {
  for (const auto& e : kErrorTexts) {
    if (e.Code == errorCode) return e.Text;
  }
  return u"Unknown error (" + Utf8ToString(std::to_string(errorCode)) + u")";
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(DWORD errorCode) {
  if (errorCode == ERROR_SUCCESS) throw EOSError(u"A call to an OS function failed", 0);
  throw EOSError(SysErrorMessage(errorCode), errorCode);
}

namespace {

struct FullErrorText {
  DWORD code;
  const char16_t* text;
};

// The texts Windows gives for the numbers this layer produces.
constexpr FullErrorText kFullErrorTexts[] = {
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

String SystemErrorMessage(DWORD errorCode) {
  for (const FullErrorText& e : kFullErrorTexts) {
    if (e.code == errorCode) return e.text;
  }
  return SysErrorMessage(errorCode) + u".";
}
