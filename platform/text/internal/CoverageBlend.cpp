#include "platform/text/internal/CoverageBlend.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace kestrel::platform {

namespace {

// a × b / 255, rounded as the rasteriser rounds it (exact for 8-bit operands).
inline std::uint32_t Multiply(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t t = a * b + 0x80;
  return (t + (t >> 8)) >> 8;
}

// result = colour × m + pixel × (255 − m), per channel, the colour's alpha being 255.
inline std::uint32_t Over(std::uint32_t pixel, std::uint32_t source, std::uint32_t m) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t s = (source >> shift) & 0xFF;
    const std::uint32_t d = (pixel >> shift) & 0xFF;
    out |= std::min<std::uint32_t>(Multiply(s, m) + Multiply(d, 255 - m), 255) << shift;
  }
  return out;
}

void BlendScalar(std::uint32_t* pixels, std::ptrdiff_t stride, const std::uint8_t* coverage,
                 std::ptrdiff_t coverageStride, int width, int height, std::uint32_t source) {
  for (int y = 0; y < height; ++y, pixels += stride, coverage += coverageStride)
    for (int i = 0; i < width; ++i)
      if (coverage[i]) pixels[i] = Over(pixels[i], source, coverage[i]);
}

// a × b / 255 on 16-bit lanes, with the multiply-high form of the same rounding
// (t × 257 >> 16 equals (t + t / 256) / 256 for these t).
__attribute__((target("avx2"))) inline __m256i Multiply16(__m256i a, __m256i b) {
  return _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_mullo_epi16(a, b), _mm256_set1_epi16(0x80)),
                            _mm256_set1_epi16(0x0101));
}

// One half of eight pixels, 16 bits a channel: colour × c + pixel × (255 − c).
__attribute__((target("avx2"))) inline __m256i OverHalf(__m256i pixels, __m256i coverage, __m256i source16) {
  const __m256i kept = Multiply16(pixels, _mm256_sub_epi16(_mm256_set1_epi16(0xFF), coverage));
  return _mm256_adds_epu16(Multiply16(source16, coverage), kept);
}

// Eight pixels, widened to 16 bits a channel in two halves and narrowed again.
__attribute__((target("avx2"))) inline __m256i BlendEight(__m256i pixels, __m256i coverage32, __m256i source16) {
  const __m256i zero = _mm256_setzero_si256();
  // Each pixel's coverage in all four of its bytes.
  const __m256i spread = _mm256_set_epi8(12, 12, 12, 12, 8, 8, 8, 8, 4, 4, 4, 4, 0, 0, 0, 0, 12, 12, 12, 12, 8, 8, 8, 8,
                                         4, 4, 4, 4, 0, 0, 0, 0);
  const __m256i m = _mm256_shuffle_epi8(coverage32, spread);
  const __m256i low = OverHalf(_mm256_unpacklo_epi8(pixels, zero), _mm256_unpacklo_epi8(m, zero), source16);
  const __m256i high = OverHalf(_mm256_unpackhi_epi8(pixels, zero), _mm256_unpackhi_epi8(m, zero), source16);
  return _mm256_packus_epi16(low, high);
}

// Eight pixels of a row or fewer at its end (`lanes` marks the pixels that exist).
__attribute__((target("avx2"))) inline void BlendUpToEight(std::uint32_t* pixels, const std::uint8_t* coverage,
                                                           bool whole, __m256i lanes, __m256i source16) {
  std::uint64_t eight;
  std::memcpy(&eight, coverage, sizeof eight);  // rows carry kCoverageSlack bytes
  if (eight == 0) return;
  const __m256i coverage32 = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(eight)));
  auto* at = reinterpret_cast<__m256i*>(pixels);
  if (whole) {
    _mm256_storeu_si256(at, BlendEight(_mm256_loadu_si256(at), coverage32, source16));
    return;
  }
  const __m256i blended =
      BlendEight(_mm256_maskload_epi32(reinterpret_cast<const int*>(at), lanes), coverage32, source16);
  _mm256_maskstore_epi32(reinterpret_cast<int*>(at), lanes, blended);
}

__attribute__((target("avx2"))) void BlendAvx2(std::uint32_t* pixels, std::ptrdiff_t stride,
                                               const std::uint8_t* coverage, std::ptrdiff_t coverageStride, int width,
                                               int height, std::uint32_t source) {
  const std::uint64_t wide = (0xFFull << 48) | (static_cast<std::uint64_t>((source >> 16) & 0xFF) << 32) |
                             (static_cast<std::uint64_t>((source >> 8) & 0xFF) << 16) | (source & 0xFF);
  const __m256i source16 = _mm256_set1_epi64x(static_cast<long long>(wide));
  const int whole = width & ~7;
  const __m256i lanes = _mm256_cmpgt_epi32(_mm256_set1_epi32(width - whole), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  for (int y = 0; y < height; ++y, pixels += stride, coverage += coverageStride) {
    for (int i = 0; i < whole; i += 8) BlendUpToEight(pixels + i, coverage + i, true, lanes, source16);
    if (whole < width) BlendUpToEight(pixels + whole, coverage + whole, false, lanes, source16);
  }
}

}  // namespace

void BlendCoverage(std::uint32_t* pixels, std::ptrdiff_t stride, const std::uint8_t* coverage,
                   std::ptrdiff_t coverageStride, int width, int height, std::uint32_t color) {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (width <= 0 || height <= 0) return;
  const std::uint32_t source = 0xFF000000u | (color & 0xFFFFFF);
  if (avx2) BlendAvx2(pixels, stride, coverage, coverageStride, width, height, source);
  else BlendScalar(pixels, stride, coverage, coverageStride, width, height, source);
}

void BlendCoverageOneByOne(std::uint32_t* pixels, std::ptrdiff_t stride, const std::uint8_t* coverage,
                           std::ptrdiff_t coverageStride, int width, int height, std::uint32_t color) {
  if (width > 0 && height > 0)
    BlendScalar(pixels, stride, coverage, coverageStride, width, height, 0xFF000000u | (color & 0xFFFFFF));
}

void AddCoverage(std::uint8_t* into, const std::uint8_t* coverage, int width) {
  for (int i = 0; i < width; ++i) into[i] = static_cast<std::uint8_t>(std::min(255, into[i] + coverage[i]));
}

}  // namespace kestrel::platform
