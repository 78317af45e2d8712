// The office status bar: panel layout and hit testing, clicks, the timer's
// blink counter and clock panels, the gauge settings, the ellipsis routines,
// and sampled pixels of panel looks, the gauge and the size grip.
#include <functional>

#include "controls/AdvOfficeStatusBar.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "foundation/json/AdvPersistence.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "platform/rtl/Exceptions.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Shell.h"
#include "tests/controls/StatusFixture.h"
#include "tests/foundation/pictures/PictureSamples.h"

using namespace officestatusbar;

namespace {

class StatusBarTest : public StatusFormTest {
 protected:
  TAdvOfficeStatusBar* MakeBar(int w, int h, std::initializer_list<int> widths, TFormBorderStyle style = bsNone) {
    Form = NewForm(w + 40, 80, style);
    Bar = new TAdvOfficeStatusBar(Form);
    Bar->SetParent(Form);
    Bar->SetAlign(alNone);
    Bar->SetBounds(0, 40, w, h);
    for (int width : widths) Bar->Panels()->Add()->SetWidth(width);
    return Bar;
  }
  // Counts the bar's paint messages.
  void CountPaints() {
    auto old = Bar->WindowProc;
    Bar->WindowProc = [this, old](TMessage& m) {
      if (m.Msg == WM_PAINT) ++Paints;
      old(m);
    };
  }
  TAdvOfficeStatusPanel* P(int i) { return Bar->Panels()->Items(i); }
  TForm* Form = nullptr;
  TAdvOfficeStatusBar* Bar = nullptr;
  int Paints = 0;
};

void ExpectRect(const TRect& r, int l, int t, int rt, int b) {
  EXPECT_EQ(r.Left, l);
  EXPECT_EQ(r.Top, t);
  EXPECT_EQ(r.Right, rt);
  EXPECT_EQ(r.Bottom, b);
}

TEST_F(StatusBarTest, PanelLayoutAndHitTesting) {
  MakeBar(522, 21, {200, 50});
  ExpectRect(P(0)->Rect(), 0, 1, 200, 20);
  ExpectRect(P(1)->Rect(), 200, 1, 521, 20);  // the last panel takes the rest
  ExpectRect(Bar->PanelRect(2), -1, -1, -1, -1);
  struct TCase {
    int X, Panel;
  } cases[] = {{0, 0}, {199, 0}, {200, 0}, {201, 1}, {521, 1}, {522, -1}, {-1, -1}};
  for (const TCase& c : cases) EXPECT_EQ(Bar->GetPanel(c.X), c.Panel) << c.X;
  // Every X of the bar lies in some panel.
  for (int x = 0; x < 522; ++x) ASSERT_GE(Bar->GetPanel(x), 0) << x;

  // A stretch panel ends where the panels after it must begin.
  Bar->Panels()->Add()->SetWidth(100);
  Bar->SetStretchPanel(1);
  ExpectRect(P(1)->Rect(), 200, 1, 422, 20);
  ExpectRect(P(2)->Rect(), 422, 1, 521, 20);
  // Neighbours wider than the bar leave it empty, never negative.
  P(0)->SetWidth(500);
  ExpectRect(P(1)->Rect(), 500, 1, 500, 20);
  // Out-of-range stretch indexes are ignored.
  Bar->SetStretchPanel(3);
  Bar->SetStretchPanel(-2);
  EXPECT_EQ(Bar->StretchPanel(), 1);
  // Without panels no X belongs to one.
  Bar->Panels()->Clear();
  EXPECT_EQ(Bar->GetPanel(10), -1);
}

// The application sends a new hint out as a hint action when it has no
// OnHint; the bar takes it with AutoHint, into panel 0 or the simple text.
TEST_F(StatusBarTest, AutoHintShowsTheLongHintOfTheControlUnderThePointer) {
  struct Case {
    bool autoHint, simplePanel, panels, ownHandler;
    const char16_t* panel0;
    const char16_t* simple;
  } cases[] = {
      {true, false, true, false, u"Saves the firmware", u""},
      {true, true, true, false, u"", u"Saves the firmware"},
      {true, false, false, false, u"", u"Saves the firmware"},
      {true, false, true, true, u"", u""},  // OnHint of the bar takes it
      {false, false, true, false, u"", u""},
  };
  const TNotifyEvent savedOnHint = Application->OnHint;
  Application->OnHint = nullptr;
  for (const Case& c : cases) {
    Application->SetHint(u"");
    MakeBar(300, 24, {});
    if (c.panels) {
      Bar->Panels()->Add()->SetWidth(100);
      Bar->Panels()->Add()->SetWidth(100);
    }
    Bar->SetAutoHint(c.autoHint);
    Bar->SetSimplePanel(c.simplePanel);
    int heard = 0;
    if (c.ownHandler) Bar->OnHint = [&](TObject*) { ++heard; };
    auto* button = new TButton(Form);
    button->SetParent(Form);
    button->SetBounds(10, 5, 80, 25);
    button->SetHint(u"Save|Saves the firmware");
    Form->Show();
    Settle();
    testinput::MouseMove(button, {10, 10});
    EXPECT_EQ(Application->Hint(), u"Saves the firmware");
    if (c.panels) {
      EXPECT_EQ(Bar->Panels()->Items(0)->Text(), c.panel0);
    }
    EXPECT_EQ(Bar->SimpleText(), c.simple);
    EXPECT_EQ(heard, c.ownHandler ? 1 : 0);
    Forms.clear();
  }
  Application->SetHint(u"");
  Application->OnHint = savedOnHint;
}

TEST_F(StatusBarTest, ClicksReportThePanelIndex) {
  MakeBar(300, 21, {100, 100, 100});
  Form->Show();
  Settle();
  std::vector<int> left, right, dbl;
  Bar->OnPanelClick = [&](TObject*, Integer i) { left.push_back(i); };
  Bar->OnPanelRightClick = [&](TObject*, Integer i) { right.push_back(i); };
  Bar->OnPanelDblClick = [&](TObject*, Integer i) { dbl.push_back(i); };
  testinput::Click(Bar, Point(50, 10));
  testinput::Click(Bar, Point(150, 10));
  testinput::Click(Bar, Point(250, 10), mbRight);
  testinput::MouseDoubleClick();
  testinput::MouseUp();
  EXPECT_EQ(left, (std::vector<int>{0, 1, 2}));  // the double click's press counts as a click
  EXPECT_EQ(right, (std::vector<int>{2}));
  EXPECT_EQ(dbl, (std::vector<int>{2}));
  // Without panels a press reports -1.
  Bar->Panels()->Clear();
  left.clear();
  testinput::Click(Bar, Point(20, 10));
  EXPECT_EQ(left, (std::vector<int>{-1}));
}

TEST_F(StatusBarTest, ButtonPanelsTakeHotAndPressedStates) {
  MakeBar(300, 21, {100, 100});
  P(1)->SetButton(true);
  Form->Show();
  Settle();
  testinput::MouseMove(Bar, Point(50, 10));
  EXPECT_EQ(Bar->HotPanelIndex(), -1);  // not a button
  testinput::MouseMove(Bar, Point(150, 10));
  EXPECT_EQ(Bar->HotPanelIndex(), 1);
  testinput::MouseDown();
  EXPECT_EQ(Bar->DownPanelIndex(), 1);
  testinput::MouseUp();
  EXPECT_EQ(Bar->DownPanelIndex(), -1);
  testinput::MouseLeaveWindows();
  EXPECT_EQ(Bar->HotPanelIndex(), -1);
}

TEST_F(StatusBarTest, TimerCountsElevenTicksAndIgnoresOtherTimers) {
  TVirtualClock clock;
  MakeBar(300, 21, {100});
  Form->Show();
  Settle();
  std::vector<int> counts;
  for (int i = 0; i < 12; ++i) {
    counts.push_back(Bar->TimerCount());
    clock.Advance(100);
  }
  EXPECT_EQ(counts, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0}));
  // A timer message of another id does not step the bar.
  const int before = Bar->TimerCount();
  Bar->Perform(WM_TIMER, 7, 0);
  EXPECT_EQ(Bar->TimerCount(), before);
  Bar->Perform(WM_TIMER, TAdvOfficeStatusBar::StatusTimerID, 0);
  EXPECT_EQ(Bar->TimerCount(), before + 1);
}

TEST_F(StatusBarTest, ClockAndLockKeyPanelsRepaintOnlyOnChange) {
  TVirtualClock clock;
  MakeBar(300, 21, {100, 60, 60});
  P(0)->SetStyle(psTime);
  P(0)->SetTimeFormat(u"'tick'");  // a time text that never changes
  P(1)->SetStyle(psCapsLock);
  P(2)->SetStyle(psDate);
  P(2)->SetDateFormat(u"yyyy");
  Form->Show();
  Settle();
  clock.Advance(100);
  Settle();
  EXPECT_EQ(P(0)->Text(), u"tick");
  EXPECT_EQ(P(1)->Text(), u"");
  EXPECT_EQ(P(2)->Text().size(), 4u);
  CountPaints();
  clock.Advance(500);
  Settle();
  EXPECT_EQ(Paints, 0);  // nothing changed, nothing painted
  SetKeyStateDown(VK_CAPITAL, true);
  SetKeyStateDown(VK_CAPITAL, false);
  clock.Advance(100);
  Settle();
  EXPECT_EQ(P(1)->Text(), u"CAP");
  EXPECT_EQ(Paints, 1);
}

TEST_F(StatusBarTest, AnimationPanelAdvancesByItsDelay) {
  TVirtualClock clock;
  MakeBar(300, 21, {100});
  TImageList images(Form);
  images.SetWidth(4);
  images.SetHeight(4);
  for (int i = 0; i < 3; ++i) {
    TBitmap b(4, 4);
    images.Add(&b, nullptr);
  }
  P(0)->SetStyle(psAnimation);
  P(0)->SetAnimationImages(&images);
  P(0)->SetAnimationDelay(1);
  P(0)->SetAnimationDelay(-3);  // ignored
  EXPECT_EQ(P(0)->AnimationDelay(), 1);
  Form->Show();
  Settle();
  // Counts 0..10: advances at 0, 2, 4, 6, 8 and 10, so twice in a row at the wrap.
  std::vector<int> frames;
  for (int i = 0; i < 12; ++i) {
    clock.Advance(100);
    frames.push_back(P(0)->AnimIndex());
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 2, 0, 0, 1, 1, 2, 2, 0, 1}));
  Bar->Perform(WM_TIMER, 0, 0);
}

TEST_F(StatusBarTest, PanelSettingsAndLists) {
  MakeBar(300, 21, {100, 60});
  P(0)->SetText(u"a");
  P(0)->SetButton(true);
  P(0)->SetEnabled(false);
  P(0)->SetStyle(psText);
  P(0)->SetMinWidth(33);
  P(1)->Assign(P(0));
  EXPECT_EQ(P(1)->Text(), u"a");
  EXPECT_EQ(P(1)->Style(), psText);
  EXPECT_EQ(P(1)->MinWidth(), 33);
  EXPECT_FALSE(P(1)->Button());  // not copied
  EXPECT_TRUE(P(1)->Enabled());
  // Image index list: padded with -1, -1 beyond it, a damaged entry raises.
  P(0)->SetImageIndexes(2, 7);
  EXPECT_EQ(P(0)->ImageCount(), 3);
  EXPECT_EQ(P(0)->GetImageIndexes(0), -1);
  EXPECT_EQ(P(0)->GetImageIndexes(2), 7);
  EXPECT_EQ(P(0)->GetImageIndexes(3), -1);
  // The styler's registry list guards its reads and writes.
  TDbgList list;
  list.Add(nullptr);
  EXPECT_NO_THROW(list.GetItemsEx(0));
  EXPECT_THROW(list.GetItemsEx(1), Exception);
  EXPECT_THROW(list.SetItemsEx(1, nullptr), Exception);
  // StepIt stops at Max.
  P(0)->Progress()->SetMax(2);
  P(0)->StepIt();
  P(0)->StepIt();
  P(0)->StepIt();
  EXPECT_EQ(P(0)->Progress()->Position(), 2);
}

TEST_F(StatusBarTest, GaugeRepaintsWhenItsPercentageChangesAndClampsPositions) {
  MakeBar(300, 21, {200});
  P(0)->SetStyle(psProgress);
  TProgressStyle* g = P(0)->Progress();
  g->SetMax(200);
  Form->Show();
  Settle();
  CountPaints();
  g->SetPosition(100);
  Settle();
  EXPECT_EQ(g->Percent(), 50);
  EXPECT_EQ(Paints, 1);
  g->SetPosition(101);  // still 50 %
  Settle();
  EXPECT_EQ(Paints, 1);
  // The repaint test uses the same percentage as the drawing, Min included.
  g->SetMin(100);
  Settle();
  EXPECT_EQ(g->Percent(), 1);
  EXPECT_EQ(Paints, 2);
  // Positions are kept inside the gauge.
  g->SetPosition(500);
  EXPECT_EQ(g->Position(), 200);
  g->SetPosition(-5);
  EXPECT_EQ(g->Position(), 100);
  g->SetMax(100);  // Min = Max
  EXPECT_EQ(g->Percent(), 0);
}

TEST_F(StatusBarTest, PathEllipsisShortensStepByStep) {
  TBitmap bmp(10, 10);
  TCanvas* c = bmp.Canvas();
  const String path = u"C:\\Users\\me\\Documents\\file.txt";
  const std::vector<String> expected = {u"C:\\...\\me\\Documents\\file.txt", u"C:\\...\\Documents\\file.txt",
                                        u"C:\\...\\file.txt", u"...\\file.txt", u"file.txt"};
  std::vector<String> seen;
  for (int w = c->TextWidth(path) - 1; w > 0 && seen.size() < 5; --w) {
    String r;
    PathEllipsis(path, c, w, r);
    if (seen.empty() ? r != path : r != seen.back()) seen.push_back(r);
  }
  EXPECT_EQ(seen, expected);
  struct TCase {
    const char16_t* In;
    const char16_t* Out;
  } steps[] = {{u"", u""}, {u"\\", u""}, {u"\\a\\b\\", u"\\...\\b\\"}, {u"...\\x\\", u"...\\"}, {u"abc", u""}};
  for (const TCase& s : steps) {
    String p = s.In;
    ShortenPathStep(p);
    EXPECT_EQ(p, String(s.Out));
  }
  // The end ellipsis keeps a prefix that fits with its dots.
  String r;
  EllipsisText(false, u"abcdefghijklmnopqrstuvwxyz", c, r, c->TextWidth(u"abcdefgh..."));
  EXPECT_EQ(r, u"abcdefgh...");
  EllipsisText(false, u"abcdefghijklmnopqrstuvwxyz", c, r, 2);
  EXPECT_EQ(r, u".");
}

TEST_F(StatusBarTest, BlendAndGradientRoutines) {
  EXPECT_EQ(officestatusbar::BlendColor(0x0000FF, 0xFF0000, 100), TColor(0x0000FF));
  EXPECT_EQ(officestatusbar::BlendColor(0x0000FF, 0xFF0000, 0), TColor(0xFF0000));
  EXPECT_EQ(officestatusbar::BlendColor(0x000000, 0xFFFFFF, 50), TColor(0x808080));  // 127.5 rounds to even 128
  TBitmap bmp(100, 10);
  DrawGradient(bmp.Canvas(), 0x000000, 0xFFFFFF, true, Rect(0, 0, 100, 10), 4);
  EXPECT_EQ(StatusPixel(&bmp, 2, 5), TColor(0x000000));
  EXPECT_EQ(StatusPixel(&bmp, 97, 5), TColor(0xBFBFBF));  // band 3: 3 x 255 / 4 = 191.25
}

TEST_F(StatusBarTest, PanelLooksFollowTheStyler) {
  MakeBar(300, 21, {100, 100, 100});
  auto* styler = new TAdvOfficeStatusBarOfficeStyler(Form);
  styler->SetStyle(psOffice2007Luna);
  Bar->SetStyler(styler);
  P(1)->SetAppearanceStyle(psDark);
  P(2)->SetButton(true);
  Form->Show();
  Settle();
  auto bmp = testinput::Grab(Bar);
  // First rows under the frame of the light and dark panels: their first gradient colours.
  EXPECT_TRUE(StatusNear(StatusPixel(bmp.get(), 50, 1), 0xF9E6D7, 4));
  EXPECT_TRUE(StatusNear(StatusPixel(bmp.get(), 150, 1), 0xF8DCC5, 4));
  // The last row of the dark panel: its mirror's end colour.
  EXPECT_TRUE(StatusNear(StatusPixel(bmp.get(), 150, 19), 0xC29574, 4));
  // Lower half: the mirror colours.
  EXPECT_TRUE(StatusNear(StatusPixel(bmp.get(), 50, 11), 0xF5D0B3, 8));
  // The frame's top line in the styler's border colour.
  EXPECT_EQ(StatusPixel(bmp.get(), 50, 0), TColor(0xB07D56));
  // A hot button panel shows the hot colours.
  testinput::MouseMove(Bar, Point(250, 10));
  Settle();
  bmp = testinput::Grab(Bar);
  EXPECT_EQ(StatusPixel(bmp.get(), 250, 1), TColor(0x99CEDB));  // hot frame
  EXPECT_TRUE(StatusNear(StatusPixel(bmp.get(), 250, 2), 0xFBFFFF, 16));
}

TEST_F(StatusBarTest, GaugeFillsByLevel) {
  MakeBar(240, 21, {240});
  P(0)->SetStyle(psProgress);
  TProgressStyle* g = P(0)->Progress();
  g->SetShowGradient(false);
  g->SetCompletionSmooth(true);
  g->SetShowPercentage(false);
  Form->Show();
  struct TCase {
    int Position;
    TColor Color;
  } cases[] = {{69, 0x00FF00}, {75, 0x00FFFF}, {95, 0x53A9FF}, {100, 0x0000FF}};
  for (const TCase& c : cases) {
    g->SetPosition(c.Position);
    Settle();
    auto bmp = testinput::Grab(Bar);
    EXPECT_EQ(StatusPixel(bmp.get(), 20, 9), c.Color) << c.Position;
  }
  // Block gaps show what lay under the gauge.
  g->SetCompletionSmooth(false);
  g->SetPosition(100);
  Settle();
  auto bmp = testinput::Grab(Bar);
  int gapPixels = 0;
  for (int x = 10; x < 40; ++x)
    if (StatusPixel(bmp.get(), x, 9) != TColor(0x0000FF)) ++gapPixels;
  EXPECT_GE(gapPixels, 4);
}

TEST_F(StatusBarTest, SizeGripOnlyOnSizeableForms) {
  MakeBar(300, 21, {100}, bsSingle);
  EXPECT_FALSE(Bar->HasSizeGrip());
  Form->SetBorderStyle(bsSizeable);
  EXPECT_TRUE(Bar->HasSizeGrip());
  EXPECT_TRUE(Bar->SizeGripShown());
  Bar->SetSizeGrip(false);
  EXPECT_FALSE(Bar->SizeGripShown());
  Bar->SetSizeGrip(true);
  Form->Show();
  Settle();
  auto bmp = testinput::Grab(Bar);
  // The grip's front squares in the internal styler's border colour.
  const TRect g = Rect(300 - 18, 0, 300 - 3, 20);
  EXPECT_EQ(StatusPixel(bmp.get(), g.Left + 4, g.Bottom - 5), TColor(0x825A3B));
  EXPECT_EQ(StatusPixel(bmp.get(), g.Left + 12, g.Bottom - 13), TColor(0x825A3B));
}

TEST_F(StatusBarTest, AutoSizedLastPanelMakesRoomForTheGrip) {
  MakeBar(400, 21, {50, 50});
  for (int i = 0; i < 2; ++i) {
    P(i)->SetStyle(psText);
    P(i)->SetText(u"Hello world");
  }
  P(0)->SetAutoSize(true);
  P(1)->SetAutoSize(true);
  EXPECT_EQ(P(1)->Width(), P(0)->Width() + 16);
  EXPECT_GT(P(0)->Width(), 20);
  P(0)->SetText(u"");
  P(0)->SetMinWidth(77);
  Bar->UpdateAutoWidths();
  EXPECT_GE(P(0)->Width(), 20);  // an empty text keeps the width
}

}  // namespace

// --- HTML panels: anchors, their events and blinking text.

namespace {

class StatusHTMLTest : public StatusBarTest {
 protected:
  void SetUp() override {
    StatusBarTest::SetUp();
    Previous = SetShellOpener([this](const String& target) {
      Opened.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    SetShellOpener(Previous);
    StatusBarTest::TearDown();
  }
  TShellOpener Previous;
  std::vector<String> Opened;
};

TEST_F(StatusHTMLTest, AnchorsOpenOnlyWebAndMailAddressesFromHTMLPanelsOnLeftClicks) {
  MakeBar(400, 21, {100, 100, 100, 100});
  P(0)->SetText(u"<a href=\"help\">HHHHHHHHHH</a>");
  P(1)->SetText(u"<a href=\"http://example.com/\">LLLLLLLLLL</a>");
  P(2)->SetText(u"<a href=\"file:///etc/passwd\">FFFFFFFFFF</a>");
  P(3)->SetStyle(psText);
  P(3)->SetText(u"<a href=\"https://example.com/\">TTTTTTTTTT</a>");
  std::vector<String> clicked;
  Bar->OnAnchorClick = [&](TObject*, const String& a) { clicked.push_back(a); };
  Form->Show();
  Settle();
  EXPECT_EQ(Bar->AnchorAt(15, 10), u"help");
  EXPECT_EQ(Bar->AnchorAt(95, 10), u"");  // past the anchor's text
  testinput::Click(Bar, Point(15, 10));
  EXPECT_EQ(clicked, (std::vector<String>{u"help"}));
  EXPECT_TRUE(Opened.empty());
  testinput::Click(Bar, Point(115, 10), mbRight);  // right clicks open nothing
  EXPECT_TRUE(Opened.empty());
  testinput::Click(Bar, Point(115, 10));
  EXPECT_EQ(Opened, (std::vector<String>{u"http://example.com/"}));
  testinput::Click(Bar, Point(215, 10));  // not a web or mail address
  testinput::Click(Bar, Point(315, 10));  // a plain-text panel has no anchors
  EXPECT_EQ(Opened.size(), 1u);
  EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(StatusHTMLTest, AnchorEnterAndExitEvents) {
  MakeBar(300, 21, {300});
  P(0)->SetText(u"<a href=\"one\">AAAAAA</a> <a href=\"two\">BBBBBB</a>");
  std::vector<String> log;
  Bar->OnAnchorEnter = [&](TObject*, const String& a) { log.push_back(u"enter " + a); };
  Bar->OnAnchorExit = [&](TObject*, const String& a) { log.push_back(u"exit " + a); };
  Form->Show();
  Settle();
  int secondX = 0;
  for (int x = 40; x < 200 && !secondX; ++x)
    if (Bar->AnchorAt(x, 10) == u"two") secondX = x + 3;
  ASSERT_GT(secondX, 0);
  testinput::MouseMove(Bar, Point(8, 10));
  EXPECT_EQ(Bar->Cursor(), crHandPoint);
  testinput::MouseMove(Bar, Point(secondX, 10));
  testinput::MouseMove(Bar, Point(280, 10));
  EXPECT_EQ(Bar->Cursor(), crDefault);
  testinput::MouseMove(Bar, Point(secondX, 10));
  EXPECT_EQ(log, (std::vector<String>{u"enter one", u"enter two", u"exit ", u"enter two"}));
}

TEST_F(StatusHTMLTest, BlinkingTextShowsFiveTicksAndHidesSix) {
  TVirtualClock clock;
  MakeBar(200, 21, {200});
  P(0)->SetText(u"<blink>WWWWWWWW</blink>");
  Form->Show();
  Settle();
  auto darkPixels = [&]() {
    auto bmp = testinput::Grab(Bar);
    int n = 0;
    for (int x = 2; x < 100; ++x)
      for (int y = 3; y < 18; ++y)
        if (StatusRed(StatusPixel(bmp.get(), x, y)) < 80) ++n;
    return n;
  };
  std::vector<bool> shown;
  for (int tick = 0; tick < 12; ++tick) {
    clock.Advance(100);
    Settle();
    shown.push_back(darkPixels() > 0);
  }
  // Counts after each tick: 1..10, 0, 1; the text shows from count 6 to 10.
  EXPECT_EQ(shown, (std::vector<bool>{false, false, false, false, false, true, true, true, true, true, false, false}));
}

TEST_F(StatusHTMLTest, RightAlignedTextTooWideStartsAtThePanelsLeft) {
  MakeBar(300, 21, {60, 240});
  P(0)->SetAlignment(taRightJustify);
  P(0)->SetText(u"WWWWWWWWWWWWWWWWWWWW");  // wider than the panel
  P(1)->SetAlignment(taRightJustify);
  P(1)->SetText(u"WW");
  Form->Show();
  Settle();
  auto bmp = testinput::Grab(Bar);
  auto darkIn = [&](int x0, int x1) {
    for (int x = x0; x < x1; ++x)
      for (int y = 3; y < 18; ++y)
        if (StatusRed(StatusPixel(bmp.get(), x, y)) < 80) return true;
    return false;
  };
  EXPECT_TRUE(darkIn(2, 12));     // from the left edge
  EXPECT_FALSE(darkIn(70, 200));  // the short text sits at the right of its panel
  EXPECT_TRUE(darkIn(260, 296));
}

}  // namespace

namespace {

TEST_F(StatusBarTest, LoadingKeepsAnOddHeightAndFlipReversesPanels) {
  MakeBar(300, 20, {50, 60, 70});
  Bar->Loading();
  Bar->Loaded();
  EXPECT_EQ(Bar->Height(), 21);
  const char16_t* texts[] = {u"a", u"b", u"c"};
  for (int i = 0; i < 3; ++i) P(i)->SetText(texts[i]);
  Bar->FlipChildren(true);  // no window yet: nothing
  EXPECT_EQ(P(0)->Text(), u"a");
  Form->Show();
  Settle();
  Bar->FlipChildren(true);
  EXPECT_EQ(P(0)->Text(), u"c");
  EXPECT_EQ(P(2)->Text(), u"a");
  EXPECT_EQ(P(2)->Width(), 50);
  EXPECT_EQ(P(1)->Width(), 60);
  EXPECT_EQ(P(0)->Width(), 300 - 110);
}

TEST_F(StatusBarTest, OwnerDrawAutoSizeAndHints) {
  MakeBar(300, 21, {100, 100, 100});
  P(0)->SetStyle(psOwnerDraw);
  std::vector<TRect> drawn;
  Bar->OnDrawPanel = [&](TAdvOfficeStatusBar*, TAdvOfficeStatusPanel* p, const TRect& r) {
    if (p->Index() == 0) drawn.push_back(r);
  };
  // An empty HTML text measures 0: the panel takes its minimum width.
  P(1)->SetMinWidth(20);
  P(1)->SetAutoSize(true);
  EXPECT_EQ(P(1)->Width(), 20);
  P(1)->SetText(u"<b>A much longer status text</b>");
  EXPECT_GT(P(1)->Width(), 100);
  Form->Show();
  Settle();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back().Left, 1);  // the paint rectangle, unchanged
  EXPECT_EQ(drawn.back().Bottom, 20);
  // A panel's office hint goes to the dummy hint control.
  P(2)->SetStyle(psText);
  P(2)->OfficeHint()->SetTitle(u"Port");
  THintInfo info;
  info.CursorPos = Point(Bar->PanelRect(2).Left + 5, 10);
  Bar->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintControl, Bar->DummyHintControl());
  EXPECT_EQ(Bar->DummyHintControl()->OfficeHint()->Title(), u"Port");
  // With AnchorHint an HTML anchor's title becomes the hint.
  P(0)->SetStyle(psHTML);
  P(0)->SetText(u"<a href=\"x\" title=\"Go there\">LLLLLLLL</a>");
  Bar->SetAnchorHint(true);
  THintInfo info2;
  info2.CursorPos = Point(10, 10);
  Bar->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info2));
  EXPECT_EQ(info2.HintStr, u"Go there");
  EXPECT_EQ(Bar->DummyHintControl()->OfficeHint()->Title(), u"");
}

// Persistence reaches each panel's office hint through the bar's panels.
TEST_F(StatusBarTest, PanelOfficeHintsSurviveAPersistenceRoundTrip) {
  DeclareAdvHintInfoClass();
  RegisterStatusBarClasses();
  TAdvPersistence::Initialize();
  MakeBar(300, 21, {60, 80, 100});
  P(1)->OfficeHint()->SetTitle(u"Port");
  P(1)->OfficeHint()->Notes()->Add(u"Ł: the programmer's serial port");
  P(1)->OfficeHint()->SetShowHelp(true);
  TMemoryStream bytes;
  bytes.WriteBuffer(picture_samples::Png(5, 3));
  bytes.SetPosition(0);
  P(2)->OfficeHint()->Picture()->LoadFromStream(&bytes);
  const String json = ToJSON(Bar);
  EXPECT_NE(json.find(u"OfficeHint"), String::npos);

  auto* copy = new TAdvOfficeStatusBar(Form);
  copy->SetParent(Form);
  copy->Panels()->Add()->OfficeHint()->SetTitle(u"stale");
  FromJSON(copy, json);
  ASSERT_EQ(copy->Panels()->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    TAdvHintInfo* want = P(i)->OfficeHint();
    TAdvHintInfo* got = copy->Panels()->Items(i)->OfficeHint();
    EXPECT_EQ(got->Title(), want->Title()) << i;
    EXPECT_EQ(got->Notes()->Text(), want->Notes()->Text()) << i;
    EXPECT_EQ(got->ShowHelp(), want->ShowHelp()) << i;
    EXPECT_EQ(got->Picture()->Data(), want->Picture()->Data()) << i;
  }
  EXPECT_EQ(copy->Panels()->Items(2)->OfficeHint()->Picture()->Width(), 5);
  EXPECT_EQ(ToJSON(copy), json) << "written back the same";
}

}  // namespace

namespace {

TEST_F(StatusHTMLTest, SimplePanelShowsItsTextAndAnchors) {
  MakeBar(300, 21, {100, 100});
  Bar->SetSimplePanel(true);
  Bar->SetSimpleText(u"<a href=\"mailto:me@example.com\">WWWWWWWW</a>");
  EXPECT_EQ(Bar->GetTextLen(), Integer(Bar->SimpleText().size()));
  Form->Show();
  Settle();
  auto bmp = testinput::Grab(Bar);
  bool blue = false;  // anchors take the URL colour
  for (int x = 2; x < 80 && !blue; ++x)
    for (int y = 3; y < 18 && !blue; ++y) {
      const TColor c = StatusPixel(bmp.get(), x, y);
      blue = StatusBlue(c) > 150 && StatusRed(c) < 100;
    }
  EXPECT_TRUE(blue);
  testinput::Click(Bar, Point(10, 10));
  EXPECT_EQ(Opened, (std::vector<String>{u"mailto:me@example.com"}));
}

}  // namespace
