// Feedback while dragging: rectangles drawn on the screen's DC land on the
// drag overlay (inverting pairs leave nothing, the pointer passes through),
// the screen cursor's shapes while set and after, the control a drag is
// over (disabled ones when asked), and a drag loop that draws its rectangle
// and ends by release, by Escape and by its window's destruction.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// True where the overlay's pixel (a grab holds 3 bytes a pixel) is not black.
bool MarkedAt(TBitmap* Shot, int X, int Y) {
  const auto* px = static_cast<const std::uint8_t*>(Shot->ScanLine(Y)) + 3 * X;
  return (px[0] | px[1] | px[2]) != 0;
}

// The bounding box of the overlay's marked pixels in screen coordinates; empty when none.
TRect MarkedBox() {
  auto shot = testinput::GrabDragOverlay();
  const TPoint o = testinput::DragOverlayOrigin();
  TRect box{0, 0, 0, 0};
  bool any = false;
  for (int y = 0; y < shot->Height(); ++y)
    for (int x = 0; x < shot->Width(); ++x) {
      if (!MarkedAt(shot.get(), x, y)) continue;
      const TPoint p{x + o.X, y + o.Y};
      box = any ? TRect{std::min(box.Left, p.X), std::min(box.Top, p.Y), std::max(box.Right, p.X + 1),
                        std::max(box.Bottom, p.Y + 1)}
                : TRect{p.X, p.Y, p.X + 1, p.Y + 1};
      any = true;
    }
  return box;
}

bool Marked(TPoint Screen) {
  auto shot = testinput::GrabDragOverlay();
  const TPoint o = testinput::DragOverlayOrigin();
  return MarkedAt(shot.get(), Screen.X - o.X, Screen.Y - o.Y);
}

// The classic drag frame: four inverted strips of a grey pattern, 3 pixels thick.
void PatFrame(HDC DC, const TRect& R) {
  HBRUSH brush = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
  HGDIOBJ old = SelectObject(DC, brush);
  const int t = 3;
  PatBlt(DC, R.Left, R.Top, R.Width() - t, t, PATINVERT);
  PatBlt(DC, R.Right - t, R.Top, t, R.Height() - t, PATINVERT);
  PatBlt(DC, R.Left + t, R.Bottom - t, R.Width() - t, t, PATINVERT);
  PatBlt(DC, R.Left, R.Top + t, t, R.Height() - t, PATINVERT);
  SelectObject(DC, old);
  DeleteObject(brush);
}

void PenFrame(HDC DC, const TRect& R, int Rop) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(DC, pen);
  HGDIOBJ oldBrush = SelectObject(DC, GetStockObject(NULL_BRUSH));
  const int oldRop = SetROP2(DC, Rop);
  Rectangle(DC, R.Left, R.Top, R.Right, R.Bottom);
  SetROP2(DC, oldRop);
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(pen);
}

// Draws on a screen DC of its own, as the drag code does for each step.
void OnScreen(const std::function<void(HDC)>& Draw) {
  HDC dc = GetDC(nullptr);
  ASSERT_NE(dc, nullptr);
  Draw(dc);
  EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
}

struct TFrameKind {
  const char* Name;
  std::function<void(HDC, const TRect&)> Draw;
};

const TFrameKind FrameKinds[] = {
    {"DrawFocusRect", [](HDC dc, const TRect& r) { DrawFocusRect(dc, &r); }},
    {"PatBlt PATINVERT", PatFrame},
    {"PatBlt DSTINVERT", [](HDC dc, const TRect& r) { PatBlt(dc, r.Left, r.Top, r.Width(), r.Height(), DSTINVERT); }},
    {"R2_NOT pen", [](HDC dc, const TRect& r) { PenFrame(dc, r, R2_NOT); }},
    {"R2_XORPEN pen", [](HDC dc, const TRect& r) { PenFrame(dc, r, R2_XORPEN); }},
};

using DragFeedback = VclTest;

TEST_F(DragFeedback, ScreenDrawingShowsOnTheOverlayAndInvertingPairsLeaveNothing) {
  TForm* f = NewForm();
  f->Show();
  const TRect r{120, 130, 220, 180};
  ASSERT_FALSE(testinput::DragOverlayShowing());
  for (const TFrameKind& k : FrameKinds) {
    SCOPED_TRACE(k.Name);
    OnScreen([&](HDC dc) {
      EXPECT_EQ(WindowFromDC(dc), nullptr);  // the desktop's, no window's
      k.Draw(dc, r);
    });
    EXPECT_TRUE(testinput::DragOverlayShowing());
    EXPECT_EQ(MarkedBox(), r);
    EXPECT_TRUE(Marked({r.Left, r.Top}));
    // The same drawing again erases it.
    OnScreen([&](HDC dc) { k.Draw(dc, r); });
    EXPECT_EQ(MarkedBox(), (TRect{0, 0, 0, 0}));
    EXPECT_FALSE(testinput::DragOverlayShowing());
  }
  // A frame that follows the pointer: erase the old, draw the new; the last one alone stays, then goes.
  const TRect steps[] = {{100, 100, 160, 140}, {110, 104, 170, 144}, {131, 120, 191, 160}};
  for (std::size_t i = 0; i < std::size(steps); ++i)
    OnScreen([&](HDC dc) {
      if (i > 0) DrawFocusRect(dc, &steps[i - 1]);
      DrawFocusRect(dc, &steps[i]);
    });
  EXPECT_EQ(MarkedBox(), steps[2]);
  OnScreen([&](HDC dc) { DrawFocusRect(dc, &steps[2]); });
  EXPECT_FALSE(testinput::DragOverlayShowing());

  // A DC held over the whole drag shows its drawing while it is held.
  HDC held = GetDC(nullptr);
  DrawFocusRect(held, &r);
  EXPECT_TRUE(PumpUntil([] { return testinput::DragOverlayShowing(); }));
  DrawFocusRect(held, &r);
  EXPECT_TRUE(PumpUntil([] { return !testinput::DragOverlayShowing(); }));
  ReleaseDC(nullptr, held);
}

TEST_F(DragFeedback, TheOverlayLetsThePointerThroughAndMeasuresAsAScreenDC) {
  TForm* f = NewForm();
  f->Show();
  int presses = 0;
  f->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++presses; };
  const TRect r{150, 150, 250, 200};
  OnScreen([&](HDC dc) { PatFrame(dc, r); });
  ASSERT_TRUE(Marked({151, 151}));
  EXPECT_EQ(WindowFromPoint({151, 151}), f->Handle());
  testinput::MouseMove({151, 151});
  testinput::MouseDown();
  testinput::MouseUp();
  EXPECT_EQ(presses, 1);
  OnScreen([&](HDC dc) {
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32W(dc, u"0", 1, &size));
    EXPECT_GT(size.cy, 0);
    PatFrame(dc, r);
  });
  EXPECT_FALSE(testinput::DragOverlayShowing());
}

TEST_F(DragFeedback, ScreenCursorShowsWhileSetAndTheControlsOwnAfterwards) {
  TForm* f = NewForm();
  auto* panel = new TPanel(f);
  panel->SetParent(f);
  panel->SetBounds(10, 10, 100, 60);
  panel->SetCursor(crHandPoint);
  f->Show();
  testinput::MouseMove(panel, {5, 5});
  ASSERT_EQ(testinput::CursorShown(), crHandPoint);
  for (const TCursor shape : {crSizeAll, crSizeNS, crSizeWE, crSizeNWSE, crSizeNESW, crDrag, crNoDrop}) {
    SCOPED_TRACE(shape);
    const TCursor saved = Screen->Cursor();
    Screen->SetCursor(shape);
    EXPECT_EQ(testinput::CursorShown(), shape);
    testinput::MouseMove(f, {200, 150});  // anywhere: the screen's shape stays
    EXPECT_EQ(testinput::CursorShown(), shape);
    testinput::MouseMove(panel, {6, 6});
    Screen->SetCursor(saved);
    EXPECT_EQ(testinput::CursorShown(), crHandPoint);  // at once, without another move
  }
  // Restored while the pointer is elsewhere, the form's own (default) shape shows.
  Screen->SetCursor(crSizeAll);
  testinput::MouseMove(f, {200, 150});
  Screen->SetCursor(crDefault);
  EXPECT_EQ(testinput::CursorShown(), crDefault);

  // A control that changes its cursor under the pointer shows the new one at once.
  f->SetCursor(crSizeNS);
  EXPECT_EQ(testinput::CursorShown(), crSizeNS);
  testinput::MouseMove(panel, {5, 5});
  panel->SetCursor(crSizeWE);
  EXPECT_EQ(testinput::CursorShown(), crSizeWE);
  f->SetCursor(crDefault);  // not under the pointer: the panel's shape stays
  EXPECT_EQ(testinput::CursorShown(), crSizeWE);
}

TEST_F(DragFeedback, DragTargetIsTheInnermostControlAndDisabledOnesOnlyWhenAsked) {
  TForm* f = NewForm();
  auto* outer = new TPanel(f);
  outer->SetParent(f);
  outer->SetBounds(10, 10, 200, 150);
  auto* inner = new TPanel(f);
  inner->SetParent(outer);
  inner->SetBounds(20, 20, 120, 90);
  auto* label = new TLabel(f);  // windowless
  label->SetParent(inner);
  label->SetBounds(10, 10, 40, 20);
  auto* fixed = new TLabel(f);
  fixed->SetParent(outer);
  fixed->SetBounds(150, 120, 40, 20);
  f->Show();
  const TPoint onLabel = label->ClientToScreen({5, 5});
  const TPoint onInner = inner->ClientToScreen({100, 70});
  const TPoint onFixed = fixed->ClientToScreen({5, 5});
  struct TCase {
    const char* Name;
    TControl* Disabled;
    TPoint At;
    TControl* Strict;   // AllowDisabled false
    TControl* Lenient;  // AllowDisabled true
  };
  const TCase cases[] = {
      {"all enabled, windowless", nullptr, onLabel, label, label},
      {"all enabled, windowed", nullptr, onInner, inner, inner},
      {"disabled windowless", label, onLabel, inner, label},
      {"disabled windowed", inner, onInner, outer, inner},
      {"inside a disabled window", inner, onLabel, outer, label},
      {"disabled windowless in the outer panel", fixed, onFixed, outer, fixed},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Disabled != nullptr) c.Disabled->SetEnabled(false);
    EXPECT_EQ(FindDragTarget(c.At, false), c.Strict);
    EXPECT_EQ(FindDragTarget(c.At, true), c.Lenient);
    if (c.Disabled != nullptr) c.Disabled->SetEnabled(true);
  }
  EXPECT_EQ(FindDragTarget({5000, 5000}, true), nullptr);
}

void InvertFrame(const TRect& R) {
  HDC dc = GetDC(nullptr);
  DrawFocusRect(dc, &R);
  ReleaseDC(nullptr, dc);
}

// Drags a frame over the screen in an own loop, as a toolbar drags its
// outline: the frame follows the pointer from Grab (a point inside it) and
// is erased however the loop ends; the cursor shows crSizeAll meanwhile.
// Filter limits the loop to one window's messages (nullptr: all).
void DragFrame(HWND Window, HWND Filter, TPoint Grab, TRect Frame, Log& Events) {
  InvertFrame(Frame);
  const TCursor saved = Screen->Cursor();
  Screen->SetCursor(crSizeAll);
  SetCapture(Window);
  MSG m;
  while (GetCapture() == Window) {
    const BOOL r = GetMessage(&m, Filter, 0, 0);
    if (r == -1) {
      Events.push_back("failed");
      break;
    }
    if (r == 0) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE) {
      InvertFrame(Frame);
      Frame = Bounds(m.pt.X - Grab.X, m.pt.Y - Grab.Y, Frame.Width(), Frame.Height());
      InvertFrame(Frame);
      Events.push_back("frame at " + std::to_string(Frame.Left) + "," + std::to_string(Frame.Top));
    } else if (m.message == WM_LBUTTONUP) {
      Events.push_back("release");
      ReleaseCapture();
    } else if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
      Events.push_back("escape");
      ReleaseCapture();
    } else {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
  InvertFrame(Frame);  // the last frame goes, whatever ended the loop
  Screen->SetCursor(saved);
  Events.push_back(testinput::DragOverlayShowing() ? "frame left behind" : "end");
}

// A grip whose press starts the frame drag.
class TFrameGrip : public TCustomControl {
 public:
  TFrameGrip(TComponent* AOwner, Log& Events) : TCustomControl(AOwner), FEvents(Events) {}

 protected:
  void MouseDown(TMouseButton, TShiftState, Integer X, Integer Y) override {
    const TPoint origin = ClientToScreen({0, 0});
    DragFrame(Handle(), nullptr, {X, Y}, Bounds(origin.X, origin.Y, Width(), Height()), FEvents);
  }

 private:
  Log& FEvents;
};

TEST_F(DragFeedback, DragLoopDrawsItsFrameAndErasesItOnReleaseEscapeOrDestruction) {
  TForm* f = NewForm();
  Log events;
  auto* grip = new TFrameGrip(f, events);
  grip->SetParent(f);
  grip->SetBounds(10, 10, 60, 20);
  f->Show();
  const TPoint at = grip->ClientToScreen({5, 5});
  const TRect start = Bounds(at.X - 5, at.Y - 5, 60, 20);

  // Released: the frame followed the pointer and is gone, the cursor restored.
  testinput::MouseMove(at);
  TRect seen{0, 0, 0, 0};
  TCursor during = crDefault;
  testinput::Queue([&] {
    testinput::MouseMove({at.X + 30, at.Y + 7});
    testinput::Queue([&] {  // once the loop has taken the move
      seen = MarkedBox();
      during = testinput::CursorShown();
      testinput::MouseUp();
    });
  });
  testinput::MouseDown();
  const TRect moved{start.Left + 30, start.Top + 7, start.Right + 30, start.Bottom + 7};
  EXPECT_EQ(seen, moved);
  EXPECT_EQ(during, crSizeAll);
  EXPECT_EQ(events, (Log{"frame at " + std::to_string(moved.Left) + "," + std::to_string(moved.Top), "release", "end"}));
  EXPECT_EQ(Screen->Cursor(), crDefault);

  // Escape.
  events.clear();
  testinput::MouseMove(at);
  testinput::Queue([&] {
    seen = MarkedBox();
    testinput::KeyPress(VK_ESCAPE);
  });
  testinput::MouseDown();
  testinput::MouseUp();
  EXPECT_EQ(seen, start);
  EXPECT_EQ(events, (Log{"escape", "end"}));

  // The window goes away while the loop waits for its messages.
  events.clear();
  const HWND h = grip->Handle();
  testinput::Queue([&] {
    seen = MarkedBox();
    delete grip;
  });
  DragFrame(h, h, {5, 5}, start, events);
  EXPECT_EQ(seen, start);
  EXPECT_EQ(events, (Log{"failed", "end"}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

}  // namespace
