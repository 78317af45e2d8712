// The restart helper program: see RestartHelper.h.
#include <vector>

#include "platform/rtl/Types.h"
#include "webupdate/restart_helper/RestartHelper.h"

int main(int argc, char** argv) {
  std::vector<String> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8ToString(argv[i]));
  return RunRestartHelper(args);
}
