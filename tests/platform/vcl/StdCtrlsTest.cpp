// Standard controls: text and change events, check and radio groups, lists
// and combo boxes, page control with hidden tabs, progress, label sizing,
// panel bevels, default and cancel buttons, rich text.
#include <dlfcn.h>

#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

std::unique_ptr<TMemoryStream> StreamOf(const std::string& bytes) {
  auto m = std::make_unique<TMemoryStream>();
  m->WriteBuffer(bytes.data(), Integer(bytes.size()));
  m->SetPosition(0);
  return m;
}

class StdControls : public VclTest {
 protected:
  TForm* Shown(int w = 300, int h = 200) {
    TForm* f = NewForm(w, h);
    f->SetLeft(0);
    f->SetTop(0);
    return f;
  }
  template <class T>
  T* Put(TForm* f, int x, int y, int w, int h) {
    auto* c = new T(f);
    c->SetParent(f);
    c->SetBounds(x, y, w, h);
    return c;
  }
};

TEST_F(StdControls, EditTypingChangesTextAndRaisesOnChange) {
  TForm* f = Shown();
  auto* e = Put<TEdit>(f, 10, 10, 120, 21);
  f->Show();
  Log log;
  e->OnChange = [&](TObject*) { log.push_back(Utf8(e->Text())); };
  e->SetFocus();
  testinput::TypeText(u"ab c");
  EXPECT_EQ(e->Text(), u"ab c");
  EXPECT_TRUE(e->Modified());
  testinput::KeyPress(VK_LEFT);
  testinput::KeyPress(VK_BACK);
  EXPECT_EQ(e->Text(), u"abc");
  EXPECT_EQ(e->SelStart(), 2);
  // The program's own change raises OnChange too and clears Modified.
  e->SetText(u"xyz");
  EXPECT_FALSE(e->Modified());
  EXPECT_EQ(log, (Log{"a", "ab", "ab ", "ab c", "abc", "xyz"}));
  e->SelectAll();
  EXPECT_EQ(e->SelText(), u"xyz");
  e->SetSelText(u"Q");
  EXPECT_EQ(e->Text(), u"Q");
  // A length limit holds against typing.
  e->SetMaxLength(2);
  testinput::TypeText(u"RST");
  EXPECT_EQ(e->Text(), u"QR");
}

TEST_F(StdControls, PasswordEditShowsTheMaskCharacter) {
  TForm* f = Shown();
  auto* secret = Put<TEdit>(f, 10, 10, 120, 21);
  auto* plain = Put<TEdit>(f, 10, 40, 120, 21);
  secret->SetPasswordChar(u'*');
  secret->SetText(u"abc");
  plain->SetText(u"***");
  f->Show();
  EXPECT_EQ(secret->Text(), u"abc");
  auto a = testinput::Grab(secret);
  auto b = testinput::Grab(plain);
  ASSERT_EQ(a->Width(), b->Width());
  int differing = 0;
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x) differing += PixelOf(a.get(), x, y) != PixelOf(b.get(), x, y);
  EXPECT_EQ(differing, 0);
  // Without the mask the real text shows.
  secret->SetPasswordChar(0);
  auto c = testinput::Grab(secret);
  differing = 0;
  for (int y = 0; y < c->Height(); ++y)
    for (int x = 0; x < c->Width(); ++x) differing += PixelOf(c.get(), x, y) != PixelOf(b.get(), x, y);
  EXPECT_GT(differing, 0);
}

TEST_F(StdControls, CheckBoxCyclesAndRadioButtonsExcludeEachOther) {
  TForm* f = Shown();
  auto* box = Put<TCheckBox>(f, 10, 10, 100, 17);
  auto* r1 = Put<TRadioButton>(f, 10, 40, 100, 17);
  auto* r2 = Put<TRadioButton>(f, 10, 60, 100, 17);
  auto* group = Put<TGroupBox>(f, 150, 10, 120, 100);
  auto* other = new TRadioButton(f);
  other->SetParent(group);
  other->SetBounds(10, 30, 100, 17);
  f->Show();
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  testinput::Click(box, {5, 8});
  EXPECT_TRUE(box->Checked());
  box->SetAllowGrayed(true);
  testinput::Click(box, {5, 8});
  EXPECT_EQ(box->State(), cbUnchecked);
  testinput::Click(box, {5, 8});
  EXPECT_EQ(box->State(), cbGrayed);
  EXPECT_EQ(clicks, 3);
  box->SetFocus();
  testinput::KeyPress(VK_SPACE);
  EXPECT_EQ(box->State(), cbChecked);

  other->SetChecked(true);
  testinput::Click(r1, {5, 8});
  EXPECT_TRUE(r1->Checked());
  testinput::Click(r2, {5, 8});
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  // A click on a checked radio button keeps it checked; another parent's group is untouched.
  testinput::Click(r2, {5, 8});
  EXPECT_TRUE(r2->Checked());
  EXPECT_TRUE(other->Checked());
}

TEST_F(StdControls, ListBoxItemsSelectionAndErrors) {
  TForm* f = Shown();
  auto* list = Put<TListBox>(f, 10, 10, 120, 100);
  f->Show();
  list->Items()->Add(u"one");
  list->Items()->Add(u"two");
  list->Items()->Add(u"three");
  EXPECT_EQ(list->ItemIndex(), -1);
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  const TRect second = list->ItemRect(1);
  ASSERT_FALSE(second.IsEmpty());
  testinput::Click(list, {second.Left + 3, second.Top + 2});
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->ItemAtPos({second.Left + 3, second.Top + 2}, true), 1);
  EXPECT_EQ(list->ItemAtPos({5, 95}, true), -1);
  // A double click on an entry reaches OnDblClick once; on the empty part it does not.
  int doubles = 0;
  list->OnDblClick = [&](TObject*) { ++doubles; };
  testinput::MouseDown();
  testinput::MouseUp();
  testinput::MouseDoubleClick();
  testinput::MouseUp();
  EXPECT_EQ(doubles, 1);
  testinput::MouseMove(list, {5, 95});
  testinput::MouseDoubleClick();
  testinput::MouseUp();
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(list->ItemIndex(), 1);
  list->SetFocus();
  testinput::KeyPress(VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 2);
  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_THROW(list->Selected(3), EListError);
  list->SetMultiSelect(true);
  list->SetSelected(0, true);
  list->SetSelected(2, true);
  EXPECT_EQ(list->SelCount(), 2);
  // Sorting reorders the items.
  list->SetSorted(true);
  EXPECT_EQ(Utf8(list->Items()->Strings(2)), "two");

  auto* checks = Put<TCheckListBox>(f, 150, 10, 120, 100);
  checks->Items()->Add(u"a");
  checks->Items()->Add(u"b");
  checks->SetChecked(1, true);
  EXPECT_FALSE(checks->Checked(0));
  EXPECT_TRUE(checks->Checked(1));
  checks->Items()->Add(u"c");  // checks stay with their items
  EXPECT_TRUE(checks->Checked(1));
  EXPECT_THROW(checks->SetChecked(5, true), EListError);
  // A disabled item keeps its check against the user's click, and stays disabled when items change.
  checks->SetItemEnabled(1, false);
  f->Show();
  const TRect disabled = checks->ItemRect(1);
  testinput::Click(checks, {disabled.Left + 10, (disabled.Top + disabled.Bottom) / 2});
  EXPECT_TRUE(checks->Checked(1));
  checks->SetChecked(1, false);  // the program still can
  EXPECT_FALSE(checks->Checked(1));
  checks->Items()->Add(u"d");
  EXPECT_FALSE(checks->ItemEnabled(1));
  EXPECT_TRUE(checks->ItemEnabled(0));
  const TRect enabled = checks->ItemRect(0);
  testinput::Click(checks, {enabled.Left + 10, (enabled.Top + enabled.Bottom) / 2});
  EXPECT_TRUE(checks->Checked(0)) << "an enabled item follows the click";
  EXPECT_THROW(checks->SetItemEnabled(9, false), EListError);
}

TEST_F(StdControls, ComboBoxChoosesItemsByIndexKeysAndText) {
  TForm* f = Shown();
  auto* combo = Put<TComboBox>(f, 10, 10, 120, 21);
  f->Show();
  combo->SetStyle(csDropDownList);
  for (const char16_t* s : {u"9600", u"19200", u"115200"}) combo->Items()->Add(s);
  Log log;
  combo->OnChange = [&](TObject*) { log.push_back("change " + Utf8(combo->Text())); };
  combo->OnSelect = [&](TObject*) { log.push_back("select"); };
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), u"19200");
  EXPECT_TRUE(log.empty());  // the program's choice raises nothing
  combo->SetFocus();
  testinput::KeyPress(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(log, (Log{"change 115200", "select"}));
  combo->SetItemIndex(-5);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), u"");
  // Setting the text of a list-only combo box chooses the matching item.
  combo->SetText(u"9600");
  EXPECT_EQ(combo->ItemIndex(), 0);

  auto* edit = Put<TComboBox>(f, 10, 40, 120, 21);
  edit->Items()->Add(u"COM1");
  edit->SetFocus();
  testinput::TypeText(u"COM7");
  EXPECT_EQ(edit->Text(), u"COM7");
  EXPECT_EQ(edit->ItemIndex(), -1);
}

// Every character a keyboard layout types reaches an edit line, through the
// window's own translation of the window system's keys, with WM_CHAR
// carrying it.
TEST_F(StdControls, TypedCharactersOfAnyLayoutReachEditAndComboBox) {
  struct TCase {
    const char* Name;
    String Text;
    TShiftState Shift;
    bool AltGr;
  };
  const TCase cases[] = {
      {"a device path", u"/dev/ttyUSB0", {}, false},
      {"punctuation", u"a-b_c.d,e;f:g'h\"i`j~k!l@m#n$o%p^q&r*s(t)u=v+w[x]y{z}|\\?<>", {}, false},
      {"letters of another alphabet", u"zażółć gęślą jaźń", {}, false},
      {"shifted letters of another alphabet", u"ŻÓŁĆ", TShiftState{ssShift}, false},
      {"AltGr of a European layout", u"@€łß{", {}, true},
      {"AltGr reported as Ctrl+Alt", u"@\\€", TShiftState{ssCtrl, ssAlt}, false},
      {"beyond the first plane", u"x😀y", {}, false},
  };
  TForm* f = Shown();
  auto* edit = Put<TEdit>(f, 10, 10, 200, 21);
  auto* combo = Put<TComboBox>(f, 10, 40, 200, 21);
  f->Show();
  String chars;
  edit->OnKeyPress = [&](TObject*, Char& Key) { chars += Key; };
  combo->OnKeyPress = [&](TObject*, Char& Key) { chars += Key; };
  for (const TCase& c : cases) {
    for (TWinControl* target : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(combo)}) {
      SCOPED_TRACE(std::string(c.Name) + (target == edit ? " into the edit" : " into the combo box"));
      target->SetText(u"");
      chars.clear();
      target->SetFocus();
      testinput::SystemTypeText(f, c.Text, c.Shift, c.AltGr);
      EXPECT_EQ(Utf8(target->Text()), Utf8(c.Text));
      EXPECT_EQ(Utf8(chars), Utf8(c.Text)) << "WM_CHAR carries each character";
    }
  }
  // A dead key types nothing by itself; the composed letter arrives.
  for (TWinControl* target : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(combo)}) {
    target->SetText(u"caf");
    target->SetFocus();
    if (auto* e = dynamic_cast<TEdit*>(target)) e->SetSelStart(3);
    testinput::SystemCompose(f, u"é");
    EXPECT_EQ(Utf8(target->Text()), "café");
  }
}

// The list of a combo box is a pop-up of the window system: it takes the
// release of the press that opened it and the click that chooses. The next
// click on a button presses it.
TEST_F(StdControls, ClickAfterAComboBoxListClosesReachesTheButton) {
  TForm* f = Shown();
  auto* combo = Put<TComboBox>(f, 10, 10, 120, 21);
  for (const char16_t* s : {u"COM1", u"COM2", u"COM3"}) combo->Items()->Add(s);
  auto* button = Put<TButton>(f, 150, 10, 75, 25);
  f->Show();
  Integer clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE(round);
    testinput::Click(combo, {110, 10});  // the arrow
    ASSERT_TRUE(testinput::PopupOpen());
    TPoint item;
    ASSERT_TRUE(testinput::PopupListItem(1, item));
    testinput::MouseMove(item);
    testinput::MouseDown();
    testinput::MouseUp();
    EXPECT_FALSE(testinput::PopupOpen());
    EXPECT_EQ(combo->Text(), u"COM2");
    testinput::Click(button, {10, 10});
    EXPECT_EQ(clicks, round);
  }
}

TEST_F(StdControls, PageControlSwitchesPagesAndLeavesHiddenTabsOut) {
  TForm* f = Shown(300, 200);
  auto* pc = Put<TPageControl>(f, 0, 0, 300, 200);
  std::vector<TTabSheet*> sheets;
  for (const char16_t* c : {u"First", u"Second", u"Third"}) {
    auto* s = new TTabSheet(f);
    s->SetPageControl(pc);
    s->SetCaption(c);
    sheets.push_back(s);
  }
  f->Show();
  EXPECT_EQ(pc->ActivePage(), sheets[0]);
  EXPECT_TRUE(sheets[0]->Visible());
  EXPECT_FALSE(sheets[1]->Visible());
  Log log;
  bool allow = true;
  pc->OnChanging = [&](TObject*, bool& a) {
    log.push_back("changing");
    a = allow;
  };
  pc->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(pc->ActivePageIndex())); };
  // Clicking the third tab.
  const int th = pc->TabHeight();
  ASSERT_GT(th, 0);
  int third = -1;
  for (int x = 0; x < 300 && third < 0; ++x)
    if (pc->IndexOfTabAt(x, th / 2) == 2) third = x;
  ASSERT_GE(third, 0);
  testinput::Click(pc, {third, th / 2});
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  allow = false;
  testinput::Click(pc, {2, th / 2});
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(log, (Log{"changing", "change 2", "changing"}));
  // Sheets fill the page area below the tabs.
  EXPECT_GE(sheets[2]->Top(), th);

  // A hidden tab keeps its page but leaves the tab row; tab indexes count visible tabs.
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  EXPECT_EQ(pc->TabIndex(), 1);
  EXPECT_EQ(pc->FindNextPage(sheets[0], true, true), sheets[2]);
  EXPECT_EQ(pc->FindNextPage(sheets[0], true, false), sheets[1]);
  pc->SetActivePage(sheets[1]);  // the program may still show it
  EXPECT_TRUE(sheets[1]->Visible());
  EXPECT_EQ(pc->TabIndex(), -1);
  // With every tab hidden there is no tab row: the pages take the whole control.
  for (TTabSheet* s : sheets) s->SetTabVisible(false);
  EXPECT_EQ(pc->TabHeight(), 0);
  EXPECT_LT(sheets[1]->Top(), th);
  EXPECT_EQ(pc->IndexOfTabAt(5, 5), -1);
  EXPECT_THROW(pc->Pages(3), EListError);
}

TEST_F(StdControls, ProgressBarClampsAndSteps) {
  TForm* f = Shown();
  auto* bar = Put<TProgressBar>(f, 10, 10, 200, 16);
  f->Show();
  struct Case {
    int min, max, set;
    int want;
  } cases[] = {{0, 100, 50, 50}, {0, 100, 150, 100}, {0, 100, -5, 0}, {10, 20, 5, 10}};
  for (auto c : cases) {
    bar->SetMin(0);
    bar->SetMax(1000);
    bar->SetMin(c.min);
    bar->SetMax(c.max);
    bar->SetPosition(c.set);
    EXPECT_EQ(bar->Position(), c.want) << c.set;
  }
  bar->SetMin(0);
  bar->SetMax(100);
  bar->SetPosition(95);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 100);
  bar->SetMin(200);  // above Max: refused
  EXPECT_EQ(bar->Min(), 0);
  // The bar fills from the left as the position grows.
  bar->SetPosition(0);
  auto empty = testinput::Grab(bar);
  bar->SetPosition(100);
  auto full = testinput::Grab(bar);
  EXPECT_NE(PixelOf(empty.get(), 100, 8), PixelOf(full.get(), 100, 8));
}

TEST_F(StdControls, LabelAutoSizeAndWordWrap) {
  TForm* f = Shown();
  auto* l = Put<TLabel>(f, 10, 10, 10, 10);
  l->SetCaption(u"Hello");
  const int w1 = l->Width(), h1 = l->Height();
  EXPECT_GT(w1, 10);
  EXPECT_GT(h1, 5);
  l->SetCaption(u"Hello, wide world");
  EXPECT_GT(l->Width(), w1);
  EXPECT_EQ(l->Height(), h1);
  // A right-aligned label grows to the left.
  l->SetAlignment(taRightJustify);
  const int right = l->Left() + l->Width();
  l->SetCaption(u"Hi");
  EXPECT_EQ(l->Left() + l->Width(), right);
  // Word wrap breaks at the width and grows downwards.
  l->SetAlignment(taLeftJustify);
  l->SetAutoSize(false);
  l->SetWordWrap(true);
  l->SetWidth(40);
  l->SetCaption(u"one two three four");
  l->SetAutoSize(true);
  EXPECT_LE(l->Width(), 40);
  EXPECT_GE(l->Height(), 3 * h1);
  // The accelerator focuses the label's control.
  auto* e = Put<TEdit>(f, 10, 100, 100, 21);
  auto* other = Put<TEdit>(f, 10, 130, 100, 21);
  l->SetCaption(u"&Name");
  l->SetFocusControl(e);
  f->Show();
  other->SetFocus();
  testinput::KeyPress('N', {ssAlt});
  EXPECT_TRUE(e->Focused());
}

// A label paints its caption in its own font and colour, and a caption's
// underscore shows on the row below the letters (a label of the designed 13
// rows for an 8 pt face keeps it).
TEST_F(StdControls, LabelPaintsItsFontAndTheUnderscoreBelowItsLetters) {
  struct TCase {
    const char16_t* Face;
    TColor Color;
    TAlignment Alignment;
  };
  for (const TCase& t : {TCase{u"Verdana", clGray, taRightJustify}, TCase{u"Tahoma", clRed, taLeftJustify},
                         TCase{u"Arial", clFuchsia, taLeftJustify}}) {
    SCOPED_TRACE(Utf8(t.Face));
    TForm* f = Shown();
    f->SetColor(clWhite);
    auto* l = Put<TLabel>(f, 10, 10, 10, 10);
    l->SetColor(clWhite);
    l->Font()->SetName(t.Face);
    l->Font()->SetHeight(-11);
    l->Font()->SetColor(t.Color);
    l->SetCaption(u"F_CPU:");
    l->SetAlignment(t.Alignment);
    l->SetAutoSize(false);
    l->SetBounds(10, 10, 60, 13);
    f->Show();
    auto bmp = testinput::Grab(l);
    // Where the text starts and where the underscore's advance lies in it.
    TBitmap measure(1, 1);
    measure.Canvas()->SetFont(l->Font());
    const int textWidth = measure.Canvas()->TextWidth(u"F_CPU:");
    const int x0 = t.Alignment == taRightJustify ? l->Width() - textWidth : 0;
    const int underFrom = x0 + measure.Canvas()->TextWidth(u"F");
    const int underTo = x0 + measure.Canvas()->TextWidth(u"F_");
    int inkRows = -1, lettersBottom = -1, wrongColour = 0;
    for (int y = 0; y < bmp->Height(); ++y)
      for (int x = 0; x < bmp->Width(); ++x) {
        const TColor p = PixelOf(bmp.get(), x, y);
        if (p == clWhite) continue;
        if (p != t.Color) ++wrongColour;
        inkRows = std::max(inkRows, y);
        if (x > underTo) lettersBottom = std::max(lettersBottom, y);
      }
    EXPECT_EQ(wrongColour, 0);
    ASSERT_GE(lettersBottom, 0);
    // The lowest row with ink is the underscore's: below the letters, its
    // ink between "F" and "CPU" only.
    EXPECT_GT(inkRows, lettersBottom);
    int under = 0, elsewhere = 0;
    for (int x = 0; x < bmp->Width(); ++x) {
      if (PixelOf(bmp.get(), x, inkRows) == clWhite) continue;
      if (x >= underFrom - 1 && x <= underTo) ++under;
      else ++elsewhere;
    }
    EXPECT_GE(under, 3);
    EXPECT_EQ(elsewhere, 0);
    Forms.clear();
  }
}

TEST_F(StdControls, PanelPaintsBevelsAndShrinksItsClientArea) {
  TForm* f = Shown();
  auto* p = Put<TPanel>(f, 10, 10, 100, 60);
  p->SetColor(clYellow);
  auto* child = new TPanel(f);
  child->SetParent(p);
  child->SetAlign(alClient);
  child->SetBevelOuter(bvNone);
  child->SetColor(clBlue);
  f->Show();
  auto bmp = testinput::Grab(p);
  // Raised: highlight on the top-left edge, shadow on the bottom-right.
  EXPECT_EQ(PixelOf(bmp.get(), 0, 30), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelOf(bmp.get(), 99, 30), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(bmp.get(), 1, 30), clBlue);
  EXPECT_EQ(child->BoundsRect(), (TRect{1, 1, 99, 59}));
  p->SetBevelOuter(bvLowered);
  p->SetBevelInner(bvRaised);
  p->SetBorderWidth(2);
  EXPECT_EQ(child->BoundsRect(), (TRect{4, 4, 96, 56}));
  bmp = testinput::Grab(p);
  EXPECT_EQ(PixelOf(bmp.get(), 0, 30), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(bmp.get(), 2, 30), clYellow);
  EXPECT_EQ(PixelOf(bmp.get(), 3, 30), ColorToRGB(clBtnHighlight));
}

// The style's frame picture is read by its own decoder: painting a group box
// loads none of the toolkit's image plugins (the vector one would bring its
// library), and the frame looks as the style draws it from its own read.
TEST_F(StdControls, GroupBoxFramePaintsWithoutTheImagePlugins) {
  TForm* f = Shown();
  auto* g = Put<TGroupBox>(f, 10, 10, 150, 80);
  g->SetCaption(u" Serial Port ");
  f->Show();
  Settle();
  auto mine = testinput::Grab(g);
  EXPECT_EQ(::dlopen("libQt6Svg.so.6", RTLD_NOLOAD | RTLD_LAZY), nullptr);
  // Now the style reads its picture itself.
  ForgetCachedPictures();
  g->Invalidate();
  Settle();
  auto theirs = testinput::Grab(g);
  ASSERT_EQ(mine->Width(), theirs->Width());
  ASSERT_EQ(mine->Height(), theirs->Height());
  int differing = 0;
  for (int y = 0; y < mine->Height(); ++y)
    for (int x = 0; x < mine->Width(); ++x) differing += PixelOf(mine.get(), x, y) != PixelOf(theirs.get(), x, y);
  EXPECT_EQ(differing, 0);
}

TEST_F(StdControls, DefaultAndCancelButtonsEndAModalForm) {
  TForm* owner = Shown();
  owner->Show();
  TForm* dialog = NewForm(200, 100, bsDialog);
  auto* edit = Put<TEdit>(dialog, 10, 10, 100, 21);
  auto* ok = Put<TButton>(dialog, 10, 50, 75, 25);
  auto* cancel = Put<TButton>(dialog, 100, 50, 75, 25);
  ok->SetCaption(u"OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  cancel->SetCaption(u"Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  dialog->SetActiveControl(edit);
  struct Case {
    Word key;
    TModalResult want;
  } cases[] = {{VK_RETURN, mrOk}, {VK_ESCAPE, mrCancel}};
  for (auto c : cases) {
    HWND helper = AllocateHWnd([&](TMessage& m) {
      if (m.Msg == WM_USER) testinput::KeyPress(c.key);
    });
    PostMessage(helper, WM_USER, 0, 0);
    EXPECT_EQ(dialog->ShowModal(), c.want);
    DeallocateHWnd(helper);
  }
  // A click reaches a button and its OnClick.
  int clicks = 0;
  ok->SetModalResult(mrNone);
  ok->OnClick = [&](TObject*) { ++clicks; };
  dialog->Show();
  testinput::Click(ok, {10, 10});
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdControls, MemoLinesFollowTheText) {
  TForm* f = Shown();
  auto* m = Put<TMemo>(f, 10, 10, 200, 100);
  f->Show();
  m->Lines()->Add(u"first");
  m->Lines()->Add(u"second");
  EXPECT_EQ(m->Text(), u"first\r\nsecond");
  m->SetFocus();
  testinput::KeyPress(VK_END, {ssCtrl});
  testinput::KeyDownText(VK_RETURN, u"\r");
  testinput::KeyUp(VK_RETURN);
  testinput::TypeText(u"x");
  EXPECT_EQ(m->Lines()->Count(), 3);
  EXPECT_EQ(Utf8(m->Lines()->Strings(2)), "x");
}

TEST(RichText, ParsesParagraphsFormatsAndEscapes) {
  const auto runs = ParseRichText(
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "Plain \\b bold\\b0  \\cf1 red\\cf0\\par \\i it\\i0 \\u8364?\\'41\\{x\\}}");
  String text;
  for (const auto& r : runs) text += r.Text;
  EXPECT_EQ(Utf8(text), "Plain bold red\r\nit\xE2\x82\xAC" "A{x}");
  ASSERT_GE(runs.size(), 4u);
  EXPECT_FALSE(runs[0].Bold);
  EXPECT_TRUE(runs[1].Bold);
  EXPECT_EQ(runs[3].Color, TColor(0x0000FF));
  // Hostile input ends quietly.
  EXPECT_NO_THROW(ParseRichText(std::string(5000, '{')));
  EXPECT_NO_THROW(ParseRichText("{\\rtf1 \\'"));
  EXPECT_NO_THROW(ParseRichText("}}}{\\u-99999999999"));
}

TEST_F(StdControls, RichEditLoadsRichAndPlainText) {
  TForm* f = Shown();
  auto* r = Put<TRichEdit>(f, 10, 10, 200, 100);
  r->LoadFromStream(StreamOf("{\\rtf1 normal \\b strong\\b0\\par next}").get());
  EXPECT_EQ(r->Text(), u"normal strong\r\nnext");
  EXPECT_EQ(r->Lines()->Count(), 2);
  EXPECT_FALSE(r->IsBoldAt(0));
  EXPECT_TRUE(r->IsBoldAt(8));
  r->LoadFromStream(StreamOf("just {\\b text}").get());
  EXPECT_EQ(r->Text(), u"just {\\b text}");
}

}  // namespace

namespace {

TEST_F(StdControls, PublishedPropertiesReachTheControls) {
  RegisterControlClasses();
  RegisterStdCtrlsClasses();
  RegisterExtCtrlsClasses();
  RegisterComCtrlsClasses();
  TForm* f = Shown();
  for (const char16_t* name : {u"TEdit", u"TMemo", u"TButton", u"TCheckBox", u"TRadioButton", u"TListBox",
                               u"TCheckListBox", u"TComboBox", u"TGroupBox", u"TLabel", u"TPanel", u"TImage",
                               u"TBevel", u"TShape", u"TProgressBar", u"TTabSheet", u"TPageControl", u"TRichEdit"}) {
    const TClassInfo* c = FindClass(name);
    ASSERT_NE(c, nullptr) << Utf8(name);
    std::unique_ptr<TComponent> made(c->CreateComponent(f));
    EXPECT_NE(dynamic_cast<TControl*>(made.get()), nullptr) << Utf8(name);
  }
  auto* e = new TEdit(f);
  SetOrdProp(e, u"PasswordChar", u'*');
  SetStrProp(e, u"Text", u"pw");
  EXPECT_EQ(e->PasswordChar(), u'*');
  EXPECT_EQ(e->Text(), u"pw");
  auto* m = new TMemo(f);
  SetEnumProp(m, u"ScrollBars", u"ssVertical");
  EXPECT_EQ(m->ScrollBars(), ssVertical);
  auto* p = new TPanel(f);
  SetEnumProp(p, u"BevelOuter", u"bvLowered");
  EXPECT_EQ(p->BevelOuter(), bvLowered);
}

}  // namespace
