#include "app/CommandLine.h"

#include <cstring>

#include "app/MsgRoutines.h"
#include "platform/rtl/Exceptions.h"

std::optional<int> AnswerInfoOptions(int argc, char** argv, std::ostream& Out) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      Out << "Usage: ryxupdater [--help | --version]\n"
             "Brings the firmware of the RYX USB AVR programmer up to date and keeps\n"
             "itself up to date. Started without arguments it opens its window.\n"
             "  --help     show this text and exit\n"
             "  --version  show the program's version and exit\n"
             "Environment: RYX_UPDATE_URL replaces the address of the update control file.\n";
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      try {
        Out << "ryxupdater " << StringToUtf8(GetAppVersion()) << "\n";
        return 0;
      } catch (const Exception& e) {
        Out << "ryxupdater: no version record (" << StringToUtf8(e.Message()) << ")\n";
        return 1;
      }
    }
  }
  return std::nullopt;
}
