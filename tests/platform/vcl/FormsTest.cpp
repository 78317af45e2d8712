// Forms: the modal loop, closing, releasing, hints and the screen object.
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Timer.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

TEST_F(VclTest, ModalLoopKeepsTimersAndPostedMessagesRunning) {
  TVirtualClock clock;
  TForm* owner = NewForm(200, 100, bsSingle);
  owner->Show();
  TForm* dialog = NewForm(150, 80, bsDialog);
  Log log;
  TTimer timer(dialog);
  timer.SetEnabled(false);
  timer.SetInterval(100);
  int ticks = 0;
  HWND helper = nullptr;
  timer.OnTimer = [&](TObject*) {
    log.push_back("tick " + std::to_string(++ticks));
    if (ticks == 3) PostMessage(helper, WM_USER + 1, 0, 0);
  };
  helper = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER) {
      // Runs inside the modal loop: start the timer and let virtual time pass.
      log.push_back("posted");
      EXPECT_FALSE(IsWindowEnabled(owner->Handle()));
      timer.SetEnabled(true);
      PostMessage(helper, WM_USER + 2, 0, 0);
    } else if (m.Msg == WM_USER + 2) {
      if (ticks < 3) {
        clock.Advance(100);
        PostMessage(helper, WM_USER + 2, 0, 0);
      }
    } else if (m.Msg == WM_USER + 1) {
      log.push_back("done");
      dialog->SetModalResult(mrOk);
    }
  });
  int queries = 0;
  dialog->OnCloseQuery = [&](TObject*, bool& can) {
    can = ++queries > 1;  // the first try is refused: the loop goes on
    if (!can) PostMessage(helper, WM_USER + 1, 0, 0);
  };
  PostMessage(helper, WM_USER, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(log, (Log{"posted", "tick 1", "tick 2", "tick 3", "done", "done"}));
  EXPECT_EQ(queries, 2);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
  EXPECT_FALSE(dialog->FormState().Contains(fsModal));
  // A visible form cannot be made modal.
  owner->Show();
  EXPECT_THROW(owner->ShowModal(), EInvalidOperation);
  DeallocateHWnd(helper);
}

TEST_F(VclTest, CloseAsksThenHidesOrReleasesTheForm) {
  TForm* f = NewForm();
  f->Show();
  bool allow = false;
  f->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
  f->Close();
  EXPECT_TRUE(f->Visible());
  allow = true;
  TCloseAction chosen = caHide;
  f->OnClose = [&](TObject*, TCloseAction& a) { a = chosen; };
  f->Close();
  EXPECT_FALSE(f->Visible());
  chosen = caNone;
  f->Show();
  f->Close();
  EXPECT_TRUE(f->Visible());

  // caFree: the form goes once the pending messages are delivered.
  auto* released = new TForm(Application);
  released->AfterConstruction();
  bool destroyed = false;
  released->OnDestroy = [&](TObject*) { destroyed = true; };
  released->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
  released->Show();
  const Integer before = Screen->FormCount();
  released->Close();
  EXPECT_FALSE(destroyed);
  PumpPending();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Screen->FormCount(), before - 1);
}

TEST_F(VclTest, HintShowsAfterThePauseAndGoesOnPress) {
  TVirtualClock clock;
  TForm* f = NewForm(300, 200);
  f->SetLeft(0);
  f->SetTop(0);
  auto* c = new TCustomControl(f);
  c->SetParent(f);
  c->SetBounds(10, 10, 50, 50);
  c->SetHint(u"Short|Long text");
  c->SetShowHint(true);
  auto* quiet = new TCustomControl(f);
  quiet->SetParent(f);
  quiet->SetBounds(100, 10, 50, 50);
  quiet->SetHint(u"never");
  f->Show();
  Log shown;
  Application->SetHintPresenter({[&](const THintInfo& i) { shown.push_back("show " + Utf8(i.HintStr)); },
                                 [&] { shown.push_back("hide"); }});
  Application->OnShowHint = [&](String& s, bool&, THintInfo& info) {
    EXPECT_EQ(info.HintControl, c);
    s += u"!";
  };
  testinput::MouseMove(c, {5, 5});
  EXPECT_EQ(Application->Hint(), u"Long text");
  clock.Advance(Cardinal(Application->HintPause()) - 10);
  EXPECT_TRUE(shown.empty());
  clock.Advance(20);
  EXPECT_EQ(shown, (Log{"show Short!"}));
  EXPECT_TRUE(Application->HintShowing());
  testinput::MouseDown();
  testinput::MouseUp();
  EXPECT_EQ(shown, (Log{"show Short!", "hide"}));
  // A control without ShowHint shows nothing however long the pointer rests.
  shown.clear();
  testinput::MouseMove(quiet, {5, 5});
  clock.Advance(5000);
  EXPECT_TRUE(shown.empty());
  Application->SetHintPresenter({});
  Application->OnShowHint = nullptr;
}

TEST_F(VclTest, ScreenKnowsFormsActiveFormCursorAndFonts) {
  const Integer before = Screen->FormCount();
  TForm* a = NewForm();
  TForm* b = NewForm();
  EXPECT_EQ(Screen->FormCount(), before + 2);
  a->Show();
  EXPECT_EQ(Screen->ActiveForm(), a);
  b->Show();
  EXPECT_EQ(Screen->ActiveForm(), b);
  EXPECT_TRUE(b->Active());
  EXPECT_FALSE(a->Active());
  b->Hide();
  EXPECT_TRUE(a->Active());
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  Screen->SetCursor(crDefault);
  EXPECT_GT(Screen->Fonts()->Count(), 0);
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  EXPECT_EQ(Screen->WorkAreaRect().Width(), Screen->Width());
  // A form placed in the screen's centre.
  b->SetPosition(poScreenCenter);
  b->Show();
  EXPECT_EQ(b->Left(), (Screen->Width() - b->Width()) / 2);
}

}  // namespace

#include "platform/rtl/TypInfo.h"

namespace {

TEST_F(VclTest, PublishedPropertiesReachControlsAndFormsByName) {
  RegisterFormClasses();
  const TClassInfo* formClass = FindClass(u"TForm");
  ASSERT_NE(formClass, nullptr);
  std::unique_ptr<TComponent> made(formClass->CreateComponent(nullptr));
  auto* form = dynamic_cast<TForm*>(made.get());
  ASSERT_NE(form, nullptr);
  form->AfterConstruction();  // loaded: alignment runs from here on
  SetEnumProp(form, u"BorderStyle", u"bsSingle");
  SetOrdProp(form, u"Height", 196);
  EXPECT_EQ(form->ClientHeight(), 167);
  EXPECT_EQ(GetOrdProp(form, u"ClientHeight"), 167);
  SetStrProp(form, u"Caption", u"Main");
  EXPECT_EQ(form->Caption(), u"Main");
  auto* child = new TCustomControl(form);
  child->SetParent(form);
  SetSetProp(child, u"Anchors", u"[akRight,akBottom]");
  EXPECT_EQ(child->Anchors(), (TAnchors{akRight, akBottom}));
  SetEnumProp(child, u"Align", u"alClient");
  EXPECT_EQ(child->Width(), form->ClientWidth());
  EXPECT_EQ(GetObjectProp(child, u"Font"), child->Font());
  EXPECT_EQ(GetEnumProp(form, u"Position"), u"poDefaultPosOnly");
}

}  // namespace
