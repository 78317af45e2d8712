#include "platform/win/Keyboard.h"

#include <array>
#include <cstring>

namespace {

// Touched on the user-interface thread only, like the input it records.
std::array<Byte, 256>& Keys() {
  static std::array<Byte, 256> keys{};
  return keys;
}

bool IsLockKey(Word vk) { return vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL; }

}  // namespace

short GetKeyState(int VirtKey) {
  if (VirtKey < 0 || VirtKey > 255) return 0;
  const Byte k = Keys()[std::size_t(VirtKey)];
  return short(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

short GetAsyncKeyState(int VirtKey) { return short(GetKeyState(VirtKey) & 0x8000); }

void SetKeyStateDown(Word VirtKey, bool Down) {
  if (VirtKey > 255) return;
  Byte& k = Keys()[VirtKey];
  const bool wasDown = (k & 0x80) != 0;
  if (Down && !wasDown && IsLockKey(VirtKey)) k ^= 0x01;
  k = Byte((k & 0x01) | (Down ? 0x80 : 0));
  // The side-neutral codes follow their left and right keys.
  Word neutral = 0;
  if (VirtKey == VK_LSHIFT || VirtKey == VK_RSHIFT) neutral = VK_SHIFT;
  if (VirtKey == VK_LCONTROL || VirtKey == VK_RCONTROL) neutral = VK_CONTROL;
  if (VirtKey == VK_LMENU || VirtKey == VK_RMENU) neutral = VK_MENU;
  if (neutral != 0) Keys()[neutral] = Byte((Keys()[neutral] & 0x01) | (Down ? 0x80 : 0));
}

void ResetKeyboardState() { Keys().fill(0); }
