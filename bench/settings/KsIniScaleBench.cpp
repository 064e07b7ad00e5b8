// How load and save grow with the shape of the tree: many values in one key, and one very deep
// key path (every key holds one value). The files are written byte by byte here, so the same
// input can be measured against any state of the store.
//
// "per_entry" is the time per entry (key or value). A deep path stores every key's full path,
// so its file grows with the square of the depth; "per_component" divides by the number of
// path components the file holds, which is what a linear reader can be held to.
//
// Every case first runs once untimed. A load builds the new tree while the old one still
// lives, so only from the third load on does a load reuse what the tree before it gave back: the
// small cases, run many times, are measured in that state, while a large case that runs once
// after its warm-up still takes its memory fresh from the system.
//
// BM_Ratio* measure the two sizes in turn in the same process (CPU time of this thread), both in
// the reusing state, and report the ratio of their times per entry: the load other programs put
// on the machine then falls on both alike.

#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "settings/KsIniFile.h"

namespace {

using namespace kestrel;

enum class Shape { Wide, Deep };

std::filesystem::path ScaleFile(bool binary, const std::string& tag = "") {
  return std::filesystem::temp_directory_path() /
         ("kestrel-settings-scale-" + std::to_string(::getpid()) + tag + (binary ? ".bin" : ".ini"));
}

class TBinaryBytes {
 public:
  void Byte(std::uint8_t b) { out_.push_back(b); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Str(const std::string& ascii) {
    U32(static_cast<std::uint32_t>(ascii.size()));
    for (char c : ascii) {
      out_.push_back(static_cast<std::uint8_t>(c));
      out_.push_back(0);
    }
  }
  void Key(const std::string& path) {
    Byte(1);
    Str(path);
  }
  void IntValue(const std::string& name, std::int32_t v) {
    Byte(0);
    Str(name);
    Byte(evtInt);
    U32(4);
    U32(static_cast<std::uint32_t>(v));
  }
  void StringValue(const std::string& name, const std::string& v) {
    Byte(0);
    Str(name);
    Byte(evtString);
    U32(static_cast<std::uint32_t>(v.size() + 4));
    Str(v);
  }
  const std::vector<std::uint8_t>& Bytes() const { return out_; }

 private:
  std::vector<std::uint8_t> out_;
};

// `count` values in the key "Big", alternately integers and strings.
std::string WideText(int count) {
  std::string text = ";Automatically generated file. DO NOT MODIFY!!!\r\n\r\n[Big]\r\n";
  for (int i = 0; i < count; ++i) {
    text += "Value" + std::to_string(i) + "=";
    text += i % 2 ? "text " + std::to_string(i) : std::to_string(i);
    text += "\r\n";
  }
  return text;
}

std::vector<std::uint8_t> WideBinary(int count) {
  TBinaryBytes out;
  out.Key("");
  out.Key("Big");
  for (int i = 0; i < count; ++i) {
    const std::string name = "Value" + std::to_string(i);
    if (i % 2) {
      out.StringValue(name, "text " + std::to_string(i));
    } else {
      out.IntValue(name, i);
    }
  }
  return out.Bytes();
}

// Keys K, K\K, K\K\K ... `depth` levels down, each with the value v=<level>.
std::string DeepText(int depth) {
  std::string text = ";Automatically generated file. DO NOT MODIFY!!!\r\n";
  std::string path;
  for (int level = 1; level <= depth; ++level) {
    path += level == 1 ? "K" : "\\K";
    text += "\r\n[" + path + "]\r\nv=" + std::to_string(level) + "\r\n";
  }
  return text;
}

std::vector<std::uint8_t> DeepBinary(int depth) {
  TBinaryBytes out;
  out.Key("");
  std::string path;
  for (int level = 1; level <= depth; ++level) {
    path += level == 1 ? "K" : "\\K";
    out.Key(path);
    out.IntValue("v", level);
  }
  return out.Bytes();
}

void WriteInput(Shape shape, bool binary, int size, const std::string& tag = "") {
  std::ofstream file(ScaleFile(binary, tag), std::ios::binary | std::ios::trunc);
  if (binary) {
    const std::vector<std::uint8_t> bytes = shape == Shape::Wide ? WideBinary(size) : DeepBinary(size);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  } else {
    const std::string text = shape == Shape::Wide ? WideText(size) : DeepText(size);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
}

// What a linear reader or writer is held to: entries of a wide key, path components of a deep one.
double Units(Shape shape, int size) { return shape == Shape::Wide ? size + 1.0 : 0.5 * size * (size + 1.0); }

void SetCounters(benchmark::State& state, Shape shape, int size) {
  using benchmark::Counter;
  const double entries = shape == Shape::Wide ? size + 1.0 : 2.0 * size;
  state.counters["per_entry"] = Counter(entries, Counter::kIsIterationInvariantRate | Counter::kInvert);
  if (shape == Shape::Deep) {
    const double components = 0.5 * size * (size + 1.0);
    state.counters["per_component"] = Counter(components, Counter::kIsIterationInvariantRate | Counter::kInvert);
  }
}

// Args: binary (0/1), size (values in the key, or depth).
template <Shape shape>
void BM_Load(benchmark::State& state) {
  const bool binary = state.range(0) != 0;
  const int size = static_cast<int>(state.range(1));
  WriteInput(shape, binary, size);
  TKsIniFile ini(nullptr);
  ini.SetBinaryMode(binary);
  ini.SetPath(Utf8ToUtf16(ScaleFile(binary).string()));
  for (auto _ : state) {
    if (!ini.Load()) state.SkipWithError("load failed");
  }
  SetCounters(state, shape, size);
  ini.SetPath(u"");
  std::filesystem::remove(ScaleFile(binary));
}

template <Shape shape>
void BM_Save(benchmark::State& state) {
  const bool binary = state.range(0) != 0;
  const int size = static_cast<int>(state.range(1));
  WriteInput(shape, binary, size);
  TKsIniFile ini(nullptr);
  ini.SetBinaryMode(binary);
  ini.SetPath(Utf8ToUtf16(ScaleFile(binary).string()));
  if (!ini.Load()) state.SkipWithError("load failed");
  for (auto _ : state) {
    if (!ini.Save()) state.SkipWithError("save failed");
  }
  SetCounters(state, shape, size);
  ini.SetPath(u"");
  std::filesystem::remove(ScaleFile(binary));
}

constexpr double kWarmUp = 0.01;  // seconds; at least one run

void WideSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"binary", "values"})->Unit(benchmark::kMillisecond)->MinWarmUpTime(kWarmUp);
  for (int binary : {0, 1}) {
    for (int values : {10'000, 100'000, 1'000'000}) b->Args({binary, values});
  }
}

void DeepSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"binary", "depth"})->Unit(benchmark::kMillisecond)->MinWarmUpTime(kWarmUp);
  for (int binary : {0, 1}) {
    for (int depth : {1'000, 3'000, 10'000}) b->Args({binary, depth});
  }
}

void BM_LoadWide(benchmark::State& state) { BM_Load<Shape::Wide>(state); }
void BM_SaveWide(benchmark::State& state) { BM_Save<Shape::Wide>(state); }
void BM_LoadDeep(benchmark::State& state) { BM_Load<Shape::Deep>(state); }
void BM_SaveDeep(benchmark::State& state) { BM_Save<Shape::Deep>(state); }

double ThreadCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// A store on its own input file, loaded twice so that its next load reuses freed memory.
std::unique_ptr<TKsIniFile> PreparedStore(Shape shape, bool binary, int size, const std::string& tag) {
  WriteInput(shape, binary, size, tag);
  auto ini = std::make_unique<TKsIniFile>(nullptr);
  ini->SetBinaryMode(binary);
  ini->SetPath(Utf8ToUtf16(ScaleFile(binary, tag).string()));
  ini->Load();
  ini->Load();
  return ini;
}

// Args: binary (0/1), small size, large size. Each iteration runs the large case once and the
// small one as often as it has fewer units, alternately.
template <Shape shape, bool save>
void BM_Ratio(benchmark::State& state) {
  const bool binary = state.range(0) != 0;
  const int smallSize = static_cast<int>(state.range(1));
  const int largeSize = static_cast<int>(state.range(2));
  const auto small = PreparedStore(shape, binary, smallSize, "-small");
  const auto large = PreparedStore(shape, binary, largeSize, "-large");
  const int repeats = static_cast<int>(Units(shape, largeSize) / Units(shape, smallSize));
  auto run = [&state](TKsIniFile& ini) {
    if (!(save ? ini.Save() : ini.Load())) state.SkipWithError("load or save failed");
  };
  double smallTime = 0, largeTime = 0;
  for (auto _ : state) {
    const double start = ThreadCpuSeconds();
    run(*large);
    const double middle = ThreadCpuSeconds();
    for (int i = 0; i < repeats; ++i) run(*small);
    largeTime += middle - start;
    smallTime += ThreadCpuSeconds() - middle;
  }
  const double runs = static_cast<double>(state.iterations());
  const double smallPer = smallTime / (runs * repeats * Units(shape, smallSize));
  const double largePer = largeTime / (runs * Units(shape, largeSize));
  state.counters["small_ns"] = 1e9 * smallPer;
  state.counters["large_ns"] = 1e9 * largePer;
  state.counters["ratio"] = largePer / smallPer;
  for (const auto* ini : {small.get(), large.get()}) {
    std::filesystem::remove(Utf16ToUtf8(ini->Path()));
  }
}

void RatioSizes(benchmark::internal::Benchmark* b, int small, int large) {
  b->ArgNames({"binary", "small", "large"})->Unit(benchmark::kMillisecond)->Iterations(3);
  for (int binary : {0, 1}) b->Args({binary, small, large});
}

void WideRatio(benchmark::internal::Benchmark* b) { RatioSizes(b, 10'000, 1'000'000); }
void DeepRatio(benchmark::internal::Benchmark* b) { RatioSizes(b, 1'000, 10'000); }

void BM_RatioLoadWide(benchmark::State& state) { BM_Ratio<Shape::Wide, false>(state); }
void BM_RatioSaveWide(benchmark::State& state) { BM_Ratio<Shape::Wide, true>(state); }
void BM_RatioLoadDeep(benchmark::State& state) { BM_Ratio<Shape::Deep, false>(state); }
void BM_RatioSaveDeep(benchmark::State& state) { BM_Ratio<Shape::Deep, true>(state); }

BENCHMARK(BM_RatioLoadWide)->Apply(WideRatio);
BENCHMARK(BM_RatioSaveWide)->Apply(WideRatio);
BENCHMARK(BM_RatioLoadDeep)->Apply(DeepRatio);
BENCHMARK(BM_RatioSaveDeep)->Apply(DeepRatio);

BENCHMARK(BM_LoadWide)->Apply(WideSizes);
BENCHMARK(BM_SaveWide)->Apply(WideSizes);
BENCHMARK(BM_LoadDeep)->Apply(DeepSizes);
BENCHMARK(BM_SaveDeep)->Apply(DeepSizes);

}  // namespace
