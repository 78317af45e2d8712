// The stored dock layout as checked records: bounds on counts and values,
// and writing and reading back the same records.
#include <gtest/gtest.h>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/TempHome.h"
#include "toolbar/DockLayout.h"

namespace toolbar {

TEST(DockPanelLayoutStore, CountsAndValuesAreBounded) {
  TTempHome home;
  TMemIniFile ini(String(u"/nonexistent-folder/layout.ini"));
  ini.WriteString(u"Dock", u"ToolBarCount", u"2147483647");
  ini.WriteString(u"Dock", u"RowCount", u"2147483647");
  for (Integer i = 1; i <= MaxStoredToolBars + 10; ++i) ini.WriteString(u"Dock", u"Name" + IntToStr(i), u"A");
  ini.WriteString(u"Dock", u"A.Row", u"-7");
  ini.WriteString(u"Dock", u"A.Width", u"99999");
  ini.WriteString(u"Dock", u"A.Left", u"x");
  ini.WriteString(u"Dock", u"A.Visible", u"2");
  ini.WriteString(u"Dock", u"A.Top", u"-5");
  const TStoredDockLayout l = ReadDockLayout(ini, u"Dock");
  ASSERT_EQ(l.ToolBars.size(), std::size_t(MaxStoredToolBars));
  EXPECT_FALSE(l.RowCount) << "more rows than entries";
  const TStoredToolBar& a = l.ToolBars.front();
  EXPECT_EQ(a.Row, -1);
  EXPECT_FALSE(a.Width);
  EXPECT_FALSE(a.Left);
  EXPECT_FALSE(a.Visible);
  EXPECT_EQ(a.Top, -5);
  EXPECT_FALSE(a.Height) << "missing";

  TMemIniFile none(String(u"/nonexistent-folder/none.ini"));
  none.WriteString(u"Dock", u"ToolBarCount", u"-1");
  none.WriteString(u"Dock", u"Name1", u"A");
  EXPECT_TRUE(ReadDockLayout(none, u"Dock").ToolBars.empty());
}

TEST(DockPanelLayoutStore, WrittenRecordsReadBackTheSame) {
  TStoredDockLayout l;
  l.RowCount = 2;
  l.ToolBars.push_back({u"Standard", 0, 3, 1, 120, 26, true});
  l.ToolBars.push_back({u"Format", 1, 3, 28, 80, 26, false});
  l.ToolBars.push_back({u"Hidden", 5, std::nullopt, 1, std::nullopt, 26, false});
  TMemIniFile ini(String(u"/nonexistent-folder/layout.ini"));
  WriteDockLayout(ini, u"Dock", l);
  EXPECT_EQ(ReadDockLayout(ini, u"Dock"), l);
}

}  // namespace toolbar
