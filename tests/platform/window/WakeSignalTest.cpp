// The futex wake-up behind the worker-to-GUI handoff: no wake is lost, however Set and Wait
// interleave, and a wait without a wake ends at its timeout.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/window/WakeSignal.h"

namespace kestrel::platform {
namespace {

TEST(WakeSignal, KeepsAnEarlySetAndTimesOutWithoutOne) {
  WakeSignal signal;
  signal.Set();
  signal.Set();  // two sets before a wait are one wake
  EXPECT_TRUE(signal.Wait(0));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(signal.Wait(30));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

TEST(WakeSignal, PingPongBetweenTwoThreadsLosesNoWake) {
  constexpr int kRounds = 20000;
  WakeSignal toServer, toClient;
  int value = 0;  // handed back and forth; the signals order every access
  int lost = 0;
  std::thread server([&] {
    for (int i = 0; i < kRounds; ++i) {
      if (!toServer.Wait(5000)) ++lost;
      ++value;
      toClient.Set();
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    toServer.Set();
    if (!toClient.Wait(5000)) ++lost;
  }
  server.join();
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(value, kRounds);
}

TEST(WakeSignal, TryWaitTakesOnlyASetThatCameAndLeavesNoneForWait) {
  WakeSignal signal;
  EXPECT_FALSE(signal.TryWait());
  signal.Set();
  EXPECT_TRUE(signal.TryWait());
  EXPECT_FALSE(signal.TryWait());
  EXPECT_FALSE(signal.Wait(0));
}

}  // namespace
}  // namespace kestrel::platform
