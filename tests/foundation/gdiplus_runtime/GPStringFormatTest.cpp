// String formats and text drawn through them.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPStringFormatTest : public RuntimeTest {};
}  // namespace

TEST_F(GPStringFormatTest, StringFormatsAndTextDrawing) {
  TGPStringFormat format(StringFormatFlagsNoWrap);
  EXPECT_EQ(format.GetFormatFlags(), StringFormatFlagsNoWrap);
  EXPECT_EQ(format.SetAlignment(GpStringAlignment(9)), InvalidParameter);
  std::unique_ptr<TGPStringFormat> copy = format.Clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(format.lastError, Ok) << "the clone's status replaces the kept failure";
  EXPECT_EQ(copy->GetFormatFlags(), StringFormatFlagsNoWrap);
  format.SetAlignment(StringAlignmentCenter);
  EXPECT_EQ(format.GetAlignment(), StringAlignmentCenter);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  EXPECT_EQ(format.GetHotkeyPrefix(), HotkeyPrefixShow);
  format.SetDigitSubstitution(0x0409, StringDigitSubstituteNone);
  EXPECT_EQ(format.GetDigitSubstitutionLanguage(), 0x0409);
  EXPECT_EQ(format.GetDigitSubstitutionMethod(), StringDigitSubstituteNone);
  TGPStringFormat empty(static_cast<const TGPStringFormat*>(nullptr));
  EXPECT_EQ(empty.nativeFormat, nullptr);
  EXPECT_EQ(empty.GetTrimming(), StringTrimmingNone);
  EXPECT_EQ(empty.Clone(), nullptr);

  TCanvas canvas(80, 30);
  TGPFont font(u"Arial", 14, FontStyleBold, UnitPixel);
  TGPSolidBrush black(0xFF000000);
  ASSERT_EQ(canvas.Graphics.DrawString(u"WWW", &font, GPRectF(0, 0, 80, 30), nullptr, &black), Ok);
  int dark = 0;
  for (int x = 0; x < 80; ++x)
    for (int y = 0; y < 30; ++y) dark += Channel(canvas.Px(x, y), 0) < 128;
  EXPECT_GT(dark, 20);
  TGPRectF box;
  Integer fitted = 0, lines = 0;
  ASSERT_EQ(canvas.Graphics.MeasureString(u"WWW", -1, &font, GPRectF(0, 0, 200, 50), nullptr, box, &fitted, &lines),
            Ok);
  EXPECT_EQ(fitted, 3);
  EXPECT_EQ(lines, 1);
  EXPECT_GT(box.Width, 20.0f);
}
