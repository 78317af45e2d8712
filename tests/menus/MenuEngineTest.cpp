// The owner-draw engine: measure arithmetic, the pixels of check, radio,
// arrow, selection and gradients, and the item queries it relies on.
#include "menus/MenuEngine.h"
#include "menus/MenuPaint.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/ImgList.h"
#include "tests/menus/MenuFixture.h"

namespace {

class MenuEngine : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    canvas = std::make_unique<TBitmap>(220, 40);
    canvas->Canvas()->Brush()->SetColor(clWhite);
    canvas->Canvas()->FillRect(TRect{0, 0, 220, 40});
  }
  TCanvas* C() { return canvas->Canvas(); }
  TColor Px(int x, int y) { return canvas->Canvas()->Pixels(x, y); }
  // The engine's own measurement of a single line on the canvas as it stands.
  TSize Text(const String& s) {
    TRect r{0, 0, 0, 0};
    String t = s;
    HDC dc = C()->Handle();
    HGDIOBJ old = SelectObject(dc, C()->Font()->Handle());
    DrawTextW(dc, t.data(), Integer(t.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    return TSize{r.Width(), r.Height()};
  }
  std::unique_ptr<TBitmap> canvas;
};

TEST_F(MenuEngine, PopupItemsMeasureIconBarTextAndEdge) {
  TRecordingPopupMenu menu(nullptr);
  auto* open = AddItem(&menu, menu.Items(), u"Open");
  auto* withKey = AddItem(&menu, menu.Items(), u"Open");
  withKey->SetShortCut(TShortCut(scCtrl | 'O'));
  auto* notes = AddItem(&menu, menu.Items(), u"Word\\nA much longer note line");
  auto* line = AddItem(&menu, menu.Items(), u"-");
  auto* hidden = AddItem(&menu, menu.Items(), u"Hidden");
  hidden->SetVisible(false);
  const Integer A = MenuEdgeWidth;
  const TSize open_ = Text(u"Open"), key = Text(u"OpenCtrl+O"), whole = Text(u"Word\\nA much longer note line");

  Integer w = 0, h = 0;
  MeasureMenuItem(open, C(), w, h, false);
  EXPECT_EQ(w, 24 + 15 + open_.cx + 7 + A);
  EXPECT_EQ(h, std::max((0 - 3 + 2 + 1) / 2 * 2, open_.cy + 6));

  w = h = 0;
  MeasureMenuItem(withKey, C(), w, h, false);
  EXPECT_EQ(w, 24 + 15 + key.cx + 7 + A);  // caption and shortcut name without separator

  w = h = 0;
  MeasureMenuItem(line, C(), w, h, false);
  EXPECT_EQ(w, -2);
  EXPECT_EQ(h, 3);

  w = h = 10;
  MeasureMenuItem(hidden, C(), w, h, false);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);

  // Notes: the caption line alone plus one notes line; without notes, one line with the backslash and n.
  w = h = 0;
  MeasureMenuItem(notes, C(), w, h, false);
  const Integer wordWidth = 24 + 15 + Text(u"Word").cx + 7 + A;
  EXPECT_GT(w, wordWidth);  // the long note widens the item
  EXPECT_GT(h, Text(u"Word").cy + 6);
  menu.SetShowNotes(false);
  w = h = 0;
  MeasureMenuItem(notes, C(), w, h, false);
  EXPECT_EQ(w, 24 + 15 + whole.cx + 7 + A);
  EXPECT_EQ(h, whole.cy + 6);

  // The side bar widens items that have no column break before them.
  menu.SetShowNotes(true);
  w = h = 0;
  MeasureMenuItem(open, C(), w, h, true);
  EXPECT_EQ(w, 24 + 15 + open_.cx + 7 + A + 24 + 1);
}

TEST_F(MenuEngine, ImagesSetTheHeightEvenAndGrowTheIconBarWithoutARebuild) {
  TRecordingPopupMenu menu(nullptr);
  TCustomImageList odd(nullptr, 16, 29);
  menu.SetImages(&odd);
  auto* item = AddItem(&menu, menu.Items(), u"Open");
  menu.GetCurrentMenuStyler()->SetMenu(&menu);
  Integer w = 0, h = 0;
  MeasureMenuItem(item, C(), w, h, false);
  EXPECT_EQ(h, 32);  // 29 + 2 rounded up to even
  TCustomImageList wide(nullptr, 30, 16);
  menu.SetImages(&wide);
  menu.Log.clear();
  w = h = 0;
  MeasureMenuItem(item, C(), w, h, false);
  EXPECT_EQ(menu.GetCurrentMenuStyler()->IconBar()->Size(), 34);
  EXPECT_TRUE(menu.Log.empty());  // measuring never rebuilds the menu it measures
  menu.SetImages(nullptr);
}

TEST_F(MenuEngine, BarItemsMeasureExactlyTheirText) {
  TAdvMainMenu menu(nullptr);
  auto* file = AddItem(&menu, menu.Items(), u"File");
  Integer w = 55, h = 4;
  MeasureMenuItem(file, C(), w, h, false);
  EXPECT_EQ(w, Text(u"File").cx);
  EXPECT_EQ(h, Text(u"File").cy + 6);
}

TEST_F(MenuEngine, CheckRadioArrowAndSelectionPixels) {
  TAdvPopupMenu menu(nullptr);
  TAdvMenuStyler outside(nullptr);
  auto* check = AddItem(&menu, menu.Items(), u"Check");
  check->SetChecked(true);
  auto* radio = AddItem(&menu, menu.Items(), u"Radio");
  radio->SetRadioItem(true);
  radio->SetChecked(true);
  auto* sub = AddItem(&menu, menu.Items(), u"More");
  AddItem(&menu, sub, u"Inner");
  const TRect r{0, 0, 200, 24};
  TCustomAdvMenuStyler* st = menu.GetCurrentMenuStyler();

  DrawMenuItem(check, C(), r, false, {});
  // The check box in the icon bar: frame, fill, and the check glyph centred in it.
  EXPECT_EQ(Px(0, 1), st->IconBar()->CheckBorder());
  EXPECT_EQ(Px(2, 3), st->IconBar()->CheckColor());
  EXPECT_EQ(Px(9, 14), TColor(0));  // ink of the mark
  EXPECT_EQ(Px(3, 4), st->IconBar()->CheckColor());  // the glyph's white is transparent
  // The icon bar's gradient starts at its colour; the background is its solid colour.
  EXPECT_EQ(Px(0, 0), st->IconBar()->Color());
  EXPECT_EQ(Px(190, 2), st->Background()->Color());

  DrawMenuItem(radio, C(), r, false, {});
  EXPECT_EQ(Px(11, 12), TColor(0));  // the dot
  EXPECT_EQ(Px(4, 5), st->IconBar()->RadioColor());

  // Disabled: the frame without the fill.
  check->SetEnabled(false);
  DrawMenuItem(check, C(), r, false, TOwnerDrawState{odDisabled});
  EXPECT_EQ(Px(0, 1), st->IconBar()->CheckBorder());
  EXPECT_NE(Px(2, 3), st->IconBar()->CheckColor());

  // Selected: the highlight box over the item, and the selected item's check colours.
  check->SetEnabled(true);
  DrawMenuItem(check, C(), r, false, TOwnerDrawState{odSelected});
  EXPECT_EQ(Px(150, 0), st->SelectedItem()->BorderColor());
  EXPECT_EQ(Px(150, 3), st->SelectedItem()->Color());
  EXPECT_EQ(Px(2, 3), st->SelectedItem()->CheckColor());

  // With only the internal styler the arrow is the text ">"; with an outside one, the bitmap.
  auto arrowInk = [&] {
    int ink = 0;
    for (int x = 185; x < 200; ++x)
      for (int y = 0; y < 24; ++y) ink += Px(x, y) == TColor(0);
    return ink;
  };
  DrawMenuItem(sub, C(), r, false, {});
  EXPECT_GT(arrowInk(), 0);
  menu.SetMenuStyler(&outside);
  st = menu.GetCurrentMenuStyler();
  DrawMenuItem(sub, C(), r, false, {});
  for (int y = 8; y < 15; ++y) EXPECT_EQ(Px(191, y), TColor(0)) << y;  // the arrow's full first column
  EXPECT_EQ(arrowInk(), 4 * 7 - 12);                                    // a 4 x 7 triangle
  menu.SetMenuStyler(nullptr);
}

TEST_F(MenuEngine, SeparatorsAndTheLastBarItemsGradient) {
  TAdvPopupMenu menu(nullptr);
  auto* line = AddItem(&menu, menu.Items(), u"-");
  TCustomAdvMenuStyler* st = menu.GetCurrentMenuStyler();
  DrawMenuItem(line, C(), TRect{0, 0, 200, 9}, false, {});
  // Starts after the icon bar plus the margin and stops the margin before the end.
  EXPECT_EQ(Px(26, 4), st->Separator()->Color());
  EXPECT_NE(Px(25, 4), st->Separator()->Color());
  EXPECT_EQ(Px(197, 4), st->Separator()->Color());
  EXPECT_NE(Px(198, 4), st->Separator()->Color());

  TAdvMainMenu main(nullptr);
  auto* first = AddItem(&main, main.Items(), u"File");
  auto* last = AddItem(&main, main.Items(), u"Edit");
  EXPECT_FALSE(IsLastOnBarRow(first));
  EXPECT_TRUE(IsLastOnBarRow(last));
  TRootItem* ri = main.GetCurrentMenuStyler()->RootItem();
  ri->SetColor(0x00000000);
  ri->SetColorTo(0x0000FF00);
  ri->SetGradientDirection(gdHorizontal);
  DrawMenuItem(first, C(), TRect{0, 20, 40, 40}, false, {});
  EXPECT_EQ(Px(1, 21) & 0xFF00FF, 0u);
  EXPECT_EQ(Px(100, 21), clWhite);  // a middle item paints only itself
}

TEST_F(MenuEngine, ItemQueriesTable) {
  TAdvMainMenu main(nullptr);
  auto* file = AddItem(&main, main.Items(), u"File");
  auto* open = AddItem(&main, file, u"Open");
  auto* recent = AddItem(&main, file, u"Recent");
  auto* deep = AddItem(&main, recent, u"One");
  auto* edit = AddItem(&main, main.Items(), u"Edit");
  auto* cut = AddItem(&main, edit, u"Cut");
  TAdvPopupMenu popup(nullptr);
  auto* a = AddItem(&popup, popup.Items(), u"A");
  auto* b = AddItem(&popup, popup.Items(), u"B");
  auto* c = AddItem(&popup, popup.Items(), u"C");
  auto* d = AddItem(&popup, popup.Items(), u"D");
  auto* e = AddItem(&popup, b, u"E");
  c->SetBreak(mbBreak);
  d->SetVisible(false);
  d->SetBreak(mbBarBreak);  // hidden breaks count for nothing
  struct Row {
    TMenuItem* Item;
    bool Bar;
    Integer Level, VisibleIdx;
    bool Before, FromHere;
  } rows[] = {
      {file, true, 0, 0, false, false}, {edit, true, 0, 1, false, false}, {open, false, 1, 0, false, false},
      {deep, false, 2, 0, false, false}, {a, false, 0, 0, false, true},   {b, false, 0, 1, false, true},
      {c, false, 0, 2, true, true},      {d, false, 0, -1, true, false},  {e, false, 1, 0, false, false},
  };
  for (const Row& r : rows) {
    const std::string n = StringToUtf8(r.Item->Caption());
    EXPECT_EQ(IsBarItem(r.Item), r.Bar) << n;
    EXPECT_EQ(ItemLevel(r.Item), r.Level) << n;
    EXPECT_EQ(VisibleIndex(r.Item), r.VisibleIdx) << n;
    EXPECT_EQ(HasBreakBefore(r.Item), r.Before) << n;
    EXPECT_EQ(HasBreakFromHere(r.Item), r.FromHere) << n;
  }
  EXPECT_EQ(FirstVisibleItem(main.Items()), file);
  EXPECT_EQ(GetAdvMenuIntf(deep), static_cast<IAdvMenu*>(&main));
  TPopupMenu plain(nullptr);
  EXPECT_EQ(GetAdvMenuIntf(&plain), nullptr);
  // Both menus answer the engine through the interface alone.
  TAdvPopupMenu pop(nullptr);
  TImageList grey(nullptr);
  pop.SetDisabledImages(&grey);
  ASSERT_EQ(GetAdvMenuIntf(&pop), static_cast<IAdvMenu*>(&pop));
  EXPECT_EQ(GetAdvMenuIntf(&pop)->GetDisabledImages(), &grey);
  EXPECT_EQ(GetAdvMenuIntf(&main)->GetDisabledImages(), nullptr);

  // Side-bar visibility per VisibleIn, for items of both menu kinds.
  struct Side {
    bool Visible;
    TSideBarVisibleIn In;
    TMenuItem* Item;
    bool Want;
  } side[] = {
      {false, viAnyLevel, open, false},   {true, viAnyLevel, open, true},      {true, viAnyLevel, file, false},
      {true, viAnyLevel, e, true},        {true, viFirstVisible, open, true},  {true, viFirstVisible, deep, true},
      {true, viFirstVisible, cut, false}, {true, viFirstVisible, a, false},    {true, viFirstLevel, a, true},
      {true, viFirstLevel, e, false},     {true, viFirstLevel, cut, true},     {true, viFirstLevel, deep, false},
  };
  for (const Side& s : side) {
    for (IAdvMenu* m : {static_cast<IAdvMenu*>(&main), static_cast<IAdvMenu*>(&popup)}) {
      m->GetCurrentMenuStyler()->SideBar()->SetVisible(s.Visible);
      m->GetCurrentMenuStyler()->SideBar()->SetVisibleIn(s.In);
    }
    EXPECT_EQ(IsSideBarVisibleFor(s.Item), s.Want) << StringToUtf8(s.Item->Caption()) << " " << int(s.In);
  }
}

}  // namespace
