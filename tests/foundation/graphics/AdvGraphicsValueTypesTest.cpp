// Fill, stroke, font and gradient stops: change notification, colour
// storage, copies between kinds, and the colour routines.
#include <gtest/gtest.h>

#include "foundation/graphics/AdvGraphicsFill.h"
#include "foundation/graphics/AdvGraphicsFont.h"
#include "foundation/graphics/AdvGraphicsSaveState.h"
#include "foundation/graphics/AdvGraphicsStroke.h"
#include "foundation/svg/AdvBitmap.h"

namespace {

struct TCounter {
  int Count = 0;
  TObject* Sender = nullptr;
  TNotifyEvent Event() {
    return [this](TObject* s) {
      ++Count;
      Sender = s;
    };
  }
};

TEST(AdvGraphicsFill, EffectiveChangesNotifyOnce) {
  TAdvGraphicsFill fill(gfkSolid, clWhite, clGray);
  TCounter n;
  fill.OnChanged = n.Event();
  fill.SetColor(clRed);
  fill.SetColor(clRed);
  EXPECT_EQ(n.Count, 1);
  EXPECT_EQ(n.Sender, &fill);
  fill.SetOpacity(1);  // unchanged
  fill.SetGradientAngle(0);
  EXPECT_EQ(n.Count, 1);
  fill.SetGradientCenterPoint({0, 0});  // always notifies
  EXPECT_EQ(n.Count, 2);
  // clNone is the null colour, clDefault the button face.
  fill.SetColorTo(clNone);
  EXPECT_EQ(fill.ColorTo(), gcNull);
  fill.SetColorTo(clNone);
  EXPECT_EQ(n.Count, 3);
  fill.SetColorMirror(clDefault);
  EXPECT_EQ(fill.ColorMirror(), clBtnFace);

  n.Count = 0;
  fill.BeginUpdate();
  fill.SetKind(gfkGradient);
  fill.SetOrientation(gfoHorizontal);
  fill.SetGradientType(gfgtRadial);
  EXPECT_EQ(n.Count, 0);
  fill.EndUpdate();
  EXPECT_EQ(n.Count, 1);
  // EndUpdate notifies even when nothing changed inside.
  fill.BeginUpdate();
  fill.EndUpdate();
  EXPECT_EQ(n.Count, 2);
}

TEST(AdvGraphicsFill, DefaultsAndStoredProperties) {
  TAdvGraphicsFill fill(gfkGradient, clRed, clBlue);
  EXPECT_EQ(fill.Orientation(), gfoVertical);
  EXPECT_EQ(fill.TextureMode(), gtmStretch);
  EXPECT_EQ(fill.GradientCenterColor(), gcNull);
  EXPECT_EQ(fill.ColorMirror(), gcNull);
  EXPECT_EQ(fill.GradientMatrix, TAdvGraphicsMatrix::Identity());
  EXPECT_FALSE(fill.IsKindStored() || fill.IsColorStored() || fill.IsOpacityStored() || fill.IsGradientAngleStored());
  fill.SetKind(gfkSolid);
  fill.SetOpacity(0.5f);
  EXPECT_TRUE(fill.IsKindStored());
  EXPECT_TRUE(fill.IsOpacityStored());
}

TEST(AdvGraphicsFill, GradientStopsNotifyTheFill) {
  TAdvGraphicsFill fill;
  TCounter n;
  fill.OnChanged = n.Event();
  TAdvGraphicsFillGradientItem* stop = fill.GradientItems()->Add();
  EXPECT_EQ(stop->Color(), clWhite);
  EXPECT_EQ(stop->Position(), 0);
  EXPECT_EQ(stop->Opacity(), 1);
  EXPECT_EQ(n.Count, 1);  // adding a stop changes the gradient
  stop->SetPosition(0.5f);
  stop->SetPosition(0.5f);
  EXPECT_EQ(n.Count, 2);
  fill.AddGradientItem(clRed, 1, 0.25f);
  EXPECT_EQ(n.Count, 3);  // one notification for the whole stop
  ASSERT_EQ(fill.GradientItems()->Count(), 2);
  EXPECT_EQ(fill.GradientItems()->GetItem(1)->Color(), clRed);
  fill.GradientItems()->Delete(0);
  EXPECT_EQ(n.Count, 4);
  fill.ClearGradientItems();
  EXPECT_EQ(fill.GradientItems()->Count(), 0);
  EXPECT_EQ(n.Count, 5);
  EXPECT_THROW(fill.GradientItems()->GetItem(0), EListError);
}

TEST(AdvGraphicsFill, AssignFromFillAndFromStroke) {
  TAdvGraphicsFill source(gfkGradient, clRed, clBlue, clLime, clYellow);
  source.SetOrientation(gfoCustom);
  source.SetGradientAngle(30);
  source.SetGradientMode(gfgmCollection);
  source.AddGradientItem(clAqua, 0.3f, 0.5f);
  source.GradientMatrix = TAdvGraphicsMatrix::CreateScaling(2, 2);
  TAdvGraphicsFill fill;
  TCounter n;
  fill.OnChanged = n.Event();
  fill.Assign(&source);
  EXPECT_EQ(n.Count, 1);
  EXPECT_EQ(fill.Kind(), gfkGradient);
  EXPECT_EQ(fill.ColorMirrorTo(), clYellow);
  EXPECT_EQ(fill.GradientAngle(), 30);
  ASSERT_EQ(fill.GradientItems()->Count(), 1);
  EXPECT_EQ(fill.GradientItems()->GetItem(0)->Opacity(), 0.5f);
  EXPECT_EQ(fill.GradientMatrix, TAdvGraphicsMatrix::Identity());  // not copied

  TAdvGraphicsStroke stroke(gskDash, clMaroon);
  stroke.SetOpacity(0.2f);
  fill.Assign(&stroke);
  EXPECT_EQ(n.Count, 2);
  EXPECT_EQ(fill.Kind(), gfkSolid);
  EXPECT_EQ(fill.Color(), clMaroon);
  EXPECT_EQ(fill.ColorTo(), gcNull);
  EXPECT_EQ(fill.Opacity(), 1);
  EXPECT_EQ(fill.GradientMode(), gfgmCollection);  // gradient settings kept
  TAdvGraphicsFont font;
  fill.Assign(&font);  // nothing copied, still one notification
  EXPECT_EQ(n.Count, 3);
  EXPECT_EQ(fill.Color(), clMaroon);
}

TEST(AdvGraphicsFill, TextureChangesNotify) {
  TAdvGraphicsFill fill;
  TCounter n;
  fill.OnChanged = n.Event();
  TAdvBitmap picture;
  fill.SetTexture(&picture);
  EXPECT_GE(n.Count, 1);
  ASSERT_NE(fill.Texture(), nullptr);
  EXPECT_NE(fill.Texture(), &picture);
}

TEST(AdvGraphicsStroke, SettersAndAssign) {
  TAdvGraphicsStroke stroke(gskSolid, clSilver);
  TCounter n;
  stroke.OnChanged = n.Event();
  stroke.SetWidth(1);
  EXPECT_EQ(n.Count, 0);
  stroke.SetWidth(2.5f);
  stroke.SetColor(clDefault);
  EXPECT_EQ(stroke.Color(), clBtnFace);
  EXPECT_EQ(n.Count, 2);
  EXPECT_TRUE(stroke.IsWidthStored());
  EXPECT_TRUE(stroke.IsColorStored());
  EXPECT_FALSE(stroke.IsKindStored());

  TAdvGraphicsFill fill(gfkGradient, clNavy, clRed);
  fill.SetOpacity(0.3f);
  stroke.Assign(&fill);
  EXPECT_EQ(stroke.Color(), clNavy);
  EXPECT_EQ(stroke.Kind(), gskSolid);
  EXPECT_EQ(stroke.Width(), 1);
  EXPECT_EQ(stroke.Opacity(), 1);
  EXPECT_EQ(n.Count, 3);
}

TEST(AdvGraphicsFont, NotifiesOutsideBrackets) {
  TAdvGraphicsFont font;
  EXPECT_EQ(font.Height(), -11);
  TCounter n;
  font.OnChanged = n.Event();
  font.SetName(u"Arial");
  EXPECT_EQ(n.Count, 1);
  font.BeginUpdate();
  font.SetSize(20);
  font.SetStyle({fsBold});
  EXPECT_EQ(n.Count, 1);
  font.EndUpdate();
  EXPECT_EQ(n.Count, 2);
  TAdvGraphicsFont copy;
  copy.AssignSource(&font);
  EXPECT_EQ(copy.Name(), u"Arial");
  EXPECT_EQ(copy.Size(), 20);
}

TEST(AdvGraphicsSaveState, HoldsCopies) {
  TAdvGraphicsSaveState state;
  EXPECT_EQ(state.Fill()->Color(), clWhite);
  EXPECT_EQ(state.Fill()->ColorTo(), clGray);
  EXPECT_EQ(state.Stroke()->Color(), clSilver);
  TAdvGraphicsStroke stroke(gskDot, clRed);
  state.SetStroke(&stroke);
  stroke.SetColor(clBlue);
  EXPECT_EQ(state.Stroke()->Color(), clRed);
  EXPECT_EQ(state.Stroke()->Kind(), gskDot);
}

TEST(AdvGraphicsColors, LightenAndPack) {
  EXPECT_EQ(RGBToColor(0x12, 0x34, 0x56), 0x563412);
  EXPECT_EQ(LightenColor(0x204080, 0), 0x204080);
  EXPECT_EQ(LightenColor(0x204080, 100), clWhite);
  EXPECT_EQ(LightenColor(clBlack, 40), RGBToColor(102, 102, 102));
  EXPECT_EQ(LightenColor(clBtnFace, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(LightenColor(0x204080, 1000), clWhite);  // clamped, never wraps
}

}  // namespace
