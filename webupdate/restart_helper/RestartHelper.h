#pragma once
// The restart helper ("upd"): started by TWebUpdate::DoRestart with the
// command line "<pid> L|X <app> <params> <temp folder> <component>...", it
// waits for the program's process to end, installs the components from the
// temporary folder into the program's folder, logs what it does and starts the
// program again (unless the program is "null").
//
// The install is one transaction over several files: each new file is staged
// beside its target and flushed, a journal in the program's folder records
// the stage, then every target is swapped in by rename with the old file kept
// as a hard link until all swaps are done. RecoverInstall finishes what a
// killed helper left: before the commit it puts every old file back, after
// it removes the leftovers; either way the folder holds exactly the old or
// exactly the new set of files.
#include <vector>

#include "platform/rtl/Types.h"

struct TRestartRequest {
  Integer Pid = 0;
  bool Logging = false;
  String App;  // "null": do not start anything
  String Params;
  String TempDir;
  std::vector<String> Components;
};

// Reads the helper's arguments (already split by CommandLineToArgs: the
// quoting rules DoRestart writes with). False with a text in error for a
// missing part, a bad process id, or a component that is not a plain file
// name ("", ".", "..", or with a folder delimiter).
bool ParseRestartArguments(const std::vector<String>& args, TRestartRequest& request, String& error);
// The command line DoRestart writes for these parts: every argument quoted
// except the process id and the mode letter.
String BuildRestartCommandLine(const TRestartRequest& request);

// Installs tempDir/name for every name over programDir/name as one
// transaction (see above). False with a text when a file is missing or a
// step fails; the folder then holds the old files again.
bool InstallComponents(const String& programDir, const String& tempDir, const std::vector<String>& names,
                       String& error);
// Completes or undoes an interrupted install of programDir; true when there
// was nothing to do or it succeeded.
bool RecoverInstall(const String& programDir);

// The whole helper run with its arguments (argv without the program name);
// answers the process's exit code. "--recover <folder>" only runs RecoverInstall.
int RunRestartHelper(const std::vector<String>& args);
