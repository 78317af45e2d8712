#include "webupdate/ProgressForm.h"

#include <algorithm>
#include <climits>

#include "platform/rtl/FileNames.h"
#include "platform/rtl/Math.h"
#include "webupdate/StatusTexts.h"

TProgressForm::TProgressForm(TComponent* AOwner, float Scale) : TForm(AOwner) {
  SetName(u"ProgressForm");
  SetWidth(Integer(Round(300 * double(Scale))));
  SetHeight(Integer(Round(110 * double(Scale))));
  SetCaption(WebUpdateStatusText(wsDownloadingCaption));
  SetPosition(poScreenCenter);
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  FileLabel = new TLabel(this);
  FileLabel->SetName(u"FileLabel");
  FileLabel->SetParent(this);
  FileLabel->SetLeft(10);
  FileLabel->SetTop(10);
  ProgressBar = new TProgressBar(this);
  ProgressBar->SetName(u"ProgressBar");
  ProgressBar->SetParent(this);
  ProgressBar->SetBounds(10, 40, ClientWidth() - 20, ProgressBar->Height());
  ProgressBar->SetAnchors({akLeft, akTop, akRight});
  AfterConstruction();
}

void TProgressForm::ShowProgress(const String& FileName, Int64 Pos, Int64 Size) {
  FileLabel->SetCaption(ExtractFileName(FileName));
  const Int64 whole = Size > 0 ? std::max(Size, Pos) : std::max<Int64>(Pos, 1);
  // The bar's range is 32-bit: large files are shown in larger steps.
  const Int64 step = whole / INT_MAX + 1;
  ProgressBar->SetMax(Integer(whole / step));
  ProgressBar->SetPosition(Integer(std::clamp<Int64>(Pos, 0, whole) / step));
}
