#pragma once
// Bounded busy-waiting for a handoff partner that runs on another processor. Waking a thread
// that sleeps on another processor costs tens of microseconds when that processor has gone idle;
// a thread that keeps polling for a few microseconds instead stays awake, so an answer that comes
// soon costs neither side a system call. Never worth it when both threads share one processor
// (the partner cannot run while the poller holds it), so callers spin only across processors.

#include <algorithm>
#include <chrono>

namespace kestrel {

// The processor the calling thread runs on now (-1 if unknown).
int CurrentProcessor();

// Whether two threads last seen on `a` and `b` can run at the same time.
inline bool OnDifferentProcessors(int a, int b) { return a >= 0 && b >= 0 && a != b; }

// How long one side polls before it goes to sleep.
inline constexpr std::chrono::microseconds kHandoffSpin{20};

// Polls `ready` (a pause between tries) until it holds (true) or `budget` passed (false).
template <class Ready>
bool SpinBriefly(Ready&& ready, std::chrono::nanoseconds budget = kHandoffSpin);

void CpuRelax();

// Whether polling has been paying off for one side: a poll that timed out (the partner was not
// running after all, as on a loaded machine) skips polling for the next calls, twice as many after
// each further miss up to 63; an answered poll starts afresh.
class TSpinHistory {
 public:
  bool ShouldSpin() {
    if (skip_ == 0) return true;
    --skip_;
    return false;
  }
  void Record(bool answered) {
    misses_ = answered ? 0 : std::min(misses_ + 1, 6);
    skip_ = (1 << misses_) - 1;
  }

 private:
  int misses_ = 0;
  int skip_ = 0;
};

template <class Ready>
bool SpinBriefly(Ready&& ready, std::chrono::nanoseconds budget) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + budget;
  for (;;) {
    // The clock is read once per few dozen tries: it costs more than a try.
    for (int i = 0; i < 32; ++i) {
      if (ready()) return true;
      CpuRelax();
    }
    if (Clock::now() >= deadline) return ready();
  }
}

}  // namespace kestrel
