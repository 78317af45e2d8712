// The dialogs the web-update component shows by itself: login, what's new,
// licence and the download progress window, driven inside their modal loops.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "html/HTMLabel.h"
#include "platform/rtl/Streams.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"
#include "tests/support/TestUtil.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/VornLoginForm.h"
#include "webupdate/WebUpdate.h"

namespace {

namespace fs = std::filesystem;

class UpdateDialogsTest : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    web.OnStatus = [this](TObject*, const String& text, Integer, Integer) { statuses.push_back(text); };
  }
  // The shown form named Name, nullptr when none.
  static TCustomForm* FormNamed(const String& Name) {
    for (Integer i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Name() == Name && Screen->Forms(i)->Visible()) return Screen->Forms(i);
    return nullptr;
  }
  template <class T>
  static T* Part(TCustomForm* Form, const String& Name) {
    return dynamic_cast<T*>(Form->FindComponent(Name));
  }
  // Runs Show; once a modal loop runs, Act gets the dialog named Name.
  template <class R>
  static R Driving(const String& Name, const std::function<void(TCustomForm*)>& Act, const std::function<R()>& Show) {
    HWND helper = AllocateHWnd([&](TMessage& m) {
      if (m.Msg != WM_USER) return;
      TCustomForm* f = FormNamed(Name);
      ASSERT_NE(f, nullptr) << StringToUtf8(Name);
      Act(f);
    });
    PostMessage(helper, WM_USER, 0, 0);
    R r = Show();
    DeallocateHWnd(helper);
    return r;
  }
  static std::unique_ptr<TMemoryStream> StreamOf(const std::string& text) {
    auto s = std::make_unique<TMemoryStream>();
    if (!text.empty()) s->Write(text.data(), Integer(text.size()));
    s->SetPosition(0);
    return s;
  }

  TTempHome home;
  TWebUpdate web{nullptr};
  std::vector<String> statuses;
};

TEST_F(UpdateDialogsTest, LoginDialogGivesTheTextsOnlyOnOk) {
  String user = u"old", password = u"kept";
  bool ok = Driving<bool>(u"VornLoginForm", [](TCustomForm* f) {
    auto* form = static_cast<TVornLoginForm*>(f);
    EXPECT_EQ(form->Caption(), u"Connect to example.org");
    EXPECT_TRUE(form->Edit1->Text().empty()) << "fields start empty";
    form->Edit1->SetText(u"anna");
    testinput::KeyPress(VK_ESCAPE);
  }, [&] { return ShowLoginDialog(u"Connect to example.org", user, password); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(user, u"old");
  EXPECT_EQ(password, u"kept");

  ok = Driving<bool>(u"VornLoginForm", [](TCustomForm* f) {
    auto* form = static_cast<TVornLoginForm*>(f);
    EXPECT_EQ(form->Edit2->PasswordChar(), u'*');
    form->Edit1->SetFocus();
    testinput::TypeText(u"anna");
    form->Edit2->SetFocus();
    testinput::TypeText(u"s3cret");
    testinput::Click(form->Button1, {5, 5});
  }, [&] { return ShowLoginDialog(u"Connect to example.org", user, password); });
  EXPECT_TRUE(ok);
  EXPECT_EQ(user, u"anna");
  EXPECT_EQ(password, u"s3cret");
}

TEST_F(UpdateDialogsTest, TextKinds) {
  struct Case {
    std::string text;
    bool rtf, html;
  } cases[] = {
      {"{\\rtf1 x}", true, false}, {"{\\RTF", true, false},     {"{\\rt", false, false},
      {"", false, false},          {"a <b>b</b>", false, true}, {"x </", false, true},
      {"a < / b", false, false},
  };
  for (const Case& c : cases) {
    auto s = StreamOf(c.text);
    s->SetPosition(2 < s->Size() ? 2 : 0);
    EXPECT_EQ(IsRTFStream(s.get()), c.rtf) << c.text;
    EXPECT_EQ(s->Position(), 0);
    EXPECT_EQ(IsHTMLStream(s.get()), c.html) << c.text;
    EXPECT_EQ(s->Position(), 0);
  }
}

TEST_F(UpdateDialogsTest, WhatsNewShowsEachKindOfText) {
  bool eventRaised = false;
  web.OnDownloadedWhatsNew = [&](TObject*, TStrings*, Integer&) { eventRaised = true; };
  struct Case {
    std::string text;
    const char16_t* part;  // the component that shows the text
    bool ok;
    Integer result;
  } cases[] = {
      {"{\\rtf1 {\\b News}}", u"RichEdit", true, 0},
      {"{\\rtf1 News}", u"RichEdit", false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto s = StreamOf(c.text);
    statuses.clear();
    String shown;
    Integer r = Driving<Integer>(u"WhatsNewDialog", [&](TCustomForm* f) {
      EXPECT_EQ(f->Caption(), u"What's new");
      auto* rich = Part<TRichEdit>(f, c.part);
      ASSERT_NE(rich, nullptr);
      shown = rich->Text();
      testinput::Click(Part<TButton>(f, c.ok ? u"OkButton" : u"CancelButton"), {5, 5});
    }, [&] { return web.WhatsNewDialog(s.get()); });
    EXPECT_EQ(r, c.result);
    EXPECT_EQ(shown.substr(0, 4), u"News");
    EXPECT_EQ(statuses.size(), c.ok ? 0u : 1u);
  }
  EXPECT_FALSE(eventRaised) << "rich text never goes to the event";

  // Without the event: HTML in an HTML label, other text as lines.
  web.OnDownloadedWhatsNew = nullptr;
  auto html = StreamOf("Fixed <b>two</b> bugs");
  Integer r = Driving<Integer>(u"WhatsNewDialog", [&](TCustomForm* f) {
    auto* label = Part<THTMLabel>(f, u"HTMLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->HTMLText()->Text(), u"Fixed <b>two</b> bugs\r\n");
    EXPECT_TRUE(label->AutoSizing());
    EXPECT_TRUE(label->ExternalText()) << "server text must not read local files through its images";
    f->Close();  // the close box counts as Cancel
  }, [&] { return web.WhatsNewDialog(html.get()); });
  EXPECT_EQ(r, -1);
  auto plain = StreamOf("one\ntwo\n");
  r = Driving<Integer>(u"WhatsNewDialog", [&](TCustomForm* f) {
    auto* memo = Part<TMemo>(f, u"Memo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_TRUE(memo->ReadOnly());
    testinput::Click(Part<TButton>(f, u"OkButton"), {5, 5});
  }, [&] { return web.WhatsNewDialog(plain.get()); });
  EXPECT_EQ(r, 0);
}

TEST_F(UpdateDialogsTest, LicenceIsAcceptedOnlyByChoiceAndOk) {
  enum Choice { AcceptOk, AcceptCloseBox, DeclineOk, Untouched };
  struct Case {
    Choice choice;
    Integer result;
  } cases[] = {{AcceptOk, 0}, {AcceptCloseBox, -1}, {DeclineOk, -1}, {Untouched, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.choice));
    auto s = StreamOf("Terms\n");
    Integer r = Driving<Integer>(u"EULADialog", [&](TCustomForm* f) {
      auto* yes = Part<TRadioButton>(f, u"AcceptRadio");
      auto* no = Part<TRadioButton>(f, u"NotAcceptRadio");
      ASSERT_TRUE(yes && no);
      EXPECT_TRUE(no->Checked()) << "\"not accept\" is the starting choice";
      EXPECT_EQ(yes->Caption(), u"I accept");
      if (c.choice == AcceptOk || c.choice == AcceptCloseBox) testinput::Click(yes, {5, 5});
      if (c.choice == AcceptCloseBox) f->Close();
      else testinput::Click(Part<TButton>(f, u"OkButton"), {5, 5});
    }, [&] { return web.EULADialog(s.get()); });
    EXPECT_EQ(r, c.result);
  }
  // The event's answer counts too: for rich text it is the only question.
  web.OnDownloadedEULA = [](TObject*, TStrings*, Integer& res) { res = 0; };
  auto rtf = StreamOf("{\\rtf1 Terms}");
  EXPECT_EQ(web.EULADialog(rtf.get()), -1);
  web.OnDownloadedEULA = [](TObject*, TStrings*, Integer& res) { res = 1; };
  EXPECT_EQ(web.EULADialog(rtf.get()), 0);
}

TEST_F(UpdateDialogsTest, ProgressWindowShowsDuringDownloads) {
  fs::path server = fs::path(home.Path()) / "server", target = fs::path(home.Path()) / "app";
  fs::create_directories(server);
  test_support::WriteFileBytes(server / "one.bin", std::string(5000, 'x'));
  test_support::WriteFileBytes(server / "upd.inf", "[update]\nsignature=WebUpdate\ndate=01/01/2030\n[files]\ncount=1\n"
                                                   "[file1]\nurl=" + (server / "one.bin").string() +
                                                   "\ntargetdir=" + target.string() + "\n");
  web.UpdateType = fileUpdate;
  web.UpdateUpdate = wuuSilent;
  web.URL = Utf8ToString((server / "upd.inf").string());
  web.ShowDownloadProgress = true;
  String caption, file;
  Integer max = 0;
  web.OnFileProgress = [&](TObject*, const String&, Int64, Int64) {
    if (TCustomForm* f = FormNamed(u"ProgressForm")) {
      caption = f->Caption();
      file = Part<TLabel>(f, u"FileLabel")->Caption();
      max = Part<TProgressBar>(f, u"ProgressBar")->Max();
    }
  };
  web.DoUpdate(false);
  EXPECT_EQ(caption, u"Downloading...");
  EXPECT_EQ(file, u"one.bin");
  EXPECT_EQ(max, 5000);
  EXPECT_EQ(FormNamed(u"ProgressForm"), nullptr) << "gone after the run";
  EXPECT_TRUE(fs::exists(target / "one.bin"));
}

}  // namespace
