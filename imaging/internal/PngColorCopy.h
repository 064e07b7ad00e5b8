#pragma once
// Copying decoded 8-bit RGB and RGBA rows into a device-independent bitmap's BGR row (and the
// alpha plane) when the pixels lie side by side, as in every row of a non-interlaced image.

#include <cstddef>
#include <cstdint>

namespace kestrel {

class PngColorCopy {
 public:
  // `count` RGB pixels into `count` BGR pixels.
  static void RgbToBgr(const std::uint8_t* src, std::uint8_t* out, std::size_t count);
  // `count` RGBA pixels into `count` BGR pixels and `count` alpha bytes.
  static void RgbaToBgr(const std::uint8_t* src, std::uint8_t* out, std::uint8_t* alpha, std::size_t count);

  // Allows or forbids the SSSE3 paths (they run only where the processor has SSSE3), so the
  // plain path can be checked on one machine too. Returns the previous setting.
  static bool AllowShuffles(bool allow);
};

}  // namespace kestrel
