#include <gtest/gtest.h>

#include "foundation/FoundationUnits.h"
#include "foundation/json/AdvPersistence.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/win/Modules.h"

namespace {

TEST(FoundationUnits, StartInOrderAndStopInReverse) {
  TUnitSequence units;
  AddFoundationUnits(units);
  EXPECT_EQ(units.Names(), (std::vector<String>{u"AdvUtils", u"AdvPersistence", u"ZovIVIDlusApi",
                                                 u"ZovIVIDlusClasses", u"AdvGDIP"}));
  units.Initialize();
  EXPECT_EQ(TAdvPersistence::TypeKey(), u"$type");
  for (Integer i = 0; i < kAdvClipboardFormatCount; ++i) EXPECT_GE(AdvClipboardFormat(i), 0xC000);
  HMODULE gdiplus = LoadLibrary(u"gdiplus.dll");
  EXPECT_NE(gdiplus, nullptr);
  if (gdiplus != nullptr) {
    EXPECT_NE(GetProcAddress(gdiplus, "GdipCreateFromHDC"), nullptr);
    FreeLibrary(gdiplus);
  }
  units.Finalize();
  EXPECT_EQ(TAdvPersistence::TypeKey(), u"");
}

}  // namespace
