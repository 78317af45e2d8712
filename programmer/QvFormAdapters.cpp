#include "programmer/QvFormAdapters.h"

#include "platform/rtl/Exceptions.h"
#include "programmer/QvMessage.h"

namespace {

// A form whose destructor has begun has no event slots left to give back to.
bool FormGoing(const TComponent* Form) { return Form->ComponentState().Contains(csDestroying); }

}  // namespace

// ---------------------------------------------------------------------------
// TBootloadFormAdapter

TBootloadFormAdapter::TBootloadFormAdapter(TCustomForm* Form)
    : FForm(Form), FFormComponent(Form), FCloseQuery(Form->OnCloseQuery) {}

TBootloadFormAdapter::~TBootloadFormAdapter() {
  if (!FormGoing(FFormComponent)) FCloseQuery.Remove();
}

void TBootloadFormAdapter::SetFormEnabled(bool Value) { FForm->SetEnabled(Value); }

void TBootloadFormAdapter::SetFormAlphaBlend(bool Value, Byte AlphaValue) {
  // The value first, so the layered window gets it as it is made.
  FForm->SetAlphaBlendValue(AlphaValue);
  FForm->SetAlphaBlend(Value);
}

void TBootloadFormAdapter::CloseForm() { FForm->Close(); }

void TBootloadFormAdapter::ShowModalMessage(const String& Text) { QvShowMessage(Text); }

IBootloadOwnerForm* BootloadOwnerForm(TComponent* AOwner, std::unique_ptr<IBootloadOwnerForm>& Adapter) {
  if (AOwner == nullptr) return nullptr;
  if (auto* form = dynamic_cast<TCustomForm*>(AOwner)) {
    Adapter = std::make_unique<TBootloadFormAdapter>(form);
    return Adapter.get();
  }
  if (auto* own = dynamic_cast<IBootloadOwnerForm*>(AOwner)) return own;
  throw EInvalidCast(u"Invalid class typecast");
}

// ---------------------------------------------------------------------------
// TQvFormSRAdapter

TQvFormSRAdapter::TQvFormSRAdapter(TCustomForm* Form) : FForm(Form), FFormComponent(Form) {}

TQvFormSRAdapter::~TQvFormSRAdapter() {
  if (!Hooked() || FormGoing(FFormComponent)) return;
  FDestroy->Remove();
  FCloseQuery->Remove();
  FShow->Remove();
}

String TQvFormSRAdapter::FormName() const { return FForm->Name(); }
Integer TQvFormSRAdapter::Left() const { return FForm->Left(); }
Integer TQvFormSRAdapter::Top() const { return FForm->Top(); }
Integer TQvFormSRAdapter::Width() const { return FForm->Width(); }
Integer TQvFormSRAdapter::Height() const { return FForm->Height(); }
void TQvFormSRAdapter::SetLeft(Integer Value) { FForm->SetLeft(Value); }
void TQvFormSRAdapter::SetTop(Integer Value) { FForm->SetTop(Value); }
void TQvFormSRAdapter::SetWidth(Integer Value) { FForm->SetWidth(Value); }
void TQvFormSRAdapter::SetHeight(Integer Value) { FForm->SetHeight(Value); }
Integer TQvFormSRAdapter::WindowState() const { return static_cast<Integer>(FForm->WindowState()); }

void TQvFormSRAdapter::SetWindowState(Integer Value) {
  if (Value >= wsNormal && Value <= wsMaximized) FForm->SetWindowState(static_cast<TWindowState>(Value));
}

Integer TQvFormSRAdapter::ScreenWidth() const { return Screen != nullptr ? Screen->Width() : 0; }
Integer TQvFormSRAdapter::ScreenHeight() const { return Screen != nullptr ? Screen->Height() : 0; }

void TQvFormSRAdapter::HookEvents() {
  if (Hooked()) return;
  FShow = std::make_unique<TEventHook<TNotifyEvent>>(FForm->OnShow);
  FCloseQuery = std::make_unique<TEventHook<TCloseQueryEvent>>(FForm->OnCloseQuery);
  FDestroy = std::make_unique<TEventHook<TNotifyEvent>>(FForm->OnDestroy);
}
