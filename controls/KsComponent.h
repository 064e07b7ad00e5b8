#pragma once
// TKsComponent: the control library's non-visual component base. Its change notification
// (Changed) fires FOnChange; descendants that tell watchers of changes in their own way
// replace Changed.

#include "framework/Component.h"

namespace kestrel {

class TKsComponent : public TComponent {
  KESTREL_CLASS(TKsComponent)
  explicit TKsComponent(TComponent* owner) : TComponent(owner) {}

 protected:
  virtual void Changed();

  TNotifyEvent FOnChange;
};

}  // namespace kestrel
