#pragma once
// The class library's exception family. ClassName comes from the C++ type, so
// a handler can show "EConvertError" without each class repeating its name.
#include <exception>
#include <string>
#include <typeinfo>

#include "platform/rtl/Types.h"

// The unqualified name of a C++ class ("gdiplus::TGPPen" -> "TGPPen").
String ClassNameOf(const std::type_info& type);

class Exception : public std::exception {
 public:
  explicit Exception(String message = {});
  explicit Exception(std::string_view utf8Message);
  Exception(const char16_t* message) : Exception(String(message)) {}

  const String& Message() const { return FMessage; }
  void SetMessage(String message);
  String ClassName() const { return ClassNameOf(typeid(*this)); }
  // UTF-8 copy of the message, for logs and test output.
  const char* what() const noexcept override { return FWhat.c_str(); }

 private:
  String FMessage;
  std::string FWhat;
};

// Raised silently: handlers do not show it.
class EAbort : public Exception { public: using Exception::Exception; };
class EConvertError : public Exception { public: using Exception::Exception; };
class EListError : public Exception { public: using Exception::Exception; };
class EStringListError : public EListError { public: using EListError::EListError; };
class EInvalidCast : public Exception { public: using Exception::Exception; };
class EInvalidOperation : public Exception { public: using Exception::Exception; };
class EInvalidPointer : public Exception { public: using Exception::Exception; };
class EOutOfMemory : public Exception { public: using Exception::Exception; };
class EIntOverflow : public Exception { public: using Exception::Exception; };
class EMathError : public Exception { public: using Exception::Exception; };
class EInvalidOp : public EMathError { public: using EMathError::EMathError; };
class EDivByZero : public Exception { public: using Exception::Exception; };
class ERangeError : public Exception { public: using Exception::Exception; };
class EInOutError : public Exception { public: using Exception::Exception; };
class EArgumentException : public Exception { public: using Exception::Exception; };
class EArgumentOutOfRangeException : public EArgumentException { public: using EArgumentException::EArgumentException; };
class ENotSupportedException : public Exception { public: using Exception::Exception; };
class EComponentError : public Exception { public: using Exception::Exception; };
class EMenuError : public Exception { public: using Exception::Exception; };
class EThread : public Exception { public: using Exception::Exception; };
class EPropertyError : public Exception { public: using Exception::Exception; };
class EPropertyConvertError : public Exception { public: using Exception::Exception; };

class EStreamError : public Exception { public: using Exception::Exception; };
class EFileStreamError : public EStreamError { public: using EStreamError::EStreamError; };
class EFOpenError : public EFileStreamError { public: using EFileStreamError::EFileStreamError; };
class EFCreateError : public EFileStreamError { public: using EFileStreamError::EFileStreamError; };
class EFilerError : public EStreamError { public: using EStreamError::EStreamError; };
class EReadError : public EFilerError { public: using EFilerError::EFilerError; };
class EWriteError : public EFilerError { public: using EFilerError::EFilerError; };
class EClassNotFound : public EFilerError { public: using EFilerError::EFilerError; };
// A resource the program asked for by name or number is missing.
class EResNotFound : public Exception { public: using Exception::Exception; };
class EIniFileException : public Exception { public: using Exception::Exception; };

// An operating-system error with its error number.
class EOSError : public Exception {
 public:
  EOSError(String message, Cardinal errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
  Cardinal ErrorCode;
};
