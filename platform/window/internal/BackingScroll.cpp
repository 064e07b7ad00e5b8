#include "platform/window/internal/BackingScroll.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kestrel::platform::detail {

namespace {

struct Span {
  int left, right;
};

// The spans of `area` on row y, clipped so that their sources lie inside a row of `width`.
void SpansOnRow(const cairo_region_t* area, int y, int dx, int width, std::vector<Span>& spans) {
  spans.clear();
  const int n = cairo_region_num_rectangles(area);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(area, i, &r);
    if (y < r.y || y >= r.y + r.height) continue;
    const int left = std::max({r.x, dx, 0}), right = std::min({r.x + r.width, width + dx, width});
    if (left < right) spans.push_back({left, right});
  }
}

}  // namespace

void MoveStorePixels(cairo_surface_t* store, const cairo_region_t* area, int dx, int dy) {
  cairo_surface_flush(store);
  auto* pixels = cairo_image_surface_get_data(store);
  const int stride = cairo_image_surface_get_stride(store);
  const int width = cairo_image_surface_get_width(store), height = cairo_image_surface_get_height(store);
  cairo_rectangle_int_t box;
  cairo_region_get_extents(area, &box);
  const int top = std::max({box.y, dy, 0}), bottom = std::min({box.y + box.height, height + dy, height});
  if (!pixels || top >= bottom) return;
  std::vector<Span> spans;
  // Within one row the spans may read each other's pixels: the row's source is copied first.
  std::vector<std::uint32_t> sameRow(dy == 0 ? static_cast<size_t>(width) : 0);
  // Moving down, rows are written from the bottom up, so a source row is read before it is overwritten.
  const int first = dy > 0 ? bottom - 1 : top, step = dy > 0 ? -1 : 1;
  for (int y = first; y >= top && y < bottom; y += step) {
    SpansOnRow(area, y, dx, width, spans);
    if (spans.empty()) continue;
    auto* row = reinterpret_cast<std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
    const auto* source = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y - dy) * stride);
    if (dy == 0) source = static_cast<const std::uint32_t*>(std::memcpy(sameRow.data(), source, width * 4u));
    for (const Span& s : spans)
      std::memmove(row + s.left, source + s.left - dx, static_cast<size_t>(s.right - s.left) * 4);
  }
  cairo_surface_mark_dirty(store);
}

}  // namespace kestrel::platform::detail
