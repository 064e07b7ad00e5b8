#include "html/internal/HTMLMessageHook.h"

#include "controls/KsHookList.h"
#include "framework/Control.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(THTMLMessageHook, TComponent)

THTMLMessageHook::THTMLMessageHook() : TComponent(nullptr) {}

THTMLMessageHook::~THTMLMessageHook() { Detach(); }

void THTMLMessageHook::SetControl(TComponent* value) {
  if (value == component_) return;
  Detach();
  if (!value) return;
  component_ = value;
  value->FreeNotification(this);
  control_ = dynamic_cast<TControl*>(value);
  TKsHookList::Attach(control_, this);
}

void THTMLMessageHook::BeforeProcess(TMessage& msg, bool&) {
  if (OnMessage) OnMessage(msg);
}

void THTMLMessageHook::Detach() {
  if (!component_) return;
  TKsHookList::Detach(control_, this);
  component_->RemoveFreeNotification(this);
  component_ = nullptr;
  control_ = nullptr;
}

void THTMLMessageHook::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove || component != component_) return;
  // The component is on its way out; the hook list drops its chain.
  component_ = nullptr;
  control_ = nullptr;
  if (OnControlFreed) OnControlFreed();
}

}  // namespace kestrel
