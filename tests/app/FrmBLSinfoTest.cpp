// The bootloader information dialog: layout, Esc and the button closing it
// (and Esc closing the USB information dialog, which has no button).
#include <gtest/gtest.h>

#include "app/FrmBLSinfo.h"
#include "app/FrmUsbInfo.h"
#include "platform/vcl/Bitmap.h"
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

// Shown, the labels paint in their designed colours, and "F_CPU:" keeps its
// underscore: the lowest row with ink lies below the letters, between "F"
// and "CPU".
TEST_F(DialogsTest, BootloaderInfoPaintsItsColoursAndTheUnderscore) {
  auto f = Make<TfrmBLSinfo>();
  f->Show();
  auto count = [](TBitmap* b, TColor c) {
    int n = 0;
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x) n += b->Canvas()->Pixels(x, y) == c;
    return n;
  };
  struct TCase {
    TLabel* Label;
    TColor Color;
  };
  for (const TCase& t : {TCase{f->Label1, clGray}, TCase{f->lbUC, clRed}, TCase{f->Label2, clGray},
                         TCase{f->lbFCPU, clFuchsia}, TCase{f->Label3, clGray}}) {
    SCOPED_TRACE(StringToUtf8(t.Label->Name()));
    auto b = testinput::Grab(t.Label);
    EXPECT_GE(count(b.get(), t.Color), 20);
    EXPECT_EQ(count(b.get(), clBlack), 0);
  }
  auto b = testinput::Grab(f->Label2);
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(f->Label2->Font());
  const int x0 = f->Label2->Width() - measure.Canvas()->TextWidth(u"F_CPU:");  // right-aligned
  const int underFrom = x0 + measure.Canvas()->TextWidth(u"F"), underTo = x0 + measure.Canvas()->TextWidth(u"F_");
  int lowest = -1, lettersBottom = -1;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x)
      if (b->Canvas()->Pixels(x, y) != clWhite) {
        lowest = y;
        if (x > underTo) lettersBottom = y;
      }
  ASSERT_GE(lettersBottom, 0);
  EXPECT_GT(lowest, lettersBottom);
  int under = 0, elsewhere = 0;
  for (int x = 0; x < b->Width(); ++x) {
    if (b->Canvas()->Pixels(x, lowest) == clWhite) continue;
    if (x >= underFrom - 1 && x <= underTo) ++under;
    else ++elsewhere;
  }
  EXPECT_GE(under, 3);
  EXPECT_EQ(elsewhere, 0);
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

