#include "programmer/QvMessage.h"

#include <mutex>

#include "platform/vcl/Dialogs.h"

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
  ShowMessage(Text);
}

void SetQvMessageSink(TQvMessageSink Sink) {
  std::lock_guard<std::mutex> lock(gLock);
  gSink = std::move(Sink);
}
