#pragma once
// A hook in front of one control's WindowProc: every message reaches `OnMessage` first and then
// the control's previous WindowProc (the hook never swallows one). The hook hears when the
// component is freed by someone else and then only forgets it; a component that is not a control
// is only watched.

#include <functional>

#include "framework/Component.h"
#include "framework/ControlMessages.h"

namespace kestrel {

class TControl;

class THTMLMessageHook : public TComponent {
  KESTREL_CLASS(THTMLMessageHook)
  THTMLMessageHook();
  ~THTMLMessageHook() override;

  TComponent* Control() const { return component_; }
  // Moves the hook to `value` (null: none). The previous control gets its WindowProc back.
  void SetControl(TComponent* value);

  std::function<void(TMessage& message)> OnMessage;
  // Called when the hooked control is being freed (the hook has already let go of it).
  std::function<void()> OnControlFreed;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void Detach();

  TComponent* component_ = nullptr;
  TControl* control_ = nullptr;
  TWndMethod previous_;
};

}  // namespace kestrel
