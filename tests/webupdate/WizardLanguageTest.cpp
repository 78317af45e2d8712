// The wizard's language tables: complete in both languages, copied by
// Assign, stored by the main window's resource, and shown by the window.
#include <gtest/gtest.h>

#include "platform/rtl/TypInfo.h"
#include "tests/platform/vcl/VclFixture.h"
#include "webupdate/WUWIZ.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/WebUpdateWizard.h"
#include "webupdate/WebUpdateWizardLanguage.h"

namespace {

using TLang = TWebUpdateWizardLanguage;

struct TLanguageRow {
  const char16_t* Name;
  const char16_t* English;
  const char16_t* Polish;
};

const TLanguageRow kLanguageRows[] = {
    {u"Welcome", u"Press start to start checking for available application updates ...",
     u"Naciśnij START, aby sprawdzić dostępność uaktualnień..."},
    {u"StartButton", u"Start", u"Start"},
    {u"NextButton", u"Next", u"Dalej"},
    {u"ExitButton", u"Exit", u"Wyjście"},
    {u"RestartButton", u"Restart", u"Zakończ"},
    {u"CancelButton", u"Cancel", u"Anuluj"},
    {u"FailedDownload", u"Failed to download updates", u"Nie udało się pobrać uaktualnienia"},
    {u"GetUpdateButton", u"Get update", u"Pobierz"},
    {u"NewVersionFound", u"New version found", u"Znaleziono nową wersję"},
    {u"NewVersion", u"New version", u"Nowa wersja"},
    {u"NoNewVersionAvail", u"No new version available.", u"Nie znaleziono nowszej wersji"},
    {u"NewVersionAvail", u"New version available.", u"Dostępna jest nowsza wersja"},
    {u"CurrentVersion", u"Current version", u"Aktualna wersja"},
    {u"NoFilesFound", u"No files found for update", u"Nie odnaleziono plików na serwerze"},
    {u"NoUpdateOnServer", u"No update found on server ...", u"brak aktualizacji na serwerze!"},
    {u"CannotConnect", u"Could not connect to update server or", u"Brak połączenia z serwerem lub"},
    {u"WhatsNew", u"What's new", u"Co nowego?"},
    {u"License", u"License agreement", u"Licencja"},
    {u"AcceptLicense", u"I accept", u"Akceptuję licencję"},
    {u"NotAcceptLicense", u"I do not accept", u"Nie akceptuję licencji"},
    {u"ComponentsAvail", u"Available application components", u"Dostępne komponenty"},
    {u"DownloadingFiles", u"Downloading files", u"Pobieranie plików"},
    {u"CurrentProgress", u"Current file progress", u"Postęp aktualnego pliku"},
    {u"TotalProgress", u"Total file progress", u"Łączny postęp"},
    {u"UpdateComplete", u"Update completed ...", u"Aktualizacja zakończona !"},
    {u"RestartInfo", u"Press restart to start the updated application.",
     u"Naciśnij ZAKOŃCZ, aby uruchomić nową wersję aplikacji"},
    {u"WhatsNewPopup", u"View in Notepad", u"View in Notepad"},
    {u"LicensePopup", u"View in Notepad", u"View in Notepad"},
};

TEST(WizardLanguageTest, BothTablesAreCompleteAndPublished) {
  RegisterWebUpdateWizardClasses();
  TWebUpdateWizardEnglish english(nullptr);
  TWebUpdateWizardPolish polish(nullptr);
  ASSERT_EQ(TLang::Texts().size(), std::size(kLanguageRows));
  for (std::size_t i = 0; i < std::size(kLanguageRows); ++i) {
    const TLanguageRow& row = kLanguageRows[i];
    SCOPED_TRACE(StringToUtf8(row.Name));
    EXPECT_EQ(String(TLang::Texts()[i].Name), row.Name) << "published order";
    EXPECT_EQ(GetStrProp(&english, row.Name), row.English);
    EXPECT_EQ(GetStrProp(&polish, row.Name), row.Polish);
  }
  // Assign copies every text from a table and ignores anything else.
  polish.Assign(&english);
  for (const TLanguageRow& row : kLanguageRows) EXPECT_EQ(GetStrProp(&polish, row.Name), row.English);
  TWebUpdateWizardPolish other(nullptr);
  other.Assign(nullptr);
  TStringList notATable;
  other.Assign(&notATable);
  EXPECT_EQ(other.NextButton, u"Dalej");
}

TEST(WizardLanguageTest, MainWindowStoresTwoPolishTextsOfItsOwn) {
  RegisterWebUpdateWizardClasses();
  TWebUpdateWizardEnglish english(nullptr);
  TWebUpdateWizardPolish polish(nullptr);
  LoadMainWindowLanguageTexts(&english, &polish);
  for (const TLanguageRow& row : kLanguageRows) {
    SCOPED_TRACE(StringToUtf8(row.Name));
    EXPECT_EQ(GetStrProp(&english, row.Name), row.English);
    const String name = row.Name;
    if (name == u"CurrentProgress") EXPECT_EQ(polish.CurrentProgress, u"Postęp bieżącego pliku");
    else if (name == u"RestartInfo") EXPECT_EQ(polish.RestartInfo, u"Uruchom nową wersję aplikacji");
    else EXPECT_EQ(GetStrProp(&polish, row.Name), row.Polish);
  }
  EXPECT_EQ(english.Name(), u"WebUpdateWizardEnglish1");
  EXPECT_EQ(polish.Name(), u"WebUpdateWizardPolish1");
}

class WizardWindowTest : public VclTest {};

TEST_F(WizardWindowTest, TheWindowShowsTheTableItIsGiven) {
  TWUWIZ w(nullptr);
  TWebUpdateWizardPolish polish(nullptr);
  TWebUpdateWizard::InitLanguage(&w, &polish);
  struct Shown {
    String got;
    const char16_t* want;
  } shown[] = {
      {w.WelcomeLabel->Caption(), polish.Welcome.c_str()}, {w.StartButton->Caption(), u"Start"},
      {w.ControlButton->Caption(), u"Pobierz"},           {w.Label1->Caption(), u"Co nowego?"},
      {w.NewButton->Caption(), u"Dalej"},                 {w.EULAButton->Caption(), u"Dalej"},
      {w.FilesButton->Caption(), u"Dalej"},               {w.Label2->Caption(), u"Licencja"},
      {w.RAccept->Caption(), u"Akceptuję licencję"},      {w.RNoAccept->Caption(), u"Nie akceptuję licencji"},
      {w.Label3->Caption(), u"Dostępne komponenty"},      {w.Label4->Caption(), u"Pobieranie plików"},
      {w.Label5->Caption(), u"Postęp aktualnego pliku"},  {w.Label6->Caption(), u"Łączny postęp"},
      {w.CancelButton->Caption(), u"Anuluj"},             {w.Label7->Caption(), u"Aktualizacja zakończona !"},
      {w.Label8->Caption(), polish.RestartInfo.c_str()},  {w.RestartButton->Caption(), u"Zakończ"},
      {w.StrNewFound, u"Znaleziono nową wersję"},         {w.StrNewVersion, u"Nowa wersja"},
      {w.StrCurVersion, u"Aktualna wersja"},              {w.StrNoNewVersion, u"Nie znaleziono nowszej wersji"},
      {w.StrUCNewVersion, u"Dostępna jest nowsza wersja"}, {w.StrExit, u"Wyjście"},
      {w.StrNoNewFiles, u"Nie odnaleziono plików na serwerze"}, {w.StrCannotConnect, u"Brak połączenia z serwerem lub"},
      {w.StrNoUpdate, u"brak aktualizacji na serwerze!"}, {w.StrFailedDownload, u"Nie udało się pobrać uaktualnienia"},
      {w.StrGetUpdate, u"Pobierz"},                       {w.StrNext, u"Dalej"},
      {w.StrWhatsNewPopup, u"View in Notepad"},           {w.StrLicensePopup, u"View in Notepad"},
  };
  for (const Shown& s : shown) EXPECT_EQ(s.got, s.want);
  // No table: the English defaults.
  TWebUpdateWizard::InitLanguage(&w, nullptr);
  EXPECT_EQ(w.RestartButton->Caption(), u"Restart");
  EXPECT_EQ(w.StrNoUpdate, u"No update found on server ...");
}

TEST_F(WizardWindowTest, DesignLayoutAndReferencesThatGoAway) {
  TWUWIZ w(nullptr);
  EXPECT_EQ(w.ClientWidth(), 474);
  EXPECT_EQ(w.ClientHeight(), 284);
  EXPECT_EQ(w.PageControl1->PageCount(), 7);
  EXPECT_EQ(w.PageControl1->ActivePage(), w.TabSheet1);
  EXPECT_EQ(w.PageControl1->TabHeight(), 0) << "tabs are hidden";
  for (TButton* b : {w.StartButton, w.ControlButton, w.NewButton, w.EULAButton, w.FilesButton, w.CancelButton,
                     w.RestartButton})
    EXPECT_EQ(b->BoundsRect(), (TRect{224, 224, 315, 249})) << StringToUtf8(b->Name());
  EXPECT_EQ(w.FileLabel->Width(), 166);
  EXPECT_FALSE(w.ControlButton->Enabled());
  EXPECT_FALSE(w.EULAButton->Enabled());

  TWebUpdateWizard wizard(nullptr);
  EXPECT_EQ(wizard.Font()->Name(), u"Verdana");
  EXPECT_EQ(wizard.Font()->Size(), 9);
  EXPECT_EQ(wizard.Position, poScreenCenter);
  auto* language = new TWebUpdateWizardEnglish(nullptr);
  auto* web = new TWebUpdate(nullptr);
  wizard.SetLanguage(language);
  wizard.SetWebUpdate(web);
  delete language;
  delete web;
  EXPECT_EQ(wizard.Language(), nullptr);
  EXPECT_EQ(wizard.WebUpdate(), nullptr);
}

}  // namespace
