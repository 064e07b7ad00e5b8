#pragma once
// TCustomMessageHook: what TKsHook and TVnHookComponent share. A hook sits on one control
// (Control) while Active; several hooks may sit on one control, whatever their kind, and the one
// attached last sees a message first. The hook follows its control's destruction (Control becomes none).

#include "controls/HookClient.h"
#include "controls/KsComponent.h"
#include "controls/KsHookList.h"
#include "framework/Control.h"

namespace kestrel {

class TCustomMessageHook : public TKsComponent, public THookClient {
  KESTREL_CLASS(TCustomMessageHook)
  ~TCustomMessageHook() override;

  bool Active() const { return FActive; }
  void SetActive(bool value);
  bool DesignActive() const { return FDesignActive; }
  void SetDesignActive(bool value);
  TControl* Control() const { return FControl; }
  void SetControl(TControl* value);
  // Whether the hook is attached to its control's hook chain now.
  bool Hooked() const;

 protected:
  TCustomMessageHook(TComponent* owner, bool active);
  void Notification(TComponent* component, TOperation operation) override;
  // Empty notifications after attaching and after detaching, for descendants.
  virtual void DoHooked() {}
  virtual void DoUnhooked() {}

 private:
  bool Designing() const;
  void Hook();
  void Unhook();

  bool FDesignActive = false;
  bool FActive;
  TControl* FControl = nullptr;
};

}  // namespace kestrel
