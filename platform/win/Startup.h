#pragma once
// The program's start-up and shut-down: one explicit, ordered list of unit
// initialisations, run once before the main block, and their finalisations,
// run in reverse order at the end. The program's main registers every unit
// here; no unit starts itself through a static initialiser.
#include <functional>
#include <vector>

#include "platform/rtl/Types.h"

using TUnitProc = std::function<void()>;

class TUnitSequence {
 public:
  // Appends a unit; either procedure may be empty. Raises EInvalidOperation
  // once the sequence has been initialised.
  void Add(String Name, TUnitProc Initialization, TUnitProc Finalization = {});
  // Runs the initialisations in order, once (later calls do nothing). When
  // one raises, the units already initialised are finalised in reverse order
  // and the exception goes on to the caller.
  void Initialize();
  // Runs the finalisations of the initialised units in reverse order, once.
  // An exception from one is written to stderr and the others still run.
  void Finalize();
  bool Initialized() const { return FInitialized; }
  // Names in registration order.
  std::vector<String> Names() const;

 private:
  struct TUnit {
    String Name;
    TUnitProc Initialization;
    TUnitProc Finalization;
  };
  void FinalizeFirst(std::size_t count);

  std::vector<TUnit> FUnits;
  std::size_t FDone = 0;  // units whose initialisation completed
  bool FInitialized = false;
};

// The program's own sequence.
TUnitSequence& ProgramUnits();

// Runs the program: initialises the units, runs MainBlock, finalises the
// units. An exception from the initialisation or the main block is written to
// stderr (class and message) and gives exit code 1; otherwise 0.
int RunProgram(const std::function<void()>& MainBlock, TUnitSequence& Units = ProgramUnits());
