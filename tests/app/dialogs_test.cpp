// The information dialogs and the connector guide, headless: their layouts,
// closing by button, Esc and double click, dragging the borderless window,
// and the message-box routines.
#include <gtest/gtest.h>

#include <memory>

#include "app/FrmBLSinfo.h"
#include "app/FrmPinout.h"
#include "app/FrmUsbInfo.h"
#include "app/MsgRoutines.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

namespace {

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    ResetKeyboardState();
    testinput::MouseLeaveWindows();
  }
  void TearDown() override {
    ReleaseCapture();
    PumpPending();
  }
  template <class T>
  std::unique_ptr<T> Make() {
    auto form = std::make_unique<T>(nullptr);
    form->AfterConstruction();
    return form;
  }
  // Shows Form modally and, once the modal loop runs, calls Act inside it.
  static TModalResult ShowModalAnd(TCustomForm& Form, std::function<void()> Act) {
    HWND helper = AllocateHWnd([&](TMessage& m) {
      if (m.Msg == WM_USER) Act();
    });
    PostMessage(helper, WM_USER, 0, 0);
    const TModalResult r = Form.ShowModal();
    DeallocateHWnd(helper);
    return r;
  }
  TTempHome Home;  // the connector guide keeps its place in the registry
};

struct LabelSpec {
  TLabel* Label;
  TRect Bounds;  // Right/Bottom 0: sized to its text
  const char16_t* Text;
  TColor Color;
  const char16_t* Face;
  Integer Height;
  bool Bold;
  TAlignment Alignment;
};

void CheckLabels(const std::vector<LabelSpec>& specs) {
  for (const LabelSpec& s : specs) {
    SCOPED_TRACE(StringToUtf8(s.Label->Name()));
    EXPECT_EQ(s.Label->Left(), s.Bounds.Left);
    EXPECT_EQ(s.Label->Top(), s.Bounds.Top);
    if (s.Bounds.Right != 0) {
      EXPECT_EQ(s.Label->Width(), s.Bounds.Right);
      EXPECT_EQ(s.Label->Height(), s.Bounds.Bottom);
    }
    EXPECT_EQ(s.Label->Caption(), s.Text);
    EXPECT_EQ(s.Label->Font()->Color(), s.Color);
    EXPECT_EQ(s.Label->Font()->Name(), s.Face);
    EXPECT_EQ(s.Label->Font()->Height(), s.Height);
    EXPECT_EQ(s.Label->Font()->Style().Contains(fsBold), s.Bold);
    EXPECT_EQ(s.Label->Alignment(), s.Alignment);
  }
}

}  // namespace

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
}

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

TEST_F(DialogsTest, MessageRoutinesShowTheCallersFlags) {
  std::vector<TMessageBoxRequest> seen;
  TMessageBoxAnswerer previous = SetMessageBoxAnswerer([&](const TMessageBoxRequest& r) {
    seen.push_back(r);
    return r.Buttons.front();
  });
  struct Case {
    Integer (*routine)(const String&, const String&, Integer);
    const char16_t* text;
    const char16_t* caption;
    Integer flags;
    TMsgDlgType icon;
  } cases[] = {
      {ShowErrorMsg, u"Timeout", u" B\u0141\u0104D !", MB_ICONERROR, mtError},
      {ShowInfoMsg, u"Connect programmer into USB port first", u" INFORMACJA", MB_ICONINFORMATION, mtInformation},
      {ShowWarningMsg, u"VORira clone - bad version", u" OSTRZE\u017bENIE", MB_ICONWARNING, mtWarning},
      // The routines are one: the flags decide, not the name.
      {ShowErrorMsg, u"x", u"y", MB_ICONWARNING | MB_YESNO, mtWarning},
  };
  for (const Case& c : cases) {
    seen.clear();
    const Integer answer = c.routine(c.text, c.caption, c.flags);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(answer, seen[0].Buttons.front());
    EXPECT_EQ(seen[0].Text, c.text);
    EXPECT_EQ(seen[0].Caption, c.caption);
    EXPECT_EQ(seen[0].Icon, c.icon);
    const std::vector<int> buttons = (c.flags & MB_TYPEMASK) == MB_OK ? std::vector<int>{IDOK}
                                                                      : std::vector<int>{IDYES, IDNO};
    EXPECT_EQ(seen[0].Buttons, buttons);
  }
  SetMessageBoxAnswerer(std::move(previous));
}
