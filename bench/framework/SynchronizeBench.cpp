// One Synchronize round trip: a worker hands a call to the GUI thread, which runs its ordinary
// message loop (TApplication::HandleMessage, sleeping in WaitMessage when idle), and waits for
// it to come back. The peer is the bare minimum of the same handoff: a mutex and two condition
// variables between two threads, with no message loop at all. `process_cpu_us` is the CPU time
// of both threads per round trip (the wall time on a loaded machine is mostly waiting to run),
// `gui_cpu_us` the serving thread's share of it.
// The argument places the two threads: 0 where the scheduler puts them, 1 both on one processor
// (each wake-up is a switch on that processor), 2 on two different processors (each wake-up
// reaches across, and an idle processor has to be woken). Placement needs two processors.

#include <benchmark/benchmark.h>
#include <pthread.h>
#include <sched.h>
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

enum class Placement { kFree = 0, kOneProcessor = 1, kTwoProcessors = 2 };

// The processors the process may use, as they were before any thread was placed.
const cpu_set_t& UsableProcessors() {
  static const cpu_set_t usable = [] {
    cpu_set_t set;
    CPU_ZERO(&set);
    pthread_getaffinity_np(pthread_self(), sizeof(set), &set);
    return set;
  }();
  return usable;
}

// Keeps the calling thread on usable processor `index` while alive, unless the placement is
// free; restores what it had.
class PinnedThread {
 public:
  PinnedThread(Placement placement, int index) {
    const cpu_set_t& usable = UsableProcessors();
    if (placement == Placement::kFree) return;
    pthread_getaffinity_np(pthread_self(), sizeof(before_), &before_);
    const int wanted = placement == Placement::kOneProcessor ? 0 : index;
    cpu_set_t only;
    CPU_ZERO(&only);
    for (int cpu = 0, seen = 0; cpu < CPU_SETSIZE; ++cpu)
      if (CPU_ISSET(cpu, &usable) && seen++ == wanted) CPU_SET(cpu, &only);
    pinned_ = CPU_COUNT(&only) == 1 && pthread_setaffinity_np(pthread_self(), sizeof(only), &only) == 0;
  }
  ~PinnedThread() {
    if (pinned_) pthread_setaffinity_np(pthread_self(), sizeof(before_), &before_);
  }
  PinnedThread(const PinnedThread&) = delete;
  PinnedThread& operator=(const PinnedThread&) = delete;

 private:
  cpu_set_t before_{};
  bool pinned_ = false;
};

Placement PlacementOf(const benchmark::State& state) { return static_cast<Placement>(state.range(0)); }

// A placement on two processors where the process may use only one would measure the free one.
bool PlacementPossible(benchmark::State& state) {
  if (PlacementOf(state) != Placement::kTwoProcessors || CPU_COUNT(&UsableProcessors()) >= 2) return true;
  state.SkipWithError("needs two processors");
  return false;
}

void BM_SynchronizeRoundTrip(benchmark::State& state) {
  if (!PlacementPossible(state)) return;
  TApplication* app = Application();
  PinnedThread gui(PlacementOf(state), 0);
  const double cpu0 = ProcessCpuSeconds(), gui0 = ThreadCpuSeconds();
  for (auto _ : state) {
    std::atomic<bool> done{false};
    int served = 0;
    std::thread worker([&] {
      PinnedThread pinned(PlacementOf(state), 1);
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
  if (!PlacementPossible(state)) return;
  PinnedThread client(PlacementOf(state), 0);
  const double cpu0 = ProcessCpuSeconds();
  double server = 0;
  for (auto _ : state) {
    std::mutex mutex;
    std::condition_variable toServer, toClient;
    bool pending = false, finished = false;
    int served = 0;
    std::thread serving([&] {
      PinnedThread pinned(PlacementOf(state), 1);
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

BENCHMARK(BM_SynchronizeRoundTrip)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()->DenseRange(0, 2);
BENCHMARK(BM_CondVarRoundTripPeer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()->DenseRange(0, 2);

}  // namespace
}  // namespace kestrel

BENCHMARK_MAIN();
