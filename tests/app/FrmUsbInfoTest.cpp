// The USB information dialog's layout.
#include <gtest/gtest.h>

#include "app/FrmUsbInfo.h"
#include "tests/app/DialogsFixture.h"

using namespace app_test;

TEST_F(DialogsTest, UsbInfoLayout) {
  auto f = Make<TfrmUsbInfo>();
  EXPECT_EQ(f->Caption(), u"RYX-VORira info");
  EXPECT_EQ(f->BorderStyle(), bsSingle);
  EXPECT_EQ(f->ClientWidth(), 221);
  EXPECT_EQ(f->ClientHeight(), 115);
  EXPECT_TRUE(f->Scaled());
  const TAlignment R = taRightJustify, L = taLeftJustify;
  CheckLabels({
      {f->Label1, {37, 8, 58, 13}, u"Firmware:", 16744448, u"Verdana", -11, false, R},
      {f->lbVer, {104, 6, 0, 0}, u"ver. x.x.x.x", clRed, u"Verdana", -13, true, L},
      {f->Label2, {63, 40, 32, 13}, u"Date:", clGray, u"Tahoma", -11, false, R},
      {f->lbDate, {104, 39, 0, 0}, u"xxxx-xx-xx", 6052956, u"Verdana", -12, false, L},
      {f->Label5, {62, 61, 33, 13}, u"Time:", clGray, u"Tahoma", -11, false, R},
      {f->lbTime, {104, 60, 0, 0}, u"xx:xx:xx", 6052956, u"Verdana", -12, false, L},
      {f->Label3, {58, 87, 85, 13}, u"Connection OK", clGray, u"Tahoma", -11, false, R},
  });
  // Sized to its 64 x 64 picture.
  EXPECT_EQ(f->Image1->BoundsRect(), (TRect{1, 26, 65, 90}));
  EXPECT_EQ(f->Image2->BoundsRect(), (TRect{158, 84, 174, 100}));
}

