#pragma once
// TKsHook: a message hook on one control. OnBeforeProcess sees a message before the control's
// own procedure (setting Handled keeps it from the control), OnAfterProcess after it. A new hook
// is inactive.

#include "controls/CustomMessageHook.h"

namespace kestrel {

using TKsHookEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

class TKsHook : public TCustomMessageHook {
  KESTREL_CLASS(TKsHook)
  explicit TKsHook(TComponent* owner);

  void BeforeProcess(TMessage& msg, bool& handled) override;
  void AfterProcess(TMessage& msg, bool& handled) override;

  TKsHookEvent OnBeforeProcess;
  TKsHookEvent OnAfterProcess;
};

}  // namespace kestrel
