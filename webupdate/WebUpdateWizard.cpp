#include "webupdate/WebUpdateWizard.h"

#include <filesystem>

#include "foundation/style/VornStyle.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Module.h"
#include "webupdate/WUWIZ.h"
#include "webupdate/WebUpdate.h"

namespace {

void WizardChangeToProgramFolder() {
  std::error_code ec;
  std::filesystem::current_path(StringToUtf8(ExtractFileDir(GetModuleFileName())), ec);
}

}  // namespace

TWebUpdateWizard::TWebUpdateWizard(TComponent* AOwner)
    : TComponent(AOwner), FBillBoard(std::make_unique<TBitmap>()), FFont(std::make_unique<TFont>()) {
  FFont->SetName(u"Verdana");
  FFont->SetStyle({fsBold});
  FFont->SetSize(9);
}

TWebUpdateWizard::~TWebUpdateWizard() = default;

void TWebUpdateWizard::SetBillBoard(TBitmap* Value) {
  if (Value == nullptr) FBillBoard = std::make_unique<TBitmap>();
  else FBillBoard->Assign(Value);
}

void TWebUpdateWizard::SetLanguage(TWebUpdateWizardLanguage* Value) {
  if (FLanguage == Value) return;
  if (FLanguage != nullptr) FLanguage->RemoveFreeNotification(this);
  FLanguage = Value;
  if (FLanguage != nullptr) FLanguage->FreeNotification(this);
}

void TWebUpdateWizard::SetWebUpdate(TWebUpdate* Value) {
  if (FWebUpdate == Value) return;
  if (FWebUpdate != nullptr) FWebUpdate->RemoveFreeNotification(this);
  FWebUpdate = Value;
  if (FWebUpdate != nullptr) FWebUpdate->FreeNotification(this);
}

void TWebUpdateWizard::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLanguage) FLanguage = nullptr;
  if (AComponent == FWebUpdate) FWebUpdate = nullptr;
}

void TWebUpdateWizard::InitLanguage(TWUWIZ* W, TWebUpdateWizardLanguage* ALanguage) {
  std::unique_ptr<TWebUpdateWizardLanguage> english;
  if (ALanguage == nullptr) {
    english = std::make_unique<TWebUpdateWizardEnglish>(nullptr);
    ALanguage = english.get();
  }
  const TWebUpdateWizardLanguage& L = *ALanguage;
  W->WelcomeLabel->SetCaption(L.Welcome);
  W->StartButton->SetCaption(L.StartButton);
  W->ControlButton->SetCaption(L.GetUpdateButton);
  W->StrGetUpdate = L.GetUpdateButton;
  W->Label1->SetCaption(L.WhatsNew);
  W->NewButton->SetCaption(L.NextButton);
  W->EULAButton->SetCaption(L.NextButton);
  W->FilesButton->SetCaption(L.NextButton);
  W->StrNext = L.NextButton;
  W->Label2->SetCaption(L.License);
  W->RAccept->SetCaption(L.AcceptLicense);
  W->RNoAccept->SetCaption(L.NotAcceptLicense);
  W->Label3->SetCaption(L.ComponentsAvail);
  W->Label4->SetCaption(L.DownloadingFiles);
  W->Label5->SetCaption(L.CurrentProgress);
  W->Label6->SetCaption(L.TotalProgress);
  W->CancelButton->SetCaption(L.CancelButton);
  W->Label7->SetCaption(L.UpdateComplete);
  W->Label8->SetCaption(L.RestartInfo);
  W->RestartButton->SetCaption(L.RestartButton);
  W->StrNewFound = L.NewVersionFound;
  W->StrNewVersion = L.NewVersion;
  W->StrCurVersion = L.CurrentVersion;
  W->StrNoNewVersion = L.NoNewVersionAvail;
  W->StrUCNewVersion = L.NewVersionAvail;
  W->StrExit = L.ExitButton;
  W->StrNoNewFiles = L.NoFilesFound;
  W->StrCannotConnect = L.CannotConnect;
  W->StrNoUpdate = L.NoUpdateOnServer;
  W->StrFailedDownload = L.FailedDownload;
  W->StrWhatsNewPopup = L.WhatsNewPopup;
  W->StrLicensePopup = L.LicensePopup;
}

void TWebUpdateWizard::Execute(bool InitPath) {
  if (FWebUpdate == nullptr) throw Exception(u"No WebUpdate component assigned");
  if (FWizard != nullptr) return;  // one window at a time
  if (InitPath) WizardChangeToProgramFolder();
  auto window = std::make_unique<TWUWIZ>(this);
  TWUWIZ* w = window.get();
  FWizard = w;
  w->SetBorderStyle(BorderStyle);
  FDPIScale = GetControlDPIScale(w, w->Canvas());
  if (!FBillBoard->Empty()) w->Billboard->Picture()->Assign(FBillBoard.get());
  w->Billboard->SetBounds(BillBoardLeft, BillBoardTop, BillBoardWidth, BillBoardHeight);
  w->Billboard->SetStretch(BillBoardStretch);
  w->Billboard->SetCenter(BillBoardCenter);
  w->Font()->Assign(FFont.get());
  w->Font()->SetHeight(Round(FFont->Height() * double(FDPIScale)));
  InitLanguage(w, FLanguage);
  if (BorderStyle != bsNone) {
    w->Shape1->Pen()->SetColor(clBtnFace);
    w->Shape1->Pen()->SetWidth(0);
  } else {
    w->SetHeight(w->Shape1->Height() + 2);
    w->SetWidth(w->Shape1->Width() + 2);
  }
  w->AutoRun = AutoRun;
  w->AutoStart = AutoStart;
  TWebUpdate* web = FWebUpdate;
  TFileProgressEvent savedProgress = web->OnFileProgress;
  TAllowEvent savedCancel = web->OnProgressCancel;
  w->SetWebUpdate(web);
  w->SetCaption(Caption);
  w->SetPosition(Position);
  struct TRestore {
    TWebUpdateWizard* Self;
    TWebUpdate* Web;
    TFileProgressEvent& Progress;
    TAllowEvent& Cancel;
    std::unique_ptr<TWUWIZ>& Window;
    ~TRestore() {
      // Closed without the restart: the components downloaded for it go.
      if (Web->AppNeedsRestart() && !Web->RestartStarted()) Web->DiscardRestartFiles();
      Window->SetWebUpdate(nullptr);
      Web->OnFileProgress = std::move(Progress);
      Web->OnProgressCancel = std::move(Cancel);
      Self->FWizard = nullptr;
      Window.reset();
    }
  } restore{this, web, savedProgress, savedCancel, window};
  w->ShowModal();
}

void TWebUpdateWizard::CloseWizard() {
  if (FWizard != nullptr) FWizard->Close();
}

void RegisterWebUpdateWizardClasses() {
  RegisterWebUpdateWizardLanguageClasses();
  TClassInfo::Of<TWebUpdateWizard, TComponent>(u"TWebUpdateWizard")
      .Property(u"AutoStart", &TWebUpdateWizard::AutoStart, &TWebUpdateWizard::AutoStart)
      .Property(u"AutoRun", &TWebUpdateWizard::AutoRun, &TWebUpdateWizard::AutoRun)
      .Property(u"BillBoard", &TWebUpdateWizard::BillBoard, &TWebUpdateWizard::SetBillBoard)
      .Property(u"BillBoardStretch", &TWebUpdateWizard::BillBoardStretch, &TWebUpdateWizard::BillBoardStretch)
      .Property(u"BillBoardCenter", &TWebUpdateWizard::BillBoardCenter, &TWebUpdateWizard::BillBoardCenter)
      .Property(u"BillBoardTop", &TWebUpdateWizard::BillBoardTop, &TWebUpdateWizard::BillBoardTop)
      .Property(u"BillBoardLeft", &TWebUpdateWizard::BillBoardLeft, &TWebUpdateWizard::BillBoardLeft)
      .Property(u"BillBoardHeight", &TWebUpdateWizard::BillBoardHeight, &TWebUpdateWizard::BillBoardHeight)
      .Property(u"BillBoardWidth", &TWebUpdateWizard::BillBoardWidth, &TWebUpdateWizard::BillBoardWidth)
      .Property(u"Caption", &TWebUpdateWizard::Caption, &TWebUpdateWizard::Caption)
      .Property(u"Font", &TWebUpdateWizard::Font, &TWebUpdateWizard::SetFont)
      .Property(u"Language", &TWebUpdateWizard::Language, &TWebUpdateWizard::SetLanguage)
      .Property(u"Position", &TWebUpdateWizard::Position, &TWebUpdateWizard::Position)
      .Property(u"WebUpdate", &TWebUpdateWizard::WebUpdate, &TWebUpdateWizard::SetWebUpdate)
      .Property(u"BorderStyle", &TWebUpdateWizard::BorderStyle, &TWebUpdateWizard::BorderStyle);
  RegisterClass(ClassInfoOf<TWebUpdateWizard>());
}
