// The bootloader information dialog: layout, Esc and the button closing it
// (and Esc closing the USB information dialog, which has no button).
#include <gtest/gtest.h>

#include "app/FrmBLSinfo.h"
#include "app/FrmUsbInfo.h"
#include "tests/app/DialogsFixture.h"

using namespace app_test;

TEST_F(DialogsTest, BootloaderInfoLayout) {
  auto f = Make<TfrmBLSinfo>();
  EXPECT_EQ(f->Caption(), u"BLS INFO");
  EXPECT_EQ(f->BorderStyle(), bsSingle);
  EXPECT_EQ(f->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_EQ(f->ClientWidth(), 226);
  EXPECT_EQ(f->ClientHeight(), 115);
  EXPECT_EQ(f->Color(), clWhite);
  EXPECT_EQ(f->Font()->Name(), u"Tahoma");
  EXPECT_FALSE(f->Scaled());
  const TAlignment R = taRightJustify, L = taLeftJustify;
  CheckLabels({
      {f->Label1, {20, 16, 89, 13}, u"Microcontroller:", clGray, u"Verdana", -11, false, R},
      {f->lbUC, {118, 14, 0, 0}, u"ATmega8(A)", clRed, u"Verdana", -13, true, L},
      {f->Label2, {67, 48, 42, 13}, u"F_CPU:", clGray, u"Verdana", -11, false, R},
      {f->lbFCPU, {118, 46, 0, 0}, u"11.0592 MHz", clFuchsia, u"Verdana", -13, true, L},
      {f->Label3, {24, 84, 85, 13}, u"Connection OK", clGray, u"Verdana", -11, false, R},
  });
  for (TLabel* l : {f->Label1, f->lbUC, f->Label2, f->lbFCPU, f->Label3})
    EXPECT_EQ(l->Font()->Charset(), EASTEUROPE_CHARSET);
  EXPECT_EQ(f->Image1->BoundsRect(), (TRect{20, 35, 52, 67}));
  EXPECT_EQ(f->Image1->Picture()->Width(), 32);
  EXPECT_EQ(f->Image2->BoundsRect(), (TRect{124, 81, 140, 97}));
  EXPECT_EQ(f->Image2->Picture()->Width(), 16);
  EXPECT_EQ(f->AdvGlowButton1->BoundsRect(), (TRect{158, 80, 215, 97}));
  EXPECT_EQ(f->AdvGlowButton1->Caption(), u"close");
  EXPECT_EQ(f->AdvGlowButton1->Appearance()->Color(), TColor(14811120));
  EXPECT_EQ(f->AdvGlowButton1->Appearance()->ColorMirror(), TColor(65408));
  EXPECT_EQ(f->AdvGlowButton1->Appearance()->ColorHot(), TColor(16117985));
  EXPECT_TRUE(f->AdvGlowButton1->Rounded());
}

TEST_F(DialogsTest, EscAndTheButtonCloseTheModalDialogs) {
  auto bls = Make<TfrmBLSinfo>();
  EXPECT_EQ(ShowModalAnd(*bls, [] { testinput::KeyPress(VK_ESCAPE); }), mrCancel);
  EXPECT_FALSE(bls->Visible());
  // Shown again (never re-created), with new texts; the button closes it.
  bls->lbUC->SetCaption(u"ATmega328P");
  String shown;
  EXPECT_EQ(ShowModalAnd(*bls, [&] {
              shown = bls->lbUC->Caption();
              testinput::Click(bls->AdvGlowButton1, {5, 5});
            }),
            mrCancel);
  EXPECT_EQ(shown, u"ATmega328P");
  // Other keys leave it open.
  int keysSeen = 0;
  EXPECT_EQ(ShowModalAnd(*bls, [&] {
              testinput::KeyPress(VK_RETURN);
              testinput::KeyPress('A');
              keysSeen = bls->Visible() ? 2 : 0;
              testinput::KeyPress(VK_ESCAPE);
            }),
            mrCancel);
  EXPECT_EQ(keysSeen, 2);

  auto usb = Make<TfrmUsbInfo>();
  EXPECT_EQ(ShowModalAnd(*usb, [] { testinput::KeyPress(VK_ESCAPE); }), mrCancel);
  EXPECT_FALSE(usb->Visible());
}

