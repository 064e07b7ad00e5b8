#include "controls/VnHookComponent.h"

#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnCustomHookComponent, TCustomMessageHook)
KESTREL_IMPLEMENT_PUBLISHED_CLASS(TVnHookComponent, TVnCustomHookComponent)

void TVnHookComponent::PublishProperties(TClassBuilder<TVnHookComponent>& b) {
  b.Object(u"Control", &TVnHookComponent::Control, &TVnHookComponent::SetControl);
  b.Event(
      u"OnMessage", [](const TVnHookComponent& h) { return static_cast<bool>(h.OnMessage); }, u"TVnHookEvent");
}

TVnCustomHookComponent::TVnCustomHookComponent(TComponent* owner) : TCustomMessageHook(owner, true) {}

void TVnCustomHookComponent::BeforeProcess(TMessage& msg, bool& handled) {
  if (OnBeforeProcess) OnBeforeProcess(this, msg, handled);
  if (OnMessage) OnMessage(this, msg, handled);
}

void TVnCustomHookComponent::AfterProcess(TMessage& msg, bool& handled) {
  if (OnAfterProcess) OnAfterProcess(this, msg, handled);
}

}  // namespace kestrel
