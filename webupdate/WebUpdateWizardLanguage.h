#pragma once
// The texts of the update wizard, one component per language: the base class
// holds the English texts, TWebUpdateWizardEnglish changes nothing and
// TWebUpdateWizardPolish replaces all but the two menu texts. A window
// resource may store any of the texts; the wizard's Language picks a table.
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Types.h"

class TWebUpdateWizardLanguage : public TComponent {
 public:
  // The English texts.
  explicit TWebUpdateWizardLanguage(TComponent* AOwner);

  // Copies the 28 texts from another table; any other source is ignored.
  void Assign(TPersistent* Source) override;

  // Published, all stored, in this order.
  String Welcome;
  String StartButton;
  String NextButton;
  String ExitButton;
  String RestartButton;
  String CancelButton;
  String FailedDownload;
  String GetUpdateButton;
  String NewVersionFound;
  String NewVersion;
  String NoNewVersionAvail;
  String NewVersionAvail;
  String CurrentVersion;
  String NoFilesFound;
  String NoUpdateOnServer;
  String CannotConnect;
  String WhatsNew;
  String License;
  String AcceptLicense;
  String NotAcceptLicense;
  String ComponentsAvail;
  String DownloadingFiles;
  String CurrentProgress;
  String TotalProgress;
  String UpdateComplete;
  String RestartInfo;
  String WhatsNewPopup;
  String LicensePopup;

  // The names of the texts (as published) with their members, in order.
  struct TText {
    const char16_t* Name;
    String TWebUpdateWizardLanguage::*Member;
  };
  static const std::vector<TText>& Texts();
};

class TWebUpdateWizardEnglish : public TWebUpdateWizardLanguage {
 public:
  explicit TWebUpdateWizardEnglish(TComponent* AOwner) : TWebUpdateWizardLanguage(AOwner) {}
};

class TWebUpdateWizardPolish : public TWebUpdateWizardLanguage {
 public:
  // The English texts first, then the Polish ones over all but the two menu texts.
  explicit TWebUpdateWizardPolish(TComponent* AOwner);
};

// What the main window's resource stores into its two tables (every text;
// the Polish table differs from its defaults in CurrentProgress and RestartInfo).
void LoadMainWindowLanguageTexts(TWebUpdateWizardEnglish* English, TWebUpdateWizardPolish* Polish);

// Declares the three classes and their published texts to the type information.
void RegisterWebUpdateWizardLanguageClasses();
