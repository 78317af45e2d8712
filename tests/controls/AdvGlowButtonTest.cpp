// The glow button headless: construction, hover fades on the virtual clock,
// pressing, check and group behaviour, repeat clicks, the split drop-down
// edge, key tips, auto-size, and what the face shows per state and style.
#include "tests/controls/GlowButtonFixture.h"

#include <cstdlib>
#include <vector>

#include "foundation/gdiplus/GDIPFill.h"
#include "foundation/json/AdvPersistence.h"
#include "platform/rtl/Streams.h"
#include "platform/win/MessageLoop.h"
#include "tests/foundation/pictures/PictureSamples.h"

using testinput::MouseDown;
using testinput::MouseMove;
using testinput::MouseUp;

TEST_F(GlowButtonTest, ConstructionDefaults) {
  TAdvGlowButton b(nullptr);
  EXPECT_EQ(b.Width(), 100);
  EXPECT_EQ(b.Height(), 41);
  EXPECT_EQ(b.Font()->Height(), -11);
  EXPECT_TRUE(b.Rounded() && b.WordWrap() && b.ShowCaption() && b.ShowDisabled() && b.DropDownSplit());
  EXPECT_EQ(b.DropDownWidth(), 14);
  EXPECT_EQ(b.InitRepeatPause(), 400);
  EXPECT_EQ(b.RepeatPause(), 100);
  EXPECT_EQ(b.FocusType(), ftBorder);
  EXPECT_EQ(b.ShortCutHintPos(), shpTop);
  EXPECT_FALSE(b.ControlStyle().Contains(csDoubleClicks));
  EXPECT_EQ(b.NotesFont()->Name(), u"Tahoma");
  EXPECT_EQ(b.NotesFont()->Size(), 8);
  EXPECT_EQ(b.Version(), u"2.7.3.4");
  b.SetVersion(u"9.9.9.9");
  EXPECT_EQ(b.Version(), u"2.7.3.4");

  TAdvGlowButton other(nullptr);
  other.SetCaption(u"Copy");
  other.SetStyle(bsCheck);
  other.SetDown(true);
  other.SetLayout(blGlyphTop);
  other.SetGroupIndex(3);
  other.Appearance()->SetColor(0x123456);
  other.SetSpacing(7);
  b.Assign(&other);
  EXPECT_EQ(b.Caption(), u"Copy");
  EXPECT_EQ(b.Spacing(), 7);
  EXPECT_EQ(b.Layout(), blGlyphLeft);   // not copied
  EXPECT_EQ(b.GroupIndex(), 0);         // not copied
  EXPECT_NE(b.Appearance()->Color(), 0x123456);
  TStringList foreign;
  b.Assign(&foreign);  // ignored
}

// The button's hint record and pictures reach the persistence layer.
TEST_F(GlowButtonTest, PersistenceReachesTheHintAndPictures) {
  gdiplus::InitializeGDIPFillUnit();
  DeclareAdvHintInfoClass();
  RegisterGlowButtonClasses();
  TAdvPersistence::Initialize();
  TAdvGlowButton* source = AddButton({0, 0, 80, 24});
  source->OfficeHint()->SetTitle(u"Update");
  source->OfficeHint()->Notes()->Add(u"STOP receiving file");
  TMemoryStream bytes;
  bytes.WriteBuffer(picture_samples::Png(5, 3));
  bytes.SetPosition(0);
  source->HotPicture()->LoadFromStream(&bytes);
  TAdvGlowButton* copy = AddButton({0, 30, 80, 54});
  FromJSON(copy, ToJSON(source));
  EXPECT_EQ(copy->OfficeHint()->Title(), u"Update");
  EXPECT_EQ(copy->OfficeHint()->Notes()->Text(), source->OfficeHint()->Notes()->Text());
  EXPECT_EQ(copy->HotPicture()->Data(), source->HotPicture()->Data());
  EXPECT_EQ(copy->HotPicture()->Width(), 5);
  EXPECT_TRUE(copy->Picture()->Empty());
}

TEST_F(GlowButtonTest, HoverFadesInFiveStepsAndOut) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  ShowForm();
  MouseMove(b, {20, 20});
  EXPECT_TRUE(b->GlowTimerRunning());
  std::vector<int> steps;
  for (int i = 0; i < 6; ++i) {
    Advance(20);
    steps.push_back(b->StepHover());
  }
  EXPECT_EQ(steps, (std::vector<int>{20, 40, 60, 80, 100, 100}));
  EXPECT_FALSE(b->GlowTimerRunning());
  EXPECT_EQ(b->GlowState(), gsNone);

  MouseMove(Form.get(), {300, 150});
  EXPECT_TRUE(b->GlowTimerRunning());
  steps.clear();
  for (int i = 0; i < 6; ++i) {
    Advance(20);
    steps.push_back(b->StepHover());
  }
  EXPECT_EQ(steps, (std::vector<int>{80, 60, 40, 20, 0, 0}));
  EXPECT_FALSE(b->GlowTimerRunning());

  // With the interval switched off no animation starts.
  GlowSpeed = 0;
  MouseMove(b, {20, 20});
  EXPECT_FALSE(b->GlowTimerRunning());
  EXPECT_TRUE(b->Hot());
}

TEST_F(GlowButtonTest, TonesOnOneButtonLeaveTheOthersAnimating) {
  auto* a = AddButton(Rect(10, 10, 110, 51));
  auto* b = AddButton(Rect(150, 10, 250, 51));
  ShowForm();
  a->SetColorTones(SystemColorTones());
  EXPECT_EQ(GlowSpeed, 20);
  MouseMove(b, {20, 20});
  EXPECT_TRUE(b->GlowTimerRunning());
  Advance(20);
  EXPECT_EQ(b->StepHover(), 20);
}

TEST_F(GlowButtonTest, DestroyingAHoveredButtonRunsNoLeaveEvent) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  int leaves = 0;
  b->OnMouseLeave = [&](TObject*) { ++leaves; };
  ShowForm();
  MouseMove(b, {20, 20});
  delete b;
  Advance(200);
  EXPECT_EQ(leaves, 0);
}

TEST_F(GlowButtonTest, CheckGroupAndDown) {
  auto* plain = AddButton(Rect(10, 10, 60, 40));
  auto* check = AddButton(Rect(70, 10, 120, 40));
  auto* g1 = AddButton(Rect(130, 10, 180, 40));
  auto* g2 = AddButton(Rect(190, 10, 240, 40));
  check->SetStyle(bsCheck);
  g1->SetGroupIndex(1);
  g2->SetGroupIndex(1);
  ShowForm();

  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());  // a plain push button cannot stay down

  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  testinput::Click(check, {10, 10});
  EXPECT_TRUE(check->Down());
  testinput::Click(check, {10, 10});
  EXPECT_FALSE(check->Down());
  EXPECT_EQ(clicks, 2);

  g1->SetDown(true);
  EXPECT_EQ(g1->State(), absExclusive);
  g2->SetDown(true);
  EXPECT_TRUE(g2->Down());
  EXPECT_FALSE(g1->Down());
  g2->SetDown(false);  // AllowAllUp False: stays down
  EXPECT_TRUE(g2->Down());
  testinput::Click(g1, {10, 10});
  EXPECT_TRUE(g1->Down());
  EXPECT_FALSE(g2->Down());

  // Disabled while down shows disabled; enabled again it is down (exclusive).
  g1->SetEnabled(false);
  testinput::PaintPending();
  EXPECT_EQ(g1->State(), absDisabled);
  g1->SetEnabled(true);
  (void)testinput::Grab(g1);
  EXPECT_EQ(g1->State(), absExclusive);
}

TEST_F(GlowButtonTest, RepeatClicksWhileHeldAndStopWhenTheCaptureIsLost) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  b->SetRepeatClick(true);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  MouseMove(b, {20, 20});
  MouseDown();
  Advance(390);
  EXPECT_EQ(clicks, 0);
  Advance(10);
  EXPECT_EQ(clicks, 1);  // 400 ms
  Advance(100);
  EXPECT_EQ(clicks, 2);  // 500 ms
  Advance(100);
  EXPECT_EQ(clicks, 3);  // 600 ms
  MouseUp();
  EXPECT_EQ(clicks, 4);  // the release inside clicks as well
  Advance(300);
  EXPECT_EQ(clicks, 4);

  // Holding again, then losing the capture: no more clicks.
  MouseDown();
  Advance(400);
  EXPECT_EQ(clicks, 5);
  ReleaseCapture();
  PumpPending();
  Advance(500);
  EXPECT_EQ(clicks, 5);
}

TEST_F(GlowButtonTest, SplitDropDownEdgeIsTheSameForHoverAndPress) {
  auto* b = AddButton(Rect(0, 0, 100, 41));
  b->SetDropDownButton(true);
  int drops = 0, clicks = 0;
  b->OnDropDown = [&](TObject*) { ++drops; };
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  struct Case {
    int X;
    bool Menu;
  };
  for (Case c : {Case{85, false}, Case{86, true}, Case{99, true}, Case{10, false}}) {
    drops = clicks = 0;
    testinput::Click(b, {c.X, 20});
    EXPECT_EQ(drops, c.Menu ? 1 : 0) << c.X;
    if (!c.Menu) {
      EXPECT_EQ(clicks, 1) << c.X;
    }
  }
  // A non-split drop-down opens on any press, unless it is check-style.
  b->SetDropDownSplit(false);
  drops = 0;
  testinput::Click(b, {10, 20});
  EXPECT_EQ(drops, 1);
  b->SetStyle(bsCheck);
  drops = 0;
  testinput::Click(b, {10, 20});
  EXPECT_EQ(drops, 0);
}

TEST_F(GlowButtonTest, KeysClickThroughClick) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  b->SetTabStop(true);
  b->SetModalResult(mrOk);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  b->SetFocus();
  testinput::KeyPress(VK_SPACE);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  Form->SetModalResult(mrNone);
  testinput::KeyPress(VK_RETURN);
  EXPECT_EQ(clicks >= 2, true);
  EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(GlowButtonTest, KeyTipPositions) {
  auto* b = AddButton(Rect(40, 60, 140, 101));
  b->SetShortCutHint(u"K");
  ShowForm();
  b->ShowShortCutHint();
  TShortCutHintWindow* w = b->ShortCutHintWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  const TPoint P = b->ClientToScreen(TPoint(0, 0));
  const int W = 100, H = 41, hw = w->Width(), hh = w->Height();
  const int centre = P.X + (W - hw) / 2;
  struct Case {
    TShortCutHintPos Pos;
    int X, Y;
  };
  const Case cases[] = {
      {shpTop, centre, P.Y - hh / 2},
      {shpAuto, centre, P.Y - hh / 2},
      {shpLeft, P.X + 6, P.Y + (H - hh) / 2},
      {shpRight, P.X + W - hw / 2, P.Y + (H - hh) / 2},
      {shpTopRight, P.X + W - hw + 1, P.Y - hh / 2},
      {shpAboveTopLeft, P.X + 6, P.Y - hh},
      {shpBottom, centre, P.Y + H - hh / 2},
      {shpBelowBottomRight, P.X + W - hw + 1, P.Y + H},
      {shpBelowBottomCenter, centre, P.Y + H},
  };
  for (const Case& c : cases) {
    b->SetShortCutHintPos(c.Pos);
    b->ShowShortCutHint();
    EXPECT_EQ(w->Left(), c.X) << int(c.Pos);
    EXPECT_EQ(w->Top(), c.Y) << int(c.Pos);
  }
  // The owner's event may move it.
  b->FOnGetShortCutHintPos = [](TObject*, TButtonSizeState, TShortCutHintPos& p) { p = shpBelowBottom; };
  b->SetShortCutHintPos(shpTop);
  b->ShowShortCutHint();
  EXPECT_EQ(w->Top(), P.Y + H);
  b->HideShortCutHint();
  EXPECT_FALSE(w->Visible());
}

TEST_F(GlowButtonTest, AutoSizeFollowsTheCaption) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  b->SetCaption(u"OK");
  ShowForm();
  b->SetAutoSize(true);
  const int shortW = b->Width(), shortH = b->Height();
  EXPECT_LT(shortW, 100);
  EXPECT_GT(shortW, 12);
  b->SetCaption(u"A much longer caption");
  PumpPending();
  testinput::PaintPending();
  EXPECT_GT(b->Width(), shortW + 40);
  EXPECT_EQ(b->Height(), shortH);  // one line either way
  // Measuring a size state changes nothing on the button.
  TPoint sz;
  const int w = b->Width();
  b->CalcSizeForState(bsGlyph, sz);
  EXPECT_EQ(b->Width(), w);
  EXPECT_EQ(b->Layout(), blGlyphLeft);
}

// A toolbar measures every button in every size state: that changes nothing
// on the button (its state is repaired only when it paints) and draws nothing.
TEST_F(GlowButtonTest, MeasuringASizeStateChangesNothing) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  b->SetCaption(u"Measure me");
  b->SetAutoSize(true);
  ShowForm();
  b->SetEnabled(false);
  b->SetEnabled(true);
  ASSERT_EQ(b->State(), absDisabled);  // the next paint brings it back
  const TRect bounds = b->BoundsRect();
  TPoint glyph, label, large;
  b->CalcSizeForState(bsGlyph, glyph);
  b->CalcSizeForState(bsLabel, label);
  b->CalcSizeForState(bsLarge, large);
  EXPECT_EQ(b->State(), absDisabled);
  EXPECT_EQ(b->BoundsRect(), bounds);
  EXPECT_EQ(b->ButtonSizeState(), bsLarge);
  EXPECT_GT(label.X, glyph.X);  // the caption goes in bsGlyph
  EXPECT_GT(glyph.Y, 0);
  PumpPending();
  testinput::PaintPending();
  EXPECT_EQ(b->State(), absUp);
}

// Pixels of the button within a tolerance of a colour.
int CountNear(TBitmap* B, TColor C, int Tol = 24) {
  int n = 0;
  for (int y = 0; y < B->Height(); ++y)
    for (int x = 0; x < B->Width(); ++x) {
      const TColor p = B->Canvas()->Pixels(x, y);
      bool near = true;
      for (int s = 0; s < 24; s += 8) near = near && std::abs(int((p >> s) & 0xFF) - int((C >> s) & 0xFF)) <= Tol;
      n += near;
    }
  return n;
}

// A 16 x 16 BMP of one colour with a blue square inside.
void LoadBmp(TGDIPPicture* Pic, TColor Outer) {
  TBitmap b(16, 16);
  b.Canvas()->Brush()->SetColor(Outer);
  b.Canvas()->FillRect({0, 0, 16, 16});
  b.Canvas()->Brush()->SetColor(clBlue);
  b.Canvas()->FillRect({4, 4, 12, 12});
  TMemoryStream s;
  b.SaveToStream(&s);
  s.SetPosition(0);
  Pic->LoadFromStream(&s);
}

// A one-picture 32-bit ICO of N x N pixels of one colour.
TBytes SolidIco(int N, TColor C) {
  TBytes b;
  auto u16 = [&](unsigned v) { b.push_back(Byte(v)), b.push_back(Byte(v >> 8)); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const unsigned maskRow = unsigned((N + 31) / 32 * 4), pixels = unsigned(N * N * 4), size = 40 + pixels + maskRow * N;
  u16(0), u16(1), u16(1);
  b.push_back(Byte(N)), b.push_back(Byte(N)), b.push_back(0), b.push_back(0), u16(1), u16(32), u32(size), u32(22);
  u32(40), u32(unsigned(N)), u32(unsigned(2 * N)), u16(1), u16(32), u32(0), u32(pixels + maskRow * N);
  u32(0), u32(0), u32(0), u32(0);
  for (int i = 0; i < N * N; ++i) b.push_back(Byte(C >> 16)), b.push_back(Byte(C >> 8)), b.push_back(Byte(C)), b.push_back(0xFF);
  b.resize(b.size() + maskRow * N, 0);
  return b;
}

class THookGlowButton : public TAdvGlowButton {
 public:
  using TAdvGlowButton::TAdvGlowButton;
  void DoGetGlyphBitmap(TBitmap* B) override {
    B->SetSize(12, 12);
    B->Canvas()->Brush()->SetColor(clRed);
    B->Canvas()->FillRect({0, 0, 12, 12});
  }
};

// The glyph inputs: a BMP picture keyed on its bottom-left colour, the icon
// in place of a picture without text, and the hook's glyph bitmap.
TEST_F(GlowButtonTest, GlyphInputsBmpKeyIconAndHookBitmap) {
  GlowSpeed = 0;
  auto* bmp = AddButton(Rect(10, 10, 110, 51));
  bmp->SetComponentStyle(tsOffice2019White);
  LoadBmp(bmp->Picture(), clFuchsia);
  auto* icon = AddButton(Rect(120, 10, 220, 51));
  icon->SetComponentStyle(tsOffice2019White);
  LoadBmp(icon->Picture(), clFuchsia);
  icon->FIcon->LoadFromBytes(SolidIco(16, clLime));
  auto* hook = new THookGlowButton(Form.get());
  hook->SetParent(Form.get());
  hook->SetBoundsRect(Rect(230, 10, 330, 51));
  hook->SetComponentStyle(tsOffice2019White);
  ShowForm();
  MouseMove(Form.get(), {380, 180});
  auto bmpPixels = testinput::Grab(bmp);
  EXPECT_EQ(CountNear(bmpPixels.get(), clFuchsia), 0);  // the key colour is transparent
  EXPECT_GE(CountNear(bmpPixels.get(), clBlue), 40);
  auto iconPixels = testinput::Grab(icon);
  EXPECT_GE(CountNear(iconPixels.get(), clLime), 200);
  EXPECT_EQ(CountNear(iconPixels.get(), clBlue), 0);
  auto hookPixels = testinput::Grab(hook);
  EXPECT_GE(CountNear(hookPixels.get(), clRed), 100);
  // With a caption the picture is drawn, not the icon; the hook's glyph is measured too.
  icon->SetCaption(u"Text");
  EXPECT_GE(CountNear(testinput::Grab(icon).get(), clBlue), 40);
  auto* plain = AddButton(Rect(10, 100, 110, 141));
  TPoint withHook, without;
  hook->CalcSizeForState(bsLarge, withHook);
  plain->CalcSizeForState(bsLarge, without);
  EXPECT_EQ(withHook.X, without.X + 12);
}

// Without antialiasing the text goes the GDI way for measuring and drawing,
// the notes included.
TEST_F(GlowButtonTest, NonAntialiasedTextMeasuresAndDrawsByDrawTextWithNotes) {
  auto* b = AddButton(Rect(10, 10, 210, 71));
  b->SetComponentStyle(tsOffice2019White);
  b->SetAntiAlias(gdiplus::aaNone);
  b->SetCaption(u"Caption");
  b->Notes()->SetText(u"Notes below the caption");
  b->NotesFont()->SetColor(clRed);
  b->NotesFont()->SetStyle({fsBold});
  GlowSpeed = 0;
  ShowForm();
  MouseMove(Form.get(), {380, 180});
  EXPECT_GE(CountNear(testinput::Grab(b).get(), clRed, 40), 20);
  // The auto size is the DrawText extent of the wider text and the margins.
  TBitmap m(1, 1);
  m.Canvas()->Font()->Assign(b->NotesFont());
  const int notesWidth = m.Canvas()->TextWidth(u"Notes below the caption");
  m.Canvas()->Font()->Assign(b->Font());
  const int captionWidth = m.Canvas()->TextWidth(u"Caption");
  b->SetAutoSize(true);
  PumpPending();
  testinput::PaintPending();
  EXPECT_EQ(b->Width(), std::max(notesWidth, captionWidth) + 2 + 3 * 2 + 2 * 1 + 2);
}

TEST_F(GlowButtonTest, FacePixelsPerStateAndStyle) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  b->SetComponentStyle(tsOffice2019White);  // flat colours: exact samples
  auto* c = AddButton(Rect(150, 10, 250, 51));
  c->SetComponentStyle(tsOffice2019White);
  c->SetStyle(bsCheck);
  GlowSpeed = 0;  // plain state colours
  ShowForm();
  MouseMove(Form.get(), {300, 150});  // the pointer is not over a button
  EXPECT_TRUE(Near(Pixel(b, 50, 10), 0xFFFFFF));
  EXPECT_TRUE(Near(Pixel(b, 50, 30), 0xFFFFFF));
  EXPECT_TRUE(Near(Pixel(b, 50, 0), 0xADB0B3, 40));  // the border

  MouseMove(b, {50, 20});
  EXPECT_TRUE(Near(Pixel(b, 50, 10), 0xFAECE3));
  MouseDown();
  EXPECT_TRUE(Near(Pixel(b, 50, 10), 0xB0784A));
  MouseUp();

  c->SetDown(true);
  EXPECT_TRUE(Near(Pixel(c, 50, 30), 0xD1B9A5));
  b->SetEnabled(false);
  MouseMove(Form.get(), {300, 150});
  EXPECT_TRUE(Near(Pixel(b, 50, 10), 0xFFFFFF));
  EXPECT_TRUE(Near(Pixel(b, 50, 0), 0xD4D4D4, 40));

  // The default look: a vertical gradient upper half, white at the top row
  // inside, grey (ColorMirror) at the bottom of the lower half.
  auto* d = AddButton(Rect(10, 100, 110, 141));
  PumpPending();
  EXPECT_TRUE(Near(Pixel(d, 50, 2), 0xFFFFFF, 10));
  EXPECT_TRUE(Near(Pixel(d, 50, 39), 0xC0C0C0, 16));
  // ColorTo clNone: a solid upper half.
  d->Appearance()->SetColor(0x0000FF);
  d->Appearance()->SetColorTo(clNone);
  EXPECT_TRUE(Near(Pixel(d, 50, 3), 0x0000FF));
  EXPECT_TRUE(Near(Pixel(d, 50, 17), 0x0000FF));
}

// A drop-down item's handler frees the button, or its whole form with the
// menu the form owns; the button's own mouse and key code and the menu's
// after the handler must not touch them (the sanitizer sees it).
TEST_F(GlowButtonTest, DropDownItemMayFreeTheButtonOrItsForm) {
  HWND helper = AllocateHWnd([](TMessage& m) {
    if (m.Msg != WM_USER) return;
    testinput::KeyPress(VK_DOWN);
    testinput::KeyPress(VK_RETURN);
  });
  for (const bool wholeForm : {false, true})
    for (const bool byKey : {false, true}) {
      SCOPED_TRACE(testing::Message() << (wholeForm ? "form" : "button") << (byKey ? " by F4" : " by mouse"));
      if (!Form) {
        Form = std::make_unique<TForm>(nullptr);
        Form->AfterConstruction();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 400, 200);
      }
      std::unique_ptr<TPopupMenu> ownMenu;
      TPopupMenu* menu = wholeForm ? new TPopupMenu(Form.get()) : (ownMenu = std::make_unique<TPopupMenu>(nullptr)).get();
      auto* item = new TMenuItem(menu);
      item->SetCaption(u"Close");
      menu->Items()->Add(item);
      bool closed = false;
      menu->OnClose = [&](TObject*) { closed = true; };
      TAdvGlowButton* b = AddButton(Rect(20, 20, 120, 61));
      b->SetDropDownButton(true);
      b->SetDropDownSplit(false);
      b->SetDropDownMenu(menu);
      bool clicked = false;
      item->OnClick = [&](TObject*) {
        clicked = true;
        if (wholeForm)
          Form.reset();
        else
          delete b;
      };
      ShowForm();
      PostMessage(helper, WM_USER, 0, 0);
      if (byKey) {
        b->SetFocus();
        testinput::KeyPress(VK_F4);
      } else {
        testinput::MouseMove(b, TPoint(30, 10));
        testinput::MouseDown();
        testinput::MouseUp();
      }
      PumpPending();
      EXPECT_TRUE(clicked);
      EXPECT_EQ(closed, !wholeForm);  // a freed menu has nobody left to tell
      EXPECT_EQ(ActiveMenuWindow(), nullptr);
      if (Form) {
        EXPECT_EQ(Form->ControlCount(), 0);
      }
    }
  DeallocateHWnd(helper);
}

TEST_F(GlowButtonTest, DropUpMenuOpensAboveTheButton) {
  auto* b = AddButton(Rect(20, 120, 120, 161));
  auto* menu = new TPopupMenu(Form.get());
  for (const char16_t* c : {u"One", u"Two", u"Three"}) {
    auto* i = new TMenuItem(Form.get());
    i->SetCaption(c);
    menu->Items()->Add(i);
  }
  b->SetDropDownMenu(menu);
  ShowForm();
  const TPoint top = Form->ClientToScreen(TPoint(20, 120));
  TRect shown;
  // Looks at the menu once everything posted before it has run, then closes it.
  HWND helper = nullptr;
  helper = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER) {
      PostMessage(helper, WM_USER + 1, 0, 0);
    } else if (m.Msg == WM_USER + 1) {
      if (TWinControl* w = ActiveMenuWindow()) shown = w->BoundsRect();
      CloseMenus();
    }
  });
  struct Case {
    TDropDownDirection Dir;
    bool Above;
  };
  for (Case c : {Case{ddUp, true}, Case{ddDown, false}}) {
    b->SetDropDownDirection(c.Dir);
    shown = TRect();
    PostMessage(helper, WM_USER, 0, 0);
    b->DoDropDown();
    ASSERT_FALSE(shown.IsEmpty());
    EXPECT_EQ(shown.Left, top.X);
    if (c.Above)
      EXPECT_EQ(shown.Bottom, top.Y);
    else
      EXPECT_EQ(shown.Top, top.Y + 41);
  }
  DeallocateHWnd(helper);
}
