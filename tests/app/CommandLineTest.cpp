// --help and --version answer and end; any other start opens the window.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

std::optional<int> Ask(std::vector<std::string> args, std::string& out) {
  args.insert(args.begin(), "ryxupdater");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::ostringstream text;
  const std::optional<int> code = AnswerInfoOptions(int(args.size()), argv.data(), text);
  out = text.str();
  return code;
}

TEST(CommandLine, HelpAndVersionAnswerAndEndEverythingElseStarts) {
  struct TCase {
    std::vector<std::string> Args;
    std::optional<int> Code;
    std::string Printed;  // the start of what is printed
  };
  const TCase cases[] = {
      {{}, std::nullopt, ""},
      {{"--help"}, 0, "Usage: ryxupdater"},
      {{"-h"}, 0, "Usage: ryxupdater"},
      {{"--version"}, 0, "ryxupdater 1.0.0.7\n"},
      {{"-platform", "offscreen", "--version"}, 0, "ryxupdater 1.0.0.7\n"},
      {{"-platform", "offscreen"}, std::nullopt, ""},
  };
  for (const TCase& c : cases) {
    std::string out;
    EXPECT_EQ(Ask(c.Args, out), c.Code) << testing::PrintToString(c.Args);
    EXPECT_EQ(out.substr(0, c.Printed.size()), c.Printed);
    if (c.Printed.empty()) {
      EXPECT_EQ(out, "");
    }
  }
}

}  // namespace
