#include "platform/window/WakeSignal.h"

#include <linux/futex.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace kestrel::platform {

namespace {

static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t));

std::uint32_t* Word(std::atomic<std::uint32_t>& state) { return reinterpret_cast<std::uint32_t*>(&state); }

void FutexWait(std::atomic<std::uint32_t>& state, std::uint32_t expected, const timespec* relative) {
  ::syscall(SYS_futex, Word(state), FUTEX_WAIT_PRIVATE, expected, relative, nullptr, 0);
}

void FutexWakeOne(std::atomic<std::uint32_t>& state) {
  ::syscall(SYS_futex, Word(state), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

// How long a waiter keeps giving its processor away before it sleeps in the kernel. The thread
// that will set the signal is then either on the same processor (the yield runs it at once, as a
// plain switch) or busy on another one, where it usually sets the signal within microseconds. A
// sleep instead costs a wake-up across processors, which on a virtual machine is tens of
// microseconds while the sleeping processor is roused. The bound keeps what a long wait wastes
// small: a few dozen system calls that hand the processor to anyone who wants it.
constexpr std::chrono::microseconds kYieldPhase{20};

}  // namespace

void WakeSignal::Set() {
  if (state_.exchange(kSet, std::memory_order_release) == kSleeping) FutexWakeOne(state_);
}

void WakeSignal::YieldUntilSet(std::chrono::steady_clock::time_point until) {
  while (state_.load(std::memory_order_relaxed) != kSet) {
    if (std::chrono::steady_clock::now() >= until) return;
    sched_yield();
  }
}

bool WakeSignal::Wait(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto now = Clock::now();
  const auto deadline = now + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  if (timeoutMs != 0) YieldUntilSet(timeoutMs < 0 ? now + kYieldPhase : std::min(deadline, now + kYieldPhase));
  for (;;) {
    // Only the owner clears or announces sleep, so the state is kClear or kSet here.
    if (state_.exchange(kClear, std::memory_order_acquire) == kSet) return true;
    std::uint32_t clear = kClear;
    if (!state_.compare_exchange_strong(clear, kSleeping, std::memory_order_acquire)) continue;  // set meanwhile
    if (timeoutMs < 0) {
      FutexWait(state_, kSleeping, nullptr);
      continue;
    }
    const auto left = deadline - Clock::now();
    if (left > Clock::duration::zero()) {
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      const timespec relative{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
      FutexWait(state_, kSleeping, &relative);
      if (Clock::now() < deadline) continue;
    }
    // Time is up: withdraw the sleep announcement unless a Set came first.
    std::uint32_t sleeping = kSleeping;
    if (state_.compare_exchange_strong(sleeping, kClear, std::memory_order_acquire)) return false;
  }
}

}  // namespace kestrel::platform
