// Painting: parents before children, windowless children after their
// parent's Paint, a transparent child drawing its parent's pixels under it,
// double buffering, and drawing outside WM_PAINT.
#include "tests/platform/vcl/VclFixture.h"

namespace {

// Paints two halves (red, blue) and logs the paint messages it gets with a foreign DC.
class TBackdrop : public TCustomControl {
 public:
  TBackdrop(TComponent* owner, Log* log) : TCustomControl(owner), L(log) {}

 protected:
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_ERASEBKGND) L->push_back("backdrop.erase");
    if (M.Msg == WM_PAINT && M.WParam != 0) L->push_back("backdrop.WM_PAINT(dc)");
    TCustomControl::Dispatch(M);
  }
  void Paint() override {
    L->push_back("backdrop.Paint");
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(Rect(0, 0, Width() / 2, Height()));
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(Rect(Width() / 2, 0, Width(), Height()));
  }

 private:
  Log* L;
};

class TSquare : public TGraphicControl {
 public:
  TSquare(TComponent* owner, Log* log) : TGraphicControl(owner), L(log) {}

 protected:
  void Paint() override {
    L->push_back("square.Paint");
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(ClientRect());
  }

 private:
  Log* L;
};

// Looks transparent: its parent's pixels first, then a black frame.
class TSeeThrough : public TCustomControl {
 public:
  TSeeThrough(TComponent* owner, Log* log) : TCustomControl(owner), L(log) {}

 protected:
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_ERASEBKGND) {
      L->push_back("glass.WM_ERASEBKGND");
      M.Result = 1;  // the parent's pixels are the background
      return;
    }
    TCustomControl::Dispatch(M);
  }
  void Paint() override {
    L->push_back("glass.Paint");
    PaintParentBackground(Canvas()->Handle());
    Canvas()->Brush()->SetColor(clBlack);
    Canvas()->FrameRect(ClientRect());
  }

 private:
  Log* L;
};

class PaintTest : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    Form = NewForm(300, 200);
    Back = new TBackdrop(Form, &L);
    Back->SetParent(Form);
    Back->SetBounds(0, 0, 200, 100);
    Square = new TSquare(Form, &L);
    Square->SetParent(Back);
    Square->SetBounds(80, 20, 40, 40);
  }
  TForm* Form = nullptr;
  TBackdrop* Back = nullptr;
  TSquare* Square = nullptr;
  Log L;
};

TEST_F(PaintTest, WindowlessChildPaintsAfterItsParentOnTop) {
  Form->Show();
  Settle();
  EXPECT_EQ(L, (Log{"backdrop.erase", "backdrop.Paint", "square.Paint"}));
  auto bmp = testinput::Grab(Back);
  ASSERT_EQ(bmp->Width(), 200);
  EXPECT_EQ(PixelOf(bmp.get(), 10, 10), clRed);
  EXPECT_EQ(PixelOf(bmp.get(), 190, 90), clBlue);
  EXPECT_EQ(PixelOf(bmp.get(), 85, 25), clLime);
  EXPECT_EQ(PixelOf(bmp.get(), 119, 59), clLime);
  EXPECT_EQ(PixelOf(bmp.get(), 120, 59), clBlue);
  // A windowless control marks only its own rectangle in the parent; the parent repaints it.
  L.clear();
  Square->Invalidate();
  Settle();
  EXPECT_EQ(L, (Log{"backdrop.erase", "backdrop.Paint", "square.Paint"}));
  // The grab of a windowless control is its part of the parent.
  auto part = testinput::Grab(Square);
  EXPECT_EQ(part->Width(), 40);
  EXPECT_EQ(PixelOf(part.get(), 0, 0), clLime);
}

TEST_F(PaintTest, TransparentChildGetsTheParentsPixelsAtItsOffset) {
  auto* glass = new TSeeThrough(Form, &L);
  glass->SetParent(Back);
  glass->SetBounds(60, 30, 60, 40);  // over the red/blue border and half the green square
  Form->Show();
  Settle();
  // The child asks its parent to erase, then paint, into the child's context.
  const Log expected{"backdrop.erase", "backdrop.Paint", "square.Paint", "glass.WM_ERASEBKGND", "glass.Paint",
                     "backdrop.erase",  "backdrop.WM_PAINT(dc)", "backdrop.Paint", "square.Paint"};
  EXPECT_EQ(L, expected);
  auto bmp = testinput::Grab(glass);
  ASSERT_EQ(bmp->Width(), 60);
  EXPECT_EQ(PixelOf(bmp.get(), 0, 0), clBlack);     // its own frame
  EXPECT_EQ(PixelOf(bmp.get(), 5, 5), clRed);       // parent x 65
  EXPECT_EQ(PixelOf(bmp.get(), 19, 5), clRed);      // parent (79, 35): just left of the square
  EXPECT_EQ(PixelOf(bmp.get(), 25, 5), clLime);     // parent (85, 35): the square
  EXPECT_EQ(PixelOf(bmp.get(), 58, 38), clBlue);    // parent (118, 68): below the square
  // The parent's own pixels are untouched by the child's drawing.
  auto back = testinput::Grab(Back);
  EXPECT_EQ(PixelOf(back.get(), 60, 30), clBlack);  // the child's window shows there
  EXPECT_EQ(PixelOf(back.get(), 59, 29), clRed);
}

TEST_F(PaintTest, DoubleBufferedPaintsTheSamePixelsThroughAMemoryContext) {
  Form->Show();
  Settle();
  auto plain = testinput::Grab(Back);
  Back->SetDoubleBuffered(true);
  L.clear();
  Back->Repaint();
  // The window's own erase, then the erase and paint into the memory context.
  EXPECT_EQ(L, (Log{"backdrop.erase", "backdrop.erase", "backdrop.Paint", "square.Paint"}));
  auto buffered = testinput::Grab(Back);
  for (int y = 0; y < 100; y += 7)
    for (int x = 0; x < 200; x += 7) ASSERT_EQ(PixelOf(buffered.get(), x, y), PixelOf(plain.get(), x, y)) << x << "," << y;
}

TEST_F(PaintTest, CanvasAndWindowDCWorkOutsidePaint) {
  Form->Show();
  Settle();
  // Drawing during a mouse move shows without a paint.
  Back->OnMouseMove = [&](TObject*, TShiftState, Integer x, Integer y) {
    Back->Canvas()->Pixels(x, y);
    Back->Canvas()->Brush()->SetColor(clYellow);
    Back->Canvas()->FillRect(Rect(x, y, x + 3, y + 3));
  };
  L.clear();
  testinput::MouseMove(Back, {10, 70});
  auto bmp = testinput::Grab(Back);
  EXPECT_EQ(PixelOf(bmp.get(), 11, 71), clYellow);
  EXPECT_TRUE(L.empty());  // no repaint happened
  // GetDC on the window draws into the same surface; a windowless control's canvas is clipped to it.
  HDC dc = GetDC(Back->Handle());
  ASSERT_NE(dc, nullptr);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  TRect r{150, 10, 160, 20};
  FillRect(dc, &r, white);
  DeleteObject(white);
  EXPECT_EQ(ReleaseDC(Back->Handle(), dc), 1);
  Square->Canvas()->Brush()->SetColor(clBlack);
  Square->Canvas()->FillRect(Rect(-50, -50, 100, 100));
  bmp = testinput::Grab(Back);
  EXPECT_EQ(PixelOf(bmp.get(), 155, 15), clWhite);
  EXPECT_EQ(PixelOf(bmp.get(), 80, 20), clBlack);
  EXPECT_EQ(PixelOf(bmp.get(), 79, 20), clRed);   // clipped to the square
  EXPECT_EQ(PixelOf(bmp.get(), 120, 60), clBlue);
  // A DC that is not the window's is refused.
  EXPECT_EQ(ReleaseDC(Back->Handle(), nullptr), 0);
}

TEST_F(PaintTest, TwoDCsOfOneWindowDrawInTurns) {
  Form->Show();
  Settle();
  // A window DC taken while another one of the same window draws (a menu's
  // item handler painting beside its item) draws too, and so does the first one after it.
  HDC first = GetWindowDC(Back->Handle());
  HDC second = GetWindowDC(Back->Handle());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
  const TRect a{150, 10, 160, 20}, b{150, 30, 160, 40}, c{150, 50, 160, 60};
  FillRect(first, &a, white);
  FillRect(second, &b, black);
  FillRect(first, &c, black);
  ReleaseDC(Back->Handle(), second);
  ReleaseDC(Back->Handle(), first);
  DeleteObject(white);
  DeleteObject(black);
  auto bmp = testinput::Grab(Back);
  EXPECT_EQ(PixelOf(bmp.get(), 155, 15), clWhite);
  EXPECT_EQ(PixelOf(bmp.get(), 155, 35), clBlack);
  EXPECT_EQ(PixelOf(bmp.get(), 155, 55), clBlack);
}

}  // namespace
