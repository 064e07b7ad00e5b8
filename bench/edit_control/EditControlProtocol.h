#pragma once
// What every side of bench_edit_control measures, the same way: the editor is shown at 600x400
// with DejaVu Sans Mono 13 px and word wrap on, then
//   open_ms   - setting the 1,000,000-line text until the end of the first paint,
//   rss_mb    - resident memory after that, less what the process held before the text was set
//               (the source text itself was made before and is counted in neither),
//   key_*_ms  - one character typed in the middle of the text until the end of its repaint,
//               1,000 of them (median and 99th percentile),
//   page_ms   - one Page Down with its paint, 200 of them (median).
// A side that is too slow stops a phase after two minutes; key_n and page_n say how many steps
// were measured.
// Each side is its own executable and prints one line "side=NAME key=value ..." for the driver.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace kestrel::bench {

constexpr int kLines = 1'000'000;
constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kFontPixels = 13;
constexpr int kKeystrokes = 1000;
constexpr int kPages = 200;
constexpr int kMiddleLine = kLines / 2;
constexpr double kPhaseBudgetMs = 120'000;

inline double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// CPU time of the whole process: unlike the clock on the wall it does not count the time the
// process waited for a core, so it tells a slow step from one that was preempted.
inline double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// How often the process has been taken off its core by the scheduler.
inline long PreemptionCount() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_nivcsw;
}

inline double ResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

inline bool WithinBudget(double phaseStart) { return NowMs() - phaseStart < kPhaseBudgetMs; }

// The value below which Fraction of the samples lie (nearest rank).
inline double Percentile(std::vector<double> samples, double fraction) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const auto rank = static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
  return samples[std::min(rank, samples.size() - 1)];
}

struct EditControlResult {
  double openMs = 0;
  double rssMb = 0;
  std::vector<double> keyMs;
  std::vector<double> pageMs;
};

inline void PrintResult(const char* side, const EditControlResult& r) {
  std::printf("side=%s open_ms=%.1f rss_mb=%.1f key_median_ms=%.3f key_p99_ms=%.3f page_ms=%.3f key_n=%zu page_n=%zu\n",
              side, r.openMs, r.rssMb, Percentile(r.keyMs, 0.5), Percentile(r.keyMs, 0.99), Percentile(r.pageMs, 0.5),
              r.keyMs.size(), r.pageMs.size());
  std::fflush(stdout);
}

// The character typed at keystroke I: letters, with a blank now and then so that words wrap.
inline char KeystrokeChar(int i) { return i % 6 == 5 ? ' ' : static_cast<char>('a' + i % 26); }

}  // namespace kestrel::bench
