// The toolbar control: lifecycle, styler binding and notices, the control
// list operations, update nesting, ribbon button sizing and the orders in
// which a toolbar, its styler, its form and its controls may be destroyed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "controls/AdvGlowButton.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "toolbar/AdvGlowMenuButton.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

namespace toolbar {

namespace {

class ToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(0, 0, 500, 300);
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
  }
  TZadEdevAzi* NewToolBar() {
    auto* tb = new TZadEdevAzi(Form.get());
    tb->SetName(u"ToolBar" + IntToStr(++Count));
    tb->SetParent(Form.get());
    return tb;
  }
  template <class T>
  T* Add(TZadEdevAzi* tb, Integer W, Integer H, Integer X = 500) {
    auto* c = new T(Form.get());
    c->SetBounds(X, 3, W, H);
    c->SetParent(tb);
    return c;
  }
  std::unique_ptr<TForm> Form;
  int Count = 0;
};

}  // namespace

TEST_F(ToolBarTest, NewToolBarHasItsDefaults) {
  auto tb = std::make_unique<TZadEdevAzi>(nullptr);
  EXPECT_EQ(tb->Height(), 26);
  EXPECT_EQ(tb->Constraints()->MinWidth(), 60);
  EXPECT_EQ(tb->Constraints()->MaxWidth(), 60);
  EXPECT_EQ(tb->Version(), u"6.8.3.7");
  EXPECT_EQ(tb->GetToolBarState(), tsDocked);
  EXPECT_EQ(tb->InternalToolBarStyler()->Name(), u"InternalStyler");
  EXPECT_EQ(tb->InternalToolBarStyler()->CaptionFont()->Height(), -11);
  EXPECT_EQ(tb->CurrentToolBarStyler(), tb->InternalToolBarStyler());
  EXPECT_TRUE(tb->InternalToolBarStyler()->IsRegistered(tb.get()));
  EXPECT_EQ(tb->TextAutoOptionMenu(), u"Add or Remove Buttons");
  EXPECT_EQ(tb->Persistence()->Section(), u"UnDockedZadEdevAzis");
  EXPECT_EQ(tb->UIStyle(), tsCustom);
}

TEST_F(ToolBarTest, FixedToolBarArrangesAndMeasures) {
  TZadEdevAzi* tb = NewToolBar();
  EXPECT_EQ(tb->GetToolBarState(), tsFixed);
  EXPECT_EQ(tb->Width(), 29);  // empty: 15 + the right handle
  auto* a = Add<TButton>(tb, 40, 22);
  auto* b = Add<TButton>(tb, 30, 30);
  const Integer grip = tb->DragGripStyle() == dsNone ? 2 : 9;
  EXPECT_EQ(a->Left(), grip);
  EXPECT_EQ(b->Left(), grip + 40);
  EXPECT_EQ(tb->Width(), grip + 70 + 14);
  EXPECT_EQ(tb->Height(), 34);
  b->SetVisible(false);
  tb->ArrangeControls(true);
  EXPECT_EQ(tb->Height(), 26);
}

TEST_F(ToolBarTest, ControlListOperations) {
  TZadEdevAzi* tb = NewToolBar();
  auto* a = Add<TButton>(tb, 40, 22, 10);
  auto* b = Add<TButton>(tb, 40, 22, 100);
  auto* c = Add<TButton>(tb, 40, 22, 0);  // X = 0: to the end, whatever its place
  ASSERT_EQ(tb->ToolBarControlCount(), 3);
  EXPECT_EQ(tb->GetToolBarControls(0), a);
  EXPECT_EQ(tb->GetToolBarControls(1), b);
  EXPECT_EQ(tb->GetToolBarControls(2), c);
  EXPECT_EQ(tb->GetToolBarControls(3), nullptr);
  EXPECT_EQ(tb->GetToolBarControls(-1), nullptr);
  EXPECT_EQ(tb->IndexOfToolBarControl(Form.get()), -1);

  tb->MoveToolBarControl(2, 0);
  EXPECT_EQ(tb->GetToolBarControls(0), c);
  EXPECT_EQ(tb->RUControls()->IndexOf(c), -1);  // a user's move leaves the recently-used list
  tb->MoveToolBarControl(0, 7);                 // ignored
  tb->MoveToolBarControl(1, 1);
  EXPECT_EQ(tb->GetToolBarControls(0), c);

  // Added at run time: last in the list, and still subject to the
  // recently-used rule.
  auto* d = new TButton(Form.get());
  d->SetBounds(5, 3, 40, 22);
  EXPECT_EQ(tb->AddToolBarControl(d), 3);
  EXPECT_EQ(tb->GetToolBarControls(3), d);
  EXPECT_GE(tb->RUControls()->IndexOf(d), 0);
  EXPECT_EQ(tb->AddToolBarControl(d), -1);
  EXPECT_EQ(tb->AddToolBarControl(nullptr), -1);

  auto* e = new TButton(Form.get());
  e->SetBounds(5, 3, 40, 22);
  tb->InsertToolBarControl(1, e);
  EXPECT_EQ(tb->GetToolBarControls(1), e);
  EXPECT_GE(tb->RUControls()->IndexOf(e), 0);

  tb->EnableAllControls(false);
  EXPECT_FALSE(a->Enabled());
  delete b;  // leaves every list
  EXPECT_EQ(tb->IndexOfToolBarControl(b), -1);
  EXPECT_EQ(tb->RUControls()->IndexOf(b), -1);
}

TEST_F(ToolBarTest, UpdateNestingHoldsArrangementAndSurvivesHiding) {
  TZadEdevAzi* tb = NewToolBar();
  Form->Show();
  PumpPending();
  tb->BeginUpdate();
  tb->BeginUpdate();
  auto* a = Add<TButton>(tb, 40, 22, 300);
  EXPECT_EQ(a->Left(), 300);  // arrangement waits
  // Hidden between the calls: the nesting still unwinds.
  tb->SetVisible(false);
  tb->EndUpdate();
  EXPECT_EQ(tb->UpdateCount(), 1);
  tb->SetVisible(true);
  tb->EndUpdate();
  EXPECT_EQ(tb->UpdateCount(), 0);
  EXPECT_LT(a->Left(), 300);
  tb->EndUpdate();  // never below zero
  EXPECT_EQ(tb->UpdateCount(), 0);
}

TEST_F(ToolBarTest, StylerBindingAndNotices) {
  TZadEdevAzi* tb = NewToolBar();
  auto* styler = new TZadEdevAziOfficeStyler(Form.get());
  styler->SetName(u"Styler");
  auto* glow = Add<TAdvGlowButton>(tb, 40, 22);
  tb->SetToolBarStyler(styler);
  EXPECT_EQ(tb->CurrentToolBarStyler(), styler);
  EXPECT_TRUE(styler->IsRegistered(tb));
  tb->SetToolBarStyler(styler);  // unchanged: nothing
  EXPECT_EQ(styler->ControlCount(), 1);

  // A glow-button appearance change reaches the child glow button.
  styler->GlowButtonAppearance()->SetColor(0x123456);
  EXPECT_EQ(glow->Appearance()->Color(), TColor(0x123456));
  // A general change takes the styler's background colour.
  styler->Color()->SetColor(0x00ABCDEF);
  EXPECT_EQ(tb->Color(), TColor(0x00ABCDEF));
  // The grip kind re-arranges.
  styler->SetDragGripStyle(dsNone);
  EXPECT_EQ(glow->Left(), 2);
  styler->SetDragGripStyle(dsDots);
  EXPECT_EQ(glow->Left(), 9);

  // The grip style belongs to the styler: every toolbar sharing it follows.
  TZadEdevAzi* other = NewToolBar();
  other->SetToolBarStyler(styler);
  other->SetDragGripStyle(dsFlatDots);
  EXPECT_EQ(tb->DragGripStyle(), dsFlatDots);

  tb->SetToolBarStyler(nullptr);
  EXPECT_FALSE(styler->IsRegistered(tb));
  EXPECT_EQ(tb->CurrentToolBarStyler(), tb->InternalToolBarStyler());
}

TEST_F(ToolBarTest, FreedImageListIsForgotten) {
  TZadEdevAzi* tb = NewToolBar();
  auto* images = new TImageList(Form.get());
  images->SetWidth(24);
  images->SetHeight(24);
  tb->SetImages(images);
  tb->SetDisabledImages(images);
  EXPECT_EQ(tb->Images(), images);
  delete images;
  EXPECT_EQ(tb->Images(), nullptr);
  EXPECT_EQ(tb->DisabledImages(), nullptr);
  EXPECT_EQ(tb->Height(), 26);
}

TEST_F(ToolBarTest, InternalStylerLeavesGlowButtonsAlone) {
  TZadEdevAzi* tb = NewToolBar();
  auto* glow = Add<TAdvGlowButton>(tb, 40, 22);
  glow->Appearance()->SetColor(0x010203);
  tb->ApplyStylerToControls();
  EXPECT_EQ(glow->Appearance()->Color(), TColor(0x010203));
}

TEST_F(ToolBarTest, ComponentStyleReusesOneOfficeStyler) {
  TZadEdevAzi* tb = NewToolBar();
  const Integer owned = Form->ComponentCount();
  tb->SetComponentStyle(tsOffice2019White);
  TCustomZadEdevAziStyler* first = tb->CurrentToolBarStyler();
  EXPECT_NE(first, tb->InternalToolBarStyler());
  tb->SetComponentStyle(tsOffice2007Luna);
  tb->SetComponentStyleAndAppColor(tsOffice2016Black, clNone);
  EXPECT_EQ(tb->CurrentToolBarStyler(), first);
  EXPECT_EQ(Form->ComponentCount(), owned);
  EXPECT_EQ(tb->UIStyle(), tsOffice2016Black);
  // tsCustom only records the value.
  tb->SetComponentStyle(tsCustom);
  EXPECT_EQ(tb->UIStyle(), tsCustom);
  EXPECT_EQ(tb->CurrentToolBarStyler(), first);
  // With an external styler the style is ignored.
  auto* styler = new TZadEdevAziOfficeStyler(Form.get());
  styler->SetName(u"Ext");
  tb->SetToolBarStyler(styler);
  tb->SetComponentStyle(tsOffice2019Black);
  EXPECT_EQ(tb->UIStyle(), tsCustom);
  EXPECT_EQ(tb->CurrentToolBarStyler(), styler);
}

TEST_F(ToolBarTest, SeparatorSizesAcrossTheToolBar) {
  TZadEdevAzi* tb = NewToolBar();
  Add<TButton>(tb, 40, 30);
  auto* sep = Add<TZadEdevAziSeparator>(tb, 22, 10);
  EXPECT_EQ(sep->ZadEdevAzi(), tb);
  sep->AdjustSize();
  EXPECT_EQ(sep->Width(), 10);
  EXPECT_EQ(sep->Height(), tb->Height() - 4);
  sep->SetZadEdevAzi(tb);  // unchanged: nothing
  EXPECT_EQ(sep->Parent(), tb);
  sep->SetZadEdevAzi(nullptr);
  EXPECT_EQ(sep->Parent(), nullptr);
  EXPECT_EQ(tb->IndexOfToolBarControl(sep), -1);
  delete sep;
}

TEST_F(ToolBarTest, GlowMenuButtonIsAMenuButton) {
  TAdvGlowMenuButton b(nullptr);
  EXPECT_TRUE(b.IsMenuButton());
  EXPECT_TRUE(b.DropDownButton());
  EXPECT_EQ(b.Width(), 32);
}

TEST_F(ToolBarTest, RemoveUnfocusableControlsKeepsOrder) {
  auto* edit1 = new TEdit(Form.get());
  edit1->SetParent(Form.get());
  auto* hidden = new TEdit(Form.get());
  hidden->SetParent(Form.get());
  hidden->SetVisible(false);
  auto* label = new TLabel(Form.get());
  label->SetParent(Form.get());
  auto* edit2 = new TEdit(Form.get());
  edit2->SetParent(Form.get());
  Form->Show();
  TDbgList list;
  for (TControl* c : std::initializer_list<TControl*>{edit1, hidden, label, edit2}) list.Add(c);
  RemoveUnfocusableControls(&list);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(0), edit1);
  EXPECT_EQ(list.Items(1), label);
  EXPECT_EQ(list.Items(2), edit2);
  RemoveUnfocusableControls(nullptr);
}

// --- destruction orders (run under the sanitizers) ---

TEST_F(ToolBarTest, ToolBarDestroyedBeforeItsStyler) {
  auto styler = std::make_unique<TZadEdevAziOfficeStyler>(nullptr);
  styler->SetName(u"S");
  {
    auto tb = std::make_unique<TZadEdevAzi>(nullptr);
    tb->SetName(u"T");
    tb->SetParent(Form.get());
    tb->SetToolBarStyler(styler.get());
    Add<TAdvGlowButton>(tb.get(), 40, 22);
    Add<TZadEdevAziSeparator>(tb.get(), 10, 20);
  }
  EXPECT_EQ(styler->ControlCount(), 0);
  styler->NotifyChange(skGeneral);  // nobody dead is called
}

TEST_F(ToolBarTest, StylerDestroyedBeforeItsToolBar) {
  TZadEdevAzi* tb = NewToolBar();
  auto styler = std::make_unique<TZadEdevAziOfficeStyler>(nullptr);
  styler->SetName(u"S");
  tb->SetToolBarStyler(styler.get());
  Add<TAdvGlowButton>(tb, 40, 22);
  styler.reset();
  EXPECT_EQ(tb->ToolBarStyler(), nullptr);
  EXPECT_EQ(tb->CurrentToolBarStyler(), tb->InternalToolBarStyler());
  Form->Show();
  PumpPending();
  testinput::PaintPending();
}

TEST_F(ToolBarTest, FormDestroyedWithToolBarControlsAndStyledToolBar) {
  TZadEdevAzi* tb = NewToolBar();
  tb->SetComponentStyle(tsOffice2019White);
  Add<TZadEdevAziSeparator>(tb, 10, 20);
  Add<TAdvGlowButton>(tb, 40, 22);
  Add<TButton>(tb, 40, 22);
  auto* styler = new TZadEdevAziOfficeStyler(Form.get());
  styler->SetName(u"S");
  TZadEdevAzi* other = NewToolBar();
  other->SetToolBarStyler(styler);
  Form->Show();
  PumpPending();
  testinput::PaintPending();
  Form.reset();  // toolbars, their controls and the styler in the form's order
  PumpPending();
}

TEST_F(ToolBarTest, ControlsDestroyedBeforeTheirToolBar) {
  TZadEdevAzi* tb = NewToolBar();
  auto* sep = Add<TZadEdevAziSeparator>(tb, 10, 20);
  auto* b = Add<TButton>(tb, 40, 22);
  delete sep;
  delete b;
  EXPECT_EQ(tb->ToolBarControlCount(), 0);
  EXPECT_EQ(tb->RUControls()->Count(), 0);
  delete tb;
}

TEST_F(ToolBarTest, ControlMovedAwayForgetsAFreedToolBar) {
  TZadEdevAzi* tb = NewToolBar();
  auto* sep = Add<TZadEdevAziSeparator>(tb, 10, 20);
  sep->SetParent(Form.get());  // a separator keeps its toolbar reference when it leaves
  EXPECT_EQ(tb->IndexOfToolBarControl(sep), -1);
  EXPECT_EQ(sep->ZadEdevAzi(), tb);
  delete tb;
  EXPECT_EQ(sep->ZadEdevAzi(), nullptr);
  delete sep;
}

TEST_F(ToolBarTest, StoreErrorOnDestructionIsReportedNotThrown) {
  // The layout store is a folder: it can be neither read nor written.
  const String dir = Utf8ToString(::testing::TempDir());
  int reported = 0;
  Application->OnException = [&](TObject* Sender, Exception* E) {
    ++reported;
    EXPECT_NE(dynamic_cast<TAdvCustomToolBar*>(Sender), nullptr);
    EXPECT_FALSE(E->Message().empty());
  };
  {
    auto tb = std::make_unique<TZadEdevAzi>(nullptr);
    tb->SetName(u"Stored");
    tb->Persistence()->SetLocation(plIniFile);
    tb->Persistence()->SetKey(dir);
    tb->Persistence()->SetEnabled(true);
    EXPECT_ANY_THROW(tb->SavePosition());
  }
  Application->OnException = nullptr;
  EXPECT_EQ(reported, 1);
}

TEST_F(ToolBarTest, SavedLayoutHoldsControlVisibility) {
  const std::string path = ::testing::TempDir() + "/toolbar_layout_" + std::to_string(getpid()) + ".ini";
  const String file = Utf8ToString(path);
  {
    TZadEdevAzi* tb = NewToolBar();
    auto* a = Add<TButton>(tb, 40, 22);
    a->SetName(u"Shown");
    auto* b = Add<TButton>(tb, 40, 22);
    b->SetName(u"Gone");
    b->SetVisible(false);
    tb->Persistence()->SetLocation(plIniFile);
    tb->Persistence()->SetKey(file);
    tb->Persistence()->SetEnabled(true);
    delete tb;
  }
  TMemIniFile ini(file);
  EXPECT_EQ(ini.ReadInteger(u"UnDockedZadEdevAzis", u"ToolBar1.Shown", -1), 1);
  EXPECT_EQ(ini.ReadInteger(u"UnDockedZadEdevAzis", u"ToolBar1.Gone", -1), 0);
  EXPECT_EQ(ini.ReadString(u"UnDockedZadEdevAzis", u"ToolBar1.State", u""), u"");
  std::filesystem::remove(path);
}

TEST_F(ToolBarTest, MainMenuMakesOneMenuButtonPerItem) {
  TZadEdevAzi* tb = NewToolBar();
  auto* menu = new TMainMenu(Form.get());
  for (const char16_t* caption : {u"&File", u"&Edit", u"&View", u"&Help"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  tb->SetMenu(menu);
  ASSERT_EQ(tb->ToolBarControlCount(), 4);
  for (Integer i = 0; i < 4; ++i) {
    auto* b = dynamic_cast<TZadEdevAziMenuButton*>(tb->GetToolBarControls(i));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->MenuItem(), menu->Items()->Items(i));
  }
  EXPECT_FALSE(tb->ControlStyle().Contains(csAcceptsControls));
  tb->SetMenu(nullptr);
  EXPECT_EQ(tb->ToolBarControlCount(), 0);
  // A menu freed while assigned leaves no buttons for its dead items.
  tb->SetMenu(menu);
  delete menu;
  EXPECT_EQ(tb->Menu(), nullptr);
  EXPECT_EQ(tb->ToolBarControlCount(), 0);
}

TEST_F(ToolBarTest, TurningVerticalSwapsLengthAndThickness) {
  TZadEdevAzi* tb = NewToolBar();
  auto* sep = Add<TZadEdevAziSeparator>(tb, 10, 20);
  Add<TButton>(tb, 40, 22);
  const Integer full = tb->Width();
  tb->SetDockPosition(daLeft);
  EXPECT_EQ(sep->Position(), daLeft);
  EXPECT_EQ(tb->Width(), tb->SizeAtDock());
  EXPECT_EQ(tb->Height(), tb->MaxLength());
  EXPECT_EQ(tb->Constraints()->MinWidth(), 0);
  tb->SetDockPosition(daTop);
  EXPECT_EQ(sep->Position(), daTop);
  EXPECT_EQ(tb->Height(), tb->SizeAtDock());
  EXPECT_EQ(tb->Width(), full);
}

TEST_F(ToolBarTest, SeparatorsWithNothingBeforeThemHide) {
  TZadEdevAzi* tb = NewToolBar();
  auto* lead = Add<TZadEdevAziSeparator>(tb, 10, 20, 10);
  Add<TButton>(tb, 40, 22, 30);
  auto* mid = Add<TZadEdevAziSeparator>(tb, 10, 20, 80);
  tb->UpdateSeparators();
  EXPECT_FALSE(lead->Visible());
  EXPECT_TRUE(mid->Visible());
  EXPECT_EQ(mid->Top(), 2);
}

// A child that reads its toolbar's styler while it is being destroyed (as
// a painting child may): the styler must still be alive then.
class TStylerReader : public TAdvCustomToolBarControl {
 public:
  using TAdvCustomToolBarControl::TAdvCustomToolBarControl;
  ~TStylerReader() override {
    if (auto* tb = dynamic_cast<TAdvCustomToolBar*>(Parent())) LastColor = tb->CurrentToolBarStyler()->Color()->Color();
  }
  static inline TColor LastColor = clNone;
};

TEST_F(ToolBarTest, ChildrenGoWhileTheStylerStillLives) {
  TStylerReader::LastColor = clNone;
  TZadEdevAzi* tb = NewToolBar();
  tb->SetComponentStyle(tsOffice2019White);
  Add<TStylerReader>(tb, 10, 10);
  const TColor expected = tb->CurrentToolBarStyler()->Color()->Color();
  delete tb;
  EXPECT_EQ(TStylerReader::LastColor, expected);
}

}  // namespace toolbar
