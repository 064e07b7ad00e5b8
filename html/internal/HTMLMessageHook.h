#pragma once
// A hook in the hook chain of one control: every message reaches `OnMessage` before the
// control's own procedure (the hook never swallows one). It leaves the chain like any other hook,
// in any order. The hook hears when the component is freed by someone else and then only forgets
// it; a component that is not a control is only watched.

#include <functional>

#include "controls/HookClient.h"
#include "framework/Component.h"
#include "framework/ControlMessages.h"

namespace kestrel {

class TControl;

class THTMLMessageHook : public TComponent, public THookClient {
  KESTREL_CLASS(THTMLMessageHook)
  THTMLMessageHook();
  ~THTMLMessageHook() override;

  TComponent* Control() const { return component_; }
  // Moves the hook to `value` (null: none), out of the previous control's chain.
  void SetControl(TComponent* value);

  std::function<void(TMessage& message)> OnMessage;
  // Called when the hooked control is being freed (the hook has already let go of it).
  std::function<void()> OnControlFreed;

  void BeforeProcess(TMessage& msg, bool& handled) override;
  void AfterProcess(TMessage&, bool&) override {}

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void Detach();

  TComponent* component_ = nullptr;
  TControl* control_ = nullptr;
};

}  // namespace kestrel
