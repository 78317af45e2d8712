#include <gtest/gtest.h>

#include "foundation/FoundationUnits.h"
#include "foundation/gdiplus/GDIPFill.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/json/AdvPersistence.h"
#include "foundation/svg/AdvSVGBitmap.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/win/Modules.h"

namespace {

TEST(FoundationUnits, StartInOrderAndStopInReverse) {
  TUnitSequence units;
  AddFoundationUnits(units);
  EXPECT_EQ(units.Names(), (std::vector<String>{u"AdvUtils", u"AdvPersistence", u"ZovIVIDlusApi",
                                                 u"ZovIVIDlusClasses", u"AdvGraphicsTypes", u"AdvGraphics", u"AdvTypes", u"AdvGDIP", u"GDIPFill"}));
  units.Initialize();
  EXPECT_EQ(TAdvPersistence::TypeKey(), u"$type");
  for (Integer i = 0; i < kAdvClipboardFormatCount; ++i) EXPECT_GE(AdvClipboardFormat(i), 0xC000);
  HMODULE gdiplus = LoadLibrary(u"gdiplus.dll");
  EXPECT_NE(gdiplus, nullptr);
  if (gdiplus != nullptr) {
    EXPECT_NE(GetProcAddress(gdiplus, "GdipCreateFromHDC"), nullptr);
    FreeLibrary(gdiplus);
  }
  ASSERT_NE(GetNamedColors(), nullptr);
  EXPECT_EQ(GetNamedColors()->Count(), 160);
  ASSERT_NE(TPicture::FindExtension(u"svg"), nullptr);
  EXPECT_EQ(TPicture::FindExtension(u"svg")->ClassName, u"TAdvSVGBitmap");
  EXPECT_GE(gdiplus::GDIPFillClipboardFormat(), 0xC000u);
  units.Finalize();
  EXPECT_EQ(TAdvPersistence::TypeKey(), u"");
  EXPECT_EQ(TPicture::FindExtension(u"svg"), nullptr);
  EXPECT_EQ(GetNamedColors(), nullptr);
}

}  // namespace
