#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "foundation/style/ThemeNotifier.h"
#include "platform/rtl/Registry.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "tests/support/TestUtil.h"

namespace {

const String kCommon16 = u"Software\\Microsoft\\Office\\16.0\\Common";

void WriteValue(const String& key, const String& name, Integer value) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(key, true));
  reg.WriteInteger(name, value);
}

// A hidden window that records the theme messages it receives.
class TRecorder {
 public:
  struct TEntry {
    WPARAM Root;
    String Key;
  };
  explicit TRecorder(std::vector<int>* order = nullptr, int id = 0) : FOrder(order), FId(id) {
    FHandle = AllocateHWnd([this](TMessage& m) {
      if (m.Msg != WM_OFFICETHEMECHANGED) return;
      Received.push_back({m.WParam, reinterpret_cast<const Char*>(m.LParam)});
      if (FOrder) FOrder->push_back(FId);
    });
  }
  ~TRecorder() { DeallocateHWnd(FHandle); }
  HWND Handle() const { return FHandle; }
  std::vector<TEntry> Received;

 private:
  std::vector<int>* FOrder;
  int FId;
  HWND FHandle = nullptr;
};

class ThemeNotifierTest : public ::testing::Test {
 protected:
  TTempHome Home;
  TComponent Owner{nullptr};
};

TEST_F(ThemeNotifierTest, WithoutOfficeThereIsNothingToWatch) {
  TThemeNotifier* notifier = GetThemeNotifier(&Owner);
  ASSERT_NE(notifier, nullptr);
  EXPECT_EQ(GetThemeNotifier(nullptr), notifier);  // one per process
  EXPECT_EQ(notifier->RegMonitorThread(), nullptr);
  EXPECT_EQ(notifier->Notifier(), nullptr);
  TRecorder window;
  notifier->RegisterWindow(window.Handle());  // accepted, kept nowhere
  notifier->UnRegisterWindow(window.Handle());
  WriteValue(kCommon16, u"UI Theme", 4);
  PumpPending();
  EXPECT_TRUE(window.Received.empty());
}

// The watcher arms its notification on its own thread some time after it
// starts: changes made before that are not seen. Writes until one arrives.
bool ChangeUntilSeen(const std::function<bool()>& seen) {
  for (int i = 0; i < 200; ++i) {
    WriteValue(kCommon16, u"UI Theme", i);
    if (PumpUntil(seen, 50)) {
      PumpUntil([] { return false; }, 100);  // lets a delivery already under way finish
      return true;
    }
  }
  return false;
}

TEST_F(ThemeNotifierTest, ThemeChangeReachesRegisteredWindowsOnly) {
  WriteValue(kCommon16 + u"\\General", u"x", 1);  // Office 16.0 installed
  TThemeNotifier* notifier = GetThemeNotifier(&Owner);
  ASSERT_NE(notifier->RegMonitorThread(), nullptr);
  EXPECT_EQ(notifier->RegMonitorThread()->Key(), kCommon16);
  EXPECT_EQ(notifier->RegMonitorThread()->Filter(), REG_NOTIFY_CHANGE_LAST_SET);
  size_t ownEvents = 0;
  notifier->OnOfficeThemeChange = [&](TObject* sender) {
    EXPECT_EQ(sender, notifier);
    ++ownEvents;
  };

  std::vector<int> order;
  TRecorder first(&order, 1), second(&order, 2), removed(&order, 3);
  notifier->RegisterWindow(second.Handle());
  notifier->RegisterWindow(first.Handle());
  notifier->RegisterWindow(second.Handle());  // once only
  notifier->RegisterWindow(removed.Handle());
  EXPECT_EQ(notifier->RegMonitorThread()->WinList().Count(), 3);
  notifier->UnRegisterWindow(removed.Handle());

  ASSERT_TRUE(ChangeUntilSeen([&] { return !first.Received.empty(); }));
  // Every change: the hidden window, then the list in its order, the removed window never.
  ASSERT_GE(ownEvents, 1u);
  ASSERT_EQ(order.size(), 2 * ownEvents);
  for (size_t i = 0; i < order.size(); i += 2) EXPECT_EQ((std::vector<int>{order[i], order[i + 1]}), (std::vector<int>{2, 1}));
  EXPECT_EQ(first.Received[0].Root, reinterpret_cast<WPARAM>(HKEY_CURRENT_USER));
  EXPECT_EQ(first.Received[0].Key, kCommon16);
  EXPECT_TRUE(removed.Received.empty());

  // The watcher re-arms: a later change in a sub-key arrives as well, now without the second window.
  notifier->UnRegisterWindow(second.Handle());
  const size_t firstBefore = first.Received.size(), secondBefore = second.Received.size();
  WriteValue(kCommon16 + u"\\General", u"y", 2);
  ASSERT_TRUE(PumpUntil([&] { return first.Received.size() > firstBefore; }));
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(second.Received.size(), secondBefore);
  EXPECT_TRUE(removed.Received.empty());
  EXPECT_EQ(ownEvents, first.Received.size());
}

TEST_F(ThemeNotifierTest, DestroyedWithItsOwner) {
  WriteValue(kCommon16 + u"\\General", u"x", 1);
  auto owner = std::make_unique<TComponent>(nullptr);
  TThemeNotifier* first = GetThemeNotifier(owner.get());
  ASSERT_NE(first->RegMonitorThread(), nullptr);
  owner.reset();  // stops and joins the watcher
  TThemeNotifier* second = GetThemeNotifier(&Owner);
  EXPECT_EQ(second->Owner(), &Owner);
}

TEST_F(ThemeNotifierTest, WatcherOfAMissingKeyEndsWithItsMessage) {
  TRegMonitorThread thread;
  thread.SetKey(u"Software\\Nowhere");
  thread.Start();
  thread.WaitFor();
  ASSERT_TRUE(thread.FatalException());
  EXPECT_EQ(test_support::MessageOf([&] { std::rethrow_exception(thread.FatalException()); }),
            u"ERegistryException: Unable to open registry key Software\\Nowhere");
}

TEST_F(ThemeNotifierTest, WatcherStoppedBeforeItRuns) {
  WriteValue(kCommon16, u"UI Theme", 0);
  TRegMonitorThread thread;
  thread.SetKey(kCommon16);
  thread.Stop();
  thread.Start();
  thread.WaitFor();  // must not hang
  EXPECT_TRUE(thread.Finished());
}

TEST(HandleList, KeepsOrderAndChecksIndexes) {
  THandleList list;
  HWND a = reinterpret_cast<HWND>(std::uintptr_t{0x10}), b = reinterpret_cast<HWND>(std::uintptr_t{0x20}),
       c = reinterpret_cast<HWND>(std::uintptr_t{0x30});
  list.Add(a);
  list.Add(c);
  list.Insert(1, b);
  list.Add(a);
  EXPECT_EQ(list.Snapshot(), (std::vector<HWND>{a, b, c, a}));
  list.DeleteValue(a);  // first occurrence only
  EXPECT_EQ(list.Snapshot(), (std::vector<HWND>{b, c, a}));
  list.DeleteValue(reinterpret_cast<HWND>(std::uintptr_t{0x99}));
  list.Delete(0);
  EXPECT_EQ(list.Items(0), c);
  EXPECT_TRUE(list.HasValue(a));
  EXPECT_FALSE(list.HasValue(b));
  EXPECT_EQ(test_support::MessageOf([&] { list.Items(2); }), u"EListError: List index out of bounds (2)");
  EXPECT_EQ(test_support::MessageOf([&] { list.Delete(-1); }), u"EListError: List index out of bounds (-1)");
  EXPECT_EQ(test_support::MessageOf([&] { list.Insert(3, a); }), u"EListError: List index out of bounds (3)");
}

}  // namespace
