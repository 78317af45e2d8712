#pragma once
// TKeyTips: the key-tip state machine of a ribbon, free of windows so that
// tests drive it with scripted keys and the virtual clock's ticks.
//
// States: Idle (nothing shows), Armed (Alt or F10 went down and waits to
// become key-tip mode: released alone, or Alt held for the hold delay) and
// Showing (tips show on one level and typed characters are collected).
// Levels: the pager's tabs, the active page's toolbars (their buttons), and
// the buttons of a compact toolbar's clone. The owner builds each level's
// tips, shows them and acts on what the machine answers.
#include <vector>

#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"

namespace ribbon {

enum class TKeyTipState { Idle, Armed, Showing };
enum class TKeyTipLevel { Tabs, ToolBars, Buttons };

// What a key did while the tips show.
enum class TKeyTipAnswer {
  Partial,  // the typed text starts some tips; the others are hidden
  Matched,  // one tip is complete: the owner runs its target
  NoMatch,  // nothing can match any more: key-tip mode has ended
  Back,     // Escape went back one level (to Idle from the tabs)
  Ended     // a key that is no key-tip key: key-tip mode has ended
};

// What a timer tick asks of the owner.
enum class TKeyTipTick { Wait, Stop, Activate };

class TKeyTips {
 public:
  // The timer runs at this interval while armed; Alt held this long shows the tips.
  static constexpr Cardinal TimerInterval = 50;
  static constexpr Cardinal HoldDelay = 700;

  // The one rule from a virtual key to a key-tip character, the same at
  // every level: letters A-Z and the digits, on the main keys or the
  // numeric keypad. Function keys, keypad operators and everything else type
  // nothing (false).
  static bool KeyToChar(Word Key, Char& Out);
  // Tips for one level as shown: upper case, none equal to another and none
  // the start of another. Sound groups (tips with the same first character)
  // keep their tips; in a group with a clash the tips of two characters or
  // more keep their text where it fits (in order), and each other tip
  // becomes the group's character followed by the first free of 1-9, A-Z. Empty tips stay
  // empty (no target), and so does a tip no free text is left for.
  static std::vector<String> MakeSound(const std::vector<String>& Wanted);
  // Case-insensitive: A starts B (or equals it).
  static bool StartsWith(const String& B, const String& A);

  TKeyTipState State() const { return FState; }
  TKeyTipLevel Level() const { return FLevel; }
  const String& Typed() const { return FTyped; }
  // The tips of the level as shown (sound), and which still show.
  const std::vector<String>& Tips() const { return FTips; }
  const std::vector<bool>& Visible() const { return FVisible; }
  Integer VisibleCount() const;
  // Alt (or F10) is held since it armed or showed the tips.
  bool AltHeld() const { return FAltDown; }
  bool TimerWanted() const { return FState == TKeyTipState::Armed; }
  Cardinal Delay() const { return FDelay; }

  // Alt or F10 went down. CanArm: the owner may show tips now (tab stop, an
  // active page, Alt not ignored, it can take the focus). True when the key
  // is taken: it armed, or a second press while the tips show ended them.
  bool MenuKeyDown(Word Key, bool CanArm);
  // Alt was released (key up with the shift state).
  void AltReleased() { FAltDown = false; }
  // Another key or an Alt combination: a pending arm is dropped.
  void CancelArming();
  // One timer tick with the keys' states now. Activate: show the tips now
  // (the owner calls Show, or Hide when it cannot show them).
  TKeyTipTick Tick(bool AltDown, bool F10Down);

  // Shows a level: the tips are made sound and the typed text is cleared.
  void Show(TKeyTipLevel Level, const std::vector<String>& Wanted);
  void Hide();
  // A key while the tips show. Index: the matched tip for Matched.
  TKeyTipAnswer Key(Word Key, Integer& Index);
  // A typed character while the tips show (Key without the key mapping).
  TKeyTipAnswer Type(Char C, Integer& Index);

 private:
  TKeyTipState FState = TKeyTipState::Idle;
  TKeyTipLevel FLevel = TKeyTipLevel::Tabs;
  bool FAltDown = false;
  bool FOnlyAlt = false;
  Word FArmKey = 0;
  Cardinal FDelay = 0;
  String FTyped;
  std::vector<String> FTips;
  std::vector<bool> FVisible;
};

}  // namespace ribbon
