// One Synchronize round trip: a worker hands a call to the GUI thread, which runs its ordinary
// message loop (TApplication::HandleMessage, sleeping in WaitMessage when idle), and waits for
// it to come back. The peer is the bare minimum of the same handoff: a mutex and two condition
// variables between two threads, with no message loop at all.

#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "framework/Application.h"
#include "framework/Thread.h"
#include "platform/window/WindowApi.h"

namespace kestrel {
namespace {

constexpr int kCalls = 20000;

void BM_SynchronizeRoundTrip(benchmark::State& state) {
  TApplication* app = Application();
  for (auto _ : state) {
    std::atomic<bool> done{false};
    int served = 0;
    std::thread worker([&] {
      for (int i = 0; i < kCalls; ++i) TThread::Synchronize(nullptr, [&] { ++served; });
      done = true;
      platform::WakeGuiThread();
    });
    while (!done) app->HandleMessage();
    worker.join();
    if (served != kCalls) state.SkipWithError("calls lost");
  }
  state.SetItemsProcessed(state.iterations() * kCalls);
}

void BM_CondVarRoundTripPeer(benchmark::State& state) {
  for (auto _ : state) {
    std::mutex mutex;
    std::condition_variable toServer, toClient;
    bool pending = false, finished = false;
    int served = 0;
    std::thread server([&] {
      std::unique_lock lock(mutex);
      for (;;) {
        toServer.wait(lock, [&] { return pending || finished; });
        if (!pending) return;
        ++served;
        pending = false;
        toClient.notify_one();
      }
    });
    for (int i = 0; i < kCalls; ++i) {
      std::unique_lock lock(mutex);
      pending = true;
      toServer.notify_one();
      toClient.wait(lock, [&] { return !pending; });
    }
    {
      std::lock_guard lock(mutex);
      finished = true;
    }
    toServer.notify_one();
    server.join();
    if (served != kCalls) state.SkipWithError("calls lost");
  }
  state.SetItemsProcessed(state.iterations() * kCalls);
}

BENCHMARK(BM_SynchronizeRoundTrip)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_CondVarRoundTripPeer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace kestrel

BENCHMARK_MAIN();
