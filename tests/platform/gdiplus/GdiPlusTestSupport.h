#pragma once
// A transparent bitmap with a graphics object on it, and colour comparison with a tolerance.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/gdiplus/TGPGraphics.h"

namespace kestrel::platform::testing {

struct Canvas {
  Canvas(int w, int h) : bitmap(w, h), g(&bitmap) {}
  ARGB At(int x, int y) {
    ARGB c = 0;
    EXPECT_EQ(Ok, bitmap.GetPixel(x, y, &c));
    return c;
  }
  // How many pixels are not fully transparent.
  int Painted() {
    int n = 0;
    for (UINT y = 0; y < bitmap.GetHeight(); ++y)
      for (UINT x = 0; x < bitmap.GetWidth(); ++x) n += At(static_cast<int>(x), static_cast<int>(y)) != 0;
    return n;
  }
  // Bounding box of the pixels that are not fully transparent; empty when there are none.
  TGPRectF Ink() {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    for (int y = 0; y < static_cast<int>(bitmap.GetHeight()); ++y)
      for (int x = 0; x < static_cast<int>(bitmap.GetWidth()); ++x)
        if (At(x, y) != 0) {
          left = std::min(left, x);
          top = std::min(top, y);
          right = std::max(right, x + 1);
          bottom = std::max(bottom, y + 1);
        }
    if (right < 0) return {};
    return {static_cast<REAL>(left), static_cast<REAL>(top), static_cast<REAL>(right - left),
            static_cast<REAL>(bottom - top)};
  }
  TGPBitmap bitmap;
  TGPGraphics g;
};

inline ::testing::AssertionResult Near(ARGB actual, ARGB expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int d = std::abs(static_cast<int>((actual >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF));
    if (d > tolerance)
      return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not within " << std::dec << tolerance
                                           << " of 0x" << std::hex << expected;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace kestrel::platform::testing
