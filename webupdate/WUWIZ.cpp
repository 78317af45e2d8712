#include "webupdate/WUWIZ.h"

#include <algorithm>
#include <climits>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Clock.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Shell.h"
#include "webupdate/WebUpdate.h"

namespace {

constexpr UINT kWizardAutoStart = WM_USER + 1;
constexpr Cardinal kWizardAutoRunPauseMs = 350;

template <class T>
T* WizardPut(TWUWIZ* Form, TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width,
             Integer Height) {
  auto* c = new T(Form);  // owned and destroyed by the window
  c->SetName(Name);
  c->SetParent(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

TLabel* WizardLabel(TWUWIZ* Form, TWinControl* Parent, const String& Name, Integer Left, Integer Top,
                    const String& Caption) {
  auto* l = new TLabel(Form);
  l->SetName(Name);
  l->SetParent(Parent);
  l->SetLeft(Left);
  l->SetTop(Top);
  l->SetCaption(Caption);
  return l;
}

TButton* WizardButton(TWUWIZ* Form, TWinControl* Parent, const String& Name, const String& Caption,
                      TNotifyEvent OnClick) {
  auto* b = WizardPut<TButton>(Form, Parent, Name, 224, 224, 91, 25);
  b->SetCaption(Caption);
  b->OnClick = std::move(OnClick);
  return b;
}

// Focuses a control when it can take the focus now (a page that is not
// showing yet, or a hidden window, cannot).
void WizardFocus(TWinControl* Control) {
  if (!Control->CanFocus()) return;
  try {
    Control->SetFocus();
  } catch (const EInvalidOperation&) {
    // not focusable at this moment: the page's button is still enabled
  }
}

// RTF by its first five bytes ("{\rtf" in any case); the position goes back to 0.
bool WizardIsRtf(TStream* Stream) {
  char head[5] = {};
  Stream->SetPosition(0);
  const Integer n = Stream->Read(head, 5);
  Stream->SetPosition(0);
  return n == 5 && UpperCase(Utf8ToString(std::string(head, 5))) == u"{\\RTF";
}

bool WizardHasText(TStream* Stream) { return Stream != nullptr && Stream->Size() > 0; }

// A progress value as the progress bar's 32-bit range takes it.
Integer WizardBarValue(Int64 Value, Int64 Max) {
  if (Max <= INT_MAX) return Integer(std::clamp<Int64>(Value, 0, Max));
  return Integer(std::clamp<Int64>(Value, 0, Max) / (Max / INT_MAX + 1));
}

}  // namespace

TWUWIZ::TWUWIZ(TComponent* AOwner) : TForm(AOwner) {
  SetName(u"WUWIZ");
  SetBorderStyle(bsDialog);
  SetColor(clBtnFace);
  Font()->SetName(u"Verdana");
  Font()->SetHeight(-12);
  SetClientWidth(474);
  SetClientHeight(284);

  Shape1 = WizardPut<TShape>(this, this, u"Shape1", 2, 1, 471, 281);
  Shape1->Brush()->SetColor(clBtnFace);
  Shape1->Pen()->SetColor(clBtnFace);
  Billboard = WizardPut<TImage>(this, this, u"Billboard", 9, 27, 116, 201);
  Billboard->SetStretch(true);
  {
    // The design picture: a quiet two-tone band of the billboard's size.
    TBitmap design(116, 201);
    design.Canvas()->Brush()->SetColor(TColor(0x00C08040));
    design.Canvas()->FillRect({0, 0, 116, 201});
    design.Canvas()->Brush()->SetColor(TColor(0x00E0C0A0));
    design.Canvas()->FillRect({0, 150, 116, 201});
    Billboard->Picture()->SetBitmap(&design);
  }
  PageControl1 = WizardPut<TPageControl>(this, this, u"PageControl1", 136, 8, 329, 265);
  auto page = [this](const String& name) {
    auto* t = new TTabSheet(this);
    t->SetName(name);
    t->SetPageControl(PageControl1);
    t->SetTabVisible(false);
    return t;
  };
  TabSheet1 = page(u"TabSheet1");
  TabSheet2 = page(u"TabSheet2");
  TabSheet3 = page(u"TabSheet3");
  TabSheet6 = page(u"TabSheet6");
  TabSheet4 = page(u"TabSheet4");
  TabSheet5 = page(u"TabSheet5");
  TabSheet7 = page(u"TabSheet7");

  WelcomeLabel = WizardPut<TLabel>(this, TabSheet1, u"WelcomeLabel", 0, 24, 263, 28);
  WelcomeLabel->SetAutoSize(false);
  WelcomeLabel->SetWordWrap(true);
  WelcomeLabel->SetCaption(u"Press start to start checking for available application updates ...");
  StartButton = WizardButton(this, TabSheet1, u"StartButton", u"Start", [this](TObject* s) { StartButtonClick(s); });
  StartButton->SetDefault(true);

  VersionInfoLabel = WizardPut<TLabel>(this, TabSheet2, u"VersionInfoLabel", 0, 16, 305, 202);
  VersionInfoLabel->SetAutoSize(false);
  VersionInfoLabel->SetWordWrap(true);
  VersionInfoLabel->SetAnchors({akLeft, akTop, akRight, akBottom});
  ControlButton =
      WizardButton(this, TabSheet2, u"ControlButton", u"Get update", [this](TObject* s) { ControlButtonClick(s); });
  ControlButton->SetEnabled(false);

  Label1 = WizardLabel(this, TabSheet3, u"Label1", 0, 8, u"What's new :");
  WhatsNewMemo = WizardPut<TMemo>(this, TabSheet3, u"WhatsNewMemo", 0, 24, 313, 193);
  WhatsNewMemo->SetReadOnly(true);
  WhatsNewMemo->SetScrollBars(ssBoth);
  WhatsNewRichEdit = WizardPut<TRichEdit>(this, TabSheet3, u"WhatsNewRichEdit", 0, 24, 313, 193);
  WhatsNewRichEdit->SetReadOnly(true);
  WhatsNewRichEdit->SetVisible(false);
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName(u"PopupMenu1");
  ViewinNotepad1 = new TMenuItem(this);
  ViewinNotepad1->SetName(u"ViewinNotepad1");
  ViewinNotepad1->SetCaption(u"View in Notepad");
  ViewinNotepad1->OnClick = [this](TObject* s) { ViewinNotepad1Click(s); };
  PopupMenu1->Items()->Add(ViewinNotepad1);
  WhatsNewMemo->SetPopupMenu(PopupMenu1);
  NewButton = WizardButton(this, TabSheet3, u"NewButton", u"Next", [this](TObject* s) { NewButtonClick(s); });

  Label4 = WizardLabel(this, TabSheet6, u"Label4", 0, 8, u"Downloading files :");
  Label5 = WizardLabel(this, TabSheet6, u"Label5", 0, 56, u"Current file progress :");
  FileLabel = WizardLabel(this, TabSheet6, u"FileLabel", 152, 56, u"");
  FileProgress = WizardPut<TProgressBar>(this, TabSheet6, u"FileProgress", 0, 80, 313, 17);
  Label6 = WizardLabel(this, TabSheet6, u"Label6", 0, 136, u"Total progress :");
  TotalProgress = WizardPut<TProgressBar>(this, TabSheet6, u"TotalProgress", 0, 160, 313, 17);
  CancelButton = WizardButton(this, TabSheet6, u"CancelButton", u"Cancel", [this](TObject* s) { CancelButtonClick(s); });

  Label2 = WizardLabel(this, TabSheet4, u"Label2", 0, 8, u"License agreement :");
  EULAMemo = WizardPut<TMemo>(this, TabSheet4, u"EULAMemo", 0, 24, 313, 193);
  EULAMemo->SetReadOnly(true);
  EULAMemo->SetScrollBars(ssBoth);
  EULARichEdit = WizardPut<TRichEdit>(this, TabSheet4, u"EULARichEdit", 0, 24, 313, 193);
  EULARichEdit->SetReadOnly(true);
  EULARichEdit->SetVisible(false);
  PopupMenu2 = new TPopupMenu(this);
  PopupMenu2->SetName(u"PopupMenu2");
  ViewinNotepad2 = new TMenuItem(this);
  ViewinNotepad2->SetName(u"ViewinNotepad2");
  ViewinNotepad2->SetCaption(u"View in Notepad");
  ViewinNotepad2->OnClick = [this](TObject* s) { ViewinNotepad2Click(s); };
  PopupMenu2->Items()->Add(ViewinNotepad2);
  EULAMemo->SetPopupMenu(PopupMenu2);
  RAccept = WizardPut<TRadioButton>(this, TabSheet4, u"RAccept", 1, 220, 200, 17);
  RAccept->SetCaption(u"I Accept");
  RAccept->OnClick = [this](TObject* s) { RAcceptClick(s); };
  RNoAccept = WizardPut<TRadioButton>(this, TabSheet4, u"RNoAccept", 1, 238, 200, 17);
  RNoAccept->SetCaption(u"I do not accept");
  RNoAccept->OnClick = [this](TObject* s) { RAcceptClick(s); };
  EULAButton = WizardButton(this, TabSheet4, u"EULAButton", u"Next", [this](TObject* s) { EULAButtonClick(s); });
  EULAButton->SetEnabled(false);

  Label3 = WizardLabel(this, TabSheet5, u"Label3", 0, 8, u"Available application components :");
  CheckListBox1 = WizardPut<TCheckListBox>(this, TabSheet5, u"CheckListBox1", 0, 24, 313, 193);
  FilesButton = WizardButton(this, TabSheet5, u"FilesButton", u"Next", [this](TObject* s) { FilesButtonClick(s); });

  Label7 = WizardLabel(this, TabSheet7, u"Label7", 0, 8, u"Update completed ...");
  Label8 = WizardLabel(this, TabSheet7, u"Label8", 0, 96, u"Press restart to start the updated application.");
  RestartButton =
      WizardButton(this, TabSheet7, u"RestartButton", u"Restart", [this](TObject* s) { RestartButtonClick(s); });

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  FStartWindow = AllocateHWnd([this](TMessage& m) {
    if (m.Msg == kWizardAutoStart) AutoStartRun();
  });
  AfterConstruction();
}

TWUWIZ::~TWUWIZ() {
  DeallocateHWnd(FStartWindow);
  SetWebUpdate(nullptr);
}

void TWUWIZ::SetWebUpdate(TWebUpdate* Value) {
  if (FWebUpdate != nullptr && FWebUpdate != Value) {
    FWebUpdate->OnFileProgress = nullptr;
    FWebUpdate->OnProgressCancel = nullptr;
  }
  FWebUpdate = Value;
  Cancelled = false;
  if (FWebUpdate == nullptr) return;
  FWebUpdate->OnFileProgress = [this](TObject* s, const String& f, Int64 p, Int64 z) {
    WebUpdateFileProgress(s, f, p, z);
  };
  FWebUpdate->OnProgressCancel = [this](TObject* s, bool& c) { WebUpdateCancel(s, c); };
}

Integer TWUWIZ::ItemFile(Integer Item) const {
  if (Item < 0 || Item >= Integer(FItemFiles.size())) return -1;
  return FItemFiles[std::size_t(Item)];
}

void TWUWIZ::FormCreate(TObject*) {
  FileLabel->SetAutoSize(false);
  FileLabel->SetWidth(166);
  PageControl1->SetActivePage(TabSheet1);
  FWebUpdate = nullptr;
  Cancelled = false;
}

void TWUWIZ::FormActivate(TObject*) {
  WizardFocus(StartButton);
  // The wizard's own message boxes activate the window again when they
  // close: the automatic start belongs to the first activation only. It runs
  // from the modal loop, not inside the activation.
  if (AutoStart && !FAutoStarted) {
    FAutoStarted = true;
    PostMessage(FStartWindow, kWizardAutoStart, 0, 0);
  }
}

void TWUWIZ::AutoStartRun() {
  if (Closing()) return;
  PageControl1->SetActivePage(TabSheet2);
  if (!AutoRunPause()) return;
  StartButtonClick(this);
}

void TWUWIZ::FormCloseQuery(TObject*, bool& CanClose) {
  UpdateDone();
  CanClose = true;
}

bool TWUWIZ::Closing() const { return FDone || ModalResult() != mrNone; }

bool TWUWIZ::AutoRunPause() {
  const UInt64 start = GetTickCount64();
  while (GetTickCount64() - start < kWizardAutoRunPauseMs) {
    if (Application != nullptr) Application->ProcessMessages();
    if (Closing()) return false;
    Sleep(10);
  }
  if (Application != nullptr) Application->ProcessMessages();
  return !Closing();
}

void TWUWIZ::FitButtonWidth(TButton* Button) {
  Canvas()->Font()->Assign(Button->Font());
  const Integer text = Canvas()->TextWidth(Button->Caption()) + 16;
  const Integer width = std::max(Button->Width(), text);
  Button->SetBounds(Button->Left() + Button->Width() - width, Button->Top(), width, Button->Height());
}

void TWUWIZ::StartButtonClick(TObject*) {
  StartButton->SetEnabled(false);
  ControlButton->SetEnabled(false);
  ViewinNotepad1->SetCaption(StrWhatsNewPopup);
  ViewinNotepad2->SetCaption(StrLicensePopup);
  if (FWebUpdate == nullptr) return;
  struct TCursorBack {
    ~TCursorBack() {
      if (Screen != nullptr) Screen->SetCursor(crDefault);
    }
  } cursorBack;
  if (Screen != nullptr) Screen->SetCursor(crHourGlass);
  if (FWebUpdate->StartConnection() != 0) {
    UpdateDone();
    StartButton->SetEnabled(true);
    return;
  }
  SetCursor(crDefault);
  if (FWebUpdate->UpdateType == ftpUpdate || FWebUpdate->UpdateType == sftpUpdate) FWebUpdate->FTPConnect();
  FWebUpdate->UpdateUpdate = wuuSilent;
  const Integer r = FWebUpdate->GetControlFile();
  if (Screen != nullptr) Screen->SetCursor(crDefault);
  if (r != 0) {
    PageControl1->SetActivePage(TabSheet2);
    VersionInfoLabel->SetCaption(StrCannotConnect + u"\r" + StrNoUpdate);
    VersionInfoLabel->SetWidth(300);
    ControlButton->SetCaption(StrExit);
    FitButtonWidth(ControlButton);
    ControlButton->SetEnabled(true);
    WizardFocus(ControlButton);
  } else {
    StartButton->SetEnabled(true);
    PageControl1->SetActivePage(TabSheet2);
    ControlButton->SetEnabled(true);
    const Integer v = FWebUpdate->DoVersionCheck();
    const String cr = u"\r";
    switch (v) {
      case 6: {
        String current;
        if (FWebUpdate->CurVersionDate() != EncodeDate(1980, 1, 1))
          current = StrCurVersion + u" : " + DateToStr(FWebUpdate->CurVersionDate());
        const TDateTime nd = FWebUpdate->NewVersionDate();
        String newDate = DateToStr(nd);
        if (nd - Trunc(nd) != 0) newDate += u" " + TimeToStr(nd);
        VersionInfoLabel->SetCaption(StrNewFound + u" :" + cr + current + cr + StrNewVersion + u" : " + newDate + cr +
                                     cr + FWebUpdate->UpdateDescription());
        break;
      }
      case 7: VersionInfoLabel->SetCaption(StrNoNewVersion); break;
      case 8:
      case 9:
      case 10:
      case 12: VersionInfoLabel->SetCaption(StrUCNewVersion); break;
      case 11:
        VersionInfoLabel->SetCaption(StrNewFound + u" :" + cr + StrCurVersion + u" : " + FWebUpdate->CurVersionInfo() +
                                     cr + StrNewVersion + u" : " + FWebUpdate->NewVersionInfo() + cr + cr +
                                     FWebUpdate->UpdateDescription());
        break;
      default: break;
    }
    VersionInfoLabel->SetWidth(300);
    ControlButton->SetCaption(v == 7 ? StrExit : StrGetUpdate);
    FitButtonWidth(ControlButton);
    ControlButton->SetEnabled(true);
    WizardFocus(ControlButton);
  }
  if (AutoRun && AutoRunPause()) ControlButtonClick(this);
}

void TWUWIZ::FillComponents(TListRule Rule) {
  CheckListBox1->Items()->Clear();
  FItemFiles.clear();
  TFileList* files = FWebUpdate->FileList();
  for (Integer i = 0; i < files->Count(); ++i) {
    TFileDescription* f = files->Items(i);
    if (f->Hidden) continue;
    String text = f->Description;
    if (Rule == TListRule::Control && text.empty()) text = u"Application";
    CheckListBox1->Items()->Add(text);
    FItemFiles.push_back(i);
    const Integer item = CheckListBox1->Count() - 1;
    CheckListBox1->SetChecked(item, Rule != TListRule::Licence || f->Preselect);
    // A file that must come cannot be left out.
    if (f->Mandatory) {
      CheckListBox1->SetChecked(item, true);
      CheckListBox1->SetItemEnabled(item, false);
    }
  }
}

void TWUWIZ::ShowComponentsOrDownload() {
  if (CheckListBox1->Count() == 0) {
    DoDownload();
    return;
  }
  PageControl1->SetActivePage(TabSheet5);
  FilesButton->SetEnabled(true);
  WizardFocus(FilesButton);
  if (AutoRun && AutoRunPause()) FilesButtonClick(this);
}

void TWUWIZ::ShowLicence(TStream* Stream) {
  RAccept->SetChecked(false);
  RNoAccept->SetChecked(false);
  EULAButton->SetEnabled(false);
  if (WizardIsRtf(Stream)) {
    EULAMemo->SetVisible(false);
    EULARichEdit->SetVisible(true);
    EULARichEdit->LoadFromStream(Stream);
  } else {
    EULARichEdit->SetVisible(false);
    EULAMemo->SetVisible(true);
    TStringList lines;
    lines.LoadFromStream(Stream);
    // Asked on every road to the licence page (also after the what's-new
    // page), as in the licence dialog: 1 shows the licence, anything else refuses it.
    if (FWebUpdate->OnDownloadedEULA) {
      Integer res = 1;
      FWebUpdate->OnDownloadedEULA(FWebUpdate, &lines, res);
      if (res != 1) {
        UpdateDone();
        return;
      }
    }
    EULAMemo->Lines()->Assign(&lines);
  }
  PageControl1->SetActivePage(TabSheet4);
  // Even with AutoRun the person must choose: the licence is never accepted
  // on their behalf, so the automatic run stops here.
}

void TWUWIZ::ControlButtonClick(TObject*) {
  ControlButton->SetEnabled(false);
  if (ControlButton->Caption() == StrExit) {
    UpdateDone();
    return;
  }
  if (FWebUpdate->HandleActions() != 0) {
    UpdateDone();
    return;
  }
  if (std::unique_ptr<TMemoryStream> w = FWebUpdate->GetWhatsNewStream(); WizardHasText(w.get())) {
    Integer res = 1;
    const bool rtf = WizardIsRtf(w.get());
    if (!rtf) {
      TStringList lines;
      lines.LoadFromStream(w.get());
      if (FWebUpdate->OnDownloadedWhatsNew) FWebUpdate->OnDownloadedWhatsNew(FWebUpdate, &lines, res);
      w->Clear();
      lines.SaveToStream(w.get());
      w->SetPosition(0);
    }
    if (res == 1) {
      WhatsNewRichEdit->SetVisible(rtf);
      WhatsNewMemo->SetVisible(!rtf);
      if (rtf) WhatsNewRichEdit->LoadFromStream(w.get());
      else WhatsNewMemo->Lines()->LoadFromStream(w.get());
      w.reset();
      PageControl1->SetActivePage(TabSheet3);
      NewButton->SetEnabled(true);
      WizardFocus(NewButton);
      if (AutoRun && AutoRunPause()) NewButtonClick(this);
      return;
    }
  }
  if (std::unique_ptr<TMemoryStream> e = FWebUpdate->GetEULAStream(); WizardHasText(e.get())) {
    ShowLicence(e.get());
    return;
  }
  FWebUpdate->GetFileDetails();
  FWebUpdate->ProcessFileDetails();
  FillComponents(TListRule::Control);
  if (!CheckFileCount()) return;
  ShowComponentsOrDownload();
}

void TWUWIZ::NewButtonClick(TObject*) {
  NewButton->SetEnabled(false);
  if (std::unique_ptr<TMemoryStream> e = FWebUpdate->GetEULAStream(); WizardHasText(e.get())) {
    ShowLicence(e.get());
    return;
  }
  FWebUpdate->GetFileDetails();
  FWebUpdate->ProcessFileDetails();
  FillComponents(TListRule::WhatsNew);
  if (!CheckFileCount()) return;
  ShowComponentsOrDownload();
}

void TWUWIZ::RAcceptClick(TObject*) {
  if (RAccept->Checked()) {
    EULAButton->SetEnabled(true);
    EULAButton->SetCaption(StrNext);
    FitButtonWidth(EULAButton);
  } else if (RNoAccept->Checked()) {
    EULAButton->SetEnabled(true);
    EULAButton->SetCaption(StrExit);
    FitButtonWidth(EULAButton);
  }
}

void TWUWIZ::EULAButtonClick(TObject*) {
  // Accepted only with "I accept" chosen and the accepting caption on the button.
  if (RAccept->Checked() && EULAButton->Caption() == StrNext) {
    EULAButton->SetEnabled(false);
    FWebUpdate->GetFileDetails();
    FWebUpdate->ProcessFileDetails();
    FillComponents(TListRule::Licence);
    if (!CheckFileCount()) return;
    ShowComponentsOrDownload();
  } else if (RNoAccept->Checked()) {
    UpdateDone();
  }
}

void TWUWIZ::FilesButtonClick(TObject*) {
  FilesButton->SetEnabled(false);
  TFileList* files = FWebUpdate->FileList();
  for (Integer i = 0; i < files->Count(); ++i) files->Items(i)->Selected = true;
  for (Integer item = 0; item < CheckListBox1->Count(); ++item) {
    const Integer file = ItemFile(item);
    if (!CheckListBox1->Checked(item) && file >= 0 && file < files->Count() && !files->Items(file)->Mandatory)
      files->Items(file)->Selected = false;
  }
  for (Integer i = files->Count() - 1; i >= 0; --i)
    if (!files->Items(i)->Selected) files->Delete(i);
  if (CheckFileCount()) DoDownload();
}

bool TWUWIZ::CheckFileCount() {
  if (FWebUpdate->FileList()->Count() > 0) return true;
  MessageBox(Handle(), StrNoNewFiles, Caption(), MB_OK | MB_ICONINFORMATION);
  UpdateDone();
  return false;
}

void TWUWIZ::DoDownload() {
  FileLabel->SetCaption(u"");
  FileProgress->SetPosition(0);
  TotalProgress->SetPosition(0);
  FFinishedBytes = 0;
  FLastItem = -1;
  FLastPos = 0;
  PageControl1->SetActivePage(TabSheet6);
  // Cancel stays usable in an automatic run too: the person can always stop a download.
  CancelButton->SetEnabled(true);
  WizardFocus(CancelButton);
  SetCursor(crHourGlass);
  if (FWebUpdate->GetFileUpdates() == -1) {
    SetCursor(crDefault);
    FWebUpdate->Cancel();
    if (!Cancelled && !Closing()) MessageBox(Handle(), StrFailedDownload, Caption(), MB_OK | MB_ICONERROR);
  }
  FWebUpdate->UpdateActions();
  SetCursor(crDefault);
  CancelButton->SetEnabled(false);
  if (FWebUpdate->Cancelled() || Cancelled || Closing()) {
    UpdateDone();
    return;
  }
  FWebUpdate->StopConnection();
  FWebUpdate->DoSuccess();
  PageControl1->SetActivePage(TabSheet7);
  const bool restart = FWebUpdate->AppNeedsRestart(), silent = FWebUpdate->AppSilentRestart();
  if (!restart) {
    RestartButton->SetCaption(StrExit);
    FitButtonWidth(RestartButton);
    Label8->SetCaption(u"");
  }
  RestartButton->SetEnabled(true);
  WizardFocus(RestartButton);
  if (AutoRun || (silent && restart)) {
    if (!silent && !AutoRunPause()) return;
    RestartButtonClick(this);
  }
}

void TWUWIZ::RestartButtonClick(TObject*) {
  if (FWebUpdate->AppNeedsRestart()) FWebUpdate->DoRestart();
  else Close();
}

void TWUWIZ::CancelButtonClick(TObject*) { Cancelled = true; }

void TWUWIZ::WebUpdateCancel(TObject*, bool& Cancel) {
  // Closing the window during a download stops it as Cancel does.
  Cancel = Cancelled || Closing();
}

void TWUWIZ::WebUpdateFileProgress(TObject*, const String& FileName, Int64 Pos, Int64 Size) {
  FileLabel->SetCaption(ExtractFileName(FileName));
  // A size the server did not announce counts as what has arrived so far.
  const Int64 fileMax = Size > 0 ? std::max(Size, Pos) : std::max<Int64>(Pos, 1);
  FileProgress->SetMax(WizardBarValue(fileMax, fileMax));
  FileProgress->SetPosition(WizardBarValue(Pos, fileMax));
  TFileList* files = FWebUpdate->FileList();
  const Integer active = files->ActiveItem;
  if (active != FLastItem) {
    if (FLastItem >= 0) FFinishedBytes += FLastPos;
    FLastItem = active;
  }
  FLastPos = Pos;
  // The total of the sizes known: a file's announced size, else what the
  // control file lists, else what arrived; the files still to come add
  // their listed sizes.
  Int64 total = FFinishedBytes + fileMax;
  for (Integer i = active + 1; i < files->Count(); ++i) total += std::max<Int64>(files->Items(i)->FileSize, 0);
  const Int64 done = FFinishedBytes + Pos;
  TotalProgress->SetMax(WizardBarValue(total, total));
  TotalProgress->SetPosition(WizardBarValue(done, total));
  if (Application != nullptr) Application->ProcessMessages();
}

void TWUWIZ::UpdateDone() {
  if (!FDone) {
    FDone = true;
    if (FWebUpdate != nullptr) FWebUpdate->StopConnection();
  }
  Close();
}

void TWUWIZ::ViewInTextEditor(TMemo* Memo, const String& FileName) {
  if (FWebUpdate == nullptr) return;
  const String path = FWebUpdate->WinTempDir() + FileName;
  try {
    Memo->Lines()->SaveToFile(path);
  } catch (const Exception&) {
    return;  // nothing to open
  }
  ShellExecute(Handle(), u"open", path, u"", u"", SW_NORMAL);
}

void TWUWIZ::ViewinNotepad1Click(TObject*) { ViewInTextEditor(WhatsNewMemo, u"whatsnew.txt"); }
void TWUWIZ::ViewinNotepad2Click(TObject*) { ViewInTextEditor(EULAMemo, u"eula.txt"); }
