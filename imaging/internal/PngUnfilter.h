#pragma once
// Reversing the per-row filters of PNG image data.

#include <cstddef>
#include <cstdint>

namespace kestrel {

class PngUnfilter {
 public:
  // Reverses filter `type` on `row` in place; `prior` is the previous raw row (zeros for the
  // first), `bpp` the bytes per complete pixel (at least 1). Unknown types leave the row as is.
  static void Apply(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                    std::size_t bpp);

  // The same with plain byte loops only; the reference the vector paths must agree with.
  static void ApplyScalar(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                          std::size_t bpp);

  // Allows or forbids the AVX2 paths (they run only where the processor has AVX2), so both
  // vector paths can be checked on one machine. Returns the previous setting.
  static bool AllowAvx2(bool allow);
};

}  // namespace kestrel
