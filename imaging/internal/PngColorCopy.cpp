#include "imaging/internal/PngColorCopy.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KESTREL_PNG_SHUFFLES 1
#endif

namespace kestrel {

namespace {

// From `first` on, one pixel at a time.
void RgbToBgrBytes(const std::uint8_t* src, std::uint8_t* out, std::size_t first, std::size_t count) {
  for (std::size_t i = first; i < count; ++i) {
    out[3 * i] = src[3 * i + 2];
    out[3 * i + 1] = src[3 * i + 1];
    out[3 * i + 2] = src[3 * i];
  }
}

void RgbaToBgrBytes(const std::uint8_t* src, std::uint8_t* out, std::uint8_t* alpha, std::size_t first,
                    std::size_t count) {
  for (std::size_t i = first; i < count; ++i) {
    out[3 * i] = src[4 * i + 2];
    out[3 * i + 1] = src[4 * i + 1];
    out[3 * i + 2] = src[4 * i];
    alpha[i] = src[4 * i + 3];
  }
}

#if KESTREL_PNG_SHUFFLES
bool shufflesAllowed = true;

bool HasShuffles() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has && shufflesAllowed;
}

// Four pixels a step. Every step reads and writes sixteen bytes, of which only twelve are its
// own; the rest belong to the next pixels and are written again by the next step, so the steps
// stop while sixteen bytes still fit in both rows and the last pixels go one at a time.
__attribute__((target("ssse3"))) std::size_t RgbToBgrShuffled(const std::uint8_t* src, std::uint8_t* out,
                                                              std::size_t count) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  std::size_t i = 0;
  for (; 3 * i + 16 <= 3 * count; i += 4) {
    const __m128i rgb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * i), _mm_shuffle_epi8(rgb, order));
  }
  return i;
}

// Four pixels a step: twelve colour bytes (the store's last four are the next step's) and four
// alpha bytes.
__attribute__((target("ssse3"))) std::size_t RgbaToBgrShuffled(const std::uint8_t* src, std::uint8_t* out,
                                                               std::uint8_t* alpha, std::size_t count) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, 3, 7, 11, 15);
  std::size_t i = 0;
  for (; 3 * i + 16 <= 3 * count; i += 4) {
    const __m128i bgra = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i)), order);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * i), bgra);
    const auto alphas = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(bgra, 12)));
    std::memcpy(alpha + i, &alphas, 4);
  }
  return i;
}
#endif

}  // namespace

void PngColorCopy::RgbToBgr(const std::uint8_t* src, std::uint8_t* out, std::size_t count) {
  std::size_t done = 0;
#if KESTREL_PNG_SHUFFLES
  if (HasShuffles()) done = RgbToBgrShuffled(src, out, count);
#endif
  RgbToBgrBytes(src, out, done, count);
}

void PngColorCopy::RgbaToBgr(const std::uint8_t* src, std::uint8_t* out, std::uint8_t* alpha, std::size_t count) {
  std::size_t done = 0;
#if KESTREL_PNG_SHUFFLES
  if (HasShuffles()) done = RgbaToBgrShuffled(src, out, alpha, count);
#endif
  RgbaToBgrBytes(src, out, alpha, done, count);
}

bool PngColorCopy::AllowShuffles(bool allow) {
#if KESTREL_PNG_SHUFFLES
  const bool previous = shufflesAllowed;
  shufflesAllowed = allow;
  return previous;
#else
  static_cast<void>(allow);
  return false;
#endif
}

}  // namespace kestrel
