// The customizer dialog's rules, driven without its window: handlers, button
// states, unique names and the section that OK writes, reloaded onto the toolbar.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/CustomizerForm.h"
#include "toolbar/ZadEdevAziCustomizer.h"

namespace {

using namespace toolbar;

class CustomizerForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() / ("custform-" + std::to_string(getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
    File = (Dir / "layout.ini").u16string();
    EnsureGuiApplication();
    InitApplication();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    TB = new TZadEdevAzi(Form.get());
    TB->SetName(u"ToolBar1");
    TB->SetParent(Form.get());
    for (const char16_t* n : {u"Open", u"Save"}) {
      auto* b = new TZadEdevAziButton(Form.get());
      b->SetName(n);
      b->SetCaption(n);
      b->SetParent(TB);
    }
    auto* s = new TZadEdevAziSeparator(Form.get());
    s->SetName(u"Sep");
    s->SetParent(TB);
    Cust = new TZadEdevAziCustomizer(Form.get());
    Cust->SetName(u"Customizer1");
    Cust->SetZadEdevAzi(TB);
    Cust->Commands()->Add()->SetCaption(u"New File");
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    std::filesystem::remove_all(Dir);
  }
  std::vector<String> Names() const {
    std::vector<String> r;
    for (Integer i = 0; i < TB->ToolBarControlCount(); ++i) r.push_back(TB->GetToolBarControls(i)->Name());
    return r;
  }
  std::vector<String> Texts(TCustomizerController& C) const {
    std::vector<String> r;
    for (auto& e : C.Items()) r.push_back(e.Text);
    return r;
  }
  std::filesystem::path Dir;
  String File;
  std::unique_ptr<TForm> Form;
  TZadEdevAzi* TB = nullptr;
  TZadEdevAziCustomizer* Cust = nullptr;
};

TEST_F(CustomizerForm, LoadsListsAndStates) {
  TCustomizerController c(Cust);
  c.LoadComponents();
  EXPECT_EQ(Texts(c), (std::vector<String>{u"Open", u"Save", u"Separator"}));
  EXPECT_EQ(c.CommandTexts(), std::vector<String>{u"New_File"});
  EXPECT_EQ(c.IconIndex, 0);  // no images: the no-image entry
  EXPECT_FALSE(c.Modified());
}

struct MoveCase {
  const char* Name;
  void (TCustomizerController::*Handler)();
  Integer Selected;
  std::vector<String> After;
  Integer SelectedAfter;
  bool Recorded;
};

TEST_F(CustomizerForm, MoveAndDeleteHandlers) {
  const MoveCase cases[] = {
      {"top", &TCustomizerController::TopButtonClick, 2, {u"Separator", u"Open", u"Save"}, 0, true},
      {"bottom", &TCustomizerController::BottomButtonClick, 0, {u"Save", u"Separator", u"Open"}, 2, true},
      {"up", &TCustomizerController::UpButtonClick, 1, {u"Save", u"Open", u"Separator"}, 0, true},
      {"up from first wraps", &TCustomizerController::UpButtonClick, 0, {u"Separator", u"Save", u"Open"}, 2, true},
      {"up without selection", &TCustomizerController::UpButtonClick, -1, {u"Open", u"Save", u"Separator"}, 2, false},
      {"down", &TCustomizerController::DownButtonClick, 0, {u"Save", u"Open", u"Separator"}, 1, true},
      {"down from last wraps", &TCustomizerController::DownButtonClick, 2, {u"Separator", u"Save", u"Open"}, 0, true},
      {"down without selection", &TCustomizerController::DownButtonClick, -1, {u"Open", u"Save", u"Separator"}, 0,
       false},
      {"delete last", &TCustomizerController::DeleteButtonClick, 2, {u"Open", u"Save"}, 1, true},
      {"delete first", &TCustomizerController::DeleteButtonClick, 0, {u"Save", u"Separator"}, 0, true},
      {"delete nothing selected", &TCustomizerController::DeleteButtonClick, -1, {u"Open", u"Save", u"Separator"},
       -1, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.Name);
    TCustomizerController c(Cust);
    c.LoadComponents();
    c.ItemIndex = k.Selected;
    (c.*k.Handler)();
    EXPECT_EQ(Texts(c), k.After);
    EXPECT_EQ(c.ItemIndex, k.SelectedAfter);
    EXPECT_EQ(c.Modified(), k.Recorded);
  }
}

TEST_F(CustomizerForm, ButtonStates) {
  struct Case {
    Integer Selected;
    bool ReOrder;
    bool AnyProperty;
    TCustomizerButtonStates Expect;
  };
  //                                     Edit   Top    Up     Down   Bottom Add   Delete Clear
  const Case cases[] = {
      {0, true, true, {true, false, false, true, true, true, true, true}},
      {1, true, true, {true, true, true, true, true, true, true, true}},
      {2, true, true, {false, true, true, false, false, true, true, true}},  // separator: no edit
      {1, false, true, {true, false, false, false, false, true, true, true}},
      {0, true, false, {false, false, false, true, true, true, true, true}},
      {-1, true, true, {false, false, false, false, false, true, false, true}},
  };
  for (const auto& k : cases) {
    Cust->Options()->SetReOrder(k.ReOrder);
    auto* bp = Cust->ButtonProperties();
    for (auto set : {&TButtonProperties::SetCaption, &TButtonProperties::SetGlyph, &TButtonProperties::SetHint,
                     &TButtonProperties::SetVisible, &TButtonProperties::SetShowCaption})
      (bp->*set)(false);
    bp->SetCaption(k.AnyProperty);
    TCustomizerController c(Cust);
    c.LoadComponents();
    c.ItemIndex = k.Selected;
    EXPECT_TRUE(c.UpdateButtons() == k.Expect) << k.Selected << k.ReOrder << k.AnyProperty;
  }
}

TEST_F(CustomizerForm, ClearAsksFirst) {
  TCustomizerController c(Cust);
  c.LoadComponents();
  String asked;
  c.ClearButtonClick([&](const String& q) { asked = q; return false; });
  EXPECT_EQ(asked, u"Are you sure that you want to clear ToolBar?");
  EXPECT_EQ(c.Items().size(), 3u);
  c.ClearButtonClick([](const String&) { return true; });
  EXPECT_TRUE(c.Items().empty());
  EXPECT_TRUE(c.Modified());
}

TEST_F(CustomizerForm, DragWithinAndFromCommands) {
  TCustomizerController c(Cust);
  c.LoadComponents();
  c.ItemIndex = 0;
  c.DropFromItems(2);
  EXPECT_EQ(Texts(c), (std::vector<String>{u"Save", u"Separator", u"Open"}));
  c.ItemIndex = 0;
  c.DropFromCommands();
  EXPECT_EQ(Texts(c), (std::vector<String>{u"Save", u"New_File", u"Separator", u"Open"}));
  Cust->Options()->SetReOrder(false);
  c.ItemIndex = 0;
  c.DropFromItems(3);
  EXPECT_EQ(c.Items()[0].Text, u"Save");
}

TEST_F(CustomizerForm, NewItemsGetUniqueNamesAndReloadIdentically) {
  Cust->SetFileName(File);
  TCustomizerController c(Cust);
  c.LoadComponents();
  c.ItemIndex = 2;
  c.SeparatorButtonClick();
  c.SeparatorButtonClick();
  c.AddGlowButtonClick();
  c.AddGlowButtonClick();
  c.AddButtonClick();
  c.AddButtonClick();
  const TLayoutSection L = c.BuildLayout();
  std::vector<String> names;
  for (const auto& it : L.Items) names.push_back(it.Name);
  EXPECT_EQ(names, (std::vector<String>{u"Open", u"Save", u"Sep", u"ZadEdevAziSeparator1", u"ZadEdevAziSeparator2",
                                        u"New_File", u"New_File2", u"ZADEDEVAZIBUTTON1", u"ZADEDEVAZIBUTTON2"}));
  ASSERT_EQ(c.SaveLayout(), String());
  Cust->LoadToolBar();
  EXPECT_EQ(Names(), names);
  // Saving the reloaded toolbar unchanged and loading again gives the same toolbar.
  TCustomizerController again(Cust);
  again.LoadComponents();
  ASSERT_EQ(again.SaveLayout(), String());
  Cust->LoadToolBar();
  EXPECT_EQ(Names(), names);
  Cust->RestoreOriginal();
  EXPECT_EQ(Names(), (std::vector<String>{u"Open", u"Save", u"Sep"}));
}

TEST_F(CustomizerForm, WriteErrorIsReportedAndDialogStaysUsable) {
  Cust->SetEnablePersistence(false);
  Cust->SetFileName((Dir / "missing" / "layout.ini").u16string());
  Cust->SetEnablePersistence(true);
  TCustomizerController c(Cust);
  c.LoadComponents();
  c.ItemIndex = 0;
  c.DeleteButtonClick();
  EXPECT_NE(c.SaveLayout(), String());
  c.TopButtonClick();
  EXPECT_EQ(c.Items().size(), 2u);
}

TEST_F(CustomizerForm, AfterPostOnlyWhenApplied) {
  struct Case {
    TModalResult Result;
    bool Modified;
    bool Persistence;
    bool Posted;
  };
  const Case cases[] = {
      {mrOk, true, true, true},           {mrOk, false, true, false},
      {mrOk, true, false, false},         {mrCancel, true, true, false},
      {TZadEdevAziCustomizer::mrResetLayout, true, true, false},
  };
  Cust->SetFileName(File);
  for (const auto& k : cases) {
    int posted = 0;
    Cust->OnAfterPost = [&](TObject*) { ++posted; };
    Cust->SetEnablePersistence(k.Persistence);
    Cust->PostDialog(k.Result, k.Modified);
    EXPECT_EQ(posted, k.Posted ? 1 : 0) << k.Result << k.Modified << k.Persistence;
  }
}

}  // namespace
