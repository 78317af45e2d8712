// Fonts and families, with the shared generic families.
#include <memory>

#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPFontTest : public RuntimeTest {};

String FamilyName(TGPFontFamily& family) {
  String name;
  family.GetFamilyName(name);
  return name;
}
}  // namespace

TEST_F(GPFontTest, FontsFallBackToTheGenericSansSerifFamily) {
  TGPFont font(u"No Such Family Anywhere", 12);
  EXPECT_EQ(font.GetLastStatus(), Ok);
  ASSERT_TRUE(font.IsAvailable());
  TGPFontFamily family;
  ASSERT_EQ(font.GetFamily(&family), Ok);
  ASSERT_NE(TGPFontFamily::GenericSansSerif(), nullptr);
  EXPECT_EQ(FamilyName(family), FamilyName(*TGPFontFamily::GenericSansSerif()));
  // A second GetFamily frees the handle the first one gave (the leak checker
  // watches).
  ASSERT_EQ(font.GetFamily(&family), Ok);
  EXPECT_TRUE(family.IsAvailable());
  EXPECT_EQ(font.GetSize(), 12.0f);
  EXPECT_EQ(font.GetUnit(), UnitPoint);
  EXPECT_GT(font.GetHeight(96.0f), 12.0f);

  // A size GDI+ refuses: the fall-back is tried again and fails too.
  TGPFont zero(u"Arial", 0);
  EXPECT_FALSE(zero.IsAvailable());
  EXPECT_EQ(zero.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(zero.GetStyle(), 0);

  // With the generic family unavailable (no GDI+ memory), the handle stays nil.
  UnbindRuntime();
  TGPFont none(u"No Such Family Anywhere", 12);
  EXPECT_FALSE(none.IsAvailable());
  EXPECT_NE(none.GetLastStatus(), Ok);
}

TEST_F(GPFontTest, GenericObjectsAreSharedUntilTheEnd) {
  TGPFontFamily* serif = TGPFontFamily::GenericSerif();
  ASSERT_NE(serif, nullptr);
  EXPECT_EQ(TGPFontFamily::GenericSerif(), serif);
  EXPECT_NE(TGPFontFamily::GenericMonospace(), serif);
  TGPStringFormat* typographic = TGPStringFormat::GenericTypographic();
  ASSERT_NE(typographic, nullptr);
  EXPECT_EQ(TGPStringFormat::GenericTypographic(), typographic);
  EXPECT_NE(TGPStringFormat::GenericDefault(), typographic);
  EXPECT_EQ(serif->GetLastStatus(), Ok);
  EXPECT_GT(serif->GetEmHeight(FontStyleRegular), 0);
  EXPECT_LE(FamilyName(*serif).size(), 32u);
  // The end of the classes unit frees them; later requests make new ones.
  UnbindRuntime();
  BindRuntime();
  TGPFontFamily* again = TGPFontFamily::GenericSerif();
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(FamilyName(*again).empty());
}
