#include "foundation/style/ThemeNotifier.h"

#include <algorithm>

#include "foundation/style/ThemeDetection.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/rtl/Registry.h"

namespace {

TThemeNotifier* GThemeNotifier = nullptr;

[[noreturn]] void IndexError(Integer Index) {
  throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

}  // namespace

// ---- THandleList ----

Integer THandleList::Add(HWND Value) {
  std::lock_guard lock(FLock);
  FItems.push_back(Value);
  return static_cast<Integer>(FItems.size()) - 1;
}

void THandleList::Delete(Integer Index) {
  std::lock_guard lock(FLock);
  if (Index < 0 || Index >= static_cast<Integer>(FItems.size())) IndexError(Index);
  FItems.erase(FItems.begin() + Index);
}

void THandleList::Insert(Integer Index, HWND Value) {
  std::lock_guard lock(FLock);
  if (Index < 0 || Index > static_cast<Integer>(FItems.size())) IndexError(Index);
  FItems.insert(FItems.begin() + Index, Value);
}

bool THandleList::HasValue(HWND Value) const {
  std::lock_guard lock(FLock);
  return std::find(FItems.begin(), FItems.end(), Value) != FItems.end();
}

void THandleList::DeleteValue(HWND Value) {
  std::lock_guard lock(FLock);
  if (auto it = std::find(FItems.begin(), FItems.end(), Value); it != FItems.end()) FItems.erase(it);
}

HWND THandleList::Items(Integer Index) const {
  std::lock_guard lock(FLock);
  if (Index < 0 || Index >= static_cast<Integer>(FItems.size())) IndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

Integer THandleList::Count() const {
  std::lock_guard lock(FLock);
  return static_cast<Integer>(FItems.size());
}

std::vector<HWND> THandleList::Snapshot() const {
  std::lock_guard lock(FLock);
  return FItems;
}

// ---- TRegMonitorThread ----

// The event exists from the start, so a Stop that comes before the thread
// has begun still wakes it.
TRegMonitorThread::TRegMonitorThread()
    : TThread(true), FEvent(std::make_shared<TEvent>(nullptr, true, false, u"RegMonitorChange")) {}

TRegMonitorThread::~TRegMonitorThread() {
  if (Started()) {
    Stop();
    WaitFor();
  }
}

void TRegMonitorThread::Stop() {
  Terminate();
  FEvent->SetEvent();
}

bool TRegMonitorThread::Arm() {
  // The registry calls the signal when the key changes or its handle closes;
  // it holds the event itself, so a late signal never reaches a dead object.
  std::shared_ptr<TEvent> event = FEvent;
  return RegNotifyChangeKeyValue(FReg->CurrentKey(), FWatchSub,
                                 FFilter == 0 ? DWORD{15} : FFilter,
                                 [event] { event->SetEvent(); }, true) == ERROR_SUCCESS;
}

void TRegMonitorThread::Execute() {
  FReg = std::make_unique<TRegistry>(KEY_READ);
  FReg->SetRootKey(FRootKey);
  if (!FReg->OpenKeyReadOnly(FKey)) throw ERegistryException(u"Unable to open registry key " + FKey);
  Arm();
  while (!Terminated()) {
    if (FEvent->WaitFor(INFINITE) != wrSignaled) continue;
    if (Terminated()) break;
    // Re-armed before the windows are told, so a change made while they
    // handle the message is not lost.
    FEvent->ResetEvent();
    Arm();
    const WPARAM root = reinterpret_cast<WPARAM>(FRootKey);
    const LPARAM key = reinterpret_cast<LPARAM>(FKey.c_str());
    if (FWnd != nullptr) SendMessage(FWnd, WM_OFFICETHEMECHANGED, root, key);
    // A copy: a window may unregister itself while it handles the message.
    for (HWND wnd : FWinList.Snapshot()) SendMessage(wnd, WM_OFFICETHEMECHANGED, root, key);
  }
  FReg.reset();
}

// ---- TThemeNotifierWindow ----

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* AOwner) : TComponent(AOwner) {
  FHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
}

TThemeNotifierWindow::~TThemeNotifierWindow() { DeallocateHWnd(FHandle); }

void TThemeNotifierWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_OFFICETHEMECHANGED && OnOfficeThemeChange) OnOfficeThemeChange(this);
  if (Message.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
  Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---- TThemeNotifier ----

TThemeNotifier::TThemeNotifier(TComponent* AOwner) : TComponent(AOwner) {
  static const Char* const kKeys[] = {u"Software\\Microsoft\\Office\\12.0\\Common",
                                      u"Software\\Microsoft\\Office\\14.0\\Common",
                                      u"Software\\Microsoft\\Office\\15.0\\Common",
                                      u"Software\\Microsoft\\Office\\16.0\\Common"};
  const Integer version = GetInstalledOfficeVersion();
  if (version < 1 || version > 4) return;
  FNotifier = new TThemeNotifierWindow(this);
  FNotifier->OnOfficeThemeChange = [this](TObject*) {
    if (OnOfficeThemeChange) OnOfficeThemeChange(this);
  };
  // Owned here rather than freeing itself: a watcher that ended early (its
  // key could not be opened) must not leave a dangling pointer behind.
  FRegMonitorThread = std::make_unique<TRegMonitorThread>();
  FRegMonitorThread->SetWnd(FNotifier->Handle());
  FRegMonitorThread->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
  FRegMonitorThread->SetKey(kKeys[version - 1]);
  FRegMonitorThread->SetRootKey(HKEY_CURRENT_USER);
  FRegMonitorThread->SetWatchSub(true);
  FRegMonitorThread->Start();
}

TThemeNotifier::~TThemeNotifier() {
  FRegMonitorThread.reset();  // stops and joins before the hidden window goes
  if (GThemeNotifier == this) GThemeNotifier = nullptr;
}

void TThemeNotifier::RegisterWindow(HWND Hwnd) {
  if (FRegMonitorThread && !FRegMonitorThread->WinList().HasValue(Hwnd)) FRegMonitorThread->WinList().Add(Hwnd);
}

void TThemeNotifier::UnRegisterWindow(HWND Hwnd) {
  if (FRegMonitorThread) FRegMonitorThread->WinList().DeleteValue(Hwnd);
}

TThemeNotifier* GetThemeNotifier(TComponent* AOwner) {
  if (GThemeNotifier == nullptr) {
    TCustomForm* mainForm = Application != nullptr ? Application->MainForm() : nullptr;
    GThemeNotifier = new TThemeNotifier(mainForm != nullptr && mainForm->HandleAllocated() ? mainForm : AOwner);
  }
  return GThemeNotifier;
}
