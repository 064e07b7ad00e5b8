#pragma once
// A one-waiter, auto-reset wake-up on a futex: Set from any thread, Wait on the thread that owns
// it. Setting costs one atomic exchange, plus one system call only when the owner is asleep. The
// owner yields its processor for a few microseconds before it sleeps in the kernel (never
// spinning on the processor, which would starve a setter waiting to run there).

#include <atomic>
#include <chrono>
#include <cstdint>

namespace kestrel::platform {

class WakeSignal {
 public:
  // Wakes the owner's Wait, or makes its next Wait return at once.
  void Set();
  // Blocks until Set (true; the signal is consumed) or `timeoutMs` passed (false; negative = no
  // limit). One thread waits at a time.
  bool Wait(int timeoutMs = -1);

 private:
  // Gives the processor away until the signal is set or `until`; consumes nothing.
  void YieldUntilSet(std::chrono::steady_clock::time_point until);

  enum : std::uint32_t { kClear = 0, kSet = 1, kSleeping = 2 };
  std::atomic<std::uint32_t> state_{kClear};
};

}  // namespace kestrel::platform
