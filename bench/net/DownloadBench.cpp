// A 256 MB loopback download: the component (without and with OnProgress, and with a pinned
// SHA-256 checked while the body arrives) against the curl command-line tool in the same run,
// the GUI thread's CPU share during GetFile's wait and its CPU time per download, and the
// process's CPU time per download.

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/Application.h"
#include "net/HTTPGet.h"
#include "net/SHA256Digest.h"
#include "tests/support/loopback/LoopbackServer.h"

namespace {

using namespace kestrel;
using kestrel::testing::HttpResponse;
using kestrel::testing::LoopbackServer;

constexpr std::uint64_t kSize = 256ull << 20;

LoopbackServer& Server() {
  static LoopbackServer server([](const kestrel::testing::HttpRequest&) {
    HttpResponse r;
    r.generatedSize = kSize;
    return r;
  });
  return server;
}

// The digest of the body the server generates (its 64 KiB pattern, repeated).
const std::string& BodyDigest() {
  static const std::string digest = [] {
    std::string chunk(1 << 16, '\0');
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 7 + 3);
    kestrel::TSHA256Digest sha;
    for (std::uint64_t done = 0; done < kSize; done += chunk.size()) sha.Update(chunk.data(), chunk.size());
    return sha.HexDigest();
  }();
  return digest;
}

std::string Target() {
  return (std::filesystem::temp_directory_path() / ("kestrel-net-bench-" + std::to_string(::getpid()))).string();
}

double CpuSeconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}
double ThreadCpu() { return CpuSeconds(CLOCK_THREAD_CPUTIME_ID); }
// Every thread of the process: the worker, the GUI thread and the loopback server's.
double ProcessCpu() { return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }

void Component(benchmark::State& state, bool progress, bool digest = false) {
  Application();
  const std::string target = Target();
  if (digest) BodyDigest();
  double cpu = 0, wall = 0, processCpu = 0;
  bool ok = true;
  for (auto _ : state) {
    THTTPGet get(nullptr);
    get.SetURL("http://bench.test/big");
    get.SetConnectTo({Server().ConnectTo("bench.test", 80)});
    get.SetFileName(target);
    get.SetWaitThread(true);
    if (digest) get.SetExpectedSHA256(BodyDigest());
    long long calls = 0;
    if (progress) get.OnProgress = [&calls](TObject*, int, int) { ++calls; };
    get.OnError = [&ok](TObject*) { ok = false; };
    const double c0 = ThreadCpu(), p0 = ProcessCpu();
    const auto t0 = std::chrono::steady_clock::now();
    get.GetFile();
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    cpu += ThreadCpu() - c0;
    processCpu += ProcessCpu() - p0;
    benchmark::DoNotOptimize(calls);
  }
  std::filesystem::remove(target);
  if (!ok) state.SkipWithError("transfer failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
  const double downloads = static_cast<double>(state.iterations());
  state.counters["gui_cpu_share"] = wall > 0 ? cpu / wall : 0;
  state.counters["gui_cpu_s"] = downloads > 0 ? cpu / downloads : 0;
  state.counters["process_cpu_s"] = downloads > 0 ? processCpu / downloads : 0;
}

void BM_Component(benchmark::State& state) { Component(state, false); }
void BM_ComponentWithProgress(benchmark::State& state) { Component(state, true); }
void BM_ComponentWithDigest(benchmark::State& state) { Component(state, false, true); }

void BM_CurlTool(benchmark::State& state) {
  const std::string target = Target();
  const std::string command =
      "curl -s -f -o '" + target + "' http://127.0.0.1:" + std::to_string(Server().Port()) + "/big";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("curl failed");
  std::filesystem::remove(target);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

BENCHMARK(BM_CurlTool)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Component)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ComponentWithDigest)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ComponentWithProgress)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
