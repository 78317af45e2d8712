// The styler's defaults, how its setters reach the menu, the indexed colour
// errors, glyph resolution classes, assignment, and the office presets.
#include "menus/AdvMenuOfficeStyler.h"
#include "menus/AdvMenuStyler.h"
#include "platform/vcl/Canvas.h"
#include "tests/menus/MenuFixture.h"

namespace {

using Styler = TCustomAdvMenuStyler;

TEST_F(MenuTest, StylerDefaults) {
  TAdvMenuStyler s(nullptr);
  struct Row {
    const char* Name;
    TColor Got, Want;
  } rows[] = {
      {"IconBar.Color", s.IconBar()->Color(), 0x00FFF9F9},
      {"IconBar.ColorTo", s.IconBar()->ColorTo(), 0x00BBA0A1},
      {"IconBar.CheckColor", s.IconBar()->CheckColor(), 0x006FC0FF},
      {"IconBar.CheckBorder", s.IconBar()->CheckBorder(), 0x006F4B4B},
      {"IconBar.SeparatorColor", s.IconBar()->SeparatorColor(), clNone},
      {"SelectedItem.Color", s.SelectedItem()->Color(), 0x00C2EEFF},
      {"SelectedItem.ColorMirror", s.SelectedItem()->ColorMirror(), clNone},
      {"SelectedItem.CheckColor", s.SelectedItem()->CheckColor(), 0x003E80FE},
      {"SelectedItem.BorderColor", s.SelectedItem()->BorderColor(), 0x006F4B4B},
      {"RootItem.Color", s.RootItem()->Color(), 0x00E5D7D7},
      {"RootItem.ColorTo", s.RootItem()->ColorTo(), 0x00F7F2F2},
      {"RootItem.SelectedColor", s.RootItem()->SelectedColor(), 0x00F2E8E8},
      {"RootItem.SelectedColorTo", s.RootItem()->SelectedColorTo(), 0x00CDB8B9},
      {"RootItem.SelectedBorderColor", s.RootItem()->SelectedBorderColor(), 0x00947C7C},
      {"RootItem.HoverColor", s.RootItem()->HoverColor(), 0x00CFF6FF},
      {"RootItem.HoverColorTo", s.RootItem()->HoverColorTo(), 0x009DD8FF},
      {"RootItem.HoverTextColor", s.RootItem()->HoverTextColor(), clWindowText},
      {"Background.Color", s.Background()->Color(), 0x00FFFAFD},
      {"Background.ColorTo", s.Background()->ColorTo(), clNone},
      {"Separator.Color", s.Separator()->Color(), 0x008F6D6E},
      {"SideBar.BorderColor", s.SideBar()->BorderColor(), 0x00A19D9D},
      {"SideBar.SplitterColor", s.SideBar()->SplitterColor(), 0x00808080},
      {"SideBar.Font.Color", s.SideBar()->Font()->Color(), 0x00FFFFFF},
      {"MenuBorderColor", s.MenuBorderColor(), 0x007C7C94},
      {"NotesFont.Color", s.NotesFont()->Color(), 0x00808080},
      {"ButtonAppearance.DownColor", s.ButtonAppearance()->DownColor(), 0x00B59285},
      {"ButtonAppearance.HoverColor", s.ButtonAppearance()->HoverColor(), 0x00D2BDB6},
      {"ButtonAppearance.HoverBorderColor", s.ButtonAppearance()->HoverBorderColor(), 0x006A240A},
      {"ButtonAppearance.Color", s.ButtonAppearance()->Color(), clNone},
  };
  for (const Row& r : rows) EXPECT_EQ(r.Got, r.Want) << r.Name;
  EXPECT_EQ(s.IconBar()->Size(), 24);
  EXPECT_EQ(s.IconBar()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.RootItem()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.Background()->Position(), bpCenter);
  EXPECT_EQ(s.Separator()->Width(), 1);
  EXPECT_EQ(s.Separator()->Margin(), 2);
  EXPECT_EQ(s.Separator()->GradientType(), gtBoth);
  EXPECT_EQ(s.SideBar()->Size(), 24);
  EXPECT_FALSE(s.SideBar()->Visible());
  EXPECT_EQ(s.SideBar()->VisibleIn(), viFirstVisible);
  EXPECT_EQ(s.SideBar()->Font()->Name(), u"Tahoma");
  EXPECT_EQ(s.SideBar()->Font()->Size(), 14);
  EXPECT_TRUE(s.UseSystemFont());
  EXPECT_EQ(s.Font()->Height(), -12);
  EXPECT_EQ(s.AntiAlias(), aaNone);
  EXPECT_EQ(s.ButtonAppearance()->CaptionFont()->Name(), u"Segoe UI");
  EXPECT_EQ(s.Glyphs()->ResType(), rtx1);
  EXPECT_EQ(s.Menu(), nullptr);
}

// Each setter against a menu that records refreshes: what it stores and whether
// it repaints, rebuilds or tells the menu nothing.
TEST_F(MenuTest, SettersStoreAndNotifyTheMenuAsTheirKindAsks) {
  TRecordingPopupMenu menu(nullptr);
  TAdvMenuStyler s(nullptr);
  menu.SetMenuStyler(&s);
  TFont font;
  font.SetColor(0x00123456);
  TBitmap glyph(3, 3);
  enum Expect { None, Repaint, Rebuild };
  struct Case {
    const char* Name;
    std::function<void()> Set;
    std::function<bool()> Stored;
    Expect Want;
  } cases[] = {
      {"IconBar.Color", [&] { s.IconBar()->SetColor(1); }, [&] { return s.IconBar()->Color() == 1; }, None},
      {"IconBar.CheckColor", [&] { s.IconBar()->SetCheckColor(2); }, [&] { return s.IconBar()->CheckColor() == 2; },
       Repaint},
      {"IconBar.RadioColorTo", [&] { s.IconBar()->SetRadioColorTo(3); },
       [&] { return s.IconBar()->RadioColorTo() == 3; }, Repaint},
      {"IconBar.Size", [&] { s.IconBar()->SetSize(30); }, [&] { return s.IconBar()->Size() == 30; }, Rebuild},
      {"IconBar.CheckBorder", [&] { s.IconBar()->SetCheckBorder(4); }, [&] { return s.IconBar()->CheckBorder() == 4; },
       None},
      {"SelectedItem.Font", [&] { s.SelectedItem()->SetFont(&font); },
       [&] { return s.SelectedItem()->Font()->Color() == 0x00123456; }, Rebuild},
      {"SelectedItem.UseSystemFont", [&] { s.SelectedItem()->SetUseSystemFont(false); },
       [&] { return !s.SelectedItem()->UseSystemFont(); }, Rebuild},
      {"SelectedItem.CheckColor", [&] { s.SelectedItem()->SetCheckColor(5); },
       [&] { return s.SelectedItem()->CheckColor() == 5; }, Repaint},
      {"SelectedItem.ColorMirror", [&] { s.SelectedItem()->SetColorMirror(6); },
       [&] { return s.SelectedItem()->ColorMirror() == 6; }, None},
      {"RootItem.HoverColorMirror", [&] { s.RootItem()->SetHoverColorMirror(7); },
       [&] { return s.RootItem()->HoverColorMirror() == 7; }, Rebuild},
      {"RootItem.SelectedColorTo", [&] { s.RootItem()->SetSelectedColorTo(8); },
       [&] { return s.RootItem()->GetSelectedColor(1) == 8; }, Rebuild},
      {"RootItem.UseSystemFont", [&] { s.RootItem()->SetUseSystemFont(false); },
       [&] { return !s.RootItem()->UseSystemFont(); }, Rebuild},
      {"RootItem.HoverTextColor", [&] { s.RootItem()->SetHoverTextColor(9); },
       [&] { return s.RootItem()->HoverTextColor() == 9; }, None},
      {"Background.Image", [&] { s.Background()->SetImage(nullptr); }, [] { return true; }, Repaint},
      {"Separator.Margin", [&] { s.Separator()->SetMargin(5); }, [&] { return s.Separator()->Margin() == 5; }, None},
      {"Glyphs.Check", [&] { s.Glyphs()->SetCheck(&glyph); }, [&] { return s.Glyphs()->Check()->Width() == 3; },
       Repaint},
      {"AntiAlias", [&] { s.SetAntiAlias(aaClearType); }, [&] { return s.AntiAlias() == aaClearType; }, Rebuild},
      {"Font", [&] { s.SetFont(&font); }, [&] { return s.Font()->Color() == 0x00123456; }, Rebuild},
      {"NotesFont", [&] { s.SetNotesFont(&font); }, [&] { return s.NotesFont()->Color() == 0x00123456; }, Rebuild},
      {"UseSystemFont", [&] { s.SetUseSystemFont(false); }, [&] { return !s.UseSystemFont(); }, Rebuild},
      {"SideBar", [&] { s.SetSideBar(s.SideBar()); }, [] { return true; }, Rebuild},
      {"Separator", [&] { s.SetSeparator(s.Separator()); }, [] { return true; }, Repaint},
      {"MenuBorderColor", [&] { s.SetMenuBorderColor(10); }, [&] { return s.MenuBorderColor() == 10; }, None},
      {"ButtonAppearance", [&] { s.SetButtonAppearance(s.ButtonAppearance()); }, [] { return true; }, None},
      // A side bar's visibility rebuilds only a main menu with a window.
      {"SideBar.Visible", [&] { s.SideBar()->SetVisible(true); }, [&] { return s.SideBar()->Visible(); }, None},
  };
  for (const Case& c : cases) {
    menu.Log.clear();
    c.Set();
    EXPECT_TRUE(c.Stored()) << c.Name;
    std::vector<std::string> want;
    if (c.Want == Repaint) want = {"repaint"};
    if (c.Want == Rebuild) want = {"rebuild"};
    EXPECT_EQ(menu.Log, want) << c.Name;
  }
  menu.SetMenuStyler(nullptr);
}

TEST_F(MenuTest, IndexedColoursRefuseIndexesOutsideTheirRange) {
  TAdvMenuStyler s(nullptr);
  EXPECT_THROW(s.IconBar()->GetColor(2), EInvalidPropertyIndex);
  EXPECT_THROW(s.IconBar()->SetCheckColor(-1, 0), EInvalidPropertyIndex);
  EXPECT_THROW(s.SelectedItem()->GetRadioColor(2), EInvalidPropertyIndex);
  EXPECT_THROW(s.RootItem()->SetHoverColor(4, 0), EInvalidPropertyIndex);
  EXPECT_EQ(s.RootItem()->GetHoverColor(3), clNone);
  try {
    s.RootItem()->GetSelectedColor(7);
    FAIL();
  } catch (const EInvalidPropertyIndex& e) {
    EXPECT_EQ(e.Message(), u"Invalid property index 7.");
  }
  EXPECT_EQ(s.RootItem()->SelectedColor(), 0x00F2E8E8);  // nothing changed
}

TEST_F(MenuTest, IconBarSizeNeverGoesBelowSixteen) {
  TAdvMenuStyler s(nullptr);
  s.IconBar()->SetSize(10);
  EXPECT_EQ(s.IconBar()->Size(), 16);
  s.IconBar()->SetSize(30);
  EXPECT_EQ(s.IconBar()->Size(), 30);
}

TEST_F(MenuTest, BackgroundImageNilFreesThePictureAndPositionsFollowTheCorner) {
  TAdvMenuStyler s(nullptr);
  TBackground* bg = s.Background();
  TPicture pic;
  TBitmap bmp(10, 6);
  pic.SetGraphic(&bmp);
  bg->SetImage(&pic);
  EXPECT_TRUE(bg->HasPicture());
  EXPECT_TRUE(bg->Image()->Bitmap()->Transparent());
  const TRect r{100, 50, 200, 90};
  struct Pos {
    TBackgroundPosition P;
    Integer X, Y;
  } table[] = {{bpTopLeft, 103, 54},     {bpTopRight, 193, 54},   {bpBottomLeft, 103, 88},
               {bpBottomRight, 193, 88}, {bpTopCenter, 148, 54},  {bpBottomCenter, 148, 88},
               {bpCenter, 148, 71},      {bpTiled, 100, 50},      {bpXY, 100, 50}};
  bg->SetOffsetX(3);
  bg->SetOffsetY(4);
  for (const Pos& p : table) {
    bg->SetPosition(p.P);
    Integer x = 0, y = 0;
    bg->CalcPicturePosition(r, x, y);
    EXPECT_EQ(x, p.X) << int(p.P);
    EXPECT_EQ(y, p.Y) << int(p.P);
  }
  bg->SetImage(nullptr);
  EXPECT_FALSE(bg->HasPicture());
  Integer x = 0, y = 0;
  bg->CalcPicturePosition(r, x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  EXPECT_NE(bg->Image(), nullptr);  // a new empty picture
  EXPECT_EQ(bg->Image()->Graphic(), nullptr);
}

TEST_F(MenuTest, GlyphsFollowTheResolutionClassAndKeepUserBitmapsWithinIt) {
  TAdvMenuStyler s(nullptr);
  TMenuGlyphs* g = s.Glyphs();
  EXPECT_EQ(g->SubMenu()->Width(), 4);
  EXPECT_EQ(g->SubMenu()->Height(), 7);
  EXPECT_EQ(g->Check()->Width(), 16);
  TBitmap mine(5, 5);
  g->SetCheck(&mine);
  g->UpdateResources(1.25f);
  g->UpdateResources(1.4f);
  EXPECT_EQ(g->Check()->Width(), 5);  // same class: the user's bitmap stays
  g->UpdateResources(1.5f);
  EXPECT_EQ(g->ResType(), rtx15);
  EXPECT_EQ(g->Check()->Width(), 24);
  EXPECT_EQ(g->SubMenu()->Width(), 6);
  EXPECT_EQ(g->SubMenu()->Height(), 10);
  g->UpdateResources(2.0f);
  EXPECT_EQ(g->ResType(), rtx2);
  EXPECT_EQ(g->Radio()->Width(), 32);
  EXPECT_EQ(g->SubMenu()->Height(), 14);
  TBitmap unknown;
  LoadMenuGlyphResource(u"NOSUCHGLYPH", &unknown);
  EXPECT_TRUE(unknown.Empty());
}

TEST_F(MenuTest, GlyphBitmapsHaveTheirShapes) {
  TBitmap arrow, radio, check;
  LoadMenuGlyphResource(u"ADVSUBMENUITEM", &arrow);
  LoadMenuGlyphResource(u"ADVRADIOITEM", &radio);
  LoadMenuGlyphResource(u"ADVCHECKITEM", &check);
  const TColor ink = 0, paper = 0x00FFFFFF;
  // The arrow: a full first column narrowing to its tip at the middle row.
  for (int y = 0; y < 7; ++y) EXPECT_EQ(arrow.Canvas()->Pixels(0, y), ink) << y;
  EXPECT_EQ(arrow.Canvas()->Pixels(3, 3), ink);
  EXPECT_EQ(arrow.Canvas()->Pixels(3, 0), paper);
  EXPECT_EQ(arrow.Canvas()->Pixels(3, 6), paper);
  // The dot: 6 pixels across at the centre.
  int across = 0;
  for (int x = 0; x < 16; ++x) across += radio.Canvas()->Pixels(x, 8) == ink;
  EXPECT_EQ(across, 6);
  EXPECT_EQ(radio.Canvas()->Pixels(0, 0), paper);
  // The check mark: ink on the lower-left stroke and the upper-right end, none in the corners.
  EXPECT_EQ(check.Canvas()->Pixels(6, 10), ink);
  EXPECT_EQ(check.Canvas()->Pixels(11, 5), ink);
  EXPECT_EQ(check.Canvas()->Pixels(0, 0), paper);
  EXPECT_EQ(check.Canvas()->Pixels(15, 15), paper);
}

TEST_F(MenuTest, StylerAssignCopiesTheLookButKeepsBorderAntiAliasAndButtons) {
  TAdvMenuStyler a(nullptr), b(nullptr);
  a.IconBar()->SetSize(40);
  a.SelectedItem()->SetColorMirror(0x00112233);
  a.RootItem()->SetHoverColor(0x00445566);
  a.SetMenuBorderColor(0x00010203);
  a.SetAntiAlias(aaAntiAlias);
  a.ButtonAppearance()->SetDownColor(0x00070809);
  a.Font()->SetColor(0x00ABCDEF);
  a.SetUseSystemFont(false);
  b.Assign(&a);
  EXPECT_EQ(b.IconBar()->Size(), 40);
  EXPECT_EQ(b.SelectedItem()->ColorMirror(), 0x00112233);
  EXPECT_EQ(b.RootItem()->HoverColor(), 0x00445566);
  EXPECT_EQ(b.Font()->Color(), 0x00ABCDEF);
  EXPECT_FALSE(b.UseSystemFont());
  EXPECT_EQ(b.MenuBorderColor(), 0x007C7C94);
  EXPECT_EQ(b.AntiAlias(), aaNone);
  EXPECT_EQ(b.ButtonAppearance()->DownColor(), 0x00B59285);

  TButtonAppearance x, y;
  x.SetHoverColorTo(0x00111111);
  x.SetGradientDirection(gdHorizontal);
  int changes = 0;
  y.OnChange = [&](TObject*) { ++changes; };
  y.Assign(&x);
  EXPECT_EQ(y.HoverColorTo(), 0x00111111);
  EXPECT_EQ(y.GradientDirection(), gdHorizontal);
  EXPECT_EQ(changes, 0);
  y.SetHoverColorTo(0x00111111);  // unchanged: no event
  y.SetDownColor(0x00222222);
  EXPECT_EQ(changes, 1);
}

// ---------------------------------------------------------------------------
// Office presets

TEST_F(MenuTest, PublishedPresetsAreAppliedExactly) {
  TAdvMenuOfficeStyler s(nullptr);
  s.SetStyle(osOffice2019Black);
  EXPECT_EQ(s.Background()->Color(), 0x003B3B3B);
  EXPECT_EQ(s.MenuBorderColor(), 0x00ADB0B3);
  EXPECT_EQ(s.Font()->Color(), 0x00FFFFFF);
  EXPECT_FALSE(s.UseSystemFont());
  EXPECT_EQ(s.RootItem()->GradientDirection(), gdVertical);
  EXPECT_EQ(s.RootItem()->HoverColorMirror(), 0x00686868);
  EXPECT_EQ(s.RootItem()->SelectedTextColor(), 0x00FFFFFF);
  EXPECT_FALSE(s.RootItem()->UseSystemFont());
  EXPECT_EQ(s.SelectedItem()->Font()->Color(), 0x00FFFFFF);
  EXPECT_FALSE(s.SelectedItem()->UseSystemFont());
  EXPECT_EQ(s.IconBar()->SeparatorColor(), 0x00686868);
  EXPECT_EQ(s.IconBar()->CheckBorder(), 0x005C5E60);
  EXPECT_EQ(s.ButtonAppearance()->HoverBorderColor(), 0x00B5B5B5);

  s.SetStyle(osOffice2003Blue);
  EXPECT_EQ(s.Background()->Color(), 0x00F6F6F6);
  EXPECT_EQ(s.RootItem()->Color(), 0x00F5BE9E);
  EXPECT_EQ(s.RootItem()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.RootItem()->SelectedColorTo(), 0x00E7B593);
  EXPECT_EQ(s.SelectedItem()->BorderColor(), 0x00800000);
  EXPECT_EQ(s.IconBar()->ColorTo(), 0x00E4AD87);
  EXPECT_EQ(s.Separator()->Color(), 0x00CB8C6A);
  EXPECT_EQ(s.ButtonAppearance()->DownColorTo(), 0x0091D3FF);
  EXPECT_TRUE(s.UseSystemFont());
  EXPECT_EQ(s.Font()->Color(), clWindowText);
  // Properties the blue preset does not set keep the black one's.
  EXPECT_EQ(s.IconBar()->SeparatorColor(), 0x00686868);

  s.SetStyle(osOfficeXP);
  EXPECT_EQ(s.Background()->Color(), clWindow);
  EXPECT_EQ(s.RootItem()->SelectedBorderColor(), 0x007A868A);
  EXPECT_EQ(s.SelectedItem()->CheckBorder(), 0x00EFD3C6);
  EXPECT_EQ(s.ButtonAppearance()->DownColor(), 0x00B59284);
}

TEST_F(MenuTest, PresetsTouchOnlyTheirProperties) {
  TAdvMenuOfficeStyler s(nullptr);
  s.Font()->SetColor(0x00010101);
  s.SetUseSystemFont(false);
  s.IconBar()->SetSize(33);
  s.SetAntiAlias(aaAntiAlias);
  s.SetStyle(osCustom);
  EXPECT_EQ(s.Font()->Color(), clWindowText);
  EXPECT_TRUE(s.UseSystemFont());
  EXPECT_EQ(s.Background()->Color(), 0x00FFFAFD);  // unchanged default
  for (int st = 0; st <= osOffice2019Black; ++st) {
    s.SetStyle(TOfficeStyle(st));
    EXPECT_EQ(s.IconBar()->Size(), 33) << st;
    EXPECT_EQ(s.AntiAlias(), aaAntiAlias) << st;
    EXPECT_EQ(s.Separator()->Margin(), 2) << st;
    EXPECT_EQ(s.IconBar()->GradientDirection(), gdHorizontal) << st;
  }
  // White after black: the styler's font is the system's again, the item fonts stay custom.
  s.SetStyle(osOffice2019Black);
  s.SetStyle(osOffice2019White);
  EXPECT_TRUE(s.UseSystemFont());
  EXPECT_FALSE(s.RootItem()->UseSystemFont());
  EXPECT_FALSE(s.SelectedItem()->UseSystemFont());
  // The 2016 black preset keeps a white highlight with black text.
  s.SetStyle(osOffice2016Black);
  EXPECT_EQ(s.SelectedItem()->Color(), 0x00FFFFFF);
  EXPECT_EQ(s.SelectedItem()->Font()->Color(), 0x00000000);
  EXPECT_EQ(s.Font()->Color(), 0x00FFFFFF);
}

TEST_F(MenuTest, SharedStylesMapOntoPresets) {
  TAdvMenuOfficeStyler s(nullptr);
  struct Map {
    TVornStyle In;
    TOfficeStyle Out;
  } table[] = {{tsWindowsXP, osOfficeXP},           {tsOffice2003Classic, osOfficeXP},
               {tsOffice2003Olive, osOffice2003Olive}, {tsWhidbey, osWhidbey},
               {tsWindowsVista, osVista},           {tsOffice2013LightGray, osOffice2013LightGray},
               {tsWindows10, osWindows10},          {tsOffice2019Gray, osOffice2019Gray}};
  for (const Map& m : table) {
    s.SetComponentStyle(m.In);
    EXPECT_EQ(s.Style(), m.Out) << int(m.In);
  }
  s.SetComponentStyle(tsCustom);
  EXPECT_EQ(s.Style(), osOffice2019Gray);
  s.SetComponentStyle(TVornStyle(99));
  EXPECT_EQ(s.Style(), osOffice2019Gray);
}

TEST_F(MenuTest, AutoThemeFollowsTheDesktopSchemeOnLoadAndThemeChange) {
  TForm form(nullptr);
  form.AfterConstruction();
  auto& s = *new TAdvMenuOfficeStyler(&form);  // owned by the form, whose window carries the notifier
  ASSERT_EQ(s.NotifierWindow()->Parent(), &form);
  s.SetStyle(osWhidbey);
  s.SetAutoThemeAdapt(true);  // the desktop's scheme is "NormalColor"
  EXPECT_EQ(s.Style(), osOffice2003Blue);
  s.SetStyle(osWhidbey);
  s.Loaded();
  EXPECT_EQ(s.Style(), osOffice2003Blue);
  s.SetStyle(osWhidbey);
  SendMessage(s.NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(s.Style(), osOffice2003Blue);
  s.SetAutoThemeAdapt(false);
  s.SetStyle(osWhidbey);
  SendMessage(s.NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(s.Style(), osWhidbey);
}

}  // namespace
