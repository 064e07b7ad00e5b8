#include "controls/KsHook.h"

#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsHook, TCustomMessageHook)

void TKsHook::PublishProperties(TClassBuilder<TKsHook>& b) {
  b.Property(u"Active", &TKsHook::Active, &TKsHook::SetActive).Default(false);
  b.Property(u"DesignActive", &TKsHook::DesignActive, &TKsHook::SetDesignActive).Default(false);
  b.Object(u"Control", &TKsHook::Control, &TKsHook::SetControl);
  b.Event(
      u"OnBeforeProcess", [](const TKsHook& h) { return static_cast<bool>(h.OnBeforeProcess); }, u"TKsHookEvent");
  b.Event(
      u"OnAfterProcess", [](const TKsHook& h) { return static_cast<bool>(h.OnAfterProcess); }, u"TKsHookEvent");
}

TKsHook::TKsHook(TComponent* owner) : TCustomMessageHook(owner, false) {}

void TKsHook::BeforeProcess(TMessage& msg, bool& handled) {
  if (OnBeforeProcess) OnBeforeProcess(this, msg, handled);
}

void TKsHook::AfterProcess(TMessage& msg, bool& handled) {
  if (OnAfterProcess) OnAfterProcess(this, msg, handled);
}

}  // namespace kestrel
