#pragma once
// The update wizard's window: seven pages whose tabs are hidden, switched by
// code, that walk a person through one update run of a TWebUpdate (start,
// version report, what's new, licence, components, download, done). Made by
// TWebUpdateWizard for one Execute and freed afterwards.
#include <vector>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

class TWebUpdate;

class TWUWIZ : public TForm {
 public:
  // Builds the window with its design texts; FormCreate runs at the end.
  explicit TWUWIZ(TComponent* AOwner);
  ~TWUWIZ() override;

  // The component the window drives; setting it installs the window's
  // progress and cancel handlers on it and clears Cancelled.
  TWebUpdate* WebUpdate() const { return FWebUpdate; }
  void SetWebUpdate(TWebUpdate* Value);

  bool Cancelled = false;  // the person asked to stop
  bool AutoRun = false;
  bool AutoStart = false;
  // Texts the language table fills.
  String StrNewFound, StrNewVersion, StrCurVersion, StrNoNewVersion, StrUCNewVersion, StrGetUpdate, StrExit,
      StrNoNewFiles, StrCannotConnect, StrNoUpdate, StrNext, StrFailedDownload, StrWhatsNewPopup, StrLicensePopup;

  TShape* Shape1;
  TImage* Billboard;
  TPageControl* PageControl1;
  TTabSheet* TabSheet1;  // start
  TTabSheet* TabSheet2;  // version report
  TTabSheet* TabSheet3;  // what's new
  TTabSheet* TabSheet4;  // licence
  TTabSheet* TabSheet5;  // components
  TTabSheet* TabSheet6;  // download
  TTabSheet* TabSheet7;  // done
  TLabel* WelcomeLabel;
  TButton* StartButton;
  TLabel* VersionInfoLabel;
  TButton* ControlButton;
  TLabel* Label1;
  TMemo* WhatsNewMemo;
  TRichEdit* WhatsNewRichEdit;
  TPopupMenu* PopupMenu1;
  TMenuItem* ViewinNotepad1;
  TButton* NewButton;
  TLabel* Label2;
  TMemo* EULAMemo;
  TRichEdit* EULARichEdit;
  TPopupMenu* PopupMenu2;
  TMenuItem* ViewinNotepad2;
  TRadioButton* RAccept;
  TRadioButton* RNoAccept;
  TButton* EULAButton;
  TLabel* Label3;
  TCheckListBox* CheckListBox1;
  TButton* FilesButton;
  TLabel* Label4;
  TLabel* Label5;
  TLabel* FileLabel;
  TProgressBar* FileProgress;
  TLabel* Label6;
  TProgressBar* TotalProgress;
  TButton* CancelButton;
  TLabel* Label7;
  TLabel* Label8;
  TButton* RestartButton;

  void FormCreate(TObject* Sender);
  // Focuses Start; with AutoStart, the run starts once per showing.
  void FormActivate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void StartButtonClick(TObject* Sender);
  void ControlButtonClick(TObject* Sender);
  void NewButtonClick(TObject* Sender);
  void RAcceptClick(TObject* Sender);
  void EULAButtonClick(TObject* Sender);
  void FilesButtonClick(TObject* Sender);
  void CancelButtonClick(TObject* Sender);
  void RestartButtonClick(TObject* Sender);
  // Save the memo's lines as "whatsnew.txt" / "eula.txt" in the component's
  // temporary folder and open that file with the desktop's text viewer.
  void ViewinNotepad1Click(TObject* Sender);
  void ViewinNotepad2Click(TObject* Sender);
  void WebUpdateFileProgress(TObject* Sender, const String& FileName, Int64 Pos, Int64 Size);
  void WebUpdateCancel(TObject* Sender, bool& Cancel);
  // Ends the connection (once) and closes the window.
  void UpdateDone();
  // True when the file list has entries; else tells the person and closes.
  bool CheckFileCount();

  // The file index each component-list item carries.
  Integer ItemFile(Integer Item) const;

 private:
  enum class TListRule { Control, WhatsNew, Licence };
  void DoDownload();
  void FitButtonWidth(TButton* Button);
  // Waits 350 ms of the clock, delivering messages; false when the window
  // was closed meanwhile (the automatic step is then dropped).
  bool AutoRunPause();
  void FillComponents(TListRule Rule);
  void ShowLicence(TStream* Stream);
  void ShowComponentsOrDownload();
  void ViewInTextEditor(TMemo* Memo, const String& FileName);
  bool Closing() const;
  void AutoStartRun();

  TWebUpdate* FWebUpdate = nullptr;
  std::vector<Integer> FItemFiles;
  bool FDone = false;           // UpdateDone ran
  bool FAutoStarted = false;    // the automatic start ran for this showing
  HWND FStartWindow = nullptr;  // carries the automatic start into the modal loop
  // Totals for the overall progress bar: bytes of files already finished
  // and the file the last report was about.
  Int64 FFinishedBytes = 0;
  Integer FLastItem = -1;
  Int64 FLastPos = 0;
};
