#include "controls/CustomMessageHook.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TCustomMessageHook, TKsComponent)

TCustomMessageHook::TCustomMessageHook(TComponent* owner, THookFamily family, bool active)
    : TKsComponent(owner), family_(family), FActive(active) {}

TCustomMessageHook::~TCustomMessageHook() { SetControl(nullptr); }

bool TCustomMessageHook::Designing() const {
  const bool ownerDesigning = Owner() && Owner()->ComponentState().Contains(csDesigning);
  return ComponentState().Contains(csDesigning) || ownerDesigning;
}

bool TCustomMessageHook::Hooked() const {
  TKsHookList* list = TKsHookList::Instance(family_);
  if (!list || !FControl) return false;
  auto ctlHook = list->Find(FControl);
  return ctlHook && ctlHook->Contains(this);
}

void TCustomMessageHook::SetActive(bool value) {
  FActive = value;
  if (value && (!Designing() || FDesignActive)) Hook();
  else if (!value) Unhook();
}

void TCustomMessageHook::Hook() {
  if (!FControl || Hooked()) return;
  TKsHookList::Ensure(family_).FindOrAdd(FControl)->AddHook(this);
  DoHooked();
}

void TCustomMessageHook::Unhook() {
  TKsHookList* list = TKsHookList::Instance(family_);
  if (!list || !FControl) return;
  auto ctlHook = list->Find(FControl);
  if (!ctlHook || !ctlHook->Contains(this)) return;
  ctlHook->RemoveHook(this);
  // An emptied control hook is dropped at once instead of waiting, keyed by a control that may
  // go away, for a message nobody sends.
  list->RemoveIfEmpty(ctlHook.get());
  TKsHookList::FreeIfEmpty(family_);
  DoUnhooked();
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
