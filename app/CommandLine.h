#pragma once
// The two questions a Linux user asks any program from a terminal: --help
// and --version. Neither changes what the program does; any other argument
// is left for the toolkit, as before.
#include <optional>
#include <ostream>

// Answers --help (a short usage) or --version (the program's version) on
// Out and gives the exit code; nothing when neither is asked.
std::optional<int> AnswerInfoOptions(int argc, char** argv, std::ostream& Out);
