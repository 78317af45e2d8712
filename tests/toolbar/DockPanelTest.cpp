// The dock panel with real toolbars on a form: defaults, docking and
// leaving, hiding and showing, moves through the rows, the styler and
// painting, and the layout store in an INI file and in the registry, with
// round trips of generated layouts and a table of hostile stored values.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RegistryIniFile.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

std::string PanelUtf8(const String& s) { return std::string(s.begin(), s.end()); }
String PanelU16(const std::string& s) { return String(s.begin(), s.end()); }

std::string ReadBytes(const std::string& Path) {
  std::ifstream f(Path, std::ios::binary);
  std::ostringstream o;
  o << f.rdbuf();
  return o.str();
}

class DockPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    Home = std::make_unique<TTempHome>();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(0, 0, 600, 400);
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    ToolBarDPIScale = 1.0f;
    Home.reset();
  }
  TAdvDockPanel* NewPanel(TDockAlign Align = daTop) {
    auto* p = new TAdvDockPanel(Form.get());
    p->SetName(u"Dock" + IntToStr(++PanelCount));
    p->SetParent(Form.get());
    p->SetAlign(Align);
    return p;
  }
  // A toolbar of its own empty size, named ToolBar<n>.
  TZadEdevAzi* NewToolBar(TWinControl* Parent) {
    auto* tb = new TZadEdevAzi(Form.get());
    tb->SetName(u"ToolBar" + IntToStr(++ToolBarCount));
    tb->SetParent(Parent);
    return tb;
  }
  static void ExpectSound(const TAdvDockPanel* P, const std::string& What = "") {
    EXPECT_EQ(PanelUtf8(P->CheckLayout()), "") << What;
  }
  std::string IniPath(const std::string& Name) const { return Home->Path() + "/" + Name; }
  void UseIni(TAdvDockPanel* P, const std::string& Name) {
    P->Persistence()->SetLocation(plIniFile);
    P->Persistence()->SetKey(PanelU16(IniPath(Name)));
    P->Persistence()->SetSection(u"Dock");
  }

  std::unique_ptr<TTempHome> Home;
  std::unique_ptr<TForm> Form;
  int PanelCount = 0;
  int ToolBarCount = 0;
};

}  // namespace

TEST_F(DockPanelTest, NewPanelDefaults) {
  TAdvDockPanel* p = NewPanel();
  EXPECT_EQ(p->Align(), daTop);
  EXPECT_EQ(static_cast<TControl*>(p)->Align(), alTop);
  EXPECT_EQ(p->Height(), 3);
  EXPECT_EQ(p->MinimumSize(), 3);
  EXPECT_EQ(p->RowCount(), 0);
  EXPECT_EQ(p->Version(), u"6.8.3.7");
  EXPECT_EQ(p->GetVersionNr(), 101188359);
  EXPECT_EQ(p->InternalToolBarStyler()->Name(), u"InternalStyler");
  EXPECT_EQ(p->CurrentToolBarStyler(), p->InternalToolBarStyler());
  EXPECT_TRUE(p->InternalToolBarStyler()->IsRegistered(p));
  ExpectSound(p);
}

TEST_F(DockPanelTest, InvalidParentIsRefused) {
  TAdvDockPanel* a = NewPanel();
  TAdvDockPanel* b = NewPanel();
  TZadEdevAzi* tb = NewToolBar(Form.get());
  for (TWinControl* parent : {static_cast<TWinControl*>(a), static_cast<TWinControl*>(tb)}) {
    try {
      b->SetParent(parent);
      FAIL();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), u"Invalid Parent");
    }
    EXPECT_EQ(b->Parent(), Form.get());
  }
}

TEST_F(DockPanelTest, ToolBarsDockingAtRunTimeGetRowsOfTheirOwn) {
  TAdvDockPanel* p = NewPanel();
  const Integer heights[] = {28, 55, 82};
  for (Integer i = 0; i < 3; ++i) {
    TZadEdevAzi* tb = NewToolBar(p);
    EXPECT_EQ(tb->GetToolBarState(), tsDocked);
    EXPECT_EQ(tb->AdvDockPanel(), p);
    EXPECT_EQ(tb->Left(), 3);
    EXPECT_EQ(tb->Row(), i);
    EXPECT_EQ(p->ZadEdevAziCount(), i + 1);
    EXPECT_EQ(p->Height(), heights[i]);
    ExpectSound(p);
  }
}

TEST_F(DockPanelTest, LeftDockTurnsToolBarsVertical) {
  TAdvDockPanel* p = NewPanel();
  TZadEdevAzi* tb = NewToolBar(p);
  p->SetAlign(daLeft);
  EXPECT_EQ(static_cast<TControl*>(p)->Align(), alLeft);
  EXPECT_FALSE(tb->IsHorizontal());
  EXPECT_GT(tb->Height(), tb->Width());
  ExpectSound(p);
  TZadEdevAzi* more = NewToolBar(p);
  EXPECT_FALSE(more->IsHorizontal());
  EXPECT_GT(more->Top(), p->Height() / 2) << "a left row fills from its far end";
  EXPECT_EQ(more->Left(), p->Rows()->Items(1)->RowRect().Left);
  ExpectSound(p);
}

TEST_F(DockPanelTest, LeavingAndDestroyingToolBarsLeaveNoTrace) {
  TAdvDockPanel* p = NewPanel();
  TZadEdevAzi* a = NewToolBar(p);
  TZadEdevAzi* b = NewToolBar(p);
  TZadEdevAzi* c = NewToolBar(p);
  a->SetParent(Form.get());
  EXPECT_EQ(a->AdvDockPanel(), nullptr);
  EXPECT_EQ(a->Row(), -1) << "its row index goes with the row";
  EXPECT_EQ(p->ZadEdevAziCount(), 2);
  EXPECT_EQ(p->RowCount(), 2);
  EXPECT_EQ(b->Row(), 0);
  ExpectSound(p);
  delete b;
  EXPECT_EQ(p->ZadEdevAziCount(), 1);
  EXPECT_EQ(p->RowCount(), 1);
  EXPECT_EQ(c->Row(), 0);
  ExpectSound(p);
  c->SetVisible(false);
  delete c;
  EXPECT_EQ(p->HiddenToolBarCount(), 0);
  ExpectSound(p);
}

TEST_F(DockPanelTest, MovingToAnotherPanelLeavesTheFirst) {
  TAdvDockPanel* top = NewPanel(daTop);
  TAdvDockPanel* bottom = NewPanel(daBottom);
  TZadEdevAzi* a = NewToolBar(top);
  TZadEdevAzi* b = NewToolBar(top);
  a->SetParent(bottom);
  EXPECT_EQ(a->AdvDockPanel(), bottom);
  EXPECT_EQ(top->ZadEdevAziCount(), 1);
  EXPECT_EQ(bottom->ZadEdevAziCount(), 1);
  EXPECT_EQ(b->Row(), 0);
  ExpectSound(top);
  ExpectSound(bottom);
}

TEST_F(DockPanelTest, HidingAndShowingKeepsTheLists) {
  TAdvDockPanel* p = NewPanel();
  TZadEdevAzi* a = NewToolBar(p);
  TZadEdevAzi* b = NewToolBar(p);
  b->SetVisible(false);
  EXPECT_EQ(p->HiddenToolBarCount(), 1);
  EXPECT_EQ(p->RowCount(), 1) << "its row held it alone";
  EXPECT_EQ(p->Height(), 28);
  ExpectSound(p);
  b->SetVisible(true);
  EXPECT_EQ(p->HiddenToolBarCount(), 0);
  EXPECT_EQ(p->RowCount(), 2);
  ExpectSound(p);
  a->SetVisible(false);
  a->SetVisible(true);
  ExpectSound(p);
}

TEST_F(DockPanelTest, MovesGoThroughTheRows) {
  TAdvDockPanel* p = NewPanel();
  TZadEdevAzi* a = NewToolBar(p);
  TZadEdevAzi* b = NewToolBar(p);
  // Dragged down by a row: into the second row; the first row goes.
  a->SetTop(a->Top() + 30);
  EXPECT_EQ(p->RowCount(), 1);
  EXPECT_EQ(a->Row(), 0);
  EXPECT_EQ(b->Row(), 0);
  EXPECT_EQ(a->Top(), 1);
  ExpectSound(p);
  // Asked below the panel's top: snaps back to its row.
  b->SetTop(-2);
  EXPECT_EQ(b->Top(), 1);
  // Along the row, only into free space.
  b->SetLeft(b->Left() + 100);
  ExpectSound(p);
  b->SetLeft(0);
  EXPECT_GE(b->Left(), 3);
  ExpectSound(p);
  p->StackToolBars();
  EXPECT_EQ(p->RowCount(), 1);
  ExpectSound(p);
  p->ArrangeToolBars();
  ExpectSound(p);
}

TEST_F(DockPanelTest, FullSizeToolBarGetsARowAlone) {
  TAdvDockPanel* p = NewPanel();
  TZadEdevAzi* a = NewToolBar(p);
  TZadEdevAzi* b = NewToolBar(p);
  b->SetTop(a->Top() + 3);  // pulled into a's row? no: a new row below opens
  p->StackToolBars();
  ASSERT_EQ(p->RowCount(), 1);
  p->ToolBarFullSizeChanged(a);
  EXPECT_EQ(p->RowCount(), 2);
  ExpectSound(p);
}

TEST_F(DockPanelTest, LockedHeightRefusesAToolBarWithoutRoom) {
  TAdvDockPanel* p = NewPanel();
  TZadEdevAzi* a = NewToolBar(p);
  p->Loaded();  // properties loaded: the lock takes effect
  p->SetLockHeight(true);
  TZadEdevAzi* b = NewToolBar(p);
  EXPECT_EQ(p->RowCount(), 1);
  EXPECT_EQ(b->Row(), 0) << "joins the only row";
  EXPECT_EQ(a->Row(), 0);
  ExpectSound(p);
}

// Row thickness and the panel's height follow the family's DPI scale.
TEST_F(DockPanelTest, RowThicknessAt96And144PixelsPerInch) {
  struct Case {
    Single Scale;
    Integer Height;
  };
  for (const Case c : {Case{1.0f, 28}, Case{1.5f, 41}}) {
    ToolBarDPIScale = c.Scale;
    TAdvDockPanel* p = NewPanel();
    NewToolBar(p);
    EXPECT_EQ(p->Rows()->Items(0)->Height(), ScaleToolBarSize(26, c.Scale)) << c.Scale;
    EXPECT_EQ(p->Height(), c.Height) << c.Scale;
    ExpectSound(p);
    delete p;
  }
}

TEST_F(DockPanelTest, StylerBindingAndPainting) {
  TAdvDockPanel* p = NewPanel();
  p->SetMinimumSize(30);
  EXPECT_EQ(p->Height(), 30);
  auto styler = std::make_unique<TCustomZadEdevAziStyler>(nullptr);
  styler->DockColor()->SetColor(0x0000FF);
  styler->DockColor()->SetColorTo(clNone);
  p->SetToolBarStyler(styler.get());
  EXPECT_EQ(p->CurrentToolBarStyler(), styler.get());
  EXPECT_TRUE(styler->IsRegistered(p));
  styler->NotifyChange(skGeneral);
  EXPECT_EQ(p->Color(), TColor(0x0000FF));
  Form->Show();
  PumpPending();
  testinput::PaintPending();
  const std::unique_ptr<TBitmap> shot = testinput::Grab(p);
  EXPECT_EQ(p->GetMyImage()->Width(), p->Width());
  EXPECT_EQ(shot->Canvas()->Pixels(10, 10), TColor(0x0000FF));
  EXPECT_EQ(shot->Canvas()->Pixels(300, 20), TColor(0x0000FF));
  styler.reset();
  EXPECT_EQ(p->ToolBarStyler(), nullptr);
  EXPECT_EQ(p->CurrentToolBarStyler(), p->InternalToolBarStyler());
  p->Repaint();
  PumpPending();
}

// ---------------------------------------------------------------------------
// Layout store

TEST_F(DockPanelTest, SavedLayoutNamesRowsAndHiddenToolBars) {
  TAdvDockPanel* p = NewPanel();
  UseIni(p, "layout.ini");
  TZadEdevAzi* a = NewToolBar(p);
  TZadEdevAzi* b = NewToolBar(p);
  TZadEdevAzi* c = NewToolBar(p);
  TZadEdevAzi* d = NewToolBar(p);
  p->Rows()->MoveToolBarToRow(p->DockBarOf(b), 0);
  d->SetVisible(false);
  ASSERT_EQ(p->RowCount(), 2);
  p->SaveToolBarsPosition();
  TMemIniFile ini(PanelU16(IniPath("layout.ini")));
  EXPECT_EQ(ini.ReadInteger(u"Dock", u"ToolBarCount", 0), 4);
  EXPECT_EQ(ini.ReadInteger(u"Dock", u"RowCount", 0), 2);
  EXPECT_EQ(ini.ReadString(u"Dock", u"Name1", u""), a->Name());
  EXPECT_EQ(ini.ReadString(u"Dock", u"Name2", u""), b->Name());
  EXPECT_EQ(ini.ReadString(u"Dock", u"Name3", u""), c->Name());
  EXPECT_EQ(ini.ReadString(u"Dock", u"Name4", u""), d->Name());
  EXPECT_EQ(ini.ReadInteger(u"Dock", c->Name() + u".Row", -1), 1);
  EXPECT_EQ(ini.ReadInteger(u"Dock", d->Name() + u".Visible", -1), 0);
  EXPECT_EQ(ini.ReadInteger(u"Dock", b->Name() + u".Left", -1), b->Left());

  // Moved about, then loaded: back as stored.
  p->Rows()->MoveToolBarToRow(p->DockBarOf(c), 0);
  d->SetVisible(true);
  p->LoadToolBarsPosition();
  EXPECT_EQ(p->RowCount(), 2);
  EXPECT_EQ(c->Row(), 1);
  EXPECT_FALSE(d->Visible());
  EXPECT_EQ(p->HiddenToolBarCount(), 1);
  ExpectSound(p);
}

// A stored name of a toolbar docked on another panel of the form brings it
// here: into this panel's list and a row.
TEST_F(DockPanelTest, ToolBarTakenFromAnotherPanelJoinsTheListAndARow) {
  TAdvDockPanel* top = NewPanel(daTop);
  TAdvDockPanel* bottom = NewPanel(daBottom);
  UseIni(top, "taken.ini");
  TZadEdevAzi* a = NewToolBar(top);
  TZadEdevAzi* b = NewToolBar(top);
  top->SaveToolBarsPosition();
  b->SetParent(bottom);
  ASSERT_EQ(top->ZadEdevAziCount(), 1);
  top->LoadToolBarsPosition();
  EXPECT_EQ(b->AdvDockPanel(), top);
  EXPECT_EQ(top->ZadEdevAziCount(), 2);
  EXPECT_EQ(bottom->ZadEdevAziCount(), 0);
  EXPECT_EQ(b->Row(), 1);
  EXPECT_EQ(a->Row(), 0);
  ExpectSound(top);
  ExpectSound(bottom);
}

namespace {

// A generated layout: Count toolbars in rows, some hidden, some moved along
// their rows, from a seed.
void GenerateLayout(TAdvDockPanel* P, const std::vector<TZadEdevAzi*>& Bars, std::uint32_t Seed) {
  std::mt19937 rng(Seed);
  for (TZadEdevAzi* tb : Bars) {
    switch (rng() % 5) {
      case 0:
        if (P->RowCount() > 0) P->Rows()->MoveToolBarToRow(P->DockBarOf(tb), Integer(rng() % P->RowCount()));
        break;
      case 1: tb->SetLeft(tb->Left() + Integer(rng() % 200)); break;
      case 2: tb->SetTop(tb->Top() + Integer(rng() % 60) - 20); break;
      case 3: tb->SetVisible(false); break;
      default: break;
    }
  }
}

}  // namespace

// Save, load into a fresh form, save again: the same bytes, in an INI file
// and in the registry, for generated layouts of 0 to 12 toolbars.
TEST_F(DockPanelTest, SaveLoadSaveGivesTheSameBytes) {
  for (const TPersistenceLocation where : {plIniFile, plRegistry}) {
    for (std::uint32_t seed = 0; seed < 12; ++seed) {
      const Integer count = Integer(seed);
      const std::string tag = (where == plIniFile ? "ini " : "registry ") + std::to_string(seed);
      auto setUp = [&](TAdvDockPanel* p, const std::string& key) {
        p->Persistence()->SetLocation(where);
        p->Persistence()->SetKey(where == plIniFile ? PanelU16(IniPath(key + ".ini"))
                                                    : PanelU16("Software\\RyxTest\\" + key));
        p->Persistence()->SetSection(u"Dock");
      };
      ToolBarCount = 0;
      TAdvDockPanel* first = NewPanel();
      setUp(first, "first" + std::to_string(seed));
      std::vector<TZadEdevAzi*> bars;
      for (Integer i = 0; i < count; ++i) bars.push_back(NewToolBar(first));
      GenerateLayout(first, bars, seed);
      ExpectSound(first, tag);
      first->SaveToolBarsPosition();
      std::vector<TRect> bounds;
      for (TZadEdevAzi* tb : bars) bounds.push_back(tb->BoundsRect());

      // A fresh form with the same toolbars in their default places.
      auto form = std::make_unique<TForm>(nullptr);
      form->AfterConstruction();
      form->SetBounds(0, 0, 600, 400);
      auto* second = new TAdvDockPanel(form.get());
      second->SetName(u"Dock");
      second->SetParent(form.get());
      setUp(second, "first" + std::to_string(seed));
      std::vector<TZadEdevAzi*> again;
      for (Integer i = 0; i < count; ++i) {
        auto* tb = new TZadEdevAzi(form.get());
        tb->SetName(u"ToolBar" + IntToStr(i + 1));
        tb->SetParent(second);
        again.push_back(tb);
      }
      second->LoadToolBarsPosition();
      ExpectSound(second, tag);
      for (Integer i = 0; i < count; ++i) {
        EXPECT_EQ(again[i]->BoundsRect(), bounds[i]) << tag << " toolbar " << i;
        EXPECT_EQ(again[i]->Visible(), bars[i]->Visible()) << tag << " toolbar " << i;
      }
      setUp(second, "second" + std::to_string(seed));
      second->SaveToolBarsPosition();
      if (where == plIniFile) {
        EXPECT_EQ(ReadBytes(IniPath("first" + std::to_string(seed) + ".ini")),
                  ReadBytes(IniPath("second" + std::to_string(seed) + ".ini")))
            << tag;
      } else {
        TStringList one, two;
        TRegistryIniFile(PanelU16("Software\\RyxTest\\first" + std::to_string(seed))).ReadSectionValues(u"Dock", &one);
        TRegistryIniFile(PanelU16("Software\\RyxTest\\second" + std::to_string(seed))).ReadSectionValues(u"Dock", &two);
        EXPECT_EQ(one.Text(), two.Text()) << tag;
        EXPECT_GT(one.Count(), 0) << tag;
      }
      form.reset();
      delete first;
    }
  }
}

// Hostile stored values: each falls back to the default for its toolbar and
// leaves the others as stored.
TEST_F(DockPanelTest, HostileStoredValuesFallBackPerToolBar) {
  struct Case {
    const char* What;
    const char* Key;    // below the section; "B." keys name the second toolbar
    const char* Value;  // nullptr: the key is removed
    bool BInStoredRow;  // B stands in the row the store gave it
    bool BVisible;
  };
  const Case cases[] = {
      {"huge row count", "RowCount", "2147483647", true, true},
      {"negative row count", "RowCount", "-3", true, true},
      {"row count not a number", "RowCount", "many", true, true},
      {"missing row count", "RowCount", nullptr, true, true},
      {"huge toolbar count", "ToolBarCount", "2147483647", true, true},
      {"row out of range", "ToolBar2.Row", "99", false, true},
      {"negative row", "ToolBar2.Row", "-5", false, true},
      {"missing row", "ToolBar2.Row", nullptr, false, true},
      {"unknown name", "Name2", "NoSuchToolBar", false, true},
      {"empty name", "Name2", "", false, true},
      {"name given twice", "Name2", "ToolBar1", false, true},
      {"huge width", "ToolBar2.Width", "2147483647", true, true},
      {"negative width", "ToolBar2.Width", "-40", true, true},
      {"huge left", "ToolBar2.Left", "-2147483648", true, true},
      {"visible not 0 or 1", "ToolBar2.Visible", "7", true, true},
      {"missing visible", "ToolBar2.Visible", nullptr, true, true},
      {"hidden", "ToolBar2.Visible", "0", false, false},
  };
  for (const Case& c : cases) {
    ToolBarCount = 0;
    auto form = std::make_unique<TForm>(nullptr);
    form->AfterConstruction();
    form->SetBounds(0, 0, 600, 400);
    auto* p = new TAdvDockPanel(form.get());
    p->SetName(u"Dock");
    p->SetParent(form.get());
    std::vector<TZadEdevAzi*> bars;
    for (Integer i = 0; i < 3; ++i) {
      auto* tb = new TZadEdevAzi(form.get());
      tb->SetName(u"ToolBar" + IntToStr(i + 1));
      tb->SetParent(p);
      bars.push_back(tb);
    }
    // Stored: ToolBar1 and ToolBar2 in row 0, ToolBar3 in row 1.
    TMemIniFile ini(PanelU16(IniPath("hostile.ini")));
    auto w = [&](const String& k, const String& v) { ini.WriteString(u"Dock", k, v); };
    w(u"ToolBarCount", u"3");
    w(u"RowCount", u"2");
    const Integer rows[] = {0, 0, 1};
    const Integer lefts[] = {3, 200, 3};
    for (Integer i = 0; i < 3; ++i) {
      const String n = u"ToolBar" + IntToStr(i + 1);
      w(u"Name" + IntToStr(i + 1), n);
      w(n + u".Row", IntToStr(rows[i]));
      w(n + u".Left", IntToStr(lefts[i]));
      w(n + u".Top", u"1");
      w(n + u".Width", IntToStr(bars[i]->Width()));
      w(n + u".Height", IntToStr(bars[i]->Height()));
      w(n + u".Visible", u"1");
    }
    if (c.Value == nullptr)
      ini.DeleteKey(u"Dock", PanelU16(c.Key));
    else
      w(PanelU16(c.Key), PanelU16(c.Value));
    p->LoadToolBarsPosition(&ini, u"Dock");
    EXPECT_EQ(PanelUtf8(p->CheckLayout()), "") << c.What;
    EXPECT_EQ(p->ZadEdevAziCount(), 3) << c.What;
    // The others as stored.
    EXPECT_EQ(bars[0]->Row(), 0) << c.What;
    EXPECT_EQ(bars[0]->Left(), 3) << c.What;
    EXPECT_NE(bars[2]->Row(), bars[0]->Row()) << c.What;
    EXPECT_EQ(bars[1]->Visible(), c.BVisible) << c.What;
    if (c.BInStoredRow) {
      EXPECT_EQ(bars[1]->Row(), bars[0]->Row()) << c.What;
    }
    if (!c.BInStoredRow && c.BVisible) {
      EXPECT_GE(bars[1]->Row(), 0) << c.What << ": still in a row";
      EXPECT_NE(bars[1]->Row(), bars[0]->Row()) << c.What << ": a row of its own";
    }
    EXPECT_LE(p->RowCount(), 3) << c.What;
    EXPECT_GE(bars[1]->Width(), 0) << c.What;
    EXPECT_LE(bars[1]->Width(), 32767) << c.What;
    form.reset();
  }
}

}  // namespace toolbar
