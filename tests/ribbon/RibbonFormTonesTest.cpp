// The ribbon form's colour-tones look and painting: entering and leaving
// the look restores every field it touched, tones sent while the form loads
// wait for it, the flat frame, its side lines and the size grip by sampled
// pixels at 96 and 144 pixels per inch, the single-border and glass looks,
// and the search for the system's shadow window (ours or nothing).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Monitors.h"
#include "ribbon/AdvPage.h"
#include "ribbon/RibbonFrame.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {
namespace form_tones_test {
namespace {

constexpr TColor Blue = 0xCC0000, Green = 0x00AA00, Cream = 0xE0F0F0;

// Every colour of the record its own, so that a field copied into the wrong
// place shows.
TColorTones DistinctTones(TColor Selected) {
  TColorTones t;
  TColor c = 0x101010;
  for (TColorTone* tone : {&t.Background, &t.Foreground, &t.Selected, &t.Hover, &t.Disabled}) {
    tone->BrushColor = c += 0x030201;
    tone->BorderColor = c += 0x030201;
    tone->TextColor = c += 0x030201;
  }
  t.Selected.BrushColor = Selected;
  return t;
}

bool Near(TColor a, TColor b, int tol = 8) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  for (int s = 0; s < 24; s += 8) {
    const int d = int((DWORD(a) >> s) & 0xFF) - int((DWORD(b) >> s) & 0xFF);
    if (d > tol || d < -tol) return false;
  }
  return true;
}

// What the colour-tones look changes on the form and its pager.
struct TFormLook {
  TFormBorderStyle BorderStyle;
  bool AeroVista, PagerAeroVista, Tones, PagerTones;
  Integer GlassFrameTop;
  TBorderIcons Icons;
  TRect Bounds, Client;
  bool operator==(const TFormLook&) const = default;
};
void PrintTo(const TFormLook& L, std::ostream* os) {
  *os << "border " << int(L.BorderStyle) << " glass " << L.AeroVista << "/" << L.PagerAeroVista << " tones "
      << L.Tones << "/" << L.PagerTones << " frame top " << L.GlassFrameTop << " bounds " << L.Bounds.Left << ","
      << L.Bounds.Top << "," << L.Bounds.Right << "," << L.Bounds.Bottom << " client " << L.Client.Right << "x"
      << L.Client.Bottom;
}

class RibbonFormTones : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    RegisterThemeModules();
    toolbar::InitializeToolBarShared();
    toolbar::SetToolBarTextMeasure([](TCanvas*, const String& Text) { return Integer(Text.size()) * 7; });
    monitors_internal::SetVirtualMonitors({{u"main", TRect{0, 0, 1600, 1000}, TRect{0, 0, 1600, 960}, 96, true}});
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    SetDesktopCompositionForTest(false);
    monitors_internal::SetVirtualMonitors({});
    toolbar::SetToolBarTextMeasure(nullptr);
    toolbar::InitializeToolBarShared();
    toolbar::ToolBarDPIScale = 1.0f;
    toolbar::ToolBarPPI = toolbar::ScreenPPI = 96;
    toolbar::ScaledCaptionHeight = 26;
    toolbar::ScaledSize16 = 16;
  }
  void Make(bool CreateNew = false, bool WithPager = true) {
    Form = CreateNew ? std::make_unique<TZadEdevAziForm>(nullptr, 0) : std::make_unique<TZadEdevAziForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsSingle);
    Form->SetColor(Cream);
    Form->SetBounds(200, 200, 600, 400);
    if (WithPager) {
      Pager = new TZadEdevAziPager(Form.get());
      Pager->SetParent(Form.get());
      Pager->AddAdvPage(u"One");
      Pager->Loaded();
      Pager->SetTabStop(false);
    }
  }
  TFormLook Look() const {
    return {Form->BorderStyle(),
            Form->IsAeroVista(),
            Pager != nullptr && Pager->IsAeroVista(),
            Form->ColorTonesMode(),
            Pager != nullptr && Pager->UsesTones(),
            Form->GlassFrameTop(),
            Form->BorderIcons(),
            Form->BoundsRect(),
            Form->ClientRect()};
  }
  std::unique_ptr<TBitmap> Shot() {
    Form->Invalidate();
    PumpPending();
    testinput::PaintPending();
    return testinput::Grab(Form.get());
  }
  static TColor Px(const std::unique_ptr<TBitmap>& b, Integer X, Integer Y) { return b->Canvas()->Pixels(X, Y); }

  TTempHome Home;
  std::unique_ptr<TZadEdevAziForm> Form;
  TZadEdevAziPager* Pager = nullptr;
};

// How the look is left: by the form, or by its pager leaving its own.
enum class TLeave { Form, PagerOfficeTonesCleared };

struct TRoundTrip {
  const char* Name;
  bool Composition;
  TLeave Leave;
};
void PrintTo(const TRoundTrip& C, std::ostream* os) { *os << C.Name; }

class RibbonFormToneRoundTrip : public RibbonFormTones, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(RibbonFormToneRoundTrip, EntryTakesTheTonesAndLeavingRestoresEveryField) {
  const TRoundTrip c = GetParam();
  SetDesktopCompositionForTest(c.Composition);
  Make();
  Form->UpdateGlassState();  // the settled glass state, as after the composition news
  Form->Show();
  PumpPending();
  Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  PumpPending();
  const TFormLook before = Look();
  ASSERT_EQ(before.AeroVista, c.Composition);
  ASSERT_FALSE(before.Tones);

  const TColorTones t = DistinctTones(Blue);
  Form->SetColorTones(t);
  PumpPending();
  EXPECT_TRUE(toolbar::GlobalColorTones == t) << "the global record holds every field of the tones";
  EXPECT_TRUE(Form->ColorTonesMode());
  EXPECT_TRUE(Pager->UsesTones());
  EXPECT_EQ(Form->BorderStyle(), bsNone);
  EXPECT_FALSE(Form->IsAeroVista());
  EXPECT_EQ(Form->GlassFrameTop(), -1);
  EXPECT_EQ(Form->BorderClr(), Blue);
  EXPECT_EQ(Form->SizeGripColor(), Blue);
  // The client area keeps its size as the frame goes.
  EXPECT_EQ(Form->ClientRect(), before.Client);

  if (c.Leave == TLeave::Form)
    Form->RevertColorTones();
  else
    Pager->ClearOfficeTones();
  PumpPending();  // the posted activation pair
  Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  // Left by the form alone, the pager keeps its own flat look.
  TFormLook expected = before;
  if (c.Leave == TLeave::Form) expected.PagerTones = true;
  EXPECT_EQ(Look(), expected) << "border, glass, frame, icons and bounds are as before";
  EXPECT_EQ(Form->BorderStyle(), before.BorderStyle);
  EXPECT_EQ(Form->IsAeroVista(), before.AeroVista);
  EXPECT_EQ(Form->GlassFrameTop(), before.GlassFrameTop);
  EXPECT_EQ(Form->BoundsRect(), before.Bounds);
  // Leaving twice changes nothing more.
  Form->RevertColorTones();
  EXPECT_EQ(Look(), expected);
}

INSTANTIATE_TEST_SUITE_P(Looks, RibbonFormToneRoundTrip,
                         ::testing::Values(TRoundTrip{"Plain", false, TLeave::Form},
                                           TRoundTrip{"PlainLeftByThePager", false, TLeave::PagerOfficeTonesCleared},
                                           TRoundTrip{"Glass", true, TLeave::Form},
                                           TRoundTrip{"GlassLeftByThePager", true, TLeave::PagerOfficeTonesCleared}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(RibbonFormTones, RevertWithoutEntryChangesNothing) {
  Make();
  Form->Show();
  PumpPending();
  const TFormLook before = Look();
  Form->RevertColorTones();
  PumpPending();
  EXPECT_TRUE(Look() == before);
}

TEST_F(RibbonFormTones, EnteringNeverMinimizesTheApplication) {
  Make();
  Form->Show();
  PumpPending();
  Integer minimized = 0, restored = 0;
  Application->OnMinimize = [&](TObject*) { ++minimized; };
  Application->OnRestore = [&](TObject*) { ++restored; };
  std::vector<TWindowState> states;
  auto inner = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    states.push_back(Form->WindowState());
    inner(M);
  };
  Form->SetColorTones(DistinctTones(Blue));
  PumpPending();
  Form->WindowProc = inner;
  Application->OnMinimize = nullptr;
  Application->OnRestore = nullptr;
  ASSERT_TRUE(Form->ColorTonesMode());
  EXPECT_EQ(minimized, 0);
  EXPECT_EQ(restored, 0);
  EXPECT_TRUE(Form->Visible());
  EXPECT_EQ(Form->WindowState(), wsNormal);
  for (TWindowState s : states) EXPECT_NE(s, wsMinimized);
}

TEST_F(RibbonFormTones, TonesSentWhileLoadingWaitForTheLoadedForm) {
  toolbar::GlobalColorTones = DistinctTones(Green);
  // The constructor takes the global tones while the form is still loading.
  Form = std::make_unique<TZadEdevAziForm>(nullptr);
  EXPECT_TRUE(Form->ColorTonesDeferred());
  EXPECT_FALSE(Form->ColorTonesMode());
  const TFormBorderStyle loadingStyle = Form->BorderStyle();
  Form->AfterConstruction();
  EXPECT_FALSE(Form->ColorTonesMode()) << "nothing visible changes before the posted message";
  EXPECT_EQ(Form->BorderStyle(), loadingStyle);
  PumpPending();
  EXPECT_FALSE(Form->ColorTonesDeferred());
  EXPECT_TRUE(Form->ColorTonesMode());
  EXPECT_EQ(Form->BorderClr(), Green);
  EXPECT_EQ(Form->BorderStyle(), bsNone);
}

// The three ways in: the call, and the two registered messages, each taking
// its own record; the other record is left as it was.
enum class TEntry { Call, MetroMessage, OfficeMessage };
struct TEntryCase {
  const char* Name;
  TEntry Entry;
};
void PrintTo(const TEntryCase& C, std::ostream* os) { *os << C.Name; }

class RibbonFormToneEntry : public RibbonFormTones, public ::testing::WithParamInterface<TEntryCase> {};

TEST_P(RibbonFormToneEntry, EachWayInTakesItsRecordFieldByField) {
  Make();
  Form->Show();
  PumpPending();
  const TColorTones given = DistinctTones(Blue), app = DistinctTones(Green);
  toolbar::GlobalAppButtonTones = app;
  switch (GetParam().Entry) {
    case TEntry::Call:
      Form->SetColorTones(given);
      break;
    case TEntry::MetroMessage:
      toolbar::GlobalColorTones = given;
      Form->Perform(toolbar::WM_TBSETMETRO, 1, 0);
      break;
    case TEntry::OfficeMessage:
      Form->Perform(toolbar::WM_TBSETOFFICE2013, 1, 0);
      break;
  }
  const TColorTones& taken = GetParam().Entry == TEntry::OfficeMessage ? app : given;
  EXPECT_TRUE(Form->ColorTonesMode());
  EXPECT_TRUE(toolbar::GlobalColorTones == taken) << "every field of the record";
  EXPECT_TRUE(toolbar::GlobalAppButtonTones == app) << "the application-button record is left alone";
  EXPECT_EQ(Form->BorderClr(), taken.Selected.BrushColor);
  EXPECT_EQ(Form->SizeGripColor(), taken.Selected.BrushColor);
  EXPECT_FALSE(Form->ColorTonesDeferred());
}

INSTANTIATE_TEST_SUITE_P(Ways, RibbonFormToneEntry,
                         ::testing::Values(TEntryCase{"Call", TEntry::Call},
                                           TEntryCase{"MetroMessage", TEntry::MetroMessage},
                                           TEntryCase{"OfficeMessage", TEntry::OfficeMessage}),
                         [](const auto& I) { return std::string(I.param.Name); });

// --- painting, sampled at 96 and 144 pixels per inch ---

class RibbonFormPaint : public RibbonFormTones, public ::testing::WithParamInterface<Integer> {
 protected:
  void Scale() {
    const Integer ppi = GetParam();
    toolbar::ToolBarPPI = toolbar::ScreenPPI = ppi;
    toolbar::ToolBarDPIScale = Single(ppi) / 96.0f;
    if (ppi != 96 && Pager != nullptr) Pager->ChangeScale(ppi, 96, true);
    // The family's scale stays as set: the pager's rescaling may measure it.
    toolbar::ToolBarDPIScale = Single(ppi) / 96.0f;
  }
};

TEST_P(RibbonFormPaint, ColourTonesFrameSideLinesAndSizeGrip) {
  Make();
  Scale();
  Form->SetSizeGrip(true);
  Form->Show();
  PumpPending();
  Form->SetColorTones(DistinctTones(Blue));
  PumpPending();
  const auto b = Shot();
  const Integer w = b->Width(), h = b->Height();
  ASSERT_EQ(w, Form->ClientWidth());
  // The side line runs from the top for 25 pixels at the family's scale
  // below the caption, not for a pixels-per-inch number of them.
  const Integer len = Form->SideLineLength();
  EXPECT_EQ(len, (GetParam() == 96 ? 25 : 38) + Pager->Caption()->Height());
  ASSERT_LT(len + 4, Pager->Top() + Pager->Height()) << "the side line ends beside the pager";
  EXPECT_TRUE(Near(Px(b, 1, len - 2), Blue)) << "side line";
  EXPECT_FALSE(Near(Px(b, 1, len + 3), Blue)) << "below the side line";
  EXPECT_TRUE(Near(Px(b, 0, h / 2), Blue)) << "frame, left";
  EXPECT_TRUE(Near(Px(b, w - 1, h / 2), Blue)) << "frame, right";
  EXPECT_TRUE(Near(Px(b, w / 2, h - 1), Blue)) << "frame, bottom";
  EXPECT_TRUE(Near(Px(b, w / 2, h / 2 + 60), Cream)) << "client area";
  // The grip: dots of 2 x 2 pixels every 3, right-aligned 3 pixels in.
  const Integer r = w - 3, bottom = h - 3;
  EXPECT_TRUE(Near(Px(b, r - 1, bottom - 1), Blue)) << "bottom-right dot";
  EXPECT_TRUE(Near(Px(b, r - 10, bottom - 1), Blue)) << "fourth dot of the bottom row";
  EXPECT_FALSE(Near(Px(b, r - 3, bottom - 1), Blue)) << "gap between dots";
  EXPECT_TRUE(Near(Px(b, r - 1, bottom - 10), Blue)) << "the top row's one dot";
  EXPECT_FALSE(Near(Px(b, r - 4, bottom - 10), Blue)) << "left of the top row's dot";
}

TEST_P(RibbonFormPaint, MaximizedColourTonesShowNoSizeGrip) {
  Make();
  Scale();
  Form->SetSizeGrip(true);
  Form->Show();
  PumpPending();
  Form->SetColorTones(DistinctTones(Blue));
  Form->SetWindowState(wsMaximized);
  PumpPending();
  const auto b = Shot();
  EXPECT_FALSE(Near(Px(b, b->Width() - 4, b->Height() - 4), Blue));
  EXPECT_TRUE(Near(Px(b, b->Width() - 4, b->Height() - 1), Blue)) << "the frame stays";
}

TEST_P(RibbonFormPaint, FormMadeByCreateNewDrawsOnePixelSideLines) {
  Make(true);
  Scale();
  Form->Show();
  PumpPending();
  Form->SetColorTones(DistinctTones(Blue));
  PumpPending();
  EXPECT_EQ(Form->SideLineWidth(), 0);
  const auto b = Shot();
  const Integer len = Form->SideLineLength();
  EXPECT_TRUE(Near(Px(b, 1, len / 2), Blue)) << "the one-pixel line at x 1";
  EXPECT_TRUE(Near(Px(b, 0, len / 2), Blue)) << "and at x 0";
}

TEST_P(RibbonFormPaint, SingleBorderInTheStylersColourThickerWhenAsked) {
  Make();
  Scale();
  Pager->CurrentToolBarStyler()->SetFormBorderColor(Green);
  Form->SetSingleBorder(true);
  ASSERT_TRUE(Form->UsesSingleBorder());
  Form->Show();
  PumpPending();
  auto b = Shot();
  const Integer w = b->Width(), h = b->Height();
  EXPECT_TRUE(Near(Px(b, 0, h - 20), Green));
  EXPECT_TRUE(Near(Px(b, w / 2, h - 1), Green));
  EXPECT_FALSE(Near(Px(b, 2, h - 20), Green)) << "one pixel wide";
  Form->SetThickBorder(true);
  b = Shot();
  // A pen of round(4 x scale) pixels: 4 at 96, 6 at 144.
  const Integer pen = GetParam() == 96 ? 4 : 6;
  EXPECT_TRUE(Near(Px(b, 0, h - 20), Green));
  EXPECT_TRUE(Near(Px(b, pen - 1, h - 20), Green)) << "inner edge of the thick border";
  EXPECT_FALSE(Near(Px(b, pen + 1, h - 20), Green)) << "inside the thick border";
  EXPECT_TRUE(Near(Px(b, w - pen, h - 20), Green)) << "right band";
  EXPECT_TRUE(Near(Px(b, w / 2, h - pen), Green)) << "bottom band";
}

TEST_P(RibbonFormPaint, GlassFramesTheClientAreaBelowTheCaptionBand) {
  SetDesktopCompositionForTest(true);
  Make();
  Scale();
  ASSERT_TRUE(Form->IsAeroVista());
  Form->Show();
  PumpPending();
  const auto b = Shot();
  const Integer band = toolbar::ScaledCaptionHeight;
  EXPECT_TRUE(Near(Px(b, 0, band + 20), clBlack)) << "the black frame beside the pager";
  EXPECT_TRUE(Near(Px(b, 0, b->Height() - 1), clBlack));
  EXPECT_FALSE(Near(Px(b, 0, band - 3), clBlack)) << "the caption band stays unframed";
}

TEST_P(RibbonFormPaint, PlainMaximizedFormFramesItsWorkAreaInTheBorderColour) {
  Make();
  Scale();
  Pager->CurrentToolBarStyler()->SetFormBorderColor(Green);
  Form->Show();
  Form->SetWindowState(wsMaximized);
  PumpPending();
  ASSERT_TRUE(Form->IsMaxSizeConstrained());
  const auto b = Shot();
  const Integer x = Form->Width() - 7;
  ASSERT_LT(x, b->Width());
  EXPECT_TRUE(Near(Px(b, x, b->Height() - 30), Green));
  EXPECT_FALSE(Near(Px(b, x - 3, b->Height() - 30), Green));
}

INSTANTIATE_TEST_SUITE_P(PPI, RibbonFormPaint, ::testing::Values(96, 144));

// --- the shadow window ---

TEST(RibbonShadow, FoundByClassAndPlaceAmongVisibleWindows) {
  auto h = [](std::intptr_t n) { return reinterpret_cast<HWND>(n); };
  const std::vector<TShadowCandidate> windows = {
      {h(1), false, u"SysShadow", TRect{200, 200, 800, 600}},  // invisible
      {h(2), true, u"TForm", TRect{200, 200, 800, 600}},       // another class
      {h(3), true, u"SysShadowX", TRect{200, 200, 800, 600}},  // a longer name
      {h(4), true, u"SysShadow", TRect{201, 200, 801, 600}},   // elsewhere
      {h(5), true, u"SysShadow", TRect{200, 200, 805, 605}},
      {h(6), true, u"SysShadow", TRect{200, 200, 805, 605}},  // after the first match
  };
  EXPECT_EQ(FindSysShadow(windows, TPoint{200, 200}), h(5));
  EXPECT_EQ(FindSysShadow(windows, TPoint{0, 0}), nullptr);
  EXPECT_EQ(FindSysShadow({}, TPoint{200, 200}), nullptr);
}

TEST(RibbonShadow, RememberedHandleIsDroppedOnceItIsNoLongerTheShadow) {
  auto h = [](std::intptr_t n) { return reinterpret_cast<HWND>(n); };
  const std::vector<TShadowCandidate> now = {
      {h(7), true, u"SysShadow", TRect{0, 0, 10, 10}},
      {h(8), true, u"TForm", TRect{0, 0, 10, 10}},      // the handle now names another window
      {h(9), false, u"SysShadow", TRect{0, 0, 10, 10}},  // hidden
  };
  EXPECT_EQ(KeepSysShadow(h(7), now), h(7));
  EXPECT_EQ(KeepSysShadow(h(8), now), nullptr);
  EXPECT_EQ(KeepSysShadow(h(9), now), nullptr);
  EXPECT_EQ(KeepSysShadow(h(10), now), nullptr) << "gone from this thread's windows";
  EXPECT_EQ(KeepSysShadow(nullptr, now), nullptr);
}

TEST_F(RibbonFormTones, AnotherOfOurWindowsAtTheSamePlaceIsNeverTakenForTheShadow) {
  Make();
  Form->Show();
  PumpPending();
  Form->SetColorTones(DistinctTones(Blue));
  TForm other(nullptr);
  other.AfterConstruction();
  other.SetBorderStyle(bsNone);
  other.SetBounds(Form->Left(), Form->Top(), 100, 100);
  other.Show();
  PumpPending();
  Form->SetBounds(Form->Left(), Form->Top(), 610, 400);  // WM_SIZE: the shadow is looked for
  Form->UpdateSysShadow();
  EXPECT_EQ(Form->SysShadowHandle(), nullptr);
}

// --- the pure pieces ---

TEST(RibbonFlatFrame, SideLineLengthAndGripDots) {
  EXPECT_EQ(RibbonSideLineLength(1.0f, 26), 51);
  EXPECT_EQ(RibbonSideLineLength(1.5f, 39), 77);
  EXPECT_EQ(RibbonSideLineLength(1.25f, 33), 64);  // 31.25 rounds to 31
  const std::vector<TRect> dots = RibbonSizeGripSquares(100, 50);
  ASSERT_EQ(dots.size(), 10u);
  EXPECT_EQ(dots[0], (TRect{98, 48, 100, 50}));
  EXPECT_EQ(dots[3], (TRect{89, 48, 91, 50}));
  EXPECT_EQ(dots[4], (TRect{98, 45, 100, 47}));
  EXPECT_EQ(dots[9], (TRect{98, 39, 100, 41}));
}

}  // namespace
}  // namespace form_tones_test
}  // namespace ribbon
