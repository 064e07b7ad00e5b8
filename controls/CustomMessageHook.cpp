#include "controls/CustomMessageHook.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TCustomMessageHook, TKsComponent)

TCustomMessageHook::TCustomMessageHook(TComponent* owner, bool active) : TKsComponent(owner), FActive(active) {}

TCustomMessageHook::~TCustomMessageHook() { SetControl(nullptr); }

bool TCustomMessageHook::Designing() const {
  const bool ownerDesigning = Owner() && Owner()->ComponentState().Contains(csDesigning);
  return ComponentState().Contains(csDesigning) || ownerDesigning;
}

bool TCustomMessageHook::Hooked() const { return TKsHookList::Attached(FControl, this); }

void TCustomMessageHook::SetActive(bool value) {
  FActive = value;
  if (value && (!Designing() || FDesignActive)) Hook();
  else if (!value) Unhook();
}

void TCustomMessageHook::Hook() {
  if (!FControl || Hooked()) return;
  TKsHookList::Attach(FControl, this);
  DoHooked();
}

void TCustomMessageHook::Unhook() {
  if (TKsHookList::Detach(FControl, this)) DoUnhooked();
}

void TCustomMessageHook::SetControl(TControl* value) {
  if (value == FControl) return;
  const bool wasActive = FActive;
  SetActive(false);
  if (FControl && !FControl->ComponentState().Contains(csDestroying)) RemoveFreeNotification(FControl);
  FControl = value;
  if (FControl) {
    SetActive(wasActive);
    FreeNotification(FControl);
  }
}

void TCustomMessageHook::SetDesignActive(bool value) {
  if (value == FDesignActive) return;
  FDesignActive = value;
  if (Designing()) {
    if (FActive && FDesignActive) Hook();
    else Unhook();
  }
}

void TCustomMessageHook::Notification(TComponent* component, TOperation operation) {
  TKsComponent::Notification(component, operation);
  if (operation == opRemove && component == FControl) SetControl(nullptr);
}

}  // namespace kestrel
