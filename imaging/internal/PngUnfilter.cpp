#include "imaging/internal/PngUnfilter.h"

#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace kestrel {

namespace {

// The Paeth predictor with the standard tie order (a, then b, then c), without branches.
inline int PaethPredictor(int a, int b, int c) {
  int pa = b - c;  // |p - a| with p = a + b - c
  int pb = a - c;
  int pc = pa + pb;
  pa = pa < 0 ? -pa : pa;
  pb = pb < 0 ? -pb : pb;
  pc = pc < 0 ? -pc : pc;
  int ab = pb < pa ? b : a;
  int ipab = pb < pa ? pb : pa;
  return pc < ipab ? c : ab;
}

#if defined(__SSE2__)
// Three- and four-byte pixels, one pixel per step in the low lanes of a vector: the filters
// depend on the pixel to the left, so rows cannot be split, but each step does every channel.
// A three-byte pixel is loaded with the byte after it when that byte is still in the row (the
// extra lane is never stored); loading it byte by byte through memory would stall every step on
// the store that assembled it.
template <std::size_t Bpp>
inline __m128i LoadPixel(const std::uint8_t* p, std::size_t i, std::size_t length) {
  if constexpr (Bpp <= 4) {
    std::uint32_t v = 0;
    if (Bpp == 4 || i + 4 <= length) std::memcpy(&v, p + i, 4);
    else std::memcpy(&v, p + i, Bpp);
    return _mm_cvtsi32_si128(static_cast<int>(v));
  } else {
    std::uint64_t v = 0;
    if (Bpp == 8 || i + 8 <= length) std::memcpy(&v, p + i, 8);
    else std::memcpy(&v, p + i, Bpp);
    return _mm_cvtsi64_si128(static_cast<long long>(v));
  }
}

template <std::size_t Bpp>
inline void StorePixel(std::uint8_t* p, __m128i v) {
  if constexpr (Bpp == 3) {
    std::uint32_t bits = static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
    std::uint16_t low = static_cast<std::uint16_t>(bits);
    std::memcpy(p, &low, 2);
    p[2] = static_cast<std::uint8_t>(bits >> 16);
  } else if constexpr (Bpp == 4) {
    std::uint32_t bits = static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
    std::memcpy(p, &bits, 4);
  } else {
    std::uint64_t bits = static_cast<std::uint64_t>(_mm_cvtsi128_si64(v));
    std::memcpy(p, &bits, Bpp);
  }
}

// Up has no dependency along the row: sixteen bytes a step.
void UpBytes(std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  std::size_t i = 0;
  for (; i + 16 <= length; i += 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prior + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_add_epi8(x, b));
  }
  for (; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
}

template <std::size_t Bpp>
void SubPixels(std::uint8_t* row, std::size_t length) {
  __m128i a = _mm_setzero_si128();
  for (std::size_t i = 0; i < length; i += Bpp) {
    a = _mm_add_epi8(LoadPixel<Bpp>(row, i, length), a);
    StorePixel<Bpp>(row + i, a);
  }
}

template <std::size_t Bpp>
void AveragePixels(std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (std::size_t i = 0; i < length; i += Bpp) {
    __m128i b = LoadPixel<Bpp>(prior, i, length);
    // avg_epu8 rounds up; taking the odd bit back off gives floor((a + b) / 2).
    __m128i average = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(LoadPixel<Bpp>(row, i, length), average);
    StorePixel<Bpp>(row + i, a);
  }
}

inline __m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }

template <std::size_t Bpp>
void PaethPixels(std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero;  // the decoded pixel to the left, widened to 16 bits
  __m128i c = zero;  // the prior row's pixel to the left
  for (std::size_t i = 0; i < length; i += Bpp) {
    __m128i b = _mm_unpacklo_epi8(LoadPixel<Bpp>(prior, i, length), zero);
    __m128i pa = _mm_sub_epi16(b, c);
    __m128i pb = _mm_sub_epi16(a, c);
    __m128i pc = Abs16(_mm_add_epi16(pa, pb));
    pa = Abs16(pa);
    pb = Abs16(pb);
    __m128i smallest = _mm_min_epi16(_mm_min_epi16(pa, pb), pc);
    __m128i takeA = _mm_cmpeq_epi16(pa, smallest);
    __m128i takeB = _mm_andnot_si128(takeA, _mm_cmpeq_epi16(pb, smallest));
    __m128i takeC = _mm_andnot_si128(_mm_or_si128(takeA, takeB), _mm_set1_epi16(-1));
    __m128i predicted =
        _mm_or_si128(_mm_or_si128(_mm_and_si128(takeA, a), _mm_and_si128(takeB, b)), _mm_and_si128(takeC, c));
    __m128i x = _mm_unpacklo_epi8(LoadPixel<Bpp>(row, i, length), zero);
    // Adding bytewise wraps each sum within its low byte and leaves the high bytes zero.
    a = _mm_add_epi8(x, predicted);
    StorePixel<Bpp>(row + i, _mm_packus_epi16(a, a));
    c = b;
  }
}

// The same predictor with a shorter chain from one pixel to the next, for processors with AVX2
// (used here for its 128-bit absolute value and blend): Paeth spends nearly all its time waiting
// on that chain, so every step taken off it counts. Everything that does not depend on the pixel
// to the left (|b - c|) is worked out beside the chain.
template <std::size_t Bpp>
__attribute__((target("avx2"))) void PaethPixelsAvx2(std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero;
  __m128i c = zero;
  for (std::size_t i = 0; i < length; i += Bpp) {
    __m128i b = _mm_unpacklo_epi8(LoadPixel<Bpp>(prior, i, length), zero);
    __m128i x = _mm_unpacklo_epi8(LoadPixel<Bpp>(row, i, length), zero);
    __m128i bc = _mm_sub_epi16(b, c);
    __m128i pa = _mm_abs_epi16(bc);
    __m128i ac = _mm_sub_epi16(a, c);
    __m128i pb = _mm_abs_epi16(ac);
    __m128i pc = _mm_abs_epi16(_mm_add_epi16(ac, bc));
    // a unless another is nearer; then b unless c is nearer still.
    __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    __m128i bOrC = _mm_blendv_epi8(b, c, _mm_cmpgt_epi16(pb, pc));
    a = _mm_add_epi8(x, _mm_blendv_epi8(a, bOrC, notA));
    StorePixel<Bpp>(row + i, _mm_packus_epi16(a, a));
    c = b;
  }
}

bool avx2Allowed = true;

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has && avx2Allowed;
}

template <std::size_t Bpp>
void PaethPixelsBest(std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  if (HasAvx2()) PaethPixelsAvx2<Bpp>(row, prior, length);
  else PaethPixels<Bpp>(row, prior, length);
}

template <std::size_t Bpp>
bool ApplyPixels(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  if (length % Bpp != 0) return false;
  switch (type) {
    case 1: SubPixels<Bpp>(row, length); return true;
    case 3: AveragePixels<Bpp>(row, prior, length); return true;
    case 4: PaethPixelsBest<Bpp>(row, prior, length); return true;
    default: return false;
  }
}

// Pixels of 3, 4, 6 and 8 bytes (8- and 16-bit colour); Up for any pixel size.
bool ApplyVector(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t bpp) {
  if (type == 2) {
    UpBytes(row, prior, length);
    return true;
  }
  switch (bpp) {
    case 3: return ApplyPixels<3>(type, row, prior, length);
    case 4: return ApplyPixels<4>(type, row, prior, length);
    case 6: return ApplyPixels<6>(type, row, prior, length);
    case 8: return ApplyPixels<8>(type, row, prior, length);
    default: return false;
  }
}
#else
bool ApplyVector(std::uint8_t, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t) { return false; }
#endif

}  // namespace

void PngUnfilter::Apply(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                        std::size_t bpp) {
  if (!ApplyVector(type, row, prior, length, bpp)) ApplyScalar(type, row, prior, length, bpp);
}

bool PngUnfilter::AllowAvx2(bool allow) {
#if defined(__SSE2__)
  bool previous = avx2Allowed;
  avx2Allowed = allow;
  return previous;
#else
  static_cast<void>(allow);
  return false;
#endif
}

void PngUnfilter::ApplyScalar(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                              std::size_t bpp) {
  switch (type) {
    case 1:
      for (std::size_t i = bpp; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
      break;
    case 2:
      for (std::size_t i = 0; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      break;
    case 3:
      for (std::size_t i = 0; i < length && i < bpp; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
      for (std::size_t i = bpp; i < length; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - bpp] + prior[i]) >> 1));
      break;
    case 4:
      for (std::size_t i = 0; i < length && i < bpp; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      for (std::size_t i = bpp; i < length; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + PaethPredictor(row[i - bpp], prior[i], prior[i - bpp]));
      break;
    default:  // None, and unknown types leave the row as it is.
      break;
  }
}

}  // namespace kestrel
