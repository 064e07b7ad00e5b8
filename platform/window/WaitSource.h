#pragma once
// Another event loop's work served by the GUI thread's message loop: before the thread waits,
// the source names the file descriptors it needs watched and how long the wait may last at
// most; after the wait (also when there was no need to block) it is handed back the descriptors
// with what happened to them, and does its work. One source at a time; installed and called on
// the GUI thread.

#include <poll.h>

#include <vector>

namespace kestrel::platform {

class WaitSource {
 public:
  virtual ~WaitSource() = default;
  // Appends the descriptors to watch to `fds` and lowers `timeoutMs` (negative = no limit) to
  // the time the source's next timed work is due.
  virtual void BeforeWait(std::vector<pollfd>& fds, int& timeoutMs) = 0;
  // `fds` as BeforeWait left them, with their revents filled in.
  virtual void AfterWait(const std::vector<pollfd>& fds) = 0;
};

// The installed source (null = none); the caller keeps it alive until it is removed again.
void SetWaitSource(WaitSource* source);
WaitSource* GetWaitSource();

}  // namespace kestrel::platform
