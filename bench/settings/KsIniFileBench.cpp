// Load and save of a settings file with 100,000 values, in the text and the binary format.
// The file is spread over 1,000 keys of 100 values of mixed types.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "settings/KsIniFile.h"

namespace {

using namespace kestrel;

std::filesystem::path BenchFile(bool binary) {
  return std::filesystem::temp_directory_path() /
         ("kestrel-settings-bench-" + std::to_string(::getpid()) + (binary ? ".bin" : ".ini"));
}

void Fill(TKsIniFile& ini) {
  TStringList list;
  list.Add(u"alpha");
  list.Add(u"beta");
  const std::uint8_t blob[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  for (int k = 0; k < 1000; ++k) {
    const String key = u"\\Section" + IntToStr(k / 100) + u"\\Key" + IntToStr(k);
    ini.OpenKey(key, true);
    for (int v = 0; v < 100; ++v) {
      const String name = u"Value" + IntToStr(v);
      switch (v % 5) {
        case 0: ini.WriteInteger(u"", name, k * 100 + v); break;
        case 1: ini.WriteString(u"", name, u"some text " + IntToStr(v)); break;
        case 2: ini.WriteDouble(u"", name, v / 8.0); break;
        case 3: ini.WriteBool(u"", name, v % 2 == 0); break;
        default:
          if (v % 10 == 4) ini.WriteBinary(u"", name, blob, 16);
          else ini.WriteMultiString(u"", name, list);
      }
    }
  }
}

std::unique_ptr<TKsIniFile> MakeFilled(bool binary) {
  auto ini = std::make_unique<TKsIniFile>(nullptr);
  ini->SetBinaryMode(binary);
  ini->SetPath(Utf8ToUtf16(BenchFile(binary).string()));
  Fill(*ini);
  return ini;
}

void BM_Save(benchmark::State& state) {
  const bool binary = state.range(0) != 0;
  auto ini = MakeFilled(binary);
  for (auto _ : state) {
    if (!ini->Save()) state.SkipWithError("save failed");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(BenchFile(binary)));
  std::filesystem::remove(BenchFile(binary));
  ini->SetPath(u"");
}

void BM_Load(benchmark::State& state) {
  const bool binary = state.range(0) != 0;
  {
    auto ini = MakeFilled(binary);
    ini->Save();
    ini->SetPath(u"");
  }
  TKsIniFile ini(nullptr);
  ini.SetBinaryMode(binary);
  ini.SetPath(Utf8ToUtf16(BenchFile(binary).string()));
  for (auto _ : state) {
    if (!ini.Load()) state.SkipWithError("load failed");
  }
  std::filesystem::remove(BenchFile(binary));
  ini.SetPath(u"");
}

BENCHMARK(BM_Save)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
