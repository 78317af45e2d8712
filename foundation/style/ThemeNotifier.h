#pragma once
// The Office theme monitor: a watcher thread that waits for changes below the
// installed Office's "Common" key in the current user's registry and tells
// the registered windows with WM_OFFICETHEMECHANGED, and the process's one
// theme notifier that owns it.
//
// The registry store is this program's own, so only changes made in this
// process are seen (by another part of the program, or a test).
#include <memory>
#include <mutex>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Thread.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinReg.h"

class TRegistry;

// Sent (synchronously) with wParam = the watched root key and lParam = the
// watched key's text (a const Char*, valid during the call). Receivers treat
// it like WM_THEMECHANGED.
constexpr UINT WM_OFFICETHEMECHANGED = 2993;

// A list of window handles. Every operation takes the list's lock, so the
// watcher thread can read it while the user-interface thread changes it.
class THandleList {
 public:
  // Appends the handle; answers its index.
  Integer Add(HWND Value);
  // Removes the entry at Index; a bad index raises EListError "List index out of bounds (<n>)".
  void Delete(Integer Index);
  // Inserts before Index (0..Count); a bad index raises EListError.
  void Insert(Integer Index, HWND Value);
  bool HasValue(HWND Value) const;
  // Removes the first occurrence of the handle; nothing when absent.
  void DeleteValue(HWND Value);
  // The handle at Index; a bad index raises EListError.
  HWND Items(Integer Index) const;
  Integer Count() const;
  // A copy of the entries, in order.
  std::vector<HWND> Snapshot() const;

 private:
  mutable std::mutex FLock;
  std::vector<HWND> FItems;
};

// Watches a registry key (and with WatchSub its sub-keys) and sends
// WM_OFFICETHEMECHANGED to Wnd and then to every window of WinList, in list
// order, after each change. Created suspended; set the properties, then Start.
class TRegMonitorThread : public TThread {
 public:
  TRegMonitorThread();
  // Stops the loop and waits for the thread to end.
  ~TRegMonitorThread() override;

  // Ends the loop: marks the thread terminated and wakes it.
  void Stop();

  const String& Key() const { return FKey; }
  void SetKey(const String& Value) { FKey = Value; }
  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value) { FRootKey = Value; }
  bool WatchSub() const { return FWatchSub; }
  void SetWatchSub(bool Value) { FWatchSub = Value; }
  // REG_NOTIFY_CHANGE_* bits; 0 watches names, attributes, values and security.
  DWORD Filter() const { return FFilter; }
  void SetFilter(DWORD Value) { FFilter = Value; }
  HWND Wnd() const { return FWnd; }
  void SetWnd(HWND Value) { FWnd = Value; }
  THandleList& WinList() { return FWinList; }

 protected:
  // A key that cannot be opened ends the thread with ERegistryException
  // "Unable to open registry key <key>" (its FatalException).
  void Execute() override;

 private:
  bool Arm();

  std::unique_ptr<TRegistry> FReg;
  std::shared_ptr<TEvent> FEvent;
  String FKey;
  HKEY FRootKey = HKEY_CURRENT_USER;
  bool FWatchSub = false;
  DWORD FFilter = 0;
  HWND FWnd = nullptr;
  THandleList FWinList;
};

// A hidden window that turns theme messages into events: OnOfficeThemeChange
// on WM_OFFICETHEMECHANGED, OnThemeChange on WM_THEMECHANGED. Either message
// then gets the usual processing.
class TThemeNotifierWindow : public TComponent {
 public:
  explicit TThemeNotifierWindow(TComponent* AOwner);
  ~TThemeNotifierWindow() override;

  HWND Handle() const { return FHandle; }

  TNotifyEvent OnOfficeThemeChange;
  TNotifyEvent OnThemeChange;

 private:
  void WndProc(TMessage& Message);

  HWND FHandle = nullptr;
};

// The process's theme notifier. Only when an Office version from 12.0 on is
// installed (GetInstalledOfficeVersion 1 to 4) does it have a hidden window
// and a watcher on that version's "Common" key; otherwise registering does
// nothing and no message is ever sent.
class TThemeNotifier : public TComponent {
 public:
  explicit TThemeNotifier(TComponent* AOwner);
  // Stops the watcher and forgets the process's instance.
  ~TThemeNotifier() override;

  // nullptr when no Office version is watched.
  TRegMonitorThread* RegMonitorThread() const { return FRegMonitorThread.get(); }
  // The hidden window; nullptr when no Office version is watched.
  TThemeNotifierWindow* Notifier() const { return FNotifier; }

  // Adds the window to the watcher's list unless it is there; nothing without a watcher.
  void RegisterWindow(HWND Hwnd);
  // Removes the window from the list; nothing when absent.
  void UnRegisterWindow(HWND Hwnd);

  TNotifyEvent OnOfficeThemeChange;

 private:
  TThemeNotifierWindow* FNotifier = nullptr;
  std::unique_ptr<TRegMonitorThread> FRegMonitorThread;
};

// The process's notifier, made on first use, owned (and in time destroyed) by
// the application's main form when that has a window, else by AOwner. Later
// calls answer the same object until it is destroyed.
TThemeNotifier* GetThemeNotifier(TComponent* AOwner);
