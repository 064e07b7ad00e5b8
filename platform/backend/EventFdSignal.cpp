#include "platform/backend/EventFdSignal.h"

#include <sys/eventfd.h>

namespace kestrel::platform {

EventFdSignal::EventFdSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

void EventFdSignal::Raise() {
  if (fd_) eventfd_write(fd_.get(), 1);
}

void EventFdSignal::Clear() {
  eventfd_t count;
  if (fd_) eventfd_read(fd_.get(), &count);
}

}  // namespace kestrel::platform
