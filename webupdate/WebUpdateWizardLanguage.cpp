#include "webupdate/WebUpdateWizardLanguage.h"

#include <utility>

#include "platform/rtl/TypInfo.h"

namespace {

using TLang = TWebUpdateWizardLanguage;

struct TLanguageDefault {
  String TLang::*Member;
  const char16_t* English;
  const char16_t* Polish;  // nullptr: the English text stays
};

// Every text with its English and Polish default, in published order.
const TLanguageDefault kLanguageDefaults[] = {
    {&TLang::Welcome, u"Press start to start checking for available application updates ...",
     u"Naciśnij START, aby sprawdzić dostępność uaktualnień..."},
    {&TLang::StartButton, u"Start", u"Start"},
    {&TLang::NextButton, u"Next", u"Dalej"},
    {&TLang::ExitButton, u"Exit", u"Wyjście"},
    {&TLang::RestartButton, u"Restart", u"Zakończ"},
    {&TLang::CancelButton, u"Cancel", u"Anuluj"},
    {&TLang::FailedDownload, u"Failed to download updates", u"Nie udało się pobrać uaktualnienia"},
    {&TLang::GetUpdateButton, u"Get update", u"Pobierz"},
    {&TLang::NewVersionFound, u"New version found", u"Znaleziono nową wersję"},
    {&TLang::NewVersion, u"New version", u"Nowa wersja"},
    {&TLang::NoNewVersionAvail, u"No new version available.", u"Nie znaleziono nowszej wersji"},
    {&TLang::NewVersionAvail, u"New version available.", u"Dostępna jest nowsza wersja"},
    {&TLang::CurrentVersion, u"Current version", u"Aktualna wersja"},
    {&TLang::NoFilesFound, u"No files found for update", u"Nie odnaleziono plików na serwerze"},
    {&TLang::NoUpdateOnServer, u"No update found on server ...", u"brak aktualizacji na serwerze!"},
    {&TLang::CannotConnect, u"Could not connect to update server or", u"Brak połączenia z serwerem lub"},
    {&TLang::WhatsNew, u"What's new", u"Co nowego?"},
    {&TLang::License, u"License agreement", u"Licencja"},
    {&TLang::AcceptLicense, u"I accept", u"Akceptuję licencję"},
    {&TLang::NotAcceptLicense, u"I do not accept", u"Nie akceptuję licencji"},
    {&TLang::ComponentsAvail, u"Available application components", u"Dostępne komponenty"},
    {&TLang::DownloadingFiles, u"Downloading files", u"Pobieranie plików"},
    {&TLang::CurrentProgress, u"Current file progress", u"Postęp aktualnego pliku"},
    {&TLang::TotalProgress, u"Total file progress", u"Łączny postęp"},
    {&TLang::UpdateComplete, u"Update completed ...", u"Aktualizacja zakończona !"},
    {&TLang::RestartInfo, u"Press restart to start the updated application.",
     u"Naciśnij ZAKOŃCZ, aby uruchomić nową wersję aplikacji"},
    {&TLang::WhatsNewPopup, u"View in Notepad", nullptr},
    {&TLang::LicensePopup, u"View in Notepad", nullptr},
};

}  // namespace

TWebUpdateWizardLanguage::TWebUpdateWizardLanguage(TComponent* AOwner) : TComponent(AOwner) {
  for (const TLanguageDefault& d : kLanguageDefaults) this->*d.Member = d.English;
}

void TWebUpdateWizardLanguage::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TWebUpdateWizardLanguage*>(Source);
  if (other == nullptr) return;  // not a language table: nothing to copy, no error
  for (const TText& t : Texts()) this->*t.Member = other->*t.Member;
}

const std::vector<TWebUpdateWizardLanguage::TText>& TWebUpdateWizardLanguage::Texts() {
  static const std::vector<TText> texts = {
      {u"Welcome", &TLang::Welcome},
      {u"StartButton", &TLang::StartButton},
      {u"NextButton", &TLang::NextButton},
      {u"ExitButton", &TLang::ExitButton},
      {u"RestartButton", &TLang::RestartButton},
      {u"CancelButton", &TLang::CancelButton},
      {u"FailedDownload", &TLang::FailedDownload},
      {u"GetUpdateButton", &TLang::GetUpdateButton},
      {u"NewVersionFound", &TLang::NewVersionFound},
      {u"NewVersion", &TLang::NewVersion},
      {u"NoNewVersionAvail", &TLang::NoNewVersionAvail},
      {u"NewVersionAvail", &TLang::NewVersionAvail},
      {u"CurrentVersion", &TLang::CurrentVersion},
      {u"NoFilesFound", &TLang::NoFilesFound},
      {u"NoUpdateOnServer", &TLang::NoUpdateOnServer},
      {u"CannotConnect", &TLang::CannotConnect},
      {u"WhatsNew", &TLang::WhatsNew},
      {u"License", &TLang::License},
      {u"AcceptLicense", &TLang::AcceptLicense},
      {u"NotAcceptLicense", &TLang::NotAcceptLicense},
      {u"ComponentsAvail", &TLang::ComponentsAvail},
      {u"DownloadingFiles", &TLang::DownloadingFiles},
      {u"CurrentProgress", &TLang::CurrentProgress},
      {u"TotalProgress", &TLang::TotalProgress},
      {u"UpdateComplete", &TLang::UpdateComplete},
      {u"RestartInfo", &TLang::RestartInfo},
      {u"WhatsNewPopup", &TLang::WhatsNewPopup},
      {u"LicensePopup", &TLang::LicensePopup},
  };
  return texts;
}

TWebUpdateWizardPolish::TWebUpdateWizardPolish(TComponent* AOwner) : TWebUpdateWizardLanguage(AOwner) {
  for (const TLanguageDefault& d : kLanguageDefaults)
    if (d.Polish != nullptr) this->*d.Member = d.Polish;
}

void LoadMainWindowLanguageTexts(TWebUpdateWizardEnglish* English, TWebUpdateWizardPolish* Polish) {
  // The resource stores every text by its published name; each lands in its
  // member as streaming would put it there (no class registration needed).
  if (English != nullptr) {
    English->SetName(u"WebUpdateWizardEnglish1");
    for (const TLanguageDefault& d : kLanguageDefaults) English->*d.Member = d.English;
  }
  if (Polish != nullptr) {
    Polish->SetName(u"WebUpdateWizardPolish1");
    for (const TLanguageDefault& d : kLanguageDefaults) {
      String stored = d.Polish != nullptr ? d.Polish : d.English;
      if (d.Member == &TLang::CurrentProgress) stored = u"Postęp bieżącego pliku";
      if (d.Member == &TLang::RestartInfo) stored = u"Uruchom nową wersję aplikacji";
      Polish->*d.Member = stored;
    }
  }
}

void RegisterWebUpdateWizardLanguageClasses() {
  auto base = TClassInfo::Of<TWebUpdateWizardLanguage, TComponent>(u"TWebUpdateWizardLanguage");
  for (const TWebUpdateWizardLanguage::TText& t : TWebUpdateWizardLanguage::Texts())
    base.Property(t.Name, t.Member, t.Member);
  TClassInfo::Of<TWebUpdateWizardEnglish, TWebUpdateWizardLanguage>(u"TWebUpdateWizardEnglish");
  TClassInfo::Of<TWebUpdateWizardPolish, TWebUpdateWizardLanguage>(u"TWebUpdateWizardPolish");
  RegisterClass(ClassInfoOf<TWebUpdateWizardLanguage>());
  RegisterClass(ClassInfoOf<TWebUpdateWizardEnglish>());
  RegisterClass(ClassInfoOf<TWebUpdateWizardPolish>());
}
