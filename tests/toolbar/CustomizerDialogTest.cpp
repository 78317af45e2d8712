// The customizer dialog as a real modal form: opened by the toolbar, driven
// with the layer's pointer and keys, closed with its own buttons; and the
// arithmetic that places its controls for each choice of shown boxes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/win/Keyboard.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/CusBtnForm.h"
#include "toolbar/CustomizerForm.h"
#include "toolbar/ZadEdevAziCustomizer.h"

namespace {

using namespace toolbar;

class CustomizerDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() / ("custdlg-" + std::to_string(getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
    File = (Dir / "layout.ini").u16string();
    EnsureGuiApplication();
    InitApplication();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(50, 40, 400, 200);
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
    Cust->Commands()->Add()->SetCaption(u"Print");
    Cust->OnAfterPost = [this](TObject*) { ++Posted; };
    Previous = SetMessageBoxAnswerer([this](const TMessageBoxRequest& R) {
      Boxes.push_back(R);
      return Answer;
    });
  }
  void TearDown() override {
    SetMessageBoxAnswerer(Previous);
    Form.reset();
    PumpPending();
    std::filesystem::remove_all(Dir);
  }
  // Runs the dialog; each step runs in turn inside its modal loop, so the
  // input one step makes is delivered before the next step looks.
  void RunDialog(std::vector<std::function<void(TCustomizerForm&)>> Steps) {
    for (auto& s : Steps)
      testinput::Queue([s] {
        TCustomizerForm* f = ActiveCustomizerForm();
        ASSERT_NE(f, nullptr) << "the dialog is not showing";
        s(*f);
      });
    TB->ShowCustomizer();
    EXPECT_EQ(ActiveCustomizerForm(), nullptr);
  }
  static std::vector<String> Entries(TCustomListBox* L) {
    std::vector<String> r;
    for (Integer i = 0; i < L->Count(); ++i) r.push_back(L->Items()->Strings(i));
    return r;
  }
  std::vector<String> Names() const {
    std::vector<String> r;
    for (Integer i = 0; i < TB->ToolBarControlCount(); ++i) r.push_back(TB->GetToolBarControls(i)->Name());
    return r;
  }
  static TPoint RowCentre(TCustomListBox* L, Integer Row) {
    const TRect r = L->ItemRect(Row);
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  static TPoint Centre(TControl* C) { return TPoint{C->Width() / 2, C->Height() / 2}; }
  // Presses on a row of From and releases over a row of To, moving in steps.
  static void Drag(TCustomListBox* From, Integer FromRow, TCustomListBox* To, Integer ToRow) {
    const TPoint a = From->ClientToScreen(RowCentre(From, FromRow));
    const TPoint b = To->ClientToScreen(RowCentre(To, ToRow));
    testinput::MouseMove(a);
    testinput::MouseDown();
    for (int i = 1; i <= 4; ++i) testinput::MouseMove({a.X + (b.X - a.X) * i / 4, a.Y + (b.Y - a.Y) * i / 4}, {ssLeft});
    testinput::MouseUp();
  }
  TCustomizerButtonStates Shown(TCustomizerForm& F) const {
    TCustomizerButtonStates s;
    s.Edit = F.BtnEdit->Enabled();
    s.Top = F.TopButton->Enabled();
    s.Up = F.UpButton->Enabled();
    s.Down = F.DownButton->Enabled();
    s.Bottom = F.BottomButton->Enabled();
    s.Add = F.AddButton->Enabled();
    s.Delete = F.DeleteButton->Enabled();
    s.Clear = F.ClearButton->Enabled();
    return s;
  }

  std::filesystem::path Dir;
  String File;
  std::unique_ptr<TForm> Form;
  TZadEdevAzi* TB = nullptr;
  TZadEdevAziCustomizer* Cust = nullptr;
  int Posted = 0;
  int Answer = mrYes;
  std::vector<TMessageBoxRequest> Boxes;
  TMessageBoxAnswerer Previous;
};

TEST_F(CustomizerDialog, OpensModallyWithItsTextsAndCancelChangesNothing) {
  Cust->SetFileName(File);
  bool before = false;
  Cust->OnBeforeDisplay = [&](TObject*) { before = true; };
  RunDialog({[&](TCustomizerForm& f) {
               EXPECT_TRUE(before);
               EXPECT_TRUE(f.Showing());
               EXPECT_EQ(f.Caption(), u"Customizer");
               EXPECT_EQ(f.ClientWidth(), 387);
               EXPECT_EQ(f.LblToolbarItems->Caption(), u"ToolBar Items:");
               EXPECT_EQ(f.LblCommands->Caption(), u"Commands");
               EXPECT_EQ(f.LblCaption->Caption(), u"Caption");
               EXPECT_EQ(f.LblGlphPos->Caption(), u"Glyph Position");
               EXPECT_EQ(f.BtnOk->Caption(), u"&Ok");
               EXPECT_EQ(f.BtnCancel->Caption(), u"&Cancel");
               EXPECT_EQ(f.BtnReset->Caption(), u"&Reset");
               EXPECT_EQ(f.TopButton->Hint(), u"Move to Top");
               EXPECT_EQ(f.AddGlowButton->Hint(), u"Insert GlowButton");
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Open", u"Save", u"Separator"}));
               EXPECT_EQ(Entries(f.LstBxCommand), (std::vector<String>{u"New_File", u"Print"}));
               EXPECT_EQ(f.EdtCaption->Text(), TB->Caption());
               // The caption box takes typed text; Cancel drops it.
               testinput::Click(f.SeparatorButton, Centre(f.SeparatorButton));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(f.LstBxToolBarItems->Count(), 4);
               EXPECT_TRUE(f.Modified());
               testinput::Click(f.BtnCancel, Centre(f.BtnCancel));
             }});
  EXPECT_EQ(Names(), (std::vector<String>{u"Open", u"Save", u"Sep"}));
  EXPECT_EQ(Posted, 0);
}

TEST_F(CustomizerDialog, SelectAndMoveWithTheSideButtonsThenOkApplies) {
  Cust->SetFileName(File);
  RunDialog({[&](TCustomizerForm& f) {
               // The first entry is selected at start: nothing above it.
               EXPECT_EQ(Shown(f), (TCustomizerButtonStates{.Edit = true, .Top = false, .Up = false, .Down = true,
                                                            .Bottom = true, .Add = true, .Delete = true, .Clear = true}));
               testinput::Click(f.LstBxToolBarItems, RowCentre(f.LstBxToolBarItems, 2));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(f.LstBxToolBarItems->ItemIndex(), 2);
               // A separator cannot be edited, and nothing is below the last entry.
               EXPECT_EQ(Shown(f), (TCustomizerButtonStates{.Edit = false, .Top = true, .Up = true, .Down = false,
                                                            .Bottom = false, .Add = true, .Delete = true, .Clear = true}));
               EXPECT_FALSE(f.Modified());
               testinput::Click(f.UpButton, Centre(f.UpButton));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Open", u"Separator", u"Save"}));
               EXPECT_EQ(f.LstBxToolBarItems->ItemIndex(), 1);
               testinput::Click(f.TopButton, Centre(f.TopButton));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Separator", u"Open", u"Save"}));
               EXPECT_FALSE(f.TopButton->Enabled());
               testinput::Click(f.DownButton, Centre(f.DownButton));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Open", u"Separator", u"Save"}));
               EXPECT_TRUE(f.Modified());
               testinput::Click(f.BtnOk, Centre(f.BtnOk));
             }});
  EXPECT_EQ(Names(), (std::vector<String>{u"Open", u"Sep", u"Save"}));
  EXPECT_EQ(Posted, 1);
}

TEST_F(CustomizerDialog, CommandDraggedOntoTheToolbarListBecomesAButton) {
  Cust->SetFileName(File);
  RunDialog({[&](TCustomizerForm& f) { Drag(f.LstBxCommand, 1, f.LstBxToolBarItems, 2); },
             [&](TCustomizerForm& f) {
               // Inserted after the selected item (the first), not at the drop point.
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Open", u"Print", u"Save", u"Separator"}));
               EXPECT_EQ(f.LstBxToolBarItems->ItemIndex(), 1);
               EXPECT_TRUE(f.BtnEdit->Enabled());
               EXPECT_EQ(testinput::CursorShown(), crDefault);
               testinput::Click(f.BtnOk, Centre(f.BtnOk));
             }});
  ASSERT_EQ(TB->ToolBarControlCount(), 4);
  auto* b = dynamic_cast<TZadEdevAziButton*>(TB->GetToolBarControls(1));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Caption(), u"Print");
  EXPECT_EQ(b->Name(), u"ZADEDEVAZIBUTTON1");
  EXPECT_EQ(Posted, 1);
}

TEST_F(CustomizerDialog, DragWithinTheListFollowsReOrder) {
  struct Case {
    bool ReOrder;
    std::vector<String> After;
  };
  const Case cases[] = {
      {true, {u"Save", u"Separator", u"Open"}},
      {false, {u"Open", u"Save", u"Separator"}},
  };
  for (const auto& k : cases) {
    Cust->Options()->SetReOrder(k.ReOrder);
    RunDialog({[&](TCustomizerForm& f) {
                 EXPECT_EQ(f.TopButton->Visible(), k.ReOrder);
                 EXPECT_EQ(f.BottomButton->Visible(), k.ReOrder);
                 Drag(f.LstBxToolBarItems, 0, f.LstBxToolBarItems, 2);
               },
               [&](TCustomizerForm& f) {
                 EXPECT_EQ(Entries(f.LstBxToolBarItems), k.After) << k.ReOrder;
                 // A command still drops onto the list without reordering.
                 Drag(f.LstBxCommand, 0, f.LstBxToolBarItems, 0);
               },
               [&](TCustomizerForm& f) {
                 EXPECT_EQ(f.LstBxToolBarItems->Count(), 4) << k.ReOrder;
                 testinput::Click(f.BtnCancel, Centre(f.BtnCancel));
               }});
  }
}

TEST_F(CustomizerDialog, DropOutsideTheToolbarListDoesNothing) {
  RunDialog({[&](TCustomizerForm& f) {
               const TPoint a = f.LstBxCommand->ClientToScreen(RowCentre(f.LstBxCommand, 0));
               const TPoint b = f.BtnReset->ClientToScreen(Centre(f.BtnReset));
               testinput::MouseMove(a);
               testinput::MouseDown();
               testinput::MouseMove({a.X, a.Y + 10}, {ssLeft});
               testinput::MouseMove(b, {ssLeft});
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(testinput::CursorShown(), crNoDrop);
               EXPECT_EQ(f.LstBxCommand->ItemIndex(), 0);
               testinput::MouseUp();
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(f.LstBxToolBarItems->Count(), 3);
               EXPECT_FALSE(f.Modified());
               // The release ended the drag: Reset was not pressed.
               EXPECT_TRUE(f.Showing());
               testinput::KeyPress(VK_ESCAPE);
             }});
  EXPECT_EQ(Posted, 0);
}

TEST_F(CustomizerDialog, OkWithoutChangesWritesButPostsNothing) {
  Cust->SetFileName(File);
  RunDialog({[&](TCustomizerForm& f) { testinput::Click(f.BtnOk, Centre(f.BtnOk)); }});
  EXPECT_EQ(Posted, 0);
  TIniFile ini(File);
  EXPECT_EQ(ini.ReadInteger(u"Customizer1", u"ToolBarItemCount", -1), 3);
}

TEST_F(CustomizerDialog, WriteErrorIsShownAndTheDialogStaysUsable) {
  Cust->SetEnablePersistence(false);
  Cust->SetFileName((Dir / "missing" / "layout.ini").u16string());
  Cust->SetEnablePersistence(true);
  Answer = mrOk;
  RunDialog({[&](TCustomizerForm& f) { testinput::Click(f.DeleteButton, Centre(f.DeleteButton)); },
             [&](TCustomizerForm& f) { testinput::Click(f.BtnOk, Centre(f.BtnOk)); },
             [&](TCustomizerForm& f) {
               ASSERT_EQ(Boxes.size(), 1u);
               EXPECT_EQ(Boxes[0].Icon, mtError);
               EXPECT_FALSE(Boxes[0].Text.empty());
               EXPECT_TRUE(f.Showing());
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Save", u"Separator"}));
               testinput::Click(f.BottomButton, Centre(f.BottomButton));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Separator", u"Save"}));
               testinput::Click(f.BtnCancel, Centre(f.BtnCancel));
             }});
  EXPECT_EQ(Names(), (std::vector<String>{u"Open", u"Save", u"Sep"}));
  EXPECT_EQ(Posted, 0);
}

TEST_F(CustomizerDialog, ClearAsksAndResetRestoresTheInitialLayout) {
  Cust->Options()->SetDeleteAll(true);
  Cust->SetFileName(File);
  Answer = mrNo;
  RunDialog({[&](TCustomizerForm& f) {
               EXPECT_TRUE(f.ClearButton->Visible());
               testinput::Click(f.ClearButton, Centre(f.ClearButton));
             },
             [&](TCustomizerForm& f) {
               ASSERT_EQ(Boxes.size(), 1u);
               EXPECT_EQ(Boxes[0].Text, u"Are you sure that you want to clear ToolBar?");
               EXPECT_EQ(Boxes[0].Buttons, (std::vector<int>{mrYes, mrNo}));
               EXPECT_EQ(f.LstBxToolBarItems->Count(), 3);
               Answer = mrYes;
               testinput::Click(f.ClearButton, Centre(f.ClearButton));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(f.LstBxToolBarItems->Count(), 0);
               EXPECT_EQ(Shown(f), TCustomizerButtonStates{.Add = true});
               testinput::Click(f.BtnOk, Centre(f.BtnOk));
             }});
  EXPECT_EQ(Posted, 1);
  RunDialog({[&](TCustomizerForm& f) {
    EXPECT_EQ(f.LstBxToolBarItems->Count(), 0);
    testinput::Click(f.BtnReset, Centre(f.BtnReset));
  }});
  EXPECT_EQ(Names(), (std::vector<String>{u"Open", u"Save", u"Sep"}));
  EXPECT_EQ(Posted, 1);
}

TEST_F(CustomizerDialog, EditDialogChangesTheItem) {
  Cust->SetFileName(File);
  auto editForm = [](TCustomizerForm& f) -> TCusBtnForm* {
    for (Integer i = 0; i < f.ComponentCount(); ++i)
      if (auto* e = dynamic_cast<TCusBtnForm*>(f.Components(i))) return e;
    return nullptr;
  };
  RunDialog({[&](TCustomizerForm& f) {
               testinput::MouseMove(f.LstBxToolBarItems, RowCentre(f.LstBxToolBarItems, 1));
               testinput::MouseDown();
               testinput::MouseUp();
               testinput::MouseDoubleClick();
               testinput::MouseUp();
             },
             [&](TCustomizerForm& f) {
               TCusBtnForm* e = editForm(f);
               ASSERT_NE(e, nullptr);
               EXPECT_TRUE(e->Showing());
               EXPECT_EQ(e->Caption(), u"Customize Button");
               EXPECT_EQ(e->EdtBtnCaption->Text(), u"Save");
               EXPECT_EQ(e->ChkBtnShowCap->Caption(), u"Show Caption");
               // Visible is not edited by default: its tick is hidden.
               EXPECT_FALSE(e->ChkBtnVis->Visible());
               EXPECT_EQ(e->BoundsRect().TopLeft(), f.ClientToScreen(TPoint{75, 120}));
               e->EdtBtnCaption->SetFocus();
               e->EdtBtnCaption->SelectAll();
               testinput::TypeText(u"Store");
             },
             [&](TCustomizerForm& f) {
               TCusBtnForm* e = editForm(f);
               ASSERT_NE(e, nullptr);
               testinput::Click(e->BtnOk, Centre(e->BtnOk));
             },
             [&](TCustomizerForm& f) {
               EXPECT_EQ(editForm(f), nullptr);
               EXPECT_EQ(Entries(f.LstBxToolBarItems), (std::vector<String>{u"Open", u"Store", u"Separator"}));
               testinput::Click(f.BtnOk, Centre(f.BtnOk));
             }});
  EXPECT_EQ(dynamic_cast<TZadEdevAziButton*>(TB->GetToolBarControls(1))->Caption(), u"Store");
  EXPECT_EQ(Posted, 1);
}

TEST_F(CustomizerDialog, EditDialogRowsFollowTheButtonProperties) {
  struct Case {
    bool Caption, Hint, Glyph, ShowCaption, Visible;
  };
  const Case cases[] = {
      {true, true, true, true, false},   {true, true, true, false, true}, {true, false, false, true, true},
      {false, false, true, false, true}, {false, true, false, false, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.Caption << k.Hint << k.Glyph << k.ShowCaption << k.Visible);
    TButtonProperties* bp = Cust->ButtonProperties();
    bp->SetCaption(k.Caption);
    bp->SetHint(k.Hint);
    bp->SetGlyph(k.Glyph);
    bp->SetShowCaption(k.ShowCaption);
    bp->SetVisible(k.Visible);
    RunDialog({[&](TCustomizerForm& f) { testinput::Click(f.BtnEdit, Centre(f.BtnEdit)); },
               [&](TCustomizerForm& f) {
                 TCusBtnForm* e = nullptr;
                 for (Integer i = 0; i < f.ComponentCount() && e == nullptr; ++i)
                   e = dynamic_cast<TCusBtnForm*>(f.Components(i));
                 ASSERT_NE(e, nullptr);
                 // The caption row always shows; its box takes input only with Caption.
                 EXPECT_TRUE(e->EdtBtnCaption->Visible());
                 EXPECT_EQ(e->EdtBtnCaption->Enabled(), k.Caption);
                 EXPECT_EQ(e->EdtBtnHint->Visible(), k.Hint);
                 EXPECT_EQ(e->LblBtnHint->Visible(), k.Hint);
                 EXPECT_EQ(e->CmBxGlyph->Visible(), k.Glyph);
                 EXPECT_EQ(e->LblGlyph->Visible(), k.Glyph);
                 EXPECT_EQ(e->ChkBtnShowCap->Visible(), k.ShowCaption);
                 EXPECT_EQ(e->ChkBtnVis->Visible(), k.Visible);
                 // The label column: every box after the widest shown label.
                 Integer w = e->LblBtnCaption->Width();
                 if (k.Hint) w = std::max(w, e->LblBtnHint->Width());
                 if (k.Glyph) w = std::max(w, e->LblGlyph->Width());
                 for (auto [box, lbl] : {std::pair<TControl*, TControl*>{e->EdtBtnCaption, e->LblBtnCaption},
                                         {e->EdtBtnHint, e->LblBtnHint}, {e->CmBxGlyph, e->LblGlyph}}) {
                   EXPECT_EQ(box->Left(), w + 12);
                   EXPECT_EQ(lbl->Left(), w + 12 - 5 - lbl->Width());
                 }
                 const Integer ticks = std::max(129, w + 12 + 73 + 4);
                 EXPECT_EQ(e->ChkBtnShowCap->Left(), ticks);
                 EXPECT_EQ(e->ChkBtnVis->Left(), ticks);
                 EXPECT_EQ(e->ChkBtnVis->Top(), !k.ShowCaption && k.Visible ? 11 : 38);
                 EXPECT_EQ(e->BtnOk->Left(), e->Width() / 2 - 75);
                 EXPECT_EQ(e->BtnCancel->Left(), e->BtnOk->Left() + 75);
                 testinput::Click(e->BtnCancel, Centre(e->BtnCancel));
               },
               [&](TCustomizerForm& f) {
                 EXPECT_FALSE(f.Modified());
                 testinput::Click(f.BtnCancel, Centre(f.BtnCancel));
               }});
  }
  // With every flag off there is nothing to edit.
  TButtonProperties* bp = Cust->ButtonProperties();
  bp->SetCaption(false);
  bp->SetHint(false);
  bp->SetGlyph(false);
  bp->SetShowCaption(false);
  bp->SetVisible(false);
  RunDialog({[&](TCustomizerForm& f) {
    EXPECT_FALSE(f.BtnEdit->Enabled());
    testinput::Click(f.BtnCancel, Centre(f.BtnCancel));
  }});
}

// Geometry without showing: OnCanShow sees the laid-out dialog and stops it.
class CustomizerDialogLayout : public CustomizerDialog {
 protected:
  template <typename F>
  void Inspect(F Check) {
    bool seen = false;
    Cust->OnCanShow = [&](TObject*, Integer&, Integer&, bool& CanShow) {
      TCustomizerForm* f = ActiveCustomizerForm();
      ASSERT_NE(f, nullptr);
      Check(*f);
      seen = true;
      CanShow = false;
    };
    Cust->ShowDialog();
    EXPECT_TRUE(seen);
    EXPECT_EQ(ActiveCustomizerForm(), nullptr);
  }
};

TEST_F(CustomizerDialogLayout, LowerGroupArrangement) {
  Cust->SetLargeImages(new TCustomImageList(Form.get()));
  struct Case {
    bool Caption, GlyphPos, Large;
    // LargeIcon box place (when shown), group shown, OK's top.
    TPoint Check;
    bool Group;
    Integer OkTop;
  };
  const Case cases[] = {
      {true, true, true, {50, 43}, true, 333},   {true, false, true, {200, 19}, true, 333},
      {false, true, true, {200, 19}, true, 333}, {false, false, true, {7, 16}, true, 333},
      {true, true, false, {}, true, 333},        {false, false, false, {}, false, 333 - 65},
  };
  for (const auto& k : cases) {
    Cust->DialogSettings()->EditCaption = k.Caption;
    Cust->DialogSettings()->EditGlyphPosition = k.GlyphPos;
    Cust->DialogSettings()->LargeIcon = k.Large;
    Inspect([&](TCustomizerForm& f) {
      SCOPED_TRACE(testing::Message() << k.Caption << k.GlyphPos << k.Large);
      EXPECT_EQ(f.LblCaption->Visible(), k.Caption);
      EXPECT_EQ(f.LblGlphPos->Visible(), k.GlyphPos);
      EXPECT_EQ(f.ChkLargeIcon->Visible(), k.Large);
      if (k.Large) {
        EXPECT_EQ(f.ChkLargeIcon->BoundsRect().TopLeft(), k.Check);
      }
      EXPECT_EQ(f.GroupBox2->Visible(), k.Group);
      EXPECT_EQ(f.BtnOk->Top(), k.OkTop);
      EXPECT_EQ(f.BtnCancel->Top(), k.OkTop);
      EXPECT_EQ(f.BtnReset->Top(), k.Group ? 334 : k.OkTop);
      EXPECT_EQ(f.ClientHeight(), k.Group ? 363 : 363 - 65);
      // Boxes follow their labels.
      if (k.Caption) {
        EXPECT_EQ(f.EdtCaption->Left(), f.LblCaption->Left() + f.LblCaption->Width() + 5);
      }
      if (k.GlyphPos) {
        EXPECT_EQ(f.LblGlphPos->Left(), f.CmBxGlphPos->Left() - 5 - f.LblGlphPos->Width());
        EXPECT_EQ(k.Caption ? f.CmBxGlphPos->Left() : f.LblGlphPos->Left(), k.Caption ? 301 : 6);
      }
    });
  }
}

TEST_F(CustomizerDialogLayout, SideButtonsStackByOptions) {
  struct Case {
    bool ReOrder, AddButton, AddGlow, AddSep, Delete, DeleteAll, Edit;
    // Tops of the shown buttons: add, glow, separator, delete, clear, edit (-1: hidden).
    std::vector<Integer> Tops;
  };
  const Case cases[] = {
      {true, true, true, true, true, false, true, {114, 136, 158, 180, -1, 202}},
      {false, true, true, true, true, true, true, {26, 48, 70, 92, 114, 136}},
      {true, false, false, true, false, true, true, {-1, -1, 114, -1, 136, 158}},
      {false, false, false, false, false, false, true, {-1, -1, -1, -1, -1, 26}},
  };
  for (const auto& k : cases) {
    TCustomizedOptions* o = Cust->Options();
    o->SetReOrder(k.ReOrder);
    o->SetAddButton(k.AddButton);
    o->SetAddGlowButton(k.AddGlow);
    o->SetAddSeparator(k.AddSep);
    o->SetDelete(k.Delete);
    o->SetDeleteAll(k.DeleteAll);
    o->SetEditButton(k.Edit);
    Inspect([&](TCustomizerForm& f) {
      std::vector<Integer> tops;
      for (TControl* c : {static_cast<TControl*>(f.AddButton), static_cast<TControl*>(f.AddGlowButton),
                          static_cast<TControl*>(f.SeparatorButton), static_cast<TControl*>(f.DeleteButton),
                          static_cast<TControl*>(f.ClearButton), static_cast<TControl*>(f.BtnEdit)})
        tops.push_back(c->Visible() ? c->Top() : -1);
      EXPECT_EQ(tops, k.Tops) << k.ReOrder << k.AddButton << k.DeleteAll;
      EXPECT_EQ(f.TopButton->Visible(), k.ReOrder);
      EXPECT_EQ(f.LstBxToolBarItems->AutoDrag, k.ReOrder);
    });
  }
}

TEST_F(CustomizerDialogLayout, ScreenPlaceUnderTheToolbarInsideTheWorkArea) {
  const TRect work = Screen->WorkAreaRect();
  struct Case {
    TDockAlign Position;
    Integer Left;  // toolbar left in the form's client area
    bool NearRight;
  };
  for (const Case k : {Case{daTop, 10, false}, Case{daTop, 0, true}, Case{daRight, 0, true}}) {
    Form->SetBounds(k.NearRight ? work.Right - 200 : work.Left + 20, work.Top + 20, 180, 150);
    TB->SetDockPosition(k.Position);
    TB->SetBounds(k.Left, 0, 150, 26);
    Integer x = 0, y = 0, w = 0;
    bool seen = false;
    Cust->OnCanShow = [&](TObject*, Integer& X, Integer& Y, bool& CanShow) {
      x = X;
      y = Y;
      w = ActiveCustomizerForm()->Width();
      seen = true;
      CanShow = false;
    };
    Cust->ShowDialog();
    ASSERT_TRUE(seen);
    const TPoint p = Form->ClientToScreen(TPoint{TB->Left() + TB->Width() - 12, TB->Top() + TB->Height() + 1});
    EXPECT_EQ(y, p.Y);
    const Integer expected = !k.NearRight ? p.X
                             : k.Position == daRight ? Form->ClientToScreen(TPoint{TB->Left(), 0}).X - w
                                                     : work.Right - w;
    EXPECT_EQ(x, expected) << k.Position << k.NearRight;
  }
}

}  // namespace
