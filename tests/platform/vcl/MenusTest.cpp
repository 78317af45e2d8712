// Menus (item tree, shortcuts, pop-up at a point with clicks and keys,
// owner-draw hooks), message boxes through the answer provider, and the hint window.
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/HintWindow.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

class Menus : public VclTest {
 protected:
  TMenuItem* Item(TComponent* owner, TMenuItem* parent, const char16_t* caption, Log* log = nullptr) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    if (log != nullptr) i->OnClick = [log, i](TObject*) { log->push_back("click " + Utf8(i->Caption())); };
    parent->Add(i);
    return i;
  }
  // Runs Action inside the pop-up menu's loop, once the menu shows.
  void WhileOpen(std::function<void()> Action) {
    helper = AllocateHWnd([this, Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(helper, WM_USER, 0, 0);
  }
  void TearDown() override {
    if (helper != nullptr) DeallocateHWnd(helper);
    VclTest::TearDown();
  }
  HWND helper = nullptr;
};

TEST_F(Menus, ItemTreeKeepsOrderAndRefusesBadEdits) {
  TPopupMenu menu(nullptr);
  auto* a = Item(&menu, menu.Items(), u"&Open");
  auto* b = Item(&menu, menu.Items(), u"-");
  auto* c = Item(&menu, menu.Items(), u"E&xit");
  auto* sub = Item(&menu, a, u"Recent");
  EXPECT_EQ(menu.Items()->Count(), 3);
  EXPECT_EQ(c->MenuIndex(), 2);
  EXPECT_TRUE(b->IsLine());
  EXPECT_EQ(sub->Parent(), a);
  EXPECT_EQ(sub->GetParentMenu(), &menu);
  EXPECT_EQ(menu.Items()->Find(u"Exit"), c);
  EXPECT_EQ(menu.FindItem(sub->Command(), fkCommand), sub);
  EXPECT_EQ(menu.FindItem(reinterpret_cast<NativeInt>(a->Handle()), fkHandle), a);
  c->SetMenuIndex(0);
  EXPECT_EQ(menu.Items()->Items(0), c);
  EXPECT_THROW(menu.Items()->Add(sub), EMenuError);  // already has a parent
  EXPECT_THROW(sub->Add(a), EMenuError);             // its own ancestor
  EXPECT_THROW(menu.Items()->Items(9), EMenuError);
  EXPECT_THROW(menu.Items()->Remove(sub), EMenuError);
  menu.Items()->Delete(2);  // b goes: "-" was moved to index 2
  EXPECT_EQ(menu.Items()->Count(), 2);
  // Radio items of one group exclude each other.
  auto* r1 = Item(&menu, menu.Items(), u"One");
  auto* r2 = Item(&menu, menu.Items(), u"Two");
  r1->SetRadioItem(true);
  r2->SetRadioItem(true);
  r1->SetChecked(true);
  r2->SetChecked(true);
  EXPECT_FALSE(r1->Checked());
}

TEST_F(Menus, ShortcutsReachTheFocusedFormsMenus) {
  TForm* f = NewForm();
  auto* e = new TEdit(f);
  e->SetParent(f);
  TMainMenu main(f);
  Log log;
  auto* file = Item(&main, main.Items(), u"&File");
  auto* save = Item(&main, file, u"&Save", &log);
  save->SetShortCut(ShortCut('S', {ssCtrl}));
  TPopupMenu popup(f);
  auto* copy = Item(&popup, popup.Items(), u"Copy", &log);
  copy->SetShortCut(ShortCut(VK_F5, {}));
  e->SetPopupMenu(&popup);
  f->Show();
  e->SetFocus();
  EXPECT_EQ(ShortCutToText(save->ShortCut()), u"Ctrl+S");
  testinput::KeyPress('S', {ssCtrl});
  testinput::KeyPress(VK_F5);
  // A disabled item (or one under a disabled parent) takes no shortcut; the key goes on to the control.
  file->SetEnabled(false);
  testinput::KeyPress('S', {ssCtrl});
  EXPECT_EQ(log, (Log{"click &Save", "click Copy"}));
  EXPECT_EQ(e->Text(), u"");
}

TEST_F(Menus, PopupRunsUntilAnItemIsClickedAndThenClicksIt) {
  TForm* f = NewForm();
  f->Show();
  TPopupMenu menu(f);
  Log log;
  Item(&menu, menu.Items(), u"First", &log);
  auto* second = Item(&menu, menu.Items(), u"Second", &log);
  auto* more = Item(&menu, menu.Items(), u"More");
  Item(&menu, more, u"Deep", &log);
  menu.OnPopup = [&](TObject*) { log.push_back("popup"); };
  menu.OnClose = [&](TObject*) { log.push_back("close"); };
  WhileOpen([&] {
    TWinControl* w = ActiveMenuWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Left(), 120);
    EXPECT_EQ(w->Top(), 130);
    log.push_back("open");
    const TRect r = MenuItemRect(w, second);
    testinput::Click(w, {r.Left + 5, r.Top + 2});
  });
  menu.Popup(120, 130);
  EXPECT_EQ(ActiveMenuWindow(), nullptr);
  EXPECT_EQ(log, (Log{"popup", "open", "click Second", "close"}));

  // Hovering a parent opens its level; a click there chooses the deep item.
  log.clear();
  WhileOpen([&] {
    TWinControl* top = ActiveMenuWindow();
    const TRect r = MenuItemRect(top, more);
    testinput::MouseMove(top, {r.Left + 5, r.Top + 2});
    TWinControl* sub = ActiveMenuWindow();
    ASSERT_NE(sub, top);
    testinput::Click(sub, {10, 5});
  });
  menu.Popup(10, 10);
  EXPECT_EQ(log, (Log{"popup", "click Deep", "close"}));

  // A press outside dismisses without a click; keys walk the items.
  log.clear();
  WhileOpen([&] {
    testinput::MouseMove(f, {250, 150});
    testinput::MouseDown();
    testinput::MouseUp();
  });
  menu.Popup(10, 10);
  EXPECT_EQ(log, (Log{"popup", "close"}));
  log.clear();
  WhileOpen([&] {
    testinput::KeyPress(VK_DOWN);
    testinput::KeyPress(VK_DOWN);
    testinput::KeyPress(VK_RETURN);
  });
  menu.Popup(10, 10);
  EXPECT_EQ(log, (Log{"popup", "click Second", "close"}));
  log.clear();
  WhileOpen([&] { testinput::KeyPress(VK_ESCAPE); });
  menu.Popup(10, 10);
  EXPECT_EQ(log, (Log{"popup", "close"}));
  // Function keys share their codes with lower-case letters: F1 is no accelerator for "&Print".
  log.clear();
  Item(&menu, menu.Items(), u"&Print", &log);
  WhileOpen([&] {
    testinput::KeyPress(VK_F1);
    testinput::KeyPress(VK_ESCAPE);
  });
  menu.Popup(10, 10);
  EXPECT_EQ(log, (Log{"popup", "close"}));
}

TEST_F(Menus, AcceleratorsOfOpenPopupsTakeEveryLetter) {
  TForm* f = NewForm();
  f->Show();
  TPopupMenu menu(f);
  Log log;
  Item(&menu, menu.Items(), u"&Zapisz", &log);
  Item(&menu, menu.Items(), u"&\u0141\u00F3d\u017A", &log);  // "Łódź"
  Item(&menu, menu.Items(), u"&\u00C9tat", &log);             // "État"
  Item(&menu, menu.Items(), u"&2 Dwa", &log);
  struct Case {
    Word key;
    const char16_t* typed;
    const char* chosen;
  } cases[] = {
      {'L', u"\u0142", "click &\u0141\u00F3d\u017A"},  // a lower-case "ł" chooses "Ł"
      {'E', u"\u00C9", "click &\u00C9tat"},
      {'Z', u"z", "click &Zapisz"},
      {'2', u"2", "click &2 Dwa"},
  };
  for (const Case& c : cases) {
    log.clear();
    WhileOpen([&] {
      testinput::KeyDownText(c.key, c.typed);
      testinput::KeyUp(c.key);
      if (ActiveMenuWindow() != nullptr) testinput::KeyPress(VK_ESCAPE);  // no choice: do not wait forever
    });
    menu.Popup(10, 10);
    EXPECT_EQ(log, Log{c.chosen}) << c.chosen;
    EXPECT_EQ(ActiveMenuWindow(), nullptr);
  }
}

TEST_F(Menus, RightClickOnAControlOpensItsPopupMenuAtThePointer) {
  TForm* f = NewForm();
  f->SetLeft(0);
  f->SetTop(0);
  TPopupMenu menu(f);
  Log log;
  Item(&menu, menu.Items(), u"Only", &log);
  f->SetPopupMenu(&menu);
  f->Show();
  WhileOpen([&] {
    TWinControl* w = ActiveMenuWindow();
    ASSERT_NE(w, nullptr);
    log.push_back("at " + std::to_string(w->Left()) + "," + std::to_string(w->Top()));
    testinput::KeyPress(VK_RETURN);  // nothing selected yet: nothing chosen
    testinput::KeyPress(VK_ESCAPE);
  });
  const TPoint at = f->ClientToScreen({40, 50});
  testinput::MouseMove(at);
  testinput::MouseDown(mbRight);
  testinput::MouseUp(mbRight);
  EXPECT_EQ(log, (Log{"at " + std::to_string(at.X) + "," + std::to_string(at.Y)}));
  EXPECT_EQ(menu.PopupComponent(), f);
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndPaintedThroughTheHooks) {
  TForm* f = NewForm();
  f->Show();
  TPopupMenu menu(f);
  menu.SetOwnerDraw(true);
  Log log;
  auto* a = Item(&menu, menu.Items(), u"Alpha");
  auto* b = Item(&menu, menu.Items(), u"Beta");
  b->SetEnabled(false);
  HWND drawnIn = nullptr;
  for (TMenuItem* i : {a, b}) {
    i->OnMeasureItem = [&log, i](TObject*, TCanvas* c, Integer& w, Integer& h) {
      log.push_back("measure " + Utf8(i->Caption()) + (c->Handle() != nullptr ? " dc" : ""));
      w = 100;
      h = 30;
    };
    i->OnAdvancedDrawItem = [&, i](TObject*, TCanvas* c, TRect r, TOwnerDrawState s) {
      log.push_back("draw " + Utf8(i->Caption()) + " " + std::to_string(r.Top) + "-" + std::to_string(r.Bottom) +
                    (s.Contains(odSelected) ? " selected" : "") + (s.Contains(odDisabled) ? " disabled" : ""));
      drawnIn = WindowFromDC(c->Handle());
      c->Brush()->SetColor(i == a ? clRed : clBlue);
      c->FillRect(r);
    };
  }
  WhileOpen([&] {
    TWinControl* w = ActiveMenuWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Height(), 2 * 30 + 4);
    auto shot = testinput::Grab(w);
    EXPECT_EQ(PixelOf(shot.get(), 50, 2 + 15), clRed);
    EXPECT_EQ(PixelOf(shot.get(), 50, 2 + 45), clBlue);
    EXPECT_EQ(drawnIn, w->Handle());
    testinput::MouseMove(w, {50, 15});
    testinput::PaintPending();
    testinput::KeyPress(VK_ESCAPE);
  });
  menu.Popup(10, 10);
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(log[0], "measure Alpha dc");
  EXPECT_EQ(log[1], "measure Beta dc");
  EXPECT_EQ(log[2], "draw Alpha 2-32");
  EXPECT_EQ(log[3], "draw Beta 32-62 disabled");
  EXPECT_EQ(log[4], "draw Alpha 2-32 selected");
  // The pop-up list window measures an item by its command.
  MEASUREITEMSTRUCT mis;
  mis.CtlType = ODT_MENU;
  mis.itemID = b->Command();
  mis.itemWidth = mis.itemHeight = 10;
  EXPECT_EQ(SendMessage(PopupListWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 1);
  EXPECT_EQ(mis.itemWidth, 100u);
  EXPECT_EQ(mis.itemHeight, 30u);
}

// --- message boxes -----------------------------------------------------------

class MessageBoxes : public VclTest {
 protected:
  void TearDown() override {
    SetMessageBoxAnswerer({});
    VclTest::TearDown();
  }
};

TEST_F(MessageBoxes, FlagsChooseButtonsIconAndDefault) {
  struct Case {
    UINT flags;
    std::vector<int> buttons;
    TMsgDlgType icon;
    int def;
  } cases[] = {
      {MB_ICONINFORMATION, {IDOK}, mtInformation, IDOK},
      {MB_ICONWARNING, {IDOK}, mtWarning, IDOK},
      {MB_ICONERROR, {IDOK}, mtError, IDOK},
      {MB_YESNO | MB_ICONQUESTION, {IDYES, IDNO}, mtConfirmation, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, {IDYES, IDNO, IDCANCEL}, mtCustom, IDCANCEL},
      {MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, mtCustom, IDCANCEL},
      {MB_RETRYCANCEL | MB_DEFBUTTON4, {IDRETRY, IDCANCEL}, mtCustom, IDRETRY},  // no fourth button
      {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, mtCustom, IDABORT},
  };
  for (const auto& c : cases) {
    const TMessageBoxRequest r = MessageBoxRequest(u"t", u"c", c.flags);
    EXPECT_EQ(r.Buttons, c.buttons) << c.flags;
    EXPECT_EQ(r.Icon, c.icon) << c.flags;
    EXPECT_EQ(r.DefaultButton, c.def) << c.flags;
  }
}

TEST_F(MessageBoxes, AnswersComeFromTheProvider) {
  std::vector<TMessageBoxRequest> seen;
  int answer = IDNO;
  SetMessageBoxAnswerer([&](const TMessageBoxRequest& r) {
    seen.push_back(r);
    return answer;
  });
  Application->SetTitle(u"Updater");
  EXPECT_EQ(Application->MessageBox(u"Connect programmer into USB port first", u" INFORMACJA", MB_ICONINFORMATION),
            IDOK);  // IDNO is not a button of this box: taken as closing it
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(Utf8(seen[0].Text), "Connect programmer into USB port first");
  EXPECT_EQ(Utf8(seen[0].Caption), " INFORMACJA");
  EXPECT_EQ(Application->MessageBox(u"Sure?", u"", MB_YESNO), IDNO);
  EXPECT_EQ(Utf8(seen[1].Caption), "Updater");  // an empty caption shows the title
  answer = IDCLOSE;
  EXPECT_EQ(MessageBox(nullptr, u"x", u"y", MB_YESNOCANCEL), IDCANCEL);
  answer = mrYes;
  EXPECT_EQ(MessageDlg(u"Replace?", mtConfirmation, mbYesNoCancel, 0), mrYes);
  EXPECT_EQ(seen.back().Buttons, (std::vector<int>{mrYes, mrNo, mrCancel}));
  EXPECT_EQ(seen.back().Icon, mtConfirmation);
  answer = mrOk;
  ShowMessage(u"Done");
  EXPECT_EQ(Utf8(seen.back().Text), "Done");
  EXPECT_EQ(seen.back().Buttons, (std::vector<int>{IDOK}));
  // The replaced provider comes back to the caller.
  EXPECT_TRUE(static_cast<bool>(SetMessageBoxAnswerer({})));
}

// --- hint window -------------------------------------------------------------

TEST_F(VclTest, HintWindowShowsTheControlsHintAfterThePause) {
  TVirtualClock clock;
  TForm* f = NewForm(300, 200);
  f->SetLeft(0);
  f->SetTop(0);
  auto* c = new TCustomControl(f);
  c->SetParent(f);
  c->SetBounds(10, 10, 50, 50);
  c->SetHint(u"Upload the firmware|Long help");
  c->SetShowHint(true);
  f->Show();
  InstallHintWindow();
  testinput::MouseMove(c, {5, 5});
  EXPECT_EQ(ActiveHintWindow(), nullptr);
  clock.Advance(Cardinal(Application->HintPause()) + 10);
  THintWindow* w = ActiveHintWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Caption(), u"Upload the firmware");
  const TPoint cursor = c->ClientToScreen({5, 5});
  EXPECT_EQ(w->Left(), cursor.X);
  EXPECT_GT(w->Top(), cursor.Y);
  EXPECT_GT(w->Width(), 20);
  // The window is painted in the hint colour with the text on it.
  auto shot = testinput::Grab(w);
  EXPECT_EQ(PixelOf(shot.get(), w->Width() - 2, w->Height() / 2), ColorToRGB(clInfoBk));
  int dark = 0;
  for (int x = 0; x < w->Width(); ++x) dark += PixelOf(shot.get(), x, w->Height() / 2) == ColorToRGB(clInfoText);
  EXPECT_GT(dark, 0);
  testinput::MouseDown();
  testinput::MouseUp();
  EXPECT_EQ(ActiveHintWindow(), nullptr);
  Application->SetHintPresenter({});
}

}  // namespace
