#pragma once
// The download progress window that TWebUpdate shows around each download
// when ShowDownloadProgress is set.
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TProgressForm : public TForm {
 public:
  // Builds the window (300 x 110, scaled by Scale) with its bar and label.
  explicit TProgressForm(TComponent* AOwner, float Scale = 1.0f);

  TProgressBar* ProgressBar;
  TLabel* FileLabel;

  // Shows a file's name and progress; an unknown Size shows what arrived as the whole.
  void ShowProgress(const String& FileName, Int64 Pos, Int64 Size);
};
