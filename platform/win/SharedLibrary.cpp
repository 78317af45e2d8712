#include "platform/win/SharedLibrary.h"

#include <dlfcn.h>

#include <utility>

TSharedLibrary::TSharedLibrary(std::string What, std::vector<std::string> Names)
    : FWhat(std::move(What)), FNames(std::move(Names)) {}

bool TSharedLibrary::Load(const std::function<void(TSharedLibrary&)>& BindFunctions) {
  std::call_once(FOnce, [&] {
    std::string reasons;
    for (const std::string& name : FNames) {
      ::dlerror();
      FHandle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (FHandle != nullptr) {
        FFile = name;
        break;
      }
      const char* why = ::dlerror();
      if (!reasons.empty()) reasons += "; ";
      reasons += why != nullptr ? why : name + ": not found";
    }
    if (FHandle == nullptr) {
      std::string tried;
      for (const std::string& name : FNames) tried += (tried.empty() ? "" : ", ") + name;
      FError = "Cannot load " + FWhat + " (tried " + tried + "): " + reasons;
      return;
    }
    if (BindFunctions) BindFunctions(*this);
    FLoaded = FError.empty();
  });
  return FLoaded;
}

void* TSharedLibrary::Symbol(const char* Name) {
  if (FHandle == nullptr) return nullptr;
  ::dlerror();
  void* p = ::dlsym(FHandle, Name);
  if (p == nullptr && FError.empty()) FError = FWhat + " (" + FFile + ") has no function " + Name;
  return p;
}
