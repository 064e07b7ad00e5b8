#include "html/internal/HTMLMessageHook.h"

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
  if (!control_) return;
  previous_ = control_->WindowProc;
  control_->WindowProc = [this](TMessage& m) {
    // The previous procedure is kept by value: a handler may move or free the hook.
    TWndMethod next = previous_;
    if (OnMessage) OnMessage(m);
    if (next) next(m);
  };
}

void THTMLMessageHook::Detach() {
  if (!component_) return;
  if (control_) control_->WindowProc = previous_;
  component_->RemoveFreeNotification(this);
  component_ = nullptr;
  control_ = nullptr;
  previous_ = nullptr;
}

void THTMLMessageHook::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove || component != component_) return;
  // The component is on its way out: nothing to restore.
  component_ = nullptr;
  control_ = nullptr;
  previous_ = nullptr;
  if (OnControlFreed) OnControlFreed();
}

}  // namespace kestrel
