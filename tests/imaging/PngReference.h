#pragma once
// libpng as the reference decoder for the tests: every image expanded to 8-bit RGBA (palette and
// low-depth gray expanded, 16-bit samples cut to their high byte, tRNS turned into alpha), with no
// gamma correction.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::testing {

struct ReferenceImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int colorType = 0;
  int bitDepth = 0;
  bool hasGamma = false;
  std::uint32_t gamma = 0;         // 100000 x gamma
  std::vector<std::uint8_t> rgba;  // top row first
  const std::uint8_t* Pixel(std::uint32_t x, std::uint32_t y) const {
    return rgba.data() + (std::size_t{y} * width + x) * 4;
  }
};

// False when libpng rejects the file.
bool DecodeWithReference(const std::string& path, ReferenceImage& out);

}  // namespace kestrel::testing
