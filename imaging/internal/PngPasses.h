#pragma once
// The passes an image is stored in: one for a plain image, the seven of Adam7 for an interlaced
// one. A pass takes every dx-th pixel of every dy-th row, starting at (x0, y0).

#include <cstdint>
#include <span>

namespace kestrel {

struct PngPass {
  std::uint32_t x0, y0, dx, dy;
};

inline constexpr PngPass kPngWholeImage{0, 0, 1, 1};
inline constexpr PngPass kPngAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                         {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

inline std::span<const PngPass> PngPasses(bool interlaced) {
  return interlaced ? std::span<const PngPass>(kPngAdam7) : std::span<const PngPass>(&kPngWholeImage, 1);
}

// How many pixels (or rows) of `size` a pass takes when it starts at `start` and steps by `step`.
inline std::uint32_t PngPassExtent(std::uint32_t size, std::uint32_t start, std::uint32_t step) {
  return size > start ? (size - start + step - 1) / step : 0;
}

}  // namespace kestrel
