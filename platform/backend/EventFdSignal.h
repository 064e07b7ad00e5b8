#pragma once
// A wake-up another thread can raise and the backend thread can wait on alongside other file
// descriptors (an eventfd). A signal raised before the wait is kept until cleared.

#include "platform/core/UniqueFd.h"

namespace kestrel::platform {

class EventFdSignal {
 public:
  EventFdSignal();
  EventFdSignal(const EventFdSignal&) = delete;
  EventFdSignal& operator=(const EventFdSignal&) = delete;

  // -1 when the system could not make one.
  int Fd() const { return fd_.get(); }
  // Callable from any thread.
  void Raise();
  // Forgets raised signals (the waiting thread, after waking).
  void Clear();

 private:
  UniqueFd fd_;
};

}  // namespace kestrel::platform
