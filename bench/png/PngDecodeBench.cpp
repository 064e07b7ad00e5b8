// Decode throughput of our PNG decoder against libpng, in one run, on the conformance suite and on
// large generated images (photographic and synthetic, RGB and RGBA, plain and interlaced).
// Counters: file bytes per second (bytes_per_second) and megapixels per second (MPix/s).

#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "imaging/PngObject.h"

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

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = [] {
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
    const int size = 4096;
    for (int channels : {3, 4})
      for (bool photo : {true, false}) {
        Bytes pixels = photo ? Photographic(size, size, channels) : Synthetic(size, size, channels);
        for (bool interlaced : {false, true}) {
          std::string name = std::string(photo ? "photo" : "synthetic") + (channels == 4 ? "_rgba" : "_rgb") +
                             (interlaced ? "_adam7" : "");
          AddFile(AddSample(all, name), EncodeWithLibpng(size, size, channels, interlaced, pixels));
        }
      }
    return all;
  }();
  return samples;
}

void Report(benchmark::State& state, const Sample& sample) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.bytes));
  state.counters["MPix/s"] = benchmark::Counter(sample.pixels * state.iterations() / 1e6,
                                                benchmark::Counter::kIsRate);
}

void DecodeKestrel(benchmark::State& state, int index) {
  const Sample& sample = Samples()[static_cast<std::size_t>(index)];
  for (auto _ : state)
    for (const Bytes& file : sample.files) {
      kestrel::TVnPNGObject png;
      png.LoadFromMemory(file.data(), file.size());
      benchmark::DoNotOptimize(png.Header()->ImageData());
    }
  Report(state, sample);
}

void DecodeLibpng(benchmark::State& state, int index) {
  const Sample& sample = Samples()[static_cast<std::size_t>(index)];
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

const bool kRegistered = [] {
  const auto& samples = Samples();
  for (std::size_t i = 0; i < samples.size(); ++i) {
    int index = static_cast<int>(i);
    benchmark::RegisterBenchmark(("kestrel/" + samples[i].name).c_str(), DecodeKestrel, index)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("libpng/" + samples[i].name).c_str(), DecodeLibpng, index)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
