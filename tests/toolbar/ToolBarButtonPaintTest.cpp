// What the toolbar button and the menu button paint: sampled pixels of the
// face per state and style at 96 and 144 PPI (drop-down section and arrow
// scale with the toolbar family's DPI scale), image and caption placement,
// and that clNone and a picture that cannot be drawn never break a paint.
#include "tests/toolbar/ToolBarButtonFixture.h"

#include "platform/rtl/Exceptions.h"

namespace buttontest {

namespace {

constexpr TColor kSheet = 0x00FF00;
constexpr TColor kNormal = 0x112233, kHot = 0x445566, kDown = 0x778899, kChecked = 0xAABBCC, kBorder = 0x202020,
                 kDownBorder = 0x303030, kCheckedBorder = 0x404040, kHotBorder = 0x505050;

// A button with solid, distinct colours and no styler.
std::unique_ptr<TZadEdevAziButton> ColouredButton(int w, int h) {
  auto b = std::make_unique<TZadEdevAziButton>(nullptr);
  b->SetAutoSize(false);
  b->SetBounds(0, 0, w, h);
  b->SetParentStyler(false);
  b->SetTransparent(false);
  toolbar::TButtonAppearance* a = b->Appearance();
  a->SetColor(kNormal);
  a->SetColorTo(clNone);
  a->SetColorHot(kHot);
  a->SetColorHotTo(clNone);
  a->SetColorDown(kDown);
  a->SetColorDownTo(clNone);
  a->SetColorChecked(kChecked);
  a->SetColorCheckedTo(clNone);
  a->SetBorderColor(kBorder);
  a->SetBorderDownColor(kDownBorder);
  a->SetBorderCheckedColor(kCheckedBorder);
  a->SetBorderHotColor(kHotBorder);
  return b;
}

std::unique_ptr<TBitmap> Paint(TAdvCustomToolBarButton* b) {
  auto sheet = Filled(b->Width(), b->Height(), kSheet);
  b->DrawButton(sheet->Canvas());
  return sheet;
}

TColor At(TBitmap* s, int x, int y) { return s->Canvas()->Pixels(x, y); }

}  // namespace

TEST_F(ToolBarButtonTest, FacePerStateAt96And144) {
  for (float scale : {1.0f, 1.5f}) {
    SCOPED_TRACE(scale == 1.0f ? "96 PPI" : "144 PPI");
    toolbar::ToolBarDPIScale = scale;
    const int w = 60, h = 24;
    const int dw = scale == 1.0f ? 12 : 18;  // the drop-down section scales

    // At rest, transparent: no background, no frame.
    {
      auto b = ColouredButton(w, h);
      b->SetTransparent(true);
      auto s = Paint(b.get());
      EXPECT_EQ(At(s.get(), 0, 0), kSheet);
      EXPECT_EQ(At(s.get(), w / 2, h / 2), kSheet);
    }
    // At rest, opaque: the own colour and border.
    {
      auto b = ColouredButton(w, h);
      auto s = Paint(b.get());
      EXPECT_EQ(At(s.get(), 0, 0), kBorder);
      EXPECT_EQ(At(s.get(), w / 2, h / 2), kNormal);
    }
    // Pressed.
    {
      auto b = ColouredButton(w, h);
      b->SetState(absDown);
      auto s = Paint(b.get());
      EXPECT_EQ(At(s.get(), 0, 0), kDownBorder);
      EXPECT_EQ(At(s.get(), w / 2, h / 2), kDown);
    }
    // Latched in a group; a down check button looks the same.
    for (bool check : {false, true}) {
      auto b = ColouredButton(w, h);
      if (check) {
        b->SetStyle(toolbar::tasCheck);
      } else {
        b->SetGroupIndex(1);
      }
      b->SetDown(true);
      auto s = Paint(b.get());
      EXPECT_EQ(At(s.get(), 0, 0), kCheckedBorder) << check;
      EXPECT_EQ(At(s.get(), w / 2, h / 2), kChecked) << check;
    }
    // Disabled: the own normal colours, never the pressed ones.
    {
      auto b = ColouredButton(w, h);
      b->SetState(absDown);
      b->SetEnabled(false);
      auto s = Paint(b.get());
      EXPECT_EQ(At(s.get(), w / 2, h / 2), kNormal);
    }
    // A pressed split drop-down button: down colours in the main part, hot
    // colours in the drop part, a frame round each part.
    {
      auto b = ColouredButton(w, h);
      b->SetDropDownButton(true);
      b->SetState(absDown);
      auto s = Paint(b.get());
      EXPECT_EQ(At(s.get(), 3, h / 2), kDown);
      EXPECT_EQ(At(s.get(), w - dw + 2, 2), kHot);
      EXPECT_EQ(At(s.get(), w - dw - 2, 2), kDown);
      EXPECT_EQ(At(s.get(), w - dw - 1, 2), kDownBorder);  // the main part's right edge
      EXPECT_EQ(At(s.get(), w - 1, 2), kDownBorder);
    }
    // Not split: one frame round both parts, no dividing line.
    {
      auto b = ColouredButton(w, h);
      b->SetDropDownButton(true);
      b->SetDropDownSplit(false);
      b->SetState(absDown);
      auto s = Paint(b.get());
      EXPECT_EQ(At(s.get(), w - dw - 1, 2), kDown);
      EXPECT_EQ(At(s.get(), w - 1, 2), kDownBorder);
    }
  }
}

TEST_F(ToolBarButtonTest, DropDownArrowApexAndDirection) {
  struct Case {
    float Scale;
    toolbar::TDockAlign Dock;
  };
  for (Case c : {Case{1.0f, toolbar::daTop}, Case{1.5f, toolbar::daTop}, Case{1.0f, toolbar::daLeft},
                 Case{2.0f, toolbar::daRight}}) {
    SCOPED_TRACE(testing::Message() << c.Scale << " " << int(c.Dock));
    toolbar::ToolBarDPIScale = c.Scale;
    auto b = ColouredButton(40, 40);
    b->SetTransparent(true);
    b->SetDropDownButton(true);
    b->SetPosition(c.Dock);
    auto s = Paint(b.get());
    const bool vertical = c.Dock == toolbar::daLeft || c.Dock == toolbar::daRight;
    const int dw = int(12 * c.Scale + 0.5f);
    const TRect D = vertical ? TRect{0, 40 - dw, 40, 40} : TRect{40 - dw, 0, 40, 40};
    const int cx = D.Left + D.Width() / 2, cy = D.Top + D.Height() / 2;
    const int rs = int(c.Scale + 0.5f);
    const int apexY = rs % 2 != 0 ? cy + int(2 * c.Scale + 0.5f) : cy + rs + 1;
    // The apex lies straight below the centre: the arrow points down on
    // every side, where the menu opens.
    EXPECT_EQ(At(s.get(), cx, apexY), TColor(clBlack));
    EXPECT_NE(At(s.get(), cx, apexY + 1), TColor(clBlack));
    EXPECT_EQ(At(s.get(), cx, apexY - 3 * rs - 2), kSheet);
  }
}

TEST_F(ToolBarButtonTest, MenuButtonArrowPointsDownOnEverySide) {
  for (toolbar::TDockAlign dock : {toolbar::daTop, toolbar::daLeft, toolbar::daRight}) {
    SCOPED_TRACE(int(dock));
    TZadEdevAziMenuButton b(nullptr);
    b.SetAutoSize(false);
    b.SetBounds(0, 0, 30, 30);
    b.SetDropDownButton(true);
    b.SetPosition(dock);
    auto s = Paint(&b);
    const bool sideways = dock != toolbar::daTop;
    const TRect D = sideways ? TRect{0, 18, 30, 30} : TRect{18, 0, 30, 30};
    const int a = D.Left + (D.Width() - 5) / 2, y = D.Top + (D.Height() - 3) / 2 + 1;
    for (int x = a; x < a + 5; ++x) EXPECT_EQ(At(s.get(), x, y), TColor(clBlack)) << x;
    EXPECT_EQ(At(s.get(), a + 1, y + 1), TColor(clBlack));
    EXPECT_EQ(At(s.get(), a + 3, y + 1), TColor(clBlack));
    EXPECT_EQ(At(s.get(), a + 2, y + 2), TColor(clBlack));
    EXPECT_EQ(At(s.get(), a, y + 1), kSheet);
    EXPECT_EQ(At(s.get(), a - 2, y + 2), kSheet);
  }
}

TEST_F(ToolBarButtonTest, ClNoneColoursLeaveTheirPartUnpainted) {
  auto b = ColouredButton(60, 24);
  b->SetDropDownButton(true);
  b->SetState(absDown);
  b->Appearance()->SetColorHot(clNone);  // the drop part of a pressed button
  b->Appearance()->SetBorderDownColor(clNone);
  b->Appearance()->SetCaptionTextColorDown(clNone);
  b->SetCaption(u"Write");
  b->SetShowCaption(true);
  auto s = Paint(b.get());
  EXPECT_EQ(At(s.get(), 55, 12), kSheet);  // drop part: nothing
  EXPECT_EQ(At(s.get(), 0, 0), kDown);     // no frame over the fill
  for (int x = 0; x < 48; ++x)
    for (int y = 0; y < 24; ++y) ASSERT_EQ(At(s.get(), x, y), kDown) << x << "," << y;  // no caption
}

namespace {
// A bitmap whose drawing fails the way a picture without memory does.
class TUnallocatableBitmap : public TBitmap {
 public:
  TUnallocatableBitmap() : TBitmap(8, 8) {}
  void Draw(TCanvas*, const TRect&) override { throw Exception(u"Could not allocate memory for image"); }
};
}  // namespace

TEST_F(ToolBarButtonTest, AnImageThatCannotBeDrawnLeavesTheCaption) {
  auto b = ColouredButton(80, 24);
  b->SetCaption(u"Read");
  b->SetShowCaption(true);
  b->Appearance()->SetCaptionTextColor(0x0000FF);
  TUnallocatableBitmap bad;
  auto sheet = Filled(80, 24, kSheet);
  EXPECT_NO_THROW(b->DrawGlyphAndText(sheet->Canvas(), TRect{0, 0, 80, 24}, &bad, 0x0000FF));
  int red = 0;
  for (int x = 0; x < 80; ++x)
    for (int y = 0; y < 24; ++y)
      if (Near(At(sheet.get(), x, y), 0x0000FF, 60)) ++red;
  EXPECT_GT(red, 5);  // the caption still shows
}

TEST_F(ToolBarButtonTest, ImageWithoutCaptionIsCentred) {
  for (toolbar::TGlyphPosition pos : {toolbar::gpLeft, toolbar::gpTop, toolbar::gpRight, toolbar::gpBottom}) {
    for (toolbar::TDockAlign dock : {toolbar::daTop, toolbar::daLeft}) {
      SCOPED_TRACE(testing::Message() << int(pos) << " " << int(dock));
      auto b = ColouredButton(40, 30);
      b->SetTransparent(true);
      b->SetGlyphPosition(pos);
      b->SetPosition(dock);
      auto g = Filled(10, 10, 0x0000FF);
      g->Canvas()->SetPixels(0, 9, 0xFF00FF);  // the transparent key (bottom-left)
      g->Canvas()->Brush()->SetColor(0xFF00FF);
      g->Canvas()->FillRect(TRect{0, 9, 10, 10});
      b->SetGlyph(g.get());
      auto s = Paint(b.get());
      int left = 99, top = 99, right = -1, bottom = -1;
      for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
          if (At(s.get(), x, y) == TColor(0x0000FF)) {
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
          }
      ASSERT_GE(right, 0);
      EXPECT_EQ(right - left + 1, 10);
      EXPECT_EQ(bottom - top + 1, 9);  // the key row is left out
      EXPECT_LE(std::abs(left - (40 - 10) / 2), 1);
      EXPECT_LE(std::abs(top - (30 - 10) / 2), 1);
    }
  }
}

TEST_F(ToolBarButtonTest, DisabledCaptionIsEmbossed) {
  auto b = ColouredButton(80, 24);
  b->SetTransparent(true);
  b->SetCaption(u"I");
  b->SetShowCaption(true);
  b->SetEnabled(false);
  b->SetState(absDisabled);
  auto s = Paint(b.get());
  // The highlight copy sits one pixel right of and below the shadow copy.
  int shadowX = -1, shadowY = -1;
  for (int y = 0; y < 24 && shadowX < 0; ++y)
    for (int x = 0; x < 80; ++x)
      if (At(s.get(), x, y) == ColorToRGB(clBtnShadow)) {
        shadowX = x;
        shadowY = y;
        break;
      }
  ASSERT_GE(shadowX, 0);
  bool highlight = false;
  for (int y = shadowY; y < 24; ++y)
    for (int x = shadowX; x < 80; ++x)
      if (At(s.get(), x, y) == ColorToRGB(clBtnHighlight)) highlight = true;
  EXPECT_TRUE(highlight);
}

}  // namespace buttontest

namespace buttontest {

namespace {
struct TBox {
  int Left = 9999, Top = 9999, Right = -1, Bottom = -1;
  bool Empty() const { return Right < 0; }
};
template <class Match>
TBox BoxOf(TBitmap* s, Match m) {
  TBox b;
  for (int x = 0; x < s->Width(); ++x)
    for (int y = 0; y < s->Height(); ++y)
      if (m(At(s, x, y))) {
        b.Left = std::min(b.Left, x);
        b.Top = std::min(b.Top, y);
        b.Right = std::max(b.Right, x);
        b.Bottom = std::max(b.Bottom, y);
      }
  return b;
}
}  // namespace

// The caption sits beside, above or below the image as GlyphPosition says,
// with the spacing between them.
TEST_F(ToolBarButtonTest, CaptionAndImageFollowTheGlyphPosition) {
  for (toolbar::TGlyphPosition pos : {toolbar::gpLeft, toolbar::gpTop, toolbar::gpRight, toolbar::gpBottom}) {
    SCOPED_TRACE(int(pos));
    auto b = ColouredButton(90, 50);
    b->SetTransparent(true);
    b->SetGlyphPosition(pos);
    b->SetCaption(u"Wx");
    b->SetShowCaption(true);
    b->Appearance()->SetCaptionTextColor(0x000000);
    auto g = Filled(12, 12, 0x0000FF);
    g->Canvas()->Brush()->SetColor(0xFF00FF);
    g->Canvas()->FillRect(TRect{0, 11, 12, 12});
    b->SetGlyph(g.get());
    auto s = Paint(b.get());
    const TBox image = BoxOf(s.get(), [](TColor c) { return c == TColor(0x0000FF); });
    const TBox text = BoxOf(s.get(), [](TColor c) { return Near(c, 0x000000, 80); });
    ASSERT_FALSE(image.Empty());
    ASSERT_FALSE(text.Empty());
    switch (pos) {
      case toolbar::gpLeft: EXPECT_LT(image.Right, text.Left); break;
      case toolbar::gpRight: EXPECT_GT(image.Left, text.Right); break;
      case toolbar::gpTop: EXPECT_LT(image.Bottom, text.Top); break;
      case toolbar::gpBottom: EXPECT_GT(image.Top, text.Bottom); break;
    }
    // Centred across the direction they are stacked in (within a few pixels).
    if (pos == toolbar::gpLeft || pos == toolbar::gpRight) {
      EXPECT_LE(std::abs((image.Left + text.Right) / 2 - 45), 3);
    } else {
      EXPECT_LE(std::abs((image.Left + image.Right) / 2 - 45), 1);
    }
  }
}

TEST_F(ToolBarButtonTest, PictureAndItsDisabledForm) {
  auto b = ColouredButton(30, 30);
  b->SetTransparent(true);
  // Drawn transparent: the bottom-left colour (magenta) is left out.
  auto on = Filled(10, 10, 0xFF00FF);
  on->Canvas()->Brush()->SetColor(0x0000FF);
  on->Canvas()->FillRect(TRect{2, 2, 8, 8});
  auto off = Filled(10, 10, 0xFF00FF);
  off->Canvas()->Brush()->SetColor(0x808080);
  off->Canvas()->FillRect(TRect{2, 2, 8, 8});
  TPicture p, pd;
  p.SetBitmap(on.get());
  pd.SetBitmap(off.get());
  b->SetPicture(&p);
  b->SetPictureDisabled(&pd);
  auto s = Paint(b.get());
  EXPECT_EQ(At(s.get(), 15, 15), TColor(0x0000FF));
  EXPECT_EQ(At(s.get(), 10, 10), kSheet);
  b->SetEnabled(false);
  s = Paint(b.get());
  EXPECT_EQ(At(s.get(), 15, 15), TColor(0x808080));
}

}  // namespace buttontest

namespace buttontest {

TEST_F(ToolBarButtonTest, DrawPositionPlacesImageAndCaption) {
  auto b = ColouredButton(80, 30);
  b->SetTransparent(true);
  b->SetCaption(u"Go");
  b->SetShowCaption(true);
  b->Appearance()->SetCaptionTextColor(0x000000);
  auto g = Filled(8, 8, 0x0000FF);
  g->Canvas()->Brush()->SetColor(0xFF00FF);
  g->Canvas()->FillRect(TRect{0, 7, 8, 8});
  b->SetGlyph(g.get());
  b->DrawPosition()->SetImageX(3);
  b->DrawPosition()->SetImageY(4);
  b->DrawPosition()->SetTextX(50);
  b->DrawPosition()->SetTextY(2);
  b->DrawPosition()->SetEnabled(true);
  auto s = Paint(b.get());
  const TBox image = BoxOf(s.get(), [](TColor c) { return c == TColor(0x0000FF); });
  const TBox text = BoxOf(s.get(), [](TColor c) { return Near(c, 0x000000, 80); });
  EXPECT_EQ(image.Left, 3);
  EXPECT_EQ(image.Top, 4);
  ASSERT_FALSE(text.Empty());
  EXPECT_GE(text.Left, 50);
  EXPECT_LT(text.Top, 2 + 14);  // top-aligned from TextY
}

// A button too narrow for its content (no auto-size) keeps the image inside
// and ends the caption with an ellipsis instead of running off its left edge.
TEST_F(ToolBarButtonTest, NarrowButtonKeepsTheImageInside) {
  auto b = ColouredButton(30, 24);
  b->SetTransparent(true);
  b->SetCaption(u"A long caption");
  b->SetShowCaption(true);
  b->Appearance()->SetCaptionTextColor(0x000000);
  auto g = Filled(12, 12, 0x0000FF);
  g->Canvas()->Brush()->SetColor(0xFF00FF);
  g->Canvas()->FillRect(TRect{0, 11, 12, 12});
  b->SetGlyph(g.get());
  auto s = Paint(b.get());
  const TBox image = BoxOf(s.get(), [](TColor c) { return c == TColor(0x0000FF); });
  EXPECT_EQ(image.Left, 1);
  const TBox text = BoxOf(s.get(), [](TColor c) { return Near(c, 0x000000, 80); });
  if (!text.Empty()) {
    EXPECT_GT(text.Left, image.Right);
  }
}

}  // namespace buttontest
