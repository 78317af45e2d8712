// Layout-store settings, the opening rule in both stores, and the
// range-checked list.
#include "toolbar/ToolBarPersistence.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RegistryIniFile.h"
#include "platform/testing/TempHome.h"

using toolbar::OpenPersistenceStore;
using toolbar::plIniFile;
using toolbar::plRegistry;
using toolbar::TDbgList;
using toolbar::TPersistence;

namespace {

String U16(const std::string& s) { return String(s.begin(), s.end()); }

}  // namespace

TEST(ToolBarPersistence, DefaultsAndChangeOnlyOnDifference) {
  TComponent owner(nullptr);
  TPersistence p(&owner);
  EXPECT_EQ(p.Owner(), &owner);
  EXPECT_EQ(p.Location(), plRegistry);
  EXPECT_TRUE(p.Key().empty());
  EXPECT_TRUE(p.Section().empty());
  EXPECT_FALSE(p.Enabled());

  int changes = 0;
  p.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &p);
    ++changes;
  };
  p.SetKey(u"Software\\Ryx");
  p.SetKey(u"Software\\Ryx");
  p.SetSection(u"Bars");
  p.SetSection(u"Bars");
  p.SetLocation(plIniFile);
  p.SetLocation(plIniFile);
  p.SetEnabled(true);
  p.SetEnabled(true);
  EXPECT_EQ(changes, 4);
}

TEST(ToolBarPersistence, AssignCopiesAllFourSilentlyAndIgnoresStrangers) {
  TPersistence from(nullptr);
  from.SetLocation(plIniFile);
  from.SetKey(u"layout.ini");
  from.SetSection(u"Dock");
  from.SetEnabled(true);
  TPersistence to(nullptr);
  int changes = 0;
  to.OnChange = [&](TObject*) { ++changes; };
  to.Assign(&from);
  EXPECT_EQ(to.Location(), plIniFile);
  EXPECT_EQ(to.Key(), u"layout.ini");
  EXPECT_EQ(to.Section(), u"Dock");
  EXPECT_TRUE(to.Enabled());
  EXPECT_EQ(changes, 0);

  TPersistent stranger;
  EXPECT_NO_THROW(to.Assign(&stranger));
  EXPECT_EQ(to.Key(), u"layout.ini");
  EXPECT_TRUE(to.Enabled());
}

TEST(ToolBarPersistence, NoStoreWithoutKeyOrSection) {
  TTempHome home;
  TPersistence p(nullptr);
  EXPECT_EQ(OpenPersistenceStore(p), nullptr);
  p.SetKey(u"Software\\Ryx");
  EXPECT_EQ(OpenPersistenceStore(p), nullptr);
  p.SetKey(u"");
  p.SetSection(u"Bars");
  EXPECT_EQ(OpenPersistenceStore(p), nullptr);
}

// What one store holds after a write must come back from a fresh store, and
// must really live where the location says.
TEST(ToolBarPersistence, LayoutRoundTripsInIniAndRegistry) {
  TTempHome home;
  const std::string iniPath = home.Path() + "/layout.ini";
  struct Case {
    toolbar::TPersistenceLocation Location;
    String Key;
  };
  const Case cases[] = {{plIniFile, U16(iniPath)}, {plRegistry, u"Software\\Ryx\\ToolBars"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Location == plIniFile ? "INI" : "registry");
    TPersistence p(nullptr);
    p.SetLocation(c.Location);
    p.SetKey(c.Key);
    p.SetSection(u"Main Bar");
    {
      auto store = OpenPersistenceStore(p);
      ASSERT_NE(store, nullptr);
      store->WriteInteger(p.Section(), u"ToolBarCount", 3);
      store->WriteString(p.Section(), u"Name0", u"Standard \u00e9");
      store->WriteBool(p.Section(), u"Standard.Visible", false);
      store->UpdateFile();
    }
    auto store = OpenPersistenceStore(p);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->ReadInteger(p.Section(), u"ToolBarCount", -1), 3);
    EXPECT_EQ(store->ReadString(p.Section(), u"Name0", u""), u"Standard \u00e9");
    EXPECT_FALSE(store->ReadBool(p.Section(), u"Standard.Visible", true));
  }

  // The INI location wrote the named file; the registry location a sub-key.
  std::ifstream in(iniPath);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("[Main Bar]"), std::string::npos);
  EXPECT_NE(text.str().find("ToolBarCount=3"), std::string::npos);
  TRegistry reg;
  EXPECT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Ryx\\ToolBars\\Main Bar"));
  EXPECT_EQ(reg.ReadString(u"Name0"), u"Standard \u00e9");
}

// The memory INI file saves itself when freed even if the writer forgot.
TEST(ToolBarPersistence, IniStoreSavesWhenFreed) {
  TTempHome home;
  TPersistence p(nullptr);
  p.SetLocation(plIniFile);
  p.SetKey(U16(home.Path() + "/auto.ini"));
  p.SetSection(u"Bar");
  OpenPersistenceStore(p)->WriteInteger(u"Bar", u"Left", 42);
  EXPECT_EQ(OpenPersistenceStore(p)->ReadInteger(u"Bar", u"Left", 0), 42);
}

// A file that cannot be written reaches the owner as an error.
TEST(ToolBarPersistence, UnwritableIniFileRaisesToTheWriter) {
  TTempHome home;
  TPersistence p(nullptr);
  p.SetLocation(plIniFile);
  p.SetKey(U16(home.Path() + "/missing-folder/layout.ini"));
  p.SetSection(u"Bar");
  auto store = OpenPersistenceStore(p);
  ASSERT_NE(store, nullptr);
  store->WriteInteger(u"Bar", u"Left", 1);
  EXPECT_THROW(store->UpdateFile(), Exception);
}

TEST(ToolBarDbgList, RangeChecksAndAssignList) {
  int a = 1, b = 2, c = 3;
  TDbgList list;
  list.Add(&a);
  list.Add(&b);
  list.Add(&c);
  EXPECT_EQ(list.GetItemsEx(2), &c);
  struct Case {
    bool Write;
    Integer Index;
    const char16_t* Message;
  };
  for (const Case& k : {Case{false, 3, u"Index out of bounds in list read access"},
                        Case{true, 5, u"Index out of bounds in list write access"}}) {
    try {
      if (k.Write)
        list.SetItemsEx(k.Index, &a);
      else
        (void)list.GetItemsEx(k.Index);
      ADD_FAILURE() << "no exception for index " << k.Index;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), k.Message);
    }
  }
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(2), &c);
  list.SetItemsEx(0, &c);
  EXPECT_EQ(list.Items(0), &c);

  TDbgList copy;
  copy.Add(&b);
  copy.AssignList(&list);
  ASSERT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Items(0), &c);
  EXPECT_EQ(copy.Items(1), &b);
  EXPECT_EQ(copy.Items(2), &c);
  TList empty;
  copy.AssignList(&empty);
  EXPECT_EQ(copy.Count(), 0);
}
