#pragma once
// What a control hook dispatches a message to: the before phase runs ahead of the control's own
// procedure (and can keep the message from it), the after phase behind it.

#include "framework/ControlMessages.h"

namespace kestrel {

class THookClient {
 public:
  virtual ~THookClient() = default;
  virtual void BeforeProcess(TMessage& msg, bool& handled) = 0;
  virtual void AfterProcess(TMessage& msg, bool& handled) = 0;
};

}  // namespace kestrel
