#include "programmer/QvMessage.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex gLock;
TQvMessageSink gSink;
}  // namespace

void QvShowMessage(const String& Text) {
  TQvMessageSink sink;
  {
    std::lock_guard<std::mutex> lock(gLock);
    sink = gSink;
  }
  if (sink) {
    sink(Text);
    return;
  }
  std::fprintf(stderr, "%s\n", StringToUtf8(Text).c_str());
}

void SetQvMessageSink(TQvMessageSink Sink) {
  std::lock_guard<std::mutex> lock(gLock);
  gSink = std::move(Sink);
}
