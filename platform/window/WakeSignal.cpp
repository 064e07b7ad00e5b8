#include "platform/window/WakeSignal.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

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

}  // namespace

void WakeSignal::Set() {
  if (state_.exchange(kSet, std::memory_order_release) == kSleeping) FutexWakeOne(state_);
}

bool WakeSignal::Wait(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
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
