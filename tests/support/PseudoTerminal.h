#pragma once
// Test fixtures for the serial road: the far end of a pseudo-terminal pair and
// a scoped port alias.
#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

namespace test_support {

// Owns the master side of a pseudo-terminal pair; the slave device is the
// "serial port" a test opens. The line is raw, so every byte passes as is.
class TPseudoTerminal {
 public:
  // Throws std::runtime_error when no pair can be made.
  TPseudoTerminal();
  ~TPseudoTerminal();
  TPseudoTerminal(const TPseudoTerminal&) = delete;
  TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

  // "/dev/pts/N"
  const std::string& SlavePath() const { return FSlavePath; }
  // -1 once closed.
  int MasterFd() const { return FMaster; }
  // Writes every byte, waiting up to five seconds for room; false on failure.
  bool Write(std::string_view bytes);
  // Reads until `count` bytes are there or `timeoutMs` passes; answers what came.
  std::string Read(std::size_t count, int timeoutMs);
  // Reads whatever arrives until the line stays quiet for `quietMs`.
  std::string Drain(int quietMs);
  // Closes the master: the slave sees the device vanish.
  void Close();

 private:
  int FMaster = -1;
  std::string FSlavePath;
};

// An alias "COMn" -> device for the lifetime of the object.
class TScopedSerialAlias {
 public:
  TScopedSerialAlias(String name, const std::string& device);
  ~TScopedSerialAlias();
  TScopedSerialAlias(const TScopedSerialAlias&) = delete;
  TScopedSerialAlias& operator=(const TScopedSerialAlias&) = delete;
  bool Added() const { return FAdded; }

 private:
  String FName;
  bool FAdded = false;
};

}  // namespace test_support
