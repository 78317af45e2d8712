#pragma once
// TWebUpdateWizard: runs one program update as a modal, page-by-page dialog
// (TWUWIZ) over the TWebUpdate it is given; the window exists only while
// Execute runs. AutoStart begins the run as soon as the window shows;
// AutoRun presses each page's button itself after a short pause, except
// that a licence always waits for the person's choice.
#include <memory>

#include "platform/rtl/Component.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsObjects.h"
#include "webupdate/WebUpdateWizardLanguage.h"

class TWebUpdate;
class TWUWIZ;

class TWebUpdateWizard : public TComponent {
 public:
  explicit TWebUpdateWizard(TComponent* AOwner);
  ~TWebUpdateWizard() override;

  bool AutoStart = false;
  bool AutoRun = false;
  TBitmap* BillBoard() const { return FBillBoard.get(); }
  // Copies the picture (nullptr empties it).
  void SetBillBoard(TBitmap* Value);
  bool BillBoardStretch = false;
  bool BillBoardCenter = false;
  Integer BillBoardTop = 27;
  Integer BillBoardLeft = 9;
  Integer BillBoardHeight = 201;
  Integer BillBoardWidth = 116;
  String Caption;
  TFont* Font() const { return FFont.get(); }
  // Copies the font.
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TWebUpdateWizardLanguage* Language() const { return FLanguage; }
  void SetLanguage(TWebUpdateWizardLanguage* Value);
  TPosition Position = poScreenCenter;
  TWebUpdate* WebUpdate() const { return FWebUpdate; }
  void SetWebUpdate(TWebUpdate* Value);
  TFormBorderStyle BorderStyle = bsDialog;

  // Runs the wizard modally and returns when its window has closed.
  // InitPath: the current folder becomes the program's folder first.
  // Raises Exception "No WebUpdate component assigned" without a WebUpdate.
  void Execute(bool InitPath);
  // Copies the table's texts into the window; nullptr uses the English defaults.
  static void InitLanguage(TWUWIZ* AWizard, TWebUpdateWizardLanguage* ALanguage);
  // Closes the running wizard window; does nothing when none runs.
  void CloseWizard();
  // The window while Execute runs, else nullptr (for the component's and the wizard's events).
  TWUWIZ* Wizard() const { return FWizard; }
  float DPIScale() const { return FDPIScale; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::unique_ptr<TBitmap> FBillBoard;
  std::unique_ptr<TFont> FFont;
  TWebUpdateWizardLanguage* FLanguage = nullptr;
  TWebUpdate* FWebUpdate = nullptr;
  TWUWIZ* FWizard = nullptr;
  float FDPIScale = 1.0f;
};

// Declares the wizard component and its published properties to the type information.
void RegisterWebUpdateWizardClasses();
