// Mouse and keyboard through the routing: enter and leave, capture and
// clicks, focus, tab order, dialog keys and accelerators, key state.
#include "platform/vcl/Menus.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// Logs the messages and events a test watches, windowed or not.
template <class Base>
class TSpy : public Base {
 public:
  TSpy(TComponent* owner, Log* log, const std::string& name) : Base(owner), L(log), N(name) {
    this->OnClick = [this](TObject*) { L->push_back(N + ".Click"); };
    this->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
      L->push_back(N + ".Down " + std::to_string(x) + "," + std::to_string(y));
    };
    this->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
      L->push_back(N + ".Up " + std::to_string(x) + "," + std::to_string(y));
    };
  }
  bool LogMoves = false;
  bool LogFocus = false;
  LRESULT AnswerDialogKey = 0;
  Word Accel = 0;

 protected:
  void Dispatch(TMessage& M) override {
    switch (M.Msg) {
      case CM_MOUSEENTER: L->push_back(N + ".enter"); break;
      case CM_MOUSELEAVE: L->push_back(N + ".leave"); break;
      case WM_MOUSEMOVE:
        if (LogMoves) L->push_back(N + ".move " + std::to_string(GET_X_LPARAM(M.LParam)));
        break;
      case WM_SETFOCUS:
        if (LogFocus) L->push_back(N + ".WM_SETFOCUS");
        break;
      case WM_KILLFOCUS:
        if (LogFocus) L->push_back(N + ".WM_KILLFOCUS");
        break;
      case CM_ENTER:
        if (LogFocus) L->push_back(N + ".CM_ENTER");
        break;
      case CM_EXIT:
        if (LogFocus) L->push_back(N + ".CM_EXIT");
        break;
      case CM_DIALOGKEY:
        if (M.WParam == VK_RETURN && AnswerDialogKey) {
          L->push_back(N + ".dialogkey");
          M.Result = AnswerDialogKey;
          return;
        }
        break;
      case CM_DIALOGCHAR:
        if (Accel != 0 && IsAccel(Word(M.WParam), u"&" + String(1, Char(Accel)))) {
          L->push_back(N + ".accel");
          M.Result = 1;
          return;
        }
        break;
      default: break;
    }
    Base::Dispatch(M);
  }

 private:
  Log* L;
  std::string N;
};

using TWinSpy = TSpy<TCustomControl>;
using TGraphicSpy = TSpy<TGraphicControl>;

// Answers HTTRANSPARENT on its top ten pixels, as a pager does over the
// form's sizing border.
class TEdgeTransparent : public TWinSpy {
 public:
  using TWinSpy::TWinSpy;

 protected:
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_NCHITTEST && ScreenToClient(PointFromLParam(M.LParam)).Y < 10) {
      M.Result = HTTRANSPARENT;
      return;
    }
    TWinSpy::Dispatch(M);
  }
};

class InputTest : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    Form = NewForm(300, 200, bsSingle);
    Form->SetLeft(0);
    Form->SetTop(0);
  }
  template <class T>
  T* Add(TWinControl* parent, const std::string& name, TRect r) {
    auto* c = new T(Form, &L, name);
    c->SetParent(parent);
    c->SetBoundsRect(r);
    return c;
  }
  TForm* Form = nullptr;
  Log L;
};

TEST_F(InputTest, EnterAndLeaveAcrossSiblingsAndWindowlessChildren) {
  auto* a = Add<TWinSpy>(Form, "a", Rect(10, 10, 110, 110));
  auto* b = Add<TWinSpy>(Form, "b", Rect(120, 10, 220, 110));
  auto* g = Add<TGraphicSpy>(a, "g", Rect(20, 20, 60, 60));
  auto* h = Add<TGraphicSpy>(Form, "h", Rect(10, 150, 50, 190));
  Form->Show();
  using testinput::MouseMove;
  MouseMove(a, {5, 5});
  MouseMove(a, {30, 30});     // onto the windowless child of a
  MouseMove(a, {32, 30});     // inside it: nothing new
  MouseMove(b, {5, 5});       // straight to the sibling
  MouseMove(Form, {20, 160}); // a windowless child of the form
  MouseMove(Form, {200, 180});
  testinput::MouseLeaveWindows();
  EXPECT_EQ(L, (Log{"a.enter", "a.leave", "g.enter", "g.leave", "b.enter", "b.leave", "h.enter", "h.leave"}));
  // The layer's idea of the control under the pointer follows.
  MouseMove(a, {30, 30});
  EXPECT_EQ(MouseControl(), g);
  (void)h;
  // A disabled control is transparent to the pointer: its parent is under it.
  L.clear();
  g->SetEnabled(false);
  MouseMove(a, {31, 30});
  EXPECT_EQ(L, (Log{"g.leave", "a.enter"}));
}

// Children are asked before their parent: a parent's transparent edge
// passes the point on to the window below only where no child of its own
// takes it.
TEST_F(InputTest, ATransparentEdgeLeavesItsOwnChildrenTheirPoints) {
  auto* under = Add<TWinSpy>(Form, "under", Rect(0, 0, 300, 200));
  auto* edge = Add<TEdgeTransparent>(Form, "edge", Rect(10, 10, 210, 110));
  auto* child = Add<TWinSpy>(edge, "child", Rect(50, 0, 100, 30));
  Form->Show();
  struct Case {
    TPoint InEdge;
    const char* Expected;
  };
  const Case cases[] = {
      {{60, 2}, "child"},   // the child over the transparent band
      {{20, 2}, "under"},   // the band itself: the window below
      {{20, 40}, "edge"},   // below the band
      {{60, 20}, "child"},
  };
  for (const Case& c : cases) {
    L.clear();
    testinput::MouseMove(edge, c.InEdge);
    testinput::MouseDown(mbLeft);
    testinput::MouseUp(mbLeft);
    const auto down = std::find_if(L.begin(), L.end(), [](const std::string& e) { return e.find(".Down") != e.npos; });
    ASSERT_NE(down, L.end());
    EXPECT_EQ(down->substr(0, down->find('.')), c.Expected) << c.InEdge.X << "," << c.InEdge.Y;
  }
  (void)under;
  (void)child;
}

TEST_F(InputTest, CaptureKeepsTheMouseAndClickComesBeforeMouseUp) {
  auto* a = Add<TWinSpy>(Form, "a", Rect(10, 10, 110, 110));
  auto* b = Add<TWinSpy>(Form, "b", Rect(120, 10, 220, 110));
  auto* g = Add<TGraphicSpy>(a, "g", Rect(20, 20, 60, 60));
  Form->Show();
  a->LogMoves = b->LogMoves = true;
  testinput::Click(a, {5, 6});
  EXPECT_EQ(L, (Log{"a.enter", "a.move 5", "a.Down 5,6", "a.Click", "a.Up 5,6"}));
  EXPECT_EQ(GetCapture(), nullptr);

  // Pressed on a, released over b: a holds the capture, sees the moves and gets no click.
  L.clear();
  testinput::MouseMove(a, {50, 80});
  testinput::MouseDown();
  EXPECT_EQ(GetCapture(), a->Handle());
  EXPECT_TRUE(a->MouseCapture());
  testinput::MouseMove(b, {10, 10});
  testinput::MouseUp();
  EXPECT_EQ(L, (Log{"a.move 50", "a.Down 50,80", "a.leave", "b.enter", "a.move 120", "a.Up 120,10"}));
  EXPECT_EQ(GetCapture(), nullptr);

  // Leaving and coming back while held still clicks.
  L.clear();
  testinput::MouseMove(a, {80, 80});
  testinput::MouseDown();
  testinput::MouseMove(b, {10, 10});
  testinput::MouseMove(a, {81, 80});
  testinput::MouseUp();
  EXPECT_NE(std::find(L.begin(), L.end(), "a.Click"), L.end());

  // A windowless child captures through its parent's window.
  L.clear();
  a->LogMoves = false;
  testinput::MouseMove(a, {30, 30});
  testinput::MouseDown();
  EXPECT_EQ(GetCaptureControl(), g);
  EXPECT_EQ(GetCapture(), a->Handle());
  testinput::MouseMove(a, {90, 90});  // outside g, still g's
  testinput::MouseUp();
  EXPECT_EQ(L, (Log{"a.leave", "g.enter", "g.Down 10,10", "g.leave", "a.enter", "g.Up 70,70"}));
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

// A release the window system lost (the window that had the press went away)
// leaves no drag running: the next motion tells the button is up, and the
// capture control gets its release before the motion.
TEST_F(InputTest, MotionWithTheButtonUpReleasesALostPressToTheCaptureControl) {
  auto* a = Add<TWinSpy>(Form, "a", Rect(10, 10, 110, 110));
  Form->Show();
  testinput::MouseMove(a, {50, 50});
  testinput::MouseDown();
  ASSERT_EQ(GetCapture(), a->Handle());
  a->LogMoves = true;
  L.clear();
  testinput::SystemMouseMove(Form, {70, 60}, true);  // still held: an ordinary motion
  EXPECT_EQ(L, (Log{"a.move 60"}));
  EXPECT_EQ(GetCapture(), a->Handle());
  L.clear();
  testinput::SystemMouseMove(Form, {200, 150}, false);  // outside a, the button up meanwhile
  EXPECT_EQ(L, (Log{"a.leave", "a.Up 190,140"}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
}

TEST_F(InputTest, RightClickOpensThePopupMenuUnlessHandled) {
  struct TMenu : TPopupMenu {
    using TPopupMenu::TPopupMenu;
    void Popup(Integer X, Integer Y) override { At = {X, Y}; }
    TPoint At{-1, -1};
  };
  auto* a = Add<TWinSpy>(Form, "a", Rect(10, 10, 110, 110));
  auto* g = Add<TGraphicSpy>(a, "g", Rect(20, 20, 60, 60));
  TMenu menu(Form);
  a->SetPopupMenu(&menu);
  Form->Show();
  // The windowless child has no menu of its own: its parent's shows.
  testinput::Click(g, {5, 5}, mbRight);
  EXPECT_EQ(menu.At, g->ClientToScreen({5, 5}));
  EXPECT_EQ(menu.PopupComponent(), a);
  bool handled = true;
  a->OnContextPopup = [&](TObject*, TPoint, bool& h) { h = handled; };
  menu.At = {-1, -1};
  testinput::Click(a, {70, 70}, mbRight);
  EXPECT_EQ(menu.At, TPoint(-1, -1));
}

TEST_F(InputTest, FocusMovesWithTabAndRaisesExitThenEnter) {
  auto* panel = Add<TWinSpy>(Form, "panel", Rect(0, 0, 150, 150));
  auto* a = Add<TWinSpy>(panel, "a", Rect(0, 0, 50, 20));
  auto* b = Add<TWinSpy>(panel, "b", Rect(0, 30, 50, 20));
  auto* c = Add<TWinSpy>(Form, "c", Rect(160, 0, 50, 20));
  auto* skip = Add<TWinSpy>(Form, "skip", Rect(160, 40, 50, 20));
  for (TWinSpy* w : {a, b, c}) w->SetTabStop(true);
  skip->SetTabStop(false);
  for (TWinSpy* w : {panel, a, b, c, skip}) w->LogFocus = true;
  c->SetTabOrder(0);  // c comes first among the form's children; the panel's two follow
  Form->Show();
  EXPECT_EQ(Form->ActiveControl(), c);
  EXPECT_TRUE(c->Focused());
  L.clear();
  testinput::KeyPress(VK_TAB);
  EXPECT_EQ(Form->ActiveControl(), a);
  EXPECT_EQ(L, (Log{"c.WM_KILLFOCUS", "a.WM_SETFOCUS", "c.CM_EXIT", "panel.CM_ENTER", "a.CM_ENTER"}));
  L.clear();
  testinput::KeyPress(VK_TAB);
  EXPECT_EQ(L, (Log{"a.WM_KILLFOCUS", "b.WM_SETFOCUS", "a.CM_EXIT", "b.CM_ENTER"}));
  testinput::KeyPress(VK_TAB);  // wraps round past the control without a tab stop
  EXPECT_EQ(Form->ActiveControl(), c);
  testinput::KeyPress(VK_TAB, {ssShift});
  EXPECT_EQ(Form->ActiveControl(), b);
  // A control that cannot take the focus is refused.
  skip->SetEnabled(false);
  EXPECT_THROW(skip->SetFocus(), EInvalidOperation);
  // Hiding the focused control hands the focus back to the form.
  b->Hide();
  EXPECT_EQ(Form->ActiveControl(), nullptr);
  EXPECT_EQ(GetFocus(), Form->Handle());
}

TEST_F(InputTest, DialogKeysAndAcceleratorsGoToTheFormsControls) {
  auto* edit = Add<TWinSpy>(Form, "edit", Rect(0, 0, 50, 20));
  auto* ok = Add<TWinSpy>(Form, "ok", Rect(0, 30, 50, 20));
  edit->SetTabStop(true);
  ok->AnswerDialogKey = 1;
  ok->Accel = 'O';
  Log keys;
  edit->OnKeyDown = [&](TObject*, Word& k, TShiftState) { keys.push_back("down " + std::to_string(k)); };
  edit->OnKeyPress = [&](TObject*, Char& c) { keys.push_back("press " + std::to_string(int(c))); };
  Form->Show();
  ASSERT_TRUE(edit->Focused());
  L.clear();
  // Enter goes to the form as a dialog key; a control answers it and no key events follow.
  testinput::KeyPress(VK_RETURN);
  EXPECT_EQ(L, (Log{"ok.dialogkey"}));
  EXPECT_TRUE(keys.empty());
  // Alt with the accelerator letter finds the control; a plain letter is an accelerator too
  // for a control that wants no characters.
  L.clear();
  testinput::KeyPress('O', {ssAlt});
  EXPECT_EQ(L, (Log{"ok.accel"}));
  EXPECT_EQ(keys, (Log{"down 79"}));  // the key itself still reaches the focused control
  keys.clear();
  // Other keys reach the focused control.
  L.clear();
  testinput::KeyPress('X');
  EXPECT_EQ(keys, (Log{"down 88", "press 120"}));
  // KeyPreview lets the form see keys first and swallow them.
  keys.clear();
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [&](TObject*, Word& k, TShiftState) {
    keys.push_back("form " + std::to_string(k));
    k = 0;
  };
  testinput::KeyPress('Y');
  EXPECT_EQ(keys, (Log{"form 89", "press 121"}));
}

TEST_F(InputTest, KeyStateFollowsInputAndLockKeysToggle) {
  auto* edit = Add<TWinSpy>(Form, "edit", Rect(0, 0, 50, 20));
  edit->SetTabStop(true);
  Form->Show();
  TShiftState seen;
  edit->OnKeyDown = [&](TObject*, Word&, TShiftState s) { seen = s; };
  testinput::KeyDown(VK_SHIFT, {ssShift});
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  testinput::KeyDown('A', {ssShift});
  EXPECT_TRUE(seen.Contains(ssShift));
  testinput::KeyUp('A', {ssShift});
  testinput::KeyUp(VK_SHIFT);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
  testinput::KeyPress(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  EXPECT_GE(GetKeyState(VK_CAPITAL), 0);  // toggled on, not held
  testinput::KeyPress(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
  testinput::MouseMove(edit, {1, 1});
  testinput::MouseDown(mbRight);
  EXPECT_LT(GetKeyState(VK_RBUTTON), 0);
  EXPECT_TRUE(GetShiftState().Contains(ssRight));
  testinput::MouseUp(mbRight);
  EXPECT_GE(GetKeyState(VK_RBUTTON), 0);
  EXPECT_EQ(Mouse->CursorPos(), edit->ClientToScreen({1, 1}));
}

TEST_F(InputTest, ModalFormBlocksOtherFormsInput) {
  auto* a = Add<TWinSpy>(Form, "a", Rect(10, 10, 110, 110));
  Form->Show();
  TForm* dialog = NewForm(100, 80, bsDialog);
  dialog->SetBounds(400, 300, 100, 80);
  bool clickedThrough = false;
  a->OnClick = [&](TObject*) { clickedThrough = true; };
  // While the dialog is modal a click on the other form goes nowhere.
  HWND helper = AllocateHWnd([&](TMessage& m) {
    if (m.Msg != WM_USER) return;
    testinput::Click(a, {5, 5});
    dialog->SetModalResult(mrOk);
  });
  PostMessage(helper, WM_USER, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  DeallocateHWnd(helper);
  EXPECT_FALSE(clickedThrough);
  EXPECT_FALSE(dialog->Visible());
  // Afterwards the form takes input again.
  testinput::Click(a, {5, 5});
  EXPECT_TRUE(clickedThrough);
}

}  // namespace
