#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/style/AppStyler.h"
#include "foundation/style/ThemeNotifier.h"
#include "platform/rtl/Registry.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"

// The screen resolution the drawing layer reports; tests change it to see scaling.
namespace gdi_internal {
void SetScreenPixelsPerInch(int ppi);
}

namespace {

using Log = std::vector<std::string>;

std::string StyleText(TVornStyle s) { return std::to_string(static_cast<int>(s)); }

// Components that record what a styler passes them.
class TStyled : public TComponent, public IVornStyle {
 public:
  TStyled(TComponent* owner, Log* log, std::string name) : TComponent(owner), L(log), N(std::move(name)) {}
  void SetComponentStyle(TVornStyle s) override { L->push_back(N + ":" + StyleText(s)); }
  Log* L;
  std::string N;
};

class TStyledEx : public TComponent, public IVornStyleEx, public virtual IVornStyle {
 public:
  TStyledEx(TComponent* owner, Log* log, std::string name) : TComponent(owner), L(log), N(std::move(name)) {}
  void SetComponentStyle(TVornStyle s) override { L->push_back(N + ":plain " + StyleText(s)); }
  void SetComponentStyleAndAppColor(TVornStyle s, TColor c) override {
    L->push_back(N + ":" + StyleText(s) + "/" + std::to_string(c));
  }
  Log* L;
  std::string N;
};

class TToned : public TComponent, public IVornTones {
 public:
  TToned(TComponent* owner, Log* log, std::string name) : TComponent(owner), L(log), N(std::move(name)) {}
  void SetColorTones(const TColorTones& t) override { L->push_back(N + ":tones " + std::to_string(t.Selected.BrushColor)); }
  Log* L;
  std::string N;
};

// A frame: the stylers descend into it.
class TTestFrame : public TFrame, public IVornStyle, public IVornTones {
 public:
  TTestFrame(TComponent* owner, Log* log, std::string name) : TFrame(owner), L(log), N(std::move(name)) {}
  void SetComponentStyle(TVornStyle s) override { L->push_back(N + ":" + StyleText(s)); }
  void SetColorTones(const TColorTones& t) override { L->push_back(N + ":tones " + std::to_string(t.Selected.BrushColor)); }
  Log* L;
  std::string N;
};

// A windowed control that owns styleable parts of its own, as a toolbar owns
// its buttons: styled itself, never entered.
class TComposite : public TWinControl, public IVornStyle, public IVornTones {
 public:
  TComposite(TComponent* owner, Log* log, std::string name) : TWinControl(owner), L(log), N(std::move(name)) {
    new TStyled(this, L, N + ".part");
    new TToned(this, L, N + ".tonedPart");
  }
  void SetComponentStyle(TVornStyle s) override { L->push_back(N + ":" + StyleText(s)); }
  void SetColorTones(const TColorTones& t) override { L->push_back(N + ":tones " + std::to_string(t.Selected.BrushColor)); }
  Log* L;
  std::string N;
};

// A form that takes styles and tones itself, with a styler and styleable
// components made in its constructor (so they load with it).
class TStyledForm : public TForm, public IVornStyleEx, public IVornTones {
 public:
  TStyledForm(Log* log, bool withComponents = true) : TForm(nullptr), L(log) {
    Styler = new TAdvFormStyler(this);
    if (!withComponents) return;
    new TStyled(this, L, "a");
    new TStyledEx(this, L, "both");
    auto* frame = new TTestFrame(this, L, "frame");
    frame->SetParent(this);
    new TStyled(frame, L, "inFrame");
    auto* inner = new TTestFrame(frame, L, "inner");
    new TStyledEx(inner, L, "deep");
    new TToned(inner, L, "tonedDeep");
    new TComponent(this);  // takes no part
    new TStyled(this, L, "optOut");
    new TToned(this, L, "toned");
    new TComposite(this, L, "composite");
  }
  void SetComponentStyle(TVornStyle s) override { L->push_back("form:plain " + StyleText(s)); }
  void SetComponentStyleAndAppColor(TVornStyle s, TColor c) override {
    L->push_back("form:" + StyleText(s) + "/" + std::to_string(c));
  }
  void SetColorTones(const TColorTones& t) override { L->push_back("form:tones " + std::to_string(t.Selected.BrushColor)); }
  TAdvFormStyler* Styler;
  Log* L;
};

std::string NameOf(TComponent* c) {
  if (auto* s = dynamic_cast<TStyled*>(c)) return s->N;
  if (auto* s = dynamic_cast<TStyledEx*>(c)) return s->N;
  if (auto* s = dynamic_cast<TToned*>(c)) return s->N;
  if (auto* s = dynamic_cast<TTestFrame*>(c)) return s->N;
  if (auto* s = dynamic_cast<TComposite*>(c)) return s->N;
  if (dynamic_cast<TStyledForm*>(c)) return "form";
  return "?";
}

class StylerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
  }
  void TearDown() override {
    gdi_internal::SetScreenPixelsPerInch(96);
    PumpPending();
  }
  TTempHome Home;
};

TEST_F(StylerTest, StyleReachesNestedComponentsAndSkipsOptOuts) {
  Log log;
  TStyledForm form(&log);
  form.AfterConstruction();
  TAdvFormStyler* styler = form.Styler;
  Log applied;
  styler->OnApplyStyle = [](TObject*, TComponent* c, bool& allow) {
    if (NameOf(c) == "optOut") allow = false;
  };
  styler->OnAppliedStyle = [&](TObject* sender, TComponent* c) {
    EXPECT_EQ(sender, styler);
    applied.push_back(NameOf(c));
  };
  int changes = 0;
  styler->OnChange = [&](TObject*) { ++changes; };
  EXPECT_TRUE(log.empty());  // tsCustom: nothing at load

  styler->SetStyle(tsCustom);
  styler->SetAppColor(0x123456);  // with tsCustom: stored, nothing applied
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(changes, 0);

  styler->SetStyle(tsOffice2019Gray);
  EXPECT_EQ(form.Color(), TColor(0x666666));
  const std::string gray = StyleText(tsOffice2019Gray);
  const std::string app = "/" + std::to_string(0x123456);
  // The form first; a frame is entered before it is styled; inside a frame
  // each component is styled before its own frame is entered.
  EXPECT_EQ(log, (Log{"form:" + gray + app, "a:" + gray, "both:" + gray + app, "inFrame:" + gray, "inner:" + gray,
                      "deep:" + gray + app, "frame:" + gray, "composite:" + gray}));
  EXPECT_EQ(applied, (Log{"form", "a", "both", "inFrame", "inner", "deep", "frame", "composite"}));
  EXPECT_EQ(changes, 1);

  log.clear();
  styler->SetEnabled(false);
  styler->SetStyle(tsOffice2016White);
  EXPECT_TRUE(log.empty());
  styler->SetEnabled(true);  // applies the stored style
  EXPECT_EQ(form.Color(), TColor(0xFFFFFF));
  EXPECT_EQ(log.size(), 8u);

  const struct {
    TVornStyle Style;
    TColor Color;
  } colours[] = {{tsOffice2013LightGray, 0xC0C0C0}, {tsOffice2013Gray, 0x808080}, {tsOffice2016Gray, 0x808080},
                 {tsOffice2016Black, 0}, {tsOffice2019Black, 0}, {tsOffice2019White, 0xFFFFFF},
                 {tsWindows10, clBtnFace}, {tsOffice2003Blue, clBtnFace}};
  for (const auto& c : colours) {
    styler->SetStyle(c.Style);
    EXPECT_EQ(form.Color(), c.Color) << int(c.Style);
  }
}

TEST_F(StylerTest, ToneSetsReachEveryComponentWithTones) {
  Log log;
  TStyledForm form(&log);
  form.AfterConstruction();
  TAdvFormStyler* styler = form.Styler;
  styler->SetStyle(tsOffice2019White);
  log.clear();
  styler->OnApplyColorTones = [](TObject*, TComponent* c, bool& allow) { allow = NameOf(c) != "toned"; };
  Log applied;
  styler->OnAppliedColorTones = [&](TObject*, TComponent* c) { applied.push_back(NameOf(c)); };

  TColorTones tones = EmptyColorTones();
  tones.Selected.BrushColor = 77;
  styler->SetColorTones(tones);
  EXPECT_TRUE(styler->Metro());
  EXPECT_EQ(styler->Style(), tsCustom);
  EXPECT_EQ(log, (Log{"form:tones 77", "inner:tones 77", "tonedDeep:tones 77", "frame:tones 77", "composite:tones 77"}));
  EXPECT_EQ(applied, (Log{"form", "inner", "tonedDeep", "frame", "composite"}));

  // Metro colours build the tone set (Style is tsCustom and Metro on).
  log.clear();
  styler->SetMetroColor(0xE29E00);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "form:tones " + std::to_string(0xE29E00));
}

TEST_F(StylerTest, NothingAppliedWhileLoadingThenOnceAtLoaded) {
  Log log;
  TStyledForm form(&log);
  form.Styler->SetStyle(tsOffice2013Gray);  // still loading
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(form.Color(), clBtnFace);
  form.AfterConstruction();
  EXPECT_EQ(form.Color(), TColor(0x808080));
  EXPECT_EQ(log.size(), 9u);  // no handler here: "optOut" is styled too
}

TEST_F(StylerTest, MetroTonesWaitForLoaded) {
  Log log;
  TStyledForm form(&log);
  TAdvFormStyler* styler = form.Styler;
  styler->SetEnabled(false);  // still loading: none of these may reach a component
  styler->SetEnabled(true);
  styler->SetMetro(true);
  styler->SetMetroStyle(msDark);
  styler->SetMetroColor(0x00AA00);
  EXPECT_TRUE(log.empty());
  form.AfterConstruction();
  // Once, with the tones built from the metro settings.
  EXPECT_EQ(log, (Log{"form:tones " + std::to_string(0x00AA00), "inner:tones " + std::to_string(0x00AA00),
                      "tonedDeep:tones " + std::to_string(0x00AA00), "frame:tones " + std::to_string(0x00AA00),
                      "toned:tones " + std::to_string(0x00AA00), "composite:tones " + std::to_string(0x00AA00)}));
}

TEST_F(StylerTest, FormStylerStyleForControlsOfTheForm) {
  Log log;
  TStyledForm form(&log, false);
  form.AfterConstruction();
  auto* panel = new TWinControl(&form);
  panel->SetParent(&form);
  auto* child = new TWinControl(&form);
  child->SetParent(panel);
  TComponent loose(nullptr);
  TWinControl orphan(nullptr);

  const struct {
    const char* Name;
    bool Enabled;
    TVornStyle Style;
    TVornStyle Expected;
  } cases[] = {{"custom", true, tsCustom, tsOffice2019White},
               {"disabled", false, tsOffice2013Gray, tsOffice2019White},
               {"enabled", true, tsOffice2013Gray, tsOffice2013Gray}};
  for (const auto& c : cases) {
    form.Styler->SetStyle(c.Style);
    form.Styler->SetEnabled(c.Enabled);
    EXPECT_EQ(GetFormStylerStyle(&form, tsOffice2019White), c.Expected) << c.Name;
    EXPECT_EQ(GetFormStylerStyle(child, tsOffice2019White), c.Expected) << c.Name;
  }
  EXPECT_EQ(GetFormStylerStyle(&loose, tsOffice2019White), tsOffice2019White);
  EXPECT_EQ(GetFormStylerStyle(&orphan, tsOffice2019White), tsOffice2019White);
  EXPECT_EQ(GetFormStylerStyle(nullptr, tsOffice2019Black), tsOffice2019Black);

  // A second, enabled styler is found when the first one does not count.
  form.Styler->SetEnabled(false);
  auto* second = new TAdvFormStyler(&form);
  second->SetStyle(tsOffice2016Black);
  EXPECT_EQ(GetFormStylerStyle(child, tsOffice2019White), tsOffice2016Black);
}

TEST_F(StylerTest, ApplicationStylerDrivesItsFormStylers) {
  Log log1, log2;
  auto app = std::make_unique<TAdvAppStyler>(nullptr);
  TStyledForm form1(&log1, false), form2(&log2, false);
  form1.AfterConstruction();
  form2.AfterConstruction();
  int changes = 0;
  app->OnChange = [&](TObject*) { ++changes; };
  form1.Styler->SetAppStyle(app.get());
  form2.Styler->SetAppStyle(app.get());
  form2.Styler->SetAppStyle(app.get());
  EXPECT_EQ(app->FormStylerCount(), 2);

  app->SetStyle(tsOffice2016Black);
  EXPECT_EQ(form1.Styler->Style(), tsOffice2016Black);
  EXPECT_EQ(form2.Color(), TColor(0));
  EXPECT_EQ(log1.back(), "form:" + StyleText(tsOffice2016Black) + "/" + std::to_string(clNone));
  EXPECT_GE(changes, 1);

  app->SetAppColor(0xE29E00);
  EXPECT_EQ(form2.Styler->AppColor(), TColor(0xE29E00));
  EXPECT_EQ(log2.back(), "form:" + StyleText(tsOffice2016Black) + "/" + std::to_string(0xE29E00));

  const struct {
    TColor Background;
    TMetroStyle Expected;
  } tonesCases[] = {{0x000000, msDark}, {0x123456, msDark}, {0xFFFFFF, msLight}, {0x123456, msLight}};
  for (const auto& c : tonesCases) {
    TColorTones tones = SystemColorTones();
    tones.Background.BrushColor = c.Background;
    tones.Selected.BrushColor = 0x00AA00;
    app->SetColorTones(tones);
    EXPECT_EQ(app->MetroStyle(), c.Expected) << std::hex << c.Background;  // other colours keep it
    EXPECT_EQ(app->Style(), tsCustom);
    EXPECT_TRUE(app->Metro());
    EXPECT_EQ(app->MetroColor(), TColor(0x00AA00));
    EXPECT_EQ(log1.back(), "form:tones " + std::to_string(0x00AA00));
    EXPECT_EQ(form2.Styler->Style(), tsCustom);
  }

  // Moving a form styler to another application styler leaves the first one.
  TAdvAppStyler other(nullptr);
  form2.Styler->SetAppStyle(&other);
  EXPECT_EQ(app->FormStylerCount(), 1);
  EXPECT_EQ(other.FormStylerCount(), 1);

  // The application styler dies first: its form stylers forget it.
  app.reset();
  EXPECT_EQ(form1.Styler->AppStyle(), nullptr);
  form1.Styler->SetStyle(tsOffice2019White);  // still works on its own
  EXPECT_EQ(form1.Color(), TColor(0xFFFFFF));
  {
    TStyledForm form3(&log1, false);
    form3.AfterConstruction();
    form3.Styler->SetAppStyle(&other);
    EXPECT_EQ(other.FormStylerCount(), 2);
  }
  EXPECT_EQ(other.FormStylerCount(), 1);  // a dying form styler unregisters
}

TEST_F(StylerTest, ThemeAdaptationFollowsTheSystem) {
  Log log;
  TStyledForm form(&log, false);
  form.AfterConstruction();
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", true));
    reg.WriteInteger(u"AppsUseLightTheme", 0);
  }
  form.Styler->SetAutoThemeAdapt(true);
  EXPECT_EQ(form.Styler->Style(), tsOffice2019Black);
  EXPECT_EQ(form.Color(), TColor(0));
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", true));
    reg.WriteInteger(u"AppsUseLightTheme", 1);
  }
  SendMessage(form.Styler->Notifier()->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(form.Styler->Style(), tsWindows10);
}

TEST_F(StylerTest, StyleNamesCarryTheirStyles) {
  TAdvFormStyler styler(nullptr);
  auto styles = styler.GetStyles();
  ASSERT_EQ(styles->Count(), 26);
  EXPECT_EQ(styles->Strings(4), u"Office 2007 Blue");
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(styles->Objects(4)), std::uintptr_t{tsOffice2007Luna});
  EXPECT_EQ(styles->Strings(6), u"Office 2007 Black");
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(styles->Objects(6)), std::uintptr_t{tsOffice2007Obsidian});
  EXPECT_EQ(styles->Strings(25), u"Custom");
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(styles->Objects(25)), std::uintptr_t{tsCustom});
  EXPECT_EQ(styles->IndexOf(u"Whidbey"), -1);
  EXPECT_EQ(styler.Version(), u"2.4.0.1");
}

TEST_F(StylerTest, ComboBoxOffersTheStylesAndTheUsersChoiceApplies) {
  Log log;
  TStyledForm form(&log, false);
  form.AfterConstruction();
  form.SetBounds(0, 0, 300, 200);
  TAdvFormStyler* styler = form.Styler;
  styler->SetStyle(tsOffice2016Gray);
  auto* combo = new TComboBox(&form);
  combo->SetParent(&form);
  combo->Items()->Add(u"stale");
  Log events;
  combo->OnSelect = [&](TObject*) { events.push_back("old select"); };
  combo->OnChange = [&](TObject*) { events.push_back("change " + StringToUtf8(combo->Text())); };
  form.Show();

  styler->SetComboBox(combo);
  EXPECT_EQ(styler->ComboBox(), combo);
  ASSERT_EQ(combo->Items()->Count(), 26);
  EXPECT_EQ(combo->Items()->Strings(0), u"Office 2003 Blue");
  EXPECT_EQ(combo->Style(), csDropDownList);
  EXPECT_EQ(combo->Text(), u"Office 2016 Gray");
  EXPECT_TRUE(events.empty());

  // The user's choice: the style goes to the form; the selection handler is
  // the styler's alone, the combo box's OnChange still runs.
  log.clear();
  combo->SetFocus();
  testinput::KeyPress(VK_DOWN);
  EXPECT_EQ(styler->Style(), tsOffice2016Black);
  EXPECT_EQ(form.Color(), TColor(0x000000));
  EXPECT_EQ(log, Log{"form:" + StyleText(tsOffice2016Black) + "/" + std::to_string(clNone)});
  EXPECT_EQ(events, Log{"change Office 2016 Black"});

  // No selection, an item that is no style, or a sender that is no combo box: nothing changes.
  combo->SetItemIndex(-1);
  styler->HandleStyleSelect(combo);
  combo->Items()->AddObject(u"Other", reinterpret_cast<TObject*>(std::uintptr_t{200}));
  combo->SetItemIndex(26);
  styler->HandleStyleSelect(combo);
  styler->HandleStyleSelect(&form);
  styler->HandleStyleSelect(nullptr);
  EXPECT_EQ(styler->Style(), tsOffice2016Black);
  combo->SetItemIndex(0);
  styler->HandleStyleSelect(combo);
  EXPECT_EQ(styler->Style(), tsOffice2003Blue);
}

TEST_F(StylerTest, ComboBoxAndStylerGoInEitherOrder) {
  Log log;
  TStyledForm form(&log, false);
  form.AfterConstruction();
  TAdvFormStyler* styler = form.Styler;

  // A combo box of another owner, or of none, clears the reference when it goes.
  TForm other(nullptr);
  other.AfterConstruction();
  for (TComponent* owner : {static_cast<TComponent*>(&other), static_cast<TComponent*>(nullptr),
                            static_cast<TComponent*>(&form)}) {
    auto* combo = new TComboBox(owner);
    styler->SetComboBox(combo);
    delete combo;
    EXPECT_EQ(styler->ComboBox(), nullptr);
    styler->SetStyle(tsWindows10);
    styler->SetStyle(tsCustom);
  }

  // Moving to another combo box leaves the first one's later handler alone
  // and takes the styler's own handler out of a combo box it leaves.
  auto first = std::make_unique<TComboBox>(nullptr);
  auto second = std::make_unique<TComboBox>(nullptr);
  styler->SetComboBox(first.get());
  bool ownRan = false;
  first->OnSelect = [&](TObject*) { ownRan = true; };
  styler->SetComboBox(second.get());
  ASSERT_TRUE(static_cast<bool>(first->OnSelect));
  first->OnSelect(first.get());
  EXPECT_TRUE(ownRan);
  ASSERT_TRUE(static_cast<bool>(second->OnSelect));
  styler->SetComboBox(nullptr);
  EXPECT_FALSE(static_cast<bool>(second->OnSelect));

  // A styler that goes first leaves no handler behind that would call into it.
  styler->SetComboBox(second.get());
  delete styler;
  EXPECT_FALSE(static_cast<bool>(second->OnSelect));
  second->SetItemIndex(3);
  second.reset();
  first.reset();
}

TEST_F(StylerTest, DpiScaleOfScaledAndUnscaledForms) {
  TForm scaled(nullptr), unscaled(nullptr);
  scaled.AfterConstruction();
  unscaled.AfterConstruction();
  unscaled.SetScaled(false);
  auto* onScaled = new TWinControl(&scaled);
  onScaled->SetParent(&scaled);
  auto* onUnscaled = new TWinControl(&unscaled);
  onUnscaled->SetParent(&unscaled);
  TWinControl loose(nullptr);

  for (int ppi : {96, 144}) {
    gdi_internal::SetScreenPixelsPerInch(ppi);
    const float screen = ppi / 96.0f;
    const struct {
      const char* Name;
      TControl* Control;
      float Expected;
    } cases[] = {{"scaled form", &scaled, screen},
                 {"control on scaled form", onScaled, screen},
                 {"unscaled form", &unscaled, 1.0f},
                 {"control on unscaled form", onUnscaled, 1.0f},
                 {"control without form", &loose, screen},
                 {"nothing", nullptr, screen}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(GetControlDPIScale(c.Control, nullptr), c.Expected) << c.Name << " " << ppi;

    EXPECT_FLOAT_EQ(GetCanvasDPIScale(nullptr, &unscaled), 1.0f);
    const float canvas = GetCanvasDPIScale(nullptr, &scaled);
    EXPECT_FLOAT_EQ(GetCanvasDPIScale(nullptr, nullptr), canvas);
    if (ppi == 96)
      EXPECT_FLOAT_EQ(canvas, 1.0f);
    else
      EXPECT_NEAR(canvas, 1.5f, 0.2f) << "text of a 9-point font at 144 DPI";
  }
}

}  // namespace
