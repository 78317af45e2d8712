#pragma once
// A system shared library opened on first use instead of at start-up: the
// network, SSH and archive libraries cost the program's start time and memory
// and most runs never need them. The library is found by its file name on the
// system loader's search path (LD_LIBRARY_PATH, then the loader's cache).
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class TSharedLibrary {
 public:
  // What: the library's part in the program, for the error text ("the network
  // library libcurl"). Names: the file names tried in turn.
  TSharedLibrary(std::string What, std::vector<std::string> Names);
  // The library stays loaded: its code may still run at exit (handlers it
  // registered, thread-local data).
  ~TSharedLibrary() = default;
  TSharedLibrary(const TSharedLibrary&) = delete;
  TSharedLibrary& operator=(const TSharedLibrary&) = delete;

  // Opens the library on the first call and lets BindFunctions look up its
  // functions (with Bind); answers whether the library and every function
  // were found. Later calls answer the first call's outcome. Thread-safe.
  bool Load(const std::function<void(TSharedLibrary&)>& BindFunctions);
  // Sets Slot to the function Name of the opened library; a missing function
  // leaves Slot nullptr and makes Load fail, naming it.
  template <class F>
  void Bind(F*& Slot, const char* Name) {
    Slot = reinterpret_cast<F*>(Symbol(Name));
  }
  bool Loaded() const { return FLoaded; }
  // Why Load failed: which library, the names tried, the loader's reason.
  const std::string& Error() const { return FError; }

 private:
  void* Symbol(const char* Name);

  std::string FWhat;
  std::vector<std::string> FNames;
  std::once_flag FOnce;
  void* FHandle = nullptr;
  std::string FFile;
  bool FLoaded = false;
  std::string FError;
};
