#include "platform/win/Startup.h"

#include <iostream>

#include "platform/rtl/Exceptions.h"

namespace {

void ReportCurrent(const char* where) { std::cerr << where << ": " << StringToUtf8(CurrentExceptionReport()) << '\n'; }

}  // namespace

void TUnitSequence::Add(String Name, TUnitProc Initialization, TUnitProc Finalization) {
  if (FInitialized) throw EInvalidOperation(u"Unit " + Name + u" registered after start-up");
  FUnits.push_back({std::move(Name), std::move(Initialization), std::move(Finalization)});
}

void TUnitSequence::Initialize() {
  if (FInitialized) return;
  FInitialized = true;
  for (FDone = 0; FDone < FUnits.size(); ++FDone) {
    try {
      if (FUnits[FDone].Initialization) FUnits[FDone].Initialization();
    } catch (...) {
      FinalizeFirst(FDone);
      FDone = 0;
      throw;
    }
  }
}

void TUnitSequence::Finalize() {
  FinalizeFirst(FDone);
  FDone = 0;
}

void TUnitSequence::FinalizeFirst(std::size_t count) {
  for (std::size_t i = count; i-- > 0;) {
    try {
      if (FUnits[i].Finalization) FUnits[i].Finalization();
    } catch (...) {
      ReportCurrent(("finalization of " + StringToUtf8(FUnits[i].Name)).c_str());
    }
  }
}

std::vector<String> TUnitSequence::Names() const {
  std::vector<String> names;
  for (const TUnit& unit : FUnits) names.push_back(unit.Name);
  return names;
}

TUnitSequence& ProgramUnits() {
  static TUnitSequence units;
  return units;
}

int RunProgram(const std::function<void()>& MainBlock, TUnitSequence& units) {
  try {
    units.Initialize();
  } catch (...) {
    ReportCurrent("start-up");
    return 1;
  }
  int code = 0;
  try {
    if (MainBlock) MainBlock();
  } catch (...) {
    ReportCurrent("program");
    code = 1;
  }
  units.Finalize();
  return code;
}
