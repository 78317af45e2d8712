// The customizer's layout file: hostile sections, the keys written (read back
// by Python's own INI reader), and the road toolbar -> file -> toolbar.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/ZadEdevAziCustomizer.h"

namespace {

using namespace toolbar;

TLayoutSection ReadText(const String& Text) {
  TMemIniFile ini(u"/nonexistent/none.ini");
  TStringList l;
  l.SetText(Text);
  ini.SetStrings(&l);
  return ReadLayoutSection(ini, u"C");
}

struct HostileCase {
  const char16_t* Text;
  std::optional<Integer> Count;
  std::vector<String> Names;
};

TEST(CustomizerLayoutRead, HostileSectionsAreValidated) {
  const HostileCase cases[] = {
      {u"[C]\nName0=A\nName0.ClassName=ZADEDEVAZIBUTTON\n", std::nullopt, {}},       // no count
      {u"[C]\nToolBarItemCount=x\nName0=A\n", std::nullopt, {}},                    // count no number
      {u"[C]\nToolBarItemCount=-5\n", std::nullopt, {}},                            // negative count
      {u"[C]\nToolBarItemCount=2\nName0=A\nName0.ClassName=zadedevazibutton\nName1=B\n", 2, {u"A"}},  // kind missing
      {u"[C]\nToolBarItemCount=2\nName0=A\nName0.ClassName=Bogus\nName1=B\nName1.ClassName=-1\n", 2, {u"B"}},
      {u"[C]\nToolBarItemCount=2\nName0=A\nName0.ClassName=-1\nName1=a\nName1.ClassName=-1\n", 2, {u"A"}},  // dup
      {u"[C]\nToolBarItemCount=2\nName0=1x\nName0.ClassName=-1\nName1=\nName1.ClassName=-1\n", 2, {}},  // bad names
      {u"[C]\nToolBarItemCount=2147483647\nName0=A\nName0.ClassName=-1\n", 2147483647, {u"A"}},  // huge count
  };
  for (const auto& c : cases) {
    const TLayoutSection L = ReadText(c.Text);
    SCOPED_TRACE(std::string(c.Text, c.Text + std::char_traits<char16_t>::length(c.Text)).c_str());
    EXPECT_EQ(L.Count, c.Count);
    std::vector<String> names;
    for (const auto& it : L.Items) names.push_back(it.Name);
    EXPECT_EQ(names, c.Names);
  }
}

TEST(CustomizerLayoutRead, BooleansReadAsStored) {
  const TLayoutSection L = ReadText(
      u"[C]\nToolBarItemCount=1\nName0=A\nName0.ClassName=ZADEDEVAZIBUTTON\nName0.Visible=2\nName0.ShowCaption=2\n");
  ASSERT_EQ(L.Items.size(), 1u);
  EXPECT_EQ(L.Items[0].Visible, true);
  EXPECT_EQ(L.Items[0].ShowCaption, false);
}

class CustomizerLayoutFile : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() / ("custlayout-" + std::to_string(getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
    File = (Dir / "layout.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  // Section.key=value lines as Python's configparser sees the file.
  std::string PythonView(const std::string& Section) {
    const std::string cmd = "python3 -c \"import configparser,sys\nc=configparser.ConfigParser(interpolation=None)\n"
                            "c.read(sys.argv[1])\nfor k,v in c['" + Section + "'].items(): print(k+'='+v)\" " + File;
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[512];
    while (p && fgets(buf, sizeof buf, p)) out += buf;
    if (p) pclose(p);
    return out;
  }
  std::filesystem::path Dir;
  std::string File;
};

TEST_F(CustomizerLayoutFile, KeysWrittenAndStaleKeysRemoved) {
  TLayoutSection L;
  L.Caption = u"Std";
  L.GlyphPosition = 1;
  L.LargeIcon = 0;
  for (int i = 0; i < 3; ++i) {
    TLayoutItem it;
    it.Name = u"B" + IntToStr(i);
    it.Kind = TLayoutItemKind::Button;
    it.ImageIndex = i;
    it.Caption = u"Cap " + IntToStr(i);
    L.Items.push_back(it);
  }
  {
    TMemIniFile ini(String(File.begin(), File.end()));
    WriteLayoutSection(ini, u"C", L);
    ini.UpdateFile();
  }
  L.Items.resize(1);
  L.Items[0].Kind = TLayoutItemKind::Separator;
  L.Items[0].ImageIndex.reset();
  L.Items[0].Caption.reset();
  {
    TIniFile ini(String(File.begin(), File.end()));
    WriteLayoutSection(ini, u"C", L);
  }
  EXPECT_EQ(PythonView("C"),
            "vovcaption=Std\nglyphposition=1\nlargeicon=0\ntoolbaritemcount=1\nname0=B0\n"
            "name0.classname=ZADEDEVAZISEPARATOR\n");
  TMemIniFile again(String(File.begin(), File.end()));
  L.Count = 1;
  EXPECT_TRUE(ReadLayoutSection(again, u"C") == L);
}

class CustomizerToolBar : public CustomizerLayoutFile {
 protected:
  void SetUp() override {
    CustomizerLayoutFile::SetUp();
    EnsureGuiApplication();
    InitApplication();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(0, 0, 500, 300);
    TB = new TZadEdevAzi(Form.get());
    TB->SetName(u"ToolBar1");
    TB->SetParent(Form.get());
    for (const char16_t* n : {u"Open", u"Save", u"Print"}) {
      auto* b = new TZadEdevAziButton(Form.get());
      b->SetName(n);
      b->SetCaption(n);
      b->SetParent(TB);
    }
    Cust = new TZadEdevAziCustomizer(Form.get());
    Cust->SetName(u"Customizer1");
    Cust->SetZadEdevAzi(TB);
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    CustomizerLayoutFile::TearDown();
  }
  std::vector<String> Names() const {
    std::vector<String> r;
    for (Integer i = 0; i < TB->ToolBarControlCount(); ++i) r.push_back(TB->GetToolBarControls(i)->Name());
    return r;
  }
  void WriteCustomized(const TLayoutSection& L) {
    TMemIniFile ini(String(File.begin(), File.end()));
    WriteLayoutSection(ini, u"Customizer1", L);
    ini.UpdateFile();
  }
  std::unique_ptr<TForm> Form;
  TZadEdevAzi* TB = nullptr;
  TZadEdevAziCustomizer* Cust = nullptr;
};

TEST_F(CustomizerToolBar, CustomizeSaveReloadRestore) {
  EXPECT_EQ(TB->Customizer(), Cust);
  bool ran = false;
  Cust->Commands()->Add()->SetCaption(u"New Item");
  Cust->Commands()->Items(0)->OnExecute = [&](TObject*) { ran = true; };
  Cust->SetFileName(String(File.begin(), File.end()));
  const TLayoutSection original = Cust->CurrentLayout();
  // Reverse, drop Save, add a button from command 0 and a separator.
  TLayoutSection L = original;
  L.Items = {original.Items[2], original.Items[0]};
  TLayoutItem nb;
  nb.Name = u"Cmd0";
  nb.Kind = TLayoutItemKind::Button;
  nb.CommandID = 0;
  L.Items.push_back(nb);
  TLayoutItem sep;
  sep.Name = u"Sep1";
  sep.Kind = TLayoutItemKind::Separator;
  L.Items.push_back(sep);
  WriteCustomized(L);
  for (int round = 0; round < 2; ++round) {
    Cust->LoadToolBar();
    EXPECT_EQ(Names(), (std::vector<String>{u"Print", u"Open", u"Cmd0", u"Sep1"}));
    // Loading again does not pile up detached controls.
    EXPECT_EQ(Cust->DeletedItems().size(), 1u);
  }
  auto* cmd = dynamic_cast<TZadEdevAziButton*>(Cust->FindToolBarControl(u"cmd0"));
  ASSERT_NE(cmd, nullptr);
  EXPECT_EQ(cmd->CommandID(), 0);
  cmd->OnClick(cmd);
  EXPECT_TRUE(ran);
  Cust->RestoreOriginal();
  EXPECT_EQ(Names(), (std::vector<String>{u"Open", u"Save", u"Print"}));
  EXPECT_TRUE(Cust->DeletedItems().empty());
  TMemIniFile ini(String(File.begin(), File.end()));
  EXPECT_FALSE(ini.SectionExists(u"Customizer1"));
}

TEST_F(CustomizerToolBar, ZeroCountStripsAndRestoreWithoutCountGivesBack) {
  Cust->SetFileName(String(File.begin(), File.end()));
  TLayoutSection L;
  WriteCustomized(L);  // count 0
  Cust->LoadToolBar();
  EXPECT_TRUE(Names().empty());
  EXPECT_EQ(Cust->DeletedItems().size(), 3u);
  {  // The initial layout lost its count.
    TMemIniFile ini(String(File.begin(), File.end()));
    ini.DeleteKey(u"Customizer1Org", u"ToolBarItemCount");
    ini.UpdateFile();
  }
  Cust->RestoreOriginal();
  EXPECT_EQ(Names().size(), 3u);
  EXPECT_TRUE(Cust->DeletedItems().empty());
}

TEST_F(CustomizerToolBar, FreedImageListsAreForgotten) {
  auto* large = new TImageList(Form.get());
  auto* small = new TImageList(Form.get());
  Cust->SetLargeImages(large);
  Cust->SetSmallImages(small);
  delete large;
  EXPECT_EQ(Cust->LargeImages(), nullptr);
  EXPECT_EQ(Cust->SmallImages(), small);
  delete small;
  EXPECT_EQ(Cust->SmallImages(), nullptr);
}

TEST_F(CustomizerToolBar, SiblingsTheOwnerFreesFirstAreForgotten) {
  // Made after the customizer, so their common owner frees them before it;
  // the customizer's own destruction must not reach them then (ASan).
  Cust->SetLargeImages(new TImageList(Form.get()));
  Cust->SetSmallImages(new TImageList(Form.get()));
  auto* late = new TZadEdevAzi(Form.get());
  late->SetParent(Form.get());
  Cust->SetZadEdevAzi(late);
  Form.reset();
}

TEST_F(CustomizerToolBar, DestroyedCustomizerUnlinksToolBar) {
  delete Cust;
  EXPECT_EQ(TB->Customizer(), nullptr);
  TB->ShowCustomizer();
}

}  // namespace
