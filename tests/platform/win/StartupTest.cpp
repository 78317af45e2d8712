#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/win/Startup.h"

namespace {

struct TRecorder {
  std::vector<std::string> Log;
  void Add(TUnitSequence& units, const std::string& name, bool failInit = false, bool failFinal = false) {
    units.Add(
        Utf8ToString(name),
        [=, this] {
          Log.push_back("init " + name);
          if (failInit) throw EInvalidOperation(u"cannot start " + Utf8ToString(name));
        },
        [=, this] {
          Log.push_back("final " + name);
          if (failFinal) throw EInvalidOperation(u"cannot stop");
        });
  }
};

TEST(Startup, InitialisesInOrderOnceAndFinalisesInReverse) {
  TUnitSequence units;
  TRecorder r;
  r.Add(units, "sockets");
  r.Add(units, "gdiplus", false, true);  // a failing finalisation does not stop the others
  r.Add(units, "colours");
  units.Initialize();
  units.Initialize();
  EXPECT_THROW(r.Add(units, "late"), EInvalidOperation);
  units.Finalize();
  units.Finalize();
  EXPECT_EQ(r.Log, (std::vector<std::string>{"init sockets", "init gdiplus", "init colours", "final colours",
                                             "final gdiplus", "final sockets"}));
  EXPECT_EQ(units.Names(), (std::vector<String>{u"sockets", u"gdiplus", u"colours"}));
}

TEST(Startup, FailedInitialisationUndoesTheUnitsBeforeIt) {
  TUnitSequence units;
  TRecorder r;
  r.Add(units, "a");
  r.Add(units, "b");
  r.Add(units, "c", true);
  r.Add(units, "d");
  EXPECT_THROW(units.Initialize(), EInvalidOperation);
  units.Finalize();  // nothing left to finalise
  EXPECT_EQ(r.Log, (std::vector<std::string>{"init a", "init b", "init c", "final b", "final a"}));
}

TEST(Startup, RunProgramWrapsTheMainBlock) {
  TUnitSequence units;
  TRecorder r;
  r.Add(units, "platform");
  EXPECT_EQ(RunProgram([&] { r.Log.push_back("main"); }, units), 0);
  EXPECT_EQ(r.Log, (std::vector<std::string>{"init platform", "main", "final platform"}));

  TUnitSequence failing;
  TRecorder f;
  f.Add(failing, "platform");
  EXPECT_EQ(RunProgram([] { throw EInvalidOperation(u"main block failed"); }, failing), 1);
  EXPECT_EQ(f.Log, (std::vector<std::string>{"init platform", "final platform"}));
}

}  // namespace
