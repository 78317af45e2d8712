#pragma once
// The worker thread of TWebUpdate::DoThreadUpdate: its body is one update run.
#include "platform/rtl/Thread.h"

class TWebUpdate;

class TInetThread : public TThread {
 public:
  // Starts at once; the component owns the thread and outlives it.
  TInetThread(TWebUpdate* AWebUpdate, bool InitPath);
  ~TInetThread() override;
  // Waits until the run has ended (its OnTerminate included).
  void WaitForRun();

 protected:
  void Execute() override;

 private:
  TWebUpdate* FWebUpdate;
  bool FInitPath;
};
