#include "platform/window/Backend.h"

namespace kestrel::platform {

void Backend::WaitForEventsAndFds(int timeoutMs, std::vector<pollfd>& fds) {
  constexpr int kSliceMs = 10;
  if (fds.empty()) return WaitForEvents(timeoutMs);
  if (poll(fds.data(), fds.size(), 0) > 0) return;
  WaitForEvents(timeoutMs < 0 || timeoutMs > kSliceMs ? kSliceMs : timeoutMs);
  poll(fds.data(), fds.size(), 0);
}

}  // namespace kestrel::platform
