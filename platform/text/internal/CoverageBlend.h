#pragma once
// The pixel arithmetic of text: an opaque colour laid over 32-bit pixels through 8-bit coverage,
// with the rounding cairo's rasteriser uses for the same operation (OVER through an 8-bit
// mask), so that text composited here has the very pixels cairo would give it. On processors
// with AVX2, eight pixels at a time.

#include <cstddef>
#include <cstdint>

namespace kestrel::platform {

// Coverage rows handed to BlendCoverage may be read up to this many bytes past their last one.
inline constexpr int kCoverageSlack = 8;

// Lays `color` (0x00RRGGBB, taken as opaque) over a `width` × `height` block of pixels
// (0xAARRGGBB, rows `stride` pixels apart) through `coverage` (rows `coverageStride` bytes
// apart); a pixel of coverage 0 keeps its value, one of 255 becomes the colour.
void BlendCoverage(std::uint32_t* pixels, std::ptrdiff_t stride, const std::uint8_t* coverage,
                   std::ptrdiff_t coverageStride, int width, int height, std::uint32_t color);

// The same one pixel at a time, as on processors without AVX2 (BlendCoverage picks).
void BlendCoverageOneByOne(std::uint32_t* pixels, std::ptrdiff_t stride, const std::uint8_t* coverage,
                           std::ptrdiff_t coverageStride, int width, int height, std::uint32_t color);

// Adds `coverage` into `into`, saturating at 255 (how overlapping glyphs are summed first).
void AddCoverage(std::uint8_t* into, const std::uint8_t* coverage, int width);

}  // namespace kestrel::platform
