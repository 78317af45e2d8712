// The connector guide: layout, closing by Esc, button and double click, and
// dragging the borderless window by its picture.
#include <gtest/gtest.h>

#include "app/FrmPinout.h"
#include "tests/app/DialogsFixture.h"

using namespace app_test;

TEST_F(DialogsTest, PinoutLayout) {
  auto f = Make<TfrmPinout>();
  EXPECT_EQ(f->BorderStyle(), bsNone);
  EXPECT_EQ(f->ClientWidth(), 642);
  EXPECT_EQ(f->ClientHeight(), 361);
  EXPECT_EQ(f->Width(), 642);  // no frame at all
  EXPECT_EQ(f->Color(), clBtnFace);
  EXPECT_EQ(f->Panel1->BoundsRect(), (TRect{0, 0, 642, 361}));
  EXPECT_EQ(f->Panel1->BevelOuter(), bvNone);
  EXPECT_EQ(f->Panel1->BorderStyle(), bsSingle);
  EXPECT_EQ(f->Image1->Parent(), f->Panel1);
  EXPECT_EQ(f->Image1->BoundsRect(), (TRect{-1, -1, 639, 359}));
  EXPECT_EQ(f->Image1->Cursor(), crSizeAll);
  EXPECT_EQ(f->AdvGlowButton1->Parent(), f->Panel1);
  EXPECT_EQ(f->AdvGlowButton1->BoundsRect(), (TRect{564, 8, 621, 25}));
  EXPECT_EQ(f->QvFormSR1->TypeIniName(), asAppIniName);
}

// The connector picture is read when the window first shows, not when it is
// made at start-up; the image keeps its designed place either way.
TEST_F(DialogsTest, PinoutReadsItsPictureWhenFirstShown) {
  auto f = Make<TfrmPinout>();
  EXPECT_TRUE(f->Image1->Picture()->Graphic() == nullptr || f->Image1->Picture()->Width() == 0);
  EXPECT_EQ(f->Image1->BoundsRect(), (TRect{-1, -1, 639, 359}));
  f->Show();
  EXPECT_EQ(f->Image1->Picture()->Width(), 640);
  EXPECT_EQ(f->Image1->Picture()->Height(), 360);
  EXPECT_EQ(f->Image1->BoundsRect(), (TRect{-1, -1, 639, 359}));
  f->Close();
  f->Show();  // shown again: the same picture
  EXPECT_EQ(f->Image1->Picture()->Width(), 640);
}

TEST_F(DialogsTest, PinoutClosesByEscButtonAndDoubleClick) {
  auto f = Make<TfrmPinout>();
  struct Way {
    const char* what;
    std::function<void()> close;
  } ways[] = {
      {"Esc", [] { testinput::KeyPress(VK_ESCAPE); }},
      {"button", [&] { testinput::Click(f->AdvGlowButton1, {5, 5}); }},
      {"double click", [&] {
         testinput::Click(f->Image1, {200, 150});
         testinput::MouseDoubleClick();
         testinput::MouseUp();
       }},
  };
  for (const Way& w : ways) {
    SCOPED_TRACE(w.what);
    f->Show();
    PumpPending();
    ASSERT_TRUE(f->Visible());
    w.close();
    PumpPending();
    EXPECT_FALSE(f->Visible());
  }
}

TEST_F(DialogsTest, PinoutFollowsALeftDragOfThePicture) {
  auto f = Make<TfrmPinout>();
  f->Show();
  f->SetBounds(100, 80, f->Width(), f->Height());
  PumpPending();
  const TPoint grab = f->Image1->ClientToScreen({300, 200});
  // A right press does not start a drag.
  testinput::MouseMove(grab);
  testinput::MouseDown(mbRight);
  testinput::MouseMove({grab.X + 40, grab.Y + 40});
  testinput::MouseUp(mbRight);
  EXPECT_EQ(f->Left(), 100);
  EXPECT_EQ(f->Top(), 80);

  // A left press lets the window follow the pointer until the button is up.
  testinput::MouseMove(grab);
  testinput::MouseDown(mbLeft);
  EXPECT_EQ(GetCapture(), nullptr);  // the picture let go of the mouse
  testinput::MouseMove({grab.X + 30, grab.Y + 20});
  EXPECT_EQ(f->Left(), 130);
  EXPECT_EQ(f->Top(), 100);
  testinput::MouseMove({grab.X - 50, grab.Y + 5});
  EXPECT_EQ(f->Left(), 50);
  EXPECT_EQ(f->Top(), 85);
  testinput::MouseUp(mbLeft);
  testinput::MouseMove({grab.X + 200, grab.Y + 200});
  EXPECT_EQ(f->Left(), 50);
  EXPECT_EQ(f->Top(), 85);
  EXPECT_TRUE(f->Visible());
  f->Close();
}

