// The key-tip state machine on its own: scripted keys, the timer's ticks as
// the virtual clock would deliver them, and the tips it makes sound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/win/Keyboard.h"
#include "ribbon/KeyTips.h"

namespace ribbon {
namespace {

std::string U8(const String& S) { return std::string(S.begin(), S.end()); }

TEST(KeyTips, OneCharacterRuleAtEveryLevel) {
  struct TCase {
    Word Key;
    Char Expected;  // 0: no key-tip key
  };
  const TCase cases[] = {
      {'A', u'A'}, {'Z', u'Z'}, {'0', u'0'}, {'9', u'9'},
      {VK_NUMPAD0, u'0'}, {VK_NUMPAD0 + 1, u'1'}, {VK_NUMPAD0 + 5, u'5'}, {VK_NUMPAD0 + 9, u'9'},
      // Keypad operators and function keys type no letters.
      {VK_MULTIPLY, 0}, {VK_ADD, 0}, {VK_SUBTRACT, 0}, {VK_DECIMAL, 0}, {VK_DIVIDE, 0},
      {VK_F1, 0}, {VK_F10, 0}, {VK_F1 + 10, 0}, {VK_F12, 0},
      {VK_SPACE, 0}, {VK_LEFT, 0}, {VK_ESCAPE, 0}, {VK_MENU, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key);
    Char out = 0;
    EXPECT_EQ(TKeyTips::KeyToChar(c.Key, out), c.Expected != 0);
    if (c.Expected != 0) {
      EXPECT_EQ(out, c.Expected);
    }
  }
}

TEST(KeyTips, SoundTipsAreUniqueAndPrefixFree) {
  struct TCase {
    std::vector<String> Wanted;
    std::vector<String> Expected;
  };
  const TCase cases[] = {
      {{u"H", u"I", u"N"}, {u"H", u"I", u"N"}},
      {{u"ha", u"hb"}, {u"HA", u"HB"}},
      // A one-letter tip shadowing a longer one: both get two characters.
      {{u"HA", u"H"}, {u"HA", u"H1"}},
      {{u"H", u"HA"}, {u"H1", u"HA"}},
      // Duplicates.
      {{u"B", u"B", u"B"}, {u"B1", u"B2", u"B3"}},
      {{u"FP", u"FP", u"X"}, {u"FP", u"F1", u"X"}},
      // A longer tip that a shorter one starts.
      {{u"HAB", u"HA"}, {u"HAB", u"H1"}},
      // Empty tips stay empty and clash with nothing.
      {{u"", u"A", u""}, {u"", u"A", u""}},
      // A derived tip never takes one that is already given.
      {{u"H1", u"H", u"H"}, {u"H1", u"H2", u"H3"}},
  };
  for (const TCase& c : cases) {
    const std::vector<String> got = TKeyTips::MakeSound(c.Wanted);
    ASSERT_EQ(got.size(), c.Expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(U8(got[i]), U8(c.Expected[i])) << "tip " << i;
  }
}

TEST(KeyTips, SoundTipsHoldForManyClashes) {
  // More clashing tips than free second characters: the rest get none, and
  // whatever is given stays unique and prefix-free.
  std::vector<String> wanted(60, u"Q");
  wanted.push_back(u"QQ");
  const std::vector<String> got = TKeyTips::MakeSound(wanted);
  for (std::size_t i = 0; i < got.size(); ++i)
    for (std::size_t j = 0; j < got.size(); ++j)
      if (i != j && !got[i].empty() && !got[j].empty()) {
        EXPECT_FALSE(TKeyTips::StartsWith(got[j], got[i]));
      }
  EXPECT_EQ(U8(got.back()), "QQ");
}

// One step of a script: an input and what the machine answers.
enum class TIn { AltDown, F10Down, AltUp, Other, Tick, ShowTabs, Key };
struct TStep {
  TIn In;
  Word Key = 0;
  bool Alt = false, F10 = false;  // key states for a tick
  TKeyTipState State;
  TKeyTipTick Tick = TKeyTipTick::Wait;  // for ticks
  TKeyTipAnswer Answer = TKeyTipAnswer::Partial;  // for keys
  Integer Index = -1;
};

void RunScript(const char* Name, const std::vector<TStep>& Steps, const std::vector<String>& Tabs) {
  SCOPED_TRACE(Name);
  TKeyTips k;
  int n = 0;
  for (const TStep& s : Steps) {
    SCOPED_TRACE(n++);
    switch (s.In) {
      case TIn::AltDown: k.MenuKeyDown(VK_MENU, true); break;
      case TIn::F10Down: k.MenuKeyDown(VK_F10, true); break;
      case TIn::AltUp: k.AltReleased(); break;
      case TIn::Other: k.CancelArming(); break;
      case TIn::Tick: EXPECT_EQ(k.Tick(s.Alt, s.F10), s.Tick); break;
      case TIn::ShowTabs: k.Show(TKeyTipLevel::Tabs, Tabs); break;
      case TIn::Key: {
        Integer index = -2;
        EXPECT_EQ(k.Key(s.Key, index), s.Answer);
        if (s.Answer == TKeyTipAnswer::Matched) {
          EXPECT_EQ(index, s.Index);
        }
        break;
      }
    }
    EXPECT_EQ(k.State(), s.State);
  }
}

TEST(KeyTips, ArmingTable) {
  using S = TKeyTipState;
  using T = TKeyTipTick;
  const std::vector<String> tabs{u"F", u"H"};
  // Alt pressed and released within the hold delay: tips at the release.
  RunScript("release", {{TIn::AltDown, 0, false, false, S::Armed},
                  {TIn::Tick, 0, true, false, S::Armed, T::Wait},
                  {TIn::Tick, 0, true, false, S::Armed, T::Wait},
                  {TIn::Tick, 0, false, false, S::Idle, T::Activate}},
      tabs);
  // F10 behaves the same way.
  RunScript("F10", {{TIn::F10Down, 0, false, false, S::Armed},
              {TIn::Tick, 0, false, true, S::Armed, T::Wait},
              {TIn::Tick, 0, false, false, S::Idle, T::Activate}},
      tabs);
  // An Alt combination drops the arm.
  RunScript("combination", {{TIn::AltDown, 0, false, false, S::Armed},
                      {TIn::Other, 0, false, false, S::Idle},
                      {TIn::Tick, 0, true, false, S::Idle, T::Stop}},
      tabs);
  // A second Alt while the tips show (after a release) ends them; while
  // Alt is still held from the first press nothing changes.
  TKeyTips k;
  k.MenuKeyDown(VK_MENU, true);
  k.Show(TKeyTipLevel::Tabs, tabs);
  EXPECT_FALSE(k.MenuKeyDown(VK_MENU, true));
  EXPECT_EQ(k.State(), TKeyTipState::Showing);
  k.AltReleased();
  EXPECT_TRUE(k.MenuKeyDown(VK_MENU, true));
  EXPECT_EQ(k.State(), TKeyTipState::Idle);
  // Not allowed to arm (no active page, Alt ignored...): nothing.
  TKeyTips off;
  EXPECT_FALSE(off.MenuKeyDown(VK_MENU, false));
  EXPECT_EQ(off.State(), TKeyTipState::Idle);
}

TEST(KeyTips, HoldingAltShowsAfterTheHoldDelay) {
  TKeyTips k;
  k.MenuKeyDown(VK_MENU, true);
  Cardinal held = 0;
  TKeyTipTick t = TKeyTipTick::Wait;
  while (t == TKeyTipTick::Wait && held < 5000) {
    t = k.Tick(true, false);
    held += TKeyTips::TimerInterval;
  }
  EXPECT_EQ(t, TKeyTipTick::Activate);
  EXPECT_EQ(held, TKeyTips::HoldDelay);
  EXPECT_TRUE(k.AltHeld());
  // F10 held never shows the tips by the delay alone.
  TKeyTips f;
  f.MenuKeyDown(VK_F10, true);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(f.Tick(false, true), TKeyTipTick::Wait);
}

TEST(KeyTips, TypedKeysTable) {
  using S = TKeyTipState;
  using A = TKeyTipAnswer;
  struct TCase {
    const char* Name;
    std::vector<String> Tabs;
    std::vector<Word> Keys;
    std::vector<A> Answers;
    Integer Matched;  // index of the final match, -1 none
    S End;
  };
  const TCase cases[] = {
      {"one letter", {u"F", u"H", u"N"}, {'H'}, {A::Matched}, 1, S::Showing},
      {"two letters", {u"HA", u"HB"}, {'H', 'B'}, {A::Partial, A::Matched}, 1, S::Showing},
      // The shadowing tip became H1: typing H waits, A runs the first.
      {"prefix made sound", {u"HA", u"H"}, {'H', 'A'}, {A::Partial, A::Matched}, 0, S::Showing},
      {"prefix made sound, second", {u"HA", u"H"}, {'H', '1'}, {A::Partial, A::Matched}, 1, S::Showing},
      {"keypad digit", {u"1", u"2"}, {VK_NUMPAD0 + 2}, {A::Matched}, 1, S::Showing},
      {"keypad zero", {u"0", u"2"}, {VK_NUMPAD0}, {A::Matched}, 0, S::Showing},
      // A key that begins no tip ends the mode (nothing could match any more).
      {"no match", {u"F", u"H"}, {'X'}, {A::NoMatch}, -1, S::Idle},
      {"no match after partial", {u"HA", u"HB"}, {'H', 'X'}, {A::Partial, A::NoMatch}, -1, S::Idle},
      // A function key or keypad operator is no letter: the mode ends.
      {"function key", {u"P", u"Q"}, {VK_F1}, {A::Ended}, -1, S::Idle},
      {"keypad operator", {u"J", u"K"}, {VK_MULTIPLY}, {A::Ended}, -1, S::Idle},
      {"escape at the tabs", {u"F"}, {VK_ESCAPE}, {A::Back}, -1, S::Idle},
      {"lower-case tips", {u"fp", u"fq"}, {'F', 'Q'}, {A::Partial, A::Matched}, 1, S::Showing},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TKeyTips k;
    k.Show(TKeyTipLevel::Tabs, c.Tabs);
    Integer index = -1;
    for (std::size_t i = 0; i < c.Keys.size(); ++i) EXPECT_EQ(k.Key(c.Keys[i], index), c.Answers[i]) << i;
    EXPECT_EQ(index, c.Matched);
    EXPECT_EQ(k.State(), c.End);
  }
}

TEST(KeyTips, PartialMatchHidesTheOthers) {
  TKeyTips k;
  k.Show(TKeyTipLevel::ToolBars, {u"FA", u"FB", u"G", u""});
  EXPECT_EQ(k.VisibleCount(), 3);
  Integer index = -1;
  EXPECT_EQ(k.Key('F', index), TKeyTipAnswer::Partial);
  EXPECT_EQ(k.Visible(), (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(U8(k.Typed()), "F");
  EXPECT_EQ(k.Key('B', index), TKeyTipAnswer::Matched);
  EXPECT_EQ(index, 1);
  // Escape below the tabs goes back a level: the owner shows the level before.
  k.Show(TKeyTipLevel::Buttons, {u"A"});
  EXPECT_EQ(k.Key(VK_ESCAPE, index), TKeyTipAnswer::Back);
  EXPECT_EQ(k.State(), TKeyTipState::Showing);
}

}  // namespace
}  // namespace ribbon
