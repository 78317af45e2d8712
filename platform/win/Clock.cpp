#include "platform/win/Clock.h"

#include <chrono>
#include <thread>

UInt64 GetTickCount64() {
  using namespace std::chrono;
  return static_cast<UInt64>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Cardinal GetTickCount() { return static_cast<Cardinal>(GetTickCount64()); }

void Sleep(Cardinal milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
