#include "platform/backend/EventFdSignal.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace kestrel::platform {

EventFdSignal::EventFdSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EventFdSignal::~EventFdSignal() {
  if (fd_ >= 0) close(fd_);
}

void EventFdSignal::Raise() {
  if (fd_ >= 0) eventfd_write(fd_, 1);
}

void EventFdSignal::Clear() {
  eventfd_t count;
  if (fd_ >= 0) eventfd_read(fd_, &count);
}

}  // namespace kestrel::platform
