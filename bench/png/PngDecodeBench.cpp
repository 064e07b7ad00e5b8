// Decode throughput of our PNG decoder against libpng (and libspng and stb_image when their
// headers are installed), in one run, on the conformance suite and on large generated images
// (photographic and synthetic, RGB and RGBA, plain and interlaced).
// Counters: file bytes per second (bytes_per_second) and megapixels per second (MPix/s).
// `bench_png --peak` instead prints the peak memory of decoding a 4096x4096 RGBA photograph.

#include <benchmark/benchmark.h>
#include <png.h>

#include <malloc.h>
#include <cmath>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "imaging/PngObject.h"

#ifdef KESTREL_BENCH_SPNG
#include <spng.h>
#endif
#if __has_include(<stb/stb_image.h>)
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#define KESTREL_BENCH_STB 1
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Sample {
  std::string name;
  std::vector<Bytes> files;
  double pixels = 0;
  std::size_t bytes = 0;
};

// --- Writing the generated images with libpng ----------------------------------------------

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

Bytes EncodeWithLibpng(int width, int height, int channels, bool interlaced, const Bytes& pixels) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, &out, AppendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
      rows[static_cast<std::size_t>(y)] =
          const_cast<png_bytep>(pixels.data()) + static_cast<std::size_t>(y) * width * channels;
    png_write_image(png, rows.data());
    png_write_end(png, info);
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

// Smooth gradients with fine noise, like a photograph: filters pay off, compression is moderate.
Bytes Photographic(int w, int h, int channels) {
  Bytes p(static_cast<std::size_t>(w) * h * channels);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> noise(-6, 6);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < channels; ++c) {
        double v = 128 + 60 * std::sin(x * 0.004 * (c + 1) + y * 0.003) + 50 * std::cos(y * 0.005 - x * 0.002 * c);
        if (c == 3) v = 255 - std::abs(v - 128);
        int level = static_cast<int>(v) + noise(random);
        p[(static_cast<std::size_t>(y) * w + x) * channels + c] = static_cast<std::uint8_t>(std::clamp(level, 0, 255));
      }
  return p;
}

// Flat areas, stripes and sharp edges, like a screenshot: compresses well.
Bytes Synthetic(int w, int h, int channels) {
  Bytes p(static_cast<std::size_t>(w) * h * channels);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < channels; ++c) {
        int v = ((x / 64 + y / 64) % 2) ? 230 : 40;
        if ((x + y * c) % 97 < 3) v = 255 - v;
        if (c == 3) v = (x / 128) % 2 ? 255 : 128;
        p[(static_cast<std::size_t>(y) * w + x) * channels + c] = static_cast<std::uint8_t>(v + c * 5);
      }
  return p;
}

// --- Decoding with libpng ---------------------------------------------------------------------

struct ReadState {
  const Bytes* data;
  std::size_t at;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t size) {
  auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
  if (state->at + size > state->data->size()) png_error(png, "end of data");
  std::memcpy(out, state->data->data() + state->at, size);
  state->at += size;
}

// Decodes to the same form as ours: 8 bits per sample, palette expanded only as far as needed.
bool DecodeWithLibpng(const Bytes& file, Bytes& pixels, std::vector<png_bytep>& rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  ReadState state{&file, 0};
  volatile bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_read_fn(png, &state, ReadBytes);
    png_read_info(png, info);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_uint_32 h = png_get_image_height(png, info);
    std::size_t rowBytes = png_get_rowbytes(png, info);
    pixels.resize(rowBytes * h);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = pixels.data() + rowBytes * y;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}

// --- The samples ---------------------------------------------------------------------------------

Sample& AddSample(std::vector<Sample>& samples, std::string name) {
  samples.push_back({std::move(name), {}, 0, 0});
  return samples.back();
}

void AddFile(Sample& sample, Bytes file) {
  kestrel::TVnPNGObject png;
  png.LoadFromMemory(file.data(), file.size());
  sample.pixels += double(png.Width()) * png.Height();
  sample.bytes += file.size();
  sample.files.push_back(std::move(file));
}

// The large images are generated on first use, so a filtered run only pays for what it decodes.
struct LargeImage {
  bool photo;
  int channels;
  bool interlaced;
};

std::vector<Sample>& SampleList() {
  static std::vector<Sample> samples = [] {
    std::vector<Sample> all;
    Sample& suite = AddSample(all, "suite");
    std::filesystem::path dir = std::filesystem::path(KESTREL_TEST_DATA_DIR) / "pngsuite";
    if (std::filesystem::exists(dir))
      for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png" || name[0] == 'x') continue;
        std::ifstream in(entry.path(), std::ios::binary);
        AddFile(suite, Bytes((std::istreambuf_iterator<char>(in)), {}));
      }
    for (int channels : {3, 4})
      for (bool photo : {true, false})
        for (bool interlaced : {false, true})
          AddSample(all, std::string(photo ? "photo" : "synthetic") + (channels == 4 ? "_rgba" : "_rgb") +
                             (interlaced ? "_adam7" : ""));
    return all;
  }();
  return samples;
}

const std::vector<Sample>& Samples() { return SampleList(); }

const Sample& SampleAt(int index) {
  Sample& sample = SampleList()[static_cast<std::size_t>(index)];
  if (sample.files.empty() && index > 0) {
    const int size = 4096, large = index - 1;
    const LargeImage kind{(large / 2) % 2 == 0, large < 4 ? 3 : 4, large % 2 == 1};
    Bytes pixels = kind.photo ? Photographic(size, size, kind.channels) : Synthetic(size, size, kind.channels);
    AddFile(sample, EncodeWithLibpng(size, size, kind.channels, kind.interlaced, pixels));
  }
  return sample;
}

void Report(benchmark::State& state, const Sample& sample) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.bytes));
  state.counters["MPix/s"] = benchmark::Counter(sample.pixels * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

void DecodeKestrel(benchmark::State& state, int index) {
  const Sample& sample = SampleAt(index);
  for (auto _ : state)
    for (const Bytes& file : sample.files) {
      kestrel::TVnPNGObject png;
      png.LoadFromMemory(file.data(), file.size());
      benchmark::DoNotOptimize(png.Header()->ImageData());
    }
  Report(state, sample);
}

#ifdef KESTREL_BENCH_SPNG
// Decodes to the file's own sample layout, as libpng does here.
void DecodeLibspng(benchmark::State& state, int index) {
  const Sample& sample = SampleAt(index);
  for (auto _ : state)
    for (const Bytes& file : sample.files) {
      spng_ctx* ctx = spng_ctx_new(0);
      std::size_t size = 0;
      Bytes pixels;
      bool ok = spng_set_png_buffer(ctx, file.data(), file.size()) == 0 &&
                spng_decoded_image_size(ctx, SPNG_FMT_PNG, &size) == 0;
      if (ok) {
        pixels.resize(size);
        ok = spng_decode_image(ctx, pixels.data(), size, SPNG_FMT_PNG, 0) == 0;
      }
      spng_ctx_free(ctx);
      if (!ok) state.SkipWithError("libspng failed");
      benchmark::DoNotOptimize(pixels.data());
    }
  Report(state, sample);
}
#endif

#ifdef KESTREL_BENCH_STB
void DecodeStb(benchmark::State& state, int index) {
  const Sample& sample = SampleAt(index);
  for (auto _ : state)
    for (const Bytes& file : sample.files) {
      int w = 0, h = 0, channels = 0;
      stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &channels, 0);
      if (!pixels) state.SkipWithError("stb_image failed");
      benchmark::DoNotOptimize(pixels);
      stbi_image_free(pixels);
    }
  Report(state, sample);
}
#endif

void DecodeLibpng(benchmark::State& state, int index) {
  const Sample& sample = SampleAt(index);
  for (auto _ : state)
    for (const Bytes& file : sample.files) {
      // A fresh image each time, as our decoder makes one per load.
      Bytes pixels;
      std::vector<png_bytep> rows;
      if (!DecodeWithLibpng(file, pixels, rows)) state.SkipWithError("libpng failed");
      benchmark::DoNotOptimize(pixels.data());
    }
  Report(state, sample);
}

// A /proc/self/status field in kB.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field) + 1));
  return -1;
}

// The resident memory one decode adds at its peak, over what the process held before (the file).
int ReportPeakMemory() {
  const int size = 4096;
  Bytes file = EncodeWithLibpng(size, size, 4, false, Photographic(size, size, 4));
  malloc_trim(0);
  long before = StatusKb("VmRSS:");
  std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak (VmHWM) from now
  {
    kestrel::TVnPNGObject png;
    png.LoadFromMemory(file.data(), file.size());
    benchmark::DoNotOptimize(png.Header()->ImageData());
  }
  long peak = StatusKb("VmHWM:");
  std::printf(
      "decode of %dx%d RGBA (%zu file bytes): peak %.1f MiB over the %.1f MiB held before; "
      "the image is %.1f MiB\n",
      size, size, file.size(), (peak - before) / 1024.0, before / 1024.0, 4.0 * size * size / (1 << 20));
  return 0;
}

bool RegisterAll() {
  const auto& samples = Samples();
  for (std::size_t i = 0; i < samples.size(); ++i) {
    int index = static_cast<int>(i);
    benchmark::RegisterBenchmark(("kestrel/" + samples[i].name).c_str(), DecodeKestrel, index)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("libpng/" + samples[i].name).c_str(), DecodeLibpng, index)
        ->Unit(benchmark::kMillisecond);
#ifdef KESTREL_BENCH_SPNG
    benchmark::RegisterBenchmark(("libspng/" + samples[i].name).c_str(), DecodeLibspng, index)
        ->Unit(benchmark::kMillisecond);
#endif
#ifdef KESTREL_BENCH_STB
    benchmark::RegisterBenchmark(("stb_image/" + samples[i].name).c_str(), DecodeStb, index)
        ->Unit(benchmark::kMillisecond);
#endif
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--peak") == 0) return ReportPeakMemory();
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
