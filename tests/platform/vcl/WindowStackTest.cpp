// Window stacking and window messages of the controls layer: SetWindowPos
// with z-order and frame flags, WM_SETREDRAW, CM_CONTROLLISTCHANGE,
// CM_MOUSEWHEEL, and the small queries (GetAsyncKeyState, MessageBeep).
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/WinError.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A panel that logs the messages named in Watch.
class TLogPanel : public TPanel {
 public:
  using TPanel::TPanel;
  std::vector<TMessage> Seen;
  std::vector<UINT> Watch;

 protected:
  void WndProc(TMessage& M) override {
    if (std::find(Watch.begin(), Watch.end(), M.Msg) != Watch.end()) Seen.push_back(M);
    TPanel::WndProc(M);
  }
};

using WindowStack = VclTest;

TEST_F(WindowStack, SetWindowPosStacksTopLevelWindowsAndSiblings) {
  TForm* a = NewForm();
  TForm* b = NewForm();
  TForm* c = NewForm();
  for (TForm* f : {a, b, c}) f->Show();
  const TPoint mid{150, 150};
  auto top = [&] { return WindowFromPoint(mid); };
  EXPECT_EQ(top(), c->Handle());
  constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  EXPECT_TRUE(SetWindowPos(a->Handle(), HWND_TOP, 0, 0, 0, 0, keep));
  EXPECT_EQ(top(), a->Handle());
  SetWindowPos(a->Handle(), HWND_BOTTOM, 0, 0, 0, 0, keep);
  EXPECT_EQ(top(), c->Handle());
  SetWindowPos(a->Handle(), b->Handle(), 0, 0, 0, 0, keep);  // just below b: still under c
  EXPECT_EQ(top(), c->Handle());
  SetWindowPos(c->Handle(), HWND_BOTTOM, 0, 0, 0, 0, keep);
  EXPECT_EQ(top(), b->Handle());
  SetWindowPos(a->Handle(), HWND_TOPMOST, 0, 0, 0, 0, keep);
  SetWindowPos(c->Handle(), HWND_TOP, 0, 0, 0, 0, keep);
  EXPECT_EQ(top(), a->Handle());  // topmost stays above
  SetWindowPos(a->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, keep);
  SetWindowPos(c->Handle(), HWND_TOP, 0, 0, 0, 0, keep);
  EXPECT_EQ(top(), c->Handle());

  // Siblings: p3 on top at first; placed below p1 it goes to the bottom.
  TForm* f = NewForm();
  std::vector<TPanel*> p;
  for (int i = 0; i < 3; ++i) {
    p.push_back(new TPanel(f));
    p.back()->SetParent(f);
    p.back()->SetBounds(10, 10, 50, 50);
  }
  f->Show();
  const TPoint inside = f->ClientToScreen({20, 20});
  EXPECT_EQ(WindowFromPoint(inside), p[2]->Handle());
  SetWindowPos(p[2]->Handle(), p[0]->Handle(), 0, 0, 0, 0, keep);
  EXPECT_EQ(WindowFromPoint(inside), p[1]->Handle());
  SetWindowPos(p[1]->Handle(), HWND_BOTTOM, 0, 0, 0, 0, keep);
  EXPECT_EQ(WindowFromPoint(inside), p[0]->Handle());
  SetWindowPos(p[2]->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE);  // moved and sized to 0 x 0 at 0,0
  EXPECT_EQ(p[2]->Width(), 0);
  EXPECT_EQ(WindowFromPoint(inside), p[0]->Handle());

  SetLastError(0);
  EXPECT_FALSE(SetWindowPos(nullptr, HWND_TOP, 0, 0, 0, 0, keep));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowStack, FrameChangedRecalculatesAndShowHideFlagsApply) {
  TForm* f = NewForm();
  auto* panel = new TLogPanel(f);
  panel->SetParent(f);
  panel->SetBounds(5, 6, 40, 30);
  panel->Watch = {WM_NCCALCSIZE};
  f->Show();
  SetWindowPos(panel->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ASSERT_EQ(panel->Seen.size(), 1u);
  EXPECT_EQ(panel->Seen[0].WParam, WPARAM(TRUE));
  SetWindowPos(panel->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
  EXPECT_FALSE(IsWindowVisible(panel->Handle()));
  SetWindowPos(panel->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  EXPECT_TRUE(IsWindowVisible(panel->Handle()));
  EXPECT_EQ(panel->Left(), 5);
}

TEST_F(WindowStack, SetRedrawOffKeepsAControlAndItsChildrenFromPainting) {
  TForm* f = NewForm();
  auto* outer = new TLogPanel(f);
  outer->SetParent(f);
  outer->SetBounds(0, 0, 100, 100);
  auto* inner = new TLogPanel(f);
  inner->SetParent(outer);
  inner->SetBounds(10, 10, 30, 30);
  inner->Watch = {WM_PAINT};
  f->Show();
  Settle();
  inner->Seen.clear();
  SendMessage(outer->Handle(), WM_SETREDRAW, FALSE, 0);
  inner->Invalidate();
  Settle();
  EXPECT_TRUE(inner->Seen.empty());
  SendMessage(outer->Handle(), WM_SETREDRAW, TRUE, 0);
  Settle();
  EXPECT_EQ(inner->Seen.size(), 1u);
}

TEST_F(WindowStack, ControlListChangeIsSentAroundInsertionAndRemoval) {
  TForm* f = NewForm();
  auto* parent = new TLogPanel(f);
  parent->SetParent(f);
  parent->Watch = {CM_CONTROLLISTCHANGE, CM_CONTROLCHANGE};
  auto* child = new TLabel(f);
  child->SetParent(parent);
  child->SetParent(nullptr);
  auto entry = [&](std::size_t i) {
    return std::make_tuple(parent->Seen[i].Msg, parent->Seen[i].WParam, parent->Seen[i].LParam);
  };
  ASSERT_EQ(parent->Seen.size(), 4u);
  const WPARAM c = reinterpret_cast<WPARAM>(child);
  EXPECT_EQ(entry(0), std::make_tuple(Cardinal(CM_CONTROLLISTCHANGE), c, LPARAM(1)));
  EXPECT_EQ(entry(1), std::make_tuple(Cardinal(CM_CONTROLCHANGE), c, LPARAM(1)));
  EXPECT_EQ(entry(2), std::make_tuple(Cardinal(CM_CONTROLCHANGE), c, LPARAM(0)));
  EXPECT_EQ(entry(3), std::make_tuple(Cardinal(CM_CONTROLLISTCHANGE), c, LPARAM(0)));
  delete child;
}

TEST_F(WindowStack, WheelGoesAsCmMouseWheelToTheFocusedControlThenItsParents) {
  TForm* f = NewForm();
  auto* panel = new TLogPanel(f);
  panel->SetParent(f);
  panel->SetBounds(0, 0, 200, 100);
  panel->Watch = {CM_MOUSEWHEEL};
  auto* edit = new TEdit(f);
  edit->SetParent(panel);
  f->Show();
  edit->SetFocus();
  int seenDelta = 0;
  TShiftState seenShift;
  panel->OnMouseWheel = [&](TObject*, TShiftState Shift, Integer Delta, TPoint, bool& Handled) {
    seenDelta = Delta;
    seenShift = Shift;
    Handled = true;
  };
  testinput::MouseMove(panel, {50, 50});
  testinput::MouseWheel(-120, {ssCtrl});
  ASSERT_EQ(panel->Seen.size(), 1u);  // passed on by the edit, which did not handle it
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(panel->Seen[0].WParam), -120);
  EXPECT_EQ(seenDelta, -120);
  EXPECT_TRUE(seenShift.Contains(ssCtrl));
}

TEST_F(WindowStack, SmallQueriesAnswerAsDocumented) {
  SetKeyStateDown(VK_SHIFT, true);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  SetKeyStateDown(VK_SHIFT, false);
  EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
  SetKeyStateDown(VK_CAPITAL, true);
  SetKeyStateDown(VK_CAPITAL, false);
  EXPECT_EQ(GetAsyncKeyState(VK_CAPITAL), 0);  // no toggle bit
  EXPECT_EQ(GetAsyncKeyState(300), 0);
  EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
}

}  // namespace
