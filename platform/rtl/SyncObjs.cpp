#include "platform/rtl/SyncObjs.h"

#include <condition_variable>
#include <unordered_map>

// --- events ---

class TEvent::TEventObject final : public TWaitableObject {
 public:
  TEventObject(bool manualReset, bool initialState) : FManualReset(manualReset), FSignalled(initialState) {}

  void Set() {
    std::lock_guard<std::mutex> guard(FLock);
    FSignalled = true;
    if (FManualReset)
      FChanged.notify_all();
    else
      FChanged.notify_one();
  }

  void Reset() {
    std::lock_guard<std::mutex> guard(FLock);
    FSignalled = false;
  }

  DWORD Wait(Cardinal timeoutMs) override {
    std::unique_lock<std::mutex> lock(FLock);
    if (!WaitOnClock(lock, FChanged, timeoutMs, [this] { return FSignalled; })) return WAIT_TIMEOUT;
    if (!FManualReset) FSignalled = false;
    return WAIT_OBJECT_0;
  }

 private:
  std::mutex FLock;
  std::condition_variable FChanged;
  const bool FManualReset;
  bool FSignalled;
};

TEvent::TEvent() : TEvent(nullptr, true, false) {}

TEvent::TEvent(void*, bool ManualReset, bool InitialState, StringView)
    : FEvent(std::make_shared<TEventObject>(ManualReset, InitialState)) {
  FHandle = RegisterKernelObject(FEvent);
}

TEvent::~TEvent() { CloseHandle(FHandle); }

void TEvent::SetEvent() { FEvent->Set(); }

void TEvent::ResetEvent() { FEvent->Reset(); }

TWaitResult TEvent::WaitFor(Cardinal Timeout) {
  return FEvent->Wait(Timeout) == WAIT_OBJECT_0 ? wrSignaled : wrTimeout;
}

// --- semaphores ---

namespace {

struct TSemaphoreCore {
  std::mutex Lock;
  std::condition_variable Released;
  LONG Count;
  const LONG Maximum;
  TSemaphoreCore(LONG count, LONG maximum) : Count(count), Maximum(maximum) {}
};

// One handle; handles to one name share the core, which lives until the last
// of them is closed, as a named kernel object does.
class TSemaphoreObject final : public TWaitableObject {
 public:
  explicit TSemaphoreObject(std::shared_ptr<TSemaphoreCore> core) : Core(std::move(core)) {}

  DWORD Wait(Cardinal timeoutMs) override {
    std::unique_lock<std::mutex> lock(Core->Lock);
    if (!WaitOnClock(lock, Core->Released, timeoutMs, [this] { return Core->Count > 0; })) return WAIT_TIMEOUT;
    --Core->Count;
    return WAIT_OBJECT_0;
  }

  const std::shared_ptr<TSemaphoreCore> Core;
};

struct TSemaphoreNames {
  std::mutex Lock;
  std::unordered_map<String, std::weak_ptr<TSemaphoreCore>> Cores;
};

TSemaphoreNames& Names() {
  static auto* names = new TSemaphoreNames;
  return *names;
}

}  // namespace

HANDLE CreateSemaphore(void*, LONG InitialCount, LONG MaximumCount, const Char* Name) {
  if (MaximumCount < 1 || InitialCount < 0 || InitialCount > MaximumCount) return nullptr;
  std::shared_ptr<TSemaphoreCore> core;
  if (Name != nullptr && *Name != 0) {
    TSemaphoreNames& names = Names();
    std::lock_guard<std::mutex> guard(names.Lock);
    std::weak_ptr<TSemaphoreCore>& slot = names.Cores[String(Name)];
    core = slot.lock();
    if (!core) {
      core = std::make_shared<TSemaphoreCore>(InitialCount, MaximumCount);
      slot = core;
    }
    // Forget names whose last handle was closed, so the table stays small.
    std::erase_if(names.Cores, [](const auto& entry) { return entry.second.expired(); });
  } else {
    core = std::make_shared<TSemaphoreCore>(InitialCount, MaximumCount);
  }
  return RegisterKernelObject(std::make_shared<TSemaphoreObject>(std::move(core)));
}

BOOL ReleaseSemaphore(HANDLE Semaphore, LONG ReleaseCount, LONG* PreviousCount) {
  const auto object = LookupKernelObjectAs<TSemaphoreObject>(Semaphore);
  if (!object || ReleaseCount < 1) return 0;
  TSemaphoreCore& core = *object->Core;
  std::lock_guard<std::mutex> guard(core.Lock);
  if (ReleaseCount > core.Maximum - core.Count) return 0;
  if (PreviousCount != nullptr) *PreviousCount = core.Count;
  core.Count += ReleaseCount;
  core.Released.notify_all();
  return 1;
}

DWORD WaitForSingleObject(HANDLE Handle, DWORD Milliseconds) {
  const auto object = LookupKernelObjectAs<TWaitableObject>(Handle);
  if (!object) return WAIT_FAILED;
  return object->Wait(Milliseconds);
}
