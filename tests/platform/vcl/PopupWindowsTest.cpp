// Pop-ups owned by a control: a form whose parent is a button, made a
// pop-up by its CreateParams, shown at a screen point above its owner's
// form; its activation (taken, or not when asked), the owner's caption, and
// hiding when it loses the activation.
#include <algorithm>

#include "platform/testing/VirtualClock.h"
#include "platform/vcl/PopupWindows.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Timer.h"
#include "platform/vcl/WindowRegion.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A drop-down window as the toolbar family writes theirs: it hides 1 ms
// after losing the activation (when HideOnDeactivate says so) and keeps the
// caption of its owner's form active while it is active itself.
class TDropDown : public TCustomForm {
 public:
  TDropDown(TComponent* AOwner, DWORD ExtraExStyle) : TCustomForm(AOwner), FExtraExStyle(ExtraExStyle) {
    FHideTimer = std::make_unique<TTimer>(nullptr);
    FHideTimer->SetEnabled(false);
    FHideTimer->SetInterval(1);
    FHideTimer->OnTimer = [this](TObject*) {
      FHideTimer->SetEnabled(false);
      Hide();
    };
  }
  bool HideOnDeactivate = true;
  Log Events;

 protected:
  void CreateParams(TCreateParams& P) override {
    TCustomForm::CreateParams(P);
    P.Style = (P.Style | WS_POPUP) & ~WS_CHILD;
    P.ExStyle |= FExtraExStyle;
    P.WindowClass.style |= CS_DROPSHADOW;  // accepted, draws nothing
  }
  void Dispatch(TMessage& M) override {
    TCustomForm::Dispatch(M);
    if (M.Msg != WM_ACTIVATE) return;
    if (LOWORD(M.WParam) != WA_INACTIVE) {
      Events.push_back("activated");
      HWND top = GetParent(Handle());
      while (HWND up = GetParent(top)) top = up;
      SendMessage(top, WM_NCACTIVATE, TRUE, 0);
    } else {
      Events.push_back("deactivated");
      if (HideOnDeactivate && Visible()) FHideTimer->SetEnabled(true);
    }
  }

 private:
  DWORD FExtraExStyle;
  std::unique_ptr<TTimer> FHideTimer;
};

class PopupWindows : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    Form = NewForm(300, 200);
    Form->SetColor(clWhite);
    Button = new TButton(Form);
    Button->SetParent(Form);
    Button->SetBounds(20, 20, 80, 25);
    // The owner's form writes down its activation and caption messages.
    auto inner = Form->WindowProc;
    Form->WindowProc = [this, inner](TMessage& m) {
      if (m.Msg == WM_ACTIVATE) FormLog.push_back(LOWORD(m.WParam) == WA_INACTIVE ? "inactive" : "active");
      if (m.Msg == WM_NCACTIVATE) FormLog.push_back(m.WParam ? "caption active" : "caption inactive");
      inner(m);
    };
    Form->Show();
  }
  TDropDown* NewDropDown(DWORD ExStyle = 0) {
    auto* d = new TDropDown(Form, ExStyle);
    d->AfterConstruction();
    d->SetParent(Button);
    d->SetBorderStyle(bsNone);
    d->SetFormStyle(fsStayOnTop);
    d->SetColor(clRed);
    d->SetBounds(150, 180, 120, 80);  // over the lower part of the form (100..400, 100..300)
    return d;
  }
  TForm* Form = nullptr;
  TButton* Button = nullptr;
  Log FormLog;
};

TEST_F(PopupWindows, ShowsAtItsScreenPointAboveItsOwnersFormAndApartFromIt) {
  TDropDown* drop = NewDropDown();
  drop->HideOnDeactivate = false;
  drop->Show();
  Settle();
  EXPECT_EQ(drop->ClientToScreen({0, 0}), (TPoint{150, 180}));
  TRect r;
  ASSERT_TRUE(GetWindowRect(drop->Handle(), &r));
  EXPECT_EQ(r, (TRect{150, 180, 270, 260}));  // no room kept for a shadow
  EXPECT_EQ(GetParent(drop->Handle()), Button->Handle());
  EXPECT_EQ(GetParent(Button->Handle()), Form->Handle());
  EXPECT_EQ(GetParent(Form->Handle()), nullptr);
  EXPECT_EQ(WindowFromPoint({160, 190}), drop->Handle());

  // A press on the owner's form activates and raises that form: the pop-up stays above it.
  testinput::Click(Form, {10, 150});
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_EQ(WindowFromPoint({160, 190}), drop->Handle());
  EXPECT_EQ(FindDragTarget({160, 190}, false), drop);
  EXPECT_EQ(testinput::Grab(Form)->Canvas()->Pixels(60, 90), clWhite);  // not drawn into its owner's form

  // Moved, it follows in screen coordinates. Its bounds are no place inside
  // the button: the button's picture, hit tests and input do not meet it there.
  drop->SetBounds(30, 10, 120, 80);
  EXPECT_EQ(WindowFromPoint({35, 15}), drop->Handle());
  EXPECT_EQ(WindowFromPoint({150, 130}), Button->Handle());
  EXPECT_NE(testinput::Grab(Form)->Canvas()->Pixels(50, 30), clRed);
  EXPECT_EQ(Button->ControlAtPos({35, 15}, true, true), nullptr);
  EXPECT_EQ(FindDragTarget({150, 130}, true), Button);

  // A press inside reaches it and activates it.
  drop->SetBounds(500, 40, 120, 80);
  EXPECT_EQ(WindowFromPoint({510, 50}), drop->Handle());
  bool pressed = false;
  drop->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
    pressed = X == 10 && Y == 10;
  };
  testinput::Click(drop, {10, 10});
  EXPECT_TRUE(pressed);
  EXPECT_EQ(GetActiveWindow(), drop->Handle());
}

TEST_F(PopupWindows, StaysAboveItsOwnersFormAndAboveOtherFormsWhenStayOnTop) {
  TForm* other = NewForm(200, 200);
  other->SetBounds(120, 150, 200, 200);  // over the pop-up's place too
  for (const TFormStyle style : {fsNormal, fsStayOnTop}) {
    SCOPED_TRACE(style == fsNormal ? "fsNormal" : "fsStayOnTop");
    other->Hide();
    TDropDown* drop = NewDropDown();
    drop->HideOnDeactivate = false;
    drop->SetFormStyle(style);
    drop->Show();
    testinput::Click(Form, {10, 150});  // the owner's form comes to the top
    EXPECT_EQ(WindowFromPoint({160, 190}), drop->Handle());
    other->Show();
    testinput::Click(other, {150, 150});  // another form over both
    EXPECT_EQ(WindowFromPoint({160, 190}), style == fsStayOnTop ? drop->Handle() : other->Handle());
    testinput::Click(Form, {10, 150});
    EXPECT_EQ(WindowFromPoint({160, 190}), drop->Handle());
    delete drop;
  }
}

TEST_F(PopupWindows, ShownItTakesTheActivationAndTheOwnersCaptionStaysActive) {
  TDropDown* drop = NewDropDown();
  ASSERT_EQ(GetActiveWindow(), Form->Handle());
  FormLog.clear();
  drop->Show();
  EXPECT_EQ(GetActiveWindow(), drop->Handle());
  EXPECT_EQ(drop->Events, (Log{"activated"}));
  EXPECT_FALSE(Form->Active());
  // The form heard of its deactivation first, then the pop-up's request for an active caption.
  const auto inactive = std::find(FormLog.begin(), FormLog.end(), "inactive");
  ASSERT_NE(inactive, FormLog.end());
  const auto lastCaption = std::find_if(FormLog.rbegin(), FormLog.rend(), [](const std::string& e) {
    return e.rfind("caption", 0) == 0;
  });
  ASSERT_NE(lastCaption, FormLog.rend());
  EXPECT_EQ(*lastCaption, "caption active");
  EXPECT_GT(lastCaption.base() - 1, inactive);
}

TEST_F(PopupWindows, TheKeyboardFocusStaysInTheActiveWindow) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(20, 60, 100, 22);
  edit->SetFocus();
  TDropDown* drop = NewDropDown();
  drop->HideOnDeactivate = false;
  auto* inner = new TEdit(drop);
  inner->SetParent(drop);
  inner->SetBounds(5, 5, 100, 22);
  drop->Show();
  EXPECT_EQ(GetFocus(), inner->Handle());
  // Back on the owner's form, the keyboard goes there, not to the pop-up it no longer shows active.
  testinput::Click(Form, {200, 20});
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_NE(GetFocus(), nullptr);
  EXPECT_NE(GetFocus(), inner->Handle());
  EXPECT_TRUE(GetFocus() == Form->Handle() || GetFocus() == edit->Handle());
}

// The ways of showing a pop-up that leave the activation where it is.
struct TQuietShow {
  const char* Name;
  DWORD ExStyle;
  std::function<void(TDropDown*)> Show;
  bool PressActivates;  // a press inside activates it afterwards
};

TEST_F(PopupWindows, TakesNoActivationWhenAskedNot) {
  const TQuietShow cases[] = {
      {"WS_EX_NOACTIVATE", WS_EX_NOACTIVATE, [](TDropDown* d) { d->Show(); }, false},
      {"SW_SHOWNOACTIVATE", 0, [](TDropDown* d) { ShowWindow(d->Handle(), SW_SHOWNOACTIVATE); }, true},
      {"SW_SHOWNA", 0, [](TDropDown* d) { ShowWindow(d->Handle(), SW_SHOWNA); }, true},
      {"SWP_NOACTIVATE", 0,
       [](TDropDown* d) {
         SetWindowPos(d->Handle(), HWND_TOP, 200, 200, 120, 80, SWP_SHOWWINDOW | SWP_NOACTIVATE);
       },
       true},
  };
  for (const TQuietShow& c : cases) {
    SCOPED_TRACE(c.Name);
    Form->SetFocus();
    TDropDown* drop = NewDropDown(c.ExStyle);
    FormLog.clear();
    c.Show(drop);
    EXPECT_TRUE(IsWindowVisible(drop->Handle()));
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
    EXPECT_TRUE(drop->Events.empty());
    EXPECT_EQ(std::count(FormLog.begin(), FormLog.end(), "inactive"), 0);
    const TRect at = [&] {
      TRect r;
      GetWindowRect(drop->Handle(), &r);
      return r;
    }();
    testinput::MouseMove({at.Left + 5, at.Top + 5});
    testinput::MouseDown();
    testinput::MouseUp();
    EXPECT_EQ(GetActiveWindow(), c.PressActivates ? drop->Handle() : Form->Handle());
    delete drop;
  }
  // Without SWP_NOACTIVATE, the same call activates it.
  Form->SetFocus();
  TDropDown* drop = NewDropDown();
  SetWindowPos(drop->Handle(), HWND_TOP, 200, 200, 120, 80, SWP_SHOWWINDOW);
  EXPECT_EQ(GetActiveWindow(), drop->Handle());
  EXPECT_EQ(drop->Events, (Log{"activated"}));
  delete drop;
}

// What takes the activation from a shown pop-up.
struct TDeactivation {
  const char* Name;
  std::function<void(TForm* Owner, TForm* Other)> Act;
};

TEST_F(PopupWindows, HidesWhenItLosesTheActivationIfItSaysSo) {
  TVirtualClock clock;
  TForm* other = NewForm(100, 100);
  other->SetBounds(600, 400, 100, 100);
  const TDeactivation cases[] = {
      {"press on the owner's form", [](TForm* owner, TForm*) { testinput::Click(owner, {10, 150}); }},
      {"press on another form", [](TForm*, TForm* o) {
         o->Show();
         testinput::Click(o, {10, 10});
       }},
  };
  for (const TDeactivation& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const bool hide : {true, false}) {
      other->Hide();
      Form->SetFocus();
      TDropDown* drop = NewDropDown();
      drop->HideOnDeactivate = hide;
      drop->Show();
      ASSERT_EQ(GetActiveWindow(), drop->Handle());
      c.Act(Form, other);
      EXPECT_NE(GetActiveWindow(), drop->Handle());
      EXPECT_EQ(drop->Events, (Log{"activated", "deactivated"}));
      if (hide) {
        EXPECT_TRUE(AdvanceUntil(clock, [&] { return !drop->Visible(); }, 100, 1));
        EXPECT_FALSE(IsWindowVisible(drop->Handle()));
      } else {
        clock.Advance(50);
        EXPECT_TRUE(drop->Visible());
      }
      delete drop;
    }
  }
}

}  // namespace
