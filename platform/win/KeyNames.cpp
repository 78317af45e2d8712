#include "platform/win/KeyNames.h"

#include <algorithm>

#include "platform/win/Keyboard.h"

namespace {

struct TKeyEntry {
  Word Vk;
  Byte Scan;
  bool Extended;  // the name belongs to the extended key of that scan code
  const Char* Name;
};

// Names of the keys; letters and digits are their characters.
constexpr TKeyEntry kKeyTable[] = {
    {VK_ESCAPE, 0x01, false, u"Esc"}, {VK_BACK, 0x0E, false, u"Backspace"}, {VK_TAB, 0x0F, false, u"Tab"},
    {VK_RETURN, 0x1C, false, u"Enter"}, {VK_CONTROL, 0x1D, false, u"Ctrl"}, {VK_SHIFT, 0x2A, false, u"Shift"},
    {VK_MENU, 0x38, false, u"Alt"}, {VK_SPACE, 0x39, false, u"Space"}, {VK_CAPITAL, 0x3A, false, u"Caps Lock"},
    {VK_NUMLOCK, 0x45, true, u"Num Lock"}, {VK_SCROLL, 0x46, false, u"Scroll Lock"},
    {VK_HOME, 0x47, true, u"Home"}, {VK_UP, 0x48, true, u"Up"}, {VK_PRIOR, 0x49, true, u"Page Up"},
    {VK_LEFT, 0x4B, true, u"Left"}, {VK_RIGHT, 0x4D, true, u"Right"}, {VK_END, 0x4F, true, u"End"},
    {VK_DOWN, 0x50, true, u"Down"}, {VK_NEXT, 0x51, true, u"Page Down"}, {VK_INSERT, 0x52, true, u"Insert"},
    {VK_DELETE, 0x53, true, u"Delete"}, {VK_MULTIPLY, 0x37, false, u"Num *"}, {VK_SUBTRACT, 0x4A, false, u"Num -"},
    {VK_ADD, 0x4E, false, u"Num +"}, {VK_DIVIDE, 0x35, true, u"Num /"}, {VK_APPS, 0x5D, true, u"Application"},
    {VK_PAUSE, 0x45, false, u"Pause"}, {0xBA, 0x27, false, u";"}, {0xBB, 0x0D, false, u"="},
    {0xBC, 0x33, false, u","}, {0xBD, 0x0C, false, u"-"}, {0xBE, 0x34, false, u"."}, {0xBF, 0x35, false, u"/"},
    {0xC0, 0x29, false, u"`"}, {0xDB, 0x1A, false, u"["}, {0xDC, 0x2B, false, u"\\"}, {0xDD, 0x1B, false, u"]"},
    {0xDE, 0x28, false, u"'"}};

// Scan codes of the letter and digit rows of the US layout.
constexpr char kLetterRows[] = "QWERTYUIOP\0\0\0\0ASDFGHJKL\0\0\0\0\0ZXCVBNM";  // from scan code 0x10

UINT LetterScan(Word vk) {
  for (UINT i = 0; i < sizeof(kLetterRows); ++i)
    if (kLetterRows[i] == char(vk)) return 0x10 + i;
  return 0;
}

}  // namespace

UINT MapVirtualKey(UINT Code, UINT MapType) {
  if (MapType == MAPVK_VK_TO_VSC) {
    if (Code >= 'A' && Code <= 'Z') return LetterScan(Word(Code));
    if (Code >= '1' && Code <= '9') return 0x02 + (Code - '1');
    if (Code == '0') return 0x0B;
    if (Code >= VK_F1 && Code <= VK_F10) return 0x3B + (Code - VK_F1);
    if (Code == VK_F11) return 0x57;
    if (Code == VK_F12) return 0x58;
    if (Code >= VK_NUMPAD0 && Code <= VK_NUMPAD0 + 9) {
      constexpr Byte pad[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
      return pad[Code - VK_NUMPAD0];
    }
    for (const TKeyEntry& e : kKeyTable)
      if (e.Vk == Code) return e.Scan;
    return 0;
  }
  if (MapType == MAPVK_VSC_TO_VK) {
    for (UINT vk = 1; vk < 256; ++vk)
      if (MapVirtualKey(vk, MAPVK_VK_TO_VSC) == Code) return vk;
  }
  return 0;
}

int GetKeyNameText(LPARAM LParam, Char* Buffer, int Size) {
  if (Buffer == nullptr || Size <= 0) return 0;
  const UINT scan = (UINT(LParam) >> 16) & 0xFF;
  const bool extended = (UINT(LParam) >> 24) & 1;
  String name;
  if (scan >= 0x10 && scan < 0x10 + sizeof(kLetterRows) && kLetterRows[scan - 0x10] != 0)
    name = String(1, Char(kLetterRows[scan - 0x10]));
  else if (scan >= 0x02 && scan <= 0x0B)
    name = String(1, Char(scan == 0x0B ? '0' : '1' + (scan - 0x02)));
  else if (scan >= 0x3B && scan <= 0x44)
    name = scan == 0x44 ? String(u"F10") : u"F" + String(1, Char('1' + (scan - 0x3B)));
  else if (scan == 0x57 || scan == 0x58)
    name = scan == 0x57 ? u"F11" : u"F12";
  if (name.empty()) {
    // The extended key's name when the table has one, else the plain key's.
    const TKeyEntry* plain = nullptr;
    for (const TKeyEntry& e : kKeyTable)
      if (e.Scan == scan) {
        if (e.Extended == extended) {
          plain = &e;
          break;
        }
        if (plain == nullptr) plain = &e;
      }
    if (plain != nullptr) name = plain->Name;
  }
  if (name.empty()) {
    Buffer[0] = 0;
    return 0;
  }
  const int n = std::min<int>(int(name.size()), Size - 1);
  std::copy_n(name.data(), n, Buffer);
  Buffer[n] = 0;
  return n;
}
