// One Synchronize round trip: a worker hands a call to the GUI thread, which runs its ordinary
// message loop (TApplication::HandleMessage, sleeping in WaitMessage when idle), and waits for
// it to come back. The peer is the bare minimum of the same handoff: a mutex and two condition
// variables between two threads, with no message loop at all. `process_cpu_us` is the CPU time
// of both threads per round trip (the wall time on a loaded machine is mostly waiting to run),
// `gui_cpu_us` the serving thread's share of it.

#include <benchmark/benchmark.h>
#include <time.h>

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

double CpuSeconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}
double ProcessCpuSeconds() { return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }
double ThreadCpuSeconds() { return CpuSeconds(CLOCK_THREAD_CPUTIME_ID); }

double PerCallUs(const benchmark::State& state, double seconds) {
  return seconds * 1e6 / (static_cast<double>(state.iterations()) * kCalls);
}
void ReportCpuPerCall(benchmark::State& state, double cpuSeconds, double serverSeconds) {
  state.counters["process_cpu_us"] = PerCallUs(state, cpuSeconds);
  state.counters["gui_cpu_us"] = PerCallUs(state, serverSeconds);
}

void BM_SynchronizeRoundTrip(benchmark::State& state) {
  TApplication* app = Application();
  const double cpu0 = ProcessCpuSeconds(), gui0 = ThreadCpuSeconds();
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
  ReportCpuPerCall(state, ProcessCpuSeconds() - cpu0, ThreadCpuSeconds() - gui0);
  state.SetItemsProcessed(state.iterations() * kCalls);
}

void BM_CondVarRoundTripPeer(benchmark::State& state) {
  const double cpu0 = ProcessCpuSeconds();
  double server = 0;
  for (auto _ : state) {
    std::mutex mutex;
    std::condition_variable toServer, toClient;
    bool pending = false, finished = false;
    int served = 0;
    std::thread serving([&] {
      const double start = ThreadCpuSeconds();
      std::unique_lock lock(mutex);
      for (;;) {
        toServer.wait(lock, [&] { return pending || finished; });
        if (!pending) {
          server += ThreadCpuSeconds() - start;
          return;
        }
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
    serving.join();
    if (served != kCalls) state.SkipWithError("calls lost");
  }
  ReportCpuPerCall(state, ProcessCpuSeconds() - cpu0, server);
  state.SetItemsProcessed(state.iterations() * kCalls);
}

BENCHMARK(BM_SynchronizeRoundTrip)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_CondVarRoundTripPeer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace kestrel

BENCHMARK_MAIN();
