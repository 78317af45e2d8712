#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/vcl/Application.h"
#include "platform/win/Module.h"
#include "platform/testing/TempHome.h"
#include "platform/win/Files.h"
#include "platform/win/WinReg.h"
#include "programmer/QvFormSR.h"

namespace {

struct FakeForm : IQvFormGeometry {
  String Name = u"MainForm";
  Integer L = 10, T = 20, W = 400, H = 300, State = 0;
  String FormName() const override { return Name; }
  Integer Left() const override { return L; }
  Integer Top() const override { return T; }
  Integer Width() const override { return W; }
  Integer Height() const override { return H; }
  void SetLeft(Integer v) override { L = v; }
  void SetTop(Integer v) override { T = v; }
  void SetWidth(Integer v) override { W = v; }
  void SetHeight(Integer v) override { H = v; }
  Integer WindowState() const override { return State; }
  void SetWindowState(Integer v) override { State = v; }
  Integer ScreenWidth() const override { return 1920; }
  Integer ScreenHeight() const override { return 1080; }
};

class FormSRTest : public ::testing::Test {
 protected:
  TTempHome Home;
  FakeForm Form;
};

TEST_F(FormSRTest, TypedSettingsRoundTrip) {
  TQvFormSR sr(nullptr, &Form);
  EXPECT_EQ(sr.ReadRegINI(u"comPort", u"COM1"), u"COM1");  // first run
  EXPECT_TRUE(sr.SaveRegINI(u"comPort", u"COM7"));
  EXPECT_TRUE(sr.SaveRegINI(u"Flag", true));
  EXPECT_TRUE(sr.SaveRegINI(u"Count", Integer(-42)));
  EXPECT_FALSE(sr.SaveRegINI(u"", u"x"));

  TQvFormSR again(nullptr, &Form);
  EXPECT_EQ(again.ReadRegINI(u"COMPORT", u"COM1"), u"COM7");
  EXPECT_TRUE(again.ReadRegINI(u"Flag", false));
  EXPECT_EQ(again.ReadRegINI(u"Count", Integer(5)), -42);
  // Wrong types and bad texts give the default.
  EXPECT_TRUE(again.SaveRegINI(u"comPort", true));
  EXPECT_EQ(again.ReadRegINI(u"comPort", u"COM1"), u"COM1");
  EXPECT_TRUE(again.ReadRegINI(u"Count", true));
  EXPECT_EQ(again.ReadRegINI(u"Flag", Integer(5)), 5);
  EXPECT_TRUE(again.SaveRegINI(u"Count", u"12x"));
  EXPECT_EQ(again.ReadRegINI(u"Count", Integer(5)), 5);
  EXPECT_EQ(again.ReadRegINI(u"", u"dflt"), u"dflt");
  // The program file here has no extension: its whole name is the base name.
  String exe = ExtractFileName(GetModuleFileName());
  ASSERT_EQ(exe.find(u'.'), String::npos);
  EXPECT_EQ(again.MainAppRegKey(), u"\\Software\\" + exe);
  EXPECT_EQ(again.AppRegKey(), u"\\Software\\" + exe + u"\\MainForm");
}

// A window whose geometry calls fail, to show where the hooks' exceptions go.
struct FailingForm : FakeForm {
  bool FailTop = true;
  void SetTop(Integer v) override {
    if (FailTop) throw EInvalidOperation(u"no screen");
    T = v;
  }
  Integer WindowState() const override { throw EInvalidOperation(u"no state"); }
};

TEST_F(FormSRTest, HookExceptionsGoToTheApplication) {
  InitApplication();  // kept for the process, as the message loop is
  std::vector<String> reported;
  Application->OnException = [&](TObject*, Exception* e) { reported.push_back(e->Message()); };
  {
    FailingForm form;
    TQvFormSR sr(nullptr, &form);
    sr.FormShow();
    form.FailTop = false;
    sr.ResetPos();  // the restore failed half-way; a reset allows saving
    sr.FormDestroy();
  }
  EXPECT_EQ(reported, (std::vector<String>{u"no screen", u"no state"}));
  Application->OnException = nullptr;
}

TEST_F(FormSRTest, RegistryPositionsMaximisedAndOffScreen) {
  {
    TQvFormSR sr(nullptr, &Form);
    sr.SavePos();  // nothing restored yet: nothing written
    sr.FormShow();  // first run: designed size, centred
    EXPECT_EQ(Form.W, 400);
    EXPECT_EQ(Form.L, (1920 - 400) / 2);
    EXPECT_EQ(Form.T, (1080 - 300) / 2);
    Form.L = 100;
    Form.T = 50;
    Form.W = 640;
    Form.H = 480;
    sr.FormDestroy();
  }
  FakeForm second;
  {
    TQvFormSR sr(nullptr, &second);
    sr.FormShow();
    EXPECT_EQ(std::tie(second.L, second.T, second.W, second.H), std::make_tuple(100, 50, 640, 480));
    sr.SetRestoreOnlyPosition(true);
    FakeForm third;
    TQvFormSR only(nullptr, &third);
    only.SetRestoreOnlyPosition(true);
    only.RestorePos();
    EXPECT_EQ(std::tie(third.L, third.T, third.W, third.H), std::make_tuple(100, 50, 400, 300));
    // Maximised: the stored size and position are ignored.
    second.State = 2;
    second.L = -5000;
    sr.SavePos();
  }
  FakeForm fourth;
  TQvFormSR sr(nullptr, &fourth);
  sr.RestorePos();
  EXPECT_EQ(fourth.State, 2);
  EXPECT_EQ(fourth.L, 10);
  // A position off every screen comes back centred.
  fourth.State = 0;
  fourth.L = 1920;
  sr.SavePos();
  sr.RestorePos();
  EXPECT_EQ(fourth.L, (1920 - 400) / 2);
  EXPECT_EQ(fourth.T, (1080 - 300) / 2);
}

TEST_F(FormSRTest, IniPositionsAndCustomNames) {
  String ini = Utf8ToString(Home.Path()) + u"/settings.ini";
  {
    TQvFormSR sr(nullptr, &Form);
    sr.SetUseRegistry(false);
    sr.SetIniFileName(ini);
    EXPECT_EQ(sr.TypeIniName(), asCustom);
    sr.Loaded();
    sr.ResetPos();
    Form.L = 30;
    Form.T = 40;
    Form.W = 500;
    sr.SavePos();
    EXPECT_NE(sr.AppRegKey().find(u"MainForm_" + ini), String::npos);
  }
  FakeForm back;
  TQvFormSR sr(nullptr, &back);
  sr.SetUseRegistry(false);
  sr.SetIniFileName(ini);
  sr.Loaded();
  sr.RestorePos();
  EXPECT_EQ(std::tie(back.L, back.T, back.W, back.H), std::make_tuple(30, 40, 500, 300));
  sr.SetTypeIniName(asAppIniName);
  EXPECT_EQ(sr.IniFileName().substr(sr.IniFileName().size() - 4), u".ini");
  EXPECT_THROW(TQvFormSR(nullptr, nullptr), EInvalidCast);
}

TEST_F(FormSRTest, StartWithSessionEntry) {
  TQvFormSR sr(nullptr, &Form);
  EXPECT_FALSE(sr.StartWithWindows());
  sr.SetStartWithWindows(true);
  EXPECT_TRUE(sr.StartWithWindows());
  sr.SetStartWithWindows(false);
  EXPECT_FALSE(sr.StartWithWindows());
}

}  // namespace
