#include "platform/backend/WakeSignal.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace kestrel::platform {

WakeSignal::WakeSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal() {
  if (fd_ >= 0) close(fd_);
}

void WakeSignal::Raise() {
  if (fd_ >= 0) eventfd_write(fd_, 1);
}

void WakeSignal::Clear() {
  eventfd_t count;
  if (fd_ >= 0) eventfd_read(fd_, &count);
}

}  // namespace kestrel::platform
