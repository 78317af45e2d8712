#include "ribbon/KeyTips.h"

#include <algorithm>

#include "platform/rtl/StrUtils.h"
#include "platform/win/Keyboard.h"

namespace ribbon {

bool TKeyTips::KeyToChar(Word Key, Char& Out) {
  if ((Key >= u'0' && Key <= u'9') || (Key >= u'A' && Key <= u'Z')) {
    Out = Char(Key);
    return true;
  }
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9) {
    Out = Char(u'0' + (Key - VK_NUMPAD0));
    return true;
  }
  return false;
}

bool TKeyTips::StartsWith(const String& B, const String& A) {
  if (A.size() > B.size()) return false;
  return SameText(StringView(B).substr(0, A.size()), A);
}

namespace {

bool Clash(const String& A, const String& B) { return TKeyTips::StartsWith(A, B) || TKeyTips::StartsWith(B, A); }

}  // namespace

std::vector<String> TKeyTips::MakeSound(const std::vector<String>& Wanted) {
  std::vector<String> out(Wanted.size());
  for (std::size_t i = 0; i < Wanted.size(); ++i) out[i] = UpperCase(Wanted[i]);
  // Groups by first character; a tip clashes only within its group.
  std::vector<bool> done(out.size(), false);
  static const String Seconds = u"123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (done[i] || out[i].empty()) continue;
    const Char first = out[i][0];
    std::vector<std::size_t> group;
    for (std::size_t j = i; j < out.size(); ++j)
      if (!done[j] && !out[j].empty() && out[j][0] == first) group.push_back(j);
    bool sound = true;
    for (std::size_t a = 0; a < group.size() && sound; ++a)
      for (std::size_t b = a + 1; b < group.size() && sound; ++b)
        if (Clash(out[group[a]], out[group[b]])) sound = false;
    for (std::size_t j : group) done[j] = true;
    if (sound) continue;
    // Every tip of the clashing group gets at least two characters, so no
    // one-letter tip can shadow the others.
    std::vector<String> taken;
    auto fits = [&taken](const String& T) {
      return std::none_of(taken.begin(), taken.end(), [&T](const String& U) { return Clash(T, U); });
    };
    // Tips of two characters or more keep their text first where it fits.
    std::vector<bool> kept(out.size(), false);
    for (std::size_t j : group)
      if (out[j].size() >= 2 && fits(out[j])) {
        taken.push_back(out[j]);
        kept[j] = true;
      }
    for (std::size_t j : group) {
      if (kept[j]) continue;
      String chosen;
      for (std::size_t k = 0; chosen.empty() && k < Seconds.size(); ++k) {
        const String candidate{first, Seconds[k]};
        if (fits(candidate)) chosen = candidate;
      }
      out[j] = chosen;
      if (!chosen.empty()) taken.push_back(chosen);
    }
  }
  return out;
}

Integer TKeyTips::VisibleCount() const { return Integer(std::count(FVisible.begin(), FVisible.end(), true)); }

bool TKeyTips::MenuKeyDown(Word Key, bool CanArm) {
  if (Key != VK_MENU && Key != VK_F10) {
    CancelArming();
    return false;
  }
  if (FState == TKeyTipState::Showing) {
    // A second press after the first was released leaves key-tip mode; a
    // press still held (repeat) changes nothing.
    if (FAltDown) return false;
    Hide();
    return true;
  }
  if (!CanArm) {
    CancelArming();
    return false;
  }
  if (FState == TKeyTipState::Idle) FDelay = 0;
  FState = TKeyTipState::Armed;
  FAltDown = true;
  FOnlyAlt = true;
  FArmKey = Key;
  return true;
}

void TKeyTips::CancelArming() {
  FOnlyAlt = false;
  if (FState == TKeyTipState::Armed) {
    FState = TKeyTipState::Idle;
    FDelay = 0;
  }
}

TKeyTipTick TKeyTips::Tick(bool AltDown, bool F10Down) {
  if (FState != TKeyTipState::Armed || !FOnlyAlt) {
    FDelay = 0;
    if (FState == TKeyTipState::Armed) FState = TKeyTipState::Idle;
    return TKeyTipTick::Stop;
  }
  if (!AltDown && !F10Down) {
    // Released alone: the tips show now.
    FDelay = 0;
    FOnlyAlt = false;
    FAltDown = false;
    FState = TKeyTipState::Idle;
    return TKeyTipTick::Activate;
  }
  FDelay += TimerInterval;
  if (FDelay >= HoldDelay && AltDown && FArmKey == VK_MENU) {
    // Held: the tips show while Alt is still down (it stays held).
    FDelay = 0;
    FOnlyAlt = false;
    FState = TKeyTipState::Idle;
    return TKeyTipTick::Activate;
  }
  return TKeyTipTick::Wait;
}

void TKeyTips::Show(TKeyTipLevel Level, const std::vector<String>& Wanted) {
  FState = TKeyTipState::Showing;
  FLevel = Level;
  FTyped.clear();
  FTips = MakeSound(Wanted);
  FVisible.assign(FTips.size(), false);
  for (std::size_t i = 0; i < FTips.size(); ++i) FVisible[i] = !FTips[i].empty();
}

void TKeyTips::Hide() {
  FState = TKeyTipState::Idle;
  FLevel = TKeyTipLevel::Tabs;
  FOnlyAlt = false;
  FDelay = 0;
  FTips.clear();
  FVisible.clear();
}

TKeyTipAnswer TKeyTips::Key(Word Key, Integer& Index) {
  Index = -1;
  if (FState != TKeyTipState::Showing) return TKeyTipAnswer::Ended;
  if (Key == VK_ESCAPE) {
    if (FLevel == TKeyTipLevel::Tabs) Hide();
    // Otherwise the owner shows the level before with its tips.
    return TKeyTipAnswer::Back;
  }
  Char c = 0;
  if (!KeyToChar(Key, c)) {
    Hide();
    return TKeyTipAnswer::Ended;
  }
  return Type(c, Index);
}

TKeyTipAnswer TKeyTips::Type(Char C, Integer& Index) {
  Index = -1;
  if (FState != TKeyTipState::Showing) return TKeyTipAnswer::Ended;
  FTyped += UpperCase(String(1, C));
  bool partial = false;
  for (std::size_t i = 0; i < FTips.size(); ++i) {
    if (!FVisible[i]) continue;
    if (SameText(FTips[i], FTyped)) {
      // Sound tips: no other can still match.
      Index = Integer(i);
      return TKeyTipAnswer::Matched;
    }
    if (StartsWith(FTips[i], FTyped))
      partial = true;
    else
      FVisible[i] = false;
  }
  if (partial) return TKeyTipAnswer::Partial;
  // No tip starts with what was typed: nothing left to show or to type.
  Hide();
  return TKeyTipAnswer::NoMatch;
}

}  // namespace ribbon
