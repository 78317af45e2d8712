#include "platform/rtl/Exceptions.h"

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <memory>

String ClassNameOf(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(
      abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
  std::string full = (status == 0 && name) ? std::string(name.get()) : std::string(type.name());
  // Drop template arguments and namespaces: the class library knows plain names.
  if (auto lt = full.find('<'); lt != std::string::npos) full.erase(lt);
  if (auto colon = full.rfind("::"); colon != std::string::npos) full.erase(0, colon + 2);
  return AnsiToString(full);
}

Exception::Exception(String message) : FMessage(std::move(message)), FWhat(StringToUtf8(FMessage)) {}

Exception::Exception(std::string_view utf8Message) : Exception(Utf8ToString(utf8Message)) {}

void Exception::SetMessage(String message) {
  FMessage = std::move(message);
  FWhat = StringToUtf8(FMessage);
}

namespace {

String CurrentExceptionText(bool withClassName) {
  if (!std::current_exception()) return {};
  try {
    throw;
  } catch (const Exception& e) {
    return withClassName ? e.ClassName() + u": " + e.Message() : e.Message();
  } catch (const std::exception& e) {
    return Utf8ToString(e.what());
  } catch (...) {
    return u"unknown exception";
  }
}

}  // namespace

String CurrentExceptionMessage() { return CurrentExceptionText(false); }
String CurrentExceptionReport() { return CurrentExceptionText(true); }
