// TWebUpdate: the what's-new and licence dialogs, the text kinds, the
// download progress window and the HTML dialog.
#include <memory>

#include "foundation/style/VornStyle.h"
#include "html/HTMLabel.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "webupdate/ControlFile.h"
#include "webupdate/ProgressForm.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/WebUpdate.h"

namespace {

// The class library's standard button size.
constexpr Integer kDialogButtonWidth = 75, kDialogButtonHeight = 25;

std::unique_ptr<TStringList> DialogLinesOf(TStream* Stream) {
  auto lines = std::make_unique<TStringList>();
  Stream->SetPosition(0);
  lines->LoadFromStream(Stream);
  Stream->SetPosition(0);
  return lines;
}

float DialogScale() {
  if (Application == nullptr || Application->MainForm() == nullptr) return 1.0f;
  TCustomForm* main = Application->MainForm();
  return GetCanvasDPIScale(main->Canvas(), main);
}

Integer DialogScaled(Integer Value, float Scale) { return Integer(Round(Value * double(Scale))); }

std::unique_ptr<TForm> DialogWindow(const String& Caption, Integer Width, Integer Height) {
  auto form = std::make_unique<TForm>(Application);
  form->AfterConstruction();
  form->SetPosition(poScreenCenter);
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons({biSystemMenu});
  form->SetWidth(Width);
  form->SetHeight(Height);
  form->SetCaption(Caption);
  return form;
}

template <class T>
T* DialogPut(TWinControl* Parent, TComponent* Owner, Integer Left, Integer Top, Integer Width, Integer Height) {
  auto* c = new T(Owner);  // owned and destroyed by the dialog
  c->SetParent(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

// A read-only, word-wrapped box with a vertical scroll bar holding the text.
TCustomMemo* DialogTextBox(TForm* Form, bool Rtf, TStream* Stream, Integer Height) {
  const Integer width = Form->ClientWidth() - 20;
  Stream->SetPosition(0);
  if (Rtf) {
    auto* rich = DialogPut<TRichEdit>(Form, Form, 10, 10, width, Height);
    rich->SetName(u"RichEdit");
    rich->LoadFromStream(Stream);
    rich->SetReadOnly(true);
    rich->SetWordWrap(true);
    rich->SetScrollBars(ssVertical);
    return rich;
  }
  auto* memo = DialogPut<TMemo>(Form, Form, 10, 10, width, Height);
  memo->SetName(u"Memo");
  memo->Lines()->LoadFromStream(Stream);
  memo->SetReadOnly(true);
  memo->SetWordWrap(true);
  memo->SetScrollBars(ssVertical);
  return memo;
}

}  // namespace

bool IsRTFStream(TStream* Stream) {
  char head[5] = {};
  Stream->SetPosition(0);
  const Integer n = Stream->Read(head, 5);
  Stream->SetPosition(0);
  return n == 5 && UpperCase(Utf8ToString(std::string(head, 5))) == u"{\\RTF";
}

bool IsHTMLStream(TStream* Stream) {
  Stream->SetPosition(0);
  std::string text(static_cast<std::size_t>(std::max<Int64>(Stream->Size(), 0)), '\0');
  const Integer n = text.empty() ? 0 : Stream->Read(text.data(), Integer(text.size()));
  text.resize(static_cast<std::size_t>(std::max(n, 0)));
  Stream->SetPosition(0);
  return text.find("</") != std::string::npos;
}

Integer TWebUpdate::WhatsNewDialog(TMemoryStream* Stream) {
  const bool rtf = IsRTFStream(Stream);
  const bool html = !rtf && IsHTMLStream(Stream);
  if (OnDownloadedWhatsNew && !rtf) {
    std::unique_ptr<TStringList> lines = DialogLinesOf(Stream);
    Integer res = 1;
    Raise([&] { OnDownloadedWhatsNew(this, lines.get(), res); });
    return res == 1 ? 0 : -1;
  }
  std::unique_ptr<TControlFile> ini = OpenControlFile();
  String caption = ini->ReadString(u"whatsnew", u"caption");
  if (caption.empty()) caption = u"What's new";
  const String ok = ini->ReadString(u"whatsnew", u"okbtn", u"Ok");
  const String cancel = ini->ReadString(u"whatsnew", u"cancelbtn", u"Cancel");
  TModalResult result = mrCancel;
  Raise([&] {
    const float scale = DialogScale();
    std::unique_ptr<TForm> form = DialogWindow(caption, DialogScaled(400, scale), DialogScaled(400, scale));
    form->SetName(u"WhatsNewDialog");
    const Integer width = form->ClientWidth() - 20;
    Integer height = form->ClientHeight() - 60;
    if (html) {
      // No scrolling container in this layer: a borderless panel holds the label.
      auto* box = DialogPut<TPanel>(form.get(), form.get(), 10, 10, width, height);
      box->SetName(u"ScrollBox");
      box->SetBevelOuter(bvNone);
      box->SetCaption(u"");
      auto* label = DialogPut<THTMLabel>(box, form.get(), 0, 0, width, height);
      label->SetName(u"HTMLabel");
      label->SetAutoSizing(true);
      // Server text: its images and links never read local files.
      label->SetExternalText(true);
      std::unique_ptr<TStringList> lines = DialogLinesOf(Stream);
      label->SetHTMLText(lines.get());
    } else {
      if (!rtf) height = form->ClientHeight() - DialogScaled(60, scale);
      DialogTextBox(form.get(), rtf, Stream, height);
    }
    const Integer top = 10 + height + DialogScaled(10, scale);
    const Integer bw = DialogScaled(kDialogButtonWidth, scale), bh = DialogScaled(kDialogButtonHeight, scale);
    auto* okButton = DialogPut<TButton>(form.get(), form.get(), 10 + width - 2 * bw - 10, top, bw, bh);
    okButton->SetName(u"OkButton");
    okButton->SetCaption(ok);
    okButton->SetTabOrder(0);
    okButton->SetModalResult(mrOk);
    auto* cancelButton = DialogPut<TButton>(form.get(), form.get(), 10 + width - bw, top, bw, bh);
    cancelButton->SetName(u"CancelButton");
    cancelButton->SetCaption(cancel);
    cancelButton->SetTabOrder(1);
    cancelButton->SetModalResult(mrCancel);
    result = form->ShowModal();
  });
  Stream->SetPosition(0);
  if (result == mrCancel) {
    DoStatus(wsWhatsNewRefused, {}, 14, 0);
    return -1;
  }
  return 0;
}

Integer TWebUpdate::EULADialog(TStream* Stream) {
  Integer result = 0;
  const bool rtf = IsRTFStream(Stream);
  if (OnDownloadedEULA) {
    std::unique_ptr<TStringList> lines = DialogLinesOf(Stream);
    Integer res = 1;
    Raise([&] { OnDownloadedEULA(this, lines.get(), res); });
    if (res != 1) result = -1;
    if (rtf) return result;
  }
  std::unique_ptr<TControlFile> ini = OpenControlFile();
  const String caption = ini->ReadString(u"eula", u"caption");
  const String ok = ini->ReadString(u"eula", u"okbtn", u"Ok");
  const String accept = ini->ReadString(u"eula", u"accept", u"I accept");
  const String notAccept = ini->ReadString(u"eula", u"notaccept", u"I do not accept");
  bool accepted = false;
  Raise([&] {
    std::unique_ptr<TForm> form = DialogWindow(caption, 400, 400);
    form->SetName(u"EULADialog");
    const Integer height = form->ClientHeight() - 60;
    TCustomMemo* box = DialogTextBox(form.get(), rtf, Stream, height);
    const Integer top = box->Top() + box->Height() + 10;
    auto* okButton = DialogPut<TButton>(form.get(), form.get(), 0, top, kDialogButtonWidth, kDialogButtonHeight);
    okButton->SetLeft(box->Left() + box->Width() - okButton->Width());
    okButton->SetName(u"OkButton");
    okButton->SetCaption(ok);
    okButton->SetTabOrder(0);
    okButton->SetModalResult(mrOk);
    auto* yes = DialogPut<TRadioButton>(form.get(), form.get(), 10, top, 113, 17);
    yes->SetName(u"AcceptRadio");
    yes->SetCaption(accept);
    yes->SetTabOrder(1);
    auto* no = DialogPut<TRadioButton>(form.get(), form.get(), yes->Width() + 20, top, 113, 17);
    no->SetName(u"NotAcceptRadio");
    no->SetCaption(notAccept);
    no->SetTabOrder(2);
    no->SetChecked(true);
    // Accepted only when the person chose to accept and closed with OK.
    accepted = form->ShowModal() == mrOk && yes->Checked();
  });
  Stream->SetPosition(0);
  return accepted ? result : -1;
}

void TWebUpdate::ShowHTMLDialog(const String&) {
  // The system HTML dialog library is not present on this platform: as when
  // it is missing, nothing is shown and nothing is reported.
}
