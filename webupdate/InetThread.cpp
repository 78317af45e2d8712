#include "webupdate/InetThread.h"

#include "webupdate/StatusTexts.h"
#include "webupdate/WebUpdate.h"

TInetThread::TInetThread(TWebUpdate* AWebUpdate, bool InitPath)
    : TThread(true), FWebUpdate(AWebUpdate), FInitPath(InitPath) {}

TInetThread::~TInetThread() { WaitForRun(); }

void TInetThread::WaitForRun() {
  if (Started() && !Finished()) WaitFor();
}

void TInetThread::Execute() {
  try {
    FWebUpdate->RunUpdate(FInitPath);
  } catch (const std::exception& e) {
    FWebUpdate->DoStatus(wsSystemError, Utf8ToString(e.what()), 1, 0);
  }
}
