#include "tests/support/BootloaderSimulator.h"

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace test_support {

namespace {

using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr char kReady = '?';
constexpr char kPrefix = 'u';
constexpr char kInfo = 'i';
constexpr char kWrite = 'w';
constexpr char kPageRequest = '@';
constexpr char kPageMark = 0x01;
constexpr char kEnd = 0x00;
// What a confused target prints instead of its prompt: never '?', never 0.
constexpr char kGarbage[] = "#x%~";

}  // namespace

TBootloaderSimulator::TBootloaderSimulator(TBootloaderOptions options) : FOptions(std::move(options)) {
  FThread = std::thread([this] { Run(); });
}

TBootloaderSimulator::~TBootloaderSimulator() {
  FStop = true;
  if (FThread.joinable()) FThread.join();
}

std::string TBootloaderSimulator::DescriptionText() const {
  if (!FOptions.Description.empty()) return FOptions.Description;
  return "&" + std::to_string(FOptions.PageSize) + "," + FOptions.BootloaderAddress + "," +
         FOptions.Microcontroller + "," + FOptions.ClockHz + "," + FOptions.Version;
}

std::string TBootloaderSimulator::Image() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FImage;
}

std::string TBootloaderSimulator::Received() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FReceived;
}

int TBootloaderSimulator::ResetCount() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FResets;
}

int TBootloaderSimulator::PagesReceived() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FPages;
}

int TBootloaderSimulator::UploadsCompleted() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FUploads;
}

int TBootloaderSimulator::FramingErrors() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FFramingErrors;
}

bool TBootloaderSimulator::Dropped() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FDropped;
}

bool TBootloaderSimulator::Holding() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FHolding;
}

void TBootloaderSimulator::Release() {
  std::lock_guard<std::mutex> guard(FLock);
  FReleased = true;
  FChanged.notify_all();
}

bool TBootloaderSimulator::WaitUntil(const std::function<bool(const TBootloaderSimulator&)>& condition,
                                     int timeoutMs) const {
  const auto deadline = SteadyClock::now() + milliseconds(timeoutMs);
  for (;;) {
    if (condition(*this)) return true;
    std::unique_lock<std::mutex> lock(FLock);
    if (FChanged.wait_until(lock, std::min(deadline, SteadyClock::now() + milliseconds(20))) ==
            std::cv_status::timeout &&
        SteadyClock::now() >= deadline) {
      lock.unlock();
      return condition(*this);
    }
  }
}

bool TBootloaderSimulator::WaitForUploads(int count, int timeoutMs) const {
  return WaitUntil([count](const TBootloaderSimulator& s) { return s.UploadsCompleted() >= count; }, timeoutMs);
}

// Sleeps to the moment itself (one wake-up for a paced exchange), in steps
// short enough that stopping is never held up long. A real line is never
// late: a sleeping thread wakes up to a tenth of a millisecond after its
// time on a busy machine, so the sleep ends a little early and the rest is
// waited out awake, lest the simulator's lateness pass for the host's.
void TBootloaderSimulator::Pause(SteadyClock::duration span) {
  constexpr auto kWakeMargin = std::chrono::microseconds(250);
  const auto until = SteadyClock::now() + span;
  while (!FStop && SteadyClock::now() < until - kWakeMargin) {
    std::this_thread::sleep_until(std::min(until - kWakeMargin, SteadyClock::now() + milliseconds(50)));
  }
  while (!FStop && SteadyClock::now() < until) std::this_thread::yield();
}

void TBootloaderSimulator::Send(const std::string& bytes) {
  if (FOptions.Silent || FState == TState::Dead || bytes.empty()) return;
  if (FOptions.BaudRate > 0) {
    // The bytes reach the host when their last stop bit has gone over the wire.
    const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / FOptions.BaudRate);
    FWireFree = std::max(FWireFree, SteadyClock::now()) + byteTime * static_cast<long>(bytes.size());
    Pause(FWireFree - SteadyClock::now());
  }
  FPty.Write(bytes);
}

void TBootloaderSimulator::SendPageRequest(int index) {
  if (index == FOptions.MissingPageRequest) return;
  if (FOptions.LatePageRequestMs > 0 && index >= FOptions.LateFromRequest) {
    Pause(milliseconds(FOptions.LatePageRequestMs));
  }
  Send(std::string(1, kPageRequest));
}

void TBootloaderSimulator::Drop() {
  FState = TState::Dead;
  {
    // Marked before the line dies, so a host that sees the hang-up also sees Dropped.
    std::lock_guard<std::mutex> guard(FLock);
    FDropped = true;
    FChanged.notify_all();
  }
  FPty.Close();
}

// Waits for Release (or the simulator's end) with the page request unsent.
void TBootloaderSimulator::Hold() {
  std::unique_lock<std::mutex> lock(FLock);
  if (FReleased) return;
  FHolding = true;
  FChanged.notify_all();
  while (!FReleased && !FStop) FChanged.wait_for(lock, milliseconds(50));
  FHolding = false;
  FChanged.notify_all();
}

void TBootloaderSimulator::Feed(char byte) {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FReceived += byte;
  }
  if (FState == TState::Receiving) {
    if (FInFrame) {
      FFrame += byte;
      if (static_cast<int>(FFrame.size()) == FOptions.PageSize) {
        int pages;
        {
          std::lock_guard<std::mutex> guard(FLock);
          FImage += FFrame;
          pages = ++FPages;
          FChanged.notify_all();
        }
        FFrame.clear();
        FInFrame = false;
        if (pages == FOptions.DropAfterPages) {
          Drop();
          return;
        }
        if (pages == FOptions.HoldAfterPages) Hold();
        SendPageRequest(FRequests++);
      }
    } else if (byte == kPageMark) {
      FInFrame = true;
    } else if (byte == kEnd) {
      FState = TState::Application;
      std::lock_guard<std::mutex> guard(FLock);
      ++FUploads;
      FChanged.notify_all();
    } else {
      std::lock_guard<std::mutex> guard(FLock);
      ++FFramingErrors;
    }
    return;
  }

  FTail += byte;
  if (FTail.size() > FOptions.ResetCommand.size()) FTail.erase(0, FTail.size() - FOptions.ResetCommand.size());
  if (!FOptions.ResetCommand.empty() && FTail == FOptions.ResetCommand) {
    FTail.clear();
    FState = TState::Prompting;
    std::lock_guard<std::mutex> guard(FLock);
    ++FResets;
    FChanged.notify_all();
    return;
  }
  switch (FState) {
    case TState::Prompting:
    case TState::Describing:
      if (byte == kPrefix) {
        FState = TState::Describing;
      } else if (byte == kInfo) {
        std::string reply = DescriptionText();
        if (!FOptions.NoEndMarker) reply += FOptions.EndMarker;
        FState = TState::Ready;
        Send(reply);
      }
      break;
    case TState::Ready:
      if (byte == kWrite) {
        {
          std::lock_guard<std::mutex> guard(FLock);
          FImage.clear();
          FPages = 0;
        }
        FState = TState::Receiving;
        FInFrame = false;
        FFrame.clear();
        FRequests = 0;
        SendPageRequest(FRequests++);
      }
      break;
    default:
      break;
  }
}

void TBootloaderSimulator::Run() {
  // Paced bytes are due to the microsecond: the default timer slack (50 us
  // per sleep) would be counted as wire time.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  auto nextPrompt = SteadyClock::now();
  std::size_t garbageIndex = 0;
  char buffer[4096];
  while (!FStop && FState != TState::Dead) {
    // A prompting target speaks on its own schedule: wait no longer than its next prompt.
    int waitMs = 5;
    if (FState == TState::Prompting) {
      const auto left = std::chrono::ceil<milliseconds>(nextPrompt - SteadyClock::now()).count();
      waitMs = static_cast<int>(std::clamp<long long>(left, 0, 5));
    }
    pollfd p{FPty.MasterFd(), POLLIN, 0};
    const int ready = ::poll(&p, 1, waitMs);
    // POLLHUP without data: no one has the port open; wait for the next open.
    const bool slaveOpen = !(ready > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN));
    if (ready > 0 && (p.revents & POLLIN)) {
      const ssize_t n = ::read(FPty.MasterFd(), buffer, sizeof buffer);
      if (n > 0) {
        if (FOptions.BaudRate > 0) {
          // The bytes hold the wire for their time; whatever they make the
          // target say waits for that in Send, so an exchange costs one sleep.
          const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / FOptions.BaudRate);
          FWireFree = std::max(FWireFree, SteadyClock::now()) + byteTime * n;
        }
        for (ssize_t i = 0; i < n && FState != TState::Dead && !FStop; ++i) Feed(buffer[i]);
        continue;
      }
    }
    if (!slaveOpen) {
      std::this_thread::sleep_for(milliseconds(2));
      continue;
    }
    if (FState == TState::Prompting && SteadyClock::now() >= nextPrompt) {
      if (FOptions.GarbagePrompts) {
        Send(std::string(1, kGarbage[garbageIndex++ % (sizeof kGarbage - 1)]));
      } else {
        Send(std::string(1, kReady));
      }
      nextPrompt = SteadyClock::now() + milliseconds(std::max(FOptions.PromptIntervalMs, 1));
    }
  }
}

}  // namespace test_support
