// Window data: the subclass chain of a window's procedure (removal in either
// order), CallWindowProc, the user value and the failure answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"
#include "platform/win/WindowData.h"

namespace {

using Log = std::vector<std::string>;

// A subclasser as the Parts write one: it keeps the token it replaced and
// passes every message on to it.
struct TSubclasser {
  TSubclasser(HWND Wnd, std::string Name, Log& L) : FWnd(Wnd), FName(std::move(Name)), FLog(L) {
    FInstance = MakeObjectInstance([this](TMessage& m) {
      FLog.push_back(FName);
      m.Result = CallWindowProc(FOld, FWnd, m.Msg, m.WParam, m.LParam) + 1;
    });
    FOld = SetWindowLong(FWnd, GWL_WNDPROC, FInstance);
  }
  void Remove() { SetWindowLong(FWnd, GWL_WNDPROC, FOld); }
  ~TSubclasser() { FreeObjectInstance(FInstance); }
  HWND FWnd;
  std::string FName;
  Log& FLog;
  WNDPROC FInstance = 0, FOld = 0;
};

TEST(WindowData, SubclassersRemovedInEitherOrderLeaveTheOthersWorking) {
  for (const bool firstOutFirst : {true, false}) {
    Log log;
    HWND h = AllocateHWnd([&](TMessage& m) {
      log.push_back("own");
      m.Result = 100;
    });
    const WNDPROC own = GetWindowLong(h, GWL_WNDPROC);
    {
      TSubclasser a(h, "a", log), b(h, "b", log), c(h, "c", log);
      EXPECT_EQ(a.FOld, own);
      EXPECT_EQ(GetWindowLong(h, GWL_WNDPROC), c.FInstance);
      EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 103);
      EXPECT_EQ(log, (Log{"c", "b", "a", "own"}));
      // Out of order: the first (or the middle) one leaves while the others stay.
      (firstOutFirst ? a : b).Remove();
      log.clear();
      EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 102);
      EXPECT_EQ(log, (Log{"c", firstOutFirst ? "b" : "a", "own"}));
      c.Remove();
      EXPECT_EQ(GetWindowLong(h, GWL_WNDPROC), firstOutFirst ? b.FInstance : a.FInstance);
      (firstOutFirst ? b : a).Remove();
      EXPECT_EQ(GetWindowLong(h, GWL_WNDPROC), own);
      log.clear();
      EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 100);
      EXPECT_EQ(log, (Log{"own"}));
    }
    DeallocateHWnd(h);
  }
}

TEST(WindowData, FreedInstanceIsSkippedAndUserValueIsKept) {
  Log log;
  HWND h = AllocateHWnd([&](TMessage& m) {
    log.push_back("own");
    m.Result = 7;
  });
  auto* a = new TSubclasser(h, "a", log);
  TSubclasser b(h, "b", log);
  delete a;  // freed without being taken out: the chain passes over it
  EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 8);
  EXPECT_EQ(log, (Log{"b", "own"}));
  EXPECT_EQ(SetWindowLong(h, GWL_USERDATA, 42), 0);
  EXPECT_EQ(SetWindowLong(h, GWL_USERDATA, 43), 42);
  EXPECT_EQ(GetWindowLongPtr(h, GWL_USERDATA), 43);
  b.Remove();
  DeallocateHWnd(h);
}

TEST(WindowData, FailuresAnswerZeroWithTheirErrors) {
  HWND h = AllocateHWnd([](TMessage&) {});
  const WNDPROC own = GetWindowLong(h, GWL_WNDPROC);
  SetLastError(0);
  EXPECT_EQ(SetWindowLong(h, GWL_WNDPROC, 12345), 0);  // no such instance
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetWindowLong(h, GWL_WNDPROC), own);
  EXPECT_EQ(GetWindowLong(h, -999), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
  EXPECT_EQ(MakeObjectInstance(TWndMethod()), 0);
  DeallocateHWnd(h);
  EXPECT_EQ(GetWindowLong(h, GWL_USERDATA), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(CallWindowProc(own, h, WM_USER, 0, 0), 0);
}

}  // namespace
