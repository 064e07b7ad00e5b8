#pragma once
// A one-waiter, auto-reset wake-up on a futex: Set from any thread, Wait on the thread that owns
// it. Setting costs one atomic exchange, plus one system call only when the owner is asleep; the
// owner waits in the kernel, never spinning or yielding.

#include <atomic>
#include <cstdint>

namespace kestrel::platform {

class WakeSignal {
 public:
  // Wakes the owner's Wait, or makes its next Wait return at once.
  void Set();
  // Blocks until Set (true; the signal is consumed) or `timeoutMs` passed (false; negative = no
  // limit). One thread waits at a time.
  bool Wait(int timeoutMs = -1);
  // Consumes a Set that already came, without waiting (true if there was one); owner only.
  bool TryWait() {
    std::uint32_t set = kSet;
    return state_.load(std::memory_order_relaxed) == kSet &&
           state_.compare_exchange_strong(set, kClear, std::memory_order_acquire);
  }

 private:
  enum : std::uint32_t { kClear = 0, kSet = 1, kSleeping = 2 };
  std::atomic<std::uint32_t> state_{kClear};
};

}  // namespace kestrel::platform
