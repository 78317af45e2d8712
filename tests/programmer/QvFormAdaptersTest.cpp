// Real forms as the owners of the bootloader client and the window-position
// component: the hooks they put on the form's events, the form's own handlers
// still running behind them, and the hooks coming out in any order.
#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "programmer/QvFormSR.h"
#include "programmer/QvMessage.h"
#include "tests/programmer/BootloadSupport.h"

using namespace bootload_test;

namespace {

class FormOwnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    SetQvMessageSink([this](const String& Text) { Messages.push_back(Text); });
  }
  void TearDown() override {
    SetQvMessageSink(nullptr);
    PumpPending();
  }
  static std::unique_ptr<TForm> NewForm() {
    auto form = std::make_unique<TForm>(nullptr);
    form->AfterConstruction();
    return form;
  }
  std::vector<String> Messages;
};

// A form with its own handlers, as a designed window has them before its
// components load.
struct TCounted {
  int Shows = 0, Queries = 0, Destroys = 0;
  bool Allow = true;
  void Attach(TCustomForm& form) {
    form.OnShow = [this](TObject*) { ++Shows; };
    form.OnCloseQuery = [this](TObject*, bool& can) {
      ++Queries;
      can = Allow;
    };
    form.OnDestroy = [this](TObject*) { ++Destroys; };
  }
};

TEST_F(FormOwnerTest, BootloadGuardsItsFormWhileARunGoesOn) {
  test_support::TBootloaderOptions options;
  options.Silent = true;  // a run that lasts a few seconds
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  TTempHome home;
  auto form = NewForm();
  TCounted own;
  own.Attach(*form);
  // A hook underneath the guard that goes away first must not take the guard with it.
  auto* sr = new TQvFormSR(form.get());
  sr->Loaded();
  auto* boot = new TQvBootload(form.get());  // owned by the form
  delete sr;
  TRecorder rec;
  rec.Attach(*boot);
  boot->SetComPort(u"COM42");
  EXPECT_TRUE(form->CloseQuery());
  boot->CheckBLS();
  ASSERT_FALSE(boot->QvBootCanClose());

  // The form's own refusal stands alone: the guard adds nothing to it.
  own.Allow = false;
  EXPECT_FALSE(form->CloseQuery());
  EXPECT_TRUE(rec.Events.empty());
  EXPECT_TRUE(form->Enabled());

  own.Allow = true;
  form->Close();  // through the form's own close path
  EXPECT_EQ(own.Queries, 3);
  EXPECT_FALSE(form->Enabled());
  EXPECT_TRUE(form->AlphaBlend());
  EXPECT_EQ(form->AlphaBlendValue(), 230);
  EXPECT_EQ(Messages, std::vector<String>{u"Wait for RuVuzeroziru Thread end"});
  EXPECT_EQ(rec.Events, std::vector<std::string>{"wait"});

  ASSERT_TRUE(PumpUntil([&] { return rec.Ends == 1; }));
  EXPECT_TRUE(form->Enabled());
  EXPECT_TRUE(form->CloseQuery());

  // Gone before the form: the form keeps only its own handler.
  delete boot;
  EXPECT_TRUE(form->CloseQuery());
  EXPECT_EQ(own.Queries, 5);

  // One still owned when the form goes is destroyed with it, touching nothing of the form.
  new TQvBootload(form.get());
  form.reset();
  EXPECT_EQ(own.Destroys, 1);
}

// A window made the way the program makes its main window: the component is
// created in the form's constructor and loaded with it.
class TPositionedForm : public TForm {
 public:
  explicit TPositionedForm(TCounted& own) : TForm(nullptr) {
    SetName(u"MainForm");
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 300, 200);
    own.Attach(*this);
    SR = new TQvFormSR(this);
  }
  TQvFormSR* SR;
};

std::unique_ptr<TPositionedForm> MakePositioned(TCounted& own) {
  auto form = std::make_unique<TPositionedForm>(own);
  form->AfterConstruction();
  return form;
}

TEST_F(FormOwnerTest, FormSRKeepsTheWindowPlaceThroughItsEvents) {
  TTempHome home;
  ASSERT_NE(Screen, nullptr);
  const Integer sw = Screen->Width(), sh = Screen->Height();
  ASSERT_GT(sw, 400);
  ASSERT_GT(sh, 300);
  TCounted own;
  {
    auto form = MakePositioned(own);
    EXPECT_EQ(form->Position(), poDefaultPosOnly);
    form->Show();  // first run: the designed size, centred
    EXPECT_EQ(std::make_tuple(form->Left(), form->Top(), form->Width(), form->Height()),
              std::make_tuple((sw - 300) / 2, (sh - 200) / 2, 300, 200));
    EXPECT_EQ(own.Shows, 1);
    form->SetBounds(40, 30, 320, 240);
    EXPECT_TRUE(form->CloseQuery());
    EXPECT_EQ(own.Queries, 1);
  }
  EXPECT_EQ(own.Destroys, 1);

  {
    auto form = MakePositioned(own);
    form->Show();
    EXPECT_EQ(std::make_tuple(form->Left(), form->Top(), form->Width(), form->Height()),
              std::make_tuple(40, 30, 320, 240));
    // Shown again, the window stays where it was put meanwhile.
    form->SetBounds(60, 70, 320, 240);
    form->Hide();
    form->Show();
    EXPECT_EQ(std::make_tuple(form->Left(), form->Top()), std::make_tuple(60, 70));
    EXPECT_EQ(own.Shows, 3);
    form->SetWindowState(wsMaximized);
  }
  EXPECT_EQ(own.Destroys, 2);

  {
    auto form = MakePositioned(own);
    form->Show();
    EXPECT_EQ(form->WindowState(), wsMaximized);
  }

  // A window that is never shown stores nothing.
  {
    auto form = MakePositioned(own);
    form->SetWindowState(wsNormal);
  }
  auto form = MakePositioned(own);
  form->Show();
  EXPECT_EQ(form->WindowState(), wsMaximized);
}

TEST_F(FormOwnerTest, HooksComeOutInAnyOrder) {
  TTempHome home;
  TComponent plain(nullptr);
  EXPECT_THROW(TQvFormSR refused(&plain), EInvalidCast);
  EXPECT_THROW(TQvFormSR none(nullptr), EInvalidCast);
  EXPECT_EQ(plain.ComponentCount(), 0);

  auto form = NewForm();
  form->SetName(u"Other");
  form->SetBounds(5, 5, 300, 200);
  TCounted own;
  own.Attach(*form);
  // Both on one form, the position component hooked last (made after the
  // form was built, so its creator loads it).
  auto* boot = new TQvBootload(form.get());
  auto* sr = new TQvFormSR(form.get());
  sr->Loaded();
  sr->Loaded();  // a second load hooks nothing twice

  // The one underneath goes first: the chain above it still reaches the form's handler.
  delete boot;
  EXPECT_TRUE(form->CloseQuery());
  EXPECT_EQ(own.Queries, 1);
  form->Show();
  EXPECT_EQ(own.Shows, 1);
  EXPECT_EQ(form->Left(), (Screen->Width() - 300) / 2);  // still restored (first run: centred)

  // Then the other: the form is back to its own handlers, called once each.
  const Integer left = form->Left();
  delete sr;
  form->Hide();
  form->SetLeft(left + 7);
  form->Show();
  EXPECT_EQ(form->Left(), left + 7);
  EXPECT_EQ(own.Shows, 2);
  EXPECT_TRUE(form->CloseQuery());
  EXPECT_EQ(own.Queries, 2);
  form.reset();
  EXPECT_EQ(own.Destroys, 1);
}

}  // namespace
