// Encode throughput and file size of our PNG writer against libpng, in one run, at the same
// compression level and with the same allowed row filters (Sub only, our default; and all five,
// each with its own choice rule). Images: a noisy gradient (photograph-like) and flat shapes
// (screenshot-like), RGB and RGB + alpha, 1024 x 768.
// Counters: MPix/s and the written file's size in bytes (file_bytes).

#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <random>
#include <vector>

#include "imaging/PngObject.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kLevel = 6;

struct Picture {
  int channels;
  Bytes samples;  // top row first, RGB(A)
};

Picture Make(bool photographic, int channels) {
  Picture p{channels, Bytes(static_cast<std::size_t>(kWidth) * kHeight * channels)};
  std::mt19937 random(11);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < channels; ++c) {
        int v;
        if (photographic) {
          v = static_cast<int>(120 + 70 * std::sin((x + 2 * c * y) * 0.005) + 40 * std::cos(y * 0.007 - c)) +
              static_cast<int>(random() % 9) - 4;
        } else {
          const bool band = (x / 64 + y / 48) % 3 == 0, frame = x % 128 < 2 || y % 96 < 2;
          v = frame ? 20 : band ? 230 - 40 * c : 90 + 50 * c;
        }
        if (c == 3) v = photographic ? 255 - (x * 255 / kWidth) : (x < kWidth / 2 ? 255 : 0);
        p.samples[(static_cast<std::size_t>(y) * kWidth + x) * channels + c] =
            static_cast<std::uint8_t>(std::clamp(v, 0, 255));
      }
  return p;
}

const Picture& Get(int kind) {
  static const Picture pictures[] = {Make(true, 3), Make(true, 4), Make(false, 3), Make(false, 4)};
  return pictures[kind];
}

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
void NoFlush(png_structp) {}

Bytes EncodeWithLibpng(const Picture& picture, bool allFilters) {
  Bytes out;
  out.reserve(picture.samples.size());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows(kHeight);
  for (int y = 0; y < kHeight; ++y)
    rows[static_cast<std::size_t>(y)] =
        const_cast<png_bytep>(picture.samples.data()) + static_cast<std::size_t>(y) * kWidth * picture.channels;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, kWidth, kHeight, 8, picture.channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, allFilters ? PNG_ALL_FILTERS : PNG_FILTER_SUB);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

std::unique_ptr<kestrel::TVnPNGObject> Ours(const Picture& picture, bool allFilters) {
  auto png = std::make_unique<kestrel::TVnPNGObject>();
  png->CreateBlank(picture.channels == 4 ? kestrel::COLOR_RGBALPHA : kestrel::COLOR_RGB, 8, kWidth, kHeight);
  kestrel::TVnPNGChunkIHDR& h = *png->Header();
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* scan = h.Scanline(static_cast<std::uint32_t>(y));
    std::uint8_t* alpha = h.AlphaScanline(static_cast<std::uint32_t>(y));
    const std::uint8_t* src = picture.samples.data() + static_cast<std::size_t>(y) * kWidth * picture.channels;
    for (int x = 0; x < kWidth; ++x, src += picture.channels) {
      scan[3 * x] = src[2];
      scan[3 * x + 1] = src[1];
      scan[3 * x + 2] = src[0];
      if (alpha) alpha[x] = src[3];
    }
  }
  png->SetCompressionLevel(kLevel);
  if (allFilters)
    png->SetFilters({kestrel::pfNone, kestrel::pfSub, kestrel::pfUp, kestrel::pfAverage, kestrel::pfPaeth});
  return png;
}

void Report(benchmark::State& state, std::size_t bytes) {
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.counters["MPix/s"] =
      benchmark::Counter(static_cast<double>(kWidth) * kHeight * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

// Arguments: picture kind (0 photo RGB, 1 photo RGBA, 2 flat RGB, 3 flat RGBA), all filters (0/1).
void BM_EncodeOurs(benchmark::State& state) {
  auto png = Ours(Get(static_cast<int>(state.range(0))), state.range(1) != 0);
  std::size_t size = 0;
  for (auto _ : state) {
    Bytes file = png->SaveToBytes();
    size = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  Report(state, size);
}

void BM_EncodeLibpng(benchmark::State& state) {
  const Picture& picture = Get(static_cast<int>(state.range(0)));
  std::size_t size = 0;
  for (auto _ : state) {
    Bytes file = EncodeWithLibpng(picture, state.range(1) != 0);
    size = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  Report(state, size);
}

BENCHMARK(BM_EncodeOurs)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeLibpng)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace
