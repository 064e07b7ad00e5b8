// Scrolling moves pixels inside the backing store in place: whatever the direction, each pixel
// must come from its source as it was before the move, never from a pixel already moved.

#include "platform/window/internal/BackingScroll.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kestrel::platform::detail {
namespace {

// A store whose every pixel names its own position.
struct NumberedStore {
  static constexpr int kSize = 16;
  NumberedStore() : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize)) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) At(x, y) = Number(x, y);
    cairo_surface_mark_dirty(surface);
  }
  ~NumberedStore() { cairo_surface_destroy(surface); }
  static std::uint32_t Number(int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(y * 256 + x); }
  std::uint32_t& At(int x, int y) {
    auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<std::uint32_t*>(row)[x];
  }
  cairo_surface_t* surface;
};

// Moves `area` of a numbered store by (dx, dy) and checks every pixel of the store (a pixel whose
// source lies outside the store keeps its value).
void ExpectMoved(const cairo_region_t* area, int dx, int dy) {
  NumberedStore store;
  MoveStorePixels(store.surface, area, dx, dy);
  for (int y = 0; y < NumberedStore::kSize; ++y)
    for (int x = 0; x < NumberedStore::kSize; ++x) {
      const int sx = x - dx, sy = y - dy;
      const bool inside = sx >= 0 && sy >= 0 && sx < NumberedStore::kSize && sy < NumberedStore::kSize;
      const bool moved = inside && cairo_region_contains_point(area, x, y);
      ASSERT_EQ(store.At(x, y), moved ? NumberedStore::Number(sx, sy) : NumberedStore::Number(x, y))
          << "at " << x << "," << y << " moving by " << dx << "," << dy;
    }
}

TEST(BackingScroll, EveryPixelComesFromItsSourceBeforeTheMove) {
  // One rectangle in each direction, and two on the same rows that read each other's pixels.
  const cairo_rectangle_int_t inner{4, 4, 8, 8};
  const cairo_rectangle_int_t pair[] = {{2, 3, 4, 6}, {7, 3, 5, 6}};
  cairo_region_t* one = cairo_region_create_rectangle(&inner);
  cairo_region_t* two = cairo_region_create_rectangles(pair, 2);
  for (const auto& [dx, dy] : {std::pair{0, -3}, {0, 3}, {-3, 0}, {3, 0}, {2, -2}, {-2, 2}}) {
    ExpectMoved(one, dx, dy);
    ExpectMoved(two, dx, dy);
  }
  cairo_region_destroy(one);
  cairo_region_destroy(two);
}

}  // namespace
}  // namespace kestrel::platform::detail
