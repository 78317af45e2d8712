#include <gtest/gtest.h>

#include "platform/devices/Wmi.h"
#include "programmer/QvWmiU.h"

TEST(WmiQueryTest, AppendsObjectLinesAndIgnoresFailures) {
  SetWmiObjectSource([] {
    return std::vector<TWmiObject>{{u"Win32_PnPEntity", {{u"Caption", u"A (COM1)"}}, {}},
                                   {u"Win32_PnPEntity", {{u"Caption", u"B (COM2)"}}, {}}};
  });
  TStringList list;
  list.Add(u"before");
  WmiQuery(u"SELECT Caption FROM Win32_PnPEntity", &list);
  ASSERT_GE(list.Count(), 9);
  EXPECT_EQ(list.Strings(0), u"before");
  EXPECT_LT(0, list.IndexOf(u"\tCaption = \"A (COM1)\";"));
  EXPECT_LT(list.IndexOf(u"\tCaption = \"A (COM1)\";"), list.IndexOf(u"\tCaption = \"B (COM2)\";"));
  Integer n = list.Count();
  WmiQuery(u"SELECT Caption FROM Win32_PnPEntity WHERE Caption = \"none\"", &list);
  WmiQuery(u"SELECT FROM", &list);
  WmiQuery(u"SELECT Caption FROM Win32_PnPEntity", nullptr);
  EXPECT_EQ(list.Count(), n);
  SetWmiObjectSource(nullptr);
}
