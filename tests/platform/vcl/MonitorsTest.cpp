// Monitors: the nearest-monitor rule over three virtual monitors (one left of
// the primary), work areas, a monitor that goes away, and the change notice.
#include "platform/vcl/Monitors.h"
#include "platform/win/WinError.h"
#include "platform/win/WindowData.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

using monitors_internal::SetVirtualMonitors;
using monitors_internal::TVirtualMonitor;

class Monitors : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    SetVirtualMonitors(Three());
  }
  void TearDown() override {
    SetVirtualMonitors({});
    VclTest::TearDown();
  }
  static std::vector<TVirtualMonitor> Three() {
    return {{u"A", Bounds(0, 0, 1920, 1080), Bounds(0, 0, 1920, 1040), 96, true},
            {u"B", Bounds(1920, 0, 1280, 1024), {}, 120, false},
            {u"C", Bounds(-1280, 200, 1280, 800), {}, 144, false}};
  }
  HMONITOR Handle(int i) { return Screen->Monitors(i)->Handle(); }
};

TEST_F(Monitors, NearestRuleOverThreeMonitors) {
  ASSERT_EQ(Screen->MonitorCount(), 3);
  const HMONITOR a = Handle(0), b = Handle(1), c = Handle(2);
  struct TCase {
    TPoint P;
    DWORD Flags;
    HMONITOR Expected;
  };
  const TCase cases[] = {
      {{100, 100}, MONITOR_DEFAULTTONULL, a},
      {{1919, 1079}, MONITOR_DEFAULTTONULL, a},
      {{1920, 10}, MONITOR_DEFAULTTONULL, b},
      {{-10, 300}, MONITOR_DEFAULTTONULL, c},
      {{-10, 100}, MONITOR_DEFAULTTONULL, nullptr},  // above C, left of A
      {{-10, 100}, MONITOR_DEFAULTTONEAREST, a},     // 10 from A, 100 from C
      {{-2000, 0}, MONITOR_DEFAULTTONEAREST, c},
      {{-2000, 0}, MONITOR_DEFAULTTOPRIMARY, a},
      {{3300, 500}, MONITOR_DEFAULTTONEAREST, b},
      {{500, 5000}, MONITOR_DEFAULTTONEAREST, a},
  };
  for (const TCase& t : cases)
    EXPECT_EQ(MonitorFromPoint(t.P, t.Flags), t.Expected) << t.P.X << "," << t.P.Y << " flags " << t.Flags;
  const TRect straddle = Bounds(1800, 100, 300, 100);  // 120 on A, 180 on B
  EXPECT_EQ(MonitorFromRect(&straddle, MONITOR_DEFAULTTONULL), b);
  const TRect away = Bounds(-600, -900, 100, 100);
  EXPECT_EQ(MonitorFromRect(&away, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(MonitorFromRect(&away, MONITOR_DEFAULTTONEAREST), a);  // 800 above A, 1000 above C
  EXPECT_EQ(MonitorFromRect(nullptr, MONITOR_DEFAULTTONEAREST), nullptr);

  MONITORINFO info;
  ASSERT_TRUE(GetMonitorInfo(a, &info));
  EXPECT_EQ(info.rcWork, Bounds(0, 0, 1920, 1040));
  EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
  ASSERT_TRUE(GetMonitorInfo(c, &info));
  EXPECT_EQ(info.rcMonitor, Bounds(-1280, 200, 1280, 800));
  EXPECT_EQ(info.rcWork, info.rcMonitor);
  EXPECT_EQ(info.dwFlags, 0u);
  info.cbSize = 4;
  EXPECT_FALSE(GetMonitorInfo(a, &info));
  TRect work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, Bounds(0, 0, 1920, 1040));
  EXPECT_FALSE(SystemParametersInfo(0x1234, 0, &work, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Screen->DesktopRect(), (TRect{-1280, 0, 3200, 1080}));
  EXPECT_EQ(Screen->WorkAreaRect(), Bounds(0, 0, 1920, 1040));
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 3);

  TForm* f = NewForm();
  f->SetBounds(-900, 400, 300, 200);
  f->Show();
  EXPECT_EQ(MonitorFromWindow(f->Handle(), MONITOR_DEFAULTTONULL), c);
  EXPECT_EQ(f->Monitor()->PixelsPerInch(), 144);
  EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTONEAREST), nullptr);
}

TEST_F(Monitors, AMonitorThatGoesAwayIsRefusedAndWindowsAreTold) {
  TForm* f = NewForm();
  std::vector<TMessage> seen;
  f->Show();
  const HWND h = f->Handle();
  WNDPROC old = GetWindowLong(h, GWL_WNDPROC);
  WNDPROC probe = MakeObjectInstance([&](TMessage& m) {
    if (m.Msg == WM_SETTINGCHANGE) seen.push_back(m);
    m.Result = CallWindowProc(old, h, m.Msg, m.WParam, m.LParam);
  });
  SetWindowLong(h, GWL_WNDPROC, probe);
  const HMONITOR a = Handle(0), b = Handle(1);
  TMonitor* bObject = Screen->Monitors(1);
  auto two = Three();
  two.erase(two.begin() + 1);
  SetVirtualMonitors(two);
  ASSERT_EQ(Screen->MonitorCount(), 2);
  EXPECT_EQ(Handle(0), a);  // declared again under its name: the same handle
  MONITORINFO info;
  EXPECT_FALSE(GetMonitorInfo(b, &info));
  EXPECT_EQ(bObject->MonitorNum(), -1);
  EXPECT_EQ(MonitorFromPoint({2000, 10}, MONITOR_DEFAULTTONEAREST), a);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].WParam, WPARAM(SPI_SETWORKAREA));
  SetVirtualMonitors(two);  // nothing changed: no notice
  EXPECT_EQ(seen.size(), 1u);
  SetWindowLong(h, GWL_WNDPROC, old);
  FreeObjectInstance(probe);
}

}  // namespace
