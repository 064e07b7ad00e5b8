#pragma once
// TVnCustomHookComponent / TVnHookComponent: the second message-hook family, sharing the
// control's one hook chain with every other hook. It starts active, so the first Control
// assigned is hooked at once; OnMessage runs in the before phase after OnBeforeProcess;
// descendants hear DoHooked and DoUnhooked.

#include "controls/CustomMessageHook.h"

namespace kestrel {

using TVnHookEvent = std::function<void(TObject* Sender, TMessage& Message, bool& Handled)>;

class TVnCustomHookComponent : public TCustomMessageHook {
  KESTREL_CLASS(TVnCustomHookComponent)
  explicit TVnCustomHookComponent(TComponent* owner);

  void BeforeProcess(TMessage& msg, bool& handled) override;
  void AfterProcess(TMessage& msg, bool& handled) override;

  TVnHookEvent OnBeforeProcess;
  TVnHookEvent OnAfterProcess;
  TVnHookEvent OnMessage;
};

class TVnHookComponent : public TVnCustomHookComponent {
  KESTREL_CLASS(TVnHookComponent)
  explicit TVnHookComponent(TComponent* owner) : TVnCustomHookComponent(owner) {}
};

}  // namespace kestrel
