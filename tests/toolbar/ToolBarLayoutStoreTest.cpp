// A toolbar's own stored layout: save, load into a fresh form and save
// again gives the same bytes (INI file and registry) with floating
// toolbars; floating places restored onto the monitors there are now
// (fewer, moved, 144 pixels per inch); hostile stored values fall back for
// the one toolbar they name; a toolbar docked again stops floating at the
// next start.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/RegistryIniFile.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Window.h"
#include "platform/vcl/Monitors.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "platform/vcl/ExtCtrls.h"
#include "toolbar/FloatingWindow.h"

namespace toolbar {

namespace {

using monitors_internal::SetVirtualMonitors;
using monitors_internal::TVirtualMonitor;

String StoreU16(const std::string& s) { return String(s.begin(), s.end()); }

std::string Narrow(const String& s) { return std::string(s.begin(), s.end()); }

std::string StoreBytes(const std::string& Path) {
  std::ifstream f(Path, std::ios::binary);
  std::ostringstream o;
  o << f.rdbuf();
  return o.str();
}

const TRect Desk{0, 0, 1920, 1080};

class ToolBarLayoutStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    Home = std::make_unique<TTempHome>();
    SetVirtualMonitors({TVirtualMonitor{u"A", Desk, {}, 96, true}});
  }
  void TearDown() override {
    Forms.clear();
    PumpPending();
    SetVirtualMonitors({});
    Home.reset();
  }
  TForm* NewForm() {
    auto f = std::make_unique<TForm>(nullptr);
    f->AfterConstruction();
    f->SetBorderStyle(bsNone);
    f->SetBounds(0, 0, 600, 400);
    Forms.push_back(std::move(f));
    return Forms.back().get();
  }
  // A top panel with Count toolbars ToolBar1..n of two named controls each,
  // all storing to Key in Where.
  TAdvDockPanel* NewLayout(TForm* F, Integer Count, TPersistenceLocation Where, const std::string& Key,
                           std::vector<TZadEdevAzi*>& Bars) {
    auto* p = new TAdvDockPanel(F);
    p->SetName(u"Dock");
    p->SetParent(F);
    Use(p->Persistence(), Where, Key, u"Dock");
    Bars.clear();
    for (Integer i = 0; i < Count; ++i) {
      auto* tb = new TZadEdevAzi(F);
      tb->SetName(u"ToolBar" + IntToStr(i + 1));
      tb->SetParent(p);
      for (Integer k = 0; k < 2; ++k) {
        auto* b = new TPanel(F);
        b->SetName(tb->Name() + u"Button" + IntToStr(k + 1));
        b->SetBounds(0, 0, 22, 22);
        b->SetParent(tb);
      }
      Use(tb->Persistence(), Where, Key, u"UnDockedZadEdevAzis");
      Bars.push_back(tb);
    }
    return p;
  }
  void Use(TPersistence* P, TPersistenceLocation Where, const std::string& Key, const String& Section) {
    P->SetLocation(Where);
    P->SetKey(Where == plIniFile ? StoreU16(Home->Path() + "/" + Key + ".ini") : StoreU16("Software\\RyxTest\\" + Key));
    P->SetSection(Section);
    P->SetEnabled(true);
  }
  std::string IniPath(const std::string& Key) const { return Home->Path() + "/" + Key + ".ini"; }
  // Writes the INI file the toolbars of a layout read.
  void WriteIni(const std::string& Key, const std::string& Text) {
    std::ofstream(IniPath(Key), std::ios::binary) << Text;
  }
  static std::string Floating(const std::string& Name, Integer Left, Integer Top) {
    return Name + ".Name=" + Name + "\n" + Name + ".State=1\n" + Name + ".FloatingRows=1\n" + Name +
           ".Left=" + std::to_string(Left) + "\n" + Name + ".Top=" + std::to_string(Top) + "\n" + Name +
           ".Visible=1\n";
  }

  std::unique_ptr<TTempHome> Home;
  std::vector<std::unique_ptr<TForm>> Forms;
};

}  // namespace

TEST_F(ToolBarLayoutStoreTest, SaveLoadSaveGivesTheSameBytesWithFloatingToolBars) {
  for (const TPersistenceLocation where : {plIniFile, plRegistry}) {
    for (Integer count = 0; count <= 5; ++count) {
      const std::string tag = (where == plIniFile ? "ini " : "registry ") + std::to_string(count);
      const std::string first = "first" + std::to_string(count), second = "second" + std::to_string(count);
      std::vector<TZadEdevAzi*> bars;
      TForm* f = NewForm();
      TAdvDockPanel* p = NewLayout(f, count, where, first, bars);
      f->Show();
      // Every other toolbar floats, one of them switched off, and one
      // button of the last toolbar hidden.
      for (Integer i = 1; i < count; i += 2) bars[i]->MakeFloating(100 + 90 * i, 500 + 10 * i, true);
      if (count >= 4) bars[3]->SetVisible(false);
      if (count > 0) bars.back()->GetToolBarControls(0)->SetVisible(false);
      for (TZadEdevAzi* tb : bars) tb->SavePosition();
      p->SaveToolBarsPosition();
      std::vector<TPoint> places;
      for (TZadEdevAzi* tb : bars) places.push_back(tb->GetPosition());

      std::vector<TZadEdevAzi*> again;
      TForm* g = NewForm();
      TAdvDockPanel* q = NewLayout(g, count, where, first, again);
      g->Show();
      q->LoadToolBarsPosition();
      for (Integer i = 0; i < count; ++i) {
        EXPECT_EQ(again[i]->GetToolBarState(), bars[i]->GetToolBarState()) << tag << " toolbar " << i;
        EXPECT_EQ(again[i]->Visible(), bars[i]->Visible()) << tag << " toolbar " << i;
        if (bars[i]->GetToolBarState() == tsFloating) {
          EXPECT_EQ(again[i]->GetPosition(), places[i]) << tag;
        }
        EXPECT_EQ(again[i]->GetToolBarControls(0)->Visible(), bars[i]->GetToolBarControls(0)->Visible()) << tag;
      }
      EXPECT_EQ(Narrow(q->CheckLayout()), "") << tag;
      Use(q->Persistence(), where, second, u"Dock");
      for (TZadEdevAzi* tb : again) {
        Use(tb->Persistence(), where, second, u"UnDockedZadEdevAzis");
        tb->SavePosition();
      }
      q->SaveToolBarsPosition();
      if (where == plIniFile) {
        EXPECT_EQ(StoreBytes(IniPath(first)), StoreBytes(IniPath(second))) << tag;
      } else {
        for (const String& section : {String(u"Dock"), String(u"UnDockedZadEdevAzis")}) {
          TStringList one, two;
          TRegistryIniFile(StoreU16("Software\\RyxTest\\" + first)).ReadSectionValues(section, &one);
          TRegistryIniFile(StoreU16("Software\\RyxTest\\" + second)).ReadSectionValues(section, &two);
          EXPECT_EQ(one.Text(), two.Text()) << tag;
        }
      }
      Forms.clear();
    }
  }
}

TEST_F(ToolBarLayoutStoreTest, FloatingPlaceLandsOnAMonitorThatExists) {
  const TRect right{1920, 0, 3840, 1080};
  struct Case {
    const char* What;
    std::vector<TVirtualMonitor> Monitors;
    TPoint Stored;
    bool Kept;  // else: inside the nearest work area
  };
  const std::vector<Case> cases = {
      {"on the second monitor", {{u"A", Desk, {}, 96, true}, {u"B", right, {}, 96, false}}, {2500, 300}, true},
      {"second monitor unplugged", {{u"A", Desk, {}, 96, true}}, {2500, 300}, false},
      {"far away", {{u"A", Desk, {}, 96, true}}, {-20000, -15000}, false},
      {"caption above the work area", {{u"A", Desk, {0, 40, 1920, 1080}, 96, true}}, {300, 20}, false},
      {"less than half on the screen", {{u"A", Desk, {}, 96, true}}, {1900, 300}, false},
      {"half on the screen", {{u"A", Desk, {}, 96, true}}, {1880, 300}, true},
      {"on a 144 PPI monitor", {{u"A", Desk, {}, 96, true}, {u"C", right, {}, 144, false}}, {2000, 100}, true},
      {"monitor moved left", {{u"A", Desk, {}, 96, true}, {u"B", TRect{-1920, 0, 0, 1080}, {}, 96, false}},
       {2500, 300}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    SetVirtualMonitors(c.Monitors);
    WriteIni("place", "[UnDockedZadEdevAzis]\n" + Floating("ToolBar1", c.Stored.X, c.Stored.Y));
    std::vector<TZadEdevAzi*> bars;
    TForm* f = NewForm();
    NewLayout(f, 1, plIniFile, "place", bars);
    f->Show();
    bars[0]->LoadPosition();
    ASSERT_EQ(bars[0]->GetToolBarState(), tsFloating);
    TFloatingWindow* w = bars[0]->FloatingWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_GT(w->Width(), 0);
    EXPECT_GT(w->Height(), 0);
    const TPoint at = bars[0]->GetPosition();
    if (c.Kept) {
      EXPECT_EQ(at, c.Stored);
    } else {
      const TRect r = w->BoundsRect();
      HMONITOR m = MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
      MONITORINFO info;
      ASSERT_TRUE(GetMonitorInfo(m, &info));
      EXPECT_GE(r.Left, info.rcWork.Left);
      EXPECT_GE(r.Top, info.rcWork.Top);
      EXPECT_LE(r.Right, info.rcWork.Right);
      EXPECT_LE(r.Bottom, info.rcWork.Bottom);
    }
    Forms.clear();
  }
}

TEST_F(ToolBarLayoutStoreTest, HostileValuesFallBackForTheirToolBarOnly) {
  struct Case {
    const char* What;
    std::string Lines;  // for ToolBar1
    bool Floats;
    Integer Rows;
    bool Visible;
    bool ButtonVisible;
  };
  const std::vector<Case> cases = {
      {"state not floating", "ToolBar1.Name=ToolBar1\nToolBar1.State=257\nToolBar1.Left=10\nToolBar1.Top=10\n", false, 1,
       true, true},
      {"negative state", "ToolBar1.Name=ToolBar1\nToolBar1.State=-1\n", false, 1, true, true},
      {"another name", "ToolBar1.Name=Other\nToolBar1.State=1\n", false, 1, true, true},
      {"huge left", Floating("ToolBar1", 99999999, 10), false, 1, true, true},
      {"lowest top", Floating("ToolBar1", 10, -2147483647), false, 1, true, true},
      {"huge row count", Floating("ToolBar1", 10, 10) + "ToolBar1.FloatingRows=2147483647\n", true, 1, true, true},
      {"negative row count", Floating("ToolBar1", 10, 10) + "ToolBar1.FloatingRows=-4\n", true, 1, true, true},
      {"visible not a flag", Floating("ToolBar1", 10, 10) + "ToolBar1.Visible=7\n", true, 1, true, true},
      {"button flag not a flag", "ToolBar1.ToolBar1Button1=5\n", false, 1, true, true},
      {"button switched off", "ToolBar1.ToolBar1Button1=0\n", false, 1, true, false},
      {"not a number", "ToolBar1.Name=ToolBar1\nToolBar1.State=floating\nToolBar1.ToolBar1Button1=x\n", false, 1, true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    WriteIni("hostile", "[UnDockedZadEdevAzis]\n" + c.Lines + Floating("ToolBar2", 700, 600));
    std::vector<TZadEdevAzi*> bars;
    TForm* f = NewForm();
    TAdvDockPanel* p = NewLayout(f, 2, plIniFile, "hostile", bars);
    f->Show();
    p->LoadToolBarsPosition();
    EXPECT_EQ(bars[0]->GetToolBarState() == tsFloating, c.Floats);
    EXPECT_EQ(bars[0]->FloatingRows(), c.Rows);
    EXPECT_EQ(bars[0]->Visible(), c.Visible);
    EXPECT_EQ(bars[0]->GetToolBarControls(0)->Visible(), c.ButtonVisible);
    // The other toolbar is placed as stored.
    EXPECT_EQ(bars[1]->GetToolBarState(), tsFloating);
    EXPECT_EQ(bars[1]->GetPosition(), (TPoint{700, 600}));
    EXPECT_EQ(Narrow(p->CheckLayout()), "");
    Forms.clear();
  }
}

TEST_F(ToolBarLayoutStoreTest, DockedAgainStopsFloatingAndNeverFloatedWritesOnlyControls) {
  std::vector<TZadEdevAzi*> bars;
  TForm* f = NewForm();
  TAdvDockPanel* p = NewLayout(f, 2, plIniFile, "state", bars);
  f->Show();
  bars[0]->MakeFloating(300, 300, true);
  bars[0]->SavePosition();
  bars[1]->SavePosition();
  bars[0]->Dock(p);
  EXPECT_EQ(bars[0]->FloatingWindow(), nullptr);
  bars[0]->SavePosition();
  TMemIniFile ini(StoreU16(IniPath("state")));
  EXPECT_EQ(ini.ReadInteger(u"UnDockedZadEdevAzis", u"ToolBar1.State", -1), 0);
  EXPECT_EQ(ini.ReadInteger(u"UnDockedZadEdevAzis", u"ToolBar1.Left", -1), 300);
  EXPECT_FALSE(ini.ValueExists(u"UnDockedZadEdevAzis", u"ToolBar2.Name"));
  EXPECT_FALSE(ini.ValueExists(u"UnDockedZadEdevAzis", u"ToolBar2.State"));
  EXPECT_EQ(ini.ReadInteger(u"UnDockedZadEdevAzis", u"ToolBar2.ToolBar2Button1", -1), 1);

  // Loaded again: both stay docked.
  Forms.clear();
  TForm* g = NewForm();
  TAdvDockPanel* q = NewLayout(g, 2, plIniFile, "state", bars);
  g->Show();
  q->LoadToolBarsPosition();
  EXPECT_EQ(bars[0]->GetToolBarState(), tsDocked);
  EXPECT_EQ(bars[1]->GetToolBarState(), tsDocked);

  // Switched off: nothing read or written.
  bars[0]->Persistence()->SetEnabled(false);
  bars[0]->MakeFloating(10, 10, true);
  bars[0]->SavePosition();
  TMemIniFile after(StoreU16(IniPath("state")));
  EXPECT_EQ(after.ReadInteger(u"UnDockedZadEdevAzis", u"ToolBar1.State", -1), 0);
}

}  // namespace toolbar
