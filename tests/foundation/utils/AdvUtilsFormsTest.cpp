// TAdvUtils on forms and controls: DPI scale, font size, file dialogs through
// a provider, the font list, cloning, owner and parent forms, the mouse; the
// look flags' DPI factor; the unit's clipboard formats.
#include <gtest/gtest.h>

#include <cstdlib>

#include <memory>
#include <vector>

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/FileDialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Clipboard.h"
#include "tests/support/TestUtil.h"

// The screen resolution the drawing layer reports; tests change it to see scaling.
namespace gdi_internal {
void SetScreenPixelsPerInch(int ppi);
}

namespace {

class AdvUtilsFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
  }
  void TearDown() override {
    gdi_internal::SetScreenPixelsPerInch(96);
    SetFileDialogProvider({});
    SetMessageBoxAnswerer({});
    Forms.clear();
    PumpPending();
  }
  TForm* NewForm() {
    Forms.push_back(std::make_unique<TForm>(nullptr));
    Forms.back()->AfterConstruction();
    return Forms.back().get();
  }
  TTempHome Home;
  std::vector<std::unique_ptr<TForm>> Forms;
};

// A form that is not a TForm.
class TPlainForm : public TCustomForm {
 public:
  explicit TPlainForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

TEST_F(AdvUtilsFormsTest, DPIScaleFollowsTheFormOfTheComponent) {
  gdi_internal::SetScreenPixelsPerInch(144);
  TForm* scaled = NewForm();
  TForm* unscaled = NewForm();
  unscaled->SetScaled(false);
  TForm* designed120 = NewForm();
  designed120->SetPixelsPerInch(120);

  auto* panel = new TWinControl(scaled);
  panel->SetParent(scaled);
  auto* child = new TWinControl(scaled);
  child->SetParent(panel);
  auto* onUnscaled = new TWinControl(unscaled);
  onUnscaled->SetParent(unscaled);
  // Owned by the scaled form but placed on the unscaled one: the parent decides.
  auto* placedElsewhere = new TWinControl(scaled);
  placedElsewhere->SetParent(unscaled);
  auto* plainComponent = new TComponent(new TComponent(scaled));
  TWinControl loose(nullptr);
  TComponent unowned(nullptr);

  const struct {
    const char* Name;
    TComponent* Owner;
    Integer DefaultDPI;
    Single Scale;
  } cases[] = {
      {"scaled form", scaled, 96, 1.5f},
      {"unscaled form", unscaled, 96, 1.0f},
      {"control two levels down", child, 96, 1.5f},
      {"control on unscaled form", onUnscaled, 96, 1.0f},
      {"parent form wins over owner", placedElsewhere, 96, 1.0f},
      {"component owned through another", plainComponent, 96, 1.5f},
      {"form's own resolution for 0", designed120, 0, 1.2f},
      {"form's own resolution for -1", scaled, -1, 1.5f},
      {"other default", scaled, 72, 2.0f},
      {"control without form", &loose, 96, 1.0f},
      {"component without form", &unowned, 96, 1.0f},
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(TAdvUtils::GetDPIScale(c.Owner, c.DefaultDPI), c.Scale) << c.Name;
    EXPECT_EQ(TAdvUtils::IsHighDPIScale(c.Owner, c.DefaultDPI), c.Scale > 1.0f) << c.Name;
  }

  gdi_internal::SetScreenPixelsPerInch(96);
  EXPECT_FLOAT_EQ(TAdvUtils::GetDPIScale(child, 96), 1.0f);
  EXPECT_FALSE(TAdvUtils::IsHighDPIScale(child, 96));
}

TEST_F(AdvUtilsFormsTest, DPIScaleWithoutComponentUsesTheMainForm) {
  gdi_internal::SetScreenPixelsPerInch(144);
  EXPECT_FLOAT_EQ(TAdvUtils::GetDPIScale(nullptr, 96), 1.0f) << "no main form yet";
  TForm* main = nullptr;
  Application->CreateForm(&main);
  EXPECT_FLOAT_EQ(TAdvUtils::GetDPIScale(nullptr, 96), 1.5f);
  main->SetScaled(false);
  EXPECT_FLOAT_EQ(TAdvUtils::GetDPIScale(nullptr, 96), 1.0f);
}

TEST_F(AdvUtilsFormsTest, SetFontSizeScalesTheHeight) {
  const struct {
    Single Size, Scale;
    Integer Height;
  } cases[] = {
      {12, 1.0f, -12},
      {12, 1.5f, -18},
      {10, 1.25f, -13},  // Round(7.5) is 8, then 8 * 120 / 72 = 13.3
      {14, 1.0f, -13},   // Round(10.5) is 10 (to even), then 10 * 96 / 72 = 13.3
  };
  TFont font;
  for (const auto& c : cases) {
    TAdvUtils::SetFontSize(&font, c.Size, c.Scale);
    EXPECT_EQ(font.Height(), c.Height) << c.Size << " at " << c.Scale;
  }
  TAdvUtils::SetFontSize(nullptr, 12, 1.0f);  // nothing happens
}

TEST_F(AdvUtilsFormsTest, SelectFileAsksForAnExistingFile) {
  String filter, folder;
  bool mustExist = false, save = true;
  SetFileDialogProvider([&](TOpenDialog& d) {
    filter = d.Filter();
    folder = d.InitialDir();
    mustExist = d.Options().Contains(ofFileMustExist);
    save = d.IsSaveDialog();
    d.SetFileName(u"/data/chosen.txt");
    return true;
  });
  std::vector<std::pair<String, bool>> calls;
  auto callback = [&](const String& name, bool result) { calls.emplace_back(name, result); };

  String name = u"old";
  EXPECT_TRUE(TAdvUtils::SelectFile(name, u"/start", u"Text|*.txt", callback));
  EXPECT_EQ(name, u"/data/chosen.txt");
  EXPECT_EQ(filter, u"Text|*.txt");
  EXPECT_EQ(folder, u"/start");
  EXPECT_TRUE(mustExist);
  EXPECT_FALSE(save);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_pair(String(u"/data/chosen.txt"), true));

  // Without a folder the documents folder is offered.
  TAdvUtils::SelectFile(name, u"", u"");
  EXPECT_EQ(folder, IncludeTrailingPathDelimiter(TAdvUtils::GetDocumentsPath()));
  EXPECT_EQ(folder.back(), u'/');

  // Cancel: the name stays, the callback hears false.
  SetFileDialogProvider([](TOpenDialog& d) {
    d.SetFileName(u"/typed/then/cancelled");
    return false;
  });
  calls.clear();
  name = u"kept";
  EXPECT_FALSE(TAdvUtils::SelectFile(name, u"/start", u"", callback));
  EXPECT_EQ(name, u"kept");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_pair(String(u"kept"), false));
}

TEST_F(AdvUtilsFormsTest, SaveFileOffersTheNameAndKeepsItsExtension) {
  String offered, folder;
  String answer;
  bool prompt = false, save = false;
  SetFileDialogProvider([&](TOpenDialog& d) {
    offered = d.FileName();
    folder = d.InitialDir();
    prompt = d.Options().Contains(ofOverwritePrompt);
    save = d.IsSaveDialog();
    d.SetFileName(answer);
    return true;
  });
  const struct {
    const char16_t* Former;
    const char16_t* Chosen;
    const char16_t* Result;
    const char16_t* Offered;
    const char16_t* Folder;
  } cases[] = {
      {u"C:\\data\\x.csv", u"y", u"y.csv", u"x.csv", u"C:\\data\\"},
      {u"/home/u/x.csv", u"/tmp/y.txt", u"/tmp/y.txt", u"x.csv", u"/home/u/"},
      {u"/home/u/x", u"/tmp/y", u"/tmp/y", u"x", u"/home/u/"},
      {u"/home/u/x.tar.gz", u"/tmp/y", u"/tmp/y.gz", u"x.tar.gz", u"/home/u/"},
  };
  for (const auto& c : cases) {
    answer = c.Chosen;
    String name = c.Former;
    bool heard = false;
    EXPECT_TRUE(TAdvUtils::SaveFile(name, u"CSV|*.csv", [&](const String& n, bool r) {
      heard = r && n == c.Result;
    }));
    EXPECT_EQ(name, c.Result);
    EXPECT_EQ(offered, c.Offered);
    EXPECT_EQ(folder, c.Folder);
    EXPECT_TRUE(heard);
    EXPECT_TRUE(prompt);
    EXPECT_TRUE(save);
  }

  // A bare name starts in the documents folder.
  String bare = u"report.csv";
  answer = u"z";
  TAdvUtils::SaveFile(bare, u"");
  EXPECT_EQ(folder, IncludeTrailingPathDelimiter(TAdvUtils::GetDocumentsPath()));
  EXPECT_EQ(bare, u"z.csv");

  SetFileDialogProvider([](TOpenDialog&) { return false; });
  String kept = u"/a/b.csv";
  EXPECT_FALSE(TAdvUtils::SaveFile(kept, u""));
  EXPECT_EQ(kept, u"/a/b.csv");
}

TEST_F(AdvUtilsFormsTest, MessageShowsTheMessageDialogAndAnswersItsResult) {
  std::vector<TMessageBoxRequest> shown;
  int answer = mrOk;
  SetMessageBoxAnswerer([&](const TMessageBoxRequest& r) {
    shown.push_back(r);
    return answer;
  });
  // The short form: an information box with one OK button.
  EXPECT_EQ(TAdvUtils::Message(u"Saved."), mrOk);
  answer = mrNo;
  EXPECT_EQ(TAdvUtils::Message(u"Replace it?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  SetMessageBoxAnswerer({});
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Text, u"Saved.");
  EXPECT_EQ(shown[0].Icon, mtInformation);
  EXPECT_EQ(shown[0].Caption, u"Information");
  EXPECT_EQ(shown[0].Buttons, std::vector<int>{mrOk});
  EXPECT_EQ(shown[1].Text, u"Replace it?");
  EXPECT_EQ(shown[1].Icon, mtConfirmation);
  EXPECT_EQ(shown[1].Buttons, (std::vector<int>{mrYes, mrNo, mrCancel}));
}

TEST_F(AdvUtilsFormsTest, GetFontsListsTheScreenFontsSortedOnce) {
  TStringList list;
  list.Add(u"stale entry");
  TAdvUtils::GetFonts(&list);
  ASSERT_GT(list.Count(), 0);
  EXPECT_EQ(list.IndexOf(u"stale entry"), -1);
  for (Integer i = 1; i < list.Count(); ++i) {
    EXPECT_LT(AnsiCompareText(list.Strings(i - 1), list.Strings(i)), 0)
        << "sorted, no repeats: " << StringToUtf8(list.Strings(i));
  }
  for (Integer i = 0; i < Screen->Fonts()->Count(); ++i)
    EXPECT_GE(list.IndexOf(Screen->Fonts()->Strings(i)), 0);
  TAdvUtils::GetFonts(nullptr);
}

// A component with the kinds of property a stream image carries.
class TCloneSample : public TComponent {
 public:
  explicit TCloneSample(TComponent* AOwner) : TComponent(AOwner) {}
  Integer Count() const { return FCount; }
  void SetCount(Integer v) { FCount = v; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& v) { FTitle = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }
  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* v) { FLines->Assign(v); }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* v) { FBuddy = v; }
  TNotifyEvent OnChange;

 private:
  Integer FCount = 3;
  String FTitle;
  double FRatio = 0;
  std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
  TComponent* FBuddy = nullptr;
};

class TUndeclaredSample : public TCloneSample {
 public:
  using TCloneSample::TCloneSample;
};

void DeclareCloneSample() {
  TClassInfo::Of<TCloneSample, TComponent>(u"TCloneSample")
      .Property(u"Count", &TCloneSample::Count, &TCloneSample::SetCount)
      .Default(3)
      .Property(u"Title", &TCloneSample::Title, &TCloneSample::SetTitle)
      .Property(u"Ratio", &TCloneSample::Ratio, &TCloneSample::SetRatio)
      .Property(u"Font", &TCloneSample::Font, &TCloneSample::SetFont)
      .Property(u"Lines", &TCloneSample::Lines, &TCloneSample::SetLines)
      .Property(u"Buddy", &TCloneSample::Buddy, &TCloneSample::SetBuddy)
      .Event(u"OnChange", &TCloneSample::OnChange);
}

TEST_F(AdvUtilsFormsTest, CloneCopiesStoredPropertiesIntoAnUnnamedUnownedComponent) {
  DeclareCloneSample();
  TComponent owner(nullptr);
  auto* buddy = new TComponent(&owner);
  buddy->SetName(u"Buddy1");
  auto* source = new TCloneSample(&owner);
  source->SetName(u"Sample1");
  source->SetCount(7);
  source->SetTitle(u"héllo");
  source->SetRatio(0.25);
  source->Font()->SetName(u"Arial");
  source->Font()->SetHeight(-21);
  source->Lines()->Add(u"one");
  source->Lines()->Add(u"two");
  source->SetBuddy(buddy);
  int changes = 0;
  source->OnChange = [&](TObject*) { ++changes; };

  std::unique_ptr<TComponent> copy = TAdvUtils::Clone(source);
  auto* sample = dynamic_cast<TCloneSample*>(copy.get());
  ASSERT_NE(sample, nullptr);
  EXPECT_TRUE(sample->Name().empty());
  EXPECT_EQ(sample->Owner(), nullptr);
  EXPECT_EQ(source->Name(), u"Sample1");
  EXPECT_EQ(sample->Count(), 7);
  EXPECT_EQ(sample->Title(), u"héllo");
  EXPECT_DOUBLE_EQ(sample->Ratio(), 0.25);
  EXPECT_NE(sample->Font(), source->Font());
  EXPECT_EQ(sample->Font()->Name(), u"Arial");
  EXPECT_EQ(sample->Font()->Height(), -21);
  EXPECT_EQ(test_support::Lines(*sample->Lines()), test_support::Lines(*source->Lines()));
  EXPECT_EQ(sample->Buddy(), buddy);
  ASSERT_TRUE(sample->OnChange);
  sample->OnChange(sample);
  EXPECT_EQ(changes, 1);

  // An unnamed component cannot be referred to, so the reference is not copied.
  TComponent unnamed(nullptr);
  source->SetBuddy(&unnamed);
  EXPECT_EQ(dynamic_cast<TCloneSample*>(TAdvUtils::Clone(source).get())->Buddy(), nullptr);

  EXPECT_EQ(TAdvUtils::Clone(nullptr), nullptr);
  TUndeclaredSample undeclared(nullptr);
  EXPECT_EQ(test_support::MessageOf([&] { TAdvUtils::Clone(&undeclared); }),
            u"EClassNotFound: Class TUndeclaredSample not found");
}

TEST_F(AdvUtilsFormsTest, OwnerFormParentFormAndMousePosition) {
  TForm* form = NewForm();
  auto* holder = new TComponent(form);
  auto* deep = new TComponent(holder);
  auto* panel = new TWinControl(form);
  panel->SetParent(form);
  auto* child = new TWinControl(holder);
  child->SetParent(panel);
  TComponent free(nullptr);

  EXPECT_EQ(TAdvUtils::GetOwnerForm(deep), form);
  EXPECT_EQ(TAdvUtils::GetOwnerForm(holder), form);
  EXPECT_EQ(TAdvUtils::GetOwnerForm(form), nullptr) << "only owners count";
  EXPECT_EQ(TAdvUtils::GetOwnerForm(&free), nullptr);
  EXPECT_EQ(TAdvUtils::GetOwnerForm(nullptr), nullptr);
  EXPECT_EQ(TAdvUtils::GetParentForm(child), form);
  EXPECT_EQ(TAdvUtils::GetParentForm(form), form);
  EXPECT_EQ(TAdvUtils::GetParentForm(nullptr), nullptr);
  TWinControl loose(nullptr);
  EXPECT_EQ(TAdvUtils::GetParentForm(&loose), nullptr);

  form->SetBounds(50, 60, 300, 200);
  form->Show();
  PumpPending();
  testinput::MouseMove(TPoint{120, 130});
  const TAdvUtilsPointF p = TAdvUtils::GetMousePos();
  EXPECT_FLOAT_EQ(p.X, 120.0f);
  EXPECT_FLOAT_EQ(p.Y, 130.0f);
}

TEST_F(AdvUtilsFormsTest, LookFlagsDPIFactorFollowsTheFormsScaling) {
  using gdiplus::GetDPIScaleFactor;
  using gdiplus::GetZeroTextHeight;
  using gdiplus::UpdateDPIScaleFactor;
  gdi_internal::SetScreenPixelsPerInch(144);
  const Single highFactor = Single(double(GetZeroTextHeight(144, 9)) / GetZeroTextHeight(96, 9));
  ASSERT_GT(highFactor, 1.0f);

  TForm* scaled = NewForm();
  TForm* unscaled = NewForm();
  unscaled->SetScaled(false);
  TPlainForm plain(nullptr);
  plain.AfterConstruction();
  plain.SetScaled(false);
  auto* onScaled = new TWinControl(scaled);
  onScaled->SetParent(scaled);
  auto* onUnscaled = new TWinControl(unscaled);
  onUnscaled->SetParent(unscaled);
  auto* onPlain = new TWinControl(&plain);
  onPlain->SetParent(&plain);
  TWinControl loose(nullptr);

  const struct {
    const char* Name;
    TControl* Control;
    Single Factor;
  } cases[] = {
      {"scaled form", onScaled, highFactor},
      {"unscaled form: exactly 1", onUnscaled, 1.0f},
      {"other kinds of form follow the monitor", onPlain, highFactor},
      {"no form: the screen", &loose, highFactor},
      {"nil: the screen", nullptr, highFactor},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UpdateDPIScaleFactor(c.Control), c.Factor) << c.Name;
    EXPECT_EQ(GetDPIScaleFactor(), c.Factor) << c.Name << " is stored";
  }
  gdi_internal::SetScreenPixelsPerInch(96);
  EXPECT_EQ(UpdateDPIScaleFactor(onScaled), 1.0f);
}

TEST_F(AdvUtilsFormsTest, ClipboardFormatsAreRegisteredOnceByName) {
  // Before the unit starts: asked in a fresh run of this test alone, since an
  // earlier test in this process may have started the unit already.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(AdvClipboardFormat(0) == 0 ? 0 : 1), ::testing::ExitedWithCode(0), "")
      << "nothing before the unit starts";
  InitializeAdvUtilsUnit();
  std::vector<Word> numbers;
  for (Integer i = 0; i < kAdvClipboardFormatCount; ++i) {
    const Word n = AdvClipboardFormat(i);
    EXPECT_GE(n, 0xC000);
    for (Word other : numbers) EXPECT_NE(n, other);
    numbers.push_back(n);
  }
  EXPECT_EQ(RegisterClipboardFormat(u"html format"), AdvClipboardFormat(3)) << "names ignore case";
  EXPECT_EQ(RegisterClipboardFormat(u"RichEditorText"), AdvClipboardFormat(0));
  InitializeAdvUtilsUnit();
  for (Integer i = 0; i < kAdvClipboardFormatCount; ++i) EXPECT_EQ(AdvClipboardFormat(i), numbers[std::size_t(i)]);
  EXPECT_EQ(AdvClipboardFormat(-1), 0);
  EXPECT_EQ(AdvClipboardFormat(kAdvClipboardFormatCount), 0);
  EXPECT_EQ(kAdvPictureClipboardFormat, CF_BITMAP);

  EXPECT_EQ(RegisterClipboardFormat(u""), 0u);
  EXPECT_EQ(RegisterClipboardFormat(String(256, u'x')), 0u);
  const UINT fresh = RegisterClipboardFormat(u"Another Format");
  EXPECT_GE(fresh, 0xC000u);
  EXPECT_LE(fresh, 0xFFFFu);
}

}  // namespace
