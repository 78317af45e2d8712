#include "platform/win/Clipboard.h"

#include <mutex>
#include <vector>

#include "platform/rtl/Thread.h"
#include "platform/win/ClipboardInternal.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"

namespace {

struct TClipboardState {
  std::mutex Lock;
  std::map<UINT, String> Names;     // registered formats by number
  bool Open = false;
  TThreadID Owner{};
  int Opens = 0;
  TClipboardContent Content;        // what this process put there since the last empty
  TClipboardContent ProcessStore;   // the clipboard itself when no window system is at hand
  std::vector<HGLOBAL> Handed;      // blocks GetClipboardData gave out
};

TClipboardState& ClipboardState() {
  static TClipboardState* state = new TClipboardState();  // outlives every static user
  return *state;
}

bool OpenedHere(const TClipboardState& s) { return s.Open && s.Owner == GetCurrentThreadId(); }

const String* NameOf(const TClipboardState& s, UINT format) {
  auto it = s.Names.find(format);
  return it == s.Names.end() ? nullptr : &it->second;
}

void FreeHanded(TClipboardState& s) {
  for (HGLOBAL h : s.Handed) GlobalFree(h);
  s.Handed.clear();
}

std::optional<TBytes> Lookup(TClipboardState& s, const String& name) {
  if (ToolkitClipboardAvailable()) return ToolkitClipboardGet(name);
  auto it = s.ProcessStore.find(name);
  if (it == s.ProcessStore.end()) return std::nullopt;
  return it->second;
}

}  // namespace

// Format names and message names share one table of registered names, so a
// name has one number whichever way it was registered first.
UINT RegisterClipboardFormat(StringView lpszFormat) {
  const UINT format = RegisterWindowMessage(lpszFormat);
  if (format != 0) {
    auto& s = ClipboardState();
    std::lock_guard lock(s.Lock);
    s.Names.emplace(format, String(lpszFormat));
  }
  return format;
}

BOOL OpenClipboard(HWND) {
  auto& s = ClipboardState();
  std::lock_guard lock(s.Lock);
  if (s.Open && !OpenedHere(s)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  s.Open = true;
  s.Owner = GetCurrentThreadId();
  ++s.Opens;
  return TRUE;
}

BOOL CloseClipboard() {
  auto& s = ClipboardState();
  std::lock_guard lock(s.Lock);
  if (!OpenedHere(s)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  if (--s.Opens > 0) return TRUE;
  s.Open = false;
  FreeHanded(s);
  return TRUE;
}

BOOL EmptyClipboard() {
  auto& s = ClipboardState();
  std::lock_guard lock(s.Lock);
  if (!OpenedHere(s)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  s.Content.clear();
  if (ToolkitClipboardAvailable()) ToolkitClipboardSet(s.Content);
  else s.ProcessStore.clear();
  return TRUE;
}

HGLOBAL SetClipboardData(UINT uFormat, HGLOBAL hMem) {
  auto& s = ClipboardState();
  std::lock_guard lock(s.Lock);
  if (!OpenedHere(s)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  const String* name = NameOf(s, uFormat);
  const void* bytes = name ? GlobalLock(hMem) : nullptr;
  if (!bytes) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::size_t size = GlobalSize(hMem);
  const auto* first = static_cast<const std::uint8_t*>(bytes);
  s.Content[*name] = TBytes(first, first + size);
  GlobalUnlock(hMem);
  GlobalFree(hMem);  // the clipboard owns the block from here on
  if (ToolkitClipboardAvailable()) ToolkitClipboardSet(s.Content);
  else s.ProcessStore = s.Content;
  return hMem;
}

HGLOBAL GetClipboardData(UINT uFormat) {
  auto& s = ClipboardState();
  std::lock_guard lock(s.Lock);
  if (!OpenedHere(s)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  const String* name = NameOf(s, uFormat);
  std::optional<TBytes> data = name ? Lookup(s, *name) : std::nullopt;
  if (!data) {
    SetLastError(ERROR_NOT_FOUND);
    return nullptr;
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data->size());
  if (!block) return nullptr;
  if (!data->empty()) {
    auto* p = static_cast<std::uint8_t*>(GlobalLock(block));
    std::copy(data->begin(), data->end(), p);
    GlobalUnlock(block);
  }
  s.Handed.push_back(block);
  return block;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  auto& s = ClipboardState();
  std::lock_guard lock(s.Lock);
  const String* name = NameOf(s, format);
  return name && Lookup(s, *name) ? TRUE : FALSE;
}
