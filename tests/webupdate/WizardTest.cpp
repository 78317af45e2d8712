// The update wizard against a loopback HTTP server, headless, on the virtual
// clock: the automatic start and run, the version report, the what's-new
// and licence pages, the component list and cancelling a download.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/testing/TempHome.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Shell.h"
#include "tests/platform/vcl/VclFixture.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestTls.h"
#include "tests/support/TestUtil.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/WUWIZ.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/WebUpdateWizard.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

// The server's files live here for the whole suite; each test writes the ones it serves.
// The control file replaces the program, so it comes over HTTPS from a server
// whose certificate a test root (trusted through SSL_CERT_FILE) signed.
struct TWizardServer {
  test_support::TTempDir root{"ryx_wizard_srv"};
  test_support::TTestTls tls;
  std::unique_ptr<test_support::TServerProcess> http;
  TWizardServer() {
    if (!tls.Ok()) return;
    setenv("SSL_CERT_FILE", tls.Root().c_str(), 1);
    http = std::make_unique<test_support::TServerProcess>(std::vector<std::string>{
        "/usr/bin/python3", RYX_WEBUPDATE_SERVERS, "http", root.Path().string(), "--tls", tls.Cert(), tls.Key()});
  }
};
TWizardServer* gWizardServer = nullptr;

class WizardTest : public VclTest {
 protected:
  static void SetUpTestSuite() {
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
    gWizardServer = new TWizardServer();
  }
  static void TearDownTestSuite() {
    delete gWizardServer;
    gWizardServer = nullptr;
  }
  void SetUp() override {
    VclTest::SetUp();
    ASSERT_TRUE(gWizardServer->tls.Ok()) << "the openssl tool is needed for the test certificates";
    ASSERT_NE(gWizardServer->http->Port(), 0);
    savedPrompts = WebUpdatePrompts();
    savedAnswerer = SetMessageBoxAnswerer([this](const TMessageBoxRequest& r) {
      boxes.push_back(StringToUtf8(r.Text));
      return IDOK;
    });
    web.URL = Utf8ToString(Url("/files/upd.inf"));
    web.OnStatus = [this](TObject*, const String& text, Integer, Integer) { statuses.push_back(text); };
    wizard.SetWebUpdate(&web);
    wizard.Caption = u"Updater";
    fs::create_directories(target);
    WriteFileBytes(Served("one.bin"), "one");
    WriteFileBytes(Served("two.bin"), std::string(300, 't'));
    WriteFileBytes(Served("news.txt"), "Line one\nLine two\n");
  }
  void TearDown() override {
    SetMessageBoxAnswerer(savedAnswerer);
    WebUpdatePrompts() = savedPrompts;
    for (const char* f : {"upd.inf", "one.bin", "two.bin", "news.txt", "eula.txt", "three.bin"})
      fs::remove(Served(f));
    VclTest::TearDown();
  }
  static std::string Url(const std::string& path) {
    return "https://127.0.0.1:" + std::to_string(gWizardServer->http->Port()) + path;
  }
  static fs::path Served(const std::string& name) { return gWizardServer->root.Path(name); }
  std::string FileSection(int n, const std::string& name, const std::string& extra, const std::string& kind = "files") {
    return "[file" + std::to_string(n) + "]\nurl=" + Url("/" + kind + "/" + name) + "\ntargetdir=" + target.string() +
           "\n" + extra;
  }
  // The control file of an update found by date, with the what's-new text,
  // two files and no licence; two.bin is a component the restart installs.
  void StandardControl(const std::string& extra = "", const std::string& kind = "files") {
    WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\ndate=01/01/2030\ndescr=Fixes\n"
                                      "[whatsnew]\nfile=" + Url("/files/news.txt") + "\n"
                                      "[application]\nappupdate=1\nappname={APP}/app\nappcomps=two.bin\n"
                                      "[files]\ncount=2\n" + FileSection(1, "one.bin", "descr=First\n", kind) +
                                      FileSection(2, "two.bin", "descr=Second\n", kind) + extra);
  }
  // Runs the wizard; Act runs inside its modal loop once Ready answers true
  // (asked again with each round of messages), then the wizard is closed if
  // still open.
  void Run(const std::function<void(TWUWIZ*)>& Act, const std::function<bool(TWUWIZ*)>& Ready = nullptr) {
    HWND helper = nullptr;
    int rounds = 0;
    helper = AllocateHWnd([&](TMessage& m) {
      if (m.Msg != WM_USER) return;
      if (Ready && !Ready(wizard.Wizard()) && ++rounds < 1000000) {
        PostMessage(helper, WM_USER, 0, 0);
        return;
      }
      Act(wizard.Wizard());
      wizard.CloseWizard();
    });
    PostMessage(helper, WM_USER, 0, 0);
    wizard.Execute(false);
    DeallocateHWnd(helper);
  }
  int Connections() const {
    int n = 0;
    for (const String& s : statuses) n += s == WebUpdateStatusText(918);
    return n;
  }
  fs::path Temp() const { return fs::path(home.Path()) / "tmp"; }

  TTempHome home;
  TVirtualClock clock;
  TWebUpdate web{nullptr};
  TWebUpdateWizard wizard{nullptr};
  fs::path target = fs::path(home.Path()) / "app";
  std::vector<std::string> boxes;
  std::vector<String> statuses;
  TWebUpdatePrompts savedPrompts;
  TMessageBoxAnswerer savedAnswerer;
};

TEST_F(WizardTest, AutomaticStartAndRunEndInTheRestartStep) {
  StandardControl();
  wizard.AutoStart = true;
  wizard.AutoRun = true;
  struct {
    bool asked = false;
    bool donePage = false;
    String report, news, label7, restartCaption;
    Integer total = -1, totalMax = -1;
  } seen;
  web.OnAppRestart = [&](TObject*, bool& allow) {
    TWUWIZ* w = wizard.Wizard();
    seen.asked = true;
    seen.donePage = w->PageControl1->ActivePage() == w->TabSheet7;
    seen.report = w->VersionInfoLabel->Caption();
    seen.news = w->WhatsNewMemo->Lines()->Text();
    seen.label7 = w->Label7->Caption();
    seen.restartCaption = w->RestartButton->Caption();
    seen.total = w->TotalProgress->Position();
    seen.totalMax = w->TotalProgress->Max();
    allow = false;  // the test keeps running: no helper is started
    wizard.CloseWizard();
  };
  const UInt64 start = clock.Now();
  wizard.Execute(false);
  ASSERT_TRUE(seen.asked);
  EXPECT_TRUE(seen.donePage);
  EXPECT_EQ(seen.report, u"New version found :\r\rNew version : " + DateToStr(EncodeDate(2030, 1, 1)) + u"\r\rFixes");
  EXPECT_EQ(seen.news, u"Line one\r\nLine two\r\n");
  EXPECT_EQ(seen.label7, u"Update completed ...");
  EXPECT_EQ(seen.restartCaption, u"Restart");
  EXPECT_EQ(seen.totalMax, 303);  // the sizes that arrived: nothing is listed in the control file
  EXPECT_EQ(seen.total, 303);
  // Five automatic steps, each after its pause on the clock.
  EXPECT_GE(clock.Now() - start, 5u * 350u);
  EXPECT_EQ(ReadFileBytes(target / "one.bin"), "one");
  // Closed without the restart: the component downloaded for it is not left behind.
  EXPECT_FALSE(fs::exists(Temp() / "two.bin"));
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(wizard.Wizard(), nullptr);
  EXPECT_EQ(Connections(), 1);
  // The component's own handlers are back.
  EXPECT_FALSE(web.OnFileProgress);
  EXPECT_FALSE(web.OnProgressCancel);
}

TEST_F(WizardTest, AutomaticStartRunsOncePerExecute) {
  StandardControl();
  wizard.AutoStart = true;
  String page;
  Run([&](TWUWIZ* w) {
    page = w->PageControl1->ActivePage()->Name();
    // A message box of the wizard closing activates the window again.
    w->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
    w->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
    w->FormActivate(w);
    PumpPending();
  }, [](TWUWIZ* w) { return w->ControlButton->Enabled(); });
  EXPECT_EQ(page, u"TabSheet2");
  EXPECT_EQ(Connections(), 1);
  // The next Execute starts again, from a fresh window.
  Run([&](TWUWIZ*) {}, [](TWUWIZ* w) { return w->ControlButton->Enabled(); });
  wizard.AutoStart = false;
  Run([&](TWUWIZ* w) { page = w->PageControl1->ActivePage()->Name(); });
  EXPECT_EQ(Connections(), 2);
  EXPECT_EQ(page, u"TabSheet1");

  TWebUpdateWizard bare(nullptr);
  try {
    bare.Execute(false);
    FAIL() << "no component, no wizard";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"No WebUpdate component assigned");
  }
}

TEST_F(WizardTest, VersionReportTexts) {
  const String date = DateToStr(EncodeDate(2030, 1, 1));
  struct Case {
    std::string update;  // [update] keys; "" serves no control file
    bool polish;
    String report, button;
  } cases[] = {
      {"date=01/01/2030\ndescr=Fixes\n", false, u"New version found :\r\rNew version : " + date + u"\r\rFixes",
       u"Get update"},
      {"date=01/01/2030\ntime=13:30\n", false,
       u"New version found :\r\rNew version : " + date + u" " + TimeToStr(EncodeTime(13, 30, 0, 0)) + u"\r\r",
       u"Get update"},
      {"date=01/01/1970\n", false, u"No new version available.", u"Exit"},
      {"date=01/01/1970\nunconditional=1\n", false, u"New version available.", u"Get update"},
      {"date=01/01/1970\n", true, u"Nie znaleziono nowszej wersji", u"Wyjście"},
      {"", false, u"Could not connect to update server or\rNo update found on server ...", u"Exit"},
      {"", true, u"Brak połączenia z serwerem lub\rbrak aktualizacji na serwerze!", u"Wyjście"},
  };
  TWebUpdateWizardPolish polish(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.update);
    fs::remove(Served("upd.inf"));
    if (!c.update.empty()) WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\n" + c.update);
    wizard.SetLanguage(c.polish ? &polish : nullptr);
    String report, button;
    bool closedByButton = false;
    Run([&](TWUWIZ* w) {
      testinput::Click(w->StartButton, {5, 5});
      report = w->VersionInfoLabel->Caption();
      button = w->ControlButton->Caption();
      EXPECT_TRUE(w->ControlButton->Enabled());
      EXPECT_GE(w->ControlButton->Width(), 91);
      EXPECT_EQ(w->ControlButton->Left() + w->ControlButton->Width(), 224 + 91) << "right edge kept";
      if (button != u"Get update") {
        testinput::Click(w->ControlButton, {5, 5});
        closedByButton = w->ModalResult() != mrNone;
      }
    });
    EXPECT_EQ(report, c.report);
    EXPECT_EQ(button, c.button);
    if (c.button != u"Get update") {
      EXPECT_TRUE(closedByButton);
    }
  }
}

TEST_F(WizardTest, WhatsNewShowsRichTextOrLinesAndOpensTheTextEditor) {
  std::vector<String> opened;
  TShellOpener savedOpener = SetShellOpener([&](const String& t) {
    opened.push_back(t);
    return true;
  });
  struct Case {
    std::string text;
    bool rtf;
  } cases[] = {{"{\\rtf1\\ansi {\\b Bold} plain\\par}", true}, {"Plain news\n", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    StandardControl();
    WriteFileBytes(Served("news.txt"), c.text);
    Run([&](TWUWIZ* w) {
      testinput::Click(w->StartButton, {5, 5});
      testinput::Click(w->ControlButton, {5, 5});
      ASSERT_EQ(w->PageControl1->ActivePage(), w->TabSheet3);
      EXPECT_EQ(w->WhatsNewRichEdit->Visible(), c.rtf);
      EXPECT_EQ(w->WhatsNewMemo->Visible(), !c.rtf);
      if (c.rtf) {
        EXPECT_EQ(w->WhatsNewRichEdit->Text().substr(0, 10), u"Bold plain");
        EXPECT_TRUE(w->WhatsNewRichEdit->IsBoldAt(0));
        EXPECT_FALSE(w->WhatsNewRichEdit->IsBoldAt(6));
      } else {
        w->ViewinNotepad1->Click();
      }
    });
  }
  SetShellOpener(savedOpener);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], web.WinTempDir() + u"whatsnew.txt");
  EXPECT_EQ(ReadFileBytes(Temp() / "whatsnew.txt"), "Plain news\r\n");

  // A handler that answers 0 skips the page.
  StandardControl();
  web.OnDownloadedWhatsNew = [](TObject*, TStrings*, Integer& res) { res = 0; };
  Run([&](TWUWIZ* w) {
    testinput::Click(w->StartButton, {5, 5});
    testinput::Click(w->ControlButton, {5, 5});
    EXPECT_EQ(w->PageControl1->ActivePage(), w->TabSheet5);
  });
}

TEST_F(WizardTest, HiddenAndMandatoryEntriesOfTheComponentList) {
  WriteFileBytes(Served("three.bin"), "three");
  WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\ndate=01/01/2030\n[files]\ncount=3\n" +
                                        FileSection(1, "one.bin", "hidden=1\n") +
                                        FileSection(2, "two.bin", "descr=Core\nmandatory=1\n") +
                                        FileSection(3, "three.bin", ""));
  bool exitShown = false;
  Run([&](TWUWIZ* w) {
    testinput::Click(w->StartButton, {5, 5});
    testinput::Click(w->ControlButton, {5, 5});
    ASSERT_EQ(w->PageControl1->ActivePage(), w->TabSheet5);
    TCheckListBox* list = w->CheckListBox1;
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Items()->Strings(0), u"Core");
    EXPECT_EQ(list->Items()->Strings(1), u"Application");
    EXPECT_EQ(w->ItemFile(0), 1);
    EXPECT_EQ(w->ItemFile(1), 2);
    EXPECT_TRUE(list->Checked(0) && list->Checked(1));
    EXPECT_FALSE(list->ItemEnabled(0));
    EXPECT_TRUE(list->ItemEnabled(1));
    // The person's clicks on the check boxes: the mandatory one stays checked.
    for (Integer i : {0, 1}) {
      const TRect r = list->ItemRect(i);
      testinput::Click(list, {r.Left + 10, (r.Top + r.Bottom) / 2});
    }
    EXPECT_TRUE(list->Checked(0));
    EXPECT_FALSE(list->Checked(1));
    testinput::Click(w->FilesButton, {5, 5});
    ASSERT_EQ(w->PageControl1->ActivePage(), w->TabSheet7);
    exitShown = w->RestartButton->Caption() == u"Exit" && w->Label8->Caption().empty();
    testinput::Click(w->RestartButton, {5, 5});
    EXPECT_NE(w->ModalResult(), mrNone);
  });
  EXPECT_TRUE(exitShown);
  EXPECT_EQ(ReadFileBytes(target / "one.bin"), "one") << "hidden files come along";
  EXPECT_TRUE(fs::exists(target / "two.bin"));
  EXPECT_FALSE(fs::exists(target / "three.bin"));
}

TEST_F(WizardTest, LicenceStopsTheAutomaticRunUntilThePersonChooses) {
  enum class Choice { Accept, Decline, EventRefuses };
  for (Choice choice : {Choice::Accept, Choice::Decline, Choice::EventRefuses}) {
    SCOPED_TRACE(int(choice));
    fs::remove_all(target);
    fs::create_directories(target);
    StandardControl("[eula]\nfile=" + Url("/files/eula.txt") + "\n");
    WriteFileBytes(Served("eula.txt"), "Terms\n");
    wizard.AutoRun = true;
    web.OnDownloadedEULA = nullptr;
    if (choice == Choice::EventRefuses) web.OnDownloadedEULA = [](TObject*, TStrings*, Integer& res) { res = 0; };
    bool restartAsked = false;
    web.OnAppRestart = [&](TObject*, bool& allow) {
      restartAsked = true;
      allow = false;
    };
    Run([&](TWUWIZ* w) {
      testinput::Click(w->StartButton, {5, 5});
      if (choice == Choice::EventRefuses) {
        EXPECT_NE(w->ModalResult(), mrNone) << "the handler refused the licence";
        return;
      }
      ASSERT_EQ(w->PageControl1->ActivePage(), w->TabSheet4);
      EXPECT_EQ(w->EULAMemo->Lines()->Text(), u"Terms\r\n");
      EXPECT_FALSE(w->EULAButton->Enabled());
      if (choice == Choice::Accept) {
        testinput::Click(w->RAccept, {5, 5});
        EXPECT_EQ(w->EULAButton->Caption(), u"Next");
      } else {
        testinput::Click(w->RNoAccept, {5, 5});
        EXPECT_EQ(w->EULAButton->Caption(), u"Exit");
      }
      testinput::Click(w->EULAButton, {5, 5});
    });
    EXPECT_EQ(restartAsked, choice == Choice::Accept);
    EXPECT_EQ(fs::exists(target / "one.bin"), choice == Choice::Accept);
  }
}

TEST_F(WizardTest, EmptyFileListAfterTheLicenceIsNoCompletedUpdate) {
  WriteFileBytes(Served("eula.txt"), "Terms\n");
  WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\ndate=01/01/2030\n[eula]\nfile=" +
                                        Url("/files/eula.txt") + "\n[files]\ncount=0\n");
  bool success = false;
  web.OnSuccess = [&](TObject*) { success = true; };
  Run([&](TWUWIZ* w) {
    testinput::Click(w->StartButton, {5, 5});
    testinput::Click(w->ControlButton, {5, 5});
    testinput::Click(w->RAccept, {5, 5});
    testinput::Click(w->EULAButton, {5, 5});
    EXPECT_NE(w->PageControl1->ActivePage(), w->TabSheet7);
  });
  EXPECT_EQ(boxes, (std::vector<std::string>{"No files found for update"}));
  EXPECT_FALSE(success);
}

TEST_F(WizardTest, CancelDuringATrickledDownloadClosesAndChangesNoTarget) {
  StandardControl("", "trickle");
  WriteFileBytes(target / "one.bin", "old one");
  WriteFileBytes(target / "two.bin", "old two");
  wizard.AutoStart = true;
  wizard.AutoRun = true;  // the automatic run can be cancelled too
  HWND canceller = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER && wizard.Wizard() != nullptr) testinput::Click(wizard.Wizard()->CancelButton, {5, 5});
  });
  web.OnBeforeFileDownload = [&](TObject*, Integer index, const String&, String&) {
    if (index > 0) PostMessage(canceller, WM_USER, 0, 0);
  };
  bool restartAsked = false, success = false;
  web.OnAppRestart = [&](TObject*, bool& allow) {
    restartAsked = true;
    allow = false;
  };
  web.OnSuccess = [&](TObject*) { success = true; };
  wizard.Execute(false);
  DeallocateHWnd(canceller);
  EXPECT_EQ(wizard.Wizard(), nullptr);
  EXPECT_FALSE(restartAsked);
  EXPECT_FALSE(success);
  EXPECT_TRUE(boxes.empty()) << "a cancel is no failure to report";
  EXPECT_EQ(ReadFileBytes(target / "one.bin"), "old one");
  EXPECT_EQ(ReadFileBytes(target / "two.bin"), "old two");
  EXPECT_FALSE(fs::exists(Temp() / "two.bin"));

  // The next run is not stopped by the last one's cancel.
  StandardControl();
  web.OnBeforeFileDownload = nullptr;
  wizard.AutoStart = wizard.AutoRun = true;
  web.OnAppRestart = [&](TObject*, bool& allow) {
    restartAsked = true;
    allow = false;
    wizard.CloseWizard();
  };
  wizard.Execute(false);
  EXPECT_TRUE(restartAsked);
  EXPECT_EQ(ReadFileBytes(target / "one.bin"), "one");
}

// The download starts inside the click on "Next"; a click on Cancel while
// it runs (the mouse, as a person cancels) stops it at once.
TEST_F(WizardTest, CancelClickedDuringADownloadStartedByAClickStopsIt) {
  StandardControl("", "trickle");
  WriteFileBytes(target / "one.bin", "old one");
  WriteFileBytes(target / "two.bin", "old two");
  wizard.AutoStart = true;
  HWND canceller = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER && wizard.Wizard() != nullptr) testinput::Click(wizard.Wizard()->CancelButton, {5, 5});
  });
  web.OnBeforeFileDownload = [&](TObject*, Integer index, const String&, String&) {
    if (index > 0) PostMessage(canceller, WM_USER, 0, 0);
  };
  bool success = false;
  int filesClicks = 0, cancelClicks = 0;
  web.OnSuccess = [&](TObject*) { success = true; };
  web.OnAppRestart = [&](TObject*, bool& allow) { allow = false; };
  Run(
      [&](TWUWIZ* w) {
        testinput::Click(w->ControlButton, {5, 5});
        ASSERT_EQ(w->PageControl1->ActivePage(), w->TabSheet3);
        testinput::Click(w->NewButton, {5, 5});
        ASSERT_EQ(w->PageControl1->ActivePage(), w->TabSheet5);
        // Counted: the press on Cancel must reach Cancel, not the button the download started from.
        auto files = w->FilesButton->OnClick;
        w->FilesButton->OnClick = [&, files](TObject* s) {
          ++filesClicks;
          files(s);
        };
        auto cancel = w->CancelButton->OnClick;
        w->CancelButton->OnClick = [&, cancel](TObject* s) {
          ++cancelClicks;
          cancel(s);
        };
        testinput::Click(w->FilesButton, {5, 5});
      },
      [](TWUWIZ* w) { return w != nullptr && w->ControlButton->Enabled(); });
  DeallocateHWnd(canceller);
  EXPECT_EQ(filesClicks, 1);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_FALSE(success) << "the download went on to the end";
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(ReadFileBytes(target / "one.bin"), "old one");
  EXPECT_EQ(ReadFileBytes(target / "two.bin"), "old two");
}

}  // namespace
